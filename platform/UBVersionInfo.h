#pragma once
// Version information of programs and modules. Every file the project builds carries it in
// an ELF section ".zr_versao" (written at build time by cmake/ZrVersao.cmake): the fixed
// four-number version, the translation list and the version texts ("FileVersion", ...).

#include <QMap>
#include <QString>
#include <cstdint>

// The version information of one file, as read from its section.
struct InfoVersaoArquivo {
    uint32_t versaoMS = 0; // major << 16 | minor
    uint32_t versaoLS = 0; // release << 16 | build
    QList<uint32_t> traducoes; // language << 16 | code page
    QMap<QString, QString> textos; // "\StringFileInfo\041604e4\FileVersion" -> "3.2.0.0"
};

// Reads the version information of a file; false when the file cannot be read, is not an
// ELF file or carries no version section.
bool LeInfoVersaoArquivo(const QString& arquivo, InfoVersaoArquivo& info);

// Queries the information by path, as the platform's version query does:
// "\" (fixed version, as "a.b.c.d"), "\VarFileInfo\Translation" (the first translation as
// eight hexadecimal digits, language then code page) and "\StringFileInfo\<llllcccc>\<name>".
bool ConsultaInfoVersao(const InfoVersaoArquivo& info, const QString& caminho, QString& valor);

// The version reader of the program.
class TBVersionInfo {
public:
    // The file version texts of the file last read; empty until read.
    QString FileVersion, Major, Minor, Release, Build;
    // Other standard texts; read but not used by the system.
    QString CompanyName, FileDescription, InternalName, OriginalFilename, ProductName,
        ProductVersion;

    // Clears every field, then reads the file's version texts. Returns whether the file had
    // version information.
    bool LeVersao(const QString& arquivo);
    // True in the ortho-k edition: the minor version of the program's own executable is
    // odd. Reads the executable again on every call. Raises ErroConversao when the
    // executable carries no version.
    bool OrthoEdition();
    // The file version from the fixed information, "%d.%d.%d.%d"; empty for a file without
    // version information.
    static QString VersaoArquivo(const QString& arquivo);
    // The build part as an integer (raises ErroConversao when it is not one).
    int Compilacao() const;
    // The "FileVersion" text.
    QString VersaoPrograma() const { return FileVersion; }

    // The program's own executable; tests point it at another file.
    static QString ExecutavelPrograma();
    static void DefineExecutavelPrograma(const QString& arquivo);
};
