#pragma once
// Conversion of the captured images: Windows bitmap to JPEG for storage, and a stored JPEG
// back to a 32-bit Windows bitmap for display.

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>

class TBJpeg {
public:
    // Reads a Windows bitmap from the stream's current position and returns the JPEG file
    // compressed with that quality (1 to 100; above 100 counts as 100, 0 as 1). Raises
    // ErroConversao when the stream holds no bitmap.
    QByteArray ComprimeJpeg(QIODevice& fonte, int qualidade);

    // Decodes the JPEG the buffer holds and writes over it, from position 0, the image as a
    // 32-bit Windows bitmap file, leaving the buffer rewound. False, with the buffer as it
    // was, when the content is not a JPEG that decodes.
    bool JpegParaBitmap(QBuffer& fluxo);
};
