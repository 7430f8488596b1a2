#include "app/linkworker.h"

#include "app/mainform.h"
#include "link/systemclock.h"

#include <QMetaObject>

namespace q7x::app {

void WindowGate::drop() {
    {
        std::lock_guard lock(mutex);
        dropped = true;
    }
    wake.notify_all();
}

namespace {

// The carrier of a worker that was started without an open link: every transfer fails at once,
// as on a closed handle.
class ClosedTransport : public link::Transport {
  public:
    bool send(std::span<const std::uint8_t>) override { return false; }
    link::ReceiveResult receive(std::span<std::uint8_t>) override { return {0, false}; }
    void purge() override {}
    void interrupt() override {}
};

} // namespace

// The window as the engine sees it: each call runs on the window thread while the worker waits.
class WorkerWindowPort : public link::WindowPort {
  public:
    explicit WorkerWindowPort(LinkWorker &worker) : w(worker) {}

    void showLinkStatus(link::LinkStatus status, int argument) override {
        const link::LinkKind kind = w.kind();
        if (status == link::LinkStatus::ConnectCancelled && dropped()) {
            // The one text a cancelled connect still shows; nobody waits for it.
            TMainForm *window = w.m_window;
            auto closing = w.m_closing;
            QMetaObject::invokeMethod(
                window,
                [window, closing, status, argument, kind] {
                    if (!closing->load())
                        window->ShowLinkStatus(status, argument, kind);
                },
                Qt::QueuedConnection);
            return;
        }
        call([=](TMainForm &f) { f.ShowLinkStatus(status, argument, kind); });
    }
    void showModemStateText(int n) override {
        call([=](TMainForm &f) { f.ShowModemStateText(n); });
    }
    void reportProgress(int percent) override {
        call([=](TMainForm &f) { f.ReportProgress(percent); });
    }
    void setButtons(link::ButtonEvent e) override {
        call([=](TMainForm &f) { f.SetLinkButtons(e); });
    }
    void showQ72Firmware(const std::string &firmware) override {
        const QString text = QString::fromStdString(firmware);
        call([=](TMainForm &f) { f.ShowQ72Firmware(text); });
    }
    void showQ71Firmware(int number) override {
        call([=](TMainForm &f) { f.ShowQ71Firmware(number); });
    }
    void showModelLabel(DeviceModel model) override {
        call([=](TMainForm &f) { f.ShowModelLabel(model); });
    }
    void adaptToModel(DeviceModel model) override {
        call([=](TMainForm &f) { f.ModelAdaptation(model); });
    }
    void showLinkReady() override {
        call([](TMainForm &f) { f.ShowLinkReady(); });
    }
    std::optional<link::ClockStamp> takeClockStamp() override {
        auto stamp = std::make_shared<link::ClockStamp>();
        if (!call([stamp](TMainForm &f) { *stamp = f.TakeClockStamp(); }))
            return std::nullopt;
        return *stamp;
    }
    void showDeviceClock(const link::DeviceClock &clock) override {
        call([=](TMainForm &f) { f.ShowDeviceClock(clock); });
    }
    void deliverImage(DeviceModel model, std::span<const std::uint8_t> image) override {
        // The window's copy: a call dropped while it waits must not read the worker's buffer.
        std::vector<std::uint8_t> copy(image.begin(), image.end());
        call([model, copy = std::move(copy)](TMainForm &f) { f.HandOverImage(model, copy); });
    }
    void appendMemoLine(const std::string &line) override {
        const QString text = QString::fromStdString(line);
        call([=](TMainForm &f) { f.Memo1->addLine(text); });
    }
    void startChainedRead() override {
        // Started by the window when this worker has ended, so that the two never share the port.
        w.m_chainedRead.store(true);
    }
    void closeLink() override {
        const link::LinkKind kind = w.kind();
        call([=](TMainForm &f) { f.CloseLink(kind); });
    }

  private:
    bool dropped() const {
        std::lock_guard lock(w.m_gate->mutex);
        return w.m_gate->dropped;
    }

    // Runs fn on the window thread and waits for it, or until the window drops the worker; true
    // when fn ran to its end.
    template <class F> bool call(F fn) {
        const std::shared_ptr<WindowGate> gate = w.m_gate;
        if (dropped() || w.m_closing->load())
            return false;
        auto done = std::make_shared<bool>(false);
        TMainForm *window = w.m_window;
        QMetaObject::invokeMethod(
            window,
            [gate, done, window, fn = std::move(fn)] {
                {
                    std::lock_guard lock(gate->mutex);
                    if (gate->dropped)
                        return;
                }
                fn(*window);
                {
                    std::lock_guard lock(gate->mutex);
                    *done = true;
                }
                gate->wake.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(gate->mutex);
        gate->wake.wait(lock, [&] { return *done || gate->dropped; });
        return *done;
    }

    LinkWorker &w;
};

LinkWorker::LinkWorker(TMainForm *window, link::LinkTraits traits, link::LinkOperation operation,
                       DeviceModel deviceModel, std::vector<std::uint8_t> image, LinkHandle handle,
                       std::shared_ptr<std::atomic<bool>> closing)
    : m_window(window), m_traits(traits), m_operation(operation), m_deviceModel(deviceModel),
      m_image(std::move(image)), m_handle(std::move(handle)), m_closing(std::move(closing)),
      m_gate(std::make_shared<WindowGate>()) {
    link::Transport *transport = m_handle.transport.get();
    if (!transport) {
        m_closedTransport = std::make_unique<ClosedTransport>();
        transport = m_closedTransport.get();
    }
    link::Clock *clock = m_handle.clock.get();
    if (!clock) {
        m_ownClock = std::make_unique<link::SystemClock>();
        clock = m_ownClock.get();
    }
    m_port = std::make_unique<WorkerWindowPort>(*this);
    m_engine = std::make_unique<link::LinkEngine>(*transport, *clock, *m_port, m_traits);
}

LinkWorker::~LinkWorker() {
    // The window deletes a worker only after it has ended.
    wait();
}

void LinkWorker::cancel() {
    m_cancelled.store(true);
    {
        // The engine first: a window call the worker is waiting for and that is now released
        // must find the engine cancelled, or the worker would go on with what the call left
        // unset (a clock stamp the window never took, for one). Once the run has ended the
        // worker holds no link any more: nothing left to wake.
        std::lock_guard lock(m_runMutex);
        if (!m_runEnded)
            m_engine->cancel();
    }
    m_gate->drop();
}

void LinkWorker::run() {
    link::Transport *transport =
        m_handle.transport ? m_handle.transport.get() : m_closedTransport.get();
    // A port just opened settles before the first transfer; Cancel cuts the pause short.
    if (m_startPauseMs > 0)
        (m_handle.clock ? m_handle.clock.get() : m_ownClock.get())->pause(m_startPauseMs);
    // Nothing left over from an earlier operation may pass for an answer.
    transport->purge();
    m_engine->run(m_operation, m_deviceModel, m_image);
    transport->purge();
    {
        std::lock_guard lock(m_runMutex);
        m_runEnded = true;
    }
    // This worker's hold on the link ends here; after a Cancel or a failure the window has let go
    // already, so the port closes now, on the thread that used it.
    m_handle = {};
}

TComThread::TComThread(TMainForm *window, link::LinkOperation operation, DeviceModel deviceModel,
                       std::vector<std::uint8_t> image, LinkHandle port,
                       std::shared_ptr<std::atomic<bool>> closing)
    : LinkWorker(window, link::serialTraits(), operation, deviceModel, std::move(image),
                 std::move(port), std::move(closing)) {}

} // namespace q7x::app
