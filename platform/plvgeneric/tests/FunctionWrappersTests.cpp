#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <type_traits>

#include "platform/plvgeneric/DataObj.h"
#include "platform/plvgeneric/FunctionWrappers.h"

namespace {

// Runs `work` on a new thread while this thread runs its loop; the loop ends with the work.
void RunOnWorker(CUiThread& ui, const std::function<void()>& work)
{
	std::thread worker([&] {
		work();
		ui.Quit();
	});
	ui.Run();
	worker.join();
}

// An object exporting functions to reports; remembers which thread ran it.
class CBudgetExports
{
public:
	// Marks the code (by reference) and describes it with the count (by value).
	DataStr Tag(DataStr& code, const DataInt count)
	{
		m_LastThread = std::this_thread::get_id();
		code = code.GetString() + CString("*");
		return DataStr(CString::Formatted("%s x%d", code.GetString().GetString(), count.GetValue()));
	}
	BSTR Title(int year) const { return SysAllocString(CString::Formatted("%s %d", m_strName.GetString(), year)); }

	CString m_strName = "Budget";
	std::thread::id m_LastThread;
};

BSTR Upper(const DataStr& text)
{
	return SysAllocString(CString(text.GetString()).MakeUpper());
}

// The answer goes out through a string the caller frees.
BOOL Lookup(int code, BSTR& name)
{
	if (code <= 0)
		return FALSE;
	name = SysAllocString(CString::Formatted("Account %d", code));
	return TRUE;
}

// One template family for members of 0 to 36 arguments: each name holds its count.
template <class... Args>
concept WrapsThreeArguments = requires { typename CFunctionT_Param3<CBudgetExports, DataStr, Args...>; };
static_assert(WrapsThreeArguments<int, DataStr&, double>);
static_assert(!WrapsThreeArguments<int, DataStr&>);
static_assert(std::is_same_v<CFunctionT_Param1<CBudgetExports, BSTR, int>, CFunctionT<CBudgetExports, BSTR, int>>);

}  // namespace

TEST(FunctionWrappers, MemberCallFromAnotherThreadMatchesTheDirectCall)
{
	const struct
	{
		const char* code;
		int count;
		const char* changed;
		const char* result;
	} cases[] = {
		{"", 0, "*", "* x0"},
		{"CDC01", 3, "CDC01*", "CDC01* x3"},
		{"Già*", -7, "Già**", "Già** x-7"},
	};
	CUiThread ui;
	CBudgetExports exports;
	for (const auto& c : cases)
	{
		SCOPED_TRACE(c.code);
		DataStr directCode(c.code), crossedCode(c.code);
		DataInt count(c.count);
		CFunctionT direct(ui.GetMainWnd(), &exports, &CBudgetExports::Tag, directCode, count);
		CFunctionT_Param2<CBudgetExports, DataStr, DataStr&, const DataInt> crossed(ui.GetMainWnd(), &exports,
																				   &CBudgetExports::Tag, crossedCode,
																				   c.count);
		EXPECT_TRUE(crossed.GetResult().IsEmpty());
		count = 99;  // taken by value: the call keeps the count it was given

		direct.Call();
		std::thread::id callerId;
		RunOnWorker(ui, [&] {
			callerId = std::this_thread::get_id();
			crossed.Call();
		});
		EXPECT_EQ(exports.m_LastThread, std::this_thread::get_id());
		EXPECT_NE(callerId, std::this_thread::get_id());
		EXPECT_EQ(direct.GetResult(), DataStr(c.result));
		EXPECT_EQ(crossed.GetResult(), direct.GetResult());
		EXPECT_EQ(directCode, DataStr(c.changed));
		EXPECT_EQ(crossedCode, directCode);
	}
}

TEST(FunctionWrappers, InterchangeStringsCrossThreadsWithoutLeaking)
{
	const long alive = SysStringsAlive();
	CUiThread ui;
	const CBudgetExports exports;
	DataStr text("conto ricavi");
	CFunctionT title(ui.GetMainWnd(), &exports, &CBudgetExports::Title, 2024);
	CGlobalFunctionT_Param1<BSTR, const DataStr&> upper(ui.GetMainWnd(), &Upper, text);
	BSTR found = nullptr, missing = nullptr;
	CGlobalFunctionT_Param2<BOOL, int, BSTR&> lookup(ui.GetMainWnd(), &Lookup, 120, found);
	CGlobalFunctionT lookupMissing(ui.GetMainWnd(), &Lookup, 0, missing);
	EXPECT_EQ(title.GetResult(), nullptr);
	text = "conto costi";  // by reference: the call reads it as it is when it runs

	RunOnWorker(ui, [&] {
		title.Call();
		upper.Call();
		lookup.Call();
		lookupMissing.Call();
	});
	EXPECT_EQ(SysStringsAlive(), alive + 3);
	EXPECT_STREQ(title.GetResult(), "Budget 2024");
	EXPECT_STREQ(upper.GetResult(), "CONTO COSTI");
	EXPECT_EQ(SysStringLen(upper.GetResult()), std::strlen("CONTO COSTI"));
	EXPECT_TRUE(lookup.GetResult());
	EXPECT_STREQ(found, "Account 120");
	EXPECT_FALSE(lookupMissing.GetResult());
	EXPECT_EQ(missing, nullptr);

	SysFreeString(title.GetResult());
	SysFreeString(upper.GetResult());
	SysFreeString(found);
	SysFreeString(missing);
	EXPECT_EQ(SysStringsAlive(), alive);
}

TEST(FunctionWrappers, InterchangeStringBasics)
{
	const long alive = SysStringsAlive();
	EXPECT_EQ(SysAllocString(nullptr), nullptr);
	EXPECT_EQ(SysStringLen(nullptr), 0u);
	SysFreeString(nullptr);

	const struct
	{
		BSTR s;
		unsigned len;
		const char* bytes;
	} cases[] = {
		{SysAllocString(""), 0, ""},
		{SysAllocString("Più"), 4, "Più"},  // bytes, not characters
		{SysAllocStringLen("a\0b", 3), 3, "a\0b"},
		{SysAllocStringLen(nullptr, 2), 2, "\0\0"},
	};
	EXPECT_EQ(SysStringsAlive(), alive + 4);
	for (const auto& c : cases)
	{
		EXPECT_EQ(SysStringLen(c.s), c.len);
		EXPECT_EQ(std::memcmp(c.s, c.bytes, c.len + 1), 0);
		SysFreeString(c.s);
	}
	EXPECT_EQ(SysStringsAlive(), alive);
}
