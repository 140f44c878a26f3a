#include "reports/UfrmLauRelat.h"

#include "common/UFormatos.h"
#include "config/URegistrosZR.h"
#include "data/UConsultaBD.h"
#include "data/UDMPrincipal.h"
#include "examfiles/UArquivosExame.h"
#include "navigator/UGravacaoExame.h"
#include "navigator/UfrmExames.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "reports/UfrmLaudo.h"
#include "reports/UfrmWizLaudo.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolBar>

#include <algorithm>

namespace {

// Text is measured and broken into lines at this resolution, whatever the device, so the
// preview, the paper and the PDF carry the same lines.
constexpr double kDpiMedida = 1200.0;
constexpr double kMmPorPolegada = 25.4;
constexpr double kMenorPonto = 7.0;
// Flowing content stops here when the foot carries the page number.
constexpr double kLimiteConteudo = 268.5;
constexpr double kTopoRodape = 270.0;
constexpr double kTopoContinuacao = 18.0;
constexpr double kFolga = 1.0; // least space between one element's text and the next

const QImage& Medidor()
{
    static const QImage img = [] {
        QImage i(8, 8, QImage::Format_RGB32);
        const int dpm = int(kDpiMedida / 0.0254 + 0.5);
        i.setDotsPerMeterX(dpm);
        i.setDotsPerMeterY(dpm);
        return i;
    }();
    return img;
}

double PxParaMm(double px) { return px * kMmPorPolegada / kDpiMedida; }

QFontMetricsF Metricas(const QFont& f) { return QFontMetricsF(f, &Medidor()); }

double LarguraMm(const QString& texto, const QFont& f) { return PxParaMm(Metricas(f).horizontalAdvance(texto)); }
double AlturaMm(const QFont& f) { return PxParaMm(Metricas(f).height()); }

// Breaks a plain text into lines of the width given (mm): line breaks are kept, words wrap.
QStringList QuebraLinhas(const QString& texto, const QFont& f, double largura)
{
    QStringList linhas;
    if (texto.isEmpty())
        return linhas;
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const double larguraPx = largura * kDpiMedida / kMmPorPolegada;
    for (const QString& paragrafo : t.split(u'\n')) {
        if (paragrafo.isEmpty()) {
            linhas << QString();
            continue;
        }
        QTextLayout layout(paragrafo, f, const_cast<QImage*>(&Medidor()));
        QTextOption op;
        op.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(op);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(larguraPx);
            linhas << paragrafo.mid(l.textStart(), l.textLength());
        }
        layout.endLayout();
    }
    return linhas;
}

// A doctor's name through the examination's responsible doctor; empty when either is gone.
QString MedicoDoExame(int exame)
{
    if (exame < 0)
        return {};
    ConsultaBD& q = *TDMPrincipal::Instancia().IBOperation;
    q.Fecha();
    q.DefineSQL(QStringLiteral("SELECT Exames.CodResp FROM Exames WHERE Exames.Codigo=:Codigo"));
    q.DefineParametro(QStringLiteral("Codigo"), exame);
    q.Abre();
    const bool achou = !q.Vazia();
    const int medico = achou ? q.Inteiro(QStringLiteral("CODRESP")) : -1;
    q.Fecha();
    if (!achou)
        return {};
    q.DefineSQL(QStringLiteral("SELECT Nome FROM Medicos WHERE Medicos.Codigo=:Codigo"));
    q.DefineParametro(QStringLiteral("Codigo"), medico);
    q.Abre();
    const QString nome = q.Vazia() ? QString() : q.Texto(QStringLiteral("NOME"));
    q.Fecha();
    return nome;
}

FonteImpressora& Impressora()
{
    static FonteImpressora fonte;
    return fonte;
}

std::unique_ptr<QPrinter> ImpressoraPadrao()
{
    if (Impressora())
        return Impressora()();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void PreparaImpressora(QPrinter& impressora)
{
    impressora.setFullPage(false);
    impressora.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(TfrmLauRelat::kMargem, TfrmLauRelat::kMargem,
                                                   TfrmLauRelat::kMargem, TfrmLauRelat::kMargem),
                                         QPageLayout::Millimeter));
    impressora.setDocName(QStringLiteral("Laudo"));
}

} // namespace

// --- contents --------------------------------------------------------------------------------

QString TipoMapaDoTexto(const QString& texto)
{
    if (texto.contains(QStringLiteral("no mapa de construção Tangencial")))
        return QStringLiteral("Mapa Tipo Tangencial");
    if (texto.contains(QStringLiteral("no mapa de construção Axial")))
        return QStringLiteral("Mapa Tipo Axial");
    return {};
}

QImage LogoClinica()
{
    const QString nome = QStringLiteral("LogoClinica.bmp");
    for (const QString& pasta : {PathsZR.DirZR, QCoreApplication::applicationDirPath()}) {
        const QString caminho = CaminhoEm(pasta, nome);
        if (pasta.isEmpty() || !QFileInfo(caminho).isFile())
            continue;
        QImage img;
        // A damaged file leaves the area empty rather than looking elsewhere.
        if (QFileInfo(caminho).size() <= 16 * 1024 * 1024 && img.load(caminho))
            return img;
        return {};
    }
    return {};
}

DadosRelat PreparaRelat(TfrmLaudo& editor)
{
    DadosRelat d;
    TfrmWizLaudo& w = *editor.Assistente();
    d.Logo = LogoClinica();
    d.NomeCli = InfosZR.ClinicaNome;
    d.EnderecoCli = InfosZR.ClinicaEndereco;
    d.CidadeEst = InfosZR.ClinicaCidadeEst;
    d.Fone = InfosZR.ClinicaTelefone;
    d.NomePac = w.Navegador().NomePacienteAtual();

    const bool novo = editor.Editavel();
    const int codOD = novo ? w.CodigoOD : editor.Gravado().MedidaOD;
    const int codOS = novo ? w.CodigoOS : editor.Gravado().MedidaOS;
    // The doctor responsible for the right-eye examination, else for the left-eye one.
    d.NomeMed = MedicoDoExame(codOD);
    if (d.NomeMed.isEmpty())
        d.NomeMed = MedicoDoExame(codOS);

    d.Exames = w.DescricaoOD + QStringLiteral("  ") + w.DescricaoOS;
    if (novo) {
        d.DataEmissao = GravacaoExame::Agora().toString(QStringLiteral("dd/MM/yy HH:mm:ss"));
    } else {
        d.DataEmissao = FormataData(editor.Gravado().Data) + u' ' + FormataHora(editor.Gravado().Hora);
    }

    d.CE = RemoveMarcadores(editor.reCE->toPlainText());
    d.OD = RemoveMarcadores(editor.reOD->toPlainText());
    d.OS = RemoveMarcadores(editor.reOS->toPlainText());
    d.CO = RemoveMarcadores(editor.reCO->toPlainText());
    const QString comentarios = editor.reCM->toPlainText();
    d.ComComentarios = !comentarios.trimmed().isEmpty();
    d.CM = d.ComComentarios ? RemoveMarcadores(comentarios) : QString();

    if (novo)
        d.TipoMapa = w.TipoMapa() == 1 ? QStringLiteral("Mapa Tipo Tangencial") : QStringLiteral("Mapa Tipo Axial");
    else
        d.TipoMapa = TipoMapaDoTexto(d.OD + u'\n' + d.OS + u'\n' + d.CO + u'\n' + d.CE);
    return d;
}

// --- layout ----------------------------------------------------------------------------------

TfrmLauRelat::TfrmLauRelat(const DadosRelat& dados, QObject* pai) : QObject(pai), m_dados(dados)
{
    setObjectName(QStringLiteral("TfrmLauRelat"));
    Monta();
}

TfrmLauRelat::~TfrmLauRelat() = default;

QFont TfrmLauRelat::Fonte(double pontos, bool negrito)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pontos);
    f.setBold(negrito);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

const ElementoRelat* TfrmLauRelat::Elemento(const QString& nome) const
{
    for (const ElementoRelat& e : m_elementos)
        if (e.Nome == nome)
            return &e;
    return nullptr;
}

void TfrmLauRelat::Monta()
{
    const DadosRelat& d = m_dados;
    m_elementos.clear();

    // A label at its place, grown to its text; set smaller (down to 7 pt) when it would pass
    // the limit on its line, and shortened only when even 7 pt does not fit.
    auto rotulo = [&](const QString& nome, const QString& texto, double x, double y, double pontos, bool negrito,
                      double limite, bool direita = false, int pagina = 0) {
        ElementoRelat e;
        e.Nome = nome;
        e.Pagina = pagina;
        e.Pontos = pontos;
        e.Negrito = negrito;
        e.Alinhamento = direita ? Qt::AlignRight : Qt::AlignLeft;
        const double espaco = direita ? x - limite : limite - x;
        while (LarguraMm(texto, Fonte(e.Pontos, negrito)) > espaco && e.Pontos > kMenorPonto)
            e.Pontos = std::max(kMenorPonto, e.Pontos - 0.5);
        const QFont f = Fonte(e.Pontos, negrito);
        e.Texto = texto;
        if (LarguraMm(texto, f) > espaco)
            e.Texto = Metricas(f).elidedText(texto, Qt::ElideRight, espaco * kDpiMedida / kMmPorPolegada);
        const double largura = LarguraMm(e.Texto, f);
        e.Retangulo = QRectF(direita ? x - largura : x, y, largura, AlturaMm(f));
        m_elementos << e;
        return e.Retangulo;
    };

    // Heading of the first page.
    {
        ElementoRelat logo;
        logo.Nome = QStringLiteral("imgLogo");
        logo.Especie = ElementoRelat::Imagem;
        logo.Retangulo = QRectF(3.70, 2.12, 26.46, 26.46);
        m_elementos << logo;
    }
    rotulo(QStringLiteral("lblNomeCli"), d.NomeCli, 33.60, 3.44, 14, true, kLargura);
    rotulo(QStringLiteral("lblEnderecoCli"), d.EnderecoCli, 33.60, 10.32, 10, false, kLargura);
    rotulo(QStringLiteral("lblCidadeEst"), d.CidadeEst, 33.60, 15.08, 10, false, kLargura);
    rotulo(QStringLiteral("lblFone"), d.Fone, 33.60, 19.84, 10, false, kLargura);
    {
        ElementoRelat linha;
        linha.Nome = QStringLiteral("QRShape2");
        linha.Especie = ElementoRelat::Linha;
        linha.Retangulo = QRectF(2.38, 29.63, 186.53, 0.53);
        m_elementos << linha;
    }
    rotulo(QStringLiteral("QRLabel10"), QStringLiteral("Responsável:"), 3.70, 39.16, 10, false, 30.16 - kFolga);
    const QRectF data = rotulo(QStringLiteral("qrDataEmissao"), d.DataEmissao, 187.33, 37.84, 10, true, 122.77, true);
    const QRectF rotuloData = rotulo(QStringLiteral("QRLabel3"), QStringLiteral("Data/Hora Emissão:"), 122.77, 38.10,
                                     10, false, data.left() - kFolga);
    rotulo(QStringLiteral("lblNomeMed"), d.NomeMed, 30.16, 38.89, 12, true, rotuloData.left() - kFolga);
    // The patient's line reaches down to the issue date's line.
    rotulo(QStringLiteral("lblNomePac"), d.NomePac, 3.70, 33.34, 14, true, std::min(rotuloData.left(), data.left()) - kFolga);
    rotulo(QStringLiteral("QRLabel13"), QStringLiteral("Exame(s):"), 3.70, 44.98, 10, false, 20.90 - kFolga);
    rotulo(QStringLiteral("qrExames"), d.Exames, 20.90, 44.98, 10, false, kLargura);
    rotulo(QStringLiteral("qrTipoMapa"), d.TipoMapa, 3.70, 50.80, 10, false, kLargura);
    {
        ElementoRelat faixa;
        faixa.Nome = QStringLiteral("QRLabel1");
        faixa.Especie = ElementoRelat::Faixa;
        faixa.Texto = QStringLiteral("Laudo");
        faixa.Pontos = 18;
        faixa.Negrito = true;
        faixa.Alinhamento = Qt::AlignHCenter;
        faixa.Retangulo = QRectF(2.65, 60.06, 186.53, 7.94);
        m_elementos << faixa;
    }

    // The flowing part: headings and boxes in reading order. Each keeps its place while the
    // texts fit; a box that grows pushes what follows down, onto further pages if need be.
    struct Bloco {
        QString nome;
        QString texto;
        double topo;
        double altura; // a box's own height; 0 for a heading
        double pontos;
        bool negrito;
    };
    const QString comentariosTitulo = d.ComComentarios ? QStringLiteral("Comentários") : QString();
    const QList<Bloco> blocos = {
        {QStringLiteral("QRLabel8"), QStringLiteral("Condições do Exame"), 69.85, 0, 12, true},
        {QStringLiteral("qrCE"), d.CE, 75.94, 23.55, 10, false},
        {QStringLiteral("QRLabel7"), QStringLiteral("Olho Direito"), 101.60, 0, 12, true},
        {QStringLiteral("qrOD"), d.OD, 107.42, 31.49, 10, false},
        {QStringLiteral("QRLabel4"), QStringLiteral("Olho Esquerdo"), 141.02, 0, 12, true},
        {QStringLiteral("qrOS"), d.OS, 146.31, 31.49, 10, false},
        {QStringLiteral("QRLabel6"), QStringLiteral("Conclusão"), 181.24, 0, 12, true},
        {QStringLiteral("qrCO"), d.CO, 186.53, 23.55, 10, false},
        {QStringLiteral("QRLabel9"), comentariosTitulo, 208.76, 0, 12, true},
        {QStringLiteral("qrCM"), d.CM, 220.40, 23.55, 10, false},
    };
    constexpr double kLarguraCaixa = 180.18;
    constexpr double kXCaixa = 4.23, kXTitulo = 3.97;

    int pagina = 0;
    double desloca = 0;   // how far the rest has moved from its place in the layout
    double fimAnterior = 0;
    auto novaPagina = [&] {
        ++pagina;
        return kTopoContinuacao;
    };
    for (int i = 0; i < blocos.size(); ++i) {
        const Bloco& b = blocos[i];
        const QFont f = Fonte(b.pontos, b.negrito);
        const double alturaLinha = AlturaMm(f);
        const double folga = i > 0 && blocos[i - 1].altura > 0 ? kFolga : 0.0;
        double y = std::max(b.topo + desloca, fimAnterior > 0 ? fimAnterior + folga : 0.0);
        if (b.altura == 0) {
            // A heading stays with the first line of its box.
            const double linhaSeguinte = i + 1 < blocos.size() ? AlturaMm(Fonte(blocos[i + 1].pontos, false)) : 0;
            const double proximo = i + 1 < blocos.size() ? blocos[i + 1].topo - b.topo : alturaLinha;
            if (y + std::max(alturaLinha, proximo + linhaSeguinte) > kLimiteConteudo)
                y = novaPagina();
            desloca = y - b.topo;
            ElementoRelat e;
            e.Nome = b.nome;
            e.Texto = b.texto;
            e.Pagina = pagina;
            e.Pontos = b.pontos;
            e.Negrito = true;
            e.Retangulo = QRectF(kXTitulo, y, LarguraMm(b.texto, f), alturaLinha);
            m_elementos << e;
            fimAnterior = b.texto.isEmpty() ? y : y + alturaLinha;
            continue;
        }
        // A box: its lines, split where the page ends.
        const QStringList linhas = QuebraLinhas(b.texto, f, kLarguraCaixa);
        const double inicio = y;
        const int paginaInicio = pagina;
        int k = 0;
        do {
            ElementoRelat e;
            e.Nome = b.nome;
            e.Especie = ElementoRelat::Caixa;
            e.Pagina = pagina;
            e.Pontos = b.pontos;
            double h = 0;
            while (k < linhas.size() && y + h + alturaLinha <= kLimiteConteudo) {
                e.Linhas << linhas[k];
                e.TopoLinhas << h;
                h += alturaLinha;
                ++k;
            }
            e.Texto = e.Linhas.join(u'\n');
            const double altura = pagina == paginaInicio && k == linhas.size()
                                      ? std::min(std::max(h, b.altura), kLimiteConteudo - y)
                                      : h;
            e.Retangulo = QRectF(kXCaixa, y, kLarguraCaixa, altura);
            m_elementos << e;
            fimAnterior = y + h;
            if (k < linhas.size())
                y = novaPagina();
        } while (k < linhas.size());
        const double fimNominal = b.topo + b.altura;
        if (pagina != paginaInicio || fimAnterior > inicio + b.altura)
            desloca = fimAnterior - fimNominal;
        else
            desloca = inicio - b.topo;
        if (linhas.isEmpty())
            fimAnterior = 0; // an empty box keeps its place without pushing the next one
    }

    // The signature: "Atenciosamente" and the doctor stay together after the last box.
    {
        const double topo1 = 248.97, topo2 = 262.73;
        const double altura2 = AlturaMm(Fonte(12, true));
        double y = std::max(topo1 + desloca, fimAnterior > 0 ? fimAnterior + kFolga : 0.0);
        if (y + (topo2 - topo1) + altura2 > kLimiteConteudo)
            y = novaPagina();
        rotulo(QStringLiteral("QRLabel11"), QStringLiteral("Atenciosamente"), 156.37, y, 12, false, kLargura, false,
               pagina);
        rotulo(QStringLiteral("lblNomeMed2"), d.NomeMed, 186.53, y + (topo2 - topo1), 12, true, 0.0, true, pagina);
    }
    m_paginas = pagina + 1;

    if (m_paginas > 1) {
        for (int p = 0; p < m_paginas; ++p) {
            if (p > 0) {
                rotulo(QStringLiteral("lblNomePacCont"), d.NomePac, 3.70, 3.44, 14, true, kLargura, false, p);
                rotulo(QStringLiteral("lblContinuacao"), QStringLiteral("Laudo (continuação)"), 3.70, 10.32, 12, true,
                       kLargura, false, p);
            }
            const QString texto = QStringLiteral("Página %1 de %2").arg(p + 1).arg(m_paginas);
            const double largura = LarguraMm(texto, Fonte(8, false));
            rotulo(QStringLiteral("lblPagina"), texto, (kLargura - largura) / 2, kTopoRodape, 8, false, kLargura, false,
                   p);
        }
    }
}

// --- drawing ---------------------------------------------------------------------------------

void TfrmLauRelat::DesenhaPagina(QPainter& p, int pagina) const
{
    const double px = p.device()->logicalDpiX() / kMmPorPolegada;
    const double py = p.device()->logicalDpiY() / kMmPorPolegada;
    auto ret = [&](const QRectF& r) { return QRectF(r.x() * px, r.y() * py, r.width() * px, r.height() * py); };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const ElementoRelat& e : m_elementos) {
        if (e.Pagina != pagina)
            continue;
        const QRectF r = ret(e.Retangulo);
        switch (e.Especie) {
        case ElementoRelat::Imagem: {
            if (m_dados.Logo.isNull())
                break;
            // Drawn at screen size (96 dpi), scaled down to the square when larger.
            QSizeF tam(m_dados.Logo.width() * 25.4 / 96.0, m_dados.Logo.height() * 25.4 / 96.0);
            if (tam.width() > e.Retangulo.width() || tam.height() > e.Retangulo.height())
                tam.scale(e.Retangulo.size(), Qt::KeepAspectRatio);
            const QRectF alvo(e.Retangulo.x() + (e.Retangulo.width() - tam.width()) / 2,
                              e.Retangulo.y() + (e.Retangulo.height() - tam.height()) / 2, tam.width(), tam.height());
            p.drawImage(ret(alvo), m_dados.Logo);
            break;
        }
        case ElementoRelat::Linha:
            p.fillRect(r, Qt::black);
            break;
        case ElementoRelat::Faixa:
            p.fillRect(r, QColor(0xEE, 0xEE, 0xEE));
            [[fallthrough]];
        case ElementoRelat::Rotulo: {
            if (e.Texto.isEmpty())
                break;
            const QFont f = Fonte(e.Pontos, e.Negrito);
            p.setFont(f);
            p.setPen(Qt::black);
            const QFontMetricsF m(f, p.device());
            double x = r.x();
            if (e.Especie == ElementoRelat::Faixa)
                x = r.x() + (r.width() - m.horizontalAdvance(e.Texto)) / 2;
            else if (e.Alinhamento & Qt::AlignRight)
                x = r.right() - m.horizontalAdvance(e.Texto);
            const double topo = e.Especie == ElementoRelat::Faixa ? r.y() + (r.height() - m.height()) / 2 : r.y();
            p.drawText(QPointF(x, topo + m.ascent()), e.Texto);
            break;
        }
        case ElementoRelat::Caixa: {
            const QFont f = Fonte(e.Pontos, e.Negrito);
            p.setFont(f);
            p.setPen(Qt::black);
            const QFontMetricsF m(f, p.device());
            for (int i = 0; i < e.Linhas.size(); ++i)
                p.drawText(QPointF(r.x(), r.y() + e.TopoLinhas[i] * py + m.ascent()), e.Linhas[i]);
            break;
        }
        }
    }
    p.restore();
}

bool TfrmLauRelat::Imprime(QPrinter& impressora) const
{
    PreparaImpressora(impressora);
    QPainter p;
    if (!p.begin(&impressora))
        return false;
    for (int i = 0; i < m_paginas; ++i) {
        if (i > 0)
            impressora.newPage();
        DesenhaPagina(p, i);
    }
    return p.end();
}

bool TfrmLauRelat::ExportaPdf(const QString& caminho) const
{
    auto falha = [&] {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Não foi possível gravar o arquivo ") + caminho + u'.',
                 IconeMensagem::Erro);
        return false;
    };
    // Written beside the target and moved into place only when complete.
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return falha();
    {
        QPdfWriter pdf(&arquivo);
        pdf.setTitle(Titulo());
        pdf.setCreator(QCoreApplication::applicationName());
        pdf.setResolution(int(kDpiMedida));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(kMargem, kMargem, kMargem, kMargem), QPageLayout::Millimeter));
        QPainter p;
        if (!p.begin(&pdf)) {
            arquivo.cancelWriting();
            return falha();
        }
        for (int i = 0; i < m_paginas; ++i) {
            if (i > 0)
                pdf.newPage();
            DesenhaPagina(p, i);
        }
        if (!p.end()) {
            arquivo.cancelWriting();
            return falha();
        }
    }
    if (!arquivo.commit())
        return falha();
    return true;
}

// --- the editor's buttons --------------------------------------------------------------------

FonteImpressora DefineImpressoraPadrao(FonteImpressora fonte)
{
    FonteImpressora anterior = std::move(Impressora());
    Impressora() = std::move(fonte);
    return anterior;
}

QString NomePdfLaudo(const TfrmLaudo& editor)
{
    const QString paciente = editor.Assistente() ? editor.Assistente()->Navegador().NomePacienteAtual() : QString();
    if (editor.Editavel() || editor.Gravado().Codigo <= 0)
        return QStringLiteral("Laudo - ") + paciente + QStringLiteral(".pdf");
    return QStringLiteral("Laudo ") + QString::number(editor.Gravado().Codigo) + QStringLiteral(" - ") + paciente +
           QStringLiteral(".pdf");
}

void ImprimeLaudo(TfrmLaudo& editor)
{
    std::unique_ptr<QPrinter> impressora = ImpressoraPadrao();
    if (!impressora) {
        Mensagem(QStringLiteral("Informação"),
                 QStringLiteral("Nenhuma impressora disponível. Use Visualizar Impressão para salvar o laudo em PDF."),
                 IconeMensagem::Informacao);
        return;
    }
    TfrmLauRelat relat(PreparaRelat(editor));
    QProgressDialog progresso(QStringLiteral("Imprimindo o laudo..."), QString(), 0, relat.Paginas(), &editor);
    progresso.setWindowTitle(QStringLiteral("Laudo"));
    progresso.setWindowModality(Qt::WindowModal);
    progresso.setMinimumDuration(0);
    progresso.setValue(0);
    PreparaImpressora(*impressora);
    QPainter p;
    if (!p.begin(impressora.get())) {
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Não foi possível imprimir o laudo."), IconeMensagem::Erro);
        return;
    }
    for (int i = 0; i < relat.Paginas(); ++i) {
        if (i > 0)
            impressora->newPage();
        relat.DesenhaPagina(p, i);
        progresso.setValue(i + 1);
    }
    if (!p.end())
        Mensagem(QStringLiteral("Informação"), QStringLiteral("Não foi possível imprimir o laudo."), IconeMensagem::Erro);
}

void VisualizaLaudo(TfrmLaudo& editor)
{
    auto impressora = std::make_unique<QPrinter>(QPrinter::HighResolution);
    PreparaImpressora(*impressora);
    auto* janela = new QPrintPreviewDialog(impressora.get(), &editor);
    janela->setObjectName(QStringLiteral("frmVisualizaLaudo"));
    janela->setWindowTitle(QStringLiteral("Laudo"));
    // The layout lives as long as the preview.
    auto* relat = new TfrmLauRelat(PreparaRelat(editor), janela);
    QObject::connect(janela, &QPrintPreviewDialog::paintRequested, relat, [relat](QPrinter* alvo) {
        QPainter p;
        if (!p.begin(alvo))
            return;
        for (int i = 0; i < relat->Paginas(); ++i) {
            if (i > 0)
                alvo->newPage();
            relat->DesenhaPagina(p, i);
        }
    });
    QToolBar* barra = janela->findChild<QToolBar*>();
    QAction* salvar = new QAction(QStringLiteral("Salvar PDF"), janela);
    salvar->setObjectName(QStringLiteral("actSalvarPdf"));
    if (barra)
        barra->addAction(salvar);
    const QString nome = NomePdfLaudo(editor);
    QObject::connect(salvar, &QAction::triggered, janela, [janela, relat, nome] {
        QFileDialog dialogo(janela, QStringLiteral("Salvar PDF"));
        dialogo.setObjectName(QStringLiteral("dlgSalvarPdf"));
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        dialogo.setOption(QFileDialog::DontUseNativeDialog);
        dialogo.setNameFilter(QStringLiteral("Documento PDF (*.pdf)"));
        dialogo.setDefaultSuffix(QStringLiteral("pdf"));
        dialogo.selectFile(nome);
        if (AbreJanelaModal(&dialogo) != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
            return;
        relat->ExportaPdf(dialogo.selectedFiles().constFirst());
    });
    AbreJanelaModal(janela);
    delete janela;
}

void RegistraImpressaoLaudo()
{
    TfrmLaudo::ImpressaoLaudo() = [](TfrmLaudo& editor, bool visualizar) {
        if (visualizar)
            VisualizaLaudo(editor);
        else
            ImprimeLaudo(editor);
    };
}
