#pragma once
// The please-wait window: one borderless, always-on-top window of 191 x 62 pixels in the
// middle of the screen with an hourglass and "Aguarde...". One instance for the program;
// the navigator creates it when it is first shown and closes it when it closes. Long
// operations show it (painted at once) and hide it when they end.

#include <QWidget>

class TfrmAguarde : public QWidget {
    Q_OBJECT
public:
    // The program's instance, nullptr while none exists.
    static TfrmAguarde* Instancia();
    // Creates the instance when there is none and returns it.
    static TfrmAguarde* Cria();
    // Destroys the instance, if any.
    static void Fecha();

    // Shows and paints at once / hides; both do nothing without an instance.
    static void Mostra();
    static void Esconde();

protected:
    void paintEvent(class QPaintEvent* evento) override;

private:
    TfrmAguarde();
    ~TfrmAguarde() override;
};
