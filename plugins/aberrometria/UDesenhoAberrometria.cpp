#include "plugins/aberrometria/UDesenhoAberrometria.h"

#include "plugins/aberrometria/UZernike.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Aberrometria {

namespace {

QColor CorEscala(double t) // t in -1..1
{
    t = std::clamp(t, -1.0, 1.0);
    // Blue (-) through green (0) to red (+).
    const double h = (1.0 - (t + 1.0) / 2.0) * 240.0;
    return QColor::fromHsvF(h / 360.0, 0.85, 0.95);
}

} // namespace

QImage MapaFrente(const ResultadoFrente& r, int primeiro, int largura, int altura, const QString& titulo)
{
    largura = std::clamp(largura, 120, 1000);
    altura = std::clamp(altura, 120, 1000);
    QImage img(largura, altura, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawText(QRect(0, 2, largura, 16), Qt::AlignCenter, titulo);
    if (!r.valido)
        return img;
    const int lado = std::min(largura - 60, altura - 30);
    const int x0 = 6, y0 = 22;
    std::vector<double> w(size_t(lado) * lado, std::nan(""));
    double maximo = 0;
    for (int j = 0; j < lado; ++j)
        for (int i = 0; i < lado; ++i) {
            const double x = (i + 0.5) / lado * 2 - 1, y = 1 - (j + 0.5) / lado * 2, rho = std::hypot(x, y);
            if (rho > 1)
                continue;
            const double v = Zernike::Avalia(r.coef, rho, std::atan2(y, x), primeiro);
            w[size_t(j) * lado + i] = v;
            maximo = std::max(maximo, std::abs(v));
        }
    // Scale in steps that read well.
    const double passos[] = {0.05, 0.1, 0.2, 0.25, 0.5, 1, 2, 2.5, 5, 10, 20, 50};
    double escala = passos[std::size(passos) - 1];
    for (double s : passos)
        if (maximo <= s) {
            escala = s;
            break;
        }
    for (int j = 0; j < lado; ++j)
        for (int i = 0; i < lado; ++i) {
            const double v = w[size_t(j) * lado + i];
            if (std::isfinite(v))
                img.setPixelColor(x0 + i, y0 + j, CorEscala(v / escala));
        }
    p.setPen(Qt::black);
    p.drawEllipse(QRectF(x0, y0, lado, lado));
    // Legend.
    const int lx = x0 + lado + 8, ly = y0, la = lado;
    for (int k = 0; k < la; ++k)
        p.fillRect(lx, ly + k, 12, 1, CorEscala(1.0 - 2.0 * k / la));
    QFont f = p.font();
    f.setPointSizeF(7.5);
    p.setFont(f);
    for (int k = 0; k <= 4; ++k) {
        const double v = escala * (1.0 - k / 2.0);
        p.drawText(QRectF(lx + 13, ly + k * la / 4.0 - 7, 40, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(v, 'g', 3));
    }
    p.drawText(QRectF(lx, ly + la + 2, 50, 14), Qt::AlignLeft, QStringLiteral("µm"));
    return img;
}

QImage ImagemPsf(const Psf& psf, int lado)
{
    QImage img(lado, lado, QImage::Format_RGB32);
    img.fill(Qt::black);
    if (psf.valores.empty())
        return img;
    // The centre, wide enough for 95 % of the light (at least about 5 arc minutes).
    double pico = 0;
    for (double v : psf.valores)
        pico = std::max(pico, v);
    std::vector<double> porRaio(kLadoFft, 0.0);
    for (int j = 0; j < kLadoFft; ++j)
        for (int i = 0; i < kLadoFft; ++i) {
            const int r = std::min(kLadoFft - 1, int(std::hypot(i - kLadoFft / 2, j - kLadoFft / 2)));
            porRaio[r] += psf.valores[size_t(j) * kLadoFft + i];
        }
    int r95 = 0;
    for (double soma = 0; r95 < kLadoFft - 1 && soma < 0.95; ++r95)
        soma += porRaio[r95];
    const int kJanela = std::clamp((r95 * 5 / 2 + 1) & ~1, 32, kLadoFft); // 1.25 x the 95 % radius, across
    const int c = kLadoFft / 2 - kJanela / 2;
    for (int y = 0; y < lado; ++y)
        for (int x = 0; x < lado; ++x) {
            const int i = c + x * kJanela / lado, j = c + y * kJanela / lado;
            const double v = std::sqrt(psf.valores[size_t(j) * kLadoFft + i] / pico); // gamma for the halo
            const int g = std::clamp(int(v * 255), 0, 255);
            img.setPixel(x, y, qRgb(g, g, g));
        }
    QPainter p(&img);
    p.setPen(QColor(200, 200, 80));
    p.drawText(QRect(4, lado - 18, lado - 8, 16), Qt::AlignRight,
               QStringLiteral("%1′").arg(kJanela * psf.minutosPorPixel, 0, 'f', 1));
    return img;
}

QImage Optotipos(const Psf& psf)
{
    // The chart fills the central half of the grid; the white margin keeps the blur of one
    // edge from wrapping onto the other.
    constexpr int kLado = kLadoFft / 2, kMargem = (kLadoFft - kLado) / 2;
    QImage quadro(kLadoFft, kLadoFft, QImage::Format_Grayscale8);
    quadro.fill(255);
    {
        QPainter p(&quadro);
        p.translate(kMargem, kMargem);
        p.setPen(Qt::black);
        // Letter heights of 10, 6.25 and 4 arc minutes (20/40, 20/25, 20/16).
        const double mpp = psf.minutosPorPixel > 0 ? psf.minutosPorPixel : 0.16;
        const struct {
            double minutos;
            const char* letras;
        } linhas[] = {{10, "EFP"}, {6.25, "TOZL"}, {4, "PEDFC"}};
        double y = 10;
        for (const auto& l : linhas) {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setBold(true);
            f.setPixelSize(std::max(4, int(std::lround(l.minutos / mpp / 0.72)))); // cap height ~0.72 em
            p.setFont(f);
            const double alt = l.minutos / mpp;
            p.drawText(QRectF(0, y, kLado, alt * 1.45), Qt::AlignCenter, QString::fromLatin1(l.letras));
            y += alt * 1.6;
        }
    }
    std::vector<double> valores(size_t(kLadoFft) * kLadoFft);
    for (int j = 0; j < kLadoFft; ++j)
        for (int i = 0; i < kLadoFft; ++i)
            valores[size_t(j) * kLadoFft + i] = qGray(quadro.pixel(i, j)) / 255.0;
    const std::vector<double> borrado = Convolui(valores, psf);
    QImage img(kLado, kLado, QImage::Format_RGB32);
    for (int j = 0; j < kLado; ++j)
        for (int i = 0; i < kLado; ++i) {
            const int g = std::clamp(int(borrado[size_t(j + kMargem) * kLadoFft + i + kMargem] * 255), 0, 255);
            img.setPixel(i, j, qRgb(g, g, g));
        }
    return img;
}

} // namespace Aberrometria
