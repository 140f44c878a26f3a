#include "config/UIconesFerramentas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

using namespace Ferramentas;

namespace {

// Each tool on a rounded tile of its own colour, the glyph in white on a 48 x 48 grid.
QColor CorDoAplicativo(Aplicativo a)
{
    switch (a) {
    case Sistema: return QColor(38, 92, 156);
    case Explorer: return QColor(214, 150, 30);
    case PainelControle: return QColor(70, 110, 130);
    case Impressoras: return QColor(90, 96, 110);
    case Modem: return QColor(30, 140, 120);
    case DataHora: return QColor(160, 70, 60);
    case DirectCD: return QColor(110, 80, 160);
    case Regionais: return QColor(40, 130, 70);
    case Cameras: return QColor(25, 60, 100);
    }
    return Qt::gray;
}

void Desenha(QPainter& g, Aplicativo a)
{
    const QPen traco(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    g.setPen(traco);
    g.setBrush(Qt::NoBrush);
    switch (a) {
    case Sistema: // a monitor on its stand
        g.drawRoundedRect(QRectF(10, 11, 28, 19), 2, 2);
        g.drawLine(QPointF(24, 30), QPointF(24, 36));
        g.drawLine(QPointF(17, 37), QPointF(31, 37));
        break;
    case Explorer: { // a folder
        QPainterPath p;
        p.moveTo(9, 16);
        p.lineTo(19, 16);
        p.lineTo(22, 19);
        p.lineTo(39, 19);
        p.lineTo(39, 35);
        p.lineTo(9, 35);
        p.closeSubpath();
        g.drawPath(p);
        g.drawLine(QPointF(9, 23), QPointF(39, 23));
        break;
    }
    case PainelControle: // three sliders
        for (int i = 0; i < 3; ++i) {
            const qreal y = 15 + i * 9;
            g.drawLine(QPointF(11, y), QPointF(37, y));
            g.setBrush(Qt::white);
            g.drawEllipse(QPointF(16 + i * 8, y), 3, 3);
            g.setBrush(Qt::NoBrush);
        }
        break;
    case Impressoras: // a printer with its sheet
        g.drawRect(QRectF(16, 10, 16, 9));
        g.drawRoundedRect(QRectF(10, 19, 28, 12), 2, 2);
        g.drawRect(QRectF(16, 27, 16, 10));
        break;
    case Modem: // signal waves over a box
        g.drawRoundedRect(QRectF(11, 28, 26, 9), 2, 2);
        g.drawArc(QRectF(17, 15, 14, 14), 30 * 16, 120 * 16);
        g.drawArc(QRectF(12, 10, 24, 24), 30 * 16, 120 * 16);
        g.drawPoint(QPointF(24, 24));
        break;
    case DataHora: // a clock
        g.drawEllipse(QRectF(11, 11, 26, 26));
        g.drawLine(QPointF(24, 24), QPointF(24, 15));
        g.drawLine(QPointF(24, 24), QPointF(31, 27));
        break;
    case DirectCD: // a disc
        g.drawEllipse(QRectF(10, 10, 28, 28));
        g.drawEllipse(QRectF(20, 20, 8, 8));
        g.drawArc(QRectF(14, 14, 20, 20), 100 * 16, 60 * 16);
        break;
    case Regionais: // a globe
        g.drawEllipse(QRectF(11, 11, 26, 26));
        g.drawEllipse(QRectF(18, 11, 12, 26));
        g.drawLine(QPointF(11, 24), QPointF(37, 24));
        break;
    case Cameras: // a video camera
        g.drawRoundedRect(QRectF(9, 16, 21, 16), 3, 3);
        g.drawPolygon(QPolygonF({QPointF(30, 22), QPointF(39, 17), QPointF(39, 31), QPointF(30, 26)}));
        break;
    }
}

} // namespace

QIcon IconeAplicativo(Aplicativo item, int lado)
{
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(lado / 48.0, lado / 48.0);
    QLinearGradient fundo(0, 2, 0, 46);
    const QColor cor = CorDoAplicativo(item);
    fundo.setColorAt(0, cor.lighter(125));
    fundo.setColorAt(1, cor.darker(110));
    g.setPen(Qt::NoPen);
    g.setBrush(fundo);
    g.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    Desenha(g, item);
    return QIcon(p);
}
