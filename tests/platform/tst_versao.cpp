// The version reader on real built files.

#include "common/UErros.h"
#include "platform/UBVersionInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TesteVersao : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { TBVersionInfo::DefineExecutavelPrograma(QString()); }
    void leVersao_data();
    void leVersao();
    void edicao_data();
    void edicao();
    void semVersao();
    void arquivosQueNaoSaoPrograma();
    void programaDoSistema();
};

void TesteVersao::leVersao_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<QString>("versao");
    QTest::addColumn<QStringList>("partes");
    QTest::addColumn<int>("compilacao");
    QTest::newRow("padrão") << ARQ_PADRAO << "3.2.0.0" << QStringList{"3", "2", "0", "0"} << 0;
    QTest::newRow("orto-k") << ARQ_ORTO << "3.3.1.7" << QStringList{"3", "3", "1", "7"} << 7;
    QTest::newRow("módulo") << ARQ_MODULO << "1.0.4.12" << QStringList{"1", "0", "4", "12"} << 12;
}

void TesteVersao::leVersao()
{
    QFETCH(QString, arquivo);
    QFETCH(QString, versao);
    QFETCH(QStringList, partes);
    QFETCH(int, compilacao);
    TBVersionInfo v;
    QVERIFY(v.LeVersao(arquivo));
    QCOMPARE(v.VersaoPrograma(), versao);
    QCOMPARE(QStringList({v.Major, v.Minor, v.Release, v.Build}), partes);
    QCOMPARE(v.Compilacao(), compilacao);
    QCOMPARE(TBVersionInfo::VersaoArquivo(arquivo), versao);

    InfoVersaoArquivo info;
    QVERIFY(LeInfoVersaoArquivo(arquivo, info));
    QString traducao;
    QVERIFY(ConsultaInfoVersao(info, QStringLiteral("\\VarFileInfo\\Translation"), traducao));
    QCOMPARE(traducao, QStringLiteral("041604e4"));
    QString texto;
    QVERIFY(ConsultaInfoVersao(info, QStringLiteral("\\StringFileInfo\\041604e4\\FileVersion"), texto));
    QCOMPARE(texto, versao);
    QVERIFY(!ConsultaInfoVersao(info, QStringLiteral("\\StringFileInfo\\04090000\\FileVersion"), texto));
}

void TesteVersao::edicao_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<bool>("orto");
    QTest::newRow("3.2.0.0 padrão") << ARQ_PADRAO << false;
    QTest::newRow("3.3.1.7 orto-k") << ARQ_ORTO << true;
}

void TesteVersao::edicao()
{
    QFETCH(QString, arquivo);
    QFETCH(bool, orto);
    TBVersionInfo v;
    v.LeVersao(ARQ_MODULO);
    TBVersionInfo::DefineExecutavelPrograma(arquivo);
    QCOMPARE(v.OrthoEdition(), orto);
    // Every test reads the executable again, replacing what was read before.
    QCOMPARE(v.Minor, orto ? QStringLiteral("3") : QStringLiteral("2"));
}

void TesteVersao::semVersao()
{
    TBVersionInfo v;
    QVERIFY(v.LeVersao(ARQ_PADRAO));
    QVERIFY(!v.LeVersao(ARQ_SEM_VERSAO));
    QVERIFY(v.FileVersion.isEmpty() && v.Major.isEmpty() && v.Minor.isEmpty()
            && v.Release.isEmpty() && v.Build.isEmpty() && v.ProductName.isEmpty());
    QVERIFY(TBVersionInfo::VersaoArquivo(ARQ_SEM_VERSAO).isEmpty());
    QVERIFY_THROWS_EXCEPTION(ErroConversao, v.Compilacao());
    TBVersionInfo::DefineExecutavelPrograma(ARQ_SEM_VERSAO);
    QVERIFY_THROWS_EXCEPTION(ErroConversao, v.OrthoEdition());
}

void TesteVersao::arquivosQueNaoSaoPrograma()
{
    QTemporaryDir pasta;
    const QString texto = pasta.filePath(QStringLiteral("Axial.so"));
    QFile f(texto);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("ZRVERSAO 1\nFIXA 9 9 9 9\n");
    f.close();
    QFile truncado(pasta.filePath(QStringLiteral("truncado.so")));
    QVERIFY(truncado.open(QIODevice::WriteOnly));
    QFile original(ARQ_MODULO);
    QVERIFY(original.open(QIODevice::ReadOnly));
    truncado.write(original.read(100)); // an ELF header whose sections are cut off
    truncado.close();
    for (const QString& arquivo : {texto, truncado.fileName(), pasta.filePath("ausente.so"), pasta.path()}) {
        InfoVersaoArquivo info;
        QVERIFY2(!LeInfoVersaoArquivo(arquivo, info), qPrintable(arquivo));
        QVERIFY(TBVersionInfo::VersaoArquivo(arquivo).isEmpty());
    }
}

void TesteVersao::programaDoSistema()
{
    TBVersionInfo v;
    QVERIFY(v.LeVersao(ARQ_PROGRAMA));
    QCOMPARE(v.VersaoPrograma(), QStringLiteral(VERSAO_PROGRAMA));
    QCOMPARE(v.ProductName, QStringLiteral("KORVANE32M"));
    QCOMPARE(v.FileDescription, QStringLiteral("Topógrafo de córnea - estação clínica"));
}

QTEST_GUILESS_MAIN(TesteVersao)
#include "tst_versao.moc"
