// The ortho-k image-processing module: the four central images of one ortho-k capture go,
// one by one, through the ring detector and the calibration of "Coef.txt", exactly as in the
// processing module. The outputs are texts:
//   - positions and dioptres: 4 x 360 lines, map after map, meridian after meridian, in the
//     layout of the examination files (each value "00.00" followed by one space), each line
//     holding the columns 0 .. the meridian's last valid ring;
//   - values: 16 lines, for each map Sag (um, flat meridian over the 8 mm chord), Div (um,
//     the steep meridian's sag minus the flat one's), Raio (mm, flat simulated keratometry
//     of the 3 mm zone) and the flat meridian's eccentricity;
//   - the confidence index of each map.
//
// Results of "ProcessaImagem": 1 success; 0 an image is missing or no usable bitmap; 2 an
// image gave no rings; 3 the calibration file is missing or unusable; 4 an output is
// missing; 5 the rings of an image do not give the lens values (they do not reach the chord,
// the correction factor is unusable, or a value is not a finite number). Nothing is written
// to the outputs unless the result is 1.

#include "common/UFormatos.h"
#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"
#include "plugins/instrumento/UBitmap.h"
#include "plugins/instrumento/UCalibracaoAneis.h"
#include "plugins/instrumento/UDetectorAneis.h"
#include "topography/UElevacao.h"

#include <QImage>

#include <cmath>
#include <memory>
#include <thread>
#include <vector>

using namespace zrmod;

namespace {

enum { Sucesso = 1, SemImagem = 0, SemAneis = 2, SemCalibracao = 3, SemSaida = 4, SemValores = 5 };

int NumAneis(const TInfosZR* infos)
{
    return infos && infos->NumAneis > 24 ? 32 : 16;
}

QString PastaCalibracao(const TPathsZR* paths)
{
    return DeTextoModulo(paths->Calibracao);
}

struct Mapa {
    Instrumento::MedidaAneis medida;
    TMatrizAngAnel posicoes;
    TMatrizAngAnel dioptrias;
    TAneisMeridiano aneis;
    TValoresOrtoExame valores;
};

// The lines of one map's matrix: columns 0 .. the meridian's last valid ring.
void LinhasMatriz(const TMatrizAngAnel& matriz, const TAneisMeridiano& aneis, QStringList& linhas)
{
    const QString padrao = QStringLiteral("00.00");
    for (int k = 0; k < ZR_MERIDIANOS; ++k) {
        QString linha;
        for (int j = 0; j <= aneis[k]; ++j) {
            linha += FormataNumero(padrao, matriz[k][j]);
            linha += QLatin1Char(' ');
        }
        linhas << linha;
    }
}

void Limpa(ZrStream* s)
{
    if (s && s->clear)
        s->clear(s);
}

bool Finito(const Mapa& m)
{
    for (int k = 0; k < ZR_MERIDIANOS; ++k)
        for (int j = 0; j <= m.aneis[k]; ++j)
            if (!std::isfinite(m.posicoes[k][j]) || !std::isfinite(m.dioptrias[k][j]))
                return false;
    const TValoresOrtoExame& v = m.valores;
    return std::isfinite(v.Sag) && std::isfinite(v.Div) && std::isfinite(v.Raio) && std::isfinite(v.Excentricidade)
        && std::isfinite(m.medida.indiceConfianca);
}

// One image: rings, dioptres, positions and lens values; Sucesso or the failure's result.
int Mede(const QImage& imagem, int n, const Instrumento::CoeficientesAneis& coef, double fator, Mapa& m)
{
    if (!Instrumento::MedeAneis(imagem, n, m.medida))
        return SemAneis;
    Instrumento::ConverteDioptrias(m.medida, coef, m.dioptrias, m.aneis);
    for (int k = 0; k < ZR_MERIDIANOS; ++k)
        for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
            m.posicoes[k][j] = j <= m.aneis[k] ? m.medida.raio[k][j] : 0.0;
    try {
        m.valores = CalculaValoresOrto(m.posicoes, m.dioptrias, m.aneis, fator);
    } catch (const ErroCalculo&) {
        return SemValores;
    }
    return Finito(m) ? Sucesso : SemValores;
}

} // namespace

ZR_ENTRADA void Info(ZrStream* saida)
{
    try {
        GravaLinhasTexto(saida, {QStringLiteral("Processamento de imagem das capturas de ortoceratologia"),
                                 QStringLiteral("Anéis das quatro imagens pela calibração (Coef.txt); Sag e Div na corda "
                                                "de 8 mm, raio plano da ceratometria simulada e excentricidade de cada mapa")});
    } catch (...) {
    }
}
ZR_CONFERE_ENTRADA(Info, TInfo);

ZR_ENTRADA int32_t ProcessaImagem(void* /*janela*/, const TQuatroBuffers* centrais, ZrStream* posicoes,
                                  ZrStream* dioptrias, ZrStream* valores, double (*indices)[4],
                                  const TInfosZR* infos, const TPathsZR* paths)
{
    try {
        if (!centrais || !posicoes || !dioptrias || !valores || !indices || !paths)
            return SemSaida;
        const double fator = infos ? infos->FatorCorrecao : 0.0;
        if (!std::isfinite(fator) || !(fator > 0.005) || !(fator < 0.1))
            return SemValores;
        const int n = NumAneis(infos);
        QImage imagens[4];
        for (int i = 0; i < 4; ++i)
            if (!(*centrais)[i] || !Instrumento::DecodificaBitmap(LeBytes((*centrais)[i]), imagens[i]))
                return SemImagem;
        Instrumento::CoeficientesAneis coef;
        if (!Instrumento::LeCalibracao(PastaCalibracao(paths), n, coef))
            return SemCalibracao;

        // The four images are independent: each is measured on its own thread.
        std::vector<std::unique_ptr<Mapa>> mapas;
        int resultados[4];
        for (int i = 0; i < 4; ++i)
            mapas.push_back(std::make_unique<Mapa>());
        auto mede = [&](int i) {
            try {
                resultados[i] = Mede(imagens[i], n, coef, fator, *mapas[size_t(i)]);
            } catch (...) {
                resultados[i] = SemImagem;
            }
        };
        std::vector<std::thread> linhas;
        int proxima = 1;
        try {
            for (; proxima < 4; ++proxima)
                linhas.emplace_back(mede, proxima);
        } catch (...) {
            // No thread to spare: the rest is measured here.
        }
        for (int i = proxima; i < 4; ++i)
            mede(i);
        mede(0);
        for (std::thread& t : linhas)
            t.join();
        for (int r : resultados)
            if (r != Sucesso)
                return r;

        // Everything is known: write the outputs.
        QStringList linhasPosicoes, linhasDioptrias, linhasValores;
        for (const auto& m : mapas) {
            LinhasMatriz(m->posicoes, m->aneis, linhasPosicoes);
            LinhasMatriz(m->dioptrias, m->aneis, linhasDioptrias);
            const QString padrao = QStringLiteral("0.0000");
            linhasValores << FormataNumero(padrao, m->valores.Sag) << FormataNumero(padrao, m->valores.Div)
                          << FormataNumero(padrao, m->valores.Raio) << FormataNumero(padrao, m->valores.Excentricidade);
        }
        if (!GravaLinhasTexto(posicoes, linhasPosicoes) || !GravaLinhasTexto(dioptrias, linhasDioptrias)
            || !GravaLinhasTexto(valores, linhasValores)) {
            Limpa(posicoes);
            Limpa(dioptrias);
            Limpa(valores);
            return SemSaida;
        }
        for (int i = 0; i < 4; ++i)
            (*indices)[i] = mapas[size_t(i)]->medida.indiceConfianca;
        return Sucesso;
    } catch (...) {
        return SemImagem;
    }
}
ZR_CONFERE_ENTRADA(ProcessaImagem, TProcessaImagemOrto);
