#pragma once
// Map modules are third-party code loaded at every start-up: one that crashes or hangs while
// it loads or tells what it is ("VersaoABI", "InfoMapa", a constructor run at load time)
// would take the program down each time. Each module file is therefore first tried in a
// child process of the program, with a time limit, and the verdict is kept in the user's
// registry under the file's size, modification time and content hash, so a module is tried
// once and not at every start. A module that failed is left out of the program.
//
// Modules the loaders refuse by rule (not a library, no entries, another interface version)
// do not fail the probe: the loaders refuse them in the program as before, and the program
// writes why in the module log (RegistraRecusaModulo).

#include <QHash>
#include <QString>
#include <QStringList>

namespace SondaModulo {

// The hidden option of the program that runs one probe: "<program> --sonda-modulo <file>".
inline constexpr char kOpcao[] = "--sonda-modulo";
// Processor time a module gets to load and tell what it is, and the wall-clock time a probe
// may take at most (a busy machine slows a probe down without using its processor time).
inline constexpr int kLimiteMs = 5000;
inline constexpr int kLimiteRelogioMs = 30000;

enum class Veredito { Bom, Falhou };

// The probe itself, in the child process: loads the file through the information loader
// (load-time code, "VersaoABI") and calls "InfoMapa". Returns the process's exit code: 0
// when it came back, whatever the loaders thought of the module.
int Executa(const QString& arquivo);

// The program that runs the probes; by default this process's own executable.
void DefinePrograma(const QString& programa);

// Verdicts of the files: known ones from the registry, the others probed (two at a time)
// and remembered. When no probe can be run at all (the program is missing), files are
// taken as good and nothing is remembered.
QHash<QString, Veredito> Vereditos(const QStringList& arquivos);

// How many probes this process ran (for the start-up's benchmark and its tests).
int SondasExecutadas();

} // namespace SondaModulo

// The module log: "LogModulos.txt" in the given folder (the program's folder); one line per
// refused module with the date, the file and the reason. Failures to write are ignored.
void RegistraRecusaModulo(const QString& pasta, const QString& arquivo, const QString& motivo);
