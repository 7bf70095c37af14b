#pragma once
// The service's life: database connections for its workers, the credential,
// the log, listening, the port file, and the end on SIGTERM or SIGINT.
#include "AliasStore.h"
#include "CommandLine.h"

#include <memory>
#include <string>

namespace hh::aliasdb {

std::unique_ptr<AliasStore> openStore(const CommandLine& cl, std::string& error);

// The exit status: 0 after a signal, 1 when the service cannot start.
int runService(const CommandLine& cl);

} // namespace hh::aliasdb
