#include "data/UFirebird.h"

#include "common/UNomeBanco.h"
#include "common/UTextoCp1252.h"

#include <ibase.h>

#include <QStringDecoder>

#include <cerrno>
#include <cstring>

namespace fb {

namespace {

constexpr unsigned short kDialeto = 3;

// The engine's text of a failed call, one message per line.
QString TextoDoStatus(const ISC_STATUS* status)
{
    QStringList linhas;
    const ISC_STATUS* p = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &p) > 0) {
        const QByteArray bytes(buffer);
        auto utf8 = QStringDecoder(QStringDecoder::Utf8);
        QString linha = utf8.decode(bytes);
        if (utf8.hasError())
            linha = DeCp1252(bytes);
        linhas << linha;
    }
    if (linhas.isEmpty())
        linhas << QStringLiteral("Erro desconhecido do banco de dados.");
    return linhas.join(QLatin1Char('\n'));
}

// A server sends the operating system's error as its text: the number back from the text,
// for the errors a user can act on.
int ErroSistemaDoTexto(const char* texto)
{
    if (!texto)
        return 0;
    for (int e : {ENOENT, EACCES, EPERM, EISDIR, EROFS, EAGAIN})
        if (std::strcmp(texto, std::strerror(e)) == 0)
            return e;
    return 0;
}

[[noreturn]] void Lanca(const ISC_STATUS* status)
{
    // The codes of the vector: clusters of (kind, value[, value]) up to the end mark.
    QList<intptr_t> codigos;
    int erroSistema = 0;
    for (const ISC_STATUS* p = status; *p != isc_arg_end;) {
        const ISC_STATUS tipo = *p++;
        if (tipo == isc_arg_gds)
            codigos << intptr_t(*p);
        else if (tipo == isc_arg_unix)
            erroSistema = int(*p);
        else if (tipo == isc_arg_interpreted && erroSistema == 0)
            erroSistema = ErroSistemaDoTexto(reinterpret_cast<const char*>(*p));
        p += tipo == isc_arg_cstring ? 2 : 1;
    }
    throw ErroFirebird(TextoDoStatus(status), status[1], static_cast<int>(isc_sqlcode(status)),
                       codigos, erroSistema);
}

// Raises the error of a call on this attachment, marking the attachment when the
// connection to the server broke.
[[noreturn]] void Lanca(const ISC_STATUS* status, Conexao& conexao)
{
    try {
        Lanca(status);
    } catch (const ErroFirebird& e) {
        if (e.ConexaoPerdida())
            conexao.MarcaPerdida();
        throw;
    }
}

XSQLDA* Descritor(QByteArray& memoria, int n)
{
    const int campos = n < 1 ? 1 : n;
    memoria = QByteArray(static_cast<int>(XSQLDA_LENGTH(campos)), '\0');
    auto* d = reinterpret_cast<XSQLDA*>(memoria.data());
    d->version = SQLDA_VERSION1;
    d->sqln = static_cast<ISC_SHORT>(campos);
    return d;
}

XSQLDA* Descritor(QByteArray& memoria)
{
    return memoria.isEmpty() ? nullptr : reinterpret_cast<XSQLDA*>(memoria.data());
}

bool EhLetraNome(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

QByteArray LeBlob(Conexao& conexao, Transacao& transacao, ISC_QUAD id)
{
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    if (isc_open_blob2(status, conexao.Handle(), transacao.Handle(), &blob, &id, 0, nullptr))
        Lanca(status, conexao);
    QByteArray dados;
    char buffer[32768];
    for (;;) {
        unsigned short lidos = 0;
        const ISC_STATUS r = isc_get_segment(status, &blob, &lidos, sizeof buffer, buffer);
        if (r == 0 || r == isc_segment) {
            dados.append(buffer, lidos);
            continue;
        }
        if (r == isc_segstr_eof)
            break;
        ISC_STATUS_ARRAY fecha;
        isc_close_blob(fecha, &blob);
        Lanca(status, conexao);
    }
    if (isc_close_blob(status, &blob))
        Lanca(status, conexao);
    return dados;
}

ISC_QUAD GravaBlob(Conexao& conexao, Transacao& transacao, const QByteArray& dados)
{
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    ISC_QUAD id{};
    if (isc_create_blob2(status, conexao.Handle(), transacao.Handle(), &blob, &id, 0, nullptr))
        Lanca(status, conexao);
    for (qsizetype feito = 0; feito < dados.size();) {
        const auto parte = static_cast<unsigned short>(qMin<qsizetype>(32768, dados.size() - feito));
        if (isc_put_segment(status, &blob, parte, dados.constData() + feito)) {
            ISC_STATUS_ARRAY cancela;
            isc_cancel_blob(cancela, &blob);
            Lanca(status, conexao);
        }
        feito += parte;
    }
    if (isc_close_blob(status, &blob))
        Lanca(status, conexao);
    return id;
}

} // namespace

// --- errors -------------------------------------------------------------------------------

namespace {
bool Conflito(intptr_t codigo)
{
    return codigo == isc_lock_conflict || codigo == isc_deadlock || codigo == isc_update_conflict;
}

// The error classes of a connection that broke after it was made.
bool Perda(const QList<intptr_t>& codigos)
{
    for (intptr_t c : codigos)
        if (c == isc_net_read_err || c == isc_net_write_err || c == isc_lost_db_connection
            || c == isc_conn_lost || c == isc_att_shutdown || c == isc_net_server_shutdown
            || c == isc_shutdown)
            return true;
    return false;
}

QString TextoErro(const QString& mensagem, intptr_t codigo, const QList<intptr_t>& codigos)
{
    if (Conflito(codigo))
        return QStringLiteral("Este registro está sendo alterado em outra estação. Tente novamente em "
                              "instantes.");
    if (Perda(codigos) || Perda({codigo}))
        return QStringLiteral("A conexão com o servidor do banco de dados foi perdida. Nada foi gravado "
                              "desta operação.");
    return mensagem;
}
} // namespace

ErroFirebird::ErroFirebird(QString mensagem, intptr_t codigo, int codigoSql,
                           QList<intptr_t> codigos, int erroSistema)
    : ErroBancoDados(TextoErro(mensagem, codigo, codigos)),
      m_codigo(codigo), m_codigoSql(codigoSql), m_codigos(std::move(codigos)),
      m_erroSistema(erroSistema), m_detalhes(std::move(mensagem))
{
    if (m_codigos.isEmpty())
        m_codigos << codigo;
}

bool ErroFirebird::FalhaLogin() const { return m_codigo == isc_login; }

bool ErroFirebird::ConexaoPerdida() const { return Perda(m_codigos); }

QString ErroFirebird::CausaConexao(const QString& servidor) const
{
    if (!servidor.isEmpty()) {
        const QString nome = QStringLiteral(" (servidor \"%1\")").arg(servidor);
        if (Tem(isc_login))
            return QStringLiteral("Usuário ou senha do banco de dados recusados pelo servidor.") + nome;
        if (Tem(isc_net_lookup_err))
            return QStringLiteral("O servidor do banco de dados não foi encontrado na rede.") + nome;
        if (Tem(isc_net_connect_err) || Tem(isc_net_connect_listen_err))
            return QStringLiteral("O servidor do banco de dados não atendeu: está desligado, o serviço "
                                  "não está ativo ou a porta está bloqueada.") + nome;
        if (m_erroSistema == ENOENT)
            return QStringLiteral("O arquivo do banco de dados não foi encontrado no servidor.") + nome;
        if (Tem(isc_io_open_err) || Tem(isc_io_access_err))
            return QStringLiteral("O servidor não conseguiu abrir o arquivo do banco de dados (permissões "
                                  "da pasta no servidor?).") + nome;
        if (Tem(isc_network_error) || ConexaoPerdida())
            return QStringLiteral("O servidor do banco de dados não respondeu.") + nome;
    }
    if (Tem(isc_login))
        return QStringLiteral("Usuário ou senha do banco de dados recusados.");
    if (m_erroSistema == EAGAIN || m_erroSistema == EWOULDBLOCK || Tem(isc_already_opened))
        return QStringLiteral("O banco de dados já está aberto por outro programa.");
    if (m_erroSistema == ENOENT)
        return QStringLiteral("O arquivo do banco de dados não foi encontrado.");
    if (m_erroSistema == EISDIR)
        return QStringLiteral("No lugar do arquivo do banco de dados há uma pasta.");
    // A file the user may read but not write: the embedded engine refuses it as "no
    // permission for read-write access".
    if (m_erroSistema == EACCES || m_erroSistema == EPERM || m_erroSistema == EROFS
        || Tem(isc_read_only_database) || Tem(isc_no_priv))
        return QStringLiteral("Sem permissão de escrita no banco de dados.");
    if (Tem(isc_bad_db_format) || Tem(isc_wrong_ods) || Tem(isc_bad_checksum) || Tem(isc_badpage)
        || Tem(isc_db_corrupt) || Tem(isc_io_read_err) || Tem(isc_bug_check)
        || (Tem(isc_io_error) && m_erroSistema == 0)) // a file cut short, among others
        return QStringLiteral("O arquivo do banco de dados está danificado.");
    if (Tem(isc_network_error) || Tem(isc_net_connect_err))
        return QStringLiteral("O servidor do banco de dados não respondeu.");
    return QStringLiteral("O banco de dados recusou a conexão.");
}

bool ErroFirebird::ConflitoBloqueio() const { return Conflito(m_codigo); }

void LancaStatus(const intptr_t* status) { Lanca(status); }

void LancaFalhaLogin()
{
    const ISC_STATUS status[] = {isc_arg_gds, isc_login, isc_arg_end};
    Lanca(status);
}

// --- dates and times ----------------------------------------------------------------------

namespace {
const qint64 kDiaZeroFirebird = QDate(1858, 11, 17).toJulianDay();
}

int32_t ParaDataFirebird(const QDate& data)
{
    return static_cast<int32_t>(data.toJulianDay() - kDiaZeroFirebird);
}

QDate DeDataFirebird(int32_t dias) { return QDate::fromJulianDay(kDiaZeroFirebird + dias); }

uint32_t ParaHoraFirebird(const QTime& hora)
{
    return static_cast<uint32_t>(hora.msecsSinceStartOfDay()) * 10u;
}

QTime DeHoraFirebird(uint32_t decimilesimos)
{
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(decimilesimos / 10u));
}

// --- attachment ---------------------------------------------------------------------------

Conexao::~Conexao() { Fecha(); }

// Plain ASCII text is the same in every character set the attachment may use; only text
// with other characters goes through the code page converter.
namespace {
bool SoAscii(const QByteArray& bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool SoAscii(const QString& texto)
{
    for (QChar c : texto)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}
} // namespace

QByteArray Conexao::Codifica(const QString& texto) const
{
    if (SoAscii(texto))
        return texto.toLatin1();
    if (m_utf8)
        return texto.toUtf8();
    // A character the code page lacks would be dropped on its way: the text is refused
    // instead, naming the characters, and nothing is stored.
    QByteArray bytes = ParaCp1252(texto);
    if (DeCp1252(bytes) != texto) {
        QString faltam;
        for (qsizetype i = 0; i < texto.size(); ++i) {
            const qsizetype n = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
            const QString c = texto.mid(i, n);
            if (DeCp1252(ParaCp1252(c)) != c && !faltam.contains(c))
                faltam += (faltam.isEmpty() ? QString() : QStringLiteral(" ")) + c;
            i += n - 1;
        }
        const QString citado = texto.size() > 40 ? texto.left(40) + QStringLiteral("...") : texto;
        throw ErroConversao(QStringLiteral("O texto \"%1\" contém caracteres que o banco de dados "
                                           "não pode armazenar: %2. Nada foi gravado.")
                                .arg(citado, faltam));
    }
    return bytes;
}

QString Conexao::Decodifica(const QByteArray& bytes) const
{
    if (SoAscii(bytes))
        return QString::fromLatin1(bytes);
    return m_utf8 ? QString::fromUtf8(bytes) : DeCp1252(bytes);
}

void Conexao::Abre(const QString& nomeBanco, const QStringList& parametros)
{
    Fecha();
    QString conjunto = QStringLiteral("WIN1252");
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    auto adiciona = [&dpb](char item, const QByteArray& valor) {
        dpb.append(item);
        dpb.append(char(qMin<qsizetype>(255, valor.size())));
        dpb.append(valor.left(255));
    };
    for (const QString& linha : parametros) {
        const int igual = linha.indexOf(QLatin1Char('='));
        if (igual < 0)
            continue;
        const QString chave = linha.left(igual).trimmed().toLower();
        const QString valor = linha.mid(igual + 1);
        if (chave == QLatin1String("user_name"))
            adiciona(isc_dpb_user_name, ParaCp1252(valor));
        else if (chave == QLatin1String("password"))
            adiciona(isc_dpb_password, ParaCp1252(valor));
        else if (chave == QLatin1String("sql_role_name"))
            adiciona(isc_dpb_sql_role_name, ParaCp1252(valor));
        else if (chave == QLatin1String("lc_ctype"))
            conjunto = valor.trimmed().toUpper();
        else if (chave == QLatin1String("force_write")) {
            // Changes the database's synchronous-write setting (owner only; it stays).
            const char v = valor.trimmed() == QLatin1String("0") ? 0 : 1;
            dpb.append(char(isc_dpb_force_write));
            dpb.append(char(1));
            dpb.append(v);
        }
    }
    adiciona(isc_dpb_lc_ctype, conjunto.toLatin1());
    adiciona(isc_dpb_sql_dialect, QByteArray(1, char(kDialeto)));
    // The name alone decides who opens the file: a server through the remote provider,
    // with a bounded wait, or this machine's embedded engine (so that "C:\..." is never
    // taken for a host "C").
    const bool servidor = NomeBanco::EhServidor(nomeBanco);
    if (servidor) {
        dpb.append(char(isc_dpb_connect_timeout));
        dpb.append(char(4));
        for (int i = 0; i < 4; ++i)
            dpb.append(char((kEsperaServidor >> (8 * i)) & 0xFF));
    }
    adiciona(isc_dpb_config, servidor ? QByteArrayLiteral("Providers=Remote")
                                      : QByteArrayLiteral("Providers=Engine12"));

    const QByteArray nome = nomeBanco.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    isc_db_handle handle = 0;
    if (isc_attach_database(status, 0, nome.constData(), &handle,
                            static_cast<short>(dpb.size()), dpb.constData()))
        Lanca(status);
    m_handle = handle;
    m_perdida = false;
    m_nome = nomeBanco;
    m_utf8 = conjunto == QLatin1String("UTF8");
}

void Conexao::Fecha()
{
    m_perdida = false;
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &m_handle);
    m_handle = 0;
}

long long Conexao::Informacao(char item)
{
    if (!m_handle)
        throw ErroBancoDados(QStringLiteral("O banco de dados não está conectado."));
    const char itens[] = {item, isc_info_end};
    char resposta[64];
    ISC_STATUS_ARRAY status;
    if (isc_database_info(status, &m_handle, sizeof itens, itens, sizeof resposta, resposta))
        Lanca(status, *this);
    if (resposta[0] != item)
        throw ErroBancoDados(QStringLiteral("O banco de dados não respondeu ao pedido de informação."));
    const short tamanho = static_cast<short>(isc_vax_integer(resposta + 1, 2));
    return isc_vax_integer(resposta + 3, tamanho);
}

int Conexao::VersaoEstrutura() { return static_cast<int>(Informacao(isc_info_ods_version)); }

bool Conexao::SomenteLeitura() { return Informacao(isc_info_db_read_only) != 0; }

void Conexao::ExecutaImediato(Transacao& transacao, const QString& sql)
{
    const QByteArray texto = Codifica(sql);
    ISC_STATUS_ARRAY status;
    if (isc_dsql_execute_immediate(status, &m_handle, transacao.Handle(), 0, texto.constData(),
                                   kDialeto, nullptr))
        Lanca(status, *this);
}

void Conexao::CriaBanco(const QString& nomeBanco, const QString& usuario, const QString& senha,
                        const QString& conjuntoCaracteres, int tamanhoPagina)
{
    auto aspas = [](QString s) { return s.replace(QLatin1Char('\''), QLatin1String("''")); };
    const QString sql =
        QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3' PAGE_SIZE %4 "
                       "DEFAULT CHARACTER SET %5")
            .arg(aspas(nomeBanco), aspas(usuario), aspas(senha))
            .arg(tamanhoPagina)
            .arg(conjuntoCaracteres);
    const QByteArray texto = sql.toUtf8();
    ISC_STATUS_ARRAY status;
    isc_db_handle banco = 0;
    isc_tr_handle transacao = 0;
    if (isc_dsql_execute_immediate(status, &banco, &transacao, 0, texto.constData(), kDialeto,
                                   nullptr))
        Lanca(status);
    isc_detach_database(status, &banco);
}

// --- transaction --------------------------------------------------------------------------

Transacao::~Transacao()
{
    if (m_handle) {
        ISC_STATUS_ARRAY status;
        isc_rollback_transaction(status, &m_handle);
        m_handle = 0;
    }
}

QByteArray Transacao::ParametrosLeituraConfirmada()
{
    const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                        isc_tpb_rec_version, isc_tpb_nowait};
    return QByteArray(tpb, sizeof tpb);
}

void Transacao::Inicia(const QByteArray& parametros)
{
    if (m_handle)
        throw ErroBancoDados(QStringLiteral("A transação já está ativa."));
    if (!m_conexao.Aberta())
        throw ErroBancoDados(QStringLiteral("O banco de dados não está conectado."));
    ISC_STATUS_ARRAY status;
    if (isc_start_transaction(status, &m_handle, 1, m_conexao.Handle(),
                              static_cast<int>(parametros.size()), parametros.constData()))
        Lanca(status, m_conexao);
}

void Transacao::Commit()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    if (isc_commit_transaction(status, &m_handle))
        Lanca(status, m_conexao);
    m_handle = 0;
}

void Transacao::Rollback()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    if (isc_rollback_transaction(status, &m_handle)) {
        // A transaction that cannot be rolled back here is gone with its connection.
        m_handle = 0;
        Lanca(status, m_conexao);
    }
    m_handle = 0;
}

void Transacao::Abandona()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &m_handle);
    m_handle = 0;
}

// --- statement ----------------------------------------------------------------------------

Comando::Comando(Conexao& conexao) : m_conexao(conexao) {}

Comando::~Comando() { Libera(); }

QString Comando::TraduzParametros(const QString& sql, QStringList& nomes)
{
    nomes.clear();
    QString saida;
    saida.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text or identifier, doubled quotes inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype fim = qMin(j + 1, n);
            saida += sql.mid(i, fim - i);
            i = fim;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            saida += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            saida += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n &&
                   (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))) {
            qsizetype j = i + 1;
            while (j < n && EhLetraNome(sql[j]))
                ++j;
            nomes << sql.mid(i + 1, j - i - 1);
            saida += QLatin1Char('?');
            i = j;
        } else {
            saida += c;
            ++i;
        }
    }
    return saida;
}

void Comando::Libera()
{
    FechaCursor();
    if (m_handle) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &m_handle, DSQL_drop);
        m_handle = 0;
    }
    m_sql.clear();
    m_nomesParametros.clear();
    m_posicaoParaNome.clear();
    m_indiceNome.clear();
    m_valores.clear();
    m_colunas.clear();
    m_indiceColuna.clear();
    m_entrada.clear();
    m_entradaDescrita.clear();
    m_saida.clear();
    m_buffersEntrada.clear();
    m_buffersSaida.clear();
    m_indEntrada.clear();
    m_indSaida.clear();
    m_numSaida = 0;
}

void Comando::Prepara(Transacao& transacao, const QString& sql)
{
    Libera();
    if (!m_conexao.Aberta())
        throw ErroBancoDados(QStringLiteral("O banco de dados não está conectado."));
    QStringList posicoes;
    const QString traduzido = TraduzParametros(sql, posicoes);

    ISC_STATUS_ARRAY status;
    isc_stmt_handle handle = 0;
    if (isc_dsql_allocate_statement(status, m_conexao.Handle(), &handle))
        Lanca(status, m_conexao);
    m_handle = handle;
    const QByteArray texto = m_conexao.Codifica(traduzido);
    XSQLDA* saida = Descritor(m_saida, 1);
    if (isc_dsql_prepare(status, transacao.Handle(), &m_handle, 0, texto.constData(), kDialeto,
                         saida)) {
        ISC_STATUS_ARRAY libera;
        isc_dsql_free_statement(libera, &m_handle, DSQL_drop);
        m_handle = 0;
        Lanca(status, m_conexao);
    }
    m_sql = sql;
    for (const QString& nome : posicoes) {
        const QString chave = nome.toUpper();
        auto it = m_indiceNome.find(chave);
        if (it == m_indiceNome.end()) {
            it = m_indiceNome.insert(chave, static_cast<int>(m_nomesParametros.size()));
            m_nomesParametros << nome;
        }
        m_posicaoParaNome << it.value();
    }
    m_valores = QVector<QVariant>(m_nomesParametros.size());

    const char item[] = {isc_info_sql_stmt_type};
    char resposta[16];
    if (isc_dsql_sql_info(status, &m_handle, sizeof item, item, sizeof resposta, resposta))
        Lanca(status, m_conexao);
    m_tipo = resposta[0] == isc_info_sql_stmt_type
                 ? static_cast<int>(isc_vax_integer(resposta + 3,
                                                    static_cast<short>(isc_vax_integer(resposta + 1, 2))))
                 : 0;
    Descreve();
}

void Comando::Descreve()
{
    ISC_STATUS_ARRAY status;
    // Output columns.
    XSQLDA* saida = Descritor(m_saida);
    if (saida->sqld > saida->sqln) {
        saida = Descritor(m_saida, saida->sqld);
        if (isc_dsql_describe(status, &m_handle, kDialeto, saida))
            Lanca(status, m_conexao);
    }
    m_numSaida = saida->sqld;
    m_buffersSaida = QVector<QByteArray>(m_numSaida);
    m_indSaida = QVector<short>(m_numSaida, 0);
    for (int i = 0; i < m_numSaida; ++i) {
        XSQLVAR& v = saida->sqlvar[i];
        const int tipo = v.sqltype & ~1;
        int tamanho = v.sqllen;
        if (tipo == SQL_VARYING)
            tamanho += 2;
        m_buffersSaida[i] = QByteArray(qMax(tamanho, 8), '\0');
        v.sqldata = m_buffersSaida[i].data();
        v.sqlind = &m_indSaida[i];
        const QString nome = QString::fromUtf8(v.aliasname, v.aliasname_length);
        m_colunas << nome;
        if (!m_indiceColuna.contains(nome.toUpper()))
            m_indiceColuna.insert(nome.toUpper(), i);
    }
    // Input parameters.
    XSQLDA* entrada = Descritor(m_entrada, 1);
    if (isc_dsql_describe_bind(status, &m_handle, kDialeto, entrada))
        Lanca(status, m_conexao);
    if (entrada->sqld > entrada->sqln) {
        entrada = Descritor(m_entrada, entrada->sqld);
        if (isc_dsql_describe_bind(status, &m_handle, kDialeto, entrada))
            Lanca(status, m_conexao);
    }
    if (entrada->sqld != m_posicaoParaNome.size())
        throw ErroBancoDados(
            QStringLiteral("O comando tem %1 parâmetros, mas o texto nomeia %2.")
                .arg(entrada->sqld)
                .arg(m_posicaoParaNome.size()));
    m_entradaDescrita = m_entrada;
    m_entradaDescrita.detach();
}

void Comando::DefineParametro(const QString& nome, const QVariant& valor)
{
    const auto it = m_indiceNome.constFind(nome.toUpper());
    if (it == m_indiceNome.constEnd())
        throw ErroBancoDados(QStringLiteral("Parâmetro \"%1\" não encontrado.").arg(nome));
    m_valores[it.value()] = valor;
}

void Comando::LimpaParametros()
{
    for (QVariant& v : m_valores)
        v = QVariant();
}

void Comando::MontaEntrada(Transacao& transacao)
{
    // Each execution starts from the types the engine described.
    if (!m_entradaDescrita.isEmpty())
        std::memcpy(m_entrada.data(), m_entradaDescrita.constData(), m_entrada.size());
    XSQLDA* entrada = Descritor(m_entrada);
    const int n = entrada ? entrada->sqld : 0;
    m_buffersEntrada = QVector<QByteArray>(n);
    m_indEntrada = QVector<short>(n, 0);
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = entrada->sqlvar[i];
        const int descrito = v.sqltype & ~1;
        const QVariant& valor = m_valores[m_posicaoParaNome[i]];
        QByteArray& buf = m_buffersEntrada[i];
        v.sqlind = &m_indEntrada[i];
        v.sqlscale = 0;
        const auto tipoValor = valor.typeId();
        if (!valor.isValid() || valor.isNull()) {
            v.sqltype = static_cast<ISC_SHORT>(descrito | 1);
            buf = QByteArray(qMax<int>(v.sqllen + 2, 8), '\0');
            m_indEntrada[i] = -1;
        } else if (descrito == SQL_BLOB &&
                   (tipoValor == QMetaType::QByteArray || tipoValor == QMetaType::QString)) {
            const QByteArray dados = tipoValor == QMetaType::QByteArray
                                         ? valor.toByteArray()
                                         : m_conexao.Codifica(valor.toString());
            const ISC_QUAD id = GravaBlob(m_conexao, transacao, dados);
            buf = QByteArray(reinterpret_cast<const char*>(&id), sizeof id);
            v.sqltype = SQL_BLOB | 1;
            v.sqllen = sizeof(ISC_QUAD);
        } else if (tipoValor == QMetaType::Int || tipoValor == QMetaType::UInt ||
                   tipoValor == QMetaType::LongLong || tipoValor == QMetaType::Long ||
                   tipoValor == QMetaType::Short || tipoValor == QMetaType::Bool) {
            const qint64 x = valor.toLongLong();
            buf = QByteArray(reinterpret_cast<const char*>(&x), sizeof x);
            v.sqltype = SQL_INT64 | 1;
            v.sqllen = sizeof x;
        } else if (tipoValor == QMetaType::Double || tipoValor == QMetaType::Float) {
            const double x = valor.toDouble();
            buf = QByteArray(reinterpret_cast<const char*>(&x), sizeof x);
            v.sqltype = SQL_DOUBLE | 1;
            v.sqllen = sizeof x;
        } else if (tipoValor == QMetaType::QDate) {
            const ISC_DATE d = ParaDataFirebird(valor.toDate());
            buf = QByteArray(reinterpret_cast<const char*>(&d), sizeof d);
            v.sqltype = SQL_TYPE_DATE | 1;
            v.sqllen = sizeof d;
        } else if (tipoValor == QMetaType::QTime) {
            const ISC_TIME t = ParaHoraFirebird(valor.toTime());
            buf = QByteArray(reinterpret_cast<const char*>(&t), sizeof t);
            v.sqltype = SQL_TYPE_TIME | 1;
            v.sqllen = sizeof t;
        } else if (tipoValor == QMetaType::QDateTime) {
            const QDateTime dt = valor.toDateTime();
            ISC_TIMESTAMP ts;
            ts.timestamp_date = ParaDataFirebird(dt.date());
            ts.timestamp_time = ParaHoraFirebird(dt.time());
            buf = QByteArray(reinterpret_cast<const char*>(&ts), sizeof ts);
            v.sqltype = SQL_TIMESTAMP | 1;
            v.sqllen = sizeof ts;
        } else {
            // Text (and bytes) as a varying string; the engine converts it to the
            // parameter's own type and refuses a text longer than the column.
            const bool bytes = tipoValor == QMetaType::QByteArray;
            const QByteArray dados =
                bytes ? valor.toByteArray() : m_conexao.Codifica(valor.toString());
            if (dados.size() > 32765)
                throw ErroBancoDados(QStringLiteral("Texto longo demais para o parâmetro \"%1\".")
                                         .arg(m_nomesParametros[m_posicaoParaNome[i]]));
            const short tamanho = static_cast<short>(dados.size());
            buf = QByteArray(reinterpret_cast<const char*>(&tamanho), sizeof tamanho) + dados;
            if (descrito != SQL_TEXT && descrito != SQL_VARYING)
                v.sqlsubtype = bytes ? 1 : 0;
            v.sqltype = SQL_VARYING | 1;
            v.sqllen = tamanho;
        }
        v.sqldata = buf.data();
    }
}

void Comando::Executa(Transacao& transacao)
{
    if (!m_handle)
        throw ErroBancoDados(QStringLiteral("Comando não preparado."));
    FechaCursor();
    MontaEntrada(transacao);
    ISC_STATUS_ARRAY status;
    XSQLDA* entrada = Descritor(m_entrada);
    if (m_tipo == isc_info_sql_stmt_exec_procedure && m_numSaida > 0) {
        if (isc_dsql_execute2(status, transacao.Handle(), &m_handle, kDialeto, entrada,
                              Descritor(m_saida)))
            Lanca(status, m_conexao);
        m_linhaPendente = QVector<QVariant>(m_numSaida);
        for (int i = 0; i < m_numSaida; ++i)
            m_linhaPendente[i] = LeValor(i, transacao);
        m_linhaProcedimento = true;
        return;
    }
    if (isc_dsql_execute(status, transacao.Handle(), &m_handle, kDialeto, entrada))
        Lanca(status, m_conexao);
    if (m_tipo == isc_info_sql_stmt_select || m_tipo == isc_info_sql_stmt_select_for_upd) {
        m_cursorAberto = true;
        m_transacaoCursor = &transacao;
    }
}

bool Comando::Busca(QVector<QVariant>& linha)
{
    if (m_linhaProcedimento) {
        linha = m_linhaPendente;
        m_linhaProcedimento = false;
        return true;
    }
    if (!m_cursorAberto)
        return false;
    ISC_STATUS_ARRAY status;
    const ISC_STATUS r = isc_dsql_fetch(status, &m_handle, kDialeto, Descritor(m_saida));
    if (r == 100) {
        FechaCursor();
        return false;
    }
    if (r)
        Lanca(status, m_conexao);
    linha.resize(m_numSaida);
    for (int i = 0; i < m_numSaida; ++i)
        linha[i] = LeValor(i, *m_transacaoCursor);
    return true;
}

void Comando::FechaCursor()
{
    m_linhaProcedimento = false;
    if (!m_cursorAberto)
        return;
    m_cursorAberto = false;
    m_transacaoCursor = nullptr;
    ISC_STATUS_ARRAY status;
    isc_dsql_free_statement(status, &m_handle, DSQL_close);
}

int Comando::IndiceColuna(const QString& nome) const
{
    return m_indiceColuna.value(nome.toUpper(), -1);
}

QVariant Comando::LeValor(int i, Transacao& transacao)
{
    const XSQLVAR& v = Descritor(m_saida)->sqlvar[i];
    if ((v.sqltype & 1) && *v.sqlind < 0)
        return QVariant();
    const char* d = v.sqldata;
    auto escala = [&v](qint64 x) -> QVariant {
        if (v.sqlscale == 0)
            return QVariant::fromValue<qint64>(x);
        double r = static_cast<double>(x);
        for (int k = 0; k < -v.sqlscale; ++k)
            r /= 10.0;
        return r;
    };
    switch (v.sqltype & ~1) {
    case SQL_TEXT: {
        QByteArray bytes(d, v.sqllen);
        if (v.sqlsubtype == 1)
            return bytes;
        while (bytes.endsWith(' '))
            bytes.chop(1);
        return m_conexao.Decodifica(bytes);
    }
    case SQL_VARYING: {
        short tamanho;
        std::memcpy(&tamanho, d, sizeof tamanho);
        const QByteArray bytes(d + 2, tamanho);
        if (v.sqlsubtype == 1)
            return bytes;
        return m_conexao.Decodifica(bytes);
    }
    case SQL_SHORT: {
        short x;
        std::memcpy(&x, d, sizeof x);
        return escala(x);
    }
    case SQL_LONG: {
        ISC_LONG x;
        std::memcpy(&x, d, sizeof x);
        return escala(x);
    }
    case SQL_INT64: {
        ISC_INT64 x;
        std::memcpy(&x, d, sizeof x);
        return escala(x);
    }
    case SQL_FLOAT: {
        float x;
        std::memcpy(&x, d, sizeof x);
        return static_cast<double>(x);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        double x;
        std::memcpy(&x, d, sizeof x);
        return x;
    }
    case SQL_TYPE_DATE: {
        ISC_DATE x;
        std::memcpy(&x, d, sizeof x);
        return DeDataFirebird(x);
    }
    case SQL_TYPE_TIME: {
        ISC_TIME x;
        std::memcpy(&x, d, sizeof x);
        return DeHoraFirebird(x);
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP x;
        std::memcpy(&x, d, sizeof x);
        return QDateTime(DeDataFirebird(x.timestamp_date), DeHoraFirebird(x.timestamp_time));
    }
    case SQL_BOOLEAN:
        return *d != 0;
    case SQL_BLOB: {
        ISC_QUAD id;
        std::memcpy(&id, d, sizeof id);
        const QByteArray dados = LeBlob(m_conexao, transacao, id);
        if (v.sqlsubtype == 1)
            return m_conexao.Decodifica(dados);
        return dados;
    }
    case SQL_NULL:
        return QVariant();
    default:
        throw ErroBancoDados(
            QStringLiteral("Tipo de coluna não suportado (%1).").arg(v.sqltype & ~1));
    }
}

} // namespace fb
