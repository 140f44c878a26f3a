#pragma once

namespace Instalacao {
// Registers, in order, the installation steps of every subsystem that has one.
void RegistraEtapasDoSistema();
} // namespace Instalacao
