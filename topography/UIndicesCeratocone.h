#pragma once
// Keratoconus screening indices of one examination, from its axial curvature grid, its ring
// positions and the corneal heights along its meridians. No widgets: the map windows, the
// numeric export and the follow-up chart show what this computes.
//
// Directions are those of the examiner looking at the eye: 0 degrees to the right, 90 up
// (superior), 270 down (inferior). Meridian k of the grids leaves the centre at k degrees
// towards the image's +y (downwards), so its direction is 360 - k.
//
// An index that needs a zone the measurement does not reach is left without a value, with
// the reason; nothing is computed on extrapolated data.

#include "examfiles/zr_exame.h"
#include "topography/UBFuncoesMapas.h"

#include <QString>
#include <QStringList>

// The screening reading of an index, where the literature gives thresholds for it.
enum class LeituraIndice { Nenhuma, Normal, Suspeito, Ceratocone };

// "normal", "suspeito", "ceratocone"; empty for Nenhuma.
QString TextoLeitura(LeituraIndice leitura);

// Screening thresholds.
namespace LimitesCeratocone {
// Central corneal power (Rabinowitz): suspect above 47.2 D, keratoconus above 48.7 D.
constexpr double kKCentralSuspeito = 47.2;
constexpr double kKCentralCeratocone = 48.7;
// I-S value (Rabinowitz): suspect from 1.4 D, keratoconus from 1.9 D.
constexpr double kISSuspeito = 1.4;
constexpr double kISCeratocone = 1.9;
// KISA% (Rabinowitz and Rasheed): suspect above 60 %, keratoconus above 100 %.
constexpr double kKisaSuspeito = 60.0;
constexpr double kKisaCeratocone = 100.0;
// SRAX (Rabinowitz): skewed axes beyond 21 degrees are abnormal.
constexpr double kSraxSuspeito = 21.0;
// SAI (Dingeldein, Klyce and Wilson) and SRI (Wilson and Klyce): upper limits of normal
// corneas.
constexpr double kSaiSuspeito = 0.5;
constexpr double kSriSuspeito = 1.55;
// A central zone whose hemimeridian means differ by less than this has no steep radial axes
// (a sphere): SRAX is then 0.
constexpr double kVariacaoMinimaEixo = 0.1;
} // namespace LimitesCeratocone

// One index: its value, or why it has none, and its reading.
struct TIndice {
    bool valido = false;
    double valor = 0.0;
    QString motivo;                               // why there is no value
    LeituraIndice leitura = LeituraIndice::Nenhuma;
};

struct TIndicesCeratocone {
    bool temCeratometria = false;
    TDadosCeratometria ceratometria; // simulated keratometry of the central 3 mm
    QString motivoCeratometria;
    TIndice kCentral;  // mean axial power within the central 3 mm, area weighted, D
    TIndice kMax;      // steepest point of the axial map within the measured zone, D
    double kMaxX = 0, kMaxY = 0;          // its position, mm (x to the right, y up)
    double kMaxRaio = 0, kMaxAngulo = 0;  // mm from the centre, direction in degrees
    int kMaxMeridiano = 0, kMaxCelula = 0; // its grid cell
    TIndice is;        // inferior minus superior mean power at 3 mm from the centre, D
    TIndice srax;      // skewed radial axes, degrees
    double eixo1Srax = 0, eixo2Srax = 0; // the two steepest radial axes, degrees
    TIndice kisa;      // %
    TIndice sai;       // surface asymmetry index, D
    TIndice sri;       // surface regularity index
    TIndice raioPlano, qPlano, raioCurvo, qCurvo; // conic fit of the principal meridians
    LeituraIndice leitura = LeituraIndice::Nenhuma; // the screening reading of the examination

    // The indices as text, one per line ("I-S: 0.12 D (normal)", "SRI: — (motivo)").
    QStringList Linhas() const;
};

// All the indices of one examination. The grids are not changed; what the map modules
// would leave out (ring counts outside 0..32, dioptres outside 20..100 D, positions not
// rising) is left out here too. Raises ErroCalculo for a correction factor that is not a
// positive finite number.
TIndicesCeratocone CalculaIndicesCeratocone(const TMatrizAngAnel& posicoes,
                                            const TAneisMeridiano& aneis,
                                            const TMatrizAngAnel& dioptrias,
                                            double fatorCorrecao);

// The screening reading of an index value against its two thresholds (the lower one starts
// "suspeito"; the upper one, when above it, "ceratocone"; no upper one: two levels).
LeituraIndice LeituraPorLimites(double valor, double suspeito, double ceratocone,
                                bool inclusivo = false);
