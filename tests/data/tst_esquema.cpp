// The database as the installer builds it: tables, column types and sizes, keys, generators,
// procedures and their parameters, database settings, the report phrase library, the
// script splitter, and the installation step that never replaces a database.

#include "data/UDMPrincipal.h"
#include "data/UEsquemaBD.h"
#include "install/UInstalacao.h"
#include "platform/UMensagens.h"
#include "tests/support/UBancoTeste.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {
// Reads the first row of a query on the data module's executor.
ConsultaBD& Consulta(TDMPrincipal& dm, const QString& sql,
                     const QList<QPair<QString, QVariant>>& params = {})
{
    ConsultaBD& op = *dm.IBOperation;
    op.Fecha();
    op.DefineSQL(sql);
    for (const auto& p : params)
        op.DefineParametro(p.first, p.second);
    op.Abre();
    return op;
}
} // namespace

class TesteEsquema : public QObject {
    Q_OBJECT
    BancoTeste* m_banco = nullptr;
    TDMPrincipal& DM() { return m_banco->DM(); }

private slots:
    void initTestCase()
    {
        m_banco = new BancoTeste;
        QVERIFY(m_banco->Valido());
    }
    void cleanupTestCase() { delete m_banco; }

    void divideScript_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("comandos");
        QTest::newRow("simples") << "SET SQL DIALECT 3;\ncreate table a (x integer);\nCOMMIT;"
                                 << QStringList{"create table a (x integer)", "COMMIT"};
        QTest::newRow("set term")
            << "SET TERM ^ ;\nCREATE PROCEDURE P AS BEGIN x = 1; y = 2; END^\nSET TERM ; ^\nCOMMIT;"
            << QStringList{"CREATE PROCEDURE P AS BEGIN x = 1; y = 2; END", "COMMIT"};
        QTest::newRow("ponto e vírgula entre aspas")
            << "insert into t values ('a;b', 'it''s; ok');"
            << QStringList{"insert into t values ('a;b', 'it''s; ok')"};
        QTest::newRow("comentários") << "/* a; b */ select 1 from x; -- c; d\nselect 2 from y;"
                                     << QStringList{"select 1 from x", "select 2 from y"};
        QTest::newRow("sem terminador final") << "select 1 from x"
                                              << QStringList{"select 1 from x"};
    }

    void divideScript()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, comandos);
        QCOMPARE(EsquemaBD::DivideScript(script), comandos);
    }

    // Every column with its type, size and whether it is required.
    void colunas_data()
    {
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<QString>("colunas");  // NAME:type[size][!] in column order
        QTest::newRow("PACIENTES")
            << "PACIENTES"
            << "CODIGO:I! CODMEDICO:I! NOME:V50 RG:V15 CPF:V11 SEXO:V1 ESTADOCIVIL:V1 CONJUGE:V25 "
               "DATANASCIMENTO:V10 NATURALIDADE:V40 NATURALIDADEESTADO:V2 PAI:V50 MAE:V50 RUA:V40 "
               "COMPLEMENTO:V25 BAIRRO:V30 CIDADE:V40 ESTADO:V2 CEP:V9 FONE:V11 CELULAR:V11 "
               "CONVENIO:V50 PROFISSAO:V40 ENCAMINHADO:V40 TIPOSANG:V3 DTCADASTRO:D "
               "ULTIMOEXAME:V50 TOTALEXAMES:I";
        QTest::newRow("MEDICOS")
            << "MEDICOS"
            << "CODIGO:I! NOME:V50 RG:V15 CPF:V11 CRM:V15 SEXO:V1 ESTADOCIVIL:V1 CONJUGE:V25 "
               "DATANASCIMENTO:V10 NATURALIDADE:V40 NATURALIDADEESTADO:V2 PAI:V50 MAE:V50 RUA:V40 "
               "COMPLEMENTO:V25 BAIRRO:V30 CIDADE:V40 ESTADO:V2 CEP:V9 FONE:V11 CELULAR:V11";
        QTest::newRow("EXAMES")
            << "EXAMES"
            << "CODIGO:I! CODPACIENTE:I! CODRESP:I! DATA:D HORA:H OLHO:V2 TIPOEXAME:V5 "
               "BACKUP:V10 DIAG:V240 OBSERVACAO:V240 INDCONF:R NUMANEL:I TIPOCONE:V5";
        QTest::newRow("EXAMESORTO") << "EXAMESORTO" << "CODEXAME:I DIV:R EXC:R RAIO:R SAG:R";
        QTest::newRow("ARQUIVOS") << "ARQUIVOS" << "CODIGO_EXAMES:I IMAGEM_CENTRAL:B IMAGEM_LATERAL:B";
        QTest::newRow("LAUDOS") << "LAUDOS"
                                << "CODIGO:I! CODPACIENTE:I! MEDIDAOD:I MEDIDAOS:I BACKUP:V10 DATA:D HORA:H";
        QTest::newRow("LAUDOSTEXTO") << "LAUDOSTEXTO" << "CODIGO:I! LOCAL:V2 POSCAIXA:I TEXTO:V250";
    }

    void colunas()
    {
        QFETCH(QString, tabela);
        QFETCH(QString, colunas);
        ConsultaBD& op = Consulta(
            DM(),
            "select trim(rf.RDB$FIELD_NAME) as NOME, f.RDB$FIELD_TYPE as TIPO, "
            "f.RDB$CHARACTER_LENGTH as TAM, coalesce(rf.RDB$NULL_FLAG, 0) as OBRIG, "
            "f.RDB$FIELD_SUB_TYPE as SUB, f.RDB$CHARACTER_SET_ID as CS "
            "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
            "where rf.RDB$RELATION_NAME = :Tabela order by rf.RDB$FIELD_POSITION",
            {{"Tabela", tabela}});
        QStringList obtidas;
        for (; !op.Eof(); op.Proximo()) {
            QString tipo;
            switch (op.Inteiro("TIPO")) {
            case 8: tipo = "I"; break;
            case 27: tipo = "R"; break;
            case 37: tipo = "V" + QString::number(op.Inteiro("TAM")); break;
            case 12: tipo = "D"; break;
            case 13: tipo = "H"; break;
            case 261: tipo = op.Inteiro("SUB") == 0 ? "B" : "BT"; break;
            default: tipo = "?" + QString::number(op.Inteiro("TIPO"));
            }
            // Text columns use the database's default character set, WIN1252 (id 53).
            if (tipo.startsWith('V'))
                QCOMPARE(op.Inteiro("CS"), 53);
            obtidas << op.Texto("NOME") + ":" + tipo + (op.Inteiro("OBRIG") ? "!" : "");
        }
        QCOMPARE(obtidas.join(' '), colunas);
    }

    void indices_data()
    {
        QTest::addColumn<QString>("indice");
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<QString>("coluna");
        QTest::addColumn<bool>("unico");
        QTest::newRow("pk pacientes") << "PK_CODIGOPACIENTES" << "PACIENTES" << "CODIGO" << true;
        QTest::newRow("pk medicos") << "PK_CODIGOMEDICOS" << "MEDICOS" << "CODIGO" << true;
        QTest::newRow("pk exames") << "PK_CODIGOEXAMES" << "EXAMES" << "CODIGO" << true;
        QTest::newRow("pk laudos") << "PK_CODIGOLAUDOS" << "LAUDOS" << "CODIGO" << true;
        QTest::newRow("pk laudostexto") << "PK_CODIGOLAUDOSTEXTO" << "LAUDOSTEXTO" << "CODIGO" << true;
        QTest::newRow("fk exames paciente") << "FK_EXAMES_CODPACIENTE" << "EXAMES" << "CODPACIENTE" << false;
        QTest::newRow("fk exames resp") << "FK_EXAMES_CODRESP" << "EXAMES" << "CODRESP" << false;
        QTest::newRow("fk laudos paciente") << "FK_LAUDOS_CODPACIENTE" << "LAUDOS" << "CODPACIENTE" << false;
    }

    void indices()
    {
        QFETCH(QString, indice);
        QFETCH(QString, tabela);
        QFETCH(QString, coluna);
        QFETCH(bool, unico);
        ConsultaBD& op = Consulta(
            DM(),
            "select trim(i.RDB$RELATION_NAME) as TABELA, trim(s.RDB$FIELD_NAME) as COLUNA, "
            "coalesce(i.RDB$UNIQUE_FLAG, 0) as UNICO from RDB$INDICES i "
            "join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
            "where i.RDB$INDEX_NAME = :Indice",
            {{"Indice", indice}});
        QVERIFY2(!op.Vazia(), qPrintable(indice));
        QCOMPARE(op.Texto("TABELA"), tabela);
        QCOMPARE(op.Texto("COLUNA"), coluna);
        QCOMPARE(op.Inteiro("UNICO") != 0, unico);
    }

    void geradoresComecamEmZero()
    {
        for (const char* g : {"CODIGO_MEDICOS", "CODIGO_PACIENTES", "CODIGO_EXAMES", "CODIGO_LAUDOS"}) {
            ConsultaBD& op = Consulta(
                DM(), QStringLiteral("select count(*) from RDB$GENERATORS where RDB$GENERATOR_NAME = :G"),
                {{"G", QString::fromLatin1(g)}});
            QCOMPARE(op.Inteiro("COUNT"), 1);
            Consulta(DM(), QStringLiteral("select gen_id(%1, 0) as V from RDB$DATABASE").arg(g));
            QCOMPARE(DM().IBOperation->Inteiro("V"), 0);
        }
    }

    void procedimentos_data()
    {
        QTest::addColumn<QString>("procedimento");
        QTest::addColumn<QString>("parametros");
        const QString medico = "NOME RG CPF CRM SEXO ESTADOCIVIL CONJUGE DATANASCIMENTO NATURALIDADE "
                               "NATURALIDADEESTADO PAI MAE RUA COMPLEMENTO BAIRRO CIDADE ESTADO CEP FONE CELULAR";
        const QString paciente = "NOME RG CPF SEXO ESTADOCIVIL CONJUGE DATANASCIMENTO NATURALIDADE "
                                 "NATURALIDADEESTADO PAI MAE RUA COMPLEMENTO BAIRRO CIDADE ESTADO CEP FONE "
                                 "CELULAR CONVENIO PROFISSAO TIPOSANG";
        QTest::newRow("InsertMedicos") << "INSERTMEDICOS" << medico;
        QTest::newRow("UpdateMedicosByCodigo") << "UPDATEMEDICOSBYCODIGO" << "CODIGO " + medico;
        QTest::newRow("DeleteMedicosByCodigo") << "DELETEMEDICOSBYCODIGO" << "CODIGO";
        QTest::newRow("InsertPacientes") << "INSERTPACIENTES" << paciente + " DTCADASTRO TOTALEXAMES";
        QTest::newRow("UpdatePacientesByCodigo") << "UPDATEPACIENTESBYCODIGO" << "CODIGO " + paciente;
        QTest::newRow("DeletePacientesByCodigo") << "DELETEPACIENTESBYCODIGO" << "CODIGO";
        QTest::newRow("UpdateExamesPacientesByCodigo") << "UPDATEEXAMESPACIENTESBYCODIGO"
                                                       << "CODIGO ULTIMOEXAME TOTALEXAMES";
        QTest::newRow("InsertExames") << "INSERTEXAMES"
                                      << "CODPACIENTE CODRESP DATA HORA OLHO INDCONF TIPOEXAME BACKUP "
                                         "DIAG OBSERVACAO NUMANEIS TIPOCONE";
        QTest::newRow("InsertExamesOrto") << "INSERTEXAMESORTO" << "ECODEXAME EDIV EEXC ERAIO ESAG";
        QTest::newRow("UpdateBackupExameByCodigo") << "UPDATEBACKUPEXAMEBYCODIGO" << "CODIGO BACKUP";
        QTest::newRow("ZeraBackupExames") << "ZERABACKUPEXAMES" << "";
        QTest::newRow("UpdateDiagExameByCodigo") << "UPDATEDIAGEXAMEBYCODIGO" << "CODIGO DIAG";
        QTest::newRow("UpdateObsExameByCodigo") << "UPDATEOBSEXAMEBYCODIGO" << "CODIGO OBS";
        QTest::newRow("UpdateTipoConeByCodigo") << "UPDATETIPOCONEBYCODIGO" << "CODIGO TIPOCONE";
        QTest::newRow("DeleteExamesByCodigo") << "DELETEEXAMESBYCODIGO" << "CODIGO";
        QTest::newRow("DeleteExamesOrtoByCodigoExame") << "DELETEEXAMESORTOBYCODIGOEXAME" << "CODEXAME";
        QTest::newRow("InsertArquivos") << "INSERTARQUIVOS" << "CODIGO_EXAMES IMAGEM_CENTRAL IMAGEM_LATERAL";
        QTest::newRow("InsertLaudos") << "INSERTLAUDOS" << "CODPACIENTE MEDIDAOD MEDIDAOS BACKUP DATA HORA";
        QTest::newRow("UpdateBackupLaudoByCodigo") << "UPDATEBACKUPLAUDOBYCODIGO" << "CODIGO BACKUP";
        QTest::newRow("ZeraBackupLaudos") << "ZERABACKUPLAUDOS" << "";
        QTest::newRow("DeleteLaudosByCodigo") << "DELETELAUDOSBYCODIGO" << "CODIGO";
    }

    void procedimentos()
    {
        QFETCH(QString, procedimento);
        QFETCH(QString, parametros);
        ConsultaBD& existe = Consulta(
            DM(), "select count(*) from RDB$PROCEDURES where RDB$PROCEDURE_NAME = :P",
            {{"P", procedimento}});
        QCOMPARE(existe.Inteiro("COUNT"), 1);
        ConsultaBD& op = Consulta(
            DM(),
            "select trim(RDB$PARAMETER_NAME) as NOME from RDB$PROCEDURE_PARAMETERS "
            "where RDB$PROCEDURE_NAME = :P and RDB$PARAMETER_TYPE = 0 order by RDB$PARAMETER_NUMBER",
            {{"P", procedimento}});
        QStringList nomes;
        for (; !op.Eof(); op.Proximo())
            nomes << op.Texto("NOME");
        QCOMPARE(nomes.join(' '), parametros);
    }

    void banco_dialeto_conjunto_dono_escritaSincrona()
    {
        ConsultaBD& op = Consulta(
            DM(), "select m.MON$SQL_DIALECT as DIALETO, trim(m.MON$OWNER) as DONO, "
                  "m.MON$FORCED_WRITES as SINCRONA, trim(d.RDB$CHARACTER_SET_NAME) as CONJUNTO "
                  "from MON$DATABASE m cross join RDB$DATABASE d");
        QCOMPARE(op.Inteiro("DIALETO"), 3);
        QCOMPARE(op.Texto("DONO"), QStringLiteral("SYSDBA"));
        QCOMPARE(op.Inteiro("SINCRONA"), 1);
        QCOMPARE(op.Texto("CONJUNTO"), QStringLiteral("WIN1252"));
    }

    // The phrase library: groups per box, a blank choice in each, and the phrases the
    // findings sentences need in the right slots.
    void bibliotecaDeFrases_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<int>("grupos");
        QTest::newRow("condições do exame") << "CE" << 3;
        QTest::newRow("olhos") << "DS" << 7;
        QTest::newRow("conclusão") << "CO" << 16;
    }

    void bibliotecaDeFrases()
    {
        QFETCH(QString, local);
        QFETCH(int, grupos);
        ConsultaBD& op = Consulta(
            DM(),
            "select POSCAIXA, count(*) as N, sum(case when TEXTO = '' then 1 else 0 end) as BRANCOS "
            "from LAUDOSTEXTO where LOCAL = :Local group by POSCAIXA order by POSCAIXA",
            {{"Local", local}});
        int g = 0;
        for (; !op.Eof(); op.Proximo()) {
            ++g;
            QCOMPARE(op.Inteiro("POSCAIXA"), g);
            QCOMPARE(op.Inteiro("BRANCOS"), 1);
            QVERIFY2(op.Inteiro("N") >= 3, qPrintable(QString("%1 grupo %2").arg(local).arg(g)));
        }
        QCOMPARE(g, grupos);
    }

    void frasesNasLacunasCertas_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<int>("lacuna");
        QTest::addColumn<QStringList>("frases");
        const QStringList intensidade{"leve", "moderado", "acentuado"};
        const QStringList orientacao{"a favor da regra", "contra a regra", "oblíquo"};
        const QStringList simetria{"simétrico", "assimétrico"};
        QTest::newRow("olho simetria") << "DS" << 2 << simetria;
        QTest::newRow("olho intensidade") << "DS" << 3 << intensidade;
        QTest::newRow("olho orientação") << "DS" << 4 << orientacao;
        QTest::newRow("conclusão OD simetria") << "CO" << 2 << simetria;
        QTest::newRow("conclusão OD intensidade") << "CO" << 3 << intensidade;
        QTest::newRow("conclusão OD orientação") << "CO" << 4 << orientacao;
        QTest::newRow("conclusão OS simetria") << "CO" << 8 << simetria;
        QTest::newRow("conclusão OS intensidade") << "CO" << 9 << intensidade;
        QTest::newRow("conclusão OS orientação") << "CO" << 10 << orientacao;
        QTest::newRow("conclusão OD ceratocone") << "CO" << 6 << QStringList{"com suspeita de ceratocone"};
        QTest::newRow("conclusão OS ceratocone") << "CO" << 12 << QStringList{"com suspeita de ceratocone"};
        QTest::newRow("conclusão achado") << "CO" << 14 << QStringList{"ceratocone"};
        QTest::newRow("conclusão olho do achado") << "CO" << 15 << QStringList{" em OD", " em OS"};
    }

    void frasesNasLacunasCertas()
    {
        QFETCH(QString, local);
        QFETCH(int, lacuna);
        QFETCH(QStringList, frases);
        for (const QString& frase : frases) {
            ConsultaBD& op = Consulta(
                DM(), "select count(*) from LAUDOSTEXTO where LOCAL = :L and POSCAIXA = :P and TEXTO = :T",
                {{"L", local}, {"P", lacuna}, {"T", frase}});
            QVERIFY2(op.Inteiro("COUNT") == 1, qPrintable(frase));
        }
    }

    // The installation keeps an existing database as it is, only giving it the indices of
    // a newer version it lacks; creating over it is refused.
    void instalacaoNaoSubstituiBanco()
    {
        BancoTeste banco;
        QVERIFY(banco.Valido());
        ConsultaBD& op = *banco.DM().IBOperation;
        op.DefineSQL("insert into LAUDOSTEXTO (CODIGO, LOCAL, POSCAIXA, TEXTO) values (9999, 'XX', 1, 'marca')");
        op.Executa();
        banco.DM().PCommitDataBase();
        op.DefineSQL("drop index IDX_PACIENTES_NOME_MAIUSCULO");
        op.Executa();
        banco.DM().PCommitDataBase();
        banco.DM().PDesconectionDataBase();

        const QStringList relatorio = Instalacao::Instala(banco.Instalacao().Raiz());
        QVERIFY(relatorio.contains("banco de dados mantido: " + banco.Arquivo() +
                                   " (índices criados: IDX_PACIENTES_NOME_MAIUSCULO)"));
        QVERIFY(Instalacao::Instala(banco.Instalacao().Raiz()).contains("banco de dados mantido: " + banco.Arquivo()));
        QVERIFY_THROWS_EXCEPTION(ErroES, EsquemaBD::CriaBancoDados(banco.Arquivo()));

        QVERIFY(banco.DM().PSetDataBaseName(banco.Arquivo()));
        QCOMPARE(Consulta(banco.DM(), "select count(*) from LAUDOSTEXTO where CODIGO = 9999").Inteiro("COUNT"), 1);
        QCOMPARE(Consulta(banco.DM(), "select count(*) from RDB$INDICES where RDB$INDEX_NAME = "
                                      "'IDX_PACIENTES_NOME_MAIUSCULO'").Inteiro("COUNT"), 1);
    }

    void criacaoEmPastaInexistenteNaoDeixaArquivo()
    {
        const QString arquivo = m_banco->Instalacao().Raiz() + "/nao/existe/DATABASE.GDB";
        QVERIFY_THROWS_EXCEPTION(ErroBancoDados, EsquemaBD::CriaBancoDados(arquivo));
        QVERIFY(!QFileInfo::exists(arquivo));
    }

    // The database file is an ordinary Firebird database: isql reads it.
    void isqlLeOBanco()
    {
        const QString isql = QStandardPaths::findExecutable("isql-fb");
        if (isql.isEmpty())
            QSKIP("isql-fb não está instalado");
        BancoTeste banco;
        QVERIFY(banco.Valido());
        const int frases = Consulta(banco.DM(), "select count(*) from LAUDOSTEXTO").Inteiro("COUNT");
        banco.DM().PDesconectionDataBase();
        QProcess p;
        p.start(isql, {"-q", "-user", "SYSDBA", "-password", "qwzk47", banco.Arquivo()});
        QVERIFY(p.waitForStarted());
        p.write("select 'N=' || count(*) from LAUDOSTEXTO;\n");
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        const QString saida = QString::fromLocal8Bit(p.readAllStandardOutput());
        QVERIFY2(saida.contains(QString("N=%1").arg(frases)), qPrintable(saida));
        QVERIFY(frases > 0);
    }
};

QTEST_GUILESS_MAIN(TesteEsquema)
#include "tst_esquema.moc"
