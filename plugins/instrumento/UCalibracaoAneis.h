#pragma once
// From ring radii in pixels to axial dioptres through the calibration coefficients, and the
// measurement of a reference sphere for the calibration.
//
// Coef.txt holds, for each ring j = 1..N, two lines: a then b, so that the axial radius in mm
// of a point of ring j lying r pixels from the centre is a + b * r. A pair 0, 0 marks a ring
// that the calibration did not reach.

#include "plugins/instrumento/UDetectorAneis.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace Instrumento {

struct CoeficientesAneis {
    std::vector<double> a; // one per ring, ring 1 first
    std::vector<double> b;
    // Rings 1..Calibrados() carry a usable pair.
    int Calibrados() const;

    // A bend shared by all rings on top of the straight lines (0: the lines alone). With
    // x = a + b * r, ring j reads x + curvatura * ((x - raioMedio)^2 - alfa[j] - beta[j] * x):
    // the part of the square that the four spheres' line cannot follow.
    double curvatura = 0.0;
    double raioMedio = 0.0;
    std::vector<double> alfa, beta;

    // Axial radius in mm of a point of ring anel (1..Calibrados()) r pixels from the centre.
    double Raio(int anel, double r) const;
};

// Reads the coefficient pairs of numAneis rings from the lines of Coef.txt ("." or ","
// decimal separator). False, with the reason, when the file is short, holds a line that is
// no number, or calibrates no ring at all.
bool LeCoeficientes(const QStringList& linhas, int numAneis, CoeficientesAneis& coef,
                    QString* erro = nullptr);
bool LeArquivoCoeficientes(const QString& arquivo, int numAneis, CoeficientesAneis& coef,
                           QString* erro = nullptr);

// The straight line a + b * r of each ring fits the four reference spheres, but a sphere's
// ring radius is not quite proportional to its radius of curvature: between and beyond the
// four the line errs by up to 0.007 D (6.8 mm), by the same bend on every ring. The sphere
// files "1.txt".."4.txt" of the calibration folder (what TextoEsfera writes) give that bend
// as the residual of their rings about coef's lines. False, coef untouched (the lines
// alone), with the reason, when a file is missing or unreadable, holds fewer rings than
// coef calibrates, or does not agree with coef's lines (a Coef.txt from another
// calibration).
bool RefinaComEsferas(const QStringList (&esferas)[4], CoeficientesAneis& coef, QString* motivo = nullptr);
bool RefinaComArquivosEsferas(const QString& pasta, CoeficientesAneis& coef, QString* motivo = nullptr);

// The calibration of the folder pasta as the processing uses it: Coef.txt (false, with the
// reason, as LeArquivoCoeficientes) refined by the sphere files when they are usable; when
// they are not, Coef.txt's lines alone.
bool LeCalibracao(const QString& pasta, int numAneis, CoeficientesAneis& coef, QString* erro = nullptr);

// Axial dioptres of the measured ring points: power = 337.5 / coef.Raio(j, r). Column 0 of each
// meridian repeats its first ring (the apex value along that meridian). A ring without
// coefficients or giving no positive radius ends its meridian: aneis is cut there.
void ConverteDioptrias(const MedidaAneis& medida, const CoeficientesAneis& coef,
                       TMatrizAngAnel& dioptrias, TAneisMeridiano& aneis);

// Whether coefficients and measure make a cornea at all: every calibrated ring that was
// found turns its mean radius into a radius of curvature within kRaioCurvaturaMin..Max mm,
// and at least one meridian keeps a valid ring. Coefficients that pass the file's reading
// (finite, positive slope) can still be absurd (a slope of 1e308, offsets of 1e300).
inline constexpr double kRaioCurvaturaMin = 3.0;
inline constexpr double kRaioCurvaturaMax = 20.0;
bool ResultadoPlausivel(const MedidaAneis& medida, const CoeficientesAneis& coef,
                        const TAneisMeridiano& aneis);
// The nominal radius of a reference sphere the calibration accepts, in mm.
inline constexpr double kRaioEsferaMin = 5.0;
inline constexpr double kRaioEsferaMax = 12.0;

// A number typed with "," or "." as its decimal separator ("7,73", "7.73").
bool LeNumeroTexto(const QString& texto, double& valor);

// The calibration file of one reference sphere: line 1 the reference radius in mm, then one
// line per ring with its mean radius in pixels over the meridians where it was found. False
// when a ring was found on no meridian.
bool TextoEsfera(double raioReferencia, const MedidaAneis& medida, QStringList& linhas);

} // namespace Instrumento
