#include "registry/UfrmCadastroPacientes.h"

#include "data/UConsultaBD.h"
#include "data/UDMPrincipal.h"
#include "data/UDPacientes.h"
#include "platform/UAjuda.h"
#include "platform/UMensagens.h"
#include "registry/UCamposCadastro.h"
#include "registry/UGrupoOpcoes.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace cadastro;

namespace {
QString g_ultimoPaciente;

// A name made only of blanks is no name.
bool NomeVazio(const QString& nome) { return nome.trimmed().isEmpty(); }
} // namespace

QString TfrmCadastroPacientes::UltimoPacienteAdicionado() { return g_ultimoPaciente; }

QStringList TfrmCadastroPacientes::Estados() { return cadastro::Estados(); }

QStringList TfrmCadastroPacientes::TiposSanguineos()
{
    return {QStringLiteral("AB+"), QStringLiteral("A+"), QStringLiteral("B+"), QStringLiteral("O+"),
            QStringLiteral("AB-"), QStringLiteral("A-"), QStringLiteral("B-"), QStringLiteral("O-")};
}

TfrmCadastroPacientes::TfrmCadastroPacientes(QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmCadastroPacientes"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Cadastro de Pacientes"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setStyleSheet(EstiloCadastro());
    DefineContextoAjuda(this, 6);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(10, 10, 10, 10);
    principal->setSpacing(8);

    // Code line above the tabs.
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

    // Personal data.
    tshPessoal = new QWidget;
    tshPessoal->setObjectName(QStringLiteral("tshPessoal"));
    auto* g = new QGridLayout(tshPessoal);
    g->setContentsMargins(12, 12, 12, 12);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(7);
    dbeNome = CriaTexto(tshPessoal, "dbeNome", 50);
    dbeRG = CriaTexto(tshPessoal, "dbeRG", 15);
    dbeCPF = CriaTexto(tshPessoal, "dbeCPF", 11);
    drgSexo = new TGrupoOpcoes(QString(), {QStringLiteral("Masculino"), QStringLiteral("Feminino")},
                               {QStringLiteral("M"), QStringLiteral("F")}, tshPessoal);
    drgSexo->setObjectName(QStringLiteral("drgSexo"));
    dbeDataNascimento = CriaTexto(tshPessoal, "dbeDataNascimento", 10);
    drgEstadoCivil = new TGrupoOpcoes(
        QString(), {QStringLiteral("Casado(a)"), QStringLiteral("Solteiro(a)"), QStringLiteral("Divorciado(a)")},
        {QStringLiteral("C"), QStringLiteral("S"), QStringLiteral("D")}, tshPessoal);
    drgEstadoCivil->setObjectName(QStringLiteral("drgEstadoCivil"));
    dbeConjuge = CriaTexto(tshPessoal, "dbeConjuge", 25);
    dbeNaturalidade = CriaTexto(tshPessoal, "dbeNaturalidade", 40);
    dbcEstadoNaturalidade = CriaLista(tshPessoal, "dbcEstadoNaturalidade", Estados(), false, 2);
    dbePai = CriaTexto(tshPessoal, "dbePai", 50);
    dbeMae = CriaTexto(tshPessoal, "dbeMae", 50);
    dbeProfissao = CriaTexto(tshPessoal, "dbeProfissao", 40);
    dbeConvenio = CriaTexto(tshPessoal, "dbeConvenio", 50);
    dbcTipoSang = CriaLista(tshPessoal, "dbcTipoSang", TiposSanguineos(), false, 3);

    int l = 0;
    Rotulo(g, QStringLiteral("Nome:"), dbeNome, l, 0);
    g->addWidget(dbeNome, l++, 1, 1, 3);
    Rotulo(g, QStringLiteral("RG:"), dbeRG, l, 0);
    g->addWidget(dbeRG, l, 1);
    Rotulo(g, QStringLiteral("CPF:"), dbeCPF, l, 2);
    g->addWidget(dbeCPF, l++, 3);
    Rotulo(g, QStringLiteral("Data Nascto.:"), dbeDataNascimento, l, 0);
    g->addWidget(dbeDataNascimento, l, 1);
    Rotulo(g, QStringLiteral("Tipo Sanguineo:"), dbcTipoSang, l, 2);
    g->addWidget(dbcTipoSang, l++, 3);
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
    Rotulo(g, QStringLiteral("Profissão:"), dbeProfissao, l, 0);
    g->addWidget(dbeProfissao, l++, 1, 1, 3);
    Rotulo(g, QStringLiteral("Convênio:"), dbeConvenio, l, 0);
    g->addWidget(dbeConvenio, l++, 1, 1, 3);
    g->setRowStretch(l, 1);
    g->setColumnStretch(1, 3);
    g->setColumnStretch(3, 2);
    g->setColumnMinimumWidth(1, 150);
    g->setColumnMinimumWidth(3, 110);
    OrdemDeLeitura(g);
    pgcCadastro->addTab(tshPessoal, QStringLiteral("Informações Pessoais"));

    // Address.
    const AbaEndereco endereco = CriaAbaEndereco(Estados(), false, "dbeCEP");
    tshResidencial = endereco.aba;
    dbeRua = endereco.rua;
    dbeComplemento = endereco.complemento;
    dbeBairro = endereco.bairro;
    dbeCidade = endereco.cidade;
    dbcEstado = endereco.estado;
    dbeCEP = endereco.cep;
    dbeFone = endereco.fone;
    dbeCelular = endereco.celular;
    pgcCadastro->addTab(tshResidencial, QStringLiteral("Informações Residenciais"));

    // Buttons.
    auto* botoes = new QHBoxLayout;
    btnAJU = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("Ajuda"), this);
    btnAJU->setObjectName(QStringLiteral("btnAJU"));
    btnAJU->setToolTip(QStringLiteral("Ajuda sobre o Cadastro de Pacientes"));
    btnAJU->setAutoDefault(false);
    btnCON = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    btnCON->setObjectName(QStringLiteral("btnCON"));
    btnCON->setToolTip(QStringLiteral("Confirmar os dados informados"));
    btnCON->setAutoDefault(false);
    btnCAN = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancelar"), this);
    btnCAN->setObjectName(QStringLiteral("btnCAN"));
    btnCAN->setToolTip(QStringLiteral("Cancelar alteração do registro"));
    btnCAN->setAutoDefault(false);
    for (QPushButton* b : {btnAJU, btnCON, btnCAN})
        b->setMinimumWidth(96);
    botoes->addWidget(btnAJU);
    botoes->addStretch(1);
    botoes->addWidget(btnCON);
    botoes->addWidget(btnCAN);
    principal->addLayout(botoes);

    sbtOk = new QPushButton(this);
    sbtOk->setObjectName(QStringLiteral("sbtOk"));
    sbtCancelar = new QPushButton(this);
    sbtCancelar->setObjectName(QStringLiteral("sbtCancelar"));
    SpeedButton3 = new QPushButton(this);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    for (QPushButton* b : {sbtOk, sbtCancelar, SpeedButton3}) {
        b->setVisible(false);
        b->setAutoDefault(false);
    }

    connect(btnCON, &QPushButton::clicked, this, &TfrmCadastroPacientes::sbtOkClick);
    connect(sbtOk, &QPushButton::clicked, this, &TfrmCadastroPacientes::sbtOkClick);
    connect(btnCAN, &QPushButton::clicked, this, &TfrmCadastroPacientes::sbtCancelarClick);
    connect(sbtCancelar, &QPushButton::clicked, this, &TfrmCadastroPacientes::sbtCancelarClick);
    connect(btnAJU, &QPushButton::clicked, this, &TfrmCadastroPacientes::SpeedButton3Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TfrmCadastroPacientes::SpeedButton3Click);

    DesabilitaEdicao();
    setFixedSize(sizeHint().expandedTo(QSize(540, 0)));
}

TfrmCadastroPacientes::~TfrmCadastroPacientes() = default;

QList<QWidget*> TfrmCadastroPacientes::CamposEntrada() const
{
    return {dbeNome, dbeRG, dbeCPF, drgSexo, dbeDataNascimento, drgEstadoCivil, dbeConjuge,
            dbeNaturalidade, dbcEstadoNaturalidade, dbePai, dbeMae, dbeProfissao, dbeConvenio,
            dbcTipoSang, dbeRua, dbeComplemento, dbeBairro, dbeCidade, dbcEstado, dbeCEP,
            dbeFone, dbeCelular};
}

void TfrmCadastroPacientes::HabilitaEdicao()
{
    for (QWidget* c : CamposEntrada())
        DefineEditavel(c, true);
}

void TfrmCadastroPacientes::DesabilitaEdicao()
{
    for (QWidget* c : CamposEntrada())
        DefineEditavel(c, false);
}

void TfrmCadastroPacientes::LimparCampos()
{
    for (QWidget* c : CamposEntrada()) {
        if (auto* e = qobject_cast<QLineEdit*>(c))
            e->clear();
        else if (auto* l = qobject_cast<QComboBox*>(c))
            l->setCurrentIndex(-1);
        else if (auto* o = qobject_cast<TGrupoOpcoes*>(c))
            o->DefineItemIndex(-1);
    }
    dbtCodigo->clear();
}

void TfrmCadastroPacientes::PreparaInclusao(const QString& nome)
{
    Modo = QStringLiteral("Add");
    m_codigo = 0;
    m_nomeGravado.clear();
    HabilitaEdicao();
    lblCodigo->setText(QStringLiteral("Adcionando um novo paciente"));
    dbtCodigo->setVisible(false);
    LimparCampos();
    drgSexo->DefineItemIndex(0);
    drgEstadoCivil->DefineItemIndex(1);
    dbeNome->setText(nome);
}

bool TfrmCadastroPacientes::PreparaAlteracao(int codigo)
{
    ConsultaBD registro(TDMPrincipal::Instancia(), QStringLiteral("CadastroPaciente"),
                        QStringLiteral("select * from PACIENTES where CODIGO = :Codigo"));
    registro.DefineParametro(QStringLiteral("Codigo"), codigo);
    registro.Abre();
    if (registro.Vazia())
        return false;
    Modo = QStringLiteral("Atualiza");
    m_codigo = codigo;
    m_nomeGravado = registro.Texto(QStringLiteral("NOME"));
    dbeNome->setText(m_nomeGravado);
    dbeRG->setText(registro.Texto(QStringLiteral("RG")));
    dbeCPF->setText(registro.Texto(QStringLiteral("CPF")));
    drgSexo->DefineValor(registro.Texto(QStringLiteral("SEXO")));
    dbeDataNascimento->setText(registro.Texto(QStringLiteral("DATANASCIMENTO")));
    drgEstadoCivil->DefineValor(registro.Texto(QStringLiteral("ESTADOCIVIL")));
    dbeConjuge->setText(registro.Texto(QStringLiteral("CONJUGE")));
    dbeNaturalidade->setText(registro.Texto(QStringLiteral("NATURALIDADE")));
    DefineTextoLista(dbcEstadoNaturalidade, registro.Texto(QStringLiteral("NATURALIDADEESTADO")));
    dbePai->setText(registro.Texto(QStringLiteral("PAI")));
    dbeMae->setText(registro.Texto(QStringLiteral("MAE")));
    dbeProfissao->setText(registro.Texto(QStringLiteral("PROFISSAO")));
    dbeConvenio->setText(registro.Texto(QStringLiteral("CONVENIO")));
    DefineTextoLista(dbcTipoSang, registro.Texto(QStringLiteral("TIPOSANG")));
    dbeRua->setText(registro.Texto(QStringLiteral("RUA")));
    dbeComplemento->setText(registro.Texto(QStringLiteral("COMPLEMENTO")));
    dbeBairro->setText(registro.Texto(QStringLiteral("BAIRRO")));
    dbeCidade->setText(registro.Texto(QStringLiteral("CIDADE")));
    DefineTextoLista(dbcEstado, registro.Texto(QStringLiteral("ESTADO")));
    dbeCEP->setText(registro.Texto(QStringLiteral("CEP")));
    dbeFone->setText(registro.Texto(QStringLiteral("FONE")));
    dbeCelular->setText(registro.Texto(QStringLiteral("CELULAR")));
    dbtCodigo->setText(QString::number(codigo));
    dbtCodigo->setVisible(true);
    lblCodigo->setText(QStringLiteral("Código:"));
    registro.Fecha();
    HabilitaEdicao();
    return true;
}

void TfrmCadastroPacientes::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (dbeNome->text().isEmpty())
        dbeNome->setFocus();
    else
        dbeRG->setFocus();
}

void TfrmCadastroPacientes::sbtOkClick()
{
    TDadosPaciente p;
    p.Nome = dbeNome->text();
    p.Rg = dbeRG->text();
    p.Cpf = dbeCPF->text();
    p.Sexo = drgSexo->Valor();
    p.EstadoCivil = drgEstadoCivil->Valor();
    p.Conjuge = dbeConjuge->text();
    p.DataNascimento = dbeDataNascimento->text();
    p.Naturalidade = dbeNaturalidade->text();
    p.NaturalidadeEstado = TextoLista(dbcEstadoNaturalidade);
    p.Pai = dbePai->text();
    p.Mae = dbeMae->text();
    p.Rua = dbeRua->text();
    p.Complemento = dbeComplemento->text();
    p.Bairro = dbeBairro->text();
    p.Cidade = dbeCidade->text();
    p.Estado = TextoLista(dbcEstado);
    p.Cep = dbeCEP->text();
    p.Fone = dbeFone->text();
    p.Celular = dbeCelular->text();
    p.Convenio = dbeConvenio->text();
    p.Profissao = dbeProfissao->text();
    p.TipoSang = TextoLista(dbcTipoSang);

    TDMPrincipal& dm = TDMPrincipal::Instancia();
    if (Modo == QLatin1String("Add")) {
        if (NomeVazio(p.Nome)) {
            Mensagem(QStringLiteral("Atenção"), QStringLiteral("Digite o nome do paciente ..."),
                     IconeMensagem::Informacao);
            dbeNome->setFocus();
            return;
        }
        // The commit reopens the tables and the navigator's patient list, which then
        // lists the new patient.
        TDPacientes(dm).InserePaciente(p, QDate::currentDate(), 0);
        g_ultimoPaciente = p.Nome;
        lblCodigo->setText(QStringLiteral("Código:"));
        dbtCodigo->setVisible(true);
    } else if (Modo == QLatin1String("Atualiza")) {
        // The name can be changed but not removed.
        if (NomeVazio(p.Nome))
            p.Nome = m_nomeGravado;
        TDPacientes(dm).AtualizaPaciente(m_codigo, p);
    } else {
        return;
    }
    DesabilitaEdicao();
    accept();
}

void TfrmCadastroPacientes::sbtCancelarClick()
{
    // The fields are only a buffer: dropping them writes nothing.
    DesabilitaEdicao();
    reject();
}

void TfrmCadastroPacientes::SpeedButton3Click() { AbreAjuda(ContextoAjuda(this)); }
