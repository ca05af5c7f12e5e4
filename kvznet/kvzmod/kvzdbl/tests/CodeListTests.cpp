#include <functional>
#include <memory>
#include <string>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCodRaggrupp.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciBudget.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TCodiciRiclassificato.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TModelliRiclassificazione.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"
#include "platform/plvoledb/SqlException.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {
using namespace kvzdbl::test;
using CodeLists = CompanyDb;

template <class Rec>
void InsertCode(const char* code, const char* descr)
{
	Rec r;
	r.GetDataObjAt(0)->Assign(DataStr(code));
	r.f_Descrizione = descr;
	InsertRow(r);
}

// The code column of every row a search lists, in its order.
V Codes(HotKeyLink& hkl, int type, const char* pattern)
{
	V out;
	for (auto& r : hkl.Search(type, DataStr(pattern)))
		out.push_back(r->GetDataObjAt(0)->FormatData());
	return out;
}

Kvz_TCodiciRiclassificato Codice(int year, const char* model, const char* code, const char* descr)
{
	Kvz_TCodiciRiclassificato r;
	r.f_Esercizio = year;
	r.f_ModelloRiclassific = model;
	r.f_CodRiclassificato = code;
	r.f_Descrizione = descr;
	return r;
}
}  // namespace

TEST_F(CodeLists, BudgetAndGroupingCodeHotlinks)
{
	struct Case
	{
		const char* table;
		std::function<std::unique_ptr<HotKeyLink>()> make;
		const char* ns;
	} cases[] = {
		{"Kvz_CodiciBudget", [] { return std::make_unique<Kvz_HKLCodiciBudget>(); }, "KvzMod.KvzDocuments.DCodBudget"},
		{"Kvz_CodRaggrupp", [] { return std::make_unique<Kvz_HKLCodRaggrupp>(); },
		 "KvzMod.KvzDocuments.DCodRaggruppamenti"},
	};
	InsertCode<Kvz_TCodiciBudget>("b10", "Vendite estero");
	InsertCode<Kvz_TCodiciBudget>("B02", "Personale");
	InsertCode<Kvz_TCodiciBudget>("A01", "Vendite Italia");
	InsertCode<Kvz_TCodRaggrupp>("g10", "Vendite estero");
	InsertCode<Kvz_TCodRaggrupp>("G02", "Personale");
	InsertCode<Kvz_TCodRaggrupp>("A01", "Vendite Italia");
	for (auto& c : cases)
	{
		SCOPED_TRACE(c.table);
		std::unique_ptr<HotKeyLink> hkl = c.make();
		EXPECT_EQ(hkl->GetRecord()->GetTableName(), c.table);
		EXPECT_EQ(hkl->GetAddOnFlyNamespace(), c.ns);
		EXPECT_TRUE(hkl->IsAddOnFlyEnabled());
		EXPECT_TRUE(hkl->IsMustExistData());
		EXPECT_EQ(hkl->GetDataObj(), hkl->GetRecord()->GetDataObjAt(0));
		EXPECT_TRUE(static_cast<DataStr*>(hkl->GetDataObj())->IsUpperCase());

		CString upper = c.table == std::string("Kvz_CodiciBudget") ? "B" : "G";
		EXPECT_EQ(Codes(*hkl, HotKeyLink::UPPER_BUTTON, upper.GetString()), (V{upper + "02", upper + "10"}));
		EXPECT_EQ(Codes(*hkl, HotKeyLink::LOWER_BUTTON, "vendite"), (V{upper + "10", "A01"}));
		DataStr code(upper == "B" ? "b10" : "g10");
		ASSERT_TRUE(hkl->FindRecord(&code));
		EXPECT_EQ(hkl->GetDescription(), "Vendite estero");
		DataStr missing("ZZ");
		EXPECT_FALSE(hkl->ValidateValue(&missing));
	}
	EXPECT_TRUE(m_pConn->Db().TableExists("Kvz_ModelliRiclassificazione"));
	EXPECT_TRUE(Kvz_TModelliRiclassificazione().f_ModelloRiclassific.IsUpperCase());
}

TEST_F(CodeLists, ReclassifiedCodeUpdaterTakesTheCodeBeforeTheModel)
{
	// Code and model swapped make another row: the argument order matters.
	Kvz_TCodiciRiclassificato rows[] = {Codice(2025, "M1", "R1", "Ricavi"), Codice(2025, "R1", "M1", "Scambiato")};
	for (auto& r : rows)
		InsertRow(r);

	Kvz_TUCodiciRiclassificato upd;
	ASSERT_EQ(upd.FindRecord(DataInt(2025), DataStr("r1"), DataStr("m1"), TRUE), TableReader::FOUND);
	EXPECT_EQ(upd.GetRecord()->f_Descrizione.GetString(), "Ricavi");
	upd.GetRecord()->f_TipoDatoRitorno = DataEnum(E_KVZ_TIPODATORITORNO, 2);
	ASSERT_TRUE(upd.UpdateRecord());
	upd.Free();
	EXPECT_EQ(upd.FindRecord(DataInt(2024), DataStr("R1"), DataStr("M1"), FALSE), TableReader::NOT_FOUND);
	upd.Free();

	// Another company's codes, enumerations as long integers.
	auto other = OtherCompany("altra.db");
	Kvz_TCodiciRiclassificato o = Codice(2025, "M1", "R9", "Altro");
	o.f_TipoRiga = DataEnum(E_KVZ_TIPORIGA, 3);
	o.SetConnection(other.get());
	InsertRow(o);
	Kvz_TCodiciRiclassificato_Ext ext(other.get());
	EXPECT_TRUE(ext.f_CodRiclassificato.IsUpperCase());
	ASSERT_TRUE(ReadFirstRow(ext));
	EXPECT_EQ(ext.f_TipoRiga.GetValue(), 0x3AA80003L);
	EXPECT_EQ(ext.f_TipoDatoRitorno.GetValue(), 0x3AA90000L);

	m_pConn->ExecuteSQL("DROP TABLE Kvz_CodiciRiclassificato");  // any query would now fail
	EXPECT_EQ(upd.FindRecord(DataInt(2025), DataStr(""), DataStr("M1"), FALSE), TableReader::NOT_FOUND);
	// Year and model are not tested: an empty one still queries.
	EXPECT_THROW(upd.FindRecord(DataInt(0), DataStr("R1"), DataStr(""), FALSE), SqlException);
}

TEST_F(CodeLists, ReclassifiedCodeHotlinkByYearAndModel)
{
	Kvz_TCodiciRiclassificato rows[] = {Codice(2025, "M1", "R1", "Ricavi"), Codice(2025, "M1", "C1", "Costi"),
										Codice(2025, "M2", "R2", "Ricavi M2"), Codice(2024, "M1", "R0", "Ricavi 2024"),
										Codice(2025, "", "X1", "Senza modello")};
	for (auto& r : rows)
		InsertRow(r);

	KVZ_HKLCodiciRiclassificato hkl;
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "");
	EXPECT_TRUE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	auto codes = [&](int type, const char* pattern) {
		V out;
		for (auto& r : hkl.Search(type, DataStr(pattern)))
			out.push_back(static_cast<Kvz_TCodiciRiclassificato&>(*r).f_CodRiclassificato.GetString());
		return out;
	};
	hkl.SetSelEsercizio(DataInt(2025));
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, ""), (V{"X1"}));  // no model set: the empty model
	hkl.SetSelModello(DataStr("M1"));
	EXPECT_EQ(codes(HotKeyLink::UPPER_BUTTON, ""), (V{"C1", "R1"}));
	EXPECT_EQ(codes(HotKeyLink::LOWER_BUTTON, "ric"), (V{"R1"}));
	DataStr code("r2");
	EXPECT_FALSE(hkl.FindRecord(&code));  // a code of another model
	code = "r1";
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_CodRiclassificato);
}

// A value its column does not take is refused by the write itself, whoever feeds it (a file, a
// batch), with the column and the limit named; nothing is stored.
TEST_F(CodeLists, WritesRefuseValuesTheirColumnsDoNotTakeAndStoreNothing)
{
	auto budget = [](const std::string& code, const std::string& descr) {
		auto r = std::make_unique<Kvz_TCodiciBudget>();
		r->f_CodiceBudget = code.c_str();
		r->f_Descrizione = descr.c_str();
		return r;
	};
	auto model = [](int year, const std::string& code) {
		auto r = std::make_unique<Kvz_TCodiciRiclassificato>();
		r->f_Esercizio = year;
		r->f_ModelloRiclassific = "CE";
		r->f_CodRiclassificato = code.c_str();
		return r;
	};
	struct Case
	{
		std::function<std::unique_ptr<SqlRecord>()> make;
		const char* message;
	};
	const Case cases[] = {
		{[&] { return budget(std::string(27, 'B'), "Lungo"); },
		 "CodiceBudget: il codice supera la lunghezza massima di 26 caratteri."},
		{[&] { return budget("B\x1b", "Con ESC"); }, "CodiceBudget: il codice contiene caratteri di controllo."},
		{[&] { return budget("   ", "Di spazi"); }, "CodiceBudget: il codice è fatto di soli spazi."},
		{[&] { return budget("", "Senza codice"); }, "CodiceBudget: il codice è obbligatorio."},
		{[&] { return budget("B", std::string(65, 'd')); },
		 "Descrizione: il testo supera la lunghezza massima di 64 caratteri."},
		{[&] { return budget("B", "Con\x07"); },
		 "Descrizione: il testo contiene caratteri di controllo (ammessi solo tabulazione e a capo)."},
		{[&] { return model(0, "R1"); }, "Esercizio: l'anno 0 non è valido (da 1900 a 9999)."},
		{[&] { return model(99999, "R1"); }, "Esercizio: l'anno 99999 non è valido (da 1900 a 9999)."},
		{[&] { return model(2026, std::string(10000, 'R')); },
		 "CodRiclassificato: il codice supera la lunghezza massima di 26 caratteri."},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.message);
		std::unique_ptr<SqlRecord> r = c.make();
		try
		{
			SqlTable t(r.get());
			t.Open(TRUE);
			t.AddNew(FALSE);
			t.Update();
			ADD_FAILURE() << "written";
		}
		catch (const SqlException& e)
		{
			EXPECT_EQ(e.m_strError(), CString(c.message));
		}
		std::unique_ptr<SqlRecord> all(r->Create());
		SqlTable rows(all.get());
		rows.Open();
		rows.SelectAll();
		rows.Query();
		EXPECT_TRUE(rows.IsEOF());
	}

	// The binder's lengths are the record's column lengths; up to them a value is written.
	Kvz_TCodiciBudget r;
	EXPECT_EQ(r.GetColumnLength(r.GetIndexFromColumnName("CodiceBudget")), 26);
	EXPECT_EQ(r.GetColumnLength(r.GetIndexFromColumnName("Descrizione")), 64);
	r.f_CodiceBudget = std::string(26, 'B').c_str();
	r.f_Descrizione = (std::string(62, 'd') + "\t\n").c_str();
	EXPECT_NO_THROW(InsertRow(r));
}
