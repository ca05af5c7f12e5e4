#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <stdexcept>
#include <string>

#include "platform/plvrendoviewer/ReportWriters.h"

namespace {

constexpr double kMargin = 36;
constexpr double kRow = 13;         // a row of one line
constexpr double kLine = 9.5;       // each further line of a wrapped cell
constexpr double kFooter = 24;
constexpr double kPad = 3;
constexpr double kCellSize = 8;
constexpr double kHeadingSize = 7.5;
constexpr const char* kFont = "DejaVu Sans";

class PdfPainter
{
public:
	PdfPainter(cairo_t* cr) : m_cr(cr), m_Layout(pango_cairo_create_layout(cr)) {}
	~PdfPainter() { g_object_unref(m_Layout); }
	PdfPainter(const PdfPainter&) = delete;
	PdfPainter& operator=(const PdfPainter&) = delete;

	enum Align
	{
		Left,
		Right,
		Center,
	};

	// A text in a box of the given width, wrapped over as many lines as it needs: a description
	// is never cut. Returns the height it took.
	double Text(const CString& text, double x, double y, double width, double size, bool bold, Align align)
	{
		Prepare(text, width, size, bold, align);
		cairo_move_to(m_cr, x, y);
		pango_cairo_show_layout(m_cr, m_Layout);
		return Height();
	}
	// The height the text would take.
	double Measure(const CString& text, double width, double size, bool bold)
	{
		Prepare(text, width, size, bold, Left);
		return Height();
	}
	// The width of the text on one line.
	double MeasureWidth(const CString& text, double size, bool bold)
	{
		Prepare(text, -1, size, bold, Left);
		int w = 0, h = 0;
		pango_layout_get_pixel_size(m_Layout, &w, &h);
		return w;
	}
	// A number on one line, its font made smaller when it does not fit: never cut, never wrapped.
	void Number(const CString& text, double x, double y, double width, double size, bool bold)
	{
		Prepare(text, -1, size, bold, Left);
		int w = 0, h = 0;
		pango_layout_get_pixel_size(m_Layout, &w, &h);
		if (w > width && w > 0)
		{
			Prepare(text, -1, size * width / w, bold, Left);
			pango_layout_get_pixel_size(m_Layout, &w, &h);
		}
		cairo_move_to(m_cr, x + width - w, y);
		pango_cairo_show_layout(m_cr, m_Layout);
	}

	void Line(double x1, double y, double x2, double width = 0.5)
	{
		cairo_set_line_width(m_cr, width);
		cairo_move_to(m_cr, x1, y);
		cairo_line_to(m_cr, x2, y);
		cairo_stroke(m_cr);
	}

	void Fill(double x, double y, double w, double h, double grey)
	{
		cairo_set_source_rgb(m_cr, grey, grey, grey);
		cairo_rectangle(m_cr, x, y, w, h);
		cairo_fill(m_cr);
		cairo_set_source_rgb(m_cr, 0, 0, 0);
	}

private:
	void Prepare(const CString& text, double width, double size, bool bold, Align align)
	{
		PangoFontDescription* font = pango_font_description_new();
		pango_font_description_set_family(font, kFont);
		pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
		pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
		pango_layout_set_font_description(m_Layout, font);
		pango_font_description_free(font);
		pango_layout_set_text(m_Layout, text.GetString(), -1);
		pango_layout_set_width(m_Layout, width < 0 ? -1 : static_cast<int>(std::max(width, 1.0) * PANGO_SCALE));
		pango_layout_set_wrap(m_Layout, PANGO_WRAP_WORD_CHAR);
		pango_layout_set_ellipsize(m_Layout, PANGO_ELLIPSIZE_NONE);
		pango_layout_set_alignment(m_Layout, align == Left    ? PANGO_ALIGN_LEFT
											 : align == Right ? PANGO_ALIGN_RIGHT
															  : PANGO_ALIGN_CENTER);
	}
	double Height()
	{
		int w = 0, h = 0;
		pango_layout_get_pixel_size(m_Layout, &w, &h);
		return h;
	}

	cairo_t* m_cr;
	PangoLayout* m_Layout;
};

// What goes on a page, top to bottom, with its height: pages are counted before drawing.
struct Item
{
	enum Kind
	{
		Inputs,
		Caption,
		Headings,
		Row,
		Empty,  // a table without rows: the selection it was asked for
		Gap,
	} kind;
	int table = -1;
	int row = -1;
	bool continued = false;
	double height = kRow;
};

class PdfLayout
{
public:
	PdfLayout(const CReportOutput& out, PdfPainter& p, double width) : m_Out(out), m_P(p), m_Width(width) {}

	double HeaderTop() const { return m_Out.subtitle.IsEmpty() ? 64 : 78; }

	// The columns' widths: shared as the definition weighs them, but never narrower than the
	// longest word of the heading or than the widest number, so that no word is broken.
	const std::vector<double>& Widths(const CReportTable& table)
	{
		auto it = m_Widths.find(&table);
		if (it != m_Widths.end())
			return it->second;
		const auto& columns = table.GetColumns();
		const size_t n = columns.size();
		std::vector<double> weight(n), least(n, 0.0), widths(n, 0.0);
		for (size_t c = 0; c < n; ++c)
		{
			weight[c] = std::max(columns[c].width, 0.1);
			std::string word;
			for (char ch : columns[c].heading.str() + ' ')
				if (ch != ' ')
					word += ch;
				else if (!word.empty())
				{
					least[c] = std::max(least[c], m_P.MeasureWidth(CString(word), kHeadingSize, true));
					word.clear();
				}
			for (const ReportRow& row : table.GetRows())
				if (row.cells[c].IsNumber())
					least[c] = std::max(least[c], m_P.MeasureWidth(FormatReportCell(row.cells[c], columns[c].kind), kCellSize, Bold(row)));
			least[c] += 2 * kPad + 1;
		}
		// Columns below their least take it; the rest share what is left by weight.
		std::vector<bool> fixed(n, false);
		for (bool changed = true; changed;)
		{
			changed = false;
			double left = m_Width, weights = 0;
			for (size_t c = 0; c < n; ++c)
				fixed[c] ? left -= least[c] : weights += weight[c];
			for (size_t c = 0; c < n; ++c)
			{
				widths[c] = fixed[c] ? least[c] : std::max(left, 0.0) * weight[c] / std::max(weights, 0.1);
				if (!fixed[c] && widths[c] < least[c])
					fixed[c] = changed = true;
			}
		}
		// Too many columns for the page: each shrinks in proportion (numbers shrink their font).
		const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
		if (total > m_Width)
			for (double& w : widths)
				w *= m_Width / total;
		return m_Widths.emplace(&table, std::move(widths)).first->second;
	}
	// What a text takes beyond its first line: a one-line row keeps its fixed height.
	double ExtraLines(const CString& text, double width, double size, bool bold)
	{
		return std::max(0.0, m_P.Measure(text, width, size, bold) - m_P.Measure("Ag", 1e4, size, bold));
	}
	double InputNameWidth() const { return m_Width * 0.2; }

	double InputsHeight()
	{
		double h = kRow / 2;
		for (auto& [name, value] : m_Out.inputs)
			h += kRow + ExtraLines(value, m_Width - InputNameWidth(), kCellSize, false);
		return h;
	}
	double HeadingsHeight(const CReportTable& table)
	{
		const auto& widths = Widths(table);
		double h = 0;
		for (size_t c = 0; c < widths.size(); ++c)
			h = std::max(h, ExtraLines(table.GetColumns()[c].heading, widths[c] - 2 * kPad, kHeadingSize, true));
		return kRow * 1.4 + h;
	}
	// The width a cell's text takes: a subtotal's label runs on over the empty cells after it.
	double CellWidth(const ReportRow& row, const std::vector<double>& widths, size_t c) const
	{
		double w = widths[c];
		if (Bold(row) && !row.cells[c].IsNumber())
			for (size_t n = c + 1; n < widths.size() && row.cells[n].IsEmpty(); ++n)
				w += widths[n];
		return w;
	}
	double RowHeight(const CReportTable& table, const ReportRow& row)
	{
		const auto& widths = Widths(table);
		double h = kRow;
		for (size_t c = 0; c < widths.size(); ++c)
			if (!row.cells[c].IsNumber() && !row.cells[c].GetText().IsEmpty())
				h = std::max(h, kRow + ExtraLines(row.cells[c].GetText(), CellWidth(row, widths, c) - 2 * kPad, kCellSize, Bold(row)));
		return h;
	}
	static bool Bold(const ReportRow& row) { return row.kind != RowKind::Detail || row.strong; }

	std::vector<std::vector<Item>> Paginate(double pageHeight)
	{
		const double bottom = pageHeight - kMargin - kFooter;
		std::vector<std::vector<Item>> pages(1);
		double y = HeaderTop();
		auto fits = [&](double h) { return y + h <= bottom || pages.back().empty(); };
		auto put = [&](Item item) {
			pages.back().push_back(item);
			y += item.height;
		};
		auto newPage = [&] {
			pages.emplace_back();
			y = HeaderTop();
		};
		if (!m_Out.inputs.empty())
			put({Item::Inputs, -1, -1, false, InputsHeight()});
		bool first = true;
		for (int t = 0; t < static_cast<int>(m_Out.tables.size()); ++t)
		{
			const CReportTable& table = m_Out.tables[static_cast<size_t>(t)];
			if (table.IsSpreadsheetOnly())
				continue;
			const double caption = kRow * 1.5, headings = HeadingsHeight(table);
			const double firstRow = table.GetRows().empty() ? kRow : RowHeight(table, table.GetRows().front());
			double whole = caption + headings;
			for (const ReportRow& row : table.GetRows())
				whole += RowHeight(table, row);
			// A table starts where its caption, headings and a first row fit; one that fits on a
			// page of its own is never broken across two.
			const bool onePage = whole <= bottom - HeaderTop();
			if (!first && !pages.back().empty())
			{
				if (fits(kRow + caption + headings + firstRow) && (!onePage || fits(kRow + whole)))
					put({Item::Gap});
				else
					newPage();
			}
			first = false;
			if (!fits(caption + headings + firstRow) || (onePage && !fits(whole)))
				newPage();
			if (!table.GetCaption().IsEmpty())
				put({Item::Caption, t, -1, false, caption});
			put({Item::Headings, t, -1, false, headings});
			if (table.GetRows().empty())
				put({Item::Empty, t, -1, false, kRow * 1.5 + ExtraLines(EmptySelectionText(m_Out), m_Width - 2 * kPad, kCellSize, false)});
			for (int r = 0; r < static_cast<int>(table.GetRows().size()); ++r)
			{
				const double h = RowHeight(table, table.GetRows()[static_cast<size_t>(r)]);
				if (!fits(h))
				{
					newPage();
					if (!table.GetCaption().IsEmpty())
						put({Item::Caption, t, -1, true, caption});
					put({Item::Headings, t, -1, false, headings});
				}
				put({Item::Row, t, r, false, h});
			}
		}
		return pages;
	}

private:
	const CReportOutput& m_Out;
	PdfPainter& m_P;
	double m_Width;
	std::map<const CReportTable*, std::vector<double>> m_Widths;
};

}  // namespace

extern "C" void PlvWriteReportPdf(const CReportOutput& out, const std::filesystem::path& file)
{
	size_t maxColumns = 0;
	for (const CReportTable& t : out.tables)
		if (!t.IsSpreadsheetOnly())
			maxColumns = std::max(maxColumns, t.GetColumns().size());
	const bool landscape = maxColumns > 6;
	const double pageW = landscape ? 841.89 : 595.28;
	const double pageH = landscape ? 595.28 : 841.89;
	const double width = pageW - 2 * kMargin;

	cairo_surface_t* surface = cairo_pdf_surface_create(file.c_str(), pageW, pageH);
	if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy(surface);
		throw std::runtime_error("cannot write " + file.string());
	}
	cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, out.title.GetString());
	cairo_t* cr = cairo_create(surface);
	{
		PdfPainter p(cr);
		PdfLayout layout(out, p, width);
		const auto pages = layout.Paginate(pageH);
		for (size_t n = 0; n < pages.size(); ++n)
		{
			// The page header: company and date, the title, what the report is of.
			p.Text(out.company, kMargin, kMargin - 14, width * 0.6, 8, false, PdfPainter::Left);
			p.Text(CString::Formatted("%s   Pagina %zu di %zu", out.date.GetString(), n + 1, pages.size()), kMargin + width * 0.6,
				   kMargin - 14, width * 0.4, 8, false, PdfPainter::Right);
			p.Text(out.title, kMargin, kMargin, width, 13, true, PdfPainter::Left);
			if (!out.subtitle.IsEmpty())
				p.Text(out.subtitle, kMargin, kMargin + 18, width, 9.5, false, PdfPainter::Left);
			p.Line(kMargin, layout.HeaderTop() - 8, kMargin + width, 0.8);

			double y = layout.HeaderTop();
			for (const Item& item : pages[n])
			{
				const CReportTable* table = item.table >= 0 ? &out.tables[static_cast<size_t>(item.table)] : nullptr;
				switch (item.kind)
				{
				case Item::Inputs:
				{
					double iy = y;
					for (auto& [name, value] : out.inputs)
					{
						p.Text(name + ":", kMargin, iy, layout.InputNameWidth(), kCellSize, true, PdfPainter::Left);
						p.Text(value, kMargin + layout.InputNameWidth(), iy, width - layout.InputNameWidth(), kCellSize, false,
							   PdfPainter::Left);
						iy += kRow + layout.ExtraLines(value, width - layout.InputNameWidth(), kCellSize, false);
					}
					break;
				}
				case Item::Caption:
					p.Text(table->GetCaption() + (item.continued ? " (segue)" : ""), kMargin, y + 2, width, 10, true,
						   PdfPainter::Left);
					break;
				case Item::Headings:
				{
					const auto& widths = layout.Widths(*table);
					p.Fill(kMargin, y, width, item.height - kRow * 0.1, 0.9);
					double x = kMargin;
					for (size_t c = 0; c < widths.size(); ++c)
					{
						const ReportColumn& col = table->GetColumns()[c];
						p.Text(col.heading, x + kPad, y + 3, widths[c] - 2 * kPad, kHeadingSize, true,
							   col.kind == ColumnKind::Text ? PdfPainter::Left : PdfPainter::Right);
						x += widths[c];
					}
					break;
				}
				case Item::Empty:
					p.Text(EmptySelectionText(out), kMargin + kPad, y + 3, width - 2 * kPad, kCellSize, false, PdfPainter::Left);
					break;
				case Item::Row:
				{
					const ReportRow& row = table->GetRows()[static_cast<size_t>(item.row)];
					const auto& widths = layout.Widths(*table);
					const bool bold = PdfLayout::Bold(row);
					if (row.kind != RowKind::Detail)
						p.Line(kMargin, y + 0.5, kMargin + width, row.kind == RowKind::Total ? 1.0 : 0.4);
					else if (row.strong)
						p.Line(kMargin, y + 0.5, kMargin + width, 0.6);
					double x = kMargin;
					for (size_t c = 0; c < widths.size(); ++c)
					{
						const ReportColumn& col = table->GetColumns()[c];
						const ReportCell& cell = row.cells[c];
						if (cell.IsNumber())
							p.Number(FormatReportCell(cell, col.kind), x + kPad, y + 2, widths[c] - 2 * kPad, kCellSize, bold);
						else if (!cell.GetText().IsEmpty())
							p.Text(cell.GetText(), x + kPad, y + 2, layout.CellWidth(row, widths, c) - 2 * kPad, kCellSize, bold,
								   PdfPainter::Left);
						x += widths[c];
					}
					if (row.kind == RowKind::Total)
						p.Line(kMargin, y + item.height, kMargin + width, 1.0);
					break;
				}
				case Item::Gap: break;
				}
				y += item.height;
			}
			cairo_show_page(cr);
		}
	}
	cairo_destroy(cr);
	cairo_surface_finish(surface);
	const cairo_status_t status = cairo_surface_status(surface);
	cairo_surface_destroy(surface);
	if (status != CAIRO_STATUS_SUCCESS)
		throw std::runtime_error("cannot write " + file.string() + ": " + cairo_status_to_string(status));
}
