/* A small shared library for the version reader tests. */
int zr_modulo_vazio(void) { return 1; }
