#pragma once
// The host's memory buffers as the modules see them (ZrStream), and the text buffers of the
// module interface: cp1252 lines, each ending in CR LF.

#include "modules/zr_modulos.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

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
