// Program entry: the single-instance guard, the data module and the main menu.

#include "app/UAplicacao.h"
#include "app/UfrmPrincipal.h"
#include "data/UDMPrincipal.h"
#include "platform/UAjuda.h"
#include "platform/UInstancia.h"
#include "platform/UMensagensQt.h"
#include "reports/UfrmWizLaudo.h"

#include <QTimer>

int main(int argc, char* argv[])
{
    TAplicacao app(argc, argv);
    // The guard title looked for is the instrument program's, not this program's own title:
    // a running copy of this program does not stop a second one.
    if (MostraInstanciaAtiva(QStringLiteral("ZR300LX")))
        return 0;
    AnuncioInstancia anuncio(TAplicacao::applicationName());

    MensagensQt mensagens;
    InstalaServicoMensagens(&mensagens);
    InstalaAjudaContextual(app);

    TDMPrincipal dados;
    RegistraLaudos(); // the navigator's "Laudo" opens the report wizard
    auto* menu = new TfrmPrincipal;
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
    InstalaServicoMensagens(nullptr);
    return resultado;
}
