// The curvature grid, the tangential conversion, the keratometry and the largest value,
// checked against values worked out by hand and against a toric surface of known radii.

#include "platform/UMensagens.h"
#include "tests/examfiles/MatrizTeste.h"
#include "topography/UBFuncoesMapas.h"

#include <QCoreApplication>
#include <QTest>
#include <QtMath>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace {

const QString kFalhaInterpolacao = QStringLiteral(
    "Problemas na interpolação dos valores de dioptria e/ou cálculo dos raios de curvatura.");

// One examination built in memory: every meridian with the same ring count and positions
// (pixels) unless a test changes them.
struct Exame {
    MatrizTeste d, m;
    TAneisMeridiano aneis;

    Exame(int n, const std::function<double(int)>& posicao, const std::function<double(int, double)>& valor)
    {
        for (int i = 0; i < ZR_MERIDIANOS; ++i) {
            aneis[i] = n;
            for (int j = 0; j < ZR_COLUNAS_ANEL; ++j) {
                (*m)[i][j] = posicao(j);
                (*d)[i][j] = valor(i + 1, posicao(j));
            }
        }
    }
};

// Axial radius (mm) at the distance rho (mm) from the apex along a meridian of a biconic
// surface whose sections have the curvatures c (along the meridian at the apex) and c2
// (the mean of the squared principal curvatures along it): the distance along the surface
// normal in the meridian plane from the point to the axis.
double RaioAxial(double rho, double c, double c2)
{
    if (rho == 0.0)
        return 1.0 / c;
    const double w = std::sqrt(1.0 - rho * rho * c2);
    const double inclinacao =
        (2.0 * rho * c * (1.0 + w) + rho * rho * c * rho * c2 / w) / ((1.0 + w) * (1.0 + w));
    return rho * std::sqrt(1.0 + inclinacao * inclinacao) / inclinacao;
}

double DistanciaAngular(double a, double b)
{
    const double d = std::fmod(std::fabs(a - b), 180.0);
    return std::min(d, 180.0 - d);
}

} // namespace

class TesteMapas : public QObject {
    Q_OBJECT
private slots:
    void tangencial_data();
    void tangencial();
    void amostragem();
    void amostragemMeioPixel();
    void falhaDeInterpolacao_data();
    void falhaDeInterpolacao();
    void meridianosSemAmostras();
    void alemDaGrade();
    void aneisInvalidos_data();
    void aneisInvalidos();
    void posicaoNulaNoTangencial();
    void tipoDesconhecido();
    void ceratometria_data();
    void ceratometria();
    void zonaDaCeratometria_data();
    void zonaDaCeratometria();
    void zonaSemDados();
    void valorMaximo();
    void superficieTorica_data();
    void superficieTorica();
};

// The tangential power D + r dD/dr: a constant axial power is its own tangential power
// whatever the camera scale, and along a quadratic profile D = a + b r + c r^2 (which the
// parabola of three rings follows exactly) it is a + 2 b r + 3 c r^2.
void TesteMapas::tangencial_data()
{
    QTest::addColumn<double>("fator");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::newRow("esfera 43 D, F 0.02") << 0.02 << 43.0 << 0.0 << 0.0;
    QTest::newRow("esfera 45 D, F 0.015") << 0.015 << 45.0 << 0.0 << 0.0;
    QTest::newRow("perfil linear") << 0.02 << 42.0 << 0.01 << 0.0;
    QTest::newRow("perfil quadratico") << 0.01 << 44.0 << -0.005 << 0.00002;
}

void TesteMapas::tangencial()
{
    QFETCH(double, fator);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    auto axial = [&](double r) { return a + b * r + c * r * r; };
    auto esperado = [&](double r) { return a + 2 * b * r + 3 * c * r * r; };
    Exame e(16, [](int j) { return 15.0 * j + 0.3 * (j > 0); }, [&](int, double r) { return axial(r); });
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        for (int j = 17; j < ZR_COLUNAS_ANEL; ++j)
            (*e.d)[i][j] = 99.0;
    e.aneis[7] = 10;

    MensagensRoteiro msgs;
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, fator);
    mapa.CalculaMapa(TBFuncoesMapas::MapaTangencial);
    QVERIFY(msgs.Registros().isEmpty());
    for (int i : {0, 7, 359}) {
        QCOMPARE((*e.d)[i][0], axial(0.0)); // the centre keeps its value
        for (int j = 2; j < e.aneis[i]; ++j)
            QVERIFY2(qAbs((*e.d)[i][j] - esperado((*e.m)[i][j])) < 1e-9, qPrintable(QString::number(j)));
        for (int j = e.aneis[i] + 1; j < ZR_COLUNAS_ANEL; ++j)
            QCOMPARE((*e.d)[i][j], 0.0);
    }
    // Samples every pixel from the centre to below the last ring (240.3 px here); a sphere
    // keeps its power in every cell (the scale F plays no part).
    if (b == 0.0 && c == 0.0) {
        for (int cel : {0, 1, 120, 240})
            QCOMPARE(mapa.Celula(1, cel), a);
    } else {
        QVERIFY(qAbs(mapa.Celula(1, 120) - esperado(120.0)) < 0.011);
    }
    QCOMPARE(mapa.Celula(1, 241), 0.0);
    // A meridian of ten rings amid full ones: its tenth ring (150.3 px) has no ring beyond
    // it, so the tangential map stops at the ninth (135.3 px) there and on the meridians
    // within four degrees of it.
    for (int meridiano : {4, 8, 12})
        QVERIFY(mapa.Celula(meridiano, 135) > 0.0 && mapa.Celula(meridiano, 136) == 0.0);
    QVERIFY(mapa.Celula(13, 240) > 0.0);
}

// Positions 0, 20.4, 41.0 ... sampled at 0, 1, 2 ...: each sample lands in its own cell.
// Linear values make the spline the line itself: cell c holds 40 + c / 10.
void TesteMapas::amostragem()
{
    const double posicoes[] = {0, 20.4, 41.0, 61.5, 82.2};
    Exame e(4, [&](int j) { return j <= 4 ? posicoes[j] : 0.0; },
            [](int, double x) { return 40.0 + x / 10.0; });
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    for (int c = 0; c <= 82; ++c)
        QCOMPARE(mapa.Celula(180, c), 40.0 + c / 10.0);
    QCOMPARE(mapa.Celula(180, 83), 0.0);
    QVERIFY(mapa.InterpolacaoCompleta());
}

// Positions from 10.5: samples at 10.5, 11.5, 12.5, 13.5 ... go to cells 10, 12, 12, 14
// (halves to even); the later sample of a cell stays, odd cells stay empty.
void TesteMapas::amostragemMeioPixel()
{
    Exame e(5, [](int j) { return 10.5 + 20.0 * j; }, [](int, double x) { return 40.0 + x / 10.0; });
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    for (int c = 0; c < 10; ++c)
        QCOMPARE(mapa.Celula(1, c), 0.0);
    QCOMPARE(mapa.Celula(1, 10), 41.05);
    QCOMPARE(mapa.Celula(1, 11), 0.0);
    QCOMPARE(mapa.Celula(1, 12), 41.25); // 12.5, not 11.5
    QCOMPARE(mapa.Celula(1, 13), 0.0);
    QCOMPARE(mapa.Celula(1, 14), 41.45); // 14.5, not 13.5
    QCOMPARE(mapa.Celula(1, 108), 50.85);
    QCOMPARE(mapa.Celula(1, 109), 0.0);
    // Last sample 109.5 (< 110.5) -> cell 110.
    QCOMPARE(mapa.Celula(1, 110), 50.95);
    QCOMPARE(mapa.Celula(1, 111), 0.0);
}

void TesteMapas::falhaDeInterpolacao_data()
{
    QTest::addColumn<int>("coluna");
    QTest::addColumn<double>("posicao");
    QTest::addColumn<double>("valor");
    QTest::newRow("posições iguais") << 3 << 30.0 << 42.0;   // ring 2 is at 30 too
    QTest::newRow("posição que recua") << 3 << 20.0 << 42.0;
    QTest::newRow("valor não numérico") << 5 << 75.0 << std::nan("");
    QTest::newRow("posição infinita") << 2 << std::numeric_limits<double>::infinity() << 42.0;
}

void TesteMapas::falhaDeInterpolacao()
{
    QFETCH(int, coluna);
    QFETCH(double, posicao);
    QFETCH(double, valor);
    Exame e(16, [](int j) { return 15.0 * j; }, [](int, double) { return 42.0; });
    (*e.m)[99][coluna] = posicao;
    (*e.d)[99][coluna] = valor;

    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QCOMPARE(msgs.Textos(), QStringList{kFalhaInterpolacao});
    QCOMPARE(msgs.Registros().first().titulo, QCoreApplication::applicationName());
    QCOMPARE(msgs.Registros().first().icone, IconeMensagem::Nenhum);
    QVERIFY(!mapa.InterpolacaoCompleta());
    QCOMPARE(mapa.Celula(99, 100), 42.0);
    for (int k : {100, 101, 360})
        for (int c : {0, 100, 200})
            QCOMPARE(mapa.Celula(k, c), 0.0);
}

void TesteMapas::meridianosSemAmostras()
{
    Exame e(16, [](int j) { return 15.0 * j; }, [](int, double) { return 42.0; });
    e.aneis[9] = 0;
    e.aneis[10] = 1; // one ring cannot carry a spline: no samples, the rest goes on
    (*e.m)[11][1] = 0.0; // equal positions beyond the count do not matter
    e.aneis[11] = 0;
    MensagensRoteiro msgs;
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QVERIFY(msgs.Registros().isEmpty());
    QVERIFY(mapa.InterpolacaoCompleta());
    for (int k : {10, 11, 12})
        for (int c = 0; c < TBFuncoesMapas::kCelulas; ++c)
            QCOMPARE(mapa.Celula(k, c), 0.0);
    QCOMPARE(mapa.Celula(9, 200), 42.0);
    QCOMPARE(mapa.Celula(13, 0), 42.0);
}

// Rings out to 400 px: the grid ends at cell 300 and later samples are dropped; a centre
// left of the grid's edge starts at cell 0.
void TesteMapas::alemDaGrade()
{
    Exame e(16, [](int j) { return 25.0 * j - 5.3; }, [](int, double x) { return 40.0 + x / 100.0; });
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QVERIFY(mapa.InterpolacaoCompleta());
    // Samples at -5.3 + t: cell c holds the sample c - 0.3.
    QCOMPARE(mapa.Celula(1, 0), 40.0); // -0.3 -> 39.997 -> 40.00
    QCOMPARE(mapa.Celula(1, 150), 41.50);
    QCOMPARE(mapa.Celula(1, 300), 43.00);
    QCOMPARE(mapa.Celula(1, 301), 0.0); // no such cell
    QCOMPARE(mapa.ValorMaximo(), 43.0);
}

void TesteMapas::aneisInvalidos_data()
{
    QTest::addColumn<int>("aneis");
    QTest::newRow("33") << 33;
    QTest::newRow("-1") << -1;
    QTest::newRow("256") << 256;
}

void TesteMapas::aneisInvalidos()
{
    QFETCH(int, aneis);
    Exame e(16, [](int j) { return 15.0 * j; }, [](int, double) { return 43.0; });
    e.aneis[200] = aneis;
    MatrizTeste antes;
    std::memcpy(antes.get(), e.d.get(), sizeof(TMatrizAngAnel));
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, mapa.CalculaMapa(TBFuncoesMapas::MapaTangencial));
    QCOMPARE(std::memcmp(antes.get(), e.d.get(), sizeof(TMatrizAngAnel)), 0);
    QCOMPARE(mapa.ValorMaximo(), 0.0);
}

void TesteMapas::posicaoNulaNoTangencial()
{
    Exame e(16, [](int j) { return 15.0 * j; }, [](int, double) { return 43.0; });
    (*e.m)[40][20] = 0.0; // beyond the count: harmless
    TBFuncoesMapas ok(*e.d, *e.m, e.aneis, 0.02);
    ok.CalculaMapa(TBFuncoesMapas::MapaTangencial);
    QCOMPARE(ok.Celula(41, 100), 43.0);

    Exame f(16, [](int j) { return 15.0 * j; }, [](int, double) { return 43.0; });
    (*f.m)[40][5] = 0.0;
    MatrizTeste antes;
    std::memcpy(antes.get(), f.d.get(), sizeof(TMatrizAngAnel));
    TBFuncoesMapas mapa(*f.d, *f.m, f.aneis, 0.02);
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, mapa.CalculaMapa(TBFuncoesMapas::MapaTangencial));
    QCOMPARE(std::memcmp(antes.get(), f.d.get(), sizeof(TMatrizAngAnel)), 0);
    // The axial map does not divide by the positions; it reports the bad meridian instead.
    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    TBFuncoesMapas axial(*f.d, *f.m, f.aneis, 0.02);
    axial.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QCOMPARE(msgs.Textos(), QStringList{kFalhaInterpolacao});
}

void TesteMapas::tipoDesconhecido()
{
    Exame e(16, [](int j) { return 15.0 * j; }, [](int, double) { return 43.0; });
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, mapa.CalculaMapa(2));
}

void TesteMapas::ceratometria_data()
{
    QTest::addColumn<QList<int>>("meridianos");
    QTest::addColumn<QList<double>>("valores"); // the other meridians hold 43
    QTest::addColumn<int>("eixo1");
    QTest::addColumn<int>("eixo2");
    QTest::addColumn<double>("k1");
    QTest::addColumn<double>("k2");
    QTest::newRow("empate 30 e 150") << QList<int>{30, 210, 150, 330, 60, 240}
                                     << QList<double>{45, 45, 45, 45, 42, 42} << 30 << 120 << 45.0 << 42.0;
    QTest::newRow("par 180") << QList<int>{180, 360, 90, 270} << QList<double>{46, 46, 41, 41}
                             << 0 << 90 << 46.0 << 41.0;
    QTest::newRow("par 10") << QList<int>{10, 190, 100, 280} << QList<double>{44.5, 44.5, 42.25, 42.25}
                            << 170 << 80 << 44.5 << 42.25;
    QTest::newRow("metades diferentes") << QList<int>{45, 225, 135} << QList<double>{46, 44, 42}
                                        << 135 << 45 << 45.0 << 42.5;
    QTest::newRow("par 90") << QList<int>{90, 270} << QList<double>{44, 44} << 90 << 180 << 44.0 << 43.0;
    // Neighbouring pairs with the same largest mean: the axis is the middle of the run.
    auto patamar = [](std::initializer_list<int> pares) {
        QList<int> m;
        for (int k : pares)
            m << k << k + 180;
        return m;
    };
    QTest::newRow("patamar 88 a 92") << patamar({88, 89, 90, 91, 92}) << QList<double>(10, 45.0)
                                     << 90 << 180 << 45.0 << 43.0;
    QTest::newRow("patamar par 89 a 92") << patamar({89, 90, 91, 92}) << QList<double>(8, 45.0)
                                         << 89 << 179 << 45.0 << 43.0;
    QTest::newRow("patamar que passa por 180") << patamar({179, 180, 1, 2, 3}) << QList<double>(10, 45.0)
                                               << 179 << 89 << 45.0 << 43.0;
    QTest::newRow("patamar e par isolado") << (patamar({40, 41, 42}) + patamar({150}))
                                           << QList<double>(8, 45.0) << 30 << 120 << 45.0 << 43.0;
}

void TesteMapas::ceratometria()
{
    QFETCH(QList<int>, meridianos);
    QFETCH(QList<double>, valores);
    QFETCH(int, eixo1);
    QFETCH(int, eixo2);
    QFETCH(double, k1);
    QFETCH(double, k2);
    Exame e(16, [](int j) { return 15.0 * j; }, [&](int k, double) {
        const int p = meridianos.indexOf(k);
        return p >= 0 ? valores[p] : 43.0;
    });
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    TDadosCeratometria c;
    mapa.Ceratometria(c, 1.5);
    QCOMPARE(int(c.Eixo1), eixo1);
    QCOMPARE(int(c.Eixo2), eixo2);
    QCOMPARE(c.K1, k1);
    QCOMPARE(c.K2, k2);
    QCOMPARE(c.DifK, k1 - k2);
    QCOMPARE(c.R1, 337.5 / k1);
    QCOMPARE(c.R2, 337.5 / k2);
    QCOMPARE(c.DifR, 337.5 / k1 - 337.5 / k2);
    QCOMPARE(c.Raio, 1.5);
    QCOMPARE(mapa.DadosCeratometria().K1, k1);
}

void TesteMapas::zonaDaCeratometria_data()
{
    QTest::addColumn<double>("fator");
    QTest::addColumn<double>("raio");
    QTest::addColumn<double>("media"); // cells 0..L of 40 + c/100
    // 2.5 / 0.015 = 166.7 -> cells 0..167, mean 40 + 83.5 / 100.
    QTest::newRow("2.5 mm, F 0.015") << 0.015 << 2.5 << 40.835;
    QTest::newRow("2.4 mm, F 0.015") << 0.015 << 2.4 << 40.80;   // cells 0..160
    QTest::newRow("1.5 mm, F 0.02") << 0.02 << 1.5 << 40.375;    // cells 0..75
    QTest::newRow("1.25 mm, F 0.02") << 0.02 << 1.25 << 40.31;   // 62.5 -> cells 0..62
    QTest::newRow("4.5 mm, F 0.015") << 0.015 << 4.5 << 41.50;   // the whole grid
}

void TesteMapas::zonaDaCeratometria()
{
    QFETCH(double, fator);
    QFETCH(double, raio);
    QFETCH(double, media);
    Exame e(16, [](int j) { return 20.0 * j; }, [](int, double x) { return 40.0 + x / 100.0; });
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, fator);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    TDadosCeratometria c;
    mapa.Ceratometria(c, raio);
    QVERIFY2(qAbs(c.K1 - media) < 1e-9, qPrintable(QString::number(c.K1, 'g', 17)));
    QVERIFY(qAbs(c.K2 - media) < 1e-9);
    QCOMPARE(int(c.Eixo1), 0); // every pair equal: the last one, 180, wins
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, mapa.Ceratometria(c, 300.6 * fator)); // cell 301
}

void TesteMapas::zonaSemDados()
{
    Exame e(16, [](int j) { return 15.0 * j; }, [](int, double) { return 43.0; });
    e.aneis[76] = 0;
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    TDadosCeratometria c;
    c.K1 = -1;
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, mapa.Ceratometria(c, 1.5));
    QCOMPARE(c.K1, -1.0); // nothing copied

    // Rings that start beyond the zone leave it empty as well.
    Exame f(16, [](int j) { return 100.0 + 10.0 * j; }, [](int, double) { return 43.0; });
    TBFuncoesMapas longe(*f.d, *f.m, f.aneis, 0.02);
    longe.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, longe.Ceratometria(c, 1.5)); // cells 0..75
    longe.Ceratometria(c, 2.5);                                       // cells 0..125
    QCOMPARE(c.K1, 43.0);
}

void TesteMapas::valorMaximo()
{
    Exame vazio(0, [](int j) { return 15.0 * j; }, [](int, double) { return 43.0; });
    TBFuncoesMapas zero(*vazio.d, *vazio.m, vazio.aneis, 0.02);
    zero.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QCOMPARE(zero.ValorMaximo(), 0.0);

    Exame negativo(16, [](int j) { return 15.0 * j; }, [](int, double) { return -3.0; });
    TBFuncoesMapas semPositivos(*negativo.d, *negativo.m, negativo.aneis, 0.02);
    semPositivos.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QCOMPARE(semPositivos.Celula(5, 5), -3.0);
    QCOMPARE(semPositivos.ValorMaximo(), 0.0);

    // Rising values: the largest is the last sample (239 px of rings out to 240 px) on
    // the steepest meridian.
    Exame e(16, [](int j) { return 15.0 * j; }, [](int k, double x) { return 40.0 + x / 100.0 + (k == 77) * 0.5; });
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, 0.02);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QCOMPARE(mapa.ValorMaximo(), 42.89);
}

void TesteMapas::superficieTorica_data()
{
    QTest::addColumn<double>("eixo");
    QTest::addColumn<double>("raio");
    QTest::newRow("eixo 90, 1.5 mm") << 90.0 << 1.5;
    QTest::newRow("eixo 90, 2.5 mm") << 90.0 << 2.5;
    QTest::newRow("eixo 30, 1.5 mm") << 30.0 << 1.5;
    QTest::newRow("eixo 165, 2.5 mm") << 165.0 << 2.5;
}

// Axial powers of a surface with principal radii 7.5 mm (steep) and 7.8 mm at the rings of
// a 16-ring examination (0.3 mm apart, F = 0.02 mm per pixel). Meridian k of the exam
// matrices runs along the clinical axis 180 - k. The keratometry must find 337.5 / 7.5 and
// 337.5 / 7.8 and the steep axis.
void TesteMapas::superficieTorica()
{
    QFETCH(double, eixo);
    QFETCH(double, raio);
    const double r1 = 7.5, r2 = 7.8, fator = 0.02;
    Exame e(16, [&](int j) { return 0.3 * j / fator; }, [&](int k, double x) {
        const double phi = qDegreesToRadians((180.0 - k) - eixo);
        const double cs = std::cos(phi) * std::cos(phi), sn = std::sin(phi) * std::sin(phi);
        const double c = cs / r1 + sn / r2;
        const double c2 = cs / (r1 * r1) + sn / (r2 * r2);
        return 337.5 / RaioAxial(x * fator, c, c2);
    });
    // The biconic's principal sections are circles: axial radius 7.5 all along the steep one.
    QVERIFY(qAbs(RaioAxial(4.0, 1 / 7.5, 1 / 56.25) - 7.5) < 1e-12);

    MensagensRoteiro msgs;
    TBFuncoesMapas mapa(*e.d, *e.m, e.aneis, fator);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    QVERIFY(msgs.Registros().isEmpty());
    TDadosCeratometria c;
    mapa.Ceratometria(c, raio);
    QVERIFY2(qAbs(c.K1 - 337.5 / r1) <= 0.01, qPrintable(QString::number(c.K1)));
    QVERIFY2(qAbs(c.K2 - 337.5 / r2) <= 0.01, qPrintable(QString::number(c.K2)));
    QVERIFY2(DistanciaAngular(c.Eixo1, eixo) <= 1.0, qPrintable(QString::number(c.Eixo1)));
    QVERIFY2(DistanciaAngular(c.Eixo2, eixo + 90) <= 1.0, qPrintable(QString::number(c.Eixo2)));
    QVERIFY(qAbs(c.R1 - r1) <= 0.002);
    QVERIFY(qAbs(c.R2 - r2) <= 0.002);
    QVERIFY(c.Eixo1 <= 179 && c.Eixo2 >= 1 && c.Eixo2 <= 180);
    QVERIFY(qAbs(mapa.ValorMaximo() - 337.5 / r1) <= 0.005);
}

QTEST_GUILESS_MAIN(TesteMapas)
#include "tst_mapas.moc"
