#pragma once
// The work behind the entry points of the single-map modules (Axial, Tangencial): each
// module's entries call these with their map kind. Nothing here lets an exception out.

#include "modules/zr_modulos.h"
#include "plugins/mapas/UMapaCurvatura.h"

namespace ModuloMapa {

// "InfoMapa": the display name, "1" (single map) and the description.
// With analiseOrto: the tangential map with the ortho-k treatment analysis.
void Info(MapaCurvatura::Tipo tipo, zrmod::ZrStream* saida, bool analiseOrto = false);

// "ProcessaMapa" / "ProcessaMapaOrto": the map window, modal over janela. With
// ZR_MODULOS_AUTOMATICO=1 (or without a widget application) the window is drawn and closed
// at once; with ZR_MODULOS_SAIDA=<folder> it also leaves there <name>.png (the window),
// <name>-mapa.png (the map alone, its centre in the middle) and <name>.txt (what the window
// shows as text), <name> being "Axial", "Tangencial" or "TangencialOrto". With analiseOrto
// the window also shows the treatment analysis of the tangential map.
void Processa(MapaCurvatura::Tipo tipo, void* janela, zrmod::ZrStream* central,
              zrmod::ZrStream* lateral, double centroX, double centroY,
              zrmod::ZrStream* cabecalho, const TMatrizAngAnel* posicoes,
              const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
              const TDadosPupila* pupila, const zrmod::TTriploOrto* orto,
              const zrmod::TInfosZR* infos, bool analiseOrto = false);

// "Visualizar": a Windows bitmap of the small axial map (200 x 200) into saida; nothing
// when there is nothing to draw.
void Visualizar(zrmod::ZrStream* saida, double centroX, double centroY,
                const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila,
                const zrmod::TInfosZR* infos);

constexpr int kLadoMiniMapa = 200;

} // namespace ModuloMapa
