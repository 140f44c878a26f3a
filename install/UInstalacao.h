#pragma once
// Lays out or updates an installation:
//
//   <raiz>/bin/           the program, ZR300.ini beside it, ajuda/
//   <raiz>/modulos/       capture, processing, backup and ortho-k modules
//   <raiz>/mapas/         map modules with their button pictures
//   <raiz>/dados/         Exames/ Laudos/ Exemplos/ "Banco de Dados"/ Calibração/ imgs/
//
// The program tests build the same layout in a temporary folder through this code.
// An existing settings file is kept as it is (the clinic's options live there).

#include <QString>
#include <QStringList>
#include <functional>

namespace Instalacao {

struct Pastas {
    QString raiz, bin, modulos, mapas, dados;
    static Pastas De(const QString& raiz);
    QString ArquivoConfiguracao() const { return bin + QStringLiteral("/ZR300.ini"); }
};

// The settings file text for an installation at these folders.
QString TextoConfiguracao(const Pastas& pastas);

// A step of the installation after the folders and the settings file exist (the database,
// the examples, the calibration files...). Each folder that has one registers it once.
using Etapa = std::function<void(const Pastas&, QStringList& relatorio)>;
void RegistraEtapa(const QString& nome, Etapa etapa);

// Creates the folders and the settings file, then runs the registered steps in the order
// they were registered (only those `incluiEtapa` accepts, when given). Returns what was
// done, one line each. Raises ErroES on failure.
QStringList Instala(const QString& raiz,
                    const std::function<bool(const QString& etapa)>& incluiEtapa = {});

} // namespace Instalacao
