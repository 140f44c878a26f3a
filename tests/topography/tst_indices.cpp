// Keratoconus indices on surfaces whose answer is worked out here from the surface's own
// power formula (not from the grid the production routine builds): spheres, regular torics,
// ellipsoids and a cone below the centre; and the zones the data must reach.

#include "tests/support/UExameSintetico.h"
#include "topography/UIndicesCeratocone.h"
#include "topography/UProgressaoCeratocone.h"

#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

namespace {

using Potencia = std::function<double(double, double)>; // (r mm, direction degrees) -> D

// A keratoconus model: a prolate base (7.6 mm, Q -0.25) with a Gaussian steepening of its
// power centred d mm below the centre.
Potencia Cone(double altura, double d, double largura)
{
    return [=](double r, double a) {
        const double u = r * std::cos(a * M_PI / 180.0), v = r * std::sin(a * M_PI / 180.0) + d;
        return ExameSintetico::PotenciaAxialConica(7.6, -0.25, r) +
               altura * std::exp(-(u * u + v * v) / (2 * largura * largura));
    };
}

Potencia Torica(double kPlano, double kCurvo, double eixo)
{
    return [=](double, double a) {
        const double c = std::cos((a - eixo) * M_PI / 180.0);
        return kPlano + (kCurvo - kPlano) * c * c;
    };
}

} // namespace

class TesteIndices : public QObject {
    Q_OBJECT
private slots:
    void superficies_data();
    void superficies();
    void zonaNaoAlcancada();
    void limites_data();
    void limites();
    void progressao_data();
    void progressao();
};

void TesteIndices::superficies_data()
{
    QTest::addColumn<int>("tipo"); // 0 sphere, 1 toric, 2 ellipsoid, 3 cone
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::newRow("esfera 43 D") << 0 << 43.0 << 0.0 << 0.0;
    QTest::newRow("esfera 47.5 D") << 0 << 47.5 << 0.0 << 0.0;
    QTest::newRow("tórica 42/45 a 90") << 1 << 42.0 << 45.0 << 90.0;
    QTest::newRow("tórica 43/44.5 a 180") << 1 << 43.0 << 44.5 << 180.0;
    QTest::newRow("tórica 42.5/46 a 30") << 1 << 42.5 << 46.0 << 30.0;
    QTest::newRow("tórica 43/45 a 135") << 1 << 43.0 << 45.0 << 135.0;
    QTest::newRow("elipsoide Q -0.6") << 2 << 7.7 << -0.6 << 0.0;
    QTest::newRow("elipsoide Q -0.25") << 2 << 7.8 << -0.25 << 0.0;
    QTest::newRow("elipsoide Q +0.3") << 2 << 7.5 << 0.3 << 0.0;
    QTest::newRow("cone 3 D a 1.5 mm inferior, estreito") << 3 << 3.0 << 1.5 << 0.9;
    QTest::newRow("cone 6 D a 1.5 mm inferior") << 3 << 6.0 << 1.5 << 1.2;
}

void TesteIndices::superficies()
{
    QFETCH(int, tipo);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    Potencia p;
    switch (tipo) {
    case 0: p = [=](double, double) { return a; }; break;
    case 1: p = Torica(a, b, c); break;
    case 2: p = [=](double r, double) { return ExameSintetico::PotenciaAxialConica(a, b, r); }; break;
    default: p = Cone(a, b, c); break;
    }
    const auto exame = std::make_unique<ExameSintetico>(p);
    const TIndicesCeratocone ind =
        CalculaIndicesCeratocone(exame->m, exame->aneis, exame->d, ExameSintetico::kFator);
    const QString texto = ind.Linhas().join(QStringLiteral(" | "));
    QVERIFY2(ind.is.valido && ind.srax.valido && ind.sai.valido && ind.sri.valido && ind.kisa.valido, qPrintable(texto));

    // I-S worked out from the surface: five points below minus five above, 3 mm out.
    double isEsperado = 0;
    for (int k = 1; k <= 5; ++k)
        isEsperado += (p(3.0, 180.0 + 30.0 * k) - p(3.0, 30.0 * k)) / 5.0;
    QVERIFY2(std::abs(ind.is.valor - isEsperado) < (tipo == 3 ? 0.1 : 0.05), qPrintable(texto));

    if (tipo == 0) {
        QVERIFY2(ind.srax.valor == 0.0 && ind.sai.valor < 0.02 && ind.sri.valor < 0.02, qPrintable(texto));
        QVERIFY2(std::abs(ind.qPlano.valor) < 0.03 && std::abs(ind.qCurvo.valor) < 0.03, qPrintable(texto));
        QVERIFY2(std::abs(ind.raioPlano.valor - 337.5 / a) < 0.02, qPrintable(texto));
        QCOMPARE(ind.leitura, a > LimitesCeratocone::kKCentralCeratocone ? LeituraIndice::Ceratocone
                              : a > LimitesCeratocone::kKCentralSuspeito ? LeituraIndice::Suspeito
                                                                         : LeituraIndice::Normal);
    } else if (tipo == 1) {
        QVERIFY2(ind.srax.valor <= 3.0 && ind.kisa.valor < LimitesCeratocone::kKisaSuspeito, qPrintable(texto));
        QVERIFY2(std::abs(ind.ceratometria.DifK - (b - a)) < 0.15, qPrintable(texto));
        QCOMPARE(ind.leitura, LeituraIndice::Normal);
    } else if (tipo == 2) {
        QVERIFY2(std::abs(ind.qPlano.valor - b) < 0.05 && std::abs(ind.qCurvo.valor - b) < 0.05, qPrintable(texto));
        QVERIFY2(std::abs(ind.raioPlano.valor - a) < 0.03, qPrintable(texto));
    } else {
        // Kmax and its place by a fine search of the surface within the measured zone.
        double kMax = 0, xMax = 0, yMax = 0;
        for (double r = 0; r <= 16 * ExameSintetico::kPassoAnel; r += 0.005)
            for (double ang = 0; ang < 360; ang += 0.25) {
                const double v = p(r, ang);
                if (v > kMax) {
                    kMax = v;
                    xMax = r * std::cos(ang * M_PI / 180.0);
                    yMax = r * std::sin(ang * M_PI / 180.0);
                }
            }
        QVERIFY2(std::abs(ind.kMax.valor - kMax) < 0.25, qPrintable(texto));
        QVERIFY2(std::hypot(ind.kMaxX - xMax, ind.kMaxY - yMax) < 0.2, qPrintable(texto));
        QVERIFY2(ind.kMaxAngulo > 260 && ind.kMaxAngulo < 280, qPrintable(texto));
        if (isEsperado >= LimitesCeratocone::kISSuspeito)
            QVERIFY2(ind.leitura != LeituraIndice::Normal, qPrintable(texto));
    }
}

void TesteIndices::zonaNaoAlcancada()
{
    // Rings up to 2.4 mm: the indices that need 3 mm or ten rings have no value and say why;
    // the central ones are still computed.
    const auto curto = std::make_unique<ExameSintetico>(Cone(5.0, 1.0, 1.0), 8);
    const TIndicesCeratocone ind =
        CalculaIndicesCeratocone(curto->m, curto->aneis, curto->d, ExameSintetico::kFator);
    QVERIFY(ind.kCentral.valido && ind.temCeratometria && ind.kMax.valido);
    for (const TIndice* i : {&ind.is, &ind.kisa, &ind.sri, &ind.sai}) {
        QVERIFY(!i->valido);
        QVERIFY(!i->motivo.isEmpty());
    }
    QVERIFY(ind.Linhas().join(u'\n').contains(QStringLiteral("I-S: — (os anéis não alcançam 3 mm")));

    // Lids cutting the upper meridians short: no I-S either, rather than a guess.
    auto palpebra = std::make_unique<ExameSintetico>(Cone(5.0, 1.0, 1.0));
    for (int k = 200; k <= 340; ++k)
        palpebra->aneis[k - 1] = 7;
    QVERIFY(!CalculaIndicesCeratocone(palpebra->m, palpebra->aneis, palpebra->d, ExameSintetico::kFator).is.valido);

    QVERIFY_THROWS_EXCEPTION(ErroCalculo, CalculaIndicesCeratocone(curto->m, curto->aneis, curto->d, 0.0));
}

void TesteIndices::limites_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<double>("suspeito");
    QTest::addColumn<double>("ceratocone");
    QTest::addColumn<bool>("inclusivo");
    QTest::addColumn<int>("leitura");
    using namespace LimitesCeratocone;
    QTest::newRow("K 47.2 normal") << 47.2 << kKCentralSuspeito << kKCentralCeratocone << false << int(LeituraIndice::Normal);
    QTest::newRow("K 47.21 suspeito") << 47.21 << kKCentralSuspeito << kKCentralCeratocone << false << int(LeituraIndice::Suspeito);
    QTest::newRow("K 48.71 ceratocone") << 48.71 << kKCentralSuspeito << kKCentralCeratocone << false << int(LeituraIndice::Ceratocone);
    QTest::newRow("I-S 1.4 suspeito") << 1.4 << kISSuspeito << kISCeratocone << true << int(LeituraIndice::Suspeito);
    QTest::newRow("I-S 1.9 ceratocone") << 1.9 << kISSuspeito << kISCeratocone << true << int(LeituraIndice::Ceratocone);
    QTest::newRow("KISA 100 suspeito") << 100.0 << kKisaSuspeito << kKisaCeratocone << false << int(LeituraIndice::Suspeito);
    QTest::newRow("SAI sem terceiro nível") << 9.0 << kSaiSuspeito << std::nan("") << false << int(LeituraIndice::Suspeito);
}

void TesteIndices::limites()
{
    QFETCH(double, valor);
    QFETCH(double, suspeito);
    QFETCH(double, ceratocone);
    QFETCH(bool, inclusivo);
    QFETCH(int, leitura);
    QCOMPARE(int(LeituraPorLimites(valor, suspeito, ceratocone, inclusivo)), leitura);
}

void TesteIndices::progressao_data()
{
    QTest::addColumn<QList<double>>("kmax");
    QTest::addColumn<int>("duvidoso"); // examination below the confidence minimum, -1 none
    QTest::addColumn<bool>("progride");
    QTest::newRow("sobe 1.8 D em 18 meses") << QList<double>{46.0, 46.4, 47.3, 47.8} << -1 << true;
    QTest::newRow("terceiro abaixo da confiança") << QList<double>{46.0, 46.4, 47.3, 47.8} << 2 << true;
    QTest::newRow("sobe 0.9 D por ano") << QList<double>{46.0, 46.45, 46.9, 47.35} << -1 << false;
    // The only rise of 1 D within a year leans on a doubtful examination: no flag.
    QTest::newRow("salto só no duvidoso") << QList<double>{46.0, 46.3, 47.6, 46.8} << 2 << false;
}

void TesteIndices::progressao()
{
    QFETCH(QList<double>, kmax);
    QFETCH(int, duvidoso);
    QFETCH(bool, progride);
    const double minimo = 80.0;
    QList<ExameProgressao> serie, semDuvidoso;
    for (int i = 0; i < kmax.size(); ++i) {
        ExameProgressao e;
        e.data = QDate(2024, 1, 15).addMonths(6 * i);
        e.confianca = i == duvidoso ? 60.0 : 95.0;
        e.valor[int(SerieProgressao::Kmax)] = kmax[i];
        e.valor[int(SerieProgressao::K1)] = kmax[i] - 1.0;
        serie.prepend(e); // handed over newest first: sorted by date
        if (i != duvidoso)
            semDuvidoso.prepend(e);
    }
    const AnaliseProgressao a = AnalisaProgressao(serie, minimo);
    QCOMPARE(a.progressao, progride);
    QCOMPARE(a.exames.first().data, QDate(2024, 1, 15));
    QVERIFY(a.Linhas().join(u'\n').contains(progride ? QStringLiteral("Progressão: Kmax subiu") : QStringLiteral("Sem progressão")));
    const TendenciaSerie& t = a.tendencia[int(SerieProgressao::Kmax)];
    QVERIFY(t.valida && !a.tendencia[int(SerieProgressao::IS)].valida);
    QCOMPARE(t.variacao, kmax.last() - kmax.first());
    // The doubtful examination is kept (drawn hollow) but the trend is that of the others.
    for (int i = 0; i < a.exames.size(); ++i)
        QCOMPARE(a.usado[i], i != duvidoso);
    const TendenciaSerie& sem = AnalisaProgressao(semDuvidoso, minimo).tendencia[int(SerieProgressao::Kmax)];
    QCOMPARE(t.porAno, sem.porAno);
    if (duvidoso < 0) // four points over 1.5 years: the slope is near (47.8 - 46.0) / 1.5
        QVERIFY(std::abs(t.porAno - (kmax.last() - kmax.first()) / 1.5) < 0.25);
}

QTEST_GUILESS_MAIN(TesteIndices)
#include "tst_indices.moc"
