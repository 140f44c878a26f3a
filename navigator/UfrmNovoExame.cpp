#include "navigator/UfrmNovoExame.h"

#include "common/UErros.h"
#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UOperacaoBD.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"
#include "navigator/UGravacaoExame.h"
#include "navigator/UIcones.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmExames.h"
#include "platform/UAjuda.h"
#include "platform/UMensagens.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

using namespace CapturaExame;

namespace {

const QString kTitulo = QStringLiteral("Assistente para criação do exame");
const QString kNota = QStringLiteral(
    "As imagens frontal e lateral somente serão impressas na primeira vez em que o exame for "
    "visualizado, ou seja, no momento da criação do exame. Ao revê-lo as imagens serão perdidas.");
const QString kDica = QStringLiteral(
    "Siga os passos do assistente de forma sequencial e em caso de dúvidas consulte a nossa Ajuda "
    "que esta disponível em todas as etapas deste processo.");
const QString kLegendaCaptura = QStringLiteral("Digitalizando Imagem do Olho");
const char* const kPassos[4] = {"Digitalizar Imagem", "Detectar Aneis", "Visualizar Mapa", "Gravar Exame"};
const char* const kNomesPassos[4] = {"lblDigit", "lblDetect", "lblMapa", "lblGrava"};

const QColor kAzul(0, 0, 255);
const QColor kVermelho(255, 0, 0);

const char* kEstilo = R"(
QDialog#frmNovoExame { background: #f4f7fb; }
QGroupBox { border: 1px solid #b9c8da; border-radius: 4px; margin-top: 10px; color: #255a94; font-weight: bold;
  background: #fbfcfe; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QComboBox { padding: 3px 5px; border: 1px solid #b8c5d6; border-radius: 3px; background: white; }
QPlainTextEdit { border: 1px solid #b8c5d6; border-radius: 3px; background: white; }
QPushButton { padding: 4px 14px; }
QLabel#lblMens3 { background: #fff8d0; border: 1px solid #d8c778; border-radius: 3px; padding: 3px 6px; color: #4a3f00; }
)";

QPixmap Preta()
{
    QPixmap p(120, 90);
    p.fill(Qt::black);
    return p;
}

QLabel* Titulo(const QString& texto, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: #255a94;"));
    return l;
}

// The step labels and the help icon answer to clicks and to the mouse pointer.
QPixmap Interrogacao()
{
    QPixmap p(28, 34);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(0x2f, 0x6d, 0xb0));
    g.setPen(Qt::NoPen);
    g.drawEllipse(QRectF(4, 5, 20, 20));
    g.setPen(Qt::white);
    QFont f;
    f.setBold(true);
    f.setPixelSize(15);
    g.setFont(f);
    g.drawText(QRectF(4, 5, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
    return p;
}

} // namespace

// Everything of one eye: its step, what capture and processing gave, and its controls.
struct TfrmNovoExame::Olho {
    int passo = 1;
    QByteArray central, lateral;                  // normal kind
    std::unique_ptr<ResultadoNormal> resultado;   // normal kind, after processing
    QByteArray centrais[4], laterais[4];          // ortho-k kind
    std::unique_ptr<ResultadoOrto> orto;          // ortho-k kind, after processing
    QLabel* rotulos[4] = {};
    QLabel* marcas[4] = {};
    QLabel* setas[4] = {};
    QLabel* previa = nullptr;
    QPushButton* executar = nullptr;
    QPlainTextEdit* diag = nullptr;
    QPlainTextEdit* obs = nullptr;
};

std::function<void()>& TfrmNovoExame::PausaOrto()
{
    static std::function<void()> pausa = [] {
        QEventLoop laco;
        QTimer::singleShot(1100, &laco, &QEventLoop::quit);
        laco.exec(QEventLoop::ExcludeUserInputEvents);
    };
    return pausa;
}

TfrmNovoExame::TfrmNovoExame(TfrmExames& navegador, bool orto, QWidget* pai)
    : QDialog(pai), m_nav(navegador), m_orto(orto)
{
    setObjectName(QStringLiteral("frmNovoExame"));
    setWindowTitle(orto ? kTitulo + QStringLiteral(" - Ortoceratologia") : kTitulo);
    setAttribute(Qt::WA_DeleteOnClose);
    DefineContextoAjuda(this, 7);
    setStyleSheet(QLatin1String(kEstilo));
    m_olhos[0] = std::make_unique<Olho>();
    m_olhos[1] = std::make_unique<Olho>();

    // The patient of the navigator's current row, fixed for the life of the form.
    m_codPaciente = navegador.CodigoPacienteAtual();
    m_nomePaciente = navegador.NomePacienteAtual();
    try {
        ConsultaBD& op = PreparaOperacao(TDMPrincipal::Instancia(),
                                         QStringLiteral("SELECT Nome, RG FROM Pacientes WHERE Codigo=:Codigo"));
        op.DefineParametro(QStringLiteral("Codigo"), m_codPaciente);
        op.Abre();
        if (!op.Vazia()) {
            m_nomePaciente = op.Texto(QStringLiteral("NOME"));
            m_rgPaciente = op.Texto(QStringLiteral("RG"));
        }
        op.Fecha();
    } catch (const ErroSistema&) {
        // The name of the navigator's row stays; the RG is empty.
    }

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(10, 8, 10, 8);
    raiz->setSpacing(6);

    // Doctor, date, time and patient.
    auto* topo = new QGridLayout;
    topo->setHorizontalSpacing(8);
    topo->addWidget(Titulo(QStringLiteral("Médico:"), this), 0, 0);
    ComboMedicos = new QComboBox(this);
    ComboMedicos->setObjectName(QStringLiteral("ComboMedicos"));
    ComboMedicos->setMinimumWidth(230);
    topo->addWidget(ComboMedicos, 0, 1);
    topo->addWidget(Titulo(QStringLiteral("Data:"), this), 0, 2);
    lblData = new QLabel(this);
    lblData->setObjectName(QStringLiteral("lblData"));
    topo->addWidget(lblData, 0, 3);
    topo->addWidget(Titulo(QStringLiteral("Hora:"), this), 0, 4);
    lblHora = new QLabel(this);
    lblHora->setObjectName(QStringLiteral("lblHora"));
    topo->addWidget(lblHora, 0, 5);
    topo->setColumnStretch(6, 1);
    topo->addWidget(Titulo(QStringLiteral("Paciente:"), this), 1, 0);
    DBlblPaciente = new QLabel(m_nomePaciente, this);
    DBlblPaciente->setObjectName(QStringLiteral("DBlblPaciente"));
    topo->addWidget(DBlblPaciente, 1, 1, 1, 6);
    raiz->addLayout(topo);

    // The two eyes, right on the left as the examiner faces the patient.
    auto* olhos = new QGridLayout;
    olhos->setHorizontalSpacing(10);
    gbxOlhoDireito = new QGroupBox(QStringLiteral("Olho Direito"), this);
    gbxOlhoDireito->setObjectName(QStringLiteral("gbxOlhoDireito"));
    gbxOlhoEsquerdo = new QGroupBox(QStringLiteral("Olho Esquerdo"), this);
    gbxOlhoEsquerdo->setObjectName(QStringLiteral("gbxOlhoEsquerdo"));
    pnlDireito = new QWidget(this);
    pnlDireito->setObjectName(QStringLiteral("pnlDireito"));
    pnlEsquerdo = new QWidget(this);
    pnlEsquerdo->setObjectName(QStringLiteral("pnlEsquerdo"));
    MontaOlho(kOlhoDireito, gbxOlhoDireito, pnlDireito);
    MontaOlho(kOlhoEsquerdo, gbxOlhoEsquerdo, pnlEsquerdo);
    olhos->addWidget(gbxOlhoDireito, 0, 0);
    olhos->addWidget(gbxOlhoEsquerdo, 0, 1);
    olhos->addWidget(pnlDireito, 1, 0);
    olhos->addWidget(pnlEsquerdo, 1, 1);
    raiz->addLayout(olhos);
    lblDigitD = m_olhos[1]->rotulos[0], lblDetectD = m_olhos[1]->rotulos[1];
    lblMapaD = m_olhos[1]->rotulos[2], lblGravaD = m_olhos[1]->rotulos[3];
    lblDigitS = m_olhos[0]->rotulos[0], lblDetectS = m_olhos[0]->rotulos[1];
    lblMapaS = m_olhos[0]->rotulos[2], lblGravaS = m_olhos[0]->rotulos[3];
    Olho1 = m_olhos[1]->previa, Olho0 = m_olhos[0]->previa;
    sbtExecutarD = m_olhos[1]->executar, sbtExecutarS = m_olhos[0]->executar;
    Memo3 = m_olhos[1]->diag, Memo4 = m_olhos[1]->obs;
    Memo1 = m_olhos[0]->diag, Memo2 = m_olhos[0]->obs;
    connect(sbtExecutarD, &QPushButton::clicked, this, &TfrmNovoExame::sbtExecutarDClick);
    connect(sbtExecutarS, &QPushButton::clicked, this, &TfrmNovoExame::sbtExecutarSClick);

    // Map choice and the close button.
    auto* mapas = new QHBoxLayout;
    mapas->addWidget(Titulo(QStringLiteral("Visualização dos mapas:"), this));
    rbtAxial = new QRadioButton(QStringLiteral("&Axial"), this);
    rbtAxial->setObjectName(QStringLiteral("rbtAxial"));
    rbtTangencial = new QRadioButton(QStringLiteral("&Tangencial"), this);
    rbtTangencial->setObjectName(QStringLiteral("rbtTangencial"));
    rbtMultiOrto = new QRadioButton(QStringLiteral("&MultiMapas Orto"), this);
    rbtMultiOrto->setObjectName(QStringLiteral("rbtMultiOrto"));
    rbtMultiOrto->hide();
    auto* grupo = new QButtonGroup(this);
    for (QRadioButton* r : {rbtMultiOrto, rbtAxial, rbtTangencial}) {
        grupo->addButton(r);
        mapas->addWidget(r);
    }
    mapas->addStretch(1);
    btnFEC = new QPushButton(this);
    btnFEC->setObjectName(QStringLiteral("btnFEC"));
    btnFEC->setMinimumWidth(110);
    connect(btnFEC, &QPushButton::clicked, this, &TfrmNovoExame::sbtFecharClick);
    mapas->addWidget(btnFEC);
    raiz->addLayout(mapas);

    // The note on the images, with the assistant's hint shown over it now and then.
    auto* nota = new QGridLayout;
    Image4 = new QLabel(this);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setPixmap(Interrogacao());
    Image4->setFixedSize(28, 34);
    Image4->setMouseTracking(true);
    Image4->installEventFilter(this);
    nota->addWidget(Image4, 0, 0, 2, 1, Qt::AlignTop);
    lblMens1 = new QLabel(QStringLiteral("Importante:"), this);
    lblMens1->setObjectName(QStringLiteral("lblMens1"));
    lblMens1->setStyleSheet(QStringLiteral("color: #b03020; font-weight: bold;"));
    nota->addWidget(lblMens1, 0, 1);
    lblMens2 = new QLabel(kNota, this);
    lblMens2->setObjectName(QStringLiteral("lblMens2"));
    lblMens2->setWordWrap(true);
    nota->addWidget(lblMens2, 1, 1);
    lblMens3 = new QLabel(kDica, this);
    lblMens3->setObjectName(QStringLiteral("lblMens3"));
    lblMens3->setWordWrap(true);
    lblMens3->hide();
    nota->addWidget(lblMens3, 0, 1, 2, 1);
    nota->setColumnStretch(1, 1);
    raiz->addLayout(nota);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(12000);
    connect(Timer1, &QTimer::timeout, this, &TfrmNovoExame::Timer1Timer);

    AtualizaBotaoFechar();
    setFixedSize(700, kAlturaPequena);
}

TfrmNovoExame::~TfrmNovoExame() = default;

void TfrmNovoExame::MontaOlho(int olho, QGroupBox* caixa, QWidget* painel)
{
    Olho& o = *m_olhos[olho];
    const QString sufixo = olho == kOlhoDireito ? QStringLiteral("D") : QStringLiteral("S");
    auto* g = new QGridLayout(caixa);
    g->setContentsMargins(10, 14, 10, 8);
    g->setVerticalSpacing(4);
    for (int i = 0; i < 4; ++i) {
        o.setas[i] = new QLabel(QStringLiteral("➜"), caixa);
        o.setas[i]->setObjectName(QStringLiteral("Seta%1%2").arg(sufixo).arg(i + 1));
        o.setas[i]->setStyleSheet(QStringLiteral("color: #2f6db0; font-weight: bold;"));
        o.setas[i]->setFixedWidth(18);
        g->addWidget(o.setas[i], i, 0);
        o.rotulos[i] = new QLabel(QLatin1String(kPassos[i]), caixa);
        o.rotulos[i]->setObjectName(QLatin1String(kNomesPassos[i]) + sufixo);
        QFont f = o.rotulos[i]->font();
        f.setBold(true);
        o.rotulos[i]->setFont(f);
        o.rotulos[i]->installEventFilter(this);
        g->addWidget(o.rotulos[i], i, 1);
        o.marcas[i] = new QLabel(QStringLiteral("✔"), caixa);
        o.marcas[i]->setObjectName(QStringLiteral("Marca%1%2").arg(sufixo).arg(i + 1));
        o.marcas[i]->setStyleSheet(QStringLiteral("color: #1f9a3a; font-weight: bold;"));
        o.marcas[i]->setFixedWidth(18);
        g->addWidget(o.marcas[i], i, 2);
    }
    o.previa = new QLabel(caixa);
    o.previa->setObjectName(olho == kOlhoDireito ? QStringLiteral("Olho1") : QStringLiteral("Olho0"));
    o.previa->setFixedSize(120, 90);
    o.previa->setFrameShape(QFrame::Box);
    o.previa->setPixmap(Preta());
    g->addWidget(o.previa, 0, 3, 4, 1, Qt::AlignRight | Qt::AlignTop);
    o.executar = new QPushButton(QStringLiteral("Executar"), caixa);
    o.executar->setObjectName(QStringLiteral("sbtExecutar") + sufixo);
    o.executar->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    g->addWidget(o.executar, 4, 3, Qt::AlignRight);
    g->setColumnStretch(1, 1);

    auto* p = new QVBoxLayout(painel);
    p->setContentsMargins(0, 0, 0, 0);
    p->setSpacing(3);
    p->addWidget(Titulo(QStringLiteral("Diagnóstico:"), painel));
    o.diag = new QPlainTextEdit(painel);
    o.diag->setObjectName(olho == kOlhoDireito ? QStringLiteral("Memo3") : QStringLiteral("Memo1"));
    p->addWidget(o.diag);
    p->addWidget(Titulo(QStringLiteral("Observações"), painel));
    o.obs = new QPlainTextEdit(painel);
    o.obs->setObjectName(olho == kOlhoDireito ? QStringLiteral("Memo4") : QStringLiteral("Memo2"));
    p->addWidget(o.obs);
    // The columns hold at most 240 characters: longer text is cut as it is typed.
    for (QPlainTextEdit* m : {o.diag, o.obs})
        connect(m, &QPlainTextEdit::textChanged, this, [m] {
            const QString t = m->toPlainText();
            if (t.size() > GravacaoExame::kMaxTextoExame) {
                QSignalBlocker b(m);
                m->setPlainText(t.left(GravacaoExame::kMaxTextoExame));
                m->moveCursor(QTextCursor::End);
            }
        });
    painel->hide();
}

QLabel* TfrmNovoExame::Seta(int olho, int passo) const { return m_olhos[olho]->setas[passo - 1]; }
QLabel* TfrmNovoExame::Marca(int olho, int passo) const { return m_olhos[olho]->marcas[passo - 1]; }
QLabel* TfrmNovoExame::RotuloPasso(int olho, int passo) const { return m_olhos[olho]->rotulos[passo - 1]; }
int TfrmNovoExame::Passo(int olho) const { return m_olhos[olho]->passo; }
const ResultadoNormal* TfrmNovoExame::ResultadoOlho(int olho) const { return m_olhos[olho]->resultado.get(); }
const ResultadoOrto* TfrmNovoExame::ResultadoOrtoOlho(int olho) const { return m_olhos[olho]->orto.get(); }
int TfrmNovoExame::CodigoMedico() const { return ComboMedicos->currentData().toInt(); }

// --- opening ---------------------------------------------------------------------------------

void TfrmNovoExame::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_mostrado) {
        m_mostrado = true;
        FormShow();
    }
}

void TfrmNovoExame::FormShow()
{
    Timer1->start();
    PassoDireito(1);
    PassoEsquerdo(1);
    Olho1->setPixmap(Preta());
    Olho0->setPixmap(Preta());
    DiminuiForm();
    MostraHora();
    PreencheMedicos();
    if (m_orto) {
        rbtMultiOrto->setChecked(true);
        rbtMultiOrto->show();
        rbtAxial->hide();
        rbtTangencial->hide();
    } else if (InfosZR.MapaPadraoNovoExame == QStringLiteral("Axial")) {
        rbtAxial->setChecked(true);
    } else {
        rbtTangencial->setChecked(true);
    }
    ComboMedicos->setFocus();
    Centraliza();
}

void TfrmNovoExame::PreencheMedicos()
{
    QSignalBlocker b(ComboMedicos);
    ComboMedicos->clear();
    ComboMedicos->addItem(QString(), 0);
    ComboMedicos->setCurrentIndex(0);
    const QString filtro = m_nav.FiltroMedico();
    ConsultaBD& op = PreparaOperacao(TDMPrincipal::Instancia(),
                                     QStringLiteral("SELECT Codigo, Nome FROM Medicos ORDER BY Nome COLLATE WIN_PTBR ASC"));
    op.Abre();
    op.BuscaTodas();
    for (int i = 0; i < op.LinhasBuscadas(); ++i) {
        const QString nome = op.CampoDaLinha(i, QStringLiteral("NOME")).toString();
        ComboMedicos->addItem(nome, op.CampoDaLinha(i, QStringLiteral("CODIGO")).toInt());
        if (nome == filtro && ComboMedicos->currentIndex() == 0)
            ComboMedicos->setCurrentIndex(ComboMedicos->count() - 1);
    }
    op.Fecha();
}

void TfrmNovoExame::MostraHora()
{
    const QDateTime agora = GravacaoExame::Agora();
    lblData->setText(agora.date().toString(QStringLiteral("dd/MM/yy")));
    lblHora->setText(agora.time().toString(QStringLiteral("HH:mm:ss")));
}

// --- steps -----------------------------------------------------------------------------------

void TfrmNovoExame::PassoDireito(int n) { DefinePasso(kOlhoDireito, n); }
void TfrmNovoExame::PassoEsquerdo(int n) { DefinePasso(kOlhoEsquerdo, n); }

void TfrmNovoExame::DefinePasso(int olho, int n)
{
    Olho& o = *m_olhos[olho];
    o.passo = std::clamp(n, 1, 5);
    for (int i = 0; i < 4; ++i) {
        const bool azul = o.passo <= 4 && i < o.passo;
        QPalette p = o.rotulos[i]->palette();
        p.setColor(QPalette::WindowText, azul ? kAzul : kVermelho);
        o.rotulos[i]->setPalette(p);
        o.rotulos[i]->setCursor(azul ? Qt::PointingHandCursor : Qt::ArrowCursor);
        o.marcas[i]->setVisible(i < o.passo - 1);
        o.setas[i]->setVisible(i == o.passo - 1);
        // Keeps the rows' height when the arrow and the marks are hidden.
        for (QLabel* l : {o.marcas[i], o.setas[i]}) {
            QSizePolicy sp = l->sizePolicy();
            sp.setRetainSizeWhenHidden(true);
            l->setSizePolicy(sp);
        }
    }
}

bool TfrmNovoExame::EmAndamento(int olho) const
{
    const int p = m_olhos[olho]->passo;
    return p >= 2 && p <= 4;
}

bool TfrmNovoExame::Cancelando() const { return EmAndamento(0) || EmAndamento(1); }

void TfrmNovoExame::AtualizaBotaoFechar()
{
    if (Cancelando()) {
        btnFEC->setText(QStringLiteral("Cancelar"));
        btnFEC->setToolTip(QStringLiteral("Cancelar exame"));
        btnFEC->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    } else {
        btnFEC->setText(QStringLiteral("Fechar"));
        btnFEC->setToolTip(QStringLiteral("Fechar tela do assistente de exame"));
        btnFEC->setIcon(IconeNavegador(Icone::Fechar, 20));
    }
}

void TfrmNovoExame::ExecutaPasso(int olho)
{
    Olho& o = *m_olhos[olho];
    const int passo = o.passo;
    bool ok = false;
    switch (passo) {
    case 1:
        if (CodigoMedico() == 0) {
            Mensagem(QStringLiteral("Erro"), QStringLiteral("Selecione um médico responsável pelo exame."),
                     IconeMensagem::Erro);
            break;
        }
        ok = Digitaliza(olho);
        if (ok)
            ComboMedicos->setEnabled(false);
        break;
    case 2:
        ok = ProcessaOlho(olho);
        break;
    case 3:
        ok = VisualizaMapa(olho);
        break;
    case 4:
        ok = m_orto ? GravaExamesOrto(olho) : GravaExame(olho);
        break;
    default:
        break;
    }
    if (ok)
        DefinePasso(olho, passo < 4 ? passo + 1 : 5);
    AtualizaBotaoFechar();
    if (ok && passo == 4 && !(EmAndamento(0) && EmAndamento(1)))
        DiminuiForm();
}

void TfrmNovoExame::Executar(int olho)
{
    if (m_gravando)
        return;
    const int passo = m_olhos[olho]->passo;
    ExecutaPasso(olho);
    if (passo == 3 && m_olhos[olho]->passo == 4)
        NoTopo();
    else
        Centraliza();
}

void TfrmNovoExame::sbtExecutarDClick() { Executar(kOlhoDireito); }
void TfrmNovoExame::sbtExecutarSClick() { Executar(kOlhoEsquerdo); }

void TfrmNovoExame::RotuloClicado(int olho, int passo)
{
    Olho& o = *m_olhos[olho];
    if (m_gravando || o.passo > 4 || passo > o.passo)
        return; // a red label: not reached, or the eye is stored
    DefinePasso(olho, passo);
    Executar(olho);
}

// --- the module calls ---------------------------------------------------------------------

void TfrmNovoExame::MostraPrevia(int olho, const QByteArray& bitmap)
{
    QImage img;
    if (bitmap.isEmpty() || !img.loadFromData(bitmap)) {
        m_olhos[olho]->previa->setPixmap(Preta());
        return;
    }
    m_olhos[olho]->previa->setPixmap(
        QPixmap::fromImage(img.scaled(120, 90, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

bool TfrmNovoExame::Digitaliza(int olho)
{
    Olho& o = *m_olhos[olho];
    InfosZRModulo infos(InfosZR);
    TextoModulo legenda(kLegendaCaptura);
    bool ok = false;
    if (!m_orto) {
        o.central.clear();
        o.lateral.clear();
        o.resultado.reset();
        if (LoadCapturaDLL(PathsZR.Digitalizacao) && CapturaDLL.Digitalizar) {
            BufferMemoria central, lateral;
            CapturaDLL.Digitalizar(this, central.Stream(), lateral.Stream(), olho, infos.Registro(), legenda.c_str());
            o.central = central.Bytes();
            o.lateral = lateral.Bytes();
            ok = !o.central.isEmpty();
        }
        FreeCapturaDLL();
        MostraPrevia(olho, o.central);
        return ok;
    }
    for (int i = 0; i < 4; ++i) {
        o.centrais[i].clear();
        o.laterais[i].clear();
    }
    o.orto.reset();
    if (LoadCapturaOrtoDLL(PathsZR.DigitalizacaoOrto) && CapturaOrtoDLL.Digitalizar) {
        QuatroBuffersModulo centrais, laterais;
        CapturaOrtoDLL.Digitalizar(this, centrais.Buffers(), laterais.Buffers(), olho, infos.Registro(),
                                   legenda.c_str());
        ok = true;
        for (int i = 0; i < 4; ++i) {
            o.centrais[i] = centrais.Buffer(i).Bytes();
            o.laterais[i] = laterais.Buffer(i).Bytes();
            ok = ok && !o.centrais[i].isEmpty();
        }
    }
    FreeCapturaOrtoDLL();
    MostraPrevia(olho, o.centrais[0]);
    return ok;
}

bool TfrmNovoExame::ProcessaOlho(int olho)
{
    Olho& o = *m_olhos[olho];
    InfosZRModulo infos(InfosZR);
    PathsZRModulo paths(PathsZR);
    bool ok = false;
    if (!m_orto) {
        // The module writes into scratch results, taken for the eye only on success.
        auto r = std::make_unique<ResultadoNormal>();
        if (LoadProcDLL(PathsZR.Processamento) && ProcDLL.ProcessaImagem) {
            BufferMemoria central(o.central);
            const int32_t rc = ProcDLL.ProcessaImagem(this, central.Stream(), &r->centroX, &r->centroY,
                                                      &r->posicoes, &r->aneis, &r->dioptrias, &r->pupila,
                                                      &r->indice, infos.Registro(), paths.Registro());
            ok = rc == 1 && ConfereResultado(*r, InfosZR.NumAneis);
        }
        FreeProcDLL();
        if (ok)
            o.resultado = std::move(r);
        return ok;
    }
    if (LoadProcOrtoDLL(PathsZR.ProcessamentoOrto) && ProcOrtoDLL.ProcessaImagem) {
        QuatroBuffersModulo centrais;
        for (int i = 0; i < 4; ++i)
            centrais.Buffer(i).DefineBytes(o.centrais[i]);
        BufferMemoria posicoes, dioptrias, valores;
        double indices[4] = {0, 0, 0, 0};
        const int32_t rc = ProcOrtoDLL.ProcessaImagem(this, centrais.Buffers(), posicoes.Stream(), dioptrias.Stream(),
                                                      valores.Stream(), &indices, infos.Registro(), paths.Registro());
        if (rc == 1) {
            auto r = std::make_unique<ResultadoOrto>();
            ok = LeResultadoOrto(LeLinhasTexto(posicoes.Stream()), LeLinhasTexto(dioptrias.Stream()),
                                 LeLinhasTexto(valores.Stream()), indices, *r);
            if (ok)
                o.orto = std::move(r);
        }
    }
    FreeProcOrtoDLL();
    return ok;
}

DadosCabecalho TfrmNovoExame::Cabecalho(int olho) const
{
    DadosCabecalho d;
    d.nomePaciente = m_nomePaciente;
    d.codPaciente = m_codPaciente;
    d.rg = m_rgPaciente;
    d.olho = olho;
    d.quando = GravacaoExame::Agora();
    d.medico = ComboMedicos->currentText();
    d.bancoDados = PathsZR.BancoDados;
    return d;
}

bool TfrmNovoExame::VisualizaMapa(int olho)
{
    Olho& o = *m_olhos[olho];
    if ((!m_orto && !o.resultado) || (m_orto && !o.orto))
        return false;
    TfrmAguarde::Mostra();
    if (m_nav.TimerAguarde)
        m_nav.TimerAguarde->start();
    const DadosCabecalho dados = Cabecalho(olho);
    InfosZRModulo infos(InfosZR);
    bool ok = false;
    if (!m_orto) {
        const ResultadoNormal& r = *o.resultado;
        const QString nome = rbtAxial->isChecked() ? QStringLiteral("Axial") : QStringLiteral("Tangencial");
        if (LoadMapaDLL(ArquivoMapa(PathsZR.DirMapas, nome)) && MapaDLL.ProcessaMapa) {
            BufferMemoria central(o.central), lateral(o.lateral), cabecalho;
            cabecalho.DefineLinhas(CabecalhoExame(dados, r.indice));
            MapaDLL.ProcessaMapa(this, central.Stream(), lateral.Stream(), r.centroX, r.centroY, cabecalho.Stream(),
                                 &r.posicoes, &r.aneis, &r.dioptrias, &r.pupila, nullptr, infos.Registro());
            ok = true;
        }
        FreeMapaDLL();
    } else {
        ResultadoOrto& r = *o.orto;
        if (LoadMapasDLL(ArquivoMapa(PathsZR.DirMapas, QStringLiteral("MultiOrto"))) && MapasDLL.ProcessaMapasOrto) {
            QList<QStringList> cabecalhos;
            for (int k = 0; k < 4; ++k)
                cabecalhos << CabecalhoExameOrto(dados, r.indices[k]);
            DadosPacModulo pacs(cabecalhos);
            TMatrizesAngAnel posicoes{4, r.matPosicoes};
            TMatrizesAngAnel dioptrias{4, r.matDioptrias};
            zrmod::TBlocoOrto bloco;
            for (int k = 0; k < 4; ++k)
                bloco[k] = {r.valores[k][0], r.valores[k][1], r.valores[k][2], r.valores[k][3]};
            MapasDLL.ProcessaMapasOrto(this, pacs.Dados(), &posicoes, &dioptrias, &bloco, infos.Registro());
            ok = true;
        }
        FreeMapasDLL();
    }
    TfrmAguarde::Esconde();
    if (!ok) {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Não foi possível processar o mapa selecionado. ERROMAP02"),
                 IconeMensagem::Erro);
        return false;
    }
    NoTopo();
    AumentaForm();
    return true;
}

void TfrmNovoExame::DepoisDaGravacao(int olho)
{
    (void)olho;
    // The navigator shows the patient of this form, found by code, under the doctor's filter.
    m_nav.CarregaMedicos();
    m_nav.MostraPacienteCodigo(m_codPaciente, ComboMedicos->currentText());
    MostraHora();
}

bool TfrmNovoExame::GravaExame(int olho)
{
    Olho& o = *m_olhos[olho];
    if (!o.resultado)
        return false;
    TfrmAguarde::Mostra();
    o.diag->setEnabled(false);
    o.obs->setEnabled(false);
    GravacaoExame::Exame exame{m_codPaciente, CodigoMedico(), olho, o.diag->toPlainText(), o.obs->toPlainText()};
    GravacaoExame::Resultado res;
    m_gravando = true;
    try {
        res = GravacaoExame::GravaExame(TDMPrincipal::Instancia(), exame, *o.resultado, o.central, o.lateral,
                                        GravacaoExame::Opcoes::DaConfiguracao());
    } catch (const ErroSistema&) {
        m_gravando = false;
        TfrmAguarde::Esconde();
        o.diag->setEnabled(true);
        o.obs->setEnabled(true);
        Mensagem(QStringLiteral("Informação"), GravacaoExame::kErroGravacao, IconeMensagem::Atencao);
        return false;
    }
    m_gravando = false;
    if (!res.imagensGravadas)
        Mensagem(QStringLiteral("Informação"), GravacaoExame::kErroImagens, IconeMensagem::Atencao);
    try {
        DepoisDaGravacao(olho);
    } catch (const ErroSistema&) {
        // The examination is stored; the navigator shows it at its next reload.
    }
    TfrmAguarde::Esconde();
    Mensagem(QStringLiteral("Informação"), QStringLiteral("Exame gravado com sucesso"), IconeMensagem::Informacao);
    return true;
}

bool TfrmNovoExame::GravaExamesOrto(int olho)
{
    Olho& o = *m_olhos[olho];
    if (!o.orto)
        return false;
    TfrmAguarde::Mostra();
    o.diag->setEnabled(false);
    o.obs->setEnabled(false);
    GravacaoExame::Exame exame{m_codPaciente, CodigoMedico(), olho, o.diag->toPlainText(), o.obs->toPlainText()};
    m_gravando = true;
    // No input while the four are stored: the window stays painted between them.
    setEnabled(false);
    bool ok = true;
    try {
        GravacaoExame::GravaExamesOrto(TDMPrincipal::Instancia(), exame, *o.orto, GravacaoExame::Opcoes::DaConfiguracao(),
                                       [this] {
                                           MostraHora();
                                           if (PausaOrto())
                                               PausaOrto()();
                                       });
    } catch (const ErroSistema&) {
        ok = false;
    }
    setEnabled(true);
    m_gravando = false;
    if (!ok) {
        TfrmAguarde::Esconde();
        o.diag->setEnabled(true);
        o.obs->setEnabled(true);
        Mensagem(QStringLiteral("Informação"), GravacaoExame::kErroGravacao, IconeMensagem::Atencao);
        return false;
    }
    try {
        DepoisDaGravacao(olho);
    } catch (const ErroSistema&) {
    }
    TfrmAguarde::Esconde();
    Mensagem(QStringLiteral("Informação"), QStringLiteral("Exame gravado com sucesso"), IconeMensagem::Informacao);
    return true;
}

// --- size and place ----------------------------------------------------------------------------

void TfrmNovoExame::AumentaForm()
{
    pnlDireito->show();
    pnlEsquerdo->show();
    setFixedSize(width(), kAlturaGrande);
}

void TfrmNovoExame::DiminuiForm()
{
    pnlDireito->hide();
    pnlEsquerdo->hide();
    setFixedSize(width(), kAlturaPequena);
}

void TfrmNovoExame::Centraliza()
{
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void TfrmNovoExame::NoTopo()
{
    if (QScreen* s = screen())
        move(s->availableGeometry().center().x() - frameGeometry().width() / 2, s->availableGeometry().top());
}

// --- closing, hint -----------------------------------------------------------------------------

void TfrmNovoExame::sbtFecharClick() { close(); }

// Esc does what the close button does.
void TfrmNovoExame::reject() { close(); }

void TfrmNovoExame::closeEvent(QCloseEvent* evento)
{
    if (m_gravando) {
        evento->ignore();
        return;
    }
    if (Cancelando() && !m_fechar) {
        const RespostaMensagem r = Mensagem(QStringLiteral("Informação"),
                                            QStringLiteral("Tem ceteza que deseja cancelar o exame?"),
                                            IconeMensagem::Pergunta, BotoesMensagem::SimNao);
        if (r != RespostaMensagem::Sim) {
            evento->ignore();
            return;
        }
        m_fechar = true;
    }
    Timer1->stop();
    evento->accept();
    QDialog::done(QDialog::Rejected);
}

void TfrmNovoExame::Timer1Timer() { lblMens3->setVisible(!lblMens3->isVisible()); }

bool TfrmNovoExame::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == Image4 && evento->type() == QEvent::MouseMove) {
        const QPoint p = static_cast<QMouseEvent*>(evento)->position().toPoint();
        lblMens3->setVisible(p.x() >= 6 && p.x() <= 22 && p.y() >= 6 && p.y() <= 29);
        return false;
    }
    if (objeto == Image4 && evento->type() == QEvent::Leave) {
        lblMens3->hide();
        return false;
    }
    if (evento->type() == QEvent::MouseButtonRelease) {
        for (int olho : {kOlhoDireito, kOlhoEsquerdo})
            for (int i = 0; i < 4; ++i)
                if (objeto == m_olhos[olho]->rotulos[i]) {
                    RotuloClicado(olho, i + 1);
                    return true;
                }
    }
    return QDialog::eventFilter(objeto, evento);
}
