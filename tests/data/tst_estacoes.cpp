// Several workstations on one Firebird server: the database name that names a server, the
// login, a server that goes away between two actions, a row locked by another workstation
// and two workstations storing at the same moment. A real server (Debian's package) runs as
// a child of the test on a free port of 127.0.0.1; the workstations are separate processes.

#include "common/UNomeBanco.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "data/UOperacaoBD.h"
#include "platform/UMensagens.h"
#include "registry/UfrmCadastroPacientes.h"
#include "tests/support/UBancoTeste.h"
#include "tests/support/UServidorTeste.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSet>
#include <QtTest>

namespace {

// The server's SYSDBA password: the second of the installed database's sequence.
const QString kSenhaServidor = QStringLiteral("gatehouse");

QVariant Valor(TDMPrincipal& dm, const QString& sql)
{
    ConsultaBD& op = PreparaOperacao(dm, sql);
    op.Abre();
    const QVariant v = op.Campo(op.Colunas().value(0));
    op.Fecha();
    return v;
}

QString Protocolo(TDMPrincipal& dm)
{
    return Valor(dm, QStringLiteral("SELECT MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS "
                                    "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"))
        .toString()
        .trimmed();
}

} // namespace

class TesteEstacoes : public QObject {
    Q_OBJECT
    ServidorTeste m_servidor{kSenhaServidor};
    QString m_pastaBanco;   // the server's folder as the workstations name it
    QString m_exames;

    QString Ini(const QString& nome, const QString& usuario, const QString& senha)
    {
        const QString arquivo = m_servidor.Pasta() + u'/' + nome + QStringLiteral(".ini");
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("[DIRETORIOS]\r\nEXAMES=%1\r\nBANCODADOS=%2\r\n[SERVIDOR]\r\nUSUARIO=%3\r\nSENHA=%4\r\n")
                    .arg(m_exames, m_pastaBanco, usuario, senha)
                    .toUtf8());
        return arquivo;
    }

    QProcess* Estacao(const QStringList& args)
    {
        auto* p = new QProcess(this);
        p->start(QCoreApplication::applicationDirPath() + QStringLiteral("/zr_estacao_teste"),
                 QStringList{Ini(QStringLiteral("estacao"), QStringLiteral("SYSDBA"), kSenhaServidor)} + args);
        return p;
    }

    bool Conecta(TDMPrincipal& dm, const QString& host = QStringLiteral("127.0.0.1"))
    {
        dm.DefineCredenciais(QStringLiteral("SYSDBA"), kSenhaServidor);
        return dm.PSetDataBaseName(m_servidor.NomeRemoto(m_servidor.Pasta() + QStringLiteral("/DATABASE.GDB"), host));
    }

private slots:
    void initTestCase()
    {
        if (!ServidorTeste::Instalado())
            QSKIP("pacote firebird3.0-server ausente");
        m_servidor.CriaBancoSistema();
        QVERIFY2(m_servidor.Inicia(), qPrintable(m_servidor.Erro()));
        m_pastaBanco = m_servidor.NomeRemoto(m_servidor.Pasta());
        m_exames = m_servidor.Pasta() + QStringLiteral("/Exames");
        QDir().mkpath(m_exames);
        MensagensRoteiro mensagens;
        TDMPrincipal dm;
        QVERIFY(Conecta(dm));
        TDadosMedico m;
        m.Nome = QStringLiteral("Dra. Teste");
        TDMedicos(dm).InsereMedico(m);
    }

    // One function tells a server from a path of this machine.
    void nomes_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("servidor");
        QTest::addColumn<QString>("arquivo");
        QTest::newRow("caminho") << "/dados/Banco de Dados" << "" << "/dados/Banco de Dados";
        QTest::newRow("relativo") << "Banco de Dados" << "" << "Banco de Dados";
        QTest::newRow("nome") << "servidor:/srv/clinica" << "servidor" << "/srv/clinica";
        QTest::newRow("porta") << "servidor/3051:/srv/a:b" << "servidor/3051" << "/srv/a:b";
        QTest::newRow("ipv4") << "127.0.0.1:/srv" << "127.0.0.1" << "/srv";
        QTest::newRow("ipv6") << "[fe80::1]/3051:/srv" << "[fe80::1]/3051" << "/srv";
        QTest::newRow("drive") << "C:\\Dados\\Banco" << "" << "C:\\Dados\\Banco";
        QTest::newRow("drive barra") << "d:/Dados" << "" << "d:/Dados";
        QTest::newRow("dois pontos depois") << "/dados/a:b" << "" << "/dados/a:b";
    }
    void nomes()
    {
        QFETCH(QString, nome);
        QFETCH(QString, servidor);
        QFETCH(QString, arquivo);
        QCOMPARE(NomeBanco::Servidor(nome), servidor);
        QCOMPARE(NomeBanco::EhServidor(nome), !servidor.isEmpty());
        QCOMPARE(NomeBanco::Arquivo(nome), arquivo);
    }

    // By host name or address through the server; a plain path stays embedded.
    void conexao_data()
    {
        QTest::addColumn<QString>("host");
        QTest::newRow("endereço") << "127.0.0.1";
        QTest::newRow("nome") << "localhost";
        QTest::newRow("local") << "";
    }
    void conexao()
    {
        QFETCH(QString, host);
        MensagensRoteiro mensagens;
        if (host.isEmpty()) {
            BancoTeste local;
            QVERIFY(local.Valido());
            QCOMPARE(Protocolo(local.DM()), QString());
            return;
        }
        TDMPrincipal dm;
        QVERIFY(Conecta(dm, host));
        QCOMPARE(Protocolo(dm), QStringLiteral("TCPv4"));
    }

    // The installed sequence reaches a server whose password is its second; the settings'
    // own wrong password is refused with the server's name and never the password.
    void login_data()
    {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("senha");
        QTest::addColumn<QString>("causa");  // empty: connects
        QTest::newRow("sequência") << "" << "" << "";
        QTest::newRow("próprias") << "SYSDBA" << kSenhaServidor << "";
        QTest::newRow("senha errada") << "SYSDBA" << "errada" << "Usuário ou senha do banco de dados recusados pelo servidor.";
    }
    void login()
    {
        QFETCH(QString, usuario);
        QFETCH(QString, senha);
        QFETCH(QString, causa);
        MensagensRoteiro mensagens;
        mensagens.Responde(RespostaMensagem::Ok);
        TDMPrincipal dm;
        dm.DefineCredenciais(usuario, senha);
        QCOMPARE(dm.PSetDataBaseName(m_servidor.NomeRemoto(m_servidor.Pasta() + QStringLiteral("/DATABASE.GDB"))),
                 causa.isEmpty());
        QCOMPARE(dm.CausaFalhaConexao().isEmpty(), causa.isEmpty());
        if (!causa.isEmpty()) {
            QVERIFY(dm.CausaFalhaConexao().startsWith(causa));
            QVERIFY(dm.CausaFalhaConexao().contains(QStringLiteral("127.0.0.1")));
            QCOMPARE(mensagens.Textos(), QStringList{dm.CausaFalhaConexao()});
            QVERIFY(!dm.CausaFalhaConexao().contains(senha));
        }
    }

    // Each bad server name gets its own cause, and the program goes on without a database.
    void nomesRuins_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("causa");
        QTest::newRow("não resolve") << "servidor-inexistente.invalid:/srv/DATABASE.GDB"
                                     << "O servidor do banco de dados não foi encontrado na rede.";
        QTest::newRow("porta fechada") << "127.0.0.1/1:/srv/DATABASE.GDB"
                                       << "O servidor do banco de dados não atendeu";
        QTest::newRow("arquivo ausente") << QString()
                                         << "O arquivo do banco de dados não foi encontrado no servidor.";
    }
    void nomesRuins()
    {
        QFETCH(QString, nome);
        QFETCH(QString, causa);
        if (nome.isEmpty())
            nome = m_servidor.NomeRemoto(QStringLiteral("/nao/existe/DATABASE.GDB"));
        MensagensRoteiro mensagens;
        TDMPrincipal dm;
        dm.DefineCredenciais(QStringLiteral("SYSDBA"), kSenhaServidor);
        QVERIFY(!dm.PSetDataBaseName(nome));
        QVERIFY2(dm.CausaFalhaConexao().startsWith(causa), qPrintable(dm.CausaFalhaConexao()));
        QVERIFY(dm.CausaFalhaConexao().contains(NomeBanco::Maquina(nome)));
        QVERIFY(mensagens.Registros().isEmpty());
    }

    // The server stops between two actions: the first fails with the lost-connection text,
    // the next one (server back) reconnects by itself.
    void servidorParaEVolta()
    {
        MensagensRoteiro mensagens;
        TDMPrincipal dm;
        QVERIFY(Conecta(dm));
        TDPacientes pacientes(dm);
        const int antes = pacientes.ContaPacientes();
        m_servidor.Para();
        TDadosPaciente p;
        p.Nome = QStringLiteral("Perdido");
        try {
            pacientes.InserePaciente(p, QDate(2025, 1, 2), 0);
            QFAIL("a gravação sem servidor não falhou");
        } catch (const ErroBancoDados& e) {
            QCOMPARE(e.Mensagem(), QStringLiteral("A conexão com o servidor do banco de dados foi perdida. "
                                                  "Nada foi gravado desta operação."));
        }
        QVERIFY(dm.ConexaoPerdida());
        QVERIFY2(m_servidor.Inicia(), qPrintable(m_servidor.Erro()));
        p.Nome = QStringLiteral("Depois da volta");
        const int codigo = pacientes.InserePaciente(p, QDate(2025, 1, 2), 0);
        QVERIFY(!dm.ConexaoPerdida());
        QCOMPARE(pacientes.ContaPacientes(), antes + 1);
        QCOMPARE(pacientes.NomePaciente(codigo), p.Nome);
    }

    // Workstation B holds a patient's row: A's patient form fails at once with the message
    // and keeps what was typed; once B lets go, the same form stores it.
    void registroBloqueado()
    {
        MensagensRoteiro mensagens;
        TDMPrincipal dm;
        QVERIFY(Conecta(dm));
        TDadosPaciente p;
        p.Nome = QStringLiteral("Disputado");
        const int codigo = TDPacientes(dm).InserePaciente(p, QDate(2025, 1, 2), 0);
        QProcess* b = Estacao({QStringLiteral("trava"), QString::number(codigo)});
        QVERIFY(b->waitForReadyRead(30000));
        QCOMPARE(b->readLine().trimmed(), QByteArray("travado"));
        TfrmCadastroPacientes f;
        QVERIFY(f.PreparaAlteracao(codigo));
        f.show();
        f.dbeNome->setText(QStringLiteral("Alterado em A"));
        f.dbeCidade->setText(QStringLiteral("Campinas"));
        try {
            f.sbtOkClick();
            QFAIL("a alteração do registro travado não falhou");
        } catch (const ErroBancoDados& e) {
            QCOMPARE(e.Mensagem(), QStringLiteral("Este registro está sendo alterado em outra estação. "
                                                  "Tente novamente em instantes."));
        }
        QVERIFY(f.isVisible());
        QCOMPARE(f.dbeNome->text(), QStringLiteral("Alterado em A"));
        QCOMPARE(f.dbeCidade->text(), QStringLiteral("Campinas"));
        b->closeWriteChannel();
        QVERIFY(b->waitForFinished(30000));
        QCOMPARE(b->exitCode(), 0);
        f.sbtOkClick();
        QCOMPARE(TDPacientes(dm).NomePaciente(codigo), QStringLiteral("Alterado em A"));
    }

    // Two workstations each store patients with an examination at the same moment: every
    // code is distinct and every examination's files are where its row says.
    void insercoesSimultaneas()
    {
        constexpr int n = 200;
        QList<QProcess*> estacoes;
        for (int k = 0; k < 2; ++k)
            estacoes << Estacao({QStringLiteral("insere"), QString::number(n)});
        QSet<int> pacientes, exames;
        QList<QPair<int, int>> gravados;
        for (QProcess* e : estacoes) {
            QVERIFY(e->waitForFinished(600000));
            QVERIFY2(e->exitCode() == 0, e->readAllStandardError().constData());
            for (const QByteArray& linha : e->readAllStandardOutput().split('\n')) {
                const QList<QByteArray> c = linha.trimmed().split(' ');
                if (c.value(0) == "P")
                    pacientes << c.value(1).toInt();
                else if (c.value(0) == "E") {
                    exames << c.value(2).toInt();
                    gravados << qMakePair(c.value(1).toInt(), c.value(2).toInt());
                }
            }
        }
        QCOMPARE(pacientes.size(), 2 * n);
        QCOMPARE(exames.size(), 2 * n);
        MensagensRoteiro mensagens;
        TDMPrincipal dm;
        QVERIFY(Conecta(dm));
        for (const auto& [paciente, exame] : gravados) {
            ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT CODPACIENTE FROM EXAMES WHERE CODIGO = :C"));
            op.DefineParametro(QStringLiteral("C"), exame);
            op.Abre();
            QCOMPARE(op.Inteiro(QStringLiteral("CODPACIENTE")), paciente);
            op.Fecha();
            for (const char* s : {"d.txt", "m.txt", "a.txt"})
                QVERIFY(QFileInfo::exists(QStringLiteral("%1/%2/%3%4").arg(m_exames).arg(paciente).arg(exame).arg(s)));
        }
        QCOMPARE(QDir(m_exames).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2 * n);
    }
};

QTEST_MAIN(TesteEstacoes)
#include "tst_estacoes.moc"
