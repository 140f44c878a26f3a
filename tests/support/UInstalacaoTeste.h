#pragma once
// A fresh installation in a temporary folder, laid out by the installer code, with the
// settings folder pointed at its bin/.

#include "install/UInstalacao.h"

#include <QTemporaryDir>

class InstalacaoTeste {
public:
    // Which installation steps run: every step (the database, the calibration files and
    // the example examinations), or the database only, for tests that need no examples.
    enum class Etapas { Todas, SoBanco };

    explicit InstalacaoTeste(Etapas etapas = Etapas::Todas);
    ~InstalacaoTeste();

    bool Valida() const { return m_valida; }
    const Instalacao::Pastas& Pastas() const { return m_pastas; }
    QString Raiz() const { return m_pastas.raiz; }
    QString ArquivoConfiguracao() const { return m_pastas.ArquivoConfiguracao(); }
    QString ArquivoBanco() const;
    // Replaces the value of a key line of the settings file ("CHAVE=..." matched without
    // regard to case), or removes the line when `valor` is null. False when no line has it.
    bool AlteraChave(const QString& chave, const QString& valor) const;

private:
    QTemporaryDir m_pasta;
    Instalacao::Pastas m_pastas;
    bool m_valida = false;
};

// Points the user's configuration folder (and so the user's registry) at a fresh temporary
// folder for as long as the object lives.
class UsuarioTeste {
public:
    UsuarioTeste();
    ~UsuarioTeste();
    QString Pasta() const { return m_pasta.path(); }

private:
    QTemporaryDir m_pasta;
    QByteArray m_anterior;
    bool m_tinha;
};
