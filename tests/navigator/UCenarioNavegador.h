#pragma once
// A fresh installation with its database, the settings records filled from it, scripted
// message boxes, and helpers that register doctors, patients, examinations and reports the
// way the rest of the system stores them.

#include "config/UBIniSettings.h"
#include "config/URegistrosZR.h"
#include "data/UDExames.h"
#include "data/UDLaudos.h"
#include "data/UDMedicos.h"
#include "data/UDPacientes.h"
#include "navigator/UfrmAguarde.h"
#include "navigator/UfrmExames.h"
#include "platform/UJanelas.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"

#include <QDir>
#include <QFile>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>

#include <memory>

class CenarioNavegador {
public:
    CenarioNavegador()
    {
        TBIniSettings ini;
        ini.LoadAll(3);
        PreencheRegistrosZR(ini, InfosZR, PathsZR);
        InfosZR.MedicoAtivo.clear();
        InfosZR.PacienteAtivo.clear();
        InfosZR.AutoExame = false;
        InfosZR.AutoMiniMapa = false;
        // Modal forms (the search tip among them) are recorded and closed at once.
        DefineAberturaModal([this](QDialog* d) {
            modais << d->objectName();
            d->show();
            d->close();
            return int(QDialog::Rejected);
        });
    }
    ~CenarioNavegador()
    {
        delete nav.data();
        TfrmAguarde::Fecha();
        TfrmExames::Ligacoes() = {};
        DefineAberturaModal({});
    }

    bool Valido() const { return banco.Valido(); }
    TDMPrincipal& DM() { return banco.DM(); }

    int Medico(const QString& nome)
    {
        TDadosMedico m;
        m.Nome = nome;
        TDMedicos(DM()).InsereMedico(m);
        return TDMedicos(DM()).CodigoMedico(nome);
    }
    int Paciente(const QString& nome, const QString& convenio = QString())
    {
        TDadosPaciente p;
        p.Nome = nome;
        p.Convenio = convenio;
        TDPacientes(DM()).InserePaciente(p, QDate(2020, 6, 1), 0);
        return TDPacientes(DM()).IndicePacientes();
    }
    // An examination row with its three data files; the patient's count goes up by one.
    int Exame(int paciente, int medico, const QDate& data, const QTime& hora, const QString& olho = QStringLiteral("OD"),
              const QString& tipo = QStringLiteral("T"), double indConf = 87.5)
    {
        TDExames ex(DM());
        ex.InsereExame(paciente, medico, data, hora, olho, indConf, tipo, QString(), QString(), QString(), 16,
                       QStringLiteral("2"));
        const int codigo = ex.IndiceExames();
        TDPacientes pac(DM());
        const int total = pac.TotalExamesPaciente(paciente) + 1;
        pac.AtualizaExamesPaciente(paciente, olho + QLatin1Char(' ') + data.toString(QStringLiteral("dd/MM/yyyy")), total);
        DM().PCommitDataBase();
        QDir().mkpath(PastaPaciente(paciente));
        for (const char* s : {"a.txt", "d.txt", "m.txt"}) {
            QFile f(Arquivo(paciente, codigo, s));
            f.open(QIODevice::WriteOnly);
            f.write("1\r\n");
        }
        return codigo;
    }
    int Laudo(int paciente, int exameOD, int exameOS)
    {
        TDLaudos l(DM());
        l.InsereLaudo(paciente, exameOD, exameOS, QString(), QDate(2024, 1, 1), QTime(10, 0, 0));
        DM().PCommitDataBase();
        const int codigo = l.IndiceLaudos();
        const QString pasta = PathsZR.Laudos + QLatin1Char('/') + QString::number(paciente);
        QDir().mkpath(pasta);
        QFile f(ArquivoLaudo(paciente, codigo));
        f.open(QIODevice::WriteOnly);
        f.write("laudo\r\n");
        return codigo;
    }
    QString PastaPaciente(int paciente) const { return PathsZR.Exames + QLatin1Char('/') + QString::number(paciente); }
    QString Arquivo(int paciente, int exame, const char* sufixo) const
    {
        return PastaPaciente(paciente) + QLatin1Char('/') + QString::number(exame) + QLatin1String(sufixo);
    }
    QString ArquivoLaudo(int paciente, int laudo) const
    {
        return PathsZR.Laudos + QLatin1Char('/') + QString::number(paciente) + QLatin1Char('/') +
               QString::number(laudo) + QStringLiteral("l.txt");
    }

    // One column of a patient row as stored.
    QVariant CampoPaciente(int codigo, const QString& coluna)
    {
        ConsultaBD& op = *DM().IBOperation;
        op.Fecha();
        op.DefineSQL(QStringLiteral("SELECT * FROM Pacientes WHERE Codigo=:C"));
        op.DefineParametro(QStringLiteral("C"), codigo);
        op.Abre();
        const QVariant v = op.Vazia() ? QVariant() : op.Campo(coluna);
        op.Fecha();
        return v;
    }
    int Conta(const QString& sql)
    {
        ConsultaBD& op = *DM().IBOperation;
        op.Fecha();
        op.DefineSQL(sql);
        op.Abre();
        const int n = op.Inteiro(QStringLiteral("COUNT"));
        op.Fecha();
        return n;
    }

    // Opens the navigator as the main menu does (a 1366 x 768 screen unless told).
    TfrmExames* Abre(bool orto = false, const QSize& tela = QSize(1366, 768))
    {
        nav = new TfrmExames;
        nav->DefineEdicaoOrto(orto);
        nav->DefineTamanhoTela(tela);
        nav->resize(tela);
        nav->show();
        return nav;
    }

    QStringList Itens() const
    {
        QStringList r;
        for (int i = 0; i < nav->lswPrincipal->count(); ++i)
            r << nav->lswPrincipal->item(i)->text();
        return r;
    }
    QStringList Filtros() const
    {
        QStringList r;
        for (int i = 0; i < nav->CBMedicos->count(); ++i)
            r << nav->CBMedicos->itemText(i);
        return r;
    }
    // Every patient name of the navigator's list, in list order.
    QStringList NomesPacientes()
    {
        ConsultaBD& p = *DM().IBQueryPacientes;
        QStringList r;
        if (!p.Ativa())
            return r;
        p.BuscaTodas();
        for (int i = 0; i < p.LinhasBuscadas(); ++i)
            r << p.CampoDaLinha(i, QStringLiteral("NOME")).toString();
        return r;
    }
    // Selects the list item with that caption as a click does.
    bool Seleciona(const QString& legenda)
    {
        for (int i = 0; i < nav->lswPrincipal->count(); ++i)
            if (nav->lswPrincipal->item(i)->text() == legenda) {
                nav->lswPrincipal->setCurrentItem(nav->lswPrincipal->item(i));
                return true;
            }
        return false;
    }

    BancoTeste banco;
    MensagensRoteiro msgs;
    QPointer<TfrmExames> nav;
    QStringList modais; // object names of the modal forms opened, in order
};
