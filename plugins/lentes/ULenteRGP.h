#pragma once
// The fit of a rigid gas-permeable lens on the cornea of one examination (no widgets): the
// lens back surface (spherical optic zone and a tricurve periphery), the lens settled along
// the axis until it first touches the cornea, the tear film under it and the fluorescein
// intensity that film shows.
//
// Angles: meridian index m = 0..359 is the examination's meridian m + 1, which runs m + 1
// degrees from the image's +x towards its +y (downwards); its clinical axis, as the examiner
// sees the eye, is 360 - (m + 1). Lengths in mm, films in micrometres.

#include "topography/UConfereExame.h"

#include <QString>
#include <QStringList>

#include <vector>

struct ParametrosLente {
    double diametro = 9.6;          // mm
    double raioBase = 7.80;         // back optic zone radius, mm
    double zonaOptica = 8.0;        // optic zone diameter, mm
    double raioSecundario = 8.60;   // first peripheral curve, mm
    double larguraSecundaria = 0.4; // its width, mm
    double raioPeriferico = 10.30;  // outer peripheral curve, mm (to the edge)
};

// The fields of the lens, in the window's order.
enum class CampoLente { Diametro, RaioBase, ZonaOptica, RaioSecundario, LarguraSecundaria, RaioPeriferico };

struct FaixaCampo {
    double minimo, maximo, passo; // passo 0: any value
    const char* nome;
};
FaixaCampo Faixa(CampoLente campo);
double ValorCampo(const ParametrosLente& p, CampoLente campo);

// Puts valor in the field when it is allowed there with the other values of p; otherwise
// leaves p as it was and says why, with the allowed range.
bool DefineCampo(ParametrosLente& p, CampoLente campo, double valor, QString& erro);

// Lens back surface depth at r (mm below its apex plane), a flattening tricurve; NaN beyond
// the edge.
double ProfundidadeLente(const ParametrosLente& p, double r);

// Fluorescein brightness 0..1 of a film t um thick: dark below about 10 um (touch), rising
// with the thickness and saturating near 20 um.
double IntensidadeFluoresceina(double t);

struct ResultadoLente {
    ParametrosLente lente;
    double passo = 0.05;           // mm between radial samples
    int amostras = 0;              // samples per meridian (0 .. the edge)
    std::vector<float> lagrima;    // [m * amostras + i] film in um at r = i * passo; NaN: no cornea
    double folgaApical = 0;        // film at the centre
    double toqueMedioPeriferico = 0; // thinnest film in the mid-periphery (0.6..1.0 of the optic zone radius)
    double folgaBorda = 0;         // mean film at the edge
    int eixoToque = 0;             // clinical axis (0..179) of the thinnest film across the optic zone
    QString ajuste;                // "alinhada", "apertada" or "plana"
    bool valido = false;

    float Lagrima(int m, int i) const { return lagrima[size_t(m) * amostras + i]; }
    // Film at r mm on meridian m (linear between samples); NaN where there is none.
    double LagrimaEm(int m, double r) const;
};

class AdaptacaoLente {
public:
    static constexpr double kPasso = 0.05;
    static constexpr double kRaioMaximo = 5.75; // half the largest lens

    explicit AdaptacaoLente(const TExameConferido& exame);

    bool TemDados() const { return m_temDados; }
    // Simulated keratometry radii (mean axial radius within 1.5 mm) and the clinical axis of
    // the flat meridian.
    double RaioPlano() const { return m_raioPlano; }
    double RaioCurvo() const { return m_raioCurvo; }
    int EixoPlano() const { return m_eixoPlano; }
    int MeridianoPlano() const { return m_meridianoPlano; } // index m of the flat meridian
    int MeridianoCurvo() const { return (m_meridianoPlano + 90) % 360; }
    // The last measured distance of each meridian (where the data end and the conic goes on).
    const std::vector<double>& BordaDados() const { return m_borda; }

    // The first lens: optic zone radius on flat K (0.05 steps), 9.6 mm across, 8 mm optic zone.
    ParametrosLente LenteSugerida() const;
    ResultadoLente Calcula(const ParametrosLente& p) const;

    // Clinical axis of meridian index m.
    static int EixoClinico(int m) { return (360 - (m + 1) % 360) % 180; }

private:
    int m_amostras = 0;
    std::vector<float> m_altura; // [m * m_amostras + i] corneal sag, mm; NaN where unknown
    std::vector<double> m_borda;
    bool m_temDados = false;
    double m_raioPlano = 0, m_raioCurvo = 0;
    int m_eixoPlano = 0, m_meridianoPlano = 0;
};

// What the window shows as text (also written in batch mode).
QStringList ResumoLente(const AdaptacaoLente& a, const ResultadoLente& r, const QStringList& notas);
