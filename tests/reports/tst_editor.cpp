// The report editor on a real database: the phrase library in the tree of each box, slot
// colours, the both-eyes copy, the save question, saving (file bytes and row), failures of
// the reports folder, a second workstation saving at the same moment, and reopening.

#include "common/UTextoCp1252.h"
#include "data/UDLaudos.h"
#include "tests/reports/UCenarioLaudo.h"

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

namespace {

QColor CorEm(QTextEdit* caixa, qsizetype posicao)
{
    QTextCursor c(caixa->document());
    c.setPosition(int(posicao) + 1);
    return c.charFormat().foreground().color();
}

// The phrase node of the group whose text is the one given (the first when empty).
QTreeWidgetItem* Frase(QTreeWidget* arvore, int grupo, const QString& texto = QString())
{
    QTreeWidgetItem* g = arvore->topLevelItem(grupo - 1);
    for (int i = 0; g && i < g->childCount(); ++i)
        if (texto.isEmpty() ? g->child(i)->text(0) != QStringLiteral("\"Em Branco\"") : g->child(i)->text(0) == texto)
            return g->child(i);
    return nullptr;
}

// Fills every mandatory slot of a box with the first phrase of its group.
void PreencheObrigatorios(TfrmLaudo& e, QTextEdit* caixa)
{
    e.AtivaCaixa(caixa);
    for (int g : {2, 4, 5, 8, 10, 11})
        if (g <= e.Grupos())
            e.trwLaudoDblClick(Frase(e.trwLaudo, g));
}

} // namespace

class TesteEditor : public QObject {
    Q_OBJECT
private slots:
    void biblioteca();
    void arvores_data();
    void arvores();
    void coresEAmbosOsOlhos();
    void pergunta_data();
    void pergunta();
    void gravacao();
    void pastaNaoGravavel();
    void outraEstacao();
    void pacienteExcluido();
    void arquivoRuim_data();
    void arquivoRuim();
};

// The shipped library has no phrase its box cannot show, and every group has a blank.
void TesteEditor::biblioteca()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM LaudosTexto WHERE NOT ((Local='CE' AND PosCaixa BETWEEN 1 AND 3) "
                                    "OR (Local='DS' AND PosCaixa BETWEEN 1 AND 7) OR (Local='CO' AND PosCaixa BETWEEN 1 AND 16))")),
             0);
    ConsultaBD& op = *c.DM().IBOperation;
    op.Fecha();
    op.DefineSQL(QStringLiteral("SELECT Local, PosCaixa FROM LaudosTexto GROUP BY Local, PosCaixa "
                                "HAVING SUM(CASE WHEN Texto IS NULL OR Texto = '' THEN 1 ELSE 0 END) = 0"));
    op.Abre();
    QVERIFY(op.Vazia());
    op.Fecha();
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(DISTINCT Local || PosCaixa) FROM LaudosTexto")), 3 + 7 + 16);
}

void TesteEditor::arvores_data()
{
    QTest::addColumn<QString>("caixa");
    QTest::addColumn<QString>("local");
    QTest::addColumn<int>("grupos");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("reCE") << "reCE" << "CE" << 3 << "Textos para Condições do Exame";
    QTest::newRow("reOD") << "reOD" << "DS" << 7 << "Textos para o Olho Direito";
    QTest::newRow("reOS") << "reOS" << "DS" << 7 << "Textos para o Olho Esquerdo";
    QTest::newRow("reCO") << "reCO" << "CO" << 16 << "Textos para a Conclusão";
}

void TesteEditor::arvores()
{
    QFETCH(QString, caixa);
    QFETCH(QString, local);
    QFETCH(int, grupos);
    QFETCH(QString, titulo);
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.NovoLaudo();
    QVERIFY(e);
    QCOMPARE(e->windowTitle(), QStringLiteral("Laudo"));
    QCOMPARE(e->lblTitulo->text(), QStringLiteral("Edição de Laudo"));
    QCOMPARE(e->lblNome->text(), QStringLiteral("Ana"));
    QCOMPARE(e->lblCaixaSelec->text(), QStringLiteral("Textos Padrão"));
    auto* box = e->findChild<QTextEdit*>(caixa);
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(e->CaixaAtual(), box);
    QCOMPARE(e->lblCaixaSelec->text(), titulo);
    QCOMPARE(e->trwLaudo->topLevelItemCount(), grupos);
    QCOMPARE(box->viewport()->palette().color(QPalette::Base), QColor(255, 255, 230));
    for (QTextEdit* outra : {e->reCE, e->reOD, e->reOS, e->reCO})
        if (outra != box)
            QCOMPARE(outra->viewport()->palette().color(QPalette::Base), QColor(Qt::white));
    for (int g = 1; g <= grupos; ++g) {
        QTreeWidgetItem* no = e->trwLaudo->topLevelItem(g - 1);
        QCOMPARE(no->text(0), QString::number(g));
        QCOMPARE(no->childCount(),
                 c.Conta(QStringLiteral("SELECT COUNT(*) FROM LaudosTexto WHERE Local='%1' AND PosCaixa=%2").arg(local).arg(g)));
        bool branco = false;
        for (int k = 0; k < no->childCount(); ++k)
            branco = branco || no->child(k)->text(0) == QStringLiteral("\"Em Branco\"");
        QVERIFY(branco);
    }
    // A click in the comments turns the template boxes white and keeps the tree.
    QTest::mouseClick(e->reCM->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(box->viewport()->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(e->trwLaudo->topLevelItemCount(), grupos);
    QCOMPARE(e->CaixaAtual(), box);
}

void TesteEditor::coresEAmbosOsOlhos()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.NovoLaudo(1);
    QVERIFY(e);
    QVERIFY(e->reOD->toPlainText().contains(QStringLiteral("no mapa de construção Tangencial.")));
    QVERIFY(e->reOD->toPlainText().endsWith(
        QStringLiteral("1.25 D @ 90º com meridianos de 44.50 D @ 90º e 43.25 D @ 180º.")));
    QVERIFY(e->reOS->toPlainText().endsWith(
        QStringLiteral("0.00 D @ 90º com meridianos de 43.00 D @ 90º e 43.00 D @ 180º.")) ||
            e->reOS->toPlainText().contains(QStringLiteral("com meridianos de 43.00 D @ ")));
    QCOMPARE(e->reCE->toPlainText(), QStringLiteral("Exames realizado em excelentes condições de centralização e "
                                                    "focalização.\nSem uso de lentes de contato #1# #2# #3#"));
    QCOMPARE(c.wiz->CodigoOD, c.exameOD);
    QCOMPARE(c.wiz->CodigoOS, c.exameOS);

    e->AtivaCaixa(e->reOD);
    e->trwLaudo->setCurrentItem(e->trwLaudo->topLevelItem(3)); // group 4
    const QString texto = e->reOD->toPlainText();
    for (const Marcador& m : Marcadores(texto))
        QCOMPARE(CorEm(e->reOD, m.abre), m.numero == 4 ? QColor(Qt::red) : QColor(Qt::blue));
    QCOMPARE(CorEm(e->reOD, texto.indexOf(QStringLiteral("curvatura"))), e->reOD->palette().color(QPalette::Text));

    // Both eyes: a phrase chosen in the left box lands in the same slot of the right one.
    e->chkMesmoLau->setChecked(true);
    e->AtivaCaixa(e->reOS);
    QTreeWidgetItem* frase = Frase(e->trwLaudo, 2);
    QVERIFY(frase);
    e->trwLaudoDblClick(frase);
    const QString esperado = QStringLiteral("#2-") + frase->text(0) + u'#';
    QVERIFY(e->reOS->toPlainText().contains(esperado));
    QVERIFY(e->reOD->toPlainText().contains(esperado));
    QCOMPARE(e->CaixaAtual(), e->reOS);
    // A group node does nothing.
    const QString antes = e->reOS->toPlainText();
    e->trwLaudoDblClick(e->trwLaudo->topLevelItem(0));
    QCOMPARE(e->reOS->toPlainText(), antes);
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteEditor::pergunta_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<QString>("lista");
    QTest::newRow("só a conclusão") << 0 << "Caixa Conclusão: 2 4 5 8 10 11 ";
    QTest::newRow("só o esquerdo, com ambos os olhos") << 1 << "Caixa Olho Esquerdo: 2 4 5 ";
}

void TesteEditor::pergunta()
{
    QFETCH(int, caso);
    QFETCH(QString, lista);
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.NovoLaudo();
    QVERIFY(e);
    PreencheObrigatorios(*e, e->reOD);
    if (caso == 0) {
        PreencheObrigatorios(*e, e->reOS);
    } else {
        PreencheObrigatorios(*e, e->reCO);
        e->chkMesmoLau->setChecked(true);
    }
    c.msgs.Responde(RespostaMensagem::Sim);
    e->sbtSalvarClick();
    QCOMPARE(c.msgs.Textos(),
             QStringList{QStringLiteral("Algumas caixas obrigatórias estão sem preencher. Deseja alterá-las?\n\r") + lista});
    QCOMPARE(c.msgs.Registros().first().botoes, BotoesMensagem::SimNao);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos")), 0);
    QVERIFY(e->Editavel());
}

void TesteEditor::gravacao()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    const int linhaPaciente = c.DM().IBQueryPacientes->Linha();
    TfrmLaudo* e = c.NovoLaudo();
    QVERIFY(e);
    for (QTextEdit* caixa : {e->reOD, e->reOS, e->reCO})
        PreencheObrigatorios(*e, caixa);
    e->reCM->setPlainText(QStringLiteral("Retorno em um ano.\nTrazer óculos."));
    const QString od = RemoveMarcadores(e->reOD->toPlainText());
    c.msgs.Responde(RespostaMensagem::Ok);
    const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
    e->sbtSalvarClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Laudo gravado com sucesso."});
    QVERIFY(!e->Editavel());
    QVERIFY(!e->reOD->isEnabled() && !e->trwLaudo->isEnabled() && e->btnAdd->isEnabled());

    // The row.
    ConsultaBD& op = *c.DM().IBOperation;
    op.Fecha();
    op.DefineSQL(QStringLiteral("SELECT * FROM Laudos"));
    op.Abre();
    op.BuscaTodas();
    QCOMPARE(op.LinhasBuscadas(), 1);
    const int codigo = op.Inteiro(QStringLiteral("CODIGO"));
    QCOMPARE(op.Inteiro(QStringLiteral("CODPACIENTE")), c.paciente);
    QCOMPARE(op.Inteiro(QStringLiteral("MEDIDAOD")), c.exameOD);
    QCOMPARE(op.Inteiro(QStringLiteral("MEDIDAOS")), c.exameOS);
    QCOMPARE(op.Texto(QStringLiteral("BACKUP")), QString());
    const QDateTime quando(op.Data(QStringLiteral("DATA")), op.Hora(QStringLiteral("HORA")));
    QVERIFY(quando >= antes && quando <= QDateTime::currentDateTime().addSecs(1));
    op.Fecha();
    QCOMPARE(e->Gravado().Codigo, codigo);

    // The file: cp1252, "@" lines, "*" last without a line break.
    QFile f(c.ArquivoLaudo(c.paciente, codigo));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.endsWith("\r\n*"));
    QCOMPARE(bytes.count("\r\n@\r\n"), 4);
    QVERIFY(bytes.contains("44.50 D @ 90\xBA e 43.25 D @ 180\xBA."));
    QVERIFY(bytes.contains(ParaCp1252(od)));
    QVERIFY(bytes.contains("Retorno em um ano.\r\nTrazer \xF3" "culos.\r\n*"));
    QVERIFY(!bytes.contains('#'));

    // The navigator is back on the patient and the examination.
    QCOMPARE(c.DM().IBQueryPacientes->Linha(), linhaPaciente);
    QCOMPARE(c.nav->NomePacienteAtual(), QStringLiteral("Ana"));
    QCOMPARE(c.nav->lswPrincipal->selectedItems().value(0) ? c.nav->lswPrincipal->selectedItems().first()->text() : QString(),
             CenarioLaudo::kOD);
    e->sbtFecharClick();
    QCOMPARE(c.DM().IBQueryExames->Inteiro(QStringLiteral("CODIGO")), c.exameOD);
    c.Libera();

    // Reopened: each box with its lines as saved.
    QVERIFY(c.AbreAssistente());
    c.wiz->rbLauExistClick();
    c.wiz->cmbEscLaudo->setCurrentIndex(0);
    c.wiz->btnOKClick();
    QVERIFY(c.editor);
    QCOMPARE(c.editor->reOD->toPlainText(), od);
    QCOMPARE(c.editor->reCM->toPlainText(), QStringLiteral("Retorno em um ano.\nTrazer óculos."));
    QVERIFY(c.editor->reCE->toPlainText().startsWith(QStringLiteral("Exames realizado")));
    QVERIFY(c.editor->reCE->toPlainText().contains(u'\n'));
    QCOMPARE(c.wiz->DescricaoOD, CenarioLaudo::kOD);
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

// A reports folder that cannot be made leaves no row; once it can, one save stores one report.
void TesteEditor::pastaNaoGravavel()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.NovoLaudo();
    QVERIFY(e);
    for (QTextEdit* caixa : {e->reOD, e->reOS, e->reCO})
        PreencheObrigatorios(*e, caixa);
    const QString pasta = PastaLaudosPaciente(QString::number(c.paciente));
    QVERIFY(QDir().mkpath(QFileInfo(pasta).path()));
    {
        QFile bloqueio(pasta); // a file where the patient's folder should be
        QVERIFY(bloqueio.open(QIODevice::WriteOnly));
    }
    c.msgs.Responde(RespostaMensagem::Ok);
    e->sbtSalvarClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Não foi possível gravar o arquivo de laudo."});
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos")), 0);
    QVERIFY(e->Editavel());

    QVERIFY(QFile::remove(pasta));
    c.msgs.Limpa();
    c.msgs.Responde(RespostaMensagem::Ok);
    e->sbtSalvarClick();
    QCOMPARE(c.msgs.Textos(), QStringList{"Laudo gravado com sucesso."});
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos")), 1);
    QVERIFY(!e->Editavel());
}

// Another workstation stores another patient's report right after this save's commit: the
// new file still goes under this report's own code.
void TesteEditor::outraEstacao()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    const int outroPaciente = c.Paciente(QStringLiteral("Bruno"));
    TDMPrincipal outra;
    QVERIFY(outra.PSetDataBaseName(c.banco.Arquivo()));
    TfrmLaudo* e = c.NovoLaudo();
    QVERIFY(e);
    for (QTextEdit* caixa : {e->reOD, e->reOS, e->reCO})
        PreencheObrigatorios(*e, caixa);
    bool inseriu = false;
    QObject::connect(&c.DM(), &TDMPrincipal::Confirmado, &outra, [&] {
        if (inseriu)
            return;
        inseriu = true;
        TDLaudos(outra).InsereLaudo(outroPaciente, -1, -1, QString(), QDate(2024, 1, 1), QTime(9, 0, 0));
    });
    c.msgs.Responde(RespostaMensagem::Ok);
    e->sbtSalvarClick();
    QVERIFY(inseriu);
    QCOMPARE(c.msgs.Textos(), QStringList{"Laudo gravado com sucesso."});
    ConsultaBD& op = *c.DM().IBOperation;
    op.Fecha();
    op.DefineSQL(QStringLiteral("SELECT Codigo FROM Laudos WHERE CodPaciente=:P"));
    op.DefineParametro(QStringLiteral("P"), c.paciente);
    op.Abre();
    const int codigo = op.Inteiro(QStringLiteral("CODIGO"));
    op.Fecha();
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos")), 2);
    QCOMPARE(e->Gravado().Codigo, codigo);
    QVERIFY(QFileInfo::exists(c.ArquivoLaudo(c.paciente, codigo)));
    QVERIFY(!QFileInfo::exists(c.ArquivoLaudo(c.paciente, codigo + 1)));
}

// The patient deleted by another workstation before the save: told, nothing stored, the
// editor still editable.
void TesteEditor::pacienteExcluido()
{
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.NovoLaudo();
    QVERIFY(e);
    for (QTextEdit* caixa : {e->reOD, e->reOS, e->reCO})
        PreencheObrigatorios(*e, caixa);
    {
        TDMPrincipal outra;
        QVERIFY(outra.PSetDataBaseName(c.banco.Arquivo()));
        for (const char* sql : {"DELETE FROM Exames WHERE CodPaciente=:P", "DELETE FROM Pacientes WHERE Codigo=:P"}) {
            ConsultaBD& op = *outra.IBOperation;
            op.Fecha();
            op.DefineSQL(QLatin1String(sql));
            op.DefineParametro(QStringLiteral("P"), c.paciente);
            op.Executa();
        }
        outra.PCommitDataBase();
    }
    c.msgs.Responde(RespostaMensagem::Ok);
    e->sbtSalvarClick();
    QCOMPARE(c.msgs.Textos().size(), 1);
    QVERIFY(c.msgs.Textos().first().startsWith(QStringLiteral("Não foi possível gravar o laudo.\n")));
    QCOMPARE(c.msgs.Registros().first().icone, IconeMensagem::Erro);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Laudos")), 0);
    QVERIFY(!QFileInfo::exists(PastaLaudosPaciente(QString::number(c.paciente))));
    QVERIFY(e->Editavel());
}

// Damaged report files open with what can be read.
void TesteEditor::arquivoRuim_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("condicoes");
    QTest::newRow("vazio") << QByteArray() << "";
    QTest::newRow("sem @") << QByteArray("linha um\r\nlinha dois\r\n") << "linha um\nlinha dois";
    QTest::newRow("2 MB") << QByteArray(2 * 1024 * 1024, 'a') << QString(TfrmLaudo::kMaxTextoCaixa, u'a');
    QTest::newRow("bytes fora do cp1252") << QByteArray("a\x81\x8D\x90" "b\r\n@\r\n*") << "";
}

void TesteEditor::arquivoRuim()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, condicoes);
    CenarioLaudo c;
    QVERIFY(c.Valido());
    c.Prepara();
    const int laudo = c.Laudo(c.paciente, c.exameOD, c.exameOS);
    {
        QFile f(c.ArquivoLaudo(c.paciente, laudo));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(conteudo);
    }
    QVERIFY(c.AbreAssistente());
    c.wiz->rbLauExistClick();
    c.wiz->cmbEscLaudo->setCurrentIndex(0);
    c.wiz->btnOKClick();
    QVERIFY(c.editor && c.editor->isVisible());
    QVERIFY(c.msgs.Registros().isEmpty());
    if (!condicoes.isEmpty() || conteudo.isEmpty())
        QCOMPARE(c.editor->reCE->toPlainText(), condicoes);
    else
        QVERIFY2(c.editor->reCE->toPlainText().startsWith(u'a') && c.editor->reCE->toPlainText().endsWith(u'b'),
                 qPrintable(c.editor->reCE->toPlainText().toUtf8().toHex()));
}

QTEST_MAIN(TesteEditor)
#include "tst_editor.moc"
