#include "topography/UBFuncoesMapas.h"

#include "common/UFormatos.h"
#include "platform/UMensagens.h"
#include "topography/UTangencial.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMaxAneis = ZR_COLUNAS_ANEL - 1;
constexpr double kFimNatural = 9.9e29; // end slopes above this mean a natural spline end

// Cells hold two decimals, so next to the steep axis of a mildly toric cornea several
// neighbouring pairs share the largest mean. Taking the last of them would turn the axis by
// up to a few degrees; the axis is the middle of the run of equal neighbours (counted round
// from 180 to 1) that holds the pair s, the upper middle for an even run. A pair with no
// equal neighbour stays as it is, and so does s when all 180 pairs are equal.
int MeioDoPatamar(const double (&par)[181], int s)
{
    auto anterior = [](int k) { return k == 1 ? 180 : k - 1; };
    auto seguinte = [](int k) { return k == 180 ? 1 : k + 1; };
    const double maximo = par[s];
    int inicio = s, comprimento = 1;
    while (comprimento < 180 && par[anterior(inicio)] == maximo) {
        inicio = anterior(inicio);
        ++comprimento;
    }
    int fim = s;
    while (comprimento < 180 && par[seguinte(fim)] == maximo) {
        fim = seguinte(fim);
        ++comprimento;
    }
    if (comprimento >= 180)
        return s;
    return (inicio - 1 + comprimento / 2) % 180 + 1;
}

} // namespace

namespace {

// The common case of ArredondaDuasCasas, decided by the binary value alone; false for the
// values within a hair of a half cent (and huge or non-finite ones).
inline bool ArredondaRapido(double valor, double& resultado)
{
    const double absoluto = valor < 0 ? -valor : valor;
    if (!(absoluto < 1e6))
        return false;
    const double escala = absoluto * 100.0;
    const auto base = static_cast<int64_t>(escala); // truncation is the floor here
    const double fracao = escala - double(base);
    const double distancia = fracao - 0.5;
    if (distancia <= 1e-6 && distancia >= -1e-6)
        return false;
    const double centesimos = double(base + (fracao > 0.5 ? 1 : 0));
    resultado = valor < 0 ? -(centesimos / 100.0) : centesimos / 100.0;
    return true;
}

} // namespace

double ArredondaDuasCasas(double valor)
{
    double r;
    if (ArredondaRapido(valor, r))
        return r;
    // Near a half cent the decimal formatter decides, on the value's 15 significant digits.
    return TextoParaReal(FormataNumero(QStringLiteral("0.00"), valor));
}

TBFuncoesMapas::TBFuncoesMapas(TMatrizAngAnel& dioptrias, const TMatrizAngAnel& posicoes,
                               const TAneisMeridiano& aneis, double fatorCorrecao)
    : m_d(dioptrias), m_m(posicoes), m_aneis(aneis), m_fator(fatorCorrecao),
      m_grade(new double[ZR_MERIDIANOS * kCelulas]())
{
}

TBFuncoesMapas::~TBFuncoesMapas() = default;

double TBFuncoesMapas::Celula(int meridiano, int celula) const
{
    if (meridiano < 1 || meridiano > ZR_MERIDIANOS || celula < 0 || celula >= kCelulas)
        return 0.0;
    return m_grade[(meridiano - 1) * kCelulas + celula];
}

void TBFuncoesMapas::ValidaAneis() const
{
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        if (m_aneis[i] < 0 || m_aneis[i] > kMaxAneis)
            throw ErroCalculo(QStringLiteral("Número de anéis inválido no meridiano %1: %2.")
                                  .arg(i + 1)
                                  .arg(m_aneis[i]));
}

void TBFuncoesMapas::CalculaMapa(uint8_t tipo)
{
    if (tipo != MapaAxial && tipo != MapaTangencial)
        throw ErroCalculo(QStringLiteral("Tipo de mapa desconhecido: %1.").arg(tipo));
    ValidaAneis();
    std::copy(std::begin(m_aneis), std::end(m_aneis), std::begin(m_contagem));
    if (tipo == MapaTangencial)
        ConverteTangencial();
    InterpolaMeridianos(m_d);
}

// Tangential power along every meridian from its axial values and radial positions (the
// routine the Tangencial map module draws with), written over the axial values; the rings
// without a tangential value drop out of the grid.
void TBFuncoesMapas::ConverteTangencial()
{
    // Every position is checked before the matrix changes, so a failure leaves it intact.
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        for (int j = 1; j <= m_aneis[i]; ++j) {
            const double r = m_m[i][j];
            if (r == 0.0 || !std::isfinite(r))
                throw ErroCalculo(
                    QStringLiteral("Posição radial nula no meridiano %1, anel %2: não é "
                                   "possível calcular o mapa tangencial.")
                        .arg(i + 1)
                        .arg(j));
        }
    auto tangencial = std::make_unique<TMatrizAngAnel[]>(1);
    TangencialDasMatrizes(m_m, m_d, m_aneis, tangencial[0], m_contagem);
    std::memcpy(m_d, tangencial[0], sizeof(TMatrizAngAnel));
}

void TBFuncoesMapas::InterpolaMeridianos(const TMatrizAngAnel& fonte)
{
    m_interpolacaoCompleta = true;
    double celulas[kCelulas];
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        std::fill(std::begin(celulas), std::end(celulas), 0.0);
        if (!InterpolaMeridiano(i, fonte, celulas)) {
            m_interpolacaoCompleta = false;
            Mensagem(QCoreApplication::applicationName(),
                     QStringLiteral("Problemas na interpolação dos valores de dioptria e/ou "
                                    "cálculo dos raios de curvatura."),
                     IconeMensagem::Nenhum, BotoesMensagem::Ok);
            return;
        }
        std::memcpy(&m_grade[i * kCelulas], celulas, sizeof celulas);
    }
}

// Cubic spline through the ring points of one meridian (position in pixels -> value),
// sampled one pixel apart from the centre column up to the last ring; each sample goes to
// the cell of its rounded position. False when the points cannot carry a spline.
bool TBFuncoesMapas::InterpolaMeridiano(int i, const TMatrizAngAnel& fonte, double* celulas) const
{
    const int n = m_contagem[i];
    if (n < 2)
        return true; // nothing to interpolate: no samples
    const double* X = m_m[i];
    const double* Y = fonte[i];
    for (int b = 0; b <= n; ++b)
        if (!std::isfinite(X[b]) || !std::isfinite(Y[b]))
            return false;
    for (int b = 1; b < n; ++b)
        if (!(X[b] > X[b - 1])) // equal or falling positions cannot be interpolated
            return false;

    auto inclinacao = [&](int a, int b) {
        const double num = Y[b] - Y[a];
        const double den = X[b] - X[a];
        return den == 0.0 ? num : num / den;
    };
    const double s1 = inclinacao(0, 1);
    const double sn = inclinacao(n - 2, n - 1);

    double y2[ZR_COLUNAS_ANEL];
    double u[ZR_COLUNAS_ANEL];
    if (s1 > kFimNatural) {
        y2[0] = u[0] = 0.0;
    } else {
        y2[0] = -0.5;
        u[0] = 3.0 / (X[1] - X[0]) * ((Y[1] - Y[0]) / (X[1] - X[0]) - s1);
    }
    for (int j = 1; j <= n - 2; ++j) {
        const double sig = (X[j] - X[j - 1]) / (X[j + 1] - X[j - 1]);
        const double p = sig * y2[j - 1] + 2.0;
        y2[j] = (sig - 1.0) / p;
        u[j] = (Y[j + 1] - Y[j]) / (X[j + 1] - X[j]) - (Y[j] - Y[j - 1]) / (X[j] - X[j - 1]);
        u[j] = (6.0 * u[j] / (X[j + 1] - X[j - 1]) - sig * u[j - 1]) / p;
    }
    double qn = 0.0, un = 0.0;
    if (!(sn > kFimNatural)) {
        qn = 0.5;
        un = 3.0 / (X[n - 1] - X[n - 2])
            * (sn - (Y[n - 1] - Y[n - 2]) / (X[n - 1] - X[n - 2]));
    }
    y2[n - 1] = (un - qn * u[n - 2]) / (qn * y2[n - 2] + 1.0);
    for (int k = n - 2; k >= 0; --k)
        y2[k] = y2[k] * y2[k + 1] + u[k];
    for (int k = 0; k < n; ++k)
        if (!std::isfinite(y2[k]))
            return false;

    const double x0 = X[0];
    const double xFim = X[n];
    // Positions left of the grid have no cell: start near its edge.
    double passo = x0 < -1.0 ? std::floor(-x0) - 1.0 : 0.0;
    int lo = 0;
    for (;; passo += 1.0) {
        const double x = x0 + passo;
        if (!(x < xFim))
            break;
        const int64_t celula = ArredondaInteiro(x);
        if (celula >= kCelulas)
            break; // the grid ends at 300 pixels; later samples have no cell
        // The interval of x: the last point at or left of it, at most the last but one.
        // Positions rise strictly and x only grows, so it is found by walking on.
        while (lo < n - 2 && !(X[lo + 1] > x))
            ++lo;
        const int hi = lo + 1;
        const double h = X[hi] - X[lo];
        const double a = (X[hi] - x) / h;
        const double b = (x - X[lo]) / h;
        const double y = a * Y[lo] + b * Y[hi]
            + ((a * a * a - a) * y2[lo] + (b * b * b - b) * y2[hi]) * (h * h) / 6.0;
        if (!std::isfinite(y))
            return false;
        if (celula >= 0) {
            double arredondado;
            celulas[celula] = ArredondaRapido(y, arredondado) ? arredondado : ArredondaDuasCasas(y);
        }
    }
    return true;
}

void TBFuncoesMapas::Ceratometria(TDadosCeratometria& destino, double raio)
{
    if (!(m_fator > 0.0) || !std::isfinite(m_fator))
        throw ErroCalculo(QStringLiteral("Fator de correção inválido: %1.").arg(m_fator));
    const double limite = raio / m_fator;
    if (!std::isfinite(limite) || limite < -0.5 || ArredondaInteiro(limite) >= kCelulas)
        throw ErroCalculo(QStringLiteral("A zona de raio %1 mm excede a área do mapa.")
                              .arg(FormataGeral(raio)));
    const int L = int(ArredondaInteiro(limite));

    double media[ZR_MERIDIANOS];
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        double soma = 0;
        int quantos = 0;
        const double* linha = &m_grade[i * kCelulas];
        for (int c = 0; c <= L; ++c)
            if (linha[c] > 0.0) {
                soma += linha[c];
                ++quantos;
            }
        if (quantos == 0)
            throw ErroCalculo(
                QStringLiteral("Não há valores de curvatura no meridiano %1 dentro da zona "
                               "de raio %2 mm.")
                    .arg(i + 1)
                    .arg(FormataGeral(raio)));
        media[i] = soma / quantos;
    }

    // Pair k joins meridians k and k + 180; the steepest pair wins, the later one on a tie.
    double par[181];
    par[0] = 0;
    for (int k = 1; k <= 180; ++k)
        par[k] = (media[k - 1] + media[k + 179]) / 2.0;
    int s = 0;
    double maximo = 0;
    for (int k = 1; k <= 180; ++k)
        if (par[k] >= maximo) {
            maximo = par[k];
            s = k;
        }
    if (s == 0) // only when every mean is negative, which positive cells cannot give
        throw ErroCalculo(QStringLiteral("Ceratometria sem meridiano principal."));
    s = MeioDoPatamar(par, s);

    TDadosCeratometria r;
    r.Raio = raio;
    r.K1 = par[s];
    r.K2 = s > 90 ? par[s - 90] : par[s + 90];
    r.DifK = r.K1 - r.K2;
    r.R1 = 337.5 / r.K1;
    r.R2 = 337.5 / r.K2;
    r.DifR = r.R1 - r.R2;
    r.Eixo1 = uint16_t(180 - s);
    r.Eixo2 = uint16_t(r.Eixo1 <= 90 ? r.Eixo1 + 90 : r.Eixo1 - 90);
    m_ceratometria = r;
    destino = r;
}

double TBFuncoesMapas::ValorMaximo() const
{
    double maximo = 0;
    for (int k = 0; k < ZR_MERIDIANOS * kCelulas; ++k)
        if (m_grade[k] > maximo)
            maximo = m_grade[k];
    return maximo;
}

TLimpezaMeridianos LimpaMeridianos(const TMatrizAngAnel& posicoes, const TAneisMeridiano& aneis,
                                   const TMatrizAngAnel& dioptrias, TMatrizAngAnel& m,
                                   TAneisMeridiano& n, TMatrizAngAnel& d)
{
    std::memcpy(m, posicoes, sizeof(TMatrizAngAnel));
    std::memcpy(d, dioptrias, sizeof(TMatrizAngAnel));
    TLimpezaMeridianos r;
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        int conta = aneis[i];
        if (conta < 0 || conta > kMaxAneis) {
            ++r.aneisInvalidos;
            conta = 0;
        }
        int ultimo = conta;
        for (int j = 0; j <= conta; ++j) {
            const double x = m[i][j], v = d[i][j];
            const bool ok = std::isfinite(v) && v >= kDioptriaMinimaMedida && v <= kDioptriaMaximaMedida &&
                            std::isfinite(x) && x >= 0.0 && (j == 0 || x > m[i][j - 1]);
            if (!ok) {
                ultimo = j - 1;
                break;
            }
        }
        if (ultimo < conta)
            ++r.cortados;
        if (ultimo < 2)
            ultimo = 0; // too few rings for a curve
        n[i] = ultimo;
        for (int j = ultimo + 1; j < ZR_COLUNAS_ANEL; ++j)
            d[i][j] = 0.0;
        if (ultimo > 0)
            ++r.comDados;
    }
    return r;
}
