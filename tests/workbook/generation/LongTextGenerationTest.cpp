// The run through the real entry window with every text field at its limit. How fast it must be
// lives in bench_generation (GenerationRunAtTextLimit); here it has to finish and show the preview.
#include "GenerationFixture.h"
#include "app/SettingsStore.h"
#include "support/EntryFields.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>

TEST_F(GenerationTest, EveryTextFieldAtItsLimitReachesThePreview) {
    FillTextFieldsTo(form(), kMaxFieldText);
    ReloadSettingsLocation();
    form().Form_Load();
    ASSERT_TRUE(takeMessages().isEmpty());
    for (QLineEdit* field : TextFields(form())) ASSERT_EQ(field->text().size(), kMaxFieldText);

    QElapsedTimer run;
    run.start();
    click(form().PushButton22);
    RecordProperty("run_ms", int(run.elapsed()));

    EXPECT_TRUE(takeMessages().isEmpty());
    ASSERT_TRUE(preview().isVisible());
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(QFile::exists(preview().mExcelFile.path()));
}
