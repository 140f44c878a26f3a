// Map modules: time from the "ProcessaMapa" call to the painted map window (batch mode, the
// window built, laid out and painted once, then closed) and of "Visualizar" (the small map
// bitmap), through the loaders, on a 16-ring examination of a keratoconic cornea.
//
//   bench_mapas <folder of Axial.so and Tangencial.so> [repetitions]

#include "bench/UBench.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace zrmod;

namespace {

using Bench::Mediana;

struct Exame {
    TMatrizAngAnel m{}, d{};
    TAneisMeridiano aneis{};
    TDadosPupila pupila{};
};

void Ceratocone(Exame& e)
{
    for (int k = 1; k <= 360; ++k) {
        const double a = (180.0 - k) * M_PI / 180.0;
        e.aneis[k - 1] = 16;
        for (int j = 0; j <= 16; ++j) {
            const double r = std::max(j, 1) * 0.3;
            const double u = r * std::cos(a), v = r * std::sin(a) + 1.0;
            e.m[k - 1][j] = j * 0.3 / 0.02;
            e.d[k - 1][j] = 337.5 / std::sqrt(7.5 * 7.5 + 0.3 * r * r) +
                            6.0 * std::exp(-(u * u + v * v) / 1.62);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_mapas <pasta dos mapas> [repetições]\n");
        return 2;
    }
    const QString pasta = QString::fromLocal8Bit(argv[1]);
    const int n = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
    Exame e;
    Ceratocone(e);
    TInfosZR infos{};
    infos.FatorCorrecao = 0.02;
    infos.EscalaISO = 1;
    infos.ExibeGrade = 1;
    infos.ExibeCeratPontual = 1;
    infos.CorCeratPontual = "Preta";
    BufferMemoria cab;
    cab.DefineLinhas({"Exemplo", "00001", "xx", "Olho Direito", "01/01/01", "00:00:00", "Dr", "9999", "100"});

    for (const char* nome : {"Axial", "Tangencial"}) {
        if (!LoadMapaDLL(ArquivoMapa(pasta, QString::fromLatin1(nome)))) {
            std::fprintf(stderr, "módulo %s não carregado\n", nome);
            return 1;
        }
        std::vector<double> tempos;
        for (int i = 0; i <= n; ++i) {
            QElapsedTimer t;
            t.start();
            MapaDLL.ProcessaMapa(nullptr, nullptr, nullptr, 320, 240, cab.Stream(), &e.m, &e.aneis,
                                 &e.d, &e.pupila, nullptr, &infos);
            if (i > 0) // the first call also loads fonts and styles
                tempos.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("ProcessaMapa %-10s mediana %.1f ms  (máx %.1f ms, %d chamadas; alvo < 100 ms)\n",
                    nome, Mediana(tempos), *std::max_element(tempos.begin(), tempos.end()), n);
        if (std::string(nome) == "Axial") {
            std::vector<double> vt;
            for (int i = 0; i <= n; ++i) {
                BufferMemoria saida;
                char reservado[64] = {};
                void* img = nullptr;
                QElapsedTimer t;
                t.start();
                MapaDLL.Visualizar(nullptr, saida.Stream(), nullptr, 0, 320, 240, &e.m, &e.aneis,
                                   &e.d, &e.pupila, reservado, 0, &infos, &img);
                if (i > 0)
                    vt.push_back(t.nsecsElapsed() / 1e6);
                if (saida.Vazio()) {
                    std::fprintf(stderr, "Visualizar não desenhou\n");
                    return 1;
                }
            }
            std::printf("Visualizar   %-10s mediana %.1f ms  (máx %.1f ms, %d chamadas; alvo < 30 ms)\n",
                        nome, Mediana(vt), *std::max_element(vt.begin(), vt.end()), n);
        }
        FreeMapaDLL();
    }
    return 0;
}
