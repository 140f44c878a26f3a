// The tools form on a fresh installation with its real settings file and database: the
// controls filled from memory and written back, the typed numbers refused, the logo, the
// database summary and the reset of the backup state, the camera tool and the desktop tools.
// Only messages, program starts and the picture dialog are replaced.

#include "backup/UBackup.h"
#include "config/UBIniSettings.h"
#include "config/UOpcoesFerramentas.h"
#include "config/URegistrosZR.h"
#include "config/UfrmFerramentas.h"
#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "platform/UMensagens.h"
#include "platform/UProgramas.h"
#include "platform/UTraducao.h"
#include "tests/support/UBancoTeste.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace Ferramentas;

namespace {

QByteArray Conteudo(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One installation for every case (building one takes seconds); each case starts from its
// settings and backup control files as installed.
BancoTeste* g_banco = nullptr;
QByteArray g_ini, g_backupIni;

class Cenario {
public:
    explicit Cenario(const QList<QPair<QString, QString>>& chaves = {}) : banco(*g_banco)
    {
        Grava(banco.Instalacao().ArquivoConfiguracao(), g_ini);
        Grava(Backup::ArquivoBackupIni(), g_backupIni);
        for (const auto& [chave, valor] : chaves)
            banco.Instalacao().AlteraChave(chave, valor);
        TBIniSettings ini;
        ini.LoadAll(3);
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
        m_exec = DefineExecucaoPrograma([this](const QString& p, const QStringList& a) {
            iniciados << (QStringList{p} + a).join(u' ');
            return erroAoIniciar;
        });
        m_escolha = DefineEscolhaArquivoParaAbrir([this](const QString& titulo, const QString&) {
            tituloDialogo = titulo;
            return imagemEscolhida;
        });
    }
    ~Cenario()
    {
        delete frm.data();
        DefineExecucaoPrograma(m_exec);
        DefineEscolhaArquivoParaAbrir(m_escolha);
    }
    TfrmFerramentas* Abre(const QStringList& mapas = {})
    {
        frm = new TfrmFerramentas(mapas);
        frm->show();
        return frm;
    }
    QString Chave(const QString& secao, const QString& chave)
    {
        return TBIniSettings().ReadValue(banco.Instalacao().ArquivoConfiguracao(), TipoValorIni::Str, secao, chave);
    }
    template <class T>
    T* C(const char* nome) { return frm->findChild<T*>(QLatin1String(nome)); }

    static void Grava(const QString& arquivo, const QByteArray& conteudo)
    {
        QFile::remove(arquivo);
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(conteudo) == conteudo.size());
    }

    BancoTeste& banco;
    MensagensRoteiro msgs;
    QPointer<TfrmFerramentas> frm;
    QStringList iniciados;
    QString erroAoIniciar, imagemEscolhida, tituloDialogo;

private:
    ExecucaoPrograma m_exec;
    EscolhaArquivo m_escolha;
};

} // namespace

class TesteFerramentas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        g_banco = new BancoTeste;
        QVERIFY(g_banco->Valido());
        g_ini = Conteudo(g_banco->Instalacao().ArquivoConfiguracao());
        g_backupIni = Conteudo(Backup::ArquivoBackupIni());
    }
    void cleanupTestCase() { delete g_banco; }
    void preencheEGravaNaOrdem();
    void valoresGravados_data();
    void valoresGravados();
    void camposInvalidos_data();
    void camposInvalidos();
    void logo_data();
    void logo();
    void zerarBackup();
    void resumoBanco();
    void camera_data();
    void camera();
    void aplicativos_data();
    void aplicativos();
    void programaReal();
};

// Every control from memory, every key back to the file in its order, the record refreshed
// except the three clinic flags.
void TesteFerramentas::preencheEGravaNaOrdem()
{
    Cenario c({{"NOME", "Clínica Visão"}, {"TELEFONE", "(11) 5555-0101"}, {"INCMAP", "0.25"}, {"AUTOINCMAP", "1"},
               {"INDICECONF", "75"}, {"QualidadeImagem", "85"}, {"TVLCENTRAL", "16"}, {"AUTOPCAPTURA", "1"},
               {"DELAYAUTOPCAPTURA", "300"}, {"MapaPadraoNovoExame", "Tangencial"}, {"TIPOCERATOMETRIA", "Convencional"},
               {"EXIBECERATOMETRIAPONTUAL", "1"}, {"CORCERATOMETRIAPONTUAL", "Azul"}, {"OPT2", "0"}});
    c.Abre({"Axial", "Simples", "3", "1.2.0.0", "Multi", "Wizard", "4", "2.0.0.1"});
    QStringList paginas;
    for (int i = 0; i < c.frm->pgcFerramentas->count(); ++i)
        paginas << c.frm->pgcFerramentas->tabText(i) + (c.frm->pgcFerramentas->isTabVisible(i) ? "" : " (oculta)");
    QCOMPARE(paginas, QStringList({"Módulos", "Aplicativos do Windows", "Dados da Clínica", "Configurações",
                                   "Banco de Dados", "Busca Avançada (oculta)", "Idioma (oculta)"}));
    QCOMPARE(c.frm->pgcFerramentas->currentIndex(), 0);
    QCOMPARE(c.C<QLineEdit>("edtNome")->text(), QString("Clínica Visão"));
    QCOMPARE(c.C<QLineEdit>("EdtIncMap")->text(), QString("0.25"));
    QVERIFY(c.C<QRadioButton>("rbtDisable")->isChecked() && c.C<QLineEdit>("EdtIncMap")->isEnabled());
    QCOMPARE(c.C<QSpinBox>("edtValIndConf")->value(), 75);
    QCOMPARE(c.C<QSpinBox>("SpinEditQualidadeImagem")->value(), 85);
    QVERIFY(c.C<QLineEdit>("edtDelayAutoPCaptura")->isEnabled());
    QCOMPARE(c.C<QComboBox>("cbCorCeratPontual")->currentText(), QString("Azul"));
    QVERIFY(c.C<QCheckBox>("chkDadosClinica")->isChecked() && !c.C<QCheckBox>("chkNomeMedico")->isChecked());
    QCOMPARE(c.frm->tlvMapas->topLevelItemCount(), 2);
    QCOMPARE(c.frm->tlvMapas->topLevelItem(1)->text(3), QString("2.0.0.1"));

    // The user changes a little of everything, then closes.
    c.C<QLineEdit>("edtEndereco")->setText("Rua A, 10");
    c.C<QCheckBox>("chkNomeMedico")->setChecked(true);
    c.C<QRadioButton>("rgrMapaPadrao0")->setChecked(true);
    c.C<QCheckBox>("chkEscalaISO")->setChecked(true);
    c.C<QLineEdit>("edtTIncremento")->setText("3");
    c.frm->close();
    QTRY_VERIFY(!c.frm);
    const QList<QStringList> esperado = {
        {"CLINICA", "Nome", "Clínica Visão"}, {"CLINICA", "Endereco", "Rua A, 10"}, {"CLINICA", "CidadeEst", ""},
        {"CLINICA", "TELEFONE", "(11) 5555-0101"}, {"CLINICA", "Opt1", "1"}, {"CLINICA", "Opt2", "1"},
        {"CLINICA", "Opt3", "1"}, {"OPCOES", "INCMAP", "0.25"}, {"OPCOES", "AUTOINCMAP", "1"},
        {"OPCOES", "AUTOANEIS", "1"}, {"OPCOES", "INDICECONF", "75"}, {"OPCOES", "AUTOEXAME", "1"},
        {"OPCOES", "SalvarImagemCaptura", "0"}, {"OPCOES", "MapaPadraoNovoExame", "Axial"},
        {"OPCOES", "sImagemCentral", "1"}, {"OPCOES", "sImagemLateral", "1"}, {"OPCOES", "TIPOCERATOMETRIA", "Convencional"},
        {"OPCOES", "QualidadeImagem", "85"}, {"OPCOES", "IDIOMA", ""}, {"OPCOES", "TVLCENTRAL", "16"},
        {"OPCOES", "TINCREMENTO", "3"}, {"OPCOES", "AUTOPCAPTURA", "1"}, {"OPCOES", "DELAYAUTOPCAPTURA", "300"},
        {"MAPA", "EXIBEGRADE", "1"}, {"MAPA", "ESCALAISO", "1"}, {"MAPA", "EXIBECERATOMETRIAPONTUAL", "1"},
        {"MAPA", "CORCERATOMETRIAPONTUAL", "Azul"}};
    QStringList ordem;
    for (const ChaveGravada& k : Chaves(Opcoes{}))
        ordem << k.chave;
    QStringList ordemEsperada;
    for (const QStringList& e : esperado) {
        ordemEsperada << e[1];
        QCOMPARE(c.Chave(e[0], e[1]) + " <- " + e[1], e[2] + " <- " + e[1]);
    }
    QCOMPARE(ordem, ordemEsperada);
    QCOMPARE(InfosZR.ClinicaEndereco, QString("Rua A, 10"));
    QCOMPARE(InfosZR.MapaPadraoNovoExame, QString("Axial"));
    QCOMPARE(InfosZR.TIncremento, 3);
    QVERIFY(InfosZR.EscalaISO);
    QVERIFY(!InfosZR.Opt2); // written, but the in-memory flag is left as it was
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

// What one change stores.
void TesteFerramentas::valoresGravados_data()
{
    QTest::addColumn<QString>("chaveInicial");
    QTest::addColumn<QString>("valorInicial");
    QTest::addColumn<QString>("controle");
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("chave");
    QTest::addColumn<QString>("gravado");
    QTest::newRow("incremento vazio") << "AUTOINCMAP" << "1" << "EdtIncMap" << "" << "INCMAP" << "0.50";
    QTest::newRow("incremento com vírgula") << "AUTOINCMAP" << "1" << "EdtIncMap" << " 0,75" << "INCMAP" << "0.75";
    QTest::newRow("Personalizado") << "AUTOINCMAP" << "0" << "rbtDisable" << "" << "AUTOINCMAP" << "1";
    QTest::newRow("Automático") << "AUTOINCMAP" << "1" << "rbtEnable" << "" << "AUTOINCMAP" << "0";
    QTest::newRow("cor fora da lista") << "CORCERATOMETRIAPONTUAL" << "Verde" << "" << "" << "CORCERATOMETRIAPONTUAL" << "";
    QTest::newRow("mapa fora da lista") << "MapaPadraoNovoExame" << "Sagital" << "" << "" << "MapaPadraoNovoExame" << "";
    QTest::newRow("atraso em hexadecimal") << "AUTOPCAPTURA" << "1" << "edtDelayAutoPCaptura" << "0x20" << "DELAYAUTOPCAPTURA" << "32";
}

void TesteFerramentas::valoresGravados()
{
    QFETCH(QString, chaveInicial);
    QFETCH(QString, valorInicial);
    QFETCH(QString, controle);
    QFETCH(QString, digitado);
    QFETCH(QString, chave);
    QFETCH(QString, gravado);
    Cenario c({{chaveInicial, valorInicial}});
    c.Abre();
    if (auto* e = c.C<QLineEdit>(qPrintable(controle)))
        e->setText(digitado);
    else if (auto* r = c.C<QRadioButton>(qPrintable(controle)))
        r->click();
    c.frm->close();
    QTRY_VERIFY(!c.frm);
    const QString secao = chave.startsWith("COR") ? "MAPA" : "OPCOES";
    QCOMPARE(c.Chave(secao, chave), gravado);
}

// A field that is no number: said with its caption, the form stays open, nothing written.
void TesteFerramentas::camposInvalidos_data()
{
    QTest::addColumn<QString>("controle");
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("legenda");
    QTest::newRow("incremento fixo") << "EdtIncMap" << "meio" << "Incremento fixo:";
    QTest::newRow("incremento zero") << "EdtIncMap" << "0" << "Incremento fixo:";
    QTest::newRow("valor central") << "edtTVlCentral" << "16a" << "Valor central:";
    QTest::newRow("incremento da tolerância") << "edtTIncremento" << "2.5" << "Incremento:";
    QTest::newRow("tempo de espera") << "edtDelayAutoPCaptura" << "-10" << "Tempo de espera (ms):";
}

void TesteFerramentas::camposInvalidos()
{
    QFETCH(QString, controle);
    QFETCH(QString, digitado);
    QFETCH(QString, legenda);
    Cenario c;
    const QByteArray antes = Conteudo(c.banco.Instalacao().ArquivoConfiguracao());
    c.Abre();
    c.C<QLineEdit>("edtNome")->setText("Outro nome");
    c.C<QLineEdit>(qPrintable(controle))->setText(digitado);
    c.msgs.Responde(RespostaMensagem::Ok);
    c.frm->close();
    QVERIFY(c.frm && c.frm->isVisible());
    QCOMPARE(c.frm->pgcFerramentas->currentWidget(), c.frm->tshConfig);
    QCOMPARE(c.msgs.Registros().size(), 1);
    QVERIFY2(c.msgs.Registros()[0].texto.contains('"' + legenda + '"'), qPrintable(c.msgs.Registros()[0].texto));
    QCOMPARE(Conteudo(c.banco.Instalacao().ArquivoConfiguracao()), antes);
}

// The logo: a small picture kept as it is, a large one scaled on "Sim" only, a picture that
// does not load and a file that cannot be written leave the logo as it was.
void TesteFerramentas::logo_data()
{
    QTest::addColumn<QSize>("tamanho");
    QTest::addColumn<QString>("formato");
    QTest::addColumn<int>("resposta"); // -1: no question
    QTest::addColumn<bool>("gravavel");
    QTest::addColumn<QSize>("resultado"); // empty: unchanged and nothing written
    QTest::newRow("100x80 sem pergunta") << QSize(100, 80) << "BMP" << -1 << true << QSize(100, 80);
    QTest::newRow("200x100 Sim") << QSize(200, 100) << "JPG" << int(RespostaMensagem::Sim) << true << QSize(100, 100);
    QTest::newRow("200x100 Não") << QSize(200, 100) << "JPG" << int(RespostaMensagem::Nao) << true << QSize();
    QTest::newRow("arquivo que não é imagem") << QSize(50, 50) << "" << -1 << true << QSize();
    QTest::newRow("pasta sem escrita") << QSize(60, 40) << "BMP" << -1 << false << QSize();
}

void TesteFerramentas::logo()
{
    QFETCH(QSize, tamanho);
    QFETCH(QString, formato);
    QFETCH(int, resposta);
    QFETCH(bool, gravavel);
    QFETCH(QSize, resultado);
    Cenario c;
    QTemporaryDir pasta;
    c.imagemEscolhida = pasta.filePath("logo." + (formato.isEmpty() ? QString("jpg") : formato.toLower()));
    if (formato.isEmpty()) {
        QFile f(c.imagemEscolhida);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("não é uma imagem") > 0);
    } else {
        QImage img(tamanho, QImage::Format_RGB32);
        img.fill(QColor(20, 90, 160));
        QVERIFY(img.save(c.imagemEscolhida, qPrintable(formato)));
    }
    const QString arquivo = PathsZR.DirZR + "/LogoClinica.bmp";
    QDir(arquivo).removeRecursively();
    QFile::remove(arquivo);
    c.Abre();
    if (resposta >= 0)
        c.msgs.Responde(RespostaMensagem(resposta));
    else if (!gravavel || formato.isEmpty())
        c.msgs.Responde(RespostaMensagem::Ok);
    if (!gravavel)
        QVERIFY(QDir().mkpath(arquivo)); // a folder where the file should go
    c.frm->LogoClinicaDblClick();
    QCOMPARE(c.tituloDialogo, QString("Abrir Logotipo da Clínica"));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
    if (resposta >= 0)
        QCOMPARE(c.msgs.Registros().value(0).texto,
                 QString("As dimensões da imagem selecionada são diferente de 100x100.\r\r\nDeseja redimencionar a imagem?"));
    if (!resultado.isValid()) {
        QCOMPARE(c.frm->Logo().size(), QSize(100, 100));
        QCOMPARE(c.frm->Logo().pixel(50, 50), qRgb(255, 255, 255));
        QVERIFY(!QFileInfo(arquivo).isFile());
        return;
    }
    QCOMPARE(c.frm->Logo().size(), resultado);
    const QByteArray bmp = Conteudo(arquivo);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(int(uchar(bmp[28])), 32); // bits per pixel
    QCOMPARE(QImage(arquivo).size(), resultado);
    // The next opening shows the stored logo.
    delete c.frm.data();
    QCOMPARE(c.Abre()->Logo().size(), resultado);
}

// The summary against counts made here with plain statements, marks set by the backup logic.
void TesteFerramentas::resumoBanco()
{
    Cenario c;
    TDMPrincipal& dm = c.banco.DM();
    for (const char* nome : {"Dr. A", "Dra. B"}) {
        TDadosMedico m;
        m.Nome = QString::fromUtf8(nome);
        TDMedicos(dm).InsereMedico(m);
    }
    const int medico = TDMedicos(dm).IndiceMedicos();
    TDadosPaciente p;
    p.Nome = "Paciente";
    TDPacientes(dm).InserePaciente(p, QDate(1980, 1, 1), 0);
    const int paciente = TDPacientes(dm).IndicePacientes();
    QList<int> exames, laudos;
    for (int i = 0; i < 3; ++i) {
        TDExames(dm).InsereExame(paciente, medico, QDate(2024, 5, 1), QTime(9, i), "OD", 90, "T", QString(), QString(),
                                 QString(), 16, "2");
        exames << TDExames(dm).IndiceExames();
    }
    TDLaudos(dm).InsereLaudo(paciente, 0, 0, QString(), QDate(2024, 1, 1), QTime(10, 0));
    laudos << TDLaudos(dm).IndiceLaudos();
    dm.PCommitDataBase();
    QCOMPARE(Backup::GravaMarcas(dm, Backup::Tabela::Exames, exames.mid(0, 2), {"ZRQK0001", "ZRQK0001"}),
             Backup::ResultadoMarcas::Gravadas);
    auto conta = [&](const QString& sql) {
        ConsultaBD& op = *dm.IBOperation;
        op.Fecha();
        op.DefineSQL(sql);
        op.Abre();
        const int n = op.Campo(op.Colunas().value(0)).toInt();
        op.Fecha();
        return QString("%1").arg(n, 4, 10, QChar('0'));
    };
    c.Abre();
    const QList<QPair<const char*, QString>> esperado = {
        {"lblBDMedicos", conta("SELECT COUNT(*) FROM Medicos")},
        {"lblBDIndiceMedicos", conta("SELECT GEN_ID(Codigo_Medicos, 0) FROM RDB$DATABASE")},
        {"lblBDPacientes", conta("SELECT COUNT(*) FROM Pacientes")},
        {"lblBDIndicePaciente", conta("SELECT GEN_ID(Codigo_Pacientes, 0) FROM RDB$DATABASE")},
        {"lblBDExames", conta("SELECT COUNT(*) FROM Exames")},
        {"lblBDIndiceExames", conta("SELECT MAX(Codigo) FROM Exames")},
        {"lblBDBackupExames", conta("SELECT COUNT(*) FROM Exames WHERE Backup <> ''")},
        {"lblBDLaudos", conta("SELECT COUNT(*) FROM Laudos")},
        {"lblBDIndiceLaudos", conta("SELECT MAX(Codigo) FROM Laudos")},
        {"lblBDBackupLaudos", conta("SELECT COUNT(*) FROM Laudos WHERE Backup <> ''")}};
    for (const auto& [nome, valor] : esperado)
        QCOMPARE(QString(nome) + ' ' + c.C<QLabel>(nome)->text(), QString(nome) + ' ' + valor);
    QCOMPARE(c.C<QLabel>("lblBDBackupExames")->text(), QString("0002"));
    QVERIFY(c.C<QLabel>("lblBDExames")->text().toInt() >= 3);
    const QString banco = c.banco.Arquivo();
    QCOMPARE(c.C<QLabel>("lblDiretorioBD")->text(), banco);
    QCOMPARE(c.C<QLabel>("lblTamanhoBD")->text(),
             QString::number(QFileInfo(banco).size() / 1048576.0, 'f', 3) + " MBytes");
    QCOMPARE(TamanhoBanco(banco + ".ausente"), QString("0000 MBytes"));
}

// "Zerar Backup": disabled with nothing backed up; otherwise every mark cleared, both backup
// counts "0000", the reset count told, the button disabled.
void TesteFerramentas::zerarBackup()
{
    Cenario c;
    QVERIFY(!c.Abre()->sButton2->isEnabled());
    delete c.frm.data();

    TDMPrincipal& dm = c.banco.DM();
    TDadosMedico m;
    m.Nome = "Dr. C";
    TDMedicos(dm).InsereMedico(m);
    TDadosPaciente p;
    p.Nome = "Paciente";
    TDPacientes(dm).InserePaciente(p, QDate(1980, 1, 1), 0);
    const int paciente = TDPacientes(dm).IndicePacientes();
    TDExames(dm).InsereExame(paciente, TDMedicos(dm).IndiceMedicos(), QDate(2024, 5, 1), QTime(9, 0), "OE", 90, "T",
                             QString(), QString(), QString(), 16, "2");
    const int exame = TDExames(dm).IndiceExames();
    TDLaudos(dm).InsereLaudo(paciente, 0, 0, QString(), QDate(2024, 1, 1), QTime(10, 0));
    const int laudo = TDLaudos(dm).IndiceLaudos();
    dm.PCommitDataBase();
    Backup::GravaMarcas(dm, Backup::Tabela::Exames, {exame}, {"ZRQK0003"});
    Backup::GravaMarcas(dm, Backup::Tabela::Laudos, {laudo}, {"ZRQK0003"});
    Backup::EscreveChaves(Backup::ArquivoBackupIni(), {{"BackupZerado", "2"}, {"DiscoAtual", "3"}});

    c.Abre();
    QCOMPARE(c.frm->lblReiniciaBackup->text(), QString("2"));
    QCOMPARE(c.frm->lblBDBackupLaudos->text(), QString("0001"));
    QVERIFY(c.frm->sButton2->isEnabled());
    c.msgs.Responde(RespostaMensagem::Ok);
    c.frm->sButton2->click();
    QCOMPARE(c.msgs.Textos(), QStringList{"Arquivo de backup zerado com sucesso."});
    QCOMPARE(c.msgs.Registros()[0].titulo, QString("Informação"));
    QCOMPARE(c.frm->lblBDBackupExames->text(), QString("0000"));
    QCOMPARE(c.frm->lblBDBackupLaudos->text(), QString("0000"));
    QCOMPARE(c.frm->lblReiniciaBackup->text(), QString("Reinicialização do backup 3 vez(es)"));
    QVERIFY(!c.frm->sButton2->isEnabled());
    QCOMPARE(TDExames(dm).ContaExamesSemBackup(), 1);
    QCOMPARE(TDLaudos(dm).ContaLaudosSemBackup(), 1);
    QCOMPARE(Backup::LeInteiro(Backup::ArquivoBackupIni(), "DiscoAtual"), 1);
}

// The camera tool: warned, started, "Fechar" held for 10 s; closing re-reads the connectors.
void TesteFerramentas::camera_data()
{
    QTest::addColumn<bool>("arquivoLegivel");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("lido") << true << "Cameras configuradas com sucesso";
    QTest::newRow("sem arquivo") << false << "Erro na abertura do arquivo de inicialização";
}

void TesteFerramentas::camera()
{
    QFETCH(bool, arquivoLegivel);
    QFETCH(QString, mensagem);
    Cenario c;
    c.Abre();
    c.msgs.Responde(RespostaMensagem::Ok);
    c.frm->tlvAplicativosDblClick(Cameras);
    QCOMPARE(c.msgs.Textos(),
             QStringList{"Não esqueça de fechar a aplicação vidsetup antes de voltar ao programa Korvane"});
    QCOMPARE(c.msgs.Registros()[0].icone, IconeMensagem::Atencao);
    QCOMPARE(c.iniciados, QStringList{TBIniSettings::PastaConfiguracao() + "/vidsetup"});
    QVERIFY(c.frm->CameraConfigurada());
    QVERIFY(!c.frm->btnFechar->isEnabled());
    QCOMPARE(c.frm->tmrFechar->interval(), 10000);
    QVERIFY(c.frm->tmrFechar->isActive());
    c.frm->close(); // held while the tool starts
    QVERIFY(c.frm);
    c.frm->tmrFecharTimer();
    QVERIFY(c.frm->btnFechar->isEnabled());

    // The tool changed the connectors in the settings file.
    c.banco.Instalacao().AlteraChave("CONECTORCENTRAL", "/dev/video7");
    if (!arquivoLegivel)
        QFile::rename(c.banco.Instalacao().ArquivoConfiguracao(), c.banco.Instalacao().ArquivoConfiguracao() + ".x");
    c.msgs.Limpa();
    c.msgs.Responde(RespostaMensagem::Ok);
    c.frm->btnFecharClick();
    QTRY_VERIFY(!c.frm);
    QCOMPARE(c.msgs.Textos().value(0), mensagem);
    QCOMPARE(c.msgs.Registros()[0].titulo, QString("Informação"));
    QCOMPARE(InfosZR.ConectorCentral, QString(arquivoLegivel ? "/dev/video7" : "/dev/video0"));
}

// Each item asks for its desktop tool; a tool that does not start shows the system's text.
void TesteFerramentas::aplicativos_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("comando");
    QTest::newRow("Sistema") << int(Sistema) << "gnome-control-center info-overview";
    QTest::newRow("Windows Explorer") << int(Explorer) << "xdg-open <dados>";
    QTest::newRow("Painel de Controle") << int(PainelControle) << "gnome-control-center";
    QTest::newRow("Impressoras") << int(Impressoras) << "gnome-control-center printers";
    QTest::newRow("Modem") << int(Modem) << "nm-connection-editor";
    QTest::newRow("Data e Hora") << int(DataHora) << "gnome-control-center datetime";
    QTest::newRow("DirectCD") << int(DirectCD) << "/opt/gravador/formatacd";
    QTest::newRow("Configurações Regionais") << int(Regionais) << "gnome-control-center region";
}

void TesteFerramentas::aplicativos()
{
    QFETCH(int, item);
    QFETCH(QString, comando);
    Cenario c;
    Backup::EscreveChaves(Backup::ArquivoBackupIni(), {{"DIRECTCD", "/opt/gravador/formatacd"}});
    c.Abre();
    QCOMPARE(c.frm->tlvAplicativos->item(item)->text(), Aplicativos()[item]);
    c.frm->tlvAplicativosDblClick(item);
    QCOMPARE(c.iniciados, QStringList{QString(comando).replace("<dados>", PathsZR.DirZR)});
    QVERIFY(c.msgs.Registros().isEmpty());
    c.erroAoIniciar = "No such file or directory";
    c.msgs.Responde(RespostaMensagem::Ok);
    c.frm->tlvAplicativosDblClick(item);
    QCOMPARE(c.msgs.Textos(), QStringList{"No such file or directory"});
    QVERIFY(!c.frm->CameraConfigurada());
}

// Without the replacement: a program that exists starts, a missing one gives a reason.
void TesteFerramentas::programaReal()
{
    QCOMPARE(IniciaPrograma("true"), QString());
    QVERIFY(!IniciaPrograma("zr-ferramenta-que-nao-existe").isEmpty());
    QVERIFY(!IniciaPrograma(QDir::tempPath() + "/zr-nao-existe/vidsetup").isEmpty());
    QVERIFY(!IniciaPrograma(QString()).isEmpty());
}

QTEST_MAIN(TesteFerramentas)
#include "tst_ferramentas.moc"
