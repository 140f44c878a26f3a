// The map dispatch rules without windows: which entry a single map gets, the wizard lines and
// minimum numbers of each multi-map module, the chosen lines checked and turned back into
// captions, the example lines and every header the modules receive.

#include "navigator/UMapasNavegador.h"

#include <QTest>

using namespace Navegador;

namespace {
// "OD T, OS O" -> examinations with consecutive times.
QList<ExameCandidato> Exames(const QString& descricao)
{
    QList<ExameCandidato> r;
    int i = 0;
    for (const QString& e : descricao.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList p = e.trimmed().split(QLatin1Char(' '));
        r << ExameCandidato{p[0] + QStringLiteral(" - 05/03/2004 14:0%1:00").arg(i++), p[1]};
    }
    return r;
}
} // namespace

class TesteRegrasMapas : public QObject {
    Q_OBJECT
private slots:
    void entrada_data();
    void entrada();
    void candidatos_data();
    void candidatos();
    void escolhidas_data();
    void escolhidas();
    void exemplos_data();
    void exemplos();
    void cabecalhos_data();
    void cabecalhos();
};

void TesteRegrasMapas::entrada_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<bool>("orto");
    QTest::addColumn<bool>("exemplos");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("exemplo");
    QTest::addColumn<int>("entrada");
    const int lente = int(EntradaMapa::Lente), aberr = int(EntradaMapa::Aberrometria),
              mapaOrto = int(EntradaMapa::ProcessaMapaOrto), exOrto = int(EntradaMapa::ExemploOrto),
              mapa = int(EntradaMapa::ProcessaMapa);
    QTest::newRow("axial orto, edição orto") << "Axial" << true << false << "O" << "" << mapaOrto;
    QTest::newRow("tangencialorto orto") << "TangencialOrto" << true << false << "O" << "" << mapaOrto;
    QTest::newRow("axial orto, edição normal") << "Axial" << false << false << "O" << "" << mapa;
    QTest::newRow("axial topografia") << "Axial" << true << false << "T" << "" << mapa;
    QTest::newRow("outro nome, orto") << "Refrativo" << true << false << "O" << "" << mapa;
    QTest::newRow("exemplo Orto02") << "Axial" << true << true << "" << "Orto02" << exOrto;
    QTest::newRow("exemplo Orto02 edição normal") << "Axial" << false << true << "" << "Orto02" << mapa;
    QTest::newRow("exemplo Central01") << "Axial" << true << true << "" << "Central01" << mapa;
    QTest::newRow("lente") << "AdaptaLC" << true << false << "O" << "" << lente;
    QTest::newRow("aberrometria") << "Aberrometria" << false << false << "T" << "" << aberr;
}

void TesteRegrasMapas::entrada()
{
    QFETCH(QString, modulo);
    QFETCH(bool, orto);
    QFETCH(bool, exemplos);
    QFETCH(QString, tipo);
    QFETCH(QString, exemplo);
    QFETCH(int, entrada);
    QCOMPARE(int(EscolheEntradaMapa(modulo, orto, exemplos, tipo, exemplo)), entrada);
}

void TesteRegrasMapas::candidatos_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QString>("exames");
    QTest::addColumn<QStringList>("letras"); // first character of each line offered
    QTest::addColumn<bool>("invalidos");
    QTest::addColumn<bool>("minimo");
    const QStringList nenhuma;
    QTest::newRow("duplo OD+OS") << "Duplo" << "OD T, OS T" << QStringList{"O", "O"} << false << true;
    QTest::newRow("duplo 2 OD") << "Duplo" << "OD T, OD T" << QStringList{"O", "O"} << false << false;
    QTest::newRow("duplo sem orto") << "Duplo" << "OD O, OS T, OD T" << QStringList{"O", "O"} << false << true;
    QTest::newRow("diferencial OD+OS") << "Diferencial" << "OD T, OS T" << QStringList{"T", "T"} << false << false;
    QTest::newRow("diferencial 2 OD") << "Diferencial" << "OD T, OD O" << QStringList{"T", "O"} << false << true;
    QTest::newRow("multimapas 3 OS") << "MultiMapas" << "OS T, OS O, OS T" << QStringList{"O", "O", "O"} << false
                                     << true;
    QTest::newRow("multimapas 2+2") << "MultiMapas" << "OD T, OD T, OS T, OS T"
                                    << QStringList{"O", "O", "O", "O"} << false << false;
    QTest::newRow("multiorto só orto") << "MultiOrto" << "OD O, OD T, OD O, OD O" << QStringList{"O", "O", "O"}
                                       << false << true;
    QTest::newRow("multiorto 2 orto") << "MultiOrto" << "OD O, OD T, OD T, OD O" << QStringList{"O", "O"}
                                      << false << false;
    QTest::newRow("outro nome, tipo inválido") << "Comparativo" << "OD T, OD X" << nenhuma << true << true;
    QTest::newRow("outro nome, tipos válidos") << "Comparativo" << "OD T, OD O" << nenhuma << false << true;
}

void TesteRegrasMapas::candidatos()
{
    QFETCH(QString, modulo);
    QFETCH(QString, exames);
    QFETCH(QStringList, letras);
    QFETCH(bool, invalidos);
    QFETCH(bool, minimo);
    const QList<ExameCandidato> lista = Exames(exames);
    const Candidatos c = CandidatosWizard(modulo, lista);
    QCOMPARE(c.invalidos, invalidos);
    QCOMPARE(c.linhas.size(), letras.size());
    QCOMPARE(c.direitos + c.esquerdos, letras.size());
    QCOMPARE(MinimoAtendido(modulo, c.direitos, c.esquerdos), minimo);
    for (int i = 0; i < c.linhas.size(); ++i) {
        const QString linha = c.linhas[i];
        QCOMPARE(linha.left(1), letras[i]);
        // Every line leads back to one of the captions it came from.
        const QString legenda = LegendaDaLinha(SemLetra(modulo, linha));
        QVERIFY2(std::any_of(lista.begin(), lista.end(), [&](const ExameCandidato& e) { return e.legenda == legenda; }),
                 qPrintable(linha));
        QVERIFY(linha.contains(legenda.startsWith(QStringLiteral("OD")) ? QStringLiteral("Olho Direito - 05/03/2004")
                                                                        : QStringLiteral("Olho Esquerdo - 05/03/2004")));
    }
}

void TesteRegrasMapas::escolhidas_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QStringList>("escolhidas");
    QTest::addColumn<int>("erro");
    const QString a = "Olho Direito - 05/03/2004 14:00:00", b = "Olho Direito - 05/03/2004 14:01:00",
                  c = "Olho Direito - 05/03/2004 14:02:00", d = "Olho Direito - 05/03/2004 14:03:00",
                  e = "Olho Direito - 05/03/2004 14:04:00";
    QTest::newRow("na ordem escolhida") << "MultiMapas" << QStringList{c, a} << int(ErroEscolha::Nenhum);
    QTest::newRow("desconhecida") << "MultiMapas" << QStringList{a, "Olho Direito - 01/01/1999 10:00:00"}
                                  << int(ErroEscolha::Desconhecida);
    QTest::newRow("malformada") << "MultiMapas" << QStringList{"lixo"} << int(ErroEscolha::Desconhecida);
    QTest::newRow("com letra") << "Diferencial" << QStringList{"O" + a} << int(ErroEscolha::Desconhecida);
    QTest::newRow("repetida") << "MultiMapas" << QStringList{a, b, a} << int(ErroEscolha::Repetida);
    QTest::newRow("multiorto 4") << "MultiOrto" << QStringList{a, b, c, d} << int(ErroEscolha::Nenhum);
    QTest::newRow("multiorto 5") << "MultiOrto" << QStringList{a, b, c, d, e} << int(ErroEscolha::Excesso);
    QTest::newRow("multimapas 5") << "MultiMapas" << QStringList{a, b, c, d, e} << int(ErroEscolha::Nenhum);
}

void TesteRegrasMapas::escolhidas()
{
    QFETCH(QString, modulo);
    QFETCH(QStringList, escolhidas);
    QFETCH(int, erro);
    const Candidatos c = CandidatosWizard(modulo, Exames("OD O, OD O, OD O, OD O, OD O"));
    QCOMPARE(int(ConfereEscolhidas(escolhidas, c.linhas, modulo)), erro);
}

void TesteRegrasMapas::exemplos_data()
{
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<QStringList>("itens");
    QTest::addColumn<QStringList>("linhas");
    QTest::addColumn<bool>("aceitos");
    const QStringList central = {"OD - Central01", "OD - Central02", "OD - Central03",
                                 "OD - Central04", "OS - Central05", "OS - Central06"};
    const QStringList orto = {"Orto01", "Orto02", "Orto03", "Orto04"};
    QTest::newRow("multimapas central")
        << "MultiMapas" << central
        << QStringList{"Olho Direito - 10/01/2001 00:00:00",  "Olho Direito - 12/01/2001 00:00:00",
                       "Olho Direito - 14/01/2001 00:00:00",  "Olho Direito - 16/01/2001 00:00:00",
                       "Olho Esquerdo - 18/01/2001 00:00:00", "Olho Esquerdo - 20/01/2001 00:00:00"}
        << true;
    QTest::newRow("diferencial central")
        << "Diferencial" << central.mid(3, 2)
        << QStringList{"TOlho Direito - 10/01/2001 00:00:00", "TOlho Esquerdo - 12/01/2001 00:00:00"} << true;
    QTest::newRow("multiorto orto")
        << "MultiOrto" << orto
        << QStringList{"OOlho Esquerdo - 10/01/2001 00:00:00", "OOlho Esquerdo - 12/01/2001 00:00:00",
                       "OOlho Esquerdo - 14/01/2001 00:00:00", "OOlho Esquerdo - 16/01/2001 00:00:00"}
        << true;
    QTest::newRow("multiorto normal")
        << "MultiOrto" << central.mid(0, 4)
        << QStringList{"TOlho Direito - 10/01/2001 00:00:00", "TOlho Direito - 12/01/2001 00:00:00",
                       "TOlho Direito - 14/01/2001 00:00:00", "TOlho Direito - 16/01/2001 00:00:00"}
        << false;
    QTest::newRow("multiorto 3 orto") << "MultiOrto" << orto.mid(0, 3)
                                      << QStringList{"OOlho Esquerdo - 10/01/2001 00:00:00",
                                                     "OOlho Esquerdo - 12/01/2001 00:00:00",
                                                     "OOlho Esquerdo - 14/01/2001 00:00:00"}
                                      << false;
}

void TesteRegrasMapas::exemplos()
{
    QFETCH(QString, modulo);
    QFETCH(QStringList, itens);
    QFETCH(QStringList, linhas);
    QFETCH(bool, aceitos);
    QCOMPARE(LinhasExemplo(modulo, itens), linhas);
    QCOMPARE(ExemplosAceitos(modulo, linhas), aceitos);
}

void TesteRegrasMapas::cabecalhos_data()
{
    QTest::addColumn<QStringList>("obtido");
    QTest::addColumn<QStringList>("esperado");
    DadosCabecalho d{"Ana Souza", 7, "12.345.678-9", "OS", QDate(2004, 3, 5), QTime(14, 7, 9), "Dra. Alice", 42, 87.5};
    QTest::newRow("simples 87.5") << CabecalhoMapa(d)
                                  << QStringList{"Ana Souza", "0007", "12.345.678-9", "Olho Esquerdo", "05/03/2004",
                                                 "14:07:09", "Dra. Alice", "0042", "88"};
    QTest::newRow("multi 87.5") << CabecalhoMapas(d)
                                << QStringList{"Ana Souza", "7", "12.345.678-9", "Olho Esquerdo", "05/03/2004",
                                               "14:07:09", "Dra. Alice", "87.5"};
    d.indConf = 86.5;
    d.olho = "OD";
    d.codExame = 0;
    QTest::newRow("simples 86.5, código 0") << CabecalhoMapa(d).mid(3)
                                            << QStringList{"Olho Direito", "05/03/2004", "14:07:09", "Dra. Alice",
                                                           "0000", "86"};
    d.indConf = 91.123456789;
    QTest::newRow("multi todas as casas") << CabecalhoMapas(d).mid(7) << QStringList{"91.123456789"};
    QTest::newRow("exemplo simples")
        << CabecalhoExemploMapa("Central01")
        << QStringList{"Central01", "00001", "xx.xxx.xxx-x", "Exemplo", "01/01/01", "00:00:00", "Médico Teste",
                       "9999", "100"};
    QTest::newRow("exemplo multi OS")
        << CabecalhoExemploMapas("OS - Central05", "Olho Esquerdo - 18/01/2001 00:00:00")
        << QStringList{"Exemplo", "00", "00", "Olho Esquerdo", " 18/01/2001", "00:00:00", "Dr. Tremond", "100"};
    QTest::newRow("exemplo multi OD") << CabecalhoExemploMapas("OD - Central01", "Olho Direito - 10/01/2001 00:00:00")
                                             .mid(3, 2)
                                      << QStringList{"Olho Direito", " 10/01/2001"};
}

void TesteRegrasMapas::cabecalhos()
{
    QFETCH(QStringList, obtido);
    QFETCH(QStringList, esperado);
    QCOMPARE(obtido, esperado);
}

QTEST_GUILESS_MAIN(TesteRegrasMapas)
#include "tst_regrasmapas.moc"
