#include "plugins/instrumento/UCalibracaoAneis.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"

#include <QFileInfo>
#include <array>
#include <cmath>

namespace Instrumento {

namespace {

constexpr double kCurvaturaMaxima = 0.01; // 1/mm

// A file of the calibration folder, whether or not the folder's name ends in a separator.
QString ArquivoNaPasta(const QString& pasta, const QString& nome)
{
    if (pasta.endsWith(QLatin1Char('/')) || pasta.endsWith(QLatin1Char('\\')))
        return pasta + nome;
    return pasta + QLatin1Char('/') + nome;
}

} // namespace

int CoeficientesAneis::Calibrados() const
{
    int n = 0;
    while (n < static_cast<int>(b.size()) && std::isfinite(a[n]) && std::isfinite(b[n]) && b[n] > 0.0)
        ++n;
    return n;
}

double CoeficientesAneis::Raio(int anel, double r) const
{
    const std::size_t j = static_cast<std::size_t>(anel - 1);
    const double x = a[j] + b[j] * r;
    if (curvatura == 0.0 || j >= alfa.size())
        return x;
    return x + curvatura * ((x - raioMedio) * (x - raioMedio) - alfa[j] - beta[j] * x);
}

bool RefinaComEsferas(const QStringList (&esferas)[4], CoeficientesAneis& coef, QString* motivo)
{
    auto falha = [&](const QString& texto) {
        if (motivo)
            *motivo = texto;
        return false;
    };
    const int n = coef.Calibrados();
    double referencia[4];
    std::vector<std::array<double, 4>> x(n), residuo(n);
    for (int s = 0; s < 4; ++s) {
        const QStringList& linhas = esferas[s];
        if (linhas.size() < n + 1)
            return falha(QStringLiteral("O arquivo de calibração %1.txt tem menos anéis que o Coef.txt.").arg(s + 1));
        if (!LeNumeroTexto(linhas[0], referencia[s]) || referencia[s] < kRaioEsferaMin || referencia[s] > kRaioEsferaMax)
            return falha(QStringLiteral("Raio de referência inválido no arquivo de calibração %1.txt.").arg(s + 1));
        for (int j = 0; j < n; ++j) {
            double r;
            if (!LeNumeroTexto(linhas[j + 1], r) || !(r > 0.0))
                return falha(QStringLiteral("Valor inválido no arquivo de calibração %1.txt, anel %2.").arg(s + 1).arg(j + 1));
            x[j][s] = coef.a[j] + coef.b[j] * r;
            residuo[j][s] = referencia[s] - x[j][s];
            // Files measured for these lines lie on them to a few micrometres.
            if (std::abs(residuo[j][s]) > 0.02)
                return falha(QStringLiteral("Os arquivos de calibração das esferas não correspondem ao Coef.txt."));
        }
    }
    double raioMedio = 0.0;
    for (double r : referencia)
        raioMedio += r / 4.0;
    // Per ring, the square about the mean radius less its own line over the four spheres;
    // the bend is the least-squares multiple of that rest through all rings' residuals.
    std::vector<double> alfa(n), beta(n);
    double num = 0.0, den = 0.0;
    for (int j = 0; j < n; ++j) {
        double sx = 0, sq = 0, sxx = 0, sxq = 0;
        double q[4];
        for (int s = 0; s < 4; ++s) {
            q[s] = (x[j][s] - raioMedio) * (x[j][s] - raioMedio);
            sx += x[j][s];
            sq += q[s];
            sxx += x[j][s] * x[j][s];
            sxq += x[j][s] * q[s];
        }
        const double g = 4.0 * sxx - sx * sx;
        if (!(g > 1e-9))
            return falha(QStringLiteral("As esferas de referência da calibração são iguais."));
        beta[j] = (4.0 * sxq - sx * sq) / g;
        alfa[j] = (sq - beta[j] * sx) / 4.0;
        for (int s = 0; s < 4; ++s) {
            const double resto = q[s] - alfa[j] - beta[j] * x[j][s];
            num += resto * residuo[j][s];
            den += resto * resto;
        }
    }
    if (!(den > 0.0) || !std::isfinite(num / den))
        return falha(QStringLiteral("As esferas de referência da calibração são iguais."));
    // The cone's bend is a few ten-thousandths per mm; spheres of nearly one radius leave
    // the square's rest so small that noise would pass for a bend far beyond that.
    if (std::abs(num / den) > kCurvaturaMaxima)
        return falha(QStringLiteral("As esferas de referência da calibração estão próximas demais."));
    coef.curvatura = num / den;
    coef.raioMedio = raioMedio;
    coef.alfa = std::move(alfa);
    coef.beta = std::move(beta);
    return true;
}

bool RefinaComArquivosEsferas(const QString& pasta, CoeficientesAneis& coef, QString* motivo)
{
    QStringList esferas[4];
    for (int s = 0; s < 4; ++s) {
        const QString arquivo = ArquivoNaPasta(pasta, QStringLiteral("%1.txt").arg(s + 1));
        if (!QFileInfo(arquivo).isFile()) {
            if (motivo)
                *motivo = QStringLiteral("Arquivo de calibração não encontrado: %1").arg(arquivo);
            return false;
        }
        try {
            esferas[s] = LeArquivoTexto(arquivo);
        } catch (const ErroSistema& e) {
            if (motivo)
                *motivo = e.Mensagem();
            return false;
        }
    }
    return RefinaComEsferas(esferas, coef, motivo);
}

bool LeCalibracao(const QString& pasta, int numAneis, CoeficientesAneis& coef, QString* erro)
{
    if (pasta.isEmpty()) {
        if (erro)
            *erro = QStringLiteral("Pasta de calibração não informada.");
        return false;
    }
    if (!LeArquivoCoeficientes(ArquivoNaPasta(pasta, QStringLiteral("Coef.txt")), numAneis, coef, erro))
        return false;
    RefinaComArquivosEsferas(pasta, coef);
    return true;
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
            const double raio = coef.Raio(j, medida.raio[k][j]);
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
        const double raio = coef.Raio(j, soma / n);
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
