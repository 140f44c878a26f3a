#pragma once
// Colour scales of the curvature maps. A scale is a run of levels of equal step; each level
// has one colour and covers the dioptres within half a step of its value. Cool colours
// (blue) stand for flat curvature, warm colours (red) for steep curvature.
//
//   - the absolute scale: fixed levels 28.0, 29.5, ... 65.5 D (1.5 D apart), the same for
//     every examination, so that maps of different eyes and visits compare at a glance;
//   - the normalised scale: levels fitted to the range of one examination, with a given
//     step or an automatic one.

#include <QColor>
#include <QList>
#include <QString>

class EscalaCores {
public:
    // The absolute scale.
    static EscalaCores Absoluta();
    // Levels from the multiple of passo at or below minimo up to the one at or above maximo
    // (at least two levels). passo <= 0 or not finite takes the automatic step.
    static EscalaCores Normalizada(double minimo, double maximo, double passo);
    // The step that shows the range in at most 15 levels, taken from 0.25, 0.5, 0.75, 1,
    // 1.5, 2, 2.5, 3, 4, 5 and 10 D (the smallest that suffices).
    static double PassoAutomatico(double minimo, double maximo);
    // The scale of a map from the options: absolute when escalaIso, otherwise normalised to
    // [minimo, maximo] with the fixed step incMap when passoFixo, else the automatic step.
    static EscalaCores DasOpcoes(bool escalaIso, bool passoFixo, double incMap,
                                 double minimo, double maximo);

    int Niveis() const { return int(m_cores.size()); }
    double Passo() const { return m_passo; }
    bool Absoluta_() const { return m_absoluta; }
    // Dioptres of level k (0 = flattest).
    double ValorNivel(int k) const { return m_base + k * m_passo; }
    QColor CorNivel(int k) const { return m_cores.at(k); }
    // Level of a value: the nearest level, clamped to the ends of the scale. -1 for NaN.
    int Nivel(double dioptrias) const;
    // Colour of a value (transparent for NaN).
    QColor Cor(double dioptrias) const;
    // The level whose colour is exactly c, or -1.
    int NivelDaCor(QColor c) const;
    // Legend text of level k ("43.0", "43.25").
    QString TextoNivel(int k) const;

private:
    EscalaCores() = default;
    double m_base = 0.0;
    double m_passo = 1.0;
    bool m_absoluta = false;
    QList<QColor> m_cores;
};

// The colour named in the options for point keratometry ("Amarela", "Azul", "Branca",
// "Preta", "Vermelha"); any other name is black.
QColor CorPorNome(const QString& nome);
