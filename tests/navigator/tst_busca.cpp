// The navigator's patient search on a real database: every search kind with accents,
// apostrophes and wildcards, the live first-name search with and without a doctor,
// "Ver paciente" reaching the chosen patient and examination, the panel's life (buttons,
// tip setting, keyboard) and the tip dialog.

#include "common/UErros.h"
#include "data/UOperacaoBD.h"
#include "navigator/UBuscaPacientes.h"
#include "navigator/UNavegador.h"
#include "navigator/UfrmDica.h"
#include "tests/navigator/UCenarioNavegador.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace BuscaPacientes;
using Codigos = QList<int>;

namespace {

// Patients by code (in the order they are registered): two of them named alike.
const char* const kPacientes[] = {"João D'Ávila", "Ana Souza", "ana lima", "Maria João", "Bruno",   "Carla",
                                  "Daniel",       "Elisa",     "Fábio",    "Gustavo",    "Helena", "Ñandu Souza",
                                  "João D'Ávila"};

struct ExameCenario {
    int paciente;
    const char* medico;
    QDate data;
    QTime hora;
    const char* olho;
    const char* diag;
    const char* obs;
};

// The examinations that carry texts, codes 1 to 5; codes 6 to 15 follow (below).
const ExameCenario kExames[] = {
    {1, "Dr. A", {2024, 1, 10}, {9, 0, 0}, "OD", "Ceratocone Central", "Retorno em 30 dias"},
    {1, "Dr. B", {2024, 2, 10}, {10, 0, 0}, "OS", "Astigmatismo irregular", "Usar LENTE rígida"},
    {1, "Dr. B", {2024, 2, 11}, {10, 0, 0}, "OD", "", ""},
    {4, "Dr. B", {2024, 3, 1}, {11, 0, 0}, "OD", "ASTIGMATISMO regular", "lavar com soro d'água"},
    {13, "Dr. A", {2024, 4, 1}, {12, 0, 0}, "OD", "ceratocone periférico", "retorno"},
};

QString Legenda(int exame)
{
    const ExameCenario& e = kExames[exame - 1];
    return QString::fromLatin1(e.olho) + QStringLiteral(" - ") + e.data.toString(QStringLiteral("dd/MM/yyyy")) +
           QLatin1Char(' ') + e.hora.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

class TesteBusca : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { c.reset(); }
    void localiza_data();
    void localiza();
    void primeiroNome_data();
    void primeiroNome();
    void verPaciente_data();
    void verPaciente();
    void vidaDoPainel();
    void teclado();
    void erroDoBanco();
    void dica();

private:
    TfrmExames& Abre();
    void AbrePainel() { c->nav->tbLocPacExam->click(); }
    void Tipo(int tipo) { c->nav->m_tiposBusca->button(tipo)->click(); }
    Codigos Resultado();
    // The patient and new-examination buttons all on (or all off).
    bool Habilitados(bool esperado) const
    {
        const TfrmExames& n = *c->nav;
        for (QToolButton* b : {n.tbtCadPaciente, n.tbNovoExame1, n.tbNovoExame2, n.tbExameOrto1, n.tbExameOrto2,
                               n.tbtAlterarPaciente, n.tbtExcluirPaciente})
            if (b->isEnabled() != esperado)
                return false;
        return true;
    }
    QString Dicas() const
    {
        TBIniSettings ini;
        ini.SelectFile(3);
        return ini.ReadValue(ini.FileName(), TipoValorIni::Bool, QStringLiteral("OPCOES"), QStringLiteral("DICAS"));
    }

    std::unique_ptr<CenarioNavegador> c;
};

void TesteBusca::initTestCase()
{
    c = std::make_unique<CenarioNavegador>();
    QVERIFY(c->Valido());
    TDMPrincipal& dm = c->DM();
    QHash<QString, int> medicos{{QStringLiteral("Dr. A"), c->Medico(QStringLiteral("Dr. A"))},
                                {QStringLiteral("Dr. B"), c->Medico(QStringLiteral("Dr. B"))}};
    for (const char* nome : kPacientes)
        c->Paciente(QString::fromUtf8(nome));
    QList<ExameCenario> exames(std::begin(kExames), std::end(kExames));
    // Codes 6 to 14 for the code search, then one of patient 12 that is deleted meanwhile.
    for (int p : {2, 3, 5, 6, 7, 8, 9, 10, 11})
        exames.append({p, "Dr. A", QDate(2024, 5, p), QTime(8, 0, 0), "OD", "", ""});
    exames.append({12, "Dr. A", QDate(2024, 6, 1), QTime(8, 30, 0), "OS", "", "exame apagado depois"});
    for (const ExameCenario& e : exames) {
        const int codigo = c->Exame(e.paciente, medicos.value(QString::fromLatin1(e.medico)), e.data, e.hora,
                                    QString::fromLatin1(e.olho));
        for (const auto& [proc, texto] : {std::pair{"UpdateDiagExameByCodigo :Codigo,:Texto", e.diag},
                                          std::pair{"UpdateObsExameByCodigo :Codigo,:Texto", e.obs}}) {
            ConsultaBD& op = *dm.IBOperation;
            op.Fecha();
            op.DefineSQL(QStringLiteral("Execute Procedure ") + QString::fromLatin1(proc));
            op.DefineParametro(QStringLiteral("Codigo"), codigo);
            op.DefineParametro(QStringLiteral("Texto"), QString::fromUtf8(texto));
            op.Executa();
        }
    }
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, QStringLiteral("UPDATE PACIENTES SET RG='AB-123x' WHERE CODIGO=1"));
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, QStringLiteral("UPDATE PACIENTES SET RG='99' WHERE CODIGO=13"));
    dm.PCommitDataBase();
}

void TesteBusca::init()
{
    InfosZR.MedicoAtivo.clear();
    InfosZR.PacienteAtivo.clear();
    QVERIFY(c->banco.Instalacao().AlteraChave(QStringLiteral("DICAS"), QStringLiteral("0")));
    Abre();
}

TfrmExames& TesteBusca::Abre()
{
    delete c->nav.data();
    c->msgs.Limpa();
    c->modais.clear();
    return *c->Abre();
}

Codigos TesteBusca::Resultado()
{
    ConsultaBD& q = *c->DM().IBQueryBuscaPac;
    Codigos r;
    if (!q.Ativa())
        return r;
    q.BuscaTodas();
    for (int i = 0; i < q.LinhasBuscadas(); ++i)
        r << q.CampoDaLinha(i, QStringLiteral("CODIGO")).toInt();
    std::sort(r.begin(), r.end());
    return r;
}

void TesteBusca::localiza_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<Codigos>("esperado");
    const Codigos joao{1, 4, 13};
    QTest::newRow("nome em minúsculas") << 1 << "joão" << joao;
    QTest::newRow("nome em maiúsculas") << 1 << "JOÃO" << joao;
    QTest::newRow("nome como escrito") << 1 << "João" << joao;
    QTest::newRow("apóstrofo") << 1 << "d'áv" << Codigos{1, 13};
    QTest::newRow("sublinhado vale uma letra") << 1 << "J_ÃO" << joao;
    QTest::newRow("por cento vale um trecho") << 1 << "jo%vila" << Codigos{1, 13};
    QTest::newRow("espaço à frente conta") << 1 << " joão" << Codigos{4};
    QTest::newRow("espaço atrás conta") << 1 << "joão " << Codigos{1, 13};
    QTest::newRow("letra fora dos acentos portugueses") << 1 << "ñandu" << Codigos{12};
    QTest::newRow("texto maior que a coluna") << 1 << QString(241, QLatin1Char('a')) << Codigos{};
    QTest::newRow("letra sem lugar no banco") << 1 << "Łukasz" << Codigos{};
    QTest::newRow("código exato") << 2 << "12" << Codigos{12};
    QTest::newRow("códigos que começam com 1") << 2 << "1%" << Codigos{1, 10, 11, 12, 13};
    QTest::newRow("letras no código") << 2 << "1a" << Codigos{};
    QTest::newRow("RG como escrito") << 3 << "AB-" << Codigos{1};
    QTest::newRow("RG não muda a caixa") << 3 << "ab-" << Codigos{};
    QTest::newRow("RG com apóstrofo") << 3 << "'" << Codigos{};
    QTest::newRow("código de exame que começa com 1") << 4 << "1%" << Codigos{1, 7, 8, 9, 10, 11, 12};
    QTest::newRow("código de exame exato") << 4 << "4" << Codigos{4};
    QTest::newRow("diagnóstico em outra caixa") << 5 << "astigmatismo" << Codigos{1, 4};
    QTest::newRow("diagnóstico acentuado") << 5 << "PERIFÉRICO" << Codigos{13};
    QTest::newRow("diagnóstico com sublinhado") << 5 << "cerat_cone" << Codigos{1, 13};
    QTest::newRow("observação com apóstrofo") << 6 << "D'ÁGUA" << Codigos{4};
    QTest::newRow("observação em outra caixa") << 6 << "lente RÍGIDA" << Codigos{1};
}

void TesteBusca::localiza()
{
    QFETCH(int, tipo);
    QFETCH(QString, texto);
    QFETCH(Codigos, esperado);
    TfrmExames& n = *c->nav;
    AbrePainel();
    Tipo(tipo);
    QCOMPARE(n.CbFind->isEnabled(), tipo == ParteNome);
    QCOMPARE(n.CbFind->currentText(), Navegador::kTodos);
    n.edtFind->setText(texto);
    QVERIFY(n.btnLocPac->isEnabled());
    if (esperado.isEmpty())
        c->msgs.Responde(RespostaMensagem::Sim);
    QTest::mouseClick(n.btnLocPac, Qt::LeftButton);
    QCOMPARE(Resultado(), esperado);
    if (tipo == ParteNome) {
        // A part many patients share walks the name index, a rare one is sorted: both in name order.
        ConsultaBD& q = *c->DM().IBQueryBuscaPac;
        QStringList nomes, ordenados;
        for (int i = 0; i < q.LinhasBuscadas(); ++i)
            nomes << q.CampoDaLinha(i, QStringLiteral("NOME")).toString();
        QStringList codigos{QStringLiteral("0")};
        for (int codigo : esperado)
            codigos << QString::number(codigo);
        ConsultaBD& op = PreparaOperacao(c->DM(), QStringLiteral("SELECT Nome FROM Pacientes WHERE Codigo IN (%1) "
                                                                 "ORDER BY Nome COLLATE WIN_PTBR")
                                                      .arg(codigos.join(QLatin1Char(','))));
        for (op.Abre(); !op.Eof(); op.Proximo())
            ordenados << op.Texto(QStringLiteral("NOME"));
        op.Fecha();
        QCOMPARE(nomes, ordenados);
    }
    QCOMPARE(n.btnLocDBGrid->isEnabled(), !esperado.isEmpty());
    if (esperado.isEmpty()) {
        // "Yes" to another search: the text goes, the panel stays.
        QCOMPARE(c->msgs.Textos(), QStringList{"Paciente não encontrado! \n Deseja realizar outra busca?"});
        QCOMPARE(c->msgs.Registros()[0].titulo, QStringLiteral("Informação"));
        QCOMPARE(c->msgs.Registros()[0].botoes, BotoesMensagem::SimNao);
        QVERIFY(n.edtFind->text().isEmpty() && n.BuscaAberta());
    }
    QVERIFY(c->msgs.Inesperadas().isEmpty());
}

void TesteBusca::primeiroNome_data()
{
    QTest::addColumn<QString>("medico");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<Codigos>("esperado");
    QTest::newRow("todos, sem texto") << Navegador::kTodos << "" << Codigos{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    QTest::newRow("todos, em qualquer caixa") << Navegador::kTodos << "ana" << Codigos{2, 3};
    QTest::newRow("todos, acento e apóstrofo") << Navegador::kTodos << "joão d'" << Codigos{1, 13};
    QTest::newRow("médico A, cada paciente uma vez") << "Dr. A" << "jo" << Codigos{1, 13};
    QTest::newRow("médico B, cada paciente uma vez") << "Dr. B" << "" << Codigos{1, 4};
    QTest::newRow("médico B, prefixo") << "Dr. B" << "JOÃ" << Codigos{1};
}

void TesteBusca::primeiroNome()
{
    QFETCH(QString, medico);
    QFETCH(QString, texto);
    QFETCH(Codigos, esperado);
    TfrmExames& n = *c->nav;
    AbrePainel();
    QCOMPARE(n.TipoBusca(), int(PrimeiroNome));
    n.CbFind->setCurrentIndex(n.CbFind->findText(medico));
    n.CbFindChange();
    // The list follows every key stroke; "Localizar" stays off for this kind.
    n.edtFind->setFocus();
    for (const QChar ch : texto)
        QTest::sendKeyEvent(QTest::Click, n.edtFind, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QCOMPARE(n.edtFind->text(), texto);
    QCOMPARE(Resultado(), esperado);
    QVERIFY(!n.btnLocPac->isEnabled());
    QVERIFY(!n.btnLocDBGrid->isEnabled());
    QVERIFY(c->msgs.Inesperadas().isEmpty());
}

void TesteBusca::verPaciente_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("medico");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("paciente");
    QTest::addColumn<QString>("legenda");
    QTest::addColumn<int>("pagina");
    QTest::addColumn<bool>("apagaExame");
    QTest::newRow("primeiro nome com médico") << 0 << "Dr. B" << "jo" << 1 << "" << 0 << false;
    QTest::newRow("o segundo de dois iguais") << 1 << "" << "joão d'ávila" << 13 << "" << 0 << false;
    QTest::newRow("código do exame") << 4 << "" << "4" << 4 << Legenda(4) << 0 << false;
    QTest::newRow("código do exame com por cento") << 4 << "" << "1%" << 1 << Legenda(1) << 0 << false;
    QTest::newRow("diagnóstico") << 5 << "" << "irregular" << 1 << Legenda(2) << 0 << false;
    QTest::newRow("diagnóstico do segundo de dois iguais") << 5 << "" << "CERATOCONE" << 13 << Legenda(5) << 0 << false;
    QTest::newRow("observação") << 6 << "" << "RETORNO" << 1 << Legenda(1) << 1 << false;
    QTest::newRow("exame apagado no meio tempo") << 6 << "" << "apagado" << 12 << "" << 0 << true;
}

void TesteBusca::verPaciente()
{
    QFETCH(int, tipo);
    QFETCH(QString, medico);
    QFETCH(QString, texto);
    QFETCH(int, paciente);
    QFETCH(QString, legenda);
    QFETCH(int, pagina);
    QFETCH(bool, apagaExame);
    TfrmExames& n = *c->nav;
    AbrePainel();
    Tipo(tipo);
    if (!medico.isEmpty()) {
        n.CbFind->setCurrentIndex(n.CbFind->findText(medico));
        n.CbFindChange();
    }
    n.edtFind->setText(texto);
    if (tipo != PrimeiroNome)
        n.btnLocPac1Click();
    // The row of the chosen patient, clicked and then double-clicked.
    ConsultaBD& q = *c->DM().IBQueryBuscaPac;
    QVERIFY(q.Localiza(QStringLiteral("CODIGO"), paciente));
    const int linha = q.Linha();
    n.dbGridPacLoc->setCurrentIndex(q.index(linha, 1));
    n.dbGridPacLocCellClick();
    QVERIFY(n.btnLocDBGrid->isEnabled());
    if (apagaExame) {
        // Deleted from another workstation while the result is on screen.
        TDMPrincipal outra;
        QVERIFY(outra.PSetDataBaseName(c->banco.Arquivo()));
        outra.GaranteTransacao();
        outra.IBDatabase.ExecutaImediato(outra.IBTransaction,
                                         QStringLiteral("DELETE FROM EXAMES WHERE OBSERVACAO='exame apagado depois'"));
        outra.PCommitDataBase();
    }
    n.dbGridPacLocDblClick();

    QCOMPARE(n.CodigoPacienteAtual(), paciente);
    QCOMPARE(n.FiltroMedico(), tipo == PrimeiroNome ? medico : Navegador::kTodos);
    QVERIFY(!n.BuscaAberta());
    QVERIFY(n.lswPrincipal->isVisible() && Habilitados(true));
    QList<QListWidgetItem*> sel = n.lswPrincipal->selectedItems();
    QCOMPARE(sel.isEmpty() ? QString() : sel.first()->text(), legenda);
    QCOMPARE(n.pnlInfoExame->isVisible(), !legenda.isEmpty());
    if (!legenda.isEmpty())
        QCOMPARE(n.pcDetalhes->currentIndex(), pagina);
    QVERIFY(c->msgs.Registros().isEmpty());
}

void TesteBusca::vidaDoPainel()
{
    TfrmExames& n = *c->nav;
    QVERIFY(Habilitados(true) && !n.pnlFindPac->isVisible());

    // Opening by the toggle, the setting off: no tip.
    AbrePainel();
    QVERIFY(n.pnlFindPac->isVisible() && !n.lswPrincipal->isVisible());
    QVERIFY(c->modais.isEmpty() && !n.cbDicas->isChecked());
    QVERIFY(Habilitados(false));
    QVERIFY(!n.btnLocPac->isEnabled() && !n.btnLocDBGrid->isEnabled());
    QStringList filtros;
    for (int i = 0; i < n.CbFind->count(); ++i)
        filtros << n.CbFind->itemText(i);
    QCOMPARE(filtros, c->Filtros());
    QCOMPARE(n.CbFind->currentText(), Navegador::kTodos);
    QCOMPARE(Resultado().size(), 13);
    // Three columns of the grid show, at their widths.
    QStringList visiveis;
    const QStringList colunas = c->DM().IBQueryBuscaPac->Colunas();
    for (int i = 0; i < colunas.size(); ++i)
        if (!n.dbGridPacLoc->isColumnHidden(i))
            visiveis << colunas[i] + QLatin1Char('=') + QString::number(n.dbGridPacLoc->columnWidth(i));
    QCOMPARE(visiveis, (QStringList{"CODIGO=63", "NOME=386", "RG=110"}));
    QVERIFY(n.dbGridPacLoc->editTriggers() == QAbstractItemView::NoEditTriggers);
    // Selecting a patient while the panel is open keeps the buttons off.
    c->DM().IBQueryPacientes->VaiPara(2);
    QVERIFY(Habilitados(false));

    // "Localizar" and "Ver paciente" follow the kind and the text.
    Tipo(ParteNome);
    QVERIFY(n.CbFind->isEnabled() && n.lblCbFind->isEnabled());
    QVERIFY(!n.btnLocPac->isEnabled());
    n.edtFind->setText(QStringLiteral("ana"));
    QVERIFY(n.btnLocPac->isEnabled());
    n.btnLocPac1Click();
    QVERIFY(n.btnLocDBGrid->isEnabled());
    n.edtFind->setText(QStringLiteral("an"));
    QVERIFY(!n.btnLocDBGrid->isEnabled());
    Tipo(Diagnostico);
    QVERIFY(!n.CbFind->isEnabled() && !n.lblCbFind->isEnabled());
    QVERIFY(!c->DM().IBQueryBuscaPac->Ativa() && n.edtFind->text().isEmpty() && !n.btnLocPac->isEnabled());
    // An empty text at "Localizar": the message and nothing else.
    c->msgs.Responde(RespostaMensagem::Ok);
    n.btnLocPac1Click();
    QCOMPARE(c->msgs.Textos(), QStringList{"Campo de busca vazio"});
    QCOMPARE(c->msgs.Registros()[0].titulo, QStringLiteral("Atenção"));
    QCOMPARE(c->msgs.Registros()[0].icone, IconeMensagem::Informacao);
    QVERIFY(n.BuscaAberta() && !c->DM().IBQueryBuscaPac->Ativa());

    // Releasing the toggle writes the box's state.
    n.cbDicas->setChecked(true);
    n.tbLocPacExam->click();
    QVERIFY(!n.BuscaAberta() && Habilitados(true));
    QCOMPARE(Dicas(), QStringLiteral("True"));

    // The setting on: the advanced-search button opens the panel with the tip.
    n.edtFindGrid->setText(QStringLiteral("Jo"));
    n.sBitBtn1->click();
    QVERIFY(n.tbLocPacExam->isChecked() && n.edtFindGrid->text().isEmpty());
    QCOMPARE(c->modais, QStringList{"frmDica"});
    QVERIFY(n.cbDicas->isChecked() && n.TipoBusca() == PrimeiroNome);
    // "No" to another search closes the panel as the toggle does.
    n.cbDicas->setChecked(false);
    Tipo(CodigoPaciente);
    n.edtFind->setText(QStringLiteral("999"));
    c->msgs.Limpa();
    c->msgs.Responde(RespostaMensagem::Nao);
    n.btnLocPac1Click();
    QCOMPARE(c->msgs.Textos().size(), 1);
    QVERIFY(!n.tbLocPacExam->isChecked() && !n.BuscaAberta() && Habilitados(true));
    QCOMPARE(Dicas(), QStringLiteral("False"));
    QVERIFY(c->msgs.Inesperadas().isEmpty());
}

void TesteBusca::teclado()
{
    TfrmExames& n = *c->nav;
    n.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&n));
    // Ctrl+L opens; Esc in the search text closes and gives the patient grid the focus.
    QTest::keyClick(n.DBGridPacientes, Qt::Key_L, Qt::ControlModifier);
    QVERIFY(n.BuscaAberta());
    QCOMPARE(QApplication::focusWidget(), n.edtFind);
    // Ctrl+N and Delete do nothing while the patient actions are off.
    QTest::keyClick(n.DBGridPacientes, Qt::Key_Delete);
    QVERIFY(c->msgs.Registros().isEmpty());
    for (QWidget* w : QList<QWidget*>{n.dbGridPacLoc, n.CbFind, n.btnLocPac, n.edtFind}) {
        n.DBGridPacientes->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(n.BuscaAberta());
        QCOMPARE(QApplication::focusWidget(), n.edtFind);
    }
    QTest::keyClick(n.edtFind, Qt::Key_Escape);
    QVERIFY(!n.BuscaAberta() && !n.tbLocPacExam->isChecked() && Habilitados(true));
    QCOMPARE(QApplication::focusWidget(), n.DBGridPacientes);
    QVERIFY(c->msgs.Inesperadas().isEmpty());
}

void TesteBusca::erroDoBanco()
{
    // The statement fails (the database is gone): the error goes up to the error report and
    // the panel stays as it was.
    TfrmExames& n = *c->nav;
    AbrePainel();
    Tipo(Diagnostico);
    n.edtFind->setText(QStringLiteral("irregular"));
    c->DM().PDesconectionDataBase();
    QVERIFY_THROWS_EXCEPTION(ErroSistema, n.btnLocPac1Click());
    QVERIFY(n.BuscaAberta() && Habilitados(false) && n.TipoBusca() == Diagnostico);
    QCOMPARE(n.edtFind->text(), QStringLiteral("irregular"));
    c->DM().PConnectDataBase();
    n.btnLocPac1Click();
    QCOMPARE(Resultado(), (Codigos{1}));
}

void TesteBusca::dica()
{
    // The tip's texts, quoted words in double quotes, and its size.
    QPointer<TfrmDica> d = new TfrmDica;
    QCOMPARE(d->windowTitle(), QStringLiteral("Dica de Busca"));
    QCOMPARE(d->size(), QSize(540, 176));
    QCOMPARE(d->Label2->text(),
             QStringLiteral("A busca por diagnótico também pode ser feita por qualquer parte do mesmo, como por exemplo, "
                            "uma busca para \"astigmatismo irregular\" poderá ser digitado somente \"irreg\"."));
    QVERIFY(d->Label1->text().contains(QStringLiteral("Uma busca por \"Astigmatismo\" trará resultado diferente de "
                                                      "\"astigmatismo\" devido a letra inicial maiúscula.")));
    QVERIFY(d->Label3->text().endsWith(
        QStringLiteral("click no botão \"Ver Paciente/Exame\" e o mesmo será visualizado no Painel de Navegação.")));
    // Left open, the navigator's opening closes it; closed, it is gone.
    d->show();
    QCOMPARE(TfrmDica::Aberta(), d.data());
    Abre();
    QVERIFY(!TfrmDica::Aberta());
    QTRY_VERIFY(d.isNull());
}

QTEST_MAIN(TesteBusca)
#include "tst_busca.moc"
