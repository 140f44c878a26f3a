// Fields whose text goes to a cp1252 column: what the code page cannot hold is refused as it
// is typed or pasted, the note names it, and the text typed before stays as it was.

#include "platform/UCampoCp1252.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

class TesteCampoCp1252 : public QObject {
    Q_OBJECT
private slots:
    void digitacao_data();
    void digitacao();
};

void TesteCampoCp1252::digitacao_data()
{
    QTest::addColumn<QString>("inserido");
    QTest::addColumn<bool>("colar");
    QTest::addColumn<QString>("recusado"); // empty: accepted
    QTest::newRow("acentos e cedilha") << QStringLiteral("ção Ü ñ € „") << true << "";
    QTest::newRow("L com traço") << QStringLiteral("Ł") << false << "Ł";
    QTest::newRow("emoji digitado") << QStringLiteral("🙂") << false << "🙂";
    QTest::newRow("colado") << QStringLiteral("Łódź 🙂") << true << "Ł";
    QTest::newRow("colado, emoji no fim") << QStringLiteral("ótimo 🙂") << true << "🙂";
    QTest::newRow("cirílico") << QStringLiteral("Ж") << false << "Ж";
}

void TesteCampoCp1252::digitacao()
{
    QFETCH(QString, inserido);
    QFETCH(bool, colar);
    QFETCH(QString, recusado);
    QLineEdit linha;
    QPlainTextEdit memo;
    RestringeCp1252(&linha);
    RestringeCp1252(&memo);
    const QString antes = QStringLiteral("Rua São João, 5");
    for (QWidget* campo : {static_cast<QWidget*>(&linha), static_cast<QWidget*>(&memo)}) {
        campo->show();
        campo->setFocus();
        QTest::sendKeyEvent(QTest::Click, campo, Qt::Key_unknown, antes, Qt::NoModifier);
        QTest::keyClick(campo, Qt::Key_Left);
        if (colar) {
            QApplication::clipboard()->setText(inserido);
            QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::sendKeyEvent(QTest::Click, campo, Qt::Key_unknown, inserido, Qt::NoModifier);
        }
        const QString texto = campo == &linha ? linha.text() : memo.toPlainText();
        const QString esperado = recusado.isEmpty() ? antes.left(antes.size() - 1) + inserido + antes.right(1) : antes;
        QCOMPARE(texto, esperado);
        QCOMPARE(campo->property("avisoCp1252").toString(),
                 recusado.isEmpty() ? QString() : AvisoCaractereForaCp1252(recusado));
        // Typing goes on where it was.
        QTest::keyClicks(campo, QStringLiteral("x"));
        const QString depois = campo == &linha ? linha.text() : memo.toPlainText();
        QCOMPARE(depois, esperado.left(esperado.size() - 1) + QStringLiteral("x") + esperado.right(1));
    }
}

QTEST_MAIN(TesteCampoCp1252)
#include "tst_campocp1252.moc"
