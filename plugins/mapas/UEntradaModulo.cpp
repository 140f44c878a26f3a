#include "plugins/mapas/UEntradaModulo.h"

#include "common/UErros.h"

#include <QApplication>

#include <cstdio>
#include <exception>

namespace EntradaModulo {

bool Automatico()
{
    return qEnvironmentVariable("ZR_MODULOS_AUTOMATICO") == QLatin1String("1") ||
           !qobject_cast<QApplication*>(QCoreApplication::instance());
}

void Relata(const char* onde, const QString& texto)
{
    std::fprintf(stderr, "%s: %s\n", onde, texto.toLocal8Bit().constData());
}

void RelataExcecao(const char* onde) noexcept
{
    try {
        throw;
    } catch (const ErroSistema& e) {
        Relata(onde, e.Mensagem());
    } catch (const std::exception& e) {
        Relata(onde, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Relata(onde, QStringLiteral("erro inesperado"));
    }
}

} // namespace EntradaModulo
