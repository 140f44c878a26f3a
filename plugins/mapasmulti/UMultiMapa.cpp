#include "plugins/mapasmulti/UMultiMapa.h"

#include "topography/UElevacao.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace MultiMapa {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kGrau = M_PI / 180.0;
constexpr double kIndice = 1.3375;
constexpr double kRaioZonaMaximo = 3.75; // the steep ring of a treatment zone lies within
} // namespace

QString NomeModulo(Modulo m)
{
    switch (m) {
    case Modulo::MultiMapas: return QStringLiteral("MultiMapas");
    case Modulo::Duplo: return QStringLiteral("Duplo");
    case Modulo::Diferencial: return QStringLiteral("Diferencial");
    case Modulo::MultiOrto: return QStringLiteral("MultiOrto");
    }
    return {};
}

int MaximoExames(Modulo m)
{
    return m == Modulo::Duplo || m == Modulo::Diferencial ? 2 : 4;
}

QString NomeVista(Vista v)
{
    switch (v) {
    case Vista::Axial: return QStringLiteral("Axial");
    case Vista::Tangencial: return QStringLiteral("Tangencial");
    case Vista::Elevacao: return QStringLiteral("Elevação");
    case Vista::Refrativa: return QStringLiteral("Refrativo");
    }
    return {};
}

std::optional<Candidato> LeCandidato(const QString& linha, bool comTipo)
{
    static const QRegularExpression re(
        QStringLiteral("^(Olho Direito|Olho Esquerdo) - (\\d\\d/\\d\\d/\\d\\d\\d\\d) (\\d\\d:\\d\\d:\\d\\d)$"));
    Candidato c;
    QString resto = linha.trimmed();
    if (comTipo) {
        if (resto.isEmpty() || (resto[0] != u'O' && resto[0] != u'T') || resto.startsWith(QLatin1String("Olho")))
            return std::nullopt;
        c.tipo = resto[0];
        resto = resto.mid(1);
    }
    const auto m = re.match(resto);
    if (!m.hasMatch())
        return std::nullopt;
    c.linha = resto;
    c.direito = m.captured(1) == QLatin1String("Olho Direito");
    c.quando = QDateTime(QDate::fromString(m.captured(2), QStringLiteral("dd/MM/yyyy")),
                         QTime::fromString(m.captured(3), QStringLiteral("HH:mm:ss")));
    return c;
}

QList<Candidato> Oferecidos(Modulo m, const QStringList& linhas, bool edicaoOrto)
{
    const bool comTipo = m == Modulo::Diferencial || m == Modulo::MultiOrto;
    QList<Candidato> r;
    for (const QString& l : linhas) {
        const auto c = LeCandidato(l, comTipo);
        if (!c)
            continue;
        if (m == Modulo::MultiOrto && c->tipo != u'O')
            continue;
        if (m == Modulo::Diferencial && !edicaoOrto && c->tipo == u'O')
            continue;
        r.append(*c);
    }
    return r;
}

QString ConfereEscolha(Modulo m, const QList<Candidato>& e)
{
    const int n = int(e.size());
    int direitos = 0;
    for (const Candidato& c : e)
        direitos += c.direito ? 1 : 0;
    const bool umOlho = direitos == 0 || direitos == n;
    switch (m) {
    case Modulo::MultiMapas:
        if (n < 1 || n > 4)
            return QStringLiteral("Escolha de 1 a 4 exames.");
        if (n >= 3 && !umOlho)
            return QStringLiteral("Para comparar 3 ou 4 exames, escolha exames de um mesmo olho.");
        return {};
    case Modulo::Duplo:
        if (n != 2 || direitos != 1)
            return QStringLiteral("Escolha um exame do olho direito e um do olho esquerdo.");
        return {};
    case Modulo::Diferencial:
        if (n != 2 || !umOlho)
            return QStringLiteral("Escolha dois exames de um mesmo olho.");
        return {};
    case Modulo::MultiOrto:
        if (n < 1 || n > 4)
            return QStringLiteral("Escolha de 1 a 4 exames de ortoceratologia.");
        return {};
    }
    return {};
}

QList<int> EscolhaPadrao(Modulo m, const QList<Candidato>& of)
{
    QList<int> ordem;
    for (int i = 0; i < of.size(); ++i)
        ordem.append(i);
    std::stable_sort(ordem.begin(), ordem.end(),
                     [&](int a, int b) { return of[a].quando < of[b].quando; });
    auto doOlho = [&](bool direito) {
        QList<int> r;
        for (int i : ordem)
            if (of[i].direito == direito)
                r.append(i);
        return r;
    };
    const QList<int> od = doOlho(true), os = doOlho(false);
    switch (m) {
    case Modulo::Duplo:
        if (od.isEmpty() || os.isEmpty())
            return {};
        return {od.last(), os.last()};
    case Modulo::Diferencial: {
        const QList<int>& olho = od.size() >= 2 ? od : os;
        if (olho.size() < 2)
            return {};
        return {olho[olho.size() - 2], olho.last()};
    }
    case Modulo::MultiMapas:
    case Modulo::MultiOrto: {
        const QList<int>& olho = od.size() >= os.size() ? od : os;
        return olho.mid(std::max<qsizetype>(0, olho.size() - 4));
    }
    }
    return {};
}

std::optional<QList<int>> LeSelecao(const QString& texto, int total)
{
    QList<int> r;
    for (const QString& parte : texto.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int i = parte.trimmed().toInt(&ok);
        if (!ok || i < 1 || i > total || r.contains(i - 1))
            return std::nullopt;
        r.append(i - 1);
    }
    if (r.isEmpty())
        return std::nullopt;
    return r;
}

namespace {
const char* const kVistas[] = {"axial", "tangencial", "elevacao", "refrativo"};
QString ChaveVista(Vista v) { return QString::fromLatin1(kVistas[int(v)]); }
Vista LeVista(const QString& s, Vista padrao)
{
    for (int i = 0; i < 4; ++i)
        if (s == QLatin1String(kVistas[i]))
            return Vista(i);
    return padrao;
}
} // namespace

QStringList GravaOpcoes(const Opcoes& o)
{
    return {QStringLiteral("vista=") + ChaveVista(o.vista),
            QStringLiteral("vista2=") + ChaveVista(o.vista2),
            QStringLiteral("escala=") + (o.escalaAbsoluta ? QStringLiteral("absoluta") : QStringLiteral("normalizada")),
            QStringLiteral("diferenca=") + (o.diferenca ? QStringLiteral("1") : QStringLiteral("0")),
            QStringLiteral("tipos=") + o.tipos,
            QStringLiteral("orto=") + (o.edicaoOrto ? QStringLiteral("1") : QStringLiteral("0"))};
}

Opcoes LeOpcoes(const QStringList& linhas)
{
    Opcoes o;
    for (const QString& l : linhas) {
        const int igual = int(l.indexOf(u'='));
        if (igual <= 0)
            continue;
        const QString chave = l.left(igual).trimmed(), valor = l.mid(igual + 1).trimmed();
        if (chave == QLatin1String("vista"))
            o.vista = LeVista(valor, o.vista);
        else if (chave == QLatin1String("vista2"))
            o.vista2 = LeVista(valor, o.vista2);
        else if (chave == QLatin1String("escala"))
            o.escalaAbsoluta = valor != QLatin1String("normalizada");
        else if (chave == QLatin1String("diferenca"))
            o.diferenca = valor == QLatin1String("1");
        else if (chave == QLatin1String("tipos"))
            o.tipos = valor;
        else if (chave == QLatin1String("orto"))
            o.edicaoOrto = valor == QLatin1String("1");
    }
    return o;
}

// ---- GradeValores ------------------------------------------------------------------------

GradeValores::GradeValores() : m_v(size_t(360 * kPontos), std::nanf("")), m_min(kNaN), m_max(kNaN) {}

GradeValores GradeValores::DeFuncao(const std::function<double(int, double)>& valor)
{
    GradeValores g;
    for (int k = 1; k <= 360; ++k)
        for (int j = 0; j < kPontos; ++j) {
            const double v = valor(k, j * kPasso);
            g.m_v[size_t((k - 1) * kPontos + j)] = std::isfinite(v) ? float(v) : std::nanf("");
        }
    g.Limites();
    return g;
}

GradeValores GradeValores::DeMapa(const MapaCurvatura& mapa)
{
    if (!mapa.TemDados())
        return {};
    return DeFuncao([&](int k, double r) {
        return mapa.Valor(r * std::cos(k * kGrau), r * std::sin(k * kGrau));
    });
}

void GradeValores::Limites()
{
    m_min = m_max = kNaN;
    m_raio = 0;
    for (int k = 1; k <= 360; ++k)
        for (int j = 0; j < kPontos; ++j) {
            const float v = m_v[size_t((k - 1) * kPontos + j)];
            if (!std::isfinite(v))
                continue;
            if (!(v >= m_min))
                m_min = std::isfinite(m_min) ? std::min<double>(m_min, v) : v;
            if (!(v <= m_max))
                m_max = std::isfinite(m_max) ? std::max<double>(m_max, v) : v;
            m_raio = std::max(m_raio, j * kPasso);
        }
}

double GradeValores::Valor(double x, double y) const
{
    const double r = std::hypot(x, y);
    if (!std::isfinite(r) || r > kRaioMaximo)
        return kNaN;
    double a = std::atan2(y, x) / kGrau;
    if (a <= 0)
        a += 360.0;
    // Meridians 1..360 sit at 1..360 degrees; between 360 and 1 the interval wraps.
    const int k0 = int(std::floor(a)) == 0 ? 360 : int(std::floor(a));
    const int k1 = k0 % 360 + 1;
    const double fa = a - std::floor(a);
    const double pr = r / kPasso;
    const int j0 = std::min(int(pr), kPontos - 1);
    const int j1 = std::min(j0 + 1, kPontos - 1);
    const double fr = pr - j0;
    auto meridiano = [&](int k) {
        const double v0 = Celula(k, j0), v1 = Celula(k, j1);
        if (!std::isfinite(v0))
            return kNaN;
        if (!std::isfinite(v1))
            return fr < 0.5 ? v0 : kNaN;
        return v0 + (v1 - v0) * fr;
    };
    const double a0 = meridiano(k0), a1 = meridiano(k1);
    if (std::isfinite(a0) && std::isfinite(a1))
        return a0 + (a1 - a0) * fa;
    if (std::isfinite(a0) && fa < 0.5)
        return a0;
    if (std::isfinite(a1) && fa >= 0.5)
        return a1;
    return kNaN;
}

void GradeValores::Extremos(double raio, double& minimo, double& maximo) const
{
    minimo = maximo = kNaN;
    for (int k = 1; k <= 360; ++k)
        for (int j = 0; j * kPasso <= raio + 1e-9 && j < kPontos; ++j) {
            const double v = Celula(k, j);
            if (!std::isfinite(v))
                continue;
            minimo = std::isfinite(minimo) ? std::min(minimo, v) : v;
            maximo = std::isfinite(maximo) ? std::max(maximo, v) : v;
        }
}

double GradeValores::Media(double raio) const
{
    double soma = 0, peso = 0;
    for (int j = 0; j * kPasso <= raio + 1e-9 && j < kPontos; ++j) {
        // The ring of cells j covers the radii from (j - 1/2) to (j + 1/2) steps, cut at raio.
        const double r0 = std::max(0.0, (j - 0.5) * kPasso), r1 = std::min(raio, (j + 0.5) * kPasso);
        const double area = r1 * r1 - r0 * r0;
        if (area <= 0)
            continue;
        for (int k = 1; k <= 360; ++k) {
            const double v = Celula(k, j);
            if (std::isfinite(v)) {
                soma += v * area;
                peso += area;
            }
        }
    }
    return peso > 0 ? soma / peso : kNaN;
}

GradeValores GradeValores::Diferenca(const GradeValores& a, const GradeValores& b)
{
    GradeValores g;
    for (size_t i = 0; i < g.m_v.size(); ++i)
        g.m_v[i] = a.m_v[i] - b.m_v[i];
    g.Limites();
    return g;
}

// ---- Elevation and refractive power ------------------------------------------------------

namespace {
double SagEsfera(double R, double r)
{
    return r < R ? R - std::sqrt(R * R - r * r) : kNaN;
}
} // namespace

GradeValores Elevacao(const TMatrizAngAnel& posicoes, const TMatrizAngAnel& dioptrias,
                      const TAneisMeridiano& aneis, double fator, double* raioEsfera)
{
    std::vector<TElevacaoMeridiano> el;
    try {
        el = CalculaElevacao(posicoes, dioptrias, aneis, fator);
    } catch (...) {
        return {};
    }
    GradeValores alturas = GradeValores::DeFuncao([&](int k, double r) {
        double h;
        const TElevacaoMeridiano& m = el[size_t(k - 1)];
        if (m.pontos < 2 || r > m.raio[m.pontos - 1] + 1e-9 || !m.AlturaEm(r, h))
            return kNaN;
        return h;
    });
    if (!alturas.TemDados())
        return {};
    // The sphere of radius R (and the height offset c that suits it best) that leaves the
    // least squared difference within 4 mm; golden-section search over R.
    auto erro = [&](double R, double* offset) {
        double s = 0, s2 = 0;
        int n = 0;
        for (int k = 1; k <= 360; k += 2)
            for (int j = 0; j * GradeValores::kPasso <= 4.0; j += 2) {
                const double h = alturas.Celula(k, j);
                const double e = SagEsfera(R, j * GradeValores::kPasso);
                if (!std::isfinite(h) || !std::isfinite(e))
                    continue;
                s += e - h;
                s2 += (e - h) * (e - h);
                ++n;
            }
        if (n == 0)
            return std::numeric_limits<double>::infinity();
        if (offset)
            *offset = s / n;
        return s2 / n - (s / n) * (s / n);
    };
    double a = 5.0, b = 12.0;
    const double g = (std::sqrt(5.0) - 1) / 2;
    for (int i = 0; i < 60; ++i) {
        const double c = b - g * (b - a), d = a + g * (b - a);
        if (erro(c, nullptr) < erro(d, nullptr))
            b = d;
        else
            a = c;
    }
    const double R = (a + b) / 2;
    double offset = 0;
    erro(R, &offset);
    if (raioEsfera)
        *raioEsfera = R;
    // Above the sphere is positive: the sphere's sag is larger than the surface's there.
    return GradeValores::DeFuncao([&](int k, double r) {
        const double h = alturas.Celula(k, int(std::lround(r / GradeValores::kPasso)));
        return (SagEsfera(R, r) - offset - h) * 1000.0;
    });
}

GradeValores Refrativa(const MapaCurvatura& axial, const TMatrizAngAnel& posicoes,
                       const TMatrizAngAnel& dioptrias, const TAneisMeridiano& aneis,
                       double fator)
{
    std::vector<TElevacaoMeridiano> el;
    try {
        el = CalculaElevacao(posicoes, dioptrias, aneis, fator);
    } catch (...) {
        el.clear();
    }
    return GradeValores::DeFuncao([&](int k, double r) {
        const double d = axial.Valor(r * std::cos(k * kGrau), r * std::sin(k * kGrau));
        if (!std::isfinite(d) || d <= 0)
            return kNaN;
        if (r < 1e-6)
            return d;
        const double ra = 337.5 / d;
        if (r >= ra)
            return kNaN;
        double h = SagEsfera(ra, r);
        if (!el.empty()) {
            const TElevacaoMeridiano& m = el[size_t(k - 1)];
            double hm;
            if (m.pontos >= 2 && m.AlturaEm(r, hm))
                h = hm;
        }
        const double t = std::asin(r / ra);
        const double tr = std::asin(std::sin(t) / kIndice);
        const double f = h + r / std::tan(t - tr); // mm from the apex to the ray's focus
        return f > 0 ? 1000.0 * kIndice / f : kNaN;
    });
}

// ---- Points and zones --------------------------------------------------------------------

double AnguloClinico(double x, double y)
{
    double a = std::atan2(-y, x) / kGrau;
    if (a < 0)
        a += 360.0;
    return std::fmod(std::round(a), 360.0);
}

std::optional<Ponto> Maximo(const GradeValores& g, double raioMaximo)
{
    std::optional<Ponto> r;
    for (int k = 1; k <= 360; ++k)
        for (int j = 0; j * GradeValores::kPasso <= raioMaximo + 1e-9; ++j) {
            const double v = g.Celula(k, j);
            if (!std::isfinite(v) || (r && v <= r->valor))
                continue;
            Ponto p;
            p.valor = v;
            p.raio = j * GradeValores::kPasso;
            p.x = p.raio * std::cos(k * kGrau);
            p.y = p.raio * std::sin(k * kGrau);
            p.angulo = AnguloClinico(p.x, p.y);
            r = p;
        }
    return r;
}

std::optional<ZonaTratamento> ZonaDeTratamento(const GradeValores& g)
{
    // Least-squares circle through the ring points: x^2 + y^2 + D x + E y + F = 0.
    double s[3][4] = {};
    int n = 0;
    double soma = 0;
    for (int k = 1; k <= 360; ++k) {
        int melhor = -1;
        double vm = -std::numeric_limits<double>::infinity();
        for (int j = int(1.0 / GradeValores::kPasso); j * GradeValores::kPasso <= kRaioZonaMaximo + 1e-9; ++j) {
            const double v = g.Celula(k, j);
            if (std::isfinite(v) && v > vm) {
                vm = v;
                melhor = j;
            }
        }
        // A peak at the end of the search is no ring, only a rise that goes on outward.
        if (melhor < 0 || (melhor + 1) * GradeValores::kPasso > kRaioZonaMaximo + 1e-9)
            continue;
        // A ring only where the peak rises above the meridian's central value.
        const double centro = g.Celula(k, 0);
        if (std::isfinite(centro) && vm - centro < 0.25)
            continue;
        const double r = melhor * GradeValores::kPasso;
        const double x = r * std::cos(k * kGrau), y = r * std::sin(k * kGrau);
        const double lin[4] = {x, y, 1.0, -(x * x + y * y)};
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 4; ++b)
                s[a][b] += lin[a] * lin[b];
        soma += vm;
        ++n;
    }
    if (n < 90)
        return std::nullopt;
    // Gaussian elimination of the 3 x 3 normal equations.
    for (int c = 0; c < 3; ++c) {
        int piv = c;
        for (int l = c + 1; l < 3; ++l)
            if (std::abs(s[l][c]) > std::abs(s[piv][c]))
                piv = l;
        if (std::abs(s[piv][c]) < 1e-12)
            return std::nullopt;
        std::swap(s[c], s[piv]);
        for (int l = 0; l < 3; ++l) {
            if (l == c)
                continue;
            const double f = s[l][c] / s[c][c];
            for (int b = c; b < 4; ++b)
                s[l][b] -= f * s[c][b];
        }
    }
    const double D = s[0][3] / s[0][0], E = s[1][3] / s[1][1], F = s[2][3] / s[2][2];
    ZonaTratamento z;
    z.x = -D / 2;
    z.y = -E / 2;
    const double r2 = z.x * z.x + z.y * z.y - F;
    if (!(r2 > 0))
        return std::nullopt;
    z.diametro = 2 * std::sqrt(r2);
    z.descentracao = std::hypot(z.x, z.y);
    z.angulo = AnguloClinico(z.x, z.y);
    z.pico = soma / n;
    return z;
}

QString TextoValorOrto(double v, int casas)
{
    if (!std::isfinite(v) || v == 0.0 || std::abs(v - 99.9999) < 1e-6)
        return QStringLiteral("—");
    return QString::number(v, 'f', casas);
}

} // namespace MultiMapa
