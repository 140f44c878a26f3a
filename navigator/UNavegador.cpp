#include "navigator/UNavegador.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "config/URegistrosZR.h"
#include "data/UDMPrincipal.h"
#include "data/UOperacaoBD.h"
#include "examfiles/UArquivosExame.h"

#include <QDir>
#include <QFile>

namespace Navegador {

QString LegendaExame(const QString& olho, const QDate& data, const QTime& hora)
{
    return olho + QStringLiteral(" - ") + data.toString(QStringLiteral("dd/MM/yyyy")) +
           QLatin1Char(' ') + hora.toString(QStringLiteral("HH:mm:ss"));
}

ChaveExame DecompoeLegenda(const QString& legenda)
{
    ChaveExame c;
    c.olho = legenda.left(2);
    c.data = QDate::fromString(legenda.mid(5, 10), QStringLiteral("dd/MM/yyyy"));
    c.hora = QTime::fromString(legenda.mid(16, 8), QStringLiteral("HH:mm:ss"));
    c.valida = c.data.isValid() && c.hora.isValid();
    return c;
}

LinhaLayout LinhaAjuste(int larguraTela, int alturaTela)
{
    const double razao = alturaTela > 0 ? double(larguraTela) / double(alturaTela) : 1.4;
    if (razao < 1.3)
        return {0.79, 0.855};
    if (razao < 1.4)
        return {0.63, 0.75};
    return {0.7, 0.8};
}

// Names are ordered as a Portuguese reader expects, letter case and accents aside (the
// WIN_PTBR collation; an index on that expression serves the order of the whole list, and the
// engine keeps equal names in the index's order). The filtered lists are sorted anyway, so
// their equal names go by code.
namespace {

const QString kColunasLista = QStringLiteral(
    "Pacientes.Nome, Pacientes.Codigo, Pacientes.RG, Pacientes.Convenio, Pacientes.DtCadastro, "
    "Pacientes.UltimoExame, Pacientes.TotalExames ");
const QString kChaveNome = QStringLiteral("Pacientes.Nome COLLATE WIN_PTBR");
// A patient's name (:Nome) compared as the list orders names.
const QString kNomeComparado = QStringLiteral("CAST(:Nome AS VARCHAR(255) CHARACTER SET WIN1252) COLLATE WIN_PTBR");

// FROM and WHERE of a filter, the WHERE ready for more conditions joined with AND.
QString DeOnde(const QString& filtro)
{
    if (filtro == kTodos)
        return QStringLiteral("FROM Pacientes WHERE 1=1 ");
    if (filtro == kSemExames)
        return QStringLiteral("FROM Pacientes WHERE Pacientes.TotalExames=:TotalExames ");
    // The patients with at least one examination by the doctor, each once: the distinct
    // patient codes of the doctor's examinations first (a narrow sort of integers), then
    // their rows, so that only the doctor's patients are sorted by name or code.
    return QStringLiteral("FROM (SELECT DISTINCT Exames.CodPaciente FROM Exames WHERE Exames.CodResp=:CodigoMedico) E "
                          "JOIN Pacientes ON E.CodPaciente = Pacientes.Codigo WHERE 1=1 ");
}

QString Ordem(const QString& filtro, bool alfabetica)
{
    if (!alfabetica)
        return QStringLiteral("ORDER BY Pacientes.Codigo ASC");
    return filtro == kTodos ? QStringLiteral("ORDER BY ") + kChaveNome + QStringLiteral(" ASC")
                            : QStringLiteral("ORDER BY ") + kChaveNome + QStringLiteral(" ASC, Pacientes.Codigo ASC");
}

} // namespace

QString SqlPacientes(const QString& filtro, bool alfabetica)
{
    return QStringLiteral("SELECT ") + kColunasLista + DeOnde(filtro) + Ordem(filtro, alfabetica);
}

QString SqlContaPacientes() { return QStringLiteral("SELECT COUNT(*) FROM Pacientes"); }

QString SqlPosicaoPaciente(bool alfabetica)
{
    if (!alfabetica)
        return QStringLiteral("SELECT COUNT(*) AS Antes, 1 AS Iguais FROM Pacientes WHERE Pacientes.Codigo < :Codigo");
    return QStringLiteral("SELECT COALESCE(SUM(IIF(") + kChaveNome + QStringLiteral(" < ") + kNomeComparado +
           QStringLiteral(", 1, 0)), 0) AS Antes, COALESCE(SUM(IIF(") + kChaveNome + QStringLiteral(" = ") +
           kNomeComparado + QStringLiteral(", 1, 0)), 0) AS Iguais FROM Pacientes WHERE ") + kChaveNome +
           QStringLiteral(" <= ") + kNomeComparado;
}

QString SqlPacientesDesde(bool alfabetica)
{
    const QString desde = alfabetica ? kChaveNome + QStringLiteral(" >= ") + kNomeComparado
                                     : QStringLiteral("Pacientes.Codigo >= :Codigo");
    return QStringLiteral("SELECT ") + kColunasLista + DeOnde(kTodos) + QStringLiteral("AND ") + desde +
           QLatin1Char(' ') + Ordem(kTodos, alfabetica);
}

QString SqlPrimeiroPaciente(bool alfabetica, const QString& condicao)
{
    return QStringLiteral("SELECT FIRST 1 Pacientes.Codigo, Pacientes.Nome FROM Pacientes WHERE ") + condicao +
           QLatin1Char(' ') + Ordem(kTodos, alfabetica);
}

QString SqlExames(bool porMedico)
{
    return porMedico ? QStringLiteral("SELECT * FROM Exames WHERE Exames.CodPaciente = :codigoPaciente "
                                      "AND Exames.CodResp = :codigoMedico")
                     : QStringLiteral("SELECT * FROM Exames WHERE Exames.CodPaciente = :codigoPaciente");
}

QString TextoUltimoExame(const QString& olho, const QDate& data, const QTime& hora)
{
    const QString textoData = data.isValid() ? FormataData(data) : QString();
    const QString textoHora = hora.isValid() ? FormataHora(hora).left(5) : QString();
    return olho + QLatin1Char(' ') + textoData + QLatin1Char(' ') + textoHora;
}

QString PadraoNome(const QString& digitado) { return MaiusculasAcentuadas(digitado) + QLatin1Char('%'); }

QStringList ClassesExemplos(bool orto)
{
    QStringList c = {QStringLiteral("Ceratocone - Central"), QStringLiteral("Ceratocone - Periférico"),
                     QStringLiteral("Astigmatismo - Regular"), QStringLiteral("Astigmatismo - Iregular"),
                     QStringLiteral("Normal")};
    if (orto)
        c << QStringLiteral("Ortoceratologia");
    return c;
}

QStringList ItensExemplo(int linha)
{
    static const char* const palavras[] = {"Central", "Periférico", "Regular", "Irregular", "Normal"};
    QStringList itens;
    if (linha >= 1 && linha <= 5) {
        const QString palavra = QString::fromUtf8(palavras[linha - 1]);
        for (int i = 1; i <= 6; ++i)
            itens << (i <= 4 ? QStringLiteral("OD - ") : QStringLiteral("OS - ")) + palavra +
                         QStringLiteral("0") + QString::number(i);
    } else if (linha == 6) {
        for (int i = 1; i <= 4; ++i)
            itens << QStringLiteral("Orto0") + QString::number(i);
    }
    return itens;
}

void DesfazTransacao(TDMPrincipal& dm)
{
    for (ConsultaBD* c : {dm.IBOperation, dm.IBQueryPacientes, dm.IBQueryMedicos, dm.IBQueryExames,
                          dm.IBQueryExamesOrto, dm.IBQueryBuscaPac, dm.IBQueryLaudos, dm.IBPacientes,
                          dm.IBMedicos, dm.IBExames, dm.IBLaudos, dm.IBLaudosTexto})
        c->Fecha();
    if (dm.IBTransaction.Ativa())
        dm.IBTransaction.Rollback();
    for (ConsultaBD* c : {dm.IBMedicos, dm.IBPacientes, dm.IBExames, dm.IBLaudos, dm.IBLaudosTexto})
        c->Abre();
}

namespace {

void ExecutaProcedimento(TDMPrincipal& dm, const QString& sql,
                         const QList<QPair<QString, QVariant>>& parametros)
{
    ConsultaBD& op = PreparaOperacao(dm, sql);
    for (const auto& p : parametros)
        op.DefineParametro(p.first, p.second);
    op.Executa();
    op.Fecha();
}

// Removes a patient folder when nothing is left in it.
void RemovePastaVazia(const QString& pasta) { QDir().rmdir(pasta); }

} // namespace

QString ExcluiExame(TDMPrincipal& dm, const ExameExclusao& exame)
{
    QString ultimo;
    try {
        for (int laudo : exame.laudos)
            ExecutaProcedimento(dm, QStringLiteral("Execute Procedure DeleteLaudosByCodigo :Codigo"),
                                {{QStringLiteral("Codigo"), laudo}});
        if (exame.tipoExame == QStringLiteral("O"))
            ExecutaProcedimento(dm, QStringLiteral("Execute Procedure DeleteExamesOrtoByCodigoExame :CodExame"),
                                {{QStringLiteral("CodExame"), exame.codigo}});
        ExecutaProcedimento(dm, QStringLiteral("Execute Procedure DeleteExamesByCodigo :Codigo"),
                            {{QStringLiteral("Codigo"), exame.codigo}});

        // The latest remaining examination gives the patient's last-examination text.
        ConsultaBD& op = PreparaOperacao(
            dm, QStringLiteral("SELECT * FROM Exames WHERE Hora = (SELECT max(Hora) FROM Exames WHERE "
                               "Data = (SELECT max(Data) FROM Exames WHERE CodPaciente=:CodPac) AND "
                               "CodPaciente=:CodPac) AND CodPaciente=:CodPac"));
        op.DefineParametro(QStringLiteral("CodPac"), exame.codPaciente);
        op.Abre();
        if (op.Vazia())
            ultimo = TextoUltimoExame(QString(), QDate(), QTime());
        else
            ultimo = TextoUltimoExame(op.Texto(QStringLiteral("Olho")), op.Data(QStringLiteral("Data")),
                                      op.Hora(QStringLiteral("Hora")));
        op.Fecha();
        ExecutaProcedimento(dm, QStringLiteral("Execute Procedure UpdateExamesPacientesByCodigo :Codigo,"
                                               ":UltimoExame,:TotalExames"),
                            {{QStringLiteral("Codigo"), exame.codPaciente},
                             {QStringLiteral("UltimoExame"), ultimo},
                             {QStringLiteral("TotalExames"), exame.totalExames - 1}});
        dm.PCommitDataBase();
    } catch (const ErroSistema&) {
        DesfazTransacao(dm);
        throw;
    }

    // The rows are gone: now the files. A file that is missing or cannot be removed is
    // passed over; it no longer belongs to any examination.
    const QString pastaLaudos = PastaLaudosPaciente(QString::number(exame.codPaciente));
    for (int laudo : exame.laudos) {
        QFile::remove(CaminhoEm(pastaLaudos, QString::number(laudo) + QStringLiteral("l.txt")));
        RemovePastaVazia(pastaLaudos);
    }
    const QString prefixo = PrefixoExame(exame.codPaciente, exame.codigo);
    for (const char* sufixo : {"a.txt", "d.txt", "m.txt"})
        QFile::remove(prefixo + QLatin1String(sufixo));
    RemovePastaVazia(PastaExamesPaciente(exame.codPaciente));
    return ultimo;
}

} // namespace Navegador
