// An exception that nothing expected ends quillmar-cli with status 4 and its
// message, apart from the statuses of damaged files and failed writes.
#include "cli/InternalError.h"

#include <gtest/gtest.h>
#include <new>
#include <stdexcept>
#include <string>

TEST(InternalErrorTest, UnexpectedExceptionsGiveStatusFourAndTheirMessage) {
    struct Case {
        const char* what;
        std::function<int()> body;
        int nStatus;
        std::string strError;
    };
    const Case cases[] = {
        {"a status", [] { return 3; }, 3, ""},
        {"out of memory", []() -> int { throw std::bad_alloc(); }, 4,
         "quillmar-cli: internal error: out of memory.\n"},
        {"a standard exception", []() -> int { throw std::length_error("vector too long"); }, 4,
         "quillmar-cli: internal error: vector too long\n"},
        {"anything else", []() -> int { throw 42; }, 4,
         "quillmar-cli: internal error: an unknown exception.\n"},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStderr();
        const int status = RunReportingInternalErrors(c.body);
        EXPECT_EQ(c.nStatus, status) << c.what;
        EXPECT_EQ(c.strError, ::testing::internal::GetCapturedStderr()) << c.what;
    }
}
