#include "navigator/UfrmExames.h"

#include "platform/UAjuda.h"

#include <QAction>
#include <QIcon>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The generic map picture (24 x 24): concentric colour bands of a topographic map.
QPixmap MapaGenerico(bool destacado)
{
    QPixmap m(24, 24);
    m.fill(Qt::transparent);
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor cores[] = {QColor(30, 60, 200), QColor(20, 170, 220), QColor(40, 190, 80),
                            QColor(240, 220, 40), QColor(240, 120, 30), QColor(210, 30, 30)};
    for (int i = 0; i < 6; ++i) {
        const double r = 11 - i * 1.8;
        p.setBrush(cores[i]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 12), r, r * 0.85);
    }
    if (destacado) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255), 1.5));
        p.drawEllipse(QPointF(12, 12), 11, 11 * 0.85);
    }
    return m;
}
} // namespace

TfrmExames::TfrmExames(QWidget* pai) : QDialog(pai)
{
    // Pictures 0 and 1 of the map bar: the bar's own picture and the generic map picture
    // of modules that bring none; the modules' pictures follow from index 2.
    for (int i = 0; i < 2; ++i) {
        ImageList4.Adiciona(MapaGenerico(false));
        ImageList3.Adiciona(MapaGenerico(true));
    }
    setObjectName(QStringLiteral("frmExames"));
    DefineContextoAjuda(this, 5);
    auto* layout = new QVBoxLayout(this);
    tlbMapas = new QToolBar(this);
    tlbMapas->setObjectName(QStringLiteral("tlbMapas"));
    tlbMapas->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlbMapas->setIconSize(QSize(24, 24));
    layout->addWidget(tlbMapas);
}

QToolButton* TfrmExames::AdicionaBotaoMapa(const QString& legenda, const QString& dica,
                                          int indiceImagem, TratamentoMapa tratamento)
{
    QIcon icone(ImageList4.Imagem(indiceImagem));
    icone.addPixmap(ImageList3.Imagem(indiceImagem), QIcon::Active);
    auto* acao = new QAction(icone, legenda, tlbMapas);
    acao->setToolTip(dica);
    acao->setProperty("indiceImagem", indiceImagem);
    connect(acao, &QAction::triggered, this,
            tratamento == TratamentoMapa::Mapa ? &TfrmExames::MapaClick : &TfrmExames::MapasClick);
    const QList<QAction*> acoes = tlbMapas->actions();
    tlbMapas->insertAction(acoes.isEmpty() ? nullptr : acoes.first(), acao);
    auto* botao = qobject_cast<QToolButton*>(tlbMapas->widgetForAction(acao));
    botao->setObjectName(legenda);
    botao->setAutoRaise(true);
    return botao;
}

QList<QToolButton*> TfrmExames::BotoesMapa() const
{
    QList<QToolButton*> botoes;
    for (QAction* a : tlbMapas->actions())
        if (auto* b = qobject_cast<QToolButton*>(tlbMapas->widgetForAction(a)))
            botoes << b;
    return botoes;
}

// The map display of the selected examination belongs to the navigator's map dispatch.
void TfrmExames::MapaClick() {}
void TfrmExames::MapasClick() {}
