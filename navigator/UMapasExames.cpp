// The navigator's map buttons: the single map of the selected examination or example, the
// multi-examination maps through the module's wizard, and the small axial map of the
// details panel. The rules without windows are in UMapasNavegador.

#include "navigator/UfrmExames.h"

#include "common/UErros.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UBJpeg.h"
#include "data/UDArquivos.h"
#include "data/UDMPrincipal.h"
#include "data/UOperacaoBD.h"
#include "examfiles/UArquivosExame.h"
#include "examfiles/UBMapOperation.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"
#include "navigator/UMapasNavegador.h"
#include "navigator/UfrmAguarde.h"
#include "platform/UMensagens.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QScopeGuard>
#include <QTimer>

#include <memory>

using namespace Navegador;

namespace {

// The examination data the map buttons hand over: one reader for the navigator.
TBMapOperation& Leitor()
{
    static TBMapOperation leitor;
    return leitor;
}

// The examinations of the last multi-map display.
ConjuntoMapas& Conjunto0()
{
    static ConjuntoMapas conjunto;
    return conjunto;
}

const QString kInformacao = QStringLiteral("Informação");
const QString kErroMapa = QStringLiteral("Não foi possível processar o mapa selecionado. ");
const QString kNaoEncontrado = QStringLiteral("Não foi encontrado um dos exames. Não é possível continuar.");

void Informa(const QString& texto, IconeMensagem icone) { Mensagem(kInformacao, texto, icone); }

// The caption of the map button that sent the click.
QString LegendaBotao(QObject* origem)
{
    if (auto* acao = qobject_cast<QAction*>(origem))
        return acao->text();
    return QString();
}

// A stored picture as the module takes it: the JPEG decoded into a bitmap, or nothing.
std::unique_ptr<BufferMemoria> ImagemModulo(QBuffer& jpeg)
{
    if (jpeg.data().isEmpty() || !TBJpeg().JpegParaBitmap(jpeg))
        return nullptr;
    return std::make_unique<BufferMemoria>(jpeg.data());
}

// The header data of the examination IBQueryExames stands on.
DadosCabecalho DadosDoExame(TDMPrincipal& dm)
{
    const ConsultaBD& q = *dm.IBQueryExames;
    DadosCabecalho d;
    d.codPaciente = q.Inteiro(QStringLiteral("CODPACIENTE"));
    d.olho = q.Texto(QStringLiteral("OLHO"));
    d.data = q.Data(QStringLiteral("DATA"));
    d.hora = q.Hora(QStringLiteral("HORA"));
    d.codExame = q.Inteiro(QStringLiteral("CODIGO"));
    d.indConf = q.Real(QStringLiteral("INDCONF"));
    const int codResp = q.Inteiro(QStringLiteral("CODRESP"));
    ConsultaBD& p = PreparaOperacao(dm, QStringLiteral("SELECT Nome, RG FROM Pacientes WHERE Codigo=:Codigo"));
    p.DefineParametro(QStringLiteral("Codigo"), d.codPaciente);
    p.Abre();
    if (!p.Vazia()) {
        d.nomePaciente = p.Texto(QStringLiteral("NOME"));
        d.rg = p.Texto(QStringLiteral("RG"));
    }
    p.Fecha();
    ConsultaBD& m = PreparaOperacao(dm, QStringLiteral("SELECT Nome FROM Medicos WHERE Codigo=:Codigo"));
    m.DefineParametro(QStringLiteral("Codigo"), codResp);
    m.Abre();
    if (!m.Vazia())
        d.medico = m.Texto(QStringLiteral("NOME"));
    m.Fecha();
    return d;
}

// A ring count the modules can take: 1 to 32.
int AneisValidos(int n) { return std::clamp(n, 1, ZR_COLUNAS_ANEL - 1); }

} // namespace

// --- the map buttons ---------------------------------------------------------------------------

void TfrmExames::MapaClick()
{
    if (lswPrincipal->selectedItems().isEmpty()) {
        Informa(QStringLiteral("Por favor, selecione um exame para que o mapa possa ser exibido."),
                IconeMensagem::Informacao);
        return;
    }
    AbreMapa(LegendaBotao(sender()));
}

void TfrmExames::MapasClick()
{
    if (lswPrincipal->count() < 2) {
        Informa(QStringLiteral("Não há número suficiente de exames para gerar o mapa desejado."),
                IconeMensagem::Informacao);
        return;
    }
    AbreMapas(LegendaBotao(sender()));
}

// --- one examination ---------------------------------------------------------------------------

void TfrmExames::AbreMapa(const QString& modulo)
{
    TBMapOperation& leitor = Leitor();
    const QList<QListWidgetItem*> sel = lswPrincipal->selectedItems();
    const QString legenda = sel.isEmpty() ? LegendaSelecionada : sel.first()->text();

    if (ModoExemplos) {
        const QString nome = NomeExemplo(legenda);
        if (!leitor.CarregaExame(PrefixoExemplo(nome))) {
            Informa(kErroMapa + QStringLiteral("ERROMAP02"), IconeMensagem::Erro);
            return;
        }
        TfrmAguarde::Mostra();
        TimerAguarde->start();
        auto esconde = qScopeGuard([] { TfrmAguarde::Esconde(); });
        ExecutaMapa(modulo, QStringLiteral("2"), CabecalhoExemploMapa(nome), 16, nullptr, nullptr);
        return;
    }

    // The examination query may stand on another examination (a multi-map display goes
    // through all of them): find the selected one again.
    if (!LocalizaExame(legenda)) {
        Mensagem(QStringLiteral("Erro"), QStringLiteral("Erro ao selecionar o exame."), IconeMensagem::Erro);
        return;
    }
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    ConsultaBD& q = *dm.IBQueryExames;
    const int codExame = q.Inteiro(QStringLiteral("CODIGO"));
    const QString prefixo = PrefixoExame(q.Inteiro(QStringLiteral("CODPACIENTE")), codExame);
    if (!leitor.CarregaExame(prefixo)) {
        Informa(kErroMapa + QStringLiteral("ERROMAP03\r\rDiretorio: ") + prefixo, IconeMensagem::Erro);
        return;
    }

    TfrmAguarde::Mostra();
    TimerAguarde->start();
    auto esconde = qScopeGuard([] { TfrmAguarde::Esconde(); });
    try {
        QBuffer jpegCentral, jpegLateral;
        try {
            TDArquivos(dm).LeImagens(codExame, jpegCentral, jpegLateral);
        } catch (const ErroSistema&) {
            jpegCentral.setData(QByteArray());
            jpegLateral.setData(QByteArray());
        }
        std::unique_ptr<BufferMemoria> central = ImagemModulo(jpegCentral);
        std::unique_ptr<BufferMemoria> lateral = ImagemModulo(jpegLateral);
        const QString tipoCone = q.Texto(QStringLiteral("TIPOCONE"));
        const int numAneis = q.Inteiro(QStringLiteral("NUMANEL"));
        ExecutaMapa(modulo, tipoCone, CabecalhoMapa(DadosDoExame(dm)), numAneis, central.get(), lateral.get());
    } catch (const ErroSistema&) {
        Informa(QStringLiteral("Não foi possivel abrir o exame selecionado."), IconeMensagem::Atencao);
    }
}

void TfrmExames::ExecutaMapa(const QString& modulo, const QString& tipoCone, const QStringList& cabecalho,
                             int numAneis, BufferMemoria* central, BufferMemoria* lateral)
{
    // Whatever way the call ends, the record gets its own ring count and cone type back.
    GuardaAneisCone guarda(InfosZR);
    InfosZR.NumAneis = AneisValidos(numAneis);
    InfosZR.TipoCone = tipoCone;

    TBMapOperation& leitor = Leitor();
    const QString arquivo = ArquivoMapa(PathsZR.DirMapas, modulo);
    const ConsultaBD& q = *TDMPrincipal::Instancia().IBQueryExames;
    const QString tipoExame = !ModoExemplos && q.Ativa() && !q.Vazia() ? q.Texto(QStringLiteral("TIPOEXAME")) : QString();
    const QList<QListWidgetItem*> sel = lswPrincipal->selectedItems();
    const QString nomeExemplo = ModoExemplos && !sel.isEmpty() ? NomeExemplo(sel.first()->text()) : QString();
    const EntradaMapa entrada = EscolheEntradaMapa(modulo, m_orto, ModoExemplos, tipoExame, nomeExemplo);

    InfosZRModulo infos(InfosZR);
    BufferMemoria cab;
    cab.DefineLinhas(cabecalho);
    void* janela = static_cast<QWidget*>(this);
    auto stream = [](BufferMemoria* b) { return b ? b->Stream() : nullptr; };

    switch (entrada) {
    case EntradaMapa::Lente: {
        auto libera = qScopeGuard([] { FreeLCDLL(); });
        if (!LoadLCDLL(arquivo)) {
            TfrmAguarde::Esconde();
            Informa(kErroMapa + QStringLiteral("ERROMAP04"), IconeMensagem::Erro);
            return;
        }
        PathsZRModulo paths(PathsZR);
        LCDLL.ProcessaLente(janela, stream(central), cab.Stream(), leitor.CentroX(), leitor.CentroY(),
                            &leitor.Posicoes(), &leitor.AneisPorMeridiano(), &leitor.Dioptrias(), infos.Registro(),
                            paths.Registro());
        return;
    }
    case EntradaMapa::Aberrometria: {
        // Loaded once and kept for the rest of the run.
        if (!AberrometriaDLL.ProcessaAberrometria || AberrometriaDLL.biblioteca.Arquivo() != arquivo) {
            AberrometriaDLL.biblioteca.Libera();
            if (!LoadAberrometriaDLL(arquivo))
                return;
        }
        // The module gets copies of its own; the navigator frees them after the call.
        struct Copias {
            TMatrizAngAnel posicoes, dioptrias;
            TAneisMeridiano aneis;
        };
        auto copias = std::make_unique<Copias>();
        leitor.CopiaPosicoes(copias->posicoes);
        leitor.CopiaDioptrias(copias->dioptrias);
        leitor.CopiaAneis(copias->aneis);
        ListaTextosModulo clinica({InfosZR.ClinicaNome, InfosZR.ClinicaEndereco, InfosZR.ClinicaCidadeEst,
                                   InfosZR.ClinicaTelefone});
        TextoModulo cone(InfosZR.TipoCone);
        AberrometriaDLL.ProcessaAberrometria(janela, &copias->posicoes, &copias->dioptrias, clinica.Lista(), cab.Stream(), 1,
                                             350, 350, InfosZR.Z0, InfosZR.FatorCorrecao, 3.0,
                                             uint8_t(InfosZR.Modelo), uint8_t(InfosZR.NumAneis), cone.c_str(),
                                             &copias->aneis);
        return;
    }
    default:
        break;
    }

    auto libera = qScopeGuard([] { FreeMapaDLL(); });
    if (!LoadMapaDLL(arquivo)) {
        TfrmAguarde::Esconde();
        Informa(kErroMapa + QStringLiteral("ERROMAP02"), IconeMensagem::Erro);
        return;
    }
    const auto chama = [&](zrmod::TProcessaMapa funcao, BufferMemoria* c, BufferMemoria* l,
                           const zrmod::TTriploOrto* orto) {
        // A module that lacks the entry is passed over.
        if (funcao)
            funcao(janela, stream(c), stream(l), leitor.CentroX(), leitor.CentroY(), cab.Stream(),
                   &leitor.Posicoes(), &leitor.AneisPorMeridiano(), &leitor.Dioptrias(), &leitor.Pupila(), orto,
                   infos.Registro());
    };
    if (entrada == EntradaMapa::ProcessaMapaOrto) {
        const zrmod::TTriploOrto orto{Sag, Div, Raio};
        chama(MapaDLL.ProcessaMapaOrto, central, lateral, &orto);
    } else if (entrada == EntradaMapa::ExemploOrto) {
        Sag = Div = Raio = 99.9999;
        const zrmod::TTriploOrto orto{Sag, Div, Raio};
        chama(MapaDLL.ProcessaMapa, nullptr, nullptr, &orto);
    } else {
        chama(MapaDLL.ProcessaMapa, central, lateral, nullptr);
    }
}

// --- several examinations ----------------------------------------------------------------------

namespace {

// The chosen lines that cannot be used: the message, and false.
bool EscolhaAceita(ErroEscolha erro)
{
    switch (erro) {
    case ErroEscolha::Nenhum:
        return true;
    case ErroEscolha::Excesso:
        Informa(QStringLiteral("O mapa de ortoceratologia compara no máximo 4 exames. Selecione até 4 exames."),
                IconeMensagem::Informacao);
        return false;
    default:
        Mensagem(QStringLiteral("Erro"), QStringLiteral("Erro ao selecionar o exame!"), IconeMensagem::Erro);
        return false;
    }
}

// Runs the module's wizard over the lines; the chosen lines, empty when it was cancelled.
QStringList ExecutaWizard(void* janela, const QString& modulo, const QStringList& linhas, BufferMemoria& opcoes,
                          bool edicaoOrto, const zrmod::TInfosZR* infos)
{
    BufferMemoria candidatos, selecao;
    candidatos.DefineLinhas(linhas);
    int32_t r = 0;
    if (ModuloDiferencial(modulo))
        r = MapasDLL.WizardDiferencial(janela, candidatos.Stream(), selecao.Stream(), opcoes.Stream(),
                                       uint8_t(edicaoOrto ? 1 : 0), infos);
    else
        r = MapasDLL.Wizard(janela, candidatos.Stream(), selecao.Stream(), opcoes.Stream(), infos);
    if (r != 1)
        return {};
    return LeLinhasTexto(selecao.Stream());
}

// Hands the examinations of set 0 to the module.
void ChamaMapas(void* janela, const QString& modulo, const QList<QStringList>& cabecalhos, BufferMemoria& opcoes,
                const zrmod::TInfosZR* infos)
{
    ConjuntoMapas& c = Conjunto0();
    DadosPacModulo dados(cabecalhos);
    opcoes.Rebobina();
    if (ModuloMultiOrto(modulo)) {
        // Four entries, whatever fewer were chosen; the rule above kept the count to four.
        zrmod::TBlocoOrto bloco{};
        for (int i = 0; i < std::min(4, c.Quantidade()); ++i) {
            const auto& v = c.ValoresOrto(i);
            bloco[i] = {v[0], v[1], v[2], v[3]};
        }
        MapasDLL.ProcessaMapasOrto(janela, dados.Dados(), c.ArrayPosicoes(), c.ArrayDioptrias(), &bloco, infos);
    } else {
        MapasDLL.ProcessaMapas(janela, dados.Dados(), c.ArrayPosicoes(), c.ArrayAneis(), c.ArrayDioptrias(),
                               c.ArrayPupilas(), c.Quantidade(), opcoes.Stream(), infos);
    }
}

// Copies what the reader holds into element i of set 0.
void CopiaParaConjunto(int i)
{
    TBMapOperation& leitor = Leitor();
    ConjuntoMapas& c = Conjunto0();
    leitor.CopiaDioptrias(c.Dioptrias(i));
    leitor.CopiaPosicoes(c.Posicoes(i));
    leitor.CopiaAneis(c.Aneis(i));
    leitor.CopiaPupila(c.Pupila(i));
}

} // namespace

void TfrmExames::VoltaAoExameSelecionado()
{
    if (ModoExemplos || LegendaSelecionada.isEmpty() || !m_itemSelecionado)
        return;
    try {
        LocalizaExame(LegendaSelecionada);
    } catch (const ErroSistema&) {
        // The next action that needs the examination finds it again.
    }
}

void TfrmExames::AbreMapas(const QString& modulo)
{
    if (ModoExemplos) {
        AbreMapasExemplo(modulo);
        return;
    }
    // Going through the list moves the examination query: it returns to the selected
    // examination (and its ortho-k values) however the display ends.
    auto volta = qScopeGuard([this] { VoltaAoExameSelecionado(); });
    TDMPrincipal& dm = TDMPrincipal::Instancia();
    ConsultaBD& q = *dm.IBQueryExames;

    QList<ExameCandidato> exames;
    for (int i = 0; i < lswPrincipal->count(); ++i) {
        const QString legenda = lswPrincipal->item(i)->text();
        if (!LocalizaExame(legenda)) {
            Mensagem(QStringLiteral("Erro"), QStringLiteral("Erro ao processar exames para a visualização do mapa!"),
                     IconeMensagem::Erro);
            return;
        }
        exames << ExameCandidato{legenda, q.Texto(QStringLiteral("TIPOEXAME"))};
    }
    const Candidatos candidatos = CandidatosWizard(modulo, exames);
    if (candidatos.invalidos) {
        Informa(QStringLiteral("Tipo de exame incorreto!\rEntre em contato com a assistência técnica"),
                IconeMensagem::Informacao);
        return;
    }
    if (!MinimoAtendido(modulo, candidatos.direitos, candidatos.esquerdos)) {
        Informa(QStringLiteral("Número insuficiente de exames para gerar o mapa desejado"), IconeMensagem::Informacao);
        return;
    }

    auto libera = qScopeGuard([] { FreeMapasDLL(); });
    if (!LoadMapasDLL(ArquivoMapa(PathsZR.DirMapas, modulo)))
        return;
    InfosZRModulo infos(InfosZR);
    void* janela = static_cast<QWidget*>(this);
    BufferMemoria opcoes;
    const QStringList escolhidas =
        ExecutaWizard(janela, modulo, candidatos.linhas, opcoes, m_orto, infos.Registro());
    if (escolhidas.isEmpty() || !EscolhaAceita(ConfereEscolhidas(escolhidas, candidatos.linhas, modulo)))
        return;

    repaint();
    TfrmAguarde::Mostra();
    TimerAguarde->start();
    auto esconde = qScopeGuard([] { TfrmAguarde::Esconde(); });
    ConjuntoMapas& conjunto = Conjunto0();
    conjunto.Dimensiona(int(escolhidas.size()));
    QList<QStringList> cabecalhos;
    for (int i = 0; i < escolhidas.size(); ++i) {
        if (!LocalizaExame(LegendaDaLinha(escolhidas.at(i)))) {
            TfrmAguarde::Esconde();
            Mensagem(QStringLiteral("Erro"), QStringLiteral("Erro ao selecionar o exame!"), IconeMensagem::Erro);
            return;
        }
        if (q.Texto(QStringLiteral("TIPOEXAME")) == QStringLiteral("O"))
            conjunto.ValoresOrto(i) = {Sag, Div, Raio, 0.0};
        if (!Leitor().CarregaExame(PrefixoExame(q.Inteiro(QStringLiteral("CODPACIENTE")),
                                                q.Inteiro(QStringLiteral("CODIGO"))))) {
            TfrmAguarde::Esconde();
            Mensagem(QStringLiteral("Atenção"), kNaoEncontrado, IconeMensagem::Atencao);
            return;
        }
        CopiaParaConjunto(i);
        cabecalhos << CabecalhoMapas(DadosDoExame(dm));
    }
    ChamaMapas(janela, modulo, cabecalhos, opcoes, infos.Registro());
}

void TfrmExames::AbreMapasExemplo(const QString& modulo)
{
    // The examples are 16-ring examinations of cone type "2", for the whole display.
    GuardaAneisCone guarda(InfosZR);
    InfosZR.NumAneis = 16;
    InfosZR.TipoCone = QStringLiteral("2");

    QStringList itens;
    for (int i = 0; i < lswPrincipal->count(); ++i)
        itens << lswPrincipal->item(i)->text();
    const QStringList linhas = LinhasExemplo(modulo, itens);
    if (!ExemplosAceitos(modulo, linhas)) {
        Mensagem(QCoreApplication::applicationName(),
                 QStringLiteral("Número insuficiente de exames OU os exemplos selecionados não são de ortoceratologia."));
        return;
    }

    auto libera = qScopeGuard([] { FreeMapasDLL(); });
    if (!LoadMapasDLL(ArquivoMapa(PathsZR.DirMapas, modulo)))
        return;
    InfosZRModulo infos(InfosZR);
    void* janela = static_cast<QWidget*>(this);
    BufferMemoria opcoes;
    const QStringList escolhidas = ExecutaWizard(janela, modulo, linhas, opcoes, m_orto, infos.Registro());
    if (escolhidas.isEmpty())
        return;
    const ErroEscolha erro = ConfereEscolhidas(escolhidas, linhas, modulo);
    if (erro == ErroEscolha::Desconhecida) {
        Mensagem(QStringLiteral("Atenção"), kNaoEncontrado, IconeMensagem::Atencao);
        return;
    }
    if (!EscolhaAceita(erro))
        return;

    repaint();
    TfrmAguarde::Mostra();
    TimerAguarde->start();
    auto esconde = qScopeGuard([] { TfrmAguarde::Esconde(); });
    ConjuntoMapas& conjunto = Conjunto0();
    conjunto.Dimensiona(int(escolhidas.size()));
    QList<QStringList> cabecalhos;
    for (int i = 0; i < escolhidas.size(); ++i) {
        const QString& linha = escolhidas.at(i);
        int j = 0;
        while (j < linhas.size() && SemLetra(modulo, linhas.at(j)) != linha)
            ++j;
        if (j == linhas.size() || !Leitor().CarregaExame(PrefixoExemplo(NomeExemplo(itens.at(j))))) {
            TfrmAguarde::Esconde();
            Mensagem(QStringLiteral("Atenção"), kNaoEncontrado, IconeMensagem::Atencao);
            return;
        }
        conjunto.ValoresOrto(i) = {0.0, 0.0, 0.0, 0.0};
        CopiaParaConjunto(i);
        cabecalhos << CabecalhoExemploMapas(itens.at(j), linha);
    }
    ChamaMapas(janela, modulo, cabecalhos, opcoes, infos.Registro());
}

// --- the small axial map ---------------------------------------------------------------------

void TfrmExames::LimpaMiniMapa()
{
    imgVisualizar->clear();
    imgVisualizar->setText(QStringLiteral("Mini mapa Axial"));
    // Cleared: the next request for any examination draws again.
    m_codigoMiniMapa = -1;
}

void TfrmExames::MostraMiniMapa()
{
    if (!pnlInfoExame->isVisibleTo(this))
        return;
    if (!m_itemSelecionado || ModoExemplos) {
        Informa(QStringLiteral("Selecione um exame."), IconeMensagem::Erro);
        return;
    }
    if (!LocalizaExame(LegendaSelecionada)) {
        Mensagem(QStringLiteral("Erro"), QStringLiteral("Erro ao selecionar o exame."), IconeMensagem::Erro);
        return;
    }
    const ConsultaBD& q = *TDMPrincipal::Instancia().IBQueryExames;
    const int codigo = q.Inteiro(QStringLiteral("CODIGO"));
    if (codigo != m_codigoMiniMapa) {
        TBMapOperation& leitor = Leitor();
        if (!leitor.CarregaExame(PrefixoExame(q.Inteiro(QStringLiteral("CODPACIENTE")), codigo))) {
            Informa(kErroMapa + QStringLiteral("1"), IconeMensagem::Erro);
            return;
        }
        TfrmAguarde::Mostra();
        auto esconde = qScopeGuard([] { TfrmAguarde::Esconde(); });
        auto libera = qScopeGuard([] { FreeMapaDLL(); });
        if (LoadMapaDLL(ArquivoMapa(PathsZR.DirMapas, QStringLiteral("Axial"))) && MapaDLL.Visualizar) {
            InfosZRModulo infos(InfosZR);
            BufferMemoria saida;
            // The module may write through the last argument; the picture comes only from
            // the buffer.
            m_controleModulo = imgVisualizar;
            MapaDLL.Visualizar(static_cast<QWidget*>(this), saida.Stream(), nullptr, 0, leitor.CentroX(),
                               leitor.CentroY(), &leitor.Posicoes(), &leitor.AneisPorMeridiano(), &leitor.Dioptrias(),
                               &leitor.Pupila(), m_blocoMiniMapa, 0, infos.Registro(), &m_controleModulo);
            QImage imagem;
            if (saida.Bytes().startsWith("BM") && imagem.loadFromData(saida.Bytes(), "BMP")) {
                imgVisualizar->setPixmap(QPixmap::fromImage(imagem.scaled(
                    imgVisualizar->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
                m_codigoMiniMapa = codigo;
            } else {
                LimpaMiniMapa();
            }
        }
    }
    if (cBoxMiniMapa->isChecked() != InfosZR.AutoMiniMapa) {
        try {
            TBIniSettings ini;
            ini.SelectFile(3);
            ini.WriteValue(TipoValorIni::Bool, QStringLiteral("OPCOES"), QStringLiteral("AUTOMINIMAPA"),
                           cBoxMiniMapa->isChecked(), QString());
            InfosZR.AutoMiniMapa = cBoxMiniMapa->isChecked();
        } catch (const ErroSistema& e) {
            Mensagem(QStringLiteral("Erro"), e.Mensagem(), IconeMensagem::Erro);
        }
    }
}
