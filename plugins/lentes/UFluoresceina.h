#pragma once
// The fluorescein picture of a lens fit and its clearance profiles, drawn on QImage.

#include "plugins/lentes/ULenteRGP.h"

#include <QImage>

// The eye under cobalt-blue light: the central image (its centre at centroX, centroY, fator
// mm per pixel), or a schematic eye when the image is null. lado pixels cover kCampo mm.
QImage FundoCobalto(const QImage& central, double centroX, double centroY, double fator, int lado);
constexpr double kCampoFluoresceina = 13.0; // mm across the picture

// The fluorescein pattern over the background, the lens edge, the optic zone and the edge of
// the measured data (dashed).
QImage DesenhaFluoresceina(const QImage& fundo, const ResultadoLente& r, const std::vector<double>& bordaDados);

// The film along the flat and steep meridians, edge to edge (um against mm).
QImage DesenhaPerfis(const ResultadoLente& r, int meridianoPlano, int meridianoCurvo, QSize tamanho);
