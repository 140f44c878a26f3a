#include "data/UDLaudos.h"

#include "data/UDExames.h"
#include "data/UOperacaoBD.h"

int TDLaudos::InsereLaudo(int CodPaciente, int MedidaOD, int MedidaOS, const QString& Backup,
                          const QDate& Data, const QTime& Hora)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("INSERT INTO LAUDOS (CODIGO, CODPACIENTE, MEDIDAOD, MEDIDAOS, BACKUP, DATA, HORA) "
                             "VALUES (GEN_ID(CODIGO_LAUDOS, 1), :CodPaciente, :MedidaOD, :MedidaOS, :Backup, "
                             ":Data, :Hora) RETURNING CODIGO"));
    op.DefineParametro(QStringLiteral("CodPaciente"), CodPaciente);
    op.DefineParametro(QStringLiteral("MedidaOD"), MedidaOD);
    op.DefineParametro(QStringLiteral("MedidaOS"), MedidaOS);
    op.DefineParametro(QStringLiteral("Backup"), Backup);
    op.DefineParametro(QStringLiteral("Data"), Data);
    op.DefineParametro(QStringLiteral("Hora"), Hora);
    op.Abre();
    const int codigo = op.Inteiro(QStringLiteral("CODIGO"));
    op.Fecha();
    m_dm.PCommitDataBase();
    return codigo;
}

void TDLaudos::AtualizaBackupLaudo(int Codigo, const QString& Backup)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdateBackupLaudoByCodigo :Codigo,:Backup"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.DefineParametro(QStringLiteral("Backup"), Backup);
    op.Executa();
    op.Fecha();
}

bool TDLaudos::ZeraBackupLaudos()
{
    try {
        ConsultaBD& op =
            PreparaOperacao(m_dm, QStringLiteral("Execute Procedure ZeraBackupLaudos"));
        op.Executa();
        op.Fecha();
        return true;
    } catch (const ErroSistema&) {
        m_dm.IBOperation->Fecha();
        return false;
    }
}

void TDLaudos::ExcluiLaudo(int Codigo)
{
    ConsultaBD& op =
        PreparaOperacao(m_dm, QStringLiteral("Execute Procedure DeleteLaudosByCodigo :Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Executa();
    op.Fecha();
    m_dm.PCommitDataBase();
}

int TDLaudos::ContaLaudos()
{
    ConsultaBD& op = PreparaOperacao(m_dm, QStringLiteral("SELECT COUNT(*) FROM Laudos"));
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("COUNT"));
    op.Fecha();
    return n;
}

int TDLaudos::IndiceLaudos()
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT FIRST(1) GEN_ID(Codigo_Laudos, 0) FROM Laudos"));
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("GEN_ID"));
    op.Fecha();
    return n;
}

int TDLaudos::ContaLaudosSemBackup()
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT COUNT(*) FROM Laudos WHERE Laudos.Backup=:Backup"));
    op.DefineParametro(QStringLiteral("Backup"), QString(QLatin1String("")));
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("COUNT"));
    op.Fecha();
    return n;
}

QString TDLaudos::ColunaOlho(const QString& olho) const
{
    if (olho == QLatin1String("OS") || olho == QLatin1String("Esquerdo"))
        return QStringLiteral("MedidaOS");
    if (olho == QLatin1String("OD") || olho == QLatin1String("Direito"))
        return QStringLiteral("MedidaOD");
    throw ErroBancoDados(
        QStringLiteral("Olho inválido: \"%1\" (esperado OD, OS, Direito ou Esquerdo).").arg(olho));
}

int TDLaudos::ContaLaudosExame(int CodigoExame, const QString& olho)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT COUNT(*) FROM Laudos WHERE ") + ColunaOlho(olho) +
                  QStringLiteral("=:CodigoExame"));
    op.DefineParametro(QStringLiteral("CodigoExame"), CodigoExame);
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("COUNT"));
    op.Fecha();
    return n;
}

void TDLaudos::ExcluiLaudosExame(int CodigoExame, const QString& olho)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT Codigo FROM Laudos WHERE ") + ColunaOlho(olho) +
                  QStringLiteral("=:CodigoExame"));
    op.DefineParametro(QStringLiteral("CodigoExame"), CodigoExame);
    op.Abre();
    QList<int> codigos;
    for (; !op.Eof(); op.Proximo())
        codigos << op.Inteiro(QStringLiteral("Codigo"));
    op.Fecha();
    for (int codigo : codigos)
        ExcluiLaudo(codigo);
}

// --- cursor -------------------------------------------------------------------------------

TDLaudos& TDLaudos::AbreCursor()
{
    m_cursor = true;
    return *this;
}

void TDLaudos::FechaCursor()
{
    m_cursor = false;
    m_dm.IBQueryLaudos->Fecha();
}

void TDLaudos::MoveCursor(const QString& campo, const QString& valor, const QString& acao)
{
    if (!m_cursor)
        return;
    MoveCursorConjunto(*m_dm.IBQueryLaudos, QStringLiteral("Laudos"), campo, valor, acao);
}

int TDLaudos::CodigoCursor() const
{
    return m_cursor ? m_dm.IBQueryLaudos->Inteiro(QStringLiteral("Codigo")) : 0;
}

int TDLaudos::CodPacienteCursor() const
{
    return m_cursor ? m_dm.IBQueryLaudos->Inteiro(QStringLiteral("CodPaciente")) : 0;
}
