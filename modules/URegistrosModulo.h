#pragma once
// The options and paths records as the modules take them: plain C records whose texts are
// cp1252 copies owned by these objects. Build one right before a module call from the
// program's records and keep it alive until the call returns.

#include "config/URegistrosZR.h"
#include "modules/zr_modulos.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

class InfosZRModulo {
public:
    explicit InfosZRModulo(const ::TInfosZR& infos);
    InfosZRModulo(const InfosZRModulo&) = delete;
    InfosZRModulo& operator=(const InfosZRModulo&) = delete;

    const zrmod::TInfosZR* Registro() const { return &m_c; }
    zrmod::TInfosZR* Registro() { return &m_c; }

private:
    const char* Texto(const QString& texto);

    QList<QByteArray> m_textos;
    zrmod::TInfosZR m_c{};
};

class PathsZRModulo {
public:
    explicit PathsZRModulo(const ::TPathsZR& paths);
    PathsZRModulo(const PathsZRModulo&) = delete;
    PathsZRModulo& operator=(const PathsZRModulo&) = delete;

    const zrmod::TPathsZR* Registro() const { return &m_c; }

private:
    const char* Texto(const QString& texto);

    QList<QByteArray> m_textos;
    zrmod::TPathsZR m_c{};
};

// A list of texts for a module (cp1252 copies owned by this object).
class ListaTextosModulo {
public:
    explicit ListaTextosModulo(const QStringList& textos);
    ListaTextosModulo(const ListaTextosModulo&) = delete;
    ListaTextosModulo& operator=(const ListaTextosModulo&) = delete;

    const zrmod::TListaTextos* Lista() const { return &m_lista; }

private:
    QList<QByteArray> m_textos;
    QList<const char*> m_ponteiros;
    zrmod::TListaTextos m_lista{};
};

// A zero-terminated cp1252 copy of a text for as long as the object lives.
class TextoModulo {
public:
    explicit TextoModulo(const QString& texto);
    const char* c_str() const { return m_bytes.constData(); }

private:
    QByteArray m_bytes;
};
