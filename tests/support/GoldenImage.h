// Pictures drawn by us and checked in: compared with a tolerance, rewritten on request
// (BRINDLEMOOR_UPDATE_GOLDEN=1). Fonts are pinned by the files the renderer registers, so a golden
// picture only changes when the drawing does; a few pixels may still differ slightly between machines.
#pragma once

#include <QImage>
#include <QString>

// Share of pixels whose channels differ by more than `tolerance`.
double DifferingShare(const QImage& a, const QImage& b, int tolerance);

// Writes the picture as the golden one when asked to (true), else false.
bool UpdateGoldenRequested(const QImage& drawn, const QString& goldenPath);

// Empty when the picture matches the golden one within the usual tolerance, else what differs.
QString GoldenMismatch(const QImage& drawn, const QString& goldenPath);
