#pragma once
// The curvature grid of one examination and what is derived from it: the simulated
// keratometry within a zone and the largest map value. The colour maps themselves are drawn
// by the map modules; this grid serves the measurement screen and the findings text.

#include "examfiles/zr_exame.h"
#include "topography/UErroCalculo.h"

#include <cstdint>
#include <memory>

// Simulated keratometry: the steeper (1) and flatter (2) principal meridians.
struct TDadosCeratometria {
    uint16_t Eixo1 = 0; // axis of the steeper meridian, degrees 0..179
    uint16_t Eixo2 = 0; // axis of the flatter meridian, 1..180
    double Raio = 0;    // zone radius, mm
    double K1 = 0;      // dioptres
    double K2 = 0;
    double DifK = 0;    // K1 - K2
    double R1 = 0;      // 337.5 / K1, mm
    double R2 = 0;
    double DifR = 0;    // R1 - R2
};

class TBFuncoesMapas {
public:
    static constexpr int kCelulas = 301; // radial cells 0..300, one pixel apart
    enum TipoMapa : uint8_t { MapaAxial = 0, MapaTangencial = 1 };

    // The matrices and counts are referenced for the object's whole life, not copied: the
    // tangential map converts the dioptre matrix in place. fatorCorrecao is millimetres per
    // pixel of the central image.
    TBFuncoesMapas(TMatrizAngAnel& dioptrias, const TMatrizAngAnel& posicoes,
                   const TAneisMeridiano& aneis, double fatorCorrecao);
    ~TBFuncoesMapas();
    TBFuncoesMapas(const TBFuncoesMapas&) = delete;
    TBFuncoesMapas& operator=(const TBFuncoesMapas&) = delete;

    // Fills the grid for the map kind: 0 axial, 1 tangential (the tangential power of every
    // meridian, TangencialDasMatrizes, first written over the dioptre matrix, columns beyond
    // the rings that hold a tangential value zeroed). A ring count outside 0..32 or, for the tangential map, a
    // zero radial position at a valid ring raises ErroCalculo
    // before anything is changed. A meridian that cannot be interpolated shows "Problemas na
    // interpolação dos valores de dioptria e/ou cálculo dos raios de curvatura." and the
    // meridians from it on keep no data. Meridians with fewer than two valid columns give
    // no samples.
    void CalculaMapa(uint8_t tipo);

    // Keratometry within raio millimetres of the centre: the mean of the positive cells of
    // each meridian within the zone, pairs of opposite meridians averaged, the steepest pair
    // and the one 90 degrees from it. Of pairs with the same largest mean the later one wins,
    // except that a run of equal neighbours counts by its middle. Raises ErroCalculo when the
    // zone reaches beyond the grid or a meridian holds no data within it.
    void Ceratometria(TDadosCeratometria& destino, double raio);
    const TDadosCeratometria& DadosCeratometria() const { return m_ceratometria; }

    // Largest value above zero of the grid, 0 when there is none.
    double ValorMaximo() const;

    // A grid cell: meridian 1..360, cell 0..300 (0 = no data).
    double Celula(int meridiano, int celula) const;
    // False when the last CalculaMapa stopped on a meridian it could not interpolate.
    bool InterpolacaoCompleta() const { return m_interpolacaoCompleta; }

private:
    void ValidaAneis() const;
    void ConverteTangencial();
    void InterpolaMeridianos(const TMatrizAngAnel& fonte);
    bool InterpolaMeridiano(int i, const TMatrizAngAnel& fonte, double* celulas) const;

    TMatrizAngAnel& m_d;
    const TMatrizAngAnel& m_m;
    const TAneisMeridiano& m_aneis;
    TAneisMeridiano m_contagem = {}; // rings of each meridian the grid is drawn from
    double m_fator;
    std::unique_ptr<double[]> m_grade; // 360 x 301, meridian after meridian
    TDadosCeratometria m_ceratometria;
    bool m_interpolacaoCompleta = true;
};

// Dioptres outside this range are not taken as measurements.
inline constexpr double kDioptriaMinimaMedida = 20.0;
inline constexpr double kDioptriaMaximaMedida = 100.0;

// What LimpaMeridianos left out.
struct TLimpezaMeridianos {
    int aneisInvalidos = 0; // meridians whose ring count lay outside 0..32 (taken as empty)
    int cortados = 0;       // meridians ended before a value that cannot be a measurement
    int comDados = 0;       // meridians left with data
};

// An examination's grids as the map modules and the screening indices use them: the
// positions copied as they are; each meridian ends before its first value that cannot be a
// measurement (dioptres not finite or outside kDioptriaMinimaMedida..kDioptriaMaximaMedida,
// a position not finite, negative or not rising), fewer than two rings leave it empty, and
// the dioptres beyond its last ring are zero.
TLimpezaMeridianos LimpaMeridianos(const TMatrizAngAnel& posicoes, const TAneisMeridiano& aneis,
                                   const TMatrizAngAnel& dioptrias, TMatrizAngAnel& posicoesLimpas,
                                   TAneisMeridiano& aneisLimpos, TMatrizAngAnel& dioptriasLimpas);

// Two decimals, halves away from zero on the value's 15 significant digits (the rounding
// of the "0.00" pattern), as a number.
double ArredondaDuasCasas(double valor);
