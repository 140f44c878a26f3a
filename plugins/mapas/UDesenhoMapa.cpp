#include "plugins/mapas/UDesenhoMapa.h"

#include "common/UFormatos.h"

#include <QGuiApplication>
#include <QPainterPath>

#include <cmath>
#include <utility>

double RaioDesenho(const MapaCurvatura& mapa)
{
    const double r = std::ceil(mapa.RaioDados() * 2.0) / 2.0;
    return std::clamp(r, 3.0, 6.0);
}

QImage ImagemCores(const MapaCurvatura& mapa, const EscalaCores& escala, int lado,
                   double raioMm)
{
    QImage img(lado, lado, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    if (!mapa.TemDados() || lado <= 0)
        return img;
    // One colour per level, looked up once.
    QList<QRgb> cores;
    for (int k = 0; k < escala.Niveis(); ++k)
        cores << escala.CorNivel(k).rgba();
    const double mmPorPixel = 2.0 * raioMm / lado;
    const double meio = lado / 2.0;
    for (int y = 0; y < lado; ++y) {
        auto* linha = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double ym = (y + 0.5 - meio) * mmPorPixel;
        for (int x = 0; x < lado; ++x) {
            const double xm = (x + 0.5 - meio) * mmPorPixel;
            if (xm * xm + ym * ym > raioMm * raioMm)
                continue;
            const int k = escala.Nivel(mapa.Valor(xm, ym));
            if (k >= 0)
                linha[x] = cores.at(k);
        }
    }
    return img;
}

GeometriaMapa Geometria(const QRectF& area, const OpcoesDesenho& opcoes)
{
    const double lado = std::min(area.width(), area.height());
    const double margem = opcoes.textos ? std::max(22.0, lado * 0.06) : 2.0;
    GeometriaMapa g;
    g.centro = area.center();
    g.escala = (lado / 2.0 - margem) / opcoes.raioMm;
    return g;
}

namespace {

void PintaGrade(QPainter& p, const GeometriaMapa& g, const OpcoesDesenho& o)
{
    const double R = o.raioMm;
    p.save();
    p.setBrush(Qt::NoBrush);
    QPen fina(QColor(0, 0, 0, 70), 0.8);
    p.setPen(fina);
    // Millimetre lines inside the zone.
    for (int k = -int(R); k <= int(R); ++k) {
        const double meia = std::sqrt(std::max(0.0, R * R - double(k * k)));
        p.drawLine(g.Ponto(k, -meia), g.Ponto(k, meia));
        p.drawLine(g.Ponto(-meia, k), g.Ponto(meia, k));
    }
    // Rings every millimetre of radius; the 3 mm zone (keratometry) stands out.
    for (int k = 1; k <= int(R); ++k) {
        p.setPen(QPen(QColor(0, 0, 0, k == 1 || k == 2 ? 110 : 80), k == 2 ? 1.0 : 0.8,
                      k == 2 ? Qt::SolidLine : Qt::DashLine));
        p.drawEllipse(g.centro, k * g.escala, k * g.escala);
    }
    p.setPen(QPen(QColor(0, 0, 0, 110), 0.8, Qt::DashLine));
    p.drawEllipse(g.centro, 1.5 * g.escala, 1.5 * g.escala);
    // Centre cross.
    p.setPen(QPen(Qt::black, 1.2));
    const double c = 5;
    p.drawLine(g.centro - QPointF(c, 0), g.centro + QPointF(c, 0));
    p.drawLine(g.centro - QPointF(0, c), g.centro + QPointF(0, c));
    p.restore();
}

void PintaGraus(QPainter& p, const GeometriaMapa& g, const OpcoesDesenho& o)
{
    p.save();
    const double R = o.raioMm * g.escala;
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    QFont f = p.font();
    f.setPointSizeF(std::max(6.5, R / 26.0));
    p.setFont(f);
    const QFontMetricsF fm(f);
    // Ticks every 10 degrees, labels every 30 (clinical axes, counter-clockwise).
    for (int a = 0; a < 360; a += 10) {
        const double rad = a * M_PI / 180.0;
        const QPointF dir(std::cos(rad), -std::sin(rad));
        const double len = a % 30 == 0 ? 7.0 : 4.0;
        p.drawLine(g.centro + dir * R, g.centro + dir * (R + len));
        if (a % 30 == 0) {
            const QString t = QString::number(a) + QChar(0x00B0);
            const QPointF pos = g.centro + dir * (R + len + fm.height() * 0.75);
            const QRectF caixa(pos.x() - fm.horizontalAdvance(t) / 2, pos.y() - fm.height() / 2,
                               fm.horizontalAdvance(t), fm.height());
            p.drawText(caixa, Qt::AlignCenter, t);
        }
    }
    p.restore();
}

void PintaCeratPontual(QPainter& p, const GeometriaMapa& g, const MapaCurvatura& mapa,
                       const OpcoesDesenho& o)
{
    p.save();
    QFont f = p.font();
    f.setPointSizeF(std::max(6.0, g.escala / 9.0));
    f.setBold(true);
    p.setFont(f);
    p.setPen(o.corCeratPontual);
    const QFontMetricsF fm(f);
    auto escreve = [&](double xm, double ym) {
        const double v = mapa.Valor(xm, ym);
        if (!std::isfinite(v))
            return;
        const QString t = FormataNumero(QStringLiteral("0.0"), v);
        const QPointF c = g.Ponto(xm, ym);
        const double w = fm.horizontalAdvance(t);
        p.drawText(QRectF(c.x() - w / 2, c.y() - fm.height() / 2, w, fm.height()),
                   Qt::AlignCenter, t);
    };
    escreve(0, 0.0);
    // Three zones (3, 5 and 7 mm of diameter), eight points each, every other zone turned
    // by 22.5 degrees so that neighbouring values do not collide.
    const double raios[] = {1.5, 2.5, 3.5};
    for (int z = 0; z < 3; ++z) {
        if (raios[z] > o.raioMm)
            break;
        for (int k = 0; k < 8; ++k) {
            const double a = (k * 45.0 + (z % 2) * 22.5) * M_PI / 180.0;
            escreve(raios[z] * std::cos(a), -raios[z] * std::sin(a));
        }
    }
    p.restore();
}

} // namespace

void PintaMapa(QPainter& p, const QRectF& area, const MapaCurvatura& mapa,
               const EscalaCores& escala, const OpcoesDesenho& o)
{
    const GeometriaMapa g = Geometria(area, o);
    const double Rpx = o.raioMm * g.escala;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The zone without data: light grey disc.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 236, 236));
    p.drawEllipse(g.centro, Rpx, Rpx);
    const int lado = std::max(2, int(std::ceil(2 * Rpx)));
    const QImage cores = ImagemCores(mapa, escala, lado, o.raioMm);
    p.drawImage(QRectF(g.centro.x() - lado / 2.0, g.centro.y() - lado / 2.0, lado, lado), cores);
    if (o.grade)
        PintaGrade(p, g, o);
    if (o.pupila && o.pupilaRaio > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 1.4, Qt::DashDotLine));
        p.drawEllipse(g.Ponto(o.pupilaX, o.pupilaY), o.pupilaRaio * g.escala,
                      o.pupilaRaio * g.escala);
    }
    if (o.anel && o.anelRaio > 0) {
        // The ring, its centre, and the line from the map centre to it.
        const QPointF c = g.Ponto(o.anelX, o.anelY);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 3.0));
        p.drawEllipse(c, o.anelRaio * g.escala, o.anelRaio * g.escala);
        p.setPen(QPen(Qt::black, 1.4, Qt::DashLine));
        p.drawEllipse(c, o.anelRaio * g.escala, o.anelRaio * g.escala);
        p.setPen(QPen(Qt::black, 2.0));
        p.drawLine(c - QPointF(6, 0), c + QPointF(6, 0));
        p.drawLine(c - QPointF(0, 6), c + QPointF(0, 6));
        p.setPen(QPen(Qt::black, 1.2, Qt::DotLine));
        p.drawLine(g.centro, c);
    }
    if (o.kMax) {
        // The steepest point: a ring with four ticks, white under black to show on any
        // colour; the point itself keeps its colour.
        const QPointF c = g.Ponto(o.kMaxX, o.kMaxY);
        p.setBrush(Qt::NoBrush);
        for (const auto& [cor, largura] : {std::pair{QColor(Qt::white), 3.0}, std::pair{QColor(Qt::black), 1.4}}) {
            p.setPen(QPen(cor, largura));
            p.drawEllipse(c, 7.0, 7.0);
            for (const QPointF d : {QPointF(1, 1), QPointF(1, -1), QPointF(-1, 1), QPointF(-1, -1)})
                p.drawLine(c + d * 7.0, c + d * 11.0);
        }
    }
    if (o.ceratPontual && o.textos)
        PintaCeratPontual(p, g, mapa, o);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.drawEllipse(g.centro, Rpx, Rpx);
    if (o.textos)
        PintaGraus(p, g, o);
    p.restore();
}

void PintaLegenda(QPainter& p, const QRectF& area, const EscalaCores& escala,
                  const QString& titulo)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont f = p.font();
    f.setPointSizeF(8.0);
    p.setFont(f);
    const QFontMetricsF fm(f);
    const double topoTitulo = titulo.isEmpty() ? 0.0 : fm.height() * 3.4;
    if (!titulo.isEmpty()) {
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left(), area.top(), area.width(), topoTitulo),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, titulo);
    }
    const int n = escala.Niveis();
    const double alturaUtil = area.height() - topoTitulo - 4;
    const double h = std::min(22.0, alturaUtil / std::max(1, n));
    const double largura = std::min(26.0, area.width() * 0.35);
    double y = area.top() + topoTitulo + std::max(0.0, (alturaUtil - h * n) / 2.0);
    for (int k = n - 1; k >= 0; --k, y += h) {
        const QRectF caixa(area.left() + 4, y, largura, h);
        p.fillRect(caixa, escala.CorNivel(k));
        p.setPen(QColor(90, 90, 90));
        p.drawRect(caixa);
        p.setPen(Qt::black);
        p.drawText(QRectF(caixa.right() + 6, y, area.right() - caixa.right() - 6, h),
                   Qt::AlignLeft | Qt::AlignVCenter, escala.TextoNivel(k));
    }
    p.restore();
}

QImage MiniMapa(const MapaCurvatura& mapa, const EscalaCores& escala, int lado)
{
    QImage img(lado, lado, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    OpcoesDesenho o;
    o.raioMm = RaioDesenho(mapa);
    o.grade = true;
    o.textos = false;
    PintaMapa(p, QRectF(0, 0, lado, lado), mapa, escala, o);
    // Extremes of the map in the corners when fonts are available.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && mapa.TemDados()) {
        QFont f = p.font();
        f.setPointSizeF(7.0);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRectF(3, 1, lado - 6, 14), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Máx %1").arg(FormataNumero(QStringLiteral("0.0"), mapa.Maximo())));
        p.drawText(QRectF(3, lado - 15, lado - 6, 14), Qt::AlignLeft | Qt::AlignBottom,
                   QStringLiteral("Mín %1").arg(FormataNumero(QStringLiteral("0.0"), mapa.Minimo())));
    }
    p.end();
    return img;
}
