#pragma once
// Everything a database holds, as text for comparison: every user table's rows (every
// column, blobs as hexadecimal) in key order, and every user generator's value. Read through
// an attachment of its own, so it sees what is committed.

#include <QString>
#include <QStringList>

QStringList ConteudoBanco(const QString& banco);
