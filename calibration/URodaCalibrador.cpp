#include "calibration/URodaCalibrador.h"

#include <QPainter>
#include <QRadialGradient>
#include <QRegularExpression>
#include <QVariantAnimation>

#include <cmath>

RodaCalibrador::RodaCalibrador(QWidget* pai)
    : QWidget(pai), m_animacao(new QVariantAnimation(this))
{
    m_animacao->setDuration(1100);
    m_animacao->setStartValue(0.0);
    m_animacao->setEndValue(90.0);
    m_animacao->setLoopCount(1);
    m_animacao->setEasingCurve(QEasingCurve::InOutCubic);
    connect(m_animacao, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_angulo = v.toDouble();
        update();
    });
    connect(m_animacao, &QVariantAnimation::finished, this, qOverload<>(&QWidget::update));
}

void RodaCalibrador::Carrega(const QString& arquivo)
{
    Para();
    m_arquivo = arquivo;
    m_angulo = 0;
    m_sentido = 0;
    static const QRegularExpression nome(QStringLiteral("^cbr_mov([1-3])(_ant)?\\.dat$"));
    const auto m = nome.match(arquivo);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        // Forward: movN brings sphere N + 1 to the top; back: movN_ant brings sphere N back.
        m_sentido = m.captured(2).isEmpty() ? 1 : -1;
        m_esferaInicial = m_sentido > 0 ? n : n + 1;
    }
    update();
}

void RodaCalibrador::Reproduz()
{
    if (m_sentido == 0)
        return;
    m_animacao->stop();
    m_animacao->start();
}

void RodaCalibrador::Para()
{
    m_animacao->stop();
}

bool RodaCalibrador::Reproduzindo() const { return m_animacao->state() == QAbstractAnimation::Running; }

void RodaCalibrador::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(width() / 2.0, height() / 2.0);
    const double r = std::min(width(), height()) / 2.0 - 4;
    // The disc.
    QRadialGradient disco(c, r);
    disco.setColorAt(0, QColor(236, 239, 244));
    disco.setColorAt(0.85, QColor(200, 206, 216));
    disco.setColorAt(1, QColor(150, 158, 172));
    p.setPen(QPen(QColor(110, 118, 132), 2));
    p.setBrush(disco);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(120, 128, 142));
    p.drawEllipse(c, r * 0.12, r * 0.12);
    // While the wheel turns, its spheres, sphere k a quarter turn after sphere k - 1; at rest
    // the form's sphere pictures stand in their places.
    if (!Reproduzindo())
        return;
    const double giro = m_sentido * m_angulo;
    for (int k = 1; k <= 4; ++k) {
        const double graus = (k - m_esferaInicial) * -90.0 + giro - 90.0;
        const double rad = graus * M_PI / 180.0;
        const QPointF centro(c.x() + std::cos(rad) * r * 0.65, c.y() + std::sin(rad) * r * 0.65);
        const double re = r * 0.2;
        QRadialGradient brilho(centro - QPointF(re / 3, re / 3), re * 1.3);
        brilho.setColorAt(0, Qt::white);
        brilho.setColorAt(0.4, QColor(120, 160, 210));
        brilho.setColorAt(1, QColor(30, 60, 110));
        p.setPen(QPen(QColor(40, 50, 70), 1));
        p.setBrush(brilho);
        p.drawEllipse(centro, re, re);
    }
}
