// Modules for the capture assistant's tests, built from this file with COM_<part>
// definitions:
//   COM_REGISTRO  a map module with "InfoMapa", "ProcessaMapa", "Wizard" and the ortho-k
//                 "ProcessaMapas" that writes what it received into the file named by
//                 ZR_TESTE_REGISTRO (appending), one value per line;
//   COM_ORTO      the ortho-k "Digitalizar" (four 640 x 480 bitmaps per buffer set) and the
//                 ortho-k "ProcessaImagem" (texts of four maps, meridian 11 of map k holding
//                 only k + 3 values);
//   COM_PROC      a normal "ProcessaImagem" (and "ProcessaEsfera") that only fails.
// ZR_TESTE_FALHA chooses a fault at call time: "vazia3" leaves the third central image
// empty; "zero" returns 0; "curto" writes 1439 position lines; "texto" writes a token that
// is no number; "aneis" returns counts outside 0..N; "nan" a value that is no number.

#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cmath>
#include <limits>

using namespace zrmod;

namespace {
[[maybe_unused]] QString Falha() { return qEnvironmentVariable("ZR_TESTE_FALHA"); }
[[maybe_unused]] QString Real(double v) { return QString::number(v, 'g', 15); }

[[maybe_unused]] void Registra(const QStringList& linhas)
{
    QFile f(qEnvironmentVariable("ZR_TESTE_REGISTRO"));
    if (f.open(QIODevice::Append))
        f.write(ParaCp1252(JuntaLinhasCrLf(linhas)));
}
} // namespace

#ifdef COM_REGISTRO
ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    GravaLinhasTexto(saida, {QStringLiteral("Registro"), QStringLiteral("3"), QStringLiteral("Mapa de teste")});
}
ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);

ZR_ENTRADA int32_t Wizard(void*, ZrStream*, ZrStream*, ZrStream*, const TInfosZR*) { return 0; }
ZR_CONFERE_ENTRADA(Wizard, TWizard);

ZR_ENTRADA void ProcessaMapa(void* janela, ZrStream* central, ZrStream* lateral, double centroX, double centroY,
                             ZrStream* cabecalho, const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                             const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila, const TTriploOrto* orto,
                             const TInfosZR*)
{
    const QStringList cab = LeLinhasTexto(cabecalho);
    QStringList r = {QStringLiteral("ProcessaMapa"), janela ? QStringLiteral("janela") : QStringLiteral("sem janela"),
                     QString::number(LeBytes(central).size()), QString::number(LeBytes(lateral).size()),
                     Real(centroX), Real(centroY), QString::number((*pupila)[2]),
                     Real((*posicoes)[90][5]), QString::number((*aneis)[90]), Real((*dioptrias)[90][5]),
                     orto ? QStringLiteral("orto") : QStringLiteral("sem orto"), QString::number(cab.size())};
    Registra(r + cab);
}
ZR_CONFERE_ENTRADA(ProcessaMapa, TProcessaMapa);

ZR_ENTRADA void ProcessaMapas(void*, const TDadosPac* dados, const TMatrizesAngAnel* posicoes,
                              const TMatrizesAngAnel* dioptrias, const TBlocoOrto* bloco, const TInfosZR*)
{
    QStringList r = {QStringLiteral("ProcessaMapas"), QString::number(dados->count),
                     QString::number(posicoes->count), QString::number(dioptrias->count)};
    for (int k = 0; k < dados->count; ++k) {
        const QStringList cab = LeLinhasTexto(dados->items[k]);
        r << QString::number(cab.size()) << cab;
        r << Real(posicoes->items[k][10][1]) << Real(dioptrias->items[k][100][3]);
        r << Real((*bloco)[k].Sag) << Real((*bloco)[k].Div) << Real((*bloco)[k].Raio) << Real((*bloco)[k].Quarto);
    }
    Registra(r);
}
ZR_CONFERE_ENTRADA(ProcessaMapas, TProcessaMapasOrto);
#endif

#ifdef COM_ORTO
ZR_ENTRADA void Info(ZrStream* saida) { GravaLinhasTexto(saida, {QStringLiteral("Ortoceratologia de teste")}); }
ZR_CONFERE_ENTRADA(Info, TInfo);

ZR_ENTRADA void Digitalizar(void*, const TQuatroBuffers* centrais, const TQuatroBuffers* laterais, int32_t olho,
                            const TInfosZR*, const char*)
{
    for (int i = 0; i < 4; ++i) {
        if (Falha() == QStringLiteral("vazia%1").arg(i + 1))
            continue;
        QImage img(640, 480, QImage::Format_RGB32);
        img.fill(qRgb(40 * i, olho ? 200 : 60, 90));
        QByteArray b;
        QBuffer buf(&b);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "BMP");
        GravaBytes((*centrais)[i], b);
        GravaBytes((*laterais)[i], b);
    }
}
ZR_CONFERE_ENTRADA(Digitalizar, TDigitalizarOrto);

ZR_ENTRADA int32_t ProcessaImagem(void*, const TQuatroBuffers* centrais, ZrStream* posicoes, ZrStream* dioptrias,
                                  ZrStream* valores, double (*indices)[4], const TInfosZR* infos, const TPathsZR*)
{
    const QString falha = Falha();
    if (falha == QLatin1String("zero"))
        return 0;
    for (int i = 0; i < 4; ++i)
        if (LeBytes((*centrais)[i]).isEmpty())
            return 0;
    QStringList pos, diop, val;
    const int n = infos->NumAneis;
    for (int k = 0; k < 4; ++k)
        for (int m = 0; m < 360; ++m) {
            QString p, d;
            for (int j = 0; j <= (m == 10 ? k + 2 : n); ++j) {
                p += QStringLiteral("%1 ").arg(10.0 * j + k, 5, 'f', 2, QLatin1Char('0'));
                d += QStringLiteral("%1 ").arg(42.0 + k + m / 1000.0, 5, 'f', 2, QLatin1Char('0'));
            }
            pos << p;
            diop << d;
        }
    if (falha == QLatin1String("curto"))
        pos.removeLast();
    if (falha == QLatin1String("texto"))
        diop[500] += QStringLiteral("abc ");
    for (int k = 0; k < 4; ++k) {
        val << Real(520.5 + k) << Real(15.25 + k) << Real(7.8 + k / 100.0) << QStringLiteral("0.4");
        (*indices)[k] = 80 + k;
    }
    GravaLinhasTexto(posicoes, pos);
    GravaLinhasTexto(dioptrias, diop);
    GravaLinhasTexto(valores, val);
    return 1;
}
ZR_CONFERE_ENTRADA(ProcessaImagem, TProcessaImagemOrto);
#endif

#ifdef COM_PROC
ZR_ENTRADA int32_t ProcessaImagem(void*, ZrStream*, double* centroX, double* centroY, TMatrizAngAnel* posicoes,
                                  TAneisMeridiano* aneis, TMatrizAngAnel* dioptrias, TDadosPupila*, double* indice,
                                  const TInfosZR* infos, const TPathsZR*)
{
    const QString falha = Falha();
    if (falha == QLatin1String("zero"))
        return 0;
    *centroX = 321;
    *centroY = 241;
    *indice = 55;
    for (int k = 0; k < 360; ++k) {
        (*aneis)[k] = falha == QLatin1String("aneis") ? (k % 2 ? 99 : -5) : infos->NumAneis;
        for (int j = 0; j < 33; ++j) {
            (*posicoes)[k][j] = 10.0 * j;
            (*dioptrias)[k][j] = 43.0;
        }
    }
    if (falha == QLatin1String("nan"))
        (*dioptrias)[200][3] = std::numeric_limits<double>::quiet_NaN();
    return 1;
}
ZR_CONFERE_ENTRADA(ProcessaImagem, TProcessaImagem);

ZR_ENTRADA int32_t ProcessaEsfera(void*, ZrStream*, const char*, ZrStream*, const TInfosZR*) { return 0; }
ZR_CONFERE_ENTRADA(ProcessaEsfera, TProcessaEsfera);
#endif
