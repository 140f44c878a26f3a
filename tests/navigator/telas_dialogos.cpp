// Pictures of dialogs for the documentation (not a test): the navigator's doctor list opened
// with an item highlighted, a message box, the patient registry in Add mode (over the patient
// selection) and in Edit mode (over the navigator), the save dialog of "Exportar PNG", two
// help pages. Run under a display of 1366 x 768 with a window manager:
// telas_dialogos <pasta de saída> <pasta das páginas de ajuda>

#include "navigator/UfrmNovoPaciente.h"
#include "platform/UMensagensQt.h"
#include "platform/UTraducao.h"
#include "registry/UfrmCadastroPacientes.h"
#include "tests/navigator/UCenarioNavegador.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

void Foto(const QString& arquivo)
{
    for (int i = 0; i < 25; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    QGuiApplication::primaryScreen()->grabWindow(0).save(arquivo);
}

// Takes the picture of the modal window that opens next, then closes it.
void FotoDoModal(const QString& arquivo)
{
    QTimer::singleShot(600, [arquivo] {
        Foto(arquivo);
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstalaTraducaoQt();
    const QString saida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString ajuda = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("install/ajuda");
    CenarioNavegador c;
    if (!c.Valido())
        return 1;
    for (const char* m : {"Dr. Álvaro Souza", "Dra. Beatriz Lima", "Dr. Carlos Prado", "dra. Érica Nunes"})
        c.Medico(QString::fromUtf8(m));
    const int a = 1;
    const QStringList nomes = {"Ana Luíza Ferreira", "Bruno Carvalho", "Zé O'Neil", "ana maria Costa", "Ângela Dias",
                               "Caio Mendes", "Débora Alves"};
    for (const QString& n : nomes)
        c.Exame(c.Paciente(n, QStringLiteral("Caixa de Assistência dos Servidores - Especial")), a,
                QDate(2024, 3, 5), QTime(14, 7, 9));
    InfosZR.MedicoAtivo = QStringLiteral("*** Todos");
    c.Abre(false, QSize(1366, 768));
    c.nav->setGeometry(0, 0, 1366, 768);
    Foto(saida + QStringLiteral("/navegador.png"));

    c.nav->CBMedicos->showPopup();
    QAbstractItemView* lista = c.nav->CBMedicos->view();
    lista->setCurrentIndex(lista->model()->index(1, 0));
    Foto(saida + QStringLiteral("/lista_medicos.png"));
    c.nav->CBMedicos->hidePopup();

    MensagensQt mensagens;
    InstalaServicoMensagens(&mensagens);
    c.nav->activateWindow();
    FotoDoModal(saida + QStringLiteral("/caixa_mensagem.png"));
    Mensagem(QStringLiteral("Informação"), QStringLiteral("Confirma a exclusão do paciente 'Bruno Carvalho'?"),
             IconeMensagem::Pergunta, BotoesMensagem::SimNao, PadraoMensagem::Nao);

    auto* selecao = new TfrmNovoPaciente(*c.nav, c.nav);
    selecao->show();
    auto* inclusao = new TfrmCadastroPacientes(selecao);
    inclusao->PreparaInclusao(QStringLiteral("Fernanda Ribeiro"));
    inclusao->show();
    inclusao->move(300, 120);
    Foto(saida + QStringLiteral("/cadastro_paciente_inclusao.png"));
    delete inclusao;
    delete selecao;

    auto* alteracao = new TfrmCadastroPacientes(c.nav);
    alteracao->PreparaAlteracao(2);
    alteracao->show();
    alteracao->move(300, 120);
    Foto(saida + QStringLiteral("/cadastro_paciente_alteracao.png"));
    delete alteracao;

    FotoDoModal(saida + QStringLiteral("/exportar_png.png"));
    NomeArquivoParaGravar(c.nav, QStringLiteral("Exportar PNG"), QStringLiteral("Axial - OD"),
                          QStringLiteral("Imagem PNG (*.png)"));
    InstalaServicoMensagens(nullptr);
    c.nav->hide();

    for (const char* pagina : {"contexto_4", "contexto_6"}) {
        QTextBrowser navegador;
        navegador.setSource(QUrl::fromLocalFile(ajuda + QLatin1Char('/') + QLatin1String(pagina) + QStringLiteral(".html")));
        navegador.setWindowTitle(navegador.documentTitle());
        navegador.setGeometry(180, 30, 1000, 700);
        navegador.show();
        Foto(saida + QStringLiteral("/ajuda_%1.png").arg(QLatin1String(pagina)));
    }
    return 0;
}
