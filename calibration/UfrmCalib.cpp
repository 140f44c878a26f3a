#include "calibration/UfrmCalib.h"

#include "calibration/UCoeficientesCalib.h"
#include "calibration/URegrasCalib.h"
#include "calibration/URodaCalibrador.h"
#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"
#include "platform/UAjuda.h"
#include "platform/UMensagens.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace RegrasCalib;

namespace {

const QString kInformacao = QStringLiteral("Informação");

// A reference sphere as drawn on the holder and on the wheel.
QPixmap Esfera(int lado)
{
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QRadialGradient brilho(QPointF(lado * 0.36, lado * 0.34), lado * 0.7);
    brilho.setColorAt(0, Qt::white);
    brilho.setColorAt(0.35, QColor(120, 160, 210));
    brilho.setColorAt(1, QColor(30, 60, 110));
    g.setPen(QPen(QColor(40, 50, 70), 1));
    g.setBrush(brilho);
    g.drawEllipse(QRectF(2, 2, lado - 4, lado - 4));
    return p;
}

QPixmap Marca()
{
    QPixmap p(20, 20);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(34, 150, 60));
    g.drawEllipse(QRectF(0, 0, 20, 20));
    g.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPolyline(QPolygonF({QPointF(5, 10.5), QPointF(8.5, 14), QPointF(15, 6.5)}));
    return p;
}

QLabel* Imagem(QWidget* pai, const char* nome, const QPixmap& figura)
{
    auto* l = new QLabel(pai);
    l->setObjectName(QLatin1String(nome));
    l->setPixmap(figura);
    l->setFixedSize(figura.size());
    return l;
}

const char* kEstilo = R"(
QDialog#frmCalib { background: #f4f7fb; }
QGroupBox { border: 1px solid #b9c8da; border-radius: 4px; margin-top: 10px; color: #255a94; font-weight: bold;
  background: #fbfcfe; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QLabel#lblRaio { font-size: 22px; font-weight: bold; color: #255a94; }
QLabel#lblUltCalib { color: #333; }
QLabel#lblNota { color: #4a3f00; background: #fff8d0; border: 1px solid #d8c778; border-radius: 3px; padding: 3px 6px; }
QPushButton { padding: 4px 14px; }
QToolButton { padding: 4px; }
)";

} // namespace

TfrmCalib::TfrmCalib(TBIniSettings& ini, QWidget* pai) : QDialog(pai), m_ini(ini)
{
    setObjectName(QStringLiteral("frmCalib"));
    setWindowTitle(QStringLiteral("Calibração"));
    setAttribute(Qt::WA_DeleteOnClose);
    DefineContextoAjuda(this, 3);
    setStyleSheet(QLatin1String(kEstilo));

    // The calibrator.
    rgpTpCalib = new QGroupBox(QStringLiteral("Calibrador"), this);
    rgpTpCalib->setObjectName(QStringLiteral("rgpTpCalib"));
    m_grupo = new QButtonGroup(this);
    auto* lr = new QHBoxLayout(rgpTpCalib);
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(QStringLiteral("Calibrador %1").arg(i + 1), rgpTpCalib);
        r->setObjectName(QStringLiteral("rgpTpCalib%1").arg(i));
        m_grupo->addButton(r, i);
        lr->addWidget(r);
    }
    connect(m_grupo, &QButtonGroup::idClicked, this, [this](int) { rgpTpCalibClick(); });

    // "Calibrador 1": the holder with its four spheres in a row.
    pnlCalibQuad = new QWidget(this);
    pnlCalibQuad->setObjectName(QStringLiteral("pnlCalibQuad"));
    pnlCalibQuad->setFixedSize(300, 300);
    auto* gq = new QGridLayout(pnlCalibQuad);
    for (int k = 0; k < 4; ++k) {
        Esf[k] = Imagem(pnlCalibQuad, "", Esfera(52 + 4 * k));
        Esf[k]->setObjectName(QStringLiteral("Esf%1").arg(k + 1));
        Esf[k]->setFixedSize(72, 72);
        Esf[k]->setAlignment(Qt::AlignCenter);
        imgChk[k] = Imagem(pnlCalibQuad, "", Marca());
        imgChk[k]->setObjectName(QStringLiteral("imgChk%1").arg(k + 1));
        imgChk[k]->setVisible(false);
        auto* raio = new QLabel(RegrasCalib::Raio(k + 1) + QStringLiteral(" mm"), pnlCalibQuad);
        gq->addWidget(Esf[k], k / 2 * 3, k % 2, Qt::AlignCenter);
        gq->addWidget(raio, k / 2 * 3 + 1, k % 2, Qt::AlignCenter);
        gq->addWidget(imgChk[k], k / 2 * 3 + 2, k % 2, Qt::AlignCenter);
    }

    // "Calibrador 2": the wheel, its pictures at the top, right, bottom and left.
    pnlCalibRedondo = new QWidget(this);
    pnlCalibRedondo->setObjectName(QStringLiteral("pnlCalibRedondo"));
    pnlCalibRedondo->setFixedSize(300, 300);
    Animacao = new RodaCalibrador(pnlCalibRedondo);
    Animacao->setObjectName(QStringLiteral("Animacao"));
    Animacao->setGeometry(20, 10, 260, 260);
    const QPoint posicoes[4] = {{150, 58}, {222, 140}, {150, 222}, {78, 140}};
    const QPoint marcas[4] = {{176, 30}, {250, 112}, {176, 246}, {44, 112}};
    for (int k = 0; k < 4; ++k) {
        CircEsf[k] = new QLabel(pnlCalibRedondo);
        CircEsf[k]->setObjectName(QStringLiteral("CircEsf%1").arg(k + 1));
        CircEsf[k]->setGeometry(posicoes[k].x() - 32, posicoes[k].y() - 32, 64, 64);
        CircEsf[k]->setStyleSheet(QStringLiteral("border: 3px solid #e03020; border-radius: 32px;"));
        CircEsf[k]->setVisible(false);
        imgEsf[k] = Imagem(pnlCalibRedondo, "", Esfera(50));
        imgEsf[k]->setObjectName(QStringLiteral("imgEsf%1").arg(k + 1));
        imgEsf[k]->move(posicoes[k] - QPoint(25, 25));
        chkEsf[k] = Imagem(pnlCalibRedondo, "", Marca());
        chkEsf[k]->setObjectName(QStringLiteral("chkEsf%1").arg(k + 1));
        chkEsf[k]->move(marcas[k]);
        chkEsf[k]->setVisible(false);
    }
    lblNota = new QLabel(QStringLiteral("Gire o calibrador manualmente para alternar de esfera."), pnlCalibRedondo);
    lblNota->setObjectName(QStringLiteral("lblNota"));
    lblNota->setGeometry(0, 266, 300, 34);
    lblNota->setWordWrap(true);
    lblNota->setAlignment(Qt::AlignCenter);

    lblRaio = new QLabel(this);
    lblRaio->setObjectName(QStringLiteral("lblRaio"));
    lblUltCalib = new QLabel(kSemCalibracao, this);
    lblUltCalib->setObjectName(QStringLiteral("lblUltCalib"));

    // The two button sets share their handlers.
    auto botao = [this](const char* nome, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nome));
        return b;
    };
    auto rapido = [this](const char* nome, const QString& texto, QStyle::StandardPixmap icone) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(nome));
        b->setToolTip(texto);
        b->setIcon(style()->standardIcon(icone));
        b->setIconSize(QSize(22, 22));
        return b;
    };
    btnPRC = botao("btnPRC", QStringLiteral("Processar Esfera"));
    btnANT = botao("btnANT", QStringLiteral("Esfera anterior"));
    btnPRO = botao("btnPRO", QStringLiteral("Próxima esfera"));
    btnCON = botao("btnCON", QStringLiteral("Fechar"));
    btnAJU = botao("btnAJU", QStringLiteral("Ajuda"));
    sbtProcEsf = rapido("sbtProcEsf", QStringLiteral("Processar Esfera"), QStyle::SP_MediaPlay);
    sbtPrev = rapido("sbtPrev", QStringLiteral("Esfera anterior"), QStyle::SP_ArrowBack);
    sbtNext = rapido("sbtNext", QStringLiteral("Próxima esfera"), QStyle::SP_ArrowForward);
    sbtFechar = rapido("sbtFechar", QStringLiteral("Fechar"), QStyle::SP_DialogCloseButton);
    SpeedButton3 = rapido("SpeedButton3", QStringLiteral("Ajuda"), QStyle::SP_DialogHelpButton);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnPRC), static_cast<QAbstractButton*>(sbtProcEsf)})
        connect(b, &QAbstractButton::clicked, this, &TfrmCalib::btnPRCClick);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnANT), static_cast<QAbstractButton*>(sbtPrev)})
        connect(b, &QAbstractButton::clicked, this, &TfrmCalib::btnANTClick);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnPRO), static_cast<QAbstractButton*>(sbtNext)})
        connect(b, &QAbstractButton::clicked, this, &TfrmCalib::btnPROClick);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnCON), static_cast<QAbstractButton*>(sbtFechar)})
        connect(b, &QAbstractButton::clicked, this, &QDialog::close);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnAJU), static_cast<QAbstractButton*>(SpeedButton3)})
        connect(b, &QAbstractButton::clicked, this, &TfrmCalib::btnAJUClick);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1200);
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, &TfrmCalib::TimerTimer);

    // Layout: the speed buttons on the left, the panels and the sphere in the middle, the
    // buttons below.
    auto* barra = new QVBoxLayout;
    for (QToolButton* b : {sbtProcEsf, sbtPrev, sbtNext, SpeedButton3, sbtFechar})
        barra->addWidget(b);
    barra->addStretch();
    auto* esfera = new QGroupBox(QStringLiteral("Esfera"), this);
    auto* le = new QVBoxLayout(esfera);
    le->addWidget(new QLabel(QStringLiteral("Raio (mm):"), esfera));
    le->addWidget(lblRaio);
    le->addSpacing(12);
    le->addWidget(new QLabel(QStringLiteral("Última calibração:"), esfera));
    le->addWidget(lblUltCalib);
    le->addStretch();
    auto* direita = new QVBoxLayout;
    direita->addWidget(rgpTpCalib);
    direita->addWidget(esfera, 1);
    auto* meio = new QHBoxLayout;
    meio->addLayout(barra);
    meio->addWidget(pnlCalibQuad);
    meio->addWidget(pnlCalibRedondo);
    meio->addLayout(direita);
    auto* botoes = new QHBoxLayout;
    botoes->addWidget(btnAJU);
    botoes->addStretch();
    for (QPushButton* b : {btnANT, btnPRO, btnPRC, btnCON})
        botoes->addWidget(b);
    auto* tudo = new QVBoxLayout(this);
    tudo->addLayout(meio);
    tudo->addLayout(botoes);

    // The stored state. A last calibration that is no date shows as none; the stored
    // calibrator type is applied all the same.
    lblUltCalib->setText(TextoUltimaCalib(m_ini.UltimaCalib()));
    const int tipo = m_ini.Texto(ChaveIni::TipoCalibrador).trimmed() == QStringLiteral("1") ? 1 : 0;
    m_grupo->button(tipo)->setChecked(true);
    MostraPainel();
    SelecionaPasso(1);
    Animacao->Para();
}

int TfrmCalib::TipoCalibrador() const { return m_grupo->checkedId() == 1 ? 1 : 0; }

void TfrmCalib::MostraPainel()
{
    pnlCalibRedondo->setVisible(TipoCalibrador() == 1);
    pnlCalibQuad->setVisible(TipoCalibrador() == 0);
}

void TfrmCalib::MostraFotos(bool visiveis)
{
    for (QLabel* l : imgEsf)
        l->setVisible(visiveis);
}

void TfrmCalib::DefineContorno(QLabel* forma, bool contorno)
{
    forma->setProperty("contorno", contorno);
    forma->setStyleSheet(contorno ? QStringLiteral("border: 3px solid #e03020; border-radius: 8px;") : QString());
}

void TfrmCalib::SelecionaPasso(int passo)
{
    const int n = LimitaPasso(passo);
    m_passo = n;
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnPRC), static_cast<QAbstractButton*>(sbtProcEsf)}) {
        b->setText(QStringLiteral("Processar Esfera"));
        b->setToolTip(QStringLiteral("Processar Esfera"));
    }
    auto salvar = [this] {
        btnPRC->setText(QStringLiteral("Salvar Calibração"));
        sbtProcEsf->setText(QStringLiteral("Salvar Calibração"));
        sbtProcEsf->setToolTip(QStringLiteral("Salvar Calibração"));
    };
    if (TipoCalibrador() == 1) {
        if (n <= 4) {
            CircEsf[n - 1]->setVisible(true);
            lblRaio->setText(Raio(n));
            const bool avancando = m_anterior < n;
            Animacao->Carrega(ArquivoAnimacao(n, avancando));
            if (!avancando) {
                m_feito[n - 1] = false;
                if (n < 4)
                    CircEsf[n]->setVisible(false);
            }
            btnANT->setEnabled(false);
            sbtPrev->setEnabled(false);
            btnPRO->setEnabled(n == 1);
            sbtNext->setEnabled(n == 1);
        } else {
            salvar();
        }
        return;
    }
    for (QLabel* e : Esf)
        DefineContorno(e, false);
    if (n <= 4) {
        DefineContorno(Esf[n - 1], true);
        lblRaio->setText(Raio(n));
    }
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnANT), static_cast<QAbstractButton*>(sbtPrev),
                               static_cast<QAbstractButton*>(btnPRO), static_cast<QAbstractButton*>(sbtNext)})
        b->setEnabled(true);
    if (n == 1) {
        btnANT->setEnabled(false);
        sbtPrev->setEnabled(false);
    }
    if (n >= 4) {
        btnPRO->setEnabled(false);
        sbtNext->setEnabled(false);
    }
    if (n == 5) {
        salvar();
        btnPRC->setEnabled(true);
    }
}

void TfrmCalib::btnPROClick()
{
    MostraFotos(false);
    m_anterior = m_passo;
    SelecionaPasso(m_passo + 1);
    if (TipoCalibrador() == 1)
        Animacao->Reproduz();
    if (m_passo >= 2)
        rgpTpCalib->setEnabled(false);
    Timer->start();
}

void TfrmCalib::btnANTClick()
{
    MostraFotos(false);
    m_anterior = m_passo;
    SelecionaPasso(m_passo - 1);
    if (m_passo < 4)
        Animacao->Reproduz();
    Timer->start();
}

void TfrmCalib::TimerTimer()
{
    Timer->stop();
    MostraFotos(true);
    if (m_passo > 1)
        btnANT->setEnabled(true), sbtPrev->setEnabled(true);
    if (m_passo < 4)
        btnPRO->setEnabled(true), sbtNext->setEnabled(true);
    if (m_passo == 1)
        rgpTpCalib->setEnabled(true);
    const auto marcas = MarcasRoda(m_passo, m_anterior, m_feito);
    for (int k = 0; k < 4; ++k)
        if (marcas[k] >= 0)
            chkEsf[k]->setVisible(marcas[k] == 1);
}

void TfrmCalib::btnAJUClick() { AbreAjuda(ContextoAjuda(this)); }

void TfrmCalib::btnPRCClick()
{
    if (m_passo == 5)
        SalvaCalibracao();
    else
        ProcessaEsfera();
}

void TfrmCalib::ErroFatal(int codigo)
{
    Mensagem(kInformacao,
             QStringLiteral("Ocorreu um erro fatal no sistema.\r\nEntre em contato com o nosso suporte técnico.\r\r\n"
                            "Código do Erro: %1")
                 .arg(codigo),
             IconeMensagem::Erro);
}

void TfrmCalib::ProcessaEsfera()
{
    if (!LoadCapturaDLL(PathsZR.Digitalizacao) || !CapturaDLL.Digitalizar) {
        FreeCapturaDLL();
        ErroFatal(300);
        return;
    }
    if (!LoadProcDLL(PathsZR.Processamento) || !ProcDLL.ProcessaEsfera) {
        FreeProcDLL();
        FreeCapturaDLL();
        ErroFatal(301);
        return;
    }
    const int esfera = m_passo;
    const QString raio = Raio(esfera);
    InfosZRModulo infos(InfosZR);
    BufferMemoria imagem, lateral;
    TextoModulo legenda(QStringLiteral("Digitalizando Esfera (") + raio + QLatin1Char(')'));
    CapturaDLL.Digitalizar(this, imagem.Stream(), lateral.Stream(), zrmod::ZR_ESFERA_CALIBRACAO, infos.Registro(),
                           legenda.c_str());
    bool ok = false;
    QString falhaGravacao;
    if (imagem.Bytes().size() >= 10) {
        BufferMemoria entrada(imagem.Bytes()), resultado;
        TextoModulo textoRaio(raio);
        const int32_t rc = ProcDLL.ProcessaEsfera(this, entrada.Stream(), textoRaio.c_str(), resultado.Stream(),
                                                  infos.Registro());
        if (rc == 1 && !resultado.Vazio()) {
            // The sphere file is replaced whole: the previous one stays if this write fails.
            try {
                QDir().mkpath(PathsZR.Calibracao);
                GravaArquivoBytes(QDir(PathsZR.Calibracao).filePath(QStringLiteral("%1.txt").arg(esfera)),
                                  resultado.Bytes());
                ok = true;
            } catch (const ErroSistema& e) {
                falhaGravacao = e.Mensagem();
            }
        }
    }
    FreeProcDLL();
    FreeCapturaDLL();
    if (!falhaGravacao.isEmpty())
        Mensagem(kInformacao, falhaGravacao, IconeMensagem::Erro);
    if (!ok)
        return;

    if (TipoCalibrador() == 1) {
        m_feito[esfera - 1] = true;
        MostraFotos(false);
        m_anterior = m_passo;
        SelecionaPasso(m_passo + 1);
        for (QAbstractButton* b : {static_cast<QAbstractButton*>(btnANT), static_cast<QAbstractButton*>(sbtPrev),
                                   static_cast<QAbstractButton*>(btnPRO), static_cast<QAbstractButton*>(sbtNext)})
            b->setEnabled(false);
        if (m_passo == 5) {
            TimerTimer();
        } else {
            Animacao->Reproduz();
            Timer->start();
        }
        return;
    }
    for (int k = 0; k < 4; ++k)
        imgChk[k]->setVisible(k < esfera);
    m_anterior = m_passo;
    SelecionaPasso(m_passo + 1);
}

void TfrmCalib::SalvaCalibracao()
{
    QString motivo;
    bool ok = GravaCoeficientes(QDir(PathsZR.Calibracao).absolutePath(), InfosZR.NumAneis, &motivo);
    if (ok) {
        const QString quando = QDateTime::currentDateTime().toString(kFormatoData);
        try {
            m_ini.WriteValue(TipoValorIni::Str, QStringLiteral("MODULOS"), QStringLiteral("ULTIMACALIB"), false, quando);
            m_ini.LoadCamera(3);
            lblUltCalib->setText(quando);
        } catch (const ErroSistema& e) {
            // The coefficients are stored, but the time of this calibration is not.
            Mensagem(kInformacao, e.Mensagem(), IconeMensagem::Erro);
        }
    }
    Mensagem(kInformacao,
             ok ? QStringLiteral("A Calibração foi realizada com sucesso.")
                : QStringLiteral("A Calibração não foi realizada com sucesso."),
             IconeMensagem::Informacao);
    close();
}

void TfrmCalib::rgpTpCalibClick()
{
    const int tipo = TipoCalibrador();
    m_ini.WriteValue(TipoValorIni::Str, QStringLiteral("OPCOES"), QStringLiteral("TIPOCALIBRADOR"), false,
                     QString::number(tipo));
    InfosZR.TipoCalibrador = static_cast<uint8_t>(tipo);
    m_anterior = m_passo;
    SelecionaPasso(1);
    Animacao->Para();
    MostraPainel();
}

void TfrmCalib::EscolheCalibrador(int indice)
{
    if (QAbstractButton* b = m_grupo->button(indice)) {
        b->setChecked(true);
        rgpTpCalibClick();
    }
}
