// The services API on the embedded engine: a logical backup taken while the data module is
// attached with uncommitted work and another attachment commits rows, its restore into a new file, the validation, and the
// refusal of a damaged backup file.
#include "data/UServico.h"
#include "data/UDMedicos.h"
#include "tests/support/UBancoTeste.h"

#include <QtTest>

class TesteServico : public QObject {
    Q_OBJECT
private slots:
    void backupRestauracao_data();
    void backupRestauracao();
    void arquivoDanificado_data();
    void arquivoDanificado();
};

static int ContaMedicos(const QString& banco)
{
    fb::Conexao c;
    c.Abre(banco, {QStringLiteral("user_name=sysdba"), QStringLiteral("password=qwzk47")});
    fb::Transacao t(c);
    t.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
    fb::Comando q(c);
    q.Prepara(t, QStringLiteral("SELECT COUNT(*) FROM Medicos"));
    q.Executa(t);
    QVector<QVariant> linha;
    q.Busca(linha);
    q.FechaCursor();
    t.Commit();
    return linha.value(0).toInt();
}

void TesteServico::backupRestauracao_data()
{
    QTest::addColumn<bool>("fluxo");
    QTest::newRow("arquivo gravado pelo serviço") << false;
    QTest::newRow("fluxo gravado pelo programa") << true;
}

void TesteServico::backupRestauracao()
{
    QFETCH(bool, fluxo);
    BancoTeste banco;
    QVERIFY(banco.Valido());
    TDMedicos medicos(banco.DM());
    TDadosMedico m;
    m.Nome = QStringLiteral("Confirmado");
    medicos.InsereMedico(m);
    const int confirmados = ContaMedicos(banco.Arquivo());
    // Work the data module has not committed stays out of the copy.
    banco.DM().IBDatabase.ExecutaImediato(banco.DM().IBTransaction,
                                          QStringLiteral("INSERT INTO Medicos (Codigo, Nome) VALUES (9999, 'Pendente')"));

    QTemporaryDir pasta;
    const QString fbk = pasta.filePath(QStringLiteral("DATABASE.FBK"));
    fb::Servico s;
    s.Anexa(banco.Arquivo(), QStringLiteral("sysdba"), QStringLiteral("qwzk47"));
    // A second attachment commits a row while the copy runs: the copy holds the rows
    // committed when it started.
    bool inserido = false;
    auto durante = [&] {
        if (inserido)
            return;
        inserido = true;
        fb::Conexao outra;
        outra.Abre(banco.Arquivo(), {QStringLiteral("user_name=sysdba"), QStringLiteral("password=qwzk47")});
        fb::Transacao t(outra);
        t.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
        outra.ExecutaImediato(t, QStringLiteral("INSERT INTO Medicos (Codigo, Nome) VALUES (9998, 'Durante')"));
        t.Commit();
    };
    if (fluxo)
        s.ExecutaBackupFluxo(banco.Arquivo(), fbk, durante);
    else
        s.ExecutaBackup(banco.Arquivo(), fbk, [&](const QString&) { durante(); });
    QVERIFY(inserido);
    QCOMPARE(ContaMedicos(banco.Arquivo()), confirmados + 1);
    QVERIFY(QFileInfo(fbk).size() > 0);

    const QString novo = pasta.filePath(QStringLiteral("NOVO.GDB"));
    s.Desanexa();
    fb::Servico r;
    r.Anexa(banco.Arquivo(), QStringLiteral("sysdba"), QStringLiteral("qwzk47"));
    r.ExecutaRestauracao(fbk, novo);
    r.ExecutaValidacao(novo);
    r.Desanexa();
    QCOMPARE(ContaMedicos(novo), confirmados);
}

void TesteServico::arquivoDanificado_data()
{
    // A backup file cut short makes the engine's restore ask for the next volume on the
    // console, so the program checks the file's digest before any restore; here only a
    // file that is not a backup at all is fed to the service.
    QTest::addColumn<int>("tamanho");   // bytes kept of the backup file; -1: a foreign file
    QTest::newRow("alheio") << -1;
}

void TesteServico::arquivoDanificado()
{
    QFETCH(int, tamanho);
    BancoTeste banco;
    QVERIFY(banco.Valido());
    QTemporaryDir pasta;
    const QString fbk = pasta.filePath(QStringLiteral("DATABASE.FBK"));
    fb::Servico s;
    s.Anexa(banco.Arquivo(), QStringLiteral("sysdba"), QStringLiteral("qwzk47"));
    s.ExecutaBackup(banco.Arquivo(), fbk);
    QFile f(fbk);
    if (tamanho >= 0) {
        QVERIFY(f.resize(tamanho));
    } else {
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'x'));
        f.close();
    }
    const QString novo = pasta.filePath(QStringLiteral("NOVO.GDB"));
    bool falhou = false;
    try {
        s.ExecutaRestauracao(fbk, novo);
    } catch (const fb::ErroFirebird&) {
        falhou = true;
    }
    QVERIFY(falhou);
}

QTEST_GUILESS_MAIN(TesteServico)
#include "tst_servico.moc"
