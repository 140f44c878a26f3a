// The processing module over arbitrary bytes as the central image: its bitmap check and
// decoding, and the ring search on whatever decodes. No calibration: a decoded image ends
// at the ring search or at the missing coefficients.

#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"

#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int32_t ProcessaImagem(void*, zrmod::ZrStream*, double*, double*, TMatrizAngAnel*,
                                  TAneisMeridiano*, TMatrizAngAnel*, TDadosPupila*, double*,
                                  const zrmod::TInfosZR*, const zrmod::TPathsZR*);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    struct Saidas {
        double cx = 0, cy = 0, indice = 0;
        TMatrizAngAnel m, d;
        TAneisMeridiano aneis;
        TDadosPupila pupila;
    };
    static auto s = std::make_unique<Saidas>();
    static zrmod::TInfosZR infos = {};
    static zrmod::TPathsZR paths = {};
    infos.NumAneis = 16;
    BufferMemoria central(QByteArray(reinterpret_cast<const char*>(dados), qsizetype(tamanho)));
    ProcessaImagem(nullptr, central.Stream(), &s->cx, &s->cy, &s->m, &s->aneis, &s->d, &s->pupila,
                   &s->indice, &infos, &paths);
    return 0;
}
