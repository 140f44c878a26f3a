#pragma once
// The report wizard: the single entry to the reports of the navigator's current patient.
// It generates a new report from one right-eye and one left-eye examination, opens a stored
// report, or deletes one. A new or opened report is shown in the report editor, modally from
// inside OK; closing the editor closes the wizard too.

#include <QDialog>
#include <QPointer>
#include <QString>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TfrmExames;
class TfrmLaudo;

class TfrmWizLaudo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWizLaudo(TfrmExames& navegador, QWidget* pai = nullptr);
    ~TfrmWizLaudo() override;

    TfrmExames& Navegador() const { return m_nav; }
    // The editor prepared by the last OK, while it exists.
    TfrmLaudo* Editor() const;

    // Map type of the findings and of the printout: 0 "Axial", 1 "Tangencial".
    int TipoMapa() const;
    void DefineTipoMapa(int indice);

    // Controls (Qt object names as here).
    QLabel* lblTitulo;
    QRadioButton *rgNovoLau, *rbLauExist, *rbExcLaudo;
    QLabel *Label2, *Label1;
    QComboBox *cmbOD, *cmbOS;
    QComboBox *cmbEscLaudo, *cmbExcLaudo;
    QGroupBox* rgTipoMapa;
    QPushButton *sButton7, *sButton1;

    // Shared with the editor: whether OK goes on to show it, whether the opened report's
    // examinations all still exist, and the examinations of the report being edited.
    bool Prosseguir = false;
    bool ExamesPresentes = true;
    QString DescricaoOD, DescricaoOS;
    int CodigoOD = -1, CodigoOS = -1;

public slots:
    void FormShow();
    void rgNovoLauClick();
    void rbLauExistClick();
    void rbExcLaudoClick();
    void btnOKClick();
    void btnCancelarClick();
    void FormClose();

public:
    // Back on the patient row and the examination the navigator showed when the wizard
    // opened (a new report moves its examination query; a commit reloads its lists).
    void RestauraNavegador();

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void Monta();
    void CarregaLaudos();
    void EscolheAcao(int acao);
    TfrmLaudo& PreparaEditor();
    void ExcluiLaudoEscolhido();

    TfrmExames& m_nav;
    QPointer<TfrmLaudo> m_editor;
    QButtonGroup* m_tipos;
    int m_linhaPaciente = -1;
    QString m_legendaExame;   // the navigator's selected examination when the wizard opened
    bool m_mostrado = false;
    bool m_fechado = false;
};

// Opens the wizard modally for the navigator's current patient.
void AbreAssistenteLaudo(TfrmExames& navegador);
// Registers the wizard as the navigator's report action.
void RegistraLaudos();
