#include "platform/UJanelas.h"

namespace {
AberturaModal& Abertura()
{
    static AberturaModal abertura;
    return abertura;
}
} // namespace

int AbreJanelaModal(QDialog* janela)
{
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
