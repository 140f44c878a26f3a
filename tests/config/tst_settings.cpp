// The settings file: reading rules, single-key writes that keep the rest of the file, the
// loads with their fallbacks and messages, and the start-up fill of the shared records.

#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "config/UArquivoIni.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "platform/UMensagens.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Conteudo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
}

const QString kSemValor; // null: remove the key

} // namespace

class TesteSettings : public QObject {
    Q_OBJECT
private slots:
    void arquivoPorModelo();
    void leituraPorTipo_data();
    void leituraPorTipo();
    void escritaMantemResto();
    void escritaPorTipo();
    void escritaSomenteLeituraNaoTrunca();
    void cargaCompletaDaInstalacao();
    void pastasRelativas_data();
    void pastasRelativas();
    void instalacaoCopiada();
    void recursos_data();
    void recursos();
    void brilhoContrasteObrigatorios_data();
    void brilhoContrasteObrigatorios();
    void getterConverteACadaChamada();
    void cargasParciais();
    void escritaReleDicas();
    void arquivoAusenteFalhaACarga();
    void doisProgramasNaoPerdemChaves();
};

void TesteSettings::arquivoPorModelo()
{
    QTemporaryDir pasta;
    TBIniSettings::DefinePastaConfiguracao(pasta.path());
    TBIniSettings ini;
    const int modelos[] = {0, 1, 2, 3, 4, -1};
    const char* nomes[] = {"ZR100.ini", "ZR100.ini", "ZR300.ini", "ZR300.ini", "", ""};
    for (int i = 0; i < 6; ++i) {
        ini.SelectFile(modelos[i]);
        QCOMPARE(ini.FileName(), *nomes[i] ? pasta.path() + u'/' + QLatin1String(nomes[i]) : QString());
    }
    TBIniSettings::DefinePastaConfiguracao(QString());
}

void TesteSettings::leituraPorTipo_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("chave");
    QTest::addColumn<QString>("esperado");
    const int str = int(TipoValorIni::Str), b = int(TipoValorIni::Bool), n = int(TipoValorIni::Int);
    QTest::newRow("texto") << str << "Texto" << "com espaço";
    QTest::newRow("texto sem diferenciar caixa") << str << "TEXTO" << "com espaço";
    QTest::newRow("texto entre aspas") << str << "Aspas" << "a=b";
    QTest::newRow("texto ausente") << str << "Versao" << "Erro no parâmetro: Zr ->  Versao";
    QTest::newRow("primeira ocorrencia vale") << str << "Dupla" << "primeira";
    QTest::newRow("bool ausente") << b << "Ausente" << "True";
    QTest::newRow("bool zero") << b << "Zero" << "False";
    QTest::newRow("bool hexa zero") << b << "HexaZero" << "False";
    QTest::newRow("bool cinco") << b << "Cinco" << "True";
    QTest::newRow("bool palavra True") << b << "PalavraTrue" << "True";
    QTest::newRow("bool palavra False") << b << "PalavraFalse" << "True";
    QTest::newRow("int hexa") << n << "Hexa" << "16";
    QTest::newRow("int palavra") << n << "PalavraTrue" << "1";
    QTest::newRow("int ausente") << n << "Ausente" << "1";
    QTest::newRow("int negativo") << n << "Negativo" << "-3";
    QTest::newRow("outro tipo") << int(TipoValorIni::Outro) << "Texto" << "";
}

void TesteSettings::leituraPorTipo()
{
    QFETCH(int, tipo);
    QFETCH(QString, chave);
    QFETCH(QString, esperado);
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("teste.ini"));
    GravaArquivoTexto(arquivo, {"; comentário", "[Outra]", "Texto=de outra seção", "[zr]",
                                "texto = com espaço ", "Aspas=\"a=b\"", "Dupla=primeira",
                                "Dupla=segunda", "Zero=0", "HexaZero=0x0", "Cinco=5",
                                "PalavraTrue=True", "PalavraFalse=False", "Hexa=0x10",
                                "Negativo=-3", "[ZR]", "Versao=da segunda seção"});
    TBIniSettings ini;
    QCOMPARE(ini.ReadValue(arquivo, TipoValorIni(tipo), QStringLiteral("Zr"), chave), esperado);
}

void TesteSettings::escritaMantemResto()
{
    QTemporaryDir pasta;
    TBIniSettings::DefinePastaConfiguracao(pasta.path());
    const QString arquivo = pasta.filePath(QStringLiteral("ZR300.ini"));
    GravaArquivoTexto(arquivo, {"; configuração", "[CLINICA]", "NOME=Antiga", "MEDICOATIVO=1",
                                "", "[OPCOES]", "; opções", "DICAS=1", "", "[MAPA]",
                                "EXIBEGRADE=1"});
    TBIniSettings ini;
    ini.SelectFile(3);
    ini.WriteValue(TipoValorIni::Str, QStringLiteral("clinica"), QStringLiteral("medicoativo"),
                   false, QStringLiteral("José D'Ávila"));
    ini.WriteValue(TipoValorIni::Str, QStringLiteral("CLINICA"), QStringLiteral("TELEFONE"),
                   false, QStringLiteral("(11) 5555-0000"));
    ini.WriteValue(TipoValorIni::Bool, QStringLiteral("BACKUP"), QStringLiteral("AUTO"), true,
                   QString());
    QCOMPARE(Conteudo(arquivo),
             ParaCp1252(QStringLiteral(
                 "; configuração\r\n[CLINICA]\r\nNOME=Antiga\r\nmedicoativo=José D'Ávila\r\n"
                 "TELEFONE=(11) 5555-0000\r\n\r\n[OPCOES]\r\n; opções\r\nDICAS=1\r\n\r\n"
                 "[MAPA]\r\nEXIBEGRADE=1\r\n\r\n[BACKUP]\r\nAUTO=1\r\n")));
    QCOMPARE(ini.ReadValue(arquivo, TipoValorIni::Str, QStringLiteral("CLINICA"),
                           QStringLiteral("MEDICOATIVO")),
             QStringLiteral("José D'Ávila"));
    TBIniSettings::DefinePastaConfiguracao(QString());
}

void TesteSettings::escritaPorTipo()
{
    QTemporaryDir pasta;
    TBIniSettings::DefinePastaConfiguracao(pasta.path());
    const QString arquivo = pasta.filePath(QStringLiteral("ZR300.ini"));
    GravaArquivoTexto(arquivo, {"[OPCOES]", "AUTOEXAME=1", "TVLCENTRAL=20"});
    TBIniSettings ini;
    ini.SelectFile(3);
    ini.WriteValue(TipoValorIni::Bool, QStringLiteral("OPCOES"), QStringLiteral("AUTOEXAME"), false,
                   QStringLiteral("ignorado"));
    QCOMPARE(ini.ReadValue(arquivo, TipoValorIni::Str, QStringLiteral("OPCOES"),
                           QStringLiteral("AUTOEXAME")),
             QStringLiteral("0"));
    const QByteArray antes = Conteudo(arquivo);
    ini.WriteValue(TipoValorIni::Int, QStringLiteral("OPCOES"), QStringLiteral("TVLCENTRAL"), false,
                   QStringLiteral("99"));
    ini.WriteValue(TipoValorIni::Outro, QStringLiteral("OPCOES"), QStringLiteral("NOVA"), true,
                   QStringLiteral("99"));
    QCOMPARE(Conteudo(arquivo), antes);
    TBIniSettings::DefinePastaConfiguracao(QString());
}

void TesteSettings::escritaSomenteLeituraNaoTrunca()
{
    QTemporaryDir pasta;
    TBIniSettings::DefinePastaConfiguracao(pasta.path());
    const QString arquivo = pasta.filePath(QStringLiteral("ZR300.ini"));
    GravaArquivoTexto(arquivo, {"[CLINICA]", "NOME=Clínica"});
    const QByteArray antes = Conteudo(arquivo);
    QFile::setPermissions(arquivo, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    TBIniSettings ini;
    ini.SelectFile(3);
    QVERIFY_THROWS_EXCEPTION(ErroES, ini.WriteValue(TipoValorIni::Str, QStringLiteral("CLINICA"),
                                                    QStringLiteral("NOME"), false,
                                                    QStringLiteral("Outra")));
    QCOMPARE(Conteudo(arquivo), antes);
    QFile::setPermissions(arquivo, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    TBIniSettings::DefinePastaConfiguracao(QString());
}

void TesteSettings::cargaCompletaDaInstalacao()
{
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(inst.Valida());
    MensagensRoteiro msgs;
    TBIniSettings ini;
    QVERIFY(ini.LoadAll(3));
    TInfosZR infos;
    TPathsZR paths;
    PreencheRegistrosZR(ini, infos, paths);
    QVERIFY2(msgs.Registros().isEmpty(), qPrintable(msgs.Textos().join(u'\n')));

    QCOMPARE(infos.Modelo, uint8_t(3));
    QCOMPARE(infos.NumAneis, 16);
    QCOMPARE(ini.ReadValue(ini.FileName(), TipoValorIni::Str, QStringLiteral("ZR"),
                           QStringLiteral("TIPO")),
             QStringLiteral("3"));
    QCOMPARE(infos.FatorCorrecao, 0.02);
    QCOMPARE(infos.IncMap, 0.5);
    QCOMPARE(infos.IndiceConf, 70.0);
    QCOMPARE(infos.QualidadeImagem, 90);
    QCOMPARE(infos.Brilho, 128);
    QVERIFY(infos.AutoAneis && infos.AutoExame && infos.AutoMiniMapa && !infos.AutoIncMap);
    QVERIFY(infos.ExibeGrade && !infos.EscalaISO && !infos.ExibeCeratPontual);
    QCOMPARE(infos.CorCeratPontual, QStringLiteral("Preta"));
    QCOMPARE(infos.TipoCalibrador, uint8_t(1));
    QCOMPARE(paths.DirZR, inst.Pastas().dados);
    QCOMPARE(paths.BancoDados, inst.Pastas().dados + QStringLiteral("/Banco de Dados"));
    QCOMPARE(paths.Calibracao, inst.Pastas().dados + QStringLiteral("/Calibração/"));
    QCOMPARE(paths.DirMapas, inst.Pastas().mapas);
    QCOMPARE(paths.Processamento, inst.Pastas().modulos + QStringLiteral("/Processamento.so"));
    QCOMPARE(paths.ModuloBackup, inst.Pastas().modulos + QStringLiteral("/Backup.so"));
}

void TesteSettings::pastasRelativas_data()
{
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("esperado"); // <bin>: the program's folder, <raiz>: the one above
    QTest::newRow("relativa") << "../dados" << "<raiz>/dados";
    QTest::newRow("relativa com espaço") << "../dados/Banco de Dados" << "<raiz>/dados/Banco de Dados";
    QTest::newRow("ao lado") << "ajuda" << "<bin>/ajuda";
    QTest::newRow("arquivo") << "../modulos/Backup.so" << "<raiz>/modulos/Backup.so";
    QTest::newRow("absoluta") << "/srv/zr/dados" << "/srv/zr/dados";
    QTest::newRow("servidor") << "servidor:/srv/zr/Banco de Dados" << "servidor:/srv/zr/Banco de Dados";
    QTest::newRow("vazia") << "" << "";
}

// A relative folder of the settings file starts at the program's folder; others are kept.
void TesteSettings::pastasRelativas()
{
    QFETCH(QString, valor);
    QFETCH(QString, esperado);
    QTemporaryDir pasta;
    const QString bin = pasta.path() + QStringLiteral("/inst/bin");
    TBIniSettings::DefinePastaConfiguracao(bin);
    esperado.replace(QStringLiteral("<bin>"), bin).replace(QStringLiteral("<raiz>"), pasta.path() + QStringLiteral("/inst"));
    QCOMPARE(CaminhoDaConfiguracao(valor), esperado);
    TBIniSettings::DefinePastaConfiguracao(QString());
}

// A copied installation uses its own database, examinations and modules.
void TesteSettings::instalacaoCopiada()
{
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(inst.Valida());
    QTemporaryDir copia;
    const QString bin = copia.path() + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::copy(inst.Pastas().bin + QStringLiteral("/ZR300.ini"), bin + QStringLiteral("/ZR300.ini")));
    TBIniSettings::DefinePastaConfiguracao(bin);
    MensagensRoteiro msgs;
    TBIniSettings ini;
    QVERIFY(ini.LoadAll(3));
    TInfosZR infos;
    TPathsZR paths;
    PreencheRegistrosZR(ini, infos, paths);
    const QString raiz = QDir(copia.path()).canonicalPath();
    for (const QString& caminho : {paths.DirZR, paths.BancoDados, paths.Exames, paths.Exemplos, paths.Laudos,
                                   paths.Calibracao, paths.DirMapas, paths.Digitalizacao, paths.Processamento,
                                   paths.ModuloBackup})
        QVERIFY2(caminho.startsWith(copia.path() + u'/') || caminho.startsWith(raiz + u'/'), qPrintable(caminho));
    QCOMPARE(paths.BancoDados, copia.path() + QStringLiteral("/dados/Banco de Dados"));
    TBIniSettings::DefinePastaConfiguracao(inst.Pastas().bin);
}

void TesteSettings::recursos_data()
{
    QTest::addColumn<QString>("chave");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("mensagem");
    QTest::addColumn<QString>("resultado");
    const QString qualidade = "Erro ao carregar padrão de qualidade da imagem! O valor 50% será definido.";
    QTest::newRow("qualidade ausente") << "QualidadeImagem" << kSemValor << qualidade << "50";
    QTest::newRow("qualidade palavra") << "QualidadeImagem" << "alta" << qualidade << "50";
    QTest::newRow("incremento palavra") << "TINCREMENTO" << "x"
        << "Erro ao carregar valor do incremento da tolerância de varredura! O valor 2 será definido." << "2";
    QTest::newRow("atraso palavra") << "DELAYAUTOPCAPTURA" << "meio segundo"
        << "Erro ao carregar delay de captura! O valor 500 ms será definido." << "500";
    QTest::newRow("calibrador palavra") << "TIPOCALIBRADOR" << "A"
        << "Erro ao carregar tipo de calibrador! O valor 1 será definido." << "1";
    QTest::newRow("calibrador hexa") << "TIPOCALIBRADOR" << "0x102" << "" << "258";
    QTest::newRow("grade 2") << "EXIBEGRADE" << "2" << "" << "false";
    QTest::newRow("grade palavra") << "EXIBEGRADE" << "sim"
        << "Erro ao carregar exibição da grade! O valor'True'será definido." << "true";
    QTest::newRow("escala palavra") << "ESCALAISO" << "True"
        << "Erro ao carregar escala ISO! O valor'True'será definido." << "true";
    QTest::newRow("escala 0") << "ESCALAISO" << "0" << "" << "false";
    QTest::newRow("ceratometria palavra") << "EXIBECERATOMETRIAPONTUAL" << "sim"
        << "Erro ao carregar exibição da ceratometria pontual! O valor'False'será definido." << "false";
    QTest::newRow("ceratometria 1") << "EXIBECERATOMETRIAPONTUAL" << "1" << "" << "true";
    QTest::newRow("cor ausente") << "CORCERATOMETRIAPONTUAL" << kSemValor << "" << "Preta";
    QTest::newRow("cor de 8") << "CORCERATOMETRIAPONTUAL" << "Vermelha" << "" << "Vermelha";
    QTest::newRow("cor de 9") << "CORCERATOMETRIAPONTUAL" << "Vermelhas" << "" << "Preta";
    QTest::newRow("dicas ausente") << "DICAS" << kSemValor << "" << "true";
    QTest::newRow("dicas 0") << "DICAS" << "0" << "" << "false";
    QTest::newRow("dicas palavra True") << "DICAS" << "True" << "" << "true";
    QTest::newRow("tvl hexa") << "TVLCENTRAL" << "0x10" << "" << "16";
    QTest::newRow("tvl palavra") << "TVLCENTRAL" << "vinte" << "" << "1";
    QTest::newRow("autoincmap so 1") << "AUTOINCMAP" << "2" << "" << "false";
    QTest::newRow("autoaneis so 0 desliga") << "AUTOANEIS" << "00" << "" << "true";
    QTest::newRow("opt1 ausente") << "OPT1" << kSemValor << "" << "false";
}

void TesteSettings::recursos()
{
    QFETCH(QString, chave);
    QFETCH(QString, valor);
    QFETCH(QString, mensagem);
    QFETCH(QString, resultado);
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(inst.AlteraChave(chave, valor));
    MensagensRoteiro msgs;
    if (!mensagem.isEmpty())
        msgs.Responde(RespostaMensagem::Ok);
    TBIniSettings ini;
    QVERIFY(ini.LoadAll(3));
    TInfosZR infos;
    TPathsZR paths;
    PreencheRegistrosZR(ini, infos, paths);

    QCOMPARE(msgs.Textos(), mensagem.isEmpty() ? QStringList() : QStringList{mensagem});
    QVERIFY(msgs.Inesperadas().isEmpty());
    if (!mensagem.isEmpty()) {
        QCOMPARE(msgs.Registros()[0].titulo, QStringLiteral("ERRO"));
        QCOMPARE(msgs.Registros()[0].icone, IconeMensagem::Nenhum);
        QCOMPARE(msgs.Registros()[0].botoes, BotoesMensagem::Ok);
    }
    const QString b = QStringLiteral("true"), f = QStringLiteral("false");
    QString obtido;
    if (chave == "QualidadeImagem") obtido = QString::number(infos.QualidadeImagem);
    else if (chave == "TINCREMENTO") obtido = QString::number(infos.TIncremento);
    else if (chave == "DELAYAUTOPCAPTURA") obtido = QString::number(infos.DelayAutoPCaptura);
    else if (chave == "TIPOCALIBRADOR") obtido = QString::number(ini.TipoCalibrador());
    else if (chave == "EXIBEGRADE") obtido = infos.ExibeGrade ? b : f;
    else if (chave == "ESCALAISO") obtido = infos.EscalaISO ? b : f;
    else if (chave == "EXIBECERATOMETRIAPONTUAL") obtido = infos.ExibeCeratPontual ? b : f;
    else if (chave == "CORCERATOMETRIAPONTUAL") obtido = infos.CorCeratPontual;
    else if (chave == "DICAS") obtido = ini.Dicas() ? b : f;
    else if (chave == "TVLCENTRAL") obtido = QString::number(infos.TvlCentral);
    else if (chave == "AUTOINCMAP") obtido = infos.AutoIncMap ? b : f;
    else if (chave == "AUTOANEIS") obtido = infos.AutoAneis ? b : f;
    else if (chave == "OPT1") obtido = infos.Opt1 ? b : f;
    QCOMPARE(obtido, resultado);
    if (chave == "TIPOCALIBRADOR" && valor == "0x102")
        QCOMPARE(infos.TipoCalibrador, uint8_t(2)); // low 8 bits only
}

void TesteSettings::brilhoContrasteObrigatorios_data()
{
    QTest::addColumn<QString>("chave");
    QTest::addColumn<QString>("valor");
    QTest::newRow("brilho palavra") << "BRILHO" << "claro";
    QTest::newRow("contraste ausente") << "CONTRASTE" << kSemValor;
}

void TesteSettings::brilhoContrasteObrigatorios()
{
    QFETCH(QString, chave);
    QFETCH(QString, valor);
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(inst.AlteraChave(chave, valor));
    MensagensRoteiro msgs;
    TBIniSettings ini;
    QVERIFY_THROWS_EXCEPTION(ErroConversao, ini.LoadAll(3));
    QVERIFY_THROWS_EXCEPTION(ErroConversao, ini.LoadCamera(3));
    QVERIFY(msgs.Registros().isEmpty());
}

void TesteSettings::getterConverteACadaChamada()
{
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(inst.AlteraChave(QStringLiteral("FatorCorrecao"), QStringLiteral("0,02")));
    QVERIFY(inst.AlteraChave(QStringLiteral("Tipo"), kSemValor));
    TBIniSettings ini;
    QVERIFY(ini.LoadAll(3)); // numeric keys without fallback fail only in their getters
    QVERIFY_THROWS_EXCEPTION(ErroConversao, ini.Tipo());
    QVERIFY_THROWS_EXCEPTION(ErroConversao, ini.FatorCorrecao());
    TInfosZR infos;
    TPathsZR paths;
    QVERIFY_THROWS_EXCEPTION(ErroConversao, PreencheRegistrosZR(ini, infos, paths));

    // The fill wrote "TIPO" before it failed; keys match without regard to case.
    QVERIFY(inst.AlteraChave(QStringLiteral("FatorCorrecao"), QStringLiteral("0.025")));
    QVERIFY(ini.LoadAll(3));
    QCOMPARE(ini.Tipo(), 3);
    PreencheRegistrosZR(ini, infos, paths);
    QCOMPARE(infos.FatorCorrecao, 0.025);
}

void TesteSettings::cargasParciais()
{
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    TBIniSettings camera;
    QVERIFY(camera.LoadCamera(3));
    QCOMPARE(camera.Brilho(), 128);
    QCOMPARE(camera.TipoCalibrador(), 1);
    QVERIFY(camera.Versao().isEmpty());
    QVERIFY(camera.ClinicaNome().isNull());

    TBIniSettings opcoes;
    QVERIFY(opcoes.LoadOptions(3));
    QCOMPARE(opcoes.IncMap(), 0.5);
    QCOMPARE(opcoes.CorCeratPontual(), QStringLiteral("Preta"));
    QVERIFY(opcoes.Texto(ChaveIni::Brilho).isNull());
    QVERIFY(opcoes.Texto(ChaveIni::DirZR).isNull());
}

void TesteSettings::escritaReleDicas()
{
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    TBIniSettings ini;
    QVERIFY(ini.LoadAll(3));
    QVERIFY(ini.Dicas());
    QVERIFY(inst.AlteraChave(QStringLiteral("DICAS"), QStringLiteral("0")));
    QVERIFY(ini.Dicas()); // kept text until the next read
    ini.WriteValue(TipoValorIni::Str, QStringLiteral("CLINICA"), QStringLiteral("PACIENTEATIVO"),
                   false, QStringLiteral("12"));
    QVERIFY(!ini.Dicas());
    QCOMPARE(ini.PacienteAtivo(), QString()); // other kept values are not reloaded
}

void TesteSettings::arquivoAusenteFalhaACarga()
{
    InstalacaoTeste inst(InstalacaoTeste::Etapas::SoBanco);
    QVERIFY(QFile::remove(inst.ArquivoConfiguracao()));
    MensagensRoteiro msgs;
    TBIniSettings ini;
    QVERIFY(!ini.LoadAll(3));
    QVERIFY(!ini.LoadOptions(3));
    QVERIFY(!ini.LoadCamera(3));
    QVERIFY(msgs.Registros().isEmpty());
    QVERIFY(ini.Texto(ChaveIni::Versao).isNull());
}

// Two programs write 300 keys each into the same file at the same time: every key is there.
void TesteSettings::doisProgramasNaoPerdemChaves()
{
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("ZR300.ini"));
    GravaArquivoTexto(arquivo, {"[ZR]", "Tipo=3"});
    QProcess a, b;
    for (auto [p, prefixo] : {std::pair{&a, "A"}, std::pair{&b, "B"}})
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--escreve"), arquivo, QString::fromLatin1(prefixo)});
    for (QProcess* p : {&a, &b}) {
        QVERIFY(p->waitForFinished(300000));
        QCOMPARE(p->exitCode(), 0);
    }
    const ArquivoIni::Indice indice = ArquivoIni::Indice::DeArquivo(arquivo);
    QStringList perdidas;
    for (const char* prefixo : {"A", "B"})
        for (int k = 0; k < 300; ++k) {
            const QString chave = QStringLiteral("%1%2").arg(QLatin1String(prefixo)).arg(k);
            QString valor;
            if (!indice.Le(QStringLiteral("TESTE"), chave, valor) || valor != QString::number(k))
                perdidas << chave;
        }
    QVERIFY2(perdidas.isEmpty(), qPrintable(perdidas.join(u' ')));
    QVERIFY(!QFile::exists(arquivo + QStringLiteral(".lock")));
}

// "--escreve <file> <prefix>": the second program of the test above.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--escreve") {
        const QString arquivo = QString::fromLocal8Bit(argv[2]);
        const QString prefixo = QString::fromLocal8Bit(argv[3]);
        for (int k = 0; k < 300; ++k)
            ArquivoIni::Escreve(arquivo, QStringLiteral("TESTE"), prefixo + QString::number(k),
                                QString::number(k));
        return 0;
    }
    TesteSettings teste;
    return QTest::qExec(&teste, argc, argv);
}
#include "tst_settings.moc"
