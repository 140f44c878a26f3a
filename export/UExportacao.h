#pragma once
// One run of "Exportar exame": the destinations the user chose, carried out in order, and
// the closing text that says where the data went. Without windows; the dialog of the
// navigator fills the request and shows the progress and the text.

#include "export/UEnvioDicom.h"
#include "export/UExportaDicom.h"
#include "export/UExportaNumerica.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

struct PedidoExportacao {
    bool numeros = true;          // JSON and CSV into the folder
    bool identificacao = false;   // "Incluir identificação do paciente"
    bool mapa = true;             // DICOM objects
    bool foto = true;
    bool laudo = false;
    QString arquivoLaudo;         // the report PDF saved from the print preview
    bool dicomPasta = false;      // DICOM files into the folder
    bool dicomdir = false;        // ... laid out for a CD or USB stick
    bool enviarPacs = false;      // C-STORE to the archive
    QString pasta;
};

// What the examination gives the export.
struct ExameParaExportar {
    CabecalhoExportacao cabecalho;
    IdentificacaoExportada identificacao;
    DadosDicom dicom;
    QString prefixo;       // of the data files
    QByteArray jpegCentral;
    QImage mapa;
};

// The first thing that stops the request, or an empty text: nothing chosen, no folder for
// what goes to a folder, no report file, an archive not configured.
QString ProblemaPedido(const PedidoExportacao& pedido, const ConfiguracaoPacs& pacs);

// Carries the request out: numbers, then the DICOM objects to the folder, then to the
// archive. progresso(step, total, text) is called before each step. Returns the closing
// text; raises ErroSistema with the text of the step that failed (the steps done before it
// are named in the text too).
QString ExecutaExportacao(const PedidoExportacao& pedido, const ExameParaExportar& exame,
                          const ConfiguracaoPacs& pacs,
                          const std::function<void(int, int, const QString&)>& progresso = {});
