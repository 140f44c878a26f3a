// Context help: F1 opens the page of the active window's help context, the contents when
// the window has none or its page is missing; web addresses go to the browser.

#include "platform/UAjuda.h"
#include "platform/UMensagens.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>

class TesteAjuda : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void paginas_data();
    void paginas();
    void f1NaJanelaAtiva();
    void programaAusenteNaoFazNada();
    void semNavegador();

private:
    QTemporaryDir m_pasta;
    QStringList m_abertos;
};

void TesteAjuda::initTestCase()
{
    for (const char* nome : {"index.html", "contexto_1.html", "contexto_5.html"}) {
        QFile f(m_pasta.filePath(QString::fromLatin1(nome)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<html></html>");
    }
    DefinePastaAjuda(m_pasta.path());
    DefineAberturaEndereco([this](const QString& url) {
        m_abertos << QUrl(url).fileName();
        return true;
    });
    InstalaAjudaContextual(*qApp);
}

void TesteAjuda::cleanupTestCase()
{
    DefinePastaAjuda(QString());
    DefineAberturaEndereco({});
}

void TesteAjuda::paginas_data()
{
    QTest::addColumn<int>("contexto");
    QTest::addColumn<QString>("pagina");
    QTest::newRow("menu principal") << 1 << "contexto_1.html";
    QTest::newRow("navegador") << 5 << "contexto_5.html";
    QTest::newRow("sem página: índice") << 25 << "index.html";
    QTest::newRow("sem contexto: índice") << 0 << "index.html";
}

void TesteAjuda::paginas()
{
    QFETCH(int, contexto);
    QFETCH(QString, pagina);
    m_abertos.clear();
    QVERIFY(AbreAjuda(contexto));
    QCOMPARE(m_abertos, QStringList{pagina});
}

void TesteAjuda::f1NaJanelaAtiva()
{
    QDialog janela;
    DefineContextoAjuda(&janela, 5);
    auto* campo = new QLineEdit(&janela);
    (new QVBoxLayout(&janela))->addWidget(campo);
    janela.show();
    QApplication::setActiveWindow(&janela);
    QVERIFY(QTest::qWaitForWindowActive(&janela));
    QCOMPARE(ContextoAjuda(campo), 5); // a control takes its window's context
    m_abertos.clear();
    QTest::keyClick(campo, Qt::Key_F1);
    QCOMPARE(m_abertos, QStringList{"contexto_5.html"});
}

void TesteAjuda::programaAusenteNaoFazNada()
{
    QVERIFY(!LancaPrograma(m_pasta.filePath(QStringLiteral("nao-existe"))));
    QVERIFY(!LancaPrograma(m_pasta.filePath(QStringLiteral("index.html")))); // not executable
}

// Without a browser (or without pages) F1 and the help buttons say so.
void TesteAjuda::semNavegador()
{
    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    const AberturaEndereco anterior = DefineAberturaEndereco([](const QString&) { return false; });
    QVERIFY(!AbreAjuda(5));
    DefineAberturaEndereco(anterior);
    QCOMPARE(msgs.Textos(), QStringList{QStringLiteral("Não foi possível abrir a ajuda.")});
    QCOMPARE(msgs.Registros().first().icone, IconeMensagem::Atencao);
}

QTEST_MAIN(TesteAjuda)
#include "tst_ajuda.moc"
