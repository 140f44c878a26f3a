// The backup's rules that need no database: the disk identity and the reminder's due rule.
#include "backup/UBackup.h"

#include <QtTest>

using Backup::RegraAutomatica;

class TesteRegrasBackup : public QObject {
    Q_OBJECT
private slots:
    void numeroDisco_data();
    void numeroDisco();
    void lembrete_data();
    void lembrete();
};

void TesteRegrasBackup::numeroDisco_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("texto");
    QTest::newRow("7") << 7 << "ZRQK0007";
    QTest::newRow("12") << 12 << "ZRQK0012";
    QTest::newRow("13") << 13 << "ZRQK0013";
    QTest::newRow("acima de 9999") << 10000 << "ZRQK9999";
    QTest::newRow("negativo") << -3 << "ZRQK0000";
}

void TesteRegrasBackup::numeroDisco()
{
    QFETCH(int, n);
    QFETCH(QString, texto);
    QCOMPARE(Backup::IdentidadeDisco(n), texto);
}

// The status as a module writes it: the sixth line carries the date after 25 characters.
static QStringList Status(const QString& data)
{
    return {QStringLiteral("Destino: /media/zip"), QStringLiteral("Livre: 100 MB"), QStringLiteral("Disco atual: 1"),
            QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("Último backup realizado: ") + data};
}

void TesteRegrasBackup::lembrete_data()
{
    QTest::addColumn<QStringList>("status");
    QTest::addColumn<int>("modo");
    QTest::addColumn<int>("periodo");
    QTest::addColumn<int>("unidade");
    QTest::addColumn<int>("exames");
    QTest::addColumn<int>("semBackup");
    QTest::addColumn<QDate>("hoje");
    QTest::addColumn<bool>("devido");
    const QDate hoje(2026, 3, 3);
    QTest::newRow("5 dias através do fim do mês") << Status("26/02/2026") << 1 << 5 << 0 << 0 << 0 << hoje << true;
    QTest::newRow("dia 28 ao dia 3, 6 dias") << Status("28/01/2026") << 1 << 5 << 0 << 0 << 0 << QDate(2026, 2, 3)
                                             << true;
    QTest::newRow("28/02 ao dia 3, 3 dias") << Status("28/02/2026") << 1 << 5 << 0 << 0 << 0 << hoje << false;
    QTest::newRow("28/01 ao dia 3/03, 34 dias") << Status("28/01/2026") << 1 << 5 << 0 << 0 << 0 << hoje << true;
    QTest::newRow("4 dias, período 5") << Status("27/02/2026") << 1 << 5 << 0 << 0 << 0 << hoje << false;
    QTest::newRow("um ano e um dia, período 30") << Status("02/03/2025") << 1 << 30 << 0 << 0 << 0 << hoje << true;
    QTest::newRow("barras invertidas") << Status("26\\02\\2026") << 1 << 5 << 0 << 0 << 0 << hoje << true;
    QTest::newRow("meses através do ano") << Status("31/12/2025") << 1 << 3 << 1 << 0 << 0 << hoje << true;
    QTest::newRow("2 meses, período 3") << Status("01/01/2026") << 1 << 3 << 1 << 0 << 0 << hoje << false;
    QTest::newRow("um ano, dia posterior") << Status("28/03/2025") << 1 << 12 << 1 << 0 << 0 << hoje << true;
    QTest::newRow("unidade desconhecida") << Status("01/01/2020") << 1 << 1 << 2 << 0 << 0 << hoje << false;
    QTest::newRow("300 exames, 299 pendentes") << Status("03/03/2026") << 2 << 0 << 0 << 300 << 299 << hoje << false;
    QTest::newRow("300 exames, 300 pendentes") << Status("03/03/2026") << 2 << 0 << 0 << 300 << 300 << hoje << true;
    QTest::newRow("nunca") << Status("01/01/2020") << 0 << 1 << 0 << 1 << 5000 << hoje << false;
    QTest::newRow("sem sexta linha") << Status("01/01/2020").mid(0, 5) << 2 << 0 << 0 << 1 << 10 << hoje << false;
    QTest::newRow("sexta linha sem data") << QStringList{"a", "b", "c", "d", "e", "Último backup realizado: nunca"}
                                          << 1 << 1 << 0 << 0 << 0 << hoje << false;
}

void TesteRegrasBackup::lembrete()
{
    QFETCH(QStringList, status);
    QFETCH(int, modo);
    QFETCH(int, periodo);
    QFETCH(int, unidade);
    QFETCH(int, exames);
    QFETCH(int, semBackup);
    QFETCH(QDate, hoje);
    QFETCH(bool, devido);
    QCOMPARE(Backup::BackupDevido(RegraAutomatica{modo, periodo, unidade, exames}, status, semBackup, hoje), devido);
}

QTEST_GUILESS_MAIN(TesteRegrasBackup)
#include "tst_regras.moc"
