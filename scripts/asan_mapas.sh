#!/usr/bin/env bash
# Builds the map modules and their tests with the address and undefined-behaviour sanitizers
# in build-asan/ (apart from build/, ZR_BUILD_ASAN chooses another folder) and runs them: the
# single-map and multi-map modules, the ortho-k analysis and the navigator's map display
# (among its cases six examinations with ortho-k ones chosen for "MultiMapas", cut to the
# four the module shows). Fails on the first finding; the logs stay in build-asan/Testing/.
# Not part of scripts/test.sh: the sanitized build is slow and is run when the map code
# changes.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
PASTA="${ZR_BUILD_ASAN:-$RAIZ_PROJETO/build-asan}"
ALVOS=(teste_mapas_mapa teste_mapas_analiseorto teste_mapas_modulos teste_mapas_multi teste_navigator_mapas)
TESTES='^(mapas\.|navigator\.mapas$)'

instala_pacotes
SANITIZADORES="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
LANCADOR=()
if command -v ccache >/dev/null; then
  LANCADOR=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
echo "== Compilando com os sanitizadores em $PASTA"
cmake -S "$RAIZ_PROJETO" -B "$PASTA" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LANCADOR[@]}" \
  -DCMAKE_C_FLAGS="$SANITIZADORES" -DCMAKE_CXX_FLAGS="$SANITIZADORES" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_MODULE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$PASTA" -j"$(nproc)" --target "${ALVOS[@]}"

# Leaks are not looked for: the toolkit and the database client keep memory until exit.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
echo "== Testes dos mapas com os sanitizadores"
ctest --test-dir "$PASTA" -R "$TESTES" --output-on-failure
