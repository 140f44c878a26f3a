#include "navigator/UfrmExames.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDLaudos.h"
#include "data/UDMPrincipal.h"
#include "data/UDPacientes.h"
#include "data/UOperacaoBD.h"
#include "navigator/UBuscaPacientes.h"
#include "navigator/UCadastroNavegador.h"
#include "navigator/UIcones.h"
#include "navigator/UNavegador.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmDica.h"
#include "navigator/UfrmNovoExame.h"
#include "navigator/UfrmNovoPaciente.h"
#include "platform/UAjuda.h"
#include "platform/UCampoCp1252.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Navegador;

namespace {

// The generic map picture (24 x 24): concentric colour bands of a topographic map.
QPixmap MapaGenerico(bool destacado)
{
    QPixmap m(24, 24);
    m.fill(Qt::transparent);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor cores[] = {QColor(30, 60, 200), QColor(20, 170, 220), QColor(40, 190, 80),
                            QColor(240, 220, 40), QColor(240, 120, 30), QColor(210, 30, 30)};
    for (int i = 0; i < 6; ++i) {
        const double r = 11 - i * 1.8;
        p.setBrush(cores[i]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 12), r, r * 0.85);
    }
    if (destacado) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255), 1.5));
        p.drawEllipse(QPointF(12, 12), 11, 11 * 0.85);
    }
    return m;
}

// Picture index of an examination list item (1 topography, 3 ortho-k).
constexpr int kPapelFigura = Qt::UserRole + 1;

QToolButton* Botao(QWidget* pai, const char* nome, const QString& legenda, const QString& dica,
                   Icone icone, int tamanho = 24)
{
    auto* b = new QToolButton(pai);
    b->setObjectName(QString::fromLatin1(nome));
    b->setText(legenda);
    b->setToolTip(dica);
    b->setIcon(IconeNavegador(icone, tamanho));
    b->setIconSize(QSize(tamanho, tamanho));
    b->setToolButtonStyle(legenda.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto = QString())
{
    auto* l = new QLabel(texto, pai);
    if (nome)
        l->setObjectName(QString::fromLatin1(nome));
    return l;
}

// The doctor's name in the details panel reacts to a click.
class RotuloClicavel : public QLabel {
public:
    std::function<void()> aoClicar;
    using QLabel::QLabel;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && aoClicar)
            aoClicar();
    }
};

// A value that may be longer than its box: cut with an ellipsis, the whole text as tooltip.
class RotuloElidido : public QLabel {
public:
    using QLabel::QLabel;
    void DefineTexto(const QString& texto)
    {
        m_texto = texto;
        setToolTip(texto);
        Elide();
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QLabel::resizeEvent(e);
        Elide();
    }

private:
    void Elide() { setText(fontMetrics().elidedText(m_texto, Qt::ElideRight, std::max(0, contentsRect().width()))); }
    QString m_texto;
};

const char* const kEstilo = R"(
QDialog#frmExames { background: #eef2f7; }
QFrame#pnlNavegacao, QFrame#pnlConteudo { background: #ffffff; border: 1px solid #c9d3e0; border-radius: 4px; }
QLabel#lblNavegacao, QLabel#lblPRI { color: white; font-weight: bold; font-size: 13px; padding: 6px 10px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3d78b8, stop:1 #255a94); border-radius: 3px; }
QFrame#tlbPaciente, QFrame#tlbExame { background: #f4f7fb; border: 1px solid #d5deea; border-radius: 3px; }
QToolButton { padding: 3px 6px; color: #1d2d44; }
QToolButton:hover { background: #dce8f6; border-radius: 3px; }
QToolButton:checked { background: #c8dbf1; border: 1px solid #7ea6d3; border-radius: 3px; }
QToolButton:disabled { color: #9aa6b5; }
QFrame#pnlPacInfo, QFrame#pnlInfoExame { background: #f7f9fc; border: 1px solid #d5deea; border-radius: 3px; }
QLabel[papel="rotulo"] { color: #5a6b82; }
QLabel[papel="valor"] { color: #14263d; font-weight: bold; }
QTableView, QListWidget, QTableWidget { border: 1px solid #cfd8e4; selection-background-color: #2f6db0;
  selection-color: white; alternate-background-color: #f3f7fc; }
QGroupBox { border: 1px solid #cfd8e4; border-radius: 3px; margin-top: 8px; color: #255a94; font-weight: bold; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }
QLineEdit, QComboBox { padding: 3px 5px; border: 1px solid #b8c5d6; border-radius: 3px; background: white; }
QComboBox QAbstractItemView { background: white; color: #14263d; selection-background-color: #2f6db0;
  selection-color: white; }
QTabWidget::pane { border: 1px solid #cfd8e4; }
)";

} // namespace

TfrmExames::Integracoes& TfrmExames::Ligacoes()
{
    static Integracoes ligacoes;
    return ligacoes;
}

TfrmExames::TfrmExames(QWidget* pai) : QDialog(pai)
{
    // Pictures 0 and 1 of the map bar: the bar's own picture and the generic map picture
    // of modules that bring none; the modules' pictures follow from index 2.
    for (int i = 0; i < 2; ++i) {
        ImageList4.Adiciona(MapaGenerico(false));
        ImageList3.Adiciona(MapaGenerico(true));
    }
    setObjectName(QStringLiteral("frmExames"));
    setWindowTitle(QStringLiteral("Navegador do ZR100"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setStyleSheet(QString::fromUtf8(kEstilo));
    DefineContextoAjuda(this, 5);

    TimerAguarde = new QTimer(this);
    TimerAguarde->setObjectName(QStringLiteral("TimerAguarde"));
    TimerAguarde->setInterval(1000);
    connect(TimerAguarde, &QTimer::timeout, this, &TfrmExames::TimerAguardeTimer);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    MontaNavegacao();
    layout->addWidget(pnlNavegacao);
    auto* conteudo = new QFrame(this);
    conteudo->setObjectName(QStringLiteral("pnlConteudo"));
    layout->addWidget(conteudo, 1);
    auto* lc = new QVBoxLayout(conteudo);
    lc->setContentsMargins(6, 6, 6, 6);
    lc->setSpacing(6);
    Q_UNUSED(lc);
    MontaConteudo();

    // The shared patient list drives the grid and the current patient.
    ConsultaBD& pac = Pacientes();
    DBGridPacientes->setModel(&pac);
    connect(&pac, &ConsultaBD::Aberta, this, [this] {
        ConsultaBD& p = Pacientes();
        const QStringList colunas = p.Colunas();
        for (int c = 0; c < colunas.size(); ++c)
            DBGridPacientes->setColumnHidden(c, colunas[c].compare(QStringLiteral("NOME"), Qt::CaseInsensitive) != 0);
    });
    connect(&pac, &ConsultaBD::LinhaMudou, this, [this](int linha) {
        SelecionaLinhaGrade(linha);
        if (linha < 0)
            return;
        DBEditControle->setText(QString::number(Pacientes().Inteiro(QStringLiteral("CODIGO"))));
        DBEditControleChange();
    });
    connect(&pac, &ConsultaBD::Fechada, this, [this] { DBEditControle->clear(); });
    m_montado = true;
    connect(DBGridPacientes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) {
                if (atual.isValid() && atual.row() != Pacientes().Linha())
                    Pacientes().VaiPara(atual.row());
            });
}

TfrmExames::~TfrmExames()
{
    // The grid shows the data module's list; it must not outlive this form's use of it.
    if (TDMPrincipal::Existe()) {
        DBGridPacientes->setModel(nullptr);
        dbGridPacLoc->setModel(nullptr);
    }
}

ConsultaBD& TfrmExames::Pacientes() const { return *TDMPrincipal::Instancia().IBQueryPacientes; }

void TfrmExames::MontaNavegacao()
{
    pnlNavegacao = new QFrame(this);
    pnlNavegacao->setObjectName(QStringLiteral("pnlNavegacao"));
    pnlNavegacao->setFixedWidth(310);
    auto* l = new QVBoxLayout(pnlNavegacao);
    l->setContentsMargins(6, 6, 6, 6);
    l->setSpacing(6);
    l->addWidget(Rotulo(pnlNavegacao, "lblNavegacao", QStringLiteral("Painel de Navegação")));

    auto* linhaFiltro = new QHBoxLayout;
    auto* lblMedico = Rotulo(pnlNavegacao, nullptr, QStringLiteral("Médico:"));
    lblMedico->setProperty("papel", "rotulo");
    linhaFiltro->addWidget(lblMedico);
    CBMedicos = new QComboBox(pnlNavegacao);
    CBMedicos->setObjectName(QStringLiteral("CBMedicos"));
    CBMedicos->setToolTip(QStringLiteral("Médico responsável pelos exames"));
    // Items drawn by the list's own delegate, so the style sheet's highlight colours apply
    // (the menu-like default draws the highlighted item as an empty white bar).
    CBMedicos->setItemDelegate(new QStyledItemDelegate(CBMedicos));
    linhaFiltro->addWidget(CBMedicos, 1);
    CBMedicos1 = new QComboBox(pnlNavegacao);
    CBMedicos1->setObjectName(QStringLiteral("CBMedicos1"));
    CBMedicos1->hide();
    l->addLayout(linhaFiltro);
    connect(CBMedicos, &QComboBox::activated, this, &TfrmExames::CBMedicos1Change);
    connect(CBMedicos1, &QComboBox::activated, this, &TfrmExames::CBMedicos1Change);

    auto* linhaOrdem = new QHBoxLayout;
    auto* lblOrdem = Rotulo(pnlNavegacao, nullptr, QStringLiteral("Ordem:"));
    lblOrdem->setProperty("papel", "rotulo");
    linhaOrdem->addWidget(lblOrdem);
    tbOrdemAlfa = Botao(pnlNavegacao, "tbOrdemAlfa", QStringLiteral("Alfabética"),
                        QStringLiteral("Ordem alfabética"), Icone::OrdemAlfa, 18);
    tbOrdemCriacao = Botao(pnlNavegacao, "tbOrdemCriacao", QStringLiteral("Criação"),
                           QStringLiteral("Ordena de criação"), Icone::OrdemCriacao, 18);
    for (QToolButton* b : {tbOrdemAlfa, tbOrdemCriacao}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        linhaOrdem->addWidget(b);
    }
    tbOrdemAlfa->setChecked(true);
    linhaOrdem->addStretch();
    l->addLayout(linhaOrdem);
    connect(tbOrdemAlfa, &QToolButton::clicked, this, &TfrmExames::tbOrdemAlfaClick);
    connect(tbOrdemCriacao, &QToolButton::clicked, this, &TfrmExames::tbOrdemCriacaoClick);

    pcExames = new QTabWidget(pnlNavegacao);
    pcExames->setObjectName(QStringLiteral("pcExames"));
    l->addWidget(pcExames, 1);

    // "Pacientes": grid, quick find and information box, placed by AjustaLayout.
    tsPacientes = new QWidget;
    tsPacientes->setObjectName(QStringLiteral("tsPacientes"));
    tsPacientes->installEventFilter(this);
    pcExames->addTab(tsPacientes, QStringLiteral("Pacientes"));
    DBGridPacientes = new QTableView(tsPacientes);
    DBGridPacientes->setObjectName(QStringLiteral("DBGridPacientes"));
    DBGridPacientes->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridPacientes->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGridPacientes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGridPacientes->setAlternatingRowColors(true);
    DBGridPacientes->setShowGrid(false);
    DBGridPacientes->horizontalHeader()->hide();
    DBGridPacientes->horizontalHeader()->setStretchLastSection(true);
    DBGridPacientes->verticalHeader()->hide();
    DBGridPacientes->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGridPacientes->verticalHeader()->setDefaultSectionSize(22);
    DBGridPacientes->installEventFilter(this);
    DBGridPacientes->viewport()->installEventFilter(this);
    connect(DBGridPacientes, &QTableView::clicked, this, &TfrmExames::DBGridPacientesCellClick);
    connect(DBGridPacientes, &QTableView::doubleClicked, this, &TfrmExames::DBGridPacientesDblClick);

    edtFindGrid = new QLineEdit(tsPacientes);
    edtFindGrid->setObjectName(QStringLiteral("edtFindGrid"));
    edtFindGrid->setToolTip(QStringLiteral("Busca por pacientes (Ex:  Rodrigo Silva)"));
    edtFindGrid->setPlaceholderText(QStringLiteral("Localizar paciente..."));
    edtFindGrid->installEventFilter(this);
    connect(edtFindGrid, &QLineEdit::textEdited, this, &TfrmExames::edtFindGridChange);
    sBitBtn1 = Botao(tsPacientes, "sBitBtn1", QString(), QStringLiteral("Busca avançada"),
                             Icone::Busca, 18);

    pnlPacInfo = new QFrame(tsPacientes);
    pnlPacInfo->setObjectName(QStringLiteral("pnlPacInfo"));
    auto* info = new QGridLayout(pnlPacInfo);
    info->setContentsMargins(8, 6, 8, 6);
    info->setVerticalSpacing(2);
    auto par = [&](int linha, const QString& rotulo, QLabel*& valor, const char* nome) {
        auto* r = Rotulo(pnlPacInfo, nullptr, rotulo);
        r->setProperty("papel", "rotulo");
        valor = Rotulo(pnlPacInfo, nome);
        valor->setProperty("papel", "valor");
        info->addWidget(r, linha, 0);
        info->addWidget(valor, linha, 1);
    };
    par(0, QStringLiteral("Paciente ID:"), lblPacienteID, "lblPacienteID");
    lblNomePaciente = Rotulo(pnlPacInfo, "lblNomePaciente");
    lblNomePaciente->setProperty("papel", "valor");
    info->addWidget(lblNomePaciente, 1, 0, 1, 2);
    par(2, QStringLiteral("Convênio:"), lblConvenio, "lblConvenio");
    {
        // A long health plan name is cut in the box, whole in its tooltip.
        auto* convenio = new RotuloElidido(pnlPacInfo);
        convenio->setObjectName(QStringLiteral("lblConvenio"));
        convenio->setProperty("papel", "valor");
        convenio->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        info->replaceWidget(lblConvenio, convenio);
        delete lblConvenio;
        lblConvenio = convenio;
    }
    par(3, QStringLiteral("Ult.Exame:"), lblUltExame, "lblUltExame");
    par(4, QStringLiteral("Total de exames:"), lblTotalExames, "lblTotalExames");
    info->setColumnStretch(1, 1);
    info->setRowStretch(5, 1);
    DBEditControle = new QLineEdit(tsPacientes);
    DBEditControle->setObjectName(QStringLiteral("DBEditControle"));
    DBEditControle->hide();

    // "Exemplos": the example classes.
    tsExemplos = new QWidget;
    tsExemplos->setObjectName(QStringLiteral("tsExemplos"));
    pcExames->addTab(tsExemplos, QStringLiteral("Exemplos"));
    auto* le = new QVBoxLayout(tsExemplos);
    le->setContentsMargins(4, 4, 4, 4);
    GridExemplos = new QTableWidget(tsExemplos);
    GridExemplos->setObjectName(QStringLiteral("GridExemplos"));
    GridExemplos->setColumnCount(1);
    GridExemplos->setHorizontalHeaderLabels({QStringLiteral("Classe")});
    GridExemplos->horizontalHeader()->setStretchLastSection(true);
    GridExemplos->setColumnWidth(0, 155);
    GridExemplos->verticalHeader()->setDefaultSectionSize(20);
    GridExemplos->verticalHeader()->setFixedWidth(12);
    GridExemplos->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GridExemplos->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridExemplos->setSelectionMode(QAbstractItemView::SingleSelection);
    GridExemplos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridExemplos->setShowGrid(false);
    le->addWidget(GridExemplos);
    connect(GridExemplos, &QTableWidget::cellClicked, this,
            [this](int linha, int coluna) { GridExemplosSelectCell(coluna + 1, linha + 1); });
    connect(pcExames, &QTabWidget::currentChanged, this, &TfrmExames::pcExamesChange);
}

void TfrmExames::MontaConteudo()
{
    auto* conteudo = findChild<QFrame*>(QStringLiteral("pnlConteudo"));
    auto* lc = static_cast<QVBoxLayout*>(conteudo->layout());

    auto* titulo = new QHBoxLayout;
    lblPRI = Rotulo(conteudo, "lblPRI", QStringLiteral("Painel de Conteúdo: Clientes"));
    titulo->addWidget(lblPRI, 1);
    sButton1 = Botao(conteudo, "sButton1", QString(), QStringLiteral("Ajuda"), Icone::Ajuda);
    sButton2 = Botao(conteudo, "sButton2", QStringLiteral("Fechar"), QStringLiteral("Fechar tela do navegador"),
                     Icone::Fechar);
    sButton2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    titulo->addWidget(sButton1);
    titulo->addWidget(sButton2);
    lc->addLayout(titulo);
    connect(sButton1, &QToolButton::clicked, this, &TfrmExames::SpeedButton3Click);
    connect(sButton2, &QToolButton::clicked, this, &TfrmExames::sButton2Click);

    // Patient toolbar.
    tlbPaciente = new QFrame(conteudo);
    tlbPaciente->setObjectName(QStringLiteral("tlbPaciente"));
    auto* lp = new QHBoxLayout(tlbPaciente);
    lp->setContentsMargins(4, 2, 4, 2);
    tbtCadPaciente = Botao(tlbPaciente, "tbtCadPaciente", QStringLiteral("Novo Paciente"),
                           QStringLiteral("Novo Paciente: Ctrl + N"), Icone::NovoPaciente);
    tbtAlterarPaciente = Botao(tlbPaciente, "tbtAlterarPaciente", QStringLiteral("Editar"),
                               QStringLiteral("Editar Paciente"), Icone::EditarPaciente);
    tbtExcluirPaciente = Botao(tlbPaciente, "tbtExcluirPaciente", QStringLiteral("Excluir"),
                               QStringLiteral("Excluir Paciente"), Icone::ExcluirPaciente);
    tbNovoExame1 = Botao(tlbPaciente, "tbNovoExame1", QStringLiteral("Novo Exame"),
                         QStringLiteral("Novo Exame: Ctrl + E"), Icone::NovoExame);
    tbExameOrto1 = Botao(tlbPaciente, "tbExameOrto1", QStringLiteral("Orto"),
                         QStringLiteral("Novo Exame Ortoceratologia"), Icone::ExameOrto);
    tbLocPacExam = Botao(tlbPaciente, "tbLocPacExam", QStringLiteral("Localizar"),
                         QStringLiteral("Localizar pacientes e exames: Ctrl + L"), Icone::Localizar);
    tbLocPacExam->setCheckable(true);
    for (QToolButton* b : {tbtCadPaciente, tbtAlterarPaciente, tbtExcluirPaciente, tbNovoExame1, tbExameOrto1,
                           tbLocPacExam})
        lp->addWidget(b);
    lp->addStretch();
    tbtAlterarPaciente->setEnabled(false);
    tbtExcluirPaciente->setEnabled(false);
    lc->addWidget(tlbPaciente);
    connect(tbtCadPaciente, &QToolButton::clicked, this, &TfrmExames::tbtCadPacienteClick);
    connect(tbtAlterarPaciente, &QToolButton::clicked, this, &TfrmExames::tbtAlterarPacienteClick);
    connect(tbtExcluirPaciente, &QToolButton::clicked, this, &TfrmExames::tbtExcluirPacienteClick);
    connect(tbNovoExame1, &QToolButton::clicked, this, &TfrmExames::tbNovoExameClick);
    connect(tbExameOrto1, &QToolButton::clicked, this, &TfrmExames::tbExameOrtoClick);

    // Examination toolbar, with the map bar in its scroller.
    tlbExame = new QFrame(conteudo);
    tlbExame->setObjectName(QStringLiteral("tlbExame"));
    auto* lx = new QHBoxLayout(tlbExame);
    lx->setContentsMargins(4, 2, 4, 2);
    tbNovoExame2 = Botao(tlbExame, "tbNovoExame2", QStringLiteral("Novo Exame"),
                         QStringLiteral("Novo Exame: Ctrl + E"), Icone::NovoExame);
    tbExameOrto2 = Botao(tlbExame, "tbExameOrto2", QStringLiteral("Orto"),
                         QStringLiteral("Novo Exame Ortoceratologia"), Icone::ExameOrto);
    tbtExcluirExame = Botao(tlbExame, "tbtExcluirExame", QStringLiteral("Excluir"),
                            QStringLiteral("Excluir Exame"), Icone::ExcluirExame);
    tbLaudo = Botao(tlbExame, "tbLaudo", QStringLiteral("Laudo"), QStringLiteral("Gerar Laudos"), Icone::Laudo);
    Button1 = Botao(tlbExame, "Button1", QStringLiteral("Lente"), QStringLiteral("Lente"), Icone::Lente);
    tbExportar = Botao(tlbExame, "tbExportar", QStringLiteral("Exportar"), QStringLiteral("Exportar exame"),
                       Icone::Exportar);
    for (QToolButton* b : {tbNovoExame2, tbExameOrto2, tbtExcluirExame, tbLaudo, Button1, tbExportar})
        lx->addWidget(b);
    tbtExcluirExame->setEnabled(false);
    tbLaudo->setEnabled(false);
    tbExportar->setEnabled(false);
    pscrollMapas = new QScrollArea(tlbExame);
    pscrollMapas->setObjectName(QStringLiteral("pscrollMapas"));
    pscrollMapas->setFrameShape(QFrame::NoFrame);
    pscrollMapas->setWidgetResizable(true);
    pscrollMapas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pscrollMapas->setFixedHeight(58);
    pscrollMapas->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pscrollMapas->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget, QToolBar "
                                               "{ background: transparent; border: none; }"));
    tlbMapas = new QToolBar;
    tlbMapas->setObjectName(QStringLiteral("tlbMapas"));
    tlbMapas->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlbMapas->setIconSize(QSize(24, 24));
    pscrollMapas->setWidget(tlbMapas);
    lx->addWidget(pscrollMapas, 1);
    tlbExame->hide();
    lc->addWidget(tlbExame);
    connect(tbNovoExame2, &QToolButton::clicked, this, &TfrmExames::tbNovoExameClick);
    connect(tbExameOrto2, &QToolButton::clicked, this, &TfrmExames::tbExameOrtoClick);
    connect(tbtExcluirExame, &QToolButton::clicked, this, &TfrmExames::tbtExcluirExameClick);
    connect(tbLaudo, &QToolButton::clicked, this, &TfrmExames::tbLaudoClick);
    connect(tbExportar, &QToolButton::clicked, this, &TfrmExames::tbExportarClick);
    connect(Button1, &QToolButton::clicked, this, &TfrmExames::Button1Click);

    // The examination list with its title; the search panel takes its place while open.
    auto* pnlLista = new QWidget(conteudo);
    pnlLista->setObjectName(QStringLiteral("pnlLista"));
    auto* ll = new QVBoxLayout(pnlLista);
    ll->setContentsMargins(0, 0, 0, 0);
    ll->setSpacing(6);
    auto* linhaLista = new QHBoxLayout;
    auto* lblExames = Rotulo(conteudo, "lblExames", QStringLiteral("Exames do paciente"));
    lblExames->setStyleSheet(QStringLiteral("color: #255a94; font-weight: bold;"));
    linhaLista->addWidget(lblExames);
    linhaLista->addStretch();
    CBoxExames = new QCheckBox(QStringLiteral("Exibir todos os exames"), conteudo);
    CBoxExames->setObjectName(QStringLiteral("CBoxExames"));
    CBoxExames->setToolTip(QStringLiteral("Exibir exames realizados por outro(s) Médico(s)"));
    CBoxExames->hide();
    linhaLista->addWidget(CBoxExames);
    ll->addLayout(linhaLista);
    connect(CBoxExames, &QCheckBox::clicked, this, &TfrmExames::CBoxExamesClick);

    lswPrincipal = new QListWidget(conteudo);
    lswPrincipal->setObjectName(QStringLiteral("lswPrincipal"));
    lswPrincipal->setViewMode(QListView::IconMode);
    lswPrincipal->setIconSize(QSize(24, 24));
    lswPrincipal->setGridSize(QSize(170, 56));
    lswPrincipal->setResizeMode(QListView::Adjust);
    lswPrincipal->setMovement(QListView::Static);
    lswPrincipal->setWordWrap(true);
    lswPrincipal->setSelectionMode(QAbstractItemView::SingleSelection);
    lswPrincipal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lswPrincipal->setToolTip(QStringLiteral("Clique duas vezes para exibir mais detalhes."));
    lswPrincipal->installEventFilter(this);
    ll->addWidget(lswPrincipal, 1);
    lc->addWidget(pnlLista, 1);
    MontaBusca(conteudo);
    lc->addWidget(pnlFindPac, 1);
    connect(lswPrincipal, &QListWidget::itemSelectionChanged, this, &TfrmExames::SelecaoMudou);
    connect(lswPrincipal, &QListWidget::itemDoubleClicked, this, &TfrmExames::lswPrincipalDblClick);

    MontaDetalhes(conteudo);
    lc->addWidget(pnlInfoExame);
}

void TfrmExames::MontaDetalhes(QWidget* pai)
{
    pnlInfoExame = new QFrame(pai);
    pnlInfoExame->setObjectName(QStringLiteral("pnlInfoExame"));
    pnlInfoExame->setFixedHeight(233);
    pnlInfoExame->hide();
    auto* l = new QHBoxLayout(pnlInfoExame);
    l->setContentsMargins(8, 8, 8, 8);
    l->setSpacing(10);

    auto* dados = new QGridLayout;
    dados->setVerticalSpacing(4);
    lblNomeExame = Rotulo(pnlInfoExame, "lblNomeExame");
    lblNomeExame->setStyleSheet(QStringLiteral("font-size: 14px; font-weight: bold; color: #255a94;"));
    dados->addWidget(lblNomeExame, 0, 0, 1, 2);
    auto par = [&](int linha, const QString& rotulo, QLabel*& valor, const char* nome) {
        auto* r = Rotulo(pnlInfoExame, nullptr, rotulo);
        r->setProperty("papel", "rotulo");
        valor = Rotulo(pnlInfoExame, nome);
        valor->setProperty("papel", "valor");
        dados->addWidget(r, linha, 0);
        dados->addWidget(valor, linha, 1);
    };
    par(1, QStringLiteral("Exame ID:"), lblCodExame, "lblCodExame");
    par(2, QStringLiteral("Data:"), lblVData, "lblVData");
    par(3, QStringLiteral("Hora:"), lblVHora, "lblVHora");
    par(4, QStringLiteral("Índice de Confiabilidade:"), lblIdConf, "lblIdConf");
    auto* rMed = Rotulo(pnlInfoExame, nullptr, QStringLiteral("Responsável pelo Exame:"));
    rMed->setProperty("papel", "rotulo");
    dados->addWidget(rMed, 5, 0, 1, 2);
    auto* medico = new RotuloClicavel(pnlInfoExame);
    medico->setObjectName(QStringLiteral("lblNomeMedico"));
    medico->setCursor(Qt::PointingHandCursor);
    medico->aoClicar = [this] { lblNomeMedicoClick(); };
    lblNomeMedico = medico;
    dados->addWidget(lblNomeMedico, 6, 0, 1, 2);
    dados->setRowStretch(7, 1);
    l->addLayout(dados);

    pcDetalhes = new QTabWidget(pnlInfoExame);
    pcDetalhes->setObjectName(QStringLiteral("pcDetalhes"));
    auto pagina = [&](const QString& titulo, QPlainTextEdit*& memo, const char* nomeMemo, QToolButton*& descrever,
                      const char* nomeDescrever, const QString& dicaDescrever, QToolButton*& gravar,
                      const char* nomeGravar, const QString& dicaGravar) {
        auto* w = new QWidget;
        auto* lw = new QHBoxLayout(w);
        lw->setContentsMargins(4, 4, 4, 4);
        memo = new QPlainTextEdit(w);
        memo->setObjectName(QString::fromLatin1(nomeMemo));
        memo->setReadOnly(true);
        lw->addWidget(memo, 1);
        auto* botoes = new QVBoxLayout;
        descrever = Botao(w, nomeDescrever, QString(), dicaDescrever, Icone::Descrever, 20);
        gravar = Botao(w, nomeGravar, QString(), dicaGravar, Icone::Gravar, 20);
        botoes->addWidget(descrever);
        botoes->addWidget(gravar);
        botoes->addStretch();
        lw->addLayout(botoes);
        pcDetalhes->addTab(w, titulo);
        RestringeCp1252(memo);
        // The columns hold 240 characters: the memo takes no more.
        connect(memo, &QPlainTextEdit::textChanged, this, [memo] {
            const QString t = memo->toPlainText();
            if (t.size() > 240) {
                QSignalBlocker b(memo);
                memo->setPlainText(t.left(240));
                QTextCursor c = memo->textCursor();
                c.movePosition(QTextCursor::End);
                memo->setTextCursor(c);
            }
        });
    };
    pagina(QStringLiteral("&Diagnóstico"), dbDiag, "dbDiag", btnEDD, "btnEDD", QStringLiteral("Descrever diagnóstico"),
           btnGRD, "btnGRD", QStringLiteral("Gravar diagnóstico"));
    pagina(QStringLiteral("&Observações"), dbObs, "dbObs", btnEDO, "btnEDO", QStringLiteral("Informar observações"),
           btnGRO, "btnGRO", QStringLiteral("Gravar observações"));
    l->addWidget(pcDetalhes, 1);
    connect(btnEDD, &QToolButton::clicked, this, &TfrmExames::spbEDDClick);
    connect(btnGRD, &QToolButton::clicked, this, &TfrmExames::spbGRDClick);
    connect(btnEDO, &QToolButton::clicked, this, &TfrmExames::SpeedButton5Click);
    connect(btnGRO, &QToolButton::clicked, this, &TfrmExames::SpeedButton4Click);

    pnlOrto = new QGroupBox(QStringLiteral("Ortoceratologia"), pnlInfoExame);
    pnlOrto->setObjectName(QStringLiteral("pnlOrto"));
    auto* lo = new QGridLayout(pnlOrto);
    auto parOrto = [&](int linha, const QString& rotulo, QLabel*& valor, const char* nome) {
        auto* r = Rotulo(pnlOrto, nullptr, rotulo);
        r->setProperty("papel", "rotulo");
        valor = Rotulo(pnlOrto, nome);
        valor->setProperty("papel", "valor");
        lo->addWidget(r, linha, 0);
        lo->addWidget(valor, linha, 1);
    };
    parOrto(0, QStringLiteral("DIV:"), lblDiv, "lblDiv");
    parOrto(1, QStringLiteral("Raio:"), lblRaio, "lblRaio");
    parOrto(2, QStringLiteral("SAG:"), lblSag, "lblSag");
    pnlOrto->hide();
    l->addWidget(pnlOrto);

    pnlVisualizar = new QFrame(pnlInfoExame);
    pnlVisualizar->setObjectName(QStringLiteral("pnlVisualizar"));
    auto* lv = new QVBoxLayout(pnlVisualizar);
    lv->setContentsMargins(0, 0, 0, 0);
    imgVisualizar = Rotulo(pnlVisualizar, "imgVisualizar");
    imgVisualizar->setFixedSize(180, 180);
    imgVisualizar->setAlignment(Qt::AlignCenter);
    imgVisualizar->setStyleSheet(QStringLiteral("background: #ffffff; border: 1px solid #cfd8e4;"));
    imgVisualizar->setToolTip(QStringLiteral("Clique aqui para exibir o mini mapa Axial."));
    imgVisualizar->setText(QStringLiteral("Mini mapa Axial"));
    imgVisualizar->setStyleSheet(imgVisualizar->styleSheet() + QStringLiteral(" color: #9aa6b5;"));
    lv->addWidget(imgVisualizar);
    cBoxMiniMapa = new QCheckBox(QStringLiteral("&Automático"), pnlVisualizar);
    cBoxMiniMapa->setObjectName(QStringLiteral("cBoxMiniMapa"));
    cBoxMiniMapa->setToolTip(QStringLiteral("Exibição automática do mini mapa Axial."));
    lv->addWidget(cBoxMiniMapa);
    imgVisualizar->installEventFilter(this);
    connect(cBoxMiniMapa, &QCheckBox::clicked, this, &TfrmExames::MostraMiniMapa);
    l->addWidget(pnlVisualizar);
}

QToolButton* TfrmExames::AdicionaBotaoMapa(const QString& legenda, const QString& dica,
                                          int indiceImagem, TratamentoMapa tratamento)
{
    QIcon icone(ImageList4.Imagem(indiceImagem));
    icone.addPixmap(ImageList3.Imagem(indiceImagem), QIcon::Active);
    auto* acao = new QAction(icone, legenda, tlbMapas);
    acao->setToolTip(dica);
    acao->setProperty("indiceImagem", indiceImagem);
    connect(acao, &QAction::triggered, this,
            tratamento == TratamentoMapa::Mapa ? &TfrmExames::MapaClick : &TfrmExames::MapasClick);
    const QList<QAction*> acoes = tlbMapas->actions();
    tlbMapas->insertAction(acoes.isEmpty() ? nullptr : acoes.first(), acao);
    auto* botao = qobject_cast<QToolButton*>(tlbMapas->widgetForAction(acao));
    botao->setObjectName(legenda);
    botao->setAutoRaise(true);
    return botao;
}

QList<QToolButton*> TfrmExames::BotoesMapa() const
{
    QList<QToolButton*> botoes;
    for (QAction* a : tlbMapas->actions())
        if (auto* b = qobject_cast<QToolButton*>(tlbMapas->widgetForAction(a)))
            botoes << b;
    return botoes;
}


// --- environment and state --------------------------------------------------------------------

QSize TfrmExames::TamanhoTela() const
{
    if (m_tela.isValid())
        return m_tela;
    const QScreen* tela = QGuiApplication::primaryScreen();
    return tela ? tela->size() : QSize(1366, 768);
}

QString TfrmExames::FiltroMedico() const { return CBMedicos->currentText(); }

int TfrmExames::CodigoPacienteAtual() const
{
    const ConsultaBD& p = Pacientes();
    return p.Ativa() && p.Linha() >= 0 ? p.Inteiro(QStringLiteral("CODIGO")) : 0;
}

QString TfrmExames::NomePacienteAtual() const
{
    const ConsultaBD& p = Pacientes();
    return p.Ativa() && p.Linha() >= 0 ? p.Texto(QStringLiteral("NOME")) : QString();
}

void TfrmExames::SelecionaLinhaGrade(int linha)
{
    QItemSelectionModel* sel = DBGridPacientes->selectionModel();
    if (!sel)
        return;
    QSignalBlocker bloqueio(sel);
    if (linha < 0) {
        sel->clear();
        DBGridPacientes->viewport()->update();
        return;
    }
    const int coluna = std::max(0, static_cast<int>(Pacientes().Colunas().indexOf(QStringLiteral("NOME"))));
    const QModelIndex idx = Pacientes().index(linha, coluna);
    sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    CompletaGrade();
    // A patient reached far from what was read is shown at the top, over the rows read with him.
    DBGridPacientes->scrollTo(idx, Pacientes().LinhaLida(linha - 1) || linha == 0 ? QAbstractItemView::EnsureVisible
                                                                                  : QAbstractItemView::PositionAtTop);
    DBGridPacientes->viewport()->update();
}

// A list fetched in sequence grows in batches as the grid scrolls, and the grid asks for the
// next batch only when its last row comes into view or its scroll bar reaches the end. Its
// first column is hidden, so the first of these never fires: rows are fetched here until they
// fill the grid's height and one more, which gives the grid a scroll bar that fetches the rest.
// (The patient list read by blocks has all its rows from the start.)
void TfrmExames::CompletaGrade()
{
    ConsultaBD& p = Pacientes();
    const int altura = DBGridPacientes->viewport()->height();
    const int linhaAltura = std::max(1, DBGridPacientes->verticalHeader()->defaultSectionSize());
    while (p.canFetchMore(QModelIndex()) && p.LinhasBuscadas() * linhaAltura <= altura + linhaAltura)
        p.fetchMore(QModelIndex());
}

// --- opening, closing, layout -----------------------------------------------------------------

void TfrmExames::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_mostrando) {
        m_mostrando = true;
        FormShow();
    }
}

void TfrmExames::FormShow()
{
    TfrmAguarde::Cria();
    TfrmAguarde::Esconde();
    const bool estreita = TamanhoTela().width() <= 800;
    tbExameOrto1->setVisible(m_orto);
    tbExameOrto2->setVisible(m_orto);
    // The map bar's width; on a narrower window it gives way and scrolls.
    pscrollMapas->setMinimumWidth(0);
    pscrollMapas->setMaximumWidth(m_orto ? (estreita ? 300 : 830) : (estreita ? 360 : 770));
    ExameSelecionado = false;
    ModoExemplos = false;
    AtualizaBotaoLente();
    tbLocPacExam->setChecked(false);
    if (parentWidget() || !isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);

    {
        QSignalBlocker b(pcExames);
        pcExames->setCurrentWidget(tsPacientes);
    }
    CarregaMedicos();
    CarregaPacientes(QStringLiteral("Asc"));
    DBGridPacientes->setFocus();
    ModoPacientes();
    FormActivate();
    TfrmDica::FechaDica();
}

void TfrmExames::FormActivate()
{
    QSignalBlocker b(cBoxMiniMapa);
    cBoxMiniMapa->setChecked(InfosZR.AutoMiniMapa);
}

void TfrmExames::changeEvent(QEvent* evento)
{
    QDialog::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TfrmExames::resizeEvent(QResizeEvent* evento)
{
    QDialog::resizeEvent(evento);
    FormResize();
}

void TfrmExames::FormResize() { AjustaLayout(); }

void TfrmExames::AjustaLayout()
{
    const QSize tela = TamanhoTela();
    const LinhaLayout linha = LinhaAjuste(tela.width(), tela.height());
    const int h = tsPacientes->height();
    const int w = tsPacientes->width();
    const int altGrade = static_cast<int>(ArredondaInteiro(linha.grade * h));
    const int topoInfo = static_cast<int>(ArredondaInteiro(linha.info * h));
    DBGridPacientes->setGeometry(0, 0, w, altGrade);
    const int altBusca = 26;
    const int yBusca = altGrade + std::max(0, (topoInfo - altGrade - altBusca) / 2);
    edtFindGrid->setGeometry(2, yBusca, w - 34, altBusca);
    sBitBtn1->setGeometry(w - 30, yBusca, 28, altBusca);
    pnlPacInfo->setGeometry(0, topoInfo, w, std::max(0, h - topoInfo));
}

void TfrmExames::closeEvent(QCloseEvent* evento)
{
    FormClose();
    QDialog::closeEvent(evento);
}

void TfrmExames::FormClose()
{
    if (m_fechado)
        return;
    m_fechado = true;
    // An open search panel closes as its toggle does (the tip setting is written).
    tbLocPacExam->setChecked(false);
    try {
        TBIniSettings ini;
        ini.SelectFile(3);
        InfosZR.MedicoAtivo = FiltroMedico();
        ini.WriteValue(TipoValorIni::Str, QStringLiteral("CLINICA"), QStringLiteral("MEDICOATIVO"), false,
                       InfosZR.MedicoAtivo);
        InfosZR.PacienteAtivo = NomePacienteAtual();
        ini.WriteValue(TipoValorIni::Str, QStringLiteral("CLINICA"), QStringLiteral("PACIENTEATIVO"), false,
                       InfosZR.PacienteAtivo);
        InfosZR.AutoMiniMapa = cBoxMiniMapa->isChecked();
        ini.WriteValue(TipoValorIni::Bool, QStringLiteral("OPCOES"), QStringLiteral("AUTOMINIMAPA"),
                       InfosZR.AutoMiniMapa, QString());
    } catch (const ErroSistema& e) {
        Mensagem(QStringLiteral("Erro"), e.Mensagem(), IconeMensagem::Erro);
    }
    TimerAguarde->stop();
    TfrmAguarde::Fecha();
}

// Esc does not close the navigator: only "Fechar" does.
void TfrmExames::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(evento);
}

void TfrmExames::sButton2Click()
{
    ExameSelecionado = false;
    ModoExemplos = false;
    close();
}

void TfrmExames::SpeedButton3Click() { AbreAjuda(5); }

void TfrmExames::TimerAguardeTimer()
{
    TfrmAguarde::Esconde();
    TimerAguarde->stop();
}

// --- doctors and patients ---------------------------------------------------------------------

void TfrmExames::CarregaMedicos()
{
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    QSignalBlocker b(CBMedicos);
    CBMedicos->clear();
    ConsultaBD& q = *dm.IBQueryMedicos;
    q.Fecha();
    q.DefineSQL(QStringLiteral("SELECT Nome FROM Medicos ORDER BY Nome COLLATE WIN_PTBR ASC"));
    q.Abre();
    q.BuscaTodas();
    int selecionado = -1;
    for (int i = 0; i < q.LinhasBuscadas(); ++i) {
        const QString nome = q.CampoDaLinha(i, QStringLiteral("NOME")).toString();
        CBMedicos->addItem(nome);
        if (nome == InfosZR.MedicoAtivo)
            selecionado = CBMedicos->count() - 1;
    }
    q.Fecha();
    if (TDPacientes(dm).ContaPacientesSemExames() > 0)
        CBMedicos->addItem(kSemExames);
    if (InfosZR.MedicoAtivo == kSemExames && CBMedicos->count() > 0)
        selecionado = CBMedicos->count() - 1;
    if (CBMedicos->count() >= 1)
        CBMedicos->addItem(kTodos);
    if (InfosZR.MedicoAtivo.isEmpty() || InfosZR.MedicoAtivo == kTodos)
        selecionado = CBMedicos->count() - 1;
    CBMedicos->setCurrentIndex(selecionado);
}

void TfrmExames::CarregaPacientes(const QString& ordem)
{
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    TfrmAguarde::Mostra();
    const QString filtro = FiltroMedico();
    const bool alfabetica = ordem == QStringLiteral("Asc");
    ConsultaBD& p = Pacientes();
    m_carregando = true;
    try {
        p.Fecha();
        p.DefineSQL(SqlPacientes(filtro, alfabetica));
        // A doctor's patients, or those without examinations, are few and sorted in one go:
        // read in sequence. Every patient is many: read by blocks where they are wanted.
        if (filtro == kTodos)
            p.DefineLeituraPorBlocos(SqlContaPacientes());
        if (filtro == kSemExames) {
            p.DefineParametro(QStringLiteral("TotalExames"), 0);
        } else if (filtro != kTodos) {
            ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT Codigo FROM Medicos WHERE Medicos.Nome=:NomeMedico"));
            op.DefineParametro(QStringLiteral("NomeMedico"), filtro);
            op.Abre();
            const int codigo = op.Vazia() ? 0 : op.Inteiro(QStringLiteral("Codigo"));
            op.Fecha();
            p.DefineParametro(QStringLiteral("CodigoMedico"), codigo);
        }
        m_filtroCarregado = filtro;
        m_alfabeticaCarregada = alfabetica;
        m_carregando = false;
        p.Abre();
    } catch (...) {
        m_carregando = false;
        TfrmAguarde::Esconde();
        throw;
    }
    if (p.Vazia()) {
        DBEditControle->clear();
        AtualizaExames();
        MostraInfoPaciente();
    } else {
        const int total = p.Inteiro(QStringLiteral("TOTALEXAMES"));
        const int n = lswPrincipal->count();
        if (total > n && n != 0 && filtro != kTodos)
            CBoxExames->show();
        else if (CBoxExames->isChecked())
            CBoxExames->setVisible(filtro != kTodos);
        else
            CBoxExames->hide();
    }
    if (!filtro.isEmpty() && filtro == InfosZR.MedicoAtivo && !InfosZR.PacienteAtivo.isEmpty()) {
        // Back to the patient of the last use (letter case ignored).
        const QString nome = InfosZR.PacienteAtivo;
        if (p.PorBlocos())
            VaiParaPrimeiro(QStringLiteral("UPPER(Pacientes.Nome) = UPPER(CAST(:Valor AS VARCHAR(255)))"), nome);
        else
            VaiParaLinha(ProcuraEmSequencia([&](int i) {
                return p.CampoDaLinha(i, QStringLiteral("NOME")).toString().compare(nome, Qt::CaseInsensitive) == 0;
            }));
    }
    AjustaLayout();
    CompletaGrade();
    TfrmAguarde::Esconde();
}

int TfrmExames::ProcuraEmSequencia(const std::function<bool(int)>& procurada)
{
    ConsultaBD& p = Pacientes();
    if (!p.Ativa())
        return -1;
    for (int i = 0;; ++i) {
        if (i >= p.LinhasBuscadas()) {
            if (!p.TemMais())
                return -1;
            p.fetchMore(QModelIndex());
            if (i >= p.LinhasBuscadas())
                return -1;
        }
        if (procurada(i))
            return i;
    }
}

bool TfrmExames::VaiParaLinha(int linha)
{
    if (linha < 0)
        return false;
    if (linha != Pacientes().Linha())
        Pacientes().VaiPara(linha);
    return true;
}

bool TfrmExames::VaiParaPosicao(int codigo, const QString& nome)
{
    ConsultaBD& p = Pacientes();
    ConsultaBD& op = PreparaOperacao(TDMPrincipal::Instancia(), SqlPosicaoPaciente(m_alfabeticaCarregada));
    if (m_alfabeticaCarregada)
        op.DefineParametro(QStringLiteral("Nome"), nome);
    else
        op.DefineParametro(QStringLiteral("Codigo"), codigo);
    op.Abre();
    const int antes = op.Inteiro(QStringLiteral("ANTES"));
    const int iguais = op.Inteiro(QStringLiteral("IGUAIS"));
    op.Fecha();
    // His place is read from his name or code on, not by walking the list up to it.
    if (!p.LinhaLida(antes)) {
        if (m_alfabeticaCarregada)
            p.LeLinhasDesde(antes, SqlPacientesDesde(true), QStringLiteral("Nome"), nome);
        else
            p.LeLinhasDesde(antes, SqlPacientesDesde(false), QStringLiteral("Codigo"), codigo);
    }
    // Patients of the same name stand together, in the list's own order among them.
    for (int i = antes; i < antes + iguais && i < p.rowCount(); ++i)
        if (p.CampoDaLinha(i, QStringLiteral("CODIGO")).toInt() == codigo)
            return VaiParaLinha(i);
    return false;
}

bool TfrmExames::VaiParaPrimeiro(const QString& condicao, const QString& valor)
{
    if (!BuscaPacientes::TextoPesquisavel(valor) || valor.size() > 255)
        return false;
    ConsultaBD& op = PreparaOperacao(TDMPrincipal::Instancia(), SqlPrimeiroPaciente(m_alfabeticaCarregada, condicao));
    op.DefineParametro(QStringLiteral("Valor"), valor);
    op.Abre();
    const bool achou = !op.Vazia();
    const int codigo = achou ? op.Inteiro(QStringLiteral("CODIGO")) : 0;
    const QString nome = achou ? op.Texto(QStringLiteral("NOME")) : QString();
    op.Fecha();
    return achou && VaiParaPosicao(codigo, nome);
}

bool TfrmExames::VaiParaPrefixo(const QString& prefixo)
{
    ConsultaBD& p = Pacientes();
    if (!p.Ativa())
        return false;
    if (p.PorBlocos())
        return VaiParaPrimeiro(QStringLiteral("Pacientes.Nome STARTING WITH CAST(:Valor AS VARCHAR(255))"), prefixo);
    return VaiParaLinha(ProcuraEmSequencia([&](int i) {
        return p.CampoDaLinha(i, QStringLiteral("NOME")).toString().startsWith(prefixo, Qt::CaseSensitive);
    }));
}

void TfrmExames::MostraPaciente(const QString& nomeDado, const QString& filtroDado)
{
    // Copies: the arguments may be the kept name or the filter text, which reloading changes.
    const QString nome = nomeDado;
    const QString filtro = filtroDado;
    {
        QSignalBlocker b(CBMedicos);
        CBMedicos->setCurrentIndex(CBMedicos->findText(filtro, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    CarregaPacientes(tbOrdemAlfa->isChecked() ? QStringLiteral("Asc") : QStringLiteral("Desc"));
    if (nome.isEmpty()) {
        if (!Pacientes().Vazia() && Pacientes().Linha() != 0)
            Pacientes().VaiPara(0);
        return;
    }
    VaiParaPrefixo(nome);
}

bool TfrmExames::VaiParaCodigo(int codigo)
{
    ConsultaBD& p = Pacientes();
    if (!p.Ativa())
        return false;
    if (!p.PorBlocos())
        return VaiParaLinha(
            ProcuraEmSequencia([&](int i) { return p.CampoDaLinha(i, QStringLiteral("CODIGO")).toInt() == codigo; }));
    QString nome;
    if (m_alfabeticaCarregada) {
        ConsultaBD& op = PreparaOperacao(TDMPrincipal::Instancia(), QStringLiteral("SELECT Nome FROM Pacientes WHERE Codigo = :Codigo"));
        op.DefineParametro(QStringLiteral("Codigo"), codigo);
        op.Abre();
        const bool existe = !op.Vazia();
        nome = op.Texto(QStringLiteral("NOME"));
        op.Fecha();
        if (!existe)
            return false;
    }
    return VaiParaPosicao(codigo, nome);
}

void TfrmExames::MostraPacienteCodigo(int codigo, const QString& filtroDado)
{
    const QString filtro = filtroDado;
    {
        QSignalBlocker b(CBMedicos);
        CBMedicos->setCurrentIndex(CBMedicos->findText(filtro, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    CarregaPacientes(tbOrdemAlfa->isChecked() ? QStringLiteral("Asc") : QStringLiteral("Desc"));
    VaiParaCodigo(codigo);
}

void TfrmExames::CBMedicos1Change() { MostraPaciente(m_nomePaciente, FiltroMedico()); }

void TfrmExames::tbOrdemAlfaClick()
{
    tbOrdemAlfa->setChecked(true);
    // MostraPaciente reloads the list in the order of the pressed button.
    MostraPaciente(NomePacienteAtual(), FiltroMedico());
    DBGridPacientes->setFocus();
}

void TfrmExames::tbOrdemCriacaoClick()
{
    tbOrdemCriacao->setChecked(true);
    // MostraPaciente reloads the list in the order of the pressed button.
    MostraPaciente(NomePacienteAtual(), FiltroMedico());
    DBGridPacientes->setFocus();
}

void TfrmExames::DBGridPacientesCellClick()
{
    edtFindGrid->clear();
    ModoPacientes();
    lswPrincipal->clearSelection();
}

void TfrmExames::DBGridPacientesDblClick() { tbtAlterarPacienteClick(); }

void TfrmExames::MostraInfoPaciente()
{
    const ConsultaBD& p = Pacientes();
    if (!p.Ativa() || p.Linha() < 0) {
        for (QLabel* l : {lblPacienteID, lblNomePaciente, lblUltExame, lblTotalExames})
            l->clear();
        static_cast<RotuloElidido*>(lblConvenio)->DefineTexto(QString());
        lblNomePaciente->setToolTip(QString());
        return;
    }
    lblPacienteID->setText(FormataNumero(QStringLiteral("0000"), p.Inteiro(QStringLiteral("CODIGO"))));
    lblNomePaciente->setText(p.Texto(QStringLiteral("NOME")));
    lblNomePaciente->setToolTip(QStringLiteral("Data de criação: ") + FormataData(p.Data(QStringLiteral("DTCADASTRO"))));
    static_cast<RotuloElidido*>(lblConvenio)->DefineTexto(p.Texto(QStringLiteral("CONVENIO")));
    lblUltExame->setText(p.Texto(QStringLiteral("ULTIMOEXAME")));
    lblTotalExames->setText(QString::number(p.Inteiro(QStringLiteral("TOTALEXAMES"))));
}

void TfrmExames::DBEditControleChange()
{
    if (!Pacientes().Ativa() || m_carregando)
        return;
    MostraInfoPaciente();
    AtualizaExames();
    m_nomePaciente = NomePacienteAtual();
}

// Without a match the list stays where it is and the box's text turns red until the next key.
void TfrmExames::edtFindGridChange()
{
    const QString texto = edtFindGrid->text();
    const bool achou = VaiParaPrefixo(texto);
    QPalette cores = edtFindGrid->palette();
    cores.setColor(QPalette::Text, achou ? palette().color(QPalette::Text) : QColor(Qt::red));
    edtFindGrid->setPalette(cores);
}

// --- modes ------------------------------------------------------------------------------------

void TfrmExames::ModoPacientes()
{
    if (tlbPaciente->isVisibleTo(this))
        return;
    tlbPaciente->show();
    tlbExame->hide();
    pnlInfoExame->hide();
    lblPRI->setText(QStringLiteral("Painel de Conteúdo: Pacientes"));
    tbtCadPaciente->setEnabled(true);
    tbtAlterarPaciente->setEnabled(true);
    tbtExcluirPaciente->setEnabled(true);
    CBoxExames->setChecked(false);
    BloqueiaDuranteBusca();
}

void TfrmExames::ModoExames()
{
    if (tlbExame->isVisibleTo(this))
        return;
    tlbPaciente->hide();
    tlbExame->show();
    pnlInfoExame->hide();
    lblPRI->setText(QStringLiteral("Painel de Conteúdo: Exames"));
}

// --- examinations -----------------------------------------------------------------------------

void TfrmExames::AtualizaExames()
{
    ModoPacientes();
    if (Pacientes().Vazia() || !Pacientes().Ativa()) {
        QSignalBlocker b(lswPrincipal);
        lswPrincipal->clear();
        m_itemSelecionado = nullptr;
        ExameSelecionado = false;
        AtualizaBotaoLente();
        tbtAlterarPaciente->setEnabled(false);
        tbtExcluirPaciente->setEnabled(false);
        CBoxExames->hide();
        return;
    }
    CarregaExames(CodigoPacienteAtual());
    tbtAlterarPaciente->setEnabled(true);
    tbtExcluirPaciente->setEnabled(true);
    tbLocPacExam->setEnabled(true);
    tbtCadPaciente->setEnabled(true);
    BloqueiaDuranteBusca();
}

void TfrmExames::CarregaExames(int codPaciente)
{
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    const QString filtro = FiltroMedico();
    const bool porMedico = filtro != kTodos && !CBoxExames->isChecked();
    int codMedico = 0;
    const bool consultaMedico = filtro != kTodos && filtro != kSemExames;
    if (consultaMedico) {
        ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT Codigo FROM Medicos WHERE Medicos.Nome=:NomeMedico"));
        op.DefineParametro(QStringLiteral("NomeMedico"), filtro);
        op.Abre();
        codMedico = op.Vazia() ? 0 : op.Inteiro(QStringLiteral("Codigo"));
        op.Fecha();
    }
    ConsultaBD& q = *dm.IBQueryExames;
    q.Fecha();
    q.DefineSQL(SqlExames(porMedico));
    q.DefineParametro(QStringLiteral("codigoPaciente"), codPaciente);
    if (porMedico)
        q.DefineParametro(QStringLiteral("codigoMedico"), codMedico);
    q.Abre();
    q.BuscaTodas();
    {
        QSignalBlocker b(lswPrincipal);
        lswPrincipal->clear();
        m_itemSelecionado = nullptr;
        ExameSelecionado = false;
        AtualizaBotaoLente();
        static const QIcon topo = IconeNavegador(Icone::Topografia);
        static const QIcon orto = IconeNavegador(Icone::Ortoceratologia);
        for (int i = 0; i < q.LinhasBuscadas(); ++i) {
            const bool ehOrto = q.CampoDaLinha(i, QStringLiteral("TIPOEXAME")).toString() == QStringLiteral("O");
            auto* item = new QListWidgetItem(ehOrto ? orto : topo,
                                             LegendaExame(q.CampoDaLinha(i, QStringLiteral("OLHO")).toString(),
                                                          q.CampoDaLinha(i, QStringLiteral("DATA")).toDate(),
                                                          q.CampoDaLinha(i, QStringLiteral("HORA")).toTime()),
                                             lswPrincipal);
            item->setData(kPapelFigura, ehOrto ? 3 : 1);
        }
    }
    q.Fecha();
    tbtExcluirExame->setEnabled(false);
    tbLaudo->setEnabled(false);

    // "Exibir todos os exames" offers the examinations of other doctors that the filter hides.
    const int total = Pacientes().Ativa() && Pacientes().Linha() >= 0 ? Pacientes().Inteiro(QStringLiteral("TOTALEXAMES")) : 0;
    const int n = lswPrincipal->count();
    if (total > n && n > 0 && filtro != kTodos) {
        CBoxExames->show();
    } else if (!CBoxExames->isChecked()) {
        CBoxExames->hide();
    } else {
        ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT COUNT(*) FROM Exames WHERE Exames.CodResp=:CodMed "
                                                            "AND Exames.CodPaciente=:CodPac"));
        op.DefineParametro(QStringLiteral("CodMed"), codMedico);
        op.DefineParametro(QStringLiteral("CodPac"), codPaciente);
        op.Abre();
        const int doMedico = op.Inteiro(QStringLiteral("COUNT"));
        op.Fecha();
        CBoxExames->setVisible(total != doMedico);
    }
}

void TfrmExames::CBoxExamesClick() { CarregaExames(CodigoPacienteAtual()); }

bool TfrmExames::LocalizaExame(const QString& legenda)
{
    if (legenda.isEmpty())
        return false;
    const ChaveExame chave = DecompoeLegenda(legenda);
    if (!chave.valida)
        return false;
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    ConsultaBD& q = *dm.IBQueryExames;
    q.Fecha();
    q.DefineSQL(QStringLiteral("SELECT * FROM Exames WHERE Exames.CodPaciente=:CodPac AND Exames.Data=:Data AND "
                               "Exames.Hora=:Hora AND Exames.Olho=:Ol"));
    q.DefineParametro(QStringLiteral("CodPac"), CodPacienteSelecao);
    q.DefineParametro(QStringLiteral("Data"), chave.data);
    q.DefineParametro(QStringLiteral("Hora"), chave.hora);
    q.DefineParametro(QStringLiteral("Ol"), chave.olho);
    q.Abre();
    if (!q.Vazia() && q.Texto(QStringLiteral("TIPOEXAME")) == QStringLiteral("O") && m_orto) {
        ConsultaBD& o = *dm.IBQueryExamesOrto;
        o.Fecha();
        o.DefineSQL(QStringLiteral("SELECT * FROM ExamesOrto WHERE ExamesOrto.CodExame=:CodExame"));
        o.DefineParametro(QStringLiteral("CodExame"), q.Inteiro(QStringLiteral("CODIGO")));
        o.Abre();
        Sag = o.Real(QStringLiteral("SAG"));
        Div = o.Real(QStringLiteral("DIV"));
        Raio = o.Real(QStringLiteral("RAIO"));
    }
    return !q.Vazia();
}

void TfrmExames::SelecaoMudou()
{
    const QList<QListWidgetItem*> sel = lswPrincipal->selectedItems();
    QListWidgetItem* novo = sel.isEmpty() ? nullptr : sel.first();
    if (novo == m_itemSelecionado)
        return;
    QListWidgetItem* antigo = m_itemSelecionado;
    m_itemSelecionado = novo;
    if (antigo)
        lswPrincipalSelectItem(antigo, false);
    if (novo)
        lswPrincipalSelectItem(novo, true);
}

void TfrmExames::lswPrincipalSelectItem(QListWidgetItem* item, bool selecionado)
{
    if (selecionado && item) {
        LegendaSelecionada = item->text();
        if (!ModoExemplos) {
            CodPacienteSelecao = CodigoPacienteAtual();
            const int figura = item->data(kPapelFigura).toInt();
            if (figura == 1 || figura == 3) {
                if (!LocalizaExame(LegendaSelecionada)) {
                    Mensagem(QStringLiteral("Erro"), QStringLiteral("Erro ao selecionar o exame."), IconeMensagem::Erro);
                    pnlInfoExame->hide();
                    return;
                }
                TDMPrincipal& dm = TDMPrincipal::Instancia();
                ConsultaBD& m = *dm.IBQueryMedicos;
                m.Fecha();
                m.DefineSQL(QStringLiteral("SELECT * FROM Medicos WHERE Medicos.Codigo=:CodResp"));
                m.DefineParametro(QStringLiteral("CodResp"), dm.IBQueryExames->Inteiro(QStringLiteral("CODRESP")));
                m.Abre();
                m_medicoExame = m.Vazia() ? QString() : m.Texto(QStringLiteral("NOME"));
                ConsultaBD& ex = *dm.IBQueryExames;
                m_exameLente.Codigo = ex.Inteiro(QStringLiteral("CODIGO"));
                m_exameLente.CodPaciente = ex.Inteiro(QStringLiteral("CODPACIENTE"));
                m_exameLente.Olho = ex.Texto(QStringLiteral("OLHO"));
                m_exameLente.Data = FormataData(ex.Data(QStringLiteral("DATA")));
                m_exameLente.NomePaciente = NomePacienteAtual();
                ExameSelecionado = true;
                ModoExames();
                if (pnlInfoExame->isVisibleTo(this))
                    MostraDetalhes(0);
            }
        }
    } else {
        ExameSelecionado = false;
    }
    if (ModoExemplos) {
        for (QToolButton* b : {tbNovoExame1, tbNovoExame2, tbtExcluirExame, tbtCadPaciente, tbLocPacExam,
                               tbtAlterarPaciente, tbtExcluirPaciente})
            b->setEnabled(false);
    } else {
        const bool temSelecao = m_itemSelecionado != nullptr;
        tbtExcluirExame->setEnabled(temSelecao);
        tbLaudo->setEnabled(temSelecao && ExameSelecionado && !m_medicoExame.isEmpty() &&
                            m_medicoExame == FiltroMedico());
    }
    AtualizaBotaoLente();
}

void TfrmExames::AtualizaBotaoLente()
{
    Button1->setEnabled(LenteDisponivel());
    tbExportar->setEnabled(ExportarDisponivel());
}

void TfrmExames::lswPrincipalDblClick()
{
    if (lswPrincipal->count() == 0)
        return;
    if (pnlInfoExame->isVisibleTo(this) || ModoExemplos)
        pnlInfoExame->hide();
    else if (ExameSelecionado)
        MostraDetalhes(0);
}

void TfrmExames::SelecionaExame(const QString& legenda, int pagina)
{
    for (int i = 0; i < lswPrincipal->count(); ++i) {
        QListWidgetItem* item = lswPrincipal->item(i);
        if (item->text() == legenda) {
            lswPrincipal->setCurrentItem(item);
            item->setSelected(true);
            lswPrincipal->setFocus();
            break;
        }
    }
    MostraDetalhes(pagina);
}

void TfrmExames::MostraDetalhes(int pagina)
{
    pcDetalhes->setCurrentIndex(pagina);
    btnGRD->setEnabled(false);
    btnGRO->setEnabled(false);
    const bool responsavel = m_medicoExame == FiltroMedico();
    btnEDD->setEnabled(responsavel);
    btnEDO->setEnabled(responsavel);
    lblNomeMedico->setStyleSheet(responsavel ? QStringLiteral("color: navy; text-decoration: underline; font-weight: bold;")
                                             : QStringLiteral("color: red; text-decoration: underline; font-weight: bold;"));

    ConsultaBD& q = *TDMPrincipal::Instancia().IBQueryExames;
    if (!q.Ativa() || q.Vazia() || !m_itemSelecionado)
        return;
    lblNomeExame->setText(q.Texto(QStringLiteral("OLHO")) == QStringLiteral("OD") ? QStringLiteral("Olho Direito")
                                                                                  : QStringLiteral("Olho Esquerdo"));
    lblCodExame->setText(FormataNumero(QStringLiteral("0000"), q.Inteiro(QStringLiteral("CODIGO"))));
    lblVData->setText(FormataData(q.Data(QStringLiteral("DATA"))));
    lblVHora->setText(FormataHora(q.Hora(QStringLiteral("HORA"))));
    lblIdConf->setText(FormataNumero(QStringLiteral("0.00"), q.Real(QStringLiteral("INDCONF"))) + QLatin1Char('%'));
    lblNomeMedico->setText(m_medicoExame);
    dbDiag->setPlainText(q.Texto(QStringLiteral("DIAG")));
    dbObs->setPlainText(q.Texto(QStringLiteral("OBSERVACAO")));
    const bool orto = m_orto && q.Texto(QStringLiteral("TIPOEXAME")) == QStringLiteral("O");
    if (orto) {
        lblDiv->setText(FormataNumero(QStringLiteral("0.00"), Div));
        lblRaio->setText(FormataNumero(QStringLiteral("0.00"), Raio));
        lblSag->setText(FormataNumero(QStringLiteral("0.00"), Sag));
    }
    pnlOrto->setVisible(orto);
    pnlInfoExame->show();
    if (cBoxMiniMapa->isChecked())
        MostraMiniMapa();
    else
        LimpaMiniMapa();
    dbDiag->setReadOnly(true);
    dbObs->setReadOnly(true);
}

void TfrmExames::spbEDDClick()
{
    dbDiag->setReadOnly(false);
    dbDiag->setFocus();
    btnGRD->setEnabled(true);
    btnEDD->setEnabled(false);
}

void TfrmExames::SpeedButton5Click()
{
    dbObs->setReadOnly(false);
    dbObs->setFocus();
    btnGRO->setEnabled(true);
    btnEDO->setEnabled(false);
}

void TfrmExames::spbGRDClick() { GravaTexto(true); }
void TfrmExames::SpeedButton4Click() { GravaTexto(false); }

void TfrmExames::GravaTexto(bool diagnostico)
{
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    ConsultaBD& q = *dm.IBQueryExames;
    if (!q.Ativa() || q.Vazia())
        return;
    TfrmAguarde::Mostra();
    const int linha = Pacientes().Linha();
    const bool todosExames = CBoxExames->isChecked();
    const int codigo = q.Inteiro(QStringLiteral("CODIGO"));
    const QString legenda = LegendaSelecionada;
    try {
        ConsultaBD& op = PreparaOperacao(
            dm, diagnostico ? QStringLiteral("Execute Procedure UpdateDiagExameByCodigo :Codigo,:Diag")
                            : QStringLiteral("Execute Procedure UpdateObsExameByCodigo :Codigo,:Obs"));
        op.DefineParametro(QStringLiteral("Codigo"), codigo);
        op.DefineParametro(diagnostico ? QStringLiteral("Diag") : QStringLiteral("Obs"),
                           (diagnostico ? dbDiag : dbObs)->toPlainText());
        op.Executa();
        op.Fecha();
        dm.PCommitDataBase();
    } catch (...) {
        TfrmAguarde::Esconde();
        throw;
    }
    (diagnostico ? btnEDD : btnEDO)->setEnabled(true);
    (diagnostico ? btnGRD : btnGRO)->setEnabled(false);
    (diagnostico ? dbDiag : dbObs)->setReadOnly(true);
    // The commit reopened the patient list: back to the patient and the examination.
    if (linha >= 0)
        Pacientes().VaiPara(linha);
    // Returning to the patient rebuilt the list in patient mode: keep "Exibir todos os exames".
    if (todosExames && !CBoxExames->isChecked()) {
        CBoxExames->setChecked(true);
        CarregaExames(CodigoPacienteAtual());
    }
    SelecionaExame(legenda, diagnostico ? 0 : 1);
    TfrmAguarde::Esconde();
}

void TfrmExames::lblNomeMedicoClick()
{
    if (!m_medicoExame.isEmpty())
        MostraPaciente(NomePacienteAtual(), m_medicoExame);
}

void TfrmExames::tbtExcluirExameClick()
{
    if (!m_itemSelecionado)
        return;
    const QString legenda = m_itemSelecionado->text();
    if (Mensagem(QStringLiteral("Informação"), QStringLiteral("Confirma a exclusão do exame '") + legenda + QStringLiteral("' ?"),
                 IconeMensagem::Pergunta, BotoesMensagem::SimNao, PadraoMensagem::Nao) != RespostaMensagem::Sim)
        return;
    if (!LocalizaExame(legenda)) {
        Mensagem(QStringLiteral("Erro"), QStringLiteral("Erro ao selecionar o registro!!!"), IconeMensagem::Erro);
        return;
    }
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    ConsultaBD& q = *dm.IBQueryExames;
    ExameExclusao exame;
    exame.codigo = q.Inteiro(QStringLiteral("CODIGO"));
    exame.codPaciente = q.Inteiro(QStringLiteral("CODPACIENTE"));
    exame.olho = q.Texto(QStringLiteral("OLHO"));
    exame.tipoExame = q.Texto(QStringLiteral("TIPOEXAME"));
    exame.totalExames = TDPacientes(dm).TotalExamesPaciente(exame.codPaciente);

    TDLaudos laudos(dm);
    const int n = laudos.ContaLaudosExame(exame.codigo, exame.olho);
    if (n > 0) {
        if (Mensagem(QStringLiteral("Informação"),
                     QStringLiteral("Existe(m)  ") + QString::number(n) + QStringLiteral("  Laudo(s) vinculado(s).") +
                         QLatin1Char('\r') + QStringLiteral("Confirma a exclusão do(s) Laudos(s)?"),
                     IconeMensagem::Pergunta, BotoesMensagem::SimNao, PadraoMensagem::Nao) != RespostaMensagem::Sim) {
            Mensagem(QStringLiteral("Informação"), QStringLiteral("Exclusão cancelada!!!"), IconeMensagem::Atencao);
            return;
        }
        ConsultaBD& l = *dm.IBQueryLaudos;
        l.Fecha();
        l.DefineSQL(exame.olho == QStringLiteral("OS") ? QStringLiteral("SELECT Codigo FROM Laudos WHERE MedidaOS=:CodigoExame")
                                                       : QStringLiteral("SELECT Codigo FROM Laudos WHERE MedidaOD=:CodigoExame"));
        l.DefineParametro(QStringLiteral("CodigoExame"), exame.codigo);
        l.Abre();
        for (; !l.Eof(); l.Proximo())
            exame.laudos << l.Inteiro(QStringLiteral("CODIGO"));
        l.Fecha();
    }

    const QString nome = TDPacientes(dm).NomePaciente(exame.codPaciente);
    try {
        ExcluiExame(dm, exame);
    } catch (const ErroSistema& e) {
        Mensagem(QStringLiteral("Erro"),
                 QStringLiteral("Não foi possível excluir o exame '") + legenda +
                     QStringLiteral("'. Nada foi excluído.\n\n") + e.Mensagem(),
                 IconeMensagem::Erro);
        MostraPaciente(nome, FiltroMedico());
        return;
    }
    if (exame.totalExames - 1 == 0) {
        CarregaMedicos();
        MostraPaciente(nome, kSemExames);
    } else {
        MostraPaciente(nome, FiltroMedico());
    }
}

void TfrmExames::tbtExcluirPacienteClick()
{
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    if (!Pacientes().Ativa() || Pacientes().Linha() < 0)
        return;
    const int codigo = CodigoPacienteAtual();
    const QString nome = NomePacienteAtual();
    ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT CodPaciente,CodResp FROM Exames WHERE Exames.CodPaciente = :idxPac"));
    op.DefineParametro(QStringLiteral("idxPac"), codigo);
    op.Abre();
    const bool temExames = !op.Vazia();
    op.Fecha();
    if (temExames) {
        Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Não é possivel excluir o paciente ") + nome + QStringLiteral("! ") + QStringLiteral("\n\n") +
                     QStringLiteral("Para excluir este paciente é preciso excluir todos os exames."),
                 IconeMensagem::Pergunta, BotoesMensagem::Ok);
        return;
    }
    if (Mensagem(QStringLiteral("Informação"), QStringLiteral("Confirma a exclusão do paciente '") + nome + QStringLiteral("'?"),
                 IconeMensagem::Pergunta, BotoesMensagem::SimNao, PadraoMensagem::Nao) != RespostaMensagem::Sim)
        return;

    // The neighbour that takes the deleted patient's place in the list.
    ConsultaBD& p = Pacientes();
    const int linha = p.Linha();
    int vizinho = 0;
    if (p.VaiPara(linha + 1) || (linha > 0 && p.VaiPara(linha - 1)))
        vizinho = p.Inteiro(QStringLiteral("CODIGO"));
    QString filtro = FiltroMedico();

    TDPacientes pacientes(dm);
    pacientes.ExcluiPaciente(codigo);
    if (pacientes.ContaPacientes() == 0) {
        CarregaMedicos();
        MostraPaciente(QString(), kTodos);
        return;
    }
    // The deleted patient leaves the list at once; the filter entry may have gone with him.
    CarregaMedicos();
    if (CBMedicos->findText(filtro, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        filtro = kTodos;
    MostraPaciente(QString(), filtro);
    if (vizinho != 0)
        VaiParaCodigo(vizinho);
}

void TfrmExames::tbtAlterarPacienteClick()
{
    if (!Pacientes().Ativa() || Pacientes().Linha() < 0)
        return;
    const int linha = Pacientes().Linha();
    CadastroAlteraPaciente(this, CodigoPacienteAtual());
    if (Pacientes().Ativa() && linha >= 0 && Pacientes().Linha() != linha)
        Pacientes().VaiPara(linha);
}

void TfrmExames::tbtCadPacienteClick()
{
    CarregaMedicos();
    CBMedicos1Change();
    AbreJanelaModal(new TfrmNovoPaciente(*this, this));
}

void TfrmExames::NovoExame(bool orto)
{
    if (DBEditControle->text().isEmpty()) {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Selecione um Paciente para efetuar o exame!"),
                 IconeMensagem::Erro);
        return;
    }
    if (Ligacoes().NovoExame)
        Ligacoes().NovoExame(*this, orto);
    else
        AbreJanelaModal(new TfrmNovoExame(*this, orto, this));
}

void TfrmExames::tbNovoExameClick() { NovoExame(false); }
void TfrmExames::tbExameOrtoClick() { NovoExame(true); }

void TfrmExames::tbLaudoClick()
{
    const int linha = Pacientes().Linha();
    if (lswPrincipal->count() > 0) {
        if (Ligacoes().Laudo)
            Ligacoes().Laudo(*this);
        if (Pacientes().Ativa() && linha >= 0 && Pacientes().Linha() != linha)
            Pacientes().VaiPara(linha);
    } else {
        Mensagem(QStringLiteral("Atenção"), QStringLiteral("Não há exames para gerar laudo!"), IconeMensagem::Atencao);
    }
}

void TfrmExames::Button1Click()
{
    AtualizaBotaoLente();
    if (!LenteDisponivel())
        return;
    if (Ligacoes().Medidas)
        Ligacoes().Medidas(*this);
}

// --- pages ------------------------------------------------------------------------------------

void TfrmExames::pcExamesChange(int pagina)
{
    if (pagina == 0)
        AtivaPacientes();
    else
        AtivaExemplos();
}

void TfrmExames::AtivaExemplos()
{
    ExameSelecionado = false;
    ModoExemplos = true;
    AtualizaBotaoLente();
    pnlInfoExame->hide();
    ModoExames();
    for (QToolButton* b : {tbNovoExame1, tbNovoExame2, tbtExcluirExame, tbLaudo, tbOrdemAlfa, tbOrdemCriacao,
                           tbExameOrto1, tbExameOrto2, tbExportar})
        b->setEnabled(false);
    CBoxExames->hide();
    if (auto* l = findChild<QLabel*>(QStringLiteral("lblExames")))
        l->setText(QStringLiteral("Exemplos da classe"));
    const QStringList classes = ClassesExemplos(m_orto);
    GridExemplos->clearContents();
    GridExemplos->setRowCount(classes.size());
    for (int i = 0; i < classes.size(); ++i)
        GridExemplos->setItem(i, 0, new QTableWidgetItem(classes[i]));
    GridExemplos->selectRow(0);
    GridExemplosSelectCell(1, 1);
}

void TfrmExames::GridExemplosSelectCell(int, int linha)
{
    QSignalBlocker b(lswPrincipal);
    lswPrincipal->clear();
    m_itemSelecionado = nullptr;
    const QStringList itens = ItensExemplo(linha);
    const QIcon icone = IconeNavegador(linha == 6 ? Icone::Ortoceratologia : Icone::Topografia);
    for (const QString& legenda : itens) {
        auto* item = new QListWidgetItem(icone, legenda, lswPrincipal);
        item->setData(kPapelFigura, linha == 6 ? 3 : 1);
    }
}

void TfrmExames::AtivaPacientes()
{
    for (QToolButton* b : {tbNovoExame1, tbNovoExame2, tbtExcluirExame, tbLaudo, tbOrdemAlfa, tbOrdemCriacao,
                           tbExameOrto1, tbExameOrto2})
        b->setEnabled(true);
    tbOrdemAlfa->setChecked(true);
    ModoExemplos = false;
    if (auto* l = findChild<QLabel*>(QStringLiteral("lblExames")))
        l->setText(QStringLiteral("Exames do paciente"));
    AtualizaExames();
    AtualizaBotaoLente();
    DBGridPacientes->setFocus();
}

// --- keyboard ---------------------------------------------------------------------------------

bool TfrmExames::eventFilter(QObject* objeto, QEvent* evento)
{
    if (!m_montado)
        return QDialog::eventFilter(objeto, evento);
    if (objeto == tsPacientes && evento->type() == QEvent::Resize)
        AjustaLayout();
    if (objeto == DBGridPacientes->viewport() && evento->type() == QEvent::Resize) {
        // The grid got its size after the patient was placed (on opening): keep it in view.
        CompletaGrade();
        if (DBGridPacientes->currentIndex().isValid())
            DBGridPacientes->scrollTo(DBGridPacientes->currentIndex());
    }
    if (objeto == imgVisualizar && evento->type() == QEvent::MouseButtonRelease)
        QTimer::singleShot(0, this, &TfrmExames::MostraMiniMapa);
    if (objeto == DBGridPacientes->viewport() && evento->type() == QEvent::MouseButtonPress)
        QTimer::singleShot(0, this, &TfrmExames::DBGridPacientesCellClick);
    if (objeto == dbGridPacLoc->viewport() && evento->type() == QEvent::MouseButtonRelease)
        QTimer::singleShot(0, this, &TfrmExames::dbGridPacLocCellClick);
    if (evento->type() == QEvent::KeyPress &&
        (objeto == DBGridPacientes || objeto == edtFindGrid || objeto == lswPrincipal || objeto == edtFind ||
         objeto == CbFind || objeto == btnLocPac || objeto == dbGridPacLoc)) {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        switch (tecla->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Delete:
            TeclaNavegador(objeto, tecla);
            return true;
        case Qt::Key_N:
        case Qt::Key_E:
        case Qt::Key_L:
            if (tecla->modifiers() == Qt::ControlModifier) {
                TeclaNavegador(objeto, tecla);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void TfrmExames::TeclaNavegador(QObject* origem, QKeyEvent* tecla)
{
    switch (tecla->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        edtFindGrid->clear();
        DBGridPacientes->setFocus();
        if (BuscaAberta()) {
            if (tecla->key() == Qt::Key_Escape) {
                tbLocPacExam->setChecked(false);
                DBGridPacientes->setFocus();
            } else {
                edtFind->setFocus();
            }
        }
        break;
    case Qt::Key_Delete:
        // While the search is open the patient actions are off, their keys too.
        if (pcExames->currentWidget() != tsPacientes || BuscaAberta())
            break;
        if (origem == lswPrincipal)
            tbtExcluirExameClick();
        else if (origem == DBGridPacientes && TDPacientes().ContaPacientes() > 0)
            tbtExcluirPacienteClick();
        break;
    case Qt::Key_N:
        if (!BuscaAberta())
            tbtCadPacienteClick();
        break;
    case Qt::Key_E:
        if (!BuscaAberta())
            tbNovoExameClick();
        break;
    case Qt::Key_L:
        if (!ModoExemplos)
            tbLocPacExam->setChecked(true);
        edtFindGrid->clear();
        break;
    default:
        break;
    }
}
