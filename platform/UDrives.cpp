#include "platform/UDrives.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace {
ConsultaDriveFn& Substituta()
{
    static ConsultaDriveFn f;
    return f;
}
} // namespace

EstadoDrive ConsultaDrive(const QString& pasta)
{
    if (Substituta())
        return Substituta()(pasta);
    EstadoDrive e;
    const QFileInfo info(pasta);
    if (pasta.isEmpty() || !info.isDir())
        return e;
    const QStorageInfo volume(pasta);
    e.pronto = info.isWritable() && volume.isValid() && volume.isReady() && !volume.isReadOnly();
    e.livre = volume.bytesAvailable();
    e.total = volume.bytesTotal();
    e.rotulo = volume.name();
    return e;
}

ConsultaDriveFn DefineConsultaDrive(ConsultaDriveFn consulta)
{
    ConsultaDriveFn anterior = Substituta();
    Substituta() = std::move(consulta);
    return anterior;
}
