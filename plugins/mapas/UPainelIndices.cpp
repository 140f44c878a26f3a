#include "plugins/mapas/UPainelIndices.h"

#include "common/UFormatos.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <cmath>

namespace {

struct LinhaPainel {
    const char* nome;    // objectName of the value label
    QString rotulo;
    const TIndice* indice;
    const char* padrao;
    QString unidade;
    QString limites;     // the screening limits, as shown
};

QString Numero(const char* padrao, double v)
{
    return FormataNumero(QString::fromLatin1(padrao), v);
}

QLabel* Texto(const QString& t, QWidget* pai, const QString& nome = QString())
{
    auto* l = new QLabel(t, pai);
    if (!nome.isEmpty())
        l->setObjectName(nome);
    return l;
}

void PintaLeitura(QLabel* l, LeituraIndice leitura)
{
    l->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(CorLeitura(leitura).name()));
}

} // namespace

QColor CorLeitura(LeituraIndice leitura)
{
    switch (leitura) {
    case LeituraIndice::Normal:
        return QColor(0x1a, 0x7f, 0x37);
    case LeituraIndice::Suspeito:
        return QColor(0xc0, 0x70, 0x00);
    case LeituraIndice::Ceratocone:
        return QColor(0xc0, 0x00, 0x00);
    default:
        return QColor(0x60, 0x60, 0x60);
    }
}

QGroupBox* PainelIndices(const TIndicesCeratocone& ind, QWidget* pai)
{
    using namespace LimitesCeratocone;
    auto* gb = new QGroupBox(QStringLiteral("Índices"), pai);
    gb->setObjectName(QStringLiteral("gbIndices"));
    auto* g = new QGridLayout(gb);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(2);
    const QString grau(QChar(0x00B0));
    const LinhaPainel linhas[] = {
        {"lblIndiceKCentral", QStringLiteral("K central"), &ind.kCentral, "0.00", QStringLiteral("D"),
         QStringLiteral("%1 / %2").arg(Numero("0.0", kKCentralSuspeito), Numero("0.0", kKCentralCeratocone))},
        {"lblIndiceKmax", QStringLiteral("Kmax"), &ind.kMax, "0.00", QStringLiteral("D"), QString()},
        {"lblIndiceIS", QStringLiteral("I-S"), &ind.is, "0.00", QStringLiteral("D"),
         QStringLiteral("%1 / %2").arg(Numero("0.0", kISSuspeito), Numero("0.0", kISCeratocone))},
        {"lblIndiceSrax", QStringLiteral("SRAX"), &ind.srax, "0", grau,
         QStringLiteral("%1%2").arg(Numero("0", kSraxSuspeito), grau)},
        {"lblIndiceKisa", QStringLiteral("KISA%"), &ind.kisa, "0.0", QStringLiteral("%"),
         QStringLiteral("%1 / %2").arg(Numero("0", kKisaSuspeito), Numero("0", kKisaCeratocone))},
        {"lblIndiceSai", QStringLiteral("SAI"), &ind.sai, "0.00", QString(), Numero("0.00", kSaiSuspeito)},
        {"lblIndiceSri", QStringLiteral("SRI"), &ind.sri, "0.00", QString(), Numero("0.00", kSriSuspeito)},
        {"lblIndiceQPlano", QStringLiteral("Q plano"), &ind.qPlano, "0.00", QString(), QString()},
        {"lblIndiceQCurvo", QStringLiteral("Q curvo"), &ind.qCurvo, "0.00", QString(), QString()},
    };
    g->addWidget(Texto(QStringLiteral("Limites"), gb), 0, 2);
    int linha = 1;
    for (const LinhaPainel& l : linhas) {
        const TIndice& i = *l.indice;
        g->addWidget(Texto(l.rotulo, gb), linha, 0);
        QString valor = i.valido ? Numero(l.padrao, i.valor) : QStringLiteral("—");
        if (i.valido && !l.unidade.isEmpty())
            valor += (l.unidade == grau ? QString() : QStringLiteral(" ")) + l.unidade;
        auto* v = Texto(valor, gb, QString::fromLatin1(l.nome));
        if (!i.valido)
            v->setToolTip(i.motivo);
        g->addWidget(v, linha, 1);
        g->addWidget(Texto(l.limites, gb), linha, 2);
        auto* leitura = Texto(TextoLeitura(i.leitura), gb, QString::fromLatin1(l.nome) + QStringLiteral("Leitura"));
        PintaLeitura(leitura, i.leitura);
        g->addWidget(leitura, linha, 3);
        ++linha;
    }
    if (ind.kMax.valido) {
        auto* pos = Texto(QStringLiteral("Kmax a %1 mm, %2%3").arg(Numero("0.00", ind.kMaxRaio))
                              .arg(int(std::lround(ind.kMaxAngulo)) % 360).arg(grau),
                          gb, QStringLiteral("lblIndiceKmaxPosicao"));
        g->addWidget(pos, linha++, 0, 1, 4);
    }
    QStringList faltam;
    for (const LinhaPainel& l : linhas)
        if (!l.indice->valido)
            faltam << QStringLiteral("%1: %2").arg(l.rotulo, l.indice->motivo);
    if (!faltam.isEmpty()) {
        auto* m = Texto(faltam.join(u'\n'), gb, QStringLiteral("lblIndicesMotivos"));
        m->setWordWrap(true);
        m->setStyleSheet(QStringLiteral("color: #606060;"));
        g->addWidget(m, linha++, 0, 1, 4);
    }
    const QString geral = ind.leitura == LeituraIndice::Nenhuma ? QStringLiteral("—") : TextoLeitura(ind.leitura);
    auto* r = Texto(QStringLiteral("Leitura: %1").arg(geral), gb, QStringLiteral("lblIndicesLeitura"));
    PintaLeitura(r, ind.leitura);
    g->addWidget(r, linha, 0, 1, 4);
    return gb;
}
