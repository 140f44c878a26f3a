#include "plugins/mapas/UModuloMapa.h"

#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "platform/UMensagensQt.h"
#include "plugins/mapas/UEntradaModulo.h"
#include "plugins/mapas/UAnaliseOrto.h"
#include "plugins/mapas/UDesenhoMapa.h"
#include "plugins/mapas/UfrmMapa.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPointer>

#include <cmath>

namespace ModuloMapa {

using EntradaModulo::Automatico;
using EntradaModulo::Relata;
using EntradaModulo::RelataExcecao;

namespace {

QString Nome(MapaCurvatura::Tipo tipo, bool analiseOrto = false)
{
    if (analiseOrto)
        return QStringLiteral("TangencialOrto");
    return tipo == MapaCurvatura::Tangencial ? QStringLiteral("Tangencial")
                                             : QStringLiteral("Axial");
}

OpcoesMapa Opcoes(const zrmod::TInfosZR* infos)
{
    OpcoesMapa o;
    if (!infos)
        return o;
    o.escalaIso = infos->EscalaISO != 0;
    // The options form stores AUTOINCMAP as true when the user chose "Personalizado", the
    // fixed step of "Incremento fixo:".
    o.passoFixo = infos->AutoIncMap != 0;
    o.incMap = infos->IncMap;
    o.grade = infos->ExibeGrade != 0;
    o.ceratPontual = infos->ExibeCeratPontual != 0;
    o.corCeratPontual = DeTextoModulo(infos->CorCeratPontual);
    return o;
}

double Fator(const zrmod::TInfosZR* infos)
{
    return infos ? infos->FatorCorrecao : MapaCurvatura::kFatorPadrao;
}

QImage Imagem(zrmod::ZrStream* s)
{
    if (!s)
        return {};
    const QByteArray bytes = LeBytes(s);
    s->seek(s, 0, zrmod::ZR_DO_INICIO);
    QImage img;
    if (!bytes.isEmpty())
        img.loadFromData(bytes);
    return img;
}

} // namespace

void Info(MapaCurvatura::Tipo tipo, zrmod::ZrStream* saida, bool analiseOrto)
{
    try {
        if (analiseOrto) {
            GravaLinhasTexto(saida, {QStringLiteral("Mapa Tangencial Orto"), QStringLiteral("1"),
                                     QStringLiteral("Mapa tangencial após ortoceratologia: a zona central "
                                                    "aplanada, o anel de encurvamento, seu diâmetro e potência, "
                                                    "a descentração da zona e os valores da lente.")});
            return;
        }
        const QString desc = tipo == MapaCurvatura::Tangencial
            ? QStringLiteral("Mapa de curvatura tangencial (instantânea) da córnea: mostra a "
                             "forma local, realça as bordas de ectasias e de zonas de tratamento.")
            : QStringLiteral("Mapa de curvatura axial (sagital) da córnea: potência em dioptrias "
                             "em relação ao eixo do ceratoscópio.");
        GravaLinhasTexto(saida, {QStringLiteral("Mapa %1").arg(Nome(tipo)), QStringLiteral("1"), desc});
    } catch (...) {
        RelataExcecao("InfoMapa");
    }
}

void Processa(MapaCurvatura::Tipo tipo, void* janela, zrmod::ZrStream* central,
              zrmod::ZrStream* lateral, double centroX, double centroY,
              zrmod::ZrStream* cabecalho, const TMatrizAngAnel* posicoes,
              const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
              const TDadosPupila* pupila, const zrmod::TTriploOrto* orto,
              const zrmod::TInfosZR* infos, bool analiseOrto)
{
    try {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            Relata("ProcessaMapa", QStringLiteral("sem aplicação gráfica; nada a mostrar"));
            return;
        }
        auto mapa = std::make_unique<MapaCurvatura>(tipo, posicoes, aneis, dioptrias, Fator(infos));
        DadosJanelaMapa d;
        if (analiseOrto) {
            d.temAnalise = true;
            d.analise = AnalisaTratamento(*mapa);
        }
        if (!analiseOrto && posicoes && aneis && dioptrias && mapa->TemDados()) {
            try {
                d.indices = CalculaIndicesCeratocone(*posicoes, *aneis, *dioptrias, mapa->Fator());
                d.temIndices = true;
            } catch (const ErroSistema& e) {
                Relata("ProcessaMapa", e.Mensagem());
            }
        }
        if (cabecalho) {
            d.cabecalho = LeLinhasTexto(cabecalho);
            cabecalho->seek(cabecalho, 0, zrmod::ZR_DO_INICIO);
        }
        d.semCabecalho = d.cabecalho.isEmpty();
        d.central = Imagem(central);
        d.lateral = Imagem(lateral);
        if (orto) {
            d.temOrto = true;
            d.sag = orto->Sag;
            d.div = orto->Div;
            d.raio = orto->Raio;
        }
        if (pupila && (*pupila)[3] == 1 && (*pupila)[2] > 0 && std::isfinite(centroX) &&
            std::isfinite(centroY)) {
            const double f = mapa->Fator();
            d.temPupila = true;
            d.pupilaX = ((*pupila)[0] - centroX) * f;
            d.pupilaY = ((*pupila)[1] - centroY) * f;
            d.pupilaRaio = (*pupila)[2] * f;
        }
        OpcoesMapa opcoes = Opcoes(infos);
        TfrmMapa frm(tipo, std::move(mapa), d, opcoes, static_cast<QWidget*>(janela));
        if (!infos)
            frm.setProperty("semOpcoes", true);

        if (Automatico()) {
            frm.show();
            const QImage conteudo = frm.ImagemConteudo(); // paints the map
            const QString saida = qEnvironmentVariable("ZR_MODULOS_SAIDA");
            if (!saida.isEmpty()) {
                const QDir pasta(saida);
                const QString nome = Nome(tipo, analiseOrto);
                if (!conteudo.save(pasta.filePath(nome + QStringLiteral(".png")), "PNG") ||
                    !frm.ImagemMapa(600).save(pasta.filePath(nome + QStringLiteral("-mapa.png")), "PNG"))
                    Relata("ProcessaMapa", QStringLiteral("não foi possível gravar em %1").arg(saida));
                GravaArquivoTexto(pasta.filePath(nome + QStringLiteral(".txt")), frm.Resumo());
            }
            frm.close();
            return;
        }
        ExecutaComMensagensQt(frm);
    } catch (...) {
        RelataExcecao("ProcessaMapa");
    }
}

void Visualizar(zrmod::ZrStream* saida, double, double, const TMatrizAngAnel* posicoes,
                const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                const TDadosPupila*, const zrmod::TInfosZR* infos)
{
    try {
        if (!saida)
            return;
        MapaCurvatura mapa(MapaCurvatura::Axial, posicoes, aneis, dioptrias, Fator(infos));
        if (!mapa.TemDados())
            return;
        const QImage img = MiniMapa(mapa, EscalaDoMapa(mapa, Opcoes(infos)), kLadoMiniMapa);
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        if (!img.save(&buf, "BMP"))
            return;
        GravaBytes(saida, bytes);
    } catch (...) {
        RelataExcecao("Visualizar");
    }
}

} // namespace ModuloMapa
