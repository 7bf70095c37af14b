#pragma once
#include "platform/EventPump.h"

namespace hh {

class QtEventPump : public EventPump {
  public:
    void processPendingEvents() override;
    void postToUiThread(std::function<void()> work) override;
};

} // namespace hh
