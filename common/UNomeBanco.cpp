#include "common/UNomeBanco.h"

#include <QRegularExpression>

namespace NomeBanco {

QString Servidor(const QString& nome)
{
    // A host name or IPv4 address, or an IPv6 address in brackets, then an optional
    // "/port" (number or service name), then the colon. One letter before the colon is a
    // Windows drive, never a host.
    static const QRegularExpression prefixo(QStringLiteral(
        "^((?:[A-Za-z0-9][A-Za-z0-9._-]+|\\[[0-9A-Fa-f:.%A-Za-z]+\\])(?:/[A-Za-z0-9_-]+)?):"));
    const QRegularExpressionMatch m = prefixo.match(nome);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString Arquivo(const QString& nome)
{
    const QString servidor = Servidor(nome);
    return servidor.isEmpty() ? nome : nome.mid(servidor.size() + 1);
}

QString Maquina(const QString& nome)
{
    QString s = Servidor(nome);
    const qsizetype barra = s.indexOf(u'/');
    if (barra >= 0)
        s.truncate(barra);
    if (s.startsWith(u'[') && s.endsWith(u']'))
        s = s.mid(1, s.size() - 2);
    return s;
}

} // namespace NomeBanco
