#include "config/UArquivoIni.h"

#include "common/UErros.h"
#include "common/UTextoCp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
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

Indice Indice::DeLinhas(const QStringList& linhas)
{
    Indice indice;
    QHash<QString, QString>* atual = nullptr;
    for (const QString& linha : linhas) {
        const QString t = linha.trimmed();
        if (t.isEmpty() || EhComentario(t))
            continue;
        const QString nome = NomeSecao(t);
        if (!nome.isNull()) {
            // Only the first section of a name counts.
            const QString chaveSecao = nome.toCaseFolded();
            atual = indice.m_secoes.contains(chaveSecao) ? nullptr : &indice.m_secoes[chaveSecao];
            continue;
        }
        QString k, v;
        if (atual && DivideChave(t, k, v)) {
            const QString chave = k.toCaseFolded();
            if (!atual->contains(chave))
                atual->insert(chave, SemAspas(v));
        }
    }
    return indice;
}

Indice Indice::DeArquivo(const QString& arquivo)
{
    if (!QFileInfo(arquivo).isFile())
        return Indice();
    try {
        return DeLinhas(LeArquivoTexto(arquivo));
    } catch (const ErroES&) {
        return Indice();
    }
}

bool Indice::Le(const QString& secao, const QString& chave, QString& valor) const
{
    const auto s = m_secoes.constFind(secao.toCaseFolded());
    if (s == m_secoes.constEnd())
        return false;
    const auto k = s->constFind(chave.toCaseFolded());
    if (k == s->constEnd())
        return false;
    valor = *k;
    return true;
}

bool Le(const QString& arquivo, const QString& secao, const QString& chave, QString& valor)
{
    return Indice::DeArquivo(arquivo).Le(secao, chave, valor);
}

void Escreve(const QString& arquivo, const QString& secao, const QString& chave,
             const QString& valor)
{
    QLockFile trava(arquivo + QStringLiteral(".lock"));
    trava.setStaleLockTime(30000);
    if (!trava.tryLock(10000) && trava.error() == QLockFile::LockFailedError)
        throw ErroES(QStringLiteral("O arquivo de configuração \"%1\" está em uso por outro programa; "
                                    "o valor %2 -> %3 não foi gravado.")
                         .arg(arquivo, secao, chave));
    // A folder where no lock file can be made (read-only) leaves the write unlocked.
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
