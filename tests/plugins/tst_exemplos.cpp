// The installation's calibration files and example examinations, made by the instrument's
// modules: present, readable by the examination reader, and looking like their classes.

#include "examfiles/UBMapOperation.h"
#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "plugins/instalacao/UInstalaInstrumento.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDir>
#include <QTest>
#include <cmath>

namespace {

struct Resumo {
    double maximo = 0, minimo = 1e9;
    double raioMaximo = 0;   // mm from the map centre of the steepest point
    double centro = 0;       // mean power of rings 1..3
    double meio = 0;         // mean power of the points 2.5 .. 3.5 mm out
    double cilindro = 0;     // 2 x the cos 2t amplitude of the meridians' means within 1.5 mm
    double assimetria = 0;   // largest difference of opposite half-meridians within 3 mm
    int pontos = 0;
};

Resumo Resume(const TBMapOperation& ex)
{
    Resumo r;
    const auto& d = ex.Dioptrias();
    const auto& m = ex.Posicoes();
    const auto& n = ex.AneisPorMeridiano();
    double somaCentro = 0, somaMeio = 0;
    int nCentro = 0, nMeio = 0;
    double a = 0, b = 0;
    double medias[360] = {};
    for (int k = 0; k < 360; ++k) {
        double s = 0, s3 = 0;
        int c = 0, c3 = 0;
        for (int j = 1; j <= n[k]; ++j, ++r.pontos) {
            const double mm = m[k][j] * 0.02;
            if (d[k][j] > r.maximo) {
                r.maximo = d[k][j];
                r.raioMaximo = mm;
            }
            r.minimo = std::min(r.minimo, d[k][j]);
            if (j <= 3) {
                somaCentro += d[k][j];
                ++nCentro;
            }
            if (mm >= 2.5 && mm <= 3.5) {
                somaMeio += d[k][j];
                ++nMeio;
            }
            if (mm <= 1.5) {
                s += d[k][j];
                ++c;
            }
            if (mm <= 3.0) {
                s3 += d[k][j];
                ++c3;
            }
        }
        if (c > 0) {
            a += s / c * std::cos(2.0 * (k + 1) * M_PI / 180.0);
            b += s / c * std::sin(2.0 * (k + 1) * M_PI / 180.0);
        }
        medias[k] = c3 > 0 ? s3 / c3 : 0.0;
    }
    for (int k = 0; k < 180; ++k)
        if (medias[k] > 0 && medias[k + 180] > 0)
            r.assimetria = std::max(r.assimetria, std::abs(medias[k] - medias[k + 180]));
    r.centro = somaCentro / std::max(1, nCentro);
    r.meio = somaMeio / std::max(1, nMeio);
    r.cilindro = 2.0 * 2.0 * std::hypot(a, b) / 360.0;
    return r;
}

} // namespace

class TesteExemplos : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void calibracao();
    void exemplos_data();
    void exemplos();
    void moduloAusente();

private:
    std::unique_ptr<InstalacaoTeste> m_instalacao;
};

void TesteExemplos::initTestCase()
{
    m_instalacao = std::make_unique<InstalacaoTeste>();
    QVERIFY(m_instalacao->Valida());
}

void TesteExemplos::calibracao()
{
    const QDir pasta(m_instalacao->Pastas().dados + QStringLiteral("/Calibração"));
    const QStringList coef = LeArquivoTexto(pasta.filePath(QStringLiteral("Coef.txt")));
    QCOMPARE(coef.size(), 32);
    const char* raios[4] = {"7.73", "8.05", "8.34", "8.91"};
    for (int s = 0; s < 4; ++s) {
        const QStringList esfera = LeArquivoTexto(pasta.filePath(QStringLiteral("%1.txt").arg(s + 1)));
        QCOMPARE(esfera.size(), 17);
        QCOMPARE(esfera[0], QString::fromLatin1(raios[s]));
        // The rings of a sphere lie ever further out, 4.5 mm / 16.25 apart on a 7.8 mm one.
        for (int j = 2; j <= 16; ++j)
            QVERIFY(esfera[j].toDouble() > esfera[j - 1].toDouble() + 10.0);
    }
}

void TesteExemplos::exemplos_data()
{
    QTest::addColumn<QString>("nome");
    for (const auto& e : InstalaInstrumento::Exemplos())
        QTest::newRow(e.nome.toUtf8().constData()) << e.nome;
}

void TesteExemplos::exemplos()
{
    QFETCH(QString, nome);
    TBMapOperation exame;
    const QString prefixo = m_instalacao->Pastas().dados + QStringLiteral("/Exemplos/") + nome;
    QVERIFY(exame.CarregaExame(prefixo));
    const Resumo r = Resume(exame);
    QVERIFY(r.pontos > 360 * 10);
    QVERIFY(exame.CentroX() > 280 && exame.CentroX() < 360 && exame.CentroY() > 200 && exame.CentroY() < 280);
    const QString info = QStringLiteral("%1: max %2 D a %3 mm, min %4, centro %5, meio %6, cil %7, assim %8")
                             .arg(nome).arg(r.maximo).arg(r.raioMaximo).arg(r.minimo).arg(r.centro)
                             .arg(r.meio).arg(r.cilindro).arg(r.assimetria);
    if (nome.startsWith(QLatin1String("Central"))) {
        // A cone over the centre: the steepest point within 1.5 mm of it, well above normal.
        QVERIFY2(r.raioMaximo < 1.5 && r.maximo > 47.0, qPrintable(info));
        QVERIFY2(r.centro > r.meio + 1.0, qPrintable(info));
    } else if (nome.startsWith(QLatin1String("Perif"))) {
        // A cone low on the cornea: steepest away from the centre.
        QVERIFY2(r.raioMaximo > 1.5 && r.maximo > 46.0, qPrintable(info));
        QVERIFY2(r.assimetria > 1.0, qPrintable(info));
    } else if (nome.startsWith(QLatin1String("Regular"))) {
        QVERIFY2(r.cilindro > 1.2 && r.assimetria < 0.6, qPrintable(info));
    } else if (nome.startsWith(QLatin1String("Irregular"))) {
        QVERIFY2(r.assimetria > 0.8, qPrintable(info));
    } else if (nome.startsWith(QLatin1String("Normal"))) {
        QVERIFY2(r.minimo >= 40.0 && r.maximo <= 46.0, qPrintable(info));
        QVERIFY2(r.cilindro < 1.0 && r.assimetria < 0.6, qPrintable(info));
    } else {
        // After orthokeratology: a flattened centre inside a steeper ring.
        QVERIFY(nome.startsWith(QLatin1String("Orto")));
        QVERIFY2(r.centro < r.meio - 0.5, qPrintable(info));
    }
}

void TesteExemplos::moduloAusente()
{
    // Without a processing module the step fails and leaves the files it would replace.
    QTemporaryDir pasta;
    InstalaInstrumento::Opcoes o = InstalaInstrumento::OpcoesDaInstalacao(
        m_instalacao->Pastas().modulos, m_instalacao->Pastas().dados, m_instalacao->ArquivoConfiguracao());
    o.moduloProcessamento = pasta.filePath(QStringLiteral("Ausente.so"));
    o.pastaCache.clear();
    o.pastaCalibracao = pasta.filePath(QStringLiteral("Calibração"));
    QDir().mkpath(o.pastaCalibracao);
    GravaArquivoTexto(o.pastaCalibracao + QStringLiteral("/Coef.txt"), {QStringLiteral("antigo")});
    QVERIFY_THROWS_EXCEPTION(ErroSistema, InstalaInstrumento::Instala(o));
    QCOMPARE(LeArquivoTexto(o.pastaCalibracao + QStringLiteral("/Coef.txt")), QStringList{QStringLiteral("antigo")});
}

QTEST_MAIN(TesteExemplos)
#include "tst_exemplos.moc"
