#pragma once
// The work behind the entry points of the multi-map modules: each module's entries call these
// with its kind. Nothing here lets an exception out.
//
// Batch mode: with ZR_MODULOS_AUTOMATICO=1 the wizard answers at once with the candidate lines
// named by ZR_MODULOS_SELECAO (1-based, "1,3") or else with its default choice, and the
// window is drawn at 1366 x 768 and closed; with ZR_MODULOS_SAIDA=<folder> it leaves there
// <name>.png (the window's content), <name>-janela.png (the whole window) and <name>.txt
// (what it shows as text).

#include "modules/zr_modulos.h"
#include "plugins/mapasmulti/UfrmMultiMapa.h"

namespace MultiMapa {

// One examination as handed over (the grids are the caller's).
struct ExameMulti {
    QStringList cabecalho;
    const TMatrizAngAnel* posicoes = nullptr;
    const TAneisMeridiano* aneis = nullptr;
    const TMatrizAngAnel* dioptrias = nullptr;
    bool temOrto = false;
    zrmod::TValoresOrto orto{};
    QChar tipo; // 'O'/'T' where known
};

// The panels of a module over its examinations (in the order received).
Conjunto MontaConjunto(Modulo m, const QList<ExameMulti>& exames, const Opcoes& o, double fator);

void Info(Modulo m, zrmod::ZrStream* saida);
int32_t Wizard(Modulo m, void* janela, zrmod::ZrStream* candidatos, zrmod::ZrStream* selecao,
               zrmod::ZrStream* opcoes, bool edicaoOrto, const zrmod::TInfosZR* infos);
void ProcessaMapas(Modulo m, void* janela, const zrmod::TDadosPac* dados,
                   const TMatrizesAngAnel* posicoes, const TMatrizesAng* aneis,
                   const TMatrizesAngAnel* dioptrias, const TMatPup* pupilas,
                   int32_t quantidade, zrmod::ZrStream* opcoes, const zrmod::TBlocoOrto* bloco,
                   const zrmod::TInfosZR* infos);

} // namespace MultiMapa
