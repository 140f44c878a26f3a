#include "common/UTextoCp1252.h"

#include "common/UErros.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ParaCp1252(const QString& texto)
{
    QStringEncoder codificador("windows-1252");
    return codificador.encode(texto);
}

QString DeCp1252(const QByteArray& bytes)
{
    QStringDecoder decodificador("windows-1252");
    return decodificador.decode(bytes);
}

QStringList DivideLinhas(const QString& texto)
{
    QStringList linhas;
    QString atual;
    const qsizetype n = texto.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = texto[i];
        if (c == u'\r' || c == u'\n') {
            linhas << atual;
            atual.clear();
            if (c == u'\r' && i + 1 < n && texto[i + 1] == u'\n')
                ++i;
        } else {
            atual += c;
        }
    }
    if (!atual.isEmpty())
        linhas << atual;
    return linhas;
}

QString JuntaLinhasCrLf(const QStringList& linhas)
{
    QString texto;
    for (const QString& l : linhas) {
        texto += l;
        texto += QStringLiteral("\r\n");
    }
    return texto;
}

QStringList LeArquivoTexto(const QString& caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ErroES(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2")
                         .arg(caminho, arquivo.errorString()));
    return DivideLinhas(DeCp1252(arquivo.readAll()));
}

void GravaArquivoBytes(const QString& caminho, const QByteArray& conteudo)
{
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(conteudo) != conteudo.size()
        || !arquivo.commit())
        throw ErroES(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                         .arg(caminho, arquivo.errorString()));
}

void GravaArquivoTexto(const QString& caminho, const QStringList& linhas)
{
    GravaArquivoBytes(caminho, ParaCp1252(JuntaLinhasCrLf(linhas)));
}
