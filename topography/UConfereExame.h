#pragma once
// The checks the lens and aberrometry modules make on the examination a caller hands them:
// whatever is unusable is left out with a note in Portuguese, and the rest is kept, so that
// a module shows what it can and never reads past the arrays.

#include "examfiles/zr_exame.h"

#include <QStringList>

#include <memory>

struct TExameConferido {
    TMatrizAngAnel posicoes{};  // pixels
    TMatrizAngAnel dioptrias{}; // axial power
    TAneisMeridiano aneis{};    // last usable column of each meridian (0: no data)
    double fator = 0.02;        // mm per pixel
    int meridianosComDados = 0;
    QStringList notas;

    bool TemDados() const { return meridianosComDados > 0; }
};

// The usable part of an examination. A meridian ends before the first column whose position
// or power is not a finite number, whose power lies outside 20..100 D or whose position does
// not grow outward; ring counts are held to 0..32; a correction factor that is not a positive
// finite number is replaced by 0.02 mm per pixel. Null grids leave no data. Each kind of
// fault gives one note.
std::unique_ptr<TExameConferido> ConfereExame(const TMatrizAngAnel* posicoes, const TMatrizAngAnel* dioptrias,
                                              const TAneisMeridiano* aneis, double fatorCorrecao);

// A note for a cone type that is not a whole number ("" when it is one).
QString NotaTipoCone(const char* tipoCone);
