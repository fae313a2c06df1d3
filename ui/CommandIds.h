// wx identifiers of the commands. wx takes menu identifiers below 0x7FFF only
// (wxMSW reads a menu command's identifier as a signed 16-bit value), while
// the commands are numbered from 0x8000 (the application's) and from 0xE000
// (the framework's: ID_FILE_NEW, ID_APP_EXIT, ...). Each range is moved down
// into one of its own, above the identifiers wx keeps for itself.
#pragma once

constexpr int kApplicationCommandFirst = 0x8000;
constexpr int kFrameworkCommandFirst = 0xE000;
constexpr int kCommandRangeSize = 0x2000;
constexpr int kWxFrameworkCommandBase = 8000;
constexpr int kWxApplicationCommandBase = kWxFrameworkCommandBase + kCommandRangeSize;

// The wx identifier of command.
constexpr int WxIdFromCommand(int command) {
    if (command >= kFrameworkCommandFirst && command < kFrameworkCommandFirst + kCommandRangeSize) {
        return command - kFrameworkCommandFirst + kWxFrameworkCommandBase;
    }
    if (command >= kApplicationCommandFirst &&
        command < kApplicationCommandFirst + kCommandRangeSize) {
        return command - kApplicationCommandFirst + kWxApplicationCommandBase;
    }
    return command;
}

// The command of a wx identifier.
constexpr int CommandFromWxId(int id) {
    if (id >= kWxFrameworkCommandBase && id < kWxFrameworkCommandBase + kCommandRangeSize) {
        return id - kWxFrameworkCommandBase + kFrameworkCommandFirst;
    }
    if (id >= kWxApplicationCommandBase && id < kWxApplicationCommandBase + kCommandRangeSize) {
        return id - kWxApplicationCommandBase + kApplicationCommandFirst;
    }
    return id;
}

static_assert(WxIdFromCommand(0xFFFF) < 0x7FFF && WxIdFromCommand(0x9FFF) < 0x7FFF);
static_assert(CommandFromWxId(WxIdFromCommand(57600)) == 57600);
static_assert(CommandFromWxId(WxIdFromCommand(32773)) == 32773);
