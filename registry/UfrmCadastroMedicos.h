#pragma once
// The doctor registry: browse the clinic's doctors one at a time, add, change and delete
// them. The fields show the current row of the data module's doctors table; changes are
// written through the stored procedures on "Atuallizar" and committed, never through the
// table itself. A doctor who is responsible for examinations cannot be deleted.
//
// States: browsing (fields read-only) -> adding ("Adicionar") or changing ("Alterar") ->
// browsing again after "Atuallizar" or "Cancelar" (the delete button doubles as the cancel
// button while adding or changing).

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class TDMPrincipal;
class TGrupoOpcoes;
struct TDadosMedico;

class TfrmCadastroMedicos : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCadastroMedicos(QWidget* pai = nullptr);
    ~TfrmCadastroMedicos() override;

    // "Add" while adding, "Atualiza" while changing, empty while browsing.
    QString Modo;
    bool Editando() const { return m_editando; }

    // The code of the doctor shown (0 when none).
    int CodigoAtual() const;
    // Moves the doctors table to the doctor with that code; false when there is none.
    bool PosicionaCodigo(int codigo);

    // Controls (Qt object names as here).
    QToolButton *btnAdd, *btnAlt, *btnDel, *btnAtu, *btnPes;
    QToolButton *btnPRI, *btnANT, *btnPRO, *btnULT;
    QPushButton *sButton7, *sButton6;
    QTabWidget* pgcCadastro;
    QWidget *tshPessoal, *tshResidencial;
    QLabel *lblCodigo, *dbtCodigo;
    QLineEdit *dbeNome, *dbeRG, *dbeCPF, *dbeCRM, *dbeConjuge, *dbeDataNascimento,
        *dbeNaturalidade, *dbePai, *dbeMae;
    TGrupoOpcoes *drgSexo, *drgEstadoCivil;
    QComboBox *dbcEstadoNaturalidade, *dbcEstado;
    QLineEdit *dbeRua, *dbeComplemento, *dbeBairro, *dbeCidade, *dbeCep, *dbeFone, *dbeCelular;

    // The two state lists, in list order.
    static QStringList EstadosNaturalidade();
    static QStringList EstadosEndereco();

public slots:
    void FormShow();
    void sbtAddClick();
    void sbtAlterarClick();
    // Saves the record being added or changed; false when nothing was saved (empty name).
    bool sbtAtualizarClick();
    void sbtDelClick();
    void sbtFindClick();
    void btnPRIClick();
    void btnANTClick();
    void btnPROClick();
    void btnULTClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    QList<QWidget*> CamposEntrada() const;
    void HabilitaEdicao();
    void DesabilitaEdicao();
    void LimparCampos();
    void MostraRegistro();
    void EntraEdicao(const QString& modo);
    void VoltaNavegacao();
    void AtualizaContagem();
    TDadosMedico DadosDigitados() const;
    bool LocalizaNome(const QString& nome);
    bool ConfirmaFechamento();

    TDMPrincipal& m_dm;
    bool m_editando = false;
    bool m_liberado = false; // the closing question was answered: closing goes through
    bool m_mostrado = false;
};
