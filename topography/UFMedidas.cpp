#include "topography/UFMedidas.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UBJpeg.h"
#include "data/UDArquivos.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmExames.h"
#include "platform/UAjuda.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "topography/UCalculosLente.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kTituloInformacao = QStringLiteral("Informação");
const QString kFaltaP = QStringLiteral("(      ,      )");

QString CoordenadaMm(double valor) { return FormataNumero(QStringLiteral("0.##"), valor); }

QString PontoMm(QPoint canvas, double fx, double fy)
{
    const int x = canvas.x(), y = kAlturaImagem - 1 - canvas.y();
    return QStringLiteral("(") + CoordenadaMm(x * fx) + QStringLiteral(" , ") + CoordenadaMm(y * fy) +
           QStringLiteral(")");
}

// Reads one factor of the settings; a text that is no number is reported with its key.
double LeFator(const TBIniSettings& ini, ChaveIni chave, const QString& nomeChave)
{
    double v = 0;
    if (!TentaReal(ini.Texto(chave), v))
        throw ErroConversao(QStringLiteral("O valor \"%1\" da chave \"%2\" do arquivo de configuração não é um "
                                           "número válido.")
                                .arg(ini.Texto(chave), nomeChave));
    return v;
}

QImage DecodificaImagem(QBuffer& fluxo)
{
    if (fluxo.size() == 0)
        return QImage();
    TBJpeg jpeg;
    if (!jpeg.JpegParaBitmap(fluxo))
        return QImage();
    return QImage::fromData(fluxo.data(), "BMP");
}

} // namespace

// --- canvas -------------------------------------------------------------------------------

TCanvasMedidas::TCanvasMedidas(QWidget* pai) : QWidget(pai)
{
    setFixedSize(kLarguraImagem, kAlturaImagem);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    Limpa();
}

void TCanvasMedidas::Limpa()
{
    m_imagem = QImage(width(), height(), QImage::Format_RGB32);
    m_imagem.fill(Qt::black);
    update();
}

void TCanvasMedidas::DefineImagem(const QImage& imagem)
{
    // The picture is placed at 1:1 from the top-left, never scaled; what it does not cover
    // stays black.
    m_imagem = QImage(width(), height(), QImage::Format_RGB32);
    m_imagem.fill(Qt::black);
    if (!imagem.isNull()) {
        QPainter p(&m_imagem);
        p.drawImage(0, 0, imagem);
    }
    update();
}

void TCanvasMedidas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_imagem);
}

void TCanvasMedidas::mousePressEvent(QMouseEvent* e)
{
    emit Pressionado(e->position().toPoint(), e->button());
}

void TCanvasMedidas::mouseMoveEvent(QMouseEvent* e) { emit Movido(e->position().toPoint()); }

// --- form -----------------------------------------------------------------------------------

TFMedidas::TFMedidas(QWidget* pai) : QDialog(pai), m_exameArquivos(std::make_unique<TBMapOperation>())
{
    setObjectName(QStringLiteral("FMedidas"));
    setWindowTitle(QStringLiteral("Formulário de medidas"));
    DefineContextoAjuda(this, kContextoAjudaMedidas);
    MontaTela();
}

TFMedidas::~TFMedidas() = default;

namespace {
QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto)
{
    auto* l = new QLabel(texto, pai);
    if (nome)
        l->setObjectName(QLatin1String(nome));
    return l;
}
} // namespace

QLineEdit* TFMedidas::CampoLente(const char* nome, const QString& legenda, QGridLayout* grade, int linha, int coluna)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QLatin1String(nome));
    e->setFixedWidth(58);

    auto* l = new QLabel(legenda, this);
    l->setBuddy(e);
    grade->addWidget(l, linha, coluna, Qt::AlignRight);
    grade->addWidget(e, linha, coluna + 1);
    return e;
}

void TFMedidas::MontaTela()
{
    auto* externo = new QVBoxLayout(this);
    externo->setContentsMargins(0, 0, 0, 0);
    auto* rolagem = new QScrollArea(this);
    rolagem->setWidgetResizable(true);
    rolagem->setFrameShape(QFrame::NoFrame);
    externo->addWidget(rolagem);
    auto* conteudo = new QWidget;
    conteudo->setObjectName(QStringLiteral("pnlMedidas"));
    rolagem->setWidget(conteudo);
    auto* v = new QVBoxLayout(conteudo);
    v->setContentsMargins(8, 4, 8, 4);
    v->setSpacing(4);

    lbTitulo = Rotulo(conteudo, "lbTitulo", QStringLiteral("Tela de Medidas"));
    QFont ft = lbTitulo->font();
    ft.setBold(true);
    ft.setPointSizeF(ft.pointSizeF() * 1.25);
    lbTitulo->setFont(ft);
    v->addWidget(lbTitulo);

    // The two photographs side by side, each with its coordinates below.
    auto* imagens = new QHBoxLayout;
    imagens->setSpacing(8);
    auto coluna = [&](TCanvasMedidas*& canvas, const char* nome, const QString& titulo, QLabel*& x, const char* nx,
                      QLabel*& y, const char* ny, QLabel*& xm, const char* nxm, QLabel*& ym, const char* nym) {
        auto* c = new QVBoxLayout;
        c->setSpacing(2);
        canvas = new TCanvasMedidas(conteudo);
        canvas->setObjectName(QLatin1String(nome));
        c->addWidget(new QLabel(titulo, conteudo));
        c->addWidget(canvas);
        auto* linha = new QHBoxLayout;
        x = Rotulo(conteudo, nx, QStringLiteral("0"));
        y = Rotulo(conteudo, ny, QStringLiteral("0"));
        xm = Rotulo(conteudo, nxm, QStringLiteral("0"));
        ym = Rotulo(conteudo, nym, QStringLiteral("0"));
        for (QLabel* l : {x, y, xm, ym})
            l->setMinimumWidth(48);
        linha->addWidget(new QLabel(QStringLiteral("X (pixel):"), conteudo));
        linha->addWidget(x);
        linha->addWidget(new QLabel(QStringLiteral("Y (pixel):"), conteudo));
        linha->addWidget(y);
        linha->addWidget(new QLabel(QStringLiteral("X (mm):"), conteudo));
        linha->addWidget(xm);
        linha->addWidget(new QLabel(QStringLiteral("Y (mm):"), conteudo));
        linha->addWidget(ym);
        linha->addStretch();
        c->addLayout(linha);
        imagens->addLayout(c);
    };
    coluna(ImgCentral, "ImgCentral", QStringLiteral("Imagem central"), lbXC, "lbXC", lbYC, "lbYC", lbXCM, "lbXCM",
           lbYCM, "lbYCM");
    coluna(ImgLateral, "ImgLateral", QStringLiteral("Imagem lateral"), lbXL, "lbXL", lbYL, "lbYL", lbXLM, "lbXLM",
           lbYLM, "lbYLM");
    imagens->addStretch();
    v->addLayout(imagens);

    // Untouched copies: every redraw starts from them.
    ImgCentralAux = new TCanvasMedidas(this);
    ImgCentralAux->setObjectName(QStringLiteral("ImgCentralAux"));
    ImgCentralAux->hide();
    ImgLateralAux = new TCanvasMedidas(this);
    ImgLateralAux->setObjectName(QStringLiteral("ImgLateralAux"));
    ImgLateralAux->hide();

    auto* baixo = new QHBoxLayout;
    baixo->setSpacing(8);

    // Measurement tools: factors, colours, width, FST.
    auto* gbMedidas = new QGroupBox(QStringLiteral("Medidas"), conteudo);
    auto* gm = new QGridLayout(gbMedidas);
    gm->setVerticalSpacing(2);
    lbFCC = Rotulo(gbMedidas, "lbFCC", QString());
    lbFCLX = Rotulo(gbMedidas, "lbFCLX", QString());
    lbFCLY = Rotulo(gbMedidas, "lbFCLY", QString());
    gm->addWidget(lbFCC, 0, 0, 1, 4);
    gm->addWidget(lbFCLX, 1, 0, 1, 4);
    gm->addWidget(lbFCLY, 2, 0, 1, 4);
    CorPalBox = new TCanvasMedidas(gbMedidas);
    CorPalBox->setObjectName(QStringLiteral("CorPalBox"));
    CorPalBox->setFixedSize(26, 26);
    CorPalBox->setCursor(Qt::PointingHandCursor);
    CorPalBox->setToolTip(QStringLiteral("Cor da Linha"));
    CorTextoBox = new TCanvasMedidas(gbMedidas);
    CorTextoBox->setObjectName(QStringLiteral("CorTextoBox"));
    CorTextoBox->setFixedSize(26, 26);
    CorTextoBox->setCursor(Qt::PointingHandCursor);
    CorTextoBox->setToolTip(QStringLiteral("Cor do Texto"));
    gm->addWidget(CorPalBox, 3, 0);
    gm->addWidget(new QLabel(QStringLiteral("Cor da Linha"), gbMedidas), 3, 1);
    gm->addWidget(CorTextoBox, 3, 2);
    gm->addWidget(new QLabel(QStringLiteral("Cor do Texto"), gbMedidas), 3, 3);
    sbEsp = new QScrollBar(Qt::Horizontal, gbMedidas);
    sbEsp->setObjectName(QStringLiteral("sbEsp"));
    sbEsp->setRange(1, 5);
    sbEsp->setPageStep(1);
    sbEsp->setFixedWidth(90);
    EspBox = Rotulo(gbMedidas, "EspBox", QStringLiteral("1"));
    gm->addWidget(new QLabel(QStringLiteral("Espessura:"), gbMedidas), 4, 0, 1, 2);
    gm->addWidget(sbEsp, 4, 2);
    gm->addWidget(EspBox, 4, 3);
    cbFST = new QCheckBox(QStringLiteral("FST"), gbMedidas);
    cbFST->setObjectName(QStringLiteral("cbFST"));
    gm->addWidget(cbFST, 5, 0, 1, 4);
    baixo->addWidget(gbMedidas);

    // The lens calculator: its fields, then one row with the FST points (while FST is on)
    // and the buttons.
    auto* gbLente = new QGroupBox(QStringLiteral("Cálculo da lente"), conteudo);
    auto* vl = new QVBoxLayout(gbLente);
    vl->setSpacing(4);
    vl->setContentsMargins(6, 4, 6, 4);
    auto* gl = new QGridLayout;
    gl->setVerticalSpacing(2);
    gl->setHorizontalSpacing(5);
    vl->addLayout(gl);
    edtCordaLente = CampoLente("edtCordaLente", QStringLiteral("DIÂMETRO LENTE (mm):"), gl, 0, 0);
    edtSagLente = CampoLente("edtSagLente", QStringLiteral("SAG LENTE (um):"), gl, 1, 0);
    edtRaioLente = CampoLente("edtRaioLente", QStringLiteral("RAIO  LENTE (mm):"), gl, 2, 0);
    edtVault = CampoLente("edtVault", QStringLiteral("VAULT(um):"), gl, 3, 0);
    tbCordaLente = new QSlider(Qt::Horizontal, gbLente);
    tbCordaLente->setObjectName(QStringLiteral("tbCordaLente"));
    tbCordaLente->setRange(10, 40);
    tbCordaLente->setPageStep(2);
    tbSagLente = new QSlider(Qt::Horizontal, gbLente);
    tbSagLente->setObjectName(QStringLiteral("tbSagLente"));
    tbSagLente->setRange(0, 10000);
    tbSagLente->setPageStep(100);
    for (QSlider* s : {tbCordaLente, tbSagLente})
        s->setFixedWidth(96);
    gl->addWidget(tbCordaLente, 0, 2);
    gl->addWidget(tbSagLente, 1, 2);
    edtCordaTopo = CampoLente("edtCordaTopo", QStringLiteral("CORDA TOPO (mm):"), gl, 0, 3);
    edtRaioTopo = CampoLente("edtRaioTopo", QStringLiteral("RAIO TOPO (mm):"), gl, 1, 3);
    edtSagTopo = CampoLente("edtSagTopo", QStringLiteral("SAG TOPO (mm):"), gl, 2, 3);
    edtCordaLimbo = CampoLente("edtCordaLimbo", QStringLiteral("CORDA LIMBO (mm):"), gl, 0, 5);
    edtRaioLimbo = CampoLente("edtRaioLimbo", QStringLiteral("RAIO LIMBO (mm):"), gl, 1, 5);
    edtSagLimbo = CampoLente("edtSagLimbo", QStringLiteral("SAG LIMBO (mm):"), gl, 2, 5);
    edtCordaEsclera = CampoLente("edtCordaEsclera", QStringLiteral("CORDA ESCLERA (mm):"), gl, 0, 7);
    edtRaioEsclera = CampoLente("edtRaioEsclera", QStringLiteral("RAIO ESCLERA (mm):"), gl, 1, 7);
    edtSagEsclera = CampoLente("edtSagEsclera", QStringLiteral("SAG ESCLERA (mm):"), gl, 2, 7);
    edtCordaIris = CampoLente("edtCordaIris", QStringLiteral("CORDA IRIS VISIVEL (mm):"), gl, 3, 3);
    edtApiceIris = CampoLente("edtApiceIris", QStringLiteral("MEDIDA APICE-LIMBO (mm):"), gl, 3, 5);

    auto* linha = new QHBoxLayout;
    linha->setSpacing(6);
    vl->addLayout(linha);
    auto* gbFST = new QWidget(gbLente);
    gbFST->setObjectName(QStringLiteral("gbFST"));
    auto* gf = new QHBoxLayout(gbFST);
    gf->setContentsMargins(0, 0, 0, 0);
    gf->setSpacing(3);
    lbP1 = Rotulo(gbFST, "lbP1", QStringLiteral("P1"));
    lbP2 = Rotulo(gbFST, "lbP2", QStringLiteral("P2"));
    lbP3 = Rotulo(gbFST, "lbP3", QStringLiteral("P3"));
    lbP1M = Rotulo(gbFST, "lbP1M", kFaltaP);
    lbP2M = Rotulo(gbFST, "lbP2M", kFaltaP);
    lbP3M = Rotulo(gbFST, "lbP3M", kFaltaP);
    lbSagP1P2 = Rotulo(gbFST, "lbSagP1P2", QStringLiteral(" Sag ("));
    lbSagP1 = Rotulo(gbFST, "lbSagP1", QStringLiteral("0"));
    lbmmp1 = Rotulo(gbFST, "lbmmp1", QStringLiteral("mm)"));
    lbCordaP1P2 = Rotulo(gbFST, "lbCordaP1P2", QStringLiteral("Corda("));
    lbCordaP3 = Rotulo(gbFST, "lbCordaP3", QStringLiteral("0"));
    lbmmcorda = Rotulo(gbFST, "lbmmcorda", QStringLiteral("mm)"));
    for (QLabel* l : {lbP1, lbP2, lbP3, lbSagP1P2, lbCordaP1P2}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    for (QLabel* l : {lbP1, lbP1M, lbP2, lbP2M, lbP3, lbP3M}) {
        gf->addWidget(l);
        if (l == lbP1M || l == lbP2M || l == lbP3M)
            gf->addSpacing(8);
    }
    for (QLabel* l : {lbSagP1P2, lbSagP1, lbmmp1})
        gf->addWidget(l);
    gf->addSpacing(8);
    for (QLabel* l : {lbCordaP1P2, lbCordaP3, lbmmcorda})
        gf->addWidget(l);
    linha->addWidget(gbFST);
    btCalculaSagTeorico = new QPushButton(QStringLiteral("Cacula Sag Lente via topografia"), gbLente);
    btCalculaSagTeorico->setObjectName(QStringLiteral("btCalculaSagTeorico"));
    btCalculaSagMedida = new QPushButton(QStringLiteral("Calcula Sag Lente via Apice-Limbo da Córnea"), gbLente);
    btCalculaSagMedida->setObjectName(QStringLiteral("btCalculaSagMedida"));
    btCalcSagFST = new QPushButton(QStringLiteral("Calcula Sag Lente FST"), gbLente);
    btCalcSagFST->setObjectName(QStringLiteral("btCalcSagFST"));
    btnSairMedidas = new QPushButton(QStringLiteral("Sair"), gbLente);
    btnSairMedidas->setObjectName(QStringLiteral("btnSairMedidas"));
    btnSairMedidas->setMinimumWidth(90);
    linha->addStretch();
    for (QPushButton* b : {btCalculaSagTeorico, btCalculaSagMedida, btCalcSagFST, btnSairMedidas}) {
        b->setAutoDefault(false);
        linha->addWidget(b);
    }
    baixo->addWidget(gbLente, 1);
    v->addLayout(baixo);
    v->addStretch();

    // The palette floats over the form while a colour is being chosen.
    Paleta = new TCanvasMedidas(this);
    Paleta->setObjectName(QStringLiteral("Paleta"));
    Paleta->setFixedSize(30, 450);
    Paleta->setCursor(Qt::PointingHandCursor);
    Paleta->move(8, 40);
    Paleta->hide();
    lbPaleta = Rotulo(this, "lbPaleta", QStringLiteral("Escolha a cor"));
    lbPaleta->setStyleSheet(QStringLiteral("background: white; border: 1px solid gray; padding: 2px"));
    lbPaleta->adjustSize();
    lbPaleta->move(44, 40);
    lbPaleta->hide();

    btCalcSagFST->hide();
    gbFST->setVisible(false);
    for (QLabel* l : {lbP1, lbP2, lbP3, lbP1M, lbP2M, lbP3M, lbSagP1P2, lbSagP1, lbmmp1, lbCordaP1P2, lbCordaP3, lbmmcorda})
        l->setVisible(false);

    connect(ImgCentral, &TCanvasMedidas::Pressionado, this, &TFMedidas::ImgCentralPressionado);
    connect(ImgCentral, &TCanvasMedidas::Movido, this, &TFMedidas::ImgCentralMouseMove);
    connect(ImgLateral, &TCanvasMedidas::Pressionado, this, &TFMedidas::ImgLateralPressionado);
    connect(ImgLateral, &TCanvasMedidas::Movido, this, &TFMedidas::ImgLateralMouseMove);
    connect(CorPalBox, &TCanvasMedidas::Pressionado, this, [this](QPoint, Qt::MouseButton) { CorPalBoxClick(); });
    connect(CorTextoBox, &TCanvasMedidas::Pressionado, this, [this](QPoint, Qt::MouseButton) { CorTextoBoxMouseDown(); });
    connect(Paleta, &TCanvasMedidas::Pressionado, this, [this](QPoint p, Qt::MouseButton) { PaletaMouseDown(p); });
    connect(sbEsp, &QScrollBar::valueChanged, this, &TFMedidas::sbEspChange);
    connect(cbFST, &QCheckBox::toggled, this, &TFMedidas::cbFSTClick);
    connect(btnSairMedidas, &QPushButton::clicked, this, &TFMedidas::btnSairMedidasClick);
    connect(btCalculaSagTeorico, &QPushButton::clicked, this, &TFMedidas::btCalculaSagTeoricoClick);
    connect(btCalculaSagMedida, &QPushButton::clicked, this, &TFMedidas::btCalculaSagMedidaClick);
    connect(btCalcSagFST, &QPushButton::clicked, this, &TFMedidas::btCalcSagFSTClick);

    connect(edtCordaLente, &QLineEdit::textChanged, this, &TFMedidas::edtCordaLenteChange);
    connect(edtCordaEsclera, &QLineEdit::textChanged, this, &TFMedidas::edtCordaEscleraChange);
    connect(edtCordaIris, &QLineEdit::textChanged, this, &TFMedidas::edtCordaIrisChange);
    for (QLineEdit* e : {edtSagLente, edtSagTopo, edtSagLimbo, edtSagEsclera})
        connect(e, &QLineEdit::textChanged, this, &TFMedidas::edtSagLenteChange);
    connect(tbCordaLente, &QSlider::valueChanged, this, &TFMedidas::tbCordaLenteChange);
    connect(tbSagLente, &QSlider::valueChanged, this, &TFMedidas::tbSagLenteChange);
    connect(edtCordaTopo, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtCordaTopo, m_cordaTopo); });
    connect(edtRaioTopo, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtRaioTopo, m_raioTopo); });
    connect(edtCordaLimbo, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtCordaLimbo, m_cordaLimbo); });
    connect(edtRaioLimbo, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtRaioLimbo, m_raioLimbo); });
    connect(edtRaioEsclera, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtRaioEsclera, m_raioEsclera); });
    connect(edtRaioLente, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtRaioLente, m_raio); });
    connect(edtApiceIris, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtApiceIris, m_apiceIris); });
    connect(edtVault, &QLineEdit::textChanged, this, [this] { CampoSimplesChange(edtVault, m_vault); });

    resize(1366, 740);
}

// --- showing ---------------------------------------------------------------------------------

void TFMedidas::RelataErro(const QString& texto) const
{
    Mensagem(QCoreApplication::applicationName(), texto, IconeMensagem::Erro, BotoesMensagem::Ok);
}

void TFMedidas::PintaCaixa(TCanvasMedidas* caixa, const QColor& cor)
{
    caixa->Imagem().fill(cor);
    caixa->update();
}

void TFMedidas::LimpaMedidas()
{
    for (int i = 0; i <= kMaxMedidas; ++i)
        m_central[i] = m_lateral[i] = TMedida();
    m_numCentral = m_numLateral = 0;
    m_estadoCentral = m_estadoLateral = 0;
    m_fstTerceiro = false;
}

void TFMedidas::DefineTexto(QLineEdit* campo, const QString& texto)
{
    ++m_ligando;
    campo->setText(texto);
    --m_ligando;
}

bool TFMedidas::FormShow(const TExameMedidas& exame)
{
    // 1. Measurements, colours and width back to their start.
    LimpaMedidas();
    m_estilo = TEstiloMedidas();
    m_escolhaCor = 0;
    {
        QSignalBlocker b(sbEsp);
        sbEsp->setValue(1);
    }
    EspBox->setText(QStringLiteral("1"));
    Paleta->DefineImagem(PreenchePaleta());
    Paleta->hide();
    lbPaleta->hide();
    PintaCaixa(CorPalBox, m_estilo.Linha);
    PintaCaixa(CorTextoBox, m_estilo.Texto);

    // 2. The examination's files, with the settings read again.
    const QString prefixo = PrefixoExame(exame.CodPaciente, exame.Codigo);
    TBIniSettings ini;
    ini.LoadAll(InfosZR.Modelo == 0 ? 3 : InfosZR.Modelo);
    bool carregou = false;
    try {
        carregou = m_exameArquivos->CarregaExame(prefixo, u'.');
    } catch (const ErroSistema& e) {
        RelataErro(e.Mensagem());
    }
    if (!carregou) {
        TfrmAguarde::Esconde();
        Mensagem(kTituloInformacao,
                 QStringLiteral("Não foi possível processar o mapa selecionado. ERROMAP03\r\rDiretorio: ") + prefixo,
                 IconeMensagem::Erro);
        return false;
    }

    // 5 (read first, so that a bad factor stops before anything changes on screen).
    const bool direito = exame.Olho == QStringLiteral("OD");
    double f = 0, fx = 0, fy = 0;
    try {
        f = LeFator(ini, ChaveIni::FatorCorrecao, QStringLiteral("FatorCorrecao"));
        fx = direito ? LeFator(ini, ChaveIni::FatorCorrecaoXD, QStringLiteral("FatorCorrecao pixel to mm imagem lateral XD"))
                     : LeFator(ini, ChaveIni::FatorCorrecaoXS, QStringLiteral("FatorCorrecao pixel to mm imagem lateral XS"));
        fy = direito ? LeFator(ini, ChaveIni::FatorCorrecaoYD, QStringLiteral("FatorCorrecao pixel to mm imagem lateral YD"))
                     : LeFator(ini, ChaveIni::FatorCorrecaoYS, QStringLiteral("FatorCorrecao pixel to mm imagem lateral YS"));
    } catch (const ErroSistema& e) {
        TfrmAguarde::Esconde();
        RelataErro(e.Mensagem());
        return false;
    }
    m_exame = exame;
    m_fator = f;
    m_fatorX = fx;
    m_fatorY = fy;

    // 3. The photographs; one that is absent or does not decode leaves its canvas blank.
    bool falhou = false;
    QImage central, lateral;
    try {
        QBuffer c, l;
        TDArquivos().LeImagens(exame.Codigo, c, l);
        central = DecodificaImagem(c);
        lateral = DecodificaImagem(l);
    } catch (const ErroSistema&) {
        falhou = true;
    }
    ImgCentralAux->DefineImagem(central);
    ImgLateralAux->DefineImagem(lateral);
    ImgCentral->DefineImagem(ImgCentralAux->Imagem());
    ImgLateral->DefineImagem(ImgLateralAux->Imagem());

    // 4. Title.
    lbTitulo->setText(QStringLiteral("Tela de Medidas   -   ") + exame.NomePaciente + QStringLiteral("   -   ") +
                      (direito ? QStringLiteral("Olho Direito   -   ") : QStringLiteral("Olho Esquerdo   -   ")) +
                      exame.Data);
    lbFCC->setText(QStringLiteral("Fator correção central: ") + FormataGeral(f));
    lbFCLX->setText(QStringLiteral("Fator correção lateral X: ") + FormataGeral(fx));
    lbFCLY->setText(QStringLiteral("Fator correnção lateral Y: ") + FormataGeral(fy));

    // 6. Keratometry of the axial map within 2.5 mm.
    bool temCerat = false;
    m_cerat = TDadosCeratometria();
    try {
        TBFuncoesMapas mapas(m_exameArquivos->Dioptrias(), m_exameArquivos->Posicoes(),
                             m_exameArquivos->AneisPorMeridiano(), f);
        mapas.CalculaMapa(TBFuncoesMapas::MapaAxial);
        if (mapas.InterpolacaoCompleta()) {
            mapas.Ceratometria(m_cerat, 2.5);
            temCerat = true;
        }
    } catch (const ErroSistema&) {
    }
    falhou = falhou || !temCerat;

    // 7. Lens defaults.
    ++m_ligando;
    m_sag = m_raio = m_cordaIris = m_apiceIris = m_sagTopo = m_sagLimbo = m_sagEsclera = 0;
    tbCordaLente->setValue(12);
    tbSagLente->setValue(0);
    m_diametro = 16;
    m_raioLimbo = 9.5;
    m_cordaLimbo = 15;
    m_raioEsclera = 11.5;
    m_cordaEsclera = m_diametro;
    m_vault = 200;

    // 8. Chord and radius of the mapped area along the steep meridian pair.
    m_cordaTopo = m_raioTopo = 0;
    if (temCerat) {
        const int s = 180 - m_cerat.Eixo1; // 1..180
        const TMatrizAngAnel& m = m_exameArquivos->Posicoes();
        const TAneisMeridiano& n = m_exameArquivos->AneisPorMeridiano();
        const int a = std::clamp(int(n[s - 1]), 0, kMaxAneis);
        const int b = std::clamp(int(n[s + 179]), 0, kMaxAneis);
        m_cordaTopo = f * (m[s - 1][a] + m[s + 179][b]);
        m_raioTopo = m_cerat.R1;
    }
    const QList<QPair<QLineEdit*, double>> valores = {
        {edtSagLente, m_sag},         {edtRaioLente, m_raio},         {edtCordaIris, m_cordaIris},
        {edtApiceIris, m_apiceIris},  {edtSagTopo, m_sagTopo},        {edtSagLimbo, m_sagLimbo},
        {edtSagEsclera, m_sagEsclera}, {edtCordaLente, m_diametro},   {edtRaioLimbo, m_raioLimbo},
        {edtCordaLimbo, m_cordaLimbo}, {edtRaioEsclera, m_raioEsclera}, {edtCordaEsclera, m_cordaEsclera},
        {edtVault, m_vault},          {edtCordaTopo, m_cordaTopo},    {edtRaioTopo, m_raioTopo}};
    for (const auto& [campo, valor] : valores)
        campo->setText(FormataGeral(valor));
    --m_ligando;

    // 9. Reticle.
    plotatransf(ImgCentral->Imagem(), m_estilo.Espessura);
    ImgCentral->update();

    MostraInicioDosCampos();

    // 10.
    if (falhou)
        Mensagem(kTituloInformacao, QStringLiteral("Não foi possivel abrir o exame selecionado."), IconeMensagem::Atencao);
    TfrmAguarde::Esconde();
    return true;
}

void TFMedidas::MostraInicioDosCampos()
{
    // Values the program writes are shown from their first digit; the field being typed
    // into keeps its cursor.
    const QObject* origem = sender();
    for (QLineEdit* e : findChildren<QLineEdit*>())
        if (!e->hasFocus() && e != origem) {
            e->setCursorPosition(0);
            e->update(); // the whole field: moving the cursor repaints only around it
        }
}

void TFMedidas::Abre(const TExameMedidas& exame)
{
    if (FormShow(exame))
        AbreJanelaModal(this);
}

// --- coordinates ------------------------------------------------------------------------------

void TFMedidas::MostraCoordenadas(QPoint p, QLabel* x, QLabel* y, QLabel* xm, QLabel* ym, double fx, double fy)
{
    const int ux = p.x(), uy = kAlturaImagem - 1 - p.y();
    x->setText(QString::number(ux));
    y->setText(QString::number(uy));
    xm->setText(CoordenadaMm(ux * fx));
    ym->setText(CoordenadaMm(uy * fy));
}

// --- central image ------------------------------------------------------------------------------

void TFMedidas::reconstruirCentral()
{
    ImgCentral->Imagem() = ImgCentralAux->Imagem().copy();
    for (int i = 0; i < m_numCentral; ++i)
        DesenhaMedida(ImgCentral->Imagem(), m_central[i], m_estilo);
    plotatransf(ImgCentral->Imagem(), m_estilo.Espessura);
    ImgCentral->update();
}

void TFMedidas::DefineDiametroPorIris(double cordaIris)
{
    const int posicao = cordaIris < 11.8 ? 12 : 14;
    {
        QSignalBlocker b(tbCordaLente);
        tbCordaLente->setValue(posicao);
    }
    tbCordaLenteChange(posicao);
}

void TFMedidas::ImgCentralPressionado(QPoint p, Qt::MouseButton botao)
{
    if (botao == Qt::RightButton) {
        ImgCentral->Imagem() = ImgCentralAux->Imagem().copy();
        m_estadoCentral = 0;
        m_numCentral = 0;
        for (TMedida& m : m_central)
            m = TMedida();
        plotatransf(ImgCentral->Imagem(), m_estilo.Espessura);
        ImgCentral->update();
        return;
    }
    if (botao != Qt::LeftButton)
        return;
    if (m_numCentral >= kMaxMedidas) {
        Mensagem(QCoreApplication::applicationName(), QStringLiteral("Número de Medidas Atingido"));
        reconstruirCentral();
        return;
    }
    if (m_estadoCentral == 0) {
        m_pontoCentral = p;
        m_estadoCentral = 1;
        return;
    }
    const TMedida m = NovaMedida(m_pontoCentral, p, m_fator, m_fator, m_numCentral + 1);
    m_central[m_numCentral++] = m;
    m_estadoCentral = 0;
    edtCordaIris->setText(FormataGeral(m.Comprimento));
    edtCordaIris->setCursorPosition(0);
    DefineDiametroPorIris(m.Comprimento);
    reconstruirCentral();
}

void TFMedidas::ImgCentralMouseMove(QPoint p)
{
    MostraCoordenadas(p, lbXC, lbYC, lbXCM, lbYCM, m_fator, m_fator);
    if (m_estadoCentral != 1)
        return;
    QImage& img = ImgCentral->Imagem();
    img = ImgCentralAux->Imagem().copy();
    DesenhaLinha(img, p, m_pontoCentral, m_estilo.Linha, m_estilo.Espessura);
    EscreveComprimento(img, FormataNumero(QStringLiteral("0.###"), ComprimentoMedida(p, m_pontoCentral, m_fator, m_fator)),
                       QPoint(p.x(), p.y() - 20), m_estilo.Linha);
    plotatransf(img, m_estilo.Espessura);
    ImgCentral->update();
}

// --- lateral image ------------------------------------------------------------------------------

void TFMedidas::reconstruirLateral()
{
    QImage& img = ImgLateral->Imagem();
    img = ImgLateralAux->Imagem().copy();
    if (cbFST->isChecked()) {
        if (m_numLateral > 0) {
            DesenhaMedida(img, m_lateral[0], m_estilo);
            DesenhaLinha(img, QPoint(m_lateral[0].X2, 0), QPoint(m_lateral[0].X2, kAlturaImagem - 1), m_estilo.Linha,
                         m_estilo.Espessura);
        }
    } else {
        for (int i = 0; i < m_numLateral; ++i)
            DesenhaMedida(img, m_lateral[i], m_estilo);
    }
    ImgLateral->update();
}

void TFMedidas::ImgLateralPressionado(QPoint p, Qt::MouseButton botao)
{
    if (botao == Qt::RightButton) {
        ImgLateral->Imagem() = ImgLateralAux->Imagem().copy();
        m_estadoLateral = 0;
        m_fstTerceiro = false;
        m_numLateral = 0;
        for (TMedida& m : m_lateral)
            m = TMedida();
        ImgLateral->update();
        return;
    }
    if (botao != Qt::LeftButton)
        return;
    if (m_numLateral >= kMaxMedidas) {
        Mensagem(QCoreApplication::applicationName(), QStringLiteral("Limite de Medidas Atingido"));
        reconstruirLateral();
        return;
    }
    const bool fst = cbFST->isChecked();
    if (m_estadoLateral == 2 && !fst)
        m_estadoLateral = 0; // FST left while its points were being marked
    if (m_estadoLateral == 0) {
        m_pontoLateral = p;
        m_p1 = p;
        m_temP1 = true;
        m_estadoLateral = 1;
        if (fst)
            lbP1M->setText(PontoMm(p, m_fatorX, m_fatorY));
        return;
    }
    if (m_estadoLateral == 1) {
        if (fst)
            lbP2M->setText(PontoMm(p, m_fatorX, m_fatorY));
        m_p2Lateral = p;
        const TMedida m = NovaMedida(m_pontoLateral, p, m_fatorX, m_fatorY, m_numLateral + 1);
        m_lateral[m_numLateral++] = m;
        edtApiceIris->setText(FormataGeral(m.Comprimento));
        edtApiceIris->setCursorPosition(0);
        reconstruirLateral();
        if (fst) {
            lbSagP1->setText(FormataNumero(QStringLiteral("0.##"), m.Comprimento));
            m_estadoLateral = 2;
        } else {
            m_estadoLateral = 0;
        }
        return;
    }
    if (m_fstTerceiro)
        return; // P1, P2 and P3 are marked: nothing until the right button clears them
    lbP3M->setText(PontoMm(p, m_fatorX, m_fatorY));
    const int y2 = kAlturaImagem - 1 - m_p2Lateral.y();
    const int y3 = kAlturaImagem - 1 - p.y();
    const int a = std::abs(y2 - y3);
    QImage& img = ImgLateral->Imagem();
    DesenhaLinha(img, QPoint(p.x() - 20, kAlturaImagem - y3), QPoint(p.x() + 20, kAlturaImagem - y3), m_estilo.Linha,
                 m_estilo.Espessura);
    DesenhaLinha(img, QPoint(p.x() - 20, kAlturaImagem - y2 - a), QPoint(p.x() + 20, kAlturaImagem - y2 - a),
                 m_estilo.Linha, m_estilo.Espessura);
    ImgLateral->update();
    lbCordaP3->setText(FormataNumero(QStringLiteral("0.##"), 2 * a * (m_fatorY > 0 ? m_fatorY : 0.0)));
    m_fstTerceiro = true;
}

void TFMedidas::ImgLateralMouseMove(QPoint p)
{
    MostraCoordenadas(p, lbXL, lbYL, lbXLM, lbYLM, m_fatorX, m_fatorY);
    if (m_estadoLateral != 1)
        return;
    QImage& img = ImgLateral->Imagem();
    img = ImgLateralAux->Imagem().copy();
    DesenhaLinha(img, p, m_pontoLateral, m_estilo.Linha, m_estilo.Espessura);
    EscreveComprimento(img,
                       FormataNumero(QStringLiteral("0.###"), ComprimentoMedida(p, m_pontoLateral, m_fatorX, m_fatorY)),
                       QPoint(p.x() + 10, p.y() - 20), m_estilo.Linha);
    DesenhaLinha(img, QPoint(p.x(), 0), QPoint(p.x(), kAlturaImagem - 1), m_estilo.Linha, m_estilo.Espessura);
    // The iris chord marks: drawn only when the chord is a number and the factor can
    // convert it (a chord being typed must not raise an error on every mouse move).
    double iris = 0;
    if (TentaReal(edtCordaIris->text(), iris) && m_fatorY > 0 && std::isfinite(iris / m_fatorY) &&
        std::abs(iris / m_fatorY) < 1e6) {
        const int meio = int(ArredondaInteiro(double(ArredondaInteiro(iris / m_fatorY)) / 2.0));
        for (const int dy : {meio, -meio})
            DesenhaLinha(img, QPoint(p.x() - 10, p.y() + dy), QPoint(p.x() + 10, p.y() + dy), m_estilo.Linha,
                         m_estilo.Espessura);
    }
    ImgLateral->update();
}

// --- colours, width, FST, exit -----------------------------------------------------------------

void TFMedidas::CorPalBoxClick()
{
    m_escolhaCor = 1;
    Paleta->show();
    Paleta->raise();
    lbPaleta->show();
    lbPaleta->raise();
}

void TFMedidas::CorTextoBoxMouseDown()
{
    m_escolhaCor = 2;
    Paleta->show();
    Paleta->raise();
    lbPaleta->show();
    lbPaleta->raise();
}

void TFMedidas::PaletaMouseDown(QPoint p)
{
    if (m_escolhaCor == 0 || !Paleta->Imagem().valid(p))
        return;
    const QColor cor = Paleta->Imagem().pixelColor(p);
    if (m_escolhaCor == 1) {
        m_estilo.Linha = cor;
        PintaCaixa(CorPalBox, cor);
    } else {
        m_estilo.Texto = cor;
        PintaCaixa(CorTextoBox, cor);
    }
    Paleta->hide();
    lbPaleta->hide();
    m_escolhaCor = 0;
}

void TFMedidas::sbEspChange(int valor)
{
    m_estilo.Espessura = valor;
    EspBox->setText(QString::number(valor));
}

void TFMedidas::cbFSTClick()
{
    const bool fst = cbFST->isChecked();
    btCalcSagFST->setVisible(fst);
    btCalculaSagTeorico->setVisible(!fst);
    btCalculaSagMedida->setVisible(!fst);
    if (auto* g = findChild<QWidget*>(QStringLiteral("gbFST")))
        g->setVisible(fst);
    for (QLabel* l : {lbP1, lbP2, lbP3, lbP1M, lbP2M, lbP3M, lbSagP1P2, lbSagP1, lbmmp1, lbCordaP1P2, lbCordaP3, lbmmcorda})
        l->setVisible(fst);
    if (fst) {
        for (QLabel* l : {lbP1M, lbP2M, lbP3M})
            l->setText(kFaltaP);
        lbSagP1->setText(QStringLiteral("0"));
        lbCordaP3->setText(QStringLiteral("0"));
    }
}

void TFMedidas::btnSairMedidasClick()
{
    ImgCentral->DefineImagem(ImgCentralAux->Imagem());
    ImgLateral->DefineImagem(ImgLateralAux->Imagem());
    m_estadoCentral = m_estadoLateral = 0;
    m_fstTerceiro = false;
    reject();
}

void LigaMedidasAoNavegador(TFMedidas& medidas)
{
    TfrmExames::Ligacoes().Medidas = [&medidas](TfrmExames& navegador) {
        const TfrmExames::ExameLente& e = navegador.ExameParaLente();
        TExameMedidas exame;
        exame.Codigo = e.Codigo;
        exame.CodPaciente = e.CodPaciente;
        exame.Olho = e.Olho;
        exame.Data = e.Data;
        exame.NomePaciente = e.NomePaciente;
        TfrmAguarde::Mostra();
        medidas.Abre(exame);
    };
}
