#include "backup/UModuloBackup.h"

#include "backup/UBackup.h"
#include "common/UTextoCp1252.h"
#include "config/URegistrosZR.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"

namespace Backup {

namespace {

// Loads the module and tells it where the control file is; the guard unloads it.
struct Carga {
    bool ok;
    Carga()
    {
        qputenv("ZR_BACKUP_INI", ArquivoBackupIni().toLocal8Bit());
        ok = LoadBackupDLL(PathsZR.ModuloBackup);
    }
    ~Carga() { FreeBackupDLL(); }
};

} // namespace

bool ModuloPresente()
{
    Carga c;
    return c.ok;
}

InfoModulo ChamaInfoBackup(void* janela)
{
    InfoModulo info;
    Carga c;
    if (!c.ok)
        return info;
    info.presente = true;
    BufferMemoria estado;
    info.letra = BackupDLL.InfoBackup(janela, estado.Stream(), 3);
    info.status = estado.Linhas();
    return info;
}

ResultadoCriar ChamaCriarBackup(void* janela, const QStringList& exames, const QStringList& laudos,
                                const QString& raizExames, const QString& raizLaudos)
{
    ResultadoCriar r;
    Carga c;
    if (!c.ok)
        return r;
    r.presente = true;
    BufferMemoria listaExames, marcasExames, listaLaudos, marcasLaudos;
    listaExames.DefineLinhas(exames);
    listaLaudos.DefineLinhas(laudos);
    const QByteArray re = ParaCp1252(raizExames), rl = ParaCp1252(raizLaudos);
    r.retorno = BackupDLL.CriarBackup(janela, listaExames.Stream(), marcasExames.Stream(), listaLaudos.Stream(),
                                      marcasLaudos.Stream(), 3, re.constData(), rl.constData());
    r.marcasExames = marcasExames.Linhas();
    r.marcasLaudos = marcasLaudos.Linhas();
    return r;
}

int ChamaRestaurarBackup(void* janela, const QString& raizExames, const QString& raizLaudos)
{
    Carga c;
    if (!c.ok)
        return -1;
    const QByteArray re = ParaCp1252(raizExames), rl = ParaCp1252(raizLaudos);
    return BackupDLL.RestaurarBackup(janela, re.constData(), rl.constData());
}

} // namespace Backup
