/* A backup module for the loader tests, written in C to build against the interface header
 * as C. BACKUP_COMPLETO exports all three backup entries; otherwise only "InfoBackup".
 * BACKUP_FALHA, BACKUP_NUMERADO, BACKUP_LONGA and BACKUP_MENOS choose what "CriarBackup"
 * hands back (see there). */
#include "modules/zr_modulos.h"

#include <stdio.h>
#include <string.h>

static void Escreve(ZrStream* s, const char* texto)
{
    s->write(s, texto, (int64_t)strlen(texto));
}

/* Six status lines; the sixth holds the last backup's date at characters 26 to 35. The
 * drive is E (69). The accented text is cp1252 ("Último" starts with 0xDA). */
ZR_ENTRADA int32_t InfoBackup(void* janela, ZrStream* estado, int32_t tres)
{
    (void)janela;
    Escreve(estado, "Unidade de backup\r\n");
    Escreve(estado, "M\xed" "dia: disco remov\xedvel\r\n");
    Escreve(estado, tres == 3 ? "Constante: 3\r\n" : "Constante: errada\r\n");
    Escreve(estado, "Exames: 12\r\n");
    Escreve(estado, "Laudos: 3\r\n");
    Escreve(estado, "\xdaltimo backup realizado: 05/11/2026\r\n");
    return 69;
}
ZR_CONFERE_ENTRADA(InfoBackup, TInfoBackup);

#ifdef BACKUP_COMPLETO
/* Tags every listed examination (each examination has three files) and report. Returns -1
 * when the roots are missing. */
static int32_t ContaLinhas(ZrStream* s)
{
    char c;
    int32_t n = 0;
    s->seek(s, 0, ZR_DO_INICIO);
    while (s->read(s, &c, 1) == 1)
        if (c == '\n')
            ++n;
    return n;
}

ZR_ENTRADA int32_t CriarBackup(void* janela, ZrStream* exames, ZrStream* tagsExames,
                               ZrStream* laudos, ZrStream* tagsLaudos, int32_t tres,
                               const char* raizExames, const char* raizLaudos)
{
    int32_t i;
    (void)janela;
    if (tres != 3 || !raizExames || !raizLaudos || !*raizExames || !*raizLaudos)
        return -1;
#if defined(BACKUP_FALHA)
    (void)exames; (void)laudos; (void)tagsExames; (void)tagsLaudos; (void)i;
    return -1;
#elif defined(BACKUP_NUMERADO) || defined(BACKUP_LONGA) || defined(BACKUP_MENOS)
    /* E1, E2, ... and L1, L2, ... so that a test sees which row got which line; LONGA makes
     * the second examination's mark 11 characters long; MENOS leaves out the last line. */
    {
        char linha[32];
        int32_t n = ContaLinhas(exames) / 3, m = ContaLinhas(laudos);
#ifdef BACKUP_MENOS
        --n;
        --m;
#endif
        for (i = 0; i < n; ++i) {
#ifdef BACKUP_LONGA
            snprintf(linha, sizeof linha, i == 1 ? "ZRQK000001X\r\n" : "E%d\r\n", (int)(i + 1));
#else
            snprintf(linha, sizeof linha, "E%d\r\n", (int)(i + 1));
#endif
            Escreve(tagsExames, linha);
        }
        for (i = 0; i < m; ++i) {
            snprintf(linha, sizeof linha, "L%d\r\n", (int)(i + 1));
            Escreve(tagsLaudos, linha);
        }
    }
    return 0;
#else
    for (i = 0; i < ContaLinhas(exames) / 3; ++i)
        Escreve(tagsExames, "DISCO01\r\n");
    for (i = 0; i < ContaLinhas(laudos); ++i)
        Escreve(tagsLaudos, "DISCO01\r\n");
    return 0;
#endif
}
ZR_CONFERE_ENTRADA(CriarBackup, TCriarBackup);

ZR_ENTRADA int32_t RestaurarBackup(void* janela, const char* raizExames, const char* raizLaudos)
{
    (void)janela;
    return (raizExames && raizLaudos && strcmp(raizExames, raizLaudos) != 0) ? 0 : -1;
}
ZR_CONFERE_ENTRADA(RestaurarBackup, TRestaurarBackup);
#endif
