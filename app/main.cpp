// Program entry. The main menu and the start-up sequence are not built yet: for now the
// program shows a plain window that says which installation it runs on.

#include "config/UBIniSettings.h"
#include "platform/UBVersionInfo.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVANE32M"));

    TBVersionInfo versao;
    versao.LeVersao(TBVersionInfo::ExecutavelPrograma());
    TBIniSettings ini;
    ini.SelectFile(3);

    QWidget janela;
    janela.setWindowTitle(QStringLiteral("KORVANE32M"));
    auto* layout = new QVBoxLayout(&janela);
    layout->addWidget(new QLabel(QStringLiteral("Versão: %1").arg(versao.VersaoPrograma())));
    layout->addWidget(new QLabel(QStringLiteral("Configuração: %1").arg(ini.FileName())));
    layout->addWidget(new QLabel(QStringLiteral("O menu principal ainda não está disponível nesta versão.")));
    janela.resize(480, 160);
    janela.show();
    return app.exec();
}
