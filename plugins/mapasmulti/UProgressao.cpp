#include "plugins/mapasmulti/UProgressao.h"

#include "common/UFormatos.h"
#include "platform/UAjuda.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

struct Curva {
    SerieProgressao serie;
    QColor cor;
};

// One plot: the curves against the date, axis from the smallest to the largest value.
void PintaGrafico(QPainter& p, const QRectF& area, const AnaliseProgressao& a,
                  const QList<Curva>& curvas, const QString& titulo, const QString& unidade)
{
    const QRectF g = area.adjusted(64, 22, -16, -26);
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), area.top(), area.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1 (%2)").arg(titulo, unidade));
    double mn = INFINITY, mx = -INFINITY;
    for (const ExameProgressao& e : a.exames)
        for (const Curva& c : curvas)
            if (std::isfinite(e.Valor(c.serie))) {
                mn = std::min(mn, e.Valor(c.serie));
                mx = std::max(mx, e.Valor(c.serie));
            }
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawRect(g);
    if (!(mx >= mn) || a.exames.isEmpty()) {
        p.drawText(g, Qt::AlignCenter, QStringLiteral("Sem valores"));
        return;
    }
    const double folga = std::max(0.5, (mx - mn) * 0.12);
    mn -= folga;
    mx += folga;
    const QDate d0 = a.exames.first().data, d1 = a.exames.last().data;
    const double dias = std::max<qint64>(1, d0.daysTo(d1));
    auto px = [&](const QDate& d) { return g.left() + 20 + (g.width() - 40) * (d0.daysTo(d) / dias); };
    auto py = [&](double v) { return g.bottom() - (v - mn) / (mx - mn) * g.height(); };
    // Horizontal guides with their values, the dates below.
    for (int k = 0; k <= 4; ++k) {
        const double v = mn + (mx - mn) * k / 4.0;
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(g.left(), py(v)), QPointF(g.right(), py(v)));
        p.setPen(Qt::darkGray);
        p.drawText(QRectF(area.left(), py(v) - 8, 58, 16), Qt::AlignRight | Qt::AlignVCenter,
                   FormataNumero(QStringLiteral("0.0"), v));
    }
    for (const ExameProgressao& e : a.exames)
        p.drawText(QRectF(px(e.data) - 40, g.bottom() + 4, 80, 18), Qt::AlignCenter,
                   e.data.toString(QStringLiteral("MM/yyyy")));
    // The curves: the line joins the counted examinations; doubtful ones are hollow.
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const Curva& c : curvas) {
        QPolygonF linha;
        for (int i = 0; i < a.exames.size(); ++i)
            if (a.usado[i] && std::isfinite(a.exames[i].Valor(c.serie)))
                linha << QPointF(px(a.exames[i].data), py(a.exames[i].Valor(c.serie)));
        p.setPen(QPen(c.cor, 2));
        p.drawPolyline(linha);
        for (int i = 0; i < a.exames.size(); ++i) {
            const double v = a.exames[i].Valor(c.serie);
            if (!std::isfinite(v))
                continue;
            p.setBrush(a.usado[i] ? QBrush(c.cor) : QBrush(Qt::white));
            p.drawEllipse(QPointF(px(a.exames[i].data), py(v)), 5, 5);
        }
        p.setBrush(Qt::NoBrush);
    }
    // Legend.
    double x = g.right() - 90.0 * curvas.size();
    for (const Curva& c : curvas) {
        p.setPen(QPen(c.cor, 2));
        p.drawLine(QPointF(x, area.top() + 10), QPointF(x + 20, area.top() + 10));
        p.setPen(Qt::black);
        p.drawText(QRectF(x + 24, area.top(), 60, 20), Qt::AlignLeft | Qt::AlignVCenter, NomeSerie(c.serie));
        x += 90;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace

TGraficoProgressao::TGraficoProgressao(const AnaliseProgressao& a, QWidget* pai)
    : QWidget(pai), m_a(a)
{
    setObjectName(QStringLiteral("imgProgressao"));
    setMinimumSize(520, 420);
}

void TGraficoProgressao::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const double h = height();
    const QRectF topo(0, 0, width(), h * 0.5);
    const QRectF meio(0, h * 0.5, width(), h * 0.25);
    const QRectF baixo(0, h * 0.75, width(), h * 0.25);
    PintaGrafico(p, topo, m_a,
                 {{SerieProgressao::K1, QColor(0x1f, 0x5f, 0xbf)}, {SerieProgressao::K2, QColor(0x2a, 0x9d, 0x8f)},
                  {SerieProgressao::Kmax, QColor(0xc0, 0x20, 0x20)}},
                 QStringLiteral("Ceratometria"), QStringLiteral("D"));
    PintaGrafico(p, meio, m_a, {{SerieProgressao::IS, QColor(0x8e, 0x44, 0xad)}}, QStringLiteral("I-S"),
                 QStringLiteral("D"));
    PintaGrafico(p, baixo, m_a, {{SerieProgressao::Kisa, QColor(0xd3, 0x7a, 0x00)}}, QStringLiteral("KISA%"),
                 QStringLiteral("%"));
}

TfrmProgressao::TfrmProgressao(AnaliseProgressao analise, const QString& titulo, QWidget* pai)
    : QDialog(pai), m_a(std::move(analise)), m_titulo(titulo)
{
    setObjectName(QStringLiteral("frmProgressao"));
    setWindowTitle(QStringLiteral("Progressão"));
    DefineContextoAjuda(this, kContextoAjudaProgressao);
    auto* raiz = new QVBoxLayout(this);
    m_conteudo = new QWidget(this);
    m_conteudo->setAutoFillBackground(true);
    QPalette pal = m_conteudo->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_conteudo->setPalette(pal);
    auto* corpo = new QVBoxLayout(m_conteudo);
    auto* cab = new QLabel(titulo, m_conteudo);
    cab->setObjectName(QStringLiteral("lblTitulo"));
    QFont f = cab->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    cab->setFont(f);
    corpo->addWidget(cab);
    auto* meio = new QHBoxLayout;
    meio->addWidget(new TGraficoProgressao(m_a, m_conteudo), 1);
    auto* texto = new QLabel(Resumo().mid(1).join(u'\n'), m_conteudo);
    texto->setObjectName(QStringLiteral("lblTendencia"));
    texto->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    texto->setWordWrap(true);
    texto->setMinimumWidth(300);
    meio->addWidget(texto);
    corpo->addLayout(meio, 1);
    auto* marca = new QLabel(m_a.progressao ? QStringLiteral("progressão") : QStringLiteral("estável"), m_conteudo);
    marca->setObjectName(QStringLiteral("lblProgressao"));
    marca->setStyleSheet(m_a.progressao ? QStringLiteral("color: #c00000; font-weight: bold; font-size: 16pt;")
                                        : QStringLiteral("color: #1a7f37; font-weight: bold; font-size: 16pt;"));
    corpo->addWidget(marca);
    raiz->addWidget(m_conteudo, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    auto* fechar = new QPushButton(QStringLiteral("&Fechar"), this);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    botoes->addWidget(fechar);
    raiz->addLayout(botoes);
    resize(1100, 640);
}

QStringList TfrmProgressao::Resumo() const
{
    QStringList l{m_titulo};
    for (int i = 0; i < m_a.exames.size(); ++i) {
        const ExameProgressao& e = m_a.exames[i];
        QString t = QStringLiteral("%1: Kmax %2 D").arg(e.data.toString(QStringLiteral("dd/MM/yyyy")),
                                                         std::isfinite(e.Valor(SerieProgressao::Kmax))
                                                             ? FormataNumero(QStringLiteral("0.00"), e.Valor(SerieProgressao::Kmax))
                                                             : QStringLiteral("—"));
        if (!m_a.usado[i])
            t += QStringLiteral(" (fora da tendência: índice de confiança %1)").arg(FormataGeral(e.confianca));
        l << t;
    }
    l << m_a.Linhas();
    return l;
}

QImage TfrmProgressao::ImagemConteudo()
{
    return m_conteudo->grab().toImage();
}
