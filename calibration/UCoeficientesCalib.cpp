#include "calibration/UCoeficientesCalib.h"

#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "examfiles/UArquivosExame.h"

#include <QFileInfo>
#include <cmath>

namespace {

QString ArquivoNaPasta(const QString& pasta, const QString& nome)
{
    return pasta.endsWith(u'/') ? pasta + nome : pasta + u'/' + nome;
}

QStringList LeEsfera(const QString& pasta, int esfera)
{
    const QString nome = QStringLiteral("%1.txt").arg(esfera);
    const QString caminho = ArquivoNaPasta(pasta, nome);
    if (!QFileInfo(caminho).isFile())
        throw ErroES(QStringLiteral("Arquivo de calibração %1 não encontrado.").arg(nome));
    QStringList linhas = LeArquivoTexto(caminho);
    while (!linhas.isEmpty() && linhas.last().trimmed().isEmpty())
        linhas.removeLast();
    if (linhas.isEmpty())
        throw ErroCalibracao(QStringLiteral("O arquivo de calibração %1 está vazio.").arg(nome));
    return linhas;
}

double Valor(const QStringList& linhas, qsizetype indice, int esfera)
{
    try {
        return ConverteNumero(linhas[indice].trimmed());
    } catch (const ErroConversao& e) {
        throw ErroConversao(QStringLiteral("Arquivo de calibração %1.txt, linha %2: %3")
                                .arg(esfera)
                                .arg(indice + 1)
                                .arg(e.Mensagem()));
    }
}

} // namespace

TCoeficienteAnel AjustaAnel(const double (&x)[4], const double (&y)[4])
{
    double sx = 0, sy = 0, sxy = 0, syy = 0;
    for (int k = 0; k < 4; ++k) {
        sx += x[k];
        sy += y[k];
        sxy += x[k] * y[k];
        syy += y[k] * y[k];
    }
    const double g = 4.0 * syy - sy * sy;
    // Four equal measurements give G = 0 up to the last bits of the sums: no line.
    if (!std::isfinite(g) || std::fabs(g) <= 1e-12 * 4.0 * syy)
        throw ErroCalibracao(QStringLiteral("Os valores medidos das quatro esferas são iguais."));
    TCoeficienteAnel c;
    c.a = (syy * sx - sy * sxy) / g;
    c.b = (4.0 * sxy - sy * sx) / g;
    return c;
}

QList<TCoeficienteAnel> CalculaCoeficientes(const QString& pasta, int numAneis)
{
    QStringList esferas[4];
    for (int k = 0; k < 4; ++k)
        esferas[k] = LeEsfera(pasta, k + 1);

    double x[4];
    for (int k = 0; k < 4; ++k)
        x[k] = Valor(esferas[k], 0, k + 1);

    const qsizetype aneis = esferas[0].size() - 1;
    if (aneis == 0)
        throw ErroCalibracao(QStringLiteral("O arquivo de calibração 1.txt não tem anéis."));
    if (aneis > numAneis)
        throw ErroCalibracao(
            QStringLiteral("Os arquivos de calibração têm %1 anéis; a configuração usa %2.")
                .arg(aneis)
                .arg(numAneis));
    for (int k = 1; k < 4; ++k)
        if (esferas[k].size() - 1 < aneis)
            throw ErroCalibracao(
                QStringLiteral("O arquivo de calibração %1.txt tem menos anéis que o 1.txt.")
                    .arg(k + 1));

    QList<TCoeficienteAnel> coeficientes;
    for (qsizetype j = 1; j <= aneis; ++j) {
        double y[4];
        for (int k = 0; k < 4; ++k)
            y[k] = Valor(esferas[k], j, k + 1);
        try {
            coeficientes << AjustaAnel(x, y);
        } catch (const ErroCalibracao& e) {
            throw ErroCalibracao(QStringLiteral("Anel %1: %2").arg(j).arg(e.Mensagem()));
        }
    }
    return coeficientes;
}

QByteArray ConteudoCoeficientes(const QList<TCoeficienteAnel>& coeficientes, int numAneis)
{
    QStringList linhas;
    for (int j = 0; j < numAneis; ++j) {
        const TCoeficienteAnel c = j < coeficientes.size() ? coeficientes[j] : TCoeficienteAnel{};
        linhas << FormataGeral(c.a) << FormataGeral(c.b);
    }
    return ParaCp1252(JuntaLinhasCrLf(linhas));
}

bool GravaCoeficientes(const QString& pasta, int numAneis, QString* motivo)
{
    try {
        if (numAneis < 1 || numAneis > kMaxAneis)
            throw ErroCalibracao(QStringLiteral("Número de anéis inválido: %1.").arg(numAneis));
        const QByteArray conteudo =
            ConteudoCoeficientes(CalculaCoeficientes(pasta, numAneis), numAneis);
        GravaArquivoBytes(ArquivoNaPasta(pasta, QStringLiteral("Coef.txt")), conteudo);
        return true;
    } catch (const ErroSistema& e) {
        if (motivo)
            *motivo = e.Mensagem();
        return false;
    }
}
