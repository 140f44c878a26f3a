// Pictures of the tools form for the documentation (not a test): every page on an installation
// with a clinic, a logo, doctors, patients, examinations and reports, some of them on backup
// media, and the database page after the reset of the backup state. Run under a display with a window manager:
// telas_ferramentas <pasta de saída>

#include "backup/UBackup.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "config/UfrmFerramentas.h"
#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "platform/UTraducao.h"
#include "tests/support/UBancoTeste.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTabWidget>
#include <QThread>

namespace {

void Foto(QWidget* janela, const QString& arquivo)
{
    for (int i = 0; i < 25; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    janela->grab().save(arquivo);
}

// A simple clinic logo: an eye in a ring.
QImage LogoExemplo()
{
    QImage img(90, 90, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(22, 74, 122), 5));
    g.drawEllipse(QRectF(6, 6, 78, 78));
    g.setPen(QPen(QColor(22, 120, 160), 4));
    QPainterPath olho;
    olho.moveTo(18, 45);
    olho.quadTo(45, 18, 72, 45);
    olho.quadTo(45, 72, 18, 45);
    g.drawPath(olho);
    g.setBrush(QColor(22, 74, 122));
    g.drawEllipse(QPointF(45, 45), 9, 9);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstalaTraducaoQt();
    const QString saida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    BancoTeste banco;
    if (!banco.Valido())
        return 1;
    auto& inst = banco.Instalacao();
    inst.AlteraChave(QStringLiteral("NOME"), QStringLiteral("Clínica de Olhos Visão Clara"));
    inst.AlteraChave(QStringLiteral("ENDERECO"), QStringLiteral("Av. Brasil, 1500 - sala 302"));
    inst.AlteraChave(QStringLiteral("CidadeEst"), QStringLiteral("Campinas/SP"));
    inst.AlteraChave(QStringLiteral("TELEFONE"), QStringLiteral("(19) 3232-4545"));
    inst.AlteraChave(QStringLiteral("AUTOPCAPTURA"), QStringLiteral("1"));
    inst.AlteraChave(QStringLiteral("EXIBECERATOMETRIAPONTUAL"), QStringLiteral("1"));
    TBIniSettings ini;
    ini.LoadAll(3);
    PreencheRegistrosZR(ini, InfosZR, PathsZR);
    LogoExemplo().save(PathsZR.DirZR + QStringLiteral("/LogoClinica.bmp"), "BMP");

    TDMPrincipal& dm = banco.DM();
    for (const char* nome : {"Dr. Álvaro Souza", "Dra. Beatriz Lima", "Dr. Carlos Prado"}) {
        TDadosMedico m;
        m.Nome = QString::fromUtf8(nome);
        TDMedicos(dm).InsereMedico(m);
    }
    const int medico = TDMedicos(dm).IndiceMedicos();
    QList<int> exames, laudos;
    for (int p = 0; p < 14; ++p) {
        TDadosPaciente pac;
        pac.Nome = QStringLiteral("Paciente %1").arg(p + 1);
        TDPacientes(dm).InserePaciente(pac, QDate(2024, 1, 1), 0);
        const int paciente = TDPacientes(dm).IndicePacientes();
        for (int e = 0; e < 3; ++e) {
            TDExames(dm).InsereExame(paciente, medico, QDate(2024, 3, 1 + e), QTime(9, e), e % 2 ? QStringLiteral("OE")
                                                                                             : QStringLiteral("OD"),
                                     90, QStringLiteral("T"), QString(), QString(), QString(), 16, QStringLiteral("2"));
            exames << TDExames(dm).IndiceExames();
        }
        TDLaudos(dm).InsereLaudo(paciente, 0, 0, QString(), QDate(2024, 3, 5), QTime(10, 0));
        laudos << TDLaudos(dm).IndiceLaudos();
    }
    dm.PCommitDataBase();
    Backup::GravaMarcas(dm, Backup::Tabela::Exames, exames.mid(0, 30), QStringList(30, QStringLiteral("ZRQK0001")));
    Backup::GravaMarcas(dm, Backup::Tabela::Laudos, laudos.mid(0, 9), QStringList(9, QStringLiteral("ZRQK0001")));
    Backup::EscreveChaves(Backup::ArquivoBackupIni(), {{QStringLiteral("BackupZerado"), QStringLiteral("1")}});

    const QString v = QStringLiteral("1.0.0.0");
    const QStringList mapas = {
        QStringLiteral("Multi Mapas Orto"), QStringLiteral("Wizard"),
        QStringLiteral("Até quatro mapas de ortoceratologia na mesma escala, com Sag, Div, Raio e a zona de tratamento."), v,
        QStringLiteral("Multi Mapas"), QStringLiteral("Wizard"),
        QStringLiteral("Até quatro mapas lado a lado: as quatro vistas de um exame, dois exames em duas vistas ou o "
                       "acompanhamento de 3 ou 4 exames de um olho."), v,
        QStringLiteral("Mapa Duplo"), QStringLiteral("Wizard"),
        QStringLiteral("Olho direito e olho esquerdo lado a lado, na mesma escala, com a diferença entre os olhos."), v,
        QStringLiteral("Mapa Diferencial"), QStringLiteral("Wizard"),
        QStringLiteral("Dois exames de um olho e a diferença entre eles, em escala própria centrada em zero."), v,
        QStringLiteral("Mapa Tangencial Orto"), QStringLiteral("Simples"),
        QStringLiteral("Mapa tangencial após ortoceratologia: a zona central aplanada, o anel de encurvamento, seu "
                       "diâmetro e potência, a descentração da zona e os valores da lente."), v,
        QStringLiteral("Mapa Tangencial"), QStringLiteral("Simples"),
        QStringLiteral("Mapa de curvatura tangencial (instantânea) da córnea: mostra a forma local, realça as bordas "
                       "de ectasias e de zonas de tratamento."), v,
        QStringLiteral("Mapa Axial"), QStringLiteral("Simples"),
        QStringLiteral("Mapa de curvatura axial (sagital) da córnea: potência em dioptrias em relação ao eixo do "
                       "ceratoscópio."), v};
    auto* frm = new TfrmFerramentas(mapas);
    frm->show();
    const char* nomes[] = {"1_modulos", "2_aplicativos", "3_dados_clinica", "4_configuracoes", "5_banco_de_dados"};
    for (int i = 0; i < 5; ++i) {
        frm->pgcFerramentas->setCurrentIndex(i);
        Foto(frm, saida + QStringLiteral("/%1.png").arg(QLatin1String(nomes[i])));
    }
    // After "Zerar Backup" (its message goes to the standard error output here).
    frm->sButton2Click();
    Foto(frm, saida + QStringLiteral("/6_banco_de_dados_zerado.png"));
    frm->hide();
    delete frm;
    return 0;
}
