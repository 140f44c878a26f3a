#pragma once
// The capture assistant of a new examination: for each eye, in four steps, capture through
// the capture module, ring detection through the processing module, the map of the unsaved
// examination, and storage. The two eyes are independent and their steps may be
// interleaved. The ortho-k kind captures four images per eye and stores four examinations.
//
// The patient is fixed when the form opens (code, name and RG), the doctor from the first
// capture on (by code, so that two doctors of the same name are never confused). Each eye
// keeps its own images and results; a processing that fails leaves them as they were.

#include "navigator/UResultadosCaptura.h"

#include <QByteArray>
#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QWidget;
class TfrmExames;

class TfrmNovoExame : public QDialog {
    Q_OBJECT
public:
    TfrmNovoExame(TfrmExames& navegador, bool orto, QWidget* pai = nullptr);
    ~TfrmNovoExame() override;

    static constexpr int kAlturaPequena = 350;
    static constexpr int kAlturaGrande = 623;

    // How the ortho-k storage waits between two examinations (1.1 s with the window painted
    // and no input taken); tests may replace it.
    static std::function<void()>& PausaOrto();

    bool Orto() const { return m_orto; }
    // The eye's step, 1 to 5 (eye 1 right, 0 left).
    int Passo(int olho) const;
    int CodigoPaciente() const { return m_codPaciente; }
    // What the eye's processing gave (null before it succeeded).
    const CapturaExame::ResultadoNormal* ResultadoOlho(int olho) const;
    const CapturaExame::ResultadoOrto* ResultadoOrtoOlho(int olho) const;
    // Code of the doctor chosen in ComboMedicos (0 for the empty item).
    int CodigoMedico() const;

    // --- controls (Qt object names as here) ------------------------------------------------
    QComboBox* ComboMedicos;
    QLabel *lblData, *lblHora, *DBlblPaciente;
    QGroupBox *gbxOlhoDireito, *gbxOlhoEsquerdo;
    QLabel *lblDigitD, *lblDetectD, *lblMapaD, *lblGravaD;
    QLabel *lblDigitS, *lblDetectS, *lblMapaS, *lblGravaS;
    QLabel *Olho1, *Olho0;
    QPushButton *sbtExecutarD, *sbtExecutarS;
    QWidget *pnlDireito, *pnlEsquerdo;
    QPlainTextEdit *Memo3, *Memo4, *Memo1, *Memo2;
    QRadioButton *rbtAxial, *rbtTangencial, *rbtMultiOrto;
    QPushButton* btnFEC;
    QLabel *lblMens1, *lblMens2, *Image4, *lblMens3;
    QTimer* Timer1;

    // The step indicator of an eye: arrow beside the step, check marks of the steps done,
    // blue labels for the steps that can be run (again).
    QLabel* Seta(int olho, int passo) const;
    QLabel* Marca(int olho, int passo) const;
    QLabel* RotuloPasso(int olho, int passo) const;

public slots:
    void FormShow();
    void sbtExecutarDClick();
    void sbtExecutarSClick();
    void sbtFecharClick();
    void Timer1Timer();
    void PassoDireito(int n);
    void PassoEsquerdo(int n);

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void reject() override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Olho;
    void MontaOlho(int olho, QGroupBox* caixa, QWidget* painel);
    void DefinePasso(int olho, int n);
    void ExecutaPasso(int olho);
    void Executar(int olho);
    void RotuloClicado(int olho, int passo);
    bool Digitaliza(int olho);
    bool ProcessaOlho(int olho);
    bool VisualizaMapa(int olho);
    bool GravaExame(int olho);
    bool GravaExamesOrto(int olho);
    void PreencheMedicos();
    void AtualizaBotaoFechar();
    void MostraHora();
    void AumentaForm();
    void DiminuiForm();
    void Centraliza();
    void NoTopo();
    void MostraPrevia(int olho, const QByteArray& bitmap);
    CapturaExame::DadosCabecalho Cabecalho(int olho) const;
    void DepoisDaGravacao(int olho);
    bool EmAndamento(int olho) const;
    bool Cancelando() const;

    TfrmExames& m_nav;
    bool m_orto;
    int m_codPaciente = 0;
    QString m_nomePaciente, m_rgPaciente;
    std::unique_ptr<Olho> m_olhos[2];
    bool m_mostrado = false;
    bool m_fechar = false; // the user confirmed the cancellation
    bool m_gravando = false;
};
