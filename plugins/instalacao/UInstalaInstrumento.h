#pragma once
// The installation's calibration files and example examinations, made by the instrument's
// own modules: the four reference spheres are captured and measured, "Coef.txt" is fitted
// from them, and the example examinations are model corneas of each class captured and
// processed with that calibration, so the examples are what the instrument would measure.

#include <QString>
#include <QStringList>

namespace InstalaInstrumento {

struct Opcoes {
    QString moduloCaptura;      // the capture module file
    QString moduloProcessamento; // the processing module file
    QString pastaCalibracao;    // receives 1.txt .. 4.txt and Coef.txt
    QString pastaExemplos;      // receives <name>d.txt, <name>m.txt, <name>a.txt
    int numAneis = 16;
    double fatorCorrecao = 0.02;
    // A folder where finished results are kept and reused while the modules and the
    // options stay the same (empty: always compute).
    QString pastaCache;
};

// The options for an installation: its modules folder (the modules built with this
// installer stand in when the folder has none yet), its data folder ("Calibração" and
// "Exemplos" inside) and its settings file (FatorCorrecao); 16 rings.
Opcoes OpcoesDaInstalacao(const QString& pastaModulos, const QString& pastaDados,
                          const QString& arquivoConfiguracao);

// Runs both parts. Returns what was done, one line each. Raises ErroES when a module does
// not load, a capture or a measurement fails or a file cannot be written; the files already
// in the folders are then left as they were (each file is replaced whole).
QStringList Instala(const Opcoes& opcoes);

// The example examinations and the eye each is captured from (1 right, 0 left).
struct Exemplo {
    QString nome;
    int olho;
};
QList<Exemplo> Exemplos();

} // namespace InstalaInstrumento
