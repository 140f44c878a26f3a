// The image-processing module: finds the Placido rings of a central image and turns them
// into the examination's data, and measures the reference spheres for the calibration.
//
// Results of "ProcessaImagem": 1 success; 0 the buffer holds no usable bitmap; 2 no rings
// were found; 3 the calibration file is missing or unusable; 4 an output is missing.
// Nothing is written to the outputs unless the result is 1.

#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"
#include "plugins/instrumento/UBitmap.h"
#include "plugins/instrumento/UCalibracaoAneis.h"
#include "plugins/instrumento/UDetectorAneis.h"

#include <QImage>

#include <cmath>
#include <cstring>
#include <memory>

using namespace zrmod;

namespace {

enum { Sucesso = 1, SemImagem = 0, SemAneis = 2, SemCalibracao = 3, SemSaida = 4 };

int NumAneis(const TInfosZR* infos)
{
    return infos && infos->NumAneis > 24 ? 32 : 16;
}

bool LeImagem(ZrStream* s, QImage& imagem)
{
    return Instrumento::DecodificaBitmap(LeBytes(s), imagem);
}

QString PastaCalibracao(const TPathsZR* paths)
{
    return DeTextoModulo(paths->Calibracao);
}

struct Resultado {
    Instrumento::MedidaAneis medida;
    TMatrizAngAnel dioptrias;
    TAneisMeridiano aneis;
};

} // namespace

ZR_ENTRADA void Info(ZrStream* saida)
{
    try {
        GravaLinhasTexto(saida, {QStringLiteral("Processamento de imagem dos anéis de Plácido"),
                                 QStringLiteral("Centro, anéis por meridiano com precisão sub-pixel, pupila, "
                                                "índice de confiabilidade e dioptrias axiais pela calibração (Coef.txt)")});
    } catch (...) {
    }
}
ZR_CONFERE_ENTRADA(Info, TInfo);

ZR_ENTRADA int32_t ProcessaImagem(void* /*janela*/, ZrStream* central, double* centroX,
                                  double* centroY, TMatrizAngAnel* posicoes,
                                  TAneisMeridiano* aneis, TMatrizAngAnel* dioptrias,
                                  TDadosPupila* pupila, double* indice, const TInfosZR* infos,
                                  const TPathsZR* paths)
{
    try {
        if (!centroX || !centroY || !posicoes || !aneis || !dioptrias || !pupila || !indice || !paths)
            return SemSaida;
        QImage imagem;
        if (!LeImagem(central, imagem))
            return SemImagem;
        const int n = NumAneis(infos);
        auto r = std::make_unique<Resultado>();
        if (!Instrumento::MedeAneis(imagem, n, r->medida))
            return SemAneis;
        Instrumento::CoeficientesAneis coef;
        if (!Instrumento::LeCalibracao(PastaCalibracao(paths), n, coef))
            return SemCalibracao;
        Instrumento::ConverteDioptrias(r->medida, coef, r->dioptrias, r->aneis);
        // Absurd coefficients give no cornea: a calibration failure, the outputs untouched.
        if (!Instrumento::ResultadoPlausivel(r->medida, coef, r->aneis))
            return SemCalibracao;

        // Everything is known: fill the outputs. Positions beyond a meridian's last valid
        // ring read 0, like its dioptres.
        *centroX = r->medida.centroX;
        *centroY = r->medida.centroY;
        for (int k = 0; k < ZR_MERIDIANOS; ++k) {
            for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
                (*posicoes)[k][j] = j <= r->aneis[k] ? r->medida.raio[k][j] : 0.0;
            (*aneis)[k] = r->aneis[k];
        }
        std::memcpy(dioptrias, &r->dioptrias, sizeof(TMatrizAngAnel));
        std::memcpy(pupila, &r->medida.pupila, sizeof(TDadosPupila));
        *indice = r->medida.indiceConfianca;
        return Sucesso;
    } catch (...) {
        return SemImagem;
    }
}
ZR_CONFERE_ENTRADA(ProcessaImagem, TProcessaImagem);

ZR_ENTRADA int32_t ProcessaEsfera(void* /*janela*/, ZrStream* imagem, const char* raio,
                                  ZrStream* saida, const TInfosZR* infos)
{
    try {
        if (!saida)
            return SemSaida;
        double raioReferencia = 0.0;
        if (!Instrumento::LeNumeroTexto(DeTextoModulo(raio), raioReferencia))
            return SemImagem;
        if (raioReferencia < Instrumento::kRaioEsferaMin || raioReferencia > Instrumento::kRaioEsferaMax)
            return SemCalibracao;
        QImage quadro;
        if (!LeImagem(imagem, quadro))
            return SemImagem;
        auto medida = std::make_unique<Instrumento::MedidaAneis>();
        if (!Instrumento::MedeAneis(quadro, NumAneis(infos), *medida))
            return SemAneis;
        QStringList linhas;
        if (!Instrumento::TextoEsfera(raioReferencia, *medida, linhas))
            return SemAneis;
        return GravaLinhasTexto(saida, linhas) ? Sucesso : SemSaida;
    } catch (...) {
        return SemImagem;
    }
}
ZR_CONFERE_ENTRADA(ProcessaEsfera, TProcessaEsfera);
