// A document with a loaded rate file, and an incoming file to merge into it.
#pragma once

#include "document/QuillmarDoc.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TreeDump.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

class MergeFixture : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CFakePlatform m_platform; // today is 15 March 2025
    std::unique_ptr<CQuillmarDoc> m_doc;
    CRecordingView m_view;

    void SetUp() override {
        m_doc = std::make_unique<CQuillmarDoc>(m_platform);
        m_doc->AddView(m_view);
    }

    // Opens text as the loaded rate file.
    void Load(const std::string& text) {
        const std::string path = m_folder.File("loaded.xml");
        WriteFileText(path, text);
        const size_t messages = m_platform.m_messages.size();
        ASSERT_TRUE(m_doc->DoOpen(path));
        ASSERT_EQ(messages, m_platform.m_messages.size()) << "the loaded file must read cleanly";
        m_view.m_calls.clear();
    }

    std::string Incoming(const std::string& text, const std::string& name = "incoming.xml") {
        const std::string path = m_folder.File(name);
        WriteFileText(path, text);
        return path;
    }

    // Merges text into the loaded file.
    void Merge(const std::string& text) { m_doc->MergeRateFile(Incoming(text)); }

    std::string Tree() const { return DumpTree(m_doc->m_pRootNode); }
    // The tree below the loaded root's customer number index.
    std::string Customer(int index) const {
        return DumpTree(m_doc->m_pRootNode->FindChild("CUSTOMER", index));
    }
};
