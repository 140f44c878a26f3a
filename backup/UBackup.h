#pragma once
// The backup's rules without windows: what is listed for the backup module, the rows whose
// files are gone, the marks the module hands back, the control file BackUp.ini, the disk
// identity, the start-up reminder's due rule and the reset of the backup state.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class TDMPrincipal;

namespace Backup {

// --- BackUp.ini --------------------------------------------------------------------------

// The program folder's control file (beside ZR300.ini).
QString ArquivoBackupIni();
// Section "BACKUP" of the control file; a missing or unreadable file, a missing key or a
// value that is not a number give the default.
int LeInteiro(const QString& arquivo, const QString& chave, int padrao = 0);
QString LeTexto(const QString& arquivo, const QString& chave, const QString& padrao = QString());
// Writes the keys in order; raises ErroES when the file cannot be written.
void EscreveChaves(const QString& arquivo, const QList<QPair<QString, QString>>& chaves);

// The disk identity text: the number limited to 0..9999 in four digits (7 gives "0007").
QString NumeroDisco(int n);
// "ZRQK" followed by NumeroDisco(n).
QString IdentidadeDisco(int n);

// --- the reminder --------------------------------------------------------------------------

// The last backup's date in the module's status text: characters 26 to 35 of the sixth
// line, day/month/year with "/" or "\". Invalid when the line or the date is not there.
QDate DataUltimoBackup(const QStringList& status);

struct RegraAutomatica {
    int modo = 0;        // 0 never, 1 by period, 2 by examinations
    int periodo = 0;
    int unidade = 0;     // 0 days, 1 months
    int exames = 0;
};

// Today's date for the reminder; tests set another (an empty function restores the clock).
QDate Hoje();
void DefineHoje(std::function<QDate()> hoje);

// Whether the reminder is due: elapsed days between the two dates, or months counted as
// 12 * years + months; in the examinations mode the count of examinations without a mark.
// Never due without a last-backup date in the status.
bool BackupDevido(const RegraAutomatica& regra, const QStringList& status, int examesSemBackup,
                  const QDate& hoje);

// --- preparation ------------------------------------------------------------------------

// Rows without a mark, in cursor order, and the relative file names handed to the module.
struct Lista {
    QList<int> codigos;
    QStringList arquivos;
    QStringList log;            // rows removed because their files are gone
    bool valida = true;         // false when the root could not be read (nothing deleted)
};

// Examinations: every unmarked row gets its three names (patient/codea.txt, d, m) when at
// least one of its files exists; a row with none of the three is logged with
// "Exame não encontrado: " + prefix and removed as the navigator removes one (its reports
// stay). A root that is missing or unreadable lists nothing and deletes nothing.
// `passo` is called once per listed row.
Lista PreparaExames(TDMPrincipal& dm, const QString& raizExames,
                    const std::function<void()>& passo = {});
// Reports: patient/codel.txt for every unmarked row whose file exists; a missing file is
// logged with "Laudo não encontrado: " + prefix + "l.txt" and the row deleted.
Lista PreparaLaudos(TDMPrincipal& dm, const QString& raizLaudos);

// The log files beside the program.
QString ArquivoLogExames();
QString ArquivoLogLaudos();

// The warning shown when rows were removed.
QString AvisoExcluidos();
// The message when a root cannot be read.
QString MensagemRaizIlegivel(const QString& raiz);

// --- marks ---------------------------------------------------------------------------------

enum class ResultadoMarcas { Gravadas, MarcaLonga };

// Stores line k of the module's result as the mark of codigos[k] (UpdateBackupExameByCodigo
// or UpdateBackupLaudoByCodigo), all in one transaction. An empty line leaves its row
// unmarked; extra codes without a line stay unmarked; a line longer than the column's 10
// characters marks nothing. A statement the database refuses undoes every mark and raises.
enum class Tabela { Exames, Laudos };
ResultadoMarcas GravaMarcas(TDMPrincipal& dm, Tabela tabela, const QList<int>& codigos,
                            const QStringList& marcas);
QString MensagemMarcaLonga();

// --- reset ---------------------------------------------------------------------------------

enum class ResultadoZera { Zerado, FalhaBanco, FalhaArquivo };

// Clears every mark (examinations and reports, one transaction committed here; both undone
// when either fails) and only then writes the control file's counters back to their
// starting values with BackupZerado + 1. `zerado` receives the new BackupZerado.
ResultadoZera ZeraBackup(TDMPrincipal& dm, const QString& arquivoIni, int* zerado = nullptr);

} // namespace Backup
