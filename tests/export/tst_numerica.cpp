// The numeric export of an examination: the grids against the surfaces the examinations were
// made from, the round trip through the JSON reader and the CSV, the patient identification
// only on request, refused files, and a folder that cannot be written.

#include "common/UErros.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "export/UExportacao.h"
#include "export/UExportaNumerica.h"
#include "platform/UMensagens.h"
#include "tests/support/UExameSintetico.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

class TesteExportaNumerica : public QObject {
    Q_OBJECT
    QTemporaryDir m_pasta;

    // Stores the examination as the capture stores it and builds its export.
    ExameExportado Exporta(const ExameSintetico& e)
    {
        const QString prefixo = m_pasta.filePath(QStringLiteral("7"));
        GravaArquivosExame(prefixo, ConteudoMatriz(e.d, 16), ConteudoMatriz(e.m, 16),
                           ConteudoArquivoA(e.aneis, e.centroX, e.centroY, e.pupila));
        TBMapOperation leitor;
        [&] { QVERIFY(leitor.CarregaExame(prefixo)); }();
        CabecalhoExportacao c;
        c.codigo = 7;
        c.olho = QStringLiteral("OD");
        c.data = QDate(2004, 3, 5);
        c.hora = QTime(14, 7, 9);
        c.aneis = 16;
        c.tipoCone = QStringLiteral("2");
        c.dataCalibracao = QStringLiteral("01/02/2026");
        c.fatorCorrecao = ExameSintetico::kFator;
        c.indiceConfianca = 97.5;
        return MontaExportacao(c, leitor);
    }

private slots:
    // The grid and the keratometry against the surface's own formulas; the tangential power
    // of a conic checked against its closed form (three-point derivative: 0.15 D).
    void grades_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<double>("k1");
        QTest::addColumn<double>("k2");
        QTest::addColumn<int>("eixo1");
        QTest::newRow("esfera 43 D") << 0 << 43.0 << 43.0 << -1;
        QTest::newRow("tórica 42/45 @ 90") << 1 << 45.0 << 42.0 << 90;
        // The keratometry of a conic is its mean axial power over the central 3 mm.
        double media = 0;
        for (int c = 0; c <= 75; ++c)
            media += ExameSintetico::PotenciaAxialConica(7.8, -0.2, c * ExameSintetico::kFator) / 76.0;
        QTest::newRow("cônica R 7.8 Q -0.2") << 2 << media << media << -1;
    }
    void grades()
    {
        QFETCH(int, tipo);
        QFETCH(double, k1);
        QFETCH(double, k2);
        QFETCH(int, eixo1);
        const std::function<double(double, double)> axial[] = {
            [](double, double) { return 43.0; },
            [](double, double eixo) {
                const double c = std::cos((eixo - 90.0) * M_PI / 180.0);
                return 42.0 + 3.0 * c * c;
            },
            [](double r, double) { return ExameSintetico::PotenciaAxialConica(7.8, -0.2, r); }};
        const auto e = std::make_unique<ExameSintetico>(axial[tipo]);
        const ExameExportado x = Exporta(*e);

        QCOMPARE(x.meridianos.size(), 360);
        for (const MeridianoExportado& m : x.meridianos) {
            QCOMPARE(m.raioMm.size(), 17);
            const double eixo = std::fmod(360.0 - m.meridiano, 360.0);
            for (int j = 1; j <= 16; ++j) {
                const double r = j * ExameSintetico::kPassoAnel;
                QVERIFY2(std::abs(m.raioMm[j] - r) < 1e-9, qPrintable(QString::number(m.meridiano)));
                QVERIFY(std::abs(m.axialD[j] - axial[tipo](r, eixo)) <= 0.0051);
                const double tang = tipo == 2 ? ExameSintetico::PotenciaTangencialConica(7.8, -0.2, r)
                                              : axial[tipo](r, eixo);
                QVERIFY2(std::abs(m.tangencialD[j] - tang) < 0.15,
                         qPrintable(QStringLiteral("meridiano %1 anel %2: %3 / %4").arg(m.meridiano).arg(j).arg(m.tangencialD[j]).arg(tang)));
            }
        }
        QVERIFY2(std::abs(x.k1 - k1) < 0.05, qPrintable(QString::number(x.k1)));
        QVERIFY2(std::abs(x.k2 - k2) < 0.05, qPrintable(QString::number(x.k2)));
        if (eixo1 >= 0)
            QCOMPARE(x.eixo1 % 180, eixo1);
        QVERIFY(x.valorMaximo >= x.k1 - 0.05);
    }

    // What is written is read back to the last decimal: the JSON through its reader, the CSV
    // line by line; the identification goes in only when asked for.
    void idaEVolta_data()
    {
        QTest::addColumn<bool>("identificacao");
        QTest::newRow("sem identificação") << false;
        QTest::newRow("com identificação") << true;
    }
    void idaEVolta()
    {
        QFETCH(bool, identificacao);
        const auto e = std::make_unique<ExameSintetico>(ExameSintetico::Conica(7.6, -0.3));
        ExameExportado x = Exporta(*e);
        x.temIdentificacao = true;
        x.identificacao = {QStringLiteral("Conceição D'Ávila Gonçalves"), QStringLiteral("12.345.678-9"),
                           QStringLiteral("98765432100"), QStringLiteral("17/08/1961")};
        QTemporaryDir saida;
        const QStringList arquivos = GravaExportacaoNumerica(saida.path(), x, identificacao);
        QCOMPARE(arquivos.size(), 2);
        QFile json(arquivos[0]), csv(arquivos[1]);
        QVERIFY(json.open(QIODevice::ReadOnly) && csv.open(QIODevice::ReadOnly));
        const QByteArray textoJson = json.readAll();
        for (const QString& dado : {x.identificacao.nome, x.identificacao.rg, x.identificacao.cpf,
                                    x.identificacao.dataNascimento, QStringLiteral("1961")})
            QCOMPARE(textoJson.contains(dado.toUtf8()), identificacao);

        const ExameExportado lido = LeJsonExportacao(textoJson);
        QCOMPARE(lido.temIdentificacao, identificacao);
        if (identificacao)
            QCOMPARE(lido.identificacao.nome, x.identificacao.nome);
        QCOMPARE(lido.olho, x.olho);
        QCOMPARE(lido.data, x.data);
        QCOMPARE(lido.hora, x.hora);
        QCOMPARE(lido.aneis, 16);
        QCOMPARE(lido.k1, x.k1);
        QCOMPARE(lido.eixo2, x.eixo2);
        QCOMPARE(lido.valorMaximo, x.valorMaximo);
        QVERIFY(lido.temIndices && std::isfinite(x.indices.is) && std::isfinite(x.indices.qPlano));
        QCOMPARE(lido.indices.is, x.indices.is);
        QCOMPARE(lido.indices.qPlano, x.indices.qPlano);
        QCOMPARE(lido.indices.kMaxY, x.indices.kMaxY);
        QCOMPARE(lido.indices.leitura, QStringLiteral("normal"));
        QCOMPARE(lido.meridianos.size(), 360);
        const QList<QByteArray> linhas = csv.readAll().split('\n');
        QCOMPARE(linhas[0], QByteArray("meridian,ring,radius_mm,axial_D,tangential_D"));
        int linha = 1;
        for (int i = 0; i < 360; ++i) {
            const MeridianoExportado &a = x.meridianos[i], &b = lido.meridianos[i];
            QCOMPARE(b.meridiano, i);
            QCOMPARE(b.raioMm, a.raioMm);
            QCOMPARE(b.axialD, a.axialD);
            QCOMPARE(b.tangencialD, a.tangencialD);
            for (int j = 0; j < a.raioMm.size(); ++j) {
                const QList<QByteArray> c = linhas[linha++].split(',');
                QCOMPARE(c.size(), 5);
                QCOMPARE(c[0].toInt(), i);
                QCOMPARE(c[1].toInt(), j);
                QCOMPARE(c[2].toDouble(), a.raioMm[j]);
                QCOMPARE(c[3].toDouble(), a.axialD[j]);
                QCOMPARE(c[4].toDouble(), a.tangencialD[j]);
            }
        }
    }

    // Beside a gap the lids leave (meridians 80..100 measured to ring 10 of 16) the file
    // holds a tangential value only where the map draws one: up to the ring whose next ring
    // out was measured on every meridian within 4 degrees; the axial values stay as measured.
    void tangencialNaBordaDaPalpebra()
    {
        auto e = std::make_unique<ExameSintetico>(ExameSintetico::Esfera(43.0));
        for (int k = 80; k <= 100; ++k)
            e->aneis[k - 1] = 10;
        const ExameExportado lido = LeJsonExportacao(JsonExportacao(Exporta(*e), false));
        for (int k = 1; k <= 360; ++k) {
            const MeridianoExportado& m = lido.meridianos[k % 360];
            const bool naFenda = k >= 80 && k <= 100, perto = k >= 76 && k <= 104;
            QCOMPARE(m.axialD.size(), naFenda ? 11 : 17);
            const int ultimoTangencial = perto ? 9 : 16;
            for (int j = 0; j < m.tangencialD.size(); ++j)
                QVERIFY2(j <= ultimoTangencial ? std::abs(m.tangencialD[j] - 43.0) < 0.01 : std::isnan(m.tangencialD[j]),
                         qPrintable(QStringLiteral("meridiano %1 anel %2: %3").arg(k).arg(j).arg(m.tangencialD[j])));
        }
    }

    // An index the rings do not reach is null in the file, with the reason beside it.
    void indiceSemValor()
    {
        const auto e = std::make_unique<ExameSintetico>([](double, double) { return 44.0; }, 8);
        const ExameExportado lido = LeJsonExportacao(JsonExportacao(Exporta(*e), false));
        QVERIFY(lido.temIndices && std::isnan(lido.indices.is) && std::isfinite(lido.indices.kCentral));
        QVERIFY(lido.indices.motivos.value(QStringLiteral("i_s_D")).contains(QStringLiteral("3 mm")));
    }

    // Texts that are not an export are refused with the reason.
    void arquivoInvalido_data()
    {
        QTest::addColumn<QByteArray>("texto");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("não é JSON") << QByteArray("meridian,ring") << QStringLiteral("não é um documento JSON");
        QTest::newRow("outro documento") << QByteArray("{\"a\":1}") << QStringLiteral("não é a exportação");
        QTest::newRow("versão futura") << QByteArray("{\"format\":\"topografia-exame\",\"format_version\":2}")
                                       << QStringLiteral("versão 2");
    }
    void arquivoInvalido()
    {
        QFETCH(QByteArray, texto);
        QFETCH(QString, motivo);
        try {
            LeJsonExportacao(texto);
            QFAIL("aceito");
        } catch (const ErroConversao& e) {
            QVERIFY2(e.Mensagem().contains(motivo), qPrintable(e.Mensagem()));
        }
    }

    // What stops a request before anything is written.
    void pedido_data()
    {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QString>("problema");
        QTest::newRow("números para a pasta") << 0 << QString();
        QTest::newRow("nada escolhido") << 1 << QStringLiteral("Escolha o que exportar");
        QTest::newRow("sem pasta") << 2 << QStringLiteral("Escolha a pasta");
        QTest::newRow("laudo sem arquivo") << 3 << QStringLiteral("Escolha o arquivo PDF");
        QTest::newRow("arquivo de imagens sem configuração") << 4 << QStringLiteral("não está configurado");
        QTest::newRow("só envio, sem pasta") << 5 << QString();
    }
    void pedido()
    {
        QFETCH(int, caso);
        QFETCH(QString, problema);
        PedidoExportacao p;
        p.pasta = m_pasta.path();
        ConfiguracaoPacs pacs;
        pacs.aeArquivo = QStringLiteral("ARQUIVO");
        pacs.host = QStringLiteral("127.0.0.1");
        switch (caso) {
        case 1: p.numeros = false; break;
        case 2: p.pasta.clear(); break;
        case 3: p.laudo = p.dicomPasta = true; p.arquivoLaudo = m_pasta.filePath(QStringLiteral("falta.pdf")); break;
        case 4: p.enviarPacs = true; pacs.host.clear(); break;
        case 5: p.numeros = false; p.pasta.clear(); p.enviarPacs = true; break;
        }
        const QString r = ProblemaPedido(p, pacs);
        QVERIFY2(problema.isEmpty() ? r.isEmpty() : r.contains(problema), qPrintable(r));
    }

    // A folder that cannot be written: the message names the file and nothing remains.
    void pastaSemGravacao()
    {
        const auto e = std::make_unique<ExameSintetico>(ExameSintetico::Esfera(43));
        const ExameExportado x = Exporta(*e);
        QTemporaryDir saida;
        QFile arquivo(saida.filePath(QStringLiteral("ocupado")));
        QVERIFY(arquivo.open(QIODevice::WriteOnly));
        arquivo.close();
        const QString pasta = saida.filePath(QStringLiteral("ocupado/exportacao"));
        try {
            GravaExportacaoNumerica(pasta, x, false);
            QFAIL("gravado");
        } catch (const ErroES& erro) {
            QVERIFY2(erro.Mensagem().contains(QStringLiteral("exame_7_OD.json")), qPrintable(erro.Mensagem()));
        }
        QCOMPARE(QDir(saida.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{QStringLiteral("ocupado")});
    }
};

QTEST_GUILESS_MAIN(TesteExportaNumerica)
#include "tst_numerica.moc"
