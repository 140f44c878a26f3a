#pragma once
// The numbered slots of a report box and the report items of the wizard's lists, as plain
// text rules (no widgets), so the editor and the wizard only wire them to their controls.
//
// A slot is the text between two "#": the first and second "#" of a box enclose slot 1, the
// third and fourth slot 2, and so on. An unfilled slot holds its number ("#3#"); a filled
// one its number, "-" and the chosen phrase ("#3-leve#"). A "#" that nothing closes opens
// no slot.

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

struct Marcador {
    int numero;        // 1, 2, ...
    qsizetype abre;    // position of the opening "#"
    qsizetype fecha;   // position of the closing "#"
    qsizetype TamanhoInterno() const { return fecha - abre - 1; }
};

// Every slot of a text, in order.
QList<Marcador> Marcadores(const QString& texto);

// Writes a phrase into slot n: its number, then "-" and the phrase when the phrase is not
// empty (an empty phrase brings back the number alone). A text without slot n comes back
// unchanged.
QString InsereTexto(const QString& texto, int n, const QString& frase);

// The slots that the editor colours: the first eighteen.
inline constexpr int kMarcadoresColoridos = 18;
QList<Marcador> MarcadoresColoridos(const QString& texto);

// Unfilled mandatory slots (2, 4, 5, 8, 10, 11: at most two characters inside) of a box,
// each number followed by one blank ("2 5 "); empty for an empty box or none missing.
QString VerificaCaixas(const QString& texto);
bool MarcadorObrigatorio(int numero);

// The question asked before saving a report with unfilled mandatory slots, or an empty text
// when none is missing. Each eye box is checked only when it is enabled (an eye without
// examination is not part of the report).
QString PerguntaCaixasObrigatorias(const QString& olhoDireito, bool direitoAtivo,
                                   const QString& olhoEsquerdo, bool esquerdoAtivo,
                                   const QString& conclusao);

// "Laudo " + code + " - " + date "dd/MM/yyyy" + " " + time "HH:mm:ss".
QString ItemLaudo(int codigo, const QDate& data, const QTime& hora);
// The code back from such an item: the characters after "Laudo " up to the blank before the
// first "-"; -1 when they are no number.
int CodigoDoItem(const QString& item);
