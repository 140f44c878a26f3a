#include "plugins/mapas/UEscalaCores.h"

#include "common/UFormatos.h"

#include <cmath>

namespace {

constexpr double kBaseAbsoluta = 28.0;
constexpr double kPassoAbsoluto = 1.5;
constexpr int kNiveisAbsolutos = 26; // 28.0 .. 65.5 D
constexpr int kMaxNiveisNormalizados = 15;

// The absolute palette, flattest first: deep blue through blue and cyan (flat), greens
// (normal corneas, about 41 to 46 D), yellow and orange (steep), reds and finally magenta
// and violet for the steepest values of ectasia.
const QRgb kPaletaAbsoluta[kNiveisAbsolutos] = {
    0x1a0a5c, 0x1f1780, 0x1f26a6, 0x1c3acc, 0x1456e6, 0x0a78f2, 0x0a9cf0, 0x14bde6,
    0x1ed6c8, 0x28dca0, 0x32d26e, 0x46c83c, 0x7ad232, 0xaadc28, 0xd6e628, 0xfae632,
    0xffc828, 0xffa01e, 0xff7814, 0xf54b0f, 0xe6230f, 0xc80f1e, 0xaa0a3c, 0xb41478,
    0xa01ea0, 0x7d28aa,
};

// A continuous blue - cyan - green - yellow - red ramp for the normalised scale, t in [0, 1].
QColor Rampa(double t)
{
    struct Ponto {
        double t;
        int r, g, b;
    };
    static const Ponto pontos[] = {
        {0.00, 0x1a, 0x17, 0x80}, {0.15, 0x14, 0x56, 0xe6}, {0.30, 0x14, 0xbd, 0xe6},
        {0.45, 0x32, 0xd2, 0x6e}, {0.58, 0xaa, 0xdc, 0x28}, {0.70, 0xfa, 0xe6, 0x32},
        {0.82, 0xff, 0x96, 0x1e}, {0.92, 0xe6, 0x23, 0x0f}, {1.00, 0xa0, 0x0a, 0x3c},
    };
    t = std::clamp(t, 0.0, 1.0);
    int i = 0;
    while (i < int(std::size(pontos)) - 2 && t > pontos[i + 1].t)
        ++i;
    const Ponto& a = pontos[i];
    const Ponto& b = pontos[i + 1];
    const double f = (t - a.t) / (b.t - a.t);
    auto mistura = [f](int x, int y) { return int(std::lround(x + (y - x) * f)); };
    return QColor(mistura(a.r, b.r), mistura(a.g, b.g), mistura(a.b, b.b));
}

} // namespace

EscalaCores EscalaCores::Absoluta()
{
    EscalaCores e;
    e.m_base = kBaseAbsoluta;
    e.m_passo = kPassoAbsoluto;
    e.m_absoluta = true;
    for (QRgb c : kPaletaAbsoluta)
        e.m_cores << QColor::fromRgb(c);
    return e;
}

double EscalaCores::PassoAutomatico(double minimo, double maximo)
{
    static const double passos[] = {0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 10.0};
    if (!std::isfinite(minimo) || !std::isfinite(maximo) || maximo < minimo)
        return 1.0;
    for (double p : passos) {
        const double base = std::floor(minimo / p + 1e-9) * p;
        const double topo = std::ceil(maximo / p - 1e-9) * p;
        if (int(std::lround((topo - base) / p)) + 1 <= kMaxNiveisNormalizados)
            return p;
    }
    return passos[std::size(passos) - 1];
}

EscalaCores EscalaCores::Normalizada(double minimo, double maximo, double passo)
{
    if (!std::isfinite(minimo) || !std::isfinite(maximo)) {
        minimo = 40.0;
        maximo = 46.0;
    }
    if (maximo < minimo)
        std::swap(minimo, maximo);
    if (!std::isfinite(passo) || passo <= 0.0)
        passo = PassoAutomatico(minimo, maximo);
    // A fixed step too small for the range would give hundreds of indistinguishable colours:
    // the step is then widened to the smallest multiple that fits in the ramp.
    int niveis = 0;
    double base = 0;
    const double passoDado = passo;
    for (int multiplo = 1;; ++multiplo) {
        const double p = passoDado * multiplo;
        base = std::floor(minimo / p + 1e-9) * p;
        const double topo = std::ceil(maximo / p - 1e-9) * p;
        niveis = int(std::lround((topo - base) / p)) + 1;
        if (niveis <= 40) {
            passo = p;
            break;
        }
    }
    niveis = std::max(niveis, 2);
    EscalaCores e;
    e.m_base = base;
    e.m_passo = passo;
    for (int k = 0; k < niveis; ++k)
        e.m_cores << Rampa(double(k) / double(niveis - 1));
    return e;
}

EscalaCores EscalaCores::DasOpcoes(bool escalaIso, bool passoFixo, double incMap, double minimo,
                                   double maximo)
{
    if (escalaIso)
        return Absoluta();
    return Normalizada(minimo, maximo, passoFixo ? incMap : 0.0);
}

int EscalaCores::Nivel(double dioptrias) const
{
    if (!std::isfinite(dioptrias))
        return -1;
    const long k = std::lround(std::floor((dioptrias - m_base) / m_passo + 0.5));
    return int(std::clamp<long>(k, 0, m_cores.size() - 1));
}

QColor EscalaCores::Cor(double dioptrias) const
{
    const int k = Nivel(dioptrias);
    return k < 0 ? QColor(Qt::transparent) : m_cores.at(k);
}

int EscalaCores::NivelDaCor(QColor c) const
{
    for (int k = 0; k < m_cores.size(); ++k)
        if (m_cores.at(k).rgb() == c.rgb())
            return k;
    return -1;
}

QString EscalaCores::TextoNivel(int k) const
{
    const double v = ValorNivel(k);
    const double resto = std::fabs(v * 2.0 - std::round(v * 2.0));
    return FormataNumero(resto < 1e-6 ? QStringLiteral("0.0") : QStringLiteral("0.00"), v);
}

QColor CorPorNome(const QString& nome)
{
    const QString n = nome.trimmed();
    if (n == QLatin1String("Amarela"))
        return QColor(0xff, 0xeb, 0x00);
    if (n == QLatin1String("Azul"))
        return QColor(0x00, 0x30, 0xd0);
    if (n == QLatin1String("Branca"))
        return QColor(Qt::white);
    if (n == QLatin1String("Vermelha"))
        return QColor(0xd0, 0x00, 0x00);
    return QColor(Qt::black);
}
