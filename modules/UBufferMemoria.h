#pragma once
// The host's memory buffers as the modules see them (ZrStream), and the text buffers of the
// module interface: cp1252 lines, each ending in CR LF.

#include "modules/zr_modulos.h"

#include <QByteArray>
#include <QString>
#include <QList>
#include <QStringList>

#include <memory>
#include <vector>

// A growable byte buffer with a current position, handed to a module as a ZrStream*. The
// stream refers to this object: it is neither copied nor moved while a module may use it.
class BufferMemoria {
public:
    BufferMemoria();
    explicit BufferMemoria(const QByteArray& conteudo); // position 0
    BufferMemoria(const BufferMemoria&) = delete;
    BufferMemoria& operator=(const BufferMemoria&) = delete;

    // What a module takes.
    zrmod::ZrStream* Stream() { return &m_stream; }

    const QByteArray& Bytes() const { return m_dados; }
    qint64 Tamanho() const { return m_dados.size(); }
    qint64 Posicao() const { return m_posicao; }
    bool Vazio() const { return m_dados.isEmpty(); }
    void Rebobina() { m_posicao = 0; }
    void Limpa();
    // Replaces the content and rewinds.
    void DefineBytes(const QByteArray& conteudo);
    // Replaces the content with the lines (cp1252, CR LF after each) and rewinds.
    void DefineLinhas(const QStringList& linhas);
    // The whole content read as text lines (the position is left at the end).
    QStringList Linhas();

private:
    static int64_t Le(zrmod::ZrStream* s, void* destino, int64_t n);
    static int64_t Grava(zrmod::ZrStream* s, const void* origem, int64_t n);
    static int64_t Posiciona(zrmod::ZrStream* s, int64_t deslocamento, int32_t origem);
    static int64_t TamanhoStream(zrmod::ZrStream* s);
    static int64_t PosicaoStream(zrmod::ZrStream* s);
    static void LimpaStream(zrmod::ZrStream* s);

    QByteArray m_dados;
    qint64 m_posicao = 0;
    zrmod::ZrStream m_stream;
};

// The examinations' header buffers of a multi-map call: one text buffer per examination,
// seen by the module as a TDadosPac.
class DadosPacModulo {
public:
    explicit DadosPacModulo(const QList<QStringList>& cabecalhos);
    DadosPacModulo(const DadosPacModulo&) = delete;
    DadosPacModulo& operator=(const DadosPacModulo&) = delete;

    const zrmod::TDadosPac* Dados() const { return &m_dados; }
    int Quantidade() const { return int(m_buffers.size()); }
    BufferMemoria& Buffer(int i) { return *m_buffers.at(size_t(i)); }

private:
    std::vector<std::unique_ptr<BufferMemoria>> m_buffers;
    std::vector<zrmod::ZrStream*> m_streams;
    zrmod::TDadosPac m_dados{};
};

// Four empty buffers, one per ortho-k map, seen by the module as a TQuatroBuffers.
class QuatroBuffersModulo {
public:
    QuatroBuffersModulo();
    QuatroBuffersModulo(const QuatroBuffersModulo&) = delete;
    QuatroBuffersModulo& operator=(const QuatroBuffersModulo&) = delete;

    const zrmod::TQuatroBuffers* Buffers() const { return &m_streams; }
    BufferMemoria& Buffer(int i) { return m_buffers[i]; }

private:
    BufferMemoria m_buffers[4];
    zrmod::TQuatroBuffers m_streams;
};

// Helpers over any ZrStream (the host's own or one handed to a module). A null stream reads
// as empty and takes no writes.

// Rewinds the stream and reads everything as cp1252 text lines (CR LF, LF or CR; a final
// line break makes no empty last line).
QStringList LeLinhasTexto(zrmod::ZrStream* s);
// Writes the lines at the position, cp1252, CR LF after each. False when the stream did not
// take every byte.
bool GravaLinhasTexto(zrmod::ZrStream* s, const QStringList& linhas);
// Rewinds the stream and reads all its bytes.
QByteArray LeBytes(zrmod::ZrStream* s);
// Writes the bytes at the position; false when the stream did not take them all.
bool GravaBytes(zrmod::ZrStream* s, const QByteArray& bytes);

// A text received across the interface (cp1252, zero-terminated); a null text is empty.
QString DeTextoModulo(const char* texto);
