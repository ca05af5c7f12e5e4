#include "platform/plvgeneric/Interaction.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "platform/mfc/CException.h"

int DefaultAnswer(UINT nType)
{
	UINT def = nType & MB_DEFMASK;
	switch (nType & MB_TYPEMASK)
	{
	case MB_YESNO: return def == MB_DEFBUTTON2 ? IDNO : IDYES;
	case MB_YESNOCANCEL: return def == MB_DEFBUTTON2 ? IDNO : def == MB_DEFBUTTON3 ? IDCANCEL : IDYES;
	case MB_OKCANCEL: return def == MB_DEFBUTTON2 ? IDCANCEL : IDOK;
	default: return IDOK;
	}
}

namespace {
const char* AnswerName(int answer)
{
	switch (answer)
	{
	case IDYES: return "Si";
	case IDNO: return "No";
	case IDCANCEL: return "Annulla";
	default: return "OK";
	}
}

class UnattendedInteraction : public IInteraction
{
public:
	int MessageBox(const CString& text, UINT nType, const CString&) override
	{
		int answer = DefaultAnswer(nType);
		if ((nType & MB_TYPEMASK) == MB_OK)
			std::fprintf(stderr, "%s\n", text.GetString());
		else
			std::fprintf(stderr, "%s [%s]\n", text.GetString(), AnswerName(answer));
		return answer;
	}
	void Progress(const CString& text) override { std::fprintf(stderr, "%s\n", text.GetString()); }
	bool AbortRequested() override { return false; }
	BOOL CompleteConnectString(const CString&, CString&) override
	{
		std::fprintf(stderr, "Test di connessione annullato: nessuno risponde.\n");
		return FALSE;
	}
	BOOL ChooseFile(const CString& title, const CString&, CString&) override
	{
		std::fprintf(stderr, "%s: scelta del file annullata, nessuno risponde.\n", title.GetString());
		return FALSE;
	}
};

UnattendedInteraction g_Unattended;
std::atomic<IInteraction*> g_pInteraction{nullptr};
std::mutex g_WatchesMutex;
std::vector<MessageWatch*> g_Watches;
}  // namespace

MessageWatch::MessageWatch()
{
	std::lock_guard lock(g_WatchesMutex);
	g_Watches.push_back(this);
}

MessageWatch::~MessageWatch()
{
	std::lock_guard lock(g_WatchesMutex);
	std::erase(g_Watches, this);
}

void MessageWatch::Record(const ShownMessage& message)
{
	m_Shown.push_back(message);
}

int ScriptedInteraction::MessageBox(const CString& text, UINT nType, const CString& caption)
{
	std::lock_guard lock(m_Mutex);
	int answer = DefaultAnswer(nType);
	if ((nType & MB_TYPEMASK) != MB_OK && !m_Answers.empty())
	{
		answer = m_Answers.front();
		m_Answers.pop_front();
	}
	if (m_bEcho)
		std::fprintf(stderr, "%s [%s]\n", text.GetString(), AnswerName(answer));
	m_Shown.push_back({text, caption, nType, answer});
	return answer;
}

void ScriptedInteraction::Progress(const CString& text)
{
	std::lock_guard lock(m_Mutex);
	m_Progress.push_back(text);
}

bool ScriptedInteraction::AbortRequested()
{
	std::lock_guard lock(m_Mutex);
	++m_Polls;
	return m_AbortAfter > 0 && m_Polls >= m_AbortAfter;
}

void ScriptedInteraction::Stopped(const CString& whatWasKept)
{
	std::lock_guard lock(m_Mutex);
	m_Stopped.push_back(whatWasKept);
}

BOOL ScriptedInteraction::CompleteConnectString(const CString& proposed, CString& complete)
{
	std::unique_lock lock(m_Mutex);
	m_ConnectProposals.push_back(proposed);
	if (m_ConnectAnswers.empty())
		return FALSE;
	ConnectAnswer answer = m_ConnectAnswers.front();
	m_ConnectAnswers.pop_front();
	lock.unlock();
	switch (answer.kind)
	{
	case ConnectAnswer::COMPLETE: complete = answer.text; return TRUE;
	case ConnectAnswer::FAILURE: throw CException(answer.text);
	default: return FALSE;
	}
}

BOOL ScriptedInteraction::ChooseFile(const CString&, const CString&, CString& chosen)
{
	std::lock_guard lock(m_Mutex);
	if (m_Files.empty())
		return FALSE;
	CString path = m_Files.front();
	m_Files.pop_front();
	if (path.IsEmpty())
		return FALSE;
	chosen = path;
	return TRUE;
}

void ScriptedInteraction::PushFile(const CString& path)
{
	std::lock_guard lock(m_Mutex);
	m_Files.push_back(path);
}

void ScriptedInteraction::PushConnectString(const CString& complete)
{
	std::lock_guard lock(m_Mutex);
	m_ConnectAnswers.push_back({ConnectAnswer::COMPLETE, complete});
}

void ScriptedInteraction::PushConnectCancel()
{
	std::lock_guard lock(m_Mutex);
	m_ConnectAnswers.push_back({ConnectAnswer::CANCEL, CString()});
}

void ScriptedInteraction::PushConnectFailure(const CString& reason)
{
	std::lock_guard lock(m_Mutex);
	m_ConnectAnswers.push_back({ConnectAnswer::FAILURE, reason});
}

std::vector<CString> ScriptedInteraction::ConnectProposals() const
{
	std::lock_guard lock(m_Mutex);
	return m_ConnectProposals;
}

void ScriptedInteraction::PushAnswer(int answer)
{
	std::lock_guard lock(m_Mutex);
	m_Answers.push_back(answer);
}

void ScriptedInteraction::AbortAfterPolls(int n)
{
	std::lock_guard lock(m_Mutex);
	m_AbortAfter = n;
	m_Polls = 0;
}

std::vector<ShownMessage> ScriptedInteraction::Messages() const
{
	std::lock_guard lock(m_Mutex);
	return m_Shown;
}

std::vector<CString> ScriptedInteraction::ProgressTexts() const
{
	std::lock_guard lock(m_Mutex);
	return m_Progress;
}

std::vector<CString> ScriptedInteraction::StoppedTexts() const
{
	std::lock_guard lock(m_Mutex);
	return m_Stopped;
}

CString ScriptedInteraction::LastMessage() const
{
	std::lock_guard lock(m_Mutex);
	return m_Shown.empty() ? CString() : m_Shown.back().text;
}

void ScriptedInteraction::Clear()
{
	std::lock_guard lock(m_Mutex);
	m_Answers.clear();
	m_Shown.clear();
	m_Progress.clear();
	m_Stopped.clear();
	m_ConnectAnswers.clear();
	m_ConnectProposals.clear();
	m_Files.clear();
	m_AbortAfter = m_Polls = 0;
}

IInteraction* AfxGetInteraction()
{
	IInteraction* p = g_pInteraction.load();
	return p ? p : &g_Unattended;
}

IInteraction* AfxSetInteraction(IInteraction* pInteraction)
{
	return g_pInteraction.exchange(pInteraction);
}

int AfxMessageBox(const CString& text, UINT nType, const CString& caption)
{
	if ((nType & MB_TYPEMASK) == MB_OK)
	{
		std::lock_guard lock(g_WatchesMutex);
		for (MessageWatch* pWatch : g_Watches)
			pWatch->Record({text, caption, nType, IDOK});
	}
	return AfxGetInteraction()->MessageBox(text, nType, caption);
}

void AfxSetProgressText(const CString& text)
{
	AfxGetInteraction()->Progress(text);
}

BOOL AfxIsAbortRequested()
{
	return AfxGetInteraction()->AbortRequested();
}

void AfxSayWhatWasKept(const CString& text)
{
	AfxGetInteraction()->Stopped(text);
}

BOOL AfxCompleteConnectString(const CString& proposed, CString& complete)
{
	return AfxGetInteraction()->CompleteConnectString(proposed, complete);
}

BOOL AfxChooseFile(const CString& title, const CString& proposed, CString& chosen)
{
	return AfxGetInteraction()->ChooseFile(title, proposed, chosen);
}
