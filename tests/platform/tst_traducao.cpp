// The toolkit's standard dialogs in Portuguese: the translation is found and loaded once.

#include "platform/UTraducao.h"

#include <QApplication>
#include <QTest>

class TesteTraducao : public QObject {
    Q_OBJECT
private slots:
    void dialogosEmPortugues_data();
    void dialogosEmPortugues();
};

void TesteTraducao::dialogosEmPortugues_data()
{
    QTest::addColumn<QString>("contexto");
    QTest::addColumn<QString>("texto");
    QTest::newRow("arquivo: procurar em") << "QFileDialog" << "Look in:";
    QTest::newRow("arquivo: salvar") << "QFileDialog" << "&Save";
    QTest::newRow("botão cancelar") << "QPlatformTheme" << "Cancel";
    QTest::newRow("impressão") << "QPrintDialog" << "Print";
}

void TesteTraducao::dialogosEmPortugues()
{
    QFETCH(QString, contexto);
    QFETCH(QString, texto);
    QVERIFY(InstalaTraducaoQt());
    QVERIFY(InstalaTraducaoQt()); // a second call changes nothing
    const QString traduzido = QCoreApplication::translate(qPrintable(contexto), qPrintable(texto));
    QVERIFY2(!traduzido.isEmpty() && traduzido != texto, qPrintable(traduzido));
}

QTEST_MAIN(TesteTraducao)
#include "tst_traducao.moc"
