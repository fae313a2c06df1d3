// What the tests' scripted platforms answer for the user: the next queued
// answer to a question, the next queued file for a file chooser.
#pragma once

#include "document/Platform.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

// An OK box needs no answer; a question without a queued answer fails the
// test and is cancelled.
inline MsgAnswer NextAnswer(std::deque<MsgAnswer>& answers, const std::string& text,
                            MsgButtons buttons) {
    if (buttons == MsgButtons::Ok) {
        return MsgAnswer::Ok;
    }
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return MsgAnswer::Cancel;
    }
    const MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

// The chooser is cancelled when no file is queued.
inline std::string NextChosenFile(std::deque<std::string>& files) {
    if (files.empty()) {
        return {};
    }
    std::string path = files.front();
    files.pop_front();
    return path;
}
