#include "backup/UMidia.h"

#include "backup/UBackup.h"
#include "common/UErros.h"
#include "common/UTextoCp1252.h"
#include "data/UDMPrincipal.h"
#include "data/UServico.h"
#include "platform/UDrives.h"
#include "platform/UMensagens.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace Backup {

namespace {

const QString kPastaBanco = QStringLiteral("Banco de Dados");

void Anexa(fb::Servico& s, const QString& nomeBanco)
{
    // The service manager takes the user of the program's connection (a server
    // installation's own credentials), or else the owner's password sequence.
    if (TDMPrincipal::Existe() && TDMPrincipal::Instancia().Conectado()
        && TDMPrincipal::Instancia().NomeBanco() == nomeBanco) {
        const TDMPrincipal& dm = TDMPrincipal::Instancia();
        s.Anexa(nomeBanco, dm.UsuarioConexao(), dm.SenhaConexao());
        return;
    }
    try {
        s.Anexa(nomeBanco, QStringLiteral("sysdba"), QStringLiteral("qwzk47"));
    } catch (const fb::ErroFirebird& e) {
        if (!e.FalhaLogin())
            throw;
        s.Anexa(nomeBanco, QStringLiteral("sysdba"), QStringLiteral("gatehouse"));
    }
}

// Copies a file through a temporary name, then renames it over the target.
void CopiaArquivo(const QString& origem, const QString& destino)
{
    QFile o(origem);
    if (!o.open(QIODevice::ReadOnly))
        throw ErroES(QStringLiteral("Não foi possível ler o arquivo \"%1\".").arg(origem));
    GravaArquivoBytes(destino, o.readAll());
}

} // namespace

QString Destino(const QString& arquivoIni) { return LeTexto(arquivoIni, QStringLiteral("Destino")); }

qint64 EspacoNecessario(const QString& pastaBanco, const QString& arquivoIni)
{
    qint64 total = 0;
    for (const QFileInfo& f : QDir(pastaBanco).entryInfoList(QDir::Files))
        total += f.size();
    total += QFileInfo(arquivoIni).size();
    return total / 1024;
}

Ambiente AmbientePadrao()
{
    return {[](const QString& programa) { return !programa.isEmpty() && QProcess::startDetached(programa, {}); },
            [](int segundos) { QThread::sleep(static_cast<unsigned long>(segundos)); }};
}

FimPreparacao PreparaNovaMidia(const QString& destino, const QString& arquivoIni, const Ambiente& ambiente)
{
    const QString titulo = QStringLiteral("Backup");
    for (;;) {
        if (Mensagem(titulo, QStringLiteral("Insira um NOVO disco no drive e pressione OK."), IconeMensagem::Pergunta,
                     BotoesMensagem::OkCancelar) == RespostaMensagem::Cancelar)
            return FimPreparacao::Cancelada;
        const QString tipo = LeTexto(arquivoIni, QStringLiteral("TipoBkp")).trimmed().toUpper();
        const QString directCd = LeTexto(arquivoIni, QStringLiteral("DirectCD"));
        const int novo = LeInteiro(arquivoIni, QStringLiteral("DiscoAtual"), 0) + 1;
        const QString identidade = IdentidadeDisco(novo);
        const QString zipDat = destino + QStringLiteral("/zip.dat");
        if (tipo == QLatin1String("ZIP")) {
            if (!ConsultaDrive(destino).pronto)
                continue;
            if (Mensagem(titulo,
                         QStringLiteral("Será necessário um disco formatado, ou seja, que não contenha nenhum "
                                        "arquivo.\r\nCom a formatação todos os dados serão apagados! Deseja formatar o "
                                        "disco atual agora? "),
                         IconeMensagem::Pergunta, BotoesMensagem::SimNao) == RespostaMensagem::Sim) {
                const QString formatador = LeTexto(arquivoIni, QStringLiteral("Formatador"));
                if (!formatador.isEmpty() && !ambiente.executa(formatador))
                    Mensagem(titulo, QStringLiteral("Não foi possível iniciar o programa \"%1\".").arg(formatador),
                             IconeMensagem::Erro);
            }
            try {
                GravaArquivoBytes(zipDat, identidade.toLatin1());
            } catch (const ErroSistema&) {
            }
        } else if (tipo == QLatin1String("CDR")) {
            const EstadoDrive d = ConsultaDrive(destino);
            if (!d.pronto || d.total <= 0)
                continue;
            if (Mensagem(titulo,
                         QStringLiteral("Será necessário um CD-RW formatado, ou seja, que não contenha nenhum arquivo "
                                        "e que tenha sido gerado a partir do software apropriado.\r\nDeseja formatar o "
                                        "CD-RW agora?\r\nEscolha \"Sim\" para formatar o CD-RW ou escolha \"Não\" se "
                                        "este já for um CD-RW formatado"),
                         IconeMensagem::Informacao, BotoesMensagem::SimNao) == RespostaMensagem::Sim) {
                if (ambiente.executa(directCd)) {
                    ambiente.espera(7);
                    if (Mensagem(titulo, QStringLiteral("Deseja continuar o BackUp?"), IconeMensagem::Informacao,
                                 BotoesMensagem::SimNao) == RespostaMensagem::Nao)
                        return FimPreparacao::Encerra;
                } else {
                    Mensagem(titulo, QStringLiteral("Não foi possível iniciar o programa \"%1\".").arg(directCd),
                             IconeMensagem::Erro);
                }
            }
            try {
                GravaArquivoBytes(zipDat, identidade.toLatin1());
            } catch (const ErroSistema&) {
            }
            if (!QFileInfo::exists(zipDat)) {
                Mensagem(QStringLiteral("BackUp"), QStringLiteral("Erro ao gravar o arquivo .dat no CD. O BackUp será "
                                                                  "encerrado."),
                         IconeMensagem::Erro);
                return FimPreparacao::Encerra;
            }
        }
        EscreveChaves(arquivoIni, {{QStringLiteral("DiscoAtual"), QString::number(novo)},
                                   {QStringLiteral("ArquivoAtual"), QStringLiteral("1")},
                                   {QStringLiteral("NumArquivos"), QStringLiteral("0")},
                                   {QStringLiteral("NumArquivosLau"), QStringLiteral("0")},
                                   {QStringLiteral("NumExamDisco"), QStringLiteral("0")},
                                   {QStringLiteral("NumLauDisco"), QStringLiteral("0")}});
        return FimPreparacao::Preparada;
    }
}

QString ArquivoCopiaBanco(const QString& destino)
{
    return destino + u'/' + kPastaBanco + QStringLiteral("/DATABASE.FBK");
}

QString ArquivoResumoBanco(const QString& destino) { return ArquivoCopiaBanco(destino) + QStringLiteral(".sha256"); }

QString ResumoArquivo(const QString& caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f))
        return {};
    return QString::fromLatin1(h.result().toHex());
}

void CopiaBanco(const QString& nomeBanco, const QString& destino, const QString& arquivoIni,
                const QString& pastaDados, const std::function<void(const QString&)>& progresso)
{
    const QString pasta = destino + u'/' + kPastaBanco;
    if (!QDir().mkpath(pasta))
        throw ErroES(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(pasta));
    const QString final = ArquivoCopiaBanco(destino);
    const QString temporario = final + QStringLiteral(".tmp");
    QFile::remove(temporario);
    try {
        fb::Servico s;
        Anexa(s, nomeBanco);
        // A database on a server is sent through the service and written here; a local one
        // is written by the engine straight onto the medium.
        if (fb::Servico::Host(nomeBanco).isEmpty())
            s.ExecutaBackup(nomeBanco, temporario, progresso);
        else
            s.ExecutaBackupFluxo(nomeBanco, temporario, [&] {
                if (progresso)
                    progresso(QString());
            });
    } catch (const ErroSistema& e) {
        QFile::remove(temporario);
        throw ErroBancoDados(QStringLiteral("A cópia do banco de dados falhou; a cópia anterior da mídia foi "
                                            "mantida.\r\n") + e.Mensagem());
    }
    const QString resumo = ResumoArquivo(temporario);
    // The digest first: a copy in place always has its digest beside it.
    GravaArquivoBytes(ArquivoResumoBanco(destino) + QStringLiteral(".novo"), resumo.toLatin1());
    QFile::remove(final);
    if (!QFile::rename(temporario, final))
        throw ErroES(QStringLiteral("Não foi possível gravar \"%1\".").arg(final));
    QFile::remove(ArquivoResumoBanco(destino));
    QFile::rename(ArquivoResumoBanco(destino) + QStringLiteral(".novo"), ArquivoResumoBanco(destino));
    if (QFileInfo::exists(arquivoIni))
        CopiaArquivo(arquivoIni, destino + QStringLiteral("/BackUp.ini"));
    const QString iniDados = pastaDados + QStringLiteral("/BackUp.ini");
    if (!pastaDados.isEmpty() && QFileInfo::exists(iniDados))
        CopiaArquivo(iniDados, pasta + QStringLiteral("/BackUp.ini"));
}

QString PreparaBancoRestaurado(const QString& destino, const QString& nomeBanco,
                               const std::function<void(const QString&)>& progresso)
{
    const QString copia = ArquivoCopiaBanco(destino);
    const QString nada = QStringLiteral("\r\nNada foi restaurado.");
    if (!QFileInfo::exists(copia))
        throw ErroES(QStringLiteral("A cópia do banco de dados não está no backup: \"%1\".").arg(copia) + nada);
    QString gravado;
    QFile r(ArquivoResumoBanco(destino));
    if (r.open(QIODevice::ReadOnly))
        gravado = QString::fromLatin1(r.readAll()).trimmed();
    if (gravado.isEmpty() || ResumoArquivo(copia) != gravado)
        throw ErroES(QStringLiteral("A cópia do banco de dados do backup está danificada: \"%1\".").arg(copia) + nada);

    // The database file of a server is not this workstation's to replace: the other
    // workstations are working on it.
    if (!fb::Servico::Host(nomeBanco).isEmpty())
        throw ErroES(QStringLiteral("O banco de dados está no servidor \"%1\": a restauração do banco é feita "
                                    "no próprio servidor, com as estações fechadas.")
                         .arg(fb::Servico::Host(nomeBanco)) + nada);
    const QString atual = fb::Servico::Arquivo(nomeBanco);
    const QString novo = atual + QStringLiteral(".restaurado");
    QFile::remove(novo);
    try {
        fb::Servico s;
        Anexa(s, nomeBanco);
        s.ExecutaRestauracao(copia, novo, progresso);
        s.ExecutaValidacao(novo);
        s.Desanexa();
        fb::Conexao c;
        c.Abre(novo, {QStringLiteral("user_name=sysdba"), QStringLiteral("password=qwzk47")});
        c.VersaoEstrutura();
        c.Fecha();
    } catch (const ErroSistema& e) {
        QFile::remove(novo);
        throw ErroBancoDados(QStringLiteral("A cópia do banco de dados do backup não pôde ser restaurada.\r\n") +
                             e.Mensagem() + nada);
    }
    return novo;
}

bool TrocaBanco(TDMPrincipal& dm, const QString& novo)
{
    const QString atual = fb::Servico::Arquivo(dm.NomeBanco());
    const QFileInfo info(atual);
    const QString guardado = info.absolutePath() + u'/' + info.completeBaseName() +
                             QDateTime::currentDateTime().toString(QStringLiteral(" yyyy-MM-dd HHmmss")) + u'.' +
                             info.suffix();
    dm.PDesconectionDataBase();
    if (!QFile::rename(atual, guardado)) {
        dm.PSetDataBaseName(dm.NomeBanco());
        return false;
    }
    if (QFile::rename(novo, atual) && dm.PSetDataBaseName(dm.NomeBanco()))
        return true;
    dm.PDesconectionDataBase();
    if (QFileInfo::exists(atual))
        QFile::rename(atual, novo);
    QFile::rename(guardado, atual);
    dm.PSetDataBaseName(dm.NomeBanco());
    return false;
}

void RestauraControle(const QString& destino, const QString& arquivoIni)
{
    const QString doBackup = destino + QStringLiteral("/BackUp.ini");
    if (!QFileInfo::exists(doBackup))
        return;
    const QString manter = Destino(arquivoIni);
    CopiaArquivo(doBackup, arquivoIni);
    EscreveChaves(arquivoIni, {{QStringLiteral("Destino"), manter}});
}

} // namespace Backup
