// A multi-map module: "MultiMapas.so" (ZR_MODULO_MULTI 0), "Duplo.so" (1), "Diferencial.so"
// (2) or "MultiOrto.so" (3), built from this one file.

#include "modules/zr_modulos.h"
#include "plugins/mapasmulti/UModuloMultiMapa.h"

using namespace zrmod;

namespace {
constexpr MultiMapa::Modulo kModulo = MultiMapa::Modulo(ZR_MODULO_MULTI);
}

ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    MultiMapa::Info(kModulo, saida);
}

#if ZR_MODULO_MULTI == 2
ZR_ENTRADA int32_t Wizard(void* janela, ZrStream* candidatos, ZrStream* selecao, ZrStream* opcoes,
                          uint8_t edicaoOrto, const TInfosZR* infos)
{
    return MultiMapa::Wizard(kModulo, janela, candidatos, selecao, opcoes, edicaoOrto != 0, infos);
}
ZR_CONFERE_ENTRADA(Wizard, TWizardDiferencial);
#else
ZR_ENTRADA int32_t Wizard(void* janela, ZrStream* candidatos, ZrStream* selecao, ZrStream* opcoes,
                          const TInfosZR* infos)
{
    return MultiMapa::Wizard(kModulo, janela, candidatos, selecao, opcoes, true, infos);
}
ZR_CONFERE_ENTRADA(Wizard, TWizard);
#endif

#if ZR_MODULO_MULTI == 3
ZR_ENTRADA void ProcessaMapas(void* janela, const TDadosPac* dados, const TMatrizesAngAnel* posicoes,
                              const TMatrizesAngAnel* dioptrias, const TBlocoOrto* bloco,
                              const TInfosZR* infos)
{
    MultiMapa::ProcessaMapas(kModulo, janela, dados, posicoes, nullptr, dioptrias, nullptr,
                             dados ? dados->count : 0, nullptr, bloco, infos);
}
ZR_CONFERE_ENTRADA(ProcessaMapas, TProcessaMapasOrto);
#else
ZR_ENTRADA void ProcessaMapas(void* janela, const TDadosPac* dados, const TMatrizesAngAnel* posicoes,
                              const TMatrizesAng* aneis, const TMatrizesAngAnel* dioptrias,
                              const TMatPup* pupilas, int32_t quantidade, ZrStream* opcoes,
                              const TInfosZR* infos)
{
    MultiMapa::ProcessaMapas(kModulo, janela, dados, posicoes, aneis, dioptrias, pupilas,
                             quantidade, opcoes, nullptr, infos);
}
ZR_CONFERE_ENTRADA(ProcessaMapas, TProcessaMapas);
#endif

ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);
