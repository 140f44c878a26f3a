#pragma once
// The windows of the multi-map modules: the wizard that chooses the examinations and the
// options, and the panel window (1 x 2, 1 x 3, 2 x 2) with one colour scale per kind of value
// over all panels, the value under the pointer at the same point of every panel, a header per
// panel, printing and export to PNG and PDF.

#include "plugins/mapas/UEscalaCores.h"
#include "plugins/mapasmulti/UMultiMapa.h"
#include "topography/UProgressaoCeratocone.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QGridLayout;

namespace MultiMapa {

// The help page of the wizard and of the panel window (ajuda/contexto_40.html).
inline constexpr int kContextoAjuda = 40;

// One panel: a grid of values with its scale and what is written around it.
struct Painel {
    QString titulo;            // "OD 12/01/2001 10:00:00 - Axial"
    QStringList cabecalho;     // patient and examination, as far as the header goes
    GradeValores grade;
    QString unidade = QStringLiteral("D");
    int escala = 0;            // index into the window's scales
    QStringList informacoes;   // lines under the map
    std::optional<Ponto> marca; // the steepest point
    std::optional<ZonaTratamento> zona;
    int olhoNasal = 0;         // 1 right eye, -1 left eye: nasal/temporal marks; 0 none
};

struct Conjunto {
    QList<Painel> paineis;
    QList<EscalaCores> escalas;
    QStringList textoEscalas;  // one line per scale for the text output
    QStringList linhas;        // what the window shows below the panels
    QStringList avisos;
    // The follow-up of one eye over the examinations (the "Progressão" button), and its title.
    std::optional<AnaliseProgressao> progressao;
    QString tituloProgressao;
};

// Describes a scale for the text output ("Escala 1: absoluta, 28.00 a 65.50 D, passo 1.50 D").
QString TextoEscala(const EscalaCores& e, const QString& unidade);

class TPainelWidget : public QWidget {
    Q_OBJECT
public:
    TPainelWidget(const Painel& p, const EscalaCores& e, QWidget* pai);
    QSize sizeHint() const override { return {300, 300}; }
    QSize minimumSizeHint() const override { return {160, 160}; }
    void MostraPonto(bool dentro, double x, double y);
    double RaioMm() const { return m_raio; }

signals:
    void Cursor(bool dentro, double xMm, double yMm);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;

private:
    QRectF Area() const;
    const Painel& m_p;
    const EscalaCores& m_e;
    double m_raio;
    QImage m_cache;
    bool m_dentro = false;
    double m_x = 0, m_y = 0;
};

class TfrmMultiMapa : public QDialog {
    Q_OBJECT
public:
    // reconstroi, when given, offers the view (tangential/axial) and the difference to the
    // first map, and rebuilds the panels when they change (MultiOrto).
    TfrmMultiMapa(const QString& titulo, Conjunto conjunto, QWidget* pai,
                  std::function<Conjunto(const Opcoes&)> reconstroi = {});
    ~TfrmMultiMapa() override;

    const Conjunto& Dados() const { return m_c; }
    // Everything the window shows as text, one item per line (for the batch output).
    QStringList Resumo() const;
    QImage ImagemConteudo();
    bool ExportaPng(const QString& arquivo);
    bool ExportaPdf(const QString& arquivo);
    // Shows the value at (x, y) mm on every panel, as the pointer does.
    void MostraCursor(bool dentro, double xMm, double yMm);
    QStringList TextosCursor() const;

public slots:
    void btnImprimirClick();
    void btnPngClick();
    void btnPdfClick();
    void btnProgressaoClick();

private:
    void Monta();
    Conjunto m_c;
    std::function<Conjunto(const Opcoes&)> m_reconstroi;
    QWidget* m_conteudo = nullptr;
    QGridLayout* m_grade = nullptr;
    QLabel* m_linhas = nullptr;
    QList<TPainelWidget*> m_widgets;
    QList<QLabel*> m_cursores;
    QComboBox* m_cboVista = nullptr;
    QCheckBox* m_chkDiferenca = nullptr;
};

// The wizard: the candidates with eye, date, time and (for "O"/"T") type, chosen by ticking
// (the order of ticking is the selection order), the options, and the module's limits.
class TfrmWizardMulti : public QDialog {
    Q_OBJECT
public:
    TfrmWizardMulti(Modulo m, const QList<Candidato>& oferecidos, QWidget* pai);
    QList<int> Escolhidos() const { return m_ordem; }
    Opcoes OpcoesEscolhidas() const;
    void Marca(const QList<int>& indices);
    QString Mensagem() const;

private:
    void Atualiza();
    Modulo m_modulo;
    QList<Candidato> m_of;
    QList<int> m_ordem;
    QListWidget* m_lista = nullptr;
    QComboBox* m_cboVista = nullptr;
    QComboBox* m_cboVista2 = nullptr;
    QComboBox* m_cboEscala = nullptr;
    QCheckBox* m_chkDiferenca = nullptr;
    QLabel* m_lblMensagem = nullptr;
    QPushButton* m_btnOk = nullptr;
};

} // namespace MultiMapa
