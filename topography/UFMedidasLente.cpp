// The lens sagitta calculator of the measurement screen: the three calculation buttons, the
// linked fields and the lens profile drawn over the lateral image.

#include "topography/UFMedidas.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "platform/UMensagens.h"
#include "topography/UCalculosLente.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <cmath>

namespace {

void Aviso(const QString& texto) { Mensagem(QCoreApplication::applicationName(), texto); }

// Guard of the linked fields: while it lives, changes made by the program do not start
// another round of updates.
class Ligando {
public:
    explicit Ligando(int& contador) : m_c(contador) { ++m_c; }
    ~Ligando() { --m_c; }

private:
    int& m_c;
};

} // namespace

double TFMedidas::LeCampo(QLineEdit* campo) const { return TextoParaReal(campo->text()); }

// --- buttons ---------------------------------------------------------------------------------------

void TFMedidas::btCalculaSagTeoricoClick()
{
    const bool semApice = edtApiceIris->text() == QStringLiteral("0");
    const bool semIris = edtCordaIris->text() == QStringLiteral("0");
    if (semApice)
        Aviso(QStringLiteral("Insira o valor Apice-Iris medido na imagem central"));
    if (semIris)
        Aviso(QStringLiteral("Insira o valor da CordaIris medido na imagem central"));
    if (semApice || semIris)
        return;
    double iris = 0;
    if (!TentaReal(edtCordaIris->text(), iris)) {
        Aviso(QStringLiteral("erro de leitura do valor de CordaIris"));
        return;
    }
    CalculaPorModo(1);
}

void TFMedidas::btCalculaSagMedidaClick()
{
    const bool semApice = edtApiceIris->text() == QStringLiteral("0");
    const bool semIris = edtCordaIris->text() == QStringLiteral("0");
    if (semApice)
        Aviso(QStringLiteral("Insira o valor Apice-Iris medido na imagem central"));
    if (semIris)
        Aviso(QStringLiteral("Insira o valor da CordaIris medido na imagem central"));
    if (semApice || semIris)
        return;
    double apice = 0, iris = 0;
    if (!TentaReal(edtApiceIris->text(), apice) || !TentaReal(edtCordaIris->text(), iris)) {
        Aviso(QStringLiteral("erro de leitura em valor de CordaIris ou Apice-Iris"));
        return;
    }
    CalculaPorModo(2);
}

void TFMedidas::btCalcSagFSTClick()
{
    const bool semIris = edtCordaIris->text() == QStringLiteral("0");
    const bool semSag = lbSagP1->text() == QStringLiteral("0");
    const bool semCorda = lbCordaP3->text() == QStringLiteral("0");
    if (semIris)
        Aviso(QStringLiteral("Insira o valor da CordaIris medido na imagem central!"));
    if (semSag)
        Aviso(QStringLiteral("Marque o valor do ápice ao P1!"));
    if (semCorda)
        Aviso(QStringLiteral("Marque o valor do ponto P3 para cáculo da corda!"));
    if (semIris || semSag || semCorda)
        return;
    double sag = 0;
    try {
        sag = CalculaDistSagLenteFST(TextoParaReal(lbSagP1->text()), TextoParaReal(lbCordaP3->text()),
                                     LeCampo(edtCordaLente), LeCampo(edtVault));
    } catch (const ErroSistema& e) {
        RelataErro(e.Mensagem());
        return;
    }
    m_modo = 3;
    ConcluiCalculo(sag, false, 0, 0, 0);
}

bool TFMedidas::CalculaPorModo(int modo)
{
    TSagsLente s;
    try {
        TDadosLente d;
        d.DiametroLente = LeCampo(edtCordaLente);
        d.CordaEsclera = LeCampo(edtCordaEsclera);
        d.RaioEsclera = LeCampo(edtRaioEsclera);
        d.Vault = LeCampo(edtVault);
        if (modo == 1) {
            d.CordaTopo = LeCampo(edtCordaTopo);
            d.RaioTopo = LeCampo(edtRaioTopo);
            d.CordaLimbo = LeCampo(edtCordaLimbo);
            d.RaioLimbo = LeCampo(edtRaioLimbo);
            s = CalculaDistSagLente(d);
        } else {
            d.CordaIris = LeCampo(edtCordaIris);
            d.ApiceLimbo = LeCampo(edtApiceIris);
            s = CalculaDistSagLenteMedido(d);
        }
        if (!std::isfinite(s.SagLente))
            throw ErroCalculo(QStringLiteral("Não foi possível calcular o sag da lente com os valores informados."));
    } catch (const ErroSistema& e) {
        RelataErro(e.Mensagem());
        return false;
    }
    m_modo = modo;
    ConcluiCalculo(s.SagLente, true, s.SagTopo, s.SagLimbo, s.SagEsclera);
    return true;
}

void TFMedidas::ConcluiCalculo(double sagLente, bool mostraZonas, double sagTopo, double sagLimbo, double sagEsclera)
{
    {
        Ligando guarda(m_ligando);
        m_sag = sagLente;
        if (mostraZonas) {
            m_sagTopo = sagTopo;
            m_sagLimbo = sagLimbo;
            m_sagEsclera = sagEsclera;
            edtSagTopo->setText(FormataGeral(sagTopo));
            edtSagLimbo->setText(FormataGeral(sagLimbo));
            edtSagEsclera->setText(FormataGeral(sagEsclera));
        }
        // Moving the bar replaces the lens sag by its position.
        tbSagLente->setValue(PosicaoBarraSag(sagLente));
        edtSagLente->setText(FormataNumero(QStringLiteral("0000"), m_sag));
    }
    AtualizaRaioEDesenha();
}

void TFMedidas::AtualizaRaioEDesenha()
{
    try {
        const double raio = RaioLente(m_diametro, m_sag);
        if (!std::isfinite(raio))
            throw ErroCalculo(QStringLiteral("Não foi possível calcular o raio da lente com os valores informados."));
        m_raio = raio;
        Ligando guarda(m_ligando);
        edtRaioLente->setText(FormataGeral(raio));
    } catch (const ErroSistema& e) {
        MostraInicioDosCampos();
        RelataErro(e.Mensagem());
        return;
    }
    MostraInicioDosCampos();
    PlotaLente();
}

void TFMedidas::PlotaLente()
{
    if (!m_temP1)
        return; // no lateral measurement yet: nowhere to place the lens
    TDadosDesenhoLente d;
    d.P1 = m_p1;
    d.OlhoDireito = m_exame.Olho == QStringLiteral("OD");
    d.Modo = m_modo;
    d.RaioLente = m_raio;
    d.SagLente = m_sag;
    d.DiametroLente = m_diametro;
    d.SagTopo = m_sagTopo;
    d.SagLimbo = m_sagLimbo;
    d.ApiceLimbo = m_apiceIris;
    d.FatorX = m_fatorX;
    d.FatorY = m_fatorY;
    QImage img = ImgLateralAux->Imagem().copy();
    try {
        d.Vault = LeCampo(edtVault);
        ::PlotaLente(img, d, m_estilo);
    } catch (const ErroSistema& e) {
        RelataErro(e.Mensagem());
        return;
    }
    ImgLateral->Imagem() = img;
    ImgLateral->update();
}

// --- linked fields ----------------------------------------------------------------------------------

void TFMedidas::CampoSimplesChange(QLineEdit* campo, double& valor)
{
    if (m_ligando || campo->text().isEmpty())
        return;
    double v = 0;
    if (!TentaReal(campo->text(), v))
        return; // reported when a calculation reads it
    valor = v;
}

void TFMedidas::edtCordaLenteChange()
{
    if (m_ligando || edtCordaLente->text().isEmpty())
        return;
    double v = 0;
    if (!TentaReal(edtCordaLente->text(), v))
        return; // the calculation buttons report the field when they read it
    m_diametro = v;
    m_cordaEsclera = v;
    {
        Ligando guarda(m_ligando);
        edtCordaEsclera->setText(FormataGeral(v));
    }
    if (m_sag > 0) {
        if (m_modo == 1 || m_modo == 2)
            CalculaPorModo(m_modo); // the lens radius and drawing follow
        else
            AtualizaRaioEDesenha();
    }
}

void TFMedidas::edtCordaEscleraChange()
{
    if (m_ligando || edtCordaEsclera->text().isEmpty())
        return;
    double v = 0;
    if (!TentaReal(edtCordaEsclera->text(), v))
        return;
    m_cordaEsclera = v;
    m_diametro = v;
    Ligando guarda(m_ligando);
    edtCordaLente->setText(FormataGeral(v));
}

void TFMedidas::edtCordaIrisChange()
{
    if (m_ligando || edtCordaIris->text().isEmpty())
        return;
    double v = 0;
    if (!TentaReal(edtCordaIris->text(), v))
        return;
    m_cordaIris = v;
    m_cordaLimbo = v;
    Ligando guarda(m_ligando);
    edtCordaLimbo->setText(FormataGeral(v));
}

void TFMedidas::edtSagLenteChange()
{
    if (m_ligando || edtSagLente->text().isEmpty())
        return;
    double zona = 0;
    if (sender() == edtSagTopo && TentaReal(edtSagTopo->text(), zona))
        m_sagTopo = zona;
    else if (sender() == edtSagLimbo && TentaReal(edtSagLimbo->text(), zona))
        m_sagLimbo = zona;
    else if (sender() == edtSagEsclera && TentaReal(edtSagEsclera->text(), zona))
        m_sagEsclera = zona;
    double v = 0;
    if (!TentaReal(edtSagLente->text(), v) || !std::isfinite(v))
        return;
    m_sag = v;
    {
        Ligando guarda(m_ligando);
        tbSagLente->setValue(PosicaoBarraSag(v));
    }
    if (m_diametro > 0 && m_sag > 0)
        AtualizaRaioEDesenha();
}

void TFMedidas::tbCordaLenteChange(int posicao)
{
    const double diametro = posicao / 2.0 + 10;
    if (m_ligando) {
        m_diametro = diametro;
        edtCordaLente->setText(FormataGeral(diametro));
        return;
    }
    edtCordaLente->setText(FormataGeral(diametro)); // acts as typed
    m_diametro = diametro;
}

void TFMedidas::tbSagLenteChange(int posicao)
{
    m_sag = posicao;
    edtSagLente->setText(FormataGeral(posicao)); // follows; its own change is guarded when needed
}
