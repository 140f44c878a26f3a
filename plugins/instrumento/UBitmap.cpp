#include "plugins/instrumento/UBitmap.h"

#include <QBuffer>
#include <cstdlib>

namespace Instrumento {

namespace {

// Little-endian integers of the bitmap headers.
uint32_t U32(const QByteArray& b, int i)
{
    return uint32_t(uchar(b[i])) | uint32_t(uchar(b[i + 1])) << 8 | uint32_t(uchar(b[i + 2])) << 16
        | uint32_t(uchar(b[i + 3])) << 24;
}
uint16_t U16(const QByteArray& b, int i) { return uint16_t(uchar(b[i]) | uchar(b[i + 1]) << 8); }

bool BitmapCompleto(const QByteArray& b)
{
    const uint32_t inicioPixels = U32(b, 10);
    const int32_t largura = int32_t(U32(b, 18));
    const int32_t altura = int32_t(U32(b, 22));
    const uint16_t bits = U16(b, 28);
    const uint32_t compressao = U32(b, 30);
    if (compressao != 0 || largura <= 0 || altura == 0 || bits == 0)
        return false;
    // Far beyond any camera (and beyond what the size arithmetic below can hold).
    if (largura > 32768 || altura > 32768 || altura < -32768 || bits > 64)
        return false;
    const qint64 linha = (qint64(bits) * largura + 31) / 32 * 4;
    return qint64(inicioPixels) + linha * std::abs(qint64(altura)) <= b.size();
}

} // namespace

QByteArray CodificaBitmap(const QImage& imagem)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    imagem.save(&buffer, "BMP");
    return bytes;
}

bool DecodificaBitmap(const QByteArray& bytes, QImage& imagem)
{
    if (bytes.size() < 54 || !bytes.startsWith("BM") || !BitmapCompleto(bytes))
        return false;
    imagem = QImage::fromData(bytes, "BMP");
    return !imagem.isNull();
}

} // namespace Instrumento
