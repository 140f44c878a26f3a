#include "plugins/lentes/ULenteRGP.h"

#include "topography/UElevacao.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Sag(double raio, double r)
{
    return raio - std::sqrt(raio * raio - r * r);
}

double Media(double soma, int n)
{
    return n > 0 ? soma / n : kNaN;
}

QString Num(double v, int casas = 2)
{
    return std::isfinite(v) ? QString::number(v, 'f', casas) : QStringLiteral("--");
}

} // namespace

FaixaCampo Faixa(CampoLente campo)
{
    switch (campo) {
    case CampoLente::Diametro: return {8.0, 11.5, 0.0, "Diâmetro"};
    case CampoLente::RaioBase: return {6.5, 9.0, 0.05, "Raio da zona óptica"};
    case CampoLente::ZonaOptica: return {6.0, 10.0, 0.0, "Zona óptica"};
    case CampoLente::RaioSecundario: return {7.0, 12.0, 0.0, "Raio secundário"};
    case CampoLente::LarguraSecundaria: return {0.1, 1.5, 0.0, "Largura secundária"};
    case CampoLente::RaioPeriferico: return {8.0, 15.0, 0.0, "Raio periférico"};
    }
    return {0, 0, 0, ""};
}

double ValorCampo(const ParametrosLente& p, CampoLente campo)
{
    switch (campo) {
    case CampoLente::Diametro: return p.diametro;
    case CampoLente::RaioBase: return p.raioBase;
    case CampoLente::ZonaOptica: return p.zonaOptica;
    case CampoLente::RaioSecundario: return p.raioSecundario;
    case CampoLente::LarguraSecundaria: return p.larguraSecundaria;
    case CampoLente::RaioPeriferico: return p.raioPeriferico;
    }
    return kNaN;
}

bool DefineCampo(ParametrosLente& p, CampoLente campo, double valor, QString& erro)
{
    const FaixaCampo f = Faixa(campo);
    const QString nome = QString::fromUtf8(f.nome);
    const QString faixa = QStringLiteral("%1: de %2 a %3 mm").arg(nome, Num(f.minimo), Num(f.maximo));
    if (!std::isfinite(valor) || valor < f.minimo - 1e-9 || valor > f.maximo + 1e-9) {
        erro = faixa + QStringLiteral(".");
        return false;
    }
    if (f.passo > 0 && std::abs(valor / f.passo - std::round(valor / f.passo)) > 1e-6) {
        erro = faixa + QStringLiteral(", em passos de %1 mm.").arg(Num(f.passo));
        return false;
    }
    ParametrosLente q = p;
    switch (campo) {
    case CampoLente::Diametro: q.diametro = valor; break;
    case CampoLente::RaioBase: q.raioBase = valor; break;
    case CampoLente::ZonaOptica: q.zonaOptica = valor; break;
    case CampoLente::RaioSecundario: q.raioSecundario = valor; break;
    case CampoLente::LarguraSecundaria: q.larguraSecundaria = valor; break;
    case CampoLente::RaioPeriferico: q.raioPeriferico = valor; break;
    }
    // The periphery needs room on the lens, and each curve is flatter than the one inside it.
    if (q.zonaOptica / 2 + q.larguraSecundaria > q.diametro / 2 - 0.1 + 1e-9) {
        erro = QStringLiteral("%1: a zona óptica (%2 mm) mais a curva secundária (2 x %3 mm) deve deixar "
                              "ao menos 0.20 mm para a curva periférica no diâmetro de %4 mm.")
                   .arg(nome, Num(q.zonaOptica), Num(q.larguraSecundaria), Num(q.diametro));
        return false;
    }
    if (q.raioSecundario < q.raioBase || q.raioPeriferico < q.raioSecundario) {
        erro = QStringLiteral("%1: os raios devem crescer da zona óptica (%2 mm) à secundária (%3 mm) e à "
                              "periférica (%4 mm).")
                   .arg(nome, Num(q.raioBase), Num(q.raioSecundario), Num(q.raioPeriferico));
        return false;
    }
    p = q;
    erro.clear();
    return true;
}

double ProfundidadeLente(const ParametrosLente& p, double r)
{
    r = std::abs(r);
    const double r0 = p.zonaOptica / 2, r1 = r0 + p.larguraSecundaria;
    if (r > p.diametro / 2 + 1e-9)
        return kNaN;
    if (r <= r0)
        return Sag(p.raioBase, r);
    const double z0 = Sag(p.raioBase, r0);
    if (r <= r1)
        return z0 + Sag(p.raioSecundario, r) - Sag(p.raioSecundario, r0);
    return z0 + Sag(p.raioSecundario, r1) - Sag(p.raioSecundario, r0) + Sag(p.raioPeriferico, r) -
           Sag(p.raioPeriferico, r1);
}

double IntensidadeFluoresceina(double t)
{
    if (!std::isfinite(t))
        return 0.0;
    const double s = std::clamp((t - 5.0) / 15.0, 0.0, 1.0);
    return s * s * (3.0 - 2.0 * s);
}

double ResultadoLente::LagrimaEm(int m, double r) const
{
    if (amostras < 1 || r < 0)
        return kNaN;
    const double x = r / passo;
    const int i = int(x);
    if (i >= amostras - 1)
        return i == amostras - 1 ? Lagrima(m, i) : kNaN;
    const double f = x - i;
    return Lagrima(m, i) * (1 - f) + Lagrima(m, i + 1) * f;
}

AdaptacaoLente::AdaptacaoLente(const TExameConferido& exame)
{
    m_amostras = int(std::lround(kRaioMaximo / kPasso)) + 1;
    m_altura.assign(size_t(ZR_MERIDIANOS) * m_amostras, float(kNaN));
    m_borda.assign(ZR_MERIDIANOS, 0.0);
    if (!exame.TemDados())
        return;
    const std::vector<TElevacaoMeridiano> elev =
        CalculaElevacao(exame.posicoes, exame.dioptrias, exame.aneis, exame.fator);
    std::vector<double> raioCentral(ZR_MERIDIANOS, kNaN);
    for (int m = 0; m < ZR_MERIDIANOS; ++m) {
        const TElevacaoMeridiano& e = elev[m];
        if (e.pontos < 2)
            continue;
        m_temDados = true;
        m_borda[m] = e.raio[e.pontos - 1];
        for (int i = 0; i < m_amostras; ++i) {
            double h;
            if (e.AlturaEm(i * kPasso, h))
                m_altura[size_t(m) * m_amostras + i] = float(h);
        }
        double soma = 0;
        int n = 0;
        for (int j = 0; j < e.pontos && e.raio[j] <= 1.5; ++j, ++n)
            soma += e.raioAxial[j];
        raioCentral[m] = Media(soma, n);
    }
    // Keratometry over meridian pairs (each with its opposite).
    double maior = -1, menor = 1e9;
    for (int m = 0; m < 180; ++m) {
        double soma = 0;
        int n = 0;
        for (int d = -2; d <= 2; ++d)
            for (int k : {m + d, m + d + 180}) {
                const double v = raioCentral[(k + ZR_MERIDIANOS) % ZR_MERIDIANOS];
                if (std::isfinite(v)) {
                    soma += v;
                    ++n;
                }
            }
        const double r = Media(soma, n);
        if (!std::isfinite(r))
            continue;
        if (r > maior) {
            maior = r;
            m_meridianoPlano = m;
        }
        menor = std::min(menor, r);
    }
    if (maior > 0) {
        m_raioPlano = maior;
        m_raioCurvo = menor;
        m_eixoPlano = EixoClinico(m_meridianoPlano);
    } else {
        m_temDados = false;
    }
}

ParametrosLente AdaptacaoLente::LenteSugerida() const
{
    ParametrosLente p;
    const FaixaCampo f = Faixa(CampoLente::RaioBase);
    const double base = m_raioPlano > 0 ? std::round(m_raioPlano / 0.05) * 0.05 : 7.80;
    p.raioBase = std::clamp(base, f.minimo, f.maximo);
    p.raioSecundario = std::round((p.raioBase + 0.8) / 0.05) * 0.05;
    p.raioPeriferico = std::round((p.raioBase + 2.5) / 0.05) * 0.05;
    return p;
}

ResultadoLente AdaptacaoLente::Calcula(const ParametrosLente& p) const
{
    ResultadoLente r;
    r.lente = p;
    r.passo = kPasso;
    r.amostras = std::min(m_amostras, int(std::floor(p.diametro / 2 / kPasso + 1e-9)) + 1);
    r.lagrima.assign(size_t(ZR_MERIDIANOS) * r.amostras, float(kNaN));
    std::vector<double> lente(r.amostras);
    for (int i = 0; i < r.amostras; ++i)
        lente[i] = ProfundidadeLente(p, i * kPasso);
    // Settling: the lens comes down the axis until its back surface first meets the cornea.
    double apoio = std::numeric_limits<double>::infinity();
    for (int m = 0; m < ZR_MERIDIANOS; ++m)
        for (int i = 0; i < r.amostras; ++i) {
            const float h = m_altura[size_t(m) * m_amostras + i];
            if (std::isfinite(h))
                apoio = std::min(apoio, h - lente[i]);
        }
    if (!std::isfinite(apoio))
        return r;
    for (int m = 0; m < ZR_MERIDIANOS; ++m)
        for (int i = 0; i < r.amostras; ++i) {
            const float h = m_altura[size_t(m) * m_amostras + i];
            if (std::isfinite(h))
                r.lagrima[size_t(m) * r.amostras + i] = float((h - lente[i] - apoio) * 1000.0);
        }
    r.valido = true;

    const double r0 = p.zonaOptica / 2;
    const int iMeio0 = int(std::ceil(0.6 * r0 / kPasso)), iMeio1 = int(std::floor(r0 / kPasso));
    double somaApice = 0, somaBorda = 0;
    int nApice = 0, nBorda = 0;
    r.toqueMedioPeriferico = std::numeric_limits<double>::infinity();
    double menorZona = std::numeric_limits<double>::infinity();
    for (int m = 0; m < ZR_MERIDIANOS; ++m) {
        if (std::isfinite(r.Lagrima(m, 0))) {
            somaApice += r.Lagrima(m, 0);
            ++nApice;
        }
        const float b = r.Lagrima(m, r.amostras - 1);
        if (std::isfinite(b)) {
            somaBorda += b;
            ++nBorda;
        }
        for (int i = iMeio0; i <= iMeio1 && i < r.amostras; ++i)
            if (std::isfinite(r.Lagrima(m, i)))
                r.toqueMedioPeriferico = std::min<double>(r.toqueMedioPeriferico, r.Lagrima(m, i));
    }
    // The touch band: the meridian pair with the thinnest mean film across the optic zone.
    for (int m = 0; m < 180; ++m) {
        double soma = 0;
        int n = 0;
        for (int k : {m, m + 180})
            for (int i = 1; i <= iMeio1 && i < r.amostras; ++i)
                if (std::isfinite(r.Lagrima(k, i))) {
                    soma += r.Lagrima(k, i);
                    ++n;
                }
        if (n > 0 && soma / n < menorZona) {
            menorZona = soma / n;
            r.eixoToque = EixoClinico(m);
        }
    }
    r.folgaApical = Media(somaApice, nApice);
    r.folgaBorda = Media(somaBorda, nBorda);
    if (!std::isfinite(r.toqueMedioPeriferico))
        r.toqueMedioPeriferico = kNaN;
    // The fit is read on the flat meridian: central pooling over the mid-periphery is steep,
    // a film growing from a central touch is flat.
    double somaMeio = 0;
    int nMeio = 0;
    for (int k : {m_meridianoPlano, m_meridianoPlano + 180})
        for (int i = iMeio0; i <= iMeio1 && i < r.amostras; ++i)
            if (std::isfinite(r.Lagrima(k, i))) {
                somaMeio += r.Lagrima(k, i);
                ++nMeio;
            }
    const double centro = 0.5 * (r.Lagrima(m_meridianoPlano, 0) + r.Lagrima(m_meridianoPlano + 180, 0));
    const double meio = Media(somaMeio, nMeio);
    if (centro >= 10.0 && centro - meio > 4.0)
        r.ajuste = QStringLiteral("apertada");
    else if (centro < 10.0 && meio - centro > 4.0)
        r.ajuste = QStringLiteral("plana");
    else
        r.ajuste = QStringLiteral("alinhada");
    return r;
}

QStringList ResumoLente(const AdaptacaoLente& a, const ResultadoLente& r, const QStringList& notas)
{
    const ParametrosLente& p = r.lente;
    QStringList l;
    l << QStringLiteral("K plano: %1 mm (%2 D) a %3°").arg(Num(a.RaioPlano()), Num(337.5 / a.RaioPlano()))
             .arg(a.EixoPlano())
      << QStringLiteral("K curvo: %1 mm (%2 D)").arg(Num(a.RaioCurvo()), Num(337.5 / a.RaioCurvo()))
      << QStringLiteral("Lente: diâmetro %1 mm, raio %2 mm, zona óptica %3 mm")
             .arg(Num(p.diametro), Num(p.raioBase), Num(p.zonaOptica))
      << QStringLiteral("Periferia: %1 mm com %2 mm de largura, %3 mm até a borda")
             .arg(Num(p.raioSecundario), Num(p.larguraSecundaria), Num(p.raioPeriferico))
      << QStringLiteral("Folga apical: %1 µm").arg(Num(r.folgaApical, 1))
      << QStringLiteral("Toque médio-periférico: %1 µm").arg(Num(r.toqueMedioPeriferico, 1))
      << QStringLiteral("Folga da borda: %1 µm").arg(Num(r.folgaBorda, 1))
      << QStringLiteral("Faixa de toque: %1°").arg(r.eixoToque)
      << QStringLiteral("Adaptação: %1").arg(r.valido ? r.ajuste : QStringLiteral("--"));
    for (const QString& n : notas)
        l << QStringLiteral("Nota: ") + n;
    return l;
}
