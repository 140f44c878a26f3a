#include "modules/USondaModulo.h"

#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "modules/UModulos.h"
#include "platform/URegistro.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace SondaModulo {

namespace {

constexpr char kMarcaBoa[] = "sonda-concluida";
const QString kChave = QStringLiteral("\\Software\\Korvane\\SondaMapas");

QString& Programa()
{
    static QString programa;
    return programa;
}

int& Contador()
{
    static int n = 0;
    return n;
}

// What identifies the content of a file: size, modification time and a hash of the bytes.
QString Impressao(const QString& arquivo)
{
    const QFileInfo info(arquivo);
    QFile f(arquivo);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&f);
    return QStringLiteral("%1;%2;%3")
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(QString::fromLatin1(hash.result().toHex()));
}

// Registry value names cannot hold path separators: the name is a hash of the full path.
QString NomeValor(const QString& arquivo)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QFileInfo(arquivo).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Md5)
            .toHex());
}

struct Sonda {
    QString arquivo;
    std::unique_ptr<QProcess> processo;
    QDeadlineTimer prazo;
};

// Processor time the process has used, in milliseconds (-1 when unknown). A module that
// loops forever uses it up; a machine that is merely busy delays the probe without it.
qint64 TempoProcessador(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray linha = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> campos = linha.mid(linha.lastIndexOf(')') + 2).split(' ');
    if (campos.size() < 13)
        return -1;
    const qint64 tiques = campos[11].toLongLong() + campos[12].toLongLong(); // utime, stime
    const long porSegundo = ::sysconf(_SC_CLK_TCK);
    return porSegundo > 0 ? tiques * 1000 / porSegundo : -1;
}

Veredito Conclui(Sonda& s)
{
    QProcess& p = *s.processo;
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(2000);
        return Veredito::Falhou;
    }
    const bool voltou = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0
        && p.readAllStandardOutput().contains(kMarcaBoa);
    return voltou ? Veredito::Bom : Veredito::Falhou;
}

} // namespace

int Executa(const QString& arquivo)
{
    QStringList linhas;
    LeInfoModulo(arquivo, InfoDeMapa, linhas);
    std::printf("%s\n", kMarcaBoa);
    std::fflush(stdout);
    return 0;
}

void DefinePrograma(const QString& programa) { Programa() = programa; }

int SondasExecutadas() { return Contador(); }

QHash<QString, Veredito> Vereditos(const QStringList& arquivos)
{
    QHash<QString, Veredito> vereditos;
    TRegistro registro;
    bool registroAberto = false;
    try {
        registroAberto = registro.AbreChave(kChave, true);
    } catch (const ErroSistema&) {
    }

    // Known files first: the same content keeps its verdict.
    QStringList aSondar;
    QHash<QString, QString> impressoes;
    for (const QString& arquivo : arquivos) {
        const QString impressao = Impressao(arquivo);
        impressoes.insert(arquivo, impressao);
        const QString guardado = registroAberto ? registro.LeTexto(NomeValor(arquivo)) : QString();
        if (!impressao.isEmpty() && guardado.startsWith(impressao + u';')) {
            vereditos.insert(arquivo, guardado.endsWith(QStringLiteral(";bom")) ? Veredito::Bom
                                                                                : Veredito::Falhou);
            continue;
        }
        aSondar << arquivo;
    }
    if (aSondar.isEmpty())
        return vereditos;

    const QString programa = Programa().isEmpty() && QCoreApplication::instance()
        ? QCoreApplication::applicationFilePath()
        : Programa();
    if (programa.isEmpty() || !QFileInfo(programa).isExecutable()) {
        for (const QString& arquivo : aSondar)
            vereditos.insert(arquivo, Veredito::Bom);
        return vereditos;
    }

    // Two probes at a time; each has its own time limit from its start.
    constexpr int kSimultaneas = 2;
    std::vector<Sonda> ativas;
    qsizetype proxima = 0;
    auto guarda = [&](const QString& arquivo, Veredito v) {
        vereditos.insert(arquivo, v);
        if (registroAberto && !impressoes.value(arquivo).isEmpty()) {
            try {
                registro.EscreveTexto(NomeValor(arquivo),
                                      impressoes.value(arquivo)
                                          + (v == Veredito::Bom ? QStringLiteral(";bom")
                                                                : QStringLiteral(";falhou")));
            } catch (const ErroSistema&) {
                // Not remembered: probed again next time.
            }
        }
    };
    while (proxima < aSondar.size() || !ativas.empty()) {
        while (ativas.size() < size_t(kSimultaneas) && proxima < aSondar.size()) {
            Sonda s;
            s.arquivo = aSondar[proxima++];
            s.processo = std::make_unique<QProcess>();
            QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
            ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            s.processo->setProcessEnvironment(ambiente);
            s.processo->setStandardErrorFile(QProcess::nullDevice());
            s.processo->start(programa, {QString::fromLatin1(kOpcao), s.arquivo});
            s.prazo = QDeadlineTimer(kLimiteRelogioMs);
            ++Contador();
            ativas.push_back(std::move(s));
        }
        // A probe ends by itself, or when it has used its processor time, or (a module that
        // waits for something that never comes) when its much longer wall-clock time is up.
        // Each probe is looked at: one that ended beside a slower one must not be taken as
        // still running until its wall-clock time is up.
        ativas.front().processo->waitForFinished(50);
        for (size_t i = 0; i < ativas.size();) {
            Sonda& s = ativas[i];
            if (i > 0)
                s.processo->waitForFinished(0);
            if (s.processo->state() == QProcess::NotRunning || s.prazo.hasExpired()
                || TempoProcessador(s.processo->processId()) > kLimiteMs) {
                guarda(s.arquivo, Conclui(s));
                ativas.erase(ativas.begin() + qsizetype(i));
            } else {
                ++i;
            }
        }
    }
    return vereditos;
}

} // namespace SondaModulo

void RegistraRecusaModulo(const QString& pasta, const QString& arquivo, const QString& motivo)
{
    QFile log(QDir(pasta).filePath(QStringLiteral("LogModulos.txt")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString linha = QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
        + QStringLiteral("  ") + QFileInfo(arquivo).fileName() + QStringLiteral(": ") + motivo
        + QStringLiteral("\r\n");
    log.write(ParaCp1252(linha));
}
