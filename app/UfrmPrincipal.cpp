#include "app/UfrmPrincipal.h"

#include "config/UArquivoIni.h"

#include "app/UAplicacao.h"
#include "calibration/UfrmCalib.h"
#include "config/UfrmFerramentas.h"
#include "app/UArte.h"
#include "app/UBRegConfig.h"
#include "app/UfrmIniciando.h"
#include "app/UfrmSobre.h"
#include "backup/UBackup.h"
#include "backup/UfrmBackup.h"
#include "common/UFormatos.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "examfiles/UArquivosExame.h"
#include "modules/UModulos.h"
#include "modules/USondaModulo.h"
#include "navigator/UfrmExames.h"
#include "platform/UAjuda.h"
#include "platform/UBVersionInfo.h"
#include "platform/UEncerramento.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "registry/UfrmCadastroMedicos.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace {
// Puts the bar at a value and lets the window show it.
void Barra(TfrmIniciando* p, int valor)
{
    if (p) {
        p->PBProgress->setValue(valor);
        p->repaint();
    }
}
void Passo(TfrmIniciando* p, QLabel* TfrmIniciando::*img)
{
    if (p) {
        (p->*img)->show();
        p->repaint();
    }
}
} // namespace

void AreaClicavel::mouseReleaseEvent(QMouseEvent*) { emit clicked(); }

TfrmPrincipal::TfrmPrincipal(QWidget* pai) : QWidget(pai, Qt::FramelessWindowHint | Qt::Window)
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("KORVANE32M"));
    setAttribute(Qt::WA_DeleteOnClose);
    DefineContextoAjuda(this, 1);

    // Program-wide formats: "." decimal separator, "dd/MM/yyyy", "HH:mm:ss".
    QLocale::setDefault(QLocale::c());

    // The regional guard forces the user's settings for the run.
    m_regConfig = std::make_unique<TBRegConfig>();
    m_regConfig->SalvaRegional();
    m_regConfig->DefineRegional(QStringLiteral("."), QStringLiteral("dd/MM/yyyy"), QStringLiteral(","),
                                QStringLiteral("HH:mm:ss"), QString(), QString());
    m_regConfig->AplicaRegional();

    setFixedSize(800, 600);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Arte::FundoMenuPrincipal());
    Image1->setGeometry(0, 0, 801, 601);

    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPixelSize(16);
    fonte.setBold(true);
    struct Botao {
        QPushButton** campo;
        const char* nome;
        const char* texto;
        int topo;
        void (TfrmPrincipal::*acao)();
    };
    const Botao botoes[] = {
        {&btnBrowser, "btnBrowser", "Navegador", 206, &TfrmPrincipal::btnBrowserClick},
        {&btnDoctor, "btnDoctor", "Médicos", 260, &TfrmPrincipal::btnDoctorClick},
        {&btnCalibration, "btnCalibration", "Calibração", 314, &TfrmPrincipal::btnCalibrationClick},
        {&btnTools, "btnTools", "Ferramentas", 369, &TfrmPrincipal::btnToolsClick},
        {&btnBackup, "btnBackup", "Backup", 423, &TfrmPrincipal::btnBackupClick},
        {&btnHelp, "btnHelp", "Ajuda", 477, &TfrmPrincipal::btnHelpClick},
        {&btnExit, "btnExit", "Sair", 531, &TfrmPrincipal::btnExitClick},
    };
    for (const Botao& b : botoes) {
        auto* botao = new QPushButton(QString::fromUtf8(b.texto), this);
        botao->setObjectName(QString::fromLatin1(b.nome));
        botao->setGeometry(66, b.topo, 130, 35);
        botao->setFont(fonte);
        botao->setCursor(Qt::PointingHandCursor);
        botao->setStyleSheet(QStringLiteral(
            "QPushButton { color: #0a203e; background: qlineargradient(x1:0,y1:0,x2:0,y2:1,"
            " stop:0 #ffffff, stop:1 #d6e6f2); border: 1px solid #9fc0d8; border-radius: 6px; }"
            "QPushButton:hover { background: qlineargradient(x1:0,y1:0,x2:0,y2:1,"
            " stop:0 #ffffff, stop:1 #bfe3f1); border-color: #40b6d6; }"
            "QPushButton:pressed { background: #a9d4e8; }"));
        connect(botao, &QPushButton::clicked, this, b.acao);
        *b.campo = botao;
    }

    imgSobre = new AreaClicavel(this);
    imgSobre->setObjectName(QStringLiteral("imgSobre"));
    imgSobre->setGeometry(32, 32, 737, 113);
    imgSobre->setCursor(Qt::PointingHandCursor);
    connect(imgSobre, &AreaClicavel::clicked, this, &TfrmPrincipal::imgSobreClick);
    Image3 = new AreaClicavel(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(568, 504, 233, 97);
    Image3->setCursor(Qt::PointingHandCursor);
    connect(Image3, &AreaClicavel::clicked, this, &TfrmPrincipal::Image3Click);

    if (QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState e) {
        if (e == Qt::ApplicationActive)
            ApplicationEventsActivate();
    });
}

TfrmPrincipal::~TfrmPrincipal() = default;

QString TfrmPrincipal::SiteFabricante() { return QStringLiteral("https://korvane.example/"); }

QString TfrmPrincipal::ProgramaAjudaExterno()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ajuda/Korvane32_Help");
}

void TfrmPrincipal::changeEvent(QEvent* evento)
{
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow())
        ApplicationEventsActivate();
}

void TfrmPrincipal::ApplicationEventsActivate()
{
    if (!Started && !m_iniciando && !m_partidaFalhou)
        StartUp();
}

void TfrmPrincipal::Repinta(QWidget* w)
{
    if (w && w->isVisible())
        w->repaint();
}

void TfrmPrincipal::StartUp()
{
    // Message boxes shown during start-up activate the application again; those
    // activations must not start it a second time, nor one after it has failed.
    if (m_iniciando || m_partidaFalhou)
        return;
    m_iniciando = true;
    struct Fim {
        bool& f;
        ~Fim() { f = false; }
    } fim{m_iniciando};

    // No error leaves the start-up: it may run from a signal of the window system, where an
    // exception would end the program. A start-up that cannot complete says why and closes
    // the program with exit code 1.
    try {
        EtapasPartida();
    } catch (const ErroSistema& e) {
        FalhaPartida(e.Mensagem());
    } catch (const std::exception& e) {
        FalhaPartida(QString::fromLocal8Bit(e.what()));
    }
}

void TfrmPrincipal::FalhaPartida(const QString& texto)
{
    m_partidaFalhou = true;
    delete m_progresso.data();
    TAplicacao::RelataErro(texto);
    close();
    QCoreApplication::exit(1);
}

void TfrmPrincipal::EtapasPartida()
{
    if (!m_versao) {
        m_versao = std::make_unique<TBVersionInfo>();
        m_versao->LeVersao(TBVersionInfo::ExecutavelPrograma());
    }
    m_ini = std::make_unique<TBIniSettings>();
    InfosZR.Modelo = 3;
    if (!m_ini->LoadAll(3)) {
        m_partidaFalhou = true;
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Erro ao carregar o arquivo de configuração"),
                 IconeMensagem::Atencao);
        close();
        QCoreApplication::exit(1);
        return;
    }
    // A settings file that cannot be written (read-only) does not stop the program: the
    // failed write is said once.
    QString falhaGravacao;
    PreencheRegistrosZR(*m_ini, InfosZR, PathsZR, &falhaGravacao);
    if (!falhaGravacao.isEmpty())
        Mensagem(QStringLiteral("Atenção"), falhaGravacao, IconeMensagem::Atencao);
    RemoveTemporariosExame(PathsZR.Exames);

    Repinta(this);
    if (!m_progresso)
        m_progresso = new TfrmIniciando(this);
    m_progresso->show();
    m_progresso->repaint();

    // Closing the progress window frees it; the next start-up creates a new one.
    auto fechamento = [this] {
        delete m_progresso.data();
        CheckAutoBackup();
    };
    try {
        ConnectDatabase();
        LocateModules();
        StartModules();
        Started = true;
    } catch (...) {
        delete m_progresso.data();
        throw;
    }
    fechamento();
    qInfo("Partida concluída.");
}

void TfrmPrincipal::ConnectDatabase()
{
    Passo(m_progresso, &TfrmIniciando::ImgStep1);
    Barra(m_progresso, 0);
    try {
        TDMPrincipal& dm = TDMPrincipal::Instancia();
        // A server installation may give its own database user; the password is never
        // written anywhere else.
        // Keys that are not there leave the installed database's password sequence.
        const ArquivoIni::Indice indice = ArquivoIni::Indice::DeArquivo(m_ini->FileName());
        QString usuario, senha;
        if (indice.Le(QStringLiteral("SERVIDOR"), QStringLiteral("USUARIO"), usuario))
            indice.Le(QStringLiteral("SERVIDOR"), QStringLiteral("SENHA"), senha);
        else
            usuario.clear();
        dm.DefineCredenciais(usuario, senha);
        if (!dm.PSetDataBaseName(CaminhoEm(PathsZR.BancoDados, QStringLiteral("DATABASE.GDB")))) {
            // The cause, when known, on a line of its own after the usual text.
            const QString causa = dm.CausaFalhaConexao();
            Mensagem(QStringLiteral("Informação"),
                     QStringLiteral("Não foi possível conectar com o banco de dados, entre em contato com o "
                                    "nosso suporte técnico. \rSuporte técnico: 0800 555 0142.")
                         + (causa.isEmpty() ? QString() : u'\r' + causa),
                     IconeMensagem::Atencao);
        }
    } catch (...) {
        Barra(m_progresso, 50);
        throw;
    }
    // The embedded engine sets its own handlers of the stop signals when it attaches.
    EncerramentoPorSinal::Reinstala();
    Barra(m_progresso, 50);
    Passo(m_progresso, &TfrmIniciando::ImgStep2);
    Barra(m_progresso, 100);
}

void TfrmPrincipal::CriaNavegador()
{
    if (!m_navegador) {
        m_navegador = new TfrmExames(this);
        m_navegador->setWindowFlag(Qt::Window);
    }
}

void TfrmPrincipal::LocateModules()
{
    if (QFileInfo(PathsZR.DirMapas).isDir()) {
        Passo(m_progresso, &TfrmIniciando::ImgStep3);
        Barra(m_progresso, 0);
        CriaNavegador();
        RegisterMapModules(PathsZR.DirMapas, true);
    }
    Barra(m_progresso, 100);
}

void TfrmPrincipal::RegisterMapModules(const QString& pasta, bool comProgresso)
{
    InstalledMaps.clear();
    m_contadorImagens = 1;
    TfrmIniciando* progresso = comProgresso ? m_progresso.data() : nullptr;

    // Regular files (or links to them) named "*.so"; anything else in the folder is skipped.
    QStringList arquivos;
    const QFileInfoList entradas = QDir(pasta).entryInfoList({QStringLiteral("*.so")},
                                                             QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entradas) {
        const QString nome = e.fileName();
        const bool soOrto = nome == QStringLiteral("TangencialOrto.so") || nome == QStringLiteral("MultiOrto.so");
        if (!soOrto || m_versao->OrthoEdition())
            arquivos << nome;
        if (progresso)
            progresso->Avanca(6);
    }
    arquivos.sort(Qt::CaseInsensitive);
    // Modules are tried in a child process first (once per file content): one that crashed
    // or hung there is left out and named, and the start-up goes on.
    QStringList caminhos;
    for (const QString& a : std::as_const(arquivos))
        caminhos << CaminhoEm(pasta, a);
    const auto vereditos = SondaModulo::Vereditos(caminhos);
    for (auto it = arquivos.crbegin(); it != arquivos.crend(); ++it) {
        if (vereditos.value(CaminhoEm(pasta, *it)) == SondaModulo::Veredito::Falhou)
            Mensagem(QStringLiteral("Atenção"),
                     QStringLiteral("O módulo de mapa '%1' falhou ao ser carregado e foi ignorado.").arg(*it),
                     IconeMensagem::Atencao);
        else
            RegisterMapModule(pasta, *it);
        if (progresso)
            progresso->Avanca(6);
    }
}

void TfrmPrincipal::RegisterMapModule(const QString& pasta, const QString& arquivo)
{
    const QString caminho = CaminhoEm(pasta, arquivo);
    QStringList linhas;
    // A module refused by rule leaves a line in the module log beside the program.
    if (!LeInfoModulo(caminho, InfoDeMapa, linhas)) {
        const QString erro = InfoDLL.biblioteca.UltimoErro();
        RegistraRecusaModulo(TBIniSettings::PastaConfiguracao(), caminho,
                             erro.isEmpty() ? QStringLiteral("sem a entrada \"InfoMapa\".") : erro);
        return;
    }
    // A map button needs its hint (line 1) and its kind (line 2).
    if (linhas.size() < 2) {
        RegistraRecusaModulo(TBIniSettings::PastaConfiguracao(), caminho,
                             QStringLiteral("\"InfoMapa\" devolveu %1 linha(s); são necessárias 2.")
                                 .arg(linhas.size()));
        return;
    }
    if (linhas.size() > 2) {
        InstalledMaps << linhas[0];
        int32_t tipo = 0;
        if (!TentaInteiro(linhas[1], tipo))
            tipo = 0;
        if (tipo == 1)
            InstalledMaps << QStringLiteral("Simples");
        else if (tipo == 2)
            InstalledMaps << QStringLiteral("Wizard");
        else
            InstalledMaps << QString(); // keeps four entries per module
        InstalledMaps << linhas[2];
        InstalledMaps << TBVersionInfo::VersaoArquivo(caminho);
    }

    CriaNavegador();
    int indice = 1;
    const QString figura = CaminhoEm(pasta, QFileInfo(arquivo).completeBaseName() + QStringLiteral(".bmp"));
    const QImage imagem(figura);
    if (QFileInfo::exists(figura) && !imagem.isNull()) {
        auto quadro = [&imagem](int x) {
            QPixmap p = QPixmap::fromImage(imagem.copy(x, 0, 24, 24));
            p.setMask(p.createMaskFromColor(QColor(255, 0, 255)));
            return p;
        };
        m_navegador->ImageList3.Adiciona(quadro(0));
        m_navegador->ImageList4.Adiciona(quadro(24));
        indice = m_contadorImagens + 1;
        ++m_contadorImagens;
    }
    m_navegador->AdicionaBotaoMapa(LegendaModulo(arquivo), linhas[0], indice,
                                   linhas[1] == QStringLiteral("1") ? TfrmExames::TratamentoMapa::Mapa
                                                                    : TfrmExames::TratamentoMapa::Mapas);
}

void TfrmPrincipal::StartModules()
{
    Barra(m_progresso, 0);
    Passo(m_progresso, &TfrmIniciando::ImgStep4);
    QStringList linhas;
    LeInfoModulo(PathsZR.Processamento, InfoDeModulo, linhas);
    Barra(m_progresso, 50);
    LeInfoModulo(PathsZR.Digitalizacao, InfoDeModulo, linhas);
    Barra(m_progresso, 100);
}

void TfrmPrincipal::CheckAutoBackup()
{
    if (InfosZR.BackupAuto <= 0)
        return;
    if (!TDMPrincipal::Existe() || !TDMPrincipal::Instancia().Conectado())
        return;
    auto* formulario = new TfrmBackup(this);
    formulario->CarregaStatusBackup();
    const Backup::RegraAutomatica regra{InfosZR.BackupAuto, InfosZR.BackupPeriodo, InfosZR.BackupUnidade,
                                        InfosZR.BackupExames};
    if (Backup::BackupDevido(regra, formulario->StatusModulo, formulario->Label2->text().toInt(), Backup::Hoje()))
        formulario->OfereceBackupAutomatico();
    delete formulario;
}

void TfrmPrincipal::btnBrowserClick()
{
    if (TDMedicos().ContaMedicos() == 0) {
        Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Será necessário cadastrar um médico antes de utilizar o navegador."),
                 IconeMensagem::Informacao);
        return;
    }
    if (!m_navegador) {
        CriaNavegador();
        RegisterMapModules(PathsZR.DirMapas, false);
    }
    m_navegador->DefineEdicaoOrto(m_versao && m_versao->OrthoEdition());
    AbreJanelaModal(m_navegador);
}

void TfrmPrincipal::btnDoctorClick() { AbreJanelaModal(new TfrmCadastroMedicos(this)); }
void TfrmPrincipal::btnCalibrationClick()
{
    if (m_ini)
        AbreJanelaModal(new TfrmCalib(*m_ini, this));
}
void TfrmPrincipal::btnToolsClick()
{
    if (m_ini)
        AbreJanelaModal(new TfrmFerramentas(InstalledMaps, this));
}
void TfrmPrincipal::btnBackupClick()
{
    auto* formulario = new TfrmBackup(this);
    formulario->setAttribute(Qt::WA_DeleteOnClose);
    AbreJanelaModal(formulario);
}

// The external help program when installed, else the help contents in the browser.
void TfrmPrincipal::btnHelpClick()
{
    if (!LancaPrograma(ProgramaAjudaExterno()))
        AbreAjuda(0);
}

void TfrmPrincipal::btnExitClick() { close(); }

void TfrmPrincipal::imgSobreClick()
{
    if (!m_versao) {
        m_versao = std::make_unique<TBVersionInfo>();
        m_versao->LeVersao(TBVersionInfo::ExecutavelPrograma());
    }
    AbreJanelaModal(new TfrmSobre(*m_versao, this));
}

void TfrmPrincipal::Image3Click() { AbreEndereco(SiteFabricante()); }

void TfrmPrincipal::closeEvent(QCloseEvent* evento)
{
    if (m_regConfig)
        m_regConfig->RestauraRegional();
    // The desktop's task bar is never hidden on this platform, so there is nothing to show.
    InstalledMaps.clear();
    m_ini.reset();
    m_versao.reset();
    evento->accept();
}
