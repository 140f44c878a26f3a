#include "platform/UEncerramento.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_tubo[2] = {-1, -1};
EncerramentoPorSinal* g_instancia = nullptr;
constexpr int kSinais[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void TrataSinal(int sinal)
{
    const int erro = errno;
    const unsigned char byte = static_cast<unsigned char>(sinal);
    [[maybe_unused]] const auto escrito = ::write(g_tubo[1], &byte, 1);
    errno = erro;
}

void InstalaTratadores()
{
    struct sigaction acao = {};
    acao.sa_handler = TrataSinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    for (int s : kSinais)
        ::sigaction(s, &acao, nullptr);
}

} // namespace

EncerramentoPorSinal::EncerramentoPorSinal(QObject* pai) : QObject(pai)
{
    if (g_instancia || ::pipe2(g_tubo, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_instancia = this;
    m_notificador = new QSocketNotifier(g_tubo[0], QSocketNotifier::Read, this);
    connect(m_notificador, &QSocketNotifier::activated, this, &EncerramentoPorSinal::Le);
    InstalaTratadores();
}

EncerramentoPorSinal::~EncerramentoPorSinal()
{
    if (g_instancia != this)
        return;
    for (int s : kSinais)
        ::signal(s, SIG_DFL);
    delete m_notificador;
    ::close(g_tubo[0]);
    ::close(g_tubo[1]);
    g_tubo[0] = g_tubo[1] = -1;
    g_instancia = nullptr;
}

void EncerramentoPorSinal::Reinstala()
{
    if (g_instancia)
        InstalaTratadores();
}

void EncerramentoPorSinal::Le()
{
    unsigned char byte = 0;
    int ultimo = 0;
    while (::read(g_tubo[0], &byte, 1) == 1)
        ultimo = byte;
    if (ultimo)
        emit Pedido(ultimo);
}
