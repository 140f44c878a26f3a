#include "data/UDArquivos.h"

#include "data/UOperacaoBD.h"

namespace {
QByteArray LeAteOFim(QIODevice& fluxo)
{
    if (!fluxo.isOpen() && !fluxo.open(QIODevice::ReadOnly))
        throw ErroES(QStringLiteral("Não foi possível ler a imagem."));
    return fluxo.readAll();
}

void Substitui(QBuffer& buffer, const QByteArray& dados)
{
    if (buffer.isOpen())
        buffer.close();
    buffer.setData(dados);
    buffer.open(QIODevice::ReadWrite);
    buffer.seek(0);
}
} // namespace

void TDArquivos::GravaImagens(int Codigo_Exames, QIODevice& central, QIODevice& lateral)
{
    const QByteArray imagemCentral = LeAteOFim(central);
    const QByteArray imagemLateral = LeAteOFim(lateral);
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("Execute Procedure InsertArquivos  :Codigo_Exames,:Imagem_Central,"
                             ":Imagem_Lateral"));
    op.DefineParametro(QStringLiteral("Codigo_Exames"), Codigo_Exames);
    op.DefineParametro(QStringLiteral("Imagem_Central"), imagemCentral);
    op.DefineParametro(QStringLiteral("Imagem_Lateral"), imagemLateral);
    op.Executa();
    m_dm.PCommitDataBase();
}

void TDArquivos::LeImagens(int Codigo_Exames, QBuffer& central, QBuffer& lateral)
{
    ConsultaBD& op = PreparaOperacao(
        m_dm, QStringLiteral("SELECT Imagem_Central,Imagem_Lateral FROM Arquivos WHERE "
                             "Codigo_Exames=:CodExame"));
    op.DefineParametro(QStringLiteral("CodExame"), Codigo_Exames);
    op.Abre();
    const QByteArray imagemCentral = op.Bytes(QStringLiteral("Imagem_Central"));
    const QByteArray imagemLateral = op.Bytes(QStringLiteral("Imagem_Lateral"));
    op.Fecha();
    Substitui(central, imagemCentral);
    Substitui(lateral, imagemLateral);
}
