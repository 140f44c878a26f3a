#include "plugins/instrumento/UConePlacido.h"

#include <algorithm>
#include <cmath>

namespace Instrumento {

ConePlacido::ConePlacido(int numAneis)
    : m_numAneis(numAneis > 24 ? 32 : 16)
{
    m_inclinacao = (m_raioFundo - m_raioFrente) / (m_zFundo - m_zFrente);
    const double passo = AlturaMaxima / (m_numAneis + 0.25);
    m_bordas.reserve(2 * m_numAneis);
    for (int j = 1; j <= m_numAneis; ++j) {
        for (double altura : {(j - 0.25) * passo, (j + 0.25) * passo}) {
            // The design sphere at this height, and where it sends the view.
            const double r = RaioProjeto;
            const double c = std::sqrt(r * r - altura * altura);
            const double p[3] = {altura, 0.0, -(r - c)};
            const double n[3] = {altura / r, 0.0, c / r};
            double z = 0.0;
            Reflexo(p, n, z);
            m_bordas.push_back(z);
        }
    }
}

double ConePlacido::AlturaProjeto(int anel) const
{
    return anel * AlturaMaxima / (m_numAneis + 0.25);
}

bool ConePlacido::Intersecao(const double p[3], const double d[3], double& z) const
{
    // |p_xy + s d_xy| = a + b s, the cone's radius along the ray.
    const double a0 = m_raioFrente + (p[2] - m_zFrente) * m_inclinacao;
    const double b0 = d[2] * m_inclinacao;
    const double qa = d[0] * d[0] + d[1] * d[1] - b0 * b0;
    const double qb = 2.0 * (p[0] * d[0] + p[1] * d[1] - a0 * b0);
    const double qc = p[0] * p[0] + p[1] * p[1] - a0 * a0;
    double s = -1.0;
    if (std::abs(qa) < 1e-12) {
        if (std::abs(qb) > 1e-12)
            s = -qc / qb;
    } else {
        const double disc = qb * qb - 4.0 * qa * qc;
        if (disc < 0.0)
            return false;
        const double raiz = std::sqrt(disc);
        const double s1 = (-qb - raiz) / (2.0 * qa), s2 = (-qb + raiz) / (2.0 * qa);
        for (double si : {std::min(s1, s2), std::max(s1, s2)}) {
            if (si > 1e-9 && a0 + b0 * si > 0.0) {
                s = si;
                break;
            }
        }
    }
    if (s <= 0.0)
        return false;
    z = p[2] + s * d[2];
    return z >= m_zFrente && z <= m_zFundo;
}

bool ConePlacido::Reflexo(const double p[3], const double n[3], double& z) const
{
    // The view comes down the axis (0, 0, -1) and leaves along v - 2 (v.n) n.
    const double d[3] = {2.0 * n[2] * n[0], 2.0 * n[2] * n[1], 2.0 * n[2] * n[2] - 1.0};
    return Intersecao(p, d, z);
}

bool ConePlacido::Brilhante(double z, double& distancia, double* borda) const
{
    // Edges fall with the index: find the first edge below z.
    const auto it = std::upper_bound(m_bordas.begin(), m_bordas.end(), z, std::greater<double>());
    const std::size_t i = static_cast<std::size_t>(it - m_bordas.begin());
    double d = 1e9, b = z + 1e9;
    if (i < m_bordas.size() && z - m_bordas[i] < d) {
        d = z - m_bordas[i];
        b = m_bordas[i];
    }
    if (i > 0 && m_bordas[i - 1] - z < d) {
        d = m_bordas[i - 1] - z;
        b = m_bordas[i - 1];
    }
    distancia = d;
    if (borda)
        *borda = b;
    // Between edge 2j (inner) and 2j+1 (outer) lies a bright ring: i odd.
    return (i % 2) == 1;
}

} // namespace Instrumento
