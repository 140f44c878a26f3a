#pragma once
// Every statement on the patients (PACIENTES): insert, change, delete, count and look up.
// The object holds no data; changes are committed by the data module.

#include "data/UDMPrincipal.h"

#include <QDate>

struct TDadosPaciente {
    QString Nome, Rg, Cpf, Sexo, EstadoCivil, Conjuge, DataNascimento, Naturalidade,
        NaturalidadeEstado, Pai, Mae, Rua, Complemento, Bairro, Cidade, Estado, Cep, Fone,
        Celular, Convenio, Profissao, TipoSang;
};

class TDPacientes {
public:
    explicit TDPacientes(TDMPrincipal& modulo = TDMPrincipal::Instancia()) : m_dm(modulo) {}

    // Inserts and commits a patient; returns the code the generator gave him (the
    // insertion's own, whatever other workstations insert at the same moment).
    int InserePaciente(const TDadosPaciente& p, const QDate& DtCadastro, int TotalExames);
    // Changes the registration texts; the registration date, last examination and
    // examination count stay.
    void AtualizaPaciente(int Codigo, const TDadosPaciente& p);
    void ExcluiPaciente(int Codigo);
    // The patient's name; the executor stays open.
    QString NomePaciente(int Codigo);
    // The code of the first patient with exactly that name, 0 when none.
    int CodigoPaciente(const QString& nome);
    void AtualizaExamesPaciente(int Codigo, const QString& UltimoExame, int TotalExames);
    // Number of patients; the executor stays open.
    int ContaPacientes();
    // The last code handed out (0 while there are no patients); the executor stays open.
    int IndicePacientes();
    // Patients whose examination count is 0 (a count never set is not counted).
    int ContaPacientesSemExames();
    // The patient's examination count; the executor stays open.
    int TotalExamesPaciente(int Codigo);

private:
    TDMPrincipal& m_dm;
};
