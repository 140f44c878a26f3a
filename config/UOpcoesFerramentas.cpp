#include "config/UOpcoesFerramentas.h"

#include "common/UFormatos.h"
#include "config/URegistrosZR.h"

#include <QFileInfo>

#include <cstdint>

namespace Ferramentas {

QStringList CoresCeratPontual()
{
    return {QStringLiteral("Amarela"), QStringLiteral("Azul"), QStringLiteral("Branca"), QStringLiteral("Preta"),
            QStringLiteral("Vermelha"), QString(), QString()};
}
QStringList MapasPadrao() { return {QStringLiteral("Axial"), QStringLiteral("Tangencial")}; }
QStringList TiposCeratometria() { return {QStringLiteral("Simulada"), QStringLiteral("Convencional")}; }

Opcoes OpcoesDe(const TInfosZR& i)
{
    Opcoes o;
    o.nome = i.ClinicaNome;
    o.endereco = i.ClinicaEndereco;
    o.cidadeEst = i.ClinicaCidadeEst;
    o.telefone = i.ClinicaTelefone;
    o.opt1 = i.Opt1;
    o.opt2 = i.Opt2;
    o.opt3 = i.Opt3;
    o.incMap = FormataNumero(QStringLiteral("0.00"), i.IncMap);
    o.personalizado = i.AutoIncMap;
    o.autoAneis = i.AutoAneis;
    o.indiceConf = int(ArredondaInteiro(i.IndiceConf));
    o.autoExame = i.AutoExame;
    o.salvarImagemCaptura = i.SalvarImagemCaptura;
    o.mapaPadrao = i.MapaPadraoNovoExame;
    o.imagemCentral = i.ImagemCentral;
    o.imagemLateral = i.ImagemLateral;
    o.tipoCeratometria = i.TipoCeratometria;
    o.qualidadeImagem = i.QualidadeImagem;
    o.idioma = i.Idioma;
    o.tvlCentral = QString::number(i.TvlCentral);
    o.tIncremento = QString::number(i.TIncremento);
    o.autoPCaptura = i.AutoPCaptura;
    o.delayAutoPCaptura = QString::number(i.DelayAutoPCaptura);
    o.exibeGrade = i.ExibeGrade;
    o.escalaISO = i.EscalaISO;
    o.exibeCeratPontual = i.ExibeCeratPontual;
    o.corCeratPontual = i.CorCeratPontual;
    return o;
}

std::optional<CampoInvalido> ValidaOpcoes(Opcoes& o)
{
    QString inc = o.incMap.trimmed();
    if (inc.isEmpty())
        inc = QStringLiteral("0.50");
    inc.replace(u',', u'.');
    double real = 0;
    if (!TentaReal(inc, real) || !(real > 0))
        return CampoInvalido{QStringLiteral("Incremento fixo:"), o.incMap};
    // Integers are written in plain decimal digits, whatever form they were typed in.
    auto inteiro = [](const QString& texto, int minimo, QString& saida) {
        int32_t n = 0;
        if (!TentaInteiro(texto.trimmed(), n) || n < minimo)
            return false;
        saida = QString::number(n);
        return true;
    };
    QString tvl, tinc, delay;
    if (!inteiro(o.tvlCentral, INT32_MIN, tvl))
        return CampoInvalido{QStringLiteral("Valor central:"), o.tvlCentral};
    if (!inteiro(o.tIncremento, INT32_MIN, tinc))
        return CampoInvalido{QStringLiteral("Incremento:"), o.tIncremento};
    if (!inteiro(o.delayAutoPCaptura, 0, delay))
        return CampoInvalido{QStringLiteral("Tempo de espera (ms):"), o.delayAutoPCaptura};
    o.incMap = inc;
    o.tvlCentral = tvl;
    o.tIncremento = tinc;
    o.delayAutoPCaptura = delay;
    return std::nullopt;
}

QString MensagemCampoInvalido(const CampoInvalido& c)
{
    return QStringLiteral("O campo \"%1\" não contém um número válido: \"%2\".\r\nCorrija o valor antes de fechar.")
        .arg(c.campo, c.valor);
}

QList<ChaveGravada> Chaves(const Opcoes& o)
{
    const QString clinica = QStringLiteral("CLINICA"), opcoes = QStringLiteral("OPCOES"), mapa = QStringLiteral("MAPA");
    auto texto = [](const QString& secao, const char* chave, const QString& valor) {
        return ChaveGravada{TipoValorIni::Str, secao, QLatin1String(chave), false, valor};
    };
    auto logico = [](const QString& secao, const char* chave, bool valor) {
        return ChaveGravada{TipoValorIni::Bool, secao, QLatin1String(chave), valor, QString()};
    };
    return {texto(clinica, "Nome", o.nome),
            texto(clinica, "Endereco", o.endereco),
            texto(clinica, "CidadeEst", o.cidadeEst),
            texto(clinica, "TELEFONE", o.telefone),
            logico(clinica, "Opt1", o.opt1),
            logico(clinica, "Opt2", o.opt2),
            logico(clinica, "Opt3", o.opt3),
            texto(opcoes, "INCMAP", o.incMap),
            logico(opcoes, "AUTOINCMAP", o.personalizado),
            logico(opcoes, "AUTOANEIS", o.autoAneis),
            texto(opcoes, "INDICECONF", QString::number(o.indiceConf)),
            logico(opcoes, "AUTOEXAME", o.autoExame),
            logico(opcoes, "SalvarImagemCaptura", o.salvarImagemCaptura),
            texto(opcoes, "MapaPadraoNovoExame", o.mapaPadrao),
            logico(opcoes, "sImagemCentral", o.imagemCentral),
            logico(opcoes, "sImagemLateral", o.imagemLateral),
            texto(opcoes, "TIPOCERATOMETRIA", o.tipoCeratometria),
            texto(opcoes, "QualidadeImagem", QString::number(o.qualidadeImagem)),
            texto(opcoes, "IDIOMA", o.idioma),
            texto(opcoes, "TVLCENTRAL", o.tvlCentral),
            texto(opcoes, "TINCREMENTO", o.tIncremento),
            logico(opcoes, "AUTOPCAPTURA", o.autoPCaptura),
            texto(opcoes, "DELAYAUTOPCAPTURA", o.delayAutoPCaptura),
            logico(mapa, "EXIBEGRADE", o.exibeGrade),
            logico(mapa, "ESCALAISO", o.escalaISO),
            logico(mapa, "EXIBECERATOMETRIAPONTUAL", o.exibeCeratPontual),
            texto(mapa, "CORCERATOMETRIAPONTUAL", o.corCeratPontual)};
}

void Grava(TBIniSettings& ini, const Opcoes& o)
{
    for (const ChaveGravada& c : Chaves(o))
        ini.WriteValue(c.tipo, c.secao, c.chave, c.valorBool, c.texto);
}

void AtualizaInfos(const TBIniSettings& ini, TInfosZR& i)
{
    i.ClinicaNome = ini.ClinicaNome();
    i.ClinicaEndereco = ini.ClinicaEndereco();
    i.ClinicaCidadeEst = ini.ClinicaCidadeEst();
    i.ClinicaTelefone = ini.ClinicaTelefone();
    i.IncMap = ini.IncMap();
    i.AutoIncMap = ini.AutoIncMap();
    i.AutoAneis = ini.AutoAneis();
    i.IndiceConf = ini.IndiceConf();
    i.AutoExame = ini.AutoExame();
    i.SalvarImagemCaptura = ini.SalvarImagemCaptura();
    i.MapaPadraoNovoExame = ini.MapaPadraoNovoExame();
    i.ImagemCentral = ini.ImagemCentral();
    i.ImagemLateral = ini.ImagemLateral();
    i.TipoCeratometria = ini.TipoCeratometria();
    i.QualidadeImagem = ini.QualidadeImagem();
    i.Idioma = ini.Idioma();
    i.TvlCentral = ini.TvlCentral();
    i.TIncremento = ini.TIncremento();
    i.AutoPCaptura = ini.AutoPCaptura();
    i.DelayAutoPCaptura = ini.DelayAutoPCaptura();
    i.ExibeGrade = ini.ExibeGrade();
    i.EscalaISO = ini.EscalaISO();
    i.ExibeCeratPontual = ini.ExibeCeratPontual();
    i.CorCeratPontual = ini.CorCeratPontual();
}

QString Formata0000(int n) { return FormataNumero(QStringLiteral("0000"), n); }

QString TamanhoBanco(const QString& arquivo)
{
    const QFileInfo info(arquivo);
    if (!info.isFile())
        return QStringLiteral("0000 MBytes");
    return FormataNumero(QStringLiteral("0.000"), double(info.size()) / 1024 / 1024) + QStringLiteral(" MBytes");
}

QString TextoReinicializacao(int vezes)
{
    return QStringLiteral("Reinicialização do backup ") + QString::number(vezes) + QStringLiteral(" vez(es)");
}

QStringList Aplicativos()
{
    return {QStringLiteral("Sistema"),      QStringLiteral("Windows Explorer"), QStringLiteral("Painel de Controle"),
            QStringLiteral("Impressoras"),  QStringLiteral("Modem"),            QStringLiteral("Data e Hora"),
            QStringLiteral("DirectCD"),     QStringLiteral("Configurações Regionais"),
            QStringLiteral("Configuração das câmeras")};
}

Comando ComandoAplicativo(Aplicativo item, const QString& pastaDados, const QString& directCd,
                          const QString& pastaPrograma)
{
    // The desktop's settings centre and its panels; the file manager through the desktop's
    // default opener of folders; network connections stand for the modem's settings.
    const QString centro = QStringLiteral("gnome-control-center");
    switch (item) {
    case Sistema: return {centro, {QStringLiteral("info-overview")}};
    case Explorer: return {QStringLiteral("xdg-open"), {pastaDados}};
    case PainelControle: return {centro, {}};
    case Impressoras: return {centro, {QStringLiteral("printers")}};
    case Modem: return {QStringLiteral("nm-connection-editor"), {}};
    case DataHora: return {centro, {QStringLiteral("datetime")}};
    case DirectCD: return {directCd, {}};
    case Regionais: return {centro, {QStringLiteral("region")}};
    case Cameras: return {pastaPrograma + QStringLiteral("/vidsetup"), {}};
    }
    return {};
}

} // namespace Ferramentas
