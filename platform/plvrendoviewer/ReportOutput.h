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
	Percent,  // a percentage (12.5 is 12,50 %), not summed
	Integer,  // a count, a month, a position: no decimals, not summed
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

	bool IsEmpty() const { return !m_bText && !m_Value; }
	bool IsNumber() const { return m_Value.has_value(); }
	double GetNumber() const { return m_Value.value_or(0); }
	const CString& GetText() const { return m_Text; }

private:
	CString m_Text;
	bool m_bText = false;
	std::optional<double> m_Value;
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
};

class CReportTable
{
public:
	CReportTable(const CString& caption, std::vector<ReportColumn> columns);

	const CString& GetCaption() const { return m_Caption; }
	const std::vector<ReportColumn>& GetColumns() const { return m_Columns; }
	const std::vector<ReportRow>& GetRows() const { return m_Rows; }
	bool HasDetail() const { return m_nDetails > 0; }

	// A detail row; missing cells stay empty. A text in a numeric column is refused.
	void AddRow(std::vector<ReportCell> cells);
	// The sums of the summed columns over the detail rows since the last subtotal, under a label
	// in the given column (-1: the first text column). Nothing when no detail row came since.
	void AddSubtotal(const CString& label, int nLabelColumn = -1);
	// The sums over every detail row.
	void AddTotal(const CString& label, int nLabelColumn = -1);

private:
	ReportRow SumRow(RowKind kind, const CString& label, int nLabelColumn, const std::vector<double>& sums) const;

	CString m_Caption;
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
	CString company;
	CString date;  // dd/mm/yyyy
	std::vector<std::pair<CString, CString>> inputs;
	std::vector<CReportTable> tables;

	CReportTable& AddTable(const CString& caption, std::vector<ReportColumn> columns)
	{
		return tables.emplace_back(caption, std::move(columns));
	}
};

// A number as Italian statements show it: "1.234.567,89", "-0,50".
CString FormatItalianNumber(double value, int decimals = 2);
// A cell as the column shows it ("12,50 %" for a percentage).
CString FormatReportCell(const ReportCell& cell, ColumnKind kind);
