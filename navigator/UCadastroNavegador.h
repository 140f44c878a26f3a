#pragma once
// The navigator's two uses of the patient registry: changing the current patient and adding
// a new one with the name typed in the patient selection.

#include <QString>

class QWidget;

// Opens the registry modally for the patient with that code (mode "Atualiza").
void CadastroAlteraPaciente(QWidget* pai, int codigo);
// Opens the registry modally for a new patient with the typed name (mode "Add"), the
// navigator's doctor filter handed over as the doctor. The registry stores the patient on
// OK; the caller finds out by counting the patients.
void CadastroIncluiPaciente(QWidget* pai, const QString& nome, const QString& medico);
// The name of the patient the registry stored last.
QString CadastroUltimoPaciente();
