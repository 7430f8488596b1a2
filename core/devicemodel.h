#pragma once
// The two communicator models. Every layer names the model by this one type; the numeric values
// are the model codes of a configuration file's last line.
namespace q7x::core {

enum class DeviceModel : int {
    Q71 = 71, // reports over the telephone line
    Q72 = 72, // reports over GSM
};

constexpr int modelCode(DeviceModel model) { return static_cast<int>(model); }

} // namespace q7x::core
