#include "platform/UMensagens.h"

#include <QStringList>
#include <cstdio>

namespace {
ServicoMensagens* g_servico = nullptr;

RespostaMensagem PrimeiroBotao(BotoesMensagem botoes)
{
    return botoes == BotoesMensagem::Ok || botoes == BotoesMensagem::OkCancelar
        ? RespostaMensagem::Ok
        : RespostaMensagem::Sim;
}
} // namespace

RespostaMensagem Mensagem(const QString& titulo, const QString& texto, IconeMensagem icone,
                          BotoesMensagem botoes, PadraoMensagem padrao)
{
    if (g_servico)
        return g_servico->Mostra(titulo, texto, icone, botoes, padrao);
    std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(titulo), qUtf8Printable(texto));
    const bool temNao = botoes == BotoesMensagem::SimNao || botoes == BotoesMensagem::SimNaoCancelar;
    return padrao == PadraoMensagem::Nao && temNao ? RespostaMensagem::Nao : PrimeiroBotao(botoes);
}

ServicoMensagens* InstalaServicoMensagens(ServicoMensagens* servico)
{
    ServicoMensagens* anterior = g_servico;
    g_servico = servico;
    return anterior;
}

MensagensRoteiro::MensagensRoteiro() : m_anterior(InstalaServicoMensagens(this)) {}

MensagensRoteiro::~MensagensRoteiro() { InstalaServicoMensagens(m_anterior); }

RespostaMensagem MensagensRoteiro::Mostra(const QString& titulo, const QString& texto,
                                          IconeMensagem icone, BotoesMensagem botoes,
                                          PadraoMensagem padrao)
{
    const bool esperada = !m_respostas.isEmpty();
    const RespostaMensagem resposta = esperada ? m_respostas.takeFirst() : PrimeiroBotao(botoes);
    m_registros.append({titulo, texto, icone, botoes, resposta, esperada, padrao});
    return resposta;
}

QStringList MensagensRoteiro::Textos() const
{
    QStringList r;
    for (const Registro& m : m_registros)
        r << m.texto;
    return r;
}

QStringList MensagensRoteiro::Inesperadas() const
{
    QStringList r;
    for (const Registro& m : m_registros)
        if (!m.esperada)
            r << m.titulo + QStringLiteral(": ") + m.texto;
    return r;
}
