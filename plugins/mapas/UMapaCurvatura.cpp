#include "plugins/mapas/UMapaCurvatura.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "topography/UTangencial.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int kCelulas = TBFuncoesMapas::kCelulas;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

MapaCurvatura::MapaCurvatura(Tipo tipo, const TMatrizAngAnel* posicoes,
                             const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                             double fatorCorrecao)
    : m_tipo(tipo), m_fator(fatorCorrecao), m_d(new TMatrizAngAnel[1]()),
      m_m(new TMatrizAngAnel[1]()), m_aneis(new TAneisMeridiano[1]()),
      m_grade(size_t(ZR_MERIDIANOS) * kCelulas, 0.0f), m_minimo(kNaN), m_maximo(kNaN)
{
    if (!std::isfinite(m_fator) || m_fator <= 0.0 || m_fator > 1.0) {
        m_avisos << QStringLiteral("Fator de correção inválido (%1); usado %2 mm por pixel.")
                        .arg(FormataGeral(fatorCorrecao), FormataGeral(kFatorPadrao));
        m_fator = kFatorPadrao;
    }
    Prepara(posicoes, aneis, dioptrias);
    if (m_temDados)
        Calcula();
    if (!m_temDados)
        m_avisos << QStringLiteral("Não há dados de curvatura suficientes para desenhar o mapa.");
}

MapaCurvatura::~MapaCurvatura() = default;

// Copies the grids cleaned as LimpaMeridianos does, with a note for what was left out.
void MapaCurvatura::Prepara(const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                            const TMatrizAngAnel* dioptrias)
{
    if (!posicoes || !dioptrias || !aneis) {
        QStringList faltam;
        if (!posicoes)
            faltam << QStringLiteral("posições");
        if (!dioptrias)
            faltam << QStringLiteral("dioptrias");
        if (!aneis)
            faltam << QStringLiteral("anéis por meridiano");
        m_avisos << QStringLiteral("Dados do exame ausentes: %1.").arg(faltam.join(u", "));
        return;
    }
    const TLimpezaMeridianos limpeza = LimpaMeridianos(*posicoes, *aneis, *dioptrias, m_m[0], m_aneis[0], m_d[0]);
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        if (m_aneis[0][i] > 0)
            m_raioDados = std::max(m_raioDados, m_m[0][i][m_aneis[0][i]] * m_fator);
    if (limpeza.aneisInvalidos > 0)
        m_avisos << QStringLiteral("Número de anéis inválido em %1 meridianos (aceito de 0 a "
                                   "32): esses meridianos foram desconsiderados.")
                        .arg(limpeza.aneisInvalidos);
    if (limpeza.cortados > 0)
        m_avisos << QStringLiteral("Valores inválidos (dioptrias fora de 20 a 100 D ou "
                                   "posições fora de ordem) foram desconsiderados em %1 "
                                   "meridianos.")
                        .arg(limpeza.cortados);
    m_temDados = limpeza.comDados > 0;
}

void MapaCurvatura::Calcula()
{
    // Simulated keratometry from the axial values, whatever the map kind.
    std::unique_ptr<TMatrizAngAnel[]> fonte(new TMatrizAngAnel[1]);
    std::memcpy(fonte[0], m_d[0], sizeof(TMatrizAngAnel));
    try {
        TBFuncoesMapas axial(fonte[0], m_m[0], m_aneis[0], m_fator);
        axial.CalculaMapa(TBFuncoesMapas::MapaAxial);
        if (!axial.InterpolacaoCompleta())
            m_avisos << QStringLiteral("Problemas na interpolação dos valores de dioptria e/ou "
                                       "cálculo dos raios de curvatura.");
        try {
            axial.Ceratometria(m_ceratometria, 1.5);
            m_temCeratometria = std::isfinite(m_ceratometria.K1) && m_ceratometria.K1 > 0 &&
                                std::isfinite(m_ceratometria.K2) && m_ceratometria.K2 > 0;
        } catch (const ErroSistema&) {
            m_avisos << QStringLiteral("Ceratometria simulada indisponível: faltam dados na "
                                       "zona central de 3 mm.");
        }
        if (m_tipo == Axial) {
            for (int i = 1; i <= ZR_MERIDIANOS; ++i)
                for (int c = 0; c < kCelulas; ++c)
                    m_grade[size_t(i - 1) * kCelulas + c] = float(axial.Celula(i, c));
        }
    } catch (const ErroSistema& e) {
        m_avisos << e.Mensagem();
        m_temDados = false;
        return;
    }

    if (m_tipo == Tangencial) {
        TAneisMeridiano aneis;
        TangencialDasMatrizes(m_m[0], m_d[0], m_aneis[0], fonte[0], aneis);
        try {
            TBFuncoesMapas tangencial(fonte[0], m_m[0], aneis, m_fator);
            tangencial.CalculaMapa(TBFuncoesMapas::MapaAxial); // values already converted
            for (int i = 1; i <= ZR_MERIDIANOS; ++i)
                for (int c = 0; c < kCelulas; ++c)
                    m_grade[size_t(i - 1) * kCelulas + c] = float(tangencial.Celula(i, c));
        } catch (const ErroSistema& e) {
            m_avisos << e.Mensagem();
            m_temDados = false;
            return;
        }
    }

    double mn = std::numeric_limits<double>::infinity(), mx = -mn;
    for (float v : m_grade)
        if (v > 0.0f) {
            mn = std::min(mn, double(v));
            mx = std::max(mx, double(v));
        }
    if (mx >= mn) {
        m_minimo = mn;
        m_maximo = mx;
    } else {
        m_temDados = false;
    }
}

double MapaCurvatura::Celula(int meridiano, int celula) const
{
    if (meridiano < 1 || meridiano > ZR_MERIDIANOS || celula < 0 || celula >= kCelulas)
        return 0.0;
    return m_grade[size_t(meridiano - 1) * kCelulas + celula];
}

double MapaCurvatura::Valor(double xMm, double yMm) const
{
    if (!m_temDados)
        return kNaN;
    // Called for every pixel of a map: plain sqrt and the float arc tangent (a hundredth of
    // a degree is far below what the grid resolves).
    const double r = std::sqrt(xMm * xMm + yMm * yMm) / m_fator;
    if (!(r < kCelulas - 1))
        return kNaN;
    double ang = double(std::atan2(float(yMm), float(xMm))) * (180.0 / M_PI);
    if (ang < 0.0)
        ang += 360.0;
    const int m0 = int(std::floor(ang)); // meridian m0 (0 = 360) and the next one
    const double fa = ang - m0;
    const int ra = (m0 + 359) % 360;     // row of meridian m0
    const int rb = m0 % 360;             // row of meridian m0 + 1
    const int c0 = int(std::floor(r));
    const double fr = r - c0;
    const float* a = &m_grade[size_t(ra) * kCelulas];
    const float* b = &m_grade[size_t(rb) * kCelulas];
    const double v[4] = {a[c0], a[c0 + 1], b[c0], b[c0 + 1]};
    const double w[4] = {(1 - fa) * (1 - fr), (1 - fa) * fr, fa * (1 - fr), fa * fr};
    double soma = 0, peso = 0;
    for (int k = 0; k < 4; ++k)
        if (v[k] > 0.0) {
            soma += v[k] * w[k];
            peso += w[k];
        }
    // Near the edge of the data only the cells that hold values count; a point mostly
    // outside the data has none.
    if (peso < 0.5)
        return kNaN;
    return soma / peso;
}
