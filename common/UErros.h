#pragma once
// The system's unexpected failures. Each carries a text a user can read; the application's
// event loop shows it in the application-wide error report and goes on.

#include <QString>
#include <exception>
#include <string>

class ErroSistema : public std::exception {
public:
    explicit ErroSistema(QString mensagem)
        : m_mensagem(std::move(mensagem)), m_utf8(m_mensagem.toStdString()) {}
    const QString& Mensagem() const noexcept { return m_mensagem; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_mensagem;
    std::string m_utf8;
};

// A text that should have been a number or a date and is not.
class ErroConversao : public ErroSistema {
public:
    using ErroSistema::ErroSistema;
};

// A file or folder that could not be read or written.
class ErroES : public ErroSistema {
public:
    using ErroSistema::ErroSistema;
};

// The database refused an operation; the text is the database's own message.
class ErroBancoDados : public ErroSistema {
public:
    using ErroSistema::ErroSistema;
};
