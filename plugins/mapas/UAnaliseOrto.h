#pragma once
// The treatment analysis of an ortho-k tangential map: the steep ring that bounds the
// flattened central zone, found as the peak of the tangential power along every meridian,
// its diameter and mean peak power, the zone's edge (half-way up the ring's inner flank) and
// the zone's decentration from the map centre (the centre of the circle that best fits the
// edge).

#include "plugins/mapas/UMapaCurvatura.h"

#include <QString>
#include <QStringList>

struct AnaliseOrto {
    bool valida = false;
    double diametro = 0;      // ring diameter (its peaks), mm
    double diametroZona = 0;  // the flattened zone's diameter (the ring's inner flank), mm
    double potenciaPico = 0;  // mean peak power along the ring, D
    double centroX = 0;       // zone centre, mm from the map centre (x right, y down)
    double centroY = 0;
    double descentracao = 0;  // mm
    double direcao = 0;       // degrees, counter-clockwise from the examiner's right
    int meridianos = 0;       // meridians where a peak was found
    QString aviso;            // why the analysis is not valid

    // Up to this decentration the zone counts as centred.
    static constexpr double kCentrado = 0.5;
    bool Centrado() const { return descentracao <= kCentrado; }
    // The texts of the analysis as the window shows them.
    QStringList Linhas() const;
};

// The analysis of a tangential map; a map without a ring around a flatter centre gives an
// invalid analysis with its reason.
AnaliseOrto AnalisaTratamento(const MapaCurvatura& tangencial);
