#pragma once
// Reports made through the real wizard and editor for the printed page: mandatory slots
// filled, saved and reopened; the issue moment from a clock the test sets.

#include "config/UBIniSettings.h"
#include "navigator/UGravacaoExame.h"
#include "reports/UfrmLauRelat.h"
#include "tests/reports/UCenarioLaudo.h"

class CenarioRelat : public CenarioLaudo {
public:
    CenarioRelat()
    {
        GravacaoExame::DefineRelogio([] { return QDateTime(QDate(2006, 1, 7), QTime(9, 5, 3)); });
    }
    ~CenarioRelat() { GravacaoExame::DefineRelogio({}); }

    // The clinic keys written into the settings file and read as at start-up.
    void Clinica(const QStringList& linhas)
    {
        TBIniSettings ini;
        ini.SelectFile(3);
        const char* chaves[] = {"NOME", "ENDERECO", "CidadeEst", "TELEFONE"};
        for (int i = 0; i < 4; ++i)
            ini.WriteValue(TipoValorIni::Str, QStringLiteral("CLINICA"), QString::fromLatin1(chaves[i]), false,
                           linhas.value(i));
        ini.LoadAll(3);
        const QString medico = InfosZR.MedicoAtivo, paciente = InfosZR.PacienteAtivo;
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
        InfosZR.MedicoAtivo = medico;
        InfosZR.PacienteAtivo = paciente;
        InfosZR.AutoExame = InfosZR.AutoMiniMapa = false;
    }
    // A new report with the eyes given ("Nenhum" for none) and every mandatory slot filled.
    TfrmLaudo* Novo(const QString& od, const QString& os, int tipo, const QString& comentarios = QString())
    {
        if (!AbreAssistente())
            return nullptr;
        wiz->cmbOD->setCurrentIndex(wiz->cmbOD->findText(od));
        wiz->cmbOS->setCurrentIndex(wiz->cmbOS->findText(os));
        wiz->DefineTipoMapa(tipo);
        wiz->btnOKClick();
        if (!editor)
            return nullptr;
        for (QTextEdit* caixa : {editor->reOD, editor->reOS, editor->reCO})
            if (caixa->isEnabled())
                Preenche(caixa);
        editor->reCM->setPlainText(comentarios);
        return editor;
    }
    // Saves the editor's report, closes it and opens it again from the wizard, which is
    // left on the map type given.
    TfrmLaudo* GravaEReabre(int tipoAssistente)
    {
        msgs.Responde(RespostaMensagem::Ok);
        editor->sbtSalvarClick();
        editor->sbtFecharClick();
        Libera();
        if (!AbreAssistente())
            return nullptr;
        wiz->rbLauExistClick();
        wiz->cmbEscLaudo->setCurrentIndex(0);
        wiz->DefineTipoMapa(tipoAssistente);
        wiz->btnOKClick();
        return editor;
    }

private:
    void Preenche(QTextEdit* caixa)
    {
        editor->AtivaCaixa(caixa);
        for (int g : {2, 4, 5, 8, 10, 11}) {
            QTreeWidgetItem* grupo = editor->trwLaudo->topLevelItem(g - 1);
            for (int i = 0; grupo && i < grupo->childCount(); ++i)
                if (grupo->child(i)->text(0) != QStringLiteral("\"Em Branco\"")) {
                    editor->trwLaudoDblClick(grupo->child(i));
                    break;
                }
        }
    }
};
