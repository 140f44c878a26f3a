#pragma once
// Drawing of a curvature map: the colour bands, the millimetre grid with its rings and
// degree marks, the pupil, the point keratometry values and the colour legend. The window,
// its printout, its PNG and PDF and the small map of the navigator all draw through here.

#include "examfiles/zr_exame.h"
#include "plugins/mapas/UEscalaCores.h"
#include "plugins/mapas/UMapaCurvatura.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

struct OpcoesDesenho {
    double raioMm = 5.0;          // radius of the drawn zone
    bool grade = true;            // millimetre grid, rings and degree marks
    bool ceratPontual = false;    // point keratometry values
    QColor corCeratPontual = Qt::black;
    bool pupila = false;          // pupil outline (centre and radius below, in mm)
    double pupilaX = 0, pupilaY = 0, pupilaRaio = 0;
    bool anel = false;            // the treatment ring of an ortho-k analysis (mm)
    double anelX = 0, anelY = 0, anelRaio = 0;
    bool kMax = false;            // the steepest point of the axial map (mm)
    double kMaxX = 0, kMaxY = 0;
    bool textos = true;           // labels (off for drawings without fonts)
};

// The radius to draw: the data's extent rounded up to half a millimetre, 3 to 6 mm.
double RaioDesenho(const MapaCurvatura& mapa);

// The colour bands alone: a square image lado x lado covering raioMm around the centre,
// transparent where the map has no data.
QImage ImagemCores(const MapaCurvatura& mapa, const EscalaCores& escala, int lado,
                   double raioMm);

// Where the map of the given area sits: its centre and pixels per millimetre.
struct GeometriaMapa {
    QPointF centro;
    double escala = 1.0; // pixels per mm
    QPointF Ponto(double xMm, double yMm) const
    {
        return {centro.x() + xMm * escala, centro.y() + yMm * escala};
    }
};
GeometriaMapa Geometria(const QRectF& area, const OpcoesDesenho& opcoes);

// The whole map in the area (kept square and centred; a margin holds the degree marks).
void PintaMapa(QPainter& p, const QRectF& area, const MapaCurvatura& mapa,
               const EscalaCores& escala, const OpcoesDesenho& opcoes);

// The colour legend: one swatch per level, the steepest on top, with the dioptres.
void PintaLegenda(QPainter& p, const QRectF& area, const EscalaCores& escala,
                  const QString& titulo);

// The navigator's small map: the colour bands with a light grid, lado x lado, white
// background. Without a GUI application no text is drawn.
QImage MiniMapa(const MapaCurvatura& mapa, const EscalaCores& escala, int lado);
