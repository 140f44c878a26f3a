#include "reports/UAchados.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "examfiles/UBMapOperation.h"
#include "platform/UMensagens.h"

#include <memory>

AchadosOlho CalculaAchados(TMatrizAngAnel& dioptrias, const TMatrizAngAnel& posicoes,
                           const TAneisMeridiano& aneis, double fatorCorrecao, uint8_t tipo)
{
    TBFuncoesMapas mapa(dioptrias, posicoes, aneis, fatorCorrecao);
    mapa.CalculaMapa(tipo);
    AchadosOlho r;
    mapa.Ceratometria(r.Ceratometria, kRaioAchados);
    r.ValorMaximo = mapa.ValorMaximo();
    return r;
}

bool AchadosDoExame(TBMapOperation& leitor, const QString& prefixo, const QString& legenda,
                    double fatorCorrecao, uint8_t tipo, AchadosOlho& achados)
{
    bool carregado = false;
    try {
        carregado = leitor.CarregaExame(prefixo);
    } catch (const ErroSistema&) {
        carregado = false; // a value that is no number, a file that cannot be read
    }
    if (!carregado) {
        Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Não foi possível processar o mapa selecionado. ERROMAP03"),
                 IconeMensagem::Erro);
        return false;
    }
    try {
        achados = CalculaAchados(leitor.Dioptrias(), leitor.Posicoes(), leitor.AneisPorMeridiano(),
                                 fatorCorrecao, tipo);
    } catch (const ErroSistema& e) {
        Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Não foi possível calcular os achados do exame ") + legenda +
                     QStringLiteral(".\n") + e.Mensagem(),
                 IconeMensagem::Erro);
        return false;
    }
    return true;
}

QString FormataDioptria(double valor)
{
    return FormataNumero(QStringLiteral("#,##0.00;(#,##0.00)"), valor);
}

QString FormataEixo(int eixo) { return QString::number(eixo); }

QString TextoCondicoes()
{
    return QStringLiteral("Exames realizado em excelentes condições de centralização e "
                          "focalização.\nSem uso de lentes de contato #1# #2# #3#");
}

QString TextoOlho(uint8_t tipo, const AchadosOlho& a)
{
    const TDadosCeratometria& k = a.Ceratometria;
    const QString grau = QStringLiteral("º");
    QString t = QStringLiteral("Astigmatismo #1# #2# e #3# #4#, #5#, com curvatura máxima "
                               "observada de ") +
                FormataDioptria(a.ValorMaximo);
    if (tipo == TBFuncoesMapas::MapaTangencial)
        t += QStringLiteral(" D, #6# no mapa de construção Tangencial. A Ceratometria Simulada "
                            "Ortogonalmente Corrigida dos 3 mm centrais da córnea, segundo o "
                            "mapa de construção tangencial, revela #7# astigmatismo corneano de ");
    else
        t += QStringLiteral(" D, #6# no mapa de construção Axial (ou Sagital, com eixo passando "
                            "pelo ápice corneano). A Ceratometria Simulada Ortogonalmente "
                            "Corrigida dos 3 mm centrais da córnea, segundo o mapa de construção "
                            "axial, revela #7# astigmatismo corneano de ");
    t += FormataDioptria(k.DifK) + QStringLiteral(" D @ ") + FormataEixo(k.Eixo1) + grau +
         QStringLiteral(" com meridianos de ") + FormataDioptria(k.K1) + QStringLiteral(" D @ ") +
         FormataEixo(k.Eixo1) + grau + QStringLiteral(" e ") + FormataDioptria(k.K2) +
         QStringLiteral(" D @ ") + FormataEixo(k.Eixo2) + grau + u'.';
    return t;
}

QString TextoConclusao()
{
    return QStringLiteral("Videoceratografia compatível com astigmatismo #1# #2# e #3# #4#, "
                          "#5#, #6# em OD e compatível com astigmatismo #7# #8# e #9# #10#, "
                          "#11#, #12# em OS. #13# #14##15# #16#.");
}
