// An Xvfb server on a display number nobody uses, stopped with the object, and xdotool on it, for
// tests that drive the real program in a real window. Like a login session, it has a private
// runtime folder of its own, so what programs leave there (a killed one's rendezvous) goes with it.
#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

class VirtualDisplay {
public:
    // screen: width x height x depth, large enough for the windows at the scale under test.
    explicit VirtualDisplay(const QString& screen = QStringLiteral("1280x1024x24"));
    ~VirtualDisplay();

    // Whether Xvfb and xdotool are installed at all.
    static bool available();
    // ":N" once the server runs; empty when it did not start.
    const QString& name() const { return m_name; }

    // Runs a client of this display and returns what it printed; a client the server refused is
    // made again.
    QString run(const QString& program, const QStringList& arguments) const;
    QString xdotool(const QStringList& arguments) const { return run(QStringLiteral("xdotool"), arguments); }
    // The ids of the visible windows whose title matches the pattern, now.
    QStringList visibleWindows(const QString& titlePattern) const;
    // The first visible window whose title matches the pattern and is not `except`; waits up to timeoutMs.
    QString waitForWindow(const QString& titlePattern, int timeoutMs, const QString& except = {}) const;
    // Starts the program (environment set by the caller, this display's) and returns its first
    // window whose title matches, or nothing after timeoutMs. A start the server refused, which
    // ends at once, is made again, so the window a test waits for is not lost to the machine.
    QString startWithWindow(QProcess& process, const QString& program, const QString& titlePattern,
                            int timeoutMs) const;
    // Writes a screenshot of the whole screen (xwd format).
    void screenshot(const QString& path) const;
    // What the window shows, in device pixels (xwd); nothing when xwd could not dump it.
    std::optional<QImage> windowImage(const QString& window) const;

    QProcessEnvironment environment() const;

private:
    QString findWindow(const QString& titlePattern, const QString& except) const;

    QTemporaryDir m_runtime;
    QProcess m_server;
    QString m_name;
};
