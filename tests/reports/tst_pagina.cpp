// The report page without a printer: every element at its place with its size and weight,
// and what the page shows for new and stored reports made through the wizard and editor.

#include "tests/reports/UCenarioRelat.h"

#include <QTest>

class TestePagina : public QObject {
    Q_OBJECT
private slots:
    void posicoes_data();
    void posicoes();
    void rotulosLongos();
    void textos_data();
    void textos();
};

namespace {

DadosRelat Curtos()
{
    DadosRelat d;
    d.NomeCli = QStringLiteral("Clínica Visão");
    d.EnderecoCli = QStringLiteral("Rua A, 10");
    d.CidadeEst = QStringLiteral("Campinas - SP");
    d.Fone = QStringLiteral("(19) 3333-4444");
    d.NomePac = QStringLiteral("Ana");
    d.NomeMed = QStringLiteral("Dr. A");
    d.Exames = QStringLiteral("OD - 01/02/2024 10:00:00  Nenhum");
    d.DataEmissao = QStringLiteral("07/01/06 09:05:03");
    d.TipoMapa = QStringLiteral("Mapa Tipo Axial");
    d.CE = d.OD = d.OS = d.CO = d.CM = QStringLiteral("Texto.");
    d.ComComentarios = true;
    return d;
}

} // namespace

void TestePagina::posicoes_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<double>("x"); // the right edge for right-aligned elements
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("largura"); // 0: grows to its text
    QTest::addColumn<double>("altura");
    QTest::addColumn<bool>("direita");
    QTest::addColumn<double>("pontos");
    QTest::addColumn<bool>("negrito");
    auto l = [](const char* n, double x, double y, double w, double h, bool dir, double pt, bool b) {
        QTest::newRow(n) << QString::fromLatin1(n) << x << y << w << h << dir << pt << b;
    };
    l("imgLogo", 3.70, 2.12, 26.46, 26.46, false, 10, false);
    l("lblNomeCli", 33.60, 3.44, 0, 0, false, 14, true);
    l("lblEnderecoCli", 33.60, 10.32, 0, 0, false, 10, false);
    l("lblCidadeEst", 33.60, 15.08, 0, 0, false, 10, false);
    l("lblFone", 33.60, 19.84, 0, 0, false, 10, false);
    l("QRShape2", 2.38, 29.63, 186.53, 0.53, false, 10, false);
    l("lblNomePac", 3.70, 33.34, 0, 0, false, 14, true);
    l("QRLabel10", 3.70, 39.16, 0, 0, false, 10, false);
    l("lblNomeMed", 30.16, 38.89, 0, 0, false, 12, true);
    l("QRLabel3", 122.77, 38.10, 0, 0, false, 10, false);
    l("qrDataEmissao", 187.33, 37.84, 0, 0, true, 10, true);
    l("QRLabel13", 3.70, 44.98, 0, 0, false, 10, false);
    l("qrExames", 20.90, 44.98, 0, 0, false, 10, false);
    l("qrTipoMapa", 3.70, 50.80, 0, 0, false, 10, false);
    l("QRLabel1", 2.65, 60.06, 186.53, 7.94, false, 18, true);
    l("QRLabel8", 3.97, 69.85, 0, 0, false, 12, true);
    l("qrCE", 4.23, 75.94, 180.18, 23.55, false, 10, false);
    l("QRLabel7", 3.97, 101.60, 0, 0, false, 12, true);
    l("qrOD", 4.23, 107.42, 180.18, 31.49, false, 10, false);
    l("QRLabel4", 3.97, 141.02, 0, 0, false, 12, true);
    l("qrOS", 4.23, 146.31, 180.18, 31.49, false, 10, false);
    l("QRLabel6", 3.97, 181.24, 0, 0, false, 12, true);
    l("qrCO", 4.23, 186.53, 180.18, 23.55, false, 10, false);
    l("QRLabel9", 3.97, 208.76, 0, 0, false, 12, true);
    l("qrCM", 4.23, 220.40, 180.18, 23.55, false, 10, false);
    l("QRLabel11", 156.37, 248.97, 0, 0, false, 12, false);
    l("lblNomeMed2", 186.53, 262.73, 0, 0, true, 12, true);
}

// Short texts: one page, each element where the layout puts it.
void TestePagina::posicoes()
{
    QFETCH(QString, nome);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, largura);
    QFETCH(double, altura);
    QFETCH(bool, direita);
    QFETCH(double, pontos);
    QFETCH(bool, negrito);
    TfrmLauRelat relat(Curtos());
    QCOMPARE(relat.Paginas(), 1);
    const ElementoRelat* e = relat.Elemento(nome);
    QVERIFY(e);
    const QRectF& r = e->Retangulo;
    QVERIFY2(qAbs((direita ? r.right() : r.left()) - x) <= 0.5, qPrintable(QString::number(r.left())));
    QVERIFY2(qAbs(r.top() - y) <= 0.5, qPrintable(QString::number(r.top())));
    if (largura > 0) {
        QVERIFY(qAbs(r.width() - largura) <= 0.5 && qAbs(r.height() - altura) <= 0.5);
    } else {
        // A label is as wide as its text and as high as its font.
        QImage img(4, 4, QImage::Format_RGB32);
        img.setDotsPerMeterX(600 / 0.0254);
        img.setDotsPerMeterY(600 / 0.0254);
        const QFontMetricsF m(TfrmLauRelat::Fonte(pontos, negrito), &img);
        QVERIFY(r.width() > 0 && qAbs(r.width() - m.horizontalAdvance(e->Texto) * 25.4 / 600) < 0.5);
        QVERIFY(qAbs(r.height() - m.height() * 25.4 / 600) < 0.5);
        QCOMPARE(e->Pontos, pontos);
        QCOMPARE(e->Negrito, negrito);
    }
    QVERIFY(r.left() >= 0 && r.right() <= TfrmLauRelat::kLargura && r.bottom() <= TfrmLauRelat::kAltura);
}

// 50-character names and a 100-character clinic name: labels set smaller (never under
// 7 pt), none running into the next element on its line or out of the printable area.
void TestePagina::rotulosLongos()
{
    DadosRelat d = Curtos();
    d.NomeMed = d.NomePac = QStringLiteral("Maximiliano Wanderley de Albuquerque Vasconcelos M");
    QCOMPARE(d.NomeMed.size(), 50);
    d.NomeCli = QString(100, u'M');
    TfrmLauRelat relat(d);
    const QList<ElementoRelat>& el = relat.Elementos();
    for (const ElementoRelat& a : el) {
        QVERIFY2(a.Pontos >= 7 && a.Retangulo.left() >= 0 && a.Retangulo.right() <= TfrmLauRelat::kLargura,
                 qPrintable(a.Nome));
        for (const ElementoRelat& b : el)
            if (&a != &b && a.Pagina == b.Pagina && a.Especie == ElementoRelat::Rotulo && b.Especie == ElementoRelat::Rotulo &&
                !a.Texto.isEmpty() && !b.Texto.isEmpty())
                QVERIFY2(!a.Retangulo.intersects(b.Retangulo), qPrintable(a.Nome + u' ' + b.Nome));
    }
    QVERIFY(relat.Elemento(QStringLiteral("lblNomeMed"))->Pontos < 12);
    QCOMPARE(relat.Elemento(QStringLiteral("lblNomeMed"))->Texto, d.NomeMed);
}

void TestePagina::textos_data()
{
    QTest::addColumn<QString>("od");
    QTest::addColumn<QString>("os");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<bool>("gravado");
    QTest::addColumn<QString>("comentarios");
    QTest::addColumn<QString>("exames");
    QTest::addColumn<QString>("tipoMapa");
    QTest::addColumn<QString>("tituloComentarios");
    const QString od = CenarioLaudo::kOD, os = CenarioLaudo::kOS, nenhum = QStringLiteral("Nenhum");
    QTest::newRow("novo, esquerdo Nenhum") << od << nenhum << 0 << false << QStringLiteral("Retorno.")
                                           << od + QStringLiteral("  Nenhum") << "Mapa Tipo Axial" << "Comentários";
    QTest::newRow("novo tangencial, comentários em branco")
        << od << os << 1 << false << QStringLiteral("  \n ") << od + QStringLiteral("  ") + os << "Mapa Tipo Tangencial"
        << "";
    QTest::newRow("gravado tangencial, assistente em Axial")
        << od << os << 1 << true << QString() << od + QStringLiteral("  ") + os << "Mapa Tipo Tangencial" << "";
    QTest::newRow("gravado sem olho direito") << nenhum << os << 0 << true << QStringLiteral("Retorno.")
                                              << QStringLiteral("  ") + os << "Mapa Tipo Axial" << "Comentários";
}

// What PreparaRelat gathers: issue moment, examinations line, map type, doctor, comments.
void TestePagina::textos()
{
    QFETCH(QString, od);
    QFETCH(QString, os);
    QFETCH(int, tipo);
    QFETCH(bool, gravado);
    QFETCH(QString, comentarios);
    QFETCH(QString, exames);
    QFETCH(QString, tipoMapa);
    QFETCH(QString, tituloComentarios);
    CenarioRelat c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.Novo(od, os, tipo, comentarios);
    QVERIFY(e);
    QString emissao = QStringLiteral("07/01/06 09:05:03");
    if (gravado) {
        e = c.GravaEReabre(1 - tipo);
        QVERIFY(e && !e->Editavel());
        ConsultaBD& q = *c.DM().IBOperation;
        q.Fecha();
        q.DefineSQL(QStringLiteral("SELECT Data, Hora FROM Laudos"));
        q.Abre();
        emissao = QDateTime(q.Data(QStringLiteral("DATA")), q.Hora(QStringLiteral("HORA")))
                      .toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        q.Fecha();
    }
    const DadosRelat d = PreparaRelat(*e);
    QCOMPARE(d.DataEmissao, emissao);
    QCOMPARE(d.Exames, exames);
    QCOMPARE(d.TipoMapa, tipoMapa);
    QCOMPARE(d.NomeMed, QStringLiteral("Dr. A"));
    QCOMPARE(d.NomePac, QStringLiteral("Ana"));
    QCOMPARE(d.OD, RemoveMarcadores(e->reOD->toPlainText()));
    QVERIFY(!d.OD.contains(u'#') && !d.CO.isEmpty());
    TfrmLauRelat relat(d);
    QCOMPARE(relat.Elemento(QStringLiteral("QRLabel9"))->Texto, tituloComentarios);
    QCOMPARE(relat.Elemento(QStringLiteral("qrCM"))->Texto.trimmed(), tituloComentarios.isEmpty() ? QString() : comentarios);
    QCOMPARE(relat.Elemento(QStringLiteral("lblNomeMed2"))->Texto, QStringLiteral("Dr. A"));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

QTEST_MAIN(TestePagina)
#include "tst_pagina.moc"
