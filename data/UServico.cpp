#include "data/UServico.h"

#include "common/UNomeBanco.h"
#include "common/UTextoCp1252.h"

#include <QFile>

#include <ibase.h>

namespace fb {

namespace {

// Appends a text argument with its two-byte length (service request) or one-byte length
// (service parameter block).
void Texto2(QByteArray& b, char etiqueta, const QByteArray& valor)
{
    b.append(etiqueta);
    b.append(char(valor.size() & 0xFF));
    b.append(char((valor.size() >> 8) & 0xFF));
    b.append(valor);
}

void Texto1(QByteArray& b, char etiqueta, const QByteArray& valor)
{
    b.append(etiqueta);
    b.append(char(qMin<qsizetype>(valor.size(), 255)));
    b.append(valor.left(255));
}

void Inteiro4(QByteArray& b, char etiqueta, uint32_t v)
{
    b.append(etiqueta);
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

Servico::~Servico() { Desanexa(); }

QString Servico::Host(const QString& nomeBanco) { return NomeBanco::Servidor(nomeBanco); }

QString Servico::Arquivo(const QString& nomeBanco) { return NomeBanco::Arquivo(nomeBanco); }

void Servico::Anexa(const QString& nomeBanco, const QString& usuario, const QString& senha)
{
    Desanexa();
    const QString host = Host(nomeBanco);
    const QByteArray nome = (host.isEmpty() ? QStringLiteral("service_mgr") : host + QStringLiteral(":service_mgr")).toLocal8Bit();
    QByteArray spb;
    spb.append(char(isc_spb_version));
    spb.append(char(isc_spb_current_version));
    Texto1(spb, isc_spb_user_name, ParaCp1252(usuario));
    Texto1(spb, isc_spb_password, ParaCp1252(senha));
    ISC_STATUS_ARRAY status;
    isc_svc_handle h = 0;
    if (isc_service_attach(status, static_cast<unsigned short>(nome.size()), nome.constData(), &h,
                           static_cast<unsigned short>(spb.size()), spb.constData()))
        LancaStatus(status);
    m_handle = h;
}

void Servico::Desanexa()
{
    if (!m_handle)
        return;
    ISC_STATUS_ARRAY status;
    isc_svc_handle h = m_handle;
    isc_service_detach(status, &h);
    m_handle = 0;
}

void Servico::Inicia(const QByteArray& pedido)
{
    ISC_STATUS_ARRAY status;
    isc_svc_handle h = m_handle;
    if (isc_service_start(status, &h, nullptr, static_cast<unsigned short>(pedido.size()), pedido.constData()))
        LancaStatus(status);
}

void Servico::IniciaBackup(const QString& banco, const QString& arquivo)
{
    QByteArray p;
    p.append(char(isc_action_svc_backup));
    Texto2(p, isc_spb_dbname, Arquivo(banco).toLocal8Bit());
    Texto2(p, isc_spb_bkp_file, arquivo.toLocal8Bit());
    // A line every 100 records besides the usual ones: progress keeps coming on tables of
    // large rows (images).
    Inteiro4(p, isc_spb_verbint, 100);
    Inicia(p);
}

void Servico::IniciaRestauracao(const QString& arquivo, const QString& banco)
{
    QByteArray p;
    p.append(char(isc_action_svc_restore));
    Texto2(p, isc_spb_bkp_file, arquivo.toLocal8Bit());
    Texto2(p, isc_spb_dbname, Arquivo(banco).toLocal8Bit());
    Inteiro4(p, isc_spb_options, isc_spb_res_create);
    p.append(char(isc_spb_verbose));
    Inicia(p);
}

void Servico::IniciaValidacao(const QString& banco)
{
    QByteArray p;
    p.append(char(isc_action_svc_repair));
    Texto2(p, isc_spb_dbname, Arquivo(banco).toLocal8Bit());
    Inteiro4(p, isc_spb_options, isc_spb_rpr_validate_db | isc_spb_rpr_full);
    Inicia(p);
}

QStringList Servico::LeSaida(const std::function<void(const QString&)>& linha)
{
    QStringList linhas;
    const char pedido[] = {isc_info_svc_line};
    const char espera[] = {isc_info_svc_timeout, 1, 0, 0, 0}; // one second per query
    char buffer[4096];
    for (;;) {
        ISC_STATUS_ARRAY status;
        isc_svc_handle h = m_handle;
        if (isc_service_query(status, &h, nullptr, sizeof espera, espera, sizeof pedido, pedido, sizeof buffer,
                              buffer))
            LancaStatus(status);
        const char* p = buffer;
        if (*p != isc_info_svc_line)
            break;
        ++p;
        const auto n = static_cast<unsigned short>(isc_vax_integer(p, 2));
        p += 2;
        if (n == 0) {
            // An empty answer: the service ended, unless the wait ran out.
            if (p[0] == isc_info_svc_timeout || p[0] == isc_info_data_not_ready)
                continue;
            break;
        }
        const QString texto = QString::fromLocal8Bit(p, n);
        linhas << texto;
        if (linha)
            linha(texto);
    }
    return linhas;
}

namespace {

void ConfereFim(const QStringList& linhas, const char* fim, const QString& erro)
{
    for (const QString& l : linhas)
        if (l.contains(QLatin1String(fim)))
            return;
    QString ultima = linhas.isEmpty() ? QString() : linhas.last().trimmed();
    throw ErroFirebird(erro + (ultima.isEmpty() ? QString() : QStringLiteral("\r\n") + ultima), isc_bad_db_format, 0);
}

} // namespace

void Servico::ExecutaBackup(const QString& banco, const QString& arquivo,
                            const std::function<void(const QString&)>& linha)
{
    IniciaBackup(banco, arquivo);
    ConfereFim(LeSaida(linha), "closing file, committing, and finishing",
               QStringLiteral("A cópia do banco de dados não foi concluída."));
}

void Servico::ExecutaRestauracao(const QString& arquivo, const QString& banco,
                                 const std::function<void(const QString&)>& linha)
{
    IniciaRestauracao(arquivo, banco);
    ConfereFim(LeSaida(linha), "finishing, closing, and going home",
               QStringLiteral("A cópia do banco de dados não pôde ser restaurada."));
}

void Servico::ExecutaBackupFluxo(const QString& banco, const QString& arquivoLocal,
                                 const std::function<void()>& bloco)
{
    QFile saida(arquivoLocal);
    if (!saida.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ErroES(QStringLiteral("Não foi possível gravar \"%1\".").arg(arquivoLocal));
    QByteArray p;
    p.append(char(isc_action_svc_backup));
    Texto2(p, isc_spb_dbname, Arquivo(banco).toLocal8Bit());
    Texto2(p, isc_spb_bkp_file, QByteArrayLiteral("stdout"));
    Inicia(p);
    const char pedido[] = {isc_info_svc_to_eof};
    QByteArray buffer(64 * 1024, '\0');
    for (;;) {
        ISC_STATUS_ARRAY status;
        isc_svc_handle h = m_handle;
        if (isc_service_query(status, &h, nullptr, 0, nullptr, sizeof pedido, pedido,
                              static_cast<unsigned short>(buffer.size() - 1), buffer.data()))
            LancaStatus(status);
        const char* q = buffer.constData();
        if (*q != isc_info_svc_to_eof)
            throw ErroFirebird(QStringLiteral("O serviço do banco de dados respondeu fora do esperado."),
                               isc_bad_db_format, 0);
        ++q;
        const auto n = static_cast<unsigned short>(isc_vax_integer(q, 2));
        q += 2;
        if (n > 0 && saida.write(q, n) != n)
            throw ErroES(QStringLiteral("Não foi possível gravar \"%1\".").arg(arquivoLocal));
        if (bloco)
            bloco();
        if (n == 0 && q[0] != isc_info_truncated)
            break;
    }
    if (!saida.flush())
        throw ErroES(QStringLiteral("Não foi possível gravar \"%1\".").arg(arquivoLocal));
}

void Servico::ExecutaValidacao(const QString& banco)
{
    IniciaValidacao(banco);
    const QStringList linhas = LeSaida();
    if (!linhas.join(QString()).trimmed().isEmpty())
        throw ErroFirebird(QStringLiteral("O banco de dados restaurado não passou na validação:\r\n") +
                               linhas.join(QStringLiteral("\r\n")),
                           isc_bad_db_format, 0);
}

} // namespace fb
