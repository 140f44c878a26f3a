#include "navigator/UIcones.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kAzul(32, 96, 168);
const QColor kVerde(40, 150, 80);
const QColor kVermelho(200, 50, 45);
const QColor kLaranja(230, 140, 30);

void Pessoa(QPainter& p, double s, const QColor& cor)
{
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawEllipse(QPointF(s * 0.38, s * 0.30), s * 0.17, s * 0.17);
    QPainterPath corpo;
    corpo.moveTo(s * 0.08, s * 0.88);
    corpo.cubicTo(s * 0.08, s * 0.52, s * 0.68, s * 0.52, s * 0.68, s * 0.88);
    corpo.closeSubpath();
    p.drawPath(corpo);
}

void Selo(QPainter& p, double s, const QColor& cor, QChar sinal)
{
    const QRectF r(s * 0.55, s * 0.52, s * 0.44, s * 0.44);
    p.setPen(QPen(Qt::white, s * 0.04));
    p.setBrush(cor);
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, s * 0.08, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = r.center();
    const double m = s * 0.11;
    if (sinal == u'+') {
        p.drawLine(QPointF(c.x() - m, c.y()), QPointF(c.x() + m, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - m), QPointF(c.x(), c.y() + m));
    } else if (sinal == u'x') {
        p.drawLine(QPointF(c.x() - m, c.y() - m), QPointF(c.x() + m, c.y() + m));
        p.drawLine(QPointF(c.x() - m, c.y() + m), QPointF(c.x() + m, c.y() - m));
    } else {
        p.drawLine(QPointF(c.x() - m, c.y() + m), QPointF(c.x() + m, c.y() - m));
    }
}

void Olho(QPainter& p, double s, const QColor& iris)
{
    QPainterPath olho;
    olho.moveTo(s * 0.05, s * 0.5);
    olho.quadTo(s * 0.5, s * 0.08, s * 0.95, s * 0.5);
    olho.quadTo(s * 0.5, s * 0.92, s * 0.05, s * 0.5);
    p.setPen(QPen(QColor(60, 70, 90), s * 0.05));
    p.setBrush(Qt::white);
    p.drawPath(olho);
    QRadialGradient g(QPointF(s * 0.5, s * 0.5), s * 0.2);
    g.setColorAt(0, iris.lighter(150));
    g.setColorAt(1, iris);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.2, s * 0.2);
    p.setBrush(QColor(20, 20, 30));
    p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.08, s * 0.08);
}

void Mapa(QPainter& p, double s, bool orto)
{
    const QColor cores[] = {QColor(30, 60, 200), QColor(20, 170, 220), QColor(40, 190, 80),
                            QColor(240, 220, 40), QColor(240, 120, 30), QColor(210, 30, 30)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        const double r = s * (0.46 - i * 0.07);
        p.setBrush(cores[i]);
        p.drawEllipse(QPointF(s * 0.5, s * 0.5), r, r * (orto ? 1.0 : 0.82));
    }
    if (orto) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, s * 0.07));
        p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.3, s * 0.3);
    }
}

void Documento(QPainter& p, double s)
{
    QPainterPath folha;
    folha.moveTo(s * 0.2, s * 0.06);
    folha.lineTo(s * 0.62, s * 0.06);
    folha.lineTo(s * 0.82, s * 0.26);
    folha.lineTo(s * 0.82, s * 0.94);
    folha.lineTo(s * 0.2, s * 0.94);
    folha.closeSubpath();
    p.setPen(QPen(QColor(70, 80, 100), s * 0.05));
    p.setBrush(Qt::white);
    p.drawPath(folha);
    p.setPen(QPen(kAzul, s * 0.05));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(s * 0.3, s * (0.38 + i * 0.13)), QPointF(s * 0.72, s * (0.38 + i * 0.13)));
}

void Lixeira(QPainter& p, double s, const QColor& cor)
{
    p.setPen(QPen(cor, s * 0.06));
    p.setBrush(cor.lighter(170));
    p.drawRect(QRectF(s * 0.25, s * 0.3, s * 0.5, s * 0.6));
    p.drawLine(QPointF(s * 0.15, s * 0.22), QPointF(s * 0.85, s * 0.22));
    p.drawLine(QPointF(s * 0.4, s * 0.12), QPointF(s * 0.6, s * 0.12));
    for (double x : {0.4, 0.5, 0.6})
        p.drawLine(QPointF(s * x, s * 0.42), QPointF(s * x, s * 0.8));
}

void Lupa(QPainter& p, double s, const QColor& cor)
{
    p.setPen(QPen(cor, s * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(s * 0.42, s * 0.42), s * 0.26, s * 0.26);
    p.drawLine(QPointF(s * 0.62, s * 0.62), QPointF(s * 0.88, s * 0.88));
}

} // namespace

QPixmap DesenhaIcone(Icone icone, int tamanho, bool desabilitado)
{
    QPixmap m(tamanho, tamanho);
    m.fill(Qt::transparent);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = tamanho;
    switch (icone) {
    case Icone::NovoPaciente:
        Pessoa(p, s, kAzul);
        Selo(p, s, kVerde, u'+');
        break;
    case Icone::EditarPaciente:
        Pessoa(p, s, kAzul);
        Selo(p, s, kLaranja, u'/');
        break;
    case Icone::ExcluirPaciente:
        Pessoa(p, s, kAzul);
        Selo(p, s, kVermelho, u'x');
        break;
    case Icone::NovoExame:
        Olho(p, s, QColor(40, 120, 200));
        break;
    case Icone::ExameOrto:
        Olho(p, s, QColor(40, 150, 90));
        break;
    case Icone::Localizar:
    case Icone::Busca:
        Lupa(p, s, kAzul);
        break;
    case Icone::ExcluirExame:
        Lixeira(p, s, kVermelho);
        break;
    case Icone::Laudo:
        Documento(p, s);
        break;
    case Icone::Exportar: {
        // A sheet with an arrow leaving it.
        p.save();
        p.scale(0.8, 0.8);
        Documento(p, s);
        p.restore();
        QPainterPath seta;
        seta.moveTo(s * 0.5, s * 0.62);
        seta.lineTo(s * 0.76, s * 0.62);
        seta.lineTo(s * 0.76, s * 0.5);
        seta.lineTo(s * 0.96, s * 0.72);
        seta.lineTo(s * 0.76, s * 0.94);
        seta.lineTo(s * 0.76, s * 0.82);
        seta.lineTo(s * 0.5, s * 0.82);
        seta.closeSubpath();
        p.setPen(QPen(QColor(20, 110, 40), s * 0.04));
        p.setBrush(QColor(60, 170, 80));
        p.drawPath(seta);
        break;
    }
    case Icone::Lente:
        p.setPen(QPen(kAzul, s * 0.07));
        p.setBrush(QColor(180, 215, 245, 180));
        p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.4, s * 0.4);
        p.setPen(QPen(Qt::white, s * 0.06));
        p.drawArc(QRectF(s * 0.22, s * 0.22, s * 0.4, s * 0.4), 90 * 16, 70 * 16);
        break;
    case Icone::Ajuda: {
        p.setPen(Qt::NoPen);
        p.setBrush(kAzul);
        p.drawEllipse(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84));
        QFont f;
        f.setPixelSize(int(s * 0.62));
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Icone::Fechar:
        p.setPen(Qt::NoPen);
        p.setBrush(kVermelho);
        p.drawEllipse(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84));
        p.setPen(QPen(Qt::white, s * 0.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.34, s * 0.34), QPointF(s * 0.66, s * 0.66));
        p.drawLine(QPointF(s * 0.34, s * 0.66), QPointF(s * 0.66, s * 0.34));
        break;
    case Icone::Descrever:
        p.setPen(QPen(kLaranja.darker(120), s * 0.12, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.25, s * 0.75), QPointF(s * 0.78, s * 0.22));
        p.setPen(QPen(QColor(60, 60, 60), s * 0.06));
        p.drawLine(QPointF(s * 0.15, s * 0.88), QPointF(s * 0.85, s * 0.88));
        break;
    case Icone::Gravar:
        p.setPen(QPen(kAzul.darker(120), s * 0.06));
        p.setBrush(kAzul);
        p.drawRoundedRect(QRectF(s * 0.12, s * 0.12, s * 0.76, s * 0.76), s * 0.08, s * 0.08);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(s * 0.28, s * 0.16, s * 0.44, s * 0.26));
        p.drawRect(QRectF(s * 0.24, s * 0.56, s * 0.52, s * 0.28));
        break;
    case Icone::OrdemAlfa:
    case Icone::OrdemCriacao: {
        QFont f;
        f.setPixelSize(int(s * 0.42));
        f.setBold(true);
        p.setFont(f);
        p.setPen(kAzul);
        const bool alfa = icone == Icone::OrdemAlfa;
        p.drawText(QRectF(0, 0, s * 0.6, s * 0.5), Qt::AlignCenter, alfa ? QStringLiteral("A") : QStringLiteral("1"));
        p.drawText(QRectF(0, s * 0.5, s * 0.6, s * 0.5), Qt::AlignCenter, alfa ? QStringLiteral("Z") : QStringLiteral("9"));
        p.setPen(QPen(QColor(80, 80, 80), s * 0.07, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.78, s * 0.12), QPointF(s * 0.78, s * 0.86));
        p.drawLine(QPointF(s * 0.66, s * 0.72), QPointF(s * 0.78, s * 0.86));
        p.drawLine(QPointF(s * 0.9, s * 0.72), QPointF(s * 0.78, s * 0.86));
        break;
    }
    case Icone::Topografia:
        Mapa(p, s, false);
        break;
    case Icone::Ortoceratologia:
        Mapa(p, s, true);
        break;
    }
    p.end();
    if (desabilitado) {
        QImage img = m.toImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                const int g = qGray(c.rgb());
                img.setPixelColor(x, y, QColor(g, g, g, c.alpha() / 2));
            }
        return QPixmap::fromImage(img);
    }
    return m;
}

QIcon IconeNavegador(Icone icone, int tamanho)
{
    QIcon i(DesenhaIcone(icone, tamanho));
    i.addPixmap(DesenhaIcone(icone, tamanho, true), QIcon::Disabled);
    return i;
}
