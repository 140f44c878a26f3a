// The printed report read back from real PDF files with poppler: words and their boxes,
// rendered pixels, fonts, page flow, reprint, the print path and the preview.

#include "tests/reports/UCenarioRelat.h"

#include <QAction>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr double kPtPorMm = 72.0 / 25.4;

struct Palavra {
    QString texto;
    QRectF caixa; // points, from the page's top-left corner
    int pagina;
};

QByteArray Executa(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

QList<Palavra> Palavras(const QString& pdf)
{
    const QString xml = QString::fromUtf8(Executa(QStringLiteral("pdftotext"), {"-bbox-layout", pdf, "-"}));
    QList<Palavra> r;
    static const QRegularExpression re(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int pagina = -1;
    for (auto it = re.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == QStringLiteral("<page ")) {
            ++pagina;
            continue;
        }
        QString t = m.captured(5);
        t.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        t.replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        t.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        r << Palavra{t, QRectF(x0, y0, m.captured(3).toDouble() - x0, m.captured(4).toDouble() - y0), pagina};
    }
    return r;
}

QString Fluxo(const QList<Palavra>& palavras)
{
    QStringList t;
    for (const Palavra& p : palavras)
        t << p.texto;
    return u' ' + t.join(u' ') + u' ';
}

QString Fluxo(const QString& texto)
{
    return u' ' + texto.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).join(u' ') + u' ';
}

const Palavra* Acha(const QList<Palavra>& palavras, const QString& texto, int pagina = 0)
{
    for (const Palavra& p : palavras)
        if (p.texto == texto && p.pagina == pagina)
            return &p;
    return nullptr;
}

int Paginas(const QString& pdf)
{
    static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
    return re.match(QString::fromUtf8(Executa(QStringLiteral("pdfinfo"), {pdf}))).captured(1).toInt();
}

QImage Pagina1(const QString& pdf, const QString& pasta)
{
    Executa(QStringLiteral("pdftoppm"), {"-r", "150", "-f", "1", "-l", "1", "-png", "-singlefile", pdf, pasta + "/p"});
    return QImage(pasta + QStringLiteral("/p.png"));
}

void GravaLogo(const QImage& img) { img.save(CaminhoEm(PathsZR.DirZR, QStringLiteral("LogoClinica.bmp")), "BMP"); }

QString Palavroes(int caracteres, const QString& prefixo)
{
    QString t;
    for (int i = 0; t.size() < caracteres; ++i)
        t += prefixo + QString::number(i) + (i % 23 == 22 ? u'\n' : u' ');
    return t.left(caracteres);
}

} // namespace

class TestePdf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void palavras();
    void logo_data();
    void logo();
    void fluxo_data();
    void fluxo();
    void reimpressao();
    void impressao();
    void visualizacao();
    void caminhoRuim_data();
    void caminhoRuim();

private:
    QTemporaryDir m_dir;
};

void TestePdf::initTestCase()
{
    QVERIFY(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty());
}

// Words of a new report with clinic data and logo: each text printed once and in order,
// the heading lines at their places, no two words overlapping, nothing in the margins,
// every font embedded, the rule and the title band where they belong.
void TestePdf::palavras()
{
    CenarioRelat c;
    QVERIFY(c.Valido());
    c.Clinica({QStringLiteral("Clínica Visão Clara"), QStringLiteral("Rua das Flores, 120"),
               QStringLiteral("Campinas - SP"), QStringLiteral("(19) 3333-4444")});
    GravaLogo(QImage(100, 80, QImage::Format_RGB32));
    c.Prepara();
    TfrmLaudo* e = c.Novo(CenarioLaudo::kOD, CenarioLaudo::kOS, 1,
                          QStringLiteral("Ação & <b>teste</b> 20º d'água\nRetorno em 1 ano."));
    QVERIFY(e);
    const DadosRelat d = PreparaRelat(*e);
    TfrmLauRelat relat(d);
    const QString pdf = m_dir.filePath(QStringLiteral("palavras.pdf"));
    QVERIFY(relat.ExportaPdf(pdf));
    QCOMPARE(Paginas(pdf), 1);
    const QList<Palavra> ps = Palavras(pdf);
    const QString fluxo = Fluxo(ps);
    QString ordem;
    for (const QString& t : {d.CE, d.OD, d.OS, d.CO, d.CM}) {
        const QString f = Fluxo(t);
        QVERIFY2(fluxo.indexOf(f) >= 0 && fluxo.indexOf(f) == fluxo.lastIndexOf(f), qPrintable(f));
        QVERIFY(fluxo.indexOf(f) > fluxo.indexOf(ordem));
        ordem = f;
    }
    QVERIFY(fluxo.contains(QStringLiteral(" Ação & <b>teste</b> 20º d'água Retorno ")));

    // Lines at their places (left edge, and top within a millimetre of the label's top).
    struct Lugar { QString palavra; double x, y; };
    for (const Lugar& l : {Lugar{QStringLiteral("Ana"), 3.70, 33.34}, Lugar{QStringLiteral("Clínica"), 33.60, 3.44},
                           Lugar{QStringLiteral("Rua"), 33.60, 10.32}, Lugar{QStringLiteral("Campinas"), 33.60, 15.08},
                           Lugar{QStringLiteral("(19)"), 33.60, 19.84}, Lugar{QStringLiteral("Atenciosamente"), 156.37, 248.97}}) {
        const Palavra* p = Acha(ps, l.palavra);
        QVERIFY2(p, qPrintable(l.palavra));
        QVERIFY2(qAbs(p->caixa.left() / kPtPorMm - 10 - l.x) <= 1.0, qPrintable(l.palavra));
        QVERIFY2(qAbs(p->caixa.top() / kPtPorMm - 10 - l.y) <= 1.0, qPrintable(l.palavra));
    }
    // Both doctor lines: "Dr. A" beside "Responsável:" and right-aligned in the signature.
    QList<qsizetype> medicos;
    for (qsizetype i = 0; i + 1 < ps.size(); ++i)
        if (ps[i].texto == QStringLiteral("Dr.") && ps[i + 1].texto == QStringLiteral("A"))
            medicos << i;
    QCOMPARE(medicos.size(), 2);
    std::sort(medicos.begin(), medicos.end(), [&](qsizetype a, qsizetype b) { return ps[a].caixa.top() < ps[b].caixa.top(); });
    QVERIFY(qAbs(ps[medicos[0]].caixa.left() / kPtPorMm - 10 - 30.16) <= 1.0);
    QVERIFY(qAbs(ps[medicos[0]].caixa.top() / kPtPorMm - 10 - 38.89) <= 1.0);
    QVERIFY(qAbs(ps[medicos[1] + 1].caixa.right() / kPtPorMm - 10 - 186.53) <= 1.0);
    QVERIFY(qAbs(ps[medicos[1]].caixa.top() / kPtPorMm - 10 - 262.73) <= 1.0);

    for (const Palavra& a : ps) {
        QVERIFY2(a.caixa.left() >= 10 * kPtPorMm - 0.1 && a.caixa.right() <= 200 * kPtPorMm + 0.1 &&
                     a.caixa.top() >= 10 * kPtPorMm - 0.1 && a.caixa.bottom() <= 287 * kPtPorMm + 0.1,
                 qPrintable(a.texto));
        for (const Palavra& b : ps)
            if (&a != &b)
                QVERIFY2(!a.caixa.adjusted(0.1, 0.1, -0.1, -0.1).intersects(b.caixa), qPrintable(a.texto + u' ' + b.texto));
    }

    const QStringList fontes = QString::fromUtf8(Executa(QStringLiteral("pdffonts"), {pdf})).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fontes.isEmpty());
    for (const QString& f : fontes)
        QVERIFY2(f.split(u' ', Qt::SkipEmptyParts).value(f.split(u' ', Qt::SkipEmptyParts).size() - 5) == QStringLiteral("yes"),
                 qPrintable(f));

    // Pixels at 150 dpi: the rule's row and the band behind the title.
    const QImage img = Pagina1(pdf, m_dir.path());
    QCOMPARE(img.width(), qRound(210 / 25.4 * 150));
    auto px = [](double mm) { return int(mm / 25.4 * 150); };
    QVERIFY(qGray(img.pixel(px(100), px(10 + 29.63 + 0.26))) < 80);
    QVERIFY(qGray(img.pixel(px(100), px(10 + 29.63 - 1))) > 200 && qGray(img.pixel(px(100), px(10 + 29.63 + 1.5))) > 200);
    QCOMPARE(QColor(img.pixel(px(10 + 10), px(10 + 61))), QColor(0xEE, 0xEE, 0xEE));
    QCOMPARE(QColor(img.pixel(px(10 + 180), px(10 + 67.5))), QColor(0xEE, 0xEE, 0xEE));
    QVERIFY(c.msgs.Inesperadas().isEmpty());
}

void TestePdf::logo_data()
{
    QTest::addColumn<QByteArray>("arquivo"); // empty: a picture of the size given
    QTest::addColumn<QSize>("tamanho");
    QTest::addColumn<QSizeF>("esperado"); // mm; empty: no logo
    QTest::newRow("100 x 80") << QByteArray() << QSize(100, 80) << QSizeF(26.46, 21.17);
    QTest::newRow("400 x 300") << QByteArray() << QSize(400, 300) << QSizeF(26.46, 19.85);
    QTest::newRow("sem arquivo") << QByteArray("-") << QSize() << QSizeF();
    QTest::newRow("texto") << QByteArray("isto não é uma imagem") << QSize() << QSizeF();
    QTest::newRow("truncado") << QByteArray("BM\x36\x10\x0e\x00\x00\x00\x00\x00\x36\x00\x00\x00", 14) << QSize()
                              << QSizeF();
}

// The logo centred in its square keeping its proportions; a missing or damaged file leaves
// the square empty and every other element in place.
void TestePdf::logo()
{
    QFETCH(QByteArray, arquivo);
    QFETCH(QSize, tamanho);
    QFETCH(QSizeF, esperado);
    CenarioRelat c;
    QVERIFY(c.Valido());
    const QString caminho = CaminhoEm(PathsZR.DirZR, QStringLiteral("LogoClinica.bmp"));
    if (arquivo.isEmpty()) {
        QImage img(tamanho, QImage::Format_RGB32);
        img.fill(Qt::red);
        GravaLogo(img);
    } else if (arquivo != "-") {
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(arquivo);
    }
    DadosRelat d;
    d.NomePac = QStringLiteral("Ana");
    d.Logo = LogoClinica();
    QCOMPARE(d.Logo.isNull(), esperado.isEmpty());
    TfrmLauRelat relat(d);
    const QString pdf = m_dir.filePath(QStringLiteral("logo.pdf"));
    QVERIFY(relat.ExportaPdf(pdf));
    const QImage img = Pagina1(pdf, m_dir.path());
    QRect vermelho;
    for (int y = 0; y < img.height() / 4; ++y)
        for (int x = 0; x < img.width() / 4; ++x) {
            const QColor cor(img.pixel(x, y));
            if (cor.red() > 200 && cor.green() < 60 && cor.blue() < 60)
                vermelho |= QRect(x, y, 1, 1);
        }
    const double mmPorPx = 25.4 / 150;
    if (esperado.isEmpty()) {
        QVERIFY(vermelho.isNull());
    } else {
        QVERIFY(qAbs(vermelho.width() * mmPorPx - esperado.width()) <= 0.5);
        QVERIFY(qAbs(vermelho.height() * mmPorPx - esperado.height()) <= 0.5);
        const QPointF centro = QRectF(vermelho).center() * mmPorPx;
        QVERIFY(qAbs(centro.x() - (10 + 3.70 + 26.46 / 2)) <= 0.5);
        QVERIFY(qAbs(centro.y() - (10 + 2.12 + 26.46 / 2)) <= 0.5);
    }
    QVERIFY(qAbs(relat.Elemento(QStringLiteral("lblNomePac"))->Retangulo.top() - 33.34) < 0.01);
}

void TestePdf::fluxo_data()
{
    QTest::addColumn<int>("comentarios");
    QTest::addColumn<int>("conclusao");
    QTest::addColumn<int>("paginas"); // 0: as many as needed, more than one
    QTest::newRow("comentários que não cabem") << 1500 << 0 << 2;
    QTest::newRow("10.000 e 3.000 caracteres") << 10000 << 3000 << 0;
}

// Long texts flow onto further pages: every word once and in order, the page number at the
// foot of each page, the signature after the last box on the last page.
void TestePdf::fluxo()
{
    QFETCH(int, comentarios);
    QFETCH(int, conclusao);
    QFETCH(int, paginas);
    CenarioRelat c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.Novo(CenarioLaudo::kOD, CenarioLaudo::kOS, 0, Palavroes(comentarios, QStringLiteral("cm")));
    QVERIFY(e);
    if (conclusao > 0)
        e->reCO->setPlainText(Palavroes(conclusao, QStringLiteral("co")));
    const DadosRelat d = PreparaRelat(*e);
    TfrmLauRelat relat(d);
    const QString pdf = m_dir.filePath(QStringLiteral("fluxo.pdf"));
    QVERIFY(relat.ExportaPdf(pdf));
    const int n = Paginas(pdf);
    QCOMPARE(n, relat.Paginas());
    QVERIFY(paginas ? n == paginas : n > 2);
    const QList<Palavra> ps = Palavras(pdf);
    const QString fluxo = Fluxo(ps);
    // The generated words are all different: each printed once, in order.
    static const QRegularExpression gerada(QStringLiteral("^c[mo]\\d+$"));
    const QStringList palavras = (d.CO + u' ' + d.CM).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
                                     .filter(gerada);
    QVERIFY(palavras.size() > 100);
    qsizetype antes = 0;
    for (const QString& p : palavras) {
        const QString w = u' ' + p + u' ';
        QVERIFY2(fluxo.count(w) == 1, qPrintable(p));
        QVERIFY2(fluxo.indexOf(w) > antes, qPrintable(p));
        antes = fluxo.indexOf(w);
    }
    for (int p = 0; p < n; ++p) {
        const Palavra* pagina = Acha(ps, QString::number(p + 1), p);
        QVERIFY(Acha(ps, QStringLiteral("Página"), p) && pagina);
        QVERIFY(pagina->caixa.top() / kPtPorMm > 270);
        if (p > 0)
            QVERIFY(Acha(ps, QStringLiteral("(continuação)"), p) && Acha(ps, QStringLiteral("Ana"), p));
    }
    QVERIFY(Acha(ps, QStringLiteral("Atenciosamente"), n - 1));
    QVERIFY(Acha(ps, QStringLiteral("Dr."), n - 1));
    for (const Palavra& a : ps)
        for (const Palavra& b : ps)
            if (&a != &b && a.pagina == b.pagina)
                QVERIFY2(!a.caixa.adjusted(0.1, 0.1, -0.1, -0.1).intersects(b.caixa), qPrintable(a.texto + u' ' + b.texto));
}

// A new report printed, then saved, reopened and printed again: the same words but the
// issue moment, and "Nenhum" for the eye without examination.
void TestePdf::reimpressao()
{
    CenarioRelat c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.Novo(CenarioLaudo::kOD, QStringLiteral("Nenhum"), 1, QStringLiteral("Retorno em um ano."));
    QVERIFY(e);
    const QString novo = m_dir.filePath(QStringLiteral("novo.pdf")), gravado = m_dir.filePath(QStringLiteral("gravado.pdf"));
    QVERIFY(TfrmLauRelat(PreparaRelat(*e)).ExportaPdf(novo));
    e = c.GravaEReabre(0);
    QVERIFY(e && !e->Editavel());
    QVERIFY(TfrmLauRelat(PreparaRelat(*e)).ExportaPdf(gravado));
    auto semData = [](const QString& pdf) {
        QStringList r;
        static const QRegularExpression data(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d(\\d\\d)?$|^\\d\\d:\\d\\d:\\d\\d$"));
        for (const Palavra& p : Palavras(pdf))
            if (p.texto != QStringLiteral("Nenhum") && !(p.caixa.top() / kPtPorMm < 52 && data.match(p.texto).hasMatch()))
                r << p.texto;
        return r;
    };
    const QStringList a = semData(novo), b = semData(gravado);
    QVERIFY(a.size() > 100);
    QCOMPARE(b, a);
    QVERIFY(Fluxo(Palavras(novo)).contains(QStringLiteral(" 07/01/06 09:05:03 ")));
    QVERIFY(Fluxo(Palavras(gravado)).contains(QStringLiteral(" Tipo Tangencial ")));
}

// Printing into a file-backed printer gives the text of the PDF export; without a printer
// the user is told and nothing is printed.
void TestePdf::impressao()
{
    CenarioRelat c;
    QVERIFY(c.Valido());
    c.Prepara();
    TfrmLaudo* e = c.Novo(CenarioLaudo::kOD, CenarioLaudo::kOS, 0, QStringLiteral("Retorno."));
    QVERIFY(e);
    const QString impresso = m_dir.filePath(QStringLiteral("impresso.pdf"));
    const QString exportado = m_dir.filePath(QStringLiteral("exportado.pdf"));
    QFile::remove(impresso);
    auto anterior = DefineImpressoraPadrao([impresso] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(impresso);
        return p;
    });
    e->btnAdd->click();
    QVERIFY(TfrmLauRelat(PreparaRelat(*e)).ExportaPdf(exportado));
    QCOMPARE(Executa(QStringLiteral("pdftotext"), {"-layout", impresso, "-"}),
             Executa(QStringLiteral("pdftotext"), {"-layout", exportado, "-"}));
    QVERIFY(Fluxo(Palavras(impresso)).contains(QStringLiteral(" Retorno. ")));

    QFile::remove(impresso);
    DefineImpressoraPadrao([] { return std::unique_ptr<QPrinter>(); });
    c.msgs.Responde(RespostaMensagem::Ok);
    e->sbtImprimirClick();
    QCOMPARE(c.msgs.Textos(),
             QStringList{"Nenhuma impressora disponível. Use Visualizar Impressão para salvar o laudo em PDF."});
    QCOMPARE(c.msgs.Registros().constLast().titulo, QStringLiteral("Informação"));
    QCOMPARE(c.msgs.Registros().constLast().icone, IconeMensagem::Informacao);
    QVERIFY(!QFile::exists(impresso));
    DefineImpressoraPadrao(anterior);
}

// The preview opens modally with the report's pages; "Salvar PDF" proposes the report's
// name and writes the file; the layout goes with the preview.
void TestePdf::visualizacao()
{
    for (int comentarios : {0, 1500}) {
        CenarioRelat c;
        QVERIFY(c.Valido());
        c.Prepara();
        TfrmLaudo* e = c.Novo(CenarioLaudo::kOD, CenarioLaudo::kOS, 0, Palavroes(comentarios, QStringLiteral("cm")));
        QVERIFY(e);
        const QString pdf = m_dir.filePath(QStringLiteral("visualizado.pdf"));
        QFile::remove(pdf);
        int paginas = -1;
        bool comLayout = false;
        QString proposto;
        auto anterior = DefineAberturaModal([&](QDialog* d) {
            if (auto* f = qobject_cast<QFileDialog*>(d)) {
                proposto = QFileInfo(f->selectedFiles().value(0)).fileName();
                f->selectFile(pdf);
                return int(QDialog::Accepted);
            }
            auto* v = qobject_cast<QPrintPreviewDialog*>(d);
            if (!v)
                return int(QDialog::Rejected);
            v->show();
            QCoreApplication::processEvents();
            if (auto* w = v->findChild<QPrintPreviewWidget*>())
                paginas = w->pageCount();
            comLayout = v->findChild<TfrmLauRelat*>() != nullptr;
            if (auto* salvar = v->findChild<QAction*>(QStringLiteral("actSalvarPdf")))
                salvar->trigger();
            return int(QDialog::Rejected);
        });
        e->btnAlt->click();
        DefineAberturaModal(anterior);
        QCOMPARE(paginas, comentarios ? 2 : 1);
        QVERIFY(comLayout);
        QVERIFY(!e->findChild<TfrmLauRelat*>());
        QCOMPARE(proposto, QStringLiteral("Laudo - Ana.pdf"));
        QCOMPARE(Paginas(pdf), paginas);
        QVERIFY(c.msgs.Inesperadas().isEmpty());
    }
}

void TestePdf::caminhoRuim_data()
{
    QTest::addColumn<bool>("somenteLeitura");
    QTest::newRow("pasta inexistente") << false;
    QTest::newRow("pasta somente leitura") << true;
}

// A PDF that cannot be written is reported, and no file is left behind.
void TestePdf::caminhoRuim()
{
    QFETCH(bool, somenteLeitura);
    QTemporaryDir raiz;
    QString pasta = raiz.filePath(QStringLiteral("nao existe"));
    if (somenteLeitura) {
        pasta = raiz.filePath(QStringLiteral("protegida"));
        QVERIFY(QDir().mkpath(pasta));
        QFile::setPermissions(pasta, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(pasta).isWritable())
            QSKIP("running with rights over every folder");
    }
    const QString pdf = pasta + QStringLiteral("/Laudo.pdf");
    MensagensRoteiro msgs;
    msgs.Responde(RespostaMensagem::Ok);
    DadosRelat d;
    d.NomePac = QStringLiteral("Ana");
    QVERIFY(!TfrmLauRelat(d).ExportaPdf(pdf));
    QCOMPARE(msgs.Textos(), QStringList{QStringLiteral("Não foi possível gravar o arquivo ") + pdf + u'.'});
    QCOMPARE(msgs.Registros().constLast().titulo, QStringLiteral("Informação"));
    QCOMPARE(msgs.Registros().constLast().icone, IconeMensagem::Erro);
    QVERIFY(QDir(pasta).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
    QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_MAIN(TestePdf)
#include "tst_pdf.moc"
