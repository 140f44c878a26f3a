#include "topography/UCalculosLente.h"

#include "common/UFormatos.h"

#include <cmath>

double SagRaioCorda(double corda, double raio)
{
    const double meia = corda / 2.0;
    const double radicando = raio * raio - meia * meia;
    if (!(radicando >= 0.0) || !std::isfinite(radicando))
        throw ErroCalculo(QStringLiteral("A corda de %1 mm é maior que o dobro do raio de %2 mm.")
                              .arg(FormataGeral(corda), FormataGeral(raio)));
    return raio - std::sqrt(radicando);
}

double CalculaDeltaSag(double cordaExterna, double cordaInterna, double raio)
{
    return SagRaioCorda(cordaExterna, raio) - SagRaioCorda(cordaInterna, raio);
}

double RaioLente(double diametro, double sagMicrons)
{
    const double h = sagMicrons / 1000.0;
    if (h == 0.0 || !std::isfinite(h))
        throw ErroCalculo(QStringLiteral("Não é possível calcular o raio de uma lente sem sag."));
    const double meio = diametro / 2.0;
    return (h * h + meio * meio) / (2.0 * h);
}

TSagsLente CalculaDistSagLente(const TDadosLente& d)
{
    TSagsLente r;
    r.SagTopo = SagRaioCorda(d.CordaTopo, d.RaioTopo);
    r.SagLimbo = CalculaDeltaSag(d.CordaLimbo, d.CordaTopo, d.RaioLimbo);
    r.SagEsclera = CalculaDeltaSag(d.CordaEsclera, d.CordaLimbo, d.RaioEsclera);
    r.SagLente = (r.SagTopo + r.SagLimbo + r.SagEsclera) * 1000.0 + d.Vault;
    return r;
}

TSagsLente CalculaDistSagLenteMedido(const TDadosLente& d)
{
    TSagsLente r; // the topography and limbus zones do not take part
    r.SagEsclera = CalculaDeltaSag(d.CordaEsclera, d.CordaIris, d.RaioEsclera);
    r.SagLente = (d.ApiceLimbo + r.SagEsclera) * 1000.0 + d.Vault;
    return r;
}

double CalculaDistSagLenteFST(double sagP1, double cordaP3, double diametroLente, double vault)
{
    return (sagP1 + 0.4 * (diametroLente - cordaP3)) * 1000.0 + vault;
}

int PosicaoBarraSag(double sagMicrons)
{
    if (std::isnan(sagMicrons))
        return 0;
    if (sagMicrons <= 0.0)
        return 0;
    if (sagMicrons >= 10000.0)
        return 10000;
    return int(ArredondaInteiro(sagMicrons));
}
