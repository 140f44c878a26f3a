#include "common/UFormatos.h"

#include "common/UErros.h"

#include <QStringList>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

int64_t ArredondaInteiro(double valor)
{
    // std::nearbyint follows the current rounding mode, which is round-to-nearest-even.
    return static_cast<int64_t>(std::nearbyint(valor));
}

namespace {

// |valor| as 15 significant decimal digits and the decimal exponent of the first digit:
// valor = 0.d1d2...d15 * 10^(expoente + 1).
struct Decimal15 {
    QByteArray digitos; // exactly 15 digits, or empty for zero
    int expoente = 0;
};

Decimal15 ParaDecimal15(double valor)
{
    Decimal15 d;
    valor = std::fabs(valor);
    if (valor == 0.0 || !std::isfinite(valor))
        return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", valor); // d.dddddddddddddde+XX
    d.digitos.append(buf[0]);
    d.digitos.append(buf + 2, 14);
    d.expoente = std::atoi(std::strchr(buf, 'e') + 1);
    return d;
}

// Rounds the digits so that at most `decimais` digits follow the point, halves away from
// zero. Returns the integer part and the fraction (exactly `decimais` digits).
void ArredondaDecimais(const Decimal15& d, int decimais, QByteArray& inteira, QByteArray& fracao)
{
    inteira.clear();
    fracao = QByteArray(decimais, '0');
    if (d.digitos.isEmpty())
        return;
    const int manter = d.expoente + 1 + decimais; // digits kept from the first significant one
    if (manter < 0)
        return;
    QByteArray dig = d.digitos.left(manter);
    int expoente = d.expoente;
    if (manter < d.digitos.size() && d.digitos[manter] >= '5') {
        int i = dig.size() - 1;
        while (i >= 0 && dig[i] == '9') {
            dig[i] = '0';
            --i;
        }
        if (i >= 0)
            dig[i] = dig[i] + 1;
        else {
            dig.prepend('1');
            ++expoente;
        }
    }
    // Place the digits: position p (0-based) has weight 10^(expoente - p).
    const int digitosInteiros = expoente + 1;
    for (int p = 0; p < digitosInteiros; ++p)
        inteira.append(p < dig.size() ? dig[p] : '0');
    for (int k = 0; k < decimais; ++k) {
        const int p = digitosInteiros + k; // weight 10^-(k+1)
        if (p >= 0 && p < dig.size())
            fracao[k] = dig[p];
    }
}

struct Secao {
    QString prefixo, sufixo;
    int minInteiros = 0;
    int minDecimais = 0;
    int maxDecimais = 0;
    bool milhares = false;
    bool porcento = false;
    bool temPonto = false;
};

QStringList DivideSecoes(const QString& padrao)
{
    QStringList secoes;
    QString atual;
    QChar aspas;
    for (QChar c : padrao) {
        if (!aspas.isNull()) {
            if (c == aspas)
                aspas = QChar();
        } else if (c == u'"' || c == u'\'') {
            aspas = c;
        } else if (c == u';') {
            secoes << atual;
            atual.clear();
            continue;
        }
        atual += c;
    }
    secoes << atual;
    return secoes;
}

Secao AnalisaSecao(const QString& texto)
{
    Secao s;
    bool depoisDoPonto = false, viuDigito = false, viuZero = false;
    QString literalPendente;
    QChar aspas;
    for (QChar c : texto) {
        if (!aspas.isNull()) {
            if (c == aspas)
                aspas = QChar();
            else
                literalPendente += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            aspas = c;
            continue;
        }
        if (c == u'0' || c == u'#') {
            if (!viuDigito)
                s.prefixo += literalPendente;
            literalPendente.clear();
            viuDigito = true;
            if (depoisDoPonto) {
                ++s.maxDecimais;
                if (c == u'0')
                    s.minDecimais = s.maxDecimais;
            } else {
                if (c == u'0')
                    viuZero = true;
                if (viuZero)
                    ++s.minInteiros;
            }
        } else if (c == u'.') {
            if (!depoisDoPonto) {
                depoisDoPonto = true;
                s.temPonto = true;
            }
        } else if (c == u',') {
            if (!depoisDoPonto)
                s.milhares = true;
        } else {
            if (c == u'%')
                s.porcento = true;
            literalPendente += c;
        }
    }
    if (viuDigito)
        s.sufixo = literalPendente;
    else
        s.prefixo = literalPendente;
    return s;
}

QString AgrupaMilhares(const QByteArray& inteira)
{
    QString r;
    const int n = inteira.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            r += u',';
        r += QChar(inteira[i]);
    }
    return r;
}

// Formats |valor| by one section; `zero` reports whether the rounded value is zero.
QString AplicaSecao(const Secao& s, double valor, bool& zero)
{
    if (s.porcento)
        valor *= 100.0;
    QByteArray inteira, fracao;
    ArredondaDecimais(ParaDecimal15(valor), s.maxDecimais, inteira, fracao);
    zero = inteira.count('0') == inteira.size() && fracao.count('0') == fracao.size();
    while (inteira.size() > 1 && inteira[0] == '0')
        inteira.remove(0, 1);
    if (inteira == "0")
        inteira.clear();
    while (inteira.size() < s.minInteiros)
        inteira.prepend('0');
    while (fracao.size() > s.minDecimais && fracao.endsWith('0'))
        fracao.chop(1);
    QString r = s.prefixo;
    r += s.milhares ? AgrupaMilhares(inteira) : QString::fromLatin1(inteira);
    if (!fracao.isEmpty())
        r += u'.' + QString::fromLatin1(fracao);
    r += s.sufixo;
    return r;
}

} // namespace

QString FormataNumero(const QString& padrao, double valor)
{
    if (!std::isfinite(valor))
        return FormataGeral(valor);
    const QStringList secoes = DivideSecoes(padrao);
    const bool negativo = valor < 0;
    const bool secaoNegativa = negativo && secoes.size() >= 2 && !secoes[1].isEmpty();
    const Secao s = AnalisaSecao(secaoNegativa ? secoes[1] : secoes[0]);
    bool zero = false;
    QString r = AplicaSecao(s, valor, zero);
    if (zero && secoes.size() >= 3 && !secoes[2].isEmpty()) {
        bool z;
        return AplicaSecao(AnalisaSecao(secoes[2]), 0.0, z);
    }
    if (negativo && !secaoNegativa && !zero)
        r.prepend(u'-');
    return r;
}

QString FormataGeral(double valor)
{
    if (std::isnan(valor))
        return QStringLiteral("NAN");
    if (std::isinf(valor))
        return valor > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const Decimal15 d = ParaDecimal15(valor);
    if (d.digitos.isEmpty())
        return QStringLiteral("0");
    QByteArray dig = d.digitos;
    while (dig.endsWith('0'))
        dig.chop(1);
    QString r = valor < 0 ? QStringLiteral("-") : QString();
    if (d.expoente >= 15 || d.expoente < -5) {
        r += QChar(dig[0]);
        if (dig.size() > 1)
            r += u'.' + QString::fromLatin1(dig.mid(1));
        r += u'E' + QString::number(d.expoente);
        return r;
    }
    if (d.expoente < 0) {
        r += QStringLiteral("0.") + QString(-d.expoente - 1, u'0') + QString::fromLatin1(dig);
        return r;
    }
    const int inteiros = d.expoente + 1;
    if (dig.size() <= inteiros)
        return r + QString::fromLatin1(dig) + QString(inteiros - dig.size(), u'0');
    return r + QString::fromLatin1(dig.left(inteiros)) + u'.' + QString::fromLatin1(dig.mid(inteiros));
}

QString FormataData(const QDate& data) { return data.toString(QStringLiteral("dd/MM/yyyy")); }
QString FormataHora(const QTime& hora) { return hora.toString(QStringLiteral("HH:mm:ss")); }
QString FormataDataHora(const QDateTime& momento)
{
    return FormataData(momento.date()) + u' ' + FormataHora(momento.time());
}

bool TentaInteiro(const QString& texto, int32_t& valor)
{
    int i = 0;
    const int n = texto.size();
    while (i < n && texto[i] == u' ')
        ++i;
    bool negativo = false;
    if (i < n && (texto[i] == u'-' || texto[i] == u'+')) {
        negativo = texto[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && texto[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && texto[i] == u'0' && (texto[i + 1] == u'x' || texto[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    uint64_t acumulado = 0;
    for (; i < n; ++i) {
        const char16_t c = texto[i].unicode();
        int digito;
        if (c >= u'0' && c <= u'9')
            digito = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digito = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digito = c - u'A' + 10;
        else
            return false;
        acumulado = acumulado * base + digito;
        if (acumulado > (base == 16 ? 0xFFFFFFFFull : 0x80000000ull))
            return false;
    }
    if (base == 16) {
        // Hexadecimal values fill the 32 bits as they are ("0xFFFFFFFF" is -1).
        const auto bits = static_cast<uint32_t>(acumulado);
        valor = static_cast<int32_t>(negativo ? 0u - bits : bits);
        return true;
    }
    if (!negativo && acumulado > 0x7FFFFFFFull)
        return false;
    valor = negativo ? static_cast<int32_t>(-static_cast<int64_t>(acumulado))
                     : static_cast<int32_t>(acumulado);
    return true;
}

int32_t TextoParaInteiro(const QString& texto)
{
    int32_t v = 0;
    if (!TentaInteiro(texto, v))
        throw ErroConversao(QStringLiteral("'%1' não é um valor inteiro válido").arg(texto));
    return v;
}

bool TentaReal(const QString& texto, double& valor)
{
    const QString t = texto.trimmed();
    int i = 0;
    const int n = t.size();
    auto digitos = [&] {
        const int inicio = i;
        while (i < n && t[i] >= u'0' && t[i] <= u'9')
            ++i;
        return i - inicio;
    };
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    int total = digitos();
    if (i < n && t[i] == u'.') {
        ++i;
        total += digitos();
    }
    if (total == 0)
        return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        if (digitos() == 0)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok); // QString::toDouble is locale-independent
    if (!ok || !std::isfinite(v))
        return false;
    valor = v;
    return true;
}

double TextoParaReal(const QString& texto)
{
    double v = 0;
    if (!TentaReal(texto, v))
        throw ErroConversao(QStringLiteral("'%1' não é um valor real válido").arg(texto));
    return v;
}

namespace {
// Splits "a/b/c" (or "a:b:c") into up to three non-negative numbers.
bool TresNumeros(const QString& texto, QChar separador, int (&partes)[3], int& quantos,
                 int (&larguras)[3])
{
    const QStringList itens = texto.trimmed().split(separador);
    if (itens.size() < 2 || itens.size() > 3)
        return false;
    quantos = itens.size();
    for (int k = 0; k < quantos; ++k) {
        const QString& s = itens[k];
        if (s.isEmpty() || s.size() > 4)
            return false;
        for (QChar c : s)
            if (c < u'0' || c > u'9')
                return false;
        partes[k] = s.toInt();
        larguras[k] = s.size();
    }
    return true;
}
} // namespace

bool TentaData(const QString& texto, QDate& data)
{
    int p[3] = {0, 0, 0}, l[3] = {0, 0, 0}, n = 0;
    if (!TresNumeros(texto, u'/', p, n, l))
        return false;
    int ano = n == 3 ? p[2] : QDate::currentDate().year();
    if (n == 3 && l[2] <= 2)
        ano += 2000;
    const QDate d(ano, p[1], p[0]);
    if (!d.isValid())
        return false;
    data = d;
    return true;
}

QDate TextoParaData(const QString& texto)
{
    QDate d;
    if (!TentaData(texto, d))
        throw ErroConversao(QStringLiteral("'%1' não é uma data válida").arg(texto));
    return d;
}

bool TentaHora(const QString& texto, QTime& hora)
{
    int p[3] = {0, 0, 0}, l[3] = {0, 0, 0}, n = 0;
    if (!TresNumeros(texto, u':', p, n, l))
        return false;
    const QTime h(p[0], p[1], n == 3 ? p[2] : 0);
    if (!h.isValid())
        return false;
    hora = h;
    return true;
}

QTime TextoParaHora(const QString& texto)
{
    QTime h;
    if (!TentaHora(texto, h))
        throw ErroConversao(QStringLiteral("'%1' não é uma hora válida").arg(texto));
    return h;
}
