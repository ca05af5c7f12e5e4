#include "kvznet/kvzdrivers/kvzdriversdbl/KvzDriversDblTables.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/tests/DriversDbFixture.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvoledb/driver/Driver.h"

extern "C" BOOL PlvLibraryMain(HMODULE, DWORD);

namespace {
using KvzDriversDblLibrary = DriversDb;

const char* const kTables[] = {"KvzDriversTesta",       "KvzDriversModelli",   "KvzDriversCosti",
							   "KvzDriversIncrementi",  "KvzDriversTempModelli", "KvzDriversTempCosti",
							   "KvzDriversMagazzini",   "KvzMetriQuadriTesta", "KvzMetriQuadriMesi"};

class RecordingCmdManager : public CPlvCommandInterface
{
public:
	void RegisterLibraryNamespace(const CPLVNamespace& ns, HMODULE) override { registered.push_back(ns.ToString()); }
	CBaseDocument* RunDocument(LPCTSTR, LPCTSTR, void*, CBaseDocument*) override { return nullptr; }
	ADMObj* RunADMDocument(LPCTSTR, LPCTSTR, LPCTSTR, void*, CBaseDocument*) override { return nullptr; }
	CRendoDoc* RunReport(CRendoInfo*, CBaseDocument*, void*, void*, BOOL) override { return nullptr; }
	void ReleaseReport(CRendoDoc*) override {}
	BOOL ExistDocument(const CObject*) const override { return FALSE; }
	std::vector<CString> registered;
};
}  // namespace

TEST_F(KvzDriversDblLibrary, RegistersTheNineTablesAndThreeLookups)
{
	EXPECT_EQ(m_pAddOn->AOI_DatabaseRelease(), 2);
	for (const char* t : kTables)
	{
		SCOPED_TRACE(t);
		EXPECT_TRUE(m_pConn->Db().TableExists(t));
		const CatalogEntry* e = m_pConn->GetCatalogEntry(t);
		ASSERT_NE(e, nullptr);
		EXPECT_EQ(e->ns.ToString(), CString("Table.KvzNet.KvzDrivers.KvzDriversDbl.") + t);
	}
	EXPECT_EQ(m_pConn->Db().TableColumns("KvzDriversModelli").size(), 42u);  // no local fields
	EXPECT_EQ(m_pConn->GetCatalogEntry("KvzDriversIncrementi")->pRecordClass->m_lpszClassName,
			  CString("TKvzDriversIncrementi"));

	m_pAddOn->AOI_RegisterHotLinks(m_LibNs);
	struct Declared
	{
		const char* name;
		const char* cls;
	};
	for (Declared d : {Declared{"KvzDriversTempModelli", "HKLKvzDriversTempModelli"},
					   Declared{"KvzDriversTempCosti", "HKLKvzDriversTempCosti"},
					   Declared{"KvzDriversMagazzini", "HKLKvzDriversMagazzini"}})
	{
		auto* f = AfxFindDeclaredFunction(CPLVNamespace(CString("HotKeyLink.KvzNet.KvzDrivers.KvzDriversDbl.") + d.name));
		ASSERT_NE(f, nullptr) << d.name;
		EXPECT_EQ(CString(f->GetClass()->m_lpszClassName), d.cls);
	}
	EXPECT_EQ(AfxFindDeclaredFunction(CPLVNamespace("HotKeyLink.KvzNet.KvzDrivers.KvzDriversDbl.KvzDriversTesta")),
			  nullptr);
	AfxClearDeclaredFunctions();
}

TEST_F(KvzDriversDblLibrary, InvalidConnectionRegistersNothingOneFailureLeavesTheRest)
{
	EXPECT_FALSE(m_pAddOn->AOI_RegisterTables(nullptr, "", &m_LibNs));
	SqlConnection invalid(nullptr);
	EXPECT_FALSE(m_pAddOn->AOI_RegisterTables(&invalid, "", &m_LibNs));
	EXPECT_TRUE(invalid.GetCatalog().empty());

	// A view squatting on one table's name makes that entry fail, not the others.
	auto conn = Open("rotta.db");
	conn->Db().Execute("CREATE VIEW KvzDriversCosti AS SELECT 1 AS x");
	EXPECT_FALSE(m_pAddOn->AOI_RegisterTables(conn.get(), "", &m_LibNs));
	EXPECT_EQ(conn->GetCatalog().size(), 8u);
	EXPECT_EQ(conn->GetCatalogEntry("KvzDriversCosti"), nullptr);
	EXPECT_NE(conn->GetCatalogEntry("KvzMetriQuadriMesi"), nullptr);
	EXPECT_TRUE(conn->Db().TableExists("KvzMetriQuadriMesi"));
}

TEST_F(KvzDriversDblLibrary, EntryRegistersTheNamespaceOnlyWithACommandManager)
{
	EXPECT_TRUE(PlvLibraryMain(nullptr, DLL_PROCESS_ATTACH));  // no manager: loads all the same
	RecordingCmdManager mgr;
	AfxSetPlvCmdManager(&mgr);
	EXPECT_TRUE(PlvLibraryMain(nullptr, DLL_PROCESS_ATTACH));
	AfxSetPlvCmdManager(nullptr);
	ASSERT_EQ(mgr.registered.size(), 1u);
	EXPECT_EQ(mgr.registered[0], "Library.KvzNet.KvzDrivers.KvzDriversDbl");
	EXPECT_TRUE(PlvLibraryMain(nullptr, DLL_PROCESS_DETACH));
}
