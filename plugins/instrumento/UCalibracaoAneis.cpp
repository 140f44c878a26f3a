#include "plugins/instrumento/UCalibracaoAneis.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"

#include <QFileInfo>
#include <cmath>

namespace Instrumento {

int CoeficientesAneis::Calibrados() const
{
    int n = 0;
    while (n < static_cast<int>(b.size()) && std::isfinite(a[n]) && std::isfinite(b[n]) && b[n] > 0.0)
        ++n;
    return n;
}

bool LeNumeroTexto(const QString& texto, double& valor)
{
    QString t = texto.trimmed();
    if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.')))
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty() || !TentaReal(t, valor))
        return false;
    return std::isfinite(valor);
}

bool LeCoeficientes(const QStringList& linhas, int numAneis, CoeficientesAneis& coef, QString* erro)
{
    auto falha = [&](const QString& texto) {
        if (erro)
            *erro = texto;
        return false;
    };
    if (linhas.size() < 2 * numAneis)
        return falha(QStringLiteral("Arquivo de calibração incompleto: %1 linhas para %2 anéis.")
                         .arg(linhas.size())
                         .arg(numAneis));
    CoeficientesAneis c;
    for (int j = 0; j < numAneis; ++j) {
        double a, b;
        if (!LeNumeroTexto(linhas[2 * j], a) || !LeNumeroTexto(linhas[2 * j + 1], b))
            return falha(QStringLiteral("Arquivo de calibração com valor inválido no anel %1.").arg(j + 1));
        c.a.push_back(a);
        c.b.push_back(b);
    }
    if (c.Calibrados() == 0)
        return falha(QStringLiteral("O arquivo de calibração não calibra nenhum anel."));
    coef = c;
    return true;
}

bool LeArquivoCoeficientes(const QString& arquivo, int numAneis, CoeficientesAneis& coef, QString* erro)
{
    if (!QFileInfo(arquivo).isFile()) {
        if (erro)
            *erro = QStringLiteral("Arquivo de calibração não encontrado: %1").arg(arquivo);
        return false;
    }
    try {
        return LeCoeficientes(LeArquivoTexto(arquivo), numAneis, coef, erro);
    } catch (const ErroSistema& e) {
        if (erro)
            *erro = e.Mensagem();
        return false;
    }
}

void ConverteDioptrias(const MedidaAneis& medida, const CoeficientesAneis& coef,
                       TMatrizAngAnel& dioptrias, TAneisMeridiano& aneis)
{
    const int calibrados = std::min(coef.Calibrados(), medida.numAneis);
    for (int k = 0; k < 360; ++k) {
        for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
            dioptrias[k][j] = 0.0;
        int n = std::min(medida.aneis[k], calibrados);
        for (int j = 1; j <= n; ++j) {
            const double raio = coef.a[j - 1] + coef.b[j - 1] * medida.raio[k][j];
            if (!(raio > 0.5) || !std::isfinite(raio)) {
                n = j - 1;
                break;
            }
            dioptrias[k][j] = 337.5 / raio;
        }
        for (int j = n + 1; j < ZR_COLUNAS_ANEL; ++j)
            dioptrias[k][j] = 0.0;
        dioptrias[k][0] = n > 0 ? dioptrias[k][1] : 0.0;
        aneis[k] = n;
    }
}

bool ResultadoPlausivel(const MedidaAneis& medida, const CoeficientesAneis& coef,
                        const TAneisMeridiano& aneis)
{
    bool algumAnel = false;
    for (int k = 0; k < 360; ++k)
        algumAnel = algumAnel || aneis[k] > 0;
    if (!algumAnel)
        return false;
    const int calibrados = std::min(coef.Calibrados(), medida.numAneis);
    for (int j = 1; j <= calibrados; ++j) {
        double soma = 0.0;
        int n = 0;
        for (int k = 0; k < 360; ++k)
            if (medida.aneis[k] >= j) {
                soma += medida.raio[k][j];
                ++n;
            }
        if (n == 0)
            continue;
        const double raio = coef.a[j - 1] + coef.b[j - 1] * (soma / n);
        if (!std::isfinite(raio) || raio < kRaioCurvaturaMin || raio > kRaioCurvaturaMax)
            return false;
    }
    return true;
}

bool TextoEsfera(double raioReferencia, const MedidaAneis& medida, QStringList& linhas)
{
    QStringList saida{FormataGeral(raioReferencia)};
    for (int j = 1; j <= medida.numAneis; ++j) {
        double soma = 0.0;
        int n = 0;
        for (int k = 0; k < 360; ++k) {
            if (medida.aneis[k] >= j) {
                soma += medida.raio[k][j];
                ++n;
            }
        }
        if (n == 0)
            return false;
        saida << FormataGeral(soma / n);
    }
    linhas = saida;
    return true;
}

} // namespace Instrumento
