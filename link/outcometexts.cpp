#include "link/outcometexts.h"

namespace q7x::link {

namespace {

// The USB worker shows these two boxes with fixed texts in every language.
constexpr const char *UsbVerifyFailedText =
    "Ошибка при контрольном считывании записанной информации. Запишите конфигурацию в файл, "
    "устраните причину, повторите попытку записи в прибор! ";
constexpr const char *UsbClockNotReadText =
    "Ошибка установки времени в модем. Связь с ПК прервана. Установите связь и заново "
    "запустите модем.";
// No message of the language libraries covers a PC year the device clock cannot hold.
constexpr const char *ClockYearText =
    "Часы модема не могут хранить текущий год (после 2063). Время в модеме не установлено.";

} // namespace

StatusDisplay statusDisplay(LinkStatus status, LinkKind kind) {
    const bool usb = kind == LinkKind::Usb;
    StatusDisplay d;
    switch (status) {
    case LinkStatus::NoAnswerAtConnect:
        d.barMessage = 1025;
        d.boxMessage = 1025;
        break;
    case LinkStatus::Q71Refused:
        d.barMessage = 1027;
        break;
    case LinkStatus::ByteNotReceived:
        d.barMessage = 1029;
        break;
    case LinkStatus::ConnectAttempt:
        d.barMessage = 1030;
        d.barFormatsArgument = true;
        break;
    case LinkStatus::Q72Identified:
        d.barMessage = 1578;
        break;
    case LinkStatus::WriteCompleted:
        d.barMessage = 1039;
        break;
    case LinkStatus::ReadCompleted:
        d.barMessage = 1040;
        break;
    case LinkStatus::ConnectCancelled:
        d.barMessage = 1042;
        break;
    case LinkStatus::ModemFailed:
        d.barMessage = 1581;
        break;
    case LinkStatus::ModemStarted:
        d.barMessage = 1583;
        break;
    case LinkStatus::Q72NoAnswer:
        d.barMessage = 1586;
        d.boxMessage = 1587;
        break;
    case LinkStatus::VerifyFailed:
        d.barMessage = 1588;
        if (usb)
            d.boxFixedText = UsbVerifyFailedText;
        else
            d.boxMessage = 1589;
        break;
    case LinkStatus::ClockNotRead:
        d.barMessage = 1590;
        if (usb)
            d.boxFixedText = UsbClockNotReadText;
        else
            d.boxMessage = 1591;
        break;
    case LinkStatus::Q71Identified:
        d.barMessage = 1592;
        break;
    case LinkStatus::ClockYearUnsupported:
        d.barFixedText = ClockYearText;
        d.boxFixedText = ClockYearText;
        break;
    }
    return d;
}

OpenFailureTexts portFailureTexts(PortFailure failure) {
    switch (failure) {
    case PortFailure::None:
        return {};
    case PortFailure::NoSuchDevice:
        return {1601, false, 1602};
    case PortFailure::NoPermission:
        return {1603, false, 1604};
    case PortFailure::Busy:
        return {1605, false, 1606};
    case PortFailure::LockFile:
        return {1607, true, 1606};
    case PortFailure::NotATerminal:
        return {1608, false, 1602};
    case PortFailure::Other:
        return {1609, true, 0};
    }
    return {};
}

OpenFailureTexts usbFailureTexts(FtStatus status) {
    if (status == FtNoPermission)
        return {1610, false, 1611};
    if (status == FtDeviceNotOpened)
        return {1612, false, 0};
    return {};
}

} // namespace q7x::link
