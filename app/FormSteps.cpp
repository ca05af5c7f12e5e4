#include "FormSteps.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

#include <fmt/format.h>

#include "CliInteraction.h"
#include "FormPrinter.h"
#include "Host.h"
#include "platform/plvges/FormDriver.h"

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
								  "description); a grid cell as GRID:N:COLUMN=PATTERN"},
	{"--row", "GRID=N", "Make row N (from 1) of a grid current"},
	{"--add-row", "GRID", "Add a row at the end of a grid"},
	{"--insert-row", "GRID=N", "Insert a row before row N of a grid"},
	{"--delete-row", "GRID=N", "Delete row N of a grid"},
	{"--cell", "GRID:N:COLUMN=VALUE", "Type VALUE into a cell of a grid"},
	{"--select", "LIST=N", "Choose line N (from 1) of a list box, or the line of that text"},
	{"--dblclick", "CONTROL[:N[:COLUMN]]", "Double-click a control, line N of a list box, or a grid's row or cell"},
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
	auto rowOf = [&](const std::string& text, int& row) {
		row = Index(text);
		if (row < 0)
			why = "\"" + text + "\" is not a row number (they count from 1)";
		return row >= 0;
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
		std::string grid, rest, column;
		if (!form.Control(left.c_str()) && SplitAt(left, ':', grid, rest) && SplitAt(rest, ':', rest, column))
			return rowOf(rest, row) &&
				   (form.PickCell(grid.c_str(), row, column.c_str(), HotKeyLink::UPPER_BUTTON, right.c_str()) ||
					form.PickCell(grid.c_str(), row, column.c_str(), HotKeyLink::LOWER_BUTTON, right.c_str()));
		return form.Pick(left.c_str(), HotKeyLink::UPPER_BUTTON, right.c_str()) ||
			   form.Pick(left.c_str(), HotKeyLink::LOWER_BUTTON, right.c_str());
	}
	if (step.option == "--row")
		return SplitAt(v, '=', left, right) ? rowOf(right, row) && form.SelectRow(left.c_str(), row) : malformed("GRID=N");
	if (step.option == "--add-row")
		return form.AddRow(v.c_str());
	if (step.option == "--insert-row")
		return SplitAt(v, '=', left, right) ? rowOf(right, row) && form.InsertRow(left.c_str(), row) : malformed("GRID=N");
	if (step.option == "--delete-row")
		return SplitAt(v, '=', left, right) ? rowOf(right, row) && form.DeleteRow(left.c_str(), row) : malformed("GRID=N");
	if (step.option == "--cell")
	{
		std::string grid, rest, column;
		if (!SplitAt(v, '=', left, right) || !SplitAt(left, ':', grid, rest) || !SplitAt(rest, ':', rest, column))
			return malformed("GRID:N:COLUMN=VALUE");
		return rowOf(rest, row) && form.TypeCell(grid.c_str(), row, column.c_str(), right.c_str());
	}
	if (step.option == "--select" || step.option == "--rclick")
	{
		if (!SplitAt(v, '=', left, right))
			return malformed("LIST=N");
		const int line = LineOf(form, left, right);
		return step.option == "--select" ? form.SelectLine(left.c_str(), line) : form.RightClickLine(left.c_str(), line);
	}
	if (step.option == "--dblclick")
	{
		// The whole text may name a control that holds ':' itself.
		if (form.Control(v.c_str()))
			return form.DoubleClickControl(v.c_str());
		std::string target, rest, column;
		if (!SplitAt(v, ':', target, rest))
			return form.DoubleClickControl(v.c_str());
		SplitAt(rest, ':', rest, column);
		if (form.Grid(target.c_str()))
			return rowOf(rest, row) && form.DoubleClick(target.c_str(), row, column.c_str());
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
			return 1;
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
			ui.DropHeld(why);
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
