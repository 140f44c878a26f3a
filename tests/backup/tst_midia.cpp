// The medium: preparation of a new one with its questions, the database copy and the checks
// and swap of a restore.
#include "tests/backup/UCenarioBackup.h"

#include "backup/UMidia.h"
#include "common/UTextoCp1252.h"
#include "config/UArquivoIni.h"
#include "platform/UDrives.h"

#include <QtTest>

using namespace Backup;
using R = RespostaMensagem;

class TesteMidia : public QObject {
    Q_OBJECT
private slots:
    void novaMidia_data();
    void novaMidia();
    void bancoIdaEVolta();
    void trocaQueNaoConecta();
    void bancoDanificado_data();
    void bancoDanificado();
};

void TesteMidia::novaMidia_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QList<R>>("respostas");
    QTest::addColumn<bool>("programaInicia");
    QTest::addColumn<bool>("destinoExiste");
    QTest::addColumn<FimPreparacao>("fim");
    QTest::addColumn<QString>("zipDat");     // empty: no file
    QTest::addColumn<QString>("disco");      // DiscoAtual afterwards
    QTest::addColumn<QString>("ultima");     // last message
    const QString novo = QStringLiteral("Insira um NOVO disco no drive e pressione OK.");
    QTest::newRow("cancelar") << "ZIP" << QList<R>{R::Cancelar} << true << true << FimPreparacao::Cancelada << "" << "12" << novo;
    QTest::newRow("ZIP sem formatar") << "zip" << QList<R>{R::Ok, R::Nao} << true << true << FimPreparacao::Preparada << "ZRQK0013"
                                      << "13" << "";
    QTest::newRow("CDR Não") << "CDR" << QList<R>{R::Ok, R::Nao} << true << true << FimPreparacao::Preparada << "ZRQK0013" << "13"
                             << "";
    QTest::newRow("CDR Sim, não continuar") << "CDR" << QList<R>{R::Ok, R::Sim, R::Nao} << true << true << FimPreparacao::Encerra
                                            << "" << "12" << "Deseja continuar o BackUp?";
    QTest::newRow("CDR Sim, continuar") << "CDR" << QList<R>{R::Ok, R::Sim, R::Sim} << true << true << FimPreparacao::Preparada
                                        << "ZRQK0013" << "13" << "";
    QTest::newRow("CDR sem gravar a identidade") << "CDR" << QList<R>{R::Ok, R::Nao, R::Ok} << true << false << FimPreparacao::Encerra
                                                 << "" << "12"
                                                 << "Erro ao gravar o arquivo .dat no CD. O BackUp será encerrado.";
    QTest::newRow("outro tipo") << "DVD" << QList<R>{R::Ok} << true << true << FimPreparacao::Preparada << "" << "13" << "";
}

void TesteMidia::novaMidia()
{
    QFETCH(QString, tipo);
    QFETCH(QList<R>, respostas);
    QFETCH(bool, programaInicia);
    QFETCH(bool, destinoExiste);
    QFETCH(FimPreparacao, fim);
    QFETCH(QString, zipDat);
    QFETCH(QString, disco);
    QFETCH(QString, ultima);
    QTemporaryDir pasta;
    const QString ini = pasta.filePath(QStringLiteral("BackUp.ini"));
    const QString destino = pasta.filePath(destinoExiste ? QStringLiteral("midia") : QStringLiteral("ausente"));
    QDir().mkpath(pasta.filePath(QStringLiteral("midia")));
    EscreveChaves(ini, {{"TipoBkp", tipo}, {"DirectCD", "formatacd"}, {"DiscoAtual", "12"}, {"NumArquivos", "40"}});
    // The medium answers as ready with 650 MB whatever the folder.
    DefineConsultaDrive([](const QString&) { return EstadoDrive{true, 1000, 650 << 20, {}}; });
    MensagensRoteiro msgs;
    for (R r : respostas)
        msgs.Responde(r);
    QStringList executados;
    QList<int> esperas;
    Ambiente amb{[&](const QString& p) { executados << p; return programaInicia; }, [&](int s) { esperas << s; }};

    const FimPreparacao resultado = PreparaNovaMidia(destino, ini, amb);
    DefineConsultaDrive({});
    QCOMPARE(resultado, fim);
    QVERIFY2(msgs.Inesperadas().isEmpty(), qPrintable(msgs.Inesperadas().join(u'\n')));
    if (!ultima.isEmpty())
        QCOMPARE(msgs.Textos().last(), ultima);
    QFile dat(destino + QStringLiteral("/zip.dat"));
    QCOMPARE(dat.open(QIODevice::ReadOnly) ? QString::fromLatin1(dat.readAll()) : QString(), zipDat);
    QCOMPARE(LeTexto(ini, "DiscoAtual"), disco);
    QCOMPARE(LeTexto(ini, "NumArquivos"), disco == "13" ? QStringLiteral("0") : QStringLiteral("40"));
    const bool formatou = respostas.size() > 1 && respostas[1] == R::Sim && tipo == "CDR";
    QCOMPARE(executados, formatou ? QStringList{"formatacd"} : QStringList{});
    QCOMPARE(esperas, formatou ? QList<int>{7} : QList<int>{});
}

// Every examination code and generator value, as a second attachment reads them.
static QStringList Conteudo(const QString& banco)
{
    fb::Conexao c;
    c.Abre(banco, {QStringLiteral("user_name=sysdba"), QStringLiteral("password=qwzk47")});
    fb::Transacao t(c);
    t.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
    fb::Comando q(c);
    q.Prepara(t, QStringLiteral("SELECT Codigo || ':' || Backup || ':' || CodPaciente FROM Exames ORDER BY Codigo"));
    q.Executa(t);
    QStringList linhas;
    QVector<QVariant> l;
    while (q.Busca(l))
        linhas << l.value(0).toString();
    q.FechaCursor();
    q.Prepara(t, QStringLiteral("SELECT GEN_ID(Codigo_Exames, 0) FROM RDB$DATABASE"));
    q.Executa(t);
    q.Busca(l);
    linhas << QStringLiteral("gerador ") + l.value(0).toString();
    q.FechaCursor();
    t.Commit();
    return linhas;
}

void TesteMidia::bancoIdaEVolta()
{
    CenarioBackup c;
    QVERIFY(c.Valido());
    const int a = c.Exame(), b = c.Exame();
    QTemporaryDir midia;
    const QString ini = c.IniBackup();
    CopiaBanco(c.DM().NomeBanco(), midia.path(), ini, QString());
    const QStringList antes = Conteudo(c.banco.Arquivo());
    QVERIFY(QFileInfo::exists(midia.filePath("BackUp.ini")));

    // Rows changed, added and deleted after the backup.
    TDExames(c.DM()).AtualizaBackupExame(a, QStringLiteral("X"));
    TDExames(c.DM()).ExcluiExame(b);
    c.Exame();
    QVERIFY(Conteudo(c.banco.Arquivo()) != antes);

    const QString novo = PreparaBancoRestaurado(midia.path(), c.DM().NomeBanco());
    QVERIFY(TrocaBanco(c.DM(), novo));
    QVERIFY(c.DM().Conectado());
    QCOMPARE(Conteudo(c.banco.Arquivo()), antes);
    // The replaced database is kept beside it under a dated name.
    QCOMPARE(QDir(QFileInfo(c.banco.Arquivo()).path()).entryList({"DATABASE *.GDB"}).size(), 1);
}

// A file that does not open as a database: the old one is put back and connected again.
void TesteMidia::trocaQueNaoConecta()
{
    CenarioBackup c;
    QVERIFY(c.Valido());
    c.Exame();
    const QStringList antes = Conteudo(c.banco.Arquivo());
    const QString novo = c.banco.Arquivo() + QStringLiteral(".restaurado");
    GravaArquivoBytes(novo, QByteArray(8192, 'x'));
    QVERIFY(!TrocaBanco(c.DM(), novo));
    QVERIFY(c.DM().Conectado());
    QCOMPARE(Conteudo(c.banco.Arquivo()), antes);
    QCOMPARE(QDir(QFileInfo(c.banco.Arquivo()).path()).entryList(QDir::Files),
             (QStringList{"DATABASE.GDB", "DATABASE.GDB.restaurado"}));
}

void TesteMidia::bancoDanificado_data()
{
    QTest::addColumn<QString>("dano");
    QTest::newRow("um byte trocado") << "byte";
    QTest::newRow("truncado") << "truncado";
    QTest::newRow("sem resumo") << "resumo";
    QTest::newRow("sem cópia") << "copia";
}

void TesteMidia::bancoDanificado()
{
    QFETCH(QString, dano);
    CenarioBackup c;
    QVERIFY(c.Valido());
    QTemporaryDir midia;
    CopiaBanco(c.DM().NomeBanco(), midia.path(), c.IniBackup(), QString());
    const QString fbk = ArquivoCopiaBanco(midia.path());
    QFile f(fbk);
    if (dano == "byte") {
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        char ch;
        f.getChar(&ch);
        f.seek(f.size() / 2);
        f.putChar(char(ch ^ 0x55));
        f.close();
    } else if (dano == "truncado") {
        QVERIFY(f.resize(f.size() / 3));
    } else if (dano == "resumo") {
        QVERIFY(QFile::remove(ArquivoResumoBanco(midia.path())));
    } else {
        QVERIFY(f.remove());
    }
    const QStringList antes = Conteudo(c.banco.Arquivo());
    bool recusado = false;
    try {
        PreparaBancoRestaurado(midia.path(), c.DM().NomeBanco());
    } catch (const ErroSistema& e) {
        recusado = e.Mensagem().contains(QStringLiteral("Nada foi restaurado."));
    }
    QVERIFY(recusado);
    QCOMPARE(QDir(QFileInfo(c.banco.Arquivo()).path()).entryList(QDir::Files), QStringList{"DATABASE.GDB"});
    QCOMPARE(Conteudo(c.banco.Arquivo()), antes);
}

QTEST_MAIN(TesteMidia)
#include "tst_midia.moc"
