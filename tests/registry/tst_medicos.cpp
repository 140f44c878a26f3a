// The doctor registry on a real database: what it shows first, adding, changing,
// cancelling, deleting (refused for a doctor with examinations), the last doctor deleted,
// the record buttons, closing while changing, the input limits and the stored letters.

#include "config/URegistrosZR.h"
#include "data/UDExames.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "platform/UAjuda.h"
#include "platform/UMensagens.h"
#include "registry/UCamposCadastro.h"
#include "registry/UGrupoOpcoes.h"
#include "registry/UfrmCadastroMedicos.h"
#include "tests/support/UBancoTeste.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
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
    if (!op.Vazia())
        for (const QString& c : op.Colunas())
            linha[c] = op.Texto(c);
    return linha;
}

TDadosMedico Medico(const QString& nome, const QString& crm = QString())
{
    TDadosMedico m;
    m.Nome = nome;
    m.Crm = crm;
    m.Sexo = "F";
    m.EstadoCivil = "C";
    m.Estado = "SP";
    m.NaturalidadeEstado = "MG";
    return m;
}

void Libera() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Which of the toolbar's buttons are enabled, in toolbar order.
QString Estado(TfrmCadastroMedicos* f)
{
    QString s;
    for (QToolButton* b : {f->btnAdd, f->btnAlt, f->btnDel, f->btnAtu, f->btnPes, f->btnPRI,
                           f->btnANT, f->btnPRO, f->btnULT})
        s += b->isEnabled() ? u'1' : u'0';
    return s;
}
} // namespace

class TesteCadastroMedicos : public QObject {
    Q_OBJECT
    BancoTeste* m_banco = nullptr;
    MensagensRoteiro* m_msg = nullptr;
    TDMPrincipal& DM() { return m_banco->DM(); }

    // Three doctors (codes 1, 2, 3) and the registry shown.
    TfrmCadastroMedicos* Abre(const QString& ativo = QString())
    {
        TDMedicos medicos(DM());
        medicos.InsereMedico(Medico("Carla Nunes", "CRM-3"));
        medicos.InsereMedico(Medico("Ana Prado", "CRM-1"));
        medicos.InsereMedico(Medico("Bruno Reis", "CRM-2"));
        InfosZR.MedicoAtivo = ativo;
        auto* f = new TfrmCadastroMedicos;
        f->show();
        return f;
    }

private slots:
    void init()
    {
        m_banco = new BancoTeste;
        QVERIFY(m_banco->Valido());
        m_msg = new MensagensRoteiro;
    }
    void cleanup()
    {
        Libera();
        const QStringList inesperadas = m_msg->Inesperadas();
        delete m_msg;
        delete m_banco;
        QVERIFY2(inesperadas.isEmpty(), qPrintable(inesperadas.join(" | ")));
    }

    void controles()
    {
        QPointer<TfrmCadastroMedicos> f = Abre();
        QCOMPARE(f->windowTitle(), QStringLiteral("Cadastro de Médicos"));
        QCOMPARE(ContextoAjuda(f), 4);
        QCOMPARE(f->btnAtu->text(), QStringLiteral("Atuallizar"));
        QCOMPARE(f->btnAtu->toolTip(), QStringLiteral("Gravar os dados informados"));
        QCOMPARE(f->btnDel->text(), QStringLiteral("Excluir"));
        QCOMPARE(f->btnPRO->toolTip(), QStringLiteral("Próximo registro"));
        QCOMPARE(f->sButton7->toolTip(), QStringLiteral("Fechar o cadastro de médicos"));
        QCOMPARE(f->dbcEstadoNaturalidade->count(), 27);
        QCOMPARE(f->dbcEstadoNaturalidade->itemText(0), QStringLiteral("AC"));
        QCOMPARE(f->dbcEstadoNaturalidade->findText("RD"), 18);
        QCOMPARE(f->dbcEstado->count(), 27);
        QCOMPARE(f->dbcEstado->itemText(0), QString());
        QCOMPARE(f->dbcEstado->findText("AC"), -1);
        QCOMPARE(f->dbcEstado->itemText(1), QStringLiteral("AL"));
        for (QComboBox* c : {f->dbcEstado, f->dbcEstadoNaturalidade}) {
            QVERIFY(c->isEditable());
            QCOMPARE(c->findText("RR"), -1);
        }
        f->close();
    }

    // "Ajuda" opens the doctor registry's page, the one F1 opens.
    void ajuda()
    {
        QTemporaryDir pasta;
        for (const char* arquivo : {"index.html", "contexto_4.html", "contexto_6.html"}) {
            QFile f(pasta.path() + u'/' + QLatin1String(arquivo));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        DefinePastaAjuda(pasta.path());
        QStringList abertos;
        const AberturaEndereco anterior = DefineAberturaEndereco([&](const QString& url) {
            abertos << url;
            return true;
        });
        QPointer<TfrmCadastroMedicos> f = Abre();
        QTest::mouseClick(f->sButton6, Qt::LeftButton);
        DefineAberturaEndereco(anterior);
        DefinePastaAjuda(QString());
        QCOMPARE(abertos.size(), 1);
        QVERIFY2(abertos.first().endsWith("/contexto_4.html"), qPrintable(abertos.first()));
        f->close();
    }

    // What the registry shows first: the active doctor (letter case ignored), else the
    // first doctor.
    void doutorAtivo_data()
    {
        QTest::addColumn<QString>("ativo");
        QTest::addColumn<QString>("nome");
        QTest::newRow("exato") << "Bruno Reis" << "Bruno Reis";
        QTest::newRow("outra caixa") << "ANA PRADO" << "Ana Prado";
        QTest::newRow("desconhecido") << "Dr. Fulano" << "Carla Nunes";
        QTest::newRow("nenhum") << "" << "Carla Nunes";
    }
    void doutorAtivo()
    {
        QFETCH(QString, ativo);
        QFETCH(QString, nome);
        QPointer<TfrmCadastroMedicos> f = Abre(ativo);
        QCOMPARE(f->dbeNome->text(), nome);
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Código:"));
        QVERIFY(f->dbtCodigo->isVisible());
        QCOMPARE(Estado(f), QStringLiteral("111011111"));
        QVERIFY(f->dbeNome->isReadOnly());
        f->close();
    }

    // The record buttons walk the doctors in code order.
    void navegacao_data()
    {
        QTest::addColumn<QString>("botoes");
        QTest::addColumn<QStringList>("nomes");
        QTest::newRow("para frente") << "PPP" << QStringList{"Ana Prado", "Bruno Reis", "Bruno Reis"};
        QTest::newRow("ultimo e volta") << "UAAA" << QStringList{"Bruno Reis", "Ana Prado", "Carla Nunes", "Carla Nunes"};
        QTest::newRow("primeiro") << "UI" << QStringList{"Bruno Reis", "Carla Nunes"};
    }
    void navegacao()
    {
        QFETCH(QString, botoes);
        QFETCH(QStringList, nomes);
        QPointer<TfrmCadastroMedicos> f = Abre();
        for (int i = 0; i < botoes.size(); ++i) {
            QToolButton* b = botoes[i] == u'P' ? f->btnPRO : botoes[i] == u'A' ? f->btnANT
                           : botoes[i] == u'U' ? f->btnULT : f->btnPRI;
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(f->dbeNome->text(), nomes[i]);
        }
        const QString codigo = f->dbtCodigo->text();
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), codigo.toInt()).value("NOME"), nomes.last());
        f->close();
    }

    // Adding: the toolbar switches to adding, the record is stored with the letters of the
    // option groups, and the registry shows the new doctor.
    void inclusao_data()
    {
        QTest::addColumn<int>("sexo");
        QTest::addColumn<int>("estadoCivil");
        QTest::addColumn<QString>("letras");
        QTest::newRow("preselecao") << -2 << -2 << "MS";
        QTest::newRow("feminino divorciada") << 1 << 2 << "FD";
        QTest::newRow("masculino casado") << 0 << 0 << "MC";
    }
    void inclusao()
    {
        QFETCH(int, sexo);
        QFETCH(int, estadoCivil);
        QFETCH(QString, letras);
        QPointer<TfrmCadastroMedicos> f = Abre("Bruno Reis");
        f->pgcCadastro->setCurrentWidget(f->tshResidencial);
        QTest::mouseClick(f->btnAdd, Qt::LeftButton);
        QCOMPARE(f->Modo, QStringLiteral("Add"));
        QCOMPARE(Estado(f), QStringLiteral("001100000"));
        QCOMPARE(f->btnDel->text(), QStringLiteral("Cancelar"));
        QCOMPARE(f->btnDel->toolTip(), QStringLiteral("Cancelar inclusão ou alteração do registro"));
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Adcionando um novo médico"));
        QVERIFY(f->dbtCodigo->isHidden());
        QCOMPARE(f->dbeNome->text(), QString());
        QCOMPARE(f->dbeCRM->text(), QString());
        QCOMPARE(f->drgSexo->Valor(), QStringLiteral("M"));
        QCOMPARE(f->drgEstadoCivil->Valor(), QStringLiteral("S"));
        QCOMPARE(f->pgcCadastro->currentWidget(), f->tshPessoal);
        QCOMPARE(f->focusWidget(), f->dbeNome);
        QVERIFY(!f->dbeNome->isReadOnly() && cadastro::Editavel(f->dbcEstado));

        // A name of 60 characters is cut to 50 by the field.
        const QString nome = QStringLiteral("Dra. Silvia ") + QString(48, u'w');
        QTest::keyClicks(f->dbeNome, nome);
        QCOMPARE(f->dbeNome->text(), nome.left(50));
        f->dbeCRM->setText("SP-12345");
        if (sexo != -2)
            f->drgSexo->DefineItemIndex(sexo);
        if (estadoCivil != -2)
            f->drgEstadoCivil->DefineItemIndex(estadoCivil);
        f->dbcEstado->setCurrentText("RJ");
        f->dbcEstadoNaturalidade->setEditText("PT"); // typed, not from the list
        f->dbeCep->setText("20000-000");
        f->pgcCadastro->setCurrentWidget(f->tshResidencial);
        QTest::mouseClick(f->btnAtu, Qt::LeftButton);

        const auto linha = LinhaConfirmada(m_banco->Arquivo(), 4);
        QCOMPARE(linha.value("NOME"), nome.left(50));
        QCOMPARE(linha.value("CRM"), QStringLiteral("SP-12345"));
        QCOMPARE(linha.value("SEXO") + linha.value("ESTADOCIVIL"), letras);
        QCOMPARE(linha.value("ESTADO"), QStringLiteral("RJ"));
        QCOMPARE(linha.value("NATURALIDADEESTADO"), QStringLiteral("PT"));
        QCOMPARE(linha.value("CEP"), QStringLiteral("20000-000"));
        QCOMPARE(linha.value("RG"), QString());
        // Back to browsing, on the new doctor.
        QCOMPARE(f->dbtCodigo->text(), QStringLiteral("4"));
        QCOMPARE(f->dbeNome->text(), nome.left(50));
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Código:"));
        QVERIFY(f->dbtCodigo->isVisible());
        QCOMPARE(f->pgcCadastro->currentWidget(), f->tshPessoal);
        QCOMPARE(Estado(f), QStringLiteral("111011111"));
        QCOMPARE(f->btnDel->text(), QStringLiteral("Excluir"));
        QVERIFY(f->dbeNome->isReadOnly() && !cadastro::Editavel(f->dbcEstado));
        QVERIFY(f->Modo.isEmpty());
        f->close();
    }

    // A new doctor whose name differs from an existing one only in letter case: the
    // registry shows the new one.
    void inclusaoNomeRepetido()
    {
        QPointer<TfrmCadastroMedicos> f = Abre();
        f->sbtAddClick();
        f->dbeNome->setText("ANA PRADO");
        QVERIFY(f->sbtAtualizarClick());
        QCOMPARE(f->dbtCodigo->text(), QStringLiteral("4"));
        QCOMPARE(f->dbeNome->text(), QStringLiteral("ANA PRADO"));
        f->close();
    }

    void inclusaoSemNome_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::newRow("vazio") << "";
        QTest::newRow("só espaços") << "   ";
        QTest::newRow("espaços e tabulação") << " \t ";
    }
    void inclusaoSemNome()
    {
        QFETCH(QString, nome);
        QPointer<TfrmCadastroMedicos> f = Abre();
        f->sbtAddClick();
        f->dbeNome->setText(nome);
        f->dbeCRM->setText("CRM digitado");
        f->pgcCadastro->setCurrentWidget(f->tshResidencial);
        m_msg->Responde(RespostaMensagem::Ok);
        QVERIFY(!f->sbtAtualizarClick());
        QCOMPARE(m_msg->Registros().size(), 1);
        const auto& r = m_msg->Registros().first();
        QCOMPARE(r.titulo, QStringLiteral("Informação"));
        QCOMPARE(r.texto, QStringLiteral("Campo NOME é obrigatório!!!"));
        QCOMPARE(r.icone, IconeMensagem::Informacao);
        QCOMPARE(f->focusWidget(), f->dbeNome);
        QVERIFY(f->Editando());
        QCOMPARE(f->dbeCRM->text(), QStringLiteral("CRM digitado"));
        QCOMPARE(TDMedicos(DM()).ContaMedicos(), 3);
        // Cancel: nothing written, back to the doctor shown before.
        f->sbtDelClick();
        QVERIFY(!f->Editando());
        QCOMPARE(f->dbeNome->text(), QStringLiteral("Carla Nunes"));
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Código:"));
        QCOMPARE(Estado(f), QStringLiteral("111011111"));
        QCOMPARE(TDMedicos(DM()).ContaMedicos(), 3);
        f->close();
    }

    // Changing: saved through the procedure for the code shown; cancelling writes nothing.
    void alteracao_data()
    {
        QTest::addColumn<bool>("grava");
        QTest::newRow("atuallizar") << true;
        QTest::newRow("cancelar") << false;
    }
    void alteracao()
    {
        QFETCH(bool, grava);
        QPointer<TfrmCadastroMedicos> f = Abre("Ana Prado");
        QCOMPARE(f->dbtCodigo->text(), QStringLiteral("2"));
        QTest::mouseClick(f->btnAlt, Qt::LeftButton);
        QCOMPARE(f->Modo, QStringLiteral("Atualiza"));
        QCOMPARE(Estado(f), QStringLiteral("001100000"));
        QCOMPARE(f->dbeNome->text(), QStringLiteral("Ana Prado")); // the row stays in the fields
        f->dbeNome->setText("Ana Prado Lima");
        f->dbeFone->setText("1122223333");
        f->drgSexo->DefineItemIndex(0);
        QTest::mouseClick(grava ? f->btnAtu : f->btnDel, Qt::LeftButton);
        const auto linha = LinhaConfirmada(m_banco->Arquivo(), 2);
        QCOMPARE(linha.value("NOME"), grava ? QStringLiteral("Ana Prado Lima") : QStringLiteral("Ana Prado"));
        QCOMPARE(linha.value("FONE"), grava ? QStringLiteral("1122223333") : QString());
        QCOMPARE(linha.value("SEXO"), grava ? QStringLiteral("M") : QStringLiteral("F"));
        QCOMPARE(linha.value("CRM"), QStringLiteral("CRM-1"));
        QCOMPARE(linha.value("ESTADO"), QStringLiteral("SP"));
        QCOMPARE(f->dbtCodigo->text(), QStringLiteral("2"));
        QCOMPARE(f->dbeNome->text(), linha.value("NOME"));
        QCOMPARE(f->drgSexo->Valor(), linha.value("SEXO"));
        QCOMPARE(Estado(f), QStringLiteral("111011111"));
        QCOMPARE(f->btnDel->text(), QStringLiteral("Excluir"));
        QCOMPARE(f->btnDel->toolTip(), QStringLiteral("Excluir o registro atual"));
        // Other doctors untouched.
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), 1).value("NOME"), QStringLiteral("Carla Nunes"));
        f->close();
    }

    // Deleting: refused for a doctor with examinations; otherwise asked, and done on Yes.
    void exclusao_data()
    {
        QTest::addColumn<bool>("comExame");
        QTest::addColumn<int>("resposta"); // 1 Yes, 0 No, -1 no question
        QTest::addColumn<int>("restantes");
        QTest::newRow("com exame") << true << -1 << 3;
        QTest::newRow("nao") << false << 0 << 3;
        QTest::newRow("sim") << false << 1 << 2;
    }
    void exclusao()
    {
        QFETCH(bool, comExame);
        QFETCH(int, resposta);
        QFETCH(int, restantes);
        QPointer<TfrmCadastroMedicos> f = Abre("Bruno Reis");
        if (comExame) {
            TDadosPaciente p;
            p.Nome = "Paciente";
            TDPacientes(DM()).InserePaciente(p, QDate(2021, 1, 1), 1);
            TDExames(DM()).InsereExame(1, 3, QDate(2021, 1, 1), QTime(10, 0), "OD", 0.9, "T", "",
                                       "", "", 20, "P");
            DM().PCommitDataBase();
            f->PosicionaCodigo(3);
        }
        QCOMPARE(f->dbeNome->text(), QStringLiteral("Bruno Reis"));
        m_msg->Responde(resposta < 0 ? RespostaMensagem::Ok
                        : resposta ? RespostaMensagem::Sim : RespostaMensagem::Nao);
        QTest::mouseClick(f->btnDel, Qt::LeftButton);
        QCOMPARE(m_msg->Registros().size(), 1);
        const auto& r = m_msg->Registros().first();
        QCOMPARE(r.titulo, QStringLiteral("Informação"));
        if (comExame) {
            QCOMPARE(r.texto, QStringLiteral("Não é possivel excluir o Dr(a) Bruno Reis.\nPara excluir é "
                                             "preciso excluir todos os pacientes vinculados."));
            QCOMPARE(r.icone, IconeMensagem::Pergunta);
            QCOMPARE(r.botoes, BotoesMensagem::Ok);
            QCOMPARE(f->dbeNome->text(), QStringLiteral("Bruno Reis"));
        } else {
            QCOMPARE(r.texto, QStringLiteral("Deseja excluir o médico Bruno Reis ?"));
            QCOMPARE(r.icone, IconeMensagem::Erro);
            QCOMPARE(r.botoes, BotoesMensagem::SimNao);
            QCOMPARE(r.padrao, PadraoMensagem::Nao);
            // The table was reopened: its first row.
            QCOMPARE(f->dbeNome->text(), QStringLiteral("Carla Nunes"));
        }
        QCOMPARE(TDMedicos(DM()).ContaMedicos(), restantes);
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), 3).isEmpty(), restantes == 2);
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Código:"));
        QCOMPARE(Estado(f), QStringLiteral("111011111"));
        f->close();
    }

    // Deleting the only doctor: the registry says so and offers only "Adicionar"; adding
    // brings it back to normal.
    void ultimoMedico()
    {
        TDMedicos(DM()).InsereMedico(Medico("Único Médico"));
        auto* f = new TfrmCadastroMedicos;
        f->show();
        m_msg->Responde(RespostaMensagem::Sim);
        f->sbtDelClick();
        QCOMPARE(TDMedicos(DM()).ContaMedicos(), 0);
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Nenhum médico cadastrado!!!"));
        QVERIFY(f->dbtCodigo->isHidden());
        QCOMPARE(f->dbeNome->text(), QString());
        QCOMPARE(Estado(f).left(5), QStringLiteral("10000"));
        // Cancelling an addition keeps the empty state.
        f->sbtAddClick();
        f->sbtDelClick();
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Nenhum médico cadastrado!!!"));
        QCOMPARE(Estado(f).left(5), QStringLiteral("10000"));
        f->sbtAddClick();
        f->dbeNome->setText("Novo Médico");
        QVERIFY(f->sbtAtualizarClick());
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Código:"));
        QCOMPARE(f->dbtCodigo->text(), QStringLiteral("2"));
        QCOMPARE(Estado(f), QStringLiteral("111011111"));
        f->close();
    }

    void semMedicosAoAbrir()
    {
        auto* f = new TfrmCadastroMedicos;
        f->show();
        QCOMPARE(f->lblCodigo->text(), QStringLiteral("Nenhum médico cadastrado!!!"));
        QVERIFY(f->dbtCodigo->isHidden());
        QCOMPARE(Estado(f), QStringLiteral("100001111"));
        f->close();
    }

    // Closing while changing: Yes saves, No discards; Yes with an empty name keeps the
    // form open with what was typed.
    void fechamentoEditando_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("sim");
        QTest::addColumn<QString>("gravado");
        QTest::addColumn<bool>("fechou");
        QTest::newRow("sim") << "Carla Nunes Alves" << true << "Carla Nunes Alves" << true;
        QTest::newRow("nao") << "Carla Nunes Alves" << false << "Carla Nunes" << true;
        QTest::newRow("sim sem nome") << "" << true << "Carla Nunes" << false;
    }
    void fechamentoEditando()
    {
        QFETCH(QString, nome);
        QFETCH(bool, sim);
        QFETCH(QString, gravado);
        QFETCH(bool, fechou);
        QPointer<TfrmCadastroMedicos> f = Abre();
        f->sbtAlterarClick();
        f->dbeNome->setText(nome);
        m_msg->Responde(sim ? RespostaMensagem::Sim : RespostaMensagem::Nao);
        if (nome.isEmpty())
            m_msg->Responde(RespostaMensagem::Ok);
        QTest::mouseClick(f->sButton7, Qt::LeftButton);
        QCOMPARE(m_msg->Registros().first().texto, QStringLiteral("Deseja salvar as alterações?"));
        QCOMPARE(m_msg->Registros().first().icone, IconeMensagem::Pergunta);
        QCOMPARE(m_msg->Registros().first().botoes, BotoesMensagem::SimNao);
        Libera();
        QCOMPARE(f.isNull(), fechou);
        QCOMPARE(LinhaConfirmada(m_banco->Arquivo(), 1).value("NOME"), gravado);
        if (fechou) {
            QVERIFY(!DM().IBMedicos->Ativa()); // the registry closed the doctors table
        } else {
            QCOMPARE(m_msg->Textos().last(), QStringLiteral("Campo NOME é obrigatório!!!"));
            QVERIFY(f->Editando());
            m_msg->Responde(RespostaMensagem::Nao);
            f->close();
            Libera();
            QVERIFY(f.isNull());
        }
    }

    // Closing while browsing asks nothing.
    void fechamentoNavegando()
    {
        QPointer<TfrmCadastroMedicos> f = Abre();
        f->reject();
        Libera();
        QVERIFY(f.isNull());
        QVERIFY(m_msg->Registros().isEmpty());
    }
};

QTEST_MAIN(TesteCadastroMedicos)
#include "tst_medicos.moc"
