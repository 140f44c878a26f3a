#include "tests/support/UInstalacaoTeste.h"

#include "common/UErros.h"
#include "config/UBIniSettings.h"
#include "install/UEtapas.h"

#include <cstdio>

InstalacaoTeste::InstalacaoTeste()
{
    if (!m_pasta.isValid())
        return;
    m_pastas = Instalacao::Pastas::De(m_pasta.path() + QStringLiteral("/instalacao"));
    try {
        Instalacao::RegistraEtapasDoSistema();
        Instalacao::Instala(m_pastas.raiz);
        m_valida = true;
    } catch (const ErroSistema& e) {
        std::fprintf(stderr, "instalação de teste: %s\n", e.what());
    }
    TBIniSettings::DefinePastaConfiguracao(m_pastas.bin);
}

InstalacaoTeste::~InstalacaoTeste() { TBIniSettings::DefinePastaConfiguracao(QString()); }

UsuarioTeste::UsuarioTeste()
    : m_anterior(qgetenv("XDG_CONFIG_HOME")), m_tinha(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
{
    qputenv("XDG_CONFIG_HOME", m_pasta.path().toLocal8Bit());
}

UsuarioTeste::~UsuarioTeste()
{
    if (m_tinha)
        qputenv("XDG_CONFIG_HOME", m_anterior);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
