// The navigator's patient list as the user sees it: after every positioning the grid shows
// the whole filtered list with the current patient selected and in view; names in the order
// a Portuguese reader expects; the quick find that finds nothing leaves the list alone.

#include "navigator/UNavegador.h"
#include "tests/navigator/UCenarioNavegador.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace Navegador;

class TesteListaPacientes : public QObject {
    Q_OBJECT
private slots:
    void listaAposPosicionar_data();
    void listaAposPosicionar();
    void ordemAlfabetica_data();
    void ordemAlfabetica();
    void buscaSemResultado();
};

namespace {

// n patients whose names run against their codes ("Paciente 0999" is code 1), so that the two
// orders differ; the patients of even code have one examination by "Dr. A", the others none.
void CriaPacientes(CenarioNavegador& c, int n)
{
    const int medico = c.Medico(QStringLiteral("Dr. A"));
    ConsultaBD& op = *c.DM().IBOperation;
    const QString numeros = QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 FROM RDB$DATABASE UNION ALL "
                                           "SELECT I + 1 FROM N WHERE I < %1) ").arg(n);
    for (const QString& sql :
         {QStringLiteral("INSERT INTO PACIENTES (CODIGO, CODMEDICO, NOME, DTCADASTRO, TOTALEXAMES, ULTIMOEXAME) ") +
              numeros +
              QStringLiteral("SELECT I, 0, 'Paciente ' || LPAD(%1 - I, 4, '0'), DATE '2020-06-01', MOD(I + 1, 2), '' "
                             "FROM N").arg(n),
          QStringLiteral("INSERT INTO EXAMES (CODIGO, CODPACIENTE, CODRESP, DATA, HORA, OLHO, TIPOEXAME) ") + numeros +
              QStringLiteral("SELECT I, I, %1, DATE '2024-01-01', TIME '08:00:00', 'OD', 'T' FROM N "
                             "WHERE MOD(I, 2) = 0").arg(medico)}) {
        op.Fecha();
        op.DefineSQL(sql);
        op.Executa();
        op.Fecha();
    }
    c.DM().PCommitDataBase();
}

QString NomePaciente(int n, int codigo) { return QStringLiteral("Paciente %1").arg(n - codigo, 4, 10, QLatin1Char('0')); }

// The grid shows the current patient selected and in view, fills its height, follows the
// arrow keys, and scrolling to the end reaches every patient of the list.
void VerificaGrade(CenarioNavegador& c, const QString& esperado, int total)
{
    QApplication::processEvents();
    QTableView* g = c.nav->DBGridPacientes;
    ConsultaBD& p = *c.DM().IBQueryPacientes;
    QCOMPARE(c.nav->NomePacienteAtual(), esperado);
    const int coluna = p.Colunas().indexOf(QStringLiteral("NOME"));
    const QModelIndex atual = g->model()->index(p.Linha(), coluna);
    QCOMPARE(g->currentIndex().row(), p.Linha());
    QVERIFY(g->selectionModel()->isRowSelected(p.Linha(), QModelIndex()));
    QVERIFY(g->viewport()->rect().intersects(g->visualRect(atual)));
    const int cabem = g->viewport()->height() / g->verticalHeader()->defaultSectionSize();
    QVERIFY2(g->model()->rowCount() >= std::min(total, cabem + 1),
             qPrintable(QStringLiteral("%1 linhas na grade").arg(g->model()->rowCount())));
    if (p.Linha() + 1 < g->model()->rowCount()) {
        const QString seguinte = p.CampoDaLinha(p.Linha() + 1, QStringLiteral("NOME")).toString();
        QTest::keyClick(g, Qt::Key_Down);
        QCOMPARE(c.nav->NomePacienteAtual(), seguinte);
        QTest::keyClick(g, Qt::Key_Up);
        QCOMPARE(c.nav->NomePacienteAtual(), esperado);
    }
    for (int antes = -1; antes != g->model()->rowCount();) {
        antes = g->model()->rowCount();
        g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
        QApplication::processEvents();
    }
    QCOMPARE(g->model()->rowCount(), total);
}

} // namespace

void TesteListaPacientes::listaAposPosicionar_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("alfabetica");
    QTest::addColumn<QString>("filtro");
    for (int n : {5, 1000})
        for (bool alfa : {true, false})
            for (const QString& filtro : {kTodos, kSemExames, QStringLiteral("Dr. A")})
                QTest::addRow("%d %s %s", n, alfa ? "alfabética" : "criação", qPrintable(filtro))
                    << n << alfa << filtro;
}

void TesteListaPacientes::listaAposPosicionar()
{
    QFETCH(int, n);
    QFETCH(bool, alfabetica);
    QFETCH(QString, filtro);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    CriaPacientes(c, n);
    // The codes of the filtered list, in list order.
    QList<int> codigos;
    for (int codigo = 1; codigo <= n; ++codigo)
        if (filtro == kTodos || (filtro == kSemExames) == (codigo % 2 == 1))
            codigos << codigo;
    if (alfabetica)
        std::reverse(codigos.begin(), codigos.end());
    const int total = static_cast<int>(codigos.size());

    for (int indice : {0, total / 2, total - 1}) {
        const QString alvo = NomePaciente(n, codigos[indice]);
        // After a restart on the saved patient of the filter.
        InfosZR.MedicoAtivo = filtro;
        InfosZR.PacienteAtivo = alvo;
        delete c.nav.data();
        c.Abre();
        if (!alfabetica)
            QTest::mouseClick(c.nav->tbOrdemCriacao, Qt::LeftButton);
        VerificaGrade(c, alvo, total);
        if (QTest::currentTestFailed())
            return;
        // After moving to it as a registration or an edit does.
        c.nav->MostraPaciente(alvo, filtro);
        VerificaGrade(c, alvo, total);
        if (QTest::currentTestFailed())
            return;
        // After switching the order twice and the filter away and back.
        QToolButton* outra = alfabetica ? c.nav->tbOrdemCriacao : c.nav->tbOrdemAlfa;
        QToolButton* esta = alfabetica ? c.nav->tbOrdemAlfa : c.nav->tbOrdemCriacao;
        QTest::mouseClick(outra, Qt::LeftButton);
        QTest::mouseClick(esta, Qt::LeftButton);
        VerificaGrade(c, alvo, total);
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteListaPacientes::ordemAlfabetica_data()
{
    QTest::addColumn<QString>("filtro");
    QTest::newRow("todos") << kTodos;
    QTest::newRow("sem exames") << kSemExames;
    QTest::newRow("médico") << QStringLiteral("Zé O'Neil");
}

// Letter case and accents aside, as a Portuguese reader orders names: the patient list under
// every kind of filter and the doctor filter itself; the quick find then takes the first
// name, in that order, that begins with the text as typed.
void TesteListaPacientes::ordemAlfabetica()
{
    QFETCH(QString, filtro);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const QStringList nomes = {QStringLiteral("Ana Luíza"), QStringLiteral("Bruno"), QStringLiteral("Zé O'Neil"),
                               QStringLiteral("ana maria"), QStringLiteral("Ângela")};
    const QStringList emOrdem = {QStringLiteral("Ana Luíza"), QStringLiteral("ana maria"), QStringLiteral("Ângela"),
                                 QStringLiteral("Bruno"), QStringLiteral("Zé O'Neil")};
    QList<int> medicos;
    for (const QString& n : nomes)
        medicos << c.Medico(n);
    const bool semExames = filtro == kSemExames;
    for (const QString& n : nomes) {
        const int p = c.Paciente(n);
        if (!semExames)
            c.Exame(p, medicos[2], QDate(2024, 1, 1), QTime(8, 0, 0));
    }
    InfosZR.MedicoAtivo = filtro;
    c.Abre();
    QCOMPARE(c.nav->CBMedicos->currentText(), filtro);
    QCOMPARE(c.Filtros().mid(0, 5), emOrdem);
    QCOMPARE(c.NomesPacientes(), emOrdem);
    QTest::mouseClick(c.nav->tbOrdemCriacao, Qt::LeftButton);
    QCOMPARE(c.NomesPacientes(), nomes);
    QTest::mouseClick(c.nav->tbOrdemAlfa, Qt::LeftButton);
    const QList<QPair<QString, QString>> buscas = {
        {QStringLiteral("A"), QStringLiteral("Ana Luíza")},
        {QStringLiteral("a"), QStringLiteral("ana maria")},
        {QStringLiteral("Â"), QStringLiteral("Ângela")},
        {QStringLiteral("Z"), QStringLiteral("Zé O'Neil")}};
    for (const auto& [texto, esperado] : buscas) {
        c.nav->edtFindGrid->clear();
        QTest::sendKeyEvent(QTest::Click, c.nav->edtFindGrid, Qt::Key_unknown, texto, Qt::NoModifier);
        QCOMPARE(c.nav->NomePacienteAtual(), esperado);
    }
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteListaPacientes::buscaSemResultado()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    for (const char* n : {"Ana", "Bruno", "Carla"})
        c.Paciente(QString::fromUtf8(n));
    c.Abre();
    c.nav->MostraPaciente(QStringLiteral("Bruno"), kTodos);
    const QColor normal = c.nav->edtFindGrid->palette().color(QPalette::Text);
    c.nav->edtFindGrid->setFocus();
    struct Passo {
        QString tecla;
        QString paciente;
        bool achou;
    };
    // "Cx" finds nothing: the list stays on Carla and the box says so until the next key.
    const QList<Passo> passos = {{QStringLiteral("C"), QStringLiteral("Carla"), true},
                                 {QStringLiteral("x"), QStringLiteral("Carla"), false},
                                 {QStringLiteral("\b"), QStringLiteral("Carla"), true},
                                 {QStringLiteral("z"), QStringLiteral("Carla"), false}};
    for (const Passo& passo : passos) {
        if (passo.tecla == QStringLiteral("\b"))
            QTest::keyClick(c.nav->edtFindGrid, Qt::Key_Backspace);
        else
            QTest::sendKeyEvent(QTest::Click, c.nav->edtFindGrid, Qt::Key_unknown, passo.tecla, Qt::NoModifier);
        QCOMPARE(c.nav->NomePacienteAtual(), passo.paciente);
        QCOMPARE(c.nav->edtFindGrid->palette().color(QPalette::Text) == normal, passo.achou);
    }
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

QTEST_MAIN(TesteListaPacientes)
#include "tst_lista.moc"
