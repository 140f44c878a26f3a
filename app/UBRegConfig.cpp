#include "app/UBRegConfig.h"

#include "common/UErros.h"
#include "platform/UMensagens.h"

namespace {
const char* const kNomes[6] = {"sDecimal", "sShortDate", "sThousand", "sTimeFormat", "s1159", "s2359"};
}

void TBRegConfig::SalvaRegional()
{
    QString* salvos[6] = {&sDecimalSalvo, &sShortDateSalvo, &sThousandSalvo, &sTimeFormatSalvo,
                          &s1159Salvo, &s2359Salvo};
    try {
        DefineRaiz(RaizRegistro::UsuarioAtual);
        if (!AbreChave(QStringLiteral("\\Control Panel\\International"), false))
            return;
        for (int i = 0; i < 6; ++i)
            *salvos[i] = LeTexto(QString::fromLatin1(kNomes[i]));
    } catch (const ErroSistema&) {
        Mensagem(QStringLiteral("ERRO"), QStringLiteral("Problemas ao ler registro"));
    }
}

void TBRegConfig::DefineRegional(const QString& decimal, const QString& dataCurta,
                                 const QString& milhar, const QString& formatoHora,
                                 const QString& manha, const QString& tarde)
{
    sDecimal = decimal;
    sShortDate = dataCurta;
    sThousand = milhar;
    sTimeFormat = formatoHora;
    s1159 = manha;
    s2359 = tarde;
}

void TBRegConfig::Escreve(const QString (&valores)[6])
{
    if (!ChaveAberta())
        return;
    for (int i = 0; i < 6; ++i)
        EscreveTexto(QString::fromLatin1(kNomes[i]), valores[i]);
}

void TBRegConfig::AplicaRegional()
{
    Escreve({sDecimal, sShortDate, sThousand, sTimeFormat, s1159, s2359});
}

void TBRegConfig::RestauraRegional()
{
    Escreve({sDecimalSalvo, sShortDateSalvo, sThousandSalvo, sTimeFormatSalvo, s1159Salvo,
             s2359Salvo});
}
