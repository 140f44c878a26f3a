#pragma once
// The report editor: one report of one patient in five boxes. The four template boxes hold
// numbered slots that the user fills from the phrase library (LAUDOSTEXTO) shown in the tree
// for the box last clicked; the comments box is free text. A new report is saved as a
// report row and its text file, after which the editor is read-only; a stored report opens
// read-only. Printing reads the editor (Impressao).

#include <QDate>
#include <QDialog>
#include <QPointer>
#include <QTime>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class TBMapOperation;
class TfrmWizLaudo;

class TfrmLaudo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLaudo(TfrmWizLaudo& assistente);
    ~TfrmLaudo() override;

    TfrmWizLaudo* Assistente() const { return m_assistente; }

    // Editable while saving is enabled (a new, unsaved report); read-only otherwise.
    bool Editavel() const;

    // The stored report shown (after AbrirLaudo or a save): code, examinations, date, time.
    struct LaudoGravado {
        int Codigo = 0;
        int MedidaOD = -1, MedidaOS = -1;
        QDate Data;
        QTime Hora;
    };
    const LaudoGravado& Gravado() const { return m_gravado; }

    // Printing and print preview are done by the report page; it registers here.
    using Impressao = std::function<void(TfrmLaudo& editor, bool visualizar)>;
    static Impressao& ImpressaoLaudo();

    // The box receiving library phrases (nullptr before any box was clicked).
    QTextEdit* CaixaAtual() const { return m_caixaAtual; }
    int Grupos() const { return m_grupos; }

    // Controls (Qt object names as here).
    QLabel *lblTitulo, *lblNome;
    QLabel *lblCondExames, *lblOlhoDireito, *lblOlhoEsquerdo, *lblConclusao, *lblComentarios;
    QTextEdit *reCE, *reOD, *reOS, *reCO, *reCM;
    QLabel* lblCaixaSelec;
    QTreeWidget* trwLaudo;
    QCheckBox* chkMesmoLau;
    QPushButton *btnAdd, *btnAlt, *btnDel, *sButton2, *sButton1;
    QPushButton* sbtSalvar; // the save button (btnDel): its enabled state is the mode

    // A stored report is read up to this many bytes, and each box keeps up to this many
    // characters of it: far more than a printed page shows, and a box stays responsive.
    static constexpr qint64 kMaxArquivoLaudo = 1024 * 1024;
    static constexpr int kMaxTextoCaixa = 32768;

    // Operations.
    void NovoLaudo();
    void AbrirLaudo();
    void PreencheTextos(const QString& local, int grupos);
    void InsereTexto(int grupo, const QString& frase);
    void DestacaMarcadores(QTextEdit* caixa);
    QString VerificaCaixas(QTextEdit* caixa) const;
    bool GravaLaudo();
    bool LeLaudo(const QString& caminho);
    // A mouse press in a box, as the user's click does.
    void AtivaCaixa(QTextEdit* caixa);
    // Everything but print, preview, close and help disabled.
    void DesabilitaEdicao();

public slots:
    void trwLaudoChange();
    void trwLaudoDblClick(QTreeWidgetItem* item);
    void sbtSalvarClick();
    void sbtImprimirClick();
    void sbtVisualizarImprClick();
    void sbtFecharClick();
    void SpeedButton1Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void Monta();
    int GrupoSelecionado() const;
    QTextEdit* CaixaDoVisor(QObject* objeto) const;

    QPointer<TfrmWizLaudo> m_assistente;
    std::unique_ptr<TBMapOperation> m_leitor;
    QTextEdit* m_caixaAtual = nullptr;
    QTextEdit* m_ultimaSaida = nullptr;
    int m_grupos = 0;
    LaudoGravado m_gravado;
};
