#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/plvrendoviewer/ReportWriters.h"

namespace {

// Cuts a UTF-8 text to at most n bytes on a character boundary.
void CutUtf8(std::string& s, size_t n)
{
	if (s.size() <= n)
		return;
	s.resize(n);
	// Continuation bytes start with 10; drop them and the lead byte they belonged to.
	while (!s.empty() && (static_cast<unsigned char>(s.back()) & 0xC0) == 0x80)
		s.pop_back();
	if (!s.empty() && static_cast<unsigned char>(s.back()) >= 0xC0)
		s.pop_back();
}

// A sheet name: at most 31 characters, none of []:*?/\, unique in the workbook.
std::string SheetName(const CString& caption, std::set<std::string>& used)
{
	std::string name;
	for (char c : caption.str())
		name += std::string("[]:*?/\\").find(c) == std::string::npos ? c : ' ';
	if (name.empty())
		name = "Foglio";
	CutUtf8(name, 31);
	std::string unique = name;
	for (int n = 2; used.count(unique); ++n)
	{
		std::string suffix(1, ' ');
		suffix += std::to_string(n);
		unique = name;
		CutUtf8(unique, 31 - suffix.size());
		unique += suffix;
	}
	used.insert(unique);
	return unique;
}

// What the cell holds: amounts to the cent (a sum of doubles is not) or to the cell's own
// decimals, a percentage as the fraction a percent format shows.
double CellValue(double v, ColumnKind kind, int decimals)
{
	switch (kind)
	{
	case ColumnKind::Integer: return v;
	case ColumnKind::Percent: return std::round(v * 1e4) / 1e6;
	default:
	{
		const double scale = std::pow(10.0, decimals);
		return std::round(v * scale) / scale;
	}
	}
}

// Characters of a text, not bytes.
size_t Length(const CString& text)
{
	size_t n = 0;
	for (char c : text.str())
		n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
	return n;
}

// A column wide enough for its cells and for the longest word of its heading (which wraps).
double ColumnWidth(const CReportTable& table, size_t c)
{
	const ReportColumn& col = table.GetColumns()[c];
	size_t widest = 0, word = 0;
	for (char ch : col.heading.str())
		if (ch == ' ')
			widest = std::max(widest, std::exchange(word, 0));
		else
			word += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
	widest = std::max(widest, word);
	for (const ReportRow& row : table.GetRows())
	{
		const ReportCell& cell = row.cells[c];
		// Thousands separators and a margin for the bold of totals.
		widest = std::max(widest, Length(FormatReportCell(cell, col.kind)) + (cell.IsNumber() ? 2 : 0));
	}
	return std::clamp(static_cast<double>(widest) + 2, col.kind == ColumnKind::Text ? 8.0 : 10.0, 60.0);
}

void Check(lxw_error e, const char* what)
{
	if (e != LXW_NO_ERROR)
		throw std::runtime_error(std::string(what) + ": " + lxw_strerror(e));
}

}  // namespace

extern "C" void PlvWriteReportXlsx(const CReportOutput& out, const std::filesystem::path& file)
{
	lxw_workbook* wb = workbook_new(file.c_str());
	if (!wb)
		throw std::runtime_error("cannot write " + file.string());
	// Closing the workbook frees it, whatever happened on the way.
	struct Closer
	{
		lxw_workbook* wb;
		bool closed = false;
		~Closer()
		{
			if (!closed)
				workbook_close(wb);
		}
	} closer{wb};

	lxw_format* title = workbook_add_format(wb);
	format_set_bold(title);
	format_set_font_size(title, 13);
	lxw_format* label = workbook_add_format(wb);
	format_set_bold(label);
	lxw_format* heading = workbook_add_format(wb);
	format_set_bold(heading);
	format_set_bottom(heading, LXW_BORDER_THIN);
	format_set_bg_color(heading, 0xE6E6E6);
	format_set_text_wrap(heading);
	format_set_align(heading, LXW_ALIGN_VERTICAL_TOP);
	lxw_format* money[3];  // detail, subtotal, total
	lxw_format* quotient[3];  // amounts of four decimals
	lxw_format* integer[3];
	lxw_format* percent[3];
	lxw_format* text[3];
	for (int k = 0; k < 3; ++k)
	{
		money[k] = workbook_add_format(wb);
		format_set_num_format(money[k], "#,##0.00;-#,##0.00;0.00");
		quotient[k] = workbook_add_format(wb);
		format_set_num_format(quotient[k], "#,##0.0000;-#,##0.0000;0.0000");
		integer[k] = workbook_add_format(wb);
		format_set_num_format(integer[k], "0");
		percent[k] = workbook_add_format(wb);
		format_set_num_format(percent[k], "0.00%;-0.00%");
		text[k] = workbook_add_format(wb);
		format_set_text_wrap(text[k]);
		format_set_align(text[k], LXW_ALIGN_VERTICAL_TOP);
		for (lxw_format* f : {money[k], quotient[k], integer[k], percent[k], text[k]})
			if (k > 0)
			{
				format_set_bold(f);
				format_set_top(f, k == 1 ? LXW_BORDER_THIN : LXW_BORDER_DOUBLE);
			}
	}

	std::set<std::string> used;
	for (const CReportTable& table : out.tables)
	{
		const std::string name = SheetName(!table.GetSheetName().IsEmpty() ? table.GetSheetName()
										   : !table.GetCaption().IsEmpty() ? table.GetCaption()
																		   : out.title,
										   used);
		lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
		if (!ws)
			throw std::runtime_error("cannot add the sheet " + name);
		worksheet_set_landscape(ws);
		worksheet_set_paper(ws, 9);  // A4
		worksheet_fit_to_pages(ws, 1, 0);
		lxw_row_t r = 0;
		Check(worksheet_write_string(ws, r++, 0, out.title.GetString(), title), "title");
		if (!out.subtitle.IsEmpty())
			Check(worksheet_write_string(ws, r++, 0, out.subtitle.GetString(), label), "subtitle");
		if (!table.GetCaption().IsEmpty())
			Check(worksheet_write_string(ws, r++, 0, table.GetCaption().GetString(), label), "caption");
		Check(worksheet_write_string(ws, r, 0, out.company.GetString(), nullptr), "company");
		Check(worksheet_write_string(ws, r++, 1, out.date.GetString(), nullptr), "date");
		for (auto& [name, value] : out.inputs)
		{
			Check(worksheet_write_string(ws, r, 0, name.GetString(), label), "input");
			Check(worksheet_write_string(ws, r++, 1, value.GetString(), nullptr), "input");
		}
		++r;
		const auto& columns = table.GetColumns();
		for (size_t c = 0; c < columns.size(); ++c)
		{
			Check(worksheet_write_string(ws, r, static_cast<lxw_col_t>(c), columns[c].heading.GetString(), heading), "heading");
			worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), ColumnWidth(table, c), nullptr);
		}
		// The headings stay in sight and head every printed page.
		worksheet_freeze_panes(ws, r + 1, 0);
		worksheet_repeat_rows(ws, r, r);
		++r;
		if (table.GetRows().empty())
			Check(worksheet_write_string(ws, r++, 0, EmptySelectionText(out).GetString(), nullptr), "empty");
		for (const ReportRow& row : table.GetRows())
		{
			const int k = row.kind == RowKind::Total ? 2 : row.kind == RowKind::Subtotal || row.strong ? 1 : 0;
			for (size_t c = 0; c < columns.size(); ++c)
			{
				const ReportCell& cell = row.cells[c];
				const auto col = static_cast<lxw_col_t>(c);
				lxw_format* f = columns[c].kind == ColumnKind::Integer   ? integer[k]
								: columns[c].kind == ColumnKind::Percent ? percent[k]
								: columns[c].kind == ColumnKind::Text    ? text[k]
								: cell.GetDecimals() == 4                ? quotient[k]
																		 : money[k];
				if (cell.IsNumber())
					Check(worksheet_write_number(ws, r, col,
												 CellValue(cell.GetNumber(), columns[c].kind, cell.GetDecimals()), f),
						  "cell");
				else if (!cell.GetText().IsEmpty())
					Check(worksheet_write_string(ws, r, col, cell.GetText().GetString(), f), "cell");
				else if (k > 0)
					Check(worksheet_write_blank(ws, r, col, f), "cell");
			}
			++r;
		}
	}
	closer.closed = true;
	Check(workbook_close(wb), ("cannot write " + file.string()).c_str());
}
