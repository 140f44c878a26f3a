#pragma once
// The two camera images of an examination (ARQUIVOS), stored as JPEG files in blobs.

#include "data/UDMPrincipal.h"

#include <QBuffer>
#include <QIODevice>

class TDArquivos {
public:
    explicit TDArquivos(TDMPrincipal& modulo = TDMPrincipal::Instancia()) : m_dm(modulo) {}

    // Stores both streams, each from its current position to its end (an empty stream
    // stores an empty image), and commits. Storing again replaces the examination's images.
    void GravaImagens(int Codigo_Exames, QIODevice& central, QIODevice& lateral);
    // Replaces both buffers' content with the stored images and rewinds them; an
    // examination without images leaves both empty.
    void LeImagens(int Codigo_Exames, QBuffer& central, QBuffer& lateral);

private:
    TDMPrincipal& m_dm;
};
