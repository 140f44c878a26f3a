// What the measurement screen paints: the reticle, the palette, a measurement's record and
// the lens profile for each eye and mode, checked pixel by pixel on blank images.

#include "topography/UDesenhoMedidas.h"
#include "topography/UErroCalculo.h"

#include <QTest>

namespace {
QImage Preta()
{
    QImage i(kLarguraImagem, kAlturaImagem, QImage::Format_RGB32);
    i.fill(Qt::black);
    return i;
}
} // namespace

class TesteDesenho : public QObject {
    Q_OBJECT
private slots:
    void reticulo_data();
    void reticulo();
    void paleta();
    void novaMedida_data();
    void novaMedida();
    void lente_data();
    void lente();
    void lenteComFatorInvalido_data();
    void lenteComFatorInvalido();
};

void TesteDesenho::reticulo_data()
{
    QTest::addColumn<QPoint>("ponto");
    QTest::addColumn<bool>("verde");
    QTest::newRow("cruz, esquerda") << QPoint(315, 240) << true;
    QTest::newRow("cruz, direita") << QPoint(325, 240) << true;
    QTest::newRow("cruz, alto") << QPoint(320, 235) << true;
    QTest::newRow("cruz, baixo") << QPoint(320, 245) << true;
    QTest::newRow("além da cruz") << QPoint(327, 240) << false;
    QTest::newRow("lado esquerdo do círculo") << QPoint(76, 240) << true;
    QTest::newRow("lado direito do círculo") << QPoint(564, 240) << true;
    QTest::newRow("borda de cima") << QPoint(320, 4) << true;
    QTest::newRow("borda de baixo") << QPoint(320, 476) << true;
    QTest::newRow("45 graus, alto à direita") << QPoint(493, 67) << true;
    QTest::newRow("45 graus, baixo à esquerda") << QPoint(147, 413) << true;
    QTest::newRow("45 graus, alto à esquerda") << QPoint(147, 67) << true;
    QTest::newRow("45 graus, baixo à direita") << QPoint(493, 413) << true;
    QTest::newRow("dentro do círculo") << QPoint(300, 300) << false;
    QTest::newRow("canto") << QPoint(5, 5) << false;
}

void TesteDesenho::reticulo()
{
    QFETCH(QPoint, ponto);
    QFETCH(bool, verde);
    QImage i = Preta();
    plotatransf(i, 1);
    QCOMPARE(i.pixel(ponto) == qRgb(0, 255, 0), verde);
}

void TesteDesenho::paleta()
{
    const QImage p = PreenchePaleta();
    QCOMPARE(p.size(), QSize(30, 450));
    const QRgb esperadas[15] = {qRgb(255, 0, 0),     qRgb(255, 255, 0),   qRgb(0, 255, 255),   qRgb(255, 153, 0),
                                qRgb(153, 255, 0),   qRgb(255, 102, 102), qRgb(255, 255, 255), qRgb(102, 204, 195),
                                qRgb(192, 0, 15),    qRgb(255, 204, 153), qRgb(204, 255, 153), qRgb(0, 102, 255),
                                qRgb(255, 102, 102), qRgb(255, 255, 150), qRgb(255, 153, 153)};
    for (int faixa = 0; faixa < 15; ++faixa)
        for (const QPoint q : {QPoint(0, faixa * 30), QPoint(29, faixa * 30 + 29), QPoint(15, faixa * 30 + 15)})
            QCOMPARE(p.pixel(q), esperadas[faixa]);
}

void TesteDesenho::novaMedida_data()
{
    QTest::addColumn<QPoint>("a");
    QTest::addColumn<QPoint>("b");
    QTest::addColumn<double>("fx");
    QTest::addColumn<double>("fy");
    QTest::addColumn<double>("comprimento");
    QTest::addColumn<QPoint>("texto");
    QTest::newRow("horizontal") << QPoint(100, 200) << QPoint(400, 200) << 0.02 << 0.02 << 6.0 << QPoint(230, 180);
    // dx 30, dy 40 px; 0.9 and 1.6 mm -> sqrt(0.81 + 2.56); text at 10 + 15 - 20, 50 + 20 - 20.
    QTest::newRow("fatores diferentes") << QPoint(40, 90) << QPoint(10, 50) << 0.03 << 0.04 << std::sqrt(3.37)
                                        << QPoint(5, 50);
    // dx 5 -> round(2.5) = 2 (halves to even); dy 7 -> round(3.5) = 4.
    QTest::newRow("metades") << QPoint(50, 50) << QPoint(55, 57) << 1.0 << 1.0 << std::sqrt(74.0) << QPoint(32, 34);
    QTest::newRow("fator zero") << QPoint(0, 0) << QPoint(300, 0) << 0.0 << 0.02 << 0.0 << QPoint(130, -20);
    QTest::newRow("fator negativo") << QPoint(0, 0) << QPoint(0, 100) << 0.02 << -0.02 << 0.0 << QPoint(-20, 30);
}

void TesteDesenho::novaMedida()
{
    QFETCH(QPoint, a);
    QFETCH(QPoint, b);
    QFETCH(double, fx);
    QFETCH(double, fy);
    QFETCH(double, comprimento);
    QFETCH(QPoint, texto);
    const TMedida m = NovaMedida(a, b, fx, fy, 3);
    QVERIFY2(std::abs(m.Comprimento - comprimento) < 1e-12, qPrintable(QString::number(m.Comprimento)));
    QCOMPARE(m.Rotulo, QStringLiteral("M3"));
    QCOMPARE(QPoint(m.TextoX, m.TextoY), texto);
}

// P1 (400, 240), factors 0.02: vault 200 um -> 10 px, radius 3 mm -> 150 px, sag 4000 um ->
// 200 px, diameter 16 -> 800 px, topo 1.8 -> 90, limbo 0.7 -> 35, apex-limbus 3 -> 150.
// Right eye: apex A = 390, centre C = 540, edge at 590; left eye mirrored about P1.
void TesteDesenho::lente_data()
{
    QTest::addColumn<bool>("direito");
    QTest::addColumn<int>("modo");
    QTest::addColumn<QPoint>("ponto");
    QTest::addColumn<QRgb>("cor");
    const QRgb amarelo = qRgb(255, 255, 0), verde = qRgb(0, 128, 0), azul = qRgb(0, 0, 255), vermelho = qRgb(255, 0, 0),
               preto = qRgb(0, 0, 0);
    for (const bool d : {true, false}) {
        const int s = d ? 1 : -1; // inward
        const char* o = d ? "OD" : "OS";
        auto x = [&](int deslocamento) { return 400 + s * deslocamento; };
        for (const int modo : {1, 2}) {
            const QByteArray n = QByteArray(o) + " modo " + QByteArray::number(modo) + ": ";
            QTest::newRow(n + "vault") << d << modo << QPoint(x(-5), 240) << verde;
            QTest::newRow(n + "marca do vault") << d << modo << QPoint(400, 232) << verde;
            QTest::newRow(n + "marca do centro") << d << modo << QPoint(x(140), 243) << amarelo;
            QTest::newRow(n + "elipse no alto") << d << modo << QPoint(x(140), 90) << amarelo;
            QTest::newRow(n + "borda da lente") << d << modo << QPoint(x(190), 300) << amarelo;
            QTest::newRow(n + "sem preenchimento") << d << modo << QPoint(x(170), 150) << preto;
        }
        const QByteArray n1 = QByteArray(o) + " modo 1: ";
        QTest::newRow(n1 + "topografia") << d << 1 << QPoint(x(45), 240) << azul;
        QTest::newRow(n1 + "marca da topografia") << d << 1 << QPoint(x(90), 222) << azul;
        QTest::newRow(n1 + "limbo") << d << 1 << QPoint(x(110), 240) << vermelho;
        QTest::newRow(n1 + "marca do limbo") << d << 1 << QPoint(x(125), 213) << vermelho;
        QTest::newRow(n1 + "sem marca do ápice-limbo") << d << 1 << QPoint(x(150), 213) << preto;
        const QByteArray n2 = QByteArray(o) + " modo 2: ";
        QTest::newRow(n2 + "ápice-limbo") << d << 2 << QPoint(x(100), 240) << vermelho;
        QTest::newRow(n2 + "marca do ápice-limbo") << d << 2 << QPoint(x(150), 213) << vermelho;
        QTest::newRow(n2 + "sem marca da topografia") << d << 2 << QPoint(x(90), 222) << preto;
    }
}

void TesteDesenho::lente()
{
    QFETCH(bool, direito);
    QFETCH(int, modo);
    QFETCH(QPoint, ponto);
    QFETCH(QRgb, cor);
    TDadosDesenhoLente d;
    d.P1 = QPoint(400, 240);
    d.OlhoDireito = direito;
    d.Modo = modo;
    d.Vault = 200;
    d.RaioLente = 3;
    d.SagLente = 4000;
    d.DiametroLente = 16;
    d.SagTopo = 1.8;
    d.SagLimbo = 0.7;
    d.ApiceLimbo = 3;
    d.FatorX = d.FatorY = 0.02;
    QImage i = Preta();
    PlotaLente(i, d, TEstiloMedidas());
    QCOMPARE(QColor(i.pixel(ponto)).name(), QColor(cor).name());
}

void TesteDesenho::lenteComFatorInvalido_data()
{
    QTest::addColumn<double>("fx");
    QTest::addColumn<double>("fy");
    QTest::newRow("x zero") << 0.0 << 0.02;
    QTest::newRow("y negativo") << 0.02 << -0.01;
    QTest::newRow("x infinito") << qInf() << 0.02;
}

void TesteDesenho::lenteComFatorInvalido()
{
    QFETCH(double, fx);
    QFETCH(double, fy);
    TDadosDesenhoLente d;
    d.P1 = QPoint(300, 240);
    d.RaioLente = 8;
    d.SagLente = 4000;
    d.DiametroLente = 16;
    d.FatorX = fx;
    d.FatorY = fy;
    QImage i = Preta();
    const QImage antes = i;
    QVERIFY_THROWS_EXCEPTION(ErroCalculo, PlotaLente(i, d, TEstiloMedidas()));
    QCOMPARE(i, antes);
}

QTEST_MAIN(TesteDesenho)
#include "tst_desenho.moc"
