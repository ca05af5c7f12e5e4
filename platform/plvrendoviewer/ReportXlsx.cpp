#include <xlsxwriter.h>

#include <set>
#include <stdexcept>
#include <string>

#include "platform/plvrendoviewer/ReportWriters.h"

namespace {

// A sheet name: at most 31 characters, none of []:*?/\, unique in the workbook.
std::string SheetName(const CString& caption, int index, std::set<std::string>& used)
{
	std::string name;
	for (char c : caption.str())
		name += std::string("[]:*?/\\").find(c) == std::string::npos ? c : ' ';
	if (name.empty())
		name = "Foglio";
	// Cut on a character boundary: UTF-8 continuation bytes start with 10.
	while (name.size() > 27)
	{
		name.pop_back();
		while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
			name.pop_back();
		if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0)
			name.pop_back();
	}
	std::string unique = name;
	for (int n = 2; used.count(unique); ++n)
		unique = name + " " + std::to_string(n);
	used.insert(unique);
	(void)index;
	return unique;
}

void Check(lxw_error e, const char* what)
{
	if (e != LXW_NO_ERROR)
		throw std::runtime_error(std::string(what) + ": " + lxw_strerror(e));
}

}  // namespace

void WriteReportXlsx(const CReportOutput& out, const std::filesystem::path& file)
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
	lxw_format* money[3];  // detail, subtotal, total
	lxw_format* integer[3];
	lxw_format* percent[3];
	lxw_format* text[3];
	for (int k = 0; k < 3; ++k)
	{
		money[k] = workbook_add_format(wb);
		format_set_num_format(money[k], "#,##0.00;-#,##0.00");
		integer[k] = workbook_add_format(wb);
		format_set_num_format(integer[k], "0");
		percent[k] = workbook_add_format(wb);
		format_set_num_format(percent[k], "0.00\" %\"");
		text[k] = workbook_add_format(wb);
		for (lxw_format* f : {money[k], integer[k], percent[k], text[k]})
			if (k > 0)
			{
				format_set_bold(f);
				format_set_top(f, k == 1 ? LXW_BORDER_THIN : LXW_BORDER_DOUBLE);
			}
	}

	std::set<std::string> used;
	int index = 0;
	for (const CReportTable& table : out.tables)
	{
		const std::string name = SheetName(table.GetCaption().IsEmpty() ? out.title : table.GetCaption(), index++, used);
		lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
		if (!ws)
			throw std::runtime_error("cannot add the sheet " + name);
		lxw_row_t r = 0;
		Check(worksheet_write_string(ws, r++, 0, out.title.GetString(), title), "title");
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
			worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
								 columns[c].kind == ColumnKind::Text ? 12 * columns[c].width + 4 : 15, nullptr);
		}
		worksheet_freeze_panes(ws, r + 1, 0);
		++r;
		for (const ReportRow& row : table.GetRows())
		{
			const int k = row.kind == RowKind::Detail ? 0 : row.kind == RowKind::Subtotal ? 1 : 2;
			for (size_t c = 0; c < columns.size(); ++c)
			{
				const ReportCell& cell = row.cells[c];
				const auto col = static_cast<lxw_col_t>(c);
				lxw_format* f = columns[c].kind == ColumnKind::Integer   ? integer[k]
								: columns[c].kind == ColumnKind::Percent ? percent[k]
								: columns[c].kind == ColumnKind::Text    ? text[k]
																		 : money[k];
				if (cell.IsNumber())
					Check(worksheet_write_number(ws, r, col, cell.GetNumber(), f), "cell");
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
