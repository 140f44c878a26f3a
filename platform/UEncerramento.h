#pragma once
// A clean stop on the signals that end a session (SIGTERM at logout or shutdown, SIGINT,
// SIGHUP): the handler only wakes the event loop, which then emits Pedido, so the program
// closes its windows and ends the way a user's "Sair" does.

#include <QObject>

class QSocketNotifier;

class EncerramentoPorSinal : public QObject {
    Q_OBJECT
public:
    explicit EncerramentoPorSinal(QObject* pai = nullptr);
    ~EncerramentoPorSinal() override;

    // Puts this program's handlers back: a library (the embedded database engine) may have
    // replaced them with its own. Does nothing when no instance exists.
    static void Reinstala();

signals:
    void Pedido(int sinal);

private:
    void Le();
    QSocketNotifier* m_notificador = nullptr;
};
