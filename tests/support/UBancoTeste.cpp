#include "tests/support/UBancoTeste.h"

#include <cstdio>

BancoTeste::BancoTeste() : m_dm(std::make_unique<TDMPrincipal>())
{
    if (!m_instalacao.Valida())
        return;
    m_valido = m_dm->PSetDataBaseName(Arquivo());
    if (!m_valido)
        std::fprintf(stderr, "banco de teste: sem conexão com %s\n", qPrintable(Arquivo()));
}

BancoTeste::~BancoTeste() { m_dm.reset(); }

QString BancoTeste::Arquivo() const
{
    return m_instalacao.Pastas().dados + QStringLiteral("/Banco de Dados/DATABASE.GDB");
}
