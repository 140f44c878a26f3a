#include "export/UEnvioDicom.h"

#include "common/UErros.h"
#include "config/UArquivoIni.h"

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dctk.h"
#include "dcmtk/dcmnet/diutil.h"
#include "dcmtk/dcmnet/scu.h"
#include "dcmtk/oflog/oflog.h"

#include <QSet>

namespace {

QString Destino(const ConfiguracaoPacs& c)
{
    return QStringLiteral("%1 (%2:%3)").arg(c.aeArquivo, c.host).arg(c.porta);
}

// One association with the archive, opened for the given SOP classes.
class Associacao {
public:
    Associacao(const ConfiguracaoPacs& cfg, const QStringList& classes) : m_cfg(cfg)
    {
        if (!cfg.Completa())
            throw ErroSistema(QStringLiteral("O arquivo de imagens (PACS) não está configurado: informe o AE title, "
                                             "o endereço e a porta na seção PACS das configurações."));
        // DCMTK's own progress lines stay out of the program's output.
        static const bool silencio = [] {
            OFLog::configure(OFLogger::WARN_LOG_LEVEL);
            return true;
        }();
        Q_UNUSED(silencio);
        const Uint32 tempo = Uint32(qBound(1, cfg.tempoLimite, 10));
        m_scu.setAETitle(cfg.aeLocal.toStdString().c_str());
        m_scu.setPeerAETitle(cfg.aeArquivo.toStdString().c_str());
        m_scu.setPeerHostName(cfg.host.toStdString().c_str());
        m_scu.setPeerPort(Uint16(cfg.porta));
        m_scu.setConnectionTimeout(Sint32(tempo));
        m_scu.setACSETimeout(tempo);
        m_scu.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
        m_scu.setDIMSETimeout(tempo);
        m_scu.setVerbosePCMode(OFFalse);
        OFList<OFString> sintaxes;
        sintaxes.push_back(UID_LittleEndianExplicitTransferSyntax);
        sintaxes.push_back(UID_LittleEndianImplicitTransferSyntax);
        for (const QString& c : classes)
            m_scu.addPresentationContext(c.toStdString().c_str(), sintaxes);
        OFCondition r = m_scu.initNetwork();
        if (r.bad())
            throw ErroSistema(QStringLiteral("Não foi possível preparar a conexão de rede: %1")
                                  .arg(QString::fromLatin1(r.text())));
        r = m_scu.negotiateAssociation();
        if (r == DUL_ASSOCIATIONREJECTED)
            throw ErroSistema(QStringLiteral("O arquivo de imagens %1 recusou a conexão (associação) da estação "
                                             "\"%2\": confira os AE titles nas configurações e no arquivo de imagens.")
                                  .arg(Destino(cfg), cfg.aeLocal));
        if (r == NET_EC_NoAcceptablePresentationContexts)
            throw ErroSistema(QStringLiteral("O arquivo de imagens %1 não aceita estes tipos de objeto DICOM.")
                                  .arg(Destino(cfg)));
        if (r.bad() && QString::fromLatin1(r.text()).contains(QStringLiteral("refused"), Qt::CaseInsensitive))
            throw ErroSistema(QStringLiteral("Ninguém atende na porta %2 de %1: confira o endereço e a porta do "
                                             "arquivo de imagens (%3).")
                                  .arg(cfg.host)
                                  .arg(cfg.porta)
                                  .arg(QString::fromLatin1(r.text())));
        if (r.bad())
            throw ErroSistema(QStringLiteral("O arquivo de imagens %1 não respondeu em %2 s (%3).")
                                  .arg(Destino(cfg))
                                  .arg(tempo)
                                  .arg(QString::fromLatin1(r.text())));
        m_aberta = true;
    }
    ~Associacao()
    {
        if (m_aberta)
            m_scu.releaseAssociation();
    }
    DcmSCU& Scu() { return m_scu; }

    T_ASC_PresentationContextID Contexto(const QString& classe)
    {
        const T_ASC_PresentationContextID id = m_scu.findPresentationContextID(classe.toStdString().c_str(), "");
        if (id == 0)
            throw ErroSistema(QStringLiteral("O arquivo de imagens %1 não aceita objetos da classe %2.")
                                  .arg(Destino(m_cfg), classe));
        return id;
    }

private:
    const ConfiguracaoPacs& m_cfg;
    DcmSCU m_scu;
    bool m_aberta = false;
};

} // namespace

ConfiguracaoPacs LeConfiguracaoPacs(const QString& arquivoIni)
{
    const ArquivoIni::Indice ini = ArquivoIni::Indice::DeArquivo(arquivoIni);
    ConfiguracaoPacs c;
    QString v;
    const QString secao = QStringLiteral("PACS");
    if (ini.Le(secao, QStringLiteral("AETITLE"), v) && !v.trimmed().isEmpty())
        c.aeLocal = v.trimmed();
    if (ini.Le(secao, QStringLiteral("AETITLEARQUIVO"), v))
        c.aeArquivo = v.trimmed();
    if (ini.Le(secao, QStringLiteral("HOST"), v))
        c.host = v.trimmed();
    bool ok = false;
    if (ini.Le(secao, QStringLiteral("PORTA"), v)) {
        const int p = v.trimmed().toInt(&ok);
        c.porta = ok && p > 0 && p < 65536 ? p : 0;
    }
    if (ini.Le(secao, QStringLiteral("TEMPOLIMITE"), v)) {
        const int t = v.trimmed().toInt(&ok);
        c.tempoLimite = ok && t >= 1 && t <= 10 ? t : 10;
    }
    return c;
}

void TestaConexaoPacs(const ConfiguracaoPacs& cfg)
{
    Associacao a(cfg, {QString::fromLatin1(UID_VerificationSOPClass)});
    const OFCondition r = a.Scu().sendECHORequest(a.Contexto(QString::fromLatin1(UID_VerificationSOPClass)));
    if (r.bad())
        throw ErroSistema(QStringLiteral("O arquivo de imagens %1 não respondeu ao teste de conexão (%2).")
                              .arg(Destino(cfg), QString::fromLatin1(r.text())));
}

void EnviaObjetosPacs(const ConfiguracaoPacs& cfg, const QList<ObjetoDicom>& objetos)
{
    if (objetos.isEmpty())
        return;
    QStringList classes;
    for (const ObjetoDicom& o : objetos)
        if (!classes.contains(o.sopClasse))
            classes.append(o.sopClasse);
    Associacao a(cfg, classes);
    for (const ObjetoDicom& o : objetos) {
        Uint16 status = 0;
        const OFCondition r = a.Scu().sendSTORERequest(a.Contexto(o.sopClasse), OFFilename(), o.arquivo->getDataset(), status);
        if (r.bad())
            throw ErroSistema(QStringLiteral("O envio do %1 ao arquivo de imagens %2 falhou: %3")
                                  .arg(o.Descricao(), Destino(cfg), QString::fromLatin1(r.text())));
        // 0000 success; Bxxx warnings (stored with a remark).
        if (status != 0 && (status & 0xF000) != 0xB000)
            throw ErroSistema(QStringLiteral("O arquivo de imagens %1 recusou o %2 (status 0x%3).")
                                  .arg(Destino(cfg), o.Descricao())
                                  .arg(status, 4, 16, QChar(u'0')));
    }
}
