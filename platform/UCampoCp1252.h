#pragma once
// Text fields whose value goes to a column of the database's code page (cp1252): a character
// the code page cannot hold would be stored as something else, so typing or pasting one is
// refused at the field, with a short note naming it, and what was typed before stays.

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// The first character of the text that cp1252 cannot hold (a whole character, also when it
// takes two UTF-16 units); empty when every character fits.
QString CaractereForaCp1252(const QString& texto);

// The note shown at the field, e.g. O caractere "Ł" não pode ser gravado.
QString AvisoCaractereForaCp1252(const QString& caractere);

// The field refuses such characters; the last note is also kept in the field's property
// "avisoCp1252".
void RestringeCp1252(QLineEdit* campo);
void RestringeCp1252(QPlainTextEdit* campo);
