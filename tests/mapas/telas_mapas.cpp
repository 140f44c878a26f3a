// Pictures of the map window for the documentation (not a test): the maps of the examples
// named on the command line, read from the installation's examples folder. Run under a
// display of 1366 x 768 with a window manager:
//   telas_mapas <pasta dos exemplos> <pasta de saída> Central01:Tangencial Irregular01:Axial ...

#include "examfiles/UBMapOperation.h"
#include "plugins/mapas/UfrmMapa.h"

#include <QApplication>
#include <QScreen>
#include <QThread>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString exemplos = QString::fromLocal8Bit(argv[1]);
    const QString saida = QString::fromLocal8Bit(argv[2]);
    for (int a = 3; a < argc; ++a) {
        const QStringList partes = QString::fromLocal8Bit(argv[a]).split(QLatin1Char(':'));
        const QString nome = partes.value(0);
        const bool tangencial = partes.value(1) == QLatin1String("Tangencial");
        TBMapOperation leitor;
        if (!leitor.CarregaExame(exemplos + QLatin1Char('/') + nome))
            return 1;
        const MapaCurvatura::Tipo tipo = tangencial ? MapaCurvatura::Tangencial : MapaCurvatura::Axial;
        auto mapa = std::make_unique<MapaCurvatura>(tipo, &leitor.Posicoes(), &leitor.AneisPorMeridiano(),
                                                    &leitor.Dioptrias(), MapaCurvatura::kFatorPadrao);
        DadosJanelaMapa d;
        d.cabecalho = QStringList{nome};
        TfrmMapa janela(tipo, std::move(mapa), d, OpcoesMapa(), nullptr);
        janela.setGeometry(150, 20, 1060, 720);
        janela.show();
        for (int i = 0; i < 40; ++i) {
            QApplication::processEvents();
            QThread::msleep(20);
        }
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            saida + QStringLiteral("/mapa_%1_%2.png").arg(nome, partes.value(1).toLower()));
    }
    return 0;
}
