#include "shell/ViewTexts.h"

#include "common/Version.h"

namespace hh {

std::string aboutCaption() {
    return std::string(texts::kCompanyName) + " - Handlehound";
}

std::string aboutVersion() {
    return "Version " + versionText();
}

} // namespace hh
