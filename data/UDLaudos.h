#pragma once
// Every statement on the report rows (LAUDOS), and the forward cursor over reports that the
// backup walks (on the data module's reports query).

#include "data/UDMPrincipal.h"

#include <QDate>
#include <QTime>

class TDLaudos {
public:
    explicit TDLaudos(TDMPrincipal& modulo = TDMPrincipal::Instancia()) : m_dm(modulo) {}

    // Inserts and commits a report row; returns the code the generator gave it (the
    // insertion's own, whatever other workstations insert at the same moment).
    int InsereLaudo(int CodPaciente, int MedidaOD, int MedidaOS, const QString& Backup,
                    const QDate& Data, const QTime& Hora);
    // Tags one report as backed up; the caller commits.
    void AtualizaBackupLaudo(int Codigo, const QString& Backup);
    // Clears every backup tag; false when the database refused. The caller commits.
    bool ZeraBackupLaudos();
    void ExcluiLaudo(int Codigo);
    int ContaLaudos();
    // The last code handed out (0 while there are no reports).
    int IndiceLaudos();
    int ContaLaudosSemBackup();
    // Reports that use the examination for that eye: "OS" or "Esquerdo" (left),
    // "OD" or "Direito" (right). Any other eye raises ErroBancoDados.
    int ContaLaudosExame(int CodigoExame, const QString& olho);
    // Deletes those reports one by one, each with its commit.
    void ExcluiLaudosExame(int CodigoExame, const QString& olho);

    // Cursor over IBQueryLaudos (as the examinations' cursor).
    TDLaudos& AbreCursor();
    void FechaCursor();
    void MoveCursor(const QString& campo, const QString& valor, const QString& acao);
    int CodigoCursor() const;
    int CodPacienteCursor() const;
    bool CursorAberto() const { return m_cursor; }

private:
    QString ColunaOlho(const QString& olho) const;

    TDMPrincipal& m_dm;
    bool m_cursor = false;
};
