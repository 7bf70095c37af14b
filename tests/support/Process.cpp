#include "support/Process.h"

#include "fakes/FakePlatform.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace hh::test {
namespace fs = std::filesystem;

Process::Process(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnv) {
    static std::atomic<int> counter{0};
    const auto base = fs::temp_directory_path() /
                      ("hh-proc-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    out_ = base.string() + ".out";
    err_ = base.string() + ".err";

    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    // An extra "NAME=value" replaces the inherited NAME (getenv takes the first).
    const auto overridden = [&](const std::string& entry) {
        for (const auto& extra : extraEnv)
            if (entry.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0)
                return true;
        return false;
    };
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e)
        if (!overridden(*e))
            envStore.emplace_back(*e);
    envStore.insert(envStore.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ == 0) {
        const int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        // A test that crashes must not leave its servers and tools behind.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::execvpe(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
}

Process::~Process() {
    if (running()) {
        ::kill(pid_, SIGKILL);
        waitForExit(std::chrono::seconds(5));
    }
    std::error_code ec;
    fs::remove(out_, ec);
    fs::remove(err_, ec);
}

bool Process::running() {
    if (pid_ <= 0 || exited_)
        return false;
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        exited_ = true;
        status_ = status;
        return false;
    }
    return r == 0;
}

void Process::signal(int sig) {
    if (running())
        ::kill(pid_, sig);
}

int Process::waitForExit(std::chrono::milliseconds timeout) {
    if (!waitUntil([this] { return !running(); }, timeout))
        return -1;
    if (WIFEXITED(status_))
        return WEXITSTATUS(status_);
    return 128 + (WIFSIGNALED(status_) ? WTERMSIG(status_) : 0);
}

std::string Process::output() const {
    return readFile(out_);
}
std::string Process::errors() const {
    return readFile(err_);
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace hh::test
