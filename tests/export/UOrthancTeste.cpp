#include "tests/export/UOrthancTeste.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonObject>
#include <QTcpServer>
#include <QThread>

int OrthancTeste::PortaLivre()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

OrthancTeste::OrthancTeste(const QString& aeArquivo, const QString& aeEstacao)
{
    m_portaDicom = PortaLivre();
    m_portaHttp = PortaLivre();
    while (m_portaHttp == m_portaDicom)
        m_portaHttp = PortaLivre();
    const QString dados = m_pasta.filePath(QStringLiteral("dados"));
    const QJsonObject cfg{
        {QStringLiteral("Name"), QStringLiteral("ZRTESTE")},
        {QStringLiteral("StorageDirectory"), dados},
        {QStringLiteral("IndexDirectory"), dados},
        {QStringLiteral("DicomAet"), aeArquivo},
        {QStringLiteral("DicomPort"), m_portaDicom},
        {QStringLiteral("HttpPort"), m_portaHttp},
        {QStringLiteral("RemoteAccessAllowed"), false},
        {QStringLiteral("AuthenticationEnabled"), false},
        {QStringLiteral("DicomAlwaysAllowEcho"), false},
        {QStringLiteral("DicomAlwaysAllowStore"), false},
        {QStringLiteral("DicomCheckModalityHost"), false},
        {QStringLiteral("DicomModalities"),
         QJsonObject{{QStringLiteral("estacao"), QJsonArray{aeEstacao, QStringLiteral("127.0.0.1"), 104}}}},
        {QStringLiteral("Plugins"), QJsonArray{}},
        {QStringLiteral("SaveJobs"), false},
    };
    const QString arquivo = m_pasta.filePath(QStringLiteral("orthanc.json"));
    QFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(cfg).toJson()) <= 0) {
        m_erro = QStringLiteral("configuração não gravada");
        return;
    }
    f.close();
    m_processo.setProcessChannelMode(QProcess::MergedChannels);
    m_processo.setStandardOutputFile(m_pasta.filePath(QStringLiteral("orthanc.log")));
    m_processo.start(QStringLiteral("Orthanc"), {arquivo});
    if (!m_processo.waitForStarted(5000)) {
        m_erro = QStringLiteral("Orthanc não iniciou: ") + m_processo.errorString();
        return;
    }
    const QDeadlineTimer prazo(30000);
    while (!prazo.hasExpired() && m_processo.state() == QProcess::Running) {
        if (Json(QStringLiteral("/system")).object().contains(QStringLiteral("Version"))) {
            m_pronto = true;
            return;
        }
        QThread::msleep(100);
    }
    QFile log(m_pasta.filePath(QStringLiteral("orthanc.log")));
    log.open(QIODevice::ReadOnly);
    m_erro = QStringLiteral("Orthanc não respondeu: ") + QString::fromUtf8(log.readAll().right(2000));
}

OrthancTeste::~OrthancTeste()
{
    if (m_processo.state() == QProcess::NotRunning)
        return;
    m_processo.terminate();
    if (!m_processo.waitForFinished(10000)) {
        m_processo.kill();
        m_processo.waitForFinished(5000);
    }
}

QJsonDocument OrthancTeste::Json(const QString& caminho, const QByteArray& corpo) const
{
    QProcess curl;
    QStringList args{QStringLiteral("-s"), QStringLiteral("--max-time"), QStringLiteral("10"), UrlBase() + caminho};
    if (!corpo.isEmpty())
        args << QStringLiteral("--data-binary") << QString::fromLatin1(corpo);
    curl.start(QStringLiteral("curl"), args);
    if (!curl.waitForFinished(15000))
        return {};
    return QJsonDocument::fromJson(curl.readAllStandardOutput());
}
