#pragma once
// The medium's side of a backup done by the program itself: the destination folder, the
// space check and the preparation of a new medium, the copy of the database (a logical
// backup written under a temporary name, then renamed, with its SHA-256 beside it) and the
// checks and swap of a restore.

#include <QString>

#include <functional>

class TDMPrincipal;

namespace Backup {

// The destination folder kept as "Destino" in the control file.
QString Destino(const QString& arquivoIni);

// Space the database copy needs, in units of 1024 bytes: every file directly in the
// database folder plus the control file.
qint64 EspacoNecessario(const QString& pastaBanco, const QString& arquivoIni);

// What the preparation of a new medium needs from outside (tests replace them).
struct Ambiente {
    std::function<bool(const QString& programa)> executa;   // starts a program; false when it did not
    std::function<void(int segundos)> espera;
};
Ambiente AmbientePadrao();

enum class FimPreparacao { Preparada, Cancelada, Encerra };

// Asks for a new medium until it is prepared or the user cancels; Encerra when the whole backup must end at once (the user stops after formatting a CD, or
// the identity file could not be written).
FimPreparacao PreparaNovaMidia(const QString& destino, const QString& arquivoIni, const Ambiente& ambiente);

// The database copy on the medium.
QString ArquivoCopiaBanco(const QString& destino);   // <destino>/Banco de Dados/DATABASE.FBK
QString ArquivoResumoBanco(const QString& destino);  // DATABASE.FBK.sha256 beside it

// Writes the logical backup of the database onto the medium; the previous copy stays until
// the new one is complete. Also copies the control file (and the root data folder's, when
// there is one, into the medium's database folder). Raises ErroSistema with a clear text.
void CopiaBanco(const QString& nomeBanco, const QString& destino, const QString& arquivoIni,
                const QString& pastaDados, const std::function<void(const QString&)>& progresso = {});

// Checks the medium's database copy (present, SHA-256 as recorded: the engine's restore of a
// file cut short would stop to ask for the next volume), restores it into a new
// file beside the current database, validates it and opens it. Returns the new file; raises
// ErroSistema naming what is damaged (the new file is removed).
QString PreparaBancoRestaurado(const QString& destino, const QString& nomeBanco,
                               const std::function<void(const QString&)>& progresso = {});

// Puts the restored database in place: disconnects, keeps the current file beside it under
// a dated name, moves the new one in and connects. When the connection fails the old file
// is put back and connected again, and false is returned.
bool TrocaBanco(TDMPrincipal& dm, const QString& novo);

// Copies the medium's control file over the program's, keeping the current destination.
void RestauraControle(const QString& destino, const QString& arquivoIni);

// SHA-256 of a file in hexadecimal; empty when it cannot be read.
QString ResumoArquivo(const QString& caminho);

} // namespace Backup
