#include "install/UInstalacao.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>

namespace Instalacao {

namespace {
QList<QPair<QString, Etapa>>& Etapas()
{
    static QList<QPair<QString, Etapa>> etapas;
    return etapas;
}

void CriaPasta(const QString& pasta, QStringList& relatorio)
{
    if (QFileInfo(pasta).isDir())
        return;
    if (!QDir().mkpath(pasta))
        throw ErroES(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(pasta));
    relatorio << QStringLiteral("pasta criada: %1").arg(pasta);
}
} // namespace

Pastas Pastas::De(const QString& raiz)
{
    const QString r = QDir(raiz).absolutePath();
    return {r, r + QStringLiteral("/bin"), r + QStringLiteral("/modulos"),
            r + QStringLiteral("/mapas"), r + QStringLiteral("/dados")};
}

QString TextoConfiguracao(const Pastas& pastas)
{
    QFile modelo(QStringLiteral(":/instalacao/ZR300.ini.in"));
    if (!modelo.open(QIODevice::ReadOnly))
        throw ErroES(QStringLiteral("Modelo do arquivo de configuração ausente."));
    QString texto = QString::fromUtf8(modelo.readAll());
    texto.replace(QStringLiteral("@VERSAO@"), QStringLiteral(ZR_VERSAO_PROGRAMA));
    texto.replace(QStringLiteral("@DATA@"), FormataData(QDate::currentDate()));
    // Folders relative to the program's folder, so that a copied installation uses its own.
    const QDir bin(pastas.bin);
    texto.replace(QStringLiteral("@DADOS@"), bin.relativeFilePath(pastas.dados));
    texto.replace(QStringLiteral("@MODULOS@"), bin.relativeFilePath(pastas.modulos));
    texto.replace(QStringLiteral("@MAPAS@"), bin.relativeFilePath(pastas.mapas));
    return texto;
}

void RegistraEtapa(const QString& nome, Etapa etapa)
{
    for (const auto& e : Etapas())
        if (e.first == nome)
            return;
    Etapas().append({nome, std::move(etapa)});
}

QStringList Instala(const QString& raiz, const std::function<bool(const QString&)>& incluiEtapa)
{
    const Pastas p = Pastas::De(raiz);
    QStringList relatorio;
    for (const QString& pasta :
         {p.bin, p.bin + QStringLiteral("/ajuda"), p.modulos, p.mapas, p.dados,
          p.dados + QStringLiteral("/Exames"), p.dados + QStringLiteral("/Laudos"),
          p.dados + QStringLiteral("/Exemplos"), p.dados + QStringLiteral("/Banco de Dados"),
          p.dados + QStringLiteral("/Calibração"), p.dados + QStringLiteral("/imgs")})
        CriaPasta(pasta, relatorio);
    if (!QFileInfo::exists(p.ArquivoConfiguracao())) {
        GravaArquivoTexto(p.ArquivoConfiguracao(), DivideLinhas(TextoConfiguracao(p)));
        relatorio << QStringLiteral("configuração criada: %1").arg(p.ArquivoConfiguracao());
    }
    // The backup control file beside the settings file: no disk yet, never reset, the
    // destination chosen in the backup module's window.
    const QString backupIni = p.bin + QStringLiteral("/BackUp.ini");
    if (!QFileInfo::exists(backupIni)) {
        GravaArquivoTexto(backupIni, {QStringLiteral("[BACKUP]"), QStringLiteral("TipoBkp="),
                                      QStringLiteral("DirectCD="), QStringLiteral("DiscoAtual=0"),
                                      QStringLiteral("BackupZerado=0"),
                                      QStringLiteral("UltBkp=01/01/2007 00:00:00"), QStringLiteral("Destino=")});
        relatorio << QStringLiteral("controle de backup criado: %1").arg(backupIni);
    }
    for (const auto& etapa : Etapas())
        if (!incluiEtapa || incluiEtapa(etapa.first))
            etapa.second(p, relatorio);
    return relatorio;
}

} // namespace Instalacao
