#include "RememberedReadings.h"

#include "xls/WorkbookIo.h"

#include <deque>
#include <mutex>
#include <span>
#include <utility>

namespace host {
namespace {

// The template and a result; larger files are read each time rather than held.
constexpr size_t kRememberedFiles = 2;
constexpr qsizetype kMostRememberedBytes = qsizetype(1) << 20;

struct Reading {
    QByteArray bytes;
    xls::Workbook model;
};

}  // namespace

xls::Workbook ReadWorkbookBytes(const QByteArray& bytes) {
    static std::mutex guard;
    static std::deque<Reading> readings;
    {
        const std::lock_guard lock(guard);
        for (const Reading& reading : readings)
            if (reading.bytes == bytes) return reading.model;
    }
    xls::Workbook model = xls::readWorkbook(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
    if (bytes.size() <= kMostRememberedBytes) {
        const std::lock_guard lock(guard);
        readings.push_front({bytes, model});
        if (readings.size() > kRememberedFiles) readings.pop_back();
    }
    return model;
}

}  // namespace host
