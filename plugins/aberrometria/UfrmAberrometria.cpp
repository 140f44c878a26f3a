#include "plugins/aberrometria/UfrmAberrometria.h"

#include "common/UTextoCp1252.h"
#include "platform/UMensagens.h"
#include "platform/UTraducao.h"
#include "plugins/aberrometria/UDesenhoAberrometria.h"
#include "plugins/aberrometria/UZernike.h"
#include "plugins/mapas/UJanelaModulo.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

using namespace Aberrometria;

namespace {

QLabel* Rotulo(const char* nome, QWidget* pai)
{
    auto* l = new QLabel(pai);
    l->setObjectName(QLatin1String(nome));
    l->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return l;
}

} // namespace

TfrmAberrometria::TfrmAberrometria(std::unique_ptr<TExameConferido> exame, const DadosAberrometria& dados,
                                   QWidget* pai)
    : QDialog(pai), m_exame(std::move(exame)), m_dados(dados)
{
    setObjectName(QStringLiteral("TfrmAberrometria"));
    setWindowTitle(QStringLiteral("Aberrometria Corneana"));
    setProperty("contextoAjuda", 42);
    m_dados.tamanhoMapa = QSize(std::clamp(dados.tamanhoMapa.width(), 120, 600),
                                std::clamp(dados.tamanhoMapa.height(), 120, 600));

    auto* raiz = new QVBoxLayout(this);
    m_conteudo = new QWidget(this);
    m_conteudo->setObjectName(QStringLiteral("pnlConteudo"));
    m_conteudo->setAutoFillBackground(true);
    raiz->addWidget(m_conteudo);
    auto* grade = new QGridLayout(m_conteudo);
    auto* cab = Rotulo("lblCabecalho", m_conteudo);
    cab->setText(Cabecalho().join(QLatin1Char('\n')));
    cab->setStyleSheet(QStringLiteral("font-weight: bold"));
    grade->addWidget(cab, 0, 0, 1, 2);
    auto* linhaPupila = new QHBoxLayout;
    linhaPupila->addWidget(new QLabel(QStringLiteral("Pupila (mm):"), m_conteudo));
    m_pupila = new QComboBox(m_conteudo);
    m_pupila->setObjectName(QStringLiteral("cmbPupila"));
    m_pupila->addItems({QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")});
    linhaPupila->addWidget(m_pupila);
    linhaPupila->addStretch();
    grade->addLayout(linhaPupila, 0, 2, Qt::AlignTop);

    m_mapaTotal = Rotulo("imgFrenteTotal", m_conteudo);
    m_mapaAlta = Rotulo("imgAltaOrdem", m_conteudo);
    m_mapaTotal->setFixedSize(m_dados.tamanhoMapa);
    m_mapaAlta->setFixedSize(m_dados.tamanhoMapa);
    grade->addWidget(m_mapaTotal, 1, 0);
    grade->addWidget(m_mapaAlta, 1, 1);
    m_tabela = new QTableWidget(m_conteudo);
    m_tabela->setObjectName(QStringLiteral("tblCoeficientes"));
    m_tabela->setColumnCount(3);
    m_tabela->setHorizontalHeaderLabels({QStringLiteral("Termo"), QStringLiteral("Nome"), QStringLiteral("µm")});
    m_tabela->verticalHeader()->hide();
    m_tabela->verticalHeader()->setDefaultSectionSize(18);
    m_tabela->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabela->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tabela->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_tabela->setMinimumWidth(400);
    grade->addWidget(m_tabela, 1, 2, 2, 1);
    auto* baixo = new QHBoxLayout;
    m_imgPsf = Rotulo("imgPsf", m_conteudo);
    m_imgPsf->setFixedSize(200, 200);
    m_optotipos = Rotulo("imgOptotipos", m_conteudo);
    m_optotipos->setFixedSize(kLadoFft / 2, kLadoFft / 2);
    m_resumo = Rotulo("lblResumo", m_conteudo);
    m_resumo->setMinimumWidth(220);
    m_resumo->setWordWrap(true);
    baixo->addWidget(m_imgPsf);
    baixo->addWidget(m_optotipos);
    baixo->addWidget(m_resumo, 1);
    grade->addLayout(baixo, 2, 0, 1, 2);
    m_tecnicos = Rotulo("lblDadosTecnicos", m_conteudo);
    m_tecnicos->setWordWrap(true);
    m_tecnicos->setStyleSheet(QStringLiteral("color: #404040; font-size: 8pt"));
    grade->addWidget(m_tecnicos, 3, 0, 1, 3);

    auto* botoes = new QHBoxLayout;
    raiz->addLayout(botoes);
    botoes->addStretch();
    AdicionaBotoesImagem(this, botoes, QStringLiteral("Aberrometria"),
                         QStringLiteral("Não foi possível imprimir a aberrometria."), [this] { return ImagemConteudo(); });
    auto* texto = BotaoJanela("btnTexto", QStringLiteral("Coeficientes"), this);
    auto* fechar = BotaoJanela("btnFechar", QStringLiteral("Fechar"), this);
    connect(texto, &QPushButton::clicked, this, &TfrmAberrometria::btnTextoClick);
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    for (auto* b : {texto, fechar})
        botoes->addWidget(b);

    double raio = m_dados.raioPupila;
    if (!(raio > 0) || !std::isfinite(raio) || raio > 3.0) {
        m_dados.notas << QStringLiteral("Raio de pupila recebido inválido; usado 3.0 mm.");
        raio = 3.0;
    }
    const int indice = std::clamp(int(std::lround(2 * raio)) - 3, 0, 3);
    m_pupila->setCurrentIndex(indice);
    connect(m_pupila, &QComboBox::currentIndexChanged, this, &TfrmAberrometria::cmbPupilaChange);
    Calcula(raio);
}

TfrmAberrometria::~TfrmAberrometria() = default;

QStringList TfrmAberrometria::Cabecalho() const
{
    QStringList l;
    for (const QString& t : m_dados.clinica)
        if (!t.trimmed().isEmpty())
            l << t.trimmed();
    QStringList exame;
    for (const QString& t : m_dados.cabecalho)
        if (!t.trimmed().isEmpty())
            exame << t.trimmed();
    l << (exame.isEmpty() ? QStringLiteral("Exame sem cabeçalho") : exame.mid(0, 7).join(QStringLiteral("  ·  ")));
    return l;
}

void TfrmAberrometria::cmbPupilaChange(int indice)
{
    Calcula((indice + 3) / 2.0);
}

void TfrmAberrometria::DefinePupila(double diametro)
{
    m_pupila->setCurrentIndex(std::clamp(int(std::lround(diametro)) - 3, 0, 3));
}

void TfrmAberrometria::Calcula(double raio)
{
    m_resultado = FrenteDoExame(*m_exame, raio);
    m_psf = CalculaPsf(m_resultado);
    const QSize t = m_dados.tamanhoMapa;
    m_mapaTotal->setPixmap(QPixmap::fromImage(
        MapaFrente(m_resultado, Zernike::Indice(2, -2), t.width(), t.height(), QStringLiteral("Frente de onda total (µm)"))));
    m_mapaAlta->setPixmap(QPixmap::fromImage(MapaFrente(m_resultado, Zernike::Indice(3, -3), t.width(), t.height(),
                                                        QStringLiteral("Alta ordem (µm)"))));
    m_imgPsf->setPixmap(QPixmap::fromImage(ImagemPsf(m_psf, 200)));
    m_optotipos->setPixmap(QPixmap::fromImage(Optotipos(m_psf)));
    m_tabela->setRowCount(0);
    for (int j = 1; j < int(m_resultado.coef.size()); ++j) {
        int n, m;
        Zernike::OrdemFrequencia(j, n, m);
        const int linha = m_tabela->rowCount();
        m_tabela->insertRow(linha);
        m_tabela->setItem(linha, 0, new QTableWidgetItem(QStringLiteral("Z(%1,%2)").arg(n).arg(m)));
        m_tabela->setItem(linha, 1, new QTableWidgetItem(Zernike::Nome(j)));
        auto* v = new QTableWidgetItem(QString::number(m_resultado.coef[j], 'f', 4));
        v->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_tabela->setItem(linha, 2, v);
    }
    QStringList resumo = Aberrometria::Resumo(m_resultado, m_psf);
    QStringList curto;
    for (const QString& l : resumo)
        if (!l.startsWith(QLatin1String("Z(")))
            curto << l;
    for (const QString& n : m_dados.notas)
        curto << QStringLiteral("Nota: ") + n;
    m_resumo->setText(curto.join(QLatin1Char('\n')));
    m_tecnicos->setText(
        QStringLiteral("Dados técnicos: superfície corneana anterior; índice ceratométrico %1; foco de referência: "
                       "foco paraxial do raio apical médio %2 mm; λ = %3 nm; PSF das aberrações de alta ordem; "
                       "Z0 = %4; fator de correção %5 mm/pixel; modelo %6; %7 anéis; cone %8.")
            .arg(kIndice, 0, 'f', 4)
            .arg(m_resultado.raioReferencia, 0, 'f', 2)
            .arg(kComprimentoOnda * 1000, 0, 'f', 0)
            .arg(m_dados.z0, 0, 'g', 6)
            .arg(m_exame->fator, 0, 'g', 6)
            .arg(m_dados.modelo)
            .arg(m_dados.numAneis)
            .arg(m_dados.tipoCone));
}

QStringList TfrmAberrometria::Resumo() const
{
    QStringList l = Aberrometria::Resumo(m_resultado, m_psf);
    for (const QString& n : m_dados.notas)
        l << QStringLiteral("Nota: ") + n;
    return l;
}

QImage TfrmAberrometria::ImagemConteudo() const
{
    return m_conteudo->grab().toImage();
}

bool TfrmAberrometria::ExportaTexto(const QString& arquivo)
{
    try {
        GravaArquivoTexto(arquivo, Cabecalho() + Resumo());
        return true;
    } catch (const std::exception&) {
        Mensagem(QStringLiteral("Erro"), QStringLiteral("Não foi possível gravar o arquivo %1.").arg(arquivo),
                 IconeMensagem::Erro);
        return false;
    }
}

void TfrmAberrometria::btnTextoClick()
{
    const QString arq = NomeArquivoParaGravar(this, QStringLiteral("Exportar coeficientes"),
                                              QStringLiteral("Aberrometria.txt"), QStringLiteral("Texto (*.txt)"));
    if (!arq.isEmpty())
        ExportaTexto(arq);
}
