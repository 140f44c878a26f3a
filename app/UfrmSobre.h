#pragma once
// The About box: program version, the capture and processing modules with their versions,
// the Placido cone and the hardware.

#include <QDialog>

class QLabel;
class QFrame;
class QPushButton;
class TBVersionInfo;

class TfrmSobre : public QDialog {
    Q_OBJECT
public:
    // `versao` is the program's version reader (the program's own executable).
    explicit TfrmSobre(TBVersionInfo& versao, QWidget* pai = nullptr);

    QLabel *Label1, *lblversao;
    QLabel *lblCLA, *lblDescMod1, *lblVersaoMod1, *lblDigitNome1, *lblDigitVersao1,
        *lblDigitNome2, *lblDigitVersao2;
    QFrame* bvLinha2;
    QLabel *lblProcessamento, *lblDescMod2, *lblVersaoMod2, *lblProcDesc1, *lblProcVersao1,
        *lblProcDesc2, *lblProcVersao2;
    QFrame* bvLinha3;
    QLabel *lblCone, *lblDescMod3, *lblVersaoMod3, *lblConeDesc1, *lblConeVersao1, *lblConeDesc2,
        *lblConeVersao2;
    QLabel *lblHardware, *Label3, *lblHardwareVersao;
    QPushButton* btnFECH;

public slots:
    void FormShow();
    void btnFECHClick();

protected:
    void showEvent(QShowEvent* evento) override;

private:
    TBVersionInfo& m_versao;
    bool m_mostrado = false;
};
