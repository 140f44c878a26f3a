# zr_add_module(NAME <file name without extension> SOURCES ...
#               [PASTA mapas|modulos] [LIBS ...] [TARGET <target>] [SAIDA <folder>]
#               [VERSAO a.b.c.d] [DESCRICAO text] [SEM_INSTALAR]
#               [VERSAO_ABI <n> | SEM_VERSAO_ABI])
#
# Builds one installable module: a shared library "<NAME>.so" (no "lib" prefix) that the
# settings file and the map folder name directly ("Axial.dll" of a map button is
# "Axial.so"). The module
#   - carries the version stamp of zr_versao();
#   - exports only its entry points (ZR_ENTRADA) and "VersaoABI", which reports the version
#     of modules/zr_modulos.h it was built with;
#   - is linked with every symbol resolved (--no-undefined), with the static libraries it
#     uses kept private, and without unique symbols so that it can really be unloaded;
#   - is built into <build>/<PASTA> (or SAIDA) and installed into <PASTA> of the
#     installation (default PASTA: modulos; map modules use mapas).
# The target is named zrmod_<NAME> unless TARGET says otherwise. Every module built with
# the interface version of the host is listed in the global property ZR_MODULOS; its folder
# is the target property ZR_PASTA_MODULO.
#
# VERSAO_ABI and SEM_VERSAO_ABI exist for the loader tests only: a module that reports
# another interface version, or none. Such modules are not listed in ZR_MODULOS.
set(ZR_FONTE_VERSAO_ABI "${CMAKE_CURRENT_LIST_DIR}/../modules/zr_versao_abi.c")
get_filename_component(ZR_FONTE_VERSAO_ABI "${ZR_FONTE_VERSAO_ABI}" ABSOLUTE)

function(zr_add_module)
  cmake_parse_arguments(M "SEM_INSTALAR;SEM_VERSAO_ABI"
    "NAME;PASTA;TARGET;SAIDA;VERSAO;DESCRICAO;VERSAO_ABI" "SOURCES;LIBS" ${ARGN})
  if(NOT M_NAME OR NOT M_SOURCES)
    message(FATAL_ERROR "zr_add_module: NAME e SOURCES são obrigatórios")
  endif()
  if(NOT M_PASTA)
    set(M_PASTA modulos)
  endif()
  if(NOT M_PASTA STREQUAL "modulos" AND NOT M_PASTA STREQUAL "mapas")
    message(FATAL_ERROR "zr_add_module(${M_NAME}): PASTA deve ser modulos ou mapas")
  endif()
  if(M_TARGET)
    set(alvo ${M_TARGET})
  else()
    string(MAKE_C_IDENTIFIER "zrmod_${M_NAME}" alvo)
  endif()
  if(NOT M_SAIDA)
    set(M_SAIDA "${CMAKE_BINARY_DIR}/${M_PASTA}")
  endif()
  if(NOT M_DESCRICAO)
    set(M_DESCRICAO "${M_NAME}")
  endif()

  add_library(${alvo} MODULE ${M_SOURCES})
  if(NOT M_SEM_VERSAO_ABI)
    target_sources(${alvo} PRIVATE "${ZR_FONTE_VERSAO_ABI}")
    if(DEFINED M_VERSAO_ABI)
      target_compile_definitions(${alvo} PRIVATE ZR_VERSAO_ABI_MODULO=${M_VERSAO_ABI})
    endif()
  endif()
  set_target_properties(${alvo} PROPERTIES
    OUTPUT_NAME "${M_NAME}"
    PREFIX ""
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY "${M_SAIDA}"
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    ZR_PASTA_MODULO "${M_PASTA}")
  target_compile_options(${alvo} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-gnu-unique>)
  target_link_options(${alvo} PRIVATE "LINKER:--no-undefined" "LINKER:--exclude-libs,ALL")
  target_link_libraries(${alvo} PRIVATE zr_modules Qt6::Core ${M_LIBS})
  if(M_VERSAO)
    zr_versao(${alvo} VERSAO ${M_VERSAO} DESCRICAO "${M_DESCRICAO}")
  else()
    zr_versao(${alvo} DESCRICAO "${M_DESCRICAO}")
  endif()
  if(NOT M_SEM_INSTALAR)
    install(TARGETS ${alvo} LIBRARY DESTINATION ${M_PASTA})
  endif()
  if(NOT M_SEM_VERSAO_ABI AND NOT DEFINED M_VERSAO_ABI)
    set_property(GLOBAL APPEND PROPERTY ZR_MODULOS ${alvo})
  endif()
endfunction()
