#pragma once
// The link workers: one thread per device operation, running the link engine at time-critical
// priority and reaching the window only through calls it runs on the window thread while the
// worker waits.
#include "app/linkfactory.h"
#include "link/linkengine.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace q7x::app {

using core::DeviceModel;

class TMainForm;

// The meeting point of a worker and the window. Once the window drops it (Cancel, window close),
// a window call the worker waits for returns at once and later calls are not made.
struct WindowGate {
    std::mutex mutex;
    std::condition_variable wake;
    bool dropped = false;
    void drop();
};

class LinkWorker : public QThread {
    Q_OBJECT
  public:
    // `image` is the encoded image of a write; the worker keeps its own copy until it ends.
    // `closing` is the window's flag that it is being closed.
    LinkWorker(TMainForm *window, link::LinkTraits traits, link::LinkOperation operation,
               DeviceModel deviceModel, std::vector<std::uint8_t> image, LinkHandle handle,
               std::shared_ptr<std::atomic<bool>> closing);
    ~LinkWorker() override;

    // Window thread (Cancel, window close): sets the cancellation flag, releases a window call
    // the worker waits for and wakes a pending transfer or pause. Never waits for the worker.
    void cancel();
    bool cancelled() const { return m_cancelled.load(); }
    link::LinkOperation operation() const { return m_operation; }
    link::LinkKind kind() const { return m_traits.kind; }
    // Set when a connect asked for the read that follows it, once this worker has ended.
    bool chainedReadRequested() const { return m_chainedRead.load(); }
    // A pause (ms) on the link's clock before the operation starts; set before start().
    void setStartPause(int ms) { m_startPauseMs = ms; }

  protected:
    void run() override;

  private:
    friend class WorkerWindowPort;
    TMainForm *m_window;
    link::LinkTraits m_traits;
    link::LinkOperation m_operation;
    DeviceModel m_deviceModel;
    std::vector<std::uint8_t> m_image;
    LinkHandle m_handle;
    std::shared_ptr<std::atomic<bool>> m_closing;
    std::shared_ptr<WindowGate> m_gate;
    std::unique_ptr<link::Transport> m_closedTransport;
    std::unique_ptr<link::Clock> m_ownClock;
    std::unique_ptr<link::WindowPort> m_port;
    std::unique_ptr<link::LinkEngine> m_engine;
    std::atomic<bool> m_chainedRead{false};
    int m_startPauseMs = 0;
    std::atomic<bool> m_cancelled{false};
    std::mutex m_runMutex;
    bool m_runEnded = false;
};

// The worker of the COM port.
class TComThread : public LinkWorker {
    Q_OBJECT
  public:
    TComThread(TMainForm *window, link::LinkOperation operation, DeviceModel deviceModel,
               std::vector<std::uint8_t> image, LinkHandle port,
               std::shared_ptr<std::atomic<bool>> closing);
};

} // namespace q7x::app
