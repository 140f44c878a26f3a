#include "navigator/UfrmNovoPaciente.h"

#include "common/UFormatos.h"
#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UDPacientes.h"
#include "navigator/UCadastroNavegador.h"
#include "navigator/UNavegador.h"
#include "navigator/UfrmExames.h"
#include "navigator/UfrmNovoExame.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

// The search results with the grid's column titles and alignment.
class ModeloBuscaPac : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QString Coluna(int secao) const
    {
        return sourceModel() ? sourceModel()->headerData(secao, Qt::Horizontal).toString().toUpper() : QString();
    }
    QVariant headerData(int secao, Qt::Orientation o, int papel) const override
    {
        if (o == Qt::Horizontal && papel == Qt::DisplayRole) {
            const QString c = Coluna(secao);
            if (c == QStringLiteral("CODIGO"))
                return QStringLiteral("ID");
            if (c == QStringLiteral("TOTALEXAMES"))
                return QStringLiteral("QTD EXAMES");
            return c;
        }
        return QIdentityProxyModel::headerData(secao, o, papel);
    }
    QVariant data(const QModelIndex& i, int papel) const override
    {
        if (papel == Qt::TextAlignmentRole && Coluna(i.column()) == QStringLiteral("RG"))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QIdentityProxyModel::data(i, papel);
    }
};

TfrmNovoPaciente::TfrmNovoPaciente(TfrmExames& navegador, QWidget* pai) : QDialog(pai), m_nav(navegador)
{
    setObjectName(QStringLiteral("frmNovoPaciente"));
    setWindowTitle(QStringLiteral("Cadastro de Paciente"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(560, 420);
    setStyleSheet(QStringLiteral(
        "QDialog#frmNovoPaciente { background: #f4f7fb; }"
        "QLabel { color: #255a94; font-weight: bold; }"
        "QLineEdit { padding: 4px 6px; border: 1px solid #b8c5d6; border-radius: 3px; background: white; font-size: 13px; }"
        "QTableView { border: 1px solid #cfd8e4; selection-background-color: #2f6db0; selection-color: white;"
        " alternate-background-color: #f3f7fc; background: white; }"
        "QPushButton { padding: 5px 16px; }"));

    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(12, 12, 12, 12);
    l->addWidget(new QLabel(QStringLiteral("Nome do Paciente:"), this));
    edtNomePac = new QLineEdit(this);
    edtNomePac->setObjectName(QStringLiteral("edtNomePac"));
    edtNomePac->setMaxLength(50);
    edtNomePac->installEventFilter(this);
    l->addWidget(edtNomePac);
    l->addSpacing(6);
    l->addWidget(new QLabel(QStringLiteral("Pacientes já cadastrados:"), this));

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setAlternatingRowColors(true);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(21);
    DBGrid1->installEventFilter(this);
    m_modelo = new ModeloBuscaPac(this);
    m_modelo->setSourceModel(TDMPrincipal::Instancia().DSQueryBuscaPac());
    DBGrid1->setModel(m_modelo);
    l->addWidget(DBGrid1, 1);
    connect(DBGrid1, &QTableView::clicked, this, &TfrmNovoPaciente::DBGrid1CellClick);
    connect(DBGrid1, &QTableView::doubleClicked, this, &TfrmNovoPaciente::DBGrid1DblClick);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    sButton7 = new QPushButton(QStringLiteral("Continuar"), this);
    sButton7->setObjectName(QStringLiteral("sButton7"));
    sButton7->setToolTip(QStringLiteral("Continuar o cadastro do paciente"));
    sButton7->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("Continuar"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->hide();
    sButton1 = new QPushButton(QStringLiteral("Cancelar"), this);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setToolTip(QStringLiteral("Cancelar cadastro"));
    sButton1->setAutoDefault(false);
    botoes->addWidget(sButton7);
    botoes->addWidget(sButton1);
    l->addLayout(botoes);
    connect(sButton7, &QPushButton::clicked, this, &TfrmNovoPaciente::Button1Click);
    connect(Button1, &QPushButton::clicked, this, &TfrmNovoPaciente::Button1Click);
    connect(sButton1, &QPushButton::clicked, this, &TfrmNovoPaciente::sButton1Click);
}

TfrmNovoPaciente::~TfrmNovoPaciente() { m_modelo->setSourceModel(nullptr); }

void TfrmNovoPaciente::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_mostrado) {
        m_mostrado = true;
        FormShow();
    }
}

void TfrmNovoPaciente::FormShow()
{
    CarregaLista(QString());
    move(static_cast<int>(ArredondaInteiro((800 - width()) / 2.0)),
         static_cast<int>(ArredondaInteiro((600 - height()) / 2.0)));
    edtNomePac->setFocus();
}

void TfrmNovoPaciente::CarregaLista(const QString& nome)
{
    ConsultaBD& q = *TDMPrincipal::Instancia().IBQueryBuscaPac;
    q.Fecha();
    if (nome.isEmpty()) {
        q.DefineSQL(QStringLiteral("SELECT Codigo,Nome,Rg,TotalExames FROM Pacientes ORDER BY Nome COLLATE WIN_PTBR ASC"));
    } else {
        // The typed text is bound as the pattern, never joined into the statement; the
        // pattern is typed wider than the column, so a name of full length and its "%" fit.
        q.DefineSQL(QStringLiteral("SELECT Codigo,Nome,Rg,TotalExames FROM Pacientes WHERE Upper(nome) like "
                                   "CAST(:Padrao AS VARCHAR(255)) ORDER BY Nome COLLATE WIN_PTBR ASC"));
        q.DefineParametro(QStringLiteral("Padrao"), Navegador::PadraoNome(nome));
    }
    q.Abre();
    const int larguras[] = {50, 283, 85, 75};
    for (int c = 0; c < 4 && c < m_modelo->columnCount(); ++c)
        DBGrid1->setColumnWidth(c, larguras[c]);
}

void TfrmNovoPaciente::edtNomePacKeyUp() { CarregaLista(edtNomePac->text()); }

QString TfrmNovoPaciente::NomeDaLinha() const
{
    const QModelIndex atual = DBGrid1->currentIndex();
    if (!atual.isValid())
        return QString();
    const ConsultaBD& q = *TDMPrincipal::Instancia().IBQueryBuscaPac;
    return q.CampoDaLinha(atual.row(), QStringLiteral("NOME")).toString();
}

void TfrmNovoPaciente::DBGrid1CellClick()
{
    if (DBGrid1->currentIndex().isValid())
        edtNomePac->setText(NomeDaLinha());
}

void TfrmNovoPaciente::AbreNovoExame()
{
    if (TfrmExames::Ligacoes().NovoExame)
        TfrmExames::Ligacoes().NovoExame(m_nav, false);
    else
        AbreJanelaModal(new TfrmNovoExame(m_nav, false, &m_nav));
}

void TfrmNovoPaciente::DBGrid1DblClick()
{
    if (!DBGrid1->currentIndex().isValid())
        return;
    // The picked row by its code: another patient's name may begin with this one.
    const int codigo = TDMPrincipal::Instancia().IBQueryBuscaPac->CampoDaLinha(DBGrid1->currentIndex().row(),
                                                                               QStringLiteral("CODIGO")).toInt();
    m_nav.MostraPacienteCodigo(codigo, Navegador::kTodos);
    close();
    if (InfosZR.AutoExame)
        AbreNovoExame();
}

void TfrmNovoPaciente::Button1Click()
{
    const QString nome = edtNomePac->text();
    if (nome.isEmpty()) {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Digite o nome do Paciente!!!"), IconeMensagem::Informacao);
        edtNomePac->setFocus();
        return;
    }
    TDPacientes pacientes;
    bool gravado = false;
    if (pacientes.CodigoPaciente(nome) != 0) {
        m_nav.MostraPaciente(nome, m_nav.CBMedicos->count() < 2 ? m_nav.FiltroMedico() : Navegador::kTodos);
    } else {
        const int antes = pacientes.ContaPacientes();
        CadastroIncluiPaciente(this, nome, m_nav.FiltroMedico());
        const int depois = pacientes.ContaPacientes();
        if (depois > antes) {
            gravado = true;
            m_nav.CarregaMedicos();
            m_nav.MostraPaciente(CadastroUltimoPaciente(), Navegador::kSemExames);
        }
    }
    close();
    if (InfosZR.AutoExame && gravado)
        AbreNovoExame();
}

void TfrmNovoPaciente::sButton1Click() { close(); }

void TfrmNovoPaciente::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(evento);
}

bool TfrmNovoPaciente::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Escape &&
        (objeto == edtNomePac || objeto == DBGrid1)) {
        close();
        return true;
    }
    if (objeto == edtNomePac && evento->type() == QEvent::KeyRelease)
        edtNomePacKeyUp();
    return QDialog::eventFilter(objeto, evento);
}
