// Program entry: the single-instance guard, the data module, the main menu and the
// measurement screen.

#include "app/UAplicacao.h"
#include "app/UfrmPrincipal.h"
#include "data/UDMPrincipal.h"
#include "modules/USondaModulo.h"
#include "platform/UAjuda.h"
#include "platform/UEncerramento.h"
#include "platform/UInstancia.h"
#include "platform/UMensagensQt.h"
#include "navigator/UfrmExames.h"
#include "reports/UfrmWizLaudo.h"
#include "topography/UFMedidas.h"

#include <QTimer>

int main(int argc, char* argv[])
{
    // A map module tried in a process of its own before the program trusts it.
    if (argc == 3 && qstrcmp(argv[1], SondaModulo::kOpcao) == 0) {
        QCoreApplication sonda(argc, argv);
        return SondaModulo::Executa(QString::fromLocal8Bit(argv[2]));
    }
    TAplicacao app(argc, argv);
    // The guard title looked for is the instrument program's, not this program's own title:
    // a running copy of this program does not stop a second one.
    if (MostraInstanciaAtiva(QStringLiteral("ZR300LX")))
        return 0;
    AnuncioInstancia anuncio(TAplicacao::applicationName());

    // ZR_MENSAGENS_AUTOMATICO=1 (batch runs, tests of the whole program): no message box on
    // screen; each message goes to the standard error output and takes its first button.
    MensagensQt mensagens;
    if (qEnvironmentVariable("ZR_MENSAGENS_AUTOMATICO") != QStringLiteral("1"))
        InstalaServicoMensagens(&mensagens);
    InstalaAjudaContextual(app);

    TDMPrincipal dados;
    RegistraLaudos(); // the navigator's "Laudo" opens the report wizard
    auto* menu = new TfrmPrincipal;
    // A session that ends (logout, shutdown, kill) closes the program as "Sair" does; the
    // data module then commits and disconnects on its way out.
    EncerramentoPorSinal encerramento;
    QObject::connect(&encerramento, &EncerramentoPorSinal::Pedido, &app, [] {
        QApplication::closeAllWindows();
        QCoreApplication::exit(0);
    });
    // The measurement screen lives for the whole program; "Lente" in the navigator shows it.
    TFMedidas medidas;
    LigaMedidasAoNavegador(medidas);
    QObject::connect(&anuncio, &AnuncioInstancia::MostrarPedido, menu, [menu] {
        menu->showNormal();
        menu->raise();
        menu->activateWindow();
    });
    menu->show();
    // The first activation runs the start-up; a display without a window manager may never
    // activate the window, so the program asks for it once the loop runs.
    QTimer::singleShot(0, menu, &TfrmPrincipal::ApplicationEventsActivate);
    const int resultado = app.exec();
    TfrmExames::Ligacoes().Medidas = nullptr;
    InstalaServicoMensagens(nullptr);
    return resultado;
}
