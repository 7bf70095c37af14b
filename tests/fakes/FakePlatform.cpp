#include "FakePlatform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <random>
#include <stdexcept>

namespace hh::test {
namespace fs = std::filesystem;

FakeTimer::FakeTimer(VirtualClock& clock) : clock_(clock) {
    clock_.add(this);
}
FakeTimer::~FakeTimer() {
    clock_.removeTimer(this);
}

void FakeTimer::setInterval(int ms) {
    interval_ = ms;
    if (enabled_)
        dueAt = clock_.nowMs_ + std::max(ms, 1);
}

void FakeTimer::setEnabled(bool enabled) {
    if (enabled) {
        dueAt = clock_.nowMs_ + std::max(interval_, 1);
        seq = clock_.nextSeq();
    }
    enabled_ = enabled;
}

VirtualClock::VirtualClock()
    : wallStart_(std::chrono::sys_days{std::chrono::year{2026} / 12 / 5} + std::chrono::hours{14}) {
}

std::unique_ptr<Timer> VirtualClock::createTimer() {
    return std::make_unique<FakeTimer>(*this);
}

std::chrono::system_clock::time_point VirtualClock::now() const {
    return wallStart_ + std::chrono::milliseconds(nowMs_);
}

void VirtualClock::removeTimer(FakeTimer* t) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

void VirtualClock::advance(long long ms) {
    const long long end = nowMs_ + ms;
    for (;;) {
        FakeTimer* next = nullptr;
        for (FakeTimer* t : timers_)
            if (t->enabled_ && t->dueAt <= end &&
                (!next || t->dueAt < next->dueAt ||
                 (t->dueAt == next->dueAt && t->seq < next->seq)))
                next = t;
        if (!next)
            break;
        nowMs_ = std::max(nowMs_, next->dueAt);
        next->dueAt = nowMs_ + std::max(next->interval_, 1);
        next->seq = nextSeq();
        if (next->onTick_) {
            auto callback = next->onTick_; // the callback may delete or reset the timer
            callback();
        }
    }
    nowMs_ = end;
}

void FakeEventPump::processPendingEvents() {
    ++pumps;
    while (!posted.empty()) {
        auto work = std::move(posted.front());
        posted.pop_front();
        work();
    }
}

void FakeEventPump::postToUiThread(std::function<void()> work) {
    posted.push_back(std::move(work));
}

std::vector<std::string> FakeSound::names() const {
    std::vector<std::string> out;
    for (const auto& p : played)
        out.push_back(fs::path(p).filename().string());
    return out;
}

void FakePageFetcher::answer(const FetchResult& result) {
    if (requests.empty())
        throw std::logic_error("no open request to answer");
    auto req = std::move(requests.front());
    requests.pop_front();
    req.done(result);
}

void FakePageFetcher::answerPost(const FetchResult& result) {
    if (pendingPosts.empty())
        throw std::logic_error("no open post to answer");
    auto done = std::move(pendingPosts.front());
    pendingPosts.pop_front();
    done(result);
}

FetchResult fetched(std::string body, int status, std::string finalUrl) {
    return {.ok = true,
            .httpStatus = status,
            .finalUrl = std::move(finalUrl),
            .body = std::move(body),
            .error = {}};
}

FetchResult unreached(std::string error) {
    return {.ok = false, .httpStatus = 0, .finalUrl = {}, .body = {}, .error = std::move(error)};
}

TempDir::TempDir() {
    // Random, not the process id: Wine gives every run the same few ids.
    // Tests make folders from several threads at once: one draw at a time,
    // and a name is only ours when this call created its folder.
    static std::mutex drawing;
    static std::mt19937_64 random{std::random_device{}()};
    std::lock_guard<std::mutex> guard(drawing);
    do {
        char name[32];
        std::snprintf(name, sizeof name, "hh-test-%016llx",
                      static_cast<unsigned long long>(random()));
        path_ = fs::temp_directory_path() / name;
    } while (!fs::create_directory(path_));
}

TempDir::~TempDir() {
    // Windows refuses to delete a read-only file, and some tests make one.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void useUtcAsLocalTime() {
#ifdef _WIN32
    _putenv_s("TZ", "UTC");
    _tzset();
#else
    ::setenv("TZ", "UTC", 1);
    ::tzset();
#endif
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void setModifiedTime(const fs::path& path, int secondsFromNow) {
    fs::last_write_time(path,
                        fs::file_time_type::clock::now() + std::chrono::seconds(secondsFromNow));
}

FakePlatform::FakePlatform()
    : platform{clock,  clock, events,  clipboard, sound,       windows,    paths,    keys,
               hotKey, pages, dialogs, shell,     fileWatcher, logWatcher, resolver, icmp} {
    paths.program = temp / "program";
    paths.desktop = temp / "Desktop";
    fs::create_directories(paths.program / "Sound");
    fs::create_directories(paths.desktop);
}

} // namespace hh::test
