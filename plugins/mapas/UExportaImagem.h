#pragma once
// Saving a map window's picture as PNG or as a landscape PDF page, or printing it, with the
// error message the map windows show when the file or the printer fails.
#include <QImage>
#include <QString>

class QWidget;

bool GravaImagemPng(const QImage& imagem, const QString& arquivo);
bool GravaImagemPdf(const QImage& imagem, const QString& titulo, const QString& arquivo);
// The print dialog over pai, then the picture on a landscape page; erro is said when the
// printer cannot be used.
void ImprimeImagem(QWidget* pai, const QImage& imagem, const QString& erro);
