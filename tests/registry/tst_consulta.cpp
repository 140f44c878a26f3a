// The doctor lookup on a real database: part of the name, RG, CPF or CRM in any letter
// case (accented letters included), results in name order, an apostrophe searched like any
// other character, and the registry moved to the doctor picked in the list.

#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "registry/UfrmCadastroMedicos.h"
#include "registry/UfrmConsultaMedicos.h"
#include "tests/support/UBancoTeste.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
void Libera() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QStringList Coluna(QTreeWidget* lista, int coluna)
{
    QStringList r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        r << lista->topLevelItem(i)->text(coluna);
    return r;
}
} // namespace

class TesteConsultaMedicos : public QObject {
    Q_OBJECT
    BancoTeste* m_banco = nullptr;
    MensagensRoteiro* m_msg = nullptr;

private slots:
    // One database for every lookup: the lookups only read.
    void initTestCase()
    {
        m_banco = new BancoTeste;
        QVERIFY(m_banco->Valido());
        m_msg = new MensagensRoteiro;
        struct {
            const char *nome, *rg, *cpf, *crm;
        } const medicos[] = {
            {"Ana Silva", "12.345.678-901", "11122233344", "SP-1001"},
            {"bruno silveira", "98.765", "55566677788", "RJ-2002"},
            {"Carla Sílvia Souza", "44.444", "99988877766", "sp-3003"},
            {"João D'Ávila", "12.000", "12312312312", "MG-4004"},
            {"ÁLVARO BASÍLIO", "77.777", "32132132132", "BA-5005"},
            {"Débora Lins", "55.555", "45645645645", "PR-6006"},
        };
        TDMedicos dao(m_banco->DM());
        for (const auto& m : medicos) {
            TDadosMedico d;
            d.Nome = QString::fromUtf8(m.nome);
            d.Rg = QString::fromUtf8(m.rg);
            d.Cpf = QString::fromUtf8(m.cpf);
            d.Crm = QString::fromUtf8(m.crm);
            dao.InsereMedico(d);
        }
    }
    void cleanupTestCase()
    {
        Libera();
        delete m_msg;
        delete m_banco;
    }

    void consulta_data()
    {
        QTest::addColumn<int>("criterio");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("nomes");
        // Names are listed as a Portuguese reader orders them: letter case and accents aside.
        QTest::newRow("nome sil") << 0 << "sil" << QStringList{"Ana Silva", "bruno silveira"};
        QTest::newRow("nome SIL") << 0 << "SIL" << QStringList{"Ana Silva", "bruno silveira"};
        QTest::newRow("nome síl acentuado") << 0 << "síl"
                                            << QStringList{"ÁLVARO BASÍLIO", "Carla Sílvia Souza"};
        QTest::newRow("nome débora") << 0 << "débora" << QStringList{"Débora Lins"};
        QTest::newRow("nome lins") << 0 << "lins" << QStringList{"Débora Lins"};
        QTest::newRow("nome com apostrofo") << 0 << "d'ávila" << QStringList{"João D'Ávila"};
        QTest::newRow("so o apostrofo") << 0 << "'" << QStringList{"João D'Ávila"};
        QTest::newRow("apostrofo e aspas") << 0 << "x' or '1'='1" << QStringList{};
        QTest::newRow("nada") << 0 << "zzz" << QStringList{};
        QTest::newRow("vazio lista todos")
            << 0 << "" << QStringList{"ÁLVARO BASÍLIO", "Ana Silva", "bruno silveira", "Carla Sílvia Souza",
                                      "Débora Lins", "João D'Ávila"};
        QTest::newRow("rg") << 1 << "12." << QStringList{"Ana Silva", "João D'Ávila"};
        QTest::newRow("cpf") << 2 << "5556" << QStringList{"bruno silveira"};
        QTest::newRow("crm minusculo") << 3 << "sp-" << QStringList{"Ana Silva", "Carla Sílvia Souza"};
        QTest::newRow("crm nao procura nome") << 3 << "ana" << QStringList{};
        // Values as long as their columns: the pattern with its "%" is longer still.
        QTest::newRow("cpf completo") << 2 << "11122233344" << QStringList{"Ana Silva"};
        QTest::newRow("rg de 14") << 1 << "12.345.678-901" << QStringList{"Ana Silva"};
        QTest::newRow("nome de 50") << 0 << QString(50, u'a') << QStringList{};
    }
    void consulta()
    {
        QFETCH(int, criterio);
        QFETCH(QString, texto);
        QFETCH(QStringList, nomes);
        auto* f = new TfrmConsultaMedicos(nullptr);
        f->show();
        f->EscolheCriterio(criterio);
        QCOMPARE(f->CriterioEscolhido(), criterio);
        f->edtPesquisa->setText(texto);
        QCOMPARE(f->btnLOC->isEnabled(), !texto.isEmpty());
        const QString sqlCompartilhado = m_banco->DM().IBQueryMedicos->SQL();
        f->btnConsultarClick();
        QCOMPARE(m_banco->DM().IBQueryMedicos->SQL(), sqlCompartilhado);
        QCOMPARE(Coluna(f->lswResultado, 1), nomes);
        // The code column holds each doctor's code.
        TDMedicos dao(m_banco->DM());
        const QStringList codigos = Coluna(f->lswResultado, 0);
        for (int i = 0; i < nomes.size(); ++i)
            QCOMPARE(codigos[i], QString::number(dao.CodigoMedico(nomes[i])));
        // A second search replaces the first list.
        f->btnConsultarClick();
        QCOMPARE(f->lswResultado->topLevelItemCount(), nomes.size());
        delete f;
    }

    void dialogo()
    {
        auto* f = new TfrmConsultaMedicos(nullptr);
        QCOMPARE(f->windowTitle(), QStringLiteral("Assistente de Consulta"));
        QCOMPARE(f->rgrMedicos->title(), QStringLiteral("Consultar por:"));
        QStringList itens;
        for (QAbstractButton* b : f->grupoCriterio->buttons())
            itens << b->text();
        QCOMPARE(itens, QStringList({"Nome", "RG", "CPF", "CRM"}));
        QCOMPARE(f->CriterioEscolhido(), 0);
        QCOMPARE(f->lswResultado->headerItem()->text(0), QStringLiteral("Código"));
        QCOMPARE(f->lswResultado->headerItem()->text(1), QStringLiteral("Nome"));
        f->show();
        QCOMPARE(f->focusWidget(), f->edtPesquisa);
        QVERIFY(!f->btnLOC->isEnabled());
        QTest::keyClicks(f->edtPesquisa, "ab");
        QVERIFY(f->btnLOC->isEnabled());
        f->edtPesquisa->clear();
        QVERIFY(!f->btnLOC->isEnabled());
        delete f;
    }

    // From the registry: a double click on a result moves the registry to that doctor;
    // "Fechar" leaves it where it was; a double click with nothing selected does nothing.
    void posicionaCadastro_data()
    {
        QTest::addColumn<bool>("escolhe");
        QTest::addColumn<QString>("nome");
        QTest::newRow("duplo clique") << true << "bruno silveira";
        QTest::newRow("fechar") << false << "Ana Silva";
    }
    void posicionaCadastro()
    {
        QFETCH(bool, escolhe);
        QFETCH(QString, nome);
        InfosZR.MedicoAtivo.clear();
        QPointer<TfrmCadastroMedicos> cadastro = new TfrmCadastroMedicos;
        cadastro->show();
        QCOMPARE(cadastro->dbeNome->text(), QStringLiteral("Ana Silva"));
        int resultado = -1;
        const AberturaModal anterior = DefineAberturaModal([&](QDialog* d) {
            auto* c = qobject_cast<TfrmConsultaMedicos*>(d);
            if (!c)
                return int(QDialog::Rejected);
            c->show();
            c->EscolheCriterio(TfrmConsultaMedicos::CRM);
            QTest::keyClicks(c->edtPesquisa, "rj");
            QTest::mouseClick(c->btnLOC, Qt::LeftButton);
            if (c->lswResultado->topLevelItemCount() != 1)
                return int(QDialog::Rejected);
            c->lswResultadoDblClick(); // nothing selected yet
            if (!c->isVisible())
                return -2;
            if (escolhe) {
                c->lswResultado->setCurrentItem(c->lswResultado->topLevelItem(0));
                c->lswResultadoDblClick();
            } else {
                QTest::mouseClick(c->btnFEC, Qt::LeftButton);
            }
            resultado = c->result();
            return resultado;
        });
        QTest::mouseClick(cadastro->btnPes, Qt::LeftButton);
        DefineAberturaModal(anterior);
        QCOMPARE(resultado, escolhe ? int(QDialog::Accepted) : int(QDialog::Rejected));
        Libera();
        QCOMPARE(cadastro->dbeNome->text(), nome);
        QCOMPARE(cadastro->dbtCodigo->text(), QString::number(TDMedicos(m_banco->DM()).CodigoMedico(nome)));
        cadastro->close();
        Libera();
        QVERIFY(cadastro.isNull());
    }
};

QTEST_MAIN(TesteConsultaMedicos)
#include "tst_consulta.moc"
