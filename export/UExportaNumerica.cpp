#include "export/UExportaNumerica.h"

#include "common/UErros.h"
#include "examfiles/UBMapOperation.h"
#include "topography/UBFuncoesMapas.h"
#include "topography/UIndicesCeratocone.h"
#include "topography/UTangencial.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Radius of the keratometry zone: the central 3 mm, as the report findings use.
constexpr double kZonaCeratometria = 1.5;

double Arredonda(double valor, int casas)
{
    if (!std::isfinite(valor))
        return std::numeric_limits<double>::quiet_NaN();
    const double escala = std::pow(10.0, casas);
    return std::round(valor * escala) / escala;
}

QJsonValue Numero(double valor)
{
    return std::isfinite(valor) ? QJsonValue(valor) : QJsonValue(QJsonValue::Null);
}

// A value with its fixed decimals, or the text for "no value".
void AnexaNumero(QByteArray& destino, double valor, int casas, const char* nulo)
{
    if (std::isfinite(valor))
        destino += QByteArray::number(valor, 'f', casas);
    else
        destino += nulo;
}

void AnexaLista(QByteArray& destino, const QList<double>& valores, int casas)
{
    destino += '[';
    for (int i = 0; i < valores.size(); ++i) {
        if (i)
            destino += ", ";
        AnexaNumero(destino, valores[i], casas, "null");
    }
    destino += ']';
}

// The indices as the file names them: key, field, decimals.
struct CampoIndice {
    const char* chave;
    double IndicesExportados::*valor;
    int casas;
};
const CampoIndice kCamposIndices[] = {
    {"central_k_D", &IndicesExportados::kCentral, kCasasDioptria},
    {"kmax_D", &IndicesExportados::kMax, kCasasDioptria},
    {"kmax_x_mm", &IndicesExportados::kMaxX, kCasasMm},
    {"kmax_y_mm", &IndicesExportados::kMaxY, kCasasMm},
    {"i_s_D", &IndicesExportados::is, kCasasDioptria},
    {"srax_deg", &IndicesExportados::srax, 1},
    {"kisa_percent", &IndicesExportados::kisa, 1},
    {"sai_D", &IndicesExportados::sai, kCasasDioptria},
    {"sri", &IndicesExportados::sri, kCasasDioptria},
    {"flat_apical_radius_mm", &IndicesExportados::raioPlano, kCasasMm},
    {"flat_q", &IndicesExportados::qPlano, kCasasMm},
    {"steep_apical_radius_mm", &IndicesExportados::raioCurvo, kCasasMm},
    {"steep_q", &IndicesExportados::qCurvo, kCasasMm},
};

IndicesExportados ExportaIndices(const TIndicesCeratocone& ind)
{
    IndicesExportados e;
    const std::pair<const char*, const TIndice*> indices[] = {
        {"central_k_D", &ind.kCentral}, {"kmax_D", &ind.kMax}, {"i_s_D", &ind.is},
        {"srax_deg", &ind.srax}, {"kisa_percent", &ind.kisa}, {"sai_D", &ind.sai},
        {"sri", &ind.sri}, {"flat_apical_radius_mm", &ind.raioPlano}, {"flat_q", &ind.qPlano},
        {"steep_apical_radius_mm", &ind.raioCurvo}, {"steep_q", &ind.qCurvo}};
    for (const auto& [chave, indice] : indices) {
        for (const CampoIndice& c : kCamposIndices)
            if (qstrcmp(c.chave, chave) == 0)
                e.*c.valor = indice->valido ? Arredonda(indice->valor, c.casas) : IndicesExportados::kSem;
        if (!indice->valido)
            e.motivos.insert(QString::fromLatin1(chave), indice->motivo);
    }
    if (ind.kMax.valido) {
        e.kMaxX = Arredonda(ind.kMaxX, kCasasMm);
        e.kMaxY = Arredonda(ind.kMaxY, kCasasMm);
    }
    e.leitura = TextoLeitura(ind.leitura);
    return e;
}

[[noreturn]] void Invalido(const QString& oque)
{
    throw ErroConversao(QStringLiteral("Arquivo de exportação inválido: ") + oque + u'.');
}

QJsonObject Objeto(const QJsonObject& pai, const char* chave)
{
    const QJsonValue v = pai.value(QLatin1String(chave));
    if (!v.isObject())
        Invalido(QStringLiteral("falta o grupo \"%1\"").arg(QLatin1String(chave)));
    return v.toObject();
}

double LeNumero(const QJsonObject& o, const char* chave)
{
    const QJsonValue v = o.value(QLatin1String(chave));
    if (v.isNull())
        return std::numeric_limits<double>::quiet_NaN();
    if (!v.isDouble())
        Invalido(QStringLiteral("\"%1\" não é um número").arg(QLatin1String(chave)));
    return v.toDouble();
}

QString LeTexto(const QJsonObject& o, const char* chave)
{
    const QJsonValue v = o.value(QLatin1String(chave));
    if (!v.isString())
        Invalido(QStringLiteral("\"%1\" não é um texto").arg(QLatin1String(chave)));
    return v.toString();
}

QList<double> LeLista(const QJsonObject& o, const char* chave)
{
    const QJsonValue v = o.value(QLatin1String(chave));
    if (!v.isArray())
        Invalido(QStringLiteral("\"%1\" não é uma lista").arg(QLatin1String(chave)));
    QList<double> r;
    for (const QJsonValue& x : v.toArray()) {
        if (x.isNull())
            r.append(std::numeric_limits<double>::quiet_NaN());
        else if (x.isDouble())
            r.append(x.toDouble());
        else
            Invalido(QStringLiteral("\"%1\" contém um valor que não é número").arg(QLatin1String(chave)));
    }
    return r;
}

} // namespace

ExameExportado MontaExportacao(const CabecalhoExportacao& c, const TBMapOperation& leitor)
{
    if (!(c.fatorCorrecao > 0.0) || !std::isfinite(c.fatorCorrecao))
        throw ErroSistema(QStringLiteral("Fator de correção inválido: %1.").arg(c.fatorCorrecao));
    ExameExportado e;
    e.codigo = c.codigo;
    e.olho = c.olho;
    e.data = c.data;
    e.hora = c.hora;
    e.aneis = c.aneis;
    e.tipoCone = c.tipoCone;
    e.dataCalibracao = c.dataCalibracao;
    e.fatorCorrecao = c.fatorCorrecao;
    e.indiceConfianca = c.indiceConfianca;
    e.centroX = leitor.CentroX();
    e.centroY = leitor.CentroY();
    const TDadosPupila& p = leitor.Pupila();
    e.pupilaX = p[0];
    e.pupilaY = p[1];
    e.pupilaRaio = p[2];
    e.pupilaEncontrada = p[3] != 0;

    const TMatrizAngAnel& m = leitor.Posicoes();
    const TMatrizAngAnel& d = leitor.Dioptrias();
    const TAneisMeridiano& aneis = leitor.AneisPorMeridiano();
    e.meridianos.resize(ZR_MERIDIANOS);
    for (int i = 0; i < ZR_MERIDIANOS; ++i)
        if (aneis[i] < 0 || aneis[i] > ZR_COLUNAS_ANEL - 1)
            throw ErroCalculo(QStringLiteral("Número de anéis inválido no meridiano %1: %2.").arg(i + 1).arg(aneis[i]));
    // The tangential power where the map and the report findings hold one (a ring beside a
    // gap the lids leave has none: null in the file).
    struct Tangencial {
        TMatrizAngAnel t;
        TAneisMeridiano n;
    };
    auto tangencial = std::make_unique<Tangencial>();
    TangencialDasMatrizes(m, d, aneis, tangencial->t, tangencial->n);
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        const int n = aneis[i];
        MeridianoExportado& me = e.meridianos[(i + 1) % ZR_MERIDIANOS];
        me.meridiano = (i + 1) % ZR_MERIDIANOS;
        for (int j = 0; j <= n; ++j) {
            me.raioMm.append(Arredonda(m[i][j] * c.fatorCorrecao, kCasasMm));
            me.axialD.append(Arredonda(d[i][j], kCasasDioptria));
            me.tangencialD.append(j <= tangencial->n[i] && tangencial->n[i] > 0
                                      ? Arredonda(tangencial->t[i][j], kCasasDioptria)
                                      : std::numeric_limits<double>::quiet_NaN());
        }
    }

    // The keratometry and the largest value of the axial map, as the map and the report
    // findings compute them (the computation works on a copy of the dioptres).
    struct Copia {
        TMatrizAngAnel d;
    };
    auto dioptrias = std::make_unique<Copia>();
    leitor.CopiaDioptrias(dioptrias->d);
    TBFuncoesMapas mapa(dioptrias->d, m, aneis, c.fatorCorrecao);
    mapa.CalculaMapa(TBFuncoesMapas::MapaAxial);
    TDadosCeratometria k;
    mapa.Ceratometria(k, kZonaCeratometria);
    e.k1 = Arredonda(k.K1, kCasasDioptria);
    e.k2 = Arredonda(k.K2, kCasasDioptria);
    e.cilindro = Arredonda(k.DifK, kCasasDioptria);
    e.eixo1 = k.Eixo1;
    e.eixo2 = k.Eixo2;
    e.zonaCeratometriaMm = kZonaCeratometria;
    e.valorMaximo = Arredonda(mapa.ValorMaximo(), kCasasDioptria);
    e.indices = ExportaIndices(CalculaIndicesCeratocone(m, aneis, d, c.fatorCorrecao));
    e.temIndices = true;
    return e;
}

QByteArray JsonExportacao(const ExameExportado& e, bool incluirIdentificacao)
{
    QJsonObject raiz;
    raiz.insert(QStringLiteral("format"), QStringLiteral("topografia-exame"));
    raiz.insert(QStringLiteral("format_version"), e.versao);
    raiz.insert(QStringLiteral("exam_code"), e.codigo);
    raiz.insert(QStringLiteral("eye"), e.olho);
    raiz.insert(QStringLiteral("date"), e.data.toString(Qt::ISODate));
    raiz.insert(QStringLiteral("time"), e.hora.toString(QStringLiteral("HH:mm:ss")));
    raiz.insert(QStringLiteral("instrument"),
                QJsonObject{{QStringLiteral("rings"), e.aneis},
                            {QStringLiteral("cone_type"), e.tipoCone},
                            {QStringLiteral("calibration_date"), e.dataCalibracao},
                            {QStringLiteral("mm_per_pixel"), Numero(e.fatorCorrecao)}});
    raiz.insert(QStringLiteral("centre"), QJsonObject{{QStringLiteral("x_px"), Numero(e.centroX)},
                                                      {QStringLiteral("y_px"), Numero(e.centroY)}});
    raiz.insert(QStringLiteral("pupil"), QJsonObject{{QStringLiteral("found"), e.pupilaEncontrada},
                                                     {QStringLiteral("x_px"), e.pupilaX},
                                                     {QStringLiteral("y_px"), e.pupilaY},
                                                     {QStringLiteral("radius_px"), e.pupilaRaio}});
    raiz.insert(QStringLiteral("confidence_index"), Numero(e.indiceConfianca));
    raiz.insert(QStringLiteral("keratometry"),
                QJsonObject{{QStringLiteral("zone_radius_mm"), Numero(e.zonaCeratometriaMm)},
                            {QStringLiteral("k1_D"), Numero(e.k1)},
                            {QStringLiteral("k1_axis_deg"), e.eixo1},
                            {QStringLiteral("k2_D"), Numero(e.k2)},
                            {QStringLiteral("k2_axis_deg"), e.eixo2},
                            {QStringLiteral("cylinder_D"), Numero(e.cilindro)}});
    raiz.insert(QStringLiteral("max_axial_D"), Numero(e.valorMaximo));
    if (e.temIndices) {
        QJsonObject ind;
        for (const CampoIndice& c : kCamposIndices)
            ind.insert(QLatin1String(c.chave), Numero(e.indices.*c.valor));
        ind.insert(QStringLiteral("reading"), e.indices.leitura.isEmpty() ? QJsonValue(QJsonValue::Null)
                                                                        : QJsonValue(e.indices.leitura));
        QJsonObject motivos;
        for (auto it = e.indices.motivos.cbegin(); it != e.indices.motivos.cend(); ++it)
            motivos.insert(it.key(), it.value());
        ind.insert(QStringLiteral("missing"), motivos);
        raiz.insert(QStringLiteral("keratoconus_indices"), ind);
    }
    if (incluirIdentificacao && e.temIdentificacao)
        raiz.insert(QStringLiteral("patient"),
                    QJsonObject{{QStringLiteral("name"), e.identificacao.nome},
                                {QStringLiteral("rg"), e.identificacao.rg},
                                {QStringLiteral("cpf"), e.identificacao.cpf},
                                {QStringLiteral("birth_date"), e.identificacao.dataNascimento}});
    // The grid is written by hand, one meridian per line: 18,000 values go through the
    // document classes many times slower, and a line per meridian reads better.
    QByteArray texto = QJsonDocument(raiz).toJson(QJsonDocument::Indented);
    texto.chop(2); // "}\n"
    texto += ",\n    \"meridians\": [\n";
    for (int i = 0; i < e.meridianos.size(); ++i) {
        const MeridianoExportado& m = e.meridianos[i];
        texto += "        {\"meridian\": " + QByteArray::number(m.meridiano);
        texto += ", \"radius_mm\": ";
        AnexaLista(texto, m.raioMm, kCasasMm);
        texto += ", \"axial_D\": ";
        AnexaLista(texto, m.axialD, kCasasDioptria);
        texto += ", \"tangential_D\": ";
        AnexaLista(texto, m.tangencialD, kCasasDioptria);
        texto += i + 1 < e.meridianos.size() ? "},\n" : "}\n";
    }
    texto += "    ]\n}\n";
    return texto;
}

QByteArray CsvExportacao(const ExameExportado& e)
{
    QByteArray t("meridian,ring,radius_mm,axial_D,tangential_D\n");
    t.reserve(40 * 33 * 360);
    for (const MeridianoExportado& m : e.meridianos)
        for (int j = 0; j < m.raioMm.size(); ++j) {
            t += QByteArray::number(m.meridiano);
            t += ',';
            t += QByteArray::number(j);
            t += ',';
            AnexaNumero(t, m.raioMm[j], kCasasMm, "");
            t += ',';
            AnexaNumero(t, m.axialD[j], kCasasDioptria, "");
            t += ',';
            AnexaNumero(t, m.tangencialD[j], kCasasDioptria, "");
            t += '\n';
        }
    return t;
}

ExameExportado LeJsonExportacao(const QByteArray& json)
{
    QJsonParseError erro;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &erro);
    if (doc.isNull() || !doc.isObject())
        Invalido(QStringLiteral("não é um documento JSON (%1)").arg(erro.errorString()));
    const QJsonObject r = doc.object();
    if (r.value(QStringLiteral("format")).toString() != QStringLiteral("topografia-exame"))
        Invalido(QStringLiteral("não é a exportação de um exame"));
    ExameExportado e;
    e.versao = int(LeNumero(r, "format_version"));
    if (e.versao < 1 || e.versao > kVersaoFormatoExportacao)
        Invalido(QStringLiteral("versão %1 do formato não suportada").arg(e.versao));
    e.codigo = int(LeNumero(r, "exam_code"));
    e.olho = LeTexto(r, "eye");
    e.data = QDate::fromString(LeTexto(r, "date"), Qt::ISODate);
    e.hora = QTime::fromString(LeTexto(r, "time"), QStringLiteral("HH:mm:ss"));
    const QJsonObject inst = Objeto(r, "instrument");
    e.aneis = int(LeNumero(inst, "rings"));
    e.tipoCone = LeTexto(inst, "cone_type");
    e.dataCalibracao = LeTexto(inst, "calibration_date");
    e.fatorCorrecao = LeNumero(inst, "mm_per_pixel");
    const QJsonObject centro = Objeto(r, "centre");
    e.centroX = LeNumero(centro, "x_px");
    e.centroY = LeNumero(centro, "y_px");
    const QJsonObject pup = Objeto(r, "pupil");
    e.pupilaEncontrada = pup.value(QStringLiteral("found")).toBool();
    e.pupilaX = int(LeNumero(pup, "x_px"));
    e.pupilaY = int(LeNumero(pup, "y_px"));
    e.pupilaRaio = int(LeNumero(pup, "radius_px"));
    e.indiceConfianca = LeNumero(r, "confidence_index");
    const QJsonObject k = Objeto(r, "keratometry");
    e.zonaCeratometriaMm = LeNumero(k, "zone_radius_mm");
    e.k1 = LeNumero(k, "k1_D");
    e.eixo1 = int(LeNumero(k, "k1_axis_deg"));
    e.k2 = LeNumero(k, "k2_D");
    e.eixo2 = int(LeNumero(k, "k2_axis_deg"));
    e.cilindro = LeNumero(k, "cylinder_D");
    e.valorMaximo = LeNumero(r, "max_axial_D");
    if (r.contains(QStringLiteral("keratoconus_indices"))) {
        const QJsonObject ind = Objeto(r, "keratoconus_indices");
        e.temIndices = true;
        for (const CampoIndice& c : kCamposIndices)
            e.indices.*c.valor = LeNumero(ind, c.chave);
        const QJsonValue leitura = ind.value(QStringLiteral("reading"));
        e.indices.leitura = leitura.isNull() ? QString() : LeTexto(ind, "reading");
        const QJsonObject motivos = ind.value(QStringLiteral("missing")).toObject();
        for (auto it = motivos.begin(); it != motivos.end(); ++it)
            e.indices.motivos.insert(it.key(), it.value().toString());
    }
    if (r.contains(QStringLiteral("patient"))) {
        const QJsonObject p = Objeto(r, "patient");
        e.temIdentificacao = true;
        e.identificacao = {LeTexto(p, "name"), LeTexto(p, "rg"), LeTexto(p, "cpf"), LeTexto(p, "birth_date")};
    }
    const QJsonValue lista = r.value(QStringLiteral("meridians"));
    if (!lista.isArray())
        Invalido(QStringLiteral("falta a lista \"meridians\""));
    for (const QJsonValue& v : lista.toArray()) {
        if (!v.isObject())
            Invalido(QStringLiteral("um meridiano não é um grupo"));
        const QJsonObject o = v.toObject();
        MeridianoExportado m;
        m.meridiano = int(LeNumero(o, "meridian"));
        m.raioMm = LeLista(o, "radius_mm");
        m.axialD = LeLista(o, "axial_D");
        m.tangencialD = LeLista(o, "tangential_D");
        if (m.axialD.size() != m.raioMm.size() || m.tangencialD.size() != m.raioMm.size())
            Invalido(QStringLiteral("as listas do meridiano %1 têm tamanhos diferentes").arg(m.meridiano));
        e.meridianos.append(m);
    }
    return e;
}

QString NomeArquivoExportacao(const ExameExportado& e, const QString& extensao)
{
    return QStringLiteral("exame_%1_%2.%3").arg(e.codigo).arg(e.olho, extensao);
}

QStringList GravaExportacaoNumerica(const QString& pasta, const ExameExportado& e, bool incluirIdentificacao)
{
    const QList<QPair<QString, QByteArray>> arquivos = {
        {QDir(pasta).filePath(NomeArquivoExportacao(e, QStringLiteral("json"))), JsonExportacao(e, incluirIdentificacao)},
        {QDir(pasta).filePath(NomeArquivoExportacao(e, QStringLiteral("csv"))), CsvExportacao(e)},
    };
    // Each file is written under a temporary name and renamed when complete. An export is a
    // copy of data the program keeps, so it is not forced to disk (that would cost more than
    // the rest of the export).
    QStringList gravados;
    for (const auto& [caminho, bytes] : arquivos) {
        const QString temporario = caminho + QStringLiteral(".zrtmp");
        QFile f(temporario);
        bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
        QString motivo = f.errorString();
        f.close();
        if (ok) {
            QFile::remove(caminho);
            ok = QFile::rename(temporario, caminho);
            if (!ok)
                motivo = QStringLiteral("não foi possível substituir o arquivo");
        }
        if (!ok) {
            QFile::remove(temporario);
            for (const QString& g : gravados)
                QFile::remove(g);
            throw ErroES(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(QDir::toNativeSeparators(caminho), motivo));
        }
        gravados.append(caminho);
    }
    return gravados;
}
