#pragma once
// Model corneas of the simulated instrument: the anterior surface as a sag function of the
// position seen from the camera.
//
// Coordinates, millimetres: u to the examiner's right, v up, the apex at the origin; the sag
// h(u, v) grows away from the camera (a point of the surface is (u, v, -h)). Axes are
// clinical degrees, counter-clockwise from u as the examiner sees the eye.
//
// The base surface is a biconic (two principal radii with a common asphericity Q; sphere,
// toric and conic are its special cases). Ectasias (keratoconus) are Gaussian protrusions
// towards the camera; irregular astigmatism adds coma- and trefoil-like terms.

#include <vector>

namespace Instrumento {

// Power in dioptres of an axial radius in millimetres (keratometric index 1.3375), and back.
constexpr double IndiceCeratometrico = 337.5;

// A localized protrusion (keratoconus): height in mm, centre (u, v) in mm, width (standard
// deviation of the Gaussian) in mm. Its crest steepens the surface by altura / largura^2
// (1/mm) in curvature.
struct Ectasia {
    double altura = 0.0;
    double u = 0.0;
    double v = 0.0;
    double largura = 1.0;
};

struct ModeloCornea {
    double raioPlano = 7.8;  // flatter principal radius at the apex, mm
    double raioCurvo = 7.8;  // steeper principal radius at the apex, mm
    double eixoCurvo = 90.0; // clinical axis of the steeper principal meridian, degrees
    double q = 0.0;          // asphericity (0 sphere, < 0 prolate)
    std::vector<Ectasia> ectasias;
    double coma = 0.0;       // mm^-2: coma * rho^3 * cos(theta - eixoComa)
    double eixoComa = 0.0;
    double trefoil = 0.0;    // mm^-2: trefoil * rho^3 * cos(3 (theta - eixoTrefoil))
    double eixoTrefoil = 0.0;
    double raioLimbo = 5.9;  // radius of the cornea seen from the front, mm

    static ModeloCornea Esfera(double raio);
    static ModeloCornea Torica(double raioPlano, double raioCurvo, double eixoCurvo);
    static ModeloCornea Conica(double raio, double q);
    // A cornea after orthokeratology: a conic (raio, q) whose centre the lens flattened. The
    // treatment is a Gaussian depression profundidade micrometres deep whose flattened zone
    // (where the curvature falls) is zona millimetres across; beyond it the mid-periphery
    // steepens. Its centre lies descentracao millimetres temporal of the apex of a right eye
    // (-u; Espelhada() keeps it temporal on a left eye).
    static ModeloCornea Ortoceratologia(double raio, double q, double profundidade, double zona,
                                        double descentracao);

    // Sag at (u, v); false where the surface does not exist (beyond a steep conic's rim).
    bool Sag(double u, double v, double& h) const;
    // Sag and its gradient; false where the surface does not exist.
    bool SagGradiente(double u, double v, double& h, double& hu, double& hv) const;

    // The surface's true axial power at (u, v), dioptres: 337.5 * sin(phi) / rho, phi the
    // angle between the normal and the axis, rho the distance from the axis. At the apex,
    // the mean of the principal powers. 0 where the surface does not exist.
    double PotenciaAxial(double u, double v) const;

    // The left eye's mirror image of this cornea (u -> -u).
    ModeloCornea Espelhada() const;

    // Apex powers of the principal meridians, dioptres.
    double KCurvo() const { return IndiceCeratometrico / raioCurvo; }
    double KPlano() const { return IndiceCeratometrico / raioPlano; }
};

} // namespace Instrumento
