// The capture and processing modules loaded as the workstation loads them: calibration with
// the four reference spheres, examinations of model corneas read back as keratometry, the
// capture window, and the bad inputs that must fail without touching the outputs.

#include "calibration/UCoeficientesCalib.h"
#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "topography/UBFuncoesMapas.h"
#include "topography/UIndicesCeratocone.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstring>
#include <memory>

using namespace zrmod;

namespace {

struct Exame {
    double centroX = -1, centroY = -1;
    TMatrizAngAnel m;
    TAneisMeridiano aneis;
    TMatrizAngAnel d;
    TDadosPupila pupila;
    double indice = -1;
    Exame()
    {
        // Sentinels: a failed call must leave every one of them.
        for (int k = 0; k < 360; ++k) {
            aneis[k] = -7;
            for (int j = 0; j < 33; ++j)
                m[k][j] = d[k][j] = -7.0;
        }
        std::memset(pupila, 0, sizeof pupila);
    }
    bool Intacto() const
    {
        for (int k = 0; k < 360; ++k) {
            if (aneis[k] != -7)
                return false;
            for (int j = 0; j < 33; ++j)
                if (m[k][j] != -7.0 || d[k][j] != -7.0)
                    return false;
        }
        return centroX == -1 && centroY == -1 && indice == -1 && pupila[0] == 0;
    }
};

class Ambiente {
public:
    Ambiente()
    {
        m_calib = m_pasta.path() + QStringLiteral("/Calibração/");
        QDir().mkpath(m_calib);
        m_calibTexto = m_calib.toLatin1();
        m_calibTexto = QByteArray(ParaCp1252(m_calib));
        m_paths.Calibracao = m_calibTexto.constData();
        m_infos.FatorCorrecao = 0.02;
        m_infos.NumAneis = 16;
    }
    QString Calibracao() const { return m_calib; }
    TInfosZR* Infos() { return &m_infos; }
    const TPathsZR* Paths() const { return &m_paths; }

private:
    QTemporaryDir m_pasta;
    QString m_calib;
    QByteArray m_calibTexto;
    TInfosZR m_infos{};
    TPathsZR m_paths{};
};

// Captures through the capture module; the central image's bytes.
QByteArray Captura(int olho, const QString& legenda, TInfosZR* infos, QByteArray* lateral = nullptr)
{
    if (!LoadCapturaDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO)))
        return QByteArray("<sem módulo>");
    BufferMemoria central, lat;
    const QByteArray texto = ParaCp1252(legenda);
    CapturaDLL.Digitalizar(nullptr, central.Stream(), lat.Stream(), olho, infos, texto.constData());
    FreeCapturaDLL();
    if (lateral)
        *lateral = lat.Bytes();
    return central.Bytes();
}

int32_t Processa(const QByteArray& imagem, Exame& e, Ambiente& amb)
{
    if (!LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)))
        return -100;
    BufferMemoria central(imagem);
    const int32_t r = ProcDLL.ProcessaImagem(nullptr, central.Stream(), &e.centroX, &e.centroY, &e.m, &e.aneis,
                                             &e.d, &e.pupila, &e.indice, amb.Infos(), amb.Paths());
    FreeProcDLL();
    return r;
}

// Calibrates the environment with the four reference spheres through both modules and the
// coefficient fitting; the four sphere files' texts.
bool Calibra(Ambiente& amb, QList<QStringList>* arquivos = nullptr)
{
    const char* raios[4] = {"7,73", "8,05", "8,34", "8,91"};
    for (int s = 0; s < 4; ++s) {
        const QByteArray imagem = Captura(2, QStringLiteral("Digitalizando Esfera (%1)").arg(QLatin1String(raios[s])), amb.Infos());
        if (imagem.size() < 10 || !LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)))
            return false;
        BufferMemoria entrada(imagem), saida;
        const int32_t r = ProcDLL.ProcessaEsfera(nullptr, entrada.Stream(), raios[s], saida.Stream(), amb.Infos());
        FreeProcDLL();
        if (r != 1 || saida.Vazio())
            return false;
        GravaArquivoBytes(amb.Calibracao() + QStringLiteral("%1.txt").arg(s + 1), saida.Bytes());
        if (arquivos)
            *arquivos << DivideLinhas(DeCp1252(saida.Bytes()));
    }
    return GravaCoeficientes(amb.Calibracao(), amb.Infos()->NumAneis);
}

class Caso {
public:
    explicit Caso(const QString& nome)
    {
        qputenv("ZR_MODULOS_AUTOMATICO", "1");
        qputenv("ZR_SIMULADOR_CASO", nome.toUtf8());
    }
    ~Caso() { qunsetenv("ZR_SIMULADOR_CASO"); }
};

TDadosCeratometria Ceratometria(Exame& e, double fator)
{
    TBFuncoesMapas f(e.d, e.m, e.aneis, fator);
    f.CalculaMapa(TBFuncoesMapas::MapaAxial);
    TDadosCeratometria k;
    f.Ceratometria(k, 1.5);
    return k;
}

QByteArray Bmp(const QImage& imagem)
{
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    imagem.save(&b, "BMP");
    return bytes;
}

} // namespace

class TesteModulos : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void informacao();
    void calibracaoReproduzEsferas_data();
    void calibracaoReproduzEsferas();
    void esferaDe78();
    void toricaRecuperaEixo_data();
    void toricaRecuperaEixo();
    void ceratoconeIndices_data();
    void ceratoconeIndices();
    void entradasRuins_data();
    void entradasRuins();
    void raioDeEsferaRuim();
    void calibracaoRuim_data();
    void calibracaoRuim();
    void esferaSemRaio_data();
    void esferaSemRaio();
    void janelaDeCaptura();
    void janelaInterativa_data();
    void janelaInterativa();
};

void TesteModulos::initTestCase()
{
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    QVERIFY(LoadCapturaDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO)));
    FreeCapturaDLL();
    QVERIFY(LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)));
    FreeProcDLL();
}

void TesteModulos::informacao()
{
    QStringList linhas;
    QVERIFY(LeInfoModulo(QStringLiteral(ZR_MODULO_DIGITALIZACAO), InfoDeModulo, linhas));
    QVERIFY(linhas.value(0).contains(QStringLiteral("Digitalização simulada")));
    QVERIFY(LeInfoModulo(QStringLiteral(ZR_MODULO_PROCESSAMENTO), InfoDeModulo, linhas));
    QVERIFY(linhas.value(0).startsWith(QStringLiteral("Processamento de imagem")));
}

void TesteModulos::calibracaoReproduzEsferas_data()
{
    QTest::addColumn<int>("aneis");
    QTest::newRow("16 anéis") << 16;
    QTest::newRow("32 anéis") << 32;
}

void TesteModulos::calibracaoReproduzEsferas()
{
    QFETCH(int, aneis);
    Ambiente amb;
    amb.Infos()->NumAneis = aneis;
    QList<QStringList> arquivos;
    QVERIFY(Calibra(amb, &arquivos));
    const QStringList coef = LeArquivoTexto(amb.Calibracao() + QStringLiteral("Coef.txt"));
    QCOMPARE(coef.size(), 2 * aneis);
    const double raios[4] = {7.73, 8.05, 8.34, 8.91};
    const char* textos[4] = {"7,73", "8,05", "8,34", "8,91"};
    for (int s = 0; s < 4; ++s) {
        QCOMPARE(arquivos[s].size(), aneis + 1);
        QCOMPARE(arquivos[s][0].toDouble(), raios[s]);
        // Every ring of every sphere, read through its coefficients, gives the sphere back
        // (the innermost of 32 rings lies 7 pixels out, where 0.01 mm is 0.01 pixel).
        for (int j = 1; j <= aneis; ++j) {
            const double r = coef[2 * (j - 1)].toDouble() + coef[2 * (j - 1) + 1].toDouble() * arquivos[s][j].toDouble();
            QVERIFY2(std::abs(r - raios[s]) < (aneis == 16 || j > 1 ? 0.005 : 0.01),
                     qPrintable(QStringLiteral("esfera %1 anel %2: %3").arg(raios[s]).arg(j).arg(r)));
        }
        // A new capture of the sphere, processed as an examination, measures its radius.
        auto e = std::make_unique<Exame>();
        const QByteArray imagem = Captura(2, QStringLiteral("Digitalizando Esfera (%1)").arg(QLatin1String(textos[s])), amb.Infos());
        QCOMPARE(Processa(imagem, *e, amb), 1);
        double soma = 0;
        int n = 0;
        for (int k = 0; k < 360; ++k)
            for (int j = 1; j <= e->aneis[k]; ++j, ++n)
                soma += 337.5 / e->d[k][j];
        QVERIFY(n > 300 * aneis);
        QVERIFY2(std::abs(soma / n - raios[s]) < 0.005, qPrintable(QString::number(soma / n, 'f', 4)));
    }
}

void TesteModulos::esferaDe78()
{
    Ambiente amb;
    QVERIFY(Calibra(amb));
    Caso caso(QStringLiteral("esfera 7.8"));
    auto e = std::make_unique<Exame>();
    QCOMPARE(Processa(Captura(1, QStringLiteral("Digitalizando Imagem do Olho"), amb.Infos()), *e, amb), 1);
    QVERIFY(e->indice > 85.0 && e->indice <= 100.0);
    QVERIFY(std::abs(e->centroX - 320.0) < 1.0 && std::abs(e->centroY - 240.0) < 1.0);
    // 337.5 / 7.8 = 43.27 D all over, and as simulated keratometry within 1.5 mm.
    const TDadosCeratometria k = Ceratometria(*e, 0.02);
    QVERIFY2(std::abs(k.K1 - 43.269) < 0.05 && std::abs(k.K2 - 43.269) < 0.05,
             qPrintable(QStringLiteral("%1 %2").arg(k.K1).arg(k.K2)));
    int pontos = 0;
    double quad = 0;
    for (int k2 = 0; k2 < 360; ++k2) {
        QVERIFY(e->aneis[k2] >= 0 && e->aneis[k2] <= 16);
        QCOMPARE(e->m[k2][0], 0.0);
        for (int j = 1; j <= e->aneis[k2]; ++j, ++pontos)
            quad += std::pow(e->d[k2][j] - 43.269, 2);
        for (int j = e->aneis[k2] + 1; j < 33; ++j)
            QVERIFY(e->d[k2][j] == 0.0 && e->m[k2][j] == 0.0);
    }
    QVERIFY(pontos > 360 * 12);
    // Point by point: two standard deviations about the truth under 0.10 D.
    QVERIFY2(2.0 * std::sqrt(quad / pontos) < 0.10, qPrintable(QString::number(2.0 * std::sqrt(quad / pontos))));
    // The pupil lies behind the rings, a little nasal of the apex: found, about 1.7 mm.
    QCOMPARE(e->pupila[3], 1);
    QVERIFY(std::abs(e->pupila[2] * 0.02 - 1.7) < 0.2);
}

void TesteModulos::toricaRecuperaEixo_data()
{
    QTest::addColumn<double>("plano");
    QTest::addColumn<double>("curvo");
    QTest::addColumn<int>("eixo");
    QTest::newRow("2.3 D a 30") << 7.9 << 7.5 << 30;
    QTest::newRow("4.4 D a 90") << 8.1 << 7.35 << 90;
    QTest::newRow("1 D a 165") << 7.8 << 7.62 << 165;
}

void TesteModulos::toricaRecuperaEixo()
{
    QFETCH(double, plano);
    QFETCH(double, curvo);
    QFETCH(int, eixo);
    Ambiente amb;
    QVERIFY(Calibra(amb));
    Caso caso(QStringLiteral("torica %1 %2 %3").arg(plano).arg(curvo).arg(eixo));
    auto e = std::make_unique<Exame>();
    QCOMPARE(Processa(Captura(1, QStringLiteral("Digitalizando Imagem do Olho"), amb.Infos()), *e, amb), 1);
    // The steep axis from the axial powers within 1.5 mm (75 pixels): each meridian's mean,
    // A(t) = A0 + a cos 2t + b sin 2t, greatest at t = atan2(b, a) / 2; meridian t runs with
    // the image's y downwards, so its clinical axis is 180 - t.
    double a = 0, b = 0;
    for (int k2 = 1; k2 <= 360; ++k2) {
        double soma = 0;
        int n = 0;
        for (int j = 1; j <= e->aneis[k2 - 1] && e->m[k2 - 1][j] <= 75.0; ++j, ++n)
            soma += e->d[k2 - 1][j];
        QVERIFY(n >= 4);
        a += soma / n * std::cos(2.0 * k2 * M_PI / 180.0);
        b += soma / n * std::sin(2.0 * k2 * M_PI / 180.0);
    }
    const double eixoMedido = std::fmod(180.0 - std::atan2(b, a) / 2.0 * 180.0 / M_PI + 360.0, 180.0);
    double erro = std::abs(eixoMedido - eixo);
    erro = std::min(erro, 180.0 - erro);
    QVERIFY2(erro <= 1.0, qPrintable(QString::number(eixoMedido)));
    // The keratometry's own steepest pair lies near it.
    const TDadosCeratometria k = Ceratometria(*e, 0.02);
    int erroPar = std::abs(int(k.Eixo1) - eixo);
    erroPar = std::min(erroPar, 180 - erroPar);
    QVERIFY2(erroPar <= 6, qPrintable(QString::number(k.Eixo1)));
    // In its principal meridians a toric reflects like circles of its two radii.
    const double cilindro = 337.5 / curvo - 337.5 / plano;
    QVERIFY2(std::abs(k.DifK - cilindro) < 0.10, qPrintable(QStringLiteral("%1 %2").arg(k.DifK).arg(cilindro)));
    QVERIFY(std::abs(k.K1 - 337.5 / curvo) < 0.1);
}

void TesteModulos::entradasRuins_data()
{
    QTest::addColumn<QByteArray>("imagem");
    QImage cinza(640, 480, QImage::Format_Grayscale8);
    cinza.fill(90);
    const QByteArray bom = Bmp(cinza);
    QByteArray png;
    {
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        cinza.save(&b, "PNG");
    }
    QTest::newRow("vazia") << QByteArray();
    QTest::newRow("só o cabeçalho") << bom.left(54);
    QTest::newRow("truncada") << bom.left(bom.size() / 3);
    QTest::newRow("PNG") << png;
    QTest::newRow("texto") << QByteArray("BM não é um bitmap\r\n");
    QTest::newRow("sem anéis") << bom;
}

void TesteModulos::entradasRuins()
{
    QFETCH(QByteArray, imagem);
    Ambiente amb;
    QVERIFY(Calibra(amb));
    auto e = std::make_unique<Exame>();
    QVERIFY(Processa(imagem, *e, amb) != 1);
    QVERIFY(e->Intacto());
    // ProcessaEsfera refuses it as well and writes nothing.
    QVERIFY(LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)));
    BufferMemoria entrada(imagem), saida;
    QVERIFY(ProcDLL.ProcessaEsfera(nullptr, entrada.Stream(), "7,73", saida.Stream(), amb.Infos()) != 1);
    FreeProcDLL();
    QVERIFY(saida.Vazio());
}

// A sphere radius no reference sphere has is refused before anything is measured.
void TesteModulos::raioDeEsferaRuim()
{
    Ambiente amb;
    const QByteArray imagem = Captura(2, QStringLiteral("Digitalizando Esfera (7,73)"), amb.Infos());
    QVERIFY(imagem.startsWith("BM"));
    QVERIFY(LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)));
    for (const char* raio : {"1e308", "4,9", "12,1", "-7,73", "7,73"}) {
        BufferMemoria entrada(imagem), saida;
        const int32_t r = ProcDLL.ProcessaEsfera(nullptr, entrada.Stream(), raio, saida.Stream(), amb.Infos());
        const bool aceito = QByteArray(raio) == "7,73";
        QVERIFY2((r == 1) == aceito, raio);
        QCOMPARE(saida.Vazio(), !aceito);
    }
    FreeProcDLL();
}

void TesteModulos::calibracaoRuim_data()
{
    QTest::addColumn<QByteArray>("coef");
    QTest::addColumn<bool>("existe");
    QByteArray curto;
    for (int j = 0; j < 10; ++j)
        curto += "0.1\r\n0.5\r\n";
    QByteArray lixo = curto + curto;
    lixo.replace(20, 3, "x.y");
    QTest::newRow("ausente") << QByteArray() << false;
    QTest::newRow("vazio") << QByteArray() << true;
    QTest::newRow("curto") << curto << true;
    QTest::newRow("valor inválido") << lixo << true;
    QTest::newRow("zeros") << QByteArray("0\r\n").repeated(32) << true;
    // Numbers that read well and make no cornea.
    QTest::newRow("inclinação 1e308") << QByteArray("0.1\r\n1e308\r\n").repeated(32) << true;
    QTest::newRow("1e300") << QByteArray("1e300\r\n1e300\r\n").repeated(32) << true;
    QTest::newRow("-1e300 e 1e300") << QByteArray("-1e300\r\n1e300\r\n").repeated(32) << true;
    QTest::newRow("raios de 1 mm") << QByteArray("1\r\n0.0001\r\n").repeated(32) << true;
}

void TesteModulos::calibracaoRuim()
{
    QFETCH(QByteArray, coef);
    QFETCH(bool, existe);
    Ambiente amb;
    if (existe)
        GravaArquivoBytes(amb.Calibracao() + QStringLiteral("Coef.txt"), coef);
    Caso caso(QStringLiteral("Normal01"));
    const QByteArray imagem = Captura(1, QStringLiteral("Digitalizando Imagem do Olho"), amb.Infos());
    QVERIFY(imagem.startsWith("BM"));
    auto e = std::make_unique<Exame>();
    const int32_t r = Processa(imagem, *e, amb);
    QCOMPARE(r, 3);
    QVERIFY(e->Intacto());
}

void TesteModulos::esferaSemRaio_data()
{
    QTest::addColumn<int>("olho");
    QTest::addColumn<QString>("legenda");
    QTest::addColumn<bool>("captura");
    QTest::newRow("esfera com vírgula") << 2 << QStringLiteral("Digitalizando Esfera (8,34)") << true;
    QTest::newRow("esfera com ponto") << 2 << QStringLiteral("Digitalizando Esfera (8.34)") << true;
    QTest::newRow("esfera sem raio") << 2 << QStringLiteral("Digitalizando Esfera") << false;
    QTest::newRow("raio absurdo") << 2 << QStringLiteral("Digitalizando Esfera (0,5)") << false;
    QTest::newRow("olho inexistente") << 5 << QStringLiteral("Digitalizando Imagem do Olho") << false;
    QTest::newRow("olho esquerdo") << 0 << QStringLiteral("Digitalizando Imagem do Olho") << true;
}

void TesteModulos::esferaSemRaio()
{
    QFETCH(int, olho);
    QFETCH(QString, legenda);
    QFETCH(bool, captura);
    Ambiente amb;
    QByteArray lateral;
    const QByteArray central = Captura(olho, legenda, amb.Infos(), &lateral);
    QCOMPARE(!central.isEmpty(), captura);
    QCOMPARE(!lateral.isEmpty(), captura);
    if (captura) {
        const QImage c = QImage::fromData(central, "BMP"), l = QImage::fromData(lateral, "BMP");
        QCOMPARE(c.size(), QSize(640, 480));
        QCOMPARE(l.size(), QSize(640, 480));
    }
}

void TesteModulos::janelaDeCaptura()
{
    // In batch use with an output folder the module shows its window, saves it and
    // captures what it showed.
    QTemporaryDir saida;
    qputenv("ZR_MODULOS_SAIDA", saida.path().toUtf8());
    Caso caso(QStringLiteral("Ceratocone central"));
    Ambiente amb;
    QWidget pai;
    QVERIFY(LoadCapturaDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO)));
    BufferMemoria central, lateral;
    CapturaDLL.Digitalizar(&pai, central.Stream(), lateral.Stream(), 1, amb.Infos(), "Digitalizando Imagem do Olho");
    FreeCapturaDLL();
    qunsetenv("ZR_MODULOS_SAIDA");
    const QImage janela(saida.filePath(QStringLiteral("Digitalizacao.png")));
    QVERIFY(!janela.isNull());
    QVERIFY(janela.width() >= 640 && janela.height() > 480);
    QVERIFY(!central.Vazio());
    if (!qEnvironmentVariableIsEmpty("ZR_CAPTURAS_TESTE")) {
        QFile::copy(saida.filePath(QStringLiteral("Digitalizacao.png")),
                    QDir(qEnvironmentVariable("ZR_CAPTURAS_TESTE")).filePath(QStringLiteral("janela_captura.png")));
        QImage::fromData(central.Bytes(), "BMP").save(QDir(qEnvironmentVariable("ZR_CAPTURAS_TESTE")).filePath(QStringLiteral("central.png")));
        QImage::fromData(lateral.Bytes(), "BMP").save(QDir(qEnvironmentVariable("ZR_CAPTURAS_TESTE")).filePath(QStringLiteral("lateral.png")));
    }
}

void TesteModulos::janelaInterativa_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<bool>("captura");
    QTest::newRow("esfera escolhida e capturada") << QStringLiteral("Esfera 7,80 mm") << true;
    QTest::newRow("cancelada") << QString() << false;
}

void TesteModulos::janelaInterativa()
{
    QFETCH(QString, caso);
    QFETCH(bool, captura);
    // A person at the instrument: the window opens over the caller's, the cornea is chosen
    // in the list, and "Capturar" keeps the frame on the screen; "Cancelar" keeps nothing.
    qunsetenv("ZR_MODULOS_AUTOMATICO");
    Ambiente amb;
    QVERIFY(Calibra(amb));
    QWidget pai;
    QString titulo, olho;
    bool viu = false;
    QTimer::singleShot(50, this, [&] {
        auto* janela = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!janela)
            return;
        viu = true;
        // Deep copies: a text literal of the module lives in the module, which is unloaded
        // before the checks below.
        titulo = QString::fromUtf8(janela->windowTitle().toUtf8());
        if (auto* l = janela->findChild<QLabel*>(QStringLiteral("lblOlho")))
            olho = QString::fromUtf8(l->text().toUtf8());
        if (captura) {
            auto* lista = janela->findChild<QComboBox*>(QStringLiteral("cbxCaso"));
            if (lista)
                lista->setCurrentText(caso);
            if (auto* b = janela->findChild<QPushButton*>(QStringLiteral("btnCapturar")))
                b->click();
        } else if (auto* b = janela->findChild<QPushButton*>(QStringLiteral("btnCancelar"))) {
            b->click();
        }
        // Whatever happened, the window must not stay open.
        QTimer::singleShot(2000, janela, [janela] { janela->reject(); });
    });
    QVERIFY(LoadCapturaDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO)));
    BufferMemoria central, lateral;
    CapturaDLL.Digitalizar(&pai, central.Stream(), lateral.Stream(), 0, amb.Infos(), "Digitalizando Imagem do Olho");
    FreeCapturaDLL();
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    QVERIFY(viu);
    QCOMPARE(titulo, QStringLiteral("Digitalizando Imagem do Olho"));
    QCOMPARE(olho, QStringLiteral("Olho Esquerdo"));
    QCOMPARE(!central.Vazio(), captura);
    QCOMPARE(!lateral.Vazio(), captura);
    if (!captura)
        return;
    // The frame is of the sphere chosen: 43.27 D wherever measured.
    auto e = std::make_unique<Exame>();
    QCOMPARE(Processa(central.Bytes(), *e, amb), 1);
    double soma = 0;
    int n = 0;
    for (int k = 0; k < 360; ++k)
        for (int j = 1; j <= e->aneis[k]; ++j, ++n)
            soma += e->d[k][j];
    QVERIFY(n > 360 * 12);
    QVERIFY2(std::abs(soma / n - 43.269) < 0.05, qPrintable(QString::number(soma / n)));
}

void TesteModulos::ceratoconeIndices_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<double>("x"); // the cone's centre, mm (y up)
    QTest::addColumn<double>("y");
    QTest::newRow("cone 1.5 mm inferior") << "ceratocone 7.7 -0.2 20 1.0 0 -1.5" << 0.0 << -1.5;
    QTest::newRow("cone central") << "ceratocone 7.6 -0.25 25 1.1 0.2 -0.3" << 0.2 << -0.3;
}

// A keratoconus model captured and measured by the instrument: the screening flags it and
// the steepest point lies over the cone.
void TesteModulos::ceratoconeIndices()
{
    QFETCH(QString, caso);
    QFETCH(double, x);
    QFETCH(double, y);
    Ambiente amb;
    QVERIFY(Calibra(amb));
    Caso c(caso);
    auto e = std::make_unique<Exame>();
    QCOMPARE(Processa(Captura(1, QStringLiteral("Digitalizando Imagem do Olho"), amb.Infos()), *e, amb), 1);
    const TIndicesCeratocone ind = CalculaIndicesCeratocone(e->m, e->aneis, e->d, 0.02);
    const QString info = ind.Linhas().join(QStringLiteral(" | "));
    QVERIFY2(ind.leitura != LeituraIndice::Normal, qPrintable(info));
    QVERIFY2(ind.kMax.valido && std::hypot(ind.kMaxX - x, ind.kMaxY - y) < 0.5, qPrintable(info));
}

QTEST_MAIN(TesteModulos)
#include "tst_modulos.moc"
