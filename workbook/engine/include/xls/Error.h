// Failures of the engine: a clear description for the user, never a crash.
#pragma once

#include <stdexcept>
#include <string>

namespace xls {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace xls
