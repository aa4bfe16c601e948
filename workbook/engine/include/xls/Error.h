// The engine's one failure type, shared by its drawing (xlsdraw) and its Excel Workbook form
// (xlsxexport), which only add their own reasons: a description a user can read as it stands
// ("the sheet has nothing to print", "a cell's formula cannot be read"), never a crash. Whoever
// reads or writes a workbook catches it and puts the file's name in front: the host, the preview
// and the batch front end.
#pragma once

#include <stdexcept>
#include <string>

namespace xls {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace xls
