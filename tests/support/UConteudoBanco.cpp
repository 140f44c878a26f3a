#include "tests/support/UConteudoBanco.h"

#include "data/UFirebird.h"

namespace {

QStringList Coluna(fb::Conexao& c, fb::Transacao& t, const QString& sql)
{
    fb::Comando q(c);
    q.Prepara(t, sql);
    q.Executa(t);
    QStringList valores;
    QVector<QVariant> linha;
    while (q.Busca(linha))
        valores << linha.value(0).toString().trimmed();
    q.FechaCursor();
    return valores;
}

QString Texto(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QStringLiteral("<nulo>");
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromLatin1(v.toByteArray().toHex());
    return v.toString();
}

} // namespace

QStringList ConteudoBanco(const QString& banco)
{
    fb::Conexao c;
    c.Abre(banco, {QStringLiteral("user_name=sysdba"), QStringLiteral("password=qwzk47")});
    fb::Transacao t(c);
    t.Inicia(fb::Transacao::ParametrosLeituraConfirmada());
    QStringList saida;
    const QStringList tabelas = Coluna(c, t, QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE "
                                                            "COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL "
                                                            "ORDER BY 1"));
    for (const QString& tabela : tabelas) {
        const QStringList colunas = Coluna(
            c, t, QStringLiteral("SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = '%1' "
                                 "ORDER BY RDB$FIELD_POSITION")
                      .arg(tabela));
        QStringList ordem;
        for (int i = 1; i <= colunas.size(); ++i)
            ordem << QString::number(i);
        fb::Comando q(c);
        q.Prepara(t, QStringLiteral("SELECT * FROM \"%1\" ORDER BY %2").arg(tabela, ordem.join(u',')));
        q.Executa(t);
        QVector<QVariant> linha;
        while (q.Busca(linha)) {
            QStringList campos;
            for (const QVariant& v : linha)
                campos << Texto(v);
            saida << tabela + QStringLiteral(": ") + campos.join(u'|');
        }
        q.FechaCursor();
    }
    for (const QString& g : Coluna(c, t, QStringLiteral("SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS WHERE "
                                                         "COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1")))
        saida << QStringLiteral("gerador ") + g + QStringLiteral(": ") +
                     Coluna(c, t, QStringLiteral("SELECT GEN_ID(\"%1\", 0) FROM RDB$DATABASE").arg(g)).value(0);
    t.Commit();
    c.Fecha();
    return saida;
}
