#pragma once
// What the entry points of the map modules (single and multi-map) share: the batch-mode
// switch, the report of a failure on the standard error, and turning whatever exception is
// in flight into that report, so that nothing leaves the module.

#include <QString>

namespace EntradaModulo {

// Batch mode: ZR_MODULOS_AUTOMATICO=1, or no widget application to show windows in.
bool Automatico();
// "onde: texto" on the standard error.
void Relata(const char* onde, const QString& texto);
// Inside a catch block: reports the exception being handled (the system's own message, the
// standard one, or "erro inesperado").
void RelataExcecao(const char* onde) noexcept;

} // namespace EntradaModulo
