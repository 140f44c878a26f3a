// One workstation of the tests of several workstations: a separate process with its own
// settings file (BANCODADOS on the test server, EXAMES in the shared folder, [SERVIDOR]
// credentials), using the program's own data module and examination storage.
//
//   zr_estacao_teste <settings> insere <n>   n patients, each with one examination (rows, three
//                                            data files, two images); prints "P code" and
//                                            "E code" lines
//   zr_estacao_teste <settings> trava <code> changes the patient's row without committing,
//                                            prints "travado" and holds the lock until its
//                                            input ends

#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UDPacientes.h"
#include "data/UOperacaoBD.h"
#include "navigator/UGravacaoExame.h"
#include "tests/support/UBitmapTeste.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    TBIniSettings ini;
    const QString arquivo = args[1];
    const auto le = [&](const char* secao, const char* chave) {
        return ini.ReadValue(arquivo, TipoValorIni::Str, QLatin1String(secao), QLatin1String(chave));
    };
    PathsZR.Exames = le("DIRETORIOS", "EXAMES");
    TDMPrincipal dm;
    dm.DefineCredenciais(le("SERVIDOR", "USUARIO"), le("SERVIDOR", "SENHA"));
    if (!dm.PSetDataBaseName(CaminhoEm(le("DIRETORIOS", "BANCODADOS"), QStringLiteral("DATABASE.GDB")))) {
        std::fprintf(stderr, "sem conexão: %s\n", qUtf8Printable(dm.CausaFalhaConexao()));
        return 1;
    }
    QTextStream saida(stdout);
    try {
        if (args[2] == QLatin1String("insere")) {
            const int n = args[3].toInt();
            GravacaoExame::Opcoes opcoes;
            CapturaExame::ResultadoNormal r;
            r.centroX = 320;
            r.centroY = 240;
            r.indice = 90;
            for (int k = 0; k < ZR_MERIDIANOS; ++k) {
                r.aneis[k] = opcoes.numAneis;
                for (int j = 0; j <= opcoes.numAneis; ++j) {
                    r.posicoes[k][j] = 12.0 * j;
                    r.dioptrias[k][j] = 43.0 + 0.01 * j;
                }
            }
            const QByteArray central = BitmapTeste(0), lateral = BitmapTeste(77);
            for (int i = 0; i < n; ++i) {
                TDadosPaciente p;
                p.Nome = QStringLiteral("Paciente %1 da estação %2").arg(i).arg(QCoreApplication::applicationPid());
                const int paciente = TDPacientes(dm).InserePaciente(p, QDate(2025, 3, 1), 0);
                saida << "P " << paciente << Qt::endl;
                GravacaoExame::Exame e;
                e.codPaciente = paciente;
                e.codMedico = 1;
                const auto res = GravacaoExame::GravaExame(dm, e, r, central, lateral, opcoes);
                for (const auto& g : res.exames)
                    saida << "E " << paciente << ' ' << g.codigo << Qt::endl;
            }
        } else if (args[2] == QLatin1String("trava")) {
            ConsultaBD& op = PreparaOperacao(
                dm, QStringLiteral("UPDATE PACIENTES SET PROFISSAO = 'ocupado' WHERE CODIGO = :Codigo"));
            op.DefineParametro(QStringLiteral("Codigo"), args[3].toInt());
            op.Executa();
            saida << "travado" << Qt::endl;
            std::string linha;
            while (std::getline(std::cin, linha)) {
            }
            dm.IBTransaction.Rollback();
        }
    } catch (const ErroSistema& e) {
        std::fprintf(stderr, "erro: %s\n", qUtf8Printable(e.Mensagem()));
        return 1;
    }
    return 0;
}
