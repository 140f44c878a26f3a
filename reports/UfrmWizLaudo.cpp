#include "reports/UfrmWizLaudo.h"

#include "common/UErros.h"
#include "config/URegistrosZR.h"
#include "data/UConsultaBD.h"
#include "data/UDLaudos.h"
#include "data/UDMPrincipal.h"
#include "examfiles/UArquivosExame.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmExames.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "reports/UMarcadores.h"
#include "reports/UfrmLaudo.h"
#include "reports/UfrmLauRelat.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Acao { Novo = 0, Abrir = 1, Excluir = 2 };

const QString kInformacao = QStringLiteral("Informação");

} // namespace

TfrmWizLaudo::TfrmWizLaudo(TfrmExames& navegador, QWidget* pai)
    : QDialog(pai ? pai : &navegador), m_nav(navegador)
{
    setObjectName(QStringLiteral("frmWizLaudo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Assistente de Laudo"));
    Monta();
}

TfrmWizLaudo::~TfrmWizLaudo() = default;

TfrmLaudo* TfrmWizLaudo::Editor() const { return m_editor.data(); }

void TfrmWizLaudo::Monta()
{
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 12);
    raiz->setSpacing(10);

    auto* faixa = new QFrame(this);
    faixa->setObjectName(QStringLiteral("pnlTitulo"));
    faixa->setStyleSheet(QStringLiteral("#pnlTitulo { background: #1f4e79; } QLabel { color: white; }"));
    auto* lf = new QHBoxLayout(faixa);
    lf->setContentsMargins(16, 12, 16, 12);
    lblTitulo = new QLabel(QStringLiteral("Seleção de Exames e Laudos"), faixa);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont ft = lblTitulo->font();
    ft.setPointSize(ft.pointSize() + 5);
    ft.setBold(true);
    lblTitulo->setFont(ft);
    lf->addWidget(lblTitulo);
    raiz->addWidget(faixa);

    auto* corpo = new QVBoxLayout;
    corpo->setContentsMargins(16, 0, 16, 0);
    corpo->setSpacing(10);
    raiz->addLayout(corpo, 1);

    auto radio = [&](const char* nome, const QString& texto) {
        auto* r = new QRadioButton(texto, this);
        r->setObjectName(QLatin1String(nome));
        QFont f = r->font();
        f.setBold(true);
        r->setFont(f);
        return r;
    };
    auto combo = [&](const char* nome) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(nome));
        c->setEditable(false);
        c->setMinimumWidth(260);
        return c;
    };

    // New report: one examination of each eye.
    rgNovoLau = radio("rgNovoLau", QStringLiteral("Gerar novo laudo"));
    auto* gNovo = new QGridLayout;
    gNovo->setContentsMargins(24, 0, 0, 0);
    Label2 = new QLabel(QStringLiteral("Olho Direito"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(QStringLiteral("Olho Esquerdo"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmbOD = combo("cmbOD");
    cmbOS = combo("cmbOS");
    gNovo->addWidget(Label2, 0, 0);
    gNovo->addWidget(cmbOD, 0, 1);
    gNovo->addWidget(Label1, 1, 0);
    gNovo->addWidget(cmbOS, 1, 1);
    gNovo->setColumnStretch(1, 1);
    corpo->addWidget(rgNovoLau);
    corpo->addLayout(gNovo);

    rbLauExist = radio("rbLauExist", QStringLiteral("Abrir laudo existente"));
    cmbEscLaudo = combo("cmbEscLaudo");
    rbExcLaudo = radio("rbExcLaudo", QStringLiteral("Excluir laudo"));
    cmbExcLaudo = combo("cmbExcLaudo");
    for (auto [r, c] : {std::pair<QRadioButton*, QComboBox*>{rbLauExist, cmbEscLaudo}, {rbExcLaudo, cmbExcLaudo}}) {
        corpo->addWidget(r);
        auto* l = new QHBoxLayout;
        l->setContentsMargins(24, 0, 0, 0);
        l->addWidget(c, 1);
        corpo->addLayout(l);
    }

    rgTipoMapa = new QGroupBox(QStringLiteral("Tipo Mapa"), this);
    rgTipoMapa->setObjectName(QStringLiteral("rgTipoMapa"));
    auto* lt = new QHBoxLayout(rgTipoMapa);
    m_tipos = new QButtonGroup(this);
    int k = 0;
    for (const QString& t : {QStringLiteral("Axial"), QStringLiteral("Tangencial")}) {
        auto* r = new QRadioButton(t, rgTipoMapa);
        r->setObjectName(QStringLiteral("rbTipo") + t);
        m_tipos->addButton(r, k++);
        lt->addWidget(r);
    }
    lt->addStretch(1);
    m_tipos->button(0)->setChecked(true);
    corpo->addWidget(rgTipoMapa);
    corpo->addStretch(1);

    auto* botoes = new QHBoxLayout;
    botoes->setContentsMargins(16, 0, 16, 0);
    sButton7 = new QPushButton(QStringLiteral("&OK"), this);
    sButton7->setObjectName(QStringLiteral("sButton7"));
    sButton1 = new QPushButton(QStringLiteral("&Cancelar"), this);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    for (QPushButton* b : {sButton7, sButton1}) {
        b->setMinimumWidth(110);
        b->setAutoDefault(false);
    }
    botoes->addStretch(1);
    botoes->addWidget(sButton7);
    botoes->addWidget(sButton1);
    raiz->addLayout(botoes);

    connect(rgNovoLau, &QRadioButton::clicked, this, &TfrmWizLaudo::rgNovoLauClick);
    connect(rbLauExist, &QRadioButton::clicked, this, &TfrmWizLaudo::rbLauExistClick);
    connect(rbExcLaudo, &QRadioButton::clicked, this, &TfrmWizLaudo::rbExcLaudoClick);
    connect(sButton7, &QPushButton::clicked, this, &TfrmWizLaudo::btnOKClick);
    connect(sButton1, &QPushButton::clicked, this, &TfrmWizLaudo::btnCancelarClick);
    resize(520, 430);
}

int TfrmWizLaudo::TipoMapa() const { return m_tipos->checkedId() == 1 ? 1 : 0; }

void TfrmWizLaudo::DefineTipoMapa(int indice) { m_tipos->button(indice == 1 ? 1 : 0)->setChecked(true); }

void TfrmWizLaudo::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_mostrado) {
        m_mostrado = true;
        FormShow();
    }
}

void TfrmWizLaudo::FormShow()
{
    m_linhaPaciente = TDMPrincipal::Instancia().IBQueryPacientes->Linha();
    m_legendaExame = m_nav.ExameSelecionado ? m_nav.LegendaSelecionada : QString();

    // The navigator's examinations: "OD" items to the right eye, all others to the left.
    QStringList od, os;
    for (int i = 0; i < m_nav.lswPrincipal->count(); ++i) {
        const QString legenda = m_nav.lswPrincipal->item(i)->text();
        (legenda.startsWith(QStringLiteral("OD")) ? od : os) << legenda;
    }
    od << QStringLiteral("Nenhum");
    os << QStringLiteral("Nenhum");
    cmbOD->clear();
    cmbOD->addItems(od);
    cmbOD->setCurrentIndex(-1);
    cmbOS->clear();
    cmbOS->addItems(os);
    cmbOS->setCurrentIndex(-1);

    ExamesPresentes = true;
    DescricaoOD.clear();
    DescricaoOS.clear();
    CarregaLaudos();
    EscolheAcao(Novo);
}

// The patient's reports that belong to the navigator's doctor through either examination,
// in code order.
void TfrmWizLaudo::CarregaLaudos()
{
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    ConsultaBD& op = *dm.IBOperation;
    op.Fecha();
    op.DefineSQL(QStringLiteral("SELECT Codigo FROM Medicos WHERE Medicos.Nome=:NomeMedico"));
    op.DefineParametro(QStringLiteral("NomeMedico"), m_nav.FiltroMedico());
    op.Abre();
    const int medico = op.Vazia() ? 0 : op.Inteiro(QStringLiteral("CODIGO"));
    op.Fecha();

    QStringList itens;
    if (medico != 0) { // "*** Todos" and "*** Sem Exames" name no doctor
        op.DefineSQL(QStringLiteral(
            "SELECT L.Codigo, L.Data, L.Hora, EOD.CodResp AS RespOD, EOS.CodResp AS RespOS FROM Laudos L "
            "LEFT JOIN Exames EOD ON EOD.Codigo = L.MedidaOD LEFT JOIN Exames EOS ON EOS.Codigo = L.MedidaOS "
            "WHERE L.CodPaciente=:CodPaciente ORDER BY L.Codigo"));
        op.DefineParametro(QStringLiteral("CodPaciente"), m_nav.CodigoPacienteAtual());
        op.Abre();
        op.BuscaTodas();
        for (int i = 0; i < op.LinhasBuscadas(); ++i) {
            if (op.CampoDaLinha(i, QStringLiteral("RESPOD")).toInt() != medico &&
                op.CampoDaLinha(i, QStringLiteral("RESPOS")).toInt() != medico)
                continue;
            itens << ItemLaudo(op.CampoDaLinha(i, QStringLiteral("CODIGO")).toInt(),
                               op.CampoDaLinha(i, QStringLiteral("DATA")).toDate(),
                               op.CampoDaLinha(i, QStringLiteral("HORA")).toTime());
        }
        op.Fecha();
    }
    for (QComboBox* c : {cmbEscLaudo, cmbExcLaudo}) {
        c->clear();
        c->addItems(itens);
        c->setCurrentIndex(-1);
    }
    rbLauExist->setEnabled(!itens.isEmpty());
    rbExcLaudo->setEnabled(!itens.isEmpty());
}

void TfrmWizLaudo::EscolheAcao(int acao)
{
    rgNovoLau->setChecked(acao == Novo);
    rbLauExist->setChecked(acao == Abrir);
    rbExcLaudo->setChecked(acao == Excluir);
    for (QWidget* w : std::initializer_list<QWidget*>{cmbOD, cmbOS, Label1, Label2})
        w->setEnabled(acao == Novo);
    cmbEscLaudo->setEnabled(acao == Abrir);
    cmbExcLaudo->setEnabled(acao == Excluir);
}

void TfrmWizLaudo::rgNovoLauClick() { EscolheAcao(Novo); }
void TfrmWizLaudo::rbLauExistClick() { EscolheAcao(Abrir); }
void TfrmWizLaudo::rbExcLaudoClick() { EscolheAcao(Excluir); }

TfrmLaudo& TfrmWizLaudo::PreparaEditor()
{
    if (!m_editor)
        m_editor = new TfrmLaudo(*this);
    m_editor->lblNome->setText(m_nav.NomePacienteAtual());
    m_editor->trwLaudo->clear();
    return *m_editor;
}

void TfrmWizLaudo::btnOKClick()
{
    Prosseguir = true;
    TfrmAguarde::Mostra();
    m_nav.TimerAguarde->start();

    if (rgNovoLau->isChecked()) {
        PreparaEditor().NovoLaudo();
    } else if (rbLauExist->isChecked()) {
        if (cmbEscLaudo->currentIndex() < 0) {
            Mensagem(kInformacao, QStringLiteral("Por favor, selecione um laudo para ser aberto."),
                     IconeMensagem::Informacao);
            Prosseguir = false;
        } else {
            TfrmLaudo& e = PreparaEditor();
            e.DesabilitaEdicao();
            e.AbrirLaudo();
        }
    } else if (rbExcLaudo->isChecked()) {
        if (cmbExcLaudo->currentIndex() < 0) {
            Mensagem(kInformacao, QStringLiteral("Por favor, selecione um laudo para ser excluído."),
                     IconeMensagem::Informacao);
            Prosseguir = false;
        } else {
            ExcluiLaudoEscolhido();
            Prosseguir = false;
            close();
            return;
        }
    }

    if (Prosseguir && m_editor) {
        AbreJanelaModal(m_editor);
    } else if (m_editor) {
        // The next OK starts from a fresh editor.
        delete m_editor.data();
    }
}

void TfrmWizLaudo::ExcluiLaudoEscolhido()
{
    const int indice = cmbExcLaudo->currentIndex();
    const QString item = cmbExcLaudo->currentText();
    if (Mensagem(kInformacao, QStringLiteral("Confirma exclusão do ") + item + u'?', IconeMensagem::Pergunta,
                 BotoesMensagem::SimNao) != RespostaMensagem::Sim)
        return;
    const int codigo = CodigoDoItem(item);
    TDLaudos(TDMPrincipal::Instancia()).ExcluiLaudo(codigo);
    const QString arquivo = CaminhoEm(PastaLaudosPaciente(QString::number(m_nav.CodigoPacienteAtual())),
                                      QString::number(codigo) + QStringLiteral("l.txt"));
    if (!QFileInfo::exists(arquivo)) {
        Mensagem(kInformacao, item + QStringLiteral(" não encontrado."), IconeMensagem::Informacao);
        return;
    }
    if (!QFile::remove(arquivo)) {
        Mensagem(kInformacao, item + QStringLiteral(" excluído, mas o arquivo do laudo não pôde ser apagado."),
                 IconeMensagem::Erro);
        return;
    }
    cmbExcLaudo->removeItem(indice);
    cmbEscLaudo->removeItem(indice);
    Mensagem(kInformacao, item + QStringLiteral(" excluído com sucesso."), IconeMensagem::Informacao);
}

void TfrmWizLaudo::btnCancelarClick() { close(); }

void TfrmWizLaudo::closeEvent(QCloseEvent* evento)
{
    QDialog::closeEvent(evento);
    FormClose();
}

void TfrmWizLaudo::FormClose()
{
    if (m_fechado)
        return;
    m_fechado = true;
    RestauraNavegador();
}

void TfrmWizLaudo::RestauraNavegador()
{
    ConsultaBD& pacientes = *TDMPrincipal::Instancia().IBQueryPacientes;
    if (pacientes.Ativa() && m_linhaPaciente >= 0 && pacientes.Linha() != m_linhaPaciente)
        pacientes.VaiPara(m_linhaPaciente);
    if (m_legendaExame.isEmpty())
        return;
    QListWidget* lista = m_nav.lswPrincipal;
    const QList<QListWidgetItem*> sel = lista->selectedItems();
    if (!sel.isEmpty() && sel.first()->text() == m_legendaExame) {
        m_nav.CodPacienteSelecao = m_nav.CodigoPacienteAtual();
        m_nav.LocalizaExame(m_legendaExame);
        return;
    }
    for (int i = 0; i < lista->count(); ++i)
        if (lista->item(i)->text() == m_legendaExame) {
            lista->setCurrentItem(lista->item(i));
            lista->item(i)->setSelected(true);
            break;
        }
}

void AbreAssistenteLaudo(TfrmExames& navegador)
{
    AbreJanelaModal(new TfrmWizLaudo(navegador));
}

void RegistraLaudos()
{
    TfrmExames::Ligacoes().Laudo = [](TfrmExames& nav) { AbreAssistenteLaudo(nav); };
    RegistraImpressaoLaudo();
}
