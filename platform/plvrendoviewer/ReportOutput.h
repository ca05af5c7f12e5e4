#pragma once
// What a report lays out before it is written: a title, the request's inputs, and tables of
// columns, rows, subtotals and totals. Numbers stay numbers until a writer formats them.
#include <optional>
#include <utility>
#include <vector>

#include "platform/mfc/CString.h"

enum class ReportFormat
{
	Pdf,
	Xlsx,
	Csv,
};
// "pdf", "xlsx", "csv" (any case); nothing for another text.
std::optional<ReportFormat> ParseReportFormat(const CString& text);
CString ReportFormatExtension(ReportFormat format);

enum class ColumnKind
{
	Text,
	Money,    // two decimals, summed in subtotals and totals
	Number,   // two decimals, summed
	Balance,  // two decimals, not summed (a running balance, a rate)
	Percent,  // a percentage (12.5 is 12,50 %), not summed; a spreadsheet holds it as 0.125
	Integer,  // a count, a month, a year, a position: no decimals, no thousands separator, not summed
};

struct ReportColumn
{
	CString heading;
	ColumnKind kind = ColumnKind::Text;
	double width = 1;  // relative to the other columns
};

// A cell: empty, a text or a number.
class ReportCell
{
public:
	ReportCell() = default;
	ReportCell(const CString& text) : m_Text(text), m_bText(true) {}
	ReportCell(const char* text) : m_Text(text ? text : ""), m_bText(true) {}
	ReportCell(double value) : m_Value(value) {}
	ReportCell(int value) : m_Value(value) {}
	// A number shown with its own decimals (a quotient: 0,0986), whatever its column's kind.
	ReportCell(double value, int decimals) : m_Value(value), m_nDecimals(decimals) {}

	bool IsEmpty() const { return !m_bText && !m_Value; }
	bool IsNumber() const { return m_Value.has_value(); }
	double GetNumber() const { return m_Value.value_or(0); }
	const CString& GetText() const { return m_Text; }
	// The decimals of an amount (two unless the cell says otherwise).
	int GetDecimals() const { return m_nDecimals; }

private:
	CString m_Text;
	bool m_bText = false;
	std::optional<double> m_Value;
	int m_nDecimals = 2;
};

enum class RowKind
{
	Detail,
	Subtotal,
	Total,
};

struct ReportRow
{
	RowKind kind = RowKind::Detail;
	std::vector<ReportCell> cells;
	bool strong = false;  // a detail row that totals others: bold, a rule above
};

class CReportTable
{
public:
	CReportTable(const CString& caption, std::vector<ReportColumn> columns);

	const CString& GetCaption() const { return m_Caption; }
	// The spreadsheet's name for the table's sheet (at most 31 characters); the caption when empty.
	const CString& GetSheetName() const { return m_SheetName; }
	void SetSheetName(const CString& name) { m_SheetName = name; }
	// A table only a spreadsheet or a CSV holds: too wide for a page.
	bool IsSpreadsheetOnly() const { return m_bSpreadsheetOnly; }
	void SetSpreadsheetOnly(bool b) { m_bSpreadsheetOnly = b; }
	const std::vector<ReportColumn>& GetColumns() const { return m_Columns; }
	const std::vector<ReportRow>& GetRows() const { return m_Rows; }
	bool HasDetail() const { return m_nDetails > 0; }

	// A detail row; missing cells stay empty. A text in a numeric column is refused. A strong
	// row (one that totals the rows before it) stands out, and is summed as any detail row.
	void AddRow(std::vector<ReportCell> cells, bool bStrong = false);
	// The sums of the summed columns over the detail rows since the last subtotal, under a label
	// in the given column (-1: the first text column). Nothing when no detail row came since.
	void AddSubtotal(const CString& label, int nLabelColumn = -1);
	// The sums over every detail row.
	void AddTotal(const CString& label, int nLabelColumn = -1);

private:
	ReportRow SumRow(RowKind kind, const CString& label, int nLabelColumn, const std::vector<double>& sums) const;

	CString m_Caption;
	CString m_SheetName;
	bool m_bSpreadsheetOnly = false;
	std::vector<ReportColumn> m_Columns;
	std::vector<ReportRow> m_Rows;
	std::vector<double> m_GroupSums;
	std::vector<double> m_TotalSums;
	int m_nGroupDetails = 0;
	int m_nDetails = 0;
};

struct CReportOutput
{
	CString title;
	CString subtitle;  // what the report is of (a model's description), under the title
	CString company;
	CString date;  // dd/mm/yyyy
	std::vector<std::pair<CString, CString>> inputs;
	std::vector<CReportTable> tables;

	CReportTable& AddTable(const CString& caption, std::vector<ReportColumn> columns)
	{
		return tables.emplace_back(caption, std::move(columns));
	}
};

// A number as Italian statements show it: "1.234.567,89", "-0,50"; without the thousands
// separator when asked ("2026").
CString FormatItalianNumber(double value, int decimals = 2, bool bGrouped = true);
// The line a table without rows shows: "Nessun dato per la selezione: Modello CE, Esercizio 2026".
CString EmptySelectionText(const CReportOutput& out);
// A cell as the column shows it ("12,50 %" for a percentage).
CString FormatReportCell(const ReportCell& cell, ColumnKind kind);
