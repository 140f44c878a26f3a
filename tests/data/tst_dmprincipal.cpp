// The data module: connection and its two passwords, the transaction's isolation and lock
// behaviour seen from a second attachment, commit and the datasets it reopens, and the
// datasets as grid models.

#include "data/UDMPrincipal.h"
#include "data/UDExames.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"

#include <QSignalSpy>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

namespace {
TDadosPaciente Paciente(const QString& nome)
{
    TDadosPaciente p;
    p.Nome = nome;
    return p;
}

ConsultaBD& Abre(TDMPrincipal& dm, const QString& sql)
{
    ConsultaBD& op = *dm.IBOperation;
    op.Fecha();
    op.DefineSQL(sql);
    op.Abre();
    return op;
}
} // namespace

class TesteDMPrincipal : public QObject {
    Q_OBJECT
    BancoTeste* m_banco = nullptr;
    TDMPrincipal& DM() { return m_banco->DM(); }

private slots:
    void initTestCase()
    {
        m_banco = new BancoTeste;
        QVERIFY(m_banco->Valido());
    }
    void cleanupTestCase() { delete m_banco; }

    void conexaoAbreComTransacao()
    {
        MensagensRoteiro mensagens;
        TDMPrincipal dm;
        QVERIFY(dm.PSetDataBaseName(m_banco->Arquivo()));
        QVERIFY(dm.Conectado());
        QVERIFY(dm.TransacaoAtiva());
        QVERIFY(mensagens.Registros().isEmpty());
    }

    // Password sequence: the first accepted ends it; only refused passwords give the
    // message; a file that is not there or not a database gives false in silence.
    void senhas_data()
    {
        QTest::addColumn<QStringList>("aceitas");
        QTest::addColumn<QString>("arquivo");  // "" = the test database
        QTest::addColumn<bool>("conecta");
        QTest::addColumn<QStringList>("tentadas");
        QTest::addColumn<bool>("mensagem");
        QTest::newRow("primeira") << QStringList{"qwzk47"} << "" << true << QStringList{"qwzk47"} << false;
        QTest::newRow("só a segunda") << QStringList{"gatehouse"} << "" << true
                                      << QStringList{"qwzk47", "gatehouse"} << false;
        QTest::newRow("nenhuma") << QStringList{} << "" << false << QStringList{"qwzk47", "gatehouse"}
                                 << true;
        QTest::newRow("arquivo ausente") << QStringList{"qwzk47"} << "ausente.gdb" << false
                                         << QStringList{} << false;
        QTest::newRow("arquivo que não é banco") << QStringList{"qwzk47"} << "lixo.gdb" << false
                                                 << QStringList{} << false;
    }

    void senhas()
    {
        QFETCH(QStringList, aceitas);
        QFETCH(QString, arquivo);
        QFETCH(bool, conecta);
        QFETCH(QStringList, tentadas);
        QFETCH(bool, mensagem);
        QString caminho = m_banco->Arquivo();
        if (!arquivo.isEmpty()) {
            caminho = m_banco->Instalacao().Raiz() + "/" + arquivo;
            if (arquivo == "lixo.gdb") {
                QFile f(caminho);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(QByteArray(20000, 'x'));
            }
        }
        const QByteArray antes = arquivo == "lixo.gdb" ? [&] {
            QFile f(caminho);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }() : QByteArray();

        MensagensRoteiro mensagens;
        mensagens.Responde(RespostaMensagem::Ok);
        TDMPrincipal dm;
        QStringList vistas;
        dm.DefineVerificacaoSenha([&](const QString& usuario, const QString& senha) {
            vistas << senha;
            return usuario == "sysdba" && aceitas.contains(senha);
        });
        QCOMPARE(dm.PSetDataBaseName(caminho), conecta);
        QCOMPARE(dm.Conectado(), conecta);
        QCOMPARE(dm.TransacaoAtiva(), conecta);
        QCOMPARE(vistas, tentadas);
        if (mensagem) {
            QCOMPARE(mensagens.Registros().size(), 1);
            const auto& r = mensagens.Registros().first();
            QCOMPARE(r.titulo, QStringLiteral("ERRO"));
            QCOMPARE(r.texto, QStringLiteral("Usuário/Senha de BD incorreto!"));
            QCOMPARE(r.icone, IconeMensagem::Nenhum);
            QCOMPARE(r.botoes, BotoesMensagem::OkCancelar);
        } else {
            QCOMPARE(mensagens.Registros().size(), 0);
        }
        if (arquivo == "lixo.gdb") {
            QFile f(caminho);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), antes);
        }
    }

    // The transaction is read-committed (record version), no-wait, read-write: as the
    // engine itself reports it.
    void parametrosDaTransacao()
    {
        ConsultaBD& op = Abre(DM(), "select MON$ISOLATION_MODE as ISO, MON$LOCK_TIMEOUT as ESPERA, "
                                    "MON$READ_ONLY as LEITURA from MON$TRANSACTIONS "
                                    "where MON$TRANSACTION_ID = current_transaction");
        QCOMPARE(op.Inteiro("ISO"), 2);      // read committed, record version
        QCOMPARE(op.Inteiro("ESPERA"), 0);   // no wait
        QCOMPARE(op.Inteiro("LEITURA"), 0);
    }

    // A row committed by another attachment is seen by this open transaction at once.
    void leituraConfirmadaComDuasConexoes()
    {
        TDPacientes pacientes(DM());
        const int antes = pacientes.ContaPacientes();
        DM().IBQueryPacientes->Abre();  // keeps this transaction busy with an open dataset

        TDMPrincipal outro;
        QVERIFY(outro.PSetDataBaseName(m_banco->Arquivo()));
        TDPacientes(outro).InserePaciente(Paciente("Vista Pelo Outro"), QDate(2024, 1, 2), 0);

        QVERIFY(DM().TransacaoAtiva());
        QCOMPARE(pacientes.ContaPacientes(), antes + 1);
        QVERIFY(pacientes.CodigoPaciente("Vista Pelo Outro") > 0);
    }

    // An update of a row the other attachment has locked fails at once (no wait).
    void semEsperaNoBloqueio()
    {
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente("Bloqueado"), QDate(2024, 1, 2), 0);
        const int codigo = pacientes.CodigoPaciente("Bloqueado");

        TDMPrincipal outro;
        QVERIFY(outro.PSetDataBaseName(m_banco->Arquivo()));
        ConsultaBD& op = *outro.IBOperation;
        op.DefineSQL("update PACIENTES set NOME = 'Em edição' where CODIGO = :Codigo");
        op.DefineParametro("Codigo", codigo);
        op.Executa();  // not committed: the row stays locked

        try {
            pacientes.AtualizaPaciente(codigo, Paciente("Outro nome"));
            QFAIL("a alteração de uma linha bloqueada foi aceita");
        } catch (const fb::ErroFirebird& e) {
            QVERIFY2(e.ConflitoBloqueio(), qPrintable(e.Detalhes()));
            // The user reads what to do; the engine's words stay in the details.
            QCOMPARE(e.Mensagem(), QStringLiteral("Este registro está sendo alterado em outra estação. "
                                                  "Tente novamente em instantes."));
            QVERIFY(e.Detalhes() != e.Mensagem());
        }
        outro.IBTransaction.Rollback();
        QCOMPARE(pacientes.NomePaciente(codigo), QStringLiteral("Bloqueado"));
    }

    // Each reason a database does not open gives its own line.
    void causasDeFalha_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("causa");
        QTest::newRow("ausente") << "ausente" << "O arquivo do banco de dados não foi encontrado.";
        QTest::newRow("pasta") << "pasta" << "No lugar do arquivo do banco de dados há uma pasta.";
        QTest::newRow("danificado") << "danificado" << "O arquivo do banco de dados está danificado.";
        QTest::newRow("texto") << "texto" << "O arquivo do banco de dados está danificado.";
        QTest::newRow("outro programa") << "outro programa" << "O banco de dados já está aberto por outro programa.";
        const char* semEscrita = "Sem permissão de escrita no banco de dados.";
        QTest::newRow("somente leitura") << "somente leitura" << semEscrita;
        QTest::newRow("arquivo sem escrita") << "arquivo sem escrita" << semEscrita;
        QTest::newRow("pasta sem escrita") << "pasta sem escrita" << semEscrita;
    }
    void causasDeFalha()
    {
        QFETCH(QString, caso);
        QFETCH(QString, causa);
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("DATABASE.GDB"));
        QProcess outro;
        if (caso == u"pasta")
            QVERIFY(QDir().mkpath(arquivo));
        else if (caso == u"danificado" || caso == u"texto") {
            QVERIFY(QFile::copy(m_banco->Arquivo(), arquivo));
            QFile f(arquivo);
            QVERIFY(f.open(QIODevice::ReadWrite));
            if (caso == u"texto")
                QVERIFY(f.resize(0));
            f.seek(0);
            f.write(QByteArray(caso == u"texto" ? 300 : 4096, 'x'));
        } else if (caso == u"outro programa") {
            // The embedded engine of another process holds the file.
            QVERIFY(QFile::copy(m_banco->Arquivo(), arquivo));
            outro.setProcessChannelMode(QProcess::MergedChannels);
            outro.start(QStringLiteral("stdbuf"), {QStringLiteral("-o0"), QStringLiteral("isql-fb"),
                                                   QStringLiteral("-q"), QStringLiteral("-user"),
                                                   QStringLiteral("SYSDBA"), arquivo});
            QVERIFY(outro.waitForStarted());
            outro.write("select 1 from rdb$database;\n");
            QByteArray resposta;
            QTRY_VERIFY2_WITH_TIMEOUT((resposta += outro.readAll()).contains("======"),
                                      resposta.constData(), 20000);
        } else if (caso == u"somente leitura") {
            QVERIFY(QFile::copy(m_banco->Arquivo(), arquivo));
            QCOMPARE(QProcess::execute(QStringLiteral("gfix"),
                                       {QStringLiteral("-mode"), QStringLiteral("read_only"),
                                        QStringLiteral("-user"), QStringLiteral("SYSDBA"), arquivo}),
                     0);
        } else if (caso.endsWith(u"sem escrita")) {
            // The tests run as root, who writes anything: the connection is made by a child
            // of this program as the user "nobody".
            QVERIFY(QFile::copy(m_banco->Arquivo(), arquivo));
            const bool naPasta = caso.startsWith(u"pasta");
            const auto leitura = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
            const auto passagem = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
            const auto escrita = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
            QVERIFY(QFile::setPermissions(arquivo, naPasta ? leitura | escrita : leitura));
            QStringList comando{QCoreApplication::applicationFilePath(), QStringLiteral("--conecta"), arquivo};
            if (::geteuid() == 0) {
                if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
                    QSKIP("setpriv não está instalado: o caso precisa de um usuário sem privilégios");
                comando = QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                                      QStringLiteral("--clear-groups")} + comando;
                comando.prepend(QStringLiteral("setpriv"));
            }
            // The engine's lock files in a folder that user may write.
            const QString trava = pasta.filePath(QStringLiteral("trava"));
            QVERIFY(QDir().mkdir(trava));
            QVERIFY(QFile::setPermissions(trava, leitura | passagem | escrita));
            QVERIFY(QFile::setPermissions(pasta.path(),
                                          leitura | passagem | (naPasta ? QFile::Permissions() : escrita)));
            QProcess filho;
            QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
            ambiente.insert(QStringLiteral("FIREBIRD_LOCK"), trava);
            filho.setProcessEnvironment(ambiente);
            filho.start(comando.takeFirst(), comando);
            QVERIFY(filho.waitForFinished(60000));
            QCOMPARE(QString::fromUtf8(filho.readAllStandardOutput()).trimmed(), causa);
            return;
        }
        TDMPrincipal dm;
        QVERIFY(!dm.PSetDataBaseName(arquivo));
        QCOMPARE(dm.CausaFalhaConexao(), causa);
        if (outro.state() != QProcess::NotRunning) {
            outro.closeWriteChannel();
            QVERIFY(outro.waitForFinished(20000));
        }
    }

    void transacaoReiniciaAoAbrir()
    {
        DM().IBTransaction.Commit();
        QVERIFY(!DM().TransacaoAtiva());
        TDMedicos medicos(DM());
        QCOMPARE(medicos.ContaMedicos(), 0);
        QVERIFY(DM().TransacaoAtiva());
    }

    // After a commit: the tables and the patient list are open again, the patient list
    // with its own SQL text and parameters, on its first row; other queries are closed.
    void commitReabreConjuntos()
    {
        TDPacientes pacientes(DM());
        pacientes.InserePaciente(Paciente("Ana"), QDate(2024, 3, 1), 1);
        pacientes.InserePaciente(Paciente("Bia"), QDate(2024, 3, 1), 1);
        const QString sql = "select * from PACIENTES where TOTALEXAMES = :Total order by NOME desc";
        DM().IBQueryPacientes->DefineSQL(sql);
        DM().IBQueryPacientes->DefineParametro("total", 1);
        DM().IBQueryPacientes->Abre();
        DM().IBQueryPacientes->Ultimo();
        DM().IBQueryExames->Abre();
        QSignalSpy confirmado(&DM(), &TDMPrincipal::Confirmado);

        DM().PCommitDataBase();

        QCOMPARE(confirmado.count(), 1);
        QVERIFY(DM().TransacaoAtiva());
        for (ConsultaBD* c : {DM().IBMedicos, DM().IBPacientes, DM().IBExames, DM().IBLaudos,
                              DM().IBLaudosTexto, DM().IBQueryPacientes})
            QVERIFY2(c->Ativa(), qPrintable(c->objectName()));
        QVERIFY(!DM().IBQueryExames->Ativa());
        QVERIFY(!DM().IBOperation->Ativa());
        QCOMPARE(DM().IBQueryPacientes->SQL(), sql);
        QCOMPARE(DM().IBQueryPacientes->Linha(), 0);
        QCOMPARE(DM().IBQueryPacientes->Texto("Nome"), QStringLiteral("Bia"));
        DM().IBQueryPacientes->DefineSQL("select * from PACIENTES");
    }

    // A dataset read by blocks has every row from the start and reads each block where it
    // lies, whatever the order rows are wanted in; its count and its rows share the parameters.
    void leituraPorBlocos()
    {
        const QString numeros = "WITH RECURSIVE N(I) AS (SELECT 1 FROM RDB$DATABASE UNION ALL "
                                "SELECT I + 1 FROM N WHERE I < :Total) ";
        ConsultaBD& q = *DM().IBOperation;
        q.Fecha();
        q.DefineSQL(numeros + "SELECT I FROM N WHERE I <= :Total ORDER BY I");
        q.DefineLeituraPorBlocos(numeros + "SELECT COUNT(*) FROM N WHERE I <= :Total");
        for (int total : {2 * ConsultaBD::kLote + 88, 3, 0}) {
            q.Fecha();
            q.DefineParametro("Total", total);
            q.Abre();
            QCOMPARE(q.rowCount(), total);
            QCOMPARE(q.LinhasBuscadas(), total);
            QVERIFY(!q.canFetchMore(QModelIndex()));
            // A row whose place is known is read from there on; the rows before it with their block.
            const int meio = total / 2 + 5;
            if (total > ConsultaBD::kLote) {
                q.LeLinhasDesde(meio, numeros + "SELECT I FROM N WHERE I <= :Total AND I > :Antes ORDER BY I", "Antes", meio);
                QVERIFY(q.LinhaLida(meio + ConsultaBD::kLote - 1) && !q.LinhaLida(meio - 1));
                QCOMPARE(q.CampoDaLinha(meio + 1, "I").toInt(), meio + 2);
            }
            for (int linha : {total - 1, total / 2, 0})
                if (linha < total)
                    QCOMPARE(q.CampoDaLinha(linha, "I").toInt(), linha + 1);
            for (int linha = 0; linha < total; ++linha)
                QCOMPARE(q.data(q.index(linha, 0)).toInt(), linha + 1);
            QCOMPARE(q.VaiPara(total / 2), total > 0);
            if (total > 0)
                QCOMPARE(q.Inteiro("I"), total / 2 + 1);
        }
        q.DefineSQL("select 1 from RDB$DATABASE");
        QVERIFY(!q.PorBlocos());
        q.Fecha();
    }

    // Work left uncommitted is kept when the connection is closed.
    void desconexaoGuardaTrabalho()
    {
        TDMPrincipal dm;
        QVERIFY(dm.PSetDataBaseName(m_banco->Arquivo()));
        ConsultaBD& op = *dm.IBOperation;
        op.DefineSQL("update LAUDOSTEXTO set TEXTO = 'guardado' where CODIGO = 1");
        op.Executa();
        dm.PDesconectionDataBase();
        QVERIFY(!dm.Conectado());
        dm.PConnectDataBase();
        QCOMPARE(Abre(dm, "select TEXTO from LAUDOSTEXTO where CODIGO = 1").Texto("texto"),
                 QStringLiteral("guardado"));
        op.DefineSQL("update LAUDOSTEXTO set TEXTO = '' where CODIGO = 1");
        op.Executa();
        dm.PCommitDataBase();
    }

    // A dataset of another owner: closed by the commit, and refusing to run once its
    // module is gone.
    void conjuntoDeOutroDono()
    {
        auto dm = std::make_unique<TDMPrincipal>();
        QVERIFY(dm->PSetDataBaseName(m_banco->Arquivo()));
        ConsultaBD proprio(*dm, "proprio", "select count(*) from LAUDOSTEXTO");
        proprio.Abre();
        QVERIFY(proprio.Inteiro("COUNT") > 0);
        dm->PCommitDataBase();
        QVERIFY(!proprio.Ativa());
        proprio.Abre();
        dm.reset();
        QVERIFY(!proprio.Ativa());
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, proprio.Abre());
    }

    void semConexaoEhErro()
    {
        TDMPrincipal dm;
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, TDMedicos(dm).ContaMedicos());
    }

    // The patient list as a grid model: rows arrive in batches, columns by name, dates
    // and reals in the program's formats.
    void modeloDaGrade()
    {
        BancoTeste banco;
        QVERIFY(banco.Valido());
        TDMPrincipal& dm = banco.DM();
        const int total = ConsultaBD::kLote + 44;
        ConsultaBD& op = *dm.IBOperation;
        QStringList vazios;
        for (int i = 0; i < 21; ++i)
            vazios << "''";
        op.DefineSQL("execute procedure InsertPacientes :Nome," + vazios.join(',') + ",:Data,0");
        for (int i = 0; i < total; ++i) {
            op.DefineParametro("Nome", QString("Paciente %1").arg(i, 4, 10, QChar('0')));
            op.DefineParametro("Data", QDate(2020, 1, 1).addDays(i));
            op.Executa();
        }
        dm.PCommitDataBase();

        ConsultaBD& lista = *dm.IBQueryPacientes;
        lista.DefineSQL("select CODIGO, NOME, DTCADASTRO, 1.5 as VALOR from PACIENTES order by NOME");
        lista.Abre();
        QVERIFY(lista.rowCount() < total);
        QVERIFY(lista.canFetchMore(QModelIndex()));
        QCOMPARE(lista.columnCount(), 4);
        QCOMPARE(lista.headerData(1, Qt::Horizontal).toString(), QStringLiteral("NOME"));
        lista.fetchMore(QModelIndex());
        QCOMPARE(lista.rowCount(), 1 + ConsultaBD::kLote);
        lista.BuscaTodas();
        QCOMPARE(lista.rowCount(), total);
        QVERIFY(!lista.canFetchMore(QModelIndex()));
        QCOMPARE(lista.data(lista.index(0, 1)).toString(), QStringLiteral("Paciente 0000"));
        QCOMPARE(lista.data(lista.index(31, 2)).toString(), QStringLiteral("01/02/2020"));
        QCOMPARE(lista.data(lista.index(0, 3)).toString(), QStringLiteral("1.5"));
        QCOMPARE(lista.data(lista.index(0, 2), Qt::EditRole).toDate(), QDate(2020, 1, 1));

        // Navigation and lookup by column without regard to letter case.
        QVERIFY(lista.Localiza("nome", "Paciente 0123"));
        QCOMPARE(lista.Linha(), 123);
        QCOMPARE(lista.Data("DtCadastro"), QDate(2020, 1, 1).addDays(123));
        QVERIFY(!lista.Localiza("NOME", "ninguém"));
        QCOMPARE(lista.Linha(), 123);
        lista.Primeiro();
        lista.Anterior();
        QVERIFY(lista.Bof());
        lista.Ultimo();
        lista.Proximo();
        QVERIFY(lista.Eof());
        QCOMPARE(lista.Texto("nome"), QStringLiteral("Paciente %1").arg(total - 1, 4, 10, QChar('0')));
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, lista.Campo("NAO_EXISTE"));
    }

    void conjuntoVazioLeZeroETextoVazio()
    {
        ConsultaBD& op = Abre(DM(), "select CODIGO, NOME, DTCADASTRO from PACIENTES where CODIGO = -5");
        QVERIFY(op.Vazia());
        QVERIFY(op.Eof());
        QCOMPARE(op.Inteiro("CODIGO"), 0);
        QCOMPARE(op.Texto("NOME"), QString());
        QVERIFY(!op.Data("DTCADASTRO").isValid());
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // "--conecta <file>": one connection, its cause (or "conectado") on the output; the
    // permission cases run it as another user.
    if (argc == 3 && qstrcmp(argv[1], "--conecta") == 0) {
        TDMPrincipal dm;
        const bool conectou = dm.PSetDataBaseName(QString::fromLocal8Bit(argv[2]));
        std::printf("%s\n", conectou ? "conectado" : dm.CausaFalhaConexao().toUtf8().constData());
        return 0;
    }
    TesteDMPrincipal teste;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&teste, argc, argv);
}
#include "tst_dmprincipal.moc"
