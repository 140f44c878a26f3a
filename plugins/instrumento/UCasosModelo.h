#pragma once
// The named cases of the simulator: model corneas with their eye and capture conditions.
// The capture window offers them by name, the installation captures the example
// examinations from them, and a case can also be written as parameters:
//   "esfera <raio>"                          sphere, mm
//   "torica <raio plano> <raio curvo> <eixo>" toric, mm and degrees
//   "conica <raio> <Q>"                       conic with asphericity Q
//   "orto <raio> <profundidade> <zona> [<descentração>]"
//                                             after orthokeratology: conic of radius raio
//                                             (Q -0.15) with a treatment profundidade um deep,
//                                             zona mm across, decentred temporally (mm)
//   "ceratocone <raio> <Q> <altura> <largura> <x> <y>"
//                                             keratoconus: conic of radius raio and
//                                             asphericity Q with a Gaussian protrusion
//                                             altura um high, largura mm wide (standard
//                                             deviation), centred at x, y mm (y up)
// (decimal separator "." or ",").

#include "plugins/instrumento/URenderizador.h"

#include <QString>
#include <QStringList>

namespace Instrumento {

struct CasoModelo {
    QString nome;
    QString descricao;
    ModeloCornea cornea;        // as seen in the eye being captured (left eyes mirrored)
    ParametrosCaptura captura;  // olhoEsquerdo, pupil, lids, where the apex falls
};

// The names offered in the capture window, in order: the classes of the examples first.
QStringList NomesCasos();

// The parametric ortho-k case of the ortho-k capture window, and its text for CasoPorNome.
struct TratamentoOrto {
    double raio = 7.8;         // mm, before treatment
    double profundidade = 20;  // um
    double zona = 3.5;         // mm across
    double descentracao = 0.0; // mm, temporal
};
QString NomeOrtoParametrico();
QString TextoTratamentoOrto(const TratamentoOrto& t);

// The case of a name of the list, of an example ("Central01" .. "Orto04") or of a parametric
// text; false when the text names none. The left eye of the examples follows their names
// (05 and 06 are left eyes); olho (0 left, 1 right, -1 as the case says) overrides it.
bool CasoPorNome(const QString& nome, CasoModelo& caso, int olho = -1);

// The example examinations, in the order of their classes: Central01..06, Periférico01..06,
// Regular01..06, Irregular01..06, Normal01..06, Orto01..04.
QStringList NomesExemplos();

} // namespace Instrumento
