#pragma once
// Single-instance guard. A running program announces itself under its title through a
// per-user local socket; another program looks for a title, asks the program holding it to
// show its window, and learns whether one answered.

#include <QObject>
#include <QString>

class QLocalServer;

// Looks for a running program with this title; when one answers, asks it to show itself
// and returns true.
bool MostraInstanciaAtiva(const QString& titulo, int esperaMs = 1000);

// Announces this program under a title and emits MostrarPedido when another program asks
// it to show itself.
class AnuncioInstancia : public QObject {
    Q_OBJECT
public:
    explicit AnuncioInstancia(const QString& titulo, QObject* pai = nullptr);
    ~AnuncioInstancia() override;
    bool Ativo() const;

signals:
    void MostrarPedido();

private:
    QLocalServer* m_servidor;
};

// The local socket name of a title for the current user.
QString NomeSocketInstancia(const QString& titulo);
