#include "workbook/batch/BatchFonts.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>

namespace {

// The folders and caches of a standard installation, bitmap fonts left out, and the rendering a
// desktop asks for: antialiased, slightly hinted, no subpixel colours, and a regular face made
// heavier where a bold one is asked for and missing.
constexpr const char* kConfiguration = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <dir>~/.fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <selectfont>
    <rejectfont><pattern><patelt name="outline"><bool>false</bool></patelt></pattern></rejectfont>
  </selectfont>
  <match target="font">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="rgba" mode="assign"><const>none</const></edit>
    <edit name="lcdfilter" mode="assign"><const>lcddefault</const></edit>
  </match>
  <match target="font">
    <test name="weight" compare="less_eq"><const>medium</const></test>
    <test target="pattern" name="weight" compare="more_eq"><const>bold</const></test>
    <edit name="embolden" mode="assign"><bool>true</bool></edit>
    <edit name="weight" mode="assign"><const>bold</const></edit>
  </match>
</fontconfig>
)";

}  // namespace

void UseBatchFontConfiguration() {
    if (std::getenv("FONTCONFIG_FILE") || std::getenv("FONTCONFIG_PATH")) return;
    FcConfig* config = FcConfigCreate();
    if (!config) return;
    // On any failure the system's own configuration is loaded as usual, when a font is first asked for.
    if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kConfiguration), FcTrue) ||
        !FcConfigSetCurrent(config)) {
        FcConfigDestroy(config);
        return;
    }
    // The current configuration holds its own reference now.
    FcConfigDestroy(config);
}
