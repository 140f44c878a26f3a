#include "plugins/instrumento/UCasosModelo.h"

#include "common/UFormatos.h"
#include "plugins/instrumento/UCalibracaoAneis.h"

#include <QRegularExpression>
#include <cmath>

namespace Instrumento {

namespace {

// Small, repeatable variations between the examples of one class.
double Variacao(int indice, double a, double b)
{
    static const double t[6] = {0.0, 0.6, 0.25, 0.9, 0.4, 0.75};
    return a + (b - a) * t[(indice - 1) % 6];
}

ModeloCornea ExemploCentral(int i)
{
    ModeloCornea m = ModeloCornea::Torica(Variacao(i, 7.55, 7.85), Variacao(i, 7.35, 7.65), Variacao(i, 70, 110));
    m.q = -0.2;
    m.ectasias.push_back({Variacao(i, 0.020, 0.036), Variacao(i, -0.2, 0.3), Variacao(i, -0.5, -0.1), Variacao(i, 1.0, 1.3)});
    return m;
}

ModeloCornea ExemploPeriferico(int i)
{
    ModeloCornea m = ModeloCornea::Torica(Variacao(i, 7.7, 8.0), Variacao(i, 7.55, 7.8), Variacao(i, 60, 120));
    m.q = -0.25;
    m.ectasias.push_back({Variacao(i, 0.055, 0.085), Variacao(i, -1.2, -0.5), Variacao(i, -2.3, -1.9), Variacao(i, 0.95, 1.2)});
    return m;
}

ModeloCornea ExemploRegular(int i)
{
    const double plano = Variacao(i, 7.75, 8.05);
    const double cilindro = Variacao(i, 1.5, 4.0);
    const double curvo = 337.5 / (337.5 / plano + cilindro);
    static const double eixos[6] = {90, 180, 75, 15, 100, 165};
    ModeloCornea m = ModeloCornea::Torica(plano, curvo, eixos[(i - 1) % 6]);
    m.q = -0.2;
    return m;
}

// Irregular astigmatism: a toric cornea with a coma-like term, one side steeper than the
// other. No trefoil-like term here: its axial power changes steeply across the line through
// the apex where the term has no radial slope, which drew a straight seam through the map.
ModeloCornea ExemploIrregular(int i)
{
    ModeloCornea m = ModeloCornea::Torica(Variacao(i, 7.7, 7.95), Variacao(i, 7.45, 7.7), Variacao(i, 20, 160));
    m.q = -0.15;
    m.coma = Variacao(i, 0.0009, 0.0016);
    m.eixoComa = Variacao(i, 200, 300);
    return m;
}

ModeloCornea ExemploNormal(int i)
{
    ModeloCornea m = ModeloCornea::Torica(Variacao(i, 7.65, 7.95), Variacao(i, 7.55, 7.85), Variacao(i, 80, 100));
    m.q = Variacao(i, -0.3, -0.15);
    return m;
}

ModeloCornea ExemploOrto(int i)
{
    // After orthokeratology: a flattened centre ringed by a steeper mid-periphery.
    return ModeloCornea::Ortoceratologia(Variacao(i, 7.7, 7.9), -0.1, Variacao(i, 14.0, 22.0),
                                         2.0 * Variacao(i, 1.4, 1.7), 0.0);
}

ParametrosCaptura CapturaExemplo(int semente, int i)
{
    ParametrosCaptura p;
    p.semente = static_cast<uint32_t>(semente);
    p.centroX = 320.0 + Variacao(i, -8.0, 9.0);
    p.centroY = 240.0 + Variacao(i, 6.0, -7.0);
    p.raioPupila = Variacao(i, 1.4, 2.2);
    p.palpebraSuperior = Variacao(i, 3.9, 4.6);
    p.palpebraInferior = Variacao(i, 4.4, 5.0);
    return p;
}

struct Classe {
    const char* prefixo;
    int quantidade;
    ModeloCornea (*modelo)(int);
};

const Classe Classes[] = {
    {"Central", 6, ExemploCentral},   {"Periférico", 6, ExemploPeriferico},
    {"Regular", 6, ExemploRegular},   {"Irregular", 6, ExemploIrregular},
    {"Normal", 6, ExemploNormal},     {"Orto", 4, ExemploOrto},
};

struct Nomeado {
    const char* nome;
    const char* exemplo; // the example it shows
};

const Nomeado Nomeados[] = {
    {"Normal", "Normal01"},
    {"Astigmatismo regular", "Regular03"},
    {"Astigmatismo irregular", "Irregular02"},
    {"Ceratocone central", "Central02"},
    {"Ceratocone periférico", "Periférico04"},
    {"Pós-ortoceratologia", "Orto01"},
};

bool Parametrico(const QString& texto, CasoModelo& caso)
{
    const QStringList partes = texto.simplified().split(QLatin1Char(' '));
    if (partes.isEmpty())
        return false;
    std::vector<double> v;
    for (int i = 1; i < partes.size(); ++i) {
        double x;
        if (!LeNumeroTexto(partes[i], x))
            return false;
        v.push_back(x);
    }
    const QString tipo = partes[0].toLower();
    auto raioValido = [](double r) { return r >= 5.0 && r <= 12.0; };
    if (tipo == QLatin1String("esfera") && v.size() == 1 && raioValido(v[0]))
        caso.cornea = ModeloCornea::Esfera(v[0]);
    else if (tipo == QLatin1String("torica") && v.size() == 3 && raioValido(v[0]) && raioValido(v[1]))
        caso.cornea = ModeloCornea::Torica(v[0], v[1], v[2]);
    else if (tipo == QLatin1String("conica") && v.size() == 2 && raioValido(v[0]) && v[1] > -1.5 && v[1] < 1.0)
        caso.cornea = ModeloCornea::Conica(v[0], v[1]);
    else if (tipo == QLatin1String("orto") && (v.size() == 3 || v.size() == 4) && raioValido(v[0]) && v[1] >= 0.0
             && v[1] <= 100.0 && v[2] >= 1.0 && v[2] <= 8.0 && (v.size() == 3 || std::abs(v[3]) <= 2.0))
        caso.cornea = ModeloCornea::Ortoceratologia(v[0], -0.15, v[1], v[2], v.size() == 4 ? v[3] : 0.0);
    else if (tipo == QLatin1String("ceratocone") && v.size() == 6 && raioValido(v[0]) && v[1] > -1.5 && v[1] < 1.0
             && v[2] > 0.0 && v[2] <= 200.0 && v[3] >= 0.3 && v[3] <= 3.0 && std::abs(v[4]) <= 3.0 && std::abs(v[5]) <= 3.0) {
        caso.cornea = ModeloCornea::Conica(v[0], v[1]);
        caso.cornea.ectasias.push_back({v[2] / 1000.0, v[4], v[5], v[3]});
    } else
        return false;
    caso.nome = texto.simplified();
    caso.descricao = caso.nome;
    return true;
}

} // namespace

QStringList NomesCasos()
{
    QStringList nomes;
    for (const Nomeado& n : Nomeados)
        nomes << QString::fromUtf8(n.nome);
    nomes << NomesExemplos();
    nomes << QStringLiteral("Esfera 7,80 mm");
    return nomes;
}

QString NomeOrtoParametrico()
{
    return QStringLiteral("Ortoceratologia (paramétrica)");
}

QString TextoTratamentoOrto(const TratamentoOrto& t)
{
    return QStringLiteral("orto %1 %2 %3 %4").arg(FormataGeral(t.raio), FormataGeral(t.profundidade),
                                                 FormataGeral(t.zona), FormataGeral(t.descentracao));
}

QStringList NomesExemplos()
{
    QStringList nomes;
    for (const Classe& c : Classes)
        for (int i = 1; i <= c.quantidade; ++i)
            nomes << QString::fromUtf8(c.prefixo) + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return nomes;
}

bool CasoPorNome(const QString& nome, CasoModelo& caso, int olho)
{
    QString alvo = nome.trimmed();
    CasoModelo c;
    for (const Nomeado& n : Nomeados) {
        if (alvo.compare(QString::fromUtf8(n.nome), Qt::CaseInsensitive) == 0) {
            CasoPorNome(QString::fromUtf8(n.exemplo), c, olho);
            c.nome = QString::fromUtf8(n.nome);
            caso = c;
            return true;
        }
    }
    if (alvo.compare(NomeOrtoParametrico(), Qt::CaseInsensitive) == 0)
        alvo = TextoTratamentoOrto(TratamentoOrto());
    static const QRegularExpression esferaRotulo(QStringLiteral("^Esfera ([0-9]+[,.][0-9]+) mm$"));
    const QRegularExpressionMatch rotulo = esferaRotulo.match(alvo);
    if (rotulo.hasMatch())
        alvo = QStringLiteral("esfera ") + rotulo.captured(1);

    bool achou = false;
    int semente = 1;
    for (const Classe& cl : Classes) {
        const QString prefixo = QString::fromUtf8(cl.prefixo);
        for (int i = 1; i <= cl.quantidade; ++i, ++semente) {
            if (alvo.compare(prefixo + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), Qt::CaseInsensitive) != 0)
                continue;
            c.nome = prefixo + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
            c.cornea = cl.modelo(i);
            c.captura = CapturaExemplo(semente, i);
            // The examples 05 and 06 of the eye classes are left eyes.
            c.captura.olhoEsquerdo = prefixo != QLatin1String("Orto") && i >= 5;
            c.descricao = c.nome;
            achou = true;
        }
    }
    if (!achou && !Parametrico(alvo, c))
        return false;
    if (olho == 0)
        c.captura.olhoEsquerdo = true;
    else if (olho == 1)
        c.captura.olhoEsquerdo = false;
    if (c.captura.olhoEsquerdo)
        c.cornea = c.cornea.Espelhada();
    if (!rotulo.hasMatch() && c.nome.isEmpty())
        c.nome = nome;
    if (rotulo.hasMatch())
        c.nome = nome.trimmed();
    caso = c;
    return true;
}

} // namespace Instrumento
