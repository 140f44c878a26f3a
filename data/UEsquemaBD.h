#pragma once
// Creation of the system's database from the schema scripts (data/schema/*.sql, built into
// the library): the installer's database step and the tests' fresh databases use this.

#include <QString>
#include <QStringList>

namespace EsquemaBD {

// User and password of the database owner, as the data module connects.
QString Usuario();
QString SenhaPrincipal();

// The schema scripts in the order they run (resource paths).
QStringList Scripts();

// Splits an isql script into its statements: honours SET TERM, drops comments, the
// terminators and the isql-only SET commands; a COMMIT stays as its own statement.
QStringList DivideScript(const QString& texto);

// Creates the database file and runs every script. Refuses (ErroES) when the file already
// exists; a database left half-built by a failure is removed. Raises ErroBancoDados or
// ErroES with a readable text.
void CriaBancoDados(const QString& arquivo);

// Creates on an existing database the indices of the scripts it lacks (a database of an
// earlier version); returns their names.
QStringList CompletaIndices(const QString& arquivo);

// The installation step: creates "DATABASE.GDB" in the database folder unless one is
// already there (a clinic's database is never replaced, only given the indices it lacks).
// Returns the report line.
QString InstalaBancoDados(const QString& pastaBanco);

} // namespace EsquemaBD
