// Both windows as a screen reader meets them: the real program under Xvfb in a private D-Bus
// session, its accessibility tree read through AT-SPI (python3-pyatspi), the preview reached by
// pressing "Start Creating Template" through its accessible action.
#include "EntryWindowFixture.h"
#include "support/VirtualDisplay.h"
#include "workbook/model/AmountText.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor");
const QString kScript = QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/report/accessible_tree.py");

struct Node {
    QString role;
    QString name;
    std::optional<QString> text;
    bool hasValue = false;
    QStringList labelledBy;
    bool showing = false;
};

std::vector<Node> Nodes(const QJsonArray& window) {
    std::vector<Node> nodes;
    for (const QJsonValue& value : window) {
        const QJsonObject object = value.toObject();
        Node node;
        node.role = object["role"].toString();
        node.name = object["name"].toString();
        if (object.contains("text")) node.text = object["text"].toString();
        node.hasValue = object.contains("value");
        for (const QJsonValue& label : object["labelledBy"].toArray()) node.labelledBy << label.toString();
        node.showing = object["showing"].toBool();
        nodes.push_back(node);
    }
    return nodes;
}

const Node* Named(const std::vector<Node>& nodes, const QString& name) {
    const auto found = std::find_if(nodes.begin(), nodes.end(), [&](const Node& n) { return n.name == name; });
    return found == nodes.end() ? nullptr : &*found;
}

// What every window of ours must be: a window (a frame in AT-SPI's words), holding no other, every shown
// node named unless it is a mere filler, and no control labelled by the frame around it.
void ExpectAWindowOfNamedControls(const std::vector<Node>& nodes) {
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(nodes[0].role, "frame");
    EXPECT_EQ(nodes[0].name, "Brindlemoor");
    for (size_t i = 1; i < nodes.size(); ++i) {
        const Node& node = nodes[i];
        SCOPED_TRACE((node.role + " '" + node.name + "'").toStdString());
        EXPECT_NE(node.role, "window");
        EXPECT_NE(node.role, "frame");
        if (node.role == "filler") {
            EXPECT_TRUE(node.name.isEmpty()) << "a filler takes no name";
        } else if (node.showing) {
            EXPECT_FALSE(node.name.isEmpty());
        }
        for (const char* frame : {"Header", "Particulars", "Footer", "Zoom:"})
            EXPECT_FALSE(node.labelledBy.contains(frame) && node.role != "push button") << "labelled by its frame";
    }
}

class ScreenReader : public EntryWindowTest {
protected:
    void SetUp() override {
        EntryWindowTest::SetUp();
        if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-run-session")).isEmpty())
            GTEST_SKIP() << "dbus-run-session is not installed";
        if (!QFileInfo::exists(QStringLiteral("/usr/lib/python3/dist-packages/pyatspi")))
            GTEST_SKIP() << "python3-pyatspi is not installed";
        if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program is not built";
    }

    // The JSON the script prints for the entry window and the preview.
    QJsonObject readTrees() {
        VirtualDisplay display;
        EXPECT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        QProcessEnvironment environment = display.environment();
        environment.insert("XDG_CONFIG_HOME", store.path());
        environment.insert("temp", scratch.path());
        environment.insert("LANG", "en_US.UTF-8");
        environment.insert("LC_ALL", "en_US.UTF-8");
        environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        environment.remove("DBUS_SESSION_BUS_ADDRESS");
        QProcess reader;
        reader.setProcessEnvironment(environment);
        const QString output = scratch.filePath(QStringLiteral("tree.json"));
        reader.start("dbus-run-session", {"--", "/usr/bin/python3", kScript, kProgram, output});
        reader.waitForFinished(180000);
        EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
        QFile tree(output);
        EXPECT_TRUE(tree.open(QIODevice::ReadOnly)) << "the script wrote no tree";
        return QJsonDocument::fromJson(tree.readAll()).object();
    }

    QTemporaryDir scratch;
};

TEST_F(ScreenReader, FindsWindowsOfNamedControlsThatReadTheirValues) {
    store.save("dtpFrom", StoredDateText(QDate(2026, 2, 5)));
    store.save("DTPicker20", StoredDateText(QDate(2026, 3, 4)));
    store.save("DTPicker22", "");
    const QJsonObject trees = readTrees();
    ASSERT_EQ(trees["entry"].toArray().size(), 1);
    const std::vector<Node> entry = Nodes(trees["entry"].toArray()[0].toArray());
    ExpectAWindowOfNamedControls(entry);

    for (const char* frame : {"Header", "Particulars", "Footer"}) {
        const auto count = std::count_if(entry.begin(), entry.end(), [&](const Node& n) { return n.name == frame; });
        EXPECT_EQ(count, 1) << frame << " names its frame and nothing else";
    }
    // Fields are labelled by their own labels; grid cells by nothing but their names.
    const std::vector<std::pair<const char*, QStringList>> labels{
        {"Purpose", {"Purpose:"}},           {"Pay period to", {"Pay Period To:"}}, {"Employee ID", {"Employee ID:"}},
        {"Approved, line 1", {"Approved:"}}, {"Notes, line 1", {"Notes:"}},         {"Hotel, row 3", {}}};
    for (const auto& [field, label] : labels) {
        const Node* node = Named(entry, field);
        ASSERT_NE(node, nullptr) << field;
        EXPECT_EQ(node->labelledBy, label) << field;
    }
    // Pickers read the date they hold, and an empty row reads as empty; no number stands for a date.
    const std::vector<std::pair<const char*, QString>> dates{
        {"Pay period from", "05-Feb-2026"}, {"Date, row 1", "04-Mar-2026"}, {"Date, row 3", ""}};
    for (const auto& [picker, date] : dates) {
        const Node* node = Named(entry, picker);
        ASSERT_NE(node, nullptr) << picker;
        EXPECT_EQ(node->role, "spin button") << picker;
        EXPECT_EQ(node->text, date) << picker;
        EXPECT_FALSE(node->hasValue) << picker;
    }

    ASSERT_EQ(trees["preview"].toArray().size(), 1) << "the preview did not open";
    const std::vector<Node> preview = Nodes(trees["preview"].toArray()[0].toArray());
    ExpectAWindowOfNamedControls(preview);
    const Node* picture = Named(preview, "Picture of the expense report");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->role, "image");
    EXPECT_TRUE(picture->showing);
}

}  // namespace
