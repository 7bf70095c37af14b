#include "PostgresCluster.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace hh::aliasdb::test {

namespace {

namespace fs = std::filesystem;

std::string findBinDir() {
    for (const char* dir : {"/usr/lib/postgresql/15/bin", "/usr/lib/postgresql/16/bin",
                            "/usr/lib/postgresql/17/bin", "/usr/lib/postgresql/14/bin"})
        if (fs::exists(fs::path(dir) / "initdb") && fs::exists(fs::path(dir) / "pg_ctl"))
            return dir;
    return {};
}

class StopAtExit : public ::testing::Environment {
  public:
    void TearDown() override { PostgresCluster::instance().shutdown(); }
};

} // namespace

PostgresCluster& PostgresCluster::instance() {
    static PostgresCluster cluster;
    return cluster;
}

PostgresCluster::PostgresCluster() {
    if (const char* given = std::getenv("HH_TEST_POSTGRES"); given && *given) {
        conninfo_ = given;
        ::testing::AddGlobalTestEnvironment(new StopAtExit);
        return;
    }
    const std::string bin = findBinDir();
    if (bin.empty()) {
        whyNot_ = "no initdb/pg_ctl under /usr/lib/postgresql/*/bin and HH_TEST_POSTGRES unset";
        return;
    }
    char pattern[] = "/tmp/hh-pg-XXXXXX";
    if (!::mkdtemp(pattern)) {
        whyNot_ = "cannot make a temporary folder";
        return;
    }
    dir_ = pattern;
    // PostgreSQL refuses to run as root: hand the folder to its own user.
    std::string as;
    if (::geteuid() == 0) {
        const passwd* pg = ::getpwnam("postgres");
        if (!pg || ::chown(dir_.c_str(), pg->pw_uid, pg->pw_gid) != 0) {
            whyNot_ = "running as root and there is no postgres user to run the server";
            return;
        }
        as = "runuser -u postgres -- ";
    }
    const std::string data = dir_ + "/data";
    const std::string init = as + bin + "/initdb -D " + data +
                             " -A trust -U postgres -E UTF8 --locale=C --no-sync >" + dir_ +
                             "/initdb.log 2>&1";
    const std::string start =
        as + bin + "/pg_ctl -D " + data + " -l " + dir_ + "/server.log -w -t 30 -o \"-k " + dir_ +
        " -c listen_addresses='' -c fsync=off -p 5432\" start >/dev/null 2>&1";
    if (std::system(init.c_str()) != 0 || std::system(start.c_str()) != 0) {
        whyNot_ = "PostgreSQL did not start (see " + dir_ + "/initdb.log and server.log)";
        return;
    }
    conninfo_ = "host=" + dir_ + " port=5432 user=postgres dbname=postgres";
    ::testing::AddGlobalTestEnvironment(new StopAtExit);
}

void PostgresCluster::shutdown() {
    if (conninfo_.empty())
        return;
    if (dir_.empty()) { // a server of the CI's: leave it as it was
        for (int n = 1; n <= schemas_; ++n)
            exec("DROP SCHEMA IF EXISTS hh_test_" + std::to_string(::getpid()) + "_" +
                 std::to_string(n) + " CASCADE");
        conninfo_.clear();
        return;
    }
    const std::string as = ::geteuid() == 0 ? "runuser -u postgres -- " : "";
    const std::string stop = as + findBinDir() + "/pg_ctl -D " + dir_ +
                             "/data -m immediate -w -t 30 stop >/dev/null 2>&1";
    [[maybe_unused]] int rc = std::system(stop.c_str());
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
    conninfo_.clear();
}

bool PostgresCluster::exec(const std::string& sql) const {
    PGconn* c = PQconnectdb(conninfo_.c_str());
    PQsetNoticeProcessor(
        c, [](void*, const char*) {}, nullptr);
    PGresult* r = PQexec(c, sql.c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    PQfinish(c);
    return ok;
}

std::string PostgresCluster::freshSchema() {
    const std::string schema =
        "hh_test_" + std::to_string(::getpid()) + "_" + std::to_string(++schemas_);
    if (!exec("DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema))
        return {};
    return conninfo_ + " options='-c search_path=" + schema + "'";
}

} // namespace hh::aliasdb::test
