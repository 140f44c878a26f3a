#pragma once
// The calibration form: the four reference spheres captured and measured one by one with the
// capture and processing modules, then the coefficients fitted and stored. Two calibrators:
// a fixed holder ("Calibrador 1") and a wheel turned by hand ("Calibrador 2").

#include <QDialog>
#include <array>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;
class RodaCalibrador;
class TBIniSettings;

class TfrmCalib : public QDialog {
    Q_OBJECT
public:
    // The settings object of the run (loaded); the form writes "TIPOCALIBRADOR" and
    // "ULTIMACALIB" through it.
    explicit TfrmCalib(TBIniSettings& ini, QWidget* pai = nullptr);

    int Passo() const { return m_passo; }
    int TipoCalibrador() const;
    bool Feito(int esfera) const { return m_feito[esfera - 1]; }

    QGroupBox* rgpTpCalib;
    QWidget *pnlCalibQuad, *pnlCalibRedondo;
    std::array<QLabel*, 4> Esf, imgChk, imgEsf, CircEsf, chkEsf;
    RodaCalibrador* Animacao;
    QLabel *lblRaio, *lblUltCalib, *lblNota;
    QPushButton *btnPRC, *btnANT, *btnPRO, *btnCON, *btnAJU;
    QToolButton *sbtProcEsf, *sbtPrev, *sbtNext, *sbtFechar, *SpeedButton3;
    QTimer* Timer;

public slots:
    void SelecionaPasso(int passo);
    void btnPRCClick();
    void btnANTClick();
    void btnPROClick();
    void btnAJUClick();
    void TimerTimer();
    void rgpTpCalibClick();
    // Selects a calibrator as the user does (0 = "Calibrador 1", 1 = "Calibrador 2").
    void EscolheCalibrador(int indice);

private:
    void MostraPainel();
    void MostraFotos(bool visiveis);
    void DefineContorno(QLabel* forma, bool contorno);
    void ProcessaEsfera();
    void SalvaCalibracao();
    void ErroFatal(int codigo);

    TBIniSettings& m_ini;
    QButtonGroup* m_grupo;
    int m_passo = 1;
    int m_anterior = 1;
    std::array<bool, 4> m_feito = {false, false, false, false};
};
