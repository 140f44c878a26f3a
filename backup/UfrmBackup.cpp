#include "backup/UfrmBackup.h"

#include "backup/UBackup.h"
#include "backup/UModuloBackup.h"
#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMPrincipal.h"
#include "modules/UModulos.h"
#include "platform/UAjuda.h"
#include "platform/UDrives.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>

namespace {

const QString kTitulo = QStringLiteral("Backup");

template <class W>
W* Cria(QWidget* pai, const char* nome, const QRect& r)
{
    auto* w = new W(pai);
    w->setObjectName(QString::fromLatin1(nome));
    w->setGeometry(r);
    return w;
}

QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto, const QRect& r)
{
    auto* l = Cria<QLabel>(pai, nome, r);
    l->setText(texto);
    return l;
}

QPushButton* Botao(QWidget* pai, const char* nome, const QString& texto, const QString& dica, const QRect& r)
{
    auto* b = Cria<QPushButton>(pai, nome, r);
    b->setText(texto);
    b->setToolTip(dica);
    return b;
}

QSpinBox* Contador(QWidget* pai, const char* nome, const char* edicao, int minimo, int maximo, int valor,
                   const QRect& r)
{
    auto* s = Cria<QSpinBox>(pai, nome, r);
    s->setRange(minimo, maximo);
    s->setValue(valor);
    if (auto* e = s->findChild<QLineEdit*>())
        e->setObjectName(QString::fromLatin1(edicao));
    return s;
}

} // namespace

Backup::Ambiente& TfrmBackup::AmbienteMidia()
{
    static Backup::Ambiente a = Backup::AmbientePadrao();
    return a;
}

TfrmBackup::TfrmBackup(QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(kTitulo);
    DefineContextoAjuda(this, 2);
    setFixedSize(470, 470);

    auto* resumo = Cria<QGroupBox>(this, "grpResumo", QRect(10, 8, 450, 190));
    resumo->setTitle(QStringLiteral("Resumo do backup:"));
    Rotulo(resumo, "Label1", QStringLiteral("Exames sem backup:"), QRect(12, 24, 130, 18));
    Label2 = Rotulo(resumo, "Label2", QStringLiteral("0"), QRect(145, 24, 70, 18));
    Rotulo(resumo, "Label3", QStringLiteral("Laudos sem backup:"), QRect(230, 24, 130, 18));
    Label4 = Rotulo(resumo, "Label4", QStringLiteral("0"), QRect(363, 24, 70, 18));
    memDetalhes = Cria<QPlainTextEdit>(resumo, "memDetalhes", QRect(12, 48, 426, 132));
    memDetalhes->setReadOnly(true);

    rgrBackupAutomatico = Cria<QGroupBox>(this, "rgrBackupAutomatico", QRect(10, 204, 450, 110));
    rgrBackupAutomatico->setTitle(QStringLiteral("Backup automático:"));
    rbtPeriodo = Cria<QRadioButton>(rgrBackupAutomatico, "rbtPeriodo", QRect(12, 22, 160, 22));
    rbtPeriodo->setText(QStringLiteral("No período de..."));
    UpDown1 = Contador(rgrBackupAutomatico, "UpDown1", "edtPeriodo", 1, 30, 5, QRect(180, 22, 60, 22));
    cbxPeriodo = Cria<QComboBox>(rgrBackupAutomatico, "cbxPeriodo", QRect(248, 22, 90, 22));
    cbxPeriodo->addItems({QStringLiteral("Dias"), QStringLiteral("Meses")});
    rbtExames = Cria<QRadioButton>(rgrBackupAutomatico, "rbtExames", QRect(12, 50, 160, 22));
    rbtExames->setText(QStringLiteral("Efetuar backup a cada"));
    UpDown2 = Contador(rgrBackupAutomatico, "UpDown2", "edtExames", 1, 10000, 200, QRect(180, 50, 70, 22));
    Rotulo(rgrBackupAutomatico, "Label5", QStringLiteral("exames."), QRect(258, 50, 80, 22));
    rbtNunca = Cria<QRadioButton>(rgrBackupAutomatico, "rbtNunca", QRect(12, 78, 160, 22));
    rbtNunca->setText(QStringLiteral("Nunca"));
    rbtPeriodo->setChecked(true);

    pgbBackup = Cria<QProgressBar>(this, "pgbBackup", QRect(10, 322, 450, 18));
    pgbBackup->setValue(0);
    lblStatusBkp = Rotulo(this, "lblStatusBkp", QString(), QRect(10, 346, 450, 18));
    lblAvisoBackup = Rotulo(this, "lblAvisoBackup", QString(), QRect(10, 366, 450, 36));
    lblAvisoBackup->setWordWrap(true);
    lblAvisoBackup->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblAvisoBackup->hide();

    btnINI = Botao(this, "btnINI", QStringLiteral("Iniciar"), QStringLiteral("Iniciar backup"), QRect(10, 420, 105, 30));
    btnRES = Botao(this, "btnRES", QStringLiteral("Restaurar"), QStringLiteral("Recuperar backup efetuado"),
                   QRect(125, 420, 105, 30));
    btnFEC = Botao(this, "btnFEC", QStringLiteral("Fechar"), QStringLiteral("Fechar tela de backup"),
                   QRect(240, 420, 105, 30));
    btnAJU = Botao(this, "btnAJU", QStringLiteral("Ajuda"), QString(), QRect(355, 420, 105, 30));
    btnIniciarBkp = Botao(this, "btnIniciarBkp", QStringLiteral("Iniciar"), QString(), QRect(0, 0, 10, 10));
    btnRestaurar = Botao(this, "btnRestaurar", QStringLiteral("Restaurar"), QString(), QRect(0, 0, 10, 10));
    sbtFechar = Botao(this, "sbtFechar", QStringLiteral("Fechar"), QString(), QRect(0, 0, 10, 10));
    for (QPushButton* b : {btnIniciarBkp, btnRestaurar, sbtFechar})
        b->hide();
    for (QPushButton* b : {btnINI, btnIniciarBkp})
        connect(b, &QPushButton::clicked, this, &TfrmBackup::btnIniciarBkpClick);
    for (QPushButton* b : {btnRES, btnRestaurar})
        connect(b, &QPushButton::clicked, this, &TfrmBackup::btnRestaurarClick);
    for (QPushButton* b : {btnFEC, sbtFechar})
        connect(b, &QPushButton::clicked, this, &TfrmBackup::sbtFecharClick);

    if (const QScreen* tela = screen())
        move(tela->availableGeometry().center() - rect().center());
}

void TfrmBackup::Status(const QString& texto)
{
    lblStatusBkp->setText(texto);
    if (isVisible())
        lblStatusBkp->repaint();
}

void TfrmBackup::Avanca(int valor)
{
    pgbBackup->setValue(valor);
    if (isVisible())
        pgbBackup->repaint();
}

void TfrmBackup::MostraAviso()
{
    lblAvisoBackup->setText(Backup::AvisoExcluidos());
    lblAvisoBackup->show();
}

void TfrmBackup::CarregaStatusBackup()
{
    memDetalhes->clear();
    DriveRoot.clear();
    StatusModulo.clear();
    const Backup::InfoModulo info = Backup::ChamaInfoBackup(this);
    if (info.presente) {
        // The medium is the destination folder: it is what the "Drive: " line shows.
        StatusModulo = info.status;
        const QString destino = Backup::Destino(Backup::ArquivoBackupIni());
        DriveRoot = info.letra != 0 ? destino : QString();
        QStringList linhas = info.status;
        linhas << QStringLiteral("Drive: ") + destino;
        memDetalhes->setPlainText(linhas.join(u'\n'));
    }
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    const int exames = TDExames(dm).ContaExamesSemBackup();
    const int laudos = TDLaudos(dm).ContaLaudosSemBackup();
    Label2->setText(QString::number(exames));
    Label4->setText(QString::number(laudos));
    btnINI->setEnabled(exames > 0 || laudos > 0);
    btnIniciarBkp->setEnabled(btnINI->isEnabled());
}

void TfrmBackup::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    rbtPeriodo->setFocus();
    cbxPeriodo->setCurrentIndex(qBound(0, InfosZR.BackupUnidade, 1));
    UpDown1->setValue(InfosZR.BackupPeriodo > 0 ? InfosZR.BackupPeriodo : 5);
    UpDown2->setValue(InfosZR.BackupExames > 0 ? InfosZR.BackupExames : 200);
    if (InfosZR.BackupAuto == 1)
        rbtPeriodo->setChecked(true);
    else if (InfosZR.BackupAuto == 2)
        rbtExames->setChecked(true);
    else
        rbtNunca->setChecked(true);
    CarregaStatusBackup();
    if (Automatico)
        btnIniciarBkpClick();
}

void TfrmBackup::sbtFecharClick()
{
    InfosZR.BackupAuto = rbtNunca->isChecked() ? 0 : rbtExames->isChecked() ? 2 : 1;
    InfosZR.BackupPeriodo = UpDown1->value();
    InfosZR.BackupUnidade = cbxPeriodo->currentIndex();
    InfosZR.BackupExames = UpDown2->value();
    TBIniSettings ini;
    ini.SelectFile(3);
    const QString secao = QStringLiteral("BACKUP");
    ini.WriteValue(TipoValorIni::Str, secao, QStringLiteral("AUTO"), false, QString::number(InfosZR.BackupAuto));
    ini.WriteValue(TipoValorIni::Str, secao, QStringLiteral("AUTO_OP1_1"), false, QString::number(InfosZR.BackupPeriodo));
    ini.WriteValue(TipoValorIni::Str, secao, QStringLiteral("AUTO_OP1_2"), false, QString::number(InfosZR.BackupUnidade));
    ini.WriteValue(TipoValorIni::Str, secao, QStringLiteral("AUTO_OP2"), false, QString::number(InfosZR.BackupExames));
    accept();
}

void TfrmBackup::btnIniciarBkpClick()
{
    if (ExecutaBackup()) {
        Mensagem(kTitulo, QStringLiteral("Backup dos Exames e Laudos concluído com êxito"), IconeMensagem::Informacao);
        Status(QStringLiteral("Backup finalizado!"));
    }
}

// The backup from the lists to the database copy; true when everything was done.
bool TfrmBackup::ExecutaBackup()
{
    using namespace Backup;
    if (!ModuloPresente()) {
        Mensagem(kTitulo, QStringLiteral("O módulo de backup não foi encontrado ou está incompleto.\r\nNenhum backup "
                                         "foi feito."),
                 IconeMensagem::Erro);
        return false;
    }
    TDMPrincipal& dm = TDMPrincipal::Instancia();

    Status(QStringLiteral("Preparando exames..."));
    int passo = 0;
    pgbBackup->setMaximum(qMax(1, TDExames(dm).ContaExamesSemBackup()));
    Avanca(0);
    const Lista exames = PreparaExames(dm, PathsZR.Exames, [&] { Avanca(++passo); });
    if (!exames.valida) {
        Mensagem(kTitulo, MensagemRaizIlegivel(PathsZR.Exames), IconeMensagem::Erro);
        return false;
    }
    if (!exames.log.isEmpty()) {
        GravaArquivoTexto(ArquivoLogExames(), exames.log);
        MostraAviso();
    }
    Status(QStringLiteral("Preparando laudos..."));
    pgbBackup->setMaximum(qMax(1, TDLaudos(dm).ContaLaudosSemBackup()));
    Avanca(0);
    const Lista laudos = PreparaLaudos(dm, PathsZR.Laudos);
    if (!laudos.valida) {
        Mensagem(kTitulo, MensagemRaizIlegivel(PathsZR.Laudos), IconeMensagem::Erro);
        return false;
    }
    if (!laudos.log.isEmpty()) {
        GravaArquivoTexto(ArquivoLogLaudos(), laudos.log);
        MostraAviso();
    }
    Status(QStringLiteral("Preparação concluída. Realizando backup..."));

    const ResultadoCriar r = ChamaCriarBackup(this, exames.arquivos, laudos.arquivos, PathsZR.Exames, PathsZR.Laudos);
    if (!r.presente || r.retorno == -1)
        return false;
    if (GravaMarcas(dm, Tabela::Exames, exames.codigos, r.marcasExames) == ResultadoMarcas::MarcaLonga ||
        GravaMarcas(dm, Tabela::Laudos, laudos.codigos, r.marcasLaudos) == ResultadoMarcas::MarcaLonga) {
        Mensagem(kTitulo, MensagemMarcaLonga(), IconeMensagem::Erro);
        CarregaStatusBackup();
        return false;
    }
    CarregaStatusBackup();

    // The database copy goes to the module's destination folder.
    const QString ini = ArquivoBackupIni();
    const QString destino = Destino(ini);
    if (!ConsultaDrive(destino).pronto) {
        Mensagem(kTitulo, QStringLiteral("O destino do backup \"%1\" não está disponível.\r\nA cópia do banco de dados "
                                         "não foi feita.")
                              .arg(destino),
                 IconeMensagem::Erro);
        return false;
    }
    // Too little room: a new medium, asked for again until there is room or the user cancels.
    while (ConsultaDrive(destino).livre / 1024 < EspacoNecessario(PathsZR.BancoDados, ini)) {
        const FimPreparacao fim = PreparaNovaMidia(destino, ini, AmbienteMidia());
        if (fim == FimPreparacao::Encerra)
            return false;
        if (fim == FimPreparacao::Cancelada)
            break;
    }
    Status(QStringLiteral("Copiando o banco de dados..."));
    try {
        CopiaBanco(dm.NomeBanco(), destino, ini, PathsZR.DirZR, [this](const QString&) {
            pgbBackup->setMaximum(0);
            if (isVisible())
                pgbBackup->repaint();
        });
    } catch (const ErroSistema& e) {
        pgbBackup->setMaximum(100);
        Mensagem(kTitulo, e.Mensagem(), IconeMensagem::Erro);
        return false;
    }
    pgbBackup->setMaximum(100);
    Avanca(100);
    return true;
}

void TfrmBackup::btnRestaurarClick()
{
    using namespace Backup;
    if (Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Atenção!!! Esta operação irá substituir todos os exames\r\natuais pelos exames "
                                "armazenados no último backup realizado.\r\r\nQualquer dúvida entrar em contato com o "
                                "nosso suporte técnico."),
                 IconeMensagem::Informacao, BotoesMensagem::OkCancelar) == RespostaMensagem::Cancelar)
        return;
    if (!ModuloPresente()) {
        Mensagem(kTitulo, QStringLiteral("O módulo de backup não foi encontrado ou está incompleto.\r\nNada foi "
                                         "restaurado."),
                 IconeMensagem::Erro);
        return;
    }
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    const QString ini = ArquivoBackupIni();
    const QString destino = Destino(ini);
    Status(QStringLiteral("Conferindo o backup..."));
    QString novo;
    try {
        pgbBackup->setMaximum(0); // busy while the engine restores and checks the copy
        novo = PreparaBancoRestaurado(destino, dm.NomeBanco(), [this](const QString&) {
            if (isVisible())
                pgbBackup->repaint();
        });
        pgbBackup->setMaximum(100);
    } catch (const ErroSistema& e) {
        pgbBackup->setMaximum(100);
        Status(QString());
        Mensagem(kTitulo, e.Mensagem(), IconeMensagem::Erro);
        return;
    }
    if (ChamaRestaurarBackup(this, PathsZR.Exames, PathsZR.Laudos) == -1) {
        QFile::remove(novo);
        Status(QString());
        return;
    }
    if (!TrocaBanco(dm, novo)) {
        Mensagem(kTitulo, QStringLiteral("Não foi possível abrir o banco de dados restaurado; o banco de dados "
                                         "anterior foi mantido."),
                 IconeMensagem::Erro);
        return;
    }
    try {
        RestauraControle(destino, ini);
    } catch (const ErroSistema& e) {
        Mensagem(kTitulo, e.Mensagem(), IconeMensagem::Atencao);
    }
    CarregaStatusBackup();
    Status(QString());
    Mensagem(kTitulo, QStringLiteral("Restauração concluída com êxito"), IconeMensagem::Informacao);
}

void TfrmBackup::OfereceBackupAutomatico()
{
    if (Mensagem(QStringLiteral("Informação"), QStringLiteral("Backup automático inicializado... deseja continuar?"),
                 IconeMensagem::Pergunta, BotoesMensagem::SimNao) != RespostaMensagem::Sim)
        return;
    Automatico = true;
    AbreJanelaModal(this);
    Automatico = false;
}
