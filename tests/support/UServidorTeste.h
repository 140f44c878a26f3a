#pragma once
// A real Firebird server for the tests of several workstations: Debian's server program run
// as a child process in a temporary folder, with its own firebird.conf (a free port on
// 127.0.0.1 only), its own lock folder and its own security database whose SYSDBA password
// the test chooses. The packaged service, if one runs, is never used nor touched. The
// server stops with this object (also when the test fails) and dies with the test process.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class ServidorTeste {
public:
    explicit ServidorTeste(const QString& senhaSysdba);
    ~ServidorTeste();

    // The server program is installed (package firebird3.0-server).
    static bool Instalado();

    // Lays out the folder and the security database, then starts the server and waits
    // until it accepts connections. False with Erro() otherwise.
    bool Inicia();
    // Stops the server (its files stay, so Inicia can start it again on the same port).
    void Para();
    bool Ativo() const { return m_processo.state() == QProcess::Running; }
    const QString& Erro() const { return m_erro; }

    int Porta() const { return m_porta; }
    QString Pasta() const { return m_pasta.path(); }
    // A database file name as a workstation writes it: "host/port:/folder/arquivo".
    QString NomeRemoto(const QString& arquivo, const QString& host = QStringLiteral("127.0.0.1")) const;
    // Creates the system's database in the folder through the installer code (before the
    // server opens it) and returns its local path.
    QString CriaBancoSistema(const QString& nome = QStringLiteral("DATABASE.GDB"));

private:
    bool PreparaPasta();
    QTemporaryDir m_pasta;
    QString m_senha;
    QProcess m_processo;
    int m_porta = 0;
    bool m_preparada = false;
    QString m_erro;
};
