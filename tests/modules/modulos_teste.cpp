// Small modules for the loader tests. Each module of tests/modules/CMakeLists.txt is this
// file built with a chosen set of COM_<entry> definitions, so it exports exactly the entries
// its test needs. The entries report what they received in their buffers, one value per
// line, so that the tests see every argument arrive in its place.

#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"

#include <QString>
#include <QStringList>

#include <algorithm>

using namespace zrmod;

namespace {
[[maybe_unused]] QString Real(double v)
{
    return QString::number(v, 'g', 15);
}

[[maybe_unused]] QString Texto(const char* t)
{
    return t ? DeTextoModulo(t) : QStringLiteral("(nulo)");
}

// Appends lines at the end of a buffer the host handed in.
[[maybe_unused]] void Acrescenta(ZrStream* s, const QStringList& linhas)
{
    if (!s)
        return;
    s->seek(s, 0, ZR_DO_FIM);
    GravaLinhasTexto(s, linhas);
}

[[maybe_unused]] QStringList Exame(const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                  const TMatrizAngAnel* dioptrias)
{
    // Meridian 91 (row 90), ring 5; the last meridian's ring count.
    return {Real((*posicoes)[90][5]), QString::number((*aneis)[359]), Real((*dioptrias)[90][5])};
}
} // namespace

#ifndef ZR_TIPO_MAPA
#define ZR_TIPO_MAPA 1
#endif
#ifndef ZR_LINHAS_INFO
#define ZR_LINHAS_INFO 3
#endif

#ifdef COM_INFOMAPA
ZR_ENTRADA void InfoMapa(ZrStream* saida)
{
    const QStringList linhas = {QStringLiteral("Mapa de Teste Ç"),
                                QString::number(ZR_TIPO_MAPA),
                                QStringLiteral("Descrição do mapa")};
    GravaLinhasTexto(saida, linhas.mid(0, ZR_LINHAS_INFO));
}
ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);
#endif

#ifdef COM_INFO
ZR_ENTRADA void Info(ZrStream* saida)
{
    GravaLinhasTexto(saida, {QStringLiteral("Módulo de teste — versão única"),
                             QStringLiteral("segunda linha")});
}
ZR_CONFERE_ENTRADA(Info, TInfo);
#endif

#if defined(COM_PROCESSAMAPA) || defined(COM_PROCESSAMAPAORTO)
namespace {
void Mapa(const char* entrada, void* janela, ZrStream* central, ZrStream* lateral,
          double centroX, double centroY, ZrStream* cabecalho, const TMatrizAngAnel* posicoes,
          const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
          const TDadosPupila* pupila, const TTriploOrto* orto, const TInfosZR* infos)
{
    QStringList r = {QString::fromLatin1(entrada),
                     janela ? QStringLiteral("janela") : QStringLiteral("sem janela"),
                     central ? QString::number(central->size(central)) : QStringLiteral("-"),
                     lateral ? QString::number(lateral->size(lateral)) : QStringLiteral("-"),
                     Real(centroX), Real(centroY)};
    r << Exame(posicoes, aneis, dioptrias);
    r << QString::number((*pupila)[3]);
    r << (orto ? Real(orto->Sag) + QLatin1Char(' ') + Real(orto->Div) + QLatin1Char(' ') +
                     Real(orto->Raio)
               : QStringLiteral("(nulo)"));
    r << QString::number(infos->NumAneis) << Texto(infos->TipoCone)
      << Texto(infos->ClinicaNome);
    Acrescenta(cabecalho, r);
}
} // namespace
#endif

#ifdef COM_PROCESSAMAPA
ZR_ENTRADA void ProcessaMapa(void* janela, ZrStream* central, ZrStream* lateral, double centroX,
                             double centroY, ZrStream* cabecalho,
                             const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                             const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila,
                             const TTriploOrto* orto, const TInfosZR* infos)
{
    Mapa("ProcessaMapa", janela, central, lateral, centroX, centroY, cabecalho, posicoes, aneis,
         dioptrias, pupila, orto, infos);
}
ZR_CONFERE_ENTRADA(ProcessaMapa, TProcessaMapa);
#endif

#ifdef COM_PROCESSAMAPAORTO
ZR_ENTRADA void ProcessaMapaOrto(void* janela, ZrStream* central, ZrStream* lateral,
                                 double centroX, double centroY, ZrStream* cabecalho,
                                 const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                                 const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila,
                                 const TTriploOrto* orto, const TInfosZR* infos)
{
    Mapa("ProcessaMapaOrto", janela, central, lateral, centroX, centroY, cabecalho, posicoes,
         aneis, dioptrias, pupila, orto, infos);
}
ZR_CONFERE_ENTRADA(ProcessaMapaOrto, TProcessaMapaOrto);
#endif

#ifdef COM_VISUALIZAR
ZR_ENTRADA void Visualizar(void* janela, ZrStream* saida, ZrStream* nulo, int32_t zero,
                           double centroX, double centroY, const TMatrizAngAnel* posicoes,
                           const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                           const TDadosPupila* pupila, const void* reservado, int32_t zero2,
                           const TInfosZR* infos, void** imagem)
{
    QStringList r = {janela ? QStringLiteral("janela") : QStringLiteral("sem janela"),
                     nulo ? QStringLiteral("buffer") : QStringLiteral("(nulo)"),
                     QString::number(zero), Real(centroX), Real(centroY)};
    r << Exame(posicoes, aneis, dioptrias) << QString::number((*pupila)[0])
      << (reservado ? QStringLiteral("registro") : QStringLiteral("(nulo)"))
      << QString::number(zero2) << Real(infos->FatorCorrecao)
      << (imagem && *imagem ? QStringLiteral("imagem") : QStringLiteral("(nulo)"));
    GravaLinhasTexto(saida, r);
}
ZR_CONFERE_ENTRADA(Visualizar, TVisualizar);
#endif

#ifdef COM_WIZARD
// Chooses every candidate, in reverse order, and writes one option line.
ZR_ENTRADA int32_t Wizard(void* janela, ZrStream* candidatos, ZrStream* selecao,
                          ZrStream* opcoes, const TInfosZR* infos)
{
    (void)janela;
    QStringList linhas = LeLinhasTexto(candidatos);
    std::reverse(linhas.begin(), linhas.end());
    GravaLinhasTexto(selecao, linhas);
    GravaLinhasTexto(opcoes, {QStringLiteral("opções %1").arg(Texto(infos->MedicoAtivo))});
    return linhas.isEmpty() ? 0 : 1;
}
ZR_CONFERE_ENTRADA(Wizard, TWizard);
#endif

#ifdef COM_PROCESSAMAPAS
// Reports each examination's header first line and grid values, and the options it got.
ZR_ENTRADA void ProcessaMapas(void* janela, const TDadosPac* dados,
                              const TMatrizesAngAnel* posicoes, const TMatrizesAng* aneis,
                              const TMatrizesAngAnel* dioptrias, const TMatPup* pupilas,
                              int32_t quantidade, ZrStream* opcoes, const TInfosZR* infos)
{
    (void)janela;
    (void)infos;
    QStringList r = {QString::number(quantidade), QString::number(dados->count)};
    for (int32_t i = 0; i < quantidade && i < dados->count; ++i) {
        r << LeLinhasTexto(dados->items[i]).value(0);
        r << Exame(&posicoes->items[i], &aneis->items[i], &dioptrias->items[i]);
        r << QString::number(pupilas->items[i][1]);
    }
    // The options buffer arrives rewound: read it from where it stands.
    QByteArray o(int(opcoes->size(opcoes) - opcoes->position(opcoes)), '\0');
    opcoes->read(opcoes, o.data(), o.size());
    r << DivideLinhas(DeCp1252(o)).value(0);
    Acrescenta(opcoes, r);
}
ZR_CONFERE_ENTRADA(ProcessaMapas, TProcessaMapas);
#endif

#ifdef COM_PROCESSAIMAGEM
// A made-up but fully determined result, so that the test can tell each output apart.
ZR_ENTRADA int32_t ProcessaImagem(void* janela, ZrStream* central, double* centroX,
                                  double* centroY, TMatrizAngAnel* posicoes,
                                  TAneisMeridiano* aneis, TMatrizAngAnel* dioptrias,
                                  TDadosPupila* pupila, double* indice, const TInfosZR* infos,
                                  const TPathsZR* paths)
{
    (void)janela;
    if (!central || central->size(central) == 0)
        return 0;
    *centroX = 320.5;
    *centroY = 240.25;
    for (int m = 0; m < ZR_MERIDIANOS; ++m) {
        (*aneis)[m] = infos->NumAneis;
        for (int c = 0; c < ZR_COLUNAS_ANEL; ++c) {
            (*posicoes)[m][c] = 10.0 * c + m / 1000.0;
            (*dioptrias)[m][c] = 40.0 + c / 10.0;
        }
    }
    (*pupila)[0] = 11;
    (*pupila)[3] = 44;
    *indice = 87.5;
    // The calibration folder's name must arrive intact (cp1252).
    return Texto(paths->Calibracao).endsWith(QStringLiteral("/Calibração/")) ? 1 : 2;
}
ZR_CONFERE_ENTRADA(ProcessaImagem, TProcessaImagem);
#endif

#ifdef COM_PROCESSAESFERA
ZR_ENTRADA int32_t ProcessaEsfera(void* janela, ZrStream* imagem, const char* raio,
                                  ZrStream* saida, const TInfosZR* infos)
{
    (void)janela;
    (void)infos;
    GravaLinhasTexto(saida, {Texto(raio), QString::number(imagem->size(imagem))});
    return 1;
}
ZR_CONFERE_ENTRADA(ProcessaEsfera, TProcessaEsfera);
#endif

#ifdef COM_DIGITALIZAR
// "Captures" a central image of 100 + eye bytes and a lateral one of 50 bytes.
ZR_ENTRADA void Digitalizar(void* janela, ZrStream* central, ZrStream* lateral, int32_t olho,
                            const TInfosZR* infos, const char* legenda)
{
    (void)janela;
    (void)infos;
#ifdef ZR_CAPTURA_CURTA
    // A capture that took no image: a few bytes only.
    GravaBytes(central, QByteArray(9, 'C'));
    (void)olho;
    (void)lateral;
    (void)legenda;
    return;
#endif
    GravaBytes(central, QByteArray(100 + olho, 'C'));
    GravaBytes(lateral, QByteArray(50, 'L'));
    GravaLinhasTexto(lateral, {Texto(legenda)});
}
ZR_CONFERE_ENTRADA(Digitalizar, TDigitalizar);
#endif

#ifdef COM_PROCESSALENTE
ZR_ENTRADA void ProcessaLente(void* janela, ZrStream* central, ZrStream* cabecalho,
                              double centroX, double centroY, const TMatrizAngAnel* posicoes,
                              const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                              const TInfosZR* infos, const TPathsZR* paths)
{
    (void)janela;
    QStringList r = {central ? QStringLiteral("central") : QStringLiteral("(nulo)"),
                     Real(centroX), Real(centroY)};
    r << Exame(posicoes, aneis, dioptrias) << Texto(infos->TipoCone) << Texto(paths->Exames);
    Acrescenta(cabecalho, r);
}
ZR_CONFERE_ENTRADA(ProcessaLente, TProcessaLente);
#endif

#ifdef COM_PROCESSAABERROMETRIA
ZR_ENTRADA void ProcessaAberrometria(void* janela, TMatrizAngAnel* posicoes,
                                     TMatrizAngAnel* dioptrias, const TListaTextos* clinica,
                                     ZrStream* cabecalho, int32_t um, int32_t largura,
                                     int32_t altura, double z0, double fatorCorrecao,
                                     double tres, uint8_t modelo, uint8_t numAneis,
                                     const char* tipoCone, TAneisMeridiano* aneis)
{
    (void)janela;
    QStringList r = Exame(posicoes, aneis, dioptrias);
    for (int32_t i = 0; i < clinica->count; ++i)
        r << Texto(clinica->items[i]);
    r << QStringLiteral("%1 %2 %3").arg(um).arg(largura).arg(altura)
      << Real(z0) << Real(fatorCorrecao) << Real(tres) << QString::number(modelo)
      << QString::number(numAneis) << Texto(tipoCone);
    // The grids are the module's own copies.
    (*posicoes)[0][0] = -1;
    Acrescenta(cabecalho, r);
}
ZR_CONFERE_ENTRADA(ProcessaAberrometria, TProcessaAberrometria);
#endif

#ifdef COM_PROCESSAIMAGEMORTO
// Ortho-k processing: one line per map in each text, the four values of each map, and the
// confidence index 90 + map.
ZR_ENTRADA int32_t ProcessaImagem(void* janela, const TQuatroBuffers* centrais,
                                  ZrStream* posicoes, ZrStream* dioptrias, ZrStream* valores,
                                  double (*indices)[4], const TInfosZR* infos,
                                  const TPathsZR* paths)
{
    (void)janela;
    (void)infos;
    (void)paths;
    QStringList p, d, v;
    for (int i = 0; i < 4; ++i) {
        ZrStream* c = (*centrais)[i];
        p << QStringLiteral("P%1 %2").arg(i).arg(c ? c->size(c) : -1);
        d << QStringLiteral("D%1").arg(i);
        v << Real(8.5 + i) << Real(0.25 * i) << Real(7.8) << Real(i);
        (*indices)[i] = 90 + i;
    }
    GravaLinhasTexto(posicoes, p);
    GravaLinhasTexto(dioptrias, d);
    GravaLinhasTexto(valores, v);
    return 1;
}
ZR_CONFERE_ENTRADA(ProcessaImagem, TProcessaImagemOrto);
#endif

#ifdef COM_DIGITALIZARORTO
// Ortho-k capture: central image i has 10 * (i + 1) bytes, lateral image i has i + 1 bytes.
ZR_ENTRADA void Digitalizar(void* janela, const TQuatroBuffers* centrais,
                            const TQuatroBuffers* laterais, int32_t olho, const TInfosZR* infos,
                            const char* legenda)
{
    (void)janela;
    (void)infos;
    (void)legenda;
    for (int i = 0; i < 4; ++i) {
        GravaBytes((*centrais)[i], QByteArray(10 * (i + 1), char('0' + olho)));
        GravaBytes((*laterais)[i], QByteArray(i + 1, 'L'));
    }
}
ZR_CONFERE_ENTRADA(Digitalizar, TDigitalizarOrto);
#endif
