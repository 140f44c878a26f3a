#include "config/UArquivoIni.h"

#include "common/UErros.h"
#include "common/UTextoCp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

bool EhComentario(const QString& linhaAparada)
{
    return linhaAparada.startsWith(u';') || linhaAparada.startsWith(u'#');
}

// The section named by a line "[nome]", or a null text when the line is not a section.
QString NomeSecao(const QString& linhaAparada)
{
    if (linhaAparada.startsWith(u'[')) {
        const int fim = linhaAparada.indexOf(u']');
        if (fim > 0)
            return linhaAparada.mid(1, fim - 1).trimmed();
    }
    return QString();
}

bool MesmoNome(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Splits "chave=valor"; false for lines without "=".
bool DivideChave(const QString& linhaAparada, QString& chave, QString& valor)
{
    const int igual = linhaAparada.indexOf(u'=');
    if (igual <= 0)
        return false;
    chave = linhaAparada.left(igual).trimmed();
    valor = linhaAparada.mid(igual + 1).trimmed();
    return true;
}

QString SemAspas(const QString& valor)
{
    if (valor.size() >= 2 && (valor.front() == u'"' || valor.front() == u'\'')
        && valor.back() == valor.front())
        return valor.mid(1, valor.size() - 2);
    return valor;
}

// Position of the key line (or -1) and of the section line (or -1) in the file's lines.
// `ultimaDaSecao` is the index after which a new key of the section is inserted.
struct Localizacao {
    int secao = -1;
    int chave = -1;
    int ultimaDaSecao = -1;
};

Localizacao Localiza(const QStringList& linhas, const QString& secao, const QString& chave)
{
    Localizacao loc;
    bool dentro = false;
    for (int i = 0; i < linhas.size(); ++i) {
        const QString t = linhas[i].trimmed();
        if (t.isEmpty() || EhComentario(t))
            continue;
        const QString nome = NomeSecao(t);
        if (!nome.isNull()) {
            if (dentro)
                break; // only the first section of that name counts
            dentro = MesmoNome(nome, secao);
            if (dentro) {
                loc.secao = i;
                loc.ultimaDaSecao = i;
            }
            continue;
        }
        if (!dentro)
            continue;
        loc.ultimaDaSecao = i;
        QString k, v;
        if (DivideChave(t, k, v) && MesmoNome(k, chave)) {
            loc.chave = i;
            return loc;
        }
    }
    return loc;
}

} // namespace

namespace ArquivoIni {

bool Le(const QString& arquivo, const QString& secao, const QString& chave, QString& valor)
{
    if (!QFileInfo(arquivo).isFile())
        return false;
    QStringList linhas;
    try {
        linhas = LeArquivoTexto(arquivo);
    } catch (const ErroES&) {
        return false;
    }
    const Localizacao loc = Localiza(linhas, secao, chave);
    if (loc.chave < 0)
        return false;
    QString k, v;
    DivideChave(linhas[loc.chave].trimmed(), k, v);
    valor = SemAspas(v);
    return true;
}

void Escreve(const QString& arquivo, const QString& secao, const QString& chave,
             const QString& valor)
{
    const QFileInfo info(arquivo);
    QStringList linhas;
    if (info.exists()) {
        // The owner's write bit is checked itself: the superuser passes every access test.
        if (!(QFile::permissions(arquivo) & QFileDevice::WriteOwner))
            throw ErroES(QStringLiteral("O arquivo de configuração \"%1\" é somente leitura; "
                                        "o valor %2 -> %3 não foi gravado.")
                             .arg(arquivo, secao, chave));
        linhas = LeArquivoTexto(arquivo);
    }
    const QString nova = chave + u'=' + valor;
    const Localizacao loc = Localiza(linhas, secao, chave);
    if (loc.chave >= 0) {
        linhas[loc.chave] = nova;
    } else if (loc.secao >= 0) {
        linhas.insert(loc.ultimaDaSecao + 1, nova);
    } else {
        if (!linhas.isEmpty() && !linhas.last().trimmed().isEmpty())
            linhas << QString();
        linhas << u'[' + secao + u']' << nova;
    }
    GravaArquivoTexto(arquivo, linhas);
}

} // namespace ArquivoIni
