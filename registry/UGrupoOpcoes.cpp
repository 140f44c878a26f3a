#include "registry/UGrupoOpcoes.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

TGrupoOpcoes::TGrupoOpcoes(const QString& titulo, const QStringList& itens,
                           const QStringList& valores, QWidget* pai)
    : QGroupBox(titulo, pai), m_grupo(new QButtonGroup(this)), m_valores(valores)
{
    auto* linha = new QHBoxLayout(this);
    linha->setContentsMargins(8, titulo.isEmpty() ? 2 : 6, 8, 2);
    linha->setSpacing(14);
    for (int i = 0; i < itens.size(); ++i) {
        auto* b = new QRadioButton(itens[i], this);
        m_grupo->addButton(b, i);
        m_botoes << b;
        linha->addWidget(b);
    }
    linha->addStretch(1);
}

int TGrupoOpcoes::ItemIndex() const { return m_grupo->checkedId(); }

void TGrupoOpcoes::DefineItemIndex(int indice)
{
    if (indice >= 0 && indice < m_botoes.size()) {
        m_botoes[indice]->setChecked(true);
        return;
    }
    // A button group does not let its last checked button go: switch exclusivity off.
    m_grupo->setExclusive(false);
    for (QRadioButton* b : std::as_const(m_botoes))
        b->setChecked(false);
    m_grupo->setExclusive(true);
}

QString TGrupoOpcoes::Valor() const
{
    const int i = ItemIndex();
    return i >= 0 && i < m_valores.size() ? m_valores[i] : QString();
}

void TGrupoOpcoes::DefineValor(const QString& valor)
{
    DefineItemIndex(valor.isEmpty() ? -1 : static_cast<int>(m_valores.indexOf(valor)));
}

void TGrupoOpcoes::DefineSomenteLeitura(bool somenteLeitura)
{
    m_somenteLeitura = somenteLeitura;
    // Read-only options keep their normal look (the value stays legible) but ignore the
    // mouse and the keyboard.
    for (QRadioButton* b : std::as_const(m_botoes)) {
        b->setAttribute(Qt::WA_TransparentForMouseEvents, somenteLeitura);
        b->setFocusPolicy(somenteLeitura ? Qt::NoFocus : Qt::StrongFocus);
    }
}
