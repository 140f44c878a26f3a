#include "platform/UAjuda.h"

#include "platform/UMensagens.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QUrl>
#include <QWidget>

namespace {
const char* const kPropriedade = "contextoAjuda";

AberturaEndereco& Abertura()
{
    static AberturaEndereco abertura;
    return abertura;
}

class FiltroAjuda : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* alvo, QEvent* evento) override
    {
        if (evento->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_F1 && alvo->isWidgetType()) {
            QWidget* janela = QApplication::activeWindow();
            AbreAjuda(ContextoAjuda(janela ? janela : static_cast<QWidget*>(alvo)));
            return true;
        }
        return false;
    }
};
} // namespace

namespace {
QString& PastaDefinida()
{
    static QString pasta;
    return pasta;
}
} // namespace

QString PastaAjuda()
{
    return PastaDefinida().isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/ajuda")
                                     : PastaDefinida();
}

void DefinePastaAjuda(const QString& pasta) { PastaDefinida() = pasta; }

QString PaginaAjuda(int contexto)
{
    const QString pagina = contexto > 0
        ? QStringLiteral("%1/contexto_%2.html").arg(PastaAjuda()).arg(contexto)
        : PastaAjuda() + QStringLiteral("/index.html");
    return QFileInfo::exists(pagina) ? pagina : QString();
}

bool AbreAjuda(int contexto)
{
    QString pagina = PaginaAjuda(contexto);
    if (pagina.isEmpty())
        pagina = PaginaAjuda(0);
    if (!pagina.isEmpty() && AbreEndereco(QUrl::fromLocalFile(pagina).toString()))
        return true;
    // No page or no browser: say so instead of doing nothing.
    Mensagem(QStringLiteral("Ajuda"), QStringLiteral("Não foi possível abrir a ajuda."), IconeMensagem::Atencao);
    return false;
}

int ContextoAjuda(const QWidget* janela)
{
    for (const QWidget* w = janela; w; w = w->parentWidget()) {
        const QVariant v = w->property(kPropriedade);
        if (v.isValid())
            return v.toInt();
    }
    return 0;
}

void DefineContextoAjuda(QWidget* janela, int contexto) { janela->setProperty(kPropriedade, contexto); }

void InstalaAjudaContextual(QApplication& app) { app.installEventFilter(new FiltroAjuda(&app)); }

bool LancaPrograma(const QString& programa)
{
    return QFileInfo(programa).isExecutable() && QProcess::startDetached(programa, {});
}

bool AbreEndereco(const QString& endereco)
{
    if (Abertura())
        return Abertura()(endereco);
    return QDesktopServices::openUrl(QUrl(endereco));
}

AberturaEndereco DefineAberturaEndereco(AberturaEndereco abertura)
{
    AberturaEndereco anterior = std::move(Abertura());
    Abertura() = std::move(abertura);
    return anterior;
}
