// Pictures of the printed report for the documentation (not a test): pages rendered from
// the PDFs at 150 dpi and the print preview at 1366 x 768. Run under a display:
// telas_pagina <pasta de saída>

#include "tests/reports/UCenarioRelat.h"

#include <QApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QScreen>
#include <QThread>

namespace {

void Pagina(const TfrmLauRelat& relat, const QString& saida, const QString& nome)
{
    const QString pdf = saida + u'/' + nome + QStringLiteral(".pdf");
    relat.ExportaPdf(pdf);
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "150", "-gray", "-png", pdf, saida + u'/' + nome});
    QFile::remove(pdf);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString saida = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    CenarioRelat c;
    if (!c.Valido())
        return 1;
    c.Clinica({QStringLiteral("Clínica de Olhos Visão Clara"), QStringLiteral("Rua das Flores, 120 - Centro"),
               QStringLiteral("Campinas - SP"), QStringLiteral("(19) 3333-4444")});
    QImage logo(100, 100, QImage::Format_RGB32);
    logo.fill(Qt::white);
    {
        QPainter p(&logo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(30, 80, 160));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(5, 15, 90, 70));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(32, 32, 36, 36));
        p.setBrush(QColor(30, 80, 160));
        p.drawEllipse(QRectF(42, 42, 16, 16));
    }
    logo.save(CaminhoEm(PathsZR.DirZR, QStringLiteral("LogoClinica.bmp")), "BMP");
    c.Prepara();
    TfrmLaudo* e = c.Novo(CenarioLaudo::kOD, CenarioLaudo::kOS, 1, QStringLiteral("Retorno em um ano."));
    Pagina(TfrmLauRelat(PreparaRelat(*e)), saida, QStringLiteral("1_novo"));

    // The preview window.
    auto anterior = DefineAberturaModal([&](QDialog* d) {
        if (!qobject_cast<QPrintPreviewDialog*>(d))
            return int(QDialog::Rejected);
        d->setGeometry(0, 0, 1366, 768);
        d->show();
        for (int i = 0; i < 25; ++i) {
            QApplication::processEvents();
            QThread::msleep(20);
        }
        QGuiApplication::primaryScreen()->grabWindow(0).save(saida + QStringLiteral("/visualizacao.png"));
        return int(QDialog::Rejected);
    });
    e->sbtVisualizarImprClick();
    DefineAberturaModal(anterior);

    DadosRelat semDados = PreparaRelat(*e);
    semDados.Logo = QImage();
    semDados.NomeCli = semDados.EnderecoCli = semDados.CidadeEst = semDados.Fone = QString();
    semDados.NomePac = QStringLiteral("Maria Aparecida de Albuquerque Vasconcelos Ribeiro");
    semDados.NomeMed = QStringLiteral("Dr. Maximiliano Wanderley de Albuquerque Bittenco");
    Pagina(TfrmLauRelat(semDados), saida, QStringLiteral("4_sem_logo_nomes_longos"));

    QString longo;
    for (int i = 0; i < 60; ++i)
        longo += QStringLiteral("Paciente orientada quanto ao uso de lubrificantes e ao retorno. ");
    e->reCM->setPlainText(longo);
    Pagina(TfrmLauRelat(PreparaRelat(*e)), saida, QStringLiteral("3_duas_paginas"));
    e->reCM->setPlainText(QStringLiteral("Retorno em um ano."));

    e = c.GravaEReabre(0);
    Pagina(TfrmLauRelat(PreparaRelat(*e)), saida, QStringLiteral("2_gravado"));
    return 0;
}
