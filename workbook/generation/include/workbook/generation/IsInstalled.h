// The start-up availability check of the spreadsheet host.
#pragma once

#include <QString>

// The five-item notice shown when no host instance can be made.
QString HostMissingMessage();

// Returns when the host can be created and can open its own template; otherwise shows
// HostMissingMessage() and ends the program. Never shows an error box of its own.
void CheckExcelInstalled();
// The same check for a given programmatic identifier.
void CheckHostAvailable(const QString& programmaticId);
