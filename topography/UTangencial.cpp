#include "topography/UTangencial.h"

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
