#include "install/UEtapas.h"

#include "data/UEsquemaBD.h"
#include "install/UInstalacao.h"
#include "plugins/instalacao/UInstalaInstrumento.h"

namespace Instalacao {

void RegistraEtapasDoSistema()
{
    // Each subsystem that lays something into the installation registers its step here
    // (the database, the example examinations, the calibration files), in that order.
    RegistraEtapa(QStringLiteral("banco de dados"), [](const Pastas& p, QStringList& relatorio) {
        relatorio << EsquemaBD::InstalaBancoDados(p.dados + QStringLiteral("/Banco de Dados"));
    });
    RegistraEtapa(QStringLiteral("calibração e exemplos"), [](const Pastas& p, QStringList& relatorio) {
        relatorio << InstalaInstrumento::Instala(
            InstalaInstrumento::OpcoesDaInstalacao(p.modulos, p.dados, p.ArquivoConfiguracao()));
    });
}

} // namespace Instalacao
