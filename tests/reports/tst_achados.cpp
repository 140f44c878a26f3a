// The findings of a new report from examinations stored as the capture stores them: the
// keratometry and largest map value of surfaces of known curvature, the installation's
// examples against what the map modules compute, the sentences' number formats, and data
// that cannot be read or computed.

#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "platform/UMensagens.h"
#include "plugins/mapas/UMapaCurvatura.h"
#include "reports/UAchados.h"
#include "tests/support/UExameSintetico.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString kErroMapa = QStringLiteral("Não foi possível processar o mapa selecionado. ERROMAP03");

} // namespace

class TesteAchados : public QObject {
    Q_OBJECT
    std::unique_ptr<InstalacaoTeste> m_inst;
    int m_exame = 0;

    // Stores an examination of patient 1 through the file writers; returns its prefix.
    QString Grava(const ExameSintetico& e)
    {
        ++m_exame;
        QDir().mkpath(PastaExamesPaciente(1));
        GravaArquivoD(1, m_exame, e.d);
        GravaArquivoM(1, m_exame, e.m);
        GravaArquivoA(1, m_exame, e.aneis, e.centroX, e.centroY, e.pupila);
        return PrefixoExame(1, m_exame);
    }
    AchadosOlho Achados(const QString& prefixo, uint8_t tipo)
    {
        MensagensRoteiro msgs;
        TBMapOperation leitor;
        AchadosOlho a;
        [&] { QVERIFY(AchadosDoExame(leitor, prefixo, QStringLiteral("OD"), ExameSintetico::kFator, tipo, a)); }();
        [&] { QCOMPARE(msgs.Textos(), QStringList()); }();
        return a;
    }

private slots:
    void initTestCase()
    {
        m_inst = std::make_unique<InstalacaoTeste>();
        QVERIFY(m_inst->Valida());
        TBIniSettings ini;
        ini.LoadAll(3);
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
        QCOMPARE(InfosZR.NumAneis, 16);
    }
    void formatos_data();
    void formatos();
    void torica_data();
    void torica();
    void superficies_data();
    void superficies();
    void exemplos_data();
    void exemplos();
    void dadosRuins_data();
    void dadosRuins();
};

void TesteAchados::formatos_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("texto");
    QTest::newRow("negativo entre parênteses") << -0.25 << "(0.25)";
    QTest::newRow("milhar") << 1234.5 << "1,234.50";
    QTest::newRow("arredonda") << 43.255 << "43.26";
    QTest::newRow("zero") << 0.0 << "0.00";
}

void TesteAchados::formatos()
{
    QFETCH(double, valor);
    QFETCH(QString, texto);
    AchadosOlho a;
    a.ValorMaximo = valor;
    a.Ceratometria.DifK = valor;
    a.Ceratometria.K1 = 44.5;
    a.Ceratometria.K2 = 43.25;
    a.Ceratometria.Eixo1 = 5;
    a.Ceratometria.Eixo2 = 95;
    const QString frase = TextoOlho(0, a);
    QVERIFY(frase.contains(QStringLiteral("observada de ") + texto + QStringLiteral(" D, #6#")));
    QVERIFY(frase.endsWith(QStringLiteral("astigmatismo corneano de ") + texto +
                           QStringLiteral(" D @ 5º com meridianos de 44.50 D @ 5º e 43.25 D @ 95º.")));
}

void TesteAchados::torica_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("mapa");
    QTest::newRow("Axial") << 0
        << "no mapa de construção Axial (ou Sagital, com eixo passando pelo ápice corneano). "
           "A Ceratometria Simulada Ortogonalmente Corrigida dos 3 mm centrais da córnea, segundo "
           "o mapa de construção axial, revela #7#";
    QTest::newRow("Tangencial") << 1
        << "no mapa de construção Tangencial. A Ceratometria Simulada Ortogonalmente Corrigida dos "
           "3 mm centrais da córnea, segundo o mapa de construção tangencial, revela #7#";
}

void TesteAchados::torica()
{
    QFETCH(int, tipo);
    QFETCH(QString, mapa);
    const QString frase = TextoOlho(uint8_t(tipo), Achados(Grava(ExameSintetico::Torica(43.25, 44.50, 90)), uint8_t(tipo)));
    QVERIFY2(frase.endsWith(QStringLiteral("astigmatismo corneano de 1.25 D @ 90º com meridianos de "
                                           "44.50 D @ 90º e 43.25 D @ 180º.")),
             qPrintable(frase));
    QVERIFY(frase.startsWith(QStringLiteral("Astigmatismo #1# #2# e #3# #4#, #5#, com curvatura máxima observada de 44.50 D, #6# ")));
    QVERIFY(frase.contains(mapa));
}

// Surfaces whose axial and tangential powers are known in closed form.
void TesteAchados::superficies_data()
{
    QTest::addColumn<int>("superficie"); // 0 sphere 43 D, 1 oblate conic
    QTest::addColumn<int>("tipo");
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("maximo");
    QTest::addColumn<double>("tolerancia");
    QTest::newRow("esfera, axial") << 0 << 0 << 43.0 << 43.0 << 0.0;
    QTest::newRow("esfera, tangencial") << 0 << 1 << 43.0 << 43.0 << 0.0;
    // R 7.8 mm, Q +0.3, rings to 4.8 mm: the last sample lies just inside the last ring.
    const double r = 239.0 * ExameSintetico::kFator;
    QTest::newRow("cônica oblata, axial") << 1 << 0 << 0.0
        << ExameSintetico::PotenciaAxialConica(7.8, 0.3, r) << 0.15;
    QTest::newRow("cônica oblata, tangencial") << 1 << 1 << 0.0
        << ExameSintetico::PotenciaTangencialConica(7.8, 0.3, r) << 0.15;
}

void TesteAchados::superficies()
{
    QFETCH(int, superficie);
    QFETCH(int, tipo);
    QFETCH(double, k);
    QFETCH(double, maximo);
    QFETCH(double, tolerancia);
    const ExameSintetico e = superficie == 0 ? ExameSintetico::Esfera(43.0) : ExameSintetico::Conica(7.8, 0.3);
    const AchadosOlho a = Achados(Grava(e), uint8_t(tipo));
    if (k > 0) {
        QCOMPARE(a.Ceratometria.K1, k);
        QCOMPARE(a.Ceratometria.K2, k);
    }
    QVERIFY2(qAbs(a.ValorMaximo - maximo) <= tolerancia + 1e-9,
             qPrintable(QStringLiteral("%1 vs %2").arg(a.ValorMaximo).arg(maximo)));
}

// The installation's examples: the largest value equals the map module's own for each kind.
void TesteAchados::exemplos_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<int>("tipo");
    for (const char* nome : {"Central01", "Regular01", "Irregular01"})
        for (int tipo : {0, 1})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(nome)).arg(tipo)))
                << QString::fromLatin1(nome) << tipo;
}

void TesteAchados::exemplos()
{
    QFETCH(QString, nome);
    QFETCH(int, tipo);
    // Copied into a patient's folder as a stored examination.
    ++m_exame;
    QDir().mkpath(PastaExamesPaciente(1));
    for (const char* letra : {"d", "m", "a"})
        QVERIFY(QFile::copy(PrefixoExemplo(nome) + QLatin1String(letra) + QStringLiteral(".txt"),
                            PrefixoExame(1, m_exame) + QLatin1String(letra) + QStringLiteral(".txt")));
    TBMapOperation leitor;
    QVERIFY(leitor.CarregaExame(PrefixoExame(1, m_exame)));
    const MapaCurvatura modulo(tipo == 0 ? MapaCurvatura::Axial : MapaCurvatura::Tangencial, &leitor.Posicoes(),
                               &leitor.AneisPorMeridiano(), &leitor.Dioptrias(), InfosZR.FatorCorrecao);
    if (!modulo.Avisos().isEmpty())
        QSKIP(qPrintable(QStringLiteral("o módulo de mapa descartou dados: ") + modulo.Avisos().join(u' ')));
    MensagensRoteiro msgs;
    AchadosOlho a;
    QVERIFY(AchadosDoExame(leitor, PrefixoExame(1, m_exame), nome, InfosZR.FatorCorrecao, uint8_t(tipo), a));
    QVERIFY2(qAbs(a.ValorMaximo - modulo.Maximo()) <= 0.01,
             qPrintable(QStringLiteral("%1 vs %2").arg(a.ValorMaximo).arg(modulo.Maximo())));
}

// Files that cannot be read and data the computation refuses: the user is told and nothing
// is returned.
void TesteAchados::dadosRuins_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<QStringList>("mensagens");
    const QString calculo = QStringLiteral("Não foi possível calcular os achados do exame OD - 01/02/2024 10:00:00.\n");
    QTest::newRow("m.txt ausente") << 0 << QStringList{QStringLiteral("Arquivo m.txt não encontrado!"), kErroMapa};
    QTest::newRow("valor que não é número") << 1 << QStringList{kErroMapa};
    // The reader already refuses a count above 32 as a malformed a.txt.
    QTest::newRow("anéis acima de 32") << 2 << QStringList{kErroMapa};
    QTest::newRow("posição radial nula") << 3 << QStringList{calculo};
    QTest::newRow("meridiano sem dados em 1,5 mm") << 4 << QStringList{calculo};
}

void TesteAchados::dadosRuins()
{
    QFETCH(int, caso);
    QFETCH(QStringList, mensagens);
    ExameSintetico e = ExameSintetico::Esfera(43.0);
    if (caso == 2)
        e.aneis[10] = 40;
    if (caso == 3)
        e.m[20][5] = 0.0;
    if (caso == 4)
        for (int j = 0; j <= 16; ++j)
            e.m[30][j] = 100.0 + j; // data only from 2 mm out
    const QString prefixo = Grava(e);
    if (caso == 0)
        QVERIFY(QFile::remove(prefixo + QStringLiteral("m.txt")));
    if (caso == 1) {
        QFile f(prefixo + QStringLiteral("d.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray conteudo = f.readAll();
        f.close();
        conteudo.replace(conteudo.indexOf("43.00"), 5, "4x.00");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(conteudo);
    }
    MensagensRoteiro msgs;
    for (int k = 0; k < mensagens.size(); ++k)
        msgs.Responde(RespostaMensagem::Ok);
    TBMapOperation leitor;
    AchadosOlho a;
    a.ValorMaximo = -7;
    QVERIFY(!AchadosDoExame(leitor, prefixo, QStringLiteral("OD - 01/02/2024 10:00:00"), ExameSintetico::kFator,
                            TBFuncoesMapas::MapaTangencial, a));
    QCOMPARE(a.ValorMaximo, -7.0);
    const QStringList textos = msgs.Textos();
    QCOMPARE(textos.size(), mensagens.size());
    for (int k = 0; k < textos.size(); ++k)
        QVERIFY2(textos[k].startsWith(mensagens[k]), qPrintable(textos[k]));
    if (caso >= 3)
        QVERIFY(textos.last().size() > mensagens.last().size()); // the reason follows
    const auto& ultimo = msgs.Registros().last();
    QCOMPARE(ultimo.titulo, QStringLiteral("Informação"));
    QCOMPARE(ultimo.icone, IconeMensagem::Erro);
}

QTEST_MAIN(TesteAchados)
#include "tst_achados.moc"
