#include "navigator/UMapasNavegador.h"

#include "common/UFormatos.h"

#include <QSet>

namespace Navegador {

namespace {
bool Contem(const QString& modulo, const char* parte) { return modulo.contains(QLatin1String(parte)); }

QString LinhaOlho(const QString& legenda) { return TextoOlho(legenda.left(2)) + legenda.mid(2); }
} // namespace

QString TextoOlho(const QString& olho)
{
    return olho == QStringLiteral("OD") ? QStringLiteral("Olho Direito") : QStringLiteral("Olho Esquerdo");
}

QStringList CabecalhoMapa(const DadosCabecalho& d)
{
    return {d.nomePaciente,
            FormataNumero(QStringLiteral("0000"), d.codPaciente),
            d.rg,
            TextoOlho(d.olho),
            FormataData(d.data),
            FormataHora(d.hora),
            d.medico,
            FormataNumero(QStringLiteral("0000"), d.codExame),
            QString::number(ArredondaInteiro(d.indConf))};
}

QStringList CabecalhoMapas(const DadosCabecalho& d)
{
    return {d.nomePaciente,       QString::number(d.codPaciente), d.rg,     TextoOlho(d.olho),
            FormataData(d.data),  FormataHora(d.hora),            d.medico, FormataGeral(d.indConf)};
}

QStringList CabecalhoExemploMapa(const QString& nomeExemplo)
{
    return {nomeExemplo,
            QStringLiteral("00001"),
            QStringLiteral("xx.xxx.xxx-x"),
            QStringLiteral("Exemplo"),
            QStringLiteral("01/01/01"),
            QStringLiteral("00:00:00"),
            QStringLiteral("Médico Teste"),
            QStringLiteral("9999"),
            QStringLiteral("100")};
}

QStringList CabecalhoExemploMapas(const QString& legendaExemplo, const QString& linhaEscolhida)
{
    // The line ends in " HH:mm:ss"; the 11 characters before it are a space and the date.
    const qsizetype inicio = std::max<qsizetype>(0, linhaEscolhida.size() - 20);
    return {QStringLiteral("Exemplo"),
            QStringLiteral("00"),
            QStringLiteral("00"),
            legendaExemplo.startsWith(QStringLiteral("OD")) ? QStringLiteral("Olho Direito")
                                                            : QStringLiteral("Olho Esquerdo"),
            linhaEscolhida.mid(inicio, 11),
            QStringLiteral("00:00:00"),
            QStringLiteral("Dr. Tremond"),
            QStringLiteral("100")};
}

QString NomeExemplo(const QString& legenda)
{
    return legenda.contains(QStringLiteral("Orto")) ? legenda : legenda.mid(5);
}

EntradaMapa EscolheEntradaMapa(const QString& modulo, bool edicaoOrto, bool exemplos,
                               const QString& tipoExame, const QString& nomeExemplo)
{
    if (Contem(modulo, "LC"))
        return EntradaMapa::Lente;
    if (Contem(modulo, "Aberrometria"))
        return EntradaMapa::Aberrometria;
    if (!exemplos && edicaoOrto && tipoExame == QStringLiteral("O") &&
        (Contem(modulo, "Axial") || Contem(modulo, "Tangencial")))
        return EntradaMapa::ProcessaMapaOrto;
    if (exemplos && edicaoOrto && nomeExemplo.startsWith(QStringLiteral("Orto")))
        return EntradaMapa::ExemploOrto;
    return EntradaMapa::ProcessaMapa;
}

bool ModuloDiferencial(const QString& modulo) { return Contem(modulo, "Diferencial"); }
bool ModuloMultiOrto(const QString& modulo) { return Contem(modulo, "MultiOrto"); }

int MaximoEscolhidos(const QString& modulo)
{
    // The ortho-k block of the module holds four examinations.
    return ModuloMultiOrto(modulo) ? 4 : 0;
}

Candidatos CandidatosWizard(const QString& modulo, const QList<ExameCandidato>& exames)
{
    Candidatos c;
    for (const ExameCandidato& e : exames) {
        const bool orto = e.tipoExame == QStringLiteral("O");
        QString linha;
        if (Contem(modulo, "MultiMapas") || (Contem(modulo, "Duplo") && !orto)) {
            linha = LinhaOlho(e.legenda);
        } else if (ModuloDiferencial(modulo) || ModuloMultiOrto(modulo)) {
            if (orto)
                linha = QStringLiteral("O") + LinhaOlho(e.legenda);
            else if (ModuloDiferencial(modulo) && e.tipoExame == QStringLiteral("T"))
                linha = QStringLiteral("T") + LinhaOlho(e.legenda);
        } else if (!orto && e.tipoExame != QStringLiteral("T")) {
            c.invalidos = true;
        }
        if (linha.isEmpty())
            continue;
        c.linhas << linha;
        if (e.legenda.startsWith(QStringLiteral("OD")))
            ++c.direitos;
        else
            ++c.esquerdos;
    }
    return c;
}

bool MinimoAtendido(const QString& modulo, int direitos, int esquerdos)
{
    if (Contem(modulo, "Duplo"))
        return direitos >= 1 && esquerdos >= 1;
    if (ModuloDiferencial(modulo))
        return direitos >= 2 || esquerdos >= 2;
    if (Contem(modulo, "Multi"))
        return direitos >= 3 || esquerdos >= 3;
    return true;
}

QString LegendaDaLinha(const QString& linha)
{
    static const QString direito = QStringLiteral("Olho Direito - ");
    static const QString esquerdo = QStringLiteral("Olho Esquerdo - ");
    if (linha.startsWith(direito))
        return QStringLiteral("OD - ") + linha.mid(direito.size());
    if (linha.startsWith(esquerdo))
        return QStringLiteral("OS - ") + linha.mid(esquerdo.size());
    return QString();
}

QString SemLetra(const QString& modulo, const QString& linha)
{
    return ModuloDiferencial(modulo) || ModuloMultiOrto(modulo) ? linha.mid(1) : linha;
}

ErroEscolha ConfereEscolhidas(const QStringList& escolhidas, const QStringList& oferecidas,
                              const QString& modulo)
{
    QSet<QString> ofertas;
    for (const QString& o : oferecidas)
        ofertas.insert(SemLetra(modulo, o));
    QSet<QString> vistas;
    for (const QString& e : escolhidas) {
        if (!ofertas.contains(e) || LegendaDaLinha(e).isEmpty())
            return ErroEscolha::Desconhecida;
        if (vistas.contains(e))
            return ErroEscolha::Repetida;
        vistas.insert(e);
    }
    const int maximo = MaximoEscolhidos(modulo);
    if (maximo > 0 && escolhidas.size() > maximo)
        return ErroEscolha::Excesso;
    return ErroEscolha::Nenhum;
}

QStringList LinhasExemplo(const QString& modulo, const QStringList& itens)
{
    const bool letra = ModuloDiferencial(modulo) || ModuloMultiOrto(modulo);
    QStringList linhas;
    for (int j = 0; j < itens.size(); ++j) {
        const QString& legenda = itens.at(j);
        const bool direito = legenda.startsWith(QStringLiteral("OD"));
        QString inicio = direito ? QStringLiteral("Olho Direito - ") : QStringLiteral("Olho Esquerdo - ");
        if (letra)
            inicio.prepend(legenda.contains(QStringLiteral("Orto")) ? QLatin1Char('O') : QLatin1Char('T'));
        linhas << inicio + FormataData(QDate(2001, 1, 10).addDays(2 * j)) + QStringLiteral(" 00:00:00");
    }
    return linhas;
}

bool ExemplosAceitos(const QString& modulo, const QStringList& linhas)
{
    if (modulo != QStringLiteral("MultiOrto"))
        return true;
    return linhas.size() >= 4 && linhas.first().contains(QStringLiteral("OO"));
}

void ConjuntoMapas::Dimensiona(int n)
{
    n = std::max(0, n);
    m_dioptrias.assign(size_t(n), {});
    m_posicoes.assign(size_t(n), {});
    m_aneis.assign(size_t(n), {});
    m_pupilas.assign(size_t(n), {});
    m_orto.assign(size_t(n), {});
    m_arrD = {n, n ? &m_dioptrias.front().v : nullptr};
    m_arrP = {n, n ? &m_posicoes.front().v : nullptr};
    m_arrA = {n, n ? &m_aneis.front().v : nullptr};
    m_arrPup = {n, n ? &m_pupilas.front().v : nullptr};
}

} // namespace Navegador
