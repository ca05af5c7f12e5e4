#include "CliInteraction.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace {

std::atomic<bool> g_bInterrupted{false};

extern "C" void OnInterrupt(int)
{
	g_bInterrupted = true;
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
	std::signal(SIGINT, &OnInterrupt);
}

int CliInteraction::Decide(const CString& text, UINT nType)
{
	for (auto& [fragment, answer] : m_Answers)
		if (text.str().find(fragment) != std::string::npos)
			return Fit(answer, nType);
	if (m_Always == Always::Yes)
		return Fit(IDYES, nType);
	if (m_Always == Always::No)
		return Fit(IDNO, nType);
	if (::isatty(STDIN_FILENO))
	{
		for (;;)
		{
			std::fprintf(stderr, "[%s] ", Choices(nType));
			std::fflush(stderr);
			std::string line;
			if (!std::getline(std::cin, line))
				break;
			if (int answer = ReplyToAnswer(line))
				return Fit(answer, nType);
		}
	}
	return DefaultAnswer(nType);
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
	return g_bInterrupted.load();
}
