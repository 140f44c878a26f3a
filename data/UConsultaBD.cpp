#include "data/UConsultaBD.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "data/UDMPrincipal.h"
#include "data/UFirebird.h"

#include <algorithm>

ConsultaBD::ConsultaBD(TDMPrincipal& modulo, const QString& nome, const QString& sql,
                       const QString& tabela)
    : m_modulo(&modulo), m_tabela(tabela)
{
    setObjectName(nome);
    if (!sql.isEmpty())
        m_linhasSql << sql;
    m_modulo->Registra(this);
}

ConsultaBD::~ConsultaBD()
{
    PerdeCursor();
    m_comando.reset();
    if (m_modulo)
        m_modulo->Desregistra(this);
}

TDMPrincipal& ConsultaBD::Modulo() const
{
    if (!m_modulo)
        throw ErroBancoDados(
            QStringLiteral("O conjunto de dados \"%1\" ficou sem o módulo de dados.").arg(objectName()));
    return *m_modulo;
}

void ConsultaBD::DefineSQL(const QString& sql)
{
    LimpaSQL();
    if (!sql.isEmpty())
        m_linhasSql << sql;
}

void ConsultaBD::LimpaSQL()
{
    Fecha();
    m_linhasSql.clear();
    m_parametros.clear();
    m_sqlContagem.clear();
}

void ConsultaBD::DefineLeituraPorBlocos(const QString& sqlContagem)
{
    Fecha();
    m_sqlContagem = sqlContagem;
}

QString ConsultaBD::SqlExecutado() const
{
    if (m_sqlContagem.isEmpty())
        return SQL();
    return SQL() + QStringLiteral("\nROWS :JanelaDe TO :JanelaAte");
}

void ConsultaBD::BindParametros(fb::Comando& comando) const
{
    comando.LimpaParametros();
    const QStringList nomes = comando.Parametros();
    for (const auto& p : m_parametros)
        if (nomes.contains(p.first, Qt::CaseInsensitive))
            comando.DefineParametro(p.first, p.second);
}

void ConsultaBD::AdicionaSQL(const QString& linha)
{
    Fecha();
    m_linhasSql << linha;
}

void ConsultaBD::DefineParametro(const QString& nome, const QVariant& valor)
{
    // The name must be one of the text's parameters (raises otherwise).
    Prepara();
    if (!Parametros().contains(nome, Qt::CaseInsensitive))
        throw ErroBancoDados(QStringLiteral("Parâmetro \"%1\" não encontrado.").arg(nome));
    for (auto& p : m_parametros)
        if (p.first.compare(nome, Qt::CaseInsensitive) == 0) {
            p.second = valor;
            return;
        }
    m_parametros.append({nome, valor});
}

QStringList ConsultaBD::Parametros()
{
    Prepara();
    return m_comando->Parametros();
}

void ConsultaBD::Prepara()
{
    const QString sql = SqlExecutado();
    if (SQL().trimmed().isEmpty())
        throw ErroBancoDados(
            QStringLiteral("O comando \"%1\" não tem texto SQL.").arg(objectName()));
    if (m_comando && m_comando->Preparado() && m_sqlPreparado == sql)
        return;
    Modulo().GaranteTransacao();
    if (!m_comando)
        m_comando = std::make_unique<fb::Comando>(Modulo().IBDatabase);
    m_sqlPreparado.clear();
    m_comando->Prepara(Modulo().IBTransaction, sql);
    m_sqlPreparado = sql;
}

void ConsultaBD::Abre()
{
    if (m_ativa)
        return;
    Modulo().GaranteTransacao();
    Prepara();
    if (PorBlocos()) {
        const int total = ContaLinhas();
        beginResetModel();
        m_colunas = m_comando->Colunas();
        m_linhas.clear();
        m_linhas.resize(total);
        m_linhaLida.fill(false, total);
        m_fim = true;
        m_ativa = true;
        try {
            if (total > 0)
                LeBloco(0);
        } catch (...) {
            m_ativa = false;
            m_linhas.clear();
            endResetModel();
            throw;
        }
        endResetModel();
    } else {
        BindParametros(*m_comando);
        m_comando->Executa(Modulo().IBTransaction);

        beginResetModel();
        m_colunas = m_comando->Colunas();
        m_linhas.clear();
        m_fim = false;
        m_ativa = true;
        BuscaLote(1);
        endResetModel();
    }
    DefineAtual(m_linhas.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_linhas.isEmpty();
    emit Aberta();
}

int ConsultaBD::ContaLinhas()
{
    fb::Comando contagem(Modulo().IBDatabase);
    contagem.Prepara(Modulo().IBTransaction, m_sqlContagem);
    BindParametros(contagem);
    contagem.Executa(Modulo().IBTransaction);
    QVector<QVariant> linha;
    const int total = contagem.Busca(linha) && !linha.isEmpty() ? linha[0].toInt() : 0;
    contagem.FechaCursor();
    return std::max(0, total);
}

void ConsultaBD::LeBloco(int bloco)
{
    Modulo().GaranteTransacao();
    Prepara();
    const int inicio = bloco * kLote;
    BindParametros(*m_comando);
    m_comando->DefineParametro(QStringLiteral("JanelaDe"), inicio + 1);
    m_comando->DefineParametro(QStringLiteral("JanelaAte"), inicio + kLote);
    m_comando->Executa(Modulo().IBTransaction);
    GuardaLinhas(*m_comando, inicio);
    // Rows of the block the statement no longer gives (the list shrank) stay empty.
    for (int i = inicio; i < inicio + kLote && i < m_linhaLida.size(); ++i)
        m_linhaLida[i] = true;
}

void ConsultaBD::LeLinhasDesde(int linha, const QString& sqlDesde, const QString& parametro, const QVariant& valor)
{
    if (!m_ativa || !PorBlocos() || linha < 0 || linha >= m_linhas.size())
        return;
    Modulo().GaranteTransacao();
    fb::Comando comando(Modulo().IBDatabase);
    comando.Prepara(Modulo().IBTransaction, sqlDesde + QStringLiteral("\nROWS 1 TO :JanelaAte"));
    BindParametros(comando);
    comando.DefineParametro(parametro, valor);
    comando.DefineParametro(QStringLiteral("JanelaAte"), kLote);
    comando.Executa(Modulo().IBTransaction);
    GuardaLinhas(comando, linha);
}

void ConsultaBD::GuardaLinhas(fb::Comando& comando, int inicio)
{
    QVector<QVariant> linha;
    for (int i = inicio; i < inicio + kLote && comando.Busca(linha); ++i)
        if (i < m_linhas.size()) {
            m_linhas[i] = linha;
            m_linhaLida[i] = true;
        }
    comando.FechaCursor();
}

bool ConsultaBD::LinhaLida(int linha) const
{
    if (!PorBlocos())
        return linha >= 0 && linha < m_linhas.size();
    return linha >= 0 && linha < m_linhaLida.size() && m_linhaLida[linha];
}

// Rows not read yet are read with their block when they are wanted.
void ConsultaBD::GaranteLinha(int linha) const
{
    if (!m_ativa || m_sqlContagem.isEmpty() || linha < 0 || linha >= m_linhas.size())
        return;
    if (!m_linhaLida[linha])
        const_cast<ConsultaBD*>(this)->LeBloco(linha / kLote);
}

void ConsultaBD::Executa()
{
    Fecha();
    Modulo().GaranteTransacao();
    Prepara();
    BindParametros(*m_comando);
    m_comando->Executa(Modulo().IBTransaction);
    m_comando->FechaCursor();
}

void ConsultaBD::Fecha()
{
    if (!m_ativa)
        return;
    PerdeCursor();
    beginResetModel();
    m_ativa = false;
    m_linhas.clear();
    m_linhaLida.clear();
    m_colunas.clear();
    m_fim = true;
    endResetModel();
    m_atual = -1;
    m_eof = m_bof = true;
    emit Fechada();
}

void ConsultaBD::PerdeCursor()
{
    if (m_comando)
        m_comando->FechaCursor();
    m_fim = true;
}

void ConsultaBD::Reabre()
{
    Fecha();
    Abre();
}

int ConsultaBD::BuscaLote(int quantas)
{
    if (m_fim || !m_comando)
        return 0;
    int lidas = 0;
    QVector<QVariant> linha;
    while (quantas < 0 || lidas < quantas) {
        if (!m_comando->Busca(linha)) {
            m_fim = true;
            break;
        }
        m_linhas.append(linha);
        ++lidas;
    }
    return lidas;
}

bool ConsultaBD::TemMais() const { return m_ativa && !m_fim; }

void ConsultaBD::BuscaTodas()
{
    if (!TemMais())
        return;
    const int antes = static_cast<int>(m_linhas.size());
    QVector<QVector<QVariant>> novas;
    // Fetch first, then announce the rows in one insertion.
    std::swap(novas, m_linhas);
    m_linhas.clear();
    const int lidas = BuscaLote(-1);
    std::swap(novas, m_linhas);
    if (lidas > 0) {
        beginInsertRows(QModelIndex(), antes, antes + lidas - 1);
        m_linhas += novas;
        endInsertRows();
    }
}

void ConsultaBD::DefineAtual(int linha)
{
    if (linha == m_atual)
        return;
    m_atual = linha;
    emit LinhaMudou(linha);
}

void ConsultaBD::Primeiro()
{
    DefineAtual(m_linhas.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_linhas.isEmpty();
}

void ConsultaBD::Proximo()
{
    if (m_atual < 0) {
        m_eof = true;
        return;
    }
    if (m_atual + 1 >= m_linhas.size() && TemMais())
        fetchMore(QModelIndex());
    if (m_atual + 1 < m_linhas.size()) {
        DefineAtual(m_atual + 1);
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void ConsultaBD::Anterior()
{
    if (m_atual > 0) {
        DefineAtual(m_atual - 1);
        m_eof = false;
        m_bof = false;
    } else {
        m_bof = true;
    }
}

void ConsultaBD::Ultimo()
{
    BuscaTodas();
    DefineAtual(m_linhas.isEmpty() ? -1 : static_cast<int>(m_linhas.size()) - 1);
    m_eof = true;
    m_bof = m_linhas.isEmpty();
}

bool ConsultaBD::VaiPara(int linha)
{
    if (linha < 0)
        return false;
    while (linha >= m_linhas.size() && TemMais())
        fetchMore(QModelIndex());
    if (linha >= m_linhas.size())
        return false;
    DefineAtual(linha);
    m_eof = m_bof = false;
    return true;
}

bool ConsultaBD::Localiza(const QString& coluna, const QVariant& valor)
{
    if (!m_ativa)
        return false;
    const int c = IndiceColunaObrigatorio(coluna);
    auto igual = [&](const QVariant& v) {
        if (!v.isValid() || !valor.isValid())
            return v.isValid() == valor.isValid();
        if (v.typeId() == QMetaType::QString || valor.typeId() == QMetaType::QString)
            return v.toString() == valor.toString();
        return QVariant::compare(v, valor) == QPartialOrdering::Equivalent;
    };
    for (int i = 0;; ++i) {
        if (i >= m_linhas.size()) {
            if (!TemMais())
                return false;
            fetchMore(QModelIndex());
            if (i >= m_linhas.size())
                return false;
        }
        GaranteLinha(i);
        if (igual(m_linhas[i][c])) {
            VaiPara(i);
            return true;
        }
    }
}

bool ConsultaBD::TemColuna(const QString& nome) const
{
    return m_colunas.contains(nome, Qt::CaseInsensitive);
}

int ConsultaBD::IndiceColunaObrigatorio(const QString& nome) const
{
    for (int i = 0; i < m_colunas.size(); ++i)
        if (m_colunas[i].compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    if (!m_ativa)
        throw ErroBancoDados(
            QStringLiteral("O conjunto de dados \"%1\" está fechado.").arg(objectName()));
    throw ErroBancoDados(QStringLiteral("Campo \"%1\" não encontrado.").arg(nome));
}

QVariant ConsultaBD::CampoDaLinha(int linha, const QString& nome) const
{
    const int c = IndiceColunaObrigatorio(nome);
    if (linha < 0 || linha >= m_linhas.size())
        return QVariant();
    GaranteLinha(linha);
    const QVector<QVariant>& valores = m_linhas[linha];
    return c < valores.size() ? valores[c] : QVariant();
}

QVariant ConsultaBD::Campo(const QString& nome) const { return CampoDaLinha(m_atual, nome); }

QString ConsultaBD::Texto(const QString& nome) const
{
    const QVariant v = Campo(nome);
    if (!v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return FormataData(v.toDate());
    case QMetaType::QTime:
        return FormataHora(v.toTime());
    case QMetaType::Double:
        return FormataGeral(v.toDouble());
    default:
        return v.toString();
    }
}

qint64 ConsultaBD::Inteiro64(const QString& nome) const
{
    const QVariant v = Campo(nome);
    if (!v.isValid())
        return 0;
    if (v.typeId() == QMetaType::QString)
        return TextoParaInteiro(v.toString());
    if (v.typeId() == QMetaType::Double)
        return ArredondaInteiro(v.toDouble());
    return v.toLongLong();
}

int ConsultaBD::Inteiro(const QString& nome) const { return static_cast<int>(Inteiro64(nome)); }

double ConsultaBD::Real(const QString& nome) const
{
    const QVariant v = Campo(nome);
    if (!v.isValid())
        return 0.0;
    if (v.typeId() == QMetaType::QString)
        return TextoParaReal(v.toString());
    return v.toDouble();
}

QDate ConsultaBD::Data(const QString& nome) const
{
    const QVariant v = Campo(nome);
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

QTime ConsultaBD::Hora(const QString& nome) const
{
    const QVariant v = Campo(nome);
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().time() : v.toTime();
}

QByteArray ConsultaBD::Bytes(const QString& nome) const
{
    const QVariant v = Campo(nome);
    if (!v.isValid())
        return QByteArray();
    if (v.typeId() == QMetaType::QString)
        return v.toString().toUtf8();
    return v.toByteArray();
}

bool ConsultaBD::Nulo(const QString& nome) const { return !Campo(nome).isValid(); }

// --- table model --------------------------------------------------------------------------

int ConsultaBD::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : static_cast<int>(m_linhas.size());
}

int ConsultaBD::columnCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : static_cast<int>(m_colunas.size());
}

QVariant ConsultaBD::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid() || indice.row() >= m_linhas.size() ||
        indice.column() >= m_colunas.size())
        return QVariant();
    if (papel == Qt::DisplayRole || papel == Qt::EditRole) {
        try {
            GaranteLinha(indice.row());
        } catch (const std::exception&) {
            return QVariant();  // drawing goes on; the next action on the list reports it
        }
    }
    const QVector<QVariant>& valores = m_linhas[indice.row()];
    if (indice.column() >= valores.size())
        return QVariant();
    const QVariant& v = valores[indice.column()];
    if (papel == Qt::EditRole)
        return v;
    if (papel != Qt::DisplayRole || !v.isValid())
        return QVariant();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return FormataData(v.toDate());
    case QMetaType::QTime:
        return FormataHora(v.toTime());
    case QMetaType::QDateTime:
        return FormataData(v.toDateTime().date()) + QLatin1Char(' ') +
               FormataHora(v.toDateTime().time());
    case QMetaType::Double:
        return FormataGeral(v.toDouble());
    case QMetaType::QByteArray:
        return QStringLiteral("(BLOB)");
    default:
        return v;
    }
}

QVariant ConsultaBD::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    if (papel != Qt::DisplayRole)
        return QVariant();
    if (orientacao == Qt::Horizontal)
        return secao >= 0 && secao < m_colunas.size() ? QVariant(m_colunas[secao]) : QVariant();
    return secao + 1;
}

bool ConsultaBD::canFetchMore(const QModelIndex& pai) const
{
    return !pai.isValid() && TemMais();
}

void ConsultaBD::fetchMore(const QModelIndex& pai)
{
    if (pai.isValid() || !TemMais())
        return;
    const int antes = static_cast<int>(m_linhas.size());
    QVector<QVector<QVariant>> novas;
    std::swap(novas, m_linhas);
    m_linhas.clear();
    const int lidas = BuscaLote(m_lote);
    std::swap(novas, m_linhas);
    if (lidas > 0) {
        beginInsertRows(QModelIndex(), antes, antes + lidas - 1);
        m_linhas += novas;
        endInsertRows();
    }
}
