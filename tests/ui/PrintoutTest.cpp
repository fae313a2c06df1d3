// The listing on a wx printer: the mapping of the document's twips, the
// recording of the job page by page, and, where GTK can export a print job
// to PDF, the printed pages themselves.
#include "support/GuiTest.h"

#include "document/PrintDevice.h"
#include "ui/ListingPages.h"
#include "ui/ListingPrintout.h"
#include "ui/TextCodec.h"

#include <gmock/gmock.h>
#include <wx/dcmemory.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <regex>

#ifdef QUILLMAR_TEST_GTK_EXPORT
#include <wx/cmndata.h>
#include <wx/dcprint.h>
#include <wx/gtk/print.h>

extern "C" {
typedef struct _GtkPrintOperation GtkPrintOperation;
GtkPrintOperation* gtk_print_operation_new(void);
void gtk_print_operation_set_export_filename(GtkPrintOperation* operation, const char* name);
void gtk_print_operation_set_n_pages(GtkPrintOperation* operation, int pages);
int gtk_print_operation_run(GtkPrintOperation* operation, int action, void* parent, void** error);
unsigned long g_signal_connect_data(void* instance, const char* signal, void (*handler)(void),
                                    void* data, void* destroy, int flags);
void g_object_unref(void* object);
}
#endif

namespace {

TEST(PrintMappingTest, TwipsGrowUpwardsFromThePrintableCorner) {
    CPrintMapping mapping;
    mapping.dPpi = 96;
    mapping.origin = wxPoint(24, 24);
    EXPECT_EQ(wxPoint(24 + 96, 24 + 96),
              mapping.ToLogical(CPrintDevice::kMapModeTwips, 1440, -1440));
    EXPECT_EQ(wxPoint(24 + 48, 24 + 192),
              mapping.ToLogical(CPrintDevice::kMapModeTwips, 720, -2880));
    EXPECT_EQ(1440, mapping.FromLogical(CPrintDevice::kMapModeTwips, 96));
    EXPECT_EQ(wxPoint(34, 44), mapping.ToLogical(1, 10, 20)); // other modes: logical units
}

TEST(PrintMappingTest, FontHeightInTwipsBecomesPoints) {
    CPrintMapping mapping;
    CFontSpec spec;
    spec.strFaceName = "Courier New";
    spec.nHeight = -220;
    spec.nPitchAndFamily = CPrintDevice::kFamilyModern;
    const wxFont font = MakePrinterFont(spec, CPrintDevice::kMapModeTwips, mapping);
    EXPECT_DOUBLE_EQ(11.0, font.GetFractionalPointSize());
    EXPECT_TRUE(font.IsFixedWidth());
}

class PrintoutTest : public GuiTest {
protected:
    // A document whose listing has lines lines: the root, its children, its
    // end tag.
    void StartWithListingOf(int lines) {
        std::string text = "<ROOT>";
        for (int i = 0; i < lines - 2; ++i) {
            text += "<ITEM>" + std::to_string(i + 1) + "</ITEM>";
        }
        text += "</ROOT>";
        StartWith(m_folder.Write("listing.xml", text));
    }
};

TEST_F(PrintoutTest, RecorderKeepsTheListingPageByPage) {
    StartWithListingOf(61);
    wxBitmap bitmap(200, 200);
    wxMemoryDC dc(bitmap);
    CPrintMapping mapping;
    CPageRecorder recorder(dc, mapping);
    Doc().PrintListing(&recorder);
    const CListingPages pages = recorder.TakePages();
    ASSERT_EQ(2u, pages.pages.size());
    EXPECT_EQ(60u, pages.pages[0].size());
    ASSERT_EQ(1u, pages.pages[1].size());
    EXPECT_EQ("</ROOT>", pages.pages[1][0].strText);
    EXPECT_EQ(0u, pages.pages[0][0].strText.find("<ROOT> "));
    // The document asked for 11-point Courier New in twips.
    ASSERT_EQ(1u, pages.fonts.size());
    EXPECT_EQ(-220, pages.fonts[0].nHeight);
    EXPECT_EQ(CPrintDevice::kMapModeTwips, pages.pages[0][0].nMapMode);
    // Line n stands n line heights below the top.
    const int32_t lineHeight = -pages.pages[0][0].y;
    EXPECT_GT(lineHeight, 200);
    EXPECT_LT(lineHeight, 400);
    EXPECT_EQ(-2 * lineHeight, pages.pages[0][1].y);
}

TEST_F(PrintoutTest, DocumentWithoutATreePrintsOneBlankPage) {
    StartWith(m_folder.Write("none.xml", "no element"));
    wxBitmap bitmap(10, 10);
    wxMemoryDC dc(bitmap);
    CPageRecorder recorder(dc, CPrintMapping());
    Doc().PrintListing(&recorder);
    const CListingPages pages = recorder.TakePages();
    ASSERT_EQ(1u, pages.pages.size());
    EXPECT_TRUE(pages.pages[0].empty());
}

TEST_F(PrintoutTest, PagesAreDrawnWithTheDocumentsCharacters) {
    StartWith(m_folder.Write("cp.xml", "<ROOT>Caf\xE9</ROOT>"));
    wxBitmap bitmap(600, 200);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    CPrintMapping mapping;
    CPageRecorder recorder(dc, mapping);
    Doc().PrintListing(&recorder);
    const CListingPages pages = recorder.TakePages();
    ASSERT_EQ(1u, pages.pages.size());
    ASSERT_EQ(1u, pages.pages[0].size());
    EXPECT_EQ("Caf\xC3\xA9", std::string(Frame().GetCodec().ToDisplay("Caf\xE9").utf8_str()));
    DrawListingPage(dc, pages, 1, Frame().GetCodec(), mapping);
    dc.SelectObject(wxNullBitmap);
    // Ink where the line stands.
    const wxImage image = bitmap.ConvertToImage();
    bool ink = false;
    for (int y = 0; y < image.GetHeight() && !ink; ++y) {
        for (int x = 0; x < image.GetWidth() && !ink; ++x) {
            ink = image.GetRed(x, y) < 128;
        }
    }
    EXPECT_TRUE(ink);
}

#ifdef QUILLMAR_TEST_GTK_EXPORT

// Runs printout as wx's GTK printer does, on a GTK print job exported to a
// PDF file instead of a printer.
class CPdfExport {
public:
    CPdfExport(wxPrintout& printout, const std::string& path) : m_printout(printout) {
        m_data.ConvertToNative();
        GtkPrintOperation* operation = gtk_print_operation_new();
        gtk_print_operation_set_export_filename(operation, path.c_str());
        g_signal_connect_data(operation, "begin-print", reinterpret_cast<void (*)(void)>(&Begin),
                              this, nullptr, 0);
        g_signal_connect_data(operation, "draw-page", reinterpret_cast<void (*)(void)>(&Draw), this,
                              nullptr, 0);
        constexpr int kActionExport = 3;
        m_nResult = gtk_print_operation_run(operation, kActionExport, nullptr, nullptr);
        g_object_unref(operation);
    }
    int Result() const { return m_nResult; }

private:
    static void Begin(GtkPrintOperation* operation, GtkPrintContext* context, CPdfExport* self) {
        static_cast<wxGtkPrintNativeData*>(self->m_data.GetNativeData())->SetPrintContext(context);
        self->m_dc = std::make_unique<wxPrinterDC>(self->m_data);
        wxPrintout& printout = self->m_printout;
        printout.SetDC(self->m_dc.get());
        printout.SetPPIScreen(wxGetDisplayPPI());
        printout.SetPPIPrinter(self->m_dc->GetResolution(), self->m_dc->GetResolution());
        int width = 0;
        int height = 0;
        self->m_dc->GetSize(&width, &height);
        printout.SetPageSizePixels(width, height);
        printout.SetPaperRectPixels(wxRect(0, 0, width, height));
        printout.OnPreparePrinting();
        int minPage = 0;
        int maxPage = 0;
        int from = 0;
        int to = 0;
        printout.GetPageInfo(&minPage, &maxPage, &from, &to);
        gtk_print_operation_set_n_pages(operation, maxPage - minPage + 1);
    }
    static void Draw(GtkPrintOperation*, GtkPrintContext*, int page, CPdfExport* self) {
        self->m_dc->StartPage();
        self->m_printout.OnPrintPage(page + 1);
        self->m_dc->EndPage();
    }

    wxPrintout& m_printout;
    wxPrintData m_data;
    std::unique_ptr<wxPrinterDC> m_dc;
    int m_nResult = 0;
};

struct CPdfWord {
    int page;
    double xMin;
    double yMin;
    double yMax;
    std::string text;
};

std::vector<CPdfWord> PdfWords(const std::string& pdf) {
    std::vector<CPdfWord> words;
    const std::string command = "pdftotext -bbox '" + pdf + "' - 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return words;
    }
    std::string output;
    char buffer[4096];
    while (const size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, read);
    }
    pclose(pipe);
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">([^<]*)</word>)re");
    int page = 0;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("<page ") != std::string::npos) {
            ++page;
        }
        std::smatch match;
        if (std::regex_search(line, match, word)) {
            words.push_back(
                {page, std::stod(match[1]), std::stod(match[2]), std::stod(match[3]), match[4]});
        }
    }
    return words;
}

// The leftmost word of each printed line, in the order of pages and lines
// (pdftotext may list a page's words column by column).
std::vector<CPdfWord> PdfLines(const std::vector<CPdfWord>& words) {
    std::map<std::pair<int, long>, CPdfWord> lines;
    for (const CPdfWord& word : words) {
        const std::pair<int, long> key{word.page, std::lround(word.yMin * 4)};
        const auto it = lines.find(key);
        if (it == lines.end() || word.xMin < it->second.xMin) {
            lines[key] = word;
        }
    }
    std::vector<CPdfWord> ordered;
    for (const auto& [key, word] : lines) {
        ordered.push_back(word);
    }
    return ordered;
}

TEST_F(PrintoutTest, GtkPrinterPrintsElevenPointLinesSixtyToAPage) {
    StartWithListingOf(61);
    CListingPrintout printout(
        "listing.xml", [this](CPrintDevice& device) { Doc().PrintListing(&device); },
        Frame().GetCodec());
    const std::string pdf = m_folder.File("listing.pdf");
    CPdfExport job(printout, pdf);
    ASSERT_EQ(1, job.Result()) << "GTK_PRINT_OPERATION_RESULT_APPLY";
    const std::vector<CPdfWord> lines = PdfLines(PdfWords(pdf));
    ASSERT_EQ(61u, lines.size()) << "is pdftotext (poppler-utils) installed?";
    EXPECT_EQ("&lt;ROOT&gt;", lines[0].text);
    EXPECT_EQ(1, lines[0].page);
    EXPECT_EQ(1, lines[59].page);
    EXPECT_EQ(2, lines[60].page);
    EXPECT_EQ("&lt;/ROOT&gt;", lines[60].text);
    // 11 points high, one line height apart, a quarter inch plus one
    // character in from the paper's edge, the first line one line down.
    const double glyphHeight = lines[0].yMax - lines[0].yMin;
    EXPECT_GT(glyphHeight, 9.0);
    EXPECT_LT(glyphHeight, 15.0);
    const double lineHeight = (lines[59].yMin - lines[0].yMin) / 59;
    EXPECT_GT(lineHeight, 10.0);
    EXPECT_LT(lineHeight, 16.0);
    for (size_t i = 1; i < 60; ++i) {
        EXPECT_NEAR(lineHeight, lines[i].yMin - lines[i - 1].yMin, 0.1) << "line " << i;
    }
    EXPECT_NEAR(18.0 + 6.6, lines[0].xMin, 2.0);
    EXPECT_NEAR(18.0 + lineHeight, lines[0].yMin, 4.0);
    EXPECT_NEAR(lines[0].yMin, lines[60].yMin, 0.5) << "line 1 of page 2 stands as line 1";
}

#endif

} // namespace
