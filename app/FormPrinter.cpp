#include "FormPrinter.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>

#include "platform/plvgeneric/Interaction.h"
#include "platform/plvges/FormDriver.h"

namespace {

const char* ModeName(CBaseDocument::FormMode mode)
{
	switch (mode)
	{
	case CBaseDocument::BROWSE: return "browse";
	case CBaseDocument::NEW: return "new";
	case CBaseDocument::EDIT: return "edit";
	case CBaseDocument::FIND: return "find";
	default: return "none";
	}
}

const char* MessageKind(unsigned type)
{
	if ((type & MB_TYPEMASK) != MB_OK)
		return "question";
	switch (type & 0xF0)
	{
	case MB_ICONERROR: return "error";
	case MB_ICONWARNING: return "warning";
	default: return "info";
	}
}

// The tab page of each form a tab manager holds, by the page's title (else name).
std::map<const CParsedForm*, std::string> TabPages(const CParsedForm& root)
{
	std::map<const CParsedForm*, std::string> pages;
	for (CParsedCtrl* p : root.GetAllControls())
		if (auto* pTabs = DynamicDownCast<CTabManager>(p))
			for (int i = 0; i < pTabs->GetDialogCount(); ++i)
			{
				CBaseTabDialog* pPage = pTabs->GetDialog(i);
				pages[pPage] = (pPage->GetTitle().IsEmpty() ? pPage->GetName() : pPage->GetTitle()).str();
			}
	return pages;
}

// The kind of value a control takes, by what it shows and the data behind it.
std::string KindOf(const CParsedCtrl& ctrl)
{
	if (ctrl.IsButton())
		return "button";
	if (DynamicDownCast<CListBox>(const_cast<CParsedCtrl*>(&ctrl)))
		return "list";
	if (ctrl.IsStatic())
		return "shown";
	const DataObj* pData = ctrl.GetCtrlData();
	switch (pData ? pData->GetDataType() : 0)
	{
	case DATA_STR_TYPE: return "text";
	case DATA_INT_TYPE:
	case DATA_LNG_TYPE: return "integer";
	case DATA_DBL_TYPE:
	case DATA_MON_TYPE:
	case DATA_QTY_TYPE:
	case DATA_PERC_TYPE: return "number";
	case DATA_DATE_TYPE: return "date";
	case DATA_BOOL_TYPE: return "yes/no";
	case DATA_ENUM_TYPE: return "choice";
	default: return "?";
	}
}

std::vector<std::string> ItemsOf(const CParsedCtrl& ctrl)
{
	std::vector<std::string> items;
	if (auto* pCombo = DynamicDownCast<CEnumCombo>(const_cast<CParsedCtrl*>(&ctrl)))
		for (auto& item : pCombo->GetItems())
			items.push_back(item.second.str());
	return items;
}

ShownForm::Grid CaptureGrid(CBodyEdit& grid, const std::string& tab)
{
	ShownForm::Grid g{grid.GetLabel().str(), tab, {}, {}, {}, grid.GetCurrRecord(), !grid.CanAddRow() && !grid.CanDeleteRow()};
	std::vector<int> columns;
	for (int c = 0; c < grid.GetColumnCount(); ++c)
	{
		ColumnInfo* pCol = grid.GetColumn(c);
		auto& info = g.columns.emplace_back(ShownForm::Column{pCol->GetTitle().str(), pCol->GetName().str(),
															 grid.RecordColumn(*pCol).str(), {}, {}});
		// A column whose name is a number of the program's shows the record's column.
		if (info.name.empty() || info.name.find_first_not_of("0123456789") == std::string::npos)
			info.name = info.column;
		if (CParsedCtrl* pCtrl = pCol->GetParsedCtrl())
		{
			// Without a current row the cell control reads the buffer's own record.
			DataObj* pBound = pCtrl->GetCtrlData();
			SqlRecord* pRecord = grid.GetDBT() ? grid.GetDBT()->GetRecord() : nullptr;
			if (!pBound && pRecord && pCol->GetFieldIndex() >= 0 && pCol->GetFieldIndex() < pRecord->GetSize())
				pCtrl->SetCtrlData(pRecord->GetDataObjAt(pCol->GetFieldIndex()));
			info.kind = KindOf(*pCtrl);
			info.items = ItemsOf(*pCtrl);
			pCtrl->SetCtrlData(pBound);
		}
		if (pCol->IsVisible())
		{
			columns.push_back(c);
			g.titles.push_back(info.title.empty() ? info.name : info.title);
		}
	}
	const int nRows = grid.GetDBT() ? grid.GetDBT()->GetSize() : 0;
	for (int r = 0; r < nRows; ++r)
	{
		auto& row = g.rows.emplace_back();
		for (int c : columns)
			row.push_back(grid.GetCellText(r, c).str());
	}
	return g;
}

std::string Flags(bool readOnly, bool hidden, bool disabled)
{
	std::string flags;
	for (auto [on, name] : {std::pair{readOnly, "read-only"}, {disabled, "disabled"}, {hidden, "hidden"}})
		if (on)
			flags += (flags.empty() ? "" : ", ") + std::string(name);
	return flags;
}

// Rows in columns as wide as their widest cell (counted in characters).
void Columns(std::string& out, const std::vector<std::vector<std::string>>& rows, const char* indent)
{
	std::vector<int> widths;
	for (auto& row : rows)
	{
		widths.resize(std::max(widths.size(), row.size()));
		for (size_t i = 0; i < row.size(); ++i)
			widths[i] = std::max(widths[i], CString(row[i]).GetCharCount());
	}
	for (auto& row : rows)
	{
		std::string line = indent;
		for (size_t i = 0; i < row.size(); ++i)
			line += i + 1 < row.size() ? row[i] + std::string(static_cast<size_t>(widths[i] - CString(row[i]).GetCharCount() + 2), ' ')
									   : row[i];
		line.erase(line.find_last_not_of(' ') + 1);
		out += line + "\n";
	}
}

}  // namespace

ShownForm CaptureForm(const FormDriver& form, const std::vector<std::pair<CString, unsigned>>& messages)
{
	ShownForm shown;
	for (auto& [text, type] : messages)
		shown.messages.push_back({MessageKind(type), text.str()});
	CParsedForm* pForm = form.GetForm();
	if (!form.IsOpen() || !pForm)
		return shown;
	shown.open = true;
	if (CBaseDocument* pDoc = pForm->GetDocument())
	{
		shown.ns = pDoc->GetNamespace().GetPathName().str();
		shown.document = pDoc->GetRuntimeClass()->m_lpszClassName;
		shown.mode = ModeName(pDoc->GetFormMode());
		shown.modified = pDoc->IsModified();
		if (auto* pFormDoc = DynamicDownCast<CAbstractFormDoc>(pDoc))
			shown.title = pFormDoc->GetFormTitle().str();
	}
	const auto pages = TabPages(*pForm);
	for (CParsedCtrl* p : pForm->GetAllControls())
	{
		auto page = pages.find(p->GetForm());
		const std::string tab = page == pages.end() ? std::string() : page->second;
		if (auto* pGrid = DynamicDownCast<CBodyEdit>(p))
			shown.grids.push_back(CaptureGrid(*pGrid, tab));
		else if (auto* pList = DynamicDownCast<CListBox>(p))
		{
			auto& l = shown.lists.emplace_back(ShownForm::List{p->GetLabel().str(), tab, {}, pList->GetCurSel(), !pList->IsEditable()});
			for (int i = 0; i < pList->GetCount(); ++i)
				l.lines.push_back(pList->GetText(i).str());
		}
		else if (auto* pTabs = DynamicDownCast<CTabManager>(p))
		{
			auto& t = shown.tabs.emplace_back(ShownForm::Tabs{p->GetLabel().str(), {}, pTabs->GetActiveTab()});
			for (int i = 0; i < pTabs->GetDialogCount(); ++i)
				t.tabs.push_back(pages.at(pTabs->GetDialog(i)));
		}
		else
		{
			shown.controls.push_back(ShownForm::Control{
				p->GetName().str(), p->GetRuntimeClass()->m_lpszClassName, form.ColumnOf(p).str(), tab, p->GetCtrlText().str(),
				p->GetDescription().str(), !p->IsStatic() && !p->IsButton() && !p->IsEditable(), !p->IsWindowVisible(),
				!p->IsWindowEnabled() || (p->IsButton() && !p->IsEditable()), ItemsOf(*p), KindOf(*p), p->GetLabel().str()});
		}
	}
	for (auto [nID, caption] : form.Commands())
	{
		caption.Remove('&');  // the accelerator's mark
		shown.commands.push_back({caption.str(), nID, form.IsCommandEnabled(nID) != FALSE});
	}
	return shown;
}

std::string FormAsText(const ShownForm& f, int maxRows)
{
	std::string out;
	if (f.open)
	{
		out += fmt::format("{}{} ({}), mode {}{}\n", f.title.empty() ? "" : f.title + ": ", f.ns, f.document, f.mode,
						   f.modified ? ", modified" : "");
		std::vector<std::vector<std::string>> rows;
		for (auto& c : f.controls)
		{
			// A fixed text of the form stands alone, as the form shows it.
			if (c.cls == "CStaticText")
			{
				Columns(out, rows, "  ");
				rows.clear();
				out += "  " + c.value + (c.tab.empty() ? "" : "  [tab " + c.tab + "]") + "\n";
				continue;
			}
			std::string value = c.value;
			if (!c.description.empty())
				value += " (" + c.description + ")";
			// The name it was linked under, where the form shows a label instead, may be typed too.
			std::string where = c.cls + (c.label != c.name ? " " + c.name : "") + (c.column.empty() ? "" : " " + c.column);
			if (!c.tab.empty())
				where += ", tab " + c.tab;
			const std::string flags = Flags(c.readOnly, c.hidden, c.disabled);
			// A form text that ends with its own colon keeps just that one.
			const std::string label = !c.label.empty() && c.label.back() == ':' ? c.label : c.label + ":";
			rows.push_back({label, value, flags.empty() ? "[" + where + "]" : "[" + where + "; " + flags + "]"});
		}
		Columns(out, rows, "  ");
		for (auto& t : f.tabs)
		{
			std::string line = "  Tabs " + t.name + ":";
			for (size_t i = 0; i < t.tabs.size(); ++i)
				line += static_cast<int>(i) == t.active ? " [" + t.tabs[i] + "]" : " " + t.tabs[i];
			out += line + "\n";
		}
		for (auto& l : f.lists)
		{
			out += fmt::format("  List {} ({} lines{}{}):\n", l.name, l.lines.size(), l.tab.empty() ? "" : ", tab " + l.tab,
							   l.disabled ? ", disabled" : "");
			for (size_t i = 0; i < l.lines.size(); ++i)
				out += fmt::format("  {} {:>3}  {}\n", static_cast<int>(i) == l.selected ? '>' : ' ', i + 1, l.lines[i]);
		}
		for (auto& g : f.grids)
		{
			out += fmt::format("  Grid {} ({} rows{}{}):\n", g.name, g.rows.size(), g.tab.empty() ? "" : ", tab " + g.tab,
							   g.readOnly ? ", read-only" : "");
			std::vector<std::vector<std::string>> cells{{"", "#"}};
			for (auto& t : g.titles)
				cells[0].push_back(t);
			// A screenful at most unless asked for more; the rest counted.
			const size_t shown = maxRows < 0 ? g.rows.size() : std::min(g.rows.size(), static_cast<size_t>(maxRows));
			for (size_t r = 0; r < shown; ++r)
			{
				auto& row = cells.emplace_back(std::vector<std::string>{static_cast<int>(r) == g.current ? ">" : "", std::to_string(r + 1)});
				row.insert(row.end(), g.rows[r].begin(), g.rows[r].end());
			}
			Columns(out, cells, "  ");
			if (shown < g.rows.size())
				out += fmt::format("  ... {} more rows (--rows N or --rows all shows them)\n", g.rows.size() - shown);
		}
		if (!f.commands.empty())
		{
			std::string line = "  Commands:";
			for (auto& c : f.commands)
				line += " " + c.caption + (c.enabled ? "" : " (disabled)") + ";";
			line.pop_back();
			out += line + "\n";
		}
	}
	else
		out += "The document is closed.\n";
	// No list of the messages: each was printed when it was shown.
	return out;
}

namespace {
std::string KindText(const std::string& kind, const std::vector<std::string>& items)
{
	if (items.empty())
		return kind;
	std::string text = "one of:";
	for (size_t i = 0; i < items.size(); ++i)
		text += (i ? " | " : " ") + items[i];
	return text;
}
}  // namespace

std::string FormControlsHelp(const ShownForm& f)
{
	std::string out = fmt::format("{}{} ({})\n", f.title.empty() ? "" : f.title + ": ", f.ns, f.document);
	std::vector<std::vector<std::string>> rows{{"LABEL", "NAME", "COLUMN", "TAB", "TAKES"}};
	std::vector<std::string> buttons;
	for (auto& c : f.controls)
		if (c.kind == "button")
			buttons.push_back(c.label != c.name ? c.label + " (" + c.name + ")" : c.name);
		else
			rows.push_back({c.label, c.label != c.name ? c.name : "", c.column, c.tab,
							KindText(c.kind, c.items) + (c.readOnly && c.kind != "shown" ? " (read-only now)" : "")});
	out += "Controls (--set LABEL=VALUE: the label as shown, also without its ':' and in any case, the name or the "
		   "column):\n";
	Columns(out, rows, "  ");
	if (!buttons.empty())
	{
		out += "Buttons and check boxes (--press NAME):";
		for (auto& b : buttons)
			out += " " + b + ";";
		out.back() = '\n';
	}
	for (auto& t : f.tabs)
	{
		out += "Tabs of " + t.name + " (--tab " + t.name + "=TAB):";
		for (auto& name : t.tabs)
			out += " " + name + ";";
		out.back() = '\n';
	}
	for (auto& l : f.lists)
		out += "List " + l.name + " (--select " + l.name + "=N, --dblclick " + l.name + ":N)\n";
	for (auto& g : f.grids)
	{
		out += fmt::format("Grid {0} (--add-row, --row {0}=N or {0}:COLUMN=VALUE, --cell {0}:ROW:COLUMN=VALUE{1}):\n",
						   g.name, g.tab.empty() ? "" : "; tab " + g.tab);
		std::vector<std::vector<std::string>> cols{{"TITLE", "NAME", "COLUMN", "TAKES"}};
		for (auto& c : g.columns)
			cols.push_back({c.title, c.name, c.column, KindText(c.kind, c.items)});
		Columns(out, cols, "  ");
	}
	if (!f.commands.empty())
	{
		out += "Commands (--command NAME):";
		for (auto& c : f.commands)
			out += " " + c.caption + ";";
		out.back() = '\n';
	}
	return out;
}

namespace {
// Key order kept as written: readers and people compare forms by eye.
using Json = nlohmann::ordered_json;

// Row and line numbers count from 1, as on the command line; null for none.
Json JsonRow(int index)
{
	return index < 0 ? Json(nullptr) : Json(index + 1);
}
}  // namespace

std::string FormAsJson(const ShownForm& f)
{
	Json out;
	out["open"] = f.open;
	if (f.open)
	{
		out["namespace"] = f.ns;
		out["document"] = f.document;
		out["title"] = f.title;
		out["mode"] = f.mode;
		out["modified"] = f.modified;
		Json& controls = out["controls"] = Json::array();
		for (auto& c : f.controls)
		{
			Json j = {{"name", c.name},		  {"class", c.cls},
					  {"column", c.column},	  {"tab", c.tab},
					  {"value", c.value},	  {"description", c.description},
					  {"readOnly", c.readOnly}, {"hidden", c.hidden},
					  {"disabled", c.disabled}};
			if (c.label != c.name)
				j["label"] = c.label;
			if (!c.items.empty())
				j["items"] = c.items;
			controls.push_back(std::move(j));
		}
		Json& tabs = out["tabs"] = Json::array();
		for (auto& t : f.tabs)
			tabs.push_back({{"name", t.name},
							{"tabs", t.tabs},
							{"active", t.active >= 0 && t.active < static_cast<int>(t.tabs.size())
										   ? Json(t.tabs[static_cast<size_t>(t.active)])
										   : Json(nullptr)}});
		Json& lists = out["lists"] = Json::array();
		for (auto& l : f.lists)
			lists.push_back({{"name", l.name},
							 {"tab", l.tab},
							 {"lines", l.lines},
							 {"selected", JsonRow(l.selected)},
							 {"disabled", l.disabled}});
		Json& grids = out["grids"] = Json::array();
		for (auto& g : f.grids)
			grids.push_back({{"name", g.name},
							 {"tab", g.tab},
							 {"columns", g.titles},
							 {"rows", g.rows},
							 {"current", JsonRow(g.current)},
							 {"readOnly", g.readOnly}});
		Json& commands = out["commands"] = Json::array();
		for (auto& c : f.commands)
			commands.push_back({{"caption", c.caption}, {"id", c.id}, {"enabled", c.enabled}});
	}
	Json& messages = out["messages"] = Json::array();
	for (auto& m : f.messages)
		messages.push_back({{"kind", m.kind}, {"text", m.text}});
	if (!f.errorStep.empty())
		out["error"] = {{"step", f.errorStep}, {"message", f.error}};
	// Stored text need not be valid UTF-8: such bytes become U+FFFD rather than ending the output.
	return out.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}
