#pragma once
// The doctor lookup ("Assistente de Consulta"): finds doctors by part of the name, RG, CPF
// or CRM without regard to letter case (accented letters included) and, on a double click,
// moves the doctor registry to the chosen doctor.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QButtonGroup;
class QGroupBox;
class TfrmCadastroMedicos;

class TfrmConsultaMedicos : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConsultaMedicos(TfrmCadastroMedicos* cadastro);

    // The search criteria, in the order of the group: column searched for each.
    enum Criterio { Nome = 0, RG = 1, CPF = 2, CRM = 3 };
    int CriterioEscolhido() const;
    void EscolheCriterio(int criterio);

    // The lookup statement of a criterion (the text is bound as the parameter "Pesquisa").
    static QString InstrucaoConsulta(int criterio);
    // The pattern bound for a typed text: the text in capitals between two "%".
    static QString PadraoConsulta(const QString& texto);

    QGroupBox* rgrMedicos;
    QButtonGroup* grupoCriterio;
    QLineEdit* edtPesquisa;
    QPushButton *btnLOC, *btnFEC;
    QTreeWidget* lswResultado;

public slots:
    void btnConsultarClick();
    void lswResultadoDblClick();

protected:
    void showEvent(QShowEvent* evento) override;

private:
    TfrmCadastroMedicos* m_cadastro;
};
