#pragma once
// The curvature map of one examination as the map modules draw it: the examination's grids
// checked and cleaned, the axial or tangential values resampled onto the polar grid of the
// map computation (360 meridians by one-pixel cells), the simulated keratometry of the
// central 3 mm, and the value at any point of the cornea in millimetres.
//
// Meridian k leaves the centre at k degrees from the image's +x towards its +y (the image
// as the camera sees the eye), so a point (x, y) in millimetres, y downwards, lies on the
// meridian atan2(y, x); its clinical axis is 180 - k.

#include "examfiles/zr_exame.h"
#include "topography/UBFuncoesMapas.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class MapaCurvatura {
public:
    enum Tipo { Axial = 0, Tangencial = 1 };

    // Dioptres outside this range are not taken as measurements.
    static constexpr double kDioptriaMinima = kDioptriaMinimaMedida;
    static constexpr double kDioptriaMaxima = kDioptriaMaximaMedida;
    static constexpr int kMaxAneis = 32;
    // Millimetres per pixel taken when the options carry none that makes sense.
    static constexpr double kFatorPadrao = 0.02;

    // Any of the grids may be null; what cannot be used is left out and noted (Avisos).
    MapaCurvatura(Tipo tipo, const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                  const TMatrizAngAnel* dioptrias, double fatorCorrecao);
    ~MapaCurvatura();
    MapaCurvatura(const MapaCurvatura&) = delete;
    MapaCurvatura& operator=(const MapaCurvatura&) = delete;

    Tipo TipoMapa() const { return m_tipo; }
    // False when there is nothing to draw.
    bool TemDados() const { return m_temDados; }
    // Notes for the user on what was left out, in Portuguese, one per problem.
    const QStringList& Avisos() const { return m_avisos; }

    double Fator() const { return m_fator; }
    // Largest distance from the centre with data, millimetres.
    double RaioDados() const { return m_raioDados; }
    // Smallest and largest value of the map (NaN without data).
    double Minimo() const { return m_minimo; }
    double Maximo() const { return m_maximo; }

    // The value at (x, y) millimetres from the centre (y downwards), interpolated between the
    // two neighbouring meridians and cells; NaN where the map has no data.
    double Valor(double xMm, double yMm) const;
    // A grid cell: meridian 1..360, cell 0..300; 0 = no data.
    double Celula(int meridiano, int celula) const;

    // Simulated keratometry of the axial curvature within 1.5 mm of the centre (the 3 mm
    // zone); false when it cannot be computed (the reason is among the notes).
    bool TemCeratometria() const { return m_temCeratometria; }
    const TDadosCeratometria& Ceratometria() const { return m_ceratometria; }

private:
    void Prepara(const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                 const TMatrizAngAnel* dioptrias);
    void Calcula();

    Tipo m_tipo;
    double m_fator;
    std::unique_ptr<TMatrizAngAnel[]> m_d;     // cleaned axial values
    std::unique_ptr<TMatrizAngAnel[]> m_m;
    std::unique_ptr<TAneisMeridiano[]> m_aneis;
    std::vector<float> m_grade;                 // 360 x 301, meridian after meridian
    bool m_temDados = false;
    bool m_temCeratometria = false;
    TDadosCeratometria m_ceratometria;
    double m_raioDados = 0.0;
    double m_minimo, m_maximo;
    QStringList m_avisos;
};
