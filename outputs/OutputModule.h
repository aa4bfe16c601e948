// The output module, found and loaded on the first call that needs it, once per process.
#pragma once

#include "OutputFunctions.h"

#include <stdexcept>

// The module is not where the program looks for it, does not load, or is of another build: its
// message names the file and where it was looked for, or why it did not load.
class OutputModuleMissing : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws OutputModuleMissing, on every call, when the module cannot be used.
const OutputFunctions& LoadedOutputFunctions();
