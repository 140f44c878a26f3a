#pragma once
// Starting the desktop's tools and other programs without waiting for them. Every start goes
// through here, so that tests can replace it and see what was asked.

#include <QString>
#include <QStringList>
#include <functional>

// Starts a program with its arguments, detached, with a normal window. Empty when it was
// started, otherwise the system's text of why it was not.
QString IniciaPrograma(const QString& programa, const QStringList& argumentos = {});

using ExecucaoPrograma = std::function<QString(const QString& programa, const QStringList& argumentos)>;
// Replaces how programs are started (an empty function restores the real start); returns
// the previous one.
ExecucaoPrograma DefineExecucaoPrograma(ExecucaoPrograma execucao);
