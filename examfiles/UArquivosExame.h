#pragma once
// The examination data files (d.txt, m.txt, a.txt) and the report text file (l.txt):
// their writers, the parsing of module text output into exam matrices, and the text helpers
// the searches and the report editor share.
//
// Folder layout: an examination's files live in <EXAMES>/<patient code>/ and are named
// <exam code>d.txt, <exam code>m.txt, <exam code>a.txt; a report's text lives in
// <LAUDOS>/<patient code>/<report code>l.txt. The writers do not create folders.

#include "examfiles/zr_exame.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// Highest ring count an examination can carry (columns 0..32 of an exam matrix).
inline constexpr int kMaxAneis = ZR_COLUNAS_ANEL - 1;

// Path prefix of an examination (folder of the patient plus the exam code, without the file
// letter and extension), as TBMapOperation::CarregaExame expects it.
QString PrefixoExame(int64_t codPaciente, int64_t codExame);
// Path prefix of an example examination kept in the examples root.
QString PrefixoExemplo(const QString& nome);
// Folder of a patient's examinations and of a patient's reports.
QString PastaExamesPaciente(int64_t codPaciente);
QString PastaLaudosPaciente(const QString& codPaciente);

// Writers. d.txt and m.txt hold N + 1 values per meridian line (N = InfosZR.NumAneis), each
// formatted "00.00" and followed by one space; CR LF after every line. An input/output
// failure raises ErroES and leaves any previous file as it was; a ring count outside 0..32
// raises ErroSistema before anything is written.
void GravaArquivoD(int64_t codPaciente, int64_t codExame, const TMatrizAngAnel& d);
void GravaArquivoM(int64_t codPaciente, int64_t codExame, const TMatrizAngAnel& m);
// a.txt: CentroX and CentroY rounded to integers, "@", the four pupil values, the 360 counts.
void GravaArquivoA(int64_t codPaciente, int64_t codExame, const TAneisMeridiano& aneis,
                   double centroX, double centroY, const TDadosPupila& pupila);
// Writes an examination's three files as a set: prefixo is PrefixoExame (or PrefixoExemplo)
// and d, m, a the bytes of d.txt, m.txt and a.txt (ConteudoMatriz, ConteudoArquivoA, or the
// module's own text for ortho-k). All three are written under temporary names (the final
// name, ".host.pid" of this workstation's process, then SufixoTemporarioExame, so that
// workstations sharing the folder never meet), flushed to disk, and only then renamed over the
// final names, so a crash leaves the old set or the new one. On any failure none of the new
// files remains, the earlier files are as they were, and ErroES is raised. The folder must
// exist.
void GravaArquivosExame(const QString& prefixo, const QByteArray& d, const QByteArray& m,
                        const QByteArray& a);
// The ending of the temporary files of GravaArquivosExame (and of the copies of the earlier
// files it keeps while renaming).
inline constexpr char SufixoTemporarioExame[] = ".zrtmp";
inline constexpr char SufixoAnteriorExame[] = ".zrant";
// Removes what an interrupted GravaArquivosExame left in the folder and in its subfolders
// one level down (the patient folders of the examinations root): files ending in one of the
// two endings above, unless a process still running may be writing them (one of this
// machine that is alive; one of another workstation less than a day old). Returns how many
// were removed.
int RemoveTemporariosExame(const QString& raiz);

// l.txt: the five boxes collapsed by RemoveMarcadores, separated by "@" lines and ended by
// "*". Says "Laudo gravado com sucesso." and returns true when the file was written; says
// "Não foi possível gravar o arquivo de laudo." and returns false otherwise.
bool GravaArquivoLaudo(const QString& codPaciente, const QString& codLaudo,
                       const QString& condicoes, const QString& olhoDireito,
                       const QString& olhoEsquerdo, const QString& conclusao,
                       const QString& comentarios);

// Reading a report text back: the four first sections end at a line "@", the comments at a
// line "@" or "*", any section at the end of the file. A section's lines come back as the
// lines of its text (joined by line feeds); comments that hold only blanks come back empty.
// Returns the five texts in the order of GravaArquivoLaudo.
QStringList LeTextoLaudo(const QStringList& linhas);
// The same from <LAUDOS>/<patient>/<report>l.txt; raises ErroES when it cannot be read.
QStringList LeArquivoLaudo(const QString& codPaciente, const QString& codLaudo);

// The bytes the writers above store (cp1252, CR LF), for callers that need them elsewhere.
QByteArray ConteudoMatriz(const TMatrizAngAnel& matriz, int numAneis);
QByteArray ConteudoArquivoA(const TAneisMeridiano& aneis, double centroX, double centroY,
                            const TDadosPupila& pupila);
QByteArray ConteudoLaudo(const QString& condicoes, const QString& olhoDireito,
                         const QString& olhoEsquerdo, const QString& conclusao,
                         const QString& comentarios);

// A value of d.txt/m.txt: pattern "00.00" (at least two integer digits, two decimals, halves
// away from zero).
QString FormataValorMatriz(double valor);

// Resolves the numbered slots of a report box. "#" opens a slot that the next "#" closes;
// an inner text of at most two characters (an unfilled slot such as #3# or #12#) disappears
// with both marks; a longer one (a filled slot "3-leve") becomes what follows its first
// "-". A longer inner text without "-" is not a slot and stays as typed, marks included;
// so does a "#" that nothing closes.
QString RemoveMarcadores(const QString& texto);

// Capitals of Portuguese cp1252 text: a..z and the accented small letters
// "áàãâäéèêëíìîïóòõôöúùüûç" become their capitals; everything else is unchanged.
QString MaiusculasAcentuadas(const QString& texto);

// Largest examination or report text file the readers accept; real ones are far below.
inline constexpr qint64 kTamanhoMaximoArquivoExame = 10 * 1024 * 1024;
// Reads an examination or report text file as lines, refusing (ErroES, before reading) a
// file larger than kTamanhoMaximoArquivoExame; raises ErroES when it cannot be read.
QStringList LeArquivoExame(const QString& caminho);
// A value quoted in a message: the whole value when short, otherwise its first 40
// characters followed by "..." and how long it was.
QString CitaValor(const QString& valor);

// A number of an examination file in either decimal form. A text that holds the current
// separator is read as it is; otherwise its first "," (or, when the current separator is
// ",", its first ".") is taken as the separator. Raises ErroConversao when the text is no
// number.
double ConverteNumero(const QString& texto, QChar separador = u'.');

// Fills one row of a matrix from a line of values separated by spaces: value t goes to
// column t - 1; columns the line does not reach are left as they are. Raises ErroConversao
// for a value that is no number and for a line of more than 33 values.
void LeLinhaMatriz(const QString& linha, double (&linhaMatriz)[ZR_COLUNAS_ANEL],
                   QChar separador = u'.');

// One exam matrix from a block of 360 lines of module text output: line inicio + k - 1
// (0-based) is meridian k, so the block that starts at line inicio is the one read, and
// consecutive blocks of a text start at 0, 360, 720 ... Lines past the end of the list and
// empty lines leave their meridian at zero, as are the columns a line does not reach.
void LeMatrizTexto(const QStringList& lista, int inicio, TMatrizAngAnel& destino);
