#include "plugins/mapas/UJanelaModulo.h"

#include "common/UTextoCp1252.h"
#include "platform/UMensagens.h"
#include "platform/UMensagensQt.h"
#include "platform/UTraducao.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDir>
#include <QPushButton>

#include <cstdio>

void ExportaImagem(QWidget* pai, const QImage& imagem, const QString& nome, const QString& extensao)
{
    const bool pdf = extensao == QLatin1String("pdf");
    const QString arq = NomeArquivoParaGravar(pai, pdf ? QStringLiteral("Exportar PDF") : QStringLiteral("Exportar PNG"),
                                              nome + QLatin1Char('.') + extensao,
                                              pdf ? QStringLiteral("Documento PDF (*.pdf)")
                                                  : QStringLiteral("Imagem PNG (*.png)"));
    if (arq.isEmpty())
        return;
    if (pdf)
        GravaImagemPdf(imagem, nome, arq);
    else
        GravaImagemPng(imagem, arq);
}

QPushButton* BotaoJanela(const char* nome, const QString& texto, QWidget* pai)
{
    auto* b = new QPushButton(texto, pai);
    b->setObjectName(QLatin1String(nome));
    b->setAutoDefault(false);
    return b;
}

void AdicionaBotoesImagem(QWidget* janela, QBoxLayout* linha, const QString& nome, const QString& erroImpressao,
                          const std::function<QImage()>& imagem)
{
    auto* imprimir = BotaoJanela("btnImprimir", QStringLiteral("Imprimir"), janela);
    auto* png = BotaoJanela("btnPng", QStringLiteral("PNG"), janela);
    auto* pdf = BotaoJanela("btnPdf", QStringLiteral("PDF"), janela);
    QObject::connect(imprimir, &QPushButton::clicked, janela,
                     [=] { ImprimeImagem(janela, imagem(), erroImpressao); });
    QObject::connect(png, &QPushButton::clicked, janela,
                     [=] { ExportaImagem(janela, imagem(), nome, QStringLiteral("png")); });
    QObject::connect(pdf, &QPushButton::clicked, janela,
                     [=] { ExportaImagem(janela, imagem(), nome, QStringLiteral("pdf")); });
    for (auto* b : {imprimir, png, pdf})
        linha->addWidget(b);
}

void ExecutaJanelaModulo(QDialog& frm, const char* onde, const QString& nome,
                         const std::function<QImage()>& imagem, const std::function<QStringList()>& resumo)
{
    if (qEnvironmentVariable("ZR_MODULOS_AUTOMATICO") == QLatin1String("1")) {
        frm.show();
        const QString saida = qEnvironmentVariable("ZR_MODULOS_SAIDA");
        if (!saida.isEmpty()) {
            const QDir pasta(saida);
            if (!imagem().save(pasta.filePath(nome + QStringLiteral(".png")), "PNG"))
                std::fprintf(stderr, "%s: não foi possível gravar em %s\n", onde, saida.toLocal8Bit().constData());
            GravaArquivoTexto(pasta.filePath(nome + QStringLiteral(".txt")), resumo());
        }
        frm.close();
        return;
    }
    ExecutaComMensagensQt(frm);
}
