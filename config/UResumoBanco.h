#pragma once
// The database summary of the tools form: counts, generator values and backed-up rows.

class TDMPrincipal;

struct ResumoBanco {
    int medicos = 0, indiceMedicos = 0;
    int pacientes = 0, indicePacientes = 0;
    int exames = 0, indiceExames = 0, backupExames = 0;
    int laudos = 0, indiceLaudos = 0, backupLaudos = 0;
};

// Reads the summary through the data-access objects. Raises on a database error.
ResumoBanco LeResumoBanco(TDMPrincipal& dm);
