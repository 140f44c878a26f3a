// Keratoconus screening on the installation's example examinations, captured and processed
// by the instrument's modules: every normal and regular-astigmatism example reads "normal",
// every central and peripheral keratoconus example "suspeito" or "ceratocone".

#include "examfiles/UBMapOperation.h"
#include "plugins/instalacao/UInstalaInstrumento.h"
#include "tests/support/UInstalacaoTeste.h"
#include "topography/UIndicesCeratocone.h"

#include <QMap>
#include <QTest>

class TesteTriagem : public QObject {
    Q_OBJECT
private slots:
    void exemplos();
};

void TesteTriagem::exemplos()
{
    InstalacaoTeste instalacao;
    QVERIFY(instalacao.Valida());
    const double fator = 0.02;
    QMap<QString, QMap<LeituraIndice, int>> tabela; // class -> reading -> count
    QStringList erros;
    for (const auto& e : InstalaInstrumento::Exemplos()) {
        const QString classe = e.nome.left(e.nome.size() - 2);
        if (classe == QLatin1String("Orto"))
            continue;
        TBMapOperation exame;
        QVERIFY(exame.CarregaExame(instalacao.Pastas().dados + QStringLiteral("/Exemplos/") + e.nome));
        const TIndicesCeratocone ind =
            CalculaIndicesCeratocone(exame.Posicoes(), exame.AneisPorMeridiano(), exame.Dioptrias(), fator);
        ++tabela[classe][ind.leitura];
        const bool cone = classe.startsWith(QLatin1String("Central")) || classe.startsWith(QLatin1String("Perif"));
        const bool esperado = classe == QLatin1String("Irregular") ||
            (cone ? ind.leitura == LeituraIndice::Suspeito || ind.leitura == LeituraIndice::Ceratocone
                  : ind.leitura == LeituraIndice::Normal);
        qInfo("%s", qPrintable(e.nome + QStringLiteral(": ") + ind.Linhas().join(QStringLiteral(" | "))));
        if (!esperado)
            erros << e.nome + QStringLiteral(": ") + ind.Linhas().join(QStringLiteral(" | "));
    }
    // The confusion table, for the record.
    for (auto c = tabela.cbegin(); c != tabela.cend(); ++c)
        qInfo("%-12s normal %d  suspeito %d  ceratocone %d", qPrintable(c.key()),
              c->value(LeituraIndice::Normal), c->value(LeituraIndice::Suspeito),
              c->value(LeituraIndice::Ceratocone));
    QVERIFY2(erros.isEmpty(), qPrintable(erros.join(u'\n')));
}

QTEST_MAIN(TesteTriagem)
#include "tst_triagem.moc"
