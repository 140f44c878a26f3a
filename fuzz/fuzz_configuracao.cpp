// The settings reader over arbitrary bytes: the file's index, every key the program reads,
// and a full load with its conversions, as the start-up does them.

#include "common/UErros.h"
#include "config/UArquivoIni.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "platform/UMensagens.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {
class Silencio : public ServicoMensagens {
public:
    RespostaMensagem Mostra(const QString&, const QString&, IconeMensagem, BotoesMensagem) override
    {
        return RespostaMensagem::Ok;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    static Silencio silencio;
    static QTemporaryDir pasta;
    InstalaServicoMensagens(&silencio);
    TBIniSettings::DefinePastaConfiguracao(pasta.path());
    {
        QFile f(pasta.filePath(QStringLiteral("ZR300.ini")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(dados), qint64(tamanho));
    }
    try {
        TBIniSettings ini;
        if (ini.LoadAll(3)) {
            TInfosZR infos;
            TPathsZR paths;
            QString falha;
            PreencheRegistrosZR(ini, infos, paths, &falha);
        }
    } catch (const ErroSistema&) {
    }
    return 0;
}
