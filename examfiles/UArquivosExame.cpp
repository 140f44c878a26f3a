#include "examfiles/UArquivosExame.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "config/URegistrosZR.h"
#include "platform/UMensagens.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString ArquivoExame(int64_t codPaciente, int64_t codExame, const char* sufixo)
{
    return PrefixoExame(codPaciente, codExame) + QLatin1String(sufixo);
}

int NumAneisAtual()
{
    const int n = InfosZR.NumAneis;
    if (n < 0 || n > kMaxAneis)
        throw ErroSistema(
            QStringLiteral("Número de anéis inválido na configuração: %1.").arg(n));
    return n;
}

// Line breaks typed in an edit box become CR LF, the line break of the system's files.
QString QuebrasCrLf(QString texto)
{
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(u'\r', u'\n');
    texto.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return texto;
}

void AcrescentaInteiro(QByteArray& saida, int64_t valor)
{
    saida.append(QByteArray::number(static_cast<qlonglong>(valor)));
}

// Reads the text as a number whose decimal separator is ".".
bool LeReal(const QString& texto, QChar separador, double& valor)
{
    if (separador == u'.')
        return TentaReal(texto, valor);
    if (texto.contains(u'.'))
        return false;
    QString t = texto;
    t.replace(separador, u'.');
    return TentaReal(t, valor);
}

} // namespace

QString PastaExamesPaciente(int64_t codPaciente)
{
    return CaminhoEm(PathsZR.Exames, QString::number(codPaciente));
}

QString PastaLaudosPaciente(const QString& codPaciente)
{
    return CaminhoEm(PathsZR.Laudos, codPaciente);
}

QString PrefixoExame(int64_t codPaciente, int64_t codExame)
{
    return CaminhoEm(PastaExamesPaciente(codPaciente), QString::number(codExame));
}

QString PrefixoExemplo(const QString& nome)
{
    return CaminhoEm(PathsZR.Exemplos, nome);
}

namespace {

// "00.00" into a buffer without going through text objects; false for the values within a
// hair of a half cent (and the huge or non-finite ones), which the decimal formatter decides
// on the value's 15 significant digits.
bool FormataValorRapido(double valor, char* buf, int& tamanho)
{
    if (!std::isfinite(valor) || std::fabs(valor) >= 1e6)
        return false;
    const double escala = std::fabs(valor) * 100.0;
    const double base = std::floor(escala);
    const double fracao = escala - base;
    if (std::fabs(fracao - 0.5) <= 1e-6)
        return false;
    const auto centesimos = static_cast<int64_t>(base) + (fracao > 0.5 ? 1 : 0);
    char tmp[24];
    int p = sizeof tmp;
    tmp[--p] = char('0' + centesimos % 10);
    tmp[--p] = char('0' + (centesimos / 10) % 10);
    tmp[--p] = '.';
    int64_t inteira = centesimos / 100;
    int digitos = 0;
    do {
        tmp[--p] = char('0' + inteira % 10);
        inteira /= 10;
        ++digitos;
    } while (inteira > 0);
    if (digitos < 2)
        tmp[--p] = '0';
    if (valor < 0 && centesimos != 0)
        tmp[--p] = '-';
    tamanho = int(sizeof tmp) - p;
    std::memcpy(buf, tmp + p, size_t(tamanho));
    return true;
}

} // namespace

QString FormataValorMatriz(double valor)
{
    char buf[24];
    int tamanho = 0;
    if (FormataValorRapido(valor, buf, tamanho))
        return QString::fromLatin1(buf, tamanho);
    return FormataNumero(QStringLiteral("00.00"), valor);
}

QByteArray ConteudoMatriz(const TMatrizAngAnel& matriz, int numAneis)
{
    if (numAneis < 0 || numAneis > kMaxAneis)
        throw ErroSistema(QStringLiteral("Número de anéis inválido: %1.").arg(numAneis));
    QByteArray saida;
    saida.reserve(ZR_MERIDIANOS * ((numAneis + 1) * 7 + 2));
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        for (int j = 0; j <= numAneis; ++j) {
            char buf[24];
            int tamanho = 0;
            if (FormataValorRapido(matriz[i][j], buf, tamanho))
                saida.append(buf, tamanho);
            else
                saida.append(FormataValorMatriz(matriz[i][j]).toLatin1());
            saida.append(' ');
        }
        saida.append("\r\n");
    }
    return saida;
}

QByteArray ConteudoArquivoA(const TAneisMeridiano& aneis, double centroX, double centroY,
                            const TDadosPupila& pupila)
{
    QByteArray saida;
    saida.reserve(2000);
    saida.append(FormataNumero(QStringLiteral("0"), centroX).toLatin1()).append("\r\n");
    saida.append(FormataNumero(QStringLiteral("0"), centroY).toLatin1()).append("\r\n");
    saida.append("@\r\n");
    for (int k = 0; k < 4; ++k) {
        AcrescentaInteiro(saida, pupila[k]);
        saida.append("\r\n");
    }
    for (int i = 0; i < ZR_MERIDIANOS; ++i) {
        AcrescentaInteiro(saida, aneis[i]);
        saida.append("\r\n");
    }
    return saida;
}

QByteArray ConteudoLaudo(const QString& condicoes, const QString& olhoDireito,
                         const QString& olhoEsquerdo, const QString& conclusao,
                         const QString& comentarios)
{
    const QString separador = QStringLiteral("\r\n@\r\n");
    const QString texto = QuebrasCrLf(RemoveMarcadores(condicoes)) + separador
        + QuebrasCrLf(RemoveMarcadores(olhoDireito)) + separador
        + QuebrasCrLf(RemoveMarcadores(olhoEsquerdo)) + separador
        + QuebrasCrLf(RemoveMarcadores(conclusao)) + separador
        + QuebrasCrLf(RemoveMarcadores(comentarios)) + QStringLiteral("\r\n*");
    return ParaCp1252(texto);
}

void GravaArquivoD(int64_t codPaciente, int64_t codExame, const TMatrizAngAnel& d)
{
    const QByteArray conteudo = ConteudoMatriz(d, NumAneisAtual());
    GravaArquivoBytes(ArquivoExame(codPaciente, codExame, "d.txt"), conteudo);
}

void GravaArquivoM(int64_t codPaciente, int64_t codExame, const TMatrizAngAnel& m)
{
    const QByteArray conteudo = ConteudoMatriz(m, NumAneisAtual());
    GravaArquivoBytes(ArquivoExame(codPaciente, codExame, "m.txt"), conteudo);
}

void GravaArquivoA(int64_t codPaciente, int64_t codExame, const TAneisMeridiano& aneis,
                   double centroX, double centroY, const TDadosPupila& pupila)
{
    GravaArquivoBytes(ArquivoExame(codPaciente, codExame, "a.txt"),
                      ConteudoArquivoA(aneis, centroX, centroY, pupila));
}

namespace {

[[noreturn]] void FalhaGravacao(const QString& caminho, const QString& motivo)
{
    throw ErroES(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                     .arg(QDir::toNativeSeparators(caminho), motivo));
}

// Writes the bytes and forces them to the disk; on failure nothing of the file remains.
void GravaSincronizado(const QString& caminho, const QByteArray& conteudo)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        FalhaGravacao(caminho, arquivo.errorString());
    if (arquivo.write(conteudo) != conteudo.size() || !arquivo.flush()
        || ::fsync(arquivo.handle()) != 0) {
        const QString motivo = arquivo.errorString();
        arquivo.close();
        QFile::remove(caminho);
        FalhaGravacao(caminho, motivo);
    }
    arquivo.close();
}

// ".host.pid" of this workstation's process: workstations writing into one shared folder
// never use the same temporary name, and a leftover tells whose it is.
QString MarcaEstacao()
{
    static const QString marca = [] {
        QString host = QSysInfo::machineHostName();
        for (QChar& c : host)
            if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-')
                c = u'-';
        if (host.isEmpty())
            host = QStringLiteral("estacao");
        return u'.' + host + u'.' + QString::number(::getpid());
    }();
    return marca;
}

void SincronizaPasta(const QString& pasta)
{
    const int fd = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A second name for an earlier file (a hard link, or a copy where links are not possible),
// so that a failed rename can put it back.
bool GuardaAnterior(const QString& arquivo, const QString& anterior)
{
    QFile::remove(anterior);
    if (::link(QFile::encodeName(arquivo).constData(), QFile::encodeName(anterior).constData())
        == 0)
        return true;
    return QFile::copy(arquivo, anterior);
}

} // namespace

void GravaArquivosExame(const QString& prefixo, const QByteArray& d, const QByteArray& m,
                        const QByteArray& a)
{
    constexpr int n = 3;
    const char* const letras[n] = {"d.txt", "m.txt", "a.txt"};
    const QByteArray* const conteudos[n] = {&d, &m, &a};
    QString finais[n], temporarios[n], anteriores[n];
    bool existia[n] = {};
    for (int k = 0; k < n; ++k) {
        finais[k] = prefixo + QLatin1String(letras[k]);
        temporarios[k] = finais[k] + MarcaEstacao() + QLatin1String(SufixoTemporarioExame);
        anteriores[k] = finais[k] + MarcaEstacao() + QLatin1String(SufixoAnteriorExame);
    }
    const auto limpa = [&] {
        for (int k = 0; k < n; ++k) {
            QFile::remove(temporarios[k]);
            if (existia[k])
                QFile::remove(anteriores[k]);
        }
    };

    try {
        for (int k = 0; k < n; ++k)
            GravaSincronizado(temporarios[k], *conteudos[k]);
        for (int k = 0; k < n; ++k) {
            const QFileInfo info(finais[k]);
            if (!info.exists() && !info.isSymLink())
                continue;
            if (!info.isFile() || !GuardaAnterior(finais[k], anteriores[k]))
                FalhaGravacao(finais[k], QStringLiteral("o arquivo anterior não pôde ser preservado"));
            existia[k] = true;
        }
    } catch (...) {
        limpa();
        throw;
    }

    for (int k = 0; k < n; ++k) {
        if (::rename(QFile::encodeName(temporarios[k]).constData(),
                     QFile::encodeName(finais[k]).constData())
            == 0)
            continue;
        const QString motivo = qt_error_string(errno);
        // Put the earlier set back: the files already renamed return to their old content.
        for (int j = 0; j < k; ++j) {
            if (existia[j])
                ::rename(QFile::encodeName(anteriores[j]).constData(),
                         QFile::encodeName(finais[j]).constData());
            else
                QFile::remove(finais[j]);
        }
        limpa();
        FalhaGravacao(finais[k], motivo);
    }
    SincronizaPasta(QFileInfo(finais[0]).absolutePath());
    limpa();
}

int RemoveTemporariosExame(const QString& raiz)
{
    if (raiz.isEmpty() || !QFileInfo(raiz).isDir())
        return 0;
    const QStringList filtros = {QStringLiteral("*") + QLatin1String(SufixoTemporarioExame),
                                 QStringLiteral("*") + QLatin1String(SufixoAnteriorExame)};
    int removidos = 0;
    QStringList pastas = {raiz};
    const QDir dirRaiz(raiz);
    for (const QString& sub : dirRaiz.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks))
        pastas << dirRaiz.filePath(sub);
    // A leftover of this machine goes when its process has ended; one of another
    // workstation (a shared folder) only when it is a day old, since that workstation may
    // be writing it now.
    static const QRegularExpression marcado(QStringLiteral("\\.([A-Za-z0-9-]+)\\.([0-9]+)\\.zr(tmp|ant)$"));
    const QString host = MarcaEstacao().section(u'.', 1, 1);
    const QDateTime limite = QDateTime::currentDateTime().addDays(-1);
    const auto sobra = [&](const QFileInfo& info) {
        const QRegularExpressionMatch m = marcado.match(info.fileName());
        if (!m.hasMatch())
            return true;
        if (m.captured(1) == host) {
            const pid_t pid = static_cast<pid_t>(m.captured(2).toLongLong());
            return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
        }
        return info.lastModified() < limite;
    };
    for (const QString& pasta : pastas) {
        QDir dir(pasta);
        for (const QFileInfo& info : dir.entryInfoList(filtros, QDir::Files | QDir::System | QDir::Hidden))
            if (sobra(info))
                removidos += QFile::remove(info.filePath()) ? 1 : 0;
    }
    return removidos;
}

bool GravaArquivoLaudo(const QString& codPaciente, const QString& codLaudo,
                       const QString& condicoes, const QString& olhoDireito,
                       const QString& olhoEsquerdo, const QString& conclusao,
                       const QString& comentarios)
{
    const QString arquivo = CaminhoEm(PastaLaudosPaciente(codPaciente), codLaudo + QStringLiteral("l.txt"));
    bool gravado = false;
    try {
        GravaArquivoBytes(arquivo, ConteudoLaudo(condicoes, olhoDireito, olhoEsquerdo,
                                                 conclusao, comentarios));
        // A file left from an earlier save does not count: only a completed write does.
        gravado = QFileInfo::exists(arquivo);
    } catch (const ErroES&) {
        gravado = false;
    }
    Mensagem(QStringLiteral("Informação"),
             gravado ? QStringLiteral("Laudo gravado com sucesso.")
                     : QStringLiteral("Não foi possível gravar o arquivo de laudo."),
             IconeMensagem::Informacao, BotoesMensagem::Ok);
    return gravado;
}

QStringList LeTextoLaudo(const QStringList& linhas)
{
    QStringList secoes;
    qsizetype k = 0;
    for (int secao = 0; secao < 5; ++secao) {
        QStringList texto;
        while (k < linhas.size()) {
            const QString& linha = linhas[k++];
            if (linha == u"@" || (secao == 4 && linha == u"*"))
                break;
            texto << linha;
        }
        QString junto = texto.join(u'\n');
        // Comments of blanks alone are no comments (a printout leaves out their heading).
        if (secao == 4 && junto.trimmed().isEmpty())
            junto.clear();
        secoes << junto;
    }
    return secoes;
}

QStringList LeArquivoLaudo(const QString& codPaciente, const QString& codLaudo)
{
    return LeTextoLaudo(LeArquivoExame(
        CaminhoEm(PastaLaudosPaciente(codPaciente), codLaudo + QStringLiteral("l.txt"))));
}

QStringList LeArquivoExame(const QString& caminho)
{
    const QFileInfo info(caminho);
    if (info.isFile() && info.size() > kTamanhoMaximoArquivoExame)
        throw ErroES(QStringLiteral("O arquivo \"%1\" tem %2 bytes, mais do que os %3 MB de um "
                                    "arquivo de exame; não foi lido.")
                         .arg(QDir::toNativeSeparators(caminho))
                         .arg(info.size())
                         .arg(kTamanhoMaximoArquivoExame / (1024 * 1024)));
    return LeArquivoTexto(caminho);
}

QString CitaValor(const QString& valor)
{
    constexpr qsizetype limite = 40;
    if (valor.size() <= limite)
        return u'\'' + valor + u'\'';
    return QStringLiteral("'%1...' (%2 caracteres)").arg(valor.left(limite)).arg(valor.size());
}

QString RemoveMarcadores(const QString& texto)
{
    QString saida;
    saida.reserve(texto.size());
    const qsizetype n = texto.size();
    qsizetype i = 0;
    while (i < n) {
        if (texto[i] != u'#') {
            saida += texto[i++];
            continue;
        }
        const qsizetype fim = texto.indexOf(u'#', i + 1);
        if (fim < 0) { // nothing closes it: plain text
            saida += QStringView(texto).mid(i);
            break;
        }
        const QStringView interno = QStringView(texto).mid(i + 1, fim - i - 1);
        if (interno.size() > 2) {
            const qsizetype traco = interno.indexOf(u'-');
            if (traco >= 0)
                saida += interno.mid(traco + 1);
            else
                saida += QStringView(texto).mid(i, fim - i + 1);
        }
        i = fim + 1;
    }
    return saida;
}

QString MaiusculasAcentuadas(const QString& texto)
{
    static const QString minusculas = QStringLiteral("áàãâäéèêëíìîïóòõôöúùüûç");
    static const QString maiusculas = QStringLiteral("ÁÀÃÂÄÉÈÊËÍÌÎÏÓÒÕÔÖÚÙÜÛÇ");
    QString saida = texto;
    for (QChar& c : saida) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - u'a' + u'A'));
        else if (u >= 0xC0) {
            const qsizetype k = minusculas.indexOf(c);
            if (k >= 0)
                c = maiusculas[k];
        }
    }
    return saida;
}

double ConverteNumero(const QString& texto, QChar separador)
{
    QString t = texto;
    if (!t.contains(separador)) {
        const QChar outro = separador == u',' ? QChar(u'.') : QChar(u',');
        const qsizetype k = t.indexOf(outro);
        if (k >= 0)
            t[k] = separador;
    }
    double valor = 0;
    if (!LeReal(t, separador, valor))
        throw ErroConversao(QStringLiteral("%1 não é um valor numérico válido").arg(CitaValor(texto)));
    return valor;
}

namespace {

// The usual value of a data file ("43.50", "-01.50", "43,50") read straight from the line;
// false sends the token to ConverteNumero, which accepts or refuses it with its message.
bool LeValorRapido(QStringView token, QChar separador, double& valor)
{
    if (separador != u'.' || token.size() >= 40)
        return false;
    char buf[40];
    bool temPonto = false;
    for (qsizetype k = 0; k < token.size(); ++k) {
        const char16_t c = token[k].unicode();
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u',' || c == u'-' || c == u'e'
              || c == u'E'))
            return false;
        temPonto = temPonto || c == u'.';
        buf[k] = char(c);
    }
    if (!temPonto)
        for (qsizetype k = 0; k < token.size(); ++k)
            if (buf[k] == ',') {
                buf[k] = '.';
                break;
            }
    const char* fim = buf + token.size();
    const auto r = std::from_chars(buf, fim, valor, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == fim && std::isfinite(valor);
}

} // namespace

void LeLinhaMatriz(const QString& linha, double (&linhaMatriz)[ZR_COLUNAS_ANEL], QChar separador)
{
    const QStringView texto(linha);
    const qsizetype n = texto.size();
    qsizetype i = 0;
    int coluna = 0;
    while (i < n) {
        while (i < n && (texto[i] == u' ' || texto[i] == u'\t'))
            ++i;
        if (i >= n)
            break;
        qsizetype fim = i;
        while (fim < n && texto[fim] != u' ' && texto[fim] != u'\t')
            ++fim;
        if (coluna >= ZR_COLUNAS_ANEL)
            throw ErroConversao(
                QStringLiteral("A linha tem mais de %1 valores.").arg(int(ZR_COLUNAS_ANEL)));
        const QStringView token = texto.mid(i, fim - i);
        double valor = 0;
        if (!LeValorRapido(token, separador, valor))
            valor = ConverteNumero(token.toString(), separador);
        linhaMatriz[coluna++] = valor;
        i = fim;
    }
}

void LeMatrizTexto(const QStringList& lista, int inicio, TMatrizAngAnel& destino)
{
    for (int k = 0; k < ZR_MERIDIANOS; ++k)
        for (int j = 0; j < ZR_COLUNAS_ANEL; ++j)
            destino[k][j] = 0.0;
    for (int k = 0; k < ZR_MERIDIANOS; ++k) {
        const qsizetype linha = qsizetype(inicio) + k;
        if (linha < 0 || linha >= lista.size())
            continue;
        try {
            LeLinhaMatriz(lista[linha], destino[k]);
        } catch (const ErroConversao& e) {
            throw ErroConversao(QStringLiteral("Linha %1: %2").arg(linha + 1).arg(e.Mensagem()));
        }
    }
}
