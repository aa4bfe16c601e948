#include "BatchOptions.h"

#include "workbook/batch/BatchExit.h"

#include <algorithm>
#include <optional>

namespace {

const QString kUsage = QStringLiteral("try 'brindlemoor-batch --help'");

// Options that take a value; the outputs take one except with --out-dir.
bool takesValue(const QString& name, bool manyReports) {
    static const QStringList valued{QStringLiteral("--report"), QStringLiteral("--out-dir"),
                                    QStringLiteral("--locale")};
    static const QStringList fileOrFlag{QStringLiteral("--xls"), QStringLiteral("--xlsx"), QStringLiteral("--picture"),
                                        QStringLiteral("--pdf")};
    return valued.contains(name) || (fileOrFlag.contains(name) && !manyReports);
}

void checkCombination(const BatchOptions& options) {
    const int sources = int(!options.report.isEmpty()) + int(options.fromStore) + int(!options.outDir.isEmpty());
    if (sources != 1) throw BadInput(QStringLiteral("give one of --report, --from-store or --out-dir; ") + kUsage);
    if (options.outDir.isEmpty()) {
        if (options.xls.isEmpty() && options.xlsx.isEmpty())
            throw BadInput(QStringLiteral("--xls or --xlsx is missing; ") + kUsage);
        if (!options.reports.isEmpty())
            throw BadInput(QStringLiteral("unexpected argument \"%1\"; ").arg(options.reports.first()) + kUsage);
        const QStringList outputs{options.xls, options.xlsx, options.picture, options.pdf};
        if (outputs.count(QStringLiteral("-")) > 1)
            throw BadInput(QStringLiteral("only one output can go to standard output"));
        return;
    }
    if (options.reports.isEmpty())
        throw BadInput(QStringLiteral("--out-dir needs report files, or - for standard input"));
    if (options.reports.contains(QStringLiteral("-")) && options.reports.size() > 1)
        throw BadInput(QStringLiteral("- (reports on standard input) cannot be combined with report files"));
}

}  // namespace

BatchOptions ParseBatchOptions(const QStringList& arguments) {
    BatchOptions options;
    const bool manyReports = std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
        return argument == QLatin1String("--out-dir") || argument.startsWith(QLatin1String("--out-dir="));
    });
    bool onlyFiles = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        if (onlyFiles || name == QLatin1String("-") || !name.startsWith(QLatin1Char('-'))) {
            options.reports << name;
            continue;
        }
        if (name == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        if (name == QLatin1String("-h") || name == QLatin1String("--help")) {
            options.action = BatchOptions::Action::Help;
            return options;
        }
        if (name == QLatin1String("--version")) {
            options.action = BatchOptions::Action::Version;
            return options;
        }
        std::optional<QString> value;
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals > 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (takesValue(name, manyReports) && !value) {
            if (i + 1 >= arguments.size()) throw BadInput(QStringLiteral("%1 needs a value; ").arg(name) + kUsage);
            value = arguments[++i];
        }
        if (takesValue(name, manyReports) && value->isEmpty())
            throw BadInput(QStringLiteral("%1 needs a value; ").arg(name) + kUsage);
        if (!takesValue(name, manyReports) && value)
            throw BadInput(QStringLiteral("%1 takes no value; ").arg(name) + kUsage);

        if (name == QLatin1String("--report")) {
            options.report = *value;
        } else if (name == QLatin1String("--xls")) {
            options.xlsGiven = true;
            if (value) options.xls = *value;
        } else if (name == QLatin1String("--xlsx")) {
            options.xlsxGiven = true;
            if (value) options.xlsx = *value;
        } else if (name == QLatin1String("--picture")) {
            options.pictures = true;
            if (value) options.picture = *value;
        } else if (name == QLatin1String("--pdf")) {
            options.pdfs = true;
            if (value) options.pdf = *value;
        } else if (name == QLatin1String("--out-dir")) {
            options.outDir = *value;
        } else if (name == QLatin1String("--locale")) {
            options.locale = *value;
        } else if (name == QLatin1String("--from-store")) {
            options.fromStore = true;
        } else {
            throw BadInput(QStringLiteral("unknown option %1; ").arg(name) + kUsage);
        }
    }
    checkCombination(options);
    return options;
}

QString BatchHelpText() {
    return QStringLiteral(
        "Usage: brindlemoor-batch [OPTIONS] --report FILE [--xls FILE] [--xlsx FILE]\n"
        "                         [--picture FILE] [--pdf FILE]\n"
        "  or:  brindlemoor-batch [OPTIONS] --from-store [--xls FILE] [--xlsx FILE]\n"
        "                         [--picture FILE] [--pdf FILE]\n"
        "  or:  brindlemoor-batch [OPTIONS] --out-dir DIR [--xls] [--xlsx] [--picture]\n"
        "                         [--pdf] REPORT.json...\n"
        "  or:  brindlemoor-batch [OPTIONS] --out-dir DIR [--xls] [--xlsx] [--picture]\n"
        "                         [--pdf] -\n"
        "Make the filled 97-2003 expense report workbook (.xls) or the same workbook as\n"
        "an Excel Workbook (.xlsx), or both, and optionally its picture (.png) and its\n"
        "printed page (.pdf), from an expense report given as JSON, without a window.\n"
        "\n"
        "Options:\n"
        "  --report FILE    read the report from FILE (- for standard input)\n"
        "  --from-store     take the report the entry window last held, with the\n"
        "                   receipts attached to its rows, from the user's settings\n"
        "                   store; the store is only read, never written\n"
        "  --xls FILE       write the workbook to FILE (- for standard output)\n"
        "  --xlsx FILE      write the workbook as an Excel Workbook to FILE (- for\n"
        "                   standard output); either --xls or --xlsx is enough\n"
        "  --picture FILE   also write the picture of the sheet to FILE, as PNG\n"
        "                   (- for standard output)\n"
        "  --pdf FILE       also write the sheet as printed by its page setup, then\n"
        "                   the rows' receipts, to FILE as PDF (- for standard\n"
        "                   output); only one output can go to standard output\n"
        "  --out-dir DIR    make one workbook per report: DIR/NAME.xls for NAME.json,\n"
        "                   with --xlsx (no file name then) DIR/NAME.xlsx instead, with\n"
        "                   --xls and --xlsx both, with --picture (no file name then)\n"
        "                   DIR/NAME.png, and with --pdf (no file name then)\n"
        "                   DIR/NAME.pdf; with - the reports are a JSON array on\n"
        "                   standard input, written as DIR/1.xls, DIR/2.xls, ...\n"
        "  --locale NAME    read amounts and dates under the settings NAME (en_US,\n"
        "                   de_DE, ...) in every category; without it, under the\n"
        "                   environment's: numbers by LC_NUMERIC, money by LC_MONETARY,\n"
        "                   dates by LC_TIME, each overridden by LC_ALL and defaulting\n"
        "                   to LANG\n"
        "  -h, --help       show this help and exit\n"
        "      --version    show the version and exit\n"
        "\n"
        "Input rules:\n"
        "  A report is one JSON object. Its keys are the settings store's keys\n"
        "  (txtPurpose, dtpFrom, txtHotel0, ...) in any letter case; an unknown key,\n"
        "  and a key given twice (in the same or another letter case), are refused.\n"
        "  Missing keys take the entry window's defaults (today for the pay period, no\n"
        "  row dates, amounts 0).\n"
        "  Amounts (txtHotel0 .. txtMisc14): a JSON number, or a text that is an amount\n"
        "    under the settings (\"$1,234.57\" under en_US, \"1.234,57 \u20ac\" under de_DE); an\n"
        "    empty text is 0. Amounts are kept to the cent, as the entry window keeps\n"
        "    them.\n"
        "  Dates (dtpFrom, dtpTo, DTPicker20 .. DTPicker214): a text, YYYY-MM-DD or the\n"
        "    settings' short date with a two- or four-digit year (11/5/16 or 11/5/2016\n"
        "    under en_US, 05.11.16 or 05.11.2016 under de_DE); an empty text leaves a\n"
        "    row without a date.\n"
        "  Receipts (Receipts0 .. Receipts14): a JSON array of the row's receipt files,\n"
        "    in order; a relative path starts from the report file's folder (from the\n"
        "    current folder for standard input). A receipt is a PDF, JPEG, PNG, WebP,\n"
        "    TIFF or HEIC (where an image plugin reads it) file, told by its content; one\n"
        "    that is missing, unreadable, empty, cut short, damaged, encrypted or of\n"
        "    another type stops the run naming the key and the file.\n"
        "  Every other key is a text field: a JSON string of at most 32,767 characters.\n"
        "  No string may hold a lone surrogate (\\ud800 without the half that pairs it).\n"
        "  A value that breaks a rule stops the run with one line naming the key and\n"
        "  the value, and nothing is written. The values of the settings store follow\n"
        "  the same rules. Messages show control characters of the input escaped, as\n"
        "  \\u001b, so they never reach the terminal.\n"
        "\n"
        "Outputs:\n"
        "  The PDF holds the report's printed page, then every receipt in row order,\n"
        "  each receipt page captioned at its top with its row (date, account,\n"
        "  description, the row's total, \"receipt 1 of 2\", the file's name). An image\n"
        "  gets a page of the report's paper, fitted within its margins, turned upright\n"
        "  by its EXIF orientation, at no more than 300 dpi (a JPEG that needs neither\n"
        "  is kept as it is); a PDF receipt's pages follow as they are.\n"
        "  The .xlsx holds the same cells, formulas with their computed results,\n"
        "  formats, merges, sizes, view and page setup as the .xls.\n"
        "  A report's workbooks, picture and PDF are written to temporary files and put\n"
        "  in place together, only when all are complete and standard output is\n"
        "  written; on failure existing files stay exactly as they were, and a reader\n"
        "  that closes standard output early fails the run. Refused before anything\n"
        "  is written: a link that belongs to another user in a folder other users can\n"
        "  write to (such as /tmp), a target that exists and is not a regular file, a\n"
        "  file the user could not write in place (a read-only one), and, as bad\n"
        "  options, an output named twice or one that is the report's input. A new\n"
        "  file has the user's own mode; only the user's own file passes its\n"
        "  permissions on. With --out-dir, a bad report is named on standard error\n"
        "  and the others are still written; a run of more than a second shows its\n"
        "  progress on standard error.\n"
        "  Pictures and PDFs are drawn with the system's fonts, antialiased and slightly\n"
        "  hinted whatever a user's own font settings say, so a report draws the same\n"
        "  for every account; FONTCONFIG_FILE or FONTCONFIG_PATH in the environment\n"
        "  chooses another font configuration.\n"
        "\n"
        "Exit status:\n"
        "  0  done\n"
        "  1  an output could not be written\n"
        "  2  bad input or options (with --out-dir: a report was bad, the others were\n"
        "     written)\n");
}

QString BatchVersionText() { return QStringLiteral("brindlemoor-batch " BRINDLEMOOR_VERSION "\n"); }
