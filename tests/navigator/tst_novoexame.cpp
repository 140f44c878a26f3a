// The new-examination assistant driven on a fresh installation with the real capture,
// processing and map modules (and, for ortho-k and the faults, the test modules of
// tests/modules installed under the names the settings give): the step indicator, both eyes
// interleaved, the doctor and the patient kept, closing and cancelling, the map step's
// arguments, the ortho-k capture of four, and the faults that must leave an eye where it was.

#include "common/UTextoCp1252.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "navigator/UGravacaoExame.h"
#include "navigator/UNavegador.h"
#include "navigator/UfrmNovoExame.h"
#include "navigator/UfrmNovoPaciente.h"
#include "platform/UJanelas.h"
#include "tests/navigator/UCenarioNavegador.h"
#include "topography/UBFuncoesMapas.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace CapturaExame;

namespace {

const QString kPastaModulos = QStringLiteral(ZR_PASTA_MODULOS_TESTE);

// The installation of the scenario with its modules in place, the clock under the test's
// control and a file for the recording map module.
class CenarioNovoExame : public CenarioNavegador {
public:
    CenarioNovoExame()
    {
        const auto& p = banco.Instalacao().Pastas();
        Copia(QStringLiteral(ZR_MODULO_DIGITALIZACAO), p.modulos + QStringLiteral("/Digitalizacao.so"));
        Copia(QStringLiteral(ZR_MODULO_PROCESSAMENTO), p.modulos + QStringLiteral("/Processamento.so"));
        Copia(QStringLiteral(ZR_MODULO_DIGITALIZACAO_ORTO), p.modulos + QStringLiteral("/DigitalizacaoOrto.so"));
        Copia(QStringLiteral(ZR_MODULO_PROCESSAMENTO_ORTO), p.modulos + QStringLiteral("/ProcessamentoOrto.so"));
        Copia(QStringLiteral(ZR_MAPA_AXIAL), p.mapas + QStringLiteral("/Axial.so"));
        Copia(Teste("TesteRegistroMapas"), p.mapas + QStringLiteral("/Tangencial.so"));
        Copia(Teste("TesteRegistroMapas"), p.mapas + QStringLiteral("/MultiOrto.so"));
        qputenv("ZR_MODULOS_AUTOMATICO", "1");
        qputenv("ZR_MODULOS_SAIDA", saida.path().toUtf8());
        qputenv("ZR_TESTE_REGISTRO", saida.filePath(QStringLiteral("registro.txt")).toUtf8());
        qunsetenv("ZR_TESTE_FALHA");
        GravacaoExame::DefineRelogio([this] { return agora; });
        TfrmNovoExame::PausaOrto() = [this] { agora = agora.addMSecs(1100); };
        InfosZR.MapaPadraoNovoExame = QStringLiteral("Axial");
    }
    ~CenarioNovoExame()
    {
        delete frm.data();
        GravacaoExame::DefineRelogio({});
        DefineAberturaModal({});
        for (const char* v : {"ZR_MODULOS_AUTOMATICO", "ZR_MODULOS_SAIDA", "ZR_TESTE_REGISTRO", "ZR_TESTE_FALHA",
                              "ZR_SIMULADOR_CASO"})
            qunsetenv(v);
    }
    static QString Teste(const char* nome) { return kPastaModulos + QLatin1Char('/') + QLatin1String(nome) + ".so"; }
    static void Copia(const QString& de, const QString& para)
    {
        QFile::remove(para);
        QVERIFY2(QFile::copy(de, para), qPrintable(de));
    }

    // Opens the navigator on every patient and the assistant from "Novo Exame" or "Orto", then
    // chooses the doctor (the first of that name).
    TfrmNovoExame* Assistente(const QString& medico, bool orto = false)
    {
        InfosZR.MedicoAtivo = Navegador::kTodos;
        if (!nav)
            Abre(orto);
        DefineAberturaModal([this](QDialog* d) {
            frm = qobject_cast<TfrmNovoExame*>(d);
            d->show();
            return 0;
        });
        orto ? nav->tbExameOrtoClick() : nav->tbNovoExameClick();
        if (frm && !medico.isEmpty())
            frm->ComboMedicos->setCurrentIndex(frm->ComboMedicos->findText(medico));
        return frm;
    }
    void Passo(int olho, const QString& caso = QString())
    {
        if (!caso.isEmpty())
            qputenv("ZR_SIMULADOR_CASO", caso.toUtf8());
        (olho == kOlhoDireito ? frm->sbtExecutarD : frm->sbtExecutarS)->click();
    }
    QStringList Registro() const
    {
        QStringList r;
        try {
            r = LeArquivoTexto(saida.filePath(QStringLiteral("registro.txt")));
        } catch (const ErroSistema&) {
        }
        QFile::remove(saida.filePath(QStringLiteral("registro.txt")));
        return r;
    }
    // K1 and K2 the Axial map's summary shows.
    QList<double> KAxial() const
    {
        QList<double> k;
        static const QRegularExpression re(QStringLiteral("^K[12]: ([0-9.]+) D"));
        for (const QString& l : LeArquivoTexto(saida.filePath(QStringLiteral("Axial.txt"))))
            if (const auto m = re.match(l); m.hasMatch())
                k << m.captured(1).toDouble();
        return k;
    }
    // The stored examination's keratometry of the 3 mm zone, from its data files.
    static TDadosCeratometria KArquivos(int paciente, int exame)
    {
        TBMapOperation op;
        TDadosCeratometria k;
        if (!op.CarregaExame(PrefixoExame(paciente, exame)))
            return k;
        TMatrizAngAnel d, m;
        TAneisMeridiano a;
        op.CopiaDioptrias(d);
        op.CopiaPosicoes(m);
        op.CopiaAneis(a);
        TBFuncoesMapas f(d, m, a, InfosZR.FatorCorrecao);
        f.CalculaMapa(TBFuncoesMapas::MapaAxial);
        f.Ceratometria(k, 1.5);
        return k;
    }
    int CodigoExame(const QString& olho)
    {
        ConsultaBD& op = *DM().IBOperation;
        op.Fecha();
        op.DefineSQL(QStringLiteral("SELECT MAX(Codigo) AS C FROM Exames WHERE Olho='%1'").arg(olho));
        op.Abre();
        const int c = op.Inteiro(QStringLiteral("C"));
        op.Fecha();
        return c;
    }

    QTemporaryDir saida;
    QDateTime agora{QDate(2026, 3, 2), QTime(14, 0, 0)};
    QPointer<TfrmNovoExame> frm;
};

// With ZR_TELAS set (a folder) and a real display, keeps a picture of the whole screen; the
// screenshots of the documentation come from here. Does nothing otherwise.
void Tela(const char* nome)
{
    const QString pasta = qEnvironmentVariable("ZR_TELAS");
    if (pasta.isEmpty())
        return;
    QTest::qWait(400);
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                  pasta + QLatin1Char('/') + QLatin1String(nome) + ".png"});
}

bool Azul(QLabel* l) { return l->palette().color(QPalette::WindowText) == QColor(0, 0, 255); }

} // namespace

class TesteNovoExame : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { DefineAberturaModal({}); }
    void indicadorDePassos_data();
    void indicadorDePassos();
    void dica_data();
    void dica();
    void mapaPadrao_data();
    void mapaPadrao();
    void olhosIntercalados();
    void medicos();
    void pacientePorCodigo();
    void fecharECancelar();
    void falhasDosModulos_data();
    void falhasDosModulos();
    void gravacaoRecusada_data();
    void gravacaoRecusada();
    void orto();
    void autoExame();
};

void TesteNovoExame::indicadorDePassos_data()
{
    QTest::addColumn<int>("passo");
    QTest::addColumn<int>("azuis");
    QTest::addColumn<int>("marcas");
    QTest::addColumn<int>("seta"); // 0: hidden
    QTest::newRow("1") << 1 << 1 << 0 << 1;
    QTest::newRow("2") << 2 << 2 << 1 << 2;
    QTest::newRow("3") << 3 << 3 << 2 << 3;
    QTest::newRow("4") << 4 << 4 << 3 << 4;
    QTest::newRow("5") << 5 << 0 << 4 << 0;
    QTest::newRow("acima de 5") << 9 << 0 << 4 << 0;
}

void TesteNovoExame::indicadorDePassos()
{
    QFETCH(int, passo);
    QFETCH(int, azuis);
    QFETCH(int, marcas);
    QFETCH(int, seta);
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    c.Paciente(QStringLiteral("Ana"));
    TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"));
    QVERIFY(f);
    f->PassoEsquerdo(passo);
    for (int olho : {kOlhoDireito, kOlhoEsquerdo}) {
        const bool este = olho == kOlhoEsquerdo;
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(Azul(f->RotuloPasso(olho, i)), i <= (este ? azuis : 1));
            QCOMPARE(f->Marca(olho, i)->isVisibleTo(f), i <= (este ? marcas : 0));
            QCOMPARE(f->Seta(olho, i)->isVisibleTo(f), i == (este ? seta : 1));
        }
    }
    QCOMPARE(f->Passo(kOlhoEsquerdo), std::min(passo, 5));
    // Labels carry the names and texts of the steps.
    QCOMPARE(f->findChild<QLabel*>(QStringLiteral("lblDetectS"))->text(), QStringLiteral("Detectar Aneis"));
}

void TesteNovoExame::dica_data()
{
    QTest::addColumn<QPoint>("ponto");
    QTest::addColumn<bool>("mostra");
    QTest::newRow("dentro") << QPoint(6, 6) << true;
    QTest::newRow("canto oposto") << QPoint(22, 29) << true;
    QTest::newRow("à esquerda") << QPoint(5, 10) << false;
    QTest::newRow("abaixo") << QPoint(10, 30) << false;
}

// The hint over the note: while the pointer is on the help icon, and every 12 seconds.
void TesteNovoExame::dica()
{
    QFETCH(QPoint, ponto);
    QFETCH(bool, mostra);
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Paciente(QStringLiteral("Ana"));
    TfrmNovoExame* f = c.Assistente(QString());
    QVERIFY(f->Timer1->isActive());
    QCOMPARE(f->Timer1->interval(), 12000);
    QMouseEvent mov(QEvent::MouseMove, QPointF(ponto), f->Image4->mapToGlobal(QPointF(ponto)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f->Image4, &mov);
    QCOMPARE(f->lblMens3->isVisibleTo(f), mostra);
    f->Timer1Timer();
    QCOMPARE(f->lblMens3->isVisibleTo(f), !mostra);
    QCOMPARE(f->lblMens3->text(), QStringLiteral("Siga os passos do assistente de forma sequencial e em caso de dúvidas "
                                                 "consulte a nossa Ajuda que esta disponível em todas as etapas deste "
                                                 "processo."));
}

void TesteNovoExame::mapaPadrao_data()
{
    QTest::addColumn<QString>("valor");
    QTest::addColumn<bool>("axial");
    QTest::newRow("Axial") << "Axial" << true;
    QTest::newRow("Tangencial") << "Tangencial" << false;
    QTest::newRow("axial") << "axial" << false;
    QTest::newRow("vazio") << "" << false;
}

void TesteNovoExame::mapaPadrao()
{
    QFETCH(QString, valor);
    QFETCH(bool, axial);
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Paciente(QStringLiteral("Ana"));
    InfosZR.MapaPadraoNovoExame = valor;
    TfrmNovoExame* f = c.Assistente(QString());
    QCOMPARE(f->rbtAxial->isChecked(), axial);
    QCOMPARE(f->rbtTangencial->isChecked(), !axial);
    QCOMPARE(f->windowTitle(), QStringLiteral("Assistente para criação do exame"));
    QCOMPARE(f->height(), TfrmNovoExame::kAlturaPequena);
}

// Right eye captured and processed, left eye captured and processed, then the right eye's
// map and storage: the right eye's examination carries its own results.
void TesteNovoExame::olhosIntercalados()
{
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    const int m = c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"));
    Tela("assistente");
    c.Passo(kOlhoDireito, QStringLiteral("torica 7.5 7.8 90"));
    QVERIFY(!f->ComboMedicos->isEnabled());
    QCOMPARE(f->btnFEC->text(), QStringLiteral("Cancelar"));
    c.Passo(kOlhoDireito);
    QCOMPARE(f->Passo(kOlhoDireito), 3);
    const ResultadoNormal od = *f->ResultadoOlho(kOlhoDireito);

    // The map through the recording module ("Tangencial"): header, grids, no ortho-k values.
    f->rbtTangencial->setChecked(true);
    c.Passo(kOlhoDireito);
    QCOMPARE(f->Passo(kOlhoDireito), 4);
    QCOMPARE(f->height(), TfrmNovoExame::kAlturaGrande);
    QVERIFY(f->Memo3->isVisible());
    f->Memo3->setPlainText(QStringLiteral("Astigmatismo regular a favor da regra."));
    Tela("mapa-olho-direito");
    c.Passo(kOlhoEsquerdo, QStringLiteral("esfera 8.0"));
    Tela("direito-passo4-esquerdo-passo2");
    c.Passo(kOlhoEsquerdo);
    QCOMPARE(f->Passo(kOlhoEsquerdo), 3);
    QVERIFY(od.indice != f->ResultadoOlho(kOlhoEsquerdo)->indice || od.centroX != f->ResultadoOlho(kOlhoEsquerdo)->centroX);
    const QStringList reg = c.Registro();
    DadosCabecalho d{QStringLiteral("Ana"), p, QString(), kOlhoDireito, c.agora, QStringLiteral("Dr. A"), PathsZR.BancoDados};
    QCOMPARE(reg.mid(0, 12),
             QStringList({"ProcessaMapa", "janela", reg[2], reg[3], QString::number(od.centroX, 'g', 15), QString::number(od.centroY, 'g', 15),
                          QString::number(od.pupila[2]), QString::number(od.posicoes[90][5], 'g', 15),
                          QString::number(od.aneis[90]), QString::number(od.dioptrias[90][5], 'g', 15), "sem orto",
                          "12"}));
    QVERIFY(reg[2].toInt() > 0 && reg[3].toInt() > 0);
    QCOMPARE(reg.mid(12), CabecalhoExame(d, od.indice));

    // A blue label repeats the map, now the real Axial one.
    f->rbtAxial->setChecked(true);
    QTest::mouseClick(f->lblMapaD, Qt::LeftButton);
    QCOMPARE(f->Passo(kOlhoDireito), 4);
    const QList<double> k = c.KAxial();
    QCOMPARE(k.size(), 2);
    QVERIFY2(std::abs(k[0] - 45.0) < 0.1 && std::abs(k[1] - 337.5 / 7.8) < 0.1, qPrintable(QString::number(k[0])));

    f->Memo3->setPlainText(QString(300, u'x'));
    QCOMPARE(f->Memo3->toPlainText().size(), 240);
    c.msgs.Responde(RespostaMensagem::Ok);
    c.Passo(kOlhoDireito);
    QCOMPARE(c.msgs.Textos(), QStringList({"Exame gravado com sucesso"}));
    QCOMPARE(f->Passo(kOlhoDireito), 5);
    const int e = c.CodigoExame(QStringLiteral("OD"));
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 1);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE CodPaciente=%1 AND CodResp=%2 AND IndConf=%3 "
                                    "AND TipoExame='T' AND CHAR_LENGTH(Diag)=240")
                         .arg(p).arg(m).arg(od.indice, 0, 'g', 17)),
             1);
    QFile a(c.Arquivo(p, e, "a.txt"));
    QVERIFY(a.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), ConteudoArquivoA(od.aneis, od.centroX, od.centroY, od.pupila));
    const TDadosCeratometria kd = CenarioNovoExame::KArquivos(p, e);
    QVERIFY2(std::abs(kd.K1 - 45.0) < 0.1 && std::abs(kd.K2 - 337.5 / 7.8) < 0.1, qPrintable(QString::number(kd.K1)));
    // After storing: nothing of the right eye can be repeated; the left eye still runs, so
    // the button still cancels.
    QVERIFY(!Azul(f->lblDigitD));
    QTest::mouseClick(f->lblDigitD, Qt::LeftButton);
    QCOMPARE(f->Passo(kOlhoDireito), 5);
    QCOMPARE(f->btnFEC->text(), QStringLiteral("Cancelar"));
    // The navigator shows the patient with the new examination, selectable by its caption.
    QCOMPARE(c.nav->CodigoPacienteAtual(), p);
    QVERIFY(c.Seleciona(QStringLiteral("OD - 02/03/2026 14:00:00")));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNovoExame::medicos()
{
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. Silva"));
    c.Medico(QStringLiteral("Dr. Silva"));
    c.Paciente(QStringLiteral("Ana"));
    // "*** Todos": the empty doctor, and a capture asks for one.
    TfrmNovoExame* f = c.Assistente(QString());
    QCOMPARE(f->ComboMedicos->currentText(), QString());
    QCOMPARE(f->ComboMedicos->count(), 3);
    c.msgs.Responde(RespostaMensagem::Ok);
    c.Passo(kOlhoDireito);
    QCOMPARE(c.msgs.Registros().size(), 1);
    QCOMPARE(c.msgs.Registros()[0].texto, QStringLiteral("Selecione um médico responsável pelo exame."));
    QCOMPARE(c.msgs.Registros()[0].titulo, QStringLiteral("Erro"));
    QCOMPARE(c.msgs.Registros()[0].icone, IconeMensagem::Erro);
    QCOMPARE(f->Passo(kOlhoDireito), 1);
    // The second of two doctors of the same name: his code is the one stored.
    f->ComboMedicos->setCurrentIndex(2);
    const int segundo = f->CodigoMedico();
    QCOMPARE(QSet<int>({f->ComboMedicos->itemData(1).toInt(), segundo}), QSet<int>({1, 2}));
    for (int i = 0; i < 2; ++i)
        c.Passo(kOlhoEsquerdo, QStringLiteral("esfera 8.0"));
    f->rbtTangencial->setChecked(true);
    c.Passo(kOlhoEsquerdo);
    c.msgs.Responde(RespostaMensagem::Ok);
    c.Passo(kOlhoEsquerdo);
    QCOMPARE(f->Passo(kOlhoEsquerdo), 5);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE CodResp=%1").arg(segundo)), 1);
}

// Two patients whose names share a beginning, the shorter one current: both eyes go to her.
void TesteNovoExame::pacientePorCodigo()
{
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    const int m = c.Medico(QStringLiteral("Dr. A"));
    const int lima = c.Paciente(QStringLiteral("Ana Souza Lima"));
    const int ana = c.Paciente(QStringLiteral("Ana Souza"));
    c.Exame(lima, m, QDate(2024, 1, 1), QTime(9, 0, 0));
    c.Abre();
    c.nav->tbOrdemCriacaoClick();
    QVERIFY(c.nav->VaiParaCodigo(ana));
    TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"));
    QCOMPARE(f->CodigoPaciente(), ana);
    QCOMPARE(f->DBlblPaciente->text(), QStringLiteral("Ana Souza"));
    f->rbtTangencial->setChecked(true);
    for (int olho : {kOlhoDireito, kOlhoEsquerdo}) {
        for (int i = 0; i < 3; ++i)
            c.Passo(olho, QStringLiteral("esfera 7.8"));
        c.msgs.Responde(RespostaMensagem::Ok);
        c.Passo(olho);
        QCOMPARE(f->Passo(olho), 5);
        QCOMPARE(c.nav->CodigoPacienteAtual(), ana);
    }
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE CodPaciente=%1").arg(ana)), 2);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE CodPaciente=%1").arg(lima)), 1);
    QCOMPARE(c.CampoPaciente(ana, QStringLiteral("TOTALEXAMES")).toInt(), 2);
    // Both eyes stored: the button closes at once.
    QCOMPARE(f->btnFEC->text(), QStringLiteral("Fechar"));
    f->btnFEC->click();
    QVERIFY(!f->isVisible());
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TesteNovoExame::fecharECancelar()
{
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    c.Paciente(QStringLiteral("Ana"));
    // At step 1 both "Fechar" and Esc close at once.
    for (bool esc : {false, true}) {
        TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"));
        QCOMPARE(f->btnFEC->text(), QStringLiteral("Fechar"));
        esc ? QTest::keyClick(f, Qt::Key_Escape) : f->btnFEC->click();
        QVERIFY(!f->isVisible());
        QVERIFY(c.msgs.Registros().isEmpty());
    }
    // While an eye is under way both ask; "Não" keeps the form, "Sim" closes it.
    TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"));
    c.Passo(kOlhoDireito, QStringLiteral("esfera 7.8"));
    QCOMPARE(f->btnFEC->text(), QStringLiteral("Cancelar"));
    QCOMPARE(f->btnFEC->toolTip(), QStringLiteral("Cancelar exame"));
    c.msgs.Responde(RespostaMensagem::Nao);
    QTest::keyClick(f, Qt::Key_Escape);
    QVERIFY(f->isVisible());
    c.msgs.Responde(RespostaMensagem::Sim);
    f->btnFEC->click();
    QVERIFY(!f->isVisible());
    QCOMPARE(c.msgs.Textos(), QStringList(2, QStringLiteral("Tem ceteza que deseja cancelar o exame?")));
    QCOMPARE(c.msgs.Registros()[0].botoes, BotoesMensagem::SimNao);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 0);
}

void TesteNovoExame::falhasDosModulos_data()
{
    QTest::addColumn<QString>("chave");     // settings key pointed elsewhere
    QTest::addColumn<QString>("modulo");    // test module it points at ("" = a missing file)
    QTest::addColumn<QString>("falha");
    QTest::addColumn<int>("passoFinal");
    QTest::newRow("captura ausente") << "DIGITALIZACAO" << "" << "" << 1;
    QTest::newRow("captura que não é biblioteca") << "DIGITALIZACAO" << "texto" << "" << 1;
    QTest::newRow("processamento retorna 0") << "PROCESSAMENTO" << "TesteProcFalha" << "zero" << 2;
    QTest::newRow("processamento com nan") << "PROCESSAMENTO" << "TesteProcFalha" << "nan" << 2;
    QTest::newRow("processamento sem entrada") << "PROCESSAMENTO" << "TesteRegistroMapas" << "" << 2;
    QTest::newRow("anéis fora de 0..N") << "PROCESSAMENTO" << "TesteProcFalha" << "aneis" << 3;
    QTest::newRow("mapa ausente") << "DIRMAPAS" << "" << "" << 3;
}

void TesteNovoExame::falhasDosModulos()
{
    QFETCH(QString, chave);
    QFETCH(QString, modulo);
    QFETCH(QString, falha);
    QFETCH(int, passoFinal);
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    c.Paciente(QStringLiteral("Ana"));
    QString alvo = c.saida.filePath(QStringLiteral("nada.so"));
    if (modulo == QLatin1String("texto")) {
        QFile t(alvo);
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write("não sou uma biblioteca");
    } else if (!modulo.isEmpty()) {
        alvo = CenarioNovoExame::Teste(modulo.toLatin1().constData());
    }
    if (chave == QLatin1String("DIGITALIZACAO"))
        PathsZR.Digitalizacao = alvo;
    else if (chave == QLatin1String("PROCESSAMENTO"))
        PathsZR.Processamento = alvo;
    else
        PathsZR.DirMapas = c.saida.path();
    qputenv("ZR_TESTE_FALHA", falha.toUtf8());
    TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"));
    if (passoFinal == 3 && chave == QLatin1String("DIRMAPAS"))
        c.msgs.Responde(RespostaMensagem::Ok);
    for (int i = 0; i < (chave == QLatin1String("DIRMAPAS") ? 3 : 2); ++i)
        c.Passo(kOlhoDireito, QStringLiteral("esfera 7.8"));
    QCOMPARE(f->Passo(kOlhoDireito), passoFinal);
    if (passoFinal == 1)
        QVERIFY(f->Olho1->pixmap().toImage().pixelColor(60, 45) == QColor(Qt::black));
    if (falha == QLatin1String("aneis")) {
        for (int k = 0; k < 360; ++k)
            QVERIFY(f->ResultadoOlho(kOlhoDireito)->aneis[k] >= 0 && f->ResultadoOlho(kOlhoDireito)->aneis[k] <= 16);
    } else if (passoFinal == 2) {
        QVERIFY(!f->ResultadoOlho(kOlhoDireito));
    }
    QCOMPARE(c.msgs.Textos(), chave == QLatin1String("DIRMAPAS")
                                  ? QStringList({"Não foi possível processar o mapa selecionado. ERROMAP02"})
                                  : QStringList());
}

void TesteNovoExame::gravacaoRecusada_data()
{
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QStringList>("mensagens");
    QTest::addColumn<int>("passo");
    QTest::newRow("exame recusado") << "EXAMES" << QStringList({GravacaoExame::kErroGravacao}) << 4;
    QTest::newRow("imagens recusadas")
        << "ARQUIVOS" << QStringList({GravacaoExame::kErroImagens, "Exame gravado com sucesso"}) << 5;
}

// The database refuses the first insert into a table: the examination is stored whole or
// not at all (only the images may go apart), and a retry stores exactly one.
void TesteNovoExame::gravacaoRecusada()
{
    QFETCH(QString, tabela);
    QFETCH(QStringList, mensagens);
    QFETCH(int, passo);
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    TDMPrincipal& dm = c.DM();
    for (const QString& sql : {QStringLiteral("CREATE EXCEPTION RECUSA_TESTE 'recusado'"), QStringLiteral("CREATE SEQUENCE CONTA_TESTE"),
                               QStringLiteral("CREATE TRIGGER RECUSA_TESTE FOR %1 BEFORE INSERT AS BEGIN "
                                              "IF (GEN_ID(CONTA_TESTE, 1) = 1) THEN EXCEPTION RECUSA_TESTE; END").arg(tabela)}) {
        dm.GaranteTransacao();
        dm.IBDatabase.ExecutaImediato(dm.IBTransaction, sql);
        dm.PCommitDataBase();
    }
    TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"));
    f->rbtTangencial->setChecked(true);
    for (int i = 0; i < 3; ++i)
        c.Passo(kOlhoDireito, QStringLiteral("esfera 7.8"));
    for (int i = 0; i < mensagens.size(); ++i)
        c.msgs.Responde(RespostaMensagem::Ok);
    c.Passo(kOlhoDireito);
    QCOMPARE(c.msgs.Textos(), mensagens);
    QCOMPARE(c.msgs.Registros()[0].icone, IconeMensagem::Atencao);
    QCOMPARE(f->Passo(kOlhoDireito), passo);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), passo == 5 ? 1 : 0);
    if (passo == 4) {
        QVERIFY(!QFileInfo::exists(c.PastaPaciente(p)));
        QVERIFY(f->Memo3->isEnabled());
        c.msgs.Responde(RespostaMensagem::Ok);
        c.Passo(kOlhoDireito);
        QCOMPARE(f->Passo(kOlhoDireito), 5);
    }
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames")), 1);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 1);
}

void TesteNovoExame::orto()
{
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    const int p = c.Paciente(QStringLiteral("Ana"));
    TfrmNovoExame* f = c.Assistente(QStringLiteral("Dr. A"), true);
    QCOMPARE(f->windowTitle(), QStringLiteral("Assistente para criação do exame - Ortoceratologia"));
    QVERIFY(f->rbtMultiOrto->isChecked() && f->rbtMultiOrto->isVisible() && !f->rbtAxial->isVisible());
    Tela("assistente-orto");
    // Faults of the capture and of the processing (a test module pointed at by the settings)
    // leave the eye where it was.
    const QString capturaReal = PathsZR.DigitalizacaoOrto, processamentoReal = PathsZR.ProcessamentoOrto;
    PathsZR.DigitalizacaoOrto = PathsZR.ProcessamentoOrto = CenarioNovoExame::Teste("TesteOrtoAssistente");
    const QList<QPair<QByteArray, int>> falhas = {{"vazia3", 1}, {"", 2}, {"zero", 2}, {"curto", 2}, {"texto", 2}};
    for (const auto& [falha, passo] : falhas) {
        qputenv("ZR_TESTE_FALHA", falha);
        c.Passo(kOlhoEsquerdo);
        QVERIFY2(f->Passo(kOlhoEsquerdo) == passo, falha.constData());
    }
    QVERIFY(!f->ResultadoOrtoOlho(kOlhoEsquerdo));
    // The real ortho-k modules: a new capture from the blue label, then processing and map.
    qputenv("ZR_TESTE_FALHA", "");
    PathsZR.DigitalizacaoOrto = capturaReal;
    PathsZR.ProcessamentoOrto = processamentoReal;
    qputenv("ZR_SIMULADOR_CASO", "Orto02");
    QTest::mouseClick(f->lblDigitS, Qt::LeftButton);
    QCOMPARE(f->Passo(kOlhoEsquerdo), 2);
    c.Passo(kOlhoEsquerdo);
    QCOMPARE(f->Passo(kOlhoEsquerdo), 3);
    const ResultadoOrto& r = *f->ResultadoOrtoOlho(kOlhoEsquerdo);
    c.Passo(kOlhoEsquerdo);
    QCOMPARE(f->Passo(kOlhoEsquerdo), 4);
    // The multi-map module got four 9-line headers, each with its map's confidence, the
    // matrices and the 4 x 4 values.
    const QStringList reg = c.Registro();
    QCOMPARE(reg.mid(0, 4), QStringList({"ProcessaMapas", "4", "4", "4"}));
    DadosCabecalho d{QStringLiteral("Ana"), p, QString(), kOlhoEsquerdo, c.agora, QStringLiteral("Dr. A"), PathsZR.BancoDados};
    const auto real = [](double v) { return QString::number(v, 'g', 15); };
    for (int k = 0; k < 4; ++k) {
        const QStringList bloco = reg.mid(4 + k * 16, 16);
        QCOMPARE(bloco.mid(0, 10), QStringList({"9"}) + CabecalhoExameOrto(d, r.indices[k]));
        QCOMPARE(bloco.mid(10), QStringList({real(r.matPosicoes[k][10][1]), real(r.matDioptrias[k][100][3]),
                                             real(r.valores[k][0]), real(r.valores[k][1]), real(r.valores[k][2]),
                                             real(r.valores[k][3])}));
        QVERIFY(r.valores[k][2] > 6 && r.valores[k][2] < 10); // a corneal radius, mm
    }
    // The map step again from its blue label, now with the real MultiOrto: four maps, each
    // with the Sag, Div and Raio of its capture.
    CenarioNovoExame::Copia(QStringLiteral(ZR_MAPA_MULTIORTO),
                            PathsZR.DirMapas + QStringLiteral("/MultiOrto.so"));
    QTest::mouseClick(f->lblMapaS, Qt::LeftButton);
    QCOMPARE(f->Passo(kOlhoEsquerdo), 4);
    const QStringList multi = LeArquivoTexto(c.saida.filePath(QStringLiteral("MultiOrto.txt")));
    QCOMPARE(multi.filter(QRegularExpression(QStringLiteral("^Painel \\d: OS "))).size(), 4);
    const QStringList lente = multi.filter(QStringLiteral("Sag: "));
    QCOMPARE(lente.size(), 4);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(lente[k], QStringLiteral("Sag: %1   Div: %2   Raio: %3")
                               .arg(QString::number(r.valores[k][0], 'f', 2),
                                    r.valores[k][1] == 0 ? QStringLiteral("—") : QString::number(r.valores[k][1], 'f', 2),
                                    QString::number(r.valores[k][2], 'f', 2)));
    QVERIFY2(multi.filter(QStringLiteral("Aviso:")).isEmpty(), qPrintable(multi.join(u'|')));
    // A second click during the pauses between the four starts nothing.
    TfrmNovoExame::PausaOrto() = [&] {
        c.agora = c.agora.addMSecs(1100);
        f->sbtExecutarS->click();
        QVERIFY(!f->isEnabled());
    };
    c.msgs.Responde(RespostaMensagem::Ok);
    c.Passo(kOlhoEsquerdo);
    QCOMPARE(f->Passo(kOlhoEsquerdo), 5);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM Exames WHERE TipoExame='O' AND Olho='OS'")), 4);
    QCOMPARE(c.Conta(QStringLiteral("SELECT COUNT(*) FROM ExamesOrto WHERE EXC=0")), 4);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("TOTALEXAMES")).toInt(), 4);
    QCOMPARE(c.CampoPaciente(p, QStringLiteral("ULTIMOEXAME")).toString(), QStringLiteral("OS 02/03/2026 14:00:03"));
    QCOMPARE(c.msgs.Textos(), QStringList({"Exame gravado com sucesso"}));
}

void TesteNovoExame::autoExame()
{
    CenarioNovoExame c;
    QVERIFY(c.Valido());
    c.Medico(QStringLiteral("Dr. A"));
    c.Paciente(QStringLiteral("Ana Souza Lima"));
    const int ana = c.Paciente(QStringLiteral("Ana Souza"));
    InfosZR.AutoExame = true;
    c.Abre();
    QPointer<TfrmNovoPaciente> sel;
    DefineAberturaModal([&](QDialog* d) {
        if (auto* s = qobject_cast<TfrmNovoPaciente*>(d))
            sel = s;
        else
            c.frm = qobject_cast<TfrmNovoExame*>(d);
        d->show();
        return 0;
    });
    c.nav->tbtCadPacienteClick();
    QVERIFY(sel);
    sel->edtNomePac->setText(QStringLiteral("Ana Souza"));
    sel->edtNomePacKeyUp();
    // The rows in name order: "Ana Souza" first.
    sel->DBGrid1->setCurrentIndex(sel->DBGrid1->model()->index(0, 0));
    sel->DBGrid1DblClick();
    QVERIFY(c.frm);
    QCOMPARE(c.frm->CodigoPaciente(), ana);
    QCOMPARE(c.nav->CodigoPacienteAtual(), ana);
}

QTEST_MAIN(TesteNovoExame)
#include "tst_novoexame.moc"
