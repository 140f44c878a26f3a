#include "platform/URegistro.h"

#include "common/UErros.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

namespace {
const char* const kChaveRegional = "Control Panel/International";

QString GrupoDaChave(QString chave)
{
    chave.replace(u'\\', u'/');
    while (chave.startsWith(u'/'))
        chave.remove(0, 1);
    while (chave.endsWith(u'/'))
        chave.chop(1);
    return chave;
}

// The user's regional values as the system's locale has them.
void SemeiaRegional(QSettings& s)
{
    const QLocale local = QLocale::system();
    s.beginGroup(QString::fromLatin1(kChaveRegional));
    s.setValue(QStringLiteral("sDecimal"), QString(local.decimalPoint()));
    s.setValue(QStringLiteral("sThousand"), QString(local.groupSeparator()));
    s.setValue(QStringLiteral("sShortDate"), local.dateFormat(QLocale::ShortFormat));
    s.setValue(QStringLiteral("sTimeFormat"), local.timeFormat(QLocale::LongFormat));
    s.setValue(QStringLiteral("s1159"), local.amText());
    s.setValue(QStringLiteral("s2359"), local.pmText());
    s.endGroup();
    s.sync();
}
} // namespace

TRegistro::TRegistro() = default;
TRegistro::~TRegistro() = default;

QString TRegistro::ArquivoUsuario()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/korvane/registro.ini");
}

QSettings& TRegistro::Armazem()
{
    if (!m_armazem) {
        const QString arquivo = ArquivoUsuario();
        QDir().mkpath(QFileInfo(arquivo).absolutePath());
        m_armazem = std::make_unique<QSettings>(arquivo, QSettings::IniFormat);
        VerificaLeitura();
        if (!m_armazem->childGroups().contains(QStringLiteral("Control Panel"))
            && !QFileInfo(arquivo).isDir())
            SemeiaRegional(*m_armazem);
    }
    return *m_armazem;
}

void TRegistro::VerificaLeitura()
{
    const QString arquivo = ArquivoUsuario();
    const QFileInfo info(arquivo);
    if (m_armazem->status() != QSettings::NoError || info.isDir()
        || (info.exists() && !info.isReadable()))
        throw ErroES(QStringLiteral("Não foi possível ler o registro do usuário \"%1\"").arg(arquivo));
}

bool TRegistro::AbreChave(const QString& chave, bool criar)
{
    QSettings& s = Armazem();
    const QString grupo = GrupoDaChave(chave);
    // A key exists when its group holds values or subkeys.
    s.beginGroup(grupo);
    const bool existe = !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
    s.endGroup();
    if (!existe && !criar)
        return false;
    m_chave = grupo;
    return true;
}

void TRegistro::FechaChave() { m_chave.clear(); }

QString TRegistro::Caminho(const QString& nome) const { return m_chave + u'/' + nome; }

bool TRegistro::ExisteValor(const QString& nome)
{
    return ChaveAberta() && Armazem().contains(Caminho(nome));
}

QString TRegistro::LeTexto(const QString& nome)
{
    if (!ChaveAberta())
        throw ErroES(QStringLiteral("Nenhuma chave do registro está aberta"));
    VerificaLeitura();
    return Armazem().value(Caminho(nome)).toString();
}

void TRegistro::EscreveTexto(const QString& nome, const QString& valor)
{
    if (!ChaveAberta())
        throw ErroES(QStringLiteral("Nenhuma chave do registro está aberta"));
    QSettings& s = Armazem();
    s.setValue(Caminho(nome), valor);
    s.sync();
    if (s.status() != QSettings::NoError)
        throw ErroES(QStringLiteral("Não foi possível gravar o registro do usuário \"%1\"")
                         .arg(ArquivoUsuario()));
}
