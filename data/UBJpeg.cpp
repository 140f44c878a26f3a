#include "data/UBJpeg.h"

#include "common/UErros.h"

#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit; the default ends the process. This one
// jumps back to the caller.
struct ErroJpeg {
    jpeg_error_mgr padrao;
    std::jmp_buf retorno;
};

void SaiComErro(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErroJpeg*>(info->err)->retorno, 1);
}

void SemMensagens(j_common_ptr) {}

// Compresses 8-bit rows (3 components RGB or 1 gray) into a JPEG file. Plain data only
// between setjmp and longjmp.
bool Comprime(const unsigned char* pixels, int largura, int altura, int componentes,
              int qualidade, unsigned char** saida, unsigned long* tamanho)
{
    jpeg_compress_struct c;
    ErroJpeg erro;
    c.err = jpeg_std_error(&erro.padrao);
    erro.padrao.error_exit = SaiComErro;
    erro.padrao.output_message = SemMensagens;
    if (setjmp(erro.retorno)) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, saida, tamanho);
    c.image_width = static_cast<JDIMENSION>(largura);
    c.image_height = static_cast<JDIMENSION>(altura);
    c.input_components = componentes;
    c.in_color_space = componentes == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, qualidade, TRUE);
    jpeg_start_compress(&c, TRUE);
    const size_t passo = static_cast<size_t>(largura) * static_cast<size_t>(componentes);
    while (c.next_scanline < c.image_height) {
        JSAMPROW linha = const_cast<unsigned char*>(pixels + c.next_scanline * passo);
        jpeg_write_scanlines(&c, &linha, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

// Decodes a JPEG into 32-bit pixels (B, G, R, 0xFF per pixel, rows top to bottom).
bool Descomprime(const unsigned char* dados, unsigned long tamanho, std::vector<unsigned char>& bgra,
                 int& largura, int& altura)
{
    jpeg_decompress_struct d;
    ErroJpeg erro;
    std::vector<unsigned char> linha;
    d.err = jpeg_std_error(&erro.padrao);
    erro.padrao.error_exit = SaiComErro;
    erro.padrao.output_message = SemMensagens;
    if (setjmp(erro.retorno)) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, dados, tamanho);
    if (jpeg_read_header(&d, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    largura = static_cast<int>(d.output_width);
    altura = static_cast<int>(d.output_height);
    bgra.assign(static_cast<size_t>(largura) * static_cast<size_t>(altura) * 4u, 0);
    linha.assign(static_cast<size_t>(largura) * 3u, 0);
    while (d.output_scanline < d.output_height) {
        const size_t y = d.output_scanline;
        JSAMPROW p = linha.data();
        jpeg_read_scanlines(&d, &p, 1);
        unsigned char* destino = bgra.data() + y * static_cast<size_t>(largura) * 4u;
        for (int x = 0; x < largura; ++x) {
            destino[4 * x + 0] = linha[3 * x + 2];
            destino[4 * x + 1] = linha[3 * x + 1];
            destino[4 * x + 2] = linha[3 * x + 0];
            destino[4 * x + 3] = 0xFF;
        }
    }
    // A file that libjpeg found truncated or corrupt (it warns and fills in) is refused.
    const bool avisos = erro.padrao.num_warnings > 0;
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return !avisos;
}

void Poe16(QByteArray& b, int pos, quint16 v) { qToLittleEndian(v, b.data() + pos); }
void Poe32(QByteArray& b, int pos, quint32 v) { qToLittleEndian(v, b.data() + pos); }

// A Windows bitmap file of 32 bits per pixel (BI_RGB, rows bottom to top).
QByteArray ArquivoBitmap32(const std::vector<unsigned char>& bgra, int largura, int altura)
{
    const quint32 linha = static_cast<quint32>(largura) * 4u;
    const quint32 pixels = linha * static_cast<quint32>(altura);
    QByteArray b(14 + 40, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Poe32(b, 2, 54u + pixels);
    Poe32(b, 10, 54u);
    Poe32(b, 14, 40u);
    Poe32(b, 18, static_cast<quint32>(largura));
    Poe32(b, 22, static_cast<quint32>(altura));
    Poe16(b, 26, 1);
    Poe16(b, 28, 32);
    Poe32(b, 30, 0);       // BI_RGB
    Poe32(b, 34, pixels);
    Poe32(b, 38, 3780);    // 96 dpi
    Poe32(b, 42, 3780);
    b.reserve(static_cast<qsizetype>(54u + pixels));
    for (int y = altura - 1; y >= 0; --y)
        b.append(reinterpret_cast<const char*>(bgra.data()) + static_cast<size_t>(y) * linha,
                 static_cast<qsizetype>(linha));
    return b;
}

} // namespace

QByteArray TBJpeg::ComprimeJpeg(QIODevice& fonte, int qualidade)
{
    const int q = qBound(1, qualidade, 100);
    QImageReader leitor(&fonte, "BMP");
    QImage imagem = leitor.read();
    if (imagem.isNull())
        throw ErroConversao(QStringLiteral("A imagem não é um bitmap do Windows válido."));
    const bool cinza = imagem.isGrayscale();
    imagem = imagem.convertToFormat(cinza ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const int componentes = cinza ? 1 : 3;
    // Rows packed without padding, as libjpeg reads them.
    std::vector<unsigned char> pixels(static_cast<size_t>(imagem.width()) *
                                      static_cast<size_t>(imagem.height()) *
                                      static_cast<size_t>(componentes));
    const size_t passo = static_cast<size_t>(imagem.width()) * static_cast<size_t>(componentes);
    for (int y = 0; y < imagem.height(); ++y)
        std::copy_n(imagem.constScanLine(y), passo, pixels.data() + static_cast<size_t>(y) * passo);
    unsigned char* saida = nullptr;
    unsigned long tamanho = 0;
    const bool ok = Comprime(pixels.data(), imagem.width(), imagem.height(), componentes, q,
                             &saida, &tamanho);
    QByteArray jpeg;
    if (ok)
        jpeg = QByteArray(reinterpret_cast<const char*>(saida), static_cast<qsizetype>(tamanho));
    std::free(saida);
    if (!ok)
        throw ErroConversao(QStringLiteral("Não foi possível comprimir a imagem em JPEG."));
    return jpeg;
}

bool TBJpeg::JpegParaBitmap(QBuffer& fluxo)
{
    const QByteArray jpeg = fluxo.data();
    // A JPEG file starts with the start-of-image marker FF D8.
    if (jpeg.size() < 4 || static_cast<unsigned char>(jpeg[0]) != 0xFF ||
        static_cast<unsigned char>(jpeg[1]) != 0xD8)
        return false;
    std::vector<unsigned char> bgra;
    int largura = 0, altura = 0;
    if (!Descomprime(reinterpret_cast<const unsigned char*>(jpeg.constData()),
                     static_cast<unsigned long>(jpeg.size()), bgra, largura, altura))
        return false;
    const QByteArray bitmap = ArquivoBitmap32(bgra, largura, altura);
    const bool aberto = fluxo.isOpen();
    if (aberto)
        fluxo.close();
    fluxo.setData(bitmap);
    fluxo.open(QIODevice::ReadWrite);
    fluxo.seek(0);
    return true;
}
