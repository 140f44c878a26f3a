#pragma once
// The findings of a new report: per eye, the largest value of the axial or tangential map
// and the simulated keratometry of the central 3 mm, and the template sentences that quote
// them (exam conditions, eye, conclusion) with their numbered slots.

#include "topography/UBFuncoesMapas.h"

#include <QString>
#include <cstdint>

class TBMapOperation;

struct AchadosOlho {
    double ValorMaximo = 0;
    TDadosCeratometria Ceratometria;
};

// Zone radius of the keratometry the findings quote (the central 3 mm).
inline constexpr double kRaioAchados = 1.5;

// The findings of the loaded data: map of the kind (0 axial, 1 tangential), keratometry
// within 1.5 mm, largest value. The dioptre matrix is converted in place for the tangential
// kind. Raises ErroCalculo for data the computation refuses.
AchadosOlho CalculaAchados(TMatrizAngAnel& dioptrias, const TMatrizAngAnel& posicoes,
                           const TAneisMeridiano& aneis, double fatorCorrecao, uint8_t tipo);

// Loads the examination of the prefix and computes its findings. On failure it tells the
// user and returns false: files missing or not readable give the reader's message, where it
// has one, then "Não foi possível processar o mapa selecionado. ERROMAP03"; data the
// computation refuses give "Não foi possível calcular os achados do exame " + legenda + "."
// and the reason on the next line.
bool AchadosDoExame(TBMapOperation& leitor, const QString& prefixo, const QString& legenda,
                    double fatorCorrecao, uint8_t tipo, AchadosOlho& achados);

// Dioptres "#,##0.00;(#,##0.00)"; axes as whole degrees.
QString FormataDioptria(double valor);
QString FormataEixo(int eixo);

// The exam-conditions template: two lines (joined by a line feed).
QString TextoCondicoes();
// The eye sentence for the map kind, with the eye's findings.
QString TextoOlho(uint8_t tipo, const AchadosOlho& achados);
// The conclusion template: sixteen slots, 14 and 15 touching.
QString TextoConclusao();
