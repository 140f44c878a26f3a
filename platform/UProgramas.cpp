#include "platform/UProgramas.h"

#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace {
ExecucaoPrograma& Execucao()
{
    static ExecucaoPrograma execucao;
    return execucao;
}
} // namespace

QString IniciaPrograma(const QString& programa, const QStringList& argumentos)
{
    if (Execucao())
        return Execucao()(programa, argumentos);
    // A name without a folder is looked up in the PATH first, so that a missing tool is told
    // with the system's own text instead of the toolkit's.
    if (programa.isEmpty() || (!programa.contains(u'/') && QStandardPaths::findExecutable(programa).isEmpty()))
        return QString::fromLocal8Bit(std::strerror(ENOENT)) + QStringLiteral(": \"") + programa + u'"';
    QProcess processo;
    processo.setProgram(programa);
    processo.setArguments(argumentos);
    processo.setStandardInputFile(QProcess::nullDevice());
    if (processo.startDetached())
        return QString();
    const QString erro = processo.errorString();
    return erro.isEmpty() ? QString::fromLocal8Bit(std::strerror(ENOENT)) : erro;
}

ExecucaoPrograma DefineExecucaoPrograma(ExecucaoPrograma execucao)
{
    ExecucaoPrograma anterior = std::move(Execucao());
    Execucao() = std::move(execucao);
    return anterior;
}
