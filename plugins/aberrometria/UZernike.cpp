#include "plugins/aberrometria/UZernike.h"

#include <Eigen/Dense>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace Zernike {

namespace {

double Fatorial(int n)
{
    double f = 1;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

// Each term's order, frequency, normalisation and radial coefficients (of rho^n, rho^(n-2), ...).
struct Termo {
    int n = 0, m = 0;
    double norma = 0;
    double c[kOrdemMaxima / 2 + 1] = {};
};

const Termo* Tabela()
{
    static const auto tabela = [] {
        std::array<Termo, Termos(kOrdemMaxima)> t{};
        for (int j = 0; j < Termos(kOrdemMaxima); ++j) {
            Termo& x = t[j];
            OrdemFrequencia(j, x.n, x.m);
            const int am = std::abs(x.m);
            x.norma = x.m == 0 ? std::sqrt(x.n + 1.0) : std::sqrt(2.0 * (x.n + 1));
            for (int s = 0; s <= (x.n - am) / 2; ++s)
                x.c[s] = ((s % 2) ? -1.0 : 1.0) * Fatorial(x.n - s) /
                         (Fatorial(s) * Fatorial((x.n + am) / 2 - s) * Fatorial((x.n - am) / 2 - s));
        }
        return t;
    }();
    return tabela.data();
}

} // namespace

void OrdemFrequencia(int j, int& n, int& m)
{
    n = int(std::ceil((-3.0 + std::sqrt(9.0 + 8.0 * j)) / 2.0));
    m = 2 * j - n * (n + 2);
}

void Valores(int termos, double rho, double theta, double* saida)
{
    termos = std::clamp(termos, 0, Termos(kOrdemMaxima));
    double p[kOrdemMaxima + 1], cs[kOrdemMaxima + 1], sn[kOrdemMaxima + 1];
    p[0] = 1;
    for (int k = 1; k <= kOrdemMaxima; ++k)
        p[k] = p[k - 1] * rho;
    const double c1 = std::cos(theta), s1 = std::sin(theta);
    cs[0] = 1;
    sn[0] = 0;
    for (int k = 1; k <= kOrdemMaxima; ++k) {
        cs[k] = cs[k - 1] * c1 - sn[k - 1] * s1;
        sn[k] = sn[k - 1] * c1 + cs[k - 1] * s1;
    }
    const Termo* t = Tabela();
    for (int j = 0; j < termos; ++j) {
        const Termo& x = t[j];
        const int am = std::abs(x.m);
        double r = 0;
        for (int s = 0; s <= (x.n - am) / 2; ++s)
            r += x.c[s] * p[x.n - 2 * s];
        saida[j] = x.norma * r * (x.m >= 0 ? cs[am] : sn[am]);
    }
}

double Valor(int j, double rho, double theta)
{
    if (j < 0 || j >= Termos(kOrdemMaxima))
        return 0.0;
    double v[Termos(kOrdemMaxima)];
    Valores(j + 1, rho, theta, v);
    return v[j];
}

QString Nome(int j)
{
    static const char* const kNomes[] = {
        "pistão", "inclinação vertical", "inclinação horizontal", "astigmatismo oblíquo", "desfoco",
        "astigmatismo a 0/90°", "trifólio vertical", "coma vertical", "coma horizontal", "trifólio oblíquo",
        "quadrifólio oblíquo", "astigmatismo secundário oblíquo", "aberração esférica",
        "astigmatismo secundário a 0/90°", "quadrifólio a 0/90°", "pentafólio vertical",
        "trifólio secundário vertical", "coma secundário vertical", "coma secundário horizontal",
        "trifólio secundário oblíquo", "pentafólio oblíquo", "hexafólio oblíquo",
        "quadrifólio secundário oblíquo", "astigmatismo terciário oblíquo", "aberração esférica secundária",
        "astigmatismo terciário a 0/90°", "quadrifólio secundário a 0/90°", "hexafólio a 0/90°"};
    return j >= 0 && j < int(std::size(kNomes)) ? QString::fromUtf8(kNomes[j]) : QString();
}

std::vector<double> Ajusta(const std::vector<Amostra>& amostras, int ordem)
{
    if (ordem < 0 || ordem > kOrdemMaxima)
        return {};
    const int termos = Termos(ordem);
    if (int(amostras.size()) < termos)
        return {};
    Eigen::MatrixXd a(amostras.size(), termos);
    Eigen::VectorXd b(amostras.size());
    for (size_t i = 0; i < amostras.size(); ++i) {
        double v[Termos(kOrdemMaxima)];
        Valores(termos, amostras[i].rho, amostras[i].theta, v);
        for (int j = 0; j < termos; ++j)
            a(Eigen::Index(i), j) = v[j];
        b(Eigen::Index(i)) = amostras[i].valor;
    }
    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(a);
    if (qr.rank() < termos)
        return {};
    const Eigen::VectorXd c = qr.solve(b);
    return std::vector<double>(c.data(), c.data() + termos);
}

double Avalia(const std::vector<double>& c, double rho, double theta, int primeiro)
{
    const int termos = std::min<int>(int(c.size()), Termos(kOrdemMaxima));
    double v[Termos(kOrdemMaxima)];
    Valores(termos, rho, theta, v);
    double soma = 0;
    for (int j = std::max(primeiro, 0); j < termos; ++j)
        soma += c[j] * v[j];
    return soma;
}

} // namespace Zernike
