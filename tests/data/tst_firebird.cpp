// The Firebird wrapper: parameter translation, value conversion both ways, cp1252 storage,
// errors, blobs, against a real database.

#include "data/UEsquemaBD.h"
#include "data/UFirebird.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QtTest>

class TesteFirebird : public QObject {
    Q_OBJECT

    InstalacaoTeste* m_instalacao = nullptr;
    QString m_arquivo;
    fb::Conexao m_conexao;
    fb::Transacao m_transacao{m_conexao};

    void Inicia()
    {
        if (!m_transacao.Ativa())
            m_transacao.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
    }

    QVector<QVariant> UmaLinha(const QString& sql, const QList<QPair<QString, QVariant>>& params = {})
    {
        Inicia();
        fb::Comando c(m_conexao);
        c.Prepara(m_transacao, sql);
        for (const auto& p : params)
            c.DefineParametro(p.first, p.second);
        c.Executa(m_transacao);
        QVector<QVariant> linha;
        if (!c.Busca(linha))
            linha.clear();
        return linha;
    }

    void Executa(const QString& sql, const QList<QPair<QString, QVariant>>& params = {})
    {
        Inicia();
        fb::Comando c(m_conexao);
        c.Prepara(m_transacao, sql);
        for (const auto& p : params)
            c.DefineParametro(p.first, p.second);
        c.Executa(m_transacao);
    }

private slots:
    void initTestCase()
    {
        m_instalacao = new InstalacaoTeste;
        QVERIFY(m_instalacao->Valida());
        m_arquivo = m_instalacao->Pastas().dados + QStringLiteral("/Banco de Dados/DATABASE.GDB");
        QVERIFY(QFileInfo::exists(m_arquivo));
        m_conexao.Abre(m_arquivo, {QStringLiteral("user_name=sysdba"),
                                   QStringLiteral("password=qwzk47")});
        // A scratch table for the value round trips.
        Inicia();
        m_conexao.ExecutaImediato(
            m_transacao,
            QStringLiteral("CREATE TABLE VALORES (ID INTEGER, I INTEGER, R DOUBLE PRECISION, "
                           "S VARCHAR(20), D DATE, H TIME, T TIMESTAMP, B BLOB SUB_TYPE 0, "
                           "BT BLOB SUB_TYPE 1, N NUMERIC(9,2))"));
        m_transacao.Commit();
    }

    void cleanupTestCase()
    {
        m_transacao.Rollback();
        m_conexao.Fecha();
        delete m_instalacao;
    }

    void traducaoParametros_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<QStringList>("nomes");
        QTest::newRow("procedimento")
            << "Execute Procedure InsertArquivos  :Codigo_Exames,:Imagem_Central,:Imagem_Lateral"
            << "Execute Procedure InsertArquivos  ?,?,?"
            << QStringList{"Codigo_Exames", "Imagem_Central", "Imagem_Lateral"};
        QTest::newRow("igualdade colada")
            << "SELECT COUNT(*) FROM Exames WHERE Exames.CodResp=:CodMed AND Exames.CodPaciente=:CodPac"
            << "SELECT COUNT(*) FROM Exames WHERE Exames.CodResp=? AND Exames.CodPaciente=?"
            << QStringList{"CodMed", "CodPac"};
        QTest::newRow("texto entre aspas")
            << "select ':x', 'a''b:c' from t where h = '10:30' and a=:y"
            << "select ':x', 'a''b:c' from t where h = '10:30' and a=?" << QStringList{"y"};
        QTest::newRow("identificador entre aspas")
            << "select \"A:B\" from t where c = :c" << "select \"A:B\" from t where c = ?"
            << QStringList{"c"};
        QTest::newRow("comentarios")
            << "select 1 /* :a */ from t -- :b\nwhere x=:Xis"
            << "select 1 /* :a */ from t -- :b\nwhere x=?" << QStringList{"Xis"};
        QTest::newRow("mesmo nome duas vezes")
            << "select 1 from t where a=:Cod or b=:COD" << "select 1 from t where a=? or b=?"
            << QStringList{"Cod", "COD"};
        QTest::newRow("sem parametros") << "SELECT COUNT(*) FROM Laudos"
                                        << "SELECT COUNT(*) FROM Laudos" << QStringList{};
    }

    void traducaoParametros()
    {
        QFETCH(QString, sql);
        QFETCH(QString, esperado);
        QFETCH(QStringList, nomes);
        QStringList obtidos;
        QCOMPARE(fb::Comando::TraduzParametros(sql, obtidos), esperado);
        QCOMPARE(obtidos, nomes);
    }

    void datasDoMotor_data()
    {
        QTest::addColumn<QDate>("data");
        QTest::addColumn<int>("dias");
        // Modified Julian Day numbers.
        QTest::newRow("origem") << QDate(1858, 11, 17) << 0;
        QTest::newRow("2000") << QDate(2000, 1, 1) << 51544;
        QTest::newRow("1899-12-30") << QDate(1899, 12, 30) << 15018;
        QTest::newRow("antes da origem") << QDate(1858, 11, 16) << -1;
    }

    void datasDoMotor()
    {
        QFETCH(QDate, data);
        QFETCH(int, dias);
        QCOMPARE(fb::ParaDataFirebird(data), dias);
        QCOMPARE(fb::DeDataFirebird(dias), data);
    }

    void horasDoMotor()
    {
        QCOMPARE(fb::ParaHoraFirebird(QTime(12, 0)), 432000000u);
        QCOMPARE(fb::ParaHoraFirebird(QTime(0, 0, 1, 5)), 10050u);
        QCOMPARE(fb::DeHoraFirebird(863990000u), QTime(23, 59, 59));
    }

    // Each kind of value goes in through a parameter and comes back equal.
    void valoresIdaEVolta_data()
    {
        QTest::addColumn<QString>("coluna");
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<QVariant>("esperado");
        QTest::newRow("inteiro") << "I" << QVariant(-123456) << QVariant(qint64(-123456));
        QTest::newRow("inteiro como texto") << "I" << QVariant(QStringLiteral("42"))
                                            << QVariant(qint64(42));
        QTest::newRow("real") << "R" << QVariant(0.1 + 0.2) << QVariant(0.1 + 0.2);
        QTest::newRow("texto acentuado") << "S" << QVariant(QStringLiteral("D'Ávila ç º ª €"))
                                         << QVariant(QStringLiteral("D'Ávila ç º ª €"));
        QTest::newRow("texto vazio") << "S" << QVariant(QString(QLatin1String("")))
                                     << QVariant(QString(QLatin1String("")));
        QTest::newRow("data") << "D" << QVariant(QDate(2007, 1, 1)) << QVariant(QDate(2007, 1, 1));
        QTest::newRow("hora") << "H" << QVariant(QTime(13, 45, 59)) << QVariant(QTime(13, 45, 59));
        QTest::newRow("momento") << "T" << QVariant(QDateTime(QDate(2024, 2, 29), QTime(8, 0, 1)))
                                 << QVariant(QDateTime(QDate(2024, 2, 29), QTime(8, 0, 1)));
        QByteArray bytes;
        for (int i = 0; i < 100000; ++i)
            bytes.append(char(i * 7 % 256));
        QTest::newRow("blob binário grande") << "B" << QVariant(bytes) << QVariant(bytes);
        QTest::newRow("blob vazio") << "B" << QVariant(QByteArray()) << QVariant(QByteArray(""));
        QTest::newRow("blob de texto") << "BT" << QVariant(QStringLiteral("Conclusão: ok"))
                                       << QVariant(QStringLiteral("Conclusão: ok"));
        QTest::newRow("nulo") << "S" << QVariant() << QVariant();
        QTest::newRow("numérico com escala") << "N" << QVariant(12.34) << QVariant(12.34);
    }

    void valoresIdaEVolta()
    {
        QFETCH(QString, coluna);
        QFETCH(QVariant, valor);
        QFETCH(QVariant, esperado);
        static int id = 0;
        ++id;
        Executa(QStringLiteral("insert into VALORES (ID, %1) values (:Id, :Valor)").arg(coluna),
                {{"id", id}, {"VALOR", valor}});
        const auto linha = UmaLinha(QStringLiteral("select %1 from VALORES where ID = :id").arg(coluna),
                                    {{"ID", id}});
        QCOMPARE(linha.size(), 1);
        QCOMPARE(linha[0].isValid(), esperado.isValid());
        if (esperado.isValid()) {
            if (esperado.typeId() == QMetaType::QByteArray)
                QCOMPARE(linha[0].toByteArray(), esperado.toByteArray());
            else
                QCOMPARE(linha[0], esperado);
        }
    }

    // Texts are stored in WIN1252: one byte per character, accented ones included.
    void textoGravadoEmWin1252()
    {
        const QString texto = QStringLiteral("Conceição D'Ávila");
        Executa(QStringLiteral("insert into VALORES (ID, S) values (-1, :S)"), {{"S", texto}});
        const auto linha =
            UmaLinha(QStringLiteral("select octet_length(S), char_length(S) from VALORES where ID = -1"));
        QCOMPARE(linha.at(0).toInt(), 17);
        QCOMPARE(linha.at(1).toInt(), 17);
    }

    void colunasPorNomeSemCaixa()
    {
        Inicia();
        fb::Comando c(m_conexao);
        c.Prepara(m_transacao, QStringLiteral("select 1 as Um, 2 as DOIS from rdb$database"));
        QCOMPARE(c.IndiceColuna(QStringLiteral("um")), 0);
        QCOMPARE(c.IndiceColuna(QStringLiteral("Dois")), 1);
        QCOMPARE(c.IndiceColuna(QStringLiteral("tres")), -1);
    }

    void parametroDesconhecidoEhErro()
    {
        Inicia();
        fb::Comando c(m_conexao);
        c.Prepara(m_transacao, QStringLiteral("select 1 from rdb$database where 1 = :Um"));
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, c.DefineParametro(QStringLiteral("Dois"), 2));
    }

    void textoLongoDemaisEhRecusado()
    {
        const auto antes = UmaLinha(QStringLiteral("select count(*) from VALORES"));
        try {
            Executa(QStringLiteral("insert into VALORES (ID, S) values (-2, :S)"),
                    {{"S", QString(21, QLatin1Char('x'))}});
            QFAIL("o texto longo demais foi aceito");
        } catch (const fb::ErroFirebird& e) {
            QVERIFY2(e.Mensagem().contains(QLatin1String("truncation")), qPrintable(e.Mensagem()));
        }
        QCOMPARE(UmaLinha(QStringLiteral("select count(*) from VALORES")), antes);
    }

    void erroTrazMensagemDoMotor()
    {
        try {
            UmaLinha(QStringLiteral("select * from TABELA_QUE_NAO_EXISTE"));
            QFAIL("sem erro");
        } catch (const fb::ErroFirebird& e) {
            QVERIFY2(e.Mensagem().contains(QLatin1String("TABELA_QUE_NAO_EXISTE")),
                     qPrintable(e.Mensagem()));
            QCOMPARE(e.CodigoSql(), -204);
        }
    }

    void informacaoDoBanco()
    {
        // On-disk structure 12 is Firebird 3's.
        QCOMPARE(m_conexao.VersaoEstrutura(), 12);
        fb::Conexao fechada;
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, fechada.VersaoEstrutura());
    }

    void arquivoAusenteEhErroDeES()
    {
        fb::Conexao c;
        try {
            c.Abre(m_instalacao->Raiz() + QStringLiteral("/nao_existe.gdb"),
                   {QStringLiteral("user_name=sysdba"), QStringLiteral("password=qwzk47")});
            QFAIL("abriu um arquivo que não existe");
        } catch (const fb::ErroFirebird& e) {
            QVERIFY(!e.FalhaLogin());
        }
        QVERIFY(!c.Aberta());
    }
};

QTEST_GUILESS_MAIN(TesteFirebird)
#include "tst_firebird.moc"
