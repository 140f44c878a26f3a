// Storage of new examinations on a fresh database: each eye keeps its own files, a failure
// at any stage leaves nothing behind and a retry stores exactly one examination, the four
// ortho-k examinations go in together, the images as the options say; and the checks the
// assistant applies to the modules' results before it trusts them.

#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "data/UBJpeg.h"
#include "data/UDArquivos.h"
#include "examfiles/UArquivosExame.h"
#include "navigator/UGravacaoExame.h"
#include "tests/navigator/UCenarioNavegador.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

#include <cmath>
#include <limits>

using namespace CapturaExame;
using namespace GravacaoExame;

namespace {

QByteArray Bitmap(QRgb cor)
{
    QImage img(640, 480, QImage::Format_RGB32);
    img.fill(cor);
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return b;
}

// A processed eye whose values tell it apart: every dioptre of the eye is `d`.
std::unique_ptr<ResultadoNormal> Olho(double d, double indice)
{
    auto r = std::make_unique<ResultadoNormal>();
    r->centroX = 320 + d;
    r->centroY = 240;
    r->indice = indice;
    for (int k = 0; k < 360; ++k) {
        r->aneis[k] = 16;
        for (int j = 0; j <= 16; ++j) {
            r->dioptrias[k][j] = d;
            r->posicoes[k][j] = 10.0 * j;
        }
    }
    r->pupila[0] = 300;
    r->pupila[2] = int(d);
    return r;
}

// Ortho-k texts of four maps; meridian 10 of map k holds only k + 3 values.
struct TextosOrto {
    QStringList pos, diop, val;
    double indices[4] = {81.5, 82.5, 70, 90};
    TextosOrto()
    {
        for (int k = 0; k < 4; ++k)
            for (int m = 0; m < 360; ++m) {
                QString p, d;
                const int n = m == 10 ? k + 3 : 17;
                for (int j = 0; j < n; ++j) {
                    p += FormataNumero(QStringLiteral("00.00"), 10.0 * j + k) + QLatin1Char(' ');
                    d += FormataNumero(QStringLiteral("00.00"), 40 + k + m / 1000.0) + QLatin1Char(' ');
                }
                pos << p;
                diop << d;
            }
        for (int k = 0; k < 4; ++k)
            val << QString::number(500.123456 + k, 'g', 15) << QString::number(12.345649 + k, 'g', 15)
                << QString::number(7.811151 + k / 10.0, 'g', 15) << QStringLiteral("0.5");
    }
};

void Executa(TDMPrincipal& dm, const QString& sql)
{
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, sql);
    dm.PCommitDataBase();
}

// A trigger that refuses the n-th insert (or update) into the table.
void Recusa(TDMPrincipal& dm, const QString& tabela, const QString& evento, int n)
{
    Executa(dm, QStringLiteral("CREATE EXCEPTION RECUSA_TESTE 'recusado pelo teste'"));
    Executa(dm, QStringLiteral("CREATE SEQUENCE CONTA_TESTE"));
    Executa(dm, QStringLiteral("CREATE TRIGGER RECUSA_TESTE FOR %1 BEFORE %2 AS BEGIN "
                               "IF (GEN_ID(CONTA_TESTE, 1) = %3) THEN EXCEPTION RECUSA_TESTE; END")
                    .arg(tabela, evento)
                    .arg(n));
}

QByteArray Bytes(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Relogio {
    QDateTime agora{QDate(2026, 3, 2), QTime(10, 20, 30)};
    Relogio() { DefineRelogio([this] { return agora; }); }
    ~Relogio() { DefineRelogio({}); }
};

} // namespace

class TesteGravacao : public QObject {
    Q_OBJECT
private slots:
    void olhosNoMesmoSegundo();
    void falhaNaoDeixaNada_data();
    void falhaNaoDeixaNada();
    void orto();
    void ortoRecusado();
    void imagens_data();
    void imagens();
    void resultadoNormal_data();
    void resultadoNormal();
    void textosOrto_data();
    void textosOrto();
    void cabecalhos();
};

void TesteGravacao::olhosNoMesmoSegundo()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    Relogio rel;
    const int m = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const auto od = Olho(41.25, 88), os = Olho(44.5, 77);
    const Opcoes o = Opcoes::DaConfiguracao();
    const int eOD = GravaExame(c.DM(), {p, m, kOlhoDireito, {}, {}}, *od, Bitmap(0xff0000), Bitmap(0xff), o).exames[0].codigo;
    const int eOS = GravaExame(c.DM(), {p, m, kOlhoEsquerdo, {}, {}}, *os, Bitmap(0xff0000), Bitmap(0xff), o).exames[0].codigo;
    QVERIFY(eOD != eOS);
    QCOMPARE(Bytes(c.Arquivo(p, eOD, "d.txt")), ConteudoMatriz(od->dioptrias, o.numAneis));
    QCOMPARE(Bytes(c.Arquivo(p, eOS, "d.txt")), ConteudoMatriz(os->dioptrias, o.numAneis));
    QCOMPARE(Bytes(c.Arquivo(p, eOD, "a.txt")), ConteudoArquivoA(od->aneis, od->centroX, od->centroY, od->pupila));
    QCOMPARE(Bytes(c.Arquivo(p, eOS, "m.txt")), ConteudoMatriz(os->posicoes, o.numAneis));
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE Olho='OD' AND IndConf=88 AND Codigo=%1").arg(eOD)), 1);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE Olho='OS' AND IndConf=77 AND Codigo=%1").arg(eOS)), 1);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 2);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("ULTIMOEXAME")).toString(), QStringLiteral("OS 02/03/2026 10:20:30"));
}

void TesteGravacao::falhaNaoDeixaNada_data()
{
    QTest::addColumn<QString>("etapa");
    QTest::addColumn<bool>("gravaSemImagens");
    QTest::newRow("pasta bloqueada") << "pasta" << false;
    QTest::newRow("banco recusa as imagens") << "ARQUIVOS" << true;
    QTest::newRow("banco recusa o paciente") << "PACIENTES" << false;
    QTest::newRow("banco recusa o exame") << "EXAMES" << false;
}

void TesteGravacao::falhaNaoDeixaNada()
{
    QFETCH(QString, etapa);
    QFETCH(bool, gravaSemImagens);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int m = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    const auto r = Olho(43, 90);
    const Exame exame{p, m, kOlhoDireito, QStringLiteral("diag"), QStringLiteral("obs")};
    if (etapa == QLatin1String("pasta")) {
        QFile f(c.PastaPaciente(p));
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else {
        Recusa(c.DM(), etapa, etapa == QLatin1String("PACIENTES") ? QStringLiteral("UPDATE") : QStringLiteral("INSERT"), 1);
    }
    bool falhou = false;
    GravacaoExame::Resultado res;
    try {
        res = GravaExame(c.DM(), exame, *r, Bitmap(0xff00), Bitmap(0xff), Opcoes::DaConfiguracao());
    } catch (const ErroSistema&) {
        falhou = true;
    }
    QCOMPARE(falhou, !gravaSemImagens);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), gravaSemImagens ? 1 : 0);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Arquivos")), 0);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), gravaSemImagens ? 1 : 0);
    if (gravaSemImagens) {
        QVERIFY(!res.imagensGravadas);
        QVERIFY(QFile::exists(c.Arquivo(p, res.exames[0].codigo, "a.txt")));
        return;
    }
    if (etapa == QLatin1String("pasta"))
        QVERIFY(QFile::remove(c.PastaPaciente(p)));
    else
        QVERIFY(!QFileInfo::exists(c.PastaPaciente(p)));
    // The retry (the trigger refused only the first attempt) stores exactly one.
    res = GravaExame(c.DM(), exame, *r, Bitmap(0xff00), Bitmap(0xff), Opcoes::DaConfiguracao());
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 1);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Arquivos")), 1);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 1);
    QCOMPARE(QDir(c.PastaPaciente(p)).entryList(QDir::Files).size(), 3);
}

void TesteGravacao::orto()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    Relogio rel;
    const int m = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    c.Exame(p, m, QDate(2024, 1, 1), QTime(9, 0, 0));
    TextosOrto t;
    auto r = std::make_unique<ResultadoOrto>();
    QVERIFY(LeResultadoOrto(t.pos, t.diop, t.val, t.indices, *r));
    Opcoes o = Opcoes::DaConfiguracao();
    const GravacaoExame::Resultado res = GravaExamesOrto(c.DM(), {p, m, kOlhoEsquerdo, {}, {}}, *r, o,
                                          [&] { rel.agora = rel.agora.addMSecs(1100); });
    QCOMPARE(res.exames.size(), 4);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE TipoExame='O' AND Olho='OS'")), 4);
    ConsultaBD& op = *c.DM().IBOperation;
    for (int k = 0; k < 4; ++k) {
        const int e = res.exames[k].codigo;
        if (k > 0)
            QVERIFY(res.exames[k - 1].quando.secsTo(res.exames[k].quando) >= 1);
        op.Fecha();
        op.DefineSQL(QStringLiteral("SELECT o.*, e.IndConf FROM ExamesOrto o JOIN Exames e ON e.Codigo=o.CodExame "
                                    "WHERE o.CodExame=%1").arg(e));
        op.Abre();
        QVERIFY(!op.Vazia());
        QCOMPARE(op.Real(QStringLiteral("SAG")), std::round((500.123456 + k) * 1e4) / 1e4);
        QCOMPARE(op.Real(QStringLiteral("DIV")), std::round((12.345649 + k) * 1e4) / 1e4);
        QCOMPARE(op.Real(QStringLiteral("RAIO")), std::round((7.811151 + k / 10.0) * 1e4) / 1e4);
        QCOMPARE(op.Real(QStringLiteral("EXC")), 0.0);
        QCOMPARE(op.Real(QStringLiteral("INDCONF")), t.indices[k]);
        op.Fecha();
        QCOMPARE(Bytes(c.Arquivo(p, e, "d.txt")), ParaCp1252(JuntaLinhasCrLf(t.diop.mid(360 * k, 360))));
        QCOMPARE(Bytes(c.Arquivo(p, e, "m.txt")), ParaCp1252(JuntaLinhasCrLf(t.pos.mid(360 * k, 360))));
        const QStringList a = LeArquivoTexto(c.Arquivo(p, e, "a.txt"));
        QCOMPARE(a.size(), 367);
        QCOMPARE(a.mid(0, 7), QStringList({"320", "240", "@", "0", "0", "0", "0"}));
        QCOMPARE(a[7 + 10], QString::number(k + 2)); // the short meridian
        QCOMPARE(a[7 + 11], QString::number(o.numAneis));
    }
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 5);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("ULTIMOEXAME")).toString(),
             QStringLiteral("OS ") + FormataData(res.exames[3].quando.date()) + QLatin1Char(' ') +
                 res.exames[3].quando.time().toString(QStringLiteral("HH:mm:ss")));
}

void TesteGravacao::ortoRecusado()
{
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int m = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    TextosOrto t;
    auto r = std::make_unique<ResultadoOrto>();
    QVERIFY(LeResultadoOrto(t.pos, t.diop, t.val, t.indices, *r));
    Recusa(c.DM(), QStringLiteral("EXAMESORTO"), QStringLiteral("INSERT"), 3);
    QVERIFY_THROWS_EXCEPTION(ErroSistema, GravaExamesOrto(c.DM(), {p, m, kOlhoDireito, {}, {}}, *r,
                                                          Opcoes::DaConfiguracao(), {}));
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 0);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM ExamesOrto")), 0);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 0);
    QVERIFY(!QFileInfo::exists(c.PastaPaciente(p)));
}

void TesteGravacao::imagens_data()
{
    QTest::addColumn<bool>("central");
    QTest::addColumn<bool>("lateral");
    QTest::addColumn<int>("qualidade");
    QTest::addColumn<int>("qualidadeEfetiva");
    QTest::newRow("nenhuma") << false << false << 90 << 90;
    QTest::newRow("só a central") << true << false << 90 << 90;
    QTest::newRow("qualidade acima de 100") << true << true << 150 << 100;
    QTest::newRow("qualidade zero") << true << true << 0 << 1;
}

void TesteGravacao::imagens()
{
    QFETCH(bool, central);
    QFETCH(bool, lateral);
    QFETCH(int, qualidade);
    QFETCH(int, qualidadeEfetiva);
    CenarioNavegador c;
    QVERIFY(c.Valido());
    const int m = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    Opcoes o = Opcoes::DaConfiguracao();
    o.imagemCentral = central;
    o.imagemLateral = lateral;
    o.qualidade = qualidade;
    QImage desenho(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            desenho.setPixel(x, y, qRgb((x * 7) & 255, (y * 3) & 255, (x ^ y) & 255));
    QByteArray bmp;
    QBuffer b(&bmp);
    b.open(QIODevice::WriteOnly);
    desenho.save(&b, "BMP");
    const auto r = Olho(43, 90);
    const int e = GravaExame(c.DM(), {p, m, kOlhoDireito, {}, {}}, *r, bmp, Bitmap(0xff), o).exames[0].codigo;
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Arquivos WHERE Codigo_Exames=%1").arg(e)), 1);
    QBuffer ic, il;
    TDArquivos(c.DM()).LeImagens(e, ic, il);
    QCOMPARE(ic.data().isEmpty(), !central);
    QCOMPARE(il.data().isEmpty(), !lateral);
    if (!central)
        return;
    QBuffer fonte(&bmp);
    fonte.open(QIODevice::ReadOnly);
    QCOMPARE(ic.data(), TBJpeg().ComprimeJpeg(fonte, qualidadeEfetiva));
    QVERIFY(TBJpeg().JpegParaBitmap(ic));
    QImage volta;
    QVERIFY(volta.loadFromData(ic.data(), "BMP"));
    QCOMPARE(volta.size(), QSize(640, 480));
}

void TesteGravacao::resultadoNormal_data()
{
    QTest::addColumn<int>("meridiano");
    QTest::addColumn<int>("aneis");
    QTest::addColumn<int>("anel");      // cell made not finite (-1: none)
    QTest::addColumn<bool>("aceito");
    QTest::addColumn<int>("aneisFinais");
    QTest::newRow("contagem acima de N") << 5 << 40 << -1 << true << 16;
    QTest::newRow("contagem negativa") << 5 << -3 << -1 << true << 0;
    QTest::newRow("nan num anel válido") << 7 << 10 << 10 << false << 10;
    QTest::newRow("nan além do último anel") << 7 << 10 << 11 << true << 10;
}

void TesteGravacao::resultadoNormal()
{
    QFETCH(int, meridiano);
    QFETCH(int, aneis);
    QFETCH(int, anel);
    QFETCH(bool, aceito);
    QFETCH(int, aneisFinais);
    auto r = Olho(43, 90);
    r->aneis[meridiano] = aneis;
    if (anel >= 0)
        r->dioptrias[meridiano][anel] = std::numeric_limits<double>::quiet_NaN();
    QCOMPARE(ConfereResultado(*r, 16), aceito);
    QCOMPARE(r->aneis[meridiano], aneisFinais);
    r = Olho(43, std::numeric_limits<double>::infinity());
    QVERIFY(!ConfereResultado(*r, 16));
}

void TesteGravacao::textosOrto_data()
{
    QTest::addColumn<QString>("defeito");
    QTest::addColumn<bool>("aceito");
    QTest::newRow("completos") << "" << true;
    QTest::newRow("linhas a mais") << "mais" << true;
    QTest::newRow("posições curtas") << "pos" << false;
    QTest::newRow("dioptrias curtas") << "diop" << false;
    QTest::newRow("valores curtos") << "val" << false;
    QTest::newRow("não numérico") << "texto" << false;
    QTest::newRow("nan") << "nan" << false;
}

void TesteGravacao::textosOrto()
{
    QFETCH(QString, defeito);
    QFETCH(bool, aceito);
    TextosOrto t;
    if (defeito == QLatin1String("mais"))
        t.diop << QStringLiteral("99.99 ");
    else if (defeito == QLatin1String("pos"))
        t.pos.removeLast();
    else if (defeito == QLatin1String("diop"))
        t.diop.removeLast();
    else if (defeito == QLatin1String("val"))
        t.val.removeLast();
    else if (defeito == QLatin1String("texto"))
        t.pos[700] += QStringLiteral("x1 ");
    else if (defeito == QLatin1String("nan"))
        t.val[5] = QStringLiteral("nan");
    // An earlier capture's matrices: what a failure must leave, and a success replace whole.
    auto r = std::make_unique<ResultadoOrto>();
    for (int k = 0; k < 4; ++k)
        for (int m = 0; m < 360; ++m)
            for (int j = 0; j < 33; ++j)
                r->matPosicoes[k][m][j] = r->matDioptrias[k][m][j] = -1;
    QCOMPARE(LeResultadoOrto(t.pos, t.diop, t.val, t.indices, *r), aceito);
    const int k = 2;
    QCOMPARE(r->matPosicoes[k][10][20], aceito ? 0.0 : -1.0);   // beyond the short line
    QCOMPARE(r->matDioptrias[k][100][3], aceito ? 40 + k + 100 / 1000.0 : -1.0);
    QCOMPARE(r->valores[k][2], aceito ? 7.811151 + k / 10.0 : 0.0);
}

void TesteGravacao::cabecalhos()
{
    DadosCabecalho d{QStringLiteral("Ana Souza"), 7, QStringLiteral("12.345"), kOlhoEsquerdo,
                     QDateTime(QDate(2026, 3, 2), QTime(9, 5, 1)), QStringLiteral("Dr. A"), QStringLiteral("/b")};
    const QStringList inicio = {"Ana Souza", "0007", "12.345 ", "Olho Esquerdo", "02/03/2026", "09:05:01", "Dr. A"};
    QCOMPARE(CabecalhoExame(d, 86.5), inicio + QStringList({"0", "86", "/b", "86", "/b"}));
    QCOMPARE(CabecalhoExameOrto(d, 87.5), inicio + QStringList({"88", "/b"}));
}

QTEST_MAIN(TesteGravacao)
#include "tst_gravacao.moc"
