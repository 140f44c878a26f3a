#pragma once
// The current user's registry: a per-user store of keys and named text values, kept in
// "registro.ini" under the user's configuration folder ($XDG_CONFIG_HOME, or ~/.config)
// in the folder "korvane". Keys are written as on Windows: "\Control Panel\International".
//
// The regional key "\Control Panel\International" always exists for a user, as it does on
// Windows: on the first use of a store without it, it is filled from the system's locale.

#include <QString>
#include <memory>

class QSettings;

enum class RaizRegistro { UsuarioAtual };

class TRegistro {
public:
    TRegistro();
    virtual ~TRegistro();

    // The file that holds the current user's registry.
    static QString ArquivoUsuario();

    void DefineRaiz(RaizRegistro raiz) { m_raiz = raiz; }
    // Opens a key; without `criar`, a key that does not exist is not opened. Raises ErroES
    // when the store cannot be read.
    bool AbreChave(const QString& chave, bool criar);
    void FechaChave();
    bool ChaveAberta() const { return !m_chave.isEmpty(); }

    bool ExisteValor(const QString& nome);
    // Reads a value of the open key; a missing value reads as an empty text.
    QString LeTexto(const QString& nome);
    // Writes a value into the open key and saves the store at once; raises ErroES when
    // the store cannot be written.
    void EscreveTexto(const QString& nome, const QString& valor);

private:
    QString Caminho(const QString& nome) const;
    QSettings& Armazem();
    void VerificaLeitura();

    RaizRegistro m_raiz = RaizRegistro::UsuarioAtual;
    QString m_chave; // open key as a settings group, empty when none is open
    std::unique_ptr<QSettings> m_armazem;
};
