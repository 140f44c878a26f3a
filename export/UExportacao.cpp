#include "export/UExportacao.h"

#include "common/UErros.h"
#include "examfiles/UBMapOperation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool TemDicom(const PedidoExportacao& p) { return p.mapa || p.foto || p.laudo; }

QString Nativo(const QString& caminho) { return QDir::toNativeSeparators(caminho); }

} // namespace

QString ProblemaPedido(const PedidoExportacao& p, const ConfiguracaoPacs& pacs)
{
    const bool dicom = TemDicom(p) && (p.dicomPasta || p.enviarPacs);
    if (!p.numeros && !dicom)
        return QStringLiteral("Escolha o que exportar e para onde.");
    if ((p.numeros || (TemDicom(p) && p.dicomPasta)) && p.pasta.trimmed().isEmpty())
        return QStringLiteral("Escolha a pasta de destino.");
    if (p.laudo && (p.dicomPasta || p.enviarPacs) && !QFileInfo(p.arquivoLaudo).isFile())
        return QStringLiteral("Escolha o arquivo PDF do laudo.");
    if (p.enviarPacs && TemDicom(p) && !pacs.Completa())
        return QStringLiteral("O arquivo de imagens (PACS) não está configurado: informe o AE title, o endereço e a "
                              "porta na seção PACS das configurações.");
    return {};
}

QString ExecutaExportacao(const PedidoExportacao& p, const ExameParaExportar& e, const ConfiguracaoPacs& pacs,
                          const std::function<void(int, int, const QString&)>& progresso)
{
    const QString problema = ProblemaPedido(p, pacs);
    if (!problema.isEmpty())
        throw ErroSistema(problema);
    const bool dicom = TemDicom(p) && (p.dicomPasta || p.enviarPacs);
    const int total = (p.numeros ? 1 : 0) + (dicom ? 1 : 0) + (dicom && p.dicomPasta ? 1 : 0) +
                      (dicom && p.enviarPacs ? 1 : 0);
    int passo = 0;
    auto avanca = [&](const QString& texto) {
        if (progresso)
            progresso(passo++, total, texto);
    };
    QStringList feito;
    auto falha = [&](const ErroSistema& erro) {
        QString t = erro.Mensagem();
        if (!feito.isEmpty())
            t += QStringLiteral("\n\nJá concluído:\n") + feito.join(u'\n');
        throw ErroSistema(t);
    };

    try {
        if (p.numeros) {
            avanca(QStringLiteral("Gravando os números do exame..."));
            TBMapOperation leitor;
            if (!leitor.CarregaExame(e.prefixo))
                throw ErroSistema(QStringLiteral("Os arquivos de dados do exame não foram encontrados."));
            ExameExportado x = MontaExportacao(e.cabecalho, leitor);
            x.temIdentificacao = true;
            x.identificacao = e.identificacao;
            GravaExportacaoNumerica(p.pasta, x, p.identificacao);
            feito << QStringLiteral("Números do exame (JSON e CSV) gravados em %1%2.")
                         .arg(Nativo(p.pasta),
                              p.identificacao ? QStringLiteral(", com a identificação do paciente")
                                              : QStringLiteral(", sem identificação do paciente"));
        }
        if (dicom) {
            avanca(QStringLiteral("Montando os objetos DICOM..."));
            QList<ObjetoDicom> objetos;
            if (p.mapa)
                objetos << ObjetoMapa(e.dicom, e.mapa);
            if (p.foto)
                objetos << ObjetoFoto(e.dicom, e.jpegCentral);
            if (p.laudo) {
                QFile f(p.arquivoLaudo);
                if (!f.open(QIODevice::ReadOnly))
                    throw ErroES(QStringLiteral("Não foi possível ler o arquivo do laudo %1.").arg(Nativo(p.arquivoLaudo)));
                objetos << ObjetoLaudo(e.dicom, f.readAll(), QStringLiteral("Laudo"));
            }
            QStringList nomes;
            for (const ObjetoDicom& o : objetos)
                nomes << o.Descricao();
            if (p.dicomPasta) {
                avanca(QStringLiteral("Gravando os arquivos DICOM..."));
                GravaPastaDicom(p.pasta, objetos, p.dicomdir);
                feito << QStringLiteral("DICOM (%1) gravado em %2%3.")
                             .arg(nomes.join(QStringLiteral(", ")), Nativo(p.pasta),
                                  p.dicomdir ? QStringLiteral(", com DICOMDIR") : QString());
            }
            if (p.enviarPacs) {
                avanca(QStringLiteral("Enviando ao arquivo de imagens..."));
                EnviaObjetosPacs(pacs, objetos);
                feito << QStringLiteral("DICOM (%1) enviado ao arquivo de imagens %2 (%3:%4).")
                             .arg(nomes.join(QStringLiteral(", ")), pacs.aeArquivo, pacs.host)
                             .arg(pacs.porta);
            }
            if (p.mapa)
                feito << QStringLiteral("O mapa vai como imagem de captura secundária: o topógrafo não mede tudo o "
                                        "que o objeto de mapa de topografia corneana exige.");
        }
    } catch (const ErroSistema& erro) {
        falha(erro);
    }
    return QStringLiteral("Exportação concluída.\n") + feito.join(u'\n');
}
