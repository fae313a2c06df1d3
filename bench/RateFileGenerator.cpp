#include "RateFileGenerator.h"

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <random>
#include <string_view>

namespace {

// The parts one after the other. (Built by appending: GCC 12 warns falsely
// of overlapping copies, -Wrestrict, in "text" + std::string at -O3.)
std::string Join(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view part : parts) {
        size += part.size();
    }
    std::string joined;
    joined.reserve(size);
    for (std::string_view part : parts) {
        joined += part;
    }
    return joined;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class CWriter {
public:
    explicit CWriter(std::FILE* file) : m_pFile(file) {}
    void Line(int depth, const std::string& text) {
        m_strBuffer.append(static_cast<std::size_t>(depth) * 2, ' ');
        m_strBuffer += text;
        m_strBuffer += "\r\n";
        Flush(false);
    }
    void Field(int depth, const char* name, const std::string& value) {
        Line(depth, Join({"<", name, ">", value, "</", name, ">"}));
    }
    void Flush(bool always) {
        if (always || m_strBuffer.size() > (1u << 16)) {
            m_nWritten += std::fwrite(m_strBuffer.data(), 1, m_strBuffer.size(), m_pFile);
            m_strBuffer.clear();
        }
    }
    std::size_t Written() const { return m_nWritten + m_strBuffer.size(); }

private:
    std::FILE* m_pFile;
    std::string m_strBuffer;
    std::size_t m_nWritten = 0;
};

const char* const kProducts[] = {"Credit Life",    "Credit Disability",
                                 "GAP Protection", "Vehicle Service",
                                 "Tire & Wheel",   "Involuntary Unemployment"};
const char* const kStates[] = {"OH", "IN", "MI", "PA", "KY", "TX", "GA", "NC"};

} // namespace

long WriteRateFile(const std::string& path, const RateFileOptions& options) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return -1;
    }
    std::mt19937 drift(options.nSeed * 7 + static_cast<unsigned>(options.nDelivery));
    auto chance = [&](std::mt19937& r, int percent) {
        return std::uniform_int_distribution<int>(0, 99)(r) < percent;
    };
    CWriter out(file.get());
    out.Line(0, "<?xml version=\"1.0\"?>");
    out.Line(0, "<RATEFILE>");
    out.Line(1, "<HEADER>");
    out.Field(2, "VENDOR", "Northfield Underwriters");
    out.Field(2, "FILEVERSION", options.nDelivery ? "3.02" : "3.01");
    out.Field(2, "ISSUEDATE", options.nDelivery ? "02/01/2025" : "11/04/2024");
    out.Field(2, "EFFECTIVEDATE", options.nDelivery ? "03/01/2025" : "01/01/2025");
    out.Line(1, "</HEADER>");
    long plans = 0;
    for (long customer = 0; out.Written() < options.nTargetBytes; ++customer) {
        if (customer % 50 == 49 && options.nDelivery == 0) {
            continue; // customers that only the next delivery has
        }
        // One generator per customer, so that both deliveries agree on plans.
        std::mt19937 rng(options.nSeed + static_cast<unsigned>(customer) * 2654435761u);
        out.Line(1, "<CUSTOMER>");
        out.Field(2, "CONTRACTNUM", std::to_string(40000 + customer));
        out.Field(2, "CUSTOMERNAME",
                  Join({"Dealer ", std::to_string(customer), " Motors & Finance"}));
        out.Field(2, "STATE", kStates[customer % 8]);
        const int planCount = 3 + static_cast<int>(rng() % 6);
        for (int plan = 0; plan < planCount + (options.nDelivery ? 1 : 0); ++plan) {
            const bool addedLater = plan == planCount;
            if (options.nDelivery && !addedLater && chance(drift, 3)) {
                continue; // dropped from the next delivery
            }
            const char* product = kProducts[(customer + plan) % 6];
            out.Line(2, "<INSURANCEPLAN>");
            out.Field(3, "PLANKEY",
                      Join({"P", std::to_string(customer), "-", std::to_string(plan)}));
            out.Field(3, "DPKEY", options.nDelivery ? "" : Join({"DP", std::to_string(plan % 97)}));
            out.Field(3, "PLANDESC",
                      Join({product, " ", std::to_string(12 * (plan + 2)), " mo",
                            options.nDelivery ? " (revised)" : ""}));
            const int year = chance(rng, 20) ? 2019 + plan % 4 : 2027 + plan % 5;
            out.Field(3, "EXPIRATIONDATE", Join({"12/31/", std::to_string(year)}));
            const int rows = 3 + static_cast<int>(rng() % 4);
            for (int row = 0; row < rows; ++row) {
                out.Line(3, "<RATE>");
                out.Field(4, "TERM", std::to_string(12 * (row + 1)));
                const int cents = 40 + static_cast<int>(rng() % 60) + options.nDelivery * 3;
                out.Field(4, "PREMIUM", Join({"0.", std::to_string(cents)}));
                out.Field(4, "MAXAMOUNT", std::to_string(25000 + 5000 * row));
                out.Field(4, "AGEBAND", row % 2 ? "18-65" : "66-70");
                out.Line(3, "</RATE>");
            }
            out.Line(2, "</INSURANCEPLAN>");
            ++plans;
        }
        out.Line(1, "</CUSTOMER>");
    }
    out.Line(0, "</RATEFILE>");
    out.Flush(true);
    return std::ferror(file.get()) ? -1 : plans;
}
