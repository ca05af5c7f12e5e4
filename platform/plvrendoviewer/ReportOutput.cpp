#include "platform/plvrendoviewer/ReportOutput.h"

#include <cmath>
#include <stdexcept>

std::optional<ReportFormat> ParseReportFormat(const CString& text)
{
	if (text.CompareNoCase("pdf") == 0)
		return ReportFormat::Pdf;
	if (text.CompareNoCase("xlsx") == 0)
		return ReportFormat::Xlsx;
	if (text.CompareNoCase("csv") == 0)
		return ReportFormat::Csv;
	return std::nullopt;
}

CString ReportFormatExtension(ReportFormat format)
{
	switch (format)
	{
	case ReportFormat::Pdf: return "pdf";
	case ReportFormat::Xlsx: return "xlsx";
	case ReportFormat::Csv: return "csv";
	}
	return "";
}

namespace {
bool IsSummed(ColumnKind kind)
{
	return kind == ColumnKind::Money || kind == ColumnKind::Number;
}
}  // namespace

CReportTable::CReportTable(const CString& caption, std::vector<ReportColumn> columns)
	: m_Caption(caption), m_Columns(std::move(columns)), m_GroupSums(m_Columns.size()), m_TotalSums(m_Columns.size())
{
}

void CReportTable::AddRow(std::vector<ReportCell> cells, bool bStrong)
{
	if (cells.size() > m_Columns.size())
		throw std::invalid_argument("a report row has more cells than its table has columns");
	cells.resize(m_Columns.size());
	for (size_t i = 0; i < cells.size(); ++i)
	{
		if (m_Columns[i].kind != ColumnKind::Text && !cells[i].IsEmpty() && !cells[i].IsNumber())
			throw std::invalid_argument(("the column \"" + m_Columns[i].heading + "\" takes numbers only").str());
		if (IsSummed(m_Columns[i].kind))
		{
			m_GroupSums[i] += cells[i].GetNumber();
			m_TotalSums[i] += cells[i].GetNumber();
		}
	}
	m_Rows.push_back({RowKind::Detail, std::move(cells), bStrong});
	++m_nGroupDetails;
	++m_nDetails;
}

ReportRow CReportTable::SumRow(RowKind kind, const CString& label, int nLabelColumn, const std::vector<double>& sums) const
{
	ReportRow row{kind, std::vector<ReportCell>(m_Columns.size())};
	if (nLabelColumn < 0 || nLabelColumn >= static_cast<int>(m_Columns.size()) ||
		m_Columns[static_cast<size_t>(nLabelColumn)].kind != ColumnKind::Text)
		nLabelColumn = -1;
	for (size_t i = 0; i < m_Columns.size(); ++i)
		if (IsSummed(m_Columns[i].kind))
			row.cells[i] = ReportCell(sums[i]);
		else if (nLabelColumn < 0 && m_Columns[i].kind == ColumnKind::Text)
			nLabelColumn = static_cast<int>(i);
	if (nLabelColumn >= 0)
		row.cells[static_cast<size_t>(nLabelColumn)] = ReportCell(label);
	return row;
}

void CReportTable::AddSubtotal(const CString& label, int nLabelColumn)
{
	if (m_nGroupDetails == 0)
		return;
	m_Rows.push_back(SumRow(RowKind::Subtotal, label, nLabelColumn, m_GroupSums));
	std::fill(m_GroupSums.begin(), m_GroupSums.end(), 0.0);
	m_nGroupDetails = 0;
}

void CReportTable::AddTotal(const CString& label, int nLabelColumn)
{
	m_Rows.push_back(SumRow(RowKind::Total, label, nLabelColumn, m_TotalSums));
	std::fill(m_GroupSums.begin(), m_GroupSums.end(), 0.0);
	m_nGroupDetails = 0;
}

CString FormatItalianNumber(double value, int decimals, bool bGrouped)
{
	const double scale = std::pow(10.0, decimals);
	double rounded = std::round(std::fabs(value) * scale);
	const bool negative = value < 0 && rounded != 0;
	const auto units = static_cast<long long>(std::floor(rounded / scale));
	const auto fraction = static_cast<long long>(rounded - static_cast<double>(units) * scale);
	std::string digits = std::to_string(units);
	std::string grouped;
	for (size_t i = 0; i < digits.size(); ++i)
	{
		if (bGrouped && i > 0 && (digits.size() - i) % 3 == 0)
			grouped += '.';
		grouped += digits[i];
	}
	if (decimals > 0)
	{
		std::string frac = std::to_string(fraction);
		grouped += ',' + std::string(static_cast<size_t>(decimals) - std::min(frac.size(), static_cast<size_t>(decimals)), '0') + frac;
	}
	return CString((negative ? "-" : "") + grouped);
}

CString FormatReportCell(const ReportCell& cell, ColumnKind kind)
{
	if (!cell.IsNumber())
		return cell.GetText();
	switch (kind)
	{
	case ColumnKind::Integer: return FormatItalianNumber(cell.GetNumber(), 0, false);
	case ColumnKind::Percent: return FormatItalianNumber(cell.GetNumber()) + " %";
	default: return FormatItalianNumber(cell.GetNumber(), cell.GetDecimals());
	}
}

CString EmptySelectionText(const CReportOutput& out)
{
	CString selection;
	for (const auto& [name, value] : out.inputs)
		if (!value.IsEmpty())
			selection += (selection.IsEmpty() ? "" : ", ") + name + " " + value;
	return "Nessun dato per la selezione" + (selection.IsEmpty() ? CString(".") : ": " + selection);
}
