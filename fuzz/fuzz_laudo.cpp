// The report text over arbitrary bytes: its five sections read back, and the slot collapse
// of the report boxes over the same text.

#include "common/UTextoCp1252.h"
#include "examfiles/UArquivosExame.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    const QString texto = DeCp1252(QByteArray(reinterpret_cast<const char*>(dados), qsizetype(tamanho)));
    const QStringList secoes = LeTextoLaudo(DivideLinhas(texto));
    if (secoes.size() != 5)
        __builtin_trap();
    for (const QString& s : secoes)
        RemoveMarcadores(s);
    MaiusculasAcentuadas(texto);
    return 0;
}
