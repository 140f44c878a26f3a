// Keratoconus indices: time of computing every index of one 16-ring examination of a
// keratoconic cornea (the axial grid, keratometry, Kmax, I-S, SRAX, KISA%, SAI, SRI and the
// conic fit of the principal meridians). Target: under 5 ms.
//
//   bench_indices [repetitions]

#include "topography/UIndicesCeratocone.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Exame {
    TMatrizAngAnel m{}, d{};
    TAneisMeridiano aneis{};
};

void Ceratocone(Exame& e)
{
    for (int k = 1; k <= 360; ++k) {
        const double a = (360.0 - k) * M_PI / 180.0;
        e.aneis[k - 1] = 16;
        for (int j = 0; j <= 16; ++j) {
            const double r = std::max(j, 1) * 0.3;
            const double u = r * std::cos(a), v = r * std::sin(a) + 1.5;
            e.m[k - 1][j] = j * 0.3 / 0.02;
            e.d[k - 1][j] = 337.5 / std::sqrt(7.5 * 7.5 + 0.3 * r * r) + 6.0 * std::exp(-(u * u + v * v) / 1.62);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repeticoes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    auto e = std::make_unique<Exame>();
    Ceratocone(*e);
    std::vector<double> tempos;
    double kisa = 0;
    for (int i = 0; i < repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        const TIndicesCeratocone ind = CalculaIndicesCeratocone(e->m, e->aneis, e->d, 0.02);
        tempos.push_back(t.nsecsElapsed() / 1e6);
        kisa += ind.kisa.valor;
    }
    std::sort(tempos.begin(), tempos.end());
    std::printf("índices de um exame: mínimo %.3f ms, mediana %.3f ms, p90 %.3f ms (%d repetições; meta 5 ms)\n",
                tempos.front(), tempos[tempos.size() / 2], tempos[tempos.size() * 9 / 10], repeticoes);
    std::printf("(KISA%% médio %.1f)\n", kisa / repeticoes);
    return tempos[tempos.size() / 2] < 5.0 ? 0 : 1;
}
