// Patients: every operation against a real database, accents and apostrophes round trip,
// what stays and what changes, commits seen by a second attachment, counts and lookups.

#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "tests/support/UBancoTeste.h"

#include <QtTest>

namespace {
TDadosPaciente Paciente(const QString& nome)
{
    TDadosPaciente p;
    p.Nome = nome;
    p.Rg = "RG-" + QString::number(nome.size());
    p.Cpf = "98765432100";
    p.Sexo = "M";
    p.EstadoCivil = "S";
    p.Conjuge = "Cônjuge";
    p.DataNascimento = "31/12/1980";
    p.Naturalidade = "Florianópolis";
    p.NaturalidadeEstado = "SC";
    p.Pai = "Pai";
    p.Mae = "Mãe";
    p.Rua = "Av. Beira-Mar";
    p.Complemento = "Ap. 101";
    p.Bairro = "Centro";
    p.Cidade = "Florianópolis";
    p.Estado = "SC";
    p.Cep = "88000-000";
    p.Fone = "4833330000";
    p.Celular = "48999990000";
    p.Convenio = "Particular";
    p.Profissao = "Engenheiro";
    p.TipoSang = "AB+";
    return p;
}

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

class TestePacientes : public QObject {
    Q_OBJECT
    BancoTeste* m_banco = nullptr;
    TDMPrincipal& DM() { return m_banco->DM(); }

private slots:
    void init()
    {
        m_banco = new BancoTeste;
        QVERIFY(m_banco->Valido());
    }
    void cleanup() { delete m_banco; }

    void insereGravaCadaColuna()
    {
        TDPacientes pacientes(DM());
        const TDadosPaciente p = Paciente("Maria");
        pacientes.InserePaciente(p, QDate(2023, 7, 14), 0);
        // The reopened patient list holds the new patient.
        QVERIFY(DM().IBQueryPacientes->Ativa());
        QVERIFY(DM().IBQueryPacientes->Localiza("NOME", "Maria"));
        ConsultaBD& q = *DM().IBQueryPacientes;
        QCOMPARE(q.Inteiro("CODIGO"), 1);
        QCOMPARE(q.Inteiro("CODMEDICO"), 0);
        const QList<QPair<QString, QString>> textos{
            {"RG", p.Rg}, {"CPF", p.Cpf}, {"SEXO", p.Sexo}, {"ESTADOCIVIL", p.EstadoCivil},
            {"CONJUGE", p.Conjuge}, {"DATANASCIMENTO", p.DataNascimento},
            {"NATURALIDADE", p.Naturalidade}, {"NATURALIDADEESTADO", p.NaturalidadeEstado},
            {"PAI", p.Pai}, {"MAE", p.Mae}, {"RUA", p.Rua}, {"COMPLEMENTO", p.Complemento},
            {"BAIRRO", p.Bairro}, {"CIDADE", p.Cidade}, {"ESTADO", p.Estado}, {"CEP", p.Cep},
            {"FONE", p.Fone}, {"CELULAR", p.Celular}, {"CONVENIO", p.Convenio},
            {"PROFISSAO", p.Profissao}, {"TIPOSANG", p.TipoSang}};
        for (const auto& t : textos)
            QCOMPARE(q.Texto(t.first), t.second);
        QCOMPARE(q.Data("DTCADASTRO"), QDate(2023, 7, 14));
        QCOMPARE(q.Inteiro("TOTALEXAMES"), 0);
        QVERIFY(q.Nulo("ULTIMOEXAME"));
        QVERIFY(q.Nulo("ENCAMINHADO"));
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select NOME from PACIENTES where CODIGO = 1"),
                 QVariant(QStringLiteral("Maria")));
    }

    // The registration texts change; registration date, last examination and count stay.
    void atualizaMantemCadastroEExames()
    {
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente("Antes"), QDate(2020, 5, 5), 3);
        pacientes.AtualizaExamesPaciente(1, "OD - 05/05/2020 10:00:00", 3);
        TDadosPaciente novo = Paciente("Depois");
        novo.Cidade = "Curitiba";
        pacientes.AtualizaPaciente(1, novo);
        ConsultaBD& t = *DM().IBPacientes;
        QVERIFY(t.Localiza("CODIGO", 1));
        QCOMPARE(t.Texto("NOME"), QStringLiteral("Depois"));
        QCOMPARE(t.Texto("CIDADE"), QStringLiteral("Curitiba"));
        QCOMPARE(t.Data("DTCADASTRO"), QDate(2020, 5, 5));
        QCOMPARE(t.Texto("ULTIMOEXAME"), QStringLiteral("OD - 05/05/2020 10:00:00"));
        QCOMPARE(t.Inteiro("TOTALEXAMES"), 3);
    }

    void atualizaExamesPacienteFechaEConfirma()
    {
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente("P"), QDate(2020, 5, 5), 0);
        pacientes.AtualizaExamesPaciente(1, "OS - 01/01/2024 08:00:00", 5);
        QVERIFY(!DM().IBOperation->Ativa());
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select TOTALEXAMES from PACIENTES where CODIGO = 1")
                     .toInt(),
                 5);
        QCOMPARE(pacientes.TotalExamesPaciente(1), 5);
        QVERIFY(DM().IBOperation->Ativa());
        QCOMPARE(pacientes.TotalExamesPaciente(99), 0);
    }

    void nomesAcentuadosIdaEVolta_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::newRow("apóstrofo e acento") << QStringLiteral("Conceição D'Ávila");
        QTest::newRow("dois apóstrofos") << QStringLiteral("O'Brien D'Angelo");
        QTest::newRow("maiúsculas acentuadas") << QStringLiteral("ÁÉÍÓÚ ÂÊÔ ÃÕ Ç Ü");
        QTest::newRow("ordinais e símbolos") << QStringLiteral("Rua 1º de Maio, nº 2ª € ½");
        QTest::newRow("comprimento máximo") << QString(50, QChar(0xE7));
    }

    void nomesAcentuadosIdaEVolta()
    {
        QFETCH(QString, nome);
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente(nome), QDate(2024, 1, 1), 0);
        const int codigo = pacientes.CodigoPaciente(nome);
        QCOMPARE(codigo, 1);
        QCOMPARE(pacientes.NomePaciente(codigo), nome);
        QVERIFY(DM().IBOperation->Ativa());
        // Letter case and accents matter.
        QCOMPARE(pacientes.CodigoPaciente(nome.toLower() == nome ? nome.toUpper() : nome.toLower()), 0);
        QVERIFY(!DM().IBOperation->Ativa());
    }

    void codigoPacienteComNomeRepetido()
    {
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente("Repetido"), QDate(2024, 1, 1), 0);
        pacientes.InserePaciente(Paciente("Outro"), QDate(2024, 1, 1), 0);
        pacientes.InserePaciente(Paciente("Repetido"), QDate(2024, 1, 1), 0);
        const int codigo = pacientes.CodigoPaciente("Repetido");
        QVERIFY(codigo == 1 || codigo == 3);
        QCOMPARE(pacientes.CodigoPaciente("Ninguém"), 0);
        QCOMPARE(pacientes.CodigoPaciente("' or ''='"), 0);
    }

    void contagens()
    {
        TDPacientes pacientes(DM());
        QCOMPARE(pacientes.ContaPacientes(), 0);
        QCOMPARE(pacientes.IndicePacientes(), 0);
        QCOMPARE(pacientes.ContaPacientesSemExames(), 0);
        pacientes.InserePaciente(Paciente("Zero"), QDate(2024, 1, 1), 0);
        pacientes.InserePaciente(Paciente("Dois"), QDate(2024, 1, 1), 2);
        pacientes.InserePaciente(Paciente("Nulo"), QDate(2024, 1, 1), 0);
        pacientes.InserePaciente(Paciente("Outro zero"), QDate(2024, 1, 1), 0);
        ConsultaBD& op = *DM().IBOperation;
        op.Fecha();
        op.DefineSQL("update PACIENTES set TOTALEXAMES = null where NOME = 'Nulo'");
        op.Executa();
        DM().PCommitDataBase();
        pacientes.ExcluiPaciente(4);

        QCOMPARE(pacientes.ContaPacientes(), 3);
        QVERIFY(DM().IBOperation->Ativa());
        QCOMPARE(pacientes.IndicePacientes(), 4);
        QVERIFY(DM().IBOperation->Ativa());
        // Only a count of 0 is "without examinations"; a count never set is not.
        QCOMPARE(pacientes.ContaPacientesSemExames(), 1);
        QVERIFY(!DM().IBOperation->Ativa());
    }

    void excluiPaciente()
    {
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente("Fica"), QDate(2024, 1, 1), 0);
        pacientes.InserePaciente(Paciente("Sai"), QDate(2024, 1, 1), 0);
        // A report without examinations belongs to the patient and goes with it.
        TDLaudos(DM()).InsereLaudo(2, -1, -1, "", QDate(2024, 1, 1), QTime(9, 0));
        pacientes.ExcluiPaciente(2);
        QCOMPARE(ValorConfirmado(m_banco->Arquivo(), "select count(*) from PACIENTES"), QVariant(qint64(1)));
        QCOMPARE(TDLaudos(DM()).ContaLaudos(), 0);
        QVERIFY(!DM().IBQueryPacientes->Localiza("NOME", "Sai"));
        QVERIFY(DM().IBQueryPacientes->Localiza("NOME", "Fica"));
    }

    // A patient with examinations stays: the refusal reaches the caller.
    void pacienteComExamesNaoEhExcluido()
    {
        TDadosMedico m;
        m.Nome = "Médico";
        TDMedicos(DM()).InsereMedico(m);
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente("Com exame"), QDate(2024, 1, 1), 1);
        TDExames(DM()).InsereExame(1, 1, QDate(2024, 1, 1), QTime(10, 0), "OS", 0.8, "T", "", "",
                                   "", 16, "2");
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, pacientes.ExcluiPaciente(1));
        DM().IBTransaction.Rollback();
        QCOMPARE(pacientes.NomePaciente(1), QStringLiteral("Com exame"));
    }

    void textoLongoDemaisNaoGravaNada()
    {
        TDPacientes pacientes(DM());
        TDadosPaciente p = Paciente("Longo");
        p.TipoSang = "AB+X";
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, pacientes.InserePaciente(p, QDate(2024, 1, 1), 0));
        DM().IBTransaction.Rollback();
        QCOMPARE(pacientes.ContaPacientes(), 0);
        QCOMPARE(pacientes.IndicePacientes(), 0);
    }
};

QTEST_GUILESS_MAIN(TestePacientes)
#include "tst_pacientes.moc"
