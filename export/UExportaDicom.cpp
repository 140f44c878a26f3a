#include "export/UExportaDicom.h"

#include "common/UErros.h"
#include "config/UArquivoIni.h"

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcddirif.h"
#include "dcmtk/dcmdata/dctk.h"
#include "dcmtk/oflog/oflog.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QUuid>

namespace {

// Code of this kind of instrument in the local coding scheme of the workstation.
constexpr const char* kEsquemaLocal = "99ZR";

std::string Utf8(const QString& t) { return t.toUtf8().toStdString(); }

void Poe(DcmItem& item, const DcmTagKey& tag, const QString& valor)
{
    const OFCondition c = item.putAndInsertString(tag, Utf8(valor).c_str());
    if (c.bad())
        throw ErroSistema(QStringLiteral("Não foi possível montar o objeto DICOM (%1): %2")
                              .arg(QString::fromLatin1(DcmTag(tag).getTagName()), QString::fromLatin1(c.text())));
}

void PoeCodigo(DcmItem& item, const DcmTagKey& sequencia, const char* valor, const char* esquema,
               const char* significado)
{
    DcmItem* codigo = nullptr;
    if (item.findOrCreateSequenceItem(sequencia, codigo, -2).bad() || !codigo)
        throw ErroSistema(QStringLiteral("Não foi possível montar o objeto DICOM (sequência de código)."));
    Poe(*codigo, DCM_CodeValue, QString::fromLatin1(valor));
    Poe(*codigo, DCM_CodingSchemeDesignator, QString::fromLatin1(esquema));
    Poe(*codigo, DCM_CodeMeaning, QString::fromUtf8(significado));
}

void PoeSequenciaVazia(DcmItem& item, const DcmTagKey& tag)
{
    item.insertEmptyElement(tag);
}

QString DataDicom(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) : QString(); }
QString HoraDicom(const QTime& t) { return t.isValid() ? t.toString(QStringLiteral("HHmmss")) : QString(); }

QString Lateralidade(const QString& olho)
{
    return olho == QStringLiteral("OS") ? QStringLiteral("L") : QStringLiteral("R");
}

QString NumeroDs(double v) { return QString::number(v, 'f', 2); }

// Patient, study, series, equipment and instance attributes every object carries.
void Comuns(DcmDataset& ds, const DadosDicom& d, const ObjetoDicom& o, const QString& modalidade, int numeroSerie,
            const QString& descricaoSerie)
{
    Poe(ds, DCM_SpecificCharacterSet, QStringLiteral("ISO_IR 192"));
    Poe(ds, DCM_SOPClassUID, o.sopClasse);
    Poe(ds, DCM_SOPInstanceUID, o.sopInstancia);
    // Patient.
    Poe(ds, DCM_PatientName, d.nome.trimmed());
    Poe(ds, DCM_PatientID, d.rg.trimmed().isEmpty() ? QString::number(d.codPaciente) : d.rg.trimmed());
    Poe(ds, DCM_PatientBirthDate,
        DataDicom(QDate::fromString(d.dataNascimento.trimmed(), QStringLiteral("dd/MM/yyyy"))));
    Poe(ds, DCM_PatientSex, (d.sexo == QStringLiteral("M") || d.sexo == QStringLiteral("F")) ? d.sexo : QString());
    // Study: one per visit (patient and day).
    Poe(ds, DCM_StudyInstanceUID, o.estudo);
    Poe(ds, DCM_StudyDate, DataDicom(d.data));
    Poe(ds, DCM_StudyTime, QString());
    Poe(ds, DCM_StudyID, d.data.isValid() ? d.data.toString(QStringLiteral("yyyyMMdd")) : QString());
    Poe(ds, DCM_AccessionNumber, QString());
    Poe(ds, DCM_ReferringPhysicianName, QString());
    Poe(ds, DCM_StudyDescription, QStringLiteral("Topografia de córnea"));
    // Series: one per examination and kind of object.
    Poe(ds, DCM_Modality, modalidade);
    Poe(ds, DCM_SeriesInstanceUID, o.serie);
    Poe(ds, DCM_SeriesNumber, QString::number(numeroSerie));
    Poe(ds, DCM_SeriesDate, DataDicom(d.data));
    Poe(ds, DCM_SeriesTime, HoraDicom(d.hora));
    Poe(ds, DCM_SeriesDescription, descricaoSerie);
    Poe(ds, DCM_Laterality, Lateralidade(d.olho));
    Poe(ds, DCM_PerformingPhysicianName, d.medico.trimmed());
    // Equipment.
    Poe(ds, DCM_Manufacturer, QStringLiteral("Korvane"));
    Poe(ds, DCM_ManufacturerModelName, QStringLiteral("Topógrafo de córnea"));
    Poe(ds, DCM_InstitutionName, d.instituicao.trimmed());
    // Instance.
    Poe(ds, DCM_InstanceNumber, QStringLiteral("1"));
    Poe(ds, DCM_ContentDate, DataDicom(d.data));
    Poe(ds, DCM_ContentTime, HoraDicom(d.hora));
}

void Pixels(DcmDataset& ds, const QImage& imagem, bool cinza)
{
    const int w = imagem.width(), h = imagem.height();
    QByteArray bytes;
    if (cinza) {
        const QImage g = imagem.convertToFormat(QImage::Format_Grayscale8);
        bytes.reserve(w * h);
        for (int y = 0; y < h; ++y)
            bytes.append(reinterpret_cast<const char*>(g.constScanLine(y)), w);
        Poe(ds, DCM_PhotometricInterpretation, QStringLiteral("MONOCHROME2"));
        ds.putAndInsertUint16(DCM_SamplesPerPixel, 1);
    } else {
        const QImage c = imagem.convertToFormat(QImage::Format_RGB888);
        bytes.reserve(w * h * 3);
        for (int y = 0; y < h; ++y)
            bytes.append(reinterpret_cast<const char*>(c.constScanLine(y)), w * 3);
        Poe(ds, DCM_PhotometricInterpretation, QStringLiteral("RGB"));
        ds.putAndInsertUint16(DCM_SamplesPerPixel, 3);
        ds.putAndInsertUint16(DCM_PlanarConfiguration, 0);
    }
    ds.putAndInsertUint16(DCM_Rows, Uint16(h));
    ds.putAndInsertUint16(DCM_Columns, Uint16(w));
    ds.putAndInsertUint16(DCM_BitsAllocated, 8);
    ds.putAndInsertUint16(DCM_BitsStored, 8);
    ds.putAndInsertUint16(DCM_HighBit, 7);
    ds.putAndInsertUint16(DCM_PixelRepresentation, 0);
    if (ds.putAndInsertUint8Array(DCM_PixelData, reinterpret_cast<const Uint8*>(bytes.constData()),
                                  unsigned(bytes.size()))
            .bad())
        throw ErroSistema(QStringLiteral("Não foi possível montar a imagem DICOM."));
}

QString Hash(const QByteArray& conteudo)
{
    return QString::fromLatin1(QCryptographicHash::hash(conteudo, QCryptographicHash::Sha1).toHex());
}

// The identifiers of an object: the study of the visit, the series of the examination's
// kind, and the instance of this content.
ObjetoDicom Novo(const DadosDicom& d, TipoObjetoDicom tipo, const QString& classe, const QByteArray& conteudo)
{
    if (d.raizUid.isEmpty())
        throw ErroSistema(QStringLiteral("Falta o identificador DICOM da instalação."));
    static const char* kNomes[] = {"mapa", "foto", "laudo"};
    const QString nome = QString::fromLatin1(kNomes[int(tipo)]);
    ObjetoDicom o;
    o.tipo = tipo;
    o.codExame = d.codExame;
    o.sopClasse = classe;
    o.estudo = UidDeTexto(QStringLiteral("estudo|%1|%2|%3").arg(d.raizUid).arg(d.codPaciente).arg(DataDicom(d.data)));
    o.serie = UidDeTexto(QStringLiteral("serie|%1|%2|%3").arg(d.raizUid).arg(d.codExame).arg(nome));
    o.sopInstancia =
        UidDeTexto(QStringLiteral("instancia|%1|%2|%3|%4").arg(d.raizUid).arg(d.codExame).arg(nome, Hash(conteudo)));
    o.arquivo = std::make_shared<DcmFileFormat>();
    return o;
}

QByteArray BytesImagem(const QImage& img)
{
    return QByteArray(reinterpret_cast<const char*>(img.constBits()), int(img.sizeInBytes()));
}

} // namespace

QString ObjetoDicom::Descricao() const
{
    switch (tipo) {
    case TipoObjetoDicom::Mapa: return QStringLiteral("mapa");
    case TipoObjetoDicom::Foto: return QStringLiteral("imagem da câmera");
    case TipoObjetoDicom::Laudo: return QStringLiteral("laudo em PDF");
    }
    return {};
}

QString UidDeTexto(const QString& texto)
{
    // A name-based UUID (SHA-1, version 5) written as the decimal integer 2.25 asks for.
    QByteArray h = QCryptographicHash::hash(texto.toUtf8(), QCryptographicHash::Sha1).left(16);
    h[6] = char((uchar(h[6]) & 0x0F) | 0x50);
    h[8] = char((uchar(h[8]) & 0x3F) | 0x80);
    QList<int> bytes;
    for (char c : h)
        bytes.append(uchar(c));
    QString decimal;
    for (;;) {
        bool zero = true;
        int resto = 0;
        for (int& b : bytes) {
            const int v = resto * 256 + b;
            b = v / 10;
            resto = v % 10;
            if (b)
                zero = false;
        }
        decimal.prepend(QChar(u'0' + resto));
        if (zero)
            break;
    }
    return QStringLiteral("2.25.") + decimal;
}

QString UidInstalacao(const QString& arquivoIni)
{
    QString valor;
    if (ArquivoIni::Le(arquivoIni, QStringLiteral("PACS"), QStringLiteral("UIDRAIZ"), valor) && !valor.trimmed().isEmpty())
        return valor.trimmed();
    valor = QUuid::createUuid().toString(QUuid::WithoutBraces);
    ArquivoIni::Escreve(arquivoIni, QStringLiteral("PACS"), QStringLiteral("UIDRAIZ"), valor);
    return valor;
}

ObjetoDicom ObjetoMapa(const DadosDicom& d, const QImage& mapa)
{
    if (mapa.isNull() || mapa.width() > 4096 || mapa.height() > 4096)
        throw ErroSistema(QStringLiteral("Não há imagem do mapa para exportar."));
    const QImage rgb = mapa.convertToFormat(QImage::Format_RGB888);
    ObjetoDicom o = Novo(d, TipoObjetoDicom::Mapa, kSopCapturaSecundaria, BytesImagem(rgb));
    DcmDataset& ds = *o.arquivo->getDataset();
    Comuns(ds, d, o, QStringLiteral("OPM"), 1, QStringLiteral("Mapa de curvatura axial"));
    Poe(ds, DCM_ConversionType, QStringLiteral("WSD"));
    Poe(ds, DCM_ImageType, QStringLiteral("DERIVED\\SECONDARY"));
    Poe(ds, DCM_PatientOrientation, QString());
    Poe(ds, DCM_ImageLaterality, Lateralidade(d.olho));
    Poe(ds, DCM_BurnedInAnnotation, QStringLiteral("NO"));
    if (d.temCeratometria)
        Poe(ds, DCM_ImageComments,
            QStringLiteral("Ceratometria simulada: K1 %1 D @ %2°, K2 %3 D @ %4°, cilindro %5 D")
                .arg(NumeroDs(d.k1))
                .arg(d.eixo1)
                .arg(NumeroDs(d.k2))
                .arg(d.eixo2)
                .arg(NumeroDs(d.cilindro)));
    Pixels(ds, rgb, false);
    return o;
}

ObjetoDicom ObjetoFoto(const DadosDicom& d, const QByteArray& jpeg)
{
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader leitor(&buffer, "jpeg");
    QImage imagem;
    if (jpeg.isEmpty() || !leitor.read(&imagem) || imagem.isNull())
        throw ErroSistema(QStringLiteral("O exame não tem imagem da câmera central."));
    const bool cinza = imagem.isGrayscale();
    ObjetoDicom o = Novo(d, TipoObjetoDicom::Foto, kSopFotografiaOftalmica8, jpeg);
    DcmDataset& ds = *o.arquivo->getDataset();
    Comuns(ds, d, o, QStringLiteral("OP"), 2, QStringLiteral("Imagem da câmera central"));
    Poe(ds, DCM_ImageType, QStringLiteral("ORIGINAL\\PRIMARY"));
    Poe(ds, DCM_AcquisitionDateTime, DataDicom(d.data) + HoraDicom(d.hora));
    Poe(ds, DCM_BurnedInAnnotation, QStringLiteral("NO"));
    // The camera image was stored as JPEG: the pixels went through lossy compression.
    Poe(ds, DCM_LossyImageCompression, QStringLiteral("01"));
    Poe(ds, DCM_LossyImageCompressionMethod, QStringLiteral("ISO_10918_1"));
    if (cinza)
        Poe(ds, DCM_PresentationLUTShape, QStringLiteral("IDENTITY"));
    Poe(ds, DCM_ImageLaterality, Lateralidade(d.olho));
    PoeCodigo(ds, DCM_AnatomicRegionSequence, "28726007", "SCT", "Cornea");
    // Acquisition parameters the instrument does not measure are present and empty.
    Poe(ds, DCM_PatientEyeMovementCommanded, QString());
    Poe(ds, DCM_HorizontalFieldOfView, QString());
    PoeSequenciaVazia(ds, DCM_RefractiveStateSequence);
    Poe(ds, DCM_EmmetropicMagnification, QString());
    Poe(ds, DCM_IntraOcularPressure, QString());
    Poe(ds, DCM_PupilDilated, QString());
    PoeCodigo(ds, DCM_AcquisitionDeviceTypeCodeSequence, "TOPOGRAFO", kEsquemaLocal,
              "Topógrafo de córnea de anéis de Placido");
    PoeSequenciaVazia(ds, DCM_IlluminationTypeCodeSequence);
    PoeSequenciaVazia(ds, DCM_LightPathFilterTypeStackCodeSequence);
    PoeSequenciaVazia(ds, DCM_ImagePathFilterTypeStackCodeSequence);
    PoeSequenciaVazia(ds, DCM_LensesCodeSequence);
    Poe(ds, DCM_DetectorType, QStringLiteral("CCD"));
    PoeSequenciaVazia(ds, DCM_AcquisitionContextSequence);
    Pixels(ds, imagem, cinza);
    return o;
}

ObjetoDicom ObjetoLaudo(const DadosDicom& d, const QByteArray& pdf, const QString& titulo)
{
    if (!pdf.startsWith("%PDF-"))
        throw ErroSistema(QStringLiteral("O arquivo do laudo não é um documento PDF."));
    ObjetoDicom o = Novo(d, TipoObjetoDicom::Laudo, kSopPdfEncapsulado, pdf);
    DcmDataset& ds = *o.arquivo->getDataset();
    Comuns(ds, d, o, QStringLiteral("DOC"), 3, QStringLiteral("Laudo"));
    Poe(ds, DCM_ConversionType, QStringLiteral("WSD"));
    Poe(ds, DCM_AcquisitionDateTime, DataDicom(d.data) + HoraDicom(d.hora));
    Poe(ds, DCM_BurnedInAnnotation, QStringLiteral("YES"));
    Poe(ds, DCM_DocumentTitle, titulo);
    PoeSequenciaVazia(ds, DCM_ConceptNameCodeSequence);
    Poe(ds, DCM_MIMETypeOfEncapsulatedDocument, QStringLiteral("application/pdf"));
    // An odd length is padded with one zero byte; the length item keeps the true size.
    QByteArray bytes = pdf;
    ds.putAndInsertUint32(DCM_EncapsulatedDocumentLength, Uint32(bytes.size()));
    if (bytes.size() % 2)
        bytes.append('\0');
    if (ds.putAndInsertUint8Array(DCM_EncapsulatedDocument, reinterpret_cast<const Uint8*>(bytes.constData()),
                                  unsigned(bytes.size()))
            .bad())
        throw ErroSistema(QStringLiteral("Não foi possível montar o laudo DICOM."));
    return o;
}

namespace {

QString NomeArquivo(const ObjetoDicom& o, int codExame, bool midia)
{
    static const char* kMidia[] = {"MAPA", "FOTO", "LAUDO"};
    static const char* kPlano[] = {"mapa", "foto", "laudo"};
    if (midia)
        return QStringLiteral("DICOM/E%1/%2").arg(codExame, 7, 10, QChar(u'0')).arg(QLatin1String(kMidia[int(o.tipo)]));
    return QStringLiteral("exame_%1_%2.dcm").arg(codExame).arg(QLatin1String(kPlano[int(o.tipo)]));
}

[[noreturn]] void FalhaGravacao(const QString& arquivo, const QString& motivo)
{
    throw ErroES(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(QDir::toNativeSeparators(arquivo), motivo));
}

void GravaDicomdir(const QString& pasta)
{
    OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    DicomDirInterface dir;
    dir.enableInventMode(OFTrue);
    dir.disableBackupMode(OFTrue);
    const QString caminho = QDir(pasta).filePath(QStringLiteral("DICOMDIR"));
    OFCondition c = dir.createNewDicomDir(DicomDirInterface::AP_GeneralPurpose,
                                          OFFilename(QFile::encodeName(caminho).constData()), "KORVANE");
    QStringList arquivos;
    QDirIterator it(QDir(pasta).filePath(QStringLiteral("DICOM")), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        arquivos.append(QDir(pasta).relativeFilePath(it.next()));
    arquivos.sort();
    for (const QString& a : arquivos) {
        if (c.bad())
            break;
        if (a.contains(u'.'))
            continue; // temporary files of an interrupted export
        c = dir.addDicomFile(OFFilename(QFile::encodeName(a).constData()),
                             OFFilename(QFile::encodeName(pasta).constData()));
    }
    if (c.good())
        c = dir.writeDicomDir();
    if (c.bad())
        FalhaGravacao(caminho, QString::fromLatin1(c.text()));
}

} // namespace

QStringList GravaPastaDicom(const QString& pasta, const QList<ObjetoDicom>& objetos, bool comDicomdir)
{
    QStringList gravados;
    auto desfaz = [&gravados](const QString& temporario) {
        if (!temporario.isEmpty())
            QFile::remove(temporario);
        for (const QString& g : gravados)
            QFile::remove(g);
    };
    if (!QFileInfo(pasta).isDir()) {
        throw ErroES(QStringLiteral("A pasta %1 não existe.").arg(QDir::toNativeSeparators(pasta)));
    }
    for (const ObjetoDicom& o : objetos) {
        const QString destino =
            QDir(pasta).filePath(NomeArquivo(o, o.codExame, comDicomdir));
        const QString temporario = destino + QStringLiteral(".zrtmp");
        if (!QDir().mkpath(QFileInfo(destino).path())) {
            desfaz(QString());
            FalhaGravacao(destino, QStringLiteral("a pasta não pôde ser criada"));
        }
        const OFCondition c = o.arquivo->saveFile(OFFilename(QFile::encodeName(temporario).constData()),
                                                  EXS_LittleEndianExplicit);
        if (c.bad()) {
            desfaz(temporario);
            FalhaGravacao(destino, QString::fromLatin1(c.text()));
        }
        QFile::remove(destino);
        if (!QFile::rename(temporario, destino)) {
            desfaz(temporario);
            FalhaGravacao(destino, QStringLiteral("não foi possível renomear o arquivo temporário"));
        }
        gravados.append(destino);
    }
    if (comDicomdir) {
        try {
            GravaDicomdir(pasta);
        } catch (...) {
            desfaz(QString());
            throw;
        }
        gravados.append(QDir(pasta).filePath(QStringLiteral("DICOMDIR")));
    }
    return gravados;
}
