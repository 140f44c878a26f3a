#pragma once
// The search tip ("Dica de Busca"): how the examination searches match, shown when the
// navigator's search panel opens and the setting asks for it. It is destroyed when it
// closes; the navigator and the new-examination form close one left open.

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmDica : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDica(QWidget* pai = nullptr);
    ~TfrmDica() override;

    // The three texts of the tip, in order.
    static QStringList Textos();
    // The tip open now, if any.
    static TfrmDica* Aberta();
    // Closes the tip left open (nothing when none is).
    static void FechaDica();

    QLabel *Label1, *Label2, *Label3;
    QPushButton* btnOK;
};
