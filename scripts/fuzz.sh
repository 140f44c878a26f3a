#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, address and undefined-behaviour
# sanitizers) in build-fuzz/ and runs each for the given number of seconds (default 60),
# starting from its seed files. Fails on the first finding; the input that caused it is left
# in build-fuzz/achados/<target>/.
set -euo pipefail
RAIZ_PROJETO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SEGUNDOS="${1:-60}"
PASTA="${ZR_BUILD_FUZZ:-$RAIZ_PROJETO/build-fuzz}"
ALVOS=(exame configuracao laudo bitmap)

if ! command -v clang++ >/dev/null; then
  echo "== Instalando clang"
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends clang
fi

cmake -S "$RAIZ_PROJETO/fuzz" -B "$PASTA" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$PASTA" -j"$(nproc)" --target "${ALVOS[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
falhou=0
for alvo in "${ALVOS[@]}"; do
  corpo="$PASTA/corpo/$alvo"
  achados="$PASTA/achados/$alvo"
  mkdir -p "$corpo" "$achados"
  cp -n "$RAIZ_PROJETO/fuzz/sementes/$alvo/"* "$corpo/" 2>/dev/null || true
  echo "== $alvo: $SEGUNDOS s"
  if "$PASTA/fuzz_$alvo" -max_total_time="$SEGUNDOS" -max_len=65536 -timeout=10 \
       -artifact_prefix="$achados/" -print_final_stats=1 "$corpo" 2>"$PASTA/$alvo.log"; then
    execucoes=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$PASTA/$alvo.log" | grep -o '[0-9]*$' || echo "?")
    echo "   limpo: $execucoes execuções"
  else
    echo "   ACHADO: veja $PASTA/$alvo.log e $achados/"
    tail -n 40 "$PASTA/$alvo.log"
    falhou=1
  fi
done
exit $falhou
