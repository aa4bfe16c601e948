// Keys a JSON object gives more than once. The JSON reader keeps only the last of them, so they
// are found in the text itself.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// The reports of JSON text that has been read as valid (the document when it is an object, each
// element when it is an array), each with the first key it gives a second time, in the order of
// the reports; nullopt for a report that repeats no key or is not an object. Keys are compared as
// the reader decodes them, so "a" and "\u0061" are the same key.
std::vector<std::optional<QString>> FirstRepeatedKeys(QByteArrayView json);
