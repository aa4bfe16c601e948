// Work handed to another thread when the process can have one.
#pragma once

#include <future>
#include <system_error>
#include <utility>

// Starts `work` on a thread of its own. A process that may start no more threads (a container's
// or an account's limit) does the work itself, on the thread that asks for its result: slower, but
// every report is still written.
template <class Work>
auto Alongside(Work work) -> std::future<decltype(work())> {
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, std::move(work));
    }
}
