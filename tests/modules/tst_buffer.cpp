// The host's memory buffer as the modules see it (through the ZrStream table) and the text
// buffers of the module interface.

#include "modules/UBufferMemoria.h"

#include <QTest>

using zrmod::ZrStream;

class TesteBuffer : public QObject {
    Q_OBJECT

private slots:
    void operacoes_data();
    void operacoes();
    void lacunaLeZeros();
    void textoCp1252_data();
    void textoCp1252();
    void leituraAceitaQuebrasDiversas_data();
    void leituraAceitaQuebrasDiversas();
    void streamNuloNaoQuebra();
    void leituraEmPartes();
};

// A script of stream operations, each followed by the expected result, the size and the
// position after it:
//   "w:abc"  write the bytes          "r:n"  read n bytes (result = bytes read, the text
//   "s:k:o"  seek k from origin o                 read is checked by the "t" column)
//   "c"      clear
void TesteBuffer::operacoes_data()
{
    QTest::addColumn<QStringList>("passos");
    QTest::addColumn<QList<qint64>>("resultados");
    QTest::addColumn<QList<qint64>>("tamanhos");
    QTest::addColumn<QList<qint64>>("posicoes");
    QTest::addColumn<QByteArray>("conteudo");

    QTest::newRow("grava e cresce") << QStringList{"w:abc", "w:de"}
                                    << QList<qint64>{3, 2} << QList<qint64>{3, 5}
                                    << QList<qint64>{3, 5} << QByteArray("abcde");
    QTest::newRow("sobrescreve no meio")
        << QStringList{"w:abcdef", "s:2:0", "w:XY"} << QList<qint64>{6, 2, 2}
        << QList<qint64>{6, 6, 6} << QList<qint64>{6, 2, 4} << QByteArray("abXYef");
    QTest::newRow("sobrescreve alem do fim")
        << QStringList{"w:abc", "s:-1:2", "w:XYZ"} << QList<qint64>{3, 2, 3}
        << QList<qint64>{3, 3, 5} << QList<qint64>{3, 2, 5} << QByteArray("abXYZ");
    QTest::newRow("leitura limitada ao fim")
        << QStringList{"w:abcd", "s:1:0", "r:10", "r:10"} << QList<qint64>{4, 1, 3, 0}
        << QList<qint64>{4, 4, 4, 4} << QList<qint64>{4, 1, 4, 4} << QByteArray("abcd");
    QTest::newRow("posicao relativa")
        << QStringList{"w:abcd", "s:-3:1", "s:1:1"} << QList<qint64>{4, 1, 2}
        << QList<qint64>{4, 4, 4} << QList<qint64>{4, 1, 2} << QByteArray("abcd");
    QTest::newRow("antes do inicio recusado")
        << QStringList{"w:abcd", "s:-5:2", "s:-1:0", "s:0:7"} << QList<qint64>{4, -1, -1, -1}
        << QList<qint64>{4, 4, 4, 4} << QList<qint64>{4, 4, 4, 4} << QByteArray("abcd");
    QTest::newRow("limpa") << QStringList{"w:abcd", "c", "w:z"} << QList<qint64>{4, 0, 1}
                           << QList<qint64>{4, 0, 1} << QList<qint64>{4, 0, 1}
                           << QByteArray("z");
    QTest::newRow("grava nada") << QStringList{"w:"} << QList<qint64>{0} << QList<qint64>{0}
                                << QList<qint64>{0} << QByteArray();
}

void TesteBuffer::operacoes()
{
    QFETCH(QStringList, passos);
    QFETCH(QList<qint64>, resultados);
    QFETCH(QList<qint64>, tamanhos);
    QFETCH(QList<qint64>, posicoes);
    QFETCH(QByteArray, conteudo);

    BufferMemoria b;
    ZrStream* s = b.Stream();
    for (int i = 0; i < passos.size(); ++i) {
        const QStringList p = passos.at(i).split(QLatin1Char(':'));
        qint64 r = 0;
        if (p.at(0) == "w") {
            const QByteArray dados = p.at(1).toLatin1();
            r = s->write(s, dados.constData(), dados.size());
        } else if (p.at(0) == "r") {
            QByteArray destino(p.at(1).toInt(), '\0');
            r = s->read(s, destino.data(), destino.size());
        } else if (p.at(0) == "s") {
            r = s->seek(s, p.at(1).toLongLong(), p.at(2).toInt());
        } else {
            s->clear(s);
        }
        QCOMPARE(r, resultados.at(i));
        QCOMPARE(qint64(s->size(s)), tamanhos.at(i));
        QCOMPARE(qint64(s->position(s)), posicoes.at(i));
    }
    QCOMPARE(b.Bytes(), conteudo);
}

void TesteBuffer::lacunaLeZeros()
{
    BufferMemoria b;
    ZrStream* s = b.Stream();
    s->write(s, "ab", 2);
    QCOMPARE(s->seek(s, 5, zrmod::ZR_DO_INICIO), int64_t(5));
    QCOMPARE(s->size(s), int64_t(2)); // a seek alone does not grow the buffer
    s->write(s, "z", 1);
    QCOMPARE(b.Bytes(), QByteArray("ab\0\0\0z", 6));
}

// Texts that cross the interface: cp1252 bytes worked out from the code page table, CR LF
// after each line.
void TesteBuffer::textoCp1252_data()
{
    QTest::addColumn<QStringList>("linhas");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("acentos") << QStringList{QStringLiteral("Clínica São João"),
                                            QStringLiteral("Médico Teste")}
                             << QByteArray("Cl\xednica S\xe3o Jo\xe3o\r\nM\xe9" "dico Teste\r\n");
    QTest::newRow("maiusculas e cedilha")
        << QStringList{QStringLiteral("AÇÃO ÚNICA ÊXITO")}
        << QByteArray("A\xc7\xc3O \xdaNICA \xcaXITO\r\n");
    QTest::newRow("simbolos do cp1252")
        << QStringList{QStringLiteral("€ – “x” º ª ½")}
        << QByteArray("\x80 \x96 \x93x\x94 \xba \xaa \xbd\r\n");
    QTest::newRow("linha vazia no meio")
        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}
        << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("nenhuma linha") << QStringList{} << QByteArray();
}

void TesteBuffer::textoCp1252()
{
    QFETCH(QStringList, linhas);
    QFETCH(QByteArray, bytes);

    // Written by a module through the table, read back by the host.
    BufferMemoria b;
    QVERIFY(GravaLinhasTexto(b.Stream(), linhas));
    QCOMPARE(b.Bytes(), bytes);
    QCOMPARE(b.Linhas(), linhas);

    // Filled by the host, read by a module through the table from any position.
    BufferMemoria h;
    h.DefineLinhas(linhas);
    QCOMPARE(h.Bytes(), bytes);
    h.Stream()->seek(h.Stream(), 0, zrmod::ZR_DO_FIM);
    QCOMPARE(LeLinhasTexto(h.Stream()), linhas);
}

void TesteBuffer::leituraAceitaQuebrasDiversas_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("linhas");

    QTest::newRow("LF") << QByteArray("um\ndois\n") << QStringList{"um", "dois"};
    QTest::newRow("CR") << QByteArray("um\rdois") << QStringList{"um", "dois"};
    QTest::newRow("sem quebra final") << QByteArray("um\r\ndois")
                                      << QStringList{"um", "dois"};
    QTest::newRow("vazio") << QByteArray() << QStringList{};
}

void TesteBuffer::leituraAceitaQuebrasDiversas()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, linhas);
    BufferMemoria b(bytes);
    QCOMPARE(b.Linhas(), linhas);
}

void TesteBuffer::streamNuloNaoQuebra()
{
    QVERIFY(LeLinhasTexto(nullptr).isEmpty());
    QVERIFY(LeBytes(nullptr).isEmpty());
    QVERIFY(!GravaLinhasTexto(nullptr, {QStringLiteral("x")}));
    // Null data pointers through the table: nothing happens.
    BufferMemoria b;
    ZrStream* s = b.Stream();
    QCOMPARE(s->write(s, nullptr, 5), int64_t(0));
    QCOMPARE(s->read(s, nullptr, 5), int64_t(0));
    QCOMPARE(s->write(s, "abc", -1), int64_t(0));
    QCOMPARE(s->size(s), int64_t(0));
}

// A buffer larger than the reading block comes back whole.
void TesteBuffer::leituraEmPartes()
{
    QByteArray grande(10000, '\0');
    for (int i = 0; i < grande.size(); ++i)
        grande[i] = char(i * 7 % 251);
    BufferMemoria b(grande);
    QCOMPARE(LeBytes(b.Stream()), grande);
    QCOMPARE(b.Posicao(), qint64(10000));
}

QTEST_GUILESS_MAIN(TesteBuffer)
#include "tst_buffer.moc"
