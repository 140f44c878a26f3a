#pragma once
// Follow-up of one eye over time: K1, K2, Kmax, I-S and KISA% of its examinations by date,
// the change between the first and the last, the yearly trend, and the progression flag
// (the usual criterion for corneal cross-linking: Kmax rising by 1.0 D or more within 12
// months). Examinations whose confidence index is below the settings' minimum are shown but
// left out of the trend and of the flag.

#include <QDate>
#include <QList>
#include <QString>

#include <limits>

// Kmax rise, dioptres, and the window it must happen within, months.
constexpr double kLimiarProgressaoKmax = 1.0;
constexpr int kMesesProgressao = 12;

// The values followed over time, in this order.
enum class SerieProgressao { K1, K2, Kmax, IS, Kisa };
constexpr int kSeriesProgressao = 5;
QString NomeSerie(SerieProgressao s);  // "K1", "K2", "Kmax", "I-S", "KISA%"
QString UnidadeSerie(SerieProgressao s); // "D" or "%"

struct ExameProgressao {
    QDate data;
    QString rotulo;        // as the examination is named on screen
    double confianca = std::numeric_limits<double>::quiet_NaN();
    double valor[kSeriesProgressao] = {std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::quiet_NaN()};
    double Valor(SerieProgressao s) const { return valor[int(s)]; }
};

struct TendenciaSerie {
    bool valida = false;     // two usable examinations at least
    double primeiro = 0, ultimo = 0;
    double variacao = 0;     // last - first
    double porAno = 0;       // least-squares slope over the usable examinations, per year
};

struct AnaliseProgressao {
    QList<ExameProgressao> exames;   // by date
    QList<bool> usado;               // per examination: counts for the trend
    TendenciaSerie tendencia[kSeriesProgressao];
    bool progressao = false;         // Kmax rose by the threshold within the window
    int de = -1, ate = -1;           // the pair that shows it (indices into exames)
    double elevacaoKmax = 0;         // its rise
    // The findings as text ("Kmax: 46.00 a 47.80 D (+1.80 D; +1.20 D/ano)", "Progressão: ...").
    QStringList Linhas() const;
};

// Sorts by date, marks what counts (confidence at or above confiancaMinima; an unknown
// confidence counts), computes the trends and the flag.
AnaliseProgressao AnalisaProgressao(QList<ExameProgressao> exames, double confiancaMinima);
