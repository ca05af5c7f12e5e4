#include <functional>
#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TDescrizioniBrevi.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TOperatoriStampe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificatoTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneRighe.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TTmpRiclassificazioneTesta.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TmpEsplosioneCodici.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using namespace kvzdbl::test;
using ModelliRiclassificazione = CompanyDb;

Kvz_TRiclassificazioneTesta Testa(int year, const char* model, const char* descr, BOOL tutti = TRUE)
{
	Kvz_TRiclassificazioneTesta r;
	r.f_Esercizio = year;
	r.f_ModelloRiclassific = model;
	r.f_Descrizione = descr;
	r.f_TuttiOperatori = tutti;
	return r;
}

Kvz_TTmpRiclassificazioneTesta Tmp(int year, const char* op, const char* model, const char* descr = "")
{
	Kvz_TTmpRiclassificazioneTesta r;
	r.f_Esercizio = year;
	r.f_Operatore = op;
	r.f_ModelloRiclassific = model;
	r.f_Descrizione = descr;
	return r;
}

V Codes(HotKeyLink& hkl, int type, const char* pattern)
{
	return Column(hkl, type, pattern, "ModelloRiclassific");
}
}  // namespace

TEST_F(ModelliRiclassificazione, RecordShapes)
{
	const V testa = {"Esercizio",  "ModelloRiclassific", "Descrizione", "Priorita",
					 "DataCreazione", "DataUltModifica", "DataInizio", "DataFine",
					 "TipoModello", "FormulaCalcParametrico"};
	const V righe = Concat({{"Esercizio", "ModelloRiclassific", "CodRiclassificato", "Posizione", "Descrizione",
							 "Formula", "TipoRiga", "TipoDatoRitorno", "Dividendo", "FormulaBudgetA", "FormulaBudgetB",
							 "FormulaBudgetC"},
							Numbered("Formula", 1, 10),
							{"TipoCalcolo", "CodRiclDividendoProgr", "CodRiclDivisoreProgr", "SegnoDaApplicare"}});
	const std::set<CString> righeUpper = {"ModelloRiclassific", "CodRiclassificato", "CodRiclDividendoProgr",
										  "CodRiclDivisoreProgr"};
	struct Case
	{
		const char* name;
		std::function<SqlRecord*()> make;
		V fields;
		int columns;
		V key;
		std::set<CString> upper;
	} cases[] = {
		{"testa", [] { return new Kvz_TRiclassificazioneTesta; },
		 Concat({testa, {"TuttiOperatori", "Selezionata"}}), 11, {"Esercizio", "ModelloRiclassific"},
		 {"ModelloRiclassific"}},
		{"testa ext", [] { return new Kvz_TModRiclassTeste_Ext; }, testa, 10, {"Esercizio", "ModelloRiclassific"},
		 {"ModelloRiclassific"}},
		{"righe", [] { return new Kvz_TRiclassificazioneRighe; }, Concat({righe, {"Selezionata", "DescrBreve"}}), 26,
		 {"Esercizio", "ModelloRiclassific", "CodRiclassificato"}, righeUpper},
		{"righe enh", [] { return new Kvz_TEnhRiclassificazioneRighe; },
		 Concat({righe,
				 {"Selezionata", "DescrBreve", "Valore", "ValoreBdgA", "ValoreBdgB", "ValoreBdgC"},
				 Numbered("Valore", 1, 10),
				 {"Mese", "TotRiportato", "TotRiportatoBudgetA", "TotRiportatoBudgetB", "TotRiportatoBudgetC"},
				 Numbered("TotRiportato", 1, 10)}),
		 26, {"Esercizio", "ModelloRiclassific", "CodRiclassificato"}, righeUpper},
		{"righe ext", [] { return new Kvz_TModRiclassRighe_Ext; }, righe, 26,
		 {"Esercizio", "ModelloRiclassific", "CodRiclassificato"}, righeUpper},
		{"raggrupp enh", [] { return new Kvz_TEnhRiclassificazioneRaggrupp; },
		 {"Esercizio", "ModelloRiclassific", "CodRaggrupp", "Descrizione"}, 3,
		 {"Esercizio", "ModelloRiclassific", "CodRaggrupp"}, {"ModelloRiclassific", "CodRaggrupp"}},
		{"operatori", [] { return new Kvz_TOperatoriStampe; },
		 {"Esercizio", "ModelloRiclassific", "OperatoreStampa"}, 3,
		 {"Esercizio", "ModelloRiclassific", "OperatoreStampa"}, {"ModelloRiclassific"}},
		{"tmp", [] { return new Kvz_TTmpRiclassificazioneTesta; },
		 Concat({{"Esercizio", "Operatore"}, V(testa.begin() + 1, testa.end()), {"TuttiOperatori"}}), 12,
		 {"Esercizio", "Operatore", "ModelloRiclassific"}, {"ModelloRiclassific"}},
		{"descrizioni brevi", [] { return new Kvz_TDescrizioniBrevi; },
		 {"CodRiclassificato", "DescrizioneBreve", "Selezionata", "ModelloPerVisDescr", "DescrizioneModello"}, 4,
		 {"CodRiclassificato"}, {"CodRiclassificato"}},
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.name);
		std::unique_ptr<SqlRecord> r(c.make());
		ExpectRecordShape(*r, c.fields, c.columns, c.key, c.upper);
	}
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());  // local types as declared

	Kvz_TEnhRiclassificazioneRighe riga;
	EXPECT_EQ(riga.GetSize(), 57);
	EXPECT_EQ(riga.GetColumnLength(riga.GetIndexFromColumnName("DescrBreve")), 16);
	EXPECT_EQ(riga.f_TipoRiga.GetValue(), 0x3AA80000u);
	EXPECT_EQ(riga.f_TipoDatoRitorno.GetValue(), 0x3AA90000u);
	EXPECT_EQ(riga.f_TipoCalcolo.GetValue(), 0x3AAD0000u);
	EXPECT_EQ(Kvz_TRiclassificazioneTesta().f_TipoModello.GetValue(), 0x3AAC0000u);
	EXPECT_EQ(Kvz_TTmpRiclassificazioneTesta().f_TipoModello.GetValue(), 0x3AAC0000u);
	Kvz_TDescrizioniBrevi breve;
	EXPECT_FALSE(breve.IsLocal(breve.GetIndexFromColumnName("Selezionata")));  // stored here, local elsewhere
	EXPECT_TRUE(riga.IsLocal(riga.GetIndexFromColumnName("Selezionata")));

	// The copy of a row under evaluation carries its month's values, on its own members.
	riga.f_CodRiclassificato = "r1";
	riga.l_Mese = 3;
	riga.l_TotRiportato10 = 12.5;
	Kvz_TEnhRiclassificazioneRighe copia(riga);
	EXPECT_EQ(copia.l_Mese, 3);
	EXPECT_DOUBLE_EQ(copia.l_TotRiportato10.GetValue(), 12.5);
	EXPECT_EQ(copia.GetDataObjFromColumnName("TotRiportato10"), &copia.l_TotRiportato10);
	Kvz_TEnhRiclassificazioneRighe assegnata;
	assegnata = riga;
	EXPECT_TRUE(assegnata.IsEqual(riga));
	EXPECT_EQ(assegnata.f_CodRiclassificato.GetString(), "R1");
}

TEST_F(ModelliRiclassificazione, RegisteredTablesAndHotlinks)
{
	struct
	{
		const char* table;
		CRuntimeClass* cls;
	} tables[] = {
		{"Kvz_RiclassificazioneTesta", Kvz_TRiclassificazioneTesta::GetThisClass()},
		{"Kvz_RiclassificazioneRighe", Kvz_TRiclassificazioneRighe::GetThisClass()},
		{"Kvz_RiclassificazioneRaggrupp", Kvz_TRiclassificazioneRaggrupp::GetThisClass()},
		{"Kvz_OperatoriStampe", Kvz_TOperatoriStampe::GetThisClass()},
		{"Kvz_TmpRiclassificazioneTesta", Kvz_TTmpRiclassificazioneTesta::GetThisClass()},
		{"Kvz_Riclassificato", Kvz_TRiclassificato::GetThisClass()},
		{"Kvz_RiclassificatoTesta", Kvz_TRiclassificatoTesta::GetThisClass()},
		{"Kvz_TmpEsplosioneCodici", Kvz_TmpEsplosioneCodici::GetThisClass()},
	};
	for (auto& t : tables)
	{
		const CatalogEntry* e = m_pConn->GetCatalogEntry(t.table);
		ASSERT_NE(e, nullptr) << t.table;
		EXPECT_EQ(e->pRecordClass, t.cls) << t.table;
	}
	// The short descriptions are made by the database's setup, outside the catalog.
	EXPECT_EQ(m_pConn->GetCatalogEntry("Kvz_DescrizioniBrevi"), nullptr);
	EXPECT_TRUE(m_pConn->Db().TableExists("Kvz_DescrizioniBrevi"));

	m_pAddOn->AOI_RegisterHotLinks(m_LibNs);
	struct
	{
		const char* name;
		CRuntimeClass* cls;
	} hotlinks[] = {
		{"HKLRiclassificazioneTesta", KVZ_HKLRiclassificazioneTesta::GetThisClass()},
		{"HKLTmpRiclassificazioneTesta", KVZ_HKLTmpRiclassificazioneTesta::GetThisClass()},
		{"HKLRiclassificatoTesta", KVZ_HKLRiclassificatoTesta::GetThisClass()},  // under a name of its own
	};
	for (auto& h : hotlinks)
	{
		auto* f = AfxFindDeclaredFunction(CPLVNamespace(CString("HotKeyLink.KvzNet.KvzMod.KvzDbl.") + h.name));
		ASSERT_NE(f, nullptr) << h.name;
		EXPECT_EQ(f->GetClass(), h.cls) << h.name;
	}
}

TEST_F(ModelliRiclassificazione, DescrizioniBreviTableMatchesItsRecord)
{
	erp::CreateModuleExtras(*m_pConn);  // the setup runs again on an existing database

	Kvz_TDescrizioniBrevi rec;
	std::vector<std::string> columns;
	for (int i = 0; i < rec.GetColumnCount(); ++i)  // a server folds names to lower case
		columns.push_back(m_pConn->IsServer() ? Utf8ToLower(rec.GetItem(i)->m_strColumnName.str())
											  : rec.GetItem(i)->m_strColumnName.str());
	EXPECT_EQ(m_pConn->Db().TableColumns("Kvz_DescrizioniBrevi"), columns);

	Kvz_TUDescrizioniBrevi upd;
	ASSERT_EQ(upd.FindRecord(DataStr("ric1"), FALSE), TableReader::NOT_FOUND);
	upd.GetRecord()->f_CodRiclassificato = "ric1";
	upd.GetRecord()->f_DescrizioneBreve = "Ricavi netti";
	upd.GetRecord()->f_Selezionata = TRUE;
	upd.GetRecord()->f_ModelloPerVisDescr = "Ce01";
	upd.GetRecord()->l_DescrizioneModello = "Conto economico";
	ASSERT_TRUE(upd.UpdateRecord());
	// The code is unique: a second row for it is refused.
	Kvz_TDescrizioniBrevi doppia;
	doppia.f_CodRiclassificato = "RIC1";
	EXPECT_THROW(InsertRow(doppia), SqlException);

	Kvz_TRDescrizioniBrevi reader;
	ASSERT_EQ(reader.FindRecord(DataStr("RIC1")), TableReader::FOUND);
	Kvz_TDescrizioniBrevi* r = reader.GetRecord();
	EXPECT_EQ(r->f_DescrizioneBreve.GetString(), "Ricavi netti");
	EXPECT_TRUE(r->f_Selezionata);
	EXPECT_EQ(r->f_ModelloPerVisDescr.GetString(), "Ce01");  // not upper case
	EXPECT_TRUE(r->l_DescrizioneModello.IsEmpty());         // never stored

	ASSERT_EQ(upd.FindRecord(DataStr("RIC1"), TRUE), TableReader::FOUND);
	ASSERT_TRUE(upd.DeleteRecord());
	EXPECT_EQ(reader.FindRecord(DataStr("RIC1")), TableReader::NOT_FOUND);
}

TEST_F(ModelliRiclassificazione, ReadersAndUpdatersFindByTheirKeys)
{
	Kvz_TTmpRiclassificazioneTesta tmp = Tmp(2025, "Rossi", "m1", "Conto economico");
	InsertRow(tmp);
	Kvz_TOperatoriStampe op;
	op.f_Esercizio = 2025;
	op.f_ModelloRiclassific = "m1";
	op.f_OperatoreStampa = "Rossi";
	InsertRow(op);
	Kvz_TRiclassificazioneRighe riga;
	riga.f_Esercizio = 2025;
	riga.f_ModelloRiclassific = "M1";
	riga.f_CodRiclassificato = "R1";
	riga.f_Formula = "Ricavi + altri";
	InsertRow(riga);

	// The work-table classes take the model before the operator.
	Kvz_TRTmpRiclassificazioneTesta tr;
	ASSERT_EQ(tr.FindRecord(DataInt(2025), DataStr("M1"), DataStr("Rossi")), TableReader::FOUND);
	EXPECT_EQ(tr.GetRecord()->f_Descrizione.GetString(), "Conto economico");
	EXPECT_EQ(tr.FindRecord(DataInt(2025), DataStr("Rossi"), DataStr("M1")), TableReader::NOT_FOUND);
	Kvz_TUTmpRiclassificazioneTesta tu;
	ASSERT_EQ(tu.FindRecord(DataInt(2025), DataStr("M1"), DataStr("Rossi"), TRUE), TableReader::FOUND);
	tu.GetRecord()->f_TuttiOperatori = TRUE;
	ASSERT_TRUE(tu.UpdateRecord());
	ASSERT_EQ(tr.FindRecord(DataInt(2025), DataStr("M1"), DataStr("Rossi")), TableReader::FOUND);
	EXPECT_TRUE(tr.GetRecord()->f_TuttiOperatori);

	Kvz_TROperatoriStampe or_;
	ASSERT_EQ(or_.FindRecord(DataInt(2025), DataStr("M1"), DataStr("Rossi")), TableReader::FOUND);
	EXPECT_EQ(or_.GetRecord()->f_OperatoreStampa.GetString(), "Rossi");  // user names keep their case

	Kvz_TRRiclassificazioneRighe rr;
	ASSERT_EQ(rr.FindRecord(DataInt(2025), DataStr("m1"), DataStr("r1")), TableReader::FOUND);
	EXPECT_EQ(rr.GetRecord()->f_Formula.GetString(), "Ricavi + altri");  // formulas keep their case
}

TEST_F(ModelliRiclassificazione, EmptyKeysRunNoQuery)
{
	for (const char* t : {"Kvz_RiclassificazioneTesta", "Kvz_RiclassificazioneRighe", "Kvz_RiclassificazioneRaggrupp",
						  "Kvz_OperatoriStampe", "Kvz_TmpRiclassificazioneTesta", "Kvz_DescrizioniBrevi"})
		m_pConn->ExecuteSQL(CString("DROP TABLE ") + t);  // any query would now fail

	Kvz_TRRiclassificazioneTesta rt;
	Kvz_TURiclassificazioneTesta ut;
	Kvz_TRRiclassificazioneRighe rr;
	Kvz_TRRiclassificazioneRaggrupp rg;
	Kvz_TROperatoriStampe ro;
	Kvz_TRTmpRiclassificazioneTesta rtmp;
	Kvz_TUTmpRiclassificazioneTesta utmp;
	Kvz_TRDescrizioniBrevi rd;
	Kvz_TUDescrizioniBrevi ud;
	DataInt y(2025), no(0);
	DataStr m("M1"), c("C1"), op("rossi"), e;
	struct Case
	{
		const char* what;
		std::function<void()> find;
		bool queries;
	} cases[] = {
		{"testa, no year", [&] { rt.FindRecord(no, m); }, false},
		{"testa, no model", [&] { rt.FindRecord(y, e); }, false},
		{"testa", [&] { rt.FindRecord(y, m); }, true},
		{"testa updater, no model", [&] { ut.FindRecord(y, e, TRUE); }, false},
		{"testa updater", [&] { ut.FindRecord(y, m, TRUE); }, true},
		{"righe, no model", [&] { rr.FindRecord(y, e, c); }, false},
		{"righe, no year", [&] { rr.FindRecord(no, m, c); }, false},
		{"righe, no code", [&] { rr.FindRecord(y, m, e); }, true},
		{"raggrupp, no model", [&] { rg.FindRecord(y, e, c); }, false},
		{"raggrupp, no grouping", [&] { rg.FindRecord(y, m, e); }, true},
		{"operatori, no year", [&] { ro.FindRecord(no, m, op); }, false},
		{"operatori, no operator", [&] { ro.FindRecord(y, m, e); }, true},
		{"tmp, no year", [&] { rtmp.FindRecord(no, m, op); }, false},
		{"tmp, no model", [&] { rtmp.FindRecord(y, e, op); }, false},
		{"tmp, no operator", [&] { rtmp.FindRecord(y, m, e); }, false},
		{"tmp", [&] { rtmp.FindRecord(y, m, op); }, true},
		{"tmp updater, no operator", [&] { utmp.FindRecord(y, m, e, FALSE); }, false},
		{"tmp updater, no model", [&] { utmp.FindRecord(y, e, op, FALSE); }, false},
		{"tmp updater", [&] { utmp.FindRecord(y, m, op, FALSE); }, true},
		{"descrizioni, no code", [&] { rd.FindRecord(e); }, false},
		{"descrizioni", [&] { rd.FindRecord(c); }, true},
		{"descrizioni updater, no code", [&] { ud.FindRecord(e, TRUE); }, false},
		{"descrizioni updater", [&] { ud.FindRecord(c, TRUE); }, true},
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

TEST_F(ModelliRiclassificazione, ExtRecordsReadEnumerationsAsLongsOnAnotherCompany)
{
	auto other = OtherCompany("altra.db");
	Kvz_TRiclassificazioneTesta testa = Testa(2025, "M1", "Commessa", TRUE);
	testa.f_TipoModello = DataEnum(E_KVZ_TIPOMODELLO, 1);
	testa.SetConnection(other.get());
	InsertRow(testa);
	Kvz_TRiclassificazioneRighe riga;
	riga.f_Esercizio = 2025;
	riga.f_ModelloRiclassific = "M1";
	riga.f_CodRiclassificato = "R1";
	riga.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 2);
	riga.f_TipoDatoRitorno = DataEnum(E_KVZ_TIPODATORITORNO, 1);
	riga.f_TipoCalcolo = DataEnum(E_KVZ_TIPOCALCOLO, 3);
	riga.SetConnection(other.get());
	InsertRow(riga);

	Kvz_TModRiclassTeste_Ext extTesta(other.get());
	EXPECT_LT(extTesta.GetIndexFromColumnName("TuttiOperatori"), 0);
	ASSERT_TRUE(ReadFirstRow(extTesta));
	EXPECT_EQ(extTesta.f_TipoModello.GetValue(), 0x3AAC0001L);
	EXPECT_EQ(extTesta.f_Descrizione.GetString(), "Commessa");

	Kvz_TModRiclassRighe_Ext extRiga(other.get());
	ASSERT_TRUE(ReadFirstRow(extRiga));
	EXPECT_EQ(extRiga.f_TipoRiga.GetValue(), 0x3AA80002L);
	EXPECT_EQ(extRiga.f_TipoDatoRitorno.GetValue(), 0x3AA90001L);
	EXPECT_EQ(extRiga.f_TipoCalcolo.GetValue(), 0x3AAD0003L);

	Kvz_TRRiclassificazioneTesta reader;  // the current company has no such model
	EXPECT_EQ(reader.FindRecord(DataInt(2025), DataStr("M1")), TableReader::NOT_FOUND);
}

TEST_F(ModelliRiclassificazione, ModelHotlinkKeepsTheYearItWasBuiltWith)
{
	Kvz_TRiclassificazioneTesta rows[] = {
		Testa(2025, "CE", "Conto economico"),
		Testa(2025, "SP", "Stato patrimoniale"),
		Testa(2024, "CE", "Conto economico 2024"),
		Testa(2024, "CF", "Flussi"),
	};
	for (auto& r : rows)
		InsertRow(r);
	AfxSetApplicationDate(DataDate(15, 3, 2025));
	KVZ_HKLRiclassificazioneTesta hkl;
	EXPECT_FALSE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "");

	AfxSetApplicationDate(DataDate(15, 3, 2024));
	DataStr ce("ce");
	ASSERT_TRUE(hkl.FindRecord(&ce));
	EXPECT_EQ(hkl.GetRecord()->f_Descrizione.GetString(), "Conto economico");
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_ModelloRiclassific);
	EXPECT_EQ(Codes(hkl, HotKeyLink::UPPER_BUTTON, "C"), (V{"CE"}));
	EXPECT_EQ(Codes(hkl, HotKeyLink::LOWER_BUTTON, "stato"), (V{"SP"}));
	EXPECT_EQ(Codes(hkl, HotKeyLink::COMBO_ACCESS, "x"), (V{"CE", "SP"}));  // only the year filter

	KVZ_HKLRiclassificazioneTesta later;  // built after the date changed
	EXPECT_EQ(Codes(later, HotKeyLink::UPPER_BUTTON, ""), (V{"CE", "CF"}));

	DataInt notAString(5);
	hkl.Search(HotKeyLink::UPPER_BUTTON, notAString);
	auto reports = AfxGetApplicationContext()->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].condition, "pDataObj->IsKindOf((DataStr::GetThisClass()))");
}

TEST_F(ModelliRiclassificazione, WorkTableHotlinkListsTheSelectedOperatorsModels)
{
	Kvz_TTmpRiclassificazioneTesta rows[] = {
		Tmp(2025, "rossi", "CE", "Conto economico"), Tmp(2025, "rossi", "SP", "Stato patrimoniale"),
		Tmp(2025, "bianchi", "CF", "Flussi"),        Tmp(2024, "rossi", "VA", "Valore aggiunto"),
	};
	for (auto& r : rows)
		InsertRow(r);
	AfxSetApplicationDate(DataDate(1, 1, 2025));
	KVZ_HKLTmpRiclassificazioneTesta hkl;
	EXPECT_FALSE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetSelEsercizio(), 2025);

	struct
	{
		const char* op;
		int type;
		const char* pattern;
		V expected;
	} cases[] = {
		{"rossi", HotKeyLink::UPPER_BUTTON, "", {"CE", "SP"}},
		{"rossi", HotKeyLink::LOWER_BUTTON, "stato", {"SP"}},
		{"rossi", HotKeyLink::DIRECT_ACCESS, "CF", {}},  // another operator's model
		{"bianchi", HotKeyLink::DIRECT_ACCESS, "cf", {"CF"}},
		{"verdi", HotKeyLink::COMBO_ACCESS, "", {}},  // nothing rebuilt for this operator
	};
	for (auto& c : cases)
	{
		SCOPED_TRACE(std::string(c.op) + " " + c.pattern);
		hkl.SetSelOperatore(DataStr(c.op));
		EXPECT_EQ(Codes(hkl, c.type, c.pattern), c.expected);
	}
	hkl.SetSelOperatore(DataStr("rossi"));
	DataStr sp("SP");
	ASSERT_TRUE(hkl.FindRecord(&sp));
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_ModelloRiclassific);
	EXPECT_EQ(hkl.GetRecord()->f_Operatore.GetString(), "rossi");
}
