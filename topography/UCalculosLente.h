#pragma once
// Sagittal depth and back radius of a large-diameter contact lens that clears the cornea by
// a chosen vault. Lengths in millimetres, lens sag and vault in micrometres. A chord longer
// than twice its radius, or a lens without sag, raises ErroCalculo.

#include "topography/UErroCalculo.h"

// Depth of a circle of radius raio over the chord corda: r - sqrt(r^2 - (c/2)^2).
double SagRaioCorda(double corda, double raio);
// Depth between two chords of the same circle: sag(outer) - sag(inner).
double CalculaDeltaSag(double cordaExterna, double cordaInterna, double raio);
// Back radius of a lens of diameter D (mm) and sag S (um): h = S / 1000, (h^2 + (D/2)^2) / 2h.
double RaioLente(double diametro, double sagMicrons);

// Inputs of the calculator, as typed on the measurement screen.
struct TDadosLente {
    double DiametroLente = 16;
    double CordaTopo = 0, RaioTopo = 0;
    double CordaLimbo = 15, RaioLimbo = 9.5;
    double CordaEsclera = 16, RaioEsclera = 11.5;
    double CordaIris = 0;  // visible iris chord
    double ApiceLimbo = 0; // apex-to-limbus depth measured on the lateral image
    double Vault = 200;    // um
};

// The zone sags (mm) and the lens sag (um) that a calculation gives.
struct TSagsLente {
    double SagTopo = 0, SagLimbo = 0, SagEsclera = 0;
    double SagLente = 0;
};

// Via topography: the cornea up to the mapped chord, the limbus ring up to its chord and the
// sclera up to the lens edge, plus the vault.
TSagsLente CalculaDistSagLente(const TDadosLente& dados);
// Via the measured apex-to-limbus depth: that depth, the sclera from the iris chord up to
// the lens edge, plus the vault.
TSagsLente CalculaDistSagLenteMedido(const TDadosLente& dados);
// From the three marked points: the P1-P2 sag plus 0.4 of (lens diameter - P3 chord), mm,
// plus the vault; result in um.
double CalculaDistSagLenteFST(double sagP1, double cordaP3, double diametroLente, double vault);

// Position of the lens-sag track bar for a sag: rounded (halves to even), limited to 0..10000.
int PosicaoBarraSag(double sagMicrons);
