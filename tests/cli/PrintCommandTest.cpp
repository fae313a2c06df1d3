// quillmar-cli print: the printed listing as a PDF, checked with poppler's
// pdfinfo, pdftotext and pdffonts the way a reader of the PDF would see it.
#include "cli/PdfListing.h"
#include "support/CliRunner.h"
#include "support/EngineText.h"
#include "support/TestFiles.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kLinesPerPage = 60;
// Points: the printable area's corner, the average character width of
// 11-point Liberation Mono (132 twips) and its line height (249 twips).
constexpr double kAreaLeft = 18.0;
constexpr double kAreaTop = 18.0;
constexpr double kCharWidth = 6.6;
constexpr double kLineHeight = 12.45;

// A text with its runs of blanks made one blank and the ends trimmed:
// pdftotext lays out blanks by the glyphs' positions, not byte for byte.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

struct Word {
    double dLeft;
    double dTop;
    std::string strText;
};

class PrintCommandTest : public ::testing::Test {
protected:
    CTestFolder m_folder;

    std::string File(const std::string& name, const std::string& text) {
        const std::string path = m_folder.File(name);
        WriteFileText(path, text);
        return path;
    }

    // Prints path into a PDF and returns the PDF's path.
    std::string Print(const std::string& path) {
        const std::string pdf = m_folder.File("listing.pdf");
        const CCliRun run = RunCli({"print", path, "--pdf", pdf});
        EXPECT_EQ(0, run.nStatus) << run.strErr;
        EXPECT_EQ("", run.strOut);
        EXPECT_EQ("", run.strErr);
        return pdf;
    }

    static int PageCount(const std::string& pdf) {
        const CCliRun info = RunProgram("pdfinfo", {pdf});
        std::smatch match;
        const std::regex pages("Pages:\\s+(\\d+)");
        return std::regex_search(info.strOut, match, pages) ? std::stoi(match[1]) : -1;
    }

    // The text lines of one page, blanks squeezed, empty lines left out.
    static std::vector<std::string> PageLines(const std::string& pdf, int page) {
        const std::string number = std::to_string(page);
        const CCliRun text =
            RunProgram("pdftotext", {"-layout", "-f", number, "-l", number, pdf, "-"});
        std::vector<std::string> lines;
        std::istringstream in(text.strOut);
        for (std::string line; std::getline(in, line);) {
            line = Squeezed(line);
            if (!line.empty() && line != "\f") {
                lines.push_back(line);
            }
        }
        return lines;
    }

    // The first word of each text line of page 1, with its box's corner,
    // from the top of the page down.
    static std::vector<Word> FirstWords(const std::string& pdf) {
        const CCliRun boxes = RunProgram("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
        std::map<long, Word> byLine;
        const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                              "yMax=\"[0-9.]+\">([^<]*)");
        for (auto it = std::sregex_iterator(boxes.strOut.begin(), boxes.strOut.end(), word);
             it != std::sregex_iterator(); ++it) {
            const Word found{std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]};
            const long line = std::lround(found.dTop * 10);
            const auto known = byLine.find(line);
            if (known == byLine.end() || found.dLeft < known->second.dLeft) {
                byLine[line] = found;
            }
        }
        std::vector<Word> words;
        for (const auto& [line, first] : byLine) {
            words.push_back(first);
        }
        return words;
    }

    // A rate file whose listing has lineCount lines.
    std::string FileOfLines(int lineCount) {
        std::string text = "<RATEFILE>";
        for (int i = 0; i < lineCount - 2; ++i) {
            text += "<LINE>" + std::to_string(i) + "</LINE>";
        }
        return File("lines" + std::to_string(lineCount) + ".xml", text + "</RATEFILE>");
    }
};

} // namespace

TEST_F(PrintCommandTest, SampleListingPageByPage) {
    const std::string sample = SourceFile("samples/rates.xml");
    const std::vector<std::string> listing = ListingLines(sample);
    ASSERT_EQ(143u, listing.size());
    const std::string pdf = Print(sample);
    ASSERT_EQ(3, PageCount(pdf));
    for (int page = 1; page <= 3; ++page) {
        std::vector<std::string> expected;
        for (size_t line = (page - 1) * kLinesPerPage;
             line < listing.size() && line < size_t(page) * kLinesPerPage; ++line) {
            expected.push_back(Squeezed(listing[line]));
        }
        EXPECT_EQ(expected, PageLines(pdf, page)) << "page " << page;
    }
}

TEST_F(PrintCommandTest, MarginsLineHeightAndFontAreThoseOfTheListing) {
    const std::string pdf = Print(SourceFile("samples/rates.xml"));
    const std::vector<Word> words = FirstWords(pdf);
    ASSERT_EQ(size_t(kLinesPerPage), words.size());
    // Line n stands n line heights below the top of the printable area, one
    // average character width in from its left edge.
    EXPECT_EQ("&lt;RATEFILE&gt;", words[0].strText);
    EXPECT_NEAR(kAreaLeft + kCharWidth, words[0].dLeft, 0.01);
    for (int line = 1; line <= kLinesPerPage; ++line) {
        EXPECT_NEAR(kAreaTop + line * kLineHeight, words[line - 1].dTop, 0.05) << line;
    }
    // A child stands four characters to the right of its parent.
    EXPECT_NEAR(kAreaLeft + 5 * kCharWidth, words[1].dLeft, 0.01);

    const CCliRun info = RunProgram("pdfinfo", {pdf});
    EXPECT_NE(std::string::npos, info.strOut.find("612 x 792 pts (letter)"));
    const CCliRun fonts = RunProgram("pdffonts", {pdf});
    EXPECT_NE(std::string::npos, fonts.strOut.find("LiberationMono")) << fonts.strOut;
}

TEST_F(PrintCommandTest, SixtyLinesToAPage) {
    EXPECT_EQ(1, PageCount(Print(FileOfLines(60))));
    const std::string pdf = Print(FileOfLines(61));
    EXPECT_EQ(2, PageCount(pdf));
    EXPECT_EQ((std::vector<std::string>{"</RATEFILE>"}), PageLines(pdf, 2));
    EXPECT_EQ(1, PageCount(Print(File("one.xml", "<ROOTNODE>Root Node Text</ROOTNODE>"))));
}

TEST_F(PrintCommandTest, TextsAreWindowsAnsiAndPrintEncoded) {
    const std::string pdf = Print(File("ansi.xml", "<RATEFILE><NAME>Caf\xe9 \x80 5 & up</NAME>"
                                                   "</RATEFILE>"));
    const std::vector<std::string> lines = PageLines(pdf, 1);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("<NAME> Caf\xc3\xa9 \xe2\x82\xac 5 &amp; up </NAME>", lines[1]);
}

TEST_F(PrintCommandTest, TabsMoveOnToTheNextStopOfEightColumns) {
    const std::string pdf = Print(File("tabs.xml", "<RATEFILE><NAME>AB\tCD\tE</NAME></RATEFILE>"));
    const CCliRun boxes = RunProgram("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    std::map<std::string, std::pair<double, double>> spans; // word: xMin, xMax
    const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" "
                          "yMax=\"[0-9.]+\">([^<]*)");
    for (auto it = std::sregex_iterator(boxes.strOut.begin(), boxes.strOut.end(), word);
         it != std::sregex_iterator(); ++it) {
        spans[(*it)[3]] = {std::stod((*it)[1]), std::stod((*it)[2])};
    }
    ASSERT_TRUE(spans.count("AB") && spans.count("CD") && spans.count("E")) << boxes.strOut;
    // "CD" and "E" stand on consecutive stops, eight columns apart.
    const double column = (spans["AB"].second - spans["AB"].first) / 2;
    EXPECT_NEAR(8 * column, spans["E"].first - spans["CD"].first, column / 4);
}

TEST_F(PrintCommandTest, Utf8TextsAreUtf8AndCharactersTheFontLacksComeFromAnother) {
    const std::string vendor =
        "Soci\xc3\xa9t\xc3\xa9 G\xc3\xa9n\xc3\xa9rale \xe2\x80\x94 \xe6\x96\x99\xe9\x87\x91";
    const std::string pdf =
        Print(File("utf8.xml", "<?xml version=\"1.0\"?><RATEFILE><HEADER><VENDOR>" + vendor +
                                   "</VENDOR></HEADER></RATEFILE>"));
    const std::vector<std::string> lines = PageLines(pdf, 1);
    ASSERT_EQ(5u, lines.size());
    // Where the closing tag stands depends on the glyphs' widths.
    std::string line = lines[2];
    const std::string closing = "</VENDOR>";
    ASSERT_TRUE(line.ends_with(closing)) << line;
    line.erase(line.size() - closing.size());
    if (line.ends_with(' ')) {
        line.pop_back();
    }
    EXPECT_EQ("<VENDOR> " + vendor, line);

    // Liberation Mono has no CJK characters: where the system has a font
    // for them, they are drawn in it.
    const CCliRun cjkFonts = RunProgram("fc-list", {":charset=6599 91d1", "family"});
    if (cjkFonts.strOut.empty()) {
        GTEST_SKIP() << "no font on this system has the CJK characters";
    }
    const CCliRun fonts = RunProgram("pdffonts", {pdf});
    std::istringstream rows(fonts.strOut);
    int others = 0;
    for (std::string row; std::getline(rows, row);) {
        // Font rows, not the heading, say whether the font is embedded.
        others += row.find(" yes ") != std::string::npos &&
                  row.find("LiberationMono") == std::string::npos;
    }
    EXPECT_EQ(1, others) << "one font besides the listing's:\n" << fonts.strOut;
}

TEST_F(PrintCommandTest, DamagedInputOrUnwritablePdfFails) {
    const std::string pdf = m_folder.File("listing.pdf");
    CCliRun run = RunCli({"print", File("bad.xml", "<RATEFILE><A></RATEFILE>"), "--pdf", pdf});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_FALSE(fs::exists(pdf));

    const std::string nowhere = m_folder.File("missing/listing.pdf");
    run = RunCli({"print", SourceFile("samples/rates.xml"), "--pdf", nowhere});
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("quillmar-cli: " + nowhere + ": the PDF file could not be written.\n", run.strErr);

    run = RunCli({"print", SourceFile("samples/rates.xml")});
    EXPECT_EQ(2, run.nStatus);
}

namespace {

class PdfPrintDeviceTest : public ::testing::Test {
protected:
    void TearDown() override { ReleaseFontCaches(); }
};

} // namespace

TEST_F(PdfPrintDeviceTest, ElevenPointCourierNewIsLiberationMono) {
    std::string bytes;
    CPdfPrintDevice device(bytes);
    CFontSpec font;
    font.strFaceName = "Courier New";
    font.nHeight = -220;
    font.nPitchAndFamily = CPrintDevice::kFamilyModern;
    device.SetMapMode(CPrintDevice::kMapModeTwips);
    device.SelectFont(font);
    EXPECT_EQ("Liberation Mono", device.GetMatchedFamily());
    const CTextMetrics metrics = device.QueryTextMetrics();
    EXPECT_EQ(249, metrics.tmHeight);
    EXPECT_EQ(0, metrics.tmExternalLeading);
    EXPECT_EQ(132, metrics.tmAveCharWidth);
    device.OutputText(132, -249, "x");
    EXPECT_TRUE(device.Finish());
    EXPECT_EQ(1, device.GetPageCount());
    EXPECT_EQ(0u, bytes.find("%PDF-"));
}

TEST_F(PdfPrintDeviceTest, AJobWithoutTextIsOneBlankPage) {
    std::string bytes;
    CPdfPrintDevice device(bytes);
    EXPECT_TRUE(device.Finish());
    EXPECT_EQ(1, device.GetPageCount());
    EXPECT_TRUE(device.Finish()) << "a second Finish changes nothing";
    EXPECT_EQ(1, device.GetPageCount());
}
