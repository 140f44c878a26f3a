// The options and paths records as the modules receive them: every field of the program's
// records reaches the field of the same name in the C record, texts as cp1252.

#include "config/URegistrosZR.h"
#include "modules/UBufferMemoria.h"
#include "modules/URegistrosModulo.h"

#include <QTest>

#include <cstring>

namespace {
// Each text field gets a text of its own (with accents), each number a value of its own, so
// that a field filled from its neighbour shows.
QString TextoDe(const char* campo)
{
    return QString::fromLatin1(campo) + QStringLiteral(" ção");
}
QByteArray Cp1252De(const char* campo)
{
    return QByteArray(campo) + QByteArray(" \xe7\xe3o");
}

#define CAMPOS_TEXTO(X)                                                                     \
    X(TipoCone) X(MedicoAtivo) X(PacienteAtivo) X(ClinicaNome) X(ClinicaEndereco)           \
    X(ClinicaCidadeEst) X(ClinicaTelefone) X(ConectorCentral) X(ConectorLateralS)           \
    X(ConectorLateralD) X(PortaSerial) X(MapaPadraoNovoExame) X(TipoCeratometria) X(Idioma) \
    X(PassoMotorX) X(PassoMotorY) X(CorCeratPontual)
#define CAMPOS_INTEIRO(X)                                                                   \
    X(BackupAuto, 1) X(BackupPeriodo, 2) X(BackupUnidade, 3) X(BackupExames, 4)            \
    X(CameraCentral, 5) X(CameraLateral, 6) X(Brilho, 7) X(Contraste, 8) X(NumAneis, 9)    \
    X(QualidadeImagem, 10) X(TvlCentral, 11) X(TIncremento, 12) X(DelayAutoPCaptura, 13)
#define CAMPOS_REAL(X) X(FatorCorrecao, 0.0123) X(Z0, -1.5) X(IncMap, 0.25) X(IndiceConf, 70)
// Booleans in two sets: those set to true and those left false, alternating in the record.
#define CAMPOS_VERDADE(X)                                                                   \
    X(AutoAneis) X(AutoMiniMapa) X(Opt1) X(Opt3) X(ImagemCentral) X(AutoPCaptura)          \
    X(EscalaISO)
#define CAMPOS_FALSO(X)                                                                     \
    X(AutoIncMap) X(AutoExame) X(Opt2) X(SalvarImagemCaptura) X(ImagemLateral)             \
    X(ExibeGrade) X(ExibeCeratPontual)
} // namespace

class TesteRegistros : public QObject {
    Q_OBJECT

private slots:
    void infos();
    void infosTodosVerdadeiros();
    void paths();
    void textosVaziosSaoTextosVazios();
    void listaTextos_data();
    void listaTextos();
    void textoForaDoCp1252();
};

void TesteRegistros::infos()
{
    TInfosZR h;
    h.Modelo = 3;
    h.TipoCalibrador = 200;
#define X(c) h.c = TextoDe(#c);
    CAMPOS_TEXTO(X)
#undef X
#define X(c, v) h.c = v;
    CAMPOS_INTEIRO(X)
    CAMPOS_REAL(X)
#undef X
#define X(c) h.c = true;
    CAMPOS_VERDADE(X)
#undef X

    InfosZRModulo m(h);
    const zrmod::TInfosZR* c = m.Registro();
    QCOMPARE(c->Modelo, uint8_t(3));
    QCOMPARE(c->TipoCalibrador, uint8_t(200));
#define X(campo)                                                                            \
    QCOMPARE(QByteArray(c->campo), Cp1252De(#campo));                                       \
    QCOMPARE(DeTextoModulo(c->campo), TextoDe(#campo));
    CAMPOS_TEXTO(X)
#undef X
#define X(campo, v) QCOMPARE(c->campo, int32_t(v));
    CAMPOS_INTEIRO(X)
#undef X
#define X(campo, v) QCOMPARE(c->campo, double(v));
    CAMPOS_REAL(X)
#undef X
#define X(campo) QCOMPARE(c->campo, uint8_t(1));
    CAMPOS_VERDADE(X)
#undef X
#define X(campo) QCOMPARE(c->campo, uint8_t(0));
    CAMPOS_FALSO(X)
#undef X

    // The module sees the record through raw memory: the number of rings sits at byte 168 of
    // the 64-bit layout, the last text at byte 248.
    int32_t aneis = 0;
    std::memcpy(&aneis, reinterpret_cast<const char*>(c) + 168, 4);
    QCOMPARE(aneis, int32_t(9));
    const char* cor = nullptr;
    std::memcpy(&cor, reinterpret_cast<const char*>(c) + 248, sizeof cor);
    QCOMPARE(QByteArray(cor), Cp1252De("CorCeratPontual"));

    // The texts belong to the module record: changing the program's record afterwards does not
    // reach a call already prepared.
    h.ClinicaNome = QStringLiteral("outra");
    QCOMPARE(QByteArray(c->ClinicaNome), Cp1252De("ClinicaNome"));
}

// Every Boolean true is 1, not some other non-zero byte.
void TesteRegistros::infosTodosVerdadeiros()
{
    TInfosZR h;
#define X(c) h.c = true;
    CAMPOS_VERDADE(X)
    CAMPOS_FALSO(X)
#undef X
    InfosZRModulo m(h);
#define X(campo) QCOMPARE(m.Registro()->campo, uint8_t(1));
    CAMPOS_VERDADE(X)
    CAMPOS_FALSO(X)
#undef X
}

void TesteRegistros::paths()
{
    TPathsZR h;
#define CAMPOS_PATHS(X)                                                                     \
    X(DirZR) X(BancoDados) X(Exames) X(Exemplos) X(Laudos) X(Digitalizacao)                 \
    X(Processamento) X(ModuloBackup) X(DirMapas) X(DigitalizacaoOrto) X(ProcessamentoOrto)  \
    X(Calibracao)
#define X(c) h.c = TextoDe(#c);
    CAMPOS_PATHS(X)
#undef X
    PathsZRModulo m(h);
#define X(campo) QCOMPARE(QByteArray(m.Registro()->campo), Cp1252De(#campo));
    CAMPOS_PATHS(X)
#undef X
    // Twelve texts one after the other.
    const char* const* textos = reinterpret_cast<const char* const*>(m.Registro());
    QCOMPARE(QByteArray(textos[0]), Cp1252De("DirZR"));
    QCOMPARE(QByteArray(textos[11]), Cp1252De("Calibracao"));
}

// A module may read every text without testing for null.
void TesteRegistros::textosVaziosSaoTextosVazios()
{
    InfosZRModulo i{TInfosZR()};
    QVERIFY(i.Registro()->TipoCone != nullptr);
    QCOMPARE(i.Registro()->TipoCone[0], '\0');
    QVERIFY(i.Registro()->CorCeratPontual != nullptr);
    QCOMPARE(DeTextoModulo(nullptr), QString());
    PathsZRModulo p{TPathsZR()};
    QVERIFY(p.Registro()->Calibracao != nullptr);
    QCOMPARE(p.Registro()->DirZR[0], '\0');
}

void TesteRegistros::listaTextos_data()
{
    QTest::addColumn<QStringList>("textos");
    QTest::addColumn<QList<QByteArray>>("bytes");
    QTest::newRow("clinica") << QStringList{QStringLiteral("Clínica Visão"),
                                            QStringLiteral("Rua das Acácias, 10"),
                                            QStringLiteral("São Paulo - SP"),
                                            QStringLiteral("(11) 5555-0000")}
                             << QList<QByteArray>{"Cl\xednica Vis\xe3o", "Rua das Ac\xe1" "cias, 10",
                                                  "S\xe3o Paulo - SP", "(11) 5555-0000"};
    QTest::newRow("vazia") << QStringList{} << QList<QByteArray>{};
    QTest::newRow("textos vazios") << QStringList{QString(), QString()}
                                   << QList<QByteArray>{"", ""};
}

void TesteRegistros::listaTextos()
{
    QFETCH(QStringList, textos);
    QFETCH(QList<QByteArray>, bytes);
    ListaTextosModulo l(textos);
    QCOMPARE(l.Lista()->count, int32_t(bytes.size()));
    for (int i = 0; i < bytes.size(); ++i)
        QCOMPARE(QByteArray(l.Lista()->items[i]), bytes.at(i));
}

// A character the code page does not have cannot cross; it does not cut the text short.
void TesteRegistros::textoForaDoCp1252()
{
    TextoModulo t(QStringLiteral("Ωmega fim"));
    const QByteArray b(t.c_str());
    QVERIFY(b.endsWith("mega fim"));
    QCOMPARE(b.size(), qsizetype(9));
}

QTEST_GUILESS_MAIN(TesteRegistros)
#include "tst_registros.moc"
