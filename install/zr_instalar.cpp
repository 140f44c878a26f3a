// Lays out or updates the installation named on the command line (the run and install
// scripts call it after building).

#include "common/UErros.h"
#include "install/UEtapas.h"
#include "install/UInstalacao.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: zr_instalar <pasta da instalação>\n");
        return 2;
    }
    try {
        Instalacao::RegistraEtapasDoSistema();
        for (const QString& linha : Instalacao::Instala(QString::fromLocal8Bit(argv[1])))
            std::printf("%s\n", qUtf8Printable(linha));
    } catch (const ErroSistema& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
