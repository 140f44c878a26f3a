#pragma once
// DICOM objects of an examination, written with DCMTK: the map picture (a secondary capture
// image), the central camera image (an ophthalmic photograph) and the printed report (an
// encapsulated PDF); saved as files of a folder, with a DICOMDIR for removable media.
//
// Texts are sent in UTF-8 (character set ISO_IR 192) in every object. The identifiers are
// derived from the installation's own root, the examination and the content, so exporting
// the same examination again gives the same study, series and instances: the archive keeps
// one copy.

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <memory>

class DcmFileFormat;

// Who and what the objects describe (patient texts as the registry holds them).
struct DadosDicom {
    QString raizUid;          // the installation's identifier (see UidInstalacao)
    int codPaciente = 0;
    QString nome;
    QString rg;               // patient identity; the patient code when empty
    QString dataNascimento;   // "dd/MM/yyyy" as stored, may be empty
    QString sexo;             // "M", "F" or empty
    int codExame = 0;
    QString olho;             // "OD" or "OS"
    QDate data;
    QTime hora;
    QString medico;           // responsible doctor
    QString instituicao;      // the clinic's name from the settings
    // Keratometry written into the map's comments (values in dioptres and degrees).
    double k1 = 0, k2 = 0, cilindro = 0;
    int eixo1 = 0, eixo2 = 0;
    bool temCeratometria = false;
};

enum class TipoObjetoDicom { Mapa, Foto, Laudo };

// One object ready to be saved or sent.
struct ObjetoDicom {
    TipoObjetoDicom tipo = TipoObjetoDicom::Mapa;
    int codExame = 0;
    QString sopClasse;
    QString sopInstancia;
    QString estudo;
    QString serie;
    std::shared_ptr<DcmFileFormat> arquivo;
    QString Descricao() const; // "mapa", "imagem da câmera", "laudo em PDF"
};

// SOP classes used here.
inline const QString kSopCapturaSecundaria = QStringLiteral("1.2.840.10008.5.1.4.1.1.7");
inline const QString kSopFotografiaOftalmica8 = QStringLiteral("1.2.840.10008.5.1.4.1.1.77.1.5.1");
inline const QString kSopPdfEncapsulado = QStringLiteral("1.2.840.10008.5.1.4.1.1.104.1");

// A UID under 2.25 derived from the text (the same text, the same UID).
QString UidDeTexto(const QString& texto);
// The installation's identifier, kept in the settings file (section PACS, key UIDRAIZ);
// created and written there on first use. Raises ErroES when it cannot be written.
QString UidInstalacao(const QString& arquivoIni);

// The objects. Each raises ErroSistema with a clear text when its input cannot be used
// (an empty picture, a camera image that is no JPEG, a file that is no PDF).
ObjetoDicom ObjetoMapa(const DadosDicom& dados, const QImage& mapa);
ObjetoDicom ObjetoFoto(const DadosDicom& dados, const QByteArray& jpeg);
ObjetoDicom ObjetoLaudo(const DadosDicom& dados, const QByteArray& pdf, const QString& titulo);

// Saves the objects into the folder. Plain: "exame_<code>_<mapa|foto|laudo>.dcm". For
// removable media (comDicomdir): DICOM/E<code>/MAPA, FOTO, LAUDO and a DICOMDIR at the root
// covering every object under DICOM/. Each file is written under a temporary name and
// renamed when complete; on failure the files of this call are removed and ErroES names
// the file and the reason. Returns the paths written.
QStringList GravaPastaDicom(const QString& pasta, const QList<ObjetoDicom>& objetos, bool comDicomdir);
