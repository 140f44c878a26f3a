// Number, date and text-file formats shared by every file the system writes.

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TesteFormatos : public QObject {
    Q_OBJECT
private slots:
    void padroes_data();
    void padroes();
    void arredondaInteiro_data();
    void arredondaInteiro();
    void formaGeral_data();
    void formaGeral();
    void inteiros_data();
    void inteiros();
    void reais_data();
    void reais();
    void datasEHoras();
    void textoCp1252();
    void arquivoTextoCrLf();
    void gravacaoFalhaSemPerderArquivo();
};

void TesteFormatos::padroes_data()
{
    QTest::addColumn<QString>("padrao");
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("meia casa acima") << "00.00" << 43.5 << "43.50";
    QTest::newRow("dois digitos inteiros") << "00.00" << 7.25 << "07.25";
    QTest::newRow("negativo com zeros") << "00.00" << -1.5 << "-01.50";
    QTest::newRow("tres digitos inteiros") << "00.00" << 123.456 << "123.46";
    QTest::newRow("metade arredonda para longe do zero") << "00.00" << 0.125 << "00.13";
    QTest::newRow("1.005 em 15 digitos") << "0.00" << 1.005 << "1.01";
    QTest::newRow("2.675 em 15 digitos") << "0.00" << 2.675 << "2.68";
    QTest::newRow("vai-um em cadeia") << "0.00" << 9.995 << "10.00";
    QTest::newRow("negativo arredondado a zero") << "0.00" << -0.001 << "0.00";
    QTest::newRow("opcionais cortam zeros") << "0.##" << 2.0 << "2";
    QTest::newRow("opcionais meia casa") << "0.##" << 1.5 << "1.5";
    QTest::newRow("opcionais arredondam") << "0.##" << 1.006 << "1.01";
    QTest::newRow("tres opcionais") << "0.###" << 0.1235 << "0.124";
    QTest::newRow("quatro digitos") << "0000" << 57.0 << "0057";
    QTest::newRow("inteiro metade positiva") << "0" << 2.5 << "3";
    QTest::newRow("inteiro metade negativa") << "0" << -2.5 << "-3";
    QTest::newRow("inteiro centro") << "0" << 319.6 << "320";
    QTest::newRow("zero inteiro") << "0" << 0.0 << "0";
    QTest::newRow("cerquilha e zeros") << "#0.0000" << 0.5 << "0.5000";
    QTest::newRow("porcentagem") << "0.00%" << 0.1234 << "12.34%";
    QTest::newRow("milhares") << "#,##0.00;(#,##0.00)" << 1234.5 << "1,234.50";
    QTest::newRow("milhares milhoes") << "#,##0.00;(#,##0.00)" << 1234567.891 << "1,234,567.89";
    QTest::newRow("secao negativa") << "#,##0.00;(#,##0.00)" << -0.25 << "(0.25)";
    QTest::newRow("secao negativa milhares") << "#,##0.00;(#,##0.00)" << -1234.5 << "(1,234.50)";
    QTest::newRow("secao zero") << "0.00;-0.00;'zero'" << 0.001 << "zero";
    QTest::newRow("pequeno sem inteiros") << "#.00" << 0.5 << ".50";
}

void TesteFormatos::padroes()
{
    QFETCH(QString, padrao);
    QFETCH(double, valor);
    QFETCH(QString, esperado);
    QCOMPARE(FormataNumero(padrao, valor), esperado);
}

void TesteFormatos::arredondaInteiro_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<qint64>("esperado");
    QTest::newRow("2.5 para par") << 2.5 << qint64(2);
    QTest::newRow("3.5 para par") << 3.5 << qint64(4);
    QTest::newRow("-2.5 para par") << -2.5 << qint64(-2);
    QTest::newRow("0.5 para zero") << 0.5 << qint64(0);
    QTest::newRow("abaixo da metade") << 2.4999 << qint64(2);
    QTest::newRow("acima da metade") << -7.51 << qint64(-8);
}

void TesteFormatos::arredondaInteiro()
{
    QFETCH(double, valor);
    QFETCH(qint64, esperado);
    QCOMPARE(ArredondaInteiro(valor), esperado);
}

void TesteFormatos::formaGeral_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("decimo") << 0.1 << "0.1";
    QTest::newRow("inteiro") << 10.0 << "10";
    QTest::newRow("negativo") << -2.5 << "-2.5";
    QTest::newRow("quinze digitos") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("arredonda no 15o digito") << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("inteiro grande") << 123456789012345.0 << "123456789012345";
    QTest::newRow("pequeno fixo") << 0.0001 << "0.0001";
    QTest::newRow("pequeno fixo limite") << 0.00001 << "0.00001";
    QTest::newRow("muito pequeno") << 0.000001 << "1E-6";
    QTest::newRow("muito grande") << 1.5e20 << "1.5E20";
    QTest::newRow("coeficiente") << 0.0123456 << "0.0123456";
}

void TesteFormatos::formaGeral()
{
    QFETCH(double, valor);
    QFETCH(QString, esperado);
    QCOMPARE(FormataGeral(valor), esperado);
}

void TesteFormatos::inteiros_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<int>("valor");
    QTest::newRow("simples") << "12" << true << 12;
    QTest::newRow("negativo") << "-5" << true << -5;
    QTest::newRow("branco antes") << " 12" << true << 12;
    QTest::newRow("branco depois") << "12 " << false << 0;
    QTest::newRow("hexa 0x") << "0x10" << true << 16;
    QTest::newRow("hexa cifrao") << "$1F" << true << 31;
    QTest::newRow("hexa 32 bits") << "0xFFFFFFFF" << true << -1;
    QTest::newRow("palavra") << "abc" << false << 0;
    QTest::newRow("vazio") << "" << false << 0;
    QTest::newRow("so sinal") << "-" << false << 0;
    QTest::newRow("decimal") << "1.5" << false << 0;
    QTest::newRow("estouro") << "2147483648" << false << 0;
    QTest::newRow("minimo") << "-2147483648" << true << int(-2147483647 - 1);
}

void TesteFormatos::inteiros()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(int, valor);
    int32_t v = 0;
    QCOMPARE(TentaInteiro(texto, v), valido);
    if (valido) {
        QCOMPARE(v, valor);
        QCOMPARE(TextoParaInteiro(texto), valor);
    } else {
        QVERIFY_THROWS_EXCEPTION(ErroConversao, TextoParaInteiro(texto));
    }
}

void TesteFormatos::reais_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<double>("valor");
    QTest::newRow("ponto") << "1.5" << true << 1.5;
    QTest::newRow("brancos") << " 0.0125 " << true << 0.0125;
    QTest::newRow("virgula recusada") << "1,5" << false << 0.0;
    QTest::newRow("expoente") << "1e3" << true << 1000.0;
    QTest::newRow("sem inteiros") << ".5" << true << 0.5;
    QTest::newRow("sem decimais") << "5." << true << 5.0;
    QTest::newRow("so ponto") << "." << false << 0.0;
    QTest::newRow("palavra") << "Erro no parâmetro: ZR ->  Z0" << false << 0.0;
    QTest::newRow("infinito recusado") << "inf" << false << 0.0;
}

void TesteFormatos::reais()
{
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(double, valor);
    double v = 0;
    QCOMPARE(TentaReal(texto, v), valido);
    if (valido)
        QCOMPARE(v, valor);
    else
        QVERIFY_THROWS_EXCEPTION(ErroConversao, TextoParaReal(texto));
}

void TesteFormatos::datasEHoras()
{
    QCOMPARE(FormataData(QDate(2026, 1, 5)), QStringLiteral("05/01/2026"));
    QCOMPARE(FormataHora(QTime(9, 5, 3)), QStringLiteral("09:05:03"));
    QCOMPARE(FormataDataHora(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 0))),
             QStringLiteral("09/12/2026 23:59:00"));
    QCOMPARE(TextoParaData(QStringLiteral("05/01/2026")), QDate(2026, 1, 5));
    QCOMPARE(TextoParaData(QStringLiteral("5/1/26")), QDate(2026, 1, 5));
    QVERIFY_THROWS_EXCEPTION(ErroConversao, TextoParaData(QStringLiteral("31/02/2026")));
    QVERIFY_THROWS_EXCEPTION(ErroConversao, TextoParaData(QStringLiteral("2026-01-05")));
    QCOMPARE(TextoParaHora(QStringLiteral("09:05:03")), QTime(9, 5, 3));
    QVERIFY_THROWS_EXCEPTION(ErroConversao, TextoParaHora(QStringLiteral("25:00:00")));
}

void TesteFormatos::textoCp1252()
{
    const QString texto = QStringLiteral("Ação Ótima çÇ ºª €");
    const QByteArray bytes = ParaCp1252(texto);
    QCOMPARE(bytes, QByteArray("A\xe7\xe3o \xd3tima \xe7\xc7 \xba\xaa \x80"));
    QCOMPARE(DeCp1252(bytes), texto);
    QCOMPARE(DivideLinhas(QStringLiteral("a\r\nb\nc\rd\r\n")),
             QStringList({"a", "b", "c", "d"}));
    QCOMPARE(DivideLinhas(QStringLiteral("a\r\n\r\nb")), QStringList({"a", "", "b"}));
}

void TesteFormatos::arquivoTextoCrLf()
{
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("x.txt"));
    GravaArquivoTexto(caminho, {QStringLiteral("Médico"), QString(), QStringLiteral("fim ")});
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("M\xe9" "dico\r\n\r\nfim \r\n"));
    QCOMPARE(LeArquivoTexto(caminho), QStringList({"Médico", "", "fim "}));
}

void TesteFormatos::gravacaoFalhaSemPerderArquivo()
{
    QTemporaryDir pasta;
    QVERIFY_THROWS_EXCEPTION(ErroES, GravaArquivoTexto(pasta.filePath("nao/existe/x.txt"), {"a"}));
    QVERIFY_THROWS_EXCEPTION(ErroES, LeArquivoTexto(pasta.filePath("ausente.txt")));
}

QTEST_GUILESS_MAIN(TesteFormatos)
#include "tst_formatos.moc"
