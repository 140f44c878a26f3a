#pragma once
// "Exportar exame": the selected examination's numbers (JSON and CSV) and its DICOM objects
// (map, camera image, report PDF) to a folder or to the clinic's image archive. The work is
// done by the export library; this form gathers the choices, shows the progress of a long
// run and ends with the text that says where the data went.

#include "export/UExportacao.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TfrmExportaExame : public QDialog {
    Q_OBJECT
public:
    // legenda: the examination's caption as the list shows it; arquivoIni: the settings file
    // (section PACS).
    TfrmExportaExame(const ExameParaExportar& exame, const QString& legenda, const QString& arquivoIni,
                     QWidget* pai = nullptr);

    PedidoExportacao Pedido() const;
    // The closing text of the last run (empty before one).
    QString UltimaMensagem() const;

    QCheckBox *cbNumeros, *cbIdentificacao, *cbMapa, *cbFoto, *cbLaudo, *cbDicomPasta, *cbDicomdir, *cbPacs;
    QLineEdit *edtPasta, *edtLaudo;
    QToolButton *btnPasta, *btnLaudo;
    QLabel *lblPacs, *lblMensagem;
    QPushButton *btnTestarConexao, *btnExportar, *btnFechar;

public slots:
    void btnExportarClick();
    void btnTestarConexaoClick();
    void btnPastaClick();
    void btnLaudoClick();
    void AtualizaControles();

private:
    void MostraResultado(const QString& texto, bool erro);

    ExameParaExportar m_exame;
    QString m_arquivoIni;
    ConfiguracaoPacs m_pacs;
};
