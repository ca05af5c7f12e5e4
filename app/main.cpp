// kvz: the host program. Opens a company database, loads the module libraries, and lets a
// person or a script use what they registered.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CliInteraction.h"
#include "DemoCompany.h"
#include "FormSteps.h"
#include "Host.h"
#include "platform/erp/erpdemo/DemoCompany.h"
#include "platform/erp/erpsetup/CompanySetup.h"
#include "platform/plvgeneric/Application.h"
#include "platform/plvgeneric/TypedInput.h"
#include "platform/plvgenlib/CParsedForm.h"
#include "platform/plvges/FormDriver.h"
#include "platform/plvnamesolver/ApplicationContext.h"
#include "platform/plvoledb/SqlRecord.h"
#include "platform/plvoledb/driver/ConnectionString.h"
#include "platform/plvoledb/driver/Driver.h"
#include "platform/plvrendoviewer/CRendoDoc.h"

namespace {

struct GlobalOptions
{
	std::string db;
	std::string date;
	std::string user;
	bool yes = false;
	bool no = false;
	std::vector<std::string> answers;
	std::string connect;
	std::string chooseFile;
	std::vector<std::string> libraries;
	std::string reportFormat;
	std::string reportDir;
	std::string reportChoice;
	std::vector<std::string> dialog;
	bool verbose = false;
};

// The diagnostic log, where failed internal checks go: $KVZ_LOG, else kvz.log under the user's
// state folder.
std::string DiagnosticLog()
{
	if (const char* log = std::getenv("KVZ_LOG"); log && *log)
		return log;
	if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
		return (std::filesystem::path(state) / "kvz" / "kvz.log").string();
	if (const char* home = std::getenv("HOME"); home && *home)
		return (std::filesystem::path(home) / ".local" / "state" / "kvz" / "kvz.log").string();
	return {};
}

// Failed internal checks are the program's faults: their details go to the log (and to stderr
// under --verbose), the user is told once, as the command ends, that there were some.
class InternalChecks
{
public:
	explicit InternalChecks(bool verbose) : m_bVerbose(verbose)
	{
		AfxGetApplicationContext()->SetEchoAssertions(verbose);
		AfxGetApplicationContext()->SetAssertionLog(DiagnosticLog());
	}
	~InternalChecks()
	{
		const long n = AfxGetApplicationContext()->GetAssertionCount();
		const std::string log = AfxGetApplicationContext()->GetAssertionLogWritten();
		if (n == 0 || m_bVerbose || log.empty())
			return;
		CliInteraction::ClearProgress();
		std::fprintf(stderr, "kvz: %ld internal check%s failed: the details are in %s (please report them)\n", n,
					 n == 1 ? "" : "s", log.c_str());
	}
	InternalChecks(const InternalChecks&) = delete;
	InternalChecks& operator=(const InternalChecks&) = delete;

private:
	bool m_bVerbose;
};

const char* TypeName(WORD type)
{
	switch (type)
	{
	case DATA_STR_TYPE: return "text";
	case DATA_INT_TYPE: return "int";
	case DATA_LNG_TYPE: return "long";
	case DATA_DBL_TYPE: return "double";
	case DATA_MON_TYPE: return "money";
	case DATA_QTY_TYPE: return "quantity";
	case DATA_PERC_TYPE: return "percent";
	case DATA_DATE_TYPE: return "date";
	case DATA_BOOL_TYPE: return "bool";
	case DATA_ENUM_TYPE: return "enum";
	default: return "?";
	}
}

// Rows printed in columns as wide as their widest cell.
void PrintColumns(const std::vector<std::vector<std::string>>& rows, const char* indent = "")
{
	std::vector<size_t> widths;
	for (auto& row : rows)
		for (size_t i = 0; i < row.size(); ++i)
		{
			widths.resize(std::max(widths.size(), row.size()));
			widths[i] = std::max(widths[i], row[i].size());
		}
	for (auto& row : rows)
	{
		std::string line = indent;
		for (size_t i = 0; i < row.size(); ++i)
			line += i + 1 < row.size() ? row[i] + std::string(widths[i] - row[i].size() + 2, ' ') : row[i];
		line.erase(line.find_last_not_of(' ') + 1);
		std::printf("%s\n", line.c_str());
	}
}

// The application's date, operator and answers, as the options give them.
bool ApplyGlobalOptions(const GlobalOptions& opt, CliInteraction& ui)
{
	if (!opt.date.empty())
	{
		int d = 0, m = 0, y = 0;
		if (const std::string why = typed_input::ReadDate(opt.date, 1900, d, m, y); !why.empty())
		{
			std::fprintf(stderr, "kvz: --date: \"%s\" %s\n", opt.date.c_str(), why.c_str());
			return false;
		}
		AfxSetApplicationDate(DataDate(d, m, y));
	}
	if (!opt.user.empty())
		AfxSetLoginUser(opt.user);
	ui.SetAlways(opt.yes ? CliInteraction::Always::Yes : opt.no ? CliInteraction::Always::No : CliInteraction::Always::Ask);
	if (!opt.connect.empty())
	{
		try
		{
			ui.SetConnectAnswer(opt.connect);
		}
		catch (const std::invalid_argument& e)
		{
			std::fprintf(stderr, "kvz: --connect: %s\n", plv::db::RedactSecrets(e.what()).c_str());
			return false;
		}
	}
	ui.SetFileAnswer(opt.chooseFile);
	ui.SetMessageLog(DiagnosticLog());
	for (const std::string& a : opt.answers)
	{
		try
		{
			auto [text, answer] = CliInteraction::ParseAnswer(a);
			ui.AddAnswer(text, answer);
		}
		catch (const std::invalid_argument& e)
		{
			std::fprintf(stderr, "kvz: --answer: %s\n", e.what());
			return false;
		}
	}
	return true;
}

// Case-insensitive text folds with the server database's ctype: anything but C folds letters
// beyond ASCII (unlike SQLite) and costs every comparison a trip through the locale.
void AdviseServerCtype(SqlConnection& connection)
{
	if (!connection.IsServer())
		return;
	try
	{
		auto st = connection.Db().Prepare("SHOW lc_ctype");
		if (!st->Step())
			return;
		const plv::db::Value v = st->Column(0);
		const std::string* ctype = std::get_if<std::string>(&v);
		if (ctype && *ctype != "C" && *ctype != "POSIX")
			std::printf("Note: the database's ctype is %s; one of ctype C compares codes as SQLite does and "
						"imports faster (see the README, Databases).\n",
						ctype->c_str());
	}
	catch (const plv::db::DbError&)
	{
		// Advice only: a server that does not say is left alone.
	}
}

int RunInit(KvzHost& host, CliInteraction& ui, const std::string& file, bool demo, bool replace, int scale,
			const std::vector<std::string>& libraries)
{
	if (!host.OpenCompany(file, true))
		return 1;
	// Shown instead of a server's connection string, which may hold a password.
	const std::string shown = host.CompanyName();
	if (!host.LoadModule(libraries))
	{
		std::fprintf(stderr, "kvz: the libraries did not all load: %s was not set up.\n", shown.c_str());
		return 1;
	}
	try
	{
		erp::SetupCompanyDatabase(host.Connection());
	}
	catch (const std::exception& e)
	{
		std::fprintf(stderr, "kvz: setting up the company database failed: %s\n", e.what());
		return 1;
	}
	if (demo)
	{
		// The demo takes the place of the host's data: a company already there is kept unless
		// its replacement is asked for and confirmed.
		const std::vector<CString> held = erp::TablesWithCompanyData(host.Connection());
		if (!held.empty())
		{
			CString tables;
			for (size_t i = 0; i < held.size() && i < 3; ++i)
				tables += (i ? ", " : "") + held[i];
			if (held.size() > 3)
				tables += CString::Formatted(" and %zu other tables", held.size() - 3);
			if (!replace)
			{
				std::fprintf(stderr,
							 "kvz: %s already holds a company's data (%s): the demo company is not put in its "
							 "place (init --demo --replace replaces it, after a question).\n",
							 shown.c_str(), tables.GetString());
				return 1;
			}
			const CString question = CString::Formatted(
				"%s already holds a company's data (%s). Replace them with the demo company?",
				shown.c_str(), tables.GetString());
			if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
			{
				std::fprintf(stderr, "kvz: the company's data in %s was left as it was.\n", shown.c_str());
				return 1;
			}
		}
		CString why;
		const bool filled = FillDemoCompany(host.Connection(), scale, why);
		ui.EndProgress();
		if (!filled)
		{
			std::fprintf(stderr, "kvz: the demo company could not be made in %s: %s\n", shown.c_str(),
						 plv::db::RedactSecrets(why.str()).c_str());
			return 1;
		}
	}
	std::printf("Company database %s: %zu tables registered by %zu libraries.\n", shown.c_str(),
				host.Connection().GetCatalog().size(), host.Libraries().GetLibraries().size());
	AdviseServerCtype(host.Connection());
	return 0;
}

// Answers nothing and shows nothing: documents opened only to read their titles.
class SilentInteraction : public IInteraction
{
public:
	int MessageBox(const CString&, UINT nType, const CString&) override { return CliInteraction::CancelAnswer(nType); }
	void Progress(const CString&) override {}
	bool AbortRequested() override { return false; }
};

// The form's title, as the document gives it once open; empty for those that open only from another.
std::string FormTitle(KvzHost& host, CSingleExtDocTemplate& t)
{
	const std::string ns = t.GetNamespace().GetPathName().str();
	if (!OpensOnlyFrom(ns).empty())
		return "(opens only from another document)";
	SilentInteraction silent;
	InteractionScope scope(&silent);
	CBaseDocument* pDoc;
	{
		CUserActionScope opening;
		pDoc = host.CommandManager().RunDocument(ns.c_str(), t.GetViewName().GetString());
	}
	if (!pDoc || !AfxExistWebServiceStateObject(pDoc))
		return {};
	auto* pForm = DynamicDownCast<CAbstractFormDoc>(pDoc);
	std::string title = pForm ? pForm->GetFormTitle().str() : std::string();
	pDoc->CloseDocument(FALSE);
	return title;
}

int RunTemplates(KvzHost& host)
{
	std::vector<std::vector<std::string>> rows{{"NAMESPACE", "VIEW NAME", "TITLE", "DOCUMENT", "FRAME", "VIEW"}};
	for (CSingleExtDocTemplate* t : AfxGetBaseApp()->GetTemplates())
		rows.push_back({t->GetNamespace().GetPathName().str(), t->GetViewName().str(), FormTitle(host, *t),
						t->GetDocClass()->m_lpszClassName, t->GetFrameClass()->m_lpszClassName,
						t->GetViewClass()->m_lpszClassName});
	if (rows.size() == 1)
		std::printf("No document templates are registered.\n");
	else
		PrintColumns(rows);
	return 0;
}

int RunTables(KvzHost& host)
{
	const auto catalog = host.Connection().GetCatalog();
	if (catalog.empty())
		std::printf("No tables are registered.\n");
	for (const CatalogEntry& e : catalog)
	{
		std::printf("%s (%s) %s\n", e.tableName.GetString(), e.kind == 2 ? "view" : "table", e.ns.GetPathName().GetString());
		std::unique_ptr<CObject> obj(e.pRecordClass ? e.pRecordClass->CreateObject() : nullptr);
		auto* pRecord = DynamicDownCast<SqlRecord>(obj.get());
		if (!pRecord)
			continue;
		const auto& key = pRecord->GetPrimaryKey();
		std::vector<std::vector<std::string>> rows;
		for (int i = 0; i < pRecord->GetSize(); ++i)
		{
			if (pRecord->IsLocal(i))
				continue;
			const CString& column = pRecord->GetItem(i)->m_strColumnName;
			const bool isKey = std::find(key.begin(), key.end(), column) != key.end();
			rows.push_back({column.str(), TypeName(pRecord->GetDataObjAt(i)->GetDataType()), isKey ? "key" : ""});
		}
		PrintColumns(rows, "  ");
	}
	return 0;
}

// The exit status: an interrupted run says so, with what the stopped work said it kept. A Ctrl-C
// that nothing gave way to came when the work could no longer stop: all of it was done and stays.
int Finished(int rc)
{
	if (!CliInteraction::Interrupted())
		return rc;
	CliInteraction::ClearProgress();
	if (rc == 0 && !CliInteraction::InterruptHeeded())
	{
		std::fprintf(stderr, "kvz: interrupted when the work was already done: all of it is kept.\n");
		return 0;
	}
	std::string kept;
	for (const std::string& s : CliInteraction::KeptOnInterrupt())
		kept += " " + s;
	std::fprintf(stderr, "kvz: interrupted.%s\n", kept.c_str());
	return CliInteraction::kInterruptedStatus;
}

}  // namespace

int main(int argc, char** argv)
{
	CLI::App app{"kvz: management accounting on the general ledger.", "kvz"};
	app.require_subcommand(1);
	app.fallthrough();
	GlobalOptions opt;
	app.add_option("--db", opt.db,
				   "The company database: a file, or a PostgreSQL database as a postgresql:// URI or libpq "
				   "connection string")
		->type_name("FILE");
	app.add_option("--date", opt.date, "The application date (dd/mm/yyyy or yyyy-mm-dd)")->type_name("DATE");
	app.add_option("--user", opt.user, "The operator's name")->type_name("NAME");
	auto* yes = app.add_flag("--yes", opt.yes, "Answer yes (ok) to every question");
	app.add_flag("--no", opt.no, "Answer no (cancel) to every question")->excludes(yes);
	app.add_option("--answer", opt.answers,
				   "Answer the questions whose text contains TEXT with REPLY (yes, no, ok, cancel), "
				   "whatever --yes and --no say")
		->type_name("TEXT=REPLY");
	app.add_option("--connect", opt.connect,
				   "Answer the connection test with this connect string (\"DSN=NAME;...\"), or cancel it "
				   "with \"cancel\"")
		->type_name("STRING");
	app.add_option("--choose-file", opt.chooseFile,
				   "Answer the file dialogs (\"&Sfoglia\") with this path, or cancel them with \"cancel\"")
		->type_name("PATH");
	app.add_option("--library", opt.libraries, "Load a further add-on library after the module's")->type_name("FILE");
	app.add_option("--report-format", opt.reportFormat,
				   "The form of the reports written: pdf, xlsx or csv (default: the report's own, else pdf)")
		->type_name("FORMAT");
	app.add_option("--report-dir", opt.reportDir,
				   "The folder the reports are written to (default: NAME-report beside the database NAME.db)")
		->type_name("DIR");
	app.add_option("--dialog", opt.dialog,
				   "Fill the next dialog a document shows, then press OK: TEXT=VALUE types into a control, TEXT "
				   "alone presses a button or radio button (repeat it for several controls)")
		->type_name("TEXT[=VALUE]");
	app.add_flag("--verbose", opt.verbose,
				 "Print the failed internal checks on stderr too (they always go to $KVZ_LOG, default "
				 "~/.local/state/kvz/kvz.log)");
	app.add_option("--report-choice", opt.reportChoice, "The report chosen wherever a document offers a choice")
		->type_name("NAMESPACE");

	auto* init = app.add_subcommand("init", "Create a company database with every table of the module's libraries");
	std::string initFile;
	bool demo = false;
	init->add_option("FILE", initFile, "The database file or PostgreSQL database, which must exist (default: --db)");
	auto* demoFlag = init->add_flag("--demo", demo, "Fill in the demo company");
	bool replace = false;
	init->add_flag("--replace", replace,
				   "With --demo: replace the company's data that the database already holds, after a question")
		->needs(demoFlag);
	int scale = 1;
	init->add_option("--scale", scale, "Multiply the demo company's accounts, cost centres, jobs and entries")
		->check(CLI::Range(1, 25))
		->needs(demoFlag);
	auto* templates = app.add_subcommand("templates", "List the registered document templates");
	auto* tables = app.add_subcommand("tables", "List the registered tables with their columns");
	auto* open = app.add_subcommand("open", "Open a document by namespace and drive its form, in the order given");
	std::string ns, view = "Default";
	// "kvz open NAMESPACE --help" lists the document's controls; without a namespace, the options.
	open->set_help_flag();
	bool openHelp = false;
	open->add_flag("--help,-h", openHelp, "With a NAMESPACE: list its controls, grids, buttons and commands");
	open->add_option("NAMESPACE", ns, "The document's namespace (KvzNet.KvzMod.KvzDocuments.DParametri)");
	open->add_option("--view", view, "The view name (Default, Unattended)")->capture_default_str();
	FormStepOptions formSteps;
	bool json = false;
	formSteps.Add(*open, json);

	CLI11_PARSE(app, argc, argv);
	if (open->parsed() && ns.empty())
	{
		if (openHelp)
		{
			std::printf("%s", open->help().c_str());
			return 0;
		}
		std::fprintf(stderr, "kvz: open needs the document's NAMESPACE (kvz --db FILE templates lists them)\n");
		return 1;
	}

	CliInteraction ui;
	if (!ApplyGlobalOptions(opt, ui))
		return 1;
	ui.CatchInterrupt();
	InteractionScope scope(&ui);
	InternalChecks checks(opt.verbose);

	try
	{
		KvzHost host;
		if (init->parsed())
		{
			const std::string file = initFile.empty() ? opt.db : initFile;
			if (file.empty())
			{
				std::fprintf(stderr, "kvz: init needs the database FILE (or --db FILE)\n");
				return 1;
			}
			return Finished(RunInit(host, ui, file, demo, replace, scale, opt.libraries));
		}
		if (opt.db.empty())
		{
			std::fprintf(stderr, "kvz: --db FILE is required\n");
			return 1;
		}
		if (!host.OpenCompany(opt.db, false))
			return 1;
		if (!host.SetReportOutput(opt.reportFormat, opt.reportDir, opt.db))
			return 1;
		AfxSetReportChoice(CString(), CString(opt.reportChoice));
		if (!opt.dialog.empty())
			AfxPushDialogAnswer([steps = opt.dialog](CParsedDialog& dialog) {
				FormDriver form(dialog);
				for (const std::string& step : steps)
				{
					const auto eq = step.find('=');
					const bool bOk = eq == std::string::npos
										 ? form.Press(CString(step))
										 : form.Type(CString(step.substr(0, eq)), CString(step.substr(eq + 1)));
					if (!bOk)
					{
						std::fprintf(stderr, "kvz: --dialog %s: %s\n", step.c_str(), form.GetLastError().GetString());
						return IDCANCEL;
					}
				}
				return IDOK;
			});
		const bool loaded = host.LoadModule(opt.libraries);
		for (const CString& change : host.Connection().GetSchemaChanges())
			std::fprintf(stderr, "Schema of %s: %s.\n", host.CompanyName().c_str(), change.GetString());
		if (!loaded)
		{
			std::fprintf(stderr, "kvz: the libraries did not all load: nothing was done.\n");
			return 1;
		}
		int rc = 0;
		if (templates->parsed())
			rc = RunTemplates(host);
		else if (tables->parsed())
			rc = RunTables(host);
		else if (open->parsed())
		{
			rc = openHelp ? RunOpenHelp(host, ns, view) : RunOpen(host, ui, ns, view, formSteps.Collect(*open), json, formSteps.MaxRows());
			// A document may go on after a report it could not write: the command has failed.
			if (rc == 0 && AfxGetReportRenderer()->GetFailedCount() > 0)
			{
				std::fprintf(stderr, "kvz: a report was not written.\n");
				rc = 1;
			}
		}
		return Finished(rc);
	}
	catch (const std::exception& e)
	{
		CliInteraction::ClearProgress();
		std::fprintf(stderr, "kvz: %s\n", plv::db::RedactSecrets(e.what()).c_str());
		return Finished(1);
	}
}
