#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabili.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodExtracontabiliTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrFormula.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using namespace kvzdbl::test;
using CodExtracontabili = CompanyDb;

Kvz_TCodExtracontabiliTesta Testa(int year, const char* code, const char* descr)
{
	Kvz_TCodExtracontabiliTesta r;
	r.f_Esercizio = year;
	r.f_CodExtracont = code;
	r.f_Descrizione = descr;
	return r;
}

Kvz_TCodExtracontabili Mese(int year, const char* code, int month, const char* formula)
{
	Kvz_TCodExtracontabili r;
	r.f_Esercizio = year;
	r.f_CodExtracont = code;
	r.f_Mese = month;
	r.f_Formula = formula;
	return r;
}

Kvz_TDescrFormula Descr(int year, WORD kind, const char* code, WORD budget, int index, const char* descr)
{
	Kvz_TDescrFormula r;
	r.f_Esercizio = year;
	r.f_TipoCodice = DataEnum(E_KVZ_TIPOSIMBOLO, kind);
	r.f_Codice = code;
	r.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, budget);
	r.f_IndiceFormula = index;
	r.f_Descrizione = descr;
	return r;
}

}  // namespace

TEST_F(CodExtracontabili, RecordShapes)
{
	V formulas;
	for (int i = 1; i <= 10; ++i)
		formulas.push_back(CString::Formatted("Formula%d", i));
	V months = {"Esercizio", "CodExtracont", "Mese", "Formula"};
	months.insert(months.end(), formulas.begin(), formulas.end());
	V monthsEnh = months;
	monthsEnh.push_back("Descrizione");

	struct Case
	{
		const char* name;
		std::unique_ptr<SqlRecord> rec;
		V columns;
		int columnCount;
		V key;
		std::set<CString> upper;
	};
	Case cases[] = {
		{"testa", std::make_unique<Kvz_TCodExtracontabiliTesta>(), {"Esercizio", "CodExtracont", "Descrizione"}, 3,
		 {"Esercizio", "CodExtracont"}, {"CodExtracont"}},
		{"mesi", std::make_unique<Kvz_TCodExtracontabili>(), months, 14, {"Esercizio", "CodExtracont", "Mese"},
		 {"CodExtracont", "Formula"}},
		{"mesi enh", std::make_unique<Kvz_TEnhCodExtracontabili>(), monthsEnh, 14,
		 {"Esercizio", "CodExtracont", "Mese"}, {"CodExtracont", "Formula"}},
		{"mesi ext", std::make_unique<Kvz_TCodExtracont_Ext>(), months, 14, {"Esercizio", "CodExtracont", "Mese"},
		 {"CodExtracont", "Formula"}},
		{"descrizioni", std::make_unique<Kvz_TDescrFormula>(),
		 {"Esercizio", "TipoCodice", "Codice", "TipoBudget", "IndiceFormula", "Descrizione"}, 6,
		 {"Esercizio", "TipoCodice", "Codice", "TipoBudget", "IndiceFormula"}, {"Codice"}},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.name);
		ExpectRecordShape(*c.rec, c.columns, c.columnCount, c.key, c.upper);
	}
	Kvz_TEnhCodExtracontabili enh;
	EXPECT_EQ(enh.GetColumnLength(enh.GetIndexFromColumnName("Descrizione")), 64);
	Kvz_TDescrFormula d;
	EXPECT_EQ(d.f_TipoCodice.GetValue(), 0x3AA70000u);
	EXPECT_EQ(d.f_TipoBudget.GetValue(), 0x3A9C0000u);
	EXPECT_STREQ(Kvz_TCodExtracont_Ext::GetStaticName(), "Kvz_CodExtracontabiliMesi");
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
}

TEST_F(CodExtracontabili, MonthFormulasKeepTheirCaseExceptTheMainOne)
{
	Kvz_TEnhCodExtracontabili w;
	w.f_Esercizio = 2025;
	w.f_CodExtracont = "dip";
	w.f_Mese = 4;
	w.f_Formula = "_ore * 2";
	w.f_Formula1 = "_Ore / 3";
	w.f_Formula10 = "mq";
	w.l_Descrizione = "Dipendenti";
	InsertRow(w);

	Kvz_TRCodExtracontabili reader;
	ASSERT_EQ(reader.FindRecord(DataInt(2025), DataStr("dip"), DataInt(4)), TableReader::FOUND);
	Kvz_TCodExtracontabili* r = reader.GetRecord();
	EXPECT_EQ(r->f_CodExtracont.GetString(), "DIP");
	EXPECT_EQ(r->f_Formula.GetString(), "_ORE * 2");
	EXPECT_EQ(r->f_Formula1.GetString(), "_Ore / 3");
	EXPECT_EQ(r->f_Formula10.GetString(), "mq");
}

TEST_F(CodExtracontabili, MonthReaderKeysAndEmptyKeys)
{
	// Year and month are both integers: a swapped pair would find the other row.
	Kvz_TCodExtracontabili rows[] = {Mese(2025, "K1", 3, "A"), Mese(3, "K1", 2025, "SWAPPED"), Mese(2025, "K2", 3, "B"),
									 Mese(2025, "K1", 4, "C")};
	for (auto& r : rows)
		InsertStoredRow(r);

	Kvz_TRCodExtracontabili reader;
	struct Case
	{
		int year;
		const char* code;
		int month;
		const char* formula;  // null: not found
	} cases[] = {
		{2025, "K1", 3, "A"},     {2025, "K2", 3, "B"},     {2025, "K1", 4, "C"},
		{2024, "K1", 3, nullptr}, {2025, "K3", 3, nullptr},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.year << " " << c.code << " " << c.month);
		auto res = reader.FindRecord(DataInt(c.year), DataStr(c.code), DataInt(c.month));
		ASSERT_EQ(res, c.formula ? TableReader::FOUND : TableReader::NOT_FOUND);
		if (c.formula)
		{
			EXPECT_EQ(reader.GetRecord()->f_Formula.GetString(), c.formula);
		}
	}

	m_pConn->ExecuteSQL("DROP TABLE Kvz_CodExtracontabiliMesi");  // any query would now fail
	Kvz_TRCodExtracontabili fresh;
	EXPECT_EQ(fresh.FindRecord(DataInt(0), DataStr("K1"), DataInt(3)), TableReader::NOT_FOUND);
	EXPECT_EQ(fresh.FindRecord(DataInt(2025), DataStr(""), DataInt(3)), TableReader::NOT_FOUND);
	EXPECT_EQ(fresh.FindRecord(DataInt(2025), DataStr("K1"), DataInt(0)), TableReader::NOT_FOUND);
	EXPECT_THROW(fresh.FindRecord(DataInt(2025), DataStr("K1"), DataInt(3)), SqlException);
}

TEST_F(CodExtracontabili, ExtRecordReadsAnotherCompany)
{
	auto other = OtherCompany("altra.db");
	Kvz_TCodExtracontabili r = Mese(2025, "K1", 5, "x + y");
	r.f_Formula2 = "z";
	r.SetConnection(other.get());
	InsertRow(r);

	Kvz_TCodExtracont_Ext ext(other.get());
	ASSERT_TRUE(ReadFirstRow(ext));
	EXPECT_EQ(ext.f_Formula.GetString(), "X + Y");
	EXPECT_EQ(ext.f_Formula2.GetString(), "z");
	EXPECT_EQ(ext.f_Mese, 5);

	Kvz_TRCodExtracontabili reader;  // the current company has no such row
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataStr("K1"), DataInt(5)), TableReader::NOT_FOUND);
}

TEST_F(CodExtracontabili, DescriptionReaderKeysAndEmptyKeys)
{
	// Every key column tells the rows apart; the two enumerations carry different tags.
	Kvz_TDescrFormula rows[] = {
		Descr(2025, 1, "K1", 3, 0, "principale"), Descr(2025, 1, "K1", 3, 2, "seconda"),
		Descr(2025, 1, "K1", 1, 2, "budget 1"),   Descr(2025, 3, "K1", 3, 2, "riclassificato"),
		Descr(2025, 1, "K2", 3, 2, "altro codice"), Descr(2024, 1, "K1", 3, 2, "anno prima"),
	};
	for (auto& r : rows)
		InsertRow(r);

	Kvz_TRDescrFormula reader;
	struct Case
	{
		int year;
		WORD kind;
		const char* code;
		WORD budget;
		int index;
		const char* descr;  // null: not found
	} cases[] = {
		{2025, 1, "K1", 3, 0, "principale"},   {2025, 1, "K1", 3, 2, "seconda"},
		{2025, 1, "K1", 1, 2, "budget 1"},     {2025, 3, "K1", 3, 2, "riclassificato"},
		{2025, 1, "k2", 3, 2, "altro codice"}, {2024, 1, "K1", 3, 2, "anno prima"},
		{2025, 1, "K1", 3, 5, nullptr},        {2025, 6, "K1", 3, 2, nullptr},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.descr ? c.descr : "missing");
		auto res = reader.FindRecord(DataInt(c.year), DataEnum(E_KVZ_TIPOSIMBOLO, c.kind), DataStr(c.code),
									 DataEnum(E_KVZ_TIPOBUDGET, c.budget), DataInt(c.index));
		ASSERT_EQ(res, c.descr ? TableReader::FOUND : TableReader::NOT_FOUND);
		if (c.descr)
		{
			EXPECT_EQ(reader.GetRecord()->f_Descrizione.GetString(), c.descr);
		}
	}

	// Only the year and the code stop the query; an empty kind, budget type or index is searched.
	m_pConn->ExecuteSQL("DROP TABLE Kvz_DescrFormule");
	Kvz_TRDescrFormula fresh;
	EXPECT_EQ(fresh.FindRecord(DataInt(0), DataEnum(E_KVZ_TIPOSIMBOLO, 1), DataStr("K1"), DataEnum(E_KVZ_TIPOBUDGET, 3),
							   DataInt(1)),
			  TableReader::NOT_FOUND);
	EXPECT_EQ(fresh.FindRecord(DataInt(2025), DataEnum(E_KVZ_TIPOSIMBOLO, 1), DataStr(""),
							   DataEnum(E_KVZ_TIPOBUDGET, 3), DataInt(1)),
			  TableReader::NOT_FOUND);
	EXPECT_THROW(fresh.FindRecord(DataInt(2025), DataEnum(), DataStr("K1"), DataEnum(), DataInt(0)), SqlException);
}

TEST_F(CodExtracontabili, CodeHotlinkSearchesYearZeroUntilAYearIsSet)
{
	Kvz_TCodExtracontabiliTesta rows[] = {Testa(0, "A1", "senza anno"), Testa(2025, "A1", "Addetti"),
										  Testa(2025, "B1", "Metri quadri"), Testa(2025, "A2", "Automezzi"),
										  Testa(2024, "A3", "Anno prima")};
	for (auto& r : rows)
		InsertStoredRow(r);
	AfxSetApplicationDate(DataDate(10, 6, 2025));  // not used by this lookup

	KVZ_HKLCodiciExtracont hkl;
	EXPECT_FALSE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "KvzMod.KvzDocuments.DCodExtracont");

	DataStr code("a1");
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetRecord()->f_Descrizione.GetString(), "senza anno");
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_CodExtracont);

	hkl.SetSelEsercizio(DataInt(2025));
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetRecord()->f_Descrizione.GetString(), "Addetti");
	DataStr old("A3");
	EXPECT_FALSE(hkl.ValidateValue(&old));
	EXPECT_EQ(hkl.GetErrorString(), "Il codice 'A3' non esiste.");

	EXPECT_EQ(Column(hkl, HotKeyLink::UPPER_BUTTON, "a", "CodExtracont"), (V{"A1", "A2"}));
	EXPECT_EQ(Column(hkl, HotKeyLink::LOWER_BUTTON, "", "CodExtracont"), (V{"A1", "A2", "B1"}));  // by description
	EXPECT_EQ(Column(hkl, HotKeyLink::LOWER_BUTTON, "Me", "CodExtracont"), (V{"B1"}));
	EXPECT_EQ(Column(hkl, HotKeyLink::COMBO_ACCESS, "", "CodExtracont").size(), 3u);  // only the year filter
}

TEST_F(CodExtracontabili, DescriptionHotlinkFiltersAndOrder)
{
	Kvz_TDescrFormula rows[] = {
		Descr(2025, 1, "K1", 3, 2, "Ore seconda"),   Descr(2025, 1, "K1", 1, 2, "Ore budget"),
		Descr(2025, 1, "K1", 3, 0, "Ore principale"), Descr(2025, 1, "K1", 0, 1, "Costo prima"),
		Descr(2025, 3, "K1", 3, 1, "Riclassificato"), Descr(2025, 1, "K2", 3, 1, "Altro codice"),
		Descr(2024, 1, "K1", 3, 1, "Anno prima"),
	};
	for (auto& r : rows)
		InsertRow(r);

	Kvz_HKLDescrFormula hkl;
	EXPECT_TRUE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "KvzMod.KvzDocuments.DescrFormula");
	hkl.SetEsercizio(DataInt(2025));
	hkl.SetCodice(DataStr("K1"));
	EXPECT_TRUE(Column(hkl, HotKeyLink::LOWER_BUTTON, "", "Descrizione").empty());  // no kind set yet

	hkl.SetTipoCodice(DataEnum(E_KVZ_TIPOSIMBOLO, 1));
	// Every budget type of the code, by formula index and then budget type.
	EXPECT_EQ(Column(hkl, HotKeyLink::LOWER_BUTTON, "", "Descrizione"),
			  (V{"Ore principale", "Costo prima", "Ore budget", "Ore seconda"}));
	EXPECT_EQ(Column(hkl, HotKeyLink::UPPER_BUTTON, "Ore", "Descrizione"),
			  (V{"Ore principale", "Ore budget", "Ore seconda"}));

	hkl.FiltraPerTipoBudget(DataBool(TRUE));  // item 3 unless set otherwise
	EXPECT_EQ(Column(hkl, HotKeyLink::LOWER_BUTTON, "", "Descrizione"), (V{"Ore principale", "Ore seconda"}));
	hkl.SetTipoBudget(DataEnum(E_KVZ_TIPOBUDGET, 1));
	EXPECT_EQ(Column(hkl, HotKeyLink::COMBO_ACCESS, "", "Descrizione"), (V{"Ore budget"}));

	// The control edits the description: the exact search is by description.
	DataStr chosen("Ore budget");
	ASSERT_TRUE(hkl.FindRecord(&chosen));
	EXPECT_EQ(hkl.GetRecord()->f_IndiceFormula, 2);
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_Descrizione);
	DataStr other("Ore seconda");  // budget type 3, filtered out
	EXPECT_FALSE(hkl.ValidateValue(&other));
	hkl.FiltraPerTipoBudget(DataBool(FALSE));
	EXPECT_TRUE(hkl.ValidateValue(&other));
}

// A code's formula descriptions are listed for the registers and the lookup by index and then
// budget type: an index gives them in that order.
TEST_F(CodExtracontabili, LookupsUseAnIndex)
{
	const char* const queries[] = {
		"SELECT * FROM Kvz_CodExtracontabiliMesi WHERE Esercizio=? AND CodExtracont=? AND Mese=?",
		"SELECT * FROM Kvz_CodExtracontabiliMesi WHERE Esercizio=? AND CodExtracont=? ORDER BY Mese",
		"SELECT * FROM Kvz_CodExtracontabili WHERE Esercizio=? AND CodExtracont=?",
		"SELECT * FROM Kvz_DescrFormule WHERE Esercizio=? AND TipoCodice=? AND Codice=? ORDER BY IndiceFormula, "
		"TipoBudget",
		"SELECT * FROM Kvz_DescrFormule WHERE Esercizio=? AND TipoCodice=? AND Codice=? AND TipoBudget=? AND "
		"IndiceFormula=?",
	};
	for (const char* q : queries)
	{
		std::string plan = ExpectIndexSearch(*m_pConn, q);
		EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << q << "\n" << plan;
	}
}
