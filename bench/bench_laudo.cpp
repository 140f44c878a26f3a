// Report benchmark on a clinic-sized database: 100,000 patients, one of them with two stored
// examinations and 200 reports. Reports the time to show the wizard, to go from OK to the
// editor with both eyes computed, to activate the conclusion box (16-group tree and slot
// colours), to place a phrase, to save a report and to open a stored one; then the printed
// page: preview to its first page painted, PDF of one and of two pages, printing into a
// printer that writes a file.
//
// bench_laudo [pacientes]   (default 100000)
// Runs with QT_QPA_PLATFORM=offscreen when no display is set.

#include "bench/UBench.h"
#include "common/UTextoCp1252.h"
#include "reports/UAchados.h"
#include "reports/UfrmLauRelat.h"
#include "tests/reports/UCenarioLaudo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Bench::Medida;

void Linha(const char* nome, Medida m, double alvo)
{
    const double med = m.Mediana();
    std::printf("  %-46s mediana %8.1f ms  máximo %8.1f ms  (alvo < %.0f ms: %s)\n", nome, med, m.Maximo(), alvo,
                med < alvo ? "ok" : "ACIMA");
}

void Executa(TDMPrincipal& dm, const QString& sql)
{
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, sql);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int numPacientes = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int numLaudos = 200;

    CenarioLaudo c;
    if (!c.Valido()) {
        std::fprintf(stderr, "instalação de teste falhou\n");
        return 1;
    }
    TDMPrincipal& dm = c.DM();
    QElapsedTimer carga;
    carga.start();
    // Ana first (code 1, with her examinations), then the other patients in one block.
    c.medico = c.Medico(QStringLiteral("Dr. A"));
    c.paciente = c.Paciente(QStringLiteral("Ana"));
    c.exameOD = c.ExameReal(c.paciente, c.medico, QDateTime(QDate(2024, 2, 1), QTime(10, 0, 0)), QStringLiteral("OD"),
                            ExameSintetico::Torica(43.25, 44.50, 90));
    c.exameOS = c.ExameReal(c.paciente, c.medico, QDateTime(QDate(2024, 2, 1), QTime(10, 5, 0)), QStringLiteral("OS"),
                            ExameSintetico::Conica(7.8, 0.3));
    Executa(dm, QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 2; BEGIN WHILE (i <= %1) DO BEGIN "
                               "INSERT INTO PACIENTES (CODIGO, CODMEDICO, NOME, RG, CONVENIO, DTCADASTRO, ULTIMOEXAME, "
                               "TOTALEXAMES) VALUES (:i, 1, 'Paciente ' || LPAD(MOD(:i * 7919, 1000003), 7, '0'), "
                               "LPAD(:i, 9, '0'), 'Unimed', DATE '2020-01-01', '', 0); i = i + 1; END END")
                    .arg(numPacientes));
    Executa(dm, QStringLiteral("SET GENERATOR CODIGO_PACIENTES TO %1").arg(numPacientes));
    Executa(dm, QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= %1) DO BEGIN "
                               "INSERT INTO LAUDOS (CODIGO, CODPACIENTE, MEDIDAOD, MEDIDAOS, BACKUP, DATA, HORA) "
                               "VALUES (:i, %2, %3, %4, '', DATE '2024-01-01', TIME '10:00:00'); i = i + 1; END END")
                    .arg(numLaudos)
                    .arg(c.paciente)
                    .arg(c.exameOD)
                    .arg(c.exameOS));
    Executa(dm, QStringLiteral("SET GENERATOR CODIGO_LAUDOS TO %1").arg(numLaudos));
    dm.PCommitDataBase();
    QDir().mkpath(PastaLaudosPaciente(QString::number(c.paciente)));
    for (int i = 1; i <= numLaudos; ++i)
        GravaArquivoBytes(c.ArquivoLaudo(c.paciente, i),
                          ConteudoLaudo(TextoCondicoes(), QStringLiteral("Olho direito.\nSegunda linha."),
                                        QStringLiteral("Olho esquerdo."), QStringLiteral("Conclusão."), QString()));
    std::printf("carga: %d pacientes, %d laudos de um paciente em %.1f s\n\n", numPacientes, numLaudos,
                carga.elapsed() / 1000.0);

    InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
    InfosZR.PacienteAtivo = QStringLiteral("Ana");
    c.Abre();
    c.Seleciona(CenarioLaudo::kOD);

    const int vezes = 15;
    auto fecha = [&] {
        if (c.editor)
            c.editor->close();
        if (c.wiz)
            c.wiz->close();
        c.Libera();
    };

    // Each measure starts its timer inside f and stops it by reading it right away.
    auto mede = [&](int n, const std::function<void()>& antes, const std::function<void()>& acao,
                    const std::function<void()>& depois) {
        Medida m;
        QElapsedTimer t;
        for (int i = 0; i < n; ++i) {
            antes();
            t.start();
            acao();
            m.ms.push_back(t.nsecsElapsed() / 1e6);
            depois();
        }
        return m;
    };
    Linha("assistente mostrado (200 laudos)", mede(vezes, [] {}, [&] {
              c.AbreAssistente();
              QApplication::processEvents();
          }, fecha), 300);
    Linha("OK até o editor, dois olhos calculados", mede(vezes, [&] { c.AbreAssistente(); }, [&] {
              c.wiz->cmbOD->setCurrentIndex(0);
              c.wiz->cmbOS->setCurrentIndex(0);
              c.wiz->btnOKClick();
              QApplication::processEvents();
          }, fecha), 300);
    c.NovoLaudo();
    TfrmLaudo* e = c.editor;
    Linha("ativar a conclusão (16 grupos e cores)", mede(vezes, [&] { e->AtivaCaixa(e->reOD); }, [&] {
              e->AtivaCaixa(e->reCO);
              QApplication::processEvents();
          }, [] {}), 30);
    e->AtivaCaixa(e->reCO);
    Linha("duplo clique numa frase", mede(50, [] {}, [&] {
              static int k = 0;
              e->trwLaudoDblClick(e->trwLaudo->topLevelItem(k++ % 16)->child(1));
              QApplication::processEvents();
          }, [] {}), 10);
    fecha();
    Linha("gravar um laudo", mede(vezes, [&] {
              c.NovoLaudo();
              c.msgs.Limpa();
              for (int k = 0; k < 3; ++k)
                  c.msgs.Responde(RespostaMensagem::Nao);
          }, [&] { c.editor->sbtSalvarClick(); }, fecha), 250);
    Linha("abrir um laudo gravado", mede(vezes, [&] {
              c.AbreAssistente();
              c.wiz->rbLauExistClick();
              c.wiz->cmbEscLaudo->setCurrentIndex(c.wiz->cmbEscLaudo->count() / 2);
          }, [&] {
              c.wiz->btnOKClick();
              QApplication::processEvents();
          }, fecha), 100);

    // The printed page of a new report.
    QTemporaryDir pasta;
    c.NovoLaudo();
    e = c.editor;
    auto anterior = DefineAberturaModal([](QDialog* d) {
        d->show();
        QApplication::processEvents();
        if (auto* w = d->findChild<QPrintPreviewWidget*>())
            w->grab();
        return int(QDialog::Rejected);
    });
    Linha("visualizar impressão até a primeira página", mede(vezes, [] {}, [&] { e->sbtVisualizarImprClick(); }, [] {}), 300);
    DefineAberturaModal(anterior);
    const QString pdf = pasta.filePath(QStringLiteral("laudo.pdf"));
    Linha("PDF de 1 página", mede(vezes, [] {}, [&] { TfrmLauRelat(PreparaRelat(*e)).ExportaPdf(pdf); }, [] {}), 300);
    QString longo;
    for (int i = 0; longo.size() < 1500; ++i)
        longo += QStringLiteral("comentario%1 ").arg(i);
    e->reCM->setPlainText(longo);
    Linha("PDF de 2 páginas", mede(vezes, [] {}, [&] { TfrmLauRelat(PreparaRelat(*e)).ExportaPdf(pdf); }, [] {}), 500);
    e->reCM->clear();
    DefineImpressoraPadrao([&] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pasta.filePath(QStringLiteral("impresso.pdf")));
        return p;
    });
    Linha("imprimir (impressora em arquivo)", mede(vezes, [] {}, [&] { e->sbtImprimirClick(); }, [] {}), 500);
    DefineImpressoraPadrao({});
    fecha();
    return 0;
}
