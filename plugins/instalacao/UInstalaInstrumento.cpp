#include "plugins/instalacao/UInstalaInstrumento.h"

#include "calibration/UCoeficientesCalib.h"
#include "common/UErros.h"
#include "common/UFormatos.h"
#include "common/UTextoCp1252.h"
#include "examfiles/UArquivosExame.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "plugins/instrumento/UCasosModelo.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <optional>
#include <vector>

namespace InstalaInstrumento {

namespace {

// Sets environment variables for as long as the object lives, then restores them.
class Ambiente {
public:
    void Define(const char* nome, const QByteArray& valor)
    {
        Guarda(nome);
        qputenv(nome, valor);
    }
    void Remove(const char* nome)
    {
        Guarda(nome);
        qunsetenv(nome);
    }
    ~Ambiente()
    {
        for (auto it = m_antes.rbegin(); it != m_antes.rend(); ++it) {
            if (it->second)
                qputenv(it->first, *it->second);
            else
                qunsetenv(it->first);
        }
    }

private:
    void Guarda(const char* nome)
    {
        for (const auto& a : m_antes)
            if (qstrcmp(a.first, nome) == 0)
                return;
        m_antes.emplace_back(nome, qEnvironmentVariableIsSet(nome) ? std::optional<QByteArray>(qgetenv(nome)) : std::nullopt);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_antes;
};

struct Registros {
    QByteArray calibracao;
    zrmod::TInfosZR infos{};
    zrmod::TPathsZR paths{};
    explicit Registros(const Opcoes& o)
    {
        calibracao = ParaCp1252(QDir(o.pastaCalibracao).absolutePath() + QLatin1Char('/'));
        infos.NumAneis = o.numAneis;
        infos.FatorCorrecao = o.fatorCorrecao;
        paths.Calibracao = calibracao.constData();
    }
};

struct Exame {
    double centroX = 0, centroY = 0, indice = 0;
    TMatrizAngAnel m{};
    TAneisMeridiano aneis{};
    TMatrizAngAnel d{};
    TDadosPupila pupila{};
};

[[noreturn]] void Falha(const QString& texto)
{
    throw ErroES(texto);
}

void CarregaModulos(const Opcoes& o)
{
    if (!LoadCapturaDLL(o.moduloCaptura)) {
        FreeCapturaDLL();
        Falha(QStringLiteral("Não foi possível carregar o módulo de captura %1.").arg(o.moduloCaptura));
    }
    if (!LoadProcDLL(o.moduloProcessamento)) {
        FreeProcDLL();
        FreeCapturaDLL();
        Falha(QStringLiteral("Não foi possível carregar o módulo de processamento %1.").arg(o.moduloProcessamento));
    }
}

void LiberaModulos()
{
    FreeProcDLL();
    FreeCapturaDLL();
}

QByteArray Digitaliza(int olho, const QString& legenda, Registros& r)
{
    BufferMemoria central, lateral;
    const QByteArray texto = ParaCp1252(legenda);
    CapturaDLL.Digitalizar(nullptr, central.Stream(), lateral.Stream(), olho, &r.infos, texto.constData());
    return central.Bytes();
}

// The calibration: four spheres captured and measured, then the coefficients.
void Calibra(const Opcoes& o, Registros& r, QStringList& relatorio)
{
    static const char* raios[4] = {"7,73", "8,05", "8,34", "8,91"};
    QDir().mkpath(o.pastaCalibracao);
    for (int s = 0; s < 4; ++s) {
        const QString raio = QString::fromLatin1(raios[s]);
        const QByteArray imagem = Digitaliza(2, QStringLiteral("Digitalizando Esfera (") + raio + QLatin1Char(')'), r);
        if (imagem.size() < 10)
            Falha(QStringLiteral("A esfera de %1 mm não foi digitalizada.").arg(raio));
        BufferMemoria entrada(imagem), saida;
        if (ProcDLL.ProcessaEsfera(nullptr, entrada.Stream(), raios[s], saida.Stream(), &r.infos) != 1 || saida.Vazio())
            Falha(QStringLiteral("A esfera de %1 mm não foi processada.").arg(raio));
        GravaArquivoBytes(QDir(o.pastaCalibracao).filePath(QStringLiteral("%1.txt").arg(s + 1)), saida.Bytes());
    }
    QString motivo;
    if (!GravaCoeficientes(QDir(o.pastaCalibracao).absolutePath(), o.numAneis, &motivo))
        Falha(QStringLiteral("A calibração não foi realizada: %1").arg(motivo));
    relatorio << QStringLiteral("calibração: 4 esferas medidas, Coef.txt com %1 anéis").arg(o.numAneis);
}

void GeraExemplos(const Opcoes& o, Registros& r, QStringList& relatorio)
{
    QDir().mkpath(o.pastaExemplos);
    Ambiente ambiente;
    for (const Exemplo& ex : Exemplos()) {
        ambiente.Define("ZR_SIMULADOR_CASO", ex.nome.toUtf8());
        const QByteArray imagem = Digitaliza(ex.olho, QStringLiteral("Digitalizando Imagem do Olho"), r);
        if (imagem.isEmpty())
            Falha(QStringLiteral("O exemplo %1 não foi digitalizado.").arg(ex.nome));
        auto e = std::make_unique<Exame>();
        BufferMemoria central(imagem);
        const int32_t resultado = ProcDLL.ProcessaImagem(nullptr, central.Stream(), &e->centroX, &e->centroY, &e->m,
                                                         &e->aneis, &e->d, &e->pupila, &e->indice, &r.infos, &r.paths);
        if (resultado != 1)
            Falha(QStringLiteral("O exemplo %1 não foi processado (resultado %2).").arg(ex.nome).arg(resultado));
        const QDir pasta(o.pastaExemplos);
        GravaArquivoBytes(pasta.filePath(ex.nome + QStringLiteral("m.txt")), ConteudoMatriz(e->m, o.numAneis));
        GravaArquivoBytes(pasta.filePath(ex.nome + QStringLiteral("d.txt")), ConteudoMatriz(e->d, o.numAneis));
        GravaArquivoBytes(pasta.filePath(ex.nome + QStringLiteral("a.txt")),
                          ConteudoArquivoA(e->aneis, e->centroX, e->centroY, e->pupila));
    }
    relatorio << QStringLiteral("exemplos: %1 exames capturados e processados").arg(Exemplos().size());
}

QStringList ArquivosResultado()
{
    QStringList a{QStringLiteral("c/1.txt"), QStringLiteral("c/2.txt"), QStringLiteral("c/3.txt"),
                  QStringLiteral("c/4.txt"), QStringLiteral("c/Coef.txt")};
    for (const Exemplo& ex : Exemplos())
        for (const char* l : {"d", "m", "a"})
            a << QStringLiteral("e/") + ex.nome + QLatin1String(l) + QStringLiteral(".txt");
    return a;
}

QString Origem(const Opcoes& o, const QString& relativo)
{
    return relativo.startsWith(QLatin1String("c/")) ? QDir(o.pastaCalibracao).filePath(relativo.mid(2))
                                                    : QDir(o.pastaExemplos).filePath(relativo.mid(2));
}

// The key of the results: the two modules' bytes and the options.
QString Chave(const Opcoes& o)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    for (const QString& arquivo : {o.moduloCaptura, o.moduloProcessamento}) {
        QFile f(arquivo);
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        h.addData(&f);
    }
    h.addData(QStringLiteral("%1;%2;1").arg(o.numAneis).arg(o.fatorCorrecao, 0, 'g', 17).toUtf8());
    return QString::fromLatin1(h.result().toHex());
}

bool CopiaDoCache(const Opcoes& o, const QString& pasta)
{
    if (!QFileInfo(QDir(pasta).filePath(QStringLiteral("completo"))).exists())
        return false;
    QDir().mkpath(o.pastaCalibracao);
    QDir().mkpath(o.pastaExemplos);
    for (const QString& rel : ArquivosResultado()) {
        QFile f(QDir(pasta).filePath(rel));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        GravaArquivoBytes(Origem(o, rel), f.readAll());
    }
    return true;
}

void GuardaNoCache(const Opcoes& o, const QString& pasta)
{
    // Written into a fresh folder, then renamed: a reader never sees half a cache.
    const QString temporaria = pasta + QStringLiteral(".%1").arg(QCoreApplication::applicationPid());
    QDir(temporaria).removeRecursively();
    for (const QString& rel : ArquivosResultado()) {
        QFile f(Origem(o, rel));
        QDir().mkpath(QFileInfo(QDir(temporaria).filePath(rel)).absolutePath());
        if (!f.open(QIODevice::ReadOnly) || !f.copy(QDir(temporaria).filePath(rel))) {
            QDir(temporaria).removeRecursively();
            return;
        }
    }
    QFile marca(QDir(temporaria).filePath(QStringLiteral("completo")));
    marca.open(QIODevice::WriteOnly);
    marca.close();
    if (!QDir().rename(temporaria, pasta))
        QDir(temporaria).removeRecursively();
}

} // namespace

Opcoes OpcoesDaInstalacao(const QString& pastaModulos, const QString& pastaDados,
                          const QString& arquivoConfiguracao)
{
    Opcoes o;
    auto modulo = [&](const QString& nome) {
        const QString instalado = QDir(pastaModulos).filePath(nome);
        if (QFileInfo::exists(instalado))
            return instalado;
        return QDir(QStringLiteral(ZR_PASTA_MODULOS_COMPILADOS)).filePath(nome);
    };
    o.moduloCaptura = modulo(QStringLiteral("Digitalizacao.so"));
    o.moduloProcessamento = modulo(QStringLiteral("Processamento.so"));
    o.pastaCalibracao = QDir(pastaDados).filePath(QStringLiteral("Calibração"));
    o.pastaExemplos = QDir(pastaDados).filePath(QStringLiteral("Exemplos"));
    o.pastaCache = QStringLiteral(ZR_PASTA_CACHE_INSTRUMENTO);
    if (QFileInfo::exists(arquivoConfiguracao)) {
        for (const QString& linha : LeArquivoTexto(arquivoConfiguracao)) {
            double f;
            if (linha.startsWith(QLatin1String("FatorCorrecao=")) && TentaReal(linha.mid(14).trimmed(), f) && f > 0.0) {
                o.fatorCorrecao = f;
                break;
            }
        }
    }
    return o;
}

QList<Exemplo> Exemplos()
{
    QList<Exemplo> lista;
    for (const QString& nome : Instrumento::NomesExemplos()) {
        const bool esquerdo = !nome.startsWith(QLatin1String("Orto")) &&
                              (nome.endsWith(QLatin1String("05")) || nome.endsWith(QLatin1String("06")));
        lista.append({nome, esquerdo ? 0 : 1});
    }
    return lista;
}

QStringList Instala(const Opcoes& o)
{
    QStringList relatorio;
    const QString chave = o.pastaCache.isEmpty() ? QString() : Chave(o);
    const QString cache = chave.isEmpty() ? QString() : QDir(o.pastaCache).filePath(chave);
    if (!cache.isEmpty() && CopiaDoCache(o, cache)) {
        relatorio << QStringLiteral("calibração e exemplos: resultados dos mesmos módulos reaproveitados");
        return relatorio;
    }

    Ambiente ambiente;
    // The capture module works without a person here, and draws no window to a file.
    ambiente.Define("ZR_MODULOS_AUTOMATICO", "1");
    ambiente.Remove("ZR_MODULOS_SAIDA");
    ambiente.Remove("ZR_SIMULADOR_CASO");
    ambiente.Remove("ZR_SIMULADOR_SEMENTE");
    Registros registros(o);
    CarregaModulos(o);
    try {
        Calibra(o, registros, relatorio);
        GeraExemplos(o, registros, relatorio);
    } catch (...) {
        LiberaModulos();
        throw;
    }
    LiberaModulos();
    if (!cache.isEmpty()) {
        QDir().mkpath(o.pastaCache);
        GuardaNoCache(o, cache);
    }
    return relatorio;
}

} // namespace InstalaInstrumento
