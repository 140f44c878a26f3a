#include "registry/UfrmConsultaMedicos.h"

#include "data/UDMPrincipal.h"
#include "examfiles/UArquivosExame.h"
#include "registry/UfrmCadastroMedicos.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrmConsultaMedicos::TfrmConsultaMedicos(TfrmCadastroMedicos* cadastro)
    : QDialog(cadastro), m_cadastro(cadastro)
{
    setObjectName(QStringLiteral("frmConsultaMedicos"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Assistente de Consulta"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setStyleSheet(QStringLiteral(
        "QDialog { background: #f4f7fa; }"
        "QLineEdit { min-height: 22px; padding: 0 4px; border: 1px solid #a9b8c8;"
        " border-radius: 3px; background: #ffffff; }"
        "QLineEdit:focus { border-color: #3d8fd1; }"
        "QGroupBox { border: 1px solid #c9d5e1; border-radius: 3px; margin-top: 18px;"
        " padding: 6px 4px 2px 4px; background: #ffffff; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; top: 2px; padding: 0 2px; }"
        "QTreeWidget { border: 1px solid #b8c7d6; background: #ffffff;"
        " alternate-background-color: #f2f6fa; }"));

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(10, 10, 10, 10);
    principal->setSpacing(8);

    rgrMedicos = new QGroupBox(QStringLiteral("Consultar por:"), this);
    rgrMedicos->setObjectName(QStringLiteral("rgrMedicos"));
    rgrMedicos->setToolTip(QStringLiteral("Escolha o tipo de pesquisa"));
    grupoCriterio = new QButtonGroup(this);
    auto* gc = new QGridLayout(rgrMedicos);
    gc->setHorizontalSpacing(24);
    const QStringList itens = {QStringLiteral("Nome"), QStringLiteral("RG"), QStringLiteral("CPF"),
                               QStringLiteral("CRM")};
    for (int i = 0; i < itens.size(); ++i) {
        auto* b = new QRadioButton(itens[i], rgrMedicos);
        grupoCriterio->addButton(b, i);
        // Two columns, filled down the first column first.
        gc->addWidget(b, i % 2, i / 2);
    }
    gc->setColumnStretch(2, 1);
    grupoCriterio->button(Nome)->setChecked(true);
    principal->addWidget(rgrMedicos);

    auto* linha = new QHBoxLayout;
    auto* rotulo = new QLabel(QStringLiteral("Pesquisa:"), this);
    edtPesquisa = new QLineEdit(this);
    edtPesquisa->setObjectName(QStringLiteral("edtPesquisa"));
    edtPesquisa->setToolTip(QStringLiteral("Digite o que deseja pesquisar"));
    // No column searched is longer than a name: a longer text can match nothing.
    edtPesquisa->setMaxLength(50);
    rotulo->setBuddy(edtPesquisa);
    btnLOC = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                             QStringLiteral("Localizar"), this);
    btnLOC->setObjectName(QStringLiteral("btnLOC"));
    btnLOC->setToolTip(QStringLiteral("Localizar cadastro"));
    btnLOC->setEnabled(false);
    btnLOC->setDefault(true);
    linha->addWidget(rotulo);
    linha->addWidget(edtPesquisa, 1);
    linha->addWidget(btnLOC);
    principal->addLayout(linha);

    lswResultado = new QTreeWidget(this);
    lswResultado->setObjectName(QStringLiteral("lswResultado"));
    lswResultado->setColumnCount(2);
    lswResultado->setHeaderLabels({QStringLiteral("Código"), QStringLiteral("Nome")});
    lswResultado->setRootIsDecorated(false);
    lswResultado->setSelectionBehavior(QAbstractItemView::SelectRows);
    lswResultado->setSelectionMode(QAbstractItemView::SingleSelection);
    lswResultado->setAlternatingRowColors(true);
    lswResultado->setUniformRowHeights(true);
    lswResultado->setColumnWidth(0, 70);
    lswResultado->header()->setStretchLastSection(true);
    lswResultado->setMinimumHeight(200);
    principal->addWidget(lswResultado, 1);

    auto* rodape = new QHBoxLayout;
    btnFEC = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                             QStringLiteral("Fechar"), this);
    btnFEC->setObjectName(QStringLiteral("btnFEC"));
    btnFEC->setToolTip(QStringLiteral("Fechar tela de pesquisa"));
    btnFEC->setAutoDefault(false);
    btnFEC->setMinimumWidth(96);
    btnLOC->setMinimumWidth(96);
    rodape->addStretch(1);
    rodape->addWidget(btnFEC);
    principal->addLayout(rodape);

    connect(edtPesquisa, &QLineEdit::textChanged, this,
            [this](const QString& t) { btnLOC->setEnabled(!t.isEmpty()); });
    connect(grupoCriterio, &QButtonGroup::idClicked, this, [this] { edtPesquisa->setFocus(); });
    connect(btnLOC, &QPushButton::clicked, this, &TfrmConsultaMedicos::btnConsultarClick);
    connect(btnFEC, &QPushButton::clicked, this, &QDialog::reject);
    connect(lswResultado, &QTreeWidget::itemDoubleClicked, this,
            &TfrmConsultaMedicos::lswResultadoDblClick);

    resize(440, 380);
}

int TfrmConsultaMedicos::CriterioEscolhido() const { return grupoCriterio->checkedId(); }

void TfrmConsultaMedicos::EscolheCriterio(int criterio)
{
    if (QAbstractButton* b = grupoCriterio->button(criterio)) {
        b->setChecked(true);
        edtPesquisa->setFocus();
    }
}

QString TfrmConsultaMedicos::InstrucaoConsulta(int criterio)
{
    static const char* const colunas[] = {"nome", "rg", "cpf", "crm"};
    const char* coluna = colunas[criterio >= 0 && criterio <= 3 ? criterio : 0];
    // The typed text is a parameter, never part of the statement: an apostrophe in a name
    // is searched like any other character. The pattern is typed wider than the column, so
    // a value of full length and its "%" fit.
    return QStringLiteral("SELECT Codigo,Nome FROM Medicos WHERE Upper(") + QLatin1String(coluna) +
           QStringLiteral(") like CAST(:Pesquisa AS VARCHAR(255)) ORDER BY Nome COLLATE WIN_PTBR ASC");
}

QString TfrmConsultaMedicos::PadraoConsulta(const QString& texto)
{
    return QLatin1Char('%') + MaiusculasAcentuadas(texto) + QLatin1Char('%');
}

void TfrmConsultaMedicos::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    edtPesquisa->setFocus();
}

void TfrmConsultaMedicos::btnConsultarClick()
{
    lswResultado->clear();
    // A dataset of its own: the lookup leaves the data module's shared doctor query as the
    // other forms set it.
    ConsultaBD consulta(TDMPrincipal::Instancia(), QStringLiteral("ConsultaMedicos"),
                        InstrucaoConsulta(CriterioEscolhido()));
    ConsultaBD* q = &consulta;
    q->DefineParametro(QStringLiteral("Pesquisa"), PadraoConsulta(edtPesquisa->text()));
    q->Abre();
    q->BuscaTodas();
    QList<QTreeWidgetItem*> itens;
    for (int i = 0; i < q->LinhasBuscadas(); ++i) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::number(q->CampoDaLinha(i, QStringLiteral("CODIGO")).toLongLong()));
        item->setText(1, q->CampoDaLinha(i, QStringLiteral("NOME")).toString());
        itens << item;
    }
    q->Fecha();
    lswResultado->addTopLevelItems(itens);
}

void TfrmConsultaMedicos::lswResultadoDblClick()
{
    QTreeWidgetItem* item = lswResultado->currentItem();
    if (!item || !item->isSelected())
        return;
    if (m_cadastro)
        m_cadastro->PosicionaCodigo(item->text(0).toInt());
    accept();
}
