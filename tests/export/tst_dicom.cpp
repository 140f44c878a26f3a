// The DICOM objects of an examination: files checked with DCMTK's own tools and read back,
// stable identifiers, a folder that cannot be written, and sending to a real archive
// (Orthanc on 127.0.0.1): what arrives, no duplicate on a second send, and the failures.

#include "common/UErros.h"
#include "export/UEnvioDicom.h"
#include "export/UExportaDicom.h"
#include "tests/export/UOrthancTeste.h"

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dctk.h"

#include <QBuffer>
#include <QDir>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kNome = QStringLiteral("Conceição D'Ávila Gonçalves");
const QString kAeEstacao = QStringLiteral("ESTACAO_TESTE");

DadosDicom Dados(int codExame = 7, const QString& olho = QStringLiteral("OD"), QDate data = QDate(2026, 3, 5))
{
    DadosDicom d;
    d.raizUid = QStringLiteral("5b0e3c1e-0000-4000-8000-000000000001");
    d.codPaciente = 12;
    d.nome = kNome;
    d.rg = QStringLiteral("12.345.678-9");
    d.dataNascimento = QStringLiteral("17/08/1961");
    d.sexo = QStringLiteral("F");
    d.codExame = codExame;
    d.olho = olho;
    d.data = data;
    d.hora = QTime(14, 7, 9);
    d.medico = QStringLiteral("Dr. João Estêvão");
    d.k1 = 45.1;
    d.k2 = 42.05;
    d.cilindro = 3.05;
    d.eixo1 = 90;
    d.eixo2 = 180;
    d.temCeratometria = true;
    return d;
}

QImage Mapa()
{
    QImage m(200, 200, QImage::Format_RGB32);
    m.fill(Qt::white);
    QPainter p(&m);
    p.setBrush(Qt::red);
    p.drawEllipse(20, 20, 160, 160);
    return m;
}

QByteArray Jpeg()
{
    QImage g(640, 480, QImage::Format_Grayscale8);
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            g.scanLine(y)[x] = uchar((x ^ y) & 0xFF);
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    g.save(&buf, "JPG", 90);
    return b;
}

const QByteArray kPdf("%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n");

QList<ObjetoDicom> Objetos(const DadosDicom& d = Dados())
{
    return {ObjetoMapa(d, Mapa()), ObjetoFoto(d, Jpeg()), ObjetoLaudo(d, kPdf, QStringLiteral("Laudo"))};
}

QString Executa(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAll());
}

QString Texto(DcmItem& item, const DcmTagKey& tag)
{
    OFString v;
    item.findAndGetOFStringArray(tag, v);
    return QString::fromUtf8(v.c_str());
}

} // namespace

class TesteDicom : public QObject {
    Q_OBJECT
    std::unique_ptr<OrthancTeste> m_orthanc;

    ConfiguracaoPacs Pacs() const
    {
        ConfiguracaoPacs c;
        c.aeLocal = kAeEstacao;
        c.aeArquivo = QStringLiteral("ARQUIVO");
        c.host = QStringLiteral("127.0.0.1");
        c.porta = m_orthanc->PortaDicom();
        return c;
    }
    int Instancias() const { return m_orthanc->Json(QStringLiteral("/instances")).array().size(); }

private slots:
    void initTestCase()
    {
        m_orthanc = std::make_unique<OrthancTeste>(QStringLiteral("ARQUIVO"), kAeEstacao);
        QVERIFY2(m_orthanc->Pronto(), qPrintable(m_orthanc->Erro()));
    }
    void cleanupTestCase() { m_orthanc.reset(); }

    // The files pass DCMTK's checks, and read back they carry the class, the name with its
    // accents and the pixels; for removable media a DICOMDIR lists them.
    void arquivos_data()
    {
        QTest::addColumn<bool>("dicomdir");
        QTest::newRow("pasta") << false;
        QTest::newRow("mídia com DICOMDIR") << true;
    }
    void arquivos()
    {
        QFETCH(bool, dicomdir);
        QTemporaryDir pasta;
        const QList<ObjetoDicom> objetos = Objetos();
        const QStringList gravados = GravaPastaDicom(pasta.path(), objetos, dicomdir);
        QCOMPARE(gravados.size(), dicomdir ? 4 : 3);
        const QString teste = Executa(QStringLiteral("dcmftest"), gravados);
        QCOMPARE(teste.count(QStringLiteral("yes:")), gravados.size());
        const QStringList classes = {kSopCapturaSecundaria, kSopFotografiaOftalmica8, kSopPdfEncapsulado};
        const QList<QSize> tamanhos = {{200, 200}, {640, 480}, {0, 0}};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(Executa(QStringLiteral("dcmdump"), {gravados[i]}).contains(kNome));
            DcmFileFormat f;
            QVERIFY(f.loadFile(QFile::encodeName(gravados[i]).constData()).good());
            DcmDataset& ds = *f.getDataset();
            QCOMPARE(Texto(ds, DCM_SOPClassUID), classes[i]);
            QCOMPARE(Texto(ds, DCM_SpecificCharacterSet), QStringLiteral("ISO_IR 192"));
            QCOMPARE(Texto(ds, DCM_PatientName), kNome);
            QCOMPARE(Texto(ds, DCM_PatientID), QStringLiteral("12.345.678-9"));
            QCOMPARE(Texto(ds, DCM_PatientBirthDate), QStringLiteral("19610817"));
            QCOMPARE(Texto(ds, DCM_Laterality), QStringLiteral("R"));
            Uint16 linhas = 0, colunas = 0;
            ds.findAndGetUint16(DCM_Rows, linhas);
            ds.findAndGetUint16(DCM_Columns, colunas);
            QCOMPARE(QSize(colunas, linhas), tamanhos[i]);
        }
        if (dicomdir) {
            const QString indice = Executa(QStringLiteral("dcmdump"), {gravados.last()});
            for (const char* nome : {"MAPA", "FOTO", "LAUDO"})
                QVERIFY2(indice.contains(QStringLiteral("DICOM\\E0000007\\") + QLatin1String(nome)), qPrintable(indice));
        }
        QVERIFY(QDir(pasta.path()).entryList({QStringLiteral("*.zrtmp")}, QDir::Files).isEmpty());
    }

    // Identifiers: the same examination gives the same ones; a visit is one study.
    void identificadores()
    {
        const QList<ObjetoDicom> a = Objetos(), b = Objetos();
        const QList<ObjetoDicom> outroOlho = Objetos(Dados(8, QStringLiteral("OS")));
        const QList<ObjetoDicom> outroDia = Objetos(Dados(9, QStringLiteral("OD"), QDate(2026, 4, 1)));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(b[i].sopInstancia, a[i].sopInstancia);
            QCOMPARE(b[i].serie, a[i].serie);
            QCOMPARE(outroOlho[i].estudo, a[i].estudo);
            QVERIFY(outroOlho[i].serie != a[i].serie);
            QVERIFY(outroDia[i].estudo != a[i].estudo);
            QVERIFY(a[i].sopInstancia.size() <= 64 && a[i].sopInstancia.startsWith(QStringLiteral("2.25.")));
        }
        QVERIFY(ObjetoLaudo(Dados(), kPdf + "%%", QStringLiteral("Laudo")).sopInstancia != a[2].sopInstancia);
    }

    // Input that cannot be used and a folder that cannot be written: a clear message and no
    // file left.
    void falhasLocais()
    {
        QTemporaryDir pasta;
        QFile ocupado(pasta.filePath(QStringLiteral("ocupado")));
        QVERIFY(ocupado.open(QIODevice::WriteOnly));
        ocupado.close();
        QVERIFY_THROWS_EXCEPTION(ErroES, GravaPastaDicom(pasta.filePath(QStringLiteral("ocupado/cd")), Objetos(), true));
        QVERIFY_THROWS_EXCEPTION(ErroSistema, ObjetoFoto(Dados(), QByteArray("não é jpeg")));
        QVERIFY_THROWS_EXCEPTION(ErroSistema, ObjetoLaudo(Dados(), QByteArray("texto"), QStringLiteral("Laudo")));
        QCOMPARE(QDir(pasta.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("ocupado")});
    }

    // What arrives at the archive, and a second send that adds nothing.
    void envio()
    {
        QVERIFY_THROWS_NO_EXCEPTION(TestaConexaoPacs(Pacs()));
        const QList<ObjetoDicom> objetos = Objetos();
        EnviaObjetosPacs(Pacs(), objetos);
        QCOMPARE(Instancias(), 3);
        EnviaObjetosPacs(Pacs(), Objetos());
        QCOMPARE(Instancias(), 3);
        for (const ObjetoDicom& o : objetos) {
            const QJsonArray achados =
                m_orthanc->Json(QStringLiteral("/tools/lookup"), o.sopInstancia.toLatin1()).array();
            QCOMPARE(achados.size(), 1);
            const QString id = achados[0].toObject().value(QStringLiteral("ID")).toString();
            const QJsonObject t = m_orthanc->Json(QStringLiteral("/instances/%1/simplified-tags").arg(id)).object();
            QCOMPARE(t.value(QStringLiteral("SOPClassUID")).toString(), o.sopClasse);
            QCOMPARE(t.value(QStringLiteral("PatientName")).toString(), kNome);
            QCOMPARE(t.value(QStringLiteral("Laterality")).toString(), QStringLiteral("R"));
            QCOMPARE(t.value(QStringLiteral("StudyInstanceUID")).toString(), o.estudo);
            QCOMPARE(t.value(QStringLiteral("SeriesInstanceUID")).toString(), o.serie);
            if (o.tipo == TipoObjetoDicom::Foto) {
                QCOMPARE(t.value(QStringLiteral("Rows")).toString(), QStringLiteral("480"));
                QCOMPARE(t.value(QStringLiteral("Columns")).toString(), QStringLiteral("640"));
            }
        }
    }

    // An archive that refuses the station, a port nobody listens on, a host that takes the
    // connection and never answers: each its own message, nothing stored.
    void falhasEnvio_data()
    {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("AE title recusado") << 0 << QStringLiteral("recusou a conexão (associação) da estação \"OUTRA\"");
        QTest::newRow("porta fechada") << 1 << QStringLiteral("confira o endereço e a porta");
        QTest::newRow("sem resposta") << 2 << QStringLiteral("não respondeu em 1 s");
        QTest::newRow("não configurado") << 3 << QStringLiteral("não está configurado");
    }
    void falhasEnvio()
    {
        QFETCH(int, caso);
        QFETCH(QString, mensagem);
        const int antes = Instancias();
        ConfiguracaoPacs c = Pacs();
        QTcpServer mudo;
        if (caso == 0)
            c.aeLocal = QStringLiteral("OUTRA");
        else if (caso == 1)
            c.porta = OrthancTeste::PortaLivre();
        else if (caso == 2) {
            QVERIFY(mudo.listen(QHostAddress::LocalHost, 0));
            c.porta = mudo.serverPort();
            c.tempoLimite = 1;
        } else
            c.host.clear();
        for (int vez = 0; vez < 2; ++vez) {
            try {
                if (vez == 0)
                    EnviaObjetosPacs(c, Objetos(Dados(20 + caso)));
                else
                    TestaConexaoPacs(c);
                QFAIL("aceito");
            } catch (const ErroSistema& e) {
                QVERIFY2(e.Mensagem().contains(mensagem), qPrintable(e.Mensagem()));
            }
        }
        QCOMPARE(Instancias(), antes);
    }
};

QTEST_GUILESS_MAIN(TesteDicom)
#include "tst_dicom.moc"
