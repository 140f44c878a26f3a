#pragma once
// Calls into the backup module: loaded from the settings' module file before each use and
// unloaded right after. A module that does not load or lacks one of its three entries is
// absent. Before each call the module is told where the program's BackUp.ini is, through
// the environment variable ZR_BACKUP_INI.

#include <QString>
#include <QStringList>

namespace Backup {

// Whether the module loads with its three entries.
bool ModuloPresente();

struct InfoModulo {
    bool presente = false;
    int letra = 0;          // the drive letter's character code
    QStringList status;     // the module's status lines
};
InfoModulo ChamaInfoBackup(void* janela);

struct ResultadoCriar {
    bool presente = false;
    int retorno = -1;
    QStringList marcasExames, marcasLaudos;
};
ResultadoCriar ChamaCriarBackup(void* janela, const QStringList& exames, const QStringList& laudos,
                                const QString& raizExames, const QString& raizLaudos);

// The module's result, or -1 when it is absent.
int ChamaRestaurarBackup(void* janela, const QString& raizExames, const QString& raizLaudos);

} // namespace Backup
