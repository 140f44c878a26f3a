#pragma once
// The simulated cameras: the central camera's image of the Placido rings reflected by a
// model cornea (or a calibration sphere), and the lateral camera's profile of the eye.
// Images are 640 x 480, 8-bit grey.

#include "plugins/instrumento/UConePlacido.h"
#include "plugins/instrumento/UModeloCornea.h"

#include <QImage>
#include <cstdint>

namespace Instrumento {

constexpr int LarguraImagem = 640;
constexpr int AlturaImagem = 480;

struct ParametrosCaptura {
    double fatorCorrecao = 0.02; // mm per pixel of the central image
    double centroX = 319.62;     // where the apex falls in the image, pixels (an operator
                                 // aligns to a fraction of a pixel, never exactly)
    double centroY = 240.31;
    double desfoque = 0.7;       // optical blur, standard deviation in pixels
    double ruido = 1.5;          // sensor noise, standard deviation in grey levels
    uint32_t semente = 1;        // noise seed: the same seed gives the same image
    bool esferaCalibracao = false; // a steel calibration ball instead of an eye
    bool olhoEsquerdo = false;
    double raioPupila = 1.7;     // mm
    double pupilaU = 0.2;        // pupil centre relative to the apex, mm (u nasal for OD)
    double pupilaV = 0.1;
    double palpebraSuperior = 4.3; // height of the upper lid margin above the apex, mm
    double palpebraInferior = 4.8; // depth of the lower lid margin below the apex, mm
    // Occluder over part of the image (a finger, an eyelash clump): none when raio = 0.
    double oclusaoX = 0.0, oclusaoY = 0.0, oclusaoRaio = 0.0;
};

// The central image. The ring pattern is computed by tracing the camera's view of every
// pixel to the cone after reflection on the surface; the pixel and the optics blur each ring
// edge (a Gaussian edge of the combined width), then sensor noise and 8-bit quantization.
QImage RenderizaCentral(const ModeloCornea& cornea, const ConePlacido& cone,
                        const ParametrosCaptura& p);

// The lateral image: the eye seen from the temporal side at lateral scale escala (mm per
// pixel), apex and limbus visible.
QImage RenderizaLateral(const ModeloCornea& cornea, const ParametrosCaptura& p,
                        double escala = 0.03);

// Where the apex of the lateral image falls, pixels.
constexpr double ApiceLateralX = 440.0;
constexpr double ApiceLateralY = 240.0;

} // namespace Instrumento
