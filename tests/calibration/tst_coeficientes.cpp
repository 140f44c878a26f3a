// The calibration coefficients: the least-squares line of each ring through the four
// reference spheres, "Coef.txt" as stored, and every failure leaving the old file intact.

#include "calibration/UCoeficientesCalib.h"
#include "common/UTextoCp1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Sphere file k: its reference value, then one measured value per ring.
void GravaEsfera(const QString& pasta, int k, const QStringList& linhas)
{
    GravaArquivoTexto(pasta + QStringLiteral("/%1.txt").arg(k), linhas);
}

QByteArray Conteudo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

// Four spheres, three rings:
//  ring 1: measured 1, 2, 3, 4 for references 10, 20, 30, 40 -> a = 0, b = 10;
//  ring 2: measured 2, 4, 6, 8 -> a = 0, b = 5;
//  ring 3: measured 100, 110, 118, 135 for the same references; the expected line was
//          worked out in exact fractions from the centred sums (see ajuste_data).
void EsferasConhecidas(const QString& pasta)
{
    GravaEsfera(pasta, 1, {"10", "1", "2", "100"});
    GravaEsfera(pasta, 2, {"20", "2", "4", "110"});
    GravaEsfera(pasta, 3, {"30", "3", "6", "118"});
    GravaEsfera(pasta, 4, {"40", "4", "8", "135"});
}

} // namespace

class TesteCoeficientes : public QObject {
    Q_OBJECT
private slots:
    void ajuste_data();
    void ajuste();
    void arquivoCoef();
    void esferasReais();
    void falhas_data();
    void falhas();
};

void TesteCoeficientes::ajuste_data()
{
    QTest::addColumn<QList<double>>("x");
    QTest::addColumn<QList<double>>("y");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::newRow("a 0, b 10") << QList<double>{10, 20, 30, 40} << QList<double>{1, 2, 3, 4} << 0.0 << 10.0;
    QTest::newRow("reta exata") << QList<double>{7.73, 8.05, 8.34, 8.91}
                                << QList<double>{336.5, 352.5, 367, 395.5} << 1.0 << 0.02;
    // Centred sums on the same points: b = S(dy dx) / S(dy^2), a = mean x - b mean y.
    QTest::newRow("quatro pontos fora da reta") << QList<double>{7.73, 8.05, 8.34, 8.91}
                                                << QList<double>{100, 110, 118, 135}
                                                << 4.336452226874762 << 0.033875142748382187;
    QTest::newRow("inclinação negativa") << QList<double>{1, 2, 3, 4} << QList<double>{8, 6, 4, 2}
                                         << 5.0 << -0.5;
}

void TesteCoeficientes::ajuste()
{
    QFETCH(QList<double>, x);
    QFETCH(QList<double>, y);
    QFETCH(double, a);
    QFETCH(double, b);
    const double xs[4] = {x[0], x[1], x[2], x[3]};
    const double ys[4] = {y[0], y[1], y[2], y[3]};
    const TCoeficienteAnel c = AjustaAnel(xs, ys);
    QVERIFY2(qAbs(c.a - a) < 1e-9, qPrintable(QString::number(c.a, 'g', 17)));
    QVERIFY2(qAbs(c.b - b) < 1e-12, qPrintable(QString::number(c.b, 'g', 17)));
}

void TesteCoeficientes::arquivoCoef()
{
    QTemporaryDir pasta;
    EsferasConhecidas(pasta.path());
    QString motivo;
    QVERIFY2(GravaCoeficientes(pasta.path() + u'/', 16, &motivo), qPrintable(motivo));

    const QByteArray bytes = Conteudo(pasta.path() + QStringLiteral("/Coef.txt"));
    const QList<QByteArray> linhas = bytes.split('\n');
    QCOMPARE(linhas.size(), 33); // 32 lines, each ended by CR LF
    QVERIFY(linhas.last().isEmpty());
    QVERIFY(bytes.startsWith("0\r\n10\r\n0\r\n5\r\n"));
    QVERIFY(bytes.endsWith(QByteArray("0\r\n").repeated(26)));
    for (int k = 0; k < 32; ++k)
        QVERIFY(linhas[k].endsWith('\r'));
    // Ring 3, from the centred sums in exact fractions: a = -74.5793681004949,
    // b = 0.860296916634945.
    QVERIFY(qAbs(linhas[4].chopped(1).toDouble() - -74.57936810049486) < 1e-11);
    QVERIFY(qAbs(linhas[5].chopped(1).toDouble() - 0.8602969166349448) < 1e-13);
    // Shortest general form: no trailing zeros, at most 15 significant digits.
    QVERIFY(linhas[4].size() <= 18);
}

// The four spheres of the calibrator with a ring measured in pixels: the file keeps the
// reference in the current decimal form and readings with either separator.
void TesteCoeficientes::esferasReais()
{
    QTemporaryDir pasta;
    GravaEsfera(pasta.path(), 1, {"7.73", "336,5", "100"});
    GravaEsfera(pasta.path(), 2, {"8,05", "352.5", "110"});
    GravaEsfera(pasta.path(), 3, {"8.34", "367", "118"});
    GravaEsfera(pasta.path(), 4, {"8.91", "395.5", "135", "140"}); // extra ring: read with file 1
    const QList<TCoeficienteAnel> c = CalculaCoeficientes(pasta.path(), 2);
    QCOMPARE(c.size(), 2);
    QVERIFY(qAbs(c[0].a - 1.0) < 1e-9);
    QVERIFY(qAbs(c[0].b - 0.02) < 1e-12);
    QVERIFY(qAbs(c[1].a - 4.336452226874762) < 1e-9);
    QVERIFY(GravaCoeficientes(pasta.path(), 2));
    QCOMPARE(DivideLinhas(DeCp1252(Conteudo(pasta.path() + QStringLiteral("/Coef.txt")))).size(), 4);
}

void TesteCoeficientes::falhas_data()
{
    QTest::addColumn<int>("esfera");          // file to replace (0: none)
    QTest::addColumn<QStringList>("linhas");  // its lines (empty list: remove it)
    QTest::addColumn<int>("aneis");
    QTest::addColumn<QString>("trecho");     // part of the reason given
    QTest::newRow("medidas iguais") << 0 << QStringList() << 16 << QStringLiteral("Anel 2: Os valores medidos");
    QTest::newRow("medidas iguais decimais") << 0 << QStringList() << 16 << QStringLiteral("Anel 1: Os valores medidos");
    QTest::newRow("esfera 3 ausente") << 3 << QStringList() << 16 << QStringLiteral("3.txt não encontrado");
    QTest::newRow("valor que não é número") << 4 << QStringList{"40", "4", "8,x", "135"} << 16 << QStringLiteral("4.txt, linha 3: '8,x'");
    QTest::newRow("referência que não é número") << 1 << QStringList{"dez", "1", "2", "100"} << 16 << QStringLiteral("1.txt, linha 1: 'dez'");
    QTest::newRow("esfera 2 com menos anéis") << 2 << QStringList{"20", "2", "4"} << 16 << QStringLiteral("2.txt tem menos anéis");
    QTest::newRow("mais anéis que a configuração") << 0 << QStringList() << 2 << QStringLiteral("têm 3 anéis; a configuração usa 2");
    QTest::newRow("esfera 1 sem anéis") << 1 << QStringList{"10"} << 16 << QStringLiteral("1.txt não tem anéis");
    QTest::newRow("esfera 1 vazia") << 1 << QStringList{""} << 16 << QStringLiteral("1.txt está vazio");
    QTest::newRow("linha vazia no meio") << 1 << QStringList{"10", "1", "", "100"} << 16 << QStringLiteral("1.txt, linha 3");
    QTest::newRow("número de anéis inválido") << 0 << QStringList() << 33 << QStringLiteral("Número de anéis inválido: 33");
}

void TesteCoeficientes::falhas()
{
    QFETCH(int, esfera);
    QFETCH(QStringList, linhas);
    QFETCH(int, aneis);
    QFETCH(QString, trecho);
    QTemporaryDir pasta;
    EsferasConhecidas(pasta.path());
    const QByteArray caso = QTest::currentDataTag();
    if (caso == "medidas iguais") {
        for (int k = 1; k <= 4; ++k) // ring 2 reads 5 on every sphere: G = 0
            GravaEsfera(pasta.path(), k, {QString::number(10 * k), QString::number(k), "5"});
    } else if (caso == "medidas iguais decimais") {
        for (int k = 1; k <= 4; ++k) // 0.1 four times: G is zero only up to rounding
            GravaEsfera(pasta.path(), k, {QString::number(10 * k), "0.1"});
    } else if (esfera > 0 && linhas.isEmpty()) {
        QVERIFY(QFile::remove(pasta.path() + QStringLiteral("/%1.txt").arg(esfera)));
    } else if (esfera > 0) {
        GravaEsfera(pasta.path(), esfera, linhas);
    }
    const QByteArray anterior = "1.5\r\n0.02\r\n";
    GravaArquivoBytes(pasta.path() + QStringLiteral("/Coef.txt"), anterior);

    QString motivo;
    QVERIFY(!GravaCoeficientes(pasta.path(), aneis, &motivo));
    QVERIFY2(motivo.contains(trecho), qPrintable(motivo));
    QCOMPARE(Conteudo(pasta.path() + QStringLiteral("/Coef.txt")), anterior);
}

QTEST_GUILESS_MAIN(TesteCoeficientes)
#include "tst_coeficientes.moc"
