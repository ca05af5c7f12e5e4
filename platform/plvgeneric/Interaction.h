#pragma once
// Everything a person would see or answer goes through one interaction interface:
// message boxes and questions, progress texts, the request to abort a long run, and the
// connection test, where the person completes a proposed connect string or cancels.
#include <deque>
#include <mutex>
#include <vector>

#include "platform/mfc/CString.h"

// Message-box styles and answers.
enum : UINT
{
	MB_OK = 0x0,
	MB_OKCANCEL = 0x1,
	MB_YESNOCANCEL = 0x3,
	MB_YESNO = 0x4,
	MB_TYPEMASK = 0xF,
	MB_ICONERROR = 0x10,
	MB_ICONQUESTION = 0x20,
	MB_ICONWARNING = 0x30,
	MB_ICONINFORMATION = 0x40,
	MB_DEFBUTTON1 = 0x000,
	MB_DEFBUTTON2 = 0x100,
	MB_DEFBUTTON3 = 0x200,
	MB_DEFMASK = 0xF00,
};

enum : int
{
	IDOK = 1,
	IDCANCEL = 2,
	IDYES = 6,
	IDNO = 7,
};

// The answer a message box of this style gives when nobody chooses.
int DefaultAnswer(UINT nType);

class IInteraction
{
public:
	virtual ~IInteraction() = default;
	virtual int MessageBox(const CString& text, UINT nType, const CString& caption) = 0;
	virtual void Progress(const CString& text) = 0;
	virtual bool AbortRequested() = 0;
	// A run stopped on the person's request says, in its own words, what it kept.
	virtual void Stopped(const CString& /*whatWasKept*/) {}
	// The connection test: TRUE with the complete connect string the person chose (from the
	// proposed one), FALSE when cancelled. A test that cannot be carried out throws CException.
	// Nobody to ask: cancelled, so that nothing is written from an answer nobody gave.
	virtual BOOL CompleteConnectString(const CString& /*proposed*/, CString& /*complete*/) { return FALSE; }
	// The file dialog: TRUE with the path the person chose (starting from `proposed`), FALSE
	// when cancelled. Nobody to ask: cancelled.
	virtual BOOL ChooseFile(const CString& /*title*/, const CString& /*proposed*/, CString& /*chosen*/) { return FALSE; }
};

// A shown message or asked question, with the answer it got.
struct ShownMessage
{
	CString text;
	CString caption;
	UINT type = 0;
	int answer = 0;
};

// Answers from a script, in order; with the script exhausted each question takes its
// default. Everything shown is recorded.
class ScriptedInteraction : public IInteraction
{
public:
	int MessageBox(const CString& text, UINT nType, const CString& caption) override;
	void Progress(const CString& text) override;
	bool AbortRequested() override;
	void Stopped(const CString& whatWasKept) override;
	BOOL CompleteConnectString(const CString& proposed, CString& complete) override;
	BOOL ChooseFile(const CString& title, const CString& proposed, CString& chosen) override;

	void PushAnswer(int answer);
	// The answers of the file dialogs, in order: a path, or an empty string for a cancel. With
	// none left a dialog is cancelled.
	void PushFile(const CString& path);
	// The answers of the connection tests, in order: a complete string, a cancel, a failure
	// (the test throws CException with the reason). With none left a test is cancelled.
	void PushConnectString(const CString& complete);
	void PushConnectCancel();
	void PushConnectFailure(const CString& reason);
	// The strings the connection tests proposed, the oldest first.
	std::vector<CString> ConnectProposals() const;
	// The run aborts when asked for the n-th time (1 = the first poll).
	void AbortAfterPolls(int n);
	void SetEcho(bool echo) { m_bEcho = echo; }

	std::vector<ShownMessage> Messages() const;
	std::vector<CString> ProgressTexts() const;
	// What stopped runs said they kept, the oldest first.
	std::vector<CString> StoppedTexts() const;
	CString LastMessage() const;
	void Clear();

private:
	mutable std::mutex m_Mutex;
	std::deque<int> m_Answers;
	std::vector<ShownMessage> m_Shown;
	std::vector<CString> m_Progress;
	std::vector<CString> m_Stopped;
	struct ConnectAnswer
	{
		enum Kind
		{
			COMPLETE,
			CANCEL,
			FAILURE,
		} kind;
		CString text;
	};
	std::deque<ConnectAnswer> m_ConnectAnswers;
	std::vector<CString> m_ConnectProposals;
	std::deque<CString> m_Files;
	int m_AbortAfter = 0;
	int m_Polls = 0;
	bool m_bEcho = false;
};

// The interaction in force; the default is unattended: questions take their default and
// everything is logged on stderr.
IInteraction* AfxGetInteraction();
// Installs an interaction (not owned); null restores the default. Returns the previous one.
IInteraction* AfxSetInteraction(IInteraction* pInteraction);

// RAII installation for tests and scripted runs.
class InteractionScope
{
public:
	explicit InteractionScope(IInteraction* p) : m_pPrev(AfxSetInteraction(p)) {}
	~InteractionScope() { AfxSetInteraction(m_pPrev); }
	InteractionScope(const InteractionScope&) = delete;
	InteractionScope& operator=(const InteractionScope&) = delete;

private:
	IInteraction* m_pPrev;
};

// The messages (not questions) shown while a watch lives, oldest first: what a user action
// said, so that a caller can give the document's own reason for a refusal.
class MessageWatch
{
public:
	MessageWatch();
	~MessageWatch();
	MessageWatch(const MessageWatch&) = delete;
	MessageWatch& operator=(const MessageWatch&) = delete;
	const std::vector<ShownMessage>& Shown() const { return m_Shown; }
	void Record(const ShownMessage& message);

private:
	std::vector<ShownMessage> m_Shown;
};

int AfxMessageBox(const CString& text, UINT nType = MB_OK, const CString& caption = CString());
void AfxSetProgressText(const CString& text);
BOOL AfxIsAbortRequested();
// A run stopped on the person's request tells what it kept.
void AfxSayWhatWasKept(const CString& text);
// The connection test of the interaction in force.
BOOL AfxCompleteConnectString(const CString& proposed, CString& complete);
// The file dialog of the interaction in force.
BOOL AfxChooseFile(const CString& title, const CString& proposed, CString& chosen);
