// The navigator's patient search panel: it takes the place of the examination list while
// the "Localizar" toggle is down, finds patients by name, code or identity number and by
// the code, diagnosis or observation of one of their examinations, and brings the chosen
// patient (and the examination that matched) into the navigator.

#include "navigator/UfrmExames.h"

#include "common/UErros.h"
#include "config/UBIniSettings.h"
#include "data/UDMPrincipal.h"
#include "navigator/UBuscaPacientes.h"
#include "navigator/UNavegador.h"
#include "navigator/UfrmDica.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace BuscaPacientes;

namespace {

ConsultaBD& Busca() { return *TDMPrincipal::Instancia().IBQueryBuscaPac; }

// The search doctor combo in window colour while it applies, in menu colour otherwise.
const char* const kCorAtiva = "QComboBox#CbFind { background: #ffffff; }";
const char* const kCorInativa = "QComboBox#CbFind { background: #f0f0f0; color: #7a8594; }";

} // namespace

void TfrmExames::MontaBusca(QWidget* pai)
{
    pnlFindPac = new QFrame(pai);
    pnlFindPac->setObjectName(QStringLiteral("pnlFindPac"));
    pnlFindPac->hide();
    auto* l = new QVBoxLayout(pnlFindPac);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(6);
    auto* titulo = new QLabel(QStringLiteral("Localizar Paciente"), pnlFindPac);
    titulo->setObjectName(QStringLiteral("lblFindPac"));
    titulo->setStyleSheet(QStringLiteral("color: #255a94; font-weight: bold;"));
    l->addWidget(titulo);

    rgpPaciente = new QGroupBox(QStringLiteral("Consultar por"), pnlFindPac);
    rgpPaciente->setObjectName(QStringLiteral("rgpPaciente"));
    auto* tipos = new QGridLayout(rgpPaciente);
    tipos->setContentsMargins(8, 12, 8, 6);
    m_tiposBusca = new QButtonGroup(this);
    const QStringList legendas = LegendasTipos();
    for (int i = 0; i < legendas.size(); ++i) {
        auto* r = new QRadioButton(legendas[i], rgpPaciente);
        r->setObjectName(QStringLiteral("rgpPaciente%1").arg(i));
        m_tiposBusca->addButton(r, i);
        tipos->addWidget(r, i / 4, i % 4);
        r->installEventFilter(this);
    }
    l->addWidget(rgpPaciente);
    connect(m_tiposBusca, &QButtonGroup::idClicked, this, &TfrmExames::rgpPacienteClick);

    auto* linhaMedico = new QHBoxLayout;
    CbFind = new QComboBox(pnlFindPac);
    CbFind->setObjectName(QStringLiteral("CbFind"));
    CbFind->setMinimumWidth(260);
    CbFind->installEventFilter(this);
    lblCbFind = new QLabel(QStringLiteral("(Médico responsável)"), pnlFindPac);
    lblCbFind->setObjectName(QStringLiteral("lblCbFind"));
    linhaMedico->addWidget(CbFind);
    linhaMedico->addWidget(lblCbFind);
    linhaMedico->addStretch();
    l->addLayout(linhaMedico);
    connect(CbFind, &QComboBox::activated, this, &TfrmExames::CbFindChange);

    auto* linhaTexto = new QHBoxLayout;
    edtFind = new QLineEdit(pnlFindPac);
    edtFind->setObjectName(QStringLiteral("edtFind"));
    edtFind->installEventFilter(this);
    btnLocPac = new QPushButton(QStringLiteral("&Localizar"), pnlFindPac);
    btnLocPac->setObjectName(QStringLiteral("btnLocPac"));
    btnLocPac->setAutoDefault(false);
    btnLocPac->installEventFilter(this);
    linhaTexto->addWidget(edtFind, 1);
    linhaTexto->addWidget(btnLocPac);
    l->addLayout(linhaTexto);
    connect(edtFind, &QLineEdit::textChanged, this, &TfrmExames::edtFindChange);
    connect(btnLocPac, &QPushButton::clicked, this, &TfrmExames::btnLocPac1Click);

    dbGridPacLoc = new QTableView(pnlFindPac);
    dbGridPacLoc->setObjectName(QStringLiteral("dbGridPacLoc"));
    dbGridPacLoc->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbGridPacLoc->setSelectionMode(QAbstractItemView::SingleSelection);
    dbGridPacLoc->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbGridPacLoc->setAlternatingRowColors(true);
    dbGridPacLoc->verticalHeader()->hide();
    dbGridPacLoc->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbGridPacLoc->verticalHeader()->setDefaultSectionSize(21);
    dbGridPacLoc->installEventFilter(this);
    dbGridPacLoc->viewport()->installEventFilter(this);
    // Rows are fetched as the grid scrolls, like the patient grid.
    dbGridPacLoc->setModel(TDMPrincipal::Instancia().DSQueryBuscaPac());
    connect(&Busca(), &ConsultaBD::Aberta, this, &TfrmExames::AjustaColunasBusca);
    connect(dbGridPacLoc, &QTableView::doubleClicked, this, &TfrmExames::dbGridPacLocDblClick);
    l->addWidget(dbGridPacLoc, 1);

    auto* rodape = new QHBoxLayout;
    cbDicas = new QCheckBox(QStringLiteral("&Mostrar aviso ao carregar busca de pacientes/exames"), pnlFindPac);
    cbDicas->setObjectName(QStringLiteral("cbDicas"));
    btnLocDBGrid = new QPushButton(QStringLiteral("&Ver paciente"), pnlFindPac);
    btnLocDBGrid->setObjectName(QStringLiteral("btnLocDBGrid"));
    btnLocDBGrid->setAutoDefault(false);
    rodape->addWidget(cbDicas);
    rodape->addStretch();
    rodape->addWidget(btnLocDBGrid);
    l->addLayout(rodape);
    connect(btnLocDBGrid, &QPushButton::clicked, this, &TfrmExames::btnLocDBGrid1Click);

    connect(tbLocPacExam, &QToolButton::toggled, this, &TfrmExames::tbLocPacExamClick);
    connect(sBitBtn1, &QToolButton::clicked, this, &TfrmExames::bbtnBuscaAvClick);
}

int TfrmExames::TipoBusca() const { return m_tiposBusca->checkedId(); }

void TfrmExames::DefineTipoBusca(int tipo)
{
    if (QAbstractButton* b = m_tiposBusca->button(tipo))
        b->setChecked(true);
}

bool TfrmExames::BuscaAberta() const { return pnlFindPac->isVisibleTo(this); }

void TfrmExames::AjustaColunasBusca()
{
    ConsultaBD& q = Busca();
    const QStringList colunas = q.Colunas();
    for (int c = 0; c < colunas.size(); ++c) {
        const QString nome = colunas[c].toUpper();
        const int largura = nome == QStringLiteral("CODIGO") ? 63
                            : nome == QStringLiteral("NOME") ? 386
                            : nome == QStringLiteral("RG")   ? 110
                                                             : 0;
        dbGridPacLoc->setColumnHidden(c, largura == 0);
        if (largura > 0)
            dbGridPacLoc->setColumnWidth(c, largura);
    }
}

void TfrmExames::bbtnBuscaAvClick()
{
    edtFindGrid->clear();
    if (!tbLocPacExam->isChecked())
        tbLocPacExam->setChecked(true);
    else
        edtFind->setFocus();
}

void TfrmExames::tbLocPacExamClick()
{
    if (tbLocPacExam->isChecked())
        AbreBusca();
    else
        FechaBusca();
}

void TfrmExames::AbreBusca()
{
    if (BuscaAberta())
        return;
    cbDicas->setChecked(false);
    btnLocDBGrid->setEnabled(false);
    btnLocPac->setEnabled(false);
    TBIniSettings ini;
    ini.SelectFile(3);
    if (ini.ReadValue(ini.FileName(), TipoValorIni::Bool, QStringLiteral("OPCOES"), QStringLiteral("DICAS")) ==
        QStringLiteral("True")) {
        cbDicas->setChecked(true);
        AbreJanelaModal(new TfrmDica(this));
    }
    for (QToolButton* b : {tbtCadPaciente, tbNovoExame1, tbNovoExame2, tbExameOrto1, tbExameOrto2,
                           tbtAlterarPaciente, tbtExcluirPaciente})
        b->setEnabled(false);

    findChild<QWidget*>(QStringLiteral("pnlLista"))->hide();
    pnlFindPac->show();
    CbFind->setEnabled(true);
    lblCbFind->setEnabled(true);
    CbFind->setStyleSheet(QString::fromLatin1(kCorAtiva));
    CbFind->clear();
    for (int i = 0; i < CBMedicos->count(); ++i)
        CbFind->addItem(CBMedicos->itemText(i));
    CbFind->setCurrentIndex(CbFind->findText(Navegador::kTodos));
    DefineTipoBusca(PrimeiroNome);
    {
        QSignalBlocker b(edtFind);
        edtFind->clear();
    }
    edtFind->setFocus();
    CarregaBuscaPacientes();
}

void TfrmExames::FechaBusca()
{
    if (!BuscaAberta())
        return;
    try {
        TBIniSettings ini;
        ini.SelectFile(3);
        ini.WriteValue(TipoValorIni::Bool, QStringLiteral("OPCOES"), QStringLiteral("DICAS"), cbDicas->isChecked(),
                       QString());
    } catch (const ErroSistema& e) {
        Mensagem(QStringLiteral("Erro"), e.Mensagem(), IconeMensagem::Erro);
    }
    pnlFindPac->hide();
    findChild<QWidget*>(QStringLiteral("pnlLista"))->show();
    for (QToolButton* b : {tbtCadPaciente, tbNovoExame1, tbNovoExame2, tbExameOrto1, tbExameOrto2})
        b->setEnabled(true);
    // Edit and delete need a patient.
    const bool temPaciente = Pacientes().Ativa() && !Pacientes().Vazia();
    tbtAlterarPaciente->setEnabled(temPaciente);
    tbtExcluirPaciente->setEnabled(temPaciente);
}

void TfrmExames::CarregaBuscaPacientes() { BuscaPacientes::CarregaBusca(TDMPrincipal::Instancia(), CbFind->currentText()); }

void TfrmExames::CbFindChange() { CarregaBuscaPacientes(); }

void TfrmExames::rgpPacienteClick()
{
    const int tipo = TipoBusca();
    const bool porNome = tipo == PrimeiroNome || tipo == ParteNome;
    CbFind->setEnabled(porNome);
    lblCbFind->setEnabled(porNome);
    CbFind->setStyleSheet(QString::fromLatin1(porNome ? kCorAtiva : kCorInativa));
    if (porNome) {
        ConsultaBD& q = Busca();
        q.Fecha();
        q.DefineSQL(QStringLiteral("SELECT * FROM Pacientes ORDER BY Nome COLLATE WIN_PTBR ASC"));
        q.Abre();
    } else {
        CbFind->setCurrentIndex(CbFind->findText(Navegador::kTodos));
        Busca().Fecha();
    }
    {
        QSignalBlocker b(edtFind);
        edtFind->clear();
    }
    edtFindChange();
    edtFind->setFocus();
}

void TfrmExames::edtFindChange()
{
    const int tipo = TipoBusca();
    const QString texto = edtFind->text();
    btnLocPac->setEnabled(!texto.isEmpty() && tipo != PrimeiroNome);
    btnLocDBGrid->setEnabled(false);
    if (tipo == PrimeiroNome)
        BuscaPrimeiroNome(TDMPrincipal::Instancia(), texto, CbFind->currentText());
}

void TfrmExames::btnLocPac1Click()
{
    const int tipo = TipoBusca();
    const QString texto = edtFind->text();
    if (texto.isEmpty()) {
        Mensagem(QStringLiteral("Atenção"), QStringLiteral("Campo de busca vazio"), IconeMensagem::Informacao);
        return;
    }
    if (tipo == PrimeiroNome)
        return;
    if (Localiza(TDMPrincipal::Instancia(), tipo, texto)) {
        dbGridPacLoc->setCurrentIndex(Busca().index(0, 0));
        btnLocDBGrid->setEnabled(true);
    } else {
        NaoEncontrado();
    }
}

void TfrmExames::NaoEncontrado()
{
    if (Mensagem(QStringLiteral("Informação"), QStringLiteral("Paciente não encontrado! \n Deseja realizar outra busca?"),
                 IconeMensagem::Pergunta, BotoesMensagem::SimNao) == RespostaMensagem::Sim) {
        edtFind->clear();
        edtFind->setFocus();
    } else {
        tbLocPacExam->setChecked(false);
    }
}

void TfrmExames::dbGridPacLocCellClick()
{
    if (Busca().Ativa() && !Busca().Vazia())
        btnLocDBGrid->setEnabled(true);
    else
        NaoEncontrado();
}

void TfrmExames::dbGridPacLocDblClick()
{
    if (Busca().Ativa() && !Busca().Vazia())
        btnLocDBGrid1Click();
}

void TfrmExames::btnLocDBGrid1Click()
{
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    ConsultaBD& q = Busca();
    if (!q.Ativa() || q.Vazia())
        return;
    const QModelIndex atual = dbGridPacLoc->currentIndex();
    const int linha = atual.isValid() ? atual.row() : std::max(0, q.Linha());
    const int codigo = q.CampoDaLinha(linha, QStringLiteral("CODIGO")).toInt();
    const QString nome = q.CampoDaLinha(linha, QStringLiteral("NOME")).toString();
    const int tipo = TipoBusca();
    const QString texto = edtFind->text();

    MostraPacienteCodigo(codigo, nome, tipo == PrimeiroNome ? CbFind->currentText() : Navegador::kTodos);
    const QString legenda = TipoExame(tipo) ? LegendaExameEncontrado(dm, tipo, texto, codigo) : QString();
    // The panel gives the list its place back before the examination is selected in it.
    tbLocPacExam->setChecked(false);
    if (!legenda.isEmpty())
        SelecionaExame(legenda, tipo == Observacao ? 1 : 0);
}

void TfrmExames::MostraPacienteCodigo(int codigo, const QString& nome, const QString& filtro)
{
    {
        QSignalBlocker b(CBMedicos);
        CBMedicos->setCurrentIndex(CBMedicos->findText(filtro, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    CarregaPacientes(tbOrdemAlfa->isChecked() ? QStringLiteral("Asc") : QStringLiteral("Desc"));
    if (VaiParaCodigo(codigo))
        return;
    if (!VaiParaPrefixo(nome) && !Pacientes().Vazia())
        Pacientes().VaiPara(0);
}

void TfrmExames::BloqueiaDuranteBusca()
{
    if (!m_montado || !BuscaAberta())
        return;
    for (QToolButton* b : {tbtCadPaciente, tbNovoExame1, tbNovoExame2, tbExameOrto1, tbExameOrto2,
                           tbtAlterarPaciente, tbtExcluirPaciente})
        b->setEnabled(false);
}
