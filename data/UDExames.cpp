#include "data/UDExames.h"

#include "data/UOperacaoBD.h"

#include <QRegularExpression>

void TDExames::InsereExame(int CodPaciente, int CodResp, const QDate& Data, const QTime& Hora,
                           const QString& Olho, double IndConf, const QString& TipoExame,
                           const QString& Backup, const QString& Diag,
                           const QString& Observacao, int NumAneis, const QString& TipoCone)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure InsertExames :CodPaciente,:CodResp,:Data,:Hora,"
                             ":Olho,:IndConf,:TipoExame,:Backup,:Diag,:Observacao,:NumAneis,"
                             ":TipoCone"));
    op.DefineParametro(QStringLiteral("CodPaciente"), CodPaciente);
    op.DefineParametro(QStringLiteral("CodResp"), CodResp);
    op.DefineParametro(QStringLiteral("Data"), Data);
    op.DefineParametro(QStringLiteral("Hora"), Hora);
    op.DefineParametro(QStringLiteral("Olho"), Olho);
    op.DefineParametro(QStringLiteral("IndConf"), IndConf);
    op.DefineParametro(QStringLiteral("TipoExame"), TipoExame);
    op.DefineParametro(QStringLiteral("Backup"), Backup);
    op.DefineParametro(QStringLiteral("Diag"), Diag);
    op.DefineParametro(QStringLiteral("Observacao"), Observacao);
    op.DefineParametro(QStringLiteral("NumAneis"), NumAneis);
    op.DefineParametro(QStringLiteral("TipoCone"), TipoCone);
    op.Executa();
    m_dm.PCommitDataBase();
}

void TDExames::InsereExameOrto(int CodExame, double Div, double Exc, double Raio, double Sag)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure InsertExamesOrto :ECodExame,:EDiv,:EExc,:ERaio,"
                             ":ESag"));
    op.DefineParametro(QStringLiteral("ECodExame"), CodExame);
    op.DefineParametro(QStringLiteral("EDiv"), Div);
    op.DefineParametro(QStringLiteral("EExc"), Exc);
    op.DefineParametro(QStringLiteral("ERaio"), Raio);
    op.DefineParametro(QStringLiteral("ESag"), Sag);
    op.Executa();
    m_dm.PCommitDataBase();
}

void TDExames::AtualizaBackupExame(int Codigo, const QString& Backup)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdateBackupExameByCodigo :Codigo,:Backup"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.DefineParametro(QStringLiteral("Backup"), Backup);
    op.Executa();
    op.Fecha();
}

bool TDExames::ZeraBackupExames()
{
    try {
        ConsultaBD& op =
            PreparaOperacao(m_dm, QStringLiteral("Execute Procedure ZeraBackupExames"));
        op.Executa();
        op.Fecha();
        return true;
    } catch (const ErroSistema&) {
        m_dm.IBOperation->Fecha();
        return false;
    }
}

void TDExames::AtualizaDiagExame(int Codigo, const QString& Diag)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdateDiagExameByCodigo :Codigo,:Diag"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.DefineParametro(QStringLiteral("Diag"), Diag);
    op.Executa();
    op.Fecha();
    m_dm.PCommitDataBase();
}

void TDExames::AtualizaObsExame(int Codigo, const QString& Obs)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdateObsExameByCodigo :Codigo,:Obs"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.DefineParametro(QStringLiteral("Obs"), Obs);
    op.Executa();
    op.Fecha();
    m_dm.PCommitDataBase();
}

void TDExames::AtualizaTipoCone(int Codigo, int TipoCone)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdateTipoConeByCodigo :Codigo,:TipoCone"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.DefineParametro(QStringLiteral("TipoCone"), QString::number(TipoCone));
    op.Executa();
    op.Fecha();
    m_dm.PCommitDataBase();
}

void TDExames::ExcluiExame(int Codigo)
{
    ConsultaBD& op =
        PreparaOperacao(m_dm, QStringLiteral("Execute Procedure DeleteExamesByCodigo :Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Executa();
    m_dm.PCommitDataBase();
}

void TDExames::ExcluiExameOrto(int CodExame)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure DeleteExamesOrtoByCodigoExame :CodExame"));
    op.DefineParametro(QStringLiteral("CodExame"), CodExame);
    op.Executa();
    m_dm.PCommitDataBase();
}

int TDExames::ResponsavelExame(int Codigo)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT Exames.CodResp FROM Exames WHERE Exames.Codigo=:Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Abre();
    const int r = op.Inteiro(QStringLiteral("CodResp"));
    op.Fecha();
    return r;
}

int TDExames::ContaExames()
{
    ConsultaBD& op = PreparaOperacao(m_dm, QStringLiteral("SELECT COUNT(*) FROM Exames"));
    op.Abre();
    return op.Inteiro(QStringLiteral("COUNT"));
}

int TDExames::ContaExamesMedico(int CodMed)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT COUNT(*) FROM Exames WHERE Exames.CodResp=:CodMed"));
    op.DefineParametro(QStringLiteral("CodMed"), CodMed);
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("COUNT"));
    op.Fecha();
    return n;
}

int TDExames::ContaExamesMedicoPaciente(int CodMed, int CodPac)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT COUNT(*) FROM Exames WHERE Exames.CodResp=:CodMed AND "
                             "Exames.CodPaciente=:CodPac"));
    op.DefineParametro(QStringLiteral("CodMed"), CodMed);
    op.DefineParametro(QStringLiteral("CodPac"), CodPac);
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("COUNT"));
    op.Fecha();
    return n;
}

int TDExames::IndiceExames()
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT FIRST(1) GEN_ID(Codigo_Exames, 0) FROM Exames"));
    op.Abre();
    return op.Inteiro(QStringLiteral("GEN_ID"));
}

int TDExames::ContaExamesSemBackup()
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT COUNT(*) FROM Exames WHERE Exames.Backup=:Backup"));
    op.DefineParametro(QStringLiteral("Backup"), QString(QLatin1String("")));
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("COUNT"));
    op.Fecha();
    return n;
}

// --- cursor -------------------------------------------------------------------------------

void MoveCursorConjunto(ConsultaBD& consulta, const QString& tabela, const QString& campo,
                        const QString& valor, const QString& acao)
{
    if (acao == QLatin1String("SELECT")) {
        // The column name is the program's, never typed text; anything but a plain
        // identifier is refused rather than joined into the statement.
        static const QRegularExpression identificador(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!identificador.match(campo).hasMatch())
            throw ErroBancoDados(QStringLiteral("Nome de campo inválido: \"%1\".").arg(campo));
        consulta.Fecha();
        consulta.DefineSQL(QStringLiteral("SELECT CODIGO, CODPACIENTE FROM %1 WHERE %1.")
                               .arg(tabela) +
                           campo + QStringLiteral("=:Content"));
        consulta.DefineParametro(QStringLiteral("Content"), valor);
        consulta.Abre();
        consulta.Primeiro();
    } else if (acao == QLatin1String("First")) {
        consulta.Primeiro();
    } else if (acao == QLatin1String("Next")) {
        consulta.Proximo();
    } else if (acao == QLatin1String("Prior")) {
        consulta.Anterior();
    }
}

TDExames& TDExames::AbreCursor()
{
    m_cursor = true;
    return *this;
}

void TDExames::FechaCursor()
{
    m_cursor = false;
    m_dm.IBQueryExames->Fecha();
}

void TDExames::MoveCursor(const QString& campo, const QString& valor, const QString& acao)
{
    if (!m_cursor)
        return;
    MoveCursorConjunto(*m_dm.IBQueryExames, QStringLiteral("Exames"), campo, valor, acao);
}

int TDExames::CodigoCursor() const
{
    return m_cursor ? m_dm.IBQueryExames->Inteiro(QStringLiteral("Codigo")) : 0;
}

int TDExames::CodPacienteCursor() const
{
    return m_cursor ? m_dm.IBQueryExames->Inteiro(QStringLiteral("CodPaciente")) : 0;
}
