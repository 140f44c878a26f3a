// Renders the pictures of the measurement screen kept in docs/telas/medidas: a keratoconus
// examination captured and stored as the capture form stores it, then the screen with
// measurements, with the FST points and with the lens drawn in modes 1 and 2. Run it on a
// display of 1366 x 768 with a window manager:
//   xvfb-run -s "-screen 0 1366x768x24" sh -c 'openbox & sleep 1; telas_medidas <pasta>'

#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"
#include "tests/support/UExameCapturado.h"
#include "topography/UFMedidas.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

void Espera(int ms) { QTest::qWait(ms); }

void Salva(const QString& arquivo)
{
    Espera(400);
    QApplication::primaryScreen()->grabWindow(0).save(arquivo);
}

void Mede(TCanvasMedidas* c, QPoint a, QPoint b)
{
    QTest::mouseMove(c, a);
    QTest::mousePress(c, Qt::LeftButton, {}, a);
    QTest::mouseMove(c, b);
    QTest::mousePress(c, Qt::LeftButton, {}, b);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString pasta = QString::fromLocal8Bit(argv[1]);
    BancoTeste banco;
    if (!banco.Valido())
        return 1;
    TBIniSettings ini;
    ini.LoadAll(3);
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    TDadosMedico m;
    m.Nome = QStringLiteral("Dra. Helena Prado");
    TDMedicos(banco.DM()).InsereMedico(m);
    TDadosPaciente p;
    p.Nome = QStringLiteral("João Araújo");
    TDPacientes(banco.DM()).InserePaciente(p, QDate(2024, 1, 2), 0);
    const int paciente = TDPacientes(banco.DM()).IndicePacientes();
    const ExameCapturado e = GravaExameCapturado(banco.DM(), paciente, TDMedicos(banco.DM()).CodigoMedico(m.Nome),
                                                 QStringLiteral("Central02"), QStringLiteral("OS"), QDate(2025, 3, 14));
    if (!e.Valido)
        return 1;
    MensagensRoteiro msgs;
    TExameMedidas x;
    x.Codigo = e.Codigo;
    x.CodPaciente = paciente;
    x.Olho = e.Olho;
    x.Data = QStringLiteral("14/03/2025");
    x.NomePaciente = p.Nome;

    TFMedidas form;
    auto mostra = [&] {
        form.FormShow(x);
        form.showMaximized();
        Espera(300);
    };
    const QStringList pontos = qEnvironmentVariable("ZR_TELAS_PONTOS").split(u',');
    auto pt = [&](int i) { return QPoint(pontos.value(2 * i).toInt(), pontos.value(2 * i + 1).toInt()); };

    mostra();
    if (pontos.size() < 16) {
        form.ImgCentralAux->Imagem().save(pasta + QStringLiteral("/central.png"));
        form.ImgLateralAux->Imagem().save(pasta + QStringLiteral("/lateral.png"));
        return 0;
    }
    // Points (ZR_TELAS_PONTOS, x,y pairs): 0-1 iris chord, 2-3 a second central measurement, 4-5 apex to limbus, 6-7 a
    // second lateral measurement, 8 the FST third point.
    Mede(form.ImgCentral, pt(2), pt(3));
    Mede(form.ImgCentral, pt(0), pt(1));
    Mede(form.ImgLateral, pt(4), pt(5));
    Mede(form.ImgLateral, pt(6), pt(7));
    QTest::mouseMove(form.ImgCentral, pt(0) + QPoint(40, 30));
    Salva(pasta + QStringLiteral("/medidas.png"));

    mostra();
    form.cbFST->setChecked(true);
    Mede(form.ImgLateral, pt(4), pt(5));
    QTest::mousePress(form.ImgLateral, Qt::LeftButton, {}, pt(8));
    Salva(pasta + QStringLiteral("/fst.png"));
    form.cbFST->setChecked(false);

    for (const int modo : {1, 2}) {
        mostra();
        Mede(form.ImgCentral, pt(0), pt(1));
        Mede(form.ImgLateral, pt(4), pt(5));
        QTest::mouseClick(modo == 1 ? form.btCalculaSagTeorico : form.btCalculaSagMedida, Qt::LeftButton);
        Salva(pasta + QStringLiteral("/lente_modo%1.png").arg(modo));
    }
    return msgs.Registros().isEmpty() ? 0 : 3;
}
