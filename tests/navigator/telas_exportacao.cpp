// Pictures of "Exportar exame" for the documentation (not a test): the navigator with the
// export button, the dialog before sending and after a send to a local image archive with
// its closing text, and the examination as the archive's own web page shows it (headless
// Chromium, when installed).
// telas_exportacao <pasta de saída>

#include "config/UArquivoIni.h"
#include "navigator/UfrmExportaExame.h"
#include "platform/UTraducao.h"
#include "tests/export/UOrthancTeste.h"
#include "tests/navigator/UCenarioNavegador.h"
#include "tests/support/UExameCapturado.h"

#include <QApplication>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>

namespace {

void Foto(QWidget* w, const QString& arquivo)
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    w->grab().save(arquivo);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstalaTraducaoQt();
    const QString saida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    CenarioNavegador c;
    if (!c.Valido())
        return 1;
    OrthancTeste orthanc(QStringLiteral("PACS_CLINICA"), QStringLiteral("KORVANE"));
    if (!orthanc.Pronto()) {
        qWarning("%s", qPrintable(orthanc.Erro()));
        return 1;
    }
    TBIniSettings ini;
    ini.SelectFile(3);
    ArquivoIni::Escreve(ini.FileName(), QStringLiteral("PACS"), QStringLiteral("AETITLEARQUIVO"),
                        QStringLiteral("PACS_CLINICA"));
    ArquivoIni::Escreve(ini.FileName(), QStringLiteral("PACS"), QStringLiteral("HOST"), QStringLiteral("127.0.0.1"));
    ArquivoIni::Escreve(ini.FileName(), QStringLiteral("PACS"), QStringLiteral("PORTA"),
                        QString::number(orthanc.PortaDicom()));
    PathsZR.DirMapas = QStringLiteral(ZR_PASTA_MAPAS);
    const int medico = c.Medico(QStringLiteral("Dra. Helena Prado"));
    TDadosPaciente p;
    p.Nome = QStringLiteral("Conceição D'Ávila");
    p.Rg = QStringLiteral("12.345.678-9");
    p.Cpf = QStringLiteral("98765432100");
    p.DataNascimento = QStringLiteral("17/08/1961");
    p.Sexo = QStringLiteral("F");
    TDPacientes(c.DM()).InserePaciente(p, QDate(2024, 1, 2), 0);
    const int paciente = TDPacientes(c.DM()).IndicePacientes();
    const ExameCapturado e = GravaExameCapturado(c.DM(), paciente, medico, QStringLiteral("torica 7.9 7.5 30"),
                                                 QStringLiteral("OD"), QDate(2025, 3, 14), QTime(9, 30, 0));
    if (!e.Valido)
        return 1;
    InfosZR.MedicoAtivo = QStringLiteral("Dra. Helena Prado");
    c.Abre();
    c.Seleciona(QStringLiteral("OD - 14/03/2025 09:30:00"));
    Foto(c.nav, saida + QStringLiteral("/navegador_exportar.png"));

    QTemporaryDir pasta;
    DefineAberturaModal([&](QDialog* d) {
        auto* f = qobject_cast<TfrmExportaExame*>(d);
        if (!f)
            return int(QDialog::Rejected);
        f->show();
        f->edtPasta->setText(pasta.path());
        f->cbPacs->setChecked(true);
        Foto(f, saida + QStringLiteral("/exportar_antes.png"));
        f->btnExportar->click();
        Foto(f, saida + QStringLiteral("/exportar_depois.png"));
        f->close();
        return int(QDialog::Rejected);
    });
    c.nav->tbExportar->click();

    const QJsonArray estudos = orthanc.Json(QStringLiteral("/studies")).array();
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (!estudos.isEmpty() && !chromium.isEmpty()) {
        const QString url = orthanc.UrlBase() + QStringLiteral("/app/explorer.html#study?uuid=") + estudos[0].toString();
        QTemporaryDir perfil;
        QProcess::execute(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                                     QStringLiteral("--disable-gpu"), QStringLiteral("--user-data-dir=") + perfil.path(),
                                     QStringLiteral("--window-size=1280,800"), QStringLiteral("--virtual-time-budget=8000"),
                                     QStringLiteral("--screenshot=") + saida + QStringLiteral("/orthanc_estudo.png"), url});
    }
    // The map and the camera image as the archive renders them from the pixel data it stored.
    const QJsonArray instancias = orthanc.Json(QStringLiteral("/instances")).array();
    for (const QJsonValue& id : instancias) {
        const QString modalidade = orthanc.Json(QStringLiteral("/instances/%1/simplified-tags").arg(id.toString()))
                                       .object()
                                       .value(QStringLiteral("Modality"))
                                       .toString();
        QProcess::execute(QStringLiteral("curl"),
                          {QStringLiteral("-s"), QStringLiteral("-o"),
                           saida + QStringLiteral("/orthanc_%1.png").arg(modalidade.toLower()),
                           orthanc.UrlBase() + QStringLiteral("/instances/%1/preview").arg(id.toString())});
    }
    return 0;
}
