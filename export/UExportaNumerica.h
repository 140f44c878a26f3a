#pragma once
// The numeric export of one examination: a JSON file with everything the instrument
// measured and what is derived from it, and a CSV file with the ring grid. The format is
// open and versioned (docs/formato-exportacao.md); LeJsonExportacao reads it back.

#include "examfiles/zr_exame.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QTime>

#include <limits>

class TBMapOperation;

// Version of the file layout written here; a reader refuses a higher major version.
inline constexpr int kVersaoFormatoExportacao = 1;
// Decimals written: millimetres to the tenth of a micrometre, dioptres to the hundredth.
inline constexpr int kCasasMm = 4;
inline constexpr int kCasasDioptria = 2;

// Patient identification, written only when the user asks for it.
struct IdentificacaoExportada {
    QString nome;
    QString rg;
    QString cpf;
    QString dataNascimento; // as stored, "dd/MM/yyyy"
};

// One meridian of the grid: columns 0 (centre) to the meridian's last valid ring.
struct MeridianoExportado {
    int meridiano = 0; // degrees 0..359
    QList<double> raioMm;
    QList<double> axialD;
    QList<double> tangencialD;
};

// The keratoconus screening indices (NaN where an index has no value; motivos says why,
// by JSON key).
struct IndicesExportados {
    static constexpr double kSem = std::numeric_limits<double>::quiet_NaN();
    double kCentral = kSem, kMax = kSem, kMaxX = kSem, kMaxY = kSem, is = kSem, srax = kSem,
           kisa = kSem, sai = kSem, sri = kSem, raioPlano = kSem, qPlano = kSem,
           raioCurvo = kSem, qCurvo = kSem;
    QString leitura; // "normal", "suspeito", "ceratocone" or empty
    QMap<QString, QString> motivos;
};

struct ExameExportado {
    int versao = kVersaoFormatoExportacao;
    int codigo = 0;
    QString olho; // "OD" or "OS"
    QDate data;
    QTime hora;
    int aneis = 0;
    QString tipoCone;
    QString dataCalibracao;
    double fatorCorrecao = 0; // mm per pixel of the central image
    double centroX = 0, centroY = 0;
    int pupilaX = 0, pupilaY = 0, pupilaRaio = 0;
    bool pupilaEncontrada = false;
    double indiceConfianca = 0;
    double k1 = 0, k2 = 0, cilindro = 0;
    int eixo1 = 0, eixo2 = 0;
    double zonaCeratometriaMm = 0; // radius of the keratometry zone
    double valorMaximo = 0;        // largest value of the axial map
    bool temIndices = false;
    IndicesExportados indices;
    bool temIdentificacao = false;
    IdentificacaoExportada identificacao;
    QList<MeridianoExportado> meridianos; // 360, by degree
};

// What the database says about the examination (the files give the rest).
struct CabecalhoExportacao {
    int codigo = 0;
    QString olho;
    QDate data;
    QTime hora;
    int aneis = 0;
    QString tipoCone;
    QString dataCalibracao;
    double fatorCorrecao = 0;
    double indiceConfianca = 0;
};

// Builds the export from a loaded examination. Meridian k of the files (1..360) is the
// degree k mod 360. Radii are the ring positions times the correction factor; tangential
// powers come from the axial ones as the tangential map computes them. Raises ErroCalculo
// when the keratometry or the map cannot be computed, ErroSistema for a bad factor.
ExameExportado MontaExportacao(const CabecalhoExportacao& cabecalho, const TBMapOperation& leitor);

// The JSON text (UTF-8). The identification goes in only when incluirIdentificacao.
QByteArray JsonExportacao(const ExameExportado& exame, bool incluirIdentificacao);
// The CSV text: header "meridian,ring,radius_mm,axial_D,tangential_D", "." decimals,
// UTF-8, LF line ends.
QByteArray CsvExportacao(const ExameExportado& exame);
// Reads a JSON export back. Raises ErroConversao naming what is wrong for a text that is not
// such an export or comes from a newer major version.
ExameExportado LeJsonExportacao(const QByteArray& json);

// File names of an examination's export: "exame_<code>_<eye>.json" / ".csv".
QString NomeArquivoExportacao(const ExameExportado& exame, const QString& extensao);
// Writes both files into the folder, each complete or not at all. Returns the two paths.
// Raises ErroES naming the file when the folder cannot be written; a file written before the
// failure is removed, so nothing half done remains.
QStringList GravaExportacaoNumerica(const QString& pasta, const ExameExportado& exame,
                                    bool incluirIdentificacao);
