#pragma once
// The map window of one examination: header, colour map with legend, simulated keratometry,
// the value under the pointer, the lens values of an ortho-k examination, the examination's
// images, notes on what could not be used, and printing and export to PNG and PDF.

#include "plugins/mapas/UAnaliseOrto.h"
#include "plugins/mapas/UDesenhoMapa.h"
#include "plugins/mapas/UEscalaCores.h"
#include "plugins/mapas/UMapaCurvatura.h"
#include "topography/UIndicesCeratocone.h"

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QPushButton;

// What the window shows besides the map.
struct DadosJanelaMapa {
    QStringList cabecalho;     // the examination's header lines (empty when missing)
    bool semCabecalho = false; // no header was handed over
    QImage central, lateral;   // null when not handed over
    bool temOrto = false;      // lens values of an ortho-k examination
    double sag = 0, div = 0, raio = 0;
    double pupilaX = 0, pupilaY = 0, pupilaRaio = 0; // mm from the map centre
    bool temPupila = false;
    bool temAnalise = false;   // the ortho-k treatment analysis is shown
    AnaliseOrto analise;
    bool temIndices = false;   // the keratoconus indices panel, the Kmax point on the map
    TIndicesCeratocone indices;
};

// Options of the map, from the options record.
struct OpcoesMapa {
    bool escalaIso = true;
    bool passoFixo = false;  // the user's fixed step ("Personalizado")
    double incMap = 0.5;
    bool grade = true;
    bool ceratPontual = false;
    QString corCeratPontual = QStringLiteral("Preta");
};

class TMapaWidget : public QWidget {
    Q_OBJECT
public:
    TMapaWidget(const MapaCurvatura& mapa, const EscalaCores& escala, const OpcoesDesenho& o,
                QWidget* pai);
    QSize sizeHint() const override { return {520, 520}; }
    // The map in millimetres at a widget point (y downwards); false outside the zone.
    bool PontoMm(const QPointF& p, double& xMm, double& yMm) const;

signals:
    void Cursor(bool dentro, double xMm, double yMm);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;

private:
    const MapaCurvatura& m_mapa;
    const EscalaCores& m_escala;
    OpcoesDesenho m_opcoes;
};

class TfrmMapa : public QDialog {
    Q_OBJECT
public:
    TfrmMapa(MapaCurvatura::Tipo tipo, std::unique_ptr<MapaCurvatura> mapa,
             const DadosJanelaMapa& dados, const OpcoesMapa& opcoes, QWidget* pai);
    ~TfrmMapa() override;

    const MapaCurvatura& Mapa() const { return *m_mapa; }
    const EscalaCores& Escala() const { return *m_escala; }
    // The notes shown (bad input, what was left out).
    QStringList Avisos() const { return m_avisos; }
    // Everything the window shows as text, one line per item (header, keratometry, lens
    // values, scale, notes): for the batch output beside the PNG.
    QStringList Resumo() const;
    // The window's content without the buttons, and the map alone (centre in the middle).
    QImage ImagemConteudo();
    QImage ImagemMapa(int lado) const;

    // Writes the content as PNG / PDF; false (and a message) when the file cannot be written.
    bool ExportaPng(const QString& arquivo);
    bool ExportaPdf(const QString& arquivo);

public slots:
    void btnImprimirClick();
    void btnPngClick();
    void btnPdfClick();
    void MostraCursor(bool dentro, double xMm, double yMm);

private:
    void MontaTela(const DadosJanelaMapa& dados);

    MapaCurvatura::Tipo m_tipo;
    std::unique_ptr<MapaCurvatura> m_mapa;
    std::optional<EscalaCores> m_escala;
    OpcoesMapa m_opcoesMapa;
    OpcoesDesenho m_opcoes;
    QStringList m_avisos;
    QStringList m_resumo;
    QWidget* m_conteudo = nullptr;
    TMapaWidget* m_widgetMapa = nullptr;
    QLabel* m_lblCursor = nullptr;
};

// The scale of a map from its options.
EscalaCores EscalaDoMapa(const MapaCurvatura& mapa, const OpcoesMapa& opcoes);
