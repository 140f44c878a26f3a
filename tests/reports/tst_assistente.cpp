// The report wizard on a real database under the real navigator: its eye lists, the reports
// it lists for the navigator's doctor, deletion, opening and new reports with their failures.

#include "data/UDLaudos.h"
#include "navigator/UNavegador.h"
#include "tests/reports/UCenarioLaudo.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>

namespace {

QStringList ItensCombo(const QComboBox* c)
{
    QStringList r;
    for (int i = 0; i < c->count(); ++i)
        r << c->itemText(i);
    return r;
}

const QString kErroMapa = QStringLiteral("Não foi possível processar o mapa selecionado. ERROMAP03");

} // namespace

class TesteAssistente : public QObject {
    Q_OBJECT
private slots:
    void listasDeOlhos();
    void laudosDoMedico_data();
    void laudosDoMedico();
    void exclusao_data();
    void exclusao();
    void abrir();
    void novoRecusado_data();
    void novoRecusado();
    void aguarde();
};

void TesteAssistente::listasDeOlhos()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    c.Exame(c.paciente, c.medico, QDate(2024, 3, 1), QTime(8, 0, 0), QStringLiteral("XE"));
    c.nav->CBoxExamesClick(); // reload the list with the new examination
    QVERIFY(c.Seleciona(CenarioLaudo::kOD));
    QVERIFY(c.AbreAssistente());
    QCOMPARE(c.wiz->windowTitle(), QStringLiteral("Assistente de Laudo"));
    QCOMPARE(c.wiz->lblTitulo->text(), QStringLiteral("Seleção de Exames e Laudos"));
    QCOMPARE(ItensCombo(c.wiz->cmbOD), (QStringList{CenarioLaudo::kOD, "Nenhum"}));
    // Every item not beginning with "OD" goes to the left eye, in the navigator's order.
    QStringList esquerdo;
    for (const QString& i : c.Itens())
        if (!i.startsWith(QStringLiteral("OD")))
            esquerdo << i;
    QCOMPARE(esquerdo.size(), 2);
    QVERIFY(esquerdo.contains(QStringLiteral("XE - 01/03/2024 08:00:00")));
    QCOMPARE(ItensCombo(c.wiz->cmbOS), esquerdo << QStringLiteral("Nenhum"));
    QCOMPARE(c.wiz->cmbOD->currentIndex(), -1);
    QCOMPARE(c.wiz->cmbOS->currentIndex(), -1);
    QVERIFY(!c.wiz->cmbOD->isEditable());
    QVERIFY(c.wiz->rgNovoLau->isChecked());
    QCOMPARE(c.wiz->TipoMapa(), 0);
    QVERIFY(c.wiz->cmbOD->isEnabled() && !c.wiz->cmbEscLaudo->isEnabled() && !c.wiz->cmbExcLaudo->isEnabled());
    c.wiz->rbExcLaudoClick();
    QVERIFY(!c.wiz->cmbOD->isEnabled() && !c.wiz->Label1->isEnabled() && c.wiz->cmbExcLaudo->isEnabled());
    QVERIFY(c.wiz->rgTipoMapa->isEnabled());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

// Reports of Ana: 1 with both examinations of Dr. B, 2 with the right eye of Dr. B and the
// left of Dr. A, 3 with no right eye and the left of Dr. A, 4 with the right of Dr. A only.
void TesteAssistente::laudosDoMedico_data()
{
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QList<int>>("laudos"); // positions 1..4 of the reports listed
    QTest::newRow("Dr. A") << "Dr. A" << QList<int>{2, 3, 4};
    QTest::newRow("Dr. B") << "Dr. B" << QList<int>{1, 2};
    QTest::newRow("todos") << Navegador::kTodos << QList<int>{};
    QTest::newRow("Dr. C, sem laudos") << "Dr. C" << QList<int>{};
}

void TesteAssistente::laudosDoMedico()
{
    QFETCH(QString, filtro);
    QFETCH(QList<int>, laudos);
    CenarioLaudo c;
    QVERIFY(c.Valido());
    const int a = c.Medico(QStringLiteral("Dr. A"));
    const int b = c.Medico(QStringLiteral("Dr. B"));
    const int cc = c.Medico(QStringLiteral("Dr. C"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const int a1 = c.Exame(p, a, QDate(2024, 1, 1), QTime(9, 0, 0), QStringLiteral("OD"));
    const int a2 = c.Exame(p, a, QDate(2024, 1, 1), QTime(9, 1, 0), QStringLiteral("OS"));
    const int b1 = c.Exame(p, b, QDate(2024, 1, 2), QTime(9, 0, 0), QStringLiteral("OD"));
    const int b2 = c.Exame(p, b, QDate(2024, 1, 2), QTime(9, 1, 0), QStringLiteral("OS"));
    c.Exame(p, cc, QDate(2024, 1, 3), QTime(9, 0, 0), QStringLiteral("OD"));
    const QList<int> codigos{c.Laudo(p, b1, b2), c.Laudo(p, b1, a2), c.Laudo(p, -1, a2), c.Laudo(p, a1, -1)};
    InfosZR.MedicoAtivo = filtro;
    c.Abre();
    QCOMPARE(c.nav->FiltroMedico(), filtro);
    QVERIFY(c.AbreAssistente());
    QStringList esperado;
    for (int k : laudos)
        esperado << ItemLaudo(codigos[k - 1], QDate(2024, 1, 1), QTime(10, 0, 0));
    QCOMPARE(ItensCombo(c.wiz->cmbEscLaudo), esperado);
    QCOMPARE(ItensCombo(c.wiz->cmbExcLaudo), esperado);
    QCOMPARE(c.wiz->rbLauExist->isEnabled(), !laudos.isEmpty());
    QCOMPARE(c.wiz->rbExcLaudo->isEnabled(), !laudos.isEmpty());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteAssistente::exclusao_data()
{
    QTest::addColumn<bool>("sim");
    QTest::addColumn<int>("arquivo"); // 0 present, 1 missing, 2 cannot be removed
    QTest::addColumn<QStringList>("mensagens");
    QTest::newRow("sim") << true << 0 << QStringList{"Laudo %1 - 01/01/2024 10:00:00 excluído com sucesso."};
    QTest::newRow("não") << false << 0 << QStringList{};
    QTest::newRow("arquivo ausente") << true << 1 << QStringList{"Laudo %1 - 01/01/2024 10:00:00 não encontrado."};
    QTest::newRow("arquivo que não sai") << true << 2
        << QStringList{"Laudo %1 - 01/01/2024 10:00:00 excluído, mas o arquivo do laudo não pôde ser apagado."};
}

void TesteAssistente::exclusao()
{
    QFETCH(bool, sim);
    QFETCH(int, arquivo);
    QFETCH(QStringList, mensagens);
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    const int outro = c.Laudo(c.paciente, c.exameOD, -1);
    const int laudo = c.Laudo(c.paciente, c.exameOD, c.exameOS);
    const QString caminho = c.ArquivoLaudo(c.paciente, laudo);
    if (arquivo == 1)
        QVERIFY(QFile::remove(caminho));
    if (arquivo == 2) { // a folder under the file's name, with something inside
        QVERIFY(QFile::remove(caminho));
        QVERIFY(QDir().mkpath(caminho + QStringLiteral("/x")));
    }
    QVERIFY(c.AbreAssistente());
    c.wiz->rbExcLaudoClick();
    c.wiz->cmbExcLaudo->setCurrentIndex(1);
    c.msgs.Responde(sim ? RespostaMensagem::Sim : RespostaMensagem::Nao);
    c.msgs.Responde(RespostaMensagem::Ok);
    c.wiz->btnOKClick();
    const QString item = ItemLaudo(laudo, QDate(2024, 1, 1), QTime(10, 0, 0));
    QStringList esperadas{QStringLiteral("Confirma exclusão do ") + item + u'?'};
    for (const QString& m : mensagens)
        esperadas << m.arg(laudo);
    QCOMPARE(c.msgs.Textos(), esperadas);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos WHERE Codigo=%1").arg(laudo)), sim ? 0 : 1);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos WHERE Codigo=%1").arg(outro)), 1);
    QCOMPARE(QFileInfo::exists(caminho), !sim || arquivo == 2);
    if (arquivo == 2)
        QCOMPARE(c.msgs.Registros().last().icone, IconeMensagem::Erro);
    QVERIFY(!c.wiz->isVisible()); // closed whatever the answer
    c.Libera();
    QVERIFY(c.wiz.isNull());
    QVERIFY(c.editor.isNull());
}

void TesteAssistente::abrir()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    const int bom = c.Laudo(c.paciente, c.exameOD, c.exameOS);
    const int apagado = c.ExameReal(c.paciente, c.medico, QDateTime(QDate(2023, 5, 5), QTime(8, 0, 0)),
                                    QStringLiteral("OS"), ExameSintetico::Esfera(42.0));
    const int comArquivo = c.Laudo(c.paciente, c.exameOD, apagado);
    const int semArquivo = c.Laudo(c.paciente, c.exameOD, apagado);
    QVERIFY(QFile::remove(c.ArquivoLaudo(c.paciente, semArquivo)));
    ConsultaBD& op = *c.DM().IBOperation;
    op.Fecha();
    op.DefineSQL(QStringLiteral("DELETE FROM Exames WHERE Codigo=:C"));
    op.DefineParametro(QStringLiteral("C"), apagado);
    op.Executa();
    c.DM().PCommitDataBase();
    c.nav->CBoxExamesClick();
    QVERIFY(c.Seleciona(CenarioLaudo::kOD));

    QVERIFY(c.AbreAssistente());
    c.wiz->rbLauExistClick();
    auto abre = [&](int laudo) {
        c.wiz->cmbEscLaudo->setCurrentIndex(c.wiz->cmbEscLaudo->findText(ItemLaudo(laudo, QDate(2024, 1, 1), QTime(10, 0, 0))));
        c.wiz->btnOKClick();
    };
    // Nothing chosen.
    c.msgs.Responde(RespostaMensagem::Ok);
    c.wiz->btnOKClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Por favor, selecione um laudo para ser aberto."});
    QVERIFY(c.editor.isNull() && c.wiz->isVisible());

    // A report whose left examination is gone and whose file is gone: the wizard stays.
    c.msgs.Limpa();
    c.msgs.Responde(RespostaMensagem::Ok);
    abre(semArquivo);
    QCOMPARE(c.msgs.Textos(), QStringList{"Arquivo de laudo não encontrado."});
    QCOMPARE(c.msgs.Registros().first().icone, IconeMensagem::Erro);
    c.Libera();
    QVERIFY(c.editor.isNull() && c.wiz->isVisible());

    // A good report next: no word about deleted examinations.
    c.msgs.Limpa();
    abre(bom);
    QVERIFY(c.msgs.Registros().isEmpty());
    QVERIFY(c.editor && c.editor->isVisible());
    QVERIFY(!c.editor->Editavel());
    QCOMPARE(c.editor->reCE->toPlainText(), QStringLiteral("laudo"));
    QCOMPARE(c.wiz->DescricaoOD, CenarioLaudo::kOD);
    c.editor->sbtFecharClick();
    QVERIFY(!c.wiz->isVisible()); // closing the editor closes the wizard
    c.Libera();

    // A report with a deleted examination and its file: told, then shown read-only.
    QVERIFY(c.AbreAssistente());
    c.wiz->rbLauExistClick();
    c.msgs.Responde(RespostaMensagem::Ok);
    abre(comArquivo);
    QCOMPARE(c.msgs.Textos(), QStringList{"Este laudo possui dados de exames já excluídos!"});
    QVERIFY(c.editor && c.editor->isVisible());
    for (QWidget* w : std::initializer_list<QWidget*>{c.editor->reCE, c.editor->reOD, c.editor->reOS, c.editor->reCO,
                                                      c.editor->reCM, c.editor->trwLaudo, c.editor->chkMesmoLau,
                                                      c.editor->btnDel})
        QVERIFY(!w->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{c.editor->btnAdd, c.editor->btnAlt, c.editor->sButton2,
                                                      c.editor->sButton1})
        QVERIFY(w->isEnabled());
    QCOMPARE(c.wiz->DescricaoOS, QString());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteAssistente::novoRecusado_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<QStringList>("mensagens");
    QTest::newRow("sem escolha") << 0 << QStringList{
        "Por favor, verifique se umas das caixas está vazia. Se não desejar um dos olhos, escolha a opção \"Nenhum\"."};
    QTest::newRow("ambos Nenhum") << 1 << QStringList{"Por favor, escolha ao menos um exame para gerar o laudo."};
    QTest::newRow("m.txt ausente") << 2 << QStringList{"Arquivo m.txt não encontrado!", kErroMapa};
}

void TesteAssistente::novoRecusado()
{
    QFETCH(int, caso);
    QFETCH(QStringList, mensagens);
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    if (caso == 2)
        QVERIFY(QFile::remove(c.Arquivo(c.paciente, c.exameOS, "m.txt")));
    QVERIFY(c.AbreAssistente());
    if (caso == 1) {
        c.wiz->cmbOD->setCurrentIndex(c.wiz->cmbOD->findText(QStringLiteral("Nenhum")));
        c.wiz->cmbOS->setCurrentIndex(c.wiz->cmbOS->findText(QStringLiteral("Nenhum")));
    } else if (caso == 2) {
        c.wiz->cmbOD->setCurrentIndex(0);
        c.wiz->cmbOS->setCurrentIndex(0);
    }
    for (int k = 0; k < mensagens.size(); ++k)
        c.msgs.Responde(RespostaMensagem::Ok);
    c.wiz->btnOKClick();
    QCOMPARE(c.msgs.Textos(), mensagens);
    QVERIFY(!c.wiz->Prosseguir);
    QVERIFY(c.editor.isNull());
    QVERIFY(c.wiz->isVisible());
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos")), 0);
    QVERIFY(!QFileInfo::exists(PastaLaudosPaciente(QString::number(c.paciente))));
    // Closing the wizard puts the navigator back on the selected examination.
    c.wiz->btnCancelarClick();
    QCOMPARE(c.DM().IBQueryExames->Inteiro(QStringLiteral("CODIGO")), c.exameOD);
}

void TesteAssistente::aguarde()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    QVERIFY(c.NovoLaudo());
    QVERIFY(c.aguardeVisivel);
    QVERIFY(c.timerAtivo);
    QTRY_VERIFY_WITH_TIMEOUT(!c.nav->TimerAguarde->isActive(), 3000);
    QVERIFY(!TfrmAguarde::Instancia() || !TfrmAguarde::Instancia()->isVisible());
    QVERIFY(!c.nav->TimerAguarde->isActive());
}

QTEST_MAIN(TesteAssistente)
#include "tst_assistente.moc"
