#include "topography/UIndicesCeratocone.h"

#include "common/UFormatos.h"
#include "topography/UElevacao.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr int kCelulas = TBFuncoesMapas::kCelulas;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kGrau = M_PI / 180.0;
constexpr int kMaxAneis = ZR_COLUNAS_ANEL - 1;

constexpr double kRaioCentral = 1.5;  // the central 3 mm zone
constexpr double kRaioIS = 3.0;       // the I-S points lie 3 mm from the centre
constexpr int kAneisSri = 10;         // SRI: the central ten rings
constexpr int kMeridianosSai = 128;   // SAI: 128 meridians, 64 opposite pairs
constexpr int kHemimeridianosSri = 256;

TIndice Invalido(const QString& motivo)
{
    TIndice i;
    i.motivo = motivo;
    return i;
}

TIndice Valido(double valor, LeituraIndice leitura = LeituraIndice::Nenhuma)
{
    TIndice i;
    i.valido = true;
    i.valor = valor;
    i.leitura = leitura;
    return i;
}

LeituraIndice Pior(LeituraIndice a, LeituraIndice b)
{
    return int(a) > int(b) ? a : b;
}

// The examination's grids as the map modules use them (LimpaMeridianos).
struct GradesLimpas {
    TMatrizAngAnel m;
    TMatrizAngAnel d;
    TAneisMeridiano n;
};

// The sampling of the axial grid (read where the map computation left it, not copied).
class Grade {
public:
    Grade(const TBFuncoesMapas& mapa, double fator) : m_mapa(mapa), m_fator(fator) {}
    double Celula(int meridiano, int c) const
    {
        return m_mapa.Celula((meridiano + 359) % 360 + 1, c);
    }
    // Value at r mm along direction a (examiner's degrees), interpolated between the two
    // neighbouring meridians and cells; NaN unless every cell it leans on holds data.
    double Valor(double r, double a) const
    {
        const double c = r / m_fator;
        if (!(c >= 0.0) || !(c < kCelulas - 1))
            return kNaN;
        double mer = std::fmod(360.0 - a, 360.0);
        if (mer < 0.0)
            mer += 360.0;
        const int m0 = int(std::floor(mer));
        const double fa = mer - m0;
        const int c0 = int(std::floor(c));
        const double fr = c - c0;
        const double v[4] = {Celula(m0, c0), Celula(m0, c0 + 1), Celula(m0 + 1, c0),
                             Celula(m0 + 1, c0 + 1)};
        const double w[4] = {(1 - fa) * (1 - fr), (1 - fa) * fr, fa * (1 - fr), fa * fr};
        double soma = 0;
        for (int k = 0; k < 4; ++k) {
            if (w[k] == 0.0)
                continue;
            if (!(v[k] > 0.0))
                return kNaN;
            soma += v[k] * w[k];
        }
        return soma;
    }
    double Fator() const { return m_fator; }

private:
    const TBFuncoesMapas& m_mapa;
    double m_fator;
};

// Mean radius of each ring over the meridians that reach it, mm; 0 where none does.
void RaiosAneis(const GradesLimpas& g, double fator, double (&raio)[ZR_COLUNAS_ANEL])
{
    for (int j = 0; j < ZR_COLUNAS_ANEL; ++j) {
        double soma = 0;
        int quantos = 0;
        for (int i = 0; i < ZR_MERIDIANOS; ++i)
            if (g.n[i] >= j) {
                soma += g.m[i][j];
                ++quantos;
            }
        raio[j] = quantos > 0 ? soma / quantos * fator : 0.0;
    }
}

// Mean axial power within the central 3 mm, each cell weighted by the area it stands for.
TIndice KCentral(const Grade& g)
{
    const int limite = int(std::floor(kRaioCentral / g.Fator()));
    if (limite < 1 || limite >= kCelulas)
        return Invalido(QStringLiteral("a zona central de 3 mm excede a área do mapa"));
    double soma = 0, peso = 0;
    for (int k = 1; k <= ZR_MERIDIANOS; ++k)
        for (int c = 1; c <= limite; ++c) {
            const double v = g.Celula(k, c);
            if (!(v > 0.0))
                return Invalido(QStringLiteral("os anéis não cobrem a zona central de 3 mm"));
            soma += v * c;
            peso += c;
        }
    const double k = soma / peso;
    using namespace LimitesCeratocone;
    return Valido(k, LeituraPorLimites(k, kKCentralSuspeito, kKCentralCeratocone));
}

// I-S (Rabinowitz): mean of five inferior points minus mean of five superior points, 30
// degrees apart, 3 mm from the centre: IS = mean P(3, 210..330) - mean P(3, 30..150).
TIndice ValorIS(const Grade& g)
{
    double inferior = 0, superior = 0;
    for (int k = 1; k <= 5; ++k) {
        const double s = g.Valor(kRaioIS, 30.0 * k);
        const double i = g.Valor(kRaioIS, 180.0 + 30.0 * k);
        if (!std::isfinite(s) || !std::isfinite(i))
            return Invalido(QStringLiteral("os anéis não alcançam 3 mm do centro em todas as direções"));
        superior += s;
        inferior += i;
    }
    const double is = (inferior - superior) / 5.0;
    using namespace LimitesCeratocone;
    return Valido(is, LeituraPorLimites(std::abs(is), kISSuspeito, kISCeratocone, true));
}

// SRAX (Rabinowitz): the skew between the steepest radial axes of the two sides of the
// cornea, from the mean power of each hemimeridian within the central 3 mm:
// SRAX = 180 - the smaller angle between the two axes. The first axis is the steepest
// hemimeridian; the second the steepest one at least 90 degrees from it (the other lobe of a
// bow tie, above or below the horizontal; for a bow tie lying on the horizontal itself, the
// other end of it). A cornea whose hemimeridians are all alike has no steep axes: 0.
TIndice ValorSrax(const Grade& g, double& eixo1, double& eixo2)
{
    const int limite = int(std::floor(kRaioCentral / g.Fator()));
    if (limite < 1 || limite >= kCelulas)
        return Invalido(QStringLiteral("a zona central de 3 mm excede a área do mapa"));
    double media[360];
    for (int a = 0; a < 360; ++a) {
        const int k = a == 0 ? 360 : 360 - a; // meridian of direction a
        double soma = 0;
        for (int c = 1; c <= limite; ++c) {
            const double v = g.Celula(k, c);
            if (!(v > 0.0))
                return Invalido(QStringLiteral("os anéis não cobrem a zona central de 3 mm"));
            soma += v;
        }
        media[a] = soma / limite;
    }
    // The steepest direction of an arc of directions (inicio, inicio + 1, ... comprimento of
    // them, round the circle): the middle of a run of equal means.
    auto eixo = [&](int inicio, int comprimento) {
        int melhor = 0;
        for (int d = 1; d < comprimento; ++d)
            if (media[(inicio + d) % 360] > media[(inicio + melhor) % 360])
                melhor = d;
        int fim = melhor;
        while (fim + 1 < comprimento && media[(inicio + fim + 1) % 360] == media[(inicio + melhor) % 360])
            ++fim;
        return (inicio + (melhor + fim) / 2) % 360;
    };
    const auto [mn, mx] = std::minmax_element(std::begin(media), std::end(media));
    eixo1 = eixo(0, 360);
    eixo2 = eixo((int(eixo1) + 90) % 360, 181);
    double srax = 0.0;
    if (*mx - *mn >= LimitesCeratocone::kVariacaoMinimaEixo) {
        double d = std::abs(eixo2 - eixo1);
        d = std::min(d, 360.0 - d);
        srax = 180.0 - d;
    } else {
        eixo1 = eixo2 = 0.0;
    }
    return Valido(srax, LeituraPorLimites(srax, LimitesCeratocone::kSraxSuspeito, kNaN));
}

// Reference: Dingeldein SA, Klyce SD, Wilson SE. Refract Corneal Surg 1989;5:372-378.
// SAI: the power differences between points 180 degrees apart on 128 equally spaced
// meridians, over every measured ring:
//   SAI = sum_i sum_j |P(i, j) - P(i, j + 64)| / number of pairs.
// Every ring holds the same number of points, so the small central rings weigh as much as
// the wide outer ones (the central weighting). Pairs where either point is not measured are
// left out.
TIndice ValorSai(const Grade& g, const double (&raio)[ZR_COLUNAS_ANEL])
{
    double soma = 0;
    int pares = 0, aneis = 0;
    for (int i = 1; i <= kMaxAneis && raio[i] > 0.0; ++i) {
        int noAnel = 0;
        for (int j = 0; j < kMeridianosSai / 2; ++j) {
            const double a = j * 360.0 / kMeridianosSai;
            const double p = g.Valor(raio[i], a), q = g.Valor(raio[i], a + 180.0);
            if (!std::isfinite(p) || !std::isfinite(q))
                continue;
            soma += std::abs(p - q);
            ++noAnel;
        }
        if (noAnel > 0)
            ++aneis;
        pares += noAnel;
    }
    if (aneis < kAneisSri)
        return Invalido(QStringLiteral("anéis medidos insuficientes (menos de %1)").arg(kAneisSri));
    const double sai = soma / pares;
    return Valido(sai, LeituraPorLimites(sai, LimitesCeratocone::kSaiSuspeito, kNaN));
}

// Reference: Wilson SE, Klyce SD. Arch Ophthalmol 1991;109:349-353.
// SRI: the local fluctuations of power along 256 equally spaced hemimeridians over the
// central ten rings, each point against the mean of itself and its two radial neighbours:
//   SRI = (1/256) sum_j sum_i |P(i, j) - (P(i-1, j) + P(i, j) + P(i+1, j)) / 3|, i = 2..9.
TIndice ValorSri(const Grade& g, const double (&raio)[ZR_COLUNAS_ANEL])
{
    for (int i = 1; i <= kAneisSri; ++i)
        if (!(raio[i] > 0.0))
            return Invalido(QStringLiteral("os anéis medidos não cobrem os %1 anéis centrais").arg(kAneisSri));
    double soma = 0;
    for (int j = 0; j < kHemimeridianosSri; ++j) {
        const double a = j * 360.0 / kHemimeridianosSri;
        double p[kAneisSri + 1];
        for (int i = 1; i <= kAneisSri; ++i) {
            p[i] = g.Valor(raio[i], a);
            if (!std::isfinite(p[i]))
                return Invalido(QStringLiteral("os anéis medidos não cobrem os %1 anéis centrais").arg(kAneisSri));
        }
        for (int i = 2; i < kAneisSri; ++i)
            soma += std::abs(p[i] - (p[i - 1] + p[i] + p[i + 1]) / 3.0);
    }
    const double sri = soma / kHemimeridianosSri;
    return Valido(sri, LeituraPorLimites(sri, LimitesCeratocone::kSriSuspeito, kNaN));
}

// Apical radius and Q of a principal meridian: the mean of the conics fitted to the pair
// (k, k + 180) and two neighbouring degrees on each side (only these meridians are
// integrated).
void ConicaPar(const GradesLimpas& g, double fator, int par, TIndice& raio, TIndice& q)
{
    double somaR = 0, somaQ = 0;
    int quantos = 0;
    for (int lado = 0; lado < 2; ++lado)
        for (int d = -2; d <= 2; ++d) {
            const size_t k = size_t(((par - 1 + 180 * lado + d) % 360 + 360) % 360);
            const TElevacaoMeridiano m = ElevacaoMeridiano(g.m[k], g.d[k], g.n[k], fator);
            if (m.conica) {
                somaR += m.raioApical;
                somaQ += m.q;
                ++quantos;
            }
        }
    if (quantos == 0) {
        raio = q = Invalido(QStringLiteral("não há anéis bastantes para ajustar a cônica do meridiano"));
        return;
    }
    raio = Valido(somaR / quantos);
    q = Valido(somaQ / quantos);
}

QString Valor(const TIndice& i, const char* padrao, const QString& unidade)
{
    if (!i.valido)
        return QStringLiteral("— (%1)").arg(i.motivo);
    QString t = FormataNumero(QString::fromLatin1(padrao), i.valor);
    if (unidade == QStringLiteral("\u00B0"))
        t += unidade;
    else if (!unidade.isEmpty())
        t += QLatin1Char(' ') + unidade;
    if (i.leitura != LeituraIndice::Nenhuma)
        t += QStringLiteral(" (%1)").arg(TextoLeitura(i.leitura));
    return t;
}

} // namespace

QString TextoLeitura(LeituraIndice leitura)
{
    switch (leitura) {
    case LeituraIndice::Normal:
        return QStringLiteral("normal");
    case LeituraIndice::Suspeito:
        return QStringLiteral("suspeito");
    case LeituraIndice::Ceratocone:
        return QStringLiteral("ceratocone");
    default:
        return {};
    }
}

LeituraIndice LeituraPorLimites(double valor, double suspeito, double ceratocone, bool inclusivo)
{
    auto acima = [&](double limite) { return inclusivo ? valor >= limite : valor > limite; };
    if (std::isfinite(ceratocone) && acima(ceratocone))
        return LeituraIndice::Ceratocone;
    if (acima(suspeito))
        return LeituraIndice::Suspeito;
    return LeituraIndice::Normal;
}

TIndicesCeratocone CalculaIndicesCeratocone(const TMatrizAngAnel& posicoes,
                                            const TAneisMeridiano& aneis,
                                            const TMatrizAngAnel& dioptrias, double fator)
{
    if (!(fator > 0.0) || !std::isfinite(fator))
        throw ErroCalculo(QStringLiteral("Fator de correção inválido: %1.").arg(fator));
    auto g = std::make_unique<GradesLimpas>();
    LimpaMeridianos(posicoes, aneis, dioptrias, g->m, g->n, g->d);

    TIndicesCeratocone r;
    TBFuncoesMapas mapa(g->d, g->m, g->n, fator); // the axial map leaves the dioptres as they are
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    const Grade grade(mapa, fator);

    try {
        mapa.Ceratometria(r.ceratometria, kRaioCentral);
        r.temCeratometria = true;
    } catch (const ErroCalculo&) {
        r.motivoCeratometria = QStringLiteral("os anéis não cobrem a zona central de 3 mm");
    }
    r.kCentral = KCentral(grade);

    // Kmax: the steepest cell with data.
    double maximo = 0;
    for (int k = 1; k <= ZR_MERIDIANOS; ++k)
        for (int c = 0; c < kCelulas; ++c)
            if (grade.Celula(k, c) > maximo) {
                maximo = grade.Celula(k, c);
                r.kMaxMeridiano = k;
                r.kMaxCelula = c;
            }
    if (maximo > 0.0) {
        r.kMax = Valido(maximo);
        r.kMaxRaio = r.kMaxCelula * fator;
        r.kMaxAngulo = r.kMaxCelula == 0 ? 0.0 : std::fmod(360.0 - r.kMaxMeridiano, 360.0);
        r.kMaxX = r.kMaxRaio * std::cos(r.kMaxAngulo * kGrau);
        r.kMaxY = r.kMaxRaio * std::sin(r.kMaxAngulo * kGrau);
    } else {
        r.kMax = Invalido(QStringLiteral("não há valores de curvatura no mapa"));
    }

    r.is = ValorIS(grade);
    r.srax = ValorSrax(grade, r.eixo1Srax, r.eixo2Srax);

    // KISA% (Rabinowitz and Rasheed): K x I-S x AST x SRAX / 300, K the central power,
    // AST the simulated keratometric cylinder; I-S taken in magnitude.
    if (r.kCentral.valido && r.is.valido && r.srax.valido && r.temCeratometria) {
        const double kisa = r.kCentral.valor * std::abs(r.is.valor) * r.ceratometria.DifK *
                            r.srax.valor / 300.0 * 100.0;
        using namespace LimitesCeratocone;
        r.kisa = Valido(kisa, LeituraPorLimites(kisa, kKisaSuspeito, kKisaCeratocone, false));
    } else {
        r.kisa = Invalido(QStringLiteral("depende de K central, I-S, SRAX e ceratometria"));
    }

    double raio[ZR_COLUNAS_ANEL];
    RaiosAneis(*g, fator, raio);
    r.sai = ValorSai(grade, raio);
    r.sri = ValorSri(grade, raio);

    if (r.temCeratometria) {
        const int curvo = std::clamp(180 - int(r.ceratometria.Eixo1), 1, 180);
        const int plano = curvo > 90 ? curvo - 90 : curvo + 90;
        ConicaPar(*g, fator, plano, r.raioPlano, r.qPlano);
        ConicaPar(*g, fator, curvo, r.raioCurvo, r.qCurvo);
    } else {
        r.raioPlano = r.qPlano = r.raioCurvo = r.qCurvo =
            Invalido(QStringLiteral("sem ceratometria, os meridianos principais são desconhecidos"));
    }

    // The screening reading: the worst of the central power, I-S and KISA%; with none of
    // them, none.
    for (const TIndice* i : {&r.kCentral, &r.is, &r.kisa})
        if (i->valido)
            r.leitura = Pior(r.leitura == LeituraIndice::Nenhuma ? LeituraIndice::Normal : r.leitura, i->leitura);
    return r;
}

QStringList TIndicesCeratocone::Linhas() const
{
    QStringList l;
    const QString grau = QString(QChar(0x00B0));
    if (temCeratometria) {
        const TDadosCeratometria& k = ceratometria;
        l << QStringLiteral("K1: %1 D @ %2%3").arg(FormataNumero(QStringLiteral("0.00"), k.K1)).arg(k.Eixo1).arg(grau)
          << QStringLiteral("K2: %1 D @ %2%3").arg(FormataNumero(QStringLiteral("0.00"), k.K2)).arg(k.Eixo2).arg(grau)
          << QStringLiteral("Cilindro: %1 D").arg(FormataNumero(QStringLiteral("0.00"), k.DifK));
    } else {
        l << QStringLiteral("K1, K2: — (%1)").arg(motivoCeratometria);
    }
    l << QStringLiteral("K central (3 mm): %1").arg(Valor(kCentral, "0.00", QStringLiteral("D")));
    QString kmax = Valor(kMax, "0.00", QStringLiteral("D"));
    if (kMax.valido)
        kmax += QStringLiteral(" a %1 mm, %2%3").arg(FormataNumero(QStringLiteral("0.00"), kMaxRaio))
                    .arg(int(std::lround(kMaxAngulo)) % 360).arg(grau);
    l << QStringLiteral("Kmax: %1").arg(kmax)
      << QStringLiteral("I-S: %1").arg(Valor(is, "0.00", QStringLiteral("D")))
      << QStringLiteral("SRAX: %1").arg(Valor(srax, "0", grau))
      << QStringLiteral("KISA%: %1").arg(Valor(kisa, "0.0", QStringLiteral("%")))
      << QStringLiteral("SAI: %1").arg(Valor(sai, "0.00", QString()))
      << QStringLiteral("SRI: %1").arg(Valor(sri, "0.00", QString()))
      << QStringLiteral("Meridiano plano: R0 %1, Q %2").arg(Valor(raioPlano, "0.00", QStringLiteral("mm")), Valor(qPlano, "0.00", QString()))
      << QStringLiteral("Meridiano curvo: R0 %1, Q %2").arg(Valor(raioCurvo, "0.00", QStringLiteral("mm")), Valor(qCurvo, "0.00", QString()))
      << QStringLiteral("Leitura: %1").arg(leitura == LeituraIndice::Nenhuma ? QStringLiteral("—") : TextoLeitura(leitura));
    return l;
}
