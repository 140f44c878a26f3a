#include "app/UAplicacao.h"

#include "common/UErros.h"
#include "platform/UMensagens.h"

TAplicacao::TAplicacao(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("KORVANE32M"));
    setApplicationDisplayName(QStringLiteral("KORVANE32M"));
}

void TAplicacao::RelataErro(const QString& texto)
{
    Mensagem(applicationName(), texto, IconeMensagem::Erro, BotoesMensagem::Ok);
}

bool TAplicacao::notify(QObject* receptor, QEvent* evento)
{
    try {
        return QApplication::notify(receptor, evento);
    } catch (const ErroSistema& e) {
        RelataErro(e.Mensagem());
    } catch (const std::exception& e) {
        RelataErro(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
