// Examinations: every operation, which ones commit (seen by a second attachment) and which
// leave it to the caller, the backup tags, counts, and the backup cursor.

#include "data/UDExames.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "tests/support/UBancoTeste.h"

#include <QtTest>

namespace {
QVariant ValorConfirmado(const QString& arquivo, const QString& sql)
{
    TDMPrincipal outro;
    if (!outro.PSetDataBaseName(arquivo))
        return QStringLiteral("sem conexão");
    ConsultaBD& op = *outro.IBOperation;
    op.DefineSQL(sql);
    op.Abre();
    return op.Vazia() ? QVariant() : op.Campo(op.Colunas().first());
}

QVariant ValorLocal(TDMPrincipal& dm, const QString& sql)
{
    ConsultaBD& op = *dm.IBOperation;
    op.Fecha();
    op.DefineSQL(sql);
    op.Abre();
    const QVariant v = op.Vazia() ? QVariant() : op.Campo(op.Colunas().first());
    op.Fecha();
    return v;
}
} // namespace

class TesteExames : public QObject {
    Q_OBJECT
    BancoTeste* m_banco = nullptr;
    TDMPrincipal& DM() { return m_banco->DM(); }

    // Two doctors, two patients, and examinations:
    //   1: patient 1, doctor 1, OD, backup ""      2: patient 1, doctor 2, OS, backup "D001"
    //   3: patient 2, doctor 1, OD, backup ""      4: patient 2, doctor 1, OS, backup "D002"
    void Povoa()
    {
        TDadosMedico m;
        m.Nome = "Dr. Um";
        TDMedicos(DM()).InsereMedico(m);
        m.Nome = "Dra. Dois";
        TDMedicos(DM()).InsereMedico(m);
        TDadosPaciente p;
        p.Nome = "Paciente Um";
        TDPacientes(DM()).InserePaciente(p, QDate(2024, 1, 1), 2);
        p.Nome = "Paciente Dois";
        TDPacientes(DM()).InserePaciente(p, QDate(2024, 1, 1), 2);
        TDExames e(DM());
        e.InsereExame(1, 1, QDate(2024, 2, 1), QTime(9, 0, 0), "OD", 0.91, "T", "", "", "", 32, "1");
        e.InsereExame(1, 2, QDate(2024, 2, 1), QTime(9, 0, 5), "OS", 0.92, "T", "D001", "", "", 32, "1");
        e.InsereExame(2, 1, QDate(2024, 2, 2), QTime(10, 0, 0), "OD", 0.93, "T", "", "", "", 16, "2");
        e.InsereExame(2, 1, QDate(2024, 2, 2), QTime(10, 0, 5), "OS", 0.94, "O", "D002", "", "", 16, "2");
    }

private slots:
    void init()
    {
        m_banco = new BancoTeste;
        QVERIFY(m_banco->Valido());
        Povoa();
    }
    void cleanup() { delete m_banco; }

    void insereExameGravaCadaColuna()
    {
        TDExames(DM()).InsereExame(2, 2, QDate(2025, 12, 31), QTime(23, 59, 58), "OS", 0.875, "O",
                                   "D009", "Ceratocone grau II", "Olho seco; lágrima d'água", 32, "4");
        TDMPrincipal outro;
        QVERIFY(outro.PSetDataBaseName(m_banco->Arquivo()));
        ConsultaBD& op = *outro.IBOperation;
        op.DefineSQL("select * from EXAMES where CODIGO = 5");
        op.Abre();
        QCOMPARE(op.Inteiro("CODPACIENTE"), 2);
        QCOMPARE(op.Inteiro("CODRESP"), 2);
        QCOMPARE(op.Data("DATA"), QDate(2025, 12, 31));
        QCOMPARE(op.Hora("HORA"), QTime(23, 59, 58));
        QCOMPARE(op.Texto("OLHO"), QStringLiteral("OS"));
        QCOMPARE(op.Real("INDCONF"), 0.875);
        QCOMPARE(op.Texto("TIPOEXAME"), QStringLiteral("O"));
        QCOMPARE(op.Texto("BACKUP"), QStringLiteral("D009"));
        QCOMPARE(op.Texto("DIAG"), QStringLiteral("Ceratocone grau II"));
        QCOMPARE(op.Texto("OBSERVACAO"), QStringLiteral("Olho seco; lágrima d'água"));
        QCOMPARE(op.Inteiro("NUMANEL"), 32);
        QCOMPARE(op.Texto("TIPOCONE"), QStringLiteral("4"));
    }

    void exameDePacienteInexistenteEhRecusado()
    {
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados,
                                 TDExames(DM()).InsereExame(77, 1, QDate(2024, 1, 1), QTime(1, 0), "OD",
                                                            1.0, "T", "", "", "", 32, "1"));
        DM().IBTransaction.Rollback();
        QCOMPARE(TDExames(DM()).ContaExames(), 4);
    }

    // Which operations commit: a second attachment sees the change at once, or only
    // after the caller's commit.
    void confirmacao_data()
    {
        QTest::addColumn<QString>("operacao");
        QTest::addColumn<QString>("verificacao");
        QTest::addColumn<QVariant>("esperado");
        QTest::addColumn<bool>("confirma");
        QTest::addColumn<bool>("executorAberto");
        QTest::newRow("AtualizaBackupExame") << "AtualizaBackupExame"
                                             << "select BACKUP from EXAMES where CODIGO = 1"
                                             << QVariant("D123") << false << false;
        QTest::newRow("ZeraBackupExames") << "ZeraBackupExames"
                                          << "select count(*) from EXAMES where BACKUP = ''"
                                          << QVariant(qint64(4)) << false << false;
        QTest::newRow("AtualizaDiagExame") << "AtualizaDiagExame"
                                           << "select DIAG from EXAMES where CODIGO = 1"
                                           << QVariant("Astigmatismo") << true << false;
        QTest::newRow("AtualizaObsExame") << "AtualizaObsExame"
                                          << "select OBSERVACAO from EXAMES where CODIGO = 1"
                                          << QVariant("Paciente colaborativo") << true << false;
        QTest::newRow("AtualizaTipoCone 3 vira texto") << "AtualizaTipoCone"
                                                       << "select TIPOCONE from EXAMES where CODIGO = 1"
                                                       << QVariant("3") << true << false;
        QTest::newRow("ExcluiExame") << "ExcluiExame" << "select count(*) from EXAMES where CODIGO = 1"
                                     << QVariant(qint64(0)) << true << false;
        QTest::newRow("InsereExameOrto") << "InsereExameOrto"
                                         << "select SAG from EXAMESORTO where CODEXAME = 4"
                                         << QVariant(0.55) << true << false;
    }

    void confirmacao()
    {
        QFETCH(QString, operacao);
        QFETCH(QString, verificacao);
        QFETCH(QVariant, esperado);
        QFETCH(bool, confirma);
        QFETCH(bool, executorAberto);
        TDExames e(DM());
        const QVariant antes = ValorConfirmado(m_banco->Arquivo(), verificacao);
        QVERIFY(antes != esperado);
        if (operacao == "AtualizaBackupExame")
            e.AtualizaBackupExame(1, "D123");
        else if (operacao == "ZeraBackupExames")
            QVERIFY(e.ZeraBackupExames());
        else if (operacao == "AtualizaDiagExame")
            e.AtualizaDiagExame(1, "Astigmatismo");
        else if (operacao == "AtualizaObsExame")
            e.AtualizaObsExame(1, "Paciente colaborativo");
        else if (operacao == "AtualizaTipoCone")
            e.AtualizaTipoCone(1, 3);
        else if (operacao == "ExcluiExame")
            e.ExcluiExame(1);
        else if (operacao == "InsereExameOrto")
            e.InsereExameOrto(4, 1.5, 0.6, 7.8, 0.55);
        QCOMPARE(DM().IBOperation->Ativa(), executorAberto);
        // This attachment sees its own change either way.
        QCOMPARE(ValorLocal(DM(), verificacao), esperado);
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), verificacao), confirma ? esperado : antes);
        DM().PCommitDataBase();
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), verificacao), esperado);
    }

    void zeraBackupIgualaContagens()
    {
        TDExames e(DM());
        QCOMPARE(e.ContaExamesSemBackup(), 2);
        QCOMPARE(e.ContaExames(), 4);
        QVERIFY(e.ZeraBackupExames());
        QCOMPARE(e.ContaExamesSemBackup(), e.ContaExames());
        QCOMPARE(e.ContaExamesSemBackup(), 4);
    }

    // A refusal of the database (a row locked by another attachment) is a false result.
    void zeraBackupRecusadoDevolveFalso()
    {
        TDMPrincipal outro;
        QVERIFY(outro.PSetDataBaseName(m_banco->Arquivo()));
        TDExames(outro).AtualizaBackupExame(2, "X");  // locked, not committed
        TDExames e(DM());
        QVERIFY(!e.ZeraBackupExames());
        QVERIFY(!DM().IBOperation->Ativa());
        outro.IBTransaction.Rollback();
        DM().IBTransaction.Rollback();
        QCOMPARE(e.ContaExamesSemBackup(), 2);
    }

    void excluiExameLevaImagensEOrto()
    {
        TDExames e(DM());
        e.InsereExameOrto(3, 1.0, 2.0, 3.0, 4.0);
        ConsultaBD& op = *DM().IBOperation;
        op.DefineSQL("insert into ARQUIVOS (CODIGO_EXAMES) values (3)");
        op.Executa();
        DM().PCommitDataBase();
        e.ExcluiExame(3);
        QCOMPARE(ValorLocal(DM(), "select count(*) from ARQUIVOS where CODIGO_EXAMES = 3"), QVariant(qint64(0)));
        QCOMPARE(ValorLocal(DM(), "select count(*) from EXAMESORTO where CODEXAME = 3"), QVariant(qint64(0)));
        QCOMPARE(e.ContaExames(), 3);
    }

    void ortoIncluiEExclui()
    {
        TDExames e(DM());
        e.InsereExameOrto(4, 1.25, -0.5, 7.75, 0.6);
        ConsultaBD& op = *DM().IBOperation;
        op.Fecha();
        op.DefineSQL("select * from EXAMESORTO where CODEXAME = 4");
        op.Abre();
        QCOMPARE(op.Real("DIV"), 1.25);
        QCOMPARE(op.Real("EXC"), -0.5);
        QCOMPARE(op.Real("RAIO"), 7.75);
        QCOMPARE(op.Real("SAG"), 0.6);
        e.ExcluiExameOrto(4);
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select count(*) from EXAMESORTO"), QVariant(qint64(0)));
    }

    void contagensEConsultas_data()
    {
        QTest::addColumn<QString>("operacao");
        QTest::addColumn<int>("esperado");
        QTest::addColumn<bool>("ficaAberta");
        QTest::newRow("ResponsavelExame 2") << "ResponsavelExame:2" << 2 << false;
        QTest::newRow("ResponsavelExame inexistente") << "ResponsavelExame:99" << 0 << false;
        QTest::newRow("ContaExames") << "ContaExames" << 4 << true;
        QTest::newRow("ContaExamesMedico 1") << "ContaExamesMedico:1" << 3 << false;
        QTest::newRow("ContaExamesMedico 2") << "ContaExamesMedico:2" << 1 << false;
        QTest::newRow("ContaExamesMedicoPaciente 1 1") << "ContaExamesMedicoPaciente:1:1" << 1 << false;
        QTest::newRow("ContaExamesMedicoPaciente 1 2") << "ContaExamesMedicoPaciente:1:2" << 2 << false;
        QTest::newRow("ContaExamesMedicoPaciente 2 2") << "ContaExamesMedicoPaciente:2:2" << 0 << false;
        QTest::newRow("IndiceExames") << "IndiceExames" << 4 << true;
        QTest::newRow("ContaExamesSemBackup") << "ContaExamesSemBackup" << 2 << false;
    }

    void contagensEConsultas()
    {
        QFETCH(QString, operacao);
        QFETCH(int, esperado);
        QFETCH(bool, ficaAberta);
        TDExames e(DM());
        const QStringList partes = operacao.split(':');
        int obtido = -1;
        if (partes[0] == "ResponsavelExame")
            obtido = e.ResponsavelExame(partes[1].toInt());
        else if (partes[0] == "ContaExames")
            obtido = e.ContaExames();
        else if (partes[0] == "ContaExamesMedico")
            obtido = e.ContaExamesMedico(partes[1].toInt());
        else if (partes[0] == "ContaExamesMedicoPaciente")
            obtido = e.ContaExamesMedicoPaciente(partes[1].toInt(), partes[2].toInt());
        else if (partes[0] == "IndiceExames")
            obtido = e.IndiceExames();
        else if (partes[0] == "ContaExamesSemBackup")
            obtido = e.ContaExamesSemBackup();
        QCOMPARE(obtido, esperado);
        QCOMPARE(DM().IBOperation->Ativa(), ficaAberta);
    }

    void indiceSemExamesEhZero()
    {
        TDExames e(DM());
        for (int c = 1; c <= 4; ++c)
            e.ExcluiExame(c);
        QCOMPARE(e.IndiceExames(), 0);
        QCOMPARE(e.ContaExames(), 0);
    }

    // The backup cursor walks the examinations not yet backed up.
    void cursorPercorreSemBackup()
    {
        TDExames e(DM());
        QCOMPARE(e.CodigoCursor(), 0);
        e.AbreCursor().MoveCursor("Backup", "", "SELECT");
        QCOMPARE(DM().IBQueryExames->SQL(),
                 QStringLiteral("SELECT CODIGO, CODPACIENTE FROM Exames WHERE Exames.Backup=:Content"));
        QList<QPair<int, int>> vistos;
        while (!DM().IBQueryExames->Eof()) {
            vistos << qMakePair(e.CodigoCursor(), e.CodPacienteCursor());
            e.MoveCursor("Backup", "", "Next");
        }
        QCOMPARE(vistos, (QList<QPair<int, int>>{{1, 1}, {3, 2}}));
        e.MoveCursor("", "", "Prior");
        QCOMPARE(e.CodigoCursor(), 1);
        e.MoveCursor("", "", "next");  // actions are compared exactly: nothing happens
        QCOMPARE(e.CodigoCursor(), 1);
        e.MoveCursor("", "", "Next");
        e.MoveCursor("", "", "First");
        QCOMPARE(e.CodigoCursor(), 1);
        e.FechaCursor();
        QVERIFY(!e.CursorAberto());
        QVERIFY(!DM().IBQueryExames->Ativa());
        QCOMPARE(e.CodigoCursor(), 0);
        QCOMPARE(e.CodPacienteCursor(), 0);
    }

    void cursorFechadoNaoMexeNaConsulta()
    {
        ConsultaBD& q = *DM().IBQueryExames;
        q.DefineSQL("select * from EXAMES order by CODIGO desc");
        q.Abre();
        TDExames e(DM());
        e.MoveCursor("Backup", "", "SELECT");
        QCOMPARE(q.SQL(), QStringLiteral("select * from EXAMES order by CODIGO desc"));
        QVERIFY(q.Ativa());
        QCOMPARE(q.Inteiro("CODIGO"), 4);
    }

    void cursorRecusaCampoQueNaoEhNome()
    {
        TDExames e(DM());
        e.AbreCursor();
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, e.MoveCursor("Backup='' or 1", "", "SELECT"));
        e.MoveCursor("Olho", "OS", "SELECT");
        QCOMPARE(e.CodigoCursor(), 2);
    }
};

QTEST_GUILESS_MAIN(TesteExames)
#include "tst_exames.moc"
