#include "platform/UMensagensQt.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

RespostaMensagem MensagensQt::Mostra(const QString& titulo, const QString& texto,
                                     IconeMensagem icone, BotoesMensagem botoes,
                                     PadraoMensagem padrao)
{
    // Without a parent: a form's style sheet would cascade into the box, which looks the same
    // everywhere. It stays over the active window, modal to the whole program.
    QWidget* ativa = QApplication::activeWindow();
    QMessageBox caixa;
    caixa.setObjectName(QStringLiteral("caixaMensagem"));
    caixa.setWindowModality(Qt::ApplicationModal);
    caixa.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    caixa.setWindowTitle(titulo);
    caixa.setText(texto);
    switch (icone) {
    case IconeMensagem::Nenhum: caixa.setIcon(QMessageBox::NoIcon); break;
    case IconeMensagem::Informacao: caixa.setIcon(QMessageBox::Information); break;
    case IconeMensagem::Atencao: caixa.setIcon(QMessageBox::Warning); break;
    case IconeMensagem::Erro: caixa.setIcon(QMessageBox::Critical); break;
    case IconeMensagem::Pergunta: caixa.setIcon(QMessageBox::Question); break;
    }
    auto botao = [&](QMessageBox::StandardButton b, const char* rotulo) {
        caixa.addButton(b)->setText(QString::fromUtf8(rotulo));
    };
    switch (botoes) {
    case BotoesMensagem::Ok: botao(QMessageBox::Ok, "OK"); break;
    case BotoesMensagem::OkCancelar:
        botao(QMessageBox::Ok, "OK");
        botao(QMessageBox::Cancel, "Cancelar");
        break;
    case BotoesMensagem::SimNao:
        botao(QMessageBox::Yes, "Sim");
        botao(QMessageBox::No, "Não");
        break;
    case BotoesMensagem::SimNaoCancelar:
        botao(QMessageBox::Yes, "Sim");
        botao(QMessageBox::No, "Não");
        botao(QMessageBox::Cancel, "Cancelar");
        break;
    }
    // Destructive questions are asked with "Não" as the default, so an Enter pressed by habit
    // deletes nothing.
    if (padrao == PadraoMensagem::Nao && botoes != BotoesMensagem::Ok && botoes != BotoesMensagem::OkCancelar)
        caixa.setDefaultButton(QMessageBox::No);
    if (ativa) {
        caixa.adjustSize();
        caixa.move(ativa->frameGeometry().center() - caixa.rect().center());
        caixa.winId();
        if (caixa.windowHandle() && ativa->windowHandle())
            caixa.windowHandle()->setTransientParent(ativa->windowHandle());
    }
    switch (caixa.exec()) {
    case QMessageBox::Yes: return RespostaMensagem::Sim;
    case QMessageBox::No: return RespostaMensagem::Nao;
    case QMessageBox::Cancel: return RespostaMensagem::Cancelar;
    default: return RespostaMensagem::Ok;
    }
}

int ExecutaComMensagensQt(QDialog& dialogo)
{
    MensagensQt mensagens;
    ServicoMensagens* anterior = InstalaServicoMensagens(&mensagens);
    struct Devolve {
        ServicoMensagens* servico;
        ~Devolve() { InstalaServicoMensagens(servico); }
    } devolve{anterior};
    return dialogo.exec();
}
