#include "tests/support/UServidorTeste.h"

#include "data/UEsquemaBD.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kPrograma = QStringLiteral("/usr/sbin/firebird");
// The package's root folder (/usr/lib/<architecture>/firebird/3.0).
QString RaizPacote()
{
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString& arq : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString raiz = lib.filePath(arq + QStringLiteral("/firebird/3.0"));
        if (QFileInfo::exists(raiz + QStringLiteral("/firebird.msg")))
            return raiz;
    }
    return {};
}
const QString kScriptSeguranca = QStringLiteral("/usr/share/firebird/3.0/security.sql");

// A port of 127.0.0.1 nobody listens on now.
int PortaLivre()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    int porta = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0)
        porta = ntohs(a.sin_port);
    ::close(s);
    return porta;
}

bool Atende(int porta)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

} // namespace

ServidorTeste::ServidorTeste(const QString& senhaSysdba) : m_senha(senhaSysdba) {}

ServidorTeste::~ServidorTeste() { Para(); }

bool ServidorTeste::Instalado()
{
    return QFileInfo(kPrograma).isExecutable() && QFileInfo::exists(kScriptSeguranca) && !RaizPacote().isEmpty();
}

QString ServidorTeste::NomeRemoto(const QString& arquivo, const QString& host) const
{
    return QStringLiteral("%1/%2:%3").arg(host).arg(m_porta).arg(arquivo);
}

bool ServidorTeste::PreparaPasta()
{
    if (m_preparada)
        return true;
    if (!m_pasta.isValid() || !Instalado()) {
        m_erro = QStringLiteral("o servidor Firebird (pacote firebird3.0-server) não está instalado");
        return false;
    }
    m_porta = PortaLivre();
    const QString raiz = m_pasta.path();
    QDir().mkpath(raiz + QStringLiteral("/trava"));
    QDir().mkpath(raiz + QStringLiteral("/tmp"));
    QFile conf(raiz + QStringLiteral("/firebird.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return false;
    conf.write(QStringLiteral("RemoteServicePort = %1\nRemoteBindAddress = 127.0.0.1\n"
                              "SecurityDatabase = %2/security3.fdb\nUdfAccess = None\n")
                   .arg(m_porta)
                   .arg(raiz)
                   .toUtf8());
    conf.close();
    // Everything else of the package's root folder (messages, character sets, plugins) is
    // the package's own.
    // The character sets' module is copied: the engine does not take it through a link.
    const QDir pacote(RaizPacote());
    for (const QString& nome : pacote.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (nome != QLatin1String("firebird.conf") && nome != QLatin1String("databases.conf")
            && nome != QLatin1String("intl"))
            QFile::link(pacote.filePath(nome), raiz + u'/' + nome);
    QDir().mkpath(raiz + QStringLiteral("/intl"));
    const QDir intl(pacote.filePath(QStringLiteral("intl")));
    for (const QString& nome : intl.entryList(QDir::Files))
        QFile::copy(intl.filePath(nome), raiz + QStringLiteral("/intl/") + nome);
    QFile(raiz + QStringLiteral("/databases.conf")).open(QIODevice::WriteOnly);

    // The security database: created and filled by the embedded engine under this
    // folder's configuration, as the package does for its own.
    const QString seguranca = raiz + QStringLiteral("/security3.fdb");
    const auto isql = [&](const QStringList& args, const QByteArray& entrada) {
        QProcess p;
        p.setProcessEnvironment(m_processo.processEnvironment());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("isql-fb"), args);
        p.write(entrada);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        const QByteArray saida = p.readAll();
        if (p.exitCode() != 0 || saida.contains("Statement failed")) {
            m_erro = QStringLiteral("isql-fb: ") + QString::fromLocal8Bit(saida);
            return false;
        }
        return true;
    };
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert(QStringLiteral("FIREBIRD"), raiz);
    amb.insert(QStringLiteral("FIREBIRD_LOCK"), raiz + QStringLiteral("/trava"));
    amb.insert(QStringLiteral("FIREBIRD_TMP"), raiz + QStringLiteral("/tmp"));
    amb.remove(QStringLiteral("ISC_USER"));
    amb.remove(QStringLiteral("ISC_PASSWORD"));
    m_processo.setProcessEnvironment(amb);
    QString senha = m_senha;
    senha.replace(u'\'', QStringLiteral("''"));
    if (!isql({QStringLiteral("-q")}, "create database '" + seguranca.toUtf8() + "';\n")
        || !isql({QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-i"),
                  kScriptSeguranca, seguranca},
                 {})
        || !isql({QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), seguranca},
                 "create or alter user SYSDBA password '" + senha.toUtf8() + "';\ncommit;\n"))
        return false;
    m_preparada = true;
    return true;
}

bool ServidorTeste::Inicia()
{
    if (Ativo())
        return true;
    if (!PreparaPasta())
        return false;
    m_processo.setProcessChannelMode(QProcess::MergedChannels);
    m_processo.setWorkingDirectory(m_pasta.path());
    // The server goes with the test process, however that ends.
    m_processo.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_processo.start(kPrograma, {});
    if (!m_processo.waitForStarted(10000)) {
        m_erro = QStringLiteral("o servidor não partiu: ") + m_processo.errorString();
        return false;
    }
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000) {
        if (Atende(m_porta))
            return true;
        if (m_processo.state() != QProcess::Running)
            break;
        QThread::msleep(50);
    }
    m_erro = QStringLiteral("o servidor não atendeu na porta %1: %2")
                 .arg(m_porta)
                 .arg(QString::fromLocal8Bit(m_processo.readAll()));
    Para();
    return false;
}

void ServidorTeste::Para()
{
    if (m_processo.state() == QProcess::NotRunning)
        return;
    m_processo.terminate();
    if (!m_processo.waitForFinished(10000)) {
        m_processo.kill();
        m_processo.waitForFinished(5000);
    }
}

QString ServidorTeste::CriaBancoSistema(const QString& nome)
{
    const QString arquivo = m_pasta.path() + u'/' + nome;
    EsquemaBD::CriaBancoDados(arquivo);
    return arquivo;
}
