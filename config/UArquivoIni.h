#pragma once
// The sections-and-keys text format of the settings files ("[SECAO]" lines followed by
// "chave=valor" lines), read and written one key at a time. Section and key names match
// without regard to letter case; lines starting with ";" or "#" are comments; the first
// occurrence of a section or key wins; a value wrapped in matching quotes loses them.
// Writing one key keeps every other line of the file as it was.

#include <QString>

namespace ArquivoIni {

// Reads one key; false when the file, the section or the key is missing.
bool Le(const QString& arquivo, const QString& secao, const QString& chave, QString& valor);

// Writes one key, creating the section or the file when missing. Raises ErroES when the
// file is read-only or cannot be written; the file is then left untouched.
void Escreve(const QString& arquivo, const QString& secao, const QString& chave,
             const QString& valor);

} // namespace ArquivoIni
