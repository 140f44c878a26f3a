#pragma once
// The program's pictures, drawn in code: the main menu background with its banner and the
// maker's logo, the About box header, and the start-up check mark.

#include <QPixmap>

namespace Arte {
QPixmap FundoMenuPrincipal(); // 801 x 601
QPixmap CabecalhoSobre(int largura, int altura);
QPixmap MarcaVerificado(); // 17 x 17
// Draws a Placido-ring target: alternating light and dark rings around a centre.
void DesenhaAneisPlacido(class QPainter& p, QPointF centro, double raio, int aneis, double opacidade);
} // namespace Arte
