#pragma once
// What the benchmarks share: a piece of work timed several times, and the median of timings.

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace Bench {

// The median of some timings (0 without any).
inline double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Processor time of the whole process (the embedded engine runs in it): on a machine shared
// with other work the wall-clock figure grows with the load, this one much less.
inline double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The timings of one piece of work, in milliseconds: wall clock and processor.
struct Medida {
    std::vector<double> ms, cpu;
    double Mediana() const { return Bench::Mediana(ms); }
    double Maximo() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// Runs f(0), f(1) ... f(vezes - 1), timing each.
inline Medida Repete(int vezes, const std::function<void(int)>& f)
{
    Medida m;
    QElapsedTimer t;
    for (int i = 0; i < vezes; ++i) {
        const double cpu = CpuMs();
        t.start();
        f(i);
        m.ms.push_back(double(t.nsecsElapsed()) / 1e6);
        m.cpu.push_back(CpuMs() - cpu);
    }
    return m;
}

} // namespace Bench
