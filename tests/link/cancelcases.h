#pragma once
// The operations the randomized cancellation tests run, each against the device it expects.
#include "link/linkengine.h"
#include "tools/q7xsim/devicesim.h"

namespace q7x::link::test {

struct CancelCase {
    LinkOperation operation;
    q7x::sim::Model device;
    DeviceModel model;
};

inline const CancelCase CancelCases[] = {
    {LinkOperation::Connect, q7x::sim::Model::Q72, DeviceModel::Q72},
    {LinkOperation::Connect, q7x::sim::Model::Q71, DeviceModel::Q72},
    {LinkOperation::ReadQ72, q7x::sim::Model::Q72, DeviceModel::Q72},
    {LinkOperation::WriteQ72, q7x::sim::Model::Q72, DeviceModel::Q72},
    {LinkOperation::ReadQ71, q7x::sim::Model::Q71, DeviceModel::Q71},
    {LinkOperation::WriteQ71, q7x::sim::Model::Q71, DeviceModel::Q71},
    {LinkOperation::RunModem, q7x::sim::Model::Q72, DeviceModel::Q72},
};

} // namespace q7x::link::test
