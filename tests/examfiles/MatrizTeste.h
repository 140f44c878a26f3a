#pragma once
// An exam matrix on the heap for tests (95 KB each), zeroed: *m is the TMatrizAngAnel.

#include "examfiles/zr_exame.h"

#include <memory>

struct MatrizTeste {
    std::unique_ptr<TMatrizAngAnel[]> p{new TMatrizAngAnel[1]()};
    TMatrizAngAnel& operator*() const { return p[0]; }
    TMatrizAngAnel* get() const { return p.get(); }
};
