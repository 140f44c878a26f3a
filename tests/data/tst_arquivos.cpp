// Examination images: JPEG compression with its quality, decoding back to a 32-bit Windows
// bitmap, refusal of anything that is not a JPEG, and storing and reading the two images.

#include "data/UBJpeg.h"
#include "data/UDArquivos.h"
#include "data/UDExames.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "tests/support/UBancoTeste.h"

#include <QImage>
#include <QtEndian>
#include <QtTest>

namespace {
// A colour test picture as a Windows bitmap file.
QByteArray Bitmap(int largura, int altura, bool cinza = false)
{
    QImage img(largura, altura, cinza ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    for (int y = 0; y < altura; ++y)
        for (int x = 0; x < largura; ++x) {
            if (cinza)
                img.setPixel(x, y, qRgb((x + y) % 256, (x + y) % 256, (x + y) % 256));
            else
                img.setPixel(x, y, qRgb(x * 255 / largura, y * 255 / altura, 128));
        }
    QByteArray bmp;
    QBuffer b(&bmp);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "BMP");
    return bmp;
}

// The first value of the first quantisation table of a JPEG file (DQT marker FF DB).
int PrimeiroQuantizador(const QByteArray& jpeg)
{
    const int i = jpeg.indexOf(QByteArray("\xFF\xDB", 2));
    if (i < 0)
        return -1;
    const auto* p = reinterpret_cast<const unsigned char*>(jpeg.constData()) + i;
    const int precisao = p[4] >> 4;  // 0: 8-bit values
    return precisao == 0 ? p[5] : (p[5] << 8 | p[6]);
}

// All 64 values of the first quantisation table.
QList<int> PrimeiraTabela(const QByteArray& jpeg)
{
    const int i = jpeg.indexOf(QByteArray("\xFF\xDB", 2));
    QList<int> valores;
    const auto* p = reinterpret_cast<const unsigned char*>(jpeg.constData()) + i + 5;
    for (int k = 0; k < 64; ++k)
        valores << p[k];
    return valores;
}
} // namespace

class TesteArquivos : public QObject {
    Q_OBJECT

private slots:
    // libjpeg scales the standard luminance table (first value 16) by 5000/q below 50
    // and by 200 - 2q from 50 on, rounding and keeping values in 1..255.
    void qualidade_data()
    {
        QTest::addColumn<int>("qualidade");
        QTest::addColumn<int>("quantizador");
        QTest::newRow("50") << 50 << 16;
        QTest::newRow("75") << 75 << 8;
        QTest::newRow("25") << 25 << 32;
        QTest::newRow("100") << 100 << 1;
        QTest::newRow("150 vale 100") << 150 << 1;
        QTest::newRow("255 vale 100") << 255 << 1;
        QTest::newRow("1") << 1 << 255;
    }

    void qualidade()
    {
        QFETCH(int, qualidade);
        QFETCH(int, quantizador);
        QByteArray bmp = Bitmap(64, 48);
        QBuffer fonte(&bmp);
        fonte.open(QIODevice::ReadOnly);
        const QByteArray jpeg = TBJpeg().ComprimeJpeg(fonte, qualidade);
        QVERIFY(jpeg.startsWith("\xFF\xD8"));
        QCOMPARE(PrimeiroQuantizador(jpeg), quantizador);
    }

    void qualidade150EhIgualA100()
    {
        QByteArray bmp = Bitmap(32, 32);
        QBuffer a(&bmp), b(&bmp);
        a.open(QIODevice::ReadOnly);
        b.open(QIODevice::ReadOnly);
        const QByteArray j150 = TBJpeg().ComprimeJpeg(a, 150);
        const QByteArray j100 = TBJpeg().ComprimeJpeg(b, 100);
        QCOMPARE(j150, j100);
        QCOMPARE(PrimeiraTabela(j150), QList<int>(64, 1));
    }

    // The bitmap is read from the stream's current position.
    void comprimeDaPosicaoAtual()
    {
        QByteArray dados = QByteArray("cabeçalho") + Bitmap(20, 10);
        QBuffer fonte(&dados);
        fonte.open(QIODevice::ReadOnly);
        fonte.seek(QByteArray("cabeçalho").size());
        const QByteArray jpeg = TBJpeg().ComprimeJpeg(fonte, 90);
        QImage volta;
        QVERIFY(volta.loadFromData(jpeg, "JPG"));
        QCOMPARE(volta.size(), QSize(20, 10));
    }

    void comprimeRecusaOQueNaoEhBitmap()
    {
        QByteArray lixo("isto não é um bitmap");
        QBuffer fonte(&lixo);
        fonte.open(QIODevice::ReadOnly);
        QVERIFY_THROWS_EXCEPTION(ErroConversao, TBJpeg().ComprimeJpeg(fonte, 80));
    }

    // JPEG back to a 32-bit Windows bitmap: header fields and pixels close to the original.
    void jpegParaBitmap_data()
    {
        QTest::addColumn<bool>("cinza");
        QTest::newRow("colorida") << false;
        QTest::newRow("tons de cinza") << true;
    }

    void jpegParaBitmap()
    {
        QFETCH(bool, cinza);
        const int largura = 33, altura = 17;
        QByteArray bmp = Bitmap(largura, altura, cinza);
        QBuffer fonte(&bmp);
        fonte.open(QIODevice::ReadOnly);
        QBuffer fluxo;
        fluxo.setData(TBJpeg().ComprimeJpeg(fonte, 100));
        fluxo.open(QIODevice::ReadWrite);
        fluxo.seek(5);
        QVERIFY(TBJpeg().JpegParaBitmap(fluxo));
        QCOMPARE(fluxo.pos(), 0);
        const QByteArray saida = fluxo.data();
        // File header and info header, little-endian.
        QVERIFY(saida.startsWith("BM"));
        const auto* p = reinterpret_cast<const uchar*>(saida.constData());
        QCOMPARE(qFromLittleEndian<quint32>(p + 2), quint32(saida.size()));
        QCOMPARE(qFromLittleEndian<quint32>(p + 10), 54u);
        QCOMPARE(qFromLittleEndian<qint32>(p + 18), largura);
        QCOMPARE(qFromLittleEndian<qint32>(p + 22), altura);
        QCOMPARE(qFromLittleEndian<quint16>(p + 28), quint16(32));
        QCOMPARE(qFromLittleEndian<quint32>(p + 30), 0u);
        QCOMPARE(saida.size(), 54 + largura * altura * 4);
        // Pixels: the bottom row comes first in the file.
        QImage original;
        QVERIFY(original.loadFromData(bmp, "BMP"));
        int maior = 0;
        for (int y = 0; y < altura; ++y)
            for (int x = 0; x < largura; ++x) {
                const uchar* px = p + 54 + ((altura - 1 - y) * largura + x) * 4;
                const QRgb o = original.pixel(x, y);
                maior = qMax(maior, qAbs(px[0] - qBlue(o)));
                maior = qMax(maior, qAbs(px[1] - qGreen(o)));
                maior = qMax(maior, qAbs(px[2] - qRed(o)));
            }
        QVERIFY2(maior <= 12, qPrintable(QString::number(maior)));
        // Qt reads the file back as the same picture.
        QImage lida;
        QVERIFY(lida.loadFromData(saida, "BMP"));
        QCOMPARE(lida.size(), QSize(largura, altura));
    }

    // Anything that is not a JPEG: false, and the stream stays as it was.
    void naoJpegFicaIntacto_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::newRow("bitmap do Windows") << Bitmap(8, 8);
        QTest::newRow("vazio") << QByteArray();
        QByteArray jpeg;
        {
            QByteArray bmp = Bitmap(64, 64);
            QBuffer f(&bmp);
            f.open(QIODevice::ReadOnly);
            jpeg = TBJpeg().ComprimeJpeg(f, 90);
        }
        QTest::newRow("jpeg truncado") << jpeg.left(jpeg.size() / 2);
        QTest::newRow("só o marcador") << QByteArray("\xFF\xD8\xFF\xE0", 4);
        QByteArray estragado = jpeg;
        for (int i = 200; i < estragado.size() - 2; i += 7)
            estragado[i] = char(0xFF);
        QTest::newRow("jpeg estragado") << estragado;
    }

    void naoJpegFicaIntacto()
    {
        QFETCH(QByteArray, conteudo);
        QBuffer fluxo;
        fluxo.setData(conteudo);
        fluxo.open(QIODevice::ReadWrite);
        fluxo.seek(conteudo.size() / 3);
        const qint64 posicao = fluxo.pos();
        QVERIFY(!TBJpeg().JpegParaBitmap(fluxo));
        QCOMPARE(fluxo.data(), conteudo);
        QCOMPARE(fluxo.pos(), posicao);
    }

    // Storing and reading the two images of an examination.
    void gravaELeImagens()
    {
        BancoTeste banco;
        QVERIFY(banco.Valido());
        TDMPrincipal& dm = banco.DM();
        TDadosMedico m;
        m.Nome = "Dr. A";
        TDMedicos(dm).InsereMedico(m);
        TDadosPaciente p;
        p.Nome = "P";
        TDPacientes(dm).InserePaciente(p, QDate(2024, 1, 1), 1);
        TDExames(dm).InsereExame(1, 1, QDate(2024, 1, 1), QTime(8, 0), "OD", 1.0, "T", "", "", "", 32, "1");
        TDExames(dm).InsereExame(1, 1, QDate(2024, 1, 1), QTime(8, 1), "OS", 1.0, "T", "", "", "", 32, "1");

        QByteArray bmp = Bitmap(40, 30);
        QBuffer f(&bmp);
        f.open(QIODevice::ReadOnly);
        const QByteArray jpeg = TBJpeg().ComprimeJpeg(f, 85);
        QByteArray centralDados = QByteArray("prefixo") + jpeg;
        QBuffer central(&centralDados);
        central.open(QIODevice::ReadOnly);
        central.seek(7);
        QBuffer lateral;  // no lateral image
        lateral.open(QIODevice::ReadWrite);
        TDArquivos(dm).GravaImagens(1, central, lateral);

        // A second attachment sees them: committed.
        {
            TDMPrincipal outro;
            QVERIFY(outro.PSetDataBaseName(banco.Arquivo()));
            QBuffer c, l;
            TDArquivos(outro).LeImagens(1, c, l);
            QCOMPARE(c.data(), jpeg);
        }

        QBuffer c, l;
        c.setData("conteúdo antigo que será substituído");
        c.open(QIODevice::ReadWrite);
        c.seek(10);
        TDArquivos(dm).LeImagens(1, c, l);
        QVERIFY(!dm.IBOperation->Ativa());
        QCOMPARE(c.data(), jpeg);
        QCOMPARE(c.pos(), 0);
        QCOMPARE(l.data(), QByteArray());
        QCOMPARE(l.pos(), 0);
        QVERIFY(TBJpeg().JpegParaBitmap(c));
        QVERIFY(!TBJpeg().JpegParaBitmap(l));

        // Storing again replaces; an examination without images reads empty.
        QByteArray outra = Bitmap(10, 10);
        QBuffer f2(&outra);
        f2.open(QIODevice::ReadOnly);
        QBuffer novo;
        novo.setData(TBJpeg().ComprimeJpeg(f2, 50));
        novo.open(QIODevice::ReadOnly);
        QBuffer vazio;
        vazio.open(QIODevice::ReadWrite);
        TDArquivos(dm).GravaImagens(1, novo, vazio);
        QBuffer c2, l2;
        TDArquivos(dm).LeImagens(1, c2, l2);
        QCOMPARE(c2.data(), novo.data());
        ConsultaBD& op = *dm.IBOperation;
        op.DefineSQL("select count(*) from ARQUIVOS where CODIGO_EXAMES = 1");
        op.Abre();
        QCOMPARE(op.Inteiro("COUNT"), 1);

        QBuffer c3, l3;
        c3.setData("x");
        TDArquivos(dm).LeImagens(2, c3, l3);
        QCOMPARE(c3.data(), QByteArray());
        QCOMPARE(l3.data(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TesteArquivos)
#include "tst_arquivos.moc"
