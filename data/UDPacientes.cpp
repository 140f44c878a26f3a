#include "data/UDPacientes.h"

#include "data/UOperacaoBD.h"

namespace {
void BindPaciente(ConsultaBD& op, const TDadosPaciente& p)
{
    op.DefineParametro(QStringLiteral("Nome"), p.Nome);
    op.DefineParametro(QStringLiteral("Rg"), p.Rg);
    op.DefineParametro(QStringLiteral("Cpf"), p.Cpf);
    op.DefineParametro(QStringLiteral("Sexo"), p.Sexo);
    op.DefineParametro(QStringLiteral("EstadoCivil"), p.EstadoCivil);
    op.DefineParametro(QStringLiteral("Conjuge"), p.Conjuge);
    op.DefineParametro(QStringLiteral("DataNascimento"), p.DataNascimento);
    op.DefineParametro(QStringLiteral("Naturalidade"), p.Naturalidade);
    op.DefineParametro(QStringLiteral("NaturalidadeEstado"), p.NaturalidadeEstado);
    op.DefineParametro(QStringLiteral("Pai"), p.Pai);
    op.DefineParametro(QStringLiteral("Mae"), p.Mae);
    op.DefineParametro(QStringLiteral("Rua"), p.Rua);
    op.DefineParametro(QStringLiteral("Complemento"), p.Complemento);
    op.DefineParametro(QStringLiteral("Bairro"), p.Bairro);
    op.DefineParametro(QStringLiteral("Cidade"), p.Cidade);
    op.DefineParametro(QStringLiteral("Estado"), p.Estado);
    op.DefineParametro(QStringLiteral("Cep"), p.Cep);
    op.DefineParametro(QStringLiteral("Fone"), p.Fone);
    op.DefineParametro(QStringLiteral("Celular"), p.Celular);
    op.DefineParametro(QStringLiteral("Convenio"), p.Convenio);
    op.DefineParametro(QStringLiteral("Profissao"), p.Profissao);
    op.DefineParametro(QStringLiteral("TipoSang"), p.TipoSang);
}
} // namespace

int TDPacientes::InserePaciente(const TDadosPaciente& p, const QDate& DtCadastro,
                                int TotalExames)
{
    // The row as InsertPacientes stores it (no doctor of the patient: 0), with its code
    // returned by the insertion itself.
    ConsultaBD& op = PreparaOperacao(
        m_dm,
        QStringLiteral("INSERT INTO PACIENTES (CODIGO, CODMEDICO, NOME, RG, CPF, SEXO, ESTADOCIVIL, CONJUGE, "
                       "DATANASCIMENTO, NATURALIDADE, NATURALIDADEESTADO, PAI, MAE, RUA, COMPLEMENTO, BAIRRO, "
                       "CIDADE, ESTADO, CEP, FONE, CELULAR, CONVENIO, PROFISSAO, TIPOSANG, DTCADASTRO, "
                       "TOTALEXAMES) VALUES (GEN_ID(CODIGO_PACIENTES, 1), 0, :Nome, :Rg, :CPF, :Sexo, "
                       ":EstadoCivil, :Conjuge, :DataNascimento, :Naturalidade, :NaturalidadeEstado, :Pai, "
                       ":Mae, :Rua, :Complemento, :Bairro, :Cidade, :Estado, :Cep, :Fone, :Celular, "
                       ":Convenio, :Profissao, :TipoSang, :DtCadastro, :TotalExames) RETURNING CODIGO"));
    BindPaciente(op, p);
    op.DefineParametro(QStringLiteral("DtCadastro"), DtCadastro);
    op.DefineParametro(QStringLiteral("TotalExames"), TotalExames);
    op.Abre();
    const int codigo = op.Inteiro(QStringLiteral("CODIGO"));
    op.Fecha();
    m_dm.PCommitDataBase();
    return codigo;
}

void TDPacientes::AtualizaPaciente(int Codigo, const TDadosPaciente& p)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdatePacientesByCodigo :Codigo,:Nome,:Rg,"
                             ":CPF,:Sexo,:EstadoCivil,:Conjuge,:DataNascimento,:Naturalidade,"
                             ":NaturalidadeEstado,:Pai,:Mae,:Rua,:Complemento,:Bairro,:Cidade,"
                             ":Estado,:Cep,:Fone,:Celular,:Convenio,:Profissao,:TipoSang"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    BindPaciente(op, p);
    op.Executa();
    m_dm.PCommitDataBase();
}

void TDPacientes::ExcluiPaciente(int Codigo)
{
    ConsultaBD& op =
        PreparaOperacao(m_dm, QStringLiteral("Execute Procedure DeletePacientesByCodigo :Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Executa();
    m_dm.PCommitDataBase();
}

QString TDPacientes::NomePaciente(int Codigo)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT Nome FROM Pacientes WHERE Pacientes.Codigo = :Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Abre();
    return op.Texto(QStringLiteral("Nome"));
}

int TDPacientes::CodigoPaciente(const QString& nome)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT * FROM Pacientes WHERE Pacientes.Nome = :NomePac"));
    op.DefineParametro(QStringLiteral("NomePac"), nome);
    op.Abre();
    const int codigo = op.Inteiro(QStringLiteral("Codigo"));
    op.Fecha();
    return codigo;
}

void TDPacientes::AtualizaExamesPaciente(int Codigo, const QString& UltimoExame,
                                         int TotalExames)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdateExamesPacientesByCodigo :Codigo,"
                             ":UltimoExame,:TotalExames"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.DefineParametro(QStringLiteral("UltimoExame"), UltimoExame);
    op.DefineParametro(QStringLiteral("TotalExames"), TotalExames);
    op.Executa();
    op.Fecha();
    m_dm.PCommitDataBase();
}

int TDPacientes::ContaPacientes()
{
    ConsultaBD& op = PreparaOperacao(m_dm, QStringLiteral("SELECT COUNT(*) FROM Pacientes"));
    op.Abre();
    return op.Inteiro(QStringLiteral("COUNT"));
}

int TDPacientes::IndicePacientes()
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT FIRST(1) GEN_ID(Codigo_Pacientes, 0) FROM Pacientes"));
    op.Abre();
    return op.Inteiro(QStringLiteral("GEN_ID"));
}

int TDPacientes::ContaPacientesSemExames()
{
    ConsultaBD& op = PreparaOperacao(
        m_dm,
        QStringLiteral("SELECT COUNT(*) FROM Pacientes WHERE Pacientes.TotalExames=:TotalExames"));
    op.DefineParametro(QStringLiteral("TotalExames"), 0);
    op.Abre();
    const int n = op.Inteiro(QStringLiteral("COUNT"));
    op.Fecha();
    return n;
}

int TDPacientes::TotalExamesPaciente(int Codigo)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT * FROM Pacientes WHERE Pacientes.Codigo = :Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Abre();
    return op.Inteiro(QStringLiteral("TotalExames"));
}
