#pragma once
// What the measurement screen paints on its two 640 x 480 images: the reticle of the
// central image, the colour palette, finished measurements, the rubber band that follows
// the pointer, the FST strokes and the lens profile over the lateral image. Every routine
// paints onto a QImage, so the pictures are checked pixel by pixel without a window.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>

// One measurement of an image: length in mm, label "M<n>", its two points and the position
// of its text (canvas coordinates, origin at the top-left).
struct TMedida {
    double Comprimento = 0;
    QString Rotulo;
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int TextoX = 0, TextoY = 0;
};

// Colours and width the user chose for the measurements.
struct TEstiloMedidas {
    QColor Linha{255, 255, 0};
    QColor Texto{255, 255, 0};
    int Espessura = 1; // 1..5
};

inline constexpr int kLarguraImagem = 640;
inline constexpr int kAlturaImagem = 480;
inline constexpr int kMaxMedidas = 5;

// Length in mm of the segment between two canvas points, with mm per pixel in x and in y.
// A factor of 0 or below counts as 0, so a bad factor measures 0 mm, never a negative or
// mirrored length.
double ComprimentoMedida(QPoint a, QPoint b, double fatorX, double fatorY);
// The record of a finished measurement numbered `numero` (1-based), text position at the
// middle of the segment, 20 pixels up and left.
TMedida NovaMedida(QPoint a, QPoint b, double fatorX, double fatorY, int numero);

// The reticle of the central image in RGB 0, 255, 0: circle of radius 240 about (320, 240),
// centre cross, strokes at the circle's sides, at the top and bottom edges and at its four
// 45-degree points.
void plotatransf(QImage& imagem, int espessura);

// The 15 colours of the palette, top to bottom, and the 30 x 450 picture of 30-pixel bands.
extern const QRgb CoresPaleta[15];
QImage PreenchePaleta();

// A finished measurement: the segment in the line colour and its length ("0.##" + " mm") in
// the text colour at its text position.
void DesenhaMedida(QImage& imagem, const TMedida& medida, const TEstiloMedidas& estilo);
// The running length ("0.###") in the line colour with its top-left at `posicao`.
void EscreveComprimento(QImage& imagem, const QString& texto, QPoint posicao, const QColor& cor);
// A line in a colour and width (square ends, no antialiasing: one canvas pixel is one
// image pixel).
void DesenhaLinha(QImage& imagem, QPoint a, QPoint b, const QColor& cor, int espessura);

// Lens profile over the lateral image.
struct TDadosDesenhoLente {
    QPoint P1;              // the first point of the last lateral measurement (canvas)
    bool OlhoDireito = true; // "OD": outward is -x
    int Modo = 0;            // 1 via topography; any other: apex-limbus segment
    double Vault = 0;        // um
    double RaioLente = 0;    // mm
    double SagLente = 0;     // um
    double DiametroLente = 0; // mm
    double SagTopo = 0, SagLimbo = 0; // mm
    double ApiceLimbo = 0;   // mm
    double FatorX = 0, FatorY = 0; // mm per pixel of the lateral image
};
// Draws the lens (apex, back-surface centre, ellipse, edge), the vault in green and the
// zone segments (mode 1: topography in blue and limbus in red; otherwise the apex-limbus
// depth in red). Pixel lengths are rounded halves to even. A lateral factor of 0 or below,
// or a length that does not give a finite pixel count, raises ErroCalculo before anything
// is drawn.
void PlotaLente(QImage& imagem, const TDadosDesenhoLente& dados, const TEstiloMedidas& estilo);
