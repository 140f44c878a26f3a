// Capture of a new examination, through the loaders as the capture assistant calls the
// modules, in batch mode (ZR_MODULOS_AUTOMATICO=1), on a calibration made by the installer
// code in a temporary folder:
//   - one eye: "Digitalizar" of the capture module, then "ProcessaImagem" of the processing
//     module, each part timed (target for the eye with its first map: under 1 s);
//   - ortho-k: "Digitalizar" of the ortho-k capture module (four frames), then its
//     "ProcessaImagem" (four images), each part timed (target: under 1.5 s together).
//
//   bench_captura [repetitions]

#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "plugins/instalacao/UInstalaInstrumento.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

using namespace zrmod;

namespace {

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// The options and paths records the assistant hands the modules.
struct Registros {
    QByteArray calibracao;
    TInfosZR infos{};
    TPathsZR paths{};
};

// ---- Capture and processing ---------------------------------------------------------------

struct ExameNormal {
    double centroX = 0, centroY = 0, indice = 0;
    TMatrizAngAnel m{}, d{};
    TAneisMeridiano aneis{};
    TDadosPupila pupila{};
};

// One eye: capture, processing; the times of each part, ms.
bool CapturaProcessamentoOlho(Registros& r, double& captura, double& processamento)
{
    if (!LoadCapturaDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO)) || !LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)))
        return false;
    BufferMemoria central, lateral;
    auto e = std::make_unique<ExameNormal>();
    QElapsedTimer t;
    t.start();
    CapturaDLL.Digitalizar(nullptr, central.Stream(), lateral.Stream(), 1, &r.infos, "Digitalizando Imagem do Olho");
    captura = t.nsecsElapsed() / 1e6;
    central.Rebobina();
    t.restart();
    const int32_t ok = ProcDLL.ProcessaImagem(nullptr, central.Stream(), &e->centroX, &e->centroY, &e->m, &e->aneis,
                                              &e->d, &e->pupila, &e->indice, &r.infos, &r.paths);
    processamento = t.nsecsElapsed() / 1e6;
    FreeProcDLL();
    FreeCapturaDLL();
    return ok == 1;
}

// Ortho-k: four frames captured, four images processed; the times of each part, ms.
bool CapturaProcessamentoOrto(Registros& r, double& captura, double& processamento)
{
    if (!LoadCapturaOrtoDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO_ORTO)) ||
        !LoadProcOrtoDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO_ORTO)))
        return false;
    QuatroBuffersModulo centrais, laterais;
    BufferMemoria posicoes, dioptrias, valores;
    double indices[4] = {};
    QElapsedTimer t;
    t.start();
    CapturaOrtoDLL.Digitalizar(nullptr, centrais.Buffers(), laterais.Buffers(), 1, &r.infos,
                               "Digitalizando Imagem do Olho");
    captura = t.nsecsElapsed() / 1e6;
    t.restart();
    const int32_t ok = ProcOrtoDLL.ProcessaImagem(nullptr, centrais.Buffers(), posicoes.Stream(), dioptrias.Stream(),
                                                  valores.Stream(), &indices, &r.infos, &r.paths);
    processamento = t.nsecsElapsed() / 1e6;
    FreeProcOrtoDLL();
    FreeCapturaOrtoDLL();
    return ok == 1;
}

bool RelataCapturaProcessamento(Registros& r, int n)
{
    const struct {
        const char* nome;
        std::function<bool(Registros&, double&, double&)> medida;
        const char* alvo;
    } casos[] = {
        {"um olho", CapturaProcessamentoOlho, "< 1 s com o primeiro mapa"},
        {"orto-k (4 imagens)", CapturaProcessamentoOrto, "< 1500 ms"},
    };
    for (const auto& c : casos) {
        std::vector<double> capturas, processamentos, totais;
        for (int i = 0; i < n; ++i) {
            double a = 0, b = 0;
            if (!c.medida(r, a, b)) {
                std::fprintf(stderr, "%s: a captura ou o processamento falhou\n", c.nome);
                return false;
            }
            capturas.push_back(a);
            processamentos.push_back(b);
            totais.push_back(a + b);
        }
        std::printf("%-20s captura %.0f ms + processamento %.0f ms = %.0f ms (mediana de %d; alvo %s)\n", c.nome,
                    Mediana(capturas), Mediana(processamentos), Mediana(totais), n, c.alvo);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    qputenv("ZR_SIMULADOR_CASO", "Orto02");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    // The calibration of a fresh installation (reused from the build's cache when it holds it).
    QTemporaryDir pasta;
    InstalaInstrumento::Opcoes o;
    o.moduloCaptura = QStringLiteral(ZR_MODULO_DIGITALIZACAO);
    o.moduloProcessamento = QStringLiteral(ZR_MODULO_PROCESSAMENTO);
    o.pastaCalibracao = pasta.filePath(QStringLiteral("Calibração"));
    o.pastaExemplos = pasta.filePath(QStringLiteral("Exemplos"));
    o.pastaCache = QStringLiteral(ZR_PASTA_CACHE_INSTRUMENTO);
    try {
        InstalaInstrumento::Instala(o);
    } catch (...) {
        std::fprintf(stderr, "a calibração falhou\n");
        return 1;
    }
    Registros r;
    r.calibracao = ParaCp1252(o.pastaCalibracao + QLatin1Char('/'));
    r.paths.Calibracao = r.calibracao.constData();
    r.infos.FatorCorrecao = 0.02;
    r.infos.NumAneis = 16;

    if (!RelataCapturaProcessamento(r, n))
        return 1;
    return 0;
}
