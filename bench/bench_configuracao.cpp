// Loading the settings file: a full load of an installation's file padded with comments and
// unrelated keys to 2 MB and to 20 MB (the file is read once per load, whatever its size).

#include "config/UBIniSettings.h"
#include "platform/UMensagens.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    MensagensRoteiro mensagens;
    QTemporaryDir pasta;
    TBIniSettings::DefinePastaConfiguracao(pasta.path());
    QByteArray base = "[ZR]\r\nTipo=3\r\nFatorCorrecao=0.02\r\nZ0=0\r\n[CAMERA]\r\nBRILHO=50\r\nCONTRASTE=50\r\n";
    for (int megas : {2, 20}) {
        QByteArray texto = base;
        texto += "[EXTRA]\r\n";
        for (int k = 0; texto.size() < megas * 1024 * 1024; ++k)
            texto += "; comentário de preenchimento\r\nCHAVE" + QByteArray::number(k) + "=valor qualquer\r\n";
        QFile f(pasta.filePath(QStringLiteral("ZR300.ini")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(texto) != texto.size())
            return 1;
        f.close();
        TBIniSettings ini;
        QElapsedTimer t;
        t.start();
        if (!ini.LoadAll(3))
            return 1;
        std::printf("carga completa de um arquivo de configuração de %d MB: %.0f ms\n", megas,
                    t.nsecsElapsed() / 1e6);
    }
    return 0;
}
