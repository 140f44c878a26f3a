#include "topography/UDesenhoMedidas.h"

#include "common/UFormatos.h"
#include "topography/UErroCalculo.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <cmath>

namespace {

QPen Caneta(const QColor& cor, int espessura)
{
    QPen p(cor, std::max(1, espessura), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    return p;
}

QFont FonteTexto()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

double FatorValido(double f) { return (f > 0 && std::isfinite(f)) ? f : 0.0; }

} // namespace

const QRgb CoresPaleta[15] = {
    qRgb(255, 0, 0),     qRgb(255, 255, 0),   qRgb(0, 255, 255),   qRgb(255, 153, 0),
    qRgb(153, 255, 0),   qRgb(255, 102, 102), qRgb(255, 255, 255), qRgb(102, 204, 195),
    qRgb(192, 0, 15),    qRgb(255, 204, 153), qRgb(204, 255, 153), qRgb(0, 102, 255),
    qRgb(255, 102, 102), qRgb(255, 255, 150), qRgb(255, 153, 153),
};

double ComprimentoMedida(QPoint a, QPoint b, double fatorX, double fatorY)
{
    const double dx = std::abs(b.x() - a.x()) * FatorValido(fatorX);
    const double dy = std::abs(b.y() - a.y()) * FatorValido(fatorY);
    return std::sqrt(dx * dx + dy * dy);
}

TMedida NovaMedida(QPoint a, QPoint b, double fatorX, double fatorY, int numero)
{
    TMedida m;
    m.Comprimento = ComprimentoMedida(a, b, fatorX, fatorY);
    m.Rotulo = QStringLiteral("M%1").arg(numero);
    m.X1 = a.x();
    m.Y1 = a.y();
    m.X2 = b.x();
    m.Y2 = b.y();
    const int dx = std::abs(b.x() - a.x());
    const int dy = std::abs(b.y() - a.y());
    m.TextoX = std::min(a.x(), b.x()) + int(ArredondaInteiro(dx / 2.0)) - 20;
    m.TextoY = std::min(a.y(), b.y()) + int(ArredondaInteiro(dy / 2.0)) - 20;
    return m;
}

void DesenhaLinha(QImage& imagem, QPoint a, QPoint b, const QColor& cor, int espessura)
{
    QPainter p(&imagem);
    p.setPen(Caneta(cor, espessura));
    p.drawLine(a, b);
}

void plotatransf(QImage& imagem, int espessura)
{
    const int w = kLarguraImagem / 2, h = kAlturaImagem / 2;
    QPainter p(&imagem);
    p.setPen(Caneta(QColor(0, 255, 0), espessura));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(w, h), h, h);
    p.drawLine(w - 5, h, w + 5, h);
    p.drawLine(w, h - 5, w, h + 5);
    p.drawLine(w - h - 5, h, w - h + 5, h);
    p.drawLine(w + h - 5, h, w + h + 5, h);
    p.drawLine(w, 0, w, 5);
    p.drawLine(w, 2 * h - 5, w, 2 * h);
    const int d = int(ArredondaInteiro(0.7071 * h)); // 170
    for (const int sx : {-1, 1})
        for (const int sy : {-1, 1})
            p.drawLine(w + sx * (d - 5), h + sy * (d - 5), w + sx * (d + 5), h + sy * (d + 5));
}

QImage PreenchePaleta()
{
    QImage paleta(30, 450, QImage::Format_RGB32);
    for (int faixa = 0; faixa < 15; ++faixa)
        for (int y = faixa * 30; y < faixa * 30 + 30; ++y)
            for (int x = 0; x < 30; ++x)
                paleta.setPixel(x, y, CoresPaleta[faixa]);
    return paleta;
}

void EscreveComprimento(QImage& imagem, const QString& texto, QPoint posicao, const QColor& cor)
{
    QPainter p(&imagem);
    p.setFont(FonteTexto());
    // A dark shadow keeps the text legible over the bright rings.
    p.setPen(QColor(0, 0, 0));
    p.drawText(QRect(posicao + QPoint(1, 1), QSize(160, 18)), Qt::AlignLeft | Qt::AlignTop, texto);
    p.setPen(cor);
    p.drawText(QRect(posicao, QSize(160, 18)), Qt::AlignLeft | Qt::AlignTop, texto);
}

void DesenhaMedida(QImage& imagem, const TMedida& m, const TEstiloMedidas& estilo)
{
    DesenhaLinha(imagem, QPoint(m.X1, m.Y1), QPoint(m.X2, m.Y2), estilo.Linha, estilo.Espessura);
    EscreveComprimento(imagem, FormataNumero(QStringLiteral("0.##"), m.Comprimento) + QStringLiteral(" mm"),
                       QPoint(m.TextoX, m.TextoY), estilo.Texto);
}


void PlotaLente(QImage& imagem, const TDadosDesenhoLente& d, const TEstiloMedidas& estilo)
{
    if (!(d.FatorX > 0) || !(d.FatorY > 0) || !std::isfinite(d.FatorX) || !std::isfinite(d.FatorY))
        throw ErroCalculo(QStringLiteral("Não é possível desenhar a lente: o fator de correção da imagem lateral "
                                         "deve ser maior que zero."));
    auto pixels = [](double mm, double fator) {
        const double v = mm / fator;
        if (!std::isfinite(v) || std::abs(v) > 1e6)
            throw ErroCalculo(QStringLiteral("Não é possível desenhar a lente com os valores informados."));
        return int(ArredondaInteiro(v));
    };
    const int v = pixels(d.Vault / 1000.0, d.FatorX);
    const int rx = pixels(d.RaioLente, d.FatorX);
    const int ry = pixels(d.RaioLente, d.FatorY);
    const int s = pixels(d.SagLente / 1000.0, d.FatorX);
    const int diam = pixels(d.DiametroLente, d.FatorY);
    const int t = pixels(d.SagTopo, d.FatorX);
    const int l = pixels(d.SagLimbo, d.FatorX);
    const int a = pixels(d.ApiceLimbo, d.FatorX);
    const int fora = d.OlhoDireito ? -1 : 1;
    const int dentro = -fora;
    const int x1 = d.P1.x(), y = d.P1.y();
    const int ax = x1 + fora * v;
    const int cx = ax + dentro * rx;
    const int meio = int(ArredondaInteiro(diam / 2.0));

    QPainter p(&imagem);
    p.setBrush(Qt::NoBrush);
    p.setPen(Caneta(estilo.Linha, estilo.Espessura));
    p.drawLine(cx, y, ax, y);
    p.drawLine(cx, y - 4, cx, y + 4);
    p.drawEllipse(QPoint(cx, y), rx, ry);
    const int borda = ax + dentro * s;
    p.drawLine(borda, y + meio, borda, y - meio);

    p.setPen(Caneta(QColor(0, 128, 0), estilo.Espessura));
    p.drawLine(ax, y, x1, y);
    p.drawLine(x1, y - 10, x1, y + 10);

    if (d.Modo == 1) {
        const int xt = x1 + dentro * t;
        p.setPen(Caneta(QColor(0, 0, 255), estilo.Espessura));
        p.drawLine(x1, y, xt, y);
        p.drawLine(xt, y - 20, xt, y + 20);
        const int xl = x1 + dentro * (t + l);
        p.setPen(Caneta(QColor(255, 0, 0), estilo.Espessura));
        p.drawLine(xt, y, xl, y);
        p.drawLine(xl, y - 30, xl, y + 30);
    } else {
        const int xa = x1 + dentro * a;
        p.setPen(Caneta(QColor(255, 0, 0), estilo.Espessura));
        p.drawLine(x1, y, xa, y);
        p.drawLine(xa, y - 30, xa, y + 30);
    }
}
