// Capture of a new examination, through the loaders as the capture assistant calls the
// modules, in batch mode (ZR_MODULOS_AUTOMATICO=1), on a calibration made by the installer
// code in a temporary folder:
//   - one eye: "Digitalizar" of the capture module, then "ProcessaImagem" of the processing
//     module, each part timed (target for the eye with its first map: under 1 s);
//   - ortho-k: "Digitalizar" of the ortho-k capture module (four frames), then its
//     "ProcessaImagem" (four images), each part timed (target: under 1.5 s together);
//   - the first painted map of one eye (the Axial module in batch mode);
//   - storage: one normal examination (row, three files, two JPEG images, patient update;
//     target under 150 ms), the same with the navigator's reload on a clinic-sized database
//     (target under 1 s), and the four examinations of an ortho-k capture without the pauses
//     between them (target under 300 ms).
//
//   bench_captura [repetitions [patients]]   (defaults 5 and 100000)

#include "bench/UBench.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UBJpeg.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"
#include "navigator/UGravacaoExame.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmExames.h"
#include "platform/UMensagens.h"
#include "plugins/instalacao/UInstalaInstrumento.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QApplication>
#include <QBuffer>
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

using Bench::Mediana;
using Bench::Medida;
using Bench::Repete;

// The options and paths records the assistant hands the modules.
struct Registros {
    QByteArray calibracao;
    zrmod::TInfosZR infos{};
    zrmod::TPathsZR paths{};
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

// ---- Map and storage ----------------------------------------------------------------------

namespace armazenamento {

using namespace CapturaExame;

void Linha(const char* nome, double ms, double alvo)
{
    if (alvo > 0)
        std::printf("  %-52s mediana %8.1f ms  (alvo < %.0f ms: %s)\n", nome, ms, alvo, ms < alvo ? "ok" : "ACIMA");
    else
        std::printf("  %-52s mediana %8.1f ms\n", nome, ms);
}

void Executa(TDMPrincipal& dm, const QString& sql)
{
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, sql);
}

// --- one eye: capture, processing, map ---------------------------------------------------------

struct Olho {
    QByteArray central, lateral;
    std::unique_ptr<ResultadoNormal> r = std::make_unique<ResultadoNormal>();
};

bool Captura(Olho& o)
{
    InfosZRModulo infos(InfosZR);
    TextoModulo legenda(QStringLiteral("Digitalizando Imagem do Olho"));
    if (!LoadCapturaDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO)) || !CapturaDLL.Digitalizar)
        return false;
    BufferMemoria c, l;
    CapturaDLL.Digitalizar(nullptr, c.Stream(), l.Stream(), kOlhoDireito, infos.Registro(), legenda.c_str());
    FreeCapturaDLL();
    o.central = c.Bytes();
    o.lateral = l.Bytes();
    return !o.central.isEmpty();
}

bool Processa(Olho& o)
{
    InfosZRModulo infos(InfosZR);
    PathsZRModulo paths(PathsZR);
    if (!LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)) || !ProcDLL.ProcessaImagem)
        return false;
    BufferMemoria c(o.central);
    ResultadoNormal& r = *o.r;
    const int32_t rc = ProcDLL.ProcessaImagem(nullptr, c.Stream(), &r.centroX, &r.centroY, &r.posicoes, &r.aneis,
                                              &r.dioptrias, &r.pupila, &r.indice, infos.Registro(), paths.Registro());
    FreeProcDLL();
    return rc == 1 && ConfereResultado(r, InfosZR.NumAneis);
}

bool Mapa(QWidget* janela, Olho& o)
{
    InfosZRModulo infos(InfosZR);
    if (!LoadMapaDLL(QStringLiteral(ZR_MAPA_AXIAL)) || !MapaDLL.ProcessaMapa)
        return false;
    DadosCabecalho d{QStringLiteral("Paciente"), 1, QString(), kOlhoDireito, QDateTime::currentDateTime(),
                     QStringLiteral("Dr. A"), PathsZR.BancoDados};
    BufferMemoria c(o.central), l(o.lateral), cab;
    cab.DefineLinhas(CabecalhoExame(d, o.r->indice));
    const ResultadoNormal& r = *o.r;
    MapaDLL.ProcessaMapa(janela, c.Stream(), l.Stream(), r.centroX, r.centroY, cab.Stream(), &r.posicoes, &r.aneis,
                         &r.dioptrias, &r.pupila, nullptr, infos.Registro());
    FreeMapaDLL();
    return true;
}

// --- ortho-k results of four maps, as a processing module writes them -------------------------

std::unique_ptr<ResultadoOrto> ResultadosOrto()
{
    QStringList pos, diop, val;
    for (int k = 0; k < 4; ++k)
        for (int m = 0; m < 360; ++m) {
            QString p, d;
            for (int j = 0; j <= 16; ++j) {
                p += FormataNumero(QStringLiteral("00.00"), 10.0 * j + k) + QLatin1Char(' ');
                d += FormataNumero(QStringLiteral("00.00"), 42.0 + k + m / 1000.0) + QLatin1Char(' ');
            }
            pos << p;
            diop << d;
        }
    for (int k = 0; k < 4; ++k)
        val << QString::number(520.5 + k) << QString::number(15.25 + k) << QString::number(7.8 + k / 100.0)
            << QStringLiteral("0.4");
    auto r = std::make_unique<ResultadoOrto>();
    const double indices[4] = {80, 81, 82, 83};
    LeResultadoOrto(pos, diop, val, indices, *r);
    return r;
}


bool RelataMapaGravacao(int n, int numPacientes)
{
    InstalacaoTeste inst;
    if (!inst.Valida()) {
        std::fprintf(stderr, "instalação de teste falhou\n");
        return false;
    }
    TBIniSettings ini;
    ini.LoadAll(3);
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    TDMPrincipal dm;
    if (!dm.PSetDataBaseName(PathsZR.BancoDados + QStringLiteral("/DATABASE.GDB"))) {
        std::fprintf(stderr, "sem conexão com o banco\n");
        return false;
    }
    MensagensRoteiro msgs;

    std::printf("\nmapa e gravação:\n");
    QWidget janela;
    Olho olho;
    Medida captura = Repete(n, [&](int) { Captura(olho); });
    Medida processamento = Repete(n, [&](int) { Processa(olho); });
    Medida mapa = Repete(n, [&](int) { Mapa(&janela, olho); });
    const double c = captura.Mediana(), p = processamento.Mediana(), m = mapa.Mediana();
    Linha("primeiro mapa pintado (Axial)", m, 0);
    Linha("um olho: captura + processamento + mapa", c + p + m, 1000);

    // Storage on the fresh database.
    TDadosMedico medico;
    medico.Nome = QStringLiteral("Dr. A");
    TDMedicos(dm).InsereMedico(medico);
    const int codMedico = TDMedicos(dm).CodigoMedico(medico.Nome);
    TDadosPaciente paciente;
    paciente.Nome = QStringLiteral("Paciente Gravação");
    TDPacientes(dm).InserePaciente(paciente, QDate(2024, 1, 1), 0);
    const int codPaciente = TDPacientes(dm).IndicePacientes();
    dm.PCommitDataBase();
    const GravacaoExame::Opcoes opcoes = GravacaoExame::Opcoes::DaConfiguracao();
    const GravacaoExame::Exame exame{codPaciente, codMedico, kOlhoDireito, {}, {}};
    std::printf("\ngravação:\n");
    Medida grava = Repete(10, [&](int) {
        GravacaoExame::GravaExame(dm, exame, *olho.r, olho.central, olho.lateral, opcoes);
    });
    Linha("exame normal (linha, 3 arquivos, 2 JPEG, paciente)", grava.Mediana(), 150);
    GravacaoExame::Opcoes semImagens = opcoes;
    semImagens.imagemCentral = semImagens.imagemLateral = false;
    Medida gravaSem = Repete(10, [&](int) {
        GravacaoExame::GravaExame(dm, exame, *olho.r, olho.central, olho.lateral, semImagens);
    });
    Linha("  dos quais sem as imagens", gravaSem.Mediana(), 0);
    qsizetype bytesJpeg = 0;
    Medida jpeg = Repete(10, [&](int) {
        QBuffer b;
        b.setData(olho.central);
        b.open(QIODevice::ReadOnly);
        bytesJpeg = TBJpeg().ComprimeJpeg(b, opcoes.qualidade).size();
    });
    Linha("  uma imagem em JPEG", jpeg.Mediana(), 0);
    std::printf("  (JPEG da imagem central: %lld bytes)\n", static_cast<long long>(bytesJpeg));
    auto orto = ResultadosOrto();
    Medida gravaOrto = Repete(n, [&](int) { GravacaoExame::GravaExamesOrto(dm, exame, *orto, opcoes, {}); });
    Linha("quatro exames orto (sem as pausas)", gravaOrto.Mediana(), 300);

    // The same storage followed by the navigator's reload on a clinic-sized database.
    std::printf("\ncarga: %d pacientes\n", numPacientes);
    Executa(dm, QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= %1) DO BEGIN "
                               "INSERT INTO PACIENTES (CODIGO, CODMEDICO, NOME, RG, CONVENIO, DTCADASTRO, ULTIMOEXAME, "
                               "TOTALEXAMES) VALUES (:i + 1000, 1, 'Paciente ' || LPAD(MOD(:i * 7919, 1000003), 7, '0'), "
                               "LPAD(:i, 9, '0'), 'Unimed', DATE '2020-01-01', '', 0); i = i + 1; END END")
                    .arg(numPacientes));
    Executa(dm, QStringLiteral("SET GENERATOR CODIGO_PACIENTES TO %1").arg(numPacientes + 1000));
    dm.PCommitDataBase();
    InfosZR.MedicoAtivo = QStringLiteral("*** Todos");
    InfosZR.PacienteAtivo.clear();
    auto nav = std::make_unique<TfrmExames>();
    nav->DefineTamanhoTela(QSize(1366, 768));
    nav->resize(1366, 768);
    nav->show();
    QCoreApplication::processEvents();
    Medida comNavegador = Repete(n, [&](int) {
        GravacaoExame::GravaExame(dm, exame, *olho.r, olho.central, olho.lateral, opcoes);
        nav->CarregaMedicos();
        nav->MostraPacienteCodigo(codPaciente, medico.Nome);
        QCoreApplication::processEvents();
    });
    Linha("exame normal + recarga do navegador", comNavegador.Mediana(), 1000);

    nav.reset();
    TfrmAguarde::Fecha();
    return true;
}

} // namespace armazenamento

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
    const int numPacientes = argc > 2 ? std::max(1, atoi(argv[2])) : 100000;
    if (!armazenamento::RelataMapaGravacao(n, numPacientes))
        return 1;
    return 0;
}
