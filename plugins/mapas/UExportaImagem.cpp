#include "plugins/mapas/UExportaImagem.h"

#include "platform/UMensagens.h"
#include "platform/UTraducao.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

bool FalhaGravacao(const QString& arquivo)
{
    Mensagem(QStringLiteral("Erro"), QStringLiteral("Não foi possível gravar o arquivo %1.").arg(arquivo),
             IconeMensagem::Erro);
    return false;
}

// The picture as wide as the page allows, centred at the top.
void DesenhaNaPagina(QPainter& p, const QImage& imagem)
{
    const QRect pagina = p.viewport();
    const QSize tam = imagem.size().scaled(pagina.size(), Qt::KeepAspectRatio);
    p.drawImage(QRect(QPoint((pagina.width() - tam.width()) / 2, 0), tam), imagem);
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
    DesenhaNaPagina(p, imagem);
    p.end();
    return true;
}

void ImprimeImagem(QWidget* pai, const QImage& imagem, const QString& erro)
{
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageOrientation(QPageLayout::Landscape);
    InstalaTraducaoQt();
    QPrintDialog dlg(&impressora, pai);
    dlg.setLocale(LocalePortugues());
    if (dlg.exec() != QDialog::Accepted)
        return;
    QPainter p;
    if (!p.begin(&impressora)) {
        Mensagem(QStringLiteral("Erro"), erro, IconeMensagem::Erro);
        return;
    }
    DesenhaNaPagina(p, imagem);
}
