#pragma once
// The patient registry: the full record of one patient (identity, family, address, health
// plan). Callers open it modally for exactly one patient, either to add a new patient
// (mode "Add") or to change an existing one (mode "Atualiza"). The fields are an input
// buffer only: OK writes them through the stored procedures and commits; Cancel writes
// nothing.
//
// Typical use:
//   auto* f = new TfrmCadastroPacientes(pai);        // frees itself when it closes
//   f->PreparaInclusao(nomeDigitado);                 // or f->PreparaAlteracao(codigo)
//   AbreJanelaModal(f);
//   // after a confirmed "Add": TfrmCadastroPacientes::UltimoPacienteAdicionado()

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TGrupoOpcoes;

class TfrmCadastroPacientes : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCadastroPacientes(QWidget* pai = nullptr);
    ~TfrmCadastroPacientes() override;

    // "Add" or "Atualiza"; set by the caller before the form is shown.
    QString Modo;
    // The doctor the caller works with (the navigator's doctor filter); kept for the caller.
    QString Medico;

    // Everything the caller does for a new patient: mode "Add", fields editable, empty
    // record, "Adcionando um novo paciente" in place of the code, "Masculino" and
    // "Solteiro(a)" chosen, the typed name in dbeNome.
    void PreparaInclusao(const QString& nome);
    // Everything the caller does for an existing patient: mode "Atualiza", the patient's
    // row loaded into the fields, fields editable. False (and nothing loaded) when no
    // patient has that code.
    bool PreparaAlteracao(int codigo);
    // The code of the patient being changed (0 while adding).
    int Codigo() const { return m_codigo; }

    // Every input field editable / read-only (they start read-only).
    void HabilitaEdicao();
    void DesabilitaEdicao();
    // Empties every field (a new, blank record).
    void LimparCampos();

    // The name of the patient the last confirmed "Add" stored (program-wide, empty until
    // a patient is added).
    static QString UltimoPacienteAdicionado();

    // The state lists, in list order (27 codes).
    static QStringList Estados();
    // The blood types, in list order.
    static QStringList TiposSanguineos();

    // Controls (Qt object names as here).
    QTabWidget* pgcCadastro;
    QWidget *tshPessoal, *tshResidencial;
    QLineEdit *dbeNome, *dbeRG, *dbeCPF, *dbeDataNascimento, *dbeConjuge, *dbeNaturalidade,
        *dbePai, *dbeMae, *dbeProfissao, *dbeConvenio;
    TGrupoOpcoes *drgSexo, *drgEstadoCivil;
    QComboBox *dbcEstadoNaturalidade, *dbcTipoSang;
    QLabel *lblCodigo, *dbtCodigo;
    QLineEdit *dbeRua, *dbeComplemento, *dbeBairro, *dbeCidade, *dbeCEP, *dbeFone, *dbeCelular;
    QComboBox* dbcEstado;
    QPushButton *btnCON, *btnCAN, *btnAJU;
    QPushButton *sbtOk, *sbtCancelar, *SpeedButton3; // invisible twins

public slots:
    void sbtOkClick();
    void sbtCancelarClick();
    void SpeedButton3Click();

protected:
    void showEvent(QShowEvent* evento) override;

private:
    QList<QWidget*> CamposEntrada() const;

    int m_codigo = 0;
    QString m_nomeGravado; // the stored name of the patient being changed
};
