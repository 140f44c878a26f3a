#pragma once
// The pictures of the applications list, drawn in code: one tile per desktop tool.

#include "config/UOpcoesFerramentas.h"

#include <QIcon>

QIcon IconeAplicativo(Ferramentas::Aplicativo item, int lado = 48);
