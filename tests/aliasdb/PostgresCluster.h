#pragma once
// A throwaway PostgreSQL server for the tests: initdb + pg_ctl on a Unix
// socket in a temporary folder (as the postgres user when run as root), or
// the server named by HH_TEST_POSTGRES. Each test gets its own schema.
#include <string>

namespace hh::aliasdb::test {

class PostgresCluster {
  public:
    // Started on first use, stopped when the test program ends.
    static PostgresCluster& instance();
    bool available() const { return !conninfo_.empty(); }
    const std::string& whyNot() const { return whyNot_; }
    // A connection string whose search_path is a fresh, empty schema.
    std::string freshSchema();
    // Runs one statement on the server (for test setup); false on error.
    bool exec(const std::string& sql) const;
    void shutdown();

  private:
    PostgresCluster();
    std::string conninfo_;
    std::string whyNot_;
    std::string dir_; // our own cluster's folder, empty when the CI provides one
    int schemas_ = 0;
};

} // namespace hh::aliasdb::test
