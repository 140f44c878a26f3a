#include "plugins/instrumento/UDetectorAneis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace Instrumento {

namespace {

constexpr double PassoPerfil = 0.25; // radial sampling step, pixels
constexpr double LimiarBorda = 10.0; // least edge slope, grey levels per pixel
constexpr double LimiarPupila = 50.0;
constexpr double kDesvioUltimo = 0.025;      // share of the last ring against the ones before
constexpr double kDesvioEspacoUltimo = 0.10; // and its spacing against the one before

// Arc over which the inner rings' points are averaged: kAreaSuave / r^2 radians on a ring of
// r pixels (a whole turn's worth on the innermost, a few degrees from the fifth ring on).
constexpr double kAreaSuave = 300.0;

// The ellipse of the innermost rings: rings 1..kAneisElipseComum take the harmonic 2 of
// 1/r^2, relative to its mean, from rings 1..kAneisFonteElipse weighted by r^3.
constexpr int kAneisElipseComum = 2;
constexpr int kAneisFonteElipse = 4;

// cos(k degrees), k = 0..359; sin(k) is kCos[(k + 270) % 360].
const std::array<double, 360> kCos = [] {
    std::array<double, 360> c{};
    for (int k = 0; k < 360; ++k)
        c[k] = std::cos(k * M_PI / 180.0);
    return c;
}();

class Quadro {
public:
    explicit Quadro(const QImage& imagem)
    {
        const QImage cinza = imagem.convertToFormat(QImage::Format_Grayscale8);
        w = cinza.width();
        h = cinza.height();
        px.resize(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            const uchar* linha = cinza.constScanLine(y);
            for (int x = 0; x < w; ++x)
                px[static_cast<std::size_t>(y) * w + x] = linha[x];
        }
    }
    bool Dentro(double x, double y) const { return x >= 1.0 && y >= 1.0 && x <= w - 2.0 && y <= h - 2.0; }
    double Bilinear(double x, double y) const
    {
        const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
        const double fx = x - x0, fy = y - y0;
        const float* l0 = &px[static_cast<std::size_t>(y0) * w + x0];
        const float* l1 = l0 + w;
        return (l0[0] * (1.0 - fx) + l0[1] * fx) * (1.0 - fy) + (l1[0] * (1.0 - fx) + l1[1] * fx) * fy;
    }
    int w = 0, h = 0;
    std::vector<float> px;
};

struct Borda {
    double r;     // position, pixels from the centre
    double forca; // slope, grey levels per pixel (signed)
};

struct Meridiano {
    std::vector<double> aneis;     // ring radii, pixels
    std::vector<double> internas;  // inner edges
    std::vector<double> externas;  // outer edges
    double pupila = -1.0;          // pupil radius on this meridian, or -1
};

// Gaussian-smoothed radial profile from (cx, cy) along angle theta (radians), averaged over
// three neighbouring points of the same circle.
std::vector<double> Perfil(const Quadro& q, double cx, double cy, double theta, double rMax)
{
    std::vector<double> p;
    const int n = static_cast<int>(rMax / PassoPerfil);
    p.reserve(n + 1);
    const double c = std::cos(theta), s = std::sin(theta);
    for (int i = 0; i <= n; ++i) {
        const double r = i * PassoPerfil;
        // Two more points on the same circle, 0.7 pixel of arc to either side (at most
        // 0.03 rad), so that a round ring is sampled at one radius.
        const double delta = r > 1.0 ? std::min(0.7 / r, 0.03) : 0.0;
        const double cd = 1.0 - 0.5 * delta * delta, sd = delta - delta * delta * delta / 6.0;
        const double x0 = cx + r * c, y0 = cy + r * s;
        const double x1 = cx + r * (c * cd - s * sd), y1 = cy + r * (s * cd + c * sd);
        const double x2 = cx + r * (c * cd + s * sd), y2 = cy + r * (s * cd - c * sd);
        if (!q.Dentro(x0, y0) || !q.Dentro(x1, y1) || !q.Dentro(x2, y2))
            break;
        p.push_back((q.Bilinear(x0, y0) + q.Bilinear(x1, y1) + q.Bilinear(x2, y2)) / 3.0);
    }
    // Smoothing: Gaussian of 0.5 pixel.
    static const std::array<double, 9> nucleo = [] {
        std::array<double, 9> k{};
        double s = 0.0;
        for (int i = -4; i <= 4; ++i) {
            const double x = i * PassoPerfil / 0.5;
            k[i + 4] = std::exp(-0.5 * x * x);
            s += k[i + 4];
        }
        for (double& v : k)
            v /= s;
        return k;
    }();
    std::vector<double> suave(p.size());
    const int m = static_cast<int>(p.size());
    for (int i = 0; i < m; ++i) {
        double acc = 0.0;
        for (int k = -4; k <= 4; ++k)
            acc += nucleo[k + 4] * p[std::clamp(i + k, 0, m - 1)];
        suave[i] = acc;
    }
    return suave;
}

// Sub-pixel position of the extremum of the slope at sample i: a Gaussian fitted by least
// squares to the log of the slope over the kMeiaJanela samples either side, each weighted
// by its squared slope (the samples near the peak carry the edge, the tails mostly noise).
// The three samples of the tip alone leave the points a fifth more sensor noise: over five
// runs of noise the spheres' point scatter (2 SD) went 0.020 -> 0.016 D and their SimK error
// 0.010 -> 0.007 D with the seven. Where the window holds a sample of the other sign or
// leaves the profile, the three-point fit (a parabola where the values do not allow a
// Gaussian).
constexpr int kMeiaJanela = 3;

bool AjusteGaussiano(const std::vector<double>& g, int i, double& pico)
{
    if (i - kMeiaJanela < 0 || i + kMeiaJanela >= static_cast<int>(g.size()))
        return false;
    // Normal equations of log|g| = c0 + c1 d + c2 d^2: the sums of w d^n and of w d^n log|g|.
    double sd[5] = {}, sl[3] = {};
    const double sinal = g[i] > 0 ? 1.0 : -1.0;
    for (int d = -kMeiaJanela; d <= kMeiaJanela; ++d) {
        const double v = sinal * g[i + d];
        if (!(v > 0.0))
            return false;
        const double w = v * v, l = std::log(v);
        double dn = 1.0;
        for (int e = 0; e <= 4; ++e, dn *= d) {
            sd[e] += w * dn;
            if (e <= 2)
                sl[e] += w * dn * l;
        }
    }
    auto det3 = [](double a, double b, double c, double d, double e, double f, double g2, double h, double k) {
        return a * (e * k - f * h) - b * (d * k - f * g2) + c * (d * h - e * g2);
    };
    const double det = det3(sd[0], sd[1], sd[2], sd[1], sd[2], sd[3], sd[2], sd[3], sd[4]);
    if (!(std::abs(det) > 1e-12))
        return false;
    const double c1 = det3(sd[0], sl[0], sd[2], sd[1], sl[1], sd[3], sd[2], sl[2], sd[4]) / det;
    const double c2 = det3(sd[0], sd[1], sl[0], sd[1], sd[2], sl[1], sd[2], sd[3], sl[2]) / det;
    if (!(c2 < 0.0))
        return false;
    const double d = -c1 / (2.0 * c2);
    if (!(std::abs(d) < 1.0))
        return false;
    pico = (i + d) * PassoPerfil;
    return true;
}

double Refina(const std::vector<double>& g, int i)
{
    double pico;
    if (AjusteGaussiano(g, i, pico))
        return pico;
    const double a = std::abs(g[i - 1]), b = std::abs(g[i]), c = std::abs(g[i + 1]);
    double d = 0.0;
    if (a > 0.0 && c > 0.0 && (g[i - 1] > 0) == (g[i] > 0) && (g[i + 1] > 0) == (g[i] > 0)) {
        const double la = std::log(a), lb = std::log(b), lc = std::log(c);
        const double den = la - 2.0 * lb + lc;
        if (den < 0.0)
            d = 0.5 * (la - lc) / den;
    } else {
        const double den = a - 2.0 * b + c;
        if (den < 0.0)
            d = 0.5 * (a - c) / den;
    }
    return (i + std::clamp(d, -0.5, 0.5)) * PassoPerfil;
}

std::vector<Borda> Bordas(const std::vector<double>& p)
{
    std::vector<Borda> bordas;
    const int n = static_cast<int>(p.size());
    if (n < 5)
        return bordas;
    std::vector<double> g(n, 0.0);
    for (int i = 1; i < n - 1; ++i)
        g[i] = (p[i + 1] - p[i - 1]) / (2.0 * PassoPerfil);
    for (int i = 2; i < n - 2; ++i) {
        const double v = g[i];
        if (v > LimiarBorda && v >= g[i - 1] && v > g[i + 1])
            bordas.push_back({Refina(g, i), v});
        else if (v < -LimiarBorda && v <= g[i - 1] && v < g[i + 1])
            bordas.push_back({Refina(g, i), v});
    }
    // Of consecutive edges of one sign keep the strongest.
    std::vector<Borda> alternadas;
    for (const Borda& b : bordas) {
        if (!alternadas.empty() && (alternadas.back().forca > 0) == (b.forca > 0)) {
            if (std::abs(b.forca) > std::abs(alternadas.back().forca))
                alternadas.back() = b;
        } else {
            alternadas.push_back(b);
        }
    }
    return alternadas;
}

double RaioMaximo(const Quadro& q, double cx, double cy, double theta)
{
    // Distance to the image border along theta (the profile stops there anyway).
    double r = 1e9;
    const double c = std::cos(theta), s = std::sin(theta);
    if (c > 1e-9)
        r = std::min(r, (q.w - 2.0 - cx) / c);
    if (c < -1e-9)
        r = std::min(r, (1.0 - cx) / c);
    if (s > 1e-9)
        r = std::min(r, (q.h - 2.0 - cy) / s);
    if (s < -1e-9)
        r = std::min(r, (1.0 - cy) / s);
    return std::max(0.0, std::min(r, 400.0));
}

double Mediana(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    const std::size_t meio = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + meio, v.end());
    return v[meio];
}

Meridiano MedeMeridiano(const Quadro& q, double cx, double cy, double theta, int numAneis,
                        bool comPupila, double alcance = 1e9)
{
    Meridiano m;
    const std::vector<double> p =
        Perfil(q, cx, cy, theta, std::min(alcance, RaioMaximo(q, cx, cy, theta)));
    const std::vector<Borda> bordas = Bordas(p);
    // An edge this close to the end of the profile (the image border) is not trusted.
    const double fimConfiavel = (static_cast<double>(p.size()) - 1.0) * PassoPerfil - 2.0;
    std::size_t i = 0;
    // The first edge must be the rise into ring 1.
    while (i < bordas.size() && bordas[i].forca < 0)
        ++i;
    double anterior = 0.0, espacoAnterior = 0.0;
    std::vector<double> fracoes;
    for (; i + 1 < bordas.size() && static_cast<int>(m.aneis.size()) < numAneis; i += 2) {
        const double ri = bordas[i].r, re = bordas[i + 1].r;
        if (re > fimConfiavel)
            break;
        const double c = 0.5 * (ri + re), largura = re - ri;
        const double espaco = c - anterior;
        if (espaco <= 0.0 || largura < 0.2 * espaco || largura > 0.8 * espaco)
            break;
        if (espacoAnterior > 0.0 && (espaco < 0.55 * espacoAnterior || espaco > 1.7 * espacoAnterior))
            break;
        if (!m.aneis.empty())
            fracoes.push_back(largura / espaco);
        m.aneis.push_back(c);
        m.internas.push_back(ri);
        m.externas.push_back(re);
        espacoAnterior = espaco;
        anterior = c;
    }
    // A ring's width is a steady share of its spacing from the one before (the painted rings
    // are half as wide as their pitch; ring 1's spacing runs from the centre, so the shares
    // count from ring 2). The last ring of a meridian is the one a lid may cross: cut by the
    // lid's margin it keeps its inner edge and narrows, or, under the lash line, both its
    // edges fall short, and its middle reads up to two pixels short. It stays only when its
    // share and its spacing keep to the rings before it (sensor noise moves the share by
    // 0.7 %); the rings inside it, with a ring beyond them, are whole.
    if (const std::size_t n = m.aneis.size(); n >= 4) {
        const double espaco = m.aneis[n - 1] - m.aneis[n - 2];
        const double fracao = (m.externas[n - 1] - m.internas[n - 1]) / espaco;
        const double fracaoAntes = Mediana(std::vector<double>(fracoes.begin(), fracoes.end() - 1));
        if (std::abs(fracao / fracaoAntes - 1.0) > kDesvioUltimo ||
            std::abs(espaco / (m.aneis[n - 2] - m.aneis[n - 3]) - 1.0) > kDesvioEspacoUltimo) {
            m.aneis.pop_back();
            m.internas.pop_back();
            m.externas.pop_back();
        }
    }
    if (comPupila && m.aneis.size() >= 2) {
        // The ground between the rings: dark inside the pupil, lighter on the iris. The pupil
        // edge lies between the last dark gap sample and the first light one.
        double ultimoEscuro = -1.0;
        const std::size_t n = m.aneis.size();
        for (std::size_t j = 0; j < n; ++j) {
            const double ini = j == 0 ? 0.0 : m.externas[j - 1] + 1.2;
            const double fim = m.internas[j] - 1.2;
            for (double r = ini; r <= fim; r += PassoPerfil) {
                const std::size_t k = static_cast<std::size_t>(std::lround(r / PassoPerfil));
                if (k >= p.size())
                    break;
                if (p[k] < LimiarPupila) {
                    ultimoEscuro = r;
                } else {
                    if (ultimoEscuro >= 0.0)
                        m.pupila = 0.5 * (ultimoEscuro + r);
                    return m;
                }
            }
        }
    }
    return m;
}

// Circle through points by least squares (Kasa); false when degenerate.
bool AjustaCirculo(const std::vector<std::array<double, 2>>& pts, double& cx, double& cy, double& r)
{
    const std::size_t n = pts.size();
    if (n < 8)
        return false;
    double mx = 0, my = 0;
    for (const auto& p : pts) {
        mx += p[0];
        my += p[1];
    }
    mx /= n;
    my /= n;
    double suu = 0, svv = 0, suv = 0, suuu = 0, svvv = 0, suvv = 0, svuu = 0;
    for (const auto& p : pts) {
        const double u = p[0] - mx, v = p[1] - my;
        suu += u * u;
        svv += v * v;
        suv += u * v;
        suuu += u * u * u;
        svvv += v * v * v;
        suvv += u * v * v;
        svuu += v * u * u;
    }
    const double det = suu * svv - suv * suv;
    if (std::abs(det) < 1e-9)
        return false;
    const double b1 = 0.5 * (suuu + suvv), b2 = 0.5 * (svvv + svuu);
    const double uc = (b1 * svv - b2 * suv) / det;
    const double vc = (suu * b2 - suv * b1) / det;
    cx = mx + uc;
    cy = my + vc;
    r = std::sqrt(uc * uc + vc * vc + (suu + svv) / n);
    return std::isfinite(cx) && std::isfinite(cy) && std::isfinite(r);
}

// Centre of the innermost ring from its midpoints seen from (cx, cy) on n rays.
bool CentroAnel1(const Quadro& q, int numAneis, double& cx, double& cy, int raios)
{
    std::vector<std::array<double, 2>> pts;
    for (int k = 0; k < raios; ++k) {
        const double theta = 2.0 * M_PI * k / raios;
        const Meridiano m = MedeMeridiano(q, cx, cy, theta, std::min(numAneis, 2), false, 90.0);
        if (m.aneis.empty())
            continue;
        pts.push_back({cx + m.aneis[0] * std::cos(theta), cy + m.aneis[0] * std::sin(theta)});
    }
    double x, y, r;
    if (!AjustaCirculo(pts, x, y, r))
        return false;
    // Drop the points far from the circle (a missed ring) and fit again.
    std::vector<std::array<double, 2>> bons;
    for (const auto& p : pts)
        if (std::abs(std::hypot(p[0] - x, p[1] - y) - r) < std::max(2.0, 0.25 * r))
            bons.push_back(p);
    if (bons.size() < pts.size() * 2 / 3 || !AjustaCirculo(bons, x, y, r))
        return false;
    cx = x;
    cy = y;
    return true;
}

// Rough centre: the darkest spot of the box-blurred image near the middle (the disc inside
// the innermost ring).
void CentroAproximado(const Quadro& q, double& cx, double& cy)
{
    const int w = q.w, h = q.h, raio = 3;
    std::vector<double> integral(static_cast<std::size_t>(w + 1) * (h + 1), 0.0);
    for (int y = 0; y < h; ++y) {
        double linha = 0.0;
        for (int x = 0; x < w; ++x) {
            linha += q.px[static_cast<std::size_t>(y) * w + x];
            integral[static_cast<std::size_t>(y + 1) * (w + 1) + x + 1] =
                integral[static_cast<std::size_t>(y) * (w + 1) + x + 1] + linha;
        }
    }
    auto caixa = [&](int x, int y) {
        const int x0 = x - raio, y0 = y - raio, x1 = x + raio + 1, y1 = y + raio + 1;
        return integral[static_cast<std::size_t>(y1) * (w + 1) + x1] - integral[static_cast<std::size_t>(y0) * (w + 1) + x1] -
               integral[static_cast<std::size_t>(y1) * (w + 1) + x0] + integral[static_cast<std::size_t>(y0) * (w + 1) + x0];
    };
    const int alcance = std::min(w, h) / 5;
    double melhor = 1e18;
    cx = w / 2.0;
    cy = h / 2.0;
    for (int y = std::max(raio + 1, h / 2 - alcance); y <= std::min(h - raio - 2, h / 2 + alcance); ++y) {
        for (int x = std::max(raio + 1, w / 2 - alcance); x <= std::min(w - raio - 2, w / 2 + alcance); ++x) {
            const double v = caixa(x, y);
            if (v < melhor) {
                melhor = v;
                cx = x;
                cy = y;
            }
        }
    }
}

// Harmonics 0..2 of 1/r^2 of a ring found on every meridian, over the meridian angle:
// c[h] cos(h t) + s[h] sin(h t), t the angle of meridian k + 1.
struct Harmonicos {
    double c[3] = {}, s[3] = {};
    double raioMedio = 0.0;
};

Harmonicos HarmonicosAnel(const std::vector<Meridiano>& meridianos, std::size_t i)
{
    Harmonicos hm;
    std::array<double, 360> u{};
    for (int k = 0; k < 360; ++k) {
        const double r = meridianos[k].aneis[i];
        hm.raioMedio += r / 360.0;
        u[k] = 1.0 / (r * r);
    }
    for (int h = 0; h <= 2; ++h) {
        double c = 0.0, s = 0.0;
        for (int k = 0; k < 360; ++k) {
            c += u[k] * kCos[(h * (k + 1)) % 360];
            s += u[k] * kCos[(h * (k + 1) + 270) % 360];
        }
        const double f = h == 0 ? 1.0 / 360.0 : 2.0 / 360.0;
        hm.c[h] = f * c;
        hm.s[h] = f * s;
    }
    return hm;
}

// Ring i, found on every meridian, smoothed as said where it is called: hm are the harmonics
// it keeps.
void SuavizaElipse(const std::vector<Meridiano>& meridianos, std::size_t i, const Harmonicos& hm,
                   std::array<double, 360>& suave)
{
    std::array<double, 360> u{}, baixo{};
    const Harmonicos proprio = HarmonicosAnel(meridianos, i);
    for (int k = 0; k < 360; ++k) {
        const double r = meridianos[k].aneis[i];
        u[k] = 1.0 / (r * r);
        for (int h = 0; h <= 2; ++h) {
            const double ch = kCos[(h * (k + 1)) % 360], sh = kCos[(h * (k + 1) + 270) % 360];
            u[k] -= proprio.c[h] * ch + proprio.s[h] * sh;
            baixo[k] += hm.c[h] * ch + hm.s[h] * sh;
        }
    }
    const double sigma = std::max(std::sqrt(2.0), kAreaSuave / (hm.raioMedio * hm.raioMedio) * 180.0 / M_PI);
    const int alcance = std::min(179, static_cast<int>(std::ceil(3.0 * sigma)));
    std::vector<double> pesos(2 * alcance + 1);
    double total = 0.0;
    for (int d = -alcance; d <= alcance; ++d)
        total += pesos[d + alcance] = std::exp(-0.5 * d * d / (sigma * sigma));
    for (int k = 0; k < 360; ++k) {
        double soma = 0.0;
        for (int d = -alcance; d <= alcance; ++d) {
            const int kk = (k + d + 360) % 360;
            soma += pesos[d + alcance] * u[kk];
        }
        suave[k] = 1.0 / std::sqrt(baixo[k] + soma / total);
    }
}

} // namespace

bool MedeAneis(const QImage& imagem, int numAneis, MedidaAneis& medida, QString* erro)
{
    auto falha = [&](const QString& texto) {
        if (erro)
            *erro = texto;
        return false;
    };
    if (imagem.isNull() || imagem.width() < 64 || imagem.height() < 64)
        return falha(QStringLiteral("Imagem inválida."));
    const int n = numAneis > 24 ? 32 : 16;
    const Quadro q(imagem);

    double cx, cy;
    CentroAproximado(q, cx, cy);
    for (int passo = 0; passo < 3; ++passo) {
        if (!CentroAnel1(q, n, cx, cy, 72))
            return falha(QStringLiteral("Não foi possível localizar o centro dos anéis."));
    }

    std::vector<Meridiano> meridianos(360);
    for (int volta = 0; volta < 2; ++volta) {
        for (int k = 1; k <= 360; ++k)
            meridianos[k - 1] = MedeMeridiano(q, cx, cy, k * M_PI / 180.0, n, volta == 1);
        if (volta == 1)
            break;
        // Centre of ring 1 from all meridians, then measure again from there.
        std::vector<std::array<double, 2>> pts;
        for (int k = 1; k <= 360; ++k) {
            if (meridianos[k - 1].aneis.empty())
                continue;
            const double r = meridianos[k - 1].aneis[0], t = k * M_PI / 180.0;
            pts.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
        }
        double x, y, r;
        if (!AjustaCirculo(pts, x, y, r))
            return falha(QStringLiteral("Não foi possível localizar o centro dos anéis."));
        cx = x;
        cy = y;
    }

    // Each ring point must agree with the same ring on the neighbouring meridians; a point
    // that does not (a ring skipped or taken twice) ends its meridian there.
    std::array<int, 360> contagem{};
    for (int k = 0; k < 360; ++k)
        contagem[k] = static_cast<int>(meridianos[k].aneis.size());
    for (int j = 0; j < n; ++j) {
        std::array<int, 360> nova = contagem;
        for (int k = 0; k < 360; ++k) {
            if (contagem[k] <= j)
                continue;
            std::vector<double> viz, vizAnterior;
            for (int d = -8; d <= 8; ++d) {
                const int kk = (k + d + 360) % 360;
                if (d != 0 && contagem[kk] > j) {
                    viz.push_back(meridianos[kk].aneis[j]);
                    vizAnterior.push_back(j > 0 ? meridianos[kk].aneis[j - 1] : 0.0);
                }
            }
            if (viz.size() < 4) {
                nova[k] = j;
                continue;
            }
            const double med = Mediana(viz);
            const double espaco = med - Mediana(vizAnterior);
            if (std::abs(meridianos[k].aneis[j] - med) > 0.3 * std::max(espaco, 1.0))
                nova[k] = j;
        }
        contagem = nova;
    }

    // The scatter of the raw points (for the confidence index) is taken before smoothing.
    const std::vector<Meridiano> brutos = meridianos;

    // Each ring is a smooth curve round the centre: its points are averaged with their
    // neighbours up to four degrees away (binomial weights 1 8 28 56 70 56 28 8 1), which
    // lowers the sensor noise and leaves any feature wider than a few degrees as it was.
    // Points whose neighbours are not all valid keep their own value.
    //
    // A ring found all round is smoothed as an ellipse plus what is left: the ring a toric
    // reflects is an ellipse about the centre, whose 1/r^2 holds the harmonics 0 and 2 of the
    // meridian angle alone, so those (and the first, a ring off the centre) are kept exactly
    // and only the rest is averaged. The inner rings span a few pixels of arc per degree and
    // their points scatter by the pixel grid; that rest is averaged there over an arc that
    // grows as the ring shrinks (kAreaSuave / r^2 radians), and the outer rings keep the
    // binomial's two square degrees.
    //
    // Ring 1 is some 14 pixels across and its own harmonic 2 carries the sensor noise of a
    // few dozen pixels: 0.005 pixel of ellipse is 0.015 D of cylinder there, on a sphere.
    // Near the apex a toric's rings are ellipses of one shape, so the two innermost take the
    // shape (harmonic 2 over harmonic 0) of the first four, each weighted by r^3, as its
    // noise falls with r^1.5.
    std::vector<Harmonicos> harmonicos(n);
    std::vector<bool> completos(n, false);
    for (int j = 1; j <= n; ++j) {
        bool completo = true;
        for (int k = 0; k < 360 && completo; ++k)
            completo = contagem[k] >= j;
        completos[j - 1] = completo;
        if (completo)
            harmonicos[j - 1] = HarmonicosAnel(meridianos, j - 1);
    }
    if (n >= kAneisFonteElipse &&
        std::all_of(completos.begin(), completos.begin() + kAneisFonteElipse, [](bool b) { return b; })) {
        double c2 = 0.0, s2 = 0.0, soma = 0.0;
        for (int i = 0; i < kAneisFonteElipse; ++i) {
            const Harmonicos& h = harmonicos[i];
            const double w = h.raioMedio * h.raioMedio * h.raioMedio;
            c2 += w * h.c[2] / h.c[0];
            s2 += w * h.s[2] / h.c[0];
            soma += w;
        }
        for (int i = 0; i < kAneisElipseComum; ++i) {
            harmonicos[i].c[2] = harmonicos[i].c[0] * c2 / soma;
            harmonicos[i].s[2] = harmonicos[i].c[0] * s2 / soma;
        }
    }
    for (int j = 1; j <= n; ++j) {
        std::array<double, 360> suave{};
        if (completos[j - 1])
            SuavizaElipse(meridianos, j - 1, harmonicos[j - 1], suave);
        else
            for (int k = 0; k < 360; ++k) {
                if (contagem[k] < j)
                    continue;
                static const double pesos[9] = {1.0 / 256, 8.0 / 256, 28.0 / 256, 56.0 / 256, 70.0 / 256,
                                                56.0 / 256, 28.0 / 256, 8.0 / 256, 1.0 / 256};
                double soma = 0.0;
                bool vizinhos = true;
                for (int d = -4; d <= 4 && vizinhos; ++d) {
                    const int kk = (k + d + 360) % 360;
                    vizinhos = contagem[kk] >= j;
                    if (vizinhos)
                        soma += pesos[d + 4] * meridianos[kk].aneis[j - 1];
                }
                suave[k] = vizinhos ? soma : meridianos[k].aneis[j - 1];
            }
        for (int k = 0; k < 360; ++k)
            if (contagem[k] >= j)
                meridianos[k].aneis[j - 1] = suave[k];
    }

    MedidaAneis m;
    m.centroX = cx;
    m.centroY = cy;
    m.numAneis = n;
    long pontos = 0;
    double somaQuad = 0.0;
    long residuos = 0;
    for (int k = 0; k < 360; ++k) {
        m.aneis[k] = contagem[k];
        pontos += contagem[k];
        for (int j = 1; j <= contagem[k]; ++j) {
            m.raio[k][j] = meridianos[k].aneis[j - 1];
            const int ka = (k + 359) % 360, kp = (k + 1) % 360;
            if (contagem[ka] >= j && contagem[kp] >= j) {
                const double e = brutos[k].aneis[j - 1] - 0.5 * (brutos[ka].aneis[j - 1] + brutos[kp].aneis[j - 1]);
                somaQuad += e * e;
                ++residuos;
            }
        }
    }
    // Rings worth the name: most meridians hold three of them at least, and the innermost
    // lies a few pixels out at much the same radius all round (a noise pattern gives a few
    // scattered "rings" hugging the centre, or none).
    std::vector<double> contagens(contagem.begin(), contagem.end()), primeiros, desvios;
    for (int k = 0; k < 360; ++k)
        if (contagem[k] > 0)
            primeiros.push_back(meridianos[k].aneis[0]);
    const double raio1 = Mediana(primeiros);
    for (double r : primeiros)
        desvios.push_back(std::abs(r - raio1));
    if (pontos < 360 || Mediana(contagens) < 3.0 || raio1 < 3.0 || Mediana(desvios) > 0.15 * raio1)
        return falha(QStringLiteral("Nenhum anel foi encontrado na imagem."));
    m.fracaoEncontrada = static_cast<double>(pontos) / (360.0 * n);
    m.dispersao = residuos > 0 ? std::sqrt(somaQuad / residuos / 1.5) : 0.0;
    m.indiceConfianca = 100.0 * m.fracaoEncontrada * std::exp(-std::pow(m.dispersao / 0.5, 2.0));

    std::vector<std::array<double, 2>> bordaPupila;
    for (int k = 1; k <= 360; ++k) {
        const double r = meridianos[k - 1].pupila;
        if (r > 0.0)
            bordaPupila.push_back({cx + r * std::cos(k * M_PI / 180.0), cy + r * std::sin(k * M_PI / 180.0)});
    }
    double px, py, pr;
    if (bordaPupila.size() >= 90 && AjustaCirculo(bordaPupila, px, py, pr)) {
        m.pupila[0] = static_cast<int32_t>(std::lround(px));
        m.pupila[1] = static_cast<int32_t>(std::lround(py));
        m.pupila[2] = static_cast<int32_t>(std::lround(pr));
        m.pupila[3] = 1;
    }
    medida = m;
    return true;
}

} // namespace Instrumento
