// The examination navigator on a real database: the doctor filter and patient lists, the
// quick find, the layout, the examination list and its selection, details, deletions,
// the examples page, the keyboard and closing.

#include "navigator/UNavegador.h"
#include "tests/navigator/UCenarioNavegador.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>

using namespace Navegador;

class TesteNavegador : public QObject {
    Q_OBJECT
private slots:
    void filtroMedicos_data();
    void filtroMedicos();
    void pacientesDoFiltro_data();
    void pacientesDoFiltro();
    void voltaAoPacienteAtivo();
    void buscaRapida_data();
    void buscaRapida();
    void layout_data();
    void layout();
    void legendaEncontraExame();
    void botaoLente();
    void exibirTodosOsExames();
    void laudoEDescricao_data();
    void laudoEDescricao();
    void gravaDiagnosticoEObservacoes();
    void excluiUltimoExame();
    void excluiUmDeDois();
    void excluiExameComLaudos_data();
    void excluiExameComLaudos();
    void exclusaoRecusadaPeloBanco();
    void excluiPaciente();
    void exemplos_data();
    void exemplos();
    void teclado();
    void fechamentoGravaConfiguracao();
};

void TesteNavegador::filtroMedicos_data()
{
    QTest::addColumn<bool>("medicos");
    QTest::addColumn<bool>("semExames");
    QTest::addColumn<QString>("ativo");
    QTest::addColumn<QStringList>("itens");
    QTest::addColumn<QString>("atual");
    const QStringList dois = {"Dr. Bruno", "Dra. Alice"};
    QTest::newRow("vazio") << false << false << "" << QStringList{} << "";
    QTest::newRow("todos com exames, ativo vazio") << true << false << ""
                                                   << QStringList{"Dr. Bruno", "Dra. Alice", kTodos} << kTodos;
    QTest::newRow("com paciente sem exames") << true << true << "Dra. Alice"
                                             << QStringList{"Dr. Bruno", "Dra. Alice", kSemExames, kTodos}
                                             << "Dra. Alice";
    QTest::newRow("ativo sem exames, existe") << true << true << kSemExames
                                              << QStringList{"Dr. Bruno", "Dra. Alice", kSemExames, kTodos} << kSemExames;
    QTest::newRow("ativo sem exames, ausente") << true << false << kSemExames
                                               << QStringList{"Dr. Bruno", "Dra. Alice", kTodos} << "Dra. Alice";
    QTest::newRow("ativo todos") << true << true << kTodos
                                 << QStringList{"Dr. Bruno", "Dra. Alice", kSemExames, kTodos} << kTodos;
    QTest::newRow("ativo desconhecido") << true << false << "Dr. Fulano"
                                        << QStringList{"Dr. Bruno", "Dra. Alice", kTodos} << "";
}

void TesteNavegador::filtroMedicos()
{
    QFETCH(bool, medicos);
    QFETCH(bool, semExames);
    QFETCH(QString, ativo);
    QFETCH(QStringList, itens);
    QFETCH(QString, atual);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    if (medicos) {
        // Inserted out of order: the list is in name order.
        const int alice = c.Medico(QStringLiteral("Dra. Alice"));
        c.Medico(QStringLiteral("Dr. Bruno"));
        const int p = c.Paciente(QStringLiteral("Carlos"));
        c.Exame(p, alice, QDate(2024, 1, 2), QTime(9, 0, 0));
        if (semExames)
            c.Paciente(QStringLiteral("Sem Exame"));
    }
    InfosZR.MedicoAtivo = ativo;
    c.Abre();
    QCOMPARE(c.Filtros(), itens);
    QCOMPARE(c.nav->CBMedicos->currentText(), atual);
    if (itens.isEmpty()) {
        QCOMPARE(c.nav->CBMedicos->currentIndex(), -1);
        QVERIFY(c.NomesPacientes().isEmpty());
        QVERIFY(!c.nav->tbtAlterarPaciente->isEnabled());
        QVERIFY(!c.nav->tbtExcluirPaciente->isEnabled());
    }
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::pacientesDoFiltro_data()
{
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<bool>("alfabetica");
    QTest::addColumn<QStringList>("nomes");
    // Registered in the order Carla, Ana, Bruno, Daniel, Elisa (codes 1 to 5). Dr. A examined
    // Carla twice, Ana three times and Bruno once; Dr. B examined Daniel and Ana; Elisa has none.
    QTest::newRow("A alfabética") << "Dr. A" << true << QStringList{"Ana", "Bruno", "Carla"};
    QTest::newRow("A criação") << "Dr. A" << false << QStringList{"Carla", "Ana", "Bruno"};
    QTest::newRow("B alfabética") << "Dr. B" << true << QStringList{"Ana", "Daniel"};
    QTest::newRow("B criação") << "Dr. B" << false << QStringList{"Ana", "Daniel"};
    QTest::newRow("todos alfabética") << kTodos << true << QStringList{"Ana", "Bruno", "Carla", "Daniel", "Elisa"};
    QTest::newRow("todos criação") << kTodos << false << QStringList{"Carla", "Ana", "Bruno", "Daniel", "Elisa"};
    QTest::newRow("sem exames") << kSemExames << true << QStringList{"Elisa"};
}

void TesteNavegador::pacientesDoFiltro()
{
    QFETCH(QString, filtro);
    QFETCH(bool, alfabetica);
    QFETCH(QStringList, nomes);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int b = c.Medico(QStringLiteral("Dr. B"));
    const int carla = c.Paciente(QStringLiteral("Carla"));
    const int ana = c.Paciente(QStringLiteral("Ana"));
    const int bruno = c.Paciente(QStringLiteral("Bruno"));
    const int daniel = c.Paciente(QStringLiteral("Daniel"));
    c.Paciente(QStringLiteral("Elisa"));
    c.Exame(carla, a, QDate(2024, 1, 1), QTime(8, 0, 0));
    c.Exame(carla, a, QDate(2024, 1, 1), QTime(8, 1, 0), QStringLiteral("OS"));
    for (int i = 0; i < 3; ++i)
        c.Exame(ana, a, QDate(2024, 2, 1 + i), QTime(9, 0, 0));
    c.Exame(ana, b, QDate(2024, 3, 1), QTime(9, 0, 0));
    c.Exame(bruno, a, QDate(2024, 4, 1), QTime(10, 0, 0));
    c.Exame(daniel, b, QDate(2024, 5, 1), QTime(11, 0, 0));

    c.Abre();
    c.nav->CBMedicos->setCurrentIndex(c.nav->CBMedicos->findText(filtro));
    c.nav->CBMedicos1Change();
    if (!alfabetica)
        QTest::mouseClick(c.nav->tbOrdemCriacao, Qt::LeftButton);
    QCOMPARE(c.NomesPacientes(), nomes);
    QCOMPARE(c.nav->tbOrdemAlfa->isChecked(), alfabetica);
    QCOMPARE(c.nav->tbOrdemCriacao->isChecked(), !alfabetica);
    // The list opens in name order on its first patient; the order button keeps him.
    QStringList emOrdem = nomes;
    emOrdem.sort();
    QCOMPARE(c.nav->NomePacienteAtual(), emOrdem.first());
    QCOMPARE(c.nav->lblNomePaciente->text(), emOrdem.first());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::voltaAoPacienteAtivo()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    for (const char* n : {"Ana", "Bruno", "Carla"})
        c.Exame(c.Paciente(QString::fromUtf8(n), QStringLiteral("Unimed")), a, QDate(2024, 1, 1), QTime(8, 0, 0));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    InfosZR.PacienteAtivo = QStringLiteral("BRUNO"); // letter case ignored
    c.Abre();
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bruno"));
    QCOMPARE(c.nav->lblPacienteID->text(), QStringLiteral("0002"));
    QCOMPARE(c.nav->lblConvenio->text(), QStringLiteral("Unimed"));
    QCOMPARE(c.nav->lblNomePaciente->toolTip(), QStringLiteral("Data de criação: 01/06/2020"));
    // The patient toolbar is already up on opening: the title keeps its first text.
    QCOMPARE(c.nav->lblPRI->text(), QStringLiteral("Painel de Conteúdo: Clientes"));
    QVERIFY(c.nav->tlbPaciente->isVisible());
    QVERIFY(!c.nav->tlbExame->isVisible());

    // Changing the order comes back to the same patient.
    QTest::mouseClick(c.nav->tbOrdemCriacao, Qt::LeftButton);
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bruno"));
    // Changing the filter too.
    c.nav->CBMedicos->setCurrentIndex(c.nav->CBMedicos->findText(kTodos));
    c.nav->CBMedicos1Change();
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bruno"));
}

void TesteNavegador::buscaRapida_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("minúsculas não acham maiúsculas") << "ana" << "ana souza";
    QTest::newRow("maiúscula") << "Ana" << "Ana Lima";
    QTest::newRow("mais letras") << "Ana S" << "Ana Silva";
    QTest::newRow("acento") << "Áu" << "Áurea";
    QTest::newRow("nenhum: fica onde está") << "Zé" << "Ana Lima";
}

void TesteNavegador::buscaRapida()
{
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    for (const char* n : {"ana souza", "Beatriz", "Ana Silva", "Ana Lima", "Áurea"})
        c.Paciente(QString::fromUtf8(n));
    c.Abre();
    QCOMPARE(c.nav->CBMedicos->currentText(), kTodos);
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana Lima"));
    c.nav->edtFindGrid->setFocus();
    for (const QChar ch : texto)
        QTest::sendKeyEvent(QTest::Click, c.nav->edtFindGrid, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QCOMPARE(c.nav->edtFindGrid->text(), texto);
    QCOMPARE(c.nav->NomePacienteAtual(), esperado);
    QCOMPARE(c.nav->DBGridPacientes->currentIndex().row(), c.DM().IBQueryPacientes->Linha());
    // Esc clears the box and gives the focus back to the grid.
    QTest::keyClick(c.nav->edtFindGrid, Qt::Key_Escape);
    QVERIFY(c.nav->edtFindGrid->text().isEmpty());
    QVERIFY(c.nav->isVisible());
}

void TesteNavegador::layout_data()
{
    QTest::addColumn<QSize>("tela");
    QTest::addColumn<double>("grade");
    QTest::addColumn<double>("info");
    QTest::newRow("1024x768") << QSize(1024, 768) << 0.63 << 0.75;
    QTest::newRow("1280x1024") << QSize(1280, 1024) << 0.79 << 0.855;
    QTest::newRow("1366x768") << QSize(1366, 768) << 0.7 << 0.8;
}

void TesteNavegador::layout()
{
    QFETCH(QSize, tela);
    QFETCH(double, grade);
    QFETCH(double, info);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    c.Paciente(QStringLiteral("Ana"));
    c.Abre(false, tela);
    c.nav->resize(tela);
    QCoreApplication::processEvents();
    const int h = c.nav->tsPacientes->height();
    QVERIFY(h > 200);
    // Nearest integer, halves to even (the default rounding mode).
    QCOMPARE(c.nav->DBGridPacientes->height(), int(std::nearbyint(grade * h)));
    QCOMPARE(c.nav->pnlPacInfo->y(), int(std::nearbyint(info * h)));
    // The quick find box sits between the grid and the information box.
    QVERIFY(c.nav->edtFindGrid->y() >= c.nav->DBGridPacientes->height());
    QVERIFY(c.nav->edtFindGrid->y() + c.nav->edtFindGrid->height() <= c.nav->pnlPacInfo->y());
}

// "Lente" hands the measurement screen the examination selected on the patients page, and
// only that: never on the examples page, never without a selection.
void TesteNavegador::botaoLente()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const int outro = c.Paciente(QStringLiteral("Bruno"));
    c.Exame(outro, a, QDate(2004, 3, 1), QTime(8, 0, 0), QStringLiteral("OD"));
    const int alvo = c.Exame(p, a, QDate(2004, 3, 5), QTime(14, 7, 9), QStringLiteral("OS"));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    InfosZR.PacienteAtivo = QStringLiteral("Ana");
    QList<TfrmExames::ExameLente> abertos;
    TfrmExames::Ligacoes().Medidas = [&](TfrmExames& n) { abertos << n.ExameParaLente(); };
    c.Abre();
    c.nav->MostraPaciente(QStringLiteral("Ana"), c.nav->FiltroMedico());
    QVERIFY(!c.nav->Button1->isEnabled());
    c.nav->Button1Click();
    QVERIFY(abertos.isEmpty());

    QVERIFY(c.Seleciona(QStringLiteral("OS - 05/03/2004 14:07:09")));
    QVERIFY(c.nav->Button1->isEnabled());
    c.nav->Button1Click();
    QCOMPARE(abertos.size(), 1);
    QCOMPARE(abertos[0].Codigo, alvo);
    QCOMPARE(abertos[0].CodPaciente, p);
    QCOMPARE(abertos[0].Olho, QStringLiteral("OS"));
    QCOMPARE(abertos[0].Data, QStringLiteral("05/03/2004"));
    QCOMPARE(abertos[0].NomePaciente, QStringLiteral("Ana"));

    // The examples page: the shared query still holds Ana's row, but Lente stays off.
    c.nav->pcExames->setCurrentIndex(1);
    QVERIFY(!c.nav->Button1->isEnabled());
    c.nav->lswPrincipal->setCurrentRow(0);
    QVERIFY(!c.nav->Button1->isEnabled());
    c.nav->Button1Click();
    QCOMPARE(abertos.size(), 1);
    c.nav->pcExames->setCurrentIndex(0);
    QVERIFY(!c.nav->Button1->isEnabled());
}

void TesteNavegador::legendaEncontraExame()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    c.Exame(p, a, QDate(2004, 3, 5), QTime(14, 7, 8), QStringLiteral("OD"));
    const int alvo = c.Exame(p, a, QDate(2004, 3, 5), QTime(14, 7, 9), QStringLiteral("OD"), QStringLiteral("T"), 92.345);
    c.Exame(p, a, QDate(2004, 3, 5), QTime(14, 7, 9), QStringLiteral("OS"));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QVERIFY(c.Itens().contains(QStringLiteral("OD - 05/03/2004 14:07:09")));
    QCOMPARE(c.Itens().size(), 3);

    QVERIFY(c.Seleciona(QStringLiteral("OD - 05/03/2004 14:07:09")));
    QVERIFY(c.nav->ExameSelecionado);
    QCOMPARE(c.DM().IBQueryExames->Inteiro(QStringLiteral("CODIGO")), alvo);
    QCOMPARE(c.nav->lblPRI->text(), QStringLiteral("Painel de Conteúdo: Exames"));
    QVERIFY(c.nav->tlbExame->isVisible());
    QVERIFY(!c.nav->pnlInfoExame->isVisible());

    // A double click shows the details, a second one hides them.
    c.nav->lswPrincipalDblClick();
    QVERIFY(c.nav->pnlInfoExame->isVisible());
    QCOMPARE(c.nav->lblNomeExame->text(), QStringLiteral("Olho Direito"));
    QCOMPARE(c.nav->lblCodExame->text(), QStringLiteral("000") + QString::number(alvo));
    QCOMPARE(c.nav->lblVData->text(), QStringLiteral("05/03/2004"));
    QCOMPARE(c.nav->lblVHora->text(), QStringLiteral("14:07:09"));
    QCOMPARE(c.nav->lblIdConf->text(), QStringLiteral("92.35%")); // 92.345 rounds away from zero
    QCOMPARE(c.nav->lblNomeMedico->text(), QStringLiteral("Dr. A"));
    QVERIFY(!c.nav->pnlOrto->isVisible());
    c.nav->lswPrincipalDblClick();
    QVERIFY(!c.nav->pnlInfoExame->isVisible());

    // The caption of a deleted examination no longer finds it.
    c.nav->CodPacienteSelecao = p;
    QVERIFY(c.nav->LocalizaExame(QStringLiteral("OS - 05/03/2004 14:07:09")));
    QVERIFY(!c.nav->LocalizaExame(QStringLiteral("OS - 05/03/2004 14:07:10")));
    QVERIFY(!c.nav->LocalizaExame(QString()));

    // A click on the patient grid goes back to patient mode and drops the selection.
    c.nav->DBGridPacientesCellClick();
    QVERIFY(c.nav->tlbPaciente->isVisible());
    QCOMPARE(c.nav->lblPRI->text(), QStringLiteral("Painel de Conteúdo: Pacientes"));
    QVERIFY(!c.nav->ExameSelecionado);
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::exibirTodosOsExames()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int b = c.Medico(QStringLiteral("Dr. B"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    for (int i = 0; i < 3; ++i)
        c.Exame(p, a, QDate(2024, 1, 1 + i), QTime(9, 0, 0));
    for (int i = 0; i < 2; ++i)
        c.Exame(p, b, QDate(2024, 2, 1 + i), QTime(9, 0, 0), QStringLiteral("OS"));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QCOMPARE(c.Itens().size(), 3);
    QVERIFY(c.nav->CBoxExames->isVisibleTo(c.nav));
    QTest::mouseClick(c.nav->CBoxExames, Qt::LeftButton);
    QVERIFY(c.nav->CBoxExames->isChecked());
    QCOMPARE(c.Itens().size(), 5);
    // Ticked, and the filter's doctor has fewer than all: the box stays.
    QVERIFY(c.nav->CBoxExames->isVisibleTo(c.nav));
    // Saving a diagnosis keeps the tick and the other doctor's examinations.
    QVERIFY(c.Seleciona(QStringLiteral("OD - 01/01/2024 09:00:00")));
    c.nav->lswPrincipalDblClick();
    QTest::mouseClick(c.nav->btnEDD, Qt::LeftButton);
    c.nav->dbDiag->setPlainText(QStringLiteral("Astigmatismo"));
    QTest::mouseClick(c.nav->btnGRD, Qt::LeftButton);
    QVERIFY(c.nav->CBoxExames->isChecked());
    QCOMPARE(c.Itens().size(), 5);
    QCOMPARE(c.nav->lswPrincipal->currentItem()->text(), QStringLiteral("OD - 01/01/2024 09:00:00"));

    c.nav->CBMedicos->setCurrentIndex(c.nav->CBMedicos->findText(kTodos));
    c.nav->CBMedicos1Change();
    QCOMPARE(c.Itens().size(), 5);
    QVERIFY(!c.nav->CBoxExames->isVisibleTo(c.nav));

    // Every examination by the filter's doctor: nothing to offer.
    const int q = c.Paciente(QStringLiteral("Bia"));
    c.Exame(q, a, QDate(2024, 3, 1), QTime(9, 0, 0));
    c.nav->MostraPaciente(QStringLiteral("Bia"), QStringLiteral("Dr. A"));
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bia"));
    QCOMPARE(c.Itens().size(), 1);
    QVERIFY(!c.nav->CBoxExames->isVisibleTo(c.nav));
}

void TesteNavegador::laudoEDescricao_data()
{
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<bool>("responsavel");
    QTest::newRow("todos") << kTodos << false;
    QTest::newRow("médico do exame") << "Dr. A" << true;
    QTest::newRow("outro médico") << "Dr. B" << false;
}

void TesteNavegador::laudoEDescricao()
{
    QFETCH(QString, filtro);
    QFETCH(bool, responsavel);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int b = c.Medico(QStringLiteral("Dr. B"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    c.Exame(p, a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Exame(p, b, QDate(2024, 1, 2), QTime(9, 0, 0));
    InfosZR.MedicoAtivo = filtro;
    c.Abre();
    if (filtro == QStringLiteral("Dr. B")) {
        QTest::mouseClick(c.nav->CBoxExames, Qt::LeftButton);
        QCOMPARE(c.Itens().size(), 2);
    }
    QVERIFY(!c.nav->tbLaudo->isEnabled());
    QVERIFY(!c.nav->tbtExcluirExame->isEnabled());
    QVERIFY(c.Seleciona(QStringLiteral("OD - 01/01/2024 09:00:00")));
    QCOMPARE(c.nav->tbLaudo->isEnabled(), responsavel);
    QVERIFY(c.nav->tbtExcluirExame->isEnabled());
    c.nav->lswPrincipalDblClick();
    QCOMPARE(c.nav->btnEDD->isEnabled(), responsavel);
    QCOMPARE(c.nav->btnEDO->isEnabled(), responsavel);
    QVERIFY(!c.nav->btnGRD->isEnabled());
    QVERIFY(!c.nav->btnGRO->isEnabled());
    QVERIFY(c.nav->lblNomeMedico->styleSheet().contains(responsavel ? QStringLiteral("navy") : QStringLiteral("red")));

    // A click on the doctor's name makes him the filter.
    c.nav->lblNomeMedicoClick();
    QCOMPARE(c.nav->FiltroMedico(), QStringLiteral("Dr. A"));
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana"));
    QVERIFY(c.Seleciona(QStringLiteral("OD - 01/01/2024 09:00:00")));
    QVERIFY(c.nav->tbLaudo->isEnabled());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::gravaDiagnosticoEObservacoes()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    c.Paciente(QStringLiteral("Bruno"));
    const int e = c.Exame(p, a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Exame(c.Paciente(QStringLiteral("Carla")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QVERIFY(c.Seleciona(QStringLiteral("OD - 01/01/2024 09:00:00")));
    c.nav->lswPrincipalDblClick();
    QVERIFY(c.nav->dbDiag->isReadOnly());
    QTest::mouseClick(c.nav->btnEDD, Qt::LeftButton);
    QVERIFY(!c.nav->dbDiag->isReadOnly());
    QVERIFY(c.nav->btnGRD->isEnabled());
    QVERIFY(!c.nav->btnEDD->isEnabled());
    c.nav->dbDiag->setPlainText(QStringLiteral("Ceratocone incipiente, d'Ávila"));
    QTest::mouseClick(c.nav->btnGRD, Qt::LeftButton);
    QVERIFY(c.nav->dbDiag->isReadOnly());
    QVERIFY(c.nav->btnEDD->isEnabled());
    QVERIFY(!c.nav->btnGRD->isEnabled());
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana"));
    QVERIFY(c.nav->pnlInfoExame->isVisible());

    c.nav->pcDetalhes->setCurrentIndex(1);
    QTest::mouseClick(c.nav->btnEDO, Qt::LeftButton);
    // The column holds 240 characters: the memo takes no more.
    c.nav->dbObs->setPlainText(QString(300, QLatin1Char('x')));
    QCOMPARE(c.nav->dbObs->toPlainText().size(), 240);
    QTest::mouseClick(c.nav->btnGRO, Qt::LeftButton);

    ConsultaBD& op = *c.DM().IBOperation;
    op.Fecha();
    op.DefineSQL(QStringLiteral("SELECT Diag, Observacao FROM Exames WHERE Codigo=:C"));
    op.DefineParametro(QStringLiteral("C"), e);
    op.Abre();
    QCOMPARE(op.Texto(QStringLiteral("DIAG")), QStringLiteral("Ceratocone incipiente, d'Ávila"));
    QCOMPARE(op.Texto(QStringLiteral("OBSERVACAO")), QString(240, QLatin1Char('x')));
    op.Fecha();
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::excluiUltimoExame()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int outro = c.Paciente(QStringLiteral("Bruno"));
    c.Exame(outro, a, QDate(2024, 1, 1), QTime(9, 0, 0));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const int e = c.Exame(p, a, QDate(2024, 5, 6), QTime(10, 11, 12), QStringLiteral("OS"));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QCOMPARE(c.Filtros(), QStringList({"Dr. A", kTodos}));
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana"));
    QVERIFY(c.Seleciona(QStringLiteral("OS - 06/05/2024 10:11:12")));
    c.msgs.Responde(RespostaMensagem::Sim);
    c.nav->tbtExcluirExameClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Confirma a exclusão do exame 'OS - 06/05/2024 10:11:12' ?"});
    QCOMPARE(c.msgs.Registros()[0].titulo, QStringLiteral("Informação"));
    QCOMPARE(c.msgs.Registros()[0].botoes, BotoesMensagem::SimNao);

    QCOMPARE(c.CampoPaciente(p, QStringLiteral("ULTIMOEXAME")).toString(), QStringLiteral("  "));
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 0);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE Codigo=") + QString::number(e)), 0);
    for (const char* s : {"a.txt", "d.txt", "m.txt"})
        QVERIFY(!QFile::exists(c.Arquivo(p, e, s)));
    QVERIFY(!QDir(c.PastaPaciente(p)).exists()); // left empty, so removed
    QCOMPARE(c.Filtros(), QStringList({"Dr. A", kSemExames, kTodos}));
    QCOMPARE(c.nav->FiltroMedico(), kSemExames);
    QCOMPARE(c.NomesPacientes(), QStringList{"Ana"});
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana"));
    QVERIFY(c.Itens().isEmpty());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::excluiUmDeDois()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const int fica = c.Exame(p, a, QDate(2004, 3, 5), QTime(14, 7, 9), QStringLiteral("OD"));
    const int sai = c.Exame(p, a, QDate(2005, 1, 1), QTime(8, 0, 0), QStringLiteral("OS"), QStringLiteral("O"));
    TDExames(c.DM()).InsereExameOrto(sai, 1, 2, 3, 4);
    c.DM().PCommitDataBase();
    QVERIFY(QFile::exists(c.Arquivo(p, sai, "d.txt")));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre(true);
    QVERIFY(c.Seleciona(QStringLiteral("OS - 01/01/2005 08:00:00")));
    c.nav->lswPrincipalDblClick();
    QVERIFY(c.nav->pnlOrto->isVisible());
    QCOMPARE(c.nav->lblSag->text(), QStringLiteral("4.00"));
    c.msgs.Responde(RespostaMensagem::Sim);
    c.nav->tbtExcluirExameClick();
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("ULTIMOEXAME")).toString(), QStringLiteral("OD 05/03/2004 14:07"));
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 1);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM ExamesOrto WHERE CodExame=") + QString::number(sai)), 0);
    for (const char* s : {"a.txt", "d.txt", "m.txt"}) {
        QVERIFY(!QFile::exists(c.Arquivo(p, sai, s)));
        QVERIFY(QFile::exists(c.Arquivo(p, fica, s)));
    }
    QCOMPARE(c.nav->FiltroMedico(), QStringLiteral("Dr. A"));
    QCOMPARE(c.Itens(), QStringList{"OD - 05/03/2004 14:07:09"});
    QCOMPARE(c.nav->lblUltExame->text(), QStringLiteral("OD 05/03/2004 14:07"));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::excluiExameComLaudos_data()
{
    QTest::addColumn<bool>("confirma");
    QTest::newRow("confirma") << true;
    QTest::newRow("cancela") << false;
}

void TesteNavegador::excluiExameComLaudos()
{
    QFETCH(bool, confirma);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const int od = c.Exame(p, a, QDate(2024, 1, 1), QTime(9, 0, 0), QStringLiteral("OD"));
    const int os = c.Exame(p, a, QDate(2024, 1, 1), QTime(9, 1, 0), QStringLiteral("OS"));
    const int l1 = c.Laudo(p, od, os);
    const int l2 = c.Laudo(p, od, -1);
    const int l3 = c.Laudo(p, -1, os); // another examination's report stays
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QVERIFY(c.Seleciona(QStringLiteral("OD - 01/01/2024 09:00:00")));
    c.msgs.Responde(RespostaMensagem::Sim);
    c.msgs.Responde(confirma ? RespostaMensagem::Sim : RespostaMensagem::Nao);
    if (!confirma)
        c.msgs.Responde(RespostaMensagem::Ok);
    c.nav->tbtExcluirExameClick();
    QCOMPARE(c.msgs.Textos().value(1),
             QStringLiteral("Existe(m)  2  Laudo(s) vinculado(s).\rConfirma a exclusão do(s) Laudos(s)?"));
    QCOMPARE(c.msgs.Registros()[1].icone, IconeMensagem::Pergunta);
    // Both questions destroy something: Enter answers "Não".
    QCOMPARE(c.msgs.Registros()[0].padrao, PadraoMensagem::Nao);
    QCOMPARE(c.msgs.Registros()[1].padrao, PadraoMensagem::Nao);
    const int laudosRestantes = c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos"));
    if (confirma) {
        QCOMPARE(c.msgs.Textos().size(), 2);
        QCOMPARE(laudosRestantes, 1);
        QVERIFY(!QFile::exists(c.ArquivoLaudo(p, l1)));
        QVERIFY(!QFile::exists(c.ArquivoLaudo(p, l2)));
        QVERIFY(QFile::exists(c.ArquivoLaudo(p, l3)));
        QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 1);
        QCOMPARE(c.Itens(), QStringList{"OS - 01/01/2024 09:01:00"});
    } else {
        QCOMPARE(c.msgs.Textos().value(2), QStringLiteral("Exclusão cancelada!!!"));
        QCOMPARE(c.msgs.Registros()[2].icone, IconeMensagem::Atencao);
        QCOMPARE(laudosRestantes, 3);
        for (int l : {l1, l2, l3})
            QVERIFY(QFile::exists(c.ArquivoLaudo(p, l)));
        QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 2);
        QVERIFY(QFile::exists(c.Arquivo(p, od, "d.txt")));
    }
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::exclusaoRecusadaPeloBanco()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const int e = c.Exame(p, a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Exame(p, a, QDate(2024, 1, 2), QTime(9, 0, 0));
    const int l = c.Laudo(p, e, -1);
    // The database refuses to delete the examination row, after its reports went.
    TDMPrincipal& dm = c.DM();
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, QStringLiteral("CREATE EXCEPTION EXAME_PRESO 'exame preso'"));
    dm.PCommitDataBase();
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction,
                                  QStringLiteral("CREATE TRIGGER PRENDE_EXAME FOR EXAMES BEFORE DELETE AS "
                                                 "BEGIN EXCEPTION EXAME_PRESO; END"));
    dm.PCommitDataBase();

    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    const QString ultimoAntes = c.CampoPaciente(p, QStringLiteral("ULTIMOEXAME")).toString();
    QVERIFY(c.Seleciona(QStringLiteral("OD - 01/01/2024 09:00:00")));
    c.msgs.Responde(RespostaMensagem::Sim);
    c.msgs.Responde(RespostaMensagem::Sim);
    c.msgs.Responde(RespostaMensagem::Ok);
    c.nav->tbtExcluirExameClick();
    QCOMPARE(c.msgs.Textos().size(), 3);
    QVERIFY(c.msgs.Textos()[2].startsWith(
        QStringLiteral("Não foi possível excluir o exame 'OD - 01/01/2024 09:00:00'. Nada foi excluído.")));
    QCOMPARE(c.msgs.Registros()[2].icone, IconeMensagem::Erro);
    // Nothing of the examination is gone: row, report row, files, patient's count.
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 2);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos")), 1);
    QVERIFY(QFile::exists(c.ArquivoLaudo(p, l)));
    for (const char* s : {"a.txt", "d.txt", "m.txt"})
        QVERIFY(QFile::exists(c.Arquivo(p, e, s)));
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 2);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("ULTIMOEXAME")).toString(), ultimoAntes);
    QCOMPARE(c.Itens().size(), 2);
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana"));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::excluiPaciente()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    c.Exame(c.Paciente(QStringLiteral("Com Exame")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Paciente(QStringLiteral("Bia"));
    c.Paciente(QStringLiteral("Caio"));
    c.Paciente(QStringLiteral("Duda"));
    c.Abre();
    QCOMPARE(c.nav->FiltroMedico(), kTodos);

    // A patient with examinations stays.
    c.nav->MostraPaciente(QStringLiteral("Com"), kTodos);
    c.msgs.Responde(RespostaMensagem::Ok);
    c.nav->tbtExcluirPacienteClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Não é possivel excluir o paciente Com Exame! \n\nPara excluir este "
                                          "paciente é preciso excluir todos os exames."});
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Pacientes")), 4);

    // Declined: nothing changes.
    c.msgs.Limpa();
    c.nav->MostraPaciente(QStringLiteral("Caio"), kTodos);
    c.msgs.Responde(RespostaMensagem::Nao);
    c.nav->tbtExcluirPacienteClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Confirma a exclusão do paciente 'Caio'?"});
    QCOMPARE(c.msgs.Registros().first().padrao, PadraoMensagem::Nao);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Pacientes")), 4);

    // Confirmed: the row leaves the list at once and the next patient takes its place.
    c.msgs.Limpa();
    c.msgs.Responde(RespostaMensagem::Sim);
    c.nav->tbtExcluirPacienteClick();
    QCOMPARE(c.NomesPacientes(), QStringList({"Bia", "Com Exame", "Duda"}));
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Com Exame"));
    QCOMPARE(c.nav->DBGridPacientes->model()->rowCount(), 3);
    // The last one of the list: the one before it.
    c.nav->MostraPaciente(QStringLiteral("Duda"), kTodos);
    c.msgs.Responde(RespostaMensagem::Sim);
    c.nav->tbtExcluirPacienteClick();
    QCOMPARE(c.NomesPacientes(), QStringList({"Bia", "Com Exame"}));
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Com Exame"));
    // The last patient of all: an empty list under "*** Todos".
    TDMPrincipal& dm = c.DM();
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, QStringLiteral("DELETE FROM Exames"));
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, QStringLiteral("DELETE FROM Pacientes WHERE Nome <> 'Bia'"));
    dm.PCommitDataBase();
    c.nav->CarregaMedicos();
    c.nav->MostraPaciente(QString(), kTodos);
    QCOMPARE(c.NomesPacientes(), QStringList{"Bia"});
    c.msgs.Responde(RespostaMensagem::Sim);
    c.nav->tbtExcluirPacienteClick();
    QVERIFY(c.NomesPacientes().isEmpty());
    QCOMPARE(c.Filtros(), QStringList({"Dr. A", kTodos}));
    QCOMPARE(c.nav->FiltroMedico(), kTodos);
    QVERIFY(c.nav->DBEditControle->text().isEmpty());
    QVERIFY(!c.nav->tbtExcluirPaciente->isEnabled());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::exemplos_data()
{
    QTest::addColumn<bool>("orto");
    QTest::newRow("padrão") << false;
    QTest::newRow("orto-k") << true;
}

void TesteNavegador::exemplos()
{
    QFETCH(bool, orto);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    c.Exame(c.Paciente(QStringLiteral("Ana")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Abre(orto);
    QCOMPARE(c.nav->tbExameOrto1->isVisibleTo(c.nav), orto);
    c.nav->pcExames->setCurrentIndex(1);
    QVERIFY(c.nav->ModoExemplos);
    QCOMPARE(c.nav->GridExemplos->rowCount(), orto ? 6 : 5);
    QCOMPARE(c.nav->GridExemplos->item(3, 0)->text(), QStringLiteral("Astigmatismo - Iregular"));
    QCOMPARE(c.Itens().first(), QStringLiteral("OD - Central01"));
    c.nav->GridExemplosSelectCell(1, 4);
    QCOMPARE(c.Itens(), QStringList({"OD - Irregular01", "OD - Irregular02", "OD - Irregular03", "OD - Irregular04",
                                     "OS - Irregular05", "OS - Irregular06"}));
    for (QToolButton* b : {c.nav->tbNovoExame2, c.nav->tbtExcluirExame, c.nav->tbLaudo, c.nav->tbOrdemAlfa,
                           c.nav->tbOrdemCriacao})
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(c.nav->tlbExame->isVisible());
    QVERIFY(c.Seleciona(QStringLiteral("OD - Irregular02")));
    QCOMPARE(c.nav->LegendaSelecionada, QStringLiteral("OD - Irregular02"));
    QVERIFY(!c.nav->ExameSelecionado);
    c.nav->lswPrincipalDblClick();
    QVERIFY(!c.nav->pnlInfoExame->isVisible());
    if (orto) {
        QCOMPARE(c.nav->GridExemplos->item(5, 0)->text(), QStringLiteral("Ortoceratologia"));
        c.nav->GridExemplosSelectCell(1, 6);
        QCOMPARE(c.Itens(), QStringList({"Orto01", "Orto02", "Orto03", "Orto04"}));
    }

    // Back to the patients.
    c.nav->pcExames->setCurrentIndex(0);
    QVERIFY(!c.nav->ModoExemplos);
    QCOMPARE(c.Itens(), QStringList{"OD - 01/01/2024 09:00:00"});
    QVERIFY(c.nav->tbOrdemAlfa->isEnabled());
    QVERIFY(c.nav->tbOrdemAlfa->isChecked());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::teclado()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    int novos = 0;
    bool ultimoOrto = true;
    TfrmExames::Ligacoes().NovoExame = [&](TfrmExames&, bool orto) {
        ++novos;
        ultimoOrto = orto;
    };
    c.Medico(QStringLiteral("Dr. A"));
    c.Abre();
    // No patient: a new examination needs one.
    c.msgs.Responde(RespostaMensagem::Ok);
    QTest::keyClick(c.nav->DBGridPacientes, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(c.msgs.Textos(), QStringList{"Selecione um Paciente para efetuar o exame!"});
    QCOMPARE(novos, 0);
    // No patient: Delete asks nothing.
    c.msgs.Limpa();
    QTest::keyClick(c.nav->DBGridPacientes, Qt::Key_Delete);
    QVERIFY(c.msgs.Registros().isEmpty());

    const int p = c.Paciente(QStringLiteral("Ana"));
    c.Exame(p, 1, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.nav->CarregaMedicos();
    c.nav->MostraPaciente(QString(), kTodos);
    QTest::keyClick(c.nav->lswPrincipal, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(novos, 1);
    QVERIFY(!ultimoOrto);
    c.nav->tbExameOrtoClick();
    QCOMPARE(novos, 2);
    QVERIFY(ultimoOrto);
    // Delete on the list asks about the selected examination.
    QVERIFY(c.Seleciona(QStringLiteral("OD - 01/01/2024 09:00:00")));
    c.msgs.Responde(RespostaMensagem::Nao);
    QTest::keyClick(c.nav->lswPrincipal, Qt::Key_Delete);
    QCOMPARE(c.msgs.Textos(), QStringList{"Confirma a exclusão do exame 'OD - 01/01/2024 09:00:00' ?"});
    // Ctrl+L presses the search toggle and clears the quick find box.
    c.nav->edtFindGrid->setText(QStringLiteral("An"));
    QTest::keyClick(c.nav->edtFindGrid, Qt::Key_L, Qt::ControlModifier);
    QVERIFY(c.nav->tbLocPacExam->isChecked());
    QVERIFY(c.nav->edtFindGrid->text().isEmpty());
    // Esc never closes the navigator.
    QTest::keyClick(c.nav, Qt::Key_Escape);
    QVERIFY(c.nav->isVisible());
    // "Laudo" without examinations.
    c.msgs.Limpa();
    c.nav->lswPrincipal->clear();
    c.msgs.Responde(RespostaMensagem::Ok);
    c.nav->tbLaudoClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Não há exames para gerar laudo!"});
    QCOMPARE(c.msgs.Registros()[0].titulo, QStringLiteral("Atenção"));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNavegador::fechamentoGravaConfiguracao()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    c.Exame(c.Paciente(QStringLiteral("Ana")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Exame(c.Paciente(QStringLiteral("Bruno")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Abre();
    QVERIFY(TfrmAguarde::Instancia());
    c.nav->MostraPaciente(QStringLiteral("Bru"), QStringLiteral("Dr. A"));
    // The one-second timer hides the please-wait window once and switches itself off.
    TfrmAguarde::Mostra();
    QVERIFY(TfrmAguarde::Instancia()->isVisible());
    QCOMPARE(TfrmAguarde::Instancia()->size(), QSize(191, 62));
    QCOMPARE(c.nav->TimerAguarde->interval(), 1000);
    c.nav->TimerAguarde->start();
    QTRY_VERIFY_WITH_TIMEOUT(!TfrmAguarde::Instancia()->isVisible(), 5000);
    QVERIFY(!c.nav->TimerAguarde->isActive());
    c.nav->cBoxMiniMapa->setChecked(true);
    QTest::mouseClick(c.nav->sButton2, Qt::LeftButton);
    QVERIFY(!TfrmAguarde::Instancia());
    QCOMPARE(InfosZR.MedicoAtivo, QStringLiteral("Dr. A"));
    QCOMPARE(InfosZR.PacienteAtivo, QStringLiteral("Bruno"));
    QVERIFY(InfosZR.AutoMiniMapa);
    TBIniSettings ini;
    QVERIFY(ini.LoadAll(3));
    QCOMPARE(ini.Texto(ChaveIni::MedicoAtivo), QStringLiteral("Dr. A"));
    QCOMPARE(ini.Texto(ChaveIni::PacienteAtivo), QStringLiteral("Bruno"));
    QCOMPARE(ini.Texto(ChaveIni::AutoMiniMapa), QStringLiteral("1"));

    // The next opening starts with that doctor and patient.
    c.Abre();
    QCOMPARE(c.nav->FiltroMedico(), QStringLiteral("Dr. A"));
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bruno"));
    QVERIFY(c.nav->cBoxMiniMapa->isChecked());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

QTEST_MAIN(TesteNavegador)
#include "tst_navegador.moc"
