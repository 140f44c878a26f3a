// Lays out or updates the installation named on the command line (the run and install
// scripts call it after building). With "--banco <pasta>" it only creates the database in
// that folder, as the installation does (the server set-up script uses this).

#include "common/UErros.h"
#include "data/UEsquemaBD.h"
#include "install/UEtapas.h"
#include "install/UInstalacao.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const bool soBanco = argc == 3 && QByteArray(argv[1]) == "--banco";
    if (argc != 2 && !soBanco) {
        std::fprintf(stderr, "uso: zr_instalar <pasta da instalação>\n"
                             "     zr_instalar --banco <pasta do banco de dados>\n");
        return 2;
    }
    try {
        if (soBanco) {
            std::printf("%s\n", qUtf8Printable(EsquemaBD::InstalaBancoDados(QString::fromLocal8Bit(argv[2]))));
            return 0;
        }
        Instalacao::RegistraEtapasDoSistema();
        for (const QString& linha : Instalacao::Instala(QString::fromLocal8Bit(argv[1])))
            std::printf("%s\n", qUtf8Printable(linha));
    } catch (const ErroSistema& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
