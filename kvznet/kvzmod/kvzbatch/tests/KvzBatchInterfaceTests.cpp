#include <set>

#include "kvznet/kvzmod/kvzbatch/tests/BatchFixture.h"
#include "platform/plvgenlib/CBaseApp.h"
#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {

TEST(KvzBatchLibrary, EntryRegistersItsNamespaceOnlyWithACommandManager)
{
	void* handle = dlopen("libKvzBatch.so", RTLD_NOW | RTLD_NOLOAD);
	ASSERT_NE(handle, nullptr);
	auto entry = reinterpret_cast<BOOL (*)(HMODULE, DWORD)>(dlsym(handle, "PlvLibraryMain"));
	ASSERT_NE(entry, nullptr);
	HMODULE hModule = AfxGetModuleOf(reinterpret_cast<void*>(entry));
	ASSERT_EQ(AfxGetPlvCmdManager(), nullptr);
	EXPECT_TRUE(entry(hModule, DLL_PROCESS_ATTACH));  // loads all the same
	{
		CPlvCommandManager mgr;
		mgr.Install();
		EXPECT_TRUE(entry(hModule, DLL_PROCESS_ATTACH));
		auto libs = mgr.GetLibraryNamespaces();
		ASSERT_EQ(libs.size(), 1u);
		EXPECT_EQ(libs[0].first.ToString(), "Library.KvzNet.KvzMod.KvzBatch");
	}
	EXPECT_TRUE(entry(hModule, DLL_PROCESS_DETACH));
	dlclose(handle);
}

class KvzBatchTemplates : public BatchTest
{
};

// The seven templates in the batch frame, each opening its own document, which closes again.
TEST_F(KvzBatchTemplates, SevenBatchDocumentsOpenAndClose)
{
	std::unique_ptr<AddOnInterfaceObj> pAddOn(AddOnOf("libKvzBatch.so"));
	ASSERT_TRUE(pAddOn);
	const CPLVNamespace ns("Library.KvzNet.KvzMod.KvzBatch");
	pAddOn->AOI_RegisterTemplates(1, &ns);
	struct Row
	{
		const char* ns;
		const char* doc;
		const char* view;
	};
	const Row expected[] = {
		{"KvzNet.KvzMod.KvzBatch.AssegnaContoPatrim", "Kvz_AssegnaContoPatrimDoc", "Kvz_AssegnaContoPatrimView"},
		{"KvzNet.KvzMod.KvzBatch.DuplicaContiEsercizio", "Kvz_CDuplicaContiEsercizioDoc", "Kvz_CDuplicaContiEsercizioView"},
		{"KvzNet.KvzMod.KvzBatch.ImpCodExtracont", "Kvz_CImpCodExtracontDoc", "Kvz_CImpCodExtracontView"},
		{"KvzNet.KvzMod.KvzBatch.ImportaSaldi", "Kvz_CImportaSaldiDoc", "Kvz_CImportaSaldiView"},
		{"KvzNet.KvzMod.KvzBatch.InitRaggrupPdc", "Kvz_CInitRaggruppPdCDoc", "Kvz_CInitRaggruppPdCView"},
		{"KvzNet.KvzMod.KvzBatch.InsSaldiMensili", "Kvz_CInsSaldiMensiliDoc", "Kvz_CInsSaldiMensiliView"},
		{"KvzNet.KvzMod.KvzBatch.EsplosioneSimboliConti", "BDEsplosioneSimboliConti", "UIEsplosioneSimboliConti"},
	};
	auto templates = AfxGetBaseApp()->GetTemplatesOf(pAddOn.get());
	ASSERT_EQ(templates.size(), std::size(expected));
	const HMODULE hBatch = AfxGetModuleOf(dlsym(dlopen("libKvzBatch.so", RTLD_NOW | RTLD_NOLOAD), "PlvLibraryMain"));
	for (size_t i = 0; i < templates.size(); ++i)
	{
		SCOPED_TRACE(expected[i].ns);
		CSingleExtDocTemplate* t = templates[i];
		EXPECT_EQ(t->GetNamespace().GetPathName(), expected[i].ns);
		EXPECT_EQ(t->GetViewName(), "Default");
		EXPECT_STREQ(t->GetDocClass()->m_lpszClassName, expected[i].doc);
		EXPECT_STREQ(t->GetViewClass()->m_lpszClassName, expected[i].view);
		EXPECT_STREQ(t->GetFrameClass()->m_lpszClassName, "CBatchFrame");
		EXPECT_EQ(t->GetModuleInstance(), hBatch);

		FormDriver form = Apri(t->GetDocClass(), t->GetViewClass());
		ASSERT_TRUE(form.IsOpen());
		EXPECT_TRUE(form.GetDocument()->IsABatchDocument());
		EXPECT_FALSE(form.GetDocument()->GetFormTitle().IsEmpty());
		EXPECT_TRUE(form.Close());
		EXPECT_FALSE(form.IsOpen());
	}
	AfxGetBaseApp()->RemoveTemplates(pAddOn.get());
}

}  // namespace
