#include "navigator/UfrmAguarde.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>

namespace {
QPointer<TfrmAguarde> g_instancia;
}

TfrmAguarde::TfrmAguarde()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmAguarde"));
    setWindowTitle(QStringLiteral("ZR100"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(191, 62);
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
}

TfrmAguarde::~TfrmAguarde() = default;

TfrmAguarde* TfrmAguarde::Instancia() { return g_instancia.data(); }

TfrmAguarde* TfrmAguarde::Cria()
{
    if (!g_instancia)
        g_instancia = new TfrmAguarde();
    return g_instancia.data();
}

void TfrmAguarde::Fecha() { delete g_instancia.data(); }

void TfrmAguarde::Mostra()
{
    if (!g_instancia)
        return;
    g_instancia->show();
    g_instancia->raise();
    g_instancia->repaint();
}

void TfrmAguarde::Esconde()
{
    if (g_instancia)
        g_instancia->hide();
}

void TfrmAguarde::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(248, 250, 252));
    p.setPen(QPen(QColor(40, 90, 150), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    // Hourglass: two glass bulbs in a frame, sand in the lower bulb.
    const QRectF ampulheta(18, 13, 22, 36);
    p.setPen(QPen(QColor(90, 60, 30), 2));
    p.drawLine(ampulheta.topLeft(), ampulheta.topRight());
    p.drawLine(ampulheta.bottomLeft(), ampulheta.bottomRight());
    QPainterPath vidro;
    const double cx = ampulheta.center().x(), cy = ampulheta.center().y();
    vidro.moveTo(ampulheta.left() + 3, ampulheta.top() + 2);
    vidro.lineTo(ampulheta.right() - 3, ampulheta.top() + 2);
    vidro.lineTo(cx + 1.5, cy);
    vidro.lineTo(ampulheta.right() - 3, ampulheta.bottom() - 2);
    vidro.lineTo(ampulheta.left() + 3, ampulheta.bottom() - 2);
    vidro.lineTo(cx - 1.5, cy);
    vidro.closeSubpath();
    p.setPen(QPen(QColor(60, 100, 150), 1.2));
    p.setBrush(QColor(220, 235, 250));
    p.drawPath(vidro);
    QPainterPath areia;
    areia.moveTo(cx, cy + 5);
    areia.lineTo(ampulheta.right() - 5, ampulheta.bottom() - 3);
    areia.lineTo(ampulheta.left() + 5, ampulheta.bottom() - 3);
    areia.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 180, 80));
    p.drawPath(areia);

    QFont f = font();
    f.setPointSizeF(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(30, 50, 80));
    p.drawText(QRect(54, 0, width() - 60, height()), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Aguarde..."));
}
