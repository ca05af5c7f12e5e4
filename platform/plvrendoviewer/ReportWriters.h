#pragma once
// Writers of a laid-out report: PDF (cairo and pango, any UTF-8 text), XLSX (numbers stay
// numbers) and CSV (";" between fields, decimal comma, UTF-8). Each writes the file it is
// given and throws std::runtime_error when it cannot. The PDF and XLSX writers are loaded from
// libplv_reportwriters.so, beside this library, at their first use.
#include <filesystem>

#include "platform/plvrendoviewer/ReportOutput.h"

void WriteReportPdf(const CReportOutput& out, const std::filesystem::path& file);
void WriteReportXlsx(const CReportOutput& out, const std::filesystem::path& file);
// One table a file: the caller names one file per table.
void WriteReportCsv(const CReportTable& table, const std::filesystem::path& file);
