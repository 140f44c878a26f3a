#pragma once
// The backup form: what is still to be copied, the module's status, the automatic backup
// options, and the backup and restore themselves (rules in UBackup, UMidia, UModuloBackup).

#include "backup/UMidia.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QGroupBox;

class TfrmBackup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackup(QWidget* pai = nullptr);

    QLabel *Label2, *Label4, *lblStatusBkp, *lblAvisoBackup;
    QPlainTextEdit* memDetalhes;
    QGroupBox* rgrBackupAutomatico;
    QRadioButton *rbtPeriodo, *rbtExames, *rbtNunca;
    QSpinBox *UpDown1, *UpDown2;
    QComboBox* cbxPeriodo;
    QProgressBar* pgbBackup;
    QPushButton *btnINI, *btnRES, *btnFEC, *btnAJU;
    QPushButton *btnIniciarBkp, *btnRestaurar, *sbtFechar;

    // The destination folder when the module reports it ready; empty otherwise.
    QString DriveRoot;
    // The module's status lines of the last refresh (without the "Drive: " line).
    QStringList StatusModulo;
    // Set while OfereceBackupAutomatico shows the form: its show starts the backup.
    bool Automatico = false;

    // What the new-medium preparation runs and waits on (tests replace it).
    static Backup::Ambiente& AmbienteMidia();

public slots:
    void CarregaStatusBackup();
    void OfereceBackupAutomatico();
    void btnIniciarBkpClick();
    void btnRestaurarClick();
    void sbtFecharClick();

protected:
    void showEvent(class QShowEvent* evento) override;

private:
    void Status(const QString& texto);
    void Avanca(int valor);
    void MostraAviso();
    bool ExecutaBackup();
};
