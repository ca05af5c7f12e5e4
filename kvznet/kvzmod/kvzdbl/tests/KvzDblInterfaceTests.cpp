#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
#include "kvznet/kvzmod/kvzdbl/tests/KvzDblFixture.h"
#include "platform/plvgenlib/LibraryEntry.h"
#include "platform/plvoledb/driver/Driver.h"

extern "C" BOOL PlvLibraryMain(HMODULE, DWORD);

namespace {
using KvzDblLibrary = CompanyDb;

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

TEST_F(KvzDblLibrary, RegistersTablesHotlinksAndRelease)
{
	EXPECT_EQ(m_pAddOn->AOI_DatabaseRelease(), 10);
	EXPECT_TRUE(m_pConn->Db().TableExists("Kvz_AnagConti"));
	auto cols = m_pConn->Db().TableColumns("Kvz_AnagConti");
	EXPECT_EQ(cols.size(), 15u);  // no local fields
	const CatalogEntry* e = m_pConn->GetCatalogEntry("Kvz_AnagConti");
	ASSERT_NE(e, nullptr);
	EXPECT_EQ(e->pRecordClass, Kvz_TAnagContiKvz::GetThisClass());
	EXPECT_EQ(e->ns.ToString(), "Table.KvzNet.KvzMod.KvzDbl.Kvz_AnagConti");
	EXPECT_EQ(m_pConn->GetCatalogEntry("Kvz_TEnhAnagContiKvz"), nullptr);

	m_pAddOn->AOI_RegisterHotLinks(m_LibNs);
	auto* f = AfxFindDeclaredFunction(CPLVNamespace("HotKeyLink.KvzNet.KvzMod.KvzDbl.HKLAnagContiKvz"));
	ASSERT_NE(f, nullptr);
	EXPECT_EQ(f->GetClass(), KVZ_HKLAnagContiKvz::GetThisClass());
}

TEST_F(KvzDblLibrary, RegistrationFailures)
{
	EXPECT_FALSE(m_pAddOn->AOI_RegisterTables(nullptr, "", &m_LibNs));

	// A view squatting on a table's name makes that entry fail; the result says so.
	auto conn = SqlConnection::Open(Target("rotta.db"), SqlConnection::CREATE_IF_MISSING);
	conn->Db().Execute("CREATE VIEW Kvz_AnagConti AS SELECT 1 AS x");
	EXPECT_FALSE(m_pAddOn->AOI_RegisterTables(conn.get(), "", &m_LibNs));
}

TEST_F(KvzDblLibrary, EntryRegistersTheNamespaceOnlyWithACommandManager)
{
	EXPECT_TRUE(PlvLibraryMain(nullptr, DLL_PROCESS_ATTACH));  // no manager: loads all the same
	RecordingCmdManager mgr;
	AfxSetPlvCmdManager(&mgr);
	EXPECT_TRUE(PlvLibraryMain(nullptr, DLL_PROCESS_ATTACH));
	AfxSetPlvCmdManager(nullptr);
	ASSERT_EQ(mgr.registered.size(), 1u);
	EXPECT_EQ(mgr.registered[0], "Library.KvzNet.KvzMod.KvzDbl");
	EXPECT_TRUE(PlvLibraryMain(nullptr, DLL_PROCESS_DETACH));
}
