// Application-wide services: title, skin and colours, painting freeze, pointer kinds, program end.
#pragma once

#include <QString>

#include <functional>

class QIcon;
class QWidget;

inline const QString kProductName = QStringLiteral("Brindlemoor");

// Pointer kinds as the described platform numbers them.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;
inline constexpr int kPointerCustom = 99;

// The application title: the product name cut at its last space while it holds one and is too long.
QString TruncatedTitle(const QString& productName);
void SetAppTitle();
QString AppTitle();

// The product's own icon, as the desktop entry shows it.
QIcon ApplicationIcon();

// Colours (and, when the skin file exists, the skin) of the entry window and the preview window.
void ApplyMainSkin(QWidget* entryWindow);
// Whether ApplyMainSkin finds a skin file to apply.
bool HasSkinFile();
void ApplyFormColours(QWidget* window);

// Stops the window from repainting; a null window resumes painting of the frozen one.
void LockWindowUpdate(QWidget* window);

// Ends the program at once, running no close handling of other windows. Tests may replace it.
void EndProgram();
void SetEndProgramHandler(std::function<void()> handler);

// True once EndProgram ran: a start-up that ends during the load shows no window.
bool ProgramEndRequested();
