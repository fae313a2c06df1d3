// The merge report as a CSV file.
#include "document/MergeReport.h"

std::string CMergeReport::BuildCsv() const {
    std::string csv;
    const auto addLine = [&csv](auto field) {
        for (int column = 0; column < kReportColumnCount; ++column) {
            if (column > 0) {
                csv += ',';
            }
            csv += field(static_cast<ReportColumn>(column));
        }
        csv += "\r\n";
    };
    addLine([](ReportColumn column) { return std::string(ColumnHeading(column)); });
    for (const CMergeReportRow& row : m_rows) {
        if (!row.bGone) {
            addLine([&](ReportColumn column) { return CsvField(Field(row, column)); });
        }
    }
    return csv;
}

std::string CMergeReport::CsvField(std::string_view text) {
    std::string field(text);
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' ||
                           field[0] == '@' || field[0] == '\t' || field[0] == '\r')) {
        field.insert(field.begin(), '\'');
    }
    const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) {
        return field;
    }
    std::string quoted = "\"";
    for (char byte : field) {
        if (byte == '"') {
            quoted += '"';
        }
        quoted += byte;
    }
    quoted += '"';
    return quoted;
}
