#pragma once
// Examinations of known surfaces for the map tests: the axial power of each ring is worked
// out from the surface's own formula, rings 0.3 mm apart on the cornea.

#include "examfiles/zr_exame.h"

#include <cmath>
#include <cstring>
#include <functional>

struct ExameSintetico {
    static constexpr double kFator = 0.02;     // mm per pixel
    static constexpr double kPassoAnel = 0.3;  // mm between rings
    TMatrizAngAnel m{};
    TMatrizAngAnel d{};
    TAneisMeridiano aneis{};
    TDadosPupila pupila{};
    double centroX = 320, centroY = 240;

    // potencia(raio em mm, eixo clínico em graus) -> dioptrias axiais.
    ExameSintetico(const std::function<double(double, double)>& potencia, int numAneis = 16)
    {
        for (int k = 1; k <= ZR_MERIDIANOS; ++k) {
            // Meridian k runs at k degrees towards the image's +y (downwards): as the
            // examiner sees it, the direction 360 - k.
            const double eixo = std::fmod(360.0 - k, 360.0);
            aneis[k - 1] = numAneis;
            for (int j = 1; j <= numAneis; ++j) {
                const double r = j * kPassoAnel;
                m[k - 1][j] = r / kFator;
                d[k - 1][j] = potencia(r, eixo);
            }
            m[k - 1][0] = 0.0;
            d[k - 1][0] = d[k - 1][1]; // the centre repeats the first ring, as the instrument does
        }
    }

    static ExameSintetico Esfera(double dioptrias)
    {
        return ExameSintetico([=](double, double) { return dioptrias; });
    }
    // Regular astigmatism: flat and steep powers, clinical axis of the steep meridian.
    static ExameSintetico Torica(double kPlano, double kCurvo, double eixoCurvo)
    {
        return ExameSintetico([=](double, double eixo) {
            const double c = std::cos((eixo - eixoCurvo) * M_PI / 180.0);
            return kPlano + (kCurvo - kPlano) * c * c;
        });
    }
    // Conic of apex radius R (mm) and asphericity Q: axial radius sqrt(R^2 - Q r^2).
    static double PotenciaAxialConica(double R, double Q, double r)
    {
        return 337.5 / std::sqrt(R * R - Q * r * r);
    }
    // Its tangential power: 337.5 R^2 / (R^2 - Q r^2)^(3/2).
    static double PotenciaTangencialConica(double R, double Q, double r)
    {
        const double rs = std::sqrt(R * R - Q * r * r);
        return 337.5 * R * R / (rs * rs * rs);
    }
    static ExameSintetico Conica(double R, double Q)
    {
        return ExameSintetico([=](double r, double) { return PotenciaAxialConica(R, Q, r); });
    }
    // Keratoconus: a prolate cornea with a steep cone below the centre (clinical 270 deg).
    static ExameSintetico Ceratocone(double altura, double distancia, double largura)
    {
        return ExameSintetico([=](double r, double eixo) {
            const double a = eixo * M_PI / 180.0;
            const double u = r * std::cos(a), v = r * std::sin(a) + distancia;
            return PotenciaAxialConica(7.5, -0.3, r) +
                   altura * std::exp(-(u * u + v * v) / (2 * largura * largura));
        });
    }
};
