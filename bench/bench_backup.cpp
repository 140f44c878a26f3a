// Backup benchmark on a fresh installation with the real backup module in automatic mode:
// 1,000 examinations (three data files each and their two images in the database) and 300
// reports. Reports the preparation of the lists, the copy of the files by the module, the
// database copy, the whole backup from the form, the restore, and the longest pause between
// two progress updates (preparation steps, database copy lines).
//
// bench_backup [exames laudos]   (defaults 1000 300)

#include "backup/UBackup.h"
#include "backup/UMidia.h"
#include "backup/UModuloBackup.h"
#include "backup/UfrmBackup.h"
#include "data/UDArquivos.h"
#include "tests/backup/UCenarioBackup.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRandomGenerator>

#include <cstdio>

namespace {

double Segundos(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

// Measures the longest gap between calls.
struct Pausas {
    QElapsedTimer t;
    qint64 maior = 0;
    void Inicia() { t.start(); maior = 0; }
    void Marca()
    {
        maior = qMax(maior, t.nsecsElapsed());
        t.restart();
    }
    double Ms() const { return double(maior) / 1e6; }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int nExames = argc > 2 ? atoi(argv[1]) : 1000;
    const int nLaudos = argc > 2 ? atoi(argv[2]) : 300;
    qputenv("ZR_MODULOS_AUTOMATICO", "1");

    CenarioBackup c;
    if (!c.Valido())
        return 1;
    QTemporaryDir midia;
    Backup::EscreveChaves(c.IniBackup(), {{"Destino", midia.path()}});
    PathsZR.ModuloBackup = QStringLiteral(ZR_MODULO_BACKUP);

    QElapsedTimer t;
    t.start();
    QByteArray imagem(30 * 1024, '\0');
    for (char& b : imagem)
        b = char(QRandomGenerator::global()->generate());
    const QByteArray dados = QByteArray("12.34 ").repeated(17 * 360 / 2);
    for (int i = 0; i < nExames; ++i) {
        const int e = c.Exame({});
        for (const char* s : {"a.txt", "d.txt", "m.txt"}) {
            QFile f(c.ArquivoExame(e, QString::fromLatin1(s)));
            f.open(QIODevice::WriteOnly);
            f.write(dados);
            f.write(QByteArray::number(e));
        }
        QBuffer central(&imagem), lateral(&imagem);
        central.open(QIODevice::ReadOnly);
        lateral.open(QIODevice::ReadOnly);
        TDArquivos(c.DM()).GravaImagens(e, central, lateral);
    }
    for (int i = 0; i < nLaudos; ++i)
        c.Laudo();
    std::printf("montagem: %d exames, %d laudos em %.1f s\n", nExames, nLaudos, Segundos(t));

    Pausas pausas;
    t.restart();
    pausas.Inicia();
    const Backup::Lista exames = Backup::PreparaExames(c.DM(), PathsZR.Exames, [&] { pausas.Marca(); });
    const Backup::Lista laudos = Backup::PreparaLaudos(c.DM(), PathsZR.Laudos);
    std::printf("preparação: %.2f s (maior pausa entre passos %.0f ms)\n", Segundos(t), pausas.Ms());

    t.restart();
    const Backup::ResultadoCriar r =
        Backup::ChamaCriarBackup(nullptr, exames.arquivos, laudos.arquivos, PathsZR.Exames, PathsZR.Laudos);
    std::printf("cópia dos arquivos pelo módulo: %.2f s (retorno %d, %lld arquivos)\n", Segundos(t), r.retorno,
                static_cast<long long>(exames.arquivos.size() + laudos.arquivos.size()));

    t.restart();
    Backup::GravaMarcas(c.DM(), Backup::Tabela::Exames, exames.codigos, r.marcasExames);
    Backup::GravaMarcas(c.DM(), Backup::Tabela::Laudos, laudos.codigos, r.marcasLaudos);
    std::printf("marcas: %.2f s\n", Segundos(t));
    t.restart();
    Backup::ZeraBackup(c.DM(), c.IniBackup());
    std::printf("zerar as marcas: %.2f s\n", Segundos(t));

    t.restart();
    pausas.Inicia();
    Backup::CopiaBanco(c.DM().NomeBanco(), midia.path(), c.IniBackup(), QString(), [&](const QString&) { pausas.Marca(); });
    std::printf("cópia do banco: %.2f s, %.1f MB (maior pausa entre linhas %.0f ms)\n", Segundos(t),
                double(QFileInfo(Backup::ArquivoCopiaBanco(midia.path())).size()) / (1024 * 1024), pausas.Ms());

    {
        TfrmBackup f;
        f.show();
        t.restart();
        f.btnINI->click();
        std::printf("backup completo pelo formulário: %.2f s (%s)\n", Segundos(t),
                    qPrintable(c.mensagens.Textos().value(0)));
    }
    c.mensagens.Limpa();
    {
        TfrmBackup f;
        f.show();
        c.mensagens.Responde(RespostaMensagem::Ok);
        t.restart();
        f.btnRES->click();
        std::printf("restauração: %.2f s (%s)\n", Segundos(t), qPrintable(c.mensagens.Textos().last()));
    }
    return 0;
}
