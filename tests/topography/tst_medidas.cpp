// The measurement screen on examinations stored as the capture form stores them: showing,
// coordinates, measurements, FST, colours, the lens calculator and the failure paths.

#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDArquivos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "platform/UAjuda.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"
#include "tests/support/UExameCapturado.h"
#include "topography/UBFuncoesMapas.h"
#include "topography/UCalculosLente.h"
#include "topography/UFMedidas.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <memory>

namespace {

struct Ambiente {
    BancoTeste banco;
    int medico = 0, paciente = 0;
    ExameCapturado torica, cone, esfera;

    Ambiente()
    {
        if (!banco.Valido())
            return;
        Recarrega();
        TDadosMedico m;
        m.Nome = QStringLiteral("Dra. Helena");
        TDMedicos(banco.DM()).InsereMedico(m);
        medico = TDMedicos(banco.DM()).CodigoMedico(m.Nome);
        TDadosPaciente p;
        p.Nome = QStringLiteral("João Araújo");
        TDPacientes(banco.DM()).InserePaciente(p, QDate(2024, 1, 2), 0);
        paciente = TDPacientes(banco.DM()).IndicePacientes();
        torica = GravaExameCapturado(banco.DM(), paciente, medico, QStringLiteral("torica 7.9 7.5 30"),
                                     QStringLiteral("OD"), QDate(2025, 3, 14));
        cone = GravaExameCapturado(banco.DM(), paciente, medico, QStringLiteral("Central02"), QStringLiteral("OS"),
                                   QDate(2025, 3, 15));
        esfera = GravaExameCapturado(banco.DM(), paciente, medico, QStringLiteral("esfera 7.8"), QStringLiteral("OD"),
                                     QDate(2025, 3, 16));
    }
    void Recarrega()
    {
        TBIniSettings ini;
        ini.LoadAll(3);
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
    }
    bool Valido() const { return banco.Valido() && torica.Valido && cone.Valido && esfera.Valido; }
    TExameMedidas Exame(const ExameCapturado& e) const
    {
        TExameMedidas x;
        x.Codigo = e.Codigo;
        x.CodPaciente = e.CodPaciente;
        x.Olho = e.Olho;
        x.Data = e.Data.toString(QStringLiteral("dd/MM/yyyy"));
        x.NomePaciente = QStringLiteral("João Araújo");
        return x;
    }
    void Fatores(const QString& f, const QString& xd, const QString& yd, const QString& xs, const QString& ys)
    {
        banco.Instalacao().AlteraChave(QStringLiteral("FatorCorrecao"), f);
        banco.Instalacao().AlteraChave(QStringLiteral("FatorCorrecao pixel to mm imagem lateral XD"), xd);
        banco.Instalacao().AlteraChave(QStringLiteral("FatorCorrecao pixel to mm imagem lateral YD"), yd);
        banco.Instalacao().AlteraChave(QStringLiteral("FatorCorrecao pixel to mm imagem lateral XS"), xs);
        banco.Instalacao().AlteraChave(QStringLiteral("FatorCorrecao pixel to mm imagem lateral YS"), ys);
    }
};

std::unique_ptr<Ambiente> amb;

const QRgb kAmarelo = qRgb(255, 255, 0);

int ContaCor(const QImage& i, const QRect& r, QRgb cor)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (i.valid(x, y) && i.pixel(x, y) == cor)
                ++n;
    return n;
}

void Clica(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    QTest::mouseMove(w, p);
    QTest::mousePress(w, b, {}, p);
    QTest::mouseRelease(w, b, {}, p);
}

void Digita(QLineEdit* e, const QString& texto)
{
    e->clear();
    QTest::keyClicks(e, texto);
}

double Numero(const QLineEdit* e) { return e->text().toDouble(); }

// A screen shown on an examination, with scripted messages and the modal opener replaced.
struct Tela {
    MensagensRoteiro msgs;
    TFMedidas form;
    bool abriu = false;
    AberturaModal anterior;
    Tela() { anterior = DefineAberturaModal([this](QDialog*) { abriu = true; return int(QDialog::Rejected); }); }
    ~Tela() { DefineAberturaModal(anterior); }
    bool Mostra(const ExameCapturado& e)
    {
        form.Abre(amb->Exame(e));
        form.show();
        return abriu;
    }
};

} // namespace

class TesteMedidas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { amb.reset(); }
    void init() { amb->Fatores(QStringLiteral("0.02"), QStringLiteral("0.03"), QStringLiteral("0.03"),
                               QStringLiteral("0.03"), QStringLiteral("0.03")); }
    void mostra_data();
    void mostra();
    void topografiaDaTorica();
    void imagensDecodificadas();
    void coordenadas_data();
    void coordenadas();
    void medidaCentral_data();
    void medidaCentral();
    void limiteDeMedidas_data();
    void limiteDeMedidas();
    void fst();
    void corDaPaleta_data();
    void corDaPaleta();
    void calculoViaTopografia();
    void raioPeloSag();
    void calculoFST();
    void diametroEEsclera();
    void mensagensDoZero_data();
    void mensagensDoZero();
    void diametroRecalcula_data();
    void diametroRecalcula();
    void entradasRuins_data();
    void entradasRuins();
    void lenteDesenhada();
    void semArquivos();
    void semImagens_data();
    void semImagens();
    void fatorQueNaoENumero();
    void fatorZero();
    void ceratometriaImpossivel();
    void cordaIrisInvalidaNoElastico();
};

void TesteMedidas::initTestCase()
{
    amb = std::make_unique<Ambiente>();
    QVERIFY2(amb->Valido(), qPrintable(amb->torica.Erro + amb->cone.Erro + amb->esfera.Erro));
}

void TesteMedidas::mostra_data()
{
    QTest::addColumn<int>("qual");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("fx");
    QTest::addColumn<QString>("fy");
    QTest::newRow("OD") << 0 << QStringLiteral("Tela de Medidas   -   João Araújo   -   Olho Direito   -   14/03/2025")
                        << QStringLiteral("0.031") << QStringLiteral("0.032");
    QTest::newRow("OS") << 1 << QStringLiteral("Tela de Medidas   -   João Araújo   -   Olho Esquerdo   -   15/03/2025")
                        << QStringLiteral("0.041") << QStringLiteral("0.042");
}

void TesteMedidas::mostra()
{
    QFETCH(int, qual);
    QFETCH(QString, titulo);
    QFETCH(QString, fx);
    QFETCH(QString, fy);
    amb->Fatores(QStringLiteral("0.0205"), QStringLiteral("0.031"), QStringLiteral("0.032"), QStringLiteral("0.041"),
                 QStringLiteral("0.042"));
    Tela t;
    // Values of an earlier showing must not survive, except the calculation mode.
    t.form.edtVault->setText(QStringLiteral("350"));
    t.form.edtRaioLimbo->setText(QStringLiteral("8"));
    QVERIFY(t.Mostra(qual == 0 ? amb->torica : amb->cone));
    QVERIFY2(t.msgs.Registros().isEmpty(), qPrintable(t.msgs.Textos().join(u'|')));
    QCOMPARE(t.form.lbTitulo->text(), titulo);
    QCOMPARE(t.form.lbFCC->text(), QStringLiteral("Fator correção central: 0.0205"));
    QCOMPARE(t.form.lbFCLX->text(), QStringLiteral("Fator correção lateral X: ") + fx);
    QCOMPARE(t.form.lbFCLY->text(), QStringLiteral("Fator correnção lateral Y: ") + fy);
    const QList<QPair<QLineEdit*, QString>> padroes = {
        {t.form.edtCordaLente, "16"}, {t.form.edtSagLente, "0"},     {t.form.edtRaioLente, "0"},
        {t.form.edtCordaIris, "0"},   {t.form.edtApiceIris, "0"},    {t.form.edtSagTopo, "0"},
        {t.form.edtSagLimbo, "0"},    {t.form.edtSagEsclera, "0"},   {t.form.edtCordaLimbo, "15"},
        {t.form.edtRaioLimbo, "9.5"}, {t.form.edtCordaEsclera, "16"}, {t.form.edtRaioEsclera, "11.5"},
        {t.form.edtVault, "200"}};
    for (const auto& [campo, texto] : padroes)
        QCOMPARE(campo->text(), texto);
    QCOMPARE(t.form.tbCordaLente->value(), 12);
    QCOMPARE(t.form.tbSagLente->value(), 0);
    QCOMPARE(t.form.Estilo().Linha, QColor(255, 255, 0));
    QCOMPARE(t.form.CorPalBox->Imagem().pixel(13, 13), kAmarelo);
    QCOMPARE(t.form.windowTitle(), QStringLiteral("Formulário de medidas"));
    QCOMPARE(ContextoAjuda(t.form.edtVault), 30);
}

// The chord and radius of the mapped area, worked out again from the stored files: the
// last valid ring of the steep meridian pair, read straight from m.txt and a.txt.
void TesteMedidas::topografiaDaTorica()
{
    Tela t;
    QVERIFY(t.Mostra(amb->torica));
    const TDadosCeratometria k = t.form.Ceratometria();
    QVERIFY2(std::abs(k.R1 - 7.5) < 0.1, qPrintable(QString::number(k.R1)));
    auto linhas = [](const QString& arquivo) {
        QFile f(arquivo);
        f.open(QIODevice::ReadOnly);
        return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    };
    const QStringList a = linhas(amb->torica.Prefixo + QStringLiteral("a.txt"));
    const QStringList m = linhas(amb->torica.Prefixo + QStringLiteral("m.txt"));
    const int s = 180 - k.Eixo1;
    auto ultimo = [&](int meridiano) {
        const int n = a.value(7 + meridiano - 1).toInt();
        return m.value(meridiano - 1).split(u' ', Qt::SkipEmptyParts).value(n).toDouble();
    };
    const double corda = 0.02 * (ultimo(s) + ultimo(s + 180));
    QVERIFY(corda > 5);
    QVERIFY2(std::abs(Numero(t.form.edtCordaTopo) - corda) < 0.01,
             qPrintable(t.form.edtCordaTopo->text() + QStringLiteral(" / ") + QString::number(corda)));
    QVERIFY(std::abs(Numero(t.form.edtRaioTopo) - k.R1) < 0.01);
}

void TesteMedidas::imagensDecodificadas()
{
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    QBuffer c, l;
    TDArquivos(amb->banco.DM()).LeImagens(amb->esfera.Codigo, c, l);
    for (const auto& [jpeg, aux] : {std::pair{&c, t.form.ImgCentralAux}, std::pair{&l, t.form.ImgLateralAux}}) {
        const QImage esperada = QImage::fromData(jpeg->data(), "JPG").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(esperada.size(), QSize(640, 480));
        const QImage& tela = aux->Imagem();
        long diferenca = 0;
        for (int y = 0; y < 480; y += 7)
            for (int x = 0; x < 640; x += 7)
                diferenca += std::abs(qGray(tela.pixel(x, y)) - qGray(esperada.pixel(x, y)));
        QVERIFY2(diferenca / (69 * 92) <= 2, qPrintable(QString::number(diferenca)));
    }
    // The central canvas is its copy with the reticle over it.
    QCOMPARE(t.form.ImgCentral->Imagem().pixel(315, 240), qRgb(0, 255, 0));
    QCOMPARE(t.form.ImgCentral->Imagem().pixel(3, 3), t.form.ImgCentralAux->Imagem().pixel(3, 3));
}

void TesteMedidas::coordenadas_data()
{
    QTest::addColumn<bool>("central");
    QTest::addColumn<QPoint>("ponto");
    QTest::addColumn<QStringList>("textos");
    QTest::newRow("central") << true << QPoint(100, 79) << QStringList{"100", "400", "2", "8"};
    QTest::newRow("central, canto de baixo") << true << QPoint(0, 479) << QStringList{"0", "0", "0", "0"};
    QTest::newRow("lateral") << false << QPoint(100, 79) << QStringList{"100", "400", "3", "12"};
}

void TesteMedidas::coordenadas()
{
    QFETCH(bool, central);
    QFETCH(QPoint, ponto);
    QFETCH(QStringList, textos);
    Tela t;
    QVERIFY(t.Mostra(amb->torica));
    QTest::mouseMove(central ? t.form.ImgCentral : t.form.ImgLateral, ponto);
    const QList<QLabel*> rotulos = central ? QList<QLabel*>{t.form.lbXC, t.form.lbYC, t.form.lbXCM, t.form.lbYCM}
                                           : QList<QLabel*>{t.form.lbXL, t.form.lbYL, t.form.lbXLM, t.form.lbYLM};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(rotulos[i]->text(), textos[i]);
}

void TesteMedidas::medidaCentral_data()
{
    QTest::addColumn<QString>("fator");
    QTest::addColumn<QPoint>("a");
    QTest::addColumn<QPoint>("b");
    QTest::addColumn<QString>("iris");
    QTest::addColumn<QString>("diametro");
    QTest::addColumn<int>("barra");
    QTest::newRow("6 mm") << "0.02" << QPoint(100, 200) << QPoint(400, 200) << "6" << "16" << 12;
    QTest::newRow("11.79 mm") << "0.0393" << QPoint(100, 200) << QPoint(400, 200) << "11.79" << "16" << 12;
    QTest::newRow("11.80 mm") << "0.02" << QPoint(590, 200) << QPoint(0, 200) << "11.8" << "17" << 14;
}

void TesteMedidas::medidaCentral()
{
    QFETCH(QString, fator);
    QFETCH(QPoint, a);
    QFETCH(QPoint, b);
    QFETCH(QString, iris);
    QFETCH(QString, diametro);
    QFETCH(int, barra);
    amb->banco.Instalacao().AlteraChave(QStringLiteral("FatorCorrecao"), fator);
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    Clica(t.form.ImgCentral, a);
    Clica(t.form.ImgCentral, b);
    QCOMPARE(t.form.NumMedidasCentral(), 1);
    const TMedida& m = t.form.MedidasCentral()[0];
    QCOMPARE(m.Rotulo, QStringLiteral("M1"));
    QCOMPARE(QPoint(m.TextoX, m.TextoY), QPoint(std::min(a.x(), b.x()) + std::abs(a.x() - b.x()) / 2 - 20, 180));
    QCOMPARE(t.form.edtCordaIris->text(), iris);
    QCOMPARE(t.form.edtCordaLimbo->text(), iris);
    QCOMPARE(t.form.edtCordaLente->text(), diametro);
    QCOMPARE(t.form.edtCordaEsclera->text(), diametro);
    QCOMPARE(t.form.tbCordaLente->value(), barra);
    const QImage& img = t.form.ImgCentral->Imagem();
    QCOMPARE(img.pixel((a.x() + b.x()) / 2, 200), kAmarelo);
    // The label lies at its text position and nowhere left of it.
    QVERIFY(ContaCor(img, QRect(m.TextoX, m.TextoY, 70, 16), kAmarelo) > 20);
    QCOMPARE(ContaCor(img, QRect(m.TextoX - 40, m.TextoY, 38, 16), kAmarelo), 0);
    QVERIFY(t.msgs.Registros().isEmpty());
}

void TesteMedidas::limiteDeMedidas_data()
{
    QTest::addColumn<bool>("central");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("central") << true << QStringLiteral("Número de Medidas Atingido");
    QTest::newRow("lateral") << false << QStringLiteral("Limite de Medidas Atingido");
}

void TesteMedidas::limiteDeMedidas()
{
    QFETCH(bool, central);
    QFETCH(QString, mensagem);
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    TCanvasMedidas* c = central ? t.form.ImgCentral : t.form.ImgLateral;
    for (int i = 0; i < 6; ++i) {
        Clica(c, QPoint(30, 20 + 60 * i));
        Clica(c, QPoint(200, 20 + 60 * i));
    }
    QCOMPARE(t.msgs.Textos(), (QStringList{mensagem, mensagem})); // each click of the sixth pair
    QCOMPARE(central ? t.form.NumMedidasCentral() : t.form.NumMedidasLateral(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(c->Imagem().pixel(110, 20 + 60 * i), kAmarelo);
    QVERIFY(c->Imagem().pixel(110, 320) != kAmarelo);
}

// Fx = Fy = 0.03. P1 (100, 300) -> (3 , 5.37); P2 (100, 200) -> (3 , 8.37), sag 100 px = 3 mm;
// P3 (150, 260) -> (4.5 , 6.57); a = 279 - 219 = 60 px -> chord 2 x 60 x 0.03 = 3.6 mm.
void TesteMedidas::fst()
{
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    t.form.cbFST->setChecked(true);
    QVERIFY(!t.form.btCalcSagFST->isHidden());
    QVERIFY(t.form.btCalculaSagTeorico->isHidden() && t.form.btCalculaSagMedida->isHidden());
    QCOMPARE(t.form.lbP1M->text(), QStringLiteral("(      ,      )"));
    TCanvasMedidas* c = t.form.ImgLateral;
    Clica(c, QPoint(100, 300));
    Clica(c, QPoint(100, 200));
    Clica(c, QPoint(150, 260));
    QCOMPARE(t.form.lbP1M->text(), QStringLiteral("(3 , 5.37)"));
    QCOMPARE(t.form.lbP2M->text(), QStringLiteral("(3 , 8.37)"));
    QCOMPARE(t.form.lbP3M->text(), QStringLiteral("(4.5 , 6.57)"));
    QCOMPARE(t.form.lbSagP1->text(), QStringLiteral("3"));
    QCOMPARE(t.form.lbCordaP3->text(), QStringLiteral("3.6"));
    QCOMPARE(t.form.edtApiceIris->text(), QStringLiteral("3"));
    // The two strokes of P3: at its height and a pixels above P2; the vertical through P2.
    QCOMPARE(c->Imagem().pixel(135, 261), kAmarelo);
    QCOMPARE(c->Imagem().pixel(165, 141), kAmarelo);
    QCOMPARE(c->Imagem().pixel(100, 450), kAmarelo);
    const QImage depois = c->Imagem();
    Clica(c, QPoint(400, 100));
    QCOMPARE(c->Imagem(), depois);
    QCOMPARE(t.form.lbP3M->text(), QStringLiteral("(4.5 , 6.57)"));
    QCOMPARE(t.form.NumMedidasLateral(), 1);
    // The right button clears; the next click is a new P1.
    Clica(c, QPoint(400, 100), Qt::RightButton);
    QCOMPARE(c->Imagem(), t.form.ImgLateralAux->Imagem());
    Clica(c, QPoint(200, 379));
    QCOMPARE(t.form.lbP1M->text(), QStringLiteral("(6 , 3)"));
    QVERIFY(t.msgs.Registros().isEmpty());
    // "Sair" puts both images back and closes.
    Clica(t.form.ImgCentral, QPoint(10, 10));
    Clica(t.form.ImgCentral, QPoint(200, 10));
    QTest::mouseClick(t.form.btnSairMedidas, Qt::LeftButton);
    QVERIFY(!t.form.isVisible());
    QCOMPARE(t.form.ImgCentral->Imagem(), t.form.ImgCentralAux->Imagem());
    QCOMPARE(t.form.ImgLateral->Imagem(), t.form.ImgLateralAux->Imagem());
}

void TesteMedidas::corDaPaleta_data()
{
    QTest::addColumn<bool>("linha");
    QTest::addColumn<int>("faixa");
    QTest::newRow("linha vermelha") << true << 0;
    QTest::newRow("linha azul") << true << 11;
    QTest::newRow("texto ciano") << false << 2;
}

void TesteMedidas::corDaPaleta()
{
    QFETCH(bool, linha);
    QFETCH(int, faixa);
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    QTest::mousePress(linha ? t.form.CorPalBox : t.form.CorTextoBox, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(t.form.Paleta->isVisible() && t.form.lbPaleta->isVisible());
    QTest::mousePress(t.form.Paleta, Qt::LeftButton, {}, QPoint(12, faixa * 30 + 14));
    QVERIFY(!t.form.Paleta->isVisible());
    const QRgb cor = CoresPaleta[faixa];
    QCOMPARE((linha ? t.form.CorPalBox : t.form.CorTextoBox)->Imagem().pixel(20, 20), cor);
    Clica(t.form.ImgCentral, QPoint(100, 300));
    Clica(t.form.ImgCentral, QPoint(400, 300));
    const QImage& img = t.form.ImgCentral->Imagem();
    QCOMPARE(img.pixel(200, 300) == cor, linha);
    QCOMPARE(ContaCor(img, QRect(230, 280, 70, 16), cor) > 20, !linha);
}

namespace {
// The inputs of the worked case: chord topo 10, radius 7.8, limbus 12 / 9.5, sclera 16 /
// 11.5, vault 200.
void CasoTopografia(TFMedidas& f)
{
    Digita(f.edtCordaTopo, QStringLiteral("10"));
    Digita(f.edtRaioTopo, QStringLiteral("7.8"));
    Digita(f.edtCordaIris, QStringLiteral("12"));
    Digita(f.edtRaioLimbo, QStringLiteral("9.5"));
    Digita(f.edtApiceIris, QStringLiteral("3"));
}
} // namespace

void TesteMedidas::calculoViaTopografia()
{
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    CasoTopografia(t.form);
    QCOMPARE(t.form.edtCordaLimbo->text(), QStringLiteral("12"));
    QTest::mouseClick(t.form.btCalculaSagTeorico, Qt::LeftButton);
    QVERIFY2(t.msgs.Registros().isEmpty(), qPrintable(t.msgs.Textos().join(u'|')));
    QCOMPARE(t.form.ModoCalculo(), 1);
    QVERIFY(std::abs(Numero(t.form.edtSagTopo) - 1.8133) < 1e-4);
    QVERIFY(std::abs(Numero(t.form.edtSagLimbo) - 0.7123) < 1e-4);
    QVERIFY(std::abs(Numero(t.form.edtSagEsclera) - 1.5494) < 1e-4);
    QCOMPARE(t.form.tbSagLente->value(), 4275);
    QCOMPARE(t.form.edtSagLente->text(), QStringLiteral("4275"));
    // (4.275^2 + 64) / 8.55
    QVERIFY(std::abs(Numero(t.form.edtRaioLente) - 9.62288) < 1e-5);
    // Showing again sets the defaults but keeps the calculation mode.
    QVERIFY(t.Mostra(amb->esfera));
    QCOMPARE(t.form.edtSagLente->text(), QStringLiteral("0"));
    QCOMPARE(t.form.ModoCalculo(), 1);
}

void TesteMedidas::raioPeloSag()
{
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    Digita(t.form.edtSagLente, QStringLiteral("4000"));
    QCOMPARE(t.form.tbSagLente->value(), 4000);
    QCOMPARE(t.form.edtRaioLente->text(), QStringLiteral("10"));
    // The bar drives the edit back.
    t.form.tbSagLente->setValue(2000);
    QCOMPARE(t.form.edtSagLente->text(), QStringLiteral("2000"));
    QCOMPARE(t.form.edtRaioLente->text(), QStringLiteral("17")); // (4 + 64) / 4
}

// Fy 0.025: P1-P2 100 px = 2.5 mm; P3 240 px above P2 -> chord 12 mm; 2.5 + 0.4 x 4 = 4.1 mm.
void TesteMedidas::calculoFST()
{
    amb->Fatores(QStringLiteral("0.02"), QStringLiteral("0.025"), QStringLiteral("0.025"), QStringLiteral("0.025"),
                 QStringLiteral("0.025"));
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    Digita(t.form.edtCordaIris, QStringLiteral("11"));
    t.form.cbFST->setChecked(true);
    Clica(t.form.ImgLateral, QPoint(300, 400));
    Clica(t.form.ImgLateral, QPoint(300, 300));
    Clica(t.form.ImgLateral, QPoint(320, 60));
    QCOMPARE(t.form.lbSagP1->text(), QStringLiteral("2.5"));
    QCOMPARE(t.form.lbCordaP3->text(), QStringLiteral("12"));
    QTest::mouseClick(t.form.btCalcSagFST, Qt::LeftButton);
    QCOMPARE(t.form.ModoCalculo(), 3);
    QCOMPARE(t.form.edtSagLente->text(), QStringLiteral("4300"));
    QCOMPARE(t.form.tbSagLente->value(), 4300);
    QVERIFY(t.msgs.Registros().isEmpty());
}

void TesteMedidas::diametroEEsclera()
{
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    Digita(t.form.edtCordaLente, QStringLiteral("15.5"));
    QCOMPARE(t.form.edtCordaEsclera->text(), QStringLiteral("15.5"));
    Digita(t.form.edtCordaEsclera, QStringLiteral("17"));
    QCOMPARE(t.form.edtCordaLente->text(), QStringLiteral("17"));
    t.form.tbCordaLente->setValue(20);
    QCOMPARE(t.form.edtCordaLente->text(), QStringLiteral("20"));
    QCOMPARE(t.form.edtCordaEsclera->text(), QStringLiteral("20"));
}

void TesteMedidas::mensagensDoZero_data()
{
    QTest::addColumn<QString>("botao");
    QTest::addColumn<QString>("iris");
    QTest::addColumn<QString>("apice");
    QTest::addColumn<QStringList>("mensagens");
    const QString a = QStringLiteral("Insira o valor Apice-Iris medido na imagem central");
    const QString i = QStringLiteral("Insira o valor da CordaIris medido na imagem central");
    for (const char* b : {"btCalculaSagTeorico", "btCalculaSagMedida"}) {
        QTest::newRow(QByteArray(b) + " sem os dois") << b << "0" << "0" << QStringList{a, i};
        QTest::newRow(QByteArray(b) + " sem íris") << b << "0" << "3" << QStringList{i};
        QTest::newRow(QByteArray(b) + " sem ápice") << b << "11" << "0" << QStringList{a};
    }
    QTest::newRow("FST sem nada") << "btCalcSagFST" << "0" << "" << QStringList{
        QStringLiteral("Insira o valor da CordaIris medido na imagem central!"),
        QStringLiteral("Marque o valor do ápice ao P1!"), QStringLiteral("Marque o valor do ponto P3 para cáculo da corda!")};
    QTest::newRow("FST só sem pontos") << "btCalcSagFST" << "11" << "" << QStringList{
        QStringLiteral("Marque o valor do ápice ao P1!"), QStringLiteral("Marque o valor do ponto P3 para cáculo da corda!")};
}

void TesteMedidas::mensagensDoZero()
{
    QFETCH(QString, botao);
    QFETCH(QString, iris);
    QFETCH(QString, apice);
    QFETCH(QStringList, mensagens);
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    Digita(t.form.edtCordaIris, iris);
    if (!apice.isEmpty())
        Digita(t.form.edtApiceIris, apice);
    if (botao == QStringLiteral("btCalcSagFST"))
        t.form.cbFST->setChecked(true);
    QTest::mouseClick(t.form.findChild<QPushButton*>(botao), Qt::LeftButton);
    QCOMPARE(t.msgs.Textos(), mensagens);
    QCOMPARE(t.form.edtSagLente->text(), QStringLiteral("0"));
    QCOMPARE(t.form.ModoCalculo(), 0);
}

void TesteMedidas::diametroRecalcula_data()
{
    QTest::addColumn<int>("modo");
    QTest::addColumn<bool>("recalcula");
    QTest::newRow("topografia") << 1 << true;
    QTest::newRow("ápice-limbo") << 2 << true;
    QTest::newRow("FST") << 3 << false;
}

void TesteMedidas::diametroRecalcula()
{
    QFETCH(int, modo);
    QFETCH(bool, recalcula);
    amb->Fatores(QStringLiteral("0.02"), QStringLiteral("0.025"), QStringLiteral("0.025"), QStringLiteral("0.025"),
                 QStringLiteral("0.025"));
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    CasoTopografia(t.form);
    if (modo == 3) {
        t.form.cbFST->setChecked(true);
        Clica(t.form.ImgLateral, QPoint(300, 400));
        Clica(t.form.ImgLateral, QPoint(300, 300));
        Clica(t.form.ImgLateral, QPoint(320, 60));
    }
    QTest::mouseClick(modo == 1 ? t.form.btCalculaSagTeorico : modo == 2 ? t.form.btCalculaSagMedida : t.form.btCalcSagFST,
                      Qt::LeftButton);
    QCOMPARE(t.form.ModoCalculo(), modo);
    const QString antes = t.form.edtSagLente->text();
    Digita(t.form.edtCordaLente, QStringLiteral("17"));
    const double sag = Numero(t.form.edtSagLente);
    if (recalcula) {
        TDadosLente d;
        d.DiametroLente = d.CordaEsclera = 17;
        d.CordaTopo = 10;
        d.RaioTopo = 7.8;
        d.CordaLimbo = d.CordaIris = 12;
        d.ApiceLimbo = 3;
        const double esperado = modo == 1 ? CalculaDistSagLente(d).SagLente : CalculaDistSagLenteMedido(d).SagLente;
        QCOMPARE(t.form.tbSagLente->value(), PosicaoBarraSag(esperado));
        QVERIFY(t.form.edtSagLente->text() != antes);
    } else {
        QCOMPARE(t.form.edtSagLente->text(), antes);
    }
    QVERIFY(std::abs(Numero(t.form.edtRaioLente) - RaioLente(17, sag)) < 1e-9);
    QVERIFY2(t.msgs.Registros().isEmpty(), qPrintable(t.msgs.Textos().join(u'|')));
}

void TesteMedidas::entradasRuins_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("raio topo sem número") << "edtRaioTopo" << "7,8x" << "7,8x";
    QTest::newRow("corda maior que o diâmetro") << "edtCordaTopo" << "20" << "20";
    QTest::newRow("íris sem número") << "edtCordaIris" << "12a" << "erro de leitura do valor de CordaIris";
}

void TesteMedidas::entradasRuins()
{
    QFETCH(QString, campo);
    QFETCH(QString, texto);
    QFETCH(QString, mensagem);
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    CasoTopografia(t.form);
    Digita(t.form.findChild<QLineEdit*>(campo), texto);
    QTest::mouseClick(t.form.btCalculaSagTeorico, Qt::LeftButton);
    QCOMPARE(t.msgs.Registros().size(), 1);
    QVERIFY2(t.msgs.Registros()[0].texto.contains(mensagem), qPrintable(t.msgs.Registros()[0].texto));
    QCOMPARE(t.form.ModoCalculo(), 0);
    for (QLineEdit* e : t.form.findChildren<QLineEdit*>()) {
        QVERIFY(!e->text().contains(QStringLiteral("nan"), Qt::CaseInsensitive));
        QVERIFY(!e->text().contains(QStringLiteral("inf"), Qt::CaseInsensitive));
    }
    for (QLineEdit* e : {t.form.edtSagLente, t.form.edtSagTopo, t.form.edtRaioLente})
        QCOMPARE(e->text(), QStringLiteral("0"));
    QCOMPARE(t.form.tbSagLente->value(), 0);
}

// The lens appears over the lateral image only once a lateral measurement gave P1.
void TesteMedidas::lenteDesenhada()
{
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    CasoTopografia(t.form);
    QTest::mouseClick(t.form.btCalculaSagTeorico, Qt::LeftButton);
    QCOMPARE(t.form.ImgLateral->Imagem(), t.form.ImgLateralAux->Imagem());
    Clica(t.form.ImgLateral, QPoint(400, 240));
    Clica(t.form.ImgLateral, QPoint(300, 240));
    Digita(t.form.edtSagLente, QStringLiteral("4000"));
    // OD: vault 200 um at 0.03 -> 7 px outward (-x), in green.
    QCOMPARE(t.form.ImgLateral->Imagem().pixel(396, 240), qRgb(0, 128, 0));
    QVERIFY(t.msgs.Registros().isEmpty());
}

void TesteMedidas::semArquivos()
{
    ExameCapturado e = amb->esfera;
    e.Codigo = 99999;
    Tela t;
    QVERIFY(t.Mostra(amb->torica));
    const QString titulo = t.form.lbTitulo->text();
    t.abriu = false;
    QVERIFY(!t.Mostra(e));
    const QString prefixo = PrefixoExame(e.CodPaciente, e.Codigo);
    const auto& r = t.msgs.Registros();
    QVERIFY(!r.isEmpty());
    QCOMPARE(r.last().texto, QStringLiteral("Não foi possível processar o mapa selecionado. ERROMAP03\r\rDiretorio: ") + prefixo);
    QCOMPARE(r.last().titulo, QStringLiteral("Informação"));
    QCOMPARE(r.last().icone, IconeMensagem::Erro);
    QCOMPARE(t.form.lbTitulo->text(), titulo);
}

void TesteMedidas::semImagens_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::newRow("sem imagens") << QByteArray();
    QTest::newRow("não é JPEG") << QByteArray("isto não é uma imagem");
}

void TesteMedidas::semImagens()
{
    QFETCH(QByteArray, conteudo);
    const ExameCapturado e = GravaExameCapturado(amb->banco.DM(), amb->paciente, amb->medico,
                                                 QStringLiteral("esfera 7.8"), QStringLiteral("OD"), QDate(2025, 4, 1));
    QVERIFY(e.Valido);
    QBuffer c, l;
    c.setData(conteudo);
    l.setData(conteudo);
    c.open(QIODevice::ReadOnly);
    l.open(QIODevice::ReadOnly);
    TDArquivos(amb->banco.DM()).GravaImagens(e.Codigo, c, l);
    Tela t;
    QVERIFY(t.Mostra(e));
    QVERIFY(t.msgs.Registros().isEmpty());
    const QImage& lat = t.form.ImgLateralAux->Imagem();
    QCOMPARE(ContaCor(lat, lat.rect(), qRgb(0, 0, 0)), 640 * 480);
    Clica(t.form.ImgLateral, QPoint(100, 100));
    Clica(t.form.ImgLateral, QPoint(100, 200));
    QCOMPARE(t.form.edtApiceIris->text(), QStringLiteral("3"));
}

void TesteMedidas::fatorQueNaoENumero()
{
    amb->banco.Instalacao().AlteraChave(QStringLiteral("FatorCorrecao pixel to mm imagem lateral YS"), QStringLiteral("0,0x"));
    Tela t;
    QVERIFY(!t.Mostra(amb->cone));
    QCOMPARE(t.msgs.Registros().size(), 1);
    QVERIFY(t.msgs.Registros()[0].texto.contains(QStringLiteral("FatorCorrecao pixel to mm imagem lateral YS")));
    QCOMPARE(t.msgs.Registros()[0].icone, IconeMensagem::Erro);
    // The right eye reads its own keys and opens.
    t.msgs.Limpa();
    QVERIFY(t.Mostra(amb->torica));
}

void TesteMedidas::fatorZero()
{
    amb->Fatores(QStringLiteral("0.02"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    Clica(t.form.ImgLateral, QPoint(400, 240));
    Clica(t.form.ImgLateral, QPoint(300, 240));
    QCOMPARE(t.form.edtApiceIris->text(), QStringLiteral("0"));
    QVERIFY(t.msgs.Registros().isEmpty());
    const QImage antes = t.form.ImgLateral->Imagem();
    t.form.edtSagLente->setText(QStringLiteral("4000"));
    QCOMPARE(t.msgs.Registros().size(), 1);
    QCOMPARE(t.form.ImgLateral->Imagem(), antes);
    QVERIFY(t.msgs.Registros()[0].texto.contains(QStringLiteral("fator de correção")));
}

void TesteMedidas::ceratometriaImpossivel()
{
    const ExameCapturado e = GravaExameCapturado(amb->banco.DM(), amb->paciente, amb->medico,
                                                 QStringLiteral("esfera 7.8"), QStringLiteral("OD"), QDate(2025, 4, 2));
    QVERIFY(e.Valido);
    TBMapOperation op;
    QVERIFY(op.CarregaExame(e.Prefixo));
    TAneisMeridiano aneis;
    op.CopiaAneis(aneis);
    for (int k = 0; k < 40; ++k)
        aneis[k] = 0; // meridians without any ring
    GravaArquivoA(e.CodPaciente, e.Codigo, aneis, op.CentroX(), op.CentroY(), op.Pupila());
    Tela t;
    QVERIFY(t.Mostra(e));
    QVERIFY(!t.msgs.Registros().isEmpty());
    QCOMPARE(t.msgs.Registros().last().texto, QStringLiteral("Não foi possivel abrir o exame selecionado."));
    QCOMPARE(t.msgs.Registros().last().icone, IconeMensagem::Atencao);
    QCOMPARE(t.form.edtCordaLente->text(), QStringLiteral("16"));
    QCOMPARE(t.form.edtVault->text(), QStringLiteral("200"));
    QVERIFY(ContaCor(t.form.ImgCentralAux->Imagem(), QRect(0, 0, 640, 480), qRgb(0, 0, 0)) < 640 * 480);
}

void TesteMedidas::cordaIrisInvalidaNoElastico()
{
    Tela t;
    QVERIFY(t.Mostra(amb->esfera));
    Digita(t.form.edtCordaIris, QStringLiteral("1x"));
    Clica(t.form.ImgLateral, QPoint(300, 240));
    for (int x = 310; x < 330; x += 5)
        QTest::mouseMove(t.form.ImgLateral, QPoint(x, 240));
    QVERIFY(t.msgs.Registros().isEmpty());
    QCOMPARE(t.form.ImgLateral->Imagem().pixel(325, 100), kAmarelo); // the vertical through the pointer
    // With a chord: strokes at half of 12 mm / 0.03 = 200 px above and below the pointer.
    Digita(t.form.edtCordaIris, QStringLiteral("12"));
    QTest::mouseMove(t.form.ImgLateral, QPoint(330, 240));
    QCOMPARE(t.form.ImgLateral->Imagem().pixel(337, 440), kAmarelo);
    QCOMPARE(t.form.ImgLateral->Imagem().pixel(323, 40), kAmarelo);
}

QTEST_MAIN(TesteMedidas)
#include "tst_medidas.moc"
