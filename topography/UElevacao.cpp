#include "topography/UElevacao.h"

#include "common/UFormatos.h"
#include "topography/UBFuncoesMapas.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr double kIndice = 337.5;
constexpr double kCordaOrto = 8.0; // mm
constexpr double kZonaCeratometria = 1.5; // radius of the 3 mm zone, mm

// Surface slope at distance r where the axial radius is R.
inline double Inclinacao(double r, double R)
{
    return r / std::sqrt(R * R - r * r);
}

// Rise of the surface from r0 to r, the axial radius going linearly from R0 to R over the
// interval [r0, r1] (Simpson's rule).
double Subida(double r0, double R0, double r1, double R1, double r)
{
    auto axial = [&](double x) { return r1 > r0 ? R0 + (R1 - R0) * (x - r0) / (r1 - r0) : R0; };
    const double rm = 0.5 * (r0 + r);
    return (r - r0) / 6.0 * (Inclinacao(r0, R0) + 4.0 * Inclinacao(rm, axial(rm)) + Inclinacao(r, axial(r)));
}

} // namespace

bool AlturaConica(double r0, double q, double r, double& h)
{
    if (!(r0 > 0.0))
        return false;
    const double s = 1.0 - (1.0 + q) * r * r / (r0 * r0);
    if (s < 0.0)
        return false;
    h = r * r / (r0 * (1.0 + std::sqrt(s)));
    return std::isfinite(h);
}

bool TElevacaoMeridiano::AlturaEm(double r, double& h) const
{
    if (pontos < 1 || r < 0.0 || !std::isfinite(r))
        return false;
    for (int j = 1; j < pontos; ++j) {
        if (r <= raio[j]) {
            h = altura[j - 1] + Subida(raio[j - 1], raioAxial[j - 1], raio[j], raioAxial[j], r);
            return std::isfinite(h);
        }
    }
    if (r == raio[pontos - 1]) {
        h = altura[pontos - 1];
        return true;
    }
    double fim, alvo;
    if (!conica || !AlturaConica(raioApical, q, raio[pontos - 1], fim) || !AlturaConica(raioApical, q, r, alvo))
        return false;
    h = altura[pontos - 1] + (alvo - fim);
    return true;
}

TElevacaoMeridiano ElevacaoMeridiano(const double (&posicoes)[ZR_COLUNAS_ANEL],
                                     const double (&dioptrias)[ZR_COLUNAS_ANEL],
                                     int ultimaColuna, double fatorCorrecao)
{
    TElevacaoMeridiano e;
    ultimaColuna = std::clamp(ultimaColuna, 0, ZR_COLUNAS_ANEL - 1);
    if (!(dioptrias[0] > 0.0) || !std::isfinite(dioptrias[0]))
        return e;
    double* raioAxial = e.raioAxial;
    e.pontos = 1;
    raioAxial[0] = kIndice / dioptrias[0];
    for (int j = 1; j <= ultimaColuna; ++j) {
        const double r = posicoes[j] * fatorCorrecao;
        const double d = dioptrias[j];
        if (!std::isfinite(r) || !(r > e.raio[j - 1]) || !std::isfinite(d) || !(d > 0.0))
            break;
        const double R = kIndice / d;
        if (!(R > r))
            break;
        const double r0 = e.raio[j - 1], R0 = raioAxial[j - 1];
        if (!(0.5 * (R0 + R) > 0.5 * (r0 + r)))
            break;
        const double subida = Subida(r0, R0, r, R, r);
        if (!std::isfinite(subida))
            break;
        e.raio[j] = r;
        e.altura[j] = e.altura[j - 1] + subida;
        raioAxial[j] = R;
        e.pontos = j + 1;
    }

    // Conic: R^2 = R0^2 - Q r^2, least squares in (R0^2, Q) over the rings.
    const int n = e.pontos - 1;
    if (n >= 3) {
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (int j = 1; j <= n; ++j) {
            const double x = e.raio[j] * e.raio[j], y = raioAxial[j] * raioAxial[j];
            sx += x;
            sy += y;
            sxx += x * x;
            sxy += x * y;
        }
        const double det = n * sxx - sx * sx;
        if (det > 1e-12 * n * sxx) {
            const double inclinacao = (n * sxy - sx * sy) / det;
            const double r02 = (sy - inclinacao * sx) / n;
            if (r02 > 0.0) {
                e.conica = true;
                e.raioApical = std::sqrt(r02);
                e.q = -inclinacao;
            }
        }
    }
    return e;
}

std::vector<TElevacaoMeridiano> CalculaElevacao(const TMatrizAngAnel& posicoes,
                                                const TMatrizAngAnel& dioptrias,
                                                const TAneisMeridiano& aneis,
                                                double fatorCorrecao)
{
    if (!(fatorCorrecao > 0.0) || !std::isfinite(fatorCorrecao))
        throw ErroCalculo(QStringLiteral("Fator de correção inválido: %1.").arg(fatorCorrecao));
    std::vector<TElevacaoMeridiano> e(ZR_MERIDIANOS);
    for (int k = 0; k < ZR_MERIDIANOS; ++k)
        e[size_t(k)] = ElevacaoMeridiano(posicoes[k], dioptrias[k], aneis[k], fatorCorrecao);
    return e;
}

bool SagParMeridianos(const std::vector<TElevacaoMeridiano>& elevacao, int par, double corda,
                      int vizinhos, double& sag)
{
    if (elevacao.size() != size_t(ZR_MERIDIANOS))
        return false;
    double soma = 0;
    int quantos = 0;
    for (int lado = 0; lado < 2; ++lado) {
        for (int d = -vizinhos; d <= vizinhos; ++d) {
            const int k = ((par - 1 + 180 * lado + d) % 360 + 360) % 360;
            double h;
            if (elevacao[size_t(k)].AlturaEm(corda / 2.0, h)) {
                soma += h;
                ++quantos;
            }
        }
    }
    if (quantos == 0)
        return false;
    sag = soma / quantos;
    return true;
}

TValoresOrtoExame CalculaValoresOrto(const TMatrizAngAnel& posicoes,
                                     const TMatrizAngAnel& dioptrias,
                                     const TAneisMeridiano& aneis, double fatorCorrecao)
{
    const std::vector<TElevacaoMeridiano> elevacao = CalculaElevacao(posicoes, dioptrias, aneis, fatorCorrecao);

    // The keratometry works on a copy: the grid object may change its dioptres.
    std::unique_ptr<TMatrizAngAnel[]> copia(new TMatrizAngAnel[1]);
    std::memcpy(copia.get(), &dioptrias, sizeof(TMatrizAngAnel));
    TBFuncoesMapas mapa(copia[0], posicoes, aneis, fatorCorrecao);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    TDadosCeratometria k;
    mapa.Ceratometria(k, kZonaCeratometria);

    // Pair s joins meridians s and s + 180; its clinical axis is 180 - s.
    const int curvo = std::clamp(180 - int(k.Eixo1), 1, 180);
    const int plano = curvo > 90 ? curvo - 90 : curvo + 90;
    double sagPlano, sagCurvo;
    if (!SagParMeridianos(elevacao, plano, kCordaOrto, 2, sagPlano) ||
        !SagParMeridianos(elevacao, curvo, kCordaOrto, 2, sagCurvo))
        throw ErroCalculo(QStringLiteral("Os anéis não alcançam a corda de %1 mm.").arg(FormataGeral(kCordaOrto)));

    double somaQ = 0;
    int quantosQ = 0;
    for (int lado = 0; lado < 2; ++lado)
        for (int d = -2; d <= 2; ++d) {
            const TElevacaoMeridiano& m = elevacao[size_t(((plano - 1 + 180 * lado + d) % 360 + 360) % 360)];
            if (m.conica) {
                somaQ += m.q;
                ++quantosQ;
            }
        }
    if (quantosQ == 0)
        throw ErroCalculo(QStringLiteral("Não foi possível ajustar a cônica do meridiano plano."));
    const double q = somaQ / quantosQ;

    TValoresOrtoExame v;
    v.Sag = sagPlano * 1000.0;
    v.Div = (sagCurvo - sagPlano) * 1000.0;
    v.Raio = k.R2;
    v.Excentricidade = q <= 0.0 ? std::sqrt(-q) : -std::sqrt(q);
    return v;
}
