// A map module for the start-up tests: "InfoMapa" writes the display name, the kind and a
// description chosen at build time (ZR_NOME, ZR_TIPO, ZR_LINHAS); with ZR_COM_INFO it also
// exports "Info", whose first line describes the module.

#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"

using namespace zrmod;

ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    const QStringList linhas = {QStringLiteral(ZR_NOME), QStringLiteral(ZR_TIPO),
                                QStringLiteral("Mapa ") + QStringLiteral(ZR_NOME)};
    GravaLinhasTexto(saida, linhas.mid(0, ZR_LINHAS));
}
ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);

ZR_ENTRADA void ProcessaMapa(void*, ZrStream*, ZrStream*, double, double, ZrStream*,
                             const TMatrizAngAnel*, const TAneisMeridiano*, const TMatrizAngAnel*,
                             const TDadosPupila*, const TTriploOrto*, const TInfosZR*)
{
}
ZR_CONFERE_ENTRADA(ProcessaMapa, TProcessaMapa);

#ifdef ZR_COM_INFO
ZR_ENTRADA void Info(ZrStream* saida)
{
    GravaLinhasTexto(saida, {QStringLiteral("Módulo ") + QStringLiteral(ZR_NOME), QStringLiteral("linha 2")});
}
ZR_CONFERE_ENTRADA(Info, TInfo);
#endif
