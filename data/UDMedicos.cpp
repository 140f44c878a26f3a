#include "data/UDMedicos.h"

#include "data/UOperacaoBD.h"

namespace {
void BindMedico(ConsultaBD& op, const TDadosMedico& m)
{
    op.DefineParametro(QStringLiteral("Nome"), m.Nome);
    op.DefineParametro(QStringLiteral("Rg"), m.Rg);
    op.DefineParametro(QStringLiteral("Cpf"), m.Cpf);
    op.DefineParametro(QStringLiteral("Crm"), m.Crm);
    op.DefineParametro(QStringLiteral("Sexo"), m.Sexo);
    op.DefineParametro(QStringLiteral("EstadoCivil"), m.EstadoCivil);
    op.DefineParametro(QStringLiteral("Conjuge"), m.Conjuge);
    op.DefineParametro(QStringLiteral("DataNascimento"), m.DataNascimento);
    op.DefineParametro(QStringLiteral("Naturalidade"), m.Naturalidade);
    op.DefineParametro(QStringLiteral("NaturalidadeEstado"), m.NaturalidadeEstado);
    op.DefineParametro(QStringLiteral("Pai"), m.Pai);
    op.DefineParametro(QStringLiteral("Mae"), m.Mae);
    op.DefineParametro(QStringLiteral("Rua"), m.Rua);
    op.DefineParametro(QStringLiteral("Complemento"), m.Complemento);
    op.DefineParametro(QStringLiteral("Bairro"), m.Bairro);
    op.DefineParametro(QStringLiteral("Cidade"), m.Cidade);
    op.DefineParametro(QStringLiteral("Estado"), m.Estado);
    op.DefineParametro(QStringLiteral("Cep"), m.Cep);
    op.DefineParametro(QStringLiteral("Fone"), m.Fone);
    op.DefineParametro(QStringLiteral("Celular"), m.Celular);
}
} // namespace

void TDMedicos::InsereMedico(const TDadosMedico& m)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure InsertMedicos :Nome,:Rg,:CPF,:Crm,:Sexo,"
                             ":EstadoCivil,:Conjuge,:DataNascimento,:Naturalidade,"
                             ":NaturalidadeEstado,:Pai,:Mae,:Rua,:Complemento,:Bairro,:Cidade,"
                             ":Estado,:Cep,:Fone,:Celular"));
    BindMedico(op, m);
    op.Executa();
    m_dm.PCommitDataBase();
}

void TDMedicos::AtualizaMedico(int Codigo, const TDadosMedico& m)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure UpdateMedicosByCodigo :Codigo,:Nome,:Rg,:CPF,"
                             ":Crm,:Sexo,:EstadoCivil,:Conjuge,:DataNascimento,:Naturalidade,"
                             ":NaturalidadeEstado,:Pai,:Mae,:Rua,:Complemento,:Bairro,:Cidade,"
                             ":Estado,:Cep,:Fone,:Celular"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    BindMedico(op, m);
    op.Executa();
    m_dm.PCommitDataBase();
}

void TDMedicos::ExcluiMedico(int Codigo)
{
    ConsultaBD& op =
        PreparaOperacao(m_dm, QStringLiteral("Execute Procedure DeleteMedicosByCodigo :Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Executa();
    m_dm.PCommitDataBase();
}

QString TDMedicos::NomeMedico(int Codigo)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT Nome FROM Medicos WHERE Medicos.Codigo=:Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), Codigo);
    op.Abre();
    return op.Texto(QStringLiteral("Nome"));
}

int TDMedicos::CodigoMedico(const QString& nome)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT Codigo FROM Medicos WHERE Medicos.Nome=:NomeMedico"));
    op.DefineParametro(QStringLiteral("NomeMedico"), nome);
    op.Abre();
    const int codigo = op.Inteiro(QStringLiteral("Codigo"));
    op.Fecha();
    return codigo;
}

int TDMedicos::ContaMedicos()
{
    ConsultaBD& op = PreparaOperacao(m_dm, QStringLiteral("SELECT COUNT(*) FROM Medicos"));
    op.Abre();
    return op.Inteiro(QStringLiteral("COUNT"));
}

int TDMedicos::IndiceMedicos()
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT FIRST(1) GEN_ID(Codigo_Medicos, 0) FROM Medicos"));
    op.Abre();
    return op.Inteiro(QStringLiteral("GEN_ID"));
}

void TDMedicos::AbreTabelaMedicos(bool abre)
{
    if (abre)
        m_dm.IBMedicos->Abre();
    else
        m_dm.IBMedicos->Fecha();
}
