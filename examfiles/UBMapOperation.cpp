#include "examfiles/UBMapOperation.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "examfiles/UArquivosExame.h"
#include "platform/UMensagens.h"

#include <QFileInfo>
#include <cstdint>
#include <cstring>

namespace {

void Zera(TBMapOperation::Exame& e)
{
    std::memset(static_cast<void*>(&e), 0, sizeof e);
}

bool ArquivoAusente(const QString& caminho, const char* nome)
{
    if (QFileInfo(caminho).isFile())
        return false;
    Mensagem(QStringLiteral("Erro"),
             QStringLiteral("Arquivo %1 não encontrado!").arg(QLatin1String(nome)),
             IconeMensagem::Erro, BotoesMensagem::Ok);
    return true;
}

// d.txt or m.txt: line k is meridian k; a short file leaves its last meridians empty.
void LeMatriz(const QString& caminho, const char* nome, TMatrizAngAnel& destino, QChar separador)
{
    const QStringList linhas = LeArquivoExame(caminho);
    const qsizetype n = qMin<qsizetype>(linhas.size(), ZR_MERIDIANOS);
    for (qsizetype k = 0; k < n; ++k) {
        try {
            LeLinhaMatriz(linhas[k], destino[k], separador);
        } catch (const ErroConversao& e) {
            throw ErroConversao(QStringLiteral("Arquivo %1, linha %2: %3")
                                    .arg(QLatin1String(nome))
                                    .arg(k + 1)
                                    .arg(e.Mensagem()));
        }
    }
}

int32_t LeInteiro(const QStringList& linhas, qsizetype indice, int minimo, int maximo,
                  const char* oque)
{
    const QString local = QStringLiteral("Arquivo a.txt, linha %1").arg(indice + 1);
    if (indice >= linhas.size())
        throw ErroConversao(local + QStringLiteral(": o arquivo termina antes do esperado."));
    int32_t valor = 0;
    if (!TentaInteiro(linhas[indice].trimmed(), valor))
        throw ErroConversao(local + QStringLiteral(": %1 não é um valor inteiro válido.")
                                        .arg(CitaValor(linhas[indice])));
    if (valor < minimo || valor > maximo)
        throw ErroConversao(local + QStringLiteral(": %1 inválido (%2).")
                                        .arg(QString::fromUtf8(oque))
                                        .arg(valor));
    return valor;
}

double LeReal(const QStringList& linhas, qsizetype indice, QChar separador)
{
    const QString local = QStringLiteral("Arquivo a.txt, linha %1").arg(indice + 1);
    if (indice >= linhas.size())
        throw ErroConversao(local + QStringLiteral(": o arquivo termina antes do esperado."));
    try {
        return ConverteNumero(linhas[indice].trimmed(), separador);
    } catch (const ErroConversao& e) {
        throw ErroConversao(local + QStringLiteral(": ") + e.Mensagem());
    }
}

// a.txt in either layout: with the "@" line the pupil follows, without it the counts begin
// on line 3 and the pupil reads as zeros.
void LeArquivoA(const QString& caminho, TBMapOperation::Exame& e, QChar separador)
{
    const QStringList linhas = LeArquivoExame(caminho);
    e.centroX = LeReal(linhas, 0, separador);
    e.centroY = LeReal(linhas, 1, separador);
    qsizetype linha = 2;
    if (linhas.size() > 2 && linhas[2].trimmed() == u"@") {
        for (int k = 0; k < 4; ++k)
            e.pupila[k] = LeInteiro(linhas, 3 + k, INT32_MIN, INT32_MAX, "valor de pupila");
        linha = 7;
    } else {
        for (int k = 0; k < 4; ++k)
            e.pupila[k] = 0;
    }
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        e.aneis[i] = LeInteiro(linhas, linha + i, 0, kMaxAneis, "número de anéis");
}

} // namespace

TBMapOperation::TBMapOperation()
    : m_exame(std::make_unique<Exame>()), m_leitura(std::make_unique<Exame>())
{
    Zera(*m_exame);
}

TBMapOperation::~TBMapOperation() = default;

bool TBMapOperation::CarregaExame(const QString& prefixo, QChar separador)
{
    m_arquivoM = prefixo + QStringLiteral("m.txt");
    m_arquivoD = prefixo + QStringLiteral("d.txt");
    m_arquivoA = prefixo + QStringLiteral("a.txt");

    // Whatever happens below, what was loaded before is gone.
    Zera(*m_exame);
    Exame& e = *m_leitura;
    Zera(e);

    if (ArquivoAusente(m_arquivoM, "m.txt"))
        return false;
    LeMatriz(m_arquivoM, "m.txt", e.m, separador);
    if (ArquivoAusente(m_arquivoD, "d.txt"))
        return false;
    LeMatriz(m_arquivoD, "d.txt", e.d, separador);
    if (ArquivoAusente(m_arquivoA, "a.txt"))
        return false;
    LeArquivoA(m_arquivoA, e, separador);

    // Copied, not swapped: references handed out before stay on the held examination.
    std::memcpy(static_cast<void*>(m_exame.get()), m_leitura.get(), sizeof(Exame));
    return true;
}

void TBMapOperation::CopiaDioptrias(TMatrizAngAnel& destino) const
{
    std::memcpy(destino, m_exame->d, sizeof(TMatrizAngAnel));
}

void TBMapOperation::CopiaPosicoes(TMatrizAngAnel& destino) const
{
    std::memcpy(destino, m_exame->m, sizeof(TMatrizAngAnel));
}

void TBMapOperation::CopiaAneis(TAneisMeridiano& destino) const
{
    std::memcpy(destino, m_exame->aneis, sizeof(TAneisMeridiano));
}

void TBMapOperation::CopiaPupila(TDadosPupila& destino) const
{
    std::memcpy(destino, m_exame->pupila, sizeof(TDadosPupila));
}
