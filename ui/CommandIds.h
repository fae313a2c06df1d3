// wx identifiers of the commands. The framework's commands that have a stock
// identifier (ID_FILE_NEW is wxID_NEW, ...) take it, so that GTK and Windows
// give them their stock behaviour. The others are moved: wx takes menu
// identifiers below 0x7FFF only (wxMSW reads a menu command's identifier as a
// signed 16-bit value), while the commands are numbered from 0x8000 (the
// application's) and from 0xE000 (the framework's). Each range is moved down
// into one of its own, above the identifiers wx keeps for itself.
#pragma once

#include "resources/Resource.h"

#include <wx/defs.h>

struct CStockCommand {
    int nCommand;
    int nWxId;
};

inline constexpr CStockCommand kStockCommands[] = {
    {ID_FILE_NEW, wxID_NEW},         {ID_FILE_OPEN, wxID_OPEN},
    {ID_FILE_SAVE, wxID_SAVE},       {ID_FILE_SAVE_AS, wxID_SAVEAS},
    {ID_FILE_PRINT, wxID_PRINT},     {ID_FILE_PRINT_SETUP, wxID_PRINT_SETUP},
    {ID_FILE_MRU_FILE1, wxID_FILE1}, {ID_FILE_MRU_FILE2, wxID_FILE2},
    {ID_FILE_MRU_FILE3, wxID_FILE3}, {ID_FILE_MRU_FILE4, wxID_FILE4},
    {ID_EDIT_DELETE, wxID_DELETE},   {ID_APP_ABOUT, wxID_ABOUT},
    {ID_APP_EXIT, wxID_EXIT},        {ID_HELP, wxID_HELP},
};

constexpr int kApplicationCommandFirst = 0x8000;
constexpr int kFrameworkCommandFirst = 0xE000;
constexpr int kCommandRangeSize = 0x2000;
constexpr int kWxFrameworkCommandBase = 8000;
constexpr int kWxApplicationCommandBase = kWxFrameworkCommandBase + kCommandRangeSize;

// The wx identifier of command.
constexpr int WxIdFromCommand(int command) {
    for (const CStockCommand& stock : kStockCommands) {
        if (stock.nCommand == command) {
            return stock.nWxId;
        }
    }
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
    for (const CStockCommand& stock : kStockCommands) {
        if (stock.nWxId == id) {
            return stock.nCommand;
        }
    }
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
static_assert(WxIdFromCommand(ID_FILE_MRU_FILE4) - WxIdFromCommand(ID_FILE_MRU_FILE1) == 3);
static_assert(CommandFromWxId(WxIdFromCommand(ID_APP_EXIT)) == ID_APP_EXIT);
