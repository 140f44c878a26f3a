// The navigator's map buttons against the recording map modules (tests/modules): what each
// module receives for stored examinations and for the examples, in both editions, the
// multi-map wizards and their rules, the small axial map, and every failure path, each with
// the settings record's ring count and cone type back as they were.

#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "data/UBJpeg.h"
#include "data/UDArquivos.h"
#include "examfiles/UArquivosExame.h"
#include "modules/UModulos.h"
#include "tests/navigator/UCenarioNavegador.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// One call a recording module wrote down: its "chave=valor" lines.
using Chamada = QMap<QString, QString>;

class Registro {
public:
    Registro() { qputenv("ZR_TESTE_REGISTRO", m_dir.filePath(QStringLiteral("registro.txt")).toUtf8()); }
    ~Registro()
    {
        for (const char* v : {"ZR_TESTE_REGISTRO", "ZR_MODULOS_SELECAO", "ZR_TESTE_ESCOLHA", "ZR_TESTE_VISUALIZAR"})
            qunsetenv(v);
    }
    QList<Chamada> Chamadas() const
    {
        QFile f(m_dir.filePath(QStringLiteral("registro.txt")));
        QList<Chamada> r;
        if (!f.open(QIODevice::ReadOnly))
            return r;
        for (const QString& l : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype igual = l.indexOf(QLatin1Char('='));
            if (l.startsWith(QStringLiteral("entrada=")))
                r << Chamada{};
            if (!r.isEmpty())
                r.last().insert(l.left(igual), l.mid(igual + 1));
        }
        return r;
    }
    QStringList Entradas() const
    {
        QStringList e;
        for (const Chamada& c : Chamadas())
            e << c.value(QStringLiteral("entrada"));
        return e;
    }
    void Limpa() const { QFile::remove(m_dir.filePath(QStringLiteral("registro.txt"))); }
    QString Pasta() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// A navigator scene whose map folder holds the recording modules.
// The build's own map modules, run at once with their picture and text left in a folder.
struct ModulosReais : QTemporaryDir {
    ModulosReais()
    {
        PathsZR.DirMapas = QStringLiteral(ZR_PASTA_MAPAS);
        qputenv("ZR_MODULOS_AUTOMATICO", "1");
        qputenv("ZR_MODULOS_SAIDA", path().toUtf8());
    }
    ~ModulosReais()
    {
        qunsetenv("ZR_MODULOS_AUTOMATICO");
        qunsetenv("ZR_MODULOS_SAIDA");
    }
};

struct CenaMapas {
    CenarioNavegador c;
    Registro reg;
    int medico = 0, paciente = 0;

    CenaMapas()
    {
        PathsZR.DirMapas = QStringLiteral(ZR_PASTA_MODULOS_REGISTRO);
        medico = c.Medico(QStringLiteral("Dr. A"));
        paciente = c.Paciente(QStringLiteral("Ana Souza"));
        InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
        InfosZR.NumAneis = 16;
        InfosZR.TipoCone = QStringLiteral("1");
    }

    // An examination with its three files; its marca is the position cell [90][5] read back.
    int Exame(const QTime& hora, const QString& olho, const QString& tipo, double marca, double indConf = 87.5,
              int numAneis = 32, double sag = 8.5)
    {
        TDExames ex(c.DM());
        ex.InsereExame(paciente, medico, QDate(2004, 3, 5), hora, olho, indConf, tipo, QString(), QString(),
                       QString(), numAneis, QStringLiteral("3"));
        const int codigo = ex.IndiceExames();
        if (tipo == QStringLiteral("O"))
            ex.InsereExameOrto(codigo, 0.25, 0, 7.8, sag);
        c.DM().PCommitDataBase();
        auto m = std::make_unique<TMatrizAngAnel[]>(2);
        TAneisMeridiano aneis{};
        for (int i = 0; i < ZR_MERIDIANOS; ++i) {
            aneis[i] = 20;
            for (int k = 0; k < ZR_COLUNAS_ANEL; ++k) {
                m[0][i][k] = marca;
                m[1][i][k] = 43.25;
            }
        }
        const TDadosPupila pupila{7, 0, 0, 0};
        QDir().mkpath(PastaExamesPaciente(paciente));
        const int antes = InfosZR.NumAneis;
        InfosZR.NumAneis = 32;
        GravaArquivoM(paciente, codigo, m[0]);
        GravaArquivoD(paciente, codigo, m[1]);
        GravaArquivoA(paciente, codigo, aneis, 320, 240, pupila);
        InfosZR.NumAneis = antes;
        return codigo;
    }
    // A stored examination (16 rings) holding the files of an example; 0 when they cannot be copied.
    int ExameDoExemplo(const QTime& hora, const QString& exemplo)
    {
        const int exame = Exame(hora, QStringLiteral("OD"), QStringLiteral("T"), 1, 93.25, 16);
        for (const char* f : {"d.txt", "m.txt", "a.txt"}) {
            QFile::remove(PrefixoExame(paciente, exame) + QLatin1String(f));
            if (!QFile::copy(PrefixoExemplo(exemplo) + QLatin1String(f), PrefixoExame(paciente, exame) + QLatin1String(f)))
                return 0;
        }
        return exame;
    }
    static QString Legenda(const QString& olho, const QTime& hora)
    {
        return olho + QStringLiteral(" - 05/03/2004 ") + hora.toString(QStringLiteral("HH:mm:ss"));
    }
    // Opens the navigator on the patient with the details shown.
    TfrmExames* Abre(bool orto)
    {
        TfrmExames* nav = c.Abre(orto);
        return nav;
    }
    // Clicks the map button of that caption (added to the bar the first time).
    void Clica(const QString& modulo, bool multi = false)
    {
        QToolButton* botao = c.nav->findChild<QToolButton*>(modulo);
        if (!botao)
            botao = c.nav->AdicionaBotaoMapa(modulo, modulo, 0,
                                             multi ? TfrmExames::TratamentoMapa::Mapas : TfrmExames::TratamentoMapa::Mapa);
        botao->click();
    }
    QString Mensagens() const { return c.msgs.Textos().join(QLatin1Char('#')); }
};

QStringList CabecalhoEsperado(int paciente, int exame, const QString& olho, const QTime& hora, const QString& ind)
{
    return {QStringLiteral("Ana Souza"), FormataNumero(QStringLiteral("0000"), paciente), QString(), olho,
            QStringLiteral("05/03/2004"), hora.toString(QStringLiteral("HH:mm:ss")), QStringLiteral("Dr. A"),
            FormataNumero(QStringLiteral("0000"), exame), ind};
}

const QString kInsuficiente = QStringLiteral("Número insuficiente de exames para gerar o mapa desejado");

} // namespace

class TesteMapas : public QObject {
    Q_OBJECT
private slots:
    void mapaSimples_data();
    void mapaSimples();
    void imagens_data();
    void imagens();
    void exemplos_data();
    void exemplos();
    void aberrometria();
    void semSelecao();
    void dadosMalformados();
    void mapas_data();
    void mapas();
    void mapasExemplos_data();
    void mapasExemplos();
    void miniMapa_data();
    void miniMapa();
    void modulosReais();
    void lenteAberrometriaReais();
};

void TesteMapas::mapaSimples_data()
{
    QTest::addColumn<bool>("orto");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<double>("indConf");
    QTest::addColumn<int>("numAneis");
    QTest::addColumn<QString>("apaga");     // data file removed before the click
    QTest::addColumn<QString>("entrada");   // what the module was called with, "" none
    QTest::addColumn<QString>("triplo");
    QTest::addColumn<QString>("aneis");     // NumAneis inside the call
    QTest::addColumn<QString>("mensagem");  // last message, "" none
    QTest::newRow("O Axial, ortho-k edition") << true << "O" << "Axial" << 87.5 << 32 << "" << "ProcessaMapaOrto"
                                              << "8.5 0.25 7.8" << "32" << "";
    QTest::newRow("O Tangencial, ortho-k edition") << true << "O" << "Tangencial" << 86.5 << 32 << ""
                                                   << "ProcessaMapaOrto" << "8.5 0.25 7.8" << "32" << "";
    QTest::newRow("O Axial, standard edition") << false << "O" << "Axial" << 86.5 << 32 << "" << "ProcessaMapa"
                                               << "nulo" << "32" << "";
    QTest::newRow("O other name") << true << "O" << "Refrativo" << 87.5 << 32 << "" << "ProcessaMapa" << "nulo"
                                  << "32" << "";
    QTest::newRow("ring count 40") << false << "T" << "Axial" << 87.5 << 40 << "" << "ProcessaMapa" << "nulo" << "32"
                                   << "";
    QTest::newRow("ring count 0") << false << "T" << "Axial" << 87.5 << 0 << "" << "ProcessaMapa" << "nulo" << "1"
                                  << "";
    QTest::newRow("T on a module with only ProcessaMapaOrto") << true << "T" << "SoOrto" << 87.5 << 32 << "" << ""
                                                              << "" << "" << "";
    QTest::newRow("lens") << false << "T" << "AdaptaLC" << 87.5 << 32 << "" << "ProcessaLente" << "" << "32" << "";
    QTest::newRow("missing module") << false << "T" << "Inexistente" << 87.5 << 32 << "" << "" << "" << ""
                                    << "Não foi possível processar o mapa selecionado. ERROMAP02";
    QTest::newRow("missing lens module") << false << "T" << "FaltaLC" << 87.5 << 32 << "" << "" << "" << ""
                                         << "Não foi possível processar o mapa selecionado. ERROMAP04";
    QTest::newRow("missing d.txt") << false << "T" << "Axial" << 87.5 << 32 << "d.txt" << "" << "" << ""
                                   << "Não foi possível processar o mapa selecionado. ERROMAP03\r\rDiretorio: ";
}

void TesteMapas::mapaSimples()
{
    QFETCH(bool, orto);
    QFETCH(QString, tipo);
    QFETCH(QString, modulo);
    QFETCH(double, indConf);
    QFETCH(int, numAneis);
    QFETCH(QString, apaga);
    QFETCH(QString, entrada);
    QFETCH(QString, triplo);
    QFETCH(QString, aneis);
    QFETCH(QString, mensagem);
    CenaMapas s;
    QVERIFY(s.c.Valido());
    const QTime hora(14, 7, 9);
    const int exame = s.Exame(hora, "OD", tipo, 12.5, indConf, numAneis);
    s.Abre(orto);
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OD", hora)));
    if (!apaga.isEmpty())
        QVERIFY(QFile::remove(PrefixoExame(s.paciente, exame) + apaga));
    s.Clica(modulo);

    QCOMPARE(InfosZR.NumAneis, 16);
    QCOMPARE(InfosZR.TipoCone, QStringLiteral("1"));
    const QList<Chamada> chamadas = s.reg.Chamadas();
    QCOMPARE(chamadas.size(), entrada.isEmpty() ? 0 : 1);
    if (mensagem.isEmpty())
        QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    else
        QVERIFY2(s.c.msgs.Textos().last().startsWith(mensagem), qPrintable(s.Mensagens()));
    if (!apaga.isEmpty())
        QVERIFY(s.c.msgs.Textos().last().endsWith(PrefixoExame(s.paciente, exame)));
    if (entrada.isEmpty())
        return;
    const Chamada ch = chamadas.first();
    QCOMPARE(ch.value("entrada"), entrada);
    QCOMPARE(ch.value("NumAneis"), aneis);
    QCOMPARE(ch.value("TipoCone"), QStringLiteral("3"));
    QCOMPARE(ch.value("celulas"), QStringLiteral("12.5 20 43.25"));
    QCOMPARE(ch.value("centro"), QStringLiteral("320 240"));
    const QStringList cab = CabecalhoEsperado(s.paciente, exame, "Olho Direito", hora,
                                              QString::number(ArredondaInteiro(indConf)));
    QCOMPARE(ch.value("cabecalho").split(QLatin1Char('|')).mid(0, 9), cab);
    if (!triplo.isEmpty()) {
        QCOMPARE(ch.value("orto"), triplo);
        QCOMPARE(ch.value("central"), QStringLiteral("nulo"));
    }
}

void TesteMapas::imagens_data()
{
    QTest::addColumn<bool>("grava");
    QTest::addColumn<QString>("central");
    QTest::addColumn<QString>("lateral");
    QTest::newRow("stored JPEG, empty lateral") << true << "640x480" << "nulo";
    QTest::newRow("no ARQUIVOS row") << false << "nulo" << "nulo";
}

void TesteMapas::imagens()
{
    QFETCH(bool, grava);
    QFETCH(QString, central);
    QFETCH(QString, lateral);
    CenaMapas s;
    QVERIFY(s.c.Valido());
    const QTime hora(9, 0, 0);
    const int exame = s.Exame(hora, "OS", "T", 12.5);
    if (grava) {
        QImage img(640, 480, QImage::Format_RGB32);
        img.fill(Qt::darkGray);
        QBuffer bmp;
        bmp.open(QIODevice::ReadWrite);
        img.save(&bmp, "BMP");
        bmp.seek(0);
        QBuffer jpeg, vazio;
        jpeg.setData(TBJpeg().ComprimeJpeg(bmp, 90));
        jpeg.open(QIODevice::ReadOnly);
        vazio.open(QIODevice::ReadOnly);
        TDArquivos(s.c.DM()).GravaImagens(exame, jpeg, vazio);
    }
    s.Abre(false);
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OS", hora)));
    s.Clica("Axial");
    QCOMPARE(s.reg.Chamadas().size(), 1);
    QCOMPARE(s.reg.Chamadas().first().value("central"), central);
    QCOMPARE(s.reg.Chamadas().first().value("lateral"), lateral);
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
}

void TesteMapas::exemplos_data()
{
    QTest::addColumn<bool>("orto");
    QTest::addColumn<int>("classe");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("apaga");
    QTest::addColumn<QString>("triplo");
    QTest::addColumn<QString>("cabecalho");
    QTest::addColumn<QString>("mensagem");
    const QString central =
        "Central01|00001|xx.xxx.xxx-x|Exemplo|01/01/01|00:00:00|Médico Teste|9999|100";
    QTest::newRow("Central01") << true << 1 << "OD - Central01" << "" << "nulo" << central << "";
    QTest::newRow("Orto02") << true << 6 << "Orto02" << "" << "99.9999 99.9999 99.9999"
                            << "Orto02|00001|xx.xxx.xxx-x|Exemplo|01/01/01|00:00:00|Médico Teste|9999|100" << "";
    QTest::newRow("example without its files") << false << 1 << "OD - Central01" << "d.txt" << "" << ""
                                               << "Não foi possível processar o mapa selecionado. ERROMAP02";
}

void TesteMapas::exemplos()
{
    QFETCH(bool, orto);
    QFETCH(int, classe);
    QFETCH(QString, item);
    QFETCH(QString, apaga);
    QFETCH(QString, triplo);
    QFETCH(QString, cabecalho);
    QFETCH(QString, mensagem);
    CenaMapas s;
    QVERIFY(s.c.Valido());
    s.Abre(orto);
    s.c.nav->pcExames->setCurrentIndex(1);
    s.c.nav->GridExemplosSelectCell(1, classe);
    QVERIFY(s.c.Seleciona(item));
    if (!apaga.isEmpty())
        QVERIFY(QFile::remove(PrefixoExemplo(item.mid(5)) + apaga));
    s.Clica("Axial");
    QCOMPARE(InfosZR.NumAneis, 16);
    QCOMPARE(InfosZR.TipoCone, QStringLiteral("1"));
    if (!mensagem.isEmpty()) {
        QCOMPARE(s.c.msgs.Textos().last(), mensagem);
        QVERIFY(s.reg.Chamadas().isEmpty());
        return;
    }
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    QCOMPARE(s.reg.Chamadas().size(), 1);
    const Chamada ch = s.reg.Chamadas().first();
    QCOMPARE(ch.value("entrada"), QStringLiteral("ProcessaMapa"));
    QCOMPARE(ch.value("orto"), triplo);
    QCOMPARE(ch.value("central"), QStringLiteral("nulo"));
    QCOMPARE(ch.value("NumAneis"), QStringLiteral("16"));
    QCOMPARE(ch.value("TipoCone"), QStringLiteral("2"));
    QCOMPARE(ch.value("cabecalho"), cabecalho);
}

void TesteMapas::aberrometria()
{
    CenaMapas s;
    QVERIFY(s.c.Valido());
    // A folder of its own: the module file goes away after the first click, and the second
    // click still reaches the module, which stayed loaded.
    QTemporaryDir pasta;
    PathsZR.DirMapas = pasta.path();
    const QString arquivo = ArquivoMapa(pasta.path(), QStringLiteral("Aberrometria"));
    QVERIFY(QFile::copy(ArquivoMapa(QStringLiteral(ZR_PASTA_MODULOS_REGISTRO), QStringLiteral("Aberrometria")), arquivo));
    InfosZR.ClinicaNome = QStringLiteral("Clínica Visão");
    InfosZR.ClinicaEndereco = QStringLiteral("Rua A, 1");
    InfosZR.ClinicaCidadeEst = QStringLiteral("Recife - PE");
    InfosZR.ClinicaTelefone = QStringLiteral("81 5555-0000");
    InfosZR.Z0 = 75.5;
    InfosZR.FatorCorrecao = 0.0125;
    InfosZR.Modelo = 3;
    const QTime hora(8, 30, 0);
    s.Exame(hora, "OD", "T", 12.5);
    s.Abre(false);
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OD", hora)));
    s.Clica("Aberrometria");
    QVERIFY(QFile::remove(arquivo));
    s.Clica("Aberrometria");
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    const QList<Chamada> chamadas = s.reg.Chamadas();
    QCOMPARE(chamadas.size(), 2);
    for (const Chamada& ch : chamadas) {
        // The module wrote into its copies in the first call: the second gets the data again.
        QCOMPARE(ch.value("celulas"), QStringLiteral("12.5 20 43.25"));
        QCOMPARE(ch.value("clinica"), QStringLiteral("Clínica Visão|Rua A, 1|Recife - PE|81 5555-0000"));
        QCOMPARE(ch.value("constantes"), QStringLiteral("1 350 350 3"));
        QCOMPARE(ch.value("z0"), QStringLiteral("75.5 fator=0.0125"));
        QCOMPARE(ch.value("modelo"), QStringLiteral("3 NumAneis=32 TipoCone=3"));
        QCOMPARE(ch.value("cabecalho").split(QLatin1Char('|')).value(3), QStringLiteral("Olho Direito"));
    }
    QCOMPARE(InfosZR.NumAneis, 16);
}

void TesteMapas::semSelecao()
{
    CenaMapas s;
    QVERIFY(s.c.Valido());
    s.Exame(QTime(8, 0, 0), "OD", "T", 1);
    s.Abre(false);
    s.Clica("Axial");
    s.Clica("MultiMapas", true);
    QCOMPARE(s.c.msgs.Textos(),
             QStringList({"Por favor, selecione um exame para que o mapa possa ser exibido.",
                          "Não há número suficiente de exames para gerar o mapa desejado."}));
    for (const auto& r : s.c.msgs.Registros()) {
        QCOMPARE(r.titulo, QStringLiteral("Informação"));
        QCOMPARE(r.icone, IconeMensagem::Informacao);
    }
    QVERIFY(s.reg.Chamadas().isEmpty());
}

void TesteMapas::dadosMalformados()
{
    CenaMapas s;
    QVERIFY(s.c.Valido());
    const QTime hora(8, 0, 0);
    const int exame = s.Exame(hora, "OD", "T", 1);
    QFile d(PrefixoExame(s.paciente, exame) + QStringLiteral("d.txt"));
    QVERIFY(d.open(QIODevice::WriteOnly));
    d.write("12,x5 abc\r\n");
    d.close();
    s.Abre(false);
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OD", hora)));
    // The conversion error goes up to the application-wide report; nothing else changes.
    QVERIFY_THROWS_EXCEPTION(ErroSistema, s.Clica("Axial"));
    QVERIFY(s.reg.Chamadas().isEmpty());
    QCOMPARE(InfosZR.NumAneis, 16);
    QVERIFY(!TfrmAguarde::Instancia() || !TfrmAguarde::Instancia()->isVisible());
}

void TesteMapas::mapas_data()
{
    QTest::addColumn<bool>("orto");
    QTest::addColumn<QString>("exames");    // eye and type of each, times 10:00:00, 10:00:01, ...
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QString>("selecao");   // lines the wizard chooses; "" cancels
    QTest::addColumn<QString>("escolha");   // or lines the wizard answers as they are
    QTest::addColumn<int>("candidatos");    // lines offered; -1 no wizard
    QTest::addColumn<QString>("horas");     // times of the examinations the module got, in order
    QTest::addColumn<QString>("sags");      // MultiOrto: Sag of each block entry
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("Duplo OD and OS") << false << "OD T, OS T, OD O" << "Duplo" << "2,1" << "" << 2
                                     << "10:00:01 10:00:00" << "" << "";
    QTest::newRow("Duplo two OD") << false << "OD T, OD T" << "Duplo" << "1" << "" << -1 << "" << ""
                                  << kInsuficiente;
    QTest::newRow("Diferencial two OD") << true << "OD T, OD O, OS T" << "Diferencial" << "2,1" << "" << 3
                                        << "10:00:01 10:00:00" << "" << "";
    QTest::newRow("Diferencial OD and OS") << false << "OD T, OS T" << "Diferencial" << "1,2" << "" << -1 << ""
                                           << "" << kInsuficiente;
    QTest::newRow("MultiMapas two of each eye") << false << "OD T, OD T, OS T, OS T" << "MultiMapas" << "1,2,3"
                                                << "" << -1 << "" << "" << kInsuficiente;
    QTest::newRow("MultiMapas six with ortho-k") << true << "OD T, OD O, OD T, OD O, OD T, OD O" << "MultiMapas"
                                                 << "6,5,4,3,2,1" << "" << 6
                                                 << "10:00:05 10:00:04 10:00:03 10:00:02 10:00:01 10:00:00" << ""
                                                 << "";
    QTest::newRow("MultiOrto four") << true << "OD O, OD O, OD T, OD O, OD O" << "MultiOrto" << "4,3,2,1" << ""
                                    << 4 << "10:00:04 10:00:03 10:00:01 10:00:00" << "12 11 9 8" << "";
    QTest::newRow("MultiOrto five") << true << "OD O, OD O, OD O, OD O, OD O" << "MultiOrto" << "1,2,3,4,5" << ""
                                    << 5 << ""
                                    << "" << "O mapa de ortoceratologia compara no máximo 4 exames. Selecione até 4 exames.";
    QTest::newRow("unknown line") << false << "OD T, OD T, OD T" << "MultiMapas" << ""
                                  << "Olho Direito - 01/01/1999 10:00:00" << 3 << "" << ""
                                  << "Erro ao selecionar o exame!";
    QTest::newRow("repeated line") << false << "OD T, OD T, OD T" << "MultiMapas" << "1,2,1" << "" << 3 << ""
                                   << "" << "Erro ao selecionar o exame!";
    QTest::newRow("cancelled") << false << "OD T, OD T, OD T" << "MultiMapas" << "" << "" << 3 << "" << "" << "";
    QTest::newRow("unknown type") << false << "OD T, OD X" << "Comparativo" << "1" << "" << -1 << "" << ""
                                  << "Tipo de exame incorreto!\rEntre em contato com a assistência técnica";
}

void TesteMapas::mapas()
{
    QFETCH(bool, orto);
    QFETCH(QString, exames);
    QFETCH(QString, modulo);
    QFETCH(QString, selecao);
    QFETCH(QString, escolha);
    QFETCH(int, candidatos);
    QFETCH(QString, horas);
    QFETCH(QString, sags);
    QFETCH(QString, mensagem);
    CenaMapas s;
    QVERIFY(s.c.Valido());
    QList<int> codigos;
    const QStringList lista = exames.split(QStringLiteral(", "));
    for (int i = 0; i < lista.size(); ++i) {
        const QStringList p = lista[i].split(QLatin1Char(' '));
        codigos << s.Exame(QTime(10, 0, i), p[0], p[1], 10 + i, 87.5, 32, 8 + i);
    }
    if (!selecao.isEmpty())
        qputenv("ZR_MODULOS_SELECAO", selecao.toUtf8());
    if (!escolha.isEmpty())
        qputenv("ZR_TESTE_ESCOLHA", escolha.toUtf8());
    s.Abre(orto);
    const QString primeira = CenaMapas::Legenda(lista[0].left(2), QTime(10, 0, 0));
    QVERIFY(s.c.Seleciona(primeira));
    s.Clica(modulo, true);

    if (mensagem.isEmpty())
        QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    else
        QCOMPARE(s.c.msgs.Textos().value(0), mensagem);
    const QList<Chamada> chamadas = s.reg.Chamadas();
    QCOMPARE(chamadas.size(), candidatos < 0 ? 0 : horas.isEmpty() ? 1 : 2);
    if (candidatos >= 0) {
        QCOMPARE(chamadas[0].value("entrada"),
                 modulo == "Diferencial" ? QStringLiteral("WizardDiferencial") : QStringLiteral("Wizard"));
        QCOMPARE(chamadas[0].value("candidatos").split(QLatin1Char('|')).size(), candidatos);
        if (modulo == "Diferencial")
            QCOMPARE(chamadas[0].value("edicaoOrto"), orto ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (!horas.isEmpty()) {
        const Chamada& ch = chamadas[1];
        const QStringList h = horas.split(QLatin1Char(' '));
        QStringList recebidas;
        for (int i = 0; i < h.size(); ++i) {
            const QStringList cab = ch.value(QStringLiteral("cabecalho%1").arg(i)).split(QLatin1Char('|'));
            QCOMPARE(cab.size(), 8);
            QCOMPARE(cab[1], QString::number(s.paciente));
            QCOMPARE(cab[7], QStringLiteral("87.5"));
            recebidas << cab[5];
        }
        QCOMPARE(recebidas, h);
        if (sags.isEmpty()) {
            QCOMPARE(ch.value("entrada"), QStringLiteral("ProcessaMapas"));
            QCOMPARE(ch.value("quantidade"), QStringLiteral("%1 %1 %1 %1 %1 %1").arg(h.size()));
            QCOMPARE(ch.value("opcoes"), QStringLiteral("vista=axial|escala=absoluta"));
            // Element i holds the i-th chosen examination's data.
            const int ultima = h.last().right(1).toInt();
            QCOMPARE(ch.value(QStringLiteral("celulas%1").arg(h.size() - 1)), QStringLiteral("%1 20 43.25").arg(10 + ultima));
        } else {
            QCOMPARE(ch.value("entrada"), QStringLiteral("ProcessaMapasOrto"));
            QStringList recebidos;
            for (const QString& e : ch.value("bloco").split(QLatin1Char('|')))
                recebidos << e.section(QLatin1Char(' '), 0, 0);
            QCOMPARE(recebidos.join(QLatin1Char(' ')), sags);
        }
    }
    QCOMPARE(InfosZR.NumAneis, 16);

    // The examination query is back on the selected examination: "Axial" draws it.
    s.reg.Limpa();
    s.c.msgs.Limpa();
    s.Clica("Axial");
    QCOMPARE(s.reg.Chamadas().size(), 1);
    QCOMPARE(s.reg.Chamadas().first().value("cabecalho").split(QLatin1Char('|')).value(7),
             FormataNumero(QStringLiteral("0000"), codigos.first()));
}

void TesteMapas::mapasExemplos_data()
{
    QTest::addColumn<int>("classe");
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QString>("selecao");
    QTest::addColumn<QString>("escolha");
    QTest::addColumn<QStringList>("linhas4e5"); // eye and date lines of each header
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("MultiMapas Central") << 1 << "MultiMapas" << "1,2,3,4" << ""
                                        << QStringList{"Olho Direito  10/01/2001", "Olho Direito  12/01/2001",
                                                       "Olho Direito  14/01/2001", "Olho Direito  16/01/2001"}
                                        << "";
    QTest::newRow("Diferencial Regular") << 3 << "Diferencial" << "6,1" << ""
                                         << QStringList{"Olho Esquerdo  20/01/2001", "Olho Direito  10/01/2001"}
                                         << "";
    QTest::newRow("MultiOrto Orto") << 6 << "MultiOrto" << "1,2,3,4" << ""
                                    << QStringList{"Olho Esquerdo  10/01/2001", "Olho Esquerdo  12/01/2001",
                                                   "Olho Esquerdo  14/01/2001", "Olho Esquerdo  16/01/2001"}
                                    << "";
    QTest::newRow("MultiOrto Normal") << 5 << "MultiOrto" << "1,2,3,4" << "" << QStringList{}
                                      << "Número insuficiente de exames OU os exemplos selecionados não são de "
                                         "ortoceratologia.";
    QTest::newRow("unmatched line") << 1 << "MultiMapas" << "" << "Olho Direito - 11/01/2001 00:00:00"
                                    << QStringList{} << "Não foi encontrado um dos exames. Não é possível continuar.";
}

void TesteMapas::mapasExemplos()
{
    QFETCH(int, classe);
    QFETCH(QString, modulo);
    QFETCH(QString, selecao);
    QFETCH(QString, escolha);
    QFETCH(QStringList, linhas4e5);
    QFETCH(QString, mensagem);
    CenaMapas s;
    QVERIFY(s.c.Valido());
    if (!selecao.isEmpty())
        qputenv("ZR_MODULOS_SELECAO", selecao.toUtf8());
    if (!escolha.isEmpty())
        qputenv("ZR_TESTE_ESCOLHA", escolha.toUtf8());
    s.Abre(true);
    s.c.nav->pcExames->setCurrentIndex(1);
    s.c.nav->GridExemplosSelectCell(1, classe);
    s.Clica(modulo, true);
    QCOMPARE(InfosZR.NumAneis, 16);
    QCOMPARE(InfosZR.TipoCone, QStringLiteral("1"));
    if (!mensagem.isEmpty()) {
        QCOMPARE(s.c.msgs.Textos(), QStringList{mensagem});
        QVERIFY(!s.reg.Entradas().contains("ProcessaMapas") && !s.reg.Entradas().contains("ProcessaMapasOrto"));
        return;
    }
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    const QList<Chamada> chamadas = s.reg.Chamadas();
    QCOMPARE(chamadas.size(), 2);
    const Chamada& ch = chamadas[1];
    QCOMPARE(ch.value("NumAneis"), QStringLiteral("16"));
    QStringList recebidas;
    for (int i = 0; i < linhas4e5.size(); ++i) {
        const QStringList cab = ch.value(QStringLiteral("cabecalho%1").arg(i)).split(QLatin1Char('|'));
        QCOMPARE(cab.mid(0, 3), QStringList({"Exemplo", "00", "00"}));
        QCOMPARE(cab.mid(5), QStringList({"00:00:00", "Dr. Tremond", "100"}));
        recebidas << cab[3] + QLatin1Char(' ') + cab[4];
    }
    QCOMPARE(recebidas, linhas4e5);
    if (modulo == "MultiOrto")
        QCOMPARE(ch.value("bloco"), QStringLiteral("0 0 0 0|0 0 0 0|0 0 0 0|0 0 0 0"));
}

void TesteMapas::miniMapa_data()
{
    QTest::addColumn<QString>("visualizar"); // what the module writes
    QTest::addColumn<bool>("desenhado");
    QTest::newRow("bitmap") << "" << true;
    QTest::newRow("nothing") << "vazio" << false;
    QTest::newRow("not a bitmap") << "lixo" << false;
}

void TesteMapas::miniMapa()
{
    QFETCH(QString, visualizar);
    QFETCH(bool, desenhado);
    CenaMapas s;
    QVERIFY(s.c.Valido());
    if (!visualizar.isEmpty())
        qputenv("ZR_TESTE_VISUALIZAR", visualizar.toUtf8());
    const QTime ha(9, 0, 0), hb(9, 30, 0);
    const int a = s.Exame(ha, "OD", "T", 11);
    s.Exame(hb, "OS", "T", 22);
    InfosZR.AutoMiniMapa = true;
    s.Abre(false);
    QVERIFY(s.c.nav->cBoxMiniMapa->isChecked());
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OD", ha)));
    s.c.nav->lswPrincipalDblClick(); // details shown: the small map is drawn at once
    QCOMPARE(s.reg.Entradas(), QStringList{"Visualizar"});
    const Chamada ch = s.reg.Chamadas().first();
    QCOMPARE(ch.value("celulas"), QStringLiteral("11 20 43.25"));
    QCOMPARE(ch.value("nulo"), QStringLiteral("nulo"));
    QCOMPARE(ch.value("zeros"), QStringLiteral("0 0"));
    QCOMPARE(ch.value("reservado"), QStringLiteral("registro"));
    QCOMPARE(ch.value("imagem"), QStringLiteral("endereco"));
    QCOMPARE(s.c.nav->CodigoMiniMapa(), desenhado ? a : -1);
    QCOMPARE(!s.c.nav->imgVisualizar->pixmap().isNull(), desenhado);
    if (!desenhado)
        return;

    // A second click on the same examination: no module call.
    s.c.nav->MostraMiniMapa();
    QCOMPARE(s.reg.Chamadas().size(), 1);
    // Untick (the setting follows), select B, select A, click: A is drawn again.
    s.c.nav->cBoxMiniMapa->click();
    QVERIFY(!InfosZR.AutoMiniMapa);
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OS", hb)));
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OD", ha)));
    QVERIFY(s.c.nav->imgVisualizar->pixmap().isNull());
    QTest::mouseClick(s.c.nav->imgVisualizar, Qt::LeftButton);
    QTRY_COMPARE(s.reg.Chamadas().size(), 2);
    QCOMPARE(s.reg.Chamadas().last().value("celulas"), QStringLiteral("11 20 43.25"));
    QCOMPARE(s.c.nav->CodigoMiniMapa(), a);
    QVERIFY(!s.c.nav->imgVisualizar->pixmap().isNull());
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    TBIniSettings ini;
    ini.LoadAll(3);
    TInfosZR lido;
    TPathsZR caminhos;
    PreencheRegistrosZR(ini, lido, caminhos);
    QVERIFY(!lido.AutoMiniMapa);
}

// The installation's own map modules: the small axial map of a stored examination in the
// details, and "TangencialOrto" on the example Orto01 with its treatment analysis. With
// ZR_CAPTURAS_TESTE=<folder> the screens are kept there.
void TesteMapas::modulosReais()
{
    CenaMapas s;
    QVERIFY(s.c.Valido());
    ModulosReais saida;
    const QString capturas = qEnvironmentVariable("ZR_CAPTURAS_TESTE");

    // A stored examination with the data of the example Central03.
    const QTime hora(11, 20, 0);
    const int exame = s.ExameDoExemplo(hora, QStringLiteral("Central03"));
    QVERIFY(exame > 0);
    InfosZR.AutoMiniMapa = true;
    s.Abre(true);
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OD", hora)));
    s.c.nav->lswPrincipalDblClick();
    QCOMPARE(s.c.nav->CodigoMiniMapa(), exame);
    const QPixmap mini = s.c.nav->imgVisualizar->pixmap();
    QVERIFY(!mini.isNull());
    QVERIFY(mini.width() <= 180 && mini.height() <= 180 && mini.width() >= 170);
    if (!capturas.isEmpty())
        s.c.nav->grab().save(QDir(capturas).filePath(QStringLiteral("navegador_minimapa.png")));

    s.c.nav->pcExames->setCurrentIndex(1);
    s.c.nav->GridExemplosSelectCell(1, 6);
    QVERIFY(s.c.Seleciona(QStringLiteral("Orto01")));
    s.Clica(QStringLiteral("TangencialOrto"));
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    QFile txt(QDir(saida.path()).filePath(QStringLiteral("TangencialOrto.txt")));
    QVERIFY(txt.open(QIODevice::ReadOnly));
    const QString resumo = DeCp1252(txt.readAll());
    QVERIFY2(resumo.contains(QStringLiteral("Mapa: Tangencial")), qPrintable(resumo));
    QVERIFY2(resumo.contains(QStringLiteral("Sag: 99.9999")), qPrintable(resumo));
    QVERIFY2(resumo.contains(QStringLiteral("Zona aplanada: ")) && resumo.contains(QStringLiteral("Descentração: ")),
             qPrintable(resumo));
    if (!capturas.isEmpty())
        QFile::copy(QDir(saida.path()).filePath(QStringLiteral("TangencialOrto.png")),
                    QDir(capturas).filePath(QStringLiteral("tangencialorto_orto01.png")));
}

// The lens and aberrometry modules of the build through the navigator's buttons, on a stored
// examination with an example's data and on an example of the "Exemplos" page.
void TesteMapas::lenteAberrometriaReais()
{
    CenaMapas s;
    QVERIFY(s.c.Valido());
    ModulosReais saida;
    InfosZR.ClinicaNome = QStringLiteral("Clínica Visão");
    InfosZR.ClinicaEndereco = QStringLiteral("Rua A, 1");
    InfosZR.ClinicaCidadeEst = QStringLiteral("Recife - PE");
    InfosZR.ClinicaTelefone = QStringLiteral("81 5555-0000");
    const QTime hora(10, 5, 0);
    QVERIFY(s.ExameDoExemplo(hora, QStringLiteral("Normal02")) > 0);
    const auto texto = [&](const char* nome) {
        QFile f(QDir(saida.path()).filePath(QLatin1String(nome)));
        const QString t = f.open(QIODevice::ReadOnly) ? DeCp1252(f.readAll()) : QString();
        f.remove();
        return t;
    };
    s.Abre(false);
    QVERIFY(s.c.Seleciona(CenaMapas::Legenda("OD", hora)));
    s.Clica(QStringLiteral("AdaptacaoLC"));
    s.Clica(QStringLiteral("Aberrometria"));
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    const QString lente = texto("AdaptacaoLC.txt");
    // The examination was stored without images: the schematic eye stands in.
    QVERIFY2(lente.contains(QStringLiteral("Adaptação: ")) &&
                 lente.count(QStringLiteral("Nota:")) == 1 && lente.contains(QStringLiteral("Nota: Sem imagem central")),
             qPrintable(lente));
    const QString aberro = texto("Aberrometria.txt");
    QVERIFY2(aberro.contains(QStringLiteral("RMS de alta ordem: ")) && !aberro.contains(QStringLiteral("Nota:")),
             qPrintable(aberro));

    s.c.nav->pcExames->setCurrentIndex(1);
    s.c.nav->GridExemplosSelectCell(1, 4);
    QVERIFY(s.c.Seleciona(QStringLiteral("OD - Irregular01")));
    s.Clica(QStringLiteral("Aberrometria"));
    QVERIFY2(s.c.msgs.Registros().isEmpty(), qPrintable(s.Mensagens()));
    QVERIFY2(texto("Aberrometria.txt").contains(QStringLiteral("Coma: ")), qPrintable(s.Mensagens()));
}

QTEST_MAIN(TesteMapas)
#include "tst_mapas.moc"
