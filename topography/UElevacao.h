#pragma once
// Corneal height along the meridians of an examination, from its ring positions (pixels;
// times FatorCorrecao, millimetres from the map centre) and its axial powers.
//
// On a meridian, the axial radius R = 337.5 / D at distance r from the axis is the length of
// the normal from the surface to the axis, so the surface slope there is r / sqrt(R^2 - r^2).
// Integrated outward from the centre (Simpson's rule on each interval between two ring
// points, R interpolated linearly in between) it gives the height below the apex plane. A
// conic fitted per meridian to the axial radii (R^2 = R0^2 - Q r^2, exact for a conic)
// gives its apical radius R0 and its asphericity Q.
//
// The lens, aberrometry and ortho-k computations share these heights.

#include "examfiles/zr_exame.h"
#include "topography/UErroCalculo.h"

#include <vector>

// The heights of one meridian.
struct TElevacaoMeridiano {
    int pontos = 0;                        // points 0..pontos-1 hold data; point 0 is the centre
    double raio[ZR_COLUNAS_ANEL] = {};     // distance from the centre, mm
    double altura[ZR_COLUNAS_ANEL] = {};   // height below the apex plane, mm (sag)
    double raioAxial[ZR_COLUNAS_ANEL] = {}; // 337.5 / D, mm
    bool conica = false;                   // a conic was fitted (three points or more)
    double raioApical = 0.0;               // R0 of the fitted conic, mm
    double q = 0.0;                        // Q of the fitted conic

    // Height at distance r (mm): integrated from the measured point before it (the axial
    // radius interpolated linearly); beyond the last point, its height plus the fitted
    // conic's rise from there. False when neither applies.
    bool AlturaEm(double r, double& h) const;
};

// One meridian from its row of positions (pixels) and dioptres and its last valid column.
// The meridian ends before a point whose position does not grow outward, whose dioptres are
// not a finite positive number, or where the axial radius does not exceed the distance.
TElevacaoMeridiano ElevacaoMeridiano(const double (&posicoes)[ZR_COLUNAS_ANEL],
                                     const double (&dioptrias)[ZR_COLUNAS_ANEL],
                                     int ultimaColuna, double fatorCorrecao);

// All 360 meridians (element k - 1 is meridian k). Raises ErroCalculo for a correction factor
// that is not a positive finite number.
std::vector<TElevacaoMeridiano> CalculaElevacao(const TMatrizAngAnel& posicoes,
                                                const TMatrizAngAnel& dioptrias,
                                                const TAneisMeridiano& aneis,
                                                double fatorCorrecao);

// Height of a conic of apical radius r0 and asphericity q at distance r, mm; false where the
// conic does not reach.
bool AlturaConica(double r0, double q, double r, double& h);

// Sagittal depth of a clinical meridian pair over a chord (mm): the mean height at half the
// chord on the two meridians k and k + 180 of the pair (k = 1..180) and their neighbours
// within vizinhos degrees. False when no meridian of the pair gives a height there.
bool SagParMeridianos(const std::vector<TElevacaoMeridiano>& elevacao, int par, double corda,
                      int vizinhos, double& sag);

// The ortho-k values of one examination: Sag and Div in micrometres over the 8 mm chord,
// Raio in mm, and the eccentricity of the flat meridian.
struct TValoresOrtoExame {
    double Sag = 0;   // sagittal depth of the flat meridian
    double Div = 0;   // steep meridian's sag minus the flat one's
    double Raio = 0;  // flat simulated-keratometry radius of the 3 mm zone
    double Excentricidade = 0; // sqrt(-Q) of the flat meridian; negative (-sqrt(Q)) when oblate
};

// Computes them: the principal meridians are those of the simulated keratometry within
// 1.5 mm of the centre; each sag is the mean over its pair and two neighbouring degrees on
// each side. Raises ErroCalculo when the keratometry or a sag cannot be computed.
TValoresOrtoExame CalculaValoresOrto(const TMatrizAngAnel& posicoes,
                                     const TMatrizAngAnel& dioptrias,
                                     const TAneisMeridiano& aneis, double fatorCorrecao);
