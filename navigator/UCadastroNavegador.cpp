#include "navigator/UCadastroNavegador.h"

#include "data/UDMPrincipal.h"
#include "platform/UJanelas.h"
#include "registry/UfrmCadastroPacientes.h"

void CadastroAlteraPaciente(QWidget* pai, int codigo)
{
    auto* f = new TfrmCadastroPacientes(pai);
    if (!f->PreparaAlteracao(codigo)) {
        delete f;
        return;
    }
    AbreJanelaModal(f);
}

void CadastroIncluiPaciente(QWidget* pai, const QString& nome, const QString& medico)
{
    auto* f = new TfrmCadastroPacientes(pai);
    f->PreparaInclusao(nome);
    f->Medico = medico;
    AbreJanelaModal(f);
}

QString CadastroUltimoPaciente() { return TfrmCadastroPacientes::UltimoPacienteAdicionado(); }
