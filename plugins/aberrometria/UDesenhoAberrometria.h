#pragma once
// Pictures of the aberrometry window: wavefront maps, the point spread function and a letter
// chart seen through it.

#include "plugins/aberrometria/UFrenteOnda.h"

#include <QImage>

namespace Aberrometria {

// The fitted wavefront from term primeiro on, over the pupil, on a blue-green-red scale
// symmetric about 0 with its legend (um); titulo above.
QImage MapaFrente(const ResultadoFrente& r, int primeiro, int largura, int altura, const QString& titulo);
// The centre of the point spread function (brightest white; wide enough for 95 % of its
// light), lado pixels, with its width in arc minutes.
QImage ImagemPsf(const Psf& psf, int lado);
// Letters of 20/40, 20/25 and 20/16 in black on white, blurred by the PSF.
QImage Optotipos(const Psf& psf);

} // namespace Aberrometria
