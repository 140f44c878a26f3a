#pragma once
// The toolkit's own texts (file, print and colour dialogs, context menus, standard buttons)
// in Portuguese (Brazil), from the translations Debian installs with the toolkit.

#include <QLocale>

#include <functional>

class QString;
class QWidget;

// Loads the toolkit's Portuguese translation into the running application, once per process;
// the program calls it at start-up and each module before it opens a standard dialog (a
// module may run in a host that did not). False when the translation is not installed.
bool InstalaTraducaoQt();

// Portuguese (Brazil): dates and names of the standard dialogs.
QLocale LocalePortugues();

// The save-file dialog in Portuguese (texts and dates); empty when cancelled.
QString NomeArquivoParaGravar(QWidget* pai, const QString& titulo, const QString& nome, const QString& filtro);

// The open-file dialog in Portuguese; empty when cancelled. `filtro` as the toolkit takes it
// ("Imagens (*.jpg *.bmp)").
QString NomeArquivoParaAbrir(QWidget* pai, const QString& titulo, const QString& filtro);

using EscolhaArquivo = std::function<QString(const QString& titulo, const QString& filtro)>;
// Replaces the open-file dialog (an empty function restores it); returns the previous one.
EscolhaArquivo DefineEscolhaArquivoParaAbrir(EscolhaArquivo escolha);
