#include "CliInteraction.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <stdexcept>

namespace {

volatile std::sig_atomic_t g_bInterrupted = 0;

extern "C" void OnInterrupt(int)
{
	// A second Ctrl-C does not wait for the work to stop: an open transaction is never
	// committed, so the database drops it.
	if (g_bInterrupted)
		::_exit(CliInteraction::kInterruptedStatus);
	g_bInterrupted = 1;
	static const char kNote[] = "\nkvz: interrupted, stopping the work in progress (Ctrl-C again stops at once)\n";
	[[maybe_unused]] const auto n = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
}

const char* AnswerText(int answer)
{
	switch (answer)
	{
	case IDYES: return "sì";
	case IDNO: return "no";
	case IDCANCEL: return "annulla";
	default: return "ok";
	}
}

// The reply a person or an option gives, as a message-box answer; 0 when not understood.
int ReplyToAnswer(std::string reply)
{
	for (char& c : reply)
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	if (reply == "yes" || reply == "y" || reply == "si" || reply == "sì" || reply == "s")
		return IDYES;
	if (reply == "no" || reply == "n")
		return IDNO;
	if (reply == "ok")
		return IDOK;
	if (reply == "cancel" || reply == "annulla" || reply == "a")
		return IDCANCEL;
	return 0;
}

// An answer that fits the question's buttons: yes/no stand for ok/cancel and back.
int Fit(int answer, UINT nType)
{
	switch (nType & MB_TYPEMASK)
	{
	case MB_OKCANCEL: return answer == IDYES ? IDOK : answer == IDNO ? IDCANCEL : answer;
	case MB_YESNO: return answer == IDOK ? IDYES : answer == IDCANCEL ? IDNO : answer;
	case MB_YESNOCANCEL: return answer == IDOK ? IDYES : answer;
	default: return IDOK;
	}
}

const char* Choices(UINT nType)
{
	switch (nType & MB_TYPEMASK)
	{
	case MB_OKCANCEL: return "ok/annulla";
	case MB_YESNOCANCEL: return "sì/no/annulla";
	default: return "sì/no";
	}
}

}  // namespace

std::pair<std::string, int> CliInteraction::ParseAnswer(const std::string& option)
{
	const auto eq = option.rfind('=');
	if (eq == std::string::npos || eq == 0)
		throw std::invalid_argument("expected TEXT=REPLY, got \"" + option + "\"");
	const int answer = ReplyToAnswer(option.substr(eq + 1));
	if (!answer)
		throw std::invalid_argument("the reply of \"" + option + "\" is not yes, no, ok or cancel");
	return {option.substr(0, eq), answer};
}

void CliInteraction::CatchInterrupt()
{
	// Without SA_RESTART, so that Ctrl-C also ends the wait for a reply.
	struct sigaction action = {};
	action.sa_handler = &OnInterrupt;
	sigemptyset(&action.sa_mask);
	action.sa_flags = 0;
	::sigaction(SIGINT, &action, nullptr);
}

bool CliInteraction::Interrupted()
{
	return g_bInterrupted != 0;
}

int CliInteraction::CancelAnswer(UINT nType)
{
	switch (nType & MB_TYPEMASK)
	{
	case MB_YESNO: return IDNO;
	case MB_OK: return IDOK;
	default: return IDCANCEL;
	}
}

int CliInteraction::AskTerminal(UINT nType)
{
	for (;;)
	{
		std::fprintf(stderr, "[%s] ", Choices(nType));
		std::fflush(stderr);
		// Read directly, a byte at a time: a buffered stream would swallow Ctrl-C's EINTR and
		// read ahead of the line.
		std::string line;
		for (;;)
		{
			char c;
			const ssize_t n = ::read(STDIN_FILENO, &c, 1);
			if (n < 0 && errno == EINTR && !g_bInterrupted)
				continue;
			if (n <= 0)
			{
				std::fprintf(stderr, "\n");
				return 0;
			}
			if (c == '\n')
				break;
			line += c;
		}
		if (int answer = ReplyToAnswer(line))
			return Fit(answer, nType);
	}
}

int CliInteraction::Decide(const CString& text, UINT nType)
{
	// After Ctrl-C nothing more is agreed to, whatever the options say.
	if (g_bInterrupted)
		return CancelAnswer(nType);
	for (auto& [fragment, answer] : m_Answers)
		if (text.str().find(fragment) != std::string::npos)
			return Fit(answer, nType);
	if (m_Always == Always::Yes)
		return Fit(IDYES, nType);
	if (m_Always == Always::No)
		return Fit(IDNO, nType);
	if (::isatty(STDIN_FILENO))
		if (int answer = AskTerminal(nType))
			return answer;
	// Nobody answered: doing nothing is the only safe reply.
	if (!g_bInterrupted)
		std::fprintf(stderr, "kvz: no answer, the question is cancelled (answer it with --yes, --no or --answer)\n");
	return CancelAnswer(nType);
}

int CliInteraction::MessageBox(const CString& text, UINT nType, const CString& caption)
{
	FILE* out = m_bMessagesToStderr ? stderr : stdout;
	m_Shown.emplace_back(caption.IsEmpty() ? text : caption + ": " + text, nType);
	if (!caption.IsEmpty())
		std::fprintf(out, "%s: ", caption.GetString());
	std::fprintf(out, "%s\n", text.GetString());
	std::fflush(out);
	if ((nType & MB_TYPEMASK) == MB_OK)
		return IDOK;
	const int answer = Decide(text, nType);
	std::fprintf(out, "-> %s\n", AnswerText(answer));
	std::fflush(out);
	return answer;
}

void CliInteraction::Progress(const CString& text)
{
	std::fprintf(stderr, "%s\n", text.GetString());
}

bool CliInteraction::AbortRequested()
{
	return g_bInterrupted != 0;
}
