#pragma once
// Owner of the Firebird services API: attaches to a service manager, starts a backup or a
// restore (gbak's logical backup, run by the engine itself) or a validation, and reads the
// service's output lines. A database name without a host reaches the embedded engine's
// own service manager, so the program can back up its database while it stays attached:
// the backup reads every row in one snapshot. With a host ("host:/path/DATABASE.GDB") the
// service of that server is used. Every failure raises ErroFirebird.

#include "data/UFirebird.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace fb {

class Servico {
public:
    Servico() = default;
    ~Servico();
    Servico(const Servico&) = delete;
    Servico& operator=(const Servico&) = delete;

    // Attaches to the service manager of the host of `nomeBanco` (none: the embedded one).
    void Anexa(const QString& nomeBanco, const QString& usuario, const QString& senha);
    void Desanexa();
    bool Anexado() const { return m_handle != 0; }

    // Starts a logical backup of the database into a file (a path of the machine that runs
    // the service).
    void IniciaBackup(const QString& banco, const QString& arquivo);
    // Starts a restore of a backup file into a new database file (never over an existing one).
    void IniciaRestauracao(const QString& arquivo, const QString& banco);
    // Starts a full validation of a database that nobody else has open.
    void IniciaValidacao(const QString& banco);

    // Reads the service's output until it ends; `linha` receives every line (may be empty).
    // Returns every line read.
    QStringList LeSaida(const std::function<void(const QString&)>& linha = {});

    // The whole operations: start, read the output to its end and check that the service
    // reported its end (a backup or restore cut short, e.g. by a truncated file, prints an
    // error line and stops without an error status). Raise ErroFirebird otherwise. A
    // validation that reports anything fails.
    void ExecutaBackup(const QString& banco, const QString& arquivo,
                       const std::function<void(const QString&)>& linha = {});
    void ExecutaRestauracao(const QString& arquivo, const QString& banco,
                            const std::function<void(const QString&)>& linha = {});
    void ExecutaValidacao(const QString& banco);
    // A logical backup sent by the service as a stream and written into a file of this
    // machine (a database on a server is copied to the local medium this way). `bloco` is
    // called after every block received.
    void ExecutaBackupFluxo(const QString& banco, const QString& arquivoLocal,
                            const std::function<void()>& bloco = {});

    // The host part of a database name ("host:" prefix), empty for a local file.
    static QString Host(const QString& nomeBanco);
    // The file part of a database name.
    static QString Arquivo(const QString& nomeBanco);

private:
    void Inicia(const QByteArray& pedido);
    unsigned int m_handle = 0;
};

} // namespace fb
