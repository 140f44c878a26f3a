#pragma once
// The turning wheel of "Calibrador 2": a disc carrying the four reference spheres, drawn in
// code. An animation is chosen by its file name ("cbr_mov2.dat" turns the wheel a quarter
// forward towards sphere 3, "cbr_mov2_ant.dat" a quarter back towards sphere 2) and played
// once; the form shows its own sphere pictures over the wheel when it stands still.

#include <QString>
#include <QWidget>

class QVariantAnimation;

class RodaCalibrador : public QWidget {
    Q_OBJECT
public:
    explicit RodaCalibrador(QWidget* pai = nullptr);

    // Selects the animation; an empty name selects none (Reproduz then does nothing).
    void Carrega(const QString& arquivo);
    QString Arquivo() const { return m_arquivo; }
    void Reproduz();
    void Para();
    bool Reproduzindo() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_arquivo;
    int m_esferaInicial = 1; // the sphere at the top when the animation starts
    int m_sentido = 0;       // +1 forward, -1 back
    double m_angulo = 0;     // degrees turned so far
    QVariantAnimation* m_animacao;
};
