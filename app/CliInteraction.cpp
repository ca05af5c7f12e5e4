#include "CliInteraction.h"

#include <sys/ioctl.h>
#include <unistd.h>


#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <filesystem>
#include <map>
#include <sstream>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include <fmt/format.h>

#include "platform/plvgeneric/TypedInput.h"
#include "platform/plvoledb/driver/ConnectionString.h"
#include "platform/plvoledb/driver/Value.h"

namespace {

volatile std::sig_atomic_t g_bInterrupted = 0;
// A progress line being rewritten stands on the terminal (there is one terminal, whoever prints).
bool g_bProgressShown = false;
std::string g_ProgressText;  // its whole text: the line shows what the terminal's width allows
// Elsewhere (a file, a pipe) a line every few seconds at most; the last one is printed when the
// work ends, so that the final count is always there.
// $KVZ_PROGRESS_EVERY seconds (0: every line), 3 unless given.
std::chrono::milliseconds ProgressEvery()
{
	static const std::chrono::milliseconds every = [] {
		const char* s = std::getenv("KVZ_PROGRESS_EVERY");
		char* end = nullptr;
		const double seconds = s && *s ? std::strtod(s, &end) : 3.0;
		return std::chrono::milliseconds(end && *end == '\0' && seconds >= 0 ? static_cast<long>(seconds * 1000) : 3000);
	}();
	return every;
}
std::chrono::steady_clock::time_point g_LastProgressLine{};
bool g_bProgressUnprinted = false;

// "n di N" in a progress text: the count of a work under way.
bool IsProgressCount(const std::string& text)
{
	for (size_t at = text.find(" di "); at != std::string::npos; at = text.find(" di ", at + 1))
		if (at > 0 && std::isdigit(static_cast<unsigned char>(text[at - 1])) && at + 4 < text.size() &&
			std::isdigit(static_cast<unsigned char>(text[at + 4])))
			return true;
	return false;
}

// Something gave way to the Ctrl-C: a run asked whether to stop, a question was cancelled.
bool g_bHeeded = false;
bool Heeded()
{
	if (g_bInterrupted)
		g_bHeeded = true;
	return g_bInterrupted != 0;
}

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
	// The yes and no every control takes.
	if (bool yes = false; typed_input::ReadYesNo(reply, yes).empty())
		return yes ? IDYES : IDNO;
	for (char& c : reply)
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
		throw std::invalid_argument("the reply of \"" + option + "\" is not yes, no, ok or cancel (" +
									std::string(typed_input::kYesNoWords) + ", ok/annulla)");
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

bool CliInteraction::InterruptHeeded()
{
	return g_bHeeded;
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

bool CliInteraction::ReadTerminalLine(std::string& line)
{
	// Read directly, a byte at a time: a buffered stream would swallow Ctrl-C's EINTR and
	// read ahead of the line.
	line.clear();
	for (;;)
	{
		char c;
		const ssize_t n = ::read(STDIN_FILENO, &c, 1);
		if (n < 0 && errno == EINTR && !g_bInterrupted)
			continue;
		if (n <= 0)
		{
			std::fprintf(stderr, "\n");
			return false;
		}
		if (c == '\n')
			return true;
		line += c;
	}
}

int CliInteraction::AskTerminal(UINT nType)
{
	for (;;)
	{
		std::fprintf(stderr, "[%s] ", Choices(nType));
		std::fflush(stderr);
		std::string line;
		if (!ReadTerminalLine(line))
			return 0;
		if (int answer = ReplyToAnswer(line))
			return Fit(answer, nType);
	}
}

std::string CliInteraction::ConnectStringError(const std::string& text)
{
	// ODBC's connect strings start so.
	std::string_view pairs(text);
	if (pairs.size() >= 5 && std::equal(pairs.begin(), pairs.begin() + 5, "ODBC;",
										 [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }))
		pairs.remove_prefix(5);
	if (pairs.find('=') == std::string_view::npos)
		return "it holds no KEY=VALUE pair";
	try
	{
		plv::db::ConnectionString parsed(pairs);
	}
	catch (const plv::db::DbError& e)
	{
		return e.what();
	}
	return {};
}

void CliInteraction::SetConnectAnswer(const std::string& answer)
{
	if (ReplyToAnswer(answer) == IDCANCEL)
		m_bConnectCancel = true;
	else if (const std::string why = ConnectStringError(answer); !why.empty())
		throw std::invalid_argument("not a connect string (" + why + ")");
	m_ConnectAnswer = answer;
	m_bConnectAnswered = true;
}

BOOL CliInteraction::CompleteConnectString(const CString& proposed, CString& complete)
{
	FILE* out = m_bMessagesToStderr ? stderr : stdout;
	// The proposal may name a password: it is never printed.
	const std::string shown = plv::db::RedactSecrets(proposed.str());
	std::fprintf(out, "Test di connessione, stringa proposta: %s\n", shown.c_str());
	std::fflush(out);
	auto answered = [&](BOOL bOk, const CString& text) {
		if (bOk)
			complete = text;
		std::fprintf(out, "-> %s\n", bOk ? plv::db::RedactSecrets(text.str()).c_str() : "annulla");
		std::fflush(out);
		return bOk;
	};
	if (Heeded())
		return answered(FALSE, {});
	if (m_bConnectAnswered)
		return answered(!m_bConnectCancel, CString(m_ConnectAnswer));
	if (m_Always != Always::Ask)
		return answered(m_Always == Always::Yes, proposed);
	if (::isatty(STDIN_FILENO))
		for (;;)
		{
			std::fprintf(stderr, "[stringa di connessione; invio: la proposta; annulla] ");
			std::fflush(stderr);
			std::string line;
			if (!ReadTerminalLine(line))
				break;
			if (line.empty())
				return answered(TRUE, proposed);
			if (ReplyToAnswer(line) == IDCANCEL)
				return answered(FALSE, {});
			if (const std::string why = ConnectStringError(line); why.empty())
				return answered(TRUE, CString(line));
			else
				std::fprintf(stderr, "kvz: not a connect string (%s)\n", plv::db::RedactSecrets(why).c_str());
		}
	if (!Heeded())
		std::fprintf(stderr, "kvz: no answer, the connection test is cancelled (answer it with --connect, --yes or --no)\n");
	return answered(FALSE, {});
}

BOOL CliInteraction::ChooseFile(const CString& title, const CString& proposed, CString& chosen)
{
	FILE* out = m_bMessagesToStderr ? stderr : stdout;
	std::fprintf(out, "%s%s%s\n", title.GetString(), proposed.IsEmpty() ? "" : ", proposto: ", proposed.GetString());
	std::fflush(out);
	auto answered = [&](BOOL bOk, const std::string& path) {
		if (bOk)
			chosen = CString(path);
		std::fprintf(out, "-> %s\n", bOk ? path.c_str() : "annulla");
		std::fflush(out);
		return bOk;
	};
	if (Heeded())
		return answered(FALSE, {});
	if (!m_FileAnswer.empty())
		return answered(ReplyToAnswer(m_FileAnswer) != IDCANCEL, m_FileAnswer);
	if (::isatty(STDIN_FILENO))
	{
		std::fprintf(stderr, "[percorso del file; invio: la proposta; annulla] ");
		std::fflush(stderr);
		std::string line;
		if (ReadTerminalLine(line))
		{
			if (line.empty())
				return answered(!proposed.IsEmpty(), proposed.str());
			return answered(ReplyToAnswer(line) != IDCANCEL, line);
		}
	}
	if (!Heeded())
		std::fprintf(stderr, "kvz: no answer, the file dialog is cancelled (answer it with --choose-file)\n");
	return answered(FALSE, {});
}

int CliInteraction::Decide(const CString& text, UINT nType)
{
	// After Ctrl-C nothing more is agreed to, whatever the options say.
	if (Heeded())
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
	if (!Heeded())
		std::fprintf(stderr, "kvz: no answer, the question is cancelled (answer it with --yes, --no or --answer)\n");
	return CancelAnswer(nType);
}

void CliInteraction::ReleaseHeld()
{
	FILE* out = m_bMessagesToStderr ? stderr : stdout;
	auto held = std::exchange(m_Held, {});
	m_bHolding = false;
	if (held.empty())
	{
		EndProgress();
		return;
	}
	// The messages first, then the work's summary: the last line is what it did.
	const bool summary = g_bProgressShown;
	ClearProgress();
	for (const auto& [shown, text] : held)
		std::fprintf(out, "%s\n", Compacted(shown).GetString());
	std::fflush(out);
	if (summary)
		std::fprintf(stderr, "%s\n", g_ProgressText.c_str());
	EndProgress();
}

void CliInteraction::SetMessageLog(const std::string& path)
{
	m_MessageLog = path;
}

CString CliInteraction::Compacted(const CString& text) const
{
	constexpr size_t kKept = 3;
	std::vector<std::string> lines;
	std::istringstream in(text.str());
	for (std::string line; std::getline(in, line);)
		lines.push_back(line);
	// Lines of one kind start and end with the same words; what lies between (a code, a name) differs.
	auto kindOf = [](const std::string& line) {
		std::vector<std::string> words;
		std::istringstream w(line);
		for (std::string word; w >> word;)
			words.push_back(word);
		if (words.size() < 8)
			return line;
		std::string kind;
		for (size_t i = 0; i < 3; ++i)
			kind += words[i] + " ";
		kind += "...";
		for (size_t i = words.size() - 5; i < words.size(); ++i)
			kind += " " + words[i];
		return kind;
	};
	std::map<std::string, size_t> count;
	for (auto& line : lines)
		++count[kindOf(line)];
	if (std::none_of(count.begin(), count.end(), [](auto& c) { return c.second > kKept + 2; }))
		return text;
	// The whole message goes to the log; where it cannot be written, it is shown whole.
	std::string logged;
	if (!m_MessageLog.empty())
	{
		std::error_code ec;
		std::filesystem::create_directories(std::filesystem::path(m_MessageLog).parent_path(), ec);
		std::ofstream log(m_MessageLog, std::ios::app);
		log << "---- message of " << lines.size() << " lines\n" << text.str() << "\n";
		if (log.flush())
			logged = m_MessageLog;
	}
	if (logged.empty())
		return text;
	std::map<std::string, size_t> shown;
	std::string out;
	for (auto& line : lines)
	{
		const std::string kind = kindOf(line);
		const size_t n = count[kind];
		const size_t i = ++shown[kind];
		if (n <= kKept + 2 || i <= kKept)
			out += line + "\n";
		if (n > kKept + 2 && i == kKept)
			out += fmt::format("  ... and {} more like these (all {} are in {})\n", n - kKept, n, logged);
	}
	if (!out.empty())
		out.pop_back();
	return CString(out);
}

void CliInteraction::DropHeld(const std::string& reason)
{
	std::erase_if(m_Held, [&](const auto& held) { return reason.find(held.second.str()) != std::string::npos; });
	ReleaseHeld();
}

int CliInteraction::MessageBox(const CString& text, UINT nType, const CString& caption)
{
	FILE* out = m_bMessagesToStderr ? stderr : stdout;
	const CString shown = caption.IsEmpty() ? text : caption + ": " + text;
	m_Shown.emplace_back(shown, nType);
	if ((nType & MB_TYPEMASK) == MB_OK && m_bHolding)
	{
		m_Held.emplace_back(shown, text);
		return IDOK;
	}
	if (m_bHolding)
	{
		ReleaseHeld();
		m_bHolding = true;
	}
	ClearProgress();
	std::fprintf(out, "%s\n", ((nType & MB_TYPEMASK) == MB_OK ? Compacted(shown) : shown).GetString());
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
	if (::isatty(STDERR_FILENO))
	{
		// The line stays within the terminal's width, so that the next one covers it.
		winsize size{};
		const size_t width = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1 ? size.ws_col - 1 : 79;
		std::string line = text.str();
		g_ProgressText = line;
		if (CString(line).GetCharCount() > static_cast<int>(width))
			line = line.substr(0, Utf8Offset(line, static_cast<int>(width)));
		std::fprintf(stderr, "\r\033[K%s", line.c_str());
		std::fflush(stderr);
		g_bProgressShown = true;
		return;
	}
	// A count held back is its work's last one when a text that is no count follows it (the
	// summary, a step's status): printed first, so that the final count is never lost.
	if (g_bProgressUnprinted && IsProgressCount(g_ProgressText) && !IsProgressCount(text.str()))
	{
		std::fprintf(stderr, "%s\n", g_ProgressText.c_str());
		g_bProgressUnprinted = false;
	}
	g_ProgressText = text.str();
	const auto now = std::chrono::steady_clock::now();
	g_bProgressUnprinted = g_LastProgressLine != std::chrono::steady_clock::time_point{} &&
						   now - g_LastProgressLine < ProgressEvery();
	if (g_bProgressUnprinted)
		return;
	g_LastProgressLine = now;
	std::fprintf(stderr, "%s\n", text.GetString());
}

void CliInteraction::ClearProgress()
{
	if (g_bProgressShown)
		std::fprintf(stderr, "\r\033[K");
	g_bProgressShown = false;
}

void CliInteraction::EndProgress()
{
	// The last text stays whole, as the summary.
	if (g_bProgressShown)
		std::fprintf(stderr, "\r\033[K%s\n", g_ProgressText.c_str());
	else if (g_bProgressUnprinted)
		std::fprintf(stderr, "%s\n", g_ProgressText.c_str());
	g_bProgressShown = false;
	g_bProgressUnprinted = false;
}

bool CliInteraction::AbortRequested()
{
	return Heeded();
}

namespace {
std::vector<std::string> g_Kept;
}

void CliInteraction::Stopped(const CString& whatWasKept)
{
	g_Kept.push_back(whatWasKept.str());
}

const std::vector<std::string>& CliInteraction::KeptOnInterrupt()
{
	return g_Kept;
}
