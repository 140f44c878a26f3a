#include "calibration/URegrasCalib.h"

#include <QDateTime>

namespace RegrasCalib {

const QString kSemCalibracao = QStringLiteral("--:--:-- --/--/----");
const QString kFormatoData = QStringLiteral("dd/MM/yyyy HH:mm:ss");

QString Raio(int esfera)
{
    static const char* const raios[4] = {"7.73", "8.05", "8.34", "8.91"};
    return QString::fromLatin1(raios[qBound(1, esfera, 4) - 1]);
}

int LimitaPasso(int passo) { return qBound(1, passo, 5); }

QString ArquivoAnimacao(int passo, bool avancando)
{
    if (avancando) {
        switch (passo) {
        case 1:
        case 2: return QStringLiteral("cbr_mov1.dat");
        case 3: return QStringLiteral("cbr_mov2.dat");
        case 4: return QStringLiteral("cbr_mov3.dat");
        default: return {};
        }
    }
    switch (passo) {
    case 1: return QStringLiteral("cbr_mov1_ant.dat");
    case 2: return QStringLiteral("cbr_mov2_ant.dat");
    case 3: return QStringLiteral("cbr_mov3_ant.dat");
    default: return {};
    }
}

std::array<int, 4> MarcasRoda(int passo, int anterior, const std::array<bool, 4>& feito)
{
    std::array<int, 4> m = {-1, -1, -1, -1};
    auto marca = [&](int chk, int esfera) { m[chk - 1] = feito[esfera - 1] ? 1 : 0; };
    const bool voltou = anterior > passo;
    switch (passo) {
    case 1:
        if (voltou)
            marca(2, 4);
        break;
    case 2:
        if (voltou)
            marca(3, 4);
        marca(2, 1);
        break;
    case 3:
        if (voltou)
            marca(4, 4);
        marca(3, 1);
        marca(2, 2);
        break;
    case 4:
        if (voltou) {
            marca(1, 4);
        } else {
            marca(2, 3);
            marca(3, 2);
            marca(4, 1);
        }
        break;
    case 5:
        marca(1, 4);
        break;
    }
    return m;
}

QString TextoUltimaCalib(const QString& valor)
{
    const QDateTime quando = QDateTime::fromString(valor.trimmed(), kFormatoData);
    return quando.isValid() ? valor.trimmed() : kSemCalibracao;
}

} // namespace RegrasCalib
