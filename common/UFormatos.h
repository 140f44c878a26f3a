#pragma once
// Number and date formatting used program-wide: "." as decimal separator, "," as thousands
// separator, dates "dd/MM/yyyy" and times "HH:mm:ss".

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <cstdint>

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int64_t ArredondaInteiro(double valor);

// Formats a number by a pattern of '0' (digit always shown), '#' (digit shown when
// significant), '.', ',' (thousands grouping when anywhere before the point), '%' (value
// times 100), quoted literals and up to three sections "positive;negative;zero".
// Halves are rounded away from zero on the value's 15 significant digits.
// Examples: FormataNumero("00.00", 7.25) == "07.25"; FormataNumero("0.##", 1.5) == "1.5".
QString FormataNumero(const QString& padrao, double valor);

// Shortest general decimal form: up to 15 significant digits, no trailing zeros,
// exponent form only for very large or very small values ("1E-5", "1.5E20").
QString FormataGeral(double valor);

QString FormataData(const QDate& data);          // "dd/MM/yyyy"
QString FormataHora(const QTime& hora);          // "HH:mm:ss"
QString FormataDataHora(const QDateTime& momento); // "dd/MM/yyyy HH:mm:ss"

// Conversions from text. The "Tenta" forms report success; the others raise ErroConversao
// with a Portuguese text naming the value.
// Integers accept an optional sign, decimal digits, or hexadecimal with "0x"/"$".
// Leading blanks are allowed, trailing ones are not.
bool TentaInteiro(const QString& texto, int32_t& valor);
int32_t TextoParaInteiro(const QString& texto);
// Reals take "." as decimal separator and an optional exponent; blanks around are allowed.
bool TentaReal(const QString& texto, double& valor);
double TextoParaReal(const QString& texto);
// Dates "dd/MM/yyyy" (also d/M/yy, years below 100 taken in the 1900s/2000s window).
bool TentaData(const QString& texto, QDate& data);
QDate TextoParaData(const QString& texto);
bool TentaHora(const QString& texto, QTime& hora);
QTime TextoParaHora(const QString& texto);
