// The slot rules of the report boxes and the report items of the wizard, without windows.

#include "examfiles/UArquivosExame.h"
#include "reports/UAchados.h"
#include "reports/UMarcadores.h"

#include <QTest>

class TesteMarcadores : public QObject {
    Q_OBJECT
private slots:
    void insereTexto_data();
    void insereTexto();
    void textoDigitado_data();
    void textoDigitado();
    void verificaCaixas_data();
    void verificaCaixas();
    void pergunta_data();
    void pergunta();
    void coloridos();
    void itemLaudo_data();
    void itemLaudo();
};

void TesteMarcadores::insereTexto_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("grupo");
    QTest::addColumn<QString>("frase");
    QTest::addColumn<QString>("esperado");
    const QString co = TextoConclusao();
    const QString fim = QStringLiteral("#13# #14##15# #16#.");
    QTest::newRow("grupo 15 na conclusão") << co << 15 << "leve"
        << QString(co).replace(fim, QStringLiteral("#13# #14##15-leve# #16#."));
    QTest::newRow("grupo 14 na conclusão") << co << 14 << "central"
        << QString(co).replace(fim, QStringLiteral("#13# #14-central##15# #16#."));
    QTest::newRow("frase escolhida duas vezes") << "a #1# b #2-regular# c" << 2 << "irregular"
                                                << "a #1# b #2-irregular# c";
    QTest::newRow("em branco volta ao número") << "a #1# b #2-regular# c" << 2 << ""
                                               << "a #1# b #2# c";
    QTest::newRow("grupo 3 numa caixa de dois") << "#1# e #2#." << 3 << "x" << "#1# e #2#.";
    QTest::newRow("primeira da caixa") << "#1# e #2#." << 1 << "com" << "#1-com# e #2#.";
}

void TesteMarcadores::insereTexto()
{
    QFETCH(QString, texto);
    QFETCH(int, grupo);
    QFETCH(QString, frase);
    QFETCH(QString, esperado);
    QCOMPARE(InsereTexto(texto, grupo, frase), esperado);
}

// "#" typed by the user: every routine ends and keeps the text around the marks.
void TesteMarcadores::textoDigitado_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("depoisDoGrupo1"); // InsereTexto(1, "x")
    QTest::addColumn<int>("quantos");
    QTest::newRow("um # solto") << "antes # depois" << "antes # depois" << 0;
    QTest::newRow("três #") << "antes #a# meio # depois" << "antes #1-x# meio # depois" << 1;
    QTest::newRow("#abc#") << "antes #abc# depois" << "antes #1-x# depois" << 1;
    QTest::newRow("##") << "antes ## depois" << "antes #1-x# depois" << 1;
    QTest::newRow("só #") << "#####" << "#1-x####" << 2;
}

void TesteMarcadores::textoDigitado()
{
    QFETCH(QString, texto);
    QFETCH(QString, depoisDoGrupo1);
    QFETCH(int, quantos);
    QCOMPARE(InsereTexto(texto, 1, QStringLiteral("x")), depoisDoGrupo1);
    QCOMPARE(int(MarcadoresColoridos(texto).size()), quantos);
    VerificaCaixas(texto); // ends
    const QString resolvido = RemoveMarcadores(texto);
    if (texto.startsWith(u"antes")) {
        QVERIFY(resolvido.startsWith(QStringLiteral("antes ")));
        QVERIFY(resolvido.endsWith(QStringLiteral(" depois")));
    }
}

void TesteMarcadores::verificaCaixas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("faltam");
    QTest::newRow("caixa vazia") << "" << "";
    QTest::newRow("2 e 5") << "#1# #2# #3# #4-alto# #5#" << "2 5 ";
    QTest::newRow("todas preenchidas") << "#1# #2-a# #3# #4-b# #5-c#" << "";
    QTest::newRow("conclusão vazia") << TextoConclusao() << "2 4 5 8 10 11 ";
    QTest::newRow("número de dois dígitos não conta como preenchido")
        << "#1##2##3##4##5##6##7##8##9##10##11-ok#" << "2 4 5 8 10 ";
}

void TesteMarcadores::verificaCaixas()
{
    QFETCH(QString, texto);
    QFETCH(QString, faltam);
    QCOMPARE(VerificaCaixas(texto), faltam);
}

void TesteMarcadores::pergunta_data()
{
    QTest::addColumn<QString>("od");
    QTest::addColumn<bool>("odAtivo");
    QTest::addColumn<QString>("os");
    QTest::addColumn<bool>("osAtivo");
    QTest::addColumn<QString>("co");
    QTest::addColumn<QString>("esperado");
    const QString cheio = QStringLiteral("#1# #2-a# #3# #4-b# #5-c#");
    const QString vazio = QStringLiteral("#1# #2# #3# #4# #5#");
    const QString inicio = QStringLiteral("Algumas caixas obrigatórias estão sem preencher. Deseja alterá-las?\n\r");
    QTest::newRow("nada falta") << cheio << true << cheio << true << "" << "";
    QTest::newRow("só a conclusão") << cheio << true << cheio << true << "#1# #2#"
                                    << inicio + QStringLiteral("Caixa Conclusão: 2 ");
    QTest::newRow("só o esquerdo") << cheio << true << vazio << true << ""
                                   << inicio + QStringLiteral("Caixa Olho Esquerdo: 2 4 5 ");
    QTest::newRow("direito e conclusão") << vazio << true << cheio << true << "#1# #2#"
        << inicio + QStringLiteral("Caixa Olho Direito: 2 4 5  Caixa Conclusão: 2 ");
    QTest::newRow("olho sem exame não conta") << vazio << false << cheio << true << "" << "";
}

void TesteMarcadores::pergunta()
{
    QFETCH(QString, od);
    QFETCH(bool, odAtivo);
    QFETCH(QString, os);
    QFETCH(bool, osAtivo);
    QFETCH(QString, co);
    QFETCH(QString, esperado);
    QCOMPARE(PerguntaCaixasObrigatorias(od, odAtivo, os, osAtivo, co), esperado);
}

// Twenty slots: only the first eighteen are coloured, each from its "#" to its "#".
void TesteMarcadores::coloridos()
{
    QString texto;
    for (int k = 1; k <= 20; ++k)
        texto += QStringLiteral("a #%1# ").arg(k);
    const QList<Marcador> m = MarcadoresColoridos(texto);
    QCOMPARE(m.size(), 18);
    for (const Marcador& s : m)
        QCOMPARE(texto.mid(s.abre, s.fecha - s.abre + 1), QStringLiteral("#%1#").arg(s.numero));
    QCOMPARE(Marcadores(texto).size(), 20);
}

void TesteMarcadores::itemLaudo_data()
{
    QTest::addColumn<int>("codigo");
    QTest::newRow("7") << 7;
    QTest::newRow("105") << 105;
    QTest::newRow("123456") << 123456;
}

void TesteMarcadores::itemLaudo()
{
    QFETCH(int, codigo);
    const QString item = ItemLaudo(codigo, QDate(2004, 3, 5), QTime(14, 7, 9));
    QCOMPARE(item, QStringLiteral("Laudo %1 - 05/03/2004 14:07:09").arg(codigo));
    QCOMPARE(CodigoDoItem(item), codigo);
    QCOMPARE(CodigoDoItem(QStringLiteral("Laudo x - 05/03/2004")), -1);
}

QTEST_GUILESS_MAIN(TesteMarcadores)
#include "tst_marcadores.moc"
