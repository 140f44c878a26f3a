#include "data/UEsquemaBD.h"

#include "common/UErros.h"
#include "data/UFirebird.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace EsquemaBD {

QString Usuario() { return QStringLiteral("SYSDBA"); }
QString SenhaPrincipal() { return QStringLiteral("qwzk47"); }

QStringList Scripts()
{
    return {QStringLiteral(":/esquema/01_tabelas.sql"),
            QStringLiteral(":/esquema/02_procedimentos.sql"),
            QStringLiteral(":/esquema/03_laudostexto.sql")};
}

QStringList DivideScript(const QString& texto)
{
    QStringList comandos;
    QString terminador = QStringLiteral(";");
    QString atual;
    const qsizetype n = texto.size();
    auto fecha = [&]() {
        const QString comando = atual.trimmed();
        atual.clear();
        if (comando.isEmpty())
            return;
        static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
        const auto m = setTerm.match(comando);
        if (m.hasMatch()) {
            terminador = m.captured(1);
            return;
        }
        static const QRegularExpression soIsql(
            QStringLiteral("^SET\\s+(SQL\\s+DIALECT|NAMES|AUTODDL|ECHO|LIST|STATS)\\b"),
            QRegularExpression::CaseInsensitiveOption);
        if (soIsql.match(comando).hasMatch())
            return;
        comandos << comando;
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = texto[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            while (j < n) {
                if (texto[j] == c) {
                    if (j + 1 < n && texto[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype fim = qMin(j + 1, n);
            atual += texto.mid(i, fim - i);
            i = fim;
        } else if (c == QLatin1Char('/') && i + 1 < n && texto[i + 1] == QLatin1Char('*')) {
            const qsizetype j = texto.indexOf(QLatin1String("*/"), i + 2);
            i = j < 0 ? n : j + 2;
            atual += QLatin1Char(' ');
        } else if (c == QLatin1Char('-') && i + 1 < n && texto[i + 1] == QLatin1Char('-')) {
            const qsizetype j = texto.indexOf(QLatin1Char('\n'), i);
            i = j < 0 ? n : j;
        } else if (texto.mid(i, terminador.size()) == terminador) {
            i += terminador.size();
            fecha();
        } else {
            atual += c;
            ++i;
        }
    }
    fecha();
    return comandos;
}

namespace {

bool EhDados(const QString& comando)
{
    static const QRegularExpression dml(QStringLiteral("^(INSERT|UPDATE|DELETE)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return dml.match(comando).hasMatch();
}

void ExecutaScripts(const QString& arquivo)
{
    // The scripts run with synchronous writes off (a half-built database is removed
    // anyway); the finished database gets them back on.
    fb::Conexao conexao;
    conexao.Abre(arquivo, {QStringLiteral("user_name=") + Usuario(),
                           QStringLiteral("password=") + SenhaPrincipal(),
                           QStringLiteral("lc_ctype=UTF8"), QStringLiteral("force_write=0")});
    fb::Transacao transacao(conexao);
    const QByteArray tpb = fb::Transacao::ParametrosLeituraConfirmada();
    for (const QString& script : Scripts()) {
        QFile f(script);
        if (!f.open(QIODevice::ReadOnly))
            throw ErroES(QStringLiteral("Script do banco de dados ausente: %1").arg(script));
        const QString nome = QFileInfo(script).fileName();
        for (const QString& comando : DivideScript(QString::fromUtf8(f.readAll()))) {
            if (comando.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) {
                transacao.Commit();
                continue;
            }
            if (!transacao.Ativa())
                transacao.Inicia(tpb);
            try {
                conexao.ExecutaImediato(transacao, comando);
            } catch (const ErroBancoDados& e) {
                throw ErroBancoDados(QStringLiteral("%1: %2\n%3")
                                         .arg(nome, e.Mensagem(), comando.left(200)));
            }
            // Definitions take effect at commit, as isql does with AUTODDL.
            if (!EhDados(comando))
                transacao.Commit();
        }
        transacao.Commit();
    }
    conexao.Fecha();
    conexao.Abre(arquivo, {QStringLiteral("user_name=") + Usuario(),
                           QStringLiteral("password=") + SenhaPrincipal(),
                           QStringLiteral("force_write=1")});
    conexao.Fecha();
}

} // namespace

void CriaBancoDados(const QString& arquivo)
{
    if (QFileInfo::exists(arquivo))
        throw ErroES(QStringLiteral("O banco de dados \"%1\" já existe e não será substituído.")
                         .arg(arquivo));
    fb::Conexao::CriaBanco(arquivo, Usuario(), SenhaPrincipal(), QStringLiteral("WIN1252"));
    try {
        ExecutaScripts(arquivo);
    } catch (...) {
        QFile::remove(arquivo);
        throw;
    }
}

QStringList CompletaIndices(const QString& arquivo)
{
    static const QRegularExpression criaIndice(
        QStringLiteral("^CREATE\\s+(?:UNIQUE\\s+)?(?:(?:ASC|ASCENDING|DESC|DESCENDING)\\s+)?INDEX\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    fb::Conexao conexao;
    conexao.Abre(arquivo, {QStringLiteral("user_name=") + Usuario(), QStringLiteral("password=") + SenhaPrincipal(),
                           QStringLiteral("lc_ctype=UTF8")});
    fb::Transacao transacao(conexao);
    const QByteArray tpb = fb::Transacao::ParametrosLeituraConfirmada();
    QStringList criados;
    for (const QString& script : Scripts()) {
        QFile f(script);
        if (!f.open(QIODevice::ReadOnly))
            throw ErroES(QStringLiteral("Script do banco de dados ausente: %1").arg(script));
        for (const QString& comando : DivideScript(QString::fromUtf8(f.readAll()))) {
            const auto m = criaIndice.match(comando);
            if (!m.hasMatch())
                continue;
            const QString nome = m.captured(1).toUpper();
            transacao.Inicia(tpb);
            fb::Comando existe(conexao);
            existe.Prepara(transacao, QStringLiteral("SELECT 1 FROM RDB$INDICES WHERE RDB$INDEX_NAME = :Nome"));
            existe.DefineParametro(QStringLiteral("Nome"), nome);
            existe.Executa(transacao);
            QVector<QVariant> linha;
            const bool tem = existe.Busca(linha);
            existe.FechaCursor();
            if (!tem) {
                try {
                    conexao.ExecutaImediato(transacao, comando);
                } catch (const ErroBancoDados& e) {
                    transacao.Rollback();
                    throw ErroBancoDados(QStringLiteral("%1: %2").arg(nome, e.Mensagem()));
                }
                criados << nome;
            }
            transacao.Commit();
        }
    }
    conexao.Fecha();
    return criados;
}

QString InstalaBancoDados(const QString& pastaBanco)
{
    const QString arquivo = pastaBanco + QStringLiteral("/DATABASE.GDB");
    if (QFileInfo::exists(arquivo)) {
        const QStringList criados = CompletaIndices(arquivo);
        return criados.isEmpty() ? QStringLiteral("banco de dados mantido: %1").arg(arquivo)
                                 : QStringLiteral("banco de dados mantido: %1 (índices criados: %2)")
                                       .arg(arquivo, criados.join(QStringLiteral(", ")));
    }
    CriaBancoDados(arquivo);
    return QStringLiteral("banco de dados criado: %1").arg(arquivo);
}

} // namespace EsquemaBD
