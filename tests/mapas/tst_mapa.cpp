// The map library: the colour scales, the curvature of known surfaces at points of the
// cornea (axial and tangential), the keratometry of the 3 mm zone, and bad examinations.

#include "plugins/mapas/UEscalaCores.h"
#include "plugins/mapas/UMapaCurvatura.h"
#include "tests/support/UExameSintetico.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A point at r mm on the clinical axis (degrees), in map coordinates (y downwards).
void Ponto(double r, double eixo, double& x, double& y)
{
    x = r * std::cos(eixo * M_PI / 180.0);
    y = -r * std::sin(eixo * M_PI / 180.0);
}

double ValorEm(const MapaCurvatura& m, double r, double eixo)
{
    double x, y;
    Ponto(r, eixo, x, y);
    return m.Valor(x, y);
}
} // namespace

class TesteMapa : public QObject {
    Q_OBJECT
private slots:
    void escalaAbsoluta_data();
    void escalaAbsoluta();
    void escalaAbsolutaCores();
    void passoAutomatico_data();
    void passoAutomatico();
    void escalaNormalizada_data();
    void escalaNormalizada();
    void superficies_data();
    void superficies();
    void orientacao();
    void tangencialConica_data();
    void tangencialConica();
    void ceratometria_data();
    void ceratometria();
    void exameRuim_data();
    void exameRuim();
};

void TesteMapa::escalaAbsoluta_data()
{
    QTest::addColumn<double>("dioptrias");
    QTest::addColumn<int>("nivel");
    QTest::addColumn<double>("valorNivel");
    // Levels 28.0 + 1.5 k; each covers half a step either side.
    QTest::newRow("43 no centro do nível") << 43.0 << 10 << 43.0;
    QTest::newRow("43.74 ainda 43") << 43.74 << 10 << 43.0;
    QTest::newRow("43.76 já 44.5") << 43.76 << 11 << 44.5;
    QTest::newRow("42.26 ainda 43") << 42.26 << 10 << 43.0;
    QTest::newRow("primeiro nível") << 28.0 << 0 << 28.0;
    QTest::newRow("abaixo da escala") << 21.0 << 0 << 28.0;
    QTest::newRow("último nível") << 65.5 << 25 << 65.5;
    QTest::newRow("acima da escala") << 80.0 << 25 << 65.5;
}

void TesteMapa::escalaAbsoluta()
{
    QFETCH(double, dioptrias);
    QFETCH(int, nivel);
    QFETCH(double, valorNivel);
    const EscalaCores e = EscalaCores::Absoluta();
    QCOMPARE(e.Niveis(), 26);
    QCOMPARE(e.Passo(), 1.5);
    QCOMPARE(e.Nivel(dioptrias), nivel);
    QCOMPARE(e.ValorNivel(nivel), valorNivel);
    QCOMPARE(e.Cor(dioptrias), e.CorNivel(nivel));
    QCOMPARE(e.NivelDaCor(e.Cor(dioptrias)), nivel);
}

void TesteMapa::escalaAbsolutaCores()
{
    const EscalaCores e = EscalaCores::Absoluta();
    // Every level has its own colour.
    for (int a = 0; a < e.Niveis(); ++a)
        for (int b = a + 1; b < e.Niveis(); ++b)
            QVERIFY2(e.CorNivel(a).rgb() != e.CorNivel(b).rgb(), qPrintable(QString("%1 %2").arg(a).arg(b)));
    // Flat is cool, steep is warm.
    const QColor plano = e.Cor(35.5), normal = e.Cor(43.0), curvo = e.Cor(52.0);
    QVERIFY(plano.blue() > plano.red());
    QVERIFY(normal.green() > normal.red() && normal.green() > normal.blue());
    QVERIFY(curvo.red() > curvo.blue() && curvo.red() > curvo.green());
    QCOMPARE(e.TextoNivel(10), QStringLiteral("43.0"));
    QCOMPARE(e.TextoNivel(11), QStringLiteral("44.5"));
    QVERIFY(!e.Cor(kNaN).isValid() || e.Cor(kNaN).alpha() == 0);
}

void TesteMapa::passoAutomatico_data()
{
    QTest::addColumn<double>("minimo");
    QTest::addColumn<double>("maximo");
    QTest::addColumn<double>("passo");
    // Smallest step giving at most 15 levels from floor(min/p)p to ceil(max/p)p.
    QTest::newRow("42.1 a 44.9: 13 níveis de 0.25") << 42.1 << 44.9 << 0.25;
    QTest::newRow("42 a 45.5: 15 níveis de 0.25") << 42.0 << 45.5 << 0.25;
    QTest::newRow("42 a 45.6: 0.5") << 42.0 << 45.6 << 0.5;
    QTest::newRow("40 a 48: 12 níveis de 0.75") << 40.0 << 48.0 << 0.75;
    QTest::newRow("35 a 60: 14 níveis de 2") << 35.0 << 60.0 << 2.0;
    QTest::newRow("uma só potência") << 43.0 << 43.0 << 0.25;
}

void TesteMapa::passoAutomatico()
{
    QFETCH(double, minimo);
    QFETCH(double, maximo);
    QFETCH(double, passo);
    QCOMPARE(EscalaCores::PassoAutomatico(minimo, maximo), passo);
}

void TesteMapa::escalaNormalizada_data()
{
    QTest::addColumn<double>("minimo");
    QTest::addColumn<double>("maximo");
    QTest::addColumn<double>("passo");
    QTest::addColumn<double>("passoEsperado");
    QTest::addColumn<double>("primeiro");
    QTest::addColumn<int>("niveis");
    QTest::newRow("passo fixo 0.5") << 41.2 << 46.8 << 0.5 << 0.5 << 41.0 << 13;
    QTest::newRow("passo fixo 1") << 41.2 << 46.8 << 1.0 << 1.0 << 41.0 << 7;
    QTest::newRow("automático") << 41.2 << 46.8 << 0.0 << 0.5 << 41.0 << 13;
    // A fixed step far too small is widened to a multiple that fits (at most 40 colours).
    QTest::newRow("passo minúsculo") << 30.0 << 70.0 << 0.1 << 1.1 << 29.7 << 38;
}

void TesteMapa::escalaNormalizada()
{
    QFETCH(double, minimo);
    QFETCH(double, maximo);
    QFETCH(double, passo);
    QFETCH(double, passoEsperado);
    QFETCH(double, primeiro);
    QFETCH(int, niveis);
    const EscalaCores e = EscalaCores::DasOpcoes(false, passo > 0, passo, minimo, maximo);
    QVERIFY(!e.Absoluta_());
    QVERIFY(std::fabs(e.Passo() - passoEsperado) < 1e-9);
    QVERIFY(std::fabs(e.ValorNivel(0) - primeiro) < 1e-9);
    QCOMPARE(e.Niveis(), niveis);
    // The range is inside the scale and the colours run from cool to warm.
    QVERIFY(e.ValorNivel(0) <= minimo + 1e-9);
    QVERIFY(e.ValorNivel(e.Niveis() - 1) >= maximo - 1e-9);
    QVERIFY(e.CorNivel(0).blue() > e.CorNivel(0).red());
    QVERIFY(e.CorNivel(e.Niveis() - 1).red() > e.CorNivel(e.Niveis() - 1).blue());
    // The options' ISO flag wins over any step.
    QVERIFY(EscalaCores::DasOpcoes(true, true, passo, minimo, maximo).Absoluta_());
}

void TesteMapa::superficies_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<double>("raio");
    QTest::addColumn<double>("eixo");
    QTest::addColumn<double>("esperado");
    // Sphere: 43 D everywhere with data, both kinds.
    QTest::newRow("esfera centro") << 0 << 0.0 << 0.0 << 43.0;
    QTest::newRow("esfera 2 mm a 37 graus") << 0 << 2.0 << 37.0 << 43.0;
    QTest::newRow("esfera 4.2 mm a 301 graus") << 0 << 4.2 << 301.0 << 43.0;
    // Toric 42/45 with the steep meridian at 90: cos^2 law between the principal meridians.
    QTest::newRow("tórica meridiano curvo") << 1 << 2.0 << 90.0 << 45.0;
    QTest::newRow("tórica meridiano plano") << 1 << 2.0 << 180.0 << 42.0;
    QTest::newRow("tórica 45 graus") << 1 << 3.0 << 45.0 << 43.5;
    QTest::newRow("tórica 120 graus") << 1 << 3.0 << 120.0 << 42.0 + 3.0 * 0.75;
    // The same toric turned so that the steep meridian lies at 30.
    QTest::newRow("tórica oblíqua curvo") << 2 << 2.5 << 30.0 << 45.0;
    QTest::newRow("tórica oblíqua oposto") << 2 << 2.5 << 210.0 << 45.0;
    QTest::newRow("tórica oblíqua plano") << 2 << 2.5 << 120.0 << 42.0;
}

void TesteMapa::superficies()
{
    QFETCH(int, caso);
    QFETCH(double, raio);
    QFETCH(double, eixo);
    QFETCH(double, esperado);
    const ExameSintetico ex = caso == 0   ? ExameSintetico::Esfera(43.0)
                              : caso == 1 ? ExameSintetico::Torica(42.0, 45.0, 90.0)
                                          : ExameSintetico::Torica(42.0, 45.0, 30.0);
    for (auto tipo : {MapaCurvatura::Axial, MapaCurvatura::Tangencial}) {
        MapaCurvatura mapa(tipo, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator);
        QVERIFY(mapa.TemDados());
        QVERIFY2(mapa.Avisos().isEmpty(), qPrintable(mapa.Avisos().join(u'|')));
        const double v = ValorEm(mapa, raio, eixo);
        // Between meridians the cos^2 law is interpolated linearly over one degree.
        QVERIFY2(std::fabs(v - esperado) < 0.03, qPrintable(QString::number(v)));
    }
    // Outside the rings there is no value.
    MapaCurvatura mapa(MapaCurvatura::Axial, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator);
    QVERIFY(std::isnan(ValorEm(mapa, 5.2, eixo)));
    QVERIFY(std::fabs(mapa.RaioDados() - 16 * ExameSintetico::kPassoAnel) < 1e-9);
}

// A cone 1.2 mm below the centre shows below it: meridian k of the data runs at k degrees
// towards the image's bottom, and the map is drawn as the camera sees the eye.
void TesteMapa::orientacao()
{
    const ExameSintetico ex = ExameSintetico::Ceratocone(7.0, 1.2, 0.9);
    MapaCurvatura mapa(MapaCurvatura::Axial, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator);
    const double abaixo = mapa.Valor(0.0, 1.2), acima = mapa.Valor(0.0, -1.2);
    const double conePuro = ExameSintetico::PotenciaAxialConica(7.5, -0.3, 1.2) + 7.0;
    QVERIFY2(std::fabs(abaixo - conePuro) < 0.05, qPrintable(QString::number(abaixo)));
    QVERIFY(abaixo > acima + 5.0);
    // Left and right of the cone alike.
    QVERIFY(std::fabs(mapa.Valor(-1.0, 1.2) - mapa.Valor(1.0, 1.2)) < 0.02);
}

void TesteMapa::tangencialConica_data()
{
    QTest::addColumn<double>("Q");
    QTest::addColumn<double>("raio");
    QTest::newRow("prolata centro") << -0.4 << 0.0;
    QTest::newRow("prolata 1.5 mm") << -0.4 << 1.5;
    QTest::newRow("prolata 3 mm") << -0.4 << 3.0;
    QTest::newRow("prolata 4.2 mm") << -0.4 << 4.2;
    QTest::newRow("oblata 3 mm") << 0.3 << 3.0;
    QTest::newRow("muito prolata 4 mm") << -1.0 << 4.0;
}

// The tangential power of a conic against its closed form, the axial one against its own.
void TesteMapa::tangencialConica()
{
    QFETCH(double, Q);
    QFETCH(double, raio);
    const double R = 7.8;
    const ExameSintetico ex = ExameSintetico::Conica(R, Q);
    MapaCurvatura axial(MapaCurvatura::Axial, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator);
    MapaCurvatura tang(MapaCurvatura::Tangencial, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator);
    for (double eixo : {0.0, 77.0, 200.0}) {
        const double a = ValorEm(axial, raio, eixo);
        const double t = ValorEm(tang, raio, eixo);
        // The centre repeats the first ring (0.3 mm), so its values are those of 0.3 mm.
        const double r = std::max(raio, 0.3);
        const double aEsperado = ExameSintetico::PotenciaAxialConica(R, Q, r);
        const double tEsperado = ExameSintetico::PotenciaTangencialConica(R, Q, r);
        QVERIFY2(std::fabs(a - aEsperado) < 0.03, qPrintable(QString("%1 %2").arg(a).arg(aEsperado)));
        QVERIFY2(std::fabs(t - tEsperado) < 0.06, qPrintable(QString("%1 %2").arg(t).arg(tEsperado)));
        // Prolate: the tangential map is flatter than the axial one away from the centre.
        if (Q < 0 && raio >= 1.5)
            QVERIFY(t < a - 0.1);
        if (Q > 0 && raio >= 1.5)
            QVERIFY(t > a + 0.1);
    }
}

void TesteMapa::ceratometria_data()
{
    QTest::addColumn<double>("kPlano");
    QTest::addColumn<double>("kCurvo");
    QTest::addColumn<double>("eixoCurvo");
    QTest::addColumn<int>("eixo1");
    QTest::addColumn<int>("eixo2");
    QTest::newRow("com a regra") << 42.0 << 45.0 << 90.0 << 90 << 180;
    QTest::newRow("contra a regra") << 43.0 << 44.25 << 180.0 << 0 << 90;
    QTest::newRow("oblíquo 30") << 41.5 << 43.5 << 30.0 << 30 << 120;
    QTest::newRow("oblíquo 135") << 42.0 << 46.0 << 135.0 << 135 << 45;
}

// K1/K2 of a toric cornea: the principal powers and their clinical axes.
void TesteMapa::ceratometria()
{
    QFETCH(double, kPlano);
    QFETCH(double, kCurvo);
    QFETCH(double, eixoCurvo);
    QFETCH(int, eixo1);
    QFETCH(int, eixo2);
    const ExameSintetico ex = ExameSintetico::Torica(kPlano, kCurvo, eixoCurvo);
    for (auto tipo : {MapaCurvatura::Axial, MapaCurvatura::Tangencial}) {
        MapaCurvatura mapa(tipo, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator);
        QVERIFY(mapa.TemCeratometria());
        const TDadosCeratometria& k = mapa.Ceratometria();
        QVERIFY2(std::fabs(k.K1 - kCurvo) < 0.011, qPrintable(QString::number(k.K1)));
        QVERIFY2(std::fabs(k.K2 - kPlano) < 0.011, qPrintable(QString::number(k.K2)));
        QCOMPARE(int(k.Eixo1), eixo1);
        QCOMPARE(int(k.Eixo2), eixo2);
        QCOMPARE(k.Raio, 1.5);
    }
}

void TesteMapa::exameRuim_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<bool>("temDados");
    QTest::addColumn<QString>("aviso");
    QTest::newRow("posições nulas") << 0 << false << "Dados do exame ausentes: posições.";
    QTest::newRow("dioptrias nulas") << 1 << false << "Dados do exame ausentes: dioptrias.";
    QTest::newRow("anéis nulos") << 2 << false << "Dados do exame ausentes: anéis por meridiano.";
    QTest::newRow("anéis 33 em tudo") << 3 << false << "Número de anéis inválido em 360 meridianos";
    QTest::newRow("anéis zero em tudo") << 4 << false << "Não há dados de curvatura suficientes";
    QTest::newRow("anéis negativos em metade") << 5 << true << "Número de anéis inválido em 180 meridianos";
    QTest::newRow("NaN num anel") << 6 << true << "foram desconsiderados em 360 meridianos";
    QTest::newRow("dioptrias absurdas 150") << 7 << true << "foram desconsiderados em 90 meridianos";
    QTest::newRow("dioptrias absurdas 10 no centro") << 8 << false << "foram desconsiderados em 360 meridianos";
    QTest::newRow("posições fora de ordem") << 9 << true << "foram desconsiderados em 1 meridianos";
    QTest::newRow("fator de correção zero") << 10 << true << "Fator de correção inválido (0)";
}

void TesteMapa::exameRuim()
{
    QFETCH(int, caso);
    QFETCH(bool, temDados);
    QFETCH(QString, aviso);
    ExameSintetico ex = ExameSintetico::Esfera(43.0);
    const TMatrizAngAnel* m = &ex.m;
    const TMatrizAngAnel* d = &ex.d;
    const TAneisMeridiano* n = &ex.aneis;
    double fator = ExameSintetico::kFator;
    switch (caso) {
    case 0: m = nullptr; break;
    case 1: d = nullptr; break;
    case 2: n = nullptr; break;
    case 3: for (auto& a : ex.aneis) a = 33; break;
    case 4: for (auto& a : ex.aneis) a = 0; break;
    case 5: for (int k = 0; k < 360; k += 2) ex.aneis[k] = -1; break;
    case 6: for (int k = 0; k < 360; ++k) ex.d[k][9] = kNaN; break;
    case 7: for (int k = 0; k < 90; ++k) ex.d[k][5] = 150.0; break;
    case 8: for (int k = 0; k < 360; ++k) ex.d[k][0] = ex.d[k][1] = 10.0; break;
    case 9: ex.m[100][6] = ex.m[100][4]; break;
    case 10: fator = 0.0; break;
    }
    MapaCurvatura mapa(MapaCurvatura::Tangencial, m, n, d, fator);
    QCOMPARE(mapa.TemDados(), temDados);
    QVERIFY2(mapa.Avisos().join(u'\n').contains(aviso), qPrintable(mapa.Avisos().join(u'|')));
    if (!temDados) {
        QVERIFY(std::isnan(mapa.Valor(0, 0)));
        QVERIFY(std::isnan(mapa.Minimo()));
        return;
    }
    // What is left is still the 43 D sphere: nothing bad leaks into the map.
    QVERIFY(std::fabs(mapa.Minimo() - 43.0) < 0.011);
    QVERIFY(std::fabs(mapa.Maximo() - 43.0) < 0.011);
    if (caso == 6) // cut before ring 9: data up to ring 8
        QVERIFY(std::fabs(mapa.RaioDados() - 8 * ExameSintetico::kPassoAnel) < 1e-9);
}

QTEST_GUILESS_MAIN(TesteMapa)
#include "tst_mapa.moc"
