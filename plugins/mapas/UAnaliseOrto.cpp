#include "plugins/mapas/UAnaliseOrto.h"

#include "common/UFormatos.h"

#include <cmath>
#include <vector>

namespace {
constexpr double kRaioInicial = 0.4; // mm: inside it the centre's noise is not a ring
constexpr double kPasso = 0.02;      // mm along a meridian
constexpr int kMinMeridianos = 90;   // a ring seen on fewer meridians is not a ring
} // namespace

QStringList AnaliseOrto::Linhas() const
{
    if (!valida)
        return {QStringLiteral("Zona de tratamento: %1").arg(aviso)};
    const QString grau = QString(QChar(0x00B0));
    QString desc = QStringLiteral("Descentração: %1 mm a %2%3")
                       .arg(FormataNumero(QStringLiteral("0.00"), descentracao))
                       .arg(std::lround(direcao) % 360)
                       .arg(grau);
    if (Centrado())
        desc += QStringLiteral(" (centrado)");
    return {QStringLiteral("Zona aplanada: %1 mm de diâmetro").arg(FormataNumero(QStringLiteral("0.00"), diametroZona)),
            QStringLiteral("Anel: %1 mm de diâmetro").arg(FormataNumero(QStringLiteral("0.00"), diametro)),
            QStringLiteral("Potência no anel: %1 D").arg(FormataNumero(QStringLiteral("0.00"), potenciaPico)), desc};
}

AnaliseOrto AnalisaTratamento(const MapaCurvatura& mapa)
{
    AnaliseOrto a;
    if (!mapa.TemDados()) {
        a.aviso = QStringLiteral("sem dados");
        return a;
    }
    const double raioMax = mapa.RaioDados() - 0.2;
    std::vector<double> xs, ys, picos, raiosPico;
    for (int k = 0; k < 360; ++k) {
        const double t = k * M_PI / 180.0;
        const double c = std::cos(t), s = std::sin(t);
        // The peak must stand above the centre and fall again before the edge of the data:
        // the ring, not the rim.
        const double centro = mapa.Valor(kRaioInicial * c, kRaioInicial * s);
        double melhor = -1e9, rMelhor = 0, ultimo = NAN;
        for (double r = kRaioInicial; r <= raioMax; r += kPasso) {
            const double v = mapa.Valor(r * c, r * s);
            if (!std::isfinite(v))
                break;
            ultimo = v;
            if (v > melhor) {
                melhor = v;
                rMelhor = r;
            }
        }
        if (!std::isfinite(centro) || !std::isfinite(ultimo) || melhor < centro + 0.5 || melhor < ultimo + 0.25 ||
            rMelhor >= raioMax - kPasso)
            continue;
        // The zone's edge on this meridian: where the inner flank of the ring rises through
        // half the way from the centre's power to the peak. The steep flank places the edge
        // better than the broad peak, which the cornea's own flattening pulls inwards.
        const double meio = (centro + melhor) / 2.0;
        double rBorda = rMelhor;
        for (double r = rMelhor; r >= kRaioInicial; r -= kPasso / 2.0) {
            const double v = mapa.Valor(r * c, r * s);
            if (!std::isfinite(v))
                break;
            if (v <= meio) {
                const double vFora = mapa.Valor((r + kPasso / 2.0) * c, (r + kPasso / 2.0) * s);
                rBorda = std::isfinite(vFora) && vFora != v ? r + (meio - v) / (vFora - v) * (kPasso / 2.0) : r;
                break;
            }
        }
        xs.push_back(rBorda * c);
        ys.push_back(rBorda * s);
        picos.push_back(melhor);
        raiosPico.push_back(rMelhor);
    }
    a.meridianos = int(xs.size());
    if (a.meridianos < kMinMeridianos) {
        a.aviso = QStringLiteral("anel de tratamento não encontrado");
        return a;
    }
    // Circle through the zone's edge: x^2 + y^2 + D x + E y + F = 0 by least squares (normal
    // equations of the three unknowns, solved by Cramer's rule).
    double n[3][3] = {}, v[3] = {}, soma = 0;
    for (int i = 0; i < a.meridianos; ++i) {
        const double l[3] = {xs[size_t(i)], ys[size_t(i)], 1.0};
        const double alvo = -(l[0] * l[0] + l[1] * l[1]);
        for (int r = 0; r < 3; ++r) {
            v[r] += l[r] * alvo;
            for (int c = 0; c < 3; ++c)
                n[r][c] += l[r] * l[c];
        }
        soma += picos[size_t(i)];
    }
    auto det = [](const double q[3][3]) {
        return q[0][0] * (q[1][1] * q[2][2] - q[1][2] * q[2][1]) - q[0][1] * (q[1][0] * q[2][2] - q[1][2] * q[2][0]) +
               q[0][2] * (q[1][0] * q[2][1] - q[1][1] * q[2][0]);
    };
    const double d0 = det(n);
    if (std::abs(d0) < 1e-12) {
        a.aviso = QStringLiteral("anel de tratamento não encontrado");
        return a;
    }
    double p[3];
    for (int c = 0; c < 3; ++c) {
        double q[3][3];
        for (int r = 0; r < 3; ++r)
            for (int j = 0; j < 3; ++j)
                q[r][j] = j == c ? v[r] : n[r][j];
        p[c] = det(q) / d0;
    }
    a.centroX = -p[0] / 2.0;
    a.centroY = -p[1] / 2.0;
    const double r2 = a.centroX * a.centroX + a.centroY * a.centroY - p[2];
    if (!(r2 > 0)) {
        a.aviso = QStringLiteral("anel de tratamento não encontrado");
        return a;
    }
    a.diametroZona = 2.0 * std::sqrt(r2);
    // The ring: the peaks' mean distance from the zone's centre.
    double somaRaios = 0;
    for (size_t i = 0; i < raiosPico.size(); ++i) {
        const double t = std::atan2(ys[i], xs[i]);
        somaRaios += std::hypot(raiosPico[i] * std::cos(t) - a.centroX, raiosPico[i] * std::sin(t) - a.centroY);
    }
    a.diametro = 2.0 * somaRaios / double(raiosPico.size());
    a.potenciaPico = soma / a.meridianos;
    a.descentracao = std::hypot(a.centroX, a.centroY);
    // y runs downwards on the map; the direction is read as the examiner sees the eye.
    a.direcao = std::fmod(std::atan2(-a.centroY, a.centroX) * 180.0 / M_PI + 360.0, 360.0);
    a.valida = true;
    return a;
}
