#include "navigator/UBuscaPacientes.h"

#include "data/UDMPrincipal.h"
#include "data/UOperacaoBD.h"
#include "examfiles/UArquivosExame.h"
#include "navigator/UNavegador.h"

#include <QRegularExpression>
#include <QStringEncoder>

namespace BuscaPacientes {

namespace {

// The longest column a search looks into (diagnosis and observation).
constexpr int kMaiorColuna = 240;

// The bound pattern, wide enough for the longest text and its wildcards.
const QString kPadrao = QStringLiteral("CAST(:Padrao AS VARCHAR(255))");
const QString kPadraoMaiusculo = QStringLiteral("UPPER(CAST(:Padrao AS VARCHAR(255)))");
// The names beginning with the typed text up to its first wildcard: the index on UPPER(Nome)
// finds them, and the LIKE keeps the pattern's own meaning.
const QString kInicioNome = QStringLiteral("UPPER(Pacientes.Nome) STARTING WITH UPPER(CAST(:Prefixo AS VARCHAR(255))) AND ");
// The result of a search that looks at every patient: sorted after the filter (the few hits),
// rather than walking the name index and reading every patient in its order.
const QString kOrdemResultado = QStringLiteral(" ORDER BY Nome COLLATE WIN_PTBR ASC, Codigo ASC");
// A part of a name many patients share ("maria", "silva") is the opposite case: walking the
// name index gives the names in order and stops as soon as a screenful is found. The first
// patients stored tell which case a typed part is.
const QString kOrdemIndiceNomes = QStringLiteral(" ORDER BY Nome COLLATE WIN_PTBR ASC");
constexpr int kAmostraNomes = 4096;
constexpr int kFracaoComum = 8; // one patient in eight

// The doctor's patients, each once: the distinct patient codes of his examinations first.
const QString kPacientesDoMedico = QStringLiteral(
    "FROM (SELECT DISTINCT Exames.CodPaciente FROM Exames WHERE Exames.CodResp=:CodigoMedico) E "
    "JOIN Pacientes ON E.CodPaciente = Pacientes.Codigo ");

// The result grid shows its first rows as soon as a screenful is found: filtered searches
// (a doctor's patients, parts of names) may have to look far for each further row.
constexpr int kLinhasPorVez = 48;

ConsultaBD& ConsultaBusca(TDMPrincipal& dm)
{
    ConsultaBD& q = *dm.IBQueryBuscaPac;
    q.Fecha();
    q.DefineLote(kLinhasPorVez);
    return q;
}

bool ComMedico(const QString& medico)
{
    return !medico.isEmpty() && medico != Navegador::kTodos && medico != Navegador::kSemExames;
}

bool Maiusculas(int tipo) { return tipo == PrimeiroNome || tipo == ParteNome || tipo == Diagnostico || tipo == Observacao; }

// The pattern's beginning before its first wildcard.
QString Prefixo(const QString& padrao)
{
    static const QRegularExpression curinga(QStringLiteral("[%_]"));
    const qsizetype i = padrao.indexOf(curinga);
    return i < 0 ? padrao : padrao.left(i);
}

// A whole number the examination code can be read as.
bool NumeroInteiro(const QString& texto, int& numero)
{
    static const QRegularExpression inteiro(QStringLiteral("^[0-9]{1,10}$"));
    if (!inteiro.match(texto).hasMatch())
        return false;
    bool ok = false;
    numero = texto.toInt(&ok);
    return ok;
}

bool ParteComum(TDMPrincipal& dm, const QString& padrao)
{
    ConsultaBD& op = PreparaOperacao(
        dm, QStringLiteral("SELECT COUNT(*) AS Lidos, SUM(IIF(UPPER(P.Nome) LIKE ") + kPadraoMaiusculo +
                QStringLiteral(", 1, 0)) AS Achados FROM (SELECT FIRST %1 Nome FROM Pacientes) P").arg(kAmostraNomes));
    op.DefineParametro(QStringLiteral("Padrao"), padrao);
    op.Abre();
    const int achados = op.Inteiro(QStringLiteral("ACHADOS"));
    const bool comum = achados > 0 && achados * kFracaoComum >= op.Inteiro(QStringLiteral("LIDOS"));
    op.Fecha();
    return comum;
}

} // namespace

QStringList LegendasTipos()
{
    return {QStringLiteral("&Primeiro Nome do Pac."), QStringLiteral("Parte do &Nome do Pac."),
            QStringLiteral("&Código do Paciente"),    QStringLiteral("&RG do Paciente"),
            QStringLiteral("Códi&go do Exame"),       QStringLiteral("&Diagnóstico do Exame"),
            QStringLiteral("&Observação do Exame")};
}

QString Padrao(int tipo, const QString& texto)
{
    const QString t = Maiusculas(tipo) ? MaiusculasAcentuadas(texto) : texto;
    switch (tipo) {
    case PrimeiroNome:
        return t + QLatin1Char('%');
    case CodigoPaciente:
    case CodigoExame:
        return t;
    default:
        return QLatin1Char('%') + t + QLatin1Char('%');
    }
}

bool TextoPesquisavel(const QString& texto)
{
    if (texto.size() > kMaiorColuna)
        return false;
    QStringEncoder cp1252("windows-1252", QStringEncoder::Flag::Stateless);
    const QByteArray bytes = cp1252.encode(texto);
    Q_UNUSED(bytes);
    return !cp1252.hasError();
}

QString SqlPrimeiroNome(bool comMedico)
{
    // The doctor's patients by the names first: the few names that begin with the text are
    // checked against the patient's own examinations (the doctor's many are not read).
    if (comMedico)
        return QStringLiteral("SELECT Pacientes.Codigo, Pacientes.Nome, Pacientes.RG FROM Pacientes WHERE ") + kInicioNome +
               QStringLiteral("UPPER(Pacientes.Nome) LIKE ") + kPadraoMaiusculo +
               QStringLiteral(" AND EXISTS (SELECT 1 FROM Exames WHERE Exames.CodPaciente = Pacientes.Codigo AND "
                              "Exames.CodResp + 0 = :CodigoMedico) ORDER BY Pacientes.Nome COLLATE WIN_PTBR ASC");
    return QStringLiteral("SELECT * FROM Pacientes WHERE ") + kInicioNome + QStringLiteral("UPPER(Nome) LIKE ") +
           kPadraoMaiusculo + QStringLiteral(" ORDER BY Nome COLLATE WIN_PTBR ASC");
}

QString SqlCarregaBusca(bool comMedico)
{
    if (comMedico)
        return QStringLiteral("SELECT Pacientes.Codigo, Pacientes.Nome, Pacientes.RG, Pacientes.DtCadastro, "
                              "Pacientes.UltimoExame, Pacientes.TotalExames ") +
               kPacientesDoMedico + QStringLiteral("ORDER BY Pacientes.Nome COLLATE WIN_PTBR ASC");
    return QStringLiteral("SELECT * FROM Pacientes ORDER BY Nome COLLATE WIN_PTBR ASC");
}

QString SqlLocalizar(int tipo, bool codigoNumero, bool parteComum)
{
    const QString pacientes = QStringLiteral("SELECT Codigo,Nome,Rg FROM Pacientes WHERE ");
    const QString porExame = QStringLiteral(
        "SELECT DISTINCT Pacientes.Codigo, Pacientes.Nome, Pacientes.Rg FROM Exames JOIN Pacientes ON "
        "Exames.CodPaciente = Pacientes.Codigo WHERE ");
    switch (tipo) {
    case ParteNome:
        return pacientes + QStringLiteral("UPPER(Nome) LIKE ") + kPadraoMaiusculo +
               (parteComum ? kOrdemIndiceNomes : kOrdemResultado);
    case CodigoPaciente:
        if (codigoNumero)
            return pacientes + QStringLiteral("Codigo = :Numero");
        return pacientes + QStringLiteral("CAST(Codigo AS VARCHAR(11)) LIKE ") + kPadrao + kOrdemResultado;
    case RgPaciente:
        return pacientes + QStringLiteral("Rg LIKE ") + kPadrao + kOrdemResultado;
    case CodigoExame:
        if (codigoNumero)
            return porExame + QStringLiteral("Exames.Codigo = :Numero ORDER BY Pacientes.Nome COLLATE WIN_PTBR ASC");
        return porExame + QStringLiteral("CAST(Exames.Codigo AS VARCHAR(11)) LIKE ") + kPadrao +
               QStringLiteral(" ORDER BY Pacientes.Nome COLLATE WIN_PTBR ASC");
    case Diagnostico:
        return porExame + QStringLiteral("UPPER(Exames.Diag) LIKE ") + kPadraoMaiusculo +
               QStringLiteral(" ORDER BY Pacientes.Nome COLLATE WIN_PTBR ASC");
    case Observacao:
        return porExame + QStringLiteral("UPPER(Exames.Observacao) LIKE ") + kPadraoMaiusculo +
               QStringLiteral(" ORDER BY Pacientes.Nome COLLATE WIN_PTBR ASC");
    default:
        return QString();
    }
}

QString SqlExameEncontrado(int tipo, bool codigoNumero)
{
    const QString doPaciente = QStringLiteral("SELECT * FROM Exames WHERE Exames.CodPaciente =:CodigoPaciente AND ");
    switch (tipo) {
    case CodigoExame:
        if (codigoNumero)
            return QStringLiteral("SELECT * FROM Exames WHERE Exames.Codigo =:CodigoProcurado");
        return doPaciente + QStringLiteral("CAST(Exames.Codigo AS VARCHAR(11)) LIKE ") + kPadrao +
               QStringLiteral(" ORDER BY Exames.Codigo");
    case Diagnostico:
        return doPaciente + QStringLiteral("UPPER(Exames.Diag) LIKE ") + kPadraoMaiusculo +
               QStringLiteral(" ORDER BY Exames.Codigo");
    case Observacao:
        return doPaciente + QStringLiteral("UPPER(Exames.Observacao) LIKE ") + kPadraoMaiusculo +
               QStringLiteral(" ORDER BY Exames.Codigo");
    default:
        return QString();
    }
}

int CodigoMedico(TDMPrincipal& dm, const QString& nome)
{
    ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT Codigo FROM Medicos WHERE Medicos.Nome=:NomeMedico"));
    op.DefineParametro(QStringLiteral("NomeMedico"), nome);
    op.Abre();
    const int codigo = op.Vazia() ? 0 : op.Inteiro(QStringLiteral("Codigo"));
    op.Fecha();
    return codigo;
}

void CarregaBusca(TDMPrincipal& dm, const QString& medico)
{
    const bool comMedico = ComMedico(medico);
    const int codigo = comMedico ? CodigoMedico(dm, medico) : 0;
    ConsultaBD& q = ConsultaBusca(dm);
    q.DefineSQL(SqlCarregaBusca(comMedico));
    if (comMedico)
        q.DefineParametro(QStringLiteral("CodigoMedico"), codigo);
    q.Abre();
}

void BuscaPrimeiroNome(TDMPrincipal& dm, const QString& texto, const QString& medico)
{
    ConsultaBD& q = ConsultaBusca(dm);
    if (!TextoPesquisavel(texto))
        return;
    const bool comMedico = ComMedico(medico);
    const int codigo = comMedico ? CodigoMedico(dm, medico) : 0;
    q.DefineSQL(SqlPrimeiroNome(comMedico));
    const QString padrao = Padrao(PrimeiroNome, texto);
    q.DefineParametro(QStringLiteral("Padrao"), padrao);
    q.DefineParametro(QStringLiteral("Prefixo"), Prefixo(padrao));
    if (comMedico)
        q.DefineParametro(QStringLiteral("CodigoMedico"), codigo);
    q.Abre();
}

bool Localiza(TDMPrincipal& dm, int tipo, const QString& texto)
{
    ConsultaBD& q = ConsultaBusca(dm);
    int numero = 0;
    // "012" is a pattern that code 12 does not match: only a number written as such.
    const bool codigoNumero = (tipo == CodigoPaciente || tipo == CodigoExame) && NumeroInteiro(texto, numero) &&
                              QString::number(numero) == texto;
    if (!TextoPesquisavel(texto))
        return false;
    const QString padrao = Padrao(tipo, texto);
    const QString sql = SqlLocalizar(tipo, codigoNumero, tipo == ParteNome && ParteComum(dm, padrao));
    if (sql.isEmpty())
        return false;
    q.DefineSQL(sql);
    if (codigoNumero)
        q.DefineParametro(QStringLiteral("Numero"), numero);
    else
        q.DefineParametro(QStringLiteral("Padrao"), padrao);
    q.Abre();
    return !q.Vazia();
}

QString LegendaExameEncontrado(TDMPrincipal& dm, int tipo, const QString& texto, int codPaciente)
{
    if (!TipoExame(tipo) || !TextoPesquisavel(texto))
        return QString();
    int numero = 0;
    const bool codigoNumero = tipo == CodigoExame && NumeroInteiro(texto, numero);
    ConsultaBD& op = PreparaOperacao(dm, SqlExameEncontrado(tipo, codigoNumero));
    if (codigoNumero) {
        op.DefineParametro(QStringLiteral("CodigoProcurado"), numero);
    } else {
        op.DefineParametro(QStringLiteral("CodigoPaciente"), codPaciente);
        op.DefineParametro(QStringLiteral("Padrao"), Padrao(tipo, texto));
    }
    op.Abre();
    const QString legenda = op.Vazia() ? QString()
                                       : Navegador::LegendaExame(op.Texto(QStringLiteral("Olho")),
                                                                 op.Data(QStringLiteral("Data")),
                                                                 op.Hora(QStringLiteral("Hora")));
    op.Fecha();
    return legenda;
}

} // namespace BuscaPacientes
