// Accuracy of the simulated instrument against test surfaces of known shape: spheres,
// torics and conics are captured and processed through the capture and processing modules
// (calibrated first with the four reference spheres), and the simulated keratometry within
// 1.5 mm (a 3 mm zone) and every measured point's axial power are compared with the
// surface's own values.
//
//   bench_precisao [--rapido] [--aneis] [--semente N]
//
// --aneis adds, under each surface, the mean error and 2 x SD of the points of each ring.
//
// The last line is for machines:
//   precisao: esfera_simk_max_D=<x> esfera_2sd_D=<y> torico_cil_max_D=<z>
//             torico_eixo_max_graus=<w> processamento_ms=<t> conica_simk_max_D=<c>

#include "calibration/UCoeficientesCalib.h"
#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "plugins/instrumento/UCasosModelo.h"
#include "topography/UBFuncoesMapas.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

using namespace zrmod;

namespace {

constexpr double Fator = 0.02;
constexpr double RaioZona = 1.5;

struct Exame {
    double centroX = 0, centroY = 0, indice = 0;
    TMatrizAngAnel m{};
    TAneisMeridiano aneis{};
    TMatrizAngAnel d{};
    TDadosPupila pupila{};
};

struct Resultado {
    QString tipo, nome;
    double simkErro = 0;   // largest of |K1 - truth|, |K2 - truth|
    double cilErro = 0;    // |(K1 - K2) - true cylinder|
    double k1Sinal = 0, cilSinal = 0; // K1 - truth and (K1 - K2) - true cylinder, signed
    double eixoErro = 0;   // steep axis from the 2t harmonic of the meridians' means
    double eixoParErro = 0; // steep axis of the keratometry's steepest pair
    double media = 0, dp2 = 0; // per point: mean error, 2 x standard deviation
    int pontos = 0;
    double porAnel[ZR_COLUNAS_ANEL][3] = {}; // per ring: sum, sum of squares, count of point errors
    double msCaptura = 0, msProcessamento = 0;
};

double DifEixo(double a, double b)
{
    double e = std::fmod(std::abs(a - b), 180.0);
    return std::min(e, 180.0 - e);
}

TDadosCeratometria Ceratometria(TMatrizAngAnel& d, const TMatrizAngAnel& m, const TAneisMeridiano& n)
{
    TBFuncoesMapas f(d, m, n, Fator);
    f.CalculaMapa(TBFuncoesMapas::MapaAxial);
    TDadosCeratometria k;
    f.Ceratometria(k, RaioZona);
    return k;
}

class Bancada {
public:
    bool Prepara()
    {
        m_calib = m_pasta.path() + QStringLiteral("/Calibração/");
        QDir().mkpath(m_calib);
        m_calibTexto = ParaCp1252(m_calib);
        m_paths.Calibracao = m_calibTexto.constData();
        m_infos.FatorCorrecao = Fator;
        m_infos.NumAneis = 16;
        qputenv("ZR_MODULOS_AUTOMATICO", "1");
        const QString pasta = QStringLiteral(ZR_PASTA_MODULOS_COMPILADOS);
        if (!LoadCapturaDLL(pasta + QStringLiteral("/Digitalizacao.so")) ||
            !LoadProcDLL(pasta + QStringLiteral("/Processamento.so"))) {
            std::fprintf(stderr, "módulos não carregados de %s\n", qUtf8Printable(pasta));
            return false;
        }
        const char* raios[4] = {"7,73", "8,05", "8,34", "8,91"};
        for (int s = 0; s < 4; ++s) {
            BufferMemoria central, lateral, saida;
            const QByteArray legenda = ParaCp1252(QStringLiteral("Digitalizando Esfera (%1)").arg(QLatin1String(raios[s])));
            CapturaDLL.Digitalizar(nullptr, central.Stream(), lateral.Stream(), 2, &m_infos, legenda.constData());
            if (ProcDLL.ProcessaEsfera(nullptr, central.Stream(), raios[s], saida.Stream(), &m_infos) != 1)
                return false;
            GravaArquivoBytes(m_calib + QStringLiteral("%1.txt").arg(s + 1), saida.Bytes());
        }
        return GravaCoeficientes(m_calib, 16);
    }

    ~Bancada()
    {
        FreeProcDLL();
        FreeCapturaDLL();
    }

    Resultado Mede(const QString& tipo, const QString& texto)
    {
        Resultado r;
        r.tipo = tipo;
        r.nome = texto;
        Instrumento::CasoModelo caso;
        Instrumento::CasoPorNome(texto, caso, 1);
        qputenv("ZR_SIMULADOR_CASO", texto.toUtf8());
        qputenv("ZR_SIMULADOR_SEMENTE", QByteArray::number(++semente));
        BufferMemoria central, lateral;
        QElapsedTimer t;
        t.start();
        CapturaDLL.Digitalizar(nullptr, central.Stream(), lateral.Stream(), 1, &m_infos, "Digitalizando Imagem do Olho");
        r.msCaptura = t.nsecsElapsed() / 1e6;
        auto e = std::make_unique<Exame>();
        t.start();
        const int32_t res = ProcDLL.ProcessaImagem(nullptr, central.Stream(), &e->centroX, &e->centroY, &e->m, &e->aneis,
                                                   &e->d, &e->pupila, &e->indice, &m_infos, &m_paths);
        r.msProcessamento = t.nsecsElapsed() / 1e6;
        if (res != 1) {
            r.pontos = -1;
            return r;
        }

        // The truth at every measured point: the surface's axial power where the point lies
        // (the map centre measured from the true apex, then along the meridian).
        auto verdade = std::make_unique<Exame>(*e);
        double soma = 0, quad = 0;
        for (int k = 0; k < 360; ++k) {
            const double t = (k + 1) * M_PI / 180.0;
            for (int j = 1; j <= e->aneis[k]; ++j) {
                const double x = e->centroX + e->m[k][j] * std::cos(t) - caso.captura.centroX;
                const double y = e->centroY + e->m[k][j] * std::sin(t) - caso.captura.centroY;
                const double p = caso.cornea.PotenciaAxial(x * Fator, -y * Fator);
                verdade->d[k][j] = p;
                const double erro = e->d[k][j] - p;
                soma += erro;
                quad += erro * erro;
                ++r.pontos;
                r.porAnel[j][0] += erro;
                r.porAnel[j][1] += erro * erro;
                r.porAnel[j][2] += 1.0;
            }
            verdade->d[k][0] = verdade->d[k][1];
        }
        r.media = soma / r.pontos;
        r.dp2 = 2.0 * std::sqrt(std::max(0.0, quad / r.pontos - r.media * r.media));

        const TDadosCeratometria k = Ceratometria(e->d, e->m, e->aneis);
        double k1 = caso.cornea.KCurvo(), k2 = caso.cornea.KPlano();
        if (tipo == QLatin1String("conica")) {
            const TDadosCeratometria kv = Ceratometria(verdade->d, verdade->m, verdade->aneis);
            k1 = kv.K1;
            k2 = kv.K2;
        }
        r.simkErro = std::max(std::abs(k.K1 - k1), std::abs(k.K2 - k2));
        r.cilErro = std::abs(k.DifK - (k1 - k2));
    r.k1Sinal = k.K1 - k1;
    r.cilSinal = k.DifK - (k1 - k2);
        if (tipo == QLatin1String("torica")) {
            // The harmonic of twice the meridian angle through the meridians' means within
            // the zone: its phase is the steep meridian.
            double a = 0, b = 0;
            for (int kk = 0; kk < 360; ++kk) {
                double s = 0;
                int n = 0;
                for (int j = 1; j <= e->aneis[kk] && e->m[kk][j] * Fator <= RaioZona; ++j, ++n)
                    s += e->d[kk][j];
                if (n == 0)
                    continue;
                a += s / n * std::cos(2.0 * (kk + 1) * M_PI / 180.0);
                b += s / n * std::sin(2.0 * (kk + 1) * M_PI / 180.0);
            }
            const double eixo = std::fmod(180.0 - std::atan2(b, a) / 2.0 * 180.0 / M_PI + 360.0, 180.0);
            r.eixoErro = DifEixo(eixo, caso.cornea.eixoCurvo);
            r.eixoParErro = DifEixo(k.Eixo1, caso.cornea.eixoCurvo);
        }
        return r;
    }

private:
    QTemporaryDir m_pasta;
    QString m_calib;
    QByteArray m_calibTexto;
    TInfosZR m_infos{};
    TPathsZR m_paths{};
public:
    uint32_t semente = 100;
};

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const bool rapido = app.arguments().contains(QStringLiteral("--rapido"));
    const bool porAnel = app.arguments().contains(QStringLiteral("--aneis"));
    Bancada bancada;
    // --semente N: another run of sensor noise on the same surfaces.
    const int iSemente = app.arguments().indexOf(QStringLiteral("--semente"));
    if (iSemente > 0 && iSemente + 1 < app.arguments().size())
        bancada.semente = app.arguments().at(iSemente + 1).toUInt();
    if (!bancada.Prepara()) {
        std::fprintf(stderr, "a calibração falhou\n");
        return 1;
    }
    // Surfaces the calibration never saw: spheres every 0.1 mm from 6.8 to 9.2 mm, torics of
    // 1 to 6 D on five axes, conics from prolate to oblate.
    std::vector<std::pair<QString, QString>> casos;
    std::vector<double> raios;
    if (rapido)
        raios = {6.8, 7.8, 9.2};
    else
        for (int i = 68; i <= 92; ++i)
            raios.push_back(i / 10.0);
    for (double r : raios)
        casos.emplace_back(QStringLiteral("esfera"), QStringLiteral("esfera %1").arg(r));
    const double plano = 7.9;
    for (double cil : rapido ? std::vector<double>{1, 6} : std::vector<double>{1, 2, 3, 4, 6})
        for (int eixo : rapido ? std::vector<int>{30, 90} : std::vector<int>{0, 30, 45, 90, 135}) {
            const double curvo = 337.5 / (337.5 / plano + cil);
            casos.emplace_back(QStringLiteral("torica"), QStringLiteral("torica %1 %2 %3").arg(plano).arg(curvo, 0, 'f', 6).arg(eixo));
        }
    std::vector<double> qs;
    if (rapido)
        qs = {-0.6, 0.0, 0.3};
    else
        for (int i = -6; i <= 3; ++i)
            qs.push_back(i / 10.0);
    for (double q : qs)
        casos.emplace_back(QStringLiteral("conica"), QStringLiteral("conica 7.8 %1").arg(q));

    std::vector<Resultado> resultados;
    std::printf("%-8s %-34s %7s %8s %8s %8s %7s %7s %7s %8s %8s %8s %8s\n", "tipo", "superfície", "pontos", "média_D",
                "2dp_D", "SimK_D", "cil_D", "eixo°", "par°", "capt_ms", "proc_ms", "K1±_D", "cil±_D");
    for (const auto& [tipo, texto] : casos) {
        const Resultado r = bancada.Mede(tipo, texto);
        resultados.push_back(r);
        if (r.pontos < 0) {
            std::printf("%-8s %-34s falhou\n", qUtf8Printable(tipo), qUtf8Printable(texto));
            continue;
        }
        std::printf("%-8s %-34s %7d %8.4f %8.4f %8.4f %7.4f %7.2f %7.1f %8.1f %8.1f %8.4f %8.4f\n", qUtf8Printable(tipo),
                    qUtf8Printable(texto), r.pontos, r.media, r.dp2, r.simkErro, r.cilErro, r.eixoErro, r.eixoParErro,
                    r.msCaptura, r.msProcessamento, r.k1Sinal, r.cilSinal);
        if (porAnel) {
            // Mean error and 2 x standard deviation of each ring's points.
            std::printf("  anéis:");
            for (int j = 1; j < ZR_COLUNAS_ANEL && r.porAnel[j][2] > 0; ++j) {
                const double n = r.porAnel[j][2], m = r.porAnel[j][0] / n;
                std::printf(" %d:%+.3f/%.3f", j, m, 2.0 * std::sqrt(std::max(0.0, r.porAnel[j][1] / n - m * m)));
            }
            std::printf("\n");
        }
        std::fflush(stdout);
    }

    std::printf("\n%-8s %8s %9s %11s %10s %11s %11s\n", "tipo", "média_D", "2dp_D", "SimK_max_D", "cil_max_D", "eixo_max°", "par_max°");
    double esferaSimk = 0, esfera2dp = 0, toricoCil = 0, toricoEixo = 0, conicaSimk = 0;
    std::vector<double> tempos, capturas;
    bool falhou = false;
    for (const QString& tipo : {QStringLiteral("esfera"), QStringLiteral("torica"), QStringLiteral("conica")}) {
        double soma = 0, dp2 = 0, simk = 0, cil = 0, eixo = 0, par = 0;
        int n = 0;
        for (const Resultado& r : resultados) {
            if (r.tipo != tipo)
                continue;
            if (r.pontos < 0) {
                falhou = true;
                continue;
            }
            soma += r.media;
            dp2 = std::max(dp2, r.dp2);
            simk = std::max(simk, r.simkErro);
            cil = std::max(cil, r.cilErro);
            eixo = std::max(eixo, r.eixoErro);
            par = std::max(par, r.eixoParErro);
            tempos.push_back(r.msProcessamento);
            capturas.push_back(r.msCaptura);
            ++n;
        }
        std::printf("%-8s %8.4f %9.4f %11.4f %10.4f %11.2f %11.1f\n", qUtf8Printable(tipo), n ? soma / n : 0.0, dp2, simk, cil,
                    eixo, par);
        if (tipo == QLatin1String("esfera")) {
            esferaSimk = simk;
            esfera2dp = dp2;
        } else if (tipo == QLatin1String("torica")) {
            toricoCil = cil;
            toricoEixo = eixo;
        } else {
            conicaSimk = simk;
        }
    }
    std::printf("\ncaptura (renderização) mediana %.1f ms; processamento mediano %.1f ms\n", Mediana(capturas), Mediana(tempos));
    std::printf("eixo: fase do harmônico 2θ das médias por meridiano na zona; par: meridiano mais curvo da ceratometria simulada\n");
    std::printf("precisao: esfera_simk_max_D=%.4f esfera_2sd_D=%.4f torico_cil_max_D=%.4f torico_eixo_max_graus=%.2f processamento_ms=%.1f conica_simk_max_D=%.4f\n",
                esferaSimk, esfera2dp, toricoCil, toricoEixo, Mediana(tempos), conicaSimk);
    return falhou ? 1 : 0;
}
