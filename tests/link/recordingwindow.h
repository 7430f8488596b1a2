#pragma once
// A WindowPort that records every call as a line of text, for link engine tests.
#include <functional>
#include <string>
#include <vector>

#include "link/windowport.h"

namespace q7x::link::test {

inline const char *buttonName(ButtonEvent e) {
    switch (e) {
    case ButtonEvent::ConnectFailed:
        return "ConnectFailed";
    case ButtonEvent::LinkFailed:
        return "LinkFailed";
    case ButtonEvent::ClockFailed:
        return "ClockFailed";
    case ButtonEvent::Q72Finished:
        return "Q72Finished";
    case ButtonEvent::Q71Finished:
        return "Q71Finished";
    case ButtonEvent::CancelOnly:
        return "CancelOnly";
    }
    return "?";
}

inline const char *modelName(DeviceModel m) { return m == DeviceModel::Q71 ? "Q71" : "Q72"; }

class RecordingWindow : public WindowPort {
  public:
    std::vector<std::string> calls;  // everything but progress
    std::vector<int> progressValues; // every progress report
    std::vector<int> statuses;       // LinkStatus codes in order
    std::vector<std::uint8_t> image; // the last delivered image
    std::vector<std::string> memo;   //
    ClockStamp stamp;                // returned by takeClockStamp
    int stampsTaken = 0;             //
    std::function<void()> onCall;    // runs at the start of every call

    void showLinkStatus(LinkStatus s, int argument) override {
        hook();
        statuses.push_back(static_cast<int>(s));
        calls.push_back("status " + std::to_string(static_cast<int>(s)) +
                        (argument ? " " + std::to_string(argument) : std::string()));
    }
    void showModemStateText(int n) override {
        hook();
        calls.push_back("state M" + std::to_string(n));
    }
    void reportProgress(int percent) override {
        hook();
        progressValues.push_back(percent);
    }
    void setButtons(ButtonEvent e) override {
        hook();
        calls.push_back(std::string("buttons ") + buttonName(e));
    }
    void showQ72Firmware(const std::string &firmware) override {
        hook();
        calls.push_back("firmware " + firmware);
    }
    void showQ71Firmware(int number) override {
        hook();
        calls.push_back("firmware71 " + std::to_string(number));
    }
    void showModelLabel(DeviceModel m) override {
        hook();
        calls.push_back(std::string("label ") + modelName(m));
    }
    void adaptToModel(DeviceModel m) override {
        hook();
        calls.push_back(std::string("adapt ") + modelName(m));
    }
    void showLinkReady() override {
        hook();
        calls.push_back("ready");
    }
    ClockStamp takeClockStamp() override {
        hook();
        ++stampsTaken;
        calls.push_back("stamp");
        return stamp;
    }
    void showDeviceClock(const DeviceClock &c) override {
        hook();
        calls.push_back("clock " + formatClockDate(c) + " " + formatClockTime(c));
    }
    void deliverImage(DeviceModel m, std::span<const std::uint8_t> bytes) override {
        hook();
        image.assign(bytes.begin(), bytes.end());
        calls.push_back(std::string("image ") + modelName(m) + " " + std::to_string(bytes.size()));
    }
    void appendMemoLine(const std::string &line) override {
        hook();
        memo.push_back(line);
    }
    void startChainedRead() override {
        hook();
        calls.push_back("chain read");
    }
    void closeLink() override {
        hook();
        calls.push_back("close");
    }

  private:
    void hook() {
        if (onCall)
            onCall();
    }
};

} // namespace q7x::link::test
