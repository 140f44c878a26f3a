#pragma once
// The regional-settings guard: saves the user's six regional values, forces the values the
// system's files and modules need for the duration of a run, and puts the user's own values
// back when the main menu closes.

#include "platform/URegistro.h"

class TBRegConfig : public TRegistro {
public:
    // Opens "\Control Panel\International" without creating it and reads the six values
    // into the saved fields; the key stays open. A read error shows "Problemas ao ler
    // registro"; the values read so far stay saved.
    void SalvaRegional();
    void DefineRegional(const QString& decimal, const QString& dataCurta, const QString& milhar,
                        const QString& formatoHora, const QString& manha, const QString& tarde);
    // Writes the forced values, in the order sDecimal, sShortDate, sThousand, sTimeFormat,
    // s1159, s2359. Nothing is written when the key could not be opened.
    void AplicaRegional();
    // Writes the saved values back, in the same order.
    void RestauraRegional();

    QString sDecimalSalvo, sShortDateSalvo, sThousandSalvo, sTimeFormatSalvo, s1159Salvo,
        s2359Salvo;
    QString sDecimal, sShortDate, sThousand, sTimeFormat, s1159, s2359;

private:
    void Escreve(const QString (&valores)[6]);
};
