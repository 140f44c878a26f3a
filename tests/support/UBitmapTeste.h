#pragma once
// A 640 x 480 camera picture as the capture modules hand it over (BMP bytes), with a pattern
// shifted by `tom` so that the central and lateral pictures of an examination differ.

#include <QBuffer>
#include <QByteArray>
#include <QImage>

inline QByteArray BitmapTeste(int tom)
{
    QImage imagem(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            imagem.setPixel(x, y, qRgb((x + tom) & 0xFF, (y * 2) & 0xFF, ((x ^ y) + tom) & 0xFF));
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    imagem.save(&b, "BMP");
    return bytes;
}
