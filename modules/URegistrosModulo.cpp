#include "modules/URegistrosModulo.h"

#include "common/UTextoCp1252.h"

namespace {
uint8_t Bool(bool valor)
{
    return valor ? 1 : 0;
}
} // namespace

// Each text is converted once and kept in the list; QByteArray keeps its data where it is
// when the list grows, and constData() of a non-empty or empty array is zero-terminated.
const char* InfosZRModulo::Texto(const QString& texto)
{
    m_textos.append(ParaCp1252(texto));
    return m_textos.last().constData();
}

InfosZRModulo::InfosZRModulo(const ::TInfosZR& i)
{
    m_textos.reserve(20);
    m_c.Modelo = i.Modelo;
    m_c.TipoCone = Texto(i.TipoCone);
    m_c.FatorCorrecao = i.FatorCorrecao;
    m_c.Z0 = i.Z0;
    m_c.IncMap = i.IncMap;
    m_c.IndiceConf = i.IndiceConf;
    m_c.AutoAneis = Bool(i.AutoAneis);
    m_c.AutoIncMap = Bool(i.AutoIncMap);
    m_c.AutoMiniMapa = Bool(i.AutoMiniMapa);
    m_c.AutoExame = Bool(i.AutoExame);
    m_c.Opt1 = Bool(i.Opt1);
    m_c.Opt2 = Bool(i.Opt2);
    m_c.Opt3 = Bool(i.Opt3);
    m_c.BackupAuto = i.BackupAuto;
    m_c.BackupPeriodo = i.BackupPeriodo;
    m_c.BackupUnidade = i.BackupUnidade;
    m_c.BackupExames = i.BackupExames;
    m_c.CameraCentral = i.CameraCentral;
    m_c.CameraLateral = i.CameraLateral;
    m_c.Brilho = i.Brilho;
    m_c.Contraste = i.Contraste;
    m_c.MedicoAtivo = Texto(i.MedicoAtivo);
    m_c.PacienteAtivo = Texto(i.PacienteAtivo);
    m_c.ClinicaNome = Texto(i.ClinicaNome);
    m_c.ClinicaEndereco = Texto(i.ClinicaEndereco);
    m_c.ClinicaCidadeEst = Texto(i.ClinicaCidadeEst);
    m_c.ClinicaTelefone = Texto(i.ClinicaTelefone);
    m_c.ConectorCentral = Texto(i.ConectorCentral);
    m_c.ConectorLateralS = Texto(i.ConectorLateralS);
    m_c.ConectorLateralD = Texto(i.ConectorLateralD);
    m_c.PortaSerial = Texto(i.PortaSerial);
    m_c.NumAneis = i.NumAneis;
    m_c.SalvarImagemCaptura = Bool(i.SalvarImagemCaptura);
    m_c.MapaPadraoNovoExame = Texto(i.MapaPadraoNovoExame);
    m_c.TipoCeratometria = Texto(i.TipoCeratometria);
    m_c.ImagemCentral = Bool(i.ImagemCentral);
    m_c.ImagemLateral = Bool(i.ImagemLateral);
    m_c.QualidadeImagem = i.QualidadeImagem;
    m_c.Idioma = Texto(i.Idioma);
    m_c.TvlCentral = i.TvlCentral;
    m_c.TIncremento = i.TIncremento;
    m_c.AutoPCaptura = Bool(i.AutoPCaptura);
    m_c.DelayAutoPCaptura = i.DelayAutoPCaptura;
    m_c.PassoMotorX = Texto(i.PassoMotorX);
    m_c.PassoMotorY = Texto(i.PassoMotorY);
    m_c.TipoCalibrador = i.TipoCalibrador;
    m_c.ExibeGrade = Bool(i.ExibeGrade);
    m_c.EscalaISO = Bool(i.EscalaISO);
    m_c.ExibeCeratPontual = Bool(i.ExibeCeratPontual);
    m_c.CorCeratPontual = Texto(i.CorCeratPontual);
}

const char* PathsZRModulo::Texto(const QString& texto)
{
    m_textos.append(ParaCp1252(texto));
    return m_textos.last().constData();
}

PathsZRModulo::PathsZRModulo(const ::TPathsZR& p)
{
    m_textos.reserve(12);
    m_c.DirZR = Texto(p.DirZR);
    m_c.BancoDados = Texto(p.BancoDados);
    m_c.Exames = Texto(p.Exames);
    m_c.Exemplos = Texto(p.Exemplos);
    m_c.Laudos = Texto(p.Laudos);
    m_c.Digitalizacao = Texto(p.Digitalizacao);
    m_c.Processamento = Texto(p.Processamento);
    m_c.ModuloBackup = Texto(p.ModuloBackup);
    m_c.DirMapas = Texto(p.DirMapas);
    m_c.DigitalizacaoOrto = Texto(p.DigitalizacaoOrto);
    m_c.ProcessamentoOrto = Texto(p.ProcessamentoOrto);
    m_c.Calibracao = Texto(p.Calibracao);
}

ListaTextosModulo::ListaTextosModulo(const QStringList& textos)
{
    for (const QString& t : textos)
        m_textos.append(ParaCp1252(t));
    for (const QByteArray& b : m_textos)
        m_ponteiros.append(b.constData());
    m_lista.count = int32_t(m_ponteiros.size());
    m_lista.items = m_ponteiros.constData();
}

TextoModulo::TextoModulo(const QString& texto) : m_bytes(ParaCp1252(texto)) {}
