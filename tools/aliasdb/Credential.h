#pragma once
// The owner's credential: a secret of 32 random bytes, written as 64 hex
// digits in a file that only its owner may read. The file is how the secret
// reaches the service; it never appears on a command line (any local user
// can read those) or in a URL.
#include <filesystem>
#include <string>

namespace hh::aliasdb {

// Reads the secret from `file`, or creates the file (mode 0600) with a fresh
// one when it does not exist. False with a reason when the file is open to
// other users, belongs to another, or holds no secret.
bool loadOrCreateCredential(const std::filesystem::path& file, std::string& secret,
                            std::string& error);

} // namespace hh::aliasdb
