#include "config/UResumoBanco.h"

#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"

ResumoBanco LeResumoBanco(TDMPrincipal& dm)
{
    ResumoBanco r;
    TDMedicos medicos(dm);
    r.medicos = medicos.ContaMedicos();
    r.indiceMedicos = medicos.IndiceMedicos();
    TDPacientes pacientes(dm);
    r.pacientes = pacientes.ContaPacientes();
    r.indicePacientes = pacientes.IndicePacientes();
    TDExames exames(dm);
    r.exames = exames.ContaExames();
    r.indiceExames = exames.IndiceExames();
    r.backupExames = r.exames - exames.ContaExamesSemBackup();
    TDLaudos laudos(dm);
    r.laudos = laudos.ContaLaudos();
    r.indiceLaudos = laudos.IndiceLaudos();
    r.backupLaudos = r.laudos - laudos.ContaLaudosSemBackup();
    return r;
}
