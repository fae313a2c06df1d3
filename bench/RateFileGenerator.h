// Realistic rate files of a chosen size for benchmarks: a header, customers
// with contract numbers, plans with keys, user values, expiration dates and
// rate rows of several fields, indented with CR LF line ends as vendors
// deliver them.
#pragma once

#include <cstddef>
#include <string>

struct RateFileOptions {
    std::size_t nTargetBytes = 100u << 20;
    // 0 is a delivery; 1 is the vendor's next delivery of the same file: new
    // descriptions and rates, some plans dropped, some added, new customers.
    int nDelivery = 0;
    unsigned nSeed = 2003;
};

// Writes the file; returns the number of plans written, or -1 on failure.
long WriteRateFile(const std::string& path, const RateFileOptions& options);
