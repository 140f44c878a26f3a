// Several workstations on one Firebird server, for a while, at once: a real server (Debian's
// package, started here on a free port of 127.0.0.1) and 8 workstation processes, each
// registering patients, storing examinations (rows, three data files, two JPEG images) and
// deleting some of its own, with random pauses. At the end a consistency pass counts what
// every workstation reported against the database and the shared examination folder:
// codes, orphan rows and orphan files. Prints operations per second and the p50/p95
// latency of an examination storage.
//
//   bench_estacoes [estações [segundos [mata]]]   (defaults 8 60)
// "mata" kills one workstation with SIGKILL in the middle of its loop; the consistency
// pass then runs after the start-up clean-up of the program (leftover temporaries).

#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "data/UOperacaoBD.h"
#include "examfiles/UArquivosExame.h"
#include "navigator/UGravacaoExame.h"
#include "navigator/UNavegador.h"
#include "tests/support/UServidorTeste.h"
#include "tests/support/UBitmapTeste.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>

namespace {

const QString kSenha = QStringLiteral("senha-bench");

CapturaExame::ResultadoNormal Resultado(int numAneis)
{
    CapturaExame::ResultadoNormal r;
    r.centroX = 320;
    r.centroY = 240;
    r.indice = 90;
    for (int k = 0; k < ZR_MERIDIANOS; ++k) {
        r.aneis[k] = numAneis;
        for (int j = 0; j <= numAneis; ++j) {
            r.posicoes[k][j] = 12.0 * j;
            r.dioptrias[k][j] = 43.0 + 0.01 * j + 0.001 * k;
        }
    }
    return r;
}

// One workstation: prints "P code", "E patient code ms", "X patient code" (deleted) and
// "F message" (an operation refused) on its output, one line per operation.
int Estacao(const QString& banco, const QString& exames, int segundos)
{
    PathsZR.Exames = exames;
    TDMPrincipal dm;
    dm.DefineCredenciais(QStringLiteral("SYSDBA"), kSenha);
    if (!dm.PSetDataBaseName(banco)) {
        std::fprintf(stderr, "sem conexão: %s\n", qUtf8Printable(dm.CausaFalhaConexao()));
        return 1;
    }
    QRandomGenerator sorte(static_cast<quint32>(QCoreApplication::applicationPid()));
    const GravacaoExame::Opcoes opcoes;
    const auto r = Resultado(opcoes.numAneis);
    const QByteArray central = BitmapTeste(0), lateral = BitmapTeste(91);
    QList<int> pacientes;
    QList<QPair<int, int>> exames_;
    QElapsedTimer relogio;
    relogio.start();
    while (relogio.elapsed() < segundos * 1000LL) {
        const int sorteio = sorte.bounded(100);
        try {
            if (pacientes.isEmpty() || sorteio < 25) {
                TDadosPaciente p;
                p.Nome = QStringLiteral("Paciente %1-%2").arg(QCoreApplication::applicationPid()).arg(pacientes.size());
                const int codigo = TDPacientes(dm).InserePaciente(p, QDate(2025, 3, 1), 0);
                pacientes << codigo;
                std::printf("P %d\n", codigo);
            } else if (exames_.isEmpty() || sorteio < 85) {
                GravacaoExame::Exame e;
                e.codPaciente = pacientes[sorte.bounded(int(pacientes.size()))];
                e.codMedico = 1;
                QElapsedTimer t;
                t.start();
                const auto res = GravacaoExame::GravaExame(dm, e, r, central, lateral, opcoes);
                const double ms = double(t.nsecsElapsed()) / 1e6;
                exames_ << qMakePair(e.codPaciente, res.exames.first().codigo);
                std::printf("E %d %d %.3f\n", e.codPaciente, res.exames.first().codigo, ms);
            } else {
                const auto [paciente, codigo] = exames_.takeAt(sorte.bounded(int(exames_.size())));
                Navegador::ExameExclusao x;
                x.codigo = codigo;
                x.codPaciente = paciente;
                x.olho = QStringLiteral("OD");
                x.tipoExame = QStringLiteral("T");
                x.totalExames = TDPacientes(dm).TotalExamesPaciente(paciente);
                Navegador::ExcluiExame(dm, x);
                std::printf("X %d %d\n", paciente, codigo);
            }
        } catch (const ErroSistema& e) {
            std::printf("F %s\n", qUtf8Printable(QString(e.Mensagem()).replace(u'\n', u' ')));
        }
        std::fflush(stdout);
        QThread::msleep(sorte.bounded(20, 200));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--estacao"))
        return Estacao(args.value(2), args.value(3), args.value(4).toInt());

    const int numEstacoes = args.size() > 1 ? args[1].toInt() : 8;
    const int segundos = args.size() > 2 ? args[2].toInt() : 60;
    const bool mata = args.value(3) == QLatin1String("mata");
    ServidorTeste servidor(kSenha);
    const QString arquivo = servidor.Pasta() + QStringLiteral("/DATABASE.GDB");
    servidor.CriaBancoSistema();
    if (!servidor.Inicia()) {
        std::fprintf(stderr, "servidor: %s\n", qUtf8Printable(servidor.Erro()));
        return 1;
    }
    const QString banco = servidor.NomeRemoto(arquivo);
    const QString exames = servidor.Pasta() + QStringLiteral("/Exames");
    QDir().mkpath(exames);
    {
        TDMPrincipal dm;
        dm.DefineCredenciais(QStringLiteral("SYSDBA"), kSenha);
        if (!dm.PSetDataBaseName(banco))
            return 1;
        TDadosMedico m;
        m.Nome = QStringLiteral("Dr. Bench");
        TDMedicos(dm).InsereMedico(m);
    }

    std::printf("%d estações, %d s, servidor na porta %d%s\n", numEstacoes, segundos, servidor.Porta(),
                mata ? ", uma estação morta com SIGKILL no meio" : "");
    QList<QProcess*> estacoes;
    for (int k = 0; k < numEstacoes; ++k) {
        auto* p = new QProcess(&app);
        p->start(app.applicationFilePath(), {QStringLiteral("--estacao"), banco, exames, QString::number(segundos)});
        estacoes << p;
    }
    if (mata) {
        QThread::msleep(static_cast<unsigned long>(segundos) * 500);
        ::kill(static_cast<pid_t>(estacoes.first()->processId()), SIGKILL);
    }
    std::vector<double> latencias;
    QSet<int> pacientes, codigosExames;
    QSet<QPair<int, int>> vivos;
    int operacoes = 0, recusadas = 0, repetidos = 0, falhasEstacao = 0;
    QStringList motivos;
    for (QProcess* p : estacoes) {
        p->waitForFinished(-1);
        if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0)
            ++falhasEstacao;
        for (const QByteArray& linha : p->readAllStandardOutput().split('\n')) {
            const QList<QByteArray> c = linha.trimmed().split(' ');
            if (c.value(0) == "P") {
                repetidos += pacientes.contains(c.value(1).toInt());
                pacientes << c.value(1).toInt();
            } else if (c.value(0) == "E") {
                const int codigo = c.value(2).toInt();
                repetidos += codigosExames.contains(codigo);
                codigosExames << codigo;
                vivos << qMakePair(c.value(1).toInt(), codigo);
                latencias.push_back(c.value(3).toDouble());
            } else if (c.value(0) == "X") {
                vivos.remove(qMakePair(c.value(1).toInt(), c.value(2).toInt()));
            } else if (c.value(0) == "F") {
                ++recusadas;
                if (motivos.size() < 5)
                    motivos << QString::fromUtf8(linha.mid(2));
            } else {
                continue;
            }
            ++operacoes;
        }
    }
    // What a killed workstation left as temporaries goes as the program's start does.
    const int temporarios = RemoveTemporariosExame(exames);

    // Consistency: database rows against what the workstations reported and the files.
    TDMPrincipal dm;
    dm.DefineCredenciais(QStringLiteral("SYSDBA"), kSenha);
    if (!dm.PSetDataBaseName(banco))
        return 1;
    QSet<QPair<int, int>> linhas;
    ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT CODPACIENTE, CODIGO FROM EXAMES"));
    op.Abre();
    op.BuscaTodas();
    for (int i = 0; i < op.LinhasBuscadas(); ++i)
        linhas << qMakePair(op.CampoDaLinha(i, QStringLiteral("CODPACIENTE")).toInt(),
                            op.CampoDaLinha(i, QStringLiteral("CODIGO")).toInt());
    op.Fecha();
    auto conta = [&](const QString& sql) {
        ConsultaBD& c = PreparaOperacao(dm, sql);
        c.Abre();
        const int n = c.Inteiro(c.Colunas().value(0));
        c.Fecha();
        return n;
    };
    const int pacientesBanco = conta(QStringLiteral("SELECT COUNT(*) FROM PACIENTES"));
    const int imagensOrfas = conta(QStringLiteral(
        "SELECT COUNT(*) FROM ARQUIVOS A WHERE NOT EXISTS (SELECT 1 FROM EXAMES E WHERE E.CODIGO = A.CODIGO_EXAMES)"));
    const int semImagens = conta(QStringLiteral(
        "SELECT COUNT(*) FROM EXAMES E WHERE NOT EXISTS (SELECT 1 FROM ARQUIVOS A WHERE A.CODIGO_EXAMES = E.CODIGO)"));
    PathsZR.Exames = exames;
    int linhasSemArquivos = 0;
    for (const auto& [paciente, codigo] : std::as_const(linhas))
        for (const char* s : {"d.txt", "m.txt", "a.txt"})
            if (!QFileInfo::exists(PrefixoExame(paciente, codigo) + QLatin1String(s))) {
                ++linhasSemArquivos;
                break;
            }
    int arquivosSemLinha = 0;
    for (QDirIterator it(exames, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QFileInfo f(it.next());
        const int paciente = f.dir().dirName().toInt();
        const int codigo = f.fileName().left(f.fileName().size() - 5).toInt();
        if (!linhas.contains(qMakePair(paciente, codigo)))
            ++arquivosSemLinha;
    }
    // A killed workstation may have stored (or deleted) one examination it never reported.
    const int diferenca = int((linhas - vivos).size() + (vivos - linhas).size());

    std::sort(latencias.begin(), latencias.end());
    const auto quantil = [&](double q) {
        return latencias.empty() ? 0.0 : latencias[std::min(latencias.size() - 1, size_t(q * latencias.size()))];
    };
    std::printf("operações: %d (%.1f/s), recusadas: %d\n", operacoes, double(operacoes) / segundos, recusadas);
    for (const QString& m : motivos)
        std::printf("  recusa: %s\n", qUtf8Printable(m));
    std::printf("gravação de exame: %zu, p50 %.1f ms, p95 %.1f ms\n", latencias.size(), quantil(0.5), quantil(0.95));
    std::printf("pacientes: %d informados, %d no banco; exames: %d vivos informados, %d no banco\n",
                int(pacientes.size()), pacientesBanco, int(vivos.size()), int(linhas.size()));
    std::printf("temporários removidos: %d\n", temporarios);
    std::printf("ERRADOS: códigos repetidos %d, estações com falha %d, exames sem arquivos %d, arquivos sem exame %d, "
                "imagens sem exame %d, exames sem imagens %d, linhas diferentes do informado %d\n",
                repetidos, falhasEstacao - (mata ? 1 : 0), linhasSemArquivos, arquivosSemLinha, imagensOrfas,
                semImagens, diferenca);
    const bool ok = repetidos == 0 && falhasEstacao == (mata ? 1 : 0) && linhasSemArquivos == 0 && arquivosSemLinha == 0
                    && imagensOrfas == 0 && semImagens == 0 && (mata ? diferenca <= 1 : diferenca == 0)
                    && pacientesBanco >= int(pacientes.size());
    std::printf("%s\n", ok ? "consistente" : "INCONSISTENTE");
    return ok ? 0 : 1;
}
