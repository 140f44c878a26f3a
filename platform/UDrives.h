#pragma once
// The backup medium as a folder: whether it is there and writable, its volume's free and
// total space and label. Tests install a stand-in that sets free space and readiness.

#include <QString>

#include <functional>

struct EstadoDrive {
    bool pronto = false;      // the folder exists and can be written
    qint64 livre = 0;         // bytes
    qint64 total = 0;         // bytes
    QString rotulo;           // the volume's label, when it has one
};

EstadoDrive ConsultaDrive(const QString& pasta);

using ConsultaDriveFn = std::function<EstadoDrive(const QString&)>;
// Replaces the query (an empty function restores the real one); returns the previous.
ConsultaDriveFn DefineConsultaDrive(ConsultaDriveFn consulta);
