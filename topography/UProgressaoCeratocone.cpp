#include "topography/UProgressaoCeratocone.h"

#include "common/UFormatos.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDiasAno = 365.25;

QString Dec(double v)
{
    return FormataNumero(QStringLiteral("0.00"), v);
}

QString ComSinal(double v)
{
    return (v >= 0 ? QStringLiteral("+") : QString()) + Dec(v);
}

} // namespace

QString NomeSerie(SerieProgressao s)
{
    static const char* nomes[kSeriesProgressao] = {"K1", "K2", "Kmax", "I-S", "KISA%"};
    return QString::fromLatin1(nomes[int(s)]);
}

QString UnidadeSerie(SerieProgressao s)
{
    return s == SerieProgressao::Kisa ? QStringLiteral("%") : QStringLiteral("D");
}

AnaliseProgressao AnalisaProgressao(QList<ExameProgressao> exames, double confiancaMinima)
{
    std::stable_sort(exames.begin(), exames.end(),
                     [](const ExameProgressao& a, const ExameProgressao& b) { return a.data < b.data; });
    AnaliseProgressao r;
    r.exames = exames;
    for (const ExameProgressao& e : exames)
        r.usado << (e.data.isValid() && !(e.confianca < confiancaMinima));

    for (int s = 0; s < kSeriesProgressao; ++s) {
        // Usable points of this series: counted examinations with a value.
        QList<int> pontos;
        for (int i = 0; i < exames.size(); ++i)
            if (r.usado[i] && std::isfinite(exames[i].valor[s]))
                pontos << i;
        TendenciaSerie& t = r.tendencia[s];
        if (pontos.size() < 2)
            continue;
        const QDate origem = exames[pontos.first()].data;
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (int i : pontos) {
            const double x = origem.daysTo(exames[i].data) / kDiasAno, y = exames[i].valor[s];
            sx += x;
            sy += y;
            sxx += x * x;
            sxy += x * y;
        }
        const double n = pontos.size(), det = n * sxx - sx * sx;
        if (!(det > 0.0))
            continue; // all on one day: no trend
        t.valida = true;
        t.primeiro = exames[pontos.first()].valor[s];
        t.ultimo = exames[pontos.last()].valor[s];
        t.variacao = t.ultimo - t.primeiro;
        t.porAno = (n * sxy - sx * sy) / det;
    }

    // The flag: a counted pair, the later within the window of the earlier, whose Kmax rose
    // by the threshold (the largest such rise is reported).
    const int k = int(SerieProgressao::Kmax);
    for (int i = 0; i < exames.size(); ++i)
        for (int j = i + 1; j < exames.size(); ++j) {
            if (!r.usado[i] || !r.usado[j] || exames[j].data > exames[i].data.addMonths(kMesesProgressao))
                continue;
            const double subida = exames[j].valor[k] - exames[i].valor[k];
            if (std::isfinite(subida) && subida >= kLimiarProgressaoKmax - 1e-9 && subida > r.elevacaoKmax) {
                r.progressao = true;
                r.de = i;
                r.ate = j;
                r.elevacaoKmax = subida;
            }
        }
    return r;
}

QStringList AnaliseProgressao::Linhas() const
{
    QStringList l;
    for (int s = 0; s < kSeriesProgressao; ++s) {
        const TendenciaSerie& t = tendencia[s];
        const QString u = UnidadeSerie(SerieProgressao(s));
        const QString nome = NomeSerie(SerieProgressao(s));
        if (!t.valida)
            l << QStringLiteral("%1: — (menos de dois exames utilizáveis)").arg(nome);
        else
            l << QStringLiteral("%1: %2 a %3 %4 (%5 %4; %6 %4/ano)")
                     .arg(nome, Dec(t.primeiro), Dec(t.ultimo), u, ComSinal(t.variacao), ComSinal(t.porAno));
    }
    int fora = 0;
    for (bool u : usado)
        fora += u ? 0 : 1;
    if (fora > 0)
        l << QStringLiteral("Exames fora da tendência (índice de confiança abaixo do mínimo): %1").arg(fora);
    if (progressao)
        l << QStringLiteral("Progressão: Kmax subiu %1 D entre %2 e %3")
                 .arg(Dec(elevacaoKmax), exames[de].data.toString(QStringLiteral("dd/MM/yyyy")),
                      exames[ate].data.toString(QStringLiteral("dd/MM/yyyy")));
    else
        l << QStringLiteral("Sem progressão: Kmax não subiu %1 D ou mais em %2 meses")
                 .arg(Dec(kLimiarProgressaoKmax)).arg(kMesesProgressao);
    return l;
}
