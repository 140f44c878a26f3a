#pragma once
// The sections-and-keys text format of the settings files ("[SECAO]" lines followed by
// "chave=valor" lines), read and written one key at a time. Section and key names match
// without regard to letter case; lines starting with ";" or "#" are comments; the first
// occurrence of a section or key wins; a value wrapped in matching quotes loses them.
// Writing one key keeps every other line of the file as it was.

#include <QHash>
#include <QString>
#include <QStringList>

namespace ArquivoIni {

// The keys of a file read once, by the rules above, for loads that read many keys.
class Indice {
public:
    static Indice DeLinhas(const QStringList& linhas);
    // An unreadable or missing file gives an empty index.
    static Indice DeArquivo(const QString& arquivo);
    bool Le(const QString& secao, const QString& chave, QString& valor) const;

private:
    QHash<QString, QHash<QString, QString>> m_secoes; // names case-folded
};

// Reads one key; false when the file, the section or the key is missing.
bool Le(const QString& arquivo, const QString& secao, const QString& chave, QString& valor);

// Writes one key, creating the section or the file when missing. Raises ErroES when the
// file is read-only or cannot be written; the file is then left untouched. The reading,
// the change and the writing hold a lock file beside the file ("<file>.lock"), so writers
// in other programs wait for each other and no key written by one is lost by another.
void Escreve(const QString& arquivo, const QString& secao, const QString& chave,
             const QString& valor);

} // namespace ArquivoIni
