// The ortho-k treatment analysis of the tangential map, on examinations of the simulator's
// parametric ortho-k cornea whose treatment zone is placed where the test says: the ring's
// centre is the zone's decentration, read back within 0.1 mm and 15 degrees.

#include "plugins/instrumento/UModeloCornea.h"
#include "plugins/mapas/UAnaliseOrto.h"
#include "tests/support/UExameSintetico.h"

#include <QTest>

using Instrumento::ModeloCornea;

class TesteAnaliseOrto : public QObject {
    Q_OBJECT
private slots:
    void descentracao_data();
    void descentracao();
    void semAnel();
};

void TesteAnaliseOrto::descentracao_data()
{
    QTest::addColumn<double>("distancia"); // mm
    QTest::addColumn<double>("direcao");   // degrees, as the examiner sees the eye
    QTest::newRow("centred") << 0.0 << 0.0;
    QTest::newRow("0.5 mm temporal of a right eye") << 0.5 << 180.0;
    QTest::newRow("0.5 mm up") << 0.5 << 90.0;
    QTest::newRow("0.8 mm at 315") << 0.8 << 315.0;
}

void TesteAnaliseOrto::descentracao()
{
    QFETCH(double, distancia);
    QFETCH(double, direcao);
    ModeloCornea c = ModeloCornea::Ortoceratologia(7.8, -0.15, 20, 3.5, 0.0);
    QCOMPARE(c.ectasias.size(), size_t(1));
    c.ectasias[0].u = distancia * std::cos(direcao * M_PI / 180.0);
    c.ectasias[0].v = distancia * std::sin(direcao * M_PI / 180.0);
    const ExameSintetico ex([&](double r, double eixo) {
        const double a = eixo * M_PI / 180.0;
        return c.PotenciaAxial(r * std::cos(a), r * std::sin(a));
    });
    const MapaCurvatura mapa(MapaCurvatura::Tangencial, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator);
    const AnaliseOrto a = AnalisaTratamento(mapa);
    QVERIFY2(a.valida, qPrintable(a.aviso));
    QVERIFY2(std::abs(a.descentracao - distancia) <= 0.1, qPrintable(QString::number(a.descentracao)));
    if (distancia > 0) {
        const double erro = std::abs(std::remainder(a.direcao - direcao, 360.0));
        QVERIFY2(erro <= 15.0, qPrintable(QString::number(a.direcao)));
    }
    if (std::abs(distancia - AnaliseOrto::kCentrado) > 0.2)
        QCOMPARE(a.Centrado(), distancia < AnaliseOrto::kCentrado);
    QCOMPARE(a.Linhas().last().endsWith(QStringLiteral("(centrado)")), a.Centrado());
    // The ring lies beyond the flattened zone and is steeper than the centre.
    QVERIFY2(a.diametroZona > 1.5 && a.diametro > a.diametroZona + 0.5 && a.diametro < 8.0,
             qPrintable(QStringLiteral("%1 %2").arg(a.diametroZona).arg(a.diametro)));
    QVERIFY(a.potenciaPico > mapa.Valor(a.centroX, a.centroY) + 0.5);
}

void TesteAnaliseOrto::semAnel()
{
    // A sphere has no ring: the analysis says so instead of inventing one.
    const ExameSintetico esfera = ExameSintetico::Esfera(43.0);
    const MapaCurvatura mapa(MapaCurvatura::Tangencial, &esfera.m, &esfera.aneis, &esfera.d, ExameSintetico::kFator);
    const AnaliseOrto a = AnalisaTratamento(mapa);
    QVERIFY(!a.valida);
    QCOMPARE(a.Linhas(), QStringList{QStringLiteral("Zona de tratamento: anel de tratamento não encontrado")});
}

QTEST_GUILESS_MAIN(TesteAnaliseOrto)
#include "tst_analiseorto.moc"
