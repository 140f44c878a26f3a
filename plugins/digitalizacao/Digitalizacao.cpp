// The capture module of the simulated instrument. No camera is attached: the central image
// is rendered from a model cornea (the Placido rings it reflects, over pupil, iris and lids,
// with blur and sensor noise) and the lateral image is the eye's profile.
//
// Eye 0 or 1: a capture window over the caller's window shows the live image and lets the
// user choose the model cornea, then capture or cancel. Eye 2: the calibration sphere whose
// radius the caption carries ("Digitalizando Esfera (7,73)") is captured at once. With
// ZR_MODULOS_AUTOMATICO=1, or without a widget application, the eye is captured at once too;
// ZR_SIMULADOR_CASO names the case (a name of the window's list, an example such as
// "Central03", or parameters such as "torica 7.9 7.5 30"), ZR_SIMULADOR_SEMENTE the noise
// seed, and ZR_MODULOS_SAIDA a folder where the capture window is saved as a picture.
// A cancelled capture, or a caption without a radius for eye 2, leaves both buffers empty.

#include "modules/UBufferMemoria.h"
#include "modules/zr_modulos.h"
#include "plugins/instrumento/UCalibracaoAneis.h"
#include "plugins/instrumento/UCasosModelo.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

using namespace zrmod;
using namespace Instrumento;

namespace {

QByteArray Bitmap(const QImage& imagem)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    imagem.save(&buffer, "BMP");
    return bytes;
}

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

// The case the capture starts with: the environment's, else a normal cornea.
CasoModelo CasoInicial(int olho)
{
    CasoModelo caso;
    const QString nome = qEnvironmentVariable("ZR_SIMULADOR_CASO");
    if (nome.isEmpty() || !CasoPorNome(nome, caso, olho))
        CasoPorNome(QStringLiteral("Normal"), caso, olho);
    return caso;
}

void AplicaInfos(ParametrosCaptura& p, const TInfosZR* infos)
{
    if (infos && std::isfinite(infos->FatorCorrecao) && infos->FatorCorrecao > 0.005 && infos->FatorCorrecao < 0.1)
        p.fatorCorrecao = infos->FatorCorrecao;
}

int NumAneis(const TInfosZR* infos)
{
    return infos && infos->NumAneis > 24 ? 32 : 16;
}

double EscalaLateral(const TInfosZR*)
{
    return 0.03;
}

// The radius in the calibration caption: the number between the parentheses.
bool RaioDaLegenda(const QString& legenda, double& raio)
{
    static const QRegularExpression entre(QStringLiteral("\\(([^)]*)\\)"));
    const QRegularExpressionMatch m = entre.match(legenda);
    return m.hasMatch() && LeNumeroTexto(m.captured(1), raio) && raio >= 5.0 && raio <= 12.0;
}

// The capture window: live image, model cornea, capture and cancel.
class JanelaCaptura : public QDialog {
public:
    JanelaCaptura(QWidget* pai, const QString& legenda, int olho, const TInfosZR* infos)
        : QDialog(pai), m_olho(olho), m_infos(infos), m_cone(NumAneis(infos)), m_semente(Semente())
    {
        setObjectName(QStringLiteral("frmDigitalizacao"));
        setWindowTitle(legenda);
        setModal(true);
        m_imagem = new QLabel(this);
        m_imagem->setObjectName(QStringLiteral("imgCentral"));
        m_imagem->setFixedSize(LarguraImagem, AlturaImagem);
        m_casos = new QComboBox(this);
        m_casos->setObjectName(QStringLiteral("cbxCaso"));
        m_casos->addItems(NomesCasos());
        m_capturar = new QPushButton(QStringLiteral("Capturar"), this);
        m_capturar->setObjectName(QStringLiteral("btnCapturar"));
        m_capturar->setDefault(true);
        m_cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
        m_cancelar->setObjectName(QStringLiteral("btnCancelar"));
        auto* olhoTexto = new QLabel(olho == 0 ? QStringLiteral("Olho Esquerdo") : QStringLiteral("Olho Direito"), this);
        olhoTexto->setObjectName(QStringLiteral("lblOlho"));

        auto* barra = new QHBoxLayout;
        barra->addWidget(olhoTexto);
        barra->addWidget(new QLabel(QStringLiteral("Córnea:"), this));
        barra->addWidget(m_casos, 1);
        barra->addWidget(m_capturar);
        barra->addWidget(m_cancelar);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_imagem);
        layout->addLayout(barra);

        m_caso = CasoInicial(olho);
        const int i = m_casos->findText(m_caso.nome);
        if (i < 0) {
            m_casos->insertItem(0, m_caso.nome);
            m_casos->setCurrentIndex(0);
        } else {
            m_casos->setCurrentIndex(i);
        }

        connect(m_casos, &QComboBox::currentTextChanged, this, [this](const QString& nome) {
            CasoModelo c;
            if (CasoPorNome(nome, c, m_olho))
                m_caso = c;
            Quadro();
        });
        connect(m_capturar, &QPushButton::clicked, this, &QDialog::accept);
        connect(m_cancelar, &QPushButton::clicked, this, &QDialog::reject);
        m_relogio = new QTimer(this);
        m_relogio->setInterval(200);
        connect(m_relogio, &QTimer::timeout, this, [this] { Quadro(); });
        Quadro();
        m_relogio->start();
    }

    // The frame on the screen: what "Capturar" keeps.
    const QImage& Central() const { return m_quadro; }
    const CasoModelo& Caso() const { return m_caso; }
    ParametrosCaptura Parametros() const { return m_parametros; }

    // A new frame: new sensor noise and the small movements of a fixating eye.
    void Quadro()
    {
        ParametrosCaptura p = m_caso.captura;
        AplicaInfos(p, m_infos);
        p.semente = m_semente + m_quadros;
        if (m_quadros > 0) {
            p.centroX += 1.5 * std::sin(m_quadros * 0.7);
            p.centroY += 1.0 * std::cos(m_quadros * 0.5);
        }
        ++m_quadros;
        m_parametros = p;
        m_quadro = RenderizaCentral(m_caso.cornea, m_cone, p);
        m_imagem->setPixmap(QPixmap::fromImage(m_quadro));
    }

private:
    int m_olho;
    const TInfosZR* m_infos;
    ConePlacido m_cone;
    uint32_t m_semente;
    unsigned m_quadros = 0;
    CasoModelo m_caso;
    ParametrosCaptura m_parametros;
    QImage m_quadro;
    QLabel* m_imagem = nullptr;
    QComboBox* m_casos = nullptr;
    QPushButton* m_capturar = nullptr;
    QPushButton* m_cancelar = nullptr;
    QTimer* m_relogio = nullptr;
};

void Grava(ZrStream* central, ZrStream* lateral, const QImage& c, const QImage& l)
{
    if (central)
        GravaBytes(central, Bitmap(c));
    if (lateral)
        GravaBytes(lateral, Bitmap(l));
}

} // namespace

ZR_ENTRADA void Info(ZrStream* saida)
{
    try {
        GravaLinhasTexto(saida, {QStringLiteral("Digitalização simulada do topógrafo de Plácido (sem câmera)"),
                                 QStringLiteral("Anéis refletidos por córneas-modelo: esfera, tórica, asférica, ceratocone, "
                                                "astigmatismo irregular; esferas de calibração")});
    } catch (...) {
    }
}
ZR_CONFERE_ENTRADA(Info, TInfo);

ZR_ENTRADA void Digitalizar(void* janela, ZrStream* central, ZrStream* lateral, int32_t olho,
                            const TInfosZR* infos, const char* legenda)
{
    try {
        const QString titulo = DeTextoModulo(legenda);
        const ConePlacido cone(NumAneis(infos));
        if (olho == ZR_ESFERA_CALIBRACAO) {
            double raio = 0.0;
            if (!RaioDaLegenda(titulo, raio))
                return;
            ParametrosCaptura p;
            AplicaInfos(p, infos);
            p.esferaCalibracao = true;
            p.semente = Semente();
            const ModeloCornea esfera = ModeloCornea::Esfera(raio);
            Grava(central, lateral, RenderizaCentral(esfera, cone, p), RenderizaLateral(esfera, p, EscalaLateral(infos)));
            return;
        }
        if (olho != ZR_OLHO_ESQUERDO && olho != ZR_OLHO_DIREITO)
            return;

        if (Automatico()) {
            if (qobject_cast<QApplication*>(QCoreApplication::instance()) && !qEnvironmentVariable("ZR_MODULOS_SAIDA").isEmpty()) {
                // Batch use that wants to see the window: show it, save it, capture.
                JanelaCaptura janelaCaptura(static_cast<QWidget*>(janela), titulo, olho, infos);
                janelaCaptura.show();
                QCoreApplication::processEvents();
                janelaCaptura.grab().save(QDir(qEnvironmentVariable("ZR_MODULOS_SAIDA")).filePath(QStringLiteral("Digitalizacao.png")));
                Grava(central, lateral, janelaCaptura.Central(),
                      RenderizaLateral(janelaCaptura.Caso().cornea, janelaCaptura.Parametros(), EscalaLateral(infos)));
                return;
            }
            CasoModelo caso = CasoInicial(olho);
            ParametrosCaptura p = caso.captura;
            AplicaInfos(p, infos);
            p.semente = Semente();
            Grava(central, lateral, RenderizaCentral(caso.cornea, cone, p), RenderizaLateral(caso.cornea, p, EscalaLateral(infos)));
            return;
        }

        JanelaCaptura janelaCaptura(static_cast<QWidget*>(janela), titulo, olho, infos);
        if (janelaCaptura.exec() != QDialog::Accepted)
            return;
        Grava(central, lateral, janelaCaptura.Central(),
              RenderizaLateral(janelaCaptura.Caso().cornea, janelaCaptura.Parametros(), EscalaLateral(infos)));
    } catch (...) {
    }
}
ZR_CONFERE_ENTRADA(Digitalizar, TDigitalizar);
