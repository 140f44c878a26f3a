#include "backup/UBackup.h"

#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "config/UArquivoIni.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMPrincipal.h"
#include "data/UDPacientes.h"
#include "data/UOperacaoBD.h"
#include "navigator/UNavegador.h"

#include <QDir>
#include <QFileInfo>

namespace Backup {

namespace {

const QString kSecao = QStringLiteral("BACKUP");

// A root that can be listed: a missing or unreadable folder (a disconnected disk, a wrong
// setting) must never make every row look missing.
bool RaizLegivel(const QString& raiz)
{
    const QFileInfo info(raiz);
    return !raiz.isEmpty() && info.isDir() && info.isReadable() && info.isExecutable();
}

struct Linha {
    int codigo;
    int codPaciente;
};

// The unmarked rows of a table, in the cursor's order.
QList<Linha> LinhasSemMarca(TDMPrincipal& dm, Tabela tabela)
{
    ConsultaBD& q = tabela == Tabela::Exames ? *dm.IBQueryExames : *dm.IBQueryLaudos;
    MoveCursorConjunto(q, tabela == Tabela::Exames ? QStringLiteral("Exames") : QStringLiteral("Laudos"),
                       QStringLiteral("Backup"), QString(QLatin1String("")), QStringLiteral("SELECT"));
    QList<Linha> linhas;
    for (; !q.Eof(); q.Proximo())
        linhas.append({q.Inteiro(QStringLiteral("Codigo")), q.Inteiro(QStringLiteral("CodPaciente"))});
    q.Fecha();
    return linhas;
}

QString Prefixo(const Linha& l)
{
    return QString::number(l.codPaciente) + QLatin1Char('/') + QString::number(l.codigo);
}

QString Local(const QString& raiz, const Linha& l, const char* sufixo)
{
    return raiz + u'/' + QString::number(l.codPaciente) + u'/' + QString::number(l.codigo) +
           QLatin1String(sufixo);
}

// Removes an examination whose files are all gone, as the navigator does (its reports stay).
void RemoveExame(TDMPrincipal& dm, const Linha& l)
{
    Navegador::ExameExclusao e;
    e.codigo = l.codigo;
    e.codPaciente = l.codPaciente;
    ConsultaBD& op = PreparaOperacao(dm, QStringLiteral("SELECT Olho, TipoExame FROM Exames WHERE Codigo=:Codigo"));
    op.DefineParametro(QStringLiteral("Codigo"), l.codigo);
    op.Abre();
    e.olho = op.Texto(QStringLiteral("Olho"));
    e.tipoExame = op.Texto(QStringLiteral("TipoExame"));
    op.Fecha();
    e.totalExames = TDPacientes(dm).TotalExamesPaciente(l.codPaciente);
    Navegador::ExcluiExame(dm, e);
}

} // namespace

// --- BackUp.ini --------------------------------------------------------------------------

QString ArquivoBackupIni() { return TBIniSettings::PastaConfiguracao() + QStringLiteral("/BackUp.ini"); }

int LeInteiro(const QString& arquivo, const QString& chave, int padrao)
{
    QString valor;
    if (!ArquivoIni::Le(arquivo, kSecao, chave, valor))
        return padrao;
    bool ok = false;
    const int n = valor.trimmed().toInt(&ok);
    return ok ? n : padrao;
}

QString LeTexto(const QString& arquivo, const QString& chave, const QString& padrao)
{
    QString valor;
    return ArquivoIni::Le(arquivo, kSecao, chave, valor) ? valor : padrao;
}

void EscreveChaves(const QString& arquivo, const QList<QPair<QString, QString>>& chaves)
{
    for (const auto& c : chaves)
        ArquivoIni::Escreve(arquivo, kSecao, c.first, c.second);
}

QString NumeroDisco(int n)
{
    return QStringLiteral("%1").arg(qBound(0, n, 9999), 4, 10, QLatin1Char('0'));
}

QString IdentidadeDisco(int n) { return QStringLiteral("ZRQK") + NumeroDisco(n); }

// --- the reminder ----------------------------------------------------------------------------

namespace {
std::function<QDate()>& FonteHoje()
{
    static std::function<QDate()> f;
    return f;
}
} // namespace

QDate Hoje() { return FonteHoje() ? FonteHoje()() : QDate::currentDate(); }
void DefineHoje(std::function<QDate()> hoje) { FonteHoje() = std::move(hoje); }

QDate DataUltimoBackup(const QStringList& status)
{
    if (status.size() < 6)
        return {};
    QString texto = status[5].mid(25, 10);
    texto.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
}

bool BackupDevido(const RegraAutomatica& regra, const QStringList& status, int examesSemBackup,
                  const QDate& hoje)
{
    if (regra.modo <= 0)
        return false;
    const QDate ultimo = DataUltimoBackup(status);
    if (!ultimo.isValid())
        return false;
    if (regra.modo == 1) {
        if (regra.unidade == 0)
            return ultimo.daysTo(hoje) >= regra.periodo;
        if (regra.unidade == 1)
            return 12 * (hoje.year() - ultimo.year()) + hoje.month() - ultimo.month() >= regra.periodo;
        return false;
    }
    if (regra.modo == 2)
        return examesSemBackup >= regra.exames;
    return false;
}

// --- preparation --------------------------------------------------------------------------

QString ArquivoLogExames() { return TBIniSettings::PastaConfiguracao() + QStringLiteral("/LogBackupExame.txt"); }
QString ArquivoLogLaudos() { return TBIniSettings::PastaConfiguracao() + QStringLiteral("/LogBackupLaudo.txt"); }

QString AvisoExcluidos()
{
    return QStringLiteral("Alguns exames/laudos não foram encontrados no HD e foram automaticamente excluídos da "
                          "tabela.");
}

QString MensagemRaizIlegivel(const QString& raiz)
{
    return QStringLiteral("A pasta \"%1\" não existe ou não pode ser lida.\r\nNenhum exame ou laudo foi excluído "
                          "e o backup não foi feito.")
        .arg(QDir::toNativeSeparators(raiz));
}

Lista PreparaExames(TDMPrincipal& dm, const QString& raizExames, const std::function<void()>& passo)
{
    Lista lista;
    if (!RaizLegivel(raizExames)) {
        lista.valida = false;
        return lista;
    }
    QList<Linha> ausentes;
    for (const Linha& l : LinhasSemMarca(dm, Tabela::Exames)) {
        bool algum = false;
        for (const char* s : {"a.txt", "d.txt", "m.txt"})
            algum = algum || QFileInfo::exists(Local(raizExames, l, s));
        if (!algum) {
            ausentes << l;
            continue;
        }
        lista.codigos << l.codigo;
        for (const char* s : {"a.txt", "d.txt", "m.txt"})
            lista.arquivos << Prefixo(l) + QLatin1String(s);
        if (passo)
            passo();
    }
    for (const Linha& l : ausentes) {
        lista.log << QStringLiteral("Exame não encontrado: ") + Prefixo(l);
        RemoveExame(dm, l);
    }
    return lista;
}

Lista PreparaLaudos(TDMPrincipal& dm, const QString& raizLaudos)
{
    Lista lista;
    if (!RaizLegivel(raizLaudos)) {
        lista.valida = false;
        return lista;
    }
    QList<Linha> ausentes;
    for (const Linha& l : LinhasSemMarca(dm, Tabela::Laudos)) {
        if (!QFileInfo::exists(Local(raizLaudos, l, "l.txt"))) {
            ausentes << l;
            continue;
        }
        lista.codigos << l.codigo;
        lista.arquivos << Prefixo(l) + QStringLiteral("l.txt");
    }
    for (const Linha& l : ausentes) {
        lista.log << QStringLiteral("Laudo não encontrado: ") + Prefixo(l) + QStringLiteral("l.txt");
        TDLaudos(dm).ExcluiLaudo(l.codigo);
    }
    return lista;
}

// --- marks ---------------------------------------------------------------------------------

QString MensagemMarcaLonga()
{
    return QStringLiteral("O módulo de backup devolveu uma marca com mais de 10 caracteres.\r\nNenhum exame ou "
                          "laudo foi marcado como copiado; eles serão copiados no próximo backup.");
}

ResultadoMarcas GravaMarcas(TDMPrincipal& dm, Tabela tabela, const QList<int>& codigos, const QStringList& marcas)
{
    const qsizetype n = qMin(codigos.size(), marcas.size());
    for (qsizetype k = 0; k < n; ++k)
        if (marcas[k].size() > 10)
            return ResultadoMarcas::MarcaLonga;
    try {
        for (qsizetype k = 0; k < n; ++k) {
            if (marcas[k].isEmpty())
                continue;
            if (tabela == Tabela::Exames)
                TDExames(dm).AtualizaBackupExame(codigos[k], marcas[k]);
            else
                TDLaudos(dm).AtualizaBackupLaudo(codigos[k], marcas[k]);
        }
        dm.PCommitDataBase();
    } catch (const ErroSistema&) {
        Navegador::DesfazTransacao(dm);
        throw;
    }
    return ResultadoMarcas::Gravadas;
}

// --- reset ---------------------------------------------------------------------------------

ResultadoZera ZeraBackup(TDMPrincipal& dm, const QString& arquivoIni, int* zerado)
{
    const int vezes = LeInteiro(arquivoIni, QStringLiteral("BackupZerado"), 0) + 1;
    try {
        if (!TDExames(dm).ZeraBackupExames() || !TDLaudos(dm).ZeraBackupLaudos()) {
            Navegador::DesfazTransacao(dm);
            return ResultadoZera::FalhaBanco;
        }
        dm.PCommitDataBase();
    } catch (const ErroSistema&) {
        Navegador::DesfazTransacao(dm);
        return ResultadoZera::FalhaBanco;
    }
    const QString inicio = QStringLiteral("01/01/2007 00:00:00");
    try {
        EscreveChaves(arquivoIni, {{QStringLiteral("DiscoAtual"), QStringLiteral("1")},
                                   {QStringLiteral("ArquivoAtual"), QStringLiteral("0")},
                                   {QStringLiteral("NumArquivos"), QStringLiteral("0")},
                                   {QStringLiteral("NumArquivosLau"), QStringLiteral("0")},
                                   {QStringLiteral("ArquivosGeral"), QStringLiteral("0")},
                                   {QStringLiteral("NumExamDisco"), QStringLiteral("0")},
                                   {QStringLiteral("NumExamGeral"), QStringLiteral("0")},
                                   {QStringLiteral("NumLauDisco"), QStringLiteral("0")},
                                   {QStringLiteral("UltDsk"), inicio},
                                   {QStringLiteral("UltBkp"), inicio},
                                   {QStringLiteral("BackupZerado"), QString::number(vezes)}});
    } catch (const ErroSistema&) {
        return ResultadoZera::FalhaArquivo;
    }
    if (zerado)
        *zerado = vezes;
    return ResultadoZera::Zerado;
}

} // namespace Backup
