// Pictures of the lens fitting and aberrometry windows for docs/telas/lentes and
// docs/telas/aberrometria (not run by CTest): the simulator's model corneas, each over its
// rendered central image.
//
//   telas_lentes_aberrometria <pasta>

#include "plugins/aberrometria/UfrmAberrometria.h"
#include "plugins/instrumento/UCasosModelo.h"
#include "plugins/lentes/UfrmLente.h"
#include "tests/support/UExameSintetico.h"

#include <QApplication>
#include <QDir>

#include <cmath>
#include <cstdio>

namespace {

struct Caso {
    Instrumento::CasoModelo modelo;
    ExameSintetico exame;
    QImage central;
};

Caso Carrega(const QString& nome)
{
    Instrumento::CasoModelo m;
    Instrumento::CasoPorNome(nome, m);
    const Instrumento::ModeloCornea c = m.cornea;
    ExameSintetico ex([&](double r, double eixo) {
        const double a = eixo * M_PI / 180.0;
        return c.PotenciaAxial(r * std::cos(a), r * std::sin(a));
    });
    ex.centroX = m.captura.centroX;
    ex.centroY = m.captura.centroY;
    const QImage img = Instrumento::RenderizaCentral(c, Instrumento::ConePlacido(16), m.captura);
    return {m, ex, img};
}

QStringList Cabecalho(const QString& nome)
{
    return {nome, QStringLiteral("00001"), QStringLiteral("Exemplo"), QStringLiteral("01/01/01"),
            QStringLiteral("00:00:00"), QStringLiteral("Médico Teste")};
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir pasta(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QDir().mkpath(pasta.filePath(QStringLiteral("lentes")));
    QDir().mkpath(pasta.filePath(QStringLiteral("aberrometria")));
    {
        const Caso c = Carrega(QStringLiteral("Normal02"));
        TfrmLente frm(ConfereExame(&c.exame.m, &c.exame.d, &c.exame.aneis, ExameSintetico::kFator), c.central,
                      c.exame.centroX, c.exame.centroY, Cabecalho(QStringLiteral("Normal02")), {});
        frm.show();
        // The aligned lens nearest flat K, and 0.15 mm steeper and flatter.
        ParametrosLente base = frm.Lente();
        for (double bc = base.raioBase; bc < base.raioBase + 0.5; bc += 0.05) {
            ParametrosLente p = base;
            p.raioBase = std::round(bc / 0.05) * 0.05;
            frm.DefineLente(p);
            if (frm.Resultado().ajuste == QLatin1String("alinhada")) {
                base = p;
                break;
            }
        }
        for (auto [nome, delta] : {std::pair{"alinhada", 0.0}, std::pair{"apertada", -0.15}, std::pair{"plana", 0.15}}) {
            ParametrosLente p = base;
            p.raioBase = std::round((base.raioBase + delta) / 0.05) * 0.05;
            frm.DefineLente(p);
            frm.grab().save(pasta.filePath(QStringLiteral("lentes/normal02_%1.png").arg(QLatin1String(nome))));
            std::printf("%s: %s\n", nome, qPrintable(frm.Resultado().ajuste));
        }
    }
    {
        const Caso c = Carrega(QStringLiteral("Regular02"));
        TfrmLente frm(ConfereExame(&c.exame.m, &c.exame.d, &c.exame.aneis, ExameSintetico::kFator), c.central,
                      c.exame.centroX, c.exame.centroY, Cabecalho(QStringLiteral("Regular02")), {});
        frm.show();
        frm.grab().save(pasta.filePath(QStringLiteral("lentes/regular02_faixa.png")));
        TfrmLente semImagem(ConfereExame(&c.exame.m, &c.exame.d, &c.exame.aneis, ExameSintetico::kFator), QImage(),
                            c.exame.centroX, c.exame.centroY, Cabecalho(QStringLiteral("Regular02")), {});
        semImagem.show();
        semImagem.grab().save(pasta.filePath(QStringLiteral("lentes/regular02_olho_esquematico.png")));
    }
    for (const QString& nome : {QStringLiteral("Irregular01"), QStringLiteral("Central02")}) {
        const Caso c = Carrega(nome);
        DadosAberrometria d;
        d.clinica = {QStringLiteral("Clínica de Olhos Exemplo"), QStringLiteral("Rua das Flores, 100"),
                     QStringLiteral("Recife - PE"), QStringLiteral("(81) 3333-0000")};
        d.cabecalho = Cabecalho(nome);
        d.modelo = 3;
        d.numAneis = 16;
        d.tipoCone = QStringLiteral("1");
        TfrmAberrometria frm(ConfereExame(&c.exame.m, &c.exame.d, &c.exame.aneis, ExameSintetico::kFator), d);
        frm.show();
        frm.grab().save(pasta.filePath(QStringLiteral("aberrometria/%1.png").arg(nome.toLower())));
    }
    return 0;
}
