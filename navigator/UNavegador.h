#pragma once
// The navigator's rules that need no window: examination captions and their key, the
// patient list statements of each doctor filter, the layout rows of the patient page, the
// example classes, the bound patient-name pattern, and the deletion of an examination with
// everything that hangs on it.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

class TDMPrincipal;

namespace Navegador {

// The two entries of the doctor filter that are not doctor names.
inline const QString kTodos = QStringLiteral("*** Todos");
inline const QString kSemExames = QStringLiteral("*** Sem Exames");

// Caption of an examination in the list: eye, " - ", "dd/MM/yyyy", " ", "HH:mm:ss".
QString LegendaExame(const QString& olho, const QDate& data, const QTime& hora);

// The key a caption carries: eye = characters 1-2, date = 6-15, time = 17-24.
struct ChaveExame {
    QString olho;
    QDate data;
    QTime hora;
    bool valida = false; // date and time were read
};
ChaveExame DecompoeLegenda(const QString& legenda);

// Patient grid height and information box top, as fractions of the patient page height,
// chosen by the screen's width / height ratio.
struct LinhaLayout {
    double grade;
    double info;
};
LinhaLayout LinhaAjuste(int larguraTela, int alturaTela);

// The patient list statement of a filter ("*** Todos", "*** Sem Exames" or a doctor name),
// with the columns the navigator shows and reads. Parameters: TotalExames (bound to 0) and
// CodigoMedico.
QString SqlPacientes(const QString& filtro, bool alfabetica);
// The list of every patient is long and read by blocks: its number of patients; where a
// patient stands in it, as the patients ordered before his name (:Nome) or code (:Codigo)
// and those of the same place in the order (names equal as the list compares them); the
// list from a patient's place on, read where he stands; and the code and name of its first
// patient, in its order, that meets a condition.
QString SqlContaPacientes();
QString SqlPosicaoPaciente(bool alfabetica);
QString SqlPacientesDesde(bool alfabetica);
QString SqlPrimeiroPaciente(bool alfabetica, const QString& condicao);

// The examination list statement; porMedico restricts to the filter's doctor.
QString SqlExames(bool porMedico);

// The patient's last-examination text from his latest remaining examination: eye, date and
// hours:minutes; without an examination the three parts are empty ("  ").
QString TextoUltimoExame(const QString& olho, const QDate& data, const QTime& hora);

// The LIKE pattern of a typed name for the patient lookups (bound, never joined into SQL).
QString PadraoNome(const QString& digitado);

// The example classes of the "Exemplos" page, rows 1 onwards (the ortho-k class only in the
// ortho-k edition), and the items of a row (1-based). Items of rows 1 to 5 are topography
// examples, those of row 6 ortho-k examples.
QStringList ClassesExemplos(bool orto);
QStringList ItensExemplo(int linha);

// An examination about to be deleted.
struct ExameExclusao {
    int codigo = 0;
    int codPaciente = 0;
    QString olho;
    QString tipoExame;
    int totalExames = 0;     // the patient's count as stored before the deletion
    QList<int> laudos;       // linked reports to go with it
};

// Deletes an examination: its report rows, ortho-k row, images and row, and the patient's
// last-examination text and count, all in one transaction committed at the end; only then
// the report files and the data files (and the patient folders when they are left empty).
// A statement the database refuses undoes the whole transaction and raises the database
// error: nothing of the examination is gone. Returns the new last-examination text.
QString ExcluiExame(TDMPrincipal& dm, const ExameExclusao& exame);

// Rolls the data module's transaction back after a failed statement: every dataset closes,
// the work since the last commit is undone and the tables open again.
void DesfazTransacao(TDMPrincipal& dm);

} // namespace Navegador
