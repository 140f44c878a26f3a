// The map modules "Axial" and "Tangencial" loaded as the navigator loads them: their
// information, the map window in batch mode (the PNG it leaves and what it shows as text),
// the small map bitmap, the examples of the instrument, and bad examinations.

#include "examfiles/UBMapOperation.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "platform/UMensagens.h"
#include "plugins/mapas/UEscalaCores.h"
#include "plugins/mapas/UfrmMapa.h"
#include "topography/UBFuncoesMapas.h"
#include "tests/support/UExameSintetico.h"
#include "tests/support/UInstalacaoTeste.h"
#include "common/UTextoCp1252.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

using namespace zrmod;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QString ArquivoModulo(const QString& nome)
{
    return QStringLiteral(ZR_PASTA_MAPAS "/") + nome + QStringLiteral(".so");
}

// The options record as the navigator hands it over.
struct Opcoes {
    TInfosZR r{};
    Opcoes(bool iso = true, bool grade = false)
    {
        r.Modelo = 3;
        r.TipoCone = "2";
        r.FatorCorrecao = ExameSintetico::kFator;
        r.IncMap = 0.5;
        r.AutoIncMap = 0;
        r.NumAneis = 16;
        r.ExibeGrade = grade;
        r.EscalaISO = iso;
        r.ExibeCeratPontual = 0;
        r.CorCeratPontual = "Preta";
        r.TipoCeratometria = "Simulada";
    }
};

QStringList CabecalhoExemplo(const QString& nome)
{
    return {nome, QStringLiteral("00001"), QStringLiteral("xx.xxx.xxx-x"), QStringLiteral("Exemplo"),
            QStringLiteral("01/01/01"), QStringLiteral("00:00:00"), QStringLiteral("Médico Teste"),
            QStringLiteral("9999"), QStringLiteral("100")};
}

// One batch call of "ProcessaMapa" of a module; what it left in the output folder.
struct Saida {
    QImage janela, mapa;
    QStringList texto;
};

class Ambiente {
public:
    Ambiente()
    {
        qputenv("ZR_MODULOS_AUTOMATICO", "1");
        qputenv("ZR_MODULOS_SAIDA", m_pasta.path().toLocal8Bit());
    }
    ~Ambiente()
    {
        qunsetenv("ZR_MODULOS_AUTOMATICO");
        qunsetenv("ZR_MODULOS_SAIDA");
    }
    // Calls the module through the single-map loader and reads what it wrote.
    Saida Processa(const QString& modulo, const ExameSintetico* ex, const TInfosZR* infos,
                   const QStringList* cabecalho, const TTriploOrto* orto = nullptr,
                   bool ortoEntrada = false)
    {
        Saida s;
        QDir(m_pasta.path()).removeRecursively();
        QDir().mkpath(m_pasta.path());
        if (!LoadMapaDLL(ArquivoModulo(modulo)))
            return s;
        BufferMemoria cab;
        if (cabecalho)
            cab.DefineLinhas(*cabecalho);
        auto entrada = ortoEntrada ? MapaDLL.ProcessaMapaOrto : MapaDLL.ProcessaMapa;
        entrada(nullptr, nullptr, nullptr, ex ? ex->centroX : 0, ex ? ex->centroY : 0,
                cabecalho ? cab.Stream() : nullptr, ex ? &ex->m : nullptr,
                ex ? &ex->aneis : nullptr, ex ? &ex->d : nullptr, ex ? &ex->pupila : nullptr,
                orto, infos);
        FreeMapaDLL();
        const QDir d(m_pasta.path());
        s.janela.load(d.filePath(modulo + QStringLiteral(".png")));
        s.mapa.load(d.filePath(modulo + QStringLiteral("-mapa.png")));
        if (QFile::exists(d.filePath(modulo + QStringLiteral(".txt"))))
            s.texto = LeArquivoTexto(d.filePath(modulo + QStringLiteral(".txt")));
        return s;
    }

private:
    QTemporaryDir m_pasta;
};

// "Visualizar" of Axial.so: the bytes it wrote.
QByteArray Visualiza(const TMatrizAngAnel* m, const TAneisMeridiano* n, const TMatrizAngAnel* d,
                     const TInfosZR* infos)
{
    if (!LoadMapaDLL(ArquivoModulo(QStringLiteral("Axial"))) || !MapaDLL.Visualizar)
        return QByteArray("sem módulo");
    BufferMemoria saida;
    const char reservado[64] = {};
    TDadosPupila pupila{};
    void* imagem = nullptr;
    MapaDLL.Visualizar(nullptr, saida.Stream(), nullptr, 0, 320, 240, m, n, d, &pupila,
                       reservado, 0, infos, &imagem);
    FreeMapaDLL();
    return saida.Bytes();
}

int NivelEm(const QImage& img, const EscalaCores& e, int x, int y)
{
    return e.NivelDaCor(img.pixelColor(x, y));
}

// Pixel of the 600 x 600 map picture at r mm on the clinical axis (the map spans the
// drawing radius of the examination, with the degree marks' margin).
QPoint PixelMapa(double raioDesenho, double r, double eixo)
{
    const double escala = (300.0 - 36.0) / raioDesenho;
    return {int(std::lround(300 + r * std::cos(eixo * M_PI / 180) * escala)),
            int(std::lround(300 - r * std::sin(eixo * M_PI / 180) * escala))};
}

} // namespace

class TesteModulosMapa : public QObject {
    Q_OBJECT
private slots:
    void info_data();
    void info();
    void centroEsfera_data();
    void centroEsfera();
    void tangencialAsferica();
    void astigmatismo();
    void cabecalhoEOrto();
    void visualizar_data();
    void visualizar();
    void entradaRuim_data();
    void entradaRuim();
    void janela();
    void exportacao();
    void exemplos_data();
    void exemplos();
    void bordasTangenciais_data();
    void bordasTangenciais();
    void costuraIrregular_data();
    void costuraIrregular();
    void cleanupTestCase() { m_instalacao.reset(); }

private:
    // Reads an example examination of the installation, laid out by the first one asked for.
    bool CarregaExemplo(TBMapOperation& leitor, const QString& exemplo)
    {
        if (!m_instalacao)
            m_instalacao = std::make_unique<InstalacaoTeste>();
        return m_instalacao->Valida() &&
               leitor.CarregaExame(m_instalacao->Pastas().dados + QStringLiteral("/Exemplos/") + exemplo);
    }

    std::unique_ptr<InstalacaoTeste> m_instalacao;
};

void TesteModulosMapa::info_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QString>("nome");
    QTest::newRow("Axial") << "Axial" << "Mapa Axial";
    QTest::newRow("Tangencial") << "Tangencial" << "Mapa Tangencial";
}

void TesteModulosMapa::info()
{
    QFETCH(QString, modulo);
    QFETCH(QString, nome);
    InfoMapaModulo info;
    QVERIFY(LeInfoMapa(ArquivoModulo(modulo), info));
    QCOMPARE(info.nome, nome);
    QCOMPARE(info.tipo, QStringLiteral("1"));
    QCOMPARE(info.linhas, 3);
    QVERIFY(info.descricao.contains(modulo.toLower()));
    QVERIFY(LoadMapaDLL(ArquivoModulo(modulo)));
    QVERIFY(MapaDLL.ProcessaMapa && MapaDLL.ProcessaMapaOrto && MapaDLL.Visualizar && MapaDLL.InfoMapa);
    FreeMapaDLL();
    // The button picture beside the module: 48 x 24, normal and hot halves that differ.
    QImage botao(QStringLiteral(ZR_PASTA_MAPAS "/") + modulo + QStringLiteral(".bmp"), "BMP");
    QCOMPARE(botao.size(), QSize(48, 24));
    QVERIFY(botao.copy(0, 0, 24, 24) != botao.copy(24, 0, 24, 24));
}

void TesteModulosMapa::centroEsfera_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<bool>("iso");
    QTest::addColumn<bool>("grade");
    QTest::newRow("axial ISO") << "Axial" << true << false;
    QTest::newRow("axial normalizada") << "Axial" << false << false;
    QTest::newRow("axial ISO com grade") << "Axial" << true << true;
    QTest::newRow("tangencial ISO") << "Tangencial" << true << false;
    QTest::newRow("tangencial normalizada com grade") << "Tangencial" << false << true;
}

// The centre of a 43 D sphere shows the 43 D colour of the scale in use.
void TesteModulosMapa::centroEsfera()
{
    QFETCH(QString, modulo);
    QFETCH(bool, iso);
    QFETCH(bool, grade);
    Ambiente amb;
    const ExameSintetico ex = ExameSintetico::Esfera(43.0);
    Opcoes op(iso, grade);
    const QStringList cab = CabecalhoExemplo(QStringLiteral("Esfera"));
    const Saida s = amb.Processa(modulo, &ex, &op.r, &cab);
    QCOMPARE(s.mapa.size(), QSize(600, 600));
    QVERIFY(!s.janela.isNull());
    const EscalaCores e = iso ? EscalaCores::Absoluta() : EscalaCores::Normalizada(43.0, 43.0, 0.0);
    const QColor esperada = e.Cor(43.0);
    if (iso)
        QCOMPARE(esperada, EscalaCores::Absoluta().CorNivel(10)); // (43 - 28) / 1.5
    // The exact centre holds the cross of the grid; a point 0.3 mm off it is as good.
    const QPoint c = grade ? QPoint(307, 307) : QPoint(300, 300);
    QCOMPARE(s.mapa.pixelColor(c).rgb(), esperada.rgb());
    // Everywhere within the rings the same colour.
    const QPoint p = PixelMapa(5.0, 3.7, 200.0);
    QCOMPARE(s.mapa.pixelColor(p).rgb(), esperada.rgb());
    QVERIFY(s.texto.contains(QStringLiteral("K1: 43.00 D (7.85 mm) @ 0°")) ||
            s.texto.join(u'|').contains(QStringLiteral("K1: 43.00 D (7.85 mm)")));
    QVERIFY(s.texto.contains(iso ? QStringLiteral("Escala: Escala absoluta (1.5 D)")
                                 : QStringLiteral("Escala: Escala normalizada (0.25 D)")));
}

// A prolate cornea: the same centre in both maps, a cooler periphery in the tangential one.
void TesteModulosMapa::tangencialAsferica()
{
    Ambiente amb;
    const ExameSintetico ex = ExameSintetico::Conica(7.6, -0.5);
    Opcoes op(true, false);
    const QStringList cab = CabecalhoExemplo(QStringLiteral("Asférica"));
    const Saida axial = amb.Processa(QStringLiteral("Axial"), &ex, &op.r, &cab);
    const Saida tang = amb.Processa(QStringLiteral("Tangencial"), &ex, &op.r, &cab);
    const EscalaCores e = EscalaCores::Absoluta();
    QCOMPARE(NivelEm(axial.mapa, e, 300, 300), e.Nivel(337.5 / 7.6));
    QCOMPARE(NivelEm(tang.mapa, e, 300, 300), NivelEm(axial.mapa, e, 300, 300));
    for (double eixo : {0.0, 90.0, 225.0}) {
        const QPoint p = PixelMapa(5.0, 4.2, eixo);
        const int na = NivelEm(axial.mapa, e, p.x(), p.y());
        const int nt = NivelEm(tang.mapa, e, p.x(), p.y());
        // 4.2 mm: axial 337.5 / sqrt(7.6^2 + 0.5 * 4.2^2) = 41.5 D, tangential 37.3 D.
        QCOMPARE(na, e.Nivel(ExameSintetico::PotenciaAxialConica(7.6, -0.5, 4.2)));
        QCOMPARE(nt, e.Nivel(ExameSintetico::PotenciaTangencialConica(7.6, -0.5, 4.2)));
        QVERIFY(nt < na);
    }
    // The simulated keratometry is the axial one in both windows.
    const QString k1a = axial.texto.filter(QStringLiteral("K1:")).value(0);
    QVERIFY(!k1a.isEmpty());
    QCOMPARE(tang.texto.filter(QStringLiteral("K1:")).value(0), k1a);
    QVERIFY(tang.texto.contains(QStringLiteral("Mapa: Tangencial")));
}

// Regular astigmatism: the bow tie, steep along the steep meridian, and its keratometry.
void TesteModulosMapa::astigmatismo()
{
    Ambiente amb;
    const ExameSintetico ex = ExameSintetico::Torica(42.0, 45.0, 90.0);
    Opcoes op(true, false);
    const QStringList cab = CabecalhoExemplo(QStringLiteral("Tórica"));
    const Saida s = amb.Processa(QStringLiteral("Axial"), &ex, &op.r, &cab);
    const EscalaCores e = EscalaCores::Absoluta();
    for (double eixo : {90.0, 270.0}) {
        const QPoint p = PixelMapa(5.0, 3.0, eixo);
        QCOMPARE(NivelEm(s.mapa, e, p.x(), p.y()), e.Nivel(45.0));
    }
    for (double eixo : {0.0, 180.0}) {
        const QPoint p = PixelMapa(5.0, 3.0, eixo);
        QCOMPARE(NivelEm(s.mapa, e, p.x(), p.y()), e.Nivel(42.0));
    }
    QVERIFY(s.texto.contains(QStringLiteral("K1: 45.00 D (7.50 mm) @ 90°")));
    QVERIFY(s.texto.contains(QStringLiteral("K2: 42.00 D (8.04 mm) @ 180°")));
    QVERIFY(s.texto.contains(QStringLiteral("Cil: 3.00 D @ 90°")));
}

void TesteModulosMapa::cabecalhoEOrto()
{
    Ambiente amb;
    const ExameSintetico ex = ExameSintetico::Esfera(44.0);
    Opcoes op;
    const QStringList cab = {QStringLiteral("Maria José Conceição"), QStringLiteral("0042"),
                             QStringLiteral("12.345.678-9"), QStringLiteral("Olho Esquerdo"),
                             QStringLiteral("05/03/2004"), QStringLiteral("14:07:09"),
                             QStringLiteral("Dr. Álvaro"), QStringLiteral("0007"),
                             QStringLiteral("97")};
    const TTriploOrto orto{0.5125, 1.25, 8.1};
    const Saida s = amb.Processa(QStringLiteral("Axial"), &ex, &op.r, &cab, &orto, true);
    QVERIFY(s.texto.contains(QStringLiteral("Paciente: Maria José Conceição")));
    QVERIFY(s.texto.contains(QStringLiteral("Olho: Olho Esquerdo")));
    QVERIFY(s.texto.contains(QStringLiteral("Data: 05/03/2004 14:07:09")));
    QVERIFY(s.texto.contains(QStringLiteral("Médico: Dr. Álvaro")));
    QVERIFY(s.texto.contains(QStringLiteral("Índice de confiança: 97")));
    QVERIFY(s.texto.contains(QStringLiteral("Sag: 0.5125   Div: 1.2500   Raio: 8.1000")));
    // Without the triple no lens values.
    const Saida s2 = amb.Processa(QStringLiteral("Axial"), &ex, &op.r, &cab);
    QVERIFY(s2.texto.filter(QStringLiteral("Sag:")).isEmpty());
}

void TesteModulosMapa::visualizar_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<bool>("desenha");
    QTest::newRow("esfera 43") << 0 << true;
    QTest::newRow("tórica") << 1 << true;
    QTest::newRow("sem opções") << 2 << true;
    QTest::newRow("matrizes nulas") << 3 << false;
    QTest::newRow("anéis zero") << 4 << false;
    QTest::newRow("dioptrias NaN") << 5 << false;
    QTest::newRow("anéis acima de 32") << 6 << false;
}

void TesteModulosMapa::visualizar()
{
    QFETCH(int, caso);
    QFETCH(bool, desenha);
    ExameSintetico ex = caso == 1 ? ExameSintetico::Torica(42.0, 45.0, 90.0) : ExameSintetico::Esfera(43.0);
    Opcoes op(true, true);
    const TInfosZR* infos = caso == 2 ? nullptr : &op.r;
    if (caso == 4)
        for (auto& a : ex.aneis) a = 0;
    if (caso == 5)
        for (auto& l : ex.d) for (double& v : l) v = kNaN;
    if (caso == 6)
        for (auto& a : ex.aneis) a = 40;
    const QByteArray bmp = caso == 3 ? Visualiza(nullptr, nullptr, nullptr, infos)
                                     : Visualiza(&ex.m, &ex.aneis, &ex.d, infos);
    if (!desenha) {
        QCOMPARE(bmp.size(), 0);
        return;
    }
    QVERIFY(bmp.startsWith("BM"));
    QImage img;
    QVERIFY(img.loadFromData(bmp, "BMP"));
    QCOMPARE(img.size(), QSize(200, 200));
    // The file's own size field matches its length.
    const quint32 tamanho = quint8(bmp[2]) | quint8(bmp[3]) << 8 | quint8(bmp[4]) << 16 | quint32(quint8(bmp[5])) << 24;
    QCOMPARE(qsizetype(tamanho), bmp.size());
    const EscalaCores e = EscalaCores::Absoluta();
    if (caso != 1) {
        QCOMPARE(img.pixelColor(104, 104).rgb(), e.Cor(43.0).rgb());
    } else {
        // Small map 2.5 mm up (steep) and 2.5 mm right (flat), just off the grid lines;
        // radius 5 mm over 98 pixels.
        QCOMPARE(img.pixelColor(103, 100 - 49).rgb(), e.Cor(45.0).rgb());
        QCOMPARE(img.pixelColor(100 + 49, 103).rgb(), e.Cor(42.0).rgb());
    }
}

void TesteModulosMapa::entradaRuim_data()
{
    QTest::addColumn<int>("caso");
    QTest::addColumn<QString>("aviso");
    QTest::newRow("matrizes nulas") << 0 << "Dados do exame ausentes: posições, dioptrias, anéis por meridiano.";
    QTest::newRow("anéis zero") << 1 << "Não há dados de curvatura suficientes para desenhar o mapa.";
    QTest::newRow("anéis 33") << 2 << "Número de anéis inválido em 360 meridianos";
    QTest::newRow("dioptrias NaN") << 3 << "foram desconsiderados em 360 meridianos";
    QTest::newRow("dioptrias 150") << 4 << "foram desconsiderados em 360 meridianos";
    QTest::newRow("dioptrias 15") << 5 << "foram desconsiderados em 120 meridianos";
    QTest::newRow("sem cabeçalho") << 6 << "Cabeçalho do exame ausente.";
    QTest::newRow("cabeçalho vazio") << 7 << "Cabeçalho do exame ausente.";
    QTest::newRow("sem opções") << 8 << "";
    QTest::newRow("fator absurdo") << 9 << "Fator de correção inválido";
}

// Bad examinations: the window still comes up, says what was wrong and never crashes.
void TesteModulosMapa::entradaRuim()
{
    QFETCH(int, caso);
    QFETCH(QString, aviso);
    Ambiente amb;
    ExameSintetico ex = ExameSintetico::Esfera(43.0);
    Opcoes op;
    const QStringList cab = CabecalhoExemplo(QStringLiteral("Ruim"));
    const QStringList vazio;
    const QStringList* c = &cab;
    const TInfosZR* infos = &op.r;
    switch (caso) {
    case 1: for (auto& a : ex.aneis) a = 0; break;
    case 2: for (auto& a : ex.aneis) a = 33; break;
    case 3: for (auto& l : ex.d) l[3] = kNaN; break;
    case 4: for (auto& l : ex.d) l[12] = 150.0; break;
    case 5: for (int k = 0; k < 120; ++k) ex.d[k][8] = 15.0; break;
    case 6: c = nullptr; break;
    case 7: c = &vazio; break;
    case 8: infos = nullptr; break;
    case 9: op.r.FatorCorrecao = 1e9; break;
    }
    for (const QString& modulo : {QStringLiteral("Axial"), QStringLiteral("Tangencial")}) {
        const Saida s = amb.Processa(modulo, caso == 0 ? nullptr : &ex, infos, c);
        QVERIFY2(!s.janela.isNull(), qPrintable(modulo));
        QVERIFY(!s.mapa.isNull());
        if (!aviso.isEmpty())
            QVERIFY2(s.texto.join(u'\n').contains(QStringLiteral("Aviso: ") + aviso) ||
                         s.texto.filter(QStringLiteral("Aviso:")).join(u'\n').contains(aviso),
                     qPrintable(s.texto.join(u'|')));
        else
            QVERIFY(s.texto.filter(QStringLiteral("Aviso:")).isEmpty());
    }
}

// The window itself: images in the side panel, the value under the pointer.
void TesteModulosMapa::janela()
{
    const ExameSintetico ex = ExameSintetico::Esfera(43.0);
    DadosJanelaMapa d;
    d.cabecalho = CabecalhoExemplo(QStringLiteral("Central01"));
    QImage central(640, 480, QImage::Format_RGB32);
    central.fill(Qt::darkGray);
    d.central = central;
    OpcoesMapa o;
    TfrmMapa frm(MapaCurvatura::Axial,
                 std::make_unique<MapaCurvatura>(MapaCurvatura::Axial, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator),
                 d, o, nullptr);
    frm.show();
    QVERIFY(frm.findChild<QLabel*>(QStringLiteral("imgCentral")));
    QVERIFY(!frm.findChild<QLabel*>(QStringLiteral("imgLateral")));
    QVERIFY(!frm.findChild<QWidget*>(QStringLiteral("gbOrto")));
    auto* cursor = frm.findChild<QLabel*>(QStringLiteral("lblCursor"));
    QVERIFY(cursor);
    frm.MostraCursor(true, 1.0, -1.0); // 1.41 mm at 45 degrees
    QVERIFY2(cursor->text().contains(QStringLiteral("Potência: 43.00 D")), qPrintable(cursor->text()));
    QVERIFY(cursor->text().contains(QStringLiteral("Raio: 7.85 mm")));
    QVERIFY(cursor->text().contains(QStringLiteral("r 1.41 mm, 45°")));
    frm.MostraCursor(true, 5.5, 0.0);
    QCOMPARE(cursor->text(), QStringLiteral("Sem dados neste ponto."));
    // The pointer over the map widget moves the value.
    auto* mapa = frm.findChild<TMapaWidget*>(QStringLiteral("imgMapa"));
    QVERIFY(mapa);
    double x, y;
    QVERIFY(mapa->PontoMm(QPointF(mapa->width() / 2.0, mapa->height() / 2.0), x, y));
    QVERIFY(std::fabs(x) < 0.05 && std::fabs(y) < 0.05);
    QTest::mouseMove(mapa, QPoint(mapa->width() / 2 + 10, mapa->height() / 2));
    QVERIFY(cursor->text().contains(QStringLiteral("Potência: 43.00 D")));
}

void TesteModulosMapa::exportacao()
{
    const ExameSintetico ex = ExameSintetico::Esfera(43.0);
    DadosJanelaMapa d;
    d.cabecalho = CabecalhoExemplo(QStringLiteral("Central01"));
    TfrmMapa frm(MapaCurvatura::Tangencial,
                 std::make_unique<MapaCurvatura>(MapaCurvatura::Tangencial, &ex.m, &ex.aneis, &ex.d, ExameSintetico::kFator),
                 d, OpcoesMapa(), nullptr);
    frm.show();
    QTemporaryDir pasta;
    const QString png = pasta.filePath(QStringLiteral("mapa.png"));
    const QString pdf = pasta.filePath(QStringLiteral("mapa.pdf"));
    MensagensRoteiro msgs;
    QVERIFY(frm.ExportaPng(png));
    QVERIFY(frm.ExportaPdf(pdf));
    QImage img(png);
    QVERIFY(img.width() > 500 && img.height() > 400);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(f.size() > 10000);
    QVERIFY(msgs.Registros().isEmpty());
    // A folder that does not exist: the failure is reported, not passed over.
    const QString ruim = pasta.filePath(QStringLiteral("não/existe/mapa.png"));
    QVERIFY(!frm.ExportaPng(ruim));
    QCOMPARE(msgs.Textos().size(), 1);
    QVERIFY(msgs.Textos().at(0).startsWith(QStringLiteral("Não foi possível gravar o arquivo")));
    QVERIFY(!QFile::exists(ruim));
    QVERIFY(!frm.ExportaPdf(pasta.filePath(QStringLiteral("não/existe/mapa.pdf"))));
    QCOMPARE(msgs.Textos().size(), 2);
}

void TesteModulosMapa::exemplos_data()
{
    QTest::addColumn<QString>("exemplo");
    QTest::newRow("Normal01") << "Normal01";
    QTest::newRow("Regular01") << "Regular01";
    QTest::newRow("Central01") << "Central01";
}

// The instrument's examples through both modules: drawn, with keratometry that fits the
// class of the example.
void TesteModulosMapa::exemplos()
{
    QFETCH(QString, exemplo);
    TBMapOperation leitor;
    MensagensRoteiro msgs;
    QVERIFY(CarregaExemplo(leitor, exemplo));
    ExameSintetico ex = ExameSintetico::Esfera(43.0);
    leitor.CopiaPosicoes(ex.m);
    leitor.CopiaDioptrias(ex.d);
    leitor.CopiaAneis(ex.aneis);
    leitor.CopiaPupila(ex.pupila);
    ex.centroX = leitor.CentroX();
    ex.centroY = leitor.CentroY();
    Opcoes op(true, true);
    op.r.ExibeCeratPontual = 1;
    const QStringList cab = CabecalhoExemplo(exemplo);
    Ambiente amb;
    for (const QString& modulo : {QStringLiteral("Axial"), QStringLiteral("Tangencial")}) {
        const Saida s = amb.Processa(modulo, &ex, &op.r, &cab);
        QVERIFY(!s.janela.isNull());
        QVERIFY2(s.texto.filter(QStringLiteral("Aviso:")).isEmpty(), qPrintable(s.texto.join(u'|')));
        const QString k1 = s.texto.filter(QStringLiteral("K1:")).value(0);
        const QString cil = s.texto.filter(QStringLiteral("Cil:")).value(0);
        QVERIFY(!k1.isEmpty() && !cil.isEmpty());
        const double k = k1.mid(4, 5).toDouble();
        const double c = cil.mid(5, 4).toDouble();
        QVERIFY2(k > 38 && k < 60, qPrintable(k1));
        if (exemplo == QLatin1String("Regular01"))
            QVERIFY2(c >= 1.0, qPrintable(cil)); // a bow tie
        if (exemplo == QLatin1String("Normal01"))
            QVERIFY2(c < 1.5, qPrintable(cil));
        // The indices panel: its reading follows the class of the example.
        const QString leitura = s.texto.filter(QStringLiteral("Índices: Leitura:")).value(0);
        QVERIFY2(!s.texto.filter(QStringLiteral("Índices: I-S:")).isEmpty(), qPrintable(s.texto.join(u'|')));
        QVERIFY2(leitura.endsWith(QStringLiteral("normal")) == !exemplo.startsWith(QLatin1String("Central")),
                 qPrintable(leitura));
        const QString destino = qEnvironmentVariable("ZR_TESTE_CAPTURAS");
        if (!destino.isEmpty())
            s.janela.save(QDir(destino).filePath(exemplo + QStringLiteral("-") + modulo + QStringLiteral(".png")));
    }
    // The small map of the example.
    const QByteArray bmp = Visualiza(&ex.m, &ex.aneis, &ex.d, &op.r);
    QImage img;
    QVERIFY(img.loadFromData(bmp, "BMP"));
    QCOMPARE(img.size(), QSize(200, 200));
}

// Next to the gaps the lids leave, the tangential map keeps no value drawn from the edge of
// the measured data: the outermost value of every meridian lies within 3 D of the values at
// the same radius on the meridians round it (on today's examples the edge rings reached
// 12 to 18 D above them).
void TesteModulosMapa::bordasTangenciais_data()
{
    QTest::addColumn<QString>("exemplo");
    QTest::newRow("Central01") << "Central01";
    QTest::newRow("Irregular01") << "Irregular01";
}

void TesteModulosMapa::bordasTangenciais()
{
    QFETCH(QString, exemplo);
    TBMapOperation leitor;
    QVERIFY(CarregaExemplo(leitor, exemplo));
    const MapaCurvatura mapa(MapaCurvatura::Tangencial, &leitor.Posicoes(), &leitor.AneisPorMeridiano(),
                             &leitor.Dioptrias(), ExameSintetico::kFator);
    QVERIFY(mapa.TemDados());
    auto ultima = [&](int meridiano) {
        int c = TBFuncoesMapas::kCelulas - 1;
        while (c > 0 && !(mapa.Celula(meridiano, c) > 0.0))
            --c;
        return c;
    };
    for (int i = 1; i <= 360; ++i) {
        const int c = ultima(i);
        if (c == 0)
            continue;
        std::vector<double> roda;
        for (int d = -15; d <= 15; ++d) {
            const double v = mapa.Celula((i + d + 359) % 360 + 1, c);
            if (d != 0 && v > 0.0)
                roda.push_back(v);
        }
        if (roda.size() < 5)
            continue;
        std::nth_element(roda.begin(), roda.begin() + roda.size() / 2, roda.end());
        const double mediana = roda[roda.size() / 2];
        QVERIFY2(std::abs(mapa.Celula(i, c) - mediana) <= 3.0,
                 qPrintable(QStringLiteral("meridiano %1, célula %2: %3 D, em volta %4 D")
                                .arg(i).arg(c).arg(mapa.Celula(i, c)).arg(mediana)));
    }
}

// A real irregular astigmatism has no seam: between the two meridians on either side of the
// 90-270 line the axial map changes no more than between the neighbours far from it (the
// mean difference over the cells both hold).
void TesteModulosMapa::costuraIrregular_data()
{
    QTest::addColumn<QString>("exemplo");
    for (int i = 1; i <= 6; ++i)
        QTest::newRow(qPrintable(QStringLiteral("Irregular%1").arg(i, 2, 10, QLatin1Char('0'))))
            << QStringLiteral("Irregular%1").arg(i, 2, 10, QLatin1Char('0'));
}

void TesteModulosMapa::costuraIrregular()
{
    QFETCH(QString, exemplo);
    TBMapOperation leitor;
    QVERIFY(CarregaExemplo(leitor, exemplo));
    const MapaCurvatura mapa(MapaCurvatura::Axial, &leitor.Posicoes(), &leitor.AneisPorMeridiano(),
                             &leitor.Dioptrias(), ExameSintetico::kFator);
    QVERIFY(mapa.TemDados());
    double costura = 0.0, longe = 0.0;
    for (int i = 1; i <= 360; ++i) {
        const int j = i % 360 + 1;
        double soma = 0.0;
        int n = 0;
        for (int c = 1; c < TBFuncoesMapas::kCelulas; ++c)
            if (mapa.Celula(i, c) > 0.0 && mapa.Celula(j, c) > 0.0) {
                soma += std::abs(mapa.Celula(i, c) - mapa.Celula(j, c));
                ++n;
            }
        const double salto = n > 0 ? soma / n : 0.0;
        const int distancia = std::min(std::abs(i - 90), std::abs(i - 270));
        if (distancia <= 1)
            costura = std::max(costura, salto);
        else if (distancia >= 10)
            longe = std::max(longe, salto);
    }
    QVERIFY2(costura <= longe, qPrintable(QStringLiteral("%1 D na linha de 90-270, %2 D longe dela").arg(costura).arg(longe)));
}

QTEST_MAIN(TesteModulosMapa)
#include "tst_modulos_mapa.moc"
