#include "lookup/CharacterReferences.h"

#include <algorithm>
#include <array>

namespace hh {
namespace {

constexpr char32_t kReplacement = 0xFFFD; // what a browser makes of an impossible number
constexpr char32_t kLargest = 0x10FFFF;

// U+00A0..U+00FF in order.
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct Named {
    std::string_view name;
    char32_t codePoint;
};
constexpr std::array<Named, 22> kOtherNames = {{
    {"quot", 0x22},    {"apos", 0x27},    {"amp", 0x26},     {"lt", 0x3C},      {"gt", 0x3E},
    {"OElig", 0x152},  {"oelig", 0x153},  {"Scaron", 0x160}, {"scaron", 0x161}, {"Yuml", 0x178},
    {"ndash", 0x2013}, {"mdash", 0x2014}, {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"sbquo", 0x201A},
    {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bdquo", 0x201E}, {"bull", 0x2022},  {"hellip", 0x2026},
    {"euro", 0x20AC},  {"trade", 0x2122},
}};

// The longest name above, so a run of letters is never looked up longer.
constexpr std::size_t kLongestName = 6;

char32_t namedCodePoint(std::string_view name) {
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i)
        if (kLatin1Names[i] == name)
            return static_cast<char32_t>(0xA0 + i);
    for (const Named& n : kOtherNames)
        if (n.name == name)
            return n.codePoint;
    return 0;
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int digitValue(char c, int base) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A browser writes these four as references again.
void appendAsBrowserWrites(std::string& out, char32_t cp) {
    switch (cp) {
    case 0x26:
        out += "&amp;";
        return;
    case 0x3C:
        out += "&lt;";
        return;
    case 0x3E:
        out += "&gt;";
        return;
    case 0xA0:
        out += "&nbsp;";
        return;
    default:
        appendUtf8(out, cp);
    }
}

// The reference at text[at] (an '&'): its code point and length, or 0.
char32_t readReference(std::string_view text, std::size_t at, std::size_t& length) {
    std::size_t pos = at + 1;
    if (pos < text.size() && text[pos] == '#') {
        ++pos;
        int base = 10;
        if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) {
            base = 16;
            ++pos;
        }
        const std::size_t digitsStart = pos;
        char32_t value = 0;
        for (int d; pos < text.size() && (d = digitValue(text[pos], base)) >= 0; ++pos)
            value = std::min<char32_t>(value * static_cast<char32_t>(base) + d, kLargest + 1);
        if (pos == digitsStart)
            return 0;
        if (pos < text.size() && text[pos] == ';')
            ++pos;
        length = pos - at;
        const bool impossible =
            value == 0 || value > kLargest || (value >= 0xD800 && value <= 0xDFFF);
        return impossible ? kReplacement : value;
    }
    while (pos < text.size() && pos - at <= kLongestName && isAsciiLetter(text[pos]))
        ++pos;
    if (pos >= text.size() || text[pos] != ';')
        return 0;
    const char32_t cp = namedCodePoint(text.substr(at + 1, pos - at - 1));
    length = pos + 1 - at;
    return cp;
}

} // namespace

std::string decodeCharacterReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        const char32_t cp = text[i] == '&' ? readReference(text, i, length) : 0;
        if (cp == 0) {
            out += text[i++];
            continue;
        }
        appendAsBrowserWrites(out, cp);
        i += length;
    }
    return out;
}

} // namespace hh
