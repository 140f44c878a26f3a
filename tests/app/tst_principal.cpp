// The main menu and the start-up sequence on real installations: settings, database, map
// modules; the About box in both editions; the single-instance rule; the error report.

#include "app/UAplicacao.h"
#include "app/UBRegConfig.h"
#include "app/UfrmIniciando.h"
#include "app/UfrmPrincipal.h"
#include "app/UfrmSobre.h"
#include "backup/UBackup.h"
#include "calibration/UfrmCalib.h"
#include "config/UfrmFerramentas.h"
#include <QTreeWidget>
#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "config/UArquivoIni.h"
#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "navigator/UfrmExames.h"
#include "modules/USondaModulo.h"
#include "platform/UAjuda.h"
#include "platform/UBVersionInfo.h"
#include "platform/UInstancia.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace {

// A 48 x 24 button picture: normal half, then the half under the pointer, with a magenta
// corner that must come out transparent.
void GravaFigura(const QString& arquivo)
{
    QImage img(48, 24, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 200));
    QPainter p(&img);
    p.fillRect(24, 0, 24, 24, QColor(0, 200, 0));
    p.fillRect(0, 0, 4, 4, QColor(255, 0, 255));
    p.end();
    QVERIFY(img.save(arquivo, "BMP"));
}

void CopiaMapas(const QString& pasta, const QStringList& nomes, const QStringList& comFigura)
{
    for (const QString& n : nomes) {
        const QString destino = pasta + u'/' + n + QStringLiteral(".so");
        QFile::remove(destino);
        QVERIFY2(QFile::copy(QStringLiteral(PASTA_MAPAS_TESTE) + u'/' + n + QStringLiteral(".so"), destino),
                 qPrintable(n));
        if (comFigura.contains(n))
            GravaFigura(pasta + u'/' + n + QStringLiteral(".bmp"));
    }
}

QStringList Legendas(TfrmExames* navegador)
{
    QStringList r;
    for (QToolButton* b : navegador->BotoesMapa())
        r << b->text();
    return r;
}

} // namespace

class TestePrincipal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpCompleto();
    void edicaoOrtoRegistraModulosOrto();
    void arquivoDeConfiguracaoAusente();
    void erroDeConversaoEncerraPartida();
    void pastaDeMapasAusente();
    void modulosDefeituosos();
    void bancoDeDadosQueNaoAbre();
    void navegadorExigeMedico();
    void lembreteDeBackup_data();
    void lembreteDeBackup();
    void calibracao();
    void ferramentas();
    void sobre_data();
    void sobre();
    void coneInvalido();
    void instanciaUnica();
    void relatorioDeErros();
    void fechamentoRestauraRegional();
    void siteDoFabricante();

private:
    std::unique_ptr<UsuarioTeste> m_usuario;
    std::unique_ptr<InstalacaoTeste> m_inst;
    std::unique_ptr<TDMPrincipal> m_dados;
    std::unique_ptr<MensagensRoteiro> m_msgs;
    QPointer<TfrmPrincipal> m_menu;
};

void TestePrincipal::init()
{
    m_usuario = std::make_unique<UsuarioTeste>();
    {
        TRegistro usuario; // the user's own decimal separator is ","
        QVERIFY(usuario.AbreChave(QStringLiteral("\\Control Panel\\International"), true));
        usuario.EscreveTexto(QStringLiteral("sDecimal"), QStringLiteral(","));
    }
    m_inst = std::make_unique<InstalacaoTeste>(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(m_inst->Valida());
    TBVersionInfo::DefineExecutavelPrograma(QStringLiteral(ARQ_PROGRAMA));
    SondaModulo::DefinePrograma(QStringLiteral(ARQ_PROGRAMA));
    m_dados = std::make_unique<TDMPrincipal>();
    m_msgs = std::make_unique<MensagensRoteiro>();
    InfosZR = TInfosZR();
    PathsZR = TPathsZR();
    m_menu = new TfrmPrincipal;
}

void TestePrincipal::cleanup()
{
    if (m_menu) {
        m_menu->close();
        delete m_menu;
    }
    QVERIFY2(m_msgs->Inesperadas().isEmpty(), qPrintable(m_msgs->Inesperadas().join(u'\n')));
    m_msgs.reset();
    m_dados.reset();
    m_inst.reset();
    m_usuario.reset();
    TBVersionInfo::DefineExecutavelPrograma(QString());
}

void TestePrincipal::startUpCompleto()
{
    const QString mapas = m_inst->Pastas().mapas;
    CopiaMapas(mapas, {"Alfa", "Beta", "Gama", "MultiOrto", "Curto"}, {"Gama", "Beta"});
    QFile lixo(mapas + QStringLiteral("/Lixo.so"));
    QVERIFY(lixo.open(QIODevice::WriteOnly));
    lixo.write("não é uma biblioteca");
    lixo.close();
    ArquivoIni::Escreve(m_inst->ArquivoConfiguracao(), QStringLiteral("BACKUP"), QStringLiteral("AUTO"),
                        QStringLiteral("1")); // backup reminder on

    // What an interrupted examination write left behind goes at start-up.
    const QString sobra = m_inst->Pastas().dados + QStringLiteral("/Exames/7/3d.txt.zrtmp");
    QVERIFY(QDir().mkpath(QFileInfo(sobra).absolutePath()));
    QVERIFY(QFile(sobra).open(QIODevice::WriteOnly));

    m_menu->StartUp();
    QVERIFY(m_menu->Started);
    QVERIFY(!QFile::exists(sobra));
    QVERIFY(TDMPrincipal::Instancia().Conectado());
    QVERIFY(!m_menu->Progresso()); // closed and freed
    QCOMPARE(InfosZR.NumAneis, 16);
    QCOMPARE(InfosZR.BackupAuto, 1); // the reminder ran; without a backup module it offers nothing
    QCOMPARE(PathsZR.DirMapas, mapas);

    TfrmExames* nav = m_menu->Navegador();
    QVERIFY(nav);
    // Buttons in ascending order of file name; the list in descending order.
    QCOMPARE(Legendas(nav), QStringList({"Alfa", "Beta", "Gama"}));
    QCOMPARE(m_menu->InstalledMaps,
             QStringList({"Gama", "", "Mapa Gama", "1.0.4.12",
                          "Beta", "Wizard", "Mapa Beta", "1.0.4.12",
                          "Alfa", "Simples", "Mapa Alfa", "1.0.4.12"}));
    // Registered Gama, Beta (with pictures), then Alfa (without): indexes 2, 3 and 1.
    const QList<QToolButton*> botoes = nav->BotoesMapa();
    QCOMPARE(botoes[2]->defaultAction()->property("indiceImagem").toInt(), 2);
    QCOMPARE(botoes[1]->defaultAction()->property("indiceImagem").toInt(), 3);
    QCOMPARE(botoes[0]->defaultAction()->property("indiceImagem").toInt(), 1);
    QCOMPARE(nav->ImageList4.Quantidade(), 4);
    const QImage normal = nav->ImageList4.Imagem(2).toImage();
    QCOMPARE(normal.size(), QSize(24, 24));
    QCOMPARE(normal.pixelColor(10, 10), QColor(0, 200, 0));
    QCOMPARE(nav->ImageList3.Imagem(2).toImage().pixelColor(10, 10), QColor(0, 0, 200));
    QCOMPARE(nav->ImageList3.Imagem(2).toImage().pixelColor(1, 1).alpha(), 0);
    QCOMPARE(botoes[0]->toolTip(), QStringLiteral("Alfa"));
    QVERIFY(m_msgs->Registros().isEmpty());

    // Activations after a completed start-up do nothing.
    m_menu->ApplicationEventsActivate();
    QCOMPARE(Legendas(nav).size(), 3);
}

void TestePrincipal::edicaoOrtoRegistraModulosOrto()
{
    CopiaMapas(m_inst->Pastas().mapas, {"Alfa", "MultiOrto"}, {});
    TBVersionInfo::DefineExecutavelPrograma(QStringLiteral(ARQ_PROGRAMA_ORTO));
    m_menu->StartUp();
    QVERIFY(m_menu->Started);
    QCOMPARE(Legendas(m_menu->Navegador()), QStringList({"Alfa", "MultiOrto"}));
    QCOMPARE(m_menu->InstalledMaps.mid(0, 2), QStringList({"MultiOrto", "Wizard"}));
}

void TestePrincipal::arquivoDeConfiguracaoAusente()
{
    QVERIFY(QFile::remove(m_inst->ArquivoConfiguracao()));
    m_menu->show();
    m_msgs->Responde(RespostaMensagem::Ok);
    m_menu->StartUp();
    QCOMPARE(m_msgs->Textos(), QStringList{"Erro ao carregar o arquivo de configuração"});
    QCOMPARE(m_msgs->Registros()[0].titulo, QStringLiteral("Informação"));
    QCOMPARE(m_msgs->Registros()[0].icone, IconeMensagem::Atencao);
    QVERIFY(!m_menu || !m_menu->isVisible());
    if (m_menu)
        QVERIFY(!m_menu->Started);
}

// A value that does not convert ends the start-up with a message naming the file and the
// key; no error leaves it, and activations while or after it is said do not run it again.
void TestePrincipal::erroDeConversaoEncerraPartida()
{
    QVERIFY(m_inst->AlteraChave(QStringLiteral("FatorCorrecao"), QStringLiteral("0,02")));
    m_menu->show();
    m_msgs->Responde(RespostaMensagem::Ok);
    m_menu->StartUp();
    QCOMPARE(m_msgs->Textos().size(), 1);
    QVERIFY2(m_msgs->Textos()[0].contains(QStringLiteral("[ZR] FatorCorrecao = '0,02'")),
             qPrintable(m_msgs->Textos()[0]));
    QVERIFY(m_msgs->Textos()[0].contains(m_inst->ArquivoConfiguracao()));
    QCOMPARE(m_msgs->Registros()[0].titulo, QStringLiteral("KORVANE32M"));
    QCOMPARE(m_msgs->Registros()[0].icone, IconeMensagem::Erro);
    QVERIFY(!m_menu || !m_menu->isVisible());
    if (!m_menu)
        return;
    QVERIFY(!m_menu->Started);
    QVERIFY(!m_menu->Progresso()); // the progress window was never shown
    QVERIFY(!TDMPrincipal::Instancia().Conectado());

    QVERIFY(m_inst->AlteraChave(QStringLiteral("FatorCorrecao"), QStringLiteral("0.02")));
    m_menu->ApplicationEventsActivate();
    m_menu->StartUp();
    QVERIFY(!m_menu->Started);
    QCOMPARE(m_msgs->Registros().size(), 1);
}

void TestePrincipal::pastaDeMapasAusente()
{
    QVERIFY(m_inst->AlteraChave(QStringLiteral("DIRMAPAS"), m_inst->Raiz() + QStringLiteral("/nao-existe")));
    m_menu->StartUp();
    QVERIFY(m_menu->Started);
    QVERIFY(!m_menu->Navegador());
    QVERIFY(m_menu->InstalledMaps.isEmpty());
}

// Modules that crash or hang while they load or tell what they are are tried in a child
// process, left out and named; the start-up completes. The verdicts are remembered: the
// next start-up tries nothing again. Modules refused by rule go to the module log.
void TestePrincipal::modulosDefeituosos()
{
    const QString mapas = m_inst->Pastas().mapas;
    CopiaMapas(mapas, {"Alfa", "Quebra", "Aborta", "Laco", "VersaoQuebra", "Curto"}, {});
    QFile lixo(mapas + QStringLiteral("/Lixo.so"));
    QVERIFY(lixo.open(QIODevice::WriteOnly));
    lixo.write("não é uma biblioteca");
    lixo.close();
    QStringList esperadas;
    for (const char* nome : {"VersaoQuebra", "Quebra", "Laco", "Aborta"})
        esperadas << QStringLiteral("O módulo de mapa '%1.so' falhou ao ser carregado e foi ignorado.")
                         .arg(QLatin1String(nome));
    for (int vez = 0; vez < 2; ++vez) {
        if (vez == 1) {
            delete m_menu;
            m_menu = new TfrmPrincipal;
        }
        m_msgs->Limpa();
        for (int k = 0; k < esperadas.size(); ++k)
            m_msgs->Responde(RespostaMensagem::Ok);
        const int sondas = SondaModulo::SondasExecutadas();
        m_menu->StartUp();
        QVERIFY(m_menu->Started);
        QCOMPARE(Legendas(m_menu->Navegador()), QStringList{"Alfa"});
        QCOMPARE(m_msgs->Textos(), esperadas);
        QCOMPARE(SondaModulo::SondasExecutadas() - sondas, vez == 0 ? 7 : 0);
    }
    // A changed file is tried again.
    CopiaMapas(mapas, {"Alfa"}, {});
    QFile::remove(mapas + QStringLiteral("/Quebra.so"));
    QVERIFY(QFile::copy(QStringLiteral(PASTA_MAPAS_TESTE) + QStringLiteral("/Beta.so"),
                        mapas + QStringLiteral("/Quebra.so")));
    const QHash<QString, SondaModulo::Veredito> v =
        SondaModulo::Vereditos({mapas + QStringLiteral("/Quebra.so"), mapas + QStringLiteral("/Laco.so")});
    QCOMPARE(v.value(mapas + QStringLiteral("/Quebra.so")), SondaModulo::Veredito::Bom);
    QCOMPARE(v.value(mapas + QStringLiteral("/Laco.so")), SondaModulo::Veredito::Falhou);

    QFile log(m_inst->Pastas().bin + QStringLiteral("/LogModulos.txt"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString texto = DeCp1252(log.readAll());
    QCOMPARE(texto.count(QStringLiteral("  Lixo.so: ")), 2);
    QCOMPARE(texto.count(QStringLiteral("  Curto.so: ")), 2);
    QVERIFY(!texto.contains(QStringLiteral("Alfa.so")));
}

void TestePrincipal::bancoDeDadosQueNaoAbre()
{
    QVERIFY(QFile::remove(m_inst->Pastas().dados + QStringLiteral("/Banco de Dados/DATABASE.GDB")));
    m_msgs->Responde(RespostaMensagem::Ok);
    m_menu->StartUp();
    QCOMPARE(m_msgs->Textos(),
             QStringList{"Não foi possível conectar com o banco de dados, entre em contato com o nosso "
                         "suporte técnico. \rSuporte técnico: 0800 555 0142."
                         "\rO arquivo do banco de dados não foi encontrado."});
    QCOMPARE(m_msgs->Registros()[0].titulo, QStringLiteral("Informação"));
    QCOMPARE(m_msgs->Registros()[0].icone, IconeMensagem::Atencao);
    QVERIFY(m_menu->Started); // the menu becomes usable
}

void TestePrincipal::navegadorExigeMedico()
{
    QVERIFY(m_inst->AlteraChave(QStringLiteral("DIRMAPAS"), m_inst->Raiz() + QStringLiteral("/nao-existe")));
    m_menu->StartUp();
    m_msgs->Responde(RespostaMensagem::Ok);
    QTest::mouseClick(m_menu->btnBrowser, Qt::LeftButton);
    QCOMPARE(m_msgs->Textos(), QStringList{"Será necessário cadastrar um médico antes de utilizar o navegador."});
    QCOMPARE(m_msgs->Registros()[0].titulo, QStringLiteral("Informação"));
    QCOMPARE(m_msgs->Registros()[0].icone, IconeMensagem::Informacao);
    QVERIFY(!m_menu->Navegador());

    TDadosMedico medico;
    medico.Nome = QStringLiteral("Dra. Ana Sá");
    TDMedicos().InsereMedico(medico);
    m_msgs->Limpa();
    QPointer<QDialog> aberto;
    DefineAberturaModal([&](QDialog* d) {
        aberto = d;
        return 0;
    });
    QTest::mouseClick(m_menu->btnBrowser, Qt::LeftButton);
    DefineAberturaModal({});
    QVERIFY(m_msgs->Registros().isEmpty());
    QVERIFY(m_menu->Navegador());
    QCOMPARE(aberto.data(), static_cast<QDialog*>(m_menu->Navegador()));
}

void TestePrincipal::lembreteDeBackup_data()
{
    QTest::addColumn<QString>("modulo");   // the test module's last backup: 05/11/2026
    QTest::addColumn<QStringList>("chaves"); // AUTO, AUTO_OP1_1, AUTO_OP1_2, AUTO_OP2
    QTest::addColumn<QDate>("hoje");
    QTest::addColumn<bool>("pergunta");
    QTest::addColumn<bool>("carregou");      // the module was looked for
    const QString m = QStringLiteral("TesteBackup");
    QTest::newRow("5 dias depois, período 5") << m << QStringList{"1", "5", "0", "200"} << QDate(2026, 11, 10) << true << true;
    QTest::newRow("4 dias depois, período 5") << m << QStringList{"1", "5", "0", "200"} << QDate(2026, 11, 9) << false << true;
    QTest::newRow("dia 5 ao dia 2 do mês seguinte") << m << QStringList{"1", "5", "0", "200"} << QDate(2026, 12, 2)
                                                    << true << true;
    QTest::newRow("um mês através do ano") << m << QStringList{"1", "3", "1", "200"} << QDate(2027, 2, 1) << true
                                           << true;
    QTest::newRow("300 exames, nenhum pendente") << m << QStringList{"2", "5", "0", "300"} << QDate(2027, 1, 1)
                                                 << false << true;
    QTest::newRow("nunca: nenhum módulo carregado") << m << QStringList{"0", "1", "0", "1"} << QDate(2030, 1, 1)
                                                    << false << false;
    QTest::newRow("sem módulo") << "Ausente" << QStringList{"1", "1", "0", "1"} << QDate(2030, 1, 1) << false << true;
}

void TestePrincipal::lembreteDeBackup()
{
    QFETCH(QString, modulo);
    QFETCH(QStringList, chaves);
    QFETCH(QDate, hoje);
    QFETCH(bool, pergunta);
    QFETCH(bool, carregou);
    const QString ini = m_inst->ArquivoConfiguracao();
    const QStringList nomes{"AUTO", "AUTO_OP1_1", "AUTO_OP1_2", "AUTO_OP2"};
    for (int i = 0; i < nomes.size(); ++i)
        ArquivoIni::Escreve(ini, QStringLiteral("BACKUP"), nomes[i], chaves[i]);
    ArquivoIni::Escreve(ini, QStringLiteral("BACKUP"), QStringLiteral("MODULO"),
                        QStringLiteral(PASTA_MODULOS_TESTE "/") + modulo + QStringLiteral(".so"));
    // The host names the control file only when it loads the module.
    qunsetenv("ZR_BACKUP_INI");
    Backup::DefineHoje([hoje] { return hoje; });
    m_msgs->Responde(RespostaMensagem::Nao);
    m_menu->StartUp();
    Backup::DefineHoje({});
    QVERIFY(m_menu->Started);
    QCOMPARE(m_msgs->Textos(), pergunta ? QStringList{"Backup automático inicializado... deseja continuar?"}
                                        : QStringList{});
    QCOMPARE(qEnvironmentVariableIsSet("ZR_BACKUP_INI"), carregou);
    m_msgs->Limpa();
}

// "Calibração" opens the calibration form modally; it is destroyed when it closes.
void TestePrincipal::calibracao()
{
    m_menu->StartUp();
    QPointer<TfrmCalib> calib;
    DefineAberturaModal([&](QDialog* d) {
        calib = qobject_cast<TfrmCalib*>(d);
        d->show();
        return 0;
    });
    QTest::mouseClick(m_menu->btnCalibration, Qt::LeftButton);
    DefineAberturaModal({});
    QVERIFY(calib);
    QCOMPARE(calib->windowTitle(), QStringLiteral("Calibração"));
    calib->btnCON->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!calib);
}

// "Ferramentas" opens the tools form modally with the registered map modules; closing frees it.
void TestePrincipal::ferramentas()
{
    m_menu->StartUp();
    QPointer<TfrmFerramentas> frm;
    DefineAberturaModal([&](QDialog* d) {
        frm = qobject_cast<TfrmFerramentas*>(d);
        d->show();
        return 0;
    });
    QTest::mouseClick(m_menu->btnTools, Qt::LeftButton);
    DefineAberturaModal({});
    QVERIFY(frm);
    QCOMPARE(frm->windowTitle(), QStringLiteral("Ferramentas"));
    QCOMPARE(frm->tlvMapas->topLevelItemCount(), m_menu->InstalledMaps.size() / 4);
    frm->btnFechar->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!frm);
}

void TestePrincipal::sobre_data()
{
    QTest::addColumn<bool>("orto");
    QTest::newRow("padrão") << false;
    QTest::newRow("orto-k") << true;
}

void TestePrincipal::sobre()
{
    QFETCH(bool, orto);
    const QString modulos = m_inst->Pastas().modulos;
    CopiaMapas(modulos, {"Captura"}, {});
    for (const char* chave : {"DIGITALIZACAO", "PROCESSAMENTO", "DIGITALIZACAO_ORTO"})
        QVERIFY(m_inst->AlteraChave(QString::fromLatin1(chave), modulos + QStringLiteral("/Captura.so")));
    QVERIFY(m_inst->AlteraChave(QStringLiteral("PROCESSAMENTO_ORTO"), modulos + QStringLiteral("/Ausente.so")));
    if (orto)
        TBVersionInfo::DefineExecutavelPrograma(QStringLiteral(ARQ_PROGRAMA_ORTO));
    m_menu->StartUp();

    QPointer<TfrmSobre> sobre;
    DefineAberturaModal([&](QDialog* d) {
        sobre = qobject_cast<TfrmSobre*>(d);
        d->show();
        return 0;
    });
    QTest::mouseClick(m_menu->imgSobre, Qt::LeftButton);
    DefineAberturaModal({});
    QVERIFY(sobre);
    QCOMPARE(sobre->windowTitle(), QStringLiteral("Sobre o Visiomap ..."));
    QCOMPARE(sobre->lblversao->text(), orto ? QStringLiteral("3.3.1.7 release")
                                            : QStringLiteral(ZR_VERSAO_TESTE " stable"));
    QCOMPARE(sobre->lblConeDesc1->text(), QStringLiteral("Tipo do cone"));
    QCOMPARE(sobre->lblConeVersao1->text(), QStringLiteral("4"));
    QCOMPARE(sobre->lblConeVersao2->text(), QStringLiteral("32 (atual)"));
    QCOMPARE(sobre->lblDigitNome1->text(), QStringLiteral("Módulo Captura"));
    QCOMPARE(sobre->lblDigitVersao1->text(), QStringLiteral("1.0.4.12"));
    QCOMPARE(sobre->lblProcDesc1->text(), QStringLiteral("Módulo Captura"));
    QCOMPARE(sobre->lblDigitNome2->isVisible(), orto);
    QCOMPARE(sobre->lblProcVersao2->isVisible(), orto);
    if (orto) {
        QCOMPARE(sobre->lblDigitNome2->text(), QStringLiteral("Módulo Captura"));
        QCOMPARE(sobre->lblProcDesc2->text(), QStringLiteral("- - -")); // module missing
        QCOMPARE(sobre->lblHardwareVersao->text(), QStringLiteral("- - -"));
        QCOMPARE(sobre->height(), 538);
        QCOMPARE(sobre->lblProcessamento->pos(), QPoint(149, 333));
    } else {
        QCOMPARE(sobre->lblHardwareVersao->text(), QStringLiteral("xiii"));
        QCOMPARE(sobre->height(), 518);
        QCOMPARE(sobre->bvLinha2->pos(), QPoint(0, 319));
        QCOMPARE(sobre->lblProcessamento->pos(), QPoint(149, 309));
        QCOMPARE(sobre->lblDescMod2->pos(), QPoint(19, 330));
        QCOMPARE(sobre->lblProcVersao1->pos(), QPoint(412, 346));
        QCOMPARE(sobre->lblCone->pos(), QPoint(199, 382));
        QCOMPARE(sobre->lblVersaoMod3->pos(), QPoint(399, 391));
        QCOMPARE(sobre->lblConeVersao2->pos(), QPoint(412, 436));
        QCOMPARE(sobre->lblHardware->pos(), QPoint(183, 470));
    }
    QTest::mouseClick(sobre->btnFECH, Qt::LeftButton);
    QTRY_VERIFY(!sobre); // closing frees it
}

void TestePrincipal::coneInvalido()
{
    m_menu->StartUp();
    TBVersionInfo versao;
    versao.LeVersao(QStringLiteral(ARQ_PROGRAMA));
    InfosZR.TipoCone = QStringLiteral("5");
    {
        TfrmSobre sobre(versao);
        sobre.FormShow();
        QCOMPARE(sobre.lblConeVersao2->text(), QStringLiteral("- - -"));
    }
    InfosZR.TipoCone = QStringLiteral("grande");
    TfrmSobre sobre(versao);
    QVERIFY_THROWS_EXCEPTION(ErroConversao, sobre.FormShow());
}

void TestePrincipal::instanciaUnica()
{
    {
        AnuncioInstancia outro(QStringLiteral("ZR300LX"));
        QVERIFY(outro.Ativo());
        QSignalSpy pedidos(&outro, &AnuncioInstancia::MostrarPedido);
        QVERIFY(MostraInstanciaAtiva(QStringLiteral("ZR300LX")));
        QTRY_COMPARE(pedidos.count(), 1);
    }
    // A running copy of this program does not stop a second one.
    AnuncioInstancia copia(QStringLiteral("KORVANE32M"));
    QVERIFY(copia.Ativo());
    QVERIFY(!MostraInstanciaAtiva(QStringLiteral("ZR300LX"), 200));
}

void TestePrincipal::relatorioDeErros()
{
    bool continuou = false;
    QTimer::singleShot(0, [] { throw ErroConversao(QStringLiteral("'x' não é um valor inteiro válido")); });
    QTimer::singleShot(5, [&] { continuou = true; });
    m_msgs->Responde(RespostaMensagem::Ok);
    QTRY_VERIFY(continuou);
    QCOMPARE(m_msgs->Textos(), QStringList{"'x' não é um valor inteiro válido"});
    QCOMPARE(m_msgs->Registros()[0].titulo, QStringLiteral("KORVANE32M"));
    QCOMPARE(m_msgs->Registros()[0].icone, IconeMensagem::Erro);
}

void TestePrincipal::fechamentoRestauraRegional()
{
    TBRegConfig leitura;
    leitura.SalvaRegional();
    QCOMPARE(leitura.sDecimalSalvo, QStringLiteral(".")); // forced by the menu's creation
    m_menu->StartUp();
    QTest::mouseClick(m_menu->btnExit, Qt::LeftButton);
    QTRY_VERIFY(!m_menu); // the main menu frees itself
    TBRegConfig depois;
    depois.SalvaRegional();
    QCOMPARE(depois.sDecimalSalvo, QStringLiteral(","));
}

void TestePrincipal::siteDoFabricante()
{
    QStringList abertos;
    DefineAberturaEndereco([&](const QString& url) {
        abertos << url;
        return true;
    });
    QTest::mouseClick(m_menu->Image3, Qt::LeftButton);
    // "Ajuda" without the external help program installed opens the help contents.
    QTemporaryDir ajuda;
    QFile indice(ajuda.filePath(QStringLiteral("index.html")));
    QVERIFY(indice.open(QIODevice::WriteOnly));
    indice.close();
    DefinePastaAjuda(ajuda.path());
    QTest::mouseClick(m_menu->btnHelp, Qt::LeftButton);
    DefinePastaAjuda(QString());
    DefineAberturaEndereco({});
    QCOMPARE(abertos, (QStringList{TfrmPrincipal::SiteFabricante(), QUrl::fromLocalFile(indice.fileName()).toString()}));
    QVERIFY(m_msgs->Registros().isEmpty());
}

int main(int argc, char* argv[])
{
    TAplicacao app(argc, argv);
    TestePrincipal teste;
    return QTest::qExec(&teste, argc, argv);
}

#include "tst_principal.moc"
