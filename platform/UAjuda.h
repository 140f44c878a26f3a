#pragma once
// Context help, external programs and web addresses.
//
// Help is a folder of HTML pages "ajuda/" beside the executable, one page per help context
// ("contexto_5.html"), with "index.html" as the contents. A window carries its help context
// in the property "contextoAjuda"; F1 anywhere opens the page of the active window.

#include <QString>
#include <functional>

class QApplication;
class QWidget;

// The help folder (default: "ajuda" beside the executable); tests point it elsewhere.
QString PastaAjuda();
void DefinePastaAjuda(const QString& pasta);
// The page of a context, or the contents for context 0; empty when the page is missing.
QString PaginaAjuda(int contexto);
// Opens the page of a context in the browser (the contents when the context has none); when
// no page or no browser can show it, says "Não foi possível abrir a ajuda." and gives false.
bool AbreAjuda(int contexto);
// The help context of a window (its "contextoAjuda" property or that of a parent), 0 if none.
int ContextoAjuda(const QWidget* janela);
void DefineContextoAjuda(QWidget* janela, int contexto);
// Installs the F1 handling for the whole application.
void InstalaAjudaContextual(QApplication& app);

// Starts a program without waiting; false when it cannot be started.
bool LancaPrograma(const QString& programa);
// Opens a web address in the default browser.
bool AbreEndereco(const QString& endereco);

// Tests replace how addresses are opened (pages, web sites): the function receives the URL.
using AberturaEndereco = std::function<bool(const QString&)>;
AberturaEndereco DefineAberturaEndereco(AberturaEndereco abertura);
