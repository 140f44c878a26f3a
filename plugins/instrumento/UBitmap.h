#pragma once
// The images of the instrument's modules travel as Windows bitmaps (BMP) in memory buffers.

#include <QByteArray>
#include <QImage>

namespace Instrumento {

// The image as an uncompressed Windows bitmap.
QByteArray CodificaBitmap(const QImage& imagem);

// Decodes a Windows bitmap. False for anything else: no "BM" signature, a compressed or
// malformed header, or fewer pixel rows than the headers announce (the decoder would accept
// a truncated file and leave the missing rows undefined).
bool DecodificaBitmap(const QByteArray& bytes, QImage& imagem);

} // namespace Instrumento
