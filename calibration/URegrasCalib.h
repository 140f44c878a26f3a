#pragma once
// The rules of the calibration form, without widgets: the steps, the animation chosen when
// the wheel turns, the check marks the wheel shows after it turned and the text of the last
// calibration.

#include <QString>
#include <array>

namespace RegrasCalib {

// The reference radii of spheres 1..4 as shown and handed to the modules.
QString Raio(int esfera);

// Steps 1..4 are the spheres, 5 is saving; any entry is brought into that range.
int LimitaPasso(int passo);

// The animation file (in "imgs/") played when the wheel reaches step n: forward when the
// previous step was below n. Empty when there is none (back to step 4, or step 5).
QString ArquivoAnimacao(int passo, bool avancando);

// The check marks chkEsf1..chkEsf4 after the wheel came to `passo` from `anterior`, given the
// done flag of each sphere (feito[k - 1] for sphere k): 1 shown, 0 hidden, -1 left as it was.
std::array<int, 4> MarcasRoda(int passo, int anterior, const std::array<bool, 4>& feito);

// The stored time of the last calibration as shown: the text itself when it is a date and
// time "dd/MM/yyyy HH:mm:ss", "--:--:-- --/--/----" otherwise (empty on a new installation).
QString TextoUltimaCalib(const QString& valor);
extern const QString kSemCalibracao;
extern const QString kFormatoData;

} // namespace RegrasCalib
