#include "tests/support/UInstalacaoTeste.h"

#include "common/UErros.h"
#include "config/UBIniSettings.h"
#include "data/UEsquemaBD.h"
#include "common/UTextoCp1252.h"
#include "install/UEtapas.h"

#include <QFile>
#include <cstdio>

namespace {
const QString kEtapaBanco = QStringLiteral("banco de dados");

// The database step builds one pristine database per test program, through the
// installer's own code; every installation gets a copy of it.
QString BancoModelo()
{
    static QTemporaryDir pasta;
    static QString arquivo;
    if (arquivo.isEmpty() && pasta.isValid()) {
        EsquemaBD::InstalaBancoDados(pasta.path());
        arquivo = pasta.path() + QStringLiteral("/DATABASE.GDB");
    }
    return arquivo;
}
} // namespace

InstalacaoTeste::InstalacaoTeste(Etapas etapas)
{
    if (!m_pasta.isValid())
        return;
    m_pastas = Instalacao::Pastas::De(m_pasta.path() + QStringLiteral("/instalacao"));
    try {
        Instalacao::RegistraEtapasDoSistema();
        Instalacao::Instala(m_pastas.raiz, [etapas](const QString& etapa) {
            return etapa != kEtapaBanco && etapas == Etapas::Todas;
        });
        m_valida = QFile::copy(BancoModelo(), ArquivoBanco());
        if (m_valida)
            QFile::setPermissions(ArquivoBanco(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    } catch (const ErroSistema& e) {
        std::fprintf(stderr, "instalação de teste: %s\n", e.what());
    }
    TBIniSettings::DefinePastaConfiguracao(m_pastas.bin);
}

InstalacaoTeste::~InstalacaoTeste() { TBIniSettings::DefinePastaConfiguracao(QString()); }

QString InstalacaoTeste::ArquivoBanco() const
{
    return m_pastas.dados + QStringLiteral("/Banco de Dados/DATABASE.GDB");
}

bool InstalacaoTeste::AlteraChave(const QString& chave, const QString& valor) const
{
    QStringList linhas = LeArquivoTexto(ArquivoConfiguracao());
    for (int i = 0; i < linhas.size(); ++i)
        if (linhas[i].startsWith(chave + u'=', Qt::CaseInsensitive)) {
            if (valor.isNull())
                linhas.removeAt(i);
            else
                linhas[i] = chave + u'=' + valor;
            GravaArquivoTexto(ArquivoConfiguracao(), linhas);
            return true;
        }
    return false;
}

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
