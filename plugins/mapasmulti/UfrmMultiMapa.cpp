#include "plugins/mapasmulti/UfrmMultiMapa.h"
#include "plugins/mapasmulti/UProgressao.h"
#include "platform/UJanelas.h"

#include "plugins/mapas/UExportaImagem.h"

#include "platform/UAjuda.h"
#include "platform/UMensagens.h"
#include "platform/UTraducao.h"
#include "plugins/mapas/UDesenhoMapa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace MultiMapa {

namespace {
constexpr double kGrau = M_PI / 180.0;

// The radius drawn: the data's extent rounded up to half a millimetre, 3 to 6 mm.
double RaioPainel(const GradeValores& g)
{
    if (!g.TemDados())
        return 5.0;
    return std::clamp(std::ceil(g.RaioDados() * 2.0) / 2.0, 3.0, 6.0);
}

QString Num(double v, int casas = 2) { return QString::number(v, 'f', casas); }
} // namespace

QString TextoEscala(const EscalaCores& e, const QString& unidade)
{
    const int casas = unidade == QLatin1String("µm") ? 0 : 2;
    return QStringLiteral("%1, %2 a %3 %4, passo %5 %4")
        .arg(e.Absoluta_() ? QStringLiteral("absoluta") : QStringLiteral("normalizada"),
             Num(e.ValorNivel(0), casas), Num(e.ValorNivel(e.Niveis() - 1), casas), unidade,
             Num(e.Passo(), casas));
}

// ---- TPainelWidget -----------------------------------------------------------------------

TPainelWidget::TPainelWidget(const Painel& p, const EscalaCores& e, QWidget* pai)
    : QWidget(pai), m_p(p), m_e(e), m_raio(RaioPainel(p.grade))
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QRectF TPainelWidget::Area() const
{
    const double lado = std::min(width(), height()) - 4.0;
    return {(width() - lado) / 2.0, (height() - lado) / 2.0, lado, lado};
}

void TPainelWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRectF a = Area();
    const double esc = a.width() / 2.0 / (m_raio + 0.4); // pixels per mm, margin for marks
    const QPointF c = a.center();
    const int lado = int(2 * m_raio * esc);
    if (m_cache.width() != lado && lado > 0) {
        m_cache = QImage(lado, lado, QImage::Format_ARGB32);
        m_cache.fill(Qt::transparent);
        for (int j = 0; j < lado; ++j)
            for (int i = 0; i < lado; ++i) {
                const double x = (i + 0.5 - lado / 2.0) / esc, y = (j + 0.5 - lado / 2.0) / esc;
                if (std::hypot(x, y) > m_raio)
                    continue;
                const double v = m_p.grade.Valor(x, y);
                if (std::isfinite(v))
                    m_cache.setPixelColor(i, j, m_e.Cor(v));
            }
    }
    p.drawImage(QPointF(c.x() - lado / 2.0, c.y() - lado / 2.0), m_cache);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    for (int r = 1; r <= int(m_raio); ++r)
        p.drawEllipse(c, r * esc, r * esc);
    p.drawLine(QPointF(c.x() - m_raio * esc, c.y()), QPointF(c.x() + m_raio * esc, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - m_raio * esc), QPointF(c.x(), c.y() + m_raio * esc));
    p.setPen(Qt::black);
    if (m_p.olhoNasal != 0) {
        // As the examiner faces the patient, the right eye's nose side is on the right.
        const bool nasalDireita = m_p.olhoNasal > 0;
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        const double dx = (m_raio + 0.2) * esc;
        p.drawText(QRectF(c.x() + dx - 14, c.y() - 8, 14, 16), Qt::AlignCenter,
                   nasalDireita ? QStringLiteral("N") : QStringLiteral("T"));
        p.drawText(QRectF(c.x() - dx, c.y() - 8, 14, 16), Qt::AlignCenter,
                   nasalDireita ? QStringLiteral("T") : QStringLiteral("N"));
        p.setFont(font());
    }
    if (m_p.zona) {
        p.setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        const QPointF zc(c.x() + m_p.zona->x * esc, c.y() + m_p.zona->y * esc);
        p.drawEllipse(zc, m_p.zona->diametro / 2 * esc, m_p.zona->diametro / 2 * esc);
        p.drawLine(zc - QPointF(5, 0), zc + QPointF(5, 0));
        p.drawLine(zc - QPointF(0, 5), zc + QPointF(0, 5));
    }
    if (m_p.marca) {
        p.setPen(QPen(Qt::black, 2));
        const QPointF m(c.x() + m_p.marca->x * esc, c.y() + m_p.marca->y * esc);
        p.drawLine(m - QPointF(5, 5), m + QPointF(5, 5));
        p.drawLine(m - QPointF(5, -5), m + QPointF(5, -5));
    }
    if (m_dentro) {
        p.setPen(QPen(Qt::white, 3));
        const QPointF m(c.x() + m_x * esc, c.y() + m_y * esc);
        p.drawEllipse(m, 4, 4);
        p.setPen(QPen(Qt::black, 1));
        p.drawEllipse(m, 4, 4);
    }
    if (!m_p.grade.TemDados()) {
        p.setPen(Qt::darkGray);
        p.drawText(a, Qt::AlignCenter, QStringLiteral("Sem dados para desenhar."));
    }
}

void TPainelWidget::mouseMoveEvent(QMouseEvent* e)
{
    const QRectF a = Area();
    const double esc = a.width() / 2.0 / (m_raio + 0.4);
    const double x = (e->position().x() - a.center().x()) / esc;
    const double y = (e->position().y() - a.center().y()) / esc;
    emit Cursor(std::hypot(x, y) <= m_raio, x, y);
}

void TPainelWidget::leaveEvent(QEvent*)
{
    emit Cursor(false, 0, 0);
}

void TPainelWidget::MostraPonto(bool dentro, double x, double y)
{
    m_dentro = dentro;
    m_x = x;
    m_y = y;
    update();
}

// ---- Legend --------------------------------------------------------------------------------

namespace {
class TLegenda : public QWidget {
public:
    TLegenda(const EscalaCores& e, const QString& unidade, QWidget* pai)
        : QWidget(pai), m_e(e), m_u(unidade)
    {
        setFixedWidth(62);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        PintaLegenda(p, QRectF(rect()).adjusted(2, 2, -2, -2), m_e, m_u);
    }

private:
    const EscalaCores& m_e;
    QString m_u;
};
} // namespace

// ---- TfrmMultiMapa -------------------------------------------------------------------------

TfrmMultiMapa::TfrmMultiMapa(const QString& titulo, Conjunto conjunto, QWidget* pai,
                             std::function<Conjunto(const Opcoes&)> reconstroi)
    : QDialog(pai), m_c(std::move(conjunto)), m_reconstroi(std::move(reconstroi))
{
    setWindowTitle(titulo);
    setObjectName(QStringLiteral("frmMultiMapa"));
    DefineContextoAjuda(this, kContextoAjuda);
    auto* raiz = new QVBoxLayout(this);
    if (m_reconstroi) {
        auto* topo = new QHBoxLayout;
        topo->addWidget(new QLabel(QStringLiteral("Mapa:"), this));
        m_cboVista = new QComboBox(this);
        m_cboVista->setObjectName(QStringLiteral("cboVista"));
        m_cboVista->addItems({QStringLiteral("Tangencial"), QStringLiteral("Axial")});
        topo->addWidget(m_cboVista);
        m_chkDiferenca = new QCheckBox(QStringLiteral("Diferença em relação ao primeiro"), this);
        m_chkDiferenca->setObjectName(QStringLiteral("chkDiferenca"));
        topo->addWidget(m_chkDiferenca);
        topo->addStretch(1);
        raiz->addLayout(topo);
        auto refaz = [this] {
            Opcoes o;
            o.vista = m_cboVista->currentIndex() == 1 ? Vista::Axial : Vista::Tangencial;
            o.diferenca = m_chkDiferenca->isChecked();
            m_c = m_reconstroi(o);
            Monta();
        };
        connect(m_cboVista, &QComboBox::currentIndexChanged, this, refaz);
        connect(m_chkDiferenca, &QCheckBox::toggled, this, refaz);
    }
    m_conteudo = new QWidget(this);
    m_conteudo->setObjectName(QStringLiteral("conteudo"));
    m_conteudo->setAutoFillBackground(true);
    QPalette pal = m_conteudo->palette();
    pal.setColor(QPalette::Window, Qt::white);
    m_conteudo->setPalette(pal);
    auto* vc = new QVBoxLayout(m_conteudo);
    m_grade = new QGridLayout;
    vc->addLayout(m_grade, 1);
    m_linhas = new QLabel(m_conteudo);
    m_linhas->setObjectName(QStringLiteral("lblResumo"));
    m_linhas->setWordWrap(true);
    vc->addWidget(m_linhas);
    raiz->addWidget(m_conteudo, 1);

    auto* botoes = new QHBoxLayout;
    auto botao = [&](const QString& texto, const char* nome) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QString::fromLatin1(nome));
        botoes->addWidget(b);
        return b;
    };
    connect(botao(QStringLiteral("&Imprimir"), "btnImprimir"), &QPushButton::clicked, this, &TfrmMultiMapa::btnImprimirClick);
    connect(botao(QStringLiteral("Exportar &PNG"), "btnPng"), &QPushButton::clicked, this, &TfrmMultiMapa::btnPngClick);
    connect(botao(QStringLiteral("Exportar P&DF"), "btnPdf"), &QPushButton::clicked, this, &TfrmMultiMapa::btnPdfClick);
    if (m_c.progressao)
        connect(botao(QStringLiteral("Pro&gressão"), "btnProgressao"), &QPushButton::clicked, this,
                &TfrmMultiMapa::btnProgressaoClick);
    botoes->addStretch(1);
    connect(botao(QStringLiteral("&Fechar"), "btnFechar"), &QPushButton::clicked, this, &QDialog::accept);
    raiz->addLayout(botoes);
    Monta();
    resize(1366, 740);
}

TfrmMultiMapa::~TfrmMultiMapa() = default;

void TfrmMultiMapa::Monta()
{
    while (QLayoutItem* it = m_grade->takeAt(0)) {
        if (it->widget())
            delete it->widget();
        delete it;
    }
    m_widgets.clear();
    m_cursores.clear();
    const int n = int(m_c.paineis.size());
    const int colunas = n == 4 ? 2 : std::max(1, n);
    for (int i = 0; i < n; ++i) {
        const Painel& p = m_c.paineis[i];
        const EscalaCores& e = m_c.escalas[std::clamp(p.escala, 0, int(m_c.escalas.size()) - 1)];
        auto* caixa = new QWidget(m_conteudo);
        auto* v = new QVBoxLayout(caixa);
        v->setContentsMargins(4, 2, 4, 2);
        v->setSpacing(1);
        auto* tit = new QLabel(QStringLiteral("<b>%1</b>").arg(p.titulo.toHtmlEscaped()), caixa);
        v->addWidget(tit);
        if (!p.cabecalho.isEmpty())
            v->addWidget(new QLabel(p.cabecalho.join(QStringLiteral("  ·  ")), caixa));
        auto* h = new QHBoxLayout;
        auto* w = new TPainelWidget(p, e, caixa);
        w->setObjectName(QStringLiteral("painel%1").arg(i + 1));
        h->addWidget(w, 1);
        h->addWidget(new TLegenda(e, p.unidade, caixa));
        v->addLayout(h, 1);
        auto* info = new QLabel(p.informacoes.join(u'\n'), caixa);
        v->addWidget(info);
        auto* cur = new QLabel(QStringLiteral("Mova o cursor sobre um mapa."), caixa);
        cur->setObjectName(QStringLiteral("lblCursor%1").arg(i + 1));
        v->addWidget(cur);
        connect(w, &TPainelWidget::Cursor, this, &TfrmMultiMapa::MostraCursor);
        m_widgets.append(w);
        m_cursores.append(cur);
        m_grade->addWidget(caixa, i / colunas, i % colunas);
    }
    QStringList linhas = m_c.linhas;
    for (const QString& a : m_c.avisos)
        linhas << QStringLiteral("Aviso: ") + a;
    m_linhas->setText(linhas.join(u'\n'));
    m_linhas->setVisible(!linhas.isEmpty());
}

void TfrmMultiMapa::MostraCursor(bool dentro, double x, double y)
{
    for (int i = 0; i < m_widgets.size(); ++i) {
        m_widgets[i]->MostraPonto(dentro, x, y);
        const Painel& p = m_c.paineis[i];
        const double v = dentro ? p.grade.Valor(x, y) : std::nan("");
        if (!dentro)
            m_cursores[i]->setText(QStringLiteral("Mova o cursor sobre um mapa."));
        else if (!std::isfinite(v))
            m_cursores[i]->setText(QStringLiteral("Sem dados neste ponto."));
        else
            m_cursores[i]->setText(QStringLiteral("Cursor: %1 %2 (%3 mm, %4°)")
                                       .arg(Num(v, p.unidade == QLatin1String("µm") ? 0 : 2), p.unidade,
                                            Num(std::hypot(x, y), 2))
                                       .arg(AnguloClinico(x, y)));
    }
}

QStringList TfrmMultiMapa::TextosCursor() const
{
    QStringList r;
    for (QLabel* l : m_cursores)
        r << l->text();
    return r;
}

QStringList TfrmMultiMapa::Resumo() const
{
    QStringList r{windowTitle()};
    for (int i = 0; i < m_c.textoEscalas.size(); ++i)
        r << QStringLiteral("Escala %1: %2").arg(i + 1).arg(m_c.textoEscalas[i]);
    for (int i = 0; i < m_c.paineis.size(); ++i) {
        const Painel& p = m_c.paineis[i];
        r << QStringLiteral("Painel %1: %2").arg(i + 1).arg(p.titulo);
        if (!p.cabecalho.isEmpty())
            r << QStringLiteral("Cabeçalho: ") + p.cabecalho.join(QStringLiteral(" | "));
        r << QStringLiteral("Escala: %1").arg(p.escala + 1);
        r << p.informacoes;
    }
    r << m_c.linhas;
    for (const QString& a : m_c.avisos)
        r << QStringLiteral("Aviso: ") + a;
    return r;
}

QImage TfrmMultiMapa::ImagemConteudo()
{
    ensurePolished();
    if (layout())
        layout()->activate();
    return m_conteudo->grab().toImage();
}

bool TfrmMultiMapa::ExportaPng(const QString& arquivo)
{
    return GravaImagemPng(ImagemConteudo(), arquivo);
}

bool TfrmMultiMapa::ExportaPdf(const QString& arquivo)
{
    return GravaImagemPdf(ImagemConteudo(), windowTitle(), arquivo);
}

void TfrmMultiMapa::btnProgressaoClick()
{
    if (!m_c.progressao)
        return;
    TfrmProgressao frm(*m_c.progressao, m_c.tituloProgressao, this);
    AbreJanelaModal(&frm);
}

void TfrmMultiMapa::btnImprimirClick()
{
    ImprimeImagem(this, ImagemConteudo(), QStringLiteral("Não foi possível imprimir os mapas."));
}

void TfrmMultiMapa::btnPngClick()
{
    const QString arq = NomeArquivoParaGravar(this, QStringLiteral("Exportar PNG"),
                                              windowTitle() + QStringLiteral(".png"),
                                              QStringLiteral("Imagem PNG (*.png)"));
    if (!arq.isEmpty())
        ExportaPng(arq);
}

void TfrmMultiMapa::btnPdfClick()
{
    const QString arq = NomeArquivoParaGravar(this, QStringLiteral("Exportar PDF"),
                                              windowTitle() + QStringLiteral(".pdf"),
                                              QStringLiteral("Documento PDF (*.pdf)"));
    if (!arq.isEmpty())
        ExportaPdf(arq);
}

// ---- TfrmWizardMulti -----------------------------------------------------------------------

TfrmWizardMulti::TfrmWizardMulti(Modulo m, const QList<Candidato>& of, QWidget* pai)
    : QDialog(pai), m_modulo(m), m_of(of)
{
    setObjectName(QStringLiteral("frmWizardMulti"));
    DefineContextoAjuda(this, kContextoAjuda);
    setWindowTitle(NomeModulo(m) + QStringLiteral(" - Seleção de exames"));
    auto* raiz = new QVBoxLayout(this);
    QString limite;
    switch (m) {
    case Modulo::MultiMapas: limite = QStringLiteral("Marque de 1 a 4 exames (3 ou 4 de um mesmo olho), na ordem em que devem aparecer."); break;
    case Modulo::Duplo: limite = QStringLiteral("Marque um exame do olho direito e um do olho esquerdo."); break;
    case Modulo::Diferencial: limite = QStringLiteral("Marque dois exames de um mesmo olho: o mais antigo é a referência."); break;
    case Modulo::MultiOrto: limite = QStringLiteral("Marque de 1 a 4 exames de ortoceratologia."); break;
    }
    raiz->addWidget(new QLabel(limite, this));
    m_lista = new QListWidget(this);
    m_lista->setObjectName(QStringLiteral("lstExames"));
    for (const Candidato& c : of) {
        QString t = c.linha;
        if (!c.tipo.isNull())
            t += c.tipo == u'O' ? QStringLiteral("  (Ortoceratologia)") : QStringLiteral("  (Topografia)");
        auto* it = new QListWidgetItem(t, m_lista);
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Unchecked);
    }
    raiz->addWidget(m_lista, 1);
    auto* form = new QGridLayout;
    auto vistas = [&](QComboBox* c, bool todas) {
        c->addItems({QStringLiteral("Axial"), QStringLiteral("Tangencial")});
        if (todas)
            c->addItems({QStringLiteral("Elevação"), QStringLiteral("Refrativo")});
    };
    int linha = 0;
    if (m != Modulo::MultiOrto) {
        m_cboVista = new QComboBox(this);
        m_cboVista->setObjectName(QStringLiteral("cboVista"));
        vistas(m_cboVista, m == Modulo::MultiMapas);
        form->addWidget(new QLabel(QStringLiteral("Mapa:"), this), linha, 0);
        form->addWidget(m_cboVista, linha++, 1);
    }
    if (m == Modulo::MultiMapas) {
        m_cboVista2 = new QComboBox(this);
        m_cboVista2->setObjectName(QStringLiteral("cboVista2"));
        vistas(m_cboVista2, true);
        m_cboVista2->setCurrentIndex(1);
        form->addWidget(new QLabel(QStringLiteral("Segundo mapa (dois exames):"), this), linha, 0);
        form->addWidget(m_cboVista2, linha++, 1);
    }
    m_cboEscala = new QComboBox(this);
    m_cboEscala->setObjectName(QStringLiteral("cboEscala"));
    m_cboEscala->addItems({QStringLiteral("Absoluta (1,5 D)"), QStringLiteral("Normalizada")});
    form->addWidget(new QLabel(QStringLiteral("Escala:"), this), linha, 0);
    form->addWidget(m_cboEscala, linha++, 1);
    if (m == Modulo::MultiOrto) {
        m_chkDiferenca = new QCheckBox(QStringLiteral("Diferença em relação ao primeiro"), this);
        m_chkDiferenca->setObjectName(QStringLiteral("chkDiferenca"));
        form->addWidget(m_chkDiferenca, linha++, 0, 1, 2);
    }
    raiz->addLayout(form);
    m_lblMensagem = new QLabel(this);
    m_lblMensagem->setObjectName(QStringLiteral("lblMensagem"));
    raiz->addWidget(m_lblMensagem);
    auto* bb = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_btnOk = bb->button(QDialogButtonBox::Ok);
    m_btnOk->setText(QStringLiteral("&Mostrar"));
    bb->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancelar"));
    connect(bb, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(bb, &QDialogButtonBox::rejected, this, &QDialog::reject);
    raiz->addWidget(bb);
    connect(m_lista, &QListWidget::itemChanged, this, [this](QListWidgetItem* it) {
        const int i = m_lista->row(it);
        m_ordem.removeAll(i);
        if (it->checkState() == Qt::Checked)
            m_ordem.append(i);
        Atualiza();
    });
    Atualiza();
    resize(520, 420);
}

void TfrmWizardMulti::Marca(const QList<int>& indices)
{
    for (int i : indices)
        if (i >= 0 && i < m_lista->count())
            m_lista->item(i)->setCheckState(Qt::Checked);
}

QString TfrmWizardMulti::Mensagem() const
{
    QList<Candidato> e;
    for (int i : m_ordem)
        e.append(m_of[i]);
    return ConfereEscolha(m_modulo, e);
}

void TfrmWizardMulti::Atualiza()
{
    const QString msg = Mensagem();
    m_lblMensagem->setText(msg);
    m_btnOk->setEnabled(msg.isEmpty());
}

Opcoes TfrmWizardMulti::OpcoesEscolhidas() const
{
    Opcoes o;
    if (m_cboVista)
        o.vista = Vista(m_cboVista->currentIndex());
    if (m_cboVista2)
        o.vista2 = Vista(m_cboVista2->currentIndex());
    o.escalaAbsoluta = m_cboEscala->currentIndex() == 0;
    o.diferenca = m_chkDiferenca && m_chkDiferenca->isChecked();
    for (int i : m_ordem)
        o.tipos += m_of[i].tipo.isNull() ? QChar(u'T') : m_of[i].tipo;
    return o;
}

} // namespace MultiMapa
