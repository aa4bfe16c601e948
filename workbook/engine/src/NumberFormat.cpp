#include "xls/NumberFormat.h"

#include "NumberFormatCode.h"
#include "NumberFormatDate.h"
#include "NumberFormatGeneral.h"
#include "NumberFormatNumber.h"
#include "NumberFormatPieces.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace xls {
namespace {

using numfmt::PieceWriter;
using numfmt::Section;

size_t characterCount(const std::string& text) {
    size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Parsing a code costs more than formatting a value with it, and a sheet uses a handful of codes.
// Each thread keeps its own parsed codes; a workbook with very many is not kept whole.
const numfmt::FormatCode& parsedFormatCode(std::string_view code) {
    constexpr size_t kKeptCodes = 256;
    thread_local std::map<std::string, numfmt::FormatCode, std::less<>> parsed;
    if (const auto found = parsed.find(code); found != parsed.end()) return found->second;
    if (parsed.size() >= kKeptCodes) parsed.clear();
    return parsed.emplace(std::string(code), numfmt::parseFormatCode(code)).first->second;
}

const Section* textSection(const numfmt::FormatCode& code) {
    if (code.sections.size() >= 4) return &code.sections[3];
    for (const Section& section : code.sections)
        if (section.hasText && !section.hasDigits && !section.isDate) return &section;
    return nullptr;
}

// The section a number goes through and whether it shows its own minus sign.
struct Choice {
    const Section* section = nullptr;  // none: no condition matched
    bool signed_ = false;
    bool general = false;  // the code has no section for numbers
};

Choice chooseSection(const numfmt::FormatCode& code, double value) {
    std::vector<const Section*> numeric;
    for (const Section& section : code.sections)
        if (&section != textSection(code)) numeric.push_back(&section);
    if (numeric.empty()) return {nullptr, value < 0, true};

    const bool conditional =
        std::any_of(numeric.begin(), numeric.end(), [](const Section* s) { return s->condition.has_value(); });
    if (conditional) {
        // Conditions are tried in order; a section without one takes what the others left. As in
        // unconditional codes, the second section shows magnitudes.
        for (size_t index = 0; index < numeric.size(); ++index)
            if (!numeric[index]->condition || numeric[index]->condition->matches(value))
                return {numeric[index], value < 0 && index != 1};
        return {};
    }
    if (numeric.size() == 1 || value > 0 || (value == 0 && numeric.size() == 2)) return {numeric[0], value < 0};
    if (value < 0) return {numeric[1], false};
    return {numeric.size() >= 3 ? numeric[2] : numeric[0], false};
}

DisplayText formatNumber(double value, const numfmt::FormatCode& code, const LocaleInfo& locale, int maxGeneralChars,
                         bool date1904) {
    if (!std::isfinite(value))
        return DisplayText{{DisplayPiece{DisplayPiece::Kind::Text, "#NUM!"}}, std::nullopt, true};
    if (value == 0) value = 0;  // no negative zero
    const Choice choice = chooseSection(code, value);
    PieceWriter out;
    out.display().isNumber = true;
    if (choice.general) {
        out.text(numfmt::generalNumberText(value, maxGeneralChars, locale));
        return out.take();
    }
    if (!choice.section) {
        out.fill("#");
        return out.take();
    }
    const Section& section = *choice.section;
    out.display().colour = section.colour;
    if (section.isDate)
        numfmt::writeDateSection(section, value, date1904, locale, out);
    else {
        // A section of literals only ("neg", "-") shows no sign of its own.
        const bool showsNumber =
            section.hasDigits || std::any_of(section.tokens.begin(), section.tokens.end(), [](const numfmt::Token& t) {
                return t.kind == numfmt::TokenKind::General;
            });
        numfmt::writeNumberSection(section, std::fabs(value), choice.signed_ && showsNumber, locale, maxGeneralChars,
                                   out);
    }
    return out.take();
}

DisplayText formatText(const std::string& text, const numfmt::FormatCode& code) {
    PieceWriter out;
    const Section* section = textSection(code);
    if (!section) {
        out.text(text);
        return out.take();
    }
    out.display().colour = section->colour;
    for (const numfmt::Token& token : section->tokens) {
        switch (token.kind) {
        case numfmt::TokenKind::Literal: out.text(token.text); break;
        case numfmt::TokenKind::Pad: out.pad(token.text); break;
        case numfmt::TokenKind::Fill: out.fill(token.text); break;
        case numfmt::TokenKind::Text: out.text(text); break;
        default: break;
        }
    }
    return out.take();
}

}  // namespace

std::string DisplayText::plain() const {
    std::string text;
    for (const DisplayPiece& piece : pieces) {
        if (piece.kind == DisplayPiece::Kind::Pad)
            text.append(characterCount(piece.text), ' ');
        else
            text += piece.text;
    }
    return text;
}

DisplayText formatValue(const Value& value, std::string_view code, const LocaleInfo& locale, int maxGeneralChars,
                        bool date1904) {
    if (std::holds_alternative<std::monostate>(value)) return {};
    if (const bool* flag = std::get_if<bool>(&value))
        return DisplayText{{DisplayPiece{DisplayPiece::Kind::Text, *flag ? "TRUE" : "FALSE"}}, std::nullopt, false};
    if (const ErrorCode* error = std::get_if<ErrorCode>(&value))
        return DisplayText{{DisplayPiece{DisplayPiece::Kind::Text, errorText(*error)}}, std::nullopt, false};

    const numfmt::FormatCode& parsed = parsedFormatCode(code.empty() ? std::string_view("General") : code);
    if (const std::string* text = std::get_if<std::string>(&value)) return formatText(*text, parsed);
    return formatNumber(std::get<double>(value), parsed, locale, maxGeneralChars, date1904);
}

}  // namespace xls
