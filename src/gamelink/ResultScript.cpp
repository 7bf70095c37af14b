// The result script hh.cfg: the game runs it on the Status key, and every
// line of it is a console command. The message is the program's own text,
// but parts of it come from web pages and from the console dump, so it is
// treated as hostile. The game's command buffer and tokenizer decide what is
// safe:
//
// - Every line starts with "echo " and is at most 1,020 bytes before its
//   CR LF: the engine cuts a command line at 1,023 bytes and runs the rest
//   as a new command. A longer line continues on a further "echo ^3" line,
//   broken at its last blank that fits (the line break takes the blank's
//   place), or hard where there is no blank; no text is dropped.
// - The whole file stays under 15 KiB: a file that does not fit the original
//   engine's 16 KiB command buffer (which also holds the bind that runs it)
//   is not run at all. Only past that limit is the message cut, and the cut
//   is shown as "...".
// - Only printable ASCII (0x20-0x7E) is written. Raw CR, LF and TAB in a
//   message become blanks (only the two characters backslash-n make a new
//   line); other control bytes and DEL become '?'. Bytes of 0x80 and above
//   are read as UTF-8, or as Windows-1252 where they are no valid UTF-8, and
//   common accented letters and typographic marks are spelt in ASCII
//   (e -> e with its accent dropped, ss for sharp s); anything else is '?'.
// - ';' becomes ':' (it would end the command), '"' becomes '\'' (quotes
//   group text and change where ';' counts), and the pairs "//" and "/*"
//   get a colour code between their characters ("/^3/"): "//" hides the
//   rest of the line, and "/*" lets a later "*/" start a new command.
//
// Within those rules the message conventions apply as the game-side texts
// expect: backslash-n starts a new echo line, backslash-t is four blanks, a
// blank before '{' starts an indented hint line, and every blank is followed
// by "^3" so the text stays yellow and indentation survives.
#include "gamelink/ResultScript.h"

#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/DumpPaths.h"
#include "platform/Files.h"
#include "settings/Settings.h"

#include <array>
#include <utility>
#include <vector>

namespace hh {
namespace {

constexpr const char* kWaiting = "Waiting for Command. . .";
constexpr std::string_view kEcho = "echo ";
constexpr std::string_view kContinuation = "echo ^3";
constexpr std::string_view kCutMark = "...";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kMaxLineBytes = 1020;
constexpr std::size_t kMaxFileBytes = 15 * 1024;
// Every message byte yields at least a quarter of an output byte (a
// four-byte UTF-8 letter becomes one '?'), so a longer message cannot fit
// the file anyway; cutting it first bounds the work.
constexpr std::size_t kMaxMessageBytes = 4 * kMaxFileBytes + 4;

// ASCII spelling of U+00C0..U+00FF.
constexpr std::array<const char*, 64> kLatin1Letters = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I",  "I",
    "D", "N", "O", "O", "O", "O", "O",  "x", "O", "U", "U", "U", "U", "Y", "Th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "?", "o", "u", "u", "u", "u", "y", "th", "y"};

struct Spelling {
    char32_t codePoint;
    const char* ascii;
};
// Marks and letters outside that block that player names and web pages use.
constexpr std::array<Spelling, 22> kOtherSpellings = {{
    {0x00A0, " "}, {0x00A1, "!"},  {0x00AB, "<<"},  {0x00B4, "'"},   {0x00B7, "."}, {0x00BB, ">>"},
    {0x00BF, "?"}, {0x0152, "OE"}, {0x0153, "oe"},  {0x0160, "S"},   {0x0161, "s"}, {0x0178, "Y"},
    {0x017D, "Z"}, {0x017E, "z"},  {0x2013, "-"},   {0x2014, "-"},   {0x2018, "'"}, {0x2019, "'"},
    {0x201C, "'"}, {0x201D, "'"},  {0x2026, "..."}, {0x20AC, "EUR"},
}};

// Windows-1252's 0x80-0x9F (the rest of its upper half is Latin-1); 0 where
// it defines nothing useful here.
constexpr std::array<char32_t, 32> kCp1252Upper = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0,      0,      0,      0,      0x0160,
    0,      0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0,
    0x2013, 0x2014, 0,      0,      0x0161, 0,      0x0153, 0,      0x017E, 0x0178};

std::string_view asciiFor(char32_t cp) {
    if (cp >= 0xC0 && cp <= 0xFF)
        return kLatin1Letters[cp - 0xC0];
    for (const Spelling& s : kOtherSpellings)
        if (s.codePoint == cp)
            return s.ascii;
    return "?";
}

// Code point of the UTF-8 sequence starting at s[i] and its length; 0 when
// no valid (shortest-form) sequence starts there.
char32_t decodeUtf8(std::string_view s, std::size_t i, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    length = n;
    return cp;
}

char32_t fromCp1252(unsigned char byte) {
    return byte >= 0xA0 ? char32_t{byte} : kCp1252Upper[byte - 0x80];
}

std::string toPrintableAscii(std::string_view message) {
    std::string out;
    out.reserve(message.size());
    for (std::size_t i = 0; i < message.size();) {
        const auto byte = static_cast<unsigned char>(message[i]);
        if (byte >= 0x80) {
            std::size_t length = 1;
            char32_t cp = decodeUtf8(message, i, length);
            if (cp == 0)
                cp = fromCp1252(byte);
            out += asciiFor(cp);
            i += length;
            continue;
        }
        if (byte == '\r' || byte == '\n' || byte == '\t')
            out += ' ';
        else if (byte < 0x20 || byte == 0x7F)
            out += '?';
        else if (byte == ';')
            out += ':';
        else if (byte == '"')
            out += '\'';
        else
            out += static_cast<char>(byte);
        ++i;
    }
    return out;
}

// The message conventions, each on the result of the one before, so that
// the blanks the first three insert also get their colour code.
std::string applyConventions(std::string_view text) {
    std::string t = replaceAll(text, "\\n", "\r\necho ");
    t = replaceAll(t, "\\t", "    ");
    t = replaceAll(t, " {", "\r\necho   ^3- {");
    t = "echo ^3" + replaceAll(t, " ", " ^3");
    return trimBlanks(t);
}

std::string breakCommentPairs(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '/' && i + 1 < text.size() && (text[i + 1] == '/' || text[i + 1] == '*'))
            out += "^3";
    }
    return out;
}

// `line` as lines of at most kMaxLineBytes, each starting with "echo ".
void appendWrapped(std::vector<std::string>& lines, std::string_view line) {
    std::string current(line);
    // A brace line right after a backslash-n loses the blank of its "echo ".
    if (!startsWith(current, kEcho))
        current = std::string(kEcho) + (current == "echo" ? std::string() : current);
    while (current.size() > kMaxLineBytes) {
        std::size_t cut = current.rfind(' ', kMaxLineBytes);
        const bool atBlank = cut != std::string::npos && cut > kContinuation.size();
        if (!atBlank) {
            cut = kMaxLineBytes;
            if (current[cut - 1] == '^') // keep a colour code whole
                --cut;
        }
        lines.push_back(current.substr(0, cut));
        current = std::string(kContinuation) + current.substr(atBlank ? cut + 1 : cut);
    }
    lines.push_back(std::move(current));
}

std::string fitIntoFile(const std::vector<std::string>& lines) {
    // Room kept after every line but the last for a cut line "echo ...".
    const std::size_t cutLineBytes = kEcho.size() + kCutMark.size() + kLineEnd.size();
    std::string file;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const bool last = i + 1 == lines.size();
        if (file.size() + line.size() + kLineEnd.size() + (last ? 0 : cutLineBytes) <=
            kMaxFileBytes) {
            file.append(line).append(kLineEnd);
            continue;
        }
        const std::size_t room = kMaxFileBytes - file.size() - kCutMark.size() - kLineEnd.size();
        file.append(line.substr(0, room)).append(kCutMark).append(kLineEnd);
        break;
    }
    return file;
}

} // namespace

std::string renderResultScript(std::string_view message) {
    if (message.empty() || message == "vstr runHHScript")
        message = kWaiting;
    const std::string text =
        breakCommentPairs(applyConventions(toPrintableAscii(message.substr(0, kMaxMessageBytes))));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(kLineEnd, start);
        appendWrapped(lines, std::string_view(text).substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + kLineEnd.size();
    }
    return fitIntoFile(lines);
}

ResultScriptWriter::ResultScriptWriter(const SharedState& state, const Settings& settings,
                                       std::function<void(const std::string&)> onError)
    : state_(state), settings_(settings), onError_(std::move(onError)) {}

std::filesystem::path ResultScriptWriter::resultScriptPath() const {
    return pathOf(gameFolderPath(state_.gDumpFileAbsPath) + settings_.baseFolder() + "/hh.cfg");
}

bool ResultScriptWriter::writeResultScript(const std::string& message) {
    if (message == "none")
        return true;
    previous_ = std::exchange(current_, message);
    const std::filesystem::path path = resultScriptPath();
    std::string error;
    // Without a known game folder the path would point into whatever the
    // current folder is.
    if (!path.is_absolute())
        error = "the game folder is not set";
    // An answer lives seconds; flushing it to disk would only make the player
    // wait. The rename still keeps a crash from leaving half a script.
    else if (writeFileAtomically(path, renderResultScript(message), &error,
                                 Durability::ProcessCrashOnly)) {
        lastError_.clear();
        return true;
    }
    std::string report = missingGameFolderMessage(state_.gDumpFileAbsPath);
    if (report.empty())
        report = "Error! The result script could not be written: " + error;
    // Every answer and timer tick writes the script: one report per lasting
    // failure, not one per write.
    if (report != lastError_ && onError_)
        onError_(report);
    lastError_ = report;
    return false;
}

bool ResultScriptWriter::restorePreviousScript() {
    return writeResultScript(std::string(previous_));
}

} // namespace hh
