#include "data/UDMPrincipal.h"

#include "platform/UMensagens.h"

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
    if (!IBDatabase.Aberta())
        throw ErroBancoDados(QStringLiteral("O banco de dados não está conectado."));
    if (!IBTransaction.Ativa())
        IBTransaction.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
}

void TDMPrincipal::TentaConectar(const QString& senha)
{
    m_parametros = {QStringLiteral("user_name=sysdba"), QStringLiteral("password=") + senha};
    IBDatabase.Abre(m_nomeBanco, m_parametros);
    if (m_verificacao && !m_verificacao(QStringLiteral("sysdba"), senha)) {
        IBDatabase.Fecha();
        fb::LancaFalhaLogin();
    }
}

bool TDMPrincipal::PSetDataBaseName(const QString& caminho)
{
    m_causaFalha.clear();
    try {
        PDesconectionDataBase();
        m_nomeBanco = caminho;
        try {
            TentaConectar(QStringLiteral("qwzk47"));
        } catch (const ErroBancoDados&) {
            try {
                TentaConectar(QStringLiteral("gatehouse"));
            } catch (const fb::ErroFirebird& e) {
                // Only a refused password is the user's to know about here; a missing or
                // unreadable file is reported by the caller's failed connection, with
                // the cause kept below.
                m_causaFalha = e.CausaConexao();
                qWarning("Banco de dados: %s", qUtf8Printable(e.Detalhes()));
                if (e.FalhaLogin())
                    Mensagem(QStringLiteral("ERRO"), QStringLiteral("Usuário/Senha de BD incorreto!"),
                             IconeMensagem::Nenhum, BotoesMensagem::OkCancelar);
            } catch (const ErroBancoDados&) {
                m_causaFalha = QStringLiteral("O banco de dados recusou a conexão.");
            }
        }
        bool responde = false;
        if (IBDatabase.Aberta()) {
            try {
                IBDatabase.VersaoEstrutura();
                responde = true;
            } catch (const ErroBancoDados&) {
                m_causaFalha = QStringLiteral("O arquivo do banco de dados está danificado.");
                IBDatabase.Fecha();
            }
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
