#include "topography/UTangencial.h"

#include <algorithm>
#include <iterator>

namespace {

// Slope at x[em] of the parabola through the points a, b and c.
double DerivadaParabola(const double* x, const double* y, int a, int b, int c, int em)
{
    const double xe = x[em];
    const double x0 = x[a], x1 = x[b], x2 = x[c];
    return y[a] * ((xe - x1) + (xe - x2)) / ((x0 - x1) * (x0 - x2)) +
           y[b] * ((xe - x0) + (xe - x2)) / ((x1 - x0) * (x1 - x2)) +
           y[c] * ((xe - x0) + (xe - x1)) / ((x2 - x0) * (x2 - x1));
}

} // namespace

void TangencialDoAxial(const double* x, const double* y, int n, double* t)
{
    for (int j = 0; j <= n; ++j)
        t[j] = y[j];
    if (n < 2)
        return;
    for (int j = 1; j <= n; ++j) {
        double derivada;
        if (n == 2)
            derivada = (y[2] - y[1]) / (x[2] - x[1]);
        else if (j == 1)
            derivada = DerivadaParabola(x, y, 1, 2, 3, 1); // column 0 repeats ring 1
        else if (j == n)
            derivada = DerivadaParabola(x, y, n - 2, n - 1, n, n);
        else
            derivada = DerivadaParabola(x, y, j - 1, j, j + 1, j);
        t[j] = y[j] + x[j] * derivada;
    }
}

int AneisComTangencial(const TAneisMeridiano& aneis, int i)
{
    const int todos = *std::max_element(std::begin(aneis), std::end(aneis));
    int k = aneis[i];
    for (int d = -kVizinhancaTangencial; d <= kVizinhancaTangencial; ++d) {
        const int n = aneis[(i + d + ZR_MERIDIANOS) % ZR_MERIDIANOS];
        if (n > 0) // a meridian left without data holds no edge
            k = std::min(k, n == todos ? n : n - 1);
    }
    return std::max(k, 0);
}

void TangencialDasMatrizes(const TMatrizAngAnel& posicoes, const TMatrizAngAnel& axial,
                           const TAneisMeridiano& aneis, TMatrizAngAnel& tangencial,
                           TAneisMeridiano& aneisTangencial)
{
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        const int n = aneis[i];
        double t[ZR_COLUNAS_ANEL];
        TangencialDoAxial(posicoes[i], axial[i], n, t);
        int k = AneisComTangencial(aneis, i);
        if (k < 2)
            k = 0; // too few rings for a curve
        aneisTangencial[i] = k;
        for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
            tangencial[i][j] = j <= k && k > 0 ? t[j] : 0.0;
    }
}
