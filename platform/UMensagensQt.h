#pragma once
// Message boxes on screen, over the active window.

#include "platform/UMensagens.h"

class MensagensQt : public ServicoMensagens {
public:
    RespostaMensagem Mostra(const QString& titulo, const QString& texto, IconeMensagem icone,
                            BotoesMensagem botoes, PadraoMensagem padrao) override;
};
