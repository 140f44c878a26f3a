#pragma once
// Sending DICOM objects to the clinic's image archive (C-STORE) and checking the connection
// (C-ECHO), with DCMTK. The archive is set in the settings file, section PACS.

#include "export/UExportaDicom.h"

#include <QString>

struct ConfiguracaoPacs {
    QString aeLocal = QStringLiteral("KORVANE"); // this workstation's AE title
    QString aeArquivo;                           // the archive's AE title
    QString host;
    int porta = 104;
    int tempoLimite = 10;                        // seconds, 1..10

    bool Completa() const { return !aeArquivo.isEmpty() && !host.isEmpty() && porta > 0; }
};

// Reads section PACS of the settings file (AETITLE, AETITLEARQUIVO, HOST, PORTA, TEMPOLIMITE);
// missing keys keep the defaults above, a time limit outside 1..10 becomes 10.
ConfiguracaoPacs LeConfiguracaoPacs(const QString& arquivoIni);

// C-ECHO. Raises ErroSistema with the reason (no answer within the time limit, association
// refused, echo failed).
void TestaConexaoPacs(const ConfiguracaoPacs& cfg);

// C-STORE of every object in one association. Raises ErroSistema naming what failed: the
// archive that does not answer, refuses the association, or refuses an object (named by
// its description and the archive's status). Nothing is kept locally either way.
void EnviaObjetosPacs(const ConfiguracaoPacs& cfg, const QList<ObjetoDicom>& objetos);
