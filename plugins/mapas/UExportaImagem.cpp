#include "plugins/mapas/UExportaImagem.h"

#include "platform/UMensagens.h"

#include <QPainter>
#include <QPdfWriter>

namespace {

bool FalhaGravacao(const QString& arquivo)
{
    Mensagem(QStringLiteral("Erro"), QStringLiteral("Não foi possível gravar o arquivo %1.").arg(arquivo),
             IconeMensagem::Erro);
    return false;
}

} // namespace

bool GravaImagemPng(const QImage& imagem, const QString& arquivo)
{
    return imagem.save(arquivo, "PNG") || FalhaGravacao(arquivo);
}

bool GravaImagemPdf(const QImage& imagem, const QString& titulo, const QString& arquivo)
{
    QPdfWriter pdf(arquivo);
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setResolution(150);
    pdf.setTitle(titulo);
    QPainter p;
    if (!p.begin(&pdf))
        return FalhaGravacao(arquivo);
    const QRect pagina = p.viewport();
    const QSize tam = imagem.size().scaled(pagina.size(), Qt::KeepAspectRatio);
    p.drawImage(QRect(QPoint((pagina.width() - tam.width()) / 2, 0), tam), imagem);
    p.end();
    return true;
}
