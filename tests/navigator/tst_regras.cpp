// The navigator's rules without windows: examination captions and their key, the layout
// rows of the patient page, the last-examination text, the bound name pattern and the
// example classes.

#include "navigator/UNavegador.h"

#include <QTest>

using namespace Navegador;

class TesteRegras : public QObject {
    Q_OBJECT
private slots:
    void legenda_data();
    void legenda();
    void legendaInvalida_data();
    void legendaInvalida();
    void linhaLayout_data();
    void linhaLayout();
    void ultimoExame_data();
    void ultimoExame();
    void padraoNome_data();
    void padraoNome();
    void exemplos_data();
    void exemplos();
};

void TesteRegras::legenda_data()
{
    QTest::addColumn<QString>("olho");
    QTest::addColumn<QDate>("data");
    QTest::addColumn<QTime>("hora");
    QTest::addColumn<QString>("esperada");
    QTest::newRow("direito") << "OD" << QDate(2004, 3, 5) << QTime(14, 7, 9) << "OD - 05/03/2004 14:07:09";
    QTest::newRow("esquerdo, meia-noite") << "OS" << QDate(1999, 12, 31) << QTime(0, 0, 0) << "OS - 31/12/1999 00:00:00";
    QTest::newRow("fim do dia") << "OD" << QDate(2026, 1, 1) << QTime(23, 59, 59) << "OD - 01/01/2026 23:59:59";
}

void TesteRegras::legenda()
{
    QFETCH(QString, olho);
    QFETCH(QDate, data);
    QFETCH(QTime, hora);
    QFETCH(QString, esperada);
    const QString legenda = LegendaExame(olho, data, hora);
    QCOMPARE(legenda, esperada);
    // The caption is the key: it gives the same examination back.
    const ChaveExame chave = DecompoeLegenda(legenda);
    QVERIFY(chave.valida);
    QCOMPARE(chave.olho, olho);
    QCOMPARE(chave.data, data);
    QCOMPARE(chave.hora, hora);
}

void TesteRegras::legendaInvalida_data()
{
    QTest::addColumn<QString>("legenda");
    QTest::newRow("vazia") << "";
    QTest::newRow("exemplo") << "OD - Central01";
    QTest::newRow("data impossível") << "OD - 31/02/2004 14:07:09";
    QTest::newRow("hora cortada") << "OD - 05/03/2004 14:07";
}

void TesteRegras::legendaInvalida()
{
    QFETCH(QString, legenda);
    QVERIFY(!DecompoeLegenda(legenda).valida);
}

void TesteRegras::linhaLayout_data()
{
    QTest::addColumn<int>("largura");
    QTest::addColumn<int>("altura");
    QTest::addColumn<double>("grade");
    QTest::addColumn<double>("info");
    QTest::newRow("1024x768 (1.33)") << 1024 << 768 << 0.63 << 0.75;
    QTest::newRow("1280x1024 (1.25)") << 1280 << 1024 << 0.79 << 0.855;
    QTest::newRow("1366x768 (1.78)") << 1366 << 768 << 0.7 << 0.8;
    QTest::newRow("800x600 (1.33)") << 800 << 600 << 0.63 << 0.75;
    QTest::newRow("exatamente 1.3") << 1300 << 1000 << 0.63 << 0.75;
    QTest::newRow("exatamente 1.4") << 1400 << 1000 << 0.7 << 0.8;
    QTest::newRow("logo abaixo de 1.3") << 1299 << 1000 << 0.79 << 0.855;
    QTest::newRow("logo abaixo de 1.4") << 1399 << 1000 << 0.63 << 0.75;
}

void TesteRegras::linhaLayout()
{
    QFETCH(int, largura);
    QFETCH(int, altura);
    QFETCH(double, grade);
    QFETCH(double, info);
    const LinhaLayout l = LinhaAjuste(largura, altura);
    QCOMPARE(l.grade, grade);
    QCOMPARE(l.info, info);
}

void TesteRegras::ultimoExame_data()
{
    QTest::addColumn<QString>("olho");
    QTest::addColumn<QDate>("data");
    QTest::addColumn<QTime>("hora");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("sem segundos") << "OD" << QDate(2004, 3, 5) << QTime(14, 7, 9) << "OD 05/03/2004 14:07";
    QTest::newRow("esquerdo") << "OS" << QDate(2010, 11, 30) << QTime(8, 5, 59) << "OS 30/11/2010 08:05";
    QTest::newRow("nenhum exame") << "" << QDate() << QTime() << "  ";
}

void TesteRegras::ultimoExame()
{
    QFETCH(QString, olho);
    QFETCH(QDate, data);
    QFETCH(QTime, hora);
    QFETCH(QString, esperado);
    QCOMPARE(TextoUltimoExame(olho, data, hora), esperado);
}

void TesteRegras::padraoNome_data()
{
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("padrao");
    QTest::newRow("minúsculas") << "jo" << "JO%";
    QTest::newRow("acentos") << "joão d'ávila" << "JOÃO D'ÁVILA%";
    QTest::newRow("cedilha") << "conceição" << "CONCEIÇÃO%";
}

void TesteRegras::padraoNome()
{
    QFETCH(QString, digitado);
    QFETCH(QString, padrao);
    QCOMPARE(PadraoNome(digitado), padrao);
}

void TesteRegras::exemplos_data()
{
    QTest::addColumn<int>("linha");
    QTest::addColumn<QStringList>("itens");
    QTest::newRow("1 central") << 1 << QStringList{"OD - Central01", "OD - Central02", "OD - Central03",
                                                   "OD - Central04", "OS - Central05", "OS - Central06"};
    QTest::newRow("2 periférico") << 2 << QStringList{"OD - Periférico01", "OD - Periférico02", "OD - Periférico03",
                                                      "OD - Periférico04", "OS - Periférico05", "OS - Periférico06"};
    QTest::newRow("4 irregular") << 4 << QStringList{"OD - Irregular01", "OD - Irregular02", "OD - Irregular03",
                                                     "OD - Irregular04", "OS - Irregular05", "OS - Irregular06"};
    QTest::newRow("6 orto") << 6 << QStringList{"Orto01", "Orto02", "Orto03", "Orto04"};
    QTest::newRow("7 nenhuma") << 7 << QStringList{};
}

void TesteRegras::exemplos()
{
    QFETCH(int, linha);
    QFETCH(QStringList, itens);
    QCOMPARE(ItensExemplo(linha), itens);
    QCOMPARE(ClassesExemplos(false).size(), 5);
    QCOMPARE(ClassesExemplos(true).size(), 6);
    QCOMPARE(ClassesExemplos(false).value(3), QStringLiteral("Astigmatismo - Iregular"));
    QCOMPARE(ClassesExemplos(true).value(5), QStringLiteral("Ortoceratologia"));
}

QTEST_GUILESS_MAIN(TesteRegras)
#include "tst_regras.moc"
