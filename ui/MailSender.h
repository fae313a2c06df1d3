// Hands a file to the user's mail program as an attachment of a new message.
#pragma once

#include <string>

enum class MailResult {
    kSent,          // the mail program has the message
    kCancelled,     // the user closed the mail program's dialog
    kNoMailProgram, // no mail program is set up
    kFailed,        // the mail program could not take the message
};

// The mail program takes the file at path, attached under name. The file may
// be deleted once this returns: where the mail program reads attachments
// later, a copy of its own is made first, in a new folder that only the user
// may enter. A copy the mail program did not take is removed at once; those
// it took are removed by RemoveMailCopies, at the latest when the program
// ends.
MailResult SendFileByMail(const std::string& path, const std::string& name);

// Removes the copies made for the mail program so far.
void RemoveMailCopies();
