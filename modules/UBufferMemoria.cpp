#include "modules/UBufferMemoria.h"

#include "common/UTextoCp1252.h"

#include <cstring>
#include <limits>
#include <new>

namespace {
BufferMemoria* Dono(zrmod::ZrStream* s)
{
    return s ? static_cast<BufferMemoria*>(s->ctx) : nullptr;
}
// A QByteArray holds at most this many bytes; larger writes are refused.
constexpr int64_t LimiteBuffer = std::numeric_limits<qsizetype>::max() / 2;
} // namespace

BufferMemoria::BufferMemoria()
{
    m_stream.ctx = this;
    m_stream.read = &BufferMemoria::Le;
    m_stream.write = &BufferMemoria::Grava;
    m_stream.seek = &BufferMemoria::Posiciona;
    m_stream.size = &BufferMemoria::TamanhoStream;
    m_stream.position = &BufferMemoria::PosicaoStream;
    m_stream.clear = &BufferMemoria::LimpaStream;
}

BufferMemoria::BufferMemoria(const QByteArray& conteudo) : BufferMemoria()
{
    m_dados = conteudo;
}

void BufferMemoria::Limpa()
{
    m_dados.clear();
    m_posicao = 0;
}

void BufferMemoria::DefineBytes(const QByteArray& conteudo)
{
    m_dados = conteudo;
    m_posicao = 0;
}

void BufferMemoria::DefineLinhas(const QStringList& linhas)
{
    DefineBytes(ParaCp1252(JuntaLinhasCrLf(linhas)));
}

QStringList BufferMemoria::Linhas()
{
    return LeLinhasTexto(Stream());
}

// The functions below are called by modules through the table: nothing may escape them.

int64_t BufferMemoria::Le(zrmod::ZrStream* s, void* destino, int64_t n)
{
    BufferMemoria* b = Dono(s);
    if (!b || !destino || n <= 0 || b->m_posicao >= b->m_dados.size())
        return 0;
    const int64_t k = std::min<int64_t>(n, b->m_dados.size() - b->m_posicao);
    std::memcpy(destino, b->m_dados.constData() + b->m_posicao, size_t(k));
    b->m_posicao += k;
    return k;
}

int64_t BufferMemoria::Grava(zrmod::ZrStream* s, const void* origem, int64_t n)
{
    BufferMemoria* b = Dono(s);
    if (!b || !origem || n <= 0)
        return 0;
    if (n > LimiteBuffer || b->m_posicao > LimiteBuffer - n)
        return 0;
    const int64_t fim = b->m_posicao + n;
    try {
        if (fim > b->m_dados.size()) {
            // A gap left by a seek past the end reads as zeros.
            const qsizetype antes = b->m_dados.size();
            b->m_dados.resize(qsizetype(fim));
            if (b->m_posicao > antes)
                std::memset(b->m_dados.data() + antes, 0, size_t(b->m_posicao - antes));
        }
        std::memcpy(b->m_dados.data() + b->m_posicao, origem, size_t(n));
    } catch (...) {
        return 0;
    }
    b->m_posicao = fim;
    return n;
}

int64_t BufferMemoria::Posiciona(zrmod::ZrStream* s, int64_t deslocamento, int32_t origem)
{
    BufferMemoria* b = Dono(s);
    if (!b)
        return -1;
    int64_t base = 0;
    switch (origem) {
    case zrmod::ZR_DO_INICIO: base = 0; break;
    case zrmod::ZR_DA_POSICAO: base = b->m_posicao; break;
    case zrmod::ZR_DO_FIM: base = b->m_dados.size(); break;
    default: return -1;
    }
    if ((deslocamento < 0 && base + deslocamento < 0) ||
        (deslocamento > 0 && deslocamento > LimiteBuffer - base))
        return -1;
    b->m_posicao = base + deslocamento;
    return b->m_posicao;
}

int64_t BufferMemoria::TamanhoStream(zrmod::ZrStream* s)
{
    BufferMemoria* b = Dono(s);
    return b ? b->m_dados.size() : 0;
}

int64_t BufferMemoria::PosicaoStream(zrmod::ZrStream* s)
{
    BufferMemoria* b = Dono(s);
    return b ? b->m_posicao : 0;
}

void BufferMemoria::LimpaStream(zrmod::ZrStream* s)
{
    if (BufferMemoria* b = Dono(s))
        b->Limpa();
}

DadosPacModulo::DadosPacModulo(const QList<QStringList>& cabecalhos)
{
    for (const QStringList& linhas : cabecalhos) {
        m_buffers.push_back(std::make_unique<BufferMemoria>());
        m_buffers.back()->DefineLinhas(linhas);
        m_streams.push_back(m_buffers.back()->Stream());
    }
    m_dados.count = int32_t(m_streams.size());
    m_dados.items = m_streams.data();
}

QuatroBuffersModulo::QuatroBuffersModulo()
{
    for (int i = 0; i < 4; ++i)
        m_streams[i] = m_buffers[i].Stream();
}

QByteArray LeBytes(zrmod::ZrStream* s)
{
    QByteArray bytes;
    if (!s || !s->seek || !s->read || s->seek(s, 0, zrmod::ZR_DO_INICIO) != 0)
        return bytes;
    char bloco[4096];
    for (;;) {
        const int64_t k = s->read(s, bloco, sizeof bloco);
        if (k <= 0)
            break;
        bytes.append(bloco, qsizetype(std::min<int64_t>(k, sizeof bloco)));
    }
    return bytes;
}

bool GravaBytes(zrmod::ZrStream* s, const QByteArray& bytes)
{
    if (!s || !s->write)
        return false;
    if (bytes.isEmpty())
        return true;
    return s->write(s, bytes.constData(), bytes.size()) == bytes.size();
}

QStringList LeLinhasTexto(zrmod::ZrStream* s)
{
    return DivideLinhas(DeCp1252(LeBytes(s)));
}

bool GravaLinhasTexto(zrmod::ZrStream* s, const QStringList& linhas)
{
    return GravaBytes(s, ParaCp1252(JuntaLinhasCrLf(linhas)));
}

QString DeTextoModulo(const char* texto)
{
    return texto ? DeCp1252(QByteArray(texto)) : QString();
}
