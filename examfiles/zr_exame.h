/* In-memory shapes of one examination's data and of several examinations, shared by the
 * examination files, the map computation and the installable modules (plain C: modules
 * take them by address). */
#ifndef ZR_EXAME_H
#define ZR_EXAME_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { ZR_MERIDIANOS = 360, ZR_COLUNAS_ANEL = 33 };

/* 360 meridians (row k-1 is meridian k) by 33 ring columns (0 = centre, c = ring c). */
typedef double TMatrizAngAnel[ZR_MERIDIANOS][ZR_COLUNAS_ANEL];
/* Last valid column of each meridian (0..N). */
typedef int32_t TAneisMeridiano[ZR_MERIDIANOS];
/* The processing module's pupil data, in file order; stored and passed on unchanged. */
typedef int32_t TDadosPupila[4];

/* Growable arrays: `count` elements at `items` (owned by whoever filled them). */
typedef struct TMatrizesAngAnel { int32_t count; TMatrizAngAnel* items; } TMatrizesAngAnel;
typedef struct TMatrizesAng { int32_t count; TAneisMeridiano* items; } TMatrizesAng;
typedef struct TMatPup { int32_t count; TDadosPupila* items; } TMatPup;

#ifdef __cplusplus
}
#endif

#endif
