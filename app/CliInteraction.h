#pragma once
// The interaction of the command line: messages on stdout, progress on stderr, questions
// answered from the options (--answer TEXT=REPLY, --yes, --no), else on the terminal. A question
// nobody answers (no terminal, end of input, Ctrl-C) is cancelled, never given a default that
// writes. The connection test is answered the same way: --connect STRING (or cancel), --yes
// takes the proposed string, --no cancels, else the terminal. A file dialog takes --choose-file, else
// a path typed on the terminal. Ctrl-C asks the work in progress to stop; a second one ends the program at once.
#include <string>
#include <utility>
#include <vector>

#include "platform/plvgeneric/Interaction.h"

class CliInteraction : public IInteraction
{
public:
	enum class Always
	{
		Ask,
		Yes,
		No,
	};

	// "TEXT=REPLY" into its parts; the reply must be yes, no, ok or cancel (also in Italian).
	// Throws std::invalid_argument with the reason.
	static std::pair<std::string, int> ParseAnswer(const std::string& option);

	void SetAlways(Always always) { m_Always = always; }
	// A question whose text contains `text` gets `answer`; the first match wins.
	void AddAnswer(std::string text, int answer) { m_Answers.emplace_back(std::move(text), answer); }
	// The connection tests' answer: a connect string, or "cancel". Throws std::invalid_argument
	// with the reason when it is neither.
	void SetConnectAnswer(const std::string& answer);
	// Why the text is not a connect string (a leading "ODBC;" allowed); empty when it is one.
	static std::string ConnectStringError(const std::string& text);
	// Makes Ctrl-C request an abort instead of ending the program.
	void CatchInterrupt();
	// Ctrl-C was pressed: the program ends with kInterruptedStatus once the work is stopped.
	static bool Interrupted();
	// Something gave way to it (a run that asks whether to stop, a question cancelled); else the
	// work ran to its end as if it had not been pressed.
	static bool InterruptHeeded();
	// What the runs stopped by Ctrl-C said they kept, in their order (for the closing line).
	static const std::vector<std::string>& KeptOnInterrupt();
	static constexpr int kInterruptedStatus = 130;
	// The answer that does nothing: cancel, or no where there is no cancel.
	static int CancelAnswer(UINT nType);
	// Messages on stderr instead of stdout (stdout carries a document of its own).
	void SetMessagesToStderr(bool b) { m_bMessagesToStderr = b; }
	// Messages held back while a step runs, so that a refused step says its reason once, with
	// the step; a question shows what was held before it.
	void HoldMessages() { m_bHolding = true; }
	// Ends the progress of a step: its last text stays, as the summary of the work.
	static void EndProgress();
	// Takes the progress line off the terminal: every other line is printed on a line of its own.
	static void ClearProgress();
	// Prints what was held (the step did what it says).
	void ReleaseHeld();
	// Drops what was held into the refusal's reason; prints the rest.
	void DropHeld(const std::string& reason);
	// Where a message of many lines of one kind is written whole; the terminal shows the first few
	// of each kind and counts the rest.
	void SetMessageLog(const std::string& path);
	// The messages shown since the last call, oldest first, with their message-box type.
	std::vector<std::pair<CString, UINT>> TakeShownMessages() { return std::exchange(m_Shown, {}); }

	int MessageBox(const CString& text, UINT nType, const CString& caption) override;
	void Progress(const CString& text) override;
	bool AbortRequested() override;
	void Stopped(const CString& whatWasKept) override;
	BOOL CompleteConnectString(const CString& proposed, CString& complete) override;
	// The file dialogs: the path of --choose-file (or "cancel"), else a path typed on the terminal.
	void SetFileAnswer(const std::string& path) { m_FileAnswer = path; }
	BOOL ChooseFile(const CString& title, const CString& proposed, CString& chosen) override;

private:
	int Decide(const CString& text, UINT nType);
	CString Compacted(const CString& text) const;
	// A reply typed on the terminal; 0 at end of input or on Ctrl-C.
	static int AskTerminal(UINT nType);
	// A line typed on the terminal; false at end of input or on Ctrl-C.
	static bool ReadTerminalLine(std::string& line);

	Always m_Always = Always::Ask;
	bool m_bMessagesToStderr = false;
	bool m_bHolding = false;
	// Progress: on a terminal one line rewritten in place; elsewhere a line each (logs keep them).
	std::vector<std::pair<CString, CString>> m_Held;  // as shown, and the text alone
	std::vector<std::pair<CString, UINT>> m_Shown;
	std::vector<std::pair<std::string, int>> m_Answers;
	bool m_bConnectAnswered = false;
	bool m_bConnectCancel = false;
	std::string m_ConnectAnswer;
	std::string m_FileAnswer;
	std::string m_MessageLog;
};
