// Obtaining and giving up the host instance of a generation run, and the locale's decimal separator.
#pragma once

#include "workbook/host/Application.h"

#include <QString>

#include <memory>

// The host instance of the current generation run; empty outside a run.
extern std::shared_ptr<host::Application> xlApp;

// xlApp := a new host instance.
void CreateExcel();
// Drops xlApp without quitting it.
void ReleaseExcel();

// The default locale's decimal separator (one character).
QString GetDecimalSeparator();
// towardsPoint: the locale separator becomes "."; otherwise both "." and "," become the locale separator.
QString ConvertDecimalSeparator(const QString& text, bool towardsPoint);
