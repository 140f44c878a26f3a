#include "topography/UConfereExame.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDioptriaMin = 20.0, kDioptriaMax = 100.0;
constexpr double kFatorPadrao = 0.02;
} // namespace

std::unique_ptr<TExameConferido> ConfereExame(const TMatrizAngAnel* posicoes, const TMatrizAngAnel* dioptrias,
                                              const TAneisMeridiano* aneis, double fatorCorrecao)
{
    auto e = std::make_unique<TExameConferido>();
    if (std::isfinite(fatorCorrecao) && fatorCorrecao > 0.0) {
        e->fator = fatorCorrecao;
    } else {
        e->fator = kFatorPadrao;
        e->notas << QStringLiteral("Fator de correção inválido; usado %1 mm por pixel.").arg(kFatorPadrao);
    }
    if (!posicoes || !dioptrias || !aneis) {
        e->notas << QStringLiteral("O exame não trouxe os dados dos anéis.");
        return e;
    }
    bool contagem = false, valores = false;
    for (int k = 0; k < ZR_MERIDIANOS; ++k) {
        int n = (*aneis)[k];
        if (n < 0 || n > ZR_COLUNAS_ANEL - 1) {
            contagem = true;
            n = std::clamp(n, 0, ZR_COLUNAS_ANEL - 1);
        }
        const double* p = (*posicoes)[k];
        const double* d = (*dioptrias)[k];
        int ultima = 0;
        const auto potenciaBoa = [](double v) { return std::isfinite(v) && v >= kDioptriaMin && v <= kDioptriaMax; };
        if (n > 0 && potenciaBoa(d[0])) {
            for (int j = 1; j <= n; ++j) {
                if (!std::isfinite(p[j]) || !potenciaBoa(d[j]) || p[j] <= (j > 1 ? p[j - 1] : 0.0)) {
                    valores = true;
                    break;
                }
                ultima = j;
            }
        } else if (n > 0) {
            valores = true;
        }
        e->aneis[k] = ultima;
        for (int j = 0; j <= ultima; ++j) {
            e->posicoes[k][j] = p[j];
            e->dioptrias[k][j] = d[j];
        }
        if (ultima > 0)
            ++e->meridianosComDados;
    }
    if (contagem)
        e->notas << QStringLiteral("Contagem de anéis fora de 0 a 32; limitada.");
    if (valores)
        e->notas << QStringLiteral("Valores inválidos (não numéricos ou fora de 20 a 100 D) foram descartados.");
    if (!e->TemDados())
        e->notas << QStringLiteral("O exame não tem dados de anéis utilizáveis.");
    return e;
}

QString NotaTipoCone(const char* tipoCone)
{
    bool ok = false;
    if (tipoCone)
        QString::fromLatin1(tipoCone).trimmed().toInt(&ok);
    return ok ? QString() : QStringLiteral("Tipo de cone inválido (\"%1\"); ignorado.")
                                .arg(tipoCone ? QString::fromLatin1(tipoCone) : QString());
}
