#pragma once
// The same table in PostgreSQL, for a database shared by several machines:
// one connection, opened again when it breaks.
#include "AliasStore.h"

#include <functional>
#include <memory>

namespace hh::aliasdb {

class PostgresStore : public AliasStore {
  public:
    // `conninfo` is a libpq connection string ("host=/run/pg dbname=aliases").
    // Creates the table when missing; nullptr with a reason on failure.
    static std::unique_ptr<PostgresStore> open(const std::string& conninfo, std::string& error);

    ~PostgresStore() override;

    bool record(const std::vector<Sighting>& batch, std::string& error) override;
    bool aliasesOf(const std::string& guid, std::size_t limit, std::vector<AliasRow>& out,
                   std::string& error) override;
    bool searchNames(const std::string& part, std::size_t limit, std::vector<NameMatch>& out,
                     std::string& error) override;
    bool guidsUsingName(const std::string& nameKey, std::size_t limit,
                        std::vector<std::string>& out, std::string& error) override;
    bool forgetGuid(const std::string& guid, std::size_t& removed, std::string& error) override;
    bool exportRows(const std::string& guid, const std::string& afterGuid,
                    const std::string& afterName, std::size_t limit, std::vector<GuidAliasRow>& out,
                    std::string& error) override;
    bool recordNameEvents(const std::vector<NameEvent>& events, std::string& error) override;
    bool renamesOfName(const std::string& nameKey, std::size_t limit, std::vector<NameEvent>& out,
                       std::string& error) override;
    bool sessionEventsOfName(const std::string& session, const std::string& nameKey,
                             std::size_t limit, std::vector<NameEvent>& out,
                             std::string& error) override;
    bool forgetName(const std::string& nameKey, std::size_t& removed, std::string& error) override;
    bool exportNameEvents(const std::string& afterSession, std::int64_t afterSeq, std::size_t limit,
                          std::vector<NameEvent>& out, std::string& error) override;

    struct Connection;

  private:
    explicit PostgresStore(std::unique_ptr<Connection> c);
    bool addNameKeys(std::string& error);
    bool tryRecord(const std::vector<const Sighting*>& ordered, std::string& error, bool& retry);
    using Row = std::vector<std::string>;
    bool select(const char* sql, const std::vector<std::string>& params,
                const std::function<void(const Row&)>& onRow, std::string& error);
    bool deleteAndVacuum(const char* sql, const char* vacuum, const std::string& param,
                         std::size_t& removed, std::string& error);
    bool selectEvents(const char* where, const std::vector<std::string>& params,
                      std::vector<NameEvent>& out, std::string& error);
    std::unique_ptr<Connection> c_;
};

} // namespace hh::aliasdb
