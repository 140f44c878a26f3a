/* A small program for the version reader tests; its version comes from zr_versao(). */
int main(void) { return 0; }
