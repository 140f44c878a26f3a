// The corneal aberrometry module "Aberrometria.so": "InfoMapa" for its button and
// "ProcessaAberrometria" for its window. The navigator keeps it loaded until the program
// ends, so a call leaves nothing behind: no window, no timer, no static Qt object, and no
// pointer to the copies of the grids it was handed (the navigator frees those).

#include "common/UErros.h"
#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"
#include "plugins/mapas/UJanelaModulo.h"
#include "plugins/aberrometria/UfrmAberrometria.h"

#include <QApplication>

#include <cstdio>

using namespace zrmod;

namespace {

void Relata(const char* onde, const QString& texto)
{
    std::fprintf(stderr, "%s: %s\n", onde, texto.toLocal8Bit().constData());
}

} // namespace

ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    try {
        GravaLinhasTexto(saida, {QStringLiteral("Aberrometria"), QStringLiteral("1"),
                                 QStringLiteral("Aberrometria corneana: decomposição de Zernike da frente de onda da "
                                                "superfície anterior, RMS, mapas, PSF e razão de Strehl.")});
    } catch (...) {
        Relata("InfoMapa", QStringLiteral("erro inesperado"));
    }
}

ZR_ENTRADA void ProcessaAberrometria(void* janela, TMatrizAngAnel* posicoes, TMatrizAngAnel* dioptrias,
                                     const TListaTextos* clinica, ZrStream* cabecalho, int32_t um, int32_t largura,
                                     int32_t altura, double z0, double fatorCorrecao, double tres, uint8_t modelo,
                                     uint8_t numAneis, const char* tipoCone, TAneisMeridiano* aneis)
{
    try {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            Relata("ProcessaAberrometria", QStringLiteral("sem aplicação gráfica; nada a mostrar"));
            return;
        }
        auto exame = ConfereExame(posicoes, dioptrias, aneis, fatorCorrecao);
        DadosAberrometria d;
        d.notas = exame->notas;
        if (clinica && clinica->items)
            for (int i = 0; i < clinica->count && i < 4; ++i)
                d.clinica << DeTextoModulo(clinica->items[i]);
        if (d.clinica.size() < 4)
            d.notas << QStringLiteral("Dados da clínica incompletos (%1 de 4 linhas).").arg(d.clinica.size());
        if (cabecalho) {
            d.cabecalho = LeLinhasTexto(cabecalho);
            cabecalho->seek(cabecalho, 0, ZR_DO_INICIO);
        }
        if (d.cabecalho.isEmpty())
            d.notas << QStringLiteral("Exame sem cabeçalho.");
        if (um != 1)
            d.notas << QStringLiteral("Superfície %1 desconhecida; analisada a face anterior da córnea.").arg(um);
        d.tamanhoMapa = QSize(largura > 0 ? largura : 350, altura > 0 ? altura : 350);
        d.z0 = z0;
        d.raioPupila = tres;
        d.modelo = modelo;
        d.numAneis = numAneis;
        d.tipoCone = tipoCone ? DeTextoModulo(tipoCone) : QString();
        if (const QString n = NotaTipoCone(tipoCone); !n.isEmpty())
            d.notas << n;
        TfrmAberrometria frm(std::move(exame), d, static_cast<QWidget*>(janela));
        ExecutaJanelaModulo(frm, "ProcessaAberrometria", QStringLiteral("Aberrometria"), [&] { return frm.ImagemConteudo(); },
                            [&] { return frm.Resumo(); });
    } catch (const ErroSistema& e) {
        Relata("ProcessaAberrometria", e.Mensagem());
    } catch (const std::exception& e) {
        Relata("ProcessaAberrometria", QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Relata("ProcessaAberrometria", QStringLiteral("erro inesperado"));
    }
}

ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);
ZR_CONFERE_ENTRADA(ProcessaAberrometria, TProcessaAberrometria);
