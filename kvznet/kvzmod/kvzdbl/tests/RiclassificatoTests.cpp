#include <functional>
#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificatoTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TmpEsplosioneCodici.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using namespace kvzdbl::test;
using Riclassificato = CompanyDb;

Kvz_TRiclassificato Risultato(int year, int month, const char* model, const char* code, WORD kind, double valore)
{
	Kvz_TRiclassificato r;
	r.f_Esercizio = year;
	r.f_Mese = month;
	r.f_ModelloRiclassific = model;
	r.f_CodRiclassificato = code;
	r.f_TipoDatoPianoBase = DataEnum(E_KVZ_TIPODATOPBASE, kind);
	r.f_Valore = valore;
	return r;
}

Kvz_TRiclassificatoTesta Intestazione(int year, WORD kind, const char* model, const char* descr)
{
	Kvz_TRiclassificatoTesta r;
	r.f_Esercizio = year;
	r.f_TipoElaborazione = DataEnum(E_KVZ_TIPOELABORAZIONE, kind);
	r.f_ModelloRiclassific = model;
	r.f_Descrizione = descr;
	return r;
}
}  // namespace

TEST_F(Riclassificato, RecordShapes)
{
	const V values = Concat({{"Esercizio", "Mese", "ModelloRiclassific", "CodRiclassificato", "TipoDatoPianoBase",
							  "Posizione", "Descrizione", "Valore", "ValoreBudgetA", "ValoreBudgetB", "ValoreBudgetC",
							  "TotaleRiportato", "TipoRiga"},
							 Numbered("Valore", 1, 10),
							 {"TotaleRiportatoBudgetA", "TotaleRiportatoBudgetB", "TotaleRiportatoBudgetC"},
							 Numbered("TotaleRiportato", 1, 10),
							 {"Temp"}});
	const V resultKey = {"ModelloRiclassific", "Esercizio", "TipoDatoPianoBase", "CodRiclassificato", "Mese"};
	struct Case
	{
		const char* name;
		std::function<SqlRecord*()> make;
		V fields;
		V key;
		std::set<CString> upper;
	} cases[] = {
		{"risultati", [] { return new Kvz_TRiclassificato; },
		 Concat({values, {"CodRiclDividendoProgr", "CodRiclDivisoreProgr", "SegnoDaApplicare"}}), resultKey,
		 {"ModelloRiclassific", "CodRiclassificato"}},
		{"risultati ext", [] { return new Kvz_TRiclassificato_Ext; }, values, resultKey,
		 {"ModelloRiclassific", "CodRiclassificato"}},
		{"testata", [] { return new Kvz_TRiclassificatoTesta; },
		 {"Esercizio", "TipoElaborazione", "ModelloRiclassific", "DataUltimaElaborazione", "Descrizione", "Nota"},
		 {"Esercizio", "TipoElaborazione", "ModelloRiclassific"}, {"ModelloRiclassific"}},
		{"esplosione", [] { return new Kvz_TmpEsplosioneCodici; },
		 {"Esercizio", "ModelloRiclassific", "CodRiclassificato", "Descrizione", "Simbolo", "DescrizioneSimbolo",
		  "Conto", "DescrizioneConto", "ValoreContabile", "ValorePrevisionale", "ValoreAssestamento", "Totale"},
		 {"Esercizio", "ModelloRiclassific", "CodRiclassificato", "Simbolo", "Conto"}, {}},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.name);
		std::unique_ptr<SqlRecord> r(c.make());
		ExpectRecordShape(*r, c.fields, static_cast<int>(c.fields.size()), c.key, c.upper);  // no local fields
	}

	Kvz_TRiclassificato r;
	EXPECT_EQ(r.f_TipoDatoPianoBase.GetValue(), 0x3AAA0000u);
	EXPECT_EQ(r.f_TipoRiga.GetValue(), 0x3AA80000u);
	Kvz_TRiclassificato_Ext ext;
	EXPECT_EQ(ext.f_TipoDatoPianoBase.GetDataType(), DATA_LNG_TYPE);
	EXPECT_EQ(ext.f_TipoRiga.GetDataType(), DATA_LNG_TYPE);
	Kvz_TRiclassificatoTesta t;
	EXPECT_EQ(t.f_TipoElaborazione.GetValue(), 0x3AAE0000u);
	EXPECT_TRUE(t.f_DataUltimaElaborazione.IsFullDate());
}

TEST_F(Riclassificato, ResultsAreFoundThroughOneIndexByModelYearKindCodeAndMonth)
{
	const std::string select = "SELECT * FROM Kvz_Riclassificato WHERE ";
	struct
	{
		const char* where;
		const char* search;
	} cases[] = {
		{"Esercizio=? AND Mese=? AND ModelloRiclassific=? AND CodRiclassificato=? AND TipoDatoPianoBase=?",
		 "(ModelloRiclassific=? AND Esercizio=? AND TipoDatoPianoBase=? AND CodRiclassificato=? AND Mese=?)"},
		// A run replaces a model's results of a year and data kind.
		{"Esercizio=? AND ModelloRiclassific=? AND TipoDatoPianoBase=?",
		 "(ModelloRiclassific=? AND Esercizio=? AND TipoDatoPianoBase=?)"},
		{"Esercizio=? AND ModelloRiclassific=?", "(ModelloRiclassific=? AND Esercizio=?)"},
	};
	for (auto& c : cases)
	{
		std::string plan = Plan(*m_pConn, select + c.where);
		EXPECT_NE(plan.find("SEARCH"), std::string::npos) << plan;
		if (!m_pConn->IsServer())  // SQLite names the index columns it searches by
		{
			EXPECT_NE(plan.find(c.search), std::string::npos) << plan;
		}
	}
	EXPECT_EQ(m_pConn->Db().TableColumns("Kvz_Riclassificato").size(), 40u);

	// One row per year, month, model, code and data kind.
	Kvz_TRiclassificato a = Risultato(2025, 1, "M1", "R1", 0, 10);
	InsertRow(a);
	Kvz_TRiclassificato altroTipo = Risultato(2025, 1, "M1", "R1", 1, 20);
	InsertRow(altroTipo);
	Kvz_TRiclassificato doppio = Risultato(2025, 1, "M1", "R1", 0, 30);
	EXPECT_THROW(InsertRow(doppio), SqlException);
}

TEST_F(Riclassificato, ReadersFindByYearModelCodeAndMonth)
{
	for (int month = 1; month <= 3; ++month)
	{
		Kvz_TRiclassificato r = Risultato(2025, month, "m1", "r1", 0, month * 10.0);
		r.f_CodRiclDividendoProgr = "Div";
		InsertRow(r);
	}
	Kvz_TRRiclassificatoMesi mesi;
	ASSERT_EQ(mesi.FindRecord(DataInt(2025), DataStr("M1"), DataStr("R1"), DataInt(2)), TableReader::FOUND);
	EXPECT_DOUBLE_EQ(mesi.GetRecord()->f_Valore.GetValue(), 20.0);
	EXPECT_EQ(mesi.GetRecord()->f_CodRiclDividendoProgr.GetString(), "Div");  // not upper case here
	EXPECT_EQ(mesi.FindRecord(DataInt(2025), DataStr("M1"), DataStr("R1"), DataInt(4)), TableReader::NOT_FOUND);
	Kvz_TRRiclassificato reader;
	ASSERT_EQ(reader.FindRecord(DataInt(2025), DataStr("M1"), DataStr("R1")), TableReader::FOUND);
	EXPECT_EQ(reader.GetRecord()->f_ModelloRiclassific.GetString(), "M1");
	EXPECT_EQ(reader.FindRecord(DataInt(2024), DataStr("M1"), DataStr("R1")), TableReader::NOT_FOUND);
}

TEST_F(Riclassificato, EmptyKeysRunNoQuery)
{
	for (const char* t : {"Kvz_Riclassificato", "Kvz_RiclassificatoTesta", "Kvz_TmpEsplosioneCodici"})
		m_pConn->ExecuteSQL(CString("DROP TABLE ") + t);  // any query would now fail

	Kvz_TRRiclassificato rr;
	Kvz_TRRiclassificatoMesi rm;
	Kvz_TRRiclassificatoTesta rt;
	Kvz_TURiclassificatoTesta ut;
	Kvz_TUTmpEsplosioneCodici ue;
	DataInt y(2025), no(0), mese(3);
	DataStr m("M1"), c("R1"), s("S1"), conto("C1"), e;
	DataEnum kind(E_KVZ_TIPOELABORAZIONE, 1), noKind;
	struct Case
	{
		const char* what;
		std::function<void()> find;
		bool queries;
	} cases[] = {
		{"results, no year", [&] { rr.FindRecord(no, m, c); }, false},
		{"results, no model", [&] { rr.FindRecord(y, e, c); }, false},
		{"results, no code", [&] { rr.FindRecord(y, m, e); }, true},
		{"months, no model", [&] { rm.FindRecord(y, e, c, mese); }, false},
		{"months, no code nor month", [&] { rm.FindRecord(y, m, e, no); }, true},
		{"header, no year", [&] { rt.FindRecord(no, kind, m); }, false},
		{"header, no model", [&] { rt.FindRecord(y, kind, e); }, false},
		{"header, no kind", [&] { rt.FindRecord(y, noKind, m); }, true},
		{"header updater, no model", [&] { ut.FindRecord(y, kind, e, TRUE); }, false},
		{"header updater, no year nor kind", [&] { ut.FindRecord(no, noKind, m, TRUE); }, true},
		{"explosion, no code", [&] { ue.FindRecord(y, m, e, s, conto, FALSE); }, false},
		{"explosion, only the code", [&] { ue.FindRecord(no, e, c, e, e, FALSE); }, true},
	};
	for (auto& cs : cases)
	{
		SCOPED_TRACE(cs.what);
		if (cs.queries)
			EXPECT_THROW(cs.find(), SqlException);
		else
			EXPECT_NO_THROW(cs.find());
	}
}

TEST_F(Riclassificato, ExtRecordWritesOnlyItsColumnsOnAnotherCompany)
{
	auto other = OtherCompany("altra.db");
	Kvz_TRiclassificato r = Risultato(2025, 1, "M1", "R1", 0, 5);
	r.f_CodRiclDividendoProgr = "Div";
	r.f_CodRiclDivisoreProgr = "Dvs";
	r.f_SegnoDaApplicare = "-";
	r.SetConnection(other.get());
	InsertRow(r);

	Kvz_TRiclassificato_Ext ext(other.get());
	{
		SqlTable t(&ext);
		t.Open(TRUE);
		t.SelectAll();
		t.Query();
		ASSERT_FALSE(t.IsEmpty());
		EXPECT_EQ(ext.f_TipoDatoPianoBase.GetValue(), 0x3AAA0000L);
		t.Edit();
		ext.f_Valore = 15.0;
		ext.f_TipoRiga = 0x3AA80007L;
		t.Update();
		t.AddNew();
		ext.f_Esercizio = 2025;
		ext.f_Mese = 2;
		ext.f_ModelloRiclassific = "M1";
		ext.f_CodRiclassificato = "R1";
		ext.f_TipoDatoPianoBase = 0x3AAA0002L;
		t.Update();
	}

	Kvz_TRiclassificato back;
	back.SetConnection(other.get());
	SqlTable t(&back);
	t.Open(FALSE);
	t.SelectAll();
	t.AddSortColumn(back.f_Mese);
	t.Query();
	ASSERT_FALSE(t.IsEOF());
	EXPECT_DOUBLE_EQ(back.f_Valore.GetValue(), 15.0);
	EXPECT_EQ(back.f_TipoRiga.GetValue(), 0x3AA80007u);
	EXPECT_EQ(back.f_CodRiclDividendoProgr.GetString(), "Div");  // left as they were
	EXPECT_EQ(back.f_CodRiclDivisoreProgr.GetString(), "Dvs");
	EXPECT_EQ(back.f_SegnoDaApplicare.GetString(), "-");
	t.MoveNext();
	ASSERT_FALSE(t.IsEOF());
	EXPECT_EQ(back.f_TipoDatoPianoBase.GetValue(), 0x3AAA0002u);
	EXPECT_TRUE(back.f_CodRiclDividendoProgr.IsEmpty());
}

TEST_F(Riclassificato, HeaderKeepsTheTimeOfTheRun)
{
	Kvz_TURiclassificatoTesta upd;
	DataEnum perRaggruppamento(E_KVZ_TIPOELABORAZIONE, 1);
	ASSERT_EQ(upd.FindRecord(DataInt(2025), perRaggruppamento, DataStr("g1"), TRUE), TableReader::NOT_FOUND);
	Kvz_TRiclassificatoTesta* p = upd.GetRecord();
	p->f_Esercizio = 2025;
	p->f_TipoElaborazione = perRaggruppamento;
	p->f_ModelloRiclassific = "g1";
	p->f_DataUltimaElaborazione = DataDate(20, 5, 2025, 14, 35, 20);
	ASSERT_TRUE(upd.UpdateRecord());

	Kvz_TRRiclassificatoTesta reader;
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataEnum(E_KVZ_TIPOELABORAZIONE, 0), DataStr("G1")),
			  TableReader::NOT_FOUND);
	ASSERT_EQ(reader.FindRecord(DataInt(2025), perRaggruppamento, DataStr("G1")), TableReader::FOUND);
	const DataDate& d = reader.GetRecord()->f_DataUltimaElaborazione;
	EXPECT_EQ(d.Day(), 20);
	EXPECT_EQ(d.Hour(), 14);
	EXPECT_EQ(d.Minute(), 35);
	EXPECT_EQ(d.Second(), 20);
}

TEST_F(Riclassificato, HeaderHotlinkFiltersYearAndKind)
{
	Kvz_TRiclassificatoTesta rows[] = {
		Intestazione(2025, 0, "CE", "Conto economico"),
		Intestazione(2025, 1, "CE", "Conto economico per gruppo"),
		Intestazione(2025, 1, "GR", "Gruppo ricavi"),
		Intestazione(2024, 1, "CF", "Flussi"),
	};
	for (auto& r : rows)
		InsertRow(r);
	KVZ_HKLRiclassificatoTesta hkl;
	EXPECT_TRUE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	hkl.SetSelEsercizio(DataInt(2025));
	hkl.SetSelTipoElaborazione(DataEnum(E_KVZ_TIPOELABORAZIONE, 1));

	DataStr ce("ce");
	ASSERT_TRUE(hkl.FindRecord(&ce));
	EXPECT_EQ(hkl.GetRecord()->f_Descrizione.GetString(), "Conto economico per gruppo");
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_ModelloRiclassific);
	auto codes = [&](int type, const char* pattern) {
		V out;
		for (auto& r : hkl.Search(type, DataStr(pattern)))
			out.push_back(static_cast<Kvz_TRiclassificatoTesta&>(*r).f_ModelloRiclassific.GetString());
		return out;
	};
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, ""), (V{"CE", "GR"}));
	EXPECT_EQ(codes(HotKeyLink::LOWER_BUTTON, "gruppo"), (V{"GR"}));
	hkl.SetSelEsercizio(DataInt(2024));
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, ""), (V{"CF"}));

	DataStr gr("GR");
	KVZ_HKLRiclassificatoTesta unset;  // no kind chosen: nothing matches
	unset.SetSelEsercizio(DataInt(2025));
	EXPECT_FALSE(unset.FindRecord(&gr));
}

TEST_F(Riclassificato, ExplosionRowsKeepTheCaseTheyWereGiven)
{
	Kvz_TUTmpEsplosioneCodici upd;
	DataInt y(2025);
	DataStr m("m1"), c("r1"), s("Ricavi"), conto("c01");
	ASSERT_EQ(upd.FindRecord(y, m, c, s, conto, FALSE), TableReader::NOT_FOUND);
	Kvz_TmpEsplosioneCodici* p = upd.GetRecord();
	p->f_Esercizio = y;
	p->f_ModelloRiclassific = m;
	p->f_CodRiclassificato = c;
	p->f_Simbolo = s;
	p->f_Conto = conto;
	p->f_Totale = 42.0;
	ASSERT_TRUE(upd.UpdateRecord());
	ASSERT_EQ(upd.FindRecord(y, m, c, s, conto, TRUE), TableReader::FOUND);
	EXPECT_EQ(upd.GetRecord()->f_ModelloRiclassific.GetString(), "m1");
	EXPECT_EQ(upd.GetRecord()->f_Conto.GetString(), "c01");
	EXPECT_DOUBLE_EQ(upd.GetRecord()->f_Totale.GetValue(), 42.0);
	EXPECT_EQ(upd.FindRecord(y, m, c, s, DataStr("c02"), FALSE), TableReader::NOT_FOUND);
}
