#include "platform/UBVersionInfo.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <elf.h>

namespace {

template <typename T>
bool Le(const QByteArray& dados, uint64_t deslocamento, T& valor)
{
    if (deslocamento > uint64_t(dados.size()) || uint64_t(dados.size()) - deslocamento < sizeof(T))
        return false;
    std::memcpy(&valor, dados.constData() + deslocamento, sizeof(T));
    return true;
}

// Finds a section by name in a little-endian ELF file of either class.
template <typename Ehdr, typename Shdr>
bool AchaSecao(const QByteArray& dados, const char* nome, QByteArray& conteudo)
{
    Ehdr eh;
    if (!Le(dados, 0, eh) || eh.e_shentsize != sizeof(Shdr) || eh.e_shstrndx >= eh.e_shnum)
        return false;
    Shdr nomes;
    if (!Le(dados, eh.e_shoff + uint64_t(eh.e_shstrndx) * sizeof(Shdr), nomes))
        return false;
    for (unsigned i = 0; i < eh.e_shnum; ++i) {
        Shdr sh;
        if (!Le(dados, eh.e_shoff + uint64_t(i) * sizeof(Shdr), sh))
            return false;
        const uint64_t inicioNome = uint64_t(nomes.sh_offset) + sh.sh_name;
        if (inicioNome >= uint64_t(dados.size()))
            continue;
        const char* p = dados.constData() + inicioNome;
        const size_t resto = size_t(dados.size() - inicioNome);
        if (strnlen(p, resto) == resto || std::strcmp(p, nome) != 0)
            continue;
        if (sh.sh_type == SHT_NOBITS || sh.sh_offset > uint64_t(dados.size())
            || uint64_t(dados.size()) - sh.sh_offset < sh.sh_size)
            return false;
        conteudo = QByteArray(dados.constData() + sh.sh_offset, qsizetype(sh.sh_size)); // a copy
        return true;
    }
    return false;
}

bool SecaoVersao(const QString& arquivo, QByteArray& conteudo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly) || f.size() <= 0)
        return false;
    // Mapped, not read: programs carry megabytes of code, and only the headers and the
    // version section are looked at.
    uchar* mapa = f.map(0, f.size());
    if (!mapa)
        return false;
    const QByteArray dados = QByteArray::fromRawData(reinterpret_cast<const char*>(mapa), qsizetype(f.size()));
    if (dados.size() < EI_NIDENT || std::memcmp(dados.constData(), ELFMAG, SELFMAG) != 0
        || dados[EI_DATA] != ELFDATA2LSB)
        return false;
    if (dados[EI_CLASS] == ELFCLASS64)
        return AchaSecao<Elf64_Ehdr, Elf64_Shdr>(dados, ".zr_versao", conteudo);
    if (dados[EI_CLASS] == ELFCLASS32)
        return AchaSecao<Elf32_Ehdr, Elf32_Shdr>(dados, ".zr_versao", conteudo);
    return false;
}

QString& ExecutavelDefinido()
{
    static QString arquivo;
    return arquivo;
}

} // namespace

bool LeInfoVersaoArquivo(const QString& arquivo, InfoVersaoArquivo& info)
{
    info = {};
    QByteArray secao;
    if (!SecaoVersao(arquivo, secao))
        return false;
    const int fim = secao.indexOf('\0');
    // The section's text is UTF-8, as CMake writes it.
    const QStringList linhas = DivideLinhas(QString::fromUtf8(fim < 0 ? secao : secao.left(fim)));
    if (linhas.isEmpty() || linhas[0] != QStringLiteral("ZRVERSAO 1"))
        return false;
    QString prefixo;
    for (const QString& linha : linhas.mid(1)) {
        if (linha.startsWith(QStringLiteral("FIXA "))) {
            const QStringList n = linha.mid(5).split(u' ', Qt::SkipEmptyParts);
            if (n.size() != 4)
                return false;
            uint32_t p[4];
            for (int k = 0; k < 4; ++k) {
                int32_t v = 0;
                if (!TentaInteiro(n[k], v) || v < 0 || v > 0xFFFF)
                    return false;
                p[k] = uint32_t(v);
            }
            info.versaoMS = p[0] << 16 | p[1];
            info.versaoLS = p[2] << 16 | p[3];
        } else if (linha.startsWith(QStringLiteral("TRADUCAO "))) {
            const QStringList n = linha.mid(9).split(u' ', Qt::SkipEmptyParts);
            bool ok1 = false, ok2 = false;
            if (n.size() == 2) {
                const uint32_t idioma = n[0].toUInt(&ok1, 16), pagina = n[1].toUInt(&ok2, 16);
                if (ok1 && ok2)
                    info.traducoes << (idioma << 16 | pagina);
            }
            if (!ok1 || !ok2)
                return false;
        } else if (const int igual = linha.indexOf(u'='); igual > 0) {
            if (info.traducoes.isEmpty())
                return false;
            prefixo = QStringLiteral("\\StringFileInfo\\%1\\")
                          .arg(info.traducoes.first(), 8, 16, QLatin1Char('0'));
            info.textos.insert(prefixo + linha.left(igual), linha.mid(igual + 1));
        }
    }
    return true;
}

bool ConsultaInfoVersao(const InfoVersaoArquivo& info, const QString& caminho, QString& valor)
{
    if (caminho == QStringLiteral("\\")) {
        valor = QStringLiteral("%1.%2.%3.%4")
                    .arg(info.versaoMS >> 16).arg(info.versaoMS & 0xFFFF)
                    .arg(info.versaoLS >> 16).arg(info.versaoLS & 0xFFFF);
        return true;
    }
    if (caminho == QStringLiteral("\\VarFileInfo\\Translation")) {
        if (info.traducoes.isEmpty())
            return false;
        valor = QStringLiteral("%1").arg(info.traducoes.first(), 8, 16, QLatin1Char('0'));
        return true;
    }
    const auto it = info.textos.constFind(caminho);
    if (it == info.textos.constEnd())
        return false;
    valor = *it;
    return true;
}

bool TBVersionInfo::LeVersao(const QString& arquivo)
{
    *this = TBVersionInfo();
    InfoVersaoArquivo info;
    if (!LeInfoVersaoArquivo(arquivo, info))
        return false;
    QString traducao;
    if (!ConsultaInfoVersao(info, QStringLiteral("\\VarFileInfo\\Translation"), traducao))
        return false;
    auto texto = [&](const char* nome) {
        QString v;
        ConsultaInfoVersao(info, QStringLiteral("\\StringFileInfo\\%1\\%2")
                                     .arg(traducao, QString::fromLatin1(nome)), v);
        return v;
    };
    CompanyName = texto("CompanyName");
    FileDescription = texto("FileDescription");
    FileVersion = texto("FileVersion");
    InternalName = texto("InternalName");
    OriginalFilename = texto("OriginalFilename");
    ProductName = texto("ProductName");
    ProductVersion = texto("ProductVersion");
    // Split at the first three dots; the build part keeps whatever follows.
    const QStringList partes = FileVersion.split(u'.');
    Major = partes.value(0);
    Minor = partes.value(1);
    Release = partes.value(2);
    Build = partes.size() > 3 ? QStringList(partes.mid(3)).join(u'.') : QString();
    return true;
}

bool TBVersionInfo::OrthoEdition()
{
    LeVersao(ExecutavelPrograma());
    return TextoParaInteiro(Minor) % 2 != 0;
}

QString TBVersionInfo::VersaoArquivo(const QString& arquivo)
{
    InfoVersaoArquivo info;
    QString v;
    if (!LeInfoVersaoArquivo(arquivo, info) || !ConsultaInfoVersao(info, QStringLiteral("\\"), v))
        return QString();
    return v;
}

int TBVersionInfo::Compilacao() const { return TextoParaInteiro(Build); }

QString TBVersionInfo::ExecutavelPrograma()
{
    if (!ExecutavelDefinido().isEmpty())
        return ExecutavelDefinido();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

void TBVersionInfo::DefineExecutavelPrograma(const QString& arquivo)
{
    ExecutavelDefinido() = arquivo;
}
