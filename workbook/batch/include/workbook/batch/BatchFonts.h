// The batch's own font configuration.
#pragma once

// Makes the batch find fonts in the system's font folders and draw them as a standard desktop does
// (greyscale antialiasing, slight hinting), without reading the system's forty-odd rule files:
// reading them cost more than drawing a sheet, and a user's own rules would make the same report
// draw differently from one account to another. A FONTCONFIG_FILE or FONTCONFIG_PATH in the
// environment is respected. Must run before anything asks for a font.
void UseBatchFontConfiguration();
