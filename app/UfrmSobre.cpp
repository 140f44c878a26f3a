#include "app/UfrmSobre.h"

#include "app/UArte.h"
#include "common/UFormatos.h"
#include "config/URegistrosZR.h"
#include "modules/UModulos.h"
#include "platform/UBVersionInfo.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {
const QString kVazio = QStringLiteral("- - -");

QLabel* Rotulo(QWidget* pai, const char* nome, int x, int y, const QString& texto, bool negrito = false)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->move(x, y);
    if (negrito) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    l->adjustSize();
    return l;
}

QFrame* Linha(QWidget* pai, const char* nome, int x, int y, int largura)
{
    auto* f = new QFrame(pai);
    f->setObjectName(QString::fromLatin1(nome));
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    f->setGeometry(x, y, largura, 2);
    return f;
}

void Mostra(QLabel* l, const QString& texto)
{
    l->setText(texto);
    l->adjustSize();
}

void Sobe(QWidget* w, int pixels) { w->move(w->x(), w->y() - pixels); }
} // namespace

TfrmSobre::TfrmSobre(TBVersionInfo& versao, QWidget* pai) : QDialog(pai), m_versao(versao)
{
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Sobre o Visiomap ..."));
    setAttribute(Qt::WA_DeleteOnClose);
    // The layout keeps the positions of the original form; a condensed face keeps the texts
    // within it, and the form is 40 pixels wider so that the right column's longest value
    // ("16 (cone pequeno)") still fits.
    QFont fonte(QStringLiteral("DejaVu Sans Condensed"));
    fonte.setPixelSize(11);
    setFont(fonte);
    setFixedSize(489, 538);

    auto* cabecalho = new QLabel(this);
    cabecalho->setObjectName(QStringLiteral("imgCabecalho"));
    cabecalho->setPixmap(Arte::CabecalhoSobre(489, 66));
    cabecalho->setGeometry(0, 0, 489, 66);

    Label1 = Rotulo(this, "Label1", 16, 77, QStringLiteral("Versão:"), true);
    lblversao = Rotulo(this, "lblversao", 76, 77, kVazio);

    auto* aviso = new QLabel(this);
    aviso->setObjectName(QStringLiteral("lblAviso"));
    aviso->setWordWrap(true);
    aviso->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    aviso->setGeometry(16, 102, 457, 140);
    aviso->setStyleSheet(QStringLiteral("color: #4a5663;"));
    aviso->setText(QStringLiteral(
        "Aviso: este programa de computador é protegido pelas leis de direitos autorais e "
        "pelos tratados internacionais. A reprodução ou a distribuição não autorizada deste "
        "programa, ou de qualquer parte dele, sujeita o infrator às sanções civis e criminais "
        "previstas em lei.\n\n"
        "Os mapas, medidas e textos de laudo produzidos por este programa auxiliam o exame "
        "clínico e não o substituem: o diagnóstico e a conduta cabem ao médico responsável."));

    lblCLA = Rotulo(this, "lblCLA", 176, 254, QStringLiteral("Digitalização"), true);
    lblDescMod1 = Rotulo(this, "lblDescMod1", 19, 279, QStringLiteral("Descrição do Módulo:"));
    lblVersaoMod1 = Rotulo(this, "lblVersaoMod1", 339, 279, QStringLiteral("Versão do Módulo:"));
    lblDigitNome1 = Rotulo(this, "lblDigitNome1", 19, 295, kVazio);
    lblDigitVersao1 = Rotulo(this, "lblDigitVersao1", 411, 295, kVazio);
    lblDigitNome2 = Rotulo(this, "lblDigitNome2", 19, 315, kVazio);
    lblDigitVersao2 = Rotulo(this, "lblDigitVersao2", 411, 315, kVazio);

    bvLinha2 = Linha(this, "bvLinha2", 0, 343, 489);
    lblProcessamento = Rotulo(this, "lblProcessamento", 149, 333, QStringLiteral("Processamento de Imagem"), true);
    lblProcessamento->setAutoFillBackground(true);
    lblProcessamento->raise();
    lblDescMod2 = Rotulo(this, "lblDescMod2", 19, 358, QStringLiteral("Descrição do Módulo:"));
    lblVersaoMod2 = Rotulo(this, "lblVersaoMod2", 339, 358, QStringLiteral("Versão do Módulo:"));
    lblProcDesc1 = Rotulo(this, "lblProcDesc1", 19, 374, kVazio);
    lblProcVersao1 = Rotulo(this, "lblProcVersao1", 412, 374, kVazio);
    lblProcDesc2 = Rotulo(this, "lblProcDesc2", 19, 394, kVazio);
    lblProcVersao2 = Rotulo(this, "lblProcVersao2", 412, 394, kVazio);

    bvLinha3 = Linha(this, "bvLinha3", 1, 416, 488);
    lblCone = Rotulo(this, "lblCone", 199, 406, QStringLiteral("Cone"), true);
    lblCone->setAutoFillBackground(true);
    lblCone->raise();
    lblDescMod3 = Rotulo(this, "lblDescMod3", 19, 421, QStringLiteral("Descrição do Módulo:"));
    lblVersaoMod3 = Rotulo(this, "lblVersaoMod3", 399, 419, QStringLiteral("Versão:"));
    lblConeDesc1 = Rotulo(this, "lblConeDesc1", 19, 437, kVazio);
    lblConeVersao1 = Rotulo(this, "lblConeVersao1", 412, 437, kVazio);
    lblConeDesc2 = Rotulo(this, "lblConeDesc2", 19, 454, kVazio);
    lblConeVersao2 = Rotulo(this, "lblConeVersao2", 412, 454, kVazio);

    lblHardware = Rotulo(this, "lblHardware", 183, 470, QStringLiteral("Hardware"), true);
    Label3 = Rotulo(this, "Label3", 15, 491, QStringLiteral("Versão:"));
    lblHardwareVersao = Rotulo(this, "lblHardwareVersao", 63, 488, kVazio);

    btnFECH = new QPushButton(QStringLiteral("Fechar"), this);
    btnFECH->setObjectName(QStringLiteral("btnFECH"));
    btnFECH->setGeometry(392, 484, 80, 26);
    connect(btnFECH, &QPushButton::clicked, this, &TfrmSobre::btnFECHClick);
}

void TfrmSobre::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_mostrado) {
        m_mostrado = true;
        FormShow();
    }
}

void TfrmSobre::FormShow()
{
    Mostra(lblversao, m_versao.VersaoPrograma()
                          + (m_versao.Compilacao() != 0 ? QStringLiteral(" release") : QStringLiteral(" stable")));

    Mostra(lblConeDesc1, QStringLiteral("Tipo do cone"));
    Mostra(lblConeVersao1, InfosZR.TipoCone);
    Mostra(lblConeDesc2, QStringLiteral("Número de anéis"));
    switch (TextoParaInteiro(InfosZR.TipoCone)) {
    case 1: Mostra(lblConeVersao2, QStringLiteral("16 (cone pequeno)")); break;
    case 2: Mostra(lblConeVersao2, QStringLiteral("16 (cone grande)")); break;
    case 3: Mostra(lblConeVersao2, QStringLiteral("32 (1a versao)")); break;
    case 4: Mostra(lblConeVersao2, QStringLiteral("32 (atual)")); break;
    default: break;
    }

    auto modulo = [](const QString& arquivo, int tipo, QLabel* nome, QLabel* versao) {
        QStringList linhas;
        if (!LeInfoModulo(arquivo, tipo, linhas))
            return;
        Mostra(nome, linhas.value(0));
        Mostra(versao, TBVersionInfo::VersaoArquivo(arquivo));
    };
    modulo(PathsZR.Digitalizacao, InfoDeModulo, lblDigitNome1, lblDigitVersao1);
    modulo(PathsZR.Processamento, InfoDeModulo, lblProcDesc1, lblProcVersao1);

    if (m_versao.OrthoEdition()) {
        modulo(PathsZR.DigitalizacaoOrto, InfoDeModuloOrto, lblDigitNome2, lblDigitVersao2);
        modulo(PathsZR.ProcessamentoOrto, InfoDeModuloOrto, lblProcDesc2, lblProcVersao2);
        return;
    }
    for (QWidget* w : {(QWidget*)lblDigitNome2, (QWidget*)lblDigitVersao2, (QWidget*)lblProcDesc2,
                       (QWidget*)lblProcVersao2})
        w->hide();
    for (QWidget* w : {(QWidget*)bvLinha2, (QWidget*)lblProcessamento, (QWidget*)bvLinha3, (QWidget*)lblCone})
        Sobe(w, 24);
    for (QWidget* w : {(QWidget*)lblDescMod2, (QWidget*)lblVersaoMod2, (QWidget*)lblProcDesc1,
                       (QWidget*)lblProcVersao1, (QWidget*)lblDescMod3, (QWidget*)lblVersaoMod3})
        Sobe(w, 28);
    for (QWidget* w : {(QWidget*)lblConeDesc1, (QWidget*)lblConeVersao1, (QWidget*)lblConeDesc2,
                       (QWidget*)lblConeVersao2})
        Sobe(w, 18);
    setFixedSize(width(), height() - 20);
    Mostra(lblHardwareVersao, QStringLiteral("xiii"));
}

void TfrmSobre::btnFECHClick() { close(); }
