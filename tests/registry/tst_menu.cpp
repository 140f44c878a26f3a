// The main menu's "Médicos" button opens the doctor registry modally, on the doctor of the
// settings, and the registry closes its table when it goes.

#include "app/UfrmPrincipal.h"
#include "config/URegistrosZR.h"
#include "data/UDMedicos.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "registry/UfrmCadastroMedicos.h"
#include "tests/support/UBancoTeste.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

class TesteMenuMedicos : public QObject {
    Q_OBJECT
private slots:
    void botaoMedicos()
    {
        UsuarioTeste usuario;
        BancoTeste banco;
        QVERIFY(banco.Valido());
        MensagensRoteiro mensagens;
        for (const char* nome : {"Dr. Primeiro", "Dra. Segunda"}) {
            TDadosMedico m;
            m.Nome = QString::fromUtf8(nome);
            TDMedicos(banco.DM()).InsereMedico(m);
        }
        InfosZR.MedicoAtivo = QStringLiteral("dra. segunda");
        QPointer<TfrmPrincipal> menu = new TfrmPrincipal;
        QPointer<TfrmCadastroMedicos> cadastro;
        QString mostrado;
        bool modal = false;
        const AberturaModal anterior = DefineAberturaModal([&](QDialog* d) {
            cadastro = qobject_cast<TfrmCadastroMedicos*>(d);
            modal = d->parentWidget() == menu;
            d->show();
            if (cadastro)
                mostrado = cadastro->dbeNome->text();
            d->close();
            return int(d->result());
        });
        QTest::mouseClick(menu->btnDoctor, Qt::LeftButton);
        DefineAberturaModal(anterior);
        QVERIFY(modal);
        QCOMPARE(mostrado, QStringLiteral("Dra. Segunda"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(cadastro.isNull()); // released on close
        QVERIFY(!banco.DM().IBMedicos->Ativa());
        QVERIFY(mensagens.Registros().isEmpty());
        delete menu;
    }
};

QTEST_MAIN(TesteMenuMedicos)
#include "tst_menu.moc"
