#pragma once
// A framed group of mutually exclusive options whose chosen item is stored as one letter
// (sex "M"/"F", marital status "C"/"S"/"D"). No item chosen reads as the empty text.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TGrupoOpcoes : public QGroupBox {
    Q_OBJECT
public:
    // items: the captions; valores: the stored letter of each item, in the same order.
    TGrupoOpcoes(const QString& titulo, const QStringList& itens, const QStringList& valores,
                 QWidget* pai = nullptr);

    // Index of the chosen item, -1 when none.
    int ItemIndex() const;
    void DefineItemIndex(int indice);
    // The stored letter of the chosen item ("" when none).
    QString Valor() const;
    // Chooses the item stored as that letter; an unknown or empty letter chooses none.
    void DefineValor(const QString& valor);
    // Read-only: the options show the value but cannot be changed.
    void DefineSomenteLeitura(bool somenteLeitura);
    bool SomenteLeitura() const { return m_somenteLeitura; }
    QList<QRadioButton*> Botoes() const { return m_botoes; }

private:
    QButtonGroup* m_grupo;
    QList<QRadioButton*> m_botoes;
    QStringList m_valores;
    bool m_somenteLeitura = false;
};
