#include "lookup/AnswerPages.h"

#include <algorithm>

namespace hh {

void AnswerPages::keep(PagedAnswer answer) {
    answer_ = std::move(answer);
    shown_ = 1;
}

std::optional<std::string> AnswerPages::next(std::string& whyNot) {
    const std::size_t pages = answer_.pages.size();
    if (pages < 2) {
        whyNot = "Error! There is no long answer to page through. {'/hh more' shows the next page "
                 "of a long alias list, of '/hh all', '/hh seen' or '/hh check'}";
        return std::nullopt;
    }
    if (shown_ >= pages) {
        whyNot = "No more pages: page " + std::to_string(pages) + "/" + std::to_string(pages) +
                 " was the last.";
        return std::nullopt;
    }
    return answer_.pages[shown_++];
}

std::string pageHint(std::size_t page, std::size_t pages) {
    if (pages < 2)
        return {};
    const std::string of = std::to_string(page) + "/" + std::to_string(pages);
    return page < pages ? " {page " + of + ": '/hh more' shows the next}"
                        : " {page " + of + ", the last}";
}

std::vector<std::string> linePages(const std::string& title, const std::vector<std::string>& lines,
                                   std::size_t perPage) {
    perPage = std::max<std::size_t>(perPage, 1);
    const std::size_t pages = std::max<std::size_t>((lines.size() + perPage - 1) / perPage, 1);
    std::vector<std::string> out;
    for (std::size_t page = 0; page < pages; ++page) {
        std::string text = title;
        for (std::size_t i = page * perPage; i < std::min(lines.size(), (page + 1) * perPage); ++i)
            text += "\\n\\t" + lines[i];
        out.push_back(text + pageHint(page + 1, pages));
    }
    return out;
}

} // namespace hh
