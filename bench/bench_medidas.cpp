// Measurement screen: time to show it on a stored examination (data files, the two images
// from the database decoded, keratometry of the axial map, lens defaults, reticle; target
// under 300 ms) and of one rubber-band redraw on a mouse move over each image (target
// under 10 ms), on a keratoconus examination captured and stored as the capture form does.
//
//   bench_medidas [repetitions]

#include "bench/UBench.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"
#include "tests/support/UExameCapturado.h"
#include "topography/UFMedidas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

using Bench::Mediana;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repeticoes = argc > 1 ? std::max(3, atoi(argv[1])) : 20;
    BancoTeste banco;
    if (!banco.Valido()) {
        std::fprintf(stderr, "instalação de teste não criada\n");
        return 1;
    }
    TBIniSettings ini;
    ini.LoadAll(3);
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    TDadosMedico m;
    m.Nome = QStringLiteral("Dra. Helena");
    TDMedicos(banco.DM()).InsereMedico(m);
    TDadosPaciente p;
    p.Nome = QStringLiteral("Paciente");
    TDPacientes(banco.DM()).InserePaciente(p, QDate(2024, 1, 2), 0);
    const int paciente = TDPacientes(banco.DM()).IndicePacientes();
    const ExameCapturado e = GravaExameCapturado(banco.DM(), paciente, TDMedicos(banco.DM()).CodigoMedico(m.Nome),
                                                 QStringLiteral("Central02"), QStringLiteral("OD"));
    if (!e.Valido) {
        std::fprintf(stderr, "exame não gravado: %s\n", qPrintable(e.Erro));
        return 1;
    }
    MensagensRoteiro msgs;
    TExameMedidas x;
    x.Codigo = e.Codigo;
    x.CodPaciente = paciente;
    x.Olho = e.Olho;
    x.Data = QStringLiteral("14/03/2025");
    x.NomePaciente = p.Nome;

    TFMedidas form;
    form.show();
    QApplication::processEvents();
    std::vector<double> mostra, central, lateral;
    QElapsedTimer t;
    for (int i = 0; i < repeticoes; ++i) {
        t.start();
        form.FormShow(x);
        mostra.push_back(t.nsecsElapsed() / 1e6);
    }
    form.edtCordaIris->setText(QStringLiteral("11.5"));
    form.ImgCentralPressionado(QPoint(100, 240), Qt::LeftButton);
    form.ImgLateralPressionado(QPoint(440, 240), Qt::LeftButton);
    for (int i = 0; i < repeticoes * 10; ++i) {
        const QPoint ponto(200 + i % 300, 100 + i % 200);
        t.start();
        form.ImgCentralMouseMove(ponto);
        form.ImgCentral->repaint();
        central.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        form.ImgLateralMouseMove(ponto);
        form.ImgLateral->repaint();
        lateral.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("mostrar a tela (arquivos, imagens, ceratometria): mediana %.1f ms, máximo %.1f ms (meta < 300 ms)\n",
                Mediana(mostra), *std::max_element(mostra.begin(), mostra.end()));
    std::printf("elástico na imagem central: mediana %.2f ms, máximo %.2f ms (meta < 10 ms)\n", Mediana(central),
                *std::max_element(central.begin(), central.end()));
    std::printf("elástico na imagem lateral: mediana %.2f ms, máximo %.2f ms (meta < 10 ms)\n", Mediana(lateral),
                *std::max_element(lateral.begin(), lateral.end()));
    return msgs.Registros().isEmpty() ? 0 : 3;
}
