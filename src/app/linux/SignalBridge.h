#pragma once
// SIGINT and SIGTERM as a Qt signal on the UI thread (a self-pipe read by a
// socket notifier), so the program ends through its normal shutdown.
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace hh {

class SignalBridge : public QObject {
    Q_OBJECT
  public:
    explicit SignalBridge(std::function<void()> onTerminate);
    ~SignalBridge() override;

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onTerminate_;
};

} // namespace hh
