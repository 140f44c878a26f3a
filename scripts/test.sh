#!/usr/bin/env bash
# Builds, lays out the installation and runs the whole test suite.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$RAIZ_PROJETO/scripts/install.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$PASTA_BUILD" --output-on-failure -j"$(nproc)"
