#include "navigator/UfrmDica.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
QPointer<TfrmDica> g_aberta;
}

QStringList TfrmDica::Textos()
{
    const QChar aspas = QLatin1Char('"');
    auto entre = [&](const char* palavra) { return aspas + QString::fromUtf8(palavra) + aspas; };
    return {QStringLiteral("A busca por Diagnóstico do Exame é sensível a letras maiúsculas/minúsculas, ou seja, "
                           "faz diferença entre as mesmas. Uma busca por ") +
                entre("Astigmatismo") + QStringLiteral(" trará resultado diferente de ") + entre("astigmatismo") +
                QStringLiteral(" devido a letra inicial maiúscula."),
            QStringLiteral("A busca por diagnótico também pode ser feita por qualquer parte do mesmo, como por "
                           "exemplo, uma busca para ") +
                entre("astigmatismo irregular") + QStringLiteral(" poderá ser digitado somente ") + entre("irreg") +
                QStringLiteral("."),
            QStringLiteral("Para ver um paciente/exame encontrado na busca dê duplo clique sobre o nome do "
                           "paciente/exame ou click no botão ") +
                entre("Ver Paciente/Exame") + QStringLiteral(" e o mesmo será visualizado no Painel de Navegação.")};
}

TfrmDica::TfrmDica(QWidget* pai) : QDialog(pai)
{
    setObjectName(QStringLiteral("frmDica"));
    setWindowTitle(QStringLiteral("Dica de Busca"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(540, 176);
    // The three texts fill the small window: a compact face, little spacing.
    QFont fonte = font();
    fonte.setPointSizeF(8);
    setFont(fonte);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(10, 6, 10, 6);
    l->setSpacing(4);
    const QStringList textos = Textos();
    QLabel** rotulos[] = {&Label1, &Label2, &Label3};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QLabel(textos[i], this);
        r->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        r->setWordWrap(true);
        l->addWidget(r);
        *rotulos[i] = r;
    }
    l->addStretch();
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    l->addWidget(btnOK, 0, Qt::AlignHCenter);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::close);
    // Centred on the screen.
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
    g_aberta = this;
}

TfrmDica::~TfrmDica()
{
    if (g_aberta == this)
        g_aberta = nullptr;
}

TfrmDica* TfrmDica::Aberta() { return g_aberta && g_aberta->isVisible() ? g_aberta.data() : nullptr; }

void TfrmDica::FechaDica()
{
    if (TfrmDica* d = Aberta())
        d->close();
}
