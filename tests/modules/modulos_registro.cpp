// Recording map modules for the navigator's dispatch tests. Each module of
// tests/modules/CMakeLists.txt built from this file exports the entries chosen by its
// COM_<entry> definitions and appends, to the file named by ZR_TESTE_REGISTRO, one
// "chave=valor" line per argument it received, after an "entrada=<name>" line. The names of
// the modules (Axial, MultiMapas, ...) are what the navigator dispatches on.
//
// Wizards answer with the candidate lines named by ZR_MODULOS_SELECAO (1-based, "1,3"), or
// with the lines of ZR_TESTE_ESCOLHA (separated by ";") as they are, or cancel.
// "Visualizar" draws a small bitmap; ZR_TESTE_VISUALIZAR=vazio writes nothing and =lixo
// writes bytes that are no bitmap.

#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>

using namespace zrmod;

#ifndef ZR_TIPO_MAPA
#define ZR_TIPO_MAPA 1
#endif

namespace {
[[maybe_unused]] QString Real(double v) { return QString::number(v, 'g', 15); }
[[maybe_unused]] QString Texto(const char* t) { return t ? DeTextoModulo(t) : QStringLiteral("(nulo)"); }

void Registra(const QStringList& linhas)
{
    QFile f(qEnvironmentVariable("ZR_TESTE_REGISTRO"));
    if (f.fileName().isEmpty() || !f.open(QIODevice::Append))
        return;
    f.write((linhas.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

// A picture buffer: "nulo", "vazio", "<w>x<h>" for a bitmap, "invalido" otherwise.
[[maybe_unused]] QString Imagem(ZrStream* s)
{
    if (!s)
        return QStringLiteral("nulo");
    const QByteArray b = LeBytes(s);
    if (b.isEmpty())
        return QStringLiteral("vazio");
    QImage img;
    if (!b.startsWith("BM") || !img.loadFromData(b, "BMP"))
        return QStringLiteral("invalido");
    return QStringLiteral("%1x%2").arg(img.width()).arg(img.height());
}

[[maybe_unused]] QString Celulas(const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                                 const TMatrizAngAnel* dioptrias)
{
    // Meridian 91 (row 90), ring 5; the ring count of meridian 1.
    return Real((*posicoes)[90][5]) + QLatin1Char(' ') + QString::number((*aneis)[0]) + QLatin1Char(' ') +
           Real((*dioptrias)[90][5]);
}

[[maybe_unused]] QString Cabecalho(ZrStream* s) { return LeLinhasTexto(s).join(QLatin1Char('|')); }

[[maybe_unused]] int32_t Escolhe(const char* entrada, ZrStream* candidatos, ZrStream* selecao,
                                 ZrStream* opcoes, const QStringList& extra)
{
    const QStringList linhas = LeLinhasTexto(candidatos);
    Registra(QStringList{QStringLiteral("entrada=") + QLatin1String(entrada),
                         QStringLiteral("candidatos=") + linhas.join(QLatin1Char('|'))} +
             extra);
    QStringList escolhidas;
    if (qEnvironmentVariableIsSet("ZR_TESTE_ESCOLHA")) {
        escolhidas = qEnvironmentVariable("ZR_TESTE_ESCOLHA").split(QLatin1Char(';'));
    } else if (qEnvironmentVariableIsSet("ZR_MODULOS_SELECAO")) {
        for (const QString& n : qEnvironmentVariable("ZR_MODULOS_SELECAO").split(QLatin1Char(','))) {
            QString l = linhas.value(n.trimmed().toInt() - 1);
            if (l.startsWith(QLatin1Char('O')) && l.mid(1).startsWith(QStringLiteral("Olho")))
                l = l.mid(1);
            else if (l.startsWith(QLatin1Char('T')))
                l = l.mid(1);
            escolhidas << l;
        }
    } else {
        return 0;
    }
    GravaLinhasTexto(selecao, escolhidas);
    GravaLinhasTexto(opcoes, {QStringLiteral("vista=axial"), QStringLiteral("escala=absoluta")});
    return 1;
}
} // namespace

#ifdef COM_INFOMAPA
ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    GravaLinhasTexto(saida, {QStringLiteral("Mapa que registra"), QString::number(ZR_TIPO_MAPA),
                             QStringLiteral("Registra o que recebe")});
}
ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);
#endif

#if defined(COM_PROCESSAMAPA) || defined(COM_PROCESSAMAPAORTO)
namespace {
void Mapa(const char* entrada, void* janela, ZrStream* central, ZrStream* lateral, double centroX,
          double centroY, ZrStream* cabecalho, const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
          const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila, const TTriploOrto* orto,
          const TInfosZR* infos)
{
    Registra({QStringLiteral("entrada=") + QLatin1String(entrada),
              QStringLiteral("janela=") + (janela ? QStringLiteral("sim") : QStringLiteral("nao")),
              QStringLiteral("central=") + Imagem(central), QStringLiteral("lateral=") + Imagem(lateral),
              QStringLiteral("centro=") + Real(centroX) + QLatin1Char(' ') + Real(centroY),
              QStringLiteral("cabecalho=") + Cabecalho(cabecalho),
              QStringLiteral("celulas=") + Celulas(posicoes, aneis, dioptrias),
              QStringLiteral("pupila=") + QString::number((*pupila)[0]),
              QStringLiteral("orto=") + (orto ? Real(orto->Sag) + QLatin1Char(' ') + Real(orto->Div) +
                                                    QLatin1Char(' ') + Real(orto->Raio)
                                              : QStringLiteral("nulo")),
              QStringLiteral("NumAneis=") + QString::number(infos->NumAneis),
              QStringLiteral("TipoCone=") + Texto(infos->TipoCone)});
}
} // namespace
#endif

#ifdef COM_PROCESSAMAPA
ZR_ENTRADA void ProcessaMapa(void* janela, ZrStream* central, ZrStream* lateral, double centroX, double centroY,
                             ZrStream* cabecalho, const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                             const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila, const TTriploOrto* orto,
                             const TInfosZR* infos)
{
    Mapa("ProcessaMapa", janela, central, lateral, centroX, centroY, cabecalho, posicoes, aneis, dioptrias, pupila,
         orto, infos);
}
ZR_CONFERE_ENTRADA(ProcessaMapa, TProcessaMapa);
#endif

#ifdef COM_PROCESSAMAPAORTO
ZR_ENTRADA void ProcessaMapaOrto(void* janela, ZrStream* central, ZrStream* lateral, double centroX,
                                 double centroY, ZrStream* cabecalho, const TMatrizAngAnel* posicoes,
                                 const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                                 const TDadosPupila* pupila, const TTriploOrto* orto, const TInfosZR* infos)
{
    Mapa("ProcessaMapaOrto", janela, central, lateral, centroX, centroY, cabecalho, posicoes, aneis, dioptrias,
         pupila, orto, infos);
}
ZR_CONFERE_ENTRADA(ProcessaMapaOrto, TProcessaMapaOrto);
#endif

#ifdef COM_VISUALIZAR
ZR_ENTRADA void Visualizar(void* janela, ZrStream* saida, ZrStream* nulo, int32_t zero, double centroX,
                           double centroY, const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                           const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila, const void* reservado,
                           int32_t zero2, const TInfosZR* infos, void** imagem)
{
    (void)janela;
    (void)pupila;
    Registra({QStringLiteral("entrada=Visualizar"),
              QStringLiteral("nulo=") + (nulo ? QStringLiteral("buffer") : QStringLiteral("nulo")),
              QStringLiteral("zeros=%1 %2").arg(zero).arg(zero2),
              QStringLiteral("centro=") + Real(centroX) + QLatin1Char(' ') + Real(centroY),
              QStringLiteral("celulas=") + Celulas(posicoes, aneis, dioptrias),
              QStringLiteral("reservado=") + (reservado ? QStringLiteral("registro") : QStringLiteral("nulo")),
              QStringLiteral("imagem=") + (imagem ? QStringLiteral("endereco") : QStringLiteral("nulo")),
              QStringLiteral("NumAneis=") + QString::number(infos->NumAneis)});
    // A module may write through the address: the host must not take it back as its control.
    if (imagem)
        *imagem = reinterpret_cast<void*>(uintptr_t(0x1));
    const QString modo = qEnvironmentVariable("ZR_TESTE_VISUALIZAR");
    if (modo == QStringLiteral("vazio"))
        return;
    if (modo == QStringLiteral("lixo")) {
        GravaBytes(saida, QByteArray("nada de bitmap"));
        return;
    }
    QImage img(120, 100, QImage::Format_RGB32);
    img.fill(QColor(20, 120, 220));
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    img.save(&b, "BMP");
    GravaBytes(saida, b.data());
}
ZR_CONFERE_ENTRADA(Visualizar, TVisualizar);
#endif

#ifdef COM_WIZARD
ZR_ENTRADA int32_t Wizard(void* janela, ZrStream* candidatos, ZrStream* selecao, ZrStream* opcoes,
                          const TInfosZR* infos)
{
    (void)janela;
    return Escolhe("Wizard", candidatos, selecao, opcoes,
                   {QStringLiteral("NumAneis=") + QString::number(infos->NumAneis)});
}
ZR_CONFERE_ENTRADA(Wizard, TWizard);
#endif

#ifdef COM_WIZARDDIFERENCIAL
ZR_ENTRADA int32_t Wizard(void* janela, ZrStream* candidatos, ZrStream* selecao, ZrStream* opcoes,
                          uint8_t edicaoOrto, const TInfosZR* infos)
{
    (void)janela;
    return Escolhe("WizardDiferencial", candidatos, selecao, opcoes,
                   {QStringLiteral("edicaoOrto=") + QString::number(edicaoOrto),
                    QStringLiteral("NumAneis=") + QString::number(infos->NumAneis)});
}
ZR_CONFERE_ENTRADA(Wizard, TWizardDiferencial);
#endif

#ifdef COM_PROCESSAMAPAS
ZR_ENTRADA void ProcessaMapas(void* janela, const TDadosPac* dados, const TMatrizesAngAnel* posicoes,
                              const TMatrizesAng* aneis, const TMatrizesAngAnel* dioptrias, const TMatPup* pupilas,
                              int32_t quantidade, ZrStream* opcoes, const TInfosZR* infos)
{
    (void)janela;
    QStringList r = {QStringLiteral("entrada=ProcessaMapas"),
                     QStringLiteral("quantidade=%1 %2 %3 %4 %5 %6")
                         .arg(quantidade)
                         .arg(dados->count)
                         .arg(posicoes->count)
                         .arg(aneis->count)
                         .arg(dioptrias->count)
                         .arg(pupilas->count)};
    for (int32_t i = 0; i < dados->count; ++i)
        r << QStringLiteral("cabecalho%1=").arg(i) + Cabecalho(dados->items[i]);
    for (int32_t i = 0; i < posicoes->count && i < aneis->count && i < dioptrias->count; ++i)
        r << QStringLiteral("celulas%1=").arg(i) + Celulas(&posicoes->items[i], &aneis->items[i], &dioptrias->items[i]);
    // The options arrive rewound: read them from where they stand.
    QByteArray o(int(opcoes->size(opcoes) - opcoes->position(opcoes)), '\0');
    opcoes->read(opcoes, o.data(), o.size());
    r << QStringLiteral("opcoes=") + DivideLinhas(DeCp1252(o)).join(QLatin1Char('|'))
      << QStringLiteral("NumAneis=") + QString::number(infos->NumAneis);
    Registra(r);
}
ZR_CONFERE_ENTRADA(ProcessaMapas, TProcessaMapas);
#endif

#ifdef COM_PROCESSAMAPASORTO
ZR_ENTRADA void ProcessaMapas(void* janela, const TDadosPac* dados, const TMatrizesAngAnel* posicoes,
                              const TMatrizesAngAnel* dioptrias, const TBlocoOrto* bloco, const TInfosZR* infos)
{
    (void)janela;
    QStringList r = {QStringLiteral("entrada=ProcessaMapasOrto"),
                     QStringLiteral("quantidade=%1 %2 %3").arg(dados->count).arg(posicoes->count).arg(dioptrias->count)};
    for (int32_t i = 0; i < dados->count; ++i)
        r << QStringLiteral("cabecalho%1=").arg(i) + Cabecalho(dados->items[i]);
    QStringList b;
    for (int i = 0; i < 4; ++i)
        b << Real((*bloco)[i].Sag) + QLatin1Char(' ') + Real((*bloco)[i].Div) + QLatin1Char(' ') +
                 Real((*bloco)[i].Raio) + QLatin1Char(' ') + Real((*bloco)[i].Quarto);
    r << QStringLiteral("bloco=") + b.join(QLatin1Char('|'))
      << QStringLiteral("NumAneis=") + QString::number(infos->NumAneis);
    Registra(r);
}
ZR_CONFERE_ENTRADA(ProcessaMapas, TProcessaMapasOrto);
#endif

#ifdef COM_PROCESSALENTE
ZR_ENTRADA void ProcessaLente(void* janela, ZrStream* central, ZrStream* cabecalho, double centroX, double centroY,
                              const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                              const TMatrizAngAnel* dioptrias, const TInfosZR* infos, const TPathsZR* paths)
{
    (void)janela;
    Registra({QStringLiteral("entrada=ProcessaLente"), QStringLiteral("central=") + Imagem(central),
              QStringLiteral("cabecalho=") + Cabecalho(cabecalho),
              QStringLiteral("centro=") + Real(centroX) + QLatin1Char(' ') + Real(centroY),
              QStringLiteral("celulas=") + Celulas(posicoes, aneis, dioptrias),
              QStringLiteral("NumAneis=") + QString::number(infos->NumAneis),
              QStringLiteral("TipoCone=") + Texto(infos->TipoCone), QStringLiteral("exames=") + Texto(paths->Exames)});
}
ZR_CONFERE_ENTRADA(ProcessaLente, TProcessaLente);
#endif

#ifdef COM_PROCESSAABERROMETRIA
ZR_ENTRADA void ProcessaAberrometria(void* janela, TMatrizAngAnel* posicoes, TMatrizAngAnel* dioptrias,
                                     const TListaTextos* clinica, ZrStream* cabecalho, int32_t um, int32_t largura,
                                     int32_t altura, double z0, double fatorCorrecao, double tres, uint8_t modelo,
                                     uint8_t numAneis, const char* tipoCone, TAneisMeridiano* aneis)
{
    (void)janela;
    QStringList c;
    for (int32_t i = 0; i < clinica->count; ++i)
        c << Texto(clinica->items[i]);
    Registra({QStringLiteral("entrada=ProcessaAberrometria"), QStringLiteral("celulas=") + Celulas(posicoes, aneis, dioptrias),
              QStringLiteral("clinica=") + c.join(QLatin1Char('|')), QStringLiteral("cabecalho=") + Cabecalho(cabecalho),
              QStringLiteral("constantes=%1 %2 %3 %4").arg(um).arg(largura).arg(altura).arg(Real(tres)),
              QStringLiteral("z0=") + Real(z0) + QStringLiteral(" fator=") + Real(fatorCorrecao),
              QStringLiteral("modelo=%1 NumAneis=%2 TipoCone=%3").arg(modelo).arg(numAneis).arg(Texto(tipoCone))});
    // The grids are the module's own copies: writing them must not reach the host's data.
    (*posicoes)[90][5] = -1;
    (*dioptrias)[90][5] = -1;
    (*aneis)[0] = -1;
}
ZR_CONFERE_ENTRADA(ProcessaAberrometria, TProcessaAberrometria);
#endif
