#pragma once
// `kvz open`: the steps that drive a document's form, in command-line order, and their run.
#include <CLI/CLI.hpp>

#include <string>
#include <vector>

class CliInteraction;
class FormDriver;
class KvzHost;

struct FormStep
{
	std::string option;  // "--save", "--set" ...
	std::string value;
};

// Declares the steps on the `open` subcommand; `json` receives the --json flag.
class FormStepOptions
{
public:
	void Add(CLI::App& open, bool& json);
	// The steps given, in command-line order.
	std::vector<FormStep> Collect(const CLI::App& open) const;
	// The rows a grid shows at most: --rows N, all (-1), else a screenful on a terminal and all
	// rows elsewhere.
	int MaxRows() const;

private:
	std::vector<std::vector<std::string>> m_Values;  // storage CLI11 writes into
	int m_nFlags = 0;
	std::string m_Rows;
};

// One step through the driver; FALSE when it was refused (the driver's last error, or `why`).
bool DriveStep(FormDriver& form, const FormStep& step, std::string& why);

// "BDFormula opens only from ..." for a document that opens only from another; empty for others.
std::string OpensOnlyFrom(const std::string& ns);

// Opens the document and runs the steps; the form is printed at each --show and after the
// last step (as JSON with `json`). Non-zero when the document did not open or a step failed.
int RunOpen(KvzHost& host, CliInteraction& ui, const std::string& ns, const std::string& view,
			const std::vector<FormStep>& steps, bool json, int maxRows = -1);
// Opens the document, lists its controls, grids, buttons and commands, and closes it.
int RunOpenHelp(KvzHost& host, const std::string& ns, const std::string& view);
