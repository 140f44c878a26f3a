// Lens fitting and aberrometry windows: aberrometry from the call to the first paint (checks,
// elevation, ray trace, Zernike fit, maps, PSF, letter chart; target under 300 ms), the lens
// window's first paint (target under 200 ms) and its redraw after a lens change (target under
// 30 ms), on the simulator's keratoconus and irregular model corneas.
//
//   bench_lente_aberrometria [repetitions]

#include "plugins/aberrometria/UfrmAberrometria.h"
#include "plugins/instrumento/UCasosModelo.h"
#include "plugins/lentes/UfrmLente.h"
#include "tests/support/UExameSintetico.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

ExameSintetico Exame(const QString& nome)
{
    Instrumento::CasoModelo caso;
    Instrumento::CasoPorNome(nome, caso);
    const Instrumento::ModeloCornea c = caso.cornea;
    return ExameSintetico([&](double r, double eixo) {
        const double a = eixo * M_PI / 180.0;
        return c.PotenciaAxial(r * std::cos(a), r * std::sin(a));
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repeticoes = argc > 1 ? std::max(3, atoi(argv[1])) : 20;
    QImage central(640, 480, QImage::Format_RGB32);
    central.fill(QColor(80, 60, 40));
    for (const QString& nome : {QStringLiteral("Central02"), QStringLiteral("Irregular01")}) {
        const ExameSintetico ex = Exame(nome);
        std::vector<double> aberro, lente, redesenho;
        for (int i = 0; i < repeticoes; ++i) {
            QElapsedTimer t;
            t.start();
            {
                DadosAberrometria d;
                d.clinica = {QStringLiteral("Clínica"), QStringLiteral("Rua"), QStringLiteral("Cidade"), QStringLiteral("Tel")};
                d.cabecalho = {QStringLiteral("Paciente")};
                TfrmAberrometria frm(ConfereExame(&ex.m, &ex.d, &ex.aneis, ExameSintetico::kFator), d);
                frm.show();
                frm.ImagemConteudo();
                aberro.push_back(t.nsecsElapsed() / 1e6);
            }
            t.restart();
            TfrmLente frm(ConfereExame(&ex.m, &ex.d, &ex.aneis, ExameSintetico::kFator), central, ex.centroX,
                          ex.centroY, {QStringLiteral("Paciente")}, {});
            frm.show();
            frm.ImagemConteudo();
            lente.push_back(t.nsecsElapsed() / 1e6);
            ParametrosLente p = frm.Lente();
            p.raioBase = std::round((p.raioBase + (i % 2 ? 0.05 : -0.05)) / 0.05) * 0.05;
            t.restart();
            frm.DefineLente(p);
            frm.ImagemConteudo();
            redesenho.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("%s: aberrometria_primeira_pintura_ms=%.1f (meta 300) lente_primeira_pintura_ms=%.1f (meta 200) "
                    "lente_redesenho_ms=%.1f (meta 30)\n",
                    qPrintable(nome), Mediana(aberro), Mediana(lente), Mediana(redesenho));
    }
    return 0;
}
