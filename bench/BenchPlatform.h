// A platform for benchmarks: no dialogs, settings at their defaults, and a
// fixed date so that every run merges alike.
#pragma once

#include "document/Platform.h"

class CBenchPlatform : public CPlatform {
public:
    MsgAnswer ShowMessage(const std::string&, MsgIcon, MsgButtons buttons) override {
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
    std::string ChooseFile(const CFileDialogSpec&) override { return ""; }
    int ReadSettingInt(const std::string&, const std::string&, int value) override { return value; }
    void WriteSettingInt(const std::string&, const std::string&, int) override {}
    std::string ReadSettingString(const std::string&, const std::string&,
                                  const std::string& value) override {
        return value;
    }
    void WriteSettingString(const std::string&, const std::string&, const std::string&) override {}
    bool CopyFileReplacing(const std::string&, const std::string&) override { return false; }
    bool ReadLocalTime(std::tm& local) override {
        local = {};
        local.tm_year = 2025 - 1900;
        local.tm_mon = 5;
        local.tm_mday = 15;
        return true;
    }
    bool SendMail(const std::string&, const std::string&) override { return false; }
};
