#include "navigator/UResultadosCaptura.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "examfiles/UArquivosExame.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace CapturaExame {

QString CodigoOlho(int olho) { return olho == kOlhoDireito ? QStringLiteral("OD") : QStringLiteral("OS"); }

QString NomeOlho(int olho)
{
    return olho == kOlhoDireito ? QStringLiteral("Olho Direito") : QStringLiteral("Olho Esquerdo");
}

bool ConfereResultado(ResultadoNormal& r, int numAneis)
{
    numAneis = std::clamp(numAneis, 0, kMaxAneis);
    if (!std::isfinite(r.centroX) || !std::isfinite(r.centroY) || !std::isfinite(r.indice))
        return false;
    for (int k = 0; k < ZR_MERIDIANOS; ++k) {
        r.aneis[k] = std::clamp<int32_t>(r.aneis[k], 0, numAneis);
        for (int j = 0; j <= r.aneis[k]; ++j)
            if (!std::isfinite(r.posicoes[k][j]) || !std::isfinite(r.dioptrias[k][j]))
                return false;
    }
    return true;
}

namespace {

const QRegularExpression& Espacos()
{
    static const QRegularExpression e(QStringLiteral("[ \\t]+"));
    return e;
}

QStringList Valores(const QString& linha) { return linha.split(Espacos(), Qt::SkipEmptyParts); }

// Every token of the lines is a finite number and no line holds more than `maximo` values.
bool NumerosValidos(const QStringList& linhas, int quantas, int maximo)
{
    for (int i = 0; i < quantas; ++i) {
        const QStringList v = Valores(linhas[i]);
        if (v.size() > maximo)
            return false;
        for (const QString& t : v) {
            try {
                if (!std::isfinite(ConverteNumero(t)))
                    return false;
            } catch (const ErroConversao&) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool LeResultadoOrto(const QStringList& posicoes, const QStringList& dioptrias,
                     const QStringList& valores, const double (&indices)[4], ResultadoOrto& r)
{
    if (posicoes.size() < kLinhasGradeOrto || dioptrias.size() < kLinhasGradeOrto ||
        valores.size() < kLinhasValoresOrto)
        return false;
    if (!NumerosValidos(posicoes, kLinhasGradeOrto, ZR_COLUNAS_ANEL) ||
        !NumerosValidos(dioptrias, kLinhasGradeOrto, ZR_COLUNAS_ANEL) ||
        !NumerosValidos(valores, kLinhasValoresOrto, 1))
        return false;
    double v[4][4];
    for (int k = 0; k < 4; ++k) {
        if (!std::isfinite(indices[k]))
            return false;
        for (int i = 0; i < 4; ++i) {
            const QStringList t = Valores(valores[4 * k + i]);
            if (t.isEmpty())
                return false;
            v[k][i] = ConverteNumero(t.first());
        }
    }
    r.posicoes = posicoes.mid(0, kLinhasGradeOrto);
    r.dioptrias = dioptrias.mid(0, kLinhasGradeOrto);
    for (int k = 0; k < 4; ++k) {
        std::memset(r.matPosicoes[k], 0, sizeof(TMatrizAngAnel));
        std::memset(r.matDioptrias[k], 0, sizeof(TMatrizAngAnel));
        LeMatrizTexto(r.posicoes, k * ZR_MERIDIANOS, r.matPosicoes[k]);
        LeMatrizTexto(r.dioptrias, k * ZR_MERIDIANOS, r.matDioptrias[k]);
        for (int i = 0; i < 4; ++i)
            r.valores[k][i] = v[k][i];
        r.indices[k] = indices[k];
    }
    return true;
}

QStringList BlocoOrto(const QStringList& texto, int bloco) { return texto.mid(bloco * ZR_MERIDIANOS, ZR_MERIDIANOS); }

QStringList LinhasArquivoAOrto(const QStringList& posicoes, int bloco, int numAneis)
{
    QStringList linhas = {QStringLiteral("320"), QStringLiteral("240"), QStringLiteral("@")};
    for (int i = 0; i < 4; ++i)
        linhas << QStringLiteral("0");
    const QStringList b = BlocoOrto(posicoes, bloco);
    for (int k = 0; k < ZR_MERIDIANOS; ++k) {
        const int n = k < b.size() ? int(Valores(b[k]).size()) : 0;
        linhas << QString::number(std::clamp(n - 1, 0, numAneis));
    }
    return linhas;
}

QByteArray BytesLinhas(const QStringList& linhas) { return ParaCp1252(JuntaLinhasCrLf(linhas)); }

namespace {
QStringList Inicio(const DadosCabecalho& d)
{
    return {d.nomePaciente,
            FormataNumero(QStringLiteral("0000"), d.codPaciente),
            d.rg + QLatin1Char(' '),
            NomeOlho(d.olho),
            FormataData(d.quando.date()),
            FormataHora(d.quando.time()),
            d.medico};
}
QString Inteiro(double v) { return QString::number(std::isfinite(v) ? ArredondaInteiro(v) : 0); }
} // namespace

QStringList CabecalhoExame(const DadosCabecalho& d, double indice)
{
    return Inicio(d) << QStringLiteral("0") << Inteiro(indice) << d.bancoDados << Inteiro(indice) << d.bancoDados;
}

QStringList CabecalhoExameOrto(const DadosCabecalho& d, double indice)
{
    return Inicio(d) << Inteiro(indice) << d.bancoDados;
}

} // namespace CapturaExame
