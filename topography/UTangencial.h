#pragma once
// The tangential (instantaneous) power of a meridian from its axial powers. The Tangencial
// map module draws it and the findings text of a report quotes it, so both use these
// routines.

#include "examfiles/zr_exame.h"

// With p(r) = r D(r), the tangential power is dp/dr = D + r dD/dr. The derivative at each
// ring is that of the parabola through the ring and its neighbours. posicoes, axial and
// tangencial hold columns 0..n of one meridian; column 0 (the centre) keeps its axial value.
void TangencialDoAxial(const double* posicoes, const double* axial, int n, double* tangencial);

// Rings of meridian i (0..359) that hold a tangential value. The derivative at a ring needs
// the next ring out; where that ring was not measured - at the edge of a gap the lids leave
// - the last ring borders unmeasured ground, and near a lid margin the ring is partly
// hidden, so its position (and the derivative through it) is off for a few degrees round.
// A ring therefore holds a value only when the next ring was measured on every meridian
// within kVizinhancaTangencial degrees (meridians without any data left out). The
// outermost ring of the examination (the largest count of any meridian) has no next ring
// at all: it keeps its value, taken one-sided, where the meridians round it reach it too.
constexpr int kVizinhancaTangencial = 4;
int AneisComTangencial(const TAneisMeridiano& aneis, int i);

// The tangential power of every meridian (TangencialDoAxial over all its rings), kept on
// the rings of AneisComTangencial, whose counts go to aneisTangencial; the columns beyond
// a meridian's count are zero. Counts must lie within 0..32.
void TangencialDasMatrizes(const TMatrizAngAnel& posicoes, const TMatrizAngAnel& axial,
                           const TAneisMeridiano& aneis, TMatrizAngAnel& tangencial,
                           TAneisMeridiano& aneisTangencial);
