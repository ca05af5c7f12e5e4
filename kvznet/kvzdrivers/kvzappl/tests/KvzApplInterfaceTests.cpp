// The library's entry and its nine templates, as the host loads them.
#include "kvznet/kvzdrivers/kvzappl/KvzApplInfo.h"
#include "kvznet/kvzdrivers/kvzappl/tests/KvzApplFixture.h"
#include "platform/plvgenlib/CBaseApp.h"

namespace {

TEST(KvzApplEntry, RegistersItsNamespaceOnlyWithACommandManager)
{
	void* handle = dlopen(KVZAPPL_FILE, RTLD_NOW);
	ASSERT_NE(handle, nullptr) << dlerror();
	auto entry = reinterpret_cast<BOOL (*)(HMODULE, DWORD)>(dlsym(handle, "PlvLibraryMain"));
	auto addOn = reinterpret_cast<AddOnInterfaceObj* (*)()>(dlsym(handle, "_VandrelAddOn_"));
	ASSERT_NE(entry, nullptr);
	ASSERT_NE(addOn, nullptr);
	HMODULE hModule = AfxGetModuleOf(reinterpret_cast<void*>(entry));
	ASSERT_EQ(AfxGetPlvCmdManager(), nullptr);
	EXPECT_TRUE(entry(hModule, DLL_PROCESS_ATTACH));
	{
		// Without a command manager no namespace, but the add-on interface and its templates.
		std::unique_ptr<AddOnInterfaceObj> pAddOn(addOn());
		ASSERT_TRUE(pAddOn);
		pAddOn->AOI_RegisterTemplates(1, nullptr);
		EXPECT_EQ(AfxGetBaseApp()->GetTemplatesOf(pAddOn.get()).size(), 9u);
		AfxGetBaseApp()->RemoveTemplates(pAddOn.get());
	}
	{
		CPlvCommandManager mgr;
		mgr.Install();
		EXPECT_TRUE(entry(hModule, DLL_PROCESS_ATTACH));
		auto libs = mgr.GetLibraryNamespaces();
		ASSERT_EQ(libs.size(), 1u);
		EXPECT_EQ(libs[0].first.GetPathName(), "KvzNet.KvzDrivers.KvzAppl");
		EXPECT_EQ(libs[0].second, hModule);
	}
	EXPECT_TRUE(entry(hModule, DLL_PROCESS_DETACH));
	// The module's data object outlives the detach.
	ASSERT_NE(AfxGetKvzApplInfo(), nullptr);
	EXPECT_TRUE(AfxGetKvzApplInfo()->IsKindOf(RUNTIME_CLASS(KvzApplInfo)));
	dlclose(handle);
}

class KvzApplTemplates : public KvzApplLibrary
{
};

// In the order of registration, each stamped with the library's module; the master documents
// open in both their views, the batches in their only one.
TEST_F(KvzApplTemplates, NineTemplatesEachOpensInItsView)
{
	const CAddOnLibraries::Library* pAppl = m_Libs.Find("KvzAppl");
	ASSERT_NE(pAppl, nullptr);
	struct Riga
	{
		const char* name;
		const char* view;
		const char* doc;
		const char* frame;
		const char* viewClass;
	};
	const Riga attese[] = {
		{"KvzDrivers", "Default", "DKvzDrivers", "CMasterFrame", "DKvzDriversView"},
		{"KvzDrivers", "Unattended", "DKvzDrivers", "ADMFrame", "ADMView"},
		{"BDModelliMultiAzDrivers", "Default", "CModelliMultiAzDriversDoc", "CBatchFrame", "CModelliMultiAzDriversView"},
		{"KvzDriversMagazzini", "Default", "DKvzDriversMagazzini", "CMasterFrame", "DKvzDriversMagazziniView"},
		{"KvzDriversMagazzini", "Unattended", "DKvzDriversMagazzini", "ADMFrame", "ADMView"},
		{"KvzMetriQuadri", "Default", "DKvzMetriQuadri", "CMasterFrame", "DKvzMetriQuadriView"},
		{"KvzMetriQuadri", "Unattended", "DKvzMetriQuadri", "ADMFrame", "ADMView"},
		{"BDRicalcolaValoriEsterni", "Default", "BDRicalcolaValoriEsterni", "CBatchFrame", "BDRicalcolaValoriEsterniView"},
		{"CopiaDrivers", "Default", "BDCopiaDrivers", "CBatchFrame", "CopiaDriversView"},
	};
	auto templates = AfxGetBaseApp()->GetTemplatesOf(pAppl->pAddOn.get());
	ASSERT_EQ(templates.size(), std::size(attese));
	for (size_t i = 0; i < templates.size(); ++i)
	{
		const Riga& r = attese[i];
		SCOPED_TRACE(CString::Formatted("%s %s", r.name, r.view).GetString());
		CSingleExtDocTemplate* t = templates[i];
		EXPECT_EQ(t->GetNamespace().GetPathName(), CString("KvzNet.KvzDrivers.KvzAppl.") + r.name);
		EXPECT_EQ(t->GetViewName(), r.view);
		EXPECT_STREQ(t->GetDocClass()->m_lpszClassName, r.doc);
		EXPECT_STREQ(t->GetFrameClass()->m_lpszClassName, r.frame);
		EXPECT_STREQ(t->GetViewClass()->m_lpszClassName, r.viewClass);
		EXPECT_EQ(t->GetModuleInstance(), pAppl->hModule);

		// The picker opens only from the driver document, which it serves.
		const bool bPicker = CString(r.name) == "BDModelliMultiAzDrivers";
		if (bPicker)
		{
			EXPECT_EQ(Apri<CBaseDocument>(r.name, r.view), nullptr);
		}
		CBaseDocument* pCaller = bPicker ? Apri<CBaseDocument>("KvzDrivers") : nullptr;
		CBaseDocument* pDoc =
			m_Manager.RunDocument(CString("KvzNet.KvzDrivers.KvzAppl.") + r.name, r.view, nullptr, pCaller);
		ASSERT_NE(pDoc, nullptr);
		FormDriver form(pDoc);
		EXPECT_FALSE(form.GetDocument()->GetFormTitle().IsEmpty());
		EXPECT_EQ(form.GetDocument()->IsABatchDocument(), CString(r.frame) == "CBatchFrame");
		EXPECT_TRUE(form.Close());
		if (pCaller)
		{
			EXPECT_TRUE(FormDriver(pCaller).Close());
		}
	}
	// The batches have no unattended view.
	EXPECT_EQ(AfxGetBaseApp()->FindTemplate("KvzNet.KvzDrivers.KvzAppl.CopiaDrivers", "Unattended"), nullptr);
}

}  // namespace
