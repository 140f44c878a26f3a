#pragma once
// The installation's settings file ("ZR300.ini" beside the executable). Every key of
// interest is read into a kept text; getters convert the kept text on every call.

#include "config/UArquivoIni.h"

#include <QHash>
#include <QString>
#include <cstdint>

enum class TipoValorIni { Str, Bool, Int, Outro };

// Every key the system reads, in the order of the full load.
enum class ChaveIni {
    Versao, Data, Tipo, TipoCone, FatorCorrecao, FatorCorrecaoXS, FatorCorrecaoYS,
    FatorCorrecaoXD, FatorCorrecaoYD, Z0,
    DirZR, Exames, BancoDados, Exemplos, Laudos,
    Digitalizacao, DigitalizacaoOrto, Processamento, ProcessamentoOrto, DirMapas, UltimaCalib,
    ModulosAuto,
    BackupModulo, BackupAuto, BackupAutoOp1_1, BackupAutoOp1_2, BackupAutoOp2,
    Dicas, SalvarImagemCaptura, ImagemCentral, ImagemLateral, MapaPadraoNovoExame,
    TreeViewNodes, AutoIncMap, IncMap, AutoAneis, AutoMiniMapa, AutoExame, IndiceConf,
    ClinicaNome, ClinicaEndereco, ClinicaCidadeEst, ClinicaTelefone, Opt1, Opt2, Opt3,
    Brilho, Contraste, CameraCentral, CameraLateral, ConectorCentral, ConectorLateralD,
    ConectorLateralS, PortaSerial,
    MedicoAtivo, PacienteAtivo, TipoCeratometria, QualidadeImagem, Idioma, TvlCentral,
    TIncremento, AutoPCaptura, DelayAutoPCaptura, PassoMotorX, PassoMotorY, TipoCalibrador,
    ExibirIndiceMapa, ExibeGrade, EscalaISO, ExibeCeratPontual, CorCeratPontual,
};

class TBIniSettings {
public:
    // The folder of the settings files; by default the folder of the executable.
    static QString PastaConfiguracao();
    static void DefinePastaConfiguracao(const QString& pasta);

    // 0 and 1 select "ZR100.ini", 2 and 3 "ZR300.ini"; any other code selects no file.
    void SelectFile(int modelo);
    const QString& FileName() const { return m_arquivo; }

    // The loads read their keys from the selected file. They fail (false, nothing read)
    // only when that file does not exist or cannot be read.
    bool LoadAll(int modelo);
    bool LoadOptions(int modelo);
    bool LoadCamera(int modelo);

    // Reads one key of a file by the reading rules of its type.
    QString ReadValue(const QString& arquivo, TipoValorIni tipo, const QString& secao,
                      const QString& chave) const;
    // Writes one key into the file of the last SelectFile; "Str" writes the text, "Bool"
    // writes "1" or "0", any other type writes nothing. Raises ErroES when the file cannot
    // be written.
    void WriteValue(TipoValorIni tipo, const QString& secao, const QString& chave,
                    bool valorBool, const QString& valorTexto);

    // The kept text of a key (empty until loaded).
    QString Texto(ChaveIni chave) const { return m_valores.value(chave); }

    // Getters, one per key. Integer and real getters raise ErroConversao, naming the file
    // and the key, when the kept text does not convert.
    QString Versao() const { return Texto(ChaveIni::Versao); }
    QString Data() const { return Texto(ChaveIni::Data); }
    int32_t Tipo() const { return Inteiro(ChaveIni::Tipo); }
    QString TipoCone() const { return Texto(ChaveIni::TipoCone); }
    double FatorCorrecao() const { return Real(ChaveIni::FatorCorrecao); }
    double FatorCorrecaoXS() const { return Real(ChaveIni::FatorCorrecaoXS); }
    double FatorCorrecaoYS() const { return Real(ChaveIni::FatorCorrecaoYS); }
    double FatorCorrecaoXD() const { return Real(ChaveIni::FatorCorrecaoXD); }
    double FatorCorrecaoYD() const { return Real(ChaveIni::FatorCorrecaoYD); }
    double Z0() const { return Real(ChaveIni::Z0); }
    QString DirZR() const { return Texto(ChaveIni::DirZR); }
    QString Exames() const { return Texto(ChaveIni::Exames); }
    QString BancoDados() const { return Texto(ChaveIni::BancoDados); }
    QString Exemplos() const { return Texto(ChaveIni::Exemplos); }
    QString Laudos() const { return Texto(ChaveIni::Laudos); }
    QString Digitalizacao() const { return Texto(ChaveIni::Digitalizacao); }
    QString DigitalizacaoOrto() const { return Texto(ChaveIni::DigitalizacaoOrto); }
    QString Processamento() const { return Texto(ChaveIni::Processamento); }
    QString ProcessamentoOrto() const { return Texto(ChaveIni::ProcessamentoOrto); }
    QString DirMapas() const { return Texto(ChaveIni::DirMapas); }
    QString UltimaCalib() const { return Texto(ChaveIni::UltimaCalib); }
    QString ModulosAuto() const { return Texto(ChaveIni::ModulosAuto); }
    QString BackupModulo() const { return Texto(ChaveIni::BackupModulo); }
    int32_t BackupAuto() const { return Inteiro(ChaveIni::BackupAuto); }
    int32_t BackupAutoOp1_1() const { return Inteiro(ChaveIni::BackupAutoOp1_1); }
    int32_t BackupAutoOp1_2() const { return Inteiro(ChaveIni::BackupAutoOp1_2); }
    int32_t BackupAutoOp2() const { return Inteiro(ChaveIni::BackupAutoOp2); }
    bool Dicas() const { return Ligado(ChaveIni::Dicas); }
    bool SalvarImagemCaptura() const { return Ligado(ChaveIni::SalvarImagemCaptura); }
    bool ImagemCentral() const { return Ligado(ChaveIni::ImagemCentral); }
    bool ImagemLateral() const { return Ligado(ChaveIni::ImagemLateral); }
    int32_t QualidadeImagem() const { return Inteiro(ChaveIni::QualidadeImagem); }
    QString MapaPadraoNovoExame() const { return Texto(ChaveIni::MapaPadraoNovoExame); }
    QString TreeViewNodes() const { return Texto(ChaveIni::TreeViewNodes); }
    bool AutoIncMap() const { return Texto(ChaveIni::AutoIncMap) == QStringLiteral("1"); }
    double IncMap() const { return Real(ChaveIni::IncMap); }
    bool AutoAneis() const { return Texto(ChaveIni::AutoAneis) != QStringLiteral("0"); }
    bool AutoMiniMapa() const { return Texto(ChaveIni::AutoMiniMapa) != QStringLiteral("0"); }
    bool AutoExame() const { return Texto(ChaveIni::AutoExame) != QStringLiteral("0"); }
    int32_t IndiceConf() const { return Inteiro(ChaveIni::IndiceConf); }
    QString TipoCeratometria() const { return Texto(ChaveIni::TipoCeratometria); }
    QString Idioma() const { return Texto(ChaveIni::Idioma); }
    int32_t TvlCentral() const { return Inteiro(ChaveIni::TvlCentral); }
    int32_t TIncremento() const { return Inteiro(ChaveIni::TIncremento); }
    bool AutoPCaptura() const { return Ligado(ChaveIni::AutoPCaptura); }
    int32_t DelayAutoPCaptura() const { return Inteiro(ChaveIni::DelayAutoPCaptura); }
    QString PassoMotorX() const { return Texto(ChaveIni::PassoMotorX); }
    QString PassoMotorY() const { return Texto(ChaveIni::PassoMotorY); }
    int32_t TipoCalibrador() const { return Inteiro(ChaveIni::TipoCalibrador); }
    bool ExibirIndiceMapa() const { return Ligado(ChaveIni::ExibirIndiceMapa); }
    bool ExibeGrade() const { return InteiroUm(ChaveIni::ExibeGrade); }
    bool EscalaISO() const { return InteiroUm(ChaveIni::EscalaISO); }
    bool ExibeCeratPontual() const { return InteiroUm(ChaveIni::ExibeCeratPontual); }
    QString CorCeratPontual() const { return Texto(ChaveIni::CorCeratPontual); }
    QString ClinicaNome() const { return Texto(ChaveIni::ClinicaNome); }
    QString ClinicaEndereco() const { return Texto(ChaveIni::ClinicaEndereco); }
    QString ClinicaCidadeEst() const { return Texto(ChaveIni::ClinicaCidadeEst); }
    QString ClinicaTelefone() const { return Texto(ChaveIni::ClinicaTelefone); }
    bool Opt1() const { return Texto(ChaveIni::Opt1) == QStringLiteral("1"); }
    bool Opt2() const { return Texto(ChaveIni::Opt2) == QStringLiteral("1"); }
    bool Opt3() const { return Texto(ChaveIni::Opt3) == QStringLiteral("1"); }
    QString MedicoAtivo() const { return Texto(ChaveIni::MedicoAtivo); }
    QString PacienteAtivo() const { return Texto(ChaveIni::PacienteAtivo); }
    int32_t Brilho() const { return Inteiro(ChaveIni::Brilho); }
    int32_t Contraste() const { return Inteiro(ChaveIni::Contraste); }
    int32_t CameraCentral() const { return Inteiro(ChaveIni::CameraCentral); }
    int32_t CameraLateral() const { return Inteiro(ChaveIni::CameraLateral); }
    QString ConectorCentral() const { return Texto(ChaveIni::ConectorCentral); }
    QString ConectorLateralD() const { return Texto(ChaveIni::ConectorLateralD); }
    QString ConectorLateralS() const { return Texto(ChaveIni::ConectorLateralS); }
    QString PortaSerial() const { return Texto(ChaveIni::PortaSerial); }

    // The text a missing key reads as with the "Str" rule.
    static QString TextoChaveAusente(const QString& secao, const QString& chave);

private:
    bool ArquivoLegivel() const;
    static QString LeDoIndice(const ArquivoIni::Indice& indice, TipoValorIni tipo,
                              const QString& secao, const QString& chave);
    void Carrega(const ArquivoIni::Indice& indice, ChaveIni chave);
    void CarregaLista(const ArquivoIni::Indice& indice, std::initializer_list<ChaveIni> chaves);
    // The conversion error of a key: the file, the section, the key and the value.
    QString ValorInvalido(ChaveIni chave) const;
    int32_t Inteiro(ChaveIni chave) const;
    double Real(ChaveIni chave) const;
    bool Ligado(ChaveIni chave) const { return Texto(chave) == QStringLiteral("True"); }
    bool InteiroUm(ChaveIni chave) const;

    QString m_arquivo;
    QHash<ChaveIni, QString> m_valores;
};
