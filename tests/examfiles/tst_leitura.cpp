// The examination reader: both a.txt layouts, numbers in either decimal form, the missing-
// file messages in their order, malformed files, and what it holds after a load that failed.

#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "platform/UMensagens.h"
#include "tests/examfiles/MatrizTeste.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cstring>
#include <memory>

namespace {

bool PreparaRegistros(InstalacaoTeste& inst)
{
    if (!inst.Valida())
        return false;
    TBIniSettings ini;
    if (!ini.LoadAll(3))
        return false;
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    return true;
}

void Grava(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// An examination whose every value says where it is: d = 40 + meridian/1000 + ring/10,
// m = 12.5 * ring + meridian/100.
struct ExameConhecido {
    MatrizTeste d;
    MatrizTeste m;
    TAneisMeridiano aneis;
    TDadosPupila pupila = {101, 102, -103, 104};
    ExameConhecido()
    {
        for (int i = 0; i < ZR_MERIDIANOS; ++i) {
            aneis[i] = 10 + i % 7;
            for (int j = 0; j < ZR_COLUNAS_ANEL; ++j) {
                (*d)[i][j] = 40 + (i + 1) / 1000.0 + j / 10.0;
                (*m)[i][j] = 12.5 * j + (i + 1) / 100.0;
            }
        }
    }
};

QString Linhas(int quantas, const QString& linha)
{
    QString s;
    for (int k = 0; k < quantas; ++k)
        s += linha + QStringLiteral("\r\n");
    return s;
}

} // namespace

class TesteLeitura : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void idaEVolta();
    void formaAntigaDoArquivoA();
    void linhasDeValores_data();
    void linhasDeValores();
    void arquivoAusente_data();
    void arquivoAusente();
    void arquivoMalformado_data();
    void arquivoMalformado();
    void cargaFalhaNaoMisturaExames();
    void copias();

private:
    std::unique_ptr<InstalacaoTeste> m_inst;
    QString m_prefixo;
};

void TesteLeitura::initTestCase()
{
    m_inst = std::make_unique<InstalacaoTeste>();
    QVERIFY(PreparaRegistros(*m_inst));
}

void TesteLeitura::cleanupTestCase()
{
    m_inst.reset();
}

// Every case starts from an empty patient folder.
void TesteLeitura::init()
{
    InfosZR.NumAneis = 16;
    QDir pasta(PastaExamesPaciente(12));
    QVERIFY(pasta.removeRecursively());
    QVERIFY(QDir().mkpath(pasta.path()));
    m_prefixo = PrefixoExame(12, 57);
    QCOMPARE(m_prefixo, m_inst->Pastas().dados + QStringLiteral("/Exames/12/57"));
}

void TesteLeitura::idaEVolta()
{
    ExameConhecido e;
    GravaArquivoD(12, 57, *e.d);
    GravaArquivoM(12, 57, *e.m);
    GravaArquivoA(12, 57, e.aneis, 331.6, 228.2, e.pupila);

    MensagensRoteiro msgs;
    TBMapOperation leitor;
    QVERIFY(leitor.CarregaExame(m_prefixo));
    QVERIFY(msgs.Registros().isEmpty());
    QCOMPARE(leitor.ArquivoM(), m_prefixo + QStringLiteral("m.txt"));
    QCOMPARE(leitor.ArquivoD(), m_prefixo + QStringLiteral("d.txt"));
    QCOMPARE(leitor.ArquivoA(), m_prefixo + QStringLiteral("a.txt"));
    QCOMPARE(leitor.CentroX(), 332.0);
    QCOMPARE(leitor.CentroY(), 228.0);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(leitor.Pupila()[k], e.pupila[k]);
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        QCOMPARE(leitor.AneisPorMeridiano()[i], e.aneis[i]);
        for (int j = 0; j <= 16; ++j) {
            // Two decimals survive the file: 40 + i/1000 + j/10 within half a hundredth.
            QVERIFY(qAbs(leitor.Dioptrias()[i][j] - (*e.d)[i][j]) <= 0.005 + 1e-9);
            QVERIFY(qAbs(leitor.Posicoes()[i][j] - (*e.m)[i][j]) <= 1e-9);
        }
        QCOMPARE(leitor.Dioptrias()[i][17], 0.0); // not in the file
    }
    // Meridian 7 (row 6): 40.007 + ring/10, stored as 40.01 + ring/10.
    QCOMPARE(leitor.Dioptrias()[6][3], 40.31);
}

void TesteLeitura::formaAntigaDoArquivoA()
{
    ExameConhecido e;
    GravaArquivoD(12, 57, *e.d);
    GravaArquivoM(12, 57, *e.m);
    QString a = QStringLiteral("320\r\n240\r\n");
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        a += QString::number(i == 0 ? 16 : i % 33) + QStringLiteral("\r\n");
    Grava(m_prefixo + QStringLiteral("a.txt"), a.toLatin1());

    TBMapOperation leitor;
    QVERIFY(leitor.CarregaExame(m_prefixo));
    QCOMPARE(leitor.CentroX(), 320.0);
    QCOMPARE(leitor.CentroY(), 240.0);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(leitor.Pupila()[k], 0);
    QCOMPARE(leitor.AneisPorMeridiano()[0], 16);
    QCOMPARE(leitor.AneisPorMeridiano()[1], 1);
    QCOMPARE(leitor.AneisPorMeridiano()[359], 359 % 33);

    // The same file in the current layout, with LF line breaks and a centre with a comma.
    QString novo = QStringLiteral("320,4\n239.6\n@\n1\n2\n3\n4\n");
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        novo += QStringLiteral("16\n");
    Grava(m_prefixo + QStringLiteral("a.txt"), novo.toLatin1());
    QVERIFY(leitor.CarregaExame(m_prefixo));
    QCOMPARE(leitor.CentroX(), 320.4);
    QCOMPARE(leitor.CentroY(), 239.6);
    QCOMPARE(leitor.Pupila()[3], 4);
    QCOMPARE(leitor.AneisPorMeridiano()[359], 16);
}

void TesteLeitura::linhasDeValores_data()
{
    QTest::addColumn<QString>("linha");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<double>("coluna0");
    QTest::addColumn<double>("coluna1");
    QTest::newRow("espaço no fim") << "43.50 44.00 " << "." << 43.5 << 44.0;
    QTest::newRow("sem espaço no fim") << "43.50 44.00" << "." << 43.5 << 44.0;
    QTest::newRow("vírgula decimal") << "43,50 44,00 " << "." << 43.5 << 44.0;
    QTest::newRow("mistura") << "43,50 44.00 " << "." << 43.5 << 44.0;
    QTest::newRow("separador vírgula") << "43.50 44,00 " << "," << 43.5 << 44.0;
}

void TesteLeitura::linhasDeValores()
{
    QFETCH(QString, linha);
    QFETCH(QString, separador);
    QFETCH(double, coluna0);
    QFETCH(double, coluna1);
    const QString matriz = linha + QStringLiteral("\r\n") + Linhas(359, QStringLiteral("41.00 42.00 43.00 "));
    Grava(m_prefixo + QStringLiteral("d.txt"), matriz.toLatin1());
    Grava(m_prefixo + QStringLiteral("m.txt"), Linhas(360, QStringLiteral("0 20 40 ")).toLatin1());
    Grava(m_prefixo + QStringLiteral("a.txt"),
          (QStringLiteral("320\r\n240\r\n@\r\n0\r\n0\r\n0\r\n0\r\n") + Linhas(360, QStringLiteral("2"))).toLatin1());

    TBMapOperation leitor;
    QVERIFY(leitor.CarregaExame(m_prefixo, separador[0]));
    QCOMPARE(leitor.Dioptrias()[0][0], coluna0);
    QCOMPARE(leitor.Dioptrias()[0][1], coluna1);
    QCOMPARE(leitor.Dioptrias()[0][2], 0.0); // the line holds two values only
    QCOMPARE(leitor.Dioptrias()[1][2], 43.0);
    QCOMPARE(leitor.Posicoes()[359][2], 40.0);
}

void TesteLeitura::arquivoAusente_data()
{
    QTest::addColumn<QStringList>("presentes");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("só d.txt") << QStringList{"d.txt"} << "Arquivo m.txt não encontrado!";
    QTest::newRow("d e a sem m") << QStringList{"d.txt", "a.txt"} << "Arquivo m.txt não encontrado!";
    QTest::newRow("sem d") << QStringList{"m.txt", "a.txt"} << "Arquivo d.txt não encontrado!";
    QTest::newRow("sem a") << QStringList{"m.txt", "d.txt"} << "Arquivo a.txt não encontrado!";
}

void TesteLeitura::arquivoAusente()
{
    QFETCH(QStringList, presentes);
    QFETCH(QString, mensagem);
    ExameConhecido e;
    if (presentes.contains(QStringLiteral("d.txt")))
        GravaArquivoD(12, 57, *e.d);
    if (presentes.contains(QStringLiteral("m.txt")))
        GravaArquivoM(12, 57, *e.m);
    if (presentes.contains(QStringLiteral("a.txt")))
        GravaArquivoA(12, 57, e.aneis, 320, 240, e.pupila);

    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    TBMapOperation leitor;
    QVERIFY(!leitor.CarregaExame(m_prefixo));
    QCOMPARE(msgs.Textos(), QStringList{mensagem});
    QCOMPARE(msgs.Registros().first().titulo, QStringLiteral("Erro"));
    QCOMPARE(msgs.Registros().first().icone, IconeMensagem::Erro);
    QCOMPARE(msgs.Registros().first().botoes, BotoesMensagem::Ok);
}

void TesteLeitura::arquivoMalformado_data()
{
    QTest::addColumn<QString>("arquivo");
    QTest::addColumn<QByteArray>("conteudo");
    const QString cabecalho = QStringLiteral("320\r\n240\r\n@\r\n0\r\n0\r\n0\r\n0\r\n");
    QTest::newRow("valor inválido em d") << "d.txt" << (Linhas(5, "40.00 41.00 ") + "40.00 4x.5 \r\n").toLatin1();
    QString longa;
    for (int j = 0; j < 34; ++j)
        longa += QStringLiteral("40.00 ");
    QTest::newRow("34 valores em m") << "m.txt" << Linhas(1, longa).toLatin1();
    QTest::newRow("anéis acima de 32") << "a.txt" << (cabecalho + Linhas(20, "16") + Linhas(1, "33") + Linhas(339, "16")).toLatin1();
    QTest::newRow("anéis negativos") << "a.txt" << (cabecalho + Linhas(1, "-1") + Linhas(359, "16")).toLatin1();
    QTest::newRow("a.txt curto") << "a.txt" << (cabecalho + Linhas(300, "16")).toLatin1();
    QTest::newRow("pupila inválida") << "a.txt" << ("320\r\n240\r\n@\r\n0\r\n1.5\r\n0\r\n0\r\n" + Linhas(360, "16")).toLatin1();
    QTest::newRow("centro inválido") << "a.txt" << ("x\r\n240\r\n" + Linhas(360, "16")).toLatin1();
    QTest::newRow("a.txt vazio") << "a.txt" << QByteArray();
    QTest::newRow("valor de 1 MB em d") << "d.txt" << (Linhas(1, "40.00 ") + QString(1 << 20, u'4') + "x \r\n").toLatin1();
    QTest::newRow("contagem de 1 MB em a") << "a.txt" << (cabecalho + QString(1 << 20, u'1') + "\r\n" + Linhas(359, "16")).toLatin1();
    // Far beyond any examination: refused before it is read.
    QTest::newRow("m.txt de 11 MB") << "m.txt" << QByteArray(11 << 20, ' ');
}

void TesteLeitura::arquivoMalformado()
{
    QFETCH(QString, arquivo);
    QFETCH(QByteArray, conteudo);
    ExameConhecido e;
    GravaArquivoD(12, 57, *e.d);
    GravaArquivoM(12, 57, *e.m);
    GravaArquivoA(12, 57, e.aneis, 320, 240, e.pupila);
    Grava(m_prefixo + arquivo, conteudo);

    MensagensRoteiro msgs;
    TBMapOperation leitor;
    try {
        leitor.CarregaExame(m_prefixo);
        QFAIL("carregado");
    } catch (const ErroSistema& erro) {
        QVERIFY2(erro.Mensagem().contains(arquivo), qPrintable(erro.Mensagem().left(300)));
        QVERIFY2(erro.Mensagem().size() < 200, qPrintable(erro.Mensagem().left(300)));
        QCOMPARE(dynamic_cast<const ErroES*>(&erro) != nullptr, conteudo.size() > 10 << 20);
    }
    QVERIFY(msgs.Registros().isEmpty());
}

// A load that does not complete leaves an empty examination, never the one before it
// (which could be another patient's) nor a mix of both.
void TesteLeitura::cargaFalhaNaoMisturaExames()
{
    ExameConhecido e;
    GravaArquivoD(12, 57, *e.d);
    GravaArquivoM(12, 57, *e.m);
    GravaArquivoA(12, 57, e.aneis, 320, 240, e.pupila);
    GravaArquivoM(12, 58, *e.m); // exam 58 lacks its d.txt

    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    TBMapOperation leitor;
    QVERIFY(leitor.CarregaExame(m_prefixo));
    const double* d = &leitor.Dioptrias()[0][0];
    QVERIFY(!leitor.CarregaExame(PrefixoExame(12, 58)));
    QCOMPARE(msgs.Textos(), QStringList{QStringLiteral("Arquivo d.txt não encontrado!")});
    QCOMPARE(&leitor.Dioptrias()[0][0], d); // same place, so references handed out stay valid
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        QCOMPARE(leitor.AneisPorMeridiano()[i], 0);
        QCOMPARE(leitor.Dioptrias()[i][1], 0.0);
        QCOMPARE(leitor.Posicoes()[i][1], 0.0);
    }
    QCOMPARE(leitor.CentroX(), 0.0);
    QCOMPARE(leitor.Pupila()[0], 0);

    Grava(m_prefixo + QStringLiteral("d.txt"), "40.00 abc\r\n");
    QVERIFY_THROWS_EXCEPTION(ErroConversao, leitor.CarregaExame(m_prefixo));
    QCOMPARE(leitor.Posicoes()[0][1], 0.0);
}

void TesteLeitura::copias()
{
    ExameConhecido e;
    GravaArquivoD(12, 57, *e.d);
    GravaArquivoM(12, 57, *e.m);
    GravaArquivoA(12, 57, e.aneis, 300, 200, e.pupila);
    TBMapOperation leitor;
    QVERIFY(leitor.CarregaExame(m_prefixo));
    auto d = MatrizTeste{};
    auto m = MatrizTeste{};
    TAneisMeridiano aneis;
    TDadosPupila pupila;
    leitor.CopiaDioptrias(*d);
    leitor.CopiaPosicoes(*m);
    leitor.CopiaAneis(aneis);
    leitor.CopiaPupila(pupila);
    QCOMPARE(std::memcmp(d.get(), leitor.Dioptrias(), sizeof(TMatrizAngAnel)), 0);
    QCOMPARE(std::memcmp(m.get(), leitor.Posicoes(), sizeof(TMatrizAngAnel)), 0);
    QCOMPARE(std::memcmp(aneis, leitor.AneisPorMeridiano(), sizeof aneis), 0);
    QCOMPARE(std::memcmp(pupila, e.pupila, sizeof pupila), 0);
    QCOMPARE((*m)[100][16], 200.0 + 1.01);
    leitor.RefCentroX() = 12.0;
    QCOMPARE(leitor.CentroX(), 12.0);
}

QTEST_GUILESS_MAIN(TesteLeitura)
#include "tst_leitura.moc"
