#include "reports/UMarcadores.h"

#include "common/UFormatos.h"

QList<Marcador> Marcadores(const QString& texto)
{
    QList<Marcador> r;
    qsizetype abre = -1;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto[i] != u'#')
            continue;
        if (abre < 0) {
            abre = i;
        } else {
            r.append({int(r.size()) + 1, abre, i});
            abre = -1;
        }
    }
    return r;
}

QString InsereTexto(const QString& texto, int n, const QString& frase)
{
    if (n < 1)
        return texto;
    const QList<Marcador> marcas = Marcadores(texto);
    if (n > marcas.size())
        return texto;
    const Marcador& m = marcas[n - 1];
    QString novo = texto.left(m.abre + 1) + QString::number(n);
    if (!frase.isEmpty())
        novo += u'-' + frase;
    novo += QStringView(texto).mid(m.fecha);
    return novo;
}

QList<Marcador> MarcadoresColoridos(const QString& texto)
{
    QList<Marcador> r = Marcadores(texto);
    if (r.size() > kMarcadoresColoridos)
        r.resize(kMarcadoresColoridos);
    return r;
}

bool MarcadorObrigatorio(int numero)
{
    switch (numero) {
    case 2: case 4: case 5: case 8: case 10: case 11:
        return true;
    default:
        return false;
    }
}

QString VerificaCaixas(const QString& texto)
{
    QString faltam;
    for (const Marcador& m : Marcadores(texto))
        if (MarcadorObrigatorio(m.numero) && m.TamanhoInterno() <= 2)
            faltam += QString::number(m.numero) + u' ';
    return faltam;
}

QString PerguntaCaixasObrigatorias(const QString& olhoDireito, bool direitoAtivo,
                                   const QString& olhoEsquerdo, bool esquerdoAtivo,
                                   const QString& conclusao)
{
    const QString od = direitoAtivo ? VerificaCaixas(olhoDireito) : QString();
    const QString os = esquerdoAtivo ? VerificaCaixas(olhoEsquerdo) : QString();
    const QString co = VerificaCaixas(conclusao);
    if (od.isEmpty() && os.isEmpty() && co.isEmpty())
        return QString();
    QString lista;
    if (!od.isEmpty())
        lista += QStringLiteral("Caixa Olho Direito: ") + od + u' ';
    if (!os.isEmpty())
        lista += QStringLiteral("Caixa Olho Esquerdo: ") + os;
    if (!co.isEmpty())
        lista += QStringLiteral("Caixa Conclusão: ") + co;
    return QStringLiteral("Algumas caixas obrigatórias estão sem preencher. Deseja alterá-las?") +
           QStringLiteral("\n\r") + lista;
}

QString ItemLaudo(int codigo, const QDate& data, const QTime& hora)
{
    return QStringLiteral("Laudo ") + QString::number(codigo) + QStringLiteral(" - ") +
           FormataData(data) + u' ' + FormataHora(hora);
}

int CodigoDoItem(const QString& item)
{
    const qsizetype traco = item.indexOf(u'-', 6);
    if (traco < 7)
        return -1;
    const QString codigo = item.mid(6, traco - 6 - 1);
    int32_t valor;
    if (!TentaInteiro(codigo, valor) || valor < 0)
        return -1;
    return valor;
}
