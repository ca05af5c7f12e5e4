#include <functional>
#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetFinanzRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetFinanzTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TBudgetTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRigaDett.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TPianoBaseTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRipartizioniAssestamento.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using namespace kvzdbl::test;
using PianoBaseBudget = CompanyDb;

WORD TypeOf(const SqlRecord& r, const char* column)
{
	return r.GetDataObjFromColumnName(column)->GetDataType();
}

DWORD EnumOf(const SqlRecord& r, const char* column)
{
	return static_cast<const DataEnum*>(r.GetDataObjFromColumnName(column))->GetValue();
}
}  // namespace

TEST_F(PianoBaseBudget, RecordShapes)
{
	const V pbT = {"IDPianoBase", "CodPianoBase", "Descrizione", "InseritoAMano", "DataCreazione",
				   "DataUltModifica", "ContoKvz", "CentroCommessa", "TipoCentroComm", "Esercizio", "TipoBudget",
				   "TipoRipartizAssestamenti", "AssestPerTotale", "TotGeneraleRatei", "TotRateiTrimestre1",
				   "TotRateiTrimestre2", "TotRateiTrimestre3", "TotRateiTrimestre4", "TotGeneraleAssestati",
				   "TotAssestatiTrimestre1", "TotAssestatiTrimestre2", "TotAssestatiTrimestre3",
				   "TotAssestatiTrimestre4", "AssestPerTotalePerc"};
	const V pbR = {"IDPianoBase", "Mese", "ContoKvz", "CentroCommessa", "TipoCentroComm", "TipoMastro",
				   "Esercizio", "SaldoContabile", "SaldoPrecedente", "SaldoDiffAccettato", "ImportoRateo",
				   "RateoDaPrevisionale", "TotaleAssestato", "GiaImportato", "BkpSaldoContabile", "BkpImportoRateo",
				   "BkpTotaleAssestato"};
	const V bR = {"IDBudget", "Mese", "ContoKvz", "TipoCentroComm", "CentroCommessa",
				  "Esercizio", "TipoBudget", "ImportoMese", "CodIVA", "CondPag"};
	const V bfR = {"IDBudgetFinanz", "Mese", "ImportoMese", "ImpostaMese", "ImportoMeseAnnoPrec",
				   "ImpostaMeseAnnoPrec", "ImportoMeseAnnoSucc", "ImpostaMeseAnnoSucc", "IDBudget"};
	auto plus = [](V a, const V& b) {
		a.insert(a.end(), b.begin(), b.end());
		return a;
	};
	struct Case
	{
		const char* name;
		std::function<SqlRecord*()> make;
		LPCTSTR table;
		V columns;  // then the local fields
		int nColumns;
		V key;
		std::set<CString> upper;
	} cases[] = {
		{"EnhPianoBaseTesta", [] { return new Kvz_TEnhPianoBaseTesta; }, Kvz_TPianoBaseTesta::GetStaticName(),
		 plus(pbT, {"TotGenerale", "TotTrimestre1", "TotTrimestre2", "TotTrimestre3", "TotTrimestre4"}), 24,
		 {"IDPianoBase"}, {"CodPianoBase", "ContoKvz", "CentroCommessa"}},
		{"EnhPianoBaseRighe", [] { return new Kvz_TEnhPianoBaseRighe; }, _T("Kvz_PianoBaseR"),
		 plus(pbR, {"StatuzBmp", "ProgSaldo", "ProgRateo", "ProgTotaleAss", "OldProgRateo", "ConsuntAnnoPrec",
					"BudgetAnnoCorr", "ProgConsuntAnnoPrec", "ProgBudgetAnnoCorr", "ConDettaglio", "OldImp",
					"OldTot"}),
		 17, {"IDPianoBase", "Mese"}, {"ContoKvz", "CentroCommessa"}},
		{"PBaseR_Ext", [] { return new Kvz_TPBaseR_Ext; }, _T("Kvz_PianoBaseR"), pbR, 17, {"IDPianoBase", "Mese"},
		 {"ContoKvz", "CentroCommessa"}},
		{"PianoBaseRigaDett", [] { return new Kvz_TPianoBaseRigaDett; }, _T("Kvz_PianoBaseRDett"),
		 {"IDPianoBase", "Mese", "Riga", "Descrizione", "ImportoRateoDett", "RateoDaPrevisionale"}, 6,
		 {"IDPianoBase", "Mese", "Riga"}, {}},
		{"RipartizioniAssestamento", [] { return new Kvz_TRipartizioniAssestamento; },
		 _T("Kvz_RipartizioniAssestamento"), {"ContoKvz", "Anno", "Mese", "Percentuale", "Dati", "Rateo"}, 6,
		 {"ContoKvz", "Anno", "Mese"}, {}},
		{"BudgetTesta", [] { return new Kvz_TBudgetTesta; }, _T("Kvz_BudgetT"),
		 {"IDBudget", "DataCreazione", "DataUltModifica", "ContoKvz", "TipoCentroComm", "CentroCommessa",
		  "Esercizio", "TipoBudget", "Descrizione", "Formula", "TotBudget", "TotTrimestre1", "TotTrimestre2",
		  "TotTrimestre3", "TotTrimestre4", "IDBudgetFinanz", "TipoRipartizImporti"},
		 17, {"IDBudget"}, {"ContoKvz", "CentroCommessa", "Formula"}},
		{"EnhBudgetRighe", [] { return new Kvz_TEnhBudgetRighe; }, _T("Kvz_BudgetR"),
		 plus(bR, {"DesIVA", "DesCondP", "OldImp", "ProgImp"}), 10, {"IDBudget", "Mese"},
		 {"ContoKvz", "CentroCommessa", "CodIVA", "CondPag"}},
		{"BudgetR_Ext", [] { return new Kvz_TBudgetR_Ext; }, _T("Kvz_BudgetR"), bR, 10, {"IDBudget", "Mese"},
		 {"ContoKvz", "CentroCommessa", "CodIVA", "CondPag"}},
		{"BudgetFinanzTesta", [] { return new Kvz_TBudgetFinanzTesta; }, _T("Kvz_BudgetFinanzT"),
		 {"IDBudgetFinanz", "DataCreazione", "DataUltModifica", "Esercizio", "ContoKvz", "CentroCommessa",
		  "TipoBudget", "TotBudget", "TotTrimestre1", "TotTrimestre2", "TotTrimestre3", "TotTrimestre4", "IDBudget"},
		 13, {"IDBudgetFinanz"}, {}},
		{"EnhBudgetFinanzRighe", [] { return new Kvz_TEnhBudgetFinanzRighe; }, _T("Kvz_BudgetFinanzR"),
		 plus(bfR, {"TotaleRiga", "TotaleRigaAP", "OldImportoMese", "OldImpostaMese", "OldImportoMeseAnnoPrec",
					"OldImpostaMeseAnnoPrec", "OldImportoMeseAnnoSucc", "OldImpostaMeseAnnoSucc"}),
		 9, {"IDBudgetFinanz", "Mese"}, {}},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.name);
		std::unique_ptr<SqlRecord> r(c.make());
		EXPECT_EQ(r->GetTableName(), c.table);
		ExpectRecordShape(*r, c.columns, c.nColumns, c.key, c.upper);
		// The catalog created the table with the record's columns only.
		EXPECT_EQ(m_pConn->Db().TableColumns(r->GetTableName().str()).size(), static_cast<size_t>(c.nColumns));
	}
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());  // local types as declared

	Kvz_TEnhBudgetRighe br;
	EXPECT_EQ(br.GetColumnLength(br.GetIndexFromColumnName("DesIVA")), 32);
	EXPECT_EQ(TypeOf(br, "DesCondP"), DATA_STR_TYPE);
	EXPECT_EQ(TypeOf(br, "ProgImp"), DATA_MON_TYPE);

	Kvz_TEnhPianoBaseRighe pr;
	EXPECT_EQ(pr.GetDataObjFromColumnName("StatuzBmp"), &pr.l_StatusBmp);
	EXPECT_EQ(TypeOf(pr, "ConDettaglio"), DATA_BOOL_TYPE);
	EXPECT_EQ(EnumOf(pr, "TipoCentroComm"), 0x3AA10000u);
	EXPECT_EQ(EnumOf(pr, "TipoMastro"), 0x27430000u);

	Kvz_TPianoBaseTesta pt;
	EXPECT_EQ(TypeOf(pt, "TotGeneraleRatei"), DATA_DBL_TYPE);  // a double, not money
	EXPECT_EQ(TypeOf(pt, "TotRateiTrimestre1"), DATA_MON_TYPE);
	EXPECT_EQ(EnumOf(pt, "TipoBudget"), 0x3A9C0000u);
	EXPECT_EQ(EnumOf(pt, "TipoRipartizAssestamenti"), 0x3AA00000u);
	EXPECT_EQ(TypeOf(Kvz_TRipartizioniAssestamento(), "Percentuale"), DATA_PERC_TYPE);

	Kvz_TBudgetTesta bt;
	EXPECT_EQ(EnumOf(bt, "TipoRipartizImporti"), 0x3A9F0000u);
	EXPECT_EQ(TypeOf(Kvz_TBudgetR_Ext(), "TipoBudget"), DATA_LNG_TYPE);
	EXPECT_EQ(TypeOf(Kvz_TPBaseR_Ext(), "TipoMastro"), DATA_LNG_TYPE);
}

TEST_F(PianoBaseBudget, ReadersAndUpdatersFindByTheirOwnKeys)
{
	// Header and month rows of the base plan, written as a register creates them.
	Jex_TUPianoBaseTesta hu;
	ASSERT_EQ(hu.FindRecord(DataLng(7), FALSE), TableReader::NOT_FOUND);
	hu.GetRecord()->f_IDPianoBase = 7;
	hu.GetRecord()->f_CodPianoBase = "pb0001";
	hu.GetRecord()->f_ContoKvz = "r01";
	hu.GetRecord()->f_TotGeneraleRatei = 1234.56789;
	ASSERT_TRUE(hu.UpdateRecord());
	Jex_TUPianoBaseRighe ru;
	for (int m = 1; m <= 12; ++m)
	{
		ASSERT_EQ(ru.FindRecord(DataLng(7), DataInt(m), FALSE), TableReader::NOT_FOUND);
		ru.GetRecord()->f_IDPianoBase = 7;
		ru.GetRecord()->f_Mese = m;
		ru.GetRecord()->f_ContoKvz = "r01";
		ru.GetRecord()->f_SaldoContabile = 100.0 * m;
		ASSERT_TRUE(ru.UpdateRecord());
	}
	Jex_TRPianoBaseTesta hr;
	ASSERT_EQ(hr.FindRecord(DataLng(7)), TableReader::FOUND);
	EXPECT_EQ(hr.GetRecord()->f_CodPianoBase.GetString(), "PB0001");
	EXPECT_DOUBLE_EQ(hr.GetRecord()->f_TotGeneraleRatei.GetValue(), 1234.56789);
	Jex_TRPianoBaseRighe rr;
	ASSERT_EQ(rr.FindRecord(DataLng(7), DataInt(5)), TableReader::FOUND);
	EXPECT_DOUBLE_EQ(rr.GetRecord()->f_SaldoContabile.GetValue(), 500.0);
	EXPECT_EQ(rr.GetRecord()->f_ContoKvz.GetString(), "R01");
	EXPECT_EQ(rr.FindRecord(DataLng(8), DataInt(5)), TableReader::NOT_FOUND);

	// Detail lines and spreads: swapping two key values must not find the row.
	Kvz_TPianoBaseRigaDett d;
	d.f_IDPianoBase = 7;
	d.f_Mese = 2;
	d.f_Riga = 3;
	d.f_Descrizione = "Rateo assicurazione";
	InsertRow(d);
	Jex_TRPianoBaseRigaDett dr;
	EXPECT_EQ(dr.FindRecord(DataLng(7), DataInt(3), DataInt(2)), TableReader::NOT_FOUND);
	ASSERT_EQ(dr.FindRecord(DataLng(7), DataInt(2), DataInt(3)), TableReader::FOUND);
	EXPECT_EQ(dr.GetRecord()->f_Descrizione.GetString(), "Rateo assicurazione");
	Jex_TUPianoBaseRigaDett du;
	ASSERT_EQ(du.FindRecord(DataLng(7), DataInt(2), DataInt(3), FALSE), TableReader::FOUND);
	ASSERT_TRUE(du.DeleteRecord());
	EXPECT_EQ(dr.FindRecord(DataLng(7), DataInt(2), DataInt(4)), TableReader::NOT_FOUND);
	EXPECT_EQ(dr.FindRecord(DataLng(7), DataInt(2), DataInt(3)), TableReader::NOT_FOUND);

	Kvz_TURipartizioniAssestamento su;
	ASSERT_EQ(su.FindRecord(DataStr("r01"), DataInt(2025), DataInt(4), FALSE), TableReader::NOT_FOUND);
	su.GetRecord()->f_ContoKvz = "r01";
	su.GetRecord()->f_Anno = 2025;
	su.GetRecord()->f_Mese = 4;
	su.GetRecord()->f_Percentuale = 12.5;
	ASSERT_TRUE(su.UpdateRecord());
	Kvz_TRRipartizioniAssestamento sr;
	EXPECT_EQ(sr.FindRecord(DataStr("r01"), DataInt(4), DataInt(2025)), TableReader::NOT_FOUND);
	ASSERT_EQ(sr.FindRecord(DataStr("r01"), DataInt(2025), DataInt(4)), TableReader::FOUND);
	EXPECT_EQ(sr.GetRecord()->f_ContoKvz.GetString(), "r01");  // stored as written

	// A budget without financial budget, then its financial header and rows.
	Jex_TUBudgetTesta bu;
	ASSERT_EQ(bu.FindRecord(DataLng(11), FALSE), TableReader::NOT_FOUND);
	bu.GetRecord()->f_IDBudget = 11;
	bu.GetRecord()->f_ContoKvz = "c01";
	bu.GetRecord()->f_Formula = "_vendite*1,1";
	ASSERT_TRUE(bu.UpdateRecord());
	Jex_TRBudgetTesta br;
	ASSERT_EQ(br.FindRecord(DataLng(11)), TableReader::FOUND);
	EXPECT_EQ(br.GetRecord()->f_Formula.GetString(), "_VENDITE*1,1");
	EXPECT_TRUE(br.GetRecord()->f_IDBudgetFinanz.IsEmpty());
	Jex_TRBudgetFinanzTesta fr;
	EXPECT_EQ(fr.FindRecord(br.GetRecord()->f_IDBudgetFinanz), TableReader::NOT_FOUND);

	Jex_TUBudgetFinanzTesta fu;
	ASSERT_EQ(fu.FindRecord(DataLng(21), FALSE), TableReader::NOT_FOUND);
	fu.GetRecord()->f_IDBudgetFinanz = 21;
	fu.GetRecord()->f_IDBudget = 11;
	fu.GetRecord()->f_ContoKvz = "c01";
	fu.GetRecord()->f_CentroCommessa = "cdc1";
	ASSERT_TRUE(fu.UpdateRecord());
	ASSERT_EQ(fr.FindRecord(DataLng(21)), TableReader::FOUND);
	EXPECT_EQ(fr.GetRecord()->f_ContoKvz.GetString(), "c01");  // kept as written
	EXPECT_EQ(fr.GetRecord()->f_CentroCommessa.GetString(), "cdc1");

	Jex_TUBudgetRighe bru;
	ASSERT_EQ(bru.FindRecord(DataLng(11), DataInt(3), FALSE), TableReader::NOT_FOUND);
	bru.GetRecord()->f_IDBudget = 11;
	bru.GetRecord()->f_Mese = 3;
	bru.GetRecord()->f_CodIVA = "22a";
	bru.GetRecord()->f_ImportoMese = 300;
	ASSERT_TRUE(bru.UpdateRecord());
	Jex_TRBudgetRighe brr;
	ASSERT_EQ(brr.FindRecord(DataLng(11), DataInt(3)), TableReader::FOUND);
	EXPECT_EQ(brr.GetRecord()->f_CodIVA.GetString(), "22A");
	EXPECT_EQ(brr.FindRecord(DataLng(11), DataInt(4)), TableReader::NOT_FOUND);

	Jex_TUBudgetFinanzRighe fru;
	ASSERT_EQ(fru.FindRecord(DataLng(21), DataInt(3), FALSE), TableReader::NOT_FOUND);
	fru.GetRecord()->f_IDBudgetFinanz = 21;
	fru.GetRecord()->f_Mese = 3;
	fru.GetRecord()->f_IDBudget = 11;
	fru.GetRecord()->f_ImpostaMese = 66;
	ASSERT_TRUE(fru.UpdateRecord());
	Jex_TRBudgetFinanzRighe frr;
	EXPECT_EQ(frr.FindRecord(DataLng(11), DataInt(3)), TableReader::NOT_FOUND);  // by the financial id only
	ASSERT_EQ(frr.FindRecord(DataLng(21), DataInt(3)), TableReader::FOUND);
	EXPECT_DOUBLE_EQ(frr.GetRecord()->f_ImpostaMese.GetValue(), 66.0);
}

TEST_F(PianoBaseBudget, EmptyKeysRunNoQuery)
{
	for (const char* t : {"Kvz_PianoBaseT", "Kvz_PianoBaseR", "Kvz_PianoBaseRDett", "Kvz_RipartizioniAssestamento",
						  "Kvz_BudgetT", "Kvz_BudgetR", "Kvz_BudgetFinanzT", "Kvz_BudgetFinanzR"})
		m_pConn->ExecuteSQL(CString("DROP TABLE ") + t);  // any query would now fail

	Jex_TRPianoBaseTesta pbT;
	Jex_TUPianoBaseTesta pbTU;
	Jex_TRPianoBaseRighe pbR;
	Jex_TUPianoBaseRighe pbRU;
	Jex_TRPianoBaseRigaDett pbD;
	Jex_TUPianoBaseRigaDett pbDU;
	Kvz_TRRipartizioniAssestamento rip;
	Kvz_TURipartizioniAssestamento ripU;
	Jex_TRBudgetTesta bT;
	Jex_TUBudgetTesta bTU;
	Jex_TRBudgetRighe bR;
	Jex_TUBudgetRighe bRU;
	Jex_TRBudgetFinanzTesta fT;
	Jex_TUBudgetFinanzTesta fTU;
	Jex_TRBudgetFinanzRighe fR;
	Jex_TUBudgetFinanzRighe fRU;
	const DataLng none(0), id(5);
	const DataInt zero(0), month(3);
	struct Case
	{
		const char* what;
		std::function<TableReader::FindResult()> find;
		bool runsQuery;
	} cases[] = {
		{"header id 0", [&] { return pbT.FindRecord(none); }, false},
		{"header updater id 0", [&] { return pbTU.FindRecord(none, TRUE); }, false},
		{"header id", [&] { return pbT.FindRecord(id); }, true},
		{"row id 0", [&] { return pbR.FindRecord(none, month); }, false},
		{"row updater id 0", [&] { return pbRU.FindRecord(none, month, TRUE); }, false},
		{"row month 0", [&] { return pbR.FindRecord(id, zero); }, true},
		{"detail id 0", [&] { return pbD.FindRecord(none, month, month); }, false},
		{"detail updater id 0", [&] { return pbDU.FindRecord(none, month, month, TRUE); }, false},
		{"detail month and line 0", [&] { return pbD.FindRecord(id, zero, zero); }, true},
		{"spread no account", [&] { return rip.FindRecord(DataStr(""), DataInt(2025), month); }, false},
		{"spread updater no account", [&] { return ripU.FindRecord(DataStr(""), DataInt(2025), month, TRUE); }, false},
		{"spread year 0", [&] { return rip.FindRecord(DataStr("R01"), zero, month); }, true},
		{"budget id 0", [&] { return bT.FindRecord(none); }, false},
		{"budget updater id 0", [&] { return bTU.FindRecord(none, TRUE); }, false},
		{"budget row id 0", [&] { return bR.FindRecord(none, month); }, false},
		{"budget row updater id 0", [&] { return bRU.FindRecord(none, month, TRUE); }, false},
		{"budget row month 0", [&] { return bR.FindRecord(id, zero); }, true},
		{"financial id 0", [&] { return fT.FindRecord(none); }, false},
		{"financial updater id 0", [&] { return fTU.FindRecord(none, TRUE); }, false},
		{"financial row id 0", [&] { return fR.FindRecord(none, month); }, false},
		{"financial row updater id 0", [&] { return fRU.FindRecord(none, month, TRUE); }, false},
		{"financial row month 0", [&] { return fR.FindRecord(id, zero); }, true},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.what);
		if (c.runsQuery)
			EXPECT_THROW(c.find(), SqlException);
		else
			EXPECT_EQ(c.find(), TableReader::NOT_FOUND);
	}
}

TEST_F(PianoBaseBudget, ExtRecordsReadEnumerationsAsLongsOnAnotherCompany)
{
	auto other = OtherCompany("altra.db");
	Kvz_TPianoBaseRighe pr;
	pr.f_IDPianoBase = 3;
	pr.f_Mese = 1;
	pr.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 1);
	pr.f_TipoMastro = DataEnum(E_TIPOMASTRO, 4);
	pr.SetConnection(other.get());
	InsertRow(pr);
	Kvz_TBudgetRighe br;
	br.f_IDBudget = 3;
	br.f_Mese = 1;
	br.f_TipoCentroComm = DataEnum(E_KVZ_TIPOCENTROCOMM, 1);
	br.f_TipoBudget = DataEnum(E_KVZ_TIPOBUDGET, 2);
	br.SetConnection(other.get());
	InsertRow(br);

	Kvz_TPBaseR_Ext pext(other.get());
	ASSERT_TRUE(ReadFirstRow(pext));
	EXPECT_EQ(pext.f_TipoCentroComm.GetValue(), 0x3AA10001L);
	EXPECT_EQ(pext.f_TipoMastro.GetValue(), 0x27430004L);

	Kvz_TBudgetR_Ext bext(other.get());
	ASSERT_TRUE(ReadFirstRow(bext));
	EXPECT_EQ(bext.f_TipoCentroComm.GetValue(), 0x3AA10001L);
	EXPECT_EQ(bext.f_TipoBudget.GetValue(), 0x3A9C0002L);

	Jex_TRPianoBaseRighe reader;  // the current company has no such row
	EXPECT_EQ(reader.FindRecord(DataLng(3), DataInt(1)), TableReader::NOT_FOUND);
}

// Month rows run to hundreds of thousands: the lookups of the documents and the valuation of
// formulas must go through an index, never read the whole table.
TEST_F(PianoBaseBudget, LookupsAndValuationUseAnIndex)
{
	const char* const queries[] = {
		"SELECT IDPianoBase FROM Kvz_PianoBaseT WHERE Esercizio=? AND ContoKvz=? AND CentroCommessa=? AND "
		"TipoCentroComm=?",
		"SELECT * FROM Kvz_PianoBaseR WHERE IDPianoBase=? ORDER BY Mese",
		"SELECT Mese, SUM(SaldoContabile) FROM Kvz_PianoBaseR WHERE Esercizio=? AND Mese BETWEEN ? AND ? AND "
		"CentroCommessa=? AND ContoKvz BETWEEN ? AND ? GROUP BY Mese",
		"SELECT * FROM Kvz_PianoBaseR WHERE Esercizio=? AND ContoKvz=? ORDER BY Mese",
		"SELECT * FROM Kvz_PianoBaseRDett WHERE IDPianoBase=? AND Mese=? ORDER BY Mese, Riga",
		"SELECT * FROM Kvz_RipartizioniAssestamento WHERE ContoKvz=? AND Anno=?",
		"SELECT IDBudget FROM Kvz_BudgetT WHERE Esercizio=? AND TipoBudget=? AND ContoKvz=? AND "
		"CentroCommessa=? AND TipoCentroComm=?",
		"SELECT * FROM Kvz_BudgetR WHERE IDBudget=? ORDER BY Mese",
		"SELECT Mese, ImportoMese FROM Kvz_BudgetR WHERE TipoBudget=? AND Esercizio=? AND Mese BETWEEN ? AND ? "
		"AND CentroCommessa=? AND TipoCentroComm=? AND ContoKvz=? ORDER BY Mese",
		"SELECT * FROM Kvz_BudgetFinanzT WHERE Esercizio=? AND TipoBudget=? AND ContoKvz=? AND CentroCommessa=?",
		"SELECT * FROM Kvz_BudgetFinanzR WHERE IDBudget=? ORDER BY Mese",
	};
	for (const char* q : queries)
		ExpectIndexSearch(*m_pConn, q);
}
