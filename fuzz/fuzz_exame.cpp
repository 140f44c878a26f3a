// The examination reader over arbitrary bytes: the input is cut at its first two 0x01 bytes
// into m.txt, d.txt and a.txt of one examination, which TBMapOperation then loads. A
// conversion or I/O error is an answer; anything else the sanitizers see is a finding.

#include "common/UErros.h"
#include "examfiles/UBMapOperation.h"
#include "platform/UMensagens.h"

#include <QByteArray>
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

void Grava(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    static Silencio silencio;
    static QTemporaryDir pasta;
    static TBMapOperation leitor;
    InstalaServicoMensagens(&silencio);
    const QByteArray tudo(reinterpret_cast<const char*>(dados), qsizetype(tamanho));
    const QList<QByteArray> partes = tudo.split('\x01');
    const QString prefixo = pasta.filePath(QStringLiteral("1"));
    const char* letras[] = {"m.txt", "d.txt", "a.txt"};
    for (int k = 0; k < 3; ++k) {
        const QString arquivo = prefixo + QLatin1String(letras[k]);
        if (k < partes.size())
            Grava(arquivo, partes[k]);
        else
            QFile::remove(arquivo);
    }
    for (QChar separador : {QChar(u'.'), QChar(u',')}) {
        try {
            leitor.CarregaExame(prefixo, separador);
        } catch (const ErroSistema&) {
        }
    }
    return 0;
}
