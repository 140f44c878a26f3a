#!/usr/bin/env bash
# Builds the project and lays out (or updates) the installation, without starting it.
# ZR_INSTALACAO chooses the installation folder (default: instalacao/ in the project).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
instala_pacotes
compila
instala
