#include "platform/UJanelas.h"

namespace {
AberturaModal& Abertura()
{
    static AberturaModal abertura;
    return abertura;
}
} // namespace

void BotoesDeDialogo(QWidget* janela)
{
    const Qt::WindowFlags f = janela->windowFlags();
    const Qt::WindowType tipo = janela->windowType();
    if ((tipo != Qt::Dialog && tipo != Qt::Tool) || (f & Qt::FramelessWindowHint) ||
        (f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)))
        return;
    const bool visivel = janela->isVisible();
    janela->setWindowFlags(f | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    if (visivel)
        janela->show();
}

int AbreJanelaModal(QDialog* janela)
{
    BotoesDeDialogo(janela);
    if (Abertura())
        return Abertura()(janela);
    return janela->exec();
}

AberturaModal DefineAberturaModal(AberturaModal abertura)
{
    AberturaModal anterior = std::move(Abertura());
    Abertura() = std::move(abertura);
    return anterior;
}
