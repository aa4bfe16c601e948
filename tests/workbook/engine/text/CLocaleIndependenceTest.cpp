// Numbers are written through the caller's settings only: the C library's locale, which the
// desktop program's toolkit sets from the environment, must not reach any text we produce.
#include "support/ProgramSources.h"
#include "TextTestLocales.h"
#include "xls/A1Reference.h"
#include "xls/NumberFormat.h"
#include "xls/TypedInput.h"

#include <clocale>
#include <regex>
#include <string>

#include <gtest/gtest.h>

// Each of these reads or writes numbers (or dates) through the process's C locale, so a German
// desktop turns 110797 into "1,1079,7". Text formats itself with QLocale or std::to_chars instead.
TEST(CLocaleIndependence, NoSourceCallsALocaleSensitiveCLibraryFunction) {
    const std::regex forbidden(
        R"(\b(strto(d|f|ld)|ato[fil]|std::sto(d|f|ld)|v?f?scanf|sscanf|setlocale|localeconv|nl_langinfo|strftime|)"
        R"(strfmon|std::put_time|std::get_time|std::locale|imbue|std::(i|o)?stringstream|std::cout|std::cin)\b)");
    // The printf family is allowed for text only: a floating conversion writes the locale's decimal.
    const std::regex floatingPrintf(
        R"(\bv?(s|sn|f)?printf\s*\([^;]*"[^"]*%[-+ #0]*(\d+|\*)?(\.(\d+|\*))?L?[aAeEfFgG])");
    // Letter and case classes follow the locale too: under Windows-1252 "\xC4" is a letter.
    const std::regex characterClass(
        R"((^|[^\w.>])(std)?(::)?(is(alnum|alpha|blank|cntrl|digit|graph|lower|print|punct|space|upper|xdigit)|)"
        R"(to(lower|upper))\s*\()");
    int files = 0;
    for (const ProgramSource& source : ReadProgramSources()) {
        ++files;
        for (const std::regex* rule : {&forbidden, &floatingPrintf, &characterClass})
            for (auto it = std::sregex_iterator(source.code.begin(), source.code.end(), *rule);
                 it != std::sregex_iterator(); ++it)
                ADD_FAILURE() << source.path.string() << ":" << LineOf(source.code, size_t(it->position())) << ": "
                              << it->str().substr(0, 40);
    }
    EXPECT_GT(files, 100);
}

// A C locale with a decimal comma, by this platform's name for it.
#ifdef _WIN32
constexpr const char* kGermanCLocale = "German_Germany.1252";
#else
constexpr const char* kGermanCLocale = "de_DE.UTF-8";
#endif

// The same formats under a C locale with a decimal comma, as a German desktop sets it.
TEST(CLocaleIndependence, FormatsAndTypedInputIgnoreTheCLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, kGermanCLocale))
        GTEST_SKIP() << "the " << kGermanCLocale << " locale is not available (./do makes it on Linux)";
    const auto shown = [](const xls::Value& value, const char* code) {
        return xls::formatValue(value, code, unitedStates()).plain();
    };
    EXPECT_EQ(shown(110797.0, "General"), "110797");
    EXPECT_EQ(shown(0.1 + 0.2, "General"), "0.3");
    EXPECT_EQ(shown(1.5e-7, "General"), "1.5E-07");
    EXPECT_EQ(shown(1234.567, "#,##0.00"), "1,234.57");
    EXPECT_EQ(shown(101402.55, "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)"),
              " $ 101,402.55 ");
    EXPECT_EQ(shown(-3.0, "0.0E+00"), "-3.0E+00");
    EXPECT_EQ(shown(1.75, "# ?/?"), "1 3/4");
    EXPECT_EQ(xls::formatValue(1234.57, "#,##0.00", germany()).plain(), "1.234,57");
    const xls::TypedValue typed = xls::interpretTypedInput("1,234.57", "General", unitedStates());
    EXPECT_EQ(std::get<double>(typed.value), 1234.57);
    std::setlocale(LC_ALL, previous.c_str());
}

// References, function names and the settings' words match ASCII letters only, whatever the C
// locale takes for a letter: "\xC4" is "Ä" under Windows-1252 and a UTF-8 lead byte elsewhere.
TEST(CLocaleIndependence, LettersAndCaseAreAsciiUnderAnyCLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, kGermanCLocale))
        GTEST_SKIP() << "the " << kGermanCLocale << " locale is not available (./do makes it on Linux)";
    EXPECT_FALSE(xls::parseA1Range(std::string{'\xC4', '1'}));
    EXPECT_FALSE(xls::parseA1Range(std::string{'A', '\xC4', '1'}));
    EXPECT_TRUE(xls::parseA1Range("iv65536"));
    const xls::TypedValue typed = xls::interpretTypedInput("tRuE", "General", unitedStates());
    EXPECT_EQ(std::get<bool>(typed.value), true);
    // "M\xC3\xA4rz" and "M\xE3\xA4rz" differ in their lead byte, which a Latin lowering would equate.
    EXPECT_TRUE(
        std::holds_alternative<double>(xls::interpretTypedInput("1. M\xC3\xA4rz 2024", "General", germany()).value));
    xls::LocaleInfo march = germany();
    march.monthNames[2] = "M\xE3\xA4rz";
    EXPECT_FALSE(
        std::holds_alternative<double>(xls::interpretTypedInput("1. M\xC3\xA4rz 2024", "General", march).value));
    std::setlocale(LC_ALL, previous.c_str());
}
