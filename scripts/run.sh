#!/usr/bin/env bash
# Builds, lays out the installation and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$RAIZ_PROJETO/scripts/install.sh"
cd "$INSTALACAO/bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "== Sem tela disponível: o programa roda dentro de xvfb-run."
  exec xvfb-run -a ./korvane
fi
exec ./korvane
