#pragma once
// An examination stored as the capture form stores one: the simulated instrument's capture
// module photographs a model cornea, the real processing module measures it, the row goes
// in through TDExames, the three data files through the examination-file writers and the
// two images, as JPEG, through TBJpeg and TDArquivos.
//
// Needs the program's records (InfosZR, PathsZR) filled from the installation's settings
// and a connected data module.

#include "data/UDMPrincipal.h"

#include <QDate>
#include <QString>
#include <QTime>

struct ExameCapturado {
    bool Valido = false;
    QString Erro;     // why it was not stored
    int Codigo = 0;
    int CodPaciente = 0;
    QString Olho;
    QDate Data;
    QString Prefixo;  // folder and code of its data files
};

// caso: a name the simulator knows ("esfera 7.8", "torica 7.9 7.5 30", "Central02" ...).
// olho: "OD" or "OS".
ExameCapturado GravaExameCapturado(TDMPrincipal& dm, int codPaciente, int codMedico, const QString& caso,
                                   const QString& olho, const QDate& data = QDate(2025, 3, 14),
                                   const QTime& hora = QTime(9, 30, 0));
