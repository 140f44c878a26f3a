#pragma once
// Pieces shared by the patient and doctor registries: the state lists, building the
// labelled fields of a tab, and moving values between the fields and the stored texts.

#include <QString>
#include <QStringList>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace cadastro {

// The 27 state codes of the registries, in list order (with "RD", without "RR").
QStringList Estados();

// A text field with its input limit.
QLineEdit* CriaTexto(QWidget* pai, const char* nome, int limite);
// A state or type list. Editable lists accept typed text up to limite characters.
QComboBox* CriaLista(QWidget* pai, const char* nome, const QStringList& itens, bool editavel,
                     int limite);
// A right-aligned label for a field, placed in the grid at (linha, coluna).
QLabel* Rotulo(QGridLayout* grade, const QString& texto, QWidget* campo, int linha, int coluna);

// Tab order of a tab page: its fields in reading order (row by row, left to right), whatever
// order they were created in.
void OrdemDeLeitura(QGridLayout* grade);

// The address tab of both registries: street, complement, district, city, state, postcode
// and phones, laid out in a grid with their labels.
struct AbaEndereco {
    QWidget* aba;
    QLineEdit *rua, *complemento, *bairro, *cidade, *cep, *fone, *celular;
    QComboBox* estado;
};
// `estados` and `estadoEditavel` describe the state list; `nomeCep` is the postcode field's
// object name (each registry names it its own way).
AbaEndereco CriaAbaEndereco(const QStringList& estados, bool estadoEditavel, const char* nomeCep);

// Shows a stored value in a list. A value that the list does not hold is added to it, so
// that saving the record again keeps it instead of losing it; an empty value selects
// nothing (or the empty entry, when the list has one).
void DefineTextoLista(QComboBox* lista, const QString& valor);
// The value of a list: the chosen entry or the typed text.
QString TextoLista(const QComboBox* lista);

// Makes a field or list editable or read-only.
void DefineEditavel(QWidget* campo, bool editavel);
bool Editavel(const QWidget* campo);

// The look of the registry dialogs.
QString EstiloCadastro();

} // namespace cadastro
