#include <fstream>
#include <stdexcept>

#include "platform/plvrendoviewer/ReportWriters.h"

namespace {

CString Field(const CString& text)
{
	if (text.str().find_first_of(";\"\r\n") == std::string::npos)
		return text;
	std::string quoted = "\"";
	for (char c : text.str())
		quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
	return CString(quoted + "\"");
}

// Decimal comma, no thousands separator: what a spreadsheet set to Italian reads as a number.
CString Number(double value, ColumnKind kind, int decimals)
{
	CString s = FormatItalianNumber(value, kind == ColumnKind::Integer ? 0 : decimals);
	std::string plain;
	for (char c : s.str())
		if (c != '.')
			plain += c;
	return CString(plain);
}

}  // namespace

void WriteReportCsv(const CReportTable& table, const std::filesystem::path& file)
{
	std::ofstream os(file, std::ios::binary | std::ios::trunc);
	if (!os)
		throw std::runtime_error("cannot write " + file.string());
	os << "\xEF\xBB\xBF";  // spreadsheets take the file as UTF-8 only with the mark
	const auto& columns = table.GetColumns();
	for (size_t i = 0; i < columns.size(); ++i)
		os << (i ? ";" : "") << Field(columns[i].heading).str();
	os << "\r\n";
	for (const ReportRow& row : table.GetRows())
	{
		for (size_t i = 0; i < columns.size(); ++i)
		{
			const ReportCell& c = row.cells[i];
			os << (i ? ";" : "") << (c.IsNumber() ? Number(c.GetNumber(), columns[i].kind, c.GetDecimals()) : Field(c.GetText())).str();
		}
		os << "\r\n";
	}
	os.flush();
	if (!os)
		throw std::runtime_error("cannot write " + file.string());
}
