#pragma once
// The navigator on a fresh installation with the report wizard registered as its report
// action, the modal opener replaced (forms are shown and driven, never run modally), and
// examinations stored as the capture stores them: a row through the procedure and the three
// data files through the writers, from surfaces of known curvature.

#include "examfiles/UArquivosExame.h"
#include "platform/UJanelas.h"
#include "reports/UfrmLaudo.h"
#include "reports/UfrmWizLaudo.h"
#include "tests/navigator/UCenarioNavegador.h"
#include "tests/support/UExameSintetico.h"
#include "reports/UMarcadores.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QGroupBox>
#include <QCheckBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QTimer>

class CenarioLaudo : public CenarioNavegador {
public:
    CenarioLaudo()
    {
        RegistraLaudos();
        m_anterior = DefineAberturaModal([this](QDialog* d) {
            if (auto* w = qobject_cast<TfrmWizLaudo*>(d))
                wiz = w;
            if (auto* e = qobject_cast<TfrmLaudo*>(d)) {
                editor = e;
                aguardeVisivel = TfrmAguarde::Instancia() && TfrmAguarde::Instancia()->isVisible();
                timerAtivo = nav->TimerAguarde->isActive();
            }
            d->show();
            return 0;
        });
    }
    ~CenarioLaudo()
    {
        DefineAberturaModal(m_anterior);
        delete editor.data();
        delete wiz.data();
    }

    int ExameReal(int paciente, int medico, const QDateTime& quando, const QString& olho, const ExameSintetico& e)
    {
        const int codigo = Exame(paciente, medico, quando.date(), quando.time(), olho);
        GravaArquivoD(paciente, codigo, e.d);
        GravaArquivoM(paciente, codigo, e.m);
        GravaArquivoA(paciente, codigo, e.aneis, e.centroX, e.centroY, e.pupila);
        return codigo;
    }

    // Doctor "Dr. A", patient "Ana" with a toric right eye and a spherical left eye; the
    // navigator open on her with the right eye's examination selected.
    void Prepara()
    {
        medico = Medico(QStringLiteral("Dr. A"));
        paciente = Paciente(QStringLiteral("Ana"));
        exameOD = ExameReal(paciente, medico, QDateTime(QDate(2024, 2, 1), QTime(10, 0, 0)), QStringLiteral("OD"),
                            ExameSintetico::Torica(43.25, 44.50, 90));
        exameOS = ExameReal(paciente, medico, QDateTime(QDate(2024, 2, 1), QTime(10, 5, 0)), QStringLiteral("OS"),
                            ExameSintetico::Esfera(43.0));
        InfosZR.MedicoAtivo = QStringLiteral("Dr. A");
        InfosZR.PacienteAtivo = QStringLiteral("Ana");
        Abre();
        Seleciona(kOD);
    }
    TfrmWizLaudo* AbreAssistente()
    {
        nav->tbLaudoClick();
        return wiz;
    }
    // A new report through the wizard: both examinations, the map type given.
    TfrmLaudo* NovoLaudo(int tipo = 0)
    {
        if (!AbreAssistente())
            return nullptr;
        wiz->cmbOD->setCurrentIndex(wiz->cmbOD->findText(kOD));
        wiz->cmbOS->setCurrentIndex(wiz->cmbOS->findText(kOS));
        wiz->DefineTipoMapa(tipo);
        wiz->btnOKClick();
        return editor;
    }
    void Libera()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static inline const QString kOD = QStringLiteral("OD - 01/02/2024 10:00:00");
    static inline const QString kOS = QStringLiteral("OS - 01/02/2024 10:05:00");
    int medico = 0, paciente = 0, exameOD = 0, exameOS = 0;
    QPointer<TfrmWizLaudo> wiz;
    QPointer<TfrmLaudo> editor;
    bool aguardeVisivel = false;
    bool timerAtivo = false;

private:
    AberturaModal m_anterior;
};
