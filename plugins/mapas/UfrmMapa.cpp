#include "plugins/mapas/UfrmMapa.h"

#include "plugins/mapas/UExportaImagem.h"
#include "plugins/mapas/UPainelIndices.h"

#include "common/UFormatos.h"
#include "platform/UMensagens.h"
#include "platform/UTraducao.h"

#include <QBuffer>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr double kVariacaoMarcaKmax = 0.25; // D between the map's extremes

QString Num(const char* padrao, double v)
{
    return FormataNumero(QString::fromLatin1(padrao), v);
}

class TLegendaWidget : public QWidget {
public:
    TLegendaWidget(const EscalaCores& escala, QString titulo, QWidget* pai)
        : QWidget(pai), m_escala(escala), m_titulo(std::move(titulo))
    {
        setMinimumWidth(92);
    }
    QSize sizeHint() const override { return {96, 520}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        PintaLegenda(p, QRectF(rect()), m_escala, m_titulo);
    }

private:
    const EscalaCores& m_escala;
    QString m_titulo;
};

QLabel* Rotulo(const QString& texto, QWidget* pai, const char* nome, bool negrito = false)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QString::fromLatin1(nome));
    if (negrito) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QString Linha(const QStringList& l, int i)
{
    return i < l.size() ? l.at(i).trimmed() : QString();
}

} // namespace

EscalaCores EscalaDoMapa(const MapaCurvatura& mapa, const OpcoesMapa& o)
{
    return EscalaCores::DasOpcoes(o.escalaIso, o.passoFixo, o.incMap, mapa.Minimo(),
                                  mapa.Maximo());
}

// ---------------------------------------------------------------------------------------

TMapaWidget::TMapaWidget(const MapaCurvatura& mapa, const EscalaCores& escala,
                         const OpcoesDesenho& o, QWidget* pai)
    : QWidget(pai), m_mapa(mapa), m_escala(escala), m_opcoes(o)
{
    setObjectName(QStringLiteral("imgMapa"));
    setMouseTracking(true);
    setMinimumSize(360, 360);
    QSizePolicy sp(QSizePolicy::Expanding, QSizePolicy::Expanding);
    sp.setHeightForWidth(true);
    setSizePolicy(sp);
}

bool TMapaWidget::PontoMm(const QPointF& p, double& xMm, double& yMm) const
{
    const GeometriaMapa g = Geometria(QRectF(rect()), m_opcoes);
    xMm = (p.x() - g.centro.x()) / g.escala;
    yMm = (p.y() - g.centro.y()) / g.escala;
    return std::hypot(xMm, yMm) <= m_opcoes.raioMm;
}

void TMapaWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    PintaMapa(p, QRectF(rect()), m_mapa, m_escala, m_opcoes);
}

void TMapaWidget::mouseMoveEvent(QMouseEvent* e)
{
    double x, y;
    const bool dentro = PontoMm(e->position(), x, y);
    emit Cursor(dentro, x, y);
}

void TMapaWidget::leaveEvent(QEvent*)
{
    emit Cursor(false, 0, 0);
}

// ---------------------------------------------------------------------------------------

TfrmMapa::TfrmMapa(MapaCurvatura::Tipo tipo, std::unique_ptr<MapaCurvatura> mapa,
                   const DadosJanelaMapa& dados, const OpcoesMapa& opcoes, QWidget* pai)
    : QDialog(pai), m_tipo(tipo), m_mapa(std::move(mapa)), m_opcoesMapa(opcoes)
{
    setObjectName(QStringLiteral("frmMapa"));
    m_escala.emplace(EscalaDoMapa(*m_mapa, opcoes));
    m_opcoes.raioMm = RaioDesenho(*m_mapa);
    m_opcoes.grade = opcoes.grade;
    m_opcoes.ceratPontual = opcoes.ceratPontual;
    m_opcoes.corCeratPontual = CorPorNome(opcoes.corCeratPontual);
    m_opcoes.pupila = dados.temPupila;
    m_opcoes.pupilaX = dados.pupilaX;
    m_opcoes.pupilaY = dados.pupilaY;
    m_opcoes.pupilaRaio = dados.pupilaRaio;
    m_opcoes.anel = dados.temAnalise && dados.analise.valida;
    m_opcoes.anelX = dados.analise.centroX;
    m_opcoes.anelY = dados.analise.centroY;
    m_opcoes.anelRaio = dados.analise.diametro / 2.0;
    // A map of one colour (a sphere) has no steepest point worth marking.
    m_opcoes.kMax = dados.temIndices && dados.indices.kMax.valido &&
                    m_mapa->Maximo() - m_mapa->Minimo() >= kVariacaoMarcaKmax;
    m_opcoes.kMaxX = dados.indices.kMaxX;
    m_opcoes.kMaxY = -dados.indices.kMaxY; // the map's y runs downwards
    m_avisos = m_mapa->Avisos();
    if (dados.semCabecalho)
        m_avisos.prepend(QStringLiteral("Cabeçalho do exame ausente."));
    setWindowTitle(tipo == MapaCurvatura::Tangencial ? QStringLiteral("Mapa Tangencial")
                                                     : QStringLiteral("Mapa Axial"));
    MontaTela(dados);
}

TfrmMapa::~TfrmMapa() = default;

void TfrmMapa::MontaTela(const DadosJanelaMapa& d)
{
    const bool tangencial = m_tipo == MapaCurvatura::Tangencial;
    auto* raiz = new QVBoxLayout(this);
    m_conteudo = new QWidget(this);
    m_conteudo->setObjectName(QStringLiteral("pnlConteudo"));
    m_conteudo->setAutoFillBackground(true);
    QPalette pal = m_conteudo->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_conteudo->setPalette(pal);
    raiz->addWidget(m_conteudo, 1);
    auto* corpo = new QVBoxLayout(m_conteudo);

    // Header.
    auto* cab = new QFrame(m_conteudo);
    cab->setObjectName(QStringLiteral("pnlCabecalho"));
    cab->setFrameShape(QFrame::StyledPanel);
    cab->setStyleSheet(QStringLiteral("#pnlCabecalho { background: #eef3f8; }"));
    auto* lc = new QHBoxLayout(cab);
    auto* titulo = Rotulo(tangencial ? QStringLiteral("Mapa Tangencial")
                                     : QStringLiteral("Mapa Axial"),
                          cab, "lblTitulo", true);
    QFont ft = titulo->font();
    ft.setPointSizeF(ft.pointSizeF() * 1.5);
    titulo->setFont(ft);
    lc->addWidget(titulo);
    lc->addSpacing(18);
    const QStringList& h = d.cabecalho;
    QString paciente = Linha(h, 0), olho = Linha(h, 3), data = Linha(h, 4), hora = Linha(h, 5),
            medico = Linha(h, 6), indice = Linha(h, 8);
    auto* col1 = new QVBoxLayout;
    col1->addWidget(Rotulo(QStringLiteral("Paciente: %1").arg(paciente.isEmpty() ? QStringLiteral("-") : paciente), cab, "lblPaciente", true));
    col1->addWidget(Rotulo(QStringLiteral("Código: %1    RG: %2").arg(Linha(h, 1), Linha(h, 2)), cab, "lblCodigo"));
    col1->addWidget(Rotulo(QStringLiteral("Médico: %1").arg(medico), cab, "lblMedico"));
    auto* col2 = new QVBoxLayout;
    col2->addWidget(Rotulo(QStringLiteral("Olho: %1").arg(olho), cab, "lblOlho", true));
    col2->addWidget(Rotulo(QStringLiteral("Data: %1  %2").arg(data, hora), cab, "lblData"));
    col2->addWidget(Rotulo(QStringLiteral("Exame: %1    Índice de confiança: %2").arg(Linha(h, 7), indice), cab, "lblIndice"));
    lc->addLayout(col1, 1);
    lc->addLayout(col2, 1);
    corpo->addWidget(cab);
    m_resumo << QStringLiteral("Mapa: %1").arg(tangencial ? QStringLiteral("Tangencial") : QStringLiteral("Axial"))
             << QStringLiteral("Paciente: %1").arg(paciente) << QStringLiteral("Olho: %1").arg(olho)
             << QStringLiteral("Data: %1 %2").arg(data, hora) << QStringLiteral("Médico: %1").arg(medico)
             << QStringLiteral("Índice de confiança: %1").arg(indice);

    // Map, legend and side panel.
    auto* meio = new QHBoxLayout;
    corpo->addLayout(meio, 1);
    m_widgetMapa = new TMapaWidget(*m_mapa, *m_escala, m_opcoes, m_conteudo);
    connect(m_widgetMapa, &TMapaWidget::Cursor, this, &TfrmMapa::MostraCursor);
    meio->addWidget(m_widgetMapa, 1);
    const QString tituloEscala = m_escala->Absoluta_()
        ? QStringLiteral("Escala absoluta\n(1.5 D)")
        : QStringLiteral("Escala normalizada\n(%1 D)").arg(Num("0.00", m_escala->Passo()));
    auto* legenda = new TLegendaWidget(*m_escala, tituloEscala, m_conteudo);
    legenda->setObjectName(QStringLiteral("imgEscala"));
    meio->addWidget(legenda);
    m_resumo << QStringLiteral("Escala: %1").arg(QString(tituloEscala).replace(u'\n', u' '));

    if (d.temIndices) {
        // The indices in a column of their own, beside the legend.
        auto* colunaIndices = new QVBoxLayout;
        meio->addLayout(colunaIndices);
        colunaIndices->addWidget(PainelIndices(d.indices, m_conteudo));
        colunaIndices->addStretch(1);
    }
    auto* lado = new QVBoxLayout;
    meio->addLayout(lado);
    auto* gbK = new QGroupBox(QStringLiteral("Ceratometria simulada (3 mm)"), m_conteudo);
    gbK->setObjectName(QStringLiteral("gbCeratometria"));
    auto* lk = new QVBoxLayout(gbK);
    if (m_mapa->TemCeratometria()) {
        const TDadosCeratometria& k = m_mapa->Ceratometria();
        const QString k1 = QStringLiteral("K1: %1 D (%2 mm) @ %3%4")
                               .arg(Num("0.00", k.K1), Num("0.00", k.R1)).arg(k.Eixo1).arg(QChar(0x00B0));
        const QString k2 = QStringLiteral("K2: %1 D (%2 mm) @ %3%4")
                               .arg(Num("0.00", k.K2), Num("0.00", k.R2)).arg(k.Eixo2).arg(QChar(0x00B0));
        const QString cil = QStringLiteral("Cil: %1 D @ %2%3").arg(Num("0.00", k.DifK)).arg(k.Eixo1).arg(QChar(0x00B0));
        const QString media = QStringLiteral("Km: %1 D").arg(Num("0.00", (k.K1 + k.K2) / 2.0));
        lk->addWidget(Rotulo(k1, gbK, "lblK1", true));
        lk->addWidget(Rotulo(k2, gbK, "lblK2", true));
        lk->addWidget(Rotulo(cil, gbK, "lblCilindro"));
        lk->addWidget(Rotulo(media, gbK, "lblKm"));
        m_resumo << k1 << k2 << cil;
    } else {
        lk->addWidget(Rotulo(QStringLiteral("Indisponível"), gbK, "lblK1"));
        m_resumo << QStringLiteral("Ceratometria simulada: indisponível");
    }
    lado->addWidget(gbK);
    if (d.temIndices)
        for (const QString& l : d.indices.Linhas())
            m_resumo << QStringLiteral("Índices: %1").arg(l);

    if (d.temOrto) {
        auto* gbO = new QGroupBox(QStringLiteral("Lente (ortoceratologia)"), m_conteudo);
        gbO->setObjectName(QStringLiteral("gbOrto"));
        auto* lo = new QVBoxLayout(gbO);
        const QString t = QStringLiteral("Sag: %1   Div: %2   Raio: %3")
                              .arg(Num("0.0000", d.sag), Num("0.0000", d.div), Num("0.0000", d.raio));
        lo->addWidget(Rotulo(t, gbO, "lblOrto"));
        lado->addWidget(gbO);
        m_resumo << t;
    }

    if (d.temAnalise) {
        auto* gbA = new QGroupBox(QStringLiteral("Zona de tratamento"), m_conteudo);
        gbA->setObjectName(QStringLiteral("gbTratamento"));
        auto* la = new QVBoxLayout(gbA);
        const QStringList linhas = d.analise.Linhas();
        la->addWidget(Rotulo(linhas.join(u'\n'), gbA, "lblTratamento"));
        lado->addWidget(gbA);
        m_resumo << linhas;
    }

    auto* gbC = new QGroupBox(QStringLiteral("Cursor"), m_conteudo);
    gbC->setObjectName(QStringLiteral("gbCursor"));
    auto* lcur = new QVBoxLayout(gbC);
    m_lblCursor = Rotulo(QStringLiteral("Mova o cursor sobre o mapa."), gbC, "lblCursor");
    m_lblCursor->setMinimumWidth(210);
    lcur->addWidget(m_lblCursor);
    lado->addWidget(gbC);

    auto imagem = [&](const QImage& img, const QString& titulo, const char* nome) {
        if (img.isNull())
            return;
        auto* gb = new QGroupBox(titulo, m_conteudo);
        auto* l = new QVBoxLayout(gb);
        auto* lbl = Rotulo(QString(), gb, nome);
        lbl->setPixmap(QPixmap::fromImage(img.scaled(220, 165, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        l->addWidget(lbl);
        lado->addWidget(gb);
    };
    imagem(d.central, QStringLiteral("Imagem central"), "imgCentral");
    imagem(d.lateral, QStringLiteral("Imagem lateral"), "imgLateral");
    lado->addStretch(1);

    auto* avisos = Rotulo(m_avisos.join(u'\n'), m_conteudo, "lblAvisos");
    avisos->setWordWrap(true);
    avisos->setStyleSheet(QStringLiteral("color: #b00000;"));
    avisos->setVisible(!m_avisos.isEmpty());
    corpo->addWidget(avisos);
    for (const QString& a : m_avisos)
        m_resumo << QStringLiteral("Aviso: %1").arg(a);

    // Buttons.
    auto* botoes = new QHBoxLayout;
    auto botao = [&](const QString& t, const char* nome) {
        auto* b = new QPushButton(t, this);
        b->setObjectName(QString::fromLatin1(nome));
        botoes->addWidget(b);
        return b;
    };
    connect(botao(QStringLiteral("&Imprimir"), "btnImprimir"), &QPushButton::clicked, this, &TfrmMapa::btnImprimirClick);
    connect(botao(QStringLiteral("Exportar &PNG"), "btnPng"), &QPushButton::clicked, this, &TfrmMapa::btnPngClick);
    connect(botao(QStringLiteral("Exportar P&DF"), "btnPdf"), &QPushButton::clicked, this, &TfrmMapa::btnPdfClick);
    botoes->addStretch(1);
    auto* fechar = botao(QStringLiteral("&Fechar"), "btnFechar");
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    raiz->addLayout(botoes);
    resize(d.temIndices ? 1300 : 1000, 700);
}

QStringList TfrmMapa::Resumo() const
{
    return m_resumo;
}

void TfrmMapa::MostraCursor(bool dentro, double x, double y)
{
    if (!m_lblCursor)
        return;
    const double v = dentro ? m_mapa->Valor(x, y) : std::nan("");
    if (!std::isfinite(v)) {
        m_lblCursor->setText(dentro ? QStringLiteral("Sem dados neste ponto.")
                                    : QStringLiteral("Mova o cursor sobre o mapa."));
        return;
    }
    double ang = std::atan2(-y, x) * 180.0 / M_PI;
    if (ang < 0)
        ang += 360.0;
    m_lblCursor->setText(QStringLiteral("Potência: %1 D\nRaio: %2 mm\nPosição: x %3  y %4 mm\n"
                                        "(r %5 mm, %6%7)")
                             .arg(Num("0.00", v), Num("0.00", 337.5 / v), Num("0.00", x),
                                  Num("0.00", -y), Num("0.00", std::hypot(x, y)))
                             .arg(int(std::lround(ang)) % 360)
                             .arg(QChar(0x00B0)));
}

QImage TfrmMapa::ImagemConteudo()
{
    return m_conteudo->grab().toImage();
}

QImage TfrmMapa::ImagemMapa(int lado) const
{
    QImage img(lado, lado, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    PintaMapa(p, QRectF(0, 0, lado, lado), *m_mapa, *m_escala, m_opcoes);
    return img;
}

bool TfrmMapa::ExportaPng(const QString& arquivo)
{
    return GravaImagemPng(ImagemConteudo(), arquivo);
}

bool TfrmMapa::ExportaPdf(const QString& arquivo)
{
    return GravaImagemPdf(ImagemConteudo(), windowTitle(), arquivo);
}

void TfrmMapa::btnImprimirClick()
{
    ImprimeImagem(this, ImagemConteudo(), QStringLiteral("Não foi possível imprimir o mapa."));
}

void TfrmMapa::btnPngClick()
{
    const QString arq = NomeArquivoParaGravar(this, QStringLiteral("Exportar PNG"),
                                              windowTitle() + QStringLiteral(".png"),
                                              QStringLiteral("Imagem PNG (*.png)"));
    if (!arq.isEmpty())
        ExportaPng(arq);
}

void TfrmMapa::btnPdfClick()
{
    const QString arq = NomeArquivoParaGravar(this, QStringLiteral("Exportar PDF"),
                                              windowTitle() + QStringLiteral(".pdf"),
                                              QStringLiteral("Documento PDF (*.pdf)"));
    if (!arq.isEmpty())
        ExportaPdf(arq);
}
