#pragma once
// A computation that cannot give a number: a division by zero, the square root of a
// negative value, a zone without data. Raised instead of returning a wrong value.

#include "common/UErros.h"

class ErroCalculo : public ErroSistema {
public:
    using ErroSistema::ErroSistema;
};
