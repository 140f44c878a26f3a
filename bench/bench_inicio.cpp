// Start-up time: from the start of the program's process to the end of its start-up
// sequence (settings, database, map modules, capture and processing modules), on an
// installation with 20 map modules (copies of the axial map under other names, so each is a
// file of its own to the module probe) and 10,000 patients.
//
//   bench_inicio            prepares the installation, then starts itself on it: once with
//                           no verdict of the module probe known (cold), five times with the
//                           verdicts remembered (warm); then times the probe of the 20 files
//                           alone, after changing their modification times
//   bench_inicio --medir D  (the child) runs the main menu's start-up on installation D

#include "app/UAplicacao.h"
#include "app/UfrmPrincipal.h"
#include "config/UBIniSettings.h"
#include "data/UDMPrincipal.h"
#include "data/UDPacientes.h"
#include "modules/USondaModulo.h"
#include "platform/UBVersionInfo.h"
#include "platform/UMensagens.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

// Processor time (user and system) of this process or of its children that ended, in ms.
double TempoProcessador(int quem)
{
    rusage uso{};
    getrusage(quem, &uso);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(uso.ru_utime) + ms(uso.ru_stime);
}

int Medir(int argc, char* argv[])
{
    TAplicacao app(argc, argv);
    TBIniSettings::DefinePastaConfiguracao(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bin"));
    TBVersionInfo::DefineExecutavelPrograma(QStringLiteral(ARQ_PROGRAMA));
    SondaModulo::DefinePrograma(QStringLiteral(ARQ_PROGRAMA));
    TDMPrincipal dados;
    TfrmPrincipal menu;
    menu.StartUp();
    // Processor time of this process and of the probes it ran: what the start-up costs
    // whatever else the machine is doing.
    std::printf("%s %d %d %.0f\n", menu.Started ? "iniciado" : "falhou", int(menu.InstalledMaps.size() / 4),
                SondaModulo::SondasExecutadas(), TempoProcessador(RUSAGE_SELF) + TempoProcessador(RUSAGE_CHILDREN));
    std::fflush(stdout);
    return menu.Started ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--medir")
        return Medir(argc, argv);

    QCoreApplication app(argc, argv);
    MensagensRoteiro mensagens;
    UsuarioTeste usuario;
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    if (!inst.Valida())
        return 1;
    QStringList mapas;
    for (int i = 1; i <= 20; ++i) {
        mapas << inst.Pastas().mapas + QStringLiteral("/Mapa%1.so").arg(i, 2, 10, QLatin1Char('0'));
        QFile::copy(QStringLiteral(MAPA_MODELO), mapas.last());
    }
    {
        TDMPrincipal dados;
        if (!dados.PSetDataBaseName(inst.ArquivoBanco()))
            return 1;
        // The patients go in through the insertion procedure, in one transaction.
        ConsultaBD& op = *dados.IBOperation;
        op.Fecha();
        op.DefineSQL(QStringLiteral("Execute Procedure InsertPacientes :Nome,:Rg,:CPF,:Sexo,:EstadoCivil,"
                                    ":Conjuge,:DataNascimento,:Naturalidade,:NaturalidadeEstado,:Pai,:Mae,"
                                    ":Rua,:Complemento,:Bairro,:Cidade,:Estado,:Cep,:Fone,:Celular,"
                                    ":Convenio,:Profissao,:TipoSang,:DtCadastro,:TotalExames"));
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 10000; ++i) {
            op.DefineParametro(QStringLiteral("Nome"),
                               QStringLiteral("PACIENTE %1 DA SILVA").arg(i, 5, 10, QLatin1Char('0')));
            op.DefineParametro(QStringLiteral("DtCadastro"), QDate(2026, 1, 1));
            op.DefineParametro(QStringLiteral("TotalExames"), i % 3);
            op.Executa();
        }
        dados.PCommitDataBase();
        if (TDPacientes(dados).ContaPacientes() != 10000)
            return 1;
        std::printf("preparação: 10000 pacientes em %.1f s\n", t.elapsed() / 1000.0);
    }

    // The first start-up probes the 20 map modules in child processes (cold); the verdicts
    // are kept in the user's registry, so the five measured ones find them (warm).
    QList<double> tempos, processador;
    double fria = 0, friaProcessador = 0;
    for (int rodada = -1; rodada < 5; ++rodada) {
        QProcess filho;
        filho.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        QElapsedTimer t;
        t.start();
        filho.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--medir"), inst.Raiz()});
        filho.waitForReadyRead(120000);
        const double ms = t.nsecsElapsed() / 1e6;
        const QByteArray saida = filho.readAllStandardOutput().trimmed();
        filho.waitForFinished(30000);
        const QByteArray esperada = rodada < 0 ? "iniciado 20 20 " : "iniciado 20 0 ";
        if (!saida.startsWith(esperada)) {
            std::printf("a partida falhou (esperado \"%s\"): %s %s\n", esperada.constData(), saida.constData(),
                        filho.readAllStandardError().constData());
            return 1;
        }
        const double cpu = saida.mid(esperada.size()).toDouble();
        if (rodada < 0) {
            fria = ms;
            friaProcessador = cpu;
        } else {
            tempos << ms;
            processador << cpu;
        }
    }
    std::sort(tempos.begin(), tempos.end());
    std::sort(processador.begin(), processador.end());

    // The probe alone: files with a new modification time are unknown to the registry.
    for (const QString& mapa : mapas) {
        QFile f(mapa);
        if (!f.open(QIODevice::ReadWrite)
            || !f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime))
            return 1;
    }
    SondaModulo::DefinePrograma(QStringLiteral(ARQ_PROGRAMA));
    QElapsedTimer t;
    t.start();
    const QHash<QString, SondaModulo::Veredito> vereditos = SondaModulo::Vereditos(mapas);
    const double sondagem = t.nsecsElapsed() / 1e6;
    // And the same files once more, known: what a start-up spends recognising them.
    const double antes = TempoProcessador(RUSAGE_SELF);
    t.start();
    SondaModulo::Vereditos(mapas);
    const double reconhecimento = t.nsecsElapsed() / 1e6;
    const double reconhecimentoProcessador = TempoProcessador(RUSAGE_SELF) - antes;
    if (SondaModulo::SondasExecutadas() != 20
        || vereditos.keys(SondaModulo::Veredito::Bom).size() != 20) {
        std::printf("a sondagem dos módulos falhou\n");
        return 1;
    }

    std::printf("primeira partida, com a sondagem dos 20 módulos de mapa: %.0f ms (processador: %.0f ms)\n",
                fria, friaProcessador);
    std::printf("sondagem fria dos 20 módulos de mapa, sozinha: %.0f ms; os mesmos já conhecidos: %.0f ms "
                "(processador: %.0f ms)\n",
                sondagem, reconhecimento, reconhecimentoProcessador);
    std::printf("do início do processo até a partida completa, vereditos dos módulos conhecidos "
                "(20 mapas, 10000 pacientes): mediana %.0f ms, mínimo %.0f ms, máximo %.0f ms "
                "(meta < 1000 ms); processador: mediana %.0f ms\n",
                tempos[2], tempos[0], tempos[4], processador[2]);
    return 0;
}
