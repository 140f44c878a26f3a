// The ortho-k capture and processing modules loaded as the workstation loads them: four
// frames of one eye, their texts and lens values against the model surface, the capture
// window, and the bad inputs that must fail without writing anything.

#include "calibration/UCoeficientesCalib.h"
#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "plugins/instrumento/UBitmap.h"
#include "plugins/instrumento/UCasosModelo.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>

using namespace zrmod;

namespace {

const QString kCaptura = QStringLiteral(ZR_MODULO_DIGITALIZACAO_ORTO);
const QString kProcesso = QStringLiteral(ZR_MODULO_PROCESSAMENTO_ORTO);

// Eight buffers of one capture.
struct Quatro {
    QuatroBuffersModulo centrais, laterais;
    bool Vazios()
    {
        for (int i = 0; i < 4; ++i)
            if (!centrais.Buffer(i).Vazio() || !laterais.Buffer(i).Vazio())
                return false;
        return true;
    }
};

struct Saidas {
    BufferMemoria posicoes, dioptrias, valores;
    double indices[4] = {-7, -7, -7, -7};
    bool Intactas() const
    {
        return posicoes.Vazio() && dioptrias.Vazio() && valores.Vazio() && indices[0] == -7 && indices[3] == -7;
    }
};

void Captura(Quatro& q, int olho, TInfosZR* infos, void* janela = nullptr)
{
    QVERIFY(LoadCapturaOrtoDLL(kCaptura));
    CapturaOrtoDLL.Digitalizar(janela, q.centrais.Buffers(), q.laterais.Buffers(), olho, infos,
                               "Digitalizando Imagem do Olho");
    FreeCapturaOrtoDLL();
}

int32_t Processa(const TQuatroBuffers* centrais, Saidas& s, const TInfosZR* infos, const TPathsZR* paths)
{
    if (!LoadProcOrtoDLL(kProcesso))
        return -100;
    const int32_t r = ProcOrtoDLL.ProcessaImagem(nullptr, centrais, s.posicoes.Stream(), s.dioptrias.Stream(),
                                                 s.valores.Stream(), &s.indices, infos, paths);
    FreeProcOrtoDLL();
    return r;
}

// Height of the model surface over the 8 mm chord along a clinical axis (both sides), mm.
double SagModelo(const Instrumento::ModeloCornea& m, double eixo)
{
    const double a = eixo * M_PI / 180.0;
    double h1 = 0, h2 = 0;
    m.Sag(4.0 * std::cos(a), 4.0 * std::sin(a), h1);
    m.Sag(-4.0 * std::cos(a), -4.0 * std::sin(a), h2);
    return (h1 + h2) / 2.0;
}

class Caso {
public:
    explicit Caso(const QString& nome) { qputenv("ZR_SIMULADOR_CASO", nome.toUtf8()); }
    ~Caso() { qunsetenv("ZR_SIMULADOR_CASO"); }
};

} // namespace

class TesteOrto : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void informacao();
    void quatroMapas_data();
    void quatroMapas();
    void quadroOcluido();
    void entradasRuins_data();
    void entradasRuins();
    void janela_data();
    void janela();

private:
    void Calibra();
    QTemporaryDir m_pasta;
    QByteArray m_calibracao;
    TInfosZR m_infos{};
    TPathsZR m_paths{};
};

// The four reference spheres through the normal modules, then Coef.txt, as the installation
// calibrates the instrument.
void TesteOrto::Calibra()
{
    const QString pasta = m_pasta.filePath(QStringLiteral("Calibração"));
    QDir().mkpath(pasta);
    const char* raios[4] = {"7,73", "8,05", "8,34", "8,91"};
    for (int s = 0; s < 4; ++s) {
        QVERIFY(LoadCapturaDLL(QStringLiteral(ZR_MODULO_DIGITALIZACAO)));
        BufferMemoria central, lateral, saida;
        const QByteArray legenda = QByteArray("Digitalizando Esfera (") + raios[s] + ")";
        CapturaDLL.Digitalizar(nullptr, central.Stream(), lateral.Stream(), 2, &m_infos, legenda.constData());
        FreeCapturaDLL();
        QVERIFY(LoadProcDLL(QStringLiteral(ZR_MODULO_PROCESSAMENTO)));
        central.Rebobina();
        QCOMPARE(ProcDLL.ProcessaEsfera(nullptr, central.Stream(), raios[s], saida.Stream(), &m_infos), 1);
        FreeProcDLL();
        GravaArquivoBytes(QDir(pasta).filePath(QStringLiteral("%1.txt").arg(s + 1)), saida.Bytes());
    }
    QVERIFY(GravaCoeficientes(pasta, 16));
    m_calibracao = ParaCp1252(pasta + QLatin1Char('/'));
    m_paths.Calibracao = m_calibracao.constData();
}

void TesteOrto::initTestCase()
{
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    m_infos.FatorCorrecao = 0.02;
    m_infos.NumAneis = 16;
    Calibra();
}

void TesteOrto::informacao()
{
    QStringList linhas;
    QVERIFY(LeInfoModulo(kCaptura, InfoDeModuloOrto, linhas));
    QVERIFY(linhas.value(0).contains(QStringLiteral("ortoceratologia")));
    QVERIFY(LeInfoModulo(kProcesso, InfoDeModuloOrto, linhas));
    QVERIFY(linhas.value(0).contains(QStringLiteral("ortoceratologia")));
}

void TesteOrto::quatroMapas_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<int>("olho");
    QTest::addColumn<double>("plano"); // the model's flat radius, mm
    QTest::newRow("tórica 7.8/7.5 OD") << QStringLiteral("torica 7.8 7.5 90") << 1 << 7.8;
    QTest::newRow("tórica 7.9/7.6 a 30 OS") << QStringLiteral("torica 7.9 7.6 30") << 0 << 7.9;
    QTest::newRow("esfera 7.6 OD") << QStringLiteral("esfera 7.6") << 1 << 7.6;
}

void TesteOrto::quatroMapas()
{
    QFETCH(QString, caso);
    QFETCH(int, olho);
    QFETCH(double, plano);
    Caso c(caso);
    Quatro q;
    Captura(q, olho, &m_infos);
    for (int i = 0; i < 4; ++i) {
        QImage central, lateral;
        QVERIFY(Instrumento::DecodificaBitmap(q.centrais.Buffer(i).Bytes(), central));
        QVERIFY(Instrumento::DecodificaBitmap(q.laterais.Buffer(i).Bytes(), lateral));
        QCOMPARE(central.size(), QSize(640, 480));
        QCOMPARE(lateral.size(), QSize(640, 480));
        // Four shots of one sitting, not one shot four times.
        if (i > 0)
            QVERIFY(q.centrais.Buffer(i).Bytes() != q.centrais.Buffer(i - 1).Bytes());
    }

    Saidas s;
    QCOMPARE(Processa(q.centrais.Buffers(), s, &m_infos, &m_paths), 1);
    const QStringList posicoes = s.posicoes.Linhas(), dioptrias = s.dioptrias.Linhas(), valores = s.valores.Linhas();
    QCOMPARE(posicoes.size(), 1440);
    QCOMPARE(dioptrias.size(), 1440);
    QCOMPARE(valores.size(), 16);
    // The layout of d.txt/m.txt: "00.00" values each followed by a space, the same count on
    // both texts, at most N + 1.
    static const QRegularExpression linha(QStringLiteral("^(-?\\d{2,}\\.\\d{2} )+$"));
    for (int k = 0; k < 1440; ++k) {
        QVERIFY2(linha.match(dioptrias[k]).hasMatch(), qPrintable(dioptrias[k]));
        QVERIFY2(linha.match(posicoes[k]).hasMatch(), qPrintable(posicoes[k]));
        const int n = int(dioptrias[k].count(QLatin1Char(' ')));
        QCOMPARE(int(posicoes[k].count(QLatin1Char(' '))), n);
        QVERIFY(n >= 1 && n <= 17);
    }

    Instrumento::CasoModelo modelo;
    QVERIFY(Instrumento::CasoPorNome(caso, modelo, olho));
    // The case's cornea as captured (a left eye's mirrored); its flat axis is 90 degrees
    // from the steep one.
    const double eixo = modelo.cornea.eixoCurvo + 90.0;
    const double sagPlano = SagModelo(modelo.cornea, eixo) * 1000.0;
    const double divExata = SagModelo(modelo.cornea, eixo + 90.0) * 1000.0 - sagPlano;
    for (int m = 0; m < 4; ++m) {
        const double sag = valores[4 * m].toDouble(), div = valores[4 * m + 1].toDouble();
        const double raio = valores[4 * m + 2].toDouble(), exc = valores[4 * m + 3].toDouble();
        QVERIFY2(std::abs(raio - plano) < 0.02, qPrintable(QStringLiteral("mapa %1: Raio %2").arg(m + 1).arg(raio)));
        QVERIFY2(std::abs(div - divExata) < 5.0, qPrintable(QStringLiteral("mapa %1: Div %2 / %3").arg(m + 1).arg(div).arg(divExata)));
        QVERIFY2(std::abs(sag - sagPlano) < 2.0, qPrintable(QStringLiteral("mapa %1: Sag %2 / %3").arg(m + 1).arg(sag).arg(sagPlano)));
        QVERIFY2(std::abs(exc) < 0.15, qPrintable(QString::number(exc)));
        QVERIFY(s.indices[m] > 80.0 && s.indices[m] <= 100.0);
    }
}

void TesteOrto::quadroOcluido()
{
    // Four frames of the parametric ortho-k cornea, the third one half hidden.
    Instrumento::CasoModelo caso;
    QVERIFY(Instrumento::CasoPorNome(QStringLiteral("orto 7.8 20 3.5 0.3"), caso, 1));
    const Instrumento::ConePlacido cone(16);
    QuatroBuffersModulo centrais;
    for (int i = 0; i < 4; ++i) {
        Instrumento::ParametrosCaptura p = caso.captura;
        p.semente = 11u + uint32_t(i);
        if (i == 2) {
            p.oclusaoX = 500;
            p.oclusaoY = 300;
            p.oclusaoRaio = 95;
        }
        GravaBytes(centrais.Buffer(i).Stream(), Instrumento::CodificaBitmap(Instrumento::RenderizaCentral(caso.cornea, cone, p)));
    }
    Saidas s;
    QCOMPARE(Processa(centrais.Buffers(), s, &m_infos, &m_paths), 1);
    for (int i : {0, 1, 3})
        QVERIFY2(s.indices[2] < s.indices[i] - 3.0, qPrintable(QStringLiteral("%1 %2").arg(s.indices[2]).arg(s.indices[i])));
    // The treatment flattened the centre: the flat radius is longer than before it.
    QVERIFY(s.valores.Linhas().value(2).toDouble() > 7.9);
}

void TesteOrto::entradasRuins_data()
{
    QTest::addColumn<int>("falha"); // which image is spoiled, or a setting
    QTest::addColumn<QString>("como");
    QTest::addColumn<int>("resultado");
    QTest::newRow("primeira vazia") << 0 << QStringLiteral("vazia") << 0;
    QTest::newRow("quarta vazia") << 3 << QStringLiteral("vazia") << 0;
    QTest::newRow("terceira truncada") << 2 << QStringLiteral("truncada") << 0;
    QTest::newRow("segunda sem anéis") << 1 << QStringLiteral("cinza") << 2;
    QTest::newRow("sem calibração") << -1 << QStringLiteral("sem Coef.txt") << 3;
    QTest::newRow("fator de correção nulo") << -1 << QStringLiteral("fator") << 5;
    QTest::newRow("saída ausente") << -1 << QStringLiteral("saida") << 4;
}

void TesteOrto::entradasRuins()
{
    QFETCH(int, falha);
    QFETCH(QString, como);
    QFETCH(int, resultado);
    Caso c(QStringLiteral("Orto02"));
    Quatro q;
    Captura(q, 1, &m_infos);
    if (como == QLatin1String("vazia")) {
        q.centrais.Buffer(falha).Limpa();
    } else if (como == QLatin1String("truncada")) {
        const QByteArray b = q.centrais.Buffer(falha).Bytes();
        q.centrais.Buffer(falha).DefineBytes(b.left(b.size() / 2));
    } else if (como == QLatin1String("cinza")) {
        QImage cinza(640, 480, QImage::Format_Grayscale8);
        cinza.fill(90);
        q.centrais.Buffer(falha).DefineBytes(Instrumento::CodificaBitmap(cinza));
    }
    TInfosZR infos = m_infos;
    TPathsZR paths = m_paths;
    QTemporaryDir vazia;
    const QByteArray pastaVazia = ParaCp1252(vazia.path() + QLatin1Char('/'));
    if (como == QLatin1String("sem Coef.txt"))
        paths.Calibracao = pastaVazia.constData();
    if (como == QLatin1String("fator"))
        infos.FatorCorrecao = 0.0;
    Saidas s;
    int32_t r;
    if (como == QLatin1String("saida")) {
        QVERIFY(LoadProcOrtoDLL(kProcesso));
        r = ProcOrtoDLL.ProcessaImagem(nullptr, q.centrais.Buffers(), s.posicoes.Stream(), nullptr, s.valores.Stream(),
                                       &s.indices, &infos, &paths);
        FreeProcOrtoDLL();
    } else {
        r = Processa(q.centrais.Buffers(), s, &infos, &paths);
    }
    QCOMPARE(r, resultado);
    QVERIFY(s.Intactas());
}

void TesteOrto::janela_data()
{
    QTest::addColumn<QString>("acao");
    QTest::addColumn<int>("olho");
    QTest::newRow("tratamento escolhido e capturado") << QStringLiteral("capturar") << 0;
    QTest::newRow("cancelada") << QStringLiteral("cancelar") << 1;
    QTest::newRow("olho inexistente") << QStringLiteral("nenhuma") << 5;
}

void TesteOrto::janela()
{
    QFETCH(QString, acao);
    QFETCH(int, olho);
    // A person at the instrument: the window opens over the caller's, the treatment is set,
    // "Capturar" takes the four frames; "Cancelar" keeps nothing.
    qunsetenv("ZR_MODULOS_AUTOMATICO");
    QWidget pai;
    QString olhoTexto;
    bool viu = false;
    int miniaturas = 0;
    QTimer::singleShot(50, this, [&] {
        auto* janela = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!janela)
            return;
        viu = true;
        if (auto* l = janela->findChild<QLabel*>(QStringLiteral("lblOlho")))
            olhoTexto = QString::fromUtf8(l->text().toUtf8());
        if (acao == QLatin1String("capturar")) {
            if (auto* z = janela->findChild<QDoubleSpinBox*>(QStringLiteral("spnZona")))
                z->setValue(4.0);
            if (auto* b = janela->findChild<QPushButton*>(QStringLiteral("btnCapturar")))
                b->click();
            for (int i = 1; i <= 4; ++i)
                if (auto* l = janela->findChild<QLabel*>(QStringLiteral("imgQuadro%1").arg(i)); l && !l->pixmap().isNull())
                    ++miniaturas;
        } else if (auto* b = janela->findChild<QPushButton*>(QStringLiteral("btnCancelar"))) {
            b->click();
        }
        QTimer::singleShot(2000, janela, [janela] { janela->reject(); });
    });
    Quatro q;
    Captura(q, olho, &m_infos, &pai);
    // Without a window the timer has nothing to do; let it run before the locals go.
    QTest::qWait(100);
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    const bool captura = acao == QLatin1String("capturar");
    QCOMPARE(viu, olho == 0 || olho == 1);
    QCOMPARE(q.Vazios(), !captura);
    if (!captura)
        return;
    QCOMPARE(olhoTexto, QStringLiteral("Olho Esquerdo"));
    QCOMPARE(miniaturas, 4);
    Saidas s;
    QCOMPARE(Processa(q.centrais.Buffers(), s, &m_infos, &m_paths), 1);

    // In batch use with an output folder the window is shown, captures and is saved.
    QTemporaryDir saida;
    qputenv("ZR_MODULOS_SAIDA", saida.path().toUtf8());
    Caso c(QStringLiteral("orto 7.8 24 3.5 0.4"));
    Quatro q2;
    Captura(q2, 1, &m_infos, &pai);
    qunsetenv("ZR_MODULOS_SAIDA");
    QVERIFY(!q2.Vazios());
    const QImage imagem(saida.filePath(QStringLiteral("DigitalizacaoOrto.png")));
    QVERIFY(imagem.width() > 640 + 160 && imagem.height() >= 480);
    if (!qEnvironmentVariableIsEmpty("ZR_CAPTURAS_TESTE"))
        imagem.save(QDir(qEnvironmentVariable("ZR_CAPTURAS_TESTE")).filePath(QStringLiteral("captura_orto.png")));
}

QTEST_MAIN(TesteOrto)
#include "tst_orto.moc"
