#pragma once
// What the single-window modules (lens fitting, aberrometry) share: printing and exporting
// a window's picture, and showing the window modally or, in batch mode, leaving its picture
// and text in ZR_MODULOS_SAIDA.

#include "plugins/mapas/UExportaImagem.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;

// Asks for a file name and saves the picture as PNG or PDF (extensao "png" or "pdf").
void ExportaImagem(QWidget* pai, const QImage& imagem, const QString& nome, const QString& extensao);

// A button of the window's row, named (objectName) and never taking Enter by default.
QPushButton* BotaoJanela(const char* nome, const QString& texto, QWidget* pai);
// Adds to the row the buttons "Imprimir", "PNG" and "PDF" (btnImprimir, btnPng, btnPdf) acting
// on imagem(): printed, with erroImpressao when the printer cannot be used, or saved under a
// file name asked for, nome proposed.
void AdicionaBotoesImagem(QWidget* janela, QBoxLayout* linha, const QString& nome, const QString& erroImpressao,
                          const std::function<QImage()>& imagem);

// Shows frm modally, with the message boxes of Qt; with ZR_MODULOS_AUTOMATICO=1 shows and
// closes it at once, writing <nome>.png (imagem()) and <nome>.txt (resumo()) when
// ZR_MODULOS_SAIDA names a folder. onde names the entry in error reports.
void ExecutaJanelaModulo(QDialog& frm, const char* onde, const QString& nome,
                         const std::function<QImage()>& imagem, const std::function<QStringList()>& resumo);
