#include "navigator/UGravacaoExame.h"

#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "config/URegistrosZR.h"
#include "data/UBJpeg.h"
#include "data/UDMPrincipal.h"
#include "data/UOperacaoBD.h"
#include "examfiles/UArquivosExame.h"
#include "navigator/UNavegador.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace GravacaoExame {

namespace {
std::function<QDateTime()>& Relogio()
{
    static std::function<QDateTime()> r;
    return r;
}
} // namespace

QDateTime Agora() { return Relogio() ? Relogio()() : QDateTime::currentDateTime(); }
void DefineRelogio(std::function<QDateTime()> relogio) { Relogio() = std::move(relogio); }

Opcoes Opcoes::DaConfiguracao()
{
    Opcoes o;
    o.imagemCentral = InfosZR.ImagemCentral;
    o.imagemLateral = InfosZR.ImagemLateral;
    o.qualidade = InfosZR.QualidadeImagem;
    o.numAneis = InfosZR.NumAneis;
    o.tipoCone = InfosZR.TipoCone;
    return o;
}

void GravaArquivosExame(int codPaciente, int codExame, const QByteArray& d, const QByteArray& m,
                        const QByteArray& a)
{
    const QString pasta = PastaExamesPaciente(codPaciente);
    const bool pastaNova = !QFileInfo(pasta).isDir();
    if (pastaNova && !QDir().mkpath(pasta))
        throw ErroES(QStringLiteral("Não foi possível criar a pasta %1.").arg(pasta));
    try {
        // The three files as a set: all of them or none, the earlier ones intact.
        ::GravaArquivosExame(PrefixoExame(codPaciente, codExame), d, m, a);
    } catch (...) {
        if (pastaNova)
            QDir().rmdir(pasta);
        throw;
    }
}

namespace {

// One storage attempt: its statements run in the data module's transaction; the files it
// wrote are remembered so that a failure can take them back.
class Gravacao {
public:
    explicit Gravacao(TDMPrincipal& dm) : m_dm(dm) {}

    int TotalExames(int codPaciente)
    {
        ConsultaBD& op = PreparaOperacao(m_dm, QStringLiteral("SELECT * FROM Pacientes WHERE Pacientes.Codigo = :Codigo"));
        op.DefineParametro(QStringLiteral("Codigo"), codPaciente);
        op.Abre();
        if (op.Vazia()) {
            op.Fecha();
            throw ErroBancoDados(QStringLiteral("O paciente %1 não existe mais.").arg(codPaciente));
        }
        const int total = op.Inteiro(QStringLiteral("TOTALEXAMES"));
        op.Fecha();
        return total;
    }

    // Inserts the examination row and returns the code the generator gave it. The code comes
    // back from the insertion itself: another workstation storing an examination at the same
    // moment has its own code, never this one.
    int InsereExame(const Exame& e, const QDateTime& quando, double indice, const QString& tipo, const Opcoes& o)
    {
        const QString olho = CapturaExame::CodigoOlho(e.olho);
        ConsultaBD& op = PreparaOperacao(
            m_dm, QStringLiteral("INSERT INTO EXAMES (CODIGO, CODPACIENTE, CODRESP, DATA, HORA, OLHO, INDCONF, "
                                 "TIPOEXAME, BACKUP, DIAG, OBSERVACAO, NUMANEL, TIPOCONE) "
                                 "VALUES (GEN_ID(CODIGO_EXAMES, 1), :CodPaciente, :CodResp, :Data, :Hora, :Olho, "
                                 ":IndConf, :TipoExame, :Backup, :Diag, :Observacao, :NumAneis, :TipoCone) "
                                 "RETURNING CODIGO"));
        op.DefineParametro(QStringLiteral("CodPaciente"), e.codPaciente);
        op.DefineParametro(QStringLiteral("CodResp"), e.codMedico);
        op.DefineParametro(QStringLiteral("Data"), quando.date());
        op.DefineParametro(QStringLiteral("Hora"), quando.time());
        op.DefineParametro(QStringLiteral("Olho"), olho);
        op.DefineParametro(QStringLiteral("IndConf"), indice);
        op.DefineParametro(QStringLiteral("TipoExame"), tipo);
        op.DefineParametro(QStringLiteral("Backup"), QString());
        op.DefineParametro(QStringLiteral("Diag"), e.diag.left(kMaxTextoExame));
        op.DefineParametro(QStringLiteral("Observacao"), e.observacao.left(kMaxTextoExame));
        op.DefineParametro(QStringLiteral("NumAneis"), o.numAneis);
        op.DefineParametro(QStringLiteral("TipoCone"), o.tipoCone);
        op.Abre();
        const bool achou = !op.Vazia() && !op.Nulo(QStringLiteral("CODIGO"));
        const int codigo = achou ? op.Inteiro(QStringLiteral("CODIGO")) : 0;
        op.Fecha();
        if (!achou)
            throw ErroBancoDados(QStringLiteral("O exame gravado não foi encontrado."));
        return codigo;
    }

    void InsereValoresOrto(int codExame, double div, double raio, double sag)
    {
        const auto quatro = [](double v) { return FormataNumero(QStringLiteral("#0.0000"), v).toDouble(); };
        ConsultaBD& op = PreparaOperacao(
            m_dm, QStringLiteral("Execute Procedure InsertExamesOrto :ECodExame,:EDiv,:EExc,:ERaio,:ESag"));
        op.DefineParametro(QStringLiteral("ECodExame"), codExame);
        op.DefineParametro(QStringLiteral("EDiv"), quatro(div));
        op.DefineParametro(QStringLiteral("EExc"), 0.0);
        op.DefineParametro(QStringLiteral("ERaio"), quatro(raio));
        op.DefineParametro(QStringLiteral("ESag"), quatro(sag));
        op.Executa();
        op.Fecha();
    }

    void Arquivos(int codPaciente, int codExame, const QByteArray& d, const QByteArray& m, const QByteArray& a)
    {
        const QString pasta = PastaExamesPaciente(codPaciente);
        if (!m_pastaVerificada) {
            m_pasta = pasta;
            m_pastaNova = !QFileInfo(pasta).isDir();
            m_pastaVerificada = true;
        }
        GravaArquivosExame(codPaciente, codExame, d, m, a);
        m_exames << codExame;
    }

    // Compresses the images before any file is written, so that the files are on disk for
    // the shortest time before the commit; false when they could not be compressed (the
    // examination goes on without them).
    bool ComprimeImagens(const QByteArray& central, const QByteArray& lateral, const Opcoes& o)
    {
        try {
            const int qualidade = std::clamp(o.qualidade, 1, 100);
            TBJpeg jpeg;
            if (o.imagemCentral) {
                QBuffer b;
                b.setData(central);
                b.open(QIODevice::ReadOnly);
                m_jpegCentral = jpeg.ComprimeJpeg(b, qualidade);
            }
            if (o.imagemLateral) {
                QBuffer b;
                b.setData(lateral);
                b.open(QIODevice::ReadOnly);
                m_jpegLateral = jpeg.ComprimeJpeg(b, qualidade);
            }
            return true;
        } catch (const ErroSistema&) {
            return false;
        }
    }

    // Stores the compressed images; false when they could not be stored (the examination
    // goes on without them).
    bool Imagens(int codExame)
    {
        try {
            const QByteArray& jc = m_jpegCentral;
            const QByteArray& jl = m_jpegLateral;
            ConsultaBD& op = PreparaOperacao(
                m_dm, QStringLiteral("Execute Procedure InsertArquivos  :Codigo_Exames,:Imagem_Central,"
                                     ":Imagem_Lateral"));
            op.DefineParametro(QStringLiteral("Codigo_Exames"), codExame);
            op.DefineParametro(QStringLiteral("Imagem_Central"), jc);
            op.DefineParametro(QStringLiteral("Imagem_Lateral"), jl);
            op.Executa();
            op.Fecha();
            return true;
        } catch (const ErroSistema&) {
            // The refused statement was undone by the database; the transaction goes on.
            m_dm.IBOperation->Fecha();
            return false;
        }
    }

    QString AtualizaPaciente(int codPaciente, int olho, const QDateTime& quando, int total)
    {
        const QString ultimo = CapturaExame::CodigoOlho(olho) + QLatin1Char(' ') + FormataData(quando.date()) +
                               QLatin1Char(' ') + quando.time().toString(QStringLiteral("HH:mm:ss"));
        ConsultaBD& op = PreparaOperacao(
            m_dm, QStringLiteral("Execute Procedure UpdateExamesPacientesByCodigo :Codigo,:UltimoExame,:TotalExames"));
        op.DefineParametro(QStringLiteral("Codigo"), codPaciente);
        op.DefineParametro(QStringLiteral("UltimoExame"), ultimo);
        op.DefineParametro(QStringLiteral("TotalExames"), total);
        op.Executa();
        op.Fecha();
        return ultimo;
    }

    // Commits. When the commit went through but reopening the tables afterwards failed, the
    // examination is stored: that is no failure, and its files must stay.
    void Confirma()
    {
        try {
            m_dm.PCommitDataBase();
        } catch (const ErroSistema&) {
            if (!Gravado())
                throw;
        }
    }

    // Undoes the transaction and removes every file this attempt wrote.
    void Desfaz(int codPaciente)
    {
        try {
            Navegador::DesfazTransacao(m_dm);
        } catch (const ErroSistema&) {
            // The rollback failing leaves nothing committed either; the files still go.
        }
        for (int codigo : m_exames)
            for (const char* s : {"d.txt", "m.txt", "a.txt"})
                QFile::remove(PrefixoExame(codPaciente, codigo) + QLatin1String(s));
        if (m_pastaNova)
            QDir().rmdir(m_pasta);
    }

private:
    // Whether the last examination of this attempt is in the database after all.
    bool Gravado()
    {
        if (m_exames.isEmpty())
            return false;
        try {
            Navegador::DesfazTransacao(m_dm);
            ConsultaBD& op = PreparaOperacao(m_dm, QStringLiteral("SELECT COUNT(*) AS N FROM Exames WHERE Codigo=:Codigo"));
            op.DefineParametro(QStringLiteral("Codigo"), m_exames.last());
            op.Abre();
            const bool existe = op.Inteiro(QStringLiteral("N")) > 0;
            op.Fecha();
            return existe;
        } catch (const ErroSistema&) {
            return false;
        }
    }

    TDMPrincipal& m_dm;
    QByteArray m_jpegCentral, m_jpegLateral;
    QList<int> m_exames;
    QString m_pasta;
    bool m_pastaNova = false;
    bool m_pastaVerificada = false;
};

// Whole seconds: the examination's caption and its lookup carry no fraction.
QDateTime Momento()
{
    QDateTime t = Agora();
    t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return t;
}

} // namespace

Resultado GravaExame(TDMPrincipal& dm, const Exame& exame, const CapturaExame::ResultadoNormal& r,
                     const QByteArray& central, const QByteArray& lateral, const Opcoes& opcoes)
{
    Resultado res;
    Gravacao g(dm);
    try {
        dm.GaranteTransacao();
        const int total = g.TotalExames(exame.codPaciente);
        const QDateTime quando = Momento();
        const bool comprimidas = g.ComprimeImagens(central, lateral, opcoes);
        const int codigo = g.InsereExame(exame, quando, r.indice, QStringLiteral("T"), opcoes);
        g.Arquivos(exame.codPaciente, codigo, ConteudoMatriz(r.dioptrias, opcoes.numAneis),
                   ConteudoMatriz(r.posicoes, opcoes.numAneis),
                   ConteudoArquivoA(r.aneis, r.centroX, r.centroY, r.pupila));
        res.imagensGravadas = comprimidas && g.Imagens(codigo);
        res.ultimoExame = g.AtualizaPaciente(exame.codPaciente, exame.olho, quando, total + 1);
        res.totalExames = total + 1;
        g.Confirma();
        res.exames << ExameGravado{codigo, quando};
    } catch (...) {
        g.Desfaz(exame.codPaciente);
        throw;
    }
    return res;
}

Resultado GravaExamesOrto(TDMPrincipal& dm, const Exame& exame, const CapturaExame::ResultadoOrto& r,
                          const Opcoes& opcoes, const std::function<void()>& pausa)
{
    using namespace CapturaExame;
    if (r.posicoes.size() < kLinhasGradeOrto || r.dioptrias.size() < kLinhasGradeOrto)
        throw ErroSistema(QStringLiteral("Resultados incompletos do processamento ortho-k."));
    Resultado res;
    Gravacao g(dm);
    try {
        dm.GaranteTransacao();
        int total = g.TotalExames(exame.codPaciente);
        for (int k = 0; k < 4; ++k) {
            if (k > 0 && pausa)
                pausa();
            const QDateTime quando = Momento();
            const int codigo = g.InsereExame(exame, quando, r.indices[k], QStringLiteral("O"), opcoes);
            g.InsereValoresOrto(codigo, r.valores[k][1], r.valores[k][2], r.valores[k][0]);
            g.Arquivos(exame.codPaciente, codigo, BytesLinhas(BlocoOrto(r.dioptrias, k)),
                       BytesLinhas(BlocoOrto(r.posicoes, k)),
                       BytesLinhas(LinhasArquivoAOrto(r.posicoes, k, std::clamp(opcoes.numAneis, 0, kMaxAneis))));
            ++total;
            res.ultimoExame = g.AtualizaPaciente(exame.codPaciente, exame.olho, quando, total);
            res.exames << ExameGravado{codigo, quando};
        }
        res.totalExames = total;
        g.Confirma();
    } catch (...) {
        g.Desfaz(exame.codPaciente);
        throw;
    }
    return res;
}

} // namespace GravacaoExame
