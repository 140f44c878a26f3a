#pragma once
// The navigator's patient search without windows: the search kinds, the pattern each kind
// binds, its statements, and the look-ups on the data module's search query and executor.
//
// The typed text is never joined into a statement: it is bound as the LIKE pattern
// (:Padrao) with the wildcards of its kind around it, so an apostrophe is just a letter
// while a typed "%" or "_" keeps its LIKE meaning. Integer columns are compared as text,
// so "1%" finds every code that begins with 1. Name, diagnosis and observation searches
// compare upper-case forms; the engine upper-cases both the column and the bound pattern,
// so a letter outside the Portuguese accents (ñ, ÿ, œ) matches in either case as well.

#include <QString>
#include <QStringList>

class TDMPrincipal;

namespace BuscaPacientes {

// The search kinds, in the order of the kind selector.
enum Tipo {
    PrimeiroNome = 0,   // names beginning with the text, while typing
    ParteNome = 1,      // names containing the text
    CodigoPaciente = 2, // patient code as a pattern
    RgPaciente = 3,     // identity number containing the text (letter case kept)
    CodigoExame = 4,    // examination code as a pattern
    Diagnostico = 5,    // examination diagnosis containing the text
    Observacao = 6,     // examination observation containing the text
};

// Captions of the kind selector, index = kind.
QStringList LegendasTipos();

// The kinds that look for an examination of the patient.
inline bool TipoExame(int tipo) { return tipo >= CodigoExame && tipo <= Observacao; }

// The pattern a kind binds: the text in upper case (MaiusculasAcentuadas) for names,
// diagnoses and observations, as typed for codes and identity numbers, with "%" after it
// for the first name, around it for the "containing" kinds and none for the codes.
QString Padrao(int tipo, const QString& texto);

// A text that no searched column can hold finds nothing and runs no statement: longer than
// the longest column searched, or with characters the database's code page lacks.
bool TextoPesquisavel(const QString& texto);

// Statements (parameters :Padrao and, with a doctor, :CodigoMedico).
QString SqlPrimeiroNome(bool comMedico);
QString SqlCarregaBusca(bool comMedico);
// With codigoNumero (a patient or examination code typed as a whole number) the code is looked up as such
// (:Numero), which finds the same patient as the pattern without digits around it. With
// parteComum (a part of a name most patients have) the names are read in the name index's order.
QString SqlLocalizar(int tipo, bool codigoNumero = false, bool parteComum = false);
// The examination of the chosen patient that matched (kinds 4 to 6; :CodigoPaciente, and
// :CodigoProcurado when the code search text is a whole number, else :Padrao).
QString SqlExameEncontrado(int tipo, bool codigoNumero);

// A doctor's code by name (0 when no doctor has it).
int CodigoMedico(TDMPrincipal& dm, const QString& nome);

// Opens the search query on every patient ("*** Todos", "*** Sem Exames" or an empty doctor)
// or on the doctor's patients.
void CarregaBusca(TDMPrincipal& dm, const QString& medico);
// Opens the search query on the patients whose name begins with the text, those of the
// doctor when one is named.
void BuscaPrimeiroNome(TDMPrincipal& dm, const QString& texto, const QString& medico);
// Opens the search query for a kind from 1 to 6; true when it found at least one patient.
// A text that cannot match leaves the query closed and gives false.
bool Localiza(TDMPrincipal& dm, int tipo, const QString& texto);
// The caption of the chosen patient's examination that matched the text (kinds 4 to 6),
// empty when there is none (deleted meanwhile, or the text cannot match).
QString LegendaExameEncontrado(TDMPrincipal& dm, int tipo, const QString& texto, int codPaciente);

} // namespace BuscaPacientes
