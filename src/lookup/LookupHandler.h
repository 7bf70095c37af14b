#pragma once
// The GUID lookup: sends the request to the alias database and turns the
// page that comes back into the result call.
#include "lookup/AnswerPages.h"

#include <functional>
#include <string>

namespace hh {

struct SharedState;
struct Platform;
class MainView;
class Settings;
class ResultCall;

class LookupHandler {
  public:
    LookupHandler(SharedState& state, Settings& settings, Platform& platform, MainView& view,
                  ResultCall& result);

    // An address given on the command line wins over Main / LookupURL.
    void setLookupUrlOverride(const std::string& url);
    // True when neither names an address: the program's own alias database
    // is asked, at the address the program gives it below.
    bool usesOwnService() const;
    // The own alias database's address ("" while none runs, and always on
    // Windows: lookups then answer noAddressError(), and no sightings are sent).
    void setOwnServiceAddress(const std::string& address);
    // The lookup address (scheme, host and port, no path).
    std::string lookupAddress() const;
    // The answer to a lookup while there is no address to ask.
    static std::string noAddressError();
    // Called after the "UNKNOWN URL" result.
    void setClearLastCommand(std::function<void()> clearLastCommand);

    // Loads lookupAddress() + "?guid=" + guid; the page arrives later.
    void lookupGuid(const std::string& guid);
    // The names `name` is linked to by renames the console showed; when none
    // are known (or the database cannot say), answers with `withoutLinks`,
    // the error the lookup would have given.
    void lookupNameLinks(const std::string& name, const std::string& withoutLinks,
                         const std::string& withoutLinksSound = "close.wav");
    // The page-loaded handler. A fetch that failed (time-out, refused, DNS)
    // arrives as the browser's own error page.
    void onLookupPageLoaded(const std::string& url, const std::string& html);
    // The pages of the last long answer, for "/hh more".
    AnswerPages& pages() { return pages_; }

  private:
    SharedState& state_;
    Settings& settings_;
    Platform& platform_;
    MainView& view_;
    ResultCall& result_;
    std::string urlOverride_;
    std::string ownServiceAddress_;
    std::function<void()> clearLastCommand_;
    AnswerPages pages_;
};

} // namespace hh
