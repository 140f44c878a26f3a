#include "plugins/mapasmulti/UModuloMultiMapa.h"

#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "modules/UBufferMemoria.h"
#include "platform/UMensagensQt.h"
#include "plugins/mapas/UEntradaModulo.h"
#include "plugins/mapasmulti/UProgressao.h"
#include "topography/UIndicesCeratocone.h"

#include <QApplication>
#include <QDir>

#include <algorithm>
#include <cmath>
#include <memory>

namespace MultiMapa {

using EntradaModulo::Automatico;
using EntradaModulo::Relata;
using EntradaModulo::RelataExcecao;

namespace {

QString Num(double v, int casas = 2) { return QString::number(v, 'f', casas); }
QString Sinal(double v, int casas = 2) { return (v >= 0 ? QStringLiteral("+") : QString()) + Num(v, casas); }

bool Direito(const ExameMulti& e) { return e.cabecalho.value(3) != QLatin1String("Olho Esquerdo"); }

QDateTime Quando(const ExameMulti& e)
{
    QDate d = QDate::fromString(e.cabecalho.value(4), QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid())
        d = QDate::fromString(e.cabecalho.value(4), QStringLiteral("dd/MM/yy"));
    return QDateTime(d, QTime::fromString(e.cabecalho.value(5), QStringLiteral("HH:mm:ss")));
}

QString Rotulo(const ExameMulti& e)
{
    const QString olho = e.cabecalho.value(3);
    QString r;
    if (olho == QLatin1String("Olho Direito"))
        r = QStringLiteral("OD");
    else if (olho == QLatin1String("Olho Esquerdo"))
        r = QStringLiteral("OS");
    else
        r = e.cabecalho.value(0, QStringLiteral("Exame"));
    const QString data = (e.cabecalho.value(4) + u' ' + e.cabecalho.value(5)).trimmed();
    return data.isEmpty() ? r : r + u' ' + data;
}

QStringList CabecalhoCurto(const ExameMulti& e)
{
    QStringList r;
    if (!e.cabecalho.value(0).isEmpty())
        r << e.cabecalho.value(0);
    if (!e.cabecalho.value(6).isEmpty())
        r << e.cabecalho.value(6);
    if (!e.cabecalho.value(7).isEmpty())
        r << QStringLiteral("Índice de confiança: ") + e.cabecalho.value(7);
    return r;
}

// The follow-up of the examinations when they are two or more of one eye.
std::optional<AnaliseProgressao> Progressao(const QList<ExameMulti>& exames, double fator,
                                            double confiancaMinima)
{
    if (exames.size() < 2)
        return std::nullopt;
    QList<ExameProgressao> serie;
    for (const ExameMulti& e : exames) {
        if (Direito(e) != Direito(exames.first()) || !e.posicoes || !e.aneis || !e.dioptrias)
            return std::nullopt;
        ExameProgressao p;
        p.data = Quando(e).date();
        p.rotulo = Rotulo(e);
        bool ok = false;
        const double conf = e.cabecalho.value(7).toDouble(&ok);
        if (ok)
            p.confianca = conf;
        const TIndicesCeratocone ind = CalculaIndicesCeratocone(*e.posicoes, *e.aneis, *e.dioptrias, fator);
        auto poe = [&](SerieProgressao s, bool valido, double v) {
            if (valido)
                p.valor[int(s)] = v;
        };
        poe(SerieProgressao::K1, ind.temCeratometria, ind.ceratometria.K1);
        poe(SerieProgressao::K2, ind.temCeratometria, ind.ceratometria.K2);
        poe(SerieProgressao::Kmax, ind.kMax.valido, ind.kMax.valor);
        poe(SerieProgressao::IS, ind.is.valido, ind.is.valor);
        poe(SerieProgressao::Kisa, ind.kisa.valido, ind.kisa.valor);
        serie << p;
    }
    return AnalisaProgressao(serie, confiancaMinima);
}

// The maps of one examination, made when first needed.
struct Mapas {
    const ExameMulti* e;
    double fator;
    std::unique_ptr<MapaCurvatura> axial, tangencial;
    const MapaCurvatura& Curvatura(Vista v)
    {
        auto& m = v == Vista::Tangencial ? tangencial : axial;
        if (!m)
            m = std::make_unique<MapaCurvatura>(v == Vista::Tangencial ? MapaCurvatura::Tangencial
                                                                       : MapaCurvatura::Axial,
                                                e->posicoes, e->aneis, e->dioptrias, fator);
        return *m;
    }
    GradeValores Grade(Vista v)
    {
        if (v == Vista::Elevacao) {
            if (!e->posicoes || !e->dioptrias || !e->aneis)
                return {};
            return Elevacao(*e->posicoes, *e->dioptrias, *e->aneis, fator);
        }
        if (v == Vista::Refrativa) {
            if (!e->posicoes || !e->dioptrias || !e->aneis)
                return {};
            return Refrativa(Curvatura(Vista::Axial), *e->posicoes, *e->dioptrias, *e->aneis, fator);
        }
        return GradeValores::DeMapa(Curvatura(v));
    }
    QStringList Avisos() { return Curvatura(Vista::Axial).Avisos(); }
};

QString TextoSimK(const MapaCurvatura& axial)
{
    if (!axial.TemCeratometria())
        return QStringLiteral("SimK: não calculada");
    const TDadosCeratometria& k = axial.Ceratometria();
    return QStringLiteral("SimK: K1 %1 D a %2°, K2 %3 D a %4°, Cil %5 D")
        .arg(Num(k.K1)).arg(k.Eixo1).arg(Num(k.K2)).arg(k.Eixo2).arg(Num(k.DifK));
}

QString TextoKmax(const std::optional<Ponto>& p)
{
    if (!p)
        return QStringLiteral("Kmax: não calculado");
    return QStringLiteral("Kmax: %1 D a %2 mm, %3°").arg(Num(p->valor), Num(p->raio)).arg(p->angulo);
}

QString TextoZona(const std::optional<ZonaTratamento>& z)
{
    if (!z)
        return QStringLiteral("Zona de tratamento: não encontrada");
    return QStringLiteral("Zona de tratamento: %1 mm, descentração %2 mm a %3°%4")
        .arg(Num(z->diametro), Num(z->descentracao))
        .arg(z->angulo)
        .arg(z->descentracao <= 0.5 ? QStringLiteral(" (centrada)") : QString());
}

bool Curva(Vista v) { return v == Vista::Axial || v == Vista::Tangencial || v == Vista::Refrativa; }

// The scales: one for every panel of the same unit; index per panel.
void Escalas(Conjunto& c, bool absoluta, const QList<int>& diferencas)
{
    double mn[3] = {NAN, NAN, NAN}, mx[3] = {NAN, NAN, NAN};
    auto grupo = [&](int i) {
        if (diferencas.contains(i))
            return 2;
        return c.paineis[i].unidade == QLatin1String("µm") ? 1 : 0;
    };
    for (int i = 0; i < c.paineis.size(); ++i) {
        const GradeValores& g = c.paineis[i].grade;
        if (!g.TemDados())
            continue;
        const int k = grupo(i);
        // Elevation and differences over the central 8 mm: the edge of the data is the least
        // reliable and would stretch the scale.
        double a = g.Minimo(), b = g.Maximo();
        if (k != 0)
            g.Extremos(4.0, a, b);
        if (!std::isfinite(a))
            continue;
        mn[k] = std::isfinite(mn[k]) ? std::min(mn[k], a) : a;
        mx[k] = std::isfinite(mx[k]) ? std::max(mx[k], b) : b;
    }
    int indice[3] = {-1, -1, -1};
    for (int i = 0; i < c.paineis.size(); ++i) {
        const int k = grupo(i);
        if (indice[k] < 0) {
            indice[k] = int(c.escalas.size());
            if (k == 0) {
                c.escalas << (absoluta || !std::isfinite(mn[0]) ? EscalaCores::Absoluta()
                                                                : EscalaCores::Normalizada(mn[0], mx[0], 0));
            } else {
                // Elevation and differences: centred on 0.
                double m = std::isfinite(mn[k]) ? std::max(std::abs(mn[k]), std::abs(mx[k])) : 1.0;
                m = std::max(m, k == 1 ? 5.0 : 0.5);
                c.escalas << EscalaCores::Normalizada(-m, m, 0);
            }
            c.textoEscalas << TextoEscala(c.escalas.last(), c.paineis[i].unidade);
        }
        c.paineis[i].escala = indice[k];
    }
    if (c.escalas.isEmpty()) {
        c.escalas << EscalaCores::Absoluta();
        c.textoEscalas << TextoEscala(c.escalas.last(), QStringLiteral("D"));
    }
}

Painel PainelCurvatura(Mapas& m, Vista v, bool comK)
{
    Painel p;
    p.titulo = Rotulo(*m.e) + QStringLiteral(" - ") + NomeVista(v);
    p.cabecalho = CabecalhoCurto(*m.e);
    p.grade = m.Grade(v);
    p.unidade = v == Vista::Elevacao ? QStringLiteral("µm") : QStringLiteral("D");
    if (comK && Curva(v)) {
        p.marca = Maximo(p.grade);
        p.informacoes << TextoSimK(m.Curvatura(Vista::Axial)) << TextoKmax(p.marca);
    }
    if (v == Vista::Elevacao)
        p.informacoes << QStringLiteral("Elevação em relação à esfera de melhor ajuste (4 mm)");
    return p;
}

} // namespace

Conjunto MontaConjunto(Modulo mod, const QList<ExameMulti>& exames, const Opcoes& o, double fator)
{
    Conjunto c;
    std::vector<Mapas> mapas;
    for (const ExameMulti& e : exames)
        mapas.push_back(Mapas{&e, fator, nullptr, nullptr});
    QList<int> ordem;
    for (int i = 0; i < exames.size(); ++i)
        ordem << i;
    auto porData = [&] {
        std::stable_sort(ordem.begin(), ordem.end(),
                         [&](int a, int b) { return Quando(exames[a]) < Quando(exames[b]); });
    };
    QList<int> diferencas;
    const int n = int(exames.size());
    switch (mod) {
    case Modulo::MultiMapas:
        if (n == 1) {
            for (Vista v : {Vista::Axial, Vista::Tangencial, Vista::Elevacao, Vista::Refrativa})
                c.paineis << PainelCurvatura(mapas[0], v, v == Vista::Axial || v == Vista::Tangencial);
        } else if (n == 2) {
            for (int i = 0; i < 2; ++i)
                for (Vista v : {o.vista, o.vista2})
                    c.paineis << PainelCurvatura(mapas[size_t(i)], v, true);
        } else {
            porData();
            for (int i : ordem)
                c.paineis << PainelCurvatura(mapas[size_t(i)], o.vista, true);
        }
        break;
    case Modulo::Duplo: {
        // OD on the left, as the clinician faces the patient.
        std::stable_sort(ordem.begin(), ordem.end(),
                         [&](int a, int b) { return Direito(exames[a]) && !Direito(exames[b]); });
        std::optional<TDadosCeratometria> k[2];
        for (int j = 0; j < n; ++j) {
            Mapas& m = mapas[size_t(ordem[j])];
            Painel p = PainelCurvatura(m, o.vista, true);
            p.olhoNasal = Direito(*m.e) ? 1 : -1;
            c.paineis << p;
            if (j < 2 && m.Curvatura(Vista::Axial).TemCeratometria())
                k[j] = m.Curvatura(Vista::Axial).Ceratometria();
        }
        if (n == 2 && k[0] && k[1]) {
            c.linhas << QStringLiteral("Diferença entre os olhos (OD - OS): K1 %1 D, K2 %2 D, Cil %3 D")
                            .arg(Sinal(k[0]->K1 - k[1]->K1), Sinal(k[0]->K2 - k[1]->K2),
                                 Sinal(k[0]->DifK - k[1]->DifK));
        }
        const auto km0 = n > 0 ? c.paineis[0].marca : std::nullopt;
        const auto km1 = n > 1 ? c.paineis[1].marca : std::nullopt;
        if (km0 && km1)
            c.linhas << QStringLiteral("Diferença de Kmax (OD - OS): %1 D").arg(Sinal(km0->valor - km1->valor));
        break;
    }
    case Modulo::Diferencial: {
        porData();
        const Vista v = o.vista == Vista::Tangencial ? Vista::Tangencial : Vista::Axial;
        for (int i : ordem.mid(0, 2))
            c.paineis << PainelCurvatura(mapas[size_t(i)], v, true);
        if (c.paineis.size() == 2) {
            c.paineis[0].titulo = QStringLiteral("A: ") + c.paineis[0].titulo;
            c.paineis[1].titulo = QStringLiteral("B: ") + c.paineis[1].titulo;
            Painel d;
            d.titulo = QStringLiteral("Diferença B - A - ") + NomeVista(v);
            d.grade = GradeValores::Diferenca(c.paineis[1].grade, c.paineis[0].grade);
            d.informacoes << QStringLiteral("Azul: aplanamento; vermelho: encurvamento");
            // The centre's change as the mean over the central 2 mm: a single point there lies
            // inside the first ring and carries its noise.
            const double centro = d.grade.Media(1.0);
            c.linhas << QStringLiteral("Diferença no centro: %1 D")
                            .arg(std::isfinite(centro) ? Sinal(centro) : QStringLiteral("—"));
            if (d.grade.TemDados())
                c.linhas << QStringLiteral("Maior diferença: %1 D")
                                .arg(Num(std::max(std::abs(d.grade.Minimo()), std::abs(d.grade.Maximo()))));
            const MapaCurvatura& a = mapas[size_t(ordem[0])].Curvatura(Vista::Axial);
            const MapaCurvatura& b = mapas[size_t(ordem[1])].Curvatura(Vista::Axial);
            if (a.TemCeratometria() && b.TemCeratometria()) {
                const auto& ka = a.Ceratometria();
                const auto& kb = b.Ceratometria();
                c.linhas << QStringLiteral("Variação da SimK (B - A): K1 %1 D, K2 %2 D, Cil %3 D, eixo %4° para %5°")
                                .arg(Sinal(kb.K1 - ka.K1), Sinal(kb.K2 - ka.K2), Sinal(kb.DifK - ka.DifK))
                                .arg(ka.Eixo1)
                                .arg(kb.Eixo1);
            }
            auto tipo = [&](int i) { return i < o.tipos.size() ? o.tipos[i] : QChar(); };
            const QChar ta = tipo(ordem[0]), tb = tipo(ordem[1]);
            if (o.edicaoOrto && ta == u'T' && tb == u'O') {
                // The treatment zone from the change: the steepened ring around the flattened centre.
                d.zona = ZonaDeTratamento(d.grade);
                c.linhas << TextoZona(d.zona);
            }
            diferencas << 2;
            c.paineis << d;
        }
        break;
    }
    case Modulo::MultiOrto: {
        const Vista v = o.vista == Vista::Axial ? Vista::Axial : Vista::Tangencial;
        for (int i = 0; i < n; ++i) {
            Mapas& m = mapas[size_t(i)];
            Painel p;
            p.titulo = Rotulo(*m.e) + QStringLiteral(" - ") + NomeVista(v);
            p.cabecalho = CabecalhoCurto(*m.e);
            p.grade = m.Grade(v);
            const GradeValores tang = v == Vista::Tangencial ? p.grade : m.Grade(Vista::Tangencial);
            p.zona = ZonaDeTratamento(tang);
            const zrmod::TValoresOrto& t = m.e->orto;
            p.informacoes << QStringLiteral("Sag: %1   Div: %2   Raio: %3")
                                 .arg(TextoValorOrto(m.e->temOrto ? t.Sag : 0, 2),
                                      TextoValorOrto(m.e->temOrto ? t.Div : 0, 2),
                                      TextoValorOrto(m.e->temOrto ? t.Raio : 0, 2));
            p.informacoes << TextoZona(p.zona);
            if (o.diferenca && i > 0 && c.paineis[0].grade.TemDados()) {
                p.titulo = Rotulo(*m.e) + QStringLiteral(" - diferença ao primeiro (") + NomeVista(v) + u')';
                p.grade = GradeValores::Diferenca(p.grade, c.paineis[0].grade);
                diferencas << i;
            }
            c.paineis << p;
        }
        break;
    }
    }
    for (Mapas& m : mapas)
        for (const QString& a : m.Avisos())
            c.avisos << Rotulo(*m.e) + QStringLiteral(": ") + a;
    for (const Painel& p : c.paineis)
        if (!p.grade.TemDados())
            c.avisos << p.titulo + QStringLiteral(": sem dados para desenhar.");
    Escalas(c, o.escalaAbsoluta, diferencas);
    return c;
}

void Info(Modulo m, zrmod::ZrStream* saida)
{
    try {
        QString nome, desc;
        switch (m) {
        case Modulo::MultiMapas:
            nome = QStringLiteral("Multi Mapas");
            desc = QStringLiteral("Até quatro mapas lado a lado: as quatro vistas de um exame, dois exames em duas vistas ou o acompanhamento de 3 ou 4 exames de um olho.");
            break;
        case Modulo::Duplo:
            nome = QStringLiteral("Mapa Duplo");
            desc = QStringLiteral("Olho direito e olho esquerdo lado a lado, na mesma escala, com a diferença entre os olhos.");
            break;
        case Modulo::Diferencial:
            nome = QStringLiteral("Mapa Diferencial");
            desc = QStringLiteral("Dois exames de um olho e a diferença entre eles, em escala própria centrada em zero.");
            break;
        case Modulo::MultiOrto:
            nome = QStringLiteral("Multi Mapas Orto");
            desc = QStringLiteral("Até quatro mapas de ortoceratologia na mesma escala, com Sag, Div, Raio e a zona de tratamento.");
            break;
        }
        GravaLinhasTexto(saida, {nome, QStringLiteral("2"), desc});
    } catch (...) {
        RelataExcecao("InfoMapa");
    }
}

int32_t Wizard(Modulo m, void* janela, zrmod::ZrStream* candidatos, zrmod::ZrStream* selecao,
               zrmod::ZrStream* opcoes, bool edicaoOrto, const zrmod::TInfosZR* infos)
{
    try {
        if (!candidatos || !selecao || !opcoes)
            return 0;
        const QStringList linhas = LeLinhasTexto(candidatos);
        candidatos->seek(candidatos, 0, zrmod::ZR_DO_INICIO);
        const QList<Candidato> of = Oferecidos(m, linhas, edicaoOrto);
        QList<int> escolha;
        Opcoes o;
        o.escalaAbsoluta = !infos || infos->EscalaISO != 0;
        if (Automatico()) {
            const QString sel = qEnvironmentVariable("ZR_MODULOS_SELECAO");
            if (sel.isEmpty()) {
                escolha = EscolhaPadrao(m, of);
            } else {
                // Line numbers of the candidate list as handed over.
                const auto idx = LeSelecao(sel, int(linhas.size()));
                if (!idx)
                    return 0;
                for (int i : *idx) {
                    const auto c = LeCandidato(linhas[i], m == Modulo::Diferencial || m == Modulo::MultiOrto);
                    const auto it = std::find_if(of.begin(), of.end(), [&](const Candidato& x) {
                        return c && x.linha == c->linha && x.tipo == c->tipo;
                    });
                    if (it == of.end())
                        return 0;
                    escolha << int(it - of.begin());
                }
            }
            for (int i : escolha)
                o.tipos += of[i].tipo.isNull() ? QChar(u'T') : of[i].tipo;
        } else {
            if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
                return 0;
            TfrmWizardMulti frm(m, of, static_cast<QWidget*>(janela));
            if (ExecutaComMensagensQt(frm) != QDialog::Accepted)
                return 0;
            escolha = frm.Escolhidos();
            o = frm.OpcoesEscolhidas();
        }
        QList<Candidato> e;
        for (int i : escolha)
            e << of[i];
        if (!ConfereEscolha(m, e).isEmpty())
            return 0;
        o.edicaoOrto = edicaoOrto;
        QStringList sel;
        for (const Candidato& c : e)
            sel << c.linha;
        GravaLinhasTexto(selecao, sel);
        GravaLinhasTexto(opcoes, GravaOpcoes(o));
        return 1;
    } catch (...) {
        RelataExcecao("Wizard");
    }
    return 0;
}

void ProcessaMapas(Modulo m, void* janela, const zrmod::TDadosPac* dados,
                   const TMatrizesAngAnel* posicoes, const TMatrizesAng* aneis,
                   const TMatrizesAngAnel* dioptrias, const TMatPup*, int32_t quantidade,
                   zrmod::ZrStream* opcoes, const zrmod::TBlocoOrto* bloco,
                   const zrmod::TInfosZR* infos)
{
    try {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            Relata("ProcessaMapas", QStringLiteral("sem aplicação gráfica; nada a mostrar"));
            return;
        }
        // Counts that disagree are cut to the smallest; missing arrays count as empty.
        int n = quantidade;
        auto corta = [&](const void* p, int32_t c, bool exigido) {
            if (exigido)
                n = std::min(n, p ? c : 0);
        };
        corta(dados, dados ? dados->count : 0, true);
        corta(posicoes, posicoes ? posicoes->count : 0, true);
        corta(dioptrias, dioptrias ? dioptrias->count : 0, true);
        corta(aneis, aneis ? aneis->count : 0, m != Modulo::MultiOrto);
        n = std::max(n, 0);
        QStringList avisos;
        if (n != quantidade)
            avisos << QStringLiteral("Foram recebidos dados de %1 exame(s) para %2 informado(s).").arg(n).arg(quantidade);
        if (n == 0)
            avisos << QStringLiteral("Nenhum exame recebido.");
        const int maximo = MaximoExames(m);
        if (n > maximo) {
            avisos << QStringLiteral("São mostrados os %1 primeiros dos %2 exames.").arg(maximo).arg(n);
            n = maximo;
        }
        // Without ring counts (the ortho-k call) each meridian counts the rings that carry
        // data: positions growing outward with positive dioptres, from the first column on.
        std::unique_ptr<TAneisMeridiano[]> aneisCheios;
        if (!aneis || m == Modulo::MultiOrto) {
            aneisCheios = std::make_unique<TAneisMeridiano[]>(size_t(std::max(n, 1)));
            for (int i = 0; i < n; ++i)
                for (int k = 0; k < ZR_MERIDIANOS; ++k) {
                    const double* pm = posicoes->items ? posicoes->items[i][k] : nullptr;
                    const double* pd = dioptrias->items ? dioptrias->items[i][k] : nullptr;
                    int j = 0;
                    while (pm && pd && j + 1 <= MapaCurvatura::kMaxAneis && std::isfinite(pm[j + 1]) &&
                           pm[j + 1] > pm[j] && std::isfinite(pd[j + 1]) && pd[j + 1] > 0)
                        ++j;
                    aneisCheios[i][k] = j;
                }
        }
        QList<ExameMulti> exames;
        for (int i = 0; i < n; ++i) {
            ExameMulti e;
            if (dados->items && dados->items[i]) {
                e.cabecalho = LeLinhasTexto(dados->items[i]);
                dados->items[i]->seek(dados->items[i], 0, zrmod::ZR_DO_INICIO);
            }
            e.posicoes = posicoes->items ? &posicoes->items[i] : nullptr;
            e.dioptrias = dioptrias->items ? &dioptrias->items[i] : nullptr;
            e.aneis = !aneisCheios ? (aneis->items ? &aneis->items[i] : nullptr) : &aneisCheios[size_t(i)];
            if (bloco && i < 4) {
                e.temOrto = true;
                e.orto = (*bloco)[i];
            }
            exames << e;
        }
        Opcoes o;
        o.escalaAbsoluta = !infos || infos->EscalaISO != 0;
        if (m == Modulo::MultiOrto)
            o.vista = Vista::Tangencial;
        if (opcoes) {
            o = LeOpcoes(LeLinhasTexto(opcoes));
            opcoes->seek(opcoes, 0, zrmod::ZR_DO_INICIO);
        }
        const double fator = infos && std::isfinite(infos->FatorCorrecao) && infos->FatorCorrecao > 0
                                 ? infos->FatorCorrecao : MapaCurvatura::kFatorPadrao;
        Conjunto c = MontaConjunto(m, exames, o, fator);
        c.avisos = avisos + c.avisos;
        if (m == Modulo::MultiMapas) {
            c.progressao = Progressao(exames, fator, infos ? infos->IndiceConf : 0.0);
            if (c.progressao)
                c.tituloProgressao = QStringLiteral("Progressão - %1 - %2")
                                         .arg(exames.first().cabecalho.value(0),
                                              Direito(exames.first()) ? QStringLiteral("Olho Direito")
                                                                      : QStringLiteral("Olho Esquerdo"));
        }
        std::function<Conjunto(const Opcoes&)> refaz;
        if (m == Modulo::MultiOrto)
            refaz = [&, o](const Opcoes& nova) {
                Opcoes x = o;
                x.vista = nova.vista;
                x.diferenca = nova.diferenca;
                Conjunto r = MontaConjunto(m, exames, x, fator);
                r.avisos = avisos + r.avisos;
                return r;
            };
        const QString nome = NomeModulo(m);
        TfrmMultiMapa frm(nome, std::move(c), static_cast<QWidget*>(janela), refaz);
        if (Automatico()) {
            frm.resize(1366, 768);
            frm.show();
            const QImage conteudo = frm.ImagemConteudo();
            const QString saida = qEnvironmentVariable("ZR_MODULOS_SAIDA");
            if (!saida.isEmpty()) {
                const QDir pasta(saida);
                if (!conteudo.save(pasta.filePath(nome + QStringLiteral(".png")), "PNG") ||
                    !frm.grab().toImage().save(pasta.filePath(nome + QStringLiteral("-janela.png")), "PNG"))
                    Relata("ProcessaMapas", QStringLiteral("não foi possível gravar em %1").arg(saida));
                GravaArquivoTexto(pasta.filePath(nome + QStringLiteral(".txt")), frm.Resumo());
                if (frm.Dados().progressao) {
                    TfrmProgressao prog(*frm.Dados().progressao, frm.Dados().tituloProgressao, &frm);
                    prog.show();
                    if (!prog.ImagemConteudo().save(pasta.filePath(QStringLiteral("Progressao.png")), "PNG"))
                        Relata("ProcessaMapas", QStringLiteral("não foi possível gravar em %1").arg(saida));
                    GravaArquivoTexto(pasta.filePath(QStringLiteral("Progressao.txt")), prog.Resumo());
                    prog.close();
                }
            }
            frm.close();
            return;
        }
        ExecutaComMensagensQt(frm);
    } catch (...) {
        RelataExcecao("ProcessaMapas");
    }
}

} // namespace MultiMapa
