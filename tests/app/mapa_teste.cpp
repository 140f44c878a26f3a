// A map module for the start-up tests: "InfoMapa" writes the display name, the kind and a
// description chosen at build time (ZR_NOME, ZR_TIPO, ZR_LINHAS); with ZR_COM_INFO it also
// exports "Info", whose first line describes the module. ZR_FALHA makes a faulty module:
// 1 crashes in "InfoMapa", 2 aborts while it loads, 3 never returns from "InfoMapa",
// 4 crashes in "VersaoABI".

#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"

#include <csignal>
#include <cstdlib>

using namespace zrmod;

#if ZR_FALHA == 2
namespace {
struct AbortaAoCarregar {
    AbortaAoCarregar() { std::abort(); }
} g_aborta;
} // namespace
#endif
#if ZR_FALHA == 4
ZR_ENTRADA int32_t VersaoABI()
{
    std::raise(SIGSEGV);
    return ZR_MODULOS_VERSAO_ABI;
}
#endif

ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
#if ZR_FALHA == 1
    std::raise(SIGSEGV);
#elif ZR_FALHA == 3
    for (volatile bool sempre = true; sempre;) {
    }
#endif
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
