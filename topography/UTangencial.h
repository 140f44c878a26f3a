#pragma once
// The tangential (instantaneous) power of a meridian from its axial powers. The Tangencial
// map module draws it and the findings text of a report quotes it, so both use this one
// routine.

// With p(r) = r D(r), the tangential power is dp/dr = D + r dD/dr. The derivative at each
// ring is that of the parabola through the ring and its neighbours. posicoes, axial and
// tangencial hold columns 0..n of one meridian; column 0 (the centre) keeps its axial value.
void TangencialDoAxial(const double* posicoes, const double* axial, int n, double* tangencial);
