// Every layer fails with one type of its own, declared in one header that says what it carries
// and who catches it. A standard exception thrown anywhere else reaches the user's box with
// whatever text it happened to be given, and catching one swallows every layer's failures alike.
#include "support/ProgramSources.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

namespace {

// Each layer's failure type, by the header that declares it.
const std::map<std::string, std::string> kFailureTypes = {
    {"workbook/engine/include/xls/Error.h", "Error"},             // also the drawing and the Excel Workbook form
    {"workbook/include/workbook/host/HostError.h", "HostError"},  // also the generation run and the snapshot
    {"app/include/app/AppError.h", "AppError"},
    {"receipts/include/receipts/ReceiptError.h", "ReceiptError"},
    {"report/ReportError.h", "ReportError"},
    {"preview/PreviewError.h", "PreviewError"},
    {"workbook/batch/include/workbook/batch/BatchExit.h", "BatchFailure"},
};

const char* const kStandardFailures[] = {
    "throw std::",       "std::runtime_error", "std::logic_error", "std::invalid_argument", "std::out_of_range",
    "std::domain_error", "std::length_error",  "std::range_error", "std::overflow_error",   "std::underflow_error"};

}  // namespace

TEST(FailureTypes, NoSourceButTheFailureTypesNamesAStandardFailure) {
    int files = 0;
    for (const ProgramSource& source : ReadProgramSources()) {
        ++files;
        if (kFailureTypes.contains(source.path.string())) continue;
        for (const char* name : kStandardFailures)
            for (size_t at = source.code.find(name); at != std::string::npos; at = source.code.find(name, at + 1))
                ADD_FAILURE() << source.path.string() << ":" << LineOf(source.code, at) << ": " << name;
    }
    EXPECT_GT(files, 100);
}

TEST(FailureTypes, EachLayerDeclaresItsOneType) {
    std::map<std::string, std::string> declared;  // header -> the failure types it derives
    for (const ProgramSource& source : ReadProgramSources()) {
        const std::string base = " : public std::runtime_error";
        for (size_t at = source.code.find(base); at != std::string::npos; at = source.code.find(base, at + 1)) {
            const size_t name = source.code.rfind(' ', at - 1) + 1;
            declared[source.path.string()] += source.code.substr(name, at - name) + " ";
        }
    }
    for (const auto& [header, type] : kFailureTypes) EXPECT_EQ(declared[header], type + " ") << header;
}
