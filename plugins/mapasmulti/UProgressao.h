#pragma once
// The follow-up window of one eye: K1, K2 and Kmax, I-S and KISA% of its examinations
// plotted against the date (examinations below the minimum confidence index hollow and out
// of the trend), the change from the first to the last and per year, and "progressão" when
// Kmax rose by 1.0 D or more within 12 months. Opened from the multi-map window.

#include "topography/UProgressaoCeratocone.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

class TGraficoProgressao : public QWidget {
public:
    TGraficoProgressao(const AnaliseProgressao& a, QWidget* pai);
    QSize sizeHint() const override { return {760, 520}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const AnaliseProgressao& m_a;
};

class TfrmProgressao : public QDialog {
public:
    TfrmProgressao(AnaliseProgressao analise, const QString& titulo, QWidget* pai);
    const AnaliseProgressao& Analise() const { return m_a; }
    // What the window shows as text, one item per line (for the batch output).
    QStringList Resumo() const;
    QImage ImagemConteudo();

private:
    AnaliseProgressao m_a;
    QString m_titulo;
    QWidget* m_conteudo = nullptr;
};

constexpr int kContextoAjudaProgressao = 43;
