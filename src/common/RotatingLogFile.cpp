#include "common/RotatingLogFile.h"

#include <fstream>
#include <system_error>

namespace hh {
namespace fs = std::filesystem;

RotatingLogFile::RotatingLogFile(fs::path file, std::uintmax_t limit)
    : file_(std::move(file)), limit_(limit) {}

bool RotatingLogFile::append(std::string_view text, std::string* error) {
    std::lock_guard lock(mutex_);
    if (!rotateIfFull(text.size(), error))
        return false;
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
        if (error)
            *error = "Cannot write " + file_.string();
        return false;
    }
    return true;
}

bool RotatingLogFile::makeRoom(std::uintmax_t incoming, std::string* error) {
    std::lock_guard lock(mutex_);
    return rotateIfFull(incoming, error);
}

bool RotatingLogFile::rotateIfFull(std::uintmax_t incoming, std::string* error) {
    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);
    if (ec) {
        if (error)
            *error = "Cannot create " + file_.parent_path().string() + ": " + ec.message();
        return false;
    }
    const std::uintmax_t size = fs::file_size(file_, ec);
    if (ec || size == 0 || size + incoming <= limit_)
        return true; // a missing file is simply started by the write
    fs::path older = file_;
    older += ".1";
    fs::rename(file_, older, ec);
    if (ec) {
        if (error)
            *error = "Cannot rotate " + file_.string() + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace hh
