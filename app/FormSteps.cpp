#include "FormSteps.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include <fmt/format.h>

#include "CliInteraction.h"
#include "FormPrinter.h"
#include "Host.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/EditDistance.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvges/HotKeyLink.h"

namespace {

struct StepSpec
{
	const char* name;
	const char* type;  // null: a flag
	const char* help;
};

const StepSpec kSteps[] = {
	{"--set", "TEXT=VALUE", "Type VALUE into the control named TEXT (link name, form text or column)"},
	{"--press", "BUTTON", "Press a button or a check box of the form"},
	{"--find", nullptr, "Search mode: --set the criteria, then --save runs the search"},
	{"--new", nullptr, "A new record"},
	{"--edit", nullptr, "Edit the record shown"},
	{"--save", nullptr, "Save (in search mode: search)"},
	{"--escape", nullptr, "Leave new-record, edit or search mode without saving"},
	{"--delete", nullptr, "Delete the record shown"},
	{"--first", nullptr, "Show the first record"},
	{"--prev", nullptr, "Show the previous record"},
	{"--next", nullptr, "Show the next record"},
	{"--last", nullptr, "Show the last record"},
	{"--run", nullptr, "Run the batch"},
	{"--report", nullptr, "Print the document's report"},
	{"--radar", nullptr, "Write the browse list of the document's records"},
	{"--tab", "MANAGER=TAB", "Activate a tab (by name or title) of a tab manager"},
	{"--pick", "CONTROL=PATTERN", "Choose the first row the control's lookup lists for PATTERN (by code, else by "
								  "description); a grid cell as GRID:ROW:COLUMN=PATTERN"},
	{"--row", "GRID=N|GRID:COLUMN=VALUE", "Make row N (from 1) of a grid current, or the row whose COLUMN shows VALUE"},
	{"--add-row", "GRID", "Add a row at the end of a grid"},
	{"--insert-row", "GRID=N|GRID:COLUMN=VALUE", "Insert a row before a row of a grid (by number or COLUMN=VALUE)"},
	{"--delete-row", "GRID=N|GRID:COLUMN=VALUE", "Delete a row of a grid (by number or COLUMN=VALUE)"},
	{"--cell", "GRID:ROW:COLUMN=VALUE", "Type VALUE into a cell of a grid; ROW is N or COLUMN=VALUE (Codice=MOL)"},
	{"--select", "LIST=N", "Choose line N (from 1) of a list box, or the line of that text (a grid's row as --row)"},
	{"--dblclick", "CONTROL[:ROW[:COLUMN]]", "Double-click a control, line N of a list box, or a grid's row or cell "
											  "(ROW is N or COLUMN=VALUE)"},
	{"--rclick", "LIST=N", "Click line N of a list box with the right button"},
	{"--command", "NAME", "Run a command of the form by its caption (toolbar, grid button) or number"},
	{"--show", nullptr, "Print the form as it stands (the default after the last step)"},
	{"--close", nullptr, "Close the document"},
};

// What the user typed is repeated on the terminal: control characters (an ESC would start a
// terminal sequence) are shown as \xNN. Line breaks are kept only in the document's reasons.
std::string Shown(const std::string& text, bool keepLineBreaks)
{
	std::string shown;
	for (size_t i = 0; i < text.size(); ++i)
	{
		const auto c = static_cast<unsigned char>(text[i]);
		const bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
						static_cast<unsigned char>(text[i + 1]) <= 0x9F;
		if ((c < 0x20 && !(keepLineBreaks && (c == '\n' || c == '\t'))) || c == 0x7F)
			shown += fmt::format("\\x{:02x}", c);
		else if (c1)
			shown += fmt::format("\\u{:04x}", static_cast<unsigned char>(text[++i]));
		else
			shown += text[i];
	}
	return shown;
}

// "LEFT=RIGHT" at the first '='; false without one. `s` is a copy: it may be `left` itself.
bool SplitAt(std::string s, char sep, std::string& left, std::string& right)
{
	const auto at = s.find(sep);
	if (at == std::string::npos)
		return false;
	left = s.substr(0, at);
	right = s.substr(at + 1);
	return true;
}

// A row or line number as typed (from 1) into an index; -1 when it is none.
int Index(const std::string& text)
{
	char* end = nullptr;
	const long n = std::strtol(text.c_str(), &end, 10);
	return !text.empty() && end && *end == '\0' && n >= 1 && n <= 1000000 ? static_cast<int>(n - 1) : -1;
}

// A list box's line by number or by its text.
int LineOf(const FormDriver& form, const std::string& list, const std::string& line)
{
	const int n = Index(line);
	if (n >= 0)
		return n;
	auto* pList = DynamicDownCast<CListBox>(form.Control(list.c_str()));
	return pList ? pList->FindStringExact(-1, line.c_str()) : -1;
}

// A grid's row as typed: its number (from 1), or COLUMN=VALUE, the one row whose column shows
// VALUE (trimmed, in any case). False, with why, for none or several.
bool GridRowOf(const FormDriver& form, const std::string& grid, const std::string& text, int& row, std::string& why)
{
	std::string column, value;
	if (!SplitAt(text, '=', column, value))
	{
		row = Index(text);
		if (row < 0)
			why = "\"" + text + "\" is not a row number (they count from 1) nor COLUMN=VALUE";
		return row >= 0;
	}
	CBodyEdit* pGrid = form.Grid(grid.c_str());
	if (!pGrid)
	{
		why = form.NoControl(grid.c_str()).str();
		return false;
	}
	if (!pGrid->GetColumn(CString(column)))
	{
		why = pGrid->NoColumn(CString(column)).str();
		return false;
	}
	CString wanted(value);
	wanted.Trim();
	std::vector<int> found;
	std::vector<CString> shown;
	for (int i = 0; i < form.RowCount(grid.c_str()); ++i)
	{
		CString cell = form.Cell(grid.c_str(), i, column.c_str());
		cell.Trim();
		if (Utf8CompareNoCase(cell.str(), wanted.str()) == 0)
			found.push_back(i);
		else
			shown.push_back(cell);
	}
	if (found.size() == 1)
	{
		row = found.front();
		return true;
	}
	if (found.empty())
	{
		const std::string what = fmt::format("No row of {} shows {}", grid, column);
		why = shown.empty() ? fmt::format("{} {}: the grid has no rows.", what, value)
							: NoSuchName(what.c_str(), wanted, shown).str();
		return false;
	}
	std::string rows;
	for (size_t i = 0; i < found.size() && i < 10; ++i)
		rows += (i ? ", " : "") + std::to_string(found[i] + 1);
	why = fmt::format("{} rows of {} show {} \"{}\" (rows {}{}): name the row by its number or by another column.",
					  found.size(), grid, column, value, rows, found.size() > 10 ? ", ..." : "");
	return false;
}

// "GRID:ROW" or "GRID:ROW:REST" where ROW is N or COLUMN=VALUE and REST is what follows the
// row (a column, or COLUMN=TEXT with `restHasValue`). The grid is the first prefix before a ':'
// that names one; a value that holds ':' ends where REST names a column of the grid.
bool SplitGridRow(const FormDriver& form, const std::string& text, bool restHasValue, std::string& grid,
				  std::string& row, std::string& rest)
{
	CBodyEdit* pGrid = nullptr;
	size_t at = text.find(':');
	for (; at != std::string::npos; at = text.find(':', at + 1))
		if ((pGrid = form.Grid(text.substr(0, at).c_str())))
			break;
	if (!pGrid)
		return false;
	grid = text.substr(0, at);
	const std::string after = text.substr(at + 1);
	const auto eq = after.find('=');
	const auto colon = after.find(':');
	rest.clear();
	// By number: up to the next ':'.
	if (colon != std::string::npos && (eq == std::string::npos || colon < eq))
	{
		row = after.substr(0, colon);
		rest = after.substr(colon + 1);
		return true;
	}
	if (eq == std::string::npos)
	{
		row = after;
		return true;
	}
	for (size_t c = after.find(':', eq); c != std::string::npos; c = after.find(':', c + 1))
	{
		const std::string candidate = after.substr(c + 1);
		const auto valueAt = candidate.find('=');
		if (restHasValue && valueAt == std::string::npos)
			continue;
		if (pGrid->GetColumn(CString(restHasValue ? candidate.substr(0, valueAt) : candidate)))
		{
			row = after.substr(0, c);
			rest = candidate;
			return true;
		}
	}
	row = after;
	return true;
}

// "GRID=N" or "GRID:COLUMN=VALUE", as --row, --insert-row and --delete-row take it.
bool GridAndRow(const FormDriver& form, const std::string& text, std::string& grid, std::string& row)
{
	std::string rest, g, r;
	if (!SplitAt(text, '=', grid, row))
		return false;
	if (!form.Grid(grid.c_str()) && SplitGridRow(form, text, false, g, r, rest) && rest.empty())
	{
		grid = g;
		row = r;
	}
	return true;
}


// The document names closest to one that names none, by the whole namespace or its last part.
std::vector<std::string> ClosestDocuments(const std::string& typed)
{
	const std::string typedLast = typed.substr(typed.rfind('.') + 1);
	std::vector<std::pair<size_t, std::string>> close;
	for (CSingleExtDocTemplate* t : AfxGetBaseApp()->GetTemplates())
	{
		const std::string ns = t->GetNamespace().GetPathName().str();
		const std::string last = ns.substr(ns.rfind('.') + 1);
		const size_t d = std::min(EditDistance(typed, ns), EditDistance(typedLast, last));
		if (d <= std::max<size_t>(2, typedLast.size() / 4) &&
			std::none_of(close.begin(), close.end(), [&](auto& c) { return c.second == ns; }))
			close.emplace_back(d, ns);
	}
	std::stable_sort(close.begin(), close.end(), [](auto& a, auto& b) { return a.first < b.first; });
	std::vector<std::string> names;
	for (size_t i = 0; i < close.size() && i < 3 && close[i].first <= close.front().first + 1; ++i)
		names.push_back(close[i].second);
	return names;
}

// What a refusal of a typed value leaves out: the values a choice takes, and for a code that
// a lookup does not find, the field and the table it is looked up in.
std::string MoreAboutRefusal(const FormDriver& form, const FormStep& step, const std::string& why)
{
	std::string control, value, grid, key, rest;
	CParsedCtrl* pCtrl = nullptr;
	if ((step.option == "--set" || step.option == "--pick") && SplitAt(step.value, '=', control, value))
		pCtrl = form.Control(control.c_str());
	if (!pCtrl && (step.option == "--cell" || step.option == "--pick") &&
		SplitGridRow(form, step.value, true, grid, key, rest) && SplitAt(rest, '=', control, value))
		if (CBodyEdit* pGrid = form.Grid(grid.c_str()))
			if (ColumnInfo* pCol = pGrid->GetColumn(CString(control)))
				pCtrl = pCol->GetParsedCtrl();
	if (!pCtrl)
		return {};
	std::string more;
	// A value that is none of a choice's items: the items it offers.
	if (auto* pCombo = DynamicDownCast<CEnumCombo>(pCtrl))
	{
		const auto items = pCombo->GetItems();
		const bool offered = std::any_of(items.begin(), items.end(), [&](auto& item) {
			return Utf8CompareNoCase(item.second.str(), CString(value).Trim().str()) == 0;
		});
		for (size_t i = 0; i < items.size() && !offered; ++i)
			more += (i ? ", " : " It takes: ") + items[i].second.str();
		more += more.empty() ? "" : ".";
	}
	if (auto* pLink = dynamic_cast<HotKeyLink*>(pCtrl->GetHotKeyLink());
		pLink && why.find("non esiste") != std::string::npos && pLink->GetRecord())
	{
		more = fmt::format(" ({} looks codes up in table {}", control, pLink->GetRecord()->GetTableName().str());
		if (!pLink->GetAddOnFlyNamespace().IsEmpty())
			more += ", the register " + pLink->GetAddOnFlyNamespace().str();
		more += "; --pick \"" + control + "=TEXT\" picks one by code or description)";
	}
	return more;
}

// The documents that open only from another one, and where a person opens them.
const std::pair<const char*, const char*> kCallerOnly[] = {
	{"KvzNet.KvzMod.KvzDocuments.BDFormula",
	 "a formula of a document (double-click a formula cell, e.g. in DModelliRiclassific)"},
	{"KvzNet.KvzMod.KvzDocuments.FiltriCommesse", "a base-plan symbol (the button \"Filtro\" of BDPropSimboloPBase)"},
	{"KvzNet.KvzMod.KvzDocuments.BDViewContatori",
	 "a document's usage counters (--command Contatori in DModelliRiclassific, DCodExtracont or "
	 "BDSelezAssestamento, --press Contatori in BDInsExtracontMensili)"},
	{"KvzNet.KvzMod.KvzDocuments.DAssestamento",
	 "the adjustment selection (double-click an account in BDSelezAssestamento)"},
	{"KvzNet.KvzMod.KvzDocuments.BDDettAssestamento", "the adjustments (double-click a month in DAssestamento)"},
	{"KvzNet.KvzMod.KvzDocuments.RipAssestamento", "the adjustments (the button \"&Perc\" of DAssestamento)"},
	{"KvzNet.KvzDrivers.KvzAppl.BDModelliMultiAzDrivers",
	 "a cost driver (double-click a target model row in KvzDrivers)"},
};

}  // namespace

std::string OpensOnlyFrom(const std::string& ns)
{
	for (auto& [name, from] : kCallerOnly)
		if (CString(ns).CompareNoCase(name) == 0)
			return ns.substr(ns.rfind('.') + 1) + " opens only from " + from;
	return {};
}

void FormStepOptions::Add(CLI::App& open, bool& json)
{
	m_Values.resize(std::size(kSteps));
	for (size_t i = 0; i < std::size(kSteps); ++i)
		if (kSteps[i].type)
			open.add_option(kSteps[i].name, m_Values[i], kSteps[i].help)->type_name(kSteps[i].type);
		else
			open.add_flag(kSteps[i].name, m_nFlags, kSteps[i].help);
	open.add_flag("--json", json, "Print the form as one JSON document (messages then go to stderr)");
	open.add_option("--rows", m_Rows,
					"The rows a grid shows at most: N or all (default: a screenful on a terminal, else all)")
		->type_name("N|all")
		->check([](const std::string& v) { return v == "all" || Index(v) >= 0 ? std::string() : "N (from 1) or all"; });
}

std::vector<FormStep> FormStepOptions::Collect(const CLI::App& open) const
{
	std::vector<FormStep> steps;
	std::map<const CLI::Option*, size_t> used;
	for (const CLI::Option* o : open.parse_order())
		for (const StepSpec& spec : kSteps)
			if (o->check_name(spec.name))
				steps.push_back({spec.name, spec.type ? o->results().at(used[o]++) : std::string()});
	return steps;
}

int FormStepOptions::MaxRows() const
{
	if (m_Rows == "all")
		return -1;
	if (!m_Rows.empty())
		return Index(m_Rows) + 1;
	winsize size{};
	if (!::isatty(STDOUT_FILENO) || ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0)
		return -1;
	// What the form's head and the grid's own lines leave of the screen.
	return std::max(10, static_cast<int>(size.ws_row) - 8);
}

// The document of a namespace opened by the user; null, said, when it opens only from another.
static CBaseDocument* OpenAlone(KvzHost& host, const std::string& ns, const std::string& view)
{
	if (const std::string only = OpensOnlyFrom(ns); !only.empty())
	{
		std::fprintf(stderr, "kvz: %s.\n", only.c_str());
		return nullptr;
	}
	if (!AfxGetBaseApp()->FindTemplate(ns.c_str(), view.empty() ? "Default" : view.c_str()))
	{
		std::string said = fmt::format("kvz: No document is registered as \"{}\" in the view \"{}\".", ns,
									   view.empty() ? "Default" : view);
		const auto close = ClosestDocuments(ns);
		for (size_t i = 0; i < close.size(); ++i)
			said += (i == 0 ? " Did you mean '" : i + 1 == close.size() ? "' or '" : "', '") + close[i];
		said += close.empty() ? "" : "'?";
		std::fprintf(stderr, "%s (kvz --db FILE templates lists them all.)\n", said.c_str());
		return nullptr;
	}
	CUserActionScope opening;
	return host.CommandManager().RunDocument(ns.c_str(), view.c_str());
}

bool DriveStep(FormDriver& form, const FormStep& step, std::string& why)
{
	const std::string& v = step.value;
	std::string left, right;
	auto malformed = [&](const char* shape) {
		why = std::string("expected ") + shape + ", got \"" + v + "\"";
		return false;
	};
	std::string grid, rest, column;
	auto rowOf = [&](const std::string& text, int& row) { return GridRowOf(form, grid, text, row, why); };
	// The grid named before the first ':' when no prefix names one: its refusal says so.
	auto noGrid = [&] {
		why = form.NoControl(v.substr(0, v.find(':')).c_str()).str();
		return false;
	};
	int row = -1;
	if (step.option == "--set")
		return SplitAt(v, '=', left, right) ? form.Type(left.c_str(), right.c_str()) : malformed("TEXT=VALUE");
	if (step.option == "--press")
		return form.Press(v.c_str());
	if (step.option == "--tab")
		return SplitAt(v, '=', left, right) ? form.ActivateTab(left.c_str(), right.c_str()) : malformed("MANAGER=TAB");
	if (step.option == "--pick")
	{
		if (!SplitAt(v, '=', left, right))
			return malformed("CONTROL=PATTERN");
		std::string key;
		if (!form.Control(left.c_str()) && SplitGridRow(form, v, true, grid, key, rest) && SplitAt(rest, '=', column, right))
			return rowOf(key, row) &&
				   (form.PickCell(grid.c_str(), row, column.c_str(), HotKeyLink::UPPER_BUTTON, right.c_str()) ||
					form.PickCell(grid.c_str(), row, column.c_str(), HotKeyLink::LOWER_BUTTON, right.c_str()));
		return form.Pick(left.c_str(), HotKeyLink::UPPER_BUTTON, right.c_str()) ||
			   form.Pick(left.c_str(), HotKeyLink::LOWER_BUTTON, right.c_str());
	}
	if (step.option == "--row")
		return GridAndRow(form, v, grid, right) ? rowOf(right, row) && form.SelectRow(grid.c_str(), row) : malformed("GRID=N or GRID:COLUMN=VALUE");
	if (step.option == "--add-row")
		return form.AddRow(v.c_str());
	if (step.option == "--insert-row")
		return GridAndRow(form, v, grid, right) ? rowOf(right, row) && form.InsertRow(grid.c_str(), row) : malformed("GRID=N or GRID:COLUMN=VALUE");
	if (step.option == "--delete-row")
		return GridAndRow(form, v, grid, right) ? rowOf(right, row) && form.DeleteRow(grid.c_str(), row) : malformed("GRID=N or GRID:COLUMN=VALUE");
	if (step.option == "--cell")
	{
		std::string key;
		if (v.find(':') == std::string::npos || v.find('=') == std::string::npos)
			return malformed("GRID:N:COLUMN=VALUE or GRID:COLUMN=VALUE:COLUMN=VALUE");
		if (!SplitGridRow(form, v, true, grid, key, rest))
			return noGrid();
		if (!SplitAt(rest, '=', column, right))
			return malformed("GRID:N:COLUMN=VALUE or GRID:COLUMN=VALUE:COLUMN=VALUE");
		return rowOf(key, row) && form.TypeCell(grid.c_str(), row, column.c_str(), right.c_str());
	}
	if (step.option == "--select" || step.option == "--rclick")
	{
		if (!SplitAt(v, '=', left, right))
			return malformed("LIST=N");
		// A grid's row is chosen as --row chooses it.
		if (step.option == "--select" && GridAndRow(form, v, grid, right) && form.Grid(grid.c_str()))
			return rowOf(right, row) && form.SelectRow(grid.c_str(), row);
		const int line = LineOf(form, left, right);
		return step.option == "--select" ? form.SelectLine(left.c_str(), line) : form.RightClickLine(left.c_str(), line);
	}
	if (step.option == "--dblclick")
	{
		// The whole text may name a control that holds ':' itself.
		if (form.Control(v.c_str()))
			return form.DoubleClickControl(v.c_str());
		std::string target, key;
		if (!SplitAt(v, ':', target, rest))
			return form.DoubleClickControl(v.c_str());
		if (SplitGridRow(form, v, false, grid, key, column))
			return rowOf(key, row) && form.DoubleClick(grid.c_str(), row, column.c_str());
		return form.DoubleClickLine(target.c_str(), LineOf(form, target, rest));
	}
	if (step.option == "--command")
		return form.Command(CString(v));
	if (step.option == "--show")
		return true;
	const std::map<std::string, BOOL (FormDriver::*)()> actions{
		{"--find", &FormDriver::Find},	 {"--new", &FormDriver::New},	  {"--edit", &FormDriver::Edit},
		{"--save", &FormDriver::Save},	 {"--delete", &FormDriver::Delete}, {"--run", &FormDriver::RunBatch},
		{"--close", &FormDriver::Close}, {"--first", &FormDriver::First},  {"--prev", &FormDriver::Prev},
		{"--next", &FormDriver::Next},	 {"--last", &FormDriver::Last},	  {"--escape", &FormDriver::Escape},
		{"--report", &FormDriver::Report}, {"--radar", &FormDriver::Radar},
	};
	auto it = actions.find(step.option);
	if (it == actions.end())
	{
		why = "not a step of the form";
		return false;
	}
	return (form.*it->second)();
}

int RunOpen(KvzHost& host, CliInteraction& ui, const std::string& ns, const std::string& view,
			const std::vector<FormStep>& steps, bool json, int maxRows)
{
	ui.SetMessagesToStderr(json);
	auto print = [&](const FormDriver& form, const std::string& failedStep = {}, const std::string& why = {}) {
		ShownForm shown = CaptureForm(form, ui.TakeShownMessages());
		shown.errorStep = failedStep;
		shown.error = why;
		const std::string text = json ? FormAsJson(shown) : FormAsText(shown, maxRows);
		std::fputs(text.c_str(), stdout);
		std::fflush(stdout);
	};
	CBaseDocument* pDoc = OpenAlone(host, ns, view);
	if (!pDoc)
		return 1;
	// A close it asked while opening ran when the opening ended.
	if (AfxExistWebServiceStateObject(pDoc))
		std::fprintf(stderr, "Opened %s (%s, view %s).\n", pDoc->GetNamespace().GetPathName().GetString(),
					 pDoc->GetRuntimeClass()->m_lpszClassName,
					 pDoc->GetFirstView() ? pDoc->GetFirstView()->GetRuntimeClass()->m_lpszClassName : "none");
	else
		std::fprintf(stderr, "%s closed as it opened.\n", ns.c_str());
	// A document a step opens on the one driven (the formula editor on a double-click, a
	// filter on a button) takes the next steps; when it closes, its caller takes them again.
	std::vector<CBaseDocument*> chain{pDoc};
	auto pForm = std::make_unique<FormDriver>(pDoc);
	auto follow = [&] {
		for (;;)
		{
			CBaseDocument* pCur = chain.back();
			if (!AfxExistWebServiceStateObject(pCur))
			{
				if (chain.size() == 1)
					return;
				chain.pop_back();
				CliInteraction::ClearProgress();
				std::fprintf(stderr, "Back to %s.\n", chain.back()->GetRuntimeClass()->m_lpszClassName);
				pForm = std::make_unique<FormDriver>(chain.back());
				continue;
			}
			CBaseDocument* pChild = nullptr;
			for (CBaseDocument* p : host.CommandManager().GetOpenDocuments())
				if (p != pCur && p->GetCallerDocument() == pCur)
					pChild = p;
			if (!pChild)
				return;
			CliInteraction::ClearProgress();
			std::fprintf(stderr, "Opened %s (%s) on %s.\n", pChild->GetNamespace().GetPathName().GetString(),
						 pChild->GetRuntimeClass()->m_lpszClassName, pCur->GetRuntimeClass()->m_lpszClassName);
			chain.push_back(pChild);
			pForm = std::make_unique<FormDriver>(pChild);
		}
	};
	bool printed = false;
	for (const FormStep& s : steps)
	{
		FormDriver& form = *pForm;
		std::string step = Shown(s.option + (s.value.empty() ? "" : " " + s.value), false);
		// What is typed into a password field is not repeated.
		std::string control, typed;
		if (s.option == "--set" && form.IsOpen() && SplitAt(s.value, '=', control, typed) &&
			DynamicDownCast<CPasswordEdit>(form.Control(control.c_str())))
			step = s.option + " " + Shown(control, false) + "=***";
		if (CliInteraction::Interrupted())
		{
			std::fprintf(stderr, "kvz: %s and the steps after it: not done.\n", step.c_str());
			return 1;
		}
		if (!form.IsOpen())
		{
			std::fprintf(stderr, "kvz: %s: the document is closed.\n", step.c_str());
			return 1;
		}
		std::string why;
		ui.HoldMessages();
		if (!DriveStep(form, s, why))
		{
			if (why.empty())
				why = form.GetLastError().IsEmpty() ? "refused" : form.GetLastError().str();
			// A step that gave way to Ctrl-C says so; the closing line says what was kept.
			if (CliInteraction::InterruptHeeded() && FormDriver::IsGenericRefusal(CString(why)))
				why = "stopped by Ctrl-C";
			ui.DropHeld(why);
			why += MoreAboutRefusal(form, s, why);
			// The reason once, with the step; its further lines under it.
			std::string said = Shown(why, true);
			for (size_t at = said.find('\n'); at != std::string::npos; at = said.find('\n', at + 3))
				said.replace(at, 1, "\n  ");
			std::fprintf(stderr, "kvz: %s: %s\n", step.c_str(), said.c_str());
			// A script still gets one document, with what failed.
			if (json)
				print(form, step, why);
			return 1;
		}
		ui.ReleaseHeld();
		std::fprintf(stderr, "%s: done.\n", step.c_str());
		follow();
		printed = s.option == "--show";
		if (printed)
			print(*pForm);
	}
	if (!printed && (pForm->IsOpen() || json))
		print(*pForm);
	return 0;
}

int RunOpenHelp(KvzHost& host, const std::string& ns, const std::string& view)
{
	CBaseDocument* pDoc = OpenAlone(host, ns, view);
	if (!pDoc || !AfxExistWebServiceStateObject(pDoc))
		return 1;
	FormDriver form(pDoc);
	std::fputs(FormControlsHelp(CaptureForm(form, {})).c_str(), stdout);
	form.Escape();
	form.Close();
	return 0;
}
