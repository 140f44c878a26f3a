// Corneal aberrometry: the Zernike fit on a wavefront made of known terms; on model corneas
// (their own powers, and the installation's examples captured by the instrument's modules),
// orders 2..4 against a second computation that ray-traces the model's exact surface and
// integrates over a fine polar grid; a regular toric's astigmatism and an irregular cornea's
// coma axis; the real module "Aberrometria.so" in batch mode on bad examinations; and many
// calls without unloading, then a clean exit.

#include "common/UTextoCp1252.h"
#include "examfiles/UBMapOperation.h"
#include "platform/UMensagens.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "plugins/aberrometria/UFrenteOnda.h"
#include "plugins/aberrometria/UZernike.h"
#include "plugins/instrumento/UCasosModelo.h"
#include "tests/support/UExameSintetico.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zrmod;
using Instrumento::ModeloCornea;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The examination the instrument gives of a model: the model's own axial power on each ring.
ExameSintetico ExameDoModelo(const ModeloCornea& c)
{
    return ExameSintetico([&](double r, double eixo) {
        const double a = eixo * M_PI / 180.0;
        return c.PotenciaAxial(r * std::cos(a), r * std::sin(a));
    });
}

// Second computation: the exact surface's rays refracted by Snell's law in vector form, the
// path to the reference sphere, and each coefficient as (1/pi) times the integral of W Z_j
// over the unit disc (midpoint rule, 120 x 360 polar cells).
std::vector<double> CoeficientesExatos(const ModeloCornea& c, double a, double raioRef, int termos)
{
    const double n = 1.3375, f = n * raioRef / (n - 1);
    std::vector<double> coef(termos, 0.0);
    constexpr int kAneis = 120, kSetores = 360;
    for (int i = 0; i < kAneis; ++i) {
        const double rho = (i + 0.5) / kAneis;
        for (int s = 0; s < kSetores; ++s) {
            const double th = (s + 0.5) * 2 * M_PI / kSetores;
            const double x = a * rho * std::cos(th), y = a * rho * std::sin(th);
            double h, hx, hy;
            if (!c.SagGradiente(x, y, h, hx, hy))
                return {};
            // Unit normal into the eye and the refracted direction.
            const double nn = std::sqrt(1 + hx * hx + hy * hy);
            const double N[3] = {-hx / nn, -hy / nn, 1 / nn};
            const double cosi = N[2], eta = 1 / n;
            const double k = std::sqrt(1 - eta * eta * (1 - cosi * cosi)) - eta * cosi;
            const double d[3] = {k * N[0], k * N[1], eta + k * N[2]};
            const double P[3] = {x, y, h - f};
            const double b = P[0] * d[0] + P[1] * d[1] + P[2] * d[2];
            const double q = P[0] * P[0] + P[1] * P[1] + P[2] * P[2] - f * f;
            // The root next to the surface.
            const double t1 = -b - std::sqrt(b * b - q), t2 = -b + std::sqrt(b * b - q);
            const double w = -(h + n * (std::abs(t1) < std::abs(t2) ? t1 : t2)) * 1000.0;
            const double area = rho * (1.0 / kAneis) * (2 * M_PI / kSetores) / M_PI;
            for (int j = 0; j < termos; ++j)
                coef[j] += w * Zernike::Valor(j, rho, th) * area;
        }
    }
    return coef;
}

// A simulator case: an example's name or a parametric text ("torica 7.9 7.5 30").
ModeloCornea Modelo(const QString& nome)
{
    Instrumento::CasoModelo caso;
    if (!Instrumento::CasoPorNome(nome, caso))
        qFatal("caso desconhecido: %s", qPrintable(nome));
    return caso.cornea;
}

} // namespace

class TesteAberrometria : public QObject {
    Q_OBJECT
private slots:
    void sintetico();
    void modelos_data();
    void modelos();
    void toricaAstigmatismo();
    void modulo_data();
    void modulo();
    void chamadasRepetidas();
    void cleanupTestCase() { m_instalacao.reset(); }

private:
    std::unique_ptr<InstalacaoTeste> m_instalacao; // its examples, captured by the instrument's modules
};

// Known coefficients on the wavefront grid come back from the fit.
void TesteAberrometria::sintetico()
{
    QRandomGenerator gerador(15);
    std::vector<double> c(Zernike::Termos(6));
    for (double& v : c)
        v = gerador.generateDouble() * 2 - 1;
    std::vector<Zernike::Amostra> amostras;
    for (int j = 0; j < Aberrometria::kLadoPupila; ++j)
        for (int i = 0; i < Aberrometria::kLadoPupila; ++i) {
            const double x = -1 + 2.0 * i / (Aberrometria::kLadoPupila - 1), y = 1 - 2.0 * j / (Aberrometria::kLadoPupila - 1);
            if (std::hypot(x, y) <= 1)
                amostras.push_back({std::hypot(x, y), std::atan2(y, x), Zernike::Avalia(c, std::hypot(x, y), std::atan2(y, x))});
        }
    const std::vector<double> ajuste = Zernike::Ajusta(amostras, 6);
    QCOMPARE(ajuste.size(), c.size());
    for (size_t j = 0; j < c.size(); ++j)
        QVERIFY2(std::abs(ajuste[j] - c[j]) < 1e-6, qPrintable(QStringLiteral("Z%1").arg(j)));
    // The normalisation: each term's mean square over the disc is 1.
    for (int j : {4, 12, 24}) {
        double s = 0;
        for (const auto& a : amostras)
            s += std::pow(Zernike::Valor(j, a.rho, a.theta), 2);
        QVERIFY(std::abs(s / amostras.size() - 1.0) < 0.02);
    }
}

void TesteAberrometria::modelos_data()
{
    QTest::addColumn<QString>("modelo");
    QTest::addColumn<bool>("capturado"); // the installation's example, or the model's own powers
    QTest::newRow("sphere 7.8") << "esfera 7.8" << false;
    QTest::newRow("conic 7.7 Q -0.3") << "conica 7.7 -0.3" << false;
    QTest::newRow("toric 7.9/7.5 at 30") << "torica 7.9 7.5 30" << false;
    QTest::newRow("Irregular01") << "Irregular01" << false;
    QTest::newRow("captured Normal02") << "Normal02" << true;
    QTest::newRow("captured Regular03") << "Regular03" << true;
    QTest::newRow("captured Irregular04") << "Irregular04" << true;
}

void TesteAberrometria::modelos()
{
    QFETCH(QString, modelo);
    QFETCH(bool, capturado);
    const ModeloCornea c = Modelo(modelo);
    ExameSintetico ex = ExameDoModelo(c);
    if (capturado) {
        if (!m_instalacao)
            m_instalacao = std::make_unique<InstalacaoTeste>();
        QVERIFY(m_instalacao->Valida());
        TBMapOperation leitor;
        MensagensRoteiro msgs;
        QVERIFY(leitor.CarregaExame(m_instalacao->Pastas().dados + QStringLiteral("/Exemplos/") + modelo));
        leitor.CopiaPosicoes(ex.m);
        leitor.CopiaDioptrias(ex.d);
        leitor.CopiaAneis(ex.aneis);
    }
    auto exame = ConfereExame(&ex.m, &ex.d, &ex.aneis, ExameSintetico::kFator);
    const Aberrometria::ResultadoFrente r = Aberrometria::FrenteDoExame(*exame, 3.0);
    QVERIFY2(r.valido && r.ordem == 6 && r.notas.isEmpty(), qPrintable(r.notas.join(QLatin1Char(';'))));
    QCOMPARE(r.raioPupila, 3.0);
    const std::vector<double> exato = CoeficientesExatos(c, 3.0, r.raioReferencia, Zernike::Termos(4));
    QVERIFY(!exato.empty());
    for (int j = Zernike::Indice(2, -2); j < Zernike::Termos(4); ++j)
        QVERIFY2(std::abs(r.coef[j] - exato[j]) <= 0.05,
                 qPrintable(QStringLiteral("%1: %2 µm, exato %3").arg(Zernike::Nome(j)).arg(r.coef[j]).arg(exato[j])));
    if (modelo.startsWith(QLatin1String("Irregular"))) {
        QVERIFY(c.coma != 0);
        double erro = std::abs(std::remainder(r.EixoComa() - c.eixoComa, 360.0));
        QVERIFY2(erro <= 10.0, qPrintable(QStringLiteral("coma a %1, modelo %2").arg(r.EixoComa()).arg(c.eixoComa)));
    }
}

// A 1.5 D toric at axis 30 over 6 mm: C a^2 / (4 sqrt 6) = 1.38 um to second order; the
// exact ray trace of the same surface adds the rise of the fourth-order terms, and the
// module must agree with that.
void TesteAberrometria::toricaAstigmatismo()
{
    const double kPlano = 43.0, kCurvo = 44.5;
    const ModeloCornea c = ModeloCornea::Torica(337.5 / kPlano, 337.5 / kCurvo, 30);
    const ExameSintetico ex = ExameDoModelo(c);
    auto exame = ConfereExame(&ex.m, &ex.d, &ex.aneis, ExameSintetico::kFator);
    const Aberrometria::ResultadoFrente r = Aberrometria::FrenteDoExame(*exame, 3.0);
    const std::vector<double> exato = CoeficientesExatos(c, 3.0, r.raioReferencia, Zernike::Termos(2));
    const double astExato = std::hypot(exato[3], exato[5]);
    const double paraxial = 1.5 * 9.0 / (4 * std::sqrt(6.0));
    qInfo("astigmatismo %.3f um a %.1f graus; traçado exato %.3f um; paraxial %.3f um", r.Astigmatismo(),
          r.EixoAstigmatismo(), astExato, paraxial);
    QVERIFY2(std::abs(r.Astigmatismo() - astExato) <= 0.02,
             qPrintable(QStringLiteral("%1 µm, exato %2").arg(r.Astigmatismo()).arg(astExato)));
    QVERIFY2(std::abs(r.Astigmatismo() - paraxial) / paraxial < 0.10, qPrintable(QString::number(r.Astigmatismo())));
    QVERIFY2(std::abs(r.EixoAstigmatismo() - 30.0) <= 2.0, qPrintable(QString::number(r.EixoAstigmatismo())));
}

void TesteAberrometria::modulo_data()
{
    QTest::addColumn<QString>("defeito");
    QTest::addColumn<QString>("nota");
    QTest::newRow("good") << "" << "";
    QTest::newRow("pupil beyond the data") << "curto" << "passa dos dados: análise em 3.0 mm";
    QTest::newRow("NaN grid") << "nan" << "Valores inválidos";
    QTest::newRow("no data at all") << "vazio" << "não tem dados";
    QTest::newRow("ring count 40") << "aneis" << "Contagem de anéis fora de 0 a 32";
    QTest::newRow("factor NaN") << "fator" << "Fator de correção inválido";
    QTest::newRow("cone abc") << "cone" << "Tipo de cone inválido";
    QTest::newRow("two clinic lines") << "clinica" << "Dados da clínica incompletos (2 de 4 linhas)";
    QTest::newRow("few rings: lower order") << "poucos" << "ajuste até a ordem 4";
}

void TesteAberrometria::modulo()
{
    QFETCH(QString, defeito);
    QFETCH(QString, nota);
    QTemporaryDir pasta;
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    qputenv("ZR_MODULOS_SAIDA", pasta.path().toLocal8Bit());
    ExameSintetico ex = ExameSintetico::Esfera(43.0);
    double fator = ExameSintetico::kFator;
    const char* cone = "2";
    const char* textos[] = {"Clínica", "Rua A, 1", "Cidade - UF", "(11) 1234-5678"};
    TListaTextos clinica{4, textos};
    if (defeito == QLatin1String("curto") || defeito == QLatin1String("poucos")) {
        // Rings to 1.5 mm (a 3 mm pupil) or to 0.9 mm.
        const int n = defeito == QLatin1String("curto") ? 5 : 3;
        for (int k = 0; k < 360; ++k)
            ex.aneis[k] = n;
    } else if (defeito == QLatin1String("nan")) {
        ex.m[90][4] = kNaN;
    } else if (defeito == QLatin1String("vazio")) {
        for (int k = 0; k < 360; ++k)
            ex.d[k][0] = kNaN;
    } else if (defeito == QLatin1String("aneis")) {
        ex.aneis[3] = 40;
    } else if (defeito == QLatin1String("fator")) {
        fator = kNaN;
    } else if (defeito == QLatin1String("cone")) {
        cone = "abc";
    } else if (defeito == QLatin1String("clinica")) {
        clinica.count = 2;
    }
    BufferMemoria cab;
    cab.DefineLinhas({QStringLiteral("Paciente Teste"), QStringLiteral("00001")});
    if (!AberrometriaDLL.ProcessaAberrometria)
        QVERIFY(LoadAberrometriaDLL(QStringLiteral(ZR_PASTA_MAPAS "/Aberrometria.so")));
    AberrometriaDLL.ProcessaAberrometria(nullptr, &ex.m, &ex.d, &clinica, cab.Stream(), 1, 350, 350, 0.0, fator,
                                         3.0, 3, 16, cone, &ex.aneis);
    qunsetenv("ZR_MODULOS_AUTOMATICO");
    qunsetenv("ZR_MODULOS_SAIDA");
    const QDir d(pasta.path());
    QVERIFY(QImage(d.filePath(QStringLiteral("Aberrometria.png"))).width() > 700);
    const QString texto = LeArquivoTexto(d.filePath(QStringLiteral("Aberrometria.txt"))).join(QLatin1Char('\n'));
    if (nota.isEmpty())
        QVERIFY2(!texto.contains(QStringLiteral("Nota:")) && texto.contains(QStringLiteral("Ordem do ajuste: 6")),
                 qPrintable(texto));
    else
        QVERIFY2(texto.contains(nota), qPrintable(texto));
}

// 200 calls with the module kept loaded, then the program ends normally.
void TesteAberrometria::chamadasRepetidas()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZR_MODULOS_AUTOMATICO"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZR_REPETE_ABERROMETRIA), {QStringLiteral(ZR_PASTA_MAPAS "/Aberrometria.so"), QStringLiteral("200")});
    QVERIFY(p.waitForFinished(300000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromLatin1(p.readAllStandardOutput()).trimmed(), QStringLiteral("200"));
}

QTEST_MAIN(TesteAberrometria)
#include "tst_aberrometria.moc"
