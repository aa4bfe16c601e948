// Host procedures of the generation run: a second instance with a workbook open, and the save format.
#pragma once

#include "workbook/host/Application.h"

#include <QString>

#include <memory>

// A new host instance with the workbook at path open as its last workbook.
std::shared_ptr<host::Application> OpenInNewExcel(const QString& path);

// 56 for hosts of version 12 and later, -4143 before. Without an instance (or with an empty one),
// a temporary instance is created, asked and quit.
int GetSaveFormat(const std::shared_ptr<host::Application>& instance = nullptr);

// The save format for a host version text such as "11.0", read with the default locale.
int SaveFormatForVersion(const QString& version);
