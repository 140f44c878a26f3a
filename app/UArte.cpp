#include "app/UArte.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace Arte {

namespace {
const QColor kAzulEscuro(10, 32, 62);
const QColor kAzulMedio(22, 74, 122);
const QColor kCiano(64, 182, 214);

void Texto(QPainter& p, const QRectF& r, const QString& t, int pixels, QFont::Weight peso,
           const QColor& cor, int alinhamento, double espacamento = 0)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setWeight(peso);
    f.setLetterSpacing(QFont::AbsoluteSpacing, espacamento);
    p.setFont(f);
    p.setPen(cor);
    p.drawText(r, alinhamento, t);
}

// A small stylised eye with a ringed cornea, the mark of the program.
void DesenhaOlho(QPainter& p, QPointF c, double largura, const QColor& cor)
{
    const double a = largura / 2, h = largura * 0.28;
    QPainterPath palpebra;
    palpebra.moveTo(c.x() - a, c.y());
    palpebra.quadTo(c.x(), c.y() - 2 * h, c.x() + a, c.y());
    palpebra.quadTo(c.x(), c.y() + 2 * h, c.x() - a, c.y());
    p.setPen(QPen(cor, largura / 22));
    p.setBrush(Qt::NoBrush);
    p.drawPath(palpebra);
    p.save();
    p.setClipPath(palpebra);
    DesenhaAneisPlacido(p, c, h * 1.15, 5, 1.0);
    p.restore();
}
} // namespace

void DesenhaAneisPlacido(QPainter& p, QPointF centro, double raio, int aneis, double opacidade)
{
    p.save();
    p.setOpacity(opacidade);
    p.setPen(Qt::NoPen);
    for (int i = aneis * 2; i >= 1; --i) {
        const double r = raio * i / (aneis * 2);
        p.setBrush(i % 2 ? QColor(240, 248, 255) : QColor(12, 24, 40));
        p.drawEllipse(centro, r, r);
    }
    p.setBrush(QColor(12, 24, 40));
    p.drawEllipse(centro, raio * 0.06, raio * 0.06);
    p.restore();
}

QPixmap FundoMenuPrincipal()
{
    QPixmap fundo(801, 601);
    QPainter p(&fundo);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 801, 601);
    g.setColorAt(0, kAzulEscuro);
    g.setColorAt(0.6, kAzulMedio);
    g.setColorAt(1, QColor(18, 110, 150));
    p.fillRect(fundo.rect(), g);

    // The Placido target seen through the instrument, faded behind the work area.
    QRadialGradient brilho(QPointF(520, 370), 260);
    brilho.setColorAt(0, QColor(255, 255, 255, 40));
    brilho.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(brilho);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(520, 370), 260, 260);
    DesenhaAneisPlacido(p, QPointF(520, 370), 215, 12, 0.16);

    // Left column behind the buttons.
    p.setBrush(QColor(255, 255, 255, 28));
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawRoundedRect(QRectF(46, 190, 170, 392), 14, 14);

    // Banner.
    QLinearGradient faixa(32, 32, 32, 145);
    faixa.setColorAt(0, QColor(255, 255, 255, 235));
    faixa.setColorAt(1, QColor(222, 236, 246, 235));
    p.setBrush(faixa);
    p.setPen(QPen(QColor(255, 255, 255), 1.5));
    p.drawRoundedRect(QRectF(32, 32, 737, 113), 16, 16);
    DesenhaOlho(p, QPointF(110, 88), 110, kAzulMedio);
    Texto(p, QRectF(180, 40, 560, 58), QStringLiteral("KORVANE"), 46, QFont::Bold, kAzulEscuro,
          Qt::AlignLeft | Qt::AlignVCenter, 6);
    Texto(p, QRectF(182, 96, 560, 24), QStringLiteral("Topografia de córnea por anéis de Plácido"), 17,
          QFont::Normal, kAzulMedio, Qt::AlignLeft | Qt::AlignVCenter);
    Texto(p, QRectF(182, 118, 560, 20), QStringLiteral("Estação clínica  ·  clique aqui para informações sobre o programa"),
          11, QFont::Normal, QColor(90, 110, 130), Qt::AlignLeft | Qt::AlignVCenter);

    // Work area legend.
    Texto(p, QRectF(260, 190, 500, 30), QStringLiteral("Bem-vindo"), 24, QFont::DemiBold,
          QColor(255, 255, 255), Qt::AlignLeft | Qt::AlignVCenter);
    Texto(p, QRectF(260, 222, 480, 60),
          QStringLiteral("Cadastre médicos e pacientes, capture exames de cada olho, examine os mapas "
                         "topográficos e emita laudos."),
          14, QFont::Normal, QColor(225, 238, 248), Qt::AlignLeft | Qt::TextWordWrap);

    // Maker's logo area (568, 504, 233 x 97).
    p.setBrush(QColor(255, 255, 255, 30));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(578, 514, 210, 76), 10, 10);
    DesenhaOlho(p, QPointF(616, 552), 54, QColor(235, 245, 255));
    Texto(p, QRectF(650, 526, 140, 24), QStringLiteral("KORVANE"), 18, QFont::Bold,
          QColor(255, 255, 255), Qt::AlignLeft | Qt::AlignVCenter, 2);
    Texto(p, QRectF(650, 550, 140, 30), QStringLiteral("Instrumentos\noftálmicos"), 11,
          QFont::Normal, QColor(210, 230, 245), Qt::AlignLeft | Qt::AlignTop);
    return fundo;
}

QPixmap CabecalhoSobre(int largura, int altura)
{
    QPixmap cab(largura, altura);
    QPainter p(&cab);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, largura, altura);
    g.setColorAt(0, kAzulEscuro);
    g.setColorAt(1, kAzulMedio);
    p.fillRect(cab.rect(), g);
    DesenhaAneisPlacido(p, QPointF(largura - 60, altura / 2.0), altura * 0.9, 8, 0.18);
    DesenhaOlho(p, QPointF(50, altura / 2.0), 64, QColor(235, 245, 255));
    Texto(p, QRectF(92, 6, largura - 100, 34), QStringLiteral("KORVANE"), 26, QFont::Bold,
          QColor(255, 255, 255), Qt::AlignLeft | Qt::AlignVCenter, 4);
    Texto(p, QRectF(94, 38, largura - 100, 20), QStringLiteral("Topografia de córnea"), 13,
          QFont::Normal, QColor(200, 225, 245), Qt::AlignLeft | Qt::AlignVCenter);
    return cab;
}

QPixmap MarcaVerificado()
{
    QPixmap m(17, 17);
    m.fill(Qt::transparent);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(46, 160, 67));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(0.5, 0.5, 16, 16));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(4.5, 8.8), QPointF(7.4, 11.6), QPointF(12.6, 5.6)}));
    return m;
}

} // namespace Arte
