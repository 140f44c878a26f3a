#pragma once
// The main menu: the window that stays open for the whole run, runs the start-up sequence
// (settings, database, map modules, processing and capture modules) and opens every other
// part of the system.

#include "app/UfrmIniciando.h"
#include "navigator/UfrmExames.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;
class TBIniSettings;
class TBRegConfig;
class TBVersionInfo;

// A transparent area that reacts to a click (the banner and the maker's logo).
class AreaClicavel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(class QMouseEvent* evento) override;
};

class TfrmPrincipal : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPrincipal(QWidget* pai = nullptr);
    ~TfrmPrincipal() override;

    // Set once the start-up sequence has completed; until then every activation runs it again.
    bool Started = false;
    // Four entries per registered map module: display name, "Simples" or "Wizard",
    // description, file version.
    QStringList InstalledMaps;

    QLabel* Image1;
    QPushButton *btnBrowser, *btnDoctor, *btnCalibration, *btnTools, *btnBackup, *btnHelp, *btnExit;
    AreaClicavel* imgSobre;
    AreaClicavel* Image3;

    // The program's objects of the run.
    TBVersionInfo* VersionInfo() const { return m_versao.get(); }
    TBIniSettings* Settings() const { return m_ini.get(); }
    TfrmExames* Navegador() const { return m_navegador; }
    TfrmIniciando* Progresso() const { return m_progresso; }

    // The maker's web site and the external help program.
    static QString SiteFabricante();
    static QString ProgramaAjudaExterno();

public slots:
    void StartUp();
    void ConnectDatabase();
    void LocateModules();
    void StartModules();
    void CheckAutoBackup();
    void RegisterMapModules(const QString& pasta, bool comProgresso);
    void RegisterMapModule(const QString& pasta, const QString& arquivo);

    void btnBrowserClick();
    void btnDoctorClick();
    void btnCalibrationClick();
    void btnToolsClick();
    void btnBackupClick();
    void btnHelpClick();
    void btnExitClick();
    void imgSobreClick();
    void Image3Click();

    // The application's activation: runs the start-up sequence until it completes.
    void ApplicationEventsActivate();

protected:
    void closeEvent(QCloseEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    void EtapasPartida();
    void FalhaPartida(const QString& texto);
    void CriaNavegador();
    void Repinta(QWidget* w);

    std::unique_ptr<TBVersionInfo> m_versao;
    std::unique_ptr<TBIniSettings> m_ini;
    std::unique_ptr<TBRegConfig> m_regConfig; // kept until exit
    QPointer<TfrmExames> m_navegador;
    QPointer<TfrmIniciando> m_progresso;
    int m_contadorImagens = 1;
    bool m_iniciando = false;
    bool m_partidaFalhou = false;
};
