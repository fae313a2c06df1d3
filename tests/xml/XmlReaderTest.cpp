#include "ReferenceReader.h"
#include "TreeText.h"

#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

struct Loaded {
    bool ok;
    int error;
    std::string tree; // TreeText of the root, or "(none)"
};

Loaded LoadText(const std::string& bytes) {
    CXmlDocument doc;
    const bool ok = doc.LoadBytes(bytes.data(), bytes.size());
    return {ok, doc.GetError(), doc.GetRoot() ? TreeText(doc.GetRoot()) : "(none)"};
}

TEST(XmlReader, EmptyDeclarationOnlyOrNoTagGivesNoRoot) {
    for (const std::string text : {"", "<?xml version=\"1.0\"?>", "plain text", "a > b"}) {
        const Loaded loaded = LoadText(text);
        EXPECT_FALSE(loaded.ok) << text;
        EXPECT_EQ(loaded.error, CXmlDocument::kNoRootElement) << text;
        EXPECT_EQ(loaded.tree, "(none)") << text;
    }
}

TEST(XmlReader, ErrorOffsetIsWhereReadingStoppedAndOnlyForTagErrors) {
    CXmlDocument doc;
    struct Case {
        const char* text;
        int32_t error;
        int32_t offset;
    };
    const Case cases[] = {
        {"<A><B>1</B></A>", CXmlDocument::kNoError, -1},
        {"<A><B", CXmlDocument::kTagNotClosed, 3},
        {"<A>x<!-- y", CXmlDocument::kTagNotClosed, 4},
        // The innermost element left open, not the outer one that fails
        // after it.
        {"<A><B><C>1</C>", CXmlDocument::kTagMismatch, 3},
        {"<A><B></A>", CXmlDocument::kTagMismatch, 6},
        {"plain text", CXmlDocument::kNoRootElement, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.error == CXmlDocument::kNoError, doc.LoadBytes(c.text, std::strlen(c.text)));
        EXPECT_EQ(c.error, doc.GetError());
        EXPECT_EQ(c.offset, doc.GetErrorOffset());
    }
    // A later load or a new tree forgets the position.
    ASSERT_FALSE(doc.LoadBytes("<A><B", 5));
    EXPECT_FALSE(doc.Load("/nonexistent/quillmar/file.xml"));
    EXPECT_EQ(-1, doc.GetErrorOffset());
    ASSERT_FALSE(doc.LoadBytes("<A><B", 5));
    doc.New();
    EXPECT_EQ(-1, doc.GetErrorOffset());
}

TEST(XmlReader, MissingFileGivesCannotOpenAndDropsTheTree) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes("<A>1</A>", 8));
    ASSERT_NE(doc.GetRoot(), nullptr);
    EXPECT_FALSE(doc.Load("/nonexistent/quillmar/file.xml"));
    EXPECT_EQ(doc.GetError(), CXmlDocument::kCannotOpen);
    EXPECT_EQ(doc.GetRoot(), nullptr);
}

TEST(XmlReader, DirectoryGivesCannotOpen) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.Load(std::filesystem::temp_directory_path().string().c_str()));
    EXPECT_EQ(doc.GetError(), CXmlDocument::kCannotOpen);
}

TEST(XmlReader, ReadsAFileFromDisk) {
    const auto path = std::filesystem::temp_directory_path() / "quillmar-reader-test.xml";
    {
        std::ofstream out(path, std::ios::binary);
        out << "<?xml version=\"1.0\"?>\r\n<RATEFILE>\r\n  <HEADER>7</HEADER>\r\n</RATEFILE>\r\n";
    }
    CXmlDocument doc;
    EXPECT_TRUE(doc.Load(path.string().c_str()));
    EXPECT_EQ(TreeText(doc.GetRoot()), "RATEFILE[](HEADER[7])");
    std::filesystem::remove(path);
}

TEST(XmlReader, DeclarationsAndTextBeforeTheRootAreSkipped) {
    EXPECT_EQ(LoadText("<?xml version=\"1.0\"?>\n\nnoise <R>x</R>").tree, "R[x]");
    EXPECT_EQ(LoadText("<?a?><?b?><R></R>").tree, "R[]");
}

TEST(XmlReader, CommentOrDoctypeBeforeTheRootBecomesTheRoot) {
    const Loaded loaded = LoadText("<!-- c --><R>x</R>");
    EXPECT_EQ(loaded.error, CXmlDocument::kTagMismatch);
    ASSERT_NE(loaded.tree, "(none)");
}

TEST(XmlReader, NestedElementsAndTexts) {
    EXPECT_EQ(LoadText("<RATEFILE>\r\n\t <HEADER>7</HEADER>\r\n</RATEFILE>").tree,
              "RATEFILE[](HEADER[7])");
    EXPECT_EQ(LoadText("<A>x<B>y</B>z</A>").tree, "A[xz](B[y])");
    EXPECT_EQ(LoadText("<A>a\r\nb</A>").tree, "A[ab]");
    EXPECT_EQ(LoadText("<A>a\rb</A>").tree, "A[ab]");
    EXPECT_EQ(LoadText("<A>  padded\t</A>").tree, "A[padded]");
}

TEST(XmlReader, EntitiesAreDecodedAsTheyComplete) {
    EXPECT_EQ(LoadText("<A>&lt;</A>").tree, "A[<]");
    EXPECT_EQ(LoadText("<A>&gt;</A>").tree, "A[>]");
    EXPECT_EQ(LoadText("<A>AT&amp;T</A>").tree, "A[AT&T]");
    EXPECT_EQ(LoadText("<A>&amp;lt;</A>").tree, "A[<]");
    EXPECT_EQ(LoadText("<A>&quot;x&#65;</A>").tree, "A[&quot;x&#65;]");
    EXPECT_EQ(LoadText("<A>a>b</A>").tree, "A[a>b]");
    // Decoding works on the text gathered so far, across a child.
    EXPECT_EQ(LoadText("<A>&a<B></B>mp;</A>").tree, "A[&](B[])");
}

TEST(XmlReader, EndTagInOtherCaseIsAMismatch) {
    const Loaded loaded = LoadText("<A>x</a>");
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.error, CXmlDocument::kTagMismatch);
}

TEST(XmlReader, AttributesBecomePartOfTheName) {
    const Loaded loaded = LoadText("<A id=\"1\">x</A id=\"1\">");
    EXPECT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.tree, "A id=\"1\"[x]");
    EXPECT_EQ(LoadText("<A id=\"1\">x</A>").error, CXmlDocument::kTagMismatch);
    EXPECT_EQ(LoadText("<R><E/></R>").error, CXmlDocument::kTagMismatch);
}

TEST(XmlReader, UnclosedConstructsGiveTagNotClosed) {
    EXPECT_EQ(LoadText("<A><!-- never closed").error, CXmlDocument::kTagNotClosed);
    EXPECT_EQ(LoadText("<A>x<B").error, CXmlDocument::kTagNotClosed);
}

TEST(XmlReader, InterruptedTagIsDropped) {
    const Loaded loaded = LoadText("<A><B<C>x</C></A>");
    EXPECT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.tree, "A[](C[x])");
}

TEST(XmlReader, AnythingAfterTheRootIsIgnored) {
    EXPECT_TRUE(LoadText("<A>x</A><B>y</B> trailing <<<").ok);
    EXPECT_EQ(LoadText("<A>x</A><B>y</B>").tree, "A[x]");
}

TEST(XmlReader, TextModeBytes) {
    EXPECT_EQ(LoadText(std::string("<A>x</A>\x1a<B>", 12)).tree, "A[x]");
    EXPECT_EQ(LoadText(std::string("<A>x\x1a</A>", 9)).error, CXmlDocument::kTagMismatch);
    // A NUL ends its 10,239-byte piece; the next piece goes on.
    std::string bytes = "<A>x";
    bytes += '\0';
    bytes += std::string(10239 - bytes.size(), 'z');
    bytes += "y</A>";
    EXPECT_EQ(LoadText(bytes).tree, "A[xy]");
}

TEST(XmlReader, EmptyTagGetsAnEmptyName) {
    const Loaded loaded = LoadText("<A><></></A>");
    EXPECT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.tree, "A[]([])");
    // Without its end tag the file still fails as before, at once.
    std::string many;
    for (int i = 0; i < 50000; ++i) {
        many += "<>";
    }
    EXPECT_EQ(LoadText(many).error, CXmlDocument::kTagMismatch);
}

TEST(XmlReader, ParseReportsTheEndTagPosition) {
    CXmlString text("xx<A>t<B>u</B></A>yy");
    CXmlNode node;
    int32_t pos = 2;
    int32_t error = 0;
    EXPECT_EQ(node.Parse(text, pos, error), 17);
    EXPECT_EQ(pos, 17);
    EXPECT_EQ(error, 0);
    CXmlString broken("<A><B>");
    CXmlNode other;
    pos = 0;
    EXPECT_EQ(other.Parse(broken, pos, error), broken.GetLength());
    EXPECT_EQ(error, 1);
}

TEST(XmlReader, ChildKeysComeFromTheTag) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadBytes("<R>< Plan ></ Plan ></R>", 24));
    EXPECT_TRUE(doc.GetRoot()->GetChildKey(0).Equals("plan"));
    EXPECT_NE(doc.GetRoot()->FindChild("PLAN", 0), nullptr);
}

// Random texts, biased towards tags, compared with the reference reader:
// the same tree, keys, error code and end position.
std::string RandomText(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {
        "<A>", "</A>",  "<B>",    "</B>",  "<a>",  "</a>", "<!-- c -->", "<!x",   "<?p?>",
        "<",   ">",     "</",     "&amp;", "&lt;", "&gt;", "&",          ";",     "amp;",
        "lt;", " ",     "\t",     "\r\n",  "\n",   "\r",   "t",          "xy",    "<>",
        "</>", "<C d>", "</C d>", "!",     "?",    "/",    "< A >",      "</ A >"};
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> count(0, 32);
    std::string text;
    const int n = count(rng);
    for (int i = 0; i < n; ++i) {
        text += pieces[pick(rng)];
    }
    return text;
}

std::string ReferenceTreeText(const reference::Node& node) {
    std::string out = node.name + "[" + node.text + "]";
    if (!node.children.empty()) {
        out += "(";
        for (size_t i = 0; i < node.children.size(); ++i) {
            out +=
                (i ? "," : "") + node.children[i]->key + "=" + ReferenceTreeText(*node.children[i]);
        }
        out += ")";
    }
    return out;
}

TEST(XmlReader, MatchesTheReferenceReaderOnRandomTexts) {
    std::mt19937 rng(20031209);
    for (int round = 0; round < 30000; ++round) {
        const std::string raw = RandomText(rng);
        CXmlDocument doc;
        const bool ok = doc.LoadBytes(raw.data(), raw.size());
        reference::Reader reader(reference::FileText(raw));
        const reference::Result expected = reader.Load();
        ASSERT_EQ(ok, expected.ok) << raw;
        ASSERT_EQ(doc.GetError(), expected.error) << raw;
        ASSERT_EQ(doc.GetRoot() != nullptr, expected.root != nullptr) << raw;
        if (expected.root) {
            ASSERT_EQ(KeyedTreeText(doc.GetRoot()), ReferenceTreeText(*expected.root)) << raw;
        }
    }
}

TEST(XmlReader, ParseMatchesTheReferenceFromAnyStart) {
    std::mt19937 rng(7);
    for (int round = 0; round < 10000; ++round) {
        const std::string raw = reference::FileText(RandomText(rng));
        if (raw.empty()) {
            continue;
        }
        const long start = static_cast<long>(rng() % raw.size());
        CXmlString text(raw.c_str());
        CXmlNode node;
        int32_t pos = static_cast<int32_t>(start);
        int32_t error = 0;
        const int32_t result = node.Parse(text, pos, error);
        reference::Reader reader(raw);
        reference::Node expected;
        long expectedPos = start;
        int expectedError = 0;
        const long expectedResult = reader.Parse(expected, expectedPos, expectedError);
        ASSERT_EQ(result, expectedResult) << raw << " from " << start;
        ASSERT_EQ(pos, expectedPos) << raw << " from " << start;
        ASSERT_EQ(error, expectedError) << raw << " from " << start;
        ASSERT_EQ(KeyedTreeText(&node), ReferenceTreeText(expected)) << raw;
    }
}

} // namespace

// The text mode rules on the edges of the one-piece file read, through a
// file and through bytes in memory: CR LF pairs, lone CRs and a CR before the
// end, NULs at and around the 10,239-byte piece boundaries, CRs at the end of
// a chunk of the read, and random bytes made of those.
TEST(XmlReader, FileTextMatchesTheReferenceOnTextModeEdges) {
    const std::string piece(10238, 'p');
    std::vector<std::string> cases = {
        "",
        "\r",
        "a\r",
        "\r\r\n\r",
        "a\rb\r\nc\n\r\r",
        std::string("x\r\x1a\r\n", 5),
        std::string("\0", 1) + piece + "q\0r",
        piece + std::string("\0", 1) + "next",
        piece + "\r\n" + std::string("\0", 1) + "z",
        piece + "s" + std::string("\0\0", 2) + piece + "t",
        // A CR as the last byte of a 256 KB chunk of the read, before an LF,
        // a CR and a byte 26.
        std::string(262143, 'c') + "\r\nd",
        std::string(262143, 'c') + "\r\r\ne",
        std::string(262143, 'c') + std::string("\r\x1a\n", 3),
        std::string(262142, 'c') + "\r\r" + std::string(262143, 'f') + "\r",
    };
    std::mt19937 rng(26);
    const std::string alphabet("ab\r\n\0\x1a", 6);
    for (int round = 0; round < 200; ++round) {
        std::string raw;
        const size_t length = rng() % 30000;
        for (size_t i = 0; i < length; ++i) {
            // Mostly letters, so that NULs fall into many pieces.
            raw += rng() % 64 ? alphabet[rng() % 4] : alphabet[rng() % 6];
        }
        cases.push_back(raw);
    }
    const std::string path = ::testing::TempDir() + "quillmar-file-text-edges.xml";
    for (const std::string& raw : cases) {
        const std::string expected = reference::FileText(raw);
        CXmlDocument fromBytes;
        fromBytes.LoadBytes(raw.data(), raw.size());
        ASSERT_EQ(std::string(BytesOf(fromBytes.GetFileText())), expected);
        {
            std::ofstream file(path, std::ios::binary);
            file.write(raw.data(), static_cast<std::streamsize>(raw.size()));
        }
        CXmlDocument fromFile;
        fromFile.Load(path.c_str());
        ASSERT_EQ(std::string(BytesOf(fromFile.GetFileText())), expected);
    }
    std::remove(path.c_str());
}
