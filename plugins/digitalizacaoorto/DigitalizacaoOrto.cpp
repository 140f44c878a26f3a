// The ortho-k capture module of the simulated instrument: four central and four lateral
// images of one eye, taken as four successive frames of one sitting. Between frames the eye
// moves a little (the apex falls a pixel or two elsewhere), the tear film changes (noise and
// blur) and the upper lid rises or falls a fraction of a millimetre.
//
// A capture window over the caller's window shows the live image, the four frames as
// thumbnails once taken, and the model cornea, among them a parametric ortho-k case whose
// treatment depth, zone and decentration are chosen there; "Capturar" takes the four frames,
// "Cancelar" takes none. With ZR_MODULOS_AUTOMATICO=1, or without a widget application, the
// four frames are taken at once; ZR_SIMULADOR_CASO names the case as for the capture module
// (the parametric ortho-k case is "orto <raio> <profundidade> <zona> [<descentração>]"),
// ZR_SIMULADOR_SEMENTE the noise seed, and ZR_MODULOS_SAIDA a folder where the window is
// saved as "DigitalizacaoOrto.png" after the capture. A cancelled capture, or an eye other
// than 0 or 1, leaves all eight buffers empty.

#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"
#include "plugins/instrumento/UBitmap.h"
#include "plugins/instrumento/UCalibracaoAneis.h"
#include "plugins/instrumento/UCasosModelo.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

using namespace zrmod;
using namespace Instrumento;

namespace {

constexpr int kQuadros = 4;

bool Automatico()
{
    return qEnvironmentVariable("ZR_MODULOS_AUTOMATICO") == QLatin1String("1") ||
           !qobject_cast<QApplication*>(QCoreApplication::instance());
}

uint32_t Semente()
{
    bool ok = false;
    const uint32_t s = qEnvironmentVariable("ZR_SIMULADOR_SEMENTE").toUInt(&ok);
    return ok ? s : 1u;
}

// The case the capture starts with: the environment's, else the parametric ortho-k case.
CasoModelo CasoInicial(int olho)
{
    CasoModelo caso;
    const QString nome = qEnvironmentVariable("ZR_SIMULADOR_CASO");
    if (nome.isEmpty() || !CasoPorNome(nome, caso, olho))
        CasoPorNome(NomeOrtoParametrico(), caso, olho);
    return caso;
}

int NumAneis(const TInfosZR* infos)
{
    return infos && infos->NumAneis > 24 ? 32 : 16;
}

// Frame i (0..3) of a sitting: the case's conditions with the small changes between shots.
ParametrosCaptura ParametrosQuadro(const CasoModelo& caso, const TInfosZR* infos, uint32_t semente, int i)
{
    static const double dx[kQuadros] = {0.0, 1.3, -0.9, 0.6};
    static const double dy[kQuadros] = {0.0, -0.7, 1.1, 0.9};
    static const double palpebra[kQuadros] = {0.0, -0.15, 0.1, -0.25};
    static const double filme[kQuadros] = {1.0, 1.15, 0.9, 1.25};
    ParametrosCaptura p = caso.captura;
    if (infos && std::isfinite(infos->FatorCorrecao) && infos->FatorCorrecao > 0.005 && infos->FatorCorrecao < 0.1)
        p.fatorCorrecao = infos->FatorCorrecao;
    p.semente = semente + 7919u * uint32_t(i);
    p.centroX += dx[i];
    p.centroY += dy[i];
    p.palpebraSuperior += palpebra[i];
    p.ruido *= filme[i];
    p.desfoque *= 0.5 + 0.5 * filme[i];
    return p;
}

struct ImagensCaptura {
    QImage central[kQuadros];
    QImage lateral[kQuadros];
};

ImagensCaptura Quadros(const CasoModelo& caso, const TInfosZR* infos, uint32_t semente)
{
    ImagensCaptura c;
    const ConePlacido cone(NumAneis(infos));
    for (int i = 0; i < kQuadros; ++i) {
        const ParametrosCaptura p = ParametrosQuadro(caso, infos, semente, i);
        c.central[i] = RenderizaCentral(caso.cornea, cone, p);
        c.lateral[i] = RenderizaLateral(caso.cornea, p);
    }
    return c;
}

// The capture window: live image, the four frames, the model cornea, capture and cancel.
class JanelaCapturaOrto : public QDialog {
public:
    JanelaCapturaOrto(QWidget* pai, const QString& legenda, int olho, const TInfosZR* infos)
        : QDialog(pai), m_olho(olho), m_infos(infos), m_cone(NumAneis(infos)), m_semente(Semente())
    {
        setObjectName(QStringLiteral("frmDigitalizacaoOrto"));
        setWindowTitle(legenda);
        setModal(true);

        m_imagem = new QLabel(this);
        m_imagem->setObjectName(QStringLiteral("imgCentral"));
        m_imagem->setFixedSize(LarguraImagem, AlturaImagem);

        auto* quadros = new QGroupBox(QStringLiteral("Imagens capturadas"), this);
        auto* colunaQuadros = new QVBoxLayout(quadros);
        for (int i = 0; i < kQuadros; ++i) {
            m_miniaturas[i] = new QLabel(quadros);
            m_miniaturas[i]->setObjectName(QStringLiteral("imgQuadro%1").arg(i + 1));
            m_miniaturas[i]->setFixedSize(LarguraImagem / 4, AlturaImagem / 4);
            m_miniaturas[i]->setAlignment(Qt::AlignCenter);
            m_miniaturas[i]->setStyleSheet(QStringLiteral("background: #202020; color: #a0a0a0;"));
            m_miniaturas[i]->setText(QStringLiteral("%1").arg(i + 1));
            colunaQuadros->addWidget(m_miniaturas[i]);
        }
        colunaQuadros->addStretch(1);

        m_casos = new QComboBox(this);
        m_casos->setObjectName(QStringLiteral("cbxCaso"));
        m_casos->addItem(NomeOrtoParametrico());
        m_casos->addItems(NomesCasos());

        auto criaSpin = [this](const char* nome, double minimo, double maximo, double passo, double valor,
                               const QString& sufixo) {
            auto* s = new QDoubleSpinBox(this);
            s->setObjectName(QLatin1String(nome));
            s->setRange(minimo, maximo);
            s->setSingleStep(passo);
            s->setDecimals(passo < 1.0 ? 2 : 0);
            s->setValue(valor);
            s->setSuffix(sufixo);
            return s;
        };
        const TratamentoOrto padrao;
        m_profundidade = criaSpin("spnProfundidade", 0, 60, 1, padrao.profundidade, QStringLiteral(" µm"));
        m_zona = criaSpin("spnZona", 2, 7, 0.25, padrao.zona, QStringLiteral(" mm"));
        m_descentracao = criaSpin("spnDescentracao", 0, 1.5, 0.05, padrao.descentracao, QStringLiteral(" mm"));
        m_tratamento = new QGroupBox(QStringLiteral("Tratamento orto-k"), this);
        auto* formTratamento = new QFormLayout(m_tratamento);
        formTratamento->addRow(QStringLiteral("Profundidade:"), m_profundidade);
        formTratamento->addRow(QStringLiteral("Zona de tratamento:"), m_zona);
        formTratamento->addRow(QStringLiteral("Descentração temporal:"), m_descentracao);

        m_capturar = new QPushButton(QStringLiteral("Capturar"), this);
        m_capturar->setObjectName(QStringLiteral("btnCapturar"));
        m_capturar->setDefault(true);
        m_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
        m_cancelar->setObjectName(QStringLiteral("btnCancelar"));
        auto* olhoTexto = new QLabel(olho == 0 ? QStringLiteral("Olho Esquerdo") : QStringLiteral("Olho Direito"), this);
        olhoTexto->setObjectName(QStringLiteral("lblOlho"));
        QFont negrito = olhoTexto->font();
        negrito.setBold(true);
        olhoTexto->setFont(negrito);
        m_estado = new QLabel(QStringLiteral("Alinhe o olho e capture as quatro imagens."), this);
        m_estado->setObjectName(QStringLiteral("lblEstado"));

        auto* lateral = new QVBoxLayout;
        lateral->addWidget(olhoTexto);
        lateral->addWidget(new QLabel(QStringLiteral("Córnea:"), this));
        lateral->addWidget(m_casos);
        lateral->addWidget(m_tratamento);
        lateral->addStretch(1);
        lateral->addWidget(m_capturar);
        lateral->addWidget(m_cancelar);

        auto* centro = new QVBoxLayout;
        centro->addWidget(m_imagem);
        centro->addWidget(m_estado);

        auto* layout = new QHBoxLayout(this);
        layout->addLayout(lateral);
        layout->addLayout(centro);
        layout->addWidget(quadros);

        m_caso = CasoInicial(olho);
        const int i = m_casos->findText(m_caso.nome);
        if (i >= 0) {
            m_casos->setCurrentIndex(i);
        } else if (m_caso.nome.startsWith(QLatin1String("orto"), Qt::CaseInsensitive)) {
            m_casos->setCurrentIndex(0);
            MostraTratamento(m_caso.nome);
        } else {
            m_casos->insertItem(1, m_caso.nome);
            m_casos->setCurrentIndex(1);
        }
        m_tratamento->setEnabled(m_casos->currentIndex() == 0);

        connect(m_casos, &QComboBox::currentIndexChanged, this, [this] { EscolheCaso(); });
        for (QDoubleSpinBox* s : {m_profundidade, m_zona, m_descentracao})
            connect(s, &QDoubleSpinBox::valueChanged, this, [this] { EscolheCaso(); });
        connect(m_capturar, &QPushButton::clicked, this, [this] { Captura(); accept(); });
        connect(m_cancelar, &QPushButton::clicked, this, &QDialog::reject);
        m_relogio = new QTimer(this);
        m_relogio->setInterval(200);
        connect(m_relogio, &QTimer::timeout, this, [this] { QuadroAoVivo(); });
        QuadroAoVivo();
        m_relogio->start();
    }

    // Takes the four frames of the sitting and shows them as thumbnails.
    void Captura()
    {
        m_relogio->stop();
        m_capturar->setEnabled(false);
        m_cancelar->setEnabled(false);
        m_casos->setEnabled(false);
        m_tratamento->setEnabled(false);
        const ConePlacido& cone = m_cone;
        for (int i = 0; i < kQuadros; ++i) {
            m_estado->setText(QStringLiteral("Capturando imagem %1 de %2...").arg(i + 1).arg(kQuadros));
            const ParametrosCaptura p = ParametrosQuadro(m_caso, m_infos, m_semente, i);
            m_captura.central[i] = RenderizaCentral(m_caso.cornea, cone, p);
            m_captura.lateral[i] = RenderizaLateral(m_caso.cornea, p);
            m_imagem->setPixmap(QPixmap::fromImage(m_captura.central[i]));
            m_miniaturas[i]->setPixmap(QPixmap::fromImage(m_captura.central[i].scaled(
                m_miniaturas[i]->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        m_estado->setText(QStringLiteral("Quatro imagens capturadas."));
        m_capturada = true;
    }

    const ImagensCaptura& Imagens() const { return m_captura; }
    bool Capturada() const { return m_capturada; }

private:
    void MostraTratamento(const QString& texto)
    {
        const QStringList v = texto.simplified().split(QLatin1Char(' '));
        double x;
        if (v.size() >= 4) {
            if (LeNumeroTexto(v[2], x))
                m_profundidade->setValue(x);
            if (LeNumeroTexto(v[3], x))
                m_zona->setValue(x);
        }
        if (v.size() >= 5 && LeNumeroTexto(v[4], x))
            m_descentracao->setValue(std::abs(x));
    }

    void EscolheCaso()
    {
        const bool parametrico = m_casos->currentIndex() == 0;
        m_tratamento->setEnabled(parametrico);
        CasoModelo c;
        bool ok;
        if (parametrico) {
            TratamentoOrto t;
            t.profundidade = m_profundidade->value();
            t.zona = m_zona->value();
            t.descentracao = m_descentracao->value();
            ok = CasoPorNome(TextoTratamentoOrto(t), c, m_olho);
        } else {
            ok = CasoPorNome(m_casos->currentText(), c, m_olho);
        }
        if (ok)
            m_caso = c;
        QuadroAoVivo();
    }

    // The live image: new sensor noise and the small movements of a fixating eye.
    void QuadroAoVivo()
    {
        ParametrosCaptura p = ParametrosQuadro(m_caso, m_infos, m_semente + 101u * m_vivos, 0);
        if (m_vivos > 0) {
            p.centroX += 1.5 * std::sin(m_vivos * 0.7);
            p.centroY += 1.0 * std::cos(m_vivos * 0.5);
        }
        ++m_vivos;
        m_imagem->setPixmap(QPixmap::fromImage(RenderizaCentral(m_caso.cornea, m_cone, p)));
    }

    int m_olho;
    const TInfosZR* m_infos;
    ConePlacido m_cone;
    uint32_t m_semente;
    unsigned m_vivos = 0;
    CasoModelo m_caso;
    ImagensCaptura m_captura;
    bool m_capturada = false;
    QLabel* m_imagem = nullptr;
    QLabel* m_miniaturas[kQuadros] = {};
    QLabel* m_estado = nullptr;
    QComboBox* m_casos = nullptr;
    QGroupBox* m_tratamento = nullptr;
    QDoubleSpinBox* m_profundidade = nullptr;
    QDoubleSpinBox* m_zona = nullptr;
    QDoubleSpinBox* m_descentracao = nullptr;
    QPushButton* m_capturar = nullptr;
    QPushButton* m_cancelar = nullptr;
    QTimer* m_relogio = nullptr;
};

// Writes the eight images; the host's buffers stay empty unless every one is there.
void Grava(const TQuatroBuffers* centrais, const TQuatroBuffers* laterais, const ImagensCaptura& c)
{
    for (int i = 0; i < kQuadros; ++i)
        if (!(*centrais)[i] || !(*laterais)[i])
            return;
    for (int i = 0; i < kQuadros; ++i) {
        GravaBytes((*centrais)[i], CodificaBitmap(c.central[i]));
        GravaBytes((*laterais)[i], CodificaBitmap(c.lateral[i]));
    }
}

} // namespace

ZR_ENTRADA void Info(ZrStream* saida)
{
    try {
        GravaLinhasTexto(saida, {QStringLiteral("Digitalização simulada das quatro imagens de ortoceratologia (sem câmera)"),
                                 QStringLiteral("Quatro quadros sucessivos de um olho; córneas-modelo e tratamento orto-k "
                                                "paramétrico (profundidade, zona e descentração)")});
    } catch (...) {
    }
}
ZR_CONFERE_ENTRADA(Info, TInfo);

ZR_ENTRADA void Digitalizar(void* janela, const TQuatroBuffers* centrais, const TQuatroBuffers* laterais,
                            int32_t olho, const TInfosZR* infos, const char* legenda)
{
    try {
        if (!centrais || !laterais || (olho != ZR_OLHO_ESQUERDO && olho != ZR_OLHO_DIREITO))
            return;
        const QString titulo = DeTextoModulo(legenda);
        if (Automatico()) {
            if (qobject_cast<QApplication*>(QCoreApplication::instance()) && !qEnvironmentVariable("ZR_MODULOS_SAIDA").isEmpty()) {
                // Batch use that wants to see the window: show it, capture, save it.
                JanelaCapturaOrto janelaCaptura(static_cast<QWidget*>(janela), titulo, olho, infos);
                janelaCaptura.show();
                QCoreApplication::processEvents();
                janelaCaptura.Captura();
                janelaCaptura.grab().save(QDir(qEnvironmentVariable("ZR_MODULOS_SAIDA")).filePath(QStringLiteral("DigitalizacaoOrto.png")));
                Grava(centrais, laterais, janelaCaptura.Imagens());
                return;
            }
            Grava(centrais, laterais, Quadros(CasoInicial(olho), infos, Semente()));
            return;
        }
        JanelaCapturaOrto janelaCaptura(static_cast<QWidget*>(janela), titulo, olho, infos);
        if (janelaCaptura.exec() != QDialog::Accepted || !janelaCaptura.Capturada())
            return;
        Grava(centrais, laterais, janelaCaptura.Imagens());
    } catch (...) {
    }
}
ZR_CONFERE_ENTRADA(Digitalizar, TDigitalizarOrto);
