// The failure of a host operation, with a description the caller's error box can show.
#pragma once

#include <QString>

#include <stdexcept>

namespace host {

class HostError : public std::runtime_error {
public:
    explicit HostError(const QString& description) : std::runtime_error(description.toStdString()) {}
};

}  // namespace host
