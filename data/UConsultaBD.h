#pragma once
// A dataset of the data module: an SQL text with named parameters, run on the module's one
// connection and transaction, with its result rows, a current row, and field access by
// column name (letter case ignored). It is also the table model that grids show: rows are
// fetched in batches as a view asks for them (or all at once by BuscaTodas/Ultimo).
//
// Opening a dataset while the module's transaction is not active starts it. The module's
// commit closes every dataset. A dataset that outlives its module is closed and refuses to
// run.

#include <QAbstractTableModel>
#include <QDate>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVector>

#include <memory>

class TDMPrincipal;
namespace fb {
class Comando;
}

class ConsultaBD : public QAbstractTableModel {
    Q_OBJECT
public:
    // A query dataset; tabela names the table when the dataset is a whole table.
    ConsultaBD(TDMPrincipal& modulo, const QString& nome, const QString& sql = QString(),
               const QString& tabela = QString());
    ~ConsultaBD() override;

    const QString& Tabela() const { return m_tabela; }

    // SQL text: lines joined with a line break. Changing it closes the dataset and drops
    // the bound parameter values.
    QString SQL() const { return m_linhasSql.join(QLatin1Char('\n')); }
    void DefineSQL(const QString& sql);
    void LimpaSQL();
    void AdicionaSQL(const QString& linha);

    // Binds a parameter of the current SQL text by name (letter case ignored). Values
    // stay bound across reopening; an unbound parameter is null.
    void DefineParametro(const QString& nome, const QVariant& valor);
    QStringList Parametros();

    // Reading by blocks where they lie: the dataset counts its rows with sqlContagem (the
    // statement's own filter and parameters) and reads each block of kLote rows only when a
    // row of it is wanted, appending "ROWS :JanelaDe TO :JanelaAte" to the statement. A long
    // list is then positioned anywhere without reading what comes before; the statement's
    // order must be total (ties broken) for the blocks to join up. A new SQL text goes back
    // to reading in sequence.
    void DefineLeituraPorBlocos(const QString& sqlContagem);
    bool PorBlocos() const { return !m_sqlContagem.isEmpty(); }
    // Reading by blocks, a row whose place is known reached without reading the rows before
    // it: sqlDesde gives, in the dataset's order, the rows from that row on (the statement's
    // parameters and the one given), and up to kLote of them are read, "ROWS 1 TO
    // :JanelaAte" appended.
    void LeLinhasDesde(int linha, const QString& sqlDesde, const QString& parametro, const QVariant& valor);
    bool LinhaLida(int linha) const;

    // Runs the statement and positions on the first row.
    void Abre();
    // Runs a statement that returns no rows (procedures, updates).
    void Executa();
    void Fecha();
    // Closes and opens again with the same text and parameters.
    void Reabre();
    bool Ativa() const { return m_ativa; }

    // Navigation over the result.
    bool Vazia() const { return m_linhas.isEmpty(); }
    int Linha() const { return m_atual; }
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    void Primeiro();
    void Proximo();
    void Anterior();
    void Ultimo();
    // Positions on a row (0-based) among those fetched, fetching more when needed.
    bool VaiPara(int linha);
    // Positions on the first row whose column equals the value; false leaves the position.
    bool Localiza(const QString& coluna, const QVariant& valor);
    // Fetches every remaining row.
    void BuscaTodas();
    // Rows fetched so far; with BuscaTodas, the whole result.
    int LinhasBuscadas() const { return static_cast<int>(m_linhas.size()); }
    bool TemMais() const;

    // Fields of the current row. A missing row or a null value reads as 0, the empty
    // text, an invalid date or time, or empty bytes. An unknown column raises.
    QStringList Colunas() const { return m_colunas; }
    bool TemColuna(const QString& nome) const;
    QVariant Campo(const QString& nome) const;
    QVariant CampoDaLinha(int linha, const QString& nome) const;
    QString Texto(const QString& nome) const;
    int Inteiro(const QString& nome) const;
    qint64 Inteiro64(const QString& nome) const;
    double Real(const QString& nome) const;
    QDate Data(const QString& nome) const;
    QTime Hora(const QString& nome) const;
    QByteArray Bytes(const QString& nome) const;
    bool Nulo(const QString& nome) const;

    // Table model.
    int rowCount(const QModelIndex& pai = QModelIndex()) const override;
    int columnCount(const QModelIndex& pai = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao,
                        int papel = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& pai) const override;
    void fetchMore(const QModelIndex& pai) override;

    // Rows fetched per batch while a view scrolls, and read per block.
    static constexpr int kLote = 256;
    // A smaller batch for a grid whose first rows must show at once while the rest are
    // costly to find (kLote unless changed).
    void DefineLote(int linhas) { m_lote = linhas > 0 ? linhas : kLote; }

signals:
    void LinhaMudou(int linha);
    void Aberta();
    void Fechada();

private:
    friend class TDMPrincipal;
    void Prepara();
    QString SqlExecutado() const;
    void BindParametros(fb::Comando& comando) const;
    int BuscaLote(int quantas);
    int ContaLinhas();
    void LeBloco(int bloco);
    void GuardaLinhas(fb::Comando& comando, int inicio);
    void GaranteLinha(int linha) const;
    void DefineAtual(int linha);
    int IndiceColunaObrigatorio(const QString& nome) const;
    void PerdeCursor();

    TDMPrincipal& Modulo() const;

    TDMPrincipal* m_modulo;  // cleared when the module goes first
    QString m_tabela;
    QStringList m_linhasSql;
    QString m_sqlContagem;
    QVector<bool> m_linhaLida;  // reading by blocks: which rows are in m_linhas
    QVector<QPair<QString, QVariant>> m_parametros;
    std::unique_ptr<fb::Comando> m_comando;
    QString m_sqlPreparado;
    QStringList m_colunas;
    QVector<QVector<QVariant>> m_linhas;
    bool m_ativa = false;
    int m_lote = kLote;
    bool m_fim = true;      // every row fetched
    int m_atual = -1;
    bool m_eof = true;
    bool m_bof = true;
};
