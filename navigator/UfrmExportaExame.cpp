#include "navigator/UfrmExportaExame.h"

#include "common/UErros.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T* Nomeado(T* w, const char* nome)
{
    w->setObjectName(QLatin1String(nome));
    return w;
}

} // namespace

TfrmExportaExame::TfrmExportaExame(const ExameParaExportar& exame, const QString& legenda, const QString& arquivoIni,
                                   QWidget* pai)
    : QDialog(pai), m_exame(exame), m_arquivoIni(arquivoIni), m_pacs(LeConfiguracaoPacs(arquivoIni))
{
    setObjectName(QStringLiteral("frmExportaExame"));
    setWindowTitle(QStringLiteral("Exportar exame"));
    auto* l = new QVBoxLayout(this);
    auto* titulo = Nomeado(new QLabel(QStringLiteral("<b>%1</b> &nbsp; %2")
                                          .arg(exame.identificacao.nome.toHtmlEscaped(), legenda.toHtmlEscaped())),
                           "lblExame");
    l->addWidget(titulo);

    auto* numeros = new QGroupBox(QStringLiteral("Números do exame"));
    auto* ln = new QVBoxLayout(numeros);
    cbNumeros = Nomeado(new QCheckBox(QStringLiteral("Grade de anéis, ceratometria e índices (JSON e CSV)")), "cbNumeros");
    cbNumeros->setChecked(true);
    cbIdentificacao = Nomeado(new QCheckBox(QStringLiteral("Incluir identificação do paciente")), "cbIdentificacao");
    cbIdentificacao->setToolTip(QStringLiteral("Nome, RG, CPF e data de nascimento. Desmarcado, o arquivo não "
                                               "identifica o paciente."));
    ln->addWidget(cbNumeros);
    ln->addWidget(cbIdentificacao);
    l->addWidget(numeros);

    auto* dicom = new QGroupBox(QStringLiteral("Imagens DICOM"));
    auto* ld = new QGridLayout(dicom);
    cbMapa = Nomeado(new QCheckBox(QStringLiteral("Mapa axial")), "cbMapa");
    cbFoto = Nomeado(new QCheckBox(QStringLiteral("Imagem da câmera central")), "cbFoto");
    cbLaudo = Nomeado(new QCheckBox(QStringLiteral("Laudo (PDF):")), "cbLaudo");
    cbMapa->setChecked(!exame.mapa.isNull());
    cbMapa->setEnabled(!exame.mapa.isNull());
    cbFoto->setChecked(!exame.jpegCentral.isEmpty());
    cbFoto->setEnabled(!exame.jpegCentral.isEmpty());
    edtLaudo = Nomeado(new QLineEdit, "edtLaudo");
    edtLaudo->setPlaceholderText(QStringLiteral("PDF salvo pela visualização do laudo"));
    btnLaudo = Nomeado(new QToolButton, "btnLaudo");
    btnLaudo->setText(QStringLiteral("..."));
    ld->addWidget(cbMapa, 0, 0);
    ld->addWidget(cbFoto, 0, 1, 1, 2);
    ld->addWidget(cbLaudo, 1, 0);
    ld->addWidget(edtLaudo, 1, 1);
    ld->addWidget(btnLaudo, 1, 2);
    l->addWidget(dicom);

    auto* destino = new QGroupBox(QStringLiteral("Destino"));
    auto* lg = new QGridLayout(destino);
    edtPasta = Nomeado(new QLineEdit, "edtPasta");
    edtPasta->setPlaceholderText(QStringLiteral("Pasta para os arquivos"));
    btnPasta = Nomeado(new QToolButton, "btnPasta");
    btnPasta->setText(QStringLiteral("..."));
    cbDicomPasta = Nomeado(new QCheckBox(QStringLiteral("Gravar as imagens DICOM na pasta")), "cbDicomPasta");
    cbDicomdir = Nomeado(new QCheckBox(QStringLiteral("Com DICOMDIR (CD ou pendrive)")), "cbDicomdir");
    cbPacs = Nomeado(new QCheckBox(QStringLiteral("Enviar as imagens DICOM ao arquivo de imagens (PACS)")), "cbPacs");
    lblPacs = Nomeado(new QLabel, "lblPacs");
    lblPacs->setText(m_pacs.Completa() ? QStringLiteral("%1 em %2:%3").arg(m_pacs.aeArquivo, m_pacs.host).arg(m_pacs.porta)
                                       : QStringLiteral("não configurado (seção PACS das configurações)"));
    btnTestarConexao = Nomeado(new QPushButton(QStringLiteral("Testar conexão")), "btnTestarConexao");
    lg->addWidget(new QLabel(QStringLiteral("Pasta:")), 0, 0);
    lg->addWidget(edtPasta, 0, 1, 1, 2);
    lg->addWidget(btnPasta, 0, 3);
    lg->addWidget(cbDicomPasta, 1, 0, 1, 2);
    lg->addWidget(cbDicomdir, 1, 2, 1, 2);
    lg->addWidget(cbPacs, 2, 0, 1, 4);
    lg->addWidget(lblPacs, 3, 1, 1, 2);
    lg->addWidget(btnTestarConexao, 3, 3);
    lg->setColumnStretch(1, 1);
    l->addWidget(destino);

    lblMensagem = Nomeado(new QLabel, "lblMensagem");
    lblMensagem->setWordWrap(true);
    lblMensagem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMensagem->setMinimumHeight(110);
    lblMensagem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->addWidget(lblMensagem, 1);

    auto* botoes = new QHBoxLayout;
    btnExportar = Nomeado(new QPushButton(QStringLiteral("Exportar")), "btnExportar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar")), "btnFechar");
    btnExportar->setDefault(true);
    botoes->addStretch();
    botoes->addWidget(btnExportar);
    botoes->addWidget(btnFechar);
    l->addLayout(botoes);
    setMinimumWidth(560);

    for (QCheckBox* c : {cbNumeros, cbMapa, cbFoto, cbLaudo, cbDicomPasta, cbPacs})
        connect(c, &QCheckBox::toggled, this, &TfrmExportaExame::AtualizaControles);
    connect(btnExportar, &QPushButton::clicked, this, &TfrmExportaExame::btnExportarClick);
    connect(btnTestarConexao, &QPushButton::clicked, this, &TfrmExportaExame::btnTestarConexaoClick);
    connect(btnPasta, &QToolButton::clicked, this, &TfrmExportaExame::btnPastaClick);
    connect(btnLaudo, &QToolButton::clicked, this, &TfrmExportaExame::btnLaudoClick);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    AtualizaControles();
}

PedidoExportacao TfrmExportaExame::Pedido() const
{
    PedidoExportacao p;
    p.numeros = cbNumeros->isChecked();
    p.identificacao = cbIdentificacao->isChecked();
    p.mapa = cbMapa->isChecked();
    p.foto = cbFoto->isChecked();
    p.laudo = cbLaudo->isChecked();
    p.arquivoLaudo = edtLaudo->text().trimmed();
    p.dicomPasta = cbDicomPasta->isChecked();
    p.dicomdir = cbDicomdir->isChecked();
    p.enviarPacs = cbPacs->isChecked();
    p.pasta = edtPasta->text().trimmed();
    return p;
}

QString TfrmExportaExame::UltimaMensagem() const { return lblMensagem->text(); }

void TfrmExportaExame::AtualizaControles()
{
    cbIdentificacao->setEnabled(cbNumeros->isChecked());
    const bool dicom = cbMapa->isChecked() || cbFoto->isChecked() || cbLaudo->isChecked();
    edtLaudo->setEnabled(cbLaudo->isChecked());
    btnLaudo->setEnabled(cbLaudo->isChecked());
    cbDicomPasta->setEnabled(dicom);
    cbDicomdir->setEnabled(dicom && cbDicomPasta->isChecked());
    cbPacs->setEnabled(dicom);
    btnTestarConexao->setEnabled(m_pacs.Completa());
}

void TfrmExportaExame::MostraResultado(const QString& texto, bool erro)
{
    lblMensagem->setStyleSheet(erro ? QStringLiteral("color: #b00000;") : QStringLiteral("color: #004080;"));
    lblMensagem->setText(texto);
}

void TfrmExportaExame::btnExportarClick()
{
    const PedidoExportacao pedido = Pedido();
    const QString problema = ProblemaPedido(pedido, m_pacs);
    if (!problema.isEmpty()) {
        MostraResultado(problema, true);
        Mensagem(QStringLiteral("Exportar exame"), problema, IconeMensagem::Atencao);
        return;
    }
    // The progress shows only when the run takes more than half a second.
    QProgressDialog progresso(QStringLiteral("Exportando..."), QString(), 0, 1, this);
    progresso.setObjectName(QStringLiteral("dlgProgressoExportacao"));
    progresso.setWindowTitle(QStringLiteral("Exportar exame"));
    progresso.setWindowModality(Qt::WindowModal);
    progresso.setMinimumDuration(500);
    progresso.setValue(0);
    try {
        const QString texto = ExecutaExportacao(pedido, m_exame, m_pacs, [&](int passo, int total, const QString& t) {
            progresso.setMaximum(total);
            progresso.setLabelText(t);
            progresso.setValue(passo);
            QCoreApplication::processEvents();
        });
        progresso.setValue(progresso.maximum());
        MostraResultado(texto, false);
    } catch (const ErroSistema& e) {
        progresso.cancel();
        MostraResultado(e.Mensagem(), true);
        Mensagem(QStringLiteral("Erro"), e.Mensagem(), IconeMensagem::Erro);
    }
}

void TfrmExportaExame::btnTestarConexaoClick()
{
    try {
        TestaConexaoPacs(m_pacs);
        MostraResultado(QStringLiteral("Conexão com o arquivo de imagens %1 (%2:%3) confirmada.")
                            .arg(m_pacs.aeArquivo, m_pacs.host)
                            .arg(m_pacs.porta),
                        false);
    } catch (const ErroSistema& e) {
        MostraResultado(e.Mensagem(), true);
        Mensagem(QStringLiteral("Erro"), e.Mensagem(), IconeMensagem::Erro);
    }
}

void TfrmExportaExame::btnPastaClick()
{
    QFileDialog dialogo(this, QStringLiteral("Pasta de destino"));
    dialogo.setObjectName(QStringLiteral("dlgPastaExportacao"));
    dialogo.setFileMode(QFileDialog::Directory);
    dialogo.setOption(QFileDialog::ShowDirsOnly);
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    if (!edtPasta->text().isEmpty())
        dialogo.setDirectory(edtPasta->text());
    if (AbreJanelaModal(&dialogo) == QDialog::Accepted && !dialogo.selectedFiles().isEmpty())
        edtPasta->setText(dialogo.selectedFiles().constFirst());
}

void TfrmExportaExame::btnLaudoClick()
{
    QFileDialog dialogo(this, QStringLiteral("Laudo em PDF"));
    dialogo.setObjectName(QStringLiteral("dlgLaudoExportacao"));
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.setNameFilter(QStringLiteral("Documento PDF (*.pdf)"));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    if (AbreJanelaModal(&dialogo) == QDialog::Accepted && !dialogo.selectedFiles().isEmpty()) {
        edtLaudo->setText(dialogo.selectedFiles().constFirst());
        cbLaudo->setChecked(true);
    }
}
