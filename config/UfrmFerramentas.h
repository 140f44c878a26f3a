#pragma once
// The tools and options form: the clinic's data and logo, the software options of the
// settings file, shortcuts to the desktop's tools and the camera tool, the installed map
// modules and the database summary with the reset of the backup state. Options are written
// back to the settings file, and into the in-memory record, when the form closes.

#include "config/UOpcoesFerramentas.h"

#include <QDialog>
#include <QImage>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QWidget;

class TfrmFerramentas : public QDialog {
    Q_OBJECT
public:
    // `installedMaps`: four entries per installed map module (name, kind, description,
    // version), as the main menu registered them.
    explicit TfrmFerramentas(const QStringList& installedMaps, QWidget* pai = nullptr);

    // The current logo (100 x 100 until one is chosen or loaded).
    const QImage& Logo() const { return m_logo; }
    bool CameraConfigurada() const { return m_camera; }
    // The option values as the controls hold them.
    Ferramentas::Opcoes OpcoesDosControles() const;

    QTabWidget* pgcFerramentas;
    QWidget *tshModulos, *tshAplicativos, *tshDadosClinica, *tshConfig, *tshBD, *tshBuscaAvancada, *tshIdioma;
    QTreeWidget* tlvMapas;
    QListWidget* tlvAplicativos;
    QLineEdit *edtNome, *edtEndereco, *edtCidadeEst, *edtFone;
    QLabel* LogoClinica;
    QGroupBox* grpOpcoesClinica;
    QCheckBox *chkDadosClinica, *chkNomeMedico, *chkLogoClinica;
    QRadioButton *rbtEnable, *rbtDisable;
    QLabel *lblIncMap, *lblDelayAutoPCaptura, *lblCorCeratPontual;
    QLineEdit* EdtIncMap;
    QCheckBox *chkExibeGrade, *chkEscalaISO, *chkExibeCeratPontual;
    QComboBox* cbCorCeratPontual;
    QCheckBox* chkAneisAuto;
    QSpinBox* edtValIndConf;
    QCheckBox *chkSalvarCaptura, *chkImgCentral, *chkImgLateral;
    QSpinBox* SpinEditQualidadeImagem;
    QLineEdit *edtTVlCentral, *edtTIncremento;
    QCheckBox* chkAutoPCaptura;
    QLineEdit* edtDelayAutoPCaptura;
    QCheckBox* chkAutoExame;
    QGroupBox* rgrMapaPadrao;
    QComboBox *cbTipoCeratometria, *cbxIdioma;
    QLabel *lblBDMedicos, *lblBDIndiceMedicos, *lblBDPacientes, *lblBDIndicePaciente;
    QLabel *lblBDExames, *lblBDIndiceExames, *lblBDBackupExames;
    QLabel *lblBDLaudos, *lblBDIndiceLaudos, *lblBDBackupLaudos;
    QLabel *lblTamanhoBD, *lblDiretorioBD, *lblTituloReinicia, *lblReiniciaBackup;
    QPushButton *sButton2, *btnFechar;
    QTimer* tmrFechar;

public slots:
    void FormShow();
    void rbtEnableClick();
    void chkAutoPCapturaClick();
    void chkExibeCeratPontualClick();
    void LogoClinicaDblClick();
    // Double click on an item of the applications list (its row).
    void tlvAplicativosDblClick(int item);
    void tmrFecharTimer();
    void btnFecharClick();
    void sButton2Click();
    void done(int resultado) override;

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    QWidget* PaginaModulos();
    QWidget* PaginaAplicativos();
    QWidget* PaginaDadosClinica();
    QWidget* PaginaConfig();
    QWidget* PaginaBD();
    void PreencheControles(const Ferramentas::Opcoes& o);
    void MostraResumo();
    void MostraLogo();
    void ReleConectores();
    bool GravaAoFechar();

    QStringList m_mapas;
    QButtonGroup* m_mapaPadrao;
    QImage m_logo;
    bool m_camera = false;
    bool m_fechado = false;
    bool m_mostrado = false;
};
