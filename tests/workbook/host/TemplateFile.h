// The embedded template written out for a test to open, as the generation run does.
#pragma once

#include <QString>

// Writes the template's bytes to "template.xlt" in folder and returns the path.
QString WriteTemplateFile(const QString& folder);
