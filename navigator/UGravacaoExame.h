#pragma once
// Storage of a new examination, without windows: the examination row (and, for ortho-k, its
// values row), its three data files, its two images and the patient's count and
// last-examination text go in together, in one transaction.
//
// The files are written before the transaction is committed. Any failure undoes the
// transaction, removes the files this attempt wrote (and the patient folder when it is left
// empty) and raises the error, so that nothing of the examination remains and a retry stores
// exactly one. Only the images may fail apart: the examination is then stored without them
// and the result says so.

#include "navigator/UResultadosCaptura.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class TDMPrincipal;

namespace GravacaoExame {

// "Now" as the capture assistant and the storage read it. Tests may set another clock; an
// empty function brings back the system clock.
QDateTime Agora();
void DefineRelogio(std::function<QDateTime()> relogio);

// The message of a storage that failed ("\r" is a carriage return).
inline const QString kErroGravacao = QStringLiteral(
    "Não foi possivel salvar o exame, verifique se o disco rigido\rstá cheio ou entre em contato "
    "com a nossa assistência técnica.");
inline const QString kErroImagens = QStringLiteral("Não Foi possivel salvar as imagens");
// Width of the diagnosis and observation columns.
inline constexpr int kMaxTextoExame = 240;

// Whose examination and what was typed about it.
struct Exame {
    int codPaciente = 0;
    int codMedico = 0;
    int olho = CapturaExame::kOlhoDireito;
    QString diag;
    QString observacao;
};

// The options of the storage (from the settings unless a caller says otherwise).
struct Opcoes {
    bool imagemCentral = true;
    bool imagemLateral = true;
    int qualidade = 90;     // limited to 1..100
    int numAneis = 16;
    QString tipoCone;
    static Opcoes DaConfiguracao();
};

struct ExameGravado {
    int codigo = 0;
    QDateTime quando;
};

struct Resultado {
    QList<ExameGravado> exames;
    bool imagensGravadas = true; // false: the examination was stored without its images
    QString ultimoExame;         // the patient's last-examination text as stored
    int totalExames = 0;         // the patient's count as stored
};

// One normal examination ("T") with its images (Windows bitmaps as captured).
Resultado GravaExame(TDMPrincipal& dm, const Exame& exame, const CapturaExame::ResultadoNormal& r,
                     const QByteArray& central, const QByteArray& lateral, const Opcoes& opcoes);

// The four examinations ("O") of an ortho-k capture. `pausa` runs between two of them, so
// that each keeps a distinct time (the assistant waits 1.1 s there); it may be empty.
Resultado GravaExamesOrto(TDMPrincipal& dm, const Exame& exame, const CapturaExame::ResultadoOrto& r,
                          const Opcoes& opcoes, const std::function<void()>& pausa);

// The three files of an examination, written as a set (GravaArquivosExame of examfiles:
// temporary names, flushed, then renamed) into the patient's folder (created when missing).
// On failure none of the new files remains, earlier ones are intact, a folder this call
// created is removed and ErroES is raised.
void GravaArquivosExame(int codPaciente, int codExame, const QByteArray& d, const QByteArray& m,
                        const QByteArray& a);

} // namespace GravacaoExame
