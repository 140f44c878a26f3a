#pragma once
// A real image archive for the tests: Debian's Orthanc started as a child process on
// 127.0.0.1 with its own configuration, free ports and a temporary storage folder, stopped
// when the object goes (also when a test fails). Its REST interface is read with curl.

#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class OrthancTeste {
public:
    // aeArquivo: the archive's AE title; aeEstacao: the only calling AE title it accepts.
    OrthancTeste(const QString& aeArquivo, const QString& aeEstacao);
    ~OrthancTeste();

    bool Pronto() const { return m_pronto; }
    QString Erro() const { return m_erro; }
    int PortaDicom() const { return m_portaDicom; }
    int PortaHttp() const { return m_portaHttp; }
    // GET (or POST of the body when there is one) on the REST interface, parsed.
    QJsonDocument Json(const QString& caminho, const QByteArray& corpo = QByteArray()) const;
    QString UrlBase() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_portaHttp); }

    // A TCP port nobody listens on at the moment of the call.
    static int PortaLivre();

private:
    QTemporaryDir m_pasta;
    QProcess m_processo;
    int m_portaDicom = 0, m_portaHttp = 0;
    bool m_pronto = false;
    QString m_erro;
};
