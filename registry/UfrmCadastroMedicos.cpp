#include "registry/UfrmCadastroMedicos.h"

#include "config/URegistrosZR.h"
#include "data/UDExames.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "platform/UAjuda.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "registry/UCamposCadastro.h"
#include "registry/UGrupoOpcoes.h"
#include "registry/UfrmConsultaMedicos.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace cadastro;

namespace {
const QString kDicaExcluir = QStringLiteral("Excluir o registro atual");
const QString kDicaCancelar = QStringLiteral("Cancelar inclusão ou alteração do registro");
} // namespace

QStringList TfrmCadastroMedicos::EstadosNaturalidade() { return cadastro::Estados(); }

QStringList TfrmCadastroMedicos::EstadosEndereco()
{
    // The address list starts with an empty entry and has no "AC".
    QStringList e = cadastro::Estados();
    e[0] = QString();
    return e;
}

TfrmCadastroMedicos::TfrmCadastroMedicos(QWidget* pai)
    : QDialog(pai), m_dm(TDMPrincipal::Instancia())
{
    setObjectName(QStringLiteral("frmCadastroMedicos"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Cadastro de Médicos"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setStyleSheet(EstiloCadastro() + QStringLiteral(
        "QFrame#barraFerramentas { background: qlineargradient(x1:0,y1:0,x2:0,y2:1,"
        " stop:0 #ffffff, stop:1 #dde7f0); border: 1px solid #b8c7d6; border-radius: 3px; }"
        "QToolButton { padding: 2px 6px; border: 1px solid transparent; border-radius: 3px; }"
        "QToolButton:hover { border-color: #8fb4d6; background: #eaf3fb; }"
        "QToolButton:disabled { color: #98a4b0; }"));
    DefineContextoAjuda(this, 4);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(10, 10, 10, 10);
    principal->setSpacing(8);

    // Toolbar.
    auto* barra = new QFrame(this);
    barra->setObjectName(QStringLiteral("barraFerramentas"));
    auto* lb = new QHBoxLayout(barra);
    lb->setContentsMargins(4, 3, 4, 3);
    lb->setSpacing(2);
    auto botao = [&](QToolButton*& b, const char* nome, const QString& texto, const QString& dica,
                     QStyle::StandardPixmap icone, bool comTexto) {
        b = new QToolButton(barra);
        b->setObjectName(QString::fromLatin1(nome));
        b->setText(texto);
        b->setToolTip(dica);
        b->setIcon(style()->standardIcon(icone));
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(comTexto ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        if (comTexto)
            b->setMinimumWidth(72);
        lb->addWidget(b);
    };
    botao(btnAdd, "btnAdd", QStringLiteral("Adicionar"), QStringLiteral("Novo registro"),
          QStyle::SP_FileIcon, true);
    botao(btnAlt, "btnAlt", QStringLiteral("Alterar"), QStringLiteral("Alterar dados do registro atual"),
          QStyle::SP_FileDialogDetailedView, true);
    botao(btnDel, "btnDel", QStringLiteral("Excluir"), kDicaExcluir, QStyle::SP_TrashIcon, true);
    botao(btnAtu, "btnAtu", QStringLiteral("Atuallizar"), QStringLiteral("Gravar os dados informados"),
          QStyle::SP_DialogSaveButton, true);
    botao(btnPes, "btnPes", QStringLiteral("Localizar"), QStringLiteral("Pesquisar e localizar registro"),
          QStyle::SP_FileDialogContentsView, true);
    lb->addStretch(1);
    botao(btnPRI, "btnPRI", QString(), QStringLiteral("Primeiro registro"), QStyle::SP_MediaSkipBackward, false);
    botao(btnANT, "btnANT", QString(), QStringLiteral("Registro anterior"), QStyle::SP_MediaSeekBackward, false);
    botao(btnPRO, "btnPRO", QString(), QStringLiteral("Próximo registro"), QStyle::SP_MediaSeekForward, false);
    botao(btnULT, "btnULT", QString(), QStringLiteral("Último registro"), QStyle::SP_MediaSkipForward, false);
    principal->addWidget(barra);

    auto* linhaCodigo = new QHBoxLayout;
    lblCodigo = new QLabel(QStringLiteral("Código:"), this);
    lblCodigo->setObjectName(QStringLiteral("lblCodigo"));
    dbtCodigo = new QLabel(this);
    dbtCodigo->setObjectName(QStringLiteral("dbtCodigo"));
    dbtCodigo->setMinimumWidth(80);
    linhaCodigo->addWidget(lblCodigo);
    linhaCodigo->addWidget(dbtCodigo);
    linhaCodigo->addStretch(1);
    principal->addLayout(linhaCodigo);

    pgcCadastro = new QTabWidget(this);
    pgcCadastro->setObjectName(QStringLiteral("pgcCadastro"));
    principal->addWidget(pgcCadastro);

    tshPessoal = new QWidget;
    tshPessoal->setObjectName(QStringLiteral("tshPessoal"));
    auto* g = new QGridLayout(tshPessoal);
    g->setContentsMargins(12, 12, 12, 12);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(7);
    dbeNome = CriaTexto(tshPessoal, "dbeNome", 50);
    dbeRG = CriaTexto(tshPessoal, "dbeRG", 15);
    dbeCPF = CriaTexto(tshPessoal, "dbeCPF", 11);
    dbeCRM = CriaTexto(tshPessoal, "dbeCRM", 15);
    drgSexo = new TGrupoOpcoes(QString(), {QStringLiteral("Masculino"), QStringLiteral("Feminino")},
                               {QStringLiteral("M"), QStringLiteral("F")}, tshPessoal);
    drgSexo->setObjectName(QStringLiteral("drgSexo"));
    drgEstadoCivil = new TGrupoOpcoes(
        QString(), {QStringLiteral("Casado(a)"), QStringLiteral("Solteiro(a)"), QStringLiteral("Divorciado(a)")},
        {QStringLiteral("C"), QStringLiteral("S"), QStringLiteral("D")}, tshPessoal);
    drgEstadoCivil->setObjectName(QStringLiteral("drgEstadoCivil"));
    dbeConjuge = CriaTexto(tshPessoal, "dbeConjuge", 25);
    dbeDataNascimento = CriaTexto(tshPessoal, "dbeDataNascimento", 10);
    dbeNaturalidade = CriaTexto(tshPessoal, "dbeNaturalidade", 40);
    dbcEstadoNaturalidade = CriaLista(tshPessoal, "dbcEstadoNaturalidade", EstadosNaturalidade(), true, 2);
    dbePai = CriaTexto(tshPessoal, "dbePai", 50);
    dbeMae = CriaTexto(tshPessoal, "dbeMae", 50);
    int l = 0;
    Rotulo(g, QStringLiteral("Nome:"), dbeNome, l, 0);
    g->addWidget(dbeNome, l++, 1, 1, 3);
    Rotulo(g, QStringLiteral("RG:"), dbeRG, l, 0);
    g->addWidget(dbeRG, l, 1);
    Rotulo(g, QStringLiteral("CPF:"), dbeCPF, l, 2);
    g->addWidget(dbeCPF, l++, 3);
    Rotulo(g, QStringLiteral("CRM:"), dbeCRM, l, 0);
    g->addWidget(dbeCRM, l, 1);
    Rotulo(g, QStringLiteral("Data Nascimento:"), dbeDataNascimento, l, 2);
    g->addWidget(dbeDataNascimento, l++, 3);
    Rotulo(g, QStringLiteral("Sexo:"), drgSexo, l, 0);
    g->addWidget(drgSexo, l++, 1, 1, 3);
    Rotulo(g, QStringLiteral("Est. Civil:"), drgEstadoCivil, l, 0);
    g->addWidget(drgEstadoCivil, l++, 1, 1, 3);
    Rotulo(g, QStringLiteral("Conjuge:"), dbeConjuge, l, 0);
    g->addWidget(dbeConjuge, l++, 1, 1, 3);
    Rotulo(g, QStringLiteral("Naturalidade:"), dbeNaturalidade, l, 0);
    g->addWidget(dbeNaturalidade, l, 1);
    Rotulo(g, QStringLiteral("Estado:"), dbcEstadoNaturalidade, l, 2);
    g->addWidget(dbcEstadoNaturalidade, l++, 3);
    Rotulo(g, QStringLiteral("Pai:"), dbePai, l, 0);
    g->addWidget(dbePai, l++, 1, 1, 3);
    Rotulo(g, QStringLiteral("Mãe:"), dbeMae, l, 0);
    g->addWidget(dbeMae, l++, 1, 1, 3);
    g->setRowStretch(l, 1);
    g->setColumnStretch(1, 3);
    g->setColumnStretch(3, 2);
    g->setColumnMinimumWidth(1, 160);
    g->setColumnMinimumWidth(3, 110);
    OrdemDeLeitura(g);
    pgcCadastro->addTab(tshPessoal, QStringLiteral("Informações Pessoais"));

    const AbaEndereco endereco = CriaAbaEndereco(EstadosEndereco(), true, "dbeCep");
    tshResidencial = endereco.aba;
    dbeRua = endereco.rua;
    dbeComplemento = endereco.complemento;
    dbeBairro = endereco.bairro;
    dbeCidade = endereco.cidade;
    dbcEstado = endereco.estado;
    dbeCep = endereco.cep;
    dbeFone = endereco.fone;
    dbeCelular = endereco.celular;
    pgcCadastro->addTab(tshResidencial, QStringLiteral("Informações Residenciais"));

    auto* rodape = new QHBoxLayout;
    sButton6 = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("Ajuda"), this);
    sButton6->setObjectName(QStringLiteral("sButton6"));
    sButton7 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Fechar"), this);
    sButton7->setObjectName(QStringLiteral("sButton7"));
    sButton7->setToolTip(QStringLiteral("Fechar o cadastro de médicos"));
    for (QPushButton* b : {sButton6, sButton7}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
    }
    rodape->addWidget(sButton6);
    rodape->addStretch(1);
    rodape->addWidget(sButton7);
    principal->addLayout(rodape);

    connect(btnAdd, &QToolButton::clicked, this, &TfrmCadastroMedicos::sbtAddClick);
    connect(btnAlt, &QToolButton::clicked, this, &TfrmCadastroMedicos::sbtAlterarClick);
    connect(btnDel, &QToolButton::clicked, this, &TfrmCadastroMedicos::sbtDelClick);
    connect(btnAtu, &QToolButton::clicked, this, &TfrmCadastroMedicos::sbtAtualizarClick);
    connect(btnPes, &QToolButton::clicked, this, &TfrmCadastroMedicos::sbtFindClick);
    connect(btnPRI, &QToolButton::clicked, this, &TfrmCadastroMedicos::btnPRIClick);
    connect(btnANT, &QToolButton::clicked, this, &TfrmCadastroMedicos::btnANTClick);
    connect(btnPRO, &QToolButton::clicked, this, &TfrmCadastroMedicos::btnPROClick);
    connect(btnULT, &QToolButton::clicked, this, &TfrmCadastroMedicos::btnULTClick);
    connect(sButton7, &QPushButton::clicked, this, &QWidget::close);
    // The same topic as F1.
    connect(sButton6, &QPushButton::clicked, this, [this] { AbreAjuda(ContextoAjuda(this)); });

    // While browsing, the fields follow the table's current row (record buttons, the
    // lookup, the reopening after a commit).
    ConsultaBD* tabela = m_dm.IBMedicos;
    auto segue = [this] {
        if (!m_editando)
            MostraRegistro();
    };
    connect(tabela, &ConsultaBD::LinhaMudou, this, segue);
    connect(tabela, &ConsultaBD::Aberta, this, segue);
    connect(tabela, &ConsultaBD::Fechada, this, segue);

    DesabilitaEdicao();
    setFixedSize(sizeHint().expandedTo(QSize(580, 0)));
}

TfrmCadastroMedicos::~TfrmCadastroMedicos() = default;

QList<QWidget*> TfrmCadastroMedicos::CamposEntrada() const
{
    return {dbeNome, dbeRG, dbeCPF, dbeCRM, drgSexo, drgEstadoCivil, dbeConjuge,
            dbeDataNascimento, dbeNaturalidade, dbcEstadoNaturalidade, dbePai, dbeMae,
            dbeRua, dbeComplemento, dbeBairro, dbeCidade, dbcEstado, dbeCep, dbeFone,
            dbeCelular};
}

void TfrmCadastroMedicos::HabilitaEdicao()
{
    for (QWidget* c : CamposEntrada())
        DefineEditavel(c, true);
}

void TfrmCadastroMedicos::DesabilitaEdicao()
{
    for (QWidget* c : CamposEntrada())
        DefineEditavel(c, false);
    // Leaving the edit drops the buffer: the fields show the table's row again.
    m_editando = false;
    Modo.clear();
    MostraRegistro();
}

void TfrmCadastroMedicos::LimparCampos()
{
    for (QWidget* c : CamposEntrada()) {
        if (auto* e = qobject_cast<QLineEdit*>(c))
            e->clear();
        else if (auto* l = qobject_cast<QComboBox*>(c))
            DefineTextoLista(l, QString());
        else if (auto* o = qobject_cast<TGrupoOpcoes*>(c))
            o->DefineItemIndex(-1);
    }
    dbtCodigo->clear();
}

int TfrmCadastroMedicos::CodigoAtual() const
{
    const ConsultaBD* t = m_dm.IBMedicos;
    return t->Ativa() && !t->Vazia() ? t->Inteiro(QStringLiteral("CODIGO")) : 0;
}

void TfrmCadastroMedicos::MostraRegistro()
{
    const ConsultaBD* t = m_dm.IBMedicos;
    if (!t->Ativa() || t->Vazia() || t->Linha() < 0) {
        LimparCampos();
        return;
    }
    auto texto = [t](const char* coluna) { return t->Texto(QString::fromLatin1(coluna)); };
    dbtCodigo->setText(QString::number(t->Inteiro(QStringLiteral("CODIGO"))));
    dbeNome->setText(texto("NOME"));
    dbeRG->setText(texto("RG"));
    dbeCPF->setText(texto("CPF"));
    dbeCRM->setText(texto("CRM"));
    drgSexo->DefineValor(texto("SEXO"));
    drgEstadoCivil->DefineValor(texto("ESTADOCIVIL"));
    dbeConjuge->setText(texto("CONJUGE"));
    dbeDataNascimento->setText(texto("DATANASCIMENTO"));
    dbeNaturalidade->setText(texto("NATURALIDADE"));
    DefineTextoLista(dbcEstadoNaturalidade, texto("NATURALIDADEESTADO"));
    dbePai->setText(texto("PAI"));
    dbeMae->setText(texto("MAE"));
    dbeRua->setText(texto("RUA"));
    dbeComplemento->setText(texto("COMPLEMENTO"));
    dbeBairro->setText(texto("BAIRRO"));
    dbeCidade->setText(texto("CIDADE"));
    DefineTextoLista(dbcEstado, texto("ESTADO"));
    dbeCep->setText(texto("CEP"));
    dbeFone->setText(texto("FONE"));
    dbeCelular->setText(texto("CELULAR"));
}

TDadosMedico TfrmCadastroMedicos::DadosDigitados() const
{
    TDadosMedico m;
    m.Nome = dbeNome->text();
    m.Rg = dbeRG->text();
    m.Cpf = dbeCPF->text();
    m.Crm = dbeCRM->text();
    m.Sexo = drgSexo->Valor();
    m.EstadoCivil = drgEstadoCivil->Valor();
    m.Conjuge = dbeConjuge->text();
    m.DataNascimento = dbeDataNascimento->text();
    m.Naturalidade = dbeNaturalidade->text();
    m.NaturalidadeEstado = TextoLista(dbcEstadoNaturalidade);
    m.Pai = dbePai->text();
    m.Mae = dbeMae->text();
    m.Rua = dbeRua->text();
    m.Complemento = dbeComplemento->text();
    m.Bairro = dbeBairro->text();
    m.Cidade = dbeCidade->text();
    m.Estado = TextoLista(dbcEstado);
    m.Cep = dbeCep->text();
    m.Fone = dbeFone->text();
    m.Celular = dbeCelular->text();
    return m;
}

bool TfrmCadastroMedicos::PosicionaCodigo(int codigo)
{
    ConsultaBD* t = m_dm.IBMedicos;
    if (!t->Ativa())
        t->Abre();
    return t->Localiza(QStringLiteral("CODIGO"), codigo);
}

bool TfrmCadastroMedicos::LocalizaNome(const QString& nome)
{
    ConsultaBD* t = m_dm.IBMedicos;
    if (!t->Ativa())
        t->Abre();
    t->BuscaTodas();
    for (int i = 0; i < t->LinhasBuscadas(); ++i)
        if (QString::compare(t->CampoDaLinha(i, QStringLiteral("NOME")).toString(), nome,
                             Qt::CaseInsensitive) == 0) {
            t->VaiPara(i);
            return true;
        }
    return false;
}

void TfrmCadastroMedicos::AtualizaContagem()
{
    const bool temMedicos = TDMedicos(m_dm).ContaMedicos() > 0;
    lblCodigo->setText(temMedicos ? QStringLiteral("Código:") : QStringLiteral("Nenhum médico cadastrado!!!"));
    dbtCodigo->setVisible(temMedicos);
    btnAlt->setEnabled(temMedicos);
    btnDel->setEnabled(temMedicos);
    btnPes->setEnabled(temMedicos);
}

void TfrmCadastroMedicos::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_mostrado) {
        m_mostrado = true;
        FormShow();
    }
}

void TfrmCadastroMedicos::FormShow()
{
    TDMedicos(m_dm).AbreTabelaMedicos(true);
    AtualizaContagem();
    for (QToolButton* b : {btnPRI, btnANT, btnPRO, btnULT, btnAdd})
        b->setEnabled(true);
    btnAtu->setEnabled(false);
    btnDel->setText(QStringLiteral("Excluir"));
    btnDel->setToolTip(kDicaExcluir);
    btnDel->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    if (!LocalizaNome(InfosZR.MedicoAtivo))
        m_dm.IBMedicos->Primeiro();
    MostraRegistro();
}

void TfrmCadastroMedicos::EntraEdicao(const QString& modo)
{
    Modo = modo;
    m_editando = true;
    for (QToolButton* b : {btnPes, btnPRI, btnANT, btnPRO, btnULT, btnAdd, btnAlt})
        b->setEnabled(false);
    btnDel->setText(QStringLiteral("Cancelar"));
    btnDel->setToolTip(kDicaCancelar);
    btnDel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    btnDel->setEnabled(true);
    btnAtu->setEnabled(true);
    HabilitaEdicao();
}

void TfrmCadastroMedicos::VoltaNavegacao()
{
    for (QToolButton* b : {btnPRI, btnANT, btnPRO, btnULT, btnAdd})
        b->setEnabled(true);
    btnDel->setText(QStringLiteral("Excluir"));
    btnDel->setToolTip(kDicaExcluir);
    btnDel->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btnAtu->setEnabled(false);
    DesabilitaEdicao();
}

void TfrmCadastroMedicos::sbtAddClick()
{
    EntraEdicao(QStringLiteral("Add"));
    dbtCodigo->setVisible(false);
    lblCodigo->setText(QStringLiteral("Adcionando um novo médico"));
    LimparCampos();
    drgSexo->DefineItemIndex(0);
    drgEstadoCivil->DefineItemIndex(1);
    pgcCadastro->setCurrentWidget(tshPessoal);
    dbeNome->setFocus();
}

void TfrmCadastroMedicos::sbtAlterarClick()
{
    if (CodigoAtual() == 0)
        return;
    EntraEdicao(QStringLiteral("Atualiza"));
}

bool TfrmCadastroMedicos::sbtAtualizarClick()
{
    if (!m_editando)
        return false;
    // A name of blanks only is no name: it would show as an empty entry of the doctor lists.
    if (dbeNome->text().trimmed().isEmpty()) {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Campo NOME é obrigatório!!!"),
                 IconeMensagem::Informacao);
        pgcCadastro->setCurrentWidget(tshPessoal);
        dbeNome->setFocus();
        return false;
    }
    const TDadosMedico dados = DadosDigitados();
    if (Modo == QLatin1String("Add")) {
        TDMedicos(m_dm).InsereMedico(dados);
        // The new doctor: among doctors whose names differ only in letter case, the one
        // added last.
        ConsultaBD* t = m_dm.IBMedicos;
        t->BuscaTodas();
        for (int i = t->LinhasBuscadas() - 1; i >= 0; --i)
            if (QString::compare(t->CampoDaLinha(i, QStringLiteral("NOME")).toString(), dados.Nome,
                                 Qt::CaseInsensitive) == 0) {
                t->VaiPara(i);
                break;
            }
        pgcCadastro->setCurrentWidget(tshPessoal);
        lblCodigo->setText(QStringLiteral("Código:"));
        dbtCodigo->setVisible(true);
    } else {
        const int codigo = CodigoAtual();
        TDMedicos(m_dm).AtualizaMedico(codigo, dados);
        PosicionaCodigo(codigo);
        pgcCadastro->setCurrentWidget(tshPessoal);
        dbeNome->setFocus();
    }
    VoltaNavegacao();
    AtualizaContagem();
    return true;
}

void TfrmCadastroMedicos::sbtDelClick()
{
    if (btnDel->text() == QLatin1String("Cancelar")) {
        // Nothing is written: the fields go back to the table's row.
        m_editando = false;
        AtualizaContagem();
        VoltaNavegacao();
        return;
    }
    const int codigo = CodigoAtual();
    if (codigo == 0)
        return;
    const QString nome = m_dm.IBMedicos->Texto(QStringLiteral("NOME"));
    if (TDExames(m_dm).ContaExamesMedico(codigo) > 0) {
        Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Não é possivel excluir o Dr(a) ") + nome +
                     QStringLiteral(".\nPara excluir é preciso excluir todos os pacientes vinculados."),
                 IconeMensagem::Pergunta, BotoesMensagem::Ok);
        return;
    }
    if (Mensagem(QStringLiteral("Informação"), QStringLiteral("Deseja excluir o médico ") + nome + QStringLiteral(" ?"),
                 IconeMensagem::Erro, BotoesMensagem::SimNao, PadraoMensagem::Nao) == RespostaMensagem::Sim)
        TDMedicos(m_dm).ExcluiMedico(codigo);
    DesabilitaEdicao();
    m_dm.IBMedicos->Reabre();
    MostraRegistro();
    if (TDMedicos(m_dm).ContaMedicos() == 0) {
        lblCodigo->setText(QStringLiteral("Nenhum médico cadastrado!!!"));
        dbtCodigo->setVisible(false);
        btnAlt->setEnabled(false);
        btnDel->setEnabled(false);
        btnPes->setEnabled(false);
    }
}

void TfrmCadastroMedicos::sbtFindClick() { AbreJanelaModal(new TfrmConsultaMedicos(this)); }

void TfrmCadastroMedicos::btnPRIClick() { m_dm.IBMedicos->Primeiro(); }
void TfrmCadastroMedicos::btnANTClick() { m_dm.IBMedicos->Anterior(); }
void TfrmCadastroMedicos::btnPROClick() { m_dm.IBMedicos->Proximo(); }
void TfrmCadastroMedicos::btnULTClick() { m_dm.IBMedicos->Ultimo(); }

bool TfrmCadastroMedicos::ConfirmaFechamento()
{
    if (m_liberado)
        return true;
    if (m_editando &&
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Deseja salvar as alterações?"),
                 IconeMensagem::Pergunta, BotoesMensagem::SimNao) == RespostaMensagem::Sim &&
        !sbtAtualizarClick())
        return false; // the save was refused: the typed data stays in the form
    m_editando = false;
    m_liberado = true;
    TDMedicos(m_dm).AbreTabelaMedicos(false);
    return true;
}

void TfrmCadastroMedicos::reject()
{
    if (ConfirmaFechamento())
        QDialog::reject();
}

void TfrmCadastroMedicos::closeEvent(QCloseEvent* evento)
{
    if (!ConfirmaFechamento()) {
        evento->ignore();
        return;
    }
    QDialog::closeEvent(evento);
}
