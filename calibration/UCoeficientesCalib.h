#pragma once
// Calibration coefficients. Each of the four reference-sphere files "1.txt".."4.txt" holds
// the sphere's reference value on its first line and the value measured for each ring on the
// following lines. Ring by ring the four pairs are fitted to the least-squares line
// reference = a + b * measured, and the N pairs (a, b) go to "Coef.txt", the file the
// processing modules read.

#include "common/UErros.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A calibration that cannot be computed from the sphere files.
class ErroCalibracao : public ErroSistema {
public:
    using ErroSistema::ErroSistema;
};

struct TCoeficienteAnel {
    double a = 0; // intercept
    double b = 0; // slope
};

// The least-squares line x = a + b y through four points. Raises ErroCalibracao when the
// measured values do not spread (G = 4 Syy - Sy^2 is zero).
TCoeficienteAnel AjustaAnel(const double (&x)[4], const double (&y)[4]);

// Reads the four sphere files of the folder and fits every ring that file 1 holds; the
// other files are read in step with it. Raises ErroES for a missing or unreadable file,
// ErroConversao for a value that is no number and ErroCalibracao for a file with fewer
// rings than file 1, for no rings at all, for more rings than numAneis and for a ring whose
// measured values do not spread.
QList<TCoeficienteAnel> CalculaCoeficientes(const QString& pasta, int numAneis);

// "Coef.txt": numAneis pairs, intercept then slope, one per line in the shortest general
// decimal form, CR LF after every line; rings beyond those fitted read 0 and 0.
QByteArray ConteudoCoeficientes(const QList<TCoeficienteAnel>& coeficientes, int numAneis);

// Fits and writes "Coef.txt" in the folder. The file is written only when every ring was
// fitted, and only whole: on failure any previous "Coef.txt" stays as it was, the result is
// false and motivo (when given) says why.
bool GravaCoeficientes(const QString& pasta, int numAneis, QString* motivo = nullptr);
