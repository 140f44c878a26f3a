#pragma once
// The statement pattern of the data-access objects: the data module's executor is closed,
// its text replaced by the one statement, and the caller binds, runs and reads it.

#include "data/UDMPrincipal.h"

inline ConsultaBD& PreparaOperacao(TDMPrincipal& modulo, const QString& sql)
{
    ConsultaBD& op = *modulo.IBOperation;
    op.Fecha();
    op.LimpaSQL();
    op.AdicionaSQL(sql);
    return op;
}
