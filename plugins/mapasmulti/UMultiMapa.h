#pragma once
// What the multi-map modules (MultiMapas, Duplo, Diferencial, MultiOrto) share besides their
// windows: the wizard's candidate lines and selection rules, the options they hand to
// "ProcessaMapas", the value grids of the views (axial, tangential, elevation relative to the
// best-fit sphere, refractive power, difference of two examinations), the steepest point of
// a map and the treatment zone of an ortho-k map.

#include "examfiles/zr_exame.h"
#include "plugins/mapas/UMapaCurvatura.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace MultiMapa {

enum class Modulo { MultiMapas, Duplo, Diferencial, MultiOrto };
enum class Vista { Axial, Tangencial, Elevacao, Refrativa };

// The module's name as file and window title, and the most examinations it shows.
QString NomeModulo(Modulo m);
int MaximoExames(Modulo m);
QString NomeVista(Vista v);

// One line of the wizard's candidate list: "Olho Direito - 12/01/2001 10:00:00", preceded by
// "O" or "T" for the modules that carry the type.
struct Candidato {
    QString linha;   // without the type letter: the form handed back as selection
    QChar tipo;      // 'O', 'T', or null
    bool direito = true;
    QDateTime quando; // invalid when the date cannot be read
};
std::optional<Candidato> LeCandidato(const QString& linha, bool comTipo);
// The lines the wizard offers: unreadable lines are dropped, "MultiOrto" keeps only "O", and
// "Diferencial" outside the ortho-k edition drops "O".
QList<Candidato> Oferecidos(Modulo m, const QStringList& linhas, bool edicaoOrto);
// Empty when the choice suits the module, else the message for the user.
QString ConfereEscolha(Modulo m, const QList<Candidato>& escolhidos);
// The choice of the batch mode without ZR_MODULOS_SELECAO: the latest that suit the module
// (indices into the offered list, in date order).
QList<int> EscolhaPadrao(Modulo m, const QList<Candidato>& oferecidos);
// Indices (0-based) from "1,3" (1-based); nullopt when malformed or out of range.
std::optional<QList<int>> LeSelecao(const QString& texto, int total);

// The options the wizard writes as "chave=valor" lines.
struct Opcoes {
    Vista vista = Vista::Axial;        // the view of the panels (MultiMapas 3-4, Diferencial)
    Vista vista2 = Vista::Tangencial;  // second view of each examination (MultiMapas 2)
    bool escalaAbsoluta = true;        // absolute 1.5 D, or normalised over all panels
    bool diferenca = false;            // MultiOrto: each map minus the first
    QString tipos;                     // Diferencial: "O"/"T" of the chosen, in their order
    bool edicaoOrto = false;           // Diferencial: the wizard ran in the ortho-k edition
};
QStringList GravaOpcoes(const Opcoes& o);
Opcoes LeOpcoes(const QStringList& linhas);

// Values over the cornea on a polar grid: 360 meridians (meridian k at k degrees from +x
// towards +y, y downwards) by radial points kPasso mm apart up to kRaioMaximo.
class GradeValores {
public:
    static constexpr double kPasso = 0.05;
    static constexpr double kRaioMaximo = 6.0;
    static constexpr int kPontos = int(kRaioMaximo / kPasso) + 1;

    GradeValores();
    // valor(meridiano 1..360, raio mm): NaN where there is nothing.
    static GradeValores DeFuncao(const std::function<double(int, double)>& valor);
    static GradeValores DeMapa(const MapaCurvatura& mapa);
    // The value at (x, y) mm, interpolated; NaN outside the data.
    double Valor(double xMm, double yMm) const;
    double Celula(int meridiano, int ponto) const { return m_v[size_t((meridiano - 1) * kPontos + ponto)]; }
    double Minimo() const { return m_min; }
    double Maximo() const { return m_max; }
    bool TemDados() const { return std::isfinite(m_min); }
    double RaioDados() const { return m_raio; }
    // Smallest and largest value within raio mm of the centre (NaN without data).
    void Extremos(double raio, double& minimo, double& maximo) const;
    // Mean within raio mm of the centre, each cell weighted by the area it covers (NaN
    // without data there).
    double Media(double raio) const;
    // a - b point by point (NaN where either lacks data).
    static GradeValores Diferenca(const GradeValores& a, const GradeValores& b);

private:
    void Limites();
    std::vector<float> m_v;
    double m_min, m_max, m_raio = 0;
};

// Elevation of the surface above the sphere that fits it best within 4 mm of the centre,
// micrometres; the radius of that sphere in raioEsfera.
GradeValores Elevacao(const TMatrizAngAnel& posicoes, const TMatrizAngAnel& dioptrias,
                      const TAneisMeridiano& aneis, double fator, double* raioEsfera = nullptr);
// Refractive power (Snell's law through the surface, n = 1.3375), dioptres.
GradeValores Refrativa(const MapaCurvatura& axial, const TMatrizAngAnel& posicoes,
                       const TMatrizAngAnel& dioptrias, const TAneisMeridiano& aneis,
                       double fator);

// A point of the cornea: distance from the centre (mm) and clinical angle (degrees, 0..359,
// counter-clockwise from the examiner's right).
struct Ponto {
    double valor = 0, raio = 0, angulo = 0, x = 0, y = 0;
};
double AnguloClinico(double xMm, double yMm);
// The largest value within raioMaximo mm (the central 6 mm by default); nullopt without data.
std::optional<Ponto> Maximo(const GradeValores& g, double raioMaximo = 3.0);

// The treatment zone of an ortho-k map: the circle through the steep ring (the largest value
// of each meridian between 1 and 3.75 mm), its diameter and the decentration of its centre.
struct ZonaTratamento {
    double diametro = 0;      // mm
    double x = 0, y = 0;      // centre, mm (y downwards)
    double descentracao = 0;  // mm
    double angulo = 0;        // clinical direction of the decentration, degrees
    double pico = 0;          // mean value on the ring
};
std::optional<ZonaTratamento> ZonaDeTratamento(const GradeValores& g);

// "12.34" for finite values; "—" for NaN, zero and 99.9999 (the examples' placeholder).
QString TextoValorOrto(double v, int casas);

} // namespace MultiMapa
