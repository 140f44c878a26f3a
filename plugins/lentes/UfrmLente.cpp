#include "plugins/lentes/UfrmLente.h"

#include "plugins/mapas/UJanelaModulo.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kLadoImagem = 460;
const QSize kTamanhoPerfis(460, 210);

const char* const kNomesCampos[] = {"edtDiametro", "edtRaioBase", "edtZonaOptica",
                                    "edtRaioSecundario", "edtLarguraSecundaria", "edtRaioPeriferico"};

} // namespace

TfrmLente::TfrmLente(std::unique_ptr<TExameConferido> exame, const QImage& central, double centroX, double centroY,
                     const QStringList& cabecalho, const QStringList& notas, QWidget* pai)
    : QDialog(pai), m_exame(std::move(exame)), m_notas(notas)
{
    setObjectName(QStringLiteral("TfrmLente"));
    setWindowTitle(QStringLiteral("Adaptação de Lente de Contato"));
    setProperty("contextoAjuda", 41);
    m_adaptacao = std::make_unique<AdaptacaoLente>(*m_exame);
    if (!m_adaptacao->TemDados() && !m_notas.contains(QStringLiteral("O exame não tem dados de anéis utilizáveis.")))
        m_notas << QStringLiteral("O exame não tem dados de anéis utilizáveis.");
    m_fundo = FundoCobalto(central, centroX, centroY, m_exame->fator, kLadoImagem);
    if (central.isNull())
        m_notas << QStringLiteral("Sem imagem central: olho esquemático.");

    auto* raiz = new QVBoxLayout(this);
    m_conteudo = new QWidget(this);
    m_conteudo->setObjectName(QStringLiteral("pnlConteudo"));
    m_conteudo->setAutoFillBackground(true);
    raiz->addWidget(m_conteudo);
    auto* conteudo = new QVBoxLayout(m_conteudo);
    QStringList cab;
    for (const QString& l : cabecalho)
        if (!l.trimmed().isEmpty())
            cab << l.trimmed();
    auto* lblCab = new QLabel(cab.isEmpty() ? QStringLiteral("Exame sem cabeçalho") : cab.mid(0, 7).join(QStringLiteral("  ·  ")),
                              m_conteudo);
    lblCab->setObjectName(QStringLiteral("lblCabecalho"));
    lblCab->setStyleSheet(QStringLiteral("font-weight: bold"));
    conteudo->addWidget(lblCab);
    auto* corpo = new QHBoxLayout;
    conteudo->addLayout(corpo);
    auto* esquerda = new QVBoxLayout;
    corpo->addLayout(esquerda);
    m_imagem = new QLabel(m_conteudo);
    m_imagem->setObjectName(QStringLiteral("imgFluoresceina"));
    m_imagem->setFixedSize(kLadoImagem, kLadoImagem);
    esquerda->addWidget(m_imagem);
    m_perfis = new QLabel(m_conteudo);
    m_perfis->setObjectName(QStringLiteral("imgPerfis"));
    m_perfis->setFixedSize(kTamanhoPerfis);
    esquerda->addWidget(m_perfis);

    auto* direita = new QVBoxLayout;
    corpo->addLayout(direita);
    auto* form = new QFormLayout;
    direita->addLayout(form);
    for (int c = 0; c < 6; ++c) {
        const FaixaCampo f = Faixa(CampoLente(c));
        auto* e = new QLineEdit(m_conteudo);
        e->setObjectName(QLatin1String(kNomesCampos[c]));
        e->setMaximumWidth(90);
        e->setToolTip(QStringLiteral("%1 a %2 mm").arg(f.minimo, 0, 'f', 2).arg(f.maximo, 0, 'f', 2));
        connect(e, &QLineEdit::editingFinished, this, [this, c] { CampoEditado(c); });
        form->addRow(QString::fromUtf8(f.nome) + QStringLiteral(" (mm):"), e);
        m_campos[c] = e;
    }
    m_aviso = new QLabel(m_conteudo);
    m_aviso->setObjectName(QStringLiteral("lblAviso"));
    m_aviso->setWordWrap(true);
    m_aviso->setStyleSheet(QStringLiteral("color: #b00000"));
    m_aviso->setMaximumWidth(330);
    direita->addWidget(m_aviso);
    auto* sugerir = BotaoJanela("btnSugerir", QStringLiteral("Lente sugerida"), this);
    connect(sugerir, &QPushButton::clicked, this, &TfrmLente::btnSugerirClick);
    direita->addWidget(sugerir);
    m_resultadoTexto = new QLabel(m_conteudo);
    m_resultadoTexto->setObjectName(QStringLiteral("lblResultado"));
    m_resultadoTexto->setWordWrap(true);
    m_resultadoTexto->setMinimumWidth(330);
    m_resultadoTexto->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    direita->addWidget(m_resultadoTexto, 1);
    auto* botoes = new QHBoxLayout;
    raiz->addLayout(botoes);
    botoes->addStretch();
    AdicionaBotoesImagem(this, botoes, QStringLiteral("Lente"), QStringLiteral("Não foi possível imprimir a adaptação."),
                         [this] { return ImagemConteudo(); });
    auto* fechar = BotaoJanela("btnFechar", QStringLiteral("Fechar"), this);
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    botoes->addWidget(fechar);

    m_lente = m_adaptacao->LenteSugerida();
    MostraCampos();
    Atualiza();
}

TfrmLente::~TfrmLente() = default;

void TfrmLente::MostraCampos()
{
    for (int c = 0; c < 6; ++c)
        m_campos[c]->setText(QString::number(ValorCampo(m_lente, CampoLente(c)), 'f', 2));
}

void TfrmLente::Atualiza()
{
    m_resultado = m_adaptacao->Calcula(m_lente);
    m_imagem->setPixmap(QPixmap::fromImage(DesenhaFluoresceina(m_fundo, m_resultado, m_adaptacao->BordaDados())));
    m_perfis->setPixmap(QPixmap::fromImage(DesenhaPerfis(m_resultado, m_adaptacao->MeridianoPlano(),
                                                         m_adaptacao->MeridianoCurvo(), kTamanhoPerfis)));
    m_resultadoTexto->setText(Resumo().join(QLatin1Char('\n')));
}

bool TfrmLente::DefineLente(const ParametrosLente& p)
{
    ParametrosLente q = m_lente;
    QString erro;
    for (int c = 0; c < 6; ++c)
        if (!DefineCampo(q, CampoLente(c), ValorCampo(p, CampoLente(c)), erro)) {
            m_aviso->setText(erro);
            return false;
        }
    m_lente = q;
    m_aviso->clear();
    MostraCampos();
    Atualiza();
    return true;
}

void TfrmLente::CampoEditado(int campo)
{
    bool ok = false;
    const double v = m_campos[campo]->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    QString erro;
    if (!ok) {
        const FaixaCampo f = Faixa(CampoLente(campo));
        erro = QStringLiteral("%1: digite um número de %2 a %3 mm.")
                   .arg(QString::fromUtf8(f.nome))
                   .arg(f.minimo, 0, 'f', 2)
                   .arg(f.maximo, 0, 'f', 2);
    }
    if (!ok || !DefineCampo(m_lente, CampoLente(campo), v, erro)) {
        m_aviso->setText(erro);
        MostraCampos(); // the field goes back to the lens in use
        return;
    }
    m_aviso->clear();
    MostraCampos();
    Atualiza();
}

void TfrmLente::btnSugerirClick()
{
    m_lente = m_adaptacao->LenteSugerida();
    m_aviso->clear();
    MostraCampos();
    Atualiza();
}

QStringList TfrmLente::Resumo() const
{
    return ResumoLente(*m_adaptacao, m_resultado, m_notas);
}

QImage TfrmLente::ImagemConteudo() const
{
    return m_conteudo->grab().toImage();
}

