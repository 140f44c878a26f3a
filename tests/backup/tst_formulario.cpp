// The backup form over test modules: counts and options, the backup from the lists to the
// database copy with the module's marks, the module's failures, the restore's refusal and
// the automatic backup offered by the reminder.
#include "tests/backup/UCenarioBackup.h"

#include "backup/UMidia.h"
#include "backup/UfrmBackup.h"
#include "common/UTextoCp1252.h"
#include "config/UArquivoIni.h"
#include "platform/UDrives.h"
#include "platform/UJanelas.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

using namespace Backup;

class TesteFormularioBackup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opcoes();
    void backup_data();
    void backup();
    void destino_data();
    void destino();
    void restauracaoRecusada();
    void automatico();

private:
    void Modulo(const QString& nome)
    {
        PathsZR.ModuloBackup = QStringLiteral(ZR_PASTA_MODULOS_TESTE "/") + nome + QStringLiteral(".so");
    }
    std::unique_ptr<CenarioBackup> c;
    std::unique_ptr<QTemporaryDir> midia;
};

void TesteFormularioBackup::init()
{
    c = std::make_unique<CenarioBackup>();
    QVERIFY(c->Valido());
    midia = std::make_unique<QTemporaryDir>();
    EscreveChaves(c->IniBackup(), {{"Destino", midia->path()}});
    Modulo(QStringLiteral("TesteBackupNumerado"));
}

void TesteFormularioBackup::cleanup()
{
    DefineAberturaModal({});
    c.reset();
    midia.reset();
}

void TesteFormularioBackup::opcoes()
{
    InfosZR.BackupAuto = 0;
    InfosZR.BackupPeriodo = 0;
    InfosZR.BackupUnidade = 0;
    InfosZR.BackupExames = 0;
    TfrmBackup f;
    f.show();
    QVERIFY(!f.btnINI->isEnabled()); // nothing to back up
    QVERIFY(f.rbtNunca->isChecked());
    QCOMPARE(f.UpDown1->value(), 5);
    QCOMPARE(f.UpDown2->value(), 200);
    QCOMPARE(f.cbxPeriodo->currentText(), QStringLiteral("Dias"));
    QCOMPARE(f.memDetalhes->toPlainText().split(u'\n').last(), QStringLiteral("Drive: ") + midia->path());
    QCOMPARE(f.DriveRoot, midia->path());

    f.rbtExames->setChecked(true);
    f.UpDown2->setValue(300);
    f.UpDown1->setValue(7);
    f.cbxPeriodo->setCurrentIndex(1);
    f.btnFEC->click();
    QCOMPARE((QList<int>{InfosZR.BackupAuto, InfosZR.BackupPeriodo, InfosZR.BackupUnidade, InfosZR.BackupExames}),
             (QList<int>{2, 7, 1, 300}));
    // Read back as at start-up: every value whole (300 examinations is not 44).
    TBIniSettings ini;
    QVERIFY(ini.LoadAll(3));
    TInfosZR lidos;
    PreencheRegistrosZR(ini, lidos, PathsZR);
    QCOMPARE((QList<int>{lidos.BackupAuto, lidos.BackupPeriodo, lidos.BackupUnidade, lidos.BackupExames}),
             (QList<int>{2, 7, 1, 300}));
}

void TesteFormularioBackup::backup_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QStringList>("marcasExames");
    QTest::addColumn<QStringList>("marcasLaudos");
    QTest::addColumn<QString>("mensagem");   // the last message; empty: none
    QTest::addColumn<bool>("copiaBanco");
    const QString fim = QStringLiteral("Backup dos Exames e Laudos concluído com êxito");
    QTest::newRow("marcas numeradas") << "TesteBackupNumerado" << QStringList{"E1", "E2"}
                                      << QStringList{"L1", "L2", "L3"} << fim << true;
    QTest::newRow("menos marcas que linhas") << "TesteBackupMenos" << QStringList{"E1", ""}
                                             << QStringList{"L1", "L2", ""} << fim << true;
    QTest::newRow("módulo devolve -1") << "TesteBackupFalha" << QStringList{"", ""} << QStringList{"", "", ""}
                                       << "" << false;
    QTest::newRow("marca longa") << "TesteBackupLonga" << QStringList{"", ""} << QStringList{"", "", ""}
                                 << MensagemMarcaLonga() << false;
    QTest::newRow("só InfoBackup") << "TesteBackupSoInfo" << QStringList{"", ""} << QStringList{"", "", ""}
                                   << "O módulo de backup não foi encontrado ou está incompleto.\r\nNenhum backup foi "
                                      "feito."
                                   << false;
}

void TesteFormularioBackup::backup()
{
    QFETCH(QString, modulo);
    QFETCH(QStringList, marcasExames);
    QFETCH(QStringList, marcasLaudos);
    QFETCH(QString, mensagem);
    QFETCH(bool, copiaBanco);
    const QList<int> exames{c->Exame(), c->Exame({"m.txt"})};
    const int perdido = c->Exame({});
    const QList<int> laudos{c->Laudo(), c->Laudo(), c->Laudo()};
    Modulo(modulo);
    TfrmBackup f;
    f.show();
    QVERIFY(f.btnINI->isEnabled());
    QCOMPARE(f.Label2->text(), QStringLiteral("3"));
    f.btnINI->click();

    QStringList me, ml;
    for (int e : exames)
        me << c->MarcaExame(e);
    for (int l : laudos)
        ml << c->MarcaLaudo(l);
    QCOMPARE(me, marcasExames);
    QCOMPARE(ml, marcasLaudos);
    QCOMPARE(c->mensagens.Textos().isEmpty() ? QString() : c->mensagens.Textos().last(), mensagem);
    QCOMPARE(QFileInfo::exists(ArquivoCopiaBanco(midia->path())), copiaBanco);
    QCOMPARE(f.lblStatusBkp->text() == QStringLiteral("Backup finalizado!"), copiaBanco);
    const bool modulo3 = modulo != QStringLiteral("TesteBackupSoInfo");
    // The examination without files is removed and logged only once the module is known.
    QCOMPARE(c->Valor("SELECT Codigo FROM Exames WHERE Codigo=:C", perdido).isValid(), !modulo3);
    QCOMPARE(f.lblAvisoBackup->isVisible(), modulo3);
    if (modulo3)
        QCOMPARE(LeArquivoTexto(ArquivoLogExames()),
                 QStringList{"Exame não encontrado: " + QString::number(c->paciente) + "/" + QString::number(perdido)});
}

void TesteFormularioBackup::destino_data()
{
    QTest::addColumn<bool>("pronto");
    QTest::addColumn<qint64>("livre");
    QTest::addColumn<QStringList>("textos");
    QTest::addColumn<bool>("copiaBanco");
    const QString fim = QStringLiteral("Backup dos Exames e Laudos concluído com êxito");
    QTest::newRow("sem espaço, Cancelar") << true << qint64(0)
                                          << QStringList{"Insira um NOVO disco no drive e pressione OK.", fim} << true;
    QTest::newRow("destino indisponível") << false << qint64(0)
                                          << QStringList{"O destino do backup \"%1\" não está disponível.\r\nA cópia "
                                                         "do banco de dados não foi feita."}
                                          << false;
}

void TesteFormularioBackup::destino()
{
    QFETCH(bool, pronto);
    QFETCH(qint64, livre);
    QFETCH(QStringList, textos);
    QFETCH(bool, copiaBanco);
    const int exame = c->Exame();
    DefineConsultaDrive([&](const QString&) { return EstadoDrive{pronto, livre, qint64(1) << 30, {}}; });
    c->mensagens.Responde(RespostaMensagem::Cancelar);
    TfrmBackup f;
    f.show();
    f.btnINI->click();
    DefineConsultaDrive({});
    textos.replaceInStrings(QStringLiteral("%1"), midia->path());
    QCOMPARE(c->mensagens.Textos(), textos);
    QCOMPARE(c->MarcaExame(exame), QStringLiteral("E1")); // the files were copied either way
    QCOMPARE(QFileInfo::exists(ArquivoCopiaBanco(midia->path())), copiaBanco);
}

void TesteFormularioBackup::restauracaoRecusada()
{
    c->Exame();
    const QString antes = ResumoArquivo(c->banco.Arquivo());
    TfrmBackup f;
    f.show();
    c->mensagens.Responde(RespostaMensagem::Ok);
    f.btnRES->click();
    QCOMPARE(c->mensagens.Registros().size(), 2);
    const auto& r = c->mensagens.Registros().last();
    QCOMPARE(r.titulo, QStringLiteral("Backup"));
    QCOMPARE(r.icone, IconeMensagem::Erro);
    QVERIFY(r.texto.contains(QStringLiteral("Nada foi restaurado.")));
    QVERIFY(c->DM().Conectado());
    QCOMPARE(c->Valor("SELECT COUNT(*) FROM Exames").toInt(), 1);
}

// "Sim" to the reminder's question shows the form, which runs the backup at once.
void TesteFormularioBackup::automatico()
{
    const int exame = c->Exame();
    int aberturas = 0;
    DefineAberturaModal([&](QDialog* d) {
        ++aberturas;
        d->show();
        d->hide();
        return int(QDialog::Accepted);
    });
    TfrmBackup f;
    c->mensagens.Responde(RespostaMensagem::Sim);
    f.OfereceBackupAutomatico();
    QCOMPARE(aberturas, 1);
    QVERIFY(!f.Automatico);
    QCOMPARE(c->MarcaExame(exame), QStringLiteral("E1"));
    QCOMPARE(c->mensagens.Textos(), (QStringList{"Backup automático inicializado... deseja continuar?",
                                                 "Backup dos Exames e Laudos concluído com êxito"}));
}

QTEST_MAIN(TesteFormularioBackup)
#include "tst_formulario.moc"
