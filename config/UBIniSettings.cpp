#include "config/UBIniSettings.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "config/UArquivoIni.h"
#include "platform/UMensagens.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

struct DefinicaoChave {
    const char* secao;
    const char* chave;
    TipoValorIni tipo;
};

// Section, key name and reading rule of every ChaveIni, in the enumeration's order.
constexpr DefinicaoChave kChaves[] = {
    {"ZR", "Versao", TipoValorIni::Str},
    {"ZR", "Data", TipoValorIni::Str},
    {"ZR", "Tipo", TipoValorIni::Str},
    {"ZR", "TipoCone", TipoValorIni::Str},
    {"ZR", "FatorCorrecao", TipoValorIni::Str},
    {"ZR", "FatorCorrecao pixel to mm imagem lateral XS", TipoValorIni::Str},
    {"ZR", "FatorCorrecao pixel to mm imagem lateral YS", TipoValorIni::Str},
    {"ZR", "FatorCorrecao pixel to mm imagem lateral XD", TipoValorIni::Str},
    {"ZR", "FatorCorrecao pixel to mm imagem lateral YD", TipoValorIni::Str},
    {"ZR", "Z0", TipoValorIni::Str},
    {"DIRETORIOS", "DIRZR", TipoValorIni::Str},
    {"DIRETORIOS", "EXAMES", TipoValorIni::Str},
    {"DIRETORIOS", "BANCODADOS", TipoValorIni::Str},
    {"DIRETORIOS", "EXEMPLOS", TipoValorIni::Str},
    {"DIRETORIOS", "LAUDOS", TipoValorIni::Str},
    {"MODULOS", "DIGITALIZACAO", TipoValorIni::Str},
    {"MODULOS", "DIGITALIZACAO_ORTO", TipoValorIni::Str},
    {"MODULOS", "PROCESSAMENTO", TipoValorIni::Str},
    {"MODULOS", "PROCESSAMENTO_ORTO", TipoValorIni::Str},
    {"MODULOS", "DIRMAPAS", TipoValorIni::Str},
    {"MODULOS", "ULTIMACALIB", TipoValorIni::Str},
    {"MODULOS", "AUTO", TipoValorIni::Str},
    {"BACKUP", "MODULO", TipoValorIni::Str},
    {"BACKUP", "AUTO", TipoValorIni::Str},
    {"BACKUP", "AUTO_OP1_1", TipoValorIni::Str},
    {"BACKUP", "AUTO_OP1_2", TipoValorIni::Str},
    {"BACKUP", "AUTO_OP2", TipoValorIni::Str},
    {"OPCOES", "DICAS", TipoValorIni::Bool},
    {"OPCOES", "SalvarImagemCaptura", TipoValorIni::Bool},
    {"OPCOES", "sImagemCentral", TipoValorIni::Bool},
    {"OPCOES", "sImagemLateral", TipoValorIni::Bool},
    {"OPCOES", "MapaPadraoNovoExame", TipoValorIni::Str},
    {"OPCOES", "TreeViewNodes", TipoValorIni::Str},
    {"OPCOES", "AUTOINCMAP", TipoValorIni::Str},
    {"OPCOES", "INCMAP", TipoValorIni::Str},
    {"OPCOES", "AUTOANEIS", TipoValorIni::Str},
    {"OPCOES", "AUTOMINIMAPA", TipoValorIni::Str},
    {"OPCOES", "AUTOEXAME", TipoValorIni::Str},
    {"OPCOES", "INDICECONF", TipoValorIni::Str},
    {"CLINICA", "NOME", TipoValorIni::Str},
    {"CLINICA", "ENDERECO", TipoValorIni::Str},
    {"CLINICA", "CidadeEst", TipoValorIni::Str},
    {"CLINICA", "TELEFONE", TipoValorIni::Str},
    {"CLINICA", "OPT1", TipoValorIni::Str},
    {"CLINICA", "OPT2", TipoValorIni::Str},
    {"CLINICA", "OPT3", TipoValorIni::Str},
    {"CAMERA", "BRILHO", TipoValorIni::Str},
    {"CAMERA", "CONTRASTE", TipoValorIni::Str},
    {"CAMERA", "CAMERACENTRAL", TipoValorIni::Str},
    {"CAMERA", "CAMERALATERAL", TipoValorIni::Str},
    {"CAMERA", "CONECTORCENTRAL", TipoValorIni::Str},
    {"CAMERA", "CONECTORLATERALD", TipoValorIni::Str},
    {"CAMERA", "CONECTORLATERALS", TipoValorIni::Str},
    {"SERIAL", "COM", TipoValorIni::Str},
    {"CLINICA", "MEDICOATIVO", TipoValorIni::Str},
    {"CLINICA", "PACIENTEATIVO", TipoValorIni::Str},
    {"OPCOES", "TIPOCERATOMETRIA", TipoValorIni::Str},
    {"OPCOES", "QualidadeImagem", TipoValorIni::Str},
    {"OPCOES", "IDIOMA", TipoValorIni::Str},
    {"OPCOES", "TVLCENTRAL", TipoValorIni::Int},
    {"OPCOES", "TINCREMENTO", TipoValorIni::Str},
    {"OPCOES", "AUTOPCAPTURA", TipoValorIni::Bool},
    {"OPCOES", "DELAYAUTOPCAPTURA", TipoValorIni::Str},
    {"OPCOES", "PASSOMOTORX", TipoValorIni::Str},
    {"OPCOES", "PASSOMOTORY", TipoValorIni::Str},
    {"OPCOES", "TIPOCALIBRADOR", TipoValorIni::Str},
    {"OPCOES", "EXIBIRINDICEMAPA", TipoValorIni::Bool},
    {"MAPA", "EXIBEGRADE", TipoValorIni::Str},
    {"MAPA", "ESCALAISO", TipoValorIni::Str},
    {"MAPA", "EXIBECERATOMETRIAPONTUAL", TipoValorIni::Str},
    {"MAPA", "CORCERATOMETRIAPONTUAL", TipoValorIni::Str},
};
static_assert(std::size(kChaves) == size_t(ChaveIni::CorCeratPontual) + 1,
              "every key needs its definition");

const DefinicaoChave& Definicao(ChaveIni chave) { return kChaves[size_t(chave)]; }

// Keys whose text must be an integer; another text takes the fallback, with its message.
struct Recurso {
    ChaveIni chave;
    const char* mensagem; // nullptr: no message
    const char* valor;
};
constexpr Recurso kRecursos[] = {
    {ChaveIni::QualidadeImagem,
     "Erro ao carregar padrão de qualidade da imagem! O valor 50% será definido.", "50"},
    {ChaveIni::TIncremento,
     "Erro ao carregar valor do incremento da tolerância de varredura! O valor 2 será definido.",
     "2"},
    {ChaveIni::DelayAutoPCaptura,
     "Erro ao carregar delay de captura! O valor 500 ms será definido.", "500"},
    {ChaveIni::TipoCalibrador, "Erro ao carregar tipo de calibrador! O valor 1 será definido.",
     "1"},
    {ChaveIni::ExibeGrade, "Erro ao carregar exibição da grade! O valor'True'será definido.", "1"},
    {ChaveIni::EscalaISO, "Erro ao carregar escala ISO! O valor'True'será definido.", "1"},
    {ChaveIni::ExibeCeratPontual,
     "Erro ao carregar exibição da ceratometria pontual! O valor'False'será definido.", "0"},
};

QString& PastaDefinida()
{
    static QString pasta;
    return pasta;
}

} // namespace

QString TBIniSettings::PastaConfiguracao()
{
    if (!PastaDefinida().isEmpty())
        return PastaDefinida();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

void TBIniSettings::DefinePastaConfiguracao(const QString& pasta) { PastaDefinida() = pasta; }

QString TBIniSettings::TextoChaveAusente(const QString& secao, const QString& chave)
{
    return QStringLiteral("Erro no parâmetro: ") + secao + QStringLiteral(" ->  ") + chave;
}

void TBIniSettings::SelectFile(int modelo)
{
    const QString pasta = PastaConfiguracao() + u'/';
    switch (modelo) {
    case 0:
    case 1: m_arquivo = pasta + QStringLiteral("ZR100.ini"); break;
    case 2:
    case 3: m_arquivo = pasta + QStringLiteral("ZR300.ini"); break;
    default: m_arquivo.clear(); break;
    }
}

QString TBIniSettings::ReadValue(const QString& arquivo, TipoValorIni tipo, const QString& secao,
                                 const QString& chave) const
{
    return LeDoIndice(ArquivoIni::Indice::DeArquivo(arquivo), tipo, secao, chave);
}

QString TBIniSettings::LeDoIndice(const ArquivoIni::Indice& indice, TipoValorIni tipo,
                                  const QString& secao, const QString& chave)
{
    QString texto;
    const bool existe = indice.Le(secao, chave, texto);
    int32_t n = 0;
    switch (tipo) {
    case TipoValorIni::Str:
        return existe ? texto : TextoChaveAusente(secao, chave);
    case TipoValorIni::Bool:
        // Read as an integer: 0 is false, any other integer true, anything else true.
        return existe && TentaInteiro(texto, n) && n == 0 ? QStringLiteral("False")
                                                          : QStringLiteral("True");
    case TipoValorIni::Int:
        return QString::number(existe && TentaInteiro(texto, n) ? n : 1);
    case TipoValorIni::Outro:
        break;
    }
    return QString();
}

void TBIniSettings::WriteValue(TipoValorIni tipo, const QString& secao, const QString& chave,
                               bool valorBool, const QString& valorTexto)
{
    if (tipo == TipoValorIni::Str)
        ArquivoIni::Escreve(m_arquivo, secao, chave, valorTexto);
    else if (tipo == TipoValorIni::Bool)
        ArquivoIni::Escreve(m_arquivo, secao, chave, valorBool ? QStringLiteral("1") : QStringLiteral("0"));
    Carrega(ArquivoIni::Indice::DeArquivo(m_arquivo), ChaveIni::Dicas);
}

void TBIniSettings::Carrega(const ArquivoIni::Indice& indice, ChaveIni chave)
{
    const DefinicaoChave& d = Definicao(chave);
    QString texto = LeDoIndice(indice, d.tipo, QString::fromLatin1(d.secao),
                               QString::fromLatin1(d.chave));
    for (const Recurso& r : kRecursos) {
        int32_t n = 0;
        if (r.chave == chave && !TentaInteiro(texto, n)) {
            if (r.mensagem)
                Mensagem(QStringLiteral("ERRO"), QString::fromUtf8(r.mensagem));
            texto = QString::fromLatin1(r.valor);
        }
    }
    if (chave == ChaveIni::CorCeratPontual && texto.size() > 8)
        texto = QStringLiteral("Preta");
    m_valores.insert(chave, texto);
}

void TBIniSettings::CarregaLista(const ArquivoIni::Indice& indice,
                                 std::initializer_list<ChaveIni> chaves)
{
    for (ChaveIni c : chaves)
        Carrega(indice, c);
}

bool TBIniSettings::ArquivoLegivel() const
{
    QFile arquivo(m_arquivo);
    return QFileInfo(m_arquivo).isFile() && arquivo.open(QIODevice::ReadOnly);
}

bool TBIniSettings::LoadAll(int modelo)
{
    SelectFile(modelo);
    if (!ArquivoLegivel())
        return false;
    // The file is read once; every key then comes from what was read.
    const auto indice = ArquivoIni::Indice::DeArquivo(m_arquivo);
    for (size_t i = 0; i <= size_t(ChaveIni::CorCeratPontual); ++i) {
        const auto chave = ChaveIni(i);
        Carrega(indice, chave);
        if (chave == ChaveIni::PortaSerial) {
            // Brightness and contrast must be integers: the load fails otherwise.
            Brilho();
            Contraste();
        }
    }
    return true;
}

bool TBIniSettings::LoadOptions(int modelo)
{
    SelectFile(modelo);
    if (!ArquivoLegivel())
        return false;
    using C = ChaveIni;
    CarregaLista(ArquivoIni::Indice::DeArquivo(m_arquivo), {C::TreeViewNodes, C::AutoIncMap, C::IncMap, C::AutoAneis, C::AutoExame,
                  C::IndiceConf, C::SalvarImagemCaptura, C::ImagemCentral, C::ImagemLateral,
                  C::MapaPadraoNovoExame, C::ClinicaNome, C::ClinicaEndereco,
                  C::ClinicaCidadeEst, C::ClinicaTelefone, C::Opt1, C::Opt2, C::Opt3,
                  C::TipoCeratometria, C::QualidadeImagem, C::Idioma, C::TvlCentral,
                  C::TIncremento, C::AutoPCaptura, C::DelayAutoPCaptura, C::ExibirIndiceMapa,
                  C::ExibeGrade, C::EscalaISO, C::ExibeCeratPontual, C::CorCeratPontual});
    return true;
}

bool TBIniSettings::LoadCamera(int modelo)
{
    SelectFile(modelo);
    if (!ArquivoLegivel())
        return false;
    const auto indice = ArquivoIni::Indice::DeArquivo(m_arquivo);
    CarregaLista(indice, {ChaveIni::Brilho, ChaveIni::Contraste});
    Brilho();
    Contraste();
    CarregaLista(indice, {ChaveIni::UltimaCalib, ChaveIni::TipoCalibrador});
    return true;
}

QString TBIniSettings::ValorInvalido(ChaveIni chave) const
{
    const DefinicaoChave& d = Definicao(chave);
    const QString secao = QString::fromLatin1(d.secao), nome = QString::fromLatin1(d.chave);
    QString valor = Texto(chave);
    if (valor == TextoChaveAusente(secao, nome))
        return QStringLiteral("Falta no arquivo de configuração \"%1\" o valor [%2] %3.")
            .arg(QDir::toNativeSeparators(m_arquivo), secao, nome);
    if (valor.size() > 40)
        valor = valor.left(40) + QStringLiteral("...");
    return QStringLiteral("Valor inválido no arquivo de configuração \"%1\": [%2] %3 = '%4'.")
        .arg(QDir::toNativeSeparators(m_arquivo), secao, nome, valor);
}

int32_t TBIniSettings::Inteiro(ChaveIni chave) const
{
    int32_t n = 0;
    if (!TentaInteiro(Texto(chave), n))
        throw ErroConversao(ValorInvalido(chave));
    return n;
}

double TBIniSettings::Real(ChaveIni chave) const
{
    double v = 0;
    if (!TentaReal(Texto(chave), v))
        throw ErroConversao(ValorInvalido(chave));
    return v;
}

bool TBIniSettings::InteiroUm(ChaveIni chave) const
{
    int32_t n = 0;
    return TentaInteiro(Texto(chave), n) && n == 1;
}
