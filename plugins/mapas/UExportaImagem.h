#pragma once
// Saving a map window's picture as PNG or as a landscape PDF page, with the error message the
// map windows show when the file cannot be written.
#include <QImage>
#include <QString>

bool GravaImagemPng(const QImage& imagem, const QString& arquivo);
bool GravaImagemPdf(const QImage& imagem, const QString& titulo, const QString& arquivo);
