#pragma once
// The only way the system shows a message box. Forms and logic call Mensagem(); the program
// installs the Qt service at start, tests install MensagensRoteiro, which records every
// message and answers from a queue.

#include <QList>
#include <QString>

enum class IconeMensagem { Nenhum, Informacao, Atencao, Erro, Pergunta };
enum class BotoesMensagem { Ok, OkCancelar, SimNao, SimNaoCancelar };
enum class RespostaMensagem { Ok, Cancelar, Sim, Nao };
// The button Enter presses: the first one, or "Não" for questions that destroy something.
enum class PadraoMensagem { Primeiro, Nao };

class ServicoMensagens {
public:
    virtual ~ServicoMensagens() = default;
    virtual RespostaMensagem Mostra(const QString& titulo, const QString& texto,
                                    IconeMensagem icone, BotoesMensagem botoes,
                                    PadraoMensagem padrao) = 0;
};

// Shows a message through the installed service. Without a service (a batch tool, a test
// that installed none) the message goes to the standard error output and the default button
// is the answer.
RespostaMensagem Mensagem(const QString& titulo, const QString& texto,
                          IconeMensagem icone = IconeMensagem::Nenhum,
                          BotoesMensagem botoes = BotoesMensagem::Ok,
                          PadraoMensagem padrao = PadraoMensagem::Primeiro);

// Installs a service (nullptr removes it) and returns the previous one. The caller keeps
// ownership.
ServicoMensagens* InstalaServicoMensagens(ServicoMensagens* servico);

// Scripted service for tests: answers from a queue and records every message. A message
// that finds the queue empty is recorded as unexpected and answered with the first button.
class MensagensRoteiro : public ServicoMensagens {
public:
    struct Registro {
        QString titulo, texto;
        IconeMensagem icone;
        BotoesMensagem botoes;
        RespostaMensagem resposta;
        bool esperada;
        PadraoMensagem padrao;
    };

    MensagensRoteiro();             // installs itself
    ~MensagensRoteiro() override;   // puts the previous service back

    void Responde(RespostaMensagem resposta) { m_respostas << resposta; }
    const QList<Registro>& Registros() const { return m_registros; }
    QStringList Textos() const;
    QStringList Inesperadas() const;
    void Limpa() { m_registros.clear(); m_respostas.clear(); }

    RespostaMensagem Mostra(const QString& titulo, const QString& texto, IconeMensagem icone,
                            BotoesMensagem botoes, PadraoMensagem padrao) override;

private:
    QList<RespostaMensagem> m_respostas;
    QList<Registro> m_registros;
    ServicoMensagens* m_anterior;
};
