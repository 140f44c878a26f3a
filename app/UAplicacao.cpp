#include "app/UAplicacao.h"

#include "common/UErros.h"
#include "platform/UMensagens.h"
#include "platform/UTraducao.h"

TAplicacao::TAplicacao(int& argc, char** argv) : QApplication(argc, argv)
{
    // The name only: a display name would be appended to every window title.
    setApplicationName(QStringLiteral("KORVANE32M"));
    InstalaTraducaoQt();
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
