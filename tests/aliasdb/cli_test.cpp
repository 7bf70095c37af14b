// The handlehound-aliasdb program itself: arguments, the import command on a
// sample dump, and a clean end on SIGTERM and SIGINT.
#include "CommandLine.h"
#include "Service.h"

#include "support/Process.h"

#include <csignal>
#include <regex>

using namespace std::chrono_literals;

namespace hh::aliasdb::test {
namespace {

using hh::test::Process;

// The service's own lines (start, requests, stop) go to standard error.
int portOf(const Process& p) {
    const std::string err = p.errors();
    const auto at = err.find("listening on http://127.0.0.1:");
    return at == std::string::npos ? 0 : std::stoi(err.substr(at + 30));
}

bool waitForListening(Process& p) {
    return hh::test::waitUntil([&] { return !p.running() || portOf(p) > 0; }, 5s) && portOf(p) > 0;
}

CommandLine parse(std::vector<std::string> args) {
    args.insert(args.begin(), "handlehound-aliasdb");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, Parsing) {
    using Mode = CommandLine::Mode;
    const struct {
        std::vector<std::string> args;
        Mode mode;
        std::string error; // part of the expected error, "" for none
    } cases[] = {
        {{"--credential", "c", "--listen", "127.0.0.1:8080", "--db=x.sqlite"}, Mode::Serve, ""},
        {{"import", "--mod", "osp", "a.who", "b.who"}, Mode::Import, ""},
        {{"backup", "--program-dir", "p", "copy.sqlite"}, Mode::Backup, ""},
        {{"--bogus", "--help"}, Mode::Help, ""},
        {{}, Mode::Serve, "serving needs --credential"},
        {{"--credential", "c", "--listen", "0.0.0.0:8080"}, Mode::Serve, "loopback"},
        {{"--credential", "c", "--db", "a", "--postgres", "b"}, Mode::Serve, "excludes"},
        {{"import", "--listen", "127.0.0.1:5", "x"}, Mode::Serve, "--listen"},
        {{"--export", "all", "--format", "json", "--output", "x.json"}, Mode::Export, ""},
        {{"--forget", "1A2B3C4D", "--db", "x"}, Mode::Forget, ""},
        {{"--forget", "all"}, Mode::Serve, "--forget wants a GUID of 8 letters or digits"},
        {{"--export", "all"}, Mode::Serve, "--format csv or --format json"},
        {{"--forget", "1a2b3c4d", "--output", "x"}, Mode::Serve, "go with --export"},
    };
    for (const auto& c : cases) {
        const CommandLine cl = parse(c.args);
        EXPECT_NE(cl.error.find(c.error), std::string::npos) << c.args.size() << ": " << cl.error;
        EXPECT_EQ(cl.error.empty(), c.error.empty()) << cl.error;
        if (c.error.empty()) {
            EXPECT_EQ(cl.mode, c.mode) << cl.error;
        }
    }
    const CommandLine i = parse({"import", "--mod", "osp", "a.who", "b.who"});
    EXPECT_EQ(i.dumps, (std::vector<std::string>{"a.who", "b.who"}));
    EXPECT_EQ(databaseFile(parse({"backup", "--program-dir", "/p", "c"})), "/p/aliases.sqlite");
}

TEST(Program, BadArgumentsEndWithTheReasonAndStatusTwo) {
    Process bad(HH_ALIASDB_BINARY, {"--listen", "nowhere"});
    EXPECT_EQ(bad.waitForExit(5s), 2);
    EXPECT_TRUE(std::regex_match(bad.errors(), std::regex("handlehound-aliasdb: --listen wants "
                                                          "[^\n]*\nTry 'handlehound-aliasdb "
                                                          "--help'\n")))
        << bad.errors();
}

TEST(Program, ServesAndEndsCleanlyOnSignals) {
    hh::test::TempDir temp;
    const auto credential = temp / "credential";
    hh::test::writeFile(credential, kCredential + "\n");
    std::filesystem::permissions(credential, std::filesystem::perms::owner_read);
    const auto log = temp / "log" / "aliasdb.log";
    for (int sig : {SIGTERM, SIGINT}) {
        Process service(HH_ALIASDB_BINARY,
                        {"--listen", "127.0.0.1:0", "--db", (temp / "a.sqlite").string(),
                         "--credential", credential.string(), "--log", log.string()});
        ASSERT_TRUE(waitForListening(service)) << service.errors();
        const int port = portOf(service);
        EXPECT_EQ(httpPost(port, "/sightings", R"([{"guid":"1a2b3c4d","name":"Zed"}])").status,
                  200);
        EXPECT_EQ(httpGet(port, "/health").body, "ok\n");

        // A second service on the same address cannot start, and says why.
        Process second(HH_ALIASDB_BINARY,
                       {"--listen", "127.0.0.1:" + std::to_string(port), "--db",
                        (temp / "b.sqlite").string(), "--credential", credential.string()});
        EXPECT_EQ(second.waitForExit(5s), 1);
        EXPECT_NE(second.errors().find("cannot listen"), std::string::npos) << second.errors();

        // The backup holds what the service wrote, although it is still only
        // in the write-ahead log beside the database file.
        const auto copy = temp / ("copy" + std::to_string(sig));
        Process backup(HH_ALIASDB_BINARY,
                       {"backup", "--db", (temp / "a.sqlite").string(), copy.string()});
        EXPECT_EQ(backup.waitForExit(5s), 0) << backup.errors();
        EXPECT_EQ(aliasesIn(copy, "1a2b3c4d").size(), 1u);

        service.signal(sig);
        EXPECT_EQ(service.waitForExit(5s), 0) << service.errors();
        EXPECT_NE(hh::test::readFile(log).find("\"GET /health\" 200"), std::string::npos);
    }
    const auto rows = aliasesIn(temp / "a.sqlite", "1a2b3c4d");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].timesSeen, 2); // both runs wrote to the same file
}

TEST(Program, CredentialFileIsMadeOrMustBePrivate) {
    hh::test::TempDir temp;
    const auto made = temp / "made";
    Process fresh(HH_ALIASDB_BINARY, {"--listen", "127.0.0.1:0", "--db",
                                      (temp / "a.sqlite").string(), "--credential", made.string()});
    ASSERT_TRUE(waitForListening(fresh)) << fresh.errors();
    EXPECT_TRUE(std::regex_match(hh::test::readFile(made), std::regex("[0-9a-f]{64}\n")));
    EXPECT_EQ(std::filesystem::status(made).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const auto open = temp / "open";
    hh::test::writeFile(open, kCredential + "\n");
    std::filesystem::permissions(open, std::filesystem::perms::group_read,
                                 std::filesystem::perm_options::add);
    Process refused(HH_ALIASDB_BINARY,
                    {"--listen", "127.0.0.1:0", "--db", (temp / "b.sqlite").string(),
                     "--credential", open.string()});
    EXPECT_EQ(refused.waitForExit(5s), 1);
    EXPECT_NE(refused.errors().find("readable by nobody else"), std::string::npos)
        << refused.errors();
}

// How a player line is read is the sightings reader's own rule; the import
// adds the files, the mod from the dump's folder and one sighting per dump.
TEST(Program, ImportsPlayerLinesOfDumps) {
    hh::test::TempDir temp;
    const std::string line = " 1 1a2b3c4d(VALID) 10.0.0.1   Sniper Wolf\n";
    hh::test::writeFile(
        temp / "osp" / "handleHound.who",
        "PunkBuster Client: Player List: [Slot #] [GUID] [Address] [Status] [Name]\n" + line +
            line + "Dumped console text to handleHound.who.\n");
    hh::test::writeFile(temp / "huge.who", std::string(17 * 1024 * 1024, 'x'));
    // Without --db: the database Handlehound keeps in its program folder.
    const std::string db = (temp / "data" / "handlehound" / "aliases.sqlite").string();
    Process import(HH_ALIASDB_BINARY,
                   {"import", (temp / "osp" / "handleHound.who").string(),
                    (temp / "missing.who").string(), (temp / "huge.who").string()},
                   {"XDG_DATA_HOME=" + (temp / "data").string()});
    EXPECT_EQ(import.waitForExit(5s), 1); // two of the three files could not be imported
    EXPECT_NE(import.output().find("handleHound.who: 1 sightings recorded"), std::string::npos)
        << import.output();
    EXPECT_NE(import.errors().find("missing.who: not a readable file"), std::string::npos);
    EXPECT_NE(import.errors().find("huge.who: larger than"), std::string::npos);
    const auto rows = aliasesIn(db, "1a2b3c4d");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].timesSeen, 1);
    EXPECT_EQ(rows[0].lastMod, "osp");
}

TEST(Program, ForgetLeavesNoTraceAndExportShowsTheRest) {
    hh::test::TempDir temp;
    const auto db = temp / "a.sqlite";
    {
        std::string error;
        auto store = SqliteStore::open(db, error);
        ASSERT_TRUE(store && store->record({{"1a2b3c4d", "=Sum(A1)", 1796479200, "osp"},
                                            {"1a2b3c4d", "Say \"hi\"", 1796479200, ""},
                                            {"deadbeef", "Secret Sauce", 1796479200, "osp"}},
                                           error))
            << error;
        ASSERT_TRUE(store->recordNameEvents(
            {{"s", 1, "renamed", "^1Secret ^7Sauce", "Other", "", 1796479200},
             {"s", 2, "renamed", "Alpha", "Bravo", "localhost", 1796479201}},
            error))
            << error;
    }
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--db", db.string()});
        Process p(HH_ALIASDB_BINARY, args);
        const int status = p.waitForExit(10s);
        return std::pair{status, p.output() + p.errors()};
    };
    const auto csv = temp / "all.csv";
    EXPECT_EQ(run({"--export", "all", "--format", "csv", "--output", csv.string()}).first, 0);
    EXPECT_EQ(
        hh::test::readFile(csv),
        "guid,name,first_seen,last_seen,times_seen,mod\r\n"
        "\"1a2b3c4d\",\"'=Sum(A1)\",2026-12-05T14:00:00Z,2026-12-05T14:00:00Z,1,\"osp\"\r\n"
        "\"1a2b3c4d\",\"Say \"\"hi\"\"\",2026-12-05T14:00:00Z,2026-12-05T14:00:00Z,1,\"\"\r\n"
        "\"deadbeef\",\"Secret Sauce\",2026-12-05T14:00:00Z,2026-12-05T14:00:00Z,1,\"osp\"\r\n");
    EXPECT_EQ(std::filesystem::status(csv).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const auto again = run({"--export", "all", "--format", "csv", "--output", csv.string()});
    EXPECT_EQ(again.first, 1);
    EXPECT_NE(again.second.find("choose another --output"), std::string::npos) << again.second;

    EXPECT_EQ(run({"--forget", "DEADBEEF"}),
              (std::pair<int, std::string>{0, "deadbeef: 1 records and 1 name links forgotten\n"}));
    // Nothing of the forgotten name stays in the database or its log.
    for (const char* suffix : {"", "-wal"}) {
        std::error_code ec;
        if (std::filesystem::exists(db.string() + suffix, ec)) {
            for (const char* trace : {"Secret Sauce", "Secret ^7Sauce"})
                EXPECT_EQ(hh::test::readFile(db.string() + suffix).find(trace), std::string::npos)
                    << suffix;
        }
    }
    const auto json = temp / "rest.json";
    EXPECT_EQ(run({"--export", "all", "--format", "json", "--output", json.string()}).second,
              json.string() + ": 2 records exported\n");
    EXPECT_EQ(hh::test::readFile(json).find("deadbeef"), std::string::npos);
    EXPECT_NE(hh::test::readFile(json).find(
                  R"({"first_seen":"2026-12-05T14:00:00Z","guid":"1a2b3c4d","last_seen":)"
                  R"("2026-12-05T14:00:00Z","mod":"","name":"Say \"hi\"","times_seen":1})"),
              std::string::npos)
        << hh::test::readFile(json);
    const auto links = temp / "links.csv";
    EXPECT_EQ(run({"--export", "links", "--format", "csv", "--output", links.string()}).first, 0);
    EXPECT_EQ(hh::test::readFile(links), "session,seq,kind,name,new_name,server,at\r\n"
                                         "\"s\",2,\"renamed\",\"Alpha\",\"Bravo\",\"localhost\","
                                         "2026-12-05T14:00:01Z\r\n");
}

} // namespace
} // namespace hh::aliasdb::test
