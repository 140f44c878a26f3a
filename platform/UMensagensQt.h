#pragma once
// Message boxes on screen, over the active window.

#include "platform/UMensagens.h"

class QDialog;

class MensagensQt : public ServicoMensagens {
public:
    RespostaMensagem Mostra(const QString& titulo, const QString& texto, IconeMensagem icone,
                            BotoesMensagem botoes, PadraoMensagem padrao) override;
};

// Runs a module's dialog modally with its messages on screen (the host's message service is
// given back after); the dialog's result.
int ExecutaComMensagensQt(QDialog& dialogo);
