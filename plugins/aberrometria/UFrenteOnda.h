#pragma once
// The corneal wavefront of one examination (no widgets): the anterior surface rebuilt from
// the rings, parallel rays refracted by it into a medium of the keratometric index, their
// optical path to a reference sphere centred on the cornea's paraxial focus, and the Zernike
// decomposition of that wavefront over the pupil, with its RMS values, the point spread
// function by FFT and the Strehl ratio.
//
// Coordinates of the pupil plane: x to the examiner's right, y up, mm; the wavefront in um,
// positive where the path is shorter than the chief ray's (a cornea steeper at the edge gives
// positive spherical aberration).

#include "topography/UConfereExame.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace Aberrometria {

constexpr double kIndice = 1.3375;        // keratometric index
constexpr double kComprimentoOnda = 0.555; // um, for the point spread function
constexpr int kLadoPupila = 121;          // wavefront grid points across the pupil
constexpr int kLadoFft = 512;             // point spread function grid (the pupil spans half)

// The corneal surface as a sag function (mm below the apex plane, into the eye) and its
// gradient; false where there is no surface.
using FuncaoSuperficie = std::function<bool(double x, double y, double& h, double& hx, double& hy)>;

// Wavefront (um) of a ray entering at (x, y), by an exact ray trace to the reference sphere
// of radius f (mm) centred on the axis at depth f. False where the ray fails.
bool TracaRaio(double x, double y, double h, double hx, double hy, double f, double& w);

// The focal length of a surface of apical radius r: n r / (n - 1).
inline double Focal(double raio) { return kIndice * raio / (kIndice - 1.0); }

struct ResultadoFrente {
    double raioPedido = 3.0;     // mm
    double raioPupila = 3.0;     // mm, as used (within the data)
    double raioReferencia = 0;   // mm, apical radius whose focus is the reference
    int ordem = 0;               // highest Zernike order fitted
    int pontos = 0;              // wavefront samples used by the fit
    std::vector<double> coef;    // um, OSA index
    QStringList notas;
    bool valido = false;

    // Wavefront grid over the pupil (kLadoPupila square, row 0 at the top); NaN outside the
    // pupil or the data.
    std::vector<double> grade;

    double Rms(int ordemMin, int ordemMax) const; // over orders ordemMin..ordemMax
    double RmsTotal() const { return Rms(2, ordem); }      // without piston and tilt
    double RmsAltaOrdem() const { return Rms(3, ordem); }
    double Coef(int n, int m) const;
    double Astigmatismo() const;      // magnitude, um
    double EixoAstigmatismo() const;  // clinical axis of the steep meridian, 0..180
    double Coma() const;
    double EixoComa() const;          // 0..360
};

// The wavefront of a surface over a pupil of radius raioPupila, fitted up to ordem (the order
// is lowered when the samples cannot carry it).
ResultadoFrente FrenteDeOnda(const FuncaoSuperficie& superficie, double raioPupila, double raioReferencia,
                             int ordem = 6);

// The same from an examination: the pupil is reduced to what the data cover (90 % of the
// meridians reach it), and the order to what the rings within it can carry, each with a note.
ResultadoFrente FrenteDoExame(const TExameConferido& exame, double raioPupila);

// Point spread function of the higher orders (kLadoFft square, peak at the centre, sum 1)
// and the Strehl ratio.
struct Psf {
    std::vector<double> valores;
    double strehl = 0;
    double minutosPorPixel = 0; // arc minutes per sample
};
Psf CalculaPsf(const ResultadoFrente& r);

// A kLadoFft-square grey picture (0 black .. 1 white) convolved with the PSF.
std::vector<double> Convolui(const std::vector<double>& imagem, const Psf& psf);

// The numbers the window shows, as text lines.
QStringList Resumo(const ResultadoFrente& r, const Psf& psf);

} // namespace Aberrometria
