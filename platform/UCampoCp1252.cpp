#include "platform/UCampoCp1252.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextCursor>
#include <QToolTip>
#include <QValidator>

#include <algorithm>
#include <memory>

namespace {

bool CabeEmCp1252(QStringView texto)
{
    QStringEncoder codifica("windows-1252");
    QStringDecoder decodifica("windows-1252");
    const QByteArray bytes = codifica(texto);
    return !codifica.hasError() && QString(decodifica(bytes)) == texto;
}

void Avisa(QWidget* campo, const QString& caractere)
{
    const QString aviso = AvisoCaractereForaCp1252(caractere);
    campo->setProperty("avisoCp1252", aviso);
    QToolTip::showText(campo->mapToGlobal(QPoint(0, campo->height())), aviso, campo);
}

class ValidadorCp1252 : public QValidator {
public:
    explicit ValidadorCp1252(QLineEdit* campo) : QValidator(campo), m_campo(campo) {}
    State validate(QString& texto, int&) const override
    {
        const QString fora = CaractereForaCp1252(texto);
        if (fora.isEmpty())
            return Acceptable;
        if (m_campo)
            Avisa(m_campo, fora);
        return Invalid;
    }

private:
    QPointer<QLineEdit> m_campo;
};

} // namespace

QString CaractereForaCp1252(const QString& texto)
{
    if (CabeEmCp1252(texto))
        return QString();
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const qsizetype n = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        const QStringView c = QStringView(texto).mid(i, n);
        if (!CabeEmCp1252(c))
            return c.toString();
        i += n - 1;
    }
    return QString();
}

QString AvisoCaractereForaCp1252(const QString& caractere)
{
    return QStringLiteral("O caractere \"%1\" não pode ser gravado.").arg(caractere);
}

void RestringeCp1252(QLineEdit* campo) { campo->setValidator(new ValidadorCp1252(campo)); }

void RestringeCp1252(QPlainTextEdit* campo)
{
    // A memo has no validator: an edit that brought such a character is taken back whole,
    // the text returning to what it was and the cursor to where the edit began.
    auto anterior = std::make_shared<QString>(campo->toPlainText());
    QObject::connect(campo, &QPlainTextEdit::textChanged, campo, [campo, anterior] {
        const QString texto = campo->toPlainText();
        if (texto == *anterior)
            return;
        const QString fora = CaractereForaCp1252(texto);
        if (fora.isEmpty()) {
            *anterior = texto;
            return;
        }
        const int posicao = campo->textCursor().position() - int(texto.size() - anterior->size());
        Avisa(campo, fora);
        const QSignalBlocker bloqueio(campo);
        campo->setPlainText(*anterior);
        QTextCursor cursor = campo->textCursor();
        cursor.setPosition(std::clamp(posicao, 0, int(anterior->size())));
        campo->setTextCursor(cursor);
    });
}
