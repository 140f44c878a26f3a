#include "reports/UfrmLaudo.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "config/URegistrosZR.h"
#include "data/UConsultaBD.h"
#include "data/UDLaudos.h"
#include "data/UDMPrincipal.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "navigator/UfrmExames.h"
#include "platform/UAjuda.h"
#include "platform/UMensagens.h"
#include "reports/UAchados.h"
#include "reports/UMarcadores.h"
#include "reports/UfrmWizLaudo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QColor kCorAtiva(255, 255, 230); // $E6FFFF
const QColor kCorInativa(Qt::white);

// What a template box brings to the tree: its library code, its groups, the tree heading.
struct DadosCaixa {
    const char* local;
    int grupos;
    const char* titulo;
};

const QString kEmBranco = QStringLiteral("\"Em Branco\"");
constexpr int kPapelFrase = Qt::UserRole;      // phrase text of a phrase node
constexpr int kPapelCodigo = Qt::UserRole + 1; // library code of a phrase node

void Pinta(QTextEdit* caixa, const QColor& cor)
{
    QPalette p = caixa->palette();
    p.setColor(QPalette::Base, cor);
    caixa->setPalette(p);
    caixa->viewport()->setPalette(p); // the text area paints with its own palette
}

} // namespace

TfrmLaudo::Impressao& TfrmLaudo::ImpressaoLaudo()
{
    static Impressao impressao;
    return impressao;
}

TfrmLaudo::TfrmLaudo(TfrmWizLaudo& assistente)
    : QDialog(&assistente), m_assistente(&assistente), m_leitor(std::make_unique<TBMapOperation>())
{
    setObjectName(QStringLiteral("frmLaudo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Laudo"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowState(Qt::WindowFullScreen);
    DefineContextoAjuda(this, 25);
    Monta();
}

TfrmLaudo::~TfrmLaudo() = default;

void TfrmLaudo::Monta()
{
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 8);
    raiz->setSpacing(6);

    auto* faixa = new QFrame(this);
    faixa->setObjectName(QStringLiteral("pnlTitulo"));
    faixa->setStyleSheet(QStringLiteral("#pnlTitulo { background: #1f4e79; } QLabel { color: white; }"));
    auto* lf = new QHBoxLayout(faixa);
    lf->setContentsMargins(16, 10, 16, 10);
    lblTitulo = new QLabel(QStringLiteral("Edição de Laudo"), faixa);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont ft = lblTitulo->font();
    ft.setPointSize(ft.pointSize() + 6);
    ft.setBold(true);
    lblTitulo->setFont(ft);
    lblNome = new QLabel(faixa);
    lblNome->setObjectName(QStringLiteral("lblNome"));
    QFont fn = lblNome->font();
    fn.setPointSize(fn.pointSize() + 3);
    fn.setBold(true);
    lblNome->setFont(fn);
    lblNome->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lf->addWidget(lblTitulo);
    lf->addStretch(1);
    lf->addWidget(lblNome);
    raiz->addWidget(faixa);

    auto* corpo = new QHBoxLayout;
    corpo->setContentsMargins(12, 0, 12, 0);
    corpo->setSpacing(12);
    raiz->addLayout(corpo, 1);

    auto* caixas = new QGridLayout;
    caixas->setVerticalSpacing(2);
    caixas->setHorizontalSpacing(10);
    corpo->addLayout(caixas, 3);
    auto criaCaixa = [&](const char* nome, const char* rotulo, const QString& titulo, int linha, int coluna,
                         QLabel*& lbl) {
        lbl = new QLabel(titulo, this);
        lbl->setObjectName(QLatin1String(rotulo));
        QFont f = lbl->font();
        f.setBold(true);
        lbl->setFont(f);
        auto* c = new QTextEdit(this);
        c->setObjectName(QLatin1String(nome));
        c->setAcceptRichText(false);
        c->setTabChangesFocus(true);
        // A stored report is shown in disabled boxes: its text stays legible.
        QPalette p = c->palette();
        p.setColor(QPalette::Disabled, QPalette::Text, QColor(40, 40, 40));
        c->setPalette(p);
        Pinta(c, kCorInativa);
        c->viewport()->installEventFilter(this);
        c->installEventFilter(this);
        caixas->addWidget(lbl, linha * 2, coluna);
        caixas->addWidget(c, linha * 2 + 1, coluna);
        caixas->setRowStretch(linha * 2 + 1, 1);
        return c;
    };
    reCE = criaCaixa("reCE", "lblCondExames", QStringLiteral("Condições do Exame"), 0, 0, lblCondExames);
    reCO = criaCaixa("reCO", "lblConclusao", QStringLiteral("Conclusão"), 0, 1, lblConclusao);
    reOD = criaCaixa("reOD", "lblOlhoDireito", QStringLiteral("Olho Direito"), 1, 0, lblOlhoDireito);
    reOS = criaCaixa("reOS", "lblOlhoEsquerdo", QStringLiteral("Olho Esquerdo"), 1, 1, lblOlhoEsquerdo);
    reCM = criaCaixa("reCM", "lblComentarios", QStringLiteral("Comentários"), 2, 0, lblComentarios);
    caixas->removeWidget(reCM);
    caixas->addWidget(reCM, 5, 0, 1, 2);
    caixas->setRowStretch(1, 2);
    caixas->setRowStretch(3, 3);
    caixas->setRowStretch(5, 2);

    auto* lado = new QVBoxLayout;
    lado->setSpacing(4);
    corpo->addLayout(lado, 2);
    lblCaixaSelec = new QLabel(QStringLiteral("Textos Padrão"), this);
    lblCaixaSelec->setObjectName(QStringLiteral("lblCaixaSelec"));
    QFont fc = lblCaixaSelec->font();
    fc.setBold(true);
    lblCaixaSelec->setFont(fc);
    trwLaudo = new QTreeWidget(this);
    trwLaudo->setObjectName(QStringLiteral("trwLaudo"));
    trwLaudo->setHeaderHidden(true);
    trwLaudo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trwLaudo->setExpandsOnDoubleClick(false);
    trwLaudo->setWordWrap(true);
    chkMesmoLau = new QCheckBox(QStringLiteral("Mesmo laudo para ambos os olhos"), this);
    chkMesmoLau->setObjectName(QStringLiteral("chkMesmoLau"));
    lado->addWidget(lblCaixaSelec);
    lado->addWidget(trwLaudo, 1);
    lado->addWidget(chkMesmoLau);

    auto* botoes = new QHBoxLayout;
    botoes->setContentsMargins(12, 0, 12, 0);
    auto botao = [&](const char* nome, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        b->setMinimumWidth(140);
        return b;
    };
    btnAdd = botao("btnAdd", QStringLiteral("&Imprimir"));
    btnAlt = botao("btnAlt", QStringLiteral("Vi&sualizar Impressão"));
    btnDel = botao("btnDel", QStringLiteral("Salvar Laudo"));
    sButton2 = botao("sButton2", QStringLiteral("Fechar"));
    sButton1 = botao("sButton1", QStringLiteral("Ajuda"));
    sbtSalvar = btnDel;
    botoes->addWidget(sButton1);
    botoes->addStretch(1);
    for (QPushButton* b : {btnDel, btnAlt, btnAdd, sButton2})
        botoes->addWidget(b);
    raiz->addLayout(botoes);

    connect(trwLaudo, &QTreeWidget::currentItemChanged, this, [this] { trwLaudoChange(); });
    connect(trwLaudo, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* i) { trwLaudoDblClick(i); });
    connect(btnDel, &QPushButton::clicked, this, &TfrmLaudo::sbtSalvarClick);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmLaudo::sbtImprimirClick);
    connect(btnAlt, &QPushButton::clicked, this, &TfrmLaudo::sbtVisualizarImprClick);
    connect(sButton2, &QPushButton::clicked, this, &TfrmLaudo::sbtFecharClick);
    connect(sButton1, &QPushButton::clicked, this, &TfrmLaudo::SpeedButton1Click);
}

bool TfrmLaudo::Editavel() const { return sbtSalvar->isEnabled(); }

QTextEdit* TfrmLaudo::CaixaDoVisor(QObject* objeto) const
{
    for (QTextEdit* c : {reCE, reOD, reOS, reCO, reCM})
        if (objeto == c->viewport() || objeto == c)
            return c;
    return nullptr;
}

bool TfrmLaudo::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonPress) {
        if (QTextEdit* c = CaixaDoVisor(objeto); c && c->isEnabled())
            AtivaCaixa(c);
    } else if (evento->type() == QEvent::FocusOut) {
        if (QTextEdit* c = CaixaDoVisor(objeto); c && c != reCM)
            m_ultimaSaida = c;
    }
    return QDialog::eventFilter(objeto, evento);
}

void TfrmLaudo::AtivaCaixa(QTextEdit* caixa)
{
    if (caixa == reCM) {
        for (QTextEdit* c : {reCE, reOD, reOS, reCO})
            Pinta(c, kCorInativa);
        if (m_ultimaSaida)
            DestacaMarcadores(m_ultimaSaida);
        return;
    }
    static const QHash<QString, DadosCaixa> dados = {
        {QStringLiteral("reCE"), {"CE", 3, "Textos para Condições do Exame"}},
        {QStringLiteral("reOD"), {"DS", 7, "Textos para o Olho Direito"}},
        {QStringLiteral("reOS"), {"DS", 7, "Textos para o Olho Esquerdo"}},
        {QStringLiteral("reCO"), {"CO", 16, "Textos para a Conclusão"}},
    };
    const DadosCaixa d = dados.value(caixa->objectName());
    m_caixaAtual = caixa;
    lblCaixaSelec->setText(QString::fromUtf8(d.titulo));
    m_grupos = d.grupos;
    for (QTextEdit* c : {reCE, reOD, reOS, reCO})
        Pinta(c, c == caixa ? kCorAtiva : kCorInativa);
    PreencheTextos(QString::fromLatin1(d.local), d.grupos);
    if (m_ultimaSaida)
        DestacaMarcadores(m_ultimaSaida);
}

void TfrmLaudo::PreencheTextos(const QString& local, int grupos)
{
    trwLaudo->setUpdatesEnabled(false);
    {
        QSignalBlocker b(trwLaudo);
        trwLaudo->clear();
    }
    ConsultaBD& q = *TDMPrincipal::Instancia().IBOperation;
    q.Fecha();
    q.DefineSQL(QStringLiteral("SELECT Codigo, PosCaixa, Texto FROM LaudosTexto WHERE LaudosTexto.Local=:Local "
                               "ORDER BY PosCaixa, Codigo"));
    q.DefineParametro(QStringLiteral("Local"), local);
    q.Abre();
    q.BuscaTodas();
    QList<QTreeWidgetItem*> nos;
    for (int g = 1; g <= grupos; ++g)
        nos << new QTreeWidgetItem(QStringList{QString::number(g)});
    for (int i = 0; i < q.LinhasBuscadas(); ++i) {
        const int g = q.CampoDaLinha(i, QStringLiteral("POSCAIXA")).toInt();
        if (g < 1 || g > grupos)
            continue;
        const QString texto = q.CampoDaLinha(i, QStringLiteral("TEXTO")).toString();
        auto* no = new QTreeWidgetItem(nos[g - 1], QStringList{texto.isEmpty() ? kEmBranco : texto});
        no->setData(0, kPapelFrase, texto);
        no->setData(0, kPapelCodigo, q.CampoDaLinha(i, QStringLiteral("CODIGO")).toInt());
    }
    q.Fecha();
    {
        QSignalBlocker b(trwLaudo);
        trwLaudo->addTopLevelItems(nos);
    }
    trwLaudo->setUpdatesEnabled(true);
}

int TfrmLaudo::GrupoSelecionado() const
{
    const QTreeWidgetItem* i = trwLaudo->currentItem();
    if (!i)
        return 0;
    if (i->parent())
        i = i->parent();
    return trwLaudo->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(i)) + 1;
}

void TfrmLaudo::trwLaudoChange()
{
    if (!m_caixaAtual)
        return;
    DestacaMarcadores(m_caixaAtual);
    Pinta(m_caixaAtual, kCorAtiva);
}

void TfrmLaudo::trwLaudoDblClick(QTreeWidgetItem* item)
{
    if (!item || !item->parent() || !m_caixaAtual || !Editavel())
        return;
    const int n = trwLaudo->indexOfTopLevelItem(item->parent()) + 1;
    const QString p = item->data(0, kPapelFrase).toString();
    InsereTexto(n, p);
    if (chkMesmoLau->isChecked() && chkMesmoLau->isEnabled() && (m_caixaAtual == reOD || m_caixaAtual == reOS)) {
        QTextEdit* atual = m_caixaAtual;
        m_caixaAtual = atual == reOD ? reOS : reOD;
        InsereTexto(n, p);
        m_caixaAtual = atual;
    }
}

void TfrmLaudo::InsereTexto(int grupo, const QString& frase)
{
    if (!m_caixaAtual)
        return;
    const QString antes = m_caixaAtual->toPlainText();
    const QString depois = ::InsereTexto(antes, grupo, frase);
    if (depois != antes)
        m_caixaAtual->setPlainText(depois);
    DestacaMarcadores(m_caixaAtual);
}

void TfrmLaudo::DestacaMarcadores(QTextEdit* caixa)
{
    if (!caixa)
        return;
    const int s = GrupoSelecionado();
    const QString texto = caixa->toPlainText();
    QTextDocument* doc = caixa->document();
    QTextCursor c(doc);
    QSignalBlocker b(caixa);
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    QTextCharFormat normal;
    normal.setForeground(caixa->palette().color(QPalette::Text));
    c.mergeCharFormat(normal);
    const QList<Marcador> marcas = MarcadoresColoridos(texto);
    for (const Marcador& m : marcas) {
        c.setPosition(int(m.abre));
        c.setPosition(int(m.fecha) + 1, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setForeground(m.numero == s ? QColor(Qt::red) : QColor(Qt::blue));
        c.mergeCharFormat(f);
    }
    c.endEditBlock();
    QTextCursor caret(doc);
    caret.setPosition(marcas.isEmpty() ? 0 : int(marcas.last().abre));
    caixa->setTextCursor(caret);
}

QString TfrmLaudo::VerificaCaixas(QTextEdit* caixa) const
{
    return ::VerificaCaixas(caixa->toPlainText());
}

void TfrmLaudo::DesabilitaEdicao()
{
    {
        QSignalBlocker b(trwLaudo);
        trwLaudo->clear();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{trwLaudo, lblCaixaSelec, reCE, reOD, reOS, reCO, reCM,
                                                      chkMesmoLau, sbtSalvar})
        w->setEnabled(false);
    m_caixaAtual = nullptr;
}

// --- new report ---------------------------------------------------------------------------

void TfrmLaudo::NovoLaudo()
{
    TfrmWizLaudo& w = *m_assistente;
    if (w.cmbOD->currentIndex() < 0 || w.cmbOS->currentIndex() < 0) {
        Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Por favor, verifique se umas das caixas está vazia. Se não desejar um dos olhos, "
                                "escolha a opção \"Nenhum\"."),
                 IconeMensagem::Erro);
        w.Prosseguir = false;
        return;
    }
    const QString nenhum = QStringLiteral("Nenhum");
    w.DescricaoOD = w.cmbOD->currentText();
    w.DescricaoOS = w.cmbOS->currentText();
    w.CodigoOD = w.CodigoOS = -1;
    // A report without examinations would be listed under no doctor, so never found again.
    if (w.DescricaoOD == nenhum && w.DescricaoOS == nenhum) {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Por favor, escolha ao menos um exame para gerar o laudo."),
                 IconeMensagem::Informacao);
        w.Prosseguir = false;
        return;
    }
    QStringList exames;
    for (const QString& d : {w.DescricaoOD, w.DescricaoOS})
        if (d != nenhum)
            exames << d;

    const uint8_t tipo = w.TipoMapa() == 1 ? TBFuncoesMapas::MapaTangencial : TBFuncoesMapas::MapaAxial;
    TfrmExames& nav = w.Navegador();
    AchadosOlho direito, esquerdo;
    int codOD = -1, codOS = -1;
    for (const QString& legenda : exames) {
        nav.CodPacienteSelecao = nav.CodigoPacienteAtual();
        if (!nav.LocalizaExame(legenda)) {
            Mensagem(QStringLiteral("Erro"), QStringLiteral("Não foi possivel selecionar o exame."), IconeMensagem::Erro);
            w.Prosseguir = false;
            return;
        }
        ConsultaBD& q = *TDMPrincipal::Instancia().IBQueryExames;
        const int codigo = q.Inteiro(QStringLiteral("CODIGO"));
        const int paciente = q.Inteiro(QStringLiteral("CODPACIENTE"));
        AchadosOlho a;
        if (!AchadosDoExame(*m_leitor, PrefixoExame(paciente, codigo), legenda, InfosZR.FatorCorrecao, tipo, a)) {
            w.Prosseguir = false;
            return;
        }
        if (legenda.left(2) == QStringLiteral("OD")) {
            direito = a;
            codOD = codigo;
        } else {
            esquerdo = a;
            codOS = codigo;
        }
    }
    w.CodigoOD = codOD;
    w.CodigoOS = codOS;

    reCE->setPlainText(TextoCondicoes());
    DestacaMarcadores(reCE);
    if (w.DescricaoOS != nenhum) {
        reOS->setPlainText(TextoOlho(tipo, esquerdo));
        DestacaMarcadores(reOS);
    } else {
        for (QWidget* c : std::initializer_list<QWidget*>{reOS, lblOlhoEsquerdo, chkMesmoLau})
            c->setEnabled(false);
    }
    if (w.DescricaoOD != nenhum) {
        reOD->setPlainText(TextoOlho(tipo, direito));
        DestacaMarcadores(reOD);
    } else {
        for (QWidget* c : std::initializer_list<QWidget*>{reOD, lblOlhoDireito, chkMesmoLau})
            c->setEnabled(false);
    }
    reCO->setPlainText(TextoConclusao());
    DestacaMarcadores(reCO);
}

// --- saving ---------------------------------------------------------------------------------

void TfrmLaudo::sbtSalvarClick()
{
    if (!Editavel())
        return;
    const QString pergunta = PerguntaCaixasObrigatorias(reOD->toPlainText(), reOD->isEnabled(), reOS->toPlainText(),
                                                        reOS->isEnabled(), reCO->toPlainText());
    if (!pergunta.isEmpty() &&
        Mensagem(QStringLiteral("Informação"), pergunta, IconeMensagem::Pergunta, BotoesMensagem::SimNao) ==
            RespostaMensagem::Sim)
        return;
    GravaLaudo();
}

bool TfrmLaudo::GravaLaudo()
{
    TfrmWizLaudo& w = *m_assistente;
    TfrmExames& nav = w.Navegador();
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    const int paciente = nav.CodigoPacienteAtual();
    const QDate hoje = QDate::currentDate();
    const QTime agora = QTime::currentTime();
    TDLaudos laudos(dm);
    int codigo = 0;
    try {
        codigo = laudos.InsereLaudo(paciente, w.CodigoOD, w.CodigoOS, QString(), hoje, agora);
    } catch (const ErroSistema& e) {
        w.RestauraNavegador();
        Mensagem(QStringLiteral("Erro"), QStringLiteral("Não foi possível gravar o laudo.\n") + e.Mensagem(),
                 IconeMensagem::Erro);
        return false;
    }
    w.RestauraNavegador();
    const QString pac = QString::number(paciente);
    QDir().mkpath(PastaLaudosPaciente(pac));
    const bool gravado = GravaArquivoLaudo(pac, QString::number(codigo), reCE->toPlainText(), reOD->toPlainText(),
                                           reOS->toPlainText(), reCO->toPlainText(), reCM->toPlainText());
    if (!gravado) {
        // No report without its text: the row goes, so a later save stores exactly one.
        try {
            laudos.ExcluiLaudo(codigo);
        } catch (const ErroSistema& e) {
            Mensagem(QStringLiteral("Erro"), e.Mensagem(), IconeMensagem::Erro);
        }
        return false;
    }
    m_gravado = {codigo, w.CodigoOD, w.CodigoOS, hoje, QTime(agora.hour(), agora.minute(), agora.second())};
    DesabilitaEdicao();
    return true;
}

// --- stored reports -------------------------------------------------------------------------

void TfrmLaudo::AbrirLaudo()
{
    TfrmWizLaudo& w = *m_assistente;
    TfrmExames& nav = w.Navegador();
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    // Each open judges its own report.
    w.ExamesPresentes = true;
    const int codigo = CodigoDoItem(w.cmbEscLaudo->currentText());
    ConsultaBD& q = *dm.IBOperation;
    q.Fecha();
    q.DefineSQL(QStringLiteral("SELECT Codigo, MedidaOD, MedidaOS, Data, Hora FROM Laudos WHERE Laudos.Codigo=:Codigo"));
    q.DefineParametro(QStringLiteral("Codigo"), codigo);
    q.Abre();
    LaudoGravado g;
    g.Codigo = codigo;
    g.MedidaOD = q.Vazia() ? -1 : q.Inteiro(QStringLiteral("MEDIDAOD"));
    g.MedidaOS = q.Vazia() ? -1 : q.Inteiro(QStringLiteral("MEDIDAOS"));
    g.Data = q.Data(QStringLiteral("DATA"));
    g.Hora = q.Hora(QStringLiteral("HORA"));
    q.Fecha();
    m_gravado = g;

    auto descricao = [&](int exame, const QString& olho) {
        if (exame == -1)
            return QString();
        ConsultaBD& e = *dm.IBOperation;
        e.Fecha();
        e.DefineSQL(QStringLiteral("SELECT Data, Hora FROM Exames WHERE Exames.Codigo=:Codigo"));
        e.DefineParametro(QStringLiteral("Codigo"), exame);
        e.Abre();
        QString d;
        if (e.Vazia())
            w.ExamesPresentes = false;
        else
            d = olho + QStringLiteral(" - ") + FormataData(e.Data(QStringLiteral("DATA"))) + u' ' +
                FormataHora(e.Hora(QStringLiteral("HORA")));
        e.Fecha();
        return d;
    };
    w.DescricaoOD = descricao(g.MedidaOD, QStringLiteral("OD"));
    w.DescricaoOS = descricao(g.MedidaOS, QStringLiteral("OS"));

    const QString caminho = CaminhoEm(PastaLaudosPaciente(QString::number(nav.CodigoPacienteAtual())),
                                      QString::number(codigo) + QStringLiteral("l.txt"));
    if (QFileInfo(caminho).isFile() && LeLaudo(caminho)) {
        if (!w.ExamesPresentes)
            Mensagem(QStringLiteral("Informação"), QStringLiteral("Este laudo possui dados de exames já excluídos!"),
                     IconeMensagem::Informacao);
    } else {
        w.Prosseguir = false;
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Arquivo de laudo não encontrado."), IconeMensagem::Erro);
    }
}

bool TfrmLaudo::LeLaudo(const QString& caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        return false;
    const QStringList secoes = LeTextoLaudo(DivideLinhas(DeCp1252(arquivo.read(kMaxArquivoLaudo))));
    QTextEdit* caixas[] = {reCE, reOD, reOS, reCO, reCM};
    for (int k = 0; k < 5; ++k)
        caixas[k]->setPlainText(secoes.value(k).left(kMaxTextoCaixa));
    return true;
}

// --- buttons --------------------------------------------------------------------------------

void TfrmLaudo::sbtImprimirClick()
{
    if (ImpressaoLaudo())
        ImpressaoLaudo()(*this, false);
}

void TfrmLaudo::sbtVisualizarImprClick()
{
    if (ImpressaoLaudo())
        ImpressaoLaudo()(*this, true);
}

void TfrmLaudo::sbtFecharClick() { close(); }

void TfrmLaudo::SpeedButton1Click() { AbreAjuda(ContextoAjuda(this)); }

void TfrmLaudo::closeEvent(QCloseEvent* evento)
{
    QDialog::closeEvent(evento);
    if (m_assistente)
        m_assistente->close();
}
