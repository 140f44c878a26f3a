#include "plugins/instrumento/UModeloCornea.h"

#include <cmath>

namespace Instrumento {

namespace {
constexpr double GrausParaRad = M_PI / 180.0;
}

ModeloCornea ModeloCornea::Esfera(double raio)
{
    ModeloCornea m;
    m.raioPlano = m.raioCurvo = raio;
    return m;
}

ModeloCornea ModeloCornea::Torica(double raioPlano, double raioCurvo, double eixoCurvo)
{
    ModeloCornea m;
    m.raioPlano = raioPlano;
    m.raioCurvo = raioCurvo;
    m.eixoCurvo = eixoCurvo;
    return m;
}

ModeloCornea ModeloCornea::Conica(double raio, double q)
{
    ModeloCornea m = Esfera(raio);
    m.q = q;
    return m;
}

ModeloCornea ModeloCornea::Ortoceratologia(double raio, double q, double profundidade, double zona,
                                           double descentracao)
{
    ModeloCornea m = Conica(raio, q);
    // A Gaussian flattens the curvature within one standard deviation of its centre.
    m.ectasias.push_back({-profundidade / 1000.0, -descentracao, 0.0, zona / 2.0});
    return m;
}

bool ModeloCornea::Sag(double u, double v, double& h) const
{
    double hu, hv;
    return SagGradiente(u, v, h, hu, hv);
}

bool ModeloCornea::SagGradiente(double u, double v, double& h, double& hu, double& hv) const
{
    // Biconic in the principal frame: x along the steep meridian, y along the flat one.
    // The axis changes between models, not between calls: keep its cosine and sine.
    thread_local double eixoAnterior = std::nan(""), ca = 1.0, sa = 0.0;
    if (eixoCurvo != eixoAnterior) {
        eixoAnterior = eixoCurvo;
        ca = std::cos(eixoCurvo * GrausParaRad);
        sa = std::sin(eixoCurvo * GrausParaRad);
    }
    const double x = u * ca + v * sa;
    const double y = -u * sa + v * ca;
    const double cx = 1.0 / raioCurvo, cy = 1.0 / raioPlano;
    const double n = cx * x * x + cy * y * y;
    const double s = (1.0 + q) * (cx * cx * x * x + cy * cy * y * y);
    if (s >= 1.0)
        return false;
    const double raiz = std::sqrt(1.0 - s);
    const double d = 1.0 + raiz;
    h = n / d;
    // d(raiz)/dx = -(1+q) cx^2 x / raiz
    const double ddx = -(1.0 + q) * cx * cx * x / raiz;
    const double ddy = -(1.0 + q) * cy * cy * y / raiz;
    const double hx = (2.0 * cx * x * d - n * ddx) / (d * d);
    const double hy = (2.0 * cy * y * d - n * ddy) / (d * d);
    hu = hx * ca - hy * sa;
    hv = hx * sa + hy * ca;

    if (coma != 0.0) {
        const double c = std::cos(eixoComa * GrausParaRad), sn = std::sin(eixoComa * GrausParaRad);
        const double r2 = u * u + v * v, l = u * c + v * sn;
        h += coma * r2 * l;
        hu += coma * (2.0 * u * l + r2 * c);
        hv += coma * (2.0 * v * l + r2 * sn);
    }
    if (trefoil != 0.0) {
        const double c3 = std::cos(3.0 * eixoTrefoil * GrausParaRad);
        const double s3 = std::sin(3.0 * eixoTrefoil * GrausParaRad);
        h += trefoil * ((u * u * u - 3.0 * u * v * v) * c3 + (3.0 * u * u * v - v * v * v) * s3);
        hu += trefoil * ((3.0 * u * u - 3.0 * v * v) * c3 + 6.0 * u * v * s3);
        hv += trefoil * (-6.0 * u * v * c3 + (3.0 * u * u - 3.0 * v * v) * s3);
    }
    for (const Ectasia& e : ectasias) {
        const double du = u - e.u, dv = v - e.v, w2 = e.largura * e.largura;
        const double g = e.altura * std::exp(-(du * du + dv * dv) / (2.0 * w2));
        h -= g;
        hu += g * du / w2;
        hv += g * dv / w2;
    }
    return true;
}

double ModeloCornea::PotenciaAxial(double u, double v) const
{
    const double rho = std::hypot(u, v);
    if (rho < 1e-6) {
        // At the apex the axial power along each meridian tends to the normal curvature;
        // report the mean of the principal powers, corrected for the ectasias' crests.
        double curvatura = 0.5 * (1.0 / raioCurvo + 1.0 / raioPlano);
        for (const Ectasia& e : ectasias) {
            const double d2 = e.u * e.u + e.v * e.v, w2 = e.largura * e.largura;
            curvatura += e.altura * std::exp(-d2 / (2.0 * w2)) / w2 * (1.0 - d2 / (2.0 * w2));
        }
        return IndiceCeratometrico * curvatura;
    }
    double h, hu, hv;
    if (!SagGradiente(u, v, h, hu, hv))
        return 0.0;
    const double g2 = hu * hu + hv * hv;
    const double senoFi = std::sqrt(g2 / (1.0 + g2));
    return IndiceCeratometrico * senoFi / rho;
}

ModeloCornea ModeloCornea::Espelhada() const
{
    ModeloCornea m = *this;
    m.eixoCurvo = std::fmod(180.0 - eixoCurvo + 360.0, 180.0);
    m.eixoComa = 180.0 - eixoComa;
    m.eixoTrefoil = 60.0 - eixoTrefoil;
    for (Ectasia& e : m.ectasias)
        e.u = -e.u;
    return m;
}

} // namespace Instrumento
