#pragma once
// The map dispatch rules that need no window: which entry a single-map module gets, the
// header lines handed to the modules, the wizard lines of the multi-map modules and the
// minimum numbers of examinations, the chosen lines turned back into list captions, and
// the example lines. The navigator (UfrmExames) only wires them to its controls.

#include "config/URegistrosZR.h"
#include "examfiles/zr_exame.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <vector>

namespace Navegador {

// "Olho Direito" for "OD", "Olho Esquerdo" otherwise.
QString TextoOlho(const QString& olho);

// What the header of a stored examination is made of.
struct DadosCabecalho {
    QString nomePaciente;
    int codPaciente = 0;
    QString rg;
    QString olho; // "OD" or "OS"
    QDate data;
    QTime hora;
    QString medico;
    int codExame = 0;
    double indConf = 0;
};
// Single map: nine lines; codes "0000", the confidence index rounded halves to even.
QStringList CabecalhoMapa(const DadosCabecalho& d);
// Multi map: eight lines; the patient code plain, the confidence index in its shortest form.
QStringList CabecalhoMapas(const DadosCabecalho& d);
// An example on a single map.
QStringList CabecalhoExemploMapa(const QString& nomeExemplo);
// An example on a multi map: the eye from the example's caption, the date from the chosen
// line (the 11 characters before its time).
QStringList CabecalhoExemploMapas(const QString& legendaExemplo, const QString& linhaEscolhida);

// The example name of an item of the examples page: the caption itself for the ortho-k
// examples, otherwise the caption from its 6th character on ("Central01" for
// "OD - Central01").
QString NomeExemplo(const QString& legenda);

// The entry a single-map button leads to.
enum class EntradaMapa {
    Lente,            // "ProcessaLente" of a module whose name contains "LC"
    Aberrometria,     // "ProcessaAberrometria"
    ProcessaMapaOrto, // a stored ortho-k examination with its triple
    ExemploOrto,      // "ProcessaMapa" with 99.9999 three times and no pictures
    ProcessaMapa      // "ProcessaMapa" without a triple
};
EntradaMapa EscolheEntradaMapa(const QString& modulo, bool edicaoOrto, bool exemplos,
                               const QString& tipoExame, const QString& nomeExemplo);

// The module kinds of the multi-map buttons, by name.
bool ModuloDiferencial(const QString& modulo);
bool ModuloMultiOrto(const QString& modulo);
// At most this many examinations reach the module (0: no limit of the navigator).
int MaximoEscolhidos(const QString& modulo);

// The wizard lines of a patient's examinations, in list order, and the counted eyes.
struct ExameCandidato {
    QString legenda;   // list caption "OD - dd/MM/yyyy HH:mm:ss"
    QString tipoExame; // "T" or "O"
};
struct Candidatos {
    QStringList linhas;
    int direitos = 0;
    int esquerdos = 0;
    bool invalidos = false; // an examination of an unknown type met a module of no kind
};
Candidatos CandidatosWizard(const QString& modulo, const QList<ExameCandidato>& exames);
// Whether the counted eyes are enough for the module.
bool MinimoAtendido(const QString& modulo, int direitos, int esquerdos);

// A wizard line (without its type letter) turned back into a list caption; empty when the
// line does not begin with an eye text.
QString LegendaDaLinha(const QString& linha);

// What is wrong with the wizard's chosen lines: each must be one of the lines offered
// (compared without the type letter), chosen once, and no more than the module takes.
enum class ErroEscolha { Nenhum, Desconhecida, Repetida, Excesso };
ErroEscolha ConfereEscolhidas(const QStringList& escolhidas, const QStringList& oferecidas,
                              const QString& modulo);
// The line without its type letter for the modules whose lines carry one.
QString SemLetra(const QString& modulo, const QString& linha);

// The wizard lines of the examples of a class (list order): dates 10/01/2001 plus two days
// per item, time 00:00:00.
QStringList LinhasExemplo(const QString& modulo, const QStringList& itens);
// "MultiOrto" takes examples only from the ortho-k class.
bool ExemplosAceitos(const QString& modulo, const QStringList& linhas);

// Puts the settings record's ring count and cone type back when it goes out of scope,
// whatever way the display ends.
class GuardaAneisCone {
public:
    explicit GuardaAneisCone(TInfosZR& infos)
        : m_infos(infos), m_aneis(infos.NumAneis), m_cone(infos.TipoCone) {}
    ~GuardaAneisCone()
    {
        m_infos.NumAneis = m_aneis;
        m_infos.TipoCone = m_cone;
    }
    GuardaAneisCone(const GuardaAneisCone&) = delete;
    GuardaAneisCone& operator=(const GuardaAneisCone&) = delete;

private:
    TInfosZR& m_infos;
    int32_t m_aneis;
    QString m_cone;
};

// The examinations of one multi-map display as the modules take them: one element per
// chosen examination in each array.
class ConjuntoMapas {
public:
    void Dimensiona(int n);
    int Quantidade() const { return int(m_dioptrias.size()); }
    TMatrizAngAnel& Dioptrias(int i) { return m_dioptrias[size_t(i)].v; }
    TMatrizAngAnel& Posicoes(int i) { return m_posicoes[size_t(i)].v; }
    TAneisMeridiano& Aneis(int i) { return m_aneis[size_t(i)].v; }
    TDadosPupila& Pupila(int i) { return m_pupilas[size_t(i)].v; }
    // Sag, Div, Raio and the fourth value of element i.
    std::array<double, 4>& ValoresOrto(int i) { return m_orto[size_t(i)]; }

    // The arrays as the modules see them (valid until the next Dimensiona).
    const TMatrizesAngAnel* ArrayDioptrias() const { return &m_arrD; }
    const TMatrizesAngAnel* ArrayPosicoes() const { return &m_arrP; }
    const TMatrizesAng* ArrayAneis() const { return &m_arrA; }
    const TMatPup* ArrayPupilas() const { return &m_arrPup; }

private:
    template <typename T> struct Elemento {
        T v;
    };
    std::vector<Elemento<TMatrizAngAnel>> m_dioptrias, m_posicoes;
    std::vector<Elemento<TAneisMeridiano>> m_aneis;
    std::vector<Elemento<TDadosPupila>> m_pupilas;
    std::vector<std::array<double, 4>> m_orto;
    TMatrizesAngAnel m_arrD{}, m_arrP{};
    TMatrizesAng m_arrA{};
    TMatPup m_arrPup{};
};

} // namespace Navegador
