// The contact-lens fitting module "AdaptacaoLC.so" (the navigator dispatches on the "LC" of
// its name): "InfoMapa" for its button and "ProcessaLente" for its window.

#include "common/UErros.h"
#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"
#include "plugins/mapas/UJanelaModulo.h"
#include "plugins/lentes/UfrmLente.h"

#include <QApplication>

#include <cstdio>

using namespace zrmod;

namespace {

void Relata(const char* onde, const QString& texto)
{
    std::fprintf(stderr, "%s: %s\n", onde, texto.toLocal8Bit().constData());
}

QImage Imagem(ZrStream* s)
{
    if (!s)
        return {};
    const QByteArray bytes = LeBytes(s);
    s->seek(s, 0, ZR_DO_INICIO);
    QImage img;
    if (!bytes.isEmpty())
        img.loadFromData(bytes);
    return img;
}

} // namespace

ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    try {
        GravaLinhasTexto(saida, {QStringLiteral("Adaptação LC"), QStringLiteral("1"),
                                 QStringLiteral("Adaptação de lente de contato rígida gás-permeável: padrão de "
                                                "fluoresceína, perfis de folga e leitura da adaptação.")});
    } catch (...) {
        Relata("InfoMapa", QStringLiteral("erro inesperado"));
    }
}

ZR_ENTRADA void ProcessaLente(void* janela, ZrStream* central, ZrStream* cabecalho, double centroX,
                              double centroY, const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                              const TMatrizAngAnel* dioptrias, const TInfosZR* infos, const TPathsZR*)
{
    try {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            Relata("ProcessaLente", QStringLiteral("sem aplicação gráfica; nada a mostrar"));
            return;
        }
        const double fator = infos ? infos->FatorCorrecao : 0.0;
        auto exame = ConfereExame(posicoes, dioptrias, aneis, fator);
        QStringList notas = exame->notas;
        if (!infos)
            notas << QStringLiteral("Sem as opções do sistema.");
        else if (const QString n = NotaTipoCone(infos->TipoCone); !n.isEmpty())
            notas << n;
        QStringList cab;
        if (cabecalho) {
            cab = LeLinhasTexto(cabecalho);
            cabecalho->seek(cabecalho, 0, ZR_DO_INICIO);
        }
        if (cab.isEmpty())
            notas << QStringLiteral("Exame sem cabeçalho.");
        TfrmLente frm(std::move(exame), Imagem(central), centroX, centroY, cab, notas, static_cast<QWidget*>(janela));
        ExecutaJanelaModulo(frm, "ProcessaLente", QStringLiteral("AdaptacaoLC"), [&] { return frm.ImagemConteudo(); },
                            [&] { return frm.Resumo(); });
    } catch (const ErroSistema& e) {
        Relata("ProcessaLente", e.Mensagem());
    } catch (const std::exception& e) {
        Relata("ProcessaLente", QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Relata("ProcessaLente", QStringLiteral("erro inesperado"));
    }
}

ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);
ZR_CONFERE_ENTRADA(ProcessaLente, TProcessaLente);
