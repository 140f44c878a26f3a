#pragma once
// Every statement on the doctors (MEDICOS): insert, change, delete, count and look up.
// The object holds no data; changes are committed by the data module.

#include "data/UDMPrincipal.h"

struct TDadosMedico {
    QString Nome, Rg, Cpf, Crm, Sexo, EstadoCivil, Conjuge, DataNascimento, Naturalidade,
        NaturalidadeEstado, Pai, Mae, Rua, Complemento, Bairro, Cidade, Estado, Cep, Fone,
        Celular;
};

class TDMedicos {
public:
    explicit TDMedicos(TDMPrincipal& modulo = TDMPrincipal::Instancia()) : m_dm(modulo) {}

    void InsereMedico(const TDadosMedico& m);
    void AtualizaMedico(int Codigo, const TDadosMedico& m);
    void ExcluiMedico(int Codigo);
    // The doctor's name; the executor stays open.
    QString NomeMedico(int Codigo);
    // The code of the doctor with exactly that name, 0 when none.
    int CodigoMedico(const QString& nome);
    // Number of doctors; the executor stays open.
    int ContaMedicos();
    // The last code handed out (0 while there are no doctors); the executor stays open.
    int IndiceMedicos();
    // Opens or closes the data module's doctors table.
    void AbreTabelaMedicos(bool abre);

private:
    TDMPrincipal& m_dm;
};
