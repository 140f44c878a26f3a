#include "platform/UTraducao.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QTranslator>

bool InstalaTraducaoQt()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    static const char* const kPropriedade = "zrTraducaoQt";
    if (app->property(kPropriedade).isValid())
        return app->property(kPropriedade).toBool();
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool carregou = false;
    for (const char* nome : {"qtbase_pt_BR"}) {
        auto* tradutor = new QTranslator(app);
        if (tradutor->load(QString::fromLatin1(nome), pasta) && QCoreApplication::installTranslator(tradutor))
            carregou = true;
        else
            delete tradutor;
    }
    app->setProperty(kPropriedade, carregou);
    return carregou;
}

QLocale LocalePortugues() { return QLocale(QLocale::Portuguese, QLocale::Brazil); }

QString NomeArquivoParaGravar(QWidget* pai, const QString& titulo, const QString& nome, const QString& filtro)
{
    InstalaTraducaoQt();
    QFileDialog dialogo(pai, titulo, nome, filtro);
    dialogo.setObjectName(QStringLiteral("dlgGravarArquivo"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setLocale(LocalePortugues());
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return QString();
    return dialogo.selectedFiles().first();
}

namespace {
EscolhaArquivo& Escolha()
{
    static EscolhaArquivo escolha;
    return escolha;
}
} // namespace

QString NomeArquivoParaAbrir(QWidget* pai, const QString& titulo, const QString& filtro)
{
    if (Escolha())
        return Escolha()(titulo, filtro);
    InstalaTraducaoQt();
    QFileDialog dialogo(pai, titulo, QString(), filtro);
    dialogo.setObjectName(QStringLiteral("dlgAbrirArquivo"));
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.setLocale(LocalePortugues());
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return QString();
    return dialogo.selectedFiles().first();
}

EscolhaArquivo DefineEscolhaArquivoParaAbrir(EscolhaArquivo escolha)
{
    EscolhaArquivo anterior = std::move(Escolha());
    Escolha() = std::move(escolha);
    return anterior;
}
