#pragma once
// What the benchmarks share: a piece of work timed several times, and the median of timings.

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace Bench {

// The median of some timings (0 without any).
inline double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// The timings of one piece of work, in milliseconds.
struct Medida {
    std::vector<double> ms;
    double Mediana() const { return Bench::Mediana(ms); }
    double Maximo() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// Runs f(0), f(1) ... f(vezes - 1), timing each.
inline Medida Repete(int vezes, const std::function<void(int)>& f)
{
    Medida m;
    QElapsedTimer t;
    for (int i = 0; i < vezes; ++i) {
        t.start();
        f(i);
        m.ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return m;
}

} // namespace Bench
