// Build step: writes the template workbook and the C++ source that embeds its bytes.
//   brindlemoor-template-gen OUT.xlt OUT.cpp
#include "workbook/template/ExpenseTemplate.h"
#include "xls/Error.h"
#include "xls/WorkbookIo.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <vector>

namespace {

void writeBinary(const char* path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) throw xls::Error(std::string("cannot write ") + path);
}

void writeSource(const char* path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::trunc);
    out << "// Made by brindlemoor-template-gen from the template description.\n"
           "#include <cstddef>\n\n"
           "extern const unsigned char kEmbeddedTemplate[];\n"
           "extern const std::size_t kEmbeddedTemplateSize;\n\n"
           "const unsigned char kEmbeddedTemplate[] = {";
    for (size_t i = 0; i < bytes.size(); ++i) out << (i % 24 == 0 ? "\n" : "") << unsigned(bytes[i]) << ',';
    out << "\n};\nconst std::size_t kEmbeddedTemplateSize = " << bytes.size() << ";\n";
    if (!out.flush()) throw xls::Error(std::string("cannot write ") + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: brindlemoor-template-gen OUT.xlt OUT.cpp\n");
        return 2;
    }
    try {
        const std::vector<uint8_t> bytes = xls::writeWorkbook(BuildExpenseTemplate());
        writeBinary(argv[1], bytes);
        writeSource(argv[2], bytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brindlemoor-template-gen: %s\n", e.what());
        return 1;
    }
    return 0;
}
