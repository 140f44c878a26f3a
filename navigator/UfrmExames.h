#pragma once
// The examination navigator: the centre of daily work. Left, the navigation panel with the
// patients of the chosen doctor filter and the built-in examples; right, the content panel
// with the patient or examination toolbar, the examination list of the current patient and
// the details of the selected examination. It also holds the map bar that start-up fills
// with one button per installed map module, and the two picture lists of that bar.
//
// The patient list is the data module's shared patient query shown by a grid; rows are
// fetched as the grid scrolls, so a large clinic list opens at once.

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QSize>

#include <functional>

class ConsultaBD;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QScrollArea;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
class QGroupBox;
class QPushButton;
class QKeyEvent;
class QButtonGroup;
class BufferMemoria;

// A list of pictures addressed by index, as the map bar's buttons use them.
class TListaImagens {
public:
    int Adiciona(const QPixmap& imagem)
    {
        m_imagens.append(imagem);
        return m_imagens.size() - 1;
    }
    int Quantidade() const { return m_imagens.size(); }
    QPixmap Imagem(int indice) const { return m_imagens.value(indice); }

private:
    QList<QPixmap> m_imagens;
};

class TfrmExames : public QDialog {
    Q_OBJECT
public:
    explicit TfrmExames(QWidget* pai = nullptr);
    ~TfrmExames() override;

    // --- map bar ---------------------------------------------------------------------------
    QToolBar* tlbMapas;
    TListaImagens ImageList3; // map bar pictures under the mouse pointer
    TListaImagens ImageList4; // map bar pictures

    // How a map button is handled: a single map, or several through the wizard.
    enum class TratamentoMapa { Mapa, Mapas };
    // Adds a map button at the front of the bar.
    QToolButton* AdicionaBotaoMapa(const QString& legenda, const QString& dica, int indiceImagem,
                                   TratamentoMapa tratamento);
    // The map bar's buttons from left to right.
    QList<QToolButton*> BotoesMapa() const;

    // --- what other parts of the system plug in -------------------------------------------
    // The new-examination assistant, the report wizard and the measurement screen are
    // separate subsystems; they register how they are opened from here.
    struct Integracoes {
        std::function<void(TfrmExames&, bool orto)> NovoExame;
        std::function<void(TfrmExames&)> Laudo;
        std::function<void(TfrmExames&)> Medidas;
    };
    static Integracoes& Ligacoes();

    // The examination selected on the patients page, as the measurement screen takes it
    // (the shared examination query may hold another row by the time "Lente" is pressed).
    struct ExameLente {
        int Codigo = 0;
        int CodPaciente = 0;
        QString Olho;
        QString Data; // "dd/MM/yyyy"
        QString NomePaciente;
    };
    const ExameLente& ExameParaLente() const { return m_exameLente; }
    // "Lente" works only on an examination of the current patient.
    bool LenteDisponivel() const { return ExameSelecionado && !ModoExemplos; }
    // Export, likewise, only for a selected examination of the current patient.
    bool ExportarDisponivel() const;

    // --- environment ------------------------------------------------------------------------
    // The ortho-k edition shows the ortho-k buttons, examples and values.
    void DefineEdicaoOrto(bool orto) { m_orto = orto; }
    bool EdicaoOrto() const { return m_orto; }
    // The screen size the layout follows (default: the primary screen).
    void DefineTamanhoTela(const QSize& tamanho) { m_tela = tamanho; }
    QSize TamanhoTela() const;

    // --- state --------------------------------------------------------------------------------
    bool ModoExemplos = false;
    bool ExameSelecionado = false;
    // Ortho-k values of the examination last found by LocalizaExame.
    double Sag = 0, Div = 0, Raio = 0;
    // Caption of the last selected item and the patient code at that selection.
    QString LegendaSelecionada;
    int CodPacienteSelecao = 0;

    QString FiltroMedico() const;
    // The current patient (code 0 and an empty name when the list is empty).
    int CodigoPacienteAtual() const;
    QString NomePacienteAtual() const;

    // --- operations ---------------------------------------------------------------------------
    void CarregaMedicos();
    void CarregaPacientes(const QString& ordem);
    void MostraPaciente(const QString& nome, const QString& filtro);
    void ModoPacientes();
    void ModoExames();
    void AjustaLayout();
    void AtualizaExames();
    void CarregaExames(int codPaciente);
    bool LocalizaExame(const QString& legenda);
    void SelecionaExame(const QString& legenda, int pagina);
    void MostraDetalhes(int pagina);
    void AtivaPacientes();
    void AtivaExemplos();
    // Moves the patient list to the first patient whose name begins with the text (case
    // counts); false when none does.
    bool VaiParaPrefixo(const QString& prefixo);
    // Reloads the list under the filter and moves to the patient with that code (a name is
    // not enough: another patient's name may begin with it).
    void MostraPacienteCodigo(int codigo, const QString& filtro);
    bool VaiParaCodigo(int codigo);

    // --- map display (UMapasExames.cpp) ------------------------------------------------------
    // The map of the selected examination or example with the single-map module of that
    // caption (the module file is the caption plus the platform's extension in DirMapas).
    void AbreMapa(const QString& modulo);
    // Calls the module with the examination the reader holds; the settings record carries
    // the given ring count and cone type for the call only. Null pictures are handed over
    // as no picture.
    void ExecutaMapa(const QString& modulo, const QString& tipoCone, const QStringList& cabecalho,
                     int numAneis, BufferMemoria* central, BufferMemoria* lateral);
    // Several examinations of the current patient (or examples) through the module's wizard.
    void AbreMapas(const QString& modulo);
    void AbreMapasExemplo(const QString& modulo);
    // The code of the examination the small map shows (-1: none).
    int CodigoMiniMapa() const { return m_codigoMiniMapa; }

    // --- controls (Qt object names as here) ------------------------------------------------
    QFrame* pnlNavegacao;
    QComboBox *CBMedicos, *CBMedicos1;
    QToolButton *tbOrdemAlfa, *tbOrdemCriacao;
    QTabWidget* pcExames;
    QWidget *tsPacientes, *tsExemplos;
    QTableView* DBGridPacientes;
    QLineEdit* edtFindGrid;
    QToolButton* sBitBtn1; // advanced search
    QFrame* pnlPacInfo;
    QLabel *lblPacienteID, *lblNomePaciente, *lblConvenio, *lblUltExame, *lblTotalExames;
    QLineEdit* DBEditControle;
    QTableWidget* GridExemplos;

    QLabel* lblPRI;
    QToolButton *sButton1, *sButton2;
    QFrame *tlbPaciente, *tlbExame;
    QToolButton *tbtCadPaciente, *tbtAlterarPaciente, *tbtExcluirPaciente, *tbNovoExame1,
        *tbExameOrto1, *tbLocPacExam;
    QToolButton *tbNovoExame2, *tbExameOrto2, *tbtExcluirExame, *tbLaudo, *Button1, *tbExportar;
    QScrollArea* pscrollMapas;
    QCheckBox* CBoxExames;
    QListWidget* lswPrincipal;
    QFrame* pnlInfoExame;
    QLabel *lblNomeExame, *lblCodExame, *lblVData, *lblVHora, *lblIdConf, *lblNomeMedico;
    QTabWidget* pcDetalhes;
    QPlainTextEdit *dbDiag, *dbObs;
    QToolButton *btnEDD, *btnGRD, *btnEDO, *btnGRO;
    QGroupBox* pnlOrto;
    QLabel *lblDiv, *lblRaio, *lblSag;
    QFrame* pnlVisualizar;
    QLabel* imgVisualizar;
    QCheckBox* cBoxMiniMapa;
    QTimer* TimerAguarde;

    // --- patient search panel (in place of the examination list while open) -------------------
    QFrame* pnlFindPac;
    QCheckBox* cbDicas;
    QGroupBox* rgpPaciente;
    QButtonGroup* m_tiposBusca;
    QLabel* lblCbFind;
    QComboBox* CbFind;
    QLineEdit* edtFind;
    QPushButton *btnLocPac, *btnLocDBGrid;
    QTableView* dbGridPacLoc;
    // The search kind: the checked item of "Consultar por" (0 to 6).
    int TipoBusca() const;
    void DefineTipoBusca(int tipo);
    bool BuscaAberta() const;
    void CarregaBuscaPacientes();

public slots:
    void FormShow();
    void FormActivate();
    void FormResize();
    void FormClose();

    void MapaClick();
    void MapasClick();
    void MostraMiniMapa();

    void sButton2Click();
    void SpeedButton3Click();
    void CBMedicos1Change();
    void tbOrdemAlfaClick();
    void tbOrdemCriacaoClick();
    void DBGridPacientesCellClick();
    void DBGridPacientesDblClick();
    void DBEditControleChange();
    void edtFindGridChange();

    void lswPrincipalSelectItem(QListWidgetItem* item, bool selecionado);
    void AtualizaBotaoLente();
    void lswPrincipalDblClick();
    void CBoxExamesClick();
    void spbEDDClick();
    void spbGRDClick();
    void SpeedButton5Click();
    void SpeedButton4Click();
    void lblNomeMedicoClick();
    void tbtExcluirExameClick();
    void tbtExcluirPacienteClick();
    void tbtAlterarPacienteClick();
    void tbtCadPacienteClick();
    void tbNovoExameClick();
    void tbExameOrtoClick();
    void tbLaudoClick();
    void Button1Click();
    void tbExportarClick(); // UExportaExames.cpp
    void pcExamesChange(int pagina);
    void GridExemplosSelectCell(int coluna, int linha);
    void TimerAguardeTimer();

    void bbtnBuscaAvClick();
    void tbLocPacExamClick();
    void rgpPacienteClick();
    void edtFindChange();
    void CbFindChange();
    void btnLocPac1Click();
    void btnLocDBGrid1Click();
    void dbGridPacLocCellClick();
    void dbGridPacLocDblClick();

protected:
    void showEvent(QShowEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    ConsultaBD& Pacientes() const;
    void MontaNavegacao();
    void MontaConteudo();
    void MontaDetalhes(QWidget* pai);
    void SelecionaLinhaGrade(int linha);
    void CompletaGrade();
    void MostraInfoPaciente();
    void AtualizaCheckExames(int totalExames, int itens, bool consultaMedico);
    void GravaTexto(bool diagnostico);
    void NovoExame(bool orto);
    void TeclaNavegador(QObject* origem, class QKeyEvent* tecla);
    void SelecaoMudou();
    void RemoveLinhaPaciente(int codigo);
    void MontaBusca(QWidget* pai);
    // While the search panel is open the patient and new-examination buttons stay off.
    void BloqueiaDuranteBusca();
    void AbreBusca();
    void FechaBusca();
    void NaoEncontrado();
    void AjustaColunasBusca();
    // Moves the patient list, under the filter, to the patient with that code (by name when
    // the code is not listed).
    void MostraPacienteCodigo(int codigo, const QString& nome, const QString& filtro);
    // A list read in sequence: the first row that meets the test, fetching rows as needed
    // (-1 when none does).
    int ProcuraEmSequencia(const std::function<bool(int)>& procurada);
    bool VaiParaLinha(int linha);
    // A list read by blocks: positions on the patient found by his place in the order,
    // reading only the rows around it (false when the list does not hold him), or on the
    // first patient in the list's order that meets the condition on :Valor.
    bool VaiParaPosicao(int codigo, const QString& nome);
    bool VaiParaPrimeiro(const QString& condicao, const QString& valor);

    bool m_orto = false;
    bool m_montado = false;   // every control exists
    QSize m_tela;
    QString m_nomePaciente;   // name kept at each change of the current patient
    QString m_filtroCarregado;
    bool m_alfabeticaCarregada = true;
    bool m_mostrando = false;
    bool m_fechado = false;
    bool m_carregando = false;
    QListWidgetItem* m_itemSelecionado = nullptr;
    QString m_medicoExame;    // name of the selected examination's doctor
    QString m_diagOriginal, m_obsOriginal;
    ExameLente m_exameLente;

    // Map display.
    void LimpaMiniMapa();
    void VoltaAoExameSelecionado();
    int m_codigoMiniMapa = -1;
    double m_blocoMiniMapa[16] = {};   // handed to "Visualizar", never read
    void* m_controleModulo = nullptr;  // what "Visualizar" may write through; never read
};
