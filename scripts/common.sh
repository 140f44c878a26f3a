# Shared by the scripts: installs the Debian packages the project needs (only those
# missing) and builds the project in build/. Sourced, not run.
set -euo pipefail

RAIZ_PROJETO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PASTA_BUILD="${ZR_BUILD:-$RAIZ_PROJETO/build}"
INSTALACAO="${ZR_INSTALACAO:-$RAIZ_PROJETO/instalacao}"

PACOTES=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-translations-l10n
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  firebird3.0-server
  libjpeg62-turbo-dev
  libbenchmark-dev
  libeigen3-dev libfftw3-dev
  xvfb xauth fonts-dejavu-core fonts-dejavu-extra
  fonts-liberation2 poppler-utils
  libdcmtk-dev dcmtk orthanc curl
)

instala_pacotes() {
  local faltam=()
  for p in "${PACOTES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltam+=("$p")
  done
  if [ ${#faltam[@]} -gt 0 ]; then
    echo "== Instalando pacotes: ${faltam[*]}"
    if [ "$(id -u)" -ne 0 ]; then
      echo "Faltam pacotes e este usuário não é root: rode como root." >&2
      exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    # Services of the installed packages (the image archive) must not start here: the tests
    # start their own archive on 127.0.0.1 and stop it.
    local politica=/usr/sbin/policy-rc.d criada=0
    if [ ! -e "$politica" ]; then
      printf '#!/bin/sh\nexit 101\n' > "$politica" && chmod +x "$politica" && criada=1
    fi
    apt-get install -y --no-install-recommends "${faltam[@]}"
    if [ "$criada" -eq 1 ]; then rm -f "$politica"; fi
  fi
}

compila() {
  echo "== Compilando em $PASTA_BUILD"
  cmake -S "$RAIZ_PROJETO" -B "$PASTA_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$PASTA_BUILD" -j"$(nproc)"
}

instala() {
  echo "== Instalação em $INSTALACAO"
  cmake --install "$PASTA_BUILD" --prefix "$INSTALACAO" > /dev/null
  "$PASTA_BUILD/install/zr_instalar" "$INSTALACAO"
}
