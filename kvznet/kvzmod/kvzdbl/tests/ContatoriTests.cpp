#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriCodici.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TContatoriDettaglio.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TIDDocumenti.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TNumDocumenti.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using namespace kvzdbl::test;
using Contatori = CompanyDb;

DataEnum Kind(WORD item)
{
	return DataEnum(E_KVZ_TIPOSIMBOLO, item);
}

Kvz_TContatoriDettaglio Uso(int year, WORD kind, const char* code, const char* model, WORD usingKind,
							const char* usingCode, int formula, long count)
{
	Kvz_TContatoriDettaglio r;
	r.f_Esercizio = year;
	r.f_TipoCodice = Kind(kind);
	r.f_Codice = code;
	r.f_ModelloRiclassific = model;
	r.f_TipoCodCheUtilizza = Kind(usingKind);
	r.f_CodiceCheUtilizza = usingCode;
	r.f_FormulaCheUtilizza = formula;
	r.f_ContatoreUtilizzi = count;
	return r;
}

struct Layout
{
	const char* what;
	std::unique_ptr<SqlRecord> record;
	std::vector<CString> bound;
	std::vector<CString> key;
	std::vector<CString> upper;
};
}  // namespace

TEST_F(Contatori, BindOrderKeysUpperCaseAndTables)
{
	Layout layouts[] = {
		{"codici", std::make_unique<Kvz_TEnhContatoriCodici>(),
		 {"Esercizio", "TipoCodice", "Codice", "ContatoreUtilizzi", "Descri"},
		 {"Esercizio", "TipoCodice", "Codice"},
		 {"Codice"}},
		{"dettaglio", std::make_unique<Kvz_TEnhContatoriDettaglio>(),
		 {"Esercizio", "TipoCodice", "Codice", "ModelloRiclassific", "TipoCodCheUtilizza", "CodiceCheUtilizza",
		  "FormulaCheUtilizza", "ContatoreUtilizzi", "Formula"},
		 {"Esercizio", "TipoCodice", "Codice", "ModelloRiclassific", "TipoCodCheUtilizza", "CodiceCheUtilizza",
		  "FormulaCheUtilizza"},
		 {"Codice", "ModelloRiclassific", "CodiceCheUtilizza"}},
		{"id", std::make_unique<Kvz_TIDDocumenti>(), {"SpecieArchivio", "UltimoID"}, {"SpecieArchivio"}, {}},
		{"num", std::make_unique<Kvz_TNumDocumenti>(), {"Anno", "TipoDoc", "DataUltDoc", "UltNrDoc"},
		 {"Anno", "TipoDoc"}, {}},
	};
	for (auto& l : layouts)
	{
		SCOPED_TRACE(l.what);
		SqlRecord& r = *l.record;
		std::vector<CString> bound, upper;
		for (int i = 0; i < r.GetSize(); ++i)
		{
			bound.push_back(r.GetItem(i)->m_strColumnName);
			auto* s = dynamic_cast<DataStr*>(r.GetDataObjAt(i));
			if (s && s->IsUpperCase() && !r.IsLocal(i))
				upper.push_back(r.GetItem(i)->m_strColumnName);
		}
		EXPECT_EQ(bound, l.bound);
		EXPECT_EQ(r.GetPrimaryKey(), l.key);
		EXPECT_EQ(upper, l.upper);
		// Registered in the catalog: the table has the columns and no local field.
		ASSERT_NE(m_pConn->GetCatalogEntry(r.GetTableName()), nullptr);
		EXPECT_EQ(m_pConn->Db().TableColumns(r.GetTableName().str()).size(), size_t(r.GetColumnCount()));
	}
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());

	Kvz_TEnhContatoriDettaglio d;
	EXPECT_EQ(d.GetColumnLength(d.GetIndexFromColumnName("Formula")), 251);
	EXPECT_EQ(d.f_TipoCodice.GetValue(), 0x3AA70000u);
	EXPECT_EQ(d.f_TipoCodCheUtilizza.GetValue(), 0x3AA70000u);
	Kvz_TEnhContatoriCodici c;
	EXPECT_EQ(c.GetColumnLength(c.GetIndexFromColumnName("Descri")), 32);
	EXPECT_EQ(Kvz_TIDDocumenti().f_SpecieArchivio.GetValue(), 0x3A9B0000u);
	EXPECT_EQ(Kvz_TNumDocumenti().f_TipoDoc.GetValue(), 0x3A9E0000u);
}

TEST_F(Contatori, ReadersAndUpdatersByFullKey)
{
	Kvz_TUContatoriDettaglio upd;
	ASSERT_EQ(upd.FindRecord(DataInt(2025), Kind(1), DataStr("x1"), DataStr("m1"), Kind(3), DataStr("r1"),
							 DataInt(7), FALSE),
			  TableReader::NOT_FOUND);
	Kvz_TEnhContatoriDettaglio* w = upd.GetRecord();
	w->f_Esercizio = 2025;
	w->f_TipoCodice = Kind(1);
	w->f_Codice = "x1";
	w->f_ModelloRiclassific = "m1";
	w->f_TipoCodCheUtilizza = Kind(3);
	w->f_CodiceCheUtilizza = "r1";
	w->f_FormulaCheUtilizza = 7;
	w->f_ContatoreUtilizzi = 4L;
	ASSERT_TRUE(upd.UpdateRecord());

	// Stored upper-cased, the formula index unchanged.
	Kvz_TContatoriDettaglio raw;
	ASSERT_TRUE(ReadFirstRow(raw));
	EXPECT_EQ(raw.f_Codice.GetString(), "X1");
	EXPECT_EQ(raw.f_ModelloRiclassific.GetString(), "M1");
	EXPECT_EQ(raw.f_CodiceCheUtilizza.GetString(), "R1");
	EXPECT_EQ(int(raw.f_FormulaCheUtilizza), 7);

	Kvz_TRContatoriDettaglio reader;
	EXPECT_EQ(reader.FindRecord(DataInt(2025), Kind(1), DataStr("X1"), DataStr("M1"), Kind(3), DataStr("R1"),
								DataInt(7)),
			  TableReader::FOUND);
	EXPECT_EQ(long(reader.GetRecord()->f_ContatoreUtilizzi), 4L);
	EXPECT_EQ(reader.FindRecord(DataInt(2025), Kind(1), DataStr("X1"), DataStr("M1"), Kind(3), DataStr("R1"),
								DataInt(6)),
			  TableReader::NOT_FOUND);

	Kvz_TUContatoriCodici updG;
	ASSERT_EQ(updG.FindRecord(DataInt(2025), Kind(4), DataStr("cdc1"), FALSE), TableReader::NOT_FOUND);
	updG.GetRecord()->f_Esercizio = 2025;
	updG.GetRecord()->f_TipoCodice = Kind(4);
	updG.GetRecord()->f_Codice = "cdc1";
	updG.GetRecord()->f_ContatoreUtilizzi = 3L;
	ASSERT_TRUE(updG.UpdateRecord());
	Kvz_TRContatoriCodici readerG;
	ASSERT_EQ(readerG.FindRecord(DataInt(2025), Kind(4), DataStr("CDC1")), TableReader::FOUND);
	EXPECT_EQ(long(readerG.GetRecord()->f_ContatoreUtilizzi), 3L);
	EXPECT_EQ(readerG.FindRecord(DataInt(2025), Kind(5), DataStr("CDC1")), TableReader::NOT_FOUND);
	EXPECT_EQ(readerG.FindRecord(DataInt(2024), Kind(4), DataStr("CDC1")), TableReader::NOT_FOUND);
}

TEST_F(Contatori, EmptyCodeRunsNoQueryWhateverTheOtherKeys)
{
	m_pConn->ExecuteSQL("DROP TABLE Kvz_ContatoriCodici");  // any query would now fail
	m_pConn->ExecuteSQL("DROP TABLE Kvz_ContatoriDettaglio");
	Kvz_TRContatoriCodici rG;
	Kvz_TUContatoriCodici uG;
	Kvz_TRContatoriDettaglio rD;
	Kvz_TUContatoriDettaglio uD;
	Kvz_TRSommaUtilizzi sum;
	DataStr none;
	EXPECT_EQ(rG.FindRecord(DataInt(2025), Kind(1), none), TableReader::NOT_FOUND);
	EXPECT_EQ(uG.FindRecord(DataInt(2025), Kind(1), none, TRUE), TableReader::NOT_FOUND);
	EXPECT_EQ(rD.FindRecord(DataInt(2025), Kind(1), none, DataStr("M"), Kind(3), DataStr("R"), DataInt(1)),
			  TableReader::NOT_FOUND);
	EXPECT_EQ(uD.FindRecord(DataInt(2025), Kind(1), none, DataStr("M"), Kind(3), DataStr("R"), DataInt(1), TRUE),
			  TableReader::NOT_FOUND);
	EXPECT_EQ(sum.FindRecord(DataInt(2025), Kind(1), none, Kind(3), DataStr("M")), TableReader::NOT_FOUND);
	EXPECT_EQ(long(sum.m_SommaUtilizzi), 0L);
	// Year 0, an empty model and using code still query.
	EXPECT_THROW(rG.FindRecord(DataInt(0), Kind(0), DataStr("X")), SqlException);
	EXPECT_THROW(rD.FindRecord(DataInt(0), Kind(0), DataStr("X"), DataStr(), Kind(0), DataStr(), DataInt(0)),
				 SqlException);
	EXPECT_THROW(sum.FindRecord(DataInt(0), Kind(0), DataStr("X"), Kind(0), DataStr()), SqlException);
}

TEST_F(Contatori, SumOfUsesOutsideTheUsingKindAndModel)
{
	Kvz_TContatoriDettaglio rows[] = {
		Uso(2025, 1, "X1", "M1", 3, "R1", 0, 5),     // same using kind and model: not counted
		Uso(2025, 1, "X1", "M1", 3, "R2", 1, 7),     // ... whichever code of that kind holds it
		Uso(2025, 1, "X1", "M2", 3, "R1", 0, 11),    // same kind, another model: counted
		Uso(2025, 1, "X1", "M1", 1, "03", 2, 13),    // another kind, even in the same model: counted
		Uso(2025, 1, "X1", "", 0, "A", 0, 17),       // another kind without model: counted
		Uso(2024, 1, "X1", "M2", 3, "R1", 0, 100),   // another year
		Uso(2025, 1, "X2", "M2", 3, "R1", 0, 1000),  // another code
		Uso(2025, 0, "X1", "M2", 3, "R1", 0, 5000),  // another kind of the counted code
	};
	for (auto& r : rows)
		InsertRow(r);

	struct Case
	{
		const char* code;
		WORD usingKind;
		const char* model;
		long expected;
	} cases[] = {
		{"x1", 3, "m1", 11 + 13 + 17},
		{"X1", 3, "M2", 5 + 7 + 13 + 17},
		{"X1", 1, "M1", 5 + 7 + 11 + 17},
		{"X1", 4, "M1", 5 + 7 + 11 + 13 + 17},
		{"ZZ", 3, "M1", 0},  // no rows: 0, not the total of the search before
		{"X1", 3, "m1", 11 + 13 + 17},  // the same search again is run again
	};
	Kvz_TRSommaUtilizzi sum;
	for (auto& c : cases)
	{
		SCOPED_TRACE(::testing::Message() << c.code << " " << c.usingKind << " " << c.model);
		sum.FindRecord(DataInt(2025), Kind(1), DataStr(c.code), Kind(c.usingKind), DataStr(c.model));
		EXPECT_EQ(long(sum.m_SommaUtilizzi), c.expected);
	}
}
