#include "modules/UModulos.h"

#include "modules/UBufferMemoria.h"

#include <QFileInfo>
#include <map>

#include <memory>
#include <QLibrary>

EntradasMapa MapaDLL;
EntradasMapas MapasDLL;
EntradasProc ProcDLL;
EntradasProcOrto ProcOrtoDLL;
EntradasCaptura CapturaDLL;
EntradasCapturaOrto CapturaOrtoDLL;
EntradasLC LCDLL;
EntradasAberrometria AberrometriaDLL;
EntradasBackup BackupDLL;
EntradasInfo InfoDLL;

// ---------------------------------------------------------------------------------------
// BibliotecaModulo

namespace {
// The libraries loaded through the loaders, by file name as given, with the number of loads
// not yet released. QLibrary shares one library among all its objects of the same file name
// and unloads it on the first unload, whoever else still uses it; the count here makes a
// library go only with the last release, so that one loader never pulls the code from under
// another (the information loader and the map loader may hold the same file).
struct Carga {
    std::unique_ptr<QLibrary> biblioteca;
    int usos = 0;
};
// Never destroyed: libraries stay loaded until the process ends, and no QLibrary object is
// torn down after Qt's own library bookkeeping at exit.
std::map<QString, Carga>& Cargas()
{
    static auto* cargas = new std::map<QString, Carga>;
    return *cargas;
}
} // namespace

BibliotecaModulo::BibliotecaModulo() = default;

// A library held at exit stays loaded: its code may still be referred to by objects that
// outlive this one.
BibliotecaModulo::~BibliotecaModulo() = default;

bool BibliotecaModulo::Carrega(const QString& arquivo)
{
    m_erro.clear();
    if (arquivo.isEmpty()) {
        m_erro = QStringLiteral("Nome de módulo vazio.");
        return false;
    }
    Carga& carga = Cargas()[arquivo];
    if (carga.usos == 0) {
        carga.biblioteca = std::make_unique<QLibrary>(arquivo);
        // Every symbol the module needs is bound now: a module with a missing dependency
        // fails here instead of in the middle of a call.
        carga.biblioteca->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!carga.biblioteca->load()) {
            m_erro = carga.biblioteca->errorString();
            Cargas().erase(arquivo);
            return false;
        }
    }
    QLibrary* biblioteca = carga.biblioteca.get();
    const auto versao = reinterpret_cast<zrmod::TVersaoABI>(biblioteca->resolve("VersaoABI"));
    if (versao) {
        const int32_t v = versao();
        if (v != ZR_MODULOS_VERSAO_ABI) {
            m_erro = QStringLiteral("O módulo %1 foi feito para a versão %2 da interface; "
                                    "esta é a versão %3.")
                         .arg(arquivo)
                         .arg(v)
                         .arg(ZR_MODULOS_VERSAO_ABI);
            if (carga.usos == 0) {
                biblioteca->unload();
                Cargas().erase(arquivo);
            }
            return false;
        }
    }
    ++carga.usos;
    // The library held before (if any) is not released: its load stays counted.
    m_arquivo = arquivo;
    m_biblioteca = biblioteca;
    return true;
}

QFunctionPointer BibliotecaModulo::Entrada(const char* nome) const
{
    return m_biblioteca ? m_biblioteca->resolve(nome) : nullptr;
}

void BibliotecaModulo::Libera()
{
    if (!m_biblioteca)
        return;
    auto it = Cargas().find(m_arquivo);
    if (it != Cargas().end() && --it->second.usos <= 0) {
        it->second.biblioteca->unload();
        Cargas().erase(it);
    }
    m_biblioteca = nullptr;
    m_arquivo.clear();
}

bool BibliotecaModulo::Carregada() const
{
    return m_biblioteca && m_biblioteca->isLoaded();
}

QString BibliotecaModulo::Arquivo() const
{
    return m_arquivo;
}

namespace {
template <typename T>
void Busca(const BibliotecaModulo& b, T& entrada, const char* nome)
{
    entrada = reinterpret_cast<T>(b.Entrada(nome));
}
} // namespace

// ---------------------------------------------------------------------------------------
// Single map

namespace {
void Limpa(EntradasMapa& m)
{
    m.ProcessaMapa = nullptr;
    m.ProcessaMapaOrto = nullptr;
    m.Visualizar = nullptr;
    m.InfoMapa = nullptr;
}
} // namespace

bool LoadMapaDLL(const QString& arquivo)
{
    EntradasMapa& m = MapaDLL;
    Limpa(m);
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.ProcessaMapa, "ProcessaMapa");
    Busca(m.biblioteca, m.ProcessaMapaOrto, "ProcessaMapaOrto");
    Busca(m.biblioteca, m.Visualizar, "Visualizar");
    Busca(m.biblioteca, m.InfoMapa, "InfoMapa");
    return m.InfoMapa && (m.ProcessaMapa || m.ProcessaMapaOrto);
}

void FreeMapaDLL()
{
    MapaDLL.biblioteca.Libera();
    Limpa(MapaDLL);
}

// ---------------------------------------------------------------------------------------
// Multi map

namespace {
void Limpa(EntradasMapas& m)
{
    m.Wizard = nullptr;
    m.WizardDiferencial = nullptr;
    m.ProcessaMapas = nullptr;
    m.ProcessaMapasOrto = nullptr;
    m.InfoMapa = nullptr;
}
} // namespace

bool LoadMapasDLL(const QString& arquivo)
{
    EntradasMapas& m = MapasDLL;
    Limpa(m);
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.ProcessaMapas, "ProcessaMapas");
    Busca(m.biblioteca, m.ProcessaMapasOrto, "ProcessaMapas");
    Busca(m.biblioteca, m.Wizard, "Wizard");
    Busca(m.biblioteca, m.WizardDiferencial, "Wizard");
    Busca(m.biblioteca, m.InfoMapa, "InfoMapa");
    return m.ProcessaMapas && m.Wizard && m.InfoMapa;
}

void FreeMapasDLL()
{
    MapasDLL.biblioteca.Libera();
    Limpa(MapasDLL);
}

// ---------------------------------------------------------------------------------------
// Processing, capture, lens, aberrometry

bool LoadProcDLL(const QString& arquivo)
{
    EntradasProc& m = ProcDLL;
    m.ProcessaImagem = nullptr;
    m.ProcessaEsfera = nullptr;
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.ProcessaImagem, "ProcessaImagem");
    Busca(m.biblioteca, m.ProcessaEsfera, "ProcessaEsfera");
    return m.ProcessaImagem && m.ProcessaEsfera;
}

void FreeProcDLL()
{
    ProcDLL.biblioteca.Libera();
    ProcDLL.ProcessaImagem = nullptr;
    ProcDLL.ProcessaEsfera = nullptr;
}

bool LoadProcOrtoDLL(const QString& arquivo)
{
    EntradasProcOrto& m = ProcOrtoDLL;
    m.ProcessaImagem = nullptr;
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.ProcessaImagem, "ProcessaImagem");
    return m.ProcessaImagem != nullptr;
}

void FreeProcOrtoDLL()
{
    ProcOrtoDLL.biblioteca.Libera();
    ProcOrtoDLL.ProcessaImagem = nullptr;
}

bool LoadCapturaDLL(const QString& arquivo)
{
    EntradasCaptura& m = CapturaDLL;
    m.Digitalizar = nullptr;
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.Digitalizar, "Digitalizar");
    return m.Digitalizar != nullptr;
}

void FreeCapturaDLL()
{
    CapturaDLL.biblioteca.Libera();
    CapturaDLL.Digitalizar = nullptr;
}

bool LoadCapturaOrtoDLL(const QString& arquivo)
{
    EntradasCapturaOrto& m = CapturaOrtoDLL;
    m.Digitalizar = nullptr;
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.Digitalizar, "Digitalizar");
    return m.Digitalizar != nullptr;
}

void FreeCapturaOrtoDLL()
{
    CapturaOrtoDLL.biblioteca.Libera();
    CapturaOrtoDLL.Digitalizar = nullptr;
}

bool LoadLCDLL(const QString& arquivo)
{
    EntradasLC& m = LCDLL;
    m.ProcessaLente = nullptr;
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.ProcessaLente, "ProcessaLente");
    return m.ProcessaLente != nullptr;
}

void FreeLCDLL()
{
    LCDLL.biblioteca.Libera();
    LCDLL.ProcessaLente = nullptr;
}

bool LoadAberrometriaDLL(const QString& arquivo)
{
    EntradasAberrometria& m = AberrometriaDLL;
    m.ProcessaAberrometria = nullptr;
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.ProcessaAberrometria, "ProcessaAberrometria");
    return m.ProcessaAberrometria != nullptr;
}

// ---------------------------------------------------------------------------------------
// Backup

namespace {
void Limpa(EntradasBackup& m)
{
    m.InfoBackup = nullptr;
    m.CriarBackup = nullptr;
    m.RestaurarBackup = nullptr;
}
} // namespace

bool LoadBackupDLL(const QString& arquivo)
{
    EntradasBackup& m = BackupDLL;
    Limpa(m);
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    Busca(m.biblioteca, m.InfoBackup, "InfoBackup");
    Busca(m.biblioteca, m.CriarBackup, "CriarBackup");
    Busca(m.biblioteca, m.RestaurarBackup, "RestaurarBackup");
    return m.InfoBackup && m.CriarBackup && m.RestaurarBackup;
}

void FreeBackupDLL()
{
    BackupDLL.biblioteca.Libera();
    Limpa(BackupDLL);
}

QString RaizDriveBackup(int32_t codigo)
{
    const bool letra = (codigo >= 'A' && codigo <= 'Z') || (codigo >= 'a' && codigo <= 'z');
    if (!letra)
        return QString();
    return QString(QChar(char16_t(codigo))) + QStringLiteral(":\\");
}

// ---------------------------------------------------------------------------------------
// Information

bool LoadInfoDLL(const QString& arquivo, int tipo)
{
    EntradasInfo& m = InfoDLL;
    m.InfoMapa = nullptr;
    m.Info = nullptr;
    if (!m.biblioteca.Carrega(arquivo))
        return false;
    switch (tipo) {
    case InfoDeMapa:
        Busca(m.biblioteca, m.InfoMapa, "InfoMapa");
        return m.InfoMapa != nullptr;
    case InfoDeModulo:
    case InfoDeModuloOrto:
        Busca(m.biblioteca, m.Info, "Info");
        return m.Info != nullptr;
    default:
        return false;
    }
}

void FreeInfoDLL()
{
    InfoDLL.biblioteca.Libera();
    InfoDLL.InfoMapa = nullptr;
    InfoDLL.Info = nullptr;
}

bool LeInfoModulo(const QString& arquivo, int tipo, QStringList& linhas)
{
    linhas.clear();
    if (!LoadInfoDLL(arquivo, tipo)) {
        // A library that loaded without the entry is not kept.
        FreeInfoDLL();
        return false;
    }
    BufferMemoria buffer;
    if (tipo == InfoDeMapa)
        InfoDLL.InfoMapa(buffer.Stream());
    else
        InfoDLL.Info(buffer.Stream());
    linhas = buffer.Linhas();
    FreeInfoDLL();
    return true;
}

bool LeInfoMapa(const QString& arquivo, InfoMapaModulo& info)
{
    info = InfoMapaModulo();
    QStringList linhas;
    if (!LeInfoModulo(arquivo, InfoDeMapa, linhas))
        return false;
    info.linhas = int(linhas.size());
    if (linhas.size() >= 1)
        info.nome = linhas.at(0);
    if (linhas.size() >= 2)
        info.tipo = linhas.at(1);
    if (linhas.size() >= 3)
        info.descricao = linhas.at(2);
    return linhas.size() >= 2;
}

int VersaoAbiModulo(const QString& arquivo)
{
    if (arquivo.isEmpty())
        return -1;
    // Loaded directly, not through the loaders' check, so that another version is reported
    // instead of refused.
    QLibrary biblioteca(arquivo);
    biblioteca.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    const bool jaCarregada = Cargas().count(arquivo) > 0;
    if (!biblioteca.load())
        return -1;
    const auto versao = reinterpret_cast<zrmod::TVersaoABI>(biblioteca.resolve("VersaoABI"));
    const int v = versao ? int(versao()) : -1;
    // A library a loader holds stays loaded (QLibrary would unload it for everyone).
    if (!jaCarregada)
        biblioteca.unload();
    return v;
}

// ---------------------------------------------------------------------------------------
// File names

QString NomeArquivoModulo(const QString& nome)
{
    if (nome.endsWith(QStringLiteral(".dll"), Qt::CaseInsensitive))
        return nome.left(nome.size() - 4) + QStringLiteral(".so");
    return nome;
}

QString ArquivoMapa(const QString& dirMapas, const QString& legenda)
{
    return dirMapas + QLatin1Char('/') + legenda + QStringLiteral(".so");
}

QString LegendaModulo(const QString& arquivo)
{
    return QFileInfo(arquivo).completeBaseName();
}
