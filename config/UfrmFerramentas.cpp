#include "config/UfrmFerramentas.h"

#include "backup/UBackup.h"
#include "common/UErros.h"
#include "config/UBIniSettings.h"
#include "config/UIconesFerramentas.h"
#include "config/URegistrosZR.h"
#include "config/UResumoBanco.h"
#include "data/UDMPrincipal.h"
#include "platform/UAjuda.h"
#include "platform/UMensagens.h"
#include "platform/UProgramas.h"
#include "platform/UTraducao.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtEndian>

using namespace Ferramentas;

namespace {

const QString kInformacao = QStringLiteral("Informação");

const char* kEstilo = R"(
QDialog#frmFerramentas { background: #f4f7fb; }
QLabel[titulo="true"] { color: #164a7a; font-weight: bold; font-size: 13px; padding: 2px 0 6px 0; }
QGroupBox { border: 1px solid #b9c8da; border-radius: 4px; margin-top: 10px; color: #255a94; font-weight: bold;
  background: #fbfcfe; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QGroupBox QCheckBox, QGroupBox QRadioButton, QGroupBox QLabel { font-weight: normal; color: #1d2a38; }
QLabel#LogoClinica { background: white; border: 1px solid #8da2bb; }
QLabel[valor="true"] { font-family: monospace; font-weight: bold; color: #1d2a38; }
QLabel#lblNotaTolerancia { color: #4a3f00; background: #fff8d0; border: 1px solid #d8c778; border-radius: 3px;
  padding: 4px 6px; font-weight: normal; }
QPushButton { padding: 4px 14px; }
)";

QLabel* Titulo(const QString& texto, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    l->setProperty("titulo", true);
    l->setWordWrap(true);
    return l;
}

QLabel* Valor(const char* nome, QWidget* pai)
{
    auto* l = new QLabel(QStringLiteral("0000"), pai);
    l->setObjectName(QLatin1String(nome));
    l->setProperty("valor", true);
    return l;
}

template <class T>
T* Nomeado(T* w, const char* nome)
{
    w->setObjectName(QLatin1String(nome));
    return w;
}

// A picture written as an uncompressed 32-bit Windows bitmap (bottom-up rows, blue, green,
// red, then an unused byte), whole or not at all.
bool GravaBitmap32(const QImage& imagem, const QString& arquivo, QString& erro)
{
    const QImage img = imagem.convertToFormat(QImage::Format_RGB32);
    const quint32 linha = quint32(img.width()) * 4, dados = linha * quint32(img.height());
    QByteArray b(54, '\0');
    auto u16 = [&b](int pos, quint16 v) { qToLittleEndian(v, b.data() + pos); };
    auto u32 = [&b](int pos, quint32 v) { qToLittleEndian(v, b.data() + pos); };
    b[0] = 'B';
    b[1] = 'M';
    u32(2, 54 + dados);
    u32(10, 54);
    u32(14, 40);
    u32(18, quint32(img.width()));
    u32(22, quint32(img.height()));
    u16(26, 1);
    u16(28, 32);
    u32(34, dados);
    u32(38, 2835); // 72 dpi
    u32(42, 2835);
    for (int y = img.height() - 1; y >= 0; --y) {
        const auto* px = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const char bgr[4] = {char(qBlue(px[x])), char(qGreen(px[x])), char(qRed(px[x])), 0};
            b.append(bgr, 4);
        }
    }
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(b) != b.size() || !f.commit()) {
        erro = f.errorString();
        return false;
    }
    return true;
}

QString ArquivoLogo() { return CaminhoEm(PathsZR.DirZR, QStringLiteral("LogoClinica.bmp")); }
QString ArquivoBanco() { return CaminhoEm(PathsZR.BancoDados, QStringLiteral("DATABASE.GDB")); }

} // namespace

TfrmFerramentas::TfrmFerramentas(const QStringList& installedMaps, QWidget* pai)
    : QDialog(pai), m_mapas(installedMaps)
{
    setObjectName(QStringLiteral("frmFerramentas"));
    setWindowTitle(QStringLiteral("Ferramentas"));
    setAttribute(Qt::WA_DeleteOnClose);
    DefineContextoAjuda(this, 8);
    setStyleSheet(QLatin1String(kEstilo));

    pgcFerramentas = Nomeado(new QTabWidget(this), "pgcFerramentas");
    pgcFerramentas->addTab(PaginaModulos(), QStringLiteral("Módulos"));
    pgcFerramentas->addTab(PaginaAplicativos(), QStringLiteral("Aplicativos do Windows"));
    pgcFerramentas->addTab(PaginaDadosClinica(), QStringLiteral("Dados da Clínica"));
    pgcFerramentas->addTab(PaginaConfig(), QStringLiteral("Configurações"));
    pgcFerramentas->addTab(PaginaBD(), QStringLiteral("Banco de Dados"));

    // Two pages never shown: the advanced search (controls without function) and the language.
    tshBuscaAvancada = Nomeado(new QWidget(this), "tshBuscaAvancada");
    auto* lb = new QFormLayout(tshBuscaAvancada);
    lb->addRow(QStringLiteral("Campo:"), new QComboBox(tshBuscaAvancada));
    lb->addRow(QStringLiteral("Valor:"), new QLineEdit(tshBuscaAvancada));
    tshIdioma = Nomeado(new QWidget(this), "tshIdioma");
    cbxIdioma = Nomeado(new QComboBox(tshIdioma), "cbxIdioma");
    (new QVBoxLayout(tshIdioma))->addWidget(cbxIdioma);
    pgcFerramentas->addTab(tshBuscaAvancada, QStringLiteral("Busca Avançada"));
    pgcFerramentas->addTab(tshIdioma, QStringLiteral("Idioma"));
    pgcFerramentas->setTabVisible(5, false);
    pgcFerramentas->setTabVisible(6, false);

    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    btnFechar->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(btnFechar, &QPushButton::clicked, this, &TfrmFerramentas::btnFecharClick);
    auto* rodape = new QHBoxLayout;
    rodape->addStretch();
    rodape->addWidget(btnFechar);
    auto* raiz = new QVBoxLayout(this);
    raiz->addWidget(pgcFerramentas);
    raiz->addLayout(rodape);

    // The camera tool keeps "Fechar" disabled for a while.
    tmrFechar = Nomeado(new QTimer(this), "tmrFechar");
    tmrFechar->setInterval(10000);
    tmrFechar->setSingleShot(true);
    connect(tmrFechar, &QTimer::timeout, this, &TfrmFerramentas::tmrFecharTimer);

    // The logo: a 100 x 100 picture, or the stored one.
    m_logo = QImage(100, 100, QImage::Format_RGB32);
    m_logo.fill(Qt::white);
    if (QFileInfo::exists(ArquivoLogo())) {
        QImage guardado(ArquivoLogo());
        if (!guardado.isNull())
            m_logo = guardado;
    }
    MostraLogo();

    PreencheControles(OpcoesDe(InfosZR));
    lblReiniciaBackup->setText(QString::number(Backup::LeInteiro(Backup::ArquivoBackupIni(),
                                                                 QStringLiteral("BackupZerado"), 0)));
    lblTamanhoBD->setText(TamanhoBanco(ArquivoBanco()));
    lblDiretorioBD->setText(ArquivoBanco());

    setFixedSize(sizeHint().expandedTo(QSize(780, 0)));
}

QWidget* TfrmFerramentas::PaginaModulos()
{
    tshModulos = Nomeado(new QWidget, "tshModulos");
    tlvMapas = Nomeado(new QTreeWidget(tshModulos), "tlvMapas");
    tlvMapas->setHeaderLabels({QStringLiteral("Descrição"), QStringLiteral("Tipo"), QStringLiteral("Nº de Mapas"),
                               QStringLiteral("Versão")});
    tlvMapas->setRootIsDecorated(false);
    tlvMapas->setAlternatingRowColors(true);
    tlvMapas->setWordWrap(true);
    tlvMapas->setUniformRowHeights(false);
    tlvMapas->header()->setStretchLastSection(false);
    for (int c : {0, 1, 3})
        tlvMapas->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    tlvMapas->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto* l = new QVBoxLayout(tshModulos);
    l->addWidget(Titulo(QStringLiteral("Lista de todos os módulos de visualizações instalados no sistema."), tshModulos));
    l->addWidget(tlvMapas);
    return tshModulos;
}

QWidget* TfrmFerramentas::PaginaAplicativos()
{
    tshAplicativos = Nomeado(new QWidget, "tshAplicativos");
    tlvAplicativos = Nomeado(new QListWidget(tshAplicativos), "tlvAplicativos");
    tlvAplicativos->setViewMode(QListView::IconMode);
    tlvAplicativos->setIconSize(QSize(48, 48));
    tlvAplicativos->setGridSize(QSize(160, 96));
    tlvAplicativos->setSpacing(6);
    tlvAplicativos->setResizeMode(QListView::Adjust);
    tlvAplicativos->setMovement(QListView::Static);
    tlvAplicativos->setWordWrap(true);
    const QStringList nomes = Aplicativos();
    for (int i = 0; i < nomes.size(); ++i)
        new QListWidgetItem(IconeAplicativo(Aplicativo(i)), nomes[i], tlvAplicativos);
    connect(tlvAplicativos, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { tlvAplicativosDblClick(tlvAplicativos->row(item)); });
    auto* l = new QVBoxLayout(tshAplicativos);
    l->addWidget(Titulo(QStringLiteral("Ferramentas de configuração do Windows"), tshAplicativos));
    l->addWidget(tlvAplicativos);
    return tshAplicativos;
}

QWidget* TfrmFerramentas::PaginaDadosClinica()
{
    tshDadosClinica = Nomeado(new QWidget, "tshDadosClinica");
    auto* p = tshDadosClinica;
    edtNome = Nomeado(new QLineEdit(p), "edtNome");
    edtEndereco = Nomeado(new QLineEdit(p), "edtEndereco");
    edtCidadeEst = Nomeado(new QLineEdit(p), "edtCidadeEstado");
    edtFone = Nomeado(new QLineEdit(p), "edtFone");
    auto* dados = new QGroupBox(QStringLiteral("Clínica"), p);
    auto* f = new QFormLayout(dados);
    f->addRow(QStringLiteral("Nome:"), edtNome);
    f->addRow(QStringLiteral("Endereço:"), edtEndereco);
    f->addRow(QStringLiteral("Cidade/Estado"), edtCidadeEst);
    f->addRow(QStringLiteral("Telefone:"), edtFone);

    auto* logo = new QGroupBox(QStringLiteral("Logotipo"), p);
    LogoClinica = Nomeado(new QLabel(logo), "LogoClinica");
    LogoClinica->setFixedSize(102, 102);
    LogoClinica->setAlignment(Qt::AlignCenter);
    LogoClinica->setToolTip(QStringLiteral("Duplo clique para alterar"));
    LogoClinica->setCursor(Qt::PointingHandCursor);
    LogoClinica->installEventFilter(this);
    auto* ll = new QVBoxLayout(logo);
    ll->addWidget(LogoClinica, 0, Qt::AlignHCenter);
    auto* dica = new QLabel(QStringLiteral("Duplo clique para alterar"), logo);
    dica->setAlignment(Qt::AlignCenter);
    ll->addWidget(dica);

    // Kept from the settings back to the settings; nothing prints by them.
    grpOpcoesClinica = Nomeado(new QGroupBox(p), "grpOpcoesClinica");
    chkDadosClinica = Nomeado(new QCheckBox(QStringLiteral("Mostrar dados da clínica."), grpOpcoesClinica), "chkDadosClinica");
    chkNomeMedico = Nomeado(new QCheckBox(QStringLiteral("Mostrar nome do médico."), grpOpcoesClinica), "chkNomeMedico");
    chkLogoClinica = Nomeado(new QCheckBox(QStringLiteral("Mostrar logotipo da clínica."), grpOpcoesClinica), "chkLogoClinica");
    auto* lo = new QVBoxLayout(grpOpcoesClinica);
    lo->addWidget(chkDadosClinica);
    lo->addWidget(chkNomeMedico);
    lo->addWidget(chkLogoClinica);
    grpOpcoesClinica->setVisible(false);

    auto* linha = new QHBoxLayout;
    linha->addWidget(dados, 1);
    linha->addWidget(logo, 0, Qt::AlignTop);
    auto* l = new QVBoxLayout(p);
    l->addWidget(Titulo(QStringLiteral("Deve-se preencher os dados da clínica e o logotipo da clínica. Estes dados "
                                       "serão impressos nos relatórios."), p));
    l->addLayout(linha);
    l->addWidget(grpOpcoesClinica);
    l->addStretch();
    return p;
}

QWidget* TfrmFerramentas::PaginaConfig()
{
    tshConfig = Nomeado(new QWidget, "tshConfig");
    auto* p = tshConfig;

    // Maps.
    auto* mapa = new QGroupBox(QStringLiteral("Mapas"), p);
    auto* lm = new QGridLayout(mapa);
    lm->addWidget(new QLabel(QStringLiteral("Incremento:"), mapa), 0, 0);
    rbtEnable = Nomeado(new QRadioButton(QStringLiteral("Automático"), mapa), "rbtEnable");
    rbtDisable = Nomeado(new QRadioButton(QStringLiteral("Personalizado"), mapa), "rbtDisable");
    lm->addWidget(rbtEnable, 0, 1);
    lm->addWidget(rbtDisable, 0, 2);
    lblIncMap = Nomeado(new QLabel(QStringLiteral("Incremento fixo:"), mapa), "lblIncMap");
    EdtIncMap = Nomeado(new QLineEdit(mapa), "EdtIncMap");
    EdtIncMap->setMaximumWidth(70);
    lm->addWidget(lblIncMap, 1, 1);
    lm->addWidget(EdtIncMap, 1, 2);
    chkExibeGrade = Nomeado(new QCheckBox(QStringLiteral("Exibir grade de escala sobre o mapa"), mapa), "chkExibeGrade");
    chkEscalaISO = Nomeado(new QCheckBox(QStringLiteral("Escala ISO"), mapa), "chkEscalaISO");
    chkExibeCeratPontual =
        Nomeado(new QCheckBox(QStringLiteral("Exibir ceratometria pontual"), mapa), "chkExibeCeratPontual");
    lblCorCeratPontual = Nomeado(new QLabel(QStringLiteral("Cor:"), mapa), "lblCorCeratPontual");
    cbCorCeratPontual = Nomeado(new QComboBox(mapa), "cbCorCeratPontual");
    cbCorCeratPontual->addItems(CoresCeratPontual());
    cbCorCeratPontual->setPlaceholderText(QStringLiteral("Selecione a cor"));
    lm->addWidget(chkExibeGrade, 2, 0, 1, 3);
    lm->addWidget(chkEscalaISO, 3, 0, 1, 3);
    lm->addWidget(chkExibeCeratPontual, 4, 0, 1, 3);
    lm->addWidget(lblCorCeratPontual, 5, 1);
    lm->addWidget(cbCorCeratPontual, 5, 2);
    connect(rbtEnable, &QRadioButton::clicked, this, &TfrmFerramentas::rbtEnableClick);
    connect(rbtDisable, &QRadioButton::clicked, this, &TfrmFerramentas::rbtEnableClick);
    connect(chkExibeCeratPontual, &QCheckBox::clicked, this, &TfrmFerramentas::chkExibeCeratPontualClick);

    // New examinations.
    auto* exame = new QGroupBox(QStringLiteral("Exames"), p);
    auto* le = new QGridLayout(exame);
    rgrMapaPadrao = Nomeado(new QGroupBox(QStringLiteral("Mapa padrão novo exame:"), exame), "rgrMapaPadrao");
    m_mapaPadrao = new QButtonGroup(this);
    auto* lr = new QHBoxLayout(rgrMapaPadrao);
    const QStringList mapas = MapasPadrao();
    for (int i = 0; i < mapas.size(); ++i) {
        auto* r = new QRadioButton(mapas[i], rgrMapaPadrao);
        r->setObjectName(QStringLiteral("rgrMapaPadrao%1").arg(i));
        m_mapaPadrao->addButton(r, i);
        lr->addWidget(r);
    }
    cbTipoCeratometria = Nomeado(new QComboBox(exame), "cbTipoCeratometria");
    cbTipoCeratometria->addItems(TiposCeratometria());
    chkAutoExame = Nomeado(new QCheckBox(QStringLiteral("Realiza exame após o cadastro do paciente"), exame), "chkAutoExame");
    le->addWidget(rgrMapaPadrao, 0, 0, 1, 2);
    le->addWidget(new QLabel(QStringLiteral("Tipo de Ceratometria padrão:"), exame), 1, 0);
    le->addWidget(cbTipoCeratometria, 1, 1);
    le->addWidget(chkAutoExame, 2, 0, 1, 2);

    // Capture and processing.
    auto* captura = new QGroupBox(QStringLiteral("Captura e processamento"), p);
    auto* lc = new QGridLayout(captura);
    chkAneisAuto = Nomeado(new QCheckBox(QStringLiteral("Detectar os anéis automaticamente"), captura), "chkAneisAuto");
    edtValIndConf = Nomeado(new QSpinBox(captura), "edtValIndConf");
    SpinEditQualidadeImagem = Nomeado(new QSpinBox(captura), "SpinEditQualidadeImagem");
    for (QSpinBox* s : {edtValIndConf, SpinEditQualidadeImagem}) {
        s->setRange(25, 100);
        s->setSingleStep(5);
    }
    chkSalvarCaptura = Nomeado(
        new QCheckBox(QStringLiteral("Habilitar botão (Salvar Imagem) no módulo Digitalização"), captura), "chkSalvarCaptura");
    chkImgCentral = Nomeado(new QCheckBox(QStringLiteral("Imagem Central"), captura), "chkImgCentral");
    chkImgLateral = Nomeado(new QCheckBox(QStringLiteral("Imagem Lateral"), captura), "chkImgLateral");
    chkAutoPCaptura = Nomeado(new QCheckBox(QStringLiteral("Executar o AutoCentro antes de congelar a imagem"), captura),
                              "chkAutoPCaptura");
    lblDelayAutoPCaptura = Nomeado(new QLabel(QStringLiteral("Tempo de espera (ms): "), captura), "lblDelayAutoPCaptura");
    edtDelayAutoPCaptura = Nomeado(new QLineEdit(captura), "edtDelayAutoPCaptura");
    edtDelayAutoPCaptura->setMaximumWidth(70);
    connect(chkAutoPCaptura, &QCheckBox::clicked, this, &TfrmFerramentas::chkAutoPCapturaClick);
    int r = 0;
    lc->addWidget(chkAneisAuto, r++, 0, 1, 3);
    lc->addWidget(new QLabel(QStringLiteral("Índice de confiabilidade (mínimo aceitável - em %):"), captura), r, 0, 1, 2);
    lc->addWidget(edtValIndConf, r++, 2);
    lc->addWidget(chkSalvarCaptura, r++, 0, 1, 3);
    lc->addWidget(new QLabel(QStringLiteral("Salvar imagens dos olhos:"), captura), r, 0);
    lc->addWidget(chkImgCentral, r, 1);
    lc->addWidget(chkImgLateral, r++, 2);
    lc->addWidget(new QLabel(QStringLiteral("Compactação / Qualidade da Imagem (%):"), captura), r, 0, 1, 2);
    lc->addWidget(SpinEditQualidadeImagem, r++, 2);
    lc->addWidget(chkAutoPCaptura, r++, 0, 1, 3);
    lc->addWidget(lblDelayAutoPCaptura, r, 1, Qt::AlignRight);
    lc->addWidget(edtDelayAutoPCaptura, r++, 2);

    // Scan tolerance of the processing, with the values for each cone.
    auto* tolerancia = new QGroupBox(QStringLiteral("Tolerância de varredura (Processamento)"), p);
    auto* lt = new QGridLayout(tolerancia);
    edtTVlCentral = Nomeado(new QLineEdit(tolerancia), "edtTVlCentral");
    edtTIncremento = Nomeado(new QLineEdit(tolerancia), "edtTIncremento");
    for (QLineEdit* e : {edtTVlCentral, edtTIncremento})
        e->setMaximumWidth(70);
    lt->addWidget(new QLabel(QStringLiteral("Valor central:"), tolerancia), 0, 0);
    lt->addWidget(edtTVlCentral, 0, 1);
    lt->addWidget(new QLabel(QStringLiteral("Incremento:"), tolerancia), 1, 0);
    lt->addWidget(edtTIncremento, 1, 1);
    auto* nota = Nomeado(new QLabel(QStringList{QStringLiteral("Cone com 16 anéis:"), QStringLiteral("         Valor central: 16"),
                                                QString(), QStringLiteral("Cone com 32 anéis:"),
                                                QStringLiteral("         Valor central: 8")}
                                        .join(u'\n'),
                                    tolerancia),
                         "lblNotaTolerancia");
    nota->setTextFormat(Qt::PlainText);
    lt->addWidget(nota, 0, 2, 3, 1);
    lt->setColumnStretch(2, 1);

    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(mapa);
    esquerda->addWidget(exame);
    esquerda->addStretch();
    auto* direita = new QVBoxLayout;
    direita->addWidget(captura);
    direita->addWidget(tolerancia);
    direita->addStretch();
    auto* colunas = new QHBoxLayout;
    colunas->addLayout(esquerda);
    colunas->addLayout(direita);
    auto* l = new QVBoxLayout(p);
    l->addWidget(Titulo(QStringLiteral("Definições de configuração de software"), p));
    l->addLayout(colunas);
    return p;
}

QWidget* TfrmFerramentas::PaginaBD()
{
    tshBD = Nomeado(new QWidget, "tshBD");
    auto* p = tshBD;
    auto* resumo = new QGroupBox(QStringLiteral("Registros"), p);
    auto* g = new QGridLayout(resumo);
    lblBDMedicos = Valor("lblBDMedicos", resumo);
    lblBDIndiceMedicos = Valor("lblBDIndiceMedicos", resumo);
    lblBDPacientes = Valor("lblBDPacientes", resumo);
    lblBDIndicePaciente = Valor("lblBDIndicePaciente", resumo);
    lblBDExames = Valor("lblBDExames", resumo);
    lblBDIndiceExames = Valor("lblBDIndiceExames", resumo);
    lblBDBackupExames = Valor("lblBDBackupExames", resumo);
    lblBDLaudos = Valor("lblBDLaudos", resumo);
    lblBDIndiceLaudos = Valor("lblBDIndiceLaudos", resumo);
    lblBDBackupLaudos = Valor("lblBDBackupLaudos", resumo);
    auto linha = [&](int r, const char* rotulo, QLabel* n, const char* indice, QLabel* i, QLabel* b) {
        g->addWidget(new QLabel(QString::fromUtf8(rotulo), resumo), r, 0);
        g->addWidget(n, r, 1);
        g->addWidget(new QLabel(QString::fromUtf8(indice), resumo), r, 2);
        g->addWidget(i, r, 3);
        if (b) {
            g->addWidget(new QLabel(QStringLiteral("Backup:"), resumo), r, 4);
            g->addWidget(b, r, 5);
        }
    };
    linha(0, "Médicos: ", lblBDMedicos, "Índice:", lblBDIndiceMedicos, nullptr);
    linha(1, "Pacientes: ", lblBDPacientes, "Indice:", lblBDIndicePaciente, nullptr);
    linha(2, "Exames:", lblBDExames, "Índice:", lblBDIndiceExames, lblBDBackupExames);
    linha(3, "Laudos:", lblBDLaudos, "Indice:", lblBDIndiceLaudos, lblBDBackupLaudos);
    g->setColumnStretch(6, 1);
    g->setHorizontalSpacing(14);

    auto* arquivo = new QGroupBox(QStringLiteral("Arquivo"), p);
    auto* fa = new QGridLayout(arquivo);
    lblTamanhoBD = Nomeado(new QLabel(arquivo), "lblTamanhoBD");
    lblTamanhoBD->setProperty("valor", true);
    lblDiretorioBD = Nomeado(new QLabel(arquivo), "lblDiretorioBD");
    lblDiretorioBD->setWordWrap(true);
    lblDiretorioBD->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fa->addWidget(new QLabel(QStringLiteral("Tamanho total do Banco de Dados:"), arquivo), 0, 0);
    fa->addWidget(lblTamanhoBD, 0, 1);
    fa->addWidget(lblDiretorioBD, 1, 0, 1, 3);
    fa->setColumnStretch(2, 1);

    auto* backup = new QGroupBox(QStringLiteral("Backup"), p);
    auto* lb = new QHBoxLayout(backup);
    lblTituloReinicia = Nomeado(new QLabel(QStringLiteral("Reinicialização do backup:"), backup), "lblTituloReinicia");
    lblReiniciaBackup = Nomeado(new QLabel(backup), "lblReiniciaBackup");
    lblReiniciaBackup->setProperty("valor", true);
    sButton2 = Nomeado(new QPushButton(QStringLiteral("Zerar Backup"), backup), "sButton2");
    connect(sButton2, &QPushButton::clicked, this, &TfrmFerramentas::sButton2Click);
    lb->addWidget(lblTituloReinicia);
    lb->addWidget(lblReiniciaBackup);
    lb->addStretch();
    lb->addWidget(sButton2);

    auto* l = new QVBoxLayout(p);
    l->addWidget(Titulo(QStringLiteral("Banco de Dados Tremond ZR100"), p));
    l->addWidget(resumo);
    l->addWidget(arquivo);
    l->addWidget(backup);
    l->addStretch();
    return p;
}

void TfrmFerramentas::PreencheControles(const Opcoes& o)
{
    edtNome->setText(o.nome);
    edtEndereco->setText(o.endereco);
    edtCidadeEst->setText(o.cidadeEst);
    edtFone->setText(o.telefone);
    chkDadosClinica->setChecked(o.opt1);
    chkNomeMedico->setChecked(o.opt2);
    chkLogoClinica->setChecked(o.opt3);
    EdtIncMap->setText(o.incMap);
    edtValIndConf->setValue(o.indiceConf);
    SpinEditQualidadeImagem->setValue(o.qualidadeImagem);
    edtTVlCentral->setText(o.tvlCentral);
    edtTIncremento->setText(o.tIncremento);
    edtDelayAutoPCaptura->setText(o.delayAutoPCaptura);
    chkAneisAuto->setChecked(o.autoAneis);
    chkAutoExame->setChecked(o.autoExame);
    chkSalvarCaptura->setChecked(o.salvarImagemCaptura);
    chkImgCentral->setChecked(o.imagemCentral);
    chkImgLateral->setChecked(o.imagemLateral);
    chkAutoPCaptura->setChecked(o.autoPCaptura);
    chkExibeGrade->setChecked(o.exibeGrade);
    chkEscalaISO->setChecked(o.escalaISO);
    chkExibeCeratPontual->setChecked(o.exibeCeratPontual);
    // A stored text that is none of the entries leaves the choice empty.
    const int mapa = MapasPadrao().indexOf(o.mapaPadrao);
    if (mapa >= 0)
        m_mapaPadrao->button(mapa)->setChecked(true);
    cbTipoCeratometria->setCurrentIndex(TiposCeratometria().indexOf(o.tipoCeratometria));
    cbCorCeratPontual->setCurrentIndex(CoresCeratPontual().indexOf(o.corCeratPontual));
    (o.personalizado ? rbtDisable : rbtEnable)->setChecked(true);
    rbtEnableClick();
    chkAutoPCapturaClick();
    chkExibeCeratPontualClick();
}

Opcoes TfrmFerramentas::OpcoesDosControles() const
{
    Opcoes o;
    o.nome = edtNome->text();
    o.endereco = edtEndereco->text();
    o.cidadeEst = edtCidadeEst->text();
    o.telefone = edtFone->text();
    o.opt1 = chkDadosClinica->isChecked();
    o.opt2 = chkNomeMedico->isChecked();
    o.opt3 = chkLogoClinica->isChecked();
    o.incMap = EdtIncMap->text();
    o.personalizado = rbtDisable->isChecked();
    o.autoAneis = chkAneisAuto->isChecked();
    o.indiceConf = edtValIndConf->value();
    o.autoExame = chkAutoExame->isChecked();
    o.salvarImagemCaptura = chkSalvarCaptura->isChecked();
    o.mapaPadrao = m_mapaPadrao->checkedButton() ? m_mapaPadrao->checkedButton()->text() : QString();
    o.imagemCentral = chkImgCentral->isChecked();
    o.imagemLateral = chkImgLateral->isChecked();
    o.tipoCeratometria = cbTipoCeratometria->currentIndex() >= 0 ? cbTipoCeratometria->currentText() : QString();
    o.qualidadeImagem = SpinEditQualidadeImagem->value();
    o.idioma = cbxIdioma->currentIndex() >= 0 ? cbxIdioma->currentText() : QString();
    o.tvlCentral = edtTVlCentral->text();
    o.tIncremento = edtTIncremento->text();
    o.autoPCaptura = chkAutoPCaptura->isChecked();
    o.delayAutoPCaptura = edtDelayAutoPCaptura->text();
    o.exibeGrade = chkExibeGrade->isChecked();
    o.escalaISO = chkEscalaISO->isChecked();
    o.exibeCeratPontual = chkExibeCeratPontual->isChecked();
    o.corCeratPontual = cbCorCeratPontual->currentIndex() >= 0 ? cbCorCeratPontual->currentText() : QString();
    return o;
}

void TfrmFerramentas::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_mostrado) {
        m_mostrado = true;
        FormShow();
    }
}

void TfrmFerramentas::FormShow()
{
    tlvMapas->clear();
    for (int i = 0; i + 3 < m_mapas.size(); i += 4) {
        auto* item = new QTreeWidgetItem(tlvMapas, m_mapas.mid(i, 4));
        item->setToolTip(2, m_mapas[i + 2]);
    }
    MostraResumo();
    sButton2->setEnabled(lblBDBackupExames->text() != QLatin1String("0000"));
    pgcFerramentas->setCurrentIndex(0);
}

void TfrmFerramentas::MostraResumo()
{
    ResumoBanco r;
    if (TDMPrincipal::Existe() && TDMPrincipal::Instancia().Conectado())
        r = LeResumoBanco(TDMPrincipal::Instancia());
    lblBDMedicos->setText(Formata0000(r.medicos));
    lblBDIndiceMedicos->setText(Formata0000(r.indiceMedicos));
    lblBDPacientes->setText(Formata0000(r.pacientes));
    lblBDIndicePaciente->setText(Formata0000(r.indicePacientes));
    lblBDExames->setText(Formata0000(r.exames));
    lblBDIndiceExames->setText(Formata0000(r.indiceExames));
    lblBDBackupExames->setText(Formata0000(r.backupExames));
    lblBDLaudos->setText(Formata0000(r.laudos));
    lblBDIndiceLaudos->setText(Formata0000(r.indiceLaudos));
    lblBDBackupLaudos->setText(Formata0000(r.backupLaudos));
}

void TfrmFerramentas::rbtEnableClick()
{
    const bool fixo = rbtDisable->isChecked();
    lblIncMap->setEnabled(fixo);
    EdtIncMap->setEnabled(fixo);
}

void TfrmFerramentas::chkAutoPCapturaClick()
{
    lblDelayAutoPCaptura->setEnabled(chkAutoPCaptura->isChecked());
    edtDelayAutoPCaptura->setEnabled(chkAutoPCaptura->isChecked());
}

void TfrmFerramentas::chkExibeCeratPontualClick()
{
    lblCorCeratPontual->setEnabled(chkExibeCeratPontual->isChecked());
    cbCorCeratPontual->setEnabled(chkExibeCeratPontual->isChecked());
}

bool TfrmFerramentas::eventFilter(QObject* alvo, QEvent* evento)
{
    if (alvo == LogoClinica && evento->type() == QEvent::MouseButtonDblClick) {
        LogoClinicaDblClick();
        return true;
    }
    return QDialog::eventFilter(alvo, evento);
}

void TfrmFerramentas::MostraLogo()
{
    LogoClinica->setPixmap(QPixmap::fromImage(m_logo));
}

void TfrmFerramentas::LogoClinicaDblClick()
{
    const QString arquivo = NomeArquivoParaAbrir(
        this, QStringLiteral("Abrir Logotipo da Clínica"),
        QStringLiteral("Imagens (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf)"));
    if (arquivo.isEmpty())
        return;
    QImageReader leitor(arquivo);
    QImage imagem = leitor.read();
    if (imagem.isNull()) {
        Mensagem(QCoreApplication::applicationName(),
                 QStringLiteral("Não foi possível carregar a imagem \"%1\": %2").arg(arquivo, leitor.errorString()),
                 IconeMensagem::Erro);
        return;
    }
    if (imagem.width() > 100 || imagem.height() > 100) {
        if (Mensagem(kInformacao,
                     QStringLiteral("As dimensões da imagem selecionada são diferente de 100x100.\r\r\nDeseja "
                                    "redimencionar a imagem?"),
                     IconeMensagem::Pergunta, BotoesMensagem::SimNao) != RespostaMensagem::Sim)
            return;
        imagem = imagem.scaled(100, 100, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // A transparent picture is laid on white, as it shows on paper.
    QImage logo(imagem.size(), QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter(&logo).drawImage(0, 0, imagem);
    QString erro;
    if (!GravaBitmap32(logo, ArquivoLogo(), erro)) {
        Mensagem(QStringLiteral("ERRO"),
                 QStringLiteral("Não foi possível gravar o logotipo em \"%1\": %2").arg(ArquivoLogo(), erro),
                 IconeMensagem::Erro);
        return;
    }
    m_logo = logo;
    MostraLogo();
}

void TfrmFerramentas::tlvAplicativosDblClick(int item)
{
    if (item < 0 || item >= Aplicativos().size())
        return;
    const auto aplicativo = Aplicativo(item);
    const Comando c = ComandoAplicativo(aplicativo, PathsZR.DirZR,
                                        Backup::LeTexto(Backup::ArquivoBackupIni(), QStringLiteral("DIRECTCD")),
                                        TBIniSettings::PastaConfiguracao());
    if (aplicativo == Cameras) {
        btnFechar->setEnabled(false);
        Mensagem(QStringLiteral("Atenção"),
                 QStringLiteral("Não esqueça de fechar a aplicação vidsetup antes de voltar ao programa Korvane"),
                 IconeMensagem::Atencao);
    }
    const QString erro = IniciaPrograma(c.programa, c.argumentos);
    if (!erro.isEmpty()) {
        // The camera tool did not start: nothing to re-read when closing.
        btnFechar->setEnabled(!tmrFechar->isActive());
        Mensagem(QCoreApplication::applicationName(), erro, IconeMensagem::Erro);
        return;
    }
    if (aplicativo == Cameras) {
        m_camera = true;
        tmrFechar->start();
    }
}

void TfrmFerramentas::tmrFecharTimer()
{
    tmrFechar->stop();
    btnFechar->setEnabled(true);
}

void TfrmFerramentas::ReleConectores()
{
    if (!m_camera)
        return;
    m_camera = false;
    TBIniSettings ini;
    bool lido = false;
    try {
        lido = ini.LoadAll(3);
    } catch (const ErroSistema&) {
        lido = false;
    }
    if (lido) {
        InfosZR.ConectorCentral = ini.ConectorCentral();
        InfosZR.ConectorLateralD = ini.ConectorLateralD();
        InfosZR.ConectorLateralS = ini.ConectorLateralS();
        Mensagem(kInformacao, QStringLiteral("Cameras configuradas com sucesso"));
    } else {
        Mensagem(kInformacao, QStringLiteral("Erro na abertura do arquivo de inicialização"));
    }
}

void TfrmFerramentas::btnFecharClick()
{
    if (!btnFechar->isEnabled())
        return;
    ReleConectores();
    close();
}

void TfrmFerramentas::sButton2Click()
{
    if (!TDMPrincipal::Existe() || !TDMPrincipal::Instancia().Conectado())
        return;
    int vezes = 0;
    const auto r = Backup::ZeraBackup(TDMPrincipal::Instancia(), Backup::ArquivoBackupIni(), &vezes);
    if (r != Backup::ResultadoZera::Zerado) {
        // The marks may already be gone when only the control file failed: show what is stored.
        MostraResumo();
        Mensagem(QStringLiteral("ERRO"), QStringLiteral("Erro - arquivo de backup não foi zerado."), IconeMensagem::Erro);
        return;
    }
    lblBDBackupExames->setText(QStringLiteral("0000"));
    lblBDBackupLaudos->setText(QStringLiteral("0000"));
    // The label now carries the whole sentence, in the page's own type.
    lblTituloReinicia->setVisible(false);
    lblReiniciaBackup->setProperty("valor", false);
    lblReiniciaBackup->style()->unpolish(lblReiniciaBackup);
    lblReiniciaBackup->style()->polish(lblReiniciaBackup);
    lblReiniciaBackup->setText(TextoReinicializacao(vezes));
    sButton2->setEnabled(false);
    Mensagem(kInformacao, QStringLiteral("Arquivo de backup zerado com sucesso."), IconeMensagem::Informacao);
}

// Writing the options: a bad number keeps the form open and writes nothing.
bool TfrmFerramentas::GravaAoFechar()
{
    Opcoes o = OpcoesDosControles();
    if (const auto invalido = ValidaOpcoes(o)) {
        Mensagem(QStringLiteral("Atenção"), MensagemCampoInvalido(*invalido), IconeMensagem::Atencao);
        pgcFerramentas->setCurrentWidget(tshConfig);
        QLineEdit* campo = invalido->campo == QLatin1String("Incremento fixo:") ? EdtIncMap
                           : invalido->campo == QLatin1String("Valor central:") ? edtTVlCentral
                           : invalido->campo == QLatin1String("Incremento:")    ? edtTIncremento
                                                                                : edtDelayAutoPCaptura;
        campo->setFocus();
        campo->selectAll();
        return false;
    }
    EdtIncMap->setText(o.incMap);
    TBIniSettings ini;
    ini.SelectFile(3);
    try {
        Grava(ini, o);
    } catch (const ErroSistema& e) {
        Mensagem(QStringLiteral("ERRO"), e.Mensagem(), IconeMensagem::Erro);
    }
    // The record follows the file, also after a failed write.
    try {
        if (ini.LoadOptions(3))
            AtualizaInfos(ini, InfosZR);
    } catch (const ErroSistema& e) {
        Mensagem(QStringLiteral("ERRO"), e.Mensagem(), IconeMensagem::Erro);
    }
    return true;
}

void TfrmFerramentas::done(int resultado)
{
    if (!m_fechado) {
        // While the camera tool starts, the form stays open as "Fechar" says.
        if (tmrFechar->isActive())
            return;
        ReleConectores();
        if (!GravaAoFechar())
            return;
        m_fechado = true;
    }
    QDialog::done(resultado);
}
