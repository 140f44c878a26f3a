// The regional-settings guard: the user's values are forced for the run and restored
// exactly when the main menu closes.

#include "app/UBRegConfig.h"
#include "platform/UMensagens.h"
#include "tests/support/UInstalacaoTeste.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

namespace {
const QStringList kNomes = {"sDecimal", "sShortDate", "sThousand", "sTimeFormat", "s1159", "s2359"};
const QString kGrupo = QStringLiteral("Control Panel/International");

// Writes the user's regional values straight into the store; a null value is left out.
void DefineUsuario(const QStringList& valores)
{
    const QString arquivo = TRegistro::ArquivoUsuario();
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    QSettings s(arquivo, QSettings::IniFormat);
    s.clear();
    s.beginGroup(kGrupo);
    for (int i = 0; i < kNomes.size(); ++i)
        if (!valores[i].isNull())
            s.setValue(kNomes[i], valores[i]);
    s.endGroup();
    s.setValue(QStringLiteral("Outra/Chave"), QStringLiteral("intacta"));
}

// The values as another program would read them now; "<ausente>" for a missing value.
QStringList ValoresUsuario()
{
    QSettings s(TRegistro::ArquivoUsuario(), QSettings::IniFormat);
    QStringList r;
    for (const QString& n : kNomes)
        r << (s.contains(kGrupo + u'/' + n) ? s.value(kGrupo + u'/' + n).toString()
                                            : QStringLiteral("<ausente>"));
    return r;
}

void Forca(TBRegConfig& guarda)
{
    guarda.SalvaRegional();
    guarda.DefineRegional(QStringLiteral("."), QStringLiteral("dd/MM/yyyy"), QStringLiteral(","),
                          QStringLiteral("HH:mm:ss"), QString(), QString());
    guarda.AplicaRegional();
}
} // namespace

class TesteRegional : public QObject {
    Q_OBJECT
private slots:
    void forcaERestaura_data();
    void forcaERestaura();
    void usuarioNovoRecebeValoresDoSistema();
    void erroDeLeitura();
};

void TesteRegional::forcaERestaura_data()
{
    QTest::addColumn<QStringList>("usuario");
    QTest::addColumn<QStringList>("restaurado");
    QTest::newRow("vírgula e ano de dois dígitos")
        << QStringList{",", "dd/MM/yy", ".", "H:mm:ss", "AM", "PM"}
        << QStringList{",", "dd/MM/yy", ".", "H:mm:ss", "AM", "PM"};
    QTest::newRow("dois valores ausentes")
        << QStringList{",", QString(), ".", "HH:mm", QString(), ""}
        << QStringList{",", "", ".", "HH:mm", "", ""};
}

void TesteRegional::forcaERestaura()
{
    QFETCH(QStringList, usuario);
    QFETCH(QStringList, restaurado);
    UsuarioTeste u;
    DefineUsuario(usuario);
    MensagensRoteiro msgs;
    TBRegConfig guarda;
    Forca(guarda);
    QCOMPARE(ValoresUsuario(), QStringList({".", "dd/MM/yyyy", ",", "HH:mm:ss", "", ""}));
    guarda.RestauraRegional();
    QCOMPARE(ValoresUsuario(), restaurado);
    QVERIFY(msgs.Registros().isEmpty());
    QSettings s(TRegistro::ArquivoUsuario(), QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("Outra/Chave")).toString(), QStringLiteral("intacta"));
}

void TesteRegional::usuarioNovoRecebeValoresDoSistema()
{
    UsuarioTeste u;
    QVERIFY(!QFileInfo::exists(TRegistro::ArquivoUsuario()));
    TBRegConfig guarda;
    Forca(guarda);
    QCOMPARE(ValoresUsuario()[0], QStringLiteral("."));
    guarda.RestauraRegional();
    QCOMPARE(ValoresUsuario()[0], QString(QLocale::system().decimalPoint()));
}

void TesteRegional::erroDeLeitura()
{
    UsuarioTeste u;
    QVERIFY(QDir().mkpath(TRegistro::ArquivoUsuario())); // the store is a folder: unreadable
    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    TBRegConfig guarda;
    Forca(guarda);
    guarda.RestauraRegional();
    QCOMPARE(msgs.Textos(), QStringList{"Problemas ao ler registro"});
    QCOMPARE(msgs.Registros()[0].titulo, QStringLiteral("ERRO"));
    QCOMPARE(msgs.Registros()[0].icone, IconeMensagem::Nenhum);
    QVERIFY(!guarda.ChaveAberta());
    QVERIFY(QFileInfo(TRegistro::ArquivoUsuario()).isDir()); // nothing forced, nothing restored
}

QTEST_GUILESS_MAIN(TesteRegional)
#include "tst_regional.moc"
