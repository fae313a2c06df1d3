// Settings kept in memory for one run, with their defaults until written:
// the platform of the command-line tool, which leaves the desktop
// application's settings alone, and the scripted platforms of the tests.
#pragma once

#include "document/Platform.h"

#include <map>
#include <string>
#include <utility>

// Base is the platform interface the settings complete (CPlatform or one
// derived from it).
template <class Base> class CMemorySettings : public Base {
public:
    using Base::Base;

    // By section and entry.
    std::map<std::pair<std::string, std::string>, int> m_ints;
    std::map<std::pair<std::string, std::string>, std::string> m_strings;

    int ReadSettingInt(const std::string& section, const std::string& entry,
                       int defaultValue) override {
        const auto found = m_ints.find({section, entry});
        return found == m_ints.end() ? defaultValue : found->second;
    }
    void WriteSettingInt(const std::string& section, const std::string& entry, int value) override {
        m_ints[{section, entry}] = value;
    }
    std::string ReadSettingString(const std::string& section, const std::string& entry,
                                  const std::string& defaultValue) override {
        const auto found = m_strings.find({section, entry});
        return found == m_strings.end() ? defaultValue : found->second;
    }
    void WriteSettingString(const std::string& section, const std::string& entry,
                            const std::string& value) override {
        m_strings[{section, entry}] = value;
    }
};
