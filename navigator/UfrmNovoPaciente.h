#pragma once
// Patient selection before an examination: the user types a name and the form lists the
// registered patients whose names begin with it, so that an existing patient is picked
// instead of being registered twice. A name nobody has opens the patient registry for a
// new patient. With the option "AUTOEXAME" the new-examination assistant follows.

#include <QDialog>

class QLineEdit;
class QTableView;
class QToolButton;
class QPushButton;
class TfrmExames;
class ModeloBuscaPac;

class TfrmNovoPaciente : public QDialog {
    Q_OBJECT
public:
    TfrmNovoPaciente(TfrmExames& navegador, QWidget* pai = nullptr);
    ~TfrmNovoPaciente() override;

    QLineEdit* edtNomePac;
    QTableView* DBGrid1;
    QPushButton *sButton7, *Button1, *sButton1;

public slots:
    void FormShow();
    void edtNomePacKeyUp();
    void DBGrid1CellClick();
    void DBGrid1DblClick();
    void Button1Click();
    void sButton1Click();

protected:
    void showEvent(QShowEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void keyPressEvent(class QKeyEvent* evento) override;

private:
    void CarregaLista(const QString& nome);
    QString NomeDaLinha() const;
    void AbreNovoExame();

    TfrmExames& m_nav;
    ModeloBuscaPac* m_modelo;
    bool m_mostrado = false;
};
