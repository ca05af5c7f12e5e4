#include <set>

#include "kvznet/kvzmod/kvzdbl/Kvz_TCentriCommesseContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_TRaggruppPdC.h"
#include "kvznet/kvzmod/kvzdbl/Kvz_ViewCdcCommesse.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblTestHelpers.h"

namespace {
using namespace kvzdbl::test;
using CdcCommesse = CompanyDb;

Kvz_TCentriCommesseContiKvz Split(int year, const char* conto, const char* cdc, WORD tipo, const char* descr)
{
	Kvz_TCentriCommesseContiKvz r;
	r.f_Esercizio = year;
	r.f_ContoKvz = conto;
	r.f_CentroCommessa = cdc;
	r.f_Tipo = DataEnum(E_KVZ_TIPOCENTROCOMM, tipo);
	r.f_Descrizione = descr;
	return r;
}

// Codes a hotlink search lists, in its order.
template <class Rec, class Hkl>
V Codes(Hkl& hkl, int type, const char* pattern)
{
	V out;
	for (auto& r : hkl.Search(type, DataStr(pattern)))
		out.push_back(static_cast<Rec&>(*r).f_CentroCommessa.GetString());
	return out;
}

// The host's fiscal years, cost centres and jobs the view is built on.
void HostCdcCommesse(SqlConnection& conn)
{
	for (const char* sql : {"INSERT INTO Erp_FiscalYears (FiscalYear, StartDate, EndDate) VALUES "
							"(2024, '2024-01-01', '2024-12-31'), (2025, '2025-01-01', '2025-12-31')",
							"INSERT INTO Erp_CostCenters (CostCenter, Description) VALUES ('AMM', 'Amministrazione'), "
							"('PRD', 'Produzione')",
							"INSERT INTO Erp_Jobs (Job, Description) VALUES ('C100', 'Commessa ponte'), ('AMX', 'Ampliamento')"})
		conn.ExecuteSQL(sql);
}
}  // namespace

TEST_F(CdcCommesse, SplitRecordShapes)
{
	Kvz_TEnhCentriCommesseContiKvz r;
	const V columns = {"Esercizio",        "ContoKvz",          "CentroCommessa", "Descrizione",
					   "Tipo",             "InseritoManualmente", "PercRipartizione", "Nota",
					   "InseritoDaSimbolo", "SaldoVariato",     "PercRipartizioneBudget"};
	V expected = columns;
	for (const char* local : {"StatusBmpxx", "SaldoDelMese", "IDPBase", "Tmp", "Modif", "Segno"})
		expected.push_back(local);
	EXPECT_EQ(BoundNames(r), expected);
	EXPECT_EQ(r.GetColumnCount(), 11);
	EXPECT_EQ(r.GetColumnLength(r.GetIndexFromColumnName("Tmp")), 3);
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());
	EXPECT_EQ(r.f_Tipo.GetValue(), 0x3AA10000u);
	EXPECT_EQ(r.l_SegnoConto.GetValue(), 0x3AAB0000u);
	EXPECT_EQ(UpperCaseColumns(r), (std::set<CString>{"ContoKvz", "CentroCommessa"}));
	EXPECT_EQ(r.GetPrimaryKey(), (V{"Esercizio", "ContoKvz", "CentroCommessa", "Tipo"}));

	Kvz_TCentriCommesseConti_Ext ext;
	V extExpected = columns;
	extExpected.push_back("StatusBmp");
	EXPECT_EQ(BoundNames(ext), extExpected);
	EXPECT_EQ(UpperCaseColumns(ext), (std::set<CString>{"ContoKvz", "CentroCommessa"}));
	EXPECT_EQ(ext.f_Tipo.GetDataType(), DATA_LNG_TYPE);
}

TEST_F(CdcCommesse, SplitUpdaterQueriesOnlyWithAYear)
{
	Kvz_TUCentriCommesseContiKvz upd;
	const DataEnum job(E_KVZ_TIPOCENTROCOMM, 1);
	ASSERT_EQ(upd.FindRecord(DataInt(2025), DataStr("r01"), DataStr("c100"), job, FALSE), TableReader::NOT_FOUND);
	Kvz_TCentriCommesseContiKvz& rec = *upd.GetRecord();
	rec.f_Esercizio = 2025;
	rec.f_ContoKvz = "r01";
	rec.f_CentroCommessa = "c100";
	rec.f_Tipo = job;
	rec.f_PercRipartizione = 40;
	ASSERT_TRUE(upd.UpdateRecord());
	upd.Free();

	// The type is part of the key: the same code as a cost centre is another row.
	EXPECT_EQ(upd.FindRecord(DataInt(2025), DataStr("R01"), DataStr("C100"), DataEnum(E_KVZ_TIPOCENTROCOMM, 0), FALSE),
			  TableReader::NOT_FOUND);
	upd.Free();
	ASSERT_EQ(upd.FindRecord(DataInt(2025), DataStr("R01"), DataStr("C100"), job, TRUE), TableReader::FOUND);
	EXPECT_DOUBLE_EQ(upd.GetRecord()->f_PercRipartizione, 40);
	upd.Free();

	m_pConn->ExecuteSQL("DROP TABLE Kvz_CentriCommPianoConti");  // any query would now fail
	EXPECT_EQ(upd.FindRecord(DataInt(0), DataStr("R01"), DataStr("C100"), job, FALSE), TableReader::NOT_FOUND);
	// Empty account, code and type do not stop the query.
	EXPECT_THROW(upd.FindRecord(DataInt(2025), DataStr(""), DataStr(""), DataEnum(), FALSE), SqlException);
}

TEST_F(CdcCommesse, SplitHotlinkListsTheSelectedYearAndAccount)
{
	Kvz_TCentriCommesseContiKvz rows[] = {
		Split(2025, "R01", "PRD", 0, "Produzione"), Split(2025, "R01", "C100", 1, "Commessa ponte"),
		Split(2025, "R02", "AMM", 0, "Amministrazione"), Split(2024, "R01", "AMM", 0, "Amministrazione"),
	};
	for (auto& r : rows)
		InsertRow(r);

	Kvz_HKLCentriCommContiKvz hkl;
	EXPECT_FALSE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "KvzMod.KvzDocuments.CentriCommContiKvz");

	// No year of its own: nothing until the caller sets one.
	hkl.SetSelContoKvz(DataStr("R01"));
	EXPECT_TRUE((Codes<Kvz_TCentriCommesseContiKvz>(hkl, HotKeyLink::UPPER_BUTTON, "")).empty());
	hkl.SetSelEsercizio(DataInt(2025));
	EXPECT_EQ((Codes<Kvz_TCentriCommesseContiKvz>(hkl, HotKeyLink::UPPER_BUTTON, "")), (V{"C100", "PRD"}));
	EXPECT_EQ((Codes<Kvz_TCentriCommesseContiKvz>(hkl, HotKeyLink::LOWER_BUTTON, "")), (V{"C100", "PRD"}));
	EXPECT_EQ((Codes<Kvz_TCentriCommesseContiKvz>(hkl, HotKeyLink::LOWER_BUTTON, "prod")), (V{"PRD"}));

	DataStr code("amm");
	EXPECT_FALSE(hkl.FindRecord(&code));  // a cost centre of another account
	EXPECT_EQ(hkl.GetErrorString(), "");
	EXPECT_FALSE(hkl.IsValid());
	code = "c100";
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetRecord()->f_Tipo.GetItemValue(), 1);
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_CentroCommessa);
}

TEST_F(CdcCommesse, ViewOverTheHostsCostCentresAndJobs)
{
	HostCdcCommesse(*m_pConn);
	const CatalogEntry* e = m_pConn->GetCatalogEntry("Kvz_VwCdcCommesse");
	ASSERT_NE(e, nullptr);
	EXPECT_EQ(e->kind, 2);

	Kvz_ViewCdcCommesse r;
	EXPECT_EQ(BoundNames(r), (V{"Esercizio", "CentroCommessa", "Descrizione", "Tipo", "Sel", "OldSel", "SelContiM",
								"mod1", "mod2", "mod3"}));
	EXPECT_EQ(r.GetColumnCount(), 4);
	EXPECT_TRUE(r.GetPrimaryKey().empty());
	EXPECT_TRUE(UpperCaseColumns(r).empty());
	EXPECT_TRUE(AfxGetApplicationContext()->GetAssertionReports().empty());

	SqlTable t(&r);
	t.Open(FALSE);
	t.SelectAll();
	t.AddParam("p1", r.f_Esercizio);
	t.AddFilterColumn(r.f_Esercizio);
	t.AddSortColumn(r.f_CentroCommessa);
	t.SetParamValue("p1", DataInt(2025));
	std::vector<std::pair<CString, DWORD>> rows;
	for (t.Query(); !t.IsEOF(); t.MoveNext())
		rows.emplace_back(r.f_CentroCommessa.GetString(), r.f_Tipo.GetValue());
	EXPECT_EQ(rows, (std::vector<std::pair<CString, DWORD>>{
						{"AMM", 0x3AA10000u}, {"AMX", 0x3AA10001u}, {"C100", 0x3AA10001u}, {"PRD", 0x3AA10000u}}));

	// Another company's view, the type as a long integer.
	auto other = OtherCompany("altra.db");
	other->ExecuteSQL(
		"INSERT INTO Erp_FiscalYears (FiscalYear, StartDate, EndDate) VALUES (2025, '2025-01-01', '2025-12-31')");
	other->ExecuteSQL("INSERT INTO Erp_Jobs (Job, Description) VALUES ('EST', 'Commessa estera')");
	Kvz_ViewCdcCommesse_Ext ext(other.get());
	SqlTable te(&ext);
	te.Open(FALSE);
	te.SelectAll();
	te.Query();
	ASSERT_FALSE(te.IsEmpty());
	EXPECT_EQ(ext.f_CentroCommessa.GetString(), "EST");
	EXPECT_EQ(ext.f_Tipo.GetValue(), 0x3AA10001L);
	te.MoveNext();
	EXPECT_TRUE(te.IsEOF());
}

TEST_F(CdcCommesse, ViewHotlinkByYearAndOptionallyByType)
{
	HostCdcCommesse(*m_pConn);
	Kvz_HKLCentriComm hkl;
	EXPECT_FALSE(hkl.IsAddOnFlyEnabled());
	EXPECT_TRUE(hkl.IsMustExistData());
	EXPECT_EQ(hkl.GetAddOnFlyNamespace(), "");
	hkl.SetSelEsercizio(DataInt(2025));

	using R = Kvz_ViewCdcCommesse;
	EXPECT_EQ((Codes<R>(hkl, HotKeyLink::UPPER_BUTTON, "a")), (V{"AMM", "AMX"}));  // together
	hkl.SetSelTipo(DataEnum(E_KVZ_TIPOCENTROCOMM, 1));
	hkl.SetSelPerTipo(DataBool(TRUE));
	EXPECT_EQ((Codes<R>(hkl, HotKeyLink::UPPER_BUTTON, "a")), (V{"AMX"}));
	EXPECT_EQ((Codes<R>(hkl, HotKeyLink::LOWER_BUTTON, "")), (V{"AMX", "C100"}));  // by description
	hkl.SetSelTipo(DataEnum(E_KVZ_TIPOCENTROCOMM, 0));
	EXPECT_EQ((Codes<R>(hkl, HotKeyLink::LOWER_BUTTON, "")), (V{"AMM", "PRD"}));

	DataStr code("c100");
	EXPECT_FALSE(hkl.FindRecord(&code));  // a job, and only cost centres are asked for
	hkl.SetSelPerTipo(DataBool(FALSE));
	ASSERT_TRUE(hkl.FindRecord(&code));
	EXPECT_EQ(hkl.GetDescription(), "Commessa ponte");
	EXPECT_EQ(hkl.GetDataObj(), &hkl.GetRecord()->f_CentroCommessa);
	hkl.SetSelEsercizio(DataInt(2023));  // a year the host does not have
	EXPECT_FALSE(hkl.FindRecord(&code));
}

TEST_F(CdcCommesse, GroupingOfHostAccounts)
{
	Kvz_TEnhRaggruppPdC e;
	EXPECT_EQ(e.GetColumnCount(), 18);
	const V locals = {"DalConto", "DesDalConto", "AlConto", "DesAlConto", "DesContoPa"};
	V names = BoundNames(e);
	EXPECT_EQ(V(names.begin() + 18, names.end()), locals);
	EXPECT_EQ(e.GetColumnLength(e.GetIndexFromColumnName("DesContoPa")), 32);
	EXPECT_EQ(e.f_TipoDettaglio.GetValue(), 0x3A9D0000u);
	EXPECT_EQ(UpperCaseColumns(Kvz_TRaggruppPdC()), (std::set<CString>{"Conto", "ContoPatrimoniale", "CodiceBudget"}));

	Kvz_TRaggruppPdC r;
	r.f_Conto = "01.02.003";
	r.f_TerzoLivello = TRUE;
	r.f_CodiceBudget = "bdg1";
	InsertRow(r);
	Kvz_TRRaggruppPdC reader;
	ASSERT_EQ(reader.FindRecord(DataStr("01.02.003")), TableReader::FOUND);
	EXPECT_TRUE(reader.GetRecord()->f_TerzoLivello);
	EXPECT_EQ(reader.GetRecord()->f_CodiceBudget.GetString(), "BDG1");
	EXPECT_TRUE(reader.GetRecord()->IsKindOf(RUNTIME_CLASS(Kvz_TRaggruppPdC)));
	EXPECT_FALSE(reader.GetRecord()->IsKindOf(RUNTIME_CLASS(Kvz_TEnhRaggruppPdC)));

	m_pConn->ExecuteSQL("DROP TABLE Kvz_RaggruppPdC");  // any query would now fail
	EXPECT_EQ(reader.FindRecord(DataStr("")), TableReader::NOT_FOUND);
}
