#include "plugins/lentes/UFluoresceina.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor kCobalto(18, 30, 120);
const QColor kVerde(120, 255, 90);

// Meridian index of a picture direction (image coordinates, y down).
int Meridiano(double dx, double dy)
{
    double a = std::atan2(dy, dx) * 180.0 / M_PI;
    if (a < 0)
        a += 360.0;
    int k = int(std::lround(a)) % 360; // meridian k, 0 standing for 360
    return (k + 359) % 360;
}

} // namespace

QImage FundoCobalto(const QImage& central, double centroX, double centroY, double fator, int lado)
{
    QImage img(lado, lado, QImage::Format_RGB32);
    const double mmPx = kCampoFluoresceina / lado, c = (lado - 1) / 2.0;
    const bool temImagem = !central.isNull() && fator > 0 && std::isfinite(centroX) && std::isfinite(centroY);
    for (int y = 0; y < lado; ++y) {
        QRgb* linha = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < lado; ++x) {
            const double dx = (x - c) * mmPx, dy = (y - c) * mmPx;
            const int ix = temImagem ? int(std::lround(centroX + dx / fator)) : -1;
            const int iy = temImagem ? int(std::lround(centroY + dy / fator)) : -1;
            double v;
            if (temImagem && central.valid(ix, iy)) {
                v = qGray(central.pixel(ix, iy)) / 255.0;
            } else {
                // Schematic eye (also beyond the image's edge): sclera, iris, pupil.
                const double r = std::hypot(dx, dy);
                v = r < 1.8 ? 0.05 : r < 5.8 ? 0.30 + 0.08 * std::cos(std::atan2(dy, dx) * 24) : 0.75;
            }
            linha[x] = qRgb(int(kCobalto.red() * v * 1.6), int(kCobalto.green() * v * 1.6),
                            std::min(255, int(60 + kCobalto.blue() * v * 1.6)));
        }
    }
    return img;
}

QImage DesenhaFluoresceina(const QImage& fundo, const ResultadoLente& r, const std::vector<double>& bordaDados)
{
    QImage img = fundo.convertToFormat(QImage::Format_RGB32);
    const int lado = img.width();
    const double mmPx = kCampoFluoresceina / lado, c = (lado - 1) / 2.0;
    const double raio = r.lente.diametro / 2;
    if (r.valido) {
        for (int y = 0; y < lado; ++y) {
            QRgb* linha = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < lado; ++x) {
                const double dx = (x - c) * mmPx, dy = (y - c) * mmPx, rr = std::hypot(dx, dy);
                if (rr > raio)
                    continue;
                const double t = r.LagrimaEm(Meridiano(dx, dy), rr);
                if (!std::isfinite(t))
                    continue;
                const double i = IntensidadeFluoresceina(t);
                const QRgb f = linha[x];
                // The lens tints the eye cobalt; the film glows green over it.
                const double base = 0.22;
                linha[x] = qRgb(std::min(255, int(qRed(f) * base + kVerde.red() * i)),
                                std::min(255, int(qGreen(f) * base + 20 + kVerde.green() * i)),
                                std::min(255, int(qBlue(f) * base + 70 * (1 - i) + kVerde.blue() * i)));
            }
        }
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centro(c, c);
    p.setPen(QPen(QColor(200, 220, 255), 1.5));
    p.drawEllipse(centro, raio / mmPx, raio / mmPx);
    p.setPen(QPen(QColor(200, 220, 255, 120), 1, Qt::DotLine));
    p.drawEllipse(centro, r.lente.zonaOptica / 2 / mmPx, r.lente.zonaOptica / 2 / mmPx);
    // Edge of the measured data: beyond it the film comes from each meridian's conic.
    QPainterPath borda;
    bool primeiro = true;
    for (int m = 0; m <= ZR_MERIDIANOS; ++m) {
        const int k = m % ZR_MERIDIANOS;
        const double b = k < int(bordaDados.size()) ? bordaDados[k] : 0.0;
        if (b <= 0)
            continue;
        const double a = (k + 1) * M_PI / 180.0;
        const QPointF q(c + b * std::cos(a) / mmPx, c + b * std::sin(a) / mmPx);
        if (primeiro)
            borda.moveTo(q);
        else
            borda.lineTo(q);
        primeiro = false;
    }
    p.setPen(QPen(QColor(255, 220, 60), 1.2, Qt::DashLine));
    p.drawPath(borda);
    return img;
}

QImage DesenhaPerfis(const ResultadoLente& r, int meridianoPlano, int meridianoCurvo, QSize tamanho)
{
    QImage img(tamanho, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(45, 10, tamanho.width() - 60, tamanho.height() - 40);
    const double raio = r.lente.diametro / 2;
    double maximo = 40;
    for (float v : r.lagrima)
        if (std::isfinite(v))
            maximo = std::max<double>(maximo, std::min<double>(v, 200.0));
    maximo = std::ceil(maximo / 20.0) * 20.0;
    const auto px = [&](double x) { return area.left() + (x + raio) / (2 * raio) * area.width(); };
    const auto py = [&](double t) { return area.bottom() - std::clamp(t, 0.0, maximo) / maximo * area.height(); };
    p.setPen(QColor(200, 200, 200));
    for (double t = 0; t <= maximo + 1e-9; t += 20) {
        p.drawLine(QPointF(area.left(), py(t)), QPointF(area.right(), py(t)));
        p.drawText(QRectF(0, py(t) - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(t, 'f', 0));
    }
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
    p.drawLine(QPointF(area.left(), py(10)), QPointF(area.right(), py(10))); // touch
    p.setPen(Qt::black);
    p.drawRect(area);
    for (int mm = -int(raio); mm <= int(raio); ++mm)
        p.drawText(QRectF(px(mm) - 15, area.bottom() + 2, 30, 16), Qt::AlignCenter, QString::number(mm));
    p.drawText(QRectF(area.left(), area.bottom() + 16, area.width(), 14), Qt::AlignCenter,
               QStringLiteral("mm do centro (µm de lágrima)"));
    const auto curva = [&](int m, const QColor& cor, const QString& nome, int linha) {
        QPainterPath cam;
        bool inicio = true;
        for (int i = -r.amostras + 1; i < r.amostras; ++i) {
            const int k = i < 0 ? (m + 180) % 360 : m;
            const double t = r.Lagrima(k, std::abs(i));
            if (!std::isfinite(t)) {
                inicio = true;
                continue;
            }
            const QPointF q(px(i * r.passo), py(t));
            if (inicio)
                cam.moveTo(q);
            else
                cam.lineTo(q);
            inicio = false;
        }
        p.setPen(QPen(cor, 2));
        p.drawPath(cam);
        p.drawText(QPointF(area.left() + 8, area.top() + 16 * linha), nome);
    };
    curva(meridianoPlano, QColor(0, 140, 0), QStringLiteral("Meridiano plano %1°").arg(AdaptacaoLente::EixoClinico(meridianoPlano)), 1);
    curva(meridianoCurvo, QColor(200, 60, 0), QStringLiteral("Meridiano curvo %1°").arg(AdaptacaoLente::EixoClinico(meridianoCurvo)), 2);
    return img;
}
