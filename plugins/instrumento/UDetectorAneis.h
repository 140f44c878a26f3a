#pragma once
// Finds the Placido rings in a central image: the centre of the innermost ring, then, along
// each of the 360 meridians, the two edges of every ring with sub-pixel precision. A ring's
// radius on a meridian is the mid-point of its inner and outer edges, which a symmetric blur
// or a change of brightness leaves in place.
//
// Meridian k (1..360) leaves the centre at k degrees counted from the image's +x towards
// its +y (downwards), so the clinical axis of meridian k is 180 - k.

#include "examfiles/zr_exame.h"

#include <QImage>
#include <QString>

namespace Instrumento {

struct MedidaAneis {
    double centroX = 0.0;
    double centroY = 0.0;
    int numAneis = 16;
    // raio[k-1][j]: radius in pixels of ring j on meridian k; column 0 is the centre (0).
    TMatrizAngAnel raio{};
    // Last valid ring of each meridian: rings cut by the lids, noise, an occluder or the
    // image border are not counted, nor any ring beyond them.
    TAneisMeridiano aneis{};
    // Pupil: centre x, centre y and radius in pixels, and 1 when it was found (else zeros).
    TDadosPupila pupila{};
    // 0..100: how many ring points were found, and how regularly they lie.
    double indiceConfianca = 0.0;
    // Fraction of the ring points found (0..1) and the rms scatter of the points about the
    // smooth ring through their neighbours, pixels.
    double fracaoEncontrada = 0.0;
    double dispersao = 0.0;
};

// Measures the rings. False, with the reason in erro, when the image is unusable (too small,
// no centre, no rings).
bool MedeAneis(const QImage& imagem, int numAneis, MedidaAneis& medida, QString* erro = nullptr);

} // namespace Instrumento
