#include <algorithm>
#include <string>
#include <vector>

#include "TestLibraries.h"
#include "platform/plvoledb/driver/Driver.h"

namespace {

std::vector<std::string> Errors(const CAddOnLibraries& libs)
{
	std::vector<std::string> out;
	for (const CString& e : libs.GetErrors())
		out.push_back(e.str());
	return out;
}

struct TemplateView
{
	std::string ns, view, doc, frame, viewClass, library;
	UINT id;
	friend bool operator==(const TemplateView&, const TemplateView&) = default;
};

std::vector<TemplateView> Templates()
{
	std::vector<TemplateView> out;
	for (CSingleExtDocTemplate* t : AfxGetBaseApp()->GetTemplates())
		out.push_back({t->GetNamespace().GetPathName().str(), t->GetViewName().str(), t->GetDocClass()->m_lpszClassName,
					   t->GetFrameClass()->m_lpszClassName, t->GetViewClass()->m_lpszClassName,
					   t->GetLibraryName().str(), t->GetID()});
	return out;
}

}  // namespace

using AddOnLibraries = CompanyFixture;

TEST_F(AddOnLibraries, LoadedInDependencyOrderTheyRegisterWhatTheyOffer)
{
	CPlvCommandManager manager;
	manager.Install();
	CAddOnLibraries libs;
	ASSERT_TRUE(libs.Load(TablesLib()));
	ASSERT_TRUE(libs.Load(PartsLib()));
	ASSERT_TRUE(libs.Load(DocsLib()));
	// One template of the documents library is refused: the others stay.
	EXPECT_FALSE(libs.RegisterAll(m_pConn.get()));

	// Each library registered its own namespace with its own module at load.
	const auto namespaces = manager.GetLibraryNamespaces();
	ASSERT_EQ(namespaces.size(), 3u);
	const char* expected[] = {"PlvTest.TestMod.TestTables", "PlvTest.TestMod.TestParts", "PlvTest.TestMod.TestDocs"};
	for (size_t i = 0; i < 3; ++i)
	{
		const auto& lib = *libs.GetLibraries()[i];
		EXPECT_EQ(namespaces[i].first.ToString(), CString("Library.") + expected[i]);
		EXPECT_EQ(namespaces[i].second, lib.hModule) << lib.info.name;
		EXPECT_EQ(lib.ns.GetPathName(), expected[i]) << "the library's own namespace wins";
	}
	EXPECT_NE(libs.Find("PlvTestTables")->hModule, libs.Find("PlvTestDocs")->hModule);
	// The parts library links the tables library, whose add-on entry is not taken for its own.
	EXPECT_NE(libs.Find("PlvTestParts")->pfnEntry, nullptr);
	EXPECT_EQ(libs.Find("PlvTestParts")->pAddOn, nullptr);

	// Tables on the connection, hotlinks, database release.
	const CatalogEntry* pEntry = m_pConn->GetCatalogEntry("Test_Conti");
	ASSERT_NE(pEntry, nullptr);
	EXPECT_EQ(pEntry->ns.GetPathName(), "PlvTest.TestMod.TestTables.Test_Conti");
	EXPECT_NE(AfxFindDeclaredFunction(CPLVNamespace("HotKeyLink.PlvTest.TestMod.TestTables.HKLTestConto")), nullptr);
	EXPECT_EQ(m_pConn->GetDatabaseRelease("PlvTestTables"), 7);
	EXPECT_EQ(m_pConn->GetDatabaseRelease("PlvTestDocs"), 0);

	// Templates: the library's identifier (its place in the load order) and its own module.
	const std::vector<TemplateView> templates = {
		{"PlvTest.TestMod.TestDocs.DConti", "Default", "TDocConti", "TFrame", "TView", "TestDocs", 3},
		{"PlvTest.TestMod.TestDocs.DConti", "Unattended", "TDocConti", "TFrame", "TAutomationView", "TestDocs", 3},
		{"PlvTest.TestMod.TestDocs.BDStampa", "Default", "TDocStampa", "TFrame", "TView", "TestDocs", 3},
		{"PlvTest.TestMod.TestDocs.DChiude", "Default", "TDocChiude", "TFrame", "TView", "TestDocs", 3},
	};
	EXPECT_EQ(Templates(), templates);
	for (CSingleExtDocTemplate* t : AfxGetBaseApp()->GetTemplates())
		EXPECT_EQ(t->GetModuleInstance(), libs.Find("PlvTestDocs")->hModule);

	// The refused template is reported by the library (release assertion) and by the host.
	EXPECT_EQ(Errors(libs),
			  std::vector<std::string>{"PlvTestDocs: the template PlvTest.TestMod.TestDocs.DRotto (view \"Default\") was "
									   "not registered: the view class TFixedView cannot be created by name"});
	const auto reports = AfxGetApplicationContext()->GetAssertionReports();
	ASSERT_EQ(reports.size(), 1u);
	EXPECT_EQ(reports[0].condition, "pTemplate");
	EXPECT_EQ(reports[0].method, "AddOnInterface::AOI_RegisterTemplates");

	// A document of the library opens by namespace, also in the hotlinks' form and another view.
	const struct
	{
		const char* ns;
		const char* view;
		const char* viewClass;
	} opens[] = {
		{"PlvTest.TestMod.TestDocs.DConti", "Default", "TView"},
		{"Document.PlvTest.TestMod.TestDocs.DConti", "Unattended", "TAutomationView"},
		{"TestMod.TestDocs.DConti", "Default", "TView"},
	};
	for (const auto& o : opens)
	{
		CBaseDocument* pDoc = manager.RunDocument(o.ns, o.view);
		ASSERT_NE(pDoc, nullptr) << o.ns;
		EXPECT_STREQ(pDoc->GetRuntimeClass()->m_lpszClassName, "TDocConti");
		EXPECT_STREQ(pDoc->GetFirstView()->GetRuntimeClass()->m_lpszClassName, o.viewClass);
		EXPECT_EQ(pDoc->GetNamespace().GetPathName(), "PlvTest.TestMod.TestDocs.DConti");
	}
	EXPECT_EQ(manager.GetOpenDocuments().size(), 3u);
	EXPECT_EQ(manager.RunDocument("PlvTest.TestMod.TestDocs.DRotto"), nullptr);

	// Every library may attach client documents to a document that opens.
	AfxAttachClientDocs(manager.GetOpenDocuments().front(), nullptr);
	EXPECT_EQ(m_Ui.ProgressTexts(), std::vector<CString>{"client documents of PlvTest.TestMod.TestDocs for "
														 "PlvTest.TestMod.TestDocs.DConti"});
}

TEST_F(AddOnLibraries, LoadingBeforeTheCommandManagerExistsRegistersNoNamespace)
{
	ASSERT_EQ(AfxGetPlvCmdManager(), nullptr);
	CAddOnLibraries libs;
	EXPECT_TRUE(libs.Load(TablesLib()));
	EXPECT_TRUE(libs.Load(DocsLib()));  // its parts come along as a dependency
	EXPECT_FALSE(libs.RegisterAll(m_pConn.get()));

	CPlvCommandManager manager;
	EXPECT_TRUE(manager.GetLibraryNamespaces().empty());
	// Registered all the same, under the namespaces the host gave.
	EXPECT_NE(m_pConn->GetCatalogEntry("Test_Conti"), nullptr);
	EXPECT_EQ(libs.Find("PlvTestDocs")->ns.GetPathName(), "PlvTest.HostMod.TestDocs");
	std::vector<std::string> names;
	for (CSingleExtDocTemplate* t : AfxGetBaseApp()->GetTemplates())
		names.push_back(t->GetNamespace().GetPathName().str() + " " + t->GetViewName().str());
	EXPECT_EQ(names, (std::vector<std::string>{"PlvTest.HostMod.TestDocs.DConti Default",
											   "PlvTest.HostMod.TestDocs.DConti Unattended",
											   "PlvTest.HostMod.TestDocs.BDStampa Default",
											   "PlvTest.HostMod.TestDocs.DChiude Default"}));
}

TEST_F(AddOnLibraries, FailuresAreReportedByLibraryName)
{
	CAddOnLibraries libs;
	const CString missing = (m_Folder / "libPlvTestMissing.so").string();
	EXPECT_FALSE(libs.Load({"PlvTestMissing", missing, "Library.PlvTest.TestMod.Missing"}));
	EXPECT_FALSE(libs.Load({"PlvTestFailing", PLVTEST_FAILING, "Library.PlvTest.TestMod.Failing"}));
	EXPECT_FALSE(libs.Load({"PlvTestNoAddOn", PLVTEST_NOADDON, "Library.PlvTest.TestMod.NoAddOn"}));
	EXPECT_TRUE(libs.Load(TablesLib()));
	EXPECT_FALSE(libs.Load(TablesLib()));

	const auto errors = Errors(libs);
	ASSERT_EQ(errors.size(), 4u);
	EXPECT_EQ(errors[0].rfind("PlvTestMissing: the library cannot be loaded: ", 0), 0u) << errors[0];
	EXPECT_EQ(errors[1], "PlvTestFailing: its initialisation failed");
	EXPECT_EQ(errors[2], "PlvTestNoAddOn: the library gave no add-on interface");
	EXPECT_EQ(errors[3], "PlvTestTables: the library is already loaded");
	// The refused library is gone; the one without an interface object stays, offering nothing.
	EXPECT_EQ(libs.Find("PlvTestFailing"), nullptr);
	ASSERT_NE(libs.Find("PlvTestNoAddOn"), nullptr);
	EXPECT_EQ(libs.Find("PlvTestNoAddOn")->pAddOn, nullptr);

	// A connection that is not valid: the tables library says so, and so does the host.
	SqlConnection invalid(nullptr);
	EXPECT_FALSE(libs.RegisterAll(&invalid));
	EXPECT_EQ(Errors(libs).back(), "PlvTestTables: registering its tables failed");
}

TEST_F(AddOnLibraries, UnloadingTakesBackWhatTheLibrariesRegistered)
{
	CPlvCommandManager manager;
	manager.Install();
	CAddOnLibraries libs;
	ASSERT_TRUE(libs.Load(TablesLib()));
	ASSERT_TRUE(libs.Load(PartsLib()));
	ASSERT_TRUE(libs.Load(DocsLib()));
	libs.RegisterAll(m_pConn.get());
	const CPLVNamespace hkl("HotKeyLink.PlvTest.TestMod.TestTables.HKLTestConto");
	ASSERT_NE(AfxFindDeclaredFunction(hkl), nullptr);
	CBaseDocument* pDoc = manager.RunDocument("PlvTest.TestMod.TestDocs.DConti");
	ASSERT_NE(pDoc, nullptr);

	libs.Unload();
	EXPECT_FALSE(AfxExistWebServiceStateObject(pDoc));  // its code was about to go
	EXPECT_TRUE(manager.GetOpenDocuments().empty());
	EXPECT_TRUE(AfxGetBaseApp()->GetTemplates().empty());
	EXPECT_EQ(AfxFindDeclaredFunction(hkl), nullptr);
	EXPECT_TRUE(libs.GetLibraries().empty());
	const auto progress = m_Ui.ProgressTexts();
	EXPECT_NE(std::find(progress.begin(), progress.end(), CString("PlvTestTables detached")), progress.end());
}
