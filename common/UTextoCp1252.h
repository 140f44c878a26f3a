#pragma once
// Text in the single-byte Western code page (cp1252), and the text files of the system:
// cp1252 lines ending in CR LF. Readers accept LF or CR alone as well.

#include <QByteArray>
#include <QString>
#include <QStringList>

QByteArray ParaCp1252(const QString& texto);
QString DeCp1252(const QByteArray& bytes);

// Splits text at CR LF, LF or CR. A final line break does not make an empty last line.
QStringList DivideLinhas(const QString& texto);
// Joins lines, each followed by CR LF.
QString JuntaLinhasCrLf(const QStringList& linhas);

// Reads a whole cp1252 text file as lines; raises ErroES when it cannot be read.
QStringList LeArquivoTexto(const QString& caminho);
// Writes the lines as a cp1252 file with CR LF after each line. The file is replaced only
// when the whole text was written; on failure the old file stays as it was and ErroES is
// raised.
void GravaArquivoTexto(const QString& caminho, const QStringList& linhas);
void GravaArquivoBytes(const QString& caminho, const QByteArray& conteudo);
