/* Added to every module by zr_add_module(): the version of the module interface the module
 * was built with, which the host compares with its own before it uses the module. */
#include "modules/zr_modulos.h"

#ifndef ZR_VERSAO_ABI_MODULO
#define ZR_VERSAO_ABI_MODULO ZR_MODULOS_VERSAO_ABI
#endif

ZR_ENTRADA int32_t VersaoABI(void)
{
    return ZR_VERSAO_ABI_MODULO;
}
