#pragma once
// The "Índices" panel of the map windows: each keratoconus screening index with its value,
// its screening limits and its reading in colour, and the reading of the examination.

#include "topography/UIndicesCeratocone.h"

#include <QColor>

class QGroupBox;
class QWidget;

QGroupBox* PainelIndices(const TIndicesCeratocone& indices, QWidget* pai);

// The colour a reading is shown in (green, amber, red; grey without a reading).
QColor CorLeitura(LeituraIndice leitura);
