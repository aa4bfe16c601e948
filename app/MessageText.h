// How a message box shows its text: as it stands, unless it holds a web address. Then it is rich
// text in which each address is a link and reads as one word: a line may break before or after an
// address, never inside it (after "https://", say).
#pragma once

#include <QString>

#include <optional>

// The text as rich text with its addresses linked, or nothing when it holds no address.
std::optional<QString> LinkedMessageText(const QString& text);
