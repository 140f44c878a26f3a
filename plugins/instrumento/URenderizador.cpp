#include "plugins/instrumento/URenderizador.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace Instrumento {

namespace {

// Slowly varying texture in [-1, 1] (iris fibres, skin): value noise over a fixed random
// 64 x 64 lattice, smoothly interpolated, so the same place always looks the same.
double Textura(double a, double b)
{
    static const std::vector<float> grade = [] {
        std::vector<float> g(64 * 64);
        std::mt19937 ger(20240611u);
        std::uniform_real_distribution<float> u(-1.0f, 1.0f);
        for (float& v : g)
            v = u(ger);
        return g;
    }();
    const double fa = std::floor(a), fb = std::floor(b);
    const int ia = static_cast<int>(fa) & 63, ib = static_cast<int>(fb) & 63;
    const int ja = (ia + 1) & 63, jb = (ib + 1) & 63;
    double ta = a - fa, tb = b - fb;
    ta = ta * ta * (3.0 - 2.0 * ta);
    tb = tb * tb * (3.0 - 2.0 * tb);
    const double v0 = grade[ib * 64 + ia] + (grade[ib * 64 + ja] - grade[ib * 64 + ia]) * ta;
    const double v1 = grade[jb * 64 + ia] + (grade[jb * 64 + ja] - grade[jb * 64 + ia]) * ta;
    return v0 + (v1 - v0) * tb;
}

double Suave(double borda0, double borda1, double x)
{
    const double t = std::clamp((x - borda0) / (borda1 - borda0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Grey level of what lies behind the tear film at (u, v) mm: pupil, iris, sclera, lids.
double Fundo(const ModeloCornea& cornea, const ParametrosCaptura& p, double u, double v,
             bool& refletivo)
{
    const double rho = std::hypot(u, v);
    if (p.esferaCalibracao) {
        // A dark polished ball in a matt holder.
        const double raioBola = 0.93 * cornea.raioPlano;
        refletivo = rho < raioBola;
        return refletivo ? 22.0 : 58.0 + 6.0 * Textura(u * 3.0, v * 3.0);
    }
    refletivo = rho < cornea.raioLimbo;
    const double pu = (p.olhoEsquerdo ? -p.pupilaU : p.pupilaU);
    const double rp = std::hypot(u - pu, v - p.pupilaV);
    double nivel;
    if (rho < cornea.raioLimbo + 0.4) {
        const double ang = std::atan2(v - p.pupilaV, u - pu);
        const double fibras = (ang + M_PI) * 64.0 / (2.0 * M_PI);
        double iris = 92.0 + 16.0 * Textura(fibras * 3.0, rp * 4.0) + 8.0 * Textura(fibras * 11.0, rp * 0.7);
        iris -= 25.0 * Suave(p.raioPupila + 1.2, p.raioPupila + 0.6, rp); // darker collarette
        iris -= 30.0 * Suave(cornea.raioLimbo - 0.6, cornea.raioLimbo, rho); // limbal ring
        const double pupila = 12.0;
        nivel = pupila + (iris - pupila) * Suave(p.raioPupila - 0.04, p.raioPupila + 0.04, rp);
        const double esclera = 178.0 + 8.0 * Textura(u * 2.0, v * 2.0);
        nivel += (esclera - nivel) * Suave(cornea.raioLimbo, cornea.raioLimbo + 0.4, rho);
    } else {
        nivel = 178.0 + 8.0 * Textura(u * 2.0, v * 2.0) - 10.0 * Suave(6.0, 11.0, rho);
    }
    // Lids: parabolic margins with a dark lash line.
    const double sup = p.palpebraSuperior + 0.045 * u * u;
    const double inf = -p.palpebraInferior - 0.03 * u * u;
    const double pele = 128.0 + 12.0 * Textura(u * 4.0, v * 5.0);
    if (v > sup - 0.25) {
        refletivo = false;
        const double cilios = 30.0 + 10.0 * Textura(u * 12.0, 3.5);
        return v < sup ? nivel + (cilios - nivel) * Suave(sup - 0.25, sup - 0.05, v)
                       : cilios + (pele - cilios) * Suave(sup, sup + 0.5, v);
    }
    if (v < inf + 0.2) {
        refletivo = false;
        const double margem = 70.0;
        return v > inf ? nivel + (margem - nivel) * Suave(inf + 0.2, inf, v)
                       : margem + (pele - margem) * Suave(inf, inf - 0.4, v);
    }
    return nivel;
}

} // namespace

QImage RenderizaCentral(const ModeloCornea& cornea, const ConePlacido& cone,
                        const ParametrosCaptura& p)
{
    const int w = LarguraImagem, h = AlturaImagem;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> alvo(static_cast<std::size_t>(w) * h, nan);
    std::vector<float> fundo(static_cast<std::size_t>(w) * h, 0.0f);
    const double f = p.fatorCorrecao;

    // Each pixel's reflection is traced on its own, so bands of rows go to every core.
    auto tracaFaixa = [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            for (int x = 0; x < w; ++x) {
                const double u = (x - p.centroX) * f;
                const double v = -(y - p.centroY) * f;
                bool refletivo = false;
                double nivel = Fundo(cornea, p, u, v, refletivo);
                if (p.oclusaoRaio > 0.0 && std::hypot(x - p.oclusaoX, y - p.oclusaoY) < p.oclusaoRaio) {
                    nivel = 150.0 + 10.0 * Textura(x * 0.2, y * 0.2);
                    refletivo = false;
                }
                const std::size_t i = static_cast<std::size_t>(y) * w + x;
                fundo[i] = static_cast<float>(nivel);
                if (!refletivo)
                    continue;
                double sag, hu, hv;
                if (!cornea.SagGradiente(u, v, sag, hu, hv))
                    continue;
                // The surface point in cone coordinates (y of the cone = v) and its normal.
                const double norma = std::sqrt(hu * hu + hv * hv + 1.0);
                const double pt[3] = {u, v, -sag};
                const double n[3] = {hu / norma, hv / norma, 1.0 / norma};
                double z;
                if (cone.Reflexo(pt, n, z))
                    alvo[i] = z;
            }
        }
    };
    const int faixas = std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    std::vector<std::thread> trabalhos;
    for (int k = 1; k < faixas; ++k)
        trabalhos.emplace_back(tracaFaixa, h * k / faixas, h * (k + 1) / faixas);
    tracaFaixa(0, h / faixas);
    for (std::thread& t : trabalhos)
        t.join();

    // Combined blur of the optics and the pixel (a box of one pixel has variance 1/12).
    const double sigma = std::sqrt(p.desfoque * p.desfoque + 1.0 / 12.0);
    std::mt19937 gerador(p.semente);
    std::normal_distribution<double> normal(0.0, 1.0);
    QImage imagem(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y) {
        uchar* linha = imagem.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            double anel = 0.0;
            const double z = alvo[i];
            if (!std::isnan(z)) {
                // Gradient of the cone position across the image, mm of z per pixel.
                auto valor = [&](int xx, int yy) {
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h)
                        return nan;
                    return alvo[static_cast<std::size_t>(yy) * w + xx];
                };
                auto derivada = [&](double a, double b) {
                    if (!std::isnan(a) && !std::isnan(b))
                        return (b - a) / 2.0;
                    if (!std::isnan(b))
                        return b - z;
                    if (!std::isnan(a))
                        return z - a;
                    return 0.0;
                };
                const double zxm = valor(x - 1, y), zxp = valor(x + 1, y);
                const double zym = valor(x, y - 1), zyp = valor(x, y + 1);
                const double gx = derivada(zxm, zxp);
                const double gy = derivada(zym, zyp);
                const double g = std::hypot(gx, gy);
                double distancia, borda;
                const bool brilho = cone.Brilhante(z, distancia, &borda);
                double px = 1e6;
                if (g > 1e-12) {
                    // Distance in pixels to the edge along the gradient, to second order: the
                    // cone position bends strongly near the centre, and a first-order distance
                    // would make the inner and outer sides of a ring's edge unequal.
                    double curva = 0.0;
                    const double zpp = valor(x + 1, y + 1), zpm = valor(x + 1, y - 1);
                    const double zmp = valor(x - 1, y + 1), zmm = valor(x - 1, y - 1);
                    if (!std::isnan(zxm) && !std::isnan(zxp) && !std::isnan(zym) && !std::isnan(zyp) &&
                        !std::isnan(zpp) && !std::isnan(zpm) && !std::isnan(zmp) && !std::isnan(zmm)) {
                        const double hxx = zxp - 2.0 * z + zxm, hyy = zyp - 2.0 * z + zym;
                        const double hxy = (zpp - zpm - zmp + zmm) / 4.0;
                        const double nx = gx / g, ny = gy / g;
                        curva = nx * nx * hxx + 2.0 * nx * ny * hxy + ny * ny * hyy;
                    }
                    // 0.5 curva s^2 + g s = (borda - z), solved for the root near (borda - z) / g.
                    const double delta = borda - z;
                    const double disc = g * g + 2.0 * curva * delta;
                    const double sEdge = disc > 0.0 ? 2.0 * delta / (g + std::sqrt(disc)) : delta / g;
                    px = std::abs(sEdge);
                }
                const double s = (brilho ? px : -px) / sigma;
                anel = 0.5 * (1.0 + std::erf(s / std::sqrt(2.0)));
            }
            const double b = fundo[i];
            double nivel = b + anel * (225.0 - 0.8 * b);
            const double rx = (x - w / 2.0) / 400.0, ry = (y - h / 2.0) / 400.0;
            nivel *= 1.0 - 0.12 * (rx * rx + ry * ry);
            nivel += p.ruido * normal(gerador);
            linha[x] = static_cast<uchar>(std::clamp(std::lround(nivel), 0L, 255L));
        }
    }
    return imagem;
}

QImage RenderizaLateral(const ModeloCornea& cornea, const ParametrosCaptura& p, double escala)
{
    const int w = LarguraImagem, h = AlturaImagem;
    QImage imagem(w, h, QImage::Format_Grayscale8);
    imagem.fill(QColor(26, 26, 26));
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing);
    auto ponto = [&](double z, double v) {
        // z towards the camera of the central image (right in this view), v up.
        return QPointF(ApiceLateralX + z / escala, ApiceLateralY - v / escala);
    };

    // The globe behind the cornea: a 12 mm sphere whose front meets the limbus.
    double sagLimbo = 0.0;
    cornea.Sag(0.0, cornea.raioLimbo * 0.999, sagLimbo);
    const double raioGlobo = 12.0;
    const double zLimbo = -sagLimbo;
    const double zCentroGlobo = zLimbo - std::sqrt(raioGlobo * raioGlobo - cornea.raioLimbo * cornea.raioLimbo);
    QPainterPath globo;
    globo.addEllipse(ponto(zCentroGlobo, 0.0), raioGlobo / escala, raioGlobo / escala);
    QRadialGradient esclera(ponto(zCentroGlobo + 4.0, 2.0), raioGlobo / escala);
    esclera.setColorAt(0.0, QColor(185, 185, 185));
    esclera.setColorAt(1.0, QColor(95, 95, 95));
    pintor.fillPath(globo, esclera);

    // The cornea: its profile along the vertical meridian, closed along the limbus plane.
    QPainterPath perfil;
    const int passos = 120;
    for (int k = 0; k <= passos; ++k) {
        const double v = -cornea.raioLimbo + 2.0 * cornea.raioLimbo * k / passos;
        double s = 0.0;
        if (!cornea.Sag(0.0, v, s))
            s = sagLimbo;
        const QPointF q = ponto(-s, v);
        if (k == 0)
            perfil.moveTo(q);
        else
            perfil.lineTo(q);
    }
    QPainterPath camara = perfil;
    camara.closeSubpath();
    pintor.fillPath(camara, QColor(58, 58, 58));
    // The iris seen edge on, a little behind the limbus, open at the pupil.
    const double zIris = zLimbo - 0.5;
    const double pupila = p.esferaCalibracao ? 0.0 : p.raioPupila;
    pintor.setPen(QPen(QColor(38, 38, 38), 0.25 / escala, Qt::SolidLine, Qt::RoundCap));
    pintor.drawLine(ponto(zIris, cornea.raioLimbo - 0.2), ponto(zIris, pupila));
    pintor.drawLine(ponto(zIris, -pupila), ponto(zIris, -cornea.raioLimbo + 0.2));
    // The lit edge of the cornea.
    pintor.setPen(QPen(QColor(240, 240, 240), 2.0));
    pintor.drawPath(perfil);
    if (!p.esferaCalibracao) {
        // Lids: rounded folds of skin over the globe, above and below the cornea.
        pintor.setPen(QPen(QColor(60, 60, 60), 2.0));
        pintor.setBrush(QColor(128, 128, 128));
        for (int lado : {1, -1}) {
            const double margem = (lado > 0 ? p.palpebraSuperior : p.palpebraInferior) + 0.6;
            QPainterPath palpebra;
            palpebra.moveTo(ponto(zCentroGlobo, lado * 20.0));
            palpebra.lineTo(ponto(zCentroGlobo, lado * (margem + 1.0)));
            palpebra.quadTo(ponto(zLimbo + 0.2, lado * (margem + 1.2)), ponto(zLimbo + 0.6, lado * margem));
            palpebra.quadTo(ponto(zLimbo + 1.8, lado * (margem + 2.0)), ponto(zLimbo + 2.5, lado * 20.0));
            palpebra.closeSubpath();
            pintor.drawPath(palpebra);
        }
    }
    pintor.end();

    // Sensor noise.
    std::mt19937 gerador(p.semente ^ 0x9e3779b9u);
    std::normal_distribution<double> normal(0.0, p.ruido);
    for (int y = 0; y < h; ++y) {
        uchar* linha = imagem.scanLine(y);
        for (int x = 0; x < w; ++x)
            linha[x] = static_cast<uchar>(std::clamp(std::lround(linha[x] + normal(gerador)), 0L, 255L));
    }
    return imagem;
}

} // namespace Instrumento
