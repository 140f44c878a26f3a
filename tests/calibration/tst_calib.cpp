// The calibration form on a fresh installation with the simulated instrument's real capture
// and processing modules in automatic mode: the steps and buttons of each calibrator, the
// wheel's check marks, a full calibration measured afterwards, and the failures that must
// leave the stored calibration as it was.

#include "calibration/UCoeficientesCalib.h"
#include "calibration/URegrasCalib.h"
#include "calibration/UfrmCalib.h"
#include "common/UTextoCp1252.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"
#include "platform/UMensagens.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

using namespace RegrasCalib;

namespace {

QByteArray Conteudo(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A fresh installation with the instrument's modules where the settings name them.
class CenarioCalib {
public:
    explicit CenarioCalib(const QString& ultimaCalib = QString(), const QString& tipo = QStringLiteral("0"))
    {
        const auto& p = inst.Pastas();
        Copia(QStringLiteral(ZR_MODULO_DIGITALIZACAO), p.modulos + QStringLiteral("/Digitalizacao.so"));
        Copia(QStringLiteral(ZR_MODULO_PROCESSAMENTO), p.modulos + QStringLiteral("/Processamento.so"));
        inst.AlteraChave(QStringLiteral("ULTIMACALIB"), ultimaCalib);
        inst.AlteraChave(QStringLiteral("TIPOCALIBRADOR"), tipo);
        qputenv("ZR_MODULOS_AUTOMATICO", "1");
        ini.LoadAll(3);
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
        QDir().mkpath(PathsZR.Calibracao);
        frm = new TfrmCalib(ini);
        frm->show();
    }
    ~CenarioCalib()
    {
        delete frm.data();
        qunsetenv("ZR_MODULOS_AUTOMATICO");
    }
    static void Copia(const QString& de, const QString& para)
    {
        QFile::remove(para);
        QVERIFY2(QFile::copy(de, para), qPrintable(de));
    }
    QString Chave(const QString& secao, const QString& chave) const
    {
        return ini.ReadValue(inst.ArquivoConfiguracao(), TipoValorIni::Str, secao, chave);
    }
    QString Calib(const QString& nome) const { return QDir(PathsZR.Calibracao).filePath(nome); }
    // Processes the four spheres as the user does, the wheel's timer ticking between them.
    void ProcessaQuatro()
    {
        for (int n = 1; n <= 4; ++n) {
            QCOMPARE(frm->Passo(), n);
            frm->btnPRC->click();
            if (frm->Timer->isActive())
                frm->TimerTimer();
        }
    }

    InstalacaoTeste inst{InstalacaoTeste::Etapas::SoBanco};
    TBIniSettings ini;
    MensagensRoteiro msgs;
    QPointer<TfrmCalib> frm;
};

const QString kSucesso = QStringLiteral("A Calibração foi realizada com sucesso.");
const QString kFalha = QStringLiteral("A Calibração não foi realizada com sucesso.");

} // namespace

class TesteCalib : public QObject {
    Q_OBJECT
private slots:
    void marcasRoda_data();
    void marcasRoda();
    void animacaoEUltimaCalib();
    void calibrador1Botoes_data();
    void calibrador1Botoes();
    void trocaCalibrador();
    void ultimaCalibInvalida_data();
    void ultimaCalibInvalida();
    void calibracaoCompleta_data();
    void calibracaoCompleta();
    void falhasDoProcessamento_data();
    void falhasDoProcessamento();
    void medidasIguais();
};

// The wheel's table: "c=k" means chkEsf c shows the done flag of sphere k; the other marks stay.
void TesteCalib::marcasRoda_data()
{
    QTest::addColumn<int>("passo");
    QTest::addColumn<int>("anterior");
    QTest::addColumn<QString>("marcas");
    QTest::newRow("1 voltando") << 1 << 2 << "2=4";
    QTest::newRow("1 parado") << 1 << 1 << "";
    QTest::newRow("2 voltando") << 2 << 3 << "3=4 2=1";
    QTest::newRow("2 avançando") << 2 << 1 << "2=1";
    QTest::newRow("3 voltando") << 3 << 4 << "4=4 3=1 2=2";
    QTest::newRow("3 avançando") << 3 << 2 << "2=2 3=1";
    QTest::newRow("4 voltando") << 4 << 5 << "1=4";
    QTest::newRow("4 avançando") << 4 << 3 << "2=3 3=2 4=1";
    QTest::newRow("5 avançando") << 5 << 4 << "1=4";
}

void TesteCalib::marcasRoda()
{
    QFETCH(int, passo);
    QFETCH(int, anterior);
    QFETCH(QString, marcas);
    // Every combination of done flags, so that a mark tied to the wrong sphere shows.
    for (int bits = 0; bits < 16; ++bits) {
        std::array<bool, 4> feito;
        for (int k = 0; k < 4; ++k)
            feito[k] = bits & (1 << k);
        std::array<int, 4> esperado = {-1, -1, -1, -1};
        for (const QString& m : marcas.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            esperado[m.section(QLatin1Char('='), 0, 0).toInt() - 1] = feito[m.section(QLatin1Char('='), 1).toInt() - 1];
        QCOMPARE(MarcasRoda(passo, anterior, feito), esperado);
    }
}

void TesteCalib::animacaoEUltimaCalib()
{
    const QStringList avante = {"cbr_mov1.dat", "cbr_mov1.dat", "cbr_mov2.dat", "cbr_mov3.dat", ""};
    const QStringList volta = {"cbr_mov1_ant.dat", "cbr_mov2_ant.dat", "cbr_mov3_ant.dat", "", ""};
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(ArquivoAnimacao(n, true), avante[n - 1]);
        QCOMPARE(ArquivoAnimacao(n, false), volta[n - 1]);
    }
    QCOMPARE(TextoUltimaCalib(QStringLiteral("05/03/2024 14:07:09")), QStringLiteral("05/03/2024 14:07:09"));
    for (const char* ruim : {"", "abc", "31/02/2024 10:00:00", "2024-03-05 14:07:09"})
        QCOMPARE(TextoUltimaCalib(QString::fromLatin1(ruim)), QStringLiteral("--:--:-- --/--/----"));
}

// "Calibrador 1": which navigation buttons a step leaves enabled, the radius and the
// captions; out-of-range steps are clamped.
void TesteCalib::calibrador1Botoes_data()
{
    QTest::addColumn<int>("pedido");
    QTest::addColumn<int>("passo");
    QTest::addColumn<bool>("anterior");
    QTest::addColumn<bool>("proxima");
    QTest::addColumn<QString>("raio");
    QTest::addColumn<QString>("legenda");
    const QString proc = QStringLiteral("Processar Esfera"), salvar = QStringLiteral("Salvar Calibração");
    QTest::newRow("0 vira 1") << 0 << 1 << false << true << "7.73" << proc;
    QTest::newRow("1") << 1 << 1 << false << true << "7.73" << proc;
    QTest::newRow("2") << 2 << 2 << true << true << "8.05" << proc;
    QTest::newRow("3") << 3 << 3 << true << true << "8.34" << proc;
    QTest::newRow("4") << 4 << 4 << true << false << "8.91" << proc;
    QTest::newRow("9 vira 5") << 9 << 5 << true << false << "8.91" << salvar;
}

void TesteCalib::calibrador1Botoes()
{
    QFETCH(int, pedido);
    QFETCH(int, passo);
    QFETCH(bool, anterior);
    QFETCH(bool, proxima);
    QFETCH(QString, raio);
    QFETCH(QString, legenda);
    CenarioCalib c(QString(), QStringLiteral("0"));
    c.frm->SelecionaPasso(4); // from elsewhere, so the step's own rules show
    c.frm->SelecionaPasso(pedido);
    QCOMPARE(c.frm->Passo(), passo);
    QCOMPARE(c.frm->btnANT->isEnabled(), anterior);
    QCOMPARE(c.frm->btnPRO->isEnabled(), proxima);
    QCOMPARE(c.frm->lblRaio->text(), raio);
    QCOMPARE(c.frm->btnPRC->text(), legenda);
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(c.frm->Esf[k - 1]->property("contorno").toBool(), k == passo);
}

void TesteCalib::trocaCalibrador()
{
    CenarioCalib c(QString(), QStringLiteral("0"));
    QVERIFY(c.frm->pnlCalibQuad->isVisible());
    QVERIFY(!c.frm->pnlCalibRedondo->isVisible());
    for (int tipo : {1, 0, 1}) {
        c.frm->EscolheCalibrador(tipo);
        QCOMPARE(c.Chave(QStringLiteral("OPCOES"), QStringLiteral("TIPOCALIBRADOR")), QString::number(tipo));
        QCOMPARE(int(InfosZR.TipoCalibrador), tipo);
        QCOMPARE(c.frm->pnlCalibRedondo->isVisible(), tipo == 1);
        QCOMPARE(c.frm->pnlCalibQuad->isVisible(), tipo == 0);
        QCOMPARE(c.frm->Passo(), 1);
    }
    // The wheel: only "next" at step 1; after moving on, the calibrator is locked.
    QVERIFY(!c.frm->btnANT->isEnabled());
    QVERIFY(c.frm->btnPRO->isEnabled());
    c.frm->btnPROClick();
    QCOMPARE(c.frm->Passo(), 2);
    QVERIFY(!c.frm->rgpTpCalib->isEnabled());
    QVERIFY(!c.frm->imgEsf[0]->isVisible());
    c.frm->TimerTimer();
    QVERIFY(c.frm->imgEsf[0]->isVisible());
    QVERIFY(c.frm->btnANT->isEnabled() && c.frm->btnPRO->isEnabled());
    c.frm->btnANTClick();
    c.frm->TimerTimer();
    QCOMPARE(c.frm->Passo(), 1);
    QVERIFY(c.frm->rgpTpCalib->isEnabled());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteCalib::ultimaCalibInvalida_data()
{
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("mostrado");
    QTest::newRow("vazia") << "" << "--:--:-- --/--/----";
    QTest::newRow("abc") << "abc" << "--:--:-- --/--/----";
    QTest::newRow("data") << "01/02/2025 08:09:10" << "01/02/2025 08:09:10";
}

void TesteCalib::ultimaCalibInvalida()
{
    QFETCH(QString, valor);
    QFETCH(QString, mostrado);
    CenarioCalib c(valor, QStringLiteral("1"));
    QVERIFY(c.frm);
    QCOMPARE(c.frm->lblUltCalib->text(), mostrado);
    QCOMPARE(c.frm->TipoCalibrador(), 1); // the stored type is applied all the same
    QVERIFY(c.frm->pnlCalibRedondo->isVisible());
}

void TesteCalib::calibracaoCompleta_data()
{
    QTest::addColumn<int>("tipo");
    QTest::newRow("Calibrador 1") << 0;
    QTest::newRow("Calibrador 2") << 1;
}

// Four spheres captured and measured by the modules, the coefficients fitted from exactly
// those files, the time stored and shown; then a 7.73 mm sphere measured with them.
void TesteCalib::calibracaoCompleta()
{
    QFETCH(int, tipo);
    CenarioCalib c(QString(), QString::number(tipo));
    const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
    c.ProcessaQuatro();
    QCOMPARE(c.frm->Passo(), 5);
    QCOMPARE(c.frm->btnPRC->text(), QStringLiteral("Salvar Calibração"));
    const QStringList raios = {"7.73", "8.05", "8.34", "8.91"};
    for (int k = 1; k <= 4; ++k) {
        const QStringList linhas = LeArquivoTexto(c.Calib(QStringLiteral("%1.txt").arg(k)));
        QCOMPARE(linhas.size(), 17);
        QCOMPARE(linhas[0].toDouble(), raios[k - 1].toDouble());
        if (tipo == 0)
            QVERIFY(c.frm->imgChk[k - 1]->isVisible());
        else
            QVERIFY(c.frm->Feito(k));
    }
    if (tipo == 1)
        QVERIFY(c.frm->chkEsf[0]->isVisible()); // sphere 4 back at the top, done
    QPointer<TfrmCalib> frm = c.frm;
    frm->btnPRC->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!frm); // saving closes the form
    QCOMPARE(c.msgs.Textos(), QStringList{kSucesso});
    QCOMPARE(Conteudo(c.Calib(QStringLiteral("Coef.txt"))),
             ConteudoCoeficientes(CalculaCoeficientes(QDir(PathsZR.Calibracao).absolutePath(), 16), 16));
    const QDateTime quando = QDateTime::fromString(c.Chave(QStringLiteral("MODULOS"), QStringLiteral("ULTIMACALIB")),
                                                   QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    QVERIFY(quando.isValid() && quando >= antes && quando <= QDateTime::currentDateTime());
    QCOMPARE(c.ini.UltimaCalib(), quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));

    // A 7.73 mm sphere now reads 337.5 / 7.73 = 43.66 D.
    QVERIFY(LoadCapturaDLL(PathsZR.Digitalizacao) && LoadProcDLL(PathsZR.Processamento));
    InfosZRModulo infos(InfosZR);
    PathsZRModulo paths(PathsZR);
    BufferMemoria imagem, lateral;
    TextoModulo legenda(QStringLiteral("Digitalizando Esfera (7.73)"));
    CapturaDLL.Digitalizar(nullptr, imagem.Stream(), lateral.Stream(), 2, infos.Registro(), legenda.c_str());
    BufferMemoria entrada(imagem.Bytes());
    double cx = 0, cy = 0, indice = 0;
    struct Matriz {
        TMatrizAngAnel m;
    };
    auto posicoes = std::make_unique<Matriz>();
    auto d = std::make_unique<Matriz>();
    TAneisMeridiano aneis;
    TDadosPupila pupila;
    const int rc = ProcDLL.ProcessaImagem(nullptr, entrada.Stream(), &cx, &cy, &posicoes->m, &aneis, &d->m, &pupila,
                                          &indice, infos.Registro(), paths.Registro());
    FreeProcDLL();
    FreeCapturaDLL();
    QCOMPARE(rc, 1);
    double soma = 0;
    int pontos = 0;
    for (int k = 0; k < 360; ++k)
        for (int j = 1; j <= aneis[k]; ++j) {
            soma += d->m[k][j];
            ++pontos;
        }
    QVERIFY(pontos > 300 * 12);
    QVERIFY2(std::abs(soma / pontos - 337.5 / 7.73) < 0.05, qPrintable(QString::number(soma / pontos)));
}

// Modules that cannot be loaded, a capture without image: the message (if any), no sphere
// file, the step where it was.
void TesteCalib::falhasDoProcessamento_data()
{
    QTest::addColumn<QString>("captura");
    QTest::addColumn<QString>("processamento");
    QTest::addColumn<QString>("mensagem");
    const QString fatal = QStringLiteral("Ocorreu um erro fatal no sistema.\r\nEntre em contato com o nosso suporte "
                                         "técnico.\r\r\nCódigo do Erro: %1");
    QTest::newRow("sem captura") << "ausente" << "" << fatal.arg(300);
    QTest::newRow("sem processamento") << "" << "ausente" << fatal.arg(301);
    QTest::newRow("captura sem imagem") << ZR_PASTA_MODULOS_TESTE "/TesteCapturaCurta.so" << "" << "";
}

void TesteCalib::falhasDoProcessamento()
{
    QFETCH(QString, captura);
    QFETCH(QString, processamento);
    QFETCH(QString, mensagem);
    CenarioCalib c;
    const QString ausente = c.inst.Raiz() + QStringLiteral("/modulos/Nenhum.so");
    if (!captura.isEmpty())
        PathsZR.Digitalizacao = captura == QStringLiteral("ausente") ? ausente : captura;
    if (!processamento.isEmpty())
        PathsZR.Processamento = ausente;
    c.frm->btnPRC->click();
    QCOMPARE(c.frm->Passo(), 1);
    QVERIFY(!QFile::exists(c.Calib(QStringLiteral("1.txt"))));
    QCOMPARE(c.msgs.Textos(), mensagem.isEmpty() ? QStringList() : QStringList{mensagem});
    if (!mensagem.isEmpty())
        QCOMPARE(c.msgs.Registros().first().icone, IconeMensagem::Erro);
    QVERIFY(!CapturaDLL.biblioteca.Carregada() && !ProcDLL.biblioteca.Carregada());
}

// Four equal measurements cannot be fitted: the previous "Coef.txt" and "ULTIMACALIB" stay.
void TesteCalib::medidasIguais()
{
    CenarioCalib c(QStringLiteral("01/02/2025 08:09:10"));
    GravaArquivoBytes(c.Calib(QStringLiteral("Coef.txt")), QByteArray("0.1\r\n0.385\r\n"));
    for (int k = 1; k <= 4; ++k) {
        QStringList linhas = {QString::number(7.5 + k)};
        for (int j = 0; j < 16; ++j)
            linhas << QStringLiteral("20.5");
        GravaArquivoTexto(c.Calib(QStringLiteral("%1.txt").arg(k)), linhas);
    }
    c.frm->SelecionaPasso(5);
    c.frm->btnPRC->click();
    QCOMPARE(c.msgs.Textos(), QStringList{kFalha});
    QCOMPARE(Conteudo(c.Calib(QStringLiteral("Coef.txt"))), QByteArray("0.1\r\n0.385\r\n"));
    QCOMPARE(c.Chave(QStringLiteral("MODULOS"), QStringLiteral("ULTIMACALIB")), QStringLiteral("01/02/2025 08:09:10"));
}

QTEST_MAIN(TesteCalib)
#include "tst_calib.moc"
