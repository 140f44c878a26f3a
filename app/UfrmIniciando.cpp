#include "app/UfrmIniciando.h"

#include "app/UArte.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

TfrmIniciando::TfrmIniciando(QWidget* pai) : QWidget(pai, Qt::FramelessWindowHint | Qt::Window)
{
    setObjectName(QStringLiteral("frmIniciando"));
    setWindowTitle(QStringLiteral("Iniciando . . ."));
    setFixedSize(342, 178);

    const QPixmap marca = Arte::MarcaVerificado();
    const char* textos[4] = {"Verificando a integridade do banco de dados.", "Iniciando o banco de dados.",
                             "Localizando os módulos instalados.", "Iniciando os módulos instalados."};
    QLabel** passos[4] = {&ImgStep1, &ImgStep2, &ImgStep3, &ImgStep4};
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans Condensed"));
    QFont fonte(QStringLiteral("Verdana"));
    fonte.setPixelSize(12);
    fonte.setBold(true);
    for (int i = 0; i < 4; ++i) {
        const int topo = 44 + i * 26;
        QLabel* img = new QLabel(this);
        img->setObjectName(QStringLiteral("ImgStep%1").arg(i + 1));
        img->setPixmap(marca);
        img->setGeometry(20, topo, 17, 17);
        img->setVisible(i == 0);
        *passos[i] = img;
        QLabel* texto = new QLabel(QString::fromUtf8(textos[i]), this);
        texto->setObjectName(QStringLiteral("lblStep%1").arg(i + 1));
        texto->setFont(fonte);
        texto->setStyleSheet(QStringLiteral("color: white;"));
        texto->setGeometry(46, topo - 1, 290, 19);
    }
    PBProgress = new QProgressBar(this);
    PBProgress->setObjectName(QStringLiteral("PBProgress"));
    PBProgress->setRange(0, 100);
    PBProgress->setTextVisible(false);
    PBProgress->setGeometry(16, 152, 310, 12);
    PBProgress->setStyleSheet(QStringLiteral(
        "QProgressBar { background: rgba(255,255,255,50); border: 1px solid rgba(255,255,255,90);"
        " border-radius: 5px; }"
        "QProgressBar::chunk { background: #40b6d6; border-radius: 4px; }"));

    if (QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
}

void TfrmIniciando::Avanca(int passo)
{
    PBProgress->setValue(qMin(PBProgress->maximum(), PBProgress->value() + passo));
}

void TfrmIniciando::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0, QColor(10, 32, 62));
    g.setColorAt(1, QColor(22, 90, 140));
    p.fillRect(rect(), g);
    Arte::DesenhaAneisPlacido(p, QPointF(width() - 40, 40), 90, 8, 0.12);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(18, 8, 300, 26), Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
