#include <dlfcn.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

#include "kvznet/kvzmod/kvzcomponents/general.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "platform/plvnamesolver/FunctionWrapper.h"

namespace {
using General = CompanyDb;

// LenMastro, then LenSeg1 to LenSeg7.
using Layout = std::array<int, 8>;

Kvz_TParametri Parametri(const Layout& l)
{
	Kvz_TParametri r;
	r.f_IDParam = 1;
	r.f_LenMastro = l[0];
	DataInt* seg[] = {&r.f_LenSeg1, &r.f_LenSeg2, &r.f_LenSeg3, &r.f_LenSeg4,
					  &r.f_LenSeg5, &r.f_LenSeg6, &r.f_LenSeg7};
	for (size_t k = 0; k < 7; ++k)
		*seg[k] = l[k + 1];
	return r;
}

DataStr Codice(int nLen)
{
	return DataStr(CString(std::string(static_cast<size_t>(nLen), 'C')));
}

using LevelExport = int (*)(HWND, BSTR*);

LevelExport ExportedLevel()
{
	void* h = dlopen("libKvzComponents.so", RTLD_NOW | RTLD_NOLOAD);
	void* p = h ? dlsym(h, "__Kvz_GetNrLivelloConto") : nullptr;
	if (h)
		dlclose(h);
	return reinterpret_cast<LevelExport>(p);
}

// The level through the export, the caller's string checked for being replaced by a copy.
int LevelThroughExport(HWND hWnd, const char* code)
{
	BSTR s = SysAllocString(code);
	const long alive = SysStringsAlive(), freed = SysStringsFreed();
	const int level = ExportedLevel()(hWnd, &s);
	// The string given was freed (none was given for null) and a new one is the caller's.
	EXPECT_EQ(SysStringsFreed() - freed, code ? 1 : 0);
	EXPECT_EQ(SysStringsAlive(), alive + (code ? 0 : 1));
	EXPECT_NE(s, nullptr);
	EXPECT_STREQ(s, code ? code : "");
	SysFreeString(s);
	return level;
}

// Runs `work` on another thread while this one serves its window.
void OnWorker(CUiThread& ui, const std::function<void()>& work)
{
	std::thread worker([&] {
		work();
		ui.Quit();
	});
	ui.Run();
	worker.join();
}

void AddCodes(int year, const char* model, std::initializer_list<const char*> codes)
{
	for (const char* c : codes)
	{
		Kvz_TCodiciRiclassificato r;
		r.f_Esercizio = year;
		r.f_ModelloRiclassific = model;
		r.f_CodRiclassificato = c;
		InsertRow(r);
	}
}

void AddExtraCodes(int year, std::initializer_list<const char*> codes)
{
	for (const char* c : codes)
	{
		Kvz_TCodExtracontabiliTesta r;
		r.f_Esercizio = year;
		r.f_CodExtracont = c;
		InsertRow(r);
	}
}

DataEnum Aggreg(WORD item)
{
	return DataEnum(E_KVZ_AGGREGFUNCTION, item);
}
}  // namespace

// ---- account level -----------------------------------------------------------------------------

TEST(LivelloConto, EachLevelStartsExactlyAtItsCumulatedLength)
{
	// Ends: level 2 at 3, 3 at 5, 4 at 6, 5 at 8, 6 at 9, 7 at 11, 8 at 12.
	const Layout all = {2, 1, 2, 1, 2, 1, 2, 1};
	const Kvz_TParametri p = Parametri(all);
	int fine = all[0];
	EXPECT_EQ(Kvz_LivelloConto(DataStr(), p), 0);
	EXPECT_EQ(Kvz_LivelloConto(Codice(1), p), 1);
	for (int k = 2; k <= 8; ++k)
	{
		fine += all[static_cast<size_t>(k - 1)];
		SCOPED_TRACE(k);
		EXPECT_EQ(Kvz_LivelloConto(Codice(fine), p), k);
		EXPECT_EQ(Kvz_LivelloConto(Codice(fine - 1), p), k - 1);
	}
	EXPECT_EQ(Kvz_LivelloConto(Codice(40), p), 8);
}

TEST(LivelloConto, LayoutsWithUnusedSegments)
{
	const struct
	{
		const char* what;
		Layout layout;
		std::vector<std::pair<int, int>> lenLevel;
	} cases[] = {
		{"worked example", {2, 2, 3, 0, 0, 0, 0, 0}, {{1, 1}, {3, 1}, {4, 2}, {6, 2}, {7, 3}, {30, 3}}},
		{"the ledger part alone is never compared", {4, 0, 0, 0, 0, 0, 0, 0}, {{1, 1}, {4, 1}, {9, 1}}},
		{"no level 8 without the seventh segment", {1, 1, 1, 1, 1, 1, 1, 0}, {{7, 7}, {8, 7}, {20, 7}}},
		{"a negative length is unused", {1, 1, 1, 1, 1, 1, 1, -3}, {{8, 7}}},
		// 2+2 = 4, then 0, then 0+3 = 3: a 3-character code is already level 4.
		{"a gap restarts the running sum", {2, 2, 0, 3, 0, 0, 0, 0}, {{2, 1}, {3, 4}, {4, 4}, {9, 4}}},
		{"nothing laid out", {0, 0, 0, 0, 0, 0, 0, 0}, {{1, 1}, {12, 1}}},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(c.what);
		const Kvz_TParametri p = Parametri(c.layout);
		for (auto [len, level] : c.lenLevel)
			EXPECT_EQ(Kvz_LivelloConto(Codice(len), p), level) << len << " characters";
	}
}

TEST_F(General, LevelReadsTheParametersRowAndAnEmptyCodeReadsNothing)
{
	DataStr empty, code = Codice(4);
	EXPECT_EQ(int(Kvz_GetNrLivelloConto(&code)), 1);  // no row yet: nothing laid out
	Kvz_TParametri row = Parametri({2, 2, 3, 0, 0, 0, 0, 0});
	InsertRow(row);
	EXPECT_EQ(int(Kvz_GetNrLivelloConto(&code)), 2);

	m_pConn->ExecuteSQL("DROP TABLE Kvz_Parametri");
	EXPECT_EQ(int(Kvz_GetNrLivelloConto(&empty)), 0);
	EXPECT_EQ(int(Kvz_GetNrLivelloConto(nullptr)), 0);
	EXPECT_THROW(Kvz_GetNrLivelloConto(&code), SqlException);  // a code does read
}

TEST_F(General, ExportGivesTheLevelOfTheWindowThreadFromAnyThread)
{
	ASSERT_NE(ExportedLevel(), nullptr);
	Kvz_TParametri row = Parametri({2, 2, 3, 0, 0, 0, 0, 0});
	InsertRow(row);
	// A worker with a company of its own: had the level been computed there, it would differ.
	auto other = OtherCompany("altra.db");
	Kvz_TParametri otherRow = Parametri({1, 1, 1, 1, 1, 1, 1, 1});
	{
		SqlTable t(&otherRow, other->GetDefaultSqlSession());
		t.Open(TRUE);
		t.AddNew(FALSE);
		t.Update();
	}

	CUiThread ui;
	const HWND hWnd = ui.GetMainWnd();
	const long alive = SysStringsAlive();
	const struct
	{
		const char* code;
		int level;
	} cases[] = {{"AB", 1}, {"ABCD", 2}, {"ABCDEFG", 3}, {"", 0}, {nullptr, 0}};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(c.code ? c.code : "(null)");
		EXPECT_EQ(LevelThroughExport(hWnd, c.code), c.level);
		int there = -1, unbound = -1;
		OnWorker(ui, [&] {
			AfxSetThreadDefaultSqlConnection(other.get());
			there = LevelThroughExport(hWnd, c.code);
			unbound = LevelThroughExport(nullptr, c.code);  // no window: on the calling thread
			AfxSetThreadDefaultSqlConnection(nullptr);
		});
		EXPECT_EQ(there, c.level);
		EXPECT_EQ(unbound, c.code ? int(std::string(c.code).size()) : 0);
	}
	EXPECT_EQ(SysStringsAlive(), alive);
}

// ---- rounding ----------------------------------------------------------------------------------

TEST(ArrotondaValore, RoundsTheAbsoluteValueAndKeepsTheSign)
{
	const struct
	{
		double value;
		int decimals;
		WORD mode;
		double expected;
	} cases[] = {
		{-1.005, 2, 3, -1.01},  // rounded as 1.005
		{1.005, 2, 3, 1.01},
		{-0.00005, 2, 3, 0},  // within the epsilon of zero: empty, left as it is
		{1249.99, -2, 3, 1200},
		{1250, -2, 3, 1300},
		{-1250, -2, 3, -1300},
		{2.5, 0, 3, 3},
		{1.23456, 2, 0, 1.23456},  // item 0: no rounding
		{0, 2, 3, 0},
		{2.345, 2, 1, 2.34},  // item 1: halves to even
		{2.355, 2, 1, 2.36},
		{2.341, 2, 2, 2.35},  // item 2: away from zero
		{-2.341, 2, 2, -2.35},
		{2.345, 2, 3, 2.35},  // item 3: to the nearest
		{2.349, 2, 4, 2.34},  // item 4: toward zero
		{-2.349, 2, 4, -2.34},
		{2.345, 2, 9, 2.35},  // any other item: to the nearest
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.value << " at " << c.decimals << " mode " << c.mode);
		DataMon r = ArrotondaValore(DataMon(c.value), DataInt(c.decimals), DataEnum(E_TIPOARROTONDAMENTO, c.mode));
		if (c.expected == 0)
			EXPECT_TRUE(r.IsEmpty()) << r.GetValue();
		else
			EXPECT_DOUBLE_EQ(r.GetValue(), c.expected);
	}
	EXPECT_DOUBLE_EQ(ArrotondaValore(DataMon(1.23456), DataInt(2), DataEnum()).GetValue(), 1.23456);
}

TEST(ArrotondaValore, ANegativeValueRoundedToZeroIsPlainZero)
{
	// A report formats the plain double it is handed: -0.0 would print as "-0.00".
	for (WORD mode : {1, 3, 4})
	{
		DataMon r = ArrotondaValore(DataMon(-0.004), DataInt(2), DataEnum(E_TIPOARROTONDAMENTO, mode));
		EXPECT_EQ(r.GetValue(), 0.0) << mode;
		EXPECT_FALSE(std::signbit(r.GetValue())) << mode;
	}
}

// ---- macro of a symbol -------------------------------------------------------------------------

TEST_F(General, MacroOfASymbolSumsOrAveragesTheCodesOfItsRange)
{
	AddCodes(2024, "M1", {"A1", "A2", "B1"});
	AddCodes(2024, "M2", {"A3"});
	AddCodes(2023, "M1", {"A3"});
	AddExtraCodes(2024, {"A1", "A2", "B1"});
	AddExtraCodes(2023, {"A3"});

	const struct
	{
		const char* da;
		const char* a;
		WORD aggreg;
		const char* expected;
		const char* daAfter;
		const char* aAfter;
	} cases[] = {
		{"A1", "A3", 0, "(A1)+(A2)", "A1", "A3"},  // A3 is of another model or year
		{"A1", "B1", 1, "((A1)+(A2)+(B1)) / 3", "A1", "B1"},
		{"A2", "", 0, "(A2)", "A2", "A2"},
		{"", "B1", 1, "((B1)) / 1", "B1", "B1"},
		{"C1", "C9", 0, "", "C1", "C9"},
		{"C1", "C9", 1, "", "C1", "C9"},  // no "(" left behind
		{"", "", 1, "", "", ""},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.da << ".." << c.a << " aggregate " << c.aggreg);
		Kvz_TSimboliCodiciRiclass riclass;
		riclass.f_Esercizio = 2024;
		riclass.f_ModelloRiclassific = "M1";
		Kvz_TSimboliCodiciExtracont extra;
		extra.f_Esercizio = 2024;
		extra.f_ModelloRiclassific = "M2";  // not a filter of extra-accounting codes
		for (DataStr* s : {&riclass.f_ValoreCodice, &extra.f_ValoreCodice})
			*s = c.da;
		for (DataStr* s : {&riclass.f_ValoreCodiceA, &extra.f_ValoreCodiceA})
			*s = c.a;
		riclass.f_AggregFunction = Aggreg(c.aggreg);
		extra.f_AggregFunction = Aggreg(c.aggreg);

		EXPECT_EQ(ComponiMacroDelSimbolo(riclass).GetString(), c.expected);
		EXPECT_EQ(ComponiMacroDelSimbolo(extra).GetString(), c.expected);
		EXPECT_EQ(riclass.f_ValoreCodice.GetString(), c.daAfter);
		EXPECT_EQ(riclass.f_ValoreCodiceA.GetString(), c.aAfter);
		EXPECT_EQ(extra.f_ValoreCodice.GetString(), c.daAfter);
		EXPECT_EQ(extra.f_ValoreCodiceA.GetString(), c.aAfter);
	}
	EXPECT_TRUE(m_Ui.Messages().empty());
}

TEST_F(General, MacroOfASymbolShowsAnSqlErrorAndGivesWhatItRead)
{
	m_pConn->ExecuteSQL("DROP TABLE Kvz_CodiciRiclassificato");
	Kvz_TSimboliCodiciRiclass s;
	s.f_Esercizio = 2024;
	s.f_ValoreCodice = "A1";
	s.f_AggregFunction = Aggreg(1);
	EXPECT_EQ(ComponiMacroDelSimbolo(s).GetString(), "");
	EXPECT_EQ(s.f_ValoreCodiceA.GetString(), "A1");  // completed before the query
	ASSERT_EQ(m_Ui.Messages().size(), 1u);
	EXPECT_EQ(m_Ui.Messages()[0].type, UINT(MB_OK | MB_ICONERROR));
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}
