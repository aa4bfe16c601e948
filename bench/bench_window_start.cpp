// The real program as a user starts it, each repetition one whole process on an Xvfb display: from
// exec to the entry window mapped and painted, beside brindlemoor-batch --version, the machine's
// floor for starting a Qt process, and the entry window's resident size at rest over 100 starts.
//
// One X connection watches, so measuring adds no load to the server: it asks for the root's
// substructure events (a new top-level window, its mapping) before the program starts, and puts a
// damage monitor on each new top-level window. The window counts as painted once the damage the
// server recorded covers it whole: the server paints no background for the program's windows, so
// that damage is the program's first complete frame arriving, which is what the user then sees.
// Being mapped alone is not: a mapped window shows nothing until the program draws into it.
#include "support/ResidentSize.h"
#include "support/VirtualDisplay.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const QByteArray kProgram = BRINDLEMOOR_BINARY_DIR "/brindlemoor";
const QByteArray kBatch = BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch";
constexpr int kStarts = 15;
constexpr int kRestingStarts = 100;
constexpr auto kGiveUp = std::chrono::seconds(20);

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The display, a private settings store and scratch folder, and the watching connection.
class Session {
public:
    Session() {
        if (!m_display.name().isEmpty()) m_connection = xcb_connect(m_display.name().toLatin1().constData(), nullptr);
        if (!m_connection || xcb_connection_has_error(m_connection)) return;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present) return;
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_environment = {"DISPLAY=" + m_display.name().toLatin1(), "QT_QPA_PLATFORM=xcb",
                         "XDG_CONFIG_HOME=" + m_config.path().toLocal8Bit(), "temp=" + m_scratch.path().toLocal8Bit()};
        for (char** variable = environ; *variable; ++variable) {
            const QByteArray entry(*variable);
            const QByteArray name = entry.left(entry.indexOf('=') + 1);
            if (name != "DISPLAY=" && name != "QT_QPA_PLATFORM=" && name != "XDG_CONFIG_HOME=" && name != "temp=")
                m_environment.push_back(entry);
        }
        m_ready = true;
    }
    ~Session() {
        if (m_connection) xcb_disconnect(m_connection);
    }

    bool ready() const { return m_ready; }

    struct Start {
        pid_t pid = -1;
        Clock::time_point exec;
        double mappedMs = 0;
        double paintedMs = 0;
    };

    // Starts the program and waits until its first top-level window is mapped and painted.
    std::optional<Start> startToPaintedWindow() {
        Start start;
        start.exec = Clock::now();
        start.pid = spawn(kProgram, {});
        if (start.pid < 0) return std::nullopt;
        std::map<xcb_window_t, xcb_damage_damage_t> watched;
        std::optional<xcb_window_t> mapped;
        while (Clock::now() - start.exec < kGiveUp) {
            std::unique_ptr<xcb_generic_event_t, decltype(&free)> event(nextEvent(), &free);
            if (!event) continue;
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
                if (created->parent != m_root) continue;
                const xcb_damage_damage_t damage = xcb_generate_id(m_connection);
                xcb_damage_create(m_connection, damage, created->window, XCB_DAMAGE_REPORT_LEVEL_BOUNDING_BOX);
                xcb_flush(m_connection);
                watched[created->window] = damage;
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
                if (mapped || !watched.count(map->window)) continue;
                mapped = map->window;
                start.mappedMs = MillisecondsSince(start.exec);
            } else if (type == m_damageEvent) {
                const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
                if (!mapped || damage->drawable != *mapped) continue;
                if (damage->area.width < damage->geometry.width || damage->area.height < damage->geometry.height)
                    continue;
                start.paintedMs = MillisecondsSince(start.exec);
                return start;
            }
        }
        stop(start.pid);
        return std::nullopt;
    }

    // Runs a program to its end; the time from exec to its exit, or nothing when it failed.
    std::optional<double> runToEnd(const QByteArray& program, const std::vector<QByteArray>& arguments) {
        const Clock::time_point exec = Clock::now();
        const pid_t pid = spawn(program, arguments);
        if (pid < 0) return std::nullopt;
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
        return MillisecondsSince(exec);
    }

    void stop(pid_t pid) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        // Events about the ended process's windows must not reach the next start.
        syncWithServer();
        while (std::unique_ptr<xcb_generic_event_t, decltype(&free)>(xcb_poll_for_event(m_connection), &free)) {
        }
    }

private:
    pid_t spawn(const QByteArray& program, const std::vector<QByteArray>& arguments) {
        std::vector<char*> argv{const_cast<char*>(program.constData())};
        for (const QByteArray& argument : arguments) argv.push_back(const_cast<char*>(argument.constData()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const QByteArray& entry : m_environment) envp.push_back(const_cast<char*>(entry.constData()));
        envp.push_back(nullptr);
        pid_t pid = -1;
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int failed = posix_spawn(&pid, program.constData(), &quiet, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&quiet);
        return failed ? -1 : pid;
    }

    xcb_generic_event_t* nextEvent() {
        if (xcb_generic_event_t* queued = xcb_poll_for_event(m_connection)) return queued;
        pollfd watch{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        poll(&watch, 1, 100);
        return xcb_poll_for_event(m_connection);
    }

    void syncWithServer() { free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }

    VirtualDisplay m_display;
    QTemporaryDir m_config;
    QTemporaryDir m_scratch;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
    std::vector<QByteArray> m_environment;
    bool m_ready = false;
};

Session& TheSession() {
    static Session session;
    return session;
}

// A returning user's start: the first start, which fills the store, is not measured.
bool Prepared(benchmark::State& state) {
    Session& session = TheSession();
    static const bool firstStartDone = [&] {
        if (!session.ready()) return false;
        const std::optional<Session::Start> first = session.startToPaintedWindow();
        if (first) session.stop(first->pid);
        return first.has_value();
    }();
    if (!firstStartDone) state.SkipWithError("no Xvfb display with the damage extension, or the program did not start");
    return firstStartDone;
}

void BM_ExecToEntryWindowPainted(benchmark::State& state) {
    if (!Prepared(state)) return;
    for (auto _ : state) {
        const std::optional<Session::Start> start = TheSession().startToPaintedWindow();
        if (!start) {
            state.SkipWithError("no painted entry window");
            return;
        }
        TheSession().stop(start->pid);
        state.SetIterationTime(start->paintedMs / 1000.0);
        state.counters["mapped_ms"] = start->mappedMs;
    }
}
BENCHMARK(BM_ExecToEntryWindowPainted)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kStarts)
    ->ReportAggregatesOnly(true);

void BM_ExecToExitOfBatchVersion(benchmark::State& state) {
    if (!Prepared(state)) return;
    for (auto _ : state) {
        const std::optional<double> ms = TheSession().runToEnd(kBatch, {"--version"});
        if (!ms) {
            state.SkipWithError("brindlemoor-batch --version failed");
            return;
        }
        state.SetIterationTime(*ms / 1000.0);
    }
}
BENCHMARK(BM_ExecToExitOfBatchVersion)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kStarts)
    ->ReportAggregatesOnly(true);

// The painted entry window left alone for a moment, then its resident size, over 100 starts.
void BM_EntryWindowResidentAtRest(benchmark::State& state) {
    if (!Prepared(state)) return;
    for (auto _ : state) {
        std::vector<double> sizes;
        for (int i = 0; i < kRestingStarts; ++i) {
            const std::optional<Session::Start> start = TheSession().startToPaintedWindow();
            if (!start) {
                state.SkipWithError("no painted entry window");
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            sizes.push_back(ResidentMb(start->pid));
            TheSession().stop(start->pid);
        }
        CountResidentSizes(state, sizes);
    }
}
BENCHMARK(BM_EntryWindowResidentAtRest)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
