// The template workbook as the program carries it.
#pragma once

#include <QByteArray>

// The embedded template file's exact bytes (no copy is made).
QByteArray TemplateBytes();
