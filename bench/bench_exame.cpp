// Times one examination through the path the measurement screen and the findings text take
// (load the three files, curvature grid, keratometry, largest value) and the writing of the
// three data files after a capture. Plain timed program: prints median and worst times.

#include "config/URegistrosZR.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "topography/UBFuncoesMapas.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Relogio = std::chrono::steady_clock;

struct Medidas {
    std::vector<double> ms;
    void Relata(const char* nome, double alvo) const
    {
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        const double mediana = v[v.size() / 2];
        std::printf("%-48s mediana %7.3f ms  p95 %7.3f ms  pior %7.3f ms  (alvo < %.0f ms) %s\n",
                    nome, mediana, v[v.size() * 95 / 100], v.back(), alvo,
                    mediana < alvo ? "ok" : "ACIMA DO ALVO");
    }
};

// A toric cornea (7.5 / 7.8 mm, steep axis 90) measured on 16 rings 0.3 mm apart.
void ExameToroidal(TMatrizAngAnel& d, TMatrizAngAnel& m, TAneisMeridiano& aneis, double fator)
{
    for (int k = 1; k <= ZR_MERIDIANOS; ++k) {
        const double phi = ((180.0 - k) - 90.0) * M_PI / 180.0;
        const double c = std::cos(phi) * std::cos(phi) / 7.5 + std::sin(phi) * std::sin(phi) / 7.8;
        aneis[k - 1] = 16;
        for (int j = 0; j < ZR_COLUNAS_ANEL; ++j) {
            m[k - 1][j] = 0.3 * j / fator + 0.01 * (k % 7);
            d[k - 1][j] = 337.5 * c + 0.002 * j;
        }
    }
}

} // namespace

int main()
{
    QTemporaryDir pasta;
    PathsZR.Exames = pasta.path();
    InfosZR.NumAneis = 16;
    InfosZR.FatorCorrecao = 0.02;
    QDir().mkpath(PastaExamesPaciente(1));

    auto exame = std::make_unique<TBMapOperation::Exame>();
    ExameToroidal(exame->d, exame->m, exame->aneis, InfosZR.FatorCorrecao);
    const TDadosPupila pupila = {0, 0, 0, 0};

    const int repeticoes = 300;
    Medidas gravacao, conteudo, calculo;
    for (int r = 0; r < repeticoes; ++r) {
        const auto t0 = Relogio::now();
        const qsizetype bytes = ConteudoMatriz(exame->d, 16).size() + ConteudoMatriz(exame->m, 16).size()
            + ConteudoArquivoA(exame->aneis, 320, 240, pupila).size();
        conteudo.ms.push_back(std::chrono::duration<double, std::milli>(Relogio::now() - t0).count());
        if (bytes == 0)
            return 1;
    }
    for (int r = 0; r < repeticoes; ++r) {
        const auto t0 = Relogio::now();
        GravaArquivoD(1, 1, exame->d);
        GravaArquivoM(1, 1, exame->m);
        GravaArquivoA(1, 1, exame->aneis, 320, 240, pupila);
        gravacao.ms.push_back(std::chrono::duration<double, std::milli>(Relogio::now() - t0).count());
    }

    TBMapOperation leitor;
    double verificacao = 0;
    for (int r = 0; r < repeticoes; ++r) {
        const auto t0 = Relogio::now();
        if (!leitor.CarregaExame(PrefixoExame(1, 1)))
            return 1;
        TBFuncoesMapas mapa(leitor.Dioptrias(), leitor.Posicoes(), leitor.AneisPorMeridiano(),
                            InfosZR.FatorCorrecao);
        mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
        TDadosCeratometria k;
        mapa.Ceratometria(k, 2.5);
        verificacao += k.K1 + mapa.ValorMaximo();
        calculo.ms.push_back(std::chrono::duration<double, std::milli>(Relogio::now() - t0).count());
    }

    std::printf("Exame de 16 anéis, %d repetições (K1 + máximo médios: %.3f D)\n", repeticoes,
                verificacao / repeticoes);
    calculo.Relata("carga + CalculaMapa + Ceratometria + ValorMaximo", 5);
    gravacao.Relata("gravação de d.txt, m.txt e a.txt", 5);
    // The part of the writing that is this code's own: the bytes of the three files. The
    // rest is the disk: each file is replaced whole and synced before it counts as written.
    conteudo.Relata("  dos quais: texto dos três arquivos", 5);
    return 0;
}
