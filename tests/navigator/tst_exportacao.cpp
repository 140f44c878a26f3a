// The navigator's export button and "Exportar exame" on a captured examination: when the
// button is enabled, an export to a folder for a CD (numbers, map, camera image, DICOMDIR)
// with its closing text and no patient identification in the numbers, and a folder that
// cannot be written.

#include "navigator/UfrmExportaExame.h"
#include "tests/navigator/UCenarioNavegador.h"
#include "tests/support/UExameCapturado.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {

const QString kNome = QStringLiteral("Conceição D'Ávila");

struct Cena {
    CenarioNavegador c;
    ExameCapturado exame;
    QString legenda;

    Cena()
    {
        PathsZR.DirMapas = QStringLiteral(ZR_PASTA_MAPAS);
        const int medico = c.Medico(QStringLiteral("Dra. Helena"));
        TDadosPaciente p;
        p.Nome = kNome;
        p.Rg = QStringLiteral("12.345.678-9");
        p.Cpf = QStringLiteral("98765432100");
        p.DataNascimento = QStringLiteral("17/08/1961");
        TDPacientes(c.DM()).InserePaciente(p, QDate(2024, 1, 2), 0);
        const int paciente = TDPacientes(c.DM()).IndicePacientes();
        exame = GravaExameCapturado(c.DM(), paciente, medico, QStringLiteral("torica 7.9 7.5 30"), QStringLiteral("OD"),
                                    QDate(2025, 3, 14), QTime(9, 30, 0));
        legenda = QStringLiteral("OD - 14/03/2025 09:30:00");
        InfosZR.MedicoAtivo = QStringLiteral("Dra. Helena");
        c.Abre();
    }
    // Clicks the export button; preenche drives the dialog while it is open.
    void Exporta(const std::function<void(TfrmExportaExame&)>& preenche)
    {
        DefineAberturaModal([&](QDialog* d) {
            if (auto* f = qobject_cast<TfrmExportaExame*>(d)) {
                f->show();
                preenche(*f);
            }
            d->close();
            return int(QDialog::Rejected);
        });
        c.nav->tbExportar->click();
    }
};

} // namespace

class TesteExportacao : public QObject {
    Q_OBJECT
    std::unique_ptr<Cena> m_cena;

private slots:
    void initTestCase()
    {
        m_cena = std::make_unique<Cena>();
        QVERIFY2(m_cena->exame.Valido, qPrintable(m_cena->exame.Erro));
    }
    void cleanupTestCase() { m_cena.reset(); }

    // Enabled only while an examination of the current patient is selected.
    void botao()
    {
        Cena& s = *m_cena;
        s.c.msgs.Limpa();
        QCOMPARE(s.c.nav->tbExportar->toolTip(), QStringLiteral("Exportar exame"));
        QVERIFY(!s.c.nav->tbExportar->isEnabled());
        QVERIFY(s.c.Seleciona(s.legenda));
        QVERIFY(s.c.nav->tbExportar->isEnabled());
        s.c.nav->AtivaExemplos();
        QVERIFY(!s.c.nav->tbExportar->isEnabled());
        s.c.nav->AtivaPacientes();
        QVERIFY(!s.c.nav->tbExportar->isEnabled());
    }

    // A folder for a CD, and a folder that cannot be written: the text says where the data
    // went or what failed; the numbers carry no identification unless ticked.
    void exporta_data()
    {
        QTest::addColumn<bool>("gravavel");
        QTest::newRow("pasta para CD") << true;
        QTest::newRow("pasta sem gravação") << false;
    }
    void exporta()
    {
        QFETCH(bool, gravavel);
        Cena& s = *m_cena;
        s.c.msgs.Limpa();
        QVERIFY(s.c.Seleciona(s.legenda));
        QTemporaryDir saida;
        QString pasta = saida.path();
        if (!gravavel) {
            QFile ocupado(saida.filePath(QStringLiteral("ocupado")));
            QVERIFY(ocupado.open(QIODevice::WriteOnly));
            pasta = ocupado.fileName() + QStringLiteral("/cd");
        }
        QString mensagem;
        bool identificacaoDesmarcada = false;
        s.Exporta([&](TfrmExportaExame& f) {
            identificacaoDesmarcada = !f.cbIdentificacao->isChecked();
            f.edtPasta->setText(pasta);
            f.cbDicomPasta->setChecked(true);
            f.cbDicomdir->setChecked(true);
            f.btnExportar->click();
            mensagem = f.lblMensagem->text();
        });
        QVERIFY(identificacaoDesmarcada);
        QCOMPARE(s.c.modais, QStringList());
        if (!gravavel) {
            QVERIFY2(mensagem.contains(QStringLiteral("Não foi possível gravar o arquivo")), qPrintable(mensagem));
            QCOMPARE(s.c.msgs.Textos(), QStringList{mensagem});
            QCOMPARE(QDir(saida.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{QStringLiteral("ocupado")});
            return;
        }
        QVERIFY2(mensagem.startsWith(QStringLiteral("Exportação concluída.")), qPrintable(mensagem));
        QVERIFY(mensagem.contains(QDir::toNativeSeparators(pasta)));
        QVERIFY(s.c.msgs.Registros().isEmpty());
        const QString base = QStringLiteral("exame_%1_OD.").arg(s.exame.Codigo);
        QFile json(QDir(pasta).filePath(base + QStringLiteral("json")));
        QVERIFY(json.open(QIODevice::ReadOnly));
        const QByteArray texto = json.readAll();
        for (const char* dado : {"Conceição", "12.345.678-9", "98765432100", "1961"})
            QVERIFY2(!texto.contains(dado), dado);
        QVERIFY(QFile::exists(QDir(pasta).filePath(base + QStringLiteral("csv"))));
        const QString dicom = QStringLiteral("DICOM/E%1/").arg(s.exame.Codigo, 7, 10, QChar(u'0'));
        for (const QString& f : {dicom + QStringLiteral("MAPA"), dicom + QStringLiteral("FOTO"), QStringLiteral("DICOMDIR")})
            QVERIFY2(QFileInfo(QDir(pasta).filePath(f)).size() > 1000, qPrintable(f));
    }
};

QTEST_MAIN(TesteExportacao)
#include "tst_exportacao.moc"
