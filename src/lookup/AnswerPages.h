#pragma once
// Answers too long for one look at the game console: the first page is the
// answer, the rest wait for "/hh more". Every page is a message of its own,
// so it keeps within the result script's line and file limits.
#include <optional>
#include <string>
#include <vector>

namespace hh {

struct PagedAnswer {
    std::vector<std::string> pages; // messages, the first already shown
    bool copyToClip = false;        // how the answer's result calls treat each page
    bool log = true;
};

class AnswerPages {
  public:
    // Replaces what was kept; an answer of one page leaves nothing to page through.
    void keep(PagedAnswer answer);
    // The next page, or nullopt with the message that says why there is none.
    std::optional<std::string> next(std::string& whyNot);
    const PagedAnswer& answer() const { return answer_; }

  private:
    PagedAnswer answer_;
    std::size_t shown_ = 0;
};

// " {page 2/5: '/hh more' shows the next}", " {page 5/5, the last}", or ""
// for an answer of one page.
std::string pageHint(std::size_t page, std::size_t pages);

// Lines under a title, at most `perPage` lines to a page: the title, each
// line indented on its own, and the page hint.
std::vector<std::string> linePages(const std::string& title, const std::vector<std::string>& lines,
                                   std::size_t perPage);

} // namespace hh
