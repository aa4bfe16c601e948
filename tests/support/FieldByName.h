// An entry field found the way a user's tools find it: by its control name.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <stdexcept>
#include <string>

inline QLineEdit* Field(const QWidget& window, const QString& name) {
    auto* field = window.findChild<QLineEdit*>(name);
    if (!field) throw std::runtime_error("no text field named " + name.toStdString());
    return field;
}

inline QLineEdit* Field(const QWidget& window, const char* name) { return Field(window, QString::fromLatin1(name)); }
