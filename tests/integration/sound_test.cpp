// Sounds of the headless program on a real sound server without a speaker:
// a PulseAudio server of the test's own (own runtime folder and socket),
// whose only sink is a null sink; what reaches the sink is recorded from its
// monitor.
#include "support/GameFolder.h"
#include "support/Process.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using hh::test::GameFolder;
using hh::test::occurrences;
using hh::test::Process;
using hh::test::TempDir;
using hh::test::waitUntil;

namespace {

// Where Debian's pulseaudio and pulseaudio-utils put them.
const std::string kPulseaudio = "/usr/bin/pulseaudio";
const std::string kParec = "/usr/bin/parec";

// Sound clients that meet only the server at `serverSocket`, with their
// settings in `home`.
std::vector<std::string> pulseEnv(const fs::path& home, const fs::path& serverSocket) {
    hh::test::writeFile(home / "client.conf", "autospawn = no\n");
    return {"HOME=" + home.string(),
            "XDG_RUNTIME_DIR=" + home.string(),
            "XDG_CONFIG_HOME=" + (home / "config").string(),
            "PULSE_CLIENTCONFIG=" + (home / "client.conf").string(),
            "PULSE_SERVER=unix:" + serverSocket.string(),
            "DISPLAY="};
}

class SoundServer {
  public:
    SoundServer() {
        ::chmod(dir_.path().c_str(), 0700);
        server_ = std::make_unique<Process>(
            kPulseaudio,
            std::vector<std::string>{
                "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                "--disable-shm=yes", "-L", "module-null-sink sink_name=hh_null rate=8000", "-L",
                "module-native-protocol-unix auth-anonymous=1 socket=" + socket().string()},
            env());
        waitUntil([&] { return fs::exists(socket()) || !server_->running(); }, 10s);
    }
    fs::path socket() const { return dir_ / "native"; }
    std::vector<std::string> env() const { return pulseEnv(dir_.path(), socket()); }
    bool up() { return server_->running() && fs::exists(socket()); }
    std::string log() const { return server_->errors(); }
    void stop() {
        server_->signal(SIGKILL);
        server_->waitForExit(5s);
    }

  private:
    TempDir dir_;
    std::unique_ptr<Process> server_;
};

// The sink's monitor as 16-bit samples in a file, read as it grows. The
// recording asks for a desktop's short latency: a recorder that buffers
// seconds raises the null sink's latency to match, and Qt then ends a short
// sound's stream before the sink has played it.
class Recording {
  public:
    explicit Recording(const SoundServer& server)
        : parec_(kParec,
                 {"--raw", "--format=s16le", "--rate=8000", "--channels=1", "--latency-msec=50",
                  "-d", "hh_null.monitor", (dir_ / "rec.raw").string()},
                 server.env()) {}
    // True once a sample louder than near-silence has arrived.
    bool heardSomething() {
        std::ifstream in(dir_ / "rec.raw", std::ios::binary);
        in.seekg(read_);
        std::int16_t sample = 0;
        while (in.read(reinterpret_cast<char*>(&sample), sizeof sample)) {
            read_ += sizeof sample;
            if (std::abs(sample) > 1000)
                return true;
        }
        return false;
    }
    bool started() { return fs::exists(dir_ / "rec.raw") && fs::file_size(dir_ / "rec.raw") > 0; }

  private:
    TempDir dir_;
    Process parec_;
    std::streamoff read_ = 0;
};

std::vector<std::string> headlessArgs(const GameFolder& g) {
    return {"--headless",         "--always-on",  "--program-dir",
            g.program().string(), "--lookup-url", "http://127.0.0.1:9"};
}

// Sends a command and waits until its answer is in hh.cfg.
void answered(GameFolder& g, Process& p, const std::string& command, const std::string& answer) {
    g.writeDump({"]/hh " + command});
    ASSERT_TRUE(waitUntil([&] { return g.resultText().find(answer) != std::string::npos; }, 10s))
        << command << ": " << p.output() << p.errors();
}

const std::string kNoDevice = "Sounds are off: no audio output device was found.";
const std::string kRefused = "Sounds are off: the audio output device refused to play.";

class Sound : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::access(kPulseaudio.c_str(), X_OK) != 0 || ::access(kParec.c_str(), X_OK) != 0)
            GTEST_SKIP() << "pulseaudio and parec (pulseaudio, pulseaudio-utils) are not installed";
    }
};

} // namespace

TEST_F(Sound, PlaysOnTheServerAndSaysOnceWhenTheServerGoesAway) {
    SoundServer server;
    ASSERT_TRUE(server.up()) << server.log();
    Recording recording(server);
    ASSERT_TRUE(waitUntil([&] { return recording.started(); }, 10s)) << server.log();
    ASSERT_FALSE(recording.heardSomething());

    GameFolder g;
    Process p(HH_BINARY, headlessArgs(g), server.env());
    ASSERT_TRUE(waitUntil([&] { return g.resultText().find("ENABLED") != std::string::npos; }, 10s))
        << p.errors();
    answered(g, p, "hb", "ACTIVE");
    answered(g, p, "ver", "Handlehound ^3v");
    EXPECT_TRUE(waitUntil([&] { return recording.heardSomething(); }, 10s))
        << p.output() << p.errors();

    server.stop();
    answered(g, p, "hb", "ACTIVE");
    answered(g, p, "ver", "Handlehound ^3v");
    EXPECT_TRUE(p.running());
    EXPECT_EQ(occurrences(p.output(), kRefused), 1u) << p.output();
    EXPECT_EQ(occurrences(p.output(), kNoDevice), 0u) << p.output();
}

TEST_F(Sound, WithoutAServerOneLineSaysSo) {
    TempDir home;
    GameFolder g;
    Process p(HH_BINARY, headlessArgs(g), pulseEnv(home.path(), home / "no-server"));
    ASSERT_TRUE(waitUntil([&] { return g.resultText().find("ENABLED") != std::string::npos; }, 10s))
        << p.errors();
    answered(g, p, "hb", "ACTIVE");
    answered(g, p, "ver", "Handlehound ^3v");
    EXPECT_EQ(occurrences(p.output(), kNoDevice), 1u) << p.output();
}
