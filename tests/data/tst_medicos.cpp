// Doctors: every operation, its statement's effect on the stored row, whether it is
// committed (seen by a second attachment) and whether the executor stays open.

#include "data/UDExames.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "tests/support/UBancoTeste.h"

#include <QtTest>

namespace {
TDadosMedico MedicoCompleto(const QString& prefixo)
{
    TDadosMedico m;
    m.Nome = prefixo + " Nome";
    m.Rg = prefixo + "RG";
    m.Cpf = "12345678901";
    m.Crm = prefixo + "CRM";
    m.Sexo = "F";
    m.EstadoCivil = "C";
    m.Conjuge = prefixo + " Cônjuge";
    m.DataNascimento = "01/02/1970";
    m.Naturalidade = "São Paulo";
    m.NaturalidadeEstado = "SP";
    m.Pai = prefixo + " Pai";
    m.Mae = prefixo + " Mãe";
    m.Rua = "Rua D'Ouro, 12";
    m.Complemento = "Sala 3";
    m.Bairro = "Centro";
    m.Cidade = "Ribeirão Preto";
    m.Estado = "SP";
    m.Cep = "14000-000";
    m.Fone = "1633334444";
    m.Celular = "16999998888";
    return m;
}

// The stored row of a doctor, read by a second attachment (so only committed data).
QMap<QString, QString> LinhaConfirmada(const QString& arquivo, int codigo)
{
    TDMPrincipal outro;
    QMap<QString, QString> linha;
    if (!outro.PSetDataBaseName(arquivo))
        return linha;
    ConsultaBD& op = *outro.IBOperation;
    op.DefineSQL("select * from MEDICOS where CODIGO = :C");
    op.DefineParametro("C", codigo);
    op.Abre();
    if (op.Vazia())
        return linha;
    for (const QString& c : op.Colunas())
        linha[c] = op.Texto(c);
    return linha;
}
} // namespace

class TesteMedicos : public QObject {
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

    // Each argument lands in its own column, committed.
    void insereGravaCadaColuna()
    {
        TDMedicos medicos(DM());
        medicos.InsereMedico(MedicoCompleto("Dra. Inês"));
        const auto linha = LinhaConfirmada(m_banco->Arquivo(), 1);
        const TDadosMedico m = MedicoCompleto("Dra. Inês");
        QCOMPARE(linha.value("CODIGO"), QStringLiteral("1"));
        QCOMPARE(linha.value("NOME"), m.Nome);
        QCOMPARE(linha.value("RG"), m.Rg);
        QCOMPARE(linha.value("CPF"), m.Cpf);
        QCOMPARE(linha.value("CRM"), m.Crm);
        QCOMPARE(linha.value("SEXO"), m.Sexo);
        QCOMPARE(linha.value("ESTADOCIVIL"), m.EstadoCivil);
        QCOMPARE(linha.value("CONJUGE"), m.Conjuge);
        QCOMPARE(linha.value("DATANASCIMENTO"), m.DataNascimento);
        QCOMPARE(linha.value("NATURALIDADE"), m.Naturalidade);
        QCOMPARE(linha.value("NATURALIDADEESTADO"), m.NaturalidadeEstado);
        QCOMPARE(linha.value("PAI"), m.Pai);
        QCOMPARE(linha.value("MAE"), m.Mae);
        QCOMPARE(linha.value("RUA"), m.Rua);
        QCOMPARE(linha.value("COMPLEMENTO"), m.Complemento);
        QCOMPARE(linha.value("BAIRRO"), m.Bairro);
        QCOMPARE(linha.value("CIDADE"), m.Cidade);
        QCOMPARE(linha.value("ESTADO"), m.Estado);
        QCOMPARE(linha.value("CEP"), m.Cep);
        QCOMPARE(linha.value("FONE"), m.Fone);
        QCOMPARE(linha.value("CELULAR"), m.Celular);
        // The commit reopened the doctors table with the new row.
        QVERIFY(DM().IBMedicos->Ativa());
        QVERIFY(DM().IBMedicos->Localiza("CODIGO", 1));
    }

    void atualizaTrocaTodasAsColunas()
    {
        TDMedicos medicos(DM());
        medicos.InsereMedico(MedicoCompleto("A"));
        medicos.InsereMedico(MedicoCompleto("B"));
        medicos.AtualizaMedico(1, MedicoCompleto("C"));
        const auto c = LinhaConfirmada(m_banco->Arquivo(), 1);
        const TDadosMedico esperado = MedicoCompleto("C");
        QCOMPARE(c.value("NOME"), esperado.Nome);
        QCOMPARE(c.value("RG"), esperado.Rg);
        QCOMPARE(c.value("CRM"), esperado.Crm);
        QCOMPARE(c.value("CONJUGE"), esperado.Conjuge);
        QCOMPARE(c.value("PAI"), esperado.Pai);
        QCOMPARE(c.value("MAE"), esperado.Mae);
        // The other doctor is untouched.
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), 2).value("NOME"), QStringLiteral("B Nome"));
    }

    void excluiMedico()
    {
        TDMedicos medicos(DM());
        medicos.InsereMedico(MedicoCompleto("A"));
        medicos.InsereMedico(MedicoCompleto("B"));
        medicos.ExcluiMedico(1);
        QVERIFY(LinhaConfirmada(m_banco->Arquivo(), 1).isEmpty());
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), 2).value("NOME"), QStringLiteral("B Nome"));
        QCOMPARE(medicos.ContaMedicos(), 1);
    }

    // A doctor responsible for examinations stays, and the refusal reaches the caller.
    void medicoComExamesNaoEhExcluido()
    {
        TDMedicos medicos(DM());
        medicos.InsereMedico(MedicoCompleto("A"));
        TDadosPaciente p;
        p.Nome = "Paciente";
        TDPacientes(DM()).InserePaciente(p, QDate(2024, 1, 1), 0);
        TDExames(DM()).InsereExame(1, 1, QDate(2024, 1, 1), QTime(10, 0), "OD", 0.9, "T", "", "",
                                   "", 32, "1");
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, medicos.ExcluiMedico(1));
        DM().IBTransaction.Rollback();
        QCOMPARE(medicos.NomeMedico(1), QStringLiteral("A Nome"));
    }

    void consultas_data()
    {
        QTest::addColumn<QString>("operacao");
        QTest::addColumn<int>("esperado");
        QTest::addColumn<bool>("ficaAberta");
        // Doctors "A Nome" (1), "B Nome" (2), "A Nome" again (3), then 2 deleted.
        QTest::newRow("CodigoMedico excluído") << "CodigoMedico:B Nome" << 0 << false;
        QTest::newRow("CodigoMedico repetido") << "CodigoMedico:A Nome" << 1 << false;
        QTest::newRow("CodigoMedico inexistente") << "CodigoMedico:Z Nome" << 0 << false;
        QTest::newRow("CodigoMedico caixa diferente") << "CodigoMedico:a nome" << 0 << false;
        QTest::newRow("ContaMedicos") << "ContaMedicos" << 2 << true;
        QTest::newRow("IndiceMedicos") << "IndiceMedicos" << 3 << true;
    }

    void consultas()
    {
        QFETCH(QString, operacao);
        QFETCH(int, esperado);
        QFETCH(bool, ficaAberta);
        TDMedicos medicos(DM());
        medicos.InsereMedico(MedicoCompleto("A"));
        medicos.InsereMedico(MedicoCompleto("B"));
        medicos.InsereMedico(MedicoCompleto("A"));
        medicos.ExcluiMedico(2);
        int obtido = -1;
        if (operacao.startsWith("CodigoMedico:"))
            obtido = medicos.CodigoMedico(operacao.mid(13));
        else if (operacao == "ContaMedicos")
            obtido = medicos.ContaMedicos();
        else if (operacao == "IndiceMedicos")
            obtido = medicos.IndiceMedicos();
        // "A Nome" is shared by 1 and 3: the first row the database returns, one of them.
        if (operacao == "CodigoMedico:A Nome")
            QVERIFY(obtido == 1 || obtido == 3);
        else
            QCOMPARE(obtido, esperado);
        QCOMPARE(DM().IBOperation->Ativa(), ficaAberta);
    }

    void nomeMedicoFicaAberto()
    {
        TDMedicos medicos(DM());
        TDadosMedico m = MedicoCompleto("A");
        m.Nome = "Dr. José D'Ângelo Nome";
        medicos.InsereMedico(m);
        QCOMPARE(medicos.NomeMedico(1), QStringLiteral("Dr. José D'Ângelo Nome"));
        QVERIFY(DM().IBOperation->Ativa());
        QCOMPARE(medicos.NomeMedico(7), QString());
        QCOMPARE(medicos.CodigoMedico("Dr. José D'Ângelo Nome"), 1);
    }

    // With no doctor the generator query has no row: 0, even after codes were handed out.
    void indiceComTabelaVaziaEhZero()
    {
        TDMedicos medicos(DM());
        QCOMPARE(medicos.IndiceMedicos(), 0);
        medicos.InsereMedico(MedicoCompleto("A"));
        medicos.InsereMedico(MedicoCompleto("B"));
        QCOMPARE(medicos.IndiceMedicos(), 2);
        medicos.ExcluiMedico(1);
        medicos.ExcluiMedico(2);
        QCOMPARE(medicos.IndiceMedicos(), 0);
        ConsultaBD& op = *DM().IBOperation;
        op.Fecha();
        op.DefineSQL("select gen_id(CODIGO_MEDICOS, 0) as G from RDB$DATABASE");
        op.Abre();
        QCOMPARE(op.Inteiro("G"), 2);
    }

    // Typed text is a value, never part of the statement.
    void textoDigitadoNaoEntraNoComando()
    {
        TDMedicos medicos(DM());
        medicos.InsereMedico(MedicoCompleto("A"));
        QCOMPARE(medicos.CodigoMedico("x' or '1'='1"), 0);
        TDadosMedico m = MedicoCompleto("B");
        m.Nome = "'); delete from MEDICOS; --";
        medicos.InsereMedico(m);
        QCOMPARE(medicos.ContaMedicos(), 2);
        QCOMPARE(medicos.NomeMedico(2), m.Nome);
    }

    void textoLongoDemaisNaoGravaNada()
    {
        TDMedicos medicos(DM());
        TDadosMedico m = MedicoCompleto("A");
        m.Crm = QString(16, '9');
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, medicos.InsereMedico(m));
        DM().IBTransaction.Rollback();
        QCOMPARE(medicos.ContaMedicos(), 0);
    }

    // Letters the code page lacks are refused, never dropped: the row stays as it was.
    void textoForaDoCp1252NaoGravaNada()
    {
        TDMedicos medicos(DM());
        medicos.InsereMedico(MedicoCompleto("A"));
        const auto antes = LinhaConfirmada(m_banco->Arquivo(), 1);
        TDadosMedico m = MedicoCompleto("A");
        m.Nome = QStringLiteral("Łukasz Nguyễn");
        try {
            medicos.AtualizaMedico(1, m);
            QFAIL("gravado");
        } catch (const ErroConversao& e) {
            QVERIFY2(e.Mensagem().contains(QStringLiteral("Ł ễ")), qPrintable(e.Mensagem()));
        }
        try {
            medicos.InsereMedico(m);
            QFAIL("gravado");
        } catch (const ErroConversao&) {
        }
        DM().IBTransaction.Rollback();
        QCOMPARE(medicos.ContaMedicos(), 1);
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), 1), antes);
        // Every letter of the code page still goes in.
        m.Nome = QStringLiteral("Ção Œuvre Ÿ €");
        medicos.AtualizaMedico(1, m);
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), 1).value("NOME"), m.Nome);
    }

    void abreTabelaMedicos()
    {
        TDMedicos medicos(DM());
        medicos.AbreTabelaMedicos(false);
        QVERIFY(!DM().IBMedicos->Ativa());
        medicos.AbreTabelaMedicos(true);
        QVERIFY(DM().IBMedicos->Ativa());
        QCOMPARE(DM().IBMedicos->Tabela(), QStringLiteral("MEDICOS"));
    }
};

QTEST_GUILESS_MAIN(TesteMedicos)
#include "tst_medicos.moc"
