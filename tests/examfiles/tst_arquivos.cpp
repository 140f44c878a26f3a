// The writers of the examination and report files (bytes as stored), the slot collapse of
// the report boxes, the capitals of accented text, the numbers in either decimal form and
// the parsing of module text into exam matrices.

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "examfiles/UArquivosExame.h"
#include "platform/UMensagens.h"
#include "tests/examfiles/MatrizTeste.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTest>
#include <cstring>
#include <memory>

namespace {
// ".host.pid" that this process puts in its temporary names.
QString MarcaEstacao()
{
    QString host = QSysInfo::machineHostName();
    for (QChar& c : host)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-')
            c = u'-';
    return u'.' + host + u'.' + QString::number(QCoreApplication::applicationPid());
}


QByteArray Conteudo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

// The shared records of a fresh test installation.
bool PreparaRegistros(InstalacaoTeste& inst)
{
    if (!inst.Valida())
        return false;
    TBIniSettings ini;
    if (!ini.LoadAll(3))
        return false;
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    return true;
}

} // namespace

class TesteArquivos : public QObject {
    Q_OBJECT
    std::unique_ptr<InstalacaoTeste> m_inst;

private slots:
    void initTestCase()
    {
        m_inst = std::make_unique<InstalacaoTeste>();
        QVERIFY(PreparaRegistros(*m_inst));
    }
    void cleanupTestCase() { m_inst.reset(); }
    // Each case starts from empty examination and report roots.
    void init()
    {
        TBIniSettings ini;
        QVERIFY(ini.LoadAll(3));
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
        for (const QString& raiz : {PathsZR.Exames, PathsZR.Laudos}) {
            QVERIFY(QDir(raiz).removeRecursively());
            QVERIFY(QDir().mkpath(raiz));
        }
    }
    void valorMatriz_data();
    void valorMatriz();
    void valorMatrizComoPadrao();
    void arquivoD16Aneis();
    void arquivoM32Aneis();
    void numeroDeAneisInvalido();
    void arquivoA();
    void conjunto_data();
    void conjunto();
    void removeTemporarios();
    void laudo();
    void laudoNaoGravado_data();
    void laudoNaoGravado();
    void removeMarcadores_data();
    void removeMarcadores();
    void maiusculas_data();
    void maiusculas();
    void converteNumero_data();
    void converteNumero();
    void numeroInvalido_data();
    void numeroInvalido();
    void matrizTexto();
    void matrizTextoInvalida_data();
    void matrizTextoInvalida();
};

void TesteArquivos::valorMatriz_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("texto");
    QTest::newRow("43.5") << 43.5 << "43.50";
    QTest::newRow("7.25") << 7.25 << "07.25";
    QTest::newRow("-1.5") << -1.5 << "-01.50";
    QTest::newRow("123.456") << 123.456 << "123.46";
    QTest::newRow("zero") << 0.0 << "00.00";
    QTest::newRow("negativo que arredonda a zero") << -0.001 << "00.00";
    // Stored just below the half in binary; the decimal value is the half and goes up.
    QTest::newRow("1.005") << 1.005 << "01.01";
    QTest::newRow("2.675") << 2.675 << "02.68";
    QTest::newRow("99.995") << 99.995 << "100.00";
    QTest::newRow("-0.125") << -0.125 << "-00.13";
    QTest::newRow("12345.678") << 12345.678 << "12345.68";
    QTest::newRow("9.999") << 9.999 << "10.00";
}

void TesteArquivos::valorMatriz()
{
    QFETCH(double, valor);
    QFETCH(QString, texto);
    QCOMPARE(FormataValorMatriz(valor), texto);
}

// Second method: the general pattern formatter over many values, ties included.
void TesteArquivos::valorMatrizComoPadrao()
{
    QRandomGenerator gerador(20261209);
    for (int k = 0; k < 200000; ++k) {
        double v;
        switch (k % 4) {
        case 0: v = gerador.generateDouble() * 200.0 - 100.0; break;
        case 1: v = double(gerador.bounded(-100000, 100000)) / 1000.0; break; // many ties
        case 2: v = double(gerador.bounded(-20000, 20000)) / 200.0 + 0.005; break;
        default: v = gerador.generateDouble() * 2e6 - 1e6; break;
        }
        const QString esperado = FormataNumero(QStringLiteral("00.00"), v);
        if (FormataValorMatriz(v) != esperado)
            QFAIL(qPrintable(QStringLiteral("%1: %2 em vez de %3")
                                 .arg(QString::number(v, 'g', 17), FormataValorMatriz(v),
                                      esperado)));
    }
}

void TesteArquivos::arquivoD16Aneis()
{
    InfosZR.NumAneis = 16;
    QVERIFY(QDir().mkpath(PastaExamesPaciente(12)));

    auto d = MatrizTeste{};
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
            (*d)[i][j] = j + 0.5; // columns 17..32 must not appear
    const double primeira[] = {43.5, 7.25, -1.5, 123.456, 0.004};
    for (int j = 0; j < 5; ++j)
        (*d)[0][j] = primeira[j];
    GravaArquivoD(12, 57, *d);

    const QByteArray bytes = Conteudo(m_inst->Pastas().dados + QStringLiteral("/Exames/12/57d.txt"));
    const QByteArray linha1 = "43.50 07.25 -01.50 123.46 00.00 05.50 06.50 07.50 08.50 09.50 "
                              "10.50 11.50 12.50 13.50 14.50 15.50 16.50 \r\n";
    const QByteArray linha = "00.50 01.50 02.50 03.50 04.50 05.50 06.50 07.50 08.50 09.50 "
                             "10.50 11.50 12.50 13.50 14.50 15.50 16.50 \r\n";
    QCOMPARE(linha.size(), 104); // 17 values of six characters, then CR LF
    QCOMPARE(bytes, linha1 + linha.repeated(359));
}

void TesteArquivos::arquivoM32Aneis()
{
    InfosZR.NumAneis = 32;
    QVERIFY(QDir().mkpath(PastaExamesPaciente(3)));
    auto m = MatrizTeste{};
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
            (*m)[i][j] = 10.0 * j + 0.125; // x.125 -> x.13 (half away from zero)
    GravaArquivoM(3, 9, *m);
    QByteArray linha;
    for (int j = 0; j <= 32; ++j)
        linha += (j == 0 ? QByteArray("00") : QByteArray::number(10 * j)) + ".13 ";
    linha += "\r\n";
    QCOMPARE(Conteudo(m_inst->Pastas().dados + QStringLiteral("/Exames/3/9m.txt")),
             linha.repeated(360));
}

void TesteArquivos::numeroDeAneisInvalido()
{
    QVERIFY(QDir().mkpath(PastaExamesPaciente(4)));
    auto d = MatrizTeste{};
    std::memset(static_cast<void*>(d.get()), 0, sizeof(TMatrizAngAnel));
    for (int n : {33, -1}) {
        InfosZR.NumAneis = n;
        QVERIFY_THROWS_EXCEPTION(ErroSistema, GravaArquivoD(4, 1, *d));
        QVERIFY_THROWS_EXCEPTION(ErroSistema, GravaArquivoM(4, 1, *d));
    }
    QVERIFY(!QFile::exists(PrefixoExame(4, 1) + QStringLiteral("d.txt")));
    QVERIFY(!QFile::exists(PrefixoExame(4, 1) + QStringLiteral("m.txt")));

    // The writers do not create folders: a missing patient folder is an I/O error.
    InfosZR.NumAneis = 16;
    QVERIFY_THROWS_EXCEPTION(ErroES, GravaArquivoD(99, 1, *d));
}

void TesteArquivos::arquivoA()
{
    QVERIFY(QDir().mkpath(PastaExamesPaciente(12)));
    TAneisMeridiano aneis;
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        aneis[i] = (i * 7) % 17;
    const TDadosPupila pupila = {12, -3, 250, 0};
    GravaArquivoA(12, 57, aneis, 320.5, 239.49, pupila);

    QByteArray esperado = "321\r\n239\r\n@\r\n12\r\n-3\r\n250\r\n0\r\n";
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        esperado += QByteArray::number((i * 7) % 17) + "\r\n";
    QCOMPARE(Conteudo(m_inst->Pastas().dados + QStringLiteral("/Exames/12/57a.txt")), esperado);
    // Halves of the centre go away from zero.
    QVERIFY(ConteudoArquivoA(aneis, 318.5, 0.5, pupila).startsWith("319\r\n1\r\n@\r\n"));
}

// The three files are written as a set: after a failure at any step the earlier set (or
// nothing) is there, never a mix, and no temporary file is left.
void TesteArquivos::conjunto_data()
{
    QTest::addColumn<bool>("anterior");
    QTest::addColumn<QString>("falha"); // what is in the way
    QTest::newRow("novo") << false << "";
    QTest::newRow("substitui") << true << "";
    QTest::newRow("temporário de m impedido") << true << "57m.txt.zrtmp/x";
    QTest::newRow("temporário de a impedido, sem anterior") << false << "57a.txt.zrtmp/x";
    QTest::newRow("a.txt é uma pasta") << false << "57a.txt/x";
    QTest::newRow("pasta do paciente ausente") << false << "-";
}

void TesteArquivos::conjunto()
{
    QFETCH(bool, anterior);
    QFETCH(QString, falha);
    const QString pasta = PastaExamesPaciente(12);
    QVERIFY(QDir().mkpath(pasta));
    const QString prefixo = PrefixoExame(12, 57);
    const QStringList letras = {"d", "m", "a"};
    for (const QString& l : letras) {
        QFile f(prefixo + l + ".txt");
        if (anterior)
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("antigo " + l.toLatin1()) > 0);
    }
    if (falha == u"-")
        QVERIFY(QDir(pasta).removeRecursively());
    else if (!falha.isEmpty())
        QVERIFY(QDir().mkpath(CaminhoEm(pasta, QString(falha).replace(".zrtmp", MarcaEstacao() + ".zrtmp"))));

    bool falhou = false;
    try {
        GravaArquivosExame(prefixo, "novo d", "novo m", "novo a");
    } catch (const ErroES& e) {
        falhou = true;
        QVERIFY(e.Mensagem().contains(QStringLiteral("Não foi possível gravar")));
    }
    QCOMPARE(falhou, !falha.isEmpty());
    for (const QString& l : letras) {
        const QString arquivo = prefixo + l + ".txt";
        const QByteArray esperado = !falhou ? "novo " + l.toLatin1()
            : anterior                      ? "antigo " + l.toLatin1()
                                            : QByteArray("<ausente>");
        if (QFileInfo(arquivo).isDir())
            continue;
        QCOMPARE(Conteudo(arquivo), esperado);
    }
    if (QFileInfo(pasta).isDir())
        QCOMPARE(QDir(pasta).entryList({"*.zrtmp", "*.zrant"}, QDir::Files), QStringList());
}

// What an interrupted write left is removed from the root and the patient folders only.
void TesteArquivos::removeTemporarios()
{
    const QString raiz = PathsZR.Exames;
    // Marked leftovers: of this machine, removed once their process has ended; of another
    // workstation sharing the folder, kept while recent (it may be writing them now).
    const QString host = MarcaEstacao().section(u'.', 1, 1);
    const QString vivo = MarcaEstacao().section(u'.', 2, 2);
    const QStringList sobras = {"1/5d.txt.zrtmp", "1/5a.txt.zrant", "22/9m.txt.zrtmp",
                                "Central01d.txt.zrtmp", "1/8d.txt." + host + ".999999999.zrtmp"};
    const QStringList ficam = {"1/5d.txt", "1/5d.txt.bak", "22/9m.txt", "1/x/7d.txt.zrtmp",
                               "1/8m.txt." + host + "." + vivo + ".zrtmp", "1/8a.txt.outra-estacao.12.zrant"};
    for (const QString& nome : sobras + ficam) {
        QVERIFY(QDir().mkpath(QFileInfo(CaminhoEm(raiz, nome)).absolutePath()));
        QFile f(CaminhoEm(raiz, nome));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(RemoveTemporariosExame(raiz), int(sobras.size()));
    for (const QString& nome : sobras)
        QVERIFY2(!QFile::exists(CaminhoEm(raiz, nome)), qPrintable(nome));
    for (const QString& nome : ficam)
        QVERIFY2(QFile::exists(CaminhoEm(raiz, nome)), qPrintable(nome));
    QCOMPARE(RemoveTemporariosExame(CaminhoEm(raiz, QStringLiteral("nenhuma"))), 0);
}

void TesteArquivos::laudo()
{
    QVERIFY(QDir().mkpath(PastaLaudosPaciente(QStringLiteral("12"))));
    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    QVERIFY(GravaArquivoLaudo(QStringLiteral("12"), QStringLiteral("5"),
                              QStringLiteral("Exame sem midríase.\nPaciente colaborativo."),
                              QStringLiteral("revela #7# astigmatismo #3-leve#."),
                              QStringLiteral("Córnea #4#normal"), QString(),
                              QStringLiteral("Retorno em #2-um ano#.")));
    QCOMPARE(msgs.Registros().size(), 1);
    const auto& r = msgs.Registros().first();
    QCOMPARE(r.titulo, QStringLiteral("Informação"));
    QCOMPARE(r.texto, QStringLiteral("Laudo gravado com sucesso."));
    QCOMPARE(r.icone, IconeMensagem::Informacao);
    QCOMPARE(r.botoes, BotoesMensagem::Ok);

    const QByteArray esperado = "Exame sem midr\xED" "ase.\r\nPaciente colaborativo.\r\n@\r\n"
                                "revela  astigmatismo leve.\r\n@\r\n"
                                "C\xF3rnea normal\r\n@\r\n"
                                "\r\n@\r\n"
                                "Retorno em um ano.\r\n*";
    QCOMPARE(Conteudo(m_inst->Pastas().dados + QStringLiteral("/Laudos/12/5l.txt")), esperado);

    // Read back: each section's lines as the lines of its text, nothing added.
    const QStringList secoes = LeArquivoLaudo(QStringLiteral("12"), QStringLiteral("5"));
    QCOMPARE(secoes, (QStringList{"Exame sem midríase.\nPaciente colaborativo.",
                                  "revela  astigmatismo leve.", "Córnea normal", "",
                                  "Retorno em um ano."}));
    // A file cut short ends its section and leaves the later ones empty; the comments
    // also end at "@", and comments of blanks alone are empty.
    QCOMPARE(LeTextoLaudo({"a", "@", "b", "c"}), (QStringList{"a", "b\nc", "", "", ""}));
    QCOMPARE(LeTextoLaudo({"a", "@", "b", "@", "c", "@", "d", "@", "e", "@", "f"}),
             (QStringList{"a", "b", "c", "d", "e"}));
    QCOMPARE(LeTextoLaudo({"@", "@", "@", "@", "  ", " ", "*"}), (QStringList{"", "", "", "", ""}));
}

void TesteArquivos::laudoNaoGravado_data()
{
    QTest::addColumn<bool>("criaPasta");
    QTest::addColumn<bool>("ocupaNome");
    QTest::newRow("sem pasta do paciente") << false << false;
    // Something already stands under the file's name: it exists afterwards, yet nothing
    // was written, and that is no success.
    QTest::newRow("nome ocupado") << true << true;
}

void TesteArquivos::laudoNaoGravado()
{
    QFETCH(bool, criaPasta);
    QFETCH(bool, ocupaNome);
    const QString pasta = PastaLaudosPaciente(QStringLiteral("8"));
    if (criaPasta)
        QVERIFY(QDir().mkpath(pasta));
    if (ocupaNome)
        QVERIFY(QDir().mkpath(pasta + QStringLiteral("/2l.txt")));
    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    QVERIFY(!GravaArquivoLaudo(QStringLiteral("8"), QStringLiteral("2"), QStringLiteral("a"),
                               QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                               QStringLiteral("e")));
    QCOMPARE(msgs.Textos(), QStringList{QStringLiteral("Não foi possível gravar o arquivo de laudo.")});
    QCOMPARE(msgs.Registros().first().titulo, QStringLiteral("Informação"));
    QCOMPARE(msgs.Registros().first().icone, IconeMensagem::Informacao);
}

void TesteArquivos::removeMarcadores_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("exemplo") << "revela #7# astigmatismo #3-leve#." << "revela  astigmatismo leve.";
    QTest::newRow("dois dígitos") << "a#12#b" << "ab";
    QTest::newRow("vazio entre marcas") << "a##b" << "ab";
    QTest::newRow("só o primeiro traço") << "#5-leve-moderado#" << "leve-moderado";
    QTest::newRow("traço no fim") << "x#10-#y" << "xy";
    QTest::newRow("sem marcas") << "texto simples" << "texto simples";
    QTest::newRow("marca sem fecho") << "grau # 2" << "grau # 2";
    QTest::newRow("fecho depois de slot") << "#1#a #3-b# c #" << "a b c #";
    QTest::newRow("texto longo sem traço") << "ver #nota# aqui #4#" << "ver #nota# aqui ";
    QTest::newRow("quebra de linha dentro") << "#6-linha\numa#." << "linha\numa.";
    QTest::newRow("vazio") << "" << "";
}

void TesteArquivos::removeMarcadores()
{
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(RemoveMarcadores(texto), esperado);
}

void TesteArquivos::maiusculas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("acentuadas") << "áàãâäéèêëíìîïóòõôöúùüûç" << "ÁÀÃÂÄÉÈÊËÍÌÎÏÓÒÕÔÖÚÙÜÛÇ";
    QTest::newRow("nome") << "joão da conceição" << "JOÃO DA CONCEIÇÃO";
    QTest::newRow("já maiúsculas") << "ÁRVORE 12" << "ÁRVORE 12";
    QTest::newRow("fora da lista") << "ñýÿß%_ø" << "ñýÿß%_ø";
    QTest::newRow("ascii") << "abc xyz-09" << "ABC XYZ-09";
}

void TesteArquivos::maiusculas()
{
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(MaiusculasAcentuadas(texto), esperado);
}

void TesteArquivos::converteNumero_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("separador");
    QTest::addColumn<double>("valor");
    QTest::newRow("ponto com ponto") << "43.50" << "." << 43.5;
    QTest::newRow("vírgula com ponto") << "43,50" << "." << 43.5;
    QTest::newRow("ponto com vírgula") << "43.50" << "," << 43.5;
    QTest::newRow("vírgula com vírgula") << "43,50" << "," << 43.5;
    QTest::newRow("negativo") << "-01,50" << "." << -1.5;
    QTest::newRow("inteiro") << "320" << "." << 320.0;
    QTest::newRow("inteiro com vírgula") << "7" << "," << 7.0;
}

void TesteArquivos::converteNumero()
{
    QFETCH(QString, texto);
    QFETCH(QString, separador);
    QFETCH(double, valor);
    QCOMPARE(ConverteNumero(texto, separador[0]), valor);
}

void TesteArquivos::numeroInvalido_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("separador");
    QTest::newRow("letras") << "4x.5" << ".";
    QTest::newRow("duas vírgulas") << "1,2,3" << ".";
    QTest::newRow("dois pontos") << "1.2.3" << ".";
    QTest::newRow("ponto e vírgula") << "1.2,3" << ",";
    QTest::newRow("vazio") << "" << ".";
    QTest::newRow("20 MB") << QString(20'000'000, u'9') + u'x' << ".";
}

void TesteArquivos::numeroInvalido()
{
    QFETCH(QString, texto);
    QFETCH(QString, separador);
    try {
        ConverteNumero(texto, separador[0]);
        QFAIL("aceito");
    } catch (const ErroConversao& e) {
        // The value is quoted whole when short; a long one by its start and its length.
        QVERIFY2(e.Mensagem().size() < 100, qPrintable(e.Mensagem().left(200)));
        QVERIFY(e.Mensagem().contains(texto.left(40)));
        if (texto.size() > 40)
            QVERIFY(e.Mensagem().contains(QString::number(texto.size()) + " caracteres"));
    }
}

void TesteArquivos::matrizTexto()
{
    // Four blocks as an ortho-k module returns them: line 360(k-1) + i - 1 of the text is
    // meridian i of block k.
    QStringList texto;
    for (int k = 1; k <= 4; ++k)
        for (int i = 1; i <= ZR_MERIDIANOS; ++i)
            texto << QStringLiteral("%1.%2 %3,5 %4 ").arg(k).arg(i % 100, 2, 10, QChar(u'0')).arg(i).arg(k * 1000 + i);
    texto[360] = QStringLiteral("43.50 44.00 "); // block 2, meridian 1
    texto[361] = QStringLiteral("43.50 44.00");  // no trailing space
    texto[362] = QString();                      // empty line

    auto m = MatrizTeste{};
    for (int k = 1; k <= 4; ++k) {
        for (int i = 0; i < ZR_MERIDIANOS; ++i)
            for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
                (*m)[i][j] = -7; // whatever was there before
        LeMatrizTexto(texto, 360 * (k - 1), *m);
        for (int i = (k == 2 ? 3 : 0); i < ZR_MERIDIANOS; ++i) {
            QCOMPARE((*m)[i][0], k + ((i + 1) % 100) / 100.0);
            QCOMPARE((*m)[i][1], i + 1.5);
            QCOMPARE((*m)[i][2], double(k * 1000 + i + 1));
            QCOMPARE((*m)[i][3], 0.0);
            QCOMPARE((*m)[i][32], 0.0);
        }
    }
    LeMatrizTexto(texto, 360, *m);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE((*m)[i][0], 43.5);
        QCOMPARE((*m)[i][1], 44.0);
        QCOMPARE((*m)[i][2], 0.0);
    }
    for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
        QCOMPARE((*m)[2][j], 0.0);

    // A block that runs past the end of the text leaves its last meridians empty.
    LeMatrizTexto(texto, 1400, *m);
    QCOMPARE((*m)[0][2], 4321.0);
    QCOMPARE((*m)[39][2], 4360.0);
    QCOMPARE((*m)[40][0], 0.0);
    QCOMPARE((*m)[359][2], 0.0);
}

void TesteArquivos::matrizTextoInvalida_data()
{
    QTest::addColumn<QString>("linha");
    QTest::newRow("valor inválido") << "43.50 abc 44.00";
    QStringList muitos;
    for (int j = 0; j < 34; ++j)
        muitos << QStringLiteral("1.00");
    QTest::newRow("34 valores") << muitos.join(u' ');
}

void TesteArquivos::matrizTextoInvalida()
{
    QFETCH(QString, linha);
    QStringList texto(ZR_MERIDIANOS, QStringLiteral("40.00 41.00"));
    texto[17] = linha;
    auto m = MatrizTeste{};
    QVERIFY_THROWS_EXCEPTION(ErroConversao, LeMatrizTexto(texto, 0, *m));
    // 33 values are the width of a row and are accepted.
    QStringList cheio;
    for (int j = 0; j < 33; ++j)
        cheio << QString::number(j);
    texto[17] = cheio.join(u' ');
    LeMatrizTexto(texto, 0, *m);
    QCOMPARE((*m)[17][32], 32.0);
}

QTEST_GUILESS_MAIN(TesteArquivos)
#include "tst_arquivos.moc"
