#include "platform/UInstancia.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {
const QByteArray kPedidoMostrar = "MOSTRAR\n";
}

QString NomeSocketInstancia(const QString& titulo)
{
    return QStringLiteral("zr-janela-%1-%2").arg(titulo).arg(getuid());
}

bool MostraInstanciaAtiva(const QString& titulo, int esperaMs)
{
    QLocalSocket socket;
    socket.connectToServer(NomeSocketInstancia(titulo));
    if (!socket.waitForConnected(esperaMs))
        return false;
    socket.write(kPedidoMostrar);
    socket.waitForBytesWritten(esperaMs);
    socket.disconnectFromServer();
    return true;
}

AnuncioInstancia::AnuncioInstancia(const QString& titulo, QObject* pai)
    : QObject(pai), m_servidor(new QLocalServer(this))
{
    const QString nome = NomeSocketInstancia(titulo);
    m_servidor->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_servidor->listen(nome)) {
        // A socket left behind by a program that ended abnormally: nobody answers on it.
        QLocalSocket teste;
        teste.connectToServer(nome);
        if (!teste.waitForConnected(200)) {
            QLocalServer::removeServer(nome);
            m_servidor->listen(nome);
        }
    }
    connect(m_servidor, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_servidor->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains(kPedidoMostrar))
                    emit MostrarPedido();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

AnuncioInstancia::~AnuncioInstancia() = default;

bool AnuncioInstancia::Ativo() const { return m_servidor->isListening(); }
