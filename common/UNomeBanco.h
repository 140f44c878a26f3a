#pragma once
// A database name as the settings give it: a file of this machine ("/dados/Banco de Dados"),
// or a file on a Firebird server, named with the server in front as the Firebird client
// expects it: "servidor:/srv/clinica", "servidor/3051:/srv/clinica", "192.168.0.10:/srv",
// "[fe80::1]/3051:/srv". A Windows drive letter ("C:\Dados") is a path, not a server.

#include <QString>

namespace NomeBanco {

// The server prefix of the name ("servidor", "servidor/3051", "[::1]"), empty when the name
// is a path of this machine. This is the one place that decides between the two.
QString Servidor(const QString& nome);
inline bool EhServidor(const QString& nome) { return !Servidor(nome).isEmpty(); }
// The path part: the whole name for a local file, what follows "servidor:" otherwise.
QString Arquivo(const QString& nome);
// The server name without the port, for messages ("servidor", "::1").
QString Maquina(const QString& nome);

} // namespace NomeBanco
