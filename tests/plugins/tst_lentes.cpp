// The contact-lens fit: the tear film under a rigid lens settled on known corneas, checked
// against the sags of the lens and the cornea worked out by hand; the first lens; the fields
// that refuse values out of range; and the real module "AdaptacaoLC.so" in batch mode on bad
// examinations.

#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "plugins/lentes/UfrmLente.h"
#include "tests/support/UExameSintetico.h"
#include "topography/UCalculosLente.h"

#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zrmod;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::unique_ptr<TExameConferido> Confere(const ExameSintetico& ex)
{
    return ConfereExame(&ex.m, &ex.d, &ex.aneis, ExameSintetico::kFator);
}

// Angle between two clinical axes, 0..90.
double DiferencaEixo(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 180.0);
    return std::min(d, 180.0 - d);
}

} // namespace

class TesteLentes : public QObject {
    Q_OBJECT
private slots:
    void filme_data();
    void filme();
    void sugerida_data();
    void sugerida();
    void campos_data();
    void campos();
    void janela();
    void modulo_data();
    void modulo();
};

void TesteLentes::filme_data()
{
    QTest::addColumn<double>("bc");
    QTest::addColumn<QString>("ajuste");
    QTest::newRow("BC 7.80 on K: even film") << 7.80 << "alinhada";
    QTest::newRow("BC 7.70 steep: apical pooling") << 7.70 << "apertada";
    QTest::newRow("BC 7.90 flat: apical touch") << 7.90 << "plana";
}

// On a 7.80 mm sphere the film across the optic zone is the difference of two circles' sags,
// less its smallest value (the lens rests where it first meets the cornea).
void TesteLentes::filme()
{
    QFETCH(double, bc);
    QFETCH(QString, ajuste);
    const ExameSintetico ex = ExameSintetico::Esfera(337.5 / 7.80);
    auto exame = Confere(ex);
    const AdaptacaoLente a(*exame);
    ParametrosLente p = a.LenteSugerida();
    QCOMPARE(p.raioBase, 7.80);
    p.raioBase = bc;
    p.zonaOptica = 8.0;
    const ResultadoLente r = a.Calcula(p);
    QVERIFY(r.valido);
    const auto esperado = [&](double x) { return (SagRaioCorda(2 * x, 7.80) - SagRaioCorda(2 * x, bc)) * 1000.0; };
    double menor = 1e9;
    for (double x = 0; x <= 4.0 + 1e-9; x += 0.05)
        menor = std::min(menor, x > 0 ? esperado(x) : 0.0);
    for (int m : {0, 45, 133, 270})
        for (double x = 0; x <= 4.0 + 1e-9; x += 0.25) {
            const double t = r.LagrimaEm(m, x), e = (x > 0 ? esperado(x) : 0.0) - menor;
            QVERIFY2(std::abs(t - e) <= 2.0, qPrintable(QStringLiteral("m %1 r %2: %3 µm, esperado %4").arg(m).arg(x).arg(t).arg(e)));
        }
    // The apical clearance of the steep lens is SagRaioCorda(8, 7.70) - SagRaioCorda(8, 7.80).
    const double apical = std::max(0.0, (SagRaioCorda(8, bc) - SagRaioCorda(8, 7.80)) * 1000.0);
    QVERIFY2(std::abs(r.folgaApical - apical) <= 2.0, qPrintable(QString::number(r.folgaApical)));
    QCOMPARE(r.ajuste, ajuste);
    // Flatter peripheral curves lift the edge.
    QVERIFY(r.folgaBorda > 30.0);
    QVERIFY(IntensidadeFluoresceina(r.folgaBorda) > 0.99 && IntensidadeFluoresceina(5.0) < 0.05);
}

void TesteLentes::sugerida_data()
{
    QTest::addColumn<double>("raioPlano");
    QTest::addColumn<double>("raioCurvo");
    QTest::addColumn<double>("eixoCurvo");
    QTest::addColumn<double>("bc");
    QTest::newRow("sphere 7.50") << 7.50 << 7.50 << 0.0 << 7.50;
    QTest::newRow("sphere 8.13 to the next 0.05") << 8.13 << 8.13 << 0.0 << 8.15;
    QTest::newRow("toric 7.8/7.5 at 90") << 7.80 << 7.50 << 90.0 << 7.80;
    QTest::newRow("toric 7.9/7.5 at 30") << 7.90 << 7.50 << 30.0 << 7.90;
}

// The first lens sits on flat K; on a toric the touch band follows the flat meridian.
void TesteLentes::sugerida()
{
    QFETCH(double, raioPlano);
    QFETCH(double, raioCurvo);
    QFETCH(double, eixoCurvo);
    QFETCH(double, bc);
    const ExameSintetico ex = ExameSintetico::Torica(337.5 / raioPlano, 337.5 / raioCurvo, eixoCurvo);
    auto exame = Confere(ex);
    const AdaptacaoLente a(*exame);
    const ParametrosLente p = a.LenteSugerida();
    QVERIFY2(std::abs(p.raioBase - bc) < 1e-9, qPrintable(QString::number(p.raioBase)));
    if (raioPlano != raioCurvo) {
        QVERIFY(DiferencaEixo(a.EixoPlano(), eixoCurvo + 90) <= 5.0);
        const ResultadoLente r = a.Calcula(p);
        QVERIFY2(DiferencaEixo(r.eixoToque, eixoCurvo + 90) <= 5.0, qPrintable(QString::number(r.eixoToque)));
        // The film along the steep meridian clears the cornea, the flat one touches.
        QVERIFY(r.LagrimaEm(a.MeridianoCurvo(), 3.0) > r.LagrimaEm(a.MeridianoPlano(), 3.0) + 10.0);
    }
}

void TesteLentes::campos_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("erro"); // empty: accepted
    QTest::newRow("diameter 11.5") << int(CampoLente::Diametro) << 11.5 << "";
    QTest::newRow("diameter 12") << int(CampoLente::Diametro) << 12.0 << "Diâmetro: de 8.00 a 11.50 mm.";
    QTest::newRow("diameter 7.9") << int(CampoLente::Diametro) << 7.9 << "Diâmetro: de 8.00 a 11.50 mm.";
    QTest::newRow("radius 6.45") << int(CampoLente::RaioBase) << 6.45 << "Raio da zona óptica: de 6.50 a 9.00 mm.";
    QTest::newRow("radius 7.82") << int(CampoLente::RaioBase) << 7.82 << "em passos de 0.05 mm";
    QTest::newRow("radius NaN") << int(CampoLente::RaioBase) << kNaN << "de 6.50 a 9.00 mm";
    QTest::newRow("optic zone past the periphery") << int(CampoLente::ZonaOptica) << 9.2 << "deve deixar";
    QTest::newRow("secondary steeper than the base") << int(CampoLente::RaioSecundario) << 7.5 << "devem crescer";
}

void TesteLentes::campos()
{
    QFETCH(int, campo);
    QFETCH(double, valor);
    QFETCH(QString, erro);
    ParametrosLente p;
    const ParametrosLente antes = p;
    QString msg;
    const bool aceito = DefineCampo(p, CampoLente(campo), valor, msg);
    QCOMPARE(aceito, erro.isEmpty());
    if (aceito) {
        QCOMPARE(ValorCampo(p, CampoLente(campo)), valor);
    } else {
        QVERIFY2(msg.contains(erro), qPrintable(msg));
        for (int c = 0; c < 6; ++c)
            QCOMPARE(ValorCampo(p, CampoLente(c)), ValorCampo(antes, CampoLente(c)));
    }
}

// The window: a value typed out of range is refused at its field, a good one redraws.
void TesteLentes::janela()
{
    const ExameSintetico ex = ExameSintetico::Esfera(337.5 / 7.80);
    TfrmLente frm(Confere(ex), QImage(), ex.centroX, ex.centroY, {QStringLiteral("Paciente Teste")}, {});
    frm.show();
    auto* diametro = frm.findChild<QLineEdit*>(QStringLiteral("edtDiametro"));
    auto* raio = frm.findChild<QLineEdit*>(QStringLiteral("edtRaioBase"));
    auto* aviso = frm.findChild<QLabel*>(QStringLiteral("lblAviso"));
    QVERIFY(diametro && raio && aviso);
    const QImage antes = frm.ImagemConteudo();
    diametro->setText(QStringLiteral("12"));
    emit diametro->editingFinished();
    QCOMPARE(aviso->text(), QStringLiteral("Diâmetro: de 8.00 a 11.50 mm."));
    QCOMPARE(diametro->text(), QStringLiteral("9.60"));
    QCOMPARE(frm.Lente().diametro, 9.6);
    raio->setText(QStringLiteral("7,70"));
    emit raio->editingFinished();
    QVERIFY(aviso->text().isEmpty());
    QCOMPARE(frm.Resultado().ajuste, QStringLiteral("apertada"));
    QVERIFY(frm.ImagemConteudo() != antes);
    QVERIFY(frm.Resumo().contains(QStringLiteral("Adaptação: apertada")));
}

void TesteLentes::modulo_data()
{
    QTest::addColumn<QString>("defeito");
    QTest::addColumn<QString>("nota");
    QTest::newRow("good") << "" << "";
    QTest::newRow("no image, no header") << "nulos" << "Sem imagem central";
    QTest::newRow("NaN grid") << "nan" << "Valores inválidos";
    QTest::newRow("150 D") << "dioptrias" << "fora de 20 a 100 D";
    QTest::newRow("ring count 40") << "aneis" << "Contagem de anéis fora de 0 a 32";
    QTest::newRow("factor 0") << "fator" << "Fator de correção inválido";
    QTest::newRow("cone x") << "cone" << "Tipo de cone inválido";
    QTest::newRow("no grids at all") << "semgrades" << "não trouxe os dados";
}

// The real module in batch mode: it shows what it can and writes its picture and text.
void TesteLentes::modulo()
{
    QFETCH(QString, defeito);
    QFETCH(QString, nota);
    QTemporaryDir pasta;
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    qputenv("ZR_MODULOS_SAIDA", pasta.path().toLocal8Bit());
    ExameSintetico ex = ExameSintetico::Esfera(337.5 / 7.80);
    TInfosZR infos{};
    infos.FatorCorrecao = ExameSintetico::kFator;
    infos.TipoCone = "2";
    if (defeito == QLatin1String("nan"))
        ex.d[10][5] = kNaN;
    else if (defeito == QLatin1String("dioptrias"))
        ex.d[200][3] = 150;
    else if (defeito == QLatin1String("aneis"))
        ex.aneis[7] = 40;
    else if (defeito == QLatin1String("fator"))
        infos.FatorCorrecao = 0;
    else if (defeito == QLatin1String("cone"))
        infos.TipoCone = "x";
    QImage olho(640, 480, QImage::Format_RGB32);
    olho.fill(QColor(90, 70, 50));
    BufferMemoria central, cab;
    central.DefineBytes([&] {
        QByteArray b;
        QBuffer buf(&b);
        buf.open(QIODevice::WriteOnly);
        olho.save(&buf, "BMP");
        return b;
    }());
    cab.DefineLinhas({QStringLiteral("Paciente Teste"), QStringLiteral("00001")});
    QVERIFY(LoadLCDLL(QStringLiteral(ZR_PASTA_MAPAS "/AdaptacaoLC.so")));
    const bool nulos = defeito == QLatin1String("nulos"), semGrades = defeito == QLatin1String("semgrades");
    LCDLL.ProcessaLente(nullptr, nulos ? nullptr : central.Stream(), nulos ? nullptr : cab.Stream(), ex.centroX,
                        ex.centroY, semGrades ? nullptr : &ex.m, &ex.aneis, semGrades ? nullptr : &ex.d, &infos,
                        nullptr);
    FreeLCDLL();
    qunsetenv("ZR_MODULOS_AUTOMATICO");
    qunsetenv("ZR_MODULOS_SAIDA");
    const QDir d(pasta.path());
    QVERIFY(QImage(d.filePath(QStringLiteral("AdaptacaoLC.png"))).width() > 400);
    const QString texto = LeArquivoTexto(d.filePath(QStringLiteral("AdaptacaoLC.txt"))).join(QLatin1Char('\n'));
    if (nota.isEmpty()) {
        QVERIFY2(!texto.contains(QStringLiteral("Nota:")), qPrintable(texto));
        QVERIFY(texto.contains(QStringLiteral("Adaptação: alinhada")));
    } else {
        QVERIFY2(texto.contains(nota), qPrintable(texto));
    }
    if (!semGrades)
        QVERIFY2(texto.contains(QStringLiteral("K plano: 7.80 mm")), qPrintable(texto));
}

QTEST_MAIN(TesteLentes)
#include "tst_lentes.moc"
