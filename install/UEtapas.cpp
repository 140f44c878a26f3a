#include "install/UEtapas.h"

#include "install/UInstalacao.h"

namespace Instalacao {

void RegistraEtapasDoSistema()
{
    // Each subsystem that lays something into the installation registers its step here
    // (the database, the example examinations, the calibration files), in that order.
}

} // namespace Instalacao
