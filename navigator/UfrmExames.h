#pragma once
// The examination navigator. At this stage it holds the map bar that start-up fills with
// one button per installed map module, and the two picture lists of that bar.

#include <QDialog>
#include <QList>
#include <QPixmap>

class QToolBar;
class QToolButton;

// A list of pictures addressed by index, as the map bar's buttons use them.
class TListaImagens {
public:
    int Adiciona(const QPixmap& imagem)
    {
        m_imagens.append(imagem);
        return m_imagens.size() - 1;
    }
    int Quantidade() const { return m_imagens.size(); }
    QPixmap Imagem(int indice) const { return m_imagens.value(indice); }

private:
    QList<QPixmap> m_imagens;
};

class TfrmExames : public QDialog {
    Q_OBJECT
public:
    explicit TfrmExames(QWidget* pai = nullptr);

    QToolBar* tlbMapas;
    TListaImagens ImageList3; // map bar pictures under the mouse pointer
    TListaImagens ImageList4; // map bar pictures

    // How a map button is handled: a single map, or several through the wizard.
    enum class TratamentoMapa { Mapa, Mapas };
    // Adds a map button at the front of the bar.
    QToolButton* AdicionaBotaoMapa(const QString& legenda, const QString& dica, int indiceImagem,
                                   TratamentoMapa tratamento);
    // The map bar's buttons from left to right.
    QList<QToolButton*> BotoesMapa() const;

public slots:
    void MapaClick();
    void MapasClick();
};
