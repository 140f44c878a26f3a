// A single-map module: "Axial.so" (ZR_TIPO_MAPA 0), "Tangencial.so" (ZR_TIPO_MAPA 1) or
// "TangencialOrto.so" (ZR_TIPO_MAPA 2: the tangential map with the ortho-k treatment
// analysis), built from this one file.

#include "modules/zr_modulos.h"
#include "plugins/mapas/UModuloMapa.h"

using namespace zrmod;

namespace {
constexpr bool kAnaliseOrto = ZR_TIPO_MAPA == 2;
constexpr MapaCurvatura::Tipo kTipo = kAnaliseOrto ? MapaCurvatura::Tangencial : MapaCurvatura::Tipo(ZR_TIPO_MAPA);
}

ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    ModuloMapa::Info(kTipo, saida, kAnaliseOrto);
}

ZR_ENTRADA void ProcessaMapa(void* janela, ZrStream* central, ZrStream* lateral, double centroX,
                             double centroY, ZrStream* cabecalho, const TMatrizAngAnel* posicoes,
                             const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                             const TDadosPupila* pupila, const TTriploOrto* orto,
                             const TInfosZR* infos)
{
    ModuloMapa::Processa(kTipo, janela, central, lateral, centroX, centroY, cabecalho, posicoes,
                         aneis, dioptrias, pupila, orto, infos, kAnaliseOrto);
}

ZR_ENTRADA void ProcessaMapaOrto(void* janela, ZrStream* central, ZrStream* lateral,
                                 double centroX, double centroY, ZrStream* cabecalho,
                                 const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                                 const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila,
                                 const TTriploOrto* orto, const TInfosZR* infos)
{
    ModuloMapa::Processa(kTipo, janela, central, lateral, centroX, centroY, cabecalho, posicoes,
                         aneis, dioptrias, pupila, orto, infos, kAnaliseOrto);
}

// The small map is axial in both modules.
ZR_ENTRADA void Visualizar(void*, ZrStream* saida, ZrStream*, int32_t, double centroX,
                           double centroY, const TMatrizAngAnel* posicoes,
                           const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                           const TDadosPupila* pupila, const void*, int32_t,
                           const TInfosZR* infos, void**)
{
    ModuloMapa::Visualizar(saida, centroX, centroY, posicoes, aneis, dioptrias, pupila, infos);
}

ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);
ZR_CONFERE_ENTRADA(ProcessaMapa, TProcessaMapa);
ZR_CONFERE_ENTRADA(ProcessaMapaOrto, TProcessaMapaOrto);
ZR_CONFERE_ENTRADA(Visualizar, TVisualizar);
