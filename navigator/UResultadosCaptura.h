#pragma once
// What the capture assistant makes of the modules' results before it trusts them, and the
// header lines it hands to the map modules. No windows here: the assistant form and the
// storage both use these rules.
//
// A processing module may report success with numbers it should not have produced; ring
// counts are limited to the installation's ring count, and a result that holds a value that
// is not a number where a valid ring lies is refused, so that stored files never carry one.
// The ortho-k texts are checked whole before a single matrix is touched, so that the eye's
// matrices never mix two captures.

#include "examfiles/zr_exame.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace CapturaExame {

// Right eye 1 ("OD"), left eye 0 ("OS").
inline constexpr int kOlhoDireito = 1;
inline constexpr int kOlhoEsquerdo = 0;
QString CodigoOlho(int olho);  // "OD" / "OS"
QString NomeOlho(int olho);    // "Olho Direito" / "Olho Esquerdo"

// The results of the processing of one normal examination.
struct ResultadoNormal {
    double centroX = 0, centroY = 0;
    TMatrizAngAnel posicoes{};
    TAneisMeridiano aneis{};
    TMatrizAngAnel dioptrias{};
    TDadosPupila pupila{};
    double indice = 0;
};

// Accepts a result a processing module reported as a success: each meridian's ring count is
// limited to 0..numAneis; false when the centre, the confidence index or a value of a valid
// cell (rings 0 up to the meridian's count) is not a finite number.
bool ConfereResultado(ResultadoNormal& r, int numAneis);

// Number of lines each ortho-k text must hold at least.
inline constexpr int kLinhasGradeOrto = 4 * ZR_MERIDIANOS;
inline constexpr int kLinhasValoresOrto = 16;

// The results of the processing of one ortho-k capture (four maps of one eye).
struct ResultadoOrto {
    QStringList posicoes;   // 4 x 360 lines, map after map
    QStringList dioptrias;  // 4 x 360 lines, map after map
    TMatrizAngAnel matPosicoes[4]{};
    TMatrizAngAnel matDioptrias[4]{};
    double valores[4][4]{}; // map k: Sag, Div, Raio, fourth value
    double indices[4]{};
};

// Reads the three texts of an ortho-k processing into the result: fewer than 1440 lines in
// either grid text, fewer than 16 value lines, a token that is not a number (or not finite)
// or a grid line of more than 33 values make it false, with the result untouched. Lines past
// those needed are ignored. On success the matrices are cleared before they are read.
bool LeResultadoOrto(const QStringList& posicoes, const QStringList& dioptrias,
                     const QStringList& valores, const double (&indices)[4], ResultadoOrto& r);

// The lines of one map's block (bloco 0..3) of a grid text, as the module wrote them.
QStringList BlocoOrto(const QStringList& texto, int bloco);
// The a.txt lines of ortho-k map `bloco`: "320", "240", "@", four "0" and one ring count per
// meridian: the number of values on the position line minus one, at most numAneis.
QStringList LinhasArquivoAOrto(const QStringList& posicoes, int bloco, int numAneis);
// Lines as a stored text file: cp1252 with CR LF after each.
QByteArray BytesLinhas(const QStringList& linhas);

// What the header of a new examination names.
struct DadosCabecalho {
    QString nomePaciente;
    int codPaciente = 0;
    QString rg;
    int olho = kOlhoDireito;
    QDateTime quando;
    QString medico;
    QString bancoDados;
};
// The 12 header lines of a normal examination.
QStringList CabecalhoExame(const DadosCabecalho& d, double indice);
// The 9 header lines of one ortho-k map, its confidence index on line 8.
QStringList CabecalhoExameOrto(const DadosCabecalho& d, double indice);

} // namespace CapturaExame
