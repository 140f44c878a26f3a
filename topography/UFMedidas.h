#pragma once
// The measurement screen: distances measured on the central and lateral photographs of one
// examination, and below them the lens sagitta calculator that those measurements and the
// examination's keratometry feed. One form for the whole program, created at start-up and
// shown modally from the navigator's "Lente" button.

#include "topography/UBFuncoesMapas.h"
#include "topography/UDesenhoMedidas.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class TBMapOperation;

// The help page of the screen (ajuda/contexto_30.html).
inline constexpr int kContextoAjudaMedidas = 30;

// The examination the screen measures, as the navigator hands it over.
struct TExameMedidas {
    int Codigo = 0;
    int CodPaciente = 0;
    QString Olho;          // "OD" right eye; anything else is the left eye
    QString Data;          // as shown, "dd/MM/yyyy"
    QString NomePaciente;
};

// A 640 x 480 picture shown at 1:1 (one widget pixel is one image pixel) that reports
// presses and moves in its own pixel coordinates.
class TCanvasMedidas : public QWidget {
    Q_OBJECT
public:
    explicit TCanvasMedidas(QWidget* pai = nullptr);
    QImage& Imagem() { return m_imagem; }
    const QImage& Imagem() const { return m_imagem; }
    void DefineImagem(const QImage& imagem);
    // Whole picture blank (black), as when an examination has no image.
    void Limpa();

signals:
    void Pressionado(QPoint posicao, Qt::MouseButton botao);
    void Movido(QPoint posicao);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QImage m_imagem;
};

class TFMedidas : public QDialog {
    Q_OBJECT
public:
    explicit TFMedidas(QWidget* pai = nullptr);
    ~TFMedidas() override;

    // Prepares the screen for an examination (files, images, title, factors, keratometry,
    // lens defaults, reticle). False when the screen must not open: the examination files
    // are missing or the settings' factors are no numbers (the user was told why).
    bool FormShow(const TExameMedidas& exame);
    // Prepares and shows the screen modally; nothing opens when FormShow refuses.
    void Abre(const TExameMedidas& exame);

    // --- controls (object names as here) ----------------------------------------------
    TCanvasMedidas *ImgCentral, *ImgLateral, *ImgCentralAux, *ImgLateralAux;
    QLabel *lbXC, *lbYC, *lbXCM, *lbYCM, *lbXL, *lbYL, *lbXLM, *lbYLM;
    QLabel *lbTitulo, *lbFCC, *lbFCLX, *lbFCLY;
    TCanvasMedidas *CorPalBox, *CorTextoBox, *Paleta;
    QLabel* lbPaleta;
    QScrollBar* sbEsp;
    QLabel* EspBox;
    QCheckBox* cbFST;
    QLabel *lbP1, *lbP2, *lbP3, *lbP1M, *lbP2M, *lbP3M, *lbSagP1P2, *lbSagP1, *lbmmp1, *lbCordaP1P2,
        *lbCordaP3, *lbmmcorda;
    QPushButton* btnSairMedidas;
    // Lens calculator.
    QLineEdit *edtCordaLente, *edtSagLente, *edtRaioLente, *edtCordaTopo, *edtRaioTopo, *edtSagTopo,
        *edtCordaLimbo, *edtRaioLimbo, *edtSagLimbo, *edtCordaEsclera, *edtRaioEsclera, *edtSagEsclera,
        *edtCordaIris, *edtApiceIris, *edtVault;
    QSlider *tbCordaLente, *tbSagLente;
    QPushButton *btCalculaSagTeorico, *btCalculaSagMedida, *btCalcSagFST;

    // --- state the tests and the lens drawing read ---------------------------------------
    const TMedida* MedidasCentral() const { return m_central; }
    const TMedida* MedidasLateral() const { return m_lateral; }
    int NumMedidasCentral() const { return m_numCentral; }
    int NumMedidasLateral() const { return m_numLateral; }
    int ModoCalculo() const { return m_modo; }
    double FatorCentral() const { return m_fator; }
    double FatorLateralX() const { return m_fatorX; }
    double FatorLateralY() const { return m_fatorY; }
    const TDadosCeratometria& Ceratometria() const { return m_cerat; }
    const TEstiloMedidas& Estilo() const { return m_estilo; }
    bool TemP1() const { return m_temP1; }

public slots:
    void ImgCentralPressionado(QPoint posicao, Qt::MouseButton botao);
    void ImgCentralMouseMove(QPoint posicao);
    void ImgLateralPressionado(QPoint posicao, Qt::MouseButton botao);
    void ImgLateralMouseMove(QPoint posicao);
    void reconstruirCentral();
    void reconstruirLateral();
    void CorPalBoxClick();
    void CorTextoBoxMouseDown();
    void PaletaMouseDown(QPoint posicao);
    void sbEspChange(int valor);
    void cbFSTClick();
    void btnSairMedidasClick();
    void btCalculaSagTeoricoClick();
    void btCalculaSagMedidaClick();
    void btCalcSagFSTClick();
    void PlotaLente();

private:
    void MontaTela();
    QLineEdit* CampoLente(const char* nome, const QString& legenda, class QGridLayout* grade, int linha, int coluna);
    void LimpaMedidas();
    void MostraInicioDosCampos();
    void PintaCaixa(TCanvasMedidas* caixa, const QColor& cor);
    void MostraCoordenadas(QPoint posicao, QLabel* x, QLabel* y, QLabel* xm, QLabel* ym, double fx, double fy);
    void DefineDiametroPorIris(double cordaIris);
    void DefineTexto(QLineEdit* campo, const QString& texto);
    // Calculation (modes 1 and 2) reading every input from its edit; false after an error
    // was reported, with nothing changed.
    bool CalculaPorModo(int modo);
    void ConcluiCalculo(double sagLente, bool mostraZonas, double sagTopo, double sagLimbo, double sagEsclera);
    void AtualizaRaioEDesenha();
    double LeCampo(QLineEdit* campo) const; // raises ErroConversao
    void RelataErro(const QString& texto) const;

    // Linked fields.
    void edtCordaLenteChange();
    void edtCordaEscleraChange();
    void edtCordaIrisChange();
    void edtSagLenteChange();
    void tbCordaLenteChange(int posicao);
    void tbSagLenteChange(int posicao);
    void CampoSimplesChange(QLineEdit* campo, double& valor);

    std::unique_ptr<TBMapOperation> m_exameArquivos;
    TExameMedidas m_exame;
    double m_fator = 0, m_fatorX = 0, m_fatorY = 0;
    TDadosCeratometria m_cerat;
    TEstiloMedidas m_estilo;

    TMedida m_central[kMaxMedidas + 1];
    TMedida m_lateral[kMaxMedidas + 1];
    int m_numCentral = 0, m_numLateral = 0;
    int m_estadoCentral = 0, m_estadoLateral = 0; // 0 no point, 1 first point, 2 second (FST)
    bool m_fstTerceiro = false;                    // FST third point placed
    QPoint m_pontoCentral, m_pontoLateral, m_p2Lateral;
    QPoint m_p1;
    bool m_temP1 = false;
    int m_escolhaCor = 0; // 0 none, 1 line, 2 text

    // Lens values and calculation mode (kept between showings).
    double m_diametro = 16, m_sag = 0, m_raio = 0;
    double m_cordaTopo = 0, m_raioTopo = 0, m_sagTopo = 0;
    double m_cordaLimbo = 15, m_raioLimbo = 9.5, m_sagLimbo = 0;
    double m_cordaEsclera = 16, m_raioEsclera = 11.5, m_sagEsclera = 0;
    double m_cordaIris = 0, m_apiceIris = 0, m_vault = 200;
    int m_modo = 0;
    int m_ligando = 0; // linked-field updates in progress
};

// Makes the navigator's "Lente" open this screen for the examination selected there.
void LigaMedidasAoNavegador(TFMedidas& medidas);
