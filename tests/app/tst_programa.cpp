// The whole program as a child process (offscreen, messages on its error output): a bad
// settings file ends it with its message and exit code 1 or lets it go on with the fallback,
// never an abort; a stop signal closes it as "Sair" does, with exit code 0.

#include "platform/URegistro.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <csignal>
#include <memory>

namespace {

// Runs the installed program until it ends by itself or its start-up completes; then, if it
// is still running, sends it SIGTERM. Returns its error output.
QString Executa(const InstalacaoTeste& inst, int& codigo, bool& iniciou, int& sinal)
{
    const QString programa = inst.Pastas().bin + QStringLiteral("/korvane");
    QFile::remove(programa);
    if (!QFile::copy(QStringLiteral(ARQ_PROGRAMA), programa))
        return QStringLiteral("<não copiado>");
    QProcess filho;
    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    amb.insert(QStringLiteral("ZR_MENSAGENS_AUTOMATICO"), QStringLiteral("1"));
    filho.setProcessEnvironment(amb);
    filho.start(programa, {});
    QString saida;
    iniciou = false;
    // A program that neither completes its start-up nor ends is stopped after a minute.
    const QDeadlineTimer prazo(60000);
    while (filho.state() != QProcess::NotRunning && !iniciou && !prazo.hasExpired()) {
        filho.waitForReadyRead(200);
        saida += QString::fromUtf8(filho.readAllStandardError());
        iniciou = saida.contains(QStringLiteral("Partida concluída."));
    }
    if (filho.state() == QProcess::Running)
        ::kill(pid_t(filho.processId()), SIGTERM);
    if (!filho.waitForFinished(60000))
        filho.kill();
    saida += QString::fromUtf8(filho.readAllStandardError());
    sinal = filho.exitStatus() == QProcess::CrashExit ? filho.exitCode() : 0;
    codigo = filho.exitStatus() == QProcess::NormalExit ? filho.exitCode() : -1;
    return saida;
}

QByteArray Conteudo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Grava(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestePrograma : public QObject {
    Q_OBJECT
private slots:
    void configuracaoRuim_data();
    void configuracaoRuim();
};

void TestePrograma::configuracaoRuim_data()
{
    QTest::addColumn<QString>("caso"); // how the settings file is spoiled
    QTest::addColumn<int>("codigo");   // 0: the program started and was stopped by SIGTERM
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("válido") << "" << 0 << "";
    QTest::newRow("vazio") << "vazio" << 1 << "o valor [CAMERA] BRILHO.";
    QTest::newRow("bytes aleatórios") << "aleatorio" << 1 << "o valor [CAMERA] BRILHO.";
    QTest::newRow("UTF-16") << "utf16" << 1 << "o valor [CAMERA] BRILHO.";
    QTest::newRow("sem a seção ZR") << "[ZR]=[OUTRA]" << 1 << "o valor [ZR] FatorCorrecao.";
    QTest::newRow("[ZR sem fechar") << "[ZR]=[ZR" << 1 << "o valor [ZR] FatorCorrecao.";
    QTest::newRow("BRILHO=muito") << "BRILHO=muito" << 1 << "[CAMERA] BRILHO = 'muito'";
    QTest::newRow("FatorCorrecao=abc") << "FatorCorrecao=abc" << 1 << "[ZR] FatorCorrecao = 'abc'";
    QTest::newRow("FatorCorrecao=0,02") << "FatorCorrecao=0,02" << 1 << "[ZR] FatorCorrecao = '0,02'";
    QTest::newRow("INDICECONF=alto") << "INDICECONF=alto" << 1 << "[OPCOES] INDICECONF = 'alto'";
    QTest::newRow("AUTO_OP1_1=x") << "AUTO_OP1_1=x" << 1 << "[BACKUP] AUTO_OP1_1 = 'x'";
    QTest::newRow("QualidadeImagem=boa (recurso)")
        << "QualidadeImagem=boa" << 0 << "Erro ao carregar padrão de qualidade da imagem!";
    QTest::newRow("somente leitura") << "somente leitura" << 0 << "é somente leitura";
}

void TestePrograma::configuracaoRuim()
{
    QFETCH(QString, caso);
    QFETCH(int, codigo);
    QFETCH(QString, mensagem);
    UsuarioTeste usuario;
    {
        TRegistro regional; // the user's own decimal separator, restored at the end
        QVERIFY(regional.AbreChave(QStringLiteral("\\Control Panel\\International"), true));
        regional.EscreveTexto(QStringLiteral("sDecimal"), QStringLiteral(","));
    }
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(inst.Valida());
    const QString ini = inst.ArquivoConfiguracao();
    const QByteArray original = Conteudo(ini);
    if (caso == u"vazio")
        Grava(ini, QByteArray());
    else if (caso == u"aleatorio") {
        QByteArray lixo(4096, 0);
        QRandomGenerator gerador(26);
        for (char& c : lixo)
            c = char(gerador.bounded(256));
        Grava(ini, lixo);
    } else if (caso == u"utf16") {
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        Grava(ini, utf16.encode(QString::fromLatin1(original)));
    } else if (caso == u"somente leitura")
        QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    else if (caso.startsWith(u'['))
        Grava(ini, QByteArray(original).replace(caso.section(u'=', 0, 0).toLatin1(),
                                                caso.section(u'=', 1).toLatin1()));
    else if (!caso.isEmpty())
        QVERIFY(inst.AlteraChave(caso.section(u'=', 0, 0), caso.section(u'=', 1)));

    int saida = 0, sinal = 0;
    bool iniciou = false;
    const QString erros = Executa(inst, saida, iniciou, sinal);
    QVERIFY2(sinal == 0, qPrintable(erros));
    QCOMPARE(saida, codigo);
    QCOMPARE(iniciou, codigo == 0);
    if (mensagem.isEmpty())
        QVERIFY2(!erros.contains(u'['), qPrintable(erros)); // no message at all
    else
        QCOMPARE(erros.count(mensagem), 1);
    QVERIFY2(!erros.contains(QStringLiteral("terminate")), qPrintable(erros));
    // Closed as a user's "Sair": the user's own regional settings are back.
    TRegistro regional;
    QVERIFY(regional.AbreChave(QStringLiteral("\\Control Panel\\International"), false));
    QCOMPARE(regional.LeTexto(QStringLiteral("sDecimal")), QStringLiteral(","));
}

QTEST_GUILESS_MAIN(TestePrograma)
#include "tst_programa.moc"
