// The navigator's export button: gathers what the selected examination gives the export
// (database rows, data files, camera image, the small axial map drawn by the Axial module)
// and opens "Exportar exame".

#include "navigator/UfrmExames.h"
#include "navigator/UfrmExportaExame.h"

#include "common/UErros.h"
#include "config/UArquivoIni.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDArquivos.h"
#include "data/UDMPrincipal.h"
#include "data/UDMedicos.h"
#include "data/UOperacaoBD.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"
#include "navigator/UfrmAguarde.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"

#include <QBuffer>
#include <QScopeGuard>

namespace {

// The axial map as the navigator's small map shows it, drawn by the installed Axial module.
QImage MapaAxial(QWidget* janela, TBMapOperation& leitor)
{
    auto libera = qScopeGuard([] { FreeMapaDLL(); });
    if (!LoadMapaDLL(ArquivoMapa(PathsZR.DirMapas, QStringLiteral("Axial"))) || !MapaDLL.Visualizar)
        return {};
    InfosZRModulo infos(InfosZR);
    BufferMemoria saida;
    double bloco[16] = {};
    void* controle = nullptr;
    MapaDLL.Visualizar(janela, saida.Stream(), nullptr, 0, leitor.CentroX(), leitor.CentroY(), &leitor.Posicoes(),
                       &leitor.AneisPorMeridiano(), &leitor.Dioptrias(), &leitor.Pupila(), bloco, 0, infos.Registro(),
                       &controle);
    QImage imagem;
    if (!saida.Bytes().startsWith("BM") || !imagem.loadFromData(saida.Bytes(), "BMP"))
        return {};
    return imagem;
}

} // namespace

bool TfrmExames::ExportarDisponivel() const { return ExameSelecionado && !ModoExemplos; }

void TfrmExames::tbExportarClick()
{
    if (!ExportarDisponivel() || !LocalizaExame(LegendaSelecionada)) {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Selecione um exame."), IconeMensagem::Erro);
        return;
    }
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    const ConsultaBD& q = *dm.IBQueryExames;
    ExameParaExportar e;
    TBIniSettings ini;
    ini.SelectFile(3);
    const QString arquivoIni = ini.FileName();
    {
        TfrmAguarde::Mostra();
        auto esconde = qScopeGuard([] { TfrmAguarde::Esconde(); });
        CabecalhoExportacao& c = e.cabecalho;
        c.codigo = q.Inteiro(QStringLiteral("CODIGO"));
        const int codPaciente = q.Inteiro(QStringLiteral("CODPACIENTE"));
        c.olho = q.Texto(QStringLiteral("OLHO"));
        c.data = q.Data(QStringLiteral("DATA"));
        c.hora = q.Hora(QStringLiteral("HORA"));
        c.aneis = q.Inteiro(QStringLiteral("NUMANEL"));
        c.tipoCone = q.Texto(QStringLiteral("TIPOCONE"));
        c.indiceConfianca = q.Real(QStringLiteral("INDCONF"));
        c.fatorCorrecao = InfosZR.FatorCorrecao;
        ArquivoIni::Le(arquivoIni, QStringLiteral("ZR"), QStringLiteral("Data"), c.dataCalibracao);
        const int codResp = q.Inteiro(QStringLiteral("CODRESP"));
        e.prefixo = PrefixoExame(codPaciente, c.codigo);

        DadosDicom& d = e.dicom;
        ConsultaBD& p = PreparaOperacao(
            dm, QStringLiteral("SELECT Nome, RG, CPF, DataNascimento, Sexo FROM Pacientes WHERE Codigo=:Codigo"));
        p.DefineParametro(QStringLiteral("Codigo"), codPaciente);
        p.Abre();
        if (!p.Vazia()) {
            e.identificacao = {p.Texto(QStringLiteral("NOME")), p.Texto(QStringLiteral("RG")),
                               p.Texto(QStringLiteral("CPF")), p.Texto(QStringLiteral("DATANASCIMENTO"))};
            d.sexo = p.Texto(QStringLiteral("SEXO"));
        }
        p.Fecha();
        d.medico = TDMedicos(dm).NomeMedico(codResp);
        d.codPaciente = codPaciente;
        d.nome = e.identificacao.nome;
        d.rg = e.identificacao.rg;
        d.dataNascimento = e.identificacao.dataNascimento;
        d.codExame = c.codigo;
        d.olho = c.olho;
        d.data = c.data;
        d.hora = c.hora;
        d.instituicao = InfosZR.ClinicaNome;

        QBuffer central, lateral;
        TDArquivos(dm).LeImagens(c.codigo, central, lateral);
        e.jpegCentral = central.data();

        try {
            d.raizUid = UidInstalacao(arquivoIni);
            TBMapOperation leitor;
            if (leitor.CarregaExame(e.prefixo)) {
                e.mapa = MapaAxial(this, leitor);
                const ExameExportado x = MontaExportacao(c, leitor);
                d.k1 = x.k1;
                d.k2 = x.k2;
                d.cilindro = x.cilindro;
                d.eixo1 = x.eixo1;
                d.eixo2 = x.eixo2;
                d.temCeratometria = true;
            }
        } catch (const ErroSistema& erro) {
            // The dialog still opens: the step that needs what failed says so when chosen.
            if (d.raizUid.isEmpty()) {
                Mensagem(QStringLiteral("Erro"), erro.Mensagem(), IconeMensagem::Erro);
                return;
            }
        }
    }
    TfrmExportaExame dialogo(e, LegendaSelecionada, arquivoIni, this);
    AbreJanelaModal(&dialogo);
}
