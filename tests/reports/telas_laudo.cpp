// Pictures of the report screens for the documentation (not a test): the wizard over the
// navigator, the editor of a new report, a stored report reopened. Run under a display of
// 1366 x 768: telas_laudo <pasta de saída>

#include "tests/reports/UCenarioLaudo.h"

#include <QApplication>
#include <QScreen>
#include <QThread>

namespace {

void Foto(const QString& arquivo)
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    QGuiApplication::primaryScreen()->grabWindow(0).save(arquivo);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString saida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    CenarioLaudo c;
    if (!c.Valido())
        return 1;
    c.Prepara();
    c.nav->setGeometry(0, 0, 1366, 768);
    c.Laudo(c.paciente, c.exameOD, c.exameOS);
    c.Laudo(c.paciente, c.exameOD, -1);

    c.AbreAssistente();
    c.wiz->cmbOD->setCurrentIndex(0);
    c.wiz->cmbOS->setCurrentIndex(0);
    c.wiz->DefineTipoMapa(1);
    c.wiz->move((1366 - c.wiz->width()) / 2, (768 - c.wiz->height()) / 2);
    Foto(saida + QStringLiteral("/assistente.png"));

    c.wiz->btnOKClick();
    TfrmLaudo* e = c.editor;
    e->setGeometry(0, 0, 1366, 768);
    e->AtivaCaixa(e->reCE);
    e->trwLaudoDblClick(e->trwLaudo->topLevelItem(0)->child(1));
    e->AtivaCaixa(e->reOD);
    for (int g : {1, 2, 4})
        e->trwLaudoDblClick(e->trwLaudo->topLevelItem(g - 1)->child(1));
    e->trwLaudo->setCurrentItem(e->trwLaudo->topLevelItem(3));
    e->trwLaudo->expandItem(e->trwLaudo->topLevelItem(3));
    e->reOD->setFocus();
    Foto(saida + QStringLiteral("/editor.png"));
    e->close();
    c.Libera();

    c.AbreAssistente();
    c.wiz->rbLauExistClick();
    c.wiz->cmbEscLaudo->setCurrentIndex(0);
    c.msgs.Responde(RespostaMensagem::Ok);
    // A stored report with real text: saved from a new editor first.
    c.wiz->rgNovoLauClick();
    c.wiz->cmbOD->setCurrentIndex(0);
    c.wiz->cmbOS->setCurrentIndex(0);
    c.wiz->btnOKClick();
    e = c.editor;
    for (QTextEdit* caixa : {e->reOD, e->reOS, e->reCO}) {
        e->AtivaCaixa(caixa);
        for (int g : {1, 2, 3, 4, 5, 8, 10, 11})
            if (g <= e->Grupos())
                e->trwLaudoDblClick(e->trwLaudo->topLevelItem(g - 1)->child(1));
    }
    e->reCM->setPlainText(QStringLiteral("Retorno em um ano."));
    e->sbtSalvarClick();
    e->close();
    c.Libera();
    c.AbreAssistente();
    c.wiz->rbLauExistClick();
    c.wiz->cmbEscLaudo->setCurrentIndex(c.wiz->cmbEscLaudo->count() - 1);
    c.wiz->btnOKClick();
    c.editor->setGeometry(0, 0, 1366, 768);
    Foto(saida + QStringLiteral("/laudo_gravado.png"));
    return 0;
}
