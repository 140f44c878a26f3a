// Calls "ProcessaAberrometria" of a module many times without unloading it, as the navigator
// does over a working day, and ends the program with the module still loaded. Prints the
// number of calls made.

#include "modules/UModulos.h"
#include "tests/support/UExameSintetico.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3 || !LoadAberrometriaDLL(QString::fromLocal8Bit(argv[1])))
        return 2;
    const int vezes = QString::fromLatin1(argv[2]).toInt();
    const char* textos[] = {"Clínica", "Rua", "Cidade", "Telefone"};
    const zrmod::TListaTextos clinica{4, textos};
    int feitas = 0;
    for (int i = 0; i < vezes; ++i, ++feitas) {
        // Fresh copies for each call, freed after it, as the navigator does.
        auto ex = std::make_unique<ExameSintetico>(ExameSintetico::Torica(43.0, 44.0 + 0.01 * (i % 10), 30));
        AberrometriaDLL.ProcessaAberrometria(nullptr, &ex->m, &ex->d, &clinica, nullptr, 1, 350, 350, 0.0,
                                             ExameSintetico::kFator, 3.0, 3, 16, "2", &ex->aneis);
    }
    std::printf("%d\n", feitas);
    return 0;
}
