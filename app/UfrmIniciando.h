#pragma once
// The start-up progress window: four steps with their check marks and a progress bar.

#include <QWidget>

class QLabel;
class QProgressBar;

class TfrmIniciando : public QWidget {
    Q_OBJECT
public:
    explicit TfrmIniciando(QWidget* pai = nullptr);

    QLabel* ImgStep1;
    QLabel* ImgStep2;
    QLabel* ImgStep3;
    QLabel* ImgStep4;
    QProgressBar* PBProgress;

    // Advances the bar, never past its maximum.
    void Avanca(int passo);

protected:
    void paintEvent(QPaintEvent*) override;
};
