#include "tests/support/UExameCapturado.h"

#include "config/URegistrosZR.h"
#include "data/UBJpeg.h"
#include "data/UDArquivos.h"
#include "data/UDExames.h"
#include "examfiles/UArquivosExame.h"
#include "modules/UBufferMemoria.h"
#include "modules/UModulos.h"
#include "modules/URegistrosModulo.h"

#include <QBuffer>
#include <QDir>
#include <cstring>
#include <memory>

namespace {

struct Medida {
    TMatrizAngAnel m{};
    TMatrizAngAnel d{};
    TAneisMeridiano aneis{};
    TDadosPupila pupila{};
    double centroX = 0, centroY = 0, indice = 0;
};

QByteArray Jpeg(const QByteArray& bitmap)
{
    QBuffer fonte;
    fonte.setData(bitmap);
    fonte.open(QIODevice::ReadOnly);
    return TBJpeg().ComprimeJpeg(fonte, 90);
}

} // namespace

ExameCapturado GravaExameCapturado(TDMPrincipal& dm, int codPaciente, int codMedico, const QString& caso,
                                   const QString& olho, const QDate& data, const QTime& hora)
{
    ExameCapturado r;
    qputenv("ZR_MODULOS_AUTOMATICO", "1");
    qputenv("ZR_SIMULADOR_CASO", caso.toUtf8());
    InfosZRModulo infos(InfosZR);
    PathsZRModulo paths(PathsZR);

    BufferMemoria central, lateral;
    if (!LoadCapturaDLL(QStringLiteral(ZR_TESTE_MODULO_DIGITALIZACAO))) {
        r.Erro = QStringLiteral("módulo de captura não carregou");
        return r;
    }
    const TextoModulo legenda(QStringLiteral("Digitalizando"));
    CapturaDLL.Digitalizar(nullptr, central.Stream(), lateral.Stream(),
                           olho == QStringLiteral("OD") ? zrmod::ZR_OLHO_DIREITO : zrmod::ZR_OLHO_ESQUERDO,
                           infos.Registro(), legenda.c_str());
    FreeCapturaDLL();
    qunsetenv("ZR_SIMULADOR_CASO");
    if (central.Vazio()) {
        r.Erro = QStringLiteral("captura vazia");
        return r;
    }

    auto med = std::make_unique<Medida>();
    if (!LoadProcDLL(QStringLiteral(ZR_TESTE_MODULO_PROCESSAMENTO))) {
        r.Erro = QStringLiteral("módulo de processamento não carregou");
        return r;
    }
    BufferMemoria entrada(central.Bytes());
    const int32_t ok = ProcDLL.ProcessaImagem(nullptr, entrada.Stream(), &med->centroX, &med->centroY, &med->m,
                                              &med->aneis, &med->d, &med->pupila, &med->indice, infos.Registro(),
                                              paths.Registro());
    FreeProcDLL();
    if (ok != 1) {
        r.Erro = QStringLiteral("processamento recusou a imagem");
        return r;
    }

    TDExames exames(dm);
    exames.InsereExame(codPaciente, codMedico, data, hora, olho, med->indice, QStringLiteral("T"), QString(),
                       QString(), QString(), InfosZR.NumAneis, InfosZR.TipoCone);
    r.Codigo = exames.IndiceExames();
    dm.PCommitDataBase();

    QDir().mkpath(PastaExamesPaciente(codPaciente));
    GravaArquivoD(codPaciente, r.Codigo, med->d);
    GravaArquivoM(codPaciente, r.Codigo, med->m);
    GravaArquivoA(codPaciente, r.Codigo, med->aneis, med->centroX, med->centroY, med->pupila);

    QBuffer jc, jl;
    jc.setData(Jpeg(central.Bytes()));
    jl.setData(Jpeg(lateral.Bytes()));
    jc.open(QIODevice::ReadOnly);
    jl.open(QIODevice::ReadOnly);
    TDArquivos(dm).GravaImagens(r.Codigo, jc, jl);

    r.Valido = true;
    r.CodPaciente = codPaciente;
    r.Olho = olho;
    r.Data = data;
    r.Prefixo = PrefixoExame(codPaciente, r.Codigo);
    return r;
}
