#include "config/URegistrosZR.h"

#include "common/UNomeBanco.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "config/UBIniSettings.h"

#include <QDir>

TInfosZR InfosZR;
TPathsZR PathsZR;

void PreencheRegistrosZR(TBIniSettings& ini, TInfosZR& i, TPathsZR& p, QString* falhaGravacao)
{
    i.Modelo = 3;
    try {
        ini.WriteValue(TipoValorIni::Str, QStringLiteral("ZR"), QStringLiteral("TIPO"), false,
                       QStringLiteral("3"));
    } catch (const ErroES& e) {
        if (!falhaGravacao)
            throw;
        *falhaGravacao = e.Mensagem();
    }
    i.NumAneis = 16;

    i.TipoCone = ini.TipoCone();
    i.FatorCorrecao = ini.FatorCorrecao();
    i.Z0 = ini.Z0();
    i.IncMap = ini.IncMap();
    i.IndiceConf = ini.IndiceConf();
    i.AutoAneis = ini.AutoAneis();
    i.AutoIncMap = ini.AutoIncMap();
    i.AutoMiniMapa = ini.AutoMiniMapa();
    i.AutoExame = ini.AutoExame();
    i.Opt1 = ini.Opt1();
    i.Opt2 = ini.Opt2();
    i.Opt3 = ini.Opt3();
    i.BackupAuto = ini.BackupAuto() & 0xFF;
    i.BackupPeriodo = ini.BackupAutoOp1_1();
    i.BackupUnidade = ini.BackupAutoOp1_2();
    i.BackupExames = ini.BackupAutoOp2();
    i.CameraCentral = ini.CameraCentral();
    i.CameraLateral = ini.CameraLateral();
    i.Brilho = ini.Brilho();
    i.Contraste = ini.Contraste();
    i.MedicoAtivo = ini.MedicoAtivo();
    i.PacienteAtivo = ini.PacienteAtivo();
    i.ClinicaNome = ini.ClinicaNome();
    i.ClinicaEndereco = ini.ClinicaEndereco();
    i.ClinicaCidadeEst = ini.ClinicaCidadeEst();
    i.ClinicaTelefone = ini.ClinicaTelefone();
    i.ConectorCentral = ini.ConectorCentral();
    i.ConectorLateralS = ini.ConectorLateralS();
    i.ConectorLateralD = ini.ConectorLateralD();
    i.PortaSerial = ini.PortaSerial();
    i.SalvarImagemCaptura = ini.SalvarImagemCaptura();
    i.MapaPadraoNovoExame = ini.MapaPadraoNovoExame();
    i.TipoCeratometria = ini.TipoCeratometria();
    i.ImagemCentral = ini.ImagemCentral();
    i.ImagemLateral = ini.ImagemLateral();
    i.QualidadeImagem = ini.QualidadeImagem();
    i.Idioma = ini.Idioma();
    i.TvlCentral = ini.TvlCentral();
    i.TIncremento = ini.TIncremento();
    i.AutoPCaptura = ini.AutoPCaptura();
    i.DelayAutoPCaptura = ini.DelayAutoPCaptura();
    i.PassoMotorX = ini.PassoMotorX();
    i.PassoMotorY = ini.PassoMotorY();
    i.TipoCalibrador = uint8_t(ini.TipoCalibrador() & 0xFF);
    i.ExibeGrade = ini.ExibeGrade();
    i.EscalaISO = ini.EscalaISO();
    i.ExibeCeratPontual = ini.ExibeCeratPontual();
    i.CorCeratPontual = ini.CorCeratPontual();

    p.DirZR = CaminhoDaConfiguracao(ini.DirZR());
    p.BancoDados = CaminhoDaConfiguracao(ini.BancoDados());
    p.Exames = CaminhoDaConfiguracao(ini.Exames());
    p.Exemplos = CaminhoDaConfiguracao(ini.Exemplos());
    p.Laudos = CaminhoDaConfiguracao(ini.Laudos());
    p.Digitalizacao = CaminhoDaConfiguracao(ini.Digitalizacao());
    p.Processamento = CaminhoDaConfiguracao(ini.Processamento());
    p.ModuloBackup = CaminhoDaConfiguracao(ini.BackupModulo());
    p.DirMapas = CaminhoDaConfiguracao(ini.DirMapas());
    p.DigitalizacaoOrto = CaminhoDaConfiguracao(ini.DigitalizacaoOrto());
    p.ProcessamentoOrto = CaminhoDaConfiguracao(ini.ProcessamentoOrto());
    p.Calibracao = p.DirZR + QStringLiteral("/Calibração/");
}

QString CaminhoDaConfiguracao(const QString& valor)
{
    if (valor.isEmpty() || QDir::isAbsolutePath(valor))
        return valor;
    // "servidor:/pasta" names a folder on a database server: kept as written.
    if (NomeBanco::EhServidor(valor))
        return valor;
    return QDir::cleanPath(TBIniSettings::PastaConfiguracao() + u'/' + valor);
}

QString CaminhoEm(const QString& pasta, const QString& arquivo)
{
    return pasta + u'/' + arquivo;
}
