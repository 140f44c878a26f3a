#include "plugins/aberrometria/UFrenteOnda.h"

#include "plugins/aberrometria/UZernike.h"
#include "topography/UElevacao.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace Aberrometria {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QString Num(double v, int casas = 3)
{
    return std::isfinite(v) ? QString::number(v, 'f', casas) : QStringLiteral("--");
}

// Complex 2-D FFT of a kLadoFft square, in place.
void Fft(std::vector<std::complex<double>>& dados, int sentido)
{
    auto* p = reinterpret_cast<fftw_complex*>(dados.data());
    fftw_plan plano = fftw_plan_dft_2d(kLadoFft, kLadoFft, p, p, sentido, FFTW_ESTIMATE);
    fftw_execute(plano);
    fftw_destroy_plan(plano);
}

// Index of the centred picture for a sample of the FFT grid (and back: it is its own inverse).
inline int Desloca(int i) { return (i + kLadoFft / 2) % kLadoFft; }

} // namespace

bool TracaRaio(double x, double y, double h, double hx, double hy, double f, double& w)
{
    // Incoming ray along +z; the surface normal into the eye.
    const double norma = std::sqrt(hx * hx + hy * hy + 1.0);
    const double nx = -hx / norma, ny = -hy / norma, nz = 1.0 / norma;
    const double eta = 1.0 / kIndice, cosI = nz;
    const double k = 1.0 - eta * eta * (1.0 - cosI * cosI);
    if (k < 0)
        return false;
    const double a = std::sqrt(k) - eta * cosI;
    const double dx = a * nx, dy = a * ny, dz = eta + a * nz;
    // Meet the reference sphere (centre (0, 0, f), radius f) at the root next to the surface.
    const double px = x, py = y, pz = h - f;
    const double b = px * dx + py * dy + pz * dz;
    const double c = px * px + py * py + pz * pz - f * f;
    const double disc = b * b - c;
    if (disc < 0)
        return false;
    const double t1 = -b - std::sqrt(disc), t2 = -b + std::sqrt(disc);
    const double t = std::abs(t1) < std::abs(t2) ? t1 : t2;
    // Optical path from the plane of the apex: h in air, then t in the cornea; the chief ray's is 0.
    w = -(h + kIndice * t) * 1000.0;
    return std::isfinite(w);
}

double ResultadoFrente::Rms(int ordemMin, int ordemMax) const
{
    double soma = 0;
    for (int j = 0; j < int(coef.size()); ++j) {
        int n, m;
        Zernike::OrdemFrequencia(j, n, m);
        if (n >= ordemMin && n <= ordemMax)
            soma += coef[j] * coef[j];
    }
    return std::sqrt(soma);
}

double ResultadoFrente::Coef(int n, int m) const
{
    const int j = Zernike::Indice(n, m);
    return j < int(coef.size()) ? coef[j] : 0.0;
}

double ResultadoFrente::Astigmatismo() const
{
    return std::hypot(Coef(2, -2), Coef(2, 2));
}

double ResultadoFrente::EixoAstigmatismo() const
{
    double a = 0.5 * std::atan2(Coef(2, -2), Coef(2, 2)) * 180.0 / M_PI;
    return a < 0 ? a + 180.0 : a;
}

double ResultadoFrente::Coma() const
{
    return std::hypot(Coef(3, -1), Coef(3, 1));
}

double ResultadoFrente::EixoComa() const
{
    double a = std::atan2(Coef(3, -1), Coef(3, 1)) * 180.0 / M_PI;
    return a < 0 ? a + 360.0 : a;
}

ResultadoFrente FrenteDeOnda(const FuncaoSuperficie& superficie, double raioPupila, double raioReferencia, int ordem)
{
    ResultadoFrente r;
    r.raioPedido = r.raioPupila = raioPupila;
    r.raioReferencia = raioReferencia;
    r.grade.assign(size_t(kLadoPupila) * kLadoPupila, kNaN);
    const double f = Focal(raioReferencia), passo = 2 * raioPupila / (kLadoPupila - 1);
    std::vector<Zernike::Amostra> amostras;
    amostras.reserve(r.grade.size());
    for (int j = 0; j < kLadoPupila; ++j)
        for (int i = 0; i < kLadoPupila; ++i) {
            const double x = -raioPupila + i * passo, y = raioPupila - j * passo;
            const double rho = std::hypot(x, y) / raioPupila;
            double h, hx, hy, w;
            if (rho > 1.0 + 1e-9 || !superficie(x, y, h, hx, hy) || !TracaRaio(x, y, h, hx, hy, f, w))
                continue;
            r.grade[size_t(j) * kLadoPupila + i] = w;
            amostras.push_back({std::min(rho, 1.0), std::atan2(y, x), w});
        }
    r.pontos = int(amostras.size());
    for (r.ordem = std::clamp(ordem, 0, Zernike::kOrdemMaxima); r.ordem >= 2; --r.ordem) {
        if (r.pontos >= 2 * Zernike::Termos(r.ordem)) {
            r.coef = Zernike::Ajusta(amostras, r.ordem);
            if (!r.coef.empty())
                break;
        }
    }
    r.valido = !r.coef.empty();
    if (!r.valido)
        r.notas << QStringLiteral("Pontos insuficientes para o ajuste de Zernike.");
    else if (r.ordem < ordem)
        r.notas << QStringLiteral("Poucos pontos para a ordem %1: ajuste até a ordem %2.").arg(ordem).arg(r.ordem);
    return r;
}

ResultadoFrente FrenteDoExame(const TExameConferido& exame, double raioPupila)
{
    ResultadoFrente vazio;
    vazio.raioPedido = raioPupila;
    if (!exame.TemDados()) {
        vazio.notas << QStringLiteral("O exame não tem dados para a aberrometria.");
        return vazio;
    }
    const std::vector<TElevacaoMeridiano> elev =
        CalculaElevacao(exame.posicoes, exame.dioptrias, exame.aneis, exame.fator);
    std::vector<double> borda(ZR_MERIDIANOS, 0.0);
    double somaCurv = 0;
    int nCurv = 0;
    for (int m = 0; m < ZR_MERIDIANOS; ++m) {
        const TElevacaoMeridiano& e = elev[m];
        if (e.pontos >= 2)
            borda[m] = e.raio[e.pontos - 1];
        if (e.pontos >= 1 && e.raioAxial[0] > 0) {
            somaCurv += 1.0 / e.raioAxial[0];
            ++nCurv;
        }
    }
    std::vector<double> ordenada = borda;
    std::sort(ordenada.begin(), ordenada.end());
    const double alcance = std::floor(ordenada[ZR_MERIDIANOS / 10] * 10.0 + 1e-9) / 10.0;
    if (nCurv == 0 || alcance < 0.5) {
        vazio.notas << QStringLiteral("Os dados não cobrem uma pupila de 1 mm.");
        return vazio;
    }
    QStringList notas;
    double a = raioPupila;
    if (!(a > 0) || !std::isfinite(a))
        a = 3.0;
    if (a > alcance + 1e-9) {
        notas << QStringLiteral("A pupila pedida (%1 mm) passa dos dados: análise em %2 mm.")
                     .arg(Num(2 * a, 1), Num(2 * alcance, 1));
        a = alcance;
    }
    // Order by the rings inside the pupil: a term of order n needs n / 2 + 1 radii.
    std::vector<int> aneis;
    for (const TElevacaoMeridiano& e : elev) {
        int n = 0;
        for (int j = 1; j < e.pontos && e.raio[j] <= a + 1e-9; ++j)
            ++n;
        aneis.push_back(n);
    }
    std::nth_element(aneis.begin(), aneis.begin() + ZR_MERIDIANOS / 2, aneis.end());
    const int ordem = std::clamp(2 * (aneis[ZR_MERIDIANOS / 2] - 1), 0, Zernike::kOrdemMaxima);

    // Heights on the wavefront grid with one sample of margin for the slopes; no extrapolation
    // beyond a meridian's last ring.
    const int lado = kLadoPupila + 2;
    const double passo = 2 * a / (kLadoPupila - 1);
    std::vector<double> altura(size_t(lado) * lado, kNaN);
    const auto alturaEm = [&](double x, double y, double& h) {
        const double r = std::hypot(x, y);
        double ang = std::atan2(-y, x) * 180.0 / M_PI;
        if (ang < 0)
            ang += 360.0;
        const int k0 = int(std::floor(ang));
        const double w = ang - k0;
        double soma = 0;
        for (int d = 0; d < 2; ++d) {
            const int linha = (k0 + d + 359) % 360;
            double hk;
            if (r > borda[linha] + 1e-9 || !elev[linha].AlturaEm(r, hk))
                return false;
            soma += (d ? w : 1 - w) * hk;
        }
        h = soma;
        return true;
    };
    for (int j = 0; j < lado; ++j)
        for (int i = 0; i < lado; ++i) {
            double h;
            if (alturaEm(-a + (i - 1) * passo, a - (j - 1) * passo, h))
                altura[size_t(j) * lado + i] = h;
        }
    const auto superficie = [&](double x, double y, double& h, double& hx, double& hy) {
        const int i = int(std::lround((x + a) / passo)) + 1, j = int(std::lround((a - y) / passo)) + 1;
        if (i < 1 || j < 1 || i > lado - 2 || j > lado - 2)
            return false;
        const auto H = [&](int ii, int jj) { return altura[size_t(jj) * lado + ii]; };
        h = H(i, j);
        if (!std::isfinite(h))
            return false;
        const auto derivada = [&](double menos, double mais, double& d) {
            if (std::isfinite(menos) && std::isfinite(mais))
                d = (mais - menos) / (2 * passo);
            else if (std::isfinite(mais))
                d = (mais - h) / passo;
            else if (std::isfinite(menos))
                d = (h - menos) / passo;
            else
                return false;
            return true;
        };
        // y grows upwards, the rows downwards.
        return derivada(H(i - 1, j), H(i + 1, j), hx) && derivada(H(i, j + 1), H(i, j - 1), hy);
    };
    ResultadoFrente r = FrenteDeOnda(superficie, a, nCurv / somaCurv, std::max(ordem, 2));
    r.raioPedido = raioPupila;
    if (ordem < Zernike::kOrdemMaxima && r.valido && r.ordem == ordem)
        notas << QStringLiteral("Poucos anéis na pupila para a 6ª ordem: ajuste até a ordem %1.").arg(r.ordem);
    r.notas = notas + r.notas;
    return r;
}

Psf CalculaPsf(const ResultadoFrente& r)
{
    Psf psf;
    if (!r.valido)
        return psf;
    constexpr int kAmostras = kLadoFft / 2; // pupil samples across: twice oversampled
    std::vector<std::complex<double>> campo(size_t(kLadoFft) * kLadoFft);
    double abertura = 0;
    for (int j = 0; j < kAmostras; ++j)
        for (int i = 0; i < kAmostras; ++i) {
            const double x = -1.0 + (i + 0.5) * 2.0 / kAmostras, y = 1.0 - (j + 0.5) * 2.0 / kAmostras;
            const double rho = std::hypot(x, y);
            if (rho > 1.0)
                continue;
            const double w = Zernike::Avalia(r.coef, rho, std::atan2(y, x), Zernike::Indice(3, -3));
            campo[size_t(j) * kLadoFft + i] = std::polar(1.0, 2 * M_PI * w / kComprimentoOnda);
            abertura += 1;
        }
    Fft(campo, FFTW_FORWARD);
    psf.valores.assign(campo.size(), 0.0);
    double pico = 0, soma = 0;
    for (int j = 0; j < kLadoFft; ++j)
        for (int i = 0; i < kLadoFft; ++i) {
            const double v = std::norm(campo[size_t(j) * kLadoFft + i]);
            psf.valores[size_t(Desloca(j)) * kLadoFft + Desloca(i)] = v;
            pico = std::max(pico, v);
            soma += v;
        }
    psf.strehl = abertura > 0 ? pico / (abertura * abertura) : 0;
    for (double& v : psf.valores)
        v /= soma;
    const double dx = 2 * r.raioPupila / kAmostras; // mm
    psf.minutosPorPixel = (kComprimentoOnda * 1e-3) / (kLadoFft * dx) * 180.0 / M_PI * 60.0;
    return psf;
}

std::vector<double> Convolui(const std::vector<double>& imagem, const Psf& psf)
{
    const size_t n = size_t(kLadoFft) * kLadoFft;
    if (imagem.size() != n || psf.valores.size() != n)
        return imagem;
    std::vector<std::complex<double>> a(n), b(n);
    for (int j = 0; j < kLadoFft; ++j)
        for (int i = 0; i < kLadoFft; ++i) {
            a[size_t(j) * kLadoFft + i] = imagem[size_t(j) * kLadoFft + i];
            b[size_t(Desloca(j)) * kLadoFft + Desloca(i)] = psf.valores[size_t(j) * kLadoFft + i];
        }
    Fft(a, FFTW_FORWARD);
    Fft(b, FFTW_FORWARD);
    for (size_t k = 0; k < n; ++k)
        a[k] *= b[k];
    Fft(a, FFTW_BACKWARD);
    std::vector<double> saida(n);
    for (size_t k = 0; k < n; ++k)
        saida[k] = std::clamp(a[k].real() / double(n), 0.0, 1.0);
    return saida;
}

QStringList Resumo(const ResultadoFrente& r, const Psf& psf)
{
    QStringList l;
    l << QStringLiteral("Pupila: %1 mm").arg(Num(2 * r.raioPupila, 1));
    if (!r.valido) {
        l << QStringLiteral("Sem ajuste de Zernike.");
    } else {
        l << QStringLiteral("Ordem do ajuste: %1 (%2 termos, %3 pontos)").arg(r.ordem).arg(r.coef.size()).arg(r.pontos)
          << QStringLiteral("RMS total: %1 µm").arg(Num(r.RmsTotal()))
          << QStringLiteral("RMS de alta ordem: %1 µm").arg(Num(r.RmsAltaOrdem()));
        for (int n = 2; n <= r.ordem; ++n)
            l << QStringLiteral("RMS da ordem %1: %2 µm").arg(n).arg(Num(r.Rms(n, n)));
        l << QStringLiteral("Astigmatismo: %1 µm a %2°").arg(Num(r.Astigmatismo()), Num(r.EixoAstigmatismo(), 0))
          << QStringLiteral("Aberração esférica Z(4,0): %1 µm").arg(Num(r.ordem >= 4 ? r.Coef(4, 0) : kNaN))
          << QStringLiteral("Coma: %1 µm a %2°").arg(Num(r.ordem >= 3 ? r.Coma() : kNaN), Num(r.EixoComa(), 0))
          << QStringLiteral("Razão de Strehl: %1").arg(Num(psf.strehl));
        for (int j = 1; j < int(r.coef.size()); ++j) {
            int n, m;
            Zernike::OrdemFrequencia(j, n, m);
            l << QStringLiteral("Z(%1,%2) %3: %4 µm").arg(n).arg(m).arg(Zernike::Nome(j), Num(r.coef[j], 4));
        }
    }
    for (const QString& n : r.notas)
        l << QStringLiteral("Nota: ") + n;
    return l;
}

} // namespace Aberrometria
