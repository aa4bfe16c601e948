#include "app/AppTitle.h"
#include "app/ProgramEnd.h"
#include "app/WindowColours.h"
#include "app/WindowFreeze.h"
#include "app/ProgramFolders.h"
#include "SkinFramework.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>

namespace {

const QColor kLightGrey(0xE0, 0xE0, 0xE0);
const QColor kDesignColour(0x12, 0x34, 0x56);

// A small entry window: the grid titles in light grey, everything else in a design colour.
struct EntryWindow {
    EntryWindow() {
        window.setObjectName(QStringLiteral("Form1"));
        auto* frame = new QGroupBox(&window);
        frame->setObjectName(QStringLiteral("Frame1"));
        for (const char* name : {"Label1", "Label4", "lblYear"}) add(new QLabel(frame), name, kLightGrey);
        add(new QLabel(frame), "Label2", kDesignColour);
        add(new QLabel(&window), "Picture1", kDesignColour);
        add(new QCheckBox(&window), "Check1", kDesignColour);
        add(new QRadioButton(&window), "Option1", kDesignColour);
        add(new QLineEdit(frame), "txtPurpose", kDesignColour);
        add(new QDateEdit(frame), "dtpFrom", kDesignColour);
        add(new QPushButton(&window), "PushButton22", kDesignColour);
        add(frame, "Frame1", kDesignColour);
        add(&window, "Form1", kDesignColour);
    }
    void add(QWidget* widget, const char* name, const QColor& colour) {
        widget->setObjectName(QString::fromLatin1(name));
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, colour);
        widget->setPalette(palette);
        widgets[name] = widget;
        designColours[name] = colour;
    }
    QColor colourOf(const char* name) const { return widgets.at(name)->palette().color(QPalette::Window); }

    QWidget window;
    std::map<std::string, QWidget*> widgets;
    std::map<std::string, QColor> designColours;
};

QColor Face() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }

// Plants a skin file in the program folder for the life of the object.
class PlantedSkin {
public:
    explicit PlantedSkin(const QByteArray& contents) {
        QDir().mkpath(ProgramFolder() + QStringLiteral("/x"));
        QFile file(path());
        file.open(QIODevice::WriteOnly);
        file.write(contents);
    }
    ~PlantedSkin() { QDir(ProgramFolder() + QStringLiteral("/x")).removeRecursively(); }
    PlantedSkin(const PlantedSkin&) = delete;
    PlantedSkin& operator=(const PlantedSkin&) = delete;
    static QString path() { return ProgramFolder() + QStringLiteral("/x/o.cjs"); }
};

QByteArray ShippedSkin() {
    QFile file(QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/app/assets/x/o.cjs"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

}  // namespace

TEST(AppTitle, CutsWordsFromTheEnd) {
    EXPECT_EQ(TruncatedTitle(QStringLiteral("Brindlemoor")), QStringLiteral("Brindlemoor"));
    const QString fiveSevens = QStringLiteral("Abcdefg Bcdefgh Cdefghi Defghij Efghijk");
    ASSERT_EQ(fiveSevens.size(), 39);
    EXPECT_EQ(TruncatedTitle(fiveSevens), QStringLiteral("Abcdefg Bcdefgh Cdefghi Defghij"));
    const QString sixEights = QStringLiteral("Abcdefgh Bcdefghi Cdefghij Defghijk Efghijkl Fghijklm");
    ASSERT_EQ(sixEights.size(), 53);
    EXPECT_EQ(TruncatedTitle(sixEights), QStringLiteral("Abcdefgh Bcdefghi Cdefghij Defghijk"));
    EXPECT_EQ(TruncatedTitle(QString(50, QLatin1Char('x'))), QString(50, QLatin1Char('x')));

    SetAppTitle();
    EXPECT_EQ(AppTitle(), QStringLiteral("Brindlemoor"));
}

// Absent, present and broken in one test: all use the one program folder, and ctest runs tests of
// one binary in parallel processes.
TEST(MainSkin, ColoursOnlyWhenTheSkinFileExistsAndABrokenOneThrows) {
    {
        EntryWindow absent;
        ApplyMainSkin(&absent.window);
        for (const auto& [name, colour] : absent.designColours)
            EXPECT_EQ(absent.colourOf(name.c_str()), colour) << name;
        EXPECT_TRUE(absent.window.styleSheet().isEmpty());
    }
    PlantedSkin skin(ShippedSkin());
    EntryWindow entry;
    ApplyMainSkin(&entry.window);
    for (const char* name : {"Form1", "Frame1", "Label2", "Picture1", "Check1", "Option1"})
        EXPECT_EQ(entry.colourOf(name), Face()) << name;
    for (const char* name : {"Label1", "Label4", "lblYear"}) EXPECT_EQ(entry.colourOf(name), kLightGrey) << name;
    for (const char* name : {"txtPurpose", "dtpFrom", "PushButton22"})
        EXPECT_EQ(entry.colourOf(name), kDesignColour) << name;
    EXPECT_EQ(entry.window.styleSheet(), QString::fromUtf8(ShippedSkin()));

    PlantedSkin broken("QPushButton { color: red; ");
    EntryWindow another;
    EXPECT_THROW(ApplyMainSkin(&another.window), std::runtime_error);
}

TEST(SkinFramework, ChecksTheSheetAndAppliesOnlyWhenSwitchedOn) {
    QTemporaryDir dir;
    const auto write = [&](const QByteArray& contents) {
        QFile file(dir.filePath(QStringLiteral("skin.cjs")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(contents);
        return file.fileName();
    };
    SkinFramework skin;
    EXPECT_THROW(skin.loadSkin(dir.filePath(QStringLiteral("missing.cjs")), QString()), std::runtime_error);
    EXPECT_THROW(skin.loadSkin(write("/* open comment { }"), QString()), std::runtime_error);
    EXPECT_THROW(skin.loadSkin(write("QLabel { } }"), QString()), std::runtime_error);
    EXPECT_THROW(skin.loadSkin(write("QLabel { font-family: \"Open }"), QString()), std::runtime_error);
    EXPECT_THROW(skin.loadSkin(write("\xff\xfe"), QString()), std::runtime_error);
    const QString good = write("QLabel { font-family: \"a}b\"; } /* } */");
    EXPECT_THROW(skin.loadSkin(good, QStringLiteral("Blue")), std::runtime_error);
    skin.loadSkin(good, QString());

    QWidget window;
    skin.applyWindow(&window);
    EXPECT_TRUE(window.styleSheet().isEmpty()) << "switched off";
    skin.setEnabled(true);
    skin.applyWindow(&window);
    EXPECT_EQ(window.styleSheet(), skin.styleSheet());
    EXPECT_FALSE(window.testAttribute(Qt::WA_StyledBackground));
    skin.setApplyOptions(SkinFramework::kApplyWindowBackground);
    skin.applyWindow(&window);
    EXPECT_TRUE(window.testAttribute(Qt::WA_StyledBackground));
}

TEST(SkinFramework, ARefusedFileIsNamedWithWhatIsWrongWithIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("skin.cjs"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("QLabel { } }");
    file.close();
    try {
        SkinFramework().loadSkin(path, QString());
        FAIL() << "a sheet with an unbalanced brace was taken";
    } catch (const AppError& refused) {
        EXPECT_EQ(QString::fromUtf8(refused.what()),
                  QStringLiteral("The skin file %1 is not a valid style sheet (unbalanced braces, quotes or comments)")
                      .arg(path));
    }
}

TEST(FormColours, PaintsEverythingButPictureBoxesAndControls) {
    EntryWindow preview;
    ApplyFormColours(&preview.window);
    for (const char* name : {"Form1", "Frame1", "Label1", "Label4", "lblYear", "Label2", "Check1", "Option1"})
        EXPECT_EQ(preview.colourOf(name), Face()) << name;
    for (const char* name : {"Picture1", "txtPurpose", "dtpFrom", "PushButton22"})
        EXPECT_EQ(preview.colourOf(name), kDesignColour) << name;
}

TEST(PaintingFreeze, OneWindowAtATime) {
    QWidget first, second;
    LockWindowUpdate(&first);
    EXPECT_FALSE(first.updatesEnabled());
    LockWindowUpdate(&second);
    EXPECT_TRUE(first.updatesEnabled()) << "a new freeze releases the old one";
    EXPECT_FALSE(second.updatesEnabled());
    LockWindowUpdate(nullptr);
    EXPECT_TRUE(second.updatesEnabled());

    auto gone = std::make_unique<QWidget>();
    LockWindowUpdate(gone.get());
    gone.reset();
    EXPECT_NO_FATAL_FAILURE(LockWindowUpdate(nullptr));
}

TEST(EndProgram, RunsTheReplacementHandler) {
    int calls = 0;
    SetEndProgramHandler([&] { ++calls; });
    EndProgram();
    SetEndProgramHandler({});
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(ProgramEndRequested());
}
