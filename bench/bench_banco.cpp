// Database benchmark on a fresh embedded database built from the schema scripts:
//  - 10,000 patients and 50,000 examinations inserted through the stored procedures, each
//    a single-statement operation with its commit, then counted and listed;
//  - the patient list of 100,000 patients opened in name order;
//  - the median time of each single-statement operation.
//
// bench_banco [pacientes exames lista [assincrona]]   (defaults 10000 50000 100000)
// "assincrona" measures the same with the database's synchronous writes switched off, to
// show how much of each commit is the wait for the disk.

#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "data/UEsquemaBD.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

struct Medida {
    std::vector<qint64> ns;
    double Mediana()
    {
        if (ns.empty())
            return 0;
        std::sort(ns.begin(), ns.end());
        return Ms(ns[ns.size() / 2]);
    }
    double P95()
    {
        if (ns.empty())
            return 0;
        std::sort(ns.begin(), ns.end());
        return Ms(ns[ns.size() * 95 / 100]);
    }
    double Total() const
    {
        qint64 t = 0;
        for (qint64 x : ns)
            t += x;
        return Ms(t);
    }
};

Medida Repete(int vezes, const std::function<void(int)>& f)
{
    Medida m;
    QElapsedTimer t;
    for (int i = 0; i < vezes; ++i) {
        t.start();
        f(i);
        m.ns.push_back(t.nsecsElapsed());
    }
    return m;
}

void Linha(const char* nome, Medida m)
{
    std::printf("  %-34s mediana %8.3f ms   p95 %8.3f ms   (%zu vezes)\n", nome, m.Mediana(), m.P95(),
                m.ns.size());
}

TDadosPaciente Paciente(int i)
{
    TDadosPaciente p;
    p.Nome = QStringLiteral("Paciente %1 Conceição D'Ávila").arg((i * 7919) % 1000003, 7, 10, QChar('0'));
    p.Cidade = QStringLiteral("São Paulo");
    p.Estado = QStringLiteral("SP");
    p.Convenio = QStringLiteral("Particular");
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int numPacientes = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int numExames = argc > 2 ? std::atoi(argv[2]) : 50000;
    const int numLista = argc > 3 ? std::atoi(argv[3]) : 100000;

    QTemporaryDir pasta;
    const QString arquivo = pasta.path() + QStringLiteral("/DATABASE.GDB");
    QElapsedTimer t;
    t.start();
    EsquemaBD::CriaBancoDados(arquivo);
    std::printf("banco criado dos scripts: %.1f ms\n", Ms(t.nsecsElapsed()));
    if (argc > 4 && QByteArray(argv[4]) == "assincrona") {
        fb::Conexao c;
        c.Abre(arquivo, {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=qwzk47"),
                         QStringLiteral("force_write=0")});
        std::printf("escrita síncrona desligada\n");
    }

    TDMPrincipal dm;
    if (!dm.PSetDataBaseName(arquivo)) {
        std::fprintf(stderr, "sem conexão\n");
        return 1;
    }
    TDMedicos medicos(dm);
    TDPacientes pacientes(dm);
    TDExames exames(dm);
    TDLaudos laudos(dm);
    TDadosMedico m;
    m.Nome = QStringLiteral("Dra. Responsável");
    medicos.InsereMedico(m);

    std::printf("\n%d pacientes e %d exames pelos procedimentos (cada um com seu commit):\n",
                numPacientes, numExames);
    t.start();
    Medida insPac = Repete(numPacientes, [&](int i) {
        pacientes.InserePaciente(Paciente(i), QDate(2024, 1, 1), i % 3);
    });
    std::printf("  pacientes: %.1f s\n", insPac.Total() / 1000);
    Medida insExa = Repete(numExames, [&](int i) {
        exames.InsereExame(1 + i % numPacientes, 1, QDate(2024, 1, 1).addDays(i % 365),
                           QTime(8, 0).addSecs(i % 36000), i % 2 ? QStringLiteral("OS") : QStringLiteral("OD"),
                           0.9, QStringLiteral("T"), QString(QLatin1String("")), QString(), QString(), 32,
                           QStringLiteral("1"));
    });
    std::printf("  exames: %.1f s\n", insExa.Total() / 1000);

    std::printf("\ncontagens e listas:\n");
    t.start();
    const int np = pacientes.ContaPacientes();
    const double tcp = Ms(t.nsecsElapsed());
    t.start();
    const int ne = exames.ContaExames();
    const double tce = Ms(t.nsecsElapsed());
    std::printf("  ContaPacientes = %d: %.3f ms   ContaExames = %d: %.3f ms\n", np, tcp, ne, tce);
    t.start();
    dm.IBQueryPacientes->DefineSQL(QStringLiteral("select * from PACIENTES order by NOME"));
    dm.IBQueryPacientes->Abre();
    const double abre = Ms(t.nsecsElapsed());
    dm.IBQueryPacientes->BuscaTodas();
    std::printf("  lista de pacientes: abrir %.1f ms, todas as %d linhas %.1f ms\n", abre,
                dm.IBQueryPacientes->LinhasBuscadas(), Ms(t.nsecsElapsed()));
    t.start();
    dm.IBQueryExames->DefineSQL(QStringLiteral("select * from EXAMES order by DATA, HORA"));
    dm.IBQueryExames->Abre();
    const double abreEx = Ms(t.nsecsElapsed());
    dm.IBQueryExames->BuscaTodas();
    std::printf("  lista de exames: abrir %.1f ms, todas as %d linhas %.1f ms\n", abreEx,
                dm.IBQueryExames->LinhasBuscadas(), Ms(t.nsecsElapsed()));

    std::printf("\noperações de um comando:\n");
    Linha("InserePaciente (+commit)", insPac);
    Linha("InsereExame (+commit)", insExa);
    Linha("AtualizaPaciente (+commit)", Repete(200, [&](int i) { pacientes.AtualizaPaciente(1 + i, Paciente(i + 1)); }));
    Linha("AtualizaExamesPaciente (+commit)",
          Repete(200, [&](int i) { pacientes.AtualizaExamesPaciente(1 + i, QStringLiteral("OD"), 2); }));
    Linha("AtualizaDiagExame (+commit)",
          Repete(200, [&](int i) { exames.AtualizaDiagExame(1 + i, QStringLiteral("Astigmatismo")); }));
    Linha("AtualizaBackupExame (sem commit)",
          Repete(200, [&](int i) { exames.AtualizaBackupExame(1 + i, QStringLiteral("D001")); }));
    dm.PCommitDataBase();
    Linha("InsereLaudo (+commit)",
          Repete(200, [&](int i) { laudos.InsereLaudo(1 + i % numPacientes, 1 + i, -1, QString(QLatin1String("")), QDate(2024, 1, 1), QTime(8, 0)); }));
    Linha("NomePaciente", Repete(1000, [&](int i) { pacientes.NomePaciente(1 + i); }));
    Linha("CodigoPaciente", Repete(1000, [&](int i) { pacientes.CodigoPaciente(Paciente(i).Nome); }));
    Linha("TotalExamesPaciente", Repete(1000, [&](int i) { pacientes.TotalExamesPaciente(1 + i); }));
    Linha("NomeMedico", Repete(1000, [&](int) { medicos.NomeMedico(1); }));
    Linha("ResponsavelExame", Repete(1000, [&](int i) { exames.ResponsavelExame(1 + i); }));
    Linha("ContaExamesMedicoPaciente",
          Repete(1000, [&](int i) { exames.ContaExamesMedicoPaciente(1, 1 + i); }));
    Linha("ContaLaudosExame", Repete(1000, [&](int i) { laudos.ContaLaudosExame(1 + i, QStringLiteral("OD")); }));
    Linha("IndicePacientes", Repete(1000, [&](int) { pacientes.IndicePacientes(); }));
    Linha("ContaMedicos", Repete(1000, [&](int) { medicos.ContaMedicos(); }));
    Linha("ContaPacientes", Repete(50, [&](int) { pacientes.ContaPacientes(); }));
    Linha("ContaPacientesSemExames", Repete(50, [&](int) { pacientes.ContaPacientesSemExames(); }));
    Linha("ContaExames", Repete(50, [&](int) { exames.ContaExames(); }));
    Linha("ContaExamesSemBackup", Repete(50, [&](int) { exames.ContaExamesSemBackup(); }));
    Linha("ContaExamesMedico", Repete(50, [&](int) { exames.ContaExamesMedico(1); }));

    // The patient list at 100,000 patients: the rest inserted in one transaction.
    if (numLista > np) {
        ConsultaBD& op = *dm.IBOperation;
        op.Fecha();
        op.DefineSQL(QStringLiteral("Execute Procedure InsertPacientes :Nome,:Rg,:CPF,:Sexo,:EstadoCivil,"
                                    ":Conjuge,:DataNascimento,:Naturalidade,:NaturalidadeEstado,:Pai,:Mae,"
                                    ":Rua,:Complemento,:Bairro,:Cidade,:Estado,:Cep,:Fone,:Celular,"
                                    ":Convenio,:Profissao,:TipoSang,:DtCadastro,:TotalExames"));
        for (int i = np; i < numLista; ++i) {
            op.DefineParametro(QStringLiteral("Nome"), Paciente(i).Nome);
            op.DefineParametro(QStringLiteral("Cidade"), QStringLiteral("Curitiba"));
            op.DefineParametro(QStringLiteral("DtCadastro"), QDate(2024, 1, 1));
            op.DefineParametro(QStringLiteral("TotalExames"), 0);
            op.Executa();
        }
        dm.PCommitDataBase();
    }
    std::printf("\nlista de %d pacientes em ordem de nome:\n", pacientes.ContaPacientes());
    Medida lista = Repete(5, [&](int) {
        dm.IBQueryPacientes->Fecha();
        dm.IBQueryPacientes->DefineSQL(QStringLiteral("select * from PACIENTES order by NOME"));
        dm.IBQueryPacientes->Abre();
    });
    Linha("abrir a lista (primeiras linhas)", lista);
    Medida tudo = Repete(3, [&](int) {
        dm.IBQueryPacientes->Reabre();
        dm.IBQueryPacientes->BuscaTodas();
    });
    Linha("abrir e buscar todas as linhas", tudo);
    return 0;
}
