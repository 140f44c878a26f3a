// Backup and restore end to end with the real backup module in automatic mode, writing to a
// temporary destination: byte-identical copies and marks, a restore that brings back every
// file and the database table by table, and damaged backups refused with nothing changed.
#include "tests/backup/UCenarioBackup.h"

#include "backup/UMidia.h"
#include "backup/UfrmBackup.h"
#include "tests/support/UConteudoBanco.h"

#include <QDirIterator>
#include <QPushButton>
#include <QtTest>

using namespace Backup;

class TesteIdaEVolta : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("ZR_MODULOS_AUTOMATICO", "1"); }
    void init();
    void cleanup() { c.reset(); midia.reset(); }
    void idaEVolta();
    void danificado_data();
    void danificado();

private:
    // Every file under the two roots with its SHA-256.
    QMap<QString, QString> Arquivos() const
    {
        QMap<QString, QString> m;
        for (const QString& raiz : {PathsZR.Exames, PathsZR.Laudos}) {
            QDirIterator it(raiz, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString a = it.next();
                m.insert(a, ResumoArquivo(a));
            }
        }
        return m;
    }
    void FazBackup()
    {
        TfrmBackup f;
        f.show();
        f.btnINI->click();
        QCOMPARE(c->mensagens.Textos().value(0), QStringLiteral("Backup dos Exames e Laudos concluído com êxito"));
        QVERIFY(!f.btnINI->isEnabled()); // nothing left to back up
        c->mensagens.Limpa();
    }
    bool Restaura()
    {
        TfrmBackup f;
        f.show();
        c->mensagens.Responde(RespostaMensagem::Ok);
        f.btnRES->click();
        return c->mensagens.Textos().last() == QStringLiteral("Restauração concluída com êxito");
    }
    std::unique_ptr<CenarioBackup> c;
    std::unique_ptr<QTemporaryDir> midia;
    QList<int> exames, laudos;
};

void TesteIdaEVolta::init()
{
    c = std::make_unique<CenarioBackup>();
    QVERIFY(c->Valido());
    midia = std::make_unique<QTemporaryDir>();
    EscreveChaves(c->IniBackup(), {{"Destino", midia->path()}, {"DiscoAtual", "3"}});
    PathsZR.ModuloBackup = QStringLiteral(ZR_MODULO_BACKUP);
    exames = {c->Exame(), c->Exame({"m.txt"}), c->Exame()};
    laudos = {c->Laudo(), c->Laudo()};
}

void TesteIdaEVolta::idaEVolta()
{
    FazBackup();
    for (int e : exames)
        QCOMPARE(c->MarcaExame(e), QStringLiteral("ZRQK0003"));
    const QMap<QString, QString> arquivos = Arquivos();
    for (auto it = arquivos.cbegin(); it != arquivos.cend(); ++it) {
        const bool exame = it.key().startsWith(PathsZR.Exames);
        const QString naMidia = midia->path() + (exame ? QStringLiteral("/Exames") : QStringLiteral("/Laudos")) +
                                it.key().mid((exame ? PathsZR.Exames : PathsZR.Laudos).size());
        QCOMPARE(ResumoArquivo(naMidia), it.value());
    }
    const QStringList banco = ConteudoBanco(c->banco.Arquivo());

    // Every file gone but one, which was changed: that one is kept aside, not overwritten.
    for (auto it = std::next(arquivos.cbegin()); it != arquivos.cend(); ++it)
        QVERIFY(QFile::remove(it.key()));
    const QString mudado = arquivos.firstKey();
    {
        QFile f(mudado);
        QVERIFY(f.open(QIODevice::Append));
        f.write("alterado depois do backup");
    }
    const QString resumoMudado = ResumoArquivo(mudado);
    TDExames(c->DM()).AtualizaObsExame(exames[0], QStringLiteral("mudou"));
    TDLaudos(c->DM()).ExcluiLaudo(laudos[1]);
    c->Exame({});
    QVERIFY(ConteudoBanco(c->banco.Arquivo()) != banco);

    QVERIFY2(Restaura(), qPrintable(c->mensagens.Textos().join(u'\n')));
    QCOMPARE(Arquivos(), arquivos);
    QCOMPARE(ConteudoBanco(c->banco.Arquivo()), banco);
    QVERIFY(c->DM().Conectado());
    const QString raiz = mudado.startsWith(PathsZR.Exames) ? PathsZR.Exames : PathsZR.Laudos;
    const QStringList seguranca = QDir(QFileInfo(raiz).path()).entryList({QFileInfo(raiz).fileName() + " (segurança *)"},
                                                                         QDir::Dirs);
    QCOMPARE(seguranca.size(), 1);
    QCOMPARE(ResumoArquivo(QFileInfo(raiz).path() + u'/' + seguranca[0] + mudado.mid(raiz.size())), resumoMudado);
}

void TesteIdaEVolta::danificado_data()
{
    QTest::addColumn<QString>("dano");
    QTest::newRow("um byte de um exame") << "exame";
    QTest::newRow("DATABASE.FBK truncado") << "banco";
    QTest::newRow("sem manifesto") << "manifesto";
}

void TesteIdaEVolta::danificado()
{
    QFETCH(QString, dano);
    FazBackup();
    // Work after the backup that a refused restore must leave alone.
    QVERIFY(QFile::remove(c->ArquivoExame(exames[0], "a.txt")));
    TDExames(c->DM()).AtualizaObsExame(exames[1], QStringLiteral("depois do backup"));
    if (dano == "exame") {
        QFile f(midia->path() + QStringLiteral("/Exames/%1/%2d.txt").arg(c->paciente).arg(exames[2]));
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QByteArray b = f.readAll();
        f.seek(0);
        f.putChar(char(b[0] ^ 1));
    } else if (dano == "banco") {
        QFile f(ArquivoCopiaBanco(midia->path()));
        QVERIFY(f.resize(f.size() - 100));
    } else {
        QVERIFY(QFile::remove(midia->path() + QStringLiteral("/manifesto.txt")));
    }
    const QMap<QString, QString> arquivos = Arquivos();
    const QStringList banco = ConteudoBanco(c->banco.Arquivo());
    QVERIFY(!Restaura());
    QCOMPARE(Arquivos(), arquivos);
    QCOMPARE(ConteudoBanco(c->banco.Arquivo()), banco);
    QCOMPARE(QDir(QFileInfo(c->banco.Arquivo()).path()).entryList(QDir::Files), QStringList{"DATABASE.GDB"});
}

QTEST_MAIN(TesteIdaEVolta)
#include "tst_idaevolta.moc"
