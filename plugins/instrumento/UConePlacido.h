#pragma once
// The Placido cone of the simulated instrument: a truncated cone coaxial with the camera,
// painted inside with bright rings on a dark ground, seen by reflection on the cornea.
//
// Coordinates, millimetres: the corneal apex at the origin, z along the axis towards the
// camera; the camera looks down the axis through the hole at the back of the cone and sees
// the eye orthographically (telecentric lens), so an image pixel is FatorCorrecao mm on the
// cornea whatever its depth. The cone is given as the eye sees it through the instrument's
// relay optics, which place it far (up to two metres) from the eye: the rings then act
// almost by their angles alone and the small parallax left is what the calibration's
// intercepts absorb.
//
// The rings are painted where a 7.8 mm sphere reflects them at evenly spaced heights from
// the axis, out to 4.5 mm: ring j (1..N) spans heights (j - 1/4) d .. (j + 1/4) d with
// d = 4.5 / (N + 1/4). A point of the cone is named by its z, which falls from the back of
// the cone (the innermost ring) to its front rim (the outermost).

#include <vector>

namespace Instrumento {

class ConePlacido {
public:
    // N = 16 or 32 rings (any other count is taken to the nearer of the two).
    explicit ConePlacido(int numAneis);

    int NumAneis() const { return m_numAneis; }

    // Where the ray from p in direction d meets the painted cone: its z there, or false
    // when the ray leaves through the back hole or past the front rim.
    bool Intersecao(const double p[3], const double d[3], double& z) const;

    // Traces the reflection of the camera's view at the surface point p with unit outward
    // normal n; false when it does not reach the painted cone.
    bool Reflexo(const double p[3], const double n[3], double& z) const;

    // The painted pattern at cone position z: true on a bright ring. distancia = |z - the
    // nearest ring edge| (mm along z); borda, when given, receives that edge's z.
    bool Brilhante(double z, double& distancia, double* borda = nullptr) const;

    // The z of the edges of ring j (1..N): inner edge (towards the axis) and outer edge.
    double BordaInterna(int anel) const { return m_bordas[2 * (anel - 1)]; }
    double BordaExterna(int anel) const { return m_bordas[2 * (anel - 1) + 1]; }

    // Height on the 7.8 mm design sphere of the middle of ring j, mm.
    double AlturaProjeto(int anel) const;

    static constexpr double RaioProjeto = 7.8;
    static constexpr double AlturaMaxima = 4.5;

private:
    int m_numAneis;
    // Cone: radius(z) = m_raioFrente + (z - m_zFrente) * m_inclinacao for z in
    // [m_zFrente, m_zFundo].
    double m_zFrente = 120.0;
    double m_raioFrente = 960.0;
    double m_zFundo = 2000.0;
    double m_raioFundo = 16.0;
    double m_inclinacao = 0.0;
    std::vector<double> m_bordas; // 2N edges, falling z
};

} // namespace Instrumento
