#pragma once
// Every statement on the examination rows (EXAMES) and their ortho-k values (EXAMESORTO),
// and the forward cursor over examinations that the backup walks (on the data module's
// examination query, which the navigator shares).

#include "data/UDMPrincipal.h"

#include <QDate>
#include <QTime>

class TDExames {
public:
    explicit TDExames(TDMPrincipal& modulo = TDMPrincipal::Instancia()) : m_dm(modulo) {}

    void InsereExame(int CodPaciente, int CodResp, const QDate& Data, const QTime& Hora,
                     const QString& Olho, double IndConf, const QString& TipoExame,
                     const QString& Backup, const QString& Diag, const QString& Observacao,
                     int NumAneis, const QString& TipoCone);
    void InsereExameOrto(int CodExame, double Div, double Exc, double Raio, double Sag);
    // Tags one examination as backed up; the caller commits.
    void AtualizaBackupExame(int Codigo, const QString& Backup);
    // Clears every backup tag; false when the database refused. The caller commits.
    bool ZeraBackupExames();
    void AtualizaDiagExame(int Codigo, const QString& Diag);
    void AtualizaObsExame(int Codigo, const QString& Obs);
    // Stores the cone type as its decimal text.
    void AtualizaTipoCone(int Codigo, int TipoCone);
    void ExcluiExame(int Codigo);
    void ExcluiExameOrto(int CodExame);
    int ResponsavelExame(int Codigo);
    // Number of examinations; the executor stays open.
    int ContaExames();
    int ContaExamesMedico(int CodMed);
    int ContaExamesMedicoPaciente(int CodMed, int CodPac);
    // The last code handed out (0 while there are no examinations); the executor stays open.
    int IndiceExames();
    int ContaExamesSemBackup();

    // Cursor over IBQueryExames.
    TDExames& AbreCursor();
    void FechaCursor();
    // Action "SELECT" selects the examinations whose column (a column name of EXAMES)
    // equals the value; "First", "Next" and "Prior" move; anything else does nothing.
    void MoveCursor(const QString& campo, const QString& valor, const QString& acao);
    int CodigoCursor() const;
    int CodPacienteCursor() const;
    bool CursorAberto() const { return m_cursor; }

private:
    TDMPrincipal& m_dm;
    bool m_cursor = false;
};

// Walks a dataset as the backup cursors do (shared by examinations and reports).
void MoveCursorConjunto(ConsultaBD& consulta, const QString& tabela, const QString& campo,
                        const QString& valor, const QString& acao);
