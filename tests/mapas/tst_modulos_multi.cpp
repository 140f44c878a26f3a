// The multi-map modules loaded as the navigator loads them: their information and button
// pictures, the wizard's choices in batch mode, and what each window shows (batch text) for
// known surfaces and for the installation's examples; bad counts and values.

#include "examfiles/UBMapOperation.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "common/UTextoCp1252.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "plugins/mapasmulti/UMultiMapa.h"
#include "tests/support/UBancoTeste.h"
#include "tests/support/UExameCapturado.h"
#include "tests/support/UExameSintetico.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace zrmod;
using namespace MultiMapa;

namespace {

QString ArquivoModulo(const QString& nome)
{
    return QStringLiteral(ZR_PASTA_MAPAS "/") + nome + QStringLiteral(".so");
}

struct Opcoes_ {
    zrmod::TInfosZR r{};
    Opcoes_()
    {
        r.Modelo = 3;
        r.TipoCone = "2";
        r.FatorCorrecao = ExameSintetico::kFator;
        r.IncMap = 0.5;
        r.NumAneis = 16;
        r.EscalaISO = 1;
        r.CorCeratPontual = "Preta";
        r.TipoCeratometria = "Simulada";
        r.IndiceConf = 80;
    }
};

QStringList Cabecalho(const QString& olho, const QString& data, const QString& conf = QStringLiteral("90"))
{
    return {QStringLiteral("Paciente Teste"), QStringLiteral("12"), QStringLiteral("1.234"), olho, data,
            QStringLiteral("10:00:00"), QStringLiteral("Dr. Teste"), conf};
}

// The arrays of a multi-map call over some examinations.
struct Chamada {
    QList<QStringList> cabecalhos;
    std::vector<std::unique_ptr<ExameSintetico>> exames;
    std::unique_ptr<TMatrizAngAnel[]> m, d;
    std::unique_ptr<TAneisMeridiano[]> n;
    std::unique_ptr<TDadosPupila[]> p;
    void Adiciona(std::unique_ptr<ExameSintetico> e, const QStringList& cab)
    {
        exames.push_back(std::move(e));
        cabecalhos << cab;
    }
    void Monta()
    {
        const size_t k = exames.size();
        m = std::make_unique<TMatrizAngAnel[]>(k);
        d = std::make_unique<TMatrizAngAnel[]>(k);
        n = std::make_unique<TAneisMeridiano[]>(k);
        p = std::make_unique<TDadosPupila[]>(k);
        for (size_t i = 0; i < k; ++i) {
            std::memcpy(m[i], exames[i]->m, sizeof(TMatrizAngAnel));
            std::memcpy(d[i], exames[i]->d, sizeof(TMatrizAngAnel));
            std::memcpy(n[i], exames[i]->aneis, sizeof(TAneisMeridiano));
        }
    }
};

class Ambiente {
public:
    Ambiente()
    {
        qputenv("ZR_MODULOS_AUTOMATICO", "1");
        qputenv("ZR_MODULOS_SAIDA", m_pasta.path().toLocal8Bit());
    }
    ~Ambiente()
    {
        qunsetenv("ZR_MODULOS_AUTOMATICO");
        qunsetenv("ZR_MODULOS_SAIDA");
    }
    // "ProcessaMapas" of the module through the loader; the batch text it wrote.
    QStringList Processa(const QString& modulo, Chamada& c, int quantidade, const QStringList& opcoes,
                         const TBlocoOrto* bloco = nullptr, int contagemArrays = -1)
    {
        const QString txt = QDir(m_pasta.path()).filePath(modulo + QStringLiteral(".txt"));
        QFile::remove(txt);
        if (!LoadMapasDLL(ArquivoModulo(modulo)))
            return {QStringLiteral("sem módulo")};
        c.Monta();
        const int k = contagemArrays < 0 ? int(c.exames.size()) : contagemArrays;
        DadosPacModulo dados(c.cabecalhos);
        TMatrizesAngAnel m{k, c.m.get()}, d{k, c.d.get()};
        TMatrizesAng n{k, c.n.get()};
        TMatPup p{k, c.p.get()};
        BufferMemoria op;
        op.DefineLinhas(opcoes);
        Opcoes_ o;
        if (modulo == QLatin1String("MultiOrto"))
            MapasDLL.ProcessaMapasOrto(nullptr, dados.Dados(), &m, &d, bloco, &o.r);
        else
            MapasDLL.ProcessaMapas(nullptr, dados.Dados(), &m, &n, &d, &p, quantidade, op.Stream(), &o.r);
        FreeMapasDLL();
        const QString destino = qEnvironmentVariable("ZR_TESTE_CAPTURAS");
        if (!destino.isEmpty()) {
            const QString alvo = QDir(destino).filePath((captura.isEmpty() ? modulo : captura) + QStringLiteral(".png"));
            QFile::remove(alvo);
            QFile::copy(QDir(m_pasta.path()).filePath(modulo + QStringLiteral("-janela.png")), alvo);
        }
        return QFile::exists(txt) ? LeArquivoTexto(txt) : QStringList{QStringLiteral("sem saída")};
    }
    QString Arquivo(const QString& nome) const { return QDir(m_pasta.path()).filePath(nome); }
    QImage Png(const QString& modulo) const
    {
        return QImage(QDir(m_pasta.path()).filePath(modulo + QStringLiteral(".png")));
    }

    QString captura; // the screenshot's name when ZR_TESTE_CAPTURAS asks for one (else the module's)

private:
    QTemporaryDir m_pasta;
};

double Numero(const QStringList& texto, const QString& prefixo)
{
    const QString l = texto.filter(prefixo).value(0);
    static const QRegularExpression re(QStringLiteral("[-+]?\\d+\\.\\d+"));
    const auto m = re.match(l, l.indexOf(prefixo) + prefixo.size());
    return m.hasMatch() ? m.captured().toDouble() : std::nan("");
}

std::unique_ptr<ExameSintetico> Esfera(double raioMm)
{
    return std::make_unique<ExameSintetico>(ExameSintetico::Esfera(337.5 / raioMm));
}

// An examination's stored files (an example's or a captured one's) as one entry of the call.
bool Carrega(Chamada& c, const QString& prefixo, const QStringList& cab)
{
    TBMapOperation leitor;
    if (!leitor.CarregaExame(prefixo))
        return false;
    auto ex = Esfera(7.8);
    leitor.CopiaPosicoes(ex->m);
    leitor.CopiaDioptrias(ex->d);
    leitor.CopiaAneis(ex->aneis);
    c.Adiciona(std::move(ex), cab);
    return true;
}

// Surfaces photographed by the simulated instrument and measured by the processing module,
// stored as the capture form stores them; each captured once for the whole run.
class Capturas {
public:
    QString Prefixo(const QString& caso)
    {
        if (!m_banco) {
            m_banco = std::make_unique<BancoTeste>();
            if (!m_banco->Valido())
                return {};
            TBIniSettings ini;
            ini.LoadAll(3);
            PreencheRegistrosZR(ini, InfosZR, PathsZR);
            TDadosMedico m;
            m.Nome = QStringLiteral("Dra. Teste");
            TDMedicos(m_banco->DM()).InsereMedico(m);
            m_medico = TDMedicos(m_banco->DM()).CodigoMedico(m.Nome);
            TDadosPaciente p;
            p.Nome = QStringLiteral("Paciente Teste");
            TDPacientes(m_banco->DM()).InserePaciente(p, QDate(2000, 1, 1), 0);
            m_paciente = TDPacientes(m_banco->DM()).IndicePacientes();
        }
        if (!m_prefixos.contains(caso)) {
            const ExameCapturado e = GravaExameCapturado(m_banco->DM(), m_paciente, m_medico, caso, QStringLiteral("OD"));
            m_prefixos[caso] = e.Valido ? e.Prefixo : QString();
        }
        return m_prefixos[caso];
    }

private:
    std::unique_ptr<BancoTeste> m_banco;
    int m_medico = 0, m_paciente = 0;
    QMap<QString, QString> m_prefixos;
};

} // namespace

class TesteModulosMulti : public QObject {
    Q_OBJECT
private slots:
    void info_data();
    void info();
    void vistas_data();
    void vistas();
    void escolha_data();
    void escolha();
    void wizard_data();
    void wizard();
    void diferencial_data();
    void diferencial();
    void entradaRuim_data();
    void entradaRuim();
    void multiOrto();
    void serieCeratocone();
    void exemplos();
    void progressao_data();
    void progressao();

private:
    Capturas m_capturas; // gone with the test object, before the application
};

void TesteModulosMulti::info_data()
{
    QTest::addColumn<QString>("modulo");
    for (const char* m : {"MultiMapas", "Duplo", "Diferencial", "MultiOrto"})
        QTest::newRow(m) << QString::fromLatin1(m);
}

// Kind "2", the multi-map loader's entries, and the picture.
void TesteModulosMulti::info()
{
    QFETCH(QString, modulo);
    InfoMapaModulo info;
    QVERIFY(LeInfoMapa(ArquivoModulo(modulo), info));
    QCOMPARE(info.tipo, QStringLiteral("2"));
    QCOMPARE(info.linhas, 3);
    QVERIFY(LoadMapasDLL(ArquivoModulo(modulo)));
    FreeMapasDLL();
    QImage botao(QStringLiteral(ZR_PASTA_MAPAS "/") + modulo + QStringLiteral(".bmp"), "BMP");
    QCOMPARE(botao.size(), QSize(48, 24));
    QVERIFY(botao.copy(0, 0, 24, 24) != botao.copy(24, 0, 24, 24));
    QCOMPARE(botao.pixelColor(0, 0), QColor(Qt::magenta));
}

// The views of known surfaces: a sphere lies on its best-fit sphere, and its refractive power
// equals the axial one at the centre and exceeds it towards the edge (spherical aberration);
// a cone leaves the sphere where it is, and its steepest point lies there.
void TesteModulosMulti::vistas_data()
{
    QTest::addColumn<bool>("cone");
    QTest::newRow("sphere") << false;
    QTest::newRow("keratoconus") << true;
}

void TesteModulosMulti::vistas()
{
    QFETCH(bool, cone);
    const ExameSintetico e = cone ? ExameSintetico::Ceratocone(8.0, 1.2, 0.7) : ExameSintetico::Esfera(337.5 / 7.8);
    const MapaCurvatura axial(MapaCurvatura::Axial, &e.m, &e.aneis, &e.d, ExameSintetico::kFator);
    double raio = 0;
    const GradeValores el = Elevacao(e.m, e.d, e.aneis, ExameSintetico::kFator, &raio);
    QVERIFY(el.TemDados());
    const GradeValores rf = Refrativa(axial, e.m, e.d, e.aneis, ExameSintetico::kFator);
    QVERIFY(std::abs(rf.Valor(0, 0) - axial.Valor(0, 0)) < 0.05);
    if (!cone) {
        QVERIFY2(std::abs(raio - 7.8) < 0.01, qPrintable(QString::number(raio)));
        QVERIFY2(std::max(std::abs(el.Minimo()), std::abs(el.Maximo())) < 1.0, qPrintable(QString::number(el.Maximo())));
        QVERIFY(rf.Valor(3.0, 0) > axial.Valor(3.0, 0) + 0.5);
        return;
    }
    // The cone 1.2 mm below the centre (clinical 270 degrees).
    QVERIFY2(std::abs(el.Valor(0, 1.2)) > 5.0, qPrintable(QString::number(el.Valor(0, 1.2))));
    const auto k = Maximo(GradeValores::DeMapa(axial));
    QVERIFY(k && k->raio > 0.5 && std::abs(k->angulo - 270) < 30);
}

// The wizard's rules: what each module offers and accepts.
void TesteModulosMulti::escolha_data()
{
    QTest::addColumn<int>("modulo");
    QTest::addColumn<bool>("edicaoOrto");
    QTest::addColumn<QStringList>("linhas");
    QTest::addColumn<int>("oferecidos");
    QTest::addColumn<QList<int>>("escolha");
    QTest::addColumn<bool>("aceita");
    const QString od1 = QStringLiteral("Olho Direito - 10/01/2001 10:00:00");
    const QString od2 = QStringLiteral("Olho Direito - 12/01/2001 10:00:00");
    const QString od3 = QStringLiteral("Olho Direito - 14/01/2001 10:00:00");
    const QString os1 = QStringLiteral("Olho Esquerdo - 10/01/2001 11:00:00");
    const QStringList simples{od1, os1, od2, od3, QStringLiteral("lixo")};
    const QStringList tipados{u'T' + od1, u'O' + od2, u'O' + os1, u'O' + od3, od1};
    const int mm = int(Modulo::MultiMapas), du = int(Modulo::Duplo), di = int(Modulo::Diferencial),
              mo = int(Modulo::MultiOrto);
    QTest::newRow("multi 1") << mm << true << simples << 4 << QList<int>{1} << true;
    QTest::newRow("multi 2 eyes") << mm << true << simples << 4 << QList<int>{0, 1} << true;
    QTest::newRow("multi 3 mixed") << mm << true << simples << 4 << QList<int>{0, 1, 2} << false;
    QTest::newRow("multi 3 od") << mm << true << simples << 4 << QList<int>{0, 2, 3} << true;
    QTest::newRow("multi none") << mm << true << simples << 4 << QList<int>{} << false;
    QTest::newRow("duplo od os") << du << true << simples << 4 << QList<int>{2, 1} << true;
    QTest::newRow("duplo od od") << du << true << simples << 4 << QList<int>{0, 2} << false;
    QTest::newRow("dif same eye") << di << true << tipados << 4 << QList<int>{0, 1} << true;
    QTest::newRow("dif two eyes") << di << true << tipados << 4 << QList<int>{1, 2} << false;
    QTest::newRow("dif standard") << di << false << tipados << 1 << QList<int>{0} << false;
    QTest::newRow("orto only O") << mo << true << tipados << 3 << QList<int>{0, 1, 2} << true;
}

void TesteModulosMulti::escolha()
{
    QFETCH(int, modulo);
    QFETCH(bool, edicaoOrto);
    QFETCH(QStringList, linhas);
    QFETCH(int, oferecidos);
    QFETCH(QList<int>, escolha);
    QFETCH(bool, aceita);
    const QList<Candidato> of = Oferecidos(Modulo(modulo), linhas, edicaoOrto);
    QCOMPARE(int(of.size()), oferecidos);
    QList<Candidato> e;
    for (int i : escolha)
        e << of.at(i);
    QCOMPARE(ConfereEscolha(Modulo(modulo), e).isEmpty(), aceita);
    // The batch default always suits the module when there is one.
    QList<Candidato> padrao;
    for (int i : EscolhaPadrao(Modulo(modulo), of))
        padrao << of.at(i);
    if (!padrao.isEmpty())
        QVERIFY(ConfereEscolha(Modulo(modulo), padrao).isEmpty());
}

// The wizard through the loader: the lines named by ZR_MODULOS_SELECAO, in that order and
// without the type letter, and the options; a choice the module refuses cancels.
void TesteModulosMulti::wizard_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QString>("selecao");
    QTest::addColumn<int>("resultado");
    QTest::addColumn<QStringList>("esperado");
    QTest::newRow("multi order") << "MultiMapas" << "3,1" << 1
                                 << QStringList{"Olho Direito - 14/01/2001 10:00:00", "Olho Direito - 10/01/2001 10:00:00"};
    QTest::newRow("dif letter") << "Diferencial" << "1,2" << 1
                                << QStringList{"Olho Direito - 10/01/2001 10:00:00", "Olho Direito - 14/01/2001 10:00:00"};
    QTest::newRow("duplo refused") << "Duplo" << "1,3" << 0 << QStringList{};
    QTest::newRow("unknown line") << "MultiOrto" << "9" << 0 << QStringList{};
    QTest::newRow("repeated") << "MultiMapas" << "1,1" << 0 << QStringList{};
    QTest::newRow("orto refuses T") << "MultiOrto" << "1" << 0 << QStringList{};
}

void TesteModulosMulti::wizard()
{
    QFETCH(QString, modulo);
    QFETCH(QString, selecao);
    QFETCH(int, resultado);
    QFETCH(QStringList, esperado);
    const bool tipo = modulo == QLatin1String("Diferencial") || modulo == QLatin1String("MultiOrto");
    QStringList linhas{QStringLiteral("Olho Direito - 10/01/2001 10:00:00"),
                       QStringLiteral("Olho Esquerdo - 10/01/2001 11:00:00"),
                       QStringLiteral("Olho Direito - 14/01/2001 10:00:00")};
    if (tipo)
        linhas = {u'T' + linhas[0], u'O' + linhas[2], u'O' + linhas[1]};
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    qputenv("ZR_MODULOS_SELECAO", selecao.toLatin1());
    QVERIFY(LoadMapasDLL(ArquivoModulo(modulo)));
    BufferMemoria cand, sel, op;
    cand.DefineLinhas(linhas);
    Opcoes_ o;
    const int r = modulo == QLatin1String("Diferencial")
        ? MapasDLL.WizardDiferencial(nullptr, cand.Stream(), sel.Stream(), op.Stream(), 1, &o.r)
        : MapasDLL.Wizard(nullptr, cand.Stream(), sel.Stream(), op.Stream(), &o.r);
    FreeMapasDLL();
    qunsetenv("ZR_MODULOS_AUTOMATICO");
    qunsetenv("ZR_MODULOS_SELECAO");
    QCOMPARE(r, resultado);
    QCOMPARE(sel.Linhas(), esperado);
    if (r == 1)
        QVERIFY(op.Linhas().contains(QStringLiteral("escala=absoluta")));
}

// The difference of two captured examinations of one eye: B - A over the centre and at most
// anywhere.
void TesteModulosMulti::diferencial_data()
{
    QTest::addColumn<QString>("casoA");
    QTest::addColumn<QString>("casoB");
    QTest::addColumn<double>("centro");
    QTest::addColumn<double>("tolerancia");
    QTest::newRow("7.8 then 7.6") << "esfera 7.8" << "esfera 7.6" << 337.5 / 7.6 - 337.5 / 7.8 << 0.05;
    QTest::newRow("same twice") << "esfera 7.8" << "esfera 7.8" << 0.0 << 0.01;
    QTest::newRow("flattened") << "esfera 7.6" << "esfera 7.8" << 337.5 / 7.8 - 337.5 / 7.6 << 0.05;
}

void TesteModulosMulti::diferencial()
{
    QFETCH(QString, casoA);
    QFETCH(QString, casoB);
    QFETCH(double, centro);
    QFETCH(double, tolerancia);
    Chamada c;
    // Handed over later examination first: the window puts A (earlier) first all the same.
    QVERIFY(Carrega(c, m_capturas.Prefixo(casoB), Cabecalho(QStringLiteral("Olho Direito"), QStringLiteral("20/02/2001"))));
    QVERIFY(Carrega(c, m_capturas.Prefixo(casoA), Cabecalho(QStringLiteral("Olho Direito"), QStringLiteral("10/01/2001"))));
    Ambiente amb;
    const QStringList t = amb.Processa(QStringLiteral("Diferencial"), c, 2, {QStringLiteral("vista=axial")});
    QVERIFY2(std::abs(Numero(t, QStringLiteral("Diferença no centro:")) - centro) <= tolerancia, qPrintable(t.join(u'|')));
    if (casoA == casoB)
        QVERIFY2(Numero(t, QStringLiteral("Maior diferença:")) <= tolerancia, qPrintable(t.join(u'|')));
    QVERIFY(t.filter(QStringLiteral("Painel 1: A: OD 10/01/2001")).size() == 1);
    QCOMPARE(Numero(t, QStringLiteral("Variação da SimK (B - A): K1")) > 0, centro > tolerancia);
    QVERIFY(!amb.Png(QStringLiteral("Diferencial")).isNull());
}

// Counts that disagree are cut to the smallest; more than the module shows are left out with
// a note; a grid of NaN draws nothing and says so; a short header goes as far as it goes.
void TesteModulosMulti::entradaRuim_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<int>("exames");
    QTest::addColumn<int>("quantidade");
    QTest::addColumn<int>("arrays");
    QTest::addColumn<bool>("nan");
    QTest::addColumn<int>("paineis");
    QTest::addColumn<bool>("aviso");
    QTest::newRow("count too high") << "MultiMapas" << 2 << 3 << 2 << false << 4 << true;
    QTest::newRow("arrays shorter") << "MultiMapas" << 3 << 3 << 1 << false << 4 << true;
    QTest::newRow("six chosen") << "MultiMapas" << 6 << 6 << 6 << false << 4 << true;
    QTest::newRow("nan values") << "Duplo" << 2 << 2 << 2 << true << 2 << true;
    QTest::newRow("zero count") << "MultiMapas" << 2 << 0 << 2 << false << 0 << true;
}

void TesteModulosMulti::entradaRuim()
{
    QFETCH(QString, modulo);
    QFETCH(int, exames);
    QFETCH(int, quantidade);
    QFETCH(int, arrays);
    QFETCH(bool, nan);
    QFETCH(int, paineis);
    QFETCH(bool, aviso);
    Chamada c;
    for (int i = 0; i < exames; ++i) {
        auto e = Esfera(7.5 + 0.05 * i);
        if (nan && i == 1)
            for (auto& linha : e->d)
                for (double& v : linha)
                    v = std::nan("");
        QStringList cab = Cabecalho(i % 2 ? QStringLiteral("Olho Esquerdo") : QStringLiteral("Olho Direito"),
                                    QStringLiteral("1%1/01/2001").arg(i));
        if (i == 0)
            cab = cab.mid(0, 4); // a short header
        c.Adiciona(std::move(e), cab);
    }
    Ambiente amb;
    const QStringList t = amb.Processa(modulo, c, quantidade, {}, nullptr, arrays);
    QCOMPARE(int(t.filter(QRegularExpression(QStringLiteral("^Painel \\d"))).size()), paineis);
    QCOMPARE(!t.filter(QStringLiteral("Aviso:")).isEmpty(), aviso);
}

// The ortho-k maps with the block's values ("—" for zero and 99.9999) and the treatment zone.
void TesteModulosMulti::multiOrto()
{
    Chamada c;
    for (int i = 0; i < 4; ++i) {
        // A flattened centre inside a steep ring at 2.5 mm, moved 0.4 mm to the right in the
        // last map.
        const double dx = i == 3 ? 0.4 : 0.0;
        c.Adiciona(std::make_unique<ExameSintetico>([dx](double r, double eixo) {
                       const double x = r * std::cos(eixo * M_PI / 180) - dx, y = r * std::sin(eixo * M_PI / 180);
                       const double rr = std::hypot(x, y);
                       return 40.0 + 4.0 * std::exp(-(rr - 2.5) * (rr - 2.5) / 0.3);
                   }),
                   Cabecalho(QStringLiteral("Olho Direito"), QStringLiteral("10/01/2001"), QString::number(80 + i)));
    }
    TBlocoOrto bloco = {{1.25, 0.0, 7.8, 0}, {99.9999, 99.9999, 99.9999, 0}, {1.5, 0.02, 7.7, 0}, {0, 0, 0, 0}};
    Ambiente amb;
    const QStringList t = amb.Processa(QStringLiteral("MultiOrto"), c, 4, {}, &bloco);
    const QStringList lente = t.filter(QStringLiteral("Sag:"));
    QCOMPARE(lente.size(), 4);
    QVERIFY2(lente[0].contains(QStringLiteral("Sag: 1.25")) && lente[0].contains(QStringLiteral("Div: —")) &&
                 lente[0].contains(QStringLiteral("Raio: 7.80")), qPrintable(lente[0]));
    QCOMPARE(lente[1], QStringLiteral("Sag: —   Div: —   Raio: —"));
    QCOMPARE(t.filter(QStringLiteral("Escala ")).size(), 1); // one scale for the four maps
    const QStringList zonas = t.filter(QStringLiteral("Zona de tratamento:"));
    QCOMPARE(zonas.size(), 4);
    for (int i = 0; i < 4; ++i) {
        // The tangential ring lies inside the axial one (at 2.5 mm).
        const double diametro = Numero({zonas[i]}, QStringLiteral("Zona de tratamento:"));
        QVERIFY2(diametro > 3.5 && diametro < 5.0, qPrintable(zonas[i]));
        QVERIFY2(std::abs(Numero({zonas[i]}, QStringLiteral("descentração")) - (i == 3 ? 0.4 : 0.0)) < 0.1, qPrintable(zonas[i]));
    }
    QVERIFY(zonas[0].contains(QStringLiteral("(centrada)")));
}

// A keratoconus followed over four examinations, handed over in no order: the panels come in
// date order, and Kmax grows from one to the next at the cone (clinical 270 degrees).
void TesteModulosMulti::serieCeratocone()
{
    Chamada c;
    for (int i : {2, 0, 3, 1})
        c.Adiciona(std::make_unique<ExameSintetico>(ExameSintetico::Ceratocone(3.0 + 2.0 * i, 1.0, 0.8)),
                   Cabecalho(QStringLiteral("Olho Direito"), QStringLiteral("10/%1/2001").arg(1 + 3 * i, 2, 10, QLatin1Char('0'))));
    Ambiente amb;
    amb.captura = QStringLiteral("MultiMapas_ceratocone");
    const QStringList t = amb.Processa(QStringLiteral("MultiMapas"), c, 4, {QStringLiteral("vista=axial")});
    const QStringList kmax = t.filter(QStringLiteral("Kmax:"));
    QCOMPARE(kmax.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QVERIFY(t.filter(QStringLiteral("Painel %1:").arg(i + 1)).value(0).contains(QStringLiteral("/%1/2001").arg(1 + 3 * i, 2, 10, QLatin1Char('0'))));
        static const QRegularExpression re(QStringLiteral("Kmax: ([\\d.]+) D a ([\\d.]+) mm, (\\d+)°"));
        const auto m = re.match(kmax[i]);
        QVERIFY2(m.hasMatch() && std::abs(m.captured(3).toDouble() - 270) < 15, qPrintable(kmax[i]));
        if (i > 0)
            QVERIFY2(m.captured(1).toDouble() > re.match(kmax[i - 1]).captured(1).toDouble() + 1.0, qPrintable(kmax.join(u'|')));
    }
}

// The installation's examples: four Central examples on one scale, and Duplo OD/OS of the
// Regular examples (OD on the left, the difference between the eyes).
void TesteModulosMulti::exemplos()
{
    InstalacaoTeste inst;
    QVERIFY(inst.Valida());
    auto carrega = [&](Chamada& c, const QString& nome, const QString& olho, const QString& data) {
        QStringList cab = Cabecalho(olho, data);
        cab[0] = nome;
        QVERIFY(Carrega(c, inst.Pastas().dados + QStringLiteral("/Exemplos/") + nome, cab));
    };
    Ambiente amb;
    Chamada multi;
    for (int i = 1; i <= 4; ++i)
        carrega(multi, QStringLiteral("Central0%1").arg(i), QStringLiteral("Olho Direito"),
                QStringLiteral("%1/01/2001").arg(10 + 2 * (4 - i)));
    for (const QString& escala : {QStringLiteral("escala=absoluta"), QStringLiteral("escala=normalizada")}) {
        const QStringList t = amb.Processa(QStringLiteral("MultiMapas"), multi, 4, {escala});
        QCOMPARE(t.filter(QRegularExpression(QStringLiteral("^Escala \\d:"))).size(), 1);
        QCOMPARE(t.filter(QStringLiteral("Escala: 1")).size(), 4);
        QCOMPARE(t.filter(QStringLiteral("Kmax:")).size(), 4);
        QVERIFY2(t.filter(QStringLiteral("Aviso:")).isEmpty(), qPrintable(t.join(u'|')));
        // Date order: the latest handed over first is shown last.
        QVERIFY(t.filter(QStringLiteral("Painel 1:")).value(0).contains(QStringLiteral("10/01/2001")));
    }
    // Orto01..04 as four ortho-k maps: the examples' lens values are placeholders ("—"), and
    // each map has its treatment zone.
    Chamada orto;
    for (int i = 1; i <= 4; ++i)
        carrega(orto, QStringLiteral("Orto0%1").arg(i), QStringLiteral("Olho Direito"), QStringLiteral("10/01/2001"));
    const TBlocoOrto exemplo = {{99.9999, 99.9999, 99.9999, 0}, {99.9999, 99.9999, 99.9999, 0},
                                {99.9999, 99.9999, 99.9999, 0}, {99.9999, 99.9999, 99.9999, 0}};
    const QStringList to = amb.Processa(QStringLiteral("MultiOrto"), orto, 4, {}, &exemplo);
    QCOMPARE(to.filter(QStringLiteral("Sag: —   Div: —   Raio: —")).size(), 4);
    QCOMPARE(to.filter(QRegularExpression(QStringLiteral("^Zona de tratamento: \\d"))).size(), 4);
    // A topography before and an ortho-k examination after: the flattened centre, and the
    // treatment zone reported.
    Chamada antes;
    carrega(antes, QStringLiteral("Normal01"), QStringLiteral("Olho Direito"), QStringLiteral("10/01/2001"));
    carrega(antes, QStringLiteral("Orto01"), QStringLiteral("Olho Direito"), QStringLiteral("12/01/2001"));
    const QStringList td = amb.Processa(QStringLiteral("Diferencial"), antes, 2,
                                        {QStringLiteral("vista=tangencial"), QStringLiteral("tipos=TO"), QStringLiteral("orto=1")});
    QVERIFY2(Numero(td, QStringLiteral("Diferença no centro:")) < -0.5, qPrintable(td.join(u'|')));
    QCOMPARE(td.filter(QStringLiteral("Zona de tratamento:")).size(), 1);
    Chamada duplo;
    carrega(duplo, QStringLiteral("Regular02"), QStringLiteral("Olho Esquerdo"), QStringLiteral("10/01/2001"));
    carrega(duplo, QStringLiteral("Regular01"), QStringLiteral("Olho Direito"), QStringLiteral("10/01/2001"));
    const QStringList t = amb.Processa(QStringLiteral("Duplo"), duplo, 2, {});
    QVERIFY(t.filter(QStringLiteral("Painel 1:")).value(0).contains(QStringLiteral("OD")));
    QVERIFY(t.filter(QStringLiteral("Painel 2:")).value(0).contains(QStringLiteral("OS")));
    QCOMPARE(t.filter(QStringLiteral("Diferença entre os olhos")).size(), 1);
    QCOMPARE(amb.Png(QStringLiteral("Duplo")).isNull(), false);
}

void TesteModulosMulti::progressao_data()
{
    QTest::addColumn<int>("duvidoso"); // examination below the confidence minimum, -1 none
    QTest::newRow("todos confiáveis") << -1;
    QTest::newRow("terceiro abaixo do mínimo") << 2;
}

// Four examinations of one eye over 18 months, Kmax 46.0, 46.4, 47.3 and 47.8 D: the
// follow-up flags progression; a doubtful examination is kept apart from the trend.
void TesteModulosMulti::progressao()
{
    QFETCH(int, duvidoso);
    const double kmax[4] = {46.0, 46.4, 47.3, 47.8};
    Chamada c;
    for (int i = 3; i >= 0; --i) // newest first, as the navigator lists them
        c.Adiciona(std::make_unique<ExameSintetico>(ExameSintetico::Torica(kmax[i] - 1.2, kmax[i], 90.0)),
                   Cabecalho(QStringLiteral("Olho Direito"), QDate(2024, 1, 15).addMonths(6 * i).toString(QStringLiteral("dd/MM/yyyy")),
                             i == duvidoso ? QStringLiteral("62") : QStringLiteral("95")));
    Ambiente amb;
    const QStringList texto = amb.Processa(QStringLiteral("MultiMapas"), c, 4, {});
    QVERIFY2(!texto.isEmpty(), "sem saída");
    const QStringList prog = LeArquivoTexto(amb.Arquivo(QStringLiteral("Progressao.txt")));
    const QString tudo = prog.join(u'\n');
    QVERIFY2(tudo.contains(QStringLiteral("Progressão: Kmax subiu")), qPrintable(tudo));
    QVERIFY2(tudo.contains(QStringLiteral("Kmax: 46.00 a 47.80 D (+1.80 D;")), qPrintable(tudo));
    QCOMPARE(prog.filter(QStringLiteral("fora da tendência:")).size(), duvidoso < 0 ? 0 : 1);
    if (duvidoso >= 0)
        QVERIFY2(prog.value(1 + duvidoso).contains(QStringLiteral("fora da tendência")), qPrintable(tudo));
    QVERIFY(!QImage(amb.Arquivo(QStringLiteral("Progressao.png"))).isNull());
    const QString destino = qEnvironmentVariable("ZR_TESTE_CAPTURAS");
    if (!destino.isEmpty()) {
        const QString alvo = QDir(destino).filePath(QStringLiteral("Progressao-%1.png").arg(duvidoso < 0 ? QStringLiteral("todos") : QStringLiteral("duvidoso")));
        QFile::remove(alvo);
        QFile::copy(amb.Arquivo(QStringLiteral("Progressao.png")), alvo);
    }
}

QTEST_MAIN(TesteModulosMulti)
#include "tst_modulos_multi.moc"
