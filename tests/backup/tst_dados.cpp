// The backup's work on a real database: the lists handed to the module, the rows whose files
// are gone, the marks stored from the module's lines, and the reset of the backup state.
#include "tests/backup/UCenarioBackup.h"

#include "common/UTextoCp1252.h"
#include "config/UArquivoIni.h"
#include "data/UFirebird.h"

#include <QtTest>

#include <memory>

using namespace Backup;

class TesteDadosBackup : public QObject {
    Q_OBJECT
private slots:
    void init() { c = std::make_unique<CenarioBackup>(); QVERIFY(c->Valido()); }
    void cleanup() { c.reset(); }

    void preparacao();
    void raizIlegivel();
    void marcas_data();
    void marcas();
    void zera_data();
    void zera();

private:
    std::unique_ptr<CenarioBackup> c;
};

void TesteDadosBackup::preparacao()
{
    const int completo = c->Exame();
    const int soM = c->Exame({"m.txt"});
    const int nenhum = c->Exame({});
    c->Exame({"a.txt", "d.txt", "m.txt"}, QStringLiteral("ZRQK0001")); // already on a medium
    const int l1 = c->Laudo(), sem = c->Laudo(false), l2 = c->Laudo();
    const QString p = QString::number(c->paciente) + u'/';

    int passos = 0;
    const Lista exames = PreparaExames(c->DM(), PathsZR.Exames, [&] { ++passos; });
    QVERIFY(exames.valida);
    QCOMPARE(exames.codigos, (QList<int>{completo, soM}));
    QCOMPARE(exames.arquivos, (QStringList{p + QString::number(completo) + "a.txt", p + QString::number(completo) + "d.txt",
                                           p + QString::number(completo) + "m.txt", p + QString::number(soM) + "a.txt",
                                           p + QString::number(soM) + "d.txt", p + QString::number(soM) + "m.txt"}));
    QCOMPARE(passos, 2);
    QCOMPARE(exames.log, QStringList{"Exame não encontrado: " + p + QString::number(nenhum)});
    // The missing examination is gone as the navigator removes one: row and patient count.
    QVERIFY(!c->Valor("SELECT Codigo FROM Exames WHERE Codigo=:C", nenhum).isValid());
    QCOMPARE(TDPacientes(c->DM()).TotalExamesPaciente(c->paciente), 3);

    const Lista laudos = PreparaLaudos(c->DM(), PathsZR.Laudos);
    QCOMPARE(laudos.codigos, (QList<int>{l1, l2}));
    QCOMPARE(laudos.arquivos, (QStringList{p + QString::number(l1) + "l.txt", p + QString::number(l2) + "l.txt"}));
    QCOMPARE(laudos.log, QStringList{"Laudo não encontrado: " + p + QString::number(sem) + "l.txt"});
    QVERIFY(!c->Valor("SELECT Codigo FROM Laudos WHERE Codigo=:C", sem).isValid());

    // Once marked, nothing is listed again.
    QCOMPARE(GravaMarcas(c->DM(), Tabela::Exames, exames.codigos, {"A1", "A2"}), ResultadoMarcas::Gravadas);
    QCOMPARE(GravaMarcas(c->DM(), Tabela::Laudos, laudos.codigos, {"L1", "L2"}), ResultadoMarcas::Gravadas);
    QVERIFY(PreparaExames(c->DM(), PathsZR.Exames).codigos.isEmpty());
    QVERIFY(PreparaLaudos(c->DM(), PathsZR.Laudos).codigos.isEmpty());
}

// A root that is not there (a disconnected disk) deletes nothing.
void TesteDadosBackup::raizIlegivel()
{
    const int exame = c->Exame();
    const int laudo = c->Laudo();
    const QString ausente = PathsZR.Exames + QStringLiteral("_desconectado");
    QVERIFY(!PreparaExames(c->DM(), ausente).valida);
    QVERIFY(!PreparaLaudos(c->DM(), ausente).valida);
    QVERIFY(c->Valor("SELECT Codigo FROM Exames WHERE Codigo=:C", exame).isValid());
    QVERIFY(c->Valor("SELECT Codigo FROM Laudos WHERE Codigo=:C", laudo).isValid());
}

void TesteDadosBackup::marcas_data()
{
    QTest::addColumn<QStringList>("linhas");
    QTest::addColumn<QStringList>("gravadas");
    QTest::addColumn<bool>("longa");
    QTest::newRow("três marcas, três linhas") << QStringList{"ZRQK0001", "ZRQK0002", "ZRQK0003"}
                                              << QStringList{"ZRQK0001", "ZRQK0002", "ZRQK0003"} << false;
    QTest::newRow("menos linhas que laudos") << QStringList{"M1", "M2"} << QStringList{"M1", "M2", ""} << false;
    QTest::newRow("linha vazia") << QStringList{"M1", "", "M3"} << QStringList{"M1", "", "M3"} << false;
    QTest::newRow("mais de 10 caracteres") << QStringList{"M1", "ZRQK000001X", "M3"} << QStringList{"", "", ""}
                                           << true;
}

void TesteDadosBackup::marcas()
{
    QFETCH(QStringList, linhas);
    QFETCH(QStringList, gravadas);
    QFETCH(bool, longa);
    const QList<int> laudos{c->Laudo(), c->Laudo(), c->Laudo()};
    QCOMPARE(PreparaLaudos(c->DM(), PathsZR.Laudos).codigos, laudos);
    QCOMPARE(GravaMarcas(c->DM(), Tabela::Laudos, laudos, linhas),
             longa ? ResultadoMarcas::MarcaLonga : ResultadoMarcas::Gravadas);
    QStringList lidas;
    for (int l : laudos)
        lidas << c->MarcaLaudo(l);
    QCOMPARE(lidas, gravadas);
}

// Counts the marked rows as another attachment sees them (what is committed).
static int MarcadosVistosDeFora(const QString& banco)
{
    fb::Conexao conexao;
    conexao.Abre(banco, {QStringLiteral("user_name=sysdba"), QStringLiteral("password=qwzk47")});
    fb::Transacao t(conexao);
    t.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
    fb::Comando q(conexao);
    q.Prepara(t, QStringLiteral("SELECT (SELECT COUNT(*) FROM Exames WHERE Backup<>'') + "
                                "(SELECT COUNT(*) FROM Laudos WHERE Backup<>'') FROM RDB$DATABASE"));
    q.Executa(t);
    QVector<QVariant> linha;
    q.Busca(linha);
    q.FechaCursor();
    t.Commit();
    return linha.value(0).toInt();
}

void TesteDadosBackup::zera_data()
{
    QTest::addColumn<bool>("falha");
    QTest::newRow("zerado") << false;
    QTest::newRow("o banco recusa os laudos") << true;
}

void TesteDadosBackup::zera()
{
    QFETCH(bool, falha);
    const QString ini = c->IniBackup();
    ArquivoIni::Escreve(ini, QStringLiteral("BACKUP"), QStringLiteral("BackupZerado"), QStringLiteral("4"));
    ArquivoIni::Escreve(ini, QStringLiteral("BACKUP"), QStringLiteral("DiscoAtual"), QStringLiteral("7"));
    c->Exame({"a.txt"}, QStringLiteral("ZRQK0003"));
    c->Exame({"a.txt"}, QStringLiteral("ZRQK0004"));
    TDLaudos(c->DM()).InsereLaudo(c->paciente, 0, 0, QStringLiteral("ZRQK0004"), QDate(2024, 1, 1), QTime(9, 0));
    if (falha) {
        c->DM().IBDatabase.ExecutaImediato(c->DM().IBTransaction,
                                           QStringLiteral("CREATE OR ALTER PROCEDURE ZeraBackupLaudos AS "
                                                          "DECLARE x INTEGER; BEGIN x = 1 / 0; END"));
        c->DM().PCommitDataBase();
    }
    const QByteArray antes = [&] { QFile f(ini); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    int vezes = 0;
    const ResultadoZera r = ZeraBackup(c->DM(), ini, &vezes);
    const QByteArray depois = [&] { QFile f(ini); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    if (falha) {
        QCOMPARE(r, ResultadoZera::FalhaBanco);
        QCOMPARE(MarcadosVistosDeFora(c->banco.Arquivo()), 3);
        QCOMPARE(depois, antes);
        return;
    }
    QCOMPARE(r, ResultadoZera::Zerado);
    QCOMPARE(vezes, 5);
    QCOMPARE(MarcadosVistosDeFora(c->banco.Arquivo()), 0);
    const QList<QPair<QString, QString>> esperadas{
        {"DiscoAtual", "1"},   {"ArquivoAtual", "0"}, {"NumArquivos", "0"},
        {"NumArquivosLau", "0"}, {"ArquivosGeral", "0"}, {"NumExamDisco", "0"},
        {"NumExamGeral", "0"}, {"NumLauDisco", "0"},  {"UltDsk", "01/01/2007 00:00:00"},
        {"UltBkp", "01/01/2007 00:00:00"}, {"BackupZerado", "5"}};
    for (const auto& e : esperadas)
        QCOMPARE(LeTexto(ini, e.first), e.second);
}

QTEST_MAIN(TesteDadosBackup)
#include "tst_dados.moc"
