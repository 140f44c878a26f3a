#pragma once
// The printed report ("Laudo"): an A4 portrait page with 10 mm margins holding the clinic's
// heading, the patient, the responsible doctor, the examinations, the issue moment, the map
// type and the five texts of the report editor, signed at the foot. One layout is computed
// in millimetres from the corner of the printable area, and one routine draws it on any
// paged device (printer, print preview, PDF). A text longer than its box makes the box
// grow and the report continue on further pages, each carrying "Página n de m".

#include <QFont>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class TfrmLaudo;

// What the page shows, gathered from the editor, the wizard, the settings and the database.
struct DadosRelat {
    QString NomeCli, EnderecoCli, CidadeEst, Fone;
    QImage Logo;
    QString NomePac, NomeMed, Exames, DataEmissao, TipoMapa;
    QString CE, OD, OS, CO, CM;
    bool ComComentarios = false;
};

// Fills the page's contents for the report shown by the editor (new or stored).
DadosRelat PreparaRelat(TfrmLaudo& editor);

// Map-type line of a stored report, from its own text: "Mapa Tipo Tangencial", "Mapa Tipo
// Axial", or empty when the text names neither construction.
QString TipoMapaDoTexto(const QString& texto);

// The logo: "LogoClinica.bmp" from the root data folder, else from the program's folder;
// a null image when neither holds a readable picture.
QImage LogoClinica();

// One printed element: its name, text, rectangle (mm, printable area) and page.
struct ElementoRelat {
    enum Tipo { Rotulo, Caixa, Linha, Imagem, Faixa };
    QString Nome;
    QString Texto;
    QRectF Retangulo;
    int Pagina = 0;
    Tipo Especie = Rotulo;
    double Pontos = 10;
    bool Negrito = false;
    Qt::Alignment Alinhamento = Qt::AlignLeft;
    QStringList Linhas;          // a box's lines on this page
    QList<double> TopoLinhas;    // their tops, mm from the rectangle's top
};

class TfrmLauRelat : public QObject {
    Q_OBJECT
public:
    static constexpr double kMargem = 10.0;
    static constexpr double kLargura = 189.97;
    static constexpr double kAltura = 273.58;

    explicit TfrmLauRelat(const DadosRelat& dados, QObject* pai = nullptr);
    ~TfrmLauRelat() override;

    QString Titulo() const { return QStringLiteral("Laudo"); }
    const DadosRelat& Dados() const { return m_dados; }
    int Paginas() const { return m_paginas; }
    const QList<ElementoRelat>& Elementos() const { return m_elementos; }
    // The first piece of the element of that name (nullptr when the page has none).
    const ElementoRelat* Elemento(const QString& nome) const;

    // Draws one page on a painter whose origin is the printable area's corner.
    void DesenhaPagina(QPainter& p, int pagina) const;
    // Prints every page on the printer (A4, 10 mm margins); false when it cannot start.
    bool Imprime(QPrinter& impressora) const;
    // Writes the PDF; says "Não foi possível gravar o arquivo <caminho>." on failure and
    // leaves no file behind.
    bool ExportaPdf(const QString& caminho) const;

    // The font of every text (Arial, or its metric-compatible substitute).
    static QFont Fonte(double pontos, bool negrito);

private:
    void Monta();

    DadosRelat m_dados;
    QList<ElementoRelat> m_elementos;
    int m_paginas = 1;
};

// The default printer; replaced in tests by a printer writing a file. nullptr: no printer.
using FonteImpressora = std::function<std::unique_ptr<QPrinter>()>;
FonteImpressora DefineImpressoraPadrao(FonteImpressora fonte);

// "&Imprimir" and "Vi&sualizar Impressão" of the editor.
void ImprimeLaudo(TfrmLaudo& editor);
void VisualizaLaudo(TfrmLaudo& editor);
// Default name of the PDF saved from the preview.
QString NomePdfLaudo(const TfrmLaudo& editor);
// Registers the page as the editor's print and preview.
void RegistraImpressaoLaudo();
