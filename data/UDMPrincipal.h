#pragma once
// The data module: the program's only database connection, its only transaction
// (read-committed, latest committed version, no waiting on locks) and every dataset the
// forms show or execute statements through. Data-access objects borrow IBOperation for one
// statement at a time.
//
// A database name with a server in front ("servidor:/srv/clinica/DATABASE.GDB", see
// NomeBanco) is reached on that Firebird server: several workstations then share it, each
// with its own connection and transaction. A connection that breaks is opened again by the
// next action, once, without leaving the program.
//
// Environment: none is needed. A database name without a host opens the file with the
// embedded engine of libfbclient (Providers of firebird.conf); the engine keeps its lock
// files in /tmp/firebird unless FIREBIRD_LOCK says otherwise, and every process that opens
// the same file must share that folder, so the module leaves it as the system has it.

#include "data/UConsultaBD.h"
#include "data/UFirebird.h"

#include <QObject>

#include <functional>

class TDMPrincipal : public QObject {
    Q_OBJECT
    QList<ConsultaBD*> m_conjuntos;  // every dataset on this module (first: they register)

public:
    explicit TDMPrincipal(QObject* pai = nullptr);
    ~TDMPrincipal() override;

    // The program's data module: the first one created, until it is destroyed. Raises
    // when none exists.
    static TDMPrincipal& Instancia();
    static bool Existe();

    // Connects to the database file (its full path). Tries the two passwords of the
    // owner, or only the credentials given by DefineCredenciais; true when the connection
    // is open and answers, and then the transaction is started. A missing or unreadable
    // file, and one that cannot be written (a read-only database, or a local file whose
    // folder the user cannot write), give false without a message.
    bool PSetDataBaseName(const QString& caminho);
    // User and password of a server installation (the settings' own); an empty user goes
    // back to the owner's password sequence.
    void DefineCredenciais(const QString& usuario, const QString& senha);
    // The user and password of the open connection (the service manager of the backup
    // logs in with them).
    QString UsuarioConexao() const;
    QString SenhaConexao() const;
    // Why the last PSetDataBaseName failed, in one line for the user (empty after success).
    QString CausaFalhaConexao() const { return m_causaFalha; }
    // Opens the connection (to the name last set) and starts the transaction.
    void PConnectDataBase();
    // Ends the transaction (its work is committed, its datasets close) and closes the
    // connection.
    void PDesconectionDataBase();
    // Commits (every dataset closes), then opens again the tables and the patient list
    // with its current SQL text; opening starts the next transaction.
    void PCommitDataBase();

    bool Conectado() const { return IBDatabase.Aberta(); }
    bool TransacaoAtiva() const { return IBTransaction.Ativa(); }
    const QString& NomeBanco() const { return m_nomeBanco; }

    // Starts the transaction when it is not active (every dataset calls this before it
    // runs). A connection that broke is opened again first, once per call; raises when the
    // connection is closed or the server still does not answer.
    void GaranteTransacao();
    // The connection broke and waits for the next action to open it again.
    bool ConexaoPerdida() const { return m_reconectar || IBDatabase.Perdida(); }

    // A server checks the password; the embedded engine does not. Tests of the password
    // sequence install a check here that refuses like a server would (nullptr removes it).
    using VerificacaoSenha = std::function<bool(const QString& usuario, const QString& senha)>;
    void DefineVerificacaoSenha(VerificacaoSenha verificacao) { m_verificacao = std::move(verificacao); }

    fb::Conexao IBDatabase;
    fb::Transacao IBTransaction{IBDatabase};

    // Datasets (Qt object names as here).
    ConsultaBD* const IBOperation;        // statement executor of the data-access objects
    ConsultaBD* const IBQueryPacientes;   // navigator's patient list
    ConsultaBD* const IBQueryMedicos;     // doctor lookups of the forms
    ConsultaBD* const IBQueryExames;      // navigator's examinations; backup cursor
    ConsultaBD* const IBQueryExamesOrto;  // ortho-k values of one examination
    ConsultaBD* const IBQueryBuscaPac;    // patient search results
    ConsultaBD* const IBQueryLaudos;      // reports cursor
    ConsultaBD* const IBPacientes;        // table PACIENTES
    ConsultaBD* const IBMedicos;          // table MEDICOS
    ConsultaBD* const IBExames;           // table EXAMES
    ConsultaBD* const IBLaudos;           // table LAUDOS
    ConsultaBD* const IBLaudosTexto;      // table LAUDOSTEXTO

    // The grids' data sources are the datasets themselves.
    ConsultaBD* DSQueryPacientes() const { return IBQueryPacientes; }
    ConsultaBD* DSQueryExames() const { return IBQueryExames; }
    ConsultaBD* DSQueryBuscaPac() const { return IBQueryBuscaPac; }
    ConsultaBD* DSPacientes() const { return IBPacientes; }
    ConsultaBD* DSMedicos() const { return IBMedicos; }
    ConsultaBD* DSExames() const { return IBExames; }

signals:
    // After every commit, once the tables and the patient list are open again.
    void Confirmado();

private:
    friend class ConsultaBD;
    void Registra(ConsultaBD* c) { m_conjuntos << c; }
    void Desregistra(ConsultaBD* c) { m_conjuntos.removeAll(c); }
    void FechaConjuntos();
    void TentaConectar(const QString& usuario, const QString& senha);
    void Reconecta();

    QString m_nomeBanco;
    QStringList m_parametros;
    VerificacaoSenha m_verificacao;
    QString m_causaFalha;
    QString m_usuarioServidor, m_senhaServidor;
    bool m_reconectar = false;
};
