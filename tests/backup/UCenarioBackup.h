#pragma once
// A fresh installation with its database and settings records, scripted message boxes, and
// helpers that store doctors, patients, examinations and reports with their files.

#include "backup/UBackup.h"
#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"

#include <QDir>
#include <QFile>

class CenarioBackup {
public:
    CenarioBackup()
    {
        TBIniSettings ini;
        ini.LoadAll(3);
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
        TDadosMedico m;
        m.Nome = QStringLiteral("Dra. Ana");
        TDMedicos(DM()).InsereMedico(m);
        medico = TDMedicos(DM()).CodigoMedico(m.Nome);
        TDadosPaciente p;
        p.Nome = QStringLiteral("João");
        TDPacientes(DM()).InserePaciente(p, QDate(2020, 6, 1), 0);
        paciente = TDPacientes(DM()).IndicePacientes();
    }

    bool Valido() const { return banco.Valido(); }
    TDMPrincipal& DM() { return banco.DM(); }
    QString IniBackup() { return banco.Instalacao().Pastas().bin + QStringLiteral("/BackUp.ini"); }

    // An examination row with the data files named by `sufixos`; the patient's count goes up.
    int Exame(const QStringList& sufixos = {"a.txt", "d.txt", "m.txt"}, const QString& marca = QString())
    {
        TDExames ex(DM());
        ex.InsereExame(paciente, medico, QDate(2024, 5, 1), QTime(9, 0), QStringLiteral("OD"), 90, QStringLiteral("T"),
                       marca, QString(), QString(), 16, QStringLiteral("2"));
        const int codigo = ex.IndiceExames();
        TDPacientes pac(DM());
        pac.AtualizaExamesPaciente(paciente, QStringLiteral("OD 01/05/2024"), pac.TotalExamesPaciente(paciente) + 1);
        DM().PCommitDataBase();
        QDir().mkpath(PathsZR.Exames + u'/' + QString::number(paciente));
        for (const QString& s : sufixos) {
            QFile f(ArquivoExame(codigo, s));
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray("exame ") + QByteArray::number(codigo) + s.toLatin1());
        }
        return codigo;
    }
    int Laudo(bool comArquivo = true)
    {
        TDLaudos l(DM());
        l.InsereLaudo(paciente, 0, 0, QString(), QDate(2024, 1, 1), QTime(10, 0, 0));
        DM().PCommitDataBase();
        const int codigo = l.IndiceLaudos();
        QDir().mkpath(PathsZR.Laudos + u'/' + QString::number(paciente));
        if (comArquivo) {
            QFile f(ArquivoLaudo(codigo));
            f.open(QIODevice::WriteOnly);
            f.write("laudo " + QByteArray::number(codigo));
        }
        return codigo;
    }
    QString ArquivoExame(int exame, const QString& sufixo) const
    {
        return PathsZR.Exames + u'/' + QString::number(paciente) + u'/' + QString::number(exame) + sufixo;
    }
    QString ArquivoLaudo(int laudo) const
    {
        return PathsZR.Laudos + u'/' + QString::number(paciente) + u'/' + QString::number(laudo) + QStringLiteral("l.txt");
    }

    // One value read by the data module.
    QVariant Valor(const QString& sql, const QVariant& codigo = {})
    {
        ConsultaBD& op = *DM().IBOperation;
        op.Fecha();
        op.DefineSQL(sql);
        if (codigo.isValid())
            op.DefineParametro(QStringLiteral("C"), codigo);
        op.Abre();
        const QVariant v = op.Vazia() ? QVariant() : op.Campo(op.Colunas().value(0));
        op.Fecha();
        return v;
    }
    QString MarcaExame(int c) { return Valor(QStringLiteral("SELECT Backup FROM Exames WHERE Codigo=:C"), c).toString(); }
    QString MarcaLaudo(int c) { return Valor(QStringLiteral("SELECT Backup FROM Laudos WHERE Codigo=:C"), c).toString(); }

    BancoTeste banco;
    MensagensRoteiro mensagens;
    int medico = 0;
    int paciente = 0;
};
