// Export benchmark: one examination to JSON and CSV (load of its data files, grid,
// keratometry and both files written; target under 20 ms), and the map, the camera image
// and a report PDF built and sent by C-STORE to a local archive (Orthanc started here on
// 127.0.0.1; target under 1 s).
//
// bench_exportacao [repetições]   (default 20)

#include "bench/UBench.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "export/UEnvioDicom.h"
#include "export/UExportaDicom.h"
#include "export/UExportaNumerica.h"
#include "tests/export/UOrthancTeste.h"
#include "tests/support/UExameSintetico.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

using Bench::Mediana;

void Linha(const char* nome, const std::vector<double>& ms, double alvo)
{
    const double med = Mediana(ms);
    std::printf("  %-44s mediana %8.1f ms  máximo %8.1f ms  (alvo < %.0f ms: %s)\n", nome, med,
                *std::max_element(ms.begin(), ms.end()), alvo, med < alvo ? "ok" : "ACIMA");
}

double TempoCpu()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int repeticoes = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTemporaryDir pasta;

    const auto e = std::make_unique<ExameSintetico>(ExameSintetico::Torica(42, 45, 90));
    const QString prefixo = pasta.filePath(QStringLiteral("1"));
    GravaArquivosExame(prefixo, ConteudoMatriz(e->d, 16), ConteudoMatriz(e->m, 16),
                       ConteudoArquivoA(e->aneis, e->centroX, e->centroY, e->pupila));
    CabecalhoExportacao c;
    c.codigo = 1;
    c.olho = QStringLiteral("OD");
    c.data = QDate(2026, 3, 5);
    c.hora = QTime(9, 0, 0);
    c.aneis = 16;
    c.fatorCorrecao = ExameSintetico::kFator;

    // Wall time and the process's CPU time: on a busy machine the first waits for the CPU.
    std::vector<double> json, jsonCpu;
    for (int i = 0; i < repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = TempoCpu();
        TBMapOperation leitor;
        leitor.CarregaExame(prefixo);
        GravaExportacaoNumerica(pasta.path(), MontaExportacao(c, leitor), false);
        json.push_back(t.nsecsElapsed() / 1e6);
        jsonCpu.push_back(TempoCpu() - cpu0);
    }

    OrthancTeste orthanc(QStringLiteral("ARQUIVO"), QStringLiteral("BENCH"));
    if (!orthanc.Pronto()) {
        std::fprintf(stderr, "Orthanc: %s\n", qPrintable(orthanc.Erro()));
        return 1;
    }
    ConfiguracaoPacs pacs;
    pacs.aeLocal = QStringLiteral("BENCH");
    pacs.aeArquivo = QStringLiteral("ARQUIVO");
    pacs.host = QStringLiteral("127.0.0.1");
    pacs.porta = orthanc.PortaDicom();

    QImage mapa(200, 200, QImage::Format_RGB32);
    mapa.fill(Qt::white);
    QImage camera(640, 480, QImage::Format_Grayscale8);
    camera.fill(90);
    QByteArray jpeg;
    QBuffer b(&jpeg);
    b.open(QIODevice::WriteOnly);
    camera.save(&b, "JPG", 85);
    QByteArray pdf("%PDF-1.4\n");
    pdf.append(QByteArray(60000, 'x'));
    std::vector<double> envio;
    for (int i = 0; i < repeticoes; ++i) {
        DadosDicom d;
        d.raizUid = QStringLiteral("bench");
        d.codPaciente = 1;
        d.nome = QStringLiteral("Paciente Benchmark");
        d.codExame = 100 + i;
        d.olho = QStringLiteral("OD");
        d.data = QDate(2026, 3, 5);
        QElapsedTimer t;
        t.start();
        EnviaObjetosPacs(pacs, {ObjetoMapa(d, mapa), ObjetoFoto(d, jpeg), ObjetoLaudo(d, pdf, QStringLiteral("Laudo"))});
        envio.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("Exportação de um exame (%d repetições)\n", repeticoes);
    Linha("números em JSON e CSV", json, 20);
    Linha("números em JSON e CSV (tempo de CPU)", jsonCpu, 20);
    Linha("mapa, imagem e laudo ao arquivo de imagens", envio, 1000);
    return 0;
}
