/* The interface between the workstation and its installable modules (capture, image
 * processing, maps, lens, aberrometry, backup).
 *
 * A module is a shared library that exports some of the entry points below by their exact
 * names, as plain C functions ("extern C", no name decoration). The host loads the library
 * by file name, looks each entry up by name and calls it synchronously on its user-interface
 * thread. The argument order, the types and the results are fixed here; this header compiles
 * as C and as C++.
 *
 * Conventions of every entry point:
 *   - the window handle (first argument of most entries) is a void* holding the calling
 *     QWidget*; a module opens its windows modally over it. It may be null in batch use.
 *   - a memory buffer is a ZrStream* (the host's growable byte buffer, seen through a table
 *     of functions). A text buffer is a memory buffer holding cp1252 lines, each ending in
 *     CR LF. Output buffers arrive empty; the host rewinds them after the call.
 *   - texts are const char* in cp1252, zero-terminated, owned by the host and valid only
 *     while the call lasts (copy them when needed later).
 *   - Booleans are uint8_t 0 or 1, integers int32_t, reals double.
 *   - grids and arrays are passed by address; "out" marks what the module fills.
 *   - no exception and no longjmp may leave an entry point: a module catches everything.
 *
 * When compiled as C++ every type of this header lives in the namespace zrmod, so that it
 * does not clash with the host's own records of the same names (config/URegistrosZR.h).
 * The exam shapes (TMatrizAngAnel, ...) come from examfiles/zr_exame.h and are global. */
#ifndef ZR_MODULOS_H
#define ZR_MODULOS_H

#include <stddef.h>
#include <stdint.h>

#include "examfiles/zr_exame.h"

/* The version of this interface. Every module built by the project exports the entry
 * "VersaoABI" returning it; the host refuses a module that reports another version (a
 * module without that entry is judged by its other entries alone). Raise it whenever a
 * type or an argument list below changes. */
#define ZR_MODULOS_VERSAO_ABI 1

/* Marks an entry point definition in a module:
 *   ZR_ENTRADA void InfoMapa(zrmod::ZrStream* saida) { ... }          (C++)
 *   ZR_ENTRADA void InfoMapa(ZrStream* saida) { ... }                 (C)  */
#ifdef __cplusplus
#define ZR_ENTRADA extern "C" __attribute__((visibility("default")))
#else
#define ZR_ENTRADA __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define ZR_CONFERE_ABI(cond, texto) static_assert(cond, texto)
namespace zrmod {
extern "C" {
#else
#define ZR_CONFERE_ABI(cond, texto) _Static_assert(cond, texto)
#endif

/* ----------------------------------------------------------------------------------------
 * Memory buffer
 * ------------------------------------------------------------------------------------- */

/* Origins of ZrStream.seek. */
enum { ZR_DO_INICIO = 0, ZR_DA_POSICAO = 1, ZR_DO_FIM = 2 };

/* A byte stream with a current position and a size, owned by the host. Reading and writing
 * start at the position and move it; writing past the end grows the buffer (a gap left by
 * a seek past the end reads as zero bytes). Call the functions with the stream itself as
 * the first argument: s->write(s, dados, n). */
typedef struct ZrStream ZrStream;
struct ZrStream {
    void* ctx; /* the host's object behind the stream; modules leave it alone */
    /* Copies up to n bytes from the position into destino; returns how many were read
     * (0 at the end). */
    int64_t (*read)(ZrStream* s, void* destino, int64_t n);
    /* Writes n bytes from origem at the position; returns how many were written (n, or 0
     * when the host could not grow the buffer). */
    int64_t (*write)(ZrStream* s, const void* origem, int64_t n);
    /* Moves the position (origem ZR_DO_INICIO, ZR_DA_POSICAO or ZR_DO_FIM); returns the new
     * position, or -1 (position unchanged) when it would fall before the start. */
    int64_t (*seek)(ZrStream* s, int64_t deslocamento, int32_t origem);
    /* Number of bytes held. */
    int64_t (*size)(ZrStream* s);
    /* Current position. */
    int64_t (*position)(ZrStream* s);
    /* Empties the buffer: size and position 0. */
    void (*clear)(ZrStream* s);
};

/* ----------------------------------------------------------------------------------------
 * The shared records (field order fixed; do not reorder)
 * ------------------------------------------------------------------------------------- */

/* Options and device constants of the installation. */
typedef struct TInfosZR {
    uint8_t Modelo;             /* model code, 3 */
    const char* TipoCone;       /* "1" .. "4" */
    double FatorCorrecao;       /* millimetres per pixel of the central image */
    double Z0;
    double IncMap;              /* map scale step, dioptres */
    double IndiceConf;          /* minimum confidence index */
    uint8_t AutoAneis;
    uint8_t AutoIncMap;
    uint8_t AutoMiniMapa;
    uint8_t AutoExame;
    uint8_t Opt1;
    uint8_t Opt2;
    uint8_t Opt3;
    int32_t BackupAuto;
    int32_t BackupPeriodo;
    int32_t BackupUnidade;
    int32_t BackupExames;
    int32_t CameraCentral;
    int32_t CameraLateral;
    int32_t Brilho;
    int32_t Contraste;
    const char* MedicoAtivo;
    const char* PacienteAtivo;
    const char* ClinicaNome;
    const char* ClinicaEndereco;
    const char* ClinicaCidadeEst;
    const char* ClinicaTelefone;
    const char* ConectorCentral;
    const char* ConectorLateralS;
    const char* ConectorLateralD;
    const char* PortaSerial;
    int32_t NumAneis;           /* rings to use (16; the navigator sets the exam's own) */
    uint8_t SalvarImagemCaptura;
    const char* MapaPadraoNovoExame;
    const char* TipoCeratometria;
    uint8_t ImagemCentral;
    uint8_t ImagemLateral;
    int32_t QualidadeImagem;    /* JPEG quality 1..100 */
    const char* Idioma;
    int32_t TvlCentral;
    int32_t TIncremento;
    uint8_t AutoPCaptura;
    int32_t DelayAutoPCaptura;  /* milliseconds */
    const char* PassoMotorX;
    const char* PassoMotorY;
    uint8_t TipoCalibrador;
    uint8_t ExibeGrade;
    uint8_t EscalaISO;
    uint8_t ExibeCeratPontual;
    const char* CorCeratPontual;
} TInfosZR;

/* Folders and module files of the installation. Folders carry no trailing separator except
 * Calibracao, which ends in "/". */
typedef struct TPathsZR {
    const char* DirZR;
    const char* BancoDados;
    const char* Exames;
    const char* Exemplos;
    const char* Laudos;
    const char* Digitalizacao;
    const char* Processamento;
    const char* ModuloBackup;
    const char* DirMapas;
    const char* DigitalizacaoOrto;
    const char* ProcessamentoOrto;
    const char* Calibracao;
} TPathsZR;

/* ----------------------------------------------------------------------------------------
 * Other argument shapes
 * ------------------------------------------------------------------------------------- */

/* One memory buffer per examination (each a text buffer with the examination's header
 * lines), count elements at items. */
typedef struct TDadosPac {
    int32_t count;
    ZrStream** items;
} TDadosPac;

/* A list of texts (cp1252), count elements at items. */
typedef struct TListaTextos {
    int32_t count;
    const char* const* items;
} TListaTextos;

/* The lens values of one ortho-k examination. */
typedef struct TTriploOrto {
    double Sag;
    double Div;
    double Raio;
} TTriploOrto;

/* The four values of one ortho-k map as the processing module reports them. */
typedef struct TValoresOrto {
    double Sag;
    double Div;
    double Raio;
    double Quarto;
} TValoresOrto;

/* The four maps of one ortho-k capture, in map order. */
typedef TValoresOrto TBlocoOrto[4];

/* Four buffers, one per ortho-k map. */
typedef ZrStream* TQuatroBuffers[4];

/* Values of the eye-or-purpose argument of "Digitalizar". */
enum { ZR_OLHO_ESQUERDO = 0, ZR_OLHO_DIREITO = 1, ZR_ESFERA_CALIBRACAO = 2 };

/* ----------------------------------------------------------------------------------------
 * Entry points: one pointer type per entry and argument list, named after the export.
 * Results are int32_t where the entry has one.
 * ------------------------------------------------------------------------------------- */

/* "VersaoABI": returns ZR_MODULOS_VERSAO_ABI of the header the module was built with. */
typedef int32_t (*TVersaoABI)(void);

/* Information -------------------------------------------------------------------------- */

/* "InfoMapa": writes text lines into the empty buffer: 1 the map's display name, 2 its kind
 * ("1" single map, "2" multi map through the wizard, "3" multi map), 3 a description. */
typedef void (*TInfoMapa)(ZrStream* saida);

/* "Info": writes text lines into the empty buffer; line 1 is the module's description. */
typedef void (*TInfo)(ZrStream* saida);

/* Single map ----------------------------------------------------------------------------- */

/* "ProcessaMapa": shows the map of one examination (the module's own window).
 *   janela     calling window
 *   central    central image as a Windows bitmap, or null
 *   lateral    lateral image as a Windows bitmap, or null
 *   centroX, centroY  map centre in the central image, pixels
 *   cabecalho  text buffer: the examination's header lines
 *   posicoes   ring radial positions, pixels
 *   aneis      last valid ring of each meridian
 *   dioptrias  axial curvature, dioptres
 *   pupila     the processing module's pupil record
 *   orto       the examination's ortho-k values, or null
 *   infos      options */
typedef void (*TProcessaMapa)(void* janela, ZrStream* central, ZrStream* lateral,
                              double centroX, double centroY, ZrStream* cabecalho,
                              const TMatrizAngAnel* posicoes, const TAneisMeridiano* aneis,
                              const TMatrizAngAnel* dioptrias, const TDadosPupila* pupila,
                              const TTriploOrto* orto, const TInfosZR* infos);

/* "ProcessaMapaOrto": as "ProcessaMapa" for a stored ortho-k examination; orto holds its
 * values. */
typedef TProcessaMapa TProcessaMapaOrto;

/* "Visualizar": draws the small axial map as a Windows bitmap into saida.
 *   janela     calling window
 *   saida      empty buffer (out): the bitmap
 *   nulo       always null
 *   zero       always 0
 *   centroX, centroY, posicoes, aneis, dioptrias, pupila  as for "ProcessaMapa"
 *   reservado  a zero-filled record of the host
 *   zero2      always 0
 *   infos      options
 *   imagem     address of the host's variable that refers to the picture control */
typedef void (*TVisualizar)(void* janela, ZrStream* saida, ZrStream* nulo, int32_t zero,
                            double centroX, double centroY, const TMatrizAngAnel* posicoes,
                            const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                            const TDadosPupila* pupila, const void* reservado, int32_t zero2,
                            const TInfosZR* infos, void** imagem);

/* Multi map -------------------------------------------------------------------------------- */

/* "Wizard": lets the user choose examinations and options. Returns 1 to go on.
 *   candidatos text buffer, one line per examination on offer ("Olho Direito - <date> <time>")
 *   selecao    empty buffer (out): one line per chosen examination, same form
 *   opcoes     empty buffer (out): the module's own options, handed back to "ProcessaMapas" */
typedef int32_t (*TWizard)(void* janela, ZrStream* candidatos, ZrStream* selecao,
                           ZrStream* opcoes, const TInfosZR* infos);

/* "Wizard" of the differential map modules: candidates carry a leading "O" (ortho-k) or
 * "T" (topography); edicaoOrto is 1 in the ortho-k edition, else 0. Returns 1 to go on. */
typedef int32_t (*TWizardDiferencial)(void* janela, ZrStream* candidatos, ZrStream* selecao,
                                      ZrStream* opcoes, uint8_t edicaoOrto,
                                      const TInfosZR* infos);

/* "ProcessaMapas": shows the maps of several examinations; element i of every array belongs
 * to the i-th selected examination.
 *   dados      one header text buffer per examination
 *   posicoes   ring positions per examination
 *   aneis      valid-ring counts per examination
 *   dioptrias  axial curvature per examination
 *   pupilas    pupil records per examination
 *   quantidade number of examinations
 *   opcoes     the options the wizard wrote, rewound */
typedef void (*TProcessaMapas)(void* janela, const TDadosPac* dados,
                               const TMatrizesAngAnel* posicoes, const TMatrizesAng* aneis,
                               const TMatrizesAngAnel* dioptrias, const TMatPup* pupilas,
                               int32_t quantidade, ZrStream* opcoes, const TInfosZR* infos);

/* "ProcessaMapas" of the ortho-k multi map (at most four examinations).
 *   bloco      Sag, Div, Raio and the fourth value of each of the four maps */
typedef void (*TProcessaMapasOrto)(void* janela, const TDadosPac* dados,
                                   const TMatrizesAngAnel* posicoes,
                                   const TMatrizesAngAnel* dioptrias, const TBlocoOrto* bloco,
                                   const TInfosZR* infos);

/* Processing ------------------------------------------------------------------------------ */

/* "ProcessaImagem" (image processing): finds the rings of the central image. Returns 1 on
 * success.
 *   central    central image, Windows bitmap
 *   centroX, centroY (out) map centre, pixels
 *   posicoes   (out) ring radial positions, pixels
 *   aneis      (out) last valid ring of each meridian
 *   dioptrias  (out) axial curvature, dioptres
 *   pupila     (out) pupil record (zeroed by the host first)
 *   indice     (out) confidence index */
typedef int32_t (*TProcessaImagem)(void* janela, ZrStream* central, double* centroX,
                                   double* centroY, TMatrizAngAnel* posicoes,
                                   TAneisMeridiano* aneis, TMatrizAngAnel* dioptrias,
                                   TDadosPupila* pupila, double* indice,
                                   const TInfosZR* infos, const TPathsZR* paths);

/* "ProcessaImagem" (ortho-k processing): processes the four central images of one ortho-k
 * capture. Returns 1 on success.
 *   centrais   the four central images
 *   posicoes   empty text buffer (out): 4 x 360 lines of ring positions, map after map
 *   dioptrias  empty text buffer (out): 4 x 360 lines of curvature, map after map
 *   valores    empty text buffer (out): 16 lines, Sag, Div, Raio, fourth value of each map
 *   indices    (out) the confidence index of each of the four maps */
typedef int32_t (*TProcessaImagemOrto)(void* janela, const TQuatroBuffers* centrais,
                                       ZrStream* posicoes, ZrStream* dioptrias,
                                       ZrStream* valores, double (*indices)[4],
                                       const TInfosZR* infos, const TPathsZR* paths);

/* "ProcessaEsfera": measures a reference sphere for calibration. Returns 1 on success; the
 * host also requires saida to be non-empty and stores it as the sphere's calibration file.
 *   imagem     central image of the sphere
 *   raio       the sphere's nominal radius as shown to the user (text, e.g. "7,73")
 *   saida      empty buffer (out) */
typedef int32_t (*TProcessaEsfera)(void* janela, ZrStream* imagem, const char* raio,
                                   ZrStream* saida, const TInfosZR* infos);

/* Capture ----------------------------------------------------------------------------------- */

/* "Digitalizar": captures one eye (or a calibration sphere). The capture counts as done when
 * central is non-empty.
 *   central, lateral  empty buffers (out): Windows bitmaps
 *   olho       ZR_OLHO_ESQUERDO, ZR_OLHO_DIREITO or ZR_ESFERA_CALIBRACAO
 *   legenda    caption for the capture window */
typedef void (*TDigitalizar)(void* janela, ZrStream* central, ZrStream* lateral, int32_t olho,
                             const TInfosZR* infos, const char* legenda);

/* "Digitalizar" (ortho-k capture): four central and four lateral images of one eye.
 *   olho       ZR_OLHO_ESQUERDO or ZR_OLHO_DIREITO */
typedef void (*TDigitalizarOrto)(void* janela, const TQuatroBuffers* centrais,
                                 const TQuatroBuffers* laterais, int32_t olho,
                                 const TInfosZR* infos, const char* legenda);

/* Lens and aberrometry ----------------------------------------------------------------------- */

/* "ProcessaLente": the contact-lens fitting window for one examination.
 *   central    central image, or null
 *   cabecalho  text buffer with the examination's header lines */
typedef void (*TProcessaLente)(void* janela, ZrStream* central, ZrStream* cabecalho,
                               double centroX, double centroY, const TMatrizAngAnel* posicoes,
                               const TAneisMeridiano* aneis, const TMatrizAngAnel* dioptrias,
                               const TInfosZR* infos, const TPathsZR* paths);

/* "ProcessaAberrometria": the aberrometry window for one examination. The grids are copies
 * the module may change.
 *   clinica    four texts: clinic name, address, city and state, telephone
 *   cabecalho  text buffer with the examination's header lines
 *   um, largura, altura  constants 1, 350, 350
 *   z0, fatorCorrecao    from the options
 *   tres       constant 3.0
 *   modelo, numAneis, tipoCone  from the options */
typedef void (*TProcessaAberrometria)(void* janela, TMatrizAngAnel* posicoes,
                                      TMatrizAngAnel* dioptrias, const TListaTextos* clinica,
                                      ZrStream* cabecalho, int32_t um, int32_t largura,
                                      int32_t altura, double z0, double fatorCorrecao,
                                      double tres, uint8_t modelo, uint8_t numAneis,
                                      const char* tipoCone, TAneisMeridiano* aneis);

/* Backup ------------------------------------------------------------------------------------- */

/* "InfoBackup": describes the backup medium. Returns the character code of the drive
 * letter ('E' = 69).
 *   estado     empty buffer (out): status lines; line 6 holds the date of the last backup
 *              at characters 26 to 35 (dd/mm/yyyy)
 *   tres       constant 3 */
typedef int32_t (*TInfoBackup)(void* janela, ZrStream* estado, int32_t tres);

/* "CriarBackup": copies the listed files onto the medium. Returns -1 on failure or
 * cancellation.
 *   exames     text buffer: files relative to raizExames ("12/345a.txt")
 *   tagsExames empty buffer (out): one tag line per examination, in list order
 *   laudos     text buffer: files relative to raizLaudos
 *   tagsLaudos empty buffer (out): one tag line per report, in list order
 *   tres       constant 3 */
typedef int32_t (*TCriarBackup)(void* janela, ZrStream* exames, ZrStream* tagsExames,
                                ZrStream* laudos, ZrStream* tagsLaudos, int32_t tres,
                                const char* raizExames, const char* raizLaudos);

/* "RestaurarBackup": restores examinations and reports from the medium. Returns -1 on
 * failure or cancellation. */
typedef int32_t (*TRestaurarBackup)(void* janela, const char* raizExames,
                                    const char* raizLaudos);

/* ----------------------------------------------------------------------------------------
 * Layout the modules rely on
 * ------------------------------------------------------------------------------------- */

ZR_CONFERE_ABI(sizeof(TMatrizAngAnel) == 360 * 33 * 8, "TMatrizAngAnel: 360 x 33 reais");
ZR_CONFERE_ABI(sizeof(TAneisMeridiano) == 360 * 4, "TAneisMeridiano: 360 inteiros");
ZR_CONFERE_ABI(sizeof(TDadosPupila) == 16, "TDadosPupila: 4 inteiros");
ZR_CONFERE_ABI(sizeof(TTriploOrto) == 24, "TTriploOrto: 3 reais seguidos");
ZR_CONFERE_ABI(sizeof(TBlocoOrto) == 128, "TBlocoOrto: 4 x 4 reais seguidos");
ZR_CONFERE_ABI(sizeof(double) == 8 && sizeof(int32_t) == 4, "reais de 64 bits");
ZR_CONFERE_ABI(offsetof(ZrStream, read) == sizeof(void*), "ZrStream: tabela");
ZR_CONFERE_ABI(offsetof(ZrStream, clear) == 6 * sizeof(void*), "ZrStream: tabela");
ZR_CONFERE_ABI(sizeof(TPathsZR) == 12 * sizeof(const char*), "TPathsZR: 12 textos");
#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
/* 64-bit layout of the options record. */
ZR_CONFERE_ABI(offsetof(TInfosZR, TipoCone) == 8, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, IndiceConf) == 40, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, Opt3) == 54, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, BackupAuto) == 56, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, MedicoAtivo) == 88, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, NumAneis) == 168, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, SalvarImagemCaptura) == 172, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, QualidadeImagem) == 196, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, DelayAutoPCaptura) == 220, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, TipoCalibrador) == 240, "TInfosZR");
ZR_CONFERE_ABI(offsetof(TInfosZR, CorCeratPontual) == 248, "TInfosZR");
ZR_CONFERE_ABI(sizeof(TInfosZR) == 256, "TInfosZR");
ZR_CONFERE_ABI(sizeof(ZrStream) == 56, "ZrStream");
ZR_CONFERE_ABI(sizeof(TDadosPac) == 16 && offsetof(TDadosPac, items) == 8, "TDadosPac");
#endif

#ifdef __cplusplus
} /* extern "C" */
} /* namespace zrmod */
#endif

/* Checks, at compile time, that a module's entry has the type of its pointer:
 *   ZR_CONFERE_ENTRADA(InfoMapa, TInfoMapa);   (after the definition, at file scope) */
#ifdef __cplusplus
#define ZR_CONFERE_ENTRADA(funcao, Tipo)                                                    \
    static_assert(sizeof(static_cast<zrmod::Tipo>(&funcao)) != 0, #funcao)
#else
#define ZR_CONFERE_ENTRADA(funcao, Tipo)                                                    \
    static const Tipo zr_confere_##funcao __attribute__((unused)) = &funcao
#endif

#endif
