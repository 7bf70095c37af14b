#pragma once
// Texts cross between the logic and the widgets as 8-bit bytes (the game's
// code page, Latin-1 here); file paths as the system's local 8-bit encoding.
#include <QString>
#include <string>

namespace hh {

inline QString qs(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}
inline std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}
inline QString qpath(const std::string& path) {
    return QString::fromLocal8Bit(path.data(), qsizetype(path.size()));
}
inline std::string pathOf(const QString& path) {
    return path.toLocal8Bit().toStdString();
}

} // namespace hh
