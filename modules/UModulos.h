#pragma once
// Loading of the installable modules. Each kind of module has its loader, which keeps one
// library and the addresses of the entries it looked up in its own program-wide variables.
//
// Loading: the library is loaded from the file name (a name without a folder goes through
// the platform's library search); when it does not load, the loader returns false and looks
// nothing up. Otherwise every entry of the kind is looked up by its exact name (an absent
// entry stays null) and the loader returns whether the kind's condition holds. A library
// that loaded but lacks an entry stays loaded (the next release unloads it). A module that
// exports "VersaoABI" with a version other than the host's is refused: it is unloaded at once
// and counts as not loaded.
//
// Loading again does not release the library held before (release it first). Release
// unloads the library of the last load that loaded one and clears the entry addresses, so a
// released entry can never be called: callers test the entry they are about to call.
//
// Use: load, call, release, all within one user action. The aberrometry module is never
// released.

#include "modules/zr_modulos.h"

#include <QString>
#include <QStringList>

class QLibrary;

// The library of one loader.
class BibliotecaModulo {
public:
    BibliotecaModulo();
    ~BibliotecaModulo();
    BibliotecaModulo(const BibliotecaModulo&) = delete;
    BibliotecaModulo& operator=(const BibliotecaModulo&) = delete;

    // Loads the file; false (and nothing held changes) when it does not load or reports
    // another interface version. On success the new library is held; the one held before
    // stays loaded.
    bool Carrega(const QString& arquivo);
    // The address of an exported entry of the held library, or null.
    QFunctionPointer Entrada(const char* nome) const;
    // Unloads the held library (if any) and holds none.
    void Libera();
    bool Carregada() const;
    // The file of the held library; empty when none.
    QString Arquivo() const;
    // Why the last load failed (platform text), for diagnostics.
    QString UltimoErro() const { return m_erro; }

private:
    QLibrary* m_biblioteca = nullptr; // shared with other holders of the same file
    QString m_arquivo;
    QString m_erro;
};

// Single map: "Axial.so" and the other map buttons.
struct EntradasMapa {
    BibliotecaModulo biblioteca;
    zrmod::TProcessaMapa ProcessaMapa = nullptr;
    zrmod::TProcessaMapaOrto ProcessaMapaOrto = nullptr;
    zrmod::TVisualizar Visualizar = nullptr;
    zrmod::TInfoMapa InfoMapa = nullptr;
};
extern EntradasMapa MapaDLL;
// True when the library loads, "InfoMapa" exists and "ProcessaMapa" or "ProcessaMapaOrto"
// exists ("Visualizar" is optional).
bool LoadMapaDLL(const QString& arquivo);
void FreeMapaDLL();

// Multi map: "Wizard" and "ProcessaMapas" are each seen through their two argument lists.
struct EntradasMapas {
    BibliotecaModulo biblioteca;
    zrmod::TWizard Wizard = nullptr;
    zrmod::TWizardDiferencial WizardDiferencial = nullptr;
    zrmod::TProcessaMapas ProcessaMapas = nullptr;
    zrmod::TProcessaMapasOrto ProcessaMapasOrto = nullptr;
    zrmod::TInfoMapa InfoMapa = nullptr;
};
extern EntradasMapas MapasDLL;
// True when "ProcessaMapas", "Wizard" and "InfoMapa" all exist.
bool LoadMapasDLL(const QString& arquivo);
void FreeMapasDLL();

// Image processing.
struct EntradasProc {
    BibliotecaModulo biblioteca;
    zrmod::TProcessaImagem ProcessaImagem = nullptr;
    zrmod::TProcessaEsfera ProcessaEsfera = nullptr;
};
extern EntradasProc ProcDLL;
// True when "ProcessaImagem" and "ProcessaEsfera" both exist.
bool LoadProcDLL(const QString& arquivo);
void FreeProcDLL();

// Ortho-k image processing.
struct EntradasProcOrto {
    BibliotecaModulo biblioteca;
    zrmod::TProcessaImagemOrto ProcessaImagem = nullptr;
};
extern EntradasProcOrto ProcOrtoDLL;
bool LoadProcOrtoDLL(const QString& arquivo);
void FreeProcOrtoDLL();

// Capture.
struct EntradasCaptura {
    BibliotecaModulo biblioteca;
    zrmod::TDigitalizar Digitalizar = nullptr;
};
extern EntradasCaptura CapturaDLL;
bool LoadCapturaDLL(const QString& arquivo);
void FreeCapturaDLL();

// Ortho-k capture.
struct EntradasCapturaOrto {
    BibliotecaModulo biblioteca;
    zrmod::TDigitalizarOrto Digitalizar = nullptr;
};
extern EntradasCapturaOrto CapturaOrtoDLL;
bool LoadCapturaOrtoDLL(const QString& arquivo);
void FreeCapturaOrtoDLL();

// Contact-lens fitting (map buttons whose name contains "LC").
struct EntradasLC {
    BibliotecaModulo biblioteca;
    zrmod::TProcessaLente ProcessaLente = nullptr;
};
extern EntradasLC LCDLL;
bool LoadLCDLL(const QString& arquivo);
void FreeLCDLL();

// Aberrometry (map buttons whose name contains "Aberrometria"); stays loaded until exit.
struct EntradasAberrometria {
    BibliotecaModulo biblioteca;
    zrmod::TProcessaAberrometria ProcessaAberrometria = nullptr;
};
extern EntradasAberrometria AberrometriaDLL;
bool LoadAberrometriaDLL(const QString& arquivo);

// Backup.
struct EntradasBackup {
    BibliotecaModulo biblioteca;
    zrmod::TInfoBackup InfoBackup = nullptr;
    zrmod::TCriarBackup CriarBackup = nullptr;
    zrmod::TRestaurarBackup RestaurarBackup = nullptr;
};
extern EntradasBackup BackupDLL;
// True when "InfoBackup", "CriarBackup" and "RestaurarBackup" all exist.
bool LoadBackupDLL(const QString& arquivo);
void FreeBackupDLL();

// Information: any module. Kind 1 looks up "InfoMapa", kinds 2 and 3 "Info"; any other kind
// looks nothing up and fails.
enum TipoInfoModulo { InfoDeMapa = 1, InfoDeModulo = 2, InfoDeModuloOrto = 3 };
struct EntradasInfo {
    BibliotecaModulo biblioteca;
    zrmod::TInfoMapa InfoMapa = nullptr;
    zrmod::TInfo Info = nullptr;
};
extern EntradasInfo InfoDLL;
bool LoadInfoDLL(const QString& arquivo, int tipo);
void FreeInfoDLL();

// The information loader's use: loads the module with the kind, calls "InfoMapa" (kind 1) or
// "Info" with a new buffer, rewinds it, reads its text lines and releases the module. False
// when the module did not load or lacks the entry (linhas is then empty).
bool LeInfoModulo(const QString& arquivo, int tipo, QStringList& linhas);

// What a map module says of itself through "InfoMapa".
struct InfoMapaModulo {
    QString nome;       // line 1: display name (button hint)
    QString tipo;       // line 2: "1" single map, "2" or "3" multi map
    QString descricao;  // line 3, empty when the module wrote only two lines
    int linhas = 0;     // how many lines the module wrote
};
// Reads a map module's information; false when it cannot be loaded, lacks "InfoMapa" or
// wrote fewer than the two lines a map button needs.
bool LeInfoMapa(const QString& arquivo, InfoMapaModulo& info);

// The interface version a module file reports: its "VersaoABI", or -1 when it does not load
// or has no such entry.
int VersaoAbiModulo(const QString& arquivo);

// Module file names. A module named "Axial.dll" in the settings or by its map button is the
// file "Axial.so" on this platform.
QString NomeArquivoModulo(const QString& nome);
// The file of a map button: DirMapas + "/" + caption + ".so".
QString ArquivoMapa(const QString& dirMapas, const QString& legenda);
// The caption of a module file: its file name without extension.
QString LegendaModulo(const QString& arquivo);

// The drive root a backup module reports through "InfoBackup": the letter with the
// character code it returned, then ":\" ("E:\" for 69). Empty for a code that is not a
// letter.
QString RaizDriveBackup(int32_t codigo);
