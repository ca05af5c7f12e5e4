#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>

#include "platform/plvrendoviewer/ReportWriters.h"

namespace {

constexpr double kMargin = 36;
constexpr double kRow = 13;         // a row of the table
constexpr double kHeaderTop = 64;   // the page header: company, date, page, title
constexpr double kFooter = 24;
constexpr double kPad = 3;
constexpr const char* kFont = "DejaVu Sans";

// What goes on a page, top to bottom; heights are fixed, so pages are counted before drawing.
struct Item
{
	enum Kind
	{
		Inputs,
		Caption,
		Headings,
		Row,
		Gap,
	} kind;
	int table = -1;
	int row = -1;
	bool continued = false;
};

double ItemHeight(const Item& item, const CReportOutput& out)
{
	switch (item.kind)
	{
	case Item::Inputs: return kRow * static_cast<double>(out.inputs.size()) + kRow / 2;
	case Item::Caption: return kRow * 1.5;
	case Item::Headings: return kRow * 1.4;
	case Item::Row: return kRow;
	case Item::Gap: return kRow;
	}
	return kRow;
}

std::vector<std::vector<Item>> Paginate(const CReportOutput& out, double pageHeight)
{
	const double bottom = pageHeight - kMargin - kFooter;
	std::vector<std::vector<Item>> pages(1);
	double y = kHeaderTop;
	auto fits = [&](double h) { return y + h <= bottom || pages.back().empty(); };
	auto put = [&](const Item& item) {
		pages.back().push_back(item);
		y += ItemHeight(item, out);
	};
	auto newPage = [&] {
		pages.emplace_back();
		y = kHeaderTop;
	};
	if (!out.inputs.empty())
		put({Item::Inputs});
	for (int t = 0; t < static_cast<int>(out.tables.size()); ++t)
	{
		const CReportTable& table = out.tables[static_cast<size_t>(t)];
		// A table starts where its caption, headings and a first row fit.
		if (t > 0 && !pages.back().empty())
		{
			if (fits(kRow * 4.9 + kRow))
				put({Item::Gap});
			else
				newPage();
		}
		if (!fits(kRow * 3.9))
			newPage();
		if (!table.GetCaption().IsEmpty())
			put({Item::Caption, t});
		put({Item::Headings, t});
		for (int r = 0; r < static_cast<int>(table.GetRows().size()); ++r)
		{
			if (!fits(kRow))
			{
				newPage();
				put({Item::Caption, t, -1, true});
				put({Item::Headings, t});
			}
			put({Item::Row, t, r});
		}
	}
	return pages;
}

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

	// One line of text in a box, cut with an ellipsis when it does not fit.
	void Text(const CString& text, double x, double y, double width, double size, bool bold, Align align)
	{
		PangoFontDescription* font = pango_font_description_new();
		pango_font_description_set_family(font, kFont);
		pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
		pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
		pango_layout_set_font_description(m_Layout, font);
		pango_font_description_free(font);
		pango_layout_set_text(m_Layout, text.GetString(), -1);
		pango_layout_set_width(m_Layout, static_cast<int>(width * PANGO_SCALE));
		pango_layout_set_ellipsize(m_Layout, PANGO_ELLIPSIZE_END);
		pango_layout_set_alignment(m_Layout, align == Left    ? PANGO_ALIGN_LEFT
											 : align == Right ? PANGO_ALIGN_RIGHT
															  : PANGO_ALIGN_CENTER);
		cairo_move_to(m_cr, x, y);
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
	cairo_t* m_cr;
	PangoLayout* m_Layout;
};

std::vector<double> ColumnWidths(const CReportTable& table, double width)
{
	const auto& columns = table.GetColumns();
	const double total = std::accumulate(columns.begin(), columns.end(), 0.0,
										 [](double s, const ReportColumn& c) { return s + std::max(c.width, 0.1); });
	std::vector<double> widths;
	for (const ReportColumn& c : columns)
		widths.push_back(width * std::max(c.width, 0.1) / total);
	return widths;
}

}  // namespace

void WriteReportPdf(const CReportOutput& out, const std::filesystem::path& file)
{
	size_t maxColumns = 0;
	for (const CReportTable& t : out.tables)
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
		const auto pages = Paginate(out, pageH);
		for (size_t n = 0; n < pages.size(); ++n)
		{
			// The page header.
			p.Text(out.company, kMargin, kMargin - 14, width / 2, 8, false, PdfPainter::Left);
			p.Text(CString::Formatted("%s   Pagina %zu di %zu", out.date.GetString(), n + 1, pages.size()), kMargin + width / 2,
				   kMargin - 14, width / 2, 8, false, PdfPainter::Right);
			p.Text(out.title, kMargin, kMargin, width, 13, true, PdfPainter::Left);
			p.Line(kMargin, kMargin + 20, kMargin + width, 0.8);

			double y = kHeaderTop;
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
						p.Text(name + ":", kMargin, iy, width * 0.25, 8, true, PdfPainter::Left);
						p.Text(value, kMargin + width * 0.25, iy, width * 0.75, 8, false, PdfPainter::Left);
						iy += kRow;
					}
					break;
				}
				case Item::Caption:
					p.Text(table->GetCaption() + (item.continued ? " (segue)" : ""), kMargin, y + 2, width, 10, true,
						   PdfPainter::Left);
					break;
				case Item::Headings:
				{
					const auto widths = ColumnWidths(*table, width);
					p.Fill(kMargin, y, width, kRow * 1.3, 0.9);
					double x = kMargin;
					for (size_t c = 0; c < widths.size(); ++c)
					{
						const ReportColumn& col = table->GetColumns()[c];
						p.Text(col.heading, x + kPad, y + 3, widths[c] - 2 * kPad, 7.5, true,
							   col.kind == ColumnKind::Text ? PdfPainter::Left : PdfPainter::Right);
						x += widths[c];
					}
					break;
				}
				case Item::Row:
				{
					const ReportRow& row = table->GetRows()[static_cast<size_t>(item.row)];
					const auto widths = ColumnWidths(*table, width);
					const bool bold = row.kind != RowKind::Detail;
					if (row.kind != RowKind::Detail)
						p.Line(kMargin, y + 0.5, kMargin + width, row.kind == RowKind::Total ? 1.0 : 0.4);
					double x = kMargin;
					for (size_t c = 0; c < widths.size(); ++c)
					{
						const ReportColumn& col = table->GetColumns()[c];
						const ReportCell& cell = row.cells[c];
						// A subtotal's label runs on over the empty cells after it.
						double w = widths[c];
						if (bold && !cell.IsNumber())
							for (size_t n = c + 1; n < widths.size() && row.cells[n].IsEmpty(); ++n)
								w += widths[n];
						p.Text(FormatReportCell(cell, col.kind), x + kPad, y + 2, w - 2 * kPad, 8, bold,
							   cell.IsNumber() ? PdfPainter::Right : PdfPainter::Left);
						x += widths[c];
					}
					if (row.kind == RowKind::Total)
						p.Line(kMargin, y + kRow, kMargin + width, 1.0);
					break;
				}
				case Item::Gap: break;
				}
				y += ItemHeight(item, out);
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
