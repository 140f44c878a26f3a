#pragma once
// The tools form's rules without widgets: the options it edits as they go to the settings
// file (in the order they are written), the checks of the typed numbers, the refresh of the
// in-memory record after saving, the number formats of the database summary and the desktop
// tools of the applications list.

#include "config/UBIniSettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct TInfosZR;

namespace Ferramentas {

// Entries of the option lists, in their order.
QStringList CoresCeratPontual();      // five colours and two empty entries
QStringList MapasPadrao();            // "Axial", "Tangencial"
QStringList TiposCeratometria();      // "Simulada", "Convencional"

// Everything the form writes, as the controls hold it.
struct Opcoes {
    QString nome, endereco, cidadeEst, telefone;
    bool opt1 = false, opt2 = false, opt3 = false;
    QString incMap;                   // as typed
    bool personalizado = false;       // "Personalizado" chosen: AUTOINCMAP
    bool autoAneis = false;
    int indiceConf = 0;
    bool autoExame = false;
    bool salvarImagemCaptura = false;
    QString mapaPadrao;               // chosen item's text, empty when none
    bool imagemCentral = false, imagemLateral = false;
    QString tipoCeratometria;
    int qualidadeImagem = 0;
    QString idioma;
    QString tvlCentral, tIncremento;  // as typed
    bool autoPCaptura = false;
    QString delayAutoPCaptura;        // as typed
    bool exibeGrade = false, escalaISO = false, exibeCeratPontual = false;
    QString corCeratPontual;
};

// The controls' values taken from the in-memory record (fixed increment with two decimals,
// the confidence index rounded to an integer).
Opcoes OpcoesDe(const TInfosZR& infos);

// A typed field that is no number: the field's caption and what it holds.
struct CampoInvalido {
    QString campo;
    QString valor;
};
// Checks the typed numbers and puts them in the form they are written: an empty fixed
// increment becomes "0.50", a decimal comma becomes a point; the increment must be a positive
// real, the scan tolerances integers and the capture delay a non-negative integer. The first
// bad field is returned and nothing is changed.
std::optional<CampoInvalido> ValidaOpcoes(Opcoes& opcoes);
// The warning shown for a bad field.
QString MensagemCampoInvalido(const CampoInvalido& campo);

// One key as written.
struct ChaveGravada {
    TipoValorIni tipo;
    QString secao, chave;
    bool valorBool;
    QString texto;
};
// The keys in the order they are written.
QList<ChaveGravada> Chaves(const Opcoes& opcoes);
// Writes them in that order; raises ErroES when the file cannot be written.
void Grava(TBIniSettings& ini, const Opcoes& opcoes);
// After LoadOptions: the record takes every value the form writes, except the three
// clinic flags (kept in memory as they were).
void AtualizaInfos(const TBIniSettings& ini, TInfosZR& infos);

// Database summary numbers: at least four digits with leading zeros.
QString Formata0000(int n);
// The size of the database file in mebibytes ("0.000" + " MBytes"), "0000 MBytes" without it.
QString TamanhoBanco(const QString& arquivo);
// "Reinicialização do backup " + count + " vez(es)".
QString TextoReinicializacao(int vezes);

// The applications list, in its order.
QStringList Aplicativos();
enum Aplicativo { Sistema, Explorer, PainelControle, Impressoras, Modem, DataHora, DirectCD, Regionais, Cameras };
// The desktop tool of an item: `pastaDados` is the root data folder (the file manager opens
// it), `directCd` the program named by the backup control file, `pastaPrograma` the
// installation's program folder (the camera tool lives there).
struct Comando {
    QString programa;
    QStringList argumentos;
};
Comando ComandoAplicativo(Aplicativo item, const QString& pastaDados, const QString& directCd,
                          const QString& pastaPrograma);

} // namespace Ferramentas
