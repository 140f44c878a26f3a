#pragma once
// The program-wide options and paths records. They are filled once at start-up from the
// settings file, changed in place by the forms that change a setting, and handed to the
// installable modules (the module layer builds the plain C records of the module interface
// from them, field by field, in this same order).

#include <QString>
#include <cstdint>

class TBIniSettings;

struct TInfosZR {
    uint8_t Modelo = 0;
    QString TipoCone;
    double FatorCorrecao = 0;
    double Z0 = 0;
    double IncMap = 0;
    double IndiceConf = 0;
    bool AutoAneis = false;
    bool AutoIncMap = false;
    bool AutoMiniMapa = false;
    bool AutoExame = false;
    bool Opt1 = false;
    bool Opt2 = false;
    bool Opt3 = false;
    int32_t BackupAuto = 0;
    int32_t BackupPeriodo = 0;
    int32_t BackupUnidade = 0;
    int32_t BackupExames = 0;
    int32_t CameraCentral = 0;
    int32_t CameraLateral = 0;
    int32_t Brilho = 0;
    int32_t Contraste = 0;
    QString MedicoAtivo;
    QString PacienteAtivo;
    QString ClinicaNome;
    QString ClinicaEndereco;
    QString ClinicaCidadeEst;
    QString ClinicaTelefone;
    QString ConectorCentral;
    QString ConectorLateralS;
    QString ConectorLateralD;
    QString PortaSerial;
    int32_t NumAneis = 0;
    bool SalvarImagemCaptura = false;
    QString MapaPadraoNovoExame;
    QString TipoCeratometria;
    bool ImagemCentral = false;
    bool ImagemLateral = false;
    int32_t QualidadeImagem = 0;
    QString Idioma;
    int32_t TvlCentral = 0;
    int32_t TIncremento = 0;
    bool AutoPCaptura = false;
    int32_t DelayAutoPCaptura = 0;
    QString PassoMotorX;
    QString PassoMotorY;
    uint8_t TipoCalibrador = 0;
    bool ExibeGrade = false;
    bool EscalaISO = false;
    bool ExibeCeratPontual = false;
    QString CorCeratPontual;
};

struct TPathsZR {
    QString DirZR;
    QString BancoDados;
    QString Exames;
    QString Exemplos;
    QString Laudos;
    QString Digitalizacao;
    QString Processamento;
    QString ModuloBackup;
    QString DirMapas;
    QString DigitalizacaoOrto;
    QString ProcessamentoOrto;
    QString Calibracao; // DirZR + "/Calibração/"
};

// The program's single instances.
extern TInfosZR InfosZR;
extern TPathsZR PathsZR;

// Start-up fill, after LoadAll with model 3: Modelo := 3, "TIPO" := "3" written to the file,
// NumAneis := 16, then every field from its key through the getters. Raises ErroConversao
// when a numeric key does not convert (the records are then partly filled).
// A failed write of "TIPO" (a read-only settings file) raises ErroES, unless
// falhaGravacao is given: the failure is then kept there and the records are filled.
void PreencheRegistrosZR(TBIniSettings& ini, TInfosZR& infos, TPathsZR& paths,
                         QString* falhaGravacao = nullptr);

// A folder or file of the settings file as used: a relative one is taken from the folder of
// the settings file (the program's), so a copied installation uses its own folders; absolute
// ones and "server:/path" database folders are kept.
QString CaminhoDaConfiguracao(const QString& valor);

// A file in a folder taken from the settings (folders carry no trailing separator).
QString CaminhoEm(const QString& pasta, const QString& arquivo);
