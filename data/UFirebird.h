#pragma once
// Thin owner of the Firebird client API (ibase.h): one attachment, one transaction at a time,
// prepared statements with named parameters, blobs and the database information request.
// Every failure is raised as ErroFirebird, a database error carrying the engine's own text.
//
// The engine is reached through libfbclient. A database name without a server prefix opens
// the file directly with the embedded engine (no server process); "host:/path/DATABASE.GDB"
// (see NomeBanco) reaches a Firebird server through the client's remote provider, with the
// same code above it.

#include "common/UErros.h"

#include <QList>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <cstdint>
#include <memory>

namespace fb {

// A database error with the engine's message, its error code (isc_...) and SQL code.
class ErroFirebird : public ErroBancoDados {
public:
    // mensagem: the engine's text; codigos: the engine's error codes of the status vector
    // in order; erroSistema: the operating system's error number it carried (0: none).
    ErroFirebird(QString mensagem, intptr_t codigo, int codigoSql, QList<intptr_t> codigos = {},
                 int erroSistema = 0);
    intptr_t Codigo() const { return m_codigo; }
    int CodigoSql() const { return m_codigoSql; }
    // The user name or the password was refused.
    bool FalhaLogin() const;
    // The row is locked by another transaction (no-wait conflict). Its message is then the
    // user's text; the engine's own is in Detalhes().
    bool ConflitoBloqueio() const;
    // The connection to the server broke (server stopped, network cut): the statement and
    // its transaction are gone on the server. Its message is then the user's text.
    bool ConexaoPerdida() const;
    // Why a connection failed, in one line a user can act on; servidor names the server of
    // the database (empty: a file of this machine).
    QString CausaConexao(const QString& servidor = QString()) const;
    // The engine's own text.
    const QString& Detalhes() const { return m_detalhes; }

private:
    bool Tem(intptr_t codigo) const { return m_codigos.contains(codigo); }
    intptr_t m_codigo;
    int m_codigoSql;
    QList<intptr_t> m_codigos;
    int m_erroSistema;
    QString m_detalhes;
};

// Raises the error of a login refusal as the engine would (used where a password check is
// done outside the engine).
[[noreturn]] void LancaFalhaLogin();
// Raises the error held in a status vector of the client API (ISC_STATUS_ARRAY).
[[noreturn]] void LancaStatus(const intptr_t* status);

class Transacao;

// One attachment to a database.
class Conexao {
public:
    Conexao() = default;
    ~Conexao();
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;

    // Opens the attachment. Parameters are "name=value" lines: user_name, password,
    // lc_ctype, sql_role_name, force_write (0 or 1; case of the names ignored). The character set of the
    // attachment is WIN1252 unless lc_ctype says otherwise.
    void Abre(const QString& nomeBanco, const QStringList& parametros);
    // Closes the attachment (any error is ignored: the attachment is gone either way).
    void Fecha();
    bool Aberta() const { return m_handle != 0; }
    const QString& NomeBanco() const { return m_nome; }
    // A call on this attachment failed because the connection to the server broke; the
    // attachment is of no more use and must be opened again (Fecha clears the mark).
    bool Perdida() const { return m_perdida; }
    void MarcaPerdida() { m_perdida = true; }
    // Seconds a connection to a server may wait for the server to answer.
    static constexpr int kEsperaServidor = 8;

    // Asks the database for its on-disk structure version; raises when it does not answer.
    int VersaoEstrutura();
    // The database was set read-only (gfix -mode read_only): it opens, but nothing can be
    // written to it.
    bool SomenteLeitura();

    // Runs one statement directly in the transaction (no parameters, no result).
    void ExecutaImediato(Transacao& transacao, const QString& sql);

    // Creates a new database file with the given owner, default character set and dialect
    // 3. The attachment stays closed; open it with Abre.
    static void CriaBanco(const QString& nomeBanco, const QString& usuario,
                          const QString& senha, const QString& conjuntoCaracteres,
                          int tamanhoPagina = 8192);

    // Text conversion of the attachment's character set.
    QByteArray Codifica(const QString& texto) const;
    QString Decodifica(const QByteArray& bytes) const;

    unsigned int* Handle() { return &m_handle; }

private:
    // One numeric item of the database's information; raises when it does not answer.
    long long Informacao(char item);

    unsigned int m_handle = 0;
    QString m_nome;
    bool m_utf8 = false;
    bool m_perdida = false;
};

// The one transaction of an attachment.
class Transacao {
public:
    explicit Transacao(Conexao& conexao) : m_conexao(conexao) {}
    ~Transacao();
    Transacao(const Transacao&) = delete;
    Transacao& operator=(const Transacao&) = delete;

    // Starts with this parameter block (isc_tpb_* bytes, version byte included).
    void Inicia(const QByteArray& parametros);
    void Commit();
    void Rollback();
    // Forgets the transaction: a rollback is tried, its failure ignored (on a broken
    // connection the server rolls it back by itself).
    void Abandona();
    bool Ativa() const { return m_handle != 0; }
    Conexao& DaConexao() { return m_conexao; }
    unsigned int* Handle() { return &m_handle; }

    // Read-committed, latest committed version, no waiting on locks, read-write.
    static QByteArray ParametrosLeituraConfirmada();

private:
    Conexao& m_conexao;
    unsigned int m_handle = 0;
};

// A prepared statement. ":Name" parameters are turned into positional ones at preparation;
// values are bound by name without regard to letter case, and one name may stand in several
// places. Result columns are found by name, also without regard to letter case.
//
// Values: integers (qint64), reals (double), texts (QString), dates (QDate), times (QTime),
// date-times (QDateTime), bytes (QByteArray: blobs and octets), Booleans, and the null value
// (an invalid QVariant).
class Comando {
public:
    explicit Comando(Conexao& conexao);
    ~Comando();
    Comando(const Comando&) = delete;
    Comando& operator=(const Comando&) = delete;

    void Prepara(Transacao& transacao, const QString& sql);
    bool Preparado() const { return m_handle != 0; }
    const QString& TextoSql() const { return m_sql; }
    // Forgets the prepared statement.
    void Libera();

    // Names of the parameters in the order they first appear (as written).
    const QStringList& Parametros() const { return m_nomesParametros; }
    // Binds a value; raises when the statement has no parameter of that name.
    void DefineParametro(const QString& nome, const QVariant& valor);
    // Every parameter back to the null value.
    void LimpaParametros();

    // Executes the statement. A SELECT opens a cursor read with Busca; a procedure that
    // returns values yields one row.
    void Executa(Transacao& transacao);
    // Reads the next row; false at the end.
    bool Busca(QVector<QVariant>& linha);
    void FechaCursor();
    bool CursorAberto() const { return m_cursorAberto || m_linhaProcedimento; }
    bool RetornaLinhas() const { return m_numSaida > 0; }

    // Result columns (alias names, upper case as the engine gives them).
    const QStringList& Colunas() const { return m_colunas; }
    int IndiceColuna(const QString& nome) const;

    // Turns ":Name" parameters into "?" and lists the names; text in quotes and comments
    // is left alone. Exposed for the tests of the translation itself.
    static QString TraduzParametros(const QString& sql, QStringList& nomes);

private:
    void Descreve();
    void MontaEntrada(Transacao& transacao);
    QVariant LeValor(int i, Transacao& transacao);

    Conexao& m_conexao;
    unsigned int m_handle = 0;
    QString m_sql;
    int m_tipo = 0;                          // isc_info_sql_stmt_* of the statement
    QStringList m_nomesParametros;           // as written, first appearance order
    QVector<int> m_posicaoParaNome;          // "?" position -> index in m_nomesParametros
    QHash<QString, int> m_indiceNome;        // upper-case name -> index
    QVector<QVariant> m_valores;             // per name index
    QStringList m_colunas;
    QHash<QString, int> m_indiceColuna;
    // Input and output descriptor areas (XSQLDA) and the buffers their fields point into.
    QByteArray m_entrada, m_saida;
    QByteArray m_entradaDescrita;            // the input area as the engine described it
    QVector<QByteArray> m_buffersEntrada, m_buffersSaida;
    QVector<short> m_indEntrada, m_indSaida;
    int m_numSaida = 0;
    Transacao* m_transacaoCursor = nullptr;
    bool m_cursorAberto = false;
    bool m_linhaProcedimento = false;
    QVector<QVariant> m_linhaPendente;
};

// Date and time of the engine's formats (days since 17 November 1858; ten-thousandths of a
// second since midnight).
int32_t ParaDataFirebird(const QDate& data);
QDate DeDataFirebird(int32_t dias);
uint32_t ParaHoraFirebird(const QTime& hora);
QTime DeHoraFirebird(uint32_t decimilesimos);

} // namespace fb
