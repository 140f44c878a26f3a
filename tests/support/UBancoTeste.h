#pragma once
// A fresh installation (through the installer code, so with its database built from the
// schema scripts) and a data module connected to that database.

#include "data/UDMPrincipal.h"
#include "tests/support/UInstalacaoTeste.h"

#include <memory>

class BancoTeste {
public:
    BancoTeste();
    ~BancoTeste();

    // The installation was laid out and the data module is connected.
    bool Valido() const { return m_valido; }
    QString Arquivo() const;
    TDMPrincipal& DM() { return *m_dm; }
    InstalacaoTeste& Instalacao() { return m_instalacao; }

private:
    InstalacaoTeste m_instalacao;
    std::unique_ptr<TDMPrincipal> m_dm;
    bool m_valido = false;
};
