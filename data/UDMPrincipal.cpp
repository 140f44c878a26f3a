#include "data/UDMPrincipal.h"

#include "common/UNomeBanco.h"
#include "platform/UMensagens.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {
TDMPrincipal* g_modulo = nullptr;
}

TDMPrincipal::TDMPrincipal(QObject* pai)
    : QObject(pai),
      IBOperation(new ConsultaBD(*this, QStringLiteral("IBOperation"))),
      IBQueryPacientes(new ConsultaBD(*this, QStringLiteral("IBQueryPacientes"),
                                      QStringLiteral("select * from PACIENTES"))),
      IBQueryMedicos(new ConsultaBD(*this, QStringLiteral("IBQueryMedicos"),
                                    QStringLiteral("select CODIGO from MEDICOS"))),
      IBQueryExames(new ConsultaBD(*this, QStringLiteral("IBQueryExames"),
                                   QStringLiteral("select * from EXAMES"))),
      IBQueryExamesOrto(new ConsultaBD(*this, QStringLiteral("IBQueryExamesOrto"),
                                       QStringLiteral("select * from EXAMESORTO"))),
      IBQueryBuscaPac(new ConsultaBD(*this, QStringLiteral("IBQueryBuscaPac"),
                                     QStringLiteral("SELECT *  FROM PACIENTES"))),
      IBQueryLaudos(new ConsultaBD(*this, QStringLiteral("IBQueryLaudos"))),
      // Tables are read in the order of their primary key.
      IBPacientes(new ConsultaBD(*this, QStringLiteral("IBPacientes"),
                                 QStringLiteral("select * from PACIENTES order by CODIGO"),
                                 QStringLiteral("PACIENTES"))),
      IBMedicos(new ConsultaBD(*this, QStringLiteral("IBMedicos"),
                               QStringLiteral("select * from MEDICOS order by CODIGO"),
                               QStringLiteral("MEDICOS"))),
      IBExames(new ConsultaBD(*this, QStringLiteral("IBExames"),
                              QStringLiteral("select * from EXAMES order by CODIGO"),
                              QStringLiteral("EXAMES"))),
      IBLaudos(new ConsultaBD(*this, QStringLiteral("IBLaudos"),
                              QStringLiteral("select * from LAUDOS order by CODIGO"),
                              QStringLiteral("LAUDOS"))),
      IBLaudosTexto(new ConsultaBD(*this, QStringLiteral("IBLaudosTexto"),
                                   QStringLiteral("select * from LAUDOSTEXTO order by CODIGO"),
                                   QStringLiteral("LAUDOSTEXTO")))
{
    setObjectName(QStringLiteral("DMPrincipal"));
    if (!g_modulo)
        g_modulo = this;
}

TDMPrincipal::~TDMPrincipal()
{
    try {
        PDesconectionDataBase();
    } catch (const ErroSistema&) {
        // The connection goes away with the module either way.
    }
    for (ConsultaBD* c : {IBOperation, IBQueryPacientes, IBQueryMedicos, IBQueryExames,
                          IBQueryExamesOrto, IBQueryBuscaPac, IBQueryLaudos, IBPacientes,
                          IBMedicos, IBExames, IBLaudos, IBLaudosTexto})
        delete c;
    // Datasets of other owners that are still alive lose their module.
    for (ConsultaBD* c : std::as_const(m_conjuntos))
        c->m_modulo = nullptr;
    m_conjuntos.clear();
    if (g_modulo == this)
        g_modulo = nullptr;
}

TDMPrincipal& TDMPrincipal::Instancia()
{
    if (!g_modulo)
        throw ErroBancoDados(QStringLiteral("O módulo de dados não foi criado."));
    return *g_modulo;
}

bool TDMPrincipal::Existe() { return g_modulo != nullptr; }

void TDMPrincipal::FechaConjuntos()
{
    const QList<ConsultaBD*> conjuntos = m_conjuntos;
    for (ConsultaBD* c : conjuntos)
        c->Fecha();
}

void TDMPrincipal::GaranteTransacao()
{
    if (IBDatabase.Perdida() || m_reconectar)
        Reconecta();
    if (!IBDatabase.Aberta())
        throw ErroBancoDados(QStringLiteral("O banco de dados não está conectado."));
    if (!IBTransaction.Ativa())
        IBTransaction.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
}

void TDMPrincipal::Reconecta()
{
    // Whatever the broken connection held is gone on the server: the datasets close, their
    // statements and the transaction are forgotten here, and the attachment opens again.
    // Forms keep what they show and what was typed; they read again on their next action.
    m_reconectar = true;
    FechaConjuntos();
    for (ConsultaBD* c : std::as_const(m_conjuntos)) {
        c->m_comando.reset();
        c->m_sqlPreparado.clear();
    }
    IBTransaction.Abandona();
    IBDatabase.Fecha();
    if (m_parametros.isEmpty())
        throw ErroBancoDados(QStringLiteral("O banco de dados não foi definido."));
    try {
        IBDatabase.Abre(m_nomeBanco, m_parametros);
    } catch (const fb::ErroFirebird& e) {
        qWarning("Banco de dados: reconexão falhou: %s", qUtf8Printable(e.Detalhes()));
        throw ErroBancoDados(QStringLiteral("A conexão com o servidor do banco de dados foi perdida. Nada foi "
                                            "gravado desta operação.\n")
                             + e.CausaConexao(NomeBanco::Maquina(m_nomeBanco)));
    }
    m_reconectar = false;
    qInfo("Banco de dados: conexão refeita com %s", qUtf8Printable(NomeBanco::Maquina(m_nomeBanco)));
}

void TDMPrincipal::DefineCredenciais(const QString& usuario, const QString& senha)
{
    m_usuarioServidor = usuario.trimmed();
    m_senhaServidor = senha;
}

namespace {
QString ValorParametro(const QStringList& parametros, const QString& chave)
{
    for (const QString& p : parametros)
        if (p.startsWith(chave + u'=', Qt::CaseInsensitive))
            return p.mid(chave.size() + 1);
    return {};
}

// This process may create and replace files in the database's folder.
bool PastaGravavel(const QString& arquivo)
{
    return ::access(QFile::encodeName(QFileInfo(arquivo).absolutePath()).constData(), W_OK) == 0;
}
} // namespace

QString TDMPrincipal::UsuarioConexao() const { return ValorParametro(m_parametros, QStringLiteral("user_name")); }
QString TDMPrincipal::SenhaConexao() const { return ValorParametro(m_parametros, QStringLiteral("password")); }

void TDMPrincipal::TentaConectar(const QString& usuario, const QString& senha)
{
    m_parametros = {QStringLiteral("user_name=") + usuario, QStringLiteral("password=") + senha};
    IBDatabase.Abre(m_nomeBanco, m_parametros);
    if (m_verificacao && !m_verificacao(usuario, senha)) {
        IBDatabase.Fecha();
        fb::LancaFalhaLogin();
    }
}

bool TDMPrincipal::PSetDataBaseName(const QString& caminho)
{
    m_causaFalha.clear();
    try {
        try {
            PDesconectionDataBase();
        } catch (const ErroSistema&) {
            // A broken earlier connection does not stop the new one.
        }
        m_reconectar = false;
        m_nomeBanco = caminho;
        const QString servidor = NomeBanco::Maquina(caminho);
        const bool proprias = !m_usuarioServidor.isEmpty();
        try {
            try {
                if (proprias)
                    TentaConectar(m_usuarioServidor, m_senhaServidor);
                else
                    TentaConectar(QStringLiteral("sysdba"), QStringLiteral("qwzk47"));
            } catch (const fb::ErroFirebird& e) {
                // Only a refused password is worth the second one: a server that does not
                // answer would make the user wait twice.
                if (proprias || !e.FalhaLogin())
                    throw;
                TentaConectar(QStringLiteral("sysdba"), QStringLiteral("gatehouse"));
            }
        } catch (const fb::ErroFirebird& e) {
            // Only a refused password is the user's to know about here; a missing or
            // unreadable file is reported by the caller's failed connection, with the
            // cause kept below. The engine's text never carries the password.
            m_causaFalha = e.CausaConexao(servidor);
            qWarning("Banco de dados: %s", qUtf8Printable(e.Detalhes()));
            if (e.FalhaLogin())
                Mensagem(QStringLiteral("ERRO"),
                         servidor.isEmpty() ? QStringLiteral("Usuário/Senha de BD incorreto!") : m_causaFalha,
                         IconeMensagem::Nenhum, BotoesMensagem::OkCancelar);
        } catch (const ErroBancoDados&) {
            m_causaFalha = QStringLiteral("O banco de dados recusou a conexão.");
        }
        bool responde = false;
        if (IBDatabase.Aberta()) {
            bool somenteLeitura = false;
            try {
                IBDatabase.VersaoEstrutura();
                somenteLeitura = IBDatabase.SomenteLeitura();
                responde = true;
            } catch (const ErroBancoDados&) {
                m_causaFalha = QStringLiteral("O arquivo do banco de dados está danificado.");
            }
            // A database set read-only, or a local one in a folder the user cannot write,
            // opens and reads: refused here rather than at the first thing saved.
            if (responde && (somenteLeitura || (servidor.isEmpty() && !PastaGravavel(caminho)))) {
                m_causaFalha = QStringLiteral("Sem permissão de escrita no banco de dados.");
                responde = false;
            }
            if (!responde)
                IBDatabase.Fecha();
        }
        if (responde)
            PConnectDataBase();
        return responde;
    } catch (const ErroSistema&) {
        IBDatabase.Fecha();
        return false;
    }
}

void TDMPrincipal::PConnectDataBase()
{
    if (!IBDatabase.Aberta()) {
        if (m_parametros.isEmpty())
            throw ErroBancoDados(QStringLiteral("O banco de dados não foi definido."));
        IBDatabase.Abre(m_nomeBanco, m_parametros);
    }
    GaranteTransacao();
}

void TDMPrincipal::PDesconectionDataBase()
{
    FechaConjuntos();
    if (IBDatabase.Perdida()) {
        // Nothing of a broken connection can be committed any more.
        IBTransaction.Abandona();
        for (ConsultaBD* c : std::as_const(m_conjuntos)) {
            c->m_comando.reset();
            c->m_sqlPreparado.clear();
        }
        IBDatabase.Fecha();
        return;
    }
    // Work not yet committed is kept, not thrown away.
    if (IBTransaction.Ativa()) {
        try {
            IBTransaction.Commit();
        } catch (const ErroBancoDados&) {
            IBTransaction.Rollback();
            IBDatabase.Fecha();
            throw;
        }
    }
    // Prepared statements belong to the connection: forget them before it closes.
    for (ConsultaBD* c : std::as_const(m_conjuntos)) {
        c->m_comando.reset();
        c->m_sqlPreparado.clear();
    }
    IBDatabase.Fecha();
}

void TDMPrincipal::PCommitDataBase()
{
    FechaConjuntos();
    IBTransaction.Commit();
    for (ConsultaBD* c : {IBMedicos, IBPacientes, IBExames, IBLaudos, IBLaudosTexto})
        c->Abre();
    if (!IBQueryPacientes->SQL().trimmed().isEmpty())
        IBQueryPacientes->Abre();
    emit Confirmado();
}
