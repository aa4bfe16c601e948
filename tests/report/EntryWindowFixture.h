// A private settings store, recorded message boxes and a shown, active Form1 for entry-window tests.
#pragma once

#include "app/ProgramEnd.h"
#include "app/MessageService.h"
#include "app/SettingsStore.h"
#include "report/Form1.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class PrivateStore {
public:
    PrivateStore() {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
        ReloadSettingsLocation();
    }
    ~PrivateStore() {
        qunsetenv("XDG_CONFIG_HOME");
        ReloadSettingsLocation();
    }
    QString get(const QString& key, const QString& fallback = QStringLiteral("<none>")) const {
        return GetSetting(kSettingsApp, kSettingsSection, key, fallback);
    }
    void save(const QString& key, const QString& value) const {
        SaveSetting(kSettingsApp, kSettingsSection, key, value);
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

class EntryWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageHandler([this](const MessageRequest& request) {
            boxes.push_back(request);
            return kMsgOk;
        });
        SetEndProgramHandler([this] { ++endRequests; });
    }
    void TearDown() override {
        form.reset();
        SetMessageHandler({});
        SetEndProgramHandler({});
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // A loaded window, shown and active so that focus and key events behave as for a user.
    Form1& open() {
        form = std::make_unique<Form1>();
        form->Form_Load();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    PrivateStore store;
    std::vector<MessageRequest> boxes;
    int endRequests = 0;
    std::unique_ptr<Form1> form;
};
