// Corneal heights from ring positions and axial powers, against the closed forms of the
// sphere and the conic and against a toric model surface of the simulated instrument.

#include "plugins/instrumento/UModeloCornea.h"
#include "tests/examfiles/MatrizTeste.h"
#include "topography/UElevacao.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {

constexpr double kFator = 0.02; // mm per pixel

// A meridian row as the processing module gives it: ring j at rInicial + (j - 1) * passo mm
// (in pixels), the axial power of a conic there; column 0 repeats ring 1.
void Conica(double r0, double q, int aneis, double rInicial, double passo,
            double (&m)[ZR_COLUNAS_ANEL], double (&d)[ZR_COLUNAS_ANEL])
{
    for (int j = 1; j <= aneis; ++j) {
        const double r = rInicial + (j - 1) * passo;
        m[j] = r / kFator;
        d[j] = 337.5 / std::sqrt(r0 * r0 - q * r * r);
    }
    m[0] = 0.0;
    d[0] = d[1];
}

} // namespace

class TesteElevacao : public QObject {
    Q_OBJECT
private slots:
    void conica_data();
    void conica();
    void toricaPorMeridiano();
    void meridianoInterrompido_data();
    void meridianoInterrompido();
};

void TesteElevacao::conica_data()
{
    QTest::addColumn<double>("r0");
    QTest::addColumn<double>("q");
    QTest::addColumn<double>("ultimo");   // distance of the last ring, mm
    QTest::addColumn<double>("esperada"); // height at r = 4 mm, um; < 0: closed form
    QTest::addColumn<double>("tolerancia");
    // 7.8 - sqrt(7.8^2 - 4^2) = 1.10373 mm
    QTest::newRow("esfera 7.8") << 7.8 << 0.0 << 4.3 << 1103.73 << 1.0;
    QTest::newRow("cônica 7.8 Q -0.3") << 7.8 << -0.3 << 4.3 << -1.0 << 2.0;
    QTest::newRow("cônica oblata 7.6 Q +0.4") << 7.6 << 0.4 << 4.3 << -1.0 << 2.0;
    // Rings up to 3.4 mm: the fitted conic carries the height on to 4 mm.
    QTest::newRow("cônica 7.8 Q -0.3 extrapolada") << 7.8 << -0.3 << 3.4 << -1.0 << 2.0;
}

void TesteElevacao::conica()
{
    QFETCH(double, r0);
    QFETCH(double, q);
    QFETCH(double, ultimo);
    QFETCH(double, esperada);
    QFETCH(double, tolerancia);
    if (esperada < 0)
        esperada = 1000.0 * 16.0 / (r0 * (1.0 + std::sqrt(1.0 - (1.0 + q) * 16.0 / (r0 * r0))));
    double m[ZR_COLUNAS_ANEL] = {}, d[ZR_COLUNAS_ANEL] = {};
    const int aneis = 16;
    const double passo = (ultimo - 0.3) / (aneis - 1);
    Conica(r0, q, aneis, 0.3, passo, m, d);
    const TElevacaoMeridiano e = ElevacaoMeridiano(m, d, aneis, kFator);
    QCOMPARE(e.pontos, aneis + 1);
    double h = 0;
    QVERIFY(e.AlturaEm(4.0, h));
    QVERIFY2(std::abs(h * 1000.0 - esperada) < tolerancia, qPrintable(QStringLiteral("%1 %2").arg(h * 1000.0).arg(esperada)));
    // At the rings themselves too, and the fit gives the conic back.
    for (int j = 1; j <= aneis; ++j) {
        const double r = 0.3 + (j - 1) * passo;
        const double exata = r * r / (r0 * (1.0 + std::sqrt(1.0 - (1.0 + q) * r * r / (r0 * r0))));
        QVERIFY(std::abs(e.altura[j] - exata) < tolerancia / 1000.0);
    }
    QVERIFY(e.conica);
    QVERIFY(std::abs(e.raioApical - r0) < 1e-6);
    QVERIFY(std::abs(e.q - q) < 1e-6);
    // Beyond the conic's reach nothing is made up.
    QVERIFY(!e.AlturaEm(r0 * 2.0, h));
}

void TesteElevacao::toricaPorMeridiano()
{
    // Toric 7.8 / 7.5, steep axis at 90 degrees, measured as the instrument does: meridian k
    // leaves the centre at k degrees from +x towards the image's +y (downwards).
    const Instrumento::ModeloCornea toro = Instrumento::ModeloCornea::Torica(7.8, 7.5, 90.0);
    MatrizTeste m, d;
    TAneisMeridiano aneis;
    for (int k = 0; k < ZR_MERIDIANOS; ++k) {
        aneis[k] = 16;
        const double a = (k + 1) * M_PI / 180.0;
        for (int j = 1; j <= 16; ++j) {
            const double r = 0.25 * j + 0.05;
            (*m)[k][j] = r / kFator;
            (*d)[k][j] = toro.PotenciaAxial(r * std::cos(a), -r * std::sin(a));
        }
        (*d)[k][0] = (*d)[k][1];
    }
    const std::vector<TElevacaoMeridiano> e = CalculaElevacao(*m, *d, aneis, kFator);
    struct Principal {
        int meridiano;
        double raio;
    } principais[] = {{90, 7.5}, {270, 7.5}, {180, 7.8}, {360, 7.8}};
    for (const Principal& p : principais) {
        const TElevacaoMeridiano& t = e[size_t(p.meridiano - 1)];
        double h, sagModelo;
        QVERIFY(t.AlturaEm(4.0, h));
        const double a = p.meridiano * M_PI / 180.0;
        QVERIFY(toro.Sag(4.0 * std::cos(a), -4.0 * std::sin(a), sagModelo));
        QVERIFY2(std::abs(h - sagModelo) < 0.001, qPrintable(QStringLiteral("%1: %2 %3").arg(p.meridiano).arg(h).arg(sagModelo)));
        QVERIFY2(std::abs(t.raioApical - p.raio) < 0.01, qPrintable(QString::number(t.raioApical)));
        QVERIFY(std::abs(t.q) < 0.02);
    }
    // The ortho-k values: the flat meridian's sag, the steep one's excess, the flat radius.
    const TValoresOrtoExame v = CalculaValoresOrto(*m, *d, aneis, kFator);
    const double sagPlano = 7.8 - std::sqrt(7.8 * 7.8 - 16.0), sagCurvo = 7.5 - std::sqrt(7.5 * 7.5 - 16.0);
    QVERIFY2(std::abs(v.Sag - sagPlano * 1000.0) < 1.0, qPrintable(QString::number(v.Sag)));
    QVERIFY2(std::abs(v.Div - (sagCurvo - sagPlano) * 1000.0) < 1.0, qPrintable(QString::number(v.Div)));
    QVERIFY2(std::abs(v.Raio - 7.8) < 0.01, qPrintable(QString::number(v.Raio)));
    QVERIFY(std::abs(v.Excentricidade) < 0.15);
}

void TesteElevacao::meridianoInterrompido_data()
{
    QTest::addColumn<int>("coluna");    // the column spoiled
    QTest::addColumn<double>("posicao"); // its position, pixels (< 0: unchanged)
    QTest::addColumn<double>("dioptria"); // its dioptres (< -100: unchanged)
    QTest::addColumn<int>("pontos");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("intacto") << 1 << -1.0 << -1000.0 << 17;
    QTest::newRow("posição que recua") << 6 << 10.0 << -1000.0 << 6;
    QTest::newRow("posição repetida") << 9 << 0.3 / kFator + 7 * 0.25 / kFator << -1000.0 << 9;
    QTest::newRow("dioptria NaN") << 4 << -1.0 << nan << 4;
    QTest::newRow("dioptria zero") << 12 << -1.0 << 0.0 << 12;
    QTest::newRow("raio axial menor que a distância") << 10 << -1.0 << 337.5 / 2.0 << 10;
    QTest::newRow("centro sem dioptria") << 0 << -1.0 << 0.0 << 0;
}

void TesteElevacao::meridianoInterrompido()
{
    QFETCH(int, coluna);
    QFETCH(double, posicao);
    QFETCH(double, dioptria);
    QFETCH(int, pontos);
    double m[ZR_COLUNAS_ANEL] = {}, d[ZR_COLUNAS_ANEL] = {};
    Conica(7.8, 0.0, 16, 0.3, 0.25, m, d);
    if (posicao >= 0)
        m[coluna] = posicao;
    if (!(dioptria < -100))
        d[coluna] = dioptria;
    const TElevacaoMeridiano e = ElevacaoMeridiano(m, d, 16, kFator);
    QCOMPARE(e.pontos, pontos);
    for (int j = 0; j < e.pontos; ++j)
        QVERIFY(std::isfinite(e.altura[j]) && e.altura[j] >= 0.0);
    // A count beyond the matrix is cut at its width, and a bad factor is refused.
    QCOMPARE(ElevacaoMeridiano(m, d, 99, kFator).pontos, pontos);
    MatrizTeste mm, dd;
    TAneisMeridiano aneis{};
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, CalculaElevacao(*mm, *dd, aneis, 0.0));
}

QTEST_GUILESS_MAIN(TesteElevacao)
#include "tst_elevacao.moc"
