// Navigator benchmark on a fresh installation with a clinic-sized database:
// 100,000 patients (2,000 of them without examinations), 500,000 examinations by 20 doctors.
// Reports the time to open the navigator, to switch the doctor filter, to change the current
// patient, the quick find, the patient selection filter and the patient search panel (each
// kind, and "Ver paciente").
//
// bench_navegador [pacientes exames]   (defaults 100000 500000)
// Runs with QT_QPA_PLATFORM=offscreen when no display is set.

#include "bench/UBench.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "navigator/UBuscaPacientes.h"
#include "navigator/UNavegador.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmExames.h"
#include "navigator/UfrmNovoPaciente.h"
#include "platform/UMensagens.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Bench::Medida;
using Bench::Repete;

QString SqlPacientesMedico() { return Navegador::SqlPacientes(QStringLiteral("Dr."), true); }

void Linha(const char* nome, Medida m, double alvo)
{
    const double med = m.Mediana();
    std::printf("  %-46s mediana %8.1f ms  máximo %8.1f ms  cpu %8.1f ms  (alvo < %.0f ms: %s)\n", nome, med,
                m.Maximo(), Bench::Mediana(m.cpu), alvo, med < alvo ? "ok" : "ACIMA");
}

void Executa(TDMPrincipal& dm, const QString& sql)
{
    dm.GaranteTransacao();
    dm.IBDatabase.ExecutaImediato(dm.IBTransaction, sql);
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int numPacientes = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int numExames = argc > 2 ? std::atoi(argv[2]) : 500000;
    const int semExames = numPacientes / 50;
    const int numMedicos = 20;

    InstalacaoTeste inst;
    if (!inst.Valida()) {
        std::fprintf(stderr, "instalação de teste falhou\n");
        return 1;
    }
    inst.AlteraChave(QStringLiteral("DICAS"), QStringLiteral("0")); // no search tip to wait on
    TBIniSettings ini;
    ini.LoadAll(3);
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    TDMPrincipal dm;
    if (!dm.PSetDataBaseName(PathsZR.BancoDados + QStringLiteral("/DATABASE.GDB"))) {
        std::fprintf(stderr, "sem conexão com o banco\n");
        return 1;
    }
    MensagensRoteiro msgs;

    std::printf("carga: %d pacientes (%d sem exames), %d exames, %d médicos\n", numPacientes, semExames, numExames,
                numMedicos);
    QElapsedTimer carga;
    carga.start();
    Executa(dm, QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= %1) DO BEGIN "
                               "INSERT INTO MEDICOS (CODIGO, NOME) VALUES (:i, 'Dr. Médico ' || LPAD(:i, 2, '0')); "
                               "i = i + 1; END END")
                    .arg(numMedicos));
    Executa(dm, QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN WHILE (i <= %1) DO BEGIN "
                               "INSERT INTO PACIENTES (CODIGO, CODMEDICO, NOME, RG, CONVENIO, DTCADASTRO, ULTIMOEXAME, "
                               "TOTALEXAMES) VALUES (:i, 1, 'Paciente ' || LPAD(MOD(:i * 7919, 1000003), 7, '0') || "
                               "' Conceição', LPAD(:i, 9, '0'), 'Unimed', DATE '2020-01-01', 'OD 01/01/2024 10:00', 0); "
                               "i = i + 1; END END")
                    .arg(numPacientes));
    const int comExames = numPacientes - semExames;
    Executa(dm, QStringLiteral("EXECUTE BLOCK AS DECLARE j INTEGER = 1; BEGIN WHILE (j <= %1) DO BEGIN "
                               "INSERT INTO EXAMES (CODIGO, CODPACIENTE, CODRESP, DATA, HORA, OLHO, TIPOEXAME, INDCONF, "
                               "NUMANEL, TIPOCONE) VALUES (:j, MOD(:j, %2) + 1, MOD(:j * 13, %3) + 1, "
                               "DATEADD(MOD(:j, 3000) DAY TO DATE '2010-01-01'), "
                               "DATEADD(MOD(:j * 37, 86400) SECOND TO TIME '00:00:00'), "
                               "IIF(MOD(:j, 2) = 0, 'OD', 'OS'), 'T', 95.5, 16, '2'); j = j + 1; END END")
                    .arg(numExames)
                    .arg(comExames)
                    .arg(numMedicos));
    Executa(dm, QStringLiteral("UPDATE PACIENTES SET TOTALEXAMES = (SELECT COUNT(*) FROM EXAMES WHERE "
                               "EXAMES.CODPACIENTE = PACIENTES.CODIGO)"));
    // One examination in a hundred with a diagnosis and an observation for the search.
    Executa(dm, QStringLiteral("UPDATE EXAMES SET DIAG = 'Astigmatismo irregular ' || CODIGO, OBSERVACAO = "
                               "'Retorno em 30 dias' WHERE MOD(CODIGO, 100) = 0"));
    Executa(dm, QStringLiteral("SET GENERATOR CODIGO_PACIENTES TO %1").arg(numPacientes));
    Executa(dm, QStringLiteral("SET GENERATOR CODIGO_EXAMES TO %1").arg(numExames));
    dm.PCommitDataBase();
    std::printf("  carga em %.1f s\n\n", carga.elapsed() / 1000.0);

    // The doctor's patient list: the join made distinct, against distinct codes first.
    const QString juncao = QStringLiteral(
        "Select DISTINCT(Pacientes.Nome), Pacientes.Codigo, Pacientes.RG, Pacientes.Convenio, Pacientes.DtCadastro, "
        "Pacientes.UltimoExame, Pacientes.TotalExames FROM Exames JOIN Pacientes ON Exames.CodPaciente = "
        "Pacientes.Codigo WHERE CodResp=:CodigoMedico Order by Pacientes.Nome Asc");
    for (const QString& sql : {juncao, SqlPacientesMedico()}) {
        Medida m = Repete(3, [&](int i) {
            ConsultaBD& q = *dm.IBQueryBuscaPac;
            q.Fecha();
            q.DefineSQL(sql);
            q.DefineParametro(QStringLiteral("CodigoMedico"), 3 + i);
            q.Abre();
            q.BuscaTodas();
        });
        std::printf("  %-46s mediana %8.1f ms (%d linhas)\n",
                    sql == juncao ? "junção com DISTINCT" : "códigos distintos, depois pacientes", m.Mediana(),
                    dm.IBQueryBuscaPac->LinhasBuscadas());
    }

    InfosZR.MedicoAtivo = QStringLiteral("*** Todos");
    InfosZR.PacienteAtivo.clear();
    std::printf("navegador:\n");
    TfrmExames* nav = nullptr;
    Medida abrir = Repete(5, [&](int) {
        delete nav;
        nav = new TfrmExames;
        nav->DefineTamanhoTela(QSize(1366, 768));
        nav->resize(1366, 768);
        nav->show();
        QCoreApplication::processEvents();
    });
    Linha("abrir (médicos, lista de todos os pacientes)", abrir, 1000);

    InfosZR.MedicoAtivo = QStringLiteral("Dr. Médico 07");
    InfosZR.PacienteAtivo = QStringLiteral("Paciente 0500000 Conceição");
    Medida abrirMedico = Repete(3, [&](int) {
        delete nav;
        nav = new TfrmExames;
        nav->DefineTamanhoTela(QSize(1366, 768));
        nav->resize(1366, 768);
        nav->show();
        QCoreApplication::processEvents();
    });
    Linha("abrir no médico e paciente da última vez", abrirMedico, 1000);

    const QStringList filtros = {QStringLiteral("Dr. Médico 03"), QStringLiteral("*** Todos"),
                                 QStringLiteral("*** Sem Exames"), QStringLiteral("Dr. Médico 15")};
    Medida troca = Repete(12, [&](int i) {
        nav->CBMedicos->setCurrentIndex(nav->CBMedicos->findText(filtros[i % filtros.size()]));
        nav->CBMedicos1Change();
        QCoreApplication::processEvents();
    });
    Linha("trocar o filtro de médico", troca, 500);
    for (const QString& f : filtros) {
        Medida m = Repete(3, [&](int) {
            nav->CBMedicos->setCurrentIndex(nav->CBMedicos->findText(f));
            nav->CBMedicos1Change();
            QCoreApplication::processEvents();
        });
        std::printf("    %-44s mediana %8.1f ms\n", qPrintable(f), m.Mediana());
    }
    // The doctor's patient list alone: open and the first page of the grid, and every row.
    for (const QString& f : {QStringLiteral("Dr. Médico 03"), QStringLiteral("Dr. Médico 15")}) {
        nav->CBMedicos->setCurrentIndex(nav->CBMedicos->findText(f));
        Medida m = Repete(3, [&](int) {
            nav->CarregaPacientes(QStringLiteral("Asc"));
            dm.IBQueryPacientes->VaiPara(255);
        });
        std::printf("    lista de %-35s mediana %8.1f ms (primeira página)\n", qPrintable(f), m.Mediana());
        Medida t = Repete(2, [&](int) {
            nav->CarregaPacientes(QStringLiteral("Asc"));
            dm.IBQueryPacientes->Ultimo();
        });
        std::printf("    lista de %-35s mediana %8.1f ms (%d linhas, até a última)\n", qPrintable(f), t.Mediana(),
                    dm.IBQueryPacientes->rowCount());
    }
    nav->CBMedicos->setCurrentIndex(nav->CBMedicos->findText(QStringLiteral("*** Todos")));
    nav->CBMedicos1Change();
    Medida ordem = Repete(4, [&](int i) {
        if (i % 2 == 0)
            nav->tbOrdemCriacaoClick();
        else
            nav->tbOrdemAlfaClick();
        QCoreApplication::processEvents();
    });
    Linha("trocar a ordem (todos os pacientes)", ordem, 1000);

    ConsultaBD& pac = *dm.IBQueryPacientes;
    Medida muda = Repete(200, [&](int i) {
        pac.VaiPara(i * 37 % 2000);
        QCoreApplication::processEvents();
    });
    Linha("mudar de paciente (exames do paciente)", muda, 50);
    Medida rolar = Repete(20, [&](int i) {
        nav->DBGridPacientes->scrollTo(pac.index(std::min(pac.rowCount() - 1, (i + 1) * 500), 0));
        QCoreApplication::processEvents();
    });
    Linha("rolar a grade 500 linhas", rolar, 50);
    Medida busca = Repete(5, [&](int i) {
        pac.VaiPara(0);
        nav->VaiParaPrefixo(i % 2 ? QStringLiteral("Paciente 09") : QStringLiteral("Paciente 05"));
    });
    Linha("busca rápida (prefixo no meio da lista)", busca, 500);
    Medida buscaNada = Repete(3, [&](int) { nav->VaiParaPrefixo(QStringLiteral("zzz")); });
    Linha("busca rápida sem resultado (lista inteira)", buscaNada, 1000);

    auto* sel = new TfrmNovoPaciente(*nav, nav);
    sel->show();
    Medida filtro = Repete(10, [&](int i) {
        sel->edtNomePac->setText(i % 2 ? QStringLiteral("paciente 01") : QStringLiteral("pac"));
        sel->edtNomePacKeyUp();
        QCoreApplication::processEvents();
    });
    Linha("seleção de paciente: filtrar ao digitar", filtro, 500);
    delete sel;

    // The search panel: the first-name list at every key stroke until its first rows show,
    // "Localizar" of each kind, and "Ver paciente" of a patient in the middle of the list.
    std::printf("busca de pacientes:\n");
    nav->CBMedicos->setCurrentIndex(nav->CBMedicos->findText(QStringLiteral("*** Todos")));
    nav->CBMedicos1Change();
    nav->tbLocPacExam->setChecked(true);
    const QString digitado = QStringLiteral("paciente 0500");
    for (const QString& medico : {QStringLiteral("*** Todos"), QStringLiteral("Dr. Médico 07")}) {
        nav->CbFind->setCurrentIndex(nav->CbFind->findText(medico));
        nav->CbFindChange();
        Medida tecla = Repete(digitado.size(), [&](int i) {
            nav->edtFind->setText(digitado.left(i + 1));
            QCoreApplication::processEvents();
            dm.IBQueryBuscaPac->VaiPara(30);
        });
        Linha(medico.startsWith(QLatin1Char('*')) ? "primeiro nome, por tecla (todos)" : "primeiro nome, por tecla (médico)",
              tecla, 100);
    }
    struct Caso {
        const char* nome;
        int tipo;
        const char* texto;
        double alvo;
    };
    const Caso casos[] = {
        {"parte do nome", BuscaPacientes::ParteNome, "0500", 200},
        {"parte do nome de todos, acentos", BuscaPacientes::ParteNome, "conceição", 200},
        {"código do paciente", BuscaPacientes::CodigoPaciente, "54321", 200},
        {"código do paciente 1%", BuscaPacientes::CodigoPaciente, "1%", 200},
        {"RG", BuscaPacientes::RgPaciente, "0054321", 200},
        {"código do exame", BuscaPacientes::CodigoExame, "250000", 500},
        {"código do exame 1234%", BuscaPacientes::CodigoExame, "1234%", 500},
        {"diagnóstico", BuscaPacientes::Diagnostico, "irregular 4", 500},
        {"observação", BuscaPacientes::Observacao, "retorno", 500},
    };
    for (const Caso& k : casos) {
        nav->m_tiposBusca->button(k.tipo)->click();
        nav->edtFind->setText(QString::fromUtf8(k.texto));
        Medida m = Repete(3, [&](int) {
            nav->btnLocPac1Click();
            QCoreApplication::processEvents();
        });
        char nome[80];
        std::snprintf(nome, sizeof nome, "localizar: %s (%d+ linhas)", k.nome, dm.IBQueryBuscaPac->LinhasBuscadas());
        Linha(nome, m, k.alvo);
    }
    Medida verPaciente;
    for (int i = 0; i < 3; ++i) {
        nav->tbLocPacExam->setChecked(true);
        nav->m_tiposBusca->button(BuscaPacientes::Diagnostico)->click();
        nav->edtFind->setText(QStringLiteral("irregular 25000"));
        nav->btnLocPac1Click();
        QElapsedTimer t;
        const double cpu = Bench::CpuMs();
        t.start();
        nav->btnLocDBGrid1Click();
        QCoreApplication::processEvents();
        verPaciente.ms.push_back(t.nsecsElapsed() / 1e6);
        verPaciente.cpu.push_back(Bench::CpuMs() - cpu);
    }
    Linha("ver paciente (diagnóstico, exame selecionado)", verPaciente, 200);
    delete nav;
    TfrmAguarde::Fecha();
    return 0;
}
