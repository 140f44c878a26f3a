#include "platform/UMensagensQt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

RespostaMensagem MensagensQt::Mostra(const QString& titulo, const QString& texto,
                                     IconeMensagem icone, BotoesMensagem botoes)
{
    QMessageBox caixa(QApplication::activeWindow());
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
    switch (caixa.exec()) {
    case QMessageBox::Yes: return RespostaMensagem::Sim;
    case QMessageBox::No: return RespostaMensagem::Nao;
    case QMessageBox::Cancel: return RespostaMensagem::Cancelar;
    default: return RespostaMensagem::Ok;
    }
}
