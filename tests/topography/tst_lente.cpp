// The lens sagitta formulas, against values worked out by hand.

#include "topography/UCalculosLente.h"

#include <QTest>

class TesteLente : public QObject {
    Q_OBJECT
private slots:
    void sag_data();
    void sag();
    void viaTopografia();
    void viaApiceLimbo();
    void fst_data();
    void fst();
    void raioLente_data();
    void raioLente();
    void barraSag_data();
    void barraSag();
    void cordaMaiorQueDiametro_data();
    void cordaMaiorQueDiametro();
};

void TesteLente::sag_data()
{
    QTest::addColumn<double>("corda");
    QTest::addColumn<double>("raio");
    QTest::addColumn<double>("sag");
    // 7.8 - sqrt(60.84 - 25)
    QTest::newRow("topo 10 / 7.8") << 10.0 << 7.8 << 1.81335;
    QTest::newRow("limbo 12 / 9.5") << 12.0 << 9.5 << 2.13454;
    QTest::newRow("10 / 9.5") << 10.0 << 9.5 << 1.42225;
    QTest::newRow("hemisfério") << 10.0 << 5.0 << 5.0;
    QTest::newRow("corda nula") << 0.0 << 8.0 << 0.0;
    QTest::newRow("6 / 5") << 6.0 << 5.0 << 1.0; // 5 - sqrt(25 - 9)
}

void TesteLente::sag()
{
    QFETCH(double, corda);
    QFETCH(double, raio);
    QFETCH(double, sag);
    QVERIFY(qAbs(SagRaioCorda(corda, raio) - sag) < 1e-5);
}

// Chord topo 10, radius topo 7.8, limbus 12 / 9.5, sclera 16 / 11.5, vault 200:
// 1.8133 + (2.1345 - 1.4223) + 1.5494 mm -> 4274.99 um.
void TesteLente::viaTopografia()
{
    TDadosLente d;
    d.CordaTopo = 10;
    d.RaioTopo = 7.8;
    d.CordaLimbo = 12;
    d.RaioLimbo = 9.5;
    d.CordaEsclera = 16;
    d.RaioEsclera = 11.5;
    d.Vault = 200;
    const TSagsLente s = CalculaDistSagLente(d);
    QVERIFY(qAbs(s.SagTopo - 1.8133) < 1e-4);
    QVERIFY(qAbs(s.SagLimbo - 0.7123) < 1e-4);
    QVERIFY(qAbs(s.SagEsclera - 1.5494) < 1e-4);
    QVERIFY(qAbs(s.SagLente - 4274.99) < 0.005);
    QCOMPARE(PosicaoBarraSag(s.SagLente), 4275);
    // The bar's sag back through the radius: (4.275^2 + 64) / 8.55 = 9.62288.
    QVERIFY(qAbs(RaioLente(16, 4275) - 9.62288) < 1e-5);
}

// Apex-to-limbus 3.0 mm, iris chord 11.8, sclera 16 / 11.5, vault 200:
// sclera 3.23864 - 1.62883 = 1.60981 mm -> 4809.81 um; the other zones do not count.
void TesteLente::viaApiceLimbo()
{
    TDadosLente d;
    d.CordaTopo = 10;
    d.RaioTopo = 7.8;
    d.CordaIris = 11.8;
    d.ApiceLimbo = 3.0;
    d.CordaEsclera = 16;
    d.RaioEsclera = 11.5;
    d.Vault = 200;
    const TSagsLente s = CalculaDistSagLenteMedido(d);
    QCOMPARE(s.SagTopo, 0.0);
    QCOMPARE(s.SagLimbo, 0.0);
    QVERIFY(qAbs(s.SagEsclera - 1.60981) < 1e-5);
    QVERIFY(qAbs(s.SagLente - 4809.81) < 0.01);
}

void TesteLente::fst_data()
{
    QTest::addColumn<double>("sagP1");
    QTest::addColumn<double>("cordaP3");
    QTest::addColumn<double>("diametro");
    QTest::addColumn<double>("vault");
    QTest::addColumn<double>("sag");
    QTest::newRow("2.5 + 0.4 x 4") << 2.5 << 12.0 << 16.0 << 200.0 << 4300.0;
    QTest::newRow("sem vault") << 3.0 << 15.0 << 15.0 << 0.0 << 3000.0;
    QTest::newRow("corda maior que a lente") << 2.0 << 17.0 << 16.0 << 150.0 << 1750.0;
}

void TesteLente::fst()
{
    QFETCH(double, sagP1);
    QFETCH(double, cordaP3);
    QFETCH(double, diametro);
    QFETCH(double, vault);
    QFETCH(double, sag);
    QVERIFY(qAbs(CalculaDistSagLenteFST(sagP1, cordaP3, diametro, vault) - sag) < 1e-9);
}

void TesteLente::raioLente_data()
{
    QTest::addColumn<double>("diametro");
    QTest::addColumn<double>("sag");
    QTest::addColumn<double>("raio");
    QTest::newRow("16 / 4000") << 16.0 << 4000.0 << 10.0; // (16 + 64) / 8
    QTest::newRow("hemisfério") << 10.0 << 5000.0 << 5.0;
    QTest::newRow("12 / 2000") << 12.0 << 2000.0 << 10.0;  // (4 + 36) / 4
}

void TesteLente::raioLente()
{
    QFETCH(double, diametro);
    QFETCH(double, sag);
    QFETCH(double, raio);
    QVERIFY(qAbs(RaioLente(diametro, sag) - raio) < 1e-12);
}

void TesteLente::barraSag_data()
{
    QTest::addColumn<double>("sag");
    QTest::addColumn<int>("posicao");
    QTest::newRow("4274.99") << 4274.99 << 4275;
    QTest::newRow("meio par") << 2.5 << 2;
    QTest::newRow("meio ímpar") << 3.5 << 4;
    QTest::newRow("acima") << 10500.2 << 10000;
    QTest::newRow("negativo") << -40.0 << 0;
}

void TesteLente::barraSag()
{
    QFETCH(double, sag);
    QFETCH(int, posicao);
    QCOMPARE(PosicaoBarraSag(sag), posicao);
}

void TesteLente::cordaMaiorQueDiametro_data()
{
    QTest::addColumn<int>("caso");
    QTest::newRow("sag") << 0;
    QTest::newRow("delta") << 1;
    QTest::newRow("topografia") << 2;
    QTest::newRow("lente sem sag") << 3;
}

void TesteLente::cordaMaiorQueDiametro()
{
    QFETCH(int, caso);
    TDadosLente d;
    d.CordaTopo = 10;
    d.RaioTopo = 4.9; // a 10 mm chord does not fit a 4.9 mm circle
    switch (caso) {
    case 0: QVERIFY_THROWS_EXCEPTION(ErroCalculo, SagRaioCorda(10, 4.9)); break;
    case 1: QVERIFY_THROWS_EXCEPTION(ErroCalculo, CalculaDeltaSag(20, 10, 9.5)); break;
    case 2: QVERIFY_THROWS_EXCEPTION(ErroCalculo, CalculaDistSagLente(d)); break;
    default: QVERIFY_THROWS_EXCEPTION(ErroCalculo, RaioLente(16, 0)); break;
    }
}

QTEST_GUILESS_MAIN(TesteLente)
#include "tst_lente.moc"
