// The module loaders against real shared libraries (tests/modules): which entries make a load
// succeed, what stays loaded after a failure and after a release, the interface version, the
// information loader, and every entry called through its pointer type with its arguments in
// order.

#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"
#include "platform/UBVersionInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {
QString Modulo(const QString& nome)
{
    return QStringLiteral(ZR_PASTA_MODULOS_TESTE "/") + nome + QStringLiteral(".so");
}

// Whether the file is mapped into this process now (read from the kernel's own list, not
// from the loader's bookkeeping).
bool Mapeado(const QString& arquivo)
{
    const QString alvo = QFileInfo(arquivo).canonicalFilePath();
    if (alvo.isEmpty())
        return false;
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray texto = maps.readAll();
    for (const QByteArray& linha : texto.split('\n'))
        if (linha.endsWith(alvo.toUtf8()) && linha.contains(" /"))
            return true;
    return false;
}

// Every name a module may export.
const QStringList& EntradasDaInterface()
{
    static const QStringList nomes = {
        "VersaoABI", "InfoMapa", "Info", "ProcessaMapa", "ProcessaMapaOrto", "Visualizar",
        "Wizard", "ProcessaMapas", "ProcessaImagem", "ProcessaEsfera", "Digitalizar",
        "ProcessaLente", "ProcessaAberrometria", "InfoBackup", "CriarBackup",
        "RestaurarBackup"};
    return nomes;
}

struct Carregador {
    std::function<bool(const QString&)> carrega;
    std::function<void()> libera;
};

const QMap<QString, Carregador>& Carregadores()
{
    static const QMap<QString, Carregador> c = {
        {"mapa", {LoadMapaDLL, FreeMapaDLL}},
        {"mapas", {LoadMapasDLL, FreeMapasDLL}},
        {"proc", {LoadProcDLL, FreeProcDLL}},
        {"procOrto", {LoadProcOrtoDLL, FreeProcOrtoDLL}},
        {"captura", {LoadCapturaDLL, FreeCapturaDLL}},
        {"capturaOrto", {LoadCapturaOrtoDLL, FreeCapturaOrtoDLL}},
        {"lc", {LoadLCDLL, FreeLCDLL}},
        // No release of its own; the test lets the library go to keep the process clean.
        {"aberrometria", {LoadAberrometriaDLL, [] { AberrometriaDLL.biblioteca.Libera(); }}},
        {"backup", {LoadBackupDLL, FreeBackupDLL}},
        {"info1", {[](const QString& a) { return LoadInfoDLL(a, 1); }, FreeInfoDLL}},
        {"info2", {[](const QString& a) { return LoadInfoDLL(a, 2); }, FreeInfoDLL}},
        {"info3", {[](const QString& a) { return LoadInfoDLL(a, 3); }, FreeInfoDLL}},
        {"info4", {[](const QString& a) { return LoadInfoDLL(a, 4); }, FreeInfoDLL}},
    };
    return c;
}

// Grids with a recognisable value in the places the test modules report: meridian 91,
// ring 5, and the last meridian's ring count.
struct Exame {
    TMatrizAngAnel posicoes{};
    TAneisMeridiano aneis{};
    TMatrizAngAnel dioptrias{};
    TDadosPupila pupila{};
    Exame(double pos, int32_t aneisUltimo, double diop, int32_t pupila0, int32_t pupila3)
    {
        posicoes[90][5] = pos;
        aneis[359] = aneisUltimo;
        dioptrias[90][5] = diop;
        pupila[0] = pupila0;
        pupila[1] = pupila0 + 1;
        pupila[3] = pupila3;
    }
};

// A grid on the heap (two of them do not fit comfortably on the stack of a test).
struct Grade {
    TMatrizAngAnel m{};
};

TInfosZR InfosDeTeste()
{
    TInfosZR i;
    i.Modelo = 3;
    i.TipoCone = QStringLiteral("4");
    i.NumAneis = 16;
    i.FatorCorrecao = 0.0213;
    i.Z0 = 1.25;
    i.ClinicaNome = QStringLiteral("Clínica São João");
    i.MedicoAtivo = QStringLiteral("Dra. Inês");
    return i;
}
} // namespace

class TesteCarregadores : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void todosOsModulosDoProjeto();
    void carrega_data();
    void carrega();
    void mapaSoComProcessaMapaOrto();
    void carregarDeNovoNaoLiberaAnterior();
    void falhaDeCarregamentoNaoDeixaEntradas();
    void liberarDuasVezesNaoTiraCargaAlheia();
    void versaoDaInterface_data();
    void versaoDaInterface();
    void infoMapa_data();
    void infoMapa();
    void infoModulo_data();
    void infoModulo();
    void processaMapa();
    void visualizar();
    void wizardEProcessaMapas();
    void processamento();
    void processamentoOrto();
    void captura();
    void capturaOrto();
    void lenteEAberrometria();
    void backup();
    void raizDrive_data();
    void raizDrive();
    void nomesDeArquivo_data();
    void nomesDeArquivo();

private:
    QTemporaryDir m_pasta;
    QString m_naoBiblioteca;
};

void TesteCarregadores::initTestCase()
{
    QVERIFY(m_pasta.isValid());
    m_naoBiblioteca = m_pasta.filePath(QStringLiteral("Texto.so"));
    QFile f(m_naoBiblioteca);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("isto não é uma biblioteca\r\n");
    f.close();
    QVERIFY(QFileInfo::exists(Modulo(QStringLiteral("TesteMapa"))));
}

// For each loader and module: the loader's result, and whether the library is held after it
// (a library that loaded but lacks an entry stays loaded until released).
void TesteCarregadores::carrega_data()
{
    QTest::addColumn<QString>("carregador");
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<bool>("resultado");
    QTest::addColumn<bool>("carregada");

    auto linha = [](const char* c, const char* m, bool r, bool l) {
        QTest::addRow("%s %s", c, m) << QString::fromLatin1(c) << Modulo(QString::fromLatin1(m)) << r << l;
    };
    linha("mapa", "TesteMapa", true, true);
    linha("mapa", "TesteMapaSoOrto", true, true);
    linha("mapa", "TesteMapaSemInfo", false, true);
    linha("mapa", "TesteMapaSoInfo", false, true);
    linha("mapa", "TesteMapas", false, true);
    linha("mapa", "TesteAbiAlheia", false, false);
    linha("mapa", "TesteSemAbi", true, true);
    linha("mapa", "NaoExiste", false, false);
    linha("mapas", "TesteMapas", true, true);
    linha("mapas", "TesteMapasSemWizard", false, true);
    linha("mapas", "TesteMapa", false, true);
    linha("proc", "TesteProcessamento", true, true);
    linha("proc", "TesteProcessamentoSemEsfera", false, true);
    linha("procOrto", "TesteProcessamentoOrto", true, true);
    linha("procOrto", "TesteProcessamentoSemEsfera", true, true);
    linha("procOrto", "TesteCaptura", false, true);
    linha("captura", "TesteCaptura", true, true);
    linha("captura", "TesteProcessamento", false, true);
    linha("capturaOrto", "TesteCapturaOrto", true, true);
    linha("capturaOrto", "TesteMapa", false, true);
    linha("lc", "TesteLC", true, true);
    linha("lc", "TesteAberrometria", false, true);
    linha("aberrometria", "TesteAberrometria", true, true);
    linha("aberrometria", "TesteLC", false, true);
    linha("backup", "TesteBackup", true, true);
    linha("backup", "TesteBackupSoInfo", false, true);
    linha("backup", "TesteAbiAlheia", false, false);
    linha("info1", "TesteInfoTipo1", true, true);
    linha("info1", "TesteInfoModulo", false, true);
    linha("info2", "TesteInfoModulo", true, true);
    linha("info2", "TesteInfoTipo1", false, true);
    linha("info3", "TesteProcessamentoOrto", true, true);
    linha("info4", "TesteInfoModulo", false, true);

    QTest::newRow("mapa: nome vazio") << "mapa" << QString() << false << false;
    // Built in initTestCase: a text file with the module extension.
    QTest::newRow("mapa: não é biblioteca") << "mapa" << QStringLiteral("@texto") << false << false;
    QTest::newRow("backup: não é biblioteca") << "backup" << QStringLiteral("@texto") << false << false;
    QTest::newRow("info1: pasta") << "info1" << QStringLiteral(ZR_PASTA_MODULOS_TESTE) << false << false;
}

void TesteCarregadores::carrega()
{
    QFETCH(QString, carregador);
    QFETCH(QString, arquivo);
    QFETCH(bool, resultado);
    QFETCH(bool, carregada);
    if (arquivo == QStringLiteral("@texto"))
        arquivo = m_naoBiblioteca;

    const Carregador& c = Carregadores()[carregador];
    QVERIFY(!Mapeado(arquivo));
    QCOMPARE(c.carrega(arquivo), resultado);
    QCOMPARE(Mapeado(arquivo), carregada);
    c.libera();
    QVERIFY(!Mapeado(arquivo));
}

// A map module with only "ProcessaMapaOrto" and "InfoMapa" loads; the single-map call is
// absent, so a caller skips it.
void TesteCarregadores::mapaSoComProcessaMapaOrto()
{
    QVERIFY(LoadMapaDLL(Modulo(QStringLiteral("TesteMapaSoOrto"))));
    QVERIFY(MapaDLL.ProcessaMapa == nullptr);
    QVERIFY(MapaDLL.ProcessaMapaOrto != nullptr);
    QVERIFY(MapaDLL.InfoMapa != nullptr);
    QVERIFY(MapaDLL.Visualizar == nullptr);
    FreeMapaDLL();
    // Released: nothing is callable any more.
    QVERIFY(MapaDLL.ProcessaMapaOrto == nullptr);
    QVERIFY(MapaDLL.InfoMapa == nullptr);
}

// Loading again keeps the earlier library loaded; release unloads only the last one.
void TesteCarregadores::carregarDeNovoNaoLiberaAnterior()
{
    const QString a = Modulo(QStringLiteral("TesteMapasSemWizard"));
    const QString b = Modulo(QStringLiteral("TesteMapas"));
    QVERIFY(!LoadMapasDLL(a)); // loaded, "Wizard" missing: stays loaded
    QVERIFY(LoadMapasDLL(b));
    QVERIFY(Mapeado(a));
    QVERIFY(Mapeado(b));
    QVERIFY(MapasDLL.Wizard != nullptr);
    FreeMapasDLL();
    QVERIFY(!Mapeado(b));
    QVERIFY(Mapeado(a));
    QVERIFY(MapasDLL.Wizard == nullptr);
    // The earlier load was left behind on purpose and still counts: loading and releasing
    // the file once more does not unload it.
    QVERIFY(!LoadMapasDLL(a));
    FreeMapasDLL();
    QVERIFY(Mapeado(a));
}

// A load that fails because the library does not load leaves no entry of an earlier load
// behind; the earlier library is still the one release unloads.
void TesteCarregadores::falhaDeCarregamentoNaoDeixaEntradas()
{
    const QString a = Modulo(QStringLiteral("TesteMapa"));
    QVERIFY(LoadMapaDLL(a));
    QVERIFY(MapaDLL.ProcessaMapa != nullptr);
    QVERIFY(!LoadMapaDLL(Modulo(QStringLiteral("NaoExiste"))));
    QVERIFY(MapaDLL.ProcessaMapa == nullptr);
    QVERIFY(MapaDLL.InfoMapa == nullptr);
    QVERIFY(Mapeado(a));
    FreeMapaDLL();
    QVERIFY(!Mapeado(a));
}

// The same file loaded by two loaders: releasing one twice does not unload the other's.
void TesteCarregadores::liberarDuasVezesNaoTiraCargaAlheia()
{
    const QString a = Modulo(QStringLiteral("TesteMapa"));
    QVERIFY(LoadInfoDLL(a, 1));
    QVERIFY(LoadMapaDLL(a));
    FreeMapaDLL();
    FreeMapaDLL();
    QVERIFY(Mapeado(a));
    BufferMemoria b;
    InfoDLL.InfoMapa(b.Stream());
    QCOMPARE(b.Linhas().value(1), QStringLiteral("1"));
    FreeInfoDLL();
    QVERIFY(!Mapeado(a));
}

void TesteCarregadores::versaoDaInterface_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<int>("versao");
    QTest::addColumn<bool>("carregaMapa");
    QTest::newRow("do projeto") << Modulo(QStringLiteral("TesteMapa")) << ZR_MODULOS_VERSAO_ABI << true;
    QTest::newRow("outra versão") << Modulo(QStringLiteral("TesteAbiAlheia")) << 99 << false;
    QTest::newRow("sem versão") << Modulo(QStringLiteral("TesteSemAbi")) << -1 << true;
    QTest::newRow("não existe") << Modulo(QStringLiteral("NaoExiste")) << -1 << false;
}

void TesteCarregadores::versaoDaInterface()
{
    QFETCH(QString, arquivo);
    QFETCH(int, versao);
    QFETCH(bool, carregaMapa);
    QCOMPARE(VersaoAbiModulo(arquivo), versao);
    QVERIFY(!Mapeado(arquivo));
    QCOMPARE(LoadMapaDLL(arquivo), carregaMapa);
    if (!carregaMapa)
        QVERIFY(MapaDLL.ProcessaMapa == nullptr && MapaDLL.InfoMapa == nullptr);
    if (versao == 99)
        QVERIFY(MapaDLL.biblioteca.UltimoErro().contains(QStringLiteral("99")));
    FreeMapaDLL();
    QVERIFY(!Mapeado(arquivo));
}

void TesteCarregadores::infoMapa_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<bool>("resultado");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<int>("linhas");
    QTest::addColumn<QString>("descricao");
    QTest::newRow("tipo 1") << "TesteInfoTipo1" << true << "1" << 3 << "Descrição do mapa";
    QTest::newRow("tipo 2") << "TesteInfoTipo2" << true << "2" << 3 << "Descrição do mapa";
    QTest::newRow("tipo 3") << "TesteInfoTipo3" << true << "3" << 3 << "Descrição do mapa";
    QTest::newRow("duas linhas") << "TesteInfoDuas" << true << "1" << 2 << "";
    QTest::newRow("uma linha") << "TesteInfoCurta" << false << "" << 1 << "";
    QTest::newRow("sem InfoMapa") << "TesteInfoModulo" << false << "" << 0 << "";
    QTest::newRow("não existe") << "NaoExiste" << false << "" << 0 << "";
}

// Load, call "InfoMapa" with a new buffer, read the lines, release.
void TesteCarregadores::infoMapa()
{
    QFETCH(QString, modulo);
    QFETCH(bool, resultado);
    QFETCH(QString, tipo);
    QFETCH(int, linhas);
    QFETCH(QString, descricao);
    InfoMapaModulo info;
    QCOMPARE(LeInfoMapa(Modulo(modulo), info), resultado);
    QCOMPARE(info.linhas, linhas);
    QCOMPARE(info.tipo, tipo);
    QCOMPARE(info.descricao, descricao);
    if (linhas > 0)
        QCOMPARE(info.nome, QStringLiteral("Mapa de Teste Ç"));
    QVERIFY(!Mapeado(Modulo(modulo)));
    QVERIFY(InfoDLL.InfoMapa == nullptr && InfoDLL.Info == nullptr);
}

void TesteCarregadores::infoModulo_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<bool>("resultado");
    QTest::addColumn<QString>("primeira");
    QTest::newRow("captura, tipo 2") << "TesteCaptura" << 2 << true << "Módulo de teste — versão única";
    QTest::newRow("orto, tipo 3") << "TesteCapturaOrto" << 3 << true << "Módulo de teste — versão única";
    QTest::newRow("tipo 1 pede InfoMapa") << "TesteCaptura" << 1 << false << "";
    QTest::newRow("sem Info") << "TesteLC" << 2 << false << "";
    QTest::newRow("tipo inválido") << "TesteCaptura" << 0 << false << "";
}

void TesteCarregadores::infoModulo()
{
    QFETCH(QString, modulo);
    QFETCH(int, tipo);
    QFETCH(bool, resultado);
    QFETCH(QString, primeira);
    QStringList linhas{QStringLiteral("lixo")};
    QCOMPARE(LeInfoModulo(Modulo(modulo), tipo, linhas), resultado);
    QCOMPARE(linhas.value(0), primeira);
    QCOMPARE(linhas.size(), resultado ? 2 : 0);
    QVERIFY(!Mapeado(Modulo(modulo)));
}

// Every argument of "ProcessaMapa" arrives in its place; the texts of the options as cp1252.
void TesteCarregadores::processaMapa()
{
    QVERIFY(LoadMapaDLL(Modulo(QStringLiteral("TesteMapa"))));
    const TInfosZR infosHost = InfosDeTeste();
    InfosZRModulo infos(infosHost);
    Exame e(123.25, 14, 43.5, 7, 99);
    BufferMemoria central(QByteArray(1000, 'x'));
    BufferMemoria cabecalho;
    cabecalho.DefineLinhas({QStringLiteral("José da Silva"), QStringLiteral("0012")});
    const zrmod::TTriploOrto orto{99.9999, 99.9999, 99.9999};
    int janela = 0;

    QVERIFY(MapaDLL.ProcessaMapa);
    MapaDLL.ProcessaMapa(&janela, central.Stream(), nullptr, 321.5, 240.75, cabecalho.Stream(),
                         &e.posicoes, &e.aneis, &e.dioptrias, &e.pupila, &orto,
                         infos.Registro());
    const QStringList esperado = {
        "José da Silva", "0012", "ProcessaMapa", "janela", "1000", "-", "321.5", "240.75",
        "123.25", "14", "43.5", "99", "99.9999 99.9999 99.9999", "16", "4",
        "Clínica São João"};
    QCOMPARE(cabecalho.Linhas(), esperado);

    // The ortho-k form takes the same twelve arguments; a null triple reaches the module.
    cabecalho.DefineLinhas({});
    MapaDLL.ProcessaMapaOrto(nullptr, nullptr, nullptr, 0, 0, cabecalho.Stream(), &e.posicoes,
                             &e.aneis, &e.dioptrias, &e.pupila, nullptr, infos.Registro());
    QCOMPARE(cabecalho.Linhas().value(0), QStringLiteral("ProcessaMapaOrto"));
    QCOMPARE(cabecalho.Linhas().value(1), QStringLiteral("sem janela"));
    QCOMPARE(cabecalho.Linhas().value(10), QStringLiteral("(nulo)"));
    FreeMapaDLL();
}

void TesteCarregadores::visualizar()
{
    QVERIFY(LoadMapaDLL(Modulo(QStringLiteral("TesteMapa"))));
    QVERIFY(MapaDLL.Visualizar);
    InfosZRModulo infos(InfosDeTeste());
    Exame e(1.5, 12, 44.25, 3, 0);
    BufferMemoria saida;
    const char reservado[64] = {};
    int controle = 0;
    void* imagem = &controle;
    MapaDLL.Visualizar(nullptr, saida.Stream(), nullptr, 0, 300.0, 200.5, &e.posicoes, &e.aneis,
                       &e.dioptrias, &e.pupila, reservado, 0, infos.Registro(), &imagem);
    const QStringList esperado = {"sem janela", "(nulo)", "0", "300", "200.5", "1.5", "12",
                                  "44.25", "3", "registro", "0", "0.0213", "imagem"};
    QCOMPARE(saida.Linhas(), esperado);
    FreeMapaDLL();
}

void TesteCarregadores::wizardEProcessaMapas()
{
    QVERIFY(LoadMapasDLL(Modulo(QStringLiteral("TesteMapas"))));
    // The two argument lists of each entry are the same export.
    QCOMPARE(reinterpret_cast<void*>(MapasDLL.WizardDiferencial),
             reinterpret_cast<void*>(MapasDLL.Wizard));
    QCOMPARE(reinterpret_cast<void*>(MapasDLL.ProcessaMapasOrto),
             reinterpret_cast<void*>(MapasDLL.ProcessaMapas));
    InfosZRModulo infos(InfosDeTeste());
    BufferMemoria candidatos, selecao, opcoes;
    candidatos.DefineLinhas({QStringLiteral("Olho Direito - 01/02/2026 10:00:00"),
                             QStringLiteral("Olho Esquerdo - 03/04/2026 11:30:15")});
    QCOMPARE(MapasDLL.Wizard(nullptr, candidatos.Stream(), selecao.Stream(), opcoes.Stream(),
                             infos.Registro()),
             int32_t(1));
    QCOMPARE(selecao.Linhas(), (QStringList{QStringLiteral("Olho Esquerdo - 03/04/2026 11:30:15"),
                                            QStringLiteral("Olho Direito - 01/02/2026 10:00:00")}));

    // Two examinations, element i of every array from the i-th selected one.
    Exame e0(10.5, 11, 40.25, 100, 0), e1(20.5, 13, 45.75, 200, 0);
    auto gpos = std::make_unique<Grade[]>(2);
    auto gdiop = std::make_unique<Grade[]>(2);
    TMatrizAngAnel* pos = &gpos[0].m;
    TMatrizAngAnel* diop = &gdiop[0].m;
    TAneisMeridiano aneis[2];
    TDadosPupila pup[2];
    std::memcpy(pos[0], e0.posicoes, sizeof(TMatrizAngAnel));
    std::memcpy(pos[1], e1.posicoes, sizeof(TMatrizAngAnel));
    std::memcpy(diop[0], e0.dioptrias, sizeof(TMatrizAngAnel));
    std::memcpy(diop[1], e1.dioptrias, sizeof(TMatrizAngAnel));
    std::memcpy(aneis[0], e0.aneis, sizeof(TAneisMeridiano));
    std::memcpy(aneis[1], e1.aneis, sizeof(TAneisMeridiano));
    std::memcpy(pup[0], e0.pupila, sizeof(TDadosPupila));
    std::memcpy(pup[1], e1.pupila, sizeof(TDadosPupila));
    DadosPacModulo dados({{QStringLiteral("Ana Lúcia"), QStringLiteral("12")},
                          {QStringLiteral("Ana Lúcia (2)"), QStringLiteral("12")}});
    const TMatrizesAngAnel mpos{2, pos}, mdiop{2, diop};
    const TMatrizesAng maneis{2, aneis};
    const TMatPup mpup{2, pup};
    opcoes.Rebobina();
    MapasDLL.ProcessaMapas(nullptr, dados.Dados(), &mpos, &maneis, &mdiop, &mpup, 2, opcoes.Stream(),
                           infos.Registro());
    const QStringList esperado = {"opções Dra. Inês", "2", "2", "Ana Lúcia", "10.5", "11",
                                  "40.25", "101", "Ana Lúcia (2)", "20.5", "13", "45.75",
                                  "201", "opções Dra. Inês"};
    QCOMPARE(opcoes.Linhas(), esperado);
    FreeMapasDLL();
}

void TesteCarregadores::processamento()
{
    QVERIFY(LoadProcDLL(Modulo(QStringLiteral("TesteProcessamento"))));
    TInfosZR h = InfosDeTeste();
    h.NumAneis = 22;
    InfosZRModulo infos(h);
    TPathsZR p;
    p.Calibracao = QStringLiteral("/clinica/dados/Calibração/");
    PathsZRModulo paths(p);

    BufferMemoria central(QByteArray(640 * 480, '\x7f'));
    double cx = 0, cy = 0, indice = 0;
    auto gpos = std::make_unique<Grade>();
    auto gdiop = std::make_unique<Grade>();
    TMatrizAngAnel* pos = &gpos->m;
    TMatrizAngAnel* diop = &gdiop->m;
    TAneisMeridiano aneis{};
    TDadosPupila pupila{};
    QCOMPARE(ProcDLL.ProcessaImagem(nullptr, central.Stream(), &cx, &cy, pos, &aneis,
                                    diop, &pupila, &indice, infos.Registro(),
                                    paths.Registro()),
             int32_t(1));
    QCOMPARE(cx, 320.5);
    QCOMPARE(cy, 240.25);
    QCOMPARE(indice, 87.5);
    QCOMPARE((*pos)[359][32], 320.359); // 10 * 32 + 359 / 1000
    QCOMPARE((*diop)[0][10], 41.0);     // 40 + 10 / 10
    QCOMPARE(aneis[0], int32_t(22));
    QCOMPARE(aneis[359], int32_t(22));
    QCOMPARE(pupila[0], int32_t(11));
    QCOMPARE(pupila[3], int32_t(44));

    // An empty image fails; the calibration sphere's radius arrives as typed.
    BufferMemoria vazio;
    QCOMPARE(ProcDLL.ProcessaImagem(nullptr, vazio.Stream(), &cx, &cy, pos, &aneis,
                                    diop, &pupila, &indice, infos.Registro(),
                                    paths.Registro()),
             int32_t(0));
    BufferMemoria esfera(QByteArray(12345, 'e')), saida;
    TextoModulo raio(QStringLiteral("7,73"));
    QCOMPARE(ProcDLL.ProcessaEsfera(nullptr, esfera.Stream(), raio.c_str(), saida.Stream(),
                                    infos.Registro()),
             int32_t(1));
    QCOMPARE(saida.Linhas(), (QStringList{"7,73", "12345"}));
    FreeProcDLL();
}

void TesteCarregadores::processamentoOrto()
{
    QVERIFY(LoadProcOrtoDLL(Modulo(QStringLiteral("TesteProcessamentoOrto"))));
    InfosZRModulo infos(InfosDeTeste());
    PathsZRModulo paths{TPathsZR()};
    BufferMemoria c0(QByteArray(5, 'a')), c1(QByteArray(6, 'a')), c2(QByteArray(7, 'a')),
        c3(QByteArray(8, 'a'));
    const zrmod::TQuatroBuffers centrais = {c0.Stream(), c1.Stream(), c2.Stream(), c3.Stream()};
    BufferMemoria pos, diop, valores;
    double indices[4] = {};
    QCOMPARE(ProcOrtoDLL.ProcessaImagem(nullptr, &centrais, pos.Stream(), diop.Stream(),
                                        valores.Stream(), &indices, infos.Registro(),
                                        paths.Registro()),
             int32_t(1));
    QCOMPARE(pos.Linhas(), (QStringList{"P0 5", "P1 6", "P2 7", "P3 8"}));
    QCOMPARE(diop.Linhas(), (QStringList{"D0", "D1", "D2", "D3"}));
    const QStringList v = valores.Linhas();
    QCOMPARE(v.size(), 16);
    QCOMPARE(v.mid(12), (QStringList{"11.5", "0.75", "7.8", "3"})); // fourth map
    QCOMPARE(indices[0], 90.0);
    QCOMPARE(indices[3], 93.0);
    FreeProcOrtoDLL();
}

void TesteCarregadores::captura()
{
    QVERIFY(LoadCapturaDLL(Modulo(QStringLiteral("TesteCaptura"))));
    InfosZRModulo infos(InfosDeTeste());
    BufferMemoria central, lateral;
    TextoModulo legenda(QStringLiteral("Digitalizando Esfera (7,73)"));
    CapturaDLL.Digitalizar(nullptr, central.Stream(), lateral.Stream(),
                           zrmod::ZR_ESFERA_CALIBRACAO, infos.Registro(), legenda.c_str());
    QCOMPARE(central.Tamanho(), qint64(102));
    QCOMPARE(lateral.Bytes().left(50), QByteArray(50, 'L'));
    QCOMPARE(lateral.Bytes().mid(50), QByteArray("Digitalizando Esfera (7,73)\r\n"));
    FreeCapturaDLL();
    QVERIFY(CapturaDLL.Digitalizar == nullptr);
}

void TesteCarregadores::capturaOrto()
{
    QVERIFY(LoadCapturaOrtoDLL(Modulo(QStringLiteral("TesteCapturaOrto"))));
    InfosZRModulo infos(InfosDeTeste());
    QuatroBuffersModulo centrais, laterais;
    TextoModulo legenda(QStringLiteral("Digitalizando Imagem do Olho"));
    CapturaOrtoDLL.Digitalizar(nullptr, centrais.Buffers(), laterais.Buffers(),
                               zrmod::ZR_OLHO_DIREITO, infos.Registro(), legenda.c_str());
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(centrais.Buffer(i).Bytes(), QByteArray(10 * (i + 1), '1'));
        QCOMPARE(laterais.Buffer(i).Tamanho(), qint64(i + 1));
    }
    FreeCapturaOrtoDLL();
}

void TesteCarregadores::lenteEAberrometria()
{
    InfosZRModulo infos(InfosDeTeste());
    TPathsZR p;
    p.Exames = QStringLiteral("/dados/Exames");
    PathsZRModulo paths(p);
    Exame e(5.5, 9, 42.0, 0, 0);

    QVERIFY(LoadLCDLL(Modulo(QStringLiteral("TesteLC"))));
    BufferMemoria cab;
    LCDLL.ProcessaLente(nullptr, nullptr, cab.Stream(), 310.0, 250.0, &e.posicoes, &e.aneis,
                        &e.dioptrias, infos.Registro(), paths.Registro());
    QCOMPARE(cab.Linhas(), (QStringList{"(nulo)", "310", "250", "5.5", "9", "42", "4",
                                        "/dados/Exames"}));
    FreeLCDLL();

    QVERIFY(LoadAberrometriaDLL(Modulo(QStringLiteral("TesteAberrometria"))));
    ListaTextosModulo clinica({QStringLiteral("Clínica"), QStringLiteral("Rua Ã"),
                               QStringLiteral("Recife - PE"), QStringLiteral("0800")});
    TextoModulo tipoCone(QStringLiteral("4"));
    auto gPos = std::make_unique<Grade>();
    auto gDiop = std::make_unique<Grade>();
    TMatrizAngAnel* copiaPos = &gPos->m;
    TMatrizAngAnel* copiaDiop = &gDiop->m;
    std::memcpy(copiaPos, e.posicoes, sizeof(TMatrizAngAnel));
    std::memcpy(copiaDiop, e.dioptrias, sizeof(TMatrizAngAnel));
    TAneisMeridiano copiaAneis;
    std::memcpy(copiaAneis, e.aneis, sizeof(TAneisMeridiano));
    BufferMemoria cab2;
    AberrometriaDLL.ProcessaAberrometria(nullptr, copiaPos, copiaDiop,
                                         clinica.Lista(), cab2.Stream(), 1, 350, 350, 1.25,
                                         0.0213, 3.0, 3, 16, tipoCone.c_str(), &copiaAneis);
    QCOMPARE(cab2.Linhas(), (QStringList{"5.5", "9", "42", "Clínica", "Rua Ã", "Recife - PE",
                                         "0800", "1 350 350", "1.25", "0.0213", "3", "3", "16",
                                         "4"}));
    QCOMPARE((*copiaPos)[0][0], -1.0); // the module wrote into the copy...
    QCOMPARE(e.posicoes[0][0], 0.0);   // ...not into the examination
    // The aberrometry module stays loaded; there is no release to call.
    QVERIFY(Mapeado(Modulo(QStringLiteral("TesteAberrometria"))));
    AberrometriaDLL.biblioteca.Libera();
}

void TesteCarregadores::backup()
{
    QVERIFY(LoadBackupDLL(Modulo(QStringLiteral("TesteBackup"))));
    BufferMemoria estado;
    const int32_t letra = BackupDLL.InfoBackup(nullptr, estado.Stream(), 3);
    QCOMPARE(letra, int32_t(69));
    QCOMPARE(RaizDriveBackup(letra), QStringLiteral("E:\\"));
    const QStringList linhas = estado.Linhas();
    QCOMPARE(linhas.size(), 6);
    QCOMPARE(linhas.at(1), QStringLiteral("Mídia: disco removível"));
    QCOMPARE(linhas.at(2), QStringLiteral("Constante: 3"));
    // Characters 26 to 35 of the sixth line: the last backup's date.
    QCOMPARE(linhas.at(5).mid(25, 10), QStringLiteral("05/11/2026"));

    // Two examinations (three files each) and one report: one tag per row, in list order.
    BufferMemoria exames, tagsExames, laudos, tagsLaudos;
    exames.DefineLinhas({"12/345a.txt", "12/345d.txt", "12/345m.txt", "12/346a.txt",
                         "12/346d.txt", "12/346m.txt"});
    laudos.DefineLinhas({"12/77l.txt"});
    TextoModulo raizExames(QStringLiteral("/dados/Exames")), raizLaudos(QStringLiteral("/dados/Laudos"));
    QCOMPARE(BackupDLL.CriarBackup(nullptr, exames.Stream(), tagsExames.Stream(), laudos.Stream(),
                                   tagsLaudos.Stream(), 3, raizExames.c_str(),
                                   raizLaudos.c_str()),
             int32_t(0));
    QCOMPARE(tagsExames.Linhas(), (QStringList{"DISCO01", "DISCO01"}));
    QCOMPARE(tagsLaudos.Linhas(), (QStringList{"DISCO01"}));
    TextoModulo vazio(QString{});
    QCOMPARE(BackupDLL.CriarBackup(nullptr, exames.Stream(), tagsExames.Stream(), laudos.Stream(),
                                   tagsLaudos.Stream(), 3, vazio.c_str(), raizLaudos.c_str()),
             int32_t(-1));
    QCOMPARE(BackupDLL.RestaurarBackup(nullptr, raizExames.c_str(), raizLaudos.c_str()),
             int32_t(0));
    FreeBackupDLL();

    // A backup module with only "InfoBackup" does not load as a backup module.
    QVERIFY(!LoadBackupDLL(Modulo(QStringLiteral("TesteBackupSoInfo"))));
    QVERIFY(BackupDLL.InfoBackup != nullptr);
    QVERIFY(BackupDLL.CriarBackup == nullptr);
    FreeBackupDLL();
    QVERIFY(BackupDLL.InfoBackup == nullptr);
}

void TesteCarregadores::raizDrive_data()
{
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("raiz");
    QTest::newRow("E") << 69 << "E:\\";
    QTest::newRow("A") << 65 << "A:\\";
    QTest::newRow("Z") << 90 << "Z:\\";
    QTest::newRow("minuscula") << 100 << "d:\\";
    QTest::newRow("zero") << 0 << "";
    QTest::newRow("-1") << -1 << "";
    QTest::newRow("digito") << 51 << "";
    QTest::newRow("fora do ASCII") << 0x10049 << "";
}

void TesteCarregadores::raizDrive()
{
    QFETCH(int, codigo);
    QFETCH(QString, raiz);
    QCOMPARE(RaizDriveBackup(codigo), raiz);
}

void TesteCarregadores::nomesDeArquivo_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<QString>("legenda");
    QTest::newRow("dll") << "Axial.dll" << "Axial.so" << "Axial";
    QTest::newRow("DLL") << "MultiOrto.DLL" << "MultiOrto.so" << "MultiOrto";
    QTest::newRow("so") << "/m/Tangencial.so" << "/m/Tangencial.so" << "Tangencial";
    QTest::newRow("ponto no nome") << "/m/Mapa 2.0.dll" << "/m/Mapa 2.0.so" << "Mapa 2.0";
}

void TesteCarregadores::nomesDeArquivo()
{
    QFETCH(QString, nome);
    QFETCH(QString, arquivo);
    QFETCH(QString, legenda);
    QCOMPARE(NomeArquivoModulo(nome), arquivo);
    QCOMPARE(LegendaModulo(arquivo), legenda);
    QCOMPARE(ArquivoMapa(QStringLiteral("/inst/mapas"), legenda),
             QStringLiteral("/inst/mapas/") + legenda + QStringLiteral(".so"));
}

// Every module the project builds loads, reports the host's interface version and carries
// the version stamp.
void TesteCarregadores::todosOsModulosDoProjeto()
{
    QFile lista(QStringLiteral(ZR_LISTA_MODULOS));
    QVERIFY(lista.open(QIODevice::ReadOnly));
    const QStringList arquivos =
        QString::fromUtf8(lista.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(arquivos.contains(Modulo(QStringLiteral("TesteMapa"))));
    QVERIFY(!arquivos.contains(Modulo(QStringLiteral("TesteAbiAlheia"))));
    QVERIFY(!arquivos.contains(Modulo(QStringLiteral("TesteSemAbi"))));
    for (const QString& arquivo : arquivos) {
        QVERIFY2(QFileInfo::exists(arquivo), qPrintable(arquivo));
        QCOMPARE(VersaoAbiModulo(arquivo), ZR_MODULOS_VERSAO_ABI);
        QVERIFY2(!TBVersionInfo::VersaoArquivo(arquivo).isEmpty(), qPrintable(arquivo));
        QVERIFY2(!Mapeado(arquivo), qPrintable(arquivo));

        // Nothing but entry points leaves a module: its helpers and the static libraries it
        // links stay private (two modules never share a helper by accident).
        QProcess nm;
        nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                        arquivo});
        QVERIFY(nm.waitForFinished(30000));
        QCOMPARE(nm.exitCode(), 0);
        const QStringList linhas = QString::fromUtf8(nm.readAllStandardOutput())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!linhas.isEmpty());
        for (const QString& linha : linhas) {
            const QString simbolo = linha.section(QLatin1Char(' '), -1);
            // Symbols the linker itself defines in some links.
            static const QStringList doLinker = {"__bss_start", "_edata", "_end", "_init",
                                                 "_fini"};
            if (doLinker.contains(simbolo))
                continue;
            QVERIFY2(EntradasDaInterface().contains(simbolo),
                     qPrintable(arquivo + QStringLiteral(": ") + simbolo));
        }
    }
}

QTEST_GUILESS_MAIN(TesteCarregadores)
#include "tst_carregadores.moc"
