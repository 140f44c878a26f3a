// Patient selection before an examination, and the navigator's use of the patient
// registry: the list filtered while typing (the typed text bound, never joined into the
// statement), picking a patient, "Continuar" with a registered name or a new one, the
// new-examination assistant with "AUTOEXAME" on and off, editing the current patient.

#include "navigator/UNavegador.h"
#include "navigator/UfrmNovoPaciente.h"
#include "platform/UJanelas.h"
#include "registry/UfrmCadastroPacientes.h"
#include "tests/navigator/UCenarioNavegador.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace Navegador;

namespace {

// Opens the patient selection from the navigator's new-patient button; the form is shown
// (not run modally) and handed back.
QPointer<TfrmNovoPaciente> AbreSelecao(CenarioNavegador& c)
{
    QPointer<TfrmNovoPaciente> f;
    DefineAberturaModal([&](QDialog* d) {
        f = qobject_cast<TfrmNovoPaciente*>(d);
        d->show();
        return 0;
    });
    QTest::mouseClick(c.nav->tbtCadPaciente, Qt::LeftButton);
    DefineAberturaModal({});
    return f;
}

QStringList NomesDaLista(TDMPrincipal& dm)
{
    ConsultaBD& q = *dm.IBQueryBuscaPac;
    q.BuscaTodas();
    QStringList r;
    for (int i = 0; i < q.LinhasBuscadas(); ++i)
        r << q.CampoDaLinha(i, QStringLiteral("NOME")).toString();
    return r;
}

void Digita(QLineEdit* e, const QString& texto)
{
    e->setFocus();
    for (const QChar ch : texto)
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

} // namespace

class TesteNovoPaciente : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { DefineAberturaModal({}); }
    void filtraAoDigitar_data();
    void filtraAoDigitar();
    void escolheNaLista_data();
    void escolheNaLista();
    void continuarComNomeCadastrado();
    void continuarSemNome();
    void continuarComNomeNovo_data();
    void continuarComNomeNovo();
    void editaPaciente();
};

void TesteNovoPaciente::filtraAoDigitar_data()
{
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QStringList>("nomes");
    QTest::newRow("nada") << "" << QStringList{"Ana Jo", "Érica", "Joana", "JOÃO D'ÁVILA", "jonas", "JOSÉ"};
    QTest::newRow("jo") << "jo" << QStringList{"Joana", "JOÃO D'ÁVILA", "jonas", "JOSÉ"};
    QTest::newRow("joão") << "joão" << QStringList{"JOÃO D'ÁVILA"};
    QTest::newRow("apóstrofo") << "joão d'" << QStringList{"JOÃO D'ÁVILA"};
    QTest::newRow("érica") << "éri" << QStringList{"Érica"};
    QTest::newRow("nenhum") << "x" << QStringList{};
    QTest::newRow("aspas e ponto e vírgula") << "'; delete from pacientes; --" << QStringList{};
    QTest::newRow("nome de 50 letras") << QString(50, u'j') << QStringList{};
}

void TesteNovoPaciente::filtraAoDigitar()
{
    QFETCH(QString, digitado);
    QFETCH(QStringList, nomes);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    for (const char* n : {"Joana", "jonas", "JOSÉ", "Ana Jo", "JOÃO D'ÁVILA", "Érica"})
        c.Paciente(QString::fromUtf8(n));
    c.Abre();
    QPointer<TfrmNovoPaciente> f = AbreSelecao(c);
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("Cadastro de Paciente"));
    QCOMPARE(f->pos(), QPoint(qRound((800 - f->width()) / 2.0), qRound((600 - f->height()) / 2.0)));
    QCOMPARE(f->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ID"));
    QCOMPARE(f->DBGrid1->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("QTD EXAMES"));
    QCOMPARE(f->DBGrid1->columnWidth(1), 283);
    Digita(f->edtNomePac, digitado);
    QStringList esperados = nomes;
    QCOMPARE(NomesDaLista(c.DM()), esperados);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Pacientes")), 6);
    QVERIFY(c.msgs.Inesperadas().isEmpty());
    f->close();
}

void TesteNovoPaciente::escolheNaLista_data()
{
    QTest::addColumn<bool>("autoExame");
    QTest::newRow("AUTOEXAME desligado") << false;
    QTest::newRow("AUTOEXAME ligado") << true;
}

void TesteNovoPaciente::escolheNaLista()
{
    QFETCH(bool, autoExame);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    QStringList novosExames;
    TfrmExames::Ligacoes().NovoExame = [&](TfrmExames& nav, bool orto) {
        novosExames << nav.NomePacienteAtual() + (orto ? QStringLiteral(" orto") : QString());
    };
    InfosZR.AutoExame = autoExame;
    const int a = c.Medico(QStringLiteral("Dr. A"));
    c.Exame(c.Paciente(QStringLiteral("Ana")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Paciente(QStringLiteral("Bruno"));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QCOMPARE(c.nav->FiltroMedico(), QStringLiteral("Dr. A"));
    QPointer<TfrmNovoPaciente> f = AbreSelecao(c);
    QVERIFY(f);
    Digita(f->edtNomePac, QStringLiteral("br"));
    QCOMPARE(NomesDaLista(c.DM()), QStringList{"Bruno"});
    f->DBGrid1->setCurrentIndex(f->DBGrid1->model()->index(0, 1));
    f->DBGrid1CellClick();
    QCOMPARE(f->edtNomePac->text(), QStringLiteral("Bruno"));
    f->DBGrid1DblClick();
    QTRY_VERIFY(!f);
    QCOMPARE(c.nav->FiltroMedico(), kTodos);
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bruno"));
    QCOMPARE(novosExames, autoExame ? QStringList{"Bruno"} : QStringList{});
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNovoPaciente::continuarComNomeCadastrado()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    int novosExames = 0, registros = 0;
    TfrmExames::Ligacoes().NovoExame = [&](TfrmExames&, bool) { ++novosExames; };
    InfosZR.AutoExame = true;
    const int a = c.Medico(QStringLiteral("Dr. A"));
    c.Exame(c.Paciente(QStringLiteral("Ana")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Paciente(QStringLiteral("Bruno D'Ávila"));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QPointer<TfrmNovoPaciente> f = AbreSelecao(c);
    DefineAberturaModal([&](QDialog*) {
        ++registros;
        return 0;
    });
    Digita(f->edtNomePac, QStringLiteral("Bruno D'Ávila"));
    QTest::mouseClick(f->sButton7, Qt::LeftButton);
    QTRY_VERIFY(!f);
    QCOMPARE(registros, 0);
    QCOMPARE(novosExames, 0);
    // More than one filter entry: the patient is shown under "*** Todos".
    QCOMPARE(c.nav->FiltroMedico(), kTodos);
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bruno D'Ávila"));
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Pacientes")), 2);
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNovoPaciente::continuarSemNome()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    c.Abre();
    QPointer<TfrmNovoPaciente> f = AbreSelecao(c);
    c.msgs.Responde(RespostaMensagem::Ok);
    QTest::mouseClick(f->sButton7, Qt::LeftButton);
    QCOMPARE(c.msgs.Textos(), QStringList{"Digite o nome do Paciente!!!"});
    QCOMPARE(c.msgs.Registros()[0].titulo, QStringLiteral("Informação"));
    QCOMPARE(c.msgs.Registros()[0].icone, IconeMensagem::Informacao);
    QVERIFY(f && f->isVisible());
    // Esc closes the form.
    QTest::keyClick(f->edtNomePac, Qt::Key_Escape);
    QTRY_VERIFY(!f);
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNovoPaciente::continuarComNomeNovo_data()
{
    QTest::addColumn<bool>("autoExame");
    QTest::addColumn<bool>("grava");
    QTest::newRow("gravado, AUTOEXAME ligado") << true << true;
    QTest::newRow("gravado, AUTOEXAME desligado") << false << true;
    QTest::newRow("cancelado, AUTOEXAME ligado") << true << false;
}

void TesteNovoPaciente::continuarComNomeNovo()
{
    QFETCH(bool, autoExame);
    QFETCH(bool, grava);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    QStringList novosExames;
    TfrmExames::Ligacoes().NovoExame = [&](TfrmExames& nav, bool) { novosExames << nav.NomePacienteAtual(); };
    InfosZR.AutoExame = autoExame;
    const int a = c.Medico(QStringLiteral("Dr. A"));
    c.Exame(c.Paciente(QStringLiteral("Ana")), a, QDate(2024, 1, 1), QTime(9, 0, 0));
    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    c.Abre();
    QPointer<TfrmNovoPaciente> f = AbreSelecao(c);
    QString modo, nomeNoCadastro, medico, legendaCodigo;
    bool codigoVisivel = true;
    DefineAberturaModal([&](QDialog* d) {
        auto* r = qobject_cast<TfrmCadastroPacientes*>(d);
        if (!r)
            return 0;
        modo = r->Modo;
        medico = r->Medico;
        nomeNoCadastro = r->dbeNome->text();
        legendaCodigo = r->lblCodigo->text();
        codigoVisivel = r->dbtCodigo->isVisibleTo(r);
        if (grava) {
            r->dbeConvenio->setText(QStringLiteral("Bradesco"));
            r->sbtOkClick();
        } else {
            r->sbtCancelarClick();
        }
        return grava ? 1 : 0;
    });
    Digita(f->edtNomePac, QStringLiteral("Zélia Nova"));
    QTest::mouseClick(f->sButton7, Qt::LeftButton);
    QTRY_VERIFY(!f);
    QCOMPARE(modo, QStringLiteral("Add"));
    QCOMPARE(nomeNoCadastro, QStringLiteral("Zélia Nova"));
    QCOMPARE(medico, QStringLiteral("Dr. A"));
    QCOMPARE(legendaCodigo, QStringLiteral("Adcionando um novo paciente"));
    QVERIFY(!codigoVisivel);
    if (grava) {
        QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Pacientes")), 2);
        QCOMPARE(c.nav->FiltroMedico(), kSemExames);
        QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Zélia Nova"));
        QCOMPARE(c.nav->lblConvenio->text(), QStringLiteral("Bradesco"));
        QCOMPARE(novosExames, autoExame ? QStringList{"Zélia Nova"} : QStringList{});
    } else {
        QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Pacientes")), 1);
        QCOMPARE(c.nav->FiltroMedico(), QStringLiteral("Dr. A"));
        QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana"));
        QVERIFY(novosExames.isEmpty());
    }
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNovoPaciente::editaPaciente()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    c.Paciente(QStringLiteral("Ana"));
    c.Paciente(QStringLiteral("Bruno"), QStringLiteral("SUS"));
    c.Paciente(QStringLiteral("Carla"));
    c.Abre();
    c.nav->MostraPaciente(QStringLiteral("Bruno"), kTodos);
    QString modo, convenioAntes;
    int codigo = 0;
    DefineAberturaModal([&](QDialog* d) {
        auto* r = qobject_cast<TfrmCadastroPacientes*>(d);
        if (!r)
            return 0;
        modo = r->Modo;
        codigo = r->Codigo();
        convenioAntes = r->dbeConvenio->text();
        r->dbeConvenio->setText(QStringLiteral("Amil"));
        r->sbtOkClick();
        return 1;
    });
    c.nav->DBGridPacientesDblClick();
    QCOMPARE(modo, QStringLiteral("Atualiza"));
    QCOMPARE(codigo, 2);
    QCOMPARE(convenioAntes, QStringLiteral("SUS"));
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Bruno"));
    QCOMPARE(c.nav->lblConvenio->text(), QStringLiteral("Amil"));
    QCOMPARE(c.CampoPaciente(2, QStringLiteral("CONVENIO")).toString(), QStringLiteral("Amil"));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

QTEST_MAIN(TesteNovoPaciente)
#include "tst_novopaciente.moc"
