#pragma once
// Zernike polynomials in the OSA/ANSI single index and normalisation: j = (n (n + 2) + m) / 2,
// Z(n, m) = N R(n, |m|)(rho) cos(m theta) for m >= 0 and N R(n, |m|)(rho) sin(|m| theta) for
// m < 0, N = sqrt(n + 1) for m = 0 and sqrt(2 (n + 1)) otherwise, so that each term's RMS over
// the unit disc is 1 and the RMS of a wavefront is the root of the sum of its squared
// coefficients. theta is counted counter-clockwise from the examiner's right.

#include <QString>

#include <vector>

namespace Zernike {

constexpr int kOrdemMaxima = 6;
constexpr int Termos(int ordem) { return (ordem + 1) * (ordem + 2) / 2; }

inline int Indice(int n, int m) { return (n * (n + 2) + m) / 2; }
void OrdemFrequencia(int j, int& n, int& m);

// Value of term j at (rho, theta), rho <= 1.
double Valor(int j, double rho, double theta);
// Values of terms 0..termos-1 at one point (faster than term by term).
void Valores(int termos, double rho, double theta, double* saida);

// Portuguese name of term j ("desfoco", "coma horizontal", ...).
QString Nome(int j);

// A sample of a wavefront at normalised polar coordinates.
struct Amostra {
    double rho, theta, valor;
};

// Least-squares coefficients of terms 0..Termos(ordem)-1 over the samples (each of equal
// weight). Empty when the samples cannot fix them.
std::vector<double> Ajusta(const std::vector<Amostra>& amostras, int ordem);

// The wavefront the coefficients describe at (rho, theta), skipping terms below primeiro.
double Avalia(const std::vector<double>& c, double rho, double theta, int primeiro = 0);

} // namespace Zernike
