// Reports: every operation, counting and deleting the reports of an examination by eye
// (one commit per deleted report), backup tags and the backup cursor.

#include "data/UDLaudos.h"
#include "data/UDPacientes.h"
#include "tests/support/UBancoTeste.h"

#include <QSignalSpy>
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
} // namespace

class TesteLaudos : public QObject {
    Q_OBJECT
    BancoTeste* m_banco = nullptr;
    TDMPrincipal& DM() { return m_banco->DM(); }

    // Patient 1 and reports (right eye, left eye, backup):
    //   1: 10, 11, ""     2: 10, -1, "D001"     3: -1, 11, ""     4: 12, 10, ""
    void Povoa()
    {
        TDadosPaciente p;
        p.Nome = "Paciente";
        TDPacientes(DM()).InserePaciente(p, QDate(2024, 1, 1), 0);
        TDLaudos l(DM());
        l.InsereLaudo(1, 10, 11, "", QDate(2024, 3, 1), QTime(8, 0));
        l.InsereLaudo(1, 10, -1, "D001", QDate(2024, 3, 2), QTime(9, 0));
        l.InsereLaudo(1, -1, 11, "", QDate(2024, 3, 3), QTime(10, 0));
        l.InsereLaudo(1, 12, 10, "", QDate(2024, 3, 4), QTime(11, 30, 15));
    }

private slots:
    void init()
    {
        m_banco = new BancoTeste;
        QVERIFY(m_banco->Valido());
        Povoa();
    }
    void cleanup() { delete m_banco; }

    void insereLaudoGravaEConfirma()
    {
        QVERIFY(!DM().IBOperation->Ativa());
        TDMPrincipal outro;
        QVERIFY(outro.PSetDataBaseName(m_banco->Arquivo()));
        ConsultaBD& op = *outro.IBOperation;
        op.DefineSQL("select * from LAUDOS where CODIGO = 4");
        op.Abre();
        QCOMPARE(op.Inteiro("CODPACIENTE"), 1);
        QCOMPARE(op.Inteiro("MEDIDAOD"), 12);
        QCOMPARE(op.Inteiro("MEDIDAOS"), 10);
        QCOMPARE(op.Texto("BACKUP"), QString());
        QVERIFY(!op.Nulo("BACKUP"));
        QCOMPARE(op.Data("DATA"), QDate(2024, 3, 4));
        QCOMPARE(op.Hora("HORA"), QTime(11, 30, 15));
        // The reopened reports table ends on the newest report.
        DM().IBLaudos->Ultimo();
        QCOMPARE(DM().IBLaudos->Inteiro("CODIGO"), 4);
    }

    void contaLaudosExame_data()
    {
        QTest::addColumn<int>("exame");
        QTest::addColumn<QString>("olho");
        QTest::addColumn<int>("esperado");
        QTest::newRow("10 OD") << 10 << "OD" << 2;
        QTest::newRow("10 Direito") << 10 << "Direito" << 2;
        QTest::newRow("10 OS") << 10 << "OS" << 1;
        QTest::newRow("10 Esquerdo") << 10 << "Esquerdo" << 1;
        QTest::newRow("11 Esquerdo") << 11 << "Esquerdo" << 2;
        QTest::newRow("11 OD") << 11 << "OD" << 0;
        QTest::newRow("12 OD") << 12 << "OD" << 1;
        QTest::newRow("99 OS") << 99 << "OS" << 0;
    }

    void contaLaudosExame()
    {
        QFETCH(int, exame);
        QFETCH(QString, olho);
        QFETCH(int, esperado);
        QCOMPARE(TDLaudos(DM()).ContaLaudosExame(exame, olho), esperado);
        QVERIFY(!DM().IBOperation->Ativa());
    }

    void olhoDesconhecidoEhErro_data()
    {
        QTest::addColumn<QString>("olho");
        QTest::newRow("minúsculas") << "od";
        QTest::newRow("vazio") << "";
        QTest::newRow("ambos") << "AO";
    }

    void olhoDesconhecidoEhErro()
    {
        QFETCH(QString, olho);
        TDLaudos l(DM());
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, l.ContaLaudosExame(10, olho));
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, l.ExcluiLaudosExame(10, olho));
        QCOMPARE(l.ContaLaudos(), 4);
    }

    // Two reports use examination 10 as the right eye: both go, each with its commit.
    void excluiLaudosExame()
    {
        QSignalSpy commits(&DM(), &TDMPrincipal::Confirmado);
        TDLaudos l(DM());
        l.ExcluiLaudosExame(10, "Direito");
        QCOMPARE(commits.count(), 2);
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select list(CODIGO) from LAUDOS"),
                 QVariant(QStringLiteral("3,4")));
        QCOMPARE(l.ContaLaudosExame(10, "OD"), 0);
        QCOMPARE(l.ContaLaudosExame(10, "OS"), 1);
        commits.clear();
        l.ExcluiLaudosExame(77, "OS");
        QCOMPARE(commits.count(), 0);
        QCOMPARE(l.ContaLaudos(), 2);
    }

    void excluiLaudo()
    {
        TDLaudos l(DM());
        l.ExcluiLaudo(2);
        QVERIFY(!DM().IBOperation->Ativa());
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select count(*) from LAUDOS"), QVariant(qint64(3)));
    }

    void contagens()
    {
        TDLaudos l(DM());
        QCOMPARE(l.ContaLaudos(), 4);
        QVERIFY(!DM().IBOperation->Ativa());
        QCOMPARE(l.IndiceLaudos(), 4);
        QVERIFY(!DM().IBOperation->Ativa());
        QCOMPARE(l.ContaLaudosSemBackup(), 3);
        QVERIFY(!DM().IBOperation->Ativa());
        for (int c = 1; c <= 4; ++c)
            l.ExcluiLaudo(c);
        QCOMPARE(l.IndiceLaudos(), 0);
    }

    // Backup tags are left for the caller to commit.
    void backupSemCommit()
    {
        TDLaudos l(DM());
        l.AtualizaBackupLaudo(1, "D777");
        QVERIFY(!DM().IBOperation->Ativa());
        const QString sql = "select BACKUP from LAUDOS where CODIGO = 1";
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), sql), QVariant(QString("")));
        QVERIFY(l.ZeraBackupLaudos());
        QCOMPARE(l.ContaLaudosSemBackup(), l.ContaLaudos());
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select count(*) from LAUDOS where BACKUP = ''"),
                 QVariant(qint64(3)));
        DM().PCommitDataBase();
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select count(*) from LAUDOS where BACKUP = ''"),
                 QVariant(qint64(4)));
    }

    void zeraBackupRecusadoDevolveFalso()
    {
        TDMPrincipal outro;
        QVERIFY(outro.PSetDataBaseName(m_banco->Arquivo()));
        TDLaudos(outro).AtualizaBackupLaudo(3, "X");
        TDLaudos l(DM());
        QVERIFY(!l.ZeraBackupLaudos());
        outro.IBTransaction.Rollback();
        DM().IBTransaction.Rollback();
        QCOMPARE(l.ContaLaudosSemBackup(), 3);
    }

    void cursor()
    {
        TDLaudos l(DM());
        QCOMPARE(l.CodigoCursor(), 0);
        l.MoveCursor("Backup", "", "SELECT");
        QVERIFY(!DM().IBQueryLaudos->Ativa());
        l.AbreCursor().MoveCursor("Backup", "", "SELECT");
        QCOMPARE(DM().IBQueryLaudos->SQL(),
                 QStringLiteral("SELECT CODIGO, CODPACIENTE FROM Laudos WHERE Laudos.Backup=:Content"));
        QList<int> vistos;
        while (!DM().IBQueryLaudos->Eof()) {
            vistos << l.CodigoCursor();
            QCOMPARE(l.CodPacienteCursor(), 1);
            l.MoveCursor("", "", "Next");
        }
        QCOMPARE(vistos, (QList<int>{1, 3, 4}));
        l.MoveCursor("", "", "First");
        l.MoveCursor("", "", "Prior");
        QCOMPARE(l.CodigoCursor(), 1);
        l.MoveCursor("Backup", "D001", "SELECT");
        QCOMPARE(l.CodigoCursor(), 2);
        l.FechaCursor();
        QVERIFY(!DM().IBQueryLaudos->Ativa());
        QCOMPARE(l.CodigoCursor(), 0);
    }
};

QTEST_GUILESS_MAIN(TesteLaudos)
#include "tst_laudos.moc"
