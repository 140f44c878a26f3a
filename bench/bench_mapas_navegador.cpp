// Map display from the navigator on a fresh installation: four stored 16-ring examinations
// of one eye (the data of the examples Central01..04), each with its 640 x 480 central image.
// Reports the click on "Axial" until the module has painted its window (the module draws and
// closes at once in batch mode), the small axial map (load, "Visualizar", shown), and the
// multi-map displays from the wizard's answer (given at once in batch mode: the latest four,
// the latest two) until the window's first paint: "MultiMapas" and "Diferencial".
//
// bench_mapas_navegador [repetições]   (default 20)
// Runs with QT_QPA_PLATFORM=offscreen when no display is set.

#include "bench/UBench.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UBJpeg.h"
#include "data/UDArquivos.h"
#include "data/UDExames.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "examfiles/UArquivosExame.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmExames.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Bench::Repete;

void Linha(const char* nome, double ms, double alvo)
{
    std::printf("  %-48s mediana %8.1f ms  (alvo < %.0f ms: %s)\n", nome, ms, alvo, ms < alvo ? "ok" : "ACIMA");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int vezes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    QTemporaryDir saida;
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    MensagensRoteiro mensagens;

    BancoTeste banco;
    if (!banco.Valido()) {
        std::fprintf(stderr, "instalação de teste não criada\n");
        return 1;
    }
    TBIniSettings ini;
    ini.LoadAll(3);
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    PathsZR.DirMapas = QStringLiteral(ZR_PASTA_MAPAS);
    InfosZR.AutoMiniMapa = false;

    TDMPrincipal& dm = banco.DM();
    TDadosMedico m;
    m.Nome = QStringLiteral("Dr. Bench");
    TDMedicos(dm).InsereMedico(m);
    const int medico = TDMedicos(dm).CodigoMedico(m.Nome);
    TDadosPaciente p;
    p.Nome = QStringLiteral("Paciente Bench");
    TDPacientes(dm).InserePaciente(p, QDate(2024, 1, 1), 0);
    const int paciente = TDPacientes(dm).IndicePacientes();
    QImage img(640, 480, QImage::Format_RGB32);
    img.fill(Qt::darkGray);
    QBuffer bmp;
    bmp.open(QIODevice::ReadWrite);
    img.save(&bmp, "BMP");
    bmp.seek(0);
    const QByteArray imagem = TBJpeg().ComprimeJpeg(bmp, 90);
    QDir().mkpath(PastaExamesPaciente(paciente));
    TDExames ex(dm);
    for (int i = 1; i <= 4; ++i) {
        ex.InsereExame(paciente, medico, QDate(2024, 2, i), QTime(9, 0, 0), QStringLiteral("OD"), 95,
                       QStringLiteral("T"), QString(), QString(), QString(), 16, QStringLiteral("2"));
        const int exame = ex.IndiceExames();
        dm.PCommitDataBase();
        for (const char* f : {"d.txt", "m.txt", "a.txt"})
            QFile::copy(PrefixoExemplo(QStringLiteral("Central0%1").arg(i)) + QLatin1String(f),
                        PrefixoExame(paciente, exame) + QLatin1String(f));
        QBuffer jpeg, lateral;
        jpeg.setData(imagem);
        jpeg.open(QIODevice::ReadOnly);
        lateral.open(QIODevice::ReadOnly);
        TDArquivos(dm).GravaImagens(exame, jpeg, lateral);
    }

    TfrmExames nav;
    nav.DefineTamanhoTela(QSize(1366, 768));
    nav.resize(1366, 768);
    nav.show();
    nav.lswPrincipal->setCurrentRow(0);
    nav.lswPrincipalDblClick();

    std::printf("Mapas do navegador (%d repetições)\n", vezes);
    auto mediana = [&](const std::function<void()>& f) { return Repete(vezes, [&](int) { f(); }).Mediana(); };
    Linha("clique -> mapa simples pintado (Axial)", mediana([&] { nav.AbreMapa(QStringLiteral("Axial")); }), 150);
    Linha("mini mapa (carga, Visualizar, exibição)", mediana([&] {
              nav.MostraDetalhes(0); // clears the small map: the next call draws again
              nav.MostraMiniMapa();
          }),
          50);
    Linha("assistente aceito -> quatro mapas (MultiMapas)",
          mediana([&] { nav.AbreMapas(QStringLiteral("MultiMapas")); }), 200);
    Linha("assistente aceito -> diferencial (Diferencial)",
          mediana([&] { nav.AbreMapas(QStringLiteral("Diferencial")); }), 200);
    if (!mensagens.Textos().isEmpty())
        std::printf("  mensagens: %s\n", qPrintable(mensagens.Textos().join(QStringLiteral(" | "))));
    TfrmAguarde::Fecha();
    return 0;
}
