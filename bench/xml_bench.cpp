// Benchmark of the XML engine against pugixml and tinyxml2 on one generated
// rate file: load, indented write, compressed write and peak memory. Each
// library is measured in a process of its own, so that peak memory is its
// own; every figure is printed with its reference and their ratio.
//
//   xml_bench [--size-mb N] [--file PATH]
#include "BenchSupport.h"
#include "RateFileGenerator.h"

#include "xml/XmlDocument.h"
#include "xml/XmlTextSink.h"

#include <pugixml.hpp>
#include <tinyxml2.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

double FileSizeMb(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / (1024.0 * 1024.0)
                                          : 0;
}

// Runs in the child process: measures one library and prints key=value lines.
int Measure(const std::string& library, const std::string& path) {
    const std::string out = path + "." + library + ".out";
    if (library == "quillmar") {
        auto owned = std::make_unique<CXmlDocument>();
        CXmlDocument& doc = *owned;
        double load = 0;
        {
            CStopwatch watch;
            if (!doc.Load(path.c_str())) {
                std::fprintf(stderr, "load failed: %d\n", doc.GetError());
                return 1;
            }
            load = watch.Seconds();
        }
        ReportValue("load", load);
        ReportValue("peak_load_mb", PeakMemoryMb());
        for (const bool compressed : {false, true}) {
            CStopwatch watch;
            std::FILE* file = std::fopen(out.c_str(), "wb");
            if (!file) {
                return 1;
            }
            CXmlFileSink sink(file);
            sink.Put(CXmlDocument::kHeader, std::strlen(CXmlDocument::kHeader));
            int32_t depth = -1;
            const bool written = doc.GetRoot()->Write(sink, depth, compressed);
            if (std::fclose(file) != 0 || !written) {
                return 1;
            }
            ReportValue(compressed ? "write_compressed" : "write_indented", watch.Seconds());
            ReportValue(compressed ? "size_compressed_mb" : "size_indented_mb", FileSizeMb(out));
        }
        // Closing the document: the whole tree and its storage go.
        CStopwatch watch;
        owned.reset();
        ReportValue("teardown", watch.Seconds());
    } else if (library == "pugixml") {
        pugi::xml_document doc;
        {
            CStopwatch watch;
            if (!doc.load_file(path.c_str())) {
                return 1;
            }
            ReportValue("load", watch.Seconds());
        }
        ReportValue("peak_load_mb", PeakMemoryMb());
        {
            CStopwatch watch;
            doc.save_file(out.c_str(), "    ");
            ReportValue("write_indented", watch.Seconds());
            ReportValue("size_indented_mb", FileSizeMb(out));
        }
        {
            CStopwatch watch;
            doc.save_file(out.c_str(), "", pugi::format_raw);
            ReportValue("write_compressed", watch.Seconds());
            ReportValue("size_compressed_mb", FileSizeMb(out));
        }
        CStopwatch watch;
        doc.reset();
        ReportValue("teardown", watch.Seconds());
    } else if (library == "tinyxml2") {
        tinyxml2::XMLDocument doc;
        {
            CStopwatch watch;
            if (doc.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS) {
                return 1;
            }
            ReportValue("load", watch.Seconds());
        }
        ReportValue("peak_load_mb", PeakMemoryMb());
        {
            CStopwatch watch;
            doc.SaveFile(out.c_str(), false);
            ReportValue("write_indented", watch.Seconds());
        }
        {
            CStopwatch watch;
            doc.SaveFile(out.c_str(), true);
            ReportValue("write_compressed", watch.Seconds());
        }
        CStopwatch watch;
        doc.Clear();
        ReportValue("teardown", watch.Seconds());
    } else {
        return 2;
    }
    std::remove(out.c_str());
    return 0;
}

std::string Repeat(const std::string& piece, std::size_t bytes) {
    std::string out;
    out.reserve(bytes + piece.size());
    while (out.size() < bytes) {
        out += piece;
    }
    return out;
}

// Hostile 1 MB files, each aimed at a way the reading rules could go
// quadratic: none may take a second to load.
bool LoadHostileFiles() {
    constexpr std::size_t kMb = 1 << 20;
    const std::string name(200000, 'n');
    const std::vector<std::pair<const char*, std::string>> files = {
        {"empty tags", Repeat("<>", kMb)},
        {"comments after an unclosed element", "<A>" + Repeat("t<!x>", kMb)},
        {"deep unclosed nesting", Repeat("<a>", kMb)},
        {"deep nesting over an unclosed tag",
         Repeat("<a>", kMb / 2) + "<b" + std::string(kMb / 2, 'y')},
        {"lone '<' bytes", "<A>" + std::string(kMb, '<')},
        {"'>' '<' pairs", "<A>" + Repeat("><", kMb)},
        {"declarations only", Repeat("<?", kMb)},
        {"near end tags of a long name",
         "<" + name + ">" + Repeat("</" + name.substr(1) + "x", kMb)},
        {"entities", "<A>" + Repeat("&amp;", kMb) + "</A>"},
        {"unclosed comments", "<A>" + Repeat("<!", kMb)},
        {"wide element", "<R>" + Repeat("<P>x</P>", kMb) + "</R>"},
    };
    bool met = true;
    std::printf("\nhostile 1 MB files (target: each loads within 1 s)\n");
    for (const auto& [label, text] : files) {
        CXmlDocument doc;
        CStopwatch watch;
        doc.LoadBytes(text.data(), text.size());
        const double seconds = watch.Seconds();
        met &= seconds < 1.0;
        std::printf("  %-40s %8.3f s  error %d  %s\n", label, seconds, doc.GetError(),
                    seconds < 1.0 ? "met" : "MISSED");
    }
    return met;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--measure") == 0) {
        return Measure(argv[2], argv[3]);
    }
    const CBenchOptions options = ParseBenchOptions(argc, argv);
    const std::string path = PrepareRateFile(options, "xml-bench", 0);
    if (path.empty()) {
        return 1;
    }
    std::map<std::string, Figures> results;
    for (const char* library : {"quillmar", "pugixml", "tinyxml2"}) {
        // The best of a few runs: the machine may be busy with other work.
        results[library] = BestOf(options.nRuns, argv[0], {"--measure", library, path});
    }
    std::printf("\n%-18s %12s %12s %12s\n", "figure", "quillmar", "pugixml", "tinyxml2");
    for (const char* figure : {"load", "write_indented", "size_indented_mb", "write_compressed",
                               "size_compressed_mb", "peak_load_mb", "teardown"}) {
        std::printf("%-18s %12.3f %12.3f %12.3f\n", figure, results["quillmar"][figure],
                    results["pugixml"][figure], results["tinyxml2"][figure]);
    }
    std::printf("\n");
    Figures& ours = results["quillmar"];
    Figures& pugi = results["pugixml"];
    // The indented form is larger than pugixml's: its write is judged per
    // megabyte written.
    const auto perMb = [](Figures& figures, const char* time, const char* size) {
        return figures[size] > 0 ? 1000 * figures[time] / figures[size] : 0;
    };
    bool met = true;
    met &= CheckRatio("load time vs pugixml load", ours["load"], pugi["load"], 0.8);
    CheckRatio("indented write vs pugixml indented save", ours["write_indented"],
               pugi["write_indented"], 0);
    met &= CheckRatio("indented write per MB vs pugixml (ms/MB)",
                      perMb(ours, "write_indented", "size_indented_mb"),
                      perMb(pugi, "write_indented", "size_indented_mb"), 1.0);
    met &= CheckRatio("compressed write vs pugixml raw save", ours["write_compressed"],
                      pugi["write_compressed"], 0.9);
    met &= CheckRatio("peak memory vs pugixml", ours["peak_load_mb"], pugi["peak_load_mb"], 0.8);
    met &= CheckRatio("teardown vs own load", ours["teardown"], ours["load"], 0.3);
    CheckRatio("teardown vs pugixml teardown", ours["teardown"], pugi["teardown"], 0);
    CheckRatio("load time vs tinyxml2 load", ours["load"], results["tinyxml2"]["load"], 0);
    met &= LoadHostileFiles();
    if (!options.bKeepFiles && options.strFile.empty()) {
        std::remove(path.c_str());
    }
    std::printf("\n%s\n", met ? "all targets met" : "TARGETS MISSED");
    return met ? 0 : 1;
}
